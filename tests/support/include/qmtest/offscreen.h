// A command bar drawn off the screen as it would paint itself now, into a
// bitmap of its client size: a test reads its pixels there, where no other
// window in front of it can spoil them.
#pragma once

#include <qx/commandbar.h>

#include <functional>

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

} // namespace qmtest
