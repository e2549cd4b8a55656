// Popup controls, popup bars and popup placement.

#include <qx/commandbars.h>
#include <qx/keytips.h>
#include <qx/mousemanager.h>
#include <qx/popup.h>
#include <qx/barshadow.h>
#include <qx/sysutil.h>
#include <qx/soundthread.h>
#include <qx/toolbar.h>

#include <algorithm>
#include <functional>
#include <cstdlib>

// ===========================================================================
// Placement

CRect AFXAPI QxpGetPopupWorkArea(CQXPMultiMonitor* pMonitors, CPoint pt, const CRect& rcExclude)
{
    if (!rcExclude.IsRectEmpty())
        return CRect(pMonitors->GetWorkAreaFromRect(&rcExclude));
    CRect rcWork(pMonitors->GetWorkAreaFromPoint(pt));
    CRect rcScreen(pMonitors->GetScreenAreaFromPoint(pt));
    // A point on the monitor but outside its work area lies over the
    // taskbar: the popup may use the whole monitor there.
    if (rcScreen.PtInRect(pt) && !rcWork.PtInRect(pt))
        return rcScreen;
    return rcWork;
}

void AFXAPI QxpCalcPopupPosition(QXP_POPUP_PLACEMENT& place)
{
    CRect W = place.rcWork;
    W.bottom -= 5;
    int w = place.size.cx;
    int h = place.size.cy;
    int x = place.pt.x;
    int y = place.pt.y;
    CRect R = place.rcExclude;
    int& F = place.nFlags;
    BOOL bFlip = place.bFlip;
    place.bTooTall = FALSE;
    place.bRelayout = FALSE;
    // Every comparison is made in screen coordinates: a monitor's work area
    // need not start at 0 (a second monitor, a taskbar at the top or left).
    int nMiddleY = (W.top + W.bottom) / 2;

    if (R.Height() == 0 && y > W.bottom) {
        y -= h;
    } else if (y + h > W.bottom) {
        if (R.Height() == 0) {
            y = (y < nMiddleY) ? W.bottom - h : y - h;
        } else if (F & qxpPopupDown) {
            y = R.top - h;
            if (y < W.top) {
                if (bFlip) {
                    F &= ~qxpPopupDown;
                    R = place.rcExcludeVertical.IsRectNull() ? place.rcExclude : place.rcExcludeVertical;
                    if (!(F & qxpPopupLeft))
                        x = R.right;
                    y = W.bottom - h;
                } else {
                    place.bTooTall = TRUE;
                    if (nMiddleY < (R.top + R.bottom) / 2) {
                        y = W.top;
                        h = R.top - W.top;
                    } else {
                        y = R.bottom;
                        h = W.bottom - R.bottom;
                    }
                }
            }
        } else {
            y = W.bottom - h;
        }
        y = std::max(y, (int)W.top);
        if (y + h > W.bottom) {
            if (!bFlip) {
                h = W.bottom - y;
                place.bTooTall = TRUE;
            } else {
                place.bRelayout = TRUE;
            }
        }
    }

    if (F == (qxpPopupLeft | qxpPopupDown) && R.Width() > 0)
        x = R.right - w;
    else if (F & qxpPopupLeft)
        x = R.Width() > 0 ? R.left - w : x - w;

    if (x + w > W.right) {
        if (R.Width() == 0 && x > W.right)
            x -= w;
        else {
            x = ((!(F & qxpPopupDown) && R.Width() > 0) ? (int)R.left : (int)W.right) - w;
            F |= qxpPopupLeft;
        }
        x = std::max(x, (int)W.left);
    } else if (x < W.left) {
        if (R.Width() > 0) {
            x = !(F & qxpPopupDown) ? (int)R.right : (int)W.left;
            F &= ~qxpPopupLeft;
        } else if (F & qxpPopupLeft) {
            x = W.left;
            F &= ~qxpPopupLeft;
        }
    }
    place.size = CSize(w, h);
    place.rcResult = CRect(x, y, x + w, y + h);
}

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

// One step of a popup's modal drag (tear-off strip, resize gripper) while
// hWnd holds the capture: pending paints first, then messages that are not
// the drag's own are dispatched until the mouse moves over hWnd to a new
// screen point (qxpDragMoved, *pPt), the button is released or WM_QUIT
// arrives (re-posted; qxpDragEnded), Esc is pressed (qxpDragEscaped) or the
// window loses the capture (qxpDragLost).
enum QxpDragStep { qxpDragMoved, qxpDragEnded, qxpDragEscaped, qxpDragLost };
static int QxpNextDragStep(HWND hWnd, const CPoint& ptLast, CPoint* pPt)
{
    for (;;) {
        if (::GetCapture() != hWnd)
            return qxpDragLost;
        MSG msg;
        if (!QxpDispatchPendingPaint())
            return qxpDragEnded;
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            return qxpDragEnded;
        }
        if (msg.message == WM_LBUTTONUP)
            return qxpDragEnded;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            return qxpDragEscaped;
        if (msg.message != WM_MOUSEMOVE || msg.hwnd != hWnd) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            continue;
        }
        CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
        ::ClientToScreen(hWnd, &pt);
        if (pt == ptLast)
            continue;
        *pPt = pt;
        return qxpDragMoved;
    }
}

// ===========================================================================
// CQXPControlPopup

IMPLEMENT_DYNCREATE(CQXPControlPopup, CQXPControlButton)

CQXPControlPopup::CQXPControlPopup() : m_pCommandBar(NULL), m_bPopup(FALSE)
{
    m_controlType = qxpControlPopup;
}

CQXPControlPopup::~CQXPControlPopup()
{
    SetCommandBar((CQXPCommandBar*)NULL);
}

void CQXPControlPopup::SetCommandBar(CQXPCommandBar* pBar)
{
    if (pBar == m_pCommandBar)
        return;
    if (pBar)
        pBar->InternalAddRef();
    if (m_pCommandBar) {
        if (CQXPPopupBar* pOld = dynamic_cast<CQXPPopupBar*>(m_pCommandBar))
            if (pOld->m_pControlPopup == this)
                pOld->m_pControlPopup = NULL;
        m_pCommandBar->InternalRelease();
    }
    m_pCommandBar = pBar;
    if (CQXPPopupBar* pPopupBar = dynamic_cast<CQXPPopupBar*>(pBar))
        pPopupBar->m_pControlPopup = this;
}

void CQXPControlPopup::SetCommandBar(CMenu* pMenu)
{
    CQXPPopupBar* pBar = CQXPPopupBar::CreatePopupBar(GetCommandBars());
    if (!pBar)
        return;
    pBar->LoadMenu(pMenu, TRUE);
    SetCommandBar(pBar);
    pBar->InternalRelease();
}

void CQXPControlPopup::SetParent(CQXPCommandBar* pParent)
{
    CQXPControl::SetParent(pParent);
    if (m_pCommandBar && pParent && !m_pCommandBar->GetCommandBars())
        m_pCommandBar->SetCommandBars(pParent->GetCommandBars());
}

BOOL CQXPControlPopup::OnSetPopup(BOOL bPopup)
{
    CQXPPopupBar* pBar = dynamic_cast<CQXPPopupBar*>(m_pCommandBar);
    if (bPopup == m_bPopup)
        return FALSE;
    if (!bPopup) {
        m_bPopup = FALSE;
        if (pBar)
            pBar->SetTrackingMode(FALSE);
        RedrawParent();
        return TRUE;
    }
    // No popup without a bar to show, with the drop-down of a split button
    // disabled, or without a parent window to drop from.
    if (!pBar || !IsDropDownEnabled() || !m_pParent || !::IsWindow(m_pParent->GetSafeHwnd()))
        return FALSE;
    m_bPopup = TRUE;
    // The pressed look shows before the popup covers the screen.
    RedrawParent(FALSE);
    CWnd* pSite = m_pParent->GetOwnerSite();
    if (pSite && ::IsWindow(pSite->GetSafeHwnd()))
        ::UpdateWindow(pSite->GetSafeHwnd());
    if (m_pParent && ::IsWindow(m_pParent->GetSafeHwnd()))
        ::UpdateWindow(m_pParent->GetSafeHwnd());
    // Painting may have taken the control off its bar or changed its popup.
    if (!m_pParent || m_pCommandBar != pBar) {
        m_bPopup = FALSE;
        return FALSE;
    }
    if (!pBar->IsTrackingMode() && !pBar->Popup(this)) {
        m_bPopup = FALSE;
        RedrawParent(FALSE);
        return FALSE;
    }
    UpdateShadow();
    return TRUE;
}

void CQXPControlPopup::UpdateShadow()
{
    CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(m_pCommandBar);
    if (!m_pCommandBar || !m_pParent || m_pParent->GetPosition() == qxpBarPopup)
        return;
    if (m_controlType != qxpControlPopup && m_controlType != qxpControlButtonPopup &&
        m_controlType != qxpControlSplitButtonPopup)
        return;
    // A floating popup (a torn-off menu) is no bar the popup drops from.
    if (m_pParent->GetPosition() == qxpBarFloating && m_pParent->GetType() == qxpBarTypePopup)
        return;
    if (pPopup && pPopup->m_bShowShadow && m_bShadow)
        GetLayeredShadowManager()->SetControlShadow(this);
}

CQXPControlPopup* AFXAPI CQXPControlPopup::CreateControlPopup(int nType)
{
    CQXPControlPopup* pControl = new CQXPControlPopup;
    if (nType == qxpControlPopup || nType == qxpControlButtonPopup || nType == qxpControlSplitButtonPopup)
        pControl->m_controlType = nType;
    return pControl;
}

BOOL CQXPControlPopup::IsFaceEnabled() const
{
    int nEnabled = GetEnabled();
    if (m_controlType == qxpControlSplitButtonPopup && nEnabled == 4)
        return FALSE;
    return nEnabled != 0;
}

BOOL CQXPControlPopup::IsDropDownEnabled() const
{
    int nEnabled = GetEnabled();
    if (m_controlType == qxpControlSplitButtonPopup && nEnabled == 3)
        return FALSE;
    return nEnabled != 0;
}

void CQXPControlPopup::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (!GetEnabled() || !m_pParent)
        return;
    CQXPCommandBar* pParent = m_pParent;
    if (pParent->GetPopupedIndex() == m_nIndex) {
        // A second click on an open title closes its menu and ends the
        // bar's menu mode.
        if (pParent->GetType() != qxpBarTypePopup && pParent->IsTrackingMode())
            pParent->SetTrackingMode(FALSE);
        else
            pParent->SetPopuped(-1);
        return;
    }
    if (m_controlType == qxpControlSplitButtonPopup && !IsCustomizeMode()) {
        if (bKeyboard) {
            // Only the drop-down works (4): the keyboard opens it; else the
            // face's command runs.
            if (GetEnabled() == 4)
                pParent->SetPopuped(m_nIndex);
            else
                OnExecute();
            return;
        }
        CRect rcFace = pParent->GetPaintManager()->GetSplitCommandRect(this);
        if (rcFace.PtInRect(pt)) {
            // The face opens nothing.
            pParent->m_bAnimateNextPopup = FALSE;
            if (pParent->GetType() == qxpBarTypePopup) {
                // In a menu the command runs on the release; resting on the
                // face must not open the popup meanwhile.
                if (::IsWindow(pParent->GetSafeHwnd()))
                    ::KillTimer(pParent->GetSafeHwnd(), QXP_TID_HOVER);
                return;
            }
            if (IsFaceEnabled())
                TrackPress(rcFace);
            return;
        }
        if (!IsDropDownEnabled())
            return;
    }
    pParent->SetPopuped(m_nIndex);
}

void CQXPControlPopup::OnLButtonUp(CPoint pt)
{
    if (!m_pCommandBar) {
        CQXPControlButton::OnLButtonUp(pt);
        return;
    }
    // Only a split item of a menu runs on the release, and only on its face.
    if (m_controlType != qxpControlSplitButtonPopup || !m_pParent || m_pParent->GetType() != qxpBarTypePopup ||
        !IsFaceEnabled() || IsCustomizeMode())
        return;
    CRect rcFace = m_pParent->GetPaintManager()->GetSplitCommandRect(this);
    if (pt.x < rcFace.right)
        OnExecute();
}

void CQXPControlPopup::OnMouseMove(CPoint pt)
{
    if (m_controlType != qxpControlSplitButtonPopup || !m_pParent || m_pParent->GetType() == qxpBarTypePopup ||
        !m_nSelected || !m_pCommandBar || !GetEnabled())
        return;
    CRect rcFace = m_pParent->GetPaintManager()->GetSplitCommandRect(this);
    int nPart = rcFace.PtInRect(pt) ? 3 : 4;
    if (nPart != m_nSelected) {
        m_nSelected = nPart;
        RedrawParent(FALSE);
    }
}

void CQXPControlPopup::OnMouseHover()
{
    CQXPCommandBar* pParent = m_pParent;
    if (m_pCommandBar && pParent && GetEnabled() && IsDropDownEnabled() &&
        ((pParent->IsTrackingMode() && pParent->GetPopupedIndex() != -1) || pParent->GetPosition() == qxpBarPopup)) {
        if (pParent->GetPopupedIndex() != m_nIndex) {
            // Resting on a submenu item opens it as the user asked.
            pParent->m_bAnimateNextPopup = TRUE;
            pParent->SetPopuped(m_nIndex);
        }
        return;
    }
    CQXPControlButton::OnMouseHover();
}

BOOL CQXPControlPopup::OnSetSelected(int bSelected)
{
    CQXPCommandBar* pParent = m_pParent;
    // Whether the bar tracks with a popup open, as it was before the base
    // behaviour may close another control's popup.
    BOOL bTrackingWithPopup = pParent && pParent->IsTrackingMode() && pParent->GetPopupedIndex() != -1;
    if (!CQXPControlButton::OnSetSelected(bSelected))
        return FALSE;
    if (!m_pCommandBar || !pParent || m_pParent != pParent)
        return TRUE;
    BOOL bParentPopup = pParent->GetPosition() == qxpBarPopup;
    BOOL bMine = pParent->GetPopupedIndex() == m_nIndex;
    BOOL bKeyboard = bSelected == 2 || bSelected == 3;
    if (m_controlType == qxpControlPopup || pParent->GetType() == qxpBarTypePopup) {
        if (bSelected && GetEnabled() && bTrackingWithPopup && !bParentPopup && !bMine) {
            if (bKeyboard)
                pParent->m_bAnimateNextPopup = TRUE;
            pParent->SetPopuped(m_nIndex);
        } else if (!bSelected && bMine && m_bPopup && !bParentPopup) {
            pParent->SetPopuped(-1);
        }
    } else if (bKeyboard && GetEnabled() && bTrackingWithPopup && !bMine) {
        pParent->m_bAnimateNextPopup = TRUE;
        pParent->SetPopuped(m_nIndex);
    }
    return TRUE;
}

void CQXPControlPopup::OnUnderlineActivate()
{
    CQXPCommandBar* pParent = m_pParent;
    if (!m_pCommandBar || !pParent) {
        CQXPControlButton::OnUnderlineActivate();
        return;
    }
    // As from the keyboard: the popup opens with its first item selected.
    pParent->InternalAddRef();
    pParent->SetSelected(m_nIndex, 2);
    pParent->m_bAnimateNextPopup = TRUE;
    pParent->SetPopuped(m_nIndex);
    if (m_pParent == pParent && m_bPopup && m_pCommandBar) {
        int nFirst = m_pCommandBar->GetControls()->GetNext(-1, +1);
        if (nFirst != -1)
            m_pCommandBar->SetSelected(nFirst, 2);
    }
    pParent->InternalRelease();
}

namespace {

// Whether pTarget is pBar or a popup bar reached from pBar through its
// popup controls. Bars already searched are skipped, so bars shared in a
// loop end the search.
BOOL QxpPopupTreeContains(CQXPCommandBar* pBar, CQXPCommandBar* pTarget, std::vector<CQXPCommandBar*>& searched)
{
    if (pBar == pTarget)
        return TRUE;
    if (std::find(searched.begin(), searched.end(), pBar) != searched.end())
        return FALSE;
    searched.push_back(pBar);
    CQXPControls* pControls = pBar->GetControls();
    for (int i = 0; pControls && i < pControls->GetCount(); i++) {
        CQXPCommandBar* pChild = pControls->GetAt(i)->GetCommandBar();
        if (pChild && QxpPopupTreeContains(pChild, pTarget, searched))
            return TRUE;
    }
    return FALSE;
}

}  // namespace

BOOL CQXPControlPopup::IsPopupOf(CQXPControl* pControl) const
{
    CQXPCommandBar* pTheirs = pControl ? pControl->GetCommandBar() : NULL;
    if (!m_pCommandBar || !pTheirs)
        return FALSE;
    std::vector<CQXPCommandBar*> searched;
    return QxpPopupTreeContains(m_pCommandBar, pTheirs, searched);
}

void CQXPControlPopup::Copy(CQXPControl* pControl, BOOL bRecursive)
{
    CQXPControl::Copy(pControl, bRecursive);
    CQXPControlPopup* pPopup = dynamic_cast<CQXPControlPopup*>(pControl);
    if (!pPopup || !pPopup->m_pCommandBar)
        return;
    if (!bRecursive) {
        SetCommandBar(pPopup->m_pCommandBar);
        return;
    }
    CQXPPopupBar* pSource = dynamic_cast<CQXPPopupBar*>(pPopup->m_pCommandBar);
    CQXPPopupBar* pBar =
        pSource ? pSource->Clone(TRUE) : CQXPPopupBar::CreatePopupBar(pPopup->m_pCommandBar->GetCommandBars());
    if (!pBar)
        return;
    if (!pSource) {
        pBar->GetControls()->Copy(pPopup->m_pCommandBar->GetControls(), TRUE);
        pBar->SetTitle(pPopup->m_pCommandBar->GetTitle());
    }
    SetCommandBar(pBar);
    pBar->InternalRelease();
}

void CQXPControlPopup::ExpandPopup()
{
    CQXPPopupBar* pBar = dynamic_cast<CQXPPopupBar*>(m_pCommandBar);
    if (!m_bPopup || !pBar || m_controlType != qxpControlPopup || !pBar->IsTrackingMode())
        return;
    pBar->Expand();
}

BOOL CQXPControlPopup::OnLButtonDblClk(CPoint pt)
{
    CQXPPopupBar* pBar = dynamic_cast<CQXPPopupBar*>(m_pCommandBar);
    if (m_controlType != qxpControlPopup && m_controlType != qxpControlButtonPopup)
        return CQXPControlButton::OnLButtonDblClk(pt);
    if (!pBar || !m_pParent)
        return FALSE;
    CQXPCommandBar* pParent = m_pParent;
    InternalAddRef();
    pBar->InternalAddRef();
    pParent->InternalAddRef();
    // The first click of the pair may have closed the menu: open it again.
    if (!m_bPopup)
        OnClick(FALSE, pt);
    if (m_bPopup && m_pParent == pParent && pParent->GetPopupedIndex() == m_nIndex && pBar->IsTrackingMode()) {
        int nDefault = pBar->GetDefaultItem(TRUE);
        if (nDefault != -1)
            pBar->GetControl(nDefault)->OnExecute();
        else if (pBar->HasHiddenItems())
            pBar->Expand();
    }
    pParent->InternalRelease();
    pBar->InternalRelease();
    InternalRelease();
    return TRUE;
}

// ===========================================================================
// CQXPControlExpandButton

CQXPControlExpandButton::CQXPControlExpandButton()
{
    m_controlType = qxpControlButton;
    m_dwFlags = qxpFlagSkipFocus | qxpFlagManualUpdate | qxpFlagNoMovable | qxpFlagShowPopupBarTip;
}

CSize CQXPControlExpandButton::GetSize(CDC* pDC)
{
    (void)pDC;
    CQXPThemePainter* pPaintManager = m_pParent ? m_pParent->GetPaintManager() : GetGlobalPaintManager();
    CSize sz(0, 0);
    pPaintManager->DrawSpecialControl(&sz, NULL, qxpExpandPopup, this, m_pParent, FALSE);
    return sz;
}

void CQXPControlExpandButton::Draw(CDC* pDC)
{
    CQXPThemePainter* pPaintManager = m_pParent ? m_pParent->GetPaintManager() : GetGlobalPaintManager();
    pPaintManager->DrawSpecialControl(NULL, pDC, qxpExpandPopup, this, m_pParent, TRUE);
}

void CQXPControlExpandButton::OnExecute()
{
    // The button may outlive a click on a menu that has closed meanwhile:
    // only a popup that still holds it and is still open expands.
    CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(m_pParent);
    if (!pPopup || !pPopup->IsTrackingMode() || !::IsWindow(pPopup->GetSafeHwnd()))
        return;
    pPopup->Expand();
}

// ===========================================================================
// CQXPPopupBar

IMPLEMENT_DYNCREATE(CQXPPopupBar, CQXPCommandBar)

BEGIN_MESSAGE_MAP(CQXPPopupBar, CQXPCommandBar)
    ON_WM_DESTROY()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
    ON_WM_MOUSEWHEEL()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

int CQXPPopupBar::s_nShowFullDelay = 900;

// The site learns about a toolbar made by tearing a popup off.
#define QXP_WM_TEAROFF 0x2867

CQXPPopupBar::CQXPPopupBar() : m_pControlPopup(NULL), m_ptPopup(0, 0), m_popupFlags(0), m_ptRequest(0, 0)
{
    m_barType = qxpBarTypePopup;
    m_barPosition = qxpBarPopup;
    m_rcBorders = CRect(3, 3, 3, 3);
    m_scrollBottom.nID = QXP_TID_SCROLLDOWN;
    m_scrollTop.nID = QXP_TID_SCROLLUP;
}

CQXPPopupBar::~CQXPPopupBar()
{
    m_pReturnCmd = NULL;
}

CQXPPopupBar* AFXAPI CQXPPopupBar::CreatePopupBar(CQXPCommandBars* pCommandBars)
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

CRect CQXPPopupBar::InnerBorders() const
{
    CRect rc = m_rcBorders;
    if (m_bTearOffPopup)
        rc.top += kTearOffHeight;
    // The gripper and the expand button take the foot of the popup.
    rc.bottom += GetGripperHeight();
    if (m_bHasHiddenItems)
        rc.bottom += m_nExpandHeight;
    return rc;
}

CSize CQXPPopupBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    (void)nLength;
    (void)dwMode;
    if (m_bInLayout) {
        // A layout asked for from inside the layout changes nothing.
        CRect rc(0, 0, 0, 0);
        if (m_hWnd && ::IsWindow(m_hWnd))
            ::GetClientRect(m_hWnd, &rc);
        return rc.Size();
    }
    m_bInLayout = TRUE;
    CClientDC dc(m_hWnd && ::IsWindow(m_hWnd) ? this : NULL);
    CFont* pOldFont = dc.SelectObject(GetControlFont());
    CQXPControl* pResizable = GetResizableControl();
    m_nResizeFlags = pResizable ? (pResizable->GetResizeFlags() & 3) : 0;
    for (int i = 0; i < m_pControls->GetCount(); i++)
        if (m_pControls->GetAt(i)->GetParent() == this)
            m_pControls->GetAt(i)->SetWrap(FALSE);
    UpdateHiddenItems();
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
    // One column: a list taller than the work area scrolls.
    CSize sz = m_pControls->CalcPopupSize(&dc, 0, rcBorders);
    dc.SelectObject(pOldFont);
    int nFoot = sz.cy - m_rcBorders.bottom - GetGripperHeight();
    if (pExpand && m_bHasHiddenItems) {
        pExpand->SetHideFlag(qxpHideGeneric, FALSE);
        CRect rcExpand(m_rcBorders.left, nFoot - m_nExpandHeight, sz.cx - m_rcBorders.right, nFoot);
        pExpand->SetRect(rcExpand);
        pExpand->SetRowRect(rcExpand);
    }
    m_rcResizeGripper = m_nResizeFlags ? CRect(m_rcBorders.left, nFoot, sz.cx - m_rcBorders.right,
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
    m_rcTearOff = m_bTearOffPopup ? CRect(m_rcBorders.left, m_rcBorders.top, sz.cx - m_rcBorders.right,
                                          m_rcBorders.top + kTearOffHeight)
                                  : CRect(0, 0, 0, 0);
    m_bInLayout = FALSE;
    return sz;
}

// ===========================================================================
// Scrolling

BOOL CQXPPopupScrollArea::Track(CPoint pt)
{
    if (rc.PtInRect(pt)) {
        if (!nTimer && hWnd)
            nTimer = ::SetTimer(hWnd, nID, 80, NULL);
        return TRUE;
    }
    Stop();
    return FALSE;
}

void CQXPPopupScrollArea::Stop()
{
    if (nTimer && hWnd && ::IsWindow(hWnd))
        ::KillTimer(hWnd, nID);
    nTimer = 0;
}

void CQXPPopupBar::LayoutScroll(CSize sz, BOOL bFromBottom, BOOL bRedraw)
{
    m_scrollTop.rc.SetRectEmpty();
    m_scrollBottom.rc.SetRectEmpty();
    CRect b = InnerBorders();
    int nCount = std::min(m_pControls->GetCount(), (int)m_scrollHeights.size());
    auto own = [&](int i) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        return pControl->GetParent() == this && !IsExpandButton(pControl);
    };
    auto place = [&](CQXPControl* pControl, int nTop, int nBottom) {
        CRect rc = pControl->GetRect();
        rc.OffsetRect(0, nTop - rc.top);
        rc.bottom = nBottom;
        pControl->SetRect(rc);
        CRect rcRow = pControl->GetRowRect();
        pControl->SetRowRect(CRect(rcRow.left, nTop, rcRow.right, nBottom));
    };
    auto visible = [&](int i) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        pControl->SetHideFlag(qxpHideScroll, FALSE);
        return pControl->IsVisible(0);
    };
    // The height the controls of [nFrom, nTo) need stacked, gaps between.
    auto span = [&](int nFrom, int nTo) {
        int nTotal = 0;
        BOOL bFirst = TRUE;
        for (int i = nFrom; i < nTo; i++) {
            if (!own(i) || !visible(i))
                continue;
            nTotal += m_scrollHeights[(size_t)i] + (bFirst ? 0 : m_scrollGaps[(size_t)i]);
            bFirst = FALSE;
        }
        return nTotal;
    };
    int nLimitBottom = sz.cy - b.bottom;
    int nBandRight = sz.cx - b.right;
    if (bFromBottom) {
        m_nEndVisible = std::max(0, std::min(m_nEndVisible, nCount));
        if (m_nEndVisible == nCount - 1)
            m_nEndVisible = nCount;
        int e = nLimitBottom;
        if (m_nEndVisible != nCount) {
            m_scrollBottom.rc = CRect(b.left, e - kScrollBand, nBandRight, e);
            e -= kScrollBand;
        }
        // Without a top band when everything before the end fits.
        int nLimitTop = (e - span(0, m_nEndVisible) >= b.top) ? (int)b.top : b.top + kScrollBand;
        int i = m_nEndVisible - 1;
        BOOL bPlaced = FALSE;
        for (; i >= 0; i--) {
            if (!own(i) || !visible(i))
                continue;
            CQXPControl* pControl = m_pControls->GetAt(i);
            int nTop = e - m_scrollHeights[(size_t)i];
            if (nTop < nLimitTop && bPlaced)
                break;
            if (nTop < nLimitTop)
                nTop = nLimitTop;  // a lone control taller than the space
            place(pControl, nTop, e);
            bPlaced = TRUE;
            e = nTop - m_scrollGaps[(size_t)i];
        }
        for (int j = 0; j <= i; j++)
            if (own(j))
                m_pControls->GetAt(j)->SetHideFlag(qxpHideScroll, TRUE);
        m_nFirstVisible = i + 1;
        if (i >= 0)
            m_scrollTop.rc = CRect(b.left, b.top, nBandRight, b.top + kScrollBand);
    } else {
        m_nFirstVisible = std::max(0, std::min(m_nFirstVisible, nCount));
        if (m_nFirstVisible == 1)
            m_nFirstVisible = 0;
        int e = b.top;
        if (m_nFirstVisible != 0) {
            m_scrollTop.rc = CRect(b.left, e, nBandRight, e + kScrollBand);
            e += kScrollBand;
        }
        for (int j = 0; j < m_nFirstVisible; j++)
            if (own(j))
                m_pControls->GetAt(j)->SetHideFlag(qxpHideScroll, TRUE);
        // Without a bottom band when everything from the first fits.
        int nLimit = (e + span(m_nFirstVisible, nCount) <= nLimitBottom) ? nLimitBottom : nLimitBottom - kScrollBand;
        int i = m_nFirstVisible;
        BOOL bPlaced = FALSE;
        for (; i < nCount; i++) {
            if (!own(i) || !visible(i))
                continue;
            CQXPControl* pControl = m_pControls->GetAt(i);
            int nTop = e + (bPlaced ? m_scrollGaps[(size_t)i] : 0);
            int nBottom = nTop + m_scrollHeights[(size_t)i];
            if (nBottom > nLimit) {
                if (bPlaced)
                    break;
                nBottom = nLimit;
            }
            place(pControl, nTop, nBottom);
            bPlaced = TRUE;
            e = nBottom;
        }
        for (int j = i; j < nCount; j++)
            if (own(j))
                m_pControls->GetAt(j)->SetHideFlag(qxpHideScroll, TRUE);
        m_nEndVisible = i;
        if (i < nCount)
            m_scrollBottom.rc = CRect(b.left, nLimitBottom - kScrollBand, nBandRight, nLimitBottom);
    }
    if (CQXPControl* pExpand = m_bHasHiddenItems ? GetExpandButton() : NULL) {
        int nFoot = sz.cy - m_rcBorders.bottom - GetGripperHeight();
        CRect rcExpand(m_rcBorders.left, nFoot - m_nExpandHeight, nBandRight, nFoot);
        pExpand->SetHideFlag(qxpHideScroll | qxpHideGeneric, FALSE);
        pExpand->SetRect(rcExpand);
        pExpand->SetRowRect(rcExpand);
    }
    if (m_scrollTop.rc.IsRectEmpty())
        m_scrollTop.Stop();
    if (m_scrollBottom.rc.IsRectEmpty())
        m_scrollBottom.Stop();
    if (bRedraw && m_hWnd && ::IsWindow(m_hWnd))
        Redraw();
}

BOOL CQXPPopupBar::ScrollItems(int nItems)
{
    if (!m_bScrolling || !m_hWnd || !::IsWindow(m_hWnd))
        return FALSE;
    CRect rcClient;
    GetClientRect(&rcClient);
    BOOL bMoved = FALSE;
    int nCount = m_pControls->GetCount();
    for (; nItems > 0; nItems--) {
        if (m_nEndVisible >= nCount)
            break;
        m_nEndVisible++;
        LayoutScroll(rcClient.Size(), TRUE, FALSE);
        bMoved = TRUE;
    }
    for (; nItems < 0; nItems++) {
        if (m_nFirstVisible <= 0)
            break;
        m_nFirstVisible--;
        LayoutScroll(rcClient.Size(), FALSE, FALSE);
        bMoved = TRUE;
    }
    if (bMoved)
        Redraw();
    return bMoved;
}

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
        if (pControl && IsExpandButton(pControl) && nHow <= 1 && pBars && pBars->m_bShowFullAfterDelay)
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
    HBRUSH hBrush = ::GetSysColorBrush(COLOR_MENUTEXT);
    if (m_bScrolling) {
        HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush);
        HGDIOBJ hOldPen = ::SelectObject(hDC, ::GetStockObject(NULL_PEN));
        for (int nArea = 0; nArea < 2; nArea++) {
            const CRect& rc = nArea ? m_scrollTop.rc : m_scrollBottom.rc;
            if (rc.IsRectEmpty())
                continue;
            CPoint c = rc.CenterPoint();
            int nTip = nArea ? -3 : 3;
            POINT pts[3] = {{c.x - 3, c.y}, {c.x + 4, c.y}, {c.x, c.y + nTip}};
            ::Polygon(hDC, pts, 3);
        }
        ::SelectObject(hDC, hOldPen);
        ::SelectObject(hDC, hOldBrush);
    }
    if (m_bTearOffPopup && m_pControls->GetCount() > 0 && !m_rcTearOff.IsRectEmpty()) {
        CRect rc = m_rcTearOff;
        ::FillRect(hDC, &rc, ::GetSysColorBrush(m_bTearOffHot ? COLOR_HIGHLIGHT : COLOR_MENU));
        // A dotted line across the strip.
        CRect rcDot(rc.left + 2, rc.CenterPoint().y, rc.left + 4, rc.CenterPoint().y + 1);
        for (; rcDot.right <= rc.right - 2; rcDot.OffsetRect(4, 0))
            ::FillRect(hDC, &rcDot, m_bTearOffHot ? ::GetSysColorBrush(COLOR_HIGHLIGHTTEXT) : hBrush);
    }
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
// Tear-off

CQXPToolBar* CQXPPopupBar::TrackTearOff(CPoint ptClient)
{
    HWND hWnd = m_hWnd;
    CQXPCommandBars* pBars = GetCommandBars();
    if (!pBars || !hWnd || (::GetCapture() && ::GetCapture() != hWnd))
        return NULL;
    ::SetCursor(::LoadCursor(NULL, IDC_SIZEALL));
    CRect rcStrip = m_rcTearOff;
    ClientToScreen(&rcStrip);
    CRect rcInside = rcStrip;
    rcInside.InflateRect(10, 10);
    CPoint ptLast = ptClient;
    ClientToScreen(&ptLast);
    BOOL bInside = TRUE;
    CQXPToolBar* pTorn = NULL;
    CSize szTorn(0, 0);
    // The drag may close this popup; keep it alive until the loop is over.
    InternalAddRef();
    m_bTearOffTracking = TRUE;
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    pMouse->EnterBarLoop();
    ::SetCapture(hWnd);
    for (;;) {
        CPoint pt;
        int nStep = QxpNextDragStep(hWnd, ptLast, &pt);
        if (nStep == qxpDragLost) {
            // A hidden popup may lose the capture to the system; take it back
            // while a toolbar follows the mouse.
            if (bInside || !::IsWindow(hWnd))
                break;
            ::SetCapture(hWnd);
            if (::GetCapture() != hWnd)
                break;
            continue;
        }
        if (nStep != qxpDragMoved)
            break;
        ptLast = pt;
        BOOL bNowInside = rcInside.PtInRect(pt);
        if (bNowInside != bInside) {
            bInside = bNowInside;
            if (bInside) {
                ::ShowWindow(hWnd, SW_SHOWNA);
                if (pTorn)
                    pTorn->SetVisible(FALSE);
                pTorn = NULL;
            } else {
                ::ShowWindow(hWnd, SW_HIDE);
                pTorn = MakeTornOffBar(pBars, pt);
                if (pTorn) {
                    CRect rcBar;
                    ::GetWindowRect(pTorn->GetSafeHwnd(), &rcBar);
                    szTorn = rcBar.Size();
                }
            }
        }
        if (pTorn && ::IsWindow(pTorn->GetSafeHwnd())) {
            ::SetWindowPos(pTorn->GetSafeHwnd(), NULL, pt.x - szTorn.cx / 2, pt.y - 10, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            pTorn->m_ptFloating = CPoint(pt.x - szTorn.cx / 2, pt.y - 10);
        }
    }
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    pMouse->LeaveBarLoop();
    m_bTearOffTracking = FALSE;
    if (pTorn) {
        pTorn->Redraw();
        pBars->ClosePopups();
        if (m_bTracking)
            SetTrackingMode(FALSE);
    } else if (::IsWindow(hWnd) && m_bTracking) {
        ::ShowWindow(hWnd, SW_SHOWNA);
    }
    InternalRelease();
    return pTorn;
}

CQXPToolBar* CQXPPopupBar::MakeTornOffBar(CQXPCommandBars* pBars, CPoint ptScreen)
{
    CQXPToolBar* pBar = m_nTearOffId ? pBars->GetToolBar((UINT)m_nTearOffId) : NULL;
    if (pBar) {
        pBar->SetVisible(TRUE);
        if (!pBar->IsFloating())
            pBar->SetFloating(ptScreen);
    } else {
        pBar = pBars->Add(m_strTearOffCaption, qxpBarTop);
        if (!pBar)
            return NULL;
        if (m_nTearOffId)
            pBar->SetBarID((UINT)m_nTearOffId);
        if (m_nTearOffWidth > 0)
            pBar->m_nMRUWidth = m_nTearOffWidth;
        for (int i = 0; i < m_pControls->GetCount(); i++) {
            CQXPControl* pControl = m_pControls->GetAt(i);
            if (pControl->GetParent() != this || IsExpandButton(pControl))
                continue;
            CQXPControl* pCopy = pBar->GetControls()->AddCopy(pControl);
            if (pCopy)
                pCopy->SetHideFlag(qxpHideScroll | qxpHideExpand, FALSE);
        }
        pBar->SetFloating(ptScreen);
    }
    if (m_hWndSite && ::IsWindow(m_hWndSite))
        ::SendMessageA(m_hWndSite, QXP_WM_TEAROFF, (WPARAM)pBar, (LPARAM)this);
    return pBar;
}

BOOL CQXPPopupBar::Popup(CQXPControlPopup* pControlPopup)
{
    m_pControlPopup = pControlPopup;
    CQXPCommandBar* pParent = pControlPopup ? pControlPopup->GetParent() : NULL;
    if (!pParent || !::IsWindow(pParent->GetSafeHwnd()))
        return FALSE;
    SetCommandBars(pParent->GetCommandBars());
    if (!m_hWndSite)
        m_hWndSite = pParent->GetOwnerSite()->GetSafeHwnd();
    CRect rcExclude = pControlPopup->GetRect();
    pParent->ClientToScreen(&rcExclude);
    int nFlags = 0;
    int nPos = pParent->GetPosition();
    if (pControlPopup->GetFlags() & qxpFlagLeftPopup)
        nFlags |= qxpPopupLeft;
    if (nPos == qxpBarRight)
        nFlags = qxpPopupLeft;
    else if (nPos == qxpBarLeft || nPos == qxpBarPopup)
        ;
    else
        nFlags |= qxpPopupDown;
    CPoint pt = (nFlags & qxpPopupDown) ? CPoint(rcExclude.left, rcExclude.bottom) : CPoint(rcExclude.right, rcExclude.top);
    m_popupFlags = nFlags;
    return Popup(pt.x, pt.y, &rcExclude);
}

BOOL CQXPPopupBar::Popup(int x, int y, LPCRECT rcExclude)
{
    if (!m_hWnd || !::IsWindow(m_hWnd)) {
        UINT nClassStyle = CS_DBLCLKS | CS_SAVEBITS;
        QxpRegisterWndClass("QXPPopupBar", nClassStyle);
        CWnd* pSite = GetOwnerSite();
        if (!CreateEx(WS_EX_TOOLWINDOW, "QXPPopupBar", m_strTitle, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                      0, 0, pSite ? pSite->GetSafeHwnd() : NULL, NULL))
            return FALSE;
    }
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
    CRect rc = CalcPlacement();
    // Keep what the screen shows under the popup so that an animation
    // starts from it rather than from an unpainted window.
    HBITMAP hbmUnder = GetAnimationType() != kAnimationNone ? QxpCaptureScreen(rc) : NULL;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.Width(), rc.Height(),
                   SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
    if (!m_bTracking)
        CQXPCommandBar::SetTrackingMode(TRUE, FALSE, FALSE);
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
    int nType = pBars->m_nAnimation;
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
            ::KillTimer(m_hWnd, QXP_TID_TEAROFFHOT);
            ::KillTimer(m_hWnd, QXP_TID_SHOWFULL);
            ::ShowWindow(m_hWnd, SW_HIDE);
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
    }
    return TRUE;
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
    if (!Popup(x, y, lpExclude)) {
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
    // A window of this popup or of a submenu it opened.
    auto isOwnWindow = [this](HWND hWndMsg) {
        CQXPCommandBar* pBar = dynamic_cast<CQXPCommandBar*>(CWnd::FromHandlePermanent(hWndMsg));
        return pBar && pBar->GetRootParent() == this;
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
        if (msg.message == WM_KEYDOWN) {
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
// Placement of a shown popup

CRect CQXPPopupBar::CalcPlacement()
{
    CSize sz = CalcDynamicLayout(0, 0);
    QXP_POPUP_PLACEMENT place;
    place.size = sz;
    place.pt = m_ptRequest;
    place.rcExclude = m_rcExclude;
    place.nFlags = m_nRequestFlags;
    place.rcWork = !m_rcWorkArea.IsRectEmpty()
                       ? m_rcWorkArea
                       : QxpGetPopupWorkArea(GetMultiMonitorHelper(), place.pt, place.rcExclude);
    QxpCalcPopupPosition(place);
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

void CQXPPopupBar::OnRecalcLayout()
{
    m_nPending &= ~qxpPendingLayout;
    if (m_bInLayout || !m_hWnd || !::IsWindow(m_hWnd) || !m_bTracking)
        return;
    InternalAddRef();
    CRect rcOld;
    ::GetWindowRect(m_hWnd, &rcOld);
    CRect rcNew = CalcPlacement();
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
        ::SetWindowPos(m_hWnd, NULL, rcNew.left, rcNew.top, rcNew.Width(), rcNew.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
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
// Rarely used commands

BOOL CQXPPopupBar::IsExpandButton(const CQXPControl* pControl) const
{
    return pControl && pControl->IsTemporary() && dynamic_cast<const CQXPControlExpandButton*>(pControl) != NULL;
}

CQXPControl* CQXPPopupBar::GetExpandButton() const
{
    for (int i = m_pControls->GetCount() - 1; i >= 0; i--) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetParent() == this && IsExpandButton(pControl))
            return pControl;
    }
    return NULL;
}

int CQXPPopupBar::GetDefaultItem(BOOL bByPosition) const
{
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetParent() == this && pControl->IsVisible(0) && pControl->IsDefaultItem())
            return bByPosition ? i : pControl->GetID();
    }
    return -1;
}

void CQXPPopupBar::UpdateHiddenItems()
{
    m_bHasHiddenItems = FALSE;
    CQXPCommandBars* pBars = GetCommandBars();
    int nCount = m_pControls->GetCount();
    if (!pBars || pBars->m_bAlwaysShowFullMenus) {
        for (int i = 0; i < nCount; i++)
            if (m_pControls->GetAt(i)->GetParent() == this)
                m_pControls->GetAt(i)->SetRarelyUsed(FALSE);
        m_bExpanded = TRUE;
        return;
    }
    BOOL bOrdinary = FALSE;
    for (int i = 0; i < nCount; i++) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetParent() != this)
            continue;
        BOOL bWouldShow = pControl->IsVisible(qxpHideScroll | qxpHideExpand);
        if (!IsExpandButton(pControl) && pBars->IsControlHidden(pControl)) {
            if (bWouldShow)
                pControl->SetRarelyUsed(TRUE);
        } else {
            pControl->SetRarelyUsed(FALSE);
            if (bWouldShow && !IsExpandButton(pControl))
                bOrdinary = TRUE;
        }
    }
    // A menu of nothing but rarely used commands shows them all.
    for (int i = 0; i < nCount; i++) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetParent() != this)
            continue;
        pControl->SetHideFlag(qxpHideExpand, FALSE);
        if (!m_bExpanded && bOrdinary && pControl->IsRarelyUsed() && pControl->IsVisible(qxpHideScroll)) {
            pControl->SetHideFlag(qxpHideExpand, TRUE);
            m_bHasHiddenItems = TRUE;
        }
    }
}

void CQXPPopupBar::Expand()
{
    if (m_bExpanded || !m_bHasHiddenItems)
        return;
    InternalAddRef();
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::KillTimer(m_hWnd, QXP_TID_SHOWFULL);
    m_bAnimateExpand = TRUE;
    m_bExpanded = TRUE;
    SetPopuped(-1);
    SetSelected(-1, 0);
    OnRecalcLayout();
    m_bAnimateExpand = FALSE;
    ToolkitMouseManager::GetInstance()->SetMenusExpanded(TRUE, TRUE);
    InternalRelease();
}

int CQXPPopupBar::ProcessHookKeyDown(UINT nKey)
{
    // The gripper and tear-off loops read the keys themselves (Escape).
    if (m_bResizeTracking || m_bTearOffTracking)
        return 2;
    if (nKey == VK_DOWN && m_bHasHiddenItems && !m_bExpanded && !IsCustomizeMode() && m_nLockTracking <= 0) {
        BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0;
        int nNext = m_pControls->GetNext(m_nSelected, +1, TRUE, FALSE, TRUE);
        if (bCtrl || (m_nSelected != -1 && nNext != -1 && nNext <= m_nSelected)) {
            Expand();
            return 1;
        }
    }
    return CQXPCommandBar::ProcessHookKeyDown(nKey);
}

int CQXPPopupBar::ProcessSpecialKey(int nAction)
{
    BOOL bShortened = m_bHasHiddenItems && !m_bExpanded;
    if (!bShortened || nAction < 0 || (nAction > 1 && nAction < 6) || nAction > 7)
        return CQXPCommandBar::ProcessSpecialKey(nAction);
    // The commands hidden behind the expand button cannot be reached.
    int nDirection = (nAction == 0 || nAction == 6) ? +1 : -1;
    int nFrom = nAction <= 1 ? m_nSelected : -1;
    int nIndex = m_pControls->GetNext(nFrom, nDirection, TRUE, FALSE, TRUE);
    if (nIndex == -1)
        return nAction <= 1 ? 0 : 1;
    SetSelected(nIndex, nDirection > 0 ? 2 : 3);
    return 1;
}

// ===========================================================================
// Resize gripper

CQXPControl* CQXPPopupBar::GetResizableControl() const
{
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetParent() == this && pControl->GetType() == qxpControlGallery)
            return pControl;
    }
    return NULL;
}

CRect CQXPPopupBar::GetResizeHitRect() const
{
    CRect rc = m_rcResizeGripper;
    if (m_nResizeFlags == 0 || rc.IsRectEmpty())
        return CRect(0, 0, 0, 0);
    if (m_nResizeFlags != 2)
        rc.left = std::max((int)rc.left, (int)rc.right - rc.Height());
    return rc;
}

BOOL CQXPPopupBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT && m_nResizeFlags) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWnd, &pt);
        if (GetResizeHitRect().PtInRect(pt)) {
            ::SetCursor(::LoadCursor(NULL, m_nResizeFlags == 2 ? IDC_SIZENS : IDC_SIZENWSE));
            return TRUE;
        }
    }
    return CQXPCommandBar::OnSetCursor(pWnd, nHitTest, message);
}

void CQXPPopupBar::ResizeInPlace()
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    CRect rcOld;
    ::GetWindowRect(m_hWnd, &rcOld);
    CSize sz = CalcDynamicLayout(0, 0);
    ::SetWindowPos(m_hWnd, NULL, 0, 0, sz.cx, sz.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
    if (CQXPThemePainter* pPaintManager = GetPaintManager())
        pPaintManager->SetBarRegion(this);
    OffsetPopupShadows(sz.cx - rcOld.Width(), sz.cy - rcOld.Height());
    Redraw();
}

BOOL CQXPPopupBar::TrackResize(CPoint ptClient)
{
    HWND hWnd = m_hWnd;
    CQXPControl* pControl = GetResizableControl();
    if (!hWnd || !::IsWindow(hWnd) || !pControl || !(pControl->GetResizeFlags() & 3) || m_bResizeTracking)
        return FALSE;
    HWND hWndCapture = ::GetCapture();
    if (hWndCapture && hWndCapture != hWnd)
        return FALSE;
    int nFlags = pControl->GetResizeFlags() & 3;
    int nWidth = pControl->GetWidth(), nHeight = pControl->GetHeight();
    int nMinWidth = pControl->GetCustomizeMinWidth(), nMinHeight = pControl->GetCustomizeMinHeight();
    // The loop may close the popup or remove the control: both stay alive
    // until it is over.
    InternalAddRef();
    pControl->InternalAddRef();
    SetPopuped(-1);
    SetSelected(-1, 0);
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    pMouse->EnterBarLoop();
    m_bResizeTracking = TRUE;
    ::SetCapture(hWnd);
    CPoint ptLast = ptClient;
    ::ClientToScreen(hWnd, &ptLast);
    int nTrackWidth = nWidth, nTrackHeight = nHeight;
    BOOL bCancel = FALSE;
    for (;;) {
        CPoint pt;
        int nStep = QxpNextDragStep(hWnd, ptLast, &pt);
        if (nStep == qxpDragEscaped)
            bCancel = TRUE;
        if (nStep != qxpDragMoved)
            break;
        nTrackWidth += pt.x - ptLast.x;
        nTrackHeight += pt.y - ptLast.y;
        ptLast = pt;
        if (nFlags & 1)
            pControl->SetWidth(std::max(nMinWidth, nTrackWidth));
        if (nFlags & 2)
            pControl->SetHeight(std::max(nMinHeight, nTrackHeight));
        ResizeInPlace();
    }
    if (bCancel && pControl->GetParent() == this) {
        pControl->SetWidth(nWidth);
        pControl->SetHeight(nHeight);
        ResizeInPlace();
    }
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    m_bResizeTracking = FALSE;
    pMouse->LeaveBarLoop();
    pControl->InternalRelease();
    InternalRelease();
    return TRUE;
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
