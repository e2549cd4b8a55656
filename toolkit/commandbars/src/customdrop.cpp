// customdrop.cpp - the customize drag: where a dropped control lands on a
// bar and the marker that shows it, and the manager's modal drag loop
// (CQXPCustomizeDropSource).
#include <qx/commandbars.h>
#include <qx/customize.h>
#include <qx/resourcemgr.h>

#include <cstdlib>

// ===========================================================================
// Drop position and marker

namespace {

// The coordinate controls are ordered by, and its centre.
int Along(CPoint pt, BOOL bVertical)
{
    return bVertical ? pt.y : pt.x;
}

int CentreAlong(const CRect& rc, BOOL bVertical)
{
    return bVertical ? (rc.top + rc.bottom) / 2 : (rc.left + rc.right) / 2;
}

} // namespace

QXPDropPlace AFXAPI QxpFindDropPlace(const std::vector<QXPDropCandidate>& items, CPoint pt, BOOL bVertical,
                                     BOOL bColumnWrapped, const CRect& rcClient, BOOL bRibbon)
{
    QXPDropPlace place;
    int nBest = -1;
    int nBestDistance = 0;
    for (int i = 0; i < (int)items.size(); i++) {
        const QXPDropCandidate& item = items[(size_t)i];
        if (bColumnWrapped && bVertical) {
            // Only the column under the pointer takes part.
            if (pt.x < item.rc.left || pt.x >= item.rc.right)
                continue;
        } else if (item.bWrap) {
            // A new row (column) before the pointer ends the search; one the
            // pointer has reached starts it again.
            BOOL bBeyond = bVertical ? pt.x < item.rc.left : pt.y < item.rc.top;
            if (bBeyond)
                break;
            nBest = -1;
        }
        int nDistance = std::abs(CentreAlong(item.rc, bVertical) - Along(pt, bVertical));
        if (nBest == -1 || nDistance < nBestDistance) {
            nBest = i;
            nBestDistance = nDistance;
        }
    }

    if (nBest == -1) {
        if (bRibbon) {
            place.bAccepted = FALSE;
            return place;
        }
        place.rcMarker.SetRect(rcClient.left + 2, rcClient.top + 2, rcClient.left + 2 + QXP_DROPMARKER_SIZE,
                               rcClient.bottom - 2);
        return place;
    }

    const QXPDropCandidate& best = items[(size_t)nBest];
    place.nItem = nBest;
    place.bAfter = CentreAlong(best.rc, bVertical) < Along(pt, bVertical);
    if (best.bDragged)
        return place; // onto itself: no marker

    const CRect& rc = best.rc;
    if (!place.bAfter) {
        place.rcMarker = bVertical ? CRect(rc.left, rc.top, rc.right, rc.top + QXP_DROPMARKER_SIZE)
                                   : CRect(rc.left, rc.top, rc.left + QXP_DROPMARKER_SIZE, rc.bottom);
        return place;
    }
    // After the control: inside it at the end of a group or row, else just
    // beyond it (in the gap before its neighbour).
    BOOL bInside = nBest + 1 >= (int)items.size();
    if (!bInside) {
        const QXPDropCandidate& next = items[(size_t)nBest + 1];
        bInside = next.bBeginGroup || (!bVertical && next.bWrap);
    }
    if (bVertical)
        place.rcMarker = bInside ? CRect(rc.left, rc.bottom - QXP_DROPMARKER_SIZE, rc.right, rc.bottom)
                                 : CRect(rc.left, rc.bottom, rc.right, rc.bottom + QXP_DROPMARKER_SIZE);
    else
        place.rcMarker = bInside ? CRect(rc.right - QXP_DROPMARKER_SIZE, rc.top, rc.right, rc.bottom)
                                 : CRect(rc.right, rc.top, rc.right + QXP_DROPMARKER_SIZE, rc.bottom);
    return place;
}

void AFXAPI QxpDropMarkerBands(const CRect& rc, BOOL bVertical, CRect bands[5])
{
    if (bVertical) {
        // The marker lies across a vertical bar: |-| shape.
        bands[0].SetRect(rc.left, rc.top, rc.left + 1, rc.bottom);
        bands[1].SetRect(rc.left + 1, rc.top + 1, rc.left + 2, rc.bottom - 1);
        bands[2].SetRect(rc.left + 2, rc.top + 2, rc.right - 2, rc.top + 4);
        bands[3].SetRect(rc.right - 1, rc.top, rc.right, rc.bottom);
        bands[4].SetRect(rc.right - 2, rc.top + 1, rc.right - 1, rc.bottom - 1);
    } else {
        bands[0].SetRect(rc.left, rc.top, rc.right, rc.top + 1);
        bands[1].SetRect(rc.left + 1, rc.top + 1, rc.right - 1, rc.top + 2);
        bands[2].SetRect(rc.left + 2, rc.top + 2, rc.left + 4, rc.bottom - 2);
        bands[3].SetRect(rc.left, rc.bottom - 1, rc.right, rc.bottom);
        bands[4].SetRect(rc.left + 1, rc.bottom - 2, rc.right - 1, rc.bottom - 1);
    }
}

CRect AFXAPI QxpCustomizeResizeRect(const CRect& rcStart, BOOL bLeftEdge, int dx, int nMinWidth)
{
    CRect rc = rcStart;
    if (nMinWidth < 0)
        nMinWidth = 0;
    if (bLeftEdge) {
        rc.left = rcStart.left + dx;
        if (rc.left > rc.right - nMinWidth)
            rc.left = rc.right - nMinWidth;
    } else {
        rc.right = rcStart.right + dx;
        if (rc.right < rc.left + nMinWidth)
            rc.right = rc.left + nMinWidth;
    }
    return rc;
}

int AFXAPI QxpCustomizeResizeEdge(const CRect& rcControl, CPoint pt)
{
    if (!rcControl.PtInRect(pt))
        return 0;
    if (pt.x < rcControl.left + 3)
        return 1;
    if (pt.x >= rcControl.right - 2)
        return 2;
    return 0;
}

// ===========================================================================
// CQXPCustomizeDropSource

CQXPCustomizeDropSource::CQXPCustomizeDropSource(CQXPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars)
{
    ToolkitResourceManager* pResources = ToolkitResourceManager::Instance();
    m_hCursorNoDrop = pResources->LoadCursor(QX_IDC_CUSTOMIZE_NODROP);
    m_hCursorMove = pResources->LoadCursor(QX_IDC_CUSTOMIZE_MOVE);
    m_hCursorCopy = pResources->LoadCursor(QX_IDC_CUSTOMIZE_COPY);
    if (!m_hCursorNoDrop)
        m_hCursorNoDrop = ::LoadCursorA(NULL, (LPCSTR)IDC_NO);
    if (!m_hCursorMove)
        m_hCursorMove = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    if (!m_hCursorCopy)
        m_hCursorCopy = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
}

CQXPCustomizeDropSource::~CQXPCustomizeDropSource() = default;

void CQXPCustomizeDropSource::RegisterBar(CQXPCommandBar* pBar)
{
    for (CQXPCommandBar* p : m_bars)
        if (p == pBar)
            return;
    m_bars.push_back(pBar);
}

void CQXPCustomizeDropSource::UnregisterBar(CQXPCommandBar* pBar)
{
    for (size_t i = 0; i < m_bars.size(); i++) {
        if (m_bars[i] == pBar) {
            m_bars.erase(m_bars.begin() + (ptrdiff_t)i);
            break;
        }
    }
    // A bar that goes away under the pointer (a submenu closing) is no
    // target any more.
    if (m_pTarget == pBar)
        m_pTarget = NULL;
}

CQXPCommandBar* CQXPCustomizeDropSource::FindBarAt(CPoint ptScreen) const
{
    for (size_t i = m_bars.size(); i-- > 0;) {
        CQXPCommandBar* pBar = m_bars[i];
        HWND hWnd = pBar->GetSafeHwnd();
        if (!hWnd || !::IsWindowVisible(hWnd))
            continue;
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        if (rc.PtInRect(ptScreen))
            return pBar;
    }
    return NULL;
}

void CQXPCustomizeDropSource::SetTarget(CQXPCommandBar* pBar)
{
    if (m_pTarget && m_pTarget != pBar)
        m_pTarget->OnCustomizeDragLeave();
    m_pTarget = pBar;
}

void CQXPCustomizeDropSource::UpdateTarget(CPoint ptScreen)
{
    CQXPCommandBar* pBar = FindBarAt(ptScreen);
    if (pBar) {
        CPoint pt = ptScreen;
        pBar->ScreenToClient(&pt);
        if (pBar == m_pTarget) {
            pBar->OnCustomizeDragOver(m_pControl, pt);
        } else {
            SetTarget(NULL);
            if (pBar->OnCustomizeDragEnter(m_pControl, pt))
                m_pTarget = pBar;
        }
    } else {
        SetTarget(NULL);
    }
    UpdateCursor();
}

void CQXPCustomizeDropSource::UpdateCursor()
{
    if (!m_pTarget)
        m_hCurrentCursor = m_hCursorNoDrop;
    else if (!m_bMove || m_bForceCopy)
        m_hCurrentCursor = m_hCursorCopy;
    else
        m_hCurrentCursor = m_hCursorMove;
    ::SetCursor(m_hCurrentCursor);
}

int CQXPCustomizeDropSource::DoDragDrop(CQXPControl* pControl, BOOL bForceCopy)
{
    if (!m_pCommandBars || !pControl || m_pControl)
        return qxpDropNone;
    CWnd* pHost = m_pCustomizeDialog ? m_pCustomizeDialog : m_pCommandBars->GetSite();
    HWND hWndHost = pHost ? pHost->GetSafeHwnd() : NULL;
    if (!hWndHost || !::IsWindow(hWndHost))
        return qxpDropNone;

    pControl->InternalAddRef();
    m_pControl = pControl;
    m_bForceCopy = bForceCopy;
    m_bMove = FALSE;
    m_pTarget = NULL;
    ::GetCursorPos(&m_ptStart);
    m_hWndCapture = hWndHost;
    ::SetCapture(hWndHost);

    int nResult = RunLoop(hWndHost);

    SetTarget(NULL);
    if (::GetCapture() == hWndHost)
        ::ReleaseCapture();
    m_hWndCapture = NULL;
    m_hCurrentCursor = NULL;
    ::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
    m_pControl = NULL;
    pControl->InternalRelease();
    return nResult;
}

int CQXPCustomizeDropSource::RunLoop(HWND hWndHost)
{
    int nResult = qxpDropCancel;
    BOOL bFirstMove = TRUE;
    CPoint ptDrop = m_ptStart;
    BOOL bDropped = FALSE;
    while (!bDropped) {
        if (::GetCapture() != hWndHost)
            return qxpDropCancel;
        MSG msg;
        // Bars repaint their markers before the next input is taken. (A
        // filtered peek still hands out WM_QUIT.)
        while (::PeekMessageA(&msg, NULL, WM_PAINT, WM_PAINT, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage((int)msg.wParam);
                return qxpDropCancel;
            }
            ::DispatchMessageA(&msg);
        }
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            // The application is quitting: the loop of the caller sees it too.
            ::PostQuitMessage((int)msg.wParam);
            return qxpDropCancel;
        }
        if (::GetCapture() != hWndHost)
            return qxpDropCancel;
        switch (msg.message) {
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE)
                return qxpDropCancel;
            if (msg.wParam == VK_CONTROL && m_bMove) {
                m_bMove = FALSE;
                UpdateCursor();
            }
            break;
        case WM_KEYUP:
            if (msg.wParam == VK_CONTROL && !m_bMove) {
                m_bMove = TRUE;
                UpdateCursor();
            }
            break;
        case WM_MOUSEMOVE: {
            CPoint pt = msg.pt;
            if (bFirstMove) {
                bFirstMove = FALSE;
                CQXPCommandBar* pBar = m_pControl->GetParent();
                if (pBar && ::IsWindow(pBar->GetSafeHwnd())) {
                    CPoint ptBar = pt;
                    pBar->ScreenToClient(&ptBar);
                    int nEffect = qxpDropMove;
                    m_pControl->OnCustomizeDragOver(m_pControl, ptBar, nEffect);
                }
            }
            m_bMove = (msg.wParam & MK_CONTROL) == 0 && ::GetKeyState(VK_CONTROL) >= 0;
            UpdateTarget(pt);
            nResult = qxpDropNone;
            if (!(msg.wParam & MK_LBUTTON)) {
                ptDrop = pt;
                bDropped = TRUE;
            }
            break;
        }
        case WM_LBUTTONUP:
            ptDrop = msg.pt;
            bDropped = TRUE;
            break;
        case WM_RBUTTONDOWN:
            return qxpDropCancel;
        default:
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            break;
        }
    }

    if (!m_pTarget)
        return nResult;
    // A forced copy (from the customize dialog's command list) is a copy
    // whatever the keys said.
    int nEffect = (m_bMove && !m_bForceCopy) ? qxpDropMove : qxpDropCopy;
    CQXPCommandBar* pTarget = m_pTarget;
    CPoint pt = ptDrop, ptStart = m_ptStart;
    pTarget->ScreenToClient(&pt);
    pTarget->ScreenToClient(&ptStart);
    pTarget->InternalAddRef();
    pTarget->OnCustomizeDrop(m_pControl, nEffect, pt, ptStart);
    pTarget->InternalRelease();
    m_pTarget = NULL;
    return nEffect;
}
