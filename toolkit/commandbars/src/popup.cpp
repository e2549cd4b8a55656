// Popup bars: the bar, showing and tracking it, its placement, selection,
// mouse and timers, and copies of it.

#include <qx/commandbars.h>
#include <qx/keytips.h>
#include <qx/mousemanager.h>
#include <qx/popup.h>
#include <qx/barshadow.h>
#include <qx/sysutil.h>
#include <qx/soundthread.h>
#include <qx/shortcuts.h>
#include <qx/toolbar.h>
#include <qx/tooltips.h>

#include <algorithm>
#include <functional>
#include <cstdlib>
#include <vector>

// ===========================================================================
// The screen under a popup

// What the screen shows in a rectangle, as a bitmap of its size (NULL for
// an empty rectangle or when no bitmap can be made).
static HBITMAP QxpCaptureScreen(const CRect& rc)
{
    if (rc.IsRectEmpty())
        return NULL;
    HDC hdcScreen = ::GetDC(NULL);
    if (!hdcScreen)
        return NULL;
    HBITMAP hbm = ::CreateCompatibleBitmap(hdcScreen, rc.Width(), rc.Height());
    HDC hdcMem = hbm ? ::CreateCompatibleDC(hdcScreen) : NULL;
    if (hdcMem) {
        HGDIOBJ hOld = ::SelectObject(hdcMem, hbm);
        ::BitBlt(hdcMem, 0, 0, rc.Width(), rc.Height(), hdcScreen, rc.left, rc.top, SRCCOPY);
        ::SelectObject(hdcMem, hOld);
        ::DeleteDC(hdcMem);
    }
    ::ReleaseDC(NULL, hdcScreen);
    return hbm;
}

// Paints what the screen showed under a popup (a bitmap of its size, may be
// NULL) into its window before an animation starts from it.
static void QxpPaintUnder(HDC hdcWindow, HBITMAP hbmUnder, CSize sz)
{
    if (!hbmUnder)
        return;
    HDC hdcUnder = ::CreateCompatibleDC(hdcWindow);
    if (!hdcUnder)
        return;
    HGDIOBJ hOld = ::SelectObject(hdcUnder, hbmUnder);
    ::BitBlt(hdcWindow, 0, 0, sz.cx, sz.cy, hdcUnder, 0, 0, SRCCOPY);
    ::SelectObject(hdcUnder, hOld);
    ::DeleteDC(hdcUnder);
}

// ===========================================================================
// CQXPPopupBar

IMPLEMENT_DYNCREATE(CQXPPopupBar, CQXPCommandBar)

BEGIN_MESSAGE_MAP(CQXPPopupBar, CQXPCommandBar)
    ON_WM_NCCREATE()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
    ON_WM_DESTROY()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
    ON_WM_MOUSEWHEEL()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

int CQXPPopupBar::s_nShowFullDelay = 900;

CQXPPopupBar::CQXPPopupBar() : m_pControlPopup(NULL), m_ptPopup(0, 0), m_popupFlags(0), m_ptRequest(0, 0)
{
    m_barType = qxpBarTypePopup;
    m_barPosition = qxpBarPopup;
    m_rcBorders = CRect(2, 4, 2, 4);
    m_scrollBottom.nID = QXP_TID_SCROLLDOWN;
    m_scrollTop.nID = QXP_TID_SCROLLUP;
}

CQXPPopupBar::~CQXPPopupBar()
{
    m_pReturnCmd = NULL;
}

CQXPPopupBar* AFXAPI CQXPPopupBar::CreateForOwner(CQXPCommandBars* pCommandBars)
{
    CQXPPopupBar* pBar = new CQXPPopupBar;
    pBar->SetCommandBars(pCommandBars);
    return pBar;
}

CQXPCommandBar* CQXPPopupBar::GetRootParent()
{
    CQXPCommandBar* pBar = this;
    for (int nGuard = 0; nGuard < 64; nGuard++) {
        CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(pBar);
        if (!pPopup || !pPopup->m_pControlPopup || !pPopup->m_pControlPopup->GetParent())
            return pBar;
        pBar = pPopup->m_pControlPopup->GetParent();
    }
    return pBar;
}

int CQXPPopupBar::GetTearOffHeight() const
{
    if (!m_bTearOffPopup)
        return 0;
    CSize sz(0, 0);
    const_cast<CQXPPopupBar*>(this)->GetPaintManager()->DrawTearOffStrip(&sz, NULL, CRect(0, 0, 0, 0), FALSE, FALSE);
    return sz.cy;
}

CRect CQXPPopupBar::GetBorders() const
{
    if (m_barType == qxpBarTypeNormal)
        return m_rcBorders;
    return const_cast<CQXPPopupBar*>(this)->GetPaintManager()->GetCommandBarBorders(const_cast<CQXPPopupBar*>(this));
}

CRect CQXPPopupBar::InnerBorders() const
{
    CRect rc = GetBorders();
    rc.top += GetTearOffHeight();
    // The gripper and the expand button take the foot of the popup.
    rc.bottom += GetGripperHeight();
    if (m_bHasHiddenItems)
        rc.bottom += m_nExpandHeight;
    return rc;
}

CSize CQXPPopupBar::GetPresentSize() const
{
    CRect rc(0, 0, 0, 0);
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::GetClientRect(m_hWnd, &rc);
    return rc.Size();
}

CSize CQXPPopupBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    return CalcLayout(nLength, dwMode);
}

CSize CQXPPopupBar::CalcToolBarLayout()
{
    CClientDC dc(m_hWnd && ::IsWindow(m_hWnd) ? this : NULL);
    CFont* pOldFont = dc.SelectObject(GetControlFont());
    UpdateShortcuts();
    int nTearOff = GetTearOffHeight();
    CRect rcBorders = m_rcBorders;
    rcBorders.top += nTearOff;
    CSize sz = m_pControls->CalcDynamicSize(&dc, m_nMRUWidth, qxpLayoutWrapGroups | qxpLayoutCommit | qxpLayoutHorz,
                                            rcBorders);
    dc.SelectObject(pOldFont);
    m_rcTearOff = m_bTearOffPopup ? CRect(m_rcBorders.left, m_rcBorders.top, sz.cx - m_rcBorders.right,
                                          m_rcBorders.top + nTearOff)
                                  : CRect(0, 0, 0, 0);
    m_rcResizeGripper.SetRectEmpty();
    m_nResizeFlags = 0;
    return sz;
}

CSize CQXPPopupBar::CalcLayout(int nLength, DWORD dwMode)
{
    if (m_bInLayout)
        return GetPresentSize();
    if (m_barType == qxpBarTypeNormal) {
        // A popup toolbar: rows within the MRUWidth.
        m_bInLayout = TRUE;
        CSize sz = CalcToolBarLayout();
        m_bInLayout = FALSE;
        return sz;
    }
    m_bInLayout = TRUE;
    CClientDC dc(m_hWnd && ::IsWindow(m_hWnd) ? this : NULL);
    CFont* pOldFont = dc.SelectObject(GetControlFont());
    CQXPControl* pResizable = GetResizableControl();
    m_nResizeFlags = pResizable ? (pResizable->GetResizeFlags() & 3) : 0;
    if (!(dwMode & qxpLayoutKeepState)) {
        for (int i = 0; i < m_pControls->GetCount(); i++)
            if (m_pControls->GetAt(i)->GetParent() == this)
                m_pControls->GetAt(i)->SetWrap(FALSE);
        UpdateHiddenItems();
        UpdateShortcuts();
    }
    CQXPControl* pExpand = GetExpandButton();
    if (m_bHasHiddenItems && !pExpand) {
        pExpand = m_pControls->AddControl(new CQXPControlExpandButton, QXP_ID_EXPANDPOPUP, CString(), -1, TRUE);
        pExpand->SetParent(this);
    }
    m_nExpandHeight = 0;
    if (pExpand) {
        // Out of the list while it is laid out; placed below it after.
        pExpand->SetHideFlag(qxpHideGeneric, TRUE);
        if (m_bHasHiddenItems)
            m_nExpandHeight = pExpand->GetSize(&dc).cy;
    }
    CRect rcBorders = InnerBorders();
    // One column unless a length limits its height; where the placement
    // finds no room for the height, the list scrolls.
    CSize sz = m_pControls->CalcPopupSize(&dc, std::max(0, nLength), rcBorders);
    dc.SelectObject(pOldFont);
    const CRect rcOuter = GetBorders();
    int nFoot = sz.cy - rcOuter.bottom - GetGripperHeight();
    if (pExpand && m_bHasHiddenItems) {
        pExpand->SetHideFlag(qxpHideGeneric, FALSE);
        CRect rcExpand(rcOuter.left, nFoot - m_nExpandHeight, sz.cx - rcOuter.right, nFoot);
        pExpand->SetRect(rcExpand);
        pExpand->SetRowRect(rcExpand);
    }
    m_rcResizeGripper = m_nResizeFlags ? CRect(rcOuter.left, nFoot, sz.cx - rcOuter.right,
                                               nFoot + GetGripperHeight())
                                       : CRect(0, 0, 0, 0);
    m_bScrolling = FALSE;
    m_scrollTop.Stop();
    m_scrollBottom.Stop();
    m_scrollTop.rc.SetRectEmpty();
    m_scrollBottom.rc.SetRectEmpty();
    int nCount = m_pControls->GetCount();
    m_scrollHeights.assign((size_t)nCount, 0);
    m_scrollGaps.assign((size_t)nCount, 0);
    int nBottom = rcBorders.top;
    for (int i = 0; i < nCount; i++) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetParent() != this || !pControl->IsVisible(0) || IsExpandButton(pControl))
            continue;
        CRect rc = pControl->GetRect();
        m_scrollHeights[(size_t)i] = rc.Height();
        m_scrollGaps[(size_t)i] = std::max(0, (int)rc.top - nBottom);
        nBottom = rc.bottom;
    }
    m_rcTearOff = m_bTearOffPopup ? CRect(rcOuter.left, rcOuter.top, sz.cx - rcOuter.right,
                                          rcOuter.top + GetTearOffHeight())
                                  : CRect(0, 0, 0, 0);
    m_bInLayout = FALSE;
    return sz;
}

// ===========================================================================
// Placement of a shown popup

CRect CQXPPopupBar::CalcPosition(CSize sz)
{
    QXP_POPUP_PLACEMENT place;
    place.size = sz;
    place.pt = m_ptRequest;
    place.rcExclude = m_rcExclude;
    place.nFlags = m_nRequestFlags;
    place.bFlip = IsFlipAllowed();
    // Flipped beside its owner, a drop-down opens as from a vertical bar.
    if (m_pControlPopup && place.bFlip && (place.nFlags & qxpPopupDown) && !place.rcExclude.IsRectEmpty() &&
        m_pControlPopup->GetParent() && ::IsWindow(m_pControlPopup->GetParent()->GetSafeHwnd()))
        place.rcExcludeVertical = GetOwnerExcludeRect(TRUE);
    place.rcWork = !m_rcWorkArea.IsRectEmpty()
                       ? m_rcWorkArea
                       : QxpGetPopupWorkArea(GetMultiMonitorHelper(), place.pt, place.rcExclude);
    const QXP_POPUP_PLACEMENT request = place;
    QxpCalcPopupPosition(place);
    // A menu flipping by its own flag keeps its size; others lay out anew.
    if (m_bPopupFlip)
        place.bRelayout = FALSE;
    if (place.bRelayout && m_barType == qxpBarTypePopup) {
        // A menu without room for its height where it may open continues
        // in further columns, as tall as the work area allows.
        CRect W = place.rcWork;
        W.bottom -= 5;
        CSize szColumns = CalcDynamicLayout(W.Height(), qxpLayoutKeepState);
        place = request;
        place.size = szColumns;
        QxpCalcPopupPosition(place);
    }
    if (place.bRelayout && m_barType == qxpBarTypePopup) {
        // Not even one column fits: the list scrolls, as it does where
        // popups may not flip.
        place = request;
        place.size = CalcDynamicLayout(0, qxpLayoutKeepState);
        place.bFlip = FALSE;
        QxpCalcPopupPosition(place);
    }
    m_popupFlags = place.nFlags;
    m_ptPopup = place.rcResult.TopLeft();
    if (place.bTooTall && m_barType == qxpBarTypePopup && m_barPosition == qxpBarPopup) {
        // Taller than the work area: show the list from its top with
        // scroll bands.
        m_bScrolling = TRUE;
        m_nFirstVisible = 0;
        m_scrollTop.hWnd = m_scrollBottom.hWnd = m_hWnd;
        LayoutScroll(place.size, FALSE, FALSE);
    }
    return place.rcResult;
}

BOOL CQXPPopupBar::IsFlipAllowed() const
{
    CQXPCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && pCommandBars->GetOptions()->m_bPopupFlip)
        return TRUE;
    CQXPCommandBar* pOpener = m_pControlPopup ? m_pControlPopup->GetParent() : NULL;
    return m_bPopupFlip || (pOpener && pOpener->m_bPopupFlip);
}

void CQXPPopupBar::PlaceWindow(const CRect& rc)
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    BOOL bShown = ::IsWindowVisible(m_hWnd);
    ::SetWindowPos(m_hWnd, bShown ? NULL : HWND_TOPMOST, rc.left, rc.top, rc.Width(), rc.Height(),
                   SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER | (bShown ? SWP_NOZORDER : 0));
}

CRect CQXPPopupBar::UpdateLocation()
{
    CRect rc = CalcPosition(CalcDynamicLayout(0, 0));
    PlaceWindow(rc);
    return rc;
}

void CQXPPopupBar::OnRecalcLayout()
{
    m_nPending &= ~qxpPendingLayout;
    if (m_bInLayout || !m_hWnd || !::IsWindow(m_hWnd) || !m_bTracking)
        return;
    InternalAddRef();
    CRect rcOld;
    ::GetWindowRect(m_hWnd, &rcOld);
    // The opening control may have moved meanwhile: the popup opens
    // against where it is now.
    CQXPCommandBar* pOwnerBar = m_pControlPopup ? m_pControlPopup->GetParent() : NULL;
    if (pOwnerBar && ::IsWindow(pOwnerBar->GetSafeHwnd())) {
        CRect rcExclude;
        m_ptRequest = UpdateFlags(rcExclude);
        m_nRequestFlags = m_popupFlags;
        m_rcExclude = rcExclude;
    }
    CRect rcNew = CalcPosition(CalcDynamicLayout(0, 0));
    if (rcNew == rcOld && !m_bAnimateExpand) {
        Redraw();
        InternalRelease();
        return;
    }
    // Keyboard tips sit on the old places of the controls: they go and come
    // back once the popup has its new shape.
    CQXPCommandBars* pBars = GetCommandBars();
    CQXPKeyboardTips* pTips = pBars ? pBars->GetKeyboardTips() : NULL;
    BOOL bTipsShown = pTips && pTips->IsShown() && pTips->GetBar() == this;
    if (bTipsShown)
        pBars->HideKeyboardTips();
    RemovePopupShadows();
    CQXPThemePainter* pPaintManager = GetPaintManager();
    int nType = m_bAnimateExpand ? GetAnimationType() : (int)kAnimationNone;
    BOOL bAnimate = pPaintManager && !rcNew.IsRectEmpty() &&
                    (nType == qxpAnimateUnfold || nType == qxpAnimateSlide || nType == qxpAnimateFade);
    if (bAnimate) {
        // The expansion unrolls over what the screen showed under the new
        // rectangle (the shortened menu included).
        HBITMAP hbmUnder = QxpCaptureScreen(rcNew);
        ::ShowWindow(m_hWnd, SW_HIDE);
        ::SetWindowPos(m_hWnd, NULL, rcNew.left, rcNew.top, rcNew.Width(), rcNew.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
        pPaintManager->SetBarRegion(this);
        HDC hdcWindow = ::GetDC(m_hWnd);
        if (hdcWindow) {
            CRect rcClient(0, 0, rcNew.Width(), rcNew.Height());
            QxpPaintUnder(hdcWindow, hbmUnder, rcClient.Size());
            AnimateFromBuffer(hdcWindow, rcClient.Size(), FALSE, [&](CDC* pWindow, CDC* pBuffer) {
                pPaintManager->AnimateExpand(this, pWindow, pBuffer, rcNew.top == rcOld.top);
            });
            ::ReleaseDC(m_hWnd, hdcWindow);
        }
        if (hbmUnder)
            ::DeleteObject(hbmUnder);
    } else {
        PlaceWindow(rcNew);
        if (pPaintManager)
            pPaintManager->SetBarRegion(this);
    }
    SetPopupShadows();
    // Removing the popup's shadows took the opening control's along.
    if (m_pControlPopup)
        m_pControlPopup->UpdateShadow();
    Redraw();
    if (bTipsShown && ::IsWindow(m_hWnd))
        ::PostMessageA(m_hWnd, WM_TIMER, QXP_TID_SHOWKEYTIPS, 0);
    m_bAnimateExpand = FALSE;
    InternalRelease();
}

// ===========================================================================
// Copies

void CQXPPopupBar::Copy(CQXPCommandBar* pOther, BOOL bRecursive)
{
    if (!pOther || pOther == this)
        return;
    CQXPCommandBars* pOwnCommandBars = m_pCommandBars;
    CQXPCommandBar::Copy(pOther, bRecursive);
    // A popup finds its manager through its parent: a copy keeps the one it
    // had, else takes the one the original finds.
    if (!m_pCommandBars)
        SetCommandBars(pOwnCommandBars ? pOwnCommandBars : pOther->GetCommandBars());
    CQXPPopupBar* pFrom = dynamic_cast<CQXPPopupBar*>(pOther);
    if (!pFrom)
        return;
    m_bTearOffPopup = pFrom->m_bTearOffPopup;
    m_strTearOffCaption = pFrom->m_strTearOffCaption;
    m_nTearOffId = pFrom->m_nTearOffId;
    m_nTearOffWidth = pFrom->m_nTearOffWidth;
    m_bShowShadow = pFrom->m_bShowShadow;
    m_rcBorders = pFrom->m_rcBorders;
    m_bDoubleGripper = pFrom->m_bDoubleGripper;
    m_bContextMenu = pFrom->m_bContextMenu;
}

CQXPPopupBar* CQXPPopupBar::Clone(BOOL bRecursive)
{
    return static_cast<CQXPPopupBar*>(CQXPCommandBar::Clone(bRecursive));
}

// ===========================================================================
// Showing and tracking

BOOL CQXPPopupBar::CreatePopupWindow()
{
    // Save-bits as the manager's option says (on without a manager). The
    // class is the same for every popup: its style follows the option.
    CQXPCommandBars* pCommandBars = GetCommandBars();
    UINT nClassStyle = CS_DBLCLKS | ((!pCommandBars || pCommandBars->GetOptions()->m_bPopupSaveBits) ? CS_SAVEBITS : 0);
    QxpRegisterWndClass("QXPPopupBar", nClassStyle);
    CWnd* pSite = GetOwnerSite();
    DWORD dwExStyle = WS_EX_TOOLWINDOW;
    if (pCommandBars ? pCommandBars->IsLayoutRTL()
                     : (pSite && (::GetWindowLongPtrA(pSite->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL)))
        dwExStyle |= WS_EX_LAYOUTRTL;
    // MFS_SYNCACTIVE: the frame keeps its active caption while the popup is
    // open, and a click in the popup does not take the activation.
    if (!CreateEx(dwExStyle, "QXPPopupBar", m_strTitle, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | MFS_SYNCACTIVE,
                  0, 0, 0, 0, pSite ? pSite->GetSafeHwnd() : NULL, NULL))
        return FALSE;
    if ((UINT)::GetClassLongPtrA(m_hWnd, GCL_STYLE) != nClassStyle)
        ::SetClassLongPtrA(m_hWnd, GCL_STYLE, (LONG_PTR)nClassStyle);
    return TRUE;
}

BOOL CQXPPopupBar::OnNcCreate(LPCREATESTRUCTA lpcs)
{
    if (!CQXPCommandBar::OnNcCreate(lpcs))
        return FALSE;
    if (!(GetStyle() & MFS_SYNCACTIVE))
        return TRUE;
    // Born with the activation look of the frame it belongs to: active when
    // the frame (or a synchronised popup of it) is the foreground window.
    HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
    HWND hWndTop = hWndOwner ? ::GetAncestor(hWndOwner, GA_ROOTOWNER) : NULL;
    HWND hWndFore = ::GetForegroundWindow();
    BOOL bActive = FALSE;
    if (hWndTop && hWndTop != m_hWnd) {
        if (hWndFore == hWndTop)
            bActive = TRUE;
        else if (hWndFore && ::GetLastActivePopup(hWndTop) == hWndFore &&
                 ::SendMessageA(hWndFore, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0)
            bActive = TRUE;
    }
    SendMessage(WM_FLOATSTATUS, bActive ? FS_ACTIVATE : FS_DEACTIVATE, 0);
    return TRUE;
}

LRESULT CQXPPopupBar::OnFloatStatus(WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    return (GetStyle() & MFS_SYNCACTIVE) && (wParam & FS_SYNCACTIVE) ? 1 : 0;
}

int CQXPPopupBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    (void)pDesktopWnd;
    (void)nHitTest;
    (void)message;
    // A click in a menu leaves the activation (and the focus) where it is.
    return MA_NOACTIVATE;
}

BOOL CQXPPopupBar::Popup(CQXPControlPopup* pControlPopup, BOOL bKeyboard)
{
    m_pControlPopup = pControlPopup;
    CQXPCommandBar* pParent = pControlPopup ? pControlPopup->GetParent() : NULL;
    if (!pParent || !::IsWindow(pParent->GetSafeHwnd()))
        return FALSE;
    SetCommandBars(pParent->GetCommandBars());
    if (!m_hWndSite)
        m_hWndSite = pParent->GetOwnerSite()->GetSafeHwnd();
    CRect rcExclude;
    CPoint pt = UpdateFlags(rcExclude);
    if (!PopupAt(pt.x, pt.y, &rcExclude))
        return FALSE;
    if (bKeyboard && m_hWnd && ::IsWindow(m_hWnd)) {
        int nFirst = m_pControls->GetNext(-1, +1);
        if (nFirst != -1)
            SetSelected(nFirst, 2);
    }
    return TRUE;
}

void CQXPPopupBar::HideToolTips()
{
    CQXPCommandBar* bars[] = {this, m_pControlPopup ? m_pControlPopup->GetParent() : NULL};
    for (CQXPCommandBar* pBar : bars) {
        // A bar without a manager has no tooltip context.
        CQXPToolTipContext* pContext = pBar ? pBar->GetToolTipContext() : NULL;
        CWnd* pTip = pContext ? pContext->GetToolTip() : NULL;
        if (pTip && ::IsWindow(pTip->GetSafeHwnd()))
            pTip->SendMessage(TTM_POP, 0, 0);
    }
}

void CQXPPopupBar::AdjustExcludeRect(CRect& rcExclude, BOOL bVertical)
{
    if (m_pControlPopup)
        m_pControlPopup->AdjustExcludeRect(rcExclude, bVertical);
}

CRect CQXPPopupBar::GetOwnerExcludeRect(BOOL bVertical)
{
    CQXPCommandBar* pParent = m_pControlPopup ? m_pControlPopup->GetParent() : NULL;
    if (!pParent)
        return CRect(0, 0, 0, 0);
    CRect rcExclude = m_pControlPopup->GetRect();
    pParent->ClientToScreen(&rcExclude);
    AdjustExcludeRect(rcExclude, bVertical);
    return rcExclude;
}

CPoint CQXPPopupBar::UpdateFlags(CRect& rcExclude)
{
    CQXPCommandBar* pParent = m_pControlPopup->GetParent();
    int nPos = pParent->GetPosition();
    // A floating bar laid out as a menu opens its popups as a menu does.
    BOOL bPopupParent =
        nPos == qxpBarPopup || (nPos == qxpBarFloating && pParent->GetType() == qxpBarTypePopup);
    BOOL bComboOnBar = m_pControlPopup->GetType() == qxpControlComboBox && !bPopupParent;
    // Side-docked bars and menus run vertically: their popups open beside
    // the control rather than below it.
    BOOL bVertical = nPos == qxpBarLeft || nPos == qxpBarRight || bPopupParent;
    if (bComboOnBar) {
        // A combo box's list lies exactly under its field.
        rcExclude = m_pControlPopup->GetRect();
        pParent->ClientToScreen(&rcExclude);
    } else {
        rcExclude = GetOwnerExcludeRect(bVertical);
    }

    CQXPCommandBars* pCommandBars = GetCommandBars();
    BOOL bRTL = (m_hWnd && ::IsWindow(m_hWnd)) ? IsLayoutRTL() : (pCommandBars && pCommandBars->IsLayoutRTL());
    int nFlags = 0;
    if ((m_pControlPopup->GetFlags() & qxpFlagLeftPopup) || bRTL)
        nFlags |= qxpPopupLeft;
    if (nPos == qxpBarPopup && (pParent->GetFlags() & qxpFlagGroupedLayout)) {
        nFlags |= qxpPopupDown;
    } else if (nPos == qxpBarRight) {
        nFlags = qxpPopupLeft;
    } else if (nPos == qxpBarLeft || bPopupParent) {
        // A submenu goes on the way its menu went.
        CQXPPopupBar* pParentPopup = dynamic_cast<CQXPPopupBar*>(pParent);
        if (pParentPopup && pParent->GetType() == qxpBarTypePopup && (pParentPopup->m_popupFlags & qxpPopupLeft))
            nFlags = qxpPopupLeft;
    } else {
        nFlags |= qxpPopupDown;
    }
    // A combo box's list always drops below it.
    if (bComboOnBar)
        nFlags |= qxpPopupDown;
    m_popupFlags = nFlags;
    return (nFlags & qxpPopupDown) ? CPoint(rcExclude.left, rcExclude.bottom) : CPoint(rcExclude.right, rcExclude.top);
}

BOOL CQXPPopupBar::PopupAt(int x, int y, LPCRECT rcExclude)
{
    // The site may release the bar that holds this popup while it opens.
    InternalAddRef();
    BOOL bShown;
    {
        // Redraws asked for while it opens happen once it is shown.
        CQXPBarRedrawLock lock(this);
        bShown = ShowAt(x, y, rcExclude);
    }
    InternalRelease();
    return bShown;
}

void CQXPPopupBar::ResetSelection()
{
    CQXPCommandBar::ResetSelection();
    OnRecalcLayout();
}

BOOL CQXPPopupBar::ShowAt(int x, int y, LPCRECT rcExclude)
{
    if (!m_hWnd || !::IsWindow(m_hWnd)) {
        if (!CreatePopupWindow())
            return FALSE;
    }
    CQXPCommandBar* pOwnerBar = m_pControlPopup ? m_pControlPopup->GetParent() : NULL;
    HWND hWndOwnerBar = pOwnerBar ? pOwnerBar->GetSafeHwnd() : NULL;
    HideToolTips();
    // The site may fill the popup before it is measured.
    CWnd* pSite = GetOwnerSite();
    if (pSite && ::IsWindow(pSite->GetSafeHwnd()))
        pSite->SendMessage(WM_QXP_INITCOMMANDSPOPUP, 0, (LPARAM)this);
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return FALSE;
    ToolkitSoundThread::Instance()->Play(qxpSoundMenuPopup);
    m_bTearOffHot = FALSE;
    m_bHasHiddenItems = FALSE;
    m_bAnimateExpand = FALSE;
    // Once the user expanded a menu, the others of the same menu loop open
    // in full.
    m_bExpanded = IsCustomizeMode() || ToolkitMouseManager::GetInstance()->IsMenusExpanded();
    m_ptRequest = CPoint(x, y);
    m_nRequestFlags = m_popupFlags;
    m_rcExclude = rcExclude ? CRect(*rcExclude) : CRect(0, 0, 0, 0);
    CRect rc = CalcPosition(CalcDynamicLayout(0, 0));
    // Keep what the screen shows under the popup so that an animation
    // starts from it rather than from an unpainted window.
    HBITMAP hbmUnder = GetAnimationType() != kAnimationNone ? QxpCaptureScreen(rc) : NULL;
    PlaceWindow(rc);
    // The site closed the opening control's bar meanwhile: nothing opens.
    if (hWndOwnerBar && !::IsWindow(hWndOwnerBar)) {
        if (hbmUnder)
            ::DeleteObject(hbmUnder);
        DestroyWindow();
        return FALSE;
    }
    if (!m_bTracking) {
        CQXPCommandBar::SetTrackingMode(TRUE, FALSE, FALSE);
        ::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
        if (pSite && ::IsWindow(pSite->GetSafeHwnd()))
            ::UpdateWindow(pSite->GetSafeHwnd());
    }
    m_nPending &= ~qxpPendingLayout;
    OnIdleUpdateCmdUI(TRUE, 0);
    ShowAnimated(hbmUnder);
    if (hbmUnder)
        ::DeleteObject(hbmUnder);
    SetPopupShadows();
    if (::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, NULL, FALSE);
    return TRUE;
}

void CQXPPopupBar::AnimateFromBuffer(HDC hdcWindow, CSize sz, BOOL bFinish,
                                     const std::function<void(CDC*, CDC*)>& animate)
{
    HDC hdcBuffer = ::CreateCompatibleDC(hdcWindow);
    HBITMAP hbmBuffer = hdcBuffer ? ::CreateCompatibleBitmap(hdcWindow, sz.cx, sz.cy) : NULL;
    if (hbmBuffer) {
        HGDIOBJ hOld = ::SelectObject(hdcBuffer, hbmBuffer);
        {
            CDC dcWindow, dcBuffer;
            dcWindow.Attach(hdcWindow);
            dcBuffer.Attach(hdcBuffer);
            DrawCommandBar(&dcBuffer, CRect(CPoint(0, 0), sz));
            animate(&dcWindow, &dcBuffer);
            dcBuffer.Detach();
            dcWindow.Detach();
        }
        if (bFinish)
            ::BitBlt(hdcWindow, 0, 0, sz.cx, sz.cy, hdcBuffer, 0, 0, SRCCOPY);
        ::SelectObject(hdcBuffer, hOld);
        ::DeleteObject(hbmBuffer);
    }
    if (hdcBuffer)
        ::DeleteDC(hdcBuffer);
}

void CQXPPopupBar::RemovePopupShadows()
{
    if (m_hWnd)
        GetLayeredShadowManager()->RemoveShadows(this);
}

void CQXPPopupBar::SetPopupShadows()
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    // Shadows of an earlier place never stay behind. The manager decides by
    // the theme and the system's setting whether new ones are made.
    CLayeredShadowManager* pShadows = GetLayeredShadowManager();
    pShadows->RemoveShadows(this);
    if (m_barPosition == qxpBarPopup && m_bShowShadow)
        pShadows->SetShadow(this, m_rcExclude);
}

void CQXPPopupBar::OffsetPopupShadows(int dx, int dy)
{
    if (m_hWnd && (dx || dy))
        GetLayeredShadowManager()->OffsetShadows(this, dx, dy);
}

int CQXPPopupBar::GetAnimationType() const
{
    CQXPCommandBars* pBars = GetCommandBars();
    if (!pBars || (m_hWnd && ::GetWindow(m_hWnd, GW_CHILD)))
        return kAnimationNone;
    int nType = pBars->GetOptions()->m_nAnimation;
    if (nType == 1) {
        // Random: each of the three kinds in turn of chance.
        switch (rand() % 3) {
        case 0:
            return qxpAnimateFade;
        case 1:
            return qxpAnimateSlide;
        default:
            return qxpAnimateUnfold;
        }
    }
    if (nType == 0) {
        // Follow the system's menu settings.
        BOOL bAnimation = FALSE, bFade = FALSE;
        if (!::SystemParametersInfoA(SPI_GETMENUANIMATION, 0, &bAnimation, 0) || !bAnimation)
            return kAnimationNone;
        if (::SystemParametersInfoA(SPI_GETMENUFADE, 0, &bFade, 0) && bFade)
            return qxpAnimateFade;
        return qxpAnimateSlide;
    }
    return nType;
}

void CQXPPopupBar::ShowAnimated(HBITMAP hbmUnder)
{
    CQXPThemePainter* pPaintManager = GetPaintManager();
    CQXPCommandBar* pParent = m_pControlPopup ? m_pControlPopup->GetParent() : NULL;
    int nType = GetAnimationType();
    // A popup opened from a bar animates only when that bar asked for it
    // (the user opened it explicitly); popups at a point always may.
    BOOL bAnimate = (nType == qxpAnimateUnfold || nType == qxpAnimateSlide || nType == qxpAnimateFade) &&
                    (!pParent || pParent->m_bAnimateNextPopup) && !IsCustomizeMode() &&
                    !::GetWindow(m_hWnd, GW_CHILD) && pPaintManager;
    if (pParent)
        pParent->m_bAnimateNextPopup = FALSE;
    if (!bAnimate) {
        if (pPaintManager)
            pPaintManager->SetBarRegion(this);
        return;
    }
    // The opener looks pressed before the menu unrolls from it.
    if (m_pControlPopup) {
        m_pControlPopup->RedrawParent(FALSE);
        if (pParent && ::IsWindow(pParent->GetSafeHwnd()))
            ::UpdateWindow(pParent->GetSafeHwnd());
        if (m_hWndSite && ::IsWindow(m_hWndSite))
            ::UpdateWindow(m_hWndSite);
    }
    if (!::IsWindow(m_hWnd))
        return;
    CRect rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    HDC hdcWindow = ::GetDC(m_hWnd);
    if (!hdcWindow)
        return;
    QxpPaintUnder(hdcWindow, hbmUnder, rcClient.Size());
    pPaintManager->SetBarRegion(this);
    // Some kinds stop one frame short of the finished picture: it is put in
    // place afterwards.
    AnimateFromBuffer(hdcWindow, rcClient.Size(), TRUE, [&](CDC* pWindow, CDC* pBuffer) {
        pPaintManager->AnimatePopup(pWindow, pBuffer, rcClient, nType);
    });
    ::ReleaseDC(m_hWnd, hdcWindow);
}

BOOL CQXPPopupBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    if (!CQXPCommandBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard))
        return FALSE;
    if (!bMode) {
        // The caller's result variable is only valid while it tracks.
        m_pReturnCmd = NULL;
        m_scrollTop.Stop();
        m_scrollBottom.Stop();
        m_bTearOffHot = FALSE;
        m_bAnimateExpand = FALSE;
        if (m_hWnd && ::IsWindow(m_hWnd)) {
            ::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
            ::KillTimer(m_hWnd, QXP_TID_TEAROFFHOT);
            ::KillTimer(m_hWnd, QXP_TID_SHOWFULL);
            DismissWindow();
        }
        if (m_pControlPopup && m_pControlPopup->GetPopuped()) {
            m_pControlPopup->m_bPopup = FALSE;
            CQXPCommandBar* pParent = m_pControlPopup->GetParent();
            if (pParent && pParent->GetPopupedIndex() == m_pControlPopup->GetIndex()) {
                pParent->m_nPopuped = -1;
                // The menu closed by itself (a command, Esc, a click
                // outside): the bar that opened it stops tracking too.
                if (pParent->GetType() != qxpBarTypePopup && pParent->IsTrackingMode())
                    pParent->SetTrackingMode(FALSE);
            }
            m_pControlPopup->RedrawParent();
        }
        CWnd* pSite = GetOwnerSite();
        if (pSite && ::IsWindow(pSite->GetSafeHwnd()))
            pSite->SendMessage(WM_QXP_UNINITCOMMANDSPOPUP, 0, (LPARAM)this);
        // Let the windows uncovered by the popup repaint before whatever
        // the closing leads to (a command) runs.
        ::Sleep(1);
        // The popup belongs to no control until it is opened again: whoever
        // opens it next names its owner anew (Popup).
        m_pControlPopup = NULL;
        if (pSite && ::IsWindow(pSite->GetSafeHwnd()))
            ::UpdateWindow(pSite->GetSafeHwnd());
    }
    return TRUE;
}

void CQXPPopupBar::DismissWindow()
{
    DestroyWindow();
}

BOOL CQXPPopupBar::DestroyWindow()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        // Windows hosted on the popup (an edit box, a custom control's
        // window) belong to their controls, not to this window: they go to
        // the site, hidden, and come back when the popup opens again.
        CWnd* pSite = GetSite();
        HWND hWndSite = pSite ? pSite->GetSafeHwnd() : NULL;
        if (hWndSite == m_hWnd || (hWndSite && !::IsWindow(hWndSite)))
            hWndSite = NULL;
        std::vector<HWND> children;
        for (HWND hWndChild = ::GetWindow(m_hWnd, GW_CHILD); hWndChild;
             hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT))
            children.push_back(hWndChild);
        for (HWND hWndChild : children) {
            ::ShowWindow(hWndChild, SW_HIDE);
            ::SetParent(hWndChild, hWndSite);
        }
    }
    return CQXPCommandBar::DestroyWindow();
}

int CQXPPopupBar::TrackPopupReturnCmd(CWnd* pSite, int x, int y)
{
    return TrackPopup(pSite, x, y, TRUE);
}

BOOL CQXPPopupBar::OnTrackKey(UINT nKey)
{
    switch (nKey) {
    case VK_ESCAPE:
        SetTrackingMode(FALSE);
        return FALSE;
    case VK_DOWN:
    case VK_UP: {
        int nNext = m_pControls->GetNext(m_nSelected, nKey == VK_DOWN ? +1 : -1);
        if (nNext != -1)
            SetSelected(nNext, nKey == VK_DOWN ? 2 : 3);
        return TRUE;
    }
    case VK_RETURN: {
        CQXPControl* pControl = GetSelected();
        if (pControl && pControl->GetEnabled())
            pControl->OnClick(TRUE, CPoint(0, 0));
        return m_bTracking;
    }
    default:
        return TRUE;
    }
}

int CQXPPopupBar::TrackPopup(CWnd* pSite, int x, int y, BOOL bReturnCmd, int nDirection, LPCRECT lpExclude)
{
    int nResult = 0;
    SetOwnerSite(pSite);
    m_pReturnCmd = bReturnCmd ? &nResult : NULL;
    m_popupFlags = nDirection;
    InternalAddRef();
    if (!PopupAt(x, y, lpExclude)) {
        m_pReturnCmd = NULL;
        InternalRelease();
        return 0;
    }
    HWND hWnd = m_hWnd;
    // Only an enabled item that runs a command counts as a choice (not a
    // disabled one, nor one that merely opens its submenu).
    auto isChoosable = [](CQXPControl* pControl) {
        return pControl && pControl->GetEnabled() && pControl->GetID() != 0 && !pControl->GetCommandBar();
    };
    // A window of this popup or of a submenu it opened, or a window on one
    // of them (the edit of a box, which takes its own clicks).
    auto isOwnWindow = [this](HWND hWndMsg) {
        for (HWND h = hWndMsg; h != NULL; h = ::GetParent(h)) {
            CQXPCommandBar* pBar = dynamic_cast<CQXPCommandBar*>(CWnd::FromHandlePermanent(h));
            if (pBar)
                return pBar->GetRootParent() == this;
            if (!(::GetWindowLongA(h, GWL_STYLE) & WS_CHILD))
                break;
        }
        return false;
    };
    BOOL bChosen = FALSE;
    while (m_bTracking && ::IsWindow(hWnd)) {
        MSG msg;
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (!m_bTracking) {
            // Tracking ended while the message was awaited (a sent message
            // closed the popup): it belongs to the caller's loop. Paint
            // requests come again by themselves.
            if (msg.message != WM_PAINT)
                ::PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
            break;
        }
        if (msg.message == WM_KICKIDLE)
            continue;
        // A box of the menu with the focus (the edit of an edit control)
        // types the keys; Enter and Esc stay the menu's.
        HWND hWndFocus = ::GetFocus();
        BOOL bBoxKey = msg.message == WM_KEYDOWN && msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE &&
                       hWndFocus != NULL && msg.hwnd == hWndFocus && isOwnWindow(hWndFocus) &&
                       !dynamic_cast<CQXPCommandBar*>(CWnd::FromHandlePermanent(hWndFocus));
        if (msg.message == WM_KEYDOWN && !bBoxKey) {
            CQXPControl* pSelected = msg.wParam == VK_RETURN ? GetSelected() : NULL;
            BOOL bEnter = isChoosable(pSelected);
            if (!OnTrackKey((UINT)msg.wParam)) {
                bChosen = bEnter;
                break;
            }
            continue;
        }
        if (msg.message == WM_MOUSEWHEEL && !isOwnWindow(msg.hwnd)) {
            // The wheel goes to the focus window, but it stays with the open
            // menu (its selected control, a list that scrolls), never the
            // document behind it.
            CKeyboardHook::Instance()->NotifyHooks(WM_MOUSEWHEEL, msg.wParam, msg.lParam);
            continue;
        }
        if ((msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN) &&
            !isOwnWindow(msg.hwnd)) {
            SetTrackingMode(FALSE);
            break;
        }
        BOOL bRelease = (msg.message == WM_LBUTTONUP || (msg.message == WM_RBUTTONUP && m_bRightButton)) &&
                        isOwnWindow(msg.hwnd);
        BOOL bCandidate = FALSE;
        if (bRelease) {
            CQXPCommandBar* pBar = dynamic_cast<CQXPCommandBar*>(CWnd::FromHandlePermanent(msg.hwnd));
            bCandidate = pBar && isChoosable(pBar->GetControls()->HitTest(
                                     CPoint((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam))));
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        // The release chose the item when it ended the tracking.
        if (bCandidate && !m_bTracking)
            bChosen = TRUE;
    }
    if (m_bTracking)
        SetTrackingMode(FALSE);
    m_pReturnCmd = NULL;
    InternalRelease();
    return bReturnCmd ? nResult : bChosen;
}

void CQXPPopupBar::OnDestroy()
{
    m_pReturnCmd = NULL;
    if (m_bTracking)
        SetTrackingMode(FALSE);
    CQXPCommandBar::OnDestroy();
}

// ===========================================================================
// Selection, mouse and timers

BOOL CQXPPopupBar::SetSelected(int nSelected, int nHow)
{
    CQXPControl* pWanted = m_pControls->GetAt(nSelected);
    if (pWanted && (pWanted->GetHideFlags() & qxpHideExpand) && m_bHasHiddenItems && !m_bExpanded) {
        // A command hidden in a shortened menu is never selected (the first
        // item chosen from the keyboard, for one): the next shown one is.
        int nDirection = nHow == 3 ? -1 : +1;
        int nNext = m_pControls->GetNext(nSelected, nDirection, TRUE, FALSE, TRUE);
        nSelected = (nNext == nSelected) ? -1 : nNext;
    }
    if (!CQXPCommandBar::SetSelected(nSelected, nHow))
        return FALSE;
    CQXPControl* pControl = GetSelected();
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        // Resting on the expand button shows the full menu after a while.
        CQXPCommandBars* pBars = GetCommandBars();
        if (pControl && IsExpandButton(pControl) && nHow <= 1 && pBars && pBars->GetOptions()->m_bShowFullAfterDelay)
            ::SetTimer(m_hWnd, QXP_TID_SHOWFULL, (UINT)s_nShowFullDelay, NULL);
        else
            ::KillTimer(m_hWnd, QXP_TID_SHOWFULL);
    }
    if (m_bScrolling && pControl && (pControl->GetHideFlags() & qxpHideScroll) && m_hWnd && ::IsWindow(m_hWnd)) {
        // A control chosen by the keyboard while scrolled out comes into view.
        CRect rcClient;
        GetClientRect(&rcClient);
        int nIndex = pControl->GetIndex();
        if (nIndex < m_nEndVisible) {
            m_nFirstVisible = nIndex;
            LayoutScroll(rcClient.Size(), FALSE, TRUE);
        } else {
            m_nEndVisible = nIndex + 1;
            LayoutScroll(rcClient.Size(), TRUE, TRUE);
        }
    }
    return TRUE;
}

void CQXPPopupBar::DrawCommandBar(CDC* pDC, CRect rcClip)
{
    CQXPCommandBar::DrawCommandBar(pDC, rcClip);
    HDC hDC = pDC->m_hDC;
    if (m_bScrolling) {
        // An arrow at the middle of each scroll band, pointing the way the
        // band scrolls.
        COLORREF clrArrow = ToolkitColorManager::Instance()->GetColor(COLOR_BTNTEXT);
        HBRUSH hBrush = ::CreateSolidBrush(clrArrow);
        HPEN hPen = ::CreatePen(PS_SOLID, 1, clrArrow);
        HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush);
        HGDIOBJ hOldPen = ::SelectObject(hDC, hPen);
        for (int nArea = 0; nArea < 2; nArea++) {
            const CRect& rc = nArea ? m_scrollTop.rc : m_scrollBottom.rc;
            if (rc.IsRectEmpty())
                continue;
            CPoint c = rc.CenterPoint();
            int nTip = nArea ? -3 : 3;
            POINT pts[3] = {{c.x - 3, c.y}, {c.x + 3, c.y}, {c.x, c.y + nTip}};
            ::Polygon(hDC, pts, 3);
        }
        ::SelectObject(hDC, hOldPen);
        ::SelectObject(hDC, hOldBrush);
        ::DeleteObject(hPen);
        ::DeleteObject(hBrush);
    }
    if (m_bTearOffPopup && m_pControls->GetCount() > 0 && !m_rcTearOff.IsRectEmpty())
        GetPaintManager()->DrawTearOffStrip(NULL, pDC, m_rcTearOff, m_bTearOffHot, TRUE);
    if (m_nResizeFlags && !m_rcResizeGripper.IsRectEmpty()) {
        // The paint manager knows two looks: a row of dots across a strip
        // (1), for a gripper that only changes the height, and dots in the
        // corner (2) for one that changes the width too.
        const CRect& rc = m_rcResizeGripper;
        GetPaintManager()->DrawResizeGripper(pDC, rc.left, rc.top, rc.right, rc.bottom, m_nResizeFlags == 2 ? 1 : 2);
    }
}

void CQXPPopupBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_nLockTracking > 0)
        return;
    if (m_bScrolling) {
        m_scrollTop.hWnd = m_scrollBottom.hWnd = m_hWnd;
        BOOL bTop = m_scrollTop.Track(point);
        BOOL bBottom = m_scrollBottom.Track(point);
        if ((bTop || bBottom) && m_nPopuped != -1)
            SetPopuped(-1);
    }
    if (m_bTearOffPopup && !m_bTearOffHot && m_rcTearOff.PtInRect(point)) {
        SetSelected(-1, 0);
        if (m_nPopuped != -1)
            SetPopuped(-1);
        ::SetTimer(m_hWnd, QXP_TID_TEAROFFHOT, 80, NULL);
    }
    CQXPCommandBar::OnMouseMove(nFlags, point);
}

void CQXPPopupBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_bTearOffPopup && m_pControls->GetCount() > 0 && m_rcTearOff.PtInRect(point)) {
        TrackTearOff(point);
        return;
    }
    if (m_scrollTop.rc.PtInRect(point) || m_scrollBottom.rc.PtInRect(point))
        return;
    if (m_nResizeFlags && GetResizeHitRect().PtInRect(point)) {
        TrackResize(point);
        return;
    }
    CQXPCommandBar::OnLButtonDown(nFlags, point);
}

BOOL CQXPPopupBar::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    (void)nFlags;
    (void)pt;
    if (!m_bScrolling)
        return FALSE;
    // One item per notch; a fine wheel collects its steps until a notch.
    m_nWheelRemainder += zDelta;
    int nNotches = m_nWheelRemainder / WHEEL_DELTA;
    m_nWheelRemainder -= nNotches * WHEEL_DELTA;
    if (nNotches != 0)
        ScrollItems(-nNotches);
    return TRUE;
}

void CQXPPopupBar::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case QXP_TID_SCROLLDOWN:
        if (!ScrollItems(1) || m_nEndVisible >= m_pControls->GetCount())
            m_scrollBottom.Stop();
        return;
    case QXP_TID_SCROLLUP:
        if (!ScrollItems(-1) || m_nFirstVisible <= 0)
            m_scrollTop.Stop();
        return;
    case QXP_TID_TEAROFFHOT: {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        BOOL bOver = m_rcTearOff.PtInRect(pt);
        if (!m_bTearOffHot && bOver) {
            m_bTearOffHot = TRUE;
            Redraw();
        } else if (m_bTearOffHot && !bOver && !m_bTearOffTracking) {
            m_bTearOffHot = FALSE;
            Redraw();
            ::KillTimer(m_hWnd, QXP_TID_TEAROFFHOT);
        } else if (!m_bTearOffHot && !bOver) {
            ::KillTimer(m_hWnd, QXP_TID_TEAROFFHOT);
        }
        return;
    }
    case QXP_TID_SHOWFULL: {
        ::KillTimer(m_hWnd, QXP_TID_SHOWFULL);
        CQXPControl* pSelected = GetSelected();
        if (m_bTracking && pSelected && IsExpandButton(pSelected)) {
            InternalAddRef();
            pSelected->OnExecute();
            InternalRelease();
        }
        return;
    }
    default:
        CQXPCommandBar::OnTimer(nIDEvent);
    }
}

// ===========================================================================
// CQXPPopupToolBar

IMPLEMENT_DYNCREATE(CQXPPopupToolBar, CQXPPopupBar)

CQXPPopupToolBar::CQXPPopupToolBar()
{
    m_barType = qxpBarTypeNormal;
    m_rcBorders = CRect(2, 4, 2, 4);
}

CSize CQXPPopupToolBar::CalcLayout(int nLength, DWORD dwMode)
{
    (void)nLength;
    (void)dwMode;
    if (m_bInLayout)
        return GetPresentSize();
    m_bInLayout = TRUE;
    CSize sz = CalcToolBarLayout();
    m_bInLayout = FALSE;
    return sz;
}

CQXPPopupToolBar* AFXAPI CQXPPopupToolBar::CreatePopupToolBar(CQXPCommandBars* pCommandBars)
{
    CQXPPopupToolBar* pBar = new CQXPPopupToolBar;
    pBar->SetCommandBars(pCommandBars);
    return pBar;
}
