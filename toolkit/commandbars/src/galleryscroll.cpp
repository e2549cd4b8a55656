// galleryscroll.cpp - geometry, hit codes and position arithmetic of the
// gallery's windowless scroll bar.
#include <qx/galleryscroll.h>

#include <qx/mousemanager.h>

#include <string.h>

namespace {

void StartGeometry(const RECT& rc, const QXPScrollInfo& info, ScrollBarGeometry* pGeo)
{
    // The axis and the state of a running tracking survive a recompute.
    BOOL bVertical = pGeo->bVertical;
    int nTrackedPart = pGeo->nTrackedPart, pxSavedThumbStart = pGeo->pxSavedThumbStart;
    BOOL bPressedInside = pGeo->bPressedInside;
    memset(pGeo, 0, sizeof(*pGeo));
    pGeo->bVertical = bVertical;
    pGeo->nTrackedPart = nTrackedPart;
    pGeo->pxSavedThumbStart = pxSavedThumbStart;
    pGeo->bPressedInside = bPressedInside;
    pGeo->rcBar = rc;
    pGeo->nMin = info.nMin;
    pGeo->nMax = info.nMax;
    pGeo->nPage = info.nPage;
    pGeo->nPos = info.nPos;
    if (bVertical) {
        pGeo->pxStart = rc.top;
        pGeo->pxEnd = rc.bottom;
        pGeo->pxCrossStart = rc.left;
        pGeo->pxCrossEnd = rc.right;
    } else {
        pGeo->pxStart = rc.left;
        pGeo->pxEnd = rc.right;
        pGeo->pxCrossStart = rc.top;
        pGeo->pxCrossEnd = rc.bottom;
    }
}

} // namespace

void AFXAPI QXPCalcStandardScrollBar(const RECT& rc, const QXPScrollInfo& info, int nArrowSize,
                                     ScrollBarGeometry* pGeo)
{
    StartGeometry(rc, info, pGeo);
    const int nLength = pGeo->pxEnd - pGeo->pxStart;
    int nArrow = nArrowSize;
    pGeo->pxThumbLength = nArrowSize;

    // A bar shorter than two arrows splits its length between them.
    if (nArrow > nLength / 2)
        nArrow = nLength / 2;
    pGeo->pxFirstArrowEnd = pGeo->pxStart + nArrow;
    pGeo->pxSecondArrowStart = pGeo->pxEnd - nArrow;

    const int nRange = info.nMax + 1 - info.nMin;
    if (info.nPage != 0 && nRange != 0) {
        pGeo->pxThumbLength = MulDiv(nLength - 2 * nArrow, info.nPage, nRange);
        if (pGeo->pxThumbLength < nArrowSize / 2)
            pGeo->pxThumbLength = nArrowSize / 2;
    }

    pGeo->pxTrackStart = pGeo->pxStart + nArrow;
    pGeo->pxFreeTrack = pGeo->pxEnd - nArrow - pGeo->pxTrackStart - pGeo->pxThumbLength;

    const int nPage = info.nPage != 0 ? info.nPage : 1;
    if (nRange == nPage) {
        pGeo->pxThumbStart = pGeo->pxTrackStart - 1;
        pGeo->pxThumbEnd = pGeo->pxTrackStart + pGeo->pxThumbLength - 1;
    } else {
        pGeo->pxThumbStart =
            pGeo->pxTrackStart + MulDiv(info.nPos - info.nMin, pGeo->pxFreeTrack, nRange - nPage);
        pGeo->pxThumbEnd = pGeo->pxThumbStart + pGeo->pxThumbLength;
    }
}

void AFXAPI QXPCalcThreeButtonScrollBar(const RECT& rc, const QXPScrollInfo& info, ScrollBarGeometry* pGeo, int nUp,
                                        int nDown)
{
    StartGeometry(rc, info, pGeo);
    pGeo->pxFirstArrowEnd = pGeo->pxStart + nUp;
    pGeo->pxSecondArrowStart = pGeo->pxFirstArrowEnd;
    pGeo->pxTrackStart = pGeo->pxFirstArrowEnd;
    pGeo->pxPopupStart = pGeo->pxStart + nUp + nDown;
}

int AFXAPI QXPScrollBarHitTest(const ScrollBarGeometry& geo, POINT pt)
{
    if (!PtInRect(&geo.rcBar, pt))
        return qxpScrollHitNone;
    const int v = geo.bVertical ? pt.y : pt.x;
    if (v < geo.pxFirstArrowEnd)
        return qxpScrollHitArrowBefore;
    if (geo.pxPopupStart > 0 && v > geo.pxPopupStart)
        return qxpScrollHitPopup;
    if (v >= geo.pxSecondArrowStart)
        return qxpScrollHitArrowAfter;
    if (v < geo.pxThumbStart)
        return qxpScrollHitPageBefore;
    if (v < geo.pxThumbEnd)
        return qxpScrollHitThumb;
    return qxpScrollHitPageAfter;
}

int AFXAPI QXPScrollPosFromThumb(const ScrollBarGeometry& geo, int px)
{
    int nPos;
    if (px < geo.pxTrackStart) {
        nPos = geo.nMin;
    } else if (px - geo.pxTrackStart <= geo.pxFreeTrack) {
        // With no free track at all the thumb stands for the start only.
        const int nSpan = geo.nMax - geo.nMin - (geo.nPage ? geo.nPage - 1 : 0);
        nPos = geo.pxFreeTrack > 0 ? geo.nMin + MulDiv(nSpan, px - geo.pxTrackStart, geo.pxFreeTrack) : geo.nMin;
    } else {
        nPos = geo.nPage ? geo.nMax - geo.nPage + 1 : geo.nMax;
    }
    if (nPos > geo.nMax)
        nPos = geo.nMax;
    if (nPos < geo.nMin)
        nPos = geo.nMin;
    return nPos;
}

// ---------------------------------------------------------------------------
// Tracking

namespace {

struct ScrollTrack {
    GalleryScrollHelper* pOwner;
    HWND hWnd;
    ScrollBarGeometry* pGeo;
    int* pnRepeatPeriod;
    int nPart;
    int nAction; // scroll code of an arrow or page part
    BOOL bThumb;
    BOOL bInside;
    BOOL bDone;
    int nGrab; // thumb start minus the pointer
    int nStartPos;
    int nLastPos;
    RECT rcTrack; // thumb drags snap back outside it
};

int Along(const ScrollBarGeometry& geo, POINT pt)
{
    return geo.bVertical ? pt.y : pt.x;
}

// The area of the tracked arrow or page part now (page areas end at the
// thumb), as a rectangle.
RECT PartRect(const ScrollTrack& t)
{
    const ScrollBarGeometry& g = *t.pGeo;
    int a = g.pxStart, b = g.pxFirstArrowEnd;
    switch (t.nPart) {
    case qxpScrollHitArrowAfter:
        a = g.pxSecondArrowStart;
        b = g.pxEnd;
        break;
    case qxpScrollHitPageBefore:
        a = g.pxFirstArrowEnd;
        b = g.pxThumbStart;
        break;
    case qxpScrollHitPageAfter:
        a = g.pxThumbEnd;
        b = g.pxSecondArrowStart;
        break;
    default:
        break;
    }
    RECT rc;
    if (g.bVertical)
        SetRect(&rc, g.pxCrossStart, a, g.pxCrossEnd, b);
    else
        SetRect(&rc, a, g.pxCrossStart, b, g.pxCrossEnd);
    return rc;
}

void RepeatStep(ScrollTrack& t, POINT pt, UINT nDelay)
{
    RECT rc = PartRect(t);
    BOOL bInside = PtInRect(&rc, pt);
    BOOL bEntered = bInside && !t.bInside;
    if (bInside != t.bInside) {
        t.bInside = bInside;
        t.pGeo->bPressedInside = bInside;
        t.pOwner->RedrawScrollBar();
    }
    if (bEntered) {
        *t.pnRepeatPeriod = (int)nDelay;
        ::SetTimer(t.hWnd, QXP_TID_GALLERY_REPEAT, nDelay, NULL);
        t.pOwner->DoScroll(t.nAction, 0);
    }
}

void OnArrowMessage(ScrollTrack& t, UINT message, POINT pt)
{
    if (message == WM_LBUTTONUP) {
        t.bDone = TRUE;
        return;
    }
    UINT nDelay;
    if (message == WM_LBUTTONDOWN)
        nDelay = ::GetDoubleClickTime() * 4 / 5;
    else if (message == WM_MOUSEMOVE)
        nDelay = ::GetDoubleClickTime() / 10;
    else
        return;
    RepeatStep(t, pt, nDelay);
}

void OnRepeatTimer(ScrollTrack& t)
{
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(t.hWnd, &pt);
    RECT rc = PartRect(t);
    t.bInside = PtInRect(&rc, pt);
    t.pGeo->bPressedInside = t.bInside;
    if (t.bInside) {
        UINT nDelay = ::GetDoubleClickTime() / 10;
        *t.pnRepeatPeriod = (int)nDelay;
        ::SetTimer(t.hWnd, QXP_TID_GALLERY_REPEAT, nDelay, NULL);
        t.pOwner->DoScroll(t.nAction, 0);
    }
}

void MoveThumb(ScrollTrack& t, POINT pt)
{
    ScrollBarGeometry& g = *t.pGeo;
    int nStart = g.pxSavedThumbStart;
    if (PtInRect(&t.rcTrack, pt)) {
        nStart = Along(g, pt) + t.nGrab;
        if (nStart < g.pxTrackStart)
            nStart = g.pxTrackStart;
        if (nStart > g.pxTrackStart + g.pxFreeTrack)
            nStart = g.pxTrackStart + g.pxFreeTrack;
    }
    const int nLength = g.pxThumbLength;
    int nPos = QXPScrollPosFromThumb(g, nStart);
    if (nPos != t.nLastPos) {
        t.nLastPos = nPos;
        t.pOwner->DoScroll(SB_THUMBTRACK, nPos);
    }
    g.pxThumbStart = nStart;
    g.pxThumbEnd = nStart + nLength;
    t.pOwner->RedrawScrollBar();
}

void OnThumbMessage(ScrollTrack& t, UINT message, POINT pt)
{
    if (message == WM_LBUTTONUP || ::GetKeyState(VK_LBUTTON) >= 0) {
        t.bDone = TRUE;
        return;
    }
    MoveThumb(t, pt);
}

} // namespace

void AFXAPI QXPTrackScrollBar(GalleryScrollHelper* pOwner, HWND hWnd, POINT pt, ScrollBarGeometry* pGeo, BOOL bShift,
                              int* pnRepeatPeriod)
{
    if (!pOwner || !pGeo || !::IsWindow(hWnd))
        return;
    int nDummyPeriod = 0;
    ScrollTrack t = {};
    t.pOwner = pOwner;
    t.hWnd = hWnd;
    t.pGeo = pGeo;
    t.pnRepeatPeriod = pnRepeatPeriod ? pnRepeatPeriod : &nDummyPeriod;
    t.nAction = -1;

    ScrollBarGeometry& g = *pGeo;
    const int v = Along(g, pt);
    if (v < g.pxFirstArrowEnd) {
        t.nPart = qxpScrollHitArrowBefore;
        t.nAction = SB_LINEUP;
    } else if (v < g.pxSecondArrowStart) {
        if (v < g.pxThumbStart) {
            t.nPart = qxpScrollHitPageBefore;
            t.nAction = SB_PAGEUP;
        } else if (v < g.pxThumbEnd) {
            t.nPart = qxpScrollHitThumb;
        } else {
            t.nPart = qxpScrollHitPageAfter;
            t.nAction = SB_PAGEDOWN;
        }
    } else {
        t.nPart = qxpScrollHitArrowAfter;
        t.nAction = SB_LINEDOWN;
    }
    t.nGrab = g.pxThumbStart - v;
    if (bShift && (t.nPart == qxpScrollHitPageBefore || t.nPart == qxpScrollHitPageAfter)) {
        t.nPart = qxpScrollHitThumb;
        t.nGrab = -g.pxThumbLength / 2;
    }
    if (t.nPart == qxpScrollHitThumb) {
        if (g.pxThumbLength >= g.pxSecondArrowStart - g.pxFirstArrowEnd || g.pxFreeTrack <= 0)
            return; // a thumb that cannot move
        t.bThumb = TRUE;
        t.nAction = SB_THUMBPOSITION;
        const int nWidth = g.pxCrossEnd - g.pxCrossStart;
        const int nAlong = 2 * ::GetSystemMetrics(g.bVertical ? SM_CYVTHUMB : SM_CXHTHUMB);
        t.rcTrack = g.rcBar;
        if (g.bVertical)
            InflateRect(&t.rcTrack, 8 * nWidth, nAlong);
        else
            InflateRect(&t.rcTrack, nAlong, 8 * nWidth);
        g.pxSavedThumbStart = g.pxThumbStart;
        t.nStartPos = t.nLastPos = g.nPos;
        pOwner->DoScroll(SB_THUMBTRACK, g.nPos);
    }
    g.nTrackedPart = t.nPart;
    g.bPressedInside = t.bThumb;

    ::SetCapture(hWnd);
    // The thread's mouse manager keeps out of the loop: a release beyond
    // the popup the bar is in does not close it.
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    pMouse->EnterBarLoop();
    if (t.bThumb)
        MoveThumb(t, pt);
    else
        OnArrowMessage(t, WM_LBUTTONDOWN, pt);

    MSG msg;
    while (!t.bDone && ::GetCapture() == hWnd) {
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (!::IsWindow(hWnd))
            break;
        if (msg.message == WM_TIMER && msg.hwnd == hWnd && msg.wParam == QXP_TID_GALLERY_REPEAT) {
            if (!t.bThumb)
                OnRepeatTimer(t);
            continue;
        }
        if (msg.message == WM_TIMER && msg.hwnd == hWnd && msg.wParam == QXP_TID_GALLERY_ANIMATE) {
            pOwner->AnimationStep();
            continue;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSEWHEEL) {
            POINT ptMsg = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
            if (msg.message == WM_MOUSEWHEEL)
                ::ScreenToClient(hWnd, &ptMsg);
            else if (msg.hwnd != hWnd)
                ::MapWindowPoints(msg.hwnd, hWnd, &ptMsg, 1);
            if (t.bThumb)
                OnThumbMessage(t, msg.message, ptMsg);
            else
                OnArrowMessage(t, msg.message, ptMsg);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }

    pMouse->LeaveBarLoop();
    BOOL bWindow = ::IsWindow(hWnd);
    if (bWindow) {
        ::KillTimer(hWnd, QXP_TID_GALLERY_REPEAT);
        if (::GetCapture() == hWnd)
            ::ReleaseCapture();
    }
    g.nTrackedPart = 0;
    g.bPressedInside = FALSE;
    if (t.bThumb)
        pOwner->DoScroll(SB_THUMBPOSITION, t.nLastPos);
    pOwner->DoScroll(SB_ENDSCROLL, 0);
    if (bWindow)
        pOwner->RedrawScrollBar();

    // A smooth scroll started by the tracking finishes before returning.
    while (bWindow && ::IsWindow(hWnd) && pOwner->IsScrollAnimating()) {
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (msg.message == WM_TIMER && msg.hwnd == hWnd && msg.wParam == QXP_TID_GALLERY_ANIMATE) {
            pOwner->AnimationStep();
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
