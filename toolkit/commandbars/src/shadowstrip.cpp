// The picture of popup shadow strips.

#include <qx/shadowstrip.h>

#include <algorithm>

namespace {

const int kRampAlpha[QXP_SHADOW_THICKNESS] = {60, 45, 30, 15};
const int kRampScale[QXP_SHADOW_THICKNESS] = {100, 75, 50, 25}; // percent

// One premultiplied pixel: alpha a, each channel of the colour times
// nScale / 100 and never above a.
DWORD MakePixel(int a, COLORREF cr, int nScale)
{
    a = std::min(255, std::max(0, a));
    auto channel = [&](int c) { return (DWORD)std::min(a, c * nScale / 100); };
    return ((DWORD)a << 24) | (channel(GetRValue(cr)) << 16) | (channel(GetGValue(cr)) << 8) | channel(GetBValue(cr));
}

} // namespace

CRect AFXAPI QxpShadowStripRect(const CRect& rcOwner, BOOL bBottom, int nThickness)
{
    if (rcOwner.IsRectEmpty())
        return CRect(0, 0, 0, 0);
    const int t = nThickness;
    if (bBottom)
        return CRect(rcOwner.left + t, rcOwner.bottom, rcOwner.right + t, rcOwner.bottom + t);
    return CRect(rcOwner.right, rcOwner.top + t, rcOwner.right + t, rcOwner.bottom);
}

DWORD AFXAPI QxpShadowPixel(int x, int y, int cx, int cy, BOOL bBottom, COLORREF crShadow, BOOL bLight)
{
    const int s = bLight ? 1 : 2;
    const int n = QXP_SHADOW_THICKNESS;
    // Across: 0 next to the owner. Along: the distance from the strip's end
    // (both ends for the bottom strip, the top end for the right strip).
    int nAcross = bBottom ? y : x;
    int nThick = bBottom ? cy : cx;
    int nAlong = bBottom ? std::min(x, cx - 1 - x) : y;
    if (nAcross < 0 || nAcross >= n || nAcross >= nThick)
        return 0;
    if (nAlong < n) {
        int i = nAlong + 1;  // 1 at the strip's end
        int j = n - nAcross; // 1 at the outer edge
        return MakePixel(3 * i * j * s, crShadow, 5 * i * j);
    }
    return MakePixel(kRampAlpha[nAcross] * s, crShadow, kRampScale[nAcross]);
}

void AFXAPI QxpFillShadowBits(DWORD* pBits, int cx, int cy, BOOL bBottom, COLORREF crShadow, BOOL bLight,
                              BOOL bBottomUp)
{
    if (!pBits || cx <= 0 || cy <= 0)
        return;
    for (int y = 0; y < cy; y++) {
        DWORD* pRow = pBits + (size_t)(bBottomUp ? cy - 1 - y : y) * cx;
        for (int x = 0; x < cx; x++)
            pRow[x] = QxpShadowPixel(x, y, cx, cy, bBottom, crShadow, bLight);
    }
}
