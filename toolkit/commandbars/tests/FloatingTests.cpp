// Floating toolbars, print preview and dock bars in a real MDI main frame:
// the bars step aside for a print preview and come back as they were, a
// click on a floating toolbar leaves the focus in the document, the caption
// close button hides the bar, floating bars follow the frame's activation,
// a double click docks a floating bar back into its row, "Windows XP" with a
// visual style gives floating bars the style's caption and frame, and dock bars paint
// through the paint manager (screenshots in the build folder). Open menus
// take no activation from the frame and show the shortcut table's texts.
#include <qx/framehost.h>
#include <qx/edit.h>
#include <qx/images.h>
#include <qx/listcontrols.h>
#include <qx/popup.h>
#include <qx/themes.h>
#include <qx/visualstyles.h>
#include <qxresource.h>

#include <gtest/gtest.h>
#include <qmtest/cbframe.h>
#include <qmtest/mouse.h>
#include <qmtest/popupbar.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>

#include <string>
#include <vector>

#include "cbtest_ids.h"
#include "../../foundation/tests/QxTestSupport.h"

namespace {

using qmtest::PumpUntil;

void PumpPending()
{
    qmtest::PumpMessages();
}

class CFloatTestFrame : public qmtest::CommandBarTestFrame {
public:
    CFloatTestFrame()
        : CommandBarTestFrame(IDR_TEST_MENU, &m_pMenuBar,
                              {{"Standard", &m_pStandard, IDR_TEST_TOOLBAR, {}},
                               {"Format", &m_pFormat, 0, {ID_TEST_UNDO, 0, ID_TEST_ANSI, ID_TEST_UTF8}}})
    {
    }
    std::vector<UINT> commands;
    // (bar, visible) of every WM_QXP_TOOLBARVISIBLECHANGED.
    std::vector<std::pair<CQXPToolBar*, BOOL>> visibility;
    std::vector<int> offered; // ids offered with WM_COMMANDBARS_CREATECONTROL
    std::vector<int> created; // ids announced with WM_COMMANDBARS_CONTROLCREATED
    std::vector<CQXPCommandBar*> resets;
    // What the site heard of popups: (message, popup), in order.
    std::vector<std::pair<UINT, CQXPCommandBar*>> popupNotes;
    int nTypeFor = 0; // an id whose control type the frame chooses
    int nTypeChosen = 0;
    int nDeactivations = 0;
    CQXPMenuBar* m_pMenuBar = NULL;
    CQXPToolBar* m_pStandard = NULL;
    CQXPToolBar* m_pFormat = NULL;

protected:
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
    {
        if (nState == WA_INACTIVE)
            nDeactivations++;
        CQXPMDIFrameWnd::OnActivate(nState, pWndOther, bMinimized);
    }
    afx_msg void OnOpen() { commands.push_back(ID_TEST_OPEN); }
    afx_msg void OnSave() { commands.push_back(ID_TEST_SAVE); }
    afx_msg void OnUndo() { commands.push_back(ID_TEST_UNDO); }
    afx_msg LRESULT OnVisibleChanged(WPARAM wParam, LPARAM lParam)
    {
        visibility.push_back({(CQXPToolBar*)wParam, (BOOL)lParam});
        return 0;
    }
    afx_msg LRESULT OnCreateControl(WPARAM, LPARAM lParam)
    {
        QXP_CREATECONTROL_RECORD* pRec = (QXP_CREATECONTROL_RECORD*)lParam;
        offered.push_back(pRec->nID);
        if (pRec->nID == nTypeFor && nTypeChosen != 0) {
            pRec->controlType = nTypeChosen;
            return TRUE;
        }
        return FALSE;
    }
    afx_msg LRESULT OnControlCreated(WPARAM, LPARAM lParam)
    {
        QXP_CREATECONTROL_RECORD* pRec = (QXP_CREATECONTROL_RECORD*)lParam;
        if (pRec->pControl)
            created.push_back(pRec->pControl->GetID());
        return 0;
    }
    afx_msg LRESULT OnBarReset(WPARAM, LPARAM lParam)
    {
        resets.push_back((CQXPCommandBar*)lParam);
        return 0;
    }
    afx_msg LRESULT OnPopupOpening(WPARAM, LPARAM lParam)
    {
        popupNotes.push_back({WM_QXP_INITCOMMANDSPOPUP, (CQXPCommandBar*)lParam});
        return 0;
    }
    afx_msg LRESULT OnPopupClosed(WPARAM, LPARAM lParam)
    {
        popupNotes.push_back({WM_QXP_UNINITCOMMANDSPOPUP, (CQXPCommandBar*)lParam});
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFloatTestFrame, qmtest::CommandBarTestFrame)
    ON_WM_ACTIVATE()
    ON_COMMAND(ID_TEST_OPEN, OnOpen)
    ON_COMMAND(ID_TEST_SAVE, OnSave)
    ON_COMMAND(ID_TEST_UNDO, OnUndo)
    ON_MESSAGE(WM_QXP_TOOLBARVISIBLECHANGED, OnVisibleChanged)
    ON_MESSAGE(WM_COMMANDBARS_CREATECONTROL, OnCreateControl)
    ON_MESSAGE(WM_COMMANDBARS_CONTROLCREATED, OnControlCreated)
    ON_MESSAGE(WM_QXP_BARRESET, OnBarReset)
    ON_MESSAGE(WM_QXP_INITCOMMANDSPOPUP, OnPopupOpening)
    ON_MESSAGE(WM_QXP_UNINITCOMMANDSPOPUP, OnPopupClosed)
END_MESSAGE_MAP()

// The menu-popup events of this thread's windows: (event, window).
std::vector<std::pair<DWORD, HWND>> g_menuEvents;

void CALLBACK RecordMenuEvent(HWINEVENTHOOK, DWORD dwEvent, HWND hWnd, LONG idObject, LONG, DWORD, DWORD)
{
    if (idObject == OBJID_CLIENT)
        g_menuEvents.push_back({dwEvent, hWnd});
}

class CFloatTestChild : public CMDIChildWnd {
public:
    void PostNcDestroy() override { delete this; }
};

BOOL CALLBACK ClosePreview(CFrameWnd*)
{
    return TRUE;
}

class FloatingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.Create(NULL, "Floating toolbars test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 CRect(0, 0, 720, 480)));
        pBars = frame.GetCommandBars();
        ASSERT_NE(nullptr, pBars);
        frame.RecalcLayout();
        ActivateFrame();
        PumpPending();
    }
    void TearDown() override
    {
        if (hOther && ::IsWindow(hOther))
            ::DestroyWindow(hOther);
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        PumpPending();
        SetGlobalPaintManager(0);
    }
    void ActivateFrame()
    {
        ::SetForegroundWindow(frame.GetSafeHwnd());
        ::SetActiveWindow(frame.GetSafeHwnd());
        PumpUntil([&] { return ::GetActiveWindow() == frame.GetSafeHwnd(); }, 2000);
    }
    // A second top-level window of the program, made active.
    void ActivateOther()
    {
        if (!hOther)
            hOther = ::CreateWindowExA(0, "STATIC", "Other window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 760, 40, 200,
                                       120, NULL, NULL, ::GetModuleHandleA(NULL), NULL);
        ASSERT_NE((HWND)NULL, hOther);
        ::SetForegroundWindow(hOther);
        ::SetActiveWindow(hOther);
        ASSERT_TRUE(PumpUntil([&] { return ::GetActiveWindow() == hOther; }, 2000));
    }
    // An MDI child with an edit box that has the focus.
    HWND NewEditInChild()
    {
        CFloatTestChild* pChild = new CFloatTestChild;
        if (!pChild->Create(NULL, "Document", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(10, 10, 300, 200),
                            &frame)) {
            delete pChild;
            return NULL;
        }
        HWND hEdit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 200, 100,
                                       pChild->GetSafeHwnd(), (HMENU)100, ::GetModuleHandleA(NULL), NULL);
        PumpPending();
        ::SetFocus(hEdit);
        return hEdit;
    }
    // A real click (or double click) at a screen point.
    static void Click(CPoint ptScreen, int nClicks = 1)
    {
        ::SetCursorPos(ptScreen.x, ptScreen.y);
        PumpPending();
        INPUT inputs[4] = {};
        for (int i = 0; i < 2 * nClicks; i++) {
            inputs[i].type = INPUT_MOUSE;
            inputs[i].mi.dwFlags = (i % 2) ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
        }
        ::SendInput((UINT)(2 * nClicks), inputs, sizeof(INPUT));
    }
    static CPoint ScreenCenter(CQXPCommandBar* pBar, const CRect& rcClient)
    {
        CPoint pt = rcClient.CenterPoint();
        ::ClientToScreen(pBar->GetSafeHwnd(), &pt);
        return pt;
    }
    // A point of the floating caption left of its buttons.
    static CPoint CaptionPoint(CQXPToolBar* pBar)
    {
        CPoint pt(12, 8);
        ::ClientToScreen(pBar->GetSafeHwnd(), &pt);
        return pt;
    }
    CPoint FloatPoint(int dx, int dy)
    {
        CRect rc;
        frame.GetWindowRect(&rc);
        return CPoint(rc.left + dx, rc.top + dy);
    }
    static BOOL Shown(CWnd* pWnd) { return ::IsWindowVisible(pWnd->GetSafeHwnd()); }

    CFloatTestFrame frame;
    CQXPCommandBars* pBars = NULL;
    HWND hOther = NULL;
};

// ---------------------------------------------------------------------------
// Print preview

TEST_F(FloatingTest, PrintPreviewHidesEveryBarAndBringsBackWhatWasShown)
{
    CQXPToolBar* pStandard = frame.m_pStandard;
    CQXPToolBar* pFormat = frame.m_pFormat;
    CQXPToolBar* pFloating = pBars->Add("Floating", qxpBarTop);
    ASSERT_NE(nullptr, pFloating);
    ASSERT_TRUE(pFloating->SetFloating(FloatPoint(300, 220)));
    pFormat->SetVisible(FALSE); // the user had hidden this one
    ACCEL accel = {FVIRTKEY, VK_F5, ID_TEST_SAVE};
    pBars->GetKeyboardShortcuts()->SetAcceleratorTable(&accel, 1);
    auto pressF5 = [&] {
        MSG msg = {};
        msg.hwnd = frame.GetSafeHwnd();
        msg.message = WM_KEYDOWN;
        msg.wParam = VK_F5;
        msg.lParam = 1;
        return frame.PreTranslateMessage(&msg);
    };
    PumpPending();
    CQXPDockBar* pTop = pBars->GetDockBar(qxpBarTop);
    CRect rcTopBefore;
    pTop->GetWindowRect(&rcTopBefore);
    ASSERT_GT(rcTopBefore.Height(), 0);

    CPrintPreviewState state;
    state.lpfnCloseProc = &ClosePreview;
    frame.OnSetPreviewMode(TRUE, &state);
    PumpPending();
    EXPECT_TRUE(frame.IsInPreviewMode());
    EXPECT_TRUE(pBars->IsPreviewMode());
    for (CQXPCommandBar* pBar : std::vector<CQXPCommandBar*>{frame.m_pMenuBar, pStandard, pFormat, pFloating})
        EXPECT_FALSE(Shown(pBar)) << pBar->GetTitle();
    for (int i = 0; i < 4; i++)
        EXPECT_FALSE(Shown(pBars->GetDockBar(i))) << "dock bar " << i;
    EXPECT_FALSE(pressF5()) << "no shortcut works in the preview";
    EXPECT_TRUE(frame.commands.empty());
    // The bars' own visibility is what comes back afterwards.
    EXPECT_TRUE(pStandard->IsVisible());
    EXPECT_FALSE(pFormat->IsVisible());

    frame.OnSetPreviewMode(FALSE, &state);
    PumpPending();
    EXPECT_FALSE(pBars->IsPreviewMode());
    EXPECT_TRUE(Shown(frame.m_pMenuBar));
    EXPECT_TRUE(Shown(pStandard));
    EXPECT_TRUE(Shown(pFloating)) << "the floating bar comes back too";
    EXPECT_FALSE(Shown(pFormat)) << "a bar hidden before stays hidden";
    EXPECT_FALSE(pFormat->IsVisible());
    for (int i = 0; i < 4; i++)
        EXPECT_TRUE(Shown(pBars->GetDockBar(i))) << "dock bar " << i;
    CRect rcTopAfter;
    pTop->GetWindowRect(&rcTopAfter);
    EXPECT_EQ(rcTopBefore, rcTopAfter) << "the rows take their old room again";
    EXPECT_EQ((HMENU)NULL, ::GetMenu(frame.GetSafeHwnd())) << "the menu bar still stands for the menu";
    EXPECT_TRUE(pressF5());
    ASSERT_EQ(1u, frame.commands.size());
    EXPECT_EQ((UINT)ID_TEST_SAVE, frame.commands[0]);

    // A bar shown while the preview lasts appears only when it ends.
    frame.OnSetPreviewMode(TRUE, &state);
    pFormat->SetVisible(TRUE);
    EXPECT_FALSE(Shown(pFormat));
    frame.OnSetPreviewMode(FALSE, &state);
    EXPECT_TRUE(Shown(pFormat));
}

// ---------------------------------------------------------------------------
// Clicks on a floating toolbar

TEST_F(FloatingTest, ClickOnAFloatingButtonRunsItsCommandAndLeavesTheFocusInTheDocument)
{
    HWND hEdit = NewEditInChild();
    ASSERT_NE((HWND)NULL, hEdit);
    ASSERT_EQ(hEdit, ::GetFocus());
    CQXPToolBar* pStandard = frame.m_pStandard;
    ASSERT_TRUE(pStandard->SetFloating(FloatPoint(360, 260)));
    PumpPending();
    ASSERT_EQ(hEdit, ::GetFocus());

    CQXPControl* pOpen = pStandard->GetControls()->FindControl(ID_TEST_OPEN);
    ASSERT_NE(nullptr, pOpen);
    int nDeactivations = frame.nDeactivations;
    Click(ScreenCenter(pStandard, pOpen->GetRect()));
    ASSERT_TRUE(PumpUntil([&] { return !frame.commands.empty(); }));
    PumpPending();
    EXPECT_EQ((UINT)ID_TEST_OPEN, frame.commands[0]);
    EXPECT_EQ(hEdit, ::GetFocus()) << "the document keeps the focus";
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetActiveWindow());
    EXPECT_EQ(nDeactivations, frame.nDeactivations);
    EXPECT_TRUE(Shown(pStandard));

    // A click on the caption beside the buttons does not take it either.
    Click(CaptionPoint(pStandard));
    PumpUntil([] { return ::GetCapture() == NULL; });
    PumpPending();
    EXPECT_EQ(hEdit, ::GetFocus());
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetActiveWindow());
    EXPECT_EQ(nDeactivations, frame.nDeactivations) << "the frame was never deactivated";
    EXPECT_EQ(MA_NOACTIVATE, (int)::SendMessageA(pStandard->GetSafeHwnd(), WM_MOUSEACTIVATE,
                                                 (WPARAM)frame.GetSafeHwnd(), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));
    // The bar answers the frame's question for the active look.
    EXPECT_EQ(1, (int)::SendMessageA(pStandard->GetSafeHwnd(), WM_FLOATSTATUS, FS_SYNCACTIVE, 0));
}

TEST_F(FloatingTest, FloatingBarIsResizedFromABandAlongEachEdge)
{
    CQXPToolBar* pStandard = frame.m_pStandard;
    HWND hWnd = pStandard->GetSafeHwnd();
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    EXPECT_EQ(HTCLIENT, (int)::SendMessageA(hWnd, WM_NCHITTEST, 0, MAKELPARAM(rc.left + 1, rc.top + 1)))
        << "a docked bar has no sizing edges";
    ASSERT_TRUE(pStandard->SetFloating(FloatPoint(200, 200)));
    ::GetWindowRect(hWnd, &rc);
    const struct {
        CPoint pt;
        int nHit;
    } cases[] = {
        {CPoint(rc.CenterPoint().x, rc.top + 1), HTTOP},
        {CPoint(rc.CenterPoint().x, rc.bottom - 2), HTBOTTOM},
        {CPoint(rc.left + 2, rc.CenterPoint().y), HTLEFT},
        {CPoint(rc.right - 1, rc.CenterPoint().y), HTRIGHT},
        {CPoint(rc.left + 3, rc.top + 3), HTCLIENT},
        {rc.CenterPoint(), HTCLIENT},
        // The corners answer no corner code: the top and bottom bands run
        // the full width and are asked first.
        {CPoint(rc.left, rc.top), HTTOP},
        {CPoint(rc.right - 1, rc.top + 2), HTTOP},
        {CPoint(rc.left + 1, rc.bottom - 1), HTBOTTOM},
        {CPoint(rc.right - 2, rc.bottom - 3), HTBOTTOM},
        // The side bands reach from the top band to the bottom band.
        {CPoint(rc.left + 2, rc.top + 3), HTLEFT},
        {CPoint(rc.right - 3, rc.bottom - 4), HTRIGHT},
        {CPoint(rc.right - 4, rc.bottom - 4), HTCLIENT},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nHit, (int)::SendMessageA(hWnd, WM_NCHITTEST, 0, MAKELPARAM(c.pt.x, c.pt.y)))
            << c.pt.x - rc.left << "," << c.pt.y - rc.top;

    // Dragging the right edge with the mouse narrows the bar: its buttons
    // stack in more rows.
    CPoint ptEdge(rc.right - 1, rc.CenterPoint().y);
    ::SetCursorPos(ptEdge.x, ptEdge.y);
    PumpPending();
    INPUT in[3] = {};
    in[0].type = in[1].type = in[2].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    int cxScreen = ::GetSystemMetrics(SM_CXSCREEN), cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    in[1].mi.dx = (LONG)(((rc.left + 30) * 65536LL + cxScreen - 1) / cxScreen);
    in[1].mi.dy = (LONG)((ptEdge.y * 65536LL + cyScreen - 1) / cyScreen);
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(3, in, sizeof(INPUT));
    ASSERT_TRUE(PumpUntil([&] {
        CRect rcNow;
        ::GetWindowRect(hWnd, &rcNow);
        return rcNow.Width() < rc.Width() && ::GetCapture() == NULL;
    }));
    CRect rcNarrow;
    ::GetWindowRect(hWnd, &rcNarrow);
    EXPECT_EQ(rc.left, rcNarrow.left) << "the left edge stays";
    EXPECT_GT(rcNarrow.Height(), rc.Height());
}

// ---------------------------------------------------------------------------
// The caption's close button

TEST_F(FloatingTest, CloseButtonHidesTheBarAndTheBarCanBeShownAgain)
{
    CQXPToolBar* pStandard = frame.m_pStandard;
    EXPECT_EQ(nullptr, pStandard->GetCloseButton()) << "no close button while docked";
    ASSERT_TRUE(pStandard->SetFloating(FloatPoint(300, 240)));
    PumpPending();
    CQXPControl* pClose = pStandard->GetCloseButton();
    ASSERT_NE(nullptr, pClose);
    EXPECT_EQ(QXP_ID_TOOLBAR_CLOSE, pClose->GetID());
    // At the right of the caption, 3 pixels from the top and right edges,
    // as tall as it is wide; no other button lies under it.
    CRect rcClient;
    pStandard->GetClientRect(&rcClient);
    CRect rcClose = pClose->GetRect();
    EXPECT_EQ(rcClient.right - 3, rcClose.right);
    EXPECT_EQ(3, rcClose.top);
    EXPECT_EQ(rcClose.Width(), rcClose.Height());
    for (int i = 0; i < pStandard->GetControlCount(); i++) {
        CQXPControl* pControl = pStandard->GetControl(i);
        if (!pControl->IsTemporary() && pControl->IsVisible()) {
            EXPECT_GE(pControl->GetRect().top, rcClose.bottom) << pControl->GetID();
        }
    }
    EXPECT_TRUE(pStandard->GetControls()->FindControl(QXP_ID_TOOLBAR_CLOSE)->IsTemporary());

    Click(ScreenCenter(pStandard, rcClose));
    ASSERT_TRUE(PumpUntil([&] { return !pStandard->IsVisible(); }));
    EXPECT_FALSE(Shown(pStandard));
    EXPECT_TRUE(frame.commands.empty()) << "the close button sends no command";
    ASSERT_FALSE(frame.visibility.empty());
    EXPECT_EQ(pStandard, frame.visibility.back().first);
    EXPECT_FALSE(frame.visibility.back().second);

    pStandard->SetVisible(TRUE);
    PumpPending();
    EXPECT_TRUE(pStandard->IsVisible());
    EXPECT_TRUE(Shown(pStandard));
    EXPECT_TRUE(pStandard->IsFloating());
    EXPECT_NE(nullptr, pStandard->GetCloseButton());
    EXPECT_TRUE(frame.visibility.back().second);

    // Docked again, the button goes out of the way.
    ASSERT_TRUE(pStandard->DockTo(qxpBarTop));
    PumpPending();
    EXPECT_EQ(nullptr, pStandard->GetCloseButton());
    EXPECT_NE(pClose, pStandard->GetControls()->HitTest(rcClose.CenterPoint()));
}

TEST_F(FloatingTest, ExpandButtonOpensWithTheFirstClickDockedAndInTheCaption)
{
    CQXPToolBar* pStandard = frame.m_pStandard;
    for (BOOL bFloating : {FALSE, TRUE}) {
        SCOPED_TRACE(bFloating ? "floating" : "docked");
        if (bFloating) {
            ASSERT_TRUE(pStandard->SetFloating(FloatPoint(300, 240)));
            PumpPending();
        }
        CQXPControl* pExpand = pStandard->GetExpandButton();
        ASSERT_NE(nullptr, pExpand);
        if (bFloating) {
            CQXPControl* pClose = pStandard->GetCloseButton();
            ASSERT_NE(nullptr, pClose);
            EXPECT_EQ(pClose->GetRect(), pExpand->GetRect() + CPoint(pClose->GetRect().Width(), 0))
                << "directly left of the close button, the same size";
        }
        Click(ScreenCenter(pStandard, pExpand->GetRect()));
        CQXPCommandBar* pPopup = NULL;
        ASSERT_TRUE(PumpUntil([&] {
            pPopup = pExpand->GetCommandBar();
            return pPopup && ::IsWindowVisible(pPopup->GetSafeHwnd());
        }));
        ASSERT_EQ(1, pPopup->GetControlCount()) << "nothing is hidden: only the list";
        CQXPControl* pAddRemove = pPopup->GetControl(0);
        EXPECT_EQ(QXP_ID_ADDREMOVE_BUTTONS, pAddRemove->GetID());
        ASSERT_NE(nullptr, pAddRemove->GetCommandBar());
        ASSERT_EQ(1, pAddRemove->GetCommandBar()->GetControlCount());
        EXPECT_EQ(std::string("Standard"), std::string(pAddRemove->GetCommandBar()->GetControl(0)->GetCaption()));
        pBars->ClosePopups();
        PumpPending();
        EXPECT_FALSE(::IsWindowVisible(pPopup->GetSafeHwnd()));
    }
    // Without the always-option the caption has only the close button.
    pBars->GetOptions()->m_bShowExpandButtonAlways = FALSE;
    pStandard->DelayLayout();
    pStandard->OnRecalcLayout();
    EXPECT_EQ(nullptr, pStandard->GetExpandButton());
    EXPECT_NE(nullptr, pStandard->GetCloseButton());
}

// "Windows XP" with a visual style active (the stand-in library, which
// records the parts drawn): the floating bar wears the style's small caption
// and tool-window frame, and the buttons on that caption light up in the
// style's button look and act on real clicks.
TEST_F(FloatingTest, WindowsXPFloatingBarWearsTheStylesCaptionAndFrameAndItsButtonsAct)
{
    qxtest::FakeUx fake;
    ASSERT_TRUE(fake.Loaded());
    fake.Set(L"fake.msstyles", L"NormalColor", true);
    CVisualStyleTheme::SetLibrary("qxfakeux.dll");
    struct Restore {
        ~Restore()
        {
            // The theme lets its handles go through the library that made them.
            SetGlobalPaintManager(0);
            CVisualStyleTheme::SetLibrary(NULL);
        }
    } restore;
    SetGlobalPaintManager(qxpThemeWindowsXP);
    ToolkitPaintThemeE* pTheme = dynamic_cast<ToolkitPaintThemeE*>(GetGlobalPaintManager());
    ASSERT_NE(nullptr, pTheme);
    ASSERT_TRUE(pTheme->IsThemed());

    CQXPToolBar* pStandard = frame.m_pStandard;
    ASSERT_TRUE(pStandard->SetFloating(FloatPoint(300, 240)));
    pBars->RedrawCommandBars();
    PumpPending();
    HWND hBar = pStandard->GetSafeHwnd();
    CRect rc;
    ::GetClientRect(hBar, &rc);
    CQXPControl* pClose = pStandard->GetCloseButton();
    CQXPControl* pExpand = pStandard->GetExpandButton();
    ASSERT_NE(nullptr, pClose);
    ASSERT_NE(nullptr, pExpand);

    fake.ResetDraws();
    ::RedrawWindow(hBar, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpPending();
    auto drawn = [&](const wchar_t* cls, int part) {
        std::vector<qxtest::FakeUx::Drawn> v;
        for (const qxtest::FakeUx::Drawn& d : fake.Draws())
            if (d.cls == cls && d.part == part)
                v.push_back(d);
        return v;
    };
    // The small caption across the top, at least 18 pixels tall, holding
    // both buttons at its right end.
    std::vector<qxtest::FakeUx::Drawn> caption = drawn(L"WINDOW", 2);
    ASSERT_FALSE(caption.empty());
    CRect rcCaption(caption.back().rc);
    EXPECT_EQ(CRect(0, 0, rc.right, rcCaption.bottom), rcCaption);
    EXPECT_GE(rcCaption.Height(), 18);
    EXPECT_EQ(rc.right - 3, pClose->GetRect().right);
    EXPECT_EQ(pClose->GetRect().left, pExpand->GetRect().right);
    for (CQXPControl* pButton : {pClose, pExpand}) {
        EXPECT_GE(pButton->GetRect().top, rcCaption.top);
        EXPECT_LE(pButton->GetRect().bottom, rcCaption.bottom);
    }
    // The frame pieces in the 3-pixel borders: left, right, bottom.
    struct {
        int part;
        CRect rc;
        CPoint pt; // a pixel that shows the piece
    } frameParts[] = {{10, CRect(0, 0, 3, rc.bottom), CPoint(1, rc.bottom / 2)},
                      {11, CRect(rc.right - 3, 0, rc.right, rc.bottom), CPoint(rc.right - 2, rc.bottom / 2)},
                      {12, CRect(0, rc.bottom - 3, rc.right, rc.bottom), CPoint(rc.right / 2, rc.bottom - 2)}};
    HDC hdc = ::GetDC(hBar);
    for (const auto& f : frameParts) {
        SCOPED_TRACE(f.part);
        std::vector<qxtest::FakeUx::Drawn> v = drawn(L"WINDOW", f.part);
        ASSERT_EQ(1u, v.size());
        EXPECT_EQ(f.rc, CRect(v[0].rc));
        EXPECT_EQ(fake.PartColor(f.part, v[0].state), ::GetPixel(hdc, f.pt.x, f.pt.y));
    }
    EXPECT_EQ(fake.PartColor(2, caption.back().state), ::GetPixel(hdc, rcCaption.right - 2, rcCaption.bottom - 1));
    ::ReleaseDC(hBar, hdc);
    EXPECT_TRUE(qmtest::SaveWindowShot(hBar, QM_BIN_DIR, "floating-winxp-styled.png"));

    // The pointer over the close button: the style's hot button under it.
    fake.ResetDraws();
    qmtest::MouseAt(ScreenCenter(pStandard, pClose->GetRect()), MOUSEEVENTF_MOVE);
    ASSERT_TRUE(PumpUntil([&] {
        for (const qxtest::FakeUx::Drawn& d : drawn(L"TOOLBAR", 1))
            if (d.state == 2 && CRect(d.rc) == pClose->GetRect())
                return true;
        return false;
    }));
    // A click closes the bar.
    Click(ScreenCenter(pStandard, pClose->GetRect()));
    ASSERT_TRUE(PumpUntil([&] { return !pStandard->IsVisible(); }));
    EXPECT_FALSE(Shown(pStandard));

    // Shown again, a click on the options button opens its menu.
    pStandard->SetVisible(TRUE);
    PumpPending();
    ASSERT_TRUE(Shown(pStandard));
    pExpand = pStandard->GetExpandButton();
    ASSERT_NE(nullptr, pExpand);
    Click(ScreenCenter(pStandard, pExpand->GetRect()));
    CQXPCommandBar* pPopup = NULL;
    ASSERT_TRUE(PumpUntil([&] {
        pPopup = pExpand->GetCommandBar();
        return pPopup && ::IsWindowVisible(pPopup->GetSafeHwnd());
    }));
    EXPECT_EQ(QXP_ID_ADDREMOVE_BUTTONS, pPopup->GetControl(pPopup->GetControlCount() - 1)->GetID());
    pBars->ClosePopups();
    PumpPending();
}

TEST_F(FloatingTest, ClosingATornOffBarRemovesIt)
{
    CQXPToolBar* pTorn = pBars->Add("Torn", qxpBarTop);
    ASSERT_NE(nullptr, pTorn);
    UINT nID = pTorn->GetBarID();
    const UINT ids[] = {ID_TEST_OPEN, ID_TEST_SAVE};
    pTorn->SetButtons(ids, 2);
    pTorn->m_bTearOff = TRUE;
    ASSERT_TRUE(pTorn->SetFloating(FloatPoint(200, 200)));
    PumpPending();
    int nCount = pBars->GetCount();
    HWND hWnd = pTorn->GetSafeHwnd();
    CQXPControl* pClose = pTorn->GetCloseButton();
    ASSERT_NE(nullptr, pClose);
    // The bar goes while its own click is being handled.
    Click(ScreenCenter(pTorn, pClose->GetRect()));
    ASSERT_TRUE(PumpUntil([&] { return pBars->GetCount() == nCount - 1; }));
    PumpPending();
    EXPECT_EQ(nullptr, pBars->GetToolBar(nID));
    EXPECT_FALSE(::IsWindow(hWnd));
}

// ---------------------------------------------------------------------------
// Floating bars follow the frame's activation

TEST_F(FloatingTest, FloatingBarsHideWhileTheFrameIsInactiveWhenSynchronised)
{
    CQXPToolBar* pStandard = frame.m_pStandard;
    ASSERT_TRUE(pStandard->SetFloating(FloatPoint(320, 240)));
    ASSERT_TRUE(pBars->GetOptions()->m_bSyncFloatingBars) << "on by default";
    const struct {
        BOOL bSync;
        BOOL bHidesWhenInactive;
    } cases[] = {{TRUE, TRUE}, {FALSE, FALSE}};
    for (const auto& c : cases) {
        pBars->GetOptions()->m_bSyncFloatingBars = c.bSync;
        ActivateFrame();
        ASSERT_TRUE(PumpUntil([&] { return Shown(pStandard) != FALSE; })) << c.bSync;
        ActivateOther();
        if (c.bHidesWhenInactive)
            EXPECT_TRUE(PumpUntil([&] { return !Shown(pStandard); })) << "hidden with the frame inactive";
        else
            qmtest::PumpFor(200);
        EXPECT_EQ(!c.bHidesWhenInactive, Shown(pStandard)) << c.bSync;
        EXPECT_TRUE(pStandard->IsVisible()) << "the bar itself stays visible";
        ActivateFrame();
        EXPECT_TRUE(PumpUntil([&] { return Shown(pStandard) != FALSE; })) << "back with the frame " << c.bSync;
    }
    // A bar the user hid stays hidden when the frame comes back.
    pBars->GetOptions()->m_bSyncFloatingBars = TRUE;
    pStandard->SetVisible(FALSE);
    ActivateOther();
    ActivateFrame();
    qmtest::PumpFor(100);
    EXPECT_FALSE(Shown(pStandard));
}

// ---------------------------------------------------------------------------
// Double clicks

TEST_F(FloatingTest, DoubleClickOnTheCaptionDocksTheBarBackIntoItsRow)
{
    CQXPToolBar* pStandard = frame.m_pStandard;
    CQXPToolBar* pFormat = frame.m_pFormat;
    CQXPDockBar* pTop = pBars->GetDockBar(qxpBarTop);
    PumpPending();
    // Two layouts: the bar alone in its row (between the menu bar and
    // Format), and sharing its row with Format.
    for (BOOL bShared : {FALSE, TRUE}) {
        SCOPED_TRACE(bShared ? "shared row" : "own row");
        if (bShared) {
            CRect rc;
            pStandard->GetWindowRect(&rc);
            CRect rcDrop(rc.right + 20, rc.top + 2, rc.right + 120, rc.bottom - 2);
            ASSERT_TRUE(pFormat->DockTo(qxpBarTop, &rcDrop));
            PumpPending();
        }
        BOOL bAlone = FALSE;
        int nRow = pTop->GetBarRow(pStandard, &bAlone);
        ASSERT_EQ(1, nRow);
        ASSERT_EQ(!bShared, bAlone);
        int nFormatRow = pTop->GetBarRow(pFormat, NULL);
        ASSERT_EQ(bShared ? 1 : 2, nFormatRow);

        ASSERT_TRUE(pStandard->SetFloating(FloatPoint(260, 260)));
        PumpPending();
        ASSERT_EQ(-1, pTop->FindBar(pStandard));
        Click(CaptionPoint(pStandard), 2);
        ASSERT_TRUE(PumpUntil([&] { return !pStandard->IsFloating(); }));
        PumpPending();
        EXPECT_EQ(pTop, pStandard->GetDockBar());
        EXPECT_EQ(1, pTop->GetBarRow(pStandard, &bAlone)) << "back in its row";
        EXPECT_EQ(!bShared, bAlone);
        EXPECT_EQ(nFormatRow, pTop->GetBarRow(pFormat, NULL));
        EXPECT_EQ(0, pTop->GetBarRow(frame.m_pMenuBar, NULL));
        EXPECT_TRUE(Shown(pStandard));
        EXPECT_TRUE(::GetWindowLongPtrA(pStandard->GetSafeHwnd(), GWL_STYLE) & WS_CHILD);
        if (bShared) {
            CRect rcStandard, rcFormat;
            pStandard->GetWindowRect(&rcStandard);
            pFormat->GetWindowRect(&rcFormat);
            EXPECT_LE(rcStandard.right, rcFormat.left) << "it keeps its place before Format";
            EXPECT_EQ(rcStandard.top, rcFormat.top);
        }
    }
}

TEST_F(FloatingTest, DoubleClickFloatsADockedBarOnlyWhenTheOptionAllowsIt)
{
    CQXPToolBar* pStandard = frame.m_pStandard;
    HWND hWnd = pStandard->GetSafeHwnd();
    // A point of the bar off its buttons.
    CRect rcClient;
    ::GetClientRect(hWnd, &rcClient);
    CPoint pt(-1, rcClient.Height() / 2);
    for (int x = 0; x < rcClient.Width(); x++) {
        if (!pStandard->GetControls()->HitTest(CPoint(x, pt.y))) {
            pt.x = x;
            break;
        }
    }
    ASSERT_GE(pt.x, 0);
    EXPECT_FALSE(pBars->GetOptions()->m_bDblClickFloat) << "off by default";
    ::SendMessageA(hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    EXPECT_FALSE(pStandard->IsFloating());
    pBars->GetOptions()->m_bDblClickFloat = TRUE;
    ::SendMessageA(hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    EXPECT_TRUE(pStandard->IsFloating());
    // A double click on a button is the button's, not the bar's.
    CQXPControl* pOpen = pStandard->GetControls()->FindControl(ID_TEST_OPEN);
    CPoint ptOpen = pOpen->GetRect().CenterPoint();
    // (the button's press ends with the release waiting in the queue)
    ::PostMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(ptOpen.x, ptOpen.y));
    ::SendMessageA(hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(ptOpen.x, ptOpen.y));
    PumpPending();
    EXPECT_TRUE(pStandard->IsFloating());
}

// ---------------------------------------------------------------------------
// Loading and resetting

TEST_F(FloatingTest, LoadingAToolbarAsksTheSiteAndKeepsTheIconSizeOfA16PixelStrip)
{
    CQXPToolBar* pBar = pBars->Add("Loaded", qxpBarTop);
    ASSERT_NE(nullptr, pBar);
    frame.offered.clear();
    frame.created.clear();
    frame.nTypeFor = ID_TEST_SAVE;
    frame.nTypeChosen = qxpControlButtonPopup;
    ASSERT_TRUE(pBar->LoadToolBar(IDR_TEST_TOOLBAR));
    std::vector<int> ids = {ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT};
    EXPECT_EQ(ids, frame.offered);
    EXPECT_EQ(ids, frame.created);
    EXPECT_EQ(CSize(0, 0), pBar->m_szIcons) << "16 pixels wide: no icon size of its own";
    EXPECT_EQ(CSize(16, 16), pBar->GetIconSize());
    EXPECT_EQ(IDR_TEST_TOOLBAR, (int)pBar->GetResourceId());
    CQXPControl* pSave = pBar->GetControls()->FindControl(ID_TEST_SAVE);
    ASSERT_NE(nullptr, pSave);
    EXPECT_EQ(qxpControlButtonPopup, pSave->GetType()) << "the site chose the type";
    EXPECT_EQ(ID_TEST_SAVE, pSave->GetIconId());
    EXPECT_TRUE(pSave->GetBeginGroup());
    EXPECT_EQ(qxpControlButton, pBar->GetControls()->FindControl(ID_TEST_OPEN)->GetType());
}

// The manager fills "Add or Remove Buttons" with one popup per bar of the
// row, titled after the bar; the bar's check items (and "Reset Toolbar")
// only where the frame allows customizing and the bar is the program's and
// customizable; with customizing allowed, the customize command closes the
// list in a group of its own.
struct AddRemoveCase {
    const char* name;
    BOOL bCustomizeAllowed;
    BOOL bBuiltIn;
    BOOL bCustomizable;
    int nItems;          // controls in the bar's popup
    BOOL bCustomizeItem; // the customize command follows
};

class AddRemoveTable : public FloatingTest, public ::testing::WithParamInterface<AddRemoveCase> {};

TEST_P(AddRemoveTable, ListsTheBarAndWhatCustomizingAllows)
{
    const AddRemoveCase& c = GetParam();
    CQXPToolBar* pStandard = frame.m_pStandard;
    pStandard->m_bBuiltIn = c.bBuiltIn;
    pStandard->m_bCustomizable = c.bCustomizable;
    frame.m_bCustomizeAllowed = c.bCustomizeAllowed;
    EXPECT_EQ(c.bCustomizeAllowed, pBars->IsCustomizeAllowed());
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pBars->FillExpandAddRemove(pStandard, pPopup);
    frame.m_bCustomizeAllowed = FALSE;

    CQXPControl* pBarItem = NULL;
    for (int i = 0; i < pPopup->GetControlCount(); i++)
        if (std::string(pPopup->GetControl(i)->GetCaption()) == "Standard")
            pBarItem = pPopup->GetControl(i);
    ASSERT_NE(nullptr, pBarItem) << "a popup titled after the bar";
    EXPECT_EQ(qxpControlPopup, pBarItem->GetType());
    ASSERT_NE(nullptr, pBarItem->GetCommandBar());
    CQXPControls* pItems = pBarItem->GetCommandBar()->GetControls();
    EXPECT_EQ(c.nItems, pItems->GetCount());
    if (c.nItems > 0) {
        EXPECT_EQ(ID_TEST_OPEN, pItems->GetAt(0)->GetID());
        EXPECT_EQ(1, pItems->GetAt(0)->GetChecked()) << "a shown button is checked";
        EXPECT_EQ(QXP_ID_RESET_TOOLBAR, pItems->GetAt(c.nItems - 1)->GetID());
    }
    CQXPControl* pLast = pPopup->GetControl(pPopup->GetControlCount() - 1);
    if (c.bCustomizeItem) {
        EXPECT_EQ(QXP_ID_CUSTOMIZE, pLast->GetID());
        EXPECT_TRUE(pLast->GetBeginGroup());
    } else {
        EXPECT_EQ(nullptr, pPopup->GetControls()->FindControl(QXP_ID_CUSTOMIZE));
    }
    pPopup->InternalRelease();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddRemoveTable,
    ::testing::Values(AddRemoveCase{"Allowed", TRUE, TRUE, TRUE, 4, TRUE},
                      AddRemoveCase{"NotAllowed", FALSE, TRUE, TRUE, 0, FALSE},
                      AddRemoveCase{"UserBar", TRUE, FALSE, TRUE, 0, TRUE},
                      AddRemoveCase{"NotCustomizable", TRUE, TRUE, FALSE, 0, TRUE}),
    [](const ::testing::TestParamInfo<AddRemoveCase>& info) { return std::string(info.param.name); });

// The expand popup offers "Add or Remove Buttons" where customizing is
// allowed even without the always-shown expand button; a floating bar sits
// in no dock row and offers no hidden controls of its own.
TEST_F(FloatingTest, ExpandPopupOffersTheListWhereCustomizingIsAllowed)
{
    CQXPToolBar* pStandard = frame.m_pStandard;
    pBars->GetOptions()->m_bShowExpandButtonAlways = FALSE;
    // Wide buttons in a narrow frame: a bar that hides what does not fit
    // (instead of wrapping) hides some and shows its expand button.
    pStandard->SetFlags(qxpFlagHideWrap);
    pStandard->SetButtonSize(CSize(90, 24));
    for (int cx = 400; cx > 40 && !pStandard->HasHiddenControls(); cx -= 10) {
        frame.SetWindowPos(NULL, 0, 0, cx, 480, SWP_NOZORDER | SWP_NOMOVE);
        frame.RecalcLayout();
    }
    ASSERT_TRUE(pStandard->HasHiddenControls());
    CQXPControl* pExpand = pStandard->GetExpandButton();
    ASSERT_NE(nullptr, pExpand);
    for (BOOL bAllowed : {FALSE, TRUE}) {
        SCOPED_TRACE(bAllowed ? "customizing allowed" : "not allowed");
        frame.m_bCustomizeAllowed = bAllowed;
        ASSERT_TRUE(pExpand->OnSetPopup(TRUE));
        CQXPCommandBar* pPopup = pExpand->GetCommandBar();
        ASSERT_NE(nullptr, pPopup);
        EXPECT_NE(nullptr, pPopup->GetControls()->FindControl(ID_TEST_EXIT)) << "the hidden button";
        CQXPControl* pAddRemove = pPopup->GetControls()->FindControl(QXP_ID_ADDREMOVE_BUTTONS);
        EXPECT_EQ(bAllowed, pAddRemove != nullptr);
        if (pAddRemove) {
            ASSERT_NE(nullptr, pAddRemove->GetCommandBar());
            EXPECT_NE(nullptr, pAddRemove->GetCommandBar()->GetControls()->FindControl(QXP_ID_CUSTOMIZE));
        }
        pExpand->OnSetPopup(FALSE);
        PumpPending();
    }
    frame.m_bCustomizeAllowed = FALSE;
    frame.SetWindowPos(NULL, 0, 0, 720, 480, SWP_NOZORDER | SWP_NOMOVE);
    frame.RecalcLayout();

    // Not docked: the manager adds nothing hidden from it, even a control
    // marked as not fitting.
    ASSERT_TRUE(pStandard->SetFloating(FloatPoint(300, 240)));
    PumpPending();
    CQXPControl* pSave = pStandard->GetControls()->FindControl(ID_TEST_SAVE);
    ASSERT_NE(nullptr, pSave);
    DWORD dwOld = pSave->GetHideFlags();
    pSave->SetHideFlags(qxpHideWrap);
    CQXPPopupBar* pHidden = CQXPPopupBar::CreateForOwner(pBars);
    EXPECT_EQ(0, pBars->FillExpandHiddenControls(pStandard, pHidden));
    EXPECT_EQ(1, CQXPCommandBars::AddHiddenControlsOf(pStandard, pHidden)) << "the bar's own, as a bar without a manager";
    pSave->SetHideFlags(dwOld);
    pHidden->InternalRelease();
}

TEST_F(FloatingTest, ResetBringsBackTheProgramsButtons)
{
    CQXPToolBar* pStandard = frame.m_pStandard;
    EXPECT_FALSE(pStandard->CanReset());
    std::vector<int> before;
    for (int i = 0; i < pStandard->GetControlCount(); i++)
        if (!pStandard->GetControl(i)->IsTemporary())
            before.push_back(pStandard->GetControl(i)->GetID());
    pStandard->GetControls()->Remove(pStandard->GetControls()->FindControl(ID_TEST_SAVE));
    EXPECT_TRUE(pStandard->CanReset());

    // "Add or Remove Buttons" ends with "Reset Toolbar" for the bar (where
    // the frame allows customizing).
    frame.m_bCustomizeAllowed = TRUE;
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pBars->FillExpandAddRemove(pStandard, pPopup);
    frame.m_bCustomizeAllowed = FALSE;
    CQXPControl* pBarItem = pPopup->GetControl(0);
    ASSERT_NE(nullptr, pBarItem);
    ASSERT_NE(nullptr, pBarItem->GetCommandBar());
    CQXPControls* pItems = pBarItem->GetCommandBar()->GetControls();
    CQXPControl* pResetItem = pItems->GetAt(pItems->GetCount() - 1);
    EXPECT_EQ(QXP_ID_RESET_TOOLBAR, pResetItem->GetID());
    EXPECT_EQ(std::string("&Reset Toolbar"), std::string(pResetItem->GetCaption()));
    EXPECT_TRUE(pResetItem->GetBeginGroup());
    pPopup->InternalRelease();

    pStandard->Reset(FALSE);
    std::vector<int> after;
    for (int i = 0; i < pStandard->GetControlCount(); i++)
        if (!pStandard->GetControl(i)->IsTemporary())
            after.push_back(pStandard->GetControl(i)->GetID());
    EXPECT_EQ(before, after);
    EXPECT_FALSE(pStandard->CanReset());
    ASSERT_EQ(1u, frame.resets.size());
    EXPECT_EQ(pStandard, frame.resets[0]);

    // A bar built from button ids resets to them as well.
    CQXPToolBar* pFormat = frame.m_pFormat;
    int nFormatCount = pFormat->GetControlCount();
    pFormat->GetControls()->Remove(pFormat->GetControls()->FindControl(ID_TEST_UNDO));
    ASSERT_TRUE(pFormat->CanReset());
    pFormat->Reset(FALSE);
    EXPECT_EQ(nFormatCount, pFormat->GetControlCount());
    EXPECT_NE(nullptr, pFormat->GetControls()->FindControl(ID_TEST_UNDO));
    EXPECT_FALSE(pFormat->CanReset());
    ASSERT_EQ(2u, frame.resets.size());

    // A bar the user made has nothing to go back to.
    CQXPToolBar* pCustom = pBars->Add("Custom 1", qxpBarTop);
    pCustom->m_bBuiltIn = FALSE;
    pCustom->Reset(FALSE);
    EXPECT_EQ(2u, frame.resets.size());
}

TEST_F(FloatingTest, AddOrRemoveListOffersTheProgramsButtonsAndCustomize)
{
    CQXPToolBar* pStandard = frame.m_pStandard;
    CQXPControls* pControls = pStandard->GetControls();
    // The user dragged Save off the bar and dropped Undo onto it.
    int nSaveIndex = pControls->FindControl(ID_TEST_SAVE)->GetIndex();
    pControls->Remove(pControls->FindControl(ID_TEST_SAVE));
    ASSERT_NE(nullptr, pControls->Add(qxpControlButton, ID_TEST_UNDO));

    frame.m_bCustomizeAllowed = TRUE;
    CQXPPopupBar* pPopup = NULL;
    // The bar's list in a freshly filled Add or Remove Buttons submenu
    // (pList: the submenu of the row's bars).
    auto fill = [&](CQXPCommandBar** ppList) -> CQXPControls* {
        if (pPopup)
            pPopup->InternalRelease();
        pPopup = CQXPPopupBar::CreateForOwner(pBars);
        pBars->FillExpandAddRemove(pStandard, pPopup);
        *ppList = pPopup;
        CQXPControl* pBarItem = pPopup->GetControl(0);
        return pBarItem && pBarItem->GetCommandBar() ? pBarItem->GetCommandBar()->GetControls() : NULL;
    };
    auto item = [](CQXPControls* pItems, int nId) { return pItems->FindControl(nId); };

    CQXPCommandBar* pList = NULL;
    CQXPControls* pItems = fill(&pList);
    ASSERT_NE(nullptr, pItems);
    // Save is back on the bar at its place, hidden by the user, and offered
    // unchecked; Undo is listed but cannot be switched, the program never
    // gave it to the bar.
    CQXPControl* pSave = pControls->FindControl(ID_TEST_SAVE);
    ASSERT_NE(nullptr, pSave);
    EXPECT_EQ(nSaveIndex, pSave->GetIndex());
    EXPECT_EQ((DWORD)qxpHideCustomize, pSave->GetHideFlags());
    const struct {
        int nId;
        int nChecked;
        BOOL bEnabled;
    } rows[] = {{ID_TEST_OPEN, 1, TRUE}, {ID_TEST_SAVE, 0, TRUE}, {ID_TEST_EXIT, 1, TRUE}, {ID_TEST_UNDO, 1, FALSE}};
    for (const auto& r : rows) {
        CQXPControl* pItem = item(pItems, r.nId);
        ASSERT_NE(nullptr, pItem) << r.nId;
        EXPECT_EQ(r.nChecked, pItem->GetChecked()) << r.nId;
        EXPECT_EQ(r.bEnabled, pItem->GetEnabled() ? TRUE : FALSE) << r.nId;
    }
    EXPECT_EQ(nullptr, item(pItems, QXP_ID_TOOLBAR_EXPAND));
    EXPECT_EQ(QXP_ID_RESET_TOOLBAR, pItems->GetAt(pItems->GetCount() - 1)->GetID());

    // Checking Save shows it on the bar again.
    item(pItems, ID_TEST_SAVE)->OnExecute();
    EXPECT_EQ(0u, pSave->GetHideFlags());
    EXPECT_EQ(1, item(pItems, ID_TEST_SAVE)->GetChecked());

    // Undo hidden by the user leaves the bar for good; "Customize..." ends
    // the list of bars.
    pControls->FindControl(ID_TEST_UNDO)->SetHideFlag(qxpHideCustomize, TRUE);
    pItems = fill(&pList);
    ASSERT_NE(nullptr, pItems);
    EXPECT_EQ(nullptr, pControls->FindControl(ID_TEST_UNDO));
    EXPECT_EQ(nullptr, item(pItems, ID_TEST_UNDO));
    ASSERT_EQ(2, pList->GetControlCount());
    CQXPControl* pCustomize = pList->GetControl(1);
    EXPECT_EQ(QXP_ID_CUSTOMIZE, pCustomize->GetID());
    EXPECT_TRUE(pCustomize->GetBeginGroup());
    pPopup->InternalRelease();

    // The expand popup offers the list when customizing is allowed, even
    // without the always-option.
    pBars->GetOptions()->m_bShowExpandButtonAlways = FALSE;
    CQXPControlToolbarExpand* pExpand =
        dynamic_cast<CQXPControlToolbarExpand*>(pControls->FindControl(QXP_ID_TOOLBAR_EXPAND));
    ASSERT_NE(nullptr, pExpand);
    ASSERT_TRUE(pExpand->OnSetPopup(TRUE));
    ASSERT_NE(nullptr, pExpand->GetCommandBar());
    EXPECT_NE(nullptr, pExpand->GetCommandBar()->GetControls()->FindControl(QXP_ID_ADDREMOVE_BUTTONS));
    pExpand->OnSetPopup(FALSE);
    frame.m_bCustomizeAllowed = FALSE;
}

TEST_F(FloatingTest, ShortestDockedToolbarHoldsItsFirstButtonAndTheExpandButton)
{
    CQXPToolBar* pStandard = frame.m_pStandard;
    pBars->GetOptions()->m_bShowExpandButtonAlways = FALSE;
    const DWORD dwMode = qxpLayoutHorz | qxpLayoutHorzDock | qxpLayoutHideWrap;
    // Measured for the shortest row, the bar asks for room for its first
    // button and the expand button; laid out at that width, both fit.
    CSize szShortest = pStandard->CalcDockingLayout(1, dwMode);
    CSize szCommitted = pStandard->CalcDockingLayout(szShortest.cx, dwMode | qxpLayoutCommit);
    EXPECT_EQ(szShortest.cx, szCommitted.cx);
    CQXPControl* pFirst = pStandard->GetControls()->FindControl(ID_TEST_OPEN);
    ASSERT_NE(nullptr, pFirst);
    EXPECT_TRUE(pFirst->IsVisible());
    CQXPControl* pExpand = pStandard->GetExpandButton();
    ASSERT_NE(nullptr, pExpand) << "the other buttons went to the expand popup";
    EXPECT_EQ(QXP_EXPAND_BUTTON_LENGTH, pExpand->GetRect().Width());
    EXPECT_LE(pFirst->GetRect().right, pExpand->GetRect().left);
    EXPECT_LE(pExpand->GetRect().right, szCommitted.cx);
    // With room for all, no room is asked for an expand button.
    CSize szFull = pStandard->CalcDockingLayout(2000, dwMode | qxpLayoutCommit);
    EXPECT_EQ(nullptr, pStandard->GetExpandButton());
    EXPECT_EQ(szFull, pStandard->CalcDockingLayout(2000, dwMode));
    pBars->RecalcFrameLayout();
}

// What the message box shown during a reset said, and the answer given.
struct BoxAnswer {
    int nAnswer = IDCANCEL;
    std::string strText;
};
BoxAnswer g_box;

BOOL CALLBACK CollectText(HWND hWnd, LPARAM)
{
    char sz[512] = "";
    ::GetWindowTextA(hWnd, sz, (int)sizeof(sz));
    g_box.strText += sz;
    g_box.strText += "|";
    return TRUE;
}

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR nID, DWORD)
{
    HWND hBox = ::GetActiveWindow();
    char szClass[32] = "";
    ::GetClassNameA(hBox, szClass, (int)sizeof(szClass));
    if (std::string(szClass) != "#32770")
        return;
    ::KillTimer(NULL, nID);
    ::EnumChildWindows(hBox, &CollectText, 0);
    ::PostMessageA(hBox, WM_COMMAND, (WPARAM)g_box.nAnswer, 0);
}

TEST_F(FloatingTest, ResetAsksFirstAndCancelKeepsTheBar)
{
    CQXPToolBar* pStandard = frame.m_pStandard;
    pStandard->GetControls()->Remove(pStandard->GetControls()->FindControl(ID_TEST_SAVE));
    const struct {
        int nAnswer;
        bool bReset;
    } cases[] = {{IDCANCEL, false}, {IDOK, true}};
    for (const auto& c : cases) {
        g_box = BoxAnswer();
        g_box.nAnswer = c.nAnswer;
        UINT_PTR nTimer = ::SetTimer(NULL, 0, 50, &AnswerBox);
        pStandard->Reset(TRUE);
        ::KillTimer(NULL, nTimer);
        EXPECT_NE(std::string::npos,
                  g_box.strText.find("Are you sure you want to reset the changes made to the 'Standard' toolbar?"))
            << g_box.strText;
        EXPECT_EQ(c.bReset, pStandard->GetControls()->FindControl(ID_TEST_SAVE) != nullptr) << c.nAnswer;
        EXPECT_EQ(c.bReset ? 1u : 0u, frame.resets.size());
    }
}

// ---------------------------------------------------------------------------
// Dock bars paint through the paint manager

bool SavePng(HWND hWnd, const std::string& strPath)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return qmtest::SaveScreenPng(rc, strPath);
}

// While the toolbars menu runs its own loop, a timer reads it and picks one
// entry with a real click of its window.
struct ToolbarsMenuProbe {
    std::vector<std::string> captions;
    std::vector<int> checked;
    std::string pick;
    BOOL bPicked = FALSE;
    int nTicks = 0;
};
ToolbarsMenuProbe g_probe;

void CALLBACK ProbeToolbarsMenu(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_probe.bPicked || ++g_probe.nTicks > 100)
        return;
    HWND hPopup = ::FindWindowA("QXPPopupBar", NULL);
    CQXPPopupBar* pPopup = hPopup ? dynamic_cast<CQXPPopupBar*>(CWnd::FromHandlePermanent(hPopup)) : NULL;
    if (!pPopup || !::IsWindowVisible(hPopup))
        return;
    g_probe.captions.clear();
    g_probe.checked.clear();
    CQXPControl* pPick = NULL;
    for (int i = 0; i < pPopup->GetControlCount(); i++) {
        CQXPControl* pControl = pPopup->GetControl(i);
        if (!pControl->IsVisible())
            continue;
        std::string caption = (LPCSTR)pControl->GetCaption();
        g_probe.captions.push_back(caption);
        g_probe.checked.push_back(pControl->GetChecked());
        if (caption.find(g_probe.pick) != std::string::npos)
            pPick = pControl;
    }
    g_probe.bPicked = TRUE;
    qmtest::ChooseOrClosePopup(hPopup, pPick);
}

TEST_F(FloatingTest, RightClickOnABarOrTheDockRowOffersTheToolbarsMenu)
{
    // A right click beside the buttons of a toolbar lists the bars that can
    // be closed, checked while shown; choosing one hides it.
    g_probe = ToolbarsMenuProbe();
    g_probe.pick = "Format";
    UINT_PTR nTimer = ::SetTimer(NULL, 0, 50, ProbeToolbarsMenu);
    CRect rc;
    frame.m_pStandard->GetClientRect(&rc);
    ::SendMessageA(frame.m_pStandard->GetSafeHwnd(), WM_RBUTTONDOWN, 0, MAKELPARAM(rc.right - 2, rc.bottom / 2));
    ::KillTimer(NULL, nTimer);
    PumpPending();
    ASSERT_TRUE(g_probe.bPicked);
    EXPECT_EQ((std::vector<std::string>{"Standard", "Format"}), g_probe.captions);
    EXPECT_EQ((std::vector<int>{1, 1}), g_probe.checked);
    EXPECT_FALSE(frame.m_pFormat->IsVisible());
    EXPECT_TRUE(frame.m_pStandard->IsVisible());
    EXPECT_EQ(0, ::FindWindowA("QXPPopupBar", NULL) ? (int)::IsWindowVisible(::FindWindowA("QXPPopupBar", NULL)) : 0);

    // The free part of the dock row offers the same menu; the hidden bar is
    // listed unchecked and comes back.
    g_probe = ToolbarsMenuProbe();
    g_probe.pick = "Format";
    nTimer = ::SetTimer(NULL, 0, 50, ProbeToolbarsMenu);
    CQXPDockBar* pTop = pBars->GetDockBar(qxpBarTop);
    ASSERT_NE(nullptr, pTop);
    CRect rcDock;
    pTop->GetClientRect(&rcDock);
    ::SendMessageA(pTop->GetSafeHwnd(), WM_RBUTTONDOWN, 0, MAKELPARAM(rcDock.right - 2, rcDock.bottom - 2));
    ::KillTimer(NULL, nTimer);
    PumpPending();
    ASSERT_TRUE(g_probe.bPicked);
    EXPECT_EQ((std::vector<int>{1, 0}), g_probe.checked);
    EXPECT_TRUE(frame.m_pFormat->IsVisible());

    // Nothing while customizing.
    g_probe = ToolbarsMenuProbe();
    pBars->SetCustomizeMode(TRUE);
    nTimer = ::SetTimer(NULL, 0, 50, ProbeToolbarsMenu);
    pBars->ContextMenu(CPoint(100, 100));
    PumpUntil([] { return g_probe.nTicks > 3; }, 1000);
    ::KillTimer(NULL, nTimer);
    pBars->SetCustomizeMode(FALSE);
    EXPECT_FALSE(g_probe.bPicked);
}

TEST_F(FloatingTest, DockedBarsShowAGripperToDragThemBy)
{
    CQXPToolBar* pBar = frame.m_pStandard;
    ASSERT_FALSE(pBar->IsFloating());
    ASSERT_TRUE(pBar->HasGripper()) << "bars start with the gripper bit";
    CSize szGrip = pBar->GetGripperSize();
    EXPECT_GT(szGrip.cx, 0) << "docked at the top: room on the left";
    EXPECT_EQ(0, szGrip.cy);
    CQXPControl* pFirst = pBar->GetControl(0);
    ASSERT_NE(nullptr, pFirst);
    int nLeft = pFirst->GetRect().left;
    EXPECT_GE(nLeft, szGrip.cx);

    // Without the gripper bit the buttons move into its room, and back.
    pBar->ShowGripper(FALSE);
    pBars->RecalcFrameLayout();
    PumpPending();
    EXPECT_EQ(CSize(0, 0), pBar->GetGripperSize());
    EXPECT_EQ(nLeft - szGrip.cx, pFirst->GetRect().left);
    pBar->ShowGripper(TRUE);
    pBars->RecalcFrameLayout();
    PumpPending();
    EXPECT_EQ(nLeft, pFirst->GetRect().left);

    // The style goes with a copy of the bar.
    pBar->ShowGripper(FALSE);
    CQXPCommandBar* pClone = pBar->Clone(FALSE);
    ASSERT_NE(nullptr, pClone);
    EXPECT_FALSE(pClone->HasGripper());
    pClone->InternalRelease();
    pBar->ShowGripper(TRUE);

    // A floating bar is dragged by its caption instead.
    CRect rcFrame;
    frame.GetWindowRect(&rcFrame);
    ASSERT_TRUE(pBar->SetFloating(CPoint(rcFrame.left + 200, rcFrame.top + 200)));
    PumpPending();
    EXPECT_EQ(CSize(0, 0), pBar->GetGripperSize());
}

TEST_F(FloatingTest, DockBarsPaintTheThemesBackgroundAndAreCapturedForReview)
{
    struct ThemeCase {
        int nTheme;
        const char* pszName;
    } cases[] = {{0, "win2000"}, {2, "office2003"}};
    CQXPDockBar* pTop = pBars->GetDockBar(qxpBarTop);
    HWND hTop = pTop->GetSafeHwnd();
    std::string strDir = QM_BIN_DIR;
    strDir += "/../screenshots";
    ::CreateDirectoryA(strDir.c_str(), NULL);
    std::vector<COLORREF> colors;
    for (const ThemeCase& tc : cases) {
        SCOPED_TRACE(tc.pszName);
        SetGlobalPaintManager(tc.nTheme);
        pBars->RedrawCommandBars();
        ::SetWindowPos(frame.GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        ::RedrawWindow(frame.GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpPending();
        ::Sleep(50);
        PumpPending();
        // A point of the dock bar right of the Standard toolbar's row.
        CRect rcDock, rcBar;
        ::GetClientRect(hTop, &rcDock);
        ::GetWindowRect(frame.m_pStandard->GetSafeHwnd(), &rcBar);
        ::MapWindowPoints(NULL, hTop, (LPPOINT)&rcBar, 2);
        ASSERT_LT(rcBar.right + 20, rcDock.right);
        CPoint pt(rcDock.right - 10, rcBar.CenterPoint().y);

        // What the paint manager draws for this dock bar ...
        HDC hdcScreen = ::GetDC(hTop);
        HDC hdcMem = ::CreateCompatibleDC(hdcScreen);
        HBITMAP hbm = ::CreateCompatibleBitmap(hdcScreen, rcDock.Width(), rcDock.Height());
        HGDIOBJ hOld = ::SelectObject(hdcMem, hbm);
        {
            CDC dc;
            dc.Attach(hdcMem);
            GetGlobalPaintManager()->FillDockBar(&dc, pTop);
            dc.Detach();
        }
        COLORREF clrExpected = ::GetPixel(hdcMem, pt.x, pt.y);
        // ... is what the window shows, and what it prints.
        COLORREF clrShown = ::GetPixel(hdcScreen, pt.x, pt.y);
        ::PatBlt(hdcMem, 0, 0, rcDock.Width(), rcDock.Height(), BLACKNESS);
        ::SendMessageA(hTop, WM_PRINTCLIENT, (WPARAM)hdcMem, PRF_CLIENT);
        COLORREF clrPrinted = ::GetPixel(hdcMem, pt.x, pt.y);
        ::SelectObject(hdcMem, hOld);
        ::DeleteObject(hbm);
        ::DeleteDC(hdcMem);
        ::ReleaseDC(hTop, hdcScreen);
        EXPECT_EQ(clrExpected, clrShown);
        EXPECT_EQ(clrExpected, clrPrinted);
        colors.push_back(clrShown);
        std::string strPath = strDir + "/floating-dockbar-" + tc.pszName + ".png";
        EXPECT_TRUE(SavePng(frame.GetSafeHwnd(), strPath)) << strPath;
    }
    EXPECT_NE(colors[0], colors[1]) << "the themes paint their dock bars differently";
}

// ---------------------------------------------------------------------------
// Open menus

// The point of a popup item's rectangle (client coordinates) on the screen.
CPoint ScreenPoint(CQXPCommandBar* pBar, CPoint ptClient)
{
    ::ClientToScreen(pBar->GetSafeHwnd(), &ptClient);
    return ptClient;
}

TEST_F(FloatingTest, ClicksInAnOpenMenuLeaveTheFrameActiveAndTheFocusInTheDocument)
{
    HWND hEdit = NewEditInChild();
    ASSERT_NE((HWND)NULL, hEdit);
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == hEdit; }, 2000));
    g_menuEvents.clear();
    // In context: the event reaches the hook while the closing menu's window
    // still exists (an out-of-context event arrives later, and Wine drops one
    // whose window has gone meanwhile).
    HWINEVENTHOOK hHook = ::SetWinEventHook(EVENT_SYSTEM_MENUPOPUPSTART, EVENT_SYSTEM_MENUPOPUPEND,
                                            ::GetModuleHandleA(NULL), RecordMenuEvent, ::GetCurrentProcessId(),
                                            ::GetCurrentThreadId(), WINEVENT_INCONTEXT);
    ASSERT_NE((HWINEVENTHOOK)NULL, hHook);
    frame.popupNotes.clear();
    int nDeactivations = frame.nDeactivations;

    CQXPCommandBar* pFile = frame.m_pMenuBar->GetControl(0)->GetCommandBar();
    ASSERT_NE(nullptr, pFile);
    ASSERT_TRUE(frame.m_pMenuBar->SetPopuped(0));
    HWND hPopup = pFile->GetSafeHwnd();
    ASSERT_TRUE(::IsWindowVisible(hPopup));
    ASSERT_EQ(3, pFile->GetControlCount()) << "Open, Save, and Exit after a separator";
    CRect rcSave = pFile->GetControl(1)->GetRect(), rcExit = pFile->GetControl(2)->GetRect();
    ASSERT_TRUE(pFile->GetControl(2)->GetBeginGroup());

    // A click on the separator: the menu stays open, the frame active.
    Click(ScreenPoint(pFile, CPoint(rcSave.CenterPoint().x, (rcSave.bottom + rcExit.top) / 2)));
    qmtest::PumpFor(300);
    EXPECT_TRUE(::IsWindowVisible(hPopup)) << "a click inside keeps the menu open";
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetActiveWindow());
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetForegroundWindow());
    EXPECT_EQ(hEdit, ::GetFocus());
    EXPECT_EQ(nDeactivations, frame.nDeactivations) << "the frame never lost the activation";

    // A click on an item runs its command and closes the menu; the document
    // keeps the focus.
    Click(ScreenPoint(pFile, pFile->GetControl(0)->GetRect().CenterPoint()));
    ASSERT_TRUE(PumpUntil([&] { return !frame.commands.empty(); }, 3000));
    EXPECT_EQ(ID_TEST_OPEN, frame.commands.back());
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(hPopup); }, 2000));
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetActiveWindow());
    EXPECT_EQ(hEdit, ::GetFocus());
    EXPECT_EQ(nDeactivations, frame.nDeactivations);

    // The site heard the popup open before its layout and close after.
    std::vector<std::pair<UINT, CQXPCommandBar*>> notes = {{WM_QXP_INITCOMMANDSPOPUP, pFile},
                                                           {WM_QXP_UNINITCOMMANDSPOPUP, pFile}};
    EXPECT_EQ(notes, frame.popupNotes);
    // Accessibility clients saw the menu popup start and end.
    PumpUntil([&] { return g_menuEvents.size() >= 2; }, 2000);
    ::UnhookWinEvent(hHook);
    std::vector<std::pair<DWORD, HWND>> events = {{EVENT_SYSTEM_MENUPOPUPSTART, hPopup},
                                                  {EVENT_SYSTEM_MENUPOPUPEND, hPopup}};
    EXPECT_EQ(events, g_menuEvents);
}

TEST_F(FloatingTest, PopupWindowsTakeSaveBitsAndTheFramesReadingOrderFromTheManager)
{
    struct Case {
        BOOL bSaveBits;
    } cases[] = {{TRUE}, {FALSE}};
    for (const Case& c : cases) {
        pBars->GetOptions()->m_bPopupSaveBits = c.bSaveBits;
        CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
        pPopup->GetControls()->Add(qxpControlButton, ID_TEST_SAVE);
        ASSERT_TRUE(pPopup->PopupAt(40, 40, NULL));
        HWND hPopup = pPopup->GetSafeHwnd();
        EXPECT_EQ(c.bSaveBits ? (UINT)CS_SAVEBITS : 0u, (UINT)::GetClassLongPtrA(hPopup, GCL_STYLE) & CS_SAVEBITS);
        EXPECT_EQ(0, ::GetWindowLongPtrA(hPopup, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
        pPopup->SetTrackingMode(FALSE);
        pPopup->InternalRelease();
    }
    pBars->GetOptions()->m_bPopupSaveBits = TRUE;

    // A frame laid out right to left gets popups laid out right to left.
    frame.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pPopup->GetControls()->Add(qxpControlButton, ID_TEST_SAVE);
    ASSERT_TRUE(pPopup->PopupAt(40, 40, NULL));
    EXPECT_NE(0, ::GetWindowLongPtrA(pPopup->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    pPopup->SetTrackingMode(FALSE);
    pPopup->InternalRelease();
    frame.ModifyStyleEx(WS_EX_LAYOUTRTL, 0);
}

// The window of a bar of the manager: a "QXPToolBar" child of its dock bar
// titled as the bar, turned into a popup owned by the frame and synchronised
// with it while floating, a child again when docked; laid out right to left
// with a right-to-left frame.
TEST_F(FloatingTest, BarWindowsAreChildrenOfTheirDockBarAndOwnedPopupsWhileFloating)
{
    CQXPToolBar* pBar = pBars->Add("Window test", qxpBarTop);
    ASSERT_NE(nullptr, pBar);
    const UINT ids[] = {ID_TEST_OPEN, ID_TEST_SAVE};
    pBar->SetButtons(ids, 2);
    HWND hBar = pBar->GetSafeHwnd();
    char szClass[64] = {}, szText[64] = {};
    ::GetClassNameA(hBar, szClass, sizeof(szClass));
    ::GetWindowTextA(hBar, szText, sizeof(szText));
    EXPECT_EQ(std::string("QXPToolBar"), szClass);
    EXPECT_EQ(std::string("Window test"), szText);
    EXPECT_EQ(pBars->GetDockBar(qxpBarTop)->GetSafeHwnd(), ::GetParent(hBar));
    EXPECT_EQ((LONG_PTR)pBar->GetBarID(), ::GetWindowLongPtrA(hBar, GWLP_ID));
    EXPECT_TRUE(::IsWindowVisible(hBar));

    ASSERT_TRUE(pBar->SetFloating(FloatPoint(300, 240)));
    EXPECT_EQ(hBar, pBar->GetSafeHwnd()) << "the same window floats";
    LONG_PTR nStyle = ::GetWindowLongPtrA(hBar, GWL_STYLE);
    EXPECT_EQ((LONG_PTR)(WS_POPUP | MFS_SYNCACTIVE), nStyle & (WS_POPUP | WS_CHILD | MFS_SYNCACTIVE));
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetWindow(hBar, GW_OWNER));
    EXPECT_EQ(1, ::SendMessageA(hBar, WM_FLOATSTATUS, FS_SYNCACTIVE, 0)) << "keeps the frame's caption active";

    ASSERT_TRUE(pBar->DockTo(qxpBarBottom));
    nStyle = ::GetWindowLongPtrA(hBar, GWL_STYLE);
    EXPECT_EQ((LONG_PTR)WS_CHILD, nStyle & (WS_POPUP | WS_CHILD | MFS_SYNCACTIVE));
    EXPECT_EQ(pBars->GetDockBar(qxpBarBottom)->GetSafeHwnd(), ::GetParent(hBar));
    EXPECT_EQ(0, ::SendMessageA(hBar, WM_FLOATSTATUS, FS_SYNCACTIVE, 0));

    // Made while the frame reads right to left.
    frame.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    CQXPToolBar* pRTL = pBars->Add("Right to left", qxpBarTop);
    ASSERT_NE(nullptr, pRTL);
    EXPECT_NE(0, ::GetWindowLongPtrA(pRTL->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    pBars->Remove(pRTL);
    frame.ModifyStyleEx(WS_EX_LAYOUTRTL, 0);
    EXPECT_EQ(0, ::GetWindowLongPtrA(hBar, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
}

TEST_F(FloatingTest, MenusShowTheShortcutTablesTextsNotTheMenuResources)
{
    // The resource says Ctrl+O for Open and Ctrl+S for Save; the table binds
    // Open to Ctrl+P and Save to nothing.
    ACCEL table[] = {{FCONTROL | FVIRTKEY, 'P', ID_TEST_OPEN}};
    pBars->GetKeyboardShortcuts()->SetAcceleratorTable(table, 1);
    CQXPCommandBar* pFile = frame.m_pMenuBar->GetControl(0)->GetCommandBar();
    ASSERT_NE(nullptr, pFile);
    struct Case {
        BOOL bMenuShortcuts;
        const char* pszOpen;
        const char* pszSave;
    } cases[] = {{FALSE, "Ctrl+O", "Ctrl+S"}, {TRUE, "Ctrl+P", ""}};
    for (const Case& c : cases) {
        pBars->GetOptions()->m_bMenuShortcuts = c.bMenuShortcuts;
        ASSERT_TRUE(frame.m_pMenuBar->SetPopuped(0));
        EXPECT_STREQ(c.pszOpen, pFile->GetControl(0)->GetShortcutText().GetString()) << c.bMenuShortcuts;
        EXPECT_STREQ(c.pszSave, pFile->GetControl(1)->GetShortcutText().GetString()) << c.bMenuShortcuts;
        frame.m_pMenuBar->SetPopuped(-1);
        PumpPending();
    }
}

TEST_F(FloatingTest, TheToolkitsOwnEditBoxesShowTheirMenuAsACommandBarPopupWithIcons)
{
    CFloatTestChild* pChild = new CFloatTestChild;
    ASSERT_TRUE(pChild->Create(NULL, "Document", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(10, 10, 300, 200),
                               &frame));
    CQXEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(4, 4, 200, 28), pChild, 101));
    edit.SetWindowText("some text");
    edit.SetSel(0, 0);
    PumpPending();

    // What the process-wide image manager holds for the menu's commands (the
    // program's own toolbars may have pictures for them).
    const UINT menuIds[] = {QX_ID_EDIT_UNDO, QX_ID_EDIT_CUT, QX_ID_EDIT_COPY, QX_ID_EDIT_PASTE, QX_ID_EDIT_CLEAR};
    std::vector<CQXPIconImage*> globalBefore;
    for (UINT nID : menuIds)
        globalBefore.push_back(GetGlobalImageManager()->GetImage(nID, 16));

    qmtest::PopupMenuProbe& probe = qmtest::MenuProbe();
    probe = qmtest::PopupMenuProbe();
    probe.pick = QX_ID_EDIT_SELECT_ALL;
    probe.shotName = "control-context-menu.png";
    probe.pszBinDir = QM_BIN_DIR;
    UINT_PTR nTimer = ::SetTimer(NULL, 0, 50, qmtest::ProbePopupMenu);
    CRect rc;
    edit.GetWindowRect(&rc);
    edit.SendMessage(WM_CONTEXTMENU, (WPARAM)edit.GetSafeHwnd(), MAKELPARAM(rc.left + 10, rc.top + 8));
    ::KillTimer(NULL, nTimer);
    PumpPending();

    ASSERT_TRUE(probe.bSeen);
    // The menu's items with the pictures of the edit menu's toolbar (Select
    // All has none).
    std::vector<std::pair<int, BOOL>> expected = {{QX_ID_EDIT_UNDO, TRUE}, {QX_ID_EDIT_CUT, TRUE}, {QX_ID_EDIT_COPY, TRUE}, {QX_ID_EDIT_PASTE, TRUE}, {QX_ID_EDIT_CLEAR, TRUE}, {QX_ID_EDIT_SELECT_ALL, FALSE}};
    EXPECT_EQ(expected, probe.items) << "a command-bar popup, not a system menu";
    // It belongs to no manager, though the edit sits in a frame that has one.
    EXPECT_EQ(nullptr, probe.pCommandBars);
    // The pictures came with the popup's own image manager: the
    // process-wide one is left as it was.
    for (size_t i = 0; i < globalBefore.size(); i++)
        EXPECT_EQ(globalBefore[i], GetGlobalImageManager()->GetImage(menuIds[i], 16)) << menuIds[i];
    // The chosen command reached the edit box.
    int nStart = -1, nEnd = -1;
    edit.GetSel(nStart, nEnd);
    EXPECT_EQ(0, nStart);
    EXPECT_EQ(9, nEnd);
    edit.DestroyWindow();
    pChild->DestroyWindow();
}

TEST_F(FloatingTest, AFloatingPopupBarListsItsCommandsInOneColumnWithTheTablesShortcuts)
{
    CQXPToolBar* pBar = pBars->Add("Commands", qxpBarTop, RUNTIME_CLASS(CQXPFloatingPopupBar));
    ASSERT_NE(nullptr, dynamic_cast<CQXPFloatingPopupBar*>(pBar));
    const UINT ids[] = {ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT};
    ASSERT_TRUE(pBar->SetButtons(ids, 3));
    ACCEL table[] = {{FCONTROL | FVIRTKEY, 'P', ID_TEST_OPEN}};
    pBars->GetKeyboardShortcuts()->SetAcceleratorTable(table, 1);
    ASSERT_TRUE(pBar->SetFloating(FloatPoint(200, 150)));
    PumpPending();
    ASSERT_TRUE(pBar->IsFloating());
    for (int i = 1; i < 3; i++) {
        CRect rcAbove = pBar->GetControl(i - 1)->GetRect(), rc = pBar->GetControl(i)->GetRect();
        EXPECT_EQ(rcAbove.left, rc.left) << i;
        EXPECT_GE(rc.top, rcAbove.bottom) << "one column, as a menu: " << i;
    }
    EXPECT_STREQ("Ctrl+P", pBar->GetControl(0)->GetShortcutText().GetString());
    EXPECT_STREQ("", pBar->GetControl(1)->GetShortcutText().GetString());
}

} // namespace
