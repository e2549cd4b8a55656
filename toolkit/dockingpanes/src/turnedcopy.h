// turnedcopy.h - pictures drawn upright and copied turned: tabs on the
// left, right or bottom side and vertical captions reuse the drawing of the
// top position pixel by pixel.
#pragma once

#include <fx/fx.h>

#include <functional>

// paint() draws a picture upright into a buffer of szUpright, filled with
// clrBack first; each upright pixel (u, v) is then copied to rcDest's
// top-left corner + place(u, v), the pixels of clrKey left out (-1: every
// pixel is copied). Nothing is drawn when the buffers cannot be made.
void DrawTurnedCopy(HDC hDC, const RECT& rcDest, SIZE szUpright, COLORREF clrBack, COLORREF clrKey,
                    const std::function<void(HDC, const RECT&)>& paint, const std::function<POINT(int, int)>& place);
