// The frame around the document tab groups and the splitters between them.
#include <qx/tabpaint.h>

namespace {

void FillLine(HDC hDC, int left, int top, int right, int bottom, COLORREF clr)
{
    const RECT rc = {left, top, right, bottom};
    const COLORREF clrOld = ::SetBkColor(hDC, clr);
    ::ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
    ::SetBkColor(hDC, clrOld);
}

} // namespace

void CTabAppearancePainter::DrawClientFrame(HDC hDC, RECT& rc, int nStyle)
{
    // Two pixels on every side: a sunken line, then the strips' face.
    const int kFrame = 2;
    if (nStyle == 1 || !hDC || !m_pPaintManager) {
        if (nStyle <= 1)
            ::InflateRect(&rc, -kFrame, -kFrame);
        return;
    }
    const TabColorSet& c = m_pPaintManager->GetColors();
    if (nStyle == 0) {
        FillLine(hDC, rc.left, rc.top, rc.right, rc.top + 1, c.clrShadow3D);
        FillLine(hDC, rc.left, rc.top, rc.left + 1, rc.bottom, c.clrShadow3D);
        FillLine(hDC, rc.left, rc.bottom - 1, rc.right, rc.bottom, c.clrHighlight3D);
        FillLine(hDC, rc.right - 1, rc.top, rc.right, rc.bottom, c.clrHighlight3D);
        RECT rcInner = rc;
        ::InflateRect(&rcInner, -1, -1);
        FillLine(hDC, rcInner.left, rcInner.top, rcInner.right, rcInner.top + 1, c.clrControlFace);
        FillLine(hDC, rcInner.left, rcInner.top, rcInner.left + 1, rcInner.bottom, c.clrControlFace);
        FillLine(hDC, rcInner.left, rcInner.bottom - 1, rcInner.right, rcInner.bottom, c.clrControlFace);
        FillLine(hDC, rcInner.right - 1, rcInner.top, rcInner.right, rcInner.bottom, c.clrControlFace);
        ::InflateRect(&rc, -kFrame, -kFrame);
        return;
    }
    // A splitter: the face with a light edge towards the group before it and
    // a dark one towards the group after it.
    FillLine(hDC, rc.left, rc.top, rc.right, rc.bottom, c.clrControlFace);
    if (nStyle == 2) {
        FillLine(hDC, rc.left, rc.top, rc.left + 1, rc.bottom, c.clrHighlight3D);
        FillLine(hDC, rc.right - 1, rc.top, rc.right, rc.bottom, c.clrShadow3D);
    } else {
        FillLine(hDC, rc.left, rc.top, rc.right, rc.top + 1, c.clrHighlight3D);
        FillLine(hDC, rc.left, rc.bottom - 1, rc.right, rc.bottom, c.clrShadow3D);
    }
}
