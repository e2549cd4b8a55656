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
    if (!m_pPaintManager)
        return;
    const TabColorSet& c = m_pPaintManager->GetColors();
    if (nStyle <= 1) {
        RECT rcInner = rc;
        m_pPaintManager->DeflateByClientFrame(rcInner);
        if (nStyle == 0 && hDC && !::EqualRect(&rcInner, &rc)) {
            const int nSaved = ::SaveDC(hDC);
            ::ExcludeClipRect(hDC, rcInner.left, rcInner.top, rcInner.right, rcInner.bottom);
            FillLine(hDC, rc.left, rc.top, rc.right, rc.bottom, c.clrControlFace);
            m_pPaintManager->FrameClient(hDC, rc, m_pPaintManager->m_nClientFrame);
            ::RestoreDC(hDC, nSaved);
        }
        rc = rcInner;
        return;
    }
    if (!hDC)
        return;
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
