// The macro store: steps saved to macros.xml and read back, same-name,
// rename and delete cases, and damaged files.
#include "coretest.h"
#include "apphelpers.h"
#include "macros.h"

#include <Scintilla.h>
#include <gmock/gmock.h>

using coretest::FileExists;
using coretest::ReadBytes;
using coretest::WriteBytes;

namespace {

std::vector<std::string> Names(const std::string& path)
{
    std::vector<std::string> names;
    for (const CString& n : CMacroStore::ListMacroNames(path.c_str()))
        names.push_back(n.GetString());
    return names;
}

// The text a step plays with.
std::string PlayText(const CMacroStep& step)
{
    WPARAM w;
    LPARAM l;
    step.GetPlayArguments(w, l);
    return std::string(reinterpret_cast<const char*>(l), CMacroStep::IsLengthMessage(step.msg) ? (size_t)w
                                                                                               : strlen((const char*)l));
}

CMacroStore Recorded(const char* name, std::initializer_list<std::string> replaceTexts)
{
    CMacroStore store;
    store.BeginRecording(name);
    for (const std::string& t : replaceTexts)
        store.AddStep(SCI_REPLACESEL, 0, reinterpret_cast<LPARAM>(t.c_str()));
    return store;
}

} // namespace

TEST(MacroStore, StepsKeepTheirWholeTextThroughTheFile)
{
    qmtest::TempDir temp;
    const std::string path = temp.Path("macros.xml");
    const std::string texts[] = {
        "abc", " ", "  two blanks  ", "\t", "a\r\nb", "<&\"'>", "&#x41; stays as typed", "&amp;",
        "caf\xC3\xA9 \xF0\x9F\x98\x80", // UTF-8
        "\xE9\xFC\xDF",                 // ANSI bytes of an ANSI document
    };
    CMacroStore store;
    store.BeginRecording("texts");
    for (const std::string& t : texts)
        store.AddStep(SCI_REPLACESEL, 0, reinterpret_cast<LPARAM>(t.c_str()));
    // Length-carrying messages copy their length, not up to a NUL.
    const char added[] = "xyzNOT PART";
    store.AddStep(SCI_ADDTEXT, 3, reinterpret_cast<LPARAM>(added));
    store.AddStep(SCI_SEARCHNEXT, SCFIND_MATCHCASE, reinterpret_cast<LPARAM>("needle"));
    store.AddStep(SCI_GOTOPOS, 42, 0);
    store.AddStep(SCI_NEWLINE, 0, 0);
    ASSERT_TRUE(store.SaveMacro(path.c_str()));
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";
    EXPECT_EQ(ReadBytes(path).substr(0, declaration.size()), declaration);

    CMacroStore loaded;
    ASSERT_TRUE(loaded.LoadMacro("texts", path.c_str()));
    const auto& steps = loaded.GetSteps();
    const size_t n = sizeof(texts) / sizeof(texts[0]);
    ASSERT_EQ(steps.size(), n + 4);
    for (size_t i = 0; i < n; ++i) {
        EXPECT_EQ(steps[i].msg, SCI_REPLACESEL);
        EXPECT_EQ(steps[i].sparam.GetString(), texts[i]) << i;
        EXPECT_EQ(steps[i].lparam, 0);
        EXPECT_EQ(PlayText(steps[i]), texts[i]) << i;
    }
    EXPECT_EQ(steps[n].sparam, "xyz");
    EXPECT_EQ(steps[n].wparam, 3u);
    EXPECT_EQ(PlayText(steps[n]), "xyz");
    EXPECT_EQ(steps[n + 1].msg, SCI_SEARCHNEXT);
    EXPECT_EQ(steps[n + 1].wparam, (WPARAM)SCFIND_MATCHCASE);
    EXPECT_EQ(PlayText(steps[n + 1]), "needle");
    EXPECT_EQ(steps[n + 2].msg, SCI_GOTOPOS);
    EXPECT_EQ(steps[n + 2].wparam, 42u);
    WPARAM w;
    LPARAM l;
    steps[n + 3].GetPlayArguments(w, l);
    EXPECT_EQ(steps[n + 3].msg, SCI_NEWLINE);
    EXPECT_EQ(l, 0);
}

TEST(MacroStore, SameNameRenameAndDelete)
{
    qmtest::TempDir temp;
    const std::string path = temp.Path("macros.xml");
    ASSERT_TRUE(Recorded("dup", {"first"}).SaveMacro(path.c_str()));
    ASSERT_TRUE(Recorded("other", {"x"}).SaveMacro(path.c_str()));
    ASSERT_TRUE(Recorded("dup", {"second"}).SaveMacro(path.c_str()));
    CMacroStore empty;
    empty.BeginRecording("nothing");
    ASSERT_TRUE(empty.SaveMacro(path.c_str())); // a macro without steps is stored too
    EXPECT_EQ(Names(path), (std::vector<std::string>{"dup", "other", "dup", "nothing"}));

    // Playing a shared name plays the first stored.
    CMacroStore store;
    ASSERT_TRUE(store.LoadMacro("dup", path.c_str()));
    ASSERT_EQ(store.GetSteps().size(), 1u);
    EXPECT_EQ(store.GetSteps()[0].sparam, "first");
    ASSERT_TRUE(store.LoadMacro("nothing"));
    EXPECT_TRUE(store.GetSteps().empty());
    // Names are matched with case.
    EXPECT_FALSE(store.LoadMacro("DUP"));
    EXPECT_FALSE(CMacroStore::MacroExists(path.c_str(), "DUP"));
    EXPECT_TRUE(CMacroStore::MacroExists(path.c_str(), "dup"));

    // Delete removes the first of the shared name.
    ASSERT_TRUE(CMacroStore::DeleteMacro(path.c_str(), "dup"));
    EXPECT_EQ(Names(path), (std::vector<std::string>{"other", "dup", "nothing"}));
    ASSERT_TRUE(store.LoadMacro("dup"));
    EXPECT_EQ(store.GetSteps()[0].sparam, "second");
    EXPECT_FALSE(CMacroStore::DeleteMacro(path.c_str(), "absent"));

    // Rename, also to a name with markup characters.
    ASSERT_TRUE(CMacroStore::RenameMacro(path.c_str(), "other", "My <macro> & \"more\""));
    EXPECT_EQ(Names(path), (std::vector<std::string>{"My <macro> & \"more\"", "dup", "nothing"}));
    ASSERT_TRUE(store.LoadMacro("My <macro> & \"more\""));
    EXPECT_EQ(store.GetSteps()[0].sparam, "x");
    EXPECT_FALSE(CMacroStore::RenameMacro(path.c_str(), "absent", "new"));
    EXPECT_FALSE(CMacroStore::RenameMacro(path.c_str(), "dup", ""));

    // Deleting every macro leaves an empty root element.
    for (const char* name : {"My <macro> & \"more\"", "dup", "nothing"})
        ASSERT_TRUE(CMacroStore::DeleteMacro(path.c_str(), name)) << name;
    EXPECT_TRUE(Names(path).empty());
    EXPECT_THAT(ReadBytes(path), ::testing::HasSubstr("<macros />"));
}

TEST(MacroStore, OnlyRecordableStepsAreAcceptedFromTheFile)
{
    qmtest::TempDir temp;
    const std::string path = temp.Path("macros.xml");
    WriteBytes(path,
               "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
               "<macros>\n"
               "  <macro name=\"hand made\">\n"
               "    <step msg=\"2170\" wparam=\"0\" lparam=\"0\" sparam=\"typed\" />\n"
               "    <step msg=\"2358\" wparam=\"0\" lparam=\"123456\" />\n"                 // SCI_SETDOCPOINTER
               "    <step msg=\"2181\" wparam=\"0\" lparam=\"0\" sparam=\"x\" />\n"         // SCI_SETTEXT
               "    <step msg=\"2001\" wparam=\"1000\" sparam=\"ab\" />\n"                  // length beyond the text
               "    <step msg=\"2170\" wparam=\"0\" lparam=\"77\" />\n"                     // no sparam: empty text
               "    <other msg=\"2025\" wparam=\"17\" lparam=\"x\" sparam=\"ignored\" />\n" // any element name
               "    <step wparam=\"5\" />\n"                                                // msg missing: 0
               "    <step msg=\"two\" />\n"
               "  </macro>\n"
               "</macros>\n");
    CMacroStore store;
    ASSERT_TRUE(store.LoadMacro("hand made", path.c_str()));
    const auto& steps = store.GetSteps();
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].sparam, "typed");
    EXPECT_EQ(steps[1].msg, SCI_ADDTEXT);
    WPARAM w;
    LPARAM l;
    steps[1].GetPlayArguments(w, l);
    EXPECT_EQ(w, 2u);
    EXPECT_STREQ(reinterpret_cast<const char*>(l), "ab");
    EXPECT_EQ(steps[2].msg, SCI_REPLACESEL);
    EXPECT_EQ(PlayText(steps[2]), "");
    EXPECT_EQ(steps[3].msg, SCI_GOTOPOS);
    EXPECT_EQ(steps[3].wparam, 17u);
    EXPECT_EQ(steps[3].lparam, 0);
    EXPECT_EQ(steps[3].sparam, "");
}

TEST(MacroStore, UnreadableFileIsSetAsideNotOverwritten)
{
    qmtest::TempDir temp;
    const std::string path = temp.Path("macros.xml");
    const std::string broken = "<macros><macro name=\"kept\"><step msg=\"2170\" sparam=\"precious\"/>";
    WriteBytes(path, broken);
    qmtest::MessageBoxRecorder boxes;

    // Loading, listing and editing leave it alone.
    CMacroStore store;
    EXPECT_FALSE(store.LoadMacro("kept", path.c_str()));
    EXPECT_TRUE(Names(path).empty());
    EXPECT_FALSE(CMacroStore::DeleteMacro(path.c_str(), "kept"));
    EXPECT_EQ(ReadBytes(path), broken);

    // Saving starts a new file and keeps the old one beside it.
    ASSERT_TRUE(Recorded("new", {"n"}).SaveMacro(path.c_str()));
    EXPECT_EQ(ReadBytes(path + ".bad"), broken);
    EXPECT_EQ(Names(path), (std::vector<std::string>{"new"}));

    WriteBytes(path, "not xml at all <<<");
    ASSERT_TRUE(Recorded("newer", {"n"}).SaveMacro(path.c_str()));
    EXPECT_EQ(ReadBytes(path + ".bad"), broken);
    EXPECT_EQ(ReadBytes(path + ".bad1"), "not xml at all <<<");
    EXPECT_TRUE(boxes.Texts().empty());

    // A well-formed file of something else is not written at all.
    const std::string foreign = "<?xml version=\"1.0\" ?><settings><a/></settings>";
    WriteBytes(path, foreign);
    EXPECT_FALSE(Recorded("x", {"y"}).SaveMacro(path.c_str()));
    EXPECT_EQ(ReadBytes(path), foreign);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Failed to save macro"}));

    // A file that cannot be read at all (here: a folder of that name) is
    // neither moved nor replaced.
    const std::string folderPath = temp.Path("folder.xml");
    CreateDirectoryA(folderPath.c_str(), NULL);
    EXPECT_FALSE(Recorded("x", {"y"}).SaveMacro(folderPath.c_str()));
    EXPECT_FALSE(FileExists(folderPath + ".bad"));
    EXPECT_EQ(boxes.Texts().size(), 2u);

    // A UTF-8 mark at the start is fine.
    WriteBytes(path, "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" ?><macros><macro name=\"m\"/></macros>");
    EXPECT_EQ(Names(path), (std::vector<std::string>{"m"}));
}

// A file nested deeper than the parser's stack allows is a damaged file:
// nothing is read from it, and saving sets it aside instead of crashing.
TEST(MacroStore, DeeplyNestedFileIsSetAsideNotParsed)
{
    qmtest::TempDir temp;
    const std::string path = temp.Path("macros.xml");
    std::string deep = "<macros><macro name=\"kept\">";
    for (int i = 0; i < 10000; ++i)
        deep += "<step>";
    WriteBytes(path, deep);
    qmtest::MessageBoxRecorder boxes;

    CMacroStore store;
    EXPECT_FALSE(store.LoadMacro("kept", path.c_str()));
    EXPECT_TRUE(Names(path).empty());
    EXPECT_FALSE(CMacroStore::DeleteMacro(path.c_str(), "kept"));
    EXPECT_EQ(ReadBytes(path), deep);

    ASSERT_TRUE(Recorded("new", {"n"}).SaveMacro(path.c_str()));
    EXPECT_EQ(ReadBytes(path + ".bad"), deep);
    EXPECT_EQ(Names(path), (std::vector<std::string>{"new"}));
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST(MacroStore, MissingPathOrNameIsReported)
{
    qmtest::TempDir temp;
    qmtest::MessageBoxRecorder boxes;
    CMacroStore store;
    store.SetFilePath("");
    EXPECT_FALSE(store.LoadMacro("m"));
    store.BeginRecording("");
    EXPECT_FALSE(store.SaveMacro((temp.Path("macros.xml")).c_str()));
    EXPECT_FALSE(FileExists(temp.Path("macros.xml")));
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Failed to load macro", "Failed to save macro"}));

    // A missing file or name: FALSE, and the steps stay as they were.
    CMacroStore kept = Recorded("k", {"keep me"});
    EXPECT_FALSE(kept.LoadMacro("k", (temp.Path("none.xml")).c_str()));
    ASSERT_TRUE(Recorded("k2", {"z"}).SaveMacro((temp.Path("m.xml")).c_str()));
    EXPECT_FALSE(kept.LoadMacro("absent", (temp.Path("m.xml")).c_str()));
    ASSERT_EQ(kept.GetSteps().size(), 1u);
    EXPECT_EQ(kept.GetSteps()[0].sparam, "keep me");
    EXPECT_EQ(boxes.Texts().size(), 2u);
}

TEST(MacroStore, DefaultFileIsInTheDataFolder)
{
    EXPECT_EQ(GetMacroFilePath(), GetAppDataFolder() + "\\macros.xml");
    EXPECT_EQ(CMacroStore().GetFilePath(), GetMacroFilePath());
    // With the data folder in place, the store works on its default file.
    ASSERT_TRUE(EnsureAppDataFolders());
    ASSERT_TRUE(Recorded("default", {"d"}).SaveMacro());
    EXPECT_TRUE(FileExists(GetMacroFilePath().GetString()));
    CMacroStore store;
    EXPECT_TRUE(store.LoadMacro("default"));
}
