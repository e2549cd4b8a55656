// Syntax configuration: reading "*.config" files, choosing a language and
// writing colour changes back.
#include "coretest.h"
#include "apphelpers.h"
#include "lexerconfig.h"
#include "xmlfile.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cstring>
#include <vector>

using coretest::FixturePath;
using coretest::ReadBytes;
using coretest::WriteBytes;

namespace {

const char* const kSet1[] = {"a_cpp.config", "b_text.config", "c_notes.config", "d_nostyles.config",
                             "e_broken.config", "F_upper.config", "readme.txt"};

// Copies the fixture folder, in the given order of file creation.
void CopySet(const qmtest::TempDir& temp, std::vector<std::string> names)
{
    for (const std::string& name : names)
        WriteBytes(temp.Path(name), ReadBytes(FixturePath("config/set1/" + name)));
}

std::vector<std::string> Menus(const CLexerConfigList& list)
{
    std::vector<std::string> menus;
    for (int i = 0; i < list.GetCount(); ++i)
        menus.push_back(list.GetAt(i).GetMenuText().GetString());
    return menus;
}

} // namespace

TEST(LexerConfigList, OrderAndExtensionWinnerFollowFileNames)
{
    // The same files created in two different orders give the same list.
    std::vector<std::string> forward(std::begin(kSet1), std::end(kSet1));
    std::vector<std::string> backward(forward.rbegin(), forward.rend());
    for (const auto& order : {forward, backward}) {
        qmtest::TempDir temp;
        CopySet(temp, order);
        CLexerConfigList list;
        EXPECT_TRUE(list.LoadAll(temp.Path().c_str()));
        EXPECT_EQ(Menus(list), (std::vector<std::string>{"C++", "Text", "Notes", "Upper"}));

        struct Pick {
            const char* ext;
            int index;
        } picks[] = {
            {".txt", 1}, // claimed by Text and Notes: the first by name wins
            {".notes", 2},
            {".CPP", 0}, // case is ignored
            {".h", 0},
            {".c", 3}, // claimed by nobody: the language marked default ("y")
            {"", 3},
            {".nos", 3}, // its file has no usable style and is not listed
            {".brk", 3}, // its file does not parse
        };
        for (const Pick& p : picks)
            EXPECT_EQ(list.FindIndexForExtension(p.ext), p.index) << p.ext;
    }
}

TEST(LexerConfigList, ReadsEveryElementWithItsDefaults)
{
    qmtest::TempDir temp;
    CopySet(temp, {"a_cpp.config", "c_notes.config"});
    CLexerConfigList list;
    ASSERT_TRUE(list.LoadAll(temp.Path().c_str()));
    ASSERT_EQ(list.GetCount(), 2);

    const CLexerConfig cpp = list.GetAt(0);
    EXPECT_TRUE(cpp.IsLoaded());
    EXPECT_FALSE(cpp.IsModified());
    EXPECT_EQ(cpp.GetLexerName(), "cpp");
    EXPECT_EQ(cpp.GetLexerId(), 3);
    EXPECT_EQ(cpp.GetAutoNest(), 1);
    EXPECT_EQ(cpp.IsDefault(), 0);
    EXPECT_EQ(cpp.GetCommentStart(), "/*");
    EXPECT_EQ(cpp.GetCommentEnd(), "*/");
    EXPECT_EQ(cpp.GetLineComment(), "//");
    EXPECT_EQ(cpp.GetFilePath(), CString((temp.Path("a_cpp.config")).c_str()));
    // Three KEYWORD elements, the second empty: two sets.
    ASSERT_EQ(cpp.GetKeywordCount(), 2);
    EXPECT_EQ(cpp.GetKeywords(0), "int char long return");
    EXPECT_EQ(cpp.GetKeywords(1), "TODO FIXME");
    EXPECT_EQ(cpp.GetKeywords(2), "");

    struct StyleRow {
        const char* name;
        int style;
        COLORREF fore, back;
        int eol;
    };
    const COLORREF window = GetDefaultHexColour();
    const StyleRow expected[] = {
        {"Default", 32, RGB(0, 0, 0), RGB(255, 255, 255), 0},
        {"Comment", 1, RGB(0, 0x80, 0), RGB(255, 255, 255), 1},
        // "No fore colour" and "No style number" are dropped.
        {"No back colour", 5, RGB(0, 0, 255), window, 0},
        {"Lower-case true", 6, RGB(0xEE, 0xD2, 0xC1), RGB(255, 255, 255), 0},
        {"Bad colours", 12, RGB(0, 0, 0), RGB(0, 0, 0), 0},
        {"Style not a number", 0, RGB(1, 2, 3), window, 0},
        // Style numbers outside 0..255 are dropped.
        {"Comment", 2, RGB(0x80, 0, 0), RGB(255, 255, 255), 0},
        {"", 7, RGB(0xA0, 0xA0, 0xA0), window, 0},
    };
    ASSERT_EQ(cpp.GetStyleCount(), (int)(sizeof(expected) / sizeof(expected[0])));
    for (int i = 0; i < cpp.GetStyleCount(); ++i) {
        const CLexerStyle s = cpp.GetStyle(i);
        EXPECT_EQ(s.name, expected[i].name) << i;
        EXPECT_EQ(s.style, expected[i].style) << i;
        EXPECT_EQ(s.fore, expected[i].fore) << i;
        EXPECT_EQ(s.back, expected[i].back) << i;
        EXPECT_EQ(s.eolFilled, expected[i].eol) << i;
    }
    // Outside the styles: the default style.
    const CLexerStyle outside = cpp.GetStyle(99);
    EXPECT_EQ(outside.name, "Default");
    EXPECT_EQ(outside.style, 32);
    EXPECT_EQ(outside.fore, RGB(0, 0, 0));
    EXPECT_EQ(outside.back, window);

    // Missing elements read as empty; LEXERID that is not a number as -1.
    const CLexerConfig notes = list.GetAt(1);
    EXPECT_EQ(notes.GetLexerId(), -1);
    EXPECT_EQ(notes.GetLexerName(), "");
    EXPECT_EQ(notes.GetKeywordCount(), 0);
    EXPECT_EQ(notes.GetLineComment(), "");
    EXPECT_EQ(notes.GetAutoNest(), 0);
}

TEST(LexerConfigList, FallbackRecordOutsideTheList)
{
    qmtest::TempDir temp;
    CLexerConfigList list;
    // A missing folder gives an empty list; every lookup gives plain text.
    EXPECT_FALSE(list.LoadAll((temp.Path("no-such-folder")).c_str()));
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.FindDefaultIndex(), 0);
    for (int index : {-1, 0, 5}) {
        const CLexerConfig fallback = list.GetAt(index);
        EXPECT_FALSE(fallback.IsLoaded());
        EXPECT_EQ(fallback.GetMenuText(), "Text");
        EXPECT_TRUE(fallback.MatchesExtension(".*"));
        EXPECT_EQ(fallback.GetLineComment(), "'");
        EXPECT_EQ(fallback.GetLexerId(), -1);
        ASSERT_EQ(fallback.GetStyleCount(), 1);
        EXPECT_EQ(fallback.GetStyle(0).name, "Default");
        EXPECT_EQ(fallback.GetStyle(0).style, 0);
        EXPECT_EQ(fallback.GetStyle(0).back, RGB(255, 255, 255));
    }
    // The folder default is "<data folder>\Config".
    EXPECT_EQ(CLexerConfigList().GetFolder(), GetAppDataFolder() + "\\Config");
}

TEST(LexerConfigList, BrokenFileGivesTheLoadErrorText)
{
    qmtest::TempDir temp;
    CopySet(temp, {"e_broken.config"});
    CLexerConfigList list;
    const std::string path = temp.Path("e_broken.config");
    EXPECT_FALSE(list.LoadConfigFile(path.c_str()));
    EXPECT_EQ(list.GetCount(), 0);
    const std::string error = list.GetLastLoadError().GetString();
    const std::string prefix = "Could not load config file '" + path + "'. Error='";
    ASSERT_EQ(error.compare(0, prefix.size(), prefix), 0) << error;
    EXPECT_GT(error.size(), prefix.size() + 2);
    EXPECT_EQ(error.substr(error.size() - 2), "'.");

    // A file without usable styles is skipped, but it did parse.
    CopySet(temp, {"d_nostyles.config"});
    EXPECT_TRUE(list.LoadConfigFile((temp.Path("d_nostyles.config")).c_str()));
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(LexerConfigList, KeepsAtMost127Styles)
{
    qmtest::TempDir temp;
    std::string xml = "<PROPERTIES><EXTENSION>.many</EXTENSION><COLOURS>";
    for (int i = 0; i < 130; ++i)
        xml += "<COLOUR STYLE=\"" + std::to_string(i) + "\" HEXFORE=\"#000000\">s" + std::to_string(i) + "</COLOUR>";
    xml += "</COLOURS><KEYWORDS>";
    for (int i = 0; i < 11; ++i)
        xml += "<KEYWORD>k" + std::to_string(i) + "</KEYWORD>";
    xml += "</KEYWORDS></PROPERTIES>";
    WriteBytes(temp.Path("many.config"), xml);
    CLexerConfigList list;
    ASSERT_TRUE(list.LoadAll(temp.Path().c_str()));
    const CLexerConfig many = list.GetAt(0);
    EXPECT_EQ(many.GetStyleCount(), 127);
    EXPECT_EQ(many.GetStyle(126).name, "s126");
    EXPECT_EQ(many.GetKeywordCount(), 9);
    EXPECT_EQ(many.GetKeywords(8), "k8");
    EXPECT_EQ(many.GetMenuText(), ""); // no MENU element
}

TEST(LexerConfig, MatchesWholeExtensionTokens)
{
    CLexerConfig config(1);
    struct Case {
        const char* list;
        const char* ext;
        bool match;
    } cases[] = {
        {".cpp;.h", ".CPP", true},
        {".cpp;.h", ".h", true},
        {".cpp;.h", ".c", false},
        {".cpp;.h", ".cp", false},
        {".cpp;.h", "cpp", false},
        {"", "", false},
        {"", ".txt", false},
        {".*;.txt", ".*", true},
        {";;.txt;", ".txt", true},
        {";;.txt;", "", false},
    };
    for (const Case& c : cases) {
        config.SetExtensions(c.list);
        EXPECT_EQ(config.MatchesExtension(c.ext), c.match) << c.list << " / " << c.ext;
    }
}

TEST(LexerConfig, SaveWritesColoursAndDefaultOnly)
{
    qmtest::TempDir temp;
    CopySet(temp, {"a_cpp.config", "b_text.config", "F_upper.config"});
    CLexerConfigList list;
    ASSERT_TRUE(list.LoadAll(temp.Path().c_str()));
    ASSERT_EQ(Menus(list), (std::vector<std::string>{"C++", "Text", "Upper"}));
    EXPECT_EQ(list.FindDefaultIndex(), 2);

    // The colour page's edits: copy out, change, put back, save the changed.
    CLexerConfig cpp = list.GetAt(0);
    cpp.SetStyleFore(1, RGB(1, 2, 3));
    cpp.SetStyleFore(1, RGB(0x11, 0x22, 0x33)); // the last change counts
    cpp.SetStyleBack(1, RGB(4, 5, 6));
    cpp.SetDefault(1);
    EXPECT_TRUE(cpp.IsModified());
    list.Replace(0, cpp);
    CLexerConfig upper = list.GetAt(2);
    upper.SetDefault(0);
    list.Replace(2, upper);
    list.Replace(7, cpp); // outside the list: nothing happens
    EXPECT_EQ(list.GetCount(), 3);
    for (int i = 0; i < list.GetCount(); ++i) {
        if (list.GetAt(i).IsModified()) {
            EXPECT_TRUE(list.GetAt(i).SaveConfigFile()) << i;
        }
    }

    const std::string before = ReadBytes(FixturePath("config/set1/b_text.config"));
    EXPECT_EQ(ReadBytes(temp.Path("b_text.config")), before); // not modified, not written

    CLexerConfigList reloaded;
    ASSERT_TRUE(reloaded.LoadAll(temp.Path().c_str()));
    EXPECT_EQ(reloaded.FindDefaultIndex(), 0);
    const CLexerConfig back = reloaded.GetAt(0);
    EXPECT_EQ(back.IsDefault(), 1);
    // Both COLOUR elements named "Comment" take the first such style's values.
    EXPECT_EQ(back.GetStyle(1).fore, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(back.GetStyle(1).back, RGB(4, 5, 6));
    EXPECT_EQ(back.GetStyle(6).fore, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(back.GetStyle(6).style, 2);
    EXPECT_EQ(back.GetStyle(6).eolFilled, 1);
    EXPECT_EQ(back.GetStyleCount(), 8);
    EXPECT_EQ(back.GetKeywords(1), "TODO FIXME");
    EXPECT_EQ(reloaded.GetAt(2).IsDefault(), 0);

    const std::string text = ReadBytes(temp.Path("a_cpp.config"));
    EXPECT_THAT(text, ::testing::HasSubstr("<DEFAULT>Y</DEFAULT>"));
    EXPECT_THAT(text, ::testing::HasSubstr("HEXFORE=\"#112233\" HEXBACK=\"#040506\" EOLFILLED=\"True\">Comment<"));
    EXPECT_THAT(text, ::testing::HasSubstr("STYLE=\"300\" HEXFORE=\"#010203\">Style out of range<"));
    EXPECT_THAT(text, ::testing::HasSubstr("<!-- kept as it is by the writer -->"));
    EXPECT_THAT(text, ::testing::HasSubstr("<EXTRA>unknown element</EXTRA>"));
    // The file with a UTF-8 mark keeps it, and "y" became "N".
    const std::string upperText = ReadBytes(temp.Path("F_upper.config"));
    EXPECT_EQ(upperText.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_THAT(upperText, ::testing::HasSubstr("<DEFAULT>N</DEFAULT>"));
}

TEST(LexerConfig, SaveLeavesUnusableFilesAlone)
{
    qmtest::TempDir temp;
    CopySet(temp, {"e_broken.config"});
    CLexerConfig config(1);
    config.AddStyle("Default", 0, "#000000", "#FFFFFF", FALSE);
    config.SetDefault(1);
    EXPECT_FALSE(config.SaveConfigFile()); // no file path
    config.SetFilePath((temp.Path("missing.config")).c_str());
    EXPECT_FALSE(config.SaveConfigFile());
    EXPECT_FALSE(coretest::FileExists(temp.Path("missing.config")));
    config.SetFilePath((temp.Path("e_broken.config")).c_str());
    EXPECT_FALSE(config.SaveConfigFile());
    EXPECT_EQ(ReadBytes(temp.Path("e_broken.config")), ReadBytes(FixturePath("config/set1/e_broken.config")));
}

// The XML parser recurses once per nesting level while it parses, prints
// and frees a document: the scan before it must never count too few levels
// (or a deep file crashes the program) and must not refuse what nests
// shallow (or a good file is lost). Here with a limit of 2.
TEST(XmlNesting, CountsOpenElementsOnly)
{
    struct Case {
        const char* text;
        bool within;
    } cases[] = {
        {"", true},
        {"<a><b></b></a>", true},
        {"<a><b><c></c></b></a>", false},
        {"<a><b><c/></b></a>", true}, // self-closing
        {"<a><b><c /></b></a>", true},
        {"<a></a><b></b><c></c><d><e></e></d>", true}, // siblings do not add up
        {"<a><!-- <b><c><d> --></a>", true},           // comment
        {"<a><![CDATA[<b><c><d>]]></a>", true},        // CDATA section
        {"<?xml version=\"1.0\"?><!DOCTYPE a><a><b/></a>", true},
        {"<?pi <b><c><d> ?><a/>", true},       // instruction to its first '>', then 2 levels
        {"<?pi <b><c><d><e> ?>", false},       // ... and 3 levels
        {"<a x='>'><b y=\"a>b\"/></a>", true}, // '>' inside quoted values
        {"<a x=\"/>\"><b><c>", false},         // quoted "/>" closes nothing
        {"<a x=y\"><b><c>", false},            // a quote after a value opens none
        {"<a><b><c", false},                   // a start tag cut off still opens
        {"</x></y></z><a><b><c>", false},      // stray end tags do not bank depth
        {"<a><b></b><b></b><b><c></c></b></a>", false},
        {"<a><!-- never closed <b><c><d>", true},
        {"<a>< x=\"><b><c>\"", false}, // '<' without a name ends at its first '>'
        {"<a><<b x=\"><b><c>\"", false},
        {"<a><1><b></b></a>", true}, // ... and opens nothing
        {"<a><\xC3\xA9><b>", false}, // a name may begin with any byte from 0x7F up
        // Read as UTF-8 (no declaration naming another encoding), a lead byte
        // takes the bytes its kind says: the end tags behind these are text.
        {"<?xml?><a><b>\xC5</b><c>\xC5</c>", false},
        {"<?xml encoding='ISO-8859-1'?><a><b>\xC5</b><c>\xC5</c>", true},
        {"<a><b>\xC5</b><c>\xC5</c>", true},  // no declaration: a byte is a character
        {"<?xml?><a x='\xC5'><b><c>'", true}, // ... also in a quoted value
    };
    for (const Case& c : cases)
        EXPECT_EQ(XmlNestingWithin(c.text, strlen(c.text), 2), c.within) << c.text;
    // The limit itself.
    std::string deep;
    for (int i = 0; i < XML_MAX_NESTING; ++i)
        deep += "<e>";
    EXPECT_TRUE(XmlNestingWithin(deep.data(), deep.size()));
    deep += "<e>";
    EXPECT_FALSE(XmlNestingWithin(deep.data(), deep.size()));
}

// A configuration nested 10,000 deep used to overflow the stack in the
// parser at every start of the editor. It is refused like a file that does
// not parse; the files beside it still load, and the writer leaves it alone.
TEST(LexerConfigList, DeeplyNestedFileIsRefusedLikeABrokenOne)
{
    const std::string styles =
        "<COLOURS><COLOUR STYLE=\"0\" HEXFORE=\"#000000\">Default</COLOUR></COLOURS>";
    std::string open;                                                         // 10,000 elements left open: 30 KB
    std::string closed = "<PROPERTIES><EXTENSION>.deep</EXTENSION>" + styles; // well-formed
    // The same depth behind a '<' that starts no tag, whose quote the parser
    // does not read as one.
    std::string hidden = "<PROPERTIES><EXTENSION>.hidden</EXTENSION>" + styles + "< x=\"";
    for (int i = 0; i < 10000; ++i) {
        open += "<a>";
        closed += "<a>";
        hidden += "<a>";
    }
    for (int i = 0; i < 10000; ++i)
        closed += "</a>";
    closed += "</PROPERTIES>";

    qmtest::TempDir temp;
    WriteBytes(temp.Path("deep-open.config"), open);
    WriteBytes(temp.Path("deep-closed.config"), closed);
    WriteBytes(temp.Path("deep-hidden.config"), hidden + "\"");
    CopySet(temp, {"a_cpp.config"});

    CLexerConfigList list;
    for (const char* name : {"deep-open.config", "deep-closed.config", "deep-hidden.config"}) {
        const std::string path = temp.Path(name);
        EXPECT_FALSE(list.LoadConfigFile(path.c_str())) << name;
        EXPECT_EQ(std::string(list.GetLastLoadError().GetString()),
                  "Could not load config file '" + path + "'. Error='Elements nested more than 256 deep'.");
    }
    EXPECT_EQ(list.GetCount(), 0);

    ASSERT_TRUE(list.LoadAll(temp.Path().c_str()));
    EXPECT_EQ(Menus(list), (std::vector<std::string>{"C++"}));

    CLexerConfig config(1);
    config.AddStyle("Default", 0, "#112233", "#FFFFFF", FALSE);
    config.SetDefault(1);
    config.SetFilePath((temp.Path("deep-closed.config")).c_str());
    EXPECT_FALSE(config.SaveConfigFile());
    EXPECT_EQ(ReadBytes(temp.Path("deep-closed.config")), closed);
}
