// qx/shadowstrip.h - the picture of a popup's soft drop shadow: the per-pixel
// alpha image of one strip (under the owner's bottom edge or beside its right
// edge) that a layered shadow window hands to UpdateLayeredWindow.
#pragma once

#include <fx/fx.h>

// Thickness of a layered shadow strip, and of the plain one drawn where the
// system cannot layer windows.
#define QXP_SHADOW_THICKNESS 4
#define QXP_SHADOW_THICKNESS_PLAIN 2

// The strip's place for an owner window rectangle: the bottom strip runs
// under the owner from one thickness right of its left edge to one thickness
// past its right edge; the right strip runs beside it from one thickness
// below its top to its bottom. An empty owner gives an empty strip.
CRect AFXAPI QxpShadowStripRect(const CRect& rcOwner, BOOL bBottom, int nThickness = QXP_SHADOW_THICKNESS);

// Fills a 32-bit image of cx x cy pixels (BGRA, premultiplied alpha) with
// one strip; its rows run top-down, or bottom-up (a DIB with a positive
// height) with bBottomUp. Across the strip, from the owner's edge outward,
// alpha falls 60, 45, 30, 15 (doubled unless bLight) with the shadow colour
// scaled 1.0, 0.75, 0.5, 0.25; the 4 x 4 end pieces (both ends of the bottom
// strip, the top end of the right strip) fade towards the strip's end with
// alpha 3 * i * j (doubled unless bLight) and the colour scaled 0.05 * i * j,
// i and j counted 1..4 inward from the strip's end and outer edge. No colour
// channel exceeds its pixel's alpha, so the strip only ever darkens.
void AFXAPI QxpFillShadowBits(DWORD* pBits, int cx, int cy, BOOL bBottom, COLORREF crShadow, BOOL bLight,
                              BOOL bBottomUp = FALSE);

// The pixel of the image above at (x, y), y counted from the top.
DWORD AFXAPI QxpShadowPixel(int x, int y, int cx, int cy, BOOL bBottom, COLORREF crShadow, BOOL bLight);
