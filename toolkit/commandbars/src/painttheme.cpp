// Drawing utilities shared by the paint themes.

#include <qx/painttheme.h>

#include <qx/paintmanager.h>

#include <cstring>

void AFXAPI DrawControlFrame(CQXPThemePainter* pPaintManager, CDC* pDC, const CRect& rc,
                             const QXPControlFrameColors& colors, BOOL bHorz)
{
    if (!pDC || rc.IsRectEmpty())
        return;
    if (!pPaintManager)
        pPaintManager = GetGlobalPaintManager();
    pPaintManager->FillGradient(pDC, rc, colors.clrFirst.GetColor(), colors.clrSecond.GetColor(), bHorz);
    COLORREF clrFrame = colors.clrFrame.GetColor();
    pDC->Draw3dRect(rc, clrFrame, clrFrame);
}

LOGFONTA* AFXAPI LogFontZero(LOGFONTA* pLogFont)
{
    if (pLogFont)
        std::memset(pLogFont, 0, sizeof(*pLogFont));
    return pLogFont;
}
