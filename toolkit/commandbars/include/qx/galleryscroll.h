// qx/galleryscroll.h - the geometry of a gallery's windowless scroll bar.
//
// A gallery has no child windows: its vertical scroll bar is drawn into the
// command bar. This header holds the arithmetic of that bar: where the
// arrows, the track and the thumb lie, which part a point is on, and which
// scroll position a thumb pixel stands for. Nothing here needs a window.
#pragma once

#include <fx/fx.h>

// The parts of a gallery scroll bar (the character codes of < = > ? @ A).
enum QXPScrollBarHit {
    qxpScrollHitNone = 0,
    qxpScrollHitArrowBefore = 60, // up (left) arrow, or the scroll-up button
    qxpScrollHitArrowAfter = 61,  // down (right) arrow, or the scroll-down button
    qxpScrollHitPageBefore = 62,
    qxpScrollHitPageAfter = 63,
    qxpScrollHitThumb = 64,
    qxpScrollHitPopup = 65, // the third button of the three-button column
};

// The scroll information an owner hands to the bar.
struct QXPScrollInfo {
    int nMin;
    int nMax;
    int nPage;
    int nPos;
};

// The computed bar; all pixels in the owner window's client coordinates,
// "along" being the scroll axis.
struct ScrollBarGeometry {
    int nMin, nMax, nPage, nPos;
    int pxStart, pxEnd;           // the bar's extent along the axis
    int pxCrossStart, pxCrossEnd; // and across it
    int pxThumbLength;
    int pxFirstArrowEnd;
    int pxSecondArrowStart;
    int pxSavedThumbStart; // thumb start when a thumb drag began
    int pxThumbEnd, pxThumbStart;
    int pxPopupStart; // three-button form only; 0 otherwise
    int pxFreeTrack;  // track length not covered by the thumb
    int pxTrackStart; // = first arrow end
    RECT rcBar;
    int nTrackedPart;
    BOOL bVertical;
    // While tracking: the pointer is on the tracked arrow or page part, or
    // the thumb is being dragged (the part is drawn pressed).
    BOOL bPressedInside;
};

// The height of each of the two scroll buttons of the three-button column.
const int QXP_GALLERY_SCROLL_BUTTON = 19;

// The standard bar: two arrows of nArrowSize (SM_CYVSCROLL, or SM_CXHSCROLL
// across a horizontal bar), a track and a thumb. The bVertical of pGeo picks
// the axis and is kept.
void AFXAPI QXPCalcStandardScrollBar(const RECT& rc, const QXPScrollInfo& info, int nArrowSize,
                                     ScrollBarGeometry* pGeo);
// The three-button column of a gallery with a drop-down: up and down
// buttons (19 pixels each unless the painter draws them otherwise), the
// popup button for the rest.
void AFXAPI QXPCalcThreeButtonScrollBar(const RECT& rc, const QXPScrollInfo& info, ScrollBarGeometry* pGeo,
                                        int nUp = QXP_GALLERY_SCROLL_BUTTON, int nDown = QXP_GALLERY_SCROLL_BUTTON);
// The part under a point (qxpScrollHit*), 0 outside the bar.
int AFXAPI QXPScrollBarHitTest(const ScrollBarGeometry& geo, POINT pt);
// The scroll position a thumb start pixel stands for; always within
// minimum .. maximum.
int AFXAPI QXPScrollPosFromThumb(const ScrollBarGeometry& geo, int px);

// ---------------------------------------------------------------------------
// The windowless scroll bar of a gallery, as the tracking loop sees it:
// the gallery answers these operations.
class GalleryScrollHelper {
public:
    virtual ~GalleryScrollHelper() {}
    // A scroll code (SB_ numbering); the owner then brings the geometry the
    // loop holds up to date.
    virtual void DoScroll(int nCode, int nPosition) = 0;
    virtual void RedrawScrollBar() = 0;
    // A smooth scroll of the owner is running; AnimationStep moves it on.
    virtual BOOL IsScrollAnimating() const { return FALSE; }
    virtual void AnimationStep() {}
};

// The timers of the tracking loop on the owner window.
const UINT QXP_TID_GALLERY_REPEAT = 23345;
const UINT QXP_TID_GALLERY_ANIMATE = 23346;

// Tracks the mouse after a button-down at pt (client coordinates of hWnd)
// on the bar of pGeo: arrows and page areas scroll at once and auto-repeat
// while held, the thumb is dragged (Shift on a page area grabs it centred
// on the pointer). Returns when the button is released, the capture is
// lost or WM_QUIT arrives (which is posted again); *pnRepeatPeriod gets the
// last auto-repeat period in milliseconds.
void AFXAPI QXPTrackScrollBar(GalleryScrollHelper* pOwner, HWND hWnd, POINT pt, ScrollBarGeometry* pGeo, BOOL bShift,
                              int* pnRepeatPeriod);
