// Pictures for tests that hand the toolkit an icon of their own.
#pragma once

#include <windows.h>

#include <vector>

namespace qmtest {

// A square icon of one colour, every pixel opaque (the caller destroys it).
inline HICON SolidIcon(COLORREF clr, int cx = 16)
{
    HDC hdc = ::GetDC(NULL);
    HBITMAP hColor = ::CreateCompatibleBitmap(hdc, cx, cx);
    HDC hMem = ::CreateCompatibleDC(hdc);
    HGDIOBJ hOld = ::SelectObject(hMem, hColor);
    RECT rc = {0, 0, cx, cx};
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    ::FillRect(hMem, &rc, hBrush);
    ::DeleteObject(hBrush);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::ReleaseDC(NULL, hdc);
    std::vector<BYTE> mask((size_t)((cx + 15) / 16 * 2 * cx), 0); // all opaque
    HBITMAP hMask = ::CreateBitmap(cx, cx, 1, 1, mask.data());
    ICONINFO ii = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&ii);
    ::DeleteObject(hMask);
    ::DeleteObject(hColor);
    return hIcon;
}

// The colour an icon shows at its centre, drawn at 16 by 16 on white (white
// for no icon).
inline COLORREF IconCentreColour(HICON hIcon)
{
    HDC hdc = ::GetDC(NULL);
    HDC hMem = ::CreateCompatibleDC(hdc);
    HBITMAP hbm = ::CreateCompatibleBitmap(hdc, 16, 16);
    ::ReleaseDC(NULL, hdc);
    HGDIOBJ hOld = ::SelectObject(hMem, hbm);
    ::PatBlt(hMem, 0, 0, 16, 16, WHITENESS);
    if (hIcon)
        ::DrawIconEx(hMem, 0, 0, hIcon, 16, 16, 0, NULL, DI_NORMAL);
    const COLORREF clr = ::GetPixel(hMem, 8, 8);
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hbm);
    ::DeleteDC(hMem);
    return clr;
}

} // namespace qmtest
