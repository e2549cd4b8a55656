// The workspace file (".dpf"): the bytes written, a byte-equal round trip,
// and damaged files (read in part, or refused with a reason and untouched).
#include "coretest.h"
#include "workspacefile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using coretest::ReadBytes;
using coretest::WriteBytes;

namespace {

WorkspaceNode Folder(const char* label, std::vector<WorkspaceNode> children = {})
{
    WorkspaceNode node;
    node.strLabel = label;
    node.nEncoding = 4;
    node.nFolder = 1;
    node.children = std::move(children);
    return node;
}

WorkspaceNode Entry(const char* label, const char* path, int nEncoding = 0, int nType = 0)
{
    WorkspaceNode node;
    node.strLabel = label;
    node.strPath = path;
    node.nEncoding = nEncoding;
    node.nType = nType;
    node.nFolder = 0;
    return node;
}

// The nodes as one line: Label(child,...) for folders, label=path:enc:type
// for entries.
std::string Shape(const std::vector<WorkspaceNode>& nodes)
{
    std::string out;
    for (const WorkspaceNode& n : nodes) {
        if (!out.empty())
            out += ",";
        if (n.nFolder)
            out += std::string(n.strLabel) + "(" + Shape(n.children) + ")";
        else
            out += std::string(n.strLabel) + "=" + std::string(n.strPath) + ":" + std::to_string(n.nEncoding) + ":" +
                   std::to_string(n.nType);
    }
    return out;
}

const char kGolden[] =
    "<ROOT>\r\n"
    "    <NODE label=\"Project [web]\" pathname=\"\" encoding=\"4\" type=\"0\" folder=\"1\">\r\n"
    "        <NODE label=\"index.html\" pathname=\"C:\\site\\index.html\" encoding=\"0\" type=\"0\" folder=\"0\" />\r\n"
    "        <NODE label=\"Pictures\" pathname=\"\" encoding=\"4\" type=\"0\" folder=\"1\">\r\n"
    "            <NODE label=\"logo.png\" pathname=\"C:\\site\\logo.png\" encoding=\"4\" type=\"1\" folder=\"0\" />\r\n"
    "        </NODE>\r\n"
    "        <NODE label=\"Empty\" pathname=\"\" encoding=\"4\" type=\"0\" folder=\"1\" />\r\n"
    // A value holding a double quote is put between single quotes.
    "        <NODE label='a &amp; &lt;b&gt; &quot;c&quot;.txt' pathname='C:\\a &amp; &lt;b&gt; &quot;c&quot;.txt' encoding=\"3\" type=\"0\" folder=\"0\" />\r\n"
    "    </NODE>\r\n"
    "</ROOT>\r\n";

std::vector<WorkspaceNode> GoldenNodes()
{
    return {Folder("Project [web]", {Entry("index.html", "C:\\site\\index.html"),
                                     Folder("Pictures", {Entry("logo.png", "C:\\site\\logo.png", 4, 1)}),
                                     Folder("Empty"),
                                     Entry("a & <b> \"c\".txt", "C:\\a & <b> \"c\".txt", 3)})};
}

} // namespace

TEST(WorkspaceFile, IsWrittenAsTinyXmlPrintsItWithoutADeclaration)
{
    EXPECT_EQ(FormatWorkspace(GoldenNodes()), kGolden);
    qmtest::TempDir temp;
    std::string path = temp.Path("web.dpf");
    ASSERT_TRUE(WriteWorkspaceFile(path.c_str(), GoldenNodes()));
    EXPECT_EQ(ReadBytes(path), kGolden);
}

// Paths are the program's UTF-8; Windows-1252 letters (and bytes that are
// no UTF-8 at all) come back as they went.
TEST(WorkspaceFile, SaveLoadSaveIsByteEqualWithWindows1252Letters)
{
    qmtest::TempDir temp;
    std::vector<WorkspaceNode> nodes = GoldenNodes();
    nodes[0].children.push_back(
        Entry("caf\xC3\xA9 \xC2\xBD \xE2\x82\xAC.txt", "C:\\Fran\xC3\xA7ois\\caf\xC3\xA9 \xC2\xBD \xE2\x82\xAC.txt", 3));
    nodes[0].children.push_back(Entry("raw \xE9.txt", "C:\\raw \xE9.txt", 3));
    std::string first = temp.Path("first.dpf"), second = temp.Path("second.dpf");
    ASSERT_TRUE(WriteWorkspaceFile(first.c_str(), nodes));
    std::vector<WorkspaceNode> read;
    CString error;
    ASSERT_TRUE(ReadWorkspaceFile(first.c_str(), read, error)) << error.GetString();
    EXPECT_EQ(Shape(read), Shape(nodes));
    ASSERT_TRUE(WriteWorkspaceFile(second.c_str(), read));
    EXPECT_EQ(ReadBytes(second), ReadBytes(first));
}

TEST(WorkspaceFile, AFailedWriteLeavesTheOldFileWhole)
{
    qmtest::TempDir temp;
    std::string path = temp.Path("kept.dpf");
    WriteBytes(path, "old bytes");
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(WriteWorkspaceFile(path.c_str(), GoldenNodes()));
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(path), "old bytes");
    EXPECT_FALSE(WriteWorkspaceFile(temp.Path("no such folder\\x.dpf").c_str(), GoldenNodes()));
    EXPECT_FALSE(WriteWorkspaceFile("", GoldenNodes()));
}

namespace {

std::string Node(const std::string& attributes, const std::string& inner = std::string())
{
    return inner.empty() ? "<NODE " + attributes + " />" : "<NODE " + attributes + ">" + inner + "</NODE>";
}

std::string FileNode(const std::string& path, const std::string& more = "encoding=\"0\" type=\"0\"")
{
    return Node("label=\"f\" pathname=\"" + path + "\" " + more + " folder=\"0\"");
}

std::string RootFolder(const std::string& inner)
{
    return "<ROOT>" + Node("label=\"P\" pathname=\"\" encoding=\"4\" type=\"0\" folder=\"1\"", inner) + "</ROOT>";
}

std::string Nested(int depth)
{
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += "<NODE label=\"d\" folder=\"1\">";
        close += "</NODE>";
    }
    return "<ROOT>" + open + close + "</ROOT>";
}

} // namespace

// Damaged and unusual files: each is read from disk, never changed, and
// either gives the readable part or is refused with a reason.
TEST(WorkspaceFile, DamagedFilesAreReadInPartOrRefusedAndNeverChanged)
{
    const std::string label300(300, 'L'), path400 = "C:\\" + std::string(396, 'p') + ".txt";
    const std::string path263 = "C:\\" + std::string(256, 'q') + ".txt";
    struct Case {
        const char* name;
        std::string bytes;
        bool ok;
        std::string shape; // the nodes read, or a piece of the reason
    } cases[] = {
        {"empty", "", false, "empty"},
        {"not XML", "this is no workspace", false, ""},
        {"truncated in a NODE", "<ROOT><NODE label=\"P\" pathname=\"\" enc", false, ""},
        {"declaration first", "<?xml version=\"1.0\"?>\r\n" + RootFolder(FileNode("C:\\a.txt")), true, "P(f=C:\\a.txt:0:0)"},
        {"comment first", "<!-- mine -->" + RootFolder(FileNode("C:\\a.txt")), true, "P(f=C:\\a.txt:0:0)"},
        {"first element not ROOT", "<PROJECT>" + Node("label=\"P\" folder=\"1\"") + "</PROJECT>", false, "ROOT"},
        {"ROOT without NODE", "<ROOT></ROOT>", true, ""},
        {"NODE without attributes", RootFolder(Node("")), true, "P()"},
        {"folder NODE without a label", RootFolder(Node("folder=\"1\"", FileNode("C:\\lost.txt"))), true, "P()"},
        {"entry without a label takes the file name", RootFolder(Node("pathname=\"C:\\x\\n.txt\" folder=\"0\"")), true,
         "P(n.txt=C:\\x\\n.txt:0:0)"},
        {"bad, negative and huge numbers",
         RootFolder(FileNode("C:\\1", "encoding=\"x7\" type=\"1\"") + FileNode("C:\\2", "encoding=\"-1\" type=\"-1\"") +
                    FileNode("C:\\3", "encoding=\"99999999999\" type=\"4294967297\"") +
                    FileNode("C:\\4", "encoding=\"2 \" type=\"+1\"")),
         true, "P(f=C:\\1:0:1,f=C:\\2:4:0,f=C:\\3:0:0,f=C:\\4:0:1)"},
        {"type 7", RootFolder(FileNode("C:\\7", "encoding=\"1\" type=\"7\"")), true, "P(f=C:\\7:1:0)"},
        {"folder flag 2 is no folder", RootFolder(Node("label=\"F\" pathname=\"C:\\z\" folder=\"2\"")), true,
         "P(F=C:\\z:0:0)"},
        {"300-byte label", RootFolder(Node("label=\"" + label300 + "\" folder=\"1\"")), true,
         "P(" + std::string(99, 'L') + "())"},
        {"400-byte path skipped, 263 kept", RootFolder(FileNode(path400) + FileNode(path263)), true,
         "P(f=" + path263 + ":0:0)"},
        {"other elements and text among NODEs",
         RootFolder("text<OTHER>" + FileNode("C:\\inner") + "</OTHER><!-- c -->" + FileNode("C:\\b")), true,
         "P(f=C:\\b:0:0)"},
        {"10,000 nested NODEs", Nested(10000), false, "nested"},
        {"entities", RootFolder(FileNode("C:\\a&amp;b&#x41;&lt;.txt")), true, "P(f=C:\\a&bA<.txt:0:0)"},
    };
    qmtest::TempDir temp;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = temp.Path("damaged.dpf");
        WriteBytes(path, c.bytes);
        std::vector<WorkspaceNode> nodes;
        CString error;
        BOOL ok = ReadWorkspaceFile(path.c_str(), nodes, error);
        EXPECT_EQ(ReadBytes(path), c.bytes) << "the file is left alone";
        ASSERT_EQ(ok != FALSE, c.ok) << error.GetString();
        if (c.ok) {
            EXPECT_EQ(Shape(nodes), c.shape);
        } else {
            EXPECT_FALSE(error.IsEmpty());
            EXPECT_TRUE(nodes.empty());
            EXPECT_NE(std::string(error).find(c.shape), std::string::npos) << error.GetString();
        }
    }
}

// A label is cut to 99 bytes, never inside a character.
TEST(WorkspaceFile, ALabelIsCutToNinetyNineBytesBetweenCharacters)
{
    struct Case {
        std::string label;
        int length;
    } cases[] = {
        {std::string(120, 'x'), 99},
        {std::string(99, 'x'), 99},
        {std::string(98, 'x') + "\xC3\xA9", 98},     // the two-byte letter would end at byte 100
        {std::string(97, 'x') + "\xE2\x82\xAC", 97}, // so would the three-byte one
        {std::string(96, 'x') + "\xE2\x82\xAC", 99},
    };
    for (const Case& c : cases) {
        std::vector<WorkspaceNode> nodes;
        CString error;
        ASSERT_TRUE(ParseWorkspaceText(RootFolder(Node("label=\"" + c.label + "\" folder=\"1\"")), nodes, error));
        ASSERT_EQ(nodes.size(), 1u);
        ASSERT_EQ(nodes[0].children.size(), 1u);
        EXPECT_EQ(nodes[0].children[0].strLabel.GetLength(), c.length) << c.label;
    }
}
