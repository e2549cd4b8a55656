// findinfiles_tests.cpp - the find-in-files rows and records, and the dialog
// running the real engine (filescan.dll) on real windows with a frame that
// records what the results ask of it.
#include "coretest.h"
#include "dialogtest.h"
#include "panetest.h"

#include "apphelpers.h"
#include "findinfiles.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "resource.h"

using panetest::CRecordingFrame;

namespace {

bool Contains(const std::vector<std::string>& rows, const std::string& part)
{
    return std::any_of(rows.begin(), rows.end(), [&](const std::string& r) { return r.find(part) != std::string::npos; });
}

std::string Joined(const std::vector<std::string>& rows)
{
    std::string all;
    for (const std::string& r : rows)
        all += "\n  [" + r + "]";
    return all;
}

void ClearSections()
{
    HKEY hApp = AfxGetApp()->GetAppRegistryKey();
    for (const char* section : {"FindReplace", "SearchHistory", "DirectoryHistory", "Settings", "FileFilter",
                                "FindInFilesDialog"})
        ::RegDeleteTreeA(hApp, section);
    ::RegCloseKey(hApp);
}

class FindInFilesTest : public panetest::FrameTest {
protected:
    void SetUp() override
    {
        ClearSections();
        panetest::FrameTest::SetUp();
    }
    // Runs the dialog with a script; its DoModal result.
    INT_PTR RunDialog(std::vector<dlgtest::Step> steps, DWORD dwTimeoutMs = 30000)
    {
        CFindInFilesDlg dlg(m_pFrame);
        dlgtest::ModalScript script(std::move(steps), dwTimeoutMs);
        INT_PTR nResult = dlg.DoModal();
        EXPECT_TRUE(script.Finished()) << "the script did not finish";
        return nResult;
    }
    static HWND Dialog() { return dlgtest::FindDialog("Find in Files"); }
    static void SetBox(HWND hDlg, int nID, const std::string& text)
    {
        ::SetWindowTextA(::GetDlgItem(hDlg, nID), text.c_str());
    }
    // "needle" in every file of the folder, started through a sent click.
    static void StartSearch(HWND hDlg, const std::string& folder)
    {
        SetBox(hDlg, IDC_FIF_TEXT, "needle");
        SetBox(hDlg, IDC_FIF_TYPES, "*.*");
        SetBox(hDlg, IDC_FIF_FOLDER, folder);
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_FIF_FIND, BN_CLICKED), 0);
    }
    static bool Enabled(HWND hDlg, int nID) { return ::IsWindowEnabled(::GetDlgItem(hDlg, nID)) != FALSE; }
    std::vector<std::string> Rows() const { return panetest::ListRows(m_pFrame->m_results.m_hWnd); }
};

} // namespace

// ---------------------------------------------------------------------------
// Rows

TEST(FindInFilesRows, RowTextsLoseTheirLineEndsOnly)
{
    struct Case {
        const wchar_t* in;
        const char* out;
    } cases[] = {
        {L"plain", "plain"},
        {L"with crlf\r\n", "with crlf"},
        {L"with lf\n", "with lf"},
        {L"with cr\r", "with cr"},
        {L"two ends\r\n\r\n", "two ends"},
        {L"\r\n", ""},
        {L"", ""},
        {L"inner\r\nkept\r\n", "inner\r\nkept"},
        {L"  blanks stay  \r\n", "  blanks stay  "},
        {L"\x03A9\x03BC\x03AD\x03B3\x03B1 \x65E5\x672C\r\n", "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xE6\x97\xA5\xE6\x9C\xAC"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(fif::RowText(c.in)), c.out) << "case " << (const char*)CString(c.out);
    EXPECT_EQ(std::string(fif::RowText(NULL)), "");
    EXPECT_EQ(std::string(fif::CutLineEnd("text\r\n")), "text");
    EXPECT_EQ(std::string(fif::CutLineEnd("\n")), "");
}

TEST(FindInFilesRows, MatchRowsKeepWholePathsOfAnyLength)
{
    EXPECT_EQ(std::string(fif::FormatMatchRow("C:\\a\\b.txt", 12, "the line")), "C:\\a\\b.txt (12): the line");
    EXPECT_EQ(std::string(fif::FormatMatchRow("C:\\x.c", 1, "")), "C:\\x.c (1): ");
    // A percent sign in a path or text is no format.
    EXPECT_EQ(std::string(fif::FormatMatchRow("C:\\100%s\\f.txt", 3, "50%d")), "C:\\100%s\\f.txt (3): 50%d");

    std::string longPath = "C:";
    while (longPath.size() < 1000)
        longPath += "\\folder-with-a-long-name";
    longPath += "\\end.txt";
    std::string row = (const char*)fif::FormatMatchRow(longPath.c_str(), 7, "text");
    EXPECT_EQ(row, longPath + " (7): text");

    CFindInFilesRow* pRow = fif::NewRow(longPath.c_str(), 7, 3);
    ASSERT_NE(pRow, nullptr);
    EXPECT_EQ(std::string(pRow->szPath), longPath);
    EXPECT_EQ(pRow->nLine, 7);
    EXPECT_EQ(pRow->nPosition, 3);
    ::CoTaskMemFree(pRow);

    const char* greek = "C:\\\xCE\xB1\xCE\xB2\\\xE6\x97\xA5.txt";
    pRow = fif::NewRow(greek, 1, 0);
    ASSERT_NE(pRow, nullptr);
    EXPECT_EQ(std::string(pRow->szPath), greek);
    ::CoTaskMemFree(pRow);
}

TEST(FindInFilesRows, FileTypesLoseEveryBlank)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"*.c; *.h", "*.c;*.h"},
        {" *.txt ", "*.txt"},
        {"*.cpp ;  *.h;;*.rc ", "*.cpp;*.h;;*.rc"},
        {"*.*", "*.*"},
        {"   ", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(fif::RemoveBlanks(c.in)), c.out) << "[" << c.in << "]";
}

TEST(FindInFilesRows, StoredFileTypeIndexOutsideTheListSelectsTheFirst)
{
    struct Case {
        int stored, count, selected;
    } cases[] = {
        {-2, 4, 0},
        {-1, 4, 0},
        {0, 4, 0},
        {1, 4, 1},
        {3, 4, 3},
        {4, 4, 0},
        {99, 4, 0},
        {2, 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fif::FileTypeIndexToSelect(c.stored, c.count), c.selected) << c.stored << " of " << c.count;
}

// ---------------------------------------------------------------------------
// The results list

TEST_F(FindInFilesTest, ListRowsCarryNoLineEndsAndMatchRowsTheirRecord)
{
    CFindInFilesResults& list = m_pFrame->m_results;
    list.AddLine("header");
    list.AddLine("\r\n");
    list.AddLine("error line\r\n");
    std::string longPath = "C:\\long";
    while (longPath.size() < 400)
        longPath += "\\segment";
    longPath += "\\file.txt";
    list.AddMatch(longPath.c_str(), "  found here\r\n", 42, 2);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"header", "error line", longPath + " (42):   found here"}));
    EXPECT_EQ(list.GetRow(0), nullptr);
    const CFindInFilesRow* pRow = list.GetRow(2);
    ASSERT_NE(pRow, nullptr);
    EXPECT_EQ(std::string(pRow->szPath), longPath);
    EXPECT_EQ(pRow->nLine, 42);
    EXPECT_EQ(pRow->nPosition, 2);

    // Opening: plain lines do nothing, a match row asks the frame.
    EXPECT_FALSE(list.OpenRow(0));
    EXPECT_TRUE(list.OpenRow(2));
    ASSERT_EQ(m_pFrame->m_opened.size(), 1u);
    EXPECT_EQ(m_pFrame->m_opened[0].path, longPath);
    EXPECT_EQ(m_pFrame->m_opened[0].line, 42);
    EXPECT_EQ(m_pFrame->m_opened[0].position, 2);

    // A double-click below the last row does nothing; on the row it opens.
    CRect rc;
    list.GetItemRect(2, &rc);
    list.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(rc.left + 5, rc.top + 2));
    EXPECT_EQ(m_pFrame->m_opened.size(), 2u);
    list.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(rc.left + 5, rc.bottom + 40));
    EXPECT_EQ(m_pFrame->m_opened.size(), 2u);

    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
}

// ---------------------------------------------------------------------------
// The dialog with the engine

namespace {

// A fixture tree: names in several languages, a path longer than the old
// 263-character record, a subfolder.
struct FixtureTree {
    std::string root;
    std::string deepFile; // over 300 characters
    std::string greekFile;
    FixtureTree()
    {
        qmtest::TempDir dir("fifdlg");
        root = dir.Path() + "_tree";
        panetest::MakeFolder(root);
        panetest::WriteBytes(root + "\\plain.txt", "first line\r\nneedle in the second line\r\nthird\r\n");
        panetest::WriteBytes(root + "\\other.c", "int needle = 1;\r\n");
        std::string greekFolder = root + "\\\xCE\xB1\xCE\xBB\xCF\x86\xCE\xB1";
        panetest::MakeFolder(greekFolder);
        greekFile = greekFolder + "\\\xE6\x97\xA5\xE6\x9C\xAC.txt";
        panetest::WriteBytes(greekFile, "\xEF\xBB\xBFno\r\nyes needle\r\n");
        std::string deep = root;
        while (deep.size() < 300) {
            deep += "\\a-rather-long-folder-name";
            panetest::MakeFolder(deep);
        }
        deepFile = deep + "\\deep.txt";
        panetest::WriteBytes(deepFile, "deep needle\n");
    }
    ~FixtureTree() { qmtest::RemoveTree(panetest::Wide(root)); }
};

} // namespace

TEST_F(FindInFilesTest, FindListsHeaderMatchesAndSummaryWithWholePaths)
{
    FixtureTree tree;
    ASSERT_GT(tree.deepFile.size(), 300u);
    AfxGetApp()->WriteProfileInt("FindReplace", "SubFolders", 1);
    HWND hDlg = NULL;
    INT_PTR nResult = RunDialog({
        [&] { return (hDlg = Dialog()) != NULL; },
        [&] {
            EXPECT_TRUE(::IsDlgButtonChecked(hDlg, IDC_FIF_SUBFOLDERS));
            EXPECT_FALSE(Enabled(hDlg, IDC_FIF_STOP));
            SetBox(hDlg, IDC_FIF_TEXT, "needle");
            SetBox(hDlg, IDC_FIF_TYPES, "*.txt; *.c");
            SetBox(hDlg, IDC_FIF_FOLDER, tree.root);
            dlgtest::Click(hDlg, IDC_FIF_FIND);
            return true;
        },
        [&] { return Contains(Rows(), "Total found:") && Enabled(hDlg, IDCANCEL); },
        [&] {
            EXPECT_FALSE(Enabled(hDlg, IDC_FIF_STOP));
            EXPECT_TRUE(Enabled(hDlg, IDC_FIF_FIND));
            dlgtest::Click(hDlg, IDCANCEL);
            return true;
        },
    });
    EXPECT_EQ(nResult, IDCANCEL);
    std::vector<std::string> rows = Rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), "Find all \"needle\", Subfolders  \"*.txt;*.c\"") << Joined(rows);
    EXPECT_EQ(rows.back(), "Total found: 4 Matching files: 4 Total Files searched: " +
                               rows.back().substr(rows.back().rfind(' ') + 1))
        << Joined(rows);
    for (const std::string& r : rows)
        EXPECT_EQ(r.find_first_of("\r\n"), std::string::npos) << "[" << r << "]";

    // Every match row has its record with the whole path.
    struct Want {
        std::string path;
        int line, position;
        std::string text;
    } wants[] = {
        {tree.root + "\\plain.txt", 2, 0, "needle in the second line"},
        {tree.root + "\\other.c", 1, 4, "int needle = 1;"},
        {tree.greekFile, 2, 4, "yes needle"},
        {tree.deepFile, 1, 5, "deep needle"},
    };
    CFindInFilesResults& list = m_pFrame->m_results;
    for (const Want& w : wants) {
        std::string rowText = w.path + " (" + std::to_string(w.line) + "): " + w.text;
        auto it = std::find(rows.begin(), rows.end(), rowText);
        ASSERT_NE(it, rows.end()) << rowText << Joined(rows);
        const CFindInFilesRow* pRow = list.GetRow((int)(it - rows.begin()));
        ASSERT_NE(pRow, nullptr) << rowText;
        EXPECT_EQ(std::string(pRow->szPath), w.path);
        EXPECT_EQ(pRow->nLine, w.line);
        EXPECT_EQ(pRow->nPosition, w.position);
    }

    // Closing kept the options, the type list and the texts' histories.
    EXPECT_EQ(AfxGetApp()->GetProfileInt("FindReplace", "SubFolders", 7), 1);
    EXPECT_EQ(AfxGetApp()->GetProfileInt("FindReplace", "MatchCase", 7), 0);
    EXPECT_GE(m_pFrame->m_nHistoryReloads, 1) << "the toolbar box reads the search list again";
}

TEST_F(FindInFilesTest, StoredTypeIndexSelectsItsFileTypeOrTheFirst)
{
    AfxGetApp()->WriteProfileString("FileFilter", "*.txt", "Text files");
    AfxGetApp()->WriteProfileString("FileFilter", "*.cpp", "C++ files");
    AfxGetApp()->WriteProfileString("FileFilter", "*.skip", "");
    struct Case {
        int stored;
        int selected;
    } cases[] = {{-2, 0}, {0, 0}, {2, 2}, {3, 0}, {40, 0}};
    for (const Case& c : cases) {
        SetFindInFilesTypeIndex(c.stored);
        int nSelected = -5, nCount = -5;
        std::string first;
        RunDialog({
            [&] { return Dialog() != NULL; },
            [&] {
                HWND hTypes = ::GetDlgItem(Dialog(), IDC_FIF_TYPES);
                nSelected = (int)::SendMessageA(hTypes, CB_GETCURSEL, 0, 0);
                nCount = (int)::SendMessageA(hTypes, CB_GETCOUNT, 0, 0);
                char sz[32] = "";
                ::SendMessageA(hTypes, CB_GETLBTEXT, 0, (LPARAM)sz);
                first = sz;
                dlgtest::Click(Dialog(), IDCANCEL);
                return true;
            },
        });
        EXPECT_EQ(nCount, 3) << "\"*.*\" and the two filters with a label";
        EXPECT_EQ(first, "*.*");
        EXPECT_EQ(nSelected, c.selected) << "stored " << c.stored;
        EXPECT_EQ(GetFindInFilesTypeIndex(), c.selected) << "Close stores the selection";
    }
}

TEST_F(FindInFilesTest, RefusedStartSaysWhyAndLeavesTheDialogIdleAndClosable)
{
    qmtest::MessageBoxRecorder boxes;
    HWND hDlg = NULL;
    std::string tooLong(CFindInFiles::MaxArgumentLength + 1, 'x');
    INT_PTR nResult = RunDialog({
        [&] { return (hDlg = Dialog()) != NULL; },
        [&] {
            SetBox(hDlg, IDC_FIF_TEXT, "");
            SetBox(hDlg, IDC_FIF_FOLDER, "C:\\");
            ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_FIF_FIND, BN_CLICKED), 0);
            EXPECT_TRUE(Enabled(hDlg, IDCANCEL));
            EXPECT_TRUE(Enabled(hDlg, IDC_FIF_FIND));
            EXPECT_FALSE(Enabled(hDlg, IDC_FIF_STOP));
            SetBox(hDlg, IDC_FIF_TEXT, tooLong);
            ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_FIF_FIND, BN_CLICKED), 0);
            EXPECT_TRUE(Enabled(hDlg, IDCANCEL));
            dlgtest::Click(hDlg, IDCANCEL);
            return true;
        },
    });
    EXPECT_EQ(nResult, IDCANCEL) << "the dialog closed";
    ASSERT_EQ(boxes.Texts().size(), 2u);
    EXPECT_EQ(boxes.Texts()[0], "Type the text to find.");
    EXPECT_EQ(boxes.Texts()[1], "The text to find is too long: it may have at most 4095 characters.");
    EXPECT_TRUE(Rows().empty()) << "no search ran" << Joined(Rows());
}

TEST_F(FindInFilesTest, NoWayOfClosingWorksWhileSearching)
{
    FixtureTree tree;
    HWND hDlg = NULL;
    bool bStillThere = false;
    INT_PTR nResult = RunDialog({
        [&] { return (hDlg = Dialog()) != NULL; },
        [&] {
            // Sent, not posted: the worker cannot finish before this step
            // ends, since the search's rows wait for this thread.
            StartSearch(hDlg, tree.root);
            EXPECT_FALSE(Enabled(hDlg, IDCANCEL));
            EXPECT_TRUE(Enabled(hDlg, IDC_FIF_STOP));
            ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0); // Esc
            ::SendMessageA(hDlg, WM_CLOSE, 0, 0);                         // caption, Alt+F4
            ::SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
            bStillThere = ::IsWindow(hDlg) && ::IsWindowVisible(hDlg);
            return true;
        },
        [&] { return Enabled(hDlg, IDCANCEL); },
        [&] {
            ::SendMessageA(hDlg, WM_CLOSE, 0, 0);
            return true;
        },
    });
    EXPECT_TRUE(bStillThere);
    EXPECT_EQ(nResult, IDCANCEL) << "WM_CLOSE closes an idle dialog";
    EXPECT_TRUE(Contains(Rows(), "Total found: 2 ")) << Joined(Rows());
}

TEST_F(FindInFilesTest, DialogDestroyedWhileSearchingWaitsForItsWorker)
{
    FixtureTree tree;
    HWND hDlg = NULL;
    RunDialog({
        [&] { return (hDlg = Dialog()) != NULL; },
        [&] {
            StartSearch(hDlg, tree.root);
            // As when its owner goes: the window is destroyed under it.
            ::DestroyWindow(hDlg);
            return true;
        },
    });
    // The worker finished before the engine went: its summary is there.
    EXPECT_TRUE(Contains(Rows(), "Total found:")) << Joined(Rows());
}

namespace {
struct HelpCall {
    UINT nCmd;
    DWORD_PTR dwData;
};
void RecordHelp(HWND, LPCSTR, UINT nCmd, DWORD_PTR dwData, void* pContext)
{
    static_cast<std::vector<HelpCall>*>(pContext)->push_back({nCmd, dwData});
}
} // namespace

TEST_F(FindInFilesTest, HelpAsksForTheDialogsTopic)
{
    std::vector<HelpCall> calls;
    fx::HelpHook pfnOld = fx::SetHelpHook(&RecordHelp, &calls);
    RunDialog({
        [&] { return Dialog() != NULL; },
        [&] {
            ::SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(IDC_FIF_HELP, BN_CLICKED), 0);
            dlgtest::Click(Dialog(), IDCANCEL);
            return true;
        },
    });
    fx::SetHelpHook(pfnOld);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].nCmd, 15u) << "HH_HELP_CONTEXT";
    EXPECT_EQ(calls[0].dwData, (DWORD_PTR)131212) << "the help base 0x20000 plus the dialog's 140";
}
