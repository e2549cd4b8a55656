// The floating frame as the docking themes draw it: borders, the caption
// strip with the frame's title and its caption buttons (close, roll-up pin,
// menu). The frame's window rectangle lies at 0, 0; the buttons keep their
// rectangles in window coordinates, where the frame hit-tests them.
#include <qx/colors.h>
#include <qx/drawing.h>
#include <qx/miniwnd.h>
#include <qx/panemanager.h>
#include <qx/panepaint.h>
#include <qx/toolkitres.h>
#include <qx/visualstyles.h>
#include <vsstyle.h>
#include <vssym32.h>

#include <algorithm>

namespace {

// A 1-pixel 3-D rectangle along the inside of rc; rc then shrinks by 1.
void Frame3d(CDC& dc, RECT& rc, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    dc.Draw3dRect(&rc, clrTopLeft, clrBottomRight);
    ::InflateRect(&rc, -1, -1);
}

} // namespace

CaptionBarContent CDockingPanePaintManager::ContentOf(CQXPDockingPaneMiniWnd* pFrame) const
{
    CaptionBarContent content;
    content.pOwner = pFrame;
    if (!pFrame)
        return content;
    if (pFrame->m_hWnd) {
        char szTitle[256] = "";
        ::GetWindowTextA(pFrame->m_hWnd, szTitle, sizeof(szTitle));
        content.strTitle = szTitle;
    }
    content.bActive = m_bHighlightActive && pFrame->m_bActive;
    // The pin lies on its side while the frame rolls up.
    content.bHorizontalPin = pFrame->IsRollUp();
    for (CaptionButton* b : pFrame->m_arrCaptionButtons)
        if (b->m_nID == QX_IDS_DOCKINGPANE_AUTOHIDE)
            b->m_dwState = pFrame->IsRollUp() ? 2 : 0;
    return content;
}

void CDockingPanePaintManager::DrawFloatingFrame(HDC hDC, CQXPDockingPaneMiniWnd* pFrame, const RECT& rcFrame)
{
    switch (m_nTheme) {
    case 2:
    case 7:
    case 10:
        DrawFloatingFrameLuna(hDC, pFrame, rcFrame);
        return;
    case 3:
        if (DrawFloatingFrameStyled(hDC, pFrame, rcFrame))
            return;
        break;
    }
    DrawFloatingFrameClassic(hDC, pFrame, rcFrame);
}

// The face between the caption strip and the client area.
static void FillAboveClient(CDC& dc, CQXPDockingPaneMiniWnd* pFrame, const RECT& rcRest, COLORREF clr)
{
    RECT rc = rcRest;
    if (pFrame && pFrame->m_hWnd) {
        RECT rcClient, rcWindow;
        ::GetClientRect(pFrame->m_hWnd, &rcClient);
        ::MapWindowPoints(pFrame->m_hWnd, HWND_DESKTOP, (LPPOINT)&rcClient, 2);
        ::GetWindowRect(pFrame->m_hWnd, &rcWindow);
        rc.bottom = rcClient.top - rcWindow.top;
    }
    if (rc.bottom > rc.top)
        dc.FillSolidRect(&rc, clr);
}

void CDockingPanePaintManager::DrawFloatingFrameClassic(HDC hDC, CQXPDockingPaneMiniWnd* pFrame,
                                                        const RECT& rcFrame)
{
    CDC& dc = *CDC::FromHandle(hDC);
    // Theme 5 draws its frame on the stripe colour of its panes.
    const BOOL bActive = m_bHighlightActive && pFrame && pFrame->m_bActive;
    const COLORREF face = m_nTheme == 5 ? GetColor(bActive ? qxColorHotFace : qxColorBarFace) : GetColor(COLOR_3DFACE);
    RECT rc = rcFrame;
    Frame3d(dc, rc, face, RGB(0, 0, 0));
    Frame3d(dc, rc, GetColor(COLOR_3DHIGHLIGHT), GetColor(COLOR_3DSHADOW));
    Frame3d(dc, rc, face, face);
    RECT rcStrip = {rc.left, rc.top, rc.right, std::min(rc.bottom, rc.top + GetCaptionTextHeight() + 3)};
    if (!::IsRectEmpty(&rcStrip)) {
        BufferedDC buffer(hDC, rcStrip);
        HDC hBuffer = buffer.IsValid() ? buffer.GetSafeHdc() : hDC;
        CDC::FromHandle(hBuffer)->FillSolidRect(&rcStrip, face);
        RECT rcBar = rcStrip;
        ::InflateRect(&rcBar, -1, -2);
        CaptionBarContent content = ContentOf(pFrame);
        if (m_nTheme == 5) {
            // The strip's own colour stays under the bar: no face line.
            content.bBackgroundDrawn = TRUE;
            content.nButtonSize = 16;
            content.nStripeGap = 14;
        }
        // Theme 8's band spans the whole window.
        content.rcRebar = rcFrame;
        DrawCaptionBar(hBuffer, content, rcBar, rcBar, NULL);
    }
    FillAboveClient(dc, pFrame, RECT{rc.left, rcStrip.bottom, rc.right, rc.bottom}, face);
}

void CDockingPanePaintManager::DrawFloatingFrameLuna(HDC hDC, CQXPDockingPaneMiniWnd* pFrame,
                                                     const RECT& rcFrame)
{
    CDC& dc = *CDC::FromHandle(hDC);
    const COLORREF clrFrame = GetColor(qxColorMenuBorder);
    const COLORREF clrInner = m_clrInactiveCaption[1];
    RECT rc = rcFrame;
    for (int i = 0; i < 3; ++i)
        Frame3d(dc, rc, clrFrame, clrFrame);
    // The rounded inner corners: the fourth frame leaves them out, and they
    // keep the outer frames' colour (nothing else paints them).
    const POINT corners[] = {{rc.left, rc.top}, {rc.right - 1, rc.top}, {rc.left, rc.bottom - 1}, {rc.right - 1, rc.bottom - 1}};
    const int nSaved = ::SaveDC(hDC);
    for (POINT pt : corners)
        ::ExcludeClipRect(hDC, pt.x, pt.y, pt.x + 1, pt.y + 1);
    Frame3d(dc, rc, clrInner, clrInner);
    ::RestoreDC(hDC, nSaved);
    for (POINT pt : corners)
        dc.FillSolidRect(pt.x, pt.y, 1, 1, clrFrame);
    RECT rcStrip = {rc.left, rc.top, rc.right, std::min(rc.bottom, rc.top + GetCaptionTextHeight() + 3)};
    if (!::IsRectEmpty(&rcStrip)) {
        BufferedDC buffer(hDC, rcStrip);
        HDC hBuffer = buffer.IsValid() ? buffer.GetSafeHdc() : hDC;
        CaptionBarContent content = ContentOf(pFrame);
        const COLORREF* g = content.bActive ? m_clrActiveCaption : m_clrInactiveCaption;
        DrawHelpers::Instance()->FillGradient(hBuffer, &rcStrip, g[0], g[1], FALSE);
        ::SetPixel(hBuffer, rcStrip.left, rcStrip.bottom - 1, clrInner);
        ::SetPixel(hBuffer, rcStrip.right - 1, rcStrip.bottom - 1, clrInner);
        content.bBackgroundDrawn = TRUE;
        RECT rcBar = rcStrip;
        ::InflateRect(&rcBar, -1, 0);
        DrawCaptionBar(hBuffer, content, rcBar, rcBar, NULL);
    }
    FillAboveClient(dc, pFrame, RECT{rc.left, rcStrip.bottom, rc.right, rc.bottom}, clrInner);
}

BOOL CDockingPanePaintManager::DrawFloatingFrameStyled(HDC hDC, CQXPDockingPaneMiniWnd* pFrame,
                                                       const RECT& rcFrame)
{
    if (!IsVisualStyleActive(vsWindow))
        return FALSE;
    CVisualStyleTheme* pStyle = m_pStyles[vsWindow];
    CaptionBarContent content = ContentOf(pFrame);
    const int nState = content.bActive ? FS_ACTIVE : FS_INACTIVE;
    // The side pieces run the whole height beside the caption, the bottom
    // piece across; the caption part lies between the sides down to the
    // client area, the text and buttons over it.
    const int nBorder = 3;
    RECT rcLeft = {rcFrame.left, rcFrame.top, rcFrame.left + nBorder, rcFrame.bottom};
    RECT rcRight = {rcFrame.right - nBorder, rcFrame.top, rcFrame.right, rcFrame.bottom};
    RECT rcBottom = {rcFrame.left, rcFrame.bottom - nBorder, rcFrame.right, rcFrame.bottom};
    RECT rcCaption = {rcFrame.left + nBorder, rcFrame.top, rcFrame.right - nBorder,
                      rcFrame.top + GetCaptionHeight() + 5};
    pStyle->DrawThemeBackground(hDC, WP_SMALLFRAMELEFT, nState, &rcLeft);
    pStyle->DrawThemeBackground(hDC, WP_SMALLFRAMERIGHT, nState, &rcRight);
    pStyle->DrawThemeBackground(hDC, WP_SMALLFRAMEBOTTOM, nState, &rcBottom);
    DrawCaptionBar(hDC, content, rcCaption, rcCaption, NULL);
    return TRUE;
}
