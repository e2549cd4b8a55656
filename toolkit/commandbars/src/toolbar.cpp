// Toolbars and the menu bar.

#include <qx/commandbars.h>
#include <qx/bartracker.h>
#include <qx/images.h>
#include <qx/barstate.h>
#include <qx/resourcemgr.h>
#include <qx/mousemanager.h>
#include <qx/listcontrols.h>
#include <qx/shortcuts.h>

#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(CQXPToolBar, CQXPCommandBar)

namespace {

// The bar flags that let the tracker dock or float a bar.
const DWORD kDockAndFloatFlags =
    qxpFlagAlignTop | qxpFlagAlignBottom | qxpFlagAlignLeft | qxpFlagAlignRight | qxpFlagFloating;

} // namespace

BEGIN_MESSAGE_MAP(CQXPToolBar, CQXPCommandBar)
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEACTIVATE()
    ON_WM_NCACTIVATE()
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
    ON_MESSAGE(WM_QXP_FLOATSYNCCHECK, OnFloatSyncCheck)
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

CQXPToolBar::CQXPToolBar()
    : m_rcDocked(0, 0, 0, 0),
      m_bShowExpandButton(TRUE),
      m_ptFloating(0, 0),
      m_bBuiltIn(TRUE),
      m_bCloseable(TRUE),
      m_bTearOff(FALSE),
      m_bContextMenuPresent(TRUE),
      m_bCustomizeDialogPresent(TRUE),
      m_pDockBar(NULL)
{
    m_nResourceId = 0;
    m_bTemporarilyHidden = FALSE;
    m_hWndFocusBefore = NULL;
    m_barType = qxpBarTypeNormal;
    m_barPosition = qxpBarTop;
    // Every side and floating are allowed until the program says otherwise.
    m_dwFlags = qxpFlagAlignTop | qxpFlagAlignBottom | qxpFlagAlignLeft | qxpFlagAlignRight | qxpFlagFloating;
    m_pTracker = new CBarResizeTracker(this);
}

CQXPToolBar::~CQXPToolBar()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    delete m_pTracker;
    m_pTracker = NULL;
}

BOOL CQXPToolBar::CreateToolBar(DWORD dwStyle, CWnd* pParentWnd, UINT nID)
{
    QxpRegisterWndClass("QXPToolBar", CS_DBLCLKS);
    if (m_pCommandBars == NULL) {
        // Standing alone in a window: the window lays the bar out, nothing
        // docks or floats it.
        const DWORD kBarStyleBits = 0x0040FFFF;
        const DWORD kWindowStyleBits = 0xFFBF0000;
        const DWORD kDockAndFloatBits = 0x3F;
        m_dwStyle = dwStyle & kBarStyleBits;
        DWORD dwWndStyle = (dwStyle & kWindowStyleBits) | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        if (!CreateEx(0, "QXPToolBar", NULL, dwWndStyle, 0, 0, 0, 0, pParentWnd->GetSafeHwnd(),
                      (HMENU)(UINT_PTR)nID))
            return FALSE;
        delete m_pTracker;
        m_pTracker = NULL;
        m_barPosition = qxpBarTop;
        m_dwFlags &= ~kDockAndFloatBits;
        if (dwStyle & CBRS_TOOLTIPS)
            EnableToolTips(TRUE);
        m_bVisible = (dwStyle & WS_VISIBLE) != 0;
        m_pControls->RefreshIndexes();
        return TRUE;
    }
    if (!CreateBarWindow(pParentWnd, FALSE))
        return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWLP_ID, (LONG_PTR)nID);
    m_bVisible = (dwStyle & WS_VISIBLE) != 0;
    if (!m_bVisible)
        ::ShowWindow(m_hWnd, SW_HIDE);
    // Controls added before the window existed get their windows now.
    m_pControls->RefreshIndexes();
    return TRUE;
}

BOOL CQXPToolBar::CreateBarWindow(CWnd* pOwner, BOOL bFloating)
{
    HWND hWndOwner = pOwner ? pOwner->GetSafeHwnd() : NULL;
    if (!m_hWnd || !::IsWindow(m_hWnd)) {
        QxpRegisterWndClass("QXPToolBar", CS_DBLCLKS);
        CPoint pt = m_ptFloating == CPoint(0, 0) ? CPoint(100, 100) : m_ptFloating;
        DWORD dwExStyle = (m_pCommandBars && m_pCommandBars->IsLayoutRTL()) ? WS_EX_LAYOUTRTL : 0;
        DWORD dwStyle = (bFloating ? WS_POPUP | MFS_SYNCACTIVE : WS_CHILD) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        if (!CreateEx(dwExStyle, "QXPToolBar", m_strTitle, dwStyle, pt.x, pt.y, 0, 0, hWndOwner, NULL))
            return FALSE;
        ::ShowWindow(m_hWnd, SW_SHOWNA);
        return TRUE;
    }
    LONG_PTR nStyle = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    if (bFloating) {
        if (nStyle & WS_CHILD) {
            // A child cannot be owned: it leaves its parent, then it becomes
            // a popup window (owned below). It leaves hidden and still a
            // child: a window that becomes top-level is activated on the
            // way (Wine), and the bar would take the activation and the
            // focus from the window that has them, then hand them back.
            // The caller shows it again without activation.
            if (nStyle & WS_VISIBLE)
                ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                               SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            ::SetParent(m_hWnd, NULL);
            nStyle = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
            ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, (nStyle & ~(LONG_PTR)WS_CHILD) | WS_POPUP);
            LONG_PTR nExStyle = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
            ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, nExStyle | WS_EX_TOOLWINDOW);
        }
        // The frame keeps its active look while the floating bar is active.
        ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, ::GetWindowLongPtrA(m_hWnd, GWL_STYLE) | WS_POPUP | MFS_SYNCACTIVE);
        if (hWndOwner)
            ::SetWindowLongPtrA(m_hWnd, GWLP_HWNDPARENT, (LONG_PTR)hWndOwner);
        return TRUE;
    }
    if (nStyle & WS_CHILD)
        return TRUE;
    LONG_PTR nExStyle = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, nExStyle & ~(LONG_PTR)WS_EX_TOOLWINDOW);
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, (nStyle & ~(LONG_PTR)(WS_POPUP | MFS_SYNCACTIVE)) | WS_CHILD);
    ::SetParent(m_hWnd, hWndOwner);
    return TRUE;
}

BOOL CQXPToolBar::SetButtons(const UINT* pIds, int nCount)
{
    m_pControls->RemoveAll();
    BOOL bGroup = FALSE;
    for (int i = 0; i < nCount; i++) {
        if (pIds[i] == 0) {
            bGroup = TRUE;
            continue;
        }
        CQXPControl* pControl = m_pControls->Add(qxpControlButton, (int)pIds[i]);
        if (pControl && bGroup)
            pControl->SetBeginGroup(TRUE);
        bGroup = FALSE;
    }
    m_pControls->CreateOriginalControls();
    DelayLayout();
    return TRUE;
}

BOOL CQXPToolBar::LoadToolBar(UINT nIDResource, BOOL bLoadImages)
{
    // Reset loads the same resource again.
    if (!CQXPCommandBar::LoadToolBar(nIDResource, bLoadImages))
        return FALSE;
    m_nResourceId = nIDResource;
    return TRUE;
}

CSize CQXPToolBar::CalcDockingLayout(int nLength, DWORD dwMode, int nWidth)
{
    CClientDC dc(m_hWnd && ::IsWindow(m_hWnd) ? this : NULL);
    CFont* pOldFont = dc.SelectObject(GetControlFont());
    BOOL bDocked = (dwMode & (qxpLayoutHorzDock | qxpLayoutVertDock)) != 0;
    // The caption's close button takes no part in a layout; the floating
    // layout places it afterwards.
    if (CQXPControl* pClose = FindCloseControl(FALSE))
        pClose->SetHideFlags(pClose->GetHideFlags() | qxpHideGeneric);
    // A docked or standalone bar offers what it hides behind its expand
    // button, with a manager or without one.
    CQXPControlToolbarExpand* pExpand = NULL;
    if (bDocked && m_bShowExpandButton && m_barType == qxpBarTypeNormal && !IsCustomizeMode())
        pExpand = FindExpandControl(TRUE);
    else if (CQXPControlToolbarExpand* pOld = FindExpandControl(FALSE)) {
        // A floating bar keeps it for its caption (placed there afterwards).
        if (!bDocked && IsFloating() && m_bShowExpandButton && m_barType == qxpBarTypeNormal && !IsCustomizeMode())
            pOld->SetHideFlags(pOld->GetHideFlags() | qxpHideGeneric);
        else
            m_pControls->Remove(pOld);
    }
    // The expand button takes no part in the row layout.
    BOOL bWasShown = pExpand && !(pExpand->GetHideFlags() & qxpHideGeneric);
    if (pExpand)
        pExpand->SetHideFlags(pExpand->GetHideFlags() | qxpHideGeneric);
    CRect rcBase = GetBorders();
    CSize sz = m_pControls->CalcDynamicSize(&dc, nLength, dwMode, rcBase, nWidth);

    if (pExpand) {
        BOOL bAlways = m_pCommandBars && m_pCommandBars->GetOptions()->m_bShowExpandButtonAlways;
        BOOL bCommit = (dwMode & qxpLayoutCommit) != 0;
        BOOL bShow = bAlways || (bCommit && HasHiddenControls());
        if (!bAlways && !bCommit)
            bShow = bWasShown;
        if (bShow) {
            BOOL bHorz = (dwMode & qxpLayoutHorzDock) != 0;
            CRect rcBorders = rcBase;
            if (bHorz)
                rcBorders.right += QXP_EXPAND_BUTTON_LENGTH;
            else
                rcBorders.bottom += QXP_EXPAND_BUTTON_LENGTH;
            sz = m_pControls->CalcDynamicSize(&dc, nLength, dwMode, rcBorders, nWidth);
            if (bCommit) {
                CRect rc = bHorz ? CRect(sz.cx - rcBorders.right, rcBase.top, sz.cx - rcBase.right,
                                         sz.cy - rcBase.bottom)
                                 : CRect(rcBase.left, sz.cy - rcBorders.bottom, sz.cx - rcBase.right,
                                         sz.cy - rcBase.bottom);
                pExpand->SetRect(rc);
            }
        }
        if (bShow)
            pExpand->SetHideFlags(pExpand->GetHideFlags() & ~(DWORD)qxpHideGeneric);
        if (!bAlways && !bCommit && m_pControls->GetVisibleCount(FALSE) > 1) {
            // However short the row gets, the bar keeps its first control
            // and the expand button's room beside it.
            BOOL bHorz = (dwMode & qxpLayoutHorzDock) != 0;
            CSize szShortest = m_pControls->CalcDynamicSize(&dc, 1, dwMode & ~(DWORD)qxpLayoutStretch, rcBase, nWidth);
            if (bHorz)
                sz.cx = std::max((int)sz.cx, (int)szShortest.cx + QXP_EXPAND_BUTTON_LENGTH);
            else
                sz.cy = std::max((int)sz.cy, (int)szShortest.cy + QXP_EXPAND_BUTTON_LENGTH);
        }
    }
    dc.SelectObject(pOldFont);
    return sz;
}

CSize CQXPToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    return CalcDockingLayout(nLength, dwMode, 0);
}

void CQXPToolBar::OnRecalcLayout()
{
    if (m_bInRecalcLayout || !m_hWnd || !::IsWindow(m_hWnd) || !IsVisible())
        return;
    m_bInRecalcLayout = TRUE;
    m_nPending &= ~qxpPendingLayout;
    if (IsFloating() && m_hWnd && ::IsWindow(m_hWnd)) {
        CRect rc;
        ::GetWindowRect(m_hWnd, &rc);
        CSize sz = CalcLayout(-1, kFloatingRelayoutMode);
        ::SetWindowPos(m_hWnd, NULL, 0, 0, sz.cx, sz.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (m_pCommandBars && m_pDockBar) {
        m_pCommandBars->RecalcFrameLayout(FALSE);
    } else if (IsStandalone()) {
        // The window the bar stands in lays it out again as after a resize
        // (a frame through WM_SIZEPARENT, a pane by its own rule). Not while
        // that window is laying the bar out already.
        if (!m_bInSizeParent)
            CQXPCommandBars::SendSiteSize(GetLayoutHost());
    } else {
        CRect rc;
        ::GetClientRect(m_hWnd, &rc);
        CalcDockingLayout(rc.Width(), qxpLayoutHorz | qxpLayoutHorzDock | qxpLayoutCommit);
    }
    m_bInRecalcLayout = FALSE;
    Redraw();
}

CWnd* CQXPToolBar::GetLayoutHost() const
{
    HWND hWndParent = m_hWnd ? ::GetParent(m_hWnd) : NULL;
    return hWndParent ? CWnd::FromHandle(hWndParent) : GetOwnerSite();
}

LRESULT CQXPToolBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    AFX_SIZEPARENTPARAMS* pParams = (AFX_SIZEPARENTPARAMS*)lParam;
    if (pParams == NULL || !m_bVisible || !(GetStyle() & WS_VISIBLE))
        return 0;
    DWORD dwMode = qxpLayoutCommit | qxpLayoutHorzDock | qxpLayoutHorz;
    if (m_dwFlags & qxpFlagStretched)
        dwMode |= qxpLayoutStretch;
    if (m_dwFlags & qxpFlagHideWrap)
        dwMode |= qxpLayoutHideWrap;
    if (pParams->hDWP == NULL)
        dwMode &= ~(DWORD)qxpLayoutCommit;
    CRect R = pParams->rect;
    m_bInSizeParent = TRUE;
    CSize sz = CalcDynamicLayout(R.Width(), dwMode);
    m_bInSizeParent = FALSE;
    sz.cx = std::max(0, std::min((int)sz.cx, R.Width()));
    sz.cy = std::max(0, std::min((int)sz.cy, R.Height()));
    // A band along the top of what is left; a stretched bar spans it.
    int nWidth = (dwMode & qxpLayoutStretch) ? R.Width() : (int)sz.cx;
    pParams->rect.top += sz.cy;
    pParams->sizeTotal.cy += sz.cy;
    pParams->sizeTotal.cx = std::max((int)pParams->sizeTotal.cx, (int)sz.cx);
    if (pParams->hDWP != NULL)
        pParams->hDWP = ::DeferWindowPos(pParams->hDWP, m_hWnd, NULL, R.left, R.top, nWidth, sz.cy,
                                         SWP_NOZORDER | SWP_NOACTIVATE);
    Redraw();
    return 0;
}

void CQXPToolBar::SetVisible(BOOL bVisible)
{
    bVisible = bVisible ? TRUE : FALSE;
    if (bVisible == m_bVisible)
        return;
    InternalAddRef();
    if (!bVisible) {
        // A hidden bar neither tracks nor keeps a drag going.
        if (m_bTracking)
            SetTrackingMode(FALSE);
        if (m_hWnd && ::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    if (m_bTemporarilyHidden)
        m_bVisible = bVisible; // the window comes back with the bars
    else
        CQXPCommandBar::SetVisible(bVisible);
    CWnd* pSite = GetOwnerSite();
    if (m_pCommandBars && pSite && ::IsWindow(pSite->GetSafeHwnd()))
        pSite->SendMessage(WM_QXP_TOOLBARVISIBLECHANGED, (WPARAM)this, bVisible);
    if (bVisible) {
        if (!m_bTemporarilyHidden && m_hWnd && ::IsWindow(m_hWnd))
            OnRecalcLayout();
    } else if (m_pCommandBars) {
        m_pCommandBars->RecalcFrameLayout(FALSE);
    } else {
        CQXPCommandBars::SendSiteSize(GetLayoutHost());
    }
    // A bar torn off a menu is gone once it is closed.
    if (!bVisible && m_bTearOff && m_pCommandBars)
        m_pCommandBars->Remove(this);
    InternalRelease();
}

void CQXPToolBar::OnDestroy()
{
    CQXPCommandBar::OnDestroy();
}


// ---------------------------------------------------------------------------
// The expand button

CQXPControlToolbarExpand* CQXPToolBar::FindExpandControl(BOOL bCreate)
{
    for (int i = m_pControls->GetCount(); i-- > 0;) {
        CQXPControlToolbarExpand* pExpand = dynamic_cast<CQXPControlToolbarExpand*>(m_pControls->GetAt(i));
        if (pExpand)
            return pExpand;
    }
    if (!bCreate)
        return NULL;
    CQXPControlToolbarExpand* pExpand = new CQXPControlToolbarExpand;
    pExpand->SetTemporary(TRUE);
    pExpand->SetHideFlags(qxpHideGeneric);
    // A popup control opens only with a popup bar: the button gets its own
    // now, so that the first click already opens it (it is refilled then).
    if (CQXPPopupBar* pPopup = CQXPPopupToolBar::CreatePopupToolBar(m_pCommandBars)) {
        if (!m_pCommandBars)
            pPopup->SetOwnerSite(GetOwnerSite());
        pExpand->SetCommandBar(pPopup);
        pPopup->InternalRelease();
    }
    m_pControls->InsertAt(pExpand, -1);
    return pExpand;
}

void CQXPToolBar::SetShowExpandButton(BOOL bShow)
{
    if (bShow == m_bShowExpandButton)
        return;
    m_bShowExpandButton = bShow;
    if (!bShow) {
        if (CQXPControlToolbarExpand* pExpand = FindExpandControl(FALSE))
            m_pControls->Remove(pExpand);
    }
    DelayLayout();
    if (m_pCommandBars && m_pDockBar)
        m_pCommandBars->RecalcFrameLayout(FALSE);
}

CQXPControl* CQXPToolBar::GetExpandButton() const
{
    CQXPControl* pExpand = const_cast<CQXPToolBar*>(this)->FindExpandControl(FALSE);
    return pExpand && pExpand->IsVisible() ? pExpand : NULL;
}

BOOL CQXPToolBar::HasHiddenControls() const
{
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        if (m_pControls->GetAt(i)->GetHideFlags() == qxpHideWrap)
            return TRUE;
    }
    return FALSE;
}

std::vector<CQXPToolBar*> CQXPToolBar::GetRowBars()
{
    std::vector<CQXPToolBar*> bars;
    if (m_pDockBar) {
        // This bar's row: the bars between the row breaks around it, in the
        // order of their places along the row.
        const std::vector<CQXPToolBar*>& arr = m_pDockBar->m_arrBars;
        int nIndex = m_pDockBar->FindBar(this);
        if (nIndex > 0) {
            int nStart = nIndex;
            while (nStart > 0 && arr[(size_t)nStart - 1])
                nStart--;
            for (size_t i = (size_t)nStart; i < arr.size() && arr[i]; i++)
                if (arr[i]->IsVisible())
                    bars.push_back(arr[i]);
        }
        BOOL bHorz = m_pDockBar->IsHorizontal();
        std::stable_sort(bars.begin(), bars.end(), [bHorz](CQXPToolBar* a, CQXPToolBar* b) {
            CRect ra, rb;
            ::GetWindowRect(a->GetSafeHwnd(), &ra);
            ::GetWindowRect(b->GetSafeHwnd(), &rb);
            return bHorz ? ra.left < rb.left : ra.top < rb.top;
        });
    } else {
        bars.push_back(this);
    }
    return bars;
}

IMPLEMENT_DYNCREATE(CQXPControlToolbarExpand, CQXPControlPopup)

CQXPControlToolbarExpand::CQXPControlToolbarExpand()
{
    m_controlType = qxpControlButtonPopup;
    m_nId = QXP_ID_TOOLBAR_EXPAND;
    m_dwFlags = qxpFlagLeftPopup | qxpFlagManualUpdate | qxpFlagNoMovable;
    m_strTooltipText = "Toolbar Options";
}

void CQXPControlToolbarExpand::Draw(CDC* pDC)
{
    CQXPThemePainter* pPaintManager = GetPaintManager();
    CQXPToolBar* pBar = dynamic_cast<CQXPToolBar*>(m_pParent);
    CSize sz(0, 0);
    // On a floating bar it is the drop-down button of the caption.
    int nKind = pBar && pBar->IsFloating() ? qxpExpandFloatMenu : qxpExpandToolbar;
    pPaintManager->DrawSpecialControl(&sz, pDC, nKind, this, m_pParent, TRUE, pBar && pBar->HasHiddenControls(), 0);
}

CQXPPopupBar* CQXPControlToolbarExpand::AskSiteForPopup(CQXPToolBar* pBar)
{
    CWnd* pSite = pBar->GetOwnerSite();
    if (pSite && ::IsWindow(pSite->GetSafeHwnd())) {
        QXP_CREATEBAR_RECORD rec;
        rec.pCommandBar = NULL;
        rec.bPopup = TRUE;
        rec.nReserved[0] = 1;
        rec.nReserved[1] = rec.nReserved[2] = 0;
        rec.nID = QXP_ID_TOOLBAR_EXPAND;
        if (pSite->SendMessage(WM_COMMANDBARS_CREATECOMMANDBAR, 0, (LPARAM)&rec) != 0)
            return dynamic_cast<CQXPPopupBar*>(rec.pCommandBar);
    }
    return NULL;
}

void CQXPControlToolbarExpand::AddAddRemoveButtons(CQXPCommandBars* pCommandBars, CQXPToolBar* pBar,
                                                   CQXPCommandBar* pPopup)
{
    CQXPControls* pTarget = pPopup->GetControls();
    CQXPControl* pAddRemove = pTarget->Add(qxpControlPopup, QXP_ID_ADDREMOVE_BUTTONS);
    if (!pAddRemove)
        return;
    pAddRemove->SetCaption("&Add or Remove Buttons");
    pAddRemove->SetFlags(pAddRemove->GetFlags() | qxpFlagManualUpdate);
    pAddRemove->SetBeginGroup(pTarget->GetCount() > 1);
    if (CQXPCommandBar* pList = pAddRemove->GetCommandBar()) {
        pList->GetControls()->RemoveAll();
        pCommandBars->FillExpandAddRemove(pBar, pList);
    }
}

BOOL CQXPControlToolbarExpand::OnSetPopup(BOOL bPopup)
{
    CQXPToolBar* pBar = dynamic_cast<CQXPToolBar*>(m_pParent);
    if (bPopup && pBar && !m_bPopup) {
        // Each opening, the site may hand over a popup of its own; else the
        // button keeps (or makes) a popup toolbar.
        CQXPPopupBar* pPopup = AskSiteForPopup(pBar);
        if (!pPopup) {
            pPopup = dynamic_cast<CQXPPopupToolBar*>(m_pCommandBar);
            if (pPopup)
                pPopup->InternalAddRef();
            else
                pPopup = CQXPPopupToolBar::CreatePopupToolBar(pBar->GetCommandBars());
        }
        if (pPopup != m_pCommandBar)
            SetCommandBar(pPopup);
        pPopup->InternalRelease();
        if (!pBar->GetCommandBars())
            pPopup->SetOwnerSite(pBar->GetOwnerSite());
        pPopup->GetControls()->RemoveAll();
        CQXPCommandBars* pCommandBars = pBar->GetCommandBars();
        if (!pCommandBars) {
            CQXPCommandBars::AddHiddenControlsOf(pBar, pPopup);
        } else {
            pCommandBars->FillExpandHiddenControls(pBar, pPopup);
            if (pCommandBars->GetOptions()->m_bShowExpandButtonAlways || pCommandBars->IsCustomizeAllowed())
                AddAddRemoveButtons(pCommandBars, pBar, pPopup);
        }
    }
    return CQXPControlPopup::OnSetPopup(bPopup);
}

// ---------------------------------------------------------------------------
// Floating and moving

void CQXPToolBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (IsFloating())
        ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    CQXPControl* pControl = m_pControls->HitTest(point);
    if (pControl || !m_pCommandBars || IsCustomizeMode()) {
        CQXPCommandBar::OnLButtonDown(nFlags, point);
        return;
    }
    // Between the buttons, on the gripper or the caption: the bar moves,
    // when it may dock or float at all.
    m_pCommandBars->ClosePopups();
    if (HitTestFloatingEdge(point) || (m_dwFlags & kDockAndFloatFlags))
        TrackMove(point);
}

BOOL CQXPToolBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_pCommandBars && !IsCustomizeMode()) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWnd, &pt);
        int nEdge = nHitTest == HTCLIENT ? HitTestFloatingEdge(pt) : (int)nHitTest;
        LPCSTR lpszCursor = NULL;
        switch (nEdge) {
        case HTLEFT:
        case HTRIGHT:
            lpszCursor = MAKEINTRESOURCEA(32644); // IDC_SIZEWE
            break;
        case HTTOP:
        case HTBOTTOM:
            lpszCursor = MAKEINTRESOURCEA(32645); // IDC_SIZENS
            break;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
            lpszCursor = MAKEINTRESOURCEA(32642); // IDC_SIZENWSE
            break;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
            lpszCursor = MAKEINTRESOURCEA(32643); // IDC_SIZENESW
            break;
        default:
            break;
        }
        // The gripper of a docked bar that may move: the four-way arrow.
        if (!lpszCursor && nHitTest == HTCLIENT && m_pDockBar && (m_dwFlags & kDockAndFloatFlags)) {
            BOOL bVert = m_barPosition == qxpBarLeft || m_barPosition == qxpBarRight;
            CRect rcBorders = GetBorders();
            if (bVert ? (pt.y >= 0 && pt.y < rcBorders.top) : (pt.x >= 0 && pt.x < rcBorders.left))
                lpszCursor = MAKEINTRESOURCEA(32646); // IDC_SIZEALL
        }
        if (lpszCursor && (nHitTest == HTCLIENT || IsFloating())) {
            ::SetCursor(::LoadCursorA(NULL, lpszCursor));
            return TRUE;
        }
    }
    return CQXPCommandBar::OnSetCursor(pWnd, nHitTest, message);
}

CSize CQXPToolBar::GetGripperSize() const
{
    if (!HasGripper() || IsFloating() || !m_pDockBar || m_barPosition > qxpBarRight)
        return CSize(0, 0);
    return const_cast<CQXPToolBar*>(this)->GetPaintManager()->DrawCommandBarGripper(
        NULL, const_cast<CQXPToolBar*>(this), FALSE);
}

CRect CQXPToolBar::GetBorders() const
{
    CRect rc = m_rcBorders;
    CSize szGripper = GetGripperSize();
    rc.left += szGripper.cx;
    rc.top += szGripper.cy;
    return rc;
}

void CQXPToolBar::DrawCommandBar(CDC* pDC, CRect rcClip)
{
    CQXPCommandBar::DrawCommandBar(pDC, rcClip);
    if (GetGripperSize() != CSize(0, 0))
        GetPaintManager()->DrawCommandBarGripper(pDC, this, TRUE);
    if (IsFloating()) {
        GetPaintManager()->DrawCommandBarGripper(pDC, this, TRUE);
        CRect rc;
        GetClientRect(&rc);
        pDC->Draw3dRect(rc, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DDKSHADOW));
        // The caption buttons lie on the caption just drawn.
        CFont* pOldFont = pDC->SelectObject(GetControlFont());
        if (CQXPControl* pClose = GetCloseButton())
            pClose->Draw(pDC);
        if (CQXPControl* pExpand = GetExpandButton())
            pExpand->Draw(pDC);
        pDC->SelectObject(pOldFont);
    }
}

IMPLEMENT_DYNCREATE(CQXPFloatingPopupBar, CQXPToolBar)

CQXPFloatingPopupBar::CQXPFloatingPopupBar()
{
    m_barType = qxpBarTypePopup;
    m_nMRUWidth = 0;
}

CSize CQXPToolBar::CalcLayout(int nLength, DWORD dwMode)
{
    const BOOL bCommit = (dwMode & qxpLayoutCommit) != 0;
    const BOOL bLengthIsHeight = (dwMode & qxpLayoutLengthIsHeight) != 0;
    if (dwMode & qxpLayoutMRUWidth)
        nLength = (m_nMRUWidth > 0 && m_nMRUWidth != 32767) ? m_nMRUWidth : 32767;
    CSize szCaption = GetPaintManager()->DrawCommandBarGripper(NULL, this, FALSE);
    CRect rcSave = m_rcBorders;
    int nPosition = m_barPosition;
    m_barPosition = qxpBarFloating;
    m_rcBorders = CRect(3, 3 + szCaption.cy + 1, 3, 3);
    CSize sz;
    if (m_barType == qxpBarTypePopup) {
        // A floating popup bar: one column, as a menu.
        UpdateShortcuts();
        CClientDC dc(m_hWnd && ::IsWindow(m_hWnd) ? this : NULL);
        CFont* pOldFont = dc.SelectObject(GetControlFont());
        sz = m_pControls->CalcPopupSize(&dc, 0, m_rcBorders);
        dc.SelectObject(pOldFont);
    } else {
        sz = CalcDockingLayout(nLength, qxpLayoutHorz | (bCommit ? qxpLayoutCommit : 0) |
                                            (bLengthIsHeight ? qxpLayoutLengthIsHeight : 0));
    }
    m_rcBorders = rcSave;
    m_barPosition = nPosition;
    // Room for the title.
    sz.cx = std::max((int)sz.cx, 60);
    // The close button at the right of the caption, as tall and wide as it,
    // and the options drop-down directly left of it.
    if (bCommit) {
        int m = szCaption.cy;
        CRect rcButton(sz.cx - 3 - m, 3, sz.cx - 3, m + 3);
        if (m_bCloseable) {
            if (CQXPControl* pClose = FindCloseControl(TRUE)) {
                pClose->SetRect(rcButton);
                pClose->SetHideFlags(pClose->GetHideFlags() & ~(DWORD)qxpHideGeneric);
            }
            rcButton.OffsetRect(-m, 0);
        }
        BOOL bAlways = m_pCommandBars ? m_pCommandBars->GetOptions()->m_bShowExpandButtonAlways : TRUE;
        // Room: the title keeps at least a caption height of its own.
        if (bAlways && m_bShowExpandButton && m_barType == qxpBarTypeNormal && !IsCustomizeMode() &&
            rcButton.left >= 3 + m) {
            if (CQXPControlToolbarExpand* pExpand = FindExpandControl(TRUE)) {
                pExpand->SetRect(rcButton);
                pExpand->SetHideFlags(pExpand->GetHideFlags() & ~(DWORD)qxpHideGeneric);
            }
        }
    }
    return sz;
}

BOOL CQXPToolBar::SetFloating(CPoint ptScreen)
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return FALSE;
    if (m_pDockBar) {
        // Remembered so that a double click docks the bar back there.
        if (m_pTracker != NULL)
            m_pTracker->SaveDockedPlace();
        m_pDockBar->RemoveCommandBar(this);
    }
    CWnd* pSite = GetOwnerSite();
    m_barPosition = qxpBarFloating;
    BOOL bWasChild = (GetStyle() & WS_CHILD) != 0;
    CreateBarWindow(pSite && ::IsWindow(pSite->GetSafeHwnd()) ? pSite : NULL, TRUE);
    // A window that has just left its parent may count as topmost already
    // without being stacked there (Wine): it goes to the bottom hidden, so
    // that raising it below really puts it above its frame.
    if (bWasChild)
        ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    CSize sz = CalcLayout(-1, kFloatingRelayoutMode);
    m_ptFloating = ptScreen;
    ::SetWindowPos(m_hWnd, HWND_TOP, ptScreen.x, ptScreen.y, sz.cx, sz.cy,
                   SWP_NOACTIVATE | SWP_FRAMECHANGED |
                       (m_bVisible && !m_bTemporarilyHidden ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    m_nPending &= ~qxpPendingLayout;
    if (m_pCommandBars)
        m_pCommandBars->RecalcFrameLayout(FALSE);
    Redraw();
    return TRUE;
}

void CQXPToolBar::AttachToDockBar(CQXPDockBar* pDock)
{
    if (GetStyle() & WS_CHILD)
        return;
    if (IsFloating()) {
        CRect rc;
        ::GetWindowRect(m_hWnd, &rc);
        m_ptFloating = rc.TopLeft();
    }
    CreateBarWindow(pDock, FALSE);
}

BOOL CQXPToolBar::DockTo(int nPosition, LPCRECT lpRect)
{
    CQXPDockBar* pDock = m_pCommandBars ? m_pCommandBars->GetDockBar(nPosition) : NULL;
    if (!pDock || !m_hWnd || !::IsWindow(m_hWnd))
        return FALSE;
    AttachToDockBar(pDock);
    m_barPosition = nPosition;
    if (m_pDockBar == pDock && lpRect == NULL) {
        m_pCommandBars->RecalcFrameLayout(FALSE);
        return TRUE;
    }
    pDock->DockCommandBar(this, lpRect);
    ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_pCommandBars->RecalcFrameLayout(FALSE);
    if (m_bVisible && !m_bTemporarilyHidden)
        ::ShowWindow(m_hWnd, SW_SHOWNA);
    Redraw();
    return TRUE;
}

BOOL CQXPToolBar::SetPosition(int nPosition)
{
    if (!m_pCommandBars)
        return FALSE;
    if (nPosition >= qxpBarTop && nPosition <= qxpBarRight)
        return m_pCommandBars->DockCommandBar(this, nPosition);
    if (nPosition == qxpBarFloating)
        return m_pCommandBars->FloatCommandBar(this);
    return FALSE;
}

int AFXAPI FloatingEdgeHitTest(const CRect& rcInner, CPoint pt)
{
    BOOL bLeft = pt.x < rcInner.left, bRight = pt.x >= rcInner.right;
    BOOL bTop = pt.y < rcInner.top, bBottom = pt.y >= rcInner.bottom;
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
    return 0;
}

int CQXPToolBar::HitTestFloatingEdge(CPoint point) const
{
    if (!IsFloating() || !m_hWnd)
        return 0;
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    const int nEdge = 3;
    rc.DeflateRect(nEdge, nEdge);
    return FloatingEdgeHitTest(rc, point);
}

void CQXPToolBar::TrackMove(CPoint ptStart)
{
    if (!m_hWnd || !m_pCommandBars || !m_pTracker)
        return;
    CPoint pt = ptStart;
    ::ClientToScreen(m_hWnd, &pt);
    if (int nEdge = HitTestFloatingEdge(ptStart))
        m_pTracker->TrackResize(nEdge, pt.x, pt.y);
    else
        m_pTracker->TrackMove(pt.x, pt.y);
}

namespace {

// The control of the same type and id in a collection, NULL when none.
CQXPControl* FindSameControl(CQXPControls* pControls, CQXPControl* pWanted)
{
    for (int i = 0; i < pControls->GetCount(); i++) {
        CQXPControl* pControl = pControls->GetAt(i);
        if (pControl->GetType() == pWanted->GetType() && pControl->GetID() == pWanted->GetID())
            return pControl;
    }
    return NULL;
}

} // namespace

void CQXPToolBar::FillAddRemoveList(CQXPControls* pItems)
{
    CQXPOriginalControls* pOriginals = m_pControls->GetOriginalControls();
    if (pOriginals) {
        // Buttons the user hid that the program never gave the bar go; the
        // program's buttons the bar lacks come back, hidden by the user.
        for (int i = m_pControls->GetCount(); i-- > 0;) {
            CQXPControl* pControl = m_pControls->GetAt(i);
            if ((pControl->GetHideFlags() & qxpHideCustomize) && !FindSameControl(pOriginals, pControl))
                m_pControls->Remove(pControl);
        }
        for (int i = 0; i < pOriginals->GetCount(); i++) {
            CQXPControl* pOriginal = pOriginals->GetAt(i);
            if (pOriginal->IsTemporary() || FindSameControl(m_pControls, pOriginal))
                continue;
            CQXPControl* pBack = m_pControls->AddCopy(pOriginal, std::min(i, m_pControls->GetCount()));
            if (pBack)
                pBack->SetHideFlags(pBack->GetHideFlags() | qxpHideCustomize);
        }
    }
    CQXPCommandBars* pCommandBars = GetCommandBars();
    CQXPKeyboardShortcuts* pShortcuts = pCommandBars ? pCommandBars->GetKeyboardShortcuts() : NULL;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        int nId = pControl->GetID();
        if (pControl->IsTemporary() || nId == QXP_ID_TOOLBAR_EXPAND || nId == QXP_ID_TOOLBAR_CLOSE ||
            (pControl->GetHideFlags() & (qxpHideGeneric | qxpHideDocTemplate)) || !pControl->IsCustomizeMovable())
            continue;
        // A command the program switched off for good is not offered.
        if (pControl->GetAction() && !pControl->GetAction()->GetEnabled())
            continue;
        CQXPControlToolbarVisibility* pItem = new CQXPControlToolbarVisibility;
        pItem->SetTarget(pControl);
        pItem->m_nId = nId;
        pItem->m_strCaption = pControl->GetCaption();
        if (pItem->m_strCaption.IsEmpty())
            pItem->m_strCaption = pControl->GetTooltip();
        pItem->m_nIconId = pControl->GetIconId();
        CString strShortcut = pControl->GetShortcutText();
        if (strShortcut.IsEmpty() && pShortcuts && nId > 0)
            pShortcuts->FindDefaultAccelerator(nId, strShortcut);
        pItem->m_strShortcutText = strShortcut;
        pItem->m_bChecked = (pControl->GetHideFlags() & qxpHideCustomize) ? 0 : 1;
        pItem->m_bEnabled = (pOriginals && FindSameControl(pOriginals, pControl)) ? TRUE : FALSE;
        pItems->InsertAt(pItem, -1);
    }
    // A program's toolbar can go back to its own buttons.
    if (pOriginals && m_bBuiltIn && !m_bTearOff) {
        CQXPControlToolbarReset* pReset = new CQXPControlToolbarReset;
        pReset->SetBar(this);
        pItems->InsertAt(pReset, -1);
        pReset->SetBeginGroup(TRUE);
    }
}

IMPLEMENT_DYNCREATE(CQXPControlToolbarVisibility, CQXPControlButton)

CQXPControlToolbarVisibility::CQXPControlToolbarVisibility() : m_pTarget(NULL)
{
    m_dwFlags = qxpFlagManualUpdate;
    m_bCloseSubMenuOnClick = FALSE;
}

CQXPControlToolbarVisibility::~CQXPControlToolbarVisibility()
{
    SetTarget(NULL);
}

void CQXPControlToolbarVisibility::SetTarget(CQXPControl* pTarget)
{
    if (pTarget)
        pTarget->InternalAddRef();
    if (m_pTarget)
        m_pTarget->InternalRelease();
    m_pTarget = pTarget;
}

void CQXPControlToolbarVisibility::OnExecute()
{
    CQXPControl* pTarget = m_pTarget;
    if (!pTarget)
        return;
    BOOL bHide = !(pTarget->GetHideFlags() & qxpHideCustomize);
    pTarget->SetHideFlag(qxpHideCustomize, bHide);
    m_bChecked = bHide ? 0 : 1;
    RedrawParent();
    // The bar of the button (if it is still on one) and the frame follow.
    CQXPCommandBar* pBar = pTarget->GetParent();
    if (pBar && pBar->GetControls()->FindControl(0, pTarget->GetID(), FALSE, FALSE)) {
        pBar->DelayLayout();
        pBar->OnRecalcLayout();
        CQXPCommandBars* pCommandBars = pBar->GetCommandBars();
        if (pCommandBars) {
            pCommandBars->RecalcFrameLayout(FALSE);
            pCommandBars->m_bLayoutChanged = TRUE;
        }
    }
}

// ---------------------------------------------------------------------------
// The floating frame: activation, hit testing, caption button, focus

CQXPControlToolbarClose* CQXPToolBar::FindCloseControl(BOOL bCreate)
{
    for (int i = m_pControls->GetCount(); i-- > 0;) {
        CQXPControlToolbarClose* pClose = dynamic_cast<CQXPControlToolbarClose*>(m_pControls->GetAt(i));
        if (pClose)
            return pClose;
    }
    if (!bCreate)
        return NULL;
    CQXPControlToolbarClose* pClose = new CQXPControlToolbarClose;
    pClose->SetTemporary(TRUE);
    pClose->SetHideFlags(qxpHideGeneric);
    m_pControls->InsertAt(pClose, -1);
    return pClose;
}

CQXPControl* CQXPToolBar::GetCloseButton() const
{
    if (!IsFloating())
        return NULL;
    CQXPControl* pClose = const_cast<CQXPToolBar*>(this)->FindCloseControl(FALSE);
    return pClose && pClose->IsVisible() ? pClose : NULL;
}

void CQXPToolBar::SetTemporarilyHidden(BOOL bHidden)
{
    bHidden = bHidden ? TRUE : FALSE;
    if (bHidden == m_bTemporarilyHidden)
        return;
    m_bTemporarilyHidden = bHidden;
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    if (bHidden) {
        if (m_bTracking)
            SetTrackingMode(FALSE);
        ::ShowWindow(m_hWnd, SW_HIDE);
        return;
    }
    if (!m_bVisible)
        return;
    ::ShowWindow(m_hWnd, SW_SHOWNA);
    if (IsFloating())
        OnRecalcLayout();
    // The menu bar takes the frame's menu back from the window.
    if (m_barType == qxpBarTypeMenuBar) {
        CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(GetOwnerSite());
        if (pFrame && ::IsWindow(pFrame->GetSafeHwnd()))
            pFrame->OnUpdateFrameMenu(NULL);
    }
}

BOOL CQXPToolBar::IsFrameActive() const
{
    CWnd* pSite = GetOwnerSite();
    HWND hTop = pSite ? ::GetAncestor(pSite->GetSafeHwnd(), GA_ROOT) : NULL;
    if (!hTop)
        return FALSE;
    HWND hActive = ::GetActiveWindow();
    if (hActive == hTop)
        return TRUE;
    // A floating window of the frame that keeps the frame's active look.
    if (hActive && ::GetWindow(hActive, GW_OWNER) == hTop &&
        ::SendMessageA(hActive, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0)
        return TRUE;
    return FALSE;
}

int CQXPToolBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    // A click on a floating bar leaves the activation, and so the focus,
    // where it is.
    if (IsFloating() || IsCustomizeMode())
        return MA_NOACTIVATE;
    HWND hFocus = ::GetFocus();
    if (hFocus && IsFrameActive()) {
        HWND hRoot = ::GetAncestor(hFocus, GA_ROOT);
        CWnd* pSite = GetOwnerSite();
        HWND hTop = pSite ? ::GetAncestor(pSite->GetSafeHwnd(), GA_ROOT) : NULL;
        if (hRoot && hRoot != hTop && ::GetWindow(hRoot, GW_OWNER) == hTop)
            return MA_NOACTIVATE;
    }
    return CQXPCommandBar::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

BOOL CQXPToolBar::OnNcActivate(BOOL bActive)
{
    if (bActive)
        return FALSE;
    return CQXPCommandBar::OnNcActivate(bActive);
}

LRESULT CQXPToolBar::OnFloatStatus(WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    LRESULT lResult = ((wParam & FS_SYNCACTIVE) && (GetStyle() & MFS_SYNCACTIVE)) ? 1 : 0;
    BOOL bSync = !m_pCommandBars || m_pCommandBars->GetOptions()->m_bSyncFloatingBars;
    if (!IsFloating() || !m_bVisible || m_bTemporarilyHidden || !bSync)
        return lResult;
    const UINT nQuiet = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (wParam & FS_DEACTIVATE) {
        // While activation moves, the frame may still count as active: the
        // bar looks again once the change is over.
        if (!IsFrameActive())
            ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0, nQuiet | SWP_HIDEWINDOW);
        else
            PostMessage(WM_QXP_FLOATSYNCCHECK);
    }
    if (wParam & FS_ACTIVATE) {
        HWND hForeground = ::GetForegroundWindow();
        if (!::IsWindowVisible(m_hWnd) && IsFrameActive() &&
            (!hForeground || (::IsWindowVisible(hForeground) && !::IsIconic(hForeground))))
            ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0, nQuiet | SWP_SHOWWINDOW);
    }
    if (wParam & FS_SHOW)
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0, nQuiet | SWP_SHOWWINDOW);
    if (wParam & FS_HIDE)
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0, nQuiet | SWP_HIDEWINDOW);
    if (wParam & (FS_ENABLE | FS_DISABLE))
        ::EnableWindow(m_hWnd, (wParam & FS_ENABLE) != 0);
    return lResult;
}

LRESULT CQXPToolBar::OnFloatSyncCheck(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    BOOL bSync = !m_pCommandBars || m_pCommandBars->GetOptions()->m_bSyncFloatingBars;
    if (IsFloating() && m_bVisible && !m_bTemporarilyHidden && bSync && ::IsWindowVisible(m_hWnd) &&
        !IsFrameActive())
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    return 0;
}

LRESULT CQXPToolBar::OnNcHitTest(CPoint point)
{
    // A floating bar is resized from a 3-pixel band along each edge; the
    // top and bottom bands run the full width, so a corner answers the
    // edge above or below it.
    if (IsFloating() && m_barType != qxpBarTypePopup) {
        CRect rc;
        ::GetWindowRect(m_hWnd, &rc);
        rc.DeflateRect(3, 3);
        if (point.y < rc.top)
            return HTTOP;
        if (point.y >= rc.bottom)
            return HTBOTTOM;
        if (point.x < rc.left)
            return HTLEFT;
        if (point.x >= rc.right)
            return HTRIGHT;
    }
    return CQXPCommandBar::OnNcHitTest(point);
}

void CQXPToolBar::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    BOOL bEdge = nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT;
    if (!bEdge || !IsFloating() || !m_pCommandBars || !m_pTracker) {
        CQXPCommandBar::OnNcLButtonDown(nHitTest, point);
        return;
    }
    if (IsCustomizeMode())
        return; // no system sizing loop for a frameless window
    CWnd* pSite = GetOwnerSite();
    HWND hTop = pSite ? ::GetAncestor(pSite->GetSafeHwnd(), GA_ROOT) : NULL;
    if (hTop && !IsFrameActive())
        ::SetActiveWindow(hTop);
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    m_pCommandBars->ClosePopups();
    m_pTracker->TrackResize((int)nHitTest, point.x, point.y);
}

void CQXPToolBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (!m_pControls->HitTest(point) && m_pCommandBars && !IsCustomizeMode() && ToggleDocking())
        return;
    CQXPCommandBar::OnLButtonDblClk(nFlags, point);
}

BOOL CQXPToolBar::ToggleDocking()
{
    return m_pTracker != NULL && m_pTracker->ToggleDocking();
}

void CQXPToolBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (IsCustomizeMode()) {
        // The customize context menu belongs to the customize dialog.
        CQXPCommandBar::OnRButtonDown(nFlags, point);
        return;
    }
    // A control may take the press itself.
    CQXPControl* pControl = m_pControls->HitTest(point);
    if (pControl && pControl->OnRButtonDown(point))
        return;
    // The click ends any tracking of the bar; then the toolbars menu.
    if (m_bTracking)
        SetTrackingMode(FALSE);
    SetSelected(-1, 0);
    Redraw();
    if (m_pCommandBars) {
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        m_pCommandBars->ContextMenu(ptScreen);
    }
}

void CQXPToolBar::OnSetFocus(CWnd* pOldWnd)
{
    CQXPCommandBar::OnSetFocus(pOldWnd);
    HWND hOld = pOldWnd ? pOldWnd->GetSafeHwnd() : NULL;
    if (!m_hWndFocusBefore && hOld != m_hWnd)
        m_hWndFocusBefore = hOld;
    if (!m_pCommandBars) {
        // A toolbar standing alone in a window is worked from the keyboard.
        if (!m_bTracking)
            SetTrackingMode(TRUE, TRUE, TRUE);
        return;
    }
    // A managed bar takes no keys: the window that had the focus keeps it.
    HWND hBack = m_hWndFocusBefore;
    m_hWndFocusBefore = NULL;
    if (!m_bTracking && hBack && ::IsWindow(hBack) && ::IsWindowVisible(hBack) && ::IsWindowEnabled(hBack))
        ::SetFocus(hBack);
}

// ---------------------------------------------------------------------------
// Reset

BOOL CQXPToolBar::CanReset() const
{
    return m_bCustomizable && m_pControls->IsChanged();
}

BOOL CQXPToolBar::ConfirmReset()
{
    CString strMessage;
    strMessage.Format("Are you sure you want to reset the changes made to the '%s' toolbar?", (LPCSTR)m_strTitle);
    CWnd* pSite = GetOwnerSite();
    HWND hOwner = pSite ? pSite->GetSafeHwnd() : NULL;
    char szCaption[256] = "";
    if (hOwner)
        ::GetWindowTextA(::GetAncestor(hOwner, GA_ROOT), szCaption, (int)sizeof(szCaption));
    return ::MessageBoxA(hOwner, strMessage, szCaption, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

void CQXPToolBar::Reset(BOOL bAsk)
{
    CQXPOriginalControls* pOriginal = m_pControls->GetOriginalControls();
    // A bar built from button ids has no resource but still keeps the
    // program's buttons to go back to.
    if (!m_bBuiltIn || !m_bCustomizable || (m_nResourceId == 0 && !pOriginal))
        return;
    if (bAsk && !ConfirmReset())
        return;
    InternalAddRef();
    if (pOriginal) {
        pOriginal->InternalAddRef();
        m_pControls->RemoveAll();
        for (int i = 0; i < pOriginal->GetCount(); i++) {
            CQXPControl* pControl = pOriginal->GetAt(i);
            if (!pControl->IsTemporary())
                m_pControls->AddCopy(pControl, -1, TRUE);
        }
        pOriginal->InternalRelease();
    } else {
        LoadToolBar(m_nResourceId);
    }
    CWnd* pSite = GetOwnerSite();
    if (pSite && ::IsWindow(pSite->GetSafeHwnd()))
        pSite->SendMessage(WM_QXP_BARRESET, 0, (LPARAM)this);
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        OnIdleUpdateCmdUI(TRUE, 0);
        DelayLayout();
        OnRecalcLayout();
    }
    if (m_pCommandBars)
        m_pCommandBars->m_bLayoutChanged = TRUE;
    InternalRelease();
}

IMPLEMENT_DYNCREATE(CQXPControlToolbarClose, CQXPControlButton)

CQXPControlToolbarClose::CQXPControlToolbarClose()
{
    m_nId = QXP_ID_TOOLBAR_CLOSE;
    m_dwFlags = qxpFlagSkipFocus | qxpFlagManualUpdate | qxpFlagNoMovable;
    m_strTooltipText = "Close";
}

void CQXPControlToolbarClose::Draw(CDC* pDC)
{
    CQXPThemePainter* pPaintManager = GetPaintManager();
    pPaintManager->DrawSpecialControl(NULL, pDC, qxpExpandFloatClose, this, m_pParent, TRUE);
}

void CQXPControlToolbarClose::OnExecute()
{
    CQXPCommandBar* pBar = m_pParent;
    if (pBar)
        pBar->SetVisible(FALSE);
}

IMPLEMENT_DYNCREATE(CQXPControlToolbarReset, CQXPControlButton)

CQXPControlToolbarReset::CQXPControlToolbarReset() : m_pBar(NULL)
{
    m_nId = QXP_ID_RESET_TOOLBAR;
    m_dwFlags = qxpFlagManualUpdate;
    m_strCaption = "&Reset Toolbar";
}

CQXPControlToolbarReset::~CQXPControlToolbarReset()
{
    SetBar(NULL);
}

void CQXPControlToolbarReset::SetBar(CQXPToolBar* pBar)
{
    if (pBar)
        pBar->InternalAddRef();
    if (m_pBar)
        m_pBar->InternalRelease();
    m_pBar = pBar;
}

void CQXPControlToolbarReset::OnExecute()
{
    CQXPToolBar* pBar = m_pBar;
    if (!pBar)
        return;
    pBar->InternalAddRef();
    CQXPCommandBars* pCommandBars = pBar->GetCommandBars();
    if (pCommandBars)
        pCommandBars->ClosePopups();
    else
        ToolkitMouseManager::GetInstance()->SendTrackLost();
    pBar->Reset(TRUE);
    pBar->InternalRelease();
}
