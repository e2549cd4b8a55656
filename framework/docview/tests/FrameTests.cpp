// Frames and control bars: loading from resources, the bar layout
// protocol, the status line, idle updates, help mode and floating windows.
#include "DocViewTestApp.h"

using namespace dvtest;

namespace {

// A bar of fixed thickness and length that records its updates.
class StandInBar : public CControlBar {
public:
    StandInBar(int nThick, int nLength) : m_nThick(nThick), m_nLength(nLength)
    {
        m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
    }
    BOOL Create(CWnd* pParent, DWORD dwBarStyle, UINT nID, BOOL bVisible = TRUE)
    {
        m_dwStyle = dwBarStyle;
        return CWnd::Create(NULL, "", WS_CHILD | (bVisible ? WS_VISIBLE : 0), CRect(0, 0, 0, 0), pParent, nID);
    }
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
        if (bHorz)
            return CSize(bStretch ? 32767 : m_nLength, m_nThick);
        return CSize(m_nThick, bStretch ? 32767 : m_nLength);
    }
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisable) override
    {
        m_nUpdates++;
        m_pLastTarget = pTarget;
        m_bLastDisable = bDisable;
    }
    CRect RectInParent() const
    {
        CRect r;
        GetWindowRect(&r);
        ::MapWindowPoints(NULL, ::GetParent(m_hWnd), (LPPOINT)&r, 2);
        return r;
    }
    int m_nThick, m_nLength;
    int m_nUpdates = 0;
    CFrameWnd* m_pLastTarget = NULL;
    BOOL m_bLastDisable = FALSE;
};

CRect RectInParent(CWnd* pWnd)
{
    CRect r;
    pWnd->GetWindowRect(&r);
    ::MapWindowPoints(NULL, ::GetParent(pWnd->m_hWnd), (LPPOINT)&r, 2);
    return r;
}

// A plain frame with a plain client pane, for the layout tests.
class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Layout", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 700, 520)));
        ASSERT_TRUE(m_pane.Create(NULL, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), m_pFrame, AFX_IDW_PANE_FIRST));
    }
    void TearDown() override
    {
        for (StandInBar* p : m_bars)
            p->DestroyWindow();
        for (StandInBar* p : m_bars)
            delete p;
        if (m_pFrame != NULL && ::IsWindow(m_pFrame->m_hWnd))
            m_pFrame->DestroyWindow();
    }
    // Bars are laid out in the order they were added.
    StandInBar* AddBar(int nThick, int nLength, DWORD dwStyle, UINT nID, BOOL bVisible = TRUE)
    {
        StandInBar* p = new StandInBar(nThick, nLength);
        EXPECT_TRUE(p->Create(m_pFrame, dwStyle, nID, bVisible));
        ::SetWindowPos(p->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        m_bars.push_back(p);
        return p;
    }
    void LayOut(const CRect& rectClient)
    {
        m_pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposDefault, NULL, &rectClient);
    }

    CFrameWnd* m_pFrame = NULL;
    CWnd m_pane;
    std::vector<StandInBar*> m_bars;
};

} // namespace

// ---------------------------------------------------------------------------
// The layout protocol

TEST_F(LayoutTest, BarsTakeTheirEdgesInOrderAndTheClientGetsTheRest)
{
    StandInBar* pA = AddBar(20, 100, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 1);
    StandInBar* pB = AddBar(15, 80, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 2);
    StandInBar* pC = AddBar(22, 50, CBRS_BOTTOM, AFX_IDW_CONTROLBAR_FIRST + 3);
    StandInBar* pD = AddBar(30, 120, CBRS_LEFT, AFX_IDW_CONTROLBAR_FIRST + 4);
    StandInBar* pE = AddBar(40, 90, CBRS_RIGHT, AFX_IDW_CONTROLBAR_FIRST + 5);
    LayOut(CRect(0, 0, 600, 400));

    struct Case {
        CWnd* pWnd;
        CRect expected;
    } cases[] = {
        {pA, CRect(0, 0, 600, 20)},
        {pB, CRect(0, 20, 600, 35)},
        {pC, CRect(0, 378, 600, 400)},
        {pD, CRect(0, 35, 30, 378)},
        {pE, CRect(560, 35, 600, 378)},
        {&m_pane, CRect(30, 35, 560, 378)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, RectInParent(c.pWnd)) << ::GetDlgCtrlID(c.pWnd->m_hWnd);
}

TEST_F(LayoutTest, AQueryMovesNothingAndReportsTheSpace)
{
    AddBar(20, 100, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 1);
    AddBar(22, 150, CBRS_BOTTOM, AFX_IDW_CONTROLBAR_FIRST + 2);
    StandInBar* pLeft = AddBar(30, 120, CBRS_LEFT, AFX_IDW_CONTROLBAR_FIRST + 3);
    CRect rectBefore = RectInParent(pLeft);

    // Stretched: the space the client would get.
    CRect rectFree;
    CRect rectClient(0, 0, 600, 400);
    m_pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rectFree, &rectClient, TRUE);
    EXPECT_EQ(CRect(30, 20, 600, 378), rectFree);
    // Not stretched: the bars' total size (for horizontal bars the heights
    // add up and the widths keep the largest; the other way round for
    // vertical ones).
    CRect rectTotal;
    m_pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rectTotal, &rectClient, FALSE);
    EXPECT_EQ(CRect(0, 0, 150 + 30, 120), rectTotal);
    EXPECT_EQ(rectBefore, RectInParent(pLeft));
}

TEST_F(LayoutTest, HiddenBarsTakeNoSpaceAndBarsNeverExceedTheFreeSpace)
{
    AddBar(20, 100, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 1, FALSE);
    StandInBar* pWide = AddBar(500, 100, CBRS_LEFT, AFX_IDW_CONTROLBAR_FIRST + 2);
    StandInBar* pTall = AddBar(300, 100, CBRS_BOTTOM, AFX_IDW_CONTROLBAR_FIRST + 3);
    LayOut(CRect(0, 0, 400, 200));
    EXPECT_EQ(CRect(0, 0, 400, 200), RectInParent(pWide));   // clipped to the space
    EXPECT_EQ(CRect(400, 0, 400, 200), RectInParent(pTall)); // nothing left across
}

TEST_F(LayoutTest, DelayedShowHappensAtTheNextLayoutOrIdleUpdate)
{
    StandInBar* pBar = AddBar(25, 100, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 1, FALSE);
    m_pFrame->ShowControlBar(pBar, TRUE, TRUE);
    EXPECT_TRUE(pBar->IsVisible());
    EXPECT_FALSE(pBar->GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(m_pFrame->m_nIdleFlags & CFrameWnd::idleLayout);

    // The frame's idle update lays out and shows the bar.
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_TRUE(pBar->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(0u, m_pFrame->m_nIdleFlags);
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    EXPECT_EQ(CRect(0, 0, rectClient.Width(), 25), RectInParent(pBar));
    EXPECT_EQ(25, RectInParent(&m_pane).top);

    // Hiding at once gives the space back at once.
    m_pFrame->ShowControlBar(pBar, FALSE, FALSE);
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_EQ(0, RectInParent(&m_pane).top);

    // A bar's own idle update applies a pending change too.
    pBar->DelayShow(TRUE);
    pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_TRUE(pBar->GetStyle() & WS_VISIBLE);
}

TEST_F(LayoutTest, BarsRegisterWithTheFrameAndToggleByTheirId)
{
    StandInBar* pStatus = AddBar(20, 100, CBRS_BOTTOM, AFX_IDW_STATUS_BAR);
    EXPECT_EQ(pStatus, m_pFrame->GetControlBar(AFX_IDW_STATUS_BAR));
    EXPECT_EQ(m_pFrame, pStatus->GetDockingFrame());
    EXPECT_EQ(NULL, m_pFrame->GetControlBar(AFX_IDW_TOOLBAR));

    CTestCmdUI state;
    state.m_nID = ID_VIEW_STATUS_BAR;
    EXPECT_TRUE(m_pFrame->OnCmdMsg(ID_VIEW_STATUS_BAR, CN_UPDATE_COMMAND_UI, &state, NULL));
    EXPECT_EQ(1, state.m_nCheck);
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(pStatus->IsVisible());
    EXPECT_TRUE(m_pFrame->OnCmdMsg(ID_VIEW_STATUS_BAR, CN_UPDATE_COMMAND_UI, &state, NULL));
    EXPECT_EQ(0, state.m_nCheck);

    pStatus->DestroyWindow();
    EXPECT_EQ(NULL, m_pFrame->GetControlBar(AFX_IDW_STATUS_BAR));
}

TEST(ControlBarInsideRect, EdgesMarginsAndGripperComeOff)
{
    struct Case {
        DWORD dwStyle;
        CRect margins; // left, top, right, bottom
        BOOL bHorz;
        CRect expected;
    } cases[] = {
        {CBRS_TOP, CRect(0, 0, 0, 0), TRUE, CRect(0, 0, 100, 48)}, // CBRS_TOP has a bottom edge
        {CBRS_ALIGN_TOP, CRect(6, 2, 6, 2), TRUE, CRect(6, 2, 94, 48)},
        {CBRS_ALIGN_LEFT, CRect(6, 2, 6, 2), FALSE, CRect(2, 6, 98, 44)},
        {CBRS_ALIGN_TOP | CBRS_BORDER_ANY, CRect(0, 0, 0, 0), TRUE, CRect(2, 2, 98, 48)},
        {CBRS_ALIGN_TOP | CBRS_GRIPPER, CRect(0, 0, 0, 0), TRUE, CRect(7, 0, 100, 50)},
        {CBRS_ALIGN_LEFT | CBRS_GRIPPER, CRect(0, 0, 0, 0), FALSE, CRect(0, 7, 100, 50)},
        {CBRS_ALIGN_TOP | CBRS_GRIPPER | CBRS_FLOATING, CRect(0, 0, 0, 0), TRUE, CRect(0, 0, 100, 50)},
    };
    int nEdge = 2 * GetSystemMetrics(SM_CXBORDER);
    ASSERT_EQ(2, nEdge);
    for (const Case& c : cases) {
        StandInBar bar(10, 10);
        bar.m_dwStyle = c.dwStyle;
        bar.SetBorders(&c.margins);
        CRect rect(0, 0, 100, 50);
        bar.CalcInsideRect(rect, c.bHorz);
        EXPECT_EQ(c.expected, rect) << std::hex << c.dwStyle;
    }
}

TEST(ControlBarLayout, TheDefaultSizeIsTheBordersAcrossAndStretchAlong)
{
    StandInBar bar(10, 10);
    bar.m_dwStyle = CBRS_ALIGN_TOP;
    bar.SetBorders(6, 2, 6, 3);
    EXPECT_EQ(CSize(32767, 5), bar.CControlBar::CalcFixedLayout(TRUE, TRUE));
    EXPECT_EQ(CSize(12, 5), bar.CControlBar::CalcFixedLayout(FALSE, TRUE));
    EXPECT_EQ(CSize(5, 32767), bar.CControlBar::CalcFixedLayout(TRUE, FALSE));
    bar.SetBarStyle(0xFFFFFFFF);
    EXPECT_EQ((DWORD)CBRS_ALL, bar.GetBarStyle());
}

// ---------------------------------------------------------------------------
// Loading frames

TEST_F(DocViewTest, LoadFrameTakesTitleMenuAcceleratorsAndIcon)
{
    EXPECT_STREQ("Test App", m_pMain->GetTitle());
    EXPECT_EQ("Test App", Caption(m_pMain));
    EXPECT_TRUE(IsMenu(m_pMain->m_hMenuDefault));
    EXPECT_EQ(m_pMain->m_hMenuDefault, GetMenu(m_pMain->m_hWnd));
    EXPECT_TRUE(m_pMain->m_hAccelTable != NULL);
    EXPECT_EQ((UINT)IDR_MAINFRAME, m_pMain->m_nIDHelp);
    WNDCLASSA wc;
    char szClass[128];
    GetClassNameA(m_pMain->m_hWnd, szClass, sizeof(szClass));
    ASSERT_TRUE(GetClassInfoA(AfxGetInstanceHandle(), szClass, &wc));
    EXPECT_TRUE(wc.hIcon != NULL);
    EXPECT_TRUE(m_pMain->m_hWndMDIClient != NULL);
    EXPECT_EQ(m_pMain->m_hWndMDIClient, ::GetDlgItem(m_pMain->m_hWnd, AFX_IDW_PANE_FIRST));
}

TEST(LoadFrame, WithoutItsMenuATopLevelFrameFails)
{
    CFrameWnd* pFrame = new CFrameWnd;
    CPtrArray before;
    fx::GetFrameList(before);
    EXPECT_FALSE(pFrame->LoadFrame(IDR_NOMENU));
    // The object went with the failure.
    CPtrArray after;
    fx::GetFrameList(after);
    EXPECT_EQ(before.GetSize() - 1, after.GetSize());
}

TEST(LoadFrame, ASingleDocumentFrameShowsItsViewAndNamesTheDocumentFirst)
{
    TextDoc* pDoc = new TextDoc;
    pDoc->SetTitle("Report");
    CCreateContext context;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = RUNTIME_CLASS(TextView);
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, NULL, &context));
    TextView* pView = static_cast<TextView*>(pFrame->GetDlgItem(AFX_IDW_PANE_FIRST));
    ASSERT_TRUE(pView != NULL);
    EXPECT_EQ(pDoc, pView->GetDocument());
    EXPECT_EQ(0, pView->m_nInitialUpdates);
    pFrame->InitialUpdateFrame(pDoc, TRUE);
    EXPECT_EQ(1, pView->m_nInitialUpdates);
    EXPECT_EQ(pView, pFrame->GetActiveView());
    EXPECT_EQ(pDoc, pFrame->GetActiveDocument());
    EXPECT_TRUE(pFrame->IsWindowVisible());
    EXPECT_TRUE(pFrame->GetStyle() & FWS_PREFIXTITLE);
    CString s;
    pFrame->GetWindowText(s);
    EXPECT_STREQ("Report - Test App", s);
    // The view fills the client.
    CRect rectClient, rectView;
    pFrame->GetClientRect(&rectClient);
    pView->GetWindowRect(&rectView);
    EXPECT_EQ(rectClient.Size(), rectView.Size());
    // Closing the frame closes the (unmodified) document with it.
    int nAlive = TextDoc::s_nAlive;
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(nAlive - 1, TextDoc::s_nAlive);
}

// ---------------------------------------------------------------------------
// Status line

TEST_F(DocViewTest, TheStatusLineShowsPromptsAndTheIdleMessage)
{
    CStatic status;
    ASSERT_TRUE(status.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 20), m_pMain, AFX_IDW_STATUS_BAR));
    EXPECT_EQ(&status, m_pMain->GetMessageBar());
    auto Text = [&] {
        CString s;
        status.GetWindowText(s);
        return std::string((LPCSTR)s);
    };
    struct Case {
        UINT nID;
        const char* expected;
    } cases[] = {
        {ID_TEST_ROUTE, "Routes a command"}, // "prompt\ntip": the prompt
        {ID_TEST_FRAMECMD, "The frame's command"},
        {AFX_IDS_IDLEMESSAGE, "Ready"},
        {ID_TEST_NOHANDLER, ""}, // no string
    };
    for (const Case& c : cases) {
        m_pMain->SetMessageText(c.nID);
        EXPECT_EQ(c.expected, Text()) << c.nID;
    }
    m_pMain->SetMessageText("free text");
    EXPECT_EQ("free text", Text());
    // A pushed message comes back with WM_POPMESSAGESTRING.
    UINT nOld = (UINT)m_pMain->SendMessage(WM_SETMESSAGESTRING, ID_TEST_ROUTE);
    EXPECT_EQ("Routes a command", Text());
    m_pMain->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    EXPECT_EQ("Ready", Text());
    EXPECT_EQ(0u, nOld); // the free text had no id

    // Menu selection shows the item's prompt; closing the menu, the idle text.
    HMENU hMenu = GetMenu(m_pMain->m_hWnd);
    m_pMain->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_TEST_FRAMECMD, MF_STRING), (LPARAM)hMenu);
    EXPECT_EQ("The frame's command", Text());
    EXPECT_TRUE(m_pMain->IsTracking());
    EXPECT_EQ((UINT)ID_TEST_FRAMECMD, m_pMain->m_nIDTracking);
    m_pMain->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ("Ready", Text());
    EXPECT_FALSE(m_pMain->IsTracking());

    // An MDI child writes to its frame's status line.
    TextDoc* pDoc = New(m_pTextTemplate);
    FrameOf(pDoc)->SetMessageText("from the child");
    EXPECT_EQ("from the child", Text());
    status.DestroyWindow();
}

TEST_F(DocViewTest, TheApplicationsIdleWorkUpdatesFramesBarsAndFloatingWindows)
{
    StandInBar bar(20, 100);
    ASSERT_TRUE(bar.Create(m_pMain, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 7));
    // A floating frame owned by the main frame, with a bar of its own.
    CMiniFrameWnd* pMini = new CMiniFrameWnd;
    ASSERT_TRUE(pMini->Create(NULL, "Floating", WS_POPUP | WS_CAPTION | MFS_SYNCACTIVE, CRect(50, 50, 250, 200),
                              m_pMain));
    StandInBar floatingBar(20, 100);
    ASSERT_TRUE(floatingBar.Create(pMini, CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 1));
    pMini->ShowWindow(SW_SHOWNA);
    TextDoc* pDoc = New(m_pTextTemplate);
    CFrameWnd* pChild = FrameOf(pDoc);
    pChild->DelayRecalcLayout();
    m_pMain->m_nIdleFlags |= CFrameWnd::idleLayout;

    AfxInternalOnIdle(0);
    EXPECT_EQ(1, bar.m_nUpdates);
    EXPECT_EQ(m_pMain, bar.m_pLastTarget);
    EXPECT_TRUE(bar.m_bLastDisable);
    EXPECT_EQ(1, floatingBar.m_nUpdates);
    EXPECT_EQ(pMini, floatingBar.m_pLastTarget);
    EXPECT_EQ(0u, pChild->m_nIdleFlags);
    EXPECT_EQ(0u, m_pMain->m_nIdleFlags);
    // The bar took its place at the top of the frame.
    EXPECT_EQ(20, RectInParent(CWnd::FromHandle(m_pMain->m_hWndMDIClient)).top);
    floatingBar.DestroyWindow();
    pMini->DestroyWindow();
    bar.DestroyWindow();
}

// ---------------------------------------------------------------------------
// Floating windows

namespace {
class FloatSpy : public CWnd {
public:
    LRESULT OnFloatStatus(WPARAM wParam, LPARAM)
    {
        m_flags.push_back((DWORD)wParam);
        return 0;
    }
    std::vector<DWORD> m_flags;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(FloatSpy, CWnd)
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()
} // namespace

TEST_F(DocViewTest, FloatingWindowsFollowTheirOwnerFrame)
{
    FloatSpy owned, stranger;
    ASSERT_TRUE(owned.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "owned", WS_POPUP, 0, 0, 50, 50,
                               m_pMain->m_hWnd, NULL));
    ASSERT_TRUE(stranger.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "stranger", WS_POPUP, 0, 0, 50, 50,
                                  NULL, NULL));
    CMiniFrameWnd* pSync = new CMiniFrameWnd;
    ASSERT_TRUE(pSync->Create(NULL, "sync", WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_SYNCACTIVE | MFS_BLOCKSYSMENU,
                              CRect(100, 100, 300, 200), m_pMain));
    CMiniFrameWnd* pPlain = new CMiniFrameWnd;
    ASSERT_TRUE(pPlain->Create(NULL, "plain", WS_POPUP | WS_CAPTION, CRect(100, 250, 300, 350), m_pMain));
    pSync->ShowWindow(SW_SHOWNA);
    pPlain->ShowWindow(SW_SHOWNA);
    EXPECT_TRUE(pSync->GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_EQ(m_pMain->m_hWnd, ::GetWindow(pSync->m_hWnd, GW_OWNER));

    EXPECT_EQ(1, pSync->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE));
    EXPECT_EQ(0, pPlain->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE));

    m_pMain->NotifyFloatingWindows(FS_DEACTIVATE);
    EXPECT_FALSE(pSync->m_bActive);
    m_pMain->NotifyFloatingWindows(FS_ACTIVATE);
    EXPECT_TRUE(pSync->m_bActive);
    ASSERT_EQ(2u, owned.m_flags.size());
    EXPECT_EQ((DWORD)FS_DEACTIVATE, owned.m_flags[0]);
    EXPECT_EQ((DWORD)FS_ACTIVATE, owned.m_flags[1]);
    EXPECT_TRUE(stranger.m_flags.empty());

    // A disabled owner disables its floating windows; a hidden one hides them.
    m_pMain->NotifyFloatingWindows(FS_DISABLE | FS_HIDE);
    EXPECT_FALSE(pPlain->IsWindowEnabled());
    EXPECT_FALSE(pPlain->IsWindowVisible());
    m_pMain->NotifyFloatingWindows(FS_ENABLE | FS_SHOW);
    EXPECT_TRUE(pPlain->IsWindowEnabled());
    EXPECT_TRUE(pPlain->IsWindowVisible());

    // MDI children pass the notification to their top-level frame.
    TextDoc* pDoc = New(m_pTextTemplate);
    owned.m_flags.clear();
    FrameOf(pDoc)->NotifyFloatingWindows(FS_DEACTIVATE);
    ASSERT_EQ(1u, owned.m_flags.size());
    EXPECT_EQ((DWORD)FS_DEACTIVATE, owned.m_flags[0]);
    pSync->DestroyWindow();
    pPlain->DestroyWindow();
    owned.DestroyWindow();
    stranger.DestroyWindow();
}

// ---------------------------------------------------------------------------
// Help

TEST_F(DocViewTest, HelpModeEndsWithEscapeOrGivesTheCommandsHelp)
{
    // Escape: no help.
    m_pMain->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    m_pMain->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
    EXPECT_FALSE(m_pMain->m_bHelpMode);
    EXPECT_TRUE(m_pMain->m_helpCalls.empty());

    // A command chosen in help mode asks for its help instead of running.
    Log::Clear();
    m_pMain->PostMessage(WM_COMMAND, ID_TEST_FRAMECMD);
    m_pMain->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
    EXPECT_FALSE(m_pMain->m_bHelpMode);
    ASSERT_EQ(1u, m_pMain->m_helpCalls.size());
    EXPECT_EQ(HID_BASE_COMMAND + ID_TEST_FRAMECMD, m_pMain->m_helpCalls[0]);
    EXPECT_TRUE(Log::Lines().empty());

    // Outside help mode, the frame's help names the tracked menu item, or
    // the frame itself.
    m_pMain->m_helpCalls.clear();
    m_pMain->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_TEST_ROUTE, MF_STRING), (LPARAM)GetMenu(m_pMain->m_hWnd));
    EXPECT_TRUE(m_pMain->SendMessage(WM_COMMANDHELP, 0, 0));
    m_pMain->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_TRUE(m_pMain->SendMessage(WM_COMMANDHELP, 0, 0));
    ASSERT_EQ(2u, m_pMain->m_helpCalls.size());
    EXPECT_EQ(HID_BASE_COMMAND + ID_TEST_ROUTE, m_pMain->m_helpCalls[0]);
    EXPECT_EQ(HID_BASE_RESOURCE + IDR_MAINFRAME, m_pMain->m_helpCalls[1]);
}

TEST_F(DocViewTest, AClickInHelpModeAsksTheWindowUnderIt)
{
    TextDoc* pDoc = New(m_pTextTemplate);
    TextView* pView = ViewOf(pDoc);
    m_pMain->SetForegroundWindow();
    m_pMain->UpdateWindow();
    CRect rect;
    pView->GetWindowRect(&rect);
    CPoint pt = rect.CenterPoint();
    ASSERT_EQ(pView->m_hWnd, ::WindowFromPoint(pt));
    SetCursorPos(pt.x, pt.y);
    CPoint ptClient = pt;
    pView->ScreenToClient(&ptClient);
    // The click is taken from the queue with its point.
    pView->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptClient.x, ptClient.y));
    m_pMain->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
    ASSERT_EQ(1u, m_pMain->m_helpCalls.size());
    EXPECT_EQ(0x20000u + 4242u, m_pMain->m_helpCalls[0]);
}

// ---------------------------------------------------------------------------
// Tool bars, rebars and the stored bar state

TEST_F(LayoutTest, AToolBarLoadsItsButtonsAndFollowsTheCommands)
{
    CToolBar bad;
    ASSERT_TRUE(bad.Create(m_pFrame, WS_CHILD | CBRS_TOP, AFX_IDW_CONTROLBAR_FIRST + 9));
    EXPECT_FALSE(bad.LoadToolBar(IDR_BADBAR)); // shorter than it says
    EXPECT_FALSE(bad.LoadToolBar(12345));      // missing
    EXPECT_EQ(0, bad.GetCount());
    bad.DestroyWindow();

    CToolBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TESTBAR));
    EXPECT_EQ(4, bar.GetCount());
    struct Case {
        int nIndex;
        UINT nID;
    } cases[] = {{0, ID_FILE_NEW}, {1, 0}, {2, ID_TEST_FRAMECMD}, {3, ID_TEST_NOHANDLER}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.nID, bar.GetItemID(c.nIndex));
        if (c.nID != 0) {
            EXPECT_EQ(c.nIndex, bar.CommandToIndex(c.nID));
        }
    }
    EXPECT_EQ(-1, bar.CommandToIndex(ID_TEST_ROUTE));
    EXPECT_EQ(bar.m_hWnd, bar.GetToolBarCtrl().m_hWnd);

    // The frame routes the update: a command without a handler greys.
    m_pFrame->RecalcLayout();
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(bar.GetToolBarCtrl().IsButtonEnabled(ID_TEST_NOHANDLER));
    EXPECT_FALSE(bar.GetToolBarCtrl().IsButtonEnabled(ID_TEST_FRAMECMD)); // this plain frame has none

    // Laid out at the top, as high as its buttons plus the margins and the
    // bottom edge of CBRS_TOP.
    CRect rectButton;
    bar.GetItemRect(0, &rectButton);
    CRect rectBar = RectInParent(&bar);
    EXPECT_EQ(0, rectBar.top);
    EXPECT_EQ(rectButton.Height() + bar.m_cyTopBorder + bar.m_cyBottomBorder + 2, rectBar.Height());
    EXPECT_EQ(rectBar.bottom, RectInParent(&m_pane).top);
    bar.DestroyWindow();
}

// The strip's background colour (its top-left pixel) is transparent: the
// buttons show the bar's face around their pictures, never the magenta.
TEST_F(LayoutTest, AToolBarDrawsItsImagesWithTheBackgroundMaskedOut)
{
    CToolBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    ASSERT_TRUE(bar.LoadToolBar(IDR_MASKBAR));
    HIMAGELIST hil = (HIMAGELIST)bar.SendMessage(TB_GETIMAGELIST);
    ASSERT_TRUE(hil != NULL);
    EXPECT_EQ(2, ImageList_GetImageCount(hil));

    HDC hdcScreen = ::GetDC(NULL);
    HDC hdc = ::CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = ::CreateCompatibleBitmap(hdcScreen, 16, 16);
    ::ReleaseDC(NULL, hdcScreen);
    HGDIOBJ hOld = ::SelectObject(hdc, hbm);
    struct Case {
        int iImage;
        COLORREF clrInside;
    } cases[] = {{0, RGB(0, 0, 0)}, {1, RGB(0, 0, 255)}};
    for (const Case& c : cases) {
        RECT rc = {0, 0, 16, 16};
        ::FillRect(hdc, &rc, (HBRUSH)::GetStockObject(WHITE_BRUSH));
        ASSERT_TRUE(ImageList_Draw(hil, c.iImage, hdc, 0, 0, ILD_TRANSPARENT));
        EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(hdc, 1, 1)) << c.iImage;
        EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(hdc, 14, 14)) << c.iImage;
        EXPECT_EQ(c.clrInside, ::GetPixel(hdc, 7, 7)) << c.iImage;
    }
    ::SelectObject(hdc, hOld);
    ::DeleteObject(hbm);
    ::DeleteDC(hdc);

    // Loading again replaces the images (the old list is freed by the bar).
    ASSERT_TRUE(bar.LoadBitmap(IDR_MASKBAR));
    EXPECT_EQ(2, ImageList_GetImageCount((HIMAGELIST)bar.SendMessage(TB_GETIMAGELIST)));
    bar.DestroyWindow();
}

TEST_F(LayoutTest, ARebarHoldsBarsAsBandsAndTakesItsHeight)
{
    CReBar rebar;
    ASSERT_TRUE(rebar.Create(m_pFrame));
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(&rebar, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TESTBAR));
    ASSERT_TRUE(rebar.AddBar(&bar));
    EXPECT_EQ(1u, rebar.GetReBarCtrl().GetBandCount());
    EXPECT_EQ(rebar.m_hWnd, ::GetParent(bar.m_hWnd));
    m_pFrame->RecalcLayout();
    CRect rectRebar = RectInParent(&rebar);
    EXPECT_EQ(0, rectRebar.top);
    EXPECT_EQ((int)rebar.GetReBarCtrl().GetBarHeight() + 2, rectRebar.Height()); // and the bottom edge
    EXPECT_GT(rectRebar.Height(), 0);
    EXPECT_EQ(rectRebar.bottom, RectInParent(&m_pane).top);
    bar.DestroyWindow();
    rebar.DestroyWindow();
}

TEST_F(DocViewTest, TheBarsVisibilityIsStoredAndRestored)
{
    StandInBar status(20, 100), tools(25, 100);
    ASSERT_TRUE(status.Create(m_pMain, CBRS_BOTTOM, AFX_IDW_STATUS_BAR));
    ASSERT_TRUE(tools.Create(m_pMain, CBRS_TOP, AFX_IDW_TOOLBAR));
    m_pMain->ShowControlBar(&tools, FALSE, FALSE);
    m_pMain->SaveBarState("Control Bar State");
    EXPECT_EQ(2u, App().GetProfileInt("Control Bar State-Summary", "Bars", 0));
    EXPECT_EQ((UINT)AFX_IDW_STATUS_BAR, App().GetProfileInt("Control Bar State-Bar0", "BarID", 0));
    EXPECT_EQ(1u, App().GetProfileInt("Control Bar State-Bar0", "Visible", 9));
    EXPECT_EQ(0u, App().GetProfileInt("Control Bar State-Bar1", "Visible", 9));

    // Swapped on screen, then restored from the profile.
    m_pMain->ShowControlBar(&tools, TRUE, FALSE);
    m_pMain->ShowControlBar(&status, FALSE, FALSE);
    m_pMain->LoadBarState("Control Bar State");
    EXPECT_TRUE(status.IsVisible());
    EXPECT_FALSE(tools.IsVisible());
    EXPECT_EQ(0, RectInParent(CWnd::FromHandle(m_pMain->m_hWndMDIClient)).top);

    // Damaged values change nothing.
    App().WriteProfileInt("Control Bar State-Bar0", "Visible", 7);
    App().WriteProfileInt("Control Bar State-Summary", "Bars", -3);
    m_pMain->LoadBarState("Control Bar State");
    EXPECT_TRUE(status.IsVisible());
    App().WriteProfileInt("Control Bar State-Summary", "Bars", 2);
    m_pMain->LoadBarState("Control Bar State");
    EXPECT_TRUE(status.IsVisible());
    status.DestroyWindow();
    tools.DestroyWindow();
}
