// galleryscroll.cpp - geometry, hit codes and position arithmetic of the
// gallery's windowless scroll bar.
#include <qx/galleryscroll.h>

#include <string.h>

namespace {

void StartGeometry(const RECT& rc, const QXPScrollInfo& info, ScrollBarGeometry* pGeo)
{
    BOOL bVertical = pGeo->bVertical;
    memset(pGeo, 0, sizeof(*pGeo));
    pGeo->bVertical = bVertical;
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

}  // namespace

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

void AFXAPI QXPCalcThreeButtonScrollBar(const RECT& rc, const QXPScrollInfo& info, ScrollBarGeometry* pGeo)
{
    StartGeometry(rc, info, pGeo);
    pGeo->pxFirstArrowEnd = pGeo->pxStart + QXP_GALLERY_SCROLL_BUTTON;
    pGeo->pxSecondArrowStart = pGeo->pxFirstArrowEnd;
    pGeo->pxTrackStart = pGeo->pxFirstArrowEnd;
    pGeo->pxPopupStart = pGeo->pxStart + 2 * QXP_GALLERY_SCROLL_BUTTON;
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
