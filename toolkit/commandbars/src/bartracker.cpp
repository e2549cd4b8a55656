// The toolbar move and resize tracker.

#include <qx/bartracker.h>
#include <qx/barstate.h>
#include <qx/commandbars.h>
#include <qx/mousemanager.h>

#include <algorithm>
#include <cstdlib>

// ---------------------------------------------------------------------------
// Arithmetic

int AFXAPI QxpPickDockBar(const CRect rcDocks[4], const BOOL bPresent[4], CPoint pt, int nPreferred)
{
    auto catches = [&](int i) {
        if (i < 0 || i > 3 || !bPresent[i])
            return false;
        CRect rc = rcDocks[i];
        rc.InflateRect(QXP_DOCK_CATCH_MARGIN, QXP_DOCK_CATCH_MARGIN);
        // Strictly inside: the widened border itself does not count.
        return pt.x > rc.left && pt.x < rc.right && pt.y > rc.top && pt.y < rc.bottom;
    };
    if (catches(nPreferred))
        return nPreferred;
    for (int i = 0; i < 4; i++)
        if (catches(i))
            return i;
    return -1;
}

DWORD AFXAPI QxpDockAllowFlag(int nPosition)
{
    switch (nPosition) {
    case qxpBarTop:
        return qxpFlagAlignTop;
    case qxpBarBottom:
        return qxpFlagAlignBottom;
    case qxpBarLeft:
        return qxpFlagAlignLeft;
    case qxpBarRight:
        return qxpFlagAlignRight;
    default:
        return 0;
    }
}

namespace {

BOOL MovesLeft(int nMode)
{
    return nMode == HTLEFT || nMode == HTTOPLEFT || nMode == HTBOTTOMLEFT;
}
BOOL MovesRight(int nMode)
{
    return nMode == HTRIGHT || nMode == HTTOPRIGHT || nMode == HTBOTTOMRIGHT;
}
BOOL MovesTop(int nMode)
{
    return nMode == HTTOP || nMode == HTTOPLEFT || nMode == HTTOPRIGHT;
}
BOOL MovesBottom(int nMode)
{
    return nMode == HTBOTTOM || nMode == HTBOTTOMLEFT || nMode == HTBOTTOMRIGHT;
}
BOOL IsSizingMode(int nMode)
{
    return nMode >= HTLEFT && nMode <= HTBOTTOMRIGHT;
}

} // namespace

CRect AFXAPI QxpSizeByBorder(const CRect& rc, int nMode, CSize delta, CSize szMin)
{
    CRect r = rc;
    int cxMin = std::max(0, (int)szMin.cx), cyMin = std::max(0, (int)szMin.cy);
    if (MovesLeft(nMode))
        r.left = std::min((int)(rc.left + delta.cx), (int)rc.right - cxMin);
    if (MovesRight(nMode))
        r.right = std::max((int)(rc.right + delta.cx), (int)rc.left + cxMin);
    if (MovesTop(nMode))
        r.top = std::min((int)(rc.top + delta.cy), (int)rc.bottom - cyMin);
    if (MovesBottom(nMode))
        r.bottom = std::max((int)(rc.bottom + delta.cy), (int)rc.top + cyMin);
    return r;
}

CRect AFXAPI QxpPlaceResized(const CRect& rc, int nMode, CSize sz)
{
    CRect r = rc;
    if (MovesLeft(nMode))
        r.left = rc.right - sz.cx;
    else
        r.right = rc.left + sz.cx;
    if (MovesTop(nMode))
        r.top = rc.bottom - sz.cy;
    else
        r.bottom = rc.top + sz.cy;
    return r;
}

CRect AFXAPI QxpMoveToContain(const CRect& rc, CPoint pt)
{
    CRect r = rc;
    if (pt.x < r.left)
        r.OffsetRect(pt.x - r.left, 0);
    else if (pt.x >= r.right)
        r.OffsetRect(pt.x - r.right + 1, 0);
    if (pt.y < r.top)
        r.OffsetRect(0, pt.y - r.top);
    else if (pt.y >= r.bottom)
        r.OffsetRect(0, pt.y - r.bottom + 1);
    return r;
}

CRect AFXAPI QxpKeepOnWorkArea(const CRect& rc, const CRect& rcWork)
{
    const int k = QXP_FLOAT_KEEP_VISIBLE;
    CRect r = rc;
    if (r.left > rcWork.right - k)
        r.OffsetRect(rcWork.right - k - r.left, 0);
    if (r.right < rcWork.left + k)
        r.OffsetRect(rcWork.left + k - r.right, 0);
    if (r.top > rcWork.bottom - k)
        r.OffsetRect(0, rcWork.bottom - k - r.top);
    if (r.bottom < rcWork.top + k)
        r.OffsetRect(0, rcWork.top + k - r.bottom);
    return r;
}

// ---------------------------------------------------------------------------
// CBarResizeTracker

CBarResizeTracker::CBarResizeTracker(CQXPToolBar* pBar)
    : m_nDockIndex(-1),
      m_nDockRow(-1),
      m_bDockRowAlone(FALSE),
      m_rcDocked(0, 0, 0, 0),
      m_pBar(pBar),
      m_nMode(0),
      m_ptLast(0, 0),
      m_ptStart(0, 0),
      m_bStarted(FALSE),
      m_rcTrack(0, 0, 0, 0),
      m_rcDockTest(0, 0, 0, 0),
      m_bStartFloating(FALSE),
      m_rcStartWindow(0, 0, 0, 0),
      m_nStartMRUWidth(0),
      m_nStartDock(-1),
      m_nStartRow(-1),
      m_bStartAlone(FALSE),
      m_rcStartDocked(0, 0, 0, 0)
{
}

CQXPCommandBars* CBarResizeTracker::GetCommandBars() const
{
    return m_pBar ? m_pBar->GetCommandBars() : NULL;
}

void CBarResizeTracker::SaveDockedPlace()
{
    CQXPDockBar* pDock = m_pBar ? m_pBar->GetDockBar() : NULL;
    if (!pDock || !::IsWindow(m_pBar->GetSafeHwnd()))
        return;
    m_nDockIndex = pDock->GetPosition();
    m_nDockRow = pDock->GetBarRow(m_pBar, &m_bDockRowAlone);
    ::GetWindowRect(m_pBar->GetSafeHwnd(), &m_rcDocked);
    ::MapWindowPoints(NULL, pDock->GetSafeHwnd(), (LPPOINT)&m_rcDocked, 2);
}

int CBarResizeTracker::HitTestDockBar(CPoint pt) const
{
    CQXPCommandBars* pBars = GetCommandBars();
    if (!pBars)
        return -1;
    CRect rcDocks[4];
    BOOL bPresent[4] = {FALSE, FALSE, FALSE, FALSE};
    for (int i = 0; i < 4; i++) {
        CQXPDockBar* pDock = pBars->GetDockBar(i);
        if (!pDock || !::IsWindowVisible(pDock->GetSafeHwnd()))
            continue;
        ::GetWindowRect(pDock->GetSafeHwnd(), &rcDocks[i]);
        bPresent[i] = TRUE;
    }
    int nPreferred = m_pBar->GetDockBar() ? m_pBar->GetDockBar()->GetPosition() : -1;
    return QxpPickDockBar(rcDocks, bPresent, pt, nPreferred);
}

void CBarResizeTracker::TrackResize(int nMode, int x, int y)
{
    if (!m_pBar || !IsSizingMode(nMode) || !m_pBar->IsFloating() || !::IsWindow(m_pBar->GetSafeHwnd()))
        return;
    HWND hWnd = m_pBar->GetSafeHwnd();
    m_nMode = nMode;
    m_ptLast = m_ptStart = CPoint(x, y);
    m_bStarted = TRUE; // a border follows the mouse at once
    ::GetWindowRect(hWnd, &m_rcTrack);
    m_rcDockTest = m_rcTrack;
    m_bStartFloating = TRUE;
    m_rcStartWindow = m_rcTrack;
    m_nStartMRUWidth = m_pBar->m_nMRUWidth;
    m_nStartDock = -1;
    m_pBar->InternalAddRef();
    // A cancelled resize left the bar as it was, remembered width included.
    if (Track() && m_pBar->IsFloating() && ::IsWindow(hWnd)) {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        m_pBar->m_ptFloating = rc.TopLeft();
        m_pBar->m_nMRUWidth = rc.Width();
    }
    m_nMode = 0;
    m_pBar->InternalRelease();
}

void CBarResizeTracker::TrackMove(int x, int y)
{
    if (!m_pBar || !::IsWindow(m_pBar->GetSafeHwnd()))
        return;
    HWND hWnd = m_pBar->GetSafeHwnd();
    CPoint pt(x, y);
    m_nMode = QXP_TRACK_MOVE;
    m_ptLast = m_ptStart = pt;
    m_bStarted = FALSE;
    CRect rcWindow;
    ::GetWindowRect(hWnd, &rcWindow);
    m_rcTrack = QxpMoveToContain(rcWindow, pt);
    m_rcDockTest = m_rcTrack;

    // Where the drag starts: a cancelled drag returns there, and a bar that
    // passes over dock bars on its way out keeps the docked place it had.
    m_bStartFloating = m_pBar->IsFloating();
    m_rcStartWindow = rcWindow;
    m_nStartMRUWidth = m_pBar->m_nMRUWidth;
    m_nStartDock = -1;
    m_nStartRow = -1;
    m_bStartAlone = FALSE;
    if (CQXPDockBar* pDock = m_pBar->GetDockBar()) {
        m_nStartDock = pDock->GetPosition();
        m_nStartRow = pDock->GetBarRow(m_pBar, &m_bStartAlone);
        m_rcStartDocked = rcWindow;
        ::MapWindowPoints(NULL, pDock->GetSafeHwnd(), (LPPOINT)&m_rcStartDocked, 2);
    }
    int nKeptDock = m_nDockIndex, nKeptRow = m_nDockRow;
    BOOL bKeptAlone = m_bDockRowAlone;
    CRect rcKept = m_rcDocked;

    ::SetCursor(::LoadCursorA(NULL, MAKEINTRESOURCEA(32646))); // IDC_SIZEALL
    m_pBar->InternalAddRef();
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    pMouse->EnterBarLoop();
    Track();
    pMouse->LeaveBarLoop();
    if (m_pBar->IsFloating() && ::IsWindow(hWnd)) {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        m_pBar->m_ptFloating = rc.TopLeft();
        if (m_nStartDock >= 0) {
            // Started docked: the toggle docks it back where it was.
            m_nDockIndex = m_nStartDock;
            m_nDockRow = m_nStartRow;
            m_bDockRowAlone = m_bStartAlone;
            m_rcDocked = m_rcStartDocked;
        } else if (nKeptDock >= 0) {
            m_nDockIndex = nKeptDock;
            m_nDockRow = nKeptRow;
            m_bDockRowAlone = bKeptAlone;
            m_rcDocked = rcKept;
        }
    }
    m_nMode = 0;
    m_pBar->InternalRelease();
}

// A bar just put into a dock bar: its frame changes from the floating one,
// the frame is laid out and the bar shows again unless it is hidden.
static void ShowDocked(CQXPToolBar* pBar, CQXPCommandBars* pBars)
{
    HWND hWnd = pBar->GetSafeHwnd();
    ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    pBars->RecalcFrameLayout(FALSE);
    if (pBar->IsVisible() && !pBar->IsTemporarilyHidden())
        ::ShowWindow(hWnd, SW_SHOWNA);
    pBar->Redraw();
}

BOOL CBarResizeTracker::Track()
{
    CQXPCommandBars* pBars = GetCommandBars();
    HWND hWnd = m_pBar->GetSafeHwnd();
    if (::GetCapture() || !pBars)
        return TRUE;
    ::SetCapture(hWnd);
    CSize szDrag(::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG));
    BOOL bCancelled = FALSE;
    while (::GetCapture() == hWnd && m_pBar->GetCommandBars()) {
        MSG msg;
        if (!QxpDispatchPendingPaint())
            break;
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (msg.message == WM_LBUTTONUP)
            break;
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            // Esc ends the drag where the bar is now; other keys wait
            // until the drag is over.
            if (msg.wParam == VK_ESCAPE)
                break;
            continue;
        }
        // The system taking the mouse away (or a right click) cancels: the
        // bar goes back where the drag started.
        if (msg.message == WM_RBUTTONDOWN || msg.message == WM_CANCELMODE) {
            bCancelled = TRUE;
            break;
        }
        if (msg.message != WM_MOUSEMOVE) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            continue;
        }
        CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
        ::ClientToScreen(msg.hwnd, &pt);
        if (pt == m_ptLast) {
            ::DispatchMessageA(&msg);
            continue;
        }
        if (!m_bStarted) {
            // A click that barely moves leaves the bar where it is.
            if (std::abs(pt.x - m_ptStart.x) <= szDrag.cx && std::abs(pt.y - m_ptStart.y) <= szDrag.cy)
                continue;
            m_bStarted = TRUE;
        }
        if (m_nMode == QXP_TRACK_MOVE)
            OnMove(pt);
        else
            OnResize(pt);
        m_ptLast = pt;
    }
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    if (bCancelled && m_bStarted && m_pBar->GetCommandBars())
        RestoreStart();
    if (CQXPCommandBars* pNow = m_pBar->GetCommandBars())
        pNow->m_bLayoutChanged = TRUE;
    return !bCancelled;
}

void CBarResizeTracker::OnMove(CPoint pt)
{
    CQXPCommandBars* pBars = GetCommandBars();
    HWND hWnd = m_pBar->GetSafeHwnd();
    CSize delta = pt - m_ptLast;
    m_rcTrack.OffsetRect(delta);
    m_rcDockTest.OffsetRect(delta);
    DWORD dwFlags = m_pBar->GetFlags();

    int nDock = HitTestDockBar(pt);
    if (nDock >= 0 && (dwFlags & QxpDockAllowFlag(nDock))) {
        CQXPDockBar* pOld = m_pBar->GetDockBar();
        BOOL bWasFloating = m_pBar->IsFloating();
        CQXPDockBar* pDock = pBars->GetDockBar(nDock);
        // The row under the point takes the bar: across the dock bar the
        // offered rectangle is centred on the point.
        CRect rcOffer = m_rcDockTest;
        if (pDock->IsHorizontal())
            rcOffer.OffsetRect(0, pt.y - rcOffer.CenterPoint().y);
        else
            rcOffer.OffsetRect(pt.x - rcOffer.CenterPoint().x, 0);
        m_pBar->DockTo(nDock, &rcOffer);
        if (pOld != m_pBar->GetDockBar() || bWasFloating) {
            pBars->RecalcFrameLayout(FALSE);
            ::GetWindowRect(hWnd, &m_rcTrack);
            m_rcTrack = QxpMoveToContain(m_rcTrack, pt);
            m_rcDockTest = m_rcTrack;
        }
        return;
    }
    if (!(dwFlags & qxpFlagFloating))
        return; // the bar stays where it is
    if (!m_pBar->IsFloating()) {
        m_pBar->SetFloating(m_rcTrack.TopLeft());
        CRect rcFloat;
        ::GetWindowRect(hWnd, &rcFloat);
        m_rcTrack = QxpMoveToContain(CRect(m_rcTrack.TopLeft(), rcFloat.Size()), pt);
    }
    m_rcTrack = QxpKeepOnWorkArea(m_rcTrack, QxpWorkAreaFor(CRect(pt, CSize(1, 1))));
    ::SetWindowPos(hWnd, NULL, m_rcTrack.left, m_rcTrack.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_pBar->m_ptFloating = m_rcTrack.TopLeft();
}

void CBarResizeTracker::OnResize(CPoint pt)
{
    if (!m_pBar->IsFloating())
        return;
    HWND hWnd = m_pBar->GetSafeHwnd();
    // The borders follow the mouse; the rows are laid out for the size the
    // borders give (the window takes the size the rows need).
    m_rcTrack = QxpSizeByBorder(m_rcTrack, m_nMode, pt - m_ptLast, CSize(0, 0));
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    CSize sz;
    if (m_nMode == HTLEFT || m_nMode == HTRIGHT) {
        sz = m_pBar->CalcLayout(std::max(0, m_rcTrack.Width()), qxpLayoutCommit);
    } else if (m_nMode == HTTOP || m_nMode == HTBOTTOM) {
        sz = m_pBar->CalcLayout(std::max(0, m_rcTrack.Height()), qxpLayoutCommit | qxpLayoutLengthIsHeight);
    } else {
        // A corner: the rows follow the dimension the mouse changed more.
        int dx = std::abs(m_rcTrack.Width() - rc.Width()), dy = std::abs(m_rcTrack.Height() - rc.Height());
        if (dx >= dy)
            sz = m_pBar->CalcLayout(std::max(0, m_rcTrack.Width()), qxpLayoutCommit);
        else
            sz = m_pBar->CalcLayout(std::max(0, m_rcTrack.Height()), qxpLayoutCommit | qxpLayoutLengthIsHeight);
    }
    if (sz == rc.Size())
        return;
    CRect rcNew = QxpPlaceResized(rc, m_nMode, sz);
    // A frame that left the work area altogether comes back to touch it.
    CRect rcWork = QxpWorkAreaFor(rcNew);
    CRect rcMeet;
    if (!rcMeet.IntersectRect(&rcNew, &rcWork)) {
        if (rcNew.right <= rcWork.left)
            rcNew.OffsetRect(rcWork.left - rcNew.right + 1, 0);
        else if (rcNew.left >= rcWork.right)
            rcNew.OffsetRect(rcWork.right - rcNew.left - 1, 0);
        if (rcNew.bottom <= rcWork.top)
            rcNew.OffsetRect(0, rcWork.top - rcNew.bottom + 1);
        else if (rcNew.top >= rcWork.bottom)
            rcNew.OffsetRect(0, rcWork.bottom - rcNew.top - 1);
    }
    ::SetWindowPos(hWnd, NULL, rcNew.left, rcNew.top, rcNew.Width(), rcNew.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    m_pBar->m_nMRUWidth = rcNew.Width();
    m_pBar->Redraw();
}

void CBarResizeTracker::RestoreStart()
{
    HWND hWnd = m_pBar->GetSafeHwnd();
    if (!::IsWindow(hWnd))
        return;
    CQXPCommandBars* pBars = GetCommandBars();
    if (m_nStartDock >= 0) {
        CQXPDockBar* pDock = pBars->GetDockBar(m_nStartDock);
        if (!pDock)
            return;
        m_pBar->AttachToDockBar(pDock);
        m_pBar->m_barPosition = m_nStartDock;
        pDock->DockCommandBarAtRow(m_pBar, m_nStartRow, m_bStartAlone, m_rcStartDocked);
        ShowDocked(m_pBar, pBars);
        return;
    }
    if (!m_bStartFloating)
        return;
    m_pBar->m_nMRUWidth = m_nStartMRUWidth;
    if (!m_pBar->IsFloating())
        m_pBar->SetFloating(m_rcStartWindow.TopLeft());
    // The rows the bar had, for the width it had.
    m_pBar->CalcLayout(m_rcStartWindow.Width(), qxpLayoutCommit);
    m_pBar->m_nMRUWidth = m_nStartMRUWidth;
    ::SetWindowPos(hWnd, NULL, m_rcStartWindow.left, m_rcStartWindow.top, m_rcStartWindow.Width(),
                   m_rcStartWindow.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    m_pBar->m_ptFloating = m_rcStartWindow.TopLeft();
    m_pBar->Redraw();
}

BOOL CBarResizeTracker::ToggleDocking()
{
    CQXPCommandBars* pBars = GetCommandBars();
    HWND hWnd = m_pBar ? m_pBar->GetSafeHwnd() : NULL;
    if (!pBars || !hWnd || !::IsWindow(hWnd))
        return FALSE;
    DWORD dwFlags = m_pBar->GetFlags();
    if (m_pBar->IsFloating()) {
        const DWORD dwDockAll = qxpFlagAlignTop | qxpFlagAlignBottom | qxpFlagAlignLeft | qxpFlagAlignRight;
        if (!(dwFlags & dwDockAll))
            return FALSE;
        // The remembered side, else the first side the bar may use.
        int nSide = m_nDockIndex;
        if (nSide < 0 || !(dwFlags & QxpDockAllowFlag(nSide))) {
            nSide = -1;
            for (int i = 0; i < 4 && nSide < 0; i++)
                if (dwFlags & QxpDockAllowFlag(i))
                    nSide = i;
        }
        CQXPDockBar* pDock = pBars->GetDockBar(nSide);
        if (!pDock)
            return FALSE;
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        m_pBar->m_ptFloating = rc.TopLeft();
        m_pBar->AttachToDockBar(pDock);
        m_pBar->m_barPosition = nSide;
        if (nSide == m_nDockIndex && m_nDockRow >= 0)
            pDock->DockCommandBarAtRow(m_pBar, m_nDockRow, m_bDockRowAlone, m_rcDocked);
        else
            pDock->DockCommandBar(m_pBar, NULL);
        ShowDocked(m_pBar, pBars);
    } else if (m_pBar->GetDockBar() && (dwFlags & qxpFlagFloating) && pBars->GetOptions()->m_bDblClickFloat) {
        CPoint pt = m_pBar->m_ptFloating;
        if (pt.x <= 0 || pt.y <= 0) {
            CRect rc;
            ::GetWindowRect(hWnd, &rc);
            pt = rc.TopLeft();
        }
        if (!m_pBar->SetFloating(pt))
            return FALSE;
    } else {
        return FALSE;
    }
    pBars->m_bLayoutChanged = TRUE;
    return TRUE;
}
