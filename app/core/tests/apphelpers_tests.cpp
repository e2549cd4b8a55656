// Shared helpers: colours, hexadecimal text, path parts, per-user folders,
// file filters and combo-box history lists.
#include "coretest.h"
#include "apphelpers.h"

#include <gmock/gmock.h>

using coretest::ClearProfile;
using coretest::FileExists;
using coretest::ReadBytes;
using coretest::WriteBytes;

TEST(HexText, HexToInt)
{
    struct Case {
        const char* text;
        int value;
    } cases[] = {{"0x1F", 31}, {"0X1f", 31}, {"1G", 1}, {"", 0}, {"ff", 255}, {"0", 0}, {"0x", 0}, {"xyz", 0}, {"7fffffff", 0x7FFFFFFF}, {"00A0", 160}, {" 12", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(HexToInt(c.text), c.value) << c.text;
    EXPECT_EQ(HexToInt(NULL), 0);
}

TEST(HexText, ColoursBothWays)
{
    const COLORREF clr = RGB(0xEE, 0xD2, 0xC1);
    EXPECT_EQ(ColourToHex(clr), "#EED2C1");
    EXPECT_EQ(HexToColour("#EED2C1"), clr);
    EXPECT_EQ(ColourToHex(RGB(1, 2, 3)), "#010203");
    EXPECT_EQ(ColourToHex(0xFF000000 | RGB(1, 2, 3)), "#010203"); // only the low 24 bits
    struct Case {
        const char* text;
        COLORREF clr;
    } cases[] = {
        {"#000000", RGB(0, 0, 0)},
        {"#ffffff", RGB(255, 255, 255)},
        {"X102030", RGB(0x10, 0x20, 0x30)},
        {"#12", RGB(0x12, 0, 0)},
        {"#GG0000", RGB(0, 0, 0)},
        {"#1", RGB(1, 0, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HexToColour(c.text), c.clr) << c.text;
    EXPECT_EQ(HexToColour(""), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(HexToColour(NULL), GetSysColor(COLOR_WINDOW));
}

TEST(HexText, ParseHexBytes)
{
    BYTE buf[8];
    EXPECT_EQ(ParseHexBytes("0A 1b  ff", buf, sizeof(buf)), 3);
    EXPECT_EQ(buf[0], 0x0A);
    EXPECT_EQ(buf[1], 0x1B);
    EXPECT_EQ(buf[2], 0xFF);
    EXPECT_EQ(buf[3], 0);
    EXPECT_EQ(ParseHexBytes("ABC", buf, sizeof(buf)), 2); // a lone last digit is a byte of its own
    EXPECT_EQ(buf[1], 0x0C);
    EXPECT_EQ(ParseHexBytes("00112233445566778899", buf, 4), 4); // never past the buffer
    EXPECT_EQ(buf[3], 0x33);
    EXPECT_EQ(ParseHexBytes("12zz34", buf, sizeof(buf)), 1);
    EXPECT_EQ(ParseHexBytes("", buf, sizeof(buf)), 0);
}

TEST(Paths, NthField)
{
    EXPECT_EQ(GetNthField("a|b|c", 0, '|'), "a");
    EXPECT_EQ(GetNthField("a|b|c", 2, '|'), "c");
    EXPECT_EQ(GetNthField("a|b|c", 3, '|'), "");
    EXPECT_EQ(GetNthField("a||c", 1, '|'), "");
    EXPECT_EQ(GetNthField("", 0, '|'), "");
    EXPECT_EQ(GetNthField("abc", -1, '|'), "");
}

TEST(Paths, PathParts)
{
    struct Case {
        const char* path;
        const char *drive, *dir, *base, *ext;
    } cases[] = {
        {"C:\\dir\\sub\\file.name.txt", "C:", "\\dir\\sub\\", "file.name", ".txt"},
        {"C:\\dir.d\\noext", "C:", "\\dir.d\\", "noext", ""},
        {"file.cpp", "", "", "file", ".cpp"},
        {"\\\\server\\share\\w.dpf", "", "\\\\server\\share\\", "w", ".dpf"},
        {"C:file", "C:", "", "file", ""},
        {"D:\\folder\\", "D:", "\\folder\\", "", ""},
        {".config", "", "", "", ".config"},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        CPathParts parts(c.path);
        EXPECT_EQ(parts.GetDrive(), c.drive) << c.path;
        EXPECT_EQ(parts.GetDir(), c.dir) << c.path;
        EXPECT_EQ(parts.GetBaseName(), c.base) << c.path;
        EXPECT_EQ(parts.GetExtension(), c.ext) << c.path;
        EXPECT_EQ(parts.GetFolder(), CString(c.drive) + c.dir) << c.path;
        EXPECT_EQ(parts.GetFileName(), CString(c.base) + c.ext) << c.path;
    }
    // Parts longer than their buffers are cut, never overrun.
    std::string longName = "C:\\" + std::string(400, 'd') + "\\" + std::string(300, 'n') + ".txt";
    CPathParts parts(longName.c_str());
    EXPECT_EQ(parts.GetDir().GetLength(), 255);
    EXPECT_EQ(parts.GetBaseName().GetLength(), 255);
    EXPECT_EQ(parts.GetExtension(), ".txt");
}

TEST(Files, FoldersAndReadOnly)
{
    qmtest::TempDir temp;
    EXPECT_TRUE(CreateFolder((temp.Path("a\\b\\c")).c_str()));
    EXPECT_TRUE(FileExists(temp.Path("a\\b\\c")));
    EXPECT_TRUE(CreateFolder((temp.Path("a\\b\\c")).c_str())); // already there
    WriteBytes(temp.Path("file"), "x");
    EXPECT_FALSE(CreateFolder((temp.Path("file")).c_str()));
    EXPECT_FALSE(CreateFolder((temp.Path("file\\sub")).c_str()));

    EXPECT_FALSE(IsFileReadOnly((temp.Path("file")).c_str()));
    SetFileAttributesA((temp.Path("file")).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(IsFileReadOnly((temp.Path("file")).c_str()));
    SetFileAttributesA((temp.Path("file")).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(IsFileReadOnly((temp.Path("missing")).c_str()));

    // The per-user folders, under this test's own local application data.
    const CString data = GetAppDataFolder();
    EXPECT_EQ(data, CString(coretest::ProfileEnvironment::DataRoot().c_str()) + "\\Fernbright\\Quillmate");
    ASSERT_TRUE(EnsureAppDataFolders());
    for (const char* sub : {"Config", "Templates", "Backup", "Tidy"})
        EXPECT_TRUE(FileExists((data + "\\" + sub).GetString())) << sub;
}

// At start the per-user folder gets the shipped language files it lacks; a
// file already there is the user's and stays as it is.
TEST(Files, StartCopiesOnlyTheMissingLanguageFiles)
{
    qmtest::TempDir temp;
    struct DataRoot { // this test's own local application data folder
        explicit DataRoot(const std::string& path) { SetLocalAppDataOverride(path.c_str()); }
        ~DataRoot() { SetLocalAppDataOverride(coretest::ProfileEnvironment::DataRoot().c_str()); }
    } root(temp.Path("Local"));
    const std::string shipped = temp.Path("bin\\Config");
    ASSERT_TRUE(CreateFolder(shipped.c_str()));
    WriteBytes(shipped + "\\a.config", "shipped a");
    WriteBytes(shipped + "\\b.config", "shipped b");
    WriteBytes(shipped + "\\notes.txt", "not a language");
    ASSERT_TRUE(CreateFolder((shipped + "\\folder.config").c_str()));
    const std::string user = temp.Path("Local\\Fernbright\\Quillmate");

    // A fresh profile: every folder is made, every language file copied.
    EXPECT_EQ(PrepareAppDataFolders(shipped.c_str()), 2);
    for (const char* sub : {"Config", "Templates", "Backup", "Tidy"})
        EXPECT_TRUE(FileExists(user + "\\" + sub)) << sub;
    EXPECT_EQ(ReadBytes(user + "\\Config\\a.config"), "shipped a");
    EXPECT_EQ(ReadBytes(user + "\\Config\\b.config"), "shipped b");
    EXPECT_FALSE(FileExists(user + "\\Config\\notes.txt"));
    EXPECT_FALSE(FileExists(user + "\\Config\\folder.config"));

    // The user edited one file and deleted the other: the edit stays, the
    // deleted one comes back.
    WriteBytes(user + "\\Config\\a.config", "the user's colours");
    ASSERT_TRUE(DeleteFileA((user + "\\Config\\b.config").c_str()));
    EXPECT_EQ(PrepareAppDataFolders(shipped.c_str()), 1);
    EXPECT_EQ(ReadBytes(user + "\\Config\\a.config"), "the user's colours");
    EXPECT_EQ(ReadBytes(user + "\\Config\\b.config"), "shipped b");
    EXPECT_EQ(PrepareAppDataFolders(shipped.c_str()), 0);

    // No shipped folder (or none given): the folders are still made.
    SetLocalAppDataOverride((temp.Path("Other")).c_str());
    EXPECT_EQ(PrepareAppDataFolders((temp.Path("no-such-folder")).c_str()), 0);
    EXPECT_TRUE(FileExists(temp.Path("Other\\Fernbright\\Quillmate\\Config")));
    EXPECT_EQ(PrepareAppDataFolders(""), 0);
    EXPECT_EQ(PrepareAppDataFolders(NULL), 0);

    // A file where the Config folder belongs: nothing is copied, nothing breaks.
    SetLocalAppDataOverride((temp.Path("Blocked")).c_str());
    ASSERT_TRUE(CreateFolder((temp.Path("Blocked\\Fernbright\\Quillmate")).c_str()));
    WriteBytes(temp.Path("Blocked\\Fernbright\\Quillmate\\Config"), "a file");
    EXPECT_EQ(PrepareAppDataFolders(shipped.c_str()), 0);
    EXPECT_EQ(ReadBytes(temp.Path("Blocked\\Fernbright\\Quillmate\\Config")), "a file");

    // The shipped folder is "Config" beside the program.
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(NULL, exe, MAX_PATH);
    std::string folder(exe);
    folder = folder.substr(0, folder.find_last_of('\\') + 1) + "Config";
    EXPECT_EQ(std::string(GetShippedConfigFolder().GetString()), folder);
}

// The HTML Tidy option files ship in "Tidy" beside the program and fill the
// gaps of the per-user Tidy folder the same way: the user's own files stay,
// names in any language are copied.
TEST(Files, ShippedTidyFilesFillTheGaps)
{
    qmtest::TempDir temp;
    const std::string from = temp.Path("shipped"), to = temp.Path("user\\Tidy");
    ASSERT_TRUE(CreateFolder(from.c_str()));
    WriteBytes(from + "\\a.tidy", "shipped a");
    WriteBytes(from + "\\b.tidy", "shipped b");
    WriteBytes(from + "\\caf\xc3\xa9.tidy", "shipped caf\xc3\xa9");
    WriteBytes(from + "\\readme.txt", "not matched");
    ASSERT_TRUE(CreateFolder(to.c_str()));
    WriteBytes(to + "\\a.tidy", "users a");

    EXPECT_EQ(CopyMissingFiles(from.c_str(), to.c_str(), "*.tidy"), 2);
    EXPECT_EQ(ReadBytes(to + "\\a.tidy"), "users a");
    EXPECT_EQ(ReadBytes(to + "\\b.tidy"), "shipped b");
    EXPECT_EQ(ReadBytes(to + "\\caf\xc3\xa9.tidy"), "shipped caf\xc3\xa9");
    EXPECT_FALSE(FileExists(to + "\\readme.txt"));
    EXPECT_EQ(CopyMissingFiles(from.c_str(), to.c_str(), "*.tidy"), 0);

    char exe[MAX_PATH] = "";
    GetModuleFileNameA(NULL, exe, MAX_PATH);
    std::string folder(exe);
    folder = folder.substr(0, folder.find_last_of('\\') + 1) + "Tidy";
    EXPECT_EQ(std::string(GetShippedTidyFolder().GetString()), folder);
}

class ProfileHelpers : public ::testing::Test {
protected:
    void SetUp() override { ClearProfile(); }
};

// The options page's Add: both texts needed, no "|" in either (it would
// shift every later filter of the dialogs); a damaged stored filter with a
// "|" is left out of the lists.
TEST_F(ProfileHelpers, FileFiltersAddedAndRefused)
{
    const struct {
        const char* pattern;
        const char* label;
        FileFilterResult result;
    } cases[] = {
        {"*.qmx", "QM files", FILTER_OK},
        {"", "No pattern", FILTER_EMPTY},
        {"*.none", "", FILTER_EMPTY},
        {"*.a|*.b", "Two", FILTER_HAS_BAR},
        {"*.bar", "Bar|label", FILTER_HAS_BAR},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddFileFilter(c.pattern, c.label), c.result) << c.pattern << " " << c.label;
    AfxGetApp()->WriteProfileString("FileFilter", "*.zz", "Damaged|label");
    std::vector<CFileFilterEntry> filters = ReadFileFilters();
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].pattern, "*.qmx");
    EXPECT_EQ(filters[0].label, "QM files");
    EXPECT_EQ(BuildFileFilter(), "QM files (*.qmx)|*.qmx|All Files (*.*)|*.*||");
    EXPECT_TRUE(DeleteFileFilter("*.qmx"));
    EXPECT_TRUE(ReadFileFilters().empty());
}

TEST_F(ProfileHelpers, SettingsDefaults)
{
    EXPECT_EQ(GetDefaultExtension(), "txt");
    EXPECT_EQ(GetFindInFilesTypeIndex(), -2);
    EXPECT_TRUE(SetDefaultExtension("cpp"));
    EXPECT_TRUE(SetFindInFilesTypeIndex(3));
    EXPECT_EQ(GetDefaultExtension(), "cpp");
    EXPECT_EQ(GetFindInFilesTypeIndex(), 3);
    EXPECT_EQ(GetOpenDialogFlags(TRUE), 0x80A42u);
    EXPECT_EQ(GetOpenDialogFlags(FALSE), 0x80842u);
}

TEST_F(ProfileHelpers, FileFilters)
{
    EXPECT_EQ(BuildFileFilter(), "All Files (*.*)|*.*||");
    EXPECT_EQ(GetNthFileFilterName(1), "");
    CWinApp* app = AfxGetApp();
    // Written in name order, so the registry's enumeration order (creation
    // order on some systems, name order on others) is the same.
    app->WriteProfileString("FileFilter", "*.cpp;*.h", "C++");
    app->WriteProfileString("FileFilter", "*.empty", "");
    app->WriteProfileString("FileFilter", "*.txt", "Text files");
    EXPECT_EQ(BuildFileFilter(), "C++ (*.cpp;*.h)|*.cpp;*.h|Text files (*.txt)|*.txt|All Files (*.*)|*.*||");
    EXPECT_EQ(GetNthFileFilterName(1), "*.cpp;*.h");
    EXPECT_EQ(GetNthFileFilterName(2), "*.empty");
    EXPECT_EQ(GetNthFileFilterName(4), "");
    EXPECT_EQ(GetNthFileFilterName(0), "");

    HWND combo = CreateWindowA("COMBOBOX", "", CBS_DROPDOWNLIST | WS_POPUP, 0, 0, 200, 200, NULL, NULL, NULL, NULL);
    ASSERT_NE(combo, (HWND)NULL);
    FillFileFilterCombo(combo);
    ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
    char text[64];
    const char* expected[] = {"*.*", "*.cpp;*.h", "*.txt"};
    for (int i = 0; i < 3; ++i) {
        SendMessageA(combo, CB_GETLBTEXT, (WPARAM)i, (LPARAM)text);
        EXPECT_STREQ(text, expected[i]);
    }
    DestroyWindow(combo);
}

TEST_F(ProfileHelpers, ComboHistoryKeepsFiftyNewestAndTheSelection)
{
    HWND combo = CreateWindowA("COMBOBOX", "", CBS_DROPDOWN | WS_POPUP, 0, 0, 200, 200, NULL, NULL, NULL, NULL);
    ASSERT_NE(combo, (HWND)NULL);
    auto fill = [&](int n) {
        SendMessageA(combo, CB_RESETCONTENT, 0, 0);
        for (int i = 0; i < n; ++i)
            SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)("item " + std::to_string(i)).c_str());
    };
    auto items = [&]() {
        std::vector<std::string> out;
        char text[64];
        for (int i = 0; i < (int)SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
            SendMessageA(combo, CB_GETLBTEXT, (WPARAM)i, (LPARAM)text);
            out.push_back(text);
        }
        return out;
    };

    fill(60);
    SendMessageA(combo, CB_SETCURSEL, 3, 0);
    SaveComboHistory(combo, "FindHistory");
    EXPECT_EQ(AfxGetApp()->GetProfileString("FindHistory", "49"), "item 49");
    EXPECT_EQ(AfxGetApp()->GetProfileString("FindHistory", "50", "none"), "none");
    EXPECT_EQ((int)AfxGetApp()->GetProfileInt("FindHistory", "Selected", -7), 3);

    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    LoadComboHistory(combo, "FindHistory");
    std::vector<std::string> got = items();
    ASSERT_EQ(got.size(), 50u);
    EXPECT_EQ(got.front(), "item 0");
    EXPECT_EQ(got.back(), "item 49");
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 3);

    // A shorter list later: the older items do not come back.
    fill(2);
    SendMessageA(combo, CB_SETCURSEL, (WPARAM)-1, 0);
    SaveComboHistory(combo, "FindHistory");
    LoadComboHistory(combo, "FindHistory");
    EXPECT_EQ(items(), (std::vector<std::string>{"item 0", "item 1"}));
    // "Selected" -1 selects the first item.
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);

    // Empty values are skipped; a section that does not exist gives nothing.
    AfxGetApp()->WriteProfileString("Other", "0", "");
    AfxGetApp()->WriteProfileString("Other", "1", "kept");
    LoadComboHistory(combo, "Other");
    EXPECT_EQ(items(), (std::vector<std::string>{"kept"}));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    LoadComboHistory(combo, "Missing");
    EXPECT_TRUE(items().empty());
    DestroyWindow(combo);
}
