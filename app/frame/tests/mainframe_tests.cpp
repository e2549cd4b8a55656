// The main frame as the program builds it: real windows, real messages, the
// profile read back from the registry.
#include "frametest.h"
#include "customizetools.h"
#include "mainframefixture.h"
#include "dialogtest.h"
#include "functionlist.h"
#include "mainframe.h"
#include "projtree.h"
#include "textdoc.h"
#include "textview.h"
#include "tooloutput.h"
#include "toolscontrol.h"
#include "apphelpers.h"
#include "textdoc.h"

#include <qx/barcontrols.h>
#include "resource.h"

#include <qx/drawing.h>
#include <qx/images.h>
#include <qx/paintmanager.h>
#include <qx/themes.h>

#include <dlgs.h>

#include <algorithm>

using namespace frametest;

namespace {

const int kAllPanes[] = {PANE_PROJECT_EXPLORER, PANE_FILE_EXPLORER, PANE_LIST_EXPLORER, PANE_TEMPLATE_EXPLORER,
                         PANE_FUNCTION_LIST, PANE_TOOL_WINDOW, PANE_FIND_IN_FILES};


TEST_F(MainFrameTest, StartsWithBarsPanesAndTheHandOverClass)
{
    Create();
    char szClass[64] = "";
    GetClassNameA(hFrame, szClass, sizeof(szClass));
    EXPECT_STREQ("FernbrightMainFrame", szClass);
    EXPECT_TRUE(IsWindowVisible(hFrame));
    ASSERT_NE(nullptr, frame->GetCommandBars());
    EXPECT_NE(nullptr, frame->GetCommandBars()->GetMenuBar());
    EXPECT_GE(frame->GetCommandBars()->GetCount(), 1);
    CQXPStatusBar* pStatus = frame->GetStatusBar();
    EXPECT_TRUE(IsWindowVisible(pStatus->GetSafeHwnd()));
    ASSERT_EQ(7, pStatus->GetPaneCount());
    EXPECT_EQ((UINT)ID_INDICATOR_PROGRESS, pStatus->GetItemID(6));
    EXPECT_EQ(150, pStatus->GetPaneWidth(6));
    // The progress control sits in its pane.
    CQXPStatusBarPane* pProgress = pStatus->FindPane(ID_INDICATOR_PROGRESS);
    ASSERT_NE(nullptr, pProgress);
    ASSERT_NE((HWND)NULL, pProgress->GetChildHwnd());
    char szProgress[64] = "";
    GetClassNameA(pProgress->GetChildHwnd(), szProgress, sizeof(szProgress));
    EXPECT_STREQ(PROGRESS_CLASSA, szProgress);
    // With no stored layout every pane exists.
    for (int nID : kAllPanes) {
        EXPECT_NE(nullptr, frame->GetPaneManager()->FindPane(nID)) << nID;
        EXPECT_TRUE(frame->IsPanePresent(nID)) << nID;
    }
    EXPECT_EQ(721, frame->GetSettings()->nTheme);
    EXPECT_EQ(qxpThemeWindowsXP, GetGlobalPaintManager()->GetCurrentTheme());
    // The program's path is where the Explorer extension starts it from.
    EXPECT_TRUE(GetEditorFrame() == frame);
}

TEST_F(MainFrameTest, NewOpenEditSaveAndCloseATextFile)
{
    qmtest::TempDir folder;
    std::string path = folder.WriteFile("notes.txt", "first line\r\nsecond line\r\n");
    Create();
    Command(ID_FILE_NEW);
    EXPECT_EQ(1, ChildCount());

    App().SetOpenOptions(OPEN_FORMAT_DETECT, 4, 0, 0);
    CDocument* pDoc = App().OpenFile(path.c_str());
    ASSERT_NE(nullptr, pDoc);
    Pump();
    EXPECT_EQ(2, ChildCount());
    // Opening it again activates its window and hands back its document
    // instead of a second copy (no document was taken for a failed open).
    App().SetOpenOptions(OPEN_FORMAT_DETECT, 4, 0, 0);
    EXPECT_EQ(pDoc, App().OpenFile(path.c_str()));
    EXPECT_EQ(2, ChildCount());

    pDoc->SetModifiedFlag(TRUE);
    ASSERT_TRUE(pDoc->DoFileSave());
    EXPECT_FALSE(pDoc->IsModified());
    std::vector<std::string> paths = OpenPaths();
    EXPECT_NE(paths.end(), std::find_if(paths.begin(), paths.end(), [&](const std::string& p) {
                  return _stricmp(p.c_str(), path.c_str()) == 0;
              }));
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    char buf[256] = "";
    DWORD n = 0;
    ReadFile(h, buf, sizeof(buf) - 1, &n, NULL);
    CloseHandle(h);
    EXPECT_EQ("first line\r\nsecond line\r\n", std::string(buf, n));
}

// A regular expression that would backtrack for hours on a long line is
// given up, and each of Find, Mark All, Replace and Replace All says so
// instead of "not found" or "0 replaced"; the text stays as it was.
TEST_F(MainFrameTest, SearchesGivenUpOnTheirPatternSaySo)
{
    qmtest::TempDir folder;
    const std::string text = "first\r\n" + std::string(65000, 'a') + "\r\nlast\r\n";
    std::string path = folder.WriteFile("long.txt", text);
    Create();
    App().SetOpenOptions(OPEN_FORMAT_DETECT, 4, 0, 0);
    ASSERT_NE(nullptr, App().OpenFile(path.c_str()));
    Pump();
    qmtest::MessageBoxRecorder boxes(IDOK);
    const char* hard = ".*.*b$";
    EXPECT_FALSE(frame->FindInActiveDocument(hard, TRUE, FALSE, TRUE, FALSE, TRUE));
    EXPECT_FALSE(frame->MarkAllInActiveDocument(hard, TRUE, FALSE, TRUE));
    EXPECT_EQ(-1, frame->ReplaceInActiveDocument(hard, "x", TRUE, FALSE, TRUE, FALSE, FALSE, -1));
    frame->ReplaceInActiveDocument(hard, "x", TRUE, FALSE, TRUE, FALSE, TRUE, -1);
    ASSERT_EQ(4u, boxes.Texts().size());
    for (const std::string& shown : boxes.Texts())
        EXPECT_NE(std::string::npos, shown.find("pattern too complex")) << shown;
    EXPECT_EQ(0u, boxes.Texts()[3].find("0 occurrence(s) replaced."));
    // A search that merely finds nothing still says that.
    EXPECT_FALSE(frame->FindInActiveDocument("zz+y", TRUE, FALSE, TRUE, FALSE, TRUE));
    ASSERT_EQ(5u, boxes.Texts().size());
    EXPECT_EQ("The search text was not found", boxes.Texts()[4]);
    CDoodleView* pView = frame->GetActiveTextView();
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(text.size(), (size_t)pView->GetAllText().GetLength());
    EXPECT_EQ(text, std::string(pView->GetAllText().GetString()));
}

// The Function List follows the active text view: a new document is
// scanned, Refresh Function List (6011) scans it again, and with the pane
// closed there is no list to refresh.
TEST_F(MainFrameTest, TheFunctionListScansTheActiveTextView)
{
    Create();
    Command(ID_FILE_NEW);
    CDoodleView* pView = frame->GetActiveTextView();
    ASSERT_NE(nullptr, pView);
    CFunctionList* pList = frame->GetFunctionList();
    ASSERT_NE(nullptr, pList);
    pView->GetEditor().AddText("int main(void)\n{\n}\n");
    DWORD dwStart = GetTickCount();
    while (pList->GetScanCount() == 0 && GetTickCount() - dwStart < 10000)
        Pump();
    int nScans = pList->GetScanCount();
    ASSERT_GT(nScans, 0);
    EXPECT_EQ(1, pList->GetCount());
    Command(ID_VIEW_REFRESH_FUNCTION_LIST);
    dwStart = GetTickCount();
    while (pList->GetScanCount() == nScans && GetTickCount() - dwStart < 10000)
        Pump();
    EXPECT_EQ(nScans + 1, pList->GetScanCount());

    Command(ID_VIEW_FUNCTION_LIST);
    EXPECT_EQ(nullptr, frame->GetFunctionList());
    Command(ID_VIEW_REFRESH_FUNCTION_LIST);
    Command(ID_VIEW_FUNCTION_LIST);
    ASSERT_NE(nullptr, frame->GetFunctionList());
}

namespace {
// The messages the status bar's progress control receives.
struct ProgressLog {
    WNDPROC pfnOld = NULL;
    std::vector<std::pair<UINT, std::pair<WPARAM, LPARAM>>> messages;
};
ProgressLog* g_pProgressLog = NULL;

LRESULT CALLBACK RecordProgress(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == PBM_SETRANGE32 || nMsg == PBM_SETPOS)
        g_pProgressLog->messages.push_back({nMsg, {wParam, lParam}});
    return CallWindowProcA(g_pProgressLog->pfnOld, hWnd, nMsg, wParam, lParam);
}
} // namespace

// Opening a file drives the progress bar in status pane 131: its range is
// the file's size, its position the bytes read; at the end it is empty.
TEST_F(MainFrameTest, OpeningAFileDrivesTheStatusBarProgress)
{
    qmtest::TempDir folder;
    std::string text;
    while (text.size() < 700000)
        text += "a line of text that fills the file a little faster than a short one would\r\n";
    std::string path = folder.WriteFile("large.txt", text);
    Create();
    HWND hProgress = frame->GetStatusBar()->FindPane(ID_INDICATOR_PROGRESS)->GetChildHwnd();
    ASSERT_NE((HWND)NULL, hProgress);
    ProgressLog log;
    g_pProgressLog = &log;
    log.pfnOld = (WNDPROC)SetWindowLongPtrA(hProgress, GWLP_WNDPROC, (LONG_PTR)&RecordProgress);

    App().SetOpenOptions(OPEN_FORMAT_DETECT, 4, 0, 0);
    ASSERT_NE(nullptr, App().OpenFile(path.c_str()));
    SetWindowLongPtrA(hProgress, GWLP_WNDPROC, (LONG_PTR)log.pfnOld);
    g_pProgressLog = NULL;

    // The range: 0 to the size; the positions rise to the size; then off.
    auto isRange = [](const std::pair<UINT, std::pair<WPARAM, LPARAM>>& m, LPARAM nHigh) {
        return m.first == PBM_SETRANGE32 && m.second.first == 0 && m.second.second == nHigh;
    };
    ASSERT_GE(log.messages.size(), 4u);
    EXPECT_TRUE(isRange(log.messages.front(), (LPARAM)text.size()));
    WPARAM nLastPos = 0;
    bool bReachedSize = false;
    for (size_t i = 1; i + 2 < log.messages.size(); i++) {
        ASSERT_EQ((UINT)PBM_SETPOS, log.messages[i].first) << i;
        EXPECT_GE(log.messages[i].second.first, nLastPos);
        nLastPos = log.messages[i].second.first;
        bReachedSize = bReachedSize || nLastPos == (WPARAM)text.size();
    }
    EXPECT_TRUE(bReachedSize);
    EXPECT_TRUE(isRange(log.messages[log.messages.size() - 2], 0));
    EXPECT_EQ((UINT)PBM_SETPOS, log.messages.back().first);
    EXPECT_EQ(0u, log.messages.back().second.first);
    EXPECT_EQ(0, SendMessageA(hProgress, PBM_GETRANGE, FALSE, 0));
    EXPECT_EQ(0, SendMessageA(hProgress, PBM_GETPOS, 0, 0));
}

// What one open detects in a file head stays with that document: the next
// open still detects, so an ANSI file after a UTF-16 one is not read as UTF-16.
TEST_F(MainFrameTest, DetectedEncodingDoesNotLeakIntoTheNextOpen)
{
    qmtest::TempDir folder;
    std::string wide = folder.WriteFile("wide.txt", std::string("\xFF\xFEh\0i\0\r\0\n\0", 10));
    std::string ansi = folder.WriteFile("plain.txt", "caf\xE9\r\n");
    Create();
    App().SetOpenOptions(OPEN_FORMAT_DETECT, 4, 0, 0);
    ASSERT_NE(nullptr, App().OpenFile(wide.c_str()));
    EXPECT_EQ(4, App().GetOpenEncoding());
    EXPECT_EQ(0, App().GetOpenMarkLength());
    EXPECT_EQ(OPEN_FORMAT_DETECT, App().GetOpenFormat());
    CDocument* pDoc = App().OpenFile(ansi.c_str());
    ASSERT_NE(nullptr, pDoc);
    Pump();
    pDoc->SetModifiedFlag(TRUE);
    ASSERT_TRUE(pDoc->DoFileSave());
    HANDLE h = CreateFileA(ansi.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    char buf[64] = "";
    DWORD n = 0;
    ReadFile(h, buf, sizeof(buf), &n, NULL);
    CloseHandle(h);
    EXPECT_EQ(std::string("caf\xE9\r\n"), std::string(buf, n)) << "saved back as it was read";
}

TEST_F(MainFrameTest, CloseWritesTheSettingsLayoutAndPlacement)
{
    SetDword("GenSettings", "RememberOpenFiles", 0);
    SetString("FilesToOpen", "stale", "C:\\nothing.txt");
    Create();
    // The close deletes the list whatever it holds.
    Command(ID_VIEW_WORD_WRAP);
    Command(ID_VIEW_LINE_NUMBERS);
    Command(ID_VIEW_LINE_NUMBERS);
    Command(ID_THEME_OFFICEXP);
    CloseFrame();
    ASSERT_FALSE(IsWindow(hFrame));

    DWORD value = 0;
    ASSERT_TRUE(GetDword("ViewSettings", "WordWrap", &value));
    EXPECT_EQ(1u, value);
    ASSERT_TRUE(GetDword("ViewSettings", "LineNumbers", &value));
    EXPECT_EQ(0u, value);
    ASSERT_TRUE(GetDword("ViewSettings", "Theme", &value));
    EXPECT_EQ(723u, value);
    ASSERT_TRUE(GetDword("BackupSettings", "Enabled", &value));
    EXPECT_EQ(1u, value);
    EXPECT_EQ(44u, GetBinary("Settings", "Window Position").size());
    EXPECT_TRUE(SectionExists("DockingPaneLayouts\\NormalLayout"));
    EXPECT_TRUE(SectionExists("CommandBars-Summary")) << "the command-bar layout";
    EXPECT_FALSE(GetBinary("CommandBars", "Accelerators").empty()) << "the keyboard shortcuts";
    // A first start keeps the two standard external tools.
    CToolList defaults;
    defaults.SetDefaults();
    std::vector<BYTE> expected = defaults.ToBytes();
    EXPECT_EQ(expected, GetBinary("TOOLS_CUSTOMIZATION", "Tools"));
    EXPECT_FALSE(SectionExists("FilesToOpen")) << "with remember open files off the key is gone";
}

TEST_F(MainFrameTest, RememberedFilesComeBackAtTheNextStart)
{
    qmtest::TempDir folder;
    std::string a = folder.WriteFile("a.txt", "\xEF\xBB\xBF"
                                              "alpha\r\n");
    std::string b = folder.WriteFile("b.txt", "beta\r\n");
    Create();
    App().SetOpenOptions(OPEN_FORMAT_DETECT, 4, 0, 0);
    ASSERT_NE(nullptr, App().OpenFile(a.c_str()));
    App().SetOpenOptions(OPEN_FORMAT_DETECT, 4, 0, 0);
    ASSERT_NE(nullptr, App().OpenFile(b.c_str()));
    Command(ID_FILE_NEW); // untitled: stores nothing
    Pump();
    CloseFrame();
    ASSERT_FALSE(IsWindow(hFrame));

    auto values = StringValues("FilesToOpen");
    ASSERT_EQ(2u, values.size());
    for (const auto& v : values)
        EXPECT_EQ(v.first, v.second) << "name and data are both the path";

    // The next start opens them and consumes the list.
    Create();
    ASSERT_TRUE(App().HasFilesToOpen());
    EXPECT_TRUE(App().OpenFilesToOpen());
    Pump();
    EXPECT_EQ(2u, OpenPaths().size());
    EXPECT_FALSE(SectionExists("FilesToOpen"));
}

TEST_F(MainFrameTest, HandOverMessageOpensListedFilesAndSkipsMissingOnes)
{
    qmtest::TempDir folder;
    std::string there = folder.WriteFile("there.txt", "here I am\r\n");
    std::string gone = folder.Path() + "\\gone.txt";
    Create();
    SetString("FilesToOpen", "1", there);
    SetString("FilesToOpen", "2", gone);
    SetString("FilesToOpen", "3", "");
    qmtest::MessageBoxRecorder boxes(IDOK);
    EXPECT_EQ(0, SendMessageA(hFrame, WM_OPENFILESTOOPEN, 0, 0));
    Pump();
    EXPECT_EQ(1u, OpenPaths().size());
    // One message names the missing file, once; the list is gone so it is
    // never offered again.
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_NE(std::string::npos, boxes.Texts()[0].find(gone));
    EXPECT_FALSE(SectionExists("FilesToOpen"));
    SendMessageA(hFrame, WM_OPENFILESTOOPEN, 0, 0);
    Pump();
    EXPECT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ(1u, OpenPaths().size());
}

// Many missing hand-over files: the message names the first ones and counts
// the rest, so it never grows taller than the screen.
TEST_F(MainFrameTest, MissingHandOverFilesAreNamedThenCounted)
{
    struct Case {
        size_t missing;
        size_t named;
        const char* rest; // the closing count, or nullptr
    } cases[] = {
        {1, 1, nullptr}, {10, 10, nullptr}, {11, 10, "... and 1 more"}, {300, 10, "... and 290 more"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing);
        std::vector<CString> missing;
        for (size_t i = 0; i < c.missing; ++i) {
            CString path;
            path.Format("C:\\gone\\file%03u.txt", (unsigned)i);
            missing.push_back(path);
        }
        std::string text = (LPCSTR)CQuillmateApp::FormatMissingFilesMessage(missing);
        for (size_t i = 0; i < c.missing; ++i)
            EXPECT_EQ(i < c.named, text.find((LPCSTR)missing[i]) != std::string::npos) << i;
        if (c.rest != nullptr) {
            EXPECT_NE(std::string::npos, text.find(c.rest)) << text;
        } else {
            EXPECT_EQ(std::string::npos, text.find("more")) << text;
        }
        EXPECT_LE(std::count(text.begin(), text.end(), '\n'), 13) << text;
    }

    // Through the hand-over of a real frame: one box.
    Create();
    qmtest::TempDir folder;
    for (int i = 0; i < 300; ++i)
        SetString("FilesToOpen", std::to_string(i + 1).c_str(), folder.Path() + "\\gone" + std::to_string(i) + ".txt");
    qmtest::MessageBoxRecorder boxes(IDOK);
    SendMessageA(hFrame, WM_OPENFILESTOOPEN, 0, 0);
    Pump();
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_NE(std::string::npos, boxes.Texts()[0].find("... and 290 more")) << boxes.Texts()[0];
    EXPECT_FALSE(SectionExists("FilesToOpen"));
}

// The Scintilla window of the active text view.
HWND ActiveEditor(CMainFrame* frame)
{
    CMDIChildWnd* pChild = frame->MDIGetActive();
    if (pChild == NULL || pChild->GetActiveView() == NULL)
        return NULL;
    HWND hView = pChild->GetActiveView()->GetSafeHwnd();
    return FindWindowExA(hView, NULL, "Scintilla", NULL);
}

TEST_F(MainFrameTest, ViewTogglesReachOpenDocumentsAndTheRecord)
{
    Create();
    Command(ID_FILE_NEW);
    HWND hEditor = ActiveEditor(frame);
    ASSERT_NE((HWND)NULL, hEditor);
    struct {
        UINT nID;
        UINT nQuery; // the editor's state message, 0: none
        int CViewSettings::*field;
    } table[] = {
        {ID_VIEW_WORD_WRAP, 2269 /* SCI_GETWRAPMODE */, &CViewSettings::nWordWrap},
        {ID_VIEW_WHITESPACE, 2020 /* SCI_GETVIEWWS */, &CViewSettings::nWhitespace},
        {ID_VIEW_LINE_ENDINGS, 2355 /* SCI_GETVIEWEOL */, &CViewSettings::nLineEndings},
        {ID_VIEW_BLOCK_SELECT, 0, &CViewSettings::nBlockSelect},
        {ID_VIEW_MATCH_BRACKET, 0, &CViewSettings::nMatchBracket},
        {ID_VIEW_CODE_FOLDING, 0, &CViewSettings::nCodeFolding},
    };
    for (const auto& row : table) {
        int before = frame->GetSettings()->*row.field;
        Command(row.nID);
        EXPECT_EQ(!before, frame->GetSettings()->*row.field) << row.nID;
        if (row.nQuery != 0) {
            EXPECT_EQ(!before, SendMessageA(hEditor, row.nQuery, 0, 0) != 0) << row.nID;
        }
        Command(row.nID);
        EXPECT_EQ(before, frame->GetSettings()->*row.field) << row.nID;
        if (row.nQuery != 0) {
            EXPECT_EQ(before, SendMessageA(hEditor, row.nQuery, 0, 0) != 0) << row.nID;
        }
    }
}

TEST_F(MainFrameTest, AToolRunsWithTheActiveDocumentInItsArguments)
{
    qmtest::TempDir folder;
    std::string doc = folder.WriteFile("active.txt", "active\r\n");
    Create();
    App().SetOpenOptions(OPEN_FORMAT_DETECT, 4, 0, 0);
    ASSERT_NE(nullptr, App().OpenFile(doc.c_str()));
    Pump();
    CToolRecord tool;
    tool.strMenuText = "Echo";
    tool.strCommand = "cmd.exe";
    tool.strArguments = "/c echo tool-marker-815 $FileName";
    ASSERT_TRUE(frame->RunTool(tool));
    HWND hOutput = frame->ShowToolWindow() ? frame->ShowToolWindow()->GetSafeHwnd() : NULL;
    ASSERT_NE((HWND)NULL, hOutput);
    std::string text;
    for (int i = 0; i < 300 && text.find("tool-marker-815 active.txt") == std::string::npos; ++i) {
        Pump(1);
        char buf[4096] = "";
        GetWindowTextA(hOutput, buf, sizeof(buf));
        text = buf;
    }
    EXPECT_NE(std::string::npos, text.find("tool-marker-815 active.txt")) << text;
}

// Output mode "Editor Window": the tool's output fills a new document; the
// start folder's "$AppDir" is the program's folder, not the current one.
std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](char c) { return (char)tolower((unsigned char)c); });
    return s;
}

TEST_F(MainFrameTest, AToolWritesIntoANewDocument)
{
    Create();
    CMultiDocTemplate* pTemplate = App().GetTextTemplate();
    size_t nBefore = OpenPaths().size();
    qmtest::TempDir elsewhere;
    char szOld[MAX_PATH] = "", szBefore[MAX_PATH] = "", szAfter[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, szOld);
    SetCurrentDirectoryA(elsewhere.Path().c_str());
    GetCurrentDirectoryA(MAX_PATH, szBefore);
    CToolRecord tool;
    tool.strCommand = "cmd.exe";
    tool.strArguments = "/c echo hi& cd";
    tool.strFolder = "$AppDir";
    tool.nOutputMode = 1;
    ASSERT_TRUE(frame->RunTool(tool));
    GetCurrentDirectoryA(MAX_PATH, szAfter);
    SetCurrentDirectoryA(szOld);
    EXPECT_STREQ(szAfter, szBefore) << "the current folder comes back";
    ASSERT_EQ(OpenPaths().size(), nBefore + 1);
    CDoodleDoc* pDoc = NULL;
    for (POSITION pos = pTemplate->GetFirstDocPosition(); pos != NULL;)
        pDoc = dynamic_cast<CDoodleDoc*>(pTemplate->GetNextDoc(pos));
    ASSERT_NE(nullptr, pDoc);
    CMFCScintilla* pEditor = pDoc->GetEditor();
    ASSERT_NE(nullptr, pEditor);
    std::string programFolder = Lower((LPCSTR)GetProgramFolder());
    std::string text;
    for (int i = 0; i < 300 && Lower(text).find(programFolder) == std::string::npos; ++i) {
        Pump(1);
        text.assign((size_t)pEditor->GetLength() + 1, '\0');
        pEditor->GetText((Sci_Position)text.size(), &text[0]);
        text.resize(text.size() - 1);
    }
    EXPECT_EQ(text.rfind("hi", 0), 0u) << text;
    EXPECT_NE(Lower(text).find(programFolder), std::string::npos) << "the tool ran in the program's folder: " << text;
}

// A list the user emptied stays empty at the next start; a missing one
// gives the two standard tools.
TEST_F(MainFrameTest, AnEmptyToolListStaysEmpty)
{
    CToolList none;
    ASSERT_TRUE(CCustomizePageTools::SaveTools(none));
    Create();
    EXPECT_EQ(0, frame->GetToolList()->GetCount());
    CloseFrame();
    std::vector<BYTE> stored = GetBinary("TOOLS_CUSTOMIZATION", "Tools");
    EXPECT_EQ(stored, none.ToBytes());
}

// The command bars' control notification shares its number with the
// ribbon's special command ("More Commands...", 9607, a menu control in
// lParam): the frame takes the notification of its tools entries by their
// id alone and reads nothing under another id, whatever lParam holds.
TEST_F(MainFrameTest, OnlyTheToolsEntriesIdMakesAToolNotification)
{
    Create();
    CQXPControlButton entry;
    entry.SetID(ID_TOOLS_LIST_ENTRY);
    entry.SetParameter("99"); // no such tool: nothing runs
    NMQXPCONTROL nm = {};
    nm.hdr.code = QXP_CN_EXECUTE;
    nm.pControl = &entry;
    const struct {
        WPARAM wParam;
        LRESULT lTaken;
    } cases[] = {
        {(WPARAM)ID_TOOLS_LIST_ENTRY, TRUE},
        {(WPARAM)9607, FALSE},
    };
    for (const auto& c : cases) {
        nm.hdr.idFrom = (UINT_PTR)c.wParam;
        EXPECT_EQ(c.lTaken, frame->SendMessage(WM_COMMANDBARS_CONTROLNOTIFY, c.wParam, (LPARAM)&nm)) << c.wParam;
    }
}

// A report for the tool window (Tidy, the XML check) replaces what the
// window held, with its line breaks shown as line breaks.
TEST_F(MainFrameTest, ToolOutputReportsReplaceTheToolWindowsText)
{
    Create();
    IEditorFrame* pEditorFrame = frame;
    pEditorFrame->ShowToolOutput("first report\n");
    Pump();
    ASSERT_NE(nullptr, frame->ShowToolWindow());
    HWND hOutput = frame->ShowToolWindow()->GetSafeHwnd();
    ASSERT_NE((HWND)NULL, hOutput);
    EXPECT_TRUE(frame->IsPanePresent(ID_VIEW_TOOL_WINDOW));
    pEditorFrame->ShowToolOutput("line one\nline two\n");
    Pump();
    char buf[256] = "";
    GetWindowTextA(hOutput, buf, sizeof(buf));
    EXPECT_EQ(std::string(buf), "line one\r\nline two\r\n");
}

TEST_F(MainFrameTest, TheToolsMenuListsTheExternalTools)
{
    Create();
    CQXPControl* pPlaceholder = frame->GetCommandBars()->FindControl(qxpControlButton, 1227, FALSE, TRUE);
    ASSERT_NE(nullptr, pPlaceholder);
    ASSERT_NE(nullptr, dynamic_cast<CControlTools*>(pPlaceholder));
    // Laying the menu out puts one entry per tool after the placeholder.
    pPlaceholder->OnCalcDynamicSize(0);
    CQXPControls* pControls = pPlaceholder->GetControls();
    ASSERT_NE(nullptr, pControls);
    int nIndex = pPlaceholder->GetIndex();
    ASSERT_EQ(2, frame->GetToolList()->GetCount());
    for (int i = 0; i < 2; ++i) {
        CQXPControl* pEntry = pControls->GetAt(nIndex + 1 + i);
        ASSERT_NE(nullptr, pEntry);
        EXPECT_EQ(1229, pEntry->GetID());
        EXPECT_EQ(std::string(frame->GetToolList()->GetAt(i).strMenuText), std::string(pEntry->GetCaption()));
        // The programs' icons, although the frame has not been idle yet
        // (they wait for the first idle, or for the menu asking first).
        int nIconId = frame->GetToolList()->GetAt(i).nIconId;
        EXPECT_NE(0, nIconId) << "the shell's icon of " << frame->GetToolList()->GetAt(i).strCommand;
        EXPECT_EQ(nIconId, pEntry->GetIconId());
        EXPECT_NE(nullptr, GetGlobalImageManager()->GetImage((UINT)nIconId));
    }
    // Laid out again, it does not add them twice.
    pPlaceholder->OnCalcDynamicSize(0);
    CQXPControl* pAfter = pControls->GetAt(nIndex + 3);
    EXPECT_TRUE(pAfter == nullptr || pAfter->GetID() != 1229);
}

TEST_F(MainFrameTest, AltWithAMnemonicOpensThatMenu)
{
    Create();
    CQXPMenuBar* pMenuBar = frame->GetCommandBars()->GetMenuBar();
    ASSERT_NE(nullptr, pMenuBar);
    int nTools = -1;
    for (int i = 0; i < pMenuBar->GetControls()->GetCount(); ++i)
        if (std::string(pMenuBar->GetControls()->GetAt(i)->GetCaption()) == "&Tools")
            nTools = i;
    ASSERT_GE(nTools, 0);
    SendMessageA(hFrame, WM_SYSCOMMAND, SC_KEYMENU, 't');
    EXPECT_EQ(nTools, pMenuBar->GetPopupedIndex());
    EXPECT_TRUE(pMenuBar->IsTrackingMode());
    frame->GetCommandBars()->ClosePopups();
    Pump();
    EXPECT_EQ(-1, pMenuBar->GetPopupedIndex());
}

// Records what an update handler decides.
class StateProbe : public CCmdUI {
public:
    int enabled = -1;
    int checked = -1;
    std::string text;
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        enabled = bOn ? 1 : 0;
    }
    void SetCheck(int nCheck) override { checked = nCheck; }
    void SetText(LPCSTR lpszText) override { text = lpszText ? lpszText : ""; }
};

StateProbe Probe(CMainFrame* frame, UINT nID)
{
    StateProbe probe;
    probe.m_nID = nID;
    frame->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &probe, NULL);
    return probe;
}

// The help commands go to HTML Help on the program's help file with data 0
// (contents 1, index 2, search 3); with no help file installed nothing
// shows and nothing fails. New and Open Workspace are always there; the
// others need an open workspace.
TEST_F(MainFrameTest, HelpCommandsCallHtmlHelpAndWorkspaceCommandsNeedAWorkspace)
{
    Create();
    for (UINT nID : {ID_WORKSPACE_SAVE, ID_WORKSPACE_CLOSE, ID_WORKSPACE_ADD_FOLDER, ID_WORKSPACE_DELETE_FOLDER,
                     ID_WORKSPACE_RENAME_FOLDER})
        EXPECT_EQ(0, Probe(frame, nID).enabled) << nID;
    // The option sheets can always be opened.
    for (UINT nID : {ID_TOOLS_EDITOR_PROPERTIES, ID_TOOLS_TIDY_PROPERTIES, ID_TOOLS_XML_TIDY_PROPERTIES})
        EXPECT_EQ(1, Probe(frame, nID).enabled) << nID;
    for (UINT nID : {ID_FILE_NEW_WORKSPACE, ID_WORKSPACE_OPEN})
        EXPECT_NE(0, Probe(frame, nID).enabled) << nID;

    struct HelpCall {
        HWND owner;
        std::string file;
        UINT cmd;
        DWORD_PTR data;
    };
    std::vector<HelpCall> calls;
    fx::HelpHook pfnOld = fx::SetHelpHook(
        [](HWND hOwner, LPCSTR lpszFile, UINT nCmd, DWORD_PTR dwData, void* pContext) {
            static_cast<std::vector<HelpCall>*>(pContext)->push_back({hOwner, lpszFile, nCmd, dwData});
        },
        &calls);
    struct Case {
        UINT nID;
        UINT nCmd;
    } cases[] = {{ID_HELP_TOPICS, 1}, {ID_HELP_CONTENTS, 1}, {ID_HELP_INDEX, 2}, {ID_HELP_SEARCH, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nID);
        calls.clear();
        Command(c.nID);
        ASSERT_EQ(1u, calls.size());
        EXPECT_EQ(c.nCmd, calls[0].cmd);
        EXPECT_EQ(0u, calls[0].data);
        EXPECT_EQ(hFrame, calls[0].owner);
        std::string file = calls[0].file;
        ASSERT_GT(file.size(), 4u);
        EXPECT_EQ(".chm", file.substr(file.size() - 4)) << file;
    }
    // F1 is help as well.
    calls.clear();
    Command(ID_HELP);
    EXPECT_EQ(1u, calls.size());
    fx::SetHelpHook(pfnOld);

    // No help file beside the program: no window, no message.
    auto visibleWindows = [] {
        int n = 0;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND h, LPARAM l) {
                if (IsWindowVisible(h))
                    ++*reinterpret_cast<int*>(l);
                return TRUE;
            },
            (LPARAM)&n);
        return n;
    };
    int nBefore = visibleWindows();
    qmtest::MessageBoxRecorder boxes(IDOK);
    for (const Case& c : cases)
        Command(c.nID);
    Command(ID_HELP);
    Pump();
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(nBefore, visibleWindows());
    EXPECT_TRUE(IsWindow(hFrame));
}

TEST_F(MainFrameTest, TabCommandsFollowTheTabState)
{
    Create();
    // Without tabs: no alignment, the window arrangements are there.
    EXPECT_EQ("Show Tabs", Probe(frame, ID_TABS_HIDE).text);
    for (UINT nID : {ID_TABS_ALIGN_LEFT, ID_TABS_ALIGN_RIGHT, ID_TABS_ALIGN_TOP, ID_TABS_ALIGN_BOTTOM})
        EXPECT_EQ(0, Probe(frame, nID).enabled) << nID;
    for (UINT nID : {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE})
        EXPECT_EQ(1, Probe(frame, nID).enabled) << nID;

    Command(ID_TABS_HIDE);
    EXPECT_EQ("Hide Tabs", Probe(frame, ID_TABS_HIDE).text);
    Command(ID_TABS_ALIGN_LEFT);
    EXPECT_EQ(1, Probe(frame, ID_TABS_ALIGN_LEFT).enabled);
    EXPECT_EQ(1, Probe(frame, ID_TABS_ALIGN_LEFT).checked);
    EXPECT_EQ(0, Probe(frame, ID_TABS_ALIGN_TOP).checked);
    for (UINT nID : {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE})
        EXPECT_EQ(0, Probe(frame, nID).enabled) << nID;
}

TEST_F(MainFrameTest, CloseAllButSelectedKeepsTheActiveDocument)
{
    Create();
    EXPECT_EQ(0, Probe(frame, ID_WINDOW_CLOSE_ALL_BUT).enabled);
    Command(ID_FILE_NEW);
    EXPECT_EQ(0, Probe(frame, ID_WINDOW_CLOSE_ALL_BUT).enabled) << "one document";
    Command(ID_FILE_NEW);
    Command(ID_FILE_NEW);
    ASSERT_EQ(3, ChildCount());
    EXPECT_EQ(1, Probe(frame, ID_WINDOW_CLOSE_ALL_BUT).enabled);
    HWND hActive = frame->MDIGetActive()->GetSafeHwnd();
    Command(ID_WINDOW_CLOSE_ALL_BUT);
    Pump();
    ASSERT_EQ(1, ChildCount());
    EXPECT_EQ(hActive, GetWindow(frame->m_hWndMDIClient, GW_CHILD));
}

TEST_F(MainFrameTest, PanesOutOfSightGetTheirWindowsAtTheFirstIdleOrWhenAskedFor)
{
    auto attached = [&](int nID) {
        CQXPDockingPane* pPane = frame->GetPaneManager()->FindPane(nID);
        return pPane != NULL && pPane->IsAttached() && IsWindow(pPane->GetChild());
    };
    auto make = [&]() {
        qmtest::ParkPointer();
        ASSERT_TRUE(App().CreateMainFrame());
        frame = App().GetMainFrame();
        hFrame = frame->GetSafeHwnd();
    };
    // Before any idle: the File Explorer's tab is in sight, the tabs behind
    // it are not made yet.
    make();
    EXPECT_TRUE(attached(PANE_FILE_EXPLORER));
    EXPECT_FALSE(attached(PANE_PROJECT_EXPLORER));
    EXPECT_FALSE(attached(PANE_TEMPLATE_EXPLORER));
    // Asking for a tree behind a tab makes its window at once.
    EXPECT_NE(nullptr, frame->GetProjectTree());
    EXPECT_TRUE(attached(PANE_PROJECT_EXPLORER));
    EXPECT_FALSE(attached(PANE_TEMPLATE_EXPLORER));
    EXPECT_NE(nullptr, frame->GetTemplateTree());
    EXPECT_TRUE(attached(PANE_TEMPLATE_EXPLORER));
    frame->ShowMainWindow();
    Pump();
    CloseFrame();

    // Otherwise the first idle makes every present pane's window, and a tab
    // chosen then shows its own window.
    make();
    frame->ShowMainWindow();
    Pump();
    for (int nID : kAllPanes)
        EXPECT_TRUE(attached(nID)) << nID;
    frame->GetPaneManager()->ShowPane(frame->GetPaneManager()->FindPane(PANE_LIST_EXPLORER), FALSE);
    Pump();
    EXPECT_TRUE(IsWindowVisible(frame->GetPaneManager()->FindPane(PANE_LIST_EXPLORER)->GetChild()));
    EXPECT_FALSE(IsWindowVisible(frame->GetPaneManager()->FindPane(PANE_FILE_EXPLORER)->GetChild()));
}

TEST_F(MainFrameTest, APaneMissingFromTheStoredLayoutStaysOffUntilShown)
{
    Create();
    Command(ID_VIEW_FUNCTION_LIST);
    ASSERT_FALSE(frame->IsPanePresent(PANE_FUNCTION_LIST));
    CloseFrame();
    Create();
    EXPECT_FALSE(frame->IsPanePresent(PANE_FUNCTION_LIST));
    EXPECT_EQ(0, Probe(frame, ID_VIEW_FUNCTION_LIST).checked);
    EXPECT_TRUE(frame->IsPanePresent(PANE_TOOL_WINDOW));
    Command(ID_VIEW_FUNCTION_LIST);
    EXPECT_TRUE(frame->IsPanePresent(PANE_FUNCTION_LIST));
    EXPECT_EQ(1, Probe(frame, ID_VIEW_FUNCTION_LIST).checked);
}

TEST_F(MainFrameTest, EveryThemeCommandIsHandled)
{
    Create();
    struct {
        UINT nID;
        int nPaintTheme;
    } table[] = {{ID_THEME_WIN2000, qxpThemeWindows2000},
                 {ID_THEME_WINXP, qxpThemeWindowsXP},
                 {ID_THEME_WHIDBEY, qxpThemeWhidbey},
                 {ID_THEME_OFFICEXP, qxpThemeOfficeXP},
                 {ID_THEME_OFFICE2003, qxpThemeOffice2003}};
    for (const auto& row : table) {
        Command(row.nID);
        EXPECT_EQ((int)row.nID, frame->GetSettings()->nTheme) << row.nID;
        EXPECT_EQ(row.nPaintTheme, GetGlobalPaintManager()->GetCurrentTheme()) << row.nID;
    }
    // An id outside the range keeps the look.
    frame->ApplyTheme(725);
    EXPECT_EQ((int)ID_THEME_OFFICE2003, frame->GetSettings()->nTheme);
    EXPECT_EQ(qxpThemeOffice2003, GetGlobalPaintManager()->GetCurrentTheme());
}

TEST_F(MainFrameTest, ADamagedProfileStartsWithDefaults)
{
    const BYTE junk[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    SetRaw("Settings", "Window Position", REG_BINARY, junk, sizeof(junk));
    SetString("ViewSettings", "Theme", "nonsense");
    SetDword("ViewSettings", "FontSize", 0);
    SetRaw("CommandBars", "Accelerators", REG_BINARY, junk, 7);
    SetDword("DockingPaneLayouts\\NormalLayout\\Summary", "Panes", 0x7FFFFFFF);
    SetString("DockingPaneLayouts\\NormalLayout\\Pane-1", "Type", "garbage");
    SetString("GenSettings", "MDITabsActive", "yes");
    Create();
    EXPECT_TRUE(IsWindowVisible(hFrame));
    EXPECT_FALSE(IsZoomed(hFrame));
    EXPECT_EQ(721, frame->GetSettings()->nTheme);
    EXPECT_EQ(10, frame->GetSettings()->nFontSize);
    EXPECT_FALSE(frame->AreTabsShown());
    for (int nID : kAllPanes)
        EXPECT_TRUE(frame->IsPanePresent(nID)) << nID;
}

TEST_F(MainFrameTest, PlacementSurvivesARestart)
{
    Create();
    ShowWindow(hFrame, SW_SHOWMAXIMIZED);
    Pump();
    CloseFrame();
    Create();
    EXPECT_TRUE(IsZoomed(hFrame)) << "closed maximised, comes back maximised";
    ShowWindow(hFrame, SW_MINIMIZE);
    Pump();
    CloseFrame();
    Create();
    EXPECT_FALSE(IsIconic(hFrame)) << "closed minimised, comes back normal";
    EXPECT_FALSE(IsZoomed(hFrame));
}

TEST_F(MainFrameTest, PaneTogglesAndDocumentTabs)
{
    Create();
    // Off destroys the pane, on creates it again.
    Command(ID_VIEW_FUNCTION_LIST);
    EXPECT_FALSE(frame->IsPanePresent(PANE_FUNCTION_LIST));
    EXPECT_EQ(nullptr, frame->GetPaneManager()->FindPane(PANE_FUNCTION_LIST));
    Command(ID_VIEW_FUNCTION_LIST);
    EXPECT_TRUE(frame->IsPanePresent(PANE_FUNCTION_LIST));
    ASSERT_NE(nullptr, frame->GetPaneManager()->FindPane(PANE_FUNCTION_LIST));
    // Show All with everything shown changes nothing.
    Command(ID_VIEW_SHOW_ALL_WINDOWS);
    for (int nID : kAllPanes)
        EXPECT_TRUE(frame->IsPanePresent(nID)) << nID;
    // The tool window holds the output view.
    EXPECT_NE(nullptr, frame->ShowToolWindow());

    EXPECT_FALSE(frame->AreTabsShown());
    Command(ID_TABS_HIDE);
    EXPECT_TRUE(frame->AreTabsShown());
    EXPECT_EQ(1, frame->GetEditorSettings()->nTabsActive);
    Command(ID_TABS_ALIGN_BOTTOM);
    EXPECT_EQ(tabPositionBottom, frame->GetTabClient()->GetPaintManager()->GetPosition());
    CloseFrame();
    DWORD value = 0;
    ASSERT_TRUE(GetDword("GenSettings", "MDITabsActive", &value));
    EXPECT_EQ(1u, value);
    Create();
    EXPECT_TRUE(frame->AreTabsShown()) << "tabs come back on";
}

} // namespace

// ---------------------------------------------------------------------------
// What a new user meets first.

namespace {

std::string PaneText(CMainFrame* frame, int nPane)
{
    return (LPCSTR)frame->GetStatusBar()->GetPaneText(nPane);
}

CDoodleView* TextViewOf(CDocument* pDoc)
{
    POSITION pos = pDoc->GetFirstViewPosition();
    return pos != NULL ? dynamic_cast<CDoodleView*>(pDoc->GetNextView(pos)) : NULL;
}

} // namespace

// The caret and mode panes show the active document's state after every
// switch, close and Insert key, and nothing once no document is open.
TEST_F(MainFrameTest, StatusBarFollowsTheActiveDocument)
{
    qmtest::TempDir folder;
    std::string a = folder.WriteFile("a.txt", "first line\r\nsecond line\r\nthird\r\n");
    std::string b = folder.WriteFile("b.txt", "other\r\n");
    Create();
    App().SetOpenOptions(OPEN_FORMAT_DETECT, 4, 0, 0);
    CDocument* pA = App().OpenFile(a.c_str());
    ASSERT_NE(nullptr, pA);
    CDoodleView* pViewA = TextViewOf(pA);
    ASSERT_NE(nullptr, pViewA);
    pViewA->GetEditor().GotoPos(pViewA->GetEditor().FindColumn(2, 4));
    Pump();
    EXPECT_EQ("Ln  3 Col  4", PaneText(frame, STATUS_PANE_POSITION));
    EXPECT_EQ("INS", PaneText(frame, STATUS_PANE_MODE));

    App().SetOpenOptions(OPEN_FORMAT_DETECT, 4, 0, 0);
    CDocument* pB = App().OpenFile(b.c_str());
    ASSERT_NE(nullptr, pB);
    CDoodleView* pViewB = TextViewOf(pB);
    Pump();
    EXPECT_EQ("Ln  1 Col  0", PaneText(frame, STATUS_PANE_POSITION)) << "the new document's caret";

    // A caret that moves in the document behind does not speak.
    pViewA->GetEditor().GotoPos(0);
    Pump();
    EXPECT_EQ("Ln  1 Col  0", PaneText(frame, STATUS_PANE_POSITION));
    pViewB->GetEditor().GotoPos(3);
    Pump();
    EXPECT_EQ("Ln  1 Col  3", PaneText(frame, STATUS_PANE_POSITION));

    // The Insert key switches B to overtype: the mode pane empties.
    pViewB->GetEditor().SetFocus();
    pViewB->GetEditor().SendMessage(WM_KEYDOWN, VK_INSERT, 0x00520001);
    pViewB->GetEditor().SendMessage(WM_KEYUP, VK_INSERT, 0xC0520001);
    Pump();
    ASSERT_NE(0, (int)pViewB->GetEditor().Call(SCI_GETOVERTYPE));
    EXPECT_EQ("", PaneText(frame, STATUS_PANE_MODE));

    // Back to A: its caret and its insert mode.
    frame->MDIActivate(pViewA->GetParentFrame());
    Pump();
    EXPECT_EQ("Ln  1 Col  0", PaneText(frame, STATUS_PANE_POSITION));
    EXPECT_EQ("INS", PaneText(frame, STATUS_PANE_MODE));

    // Closing A shows B again; closing B leaves empty panes.
    pViewA->GetParentFrame()->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ("Ln  1 Col  3", PaneText(frame, STATUS_PANE_POSITION));
    EXPECT_EQ("", PaneText(frame, STATUS_PANE_MODE));
    pViewB->GetParentFrame()->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(0, ChildCount());
    EXPECT_EQ("", PaneText(frame, STATUS_PANE_POSITION));
    EXPECT_EQ("", PaneText(frame, STATUS_PANE_MODE));
}

// With tabs stored on, the documents of the last session come back
// maximised under the tab strip, like every document opened later.
TEST_F(MainFrameTest, WithTabsOnDocumentsReopenMaximised)
{
    qmtest::TempDir folder;
    std::string a = folder.WriteFile("a.txt", "\xEF\xBB\xBF"
                                              "alpha\r\n");
    std::string b = folder.WriteFile("b.txt", "beta\r\n");
    SetDword("GenSettings", "MDITabsActive", 1);
    SetString("FilesToOpen", a.c_str(), a);
    SetString("FilesToOpen", b.c_str(), b);
    Create();
    ASSERT_TRUE(frame->AreTabsShown());
    ASSERT_TRUE(App().OpenFilesToOpen());
    Pump(10);
    ASSERT_EQ(2, ChildCount());
    // Each one, once active, fills the client under the strip.
    std::vector<HWND> children;
    for (HWND h = GetWindow(frame->m_hWndMDIClient, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        children.push_back(h);
    for (HWND h : children) {
        SendMessageA(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)h, 0);
        Pump();
        EXPECT_TRUE(IsZoomed(h)) << dlgtest::WindowText(h);
    }
}

// The editors draw with a fixed-pitch face even when the configured one
// is not installed, and View > Font starts at the face in use.
TEST_F(MainFrameTest, MissingFontFallsBackToAFixedPitchFaceTheFontDialogShows)
{
    const char kMissing[] = "No Such Font Quillmate";
    SetString("ViewSettings", "FontStyle", kMissing);
    qmtest::TempDir folder;
    std::string a = folder.WriteFile("a.txt", "\xEF\xBB\xBF"
                                              "alpha\r\n");
    Create();
    App().SetOpenOptions(OPEN_FORMAT_DETECT, 4, 0, 0);
    CDocument* pDoc = App().OpenFile(a.c_str());
    ASSERT_NE(nullptr, pDoc);
    Pump();
    char szFace[LF_FACESIZE * 2] = "";
    TextViewOf(pDoc)->GetEditor().Call(SCI_STYLEGETFONT, STYLE_DEFAULT, (sptr_t)szFace);
    std::string face = szFace;
    EXPECT_NE(face, kMissing);
    EXPECT_EQ(face, (LPCSTR)FixedPitchFontFace(kMissing));
    EXPECT_TRUE(IsFontInstalled(face.c_str())) << face;

    std::string shown;
    dlgtest::ModalScript script({
        [&] { return dlgtest::FindDialog("Font") != NULL; },
        [&] {
            HWND hDlg = dlgtest::FindDialog("Font");
            HWND hFace = GetDlgItem(hDlg, cmb1);
            char buf[LF_FACESIZE] = "";
            GetWindowTextA(hFace, buf, sizeof(buf));
            shown = buf;
            dlgtest::Click(hDlg, IDCANCEL);
            return true;
        },
    });
    Command(ID_VIEW_FONT);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(face, shown) << "the font dialog starts at the face the editor shows";
    EXPECT_STREQ(kMissing, frame->GetSettings()->pszFontFace) << "cancel keeps the setting";
}

// The first tool of a new installation, the command prompt, ends by itself
// when run captured: nothing waits for Stop.
TEST_F(MainFrameTest, CapturedCommandPromptEndsWithoutStop)
{
    Create();
    CToolRecord tool;
    tool.strMenuText = "Command Prompt";
    tool.strCommand = "cmd.exe";
    ASSERT_TRUE(frame->RunTool(tool));
    bool ended = false;
    for (int i = 0; i < 400 && !ended; ++i) {
        Pump(1);
        Sleep(50);
        ended = frame->m_bToolRunning == 0;
    }
    EXPECT_TRUE(ended) << "the tool is still running after 20 s";
    EXPECT_EQ(0, Probe(frame, ID_TOOLS_STOP_USER_TOOL).enabled);
}

// --- the workspace of the Project Explorer ---------------------------------------------

// Documents opened join the workspace (an unnamed one starts with the first);
// a ".dpf" opens as a workspace, no document; hiding the pane keeps it; an
// entry opens with plain options whatever the last Open chose.
TEST_F(MainFrameTest, DocumentsJoinTheWorkspaceAndAWorkspaceFileLoadsIntoThePane)
{
    qmtest::TempDir folder;
    std::string a = folder.WriteFile("a.txt", "\xEF\xBB\xBF"
                                              "alpha\r\n");
    std::string b = folder.WriteFile("b.txt", "beta\r\n");
    std::string ws = folder.Path("work.dpf");
    Create();
    CSolutionBarProjTree* pTree = frame->GetProjectTree();
    ASSERT_NE(nullptr, pTree);
    EXPECT_FALSE(pTree->IsOpen());
    App().SetOpenOptions(OPEN_FORMAT_DETECT, 4, 0, 0);
    ASSERT_NE(nullptr, App().OpenFile(a.c_str()));
    Pump();
    EXPECT_TRUE(pTree->IsOpen());
    HTREEITEM hA = pTree->FindItemByPath(a.c_str());
    ASSERT_NE(nullptr, hA);
    EXPECT_EQ(pTree->GetNode(hA)->encoding, 0) << "the document's encoding (UTF-8)";
    ASSERT_TRUE(pTree->SaveWorkspace(ws.c_str()));
    Command(ID_WORKSPACE_CLOSE);
    EXPECT_FALSE(pTree->IsOpen());

    EXPECT_EQ(nullptr, App().OpenFile(ws.c_str())) << "a workspace is no document";
    Pump();
    EXPECT_TRUE(pTree->IsOpen());
    EXPECT_EQ(std::string(pTree->GetItemText(pTree->GetRootItem())), "Project [work]");
    EXPECT_NE(nullptr, pTree->FindItemByPath(a.c_str()));

    // Hidden and shown again, the pane has the same workspace.
    Command(ID_VIEW_PROJECT_EXPLORER);
    EXPECT_FALSE(frame->IsPanePresent(PANE_PROJECT_EXPLORER));
    pTree->AddFile(b.c_str(), NULL, 0, 0);
    Command(ID_VIEW_PROJECT_EXPLORER);
    EXPECT_TRUE(frame->IsPanePresent(PANE_PROJECT_EXPLORER));
    ASSERT_EQ(pTree, frame->GetProjectTree());
    EXPECT_NE(nullptr, pTree->FindItemByPath(b.c_str()));
    EXPECT_TRUE(IsWindowVisible(pTree->GetSafeHwnd()));

    // The last Open chose hex, ANSI and read-only: an entry opens plainly.
    App().SetOpenOptions(OPEN_FORMAT_HEX, 3, 0, 1);
    frame->OpenWorkspaceEntry(b.c_str());
    Pump();
    CDoodleView* pView = frame->GetActiveTextView();
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(std::string(pView->GetDocument()->GetPathName()), b);
    EXPECT_FALSE(pView->GetEditor().GetReadOnly());

    // Closing the editor asks about the modified named workspace.
    {
        qmtest::MessageBoxRecorder boxes(IDYES);
        SendMessageA(hFrame, WM_CLOSE, 0, 0);
        Pump();
        ASSERT_FALSE(boxes.Texts().empty());
        EXPECT_EQ(boxes.Texts()[0], "Save workspace before closing?");
    }
    EXPECT_FALSE(IsWindow(hFrame));
    frame = NULL;
    App().m_pMainWnd = NULL;
    EXPECT_NE(std::string::npos, qmtest::ReadFileBytes(ws).find("b.txt"));
}

TEST_F(MainFrameTest, WorkspaceCommandsMakeAndSaveAWorkspace)
{
    qmtest::TempDir folder;
    Create();
    Command(ID_FILE_NEW_WORKSPACE);
    CSolutionBarProjTree* pTree = frame->GetProjectTree();
    ASSERT_NE(nullptr, pTree);
    EXPECT_TRUE(pTree->IsOpen());
    EXPECT_EQ(std::string(pTree->GetItemText(pTree->GetRootItem())), "Project");
    for (UINT nID : {ID_WORKSPACE_SAVE, ID_WORKSPACE_CLOSE, ID_WORKSPACE_ADD_FOLDER})
        EXPECT_EQ(1, Probe(frame, nID).enabled) << nID;
    pTree->SelectItem(pTree->GetRootItem());
    Command(ID_WORKSPACE_ADD_FOLDER);
    pTree->SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
    Pump();
    HTREEITEM hFolder = pTree->GetChildItem(pTree->GetRootItem());
    ASSERT_NE(nullptr, hFolder);
    EXPECT_EQ(std::string(pTree->GetItemText(hFolder)), "New Folder");
    EXPECT_TRUE(pTree->GetModified());
}
