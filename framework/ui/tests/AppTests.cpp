// The application's message loop: idle processing, the idle-message filter,
// thread messages, the pre-translation order and a small program with a
// main window, a dialog and a property sheet run through AfxWinMain.
#include "UiTestSupport.h"
#include "ui_test.h"

#include <gtest/gtest.h>

using uitest::Log;

namespace {

const UINT WM_RESTART_IDLE = WM_APP + 1;
const UINT WM_FILTERED = WM_APP + 2;

class CMainProbe : public CWnd {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            Log::Add("Pre main");
        return FALSE;
    }

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        KillTimer(nIDEvent);
        Log::Add("timer");
        ::PostQuitMessage(3);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainProbe, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class CChildProbe : public CWnd {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            Log::Add("Pre child");
        return FALSE;
    }

protected:
    afx_msg void OnKeyDown(UINT, UINT, UINT) { Log::Add("KeyDown child"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CChildProbe, CWnd)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

class CLoopApp : public CWinApp {
public:
    CLoopApp() : CWinApp("LoopApp") {}
    CMainProbe m_main;
    CChildProbe m_child;
    std::vector<LONG> m_idleCounts;
    bool m_bRestarted = false;

    BOOL InitInstance() override
    {
        if (!m_main.CreateEx(0, uitest::TestClass(), "main", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, NULL, NULL))
            return FALSE;
        m_child.Create(NULL, "child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &m_main, 1);
        m_pMainWnd = &m_main;
        return TRUE;
    }
    BOOL OnIdle(LONG lCount) override
    {
        m_idleCounts.push_back(lCount);
        BOOL bMore = CWinApp::OnIdle(lCount);
        if (!bMore && !m_bRestarted) {
            // The first idle time is over: a message that restarts it.
            m_bRestarted = true;
            PostThreadMessage(WM_RESTART_IDLE, 0, 0);
        }
        return bMore;
    }
    // The program's filter: these messages start no idle processing.
    BOOL IsIdleMessage(MSG* pMsg) override
    {
        if (!CWinApp::IsIdleMessage(pMsg))
            return FALSE;
        return pMsg->message != WM_TIMER && pMsg->message != WM_SETCURSOR && pMsg->message != WM_NCHITTEST &&
               pMsg->message != WM_MOUSEMOVE && pMsg->message != WM_FILTERED;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (CWinApp::PreTranslateMessage(pMsg))
            return TRUE;
        if (pMsg->message == WM_KEYDOWN)
            Log::Add("Pre app");
        return FALSE;
    }

protected:
    afx_msg void OnRestartIdle(WPARAM, LPARAM)
    {
        Log::Add("thread message");
        m_child.PostMessage(WM_KEYDOWN, 'K', 1);
        m_main.PostMessage(WM_FILTERED);
        m_main.SetTimer(1, 150, NULL);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLoopApp, CWinApp)
    ON_THREAD_MESSAGE(WM_RESTART_IDLE, OnRestartIdle)
END_MESSAGE_MAP()

TEST(AppLoopTest, IdleFilterThreadMessagesAndPreTranslateOrder)
{
    Log::Clear();
    CLoopApp app;
    ASSERT_EQ(&app, AfxGetApp());
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(&app.m_main, AfxGetMainWnd());
    EXPECT_EQ(3, app.Run());
    // Idle twice: at the start, and after the thread message; neither the
    // filtered message nor the timer started it again.
    EXPECT_EQ((std::vector<LONG>{0, 1, 0, 1}), app.m_idleCounts);
    EXPECT_EQ("thread message | Pre child | Pre main | Pre app | KeyDown child | timer", Log::Joined());
    app.m_pMainWnd = NULL;
    app.m_main.DestroyWindow();
}

TEST(AppLoopTest, DestroyingTheMainWindowEndsTheLoop)
{
    CLoopApp app;
    ASSERT_TRUE(app.InitInstance());
    app.m_bRestarted = true; // no script
    app.m_main.PostMessage(WM_CLOSE);
    EXPECT_EQ(0, app.Run());
    EXPECT_EQ(NULL, app.m_pMainWnd);
    EXPECT_EQ(NULL, app.m_main.m_hWnd);
}

TEST(AppLoopTest, WithoutAMainWindowRunEndsAtOnce)
{
    CWinApp app("NoWindow");
    EXPECT_EQ(0, app.Run());
}

// A user-interface thread: its own window and loop.
class CUiThread : public CWinThread {
public:
    CWnd m_wnd;
    DWORD m_dwCreatedOn = 0;
    BOOL InitInstance() override
    {
        if (!m_wnd.CreateEx(0, uitest::TestClass(), "ui thread", WS_POPUP, 0, 0, 10, 10, NULL, NULL))
            return FALSE;
        m_pMainWnd = &m_wnd;
        m_dwCreatedOn = GetCurrentThreadId();
        return TRUE;
    }
};

TEST(AppLoopTest, UserInterfaceThreadRunsItsOwnLoop)
{
    CUiThread* pThread = new CUiThread;
    pThread->m_bAutoDelete = FALSE;
    ASSERT_TRUE(pThread->CreateThread());
    ASSERT_TRUE(uitest::PumpUntil([&] { return pThread->m_wnd.m_hWnd != NULL; }, 5000));
    // The window belongs to the other thread; the permanent map finds it here.
    EXPECT_EQ(&pThread->m_wnd, CWnd::FromHandlePermanent(pThread->m_wnd.m_hWnd));
    EXPECT_NE(GetCurrentThreadId(), pThread->m_dwCreatedOn);
    // Closing its main window ends its loop.
    ::PostMessageA(pThread->m_wnd.m_hWnd, WM_CLOSE, 0, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pThread->m_hThread, 10000));
    DWORD dwExit = 99;
    GetExitCodeThread(pThread->m_hThread, &dwExit);
    EXPECT_EQ(0u, dwExit);
    EXPECT_EQ(NULL, pThread->m_wnd.m_hWnd);
    delete pThread;
}

// --- a small program: main window with a menu, a dialog and a sheet --------

class CProgramDialog : public CDialog {
public:
    CProgramDialog() : CDialog(IDD_EXCHANGE) {}
    CString m_strName = "before";
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NAME, m_strName); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetTimer(1, 50, NULL);
        return TRUE;
    }

protected:
    afx_msg void OnTimer(UINT_PTR)
    {
        KillTimer(1);
        SetDlgItemText(IDC_NAME, "typed");
        PostMessage(WM_COMMAND, IDOK, (LPARAM)::GetDlgItem(m_hWnd, IDOK));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProgramDialog, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class CProgramPage : public CPropertyPage {
public:
    explicit CProgramPage(UINT nID) : CPropertyPage(nID) {}
    int m_nApplied = 0;
    BOOL OnApply() override
    {
        ++m_nApplied;
        return CPropertyPage::OnApply();
    }
};

class CProgramSheet : public CPropertySheet {
public:
    CProgramSheet() : CPropertySheet("Settings") {}
    BOOL OnInitDialog() override
    {
        CPropertySheet::OnInitDialog();
        SetTimer(1, 50, NULL);
        return TRUE;
    }

protected:
    afx_msg void OnTimer(UINT_PTR)
    {
        KillTimer(1);
        PressButton(PSBTN_OK);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProgramSheet, CPropertySheet)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class CProgramWindow : public CWnd {
public:
    CMenu m_menu;

    // Commands the window does not handle go on to the application, as a
    // frame routes them.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return AfxGetApp()->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    INT_PTR m_nDialogResult = 0, m_nSheetResult = 0;
    CString m_strName;
    int m_nPagesApplied = 0;
    int m_nIdleUpdates = 0;

protected:
    afx_msg void OnDialog()
    {
        CProgramDialog dlg;
        m_nDialogResult = dlg.DoModal();
        m_strName = dlg.m_strName;
        PostMessage(WM_COMMAND, IDM_APP_SHEET);
    }
    afx_msg void OnSheet()
    {
        CProgramSheet sheet;
        CProgramPage page1(IDD_PAGE1), page2(IDD_PAGE2);
        sheet.AddPage(&page1);
        sheet.AddPage(&page2);
        m_nSheetResult = sheet.DoModal();
        m_nPagesApplied = page1.m_nApplied + page2.m_nApplied;
        PostMessage(WM_COMMAND, IDM_APP_EXIT);
    }
    afx_msg LRESULT OnIdleUpdate(WPARAM, LPARAM)
    {
        ++m_nIdleUpdates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProgramWindow, CWnd)
    ON_COMMAND(IDM_APP_DIALOG, OnDialog)
    ON_COMMAND(IDM_APP_SHEET, OnSheet)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

class CProgramApp : public CWinApp {
public:
    CProgramApp() : CWinApp("Program") {}
    CProgramWindow m_window;

    BOOL InitInstance() override
    {
        if (!m_window.m_menu.LoadMenu(IDR_APP_MENU))
            return FALSE;
        if (!m_window.CreateEx(0, AfxRegisterWndClass(0), "Program", WS_OVERLAPPEDWINDOW, 20, 20, 400, 300, NULL,
                               m_window.m_menu.m_hMenu))
            return FALSE;
        m_pMainWnd = &m_window;
        m_window.ShowWindow(m_nCmdShow);
        m_window.UpdateWindow();
        return TRUE;
    }
    BOOL OnIdle(LONG lCount) override
    {
        BOOL bMore = CWinApp::OnIdle(lCount);
        // The user starts once the program is idle.
        if (!bMore && !m_bStarted) {
            m_bStarted = true;
            m_window.PostMessage(WM_COMMAND, IDM_APP_DIALOG);
        }
        return bMore;
    }
    bool m_bStarted = false;
    int ExitInstance() override { return CWinApp::ExitInstance() + 40; }

protected:
    DECLARE_MESSAGE_MAP()
};

// Exit is the application's command; the window routes it there.
BEGIN_MESSAGE_MAP(CProgramApp, CWinApp)
    ON_COMMAND(IDM_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

TEST(ProgramTest, MainWindowDialogAndSheetThroughAfxWinMain)
{
    CProgramApp app;
    int nExit = AfxWinMain(GetModuleHandleA(NULL), NULL, (LPSTR) "", SW_SHOWNORMAL);
    EXPECT_EQ(IDOK, app.m_window.m_nDialogResult);
    EXPECT_STREQ("typed", app.m_window.m_strName);
    EXPECT_EQ(IDOK, app.m_window.m_nSheetResult);
    EXPECT_EQ(1, app.m_window.m_nPagesApplied); // only the page shown
    EXPECT_GT(app.m_window.m_nIdleUpdates, 0);
    EXPECT_EQ(40, nExit); // the main window's end posted WM_QUIT(0)
    EXPECT_EQ(NULL, app.m_window.m_hWnd);
}

} // namespace
