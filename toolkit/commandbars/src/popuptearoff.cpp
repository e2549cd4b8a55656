// Popup bars: tearing a popup off as a toolbar, and the resize gripper.

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


// One step of a popup's modal drag (tear-off strip, resize gripper) while
// hWnd holds the capture: pending paints first, then messages that are not
// the drag's own are dispatched until the mouse moves over hWnd to a new
// screen point (qxpDragMoved, *pPt), the button is released or WM_QUIT
// arrives (re-posted; qxpDragEnded), Esc is pressed (qxpDragEscaped) or the
// window loses the capture (qxpDragLost).
enum QxpDragStep {
    qxpDragMoved,
    qxpDragEnded,
    qxpDragEscaped,
    qxpDragLost
};
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
// Tear-off

// The site learns about a toolbar made by tearing a popup off.
#define QXP_WM_TEAROFF 0x2867

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
    // Only the resizable control's size changed: the menu keeps its state.
    CSize sz = CalcDynamicLayout(0, qxpLayoutKeepState);
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
