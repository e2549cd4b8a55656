// The docking guides: geometry, pictures, shapes and hit tests, and the
// guide popup window.
#include <qx/dragcontext.h>
#include <qx/panemanager.h>

#include <qxresource.h>

namespace {

const DWORD kGreen = 0x0000FF00; // 0x00RRGGBB in a 32-bit DIB

// One picture of the toolkit's resources as 32-bit top-down pixels.
struct GuideBitmap {
    int cx = 0, cy = 0;
    std::vector<DWORD> px;
};

// The header of a 32-bit top-down DIB.
BITMAPINFO Dib32(int cx, int cy)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = cx;
    bi.bmiHeader.biHeight = -cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

const GuideBitmap& LoadGuideBitmap(UINT nID)
{
    static std::map<UINT, GuideBitmap> s_bitmaps;
    auto it = s_bitmaps.find(nID);
    if (it != s_bitmaps.end())
        return it->second;
    GuideBitmap& bmp = s_bitmaps[nID];
    LPCSTR name = MAKEINTRESOURCEA(nID);
    HBITMAP hBitmap = ::LoadBitmapA(AfxFindResourceHandle(name, RT_BITMAP), name);
    BITMAP info;
    if (hBitmap && ::GetObjectA(hBitmap, sizeof(info), &info)) {
        BITMAPINFO bi = Dib32(info.bmWidth, info.bmHeight);
        bmp.px.resize((size_t)info.bmWidth * info.bmHeight);
        HDC hDC = ::GetDC(NULL);
        if (::GetDIBits(hDC, hBitmap, 0, info.bmHeight, bmp.px.data(), &bi, DIB_RGB_COLORS) == info.bmHeight) {
            bmp.cx = info.bmWidth;
            bmp.cy = info.bmHeight;
            for (DWORD& p : bmp.px)
                p &= 0x00FFFFFF;
        } else {
            bmp.px.clear();
        }
        ::ReleaseDC(NULL, hDC);
    }
    if (hBitmap)
        ::DeleteObject(hBitmap);
    return bmp;
}

// A guide's picture being built: black, parts copied over it.
struct GuideImage {
    int cx, cy;
    std::vector<DWORD> px;
    GuideImage(int w, int h) : cx(w), cy(h), px((size_t)(w > 0 ? w : 0) * (h > 0 ? h : 0), 0) {}
    void Clear() { std::fill(px.begin(), px.end(), 0); }
    DWORD At(int x, int y) const { return x >= 0 && y >= 0 && x < cx && y < cy ? px[(size_t)y * cx + x] : 0; }

    // Copies a part, leaving its green pixels out.
    void Put(const DockingGuidePart& part)
    {
        const GuideBitmap& src = LoadGuideBitmap(part.nBitmap);
        for (int y = part.rcSource.top; y < part.rcSource.bottom; ++y)
            for (int x = part.rcSource.left; x < part.rcSource.right; ++x) {
                if (x < 0 || y < 0 || x >= src.cx || y >= src.cy)
                    continue;
                DWORD c = src.px[(size_t)y * src.cx + x];
                int dx = part.ptOffset.x + x - part.rcSource.left, dy = part.ptOffset.y + y - part.rcSource.top;
                if (c != kGreen && dx >= 0 && dy >= 0 && dx < cx && dy < cy)
                    px[(size_t)dy * cx + dx] = c;
            }
    }
};

struct PartRow {
    int nFlag;
    POINT ptCross;
    RECT rcNormal, rcHot;
    RECT rcOuter, rcOuterHot; // style 1 only
};

// Style 0: the parts bitmap of the scheme; the backdrop is its own bitmap.
const PartRow kStyle0[] = {
    {guideTop, {25, 0}, {0, 0, 43, 30}, {0, 76, 43, 106}, {}, {}},
    {guideLeft, {0, 25}, {30, 33, 60, 76}, {90, 33, 120, 76}, {}, {}},
    {guideBottom, {25, 63}, {43, 0, 86, 30}, {43, 76, 86, 106}, {}, {}},
    {guideRight, {63, 25}, {0, 33, 30, 76}, {60, 33, 90, 76}, {}, {}},
    {guideCentre, {30, 30}, {86, 0, 119, 33}, {86, 76, 119, 109}, {}, {}},
};

// Style 1: one bitmap for everything; the edge guides have their own parts.
const PartRow kStyle1[] = {
    {guideTop, {30, 0}, {61, 29, 90, 59}, {61, 90, 90, 120}, {0, 29, 29, 61}, {0, 90, 29, 122}},
    {guideLeft, {0, 30}, {90, 30, 120, 59}, {90, 91, 120, 120}, {29, 32, 61, 61}, {29, 93, 61, 122}},
    {guideBottom, {30, 59}, {91, 0, 120, 30}, {91, 61, 120, 91}, {32, 0, 61, 32}, {32, 61, 61, 93}},
    {guideRight, {60, 30}, {62, 0, 92, 29}, {62, 61, 92, 90}, {0, 0, 32, 29}, {0, 61, 32, 90}},
    {guideCentre, {30, 30}, {120, 82, 148, 111}, {120, 82, 148, 111}, {}, {}},
};

const PartRow* FindRow(int nStyle, int nFlag)
{
    const PartRow* rows = nStyle == 1 ? kStyle1 : kStyle0;
    for (int i = 0; i < 5; ++i)
        if (rows[i].nFlag == nFlag)
            return &rows[i];
    return NULL;
}

UINT PartsBitmap(int nStyle, int nScheme)
{
    if (nStyle == 1)
        return QX_IDB_DOCKING_GUIDE_VS;
    return nScheme == 2 ? QX_IDB_DOCKING_GUIDE_OLIVE : nScheme == 3 ? QX_IDB_DOCKING_GUIDE_SILVER
                                                                    : QX_IDB_DOCKING_GUIDE;
}

// The order the parts are drawn and hit-tested in.
const int kPartOrder[4] = {guideTop, guideLeft, guideBottom, guideRight};

void Render(GuideImage& img, int nFlags, int nHot, int nStyle, int nScheme)
{
    BOOL bCross = (nFlags & guideCross) != 0;
    DockingGuidePart part;
    if (bCross && DockingGuides::GetBackground(nStyle, nHot == guideCentre, &part))
        img.Put(part);
    for (int nFlag : kPartOrder)
        if ((nFlags & nFlag) && DockingGuides::GetPart(nStyle, bCross, nFlag, nHot == nFlag, nScheme, &part))
            img.Put(part);
    if ((nFlags & guideCentre) && DockingGuides::GetPart(nStyle, TRUE, guideCentre, nHot == guideCentre, nScheme, &part))
        img.Put(part);
}

} // namespace

// ---------------------------------------------------------------------------
int DockingGuides::CrossSize(int nStyle) { return nStyle == 1 ? 89 : 93; }

RECT DockingGuides::CrossRect(const RECT& rcHost, int nStyle)
{
    int n = CrossSize(nStyle);
    int cx = (rcHost.left + rcHost.right) / 2, cy = (rcHost.top + rcHost.bottom) / 2;
    RECT rc = {cx - n / 2, cy - n / 2, cx - n / 2 + n, cy - n / 2 + n};
    return rc;
}

RECT DockingGuides::OuterRect(const RECT& rcTop, int nFlag, int nStyle)
{
    int s = nStyle == 1 ? 1 : 0;
    int cx = (rcTop.left + rcTop.right) / 2, cy = (rcTop.top + rcTop.bottom) / 2;
    int across = s ? 29 : 43;
    int x = cx + 7 * s - 21, y = cy + 7 * s - 21;
    RECT rc = {0, 0, 0, 0};
    switch (nFlag) {
    case guideTop: rc = RECT{x, rcTop.top + 16, x + across, rcTop.top + (s ? 48 : 46)}; break;
    case guideLeft: rc = RECT{rcTop.left + 16, y, rcTop.left + (s ? 48 : 46), y + across}; break;
    case guideBottom: rc = RECT{x, rcTop.bottom - 2 * s - 46, x + across, rcTop.bottom - 16}; break;
    case guideRight: rc = RECT{rcTop.right - 2 * s - 46, y, rcTop.right - 16, y + across}; break;
    }
    return rc;
}

BOOL DockingGuides::GetPart(int nStyle, BOOL bCross, int nFlag, BOOL bHot, int nScheme, DockingGuidePart* pPart)
{
    const PartRow* row = FindRow(nStyle, nFlag);
    if (!row || !pPart)
        return FALSE;
    pPart->nBitmap = PartsBitmap(nStyle, nScheme);
    BOOL bOwnOuter = nStyle == 1 && !bCross && nFlag != guideCentre;
    pPart->rcSource = bOwnOuter ? (bHot ? row->rcOuterHot : row->rcOuter) : (bHot ? row->rcHot : row->rcNormal);
    // The centre button sits at its offset in both kinds; the arms of an
    // edge guide at its corner.
    pPart->ptOffset = (bCross || nFlag == guideCentre) ? row->ptCross : POINT{0, 0};
    return TRUE;
}

BOOL DockingGuides::GetBackground(int nStyle, BOOL bHot, DockingGuidePart* pPart)
{
    if (!pPart)
        return FALSE;
    if (nStyle == 1) {
        pPart->nBitmap = QX_IDB_DOCKING_GUIDE_VS;
        pPart->ptOffset = POINT{24, 24};
        pPart->rcSource = bHot ? RECT{120, 41, 161, 82} : RECT{120, 0, 161, 41};
    } else {
        pPart->nBitmap = QX_IDB_DOCKING_GUIDE_BACK;
        pPart->ptOffset = POINT{25, 25};
        pPart->rcSource = RECT{0, 0, 43, 43};
    }
    return TRUE;
}

SIZE DockingGuides::GuideSize(int nFlags, int nStyle)
{
    if (nFlags & guideCross)
        return SIZE{CrossSize(nStyle), CrossSize(nStyle)};
    RECT rcTop = {0, 0, 1000, 1000};
    for (int nFlag : kPartOrder)
        if (nFlags & nFlag) {
            RECT rc = OuterRect(rcTop, nFlag, nStyle);
            return SIZE{rc.right - rc.left, rc.bottom - rc.top};
        }
    return SIZE{0, 0};
}

void DockingGuides::Draw(HDC hDC, int nFlags, int nHot, int nStyle, int nScheme)
{
    SIZE sz = GuideSize(nFlags, nStyle);
    if (sz.cx <= 0 || sz.cy <= 0)
        return;
    GuideImage img(sz.cx, sz.cy);
    Render(img, nFlags, nHot, nStyle, nScheme);
    BITMAPINFO bi = Dib32(sz.cx, sz.cy);
    ::SetDIBitsToDevice(hDC, 0, 0, sz.cx, sz.cy, 0, 0, 0, sz.cy, img.px.data(), &bi, DIB_RGB_COLORS);
}

int DockingGuides::HitTest(int nFlags, int nStyle, POINT pt)
{
    SIZE sz = GuideSize(nFlags, nStyle);
    if (pt.x < 0 || pt.y < 0 || pt.x >= sz.cx || pt.y >= sz.cy)
        return 0;
    BOOL bCross = (nFlags & guideCross) != 0;
    GuideImage img(sz.cx, sz.cy);
    DockingGuidePart part;
    for (int nFlag : kPartOrder) {
        if (!(nFlags & nFlag) || !GetPart(nStyle, TRUE, nFlag, FALSE, 0, &part))
            continue;
        if (!bCross)
            part.ptOffset = POINT{0, 0};
        img.Clear();
        img.Put(part);
        if (img.At(pt.x, pt.y) != 0)
            return nFlag;
    }
    if ((nFlags & guideCentre) && GetBackground(nStyle, FALSE, &part)) {
        img.Clear();
        img.Put(part);
        if (img.At(pt.x, pt.y) != 0)
            return guideCentre;
    }
    return 0;
}

HRGN DockingGuides::BuildRegion(int nFlags, int nStyle, int nScheme)
{
    SIZE sz = GuideSize(nFlags, nStyle);
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    if (sz.cx <= 0 || sz.cy <= 0)
        return hRgn;
    GuideImage img(sz.cx, sz.cy);
    Render(img, nFlags, 0, nStyle, nScheme);
    std::vector<RECT> runs;
    for (int y = 0; y < sz.cy; ++y)
        for (int x = 0; x < sz.cx;) {
            if (img.At(x, y) == 0) {
                ++x;
                continue;
            }
            int x0 = x;
            while (x < sz.cx && img.At(x, y) != 0)
                ++x;
            runs.push_back(RECT{x0, y, x, y + 1});
        }
    if (runs.empty())
        return hRgn;
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    RGNDATA* pData = reinterpret_cast<RGNDATA*>(data.data());
    pData->rdh.dwSize = sizeof(RGNDATAHEADER);
    pData->rdh.iType = RDH_RECTANGLES;
    pData->rdh.nCount = (DWORD)runs.size();
    pData->rdh.nRgnSize = (DWORD)(runs.size() * sizeof(RECT));
    pData->rdh.rcBound = RECT{0, 0, sz.cx, sz.cy};
    memcpy(pData->Buffer, runs.data(), runs.size() * sizeof(RECT));
    HRGN hShape = ::ExtCreateRegion(NULL, (DWORD)data.size(), pData);
    if (hShape) {
        ::DeleteObject(hRgn);
        hRgn = hShape;
    }
    return hRgn;
}

// ---------------------------------------------------------------------------
HRGN DockingGuideRegionCache::Lookup(int nFlags, int nStyle, int nScheme)
{
    auto it = m_regions.find(nFlags);
    if (it != m_regions.end())
        return it->second;
    ++m_nBuilt;
    HRGN hRgn = DockingGuides::BuildRegion(nFlags, nStyle, nScheme);
    m_regions[nFlags] = hRgn;
    return hRgn;
}

void DockingGuideRegionCache::Clear()
{
    for (auto& r : m_regions)
        if (r.second)
            ::DeleteObject(r.second);
    m_regions.clear();
}

// ---------------------------------------------------------------------------
BEGIN_MESSAGE_MAP(CDockingGuideWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CDockingGuideWnd::CDockingGuideWnd(CDockingDragContext* pContext, int nFlags)
    : m_pContext(pContext), m_nFlags(nFlags), m_nHot(0)
{
}

BOOL CDockingGuideWnd::Create(const RECT& rcScreen)
{
    if (m_nFlags == 0 || m_nFlags == guideCross)
        return FALSE;
    static LPCSTR s_class = NULL;
    if (!s_class)
        s_class = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW));
    HWND hOwner = m_pContext && m_pContext->m_pManager ? m_pContext->m_pManager->GetSite() : NULL;
    // Topmost like the drag's preview, which they must stay above.
    if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, s_class, "", WS_POPUP, rcScreen.left, rcScreen.top,
                  rcScreen.right - rcScreen.left, rcScreen.bottom - rcScreen.top, hOwner, NULL))
        return FALSE;
    HRGN hCached = m_pContext ? m_pContext->m_regions.Lookup(m_nFlags, m_pContext->GetGuideStyle(),
                                                             m_pContext->GetGuideScheme())
                              : NULL;
    if (hCached) {
        HRGN hCopy = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(hCopy, hCached, NULL, RGN_COPY);
        ::SetWindowRgn(m_hWnd, hCopy, FALSE);
    }
    ::SetWindowPos(m_hWnd, NULL, rcScreen.left, rcScreen.top, rcScreen.right - rcScreen.left,
                   rcScreen.bottom - rcScreen.top, SWP_NOACTIVATE | SWP_NOZORDER | SWP_SHOWWINDOW);
    return TRUE;
}

BOOL CDockingGuideWnd::SetHot(int nHot)
{
    if (nHot == m_nHot)
        return FALSE;
    m_nHot = nHot;
    if (m_hWnd) {
        ::InvalidateRect(m_hWnd, NULL, FALSE);
        ::UpdateWindow(m_hWnd);
    }
    return TRUE;
}

int CDockingGuideWnd::HitTest(POINT ptScreen) const
{
    if (!m_hWnd)
        return 0;
    POINT pt = ptScreen;
    ::ScreenToClient(m_hWnd, &pt);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (!::PtInRect(&rc, pt))
        return 0;
    return DockingGuides::HitTest(m_nFlags, m_pContext ? m_pContext->GetGuideStyle() : 0, pt);
}

void CDockingGuideWnd::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(m_hWnd, &ps);
    DockingGuides::Draw(hDC, m_nFlags, m_nHot, m_pContext ? m_pContext->GetGuideStyle() : 0,
                        m_pContext ? m_pContext->GetGuideScheme() : 0);
    ::EndPaint(m_hWnd, &ps);
}
