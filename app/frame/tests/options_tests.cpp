// The options sheet "Document Properties" and the "Tidy Properties" sheet
// opened by the main frame's commands: a script drives each modal sheet
// from inside its loop (its pages, their controls, OK); the frame's
// settings, the registry, the files written and the open documents are read
// back afterwards.
#include "frametest.h"
#include "mainframefixture.h"
#include "dialogtest.h"

#include <qmtest/qmatedriver.h>

#include "apphelpers.h"
#include "backup.h"
#include "optionssheet.h"
#include "settingsstore.h"
#include "textdoc.h"
#include "textview.h"
#include "tidysheet.h"
#include "resource.h"

#include <qx/colorselector.h>

#include <commctrl.h>
#include <prsht.h>
#include <stdio.h>

#include <algorithm>
#include <functional>

using namespace frametest;
using namespace dlgtest;

namespace {

enum {
    PAGE_GENERAL,
    PAGE_FILTERS,
    PAGE_SYNTAX,
    PAGE_BACKUP,
    PAGE_MORE,
    PAGE_DICTIONARY
};

std::string FixturePath(const std::string& name)
{
    std::string path = std::string(QM_SOURCE_DIR) + "\\app\\frame\\tests\\fixtures\\" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

HWND CurrentPage(HWND hSheet)
{
    return (HWND)SendMessageA(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0);
}

// Shows page n and returns its window.
HWND ShowPage(HWND hSheet, int n)
{
    SendMessageA(hSheet, PSM_SETCURSEL, (WPARAM)n, 0);
    return CurrentPage(hSheet);
}

std::vector<std::string> TabTexts(HWND hSheet)
{
    std::vector<std::string> texts;
    HWND hTabs = (HWND)SendMessageA(hSheet, PSM_GETTABCONTROL, 0, 0);
    int n = (int)SendMessageA(hTabs, TCM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        char text[128] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        SendMessageA(hTabs, TCM_GETITEMA, (WPARAM)i, (LPARAM)&item);
        texts.push_back(text);
    }
    return texts;
}

std::string ItemText(HWND hPage, int nID)
{
    return WindowText(GetDlgItem(hPage, nID));
}

// Types a whole text into an edit (the page sees EN_CHANGE).
void SetItemText(HWND hPage, int nID, const char* text)
{
    SetWindowTextA(GetDlgItem(hPage, nID), text);
}

// A combo selection as the user makes it.
void ChooseCombo(HWND hPage, int nID, int nIndex)
{
    HWND hCombo = GetDlgItem(hPage, nID);
    SendMessageA(hCombo, CB_SETCURSEL, (WPARAM)nIndex, 0);
    SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(nID, CBN_SELCHANGE), (LPARAM)hCombo);
}

// A check box or radio button clicked as the user does (state, then the
// notification).
void ClickButton(HWND hPage, int nID)
{
    SendMessageA(GetDlgItem(hPage, nID), BM_CLICK, 0, 0);
}

// A colour chosen in a picker: the picker takes it and tells its page.
void ChooseColour(HWND hPage, int nID, COLORREF clr)
{
    HWND hPicker = GetDlgItem(hPage, nID);
    CQXColorPicker* pPicker = dynamic_cast<CQXColorPicker*>(CWnd::FromHandlePermanent(hPicker));
    ASSERT_NE(nullptr, pPicker) << "control " << nID << " is no colour picker";
    pPicker->SetColor(clr);
    SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(nID, CPN_SELCHANGE), (LPARAM)hPicker);
}

class OptionsTest : public MainFrameTest {
protected:
    // Runs a command that opens a modal sheet with this caption; each step
    // gets the sheet's window. The last step should press OK or Cancel.
    bool RunSheet(UINT nCommand, const char* caption, std::vector<std::function<bool(HWND)>> steps,
                  DWORD dwTimeout = 15000)
    {
        std::vector<Step> script;
        auto hSheet = std::make_shared<HWND>((HWND)NULL);
        script.push_back([hSheet, caption] { return (*hSheet = FindDialog(caption)) != NULL; });
        for (auto& step : steps)
            script.push_back([hSheet, step] { return step(*hSheet); });
        ModalScript run(script, dwTimeout);
        SendMessageA(hFrame, WM_COMMAND, MAKEWPARAM(nCommand, 0), 0);
        Pump();
        return run.Finished();
    }

    static bool Ok(HWND hSheet)
    {
        SendMessageA(hSheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        return true;
    }

    CDoodleDoc* OpenText(const std::string& path)
    {
        App().SetOpenOptions(OPEN_FORMAT_DETECT, 4, 0, 0);
        return dynamic_cast<CDoodleDoc*>(App().OpenFile(path.c_str()));
    }

    std::string ConfigFolder() const { return std::string((LPCSTR)GetAppDataFolder()) + "\\Config"; }
    std::string TidyFile(const char* name) const
    {
        return std::string((LPCSTR)GetAppDataFolder()) + "\\Tidy\\" + name;
    }

    // The per-user Config folder holds exactly the named fixture files.
    void UseLanguages(std::initializer_list<const char*> names)
    {
        std::string folder = ConfigFolder();
        CreateFolder(folder.c_str());
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((folder + "\\*.config").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do
                DeleteFileA((folder + "\\" + fd.cFileName).c_str());
            while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        for (const char* name : names)
            ASSERT_TRUE(CopyFileA(FixturePath(std::string("syntax\\") + name).c_str(), (folder + "\\" + name).c_str(),
                                  FALSE));
        frame->ReloadLanguages();
    }
};

// ---------------------------------------------------------------------------

TEST_F(OptionsTest, SixPagesInOrderAndTheNumbersTheyKeep)
{
    Create();
    qmtest::TempDir folder;
    CDoodleDoc* pDoc = OpenText(folder.WriteFile("open.txt", "\tx\r\n"));
    ASSERT_NE(nullptr, pDoc);
    frame->GetSettings()->nTabWidth = 4;
    frame->GetSettings()->nTheme = 721;
    std::vector<std::string> tabs;
    std::vector<std::string> tabTexts, versionTexts;
    int nThemeSel = -1;
    ASSERT_TRUE(RunSheet(ID_TOOLS_EDITOR_PROPERTIES, "Document Properties",
                         {[&](HWND hSheet) {
                              tabs = TabTexts(hSheet);
                              HWND hPage = ShowPage(hSheet, PAGE_GENERAL);
                              EXPECT_EQ(ItemText(hPage, IDC_GENERAL_TAB_WIDTH), "4");
                              SetItemText(hPage, IDC_GENERAL_TAB_WIDTH, "0");
                              tabTexts.push_back(ItemText(hPage, IDC_GENERAL_TAB_WIDTH));
                              SetItemText(hPage, IDC_GENERAL_TAB_WIDTH, "123");
                              tabTexts.push_back(ItemText(hPage, IDC_GENERAL_TAB_WIDTH));
                              SetItemText(hPage, IDC_GENERAL_TAB_WIDTH, "1234");
                              tabTexts.push_back(ItemText(hPage, IDC_GENERAL_TAB_WIDTH));
                              SetItemText(hPage, IDC_GENERAL_TAB_WIDTH, "6");
                              hPage = ShowPage(hSheet, PAGE_BACKUP);
                              SetItemText(hPage, IDC_BACKUP_VERSIONS, "42");
                              versionTexts.push_back(ItemText(hPage, IDC_BACKUP_VERSIONS));
                              SetItemText(hPage, IDC_BACKUP_VERSIONS, "421");
                              versionTexts.push_back(ItemText(hPage, IDC_BACKUP_VERSIONS));
                              hPage = ShowPage(hSheet, PAGE_MORE);
                              nThemeSel = (int)SendDlgItemMessageA(hPage, IDC_MORE_THEME, CB_GETCURSEL, 0, 0);
                              ChooseCombo(hPage, IDC_MORE_THEME, 4);
                              return true;
                          },
                          Ok}));
    EXPECT_EQ(tabs, (std::vector<std::string>{"General Settings", "File Dialog Filters", "Syntax Coloring",
                                              "Backup Manager", "General Settings More", "Spell Checker"}));
    EXPECT_EQ(tabTexts, (std::vector<std::string>{"1", "123", "123"}));
    EXPECT_EQ(versionTexts, (std::vector<std::string>{"42", "42"}));
    EXPECT_EQ(nThemeSel, 1);
    EXPECT_EQ(frame->GetSettings()->nTabWidth, 6);
    EXPECT_EQ(frame->GetEditorSettings()->nBackupVersions, 42);
    EXPECT_EQ(frame->GetSettings()->nTheme, 724);
    // The open document follows.
    EXPECT_EQ(pDoc->GetEditor()->Call(SCI_GETTABWIDTH), 6);
    // And the settings survive the frame (they are written at close).
    CloseFrame();
    DWORD value = 0;
    ASSERT_TRUE(GetDword("ViewSettings", "TabWidth", &value));
    EXPECT_EQ(value, 6u);
    ASSERT_TRUE(GetDword("ViewSettings", "Theme", &value));
    EXPECT_EQ(value, 724u);
}

TEST_F(OptionsTest, OkWithoutChangesKeepsTheTheme)
{
    Create();
    frame->GetSettings()->nTheme = 723;
    ASSERT_TRUE(RunSheet(ID_TOOLS_EDITOR_PROPERTIES, "Document Properties",
                         {[](HWND hSheet) {
                              ShowPage(hSheet, PAGE_MORE);
                              return true;
                          },
                          Ok}));
    EXPECT_EQ(frame->GetSettings()->nTheme, 723);
}

// The icon size follows the checked radio button: a click on the button
// already checked changes nothing.
TEST_F(OptionsTest, IconSizeFollowsTheCheckedButton)
{
    Create();
    frame->GetSettings()->nLargeIcons = 1;
    ASSERT_TRUE(RunSheet(ID_TOOLS_EDITOR_PROPERTIES, "Document Properties",
                         {[](HWND hSheet) {
                              HWND hPage = ShowPage(hSheet, PAGE_MORE);
                              ClickButton(hPage, IDC_MORE_LARGE_ICONS);
                              return true;
                          },
                          Ok}));
    EXPECT_EQ(frame->GetSettings()->nLargeIcons, 1);
    ASSERT_TRUE(RunSheet(ID_TOOLS_EDITOR_PROPERTIES, "Document Properties",
                         {[](HWND hSheet) {
                              HWND hPage = ShowPage(hSheet, PAGE_MORE);
                              ClickButton(hPage, IDC_MORE_SMALL_ICONS);
                              ClickButton(hPage, IDC_MORE_SMALL_ICONS);
                              return true;
                          },
                          Ok}));
    EXPECT_EQ(frame->GetSettings()->nLargeIcons, 0);
    EXPECT_FALSE(frame->GetCommandBars()->IsLargeIcons());
}

TEST_F(OptionsTest, FiltersAreWrittenAtOnceAndDeletedTogether)
{
    Create();
    SetString("FileFilter", "*.old", "Old files");
    qmtest::MessageBoxRecorder boxes;
    std::vector<std::pair<std::string, std::string>> afterAdd;
    int nRowsAfterAdd = 0, nRowsAfterDelete = -1;
    ASSERT_TRUE(RunSheet(ID_TOOLS_EDITOR_PROPERTIES, "Document Properties",
                         {[&](HWND hSheet) {
                              HWND hPage = ShowPage(hSheet, PAGE_FILTERS);
                              SetItemText(hPage, IDC_FILTER_LABEL, "QM files");
                              SetItemText(hPage, IDC_FILTER_EXTENSION, "*.qmx");
                              SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_FILTER_ADD, BN_CLICKED), 0);
                              // A "|" would shift every later filter of the dialogs.
                              SetItemText(hPage, IDC_FILTER_LABEL, "Bad|label");
                              SetItemText(hPage, IDC_FILTER_EXTENSION, "*.bad");
                              SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_FILTER_ADD, BN_CLICKED), 0);
                              afterAdd = StringValues("FileFilter");
                              HWND hList = GetDlgItem(hPage, IDC_FILTER_LIST);
                              nRowsAfterAdd = ListView_GetItemCount(hList);
                              // Nothing selected: a hint.
                              SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_FILTER_DELETE, BN_CLICKED), 0);
                              ListView_SetItemState(hList, 0, LVIS_SELECTED, LVIS_SELECTED);
                              ListView_SetItemState(hList, 1, LVIS_SELECTED, LVIS_SELECTED);
                              SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_FILTER_DELETE, BN_CLICKED), 0);
                              nRowsAfterDelete = ListView_GetItemCount(hList);
                              return true;
                          },
                          [](HWND hSheet) {
                              SendMessageA(hSheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                              return true;
                          }}));
    std::sort(afterAdd.begin(), afterAdd.end());
    EXPECT_EQ(afterAdd, (std::vector<std::pair<std::string, std::string>>{{"*.old", "Old files"},
                                                                          {"*.qmx", "QM files"}}));
    EXPECT_EQ(nRowsAfterAdd, 2);
    EXPECT_EQ(nRowsAfterDelete, 0);
    EXPECT_TRUE(StringValues("FileFilter").empty()) << "both rows' values are gone, even after Cancel";
    ASSERT_EQ(boxes.Texts().size(), 2u);
    EXPECT_NE(boxes.Texts()[0].find("|"), std::string::npos) << boxes.Texts()[0];
    EXPECT_EQ(boxes.Texts()[1], "Please select one or more filters before pressing Delete.");
}

// Turning backups off deletes the map and the numbered folders under the
// root the copies were made in; a folder typed in the same Apply keeps its
// own numbered folders.
TEST_F(OptionsTest, BackupsOffDeletesOnlyUnderTheOldRoot)
{
    qmtest::TempDir oldRoot, newRoot;
    for (const qmtest::TempDir* root : {&oldRoot, &newRoot}) {
        CreateFolder((root->Path() + "\\1").c_str());
        root->WriteFile("1\\1", "copy");
    }
    SetString("BackupFolders", "C:\\doc.txt", "1");
    SetString("BackupFolders", "1", "2");
    SetDword("BackupSettings", "NextFolderId", 2);
    SetString("BackupSettings", "BackupFolder", oldRoot.Path());
    Create();
    ASSERT_TRUE(RunSheet(ID_TOOLS_EDITOR_PROPERTIES, "Document Properties",
                         {[&](HWND hSheet) {
                              HWND hPage = ShowPage(hSheet, PAGE_BACKUP);
                              EXPECT_EQ(ItemText(hPage, IDC_BACKUP_FOLDER), oldRoot.Path());
                              SetItemText(hPage, IDC_BACKUP_FOLDER, newRoot.Path().c_str());
                              ClickButton(hPage, IDC_BACKUP_ENABLE);
                              EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hPage, IDC_BACKUP_FOLDER)));
                              return true;
                          },
                          Ok}));
    EXPECT_EQ(frame->GetEditorSettings()->nBackupEnabled, 0);
    EXPECT_FALSE(SectionExists("BackupFolders"));
    EXPECT_FALSE(Exists(oldRoot.Path() + "\\1\\1"));
    EXPECT_TRUE(Exists(newRoot.Path() + "\\1\\1"));
}

TEST_F(OptionsTest, DictionaryPageListsTheFolder)
{
    Create();
    std::string dictionaries = QM_BIN_DIR "\\aspell";
    std::replace(dictionaries.begin(), dictionaries.end(), '/', '\\');
    struct Case {
        const char* stored;
        const char* selected;
    } cases[] = {{"", "en"}, {"en_GB", "en_GB"}, {"xx_no_such", "en"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        frame->GetEditorSettings()->strDictionaryPath = dictionaries.c_str();
        frame->GetEditorSettings()->strDictionary = c.stored;
        std::string selected;
        BOOL bEnabled = FALSE;
        int nCount = 0;
        ASSERT_TRUE(RunSheet(ID_TOOLS_EDITOR_PROPERTIES, "Document Properties",
                             {[&](HWND hSheet) {
                                  HWND hPage = ShowPage(hSheet, PAGE_DICTIONARY);
                                  HWND hCombo = GetDlgItem(hPage, IDC_DICT_NAME);
                                  nCount = (int)SendMessageA(hCombo, CB_GETCOUNT, 0, 0);
                                  selected = WindowText(hCombo);
                                  bEnabled = IsWindowEnabled(hCombo);
                                  return true;
                              },
                              Ok}));
        EXPECT_GE(nCount, 3);
        EXPECT_TRUE(bEnabled);
        EXPECT_EQ(selected, c.selected);
        EXPECT_EQ(std::string(frame->GetEditorSettings()->strDictionary), c.stored) << "nothing was chosen";
    }
    // A folder without dictionaries leaves the list empty and disabled.
    frame->GetEditorSettings()->strDictionaryPath = "C:\\no\\such\\aspell";
    int nCount = -1;
    BOOL bEnabled = TRUE;
    ASSERT_TRUE(RunSheet(ID_TOOLS_EDITOR_PROPERTIES, "Document Properties",
                         {[&](HWND hSheet) {
                              HWND hPage = ShowPage(hSheet, PAGE_DICTIONARY);
                              nCount = (int)SendDlgItemMessageA(hPage, IDC_DICT_NAME, CB_GETCOUNT, 0, 0);
                              bEnabled = IsWindowEnabled(GetDlgItem(hPage, IDC_DICT_NAME));
                              return true;
                          },
                          Ok}));
    EXPECT_EQ(nCount, 0);
    EXPECT_FALSE(bEnabled);
}

// ---------------------------------------------------------------------------
// Syntax Coloring.

TEST_F(OptionsTest, SyntaxPageWithoutLanguagesIsDisabled)
{
    Create();
    UseLanguages({});
    std::vector<int> enabled;
    ASSERT_TRUE(RunSheet(ID_TOOLS_EDITOR_PROPERTIES, "Document Properties",
                         {[&](HWND hSheet) {
                              HWND hPage = ShowPage(hSheet, PAGE_SYNTAX);
                              for (int nID : {IDC_SYNTAX_TYPE, IDC_SYNTAX_STYLES, IDC_SYNTAX_FORE, IDC_SYNTAX_BACK,
                                              IDC_SYNTAX_DEFAULT, IDC_SYNTAX_TYPE_LABEL, IDC_SYNTAX_SAMPLE})
                                  enabled.push_back(IsWindowEnabled(GetDlgItem(hPage, nID)) ? 1 : 0);
                              return true;
                          },
                          Ok}));
    EXPECT_EQ(enabled, std::vector<int>(7, 0));
}

TEST_F(OptionsTest, SyntaxDefaultMovesAndIsWrittenToTheFilesConcerned)
{
    Create();
    UseLanguages({"alpha.config", "beta.config"});
    std::string alpha = ConfigFolder() + "\\alpha.config", beta = ConfigFolder() + "\\beta.config";
    // Beta becomes the default: Alpha is written "N", Beta "Y".
    ASSERT_TRUE(RunSheet(ID_TOOLS_EDITOR_PROPERTIES, "Document Properties",
                         {[&](HWND hSheet) {
                              HWND hPage = ShowPage(hSheet, PAGE_SYNTAX);
                              EXPECT_EQ(IsDlgButtonChecked(hPage, IDC_SYNTAX_DEFAULT), (UINT)BST_CHECKED);
                              ChooseCombo(hPage, IDC_SYNTAX_TYPE, 1);
                              EXPECT_EQ(IsDlgButtonChecked(hPage, IDC_SYNTAX_DEFAULT), (UINT)BST_UNCHECKED);
                              ClickButton(hPage, IDC_SYNTAX_DEFAULT);
                              return true;
                          },
                          Ok}));
    EXPECT_NE(qmtest::ReadWholeFile(alpha).find("<DEFAULT>N</DEFAULT>"), std::string::npos) << qmtest::ReadWholeFile(alpha);
    EXPECT_NE(qmtest::ReadWholeFile(beta).find("<DEFAULT>Y</DEFAULT>"), std::string::npos) << qmtest::ReadWholeFile(beta);
    EXPECT_EQ(frame->GetLexerConfigs()->FindDefaultIndex(), 1) << "the frame reloaded its languages";

    // Unchecking the default language writes "N" to its file only.
    std::string alphaBefore = qmtest::ReadWholeFile(alpha);
    ASSERT_TRUE(RunSheet(ID_TOOLS_EDITOR_PROPERTIES, "Document Properties",
                         {[&](HWND hSheet) {
                              HWND hPage = ShowPage(hSheet, PAGE_SYNTAX);
                              ChooseCombo(hPage, IDC_SYNTAX_TYPE, 1);
                              ClickButton(hPage, IDC_SYNTAX_DEFAULT);
                              return true;
                          },
                          Ok}));
    EXPECT_EQ(qmtest::ReadWholeFile(alpha), alphaBefore);
    EXPECT_NE(qmtest::ReadWholeFile(beta).find("<DEFAULT>N</DEFAULT>"), std::string::npos) << qmtest::ReadWholeFile(beta);
}

TEST_F(OptionsTest, SyntaxColourReachesTheFileAndTheOpenDocument)
{
    Create();
    UseLanguages({"alpha.config", "beta.config"});
    qmtest::TempDir folder;
    CDoodleDoc* pDoc = OpenText(folder.WriteFile("x.alpha", "int x;\r\n"));
    ASSERT_NE(nullptr, pDoc);
    std::string alpha = ConfigFolder() + "\\alpha.config";
    COLORREF sampleFore = 0;
    ASSERT_TRUE(RunSheet(ID_TOOLS_EDITOR_PROPERTIES, "Document Properties",
                         {[&](HWND hSheet) {
                              HWND hPage = ShowPage(hSheet, PAGE_SYNTAX);
                              EXPECT_EQ(ItemText(hPage, IDC_SYNTAX_TYPE), "Alpha");
                              SelectLine(hPage, IDC_SYNTAX_STYLES, 1);
                              return true;
                          },
                          [&](HWND hSheet) {
                              HWND hPage = CurrentPage(hSheet);
                              ChooseColour(hPage, IDC_SYNTAX_FORE, RGB(0x11, 0x22, 0x33));
                              ChooseColour(hPage, IDC_SYNTAX_FORE, RGB(0xAB, 0xCD, 0xEF));
                              CWnd* pSample = CWnd::FromHandlePermanent(GetDlgItem(hPage, IDC_SYNTAX_SAMPLE));
                              CSampleWnd* pSampleWnd = dynamic_cast<CSampleWnd*>(pSample);
                              EXPECT_NE(nullptr, pSampleWnd);
                              if (pSampleWnd != nullptr)
                                  sampleFore = pSampleWnd->GetFore();
                              return true;
                          },
                          Ok}));
    EXPECT_EQ(sampleFore, RGB(0xAB, 0xCD, 0xEF));
    std::string text = qmtest::ReadWholeFile(alpha);
    EXPECT_NE(text.find("#ABCDEF"), std::string::npos) << text;
    EXPECT_EQ(text.find("#112233"), std::string::npos) << text;
    EXPECT_EQ((COLORREF)pDoc->GetEditor()->Call(SCI_STYLEGETFORE, 5), RGB(0xAB, 0xCD, 0xEF));
}

// A language file that cannot be written: the page says so and the sheet
// stays open with the edit; the file is as it was.
TEST_F(OptionsTest, SyntaxColourThatCannotBeSavedIsReported)
{
    Create();
    UseLanguages({"alpha.config"});
    std::string alpha = ConfigFolder() + "\\alpha.config";
    std::string before = qmtest::ReadWholeFile(alpha);
    ASSERT_TRUE(SetFileAttributesA(alpha.c_str(), FILE_ATTRIBUTE_READONLY));
    qmtest::MessageBoxRecorder boxes;
    bool bStillOpen = false;
    ASSERT_TRUE(RunSheet(ID_TOOLS_EDITOR_PROPERTIES, "Document Properties",
                         {[&](HWND hSheet) {
                              HWND hPage = ShowPage(hSheet, PAGE_SYNTAX);
                              ChooseColour(hPage, IDC_SYNTAX_BACK, RGB(1, 2, 3));
                              SendMessageA(hSheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
                              return true;
                          },
                          [&](HWND hSheet) {
                              bStillOpen = IsWindow(hSheet) && IsWindowVisible(hSheet);
                              SendMessageA(hSheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                              return true;
                          }}));
    SetFileAttributesA(alpha.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(bStillOpen);
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_NE(boxes.Texts()[0].find("alpha.config"), std::string::npos) << boxes.Texts()[0];
    EXPECT_EQ(qmtest::ReadWholeFile(alpha), before);
}

// ---------------------------------------------------------------------------
// Tidy Properties.

struct GridRow {
    std::string caption;
    int id;
    bool category;
};

std::vector<GridRow> GridRows(HWND hPage)
{
    std::vector<GridRow> rows;
    CPageTidy* pPage = dynamic_cast<CPageTidy*>(CWnd::FromHandlePermanent(hPage));
    if (pPage == nullptr)
        return rows;
    PropertyGridItems* pCategories = pPage->GetGrid().GetCategories();
    for (int c = 0; c < pCategories->GetCount(); ++c) {
        CQXPPropertyGridItem* pCategory = pCategories->GetAt(c);
        rows.push_back({(LPCSTR)pCategory->GetCaption(), pCategory->GetID(), true});
        for (int i = 0; i < pCategory->GetChilds()->GetCount(); ++i) {
            CQXPPropertyGridItem* pItem = pCategory->GetChilds()->GetAt(i);
            rows.push_back({(LPCSTR)pItem->GetCaption(), pItem->GetID(), false});
        }
    }
    return rows;
}

CQXPPropertyGridItem* GridItem(HWND hPage, const char* caption)
{
    CPageTidy* pPage = dynamic_cast<CPageTidy*>(CWnd::FromHandlePermanent(hPage));
    if (pPage == nullptr)
        return nullptr;
    PropertyGridItems* pCategories = pPage->GetGrid().GetCategories();
    for (int c = 0; c < pCategories->GetCount(); ++c)
        for (int i = 0; i < pCategories->GetAt(c)->GetChilds()->GetCount(); ++i) {
            CQXPPropertyGridItem* pItem = pCategories->GetAt(c)->GetChilds()->GetAt(i);
            if (pItem->GetCaption() == caption)
                return pItem;
        }
    return nullptr;
}

TEST_F(OptionsTest, TidyPagesWriteOnlyTheFilesOfPagesShown)
{
    Create();
    // The shipped files, as start-up copies them into the per-user folder.
    std::string shipped = std::string(QM_SOURCE_DIR) + "\\resources\\tidy";
    std::replace(shipped.begin(), shipped.end(), '/', '\\');
    std::string folder = std::string((LPCSTR)GetAppDataFolder()) + "\\Tidy";
    CreateFolder(folder.c_str());
    for (const char* name : {"html_clean.tidy", "xhtml_clean.tidy", "xml_pretty_print.tidy"}) {
        DeleteFileA(TidyFile(name).c_str());
        ASSERT_TRUE(CopyFileA((shipped + "\\" + name).c_str(), TidyFile(name).c_str(), FALSE)) << name;
    }
    std::string xhtmlBefore = qmtest::ReadWholeFile(TidyFile("xhtml_clean.tidy"));
    std::string xmlBefore = qmtest::ReadWholeFile(TidyFile("xml_pretty_print.tidy"));
    std::vector<std::string> tabs;
    std::vector<GridRow> rows;
    ASSERT_TRUE(RunSheet(ID_TOOLS_TIDY_PROPERTIES, "Tidy Properties",
                         {[&](HWND hSheet) {
                              tabs = TabTexts(hSheet);
                              rows = GridRows(CurrentPage(hSheet));
                              return true;
                          },
                          Ok}));
    // "&&" is how the tab strip shows "HTML Clean & Repair".
    EXPECT_EQ(tabs, (std::vector<std::string>{"HTML Clean && Repair", "XHTML Clean && Repair", "XML Pretty Print"}));
    std::string html = qmtest::ReadWholeFile(TidyFile("html_clean.tidy"));
    EXPECT_EQ(html.find("//"), std::string::npos) << "written by the page, not the shipped text: " << html;
    EXPECT_NE(html.find("indent: auto"), std::string::npos) << html;
    EXPECT_NE(html.find("tidy-mark: no"), std::string::npos) << html;
    EXPECT_EQ(qmtest::ReadWholeFile(TidyFile("xhtml_clean.tidy")), xhtmlBefore);
    EXPECT_EQ(qmtest::ReadWholeFile(TidyFile("xml_pretty_print.tidy")), xmlBefore);

    // Pretty Print first, then Markup, Diagnostics, Encoding and
    // Miscellaneous, each sorted by caption; doctype-mode is never listed.
    std::vector<std::string> categories;
    std::vector<std::string> names;
    bool bSorted = true;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].category) {
            categories.push_back(rows[i].caption);
            EXPECT_EQ(rows[i].id, CPageTidy::CATEGORY_ITEM_ID);
            continue;
        }
        names.push_back(rows[i].caption);
        if (i > 0 && !rows[i - 1].category && rows[i - 1].caption > rows[i].caption)
            bSorted = false;
    }
    EXPECT_EQ(categories,
              (std::vector<std::string>{"Pretty Print", "Markup", "Diagnostics", "Encoding", "Miscellaneous"}));
    EXPECT_TRUE(bSorted);
    EXPECT_NE(std::find(names.begin(), names.end(), "doctype"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "doctype-mode"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "indent"), names.end());
}

TEST_F(OptionsTest, XmlTidyPageWritesItsFile)
{
    Create();
    std::string xml = TidyFile("xml_pretty_print.tidy");
    CreateFolder((std::string((LPCSTR)GetAppDataFolder()) + "\\Tidy").c_str());
    FILE* f = fopen(xml.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    fputs("doctype: strict\nindent: no\n", f);
    fclose(f);
    std::string doctypeShown;
    ASSERT_TRUE(RunSheet(ID_TOOLS_XML_TIDY_PROPERTIES, "Tidy Properties",
                         {[&](HWND hSheet) {
                              HWND hPage = CurrentPage(hSheet);
                              CQXPPropertyGridItem* pDoctype = GridItem(hPage, "doctype");
                              CQXPPropertyGridItem* pIndent = GridItem(hPage, "indent-spaces");
                              EXPECT_NE(nullptr, pDoctype);
                              EXPECT_NE(nullptr, pIndent);
                              if (pDoctype == nullptr || pIndent == nullptr)
                                  return true;
                              doctypeShown = (LPCSTR)pDoctype->GetValue();
                              pDoctype->OnValueChanged("transitional");
                              pIndent->OnValueChanged("7");
                              return true;
                          },
                          Ok}));
    EXPECT_EQ(doctypeShown, "strict");
    std::string text = qmtest::ReadWholeFile(xml);
    EXPECT_NE(text.find("indent-spaces: 7"), std::string::npos) << text;
    EXPECT_NE(text.find("doctype: transitional"), std::string::npos) << text;
    EXPECT_EQ(text.find("doctype-mode"), std::string::npos) << text;
}

} // namespace
