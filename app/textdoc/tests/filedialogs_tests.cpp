// filedialogs_tests.cpp - the open/save dialog with its extra choices and
// the file information dialog, on their real templates.
#include "coretest.h"
#include "tdtest.h"
#include "dialogtest.h"

#include "apphelpers.h"
#include "filedialogs.h"
#include "resource.h"

#include <gtest/gtest.h>
#include <qmtest/qmatedriver.h>

#include <dlgs.h>

#include <string>

using namespace dlgtest;
using coretest::WriteBytes;
using tdtest::FileDialogWindows;
using tdtest::FindFileDialogWindows;

namespace {

int ComboSel(HWND hDlg, int nID)
{
    return (int)SendDlgItemMessageA(hDlg, nID, CB_GETCURSEL, 0, 0);
}
int ComboCount(HWND hDlg, int nID)
{
    return (int)SendDlgItemMessageA(hDlg, nID, CB_GETCOUNT, 0, 0);
}
void ChooseCombo(HWND hDlg, int nID, int nSel)
{
    SendDlgItemMessageA(hDlg, nID, CB_SETCURSEL, (WPARAM)nSel, 0);
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, CBN_SELCHANGE), (LPARAM)GetDlgItem(hDlg, nID));
}

class FileDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        coretest::ClearProfile();
        CWinApp* pApp = AfxGetApp();
        pApp->WriteProfileString("FileFilter", "*.txt;*.log", "Text files");
        pApp->WriteProfileString("FileFilter", "*.cpp;*.h", "C++ files");
    }
    void TearDown() override { coretest::ClearProfile(); }
    qmtest::TempDir m_temp;
};

} // namespace

// Save As starts at the encoding and line ending it was given (the
// document's own) and hands back what the user chose.
TEST_F(FileDialogTest, SaveModeStartsAtTheDocumentsEncodingAndLineEnding)
{
    CFileDialogEx dlg(FALSE, "out", NULL, m_temp.Path().c_str());
    dlg.SetEncoding(1);
    dlg.SetLineEnding(2);
    FileDialogWindows w;
    int nSelEncoding = -1, nSelEol = -1, nEncodings = -1, nEols = -1;
    ModalScript script({
        [&] {
            w = FindFileDialogWindows();
            return w.hExtra != NULL;
        },
        [&] {
            nSelEncoding = ComboSel(w.hExtra, IDC_FILE_ENCODING);
            nSelEol = ComboSel(w.hExtra, IDC_FILE_LINE_ENDING);
            nEncodings = ComboCount(w.hExtra, IDC_FILE_ENCODING);
            nEols = ComboCount(w.hExtra, IDC_FILE_LINE_ENDING);
            ChooseCombo(w.hExtra, IDC_FILE_ENCODING, 0);
            ChooseCombo(w.hExtra, IDC_FILE_LINE_ENDING, 1);
            return true;
        },
        [&] {
            Click(w.hDlg, IDCANCEL);
            return true;
        },
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(nSelEncoding, 1);
    EXPECT_EQ(nSelEol, 2);
    EXPECT_EQ(nEncodings, 4);
    EXPECT_EQ(nEols, 3);
    EXPECT_EQ(dlg.GetEncoding(), 0);
    EXPECT_EQ(dlg.GetLineEnding(), 1);
}

// Confirming a name stores the filter index and takes the filter's first
// extension as the default extension.
TEST_F(FileDialogTest, ConfirmingANameStoresTheFilterAndItsExtension)
{
    AfxGetApp()->WriteProfileInt("Settings", "FilterIndex", 2);
    CFileDialogEx dlg(FALSE, "out", NULL, m_temp.Path().c_str());
    FileDialogWindows w;
    ModalScript script({
        [&] {
            w = FindFileDialogWindows();
            return w.hExtra != NULL;
        },
        [&] {
            Click(w.hDlg, IDOK);
            return true;
        },
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    // The second filter of the list the dialog was given.
    CString strPattern = CFileDialogEx::GetFilterPart(BuildFileFilter(), 2, 1);
    ASSERT_TRUE(strPattern == "*.cpp;*.h" || strPattern == "*.txt;*.log") << (LPCSTR)strPattern;
    EXPECT_EQ(std::string(dlg.GetDefaultExtension()), strPattern == "*.cpp;*.h" ? "cpp" : "txt");
    EXPECT_EQ(AfxGetApp()->GetProfileInt("Settings", "FilterIndex", 0), 2u);
}

// In open mode "Hex Editor (Binary)" disables the encoding list and "Text"
// enables it again.
TEST_F(FileDialogTest, OpenModeDisablesTheEncodingForTheHexView)
{
    CFileDialogEx dlg(TRUE, NULL, NULL, m_temp.Path().c_str());
    FileDialogWindows w;
    int nViewAs = -1, nEncoding = -1, nEncodings = -1;
    BOOL bEnabledHex = TRUE, bEnabledText = FALSE;
    ModalScript script({
        [&] {
            w = FindFileDialogWindows();
            return w.hExtra != NULL;
        },
        [&] {
            nViewAs = ComboSel(w.hExtra, IDC_FILE_VIEW_AS);
            nEncoding = ComboSel(w.hExtra, IDC_FILE_ENCODING);
            nEncodings = ComboCount(w.hExtra, IDC_FILE_ENCODING);
            ChooseCombo(w.hExtra, IDC_FILE_VIEW_AS, CFileDialogEx::VIEW_HEX);
            return true;
        },
        [&] {
            bEnabledHex = IsWindowEnabled(GetDlgItem(w.hExtra, IDC_FILE_ENCODING));
            ChooseCombo(w.hExtra, IDC_FILE_VIEW_AS, CFileDialogEx::VIEW_TEXT);
            return true;
        },
        [&] {
            bEnabledText = IsWindowEnabled(GetDlgItem(w.hExtra, IDC_FILE_ENCODING));
            Click(w.hDlg, IDCANCEL);
            return true;
        },
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(nViewAs, CFileDialogEx::VIEW_AUTO);
    EXPECT_EQ(nEncoding, 4);
    EXPECT_EQ(nEncodings, 5);
    EXPECT_FALSE(bEnabledHex);
    EXPECT_TRUE(bEnabledText);
    EXPECT_EQ(dlg.GetViewAs(), CFileDialogEx::VIEW_TEXT);
}

TEST(FileDialogText, ExtensionsFromPatternsAndLabels)
{
    struct Case {
        const char* in;
        const char* pattern;
        const char* label;
    } cases[] = {
        {"*.txt;*.log", "txt", "log"},
        {"Text files (*.txt)", "txt)", "txt"},
        {"*.*", "*", "*"},
        {"*", "", "*"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(CFileDialogEx::ExtensionFromPattern(c.in)), c.pattern) << c.in;
        EXPECT_EQ(std::string(CFileDialogEx::ExtensionFromLabel(c.in)), c.label) << c.in;
    }
    const char* filter = "Text files (*.txt;*.log)|*.txt;*.log|C++ (*.cpp)|*.cpp|All Files (*.*)|*.*||";
    EXPECT_EQ(std::string(CFileDialogEx::GetFilterPart(filter, 2, 1)), "*.cpp");
    EXPECT_EQ(std::string(CFileDialogEx::GetFilterPart(filter, 1, 0)), "Text files (*.txt;*.log)");
    EXPECT_EQ(std::string(CFileDialogEx::GetFilterPart(filter, 3, 1)), "*.*");
}

namespace {

std::string ItemText(HWND hDlg, int nID)
{
    return WindowText(GetDlgItem(hDlg, nID));
}

} // namespace

TEST(FileInfoDialog, AMissingFileShowsUnknownEverywhere)
{
    qmtest::TempDir temp;
    std::string path = temp.Path("missing.txt");
    CFileInfoDialog dlg(path.c_str());
    HWND hDlg = NULL;
    std::vector<std::string> texts;
    ModalScript script({
        [&] { return (hDlg = FindDialog("File Properties")) != NULL; },
        [&] {
            for (int nID : {IDC_INFO_NAME, IDC_INFO_FOLDER, IDC_INFO_SIZE, IDC_INFO_CREATED, IDC_INFO_MODIFIED,
                            IDC_INFO_ACCESSED, IDC_INFO_TYPE})
                texts.push_back(ItemText(hDlg, nID));
            Click(hDlg, IDOK);
            return true;
        },
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    ASSERT_EQ(texts.size(), 7u);
    for (const std::string& t : texts)
        EXPECT_EQ(t, "Unknown");
    EXPECT_FALSE(coretest::FileExists(path));
}

// The read-only box flips the flag on each click; OK writes the attribute.
TEST(FileInfoDialog, ReadOnlyClicksFlipTheAttribute)
{
    qmtest::TempDir temp;
    std::string path = temp.Path("info.txt");
    WriteBytes(path, "twelve bytes");
    for (int nClicks : {1, 2}) {
        CFileInfoDialog dlg(path.c_str());
        HWND hDlg = NULL;
        std::string size, name;
        std::vector<Step> steps = {[&] { return (hDlg = FindDialog("File Properties")) != NULL; },
                                   [&] {
                                       size = ItemText(hDlg, IDC_INFO_SIZE);
                                       name = ItemText(hDlg, IDC_INFO_NAME);
                                       return true;
                                   }};
        for (int i = 0; i < nClicks; i++)
            steps.push_back([&] {
                Click(hDlg, IDC_INFO_READONLY);
                return true;
            });
        steps.push_back([&] {
            Click(hDlg, IDOK);
            return true;
        });
        ModalScript script(steps);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(size, "12 (bytes)");
        EXPECT_EQ(name, "info.txt");
        BOOL bReadOnly = (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY) != 0;
        EXPECT_EQ(bReadOnly, nClicks == 1) << nClicks;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(FileInfoDialog, FileTimesUseEnglishMonthNames)
{
    SYSTEMTIME st = {2024, 3, 0, 5, 14, 7, 9, 0};
    FILETIME local, utc;
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    EXPECT_EQ(std::string(CFileInfoDialog::FormatFileTime(utc)), "05 March 2024, 14:07:09");
}

// The open dialog (Ctrl+O) starts with the focus in the file-name box: a
// name typed at once lands there, not in "View as".
TEST_F(FileDialogTest, OpenModeStartsWithTheFocusInTheFileName)
{
    CFileDialogEx dlg(TRUE, NULL, NULL, m_temp.Path().c_str());
    FileDialogWindows w;
    std::string typed, viewAs;
    ModalScript script({
        [&] {
            w = FindFileDialogWindows();
            return w.hExtra != NULL && IsWindowVisible(w.hDlg);
        },
        [&] {
            SetForegroundWindow(w.hDlg);
            qmtest::TypeText(L"typed.txt");
            return true;
        },
        [&] {
            // The keys arrive through the dialog's own loop.
            HWND hName = GetDlgItem(w.hDlg, cmb13) ? GetDlgItem(w.hDlg, cmb13) : GetDlgItem(w.hDlg, edt1);
            typed = WindowText(hName);
            viewAs = WindowText(GetDlgItem(w.hExtra, IDC_FILE_VIEW_AS));
            return typed == "typed.txt";
        },
        [&] {
            Click(w.hDlg, IDCANCEL);
            return true;
        },
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished()) << "the name box holds [" << typed << "]";
    EXPECT_EQ(typed, "typed.txt");
    EXPECT_EQ(viewAs, "Auto") << "the view-as list got no keys";
}
