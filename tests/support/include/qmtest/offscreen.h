// A command bar drawn off the screen as it would paint itself now, into a
// bitmap of its client size: a test reads its pixels there, where no other
// window in front of it can spoil them.
#pragma once

#include <qx/commandbar.h>

#include <functional>
#include <vector>

namespace qmtest {

// A memory DC holding a bitmap of the window's client size: fill paints it
// (from the window's own DC, or otherwise), then read reads it, both in the
// window's client coordinates.
inline void WithClientBitmap(CWnd* pWnd, const std::function<void(CDC& dcWnd, CDC& dc, const CRect& rcClient)>& fill,
                             const std::function<void(CDC& dc)>& read)
{
    CRect rcClient;
    pWnd->GetClientRect(&rcClient);
    CClientDC dcWnd(pWnd);
    CDC dc;
    dc.CreateCompatibleDC(&dcWnd);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&dcWnd, rcClient.Width(), rcClient.Height());
    CBitmap* pOld = dc.SelectObject(&bmp);
    fill(dcWnd, dc, rcClient);
    read(dc);
    dc.SelectObject(pOld);
}

// read gets the memory DC (the bar's client coordinates) while the picture
// is selected into it.
inline void DrawBarOffscreen(CQXPCommandBar* pBar, const std::function<void(CDC& dc)>& read)
{
    WithClientBitmap(
        pBar, [&](CDC&, CDC& dc, const CRect& rcClient) { pBar->DrawCommandBar(&dc, rcClient); }, read);
}

// The pixels of a rectangle of a DC, row by row.
inline std::vector<COLORREF> PixelsOf(CDC& dc, const CRect& rc)
{
    std::vector<COLORREF> pixels;
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++)
            pixels.push_back(dc.GetPixel(x, y));
    return pixels;
}

// The pixels of a client rectangle of the bar: as the bar would paint
// itself now (DrawBarOffscreen) ...
inline std::vector<COLORREF> BarPictureOf(CQXPCommandBar* pBar, const CRect& rc)
{
    std::vector<COLORREF> pixels;
    DrawBarOffscreen(pBar, [&](CDC& dc) { pixels = PixelsOf(dc, rc); });
    return pixels;
}

// ... and as its window shows them on the screen now.
inline std::vector<COLORREF> ScreenPictureOf(CWnd* pWnd, const CRect& rc)
{
    std::vector<COLORREF> pixels;
    WithClientBitmap(
        pWnd,
        [](CDC& dcWnd, CDC& dc, const CRect& rcClient) {
            dc.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcWnd, 0, 0, SRCCOPY);
        },
        [&](CDC& dc) { pixels = PixelsOf(dc, rc); });
    return pixels;
}

} // namespace qmtest
