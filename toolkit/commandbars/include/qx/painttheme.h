// qx/painttheme.h - small drawing utilities of the paint themes that the
// command-bar controls, the docking panes and the tab painter share.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/colors.h>

class CQXPThemePainter;

// The colours of a control's framed face: a gradient from the first colour
// to the second, framed in the third. Each entry is a standard colour with
// an optional override (a set override replaces the standard).
struct QXPControlFrameColors {
    ColorValue clrFirst;
    ColorValue clrSecond;
    ColorValue clrFrame;
};

// Fills the rectangle with the set's gradient through the paint manager
// (left to right with bHorz, else top to bottom) and frames it on all four
// sides in the frame colour. A NULL paint manager means the global one.
void AFXAPI DrawControlFrame(CQXPThemePainter* pPaintManager, CDC* pDC, const CRect& rc,
                             const QXPControlFrameColors& colors, BOOL bHorz);

// Zeroes a LOGFONT and returns it.
LOGFONTA* AFXAPI LogFontZero(LOGFONTA* pLogFont);
