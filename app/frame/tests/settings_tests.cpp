// The main frame's settings record in the profile: defaults of a fresh
// profile, the round trip through the registry, and damaged values.
#include "frametest.h"
#include "settingsstore.h"
#include "customizetools.h"
#include "toollist.h"

#include <qx/images.h>

#include <cstring>
#include <functional>

using namespace frametest;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearProfile();
        memset(&view, 0, sizeof(view));
        memset(face, 'x', sizeof(face));
        view.pszFontFace = face;
    }
    void TearDown() override { ClearProfile(); }

    void LoadAll(int* pTabs = nullptr)
    {
        LoadViewSettingsFromProfile(view, pTabs);
        LoadPrintSettingsFromProfile(editor);
        LoadBackupSettingsFromProfile(editor);
        LoadOutputSettingsFromProfile(editor);
        LoadEditSettingsFromProfile(editor);
        LoadGeneralSettingsFromProfile(editor);
    }

    CViewSettings view;
    char face[kFontFaceBufferSize];
    CEditorSettings editor;
};

TEST_F(SettingsTest, AFreshProfileGivesTheDefaults)
{
    int nTabs = -1;
    LoadAll(&nTabs);
    struct Expect {
        const char* name;
        int actual;
        int expected;
    };
    const Expect table[] = {
        {"WordWrap", view.nWordWrap, 0},
        {"Whitespace", view.nWhitespace, 0},
        {"LineEndings", view.nLineEndings, 0},
        {"CaretLine", view.nCaretLine, 0},
        {"LineNumbers", view.nLineNumbers, 0},
        {"FontItalic", view.nItalic, 0},
        {"FontBold", view.nBold, 0},
        {"CodeFolding", view.nCodeFolding, 0},
        {"FontSize", view.nFontSize, 10},
        {"TabGuides", view.nTabGuides, 0},
        {"TabAsSpaces", view.nTabsAsSpaces, 1},
        {"TabWidth", view.nTabWidth, 4},
        {"MatchBracket", view.nMatchBracket, 0},
        {"BraceBadColour", (int)view.clrBraceBad, 0x0000FF},
        {"BraceHighlight", (int)view.clrBrace, 0x0000FF},
        {"CaretLineColour", (int)view.clrCaretLine, 0xEED2C1},
        {"CaretLineTransparency", view.nCaretLineAlpha, 126},
        {"BlockSelect", view.nBlockSelect, 0},
        {"LargeTBIcons", view.nLargeIcons, 1},
        {"Theme", view.nTheme, 721},
        {"Rulers", view.nRulers, 0},
        {"MDITabsActive", nTabs, 0},
        {"PrintHeader", editor.nPrintHeader, 0},
        {"PrintFooter", editor.nPrintFooter, 0},
        {"PrintLineNumbers", editor.nPrintLineNumbers, 0},
        {"Enabled", editor.nBackupEnabled, 1},
        {"Versions", editor.nBackupVersions, 1},
        {"DeleteOnExit", editor.nDeleteBackupsOnExit, 0},
        {"ReuseWindows", editor.nReuseOutputWindows, 1},
        {"ResetUndoOnSave", editor.nResetUndoOnSave, 1},
        {"RememberOpenFiles", editor.nRememberOpenFiles, 1},
    };
    for (const Expect& e : table)
        EXPECT_EQ(e.expected, e.actual) << e.name;
    EXPECT_STREQ("Courier New", view.pszFontFace);
    EXPECT_EQ(view.pszFontFace, face) << "the frame's buffer is kept";
    EXPECT_EQ("", std::string(editor.strDictionaryPath));
    EXPECT_EQ("", std::string(editor.strDictionary));
    // Without a recorded program path the backups go to "backup".
    EXPECT_EQ("backup", std::string(editor.strBackupFolder));
}

TEST_F(SettingsTest, TheBackupFolderDefaultsToBackupBesideTheProgram)
{
    SetString("", "QuillmatePath", "C:\\Programs\\Quillmate\\Qmate.exe");
    LoadBackupSettingsFromProfile(editor);
    EXPECT_EQ("C:\\Programs\\Quillmate\\backup", std::string(editor.strBackupFolder));

    SetString("BackupSettings", "BackupFolder", "D:\\Keep");
    LoadBackupSettingsFromProfile(editor);
    EXPECT_EQ("D:\\Keep", std::string(editor.strBackupFolder));
}

TEST_F(SettingsTest, WhatIsSavedLoadsBackTheSame)
{
    LoadAll();
    view.nWordWrap = 1;
    view.nLineNumbers = 1;
    view.nBold = 1;
    view.nFontSize = 14;
    lstrcpynA(view.pszFontFace, "Consolas", kFontFaceBufferSize);
    view.nTabWidth = 8;
    view.clrBraceBad = RGB(1, 2, 3);
    view.clrBrace = RGB(4, 5, 6);
    view.clrCaretLine = RGB(7, 8, 9);
    view.nCaretLineAlpha = 40;
    view.nTheme = 724;
    view.nRulers = 1;
    editor.nPrintFooter = 1;
    editor.nBackupEnabled = 0;
    editor.strBackupFolder = "E:\\Backups";
    editor.nBackupVersions = 5;
    editor.nReuseOutputWindows = 0;
    editor.nResetUndoOnSave = 0;
    editor.nRememberOpenFiles = 0;
    editor.strDictionary = "en_GB";
    editor.nTabsActive = 1;
    CViewSettings saved = view;
    CEditorSettings savedEditor = editor;
    SaveSettingsToProfile(view, editor);

    // Stored kinds: integers and colours as REG_DWORD, strings as REG_SZ.
    DWORD value = 0, type = 0;
    ASSERT_TRUE(GetDword("ViewSettings", "BraceBadColour", &value, &type));
    EXPECT_EQ((DWORD)REG_DWORD, type);
    EXPECT_EQ((DWORD)RGB(1, 2, 3), value);
    std::string text;
    ASSERT_TRUE(GetString("ViewSettings", "FontStyle", &text));
    EXPECT_EQ("Consolas", text);
    ASSERT_TRUE(GetDword("GenSettings", "MDITabsActive", &value, &type));
    EXPECT_EQ(1u, value);

    char otherFace[kFontFaceBufferSize] = "";
    memset(&view, 0, sizeof(view));
    view.pszFontFace = otherFace;
    editor = CEditorSettings();
    int nTabs = 0;
    LoadAll(&nTabs);
    saved.pszFontFace = otherFace;
    EXPECT_EQ(0, memcmp(&saved, &view, sizeof(view)));
    EXPECT_STREQ("Consolas", otherFace);
    EXPECT_EQ(1, nTabs);
    EXPECT_EQ(savedEditor.nPrintFooter, editor.nPrintFooter);
    EXPECT_EQ(savedEditor.nBackupEnabled, editor.nBackupEnabled);
    EXPECT_EQ(std::string(savedEditor.strBackupFolder), std::string(editor.strBackupFolder));
    EXPECT_EQ(savedEditor.nBackupVersions, editor.nBackupVersions);
    EXPECT_EQ(savedEditor.nReuseOutputWindows, editor.nReuseOutputWindows);
    EXPECT_EQ(savedEditor.nResetUndoOnSave, editor.nResetUndoOnSave);
    EXPECT_EQ(savedEditor.nRememberOpenFiles, editor.nRememberOpenFiles);
    EXPECT_EQ(std::string(savedEditor.strDictionary), std::string(editor.strDictionary));
}

TEST_F(SettingsTest, ALongFaceNameIsCutToTheBuffer)
{
    std::string longName(60, 'F');
    SetString("ViewSettings", "FontStyle", longName);
    face[kFontFaceBufferSize - 1] = 'x';
    LoadViewSettingsFromProfile(view, nullptr);
    EXPECT_EQ(std::string(31, 'F'), std::string(view.pszFontFace));
}

// Values that are damaged in the registry: each gives its default and the
// rest of the record is read as usual.
struct Damage {
    const char* what;
    std::function<void()> write;
    std::function<int(const CViewSettings&)> field;
    int expected;
};

class DamagedSettings : public SettingsTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedSettings, GiveTheirDefault)
{
    SetDword("ViewSettings", "LineNumbers", 1); // an intact neighbour
    GetParam().write();
    LoadViewSettingsFromProfile(view, nullptr);
    EXPECT_EQ(GetParam().expected, GetParam().field(view)) << GetParam().what;
    EXPECT_EQ(1, view.nLineNumbers) << GetParam().what;
}

const BYTE kTwoBytes[2] = {1, 2};
const BYTE kEightBytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedSettings,
    ::testing::Values(
        Damage{"flag stored as text", [] { SetString("ViewSettings", "WordWrap", "1"); },
               [](const CViewSettings& s) { return s.nWordWrap; }, 0},
        Damage{"flag of two bytes", [] { SetRaw("ViewSettings", "TabAsSpaces", REG_BINARY, kTwoBytes, 2); },
               [](const CViewSettings& s) { return s.nTabsAsSpaces; }, 1},
        Damage{"font size zero", [] { SetDword("ViewSettings", "FontSize", 0); },
               [](const CViewSettings& s) { return s.nFontSize; }, 10},
        Damage{"negative font size", [] { SetDword("ViewSettings", "FontSize", (DWORD)-12); },
               [](const CViewSettings& s) { return s.nFontSize; }, 10},
        Damage{"huge font size", [] { SetDword("ViewSettings", "FontSize", 100000); },
               [](const CViewSettings& s) { return s.nFontSize; }, 10},
        Damage{"tab width zero", [] { SetDword("ViewSettings", "TabWidth", 0); },
               [](const CViewSettings& s) { return s.nTabWidth; }, 4},
        Damage{"tab width above the options page's 999", [] { SetDword("ViewSettings", "TabWidth", 1000); },
               [](const CViewSettings& s) { return s.nTabWidth; }, 4},
        Damage{"tab width of three digits is no damage", [] { SetDword("ViewSettings", "TabWidth", 500); },
               [](const CViewSettings& s) { return s.nTabWidth; }, 500},
        Damage{"theme outside 720-724", [] { SetDword("ViewSettings", "Theme", 999); },
               [](const CViewSettings& s) { return s.nTheme; }, 721},
        Damage{"theme stored as text", [] { SetString("ViewSettings", "Theme", "723"); },
               [](const CViewSettings& s) { return s.nTheme; }, 721},
        Damage{"colour of two bytes", [] { SetRaw("ViewSettings", "CaretLineColour", REG_BINARY, kTwoBytes, 2); },
               [](const CViewSettings& s) { return (int)s.clrCaretLine; }, 0xEED2C1},
        Damage{"colour of eight bytes",
               [] { SetRaw("ViewSettings", "BraceHighlight", REG_BINARY, kEightBytes, 8); },
               [](const CViewSettings& s) { return (int)s.clrBrace; }, 0x0000FF},
        Damage{"colour stored as text", [] { SetString("ViewSettings", "BraceBadColour", "#FF0000"); },
               [](const CViewSettings& s) { return (int)s.clrBraceBad; }, 0x0000FF},
        Damage{"transparency out of range", [] { SetDword("ViewSettings", "CaretLineTransparency", 5000); },
               [](const CViewSettings& s) { return s.nCaretLineAlpha; }, 126},
        Damage{"face stored as a number", [] { SetDword("ViewSettings", "FontStyle", 7); },
               [](const CViewSettings& s) { return strcmp(s.pszFontFace, "Courier New"); }, 0},
        Damage{"empty face", [] { SetString("ViewSettings", "FontStyle", ""); },
               [](const CViewSettings& s) { return strcmp(s.pszFontFace, "Courier New"); }, 0}),
    [](const ::testing::TestParamInfo<Damage>& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p)
            name += isalnum((unsigned char)*p) ? *p : '_';
        return name;
    });

TEST(LocaleMargins, FollowTheMeasurementSystem)
{
    CEditorSettings e;
    ApplyLocaleMargins(e, TRUE);
    EXPECT_EQ(1, e.nMetric);
    EXPECT_EQ(1500, e.rcMargins.left);
    EXPECT_EQ(1500, e.rcMargins.bottom);
    ApplyLocaleMargins(e, FALSE);
    EXPECT_EQ(0, e.nMetric);
    EXPECT_EQ(600, e.rcMargins.top);
    EXPECT_EQ(600, e.rcMargins.right);
}

} // namespace

// --- external tools ----------------------------------------------------------

namespace {

std::string Bytes(const std::vector<BYTE>& v)
{
    return std::string(v.begin(), v.end());
}

TEST(ToolList, StoredFormIsTheArchiveOfCountAndFourStrings)
{
    CToolList tools;
    tools.SetDefaults();
    ASSERT_EQ(2, tools.GetCount());
    EXPECT_EQ("Command Prompt", std::string(tools.GetAt(0).strMenuText));
    EXPECT_EQ("explorer.exe", std::string(tools.GetAt(1).strCommand));
    std::string expected("\x02\x00", 2);
    expected += std::string("\x0E") + "Command Prompt" + std::string("\x00", 1) + "\x07" + "cmd.exe" +
                std::string("\x00", 1);
    expected += std::string("\x08") + "Explorer" + std::string("\x00", 1) + "\x0C" + "explorer.exe" +
                std::string("\x00", 1);
    EXPECT_EQ(expected, Bytes(tools.ToBytes()));

    // A long text takes the 0xFF marker and a 16-bit length.
    CToolList longOne;
    CToolRecord tool;
    tool.strMenuText = CString(std::string(300, 'm').c_str());
    tool.strArguments = "/c echo $FileName";
    longOne.Add(tool);
    std::vector<BYTE> bytes = longOne.ToBytes();
    ASSERT_GE(bytes.size(), 5u);
    EXPECT_EQ(0xFF, bytes[2]);
    EXPECT_EQ(300, bytes[3] | (bytes[4] << 8));
    CToolList back;
    ASSERT_TRUE(back.FromBytes(bytes.data(), (UINT)bytes.size()));
    ASSERT_EQ(1, back.GetCount());
    EXPECT_EQ(300, back.GetAt(0).strMenuText.GetLength());
    EXPECT_EQ("/c echo $FileName", std::string(back.GetAt(0).strArguments));
}

TEST(ToolList, DamagedDataKeepsWhatWasReadAndReportsIt)
{
    CToolList tools;
    tools.SetDefaults();
    std::vector<BYTE> whole = tools.ToBytes();
    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
        int expectedCount;
    } cases[] = {
        {"cut inside the second tool", std::vector<BYTE>(whole.begin(), whole.end() - 5), 1},
        {"a huge count", std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 1, 'a'}, 0},
        {"a string longer than the data", std::vector<BYTE>{1, 0, 0xFF, 0xFF, 0x7F, 'a'}, 0},
    };
    for (const Case& c : cases) {
        CToolList list;
        EXPECT_FALSE(list.FromBytes(c.bytes.data(), (UINT)c.bytes.size())) << c.what;
        EXPECT_EQ(c.expectedCount, list.GetCount()) << c.what;
    }
}

// Tools found on the search path get the shell's icon under 8000, 8001 ...
// in list order; one that is not found keeps its text and gets none.
TEST(ToolList, IconsTakeIdsFrom8000InListOrder)
{
    CToolList tools;
    for (const char* command : {"cmd.exe", "no-such-tool-4711.exe", "notepad.exe", "regedit.exe"}) {
        CToolRecord tool;
        tool.strMenuText = command;
        tool.strCommand = command;
        tools.Add(tool);
    }
    CQXPImageManager images;
    tools.RefreshIcons(&images);
    std::vector<int> ids;
    for (int i = 0; i < tools.GetCount(); ++i)
        ids.push_back(tools.GetAt(i).nIconId);
    EXPECT_EQ(ids, (std::vector<int>{8000, 0, 8001, 8002}));
    EXPECT_EQ("no-such-tool-4711.exe", std::string(tools.GetAt(1).strCommand));
    EXPECT_NE(nullptr, images.GetImage(8000)) << "the icon is in the image manager";
    // A second refresh after the first tool went gives the ids out again.
    CToolList fewer;
    fewer.Add(tools.GetAt(2));
    fewer.RefreshIcons(&images);
    EXPECT_EQ(8000, fewer.GetAt(0).nIconId);
}

TEST_F(SettingsTest, ToolsGoThroughTheProfile)
{
    CToolList none;
    EXPECT_FALSE(CCustomizePageTools::LoadTools(none)) << "nothing stored yet";
    CToolList tools;
    tools.SetDefaults();
    ASSERT_TRUE(CCustomizePageTools::SaveTools(tools));
    DWORD type = 0;
    std::vector<BYTE> stored = GetBinary("TOOLS_CUSTOMIZATION", "Tools", &type);
    EXPECT_EQ((DWORD)REG_BINARY, type);
    EXPECT_EQ(Bytes(tools.ToBytes()), Bytes(stored));
    CToolList back;
    ASSERT_TRUE(CCustomizePageTools::LoadTools(back));
    EXPECT_EQ(2, back.GetCount());
}

TEST(ToolArguments, VariablesTakeThePartsOfTheActiveDocument)
{
    const char* path = "C:\\work\\src\\main.cpp";
    struct {
        const char* args;
        const char* expected;
    } table[] = {
        {"$FilePath", "C:\\work\\src\\main.cpp"},
        {"$FileName", "main.cpp"},
        {"$FileExt", ".cpp"},
        {"$FileShortName", "main"},
        {"$FileDir", "\\work\\src\\"},
        {"/c \"$FilePath\" $FileName $FileName", "/c \"C:\\work\\src\\main.cpp\" main.cpp main.cpp"},
        {"no variables", "no variables"},
    };
    for (const auto& row : table)
        EXPECT_EQ(row.expected, std::string(ExpandToolArguments(row.args, path))) << row.args;
    EXPECT_EQ(" - ", std::string(ExpandToolArguments("$FileName - $FilePath", "")));

    // A document named in any language: each part whole (UTF-8, the
    // process's char text).
    const char* named = "C:\\\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80\\\xCE\x95\xCE\xBB\xCE\xBB.\xE8\xAA\x9E";
    struct {
        const char* args;
        const char* expected;
    } namedRows[] = {
        {"$FilePath", named},
        {"$FileName", "\xCE\x95\xCE\xBB\xCE\xBB.\xE8\xAA\x9E"},
        {"$FileExt", ".\xE8\xAA\x9E"},
        {"$FileShortName", "\xCE\x95\xCE\xBB\xCE\xBB"},
        {"$FileDir", "\\\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80\\"},
        {"/c copy \"$FilePath\" \"$FileShortName\xCE\xB1$FileExt\"",
         "/c copy \"C:\\\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80\\\xCE\x95\xCE\xBB\xCE\xBB.\xE8\xAA\x9E\" "
         "\"\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB1.\xE8\xAA\x9E\""},
    };
    for (const auto& row : namedRows)
        EXPECT_EQ(row.expected, std::string(ExpandToolArguments(row.args, named))) << row.args;
}

} // namespace
