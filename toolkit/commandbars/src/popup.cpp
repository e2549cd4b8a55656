// Popup controls, popup bars and popup placement.

#include <qx/commandbars.h>
#include <qx/popup.h>
#include <qx/shadow.h>
#include <qx/sysutil.h>
#include <qx/soundthread.h>

#include <algorithm>

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
    m_bPopup = bPopup;
    if (bPopup) {
        if (!pBar || !pBar->Popup(this)) {
            m_bPopup = FALSE;
            return FALSE;
        }
    } else if (pBar) {
        pBar->SetTrackingMode(FALSE);
    }
    RedrawParent();
    return TRUE;
}

void CQXPControlPopup::OnClick(BOOL bKeyboard, CPoint pt)
{
    (void)bKeyboard;
    (void)pt;
    if (!GetEnabled() || !m_pParent)
        return;
    if (m_pParent->GetPopupedIndex() == m_nIndex) {
        // A second click on an open title closes its menu and ends the
        // bar's menu mode.
        if (m_pParent->GetType() != qxpBarTypePopup && m_pParent->IsTrackingMode())
            m_pParent->SetTrackingMode(FALSE);
        else
            m_pParent->SetPopuped(-1);
    } else
        m_pParent->SetPopuped(m_nIndex);
}

void CQXPControlPopup::OnLButtonUp(CPoint pt)
{
    (void)pt;
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
    CQXPPopupBar* pBar = CQXPPopupBar::CreatePopupBar(pPopup->m_pCommandBar->GetCommandBars());
    if (!pBar)
        return;
    pBar->GetControls()->Copy(pPopup->m_pCommandBar->GetControls(), TRUE);
    pBar->SetTitle(pPopup->m_pCommandBar->GetTitle());
    SetCommandBar(pBar);
    pBar->InternalRelease();
}

// ===========================================================================
// CQXPPopupBar

IMPLEMENT_DYNCREATE(CQXPPopupBar, CQXPCommandBar)

BEGIN_MESSAGE_MAP(CQXPPopupBar, CQXPCommandBar)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQXPPopupBar::CQXPPopupBar() : m_pControlPopup(NULL), m_ptPopup(0, 0), m_popupFlags(0)
{
    m_barType = qxpBarTypePopup;
    m_barPosition = qxpBarPopup;
    m_rcBorders = CRect(3, 3, 3, 3);
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

CSize CQXPPopupBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    (void)nLength;
    (void)dwMode;
    CClientDC dc(m_hWnd && ::IsWindow(m_hWnd) ? this : NULL);
    CFont* pOldFont = dc.SelectObject(GetControlFont());
    RECT rcWork;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    CSize sz = m_pControls->CalcPopupSize(&dc, rcWork.bottom - rcWork.top, m_rcBorders);
    dc.SelectObject(pOldFont);
    return sz;
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
    CSize sz = CalcDynamicLayout(0, 0);
    QXP_POPUP_PLACEMENT place;
    place.size = sz;
    place.pt = CPoint(x, y);
    place.rcExclude = rcExclude ? CRect(*rcExclude) : CRect(0, 0, 0, 0);
    place.nFlags = m_popupFlags;
    place.rcWork = QxpGetPopupWorkArea(GetMultiMonitorHelper(), place.pt, place.rcExclude);
    QxpCalcPopupPosition(place);
    m_popupFlags = place.nFlags;
    m_ptPopup = place.rcResult.TopLeft();
    CRect rc = place.rcResult;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.Width(), rc.Height(),
                   SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
    // The Office themes give popups a soft shadow.
    int nTheme = GetPaintManager()->GetCurrentTheme();
    if (m_bShowShadow && nTheme != 0 && nTheme != 3)
        CQXPShadowManager::Instance()->SetShadow(m_hWnd);
    if (!m_bTracking)
        CQXPCommandBar::SetTrackingMode(TRUE, FALSE, FALSE);
    OnIdleUpdateCmdUI(TRUE, 0);
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    return TRUE;
}

BOOL CQXPPopupBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    if (!CQXPCommandBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard))
        return FALSE;
    if (!bMode) {
        // The caller's result variable is only valid while it tracks.
        m_pReturnCmd = NULL;
        if (m_hWnd && ::IsWindow(m_hWnd))
            ::ShowWindow(m_hWnd, SW_HIDE);
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

int CQXPPopupBar::TrackPopup(CWnd* pSite, int x, int y, BOOL bReturnCmd)
{
    int nResult = 0;
    SetOwnerSite(pSite);
    m_pReturnCmd = bReturnCmd ? &nResult : NULL;
    m_popupFlags = 0;
    InternalAddRef();
    if (!Popup(x, y, NULL)) {
        m_pReturnCmd = NULL;
        InternalRelease();
        return 0;
    }
    HWND hWnd = m_hWnd;
    BOOL bChosen = FALSE;
    while (m_bTracking && ::IsWindow(hWnd)) {
        MSG msg;
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (msg.message == WM_KEYDOWN) {
            BOOL bEnter = msg.wParam == VK_RETURN && GetSelected() != NULL;
            if (!OnTrackKey((UINT)msg.wParam)) {
                bChosen = bEnter;
                break;
            }
            continue;
        }
        if ((msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN) &&
            msg.hwnd != hWnd) {
            SetTrackingMode(FALSE);
            break;
        }
        if (msg.message == WM_LBUTTONUP && msg.hwnd == hWnd)
            bChosen = m_pControls->HitTest(CPoint((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam))) != NULL;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
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
