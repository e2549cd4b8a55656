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

} // namespace qmtest
