// The floating frame's window: creation, the title and captions of its
// containers, its layout, the caption's double click and drag, closing,
// activation, translucency, sizing, and roll-up.
#include <qx/dockingpane.h>
#include <qx/dragcontext.h>
#include <qx/miniwnd.h>
#include <qx/panelayout.h>
#include <qx/panemanager.h>
#include <qx/panepaint.h>
#include <qx/splittercontainer.h>
#include <qx/sysutil.h>
#include <qx/tabbedcontainer.h>
#include <qx/tooltips.h>

#include <fx/dvdefs.h>

#include <algorithm>

namespace {

const UINT_PTR kTimerHover = 1;
const UINT_PTR kTimerCollapse = 3;
const UINT_PTR kTimerCaptionHot = 2345;
const int kAnimationDuration = 128;
const int kAnimationPeriod = 16;

} // namespace

RECT CQXPDockingPaneMiniWnd::KeepInWorkArea(const RECT& rc, const RECT& rcWork)
{
    RECT rcDrag = rc, rcCopy = rc;
    CDockingDragContext::MoveDragRect(&rcDrag, &rcCopy, 0, 0, rcWork);
    return rcDrag;
}

BOOL CQXPDockingPaneMiniWnd::IsThemed() const
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    return pManager && pManager->m_bThemedFloatingFrames;
}

int CQXPDockingPaneMiniWnd::CaptionHeight() const
{
    CDockingPanePaintManager* pPaint = GetPaintManager();
    return pPaint ? pPaint->GetCaptionHeight() : ::GetSystemMetrics(SM_CYSMCAPTION);
}

BOOL CQXPDockingPaneMiniWnd::CreateFrame(const RECT& rcScreen)
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (m_hWnd || !pManager || !pManager->GetSite())
        return FALSE;
    CQXPMultiMonitor monitors;
    RECT rc = KeepInWorkArea(rcScreen, monitors.GetWorkAreaNearestRect(&rcScreen));
    DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | MFS_BLOCKSYSMENU;
    if (pManager->m_bSyncActiveFloatingFrames)
        dwStyle |= MFS_SYNCACTIVE;
    DWORD dwExStyle = pManager->IsLayoutRTL() ? WS_EX_LAYOUTRTL : 0;
    if (!CreateEx(dwExStyle, "QXPDockingPaneMiniWnd", "", dwStyle, rc, CWnd::FromHandle(pManager->GetSite()), 0))
        return FALSE;
    if (HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE)) {
        ::DeleteMenu(hMenu, SC_MINIMIZE, MF_BYCOMMAND);
        ::DeleteMenu(hMenu, SC_MAXIMIZE, MF_BYCOMMAND);
        ::DeleteMenu(hMenu, SC_RESTORE, MF_BYCOMMAND);
        CString strHide;
        if (strHide.LoadString(AFX_IDS_HIDE)) {
            ::DeleteMenu(hMenu, SC_CLOSE, MF_BYCOMMAND);
            ::AppendMenuA(hMenu, MF_STRING, SC_CLOSE, strHide);
        }
    }
    if (IsThemed())
        ModifyStyle(WS_BORDER | WS_THICKFRAME, 0, SWP_FRAMECHANGED);
    ::SetWindowPos(m_hWnd, NULL, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOACTIVATE | SWP_NOZORDER);
    m_rcScreen = rc;
    UpdateOpacity();
    return TRUE;
}

HWND CQXPDockingPaneMiniWnd::GetDockingSite() const { return m_hWnd ? m_hWnd : m_hDockingSite; }

void CQXPDockingPaneMiniWnd::UpdatePanes(BOOL /*bRelayout*/)
{
    m_bLayoutPending = FALSE;
    if (!m_pTopContainer || !m_hWnd)
        return;
    PaneObjectList all, tabs;
    m_pTopContainer->FindPane(paneTypeTabbedContainer, all);
    for (CPaneBase* p : all)
        if (!p->IsEmpty())
            tabs.push_back(p);
    for (CPaneBase* p : tabs) {
        CQXPDockingPaneTabbedContainer* pTab = static_cast<CQXPDockingPaneTabbedContainer*>(p);
        if ((pTab->IsCaptionVisible() != FALSE) != (tabs.size() != 1))
            pTab->ShowCaption(tabs.size() != 1);
    }
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    CString strTitle = tabs.size() == 1 ? static_cast<CQXPDockingPaneTabbedContainer*>(tabs[0])->GetTitle()
                                        : (pManager ? pManager->m_strFloatingFrameTitle : CString());
    SetWindowText(strTitle);
    if (!tabs.empty() && !::IsWindowVisible(m_hWnd))
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    if (!tabs.empty()) {
        m_bClosable = FALSE;
        PaneObjectList panes;
        m_pTopContainer->FindPane(paneTypeDockingPane, panes);
        for (CPaneBase* p : panes)
            if (!(static_cast<CQXPDockingPane*>(p)->GetOptions() & paneNoCloseable))
                m_bClosable = TRUE;
        if (HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE))
            ::EnableMenuItem(hMenu, SC_CLOSE, MF_BYCOMMAND | (m_bClosable ? MF_ENABLED : MF_GRAYED));
        RecalcLayout();
    }
    ::RedrawWindow(m_hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE);
}

void CQXPDockingPaneMiniWnd::RecalcLayout(BOOL /*bNotify*/)
{
    if (m_bInRecalc || !m_hWnd)
        return;
    m_bInRecalc = TRUE;
    if (!m_pTopContainer || m_pTopContainer->IsEmpty()) {
        if (::IsWindowVisible(m_hWnd))
            ::ShowWindow(m_hWnd, SW_HIDE);
        if (m_bRollUp)
            SetRollUp(FALSE);
    } else {
        if (!::IsWindowVisible(m_hWnd))
            ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        AFX_SIZEPARENTPARAMS params = {};
        params.hDWP = ::BeginDeferWindowPos(8);
        params.rect = rc;
        m_pTopContainer->OnSizeParent(m_hWnd, rc, &params);
        if (params.hDWP)
            ::EndDeferWindowPos(params.hDWP);
        m_pTopContainer->m_rcWindow = rc;
        if (m_pLayout)
            m_pLayout->UpdateHolders();
    }
    // Requests made by the pass itself are served by it.
    m_nIdleFlags &= ~(idleNotify | idleLayout);
    m_bInRecalc = FALSE;
}

void CQXPDockingPaneMiniWnd::OnChildContainerChanged(CPaneBase* /*pChild*/)
{
    UpdatePanes(FALSE);
    OnFocusChanged();
}

void CQXPDockingPaneMiniWnd::Invalidate()
{
    if (m_hWnd && IsThemed()) {
        ::InvalidateRect(m_hWnd, NULL, FALSE);
        ::RedrawWindow(m_hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE);
    }
}

BOOL CQXPDockingPaneMiniWnd::IsCaptionButtonVisible(int nButton) const
{
    if (nButton == QX_IDS_DOCKINGPANE_CLOSE)
        return m_bClosable;
    if (nButton == QX_IDS_DOCKINGPANE_MENU) {
        PaneObjectList tabs;
        if (m_pTopContainer)
            m_pTopContainer->FindPane(paneTypeTabbedContainer, tabs);
        if (tabs.size() != 1)
            return FALSE;
        CQXPDockingPane* pSel = static_cast<CQXPDockingPaneTabbedContainer*>(tabs[0])->GetSelected();
        return pSel && (pSel->GetOptions() & paneHasMenuButton);
    }
    return TRUE;
}

void CQXPDockingPaneMiniWnd::OnFocusChanged()
{
    if (!m_hWnd)
        return;
    HWND hFocus = ::GetFocus();
    BOOL bActive = hFocus && (hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus));
    for (HWND h = hFocus; h && !bActive; h = ::GetWindow(h, GW_OWNER))
        if (h == m_hWnd || ::IsChild(m_hWnd, h))
            bActive = TRUE;
    if (bActive == m_bActive)
        return;
    m_bActive = bActive;
    if (IsThemed())
        ::RedrawWindow(m_hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE);
    UpdateOpacity();
}

void CQXPDockingPaneMiniWnd::UpdateOpacity()
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    CDockingDragContext* pDrag = pManager ? pManager->GetDragContext() : NULL;
    if (!m_hWnd || !pDrag || !pDrag->m_pfnSetLayeredWindowAttributes)
        return;
    LONG lEx = ::GetWindowLongA(m_hWnd, GWL_EXSTYLE);
    if (pManager->m_nFloatingFrameAlpha >= 255) {
        if (lEx & WS_EX_LAYERED)
            ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, lEx & ~WS_EX_LAYERED);
        return;
    }
    if (!(lEx & WS_EX_LAYERED))
        ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, lEx | WS_EX_LAYERED);
    BYTE alpha = m_bActive ? 255 : (BYTE)std::max(0, pManager->m_nFloatingFrameAlpha);
    pDrag->m_pfnSetLayeredWindowAttributes(m_hWnd, 0, alpha, LWA_ALPHA);
}

void CQXPDockingPaneMiniWnd::OnThemeChanged()
{
    if (!m_hWnd)
        return;
    const BOOL bThemed = IsThemed();
    const DWORD dwBorders = WS_BORDER | WS_THICKFRAME;
    const DWORD dwStyle = GetStyle();
    if (bThemed && (dwStyle & dwBorders))
        ModifyStyle(dwBorders, 0, SWP_FRAMECHANGED);
    else if (!bThemed && (dwStyle & dwBorders) != dwBorders)
        ModifyStyle(0, dwBorders, SWP_FRAMECHANGED);
    else if (bThemed) // the same borders, but the caption's height may differ
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (!bThemed && m_bRollUp)
        SetRollUp(FALSE);
    if (m_bRollUp && (m_bCollapsed || m_bCollapsing)) {
        // The caption's height may have changed with the theme.
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        const int cy = std::max(CaptionHeight() + 8, std::max(m_nStep, 0) * m_nExpandedHeight / std::max(m_nSteps, 1));
        ::SetWindowPos(m_hWnd, NULL, 0, 0, rc.right - rc.left, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::RedrawWindow(m_hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE);
}

// ---------------------------------------------------------------------------
// Messages.

BEGIN_MESSAGE_MAP(CQXPDockingPaneMiniWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SETFOCUS()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCRBUTTONDOWN()
    ON_WM_NCMOUSEMOVE()
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCPAINT()
    ON_WM_NCACTIVATE()
    ON_WM_GETMINMAXINFO()
    ON_WM_SIZING()
    ON_WM_TIMER()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

void CQXPDockingPaneMiniWnd::OnClose()
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (!pManager || !m_pTopContainer)
        return;
    PaneObjectList panes;
    m_pTopContainer->FindPane(paneTypeDockingPane, panes);
    for (CPaneBase* p : panes) {
        CQXPDockingPane* pPane = static_cast<CQXPDockingPane*>(p);
        if (pPane->GetOptions() & paneNoCloseable)
            continue;
        pPane->InternalAddRef();
        if (!pManager->NotifyAction(paneActionClosing, pPane)) {
            pManager->ClosePane(pPane);
            pManager->NotifyAction(paneActionClosed, pPane);
        }
        pPane->InternalRelease();
    }
    RecalcLayout();
}

void CQXPDockingPaneMiniWnd::OnDestroy()
{
    ::GetWindowRect(m_hWnd, &m_rcScreen);
    CMiniFrameWnd::OnDestroy();
}

void CQXPDockingPaneMiniWnd::OnSetFocus(CWnd* pOldWnd)
{
    CMiniFrameWnd::OnSetFocus(pOldWnd);
    if (m_pLayout && !m_pLayout->IsLoading() && m_pTopContainer) {
        PaneObjectList tabs;
        m_pTopContainer->FindPane(paneTypeTabbedContainer, tabs);
        if (tabs.size() == 1) {
            CQXPDockingPaneTabbedContainer* pTab = static_cast<CQXPDockingPaneTabbedContainer*>(tabs[0]);
            if (CQXPDockingPane* pSel = pTab->GetSelected())
                pSel->SetFocus();
        }
    }
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->UpdateFocus();
}

void CQXPDockingPaneMiniWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    if (nHitTest != HTCAPTION) {
        CMiniFrameWnd::OnNcLButtonDblClk(nHitTest, point);
        return;
    }
    // The second press of a double click on a caption button is a press of
    // that button, not a double click on the caption.
    if (CaptionButtonAt(point)) {
        OnNcLButtonDown(nHitTest, point);
        return;
    }
    if (m_bRollUp) {
        SetRollUp(FALSE);
        return;
    }
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        if (m_pTopContainer)
            pManager->ToggleDockingGroup(m_pTopContainer);
}

CaptionButton* CQXPDockingPaneMiniWnd::CaptionButtonAt(POINT ptScreen) const
{
    if (!m_hWnd || !IsThemed())
        return NULL;
    RECT rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    POINT pt = {ptScreen.x - rcWindow.left, ptScreen.y - rcWindow.top};
    for (CaptionButton* b : m_arrCaptionButtons)
        if (IsCaptionButtonVisible(b->m_nID) && ::PtInRect(&b->m_rc, pt))
            return b;
    return NULL;
}

INT_PTR CQXPDockingPaneMiniWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    if (!m_hWnd)
        return -1;
    POINT ptScreen = point;
    ::ClientToScreen(m_hWnd, &ptScreen);
    CaptionButton* b = CaptionButtonAt(ptScreen);
    if (!b)
        return -1;
    // The button's rectangle is kept in window coordinates; the tool's is
    // in client coordinates (above the client area: negative).
    RECT rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    POINT corners[2] = {{b->m_rc.left + rcWindow.left, b->m_rc.top + rcWindow.top},
                        {b->m_rc.right + rcWindow.left, b->m_rc.bottom + rcWindow.top}};
    ::ScreenToClient(m_hWnd, &corners[0]);
    ::ScreenToClient(m_hWnd, &corners[1]);
    const RECT rc = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    CString strText = DockingCaptionButtonTip(b->m_nID);
    return pTI ? FillToolHitInfo(pTI, m_hWnd, rc, b->m_nID, strText) : (INT_PTR)b->m_nID;
}

LRESULT CQXPDockingPaneMiniWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        if (CQXPToolTipContext* pTips = pManager->GetToolTipContext())
            pTips->FilterMessage(this, message, wParam, lParam);
    return CMiniFrameWnd::WindowProc(message, wParam, lParam);
}

void CQXPDockingPaneMiniWnd::RedrawFrame()
{
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

BOOL CQXPDockingPaneMiniWnd::TrackCaptionButtons(POINT ptScreen)
{
    CaptionButton* pOver = CaptionButtonAt(ptScreen);
    BOOL bChanged = FALSE;
    for (CaptionButton* b : m_arrCaptionButtons) {
        BOOL bHot = b == pOver;
        if (b->m_bHot != bHot) {
            b->m_bHot = bHot;
            bChanged = TRUE;
        }
    }
    if (bChanged)
        RedrawFrame();
    return bChanged;
}

BOOL CQXPDockingPaneMiniWnd::OnCaptionButtonDown(CaptionButton* pButton)
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (pButton->m_nID != QX_IDS_DOCKINGPANE_MENU || !pManager)
        return FALSE;
    PaneObjectList tabs;
    if (m_pTopContainer)
        m_pTopContainer->FindPane(paneTypeTabbedContainer, tabs);
    CQXPDockingPane* pSelected =
        tabs.size() == 1 ? static_cast<CQXPDockingPaneTabbedContainer*>(tabs[0])->GetSelected() : NULL;
    if (!pSelected)
        return TRUE;
    // The owner shows its menu under the button, pressed meanwhile.
    RECT rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    DockingPaneMenuRequest request = {pSelected, {rcWindow.left + pButton->m_rc.left, rcWindow.top + pButton->m_rc.bottom}};
    pButton->m_bPressed = TRUE;
    RedrawFrame();
    pManager->Notify(DOCKINGPANE_CAPTIONMENU, (LPARAM)&request);
    if (::IsWindow(m_hWnd)) {
        pButton->m_bPressed = FALSE;
        RedrawFrame();
    }
    return TRUE;
}

void CQXPDockingPaneMiniWnd::OnCaptionButtonClick(CaptionButton* pButton)
{
    if (pButton->m_nID == QX_IDS_DOCKINGPANE_CLOSE)
        OnClose();
    else if (pButton->m_nID == QX_IDS_DOCKINGPANE_AUTOHIDE)
        SetRollUp(!m_bRollUp);
}

void CQXPDockingPaneMiniWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (CaptionButton* b = CaptionButtonAt(point)) {
        if (OnCaptionButtonDown(b))
            return;
        RECT rcWindow;
        ::GetWindowRect(m_hWnd, &rcWindow);
        POINT pt = {point.x - rcWindow.left, point.y - rcWindow.top};
        if (b->Click(m_hWnd, pt, CaptionButton::clickWindow)) {
            // The action may close or roll the frame: it shows again
            // without the hover look.
            for (CaptionButton* p : m_arrCaptionButtons)
                p->m_bHot = FALSE;
            OnCaptionButtonClick(b);
            RedrawFrame();
        }
        return;
    }
    if (nHitTest == HTCAPTION && pManager && m_pTopContainer) {
        // A double click is a second press here: the drag starts only once
        // the mouse moves beyond the threshold.
        ::BringWindowToTop(m_hWnd);
        if (::GetActiveWindow() != m_hWnd && !(GetStyle() & MFS_SYNCACTIVE))
            ::SetActiveWindow(m_hWnd);
        pManager->GetDragContext()->Drag(m_pTopContainer, point.x, point.y);
        return;
    }
    CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}

CQXPDockingPane* CQXPDockingPaneMiniWnd::GetCaptionPane() const
{
    PaneObjectList all, tabs;
    if (m_pTopContainer)
        m_pTopContainer->FindPane(paneTypeTabbedContainer, all);
    for (CPaneBase* p : all)
        if (!p->IsEmpty())
            tabs.push_back(p);
    if (tabs.size() == 1)
        return static_cast<CQXPDockingPaneTabbedContainer*>(tabs[0])->GetSelected();
    HWND hFocus = ::GetFocus();
    for (CPaneBase* p : tabs) {
        HWND hTab = p->GetPaneHwnd();
        if (hFocus && hTab && (hFocus == hTab || ::IsChild(hTab, hFocus)))
            return static_cast<CQXPDockingPaneTabbedContainer*>(p)->GetSelected();
    }
    return NULL;
}

void CQXPDockingPaneMiniWnd::OnNcRButtonDown(UINT nHitTest, CPoint point)
{
    // On the caption the owner may show the pane's context menu; when it
    // does, the frame's own handling is left out.
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    CQXPDockingPane* pPane = nHitTest == HTCAPTION && pManager ? GetCaptionPane() : NULL;
    if (pPane) {
        HWND hWnd = m_hWnd;
        pPane->SetFocus();
        pManager->UpdateFocus();
        DockingPaneMenuRequest request = {pPane, {point.x, point.y}};
        if (pManager->Notify(DOCKINGPANE_CAPTIONMENU, (LPARAM)&request) || !::IsWindow(hWnd))
            return;
    }
    CMiniFrameWnd::OnNcRButtonDown(nHitTest, point);
}

void CQXPDockingPaneMiniWnd::OnNcMouseMove(UINT nHitTest, CPoint point)
{
    CMiniFrameWnd::OnNcMouseMove(nHitTest, point);
    if (TrackCaptionButtons(point)) {
        for (CaptionButton* b : m_arrCaptionButtons)
            if (b->m_bHot)
                StartTimer(kTimerCaptionHot, 100);
    }
    CheckRollUpHover();
}

void CQXPDockingPaneMiniWnd::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    if (!IsThemed()) {
        CMiniFrameWnd::OnNcCalcSize(bCalcValidRects, lpncsp);
        return;
    }
    RECT& rc = lpncsp->rgrc[0];
    ::InflateRect(&rc, -3, -3);
    rc.top += CaptionHeight() + 2;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
}

LRESULT CQXPDockingPaneMiniWnd::OnNcHitTest(CPoint point)
{
    if (!IsThemed())
        return CMiniFrameWnd::OnNcHitTest(point);
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    BOOL bLeft = point.x < rc.left + 3, bRight = point.x >= rc.right - 3;
    BOOL bTop = point.y < rc.top + 3, bBottom = point.y >= rc.bottom - 3;
    if (bTop)
        return bLeft ? HTTOPLEFT : bRight ? HTTOPRIGHT
                                          : HTTOP;
    if (bBottom)
        return bLeft ? HTBOTTOMLEFT : bRight ? HTBOTTOMRIGHT
                                             : HTBOTTOM;
    if (bLeft)
        return HTLEFT;
    if (bRight)
        return HTRIGHT;
    LRESULT lHit = CMiniFrameWnd::OnNcHitTest(point);
    if (lHit != HTNOWHERE)
        return lHit;
    return point.y < rc.top + CaptionHeight() + 4 ? HTCAPTION : HTNOWHERE;
}

void CQXPDockingPaneMiniWnd::OnNcPaint()
{
    if (!IsThemed()) {
        Default();
        return;
    }
    CDockingPanePaintManager* pPaint = GetPaintManager();
    HDC hDC = ::GetWindowDC(m_hWnd);
    if (hDC && pPaint) {
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        ::OffsetRect(&rc, -rc.left, -rc.top);
        pPaint->DrawFloatingFrame(hDC, this, rc);
    }
    if (hDC)
        ::ReleaseDC(m_hWnd, hDC);
}

BOOL CQXPDockingPaneMiniWnd::OnNcActivate(BOOL bActive)
{
    if (IsThemed())
        return TRUE;
    return CMiniFrameWnd::OnNcActivate(bActive);
}

void CQXPDockingPaneMiniWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    CMiniFrameWnd::OnGetMinMaxInfo(lpMMI);
    if ((m_bRollUp && m_bCollapsed) || !m_pTopContainer || !m_hWnd)
        return;
    MINMAXINFO mmi = *lpMMI;
    m_pTopContainer->GetMinMaxInfo(&mmi);
    RECT rcWindow, rcClient;
    ::GetWindowRect(m_hWnd, &rcWindow);
    ::GetClientRect(m_hWnd, &rcClient);
    int cx = (rcWindow.right - rcWindow.left) - rcClient.right;
    int cy = (rcWindow.bottom - rcWindow.top) - rcClient.bottom;
    POINT ptMin = lpMMI->ptMinTrackSize, ptMax = lpMMI->ptMaxTrackSize;
    lpMMI->ptMinTrackSize.x = std::max(ptMin.x, std::min(ptMax.x, mmi.ptMinTrackSize.x + cx));
    lpMMI->ptMinTrackSize.y = std::max(ptMin.y, std::min(ptMax.y, mmi.ptMinTrackSize.y + cy));
    lpMMI->ptMaxTrackSize.x = std::min(ptMax.x, std::max(ptMin.x, mmi.ptMaxTrackSize.x + cx));
    lpMMI->ptMaxTrackSize.y = std::min(ptMax.y, std::max(ptMin.y, mmi.ptMaxTrackSize.y + cy));
}

void CQXPDockingPaneMiniWnd::OnSizing(UINT nSide, LPRECT lpRect)
{
    CMiniFrameWnd::OnSizing(nSide, lpRect);
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (pManager && pManager->m_bSnapFloatingFrames && pManager->GetDragContext())
        pManager->GetDragContext()->SnapSizingRect(m_hWnd, (int)nSide, lpRect);
}

LRESULT CQXPDockingPaneMiniWnd::OnIdleUpdate(WPARAM wParam, LPARAM lParam)
{
    if (m_bLayoutPending)
        UpdatePanes(FALSE);
    if (m_nIdleFlags & idleLayout)
        RecalcLayout();
    (void)wParam;
    (void)lParam;
    return 0;
}

// ---------------------------------------------------------------------------
// Roll-up.

void CQXPDockingPaneMiniWnd::StartTimer(UINT_PTR nID, UINT nElapse)
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (std::find(m_timers.begin(), m_timers.end(), nID) == m_timers.end())
        m_timers.push_back(nID);
    if (m_hWnd && !(pManager && pManager->m_bManualTimers))
        ::SetTimer(m_hWnd, nID, nElapse, NULL);
}

void CQXPDockingPaneMiniWnd::StopTimer(UINT_PTR nID)
{
    m_timers.erase(std::remove(m_timers.begin(), m_timers.end(), nID), m_timers.end());
    if (m_hWnd)
        ::KillTimer(m_hWnd, nID);
}

void CQXPDockingPaneMiniWnd::SetRollUp(BOOL bRollUp)
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (!pManager || !m_hWnd || bRollUp == m_bRollUp)
        return;
    PaneObjectList panes;
    if (m_pTopContainer)
        m_pTopContainer->FindPane(paneTypeDockingPane, panes);
    CQXPDockingPane* pPane = panes.empty() ? NULL : static_cast<CQXPDockingPane*>(panes[0]);
    if (pManager->NotifyAction(bRollUp ? paneActionHiding : paneActionAttaching, pPane, this))
        return;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    if (!bRollUp) {
        if (m_bCollapsed)
            ::SetWindowPos(m_hWnd, NULL, 0, 0, rc.right - rc.left, m_nExpandedHeight,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_bRollUp = m_bCollapsed = m_bCollapsing = m_bExpanded = FALSE;
        StopTimer(kTimerHover);
        StopTimer(kTimerCollapse);
    } else {
        m_nSteps = std::max(1, kAnimationDuration / kAnimationPeriod);
        m_nStep = m_nSteps;
        m_nExpandedHeight = rc.bottom - rc.top;
        m_bRollUp = TRUE;
        if (m_bCollapsing) {
            m_bCollapsing = FALSE;
            StopTimer(kTimerCollapse);
            pManager->NotifyAction(11, pPane, this);
        }
        m_bExpanded = TRUE;
        m_nHoverCountdown = 6;
        StartTimer(kTimerHover, 100);
    }
    ::RedrawWindow(m_hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE);
    pManager->NotifyAction(bRollUp ? paneActionHidden : paneActionAttached, pPane, this);
}

void CQXPDockingPaneMiniWnd::OnTimer(UINT_PTR nIDEvent)
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (!pManager || !m_hWnd)
        return;
    PaneObjectList panes;
    if (m_pTopContainer)
        m_pTopContainer->FindPane(paneTypeDockingPane, panes);
    CQXPDockingPane* pPane = panes.empty() ? NULL : static_cast<CQXPDockingPane*>(panes[0]);
    if (nIDEvent == kTimerHover) {
        HWND hFocus = ::GetFocus();
        if (hFocus && (hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus)))
            return;
        if (m_bCollapsing)
            return;
        POINT pt;
        ::GetCursorPos(&pt);
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        if (::PtInRect(&rc, pt) || ::GetCapture())
            return;
        if (--m_nHoverCountdown >= 1)
            return;
        if (pManager->NotifyAction(10, pPane, this)) {
            m_nHoverCountdown = 6;
            return;
        }
        if (!m_bCollapsed)
            m_nExpandedHeight = rc.bottom - rc.top;
        m_bCollapsing = TRUE;
        StartTimer(kTimerCollapse, kAnimationPeriod);
        StopTimer(kTimerHover);
    } else if (nIDEvent == kTimerCollapse) {
        --m_nStep;
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        int cy = std::max(CaptionHeight() + 8, std::max(m_nStep, 0) * m_nExpandedHeight / std::max(m_nSteps, 1));
        ::SetWindowPos(m_hWnd, NULL, 0, 0, rc.right - rc.left, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (m_nStep < 0) {
            m_bCollapsing = FALSE;
            m_bCollapsed = TRUE;
            m_bExpanded = FALSE;
            StopTimer(kTimerCollapse);
            pManager->NotifyAction(11, pPane, this);
        }
    } else if (nIDEvent == kTimerCaptionHot) {
        // The buttons go dark once the mouse has left the caption band.
        POINT pt;
        ::GetCursorPos(&pt);
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        rc.bottom = rc.top + CaptionHeight() + 4;
        if (!::PtInRect(&rc, pt)) {
            for (CaptionButton* b : m_arrCaptionButtons)
                b->m_bHot = FALSE;
            StopTimer(kTimerCaptionHot);
            RedrawFrame();
        }
    }
}

void CQXPDockingPaneMiniWnd::CheckRollUpHover()
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (!pManager || !m_bRollUp || !(m_bCollapsed || m_bCollapsing))
        return;
    PaneObjectList panes;
    if (m_pTopContainer)
        m_pTopContainer->FindPane(paneTypeDockingPane, panes);
    CQXPDockingPane* pPane = panes.empty() ? NULL : static_cast<CQXPDockingPane*>(panes[0]);
    if (m_bCollapsing) {
        m_bCollapsing = FALSE;
        StopTimer(kTimerCollapse);
        pManager->NotifyAction(11, pPane, this);
    }
    if (pManager->NotifyAction(12, pPane, this))
        return;
    m_nStep = m_nSteps;
    m_bExpanded = TRUE;
    m_bCollapsed = FALSE;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, rc.right - rc.left, m_nExpandedHeight, SWP_NOMOVE | SWP_NOACTIVATE);
    m_nHoverCountdown = 8;
    StartTimer(kTimerHover, 100);
    pManager->NotifyAction(13, pPane, this);
}
