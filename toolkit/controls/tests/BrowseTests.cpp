// Folder browsing, the browse edit and the edit list box on real dialogs:
// paths that do not fit, the button's placement and notifications, and the
// command sequences of the edit list box.
#include "DialogTestSupport.h"

#include <qmtest/messageboxes.h>
#include <qmtest/mouse.h>
#include <qmtest/qmatedriver.h>

#include <qx/browse.h>

#include <qmtest/screenshot.h>

#include <algorithm>
#include <functional>

using namespace dlgtest;

namespace {

enum {
    IDC_EDIT = 100,
    IDC_LIST = 300
};

// A dialog that records the notifications it gets.
class HostDialog : public CDialog {
public:
    std::vector<std::pair<UINT, UINT>> log; // (control id, code)
    std::function<void(HostDialog*)> init;
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (init)
            init(this);
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (HIWORD(wParam) >= 10000)
            log.push_back({LOWORD(wParam), HIWORD(wParam)});
        else if (HIWORD(wParam) == LBN_SELCHANGE)
            log.push_back({LOWORD(wParam), LBN_SELCHANGE});
        return CDialog::OnCommand(wParam, lParam);
    }
    std::vector<UINT> Codes(UINT nID) const
    {
        std::vector<UINT> v;
        for (const auto& e : log)
            if (e.first == nID)
                v.push_back(e.second);
        return v;
    }
};

std::unique_ptr<HostDialog> OpenHost(std::function<void(HostDialog*)> init, DWORD dwExtraListStyle = 0)
{
    std::unique_ptr<HostDialog> dlg(new HostDialog);
    dlg->init = init;
    DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 10, 10, 240, 160, "Host");
    t.Add(0x81, IDC_EDIT, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 8, 8, 150, 12);
    t.Add(0x83, IDC_LIST,
          WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_HASSTRINGS | LBS_OWNERDRAWVARIABLE |
              LBS_NOINTEGRALHEIGHT | dwExtraListStyle,
          8, 40, 150, 100);
    EXPECT_TRUE(dlg->CreateIndirect(t.Get(), NULL));
    dlg->SetForegroundWindow();
    PumpMessages();
    return dlg;
}

void CloseHost(std::unique_ptr<HostDialog>& dlg)
{
    if (dlg && dlg->GetSafeHwnd())
        dlg->DestroyWindow();
    PumpMessages();
}

// --- folder browse dialog ------------------------------------------------------

std::string g_chosen;
int g_nBrowseCalls = 0;
std::string g_seenInitial;
PIDLIST_ABSOLUTE WINAPI FakeBrowse(LPBROWSEINFOA lpbi)
{
    ++g_nBrowseCalls;
    g_seenInitial = ((FolderBrowseDialog*)lpbi->lParam)->GetSelPath();
    if (g_chosen == "<cancel>")
        return NULL;
    if (g_chosen == "<computer>") {
        PIDLIST_ABSOLUTE pidl = NULL;
        ::SHGetSpecialFolderLocation(NULL, CSIDL_DRIVES, &pidl);
        return pidl;
    }
    return ::ILCreateFromPathA(g_chosen.c_str());
}

TEST(FolderBrowse, PathsThatDoNotFitAreRefused)
{
    FolderBrowseDialog dlg;
    EXPECT_TRUE(dlg.SetSelPath("C:\\Work"));
    std::string longPath(MAX_PATH, 'x');
    EXPECT_FALSE(dlg.SetSelPath(longPath.c_str()));
    EXPECT_STREQ("C:\\Work", dlg.GetSelPath()) << "the buffer is unchanged";
    std::string fits(MAX_PATH - 1, 'y');
    EXPECT_TRUE(dlg.SetSelPath(fits.c_str()));
    EXPECT_EQ(fits, dlg.GetSelPath());
    EXPECT_EQ((UINT)(BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE), dlg.m_bi.ulFlags);
    EXPECT_STREQ("Select Directory:", dlg.m_strTitle.GetString());
}

TEST(FolderBrowse, ResultsOfThePicker)
{
    ::CoInitialize(NULL);
    qmtest::TempDir temp("qxbrowse");
    std::string folder = temp.Path();
    FolderBrowseDialog::s_pfnBrowseForFolder = FakeBrowse;
    struct Row {
        const char* name;
        std::string chosen;
        INT_PTR result;
        std::string path;
    };
    const Row rows[] = {
        {"cancelled", "<cancel>", IDCANCEL, "C:\\Before"},
        {"a folder", folder, IDOK, folder},
        {"a virtual folder", "<computer>", IDCANCEL, "C:\\Before"},
    };
    for (const Row& r : rows) {
        FolderBrowseDialog dlg;
        dlg.SetSelPath("C:\\Before");
        g_chosen = r.chosen;
        EXPECT_EQ(r.result, dlg.DoModal()) << r.name;
        EXPECT_STRCASEEQ(r.path.c_str(), dlg.GetSelPath()) << r.name;
        EXPECT_EQ("C:\\Before", g_seenInitial) << r.name;
    }
    FolderBrowseDialog::s_pfnBrowseForFolder = NULL;
    ::CoUninitialize();
}

// A window that records what the picker's callback tells it.
std::string g_selection;
std::string g_status;
LRESULT CALLBACK RecorderProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == BFFM_SETSELECTIONA)
        g_selection = (LPCSTR)l;
    else if (m == BFFM_SETSTATUSTEXTA)
        g_status = (LPCSTR)l;
    return ::DefWindowProcA(h, m, w, l);
}

TEST(FolderBrowse, TheCallbackPreselectsTheFolderOrTheCurrentDirectory)
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = "QxpBrowseRecorder";
    ::RegisterClassA(&wc);
    HWND h = ::CreateWindowA("QxpBrowseRecorder", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL);
    ASSERT_NE(nullptr, h);
    FolderBrowseDialog dlg;
    g_selection.clear();
    EXPECT_EQ(0, FolderBrowseDialog::BrowseCallbackProc(h, BFFM_INITIALIZED, 0, (LPARAM)&dlg));
    char cwd[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, cwd);
    EXPECT_EQ(cwd, g_selection) << "no initial path: the current directory";
    dlg.SetSelPath("C:\\Somewhere");
    FolderBrowseDialog::BrowseCallbackProc(h, BFFM_INITIALIZED, 0, (LPARAM)&dlg);
    EXPECT_EQ("C:\\Somewhere", g_selection);

    ::CoInitialize(NULL);
    PIDLIST_ABSOLUTE pidl = ::ILCreateFromPathA(cwd);
    g_status.clear();
    FolderBrowseDialog::BrowseCallbackProc(h, BFFM_SELCHANGED, (LPARAM)pidl, (LPARAM)&dlg);
    EXPECT_TRUE(g_status.empty()) << "no status text without BIF_STATUSTEXT";
    dlg.m_bi.ulFlags |= BIF_STATUSTEXT;
    FolderBrowseDialog::BrowseCallbackProc(h, BFFM_SELCHANGED, (LPARAM)pidl, (LPARAM)&dlg);
    EXPECT_STRCASEEQ(cwd, g_status.c_str());
    ::ILFree(pidl);
    ::CoUninitialize();
    ::DestroyWindow(h);
}

// The folder the picker must show before OK is pressed.
std::string g_expectedFolder;
DWORD g_dwPickerStart = 0;

// Presses OK in the thread's folder picker once it shows the expected folder
// in its status line (the picker selects the initial folder some time after
// it appears; on a loaded machine that can be late). After ten seconds OK is
// pressed anyway, so a picker that never gets there fails the test instead
// of hanging it.
void CALLBACK PressOk(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    struct Finder {
        static BOOL CALLBACK Each(HWND h, LPARAM l)
        {
            char cls[32] = {0};
            ::GetClassNameA(h, cls, sizeof(cls));
            if (lstrcmpA(cls, "#32770") == 0 && ::IsWindowVisible(h)) {
                *(HWND*)l = h;
                return FALSE;
            }
            return TRUE;
        }
        static BOOL CALLBACK ShowsFolder(HWND h, LPARAM l)
        {
            char text[MAX_PATH] = {0};
            ::GetWindowTextA(h, text, sizeof(text));
            if (lstrcmpiA(text, g_expectedFolder.c_str()) == 0) {
                *(BOOL*)l = TRUE;
                return FALSE;
            }
            return TRUE;
        }
    };
    HWND hDialog = NULL;
    ::EnumThreadWindows(::GetCurrentThreadId(), Finder::Each, (LPARAM)&hDialog);
    if (!hDialog)
        return;
    BOOL bShows = FALSE;
    ::EnumChildWindows(hDialog, Finder::ShowsFolder, (LPARAM)&bShows);
    if (bShows || ::GetTickCount() - g_dwPickerStart > 10000) {
        ::KillTimer(NULL, idEvent);
        ::PostMessageA(hDialog, WM_COMMAND, IDOK, 0);
    }
}

TEST(FolderBrowse, TheRealPickerOpensAtTheInitialFolder)
{
    ::OleInitialize(NULL);
    qmtest::TempDir temp("qxbrowse");
    std::string folder = temp.Path();
    // Wine's picker now and then drops a selection made while it is still
    // filling its tree; a second opening shows whether our preselection
    // works, without letting that race fail the test.
    INT_PTR nResult = 0;
    CString strPicked;
    for (int nTry = 0; nTry < 2; ++nTry) {
        FolderBrowseDialog dlg;
        dlg.SetSelPath(folder.c_str());
        // The status line names the selected folder: the test waits for it.
        dlg.m_bi.ulFlags |= BIF_STATUSTEXT;
        g_expectedFolder = folder;
        g_dwPickerStart = ::GetTickCount();
        UINT_PTR nTimer = ::SetTimer(NULL, 0, 100, PressOk);
        nResult = dlg.DoModal();
        ::KillTimer(NULL, nTimer);
        strPicked = dlg.GetSelPath();
        if (nResult == IDOK && lstrcmpiA(strPicked, folder.c_str()) == 0)
            break;
    }
    EXPECT_EQ(IDOK, nResult);
    EXPECT_STRCASEEQ(folder.c_str(), strPicked);
    ::OleUninitialize();
}

// --- browse edit ----------------------------------------------------------------

std::string g_folderStart;
INT_PTR g_folderAnswer = IDOK;
std::string g_folderChosen;
int g_nFolderDialogs = 0;
INT_PTR AFXAPI FakeFolderDialog(FolderBrowseDialog& dlg)
{
    ++g_nFolderDialogs;
    g_folderStart = dlg.GetSelPath();
    if (g_folderAnswer == IDOK)
        dlg.SetSelPath(g_folderChosen.c_str());
    return g_folderAnswer;
}

struct BrowseEditTest : ::testing::Test {
    CWinApp app{"QxpBrowseApp"};
    CQXBrowseEdit edit;
    std::unique_ptr<HostDialog> host;

    void Open(DWORD dwStyle)
    {
        host = OpenHost([&](HostDialog* d) { ASSERT_TRUE(edit.Initialize(d, (UINT)IDC_EDIT, dwStyle)); });
    }
    void TearDown() override
    {
        CQXBrowseEdit::s_pfnFolderDialog = [](FolderBrowseDialog& d) { return d.DoModal(); };
        CloseHost(host);
    }
};

TEST_F(BrowseEditTest, TheButtonSitsRightOfTheShortenedEdit)
{
    CRect before;
    {
        auto plain = OpenHost(nullptr);
        before = ChildRect(plain->GetSafeHwnd(), IDC_EDIT);
        CloseHost(plain);
    }
    Open(qxBrowseNotify);
    HWND h = host->GetSafeHwnd();
    CRect rcEdit = ChildRect(h, IDC_EDIT);
    CRect rcButton = ChildRect(h, QX_IDC_BROWSE_BUTTON);
    int nWidth = CQXBrowseButton::GetButtonWidth();
    int nGap = ::GetSystemMetrics(SM_CXEDGE);
    EXPECT_EQ(before.Width() - nWidth - nGap, rcEdit.Width());
    EXPECT_EQ(rcEdit.right + nGap, rcButton.left);
    EXPECT_EQ(nWidth, rcButton.Width());
    EXPECT_EQ(rcEdit.top, rcButton.top);
    EXPECT_EQ(rcEdit.Height(), rcButton.Height());
    CString caption;
    ASSERT_NE(nullptr, edit.GetBrowseButton());
    edit.GetBrowseButton()->GetWindowText(caption);
    EXPECT_STREQ("...", caption.GetString());

    // The button follows the edit's state and place.
    edit.EnableWindow(FALSE);
    EXPECT_FALSE(edit.GetBrowseButton()->IsWindowEnabled());
    edit.EnableWindow(TRUE);
    EXPECT_TRUE(edit.GetBrowseButton()->IsWindowEnabled());
    edit.ShowWindow(SW_HIDE);
    EXPECT_FALSE(edit.GetBrowseButton()->IsWindowVisible());
    edit.ShowWindow(SW_SHOW);
    EXPECT_TRUE(edit.GetBrowseButton()->IsWindowVisible());
    edit.SetWindowPos(NULL, 20, 30, 100, rcEdit.Height(), SWP_NOZORDER);
    EXPECT_EQ(CRect(20 + 100 + nGap, 30, 20 + 100 + nGap + nWidth, 30 + rcEdit.Height()),
              ChildRect(h, QX_IDC_BROWSE_BUTTON));
}

TEST_F(BrowseEditTest, NotifyStyleTellsTheParentAndFocusesTheText)
{
    Open(qxBrowseNotify);
    edit.SetWindowText("C:\\Temp");
    edit.GetBrowseButton()->SendMessage(BM_CLICK, 0, 0);
    PumpMessages();
    ASSERT_EQ(1u, host->Codes(IDC_EDIT).size());
    EXPECT_EQ((UINT)QXN_BROWSE, host->Codes(IDC_EDIT)[0]);
    EXPECT_EQ(edit.GetSafeHwnd(), ::GetFocus());
    DWORD dwStart = 1, dwEnd = 0;
    edit.SendMessage(EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
    EXPECT_EQ(0u, dwStart);
    EXPECT_EQ(7u, dwEnd) << "all of the text is selected";
}

TEST_F(BrowseEditTest, EnterAndSpaceOnTheFocusedButtonBrowse)
{
    Open(qxBrowseNotify);
    ASSERT_TRUE(qmtest::BringToForeground(host->GetSafeHwnd()));
    const UINT keys[] = {VK_RETURN, VK_SPACE};
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(keys[i]);
        edit.GetBrowseButton()->SetFocus();
        ASSERT_EQ(edit.GetBrowseButton()->GetSafeHwnd(), ::GetFocus());
        qmtest::SendChord({keys[i]});
        EXPECT_TRUE(qmtest::PumpUntil([&] { return host->Codes(IDC_EDIT).size() == i + 1; }));
        EXPECT_EQ((UINT)QXN_BROWSE, host->Codes(IDC_EDIT).back());
        EXPECT_TRUE(qmtest::PumpUntil([&] { return ::GetFocus() == edit.GetSafeHwnd(); }))
            << "the text has the focus after browsing";
    }
    PumpMessages();
    EXPECT_EQ(2u, host->Codes(IDC_EDIT).size()) << "one browse per key";
}

TEST_F(BrowseEditTest, StyleZeroHasNoButton)
{
    Open(0);
    EXPECT_EQ(nullptr, ::GetDlgItem(host->GetSafeHwnd(), QX_IDC_BROWSE_BUTTON));
    EXPECT_EQ(nullptr, edit.GetBrowseButton());
}

TEST_F(BrowseEditTest, TheFolderChooserStartsWhereTheTextOrTheInitialFolderPoints)
{
    qmtest::TempDir temp("qxbrowse");
    std::string folder = temp.Path();
    std::string file = folder + "\\note.txt";
    FILE* f = fopen(file.c_str(), "w");
    ASSERT_NE(nullptr, f);
    fclose(f);
    Open(qxBrowseFolder);
    CQXBrowseEdit::s_pfnFolderDialog = FakeFolderDialog;
    struct Row {
        const char* name;
        std::string text, initial, start;
    };
    const Row rows[] = {
        {"an existing folder", folder, "C:\\Initial", folder},
        {"a file, initial folder set", file, "C:\\Initial", "C:\\Initial"},
        {"a file, no initial folder", file, "", file},
        {"nothing yet", "", "C:\\Initial", "C:\\Initial"},
    };
    for (const Row& r : rows) {
        edit.SetWindowText(r.text.c_str());
        edit.SetDlgInitialDir(r.initial.c_str());
        g_folderAnswer = IDOK;
        g_folderChosen = "C:\\Chosen";
        edit.OnBrowse();
        EXPECT_EQ(r.start, g_folderStart) << r.name;
        CString text;
        edit.GetWindowText(text);
        EXPECT_STREQ("C:\\Chosen", text.GetString()) << r.name;
    }
    g_folderAnswer = IDCANCEL;
    edit.SetWindowText("C:\\Kept");
    edit.OnBrowse();
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ("C:\\Kept", text.GetString()) << "a cancelled chooser changes nothing";
    ::DeleteFileA(file.c_str());
}

TEST_F(BrowseEditTest, ATypedPathThatDoesNotFitIsRefusedWithAMessage)
{
    Open(qxBrowseFolder);
    CQXBrowseEdit::s_pfnFolderDialog = FakeFolderDialog;
    qmtest::MessageBoxRecorder boxes;
    g_nFolderDialogs = 0;
    std::string longPath = "C:\\" + std::string(400, 'a');
    edit.SetWindowText(longPath.c_str());
    edit.OnBrowse();
    EXPECT_EQ(0, g_nFolderDialogs) << "no chooser for a path that does not fit";
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ(kQXPathTooLong, boxes.Texts()[0]);
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(longPath, text.GetString()) << "the text stays for the user to shorten";
    // An initial folder that does not fit is refused the same way.
    edit.SetWindowText("");
    edit.SetDlgInitialDir(longPath.c_str());
    edit.OnBrowse();
    EXPECT_EQ(0, g_nFolderDialogs);
    EXPECT_EQ(2u, boxes.Texts().size());
}

// The pictures of the toolkit's resources, which this test program carries as
// the program does: the arrow of a browse button that opens a menu, and the
// edit list's strip. A screenshot of both goes to <build>/screenshots.
TEST_F(BrowseEditTest, PicturesOfTheToolkitsResources)
{
    CQXEditListBox list;
    host = OpenHost([&](HostDialog* d) {
        ASSERT_TRUE(edit.Initialize(d, (UINT)IDC_EDIT, qxBrowsePopupMenu));
        ASSERT_TRUE(list.SubclassDlgItem(IDC_LIST, d));
        list.SetListEditStyle("Folders:", qxBrowseFolder);
        list.Initialize();
    });
    CQXBrowseButton* button = edit.GetBrowseButton();
    ASSERT_NE(nullptr, button);
    // The arrow in place of the "..." caption.
    EXPECT_TRUE(button->GetStyle() & BS_ICON);
    CString caption;
    button->GetWindowText(caption);
    EXPECT_STREQ("", caption.GetString());
    ASSERT_NE(nullptr, button->m_icon.GetIcon());
    EXPECT_EQ(CSize(10, 10), button->GetImageSize());
    // Each strip button shows its picture.
    ASSERT_NE(nullptr, list.GetStrip());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(CSize(14, 12), list.GetStrip()->GetButton(i)->GetImageSize()) << i;

    host->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
    // On screen the arrow points right: the columns of dark pixels in the
    // button narrow to a single pixel at its tip.
    CRect rc;
    button->GetWindowRect(&rc);
    HDC hdc = ::GetDC(NULL);
    std::vector<int> dark;
    for (int x = rc.left + 2; x < rc.right - 2; ++x) {
        int n = 0;
        for (int y = rc.top + 2; y < rc.bottom - 2; ++y) {
            COLORREF c = ::GetPixel(hdc, x, y);
            n += GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64;
        }
        if (n > 0)
            dark.push_back(n);
    }
    ::ReleaseDC(NULL, hdc);
    ASSERT_GE(dark.size(), 3u);
    EXPECT_EQ(1, dark.back());
    EXPECT_GT(dark.front(), dark.back());
    EXPECT_TRUE(std::is_sorted(dark.rbegin(), dark.rend()));

    CRect rcHost;
    host->GetWindowRect(&rcHost);
    EXPECT_TRUE(qmtest::SaveScreenPng(rcHost, qmtest::ScreenshotDir(QM_BIN_DIR) + "/browse-controls.png"));
}

// --- edit list box ------------------------------------------------------------------

struct EditListTest : ::testing::Test {
    CQXEditListBox list;
    std::unique_ptr<HostDialog> host;
    CRect rcDesigned;

    void Open(DWORD dwStyle, const char* defaultText = "", DWORD dwExtraListStyle = 0)
    {
        host = OpenHost(
            [&](HostDialog* d) {
                rcDesigned = ChildRect(d->GetSafeHwnd(), IDC_LIST);
                ASSERT_TRUE(list.SubclassDlgItem(IDC_LIST, d));
                list.SetListEditStyle("Folders:", dwStyle);
                list.SetNewItemDefaultText(defaultText);
                list.Initialize();
            },
            dwExtraListStyle);
        list.SetFocus();
        PumpMessages();
    }
    void TearDown() override { CloseHost(host); }
    std::vector<UINT> Codes() const { return host->Codes(IDC_LIST); }
    std::vector<std::string> Items()
    {
        std::vector<std::string> v;
        for (int i = 0; i < list.GetCount(); ++i) {
            CString s;
            list.GetText(i, s);
            v.push_back(s.GetString());
        }
        return v;
    }
    void Fill()
    {
        const char* names[] = {"A", "B", "C"};
        for (int i = 0; i < 3; ++i) {
            int n = list.AddString(names[i]);
            list.SetItemData(n, 100 + i);
        }
        host->log.clear();
    }
    void KeyUp(UINT vk) { list.SendMessage(WM_KEYUP, vk, 0xC0000001); }
    void AltKey(UINT vk) { list.SendMessage(WM_SYSKEYDOWN, vk, 0x20000001); }
    CQXItemEdit* Edit() { return list.GetItemEdit(); }
    void TypeAndEnter(const char* text)
    {
        ASSERT_NE(nullptr, Edit());
        Edit()->SetWindowText(text);
        Edit()->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
        PumpMessages();
    }
    void Escape()
    {
        ASSERT_NE(nullptr, Edit());
        Edit()->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        PumpMessages();
    }
};

TEST_F(EditListTest, TheStripSitsAboveTheListWithItsButtons)
{
    Open(qxBrowseFolder);
    HWND h = host->GetSafeHwnd();
    CQXEditListBoxToolBar* strip = list.GetStrip();
    ASSERT_NE(nullptr, strip);
    EXPECT_EQ(QX_IDC_EDIT_LIST_STRIP, strip->GetDlgCtrlID());
    CRect rcStrip = ChildRect(h, QX_IDC_EDIT_LIST_STRIP);
    CRect rcList = ChildRect(h, IDC_LIST);
    int nEdge = ::GetSystemMetrics(SM_CXEDGE);
    EXPECT_EQ(rcDesigned.top, rcStrip.top);
    EXPECT_EQ(22, rcStrip.Height());
    EXPECT_EQ(rcDesigned.top + 22 + nEdge, rcList.top);
    EXPECT_EQ(rcDesigned.bottom, rcList.bottom);
    CString title;
    strip->GetWindowText(title);
    EXPECT_STREQ("Folders:", title.GetString());
    // Move Down rightmost, then Move Up, Delete, New; 22 pixels each.
    CRect rcClient;
    strip->GetClientRect(&rcClient);
    for (int i = 3; i >= 0; --i) {
        CRect r = strip->GetButtonRect(i);
        EXPECT_EQ(rcClient.right - 22 * (4 - i), r.left) << i;
        EXPECT_EQ(22, r.Width());
    }
    // The strip follows the list.
    list.EnableWindow(FALSE);
    EXPECT_FALSE(strip->IsWindowEnabled());
    EXPECT_FALSE(strip->GetButton(0)->IsWindowEnabled());
    list.EnableWindow(TRUE);
    list.SetWindowPos(NULL, 20, 120, 200, 60, SWP_NOZORDER);
    EXPECT_EQ(120 - 22 - nEdge, ChildRect(h, QX_IDC_EDIT_LIST_STRIP).top);
    EXPECT_EQ(20, ChildRect(h, QX_IDC_EDIT_LIST_STRIP).left);
}

TEST_F(EditListTest, StylesDropButtonsOrTheWholeStrip)
{
    struct Row {
        DWORD dwStyle;
        bool bStrip, bNewDelete, bMove;
    };
    const Row rows[] = {{qxBrowseFolder | qxBrowseNoMove, true, true, false},
                        {qxBrowseFolder | qxBrowseNoNewDelete, true, false, true},
                        {qxBrowseFolder | qxBrowseNoToolbar, false, false, false}};
    for (const Row& r : rows) {
        CQXEditListBox other;
        auto dlg = OpenHost([&](HostDialog* d) {
            other.SubclassDlgItem(IDC_LIST, d);
            other.SetListEditStyle("T", r.dwStyle);
            other.Initialize();
        });
        HWND h = dlg->GetSafeHwnd();
        EXPECT_EQ(r.bStrip, ::GetDlgItem(h, QX_IDC_EDIT_LIST_STRIP) != NULL) << r.dwStyle;
        HWND hStrip = ::GetDlgItem(h, QX_IDC_EDIT_LIST_STRIP);
        auto has = [&](int id) { return hStrip && ::GetDlgItem(hStrip, id) != NULL; };
        EXPECT_EQ(r.bNewDelete, has(QX_IDC_ELB_NEW)) << r.dwStyle;
        EXPECT_EQ(r.bNewDelete, has(QX_IDC_ELB_DELETE)) << r.dwStyle;
        EXPECT_EQ(r.bMove, has(QX_IDC_ELB_UP)) << r.dwStyle;
        EXPECT_EQ(r.bMove, has(QX_IDC_ELB_DOWN)) << r.dwStyle;
        CloseHost(dlg);
    }
}

TEST_F(EditListTest, InsertOnAnEmptyListThenEscapeLeavesNothing)
{
    Open(qxBrowseFolder);
    KeyUp(VK_INSERT);
    ASSERT_NE(nullptr, Edit());
    EXPECT_EQ(QX_IDC_ITEM_EDIT, Edit()->GetDlgCtrlID());
    EXPECT_EQ(1, list.GetCount()) << "a temporary item while editing";
    EXPECT_EQ(0, list.GetCurSel());
    Escape();
    EXPECT_EQ(nullptr, Edit());
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ((std::vector<UINT>{QXN_ELB_PRE_NEW_ITEM, QXN_ELB_LABEL_UNCHANGED}), Codes());
    EXPECT_EQ(nullptr, ::GetDlgItem(list.GetSafeHwnd(), QX_IDC_ITEM_EDIT)) << "the edit window is gone";
}

TEST_F(EditListTest, CancellingANewItemWithDefaultTextDoesNotAddIt)
{
    Open(qxBrowseFolder, "New Folder");
    KeyUp(VK_INSERT);
    CString text;
    ASSERT_NE(nullptr, Edit());
    Edit()->GetWindowText(text);
    EXPECT_STREQ("New Folder", text.GetString());
    Escape();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ((std::vector<UINT>{QXN_ELB_PRE_NEW_ITEM, QXN_ELB_LABEL_UNCHANGED}), Codes());
    // Accepted, the default text is added.
    host->log.clear();
    KeyUp(VK_INSERT);
    TypeAndEnter("New Folder");
    EXPECT_EQ(std::vector<std::string>{"New Folder"}, Items());
    EXPECT_EQ((std::vector<UINT>{QXN_ELB_PRE_NEW_ITEM, QXN_ELB_NEW_ITEM}), Codes());
}

TEST_F(EditListTest, NewItemsFromTheStripAndEmptyTexts)
{
    Open(qxBrowseFolder);
    Fill();
    list.GetStrip()->GetButton(0)->SendMessage(BM_CLICK, 0, 0);
    PumpMessages();
    ASSERT_NE(nullptr, Edit());
    TypeAndEnter("C:\\Work");
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C", "C:\\Work"}), Items());
    EXPECT_EQ(3, list.GetCurSel());
    EXPECT_EQ((std::vector<UINT>{QXN_ELB_PRE_NEW_ITEM, QXN_ELB_NEW_ITEM}), Codes());
    EXPECT_EQ(list.GetSafeHwnd(), ::GetFocus());
    // A new item left empty is dropped.
    host->log.clear();
    KeyUp(VK_INSERT);
    TypeAndEnter("");
    EXPECT_EQ(4, list.GetCount());
    EXPECT_EQ((std::vector<UINT>{QXN_ELB_PRE_NEW_ITEM, QXN_ELB_LABEL_UNCHANGED}), Codes());
}

TEST_F(EditListTest, EditingAnItemToTheSameOrAnotherText)
{
    Open(qxBrowseFolder);
    Fill();
    list.SetCurSel(1);
    list.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(10, (int)list.SendMessage(LB_GETITEMHEIGHT, 0, 0) * 1 + 2));
    ASSERT_NE(nullptr, Edit()) << "a double click edits the selected item";
    CString text;
    Edit()->GetWindowText(text);
    EXPECT_STREQ("B", text.GetString());
    TypeAndEnter("B");
    EXPECT_EQ((std::vector<UINT>{QXN_ELB_LABEL_UNCHANGED}), Codes());
    host->log.clear();
    list.SetCurSel(1);
    list.EditItem(FALSE);
    TypeAndEnter("Beta");
    EXPECT_EQ((std::vector<std::string>{"A", "Beta", "C"}), Items());
    EXPECT_EQ(101u, (unsigned)list.GetItemData(1)) << "the item keeps its data";
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_EQ((std::vector<UINT>{QXN_ELB_LABEL_CHANGED}), Codes());
}

TEST_F(EditListTest, DeletingTheLastItemSelectsTheNewLast)
{
    Open(qxBrowseFolder);
    Fill();
    list.SetCurSel(2);
    KeyUp(VK_DELETE);
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), Items());
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_EQ((std::vector<UINT>{QXN_ELB_PRE_DELETE, QXN_ELB_DELETE_ITEM}), Codes());
    host->log.clear();
    list.SetCurSel(0);
    list.GetStrip()->GetButton(1)->SendMessage(BM_CLICK, 0, 0);
    EXPECT_EQ(std::vector<std::string>{"B"}, Items());
    EXPECT_EQ(0, list.GetCurSel());
    EXPECT_EQ((std::vector<UINT>{QXN_ELB_PRE_DELETE, QXN_ELB_DELETE_ITEM}), Codes());
}

TEST_F(EditListTest, MovingItemsKeepsTheirDataAndEdgesStillNotify)
{
    Open(qxBrowseFolder);
    Fill();
    list.SetCurSel(0);
    AltKey(VK_UP);
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), Items()) << "the first item cannot move up";
    EXPECT_EQ((std::vector<UINT>{QXN_ELB_MOVE_UP}), Codes());
    host->log.clear();
    AltKey(VK_DOWN);
    EXPECT_EQ((std::vector<std::string>{"B", "A", "C"}), Items());
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_EQ(100u, (unsigned)list.GetItemData(1));
    EXPECT_EQ(101u, (unsigned)list.GetItemData(0));
    list.SetCurSel(2);
    list.GetStrip()->GetButton(3)->SendMessage(BM_CLICK, 0, 0);
    EXPECT_EQ((std::vector<std::string>{"B", "A", "C"}), Items()) << "the last item cannot move down";
    list.GetStrip()->GetButton(2)->SendMessage(BM_CLICK, 0, 0);
    EXPECT_EQ((std::vector<std::string>{"B", "C", "A"}), Items());
    EXPECT_EQ((std::vector<UINT>{QXN_ELB_MOVE_DOWN, QXN_ELB_MOVE_DOWN, QXN_ELB_MOVE_UP}), Codes());
}

TEST_F(EditListTest, TheInPlaceBrowseButtonMovesTheItemDownThenAsksTheParent)
{
    Open(qxBrowseNotify);
    Fill();
    list.SetCurSel(0);
    list.EditItem(FALSE);
    ASSERT_NE(nullptr, Edit());
    Edit()->SetWindowText("Alpha");
    CQXBrowseButton* pButton = Edit()->GetBrowseButton();
    ASSERT_NE(nullptr, pButton);
    ASSERT_TRUE(qmtest::BringToForeground(host->GetSafeHwnd()));
    Edit()->SetFocus();
    ASSERT_EQ(Edit()->GetSafeHwnd(), ::GetFocus());
    CRect rcButton;
    pButton->GetWindowRect(&rcButton);
    qmtest::ClickAt(rcButton.CenterPoint());
    auto notes = [&] {
        std::vector<UINT> v;
        for (UINT n : Codes())
            if (n >= 10000)
                v.push_back(n);
        return v;
    };
    EXPECT_TRUE(qmtest::PumpUntil([&] { return notes().size() >= 2; }));
    EXPECT_EQ((std::vector<UINT>{QXN_ELB_MOVE_DOWN, QXN_BROWSE}), notes()) << "moved down, then the parent browses";
    EXPECT_EQ((std::vector<std::string>{"B", "A", "C"}), Items());
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_EQ(100u, (unsigned)list.GetItemData(1)) << "the item keeps its data";

    // The edit is still open, over the item at its new place, with the focus.
    ASSERT_NE(nullptr, Edit());
    EXPECT_EQ(Edit()->GetSafeHwnd(), ::GetFocus());
    CRect rcEdit, rcItem;
    Edit()->GetWindowRect(&rcEdit);
    list.ScreenToClient(&rcEdit);
    list.GetItemRect(1, &rcItem);
    EXPECT_EQ(rcItem.top - 2, rcEdit.top);
    EXPECT_EQ(rcItem.left + 2, rcEdit.left);

    // Enter puts the text into that item; its neighbour stays as it was.
    host->log.clear();
    qmtest::SendChord({VK_RETURN});
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Edit() == nullptr; }));
    EXPECT_EQ((std::vector<std::string>{"B", "Alpha", "C"}), Items());
    EXPECT_EQ(101u, (unsigned)list.GetItemData(0));
    EXPECT_EQ(100u, (unsigned)list.GetItemData(1));
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_EQ((std::vector<UINT>{QXN_ELB_LABEL_CHANGED}), notes());

    // The last item cannot move: the list still says so, then asks.
    list.SetCurSel(2);
    list.EditItem(FALSE);
    ASSERT_NE(nullptr, Edit());
    host->log.clear();
    Edit()->GetBrowseButton()->SendMessage(BM_CLICK, 0, 0);
    PumpMessages();
    EXPECT_EQ((std::vector<UINT>{QXN_ELB_MOVE_DOWN, QXN_BROWSE}), notes());
    EXPECT_EQ((std::vector<std::string>{"B", "Alpha", "C"}), Items());
    Escape();
    EXPECT_EQ((std::vector<std::string>{"B", "Alpha", "C"}), Items());
}

TEST_F(EditListTest, WithoutInPlaceEditingTheParentIsAsked)
{
    Open(qxBrowseFolder | qxBrowseNoEdit);
    Fill();
    list.SetCurSel(1);
    list.EditItem(FALSE);
    EXPECT_EQ(nullptr, Edit());
    EXPECT_EQ((std::vector<UINT>{QXN_BROWSE}), Codes());
}

TEST_F(EditListTest, AClickBelowTheLastItemSelectsIt)
{
    Open(qxBrowseFolder);
    Fill();
    list.SetCurSel(0);
    int h = (int)list.SendMessage(LB_GETITEMHEIGHT, 0, 0);
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 3 * h + 10));
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 3 * h + 10));
    EXPECT_EQ(2, list.GetCurSel());
    std::vector<UINT> codes = Codes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), (UINT)LBN_SELCHANGE), codes.end());
}

TEST_F(EditListTest, AClickBesideTheItemsClearsTheSelection)
{
    // Two columns of items: the second column's empty rows lie beside the
    // items, not below the last one.
    Open(qxBrowseFolder, "", LBS_MULTICOLUMN);
    list.SetColumnWidth(60);
    Fill();
    for (int i = 0; i < 12; ++i)
        list.AddString("more");
    CRect rcClient, rcLast;
    list.GetClientRect(&rcClient);
    list.GetItemRect(list.GetCount() - 1, &rcLast);
    ASSERT_GT(rcLast.left, 0) << "the last item sits in a later column";
    list.SetCurSel(1);
    host->log.clear();
    // Right of the last column, level with the first row.
    CRect rcFirst;
    list.GetItemRect(0, &rcFirst);
    const CPoint pt(std::min<int>(rcLast.right + 10, rcClient.right - 2), rcFirst.top + 2);
    ASSERT_LT(pt.y, rcLast.bottom);
    ASSERT_GT(pt.x, rcLast.right) << "room right of the last column";
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(LB_ERR, list.GetCurSel());
    std::vector<UINT> codes = Codes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), (UINT)LBN_SELCHANGE), codes.end());

    // A click on an item keeps the list box's own choice.
    list.GetItemRect(4, &rcFirst);
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rcFirst.left + 3, rcFirst.top + 2));
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rcFirst.left + 3, rcFirst.top + 2));
    EXPECT_EQ(4, list.GetCurSel());
}

TEST_F(EditListTest, TabInAnItemEditReturnsToTheListKeepingTheText)
{
    Open(qxBrowseFolder);
    Fill();
    list.SetCurSel(1);
    list.EditItem(FALSE);
    ASSERT_NE(nullptr, Edit());
    Edit()->SetWindowText("Beta");
    ASSERT_TRUE(qmtest::BringToForeground(host->GetSafeHwnd()));
    Edit()->SetFocus();
    ASSERT_EQ(Edit()->GetSafeHwnd(), ::GetFocus());
    qmtest::SendChord({VK_TAB});
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Edit() == nullptr; }));
    EXPECT_EQ(list.GetSafeHwnd(), ::GetFocus()) << "the focus is back on the list, not on the next control";
    EXPECT_EQ((std::vector<std::string>{"A", "Beta", "C"}), Items());
    EXPECT_EQ(1, list.GetCurSel());
    std::vector<UINT> codes = Codes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), (UINT)QXN_ELB_LABEL_CHANGED), codes.end());
}

TEST_F(EditListTest, ResizingEndsAnOpenEditKeepingItsText)
{
    Open(qxBrowseFolder);
    Fill();
    list.SetCurSel(0);
    list.EditItem(FALSE);
    ASSERT_NE(nullptr, Edit());
    Edit()->SetWindowText("Alpha");
    list.SetWindowPos(NULL, 0, 0, 180, 90, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    EXPECT_EQ(nullptr, Edit());
    EXPECT_EQ((std::vector<std::string>{"Alpha", "B", "C"}), Items());
}

TEST_F(EditListTest, TheWheelAndAClickOnTheFrameEndAnOpenEditKeepingItsText)
{
    struct Row {
        const char* name;
        UINT msg;
        WPARAM wParam;
    } rows[] = {{"wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-WHEEL_DELTA)},
                {"click on the border", WM_NCLBUTTONDOWN, HTBORDER}};
    Open(qxBrowseFolder);
    Fill();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        list.SetCurSel(0);
        list.EditItem(FALSE);
        ASSERT_NE(nullptr, Edit());
        Edit()->SetWindowText(r.name);
        CRect rc;
        list.GetWindowRect(&rc);
        list.SendMessage(r.msg, r.wParam, MAKELPARAM(rc.left + 1, rc.top + 1));
        PumpMessages();
        EXPECT_EQ(nullptr, Edit());
        CString text;
        list.GetText(0, text);
        EXPECT_STREQ(r.name, text.GetString());
        EXPECT_EQ(nullptr, ::GetDlgItem(list.GetSafeHwnd(), QX_IDC_ITEM_EDIT)) << "the edit window is gone";
    }
}

} // namespace
