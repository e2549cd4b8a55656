// A command bar drawn off the screen as it would paint itself now, into a
// bitmap of its client size: a test reads its pixels there, where no other
// window in front of it can spoil them.
#pragma once

#include <qx/commandbar.h>

#include <functional>
#include <vector>

namespace qmtest {

// read gets the memory DC (the bar's client coordinates) while the picture
// is selected into it.
inline void DrawBarOffscreen(CQXPCommandBar* pBar, const std::function<void(CDC& dc)>& read)
{
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    CClientDC dcBar(pBar);
    CDC dc;
    dc.CreateCompatibleDC(&dcBar);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&dcBar, rcClient.Width(), rcClient.Height());
    CBitmap* pOld = dc.SelectObject(&bmp);
    pBar->DrawCommandBar(&dc, rcClient);
    read(dc);
    dc.SelectObject(pOld);
}

// The pixels of a client rectangle of the bar, row by row: as the bar
// would paint itself now (DrawBarOffscreen) ...
inline std::vector<COLORREF> BarPictureOf(CQXPCommandBar* pBar, const CRect& rc)
{
    std::vector<COLORREF> pixels;
    DrawBarOffscreen(pBar, [&](CDC& dc) {
        for (int y = rc.top; y < rc.bottom; y++)
            for (int x = rc.left; x < rc.right; x++)
                pixels.push_back(dc.GetPixel(x, y));
    });
    return pixels;
}

// ... and as its window shows them on the screen now.
inline std::vector<COLORREF> ScreenPictureOf(CWnd* pWnd, const CRect& rc)
{
    CClientDC dcWnd(pWnd);
    CDC dc;
    dc.CreateCompatibleDC(&dcWnd);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&dcWnd, rc.Width(), rc.Height());
    CBitmap* pOld = dc.SelectObject(&bmp);
    dc.BitBlt(0, 0, rc.Width(), rc.Height(), &dcWnd, rc.left, rc.top, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < rc.Height(); y++)
        for (int x = 0; x < rc.Width(); x++)
            pixels.push_back(dc.GetPixel(x, y));
    dc.SelectObject(pOld);
    return pixels;
}

} // namespace qmtest
