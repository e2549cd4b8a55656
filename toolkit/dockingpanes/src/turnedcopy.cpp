// Pictures drawn upright and copied turned.
#include "turnedcopy.h"

#include <qx/images.h>

void DrawTurnedCopy(HDC hDC, const RECT& rcDest, SIZE szUpright, COLORREF clrBack, COLORREF clrKey,
                    const std::function<void(HDC, const RECT&)>& paint, const std::function<POINT(int, int)>& place)
{
    const int L = szUpright.cx, D = szUpright.cy;
    const int cx = rcDest.right - rcDest.left, cy = rcDest.bottom - rcDest.top;
    if (L <= 0 || D <= 0 || cx <= 0 || cy <= 0)
        return;
    BYTE* pUpright = NULL;
    BYTE* pTurned = NULL;
    HBITMAP hUpright = Create32BitDIBSection(hDC, L, D, &pUpright);
    HBITMAP hTurned = Create32BitDIBSection(hDC, cx, cy, &pTurned);
    HDC hdcMem = ::CreateCompatibleDC(hDC);
    if (hUpright && hTurned && hdcMem && pUpright && pTurned) {
        HGDIOBJ hOld = ::SelectObject(hdcMem, hUpright);
        RECT rcUpright = {0, 0, L, D};
        CDC::FromHandle(hdcMem)->FillSolidRect(&rcUpright, clrBack);
        paint(hdcMem, rcUpright);
        ::GdiFlush();
        // Both are bottom-up: row r of a picture is at line (height - 1 - r).
        const DWORD* src = reinterpret_cast<const DWORD*>(pUpright);
        DWORD* dst = reinterpret_cast<DWORD*>(pTurned);
        for (int v = 0; v < D; ++v)
            for (int u = 0; u < L; ++u) {
                const POINT p = place(u, v);
                if (p.x >= 0 && p.x < cx && p.y >= 0 && p.y < cy)
                    dst[(size_t)(cy - 1 - p.y) * cx + p.x] = src[(size_t)(D - 1 - v) * L + u];
            }
        ::SelectObject(hdcMem, hTurned);
        if (clrKey == (COLORREF)-1)
            ::BitBlt(hDC, rcDest.left, rcDest.top, cx, cy, hdcMem, 0, 0, SRCCOPY);
        else
            GetGlobalImageManager()->TransparentBlt(hDC, rcDest.left, rcDest.top, cx, cy, hdcMem, 0, 0, cx, cy,
                                                    clrKey);
        ::SelectObject(hdcMem, hOld);
    }
    if (hdcMem)
        ::DeleteDC(hdcMem);
    if (hUpright)
        ::DeleteObject(hUpright);
    if (hTurned)
        ::DeleteObject(hTurned);
}
