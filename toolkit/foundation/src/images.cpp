// The image manager: icon handles, images, icon sets, the store and lookup,
// generated images and drawing.
#include <qx/images.h>
#include <qx/drawing.h>
#include <qx/sysutil.h>

#include "bitmaps.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

using namespace qx::detail;

namespace {

BOOL g_bUseSystemBlending = TRUE;

// A new icon whose opaque pixels (mask 0) went through the function; NULL
// when the icon cannot be read.
HICON TransformIcon(HICON hIcon, const std::function<void(BYTE* bgra)>& fn)
{
    ICONINFO ii;
    if (!hIcon || !::GetIconInfo(hIcon, &ii))
        return NULL;
    HICON hNew = NULL;
    if (ii.hbmColor) {
        std::vector<DWORD> color, mask;
        int cx = 0, cy = 0, mx = 0, my = 0;
        if (ReadPixels(ii.hbmColor, color, cx, cy) && ReadPixels(ii.hbmMask, mask, mx, my) && mx == cx && my >= cy) {
            for (size_t i = 0; i < color.size(); ++i) {
                if ((mask[i] & 0x00FFFFFF) == 0)
                    fn(reinterpret_cast<BYTE*>(&color[i]));
            }
            HBITMAP hColor = MakeBitmap(color, cx, cy);
            if (hColor) {
                ICONINFO ni = ii;
                ni.hbmColor = hColor;
                hNew = ::CreateIconIndirect(&ni);
                ::DeleteObject(hColor);
            }
        }
    } else {
        hNew = ::CopyIcon(hIcon);
    }
    if (ii.hbmColor)
        ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask)
        ::DeleteObject(ii.hbmMask);
    return hNew;
}

// A new alpha bitmap whose every pixel went through the function.
HBITMAP TransformBitmap(HBITMAP hBitmap, const std::function<void(BYTE* bgra)>& fn)
{
    std::vector<DWORD> px;
    int cx = 0, cy = 0;
    if (!ReadPixels(hBitmap, px, cx, cy))
        return NULL;
    for (DWORD& p : px)
        fn(reinterpret_cast<BYTE*>(&p));
    return MakeBitmap(px, cx, cy);
}

// Applies a pixel rule to a handle: into an owning result handle.
void Transform(const CQXPIconHandle& src, CQXPIconHandle& dst, const std::function<void(BYTE* bgra)>& fn)
{
    dst.Clear();
    if (src.GetBitmap())
        dst.SetBitmap(TransformBitmap(src.GetBitmap(), fn));
    else if (src.GetIcon())
        dst.SetIcon(TransformIcon(src.GetIcon(), fn));
}

int ScreenBitsPerPixel()
{
    HDC hdc = ::GetDC(NULL);
    int n = ::GetDeviceCaps(hdc, BITSPIXEL);
    ::ReleaseDC(NULL, hdc);
    return n;
}

} // namespace

// ---------------------------------------------------------------------------
// Icon handle

CQXPIconHandle::CQXPIconHandle() : m_hIcon(NULL), m_hBitmap(NULL), m_hCached(NULL), m_bOwns(TRUE) {}

CQXPIconHandle::CQXPIconHandle(HICON hIcon) : m_hIcon(hIcon), m_hBitmap(NULL), m_hCached(NULL), m_bOwns(FALSE) {}

CQXPIconHandle::CQXPIconHandle(const CQXPIconHandle& other)
    : m_hIcon(other.m_hIcon), m_hBitmap(other.m_hBitmap), m_hCached(NULL), m_bOwns(FALSE)
{
}

CQXPIconHandle& CQXPIconHandle::operator=(const CQXPIconHandle& other)
{
    if (this != &other) {
        Clear();
        m_hIcon = other.m_hIcon;
        m_hBitmap = other.m_hBitmap;
        m_bOwns = FALSE;
    }
    return *this;
}

CQXPIconHandle::~CQXPIconHandle() { Clear(); }

void CQXPIconHandle::Clear()
{
    if (m_bOwns) {
        if (m_hIcon)
            ::DestroyIcon(m_hIcon);
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
    }
    if (m_hCached)
        ::DeleteObject(m_hCached);
    m_hIcon = NULL;
    m_hBitmap = NULL;
    m_hCached = NULL;
    m_bOwns = TRUE;
}

void CQXPIconHandle::SetIcon(HICON hIcon)
{
    Clear();
    m_hIcon = hIcon;
    m_bOwns = TRUE;
}

void CQXPIconHandle::SetBitmap(HBITMAP hBitmap)
{
    Clear();
    m_hBitmap = hBitmap;
    m_bOwns = TRUE;
}

BOOL CQXPIconHandle::CopyHandle(HBITMAP hBitmap)
{
    HBITMAP hCopy = ::CopyAlphaBitmap(hBitmap);
    SetBitmap(hCopy);
    return hCopy != NULL;
}

BOOL CQXPIconHandle::CopyFrom(const CQXPIconHandle& other)
{
    if (&other == this)
        return TRUE;
    if (other.m_hBitmap)
        return CopyHandle(other.m_hBitmap);
    if (other.m_hIcon) {
        HICON h = ::CopyIcon(other.m_hIcon);
        SetIcon(h);
        return h != NULL;
    }
    Clear();
    return TRUE;
}

HBITMAP CQXPIconHandle::GetPremultipliedBitmap() const
{
    if (!m_hCached) {
        if (m_hBitmap) {
            m_hCached = PremultiplyAlphaBitmap(m_hBitmap, NULL);
        } else if (m_hIcon) {
            ICONINFO ii;
            if (::GetIconInfo(m_hIcon, &ii)) {
                if (ii.hbmColor)
                    m_hCached = PremultiplyAlphaBitmap(ii.hbmColor, NULL);
                if (ii.hbmColor)
                    ::DeleteObject(ii.hbmColor);
                if (ii.hbmMask)
                    ::DeleteObject(ii.hbmMask);
            }
        }
    }
    return m_hCached;
}

HBITMAP CQXPIconHandle::CopyAlphaBitmap() const { return m_hBitmap ? ::CopyAlphaBitmap(m_hBitmap) : NULL; }

SIZE CQXPIconHandle::GetExtent() const
{
    SIZE sz = {0, 0};
    if (m_hIcon)
        return GetIconExtent(m_hIcon);
    BITMAP bm;
    if (m_hBitmap && ::GetObjectA(m_hBitmap, sizeof(bm), &bm)) {
        sz.cx = bm.bmWidth;
        sz.cy = bm.bmHeight;
    }
    return sz;
}

BOOL CQXPIconHandle::LoadFromResource(HMODULE hModule, LPCSTR lpszName, int cx, int cy)
{
    HRSRC hGroup = ::FindResourceA(hModule, lpszName, RT_GROUP_ICON);
    HGLOBAL hg = hGroup ? ::LoadResource(hModule, hGroup) : NULL;
    const BYTE* p = hg ? static_cast<const BYTE*>(::LockResource(hg)) : NULL;
    size_t n = hGroup ? ::SizeofResource(hModule, hGroup) : 0;
    if (!p || n < 6)
        return FALSE;
    size_t count = (size_t)(p[4] | (p[5] << 8));
    const size_t kEntry = 14;
    if (6 + count * kEntry > n)
        return FALSE;
    for (size_t i = count; i-- > 0;) {
        const BYTE* e = p + 6 + i * kEntry;
        int w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
        if (w != cx || h != cy)
            continue;
        WORD id = (WORD)(e[12] | (e[13] << 8));
        HRSRC hIconRes = ::FindResourceA(hModule, MAKEINTRESOURCEA(id), RT_ICON);
        HGLOBAL hi = hIconRes ? ::LoadResource(hModule, hIconRes) : NULL;
        const BYTE* q = hi ? static_cast<const BYTE*>(::LockResource(hi)) : NULL;
        size_t m = hIconRes ? ::SizeofResource(hModule, hIconRes) : 0;
        if (!q || m < sizeof(BITMAPINFOHEADER))
            return FALSE;
        BITMAPINFOHEADER bih;
        memcpy(&bih, q, sizeof(bih));
        if (bih.biSize == sizeof(BITMAPINFOHEADER) && bih.biBitCount == 32) {
            HBITMAP hbm = AlphaBitmapFromDib(q, m, 2);
            if (!hbm)
                return FALSE;
            SetBitmap(hbm);
            return TRUE;
        }
        HICON hIcon = ::CreateIconFromResourceEx(const_cast<BYTE*>(q), (DWORD)m, TRUE, 0x00030000, cx, cy,
                                                 LR_DEFAULTCOLOR);
        if (!hIcon)
            return FALSE;
        SetIcon(hIcon);
        return TRUE;
    }
    return FALSE;
}

BOOL CQXPIconHandle::LoadFromResource(UINT nID, int cx, int cy)
{
    LPCSTR name = MAKEINTRESOURCEA(nID);
    return LoadFromResource(AfxFindResourceHandle(name, RT_GROUP_ICON), name, cx, cy ? cy : cx);
}

// ---------------------------------------------------------------------------
// Shared strip list

CQXPSharedImageList::~CQXPSharedImageList()
{
    if (m_hImageList)
        ::ImageList_Destroy(m_hImageList);
}

void CQXPSharedImageList::Release()
{
    if (--m_nRefs == 0)
        delete this;
}

// ---------------------------------------------------------------------------
// Icon image

CQXPIconImage::CQXPIconImage(UINT nID, int nWidth, int nHeight)
    : m_nID(nID),
      m_nWidth(nWidth),
      m_nHeight(nHeight),
      m_bDerived(FALSE),
      m_bDrawComposited(FALSE),
      m_pIconSet(NULL),
      m_pImageManager(NULL),
      m_hImageList(NULL),
      m_nImageListIndex(-1),
      m_pending(),
      m_nPending(0),
      m_hMonoIcon(NULL),
      m_hMonoBitmap(NULL),
      m_cxMono(0),
      m_cyMono(0)
{
}

CQXPIconImage::~CQXPIconImage()
{
    for (int nState = 0; nState < 5; ++nState)
        DropPendingIcon(nState);
}

SIZE CQXPIconImage::GetExtent() const
{
    SIZE sz = {m_nWidth, m_nHeight};
    return sz;
}

const CQXPIconHandle& CQXPIconImage::GetHotIcon() const
{
    MakePendingIcon();
    return !m_hHot.IsEmpty() ? m_hHot : m_hNormal;
}

const CQXPIconHandle& CQXPIconImage::GetCheckedIcon() const
{
    MakePendingIcon();
    if (!m_hChecked.IsEmpty())
        return m_hChecked;
    return GetHotIcon();
}

const CQXPIconHandle& CQXPIconImage::GetPressedIcon() const
{
    MakePendingIcon();
    if (!m_hPressed.IsEmpty())
        return m_hPressed;
    return GetHotIcon();
}

const CQXPIconHandle& CQXPIconImage::GetDisabledIcon(BOOL bGenerate)
{
    MakePendingIcon();
    if (!m_hDisabled.IsEmpty() || !bGenerate)
        return m_hDisabled.IsEmpty() && !m_hDisabledGen.IsEmpty() ? m_hDisabledGen : m_hDisabled;
    return GetDisabledIcon((COLORREF)-1, (COLORREF)-1);
}

const CQXPIconHandle& CQXPIconImage::GetDisabledIcon(COLORREF clrLight, COLORREF clrDark)
{
    MakePendingIcon();
    if (!m_hDisabled.IsEmpty())
        return m_hDisabled;
    if (m_hDisabledGen.IsEmpty() && !m_hNormal.IsEmpty()) {
        const bool bTwoTone = clrLight != (COLORREF)-1 && clrDark != (COLORREF)-1;
        const double kBrightness = 0.5, kAlphaDivisor = 1.0;
        Transform(m_hNormal, m_hDisabledGen, [&](BYTE* p) {
            // Luminance from integer weights: white is exactly 1.
            double L = (299.0 * p[2] + 587.0 * p[1] + 114.0 * p[0]) / 255000.0;
            if (bTwoTone) {
                p[2] = (BYTE)((1 - L) * GetRValue(clrDark) + L * GetRValue(clrLight));
                p[1] = (BYTE)((1 - L) * GetGValue(clrDark) + L * GetGValue(clrLight));
                p[0] = (BYTE)((1 - L) * GetBValue(clrDark) + L * GetBValue(clrLight));
            } else {
                BYTE grey = (BYTE)(255.0 * std::pow(L, kBrightness));
                p[0] = p[1] = p[2] = grey;
                p[3] = (BYTE)(p[3] / kAlphaDivisor);
            }
        });
    }
    return m_hDisabledGen;
}

const CQXPIconHandle& CQXPIconImage::GetIcon(int nState)
{
    MakePendingIcon();
    switch (nState) {
    case qxImageDisabled: return GetDisabledIcon(TRUE);
    case qxImageHot: return GetHotIcon();
    case qxImageChecked: return GetCheckedIcon();
    case qxImagePressed: return GetPressedIcon();
    default: return m_hNormal;
    }
}

const CQXPIconHandle& CQXPIconImage::GetFadedIcon()
{
    MakePendingIcon();
    if (m_hFaded.IsEmpty() && !m_hNormal.IsEmpty()) {
        auto fade = [](BYTE* p) {
            for (int i = 0; i < 3; ++i)
                p[i] = (BYTE)(p[i] * 0.7 + 76.5);
        };
        if (m_hNormal.GetIcon() && ScreenBitsPerPixel() <= 8)
            m_hFaded.SetIcon(::CopyIcon(m_hNormal.GetIcon()));
        else
            Transform(m_hNormal, m_hFaded, fade);
    }
    return m_hFaded;
}

const CQXPIconHandle& CQXPIconImage::GetShadowIcon()
{
    MakePendingIcon();
    if (m_hShadow.IsEmpty()) {
        const CQXPIconHandle& src = !m_hHot.IsEmpty() ? m_hHot : m_hNormal;
        if (!src.IsEmpty()) {
            COLORREF c = ToolkitColorManager::Instance()->GetColor(qxColorHotFace);
            BYTE r = (BYTE)(GetRValue(c) * 0.75), g = (BYTE)(GetGValue(c) * 0.75), b = (BYTE)(GetBValue(c) * 0.75);
            Transform(src, m_hShadow, [&](BYTE* p) {
                p[0] = b;
                p[1] = g;
                p[2] = r;
            });
        }
    }
    return m_hShadow;
}

void CQXPIconImage::RefreshGenerated()
{
    m_hFaded.Clear();
    m_hShadow.Clear();
    m_hDisabledGen.Clear();
    m_hMonoIcon = NULL;
    m_hMonoBitmap = NULL;
    m_monoShape.clear();
}

namespace {

// The handle that holds an image's picture for a state.
CQXPIconHandle& StateHandle(CQXPIconImage& image, int nState)
{
    switch (nState) {
    case qxImageDisabled: return image.m_hDisabled;
    case qxImageHot: return image.m_hHot;
    case qxImageChecked: return image.m_hChecked;
    case qxImagePressed: return image.m_hPressed;
    default: return image.m_hNormal;
    }
}

// The size of a newly set normal picture: szKnown, else measured.
void TakeNormalSize(CQXPIconImage& image, SIZE szKnown)
{
    SIZE sz = szKnown.cx > 0 && szKnown.cy > 0 ? szKnown : image.m_hNormal.GetExtent();
    if (sz.cx > 0 && sz.cy > 0) {
        image.m_nWidth = sz.cx;
        image.m_nHeight = sz.cy;
    }
}

} // namespace

void CQXPIconImage::DropPendingIcon(int nState)
{
    // Any other state stands for the normal picture, as in StateHandle.
    if (nState < qxImageNormal || nState > qxImagePressed)
        nState = qxImageNormal;
    PendingIcon& p = m_pending[nState];
    if (!p.pList)
        return;
    p.pList->Release();
    p.pList = NULL;
    --m_nPending;
}

void CQXPIconImage::SetPendingIcon(CQXPSharedImageList* pList, int nIndex, int nState, SIZE szKnown)
{
    if (!pList || nState < qxImageNormal || nState > qxImagePressed)
        return;
    RefreshGenerated();
    StateHandle(*this, nState).Clear();
    DropPendingIcon(nState);
    pList->AddRef();
    m_pending[nState] = PendingIcon{pList, nIndex};
    ++m_nPending;
    if (nState == qxImageNormal && szKnown.cx > 0 && szKnown.cy > 0) {
        m_nWidth = szKnown.cx;
        m_nHeight = szKnown.cy;
    }
}

void CQXPIconImage::MakePendingIcon() const
{
    if (m_nPending == 0)
        return;
    CQXPIconImage& self = const_cast<CQXPIconImage&>(*this);
    for (int nState = qxImageNormal; nState <= qxImagePressed; ++nState) {
        PendingIcon& p = self.m_pending[nState];
        if (!p.pList)
            continue;
        StateHandle(self, nState).SetIcon(::ImageList_GetIcon(p.pList->GetHandle(), p.nIndex, ILD_NORMAL));
        self.DropPendingIcon(nState);
    }
}

void CQXPIconImage::SetIcon(const CQXPIconHandle& handle, int nState)
{
    RefreshGenerated();
    DropPendingIcon(nState);
    StateHandle(*this, nState).CopyFrom(handle);
    if (nState == qxImageNormal)
        TakeNormalSize(*this, SIZE{0, 0});
}

void CQXPIconImage::SetIcon(CQXPIconHandle& handle, int nState, SIZE szKnown)
{
    if (!handle.IsOwning() || handle.IsEmpty()) {
        SetIcon(static_cast<const CQXPIconHandle&>(handle), nState);
        if (handle.IsOwning())
            handle.Clear();
        return;
    }
    // An owning handle gives its image over: no copy is made and freed.
    RefreshGenerated();
    DropPendingIcon(nState);
    CQXPIconHandle& target = StateHandle(*this, nState);
    target.Clear();
    target.m_hIcon = handle.m_hIcon;
    target.m_hBitmap = handle.m_hBitmap;
    handle.m_hIcon = NULL;
    handle.m_hBitmap = NULL;
    handle.Clear();
    if (nState == qxImageNormal)
        TakeNormalSize(*this, szKnown);
}

namespace {

// Draws an icon into a colour-keyed 32-bit buffer and blends it onto the DC;
// bMirror flips the picture left to right.
void DrawIconComposited(CQXPImageManager* pManager, HDC hdc, int x, int y, HICON hIcon, int cx, int cy, bool bMirror)
{
    if (cx <= 0 || cy <= 0)
        return;
    std::vector<DWORD> px((size_t)cx * cy, 0x00FF00FF);
    HBITMAP hbm = MakeBitmap(px, cx, cy);
    if (!hbm)
        return;
    HDC hMem = ::CreateCompatibleDC(hdc);
    HGDIOBJ hOld = ::SelectObject(hMem, hbm);
    ::DrawIconEx(hMem, 0, 0, hIcon, cx, cy, 0, NULL, DI_NORMAL);
    ::SelectObject(hMem, hOld);
    int rx = 0, ry = 0;
    ReadPixels(hbm, px, rx, ry);
    for (DWORD& p : px)
        p = (p & 0x00FFFFFF) == 0x00FF00FF ? 0 : (p | 0xFF000000);
    if (bMirror) {
        for (int row = 0; row < cy; ++row)
            std::reverse(px.begin() + (size_t)row * cx, px.begin() + (size_t)(row + 1) * cx);
    }
    ::DeleteObject(hbm);
    hbm = MakeBitmap(px, cx, cy);
    hOld = ::SelectObject(hMem, hbm);
    pManager->AlphaBlend(hdc, x, y, cx, cy, hMem, 0, 0, cx, cy);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::DeleteObject(hbm);
}

} // namespace

void CQXPIconImage::DrawImage(HDC hdc, POINT pt, const CQXPIconHandle& handle, SIZE sz)
{
    CQXPImageManager* pManager = m_pImageManager ? m_pImageManager : GetGlobalImageManager();
    int cx = sz.cx ? sz.cx : m_nWidth;
    int cy = sz.cy ? sz.cy : (m_nWidth ? ::MulDiv(cx, m_nHeight, m_nWidth) : m_nHeight);
    if (m_hImageList) {
        ::ImageList_DrawEx(m_hImageList, m_nImageListIndex, hdc, pt.x, pt.y, cx, cy, CLR_NONE, CLR_NONE,
                           ILD_TRANSPARENT);
        return;
    }
    if (handle.IsEmpty())
        return;
    if (handle.GetIcon()) {
        bool bMirror = pManager->m_nRTLMode == 1 || (pManager->m_nRTLMode == 2 && IsLayoutRTL(hdc));
        if (m_bDrawComposited || bMirror)
            DrawIconComposited(pManager, hdc, pt.x, pt.y, handle.GetIcon(), cx, cy, bMirror);
        else
            ::DrawIconEx(hdc, pt.x, pt.y, handle.GetIcon(), cx, cy, 0, NULL, DI_NORMAL);
        return;
    }
    HBITMAP hPre = handle.GetPremultipliedBitmap();
    SIZE szBitmap = handle.GetExtent();
    if (!hPre || szBitmap.cx <= 0 || szBitmap.cy <= 0)
        return;
    POINT ptSrc = {0, 0};
    SIZE szSrc = szBitmap;
    POINT ptDest = pt;
    SIZE szDest = {cx, cy};
    if (cy == szBitmap.cy && pt.y < 0) {
        // Only the visible rows.
        if (-pt.y >= cy)
            return;
        ptSrc.y = -pt.y;
        szSrc.cy = cy + pt.y;
        szDest.cy = szSrc.cy;
        ptDest.y = 0;
    }
    pManager->DrawAlphaBitmap(hdc, hPre, ptDest, szDest, ptSrc, szSrc);
}

BOOL AFXAPI CQXPIconImage::GetShape(const CQXPIconHandle& handle, std::vector<BYTE>& shape, int& cx, int& cy)
{
    // The opaque pixels, in straight (not premultiplied) colours.
    std::vector<DWORD> color;
    std::vector<BYTE> opaque;
    if (HBITMAP hBitmap = handle.GetBitmap()) {
        if (!ReadPixels(hBitmap, color, cx, cy))
            return FALSE;
        for (DWORD p : color)
            opaque.push_back((p >> 24) >= 128);
    } else if (HICON hIcon = handle.GetIcon()) {
        ICONINFO ii;
        if (!::GetIconInfo(hIcon, &ii))
            return FALSE;
        std::vector<DWORD> mask;
        int mx = 0, my = 0;
        bool bRead = ReadPixels(ii.hbmMask, mask, mx, my);
        if (bRead && ii.hbmColor) {
            bRead = ReadPixels(ii.hbmColor, color, cx, cy) && mx == cx && my >= cy;
        } else if (bRead) {
            // A monochrome icon: the AND mask above the XOR (colour) mask.
            cx = mx;
            cy = my / 2;
            color.assign(mask.begin() + (size_t)cx * cy, mask.begin() + (size_t)cx * cy * 2);
        }
        if (ii.hbmColor)
            ::DeleteObject(ii.hbmColor);
        if (ii.hbmMask)
            ::DeleteObject(ii.hbmMask);
        if (!bRead || cx <= 0 || cy <= 0)
            return FALSE;
        // A 32-bit icon with an alpha channel has its shape there.
        bool bAlpha = std::any_of(color.begin(), color.end(), [](DWORD p) { return (p >> 24) != 0; });
        for (size_t i = 0; i < color.size(); ++i)
            opaque.push_back((mask[i] & 0x00FFFFFF) == 0 && (!bAlpha || (color[i] >> 24) >= 128));
    } else {
        return FALSE;
    }
    // Pixels at least as light as the classic button face (192 of 255) are
    // the fills and highlights inside the outline, not the shape.
    const double kLightFill = 192.0 / 255.0;
    shape.assign(opaque.size(), 0);
    bool bAny = false;
    for (size_t i = 0; i < color.size(); ++i) {
        DWORD p = color[i];
        double L = (299.0 * ((p >> 16) & 0xFF) + 587.0 * ((p >> 8) & 0xFF) + 114.0 * (p & 0xFF)) / 255000.0;
        shape[i] = opaque[i] && L < kLightFill;
        bAny = bAny || shape[i];
    }
    if (!bAny)
        shape = opaque;
    return std::find(shape.begin(), shape.end(), 1) != shape.end();
}

void CQXPIconImage::DrawMono(HDC hdc, POINT pt, const CQXPIconHandle& handle, int cx, int cy, COLORREF clr)
{
    if (cx <= 0)
        cx = m_nWidth;
    if (cy <= 0)
        cy = m_nWidth ? ::MulDiv(cx, m_nHeight, m_nWidth) : m_nHeight;
    if (cx <= 0 || cy <= 0 || handle.IsEmpty())
        return;
    // The shape is read once per picture (reading it takes the picture's
    // bitmaps apart); the pictures changing drops it (RefreshGenerated).
    if (m_hMonoIcon != handle.GetIcon() || m_hMonoBitmap != handle.GetBitmap()) {
        m_hMonoIcon = handle.GetIcon();
        m_hMonoBitmap = handle.GetBitmap();
        if (!GetShape(handle, m_monoShape, m_cxMono, m_cyMono))
            m_monoShape.clear();
    }
    const std::vector<BYTE>& shape = m_monoShape;
    const int w = m_cxMono, h = m_cyMono;
    if (shape.empty())
        return;
    // The shape as an opaque-or-clear alpha bitmap, stretched to the size.
    const DWORD dwColor = 0xFF000000 | ((DWORD)GetRValue(clr) << 16) | ((DWORD)GetGValue(clr) << 8) | GetBValue(clr);
    std::vector<DWORD> px(shape.size());
    for (size_t i = 0; i < shape.size(); ++i)
        px[i] = shape[i] ? dwColor : 0;
    HBITMAP hbm = MakeBitmap(px, w, h);
    if (!hbm)
        return;
    CQXPImageManager* pManager = m_pImageManager ? m_pImageManager : GetGlobalImageManager();
    pManager->DrawAlphaBitmap(hdc, hbm, pt, SIZE{cx, cy}, POINT{0, 0}, SIZE{w, h});
    ::DeleteObject(hbm);
}

// ---------------------------------------------------------------------------
// Icon set

CQXPIconSet::CQXPIconSet(UINT nID, CQXPImageManager* pManager) : m_nID(nID), m_pManager(pManager) {}

CQXPIconSet::~CQXPIconSet() { RemoveAll(); }

void CQXPIconSet::RemoveAll()
{
    for (auto& e : m_images) {
        e.second->m_pIconSet = NULL;
        e.second->InternalRelease();
    }
    m_images.clear();
}

CQXPIconImage* CQXPIconSet::GetIcon(int nWidth, BOOL bScaled) const
{
    if (nWidth == 0 || nWidth == 1) {
        CQXPIconImage* pBest = NULL;
        for (const auto& e : m_images) {
            if (e.second->m_bDerived)
                continue;
            if (!pBest || (nWidth == 0 ? e.first < pBest->m_nWidth : e.first > pBest->m_nWidth))
                pBest = e.second;
        }
        return pBest;
    }
    for (const auto& e : m_images) {
        if (e.first == nWidth)
            return e.second;
    }
    if (!bScaled)
        return NULL;
    CQXPIconImage* pNearest = NULL;
    int nBest = 0;
    for (const auto& e : m_images) {
        int d = std::abs(e.first - nWidth);
        if (!pNearest || d < nBest) {
            pNearest = e.second;
            nBest = d;
        }
    }
    return pNearest;
}

CQXPIconImage* CQXPIconSet::CreateIcon(int nWidth)
{
    for (const auto& e : m_images) {
        if (e.first == nWidth)
            return e.second;
    }
    CQXPIconImage* pImage = new CQXPIconImage(m_nID, nWidth, 15);
    pImage->m_pIconSet = this;
    pImage->m_pImageManager = m_pManager;
    m_images.emplace_back(nWidth, pImage);
    return pImage;
}

void CQXPIconSet::SetIconImage(int nWidth, CQXPIconImage* pImage)
{
    pImage->m_pIconSet = this;
    pImage->m_pImageManager = m_pManager;
    for (auto& e : m_images) {
        if (e.first == nWidth) {
            if (e.second != pImage) {
                e.second->m_pIconSet = NULL;
                e.second->InternalRelease();
                e.second = pImage;
            }
            return;
        }
    }
    m_images.emplace_back(nWidth, pImage);
}

void CQXPIconSet::RefreshAll()
{
    for (auto it = m_images.begin(); it != m_images.end();) {
        if (it->second->m_bDerived) {
            it->second->m_pIconSet = NULL;
            it->second->InternalRelease();
            it = m_images.erase(it);
        } else {
            it->second->RefreshGenerated();
            ++it;
        }
    }
}

// ---------------------------------------------------------------------------
// Image manager: store and lookup

CQXPImageManager::CQXPImageManager() : m_clrMask((COLORREF)-1), m_nNextCustomID(68266), m_nRTLMode(2) {}

CQXPImageManager::~CQXPImageManager()
{
    RemoveAll();
    for (ImageListEntry& e : m_imageLists) {
        for (auto& img : *e.pImages)
            img.second->InternalRelease();
        delete e.pImages;
    }
}

CQXPImageManager* AFXAPI GetGlobalImageManager()
{
    static CQXPImageManager s_manager;
    return &s_manager;
}

void AFXAPI CQXPImageManager::SetUseSystemBlending(BOOL bUse) { g_bUseSystemBlending = bUse; }

namespace {

// The icon set of a command, made when missing for a normal image.
CQXPIconSet* IconSetFor(CQXPImageManager* pManager, UINT nID, int nState)
{
    CQXPIconSet* pSet = pManager->GetIconSet(nID);
    if (!pSet && nState == qxImageNormal) {
        pSet = new CQXPIconSet(nID, pManager);
        pManager->m_mapImages[nID] = pSet;
    }
    return pSet;
}

// One piece of a strip (of size szPiece) filed under its command and width:
// the owning handle hands its image over, which need not be measured.
BOOL StorePiece(CQXPImageManager* pManager, CQXPIconHandle& piece, SIZE szPiece, UINT nID, int nWidth, int nState)
{
    if (piece.IsEmpty() || szPiece.cx <= 0 || szPiece.cy <= 0 || nWidth <= 0)
        return FALSE;
    CQXPIconSet* pSet = IconSetFor(pManager, nID, nState);
    if (!pSet)
        return FALSE;
    pSet->CreateIcon(nWidth)->SetIcon(piece, nState, szPiece);
    return TRUE;
}

// Walks the commands of a strip of nPieces pieces: fn(nID, nPiece) for each
// command of pIDs (or 0 .. nCount - 1) in order. When pIDs holds more
// entries than there are pieces, a 0 is a separator and takes no piece.
template <class Fn>
void ForEachPiece(const UINT* pIDs, int nCount, int nPieces, Fn fn)
{
    int nNext = 0;
    for (int i = 0; i < nCount; ++i) {
        const UINT nID = pIDs ? pIDs[i] : (UINT)i;
        if (pIDs && nCount != nPieces && nID == 0)
            continue;
        if (nNext >= nPieces)
            break;
        fn(nID, nNext++);
    }
}

} // namespace

BOOL CQXPImageManager::SetIcon(const CQXPIconHandle& image, UINT nID, int nWidth, int nHeight, int nState)
{
    SIZE ext = image.GetExtent();
    if (ext.cx <= 0 || ext.cy <= 0)
        return FALSE;
    if (nWidth == 0 && nHeight == 0) {
        nWidth = ext.cx;
        nHeight = ext.cy;
    }
    if (nWidth <= 0)
        return FALSE;
    CQXPIconSet* pSet = IconSetFor(this, nID, nState);
    if (!pSet)
        return FALSE;
    CQXPIconImage* pImage = pSet->CreateIcon(nWidth);
    pImage->SetIcon(image, nState);
    return TRUE;
}

BOOL CQXPImageManager::SetIcon(HICON hIcon, UINT nID, int nWidth, int nHeight, int nState)
{
    return SetIcon(CQXPIconHandle(hIcon), nID, nWidth, nHeight, nState);
}

BOOL CQXPImageManager::SetIcons(HIMAGELIST hImageList, const UINT* pIDs, int nCount, int nWidth, int nHeight,
                                int nState)
{
    if (!hImageList)
        return FALSE;
    const int nImages = ::ImageList_GetImageCount(hImageList);
    if (nCount == 0 && !pIDs)
        nCount = nImages;
    if (nWidth == 0 && nHeight == 0 && nImages > 0) {
        IMAGEINFO info;
        if (::ImageList_GetImageInfo(hImageList, 0, &info)) {
            nWidth = info.rcImage.right - info.rcImage.left;
            nHeight = info.rcImage.bottom - info.rcImage.top;
        }
    }
    // Every icon the list gives out has the list's size.
    SIZE szPiece = {0, 0};
    int cxList = 0, cyList = 0;
    if (::ImageList_GetIconSize(hImageList, &cxList, &cyList))
        szPiece = SIZE{cxList, cyList};
    ForEachPiece(pIDs, nCount, nImages, [&](UINT nID, int nIndex) {
        CQXPIconHandle handle;
        handle.SetIcon(::ImageList_GetIcon(hImageList, nIndex, ILD_NORMAL));
        if (nWidth == 0 && nHeight == 0)
            SetIcon(handle, nID, 0, 0, nState);
        else
            StorePiece(this, handle, szPiece, nID, nWidth, nState);
    });
    return TRUE;
}

BOOL CQXPImageManager::SetIconsFromBitmap(HBITMAP hBitmap, const UINT* pIDs, int nCount, int nWidth, int nHeight,
                                          int nState, BOOL bAlpha)
{
    BITMAP bm;
    if (!hBitmap || !::GetObjectA(hBitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return FALSE;
    if (nWidth == 0 && nHeight == 0 && nCount > 0) {
        nWidth = bm.bmWidth / nCount;
        nHeight = bm.bmHeight;
    } else if (nCount == 0 && nWidth > 0) {
        nCount = bm.bmWidth / nWidth;
    }
    if (nWidth <= 0)
        return FALSE;
    if (nHeight <= 0)
        nHeight = bm.bmHeight;

    if (bAlpha) {
        if (bm.bmWidth % nWidth != 0)
            return FALSE;
        std::vector<DWORD> px;
        int cx = 0, cy = 0;
        if (!ReadPixels(hBitmap, px, cx, cy))
            return FALSE;
        const int nPieces = cx / nWidth;
        ForEachPiece(pIDs, nCount, nPieces, [&](UINT nID, int nPiece) {
            std::vector<DWORD> piece((size_t)nWidth * cy);
            for (int y = 0; y < cy; ++y)
                memcpy(&piece[(size_t)y * nWidth], &px[(size_t)y * cx + (size_t)nPiece * nWidth], (size_t)nWidth * 4);
            CQXPIconHandle handle;
            handle.SetBitmap(MakeBitmap(piece, nWidth, cy));
            StorePiece(this, handle, SIZE{nWidth, cy}, nID, nWidth, nState);
        });
        return TRUE;
    }

    HIMAGELIST hList = ::ImageList_Create(nWidth, nHeight, ILC_COLOR24 | ILC_MASK, 0, 1);
    if (!hList)
        return FALSE;
    // The list may change the bitmap it is given: it gets a copy.
    HBITMAP hCopy = (HBITMAP)::CopyImage(hBitmap, IMAGE_BITMAP, 0, 0, 0);
    COLORREF clrMask = m_clrMask;
    if (clrMask == (COLORREF)-1) {
        HDC hdc = ::CreateCompatibleDC(NULL);
        HGDIOBJ hOld = ::SelectObject(hdc, hCopy ? hCopy : hBitmap);
        clrMask = ::GetPixel(hdc, 0, 0);
        ::SelectObject(hdc, hOld);
        ::DeleteDC(hdc);
    }
    ::ImageList_AddMasked(hList, hCopy ? hCopy : hBitmap, clrMask);
    if (hCopy)
        ::DeleteObject(hCopy);
    // The pieces stay in the list, shared, until each is first asked for.
    CQXPSharedImageList* pShared = new CQXPSharedImageList(hList);
    const int nImages = ::ImageList_GetImageCount(hList);
    ForEachPiece(pIDs, nCount, nImages, [&](UINT nID, int nIndex) {
        if (CQXPIconSet* pSet = IconSetFor(this, nID, nState))
            pSet->CreateIcon(nWidth)->SetPendingIcon(pShared, nIndex, nState, SIZE{nWidth, nHeight});
    });
    pShared->Release();
    return TRUE;
}

BOOL CQXPImageManager::SetIconsFromResource(UINT nIDResource, const UINT* pIDs, int nCount, int nWidth, int nHeight,
                                            int nState)
{
    BOOL bAlpha = FALSE;
    HBITMAP hbm = LoadBitmapFromResource(MAKEINTRESOURCEA((WORD)nIDResource), &bAlpha);
    if (!hbm)
        return FALSE;
    BOOL bOk = SetIconsFromBitmap(hbm, pIDs, nCount, nWidth, nHeight, nState, bAlpha);
    ::DeleteObject(hbm);
    return bOk;
}

BOOL CQXPImageManager::SetIcons(UINT nIDToolBar, UINT nIDBitmap, int nState)
{
    LPCSTR name = MAKEINTRESOURCEA(nIDToolBar);
    LPCSTR type = MAKEINTRESOURCEA(241);
    HMODULE hModule = AfxFindResourceHandle(name, type);
    HRSRC hRes = ::FindResourceA(hModule, name, type);
    HGLOBAL hg = hRes ? ::LoadResource(hModule, hRes) : NULL;
    const BYTE* p = hg ? static_cast<const BYTE*>(::LockResource(hg)) : NULL;
    size_t n = hRes ? ::SizeofResource(hModule, hRes) : 0;
    if (!p || n < 8)
        return FALSE;
    size_t nItems = (size_t)(p[6] | (p[7] << 8));
    if (8 + nItems * 2 > n)
        return FALSE;
    std::vector<UINT> ids;
    for (size_t i = 0; i < nItems; ++i) {
        UINT id = (UINT)(p[8 + 2 * i] | (p[9 + 2 * i] << 8));
        if (id)
            ids.push_back(id);
    }
    if (ids.empty())
        return FALSE;
    return SetIconsFromResource(nIDBitmap, ids.data(), (int)ids.size(), 0, 0, nState);
}

UINT CQXPImageManager::AddCustomIcon(const CQXPIconHandle& image, BOOL bOwns)
{
    UINT nID = ++m_nNextCustomID;
    CQXPIconSet* pSet = new CQXPIconSet(nID, this);
    m_mapImages[nID] = pSet;
    SIZE ext = image.GetExtent();
    CQXPIconImage* pImage = pSet->CreateIcon(ext.cx > 0 ? ext.cx : 16);
    pImage->SetIcon(image, qxImageNormal);
    if (bOwns)
        const_cast<CQXPIconHandle&>(image).Clear();
    return nID;
}

void CQXPImageManager::RemoveIcon(UINT nID)
{
    auto it = m_mapImages.find(nID);
    if (it != m_mapImages.end()) {
        it->second->InternalRelease();
        m_mapImages.erase(it);
    }
}

void CQXPImageManager::RemoveAll()
{
    for (auto& e : m_mapImages)
        e.second->InternalRelease();
    m_mapImages.clear();
}

void CQXPImageManager::AddImageList(HIMAGELIST hImageList, UINT nBaseID)
{
    if (hImageList)
        m_imageLists.push_back(ImageListEntry{hImageList, nBaseID, new std::map<UINT, CQXPIconImage*>});
}

CQXPIconSet* CQXPImageManager::GetIconSet(UINT nID) const
{
    auto it = m_mapImages.find(nID);
    return it != m_mapImages.end() ? it->second : NULL;
}

CQXPIconImage* CQXPImageManager::GetImage(UINT nID, int nWidth) const
{
    if (CQXPIconSet* pSet = GetIconSet(nID))
        return pSet->GetIcon(nWidth, TRUE);
    for (const ImageListEntry& e : m_imageLists) {
        int n = ::ImageList_GetImageCount(e.hImageList);
        if (nID < e.nBaseID || nID >= e.nBaseID + (UINT)std::max(n, 0))
            continue;
        auto it = e.pImages->find(nID);
        if (it != e.pImages->end())
            return it->second;
        int cx = 0, cy = 0;
        ::ImageList_GetIconSize(e.hImageList, &cx, &cy);
        CQXPIconImage* pImage = new CQXPIconImage(nID, cx, cy);
        pImage->m_hImageList = e.hImageList;
        pImage->m_nImageListIndex = (int)(nID - e.nBaseID);
        pImage->m_pImageManager = const_cast<CQXPImageManager*>(this);
        (*e.pImages)[nID] = pImage;
        return pImage;
    }
    return NULL;
}

BOOL CQXPImageManager::HasOwnImage(UINT nID, int nWidth) const
{
    if (CQXPIconSet* pSet = GetIconSet(nID)) {
        CQXPIconImage* pImage = pSet->GetIcon(nWidth, FALSE);
        if (pImage && !pImage->m_bDerived && pImage->m_nWidth == nWidth)
            return TRUE;
        for (const auto& e : pSet->m_images) {
            if (e.first == nWidth && !e.second->m_bDerived)
                return TRUE;
        }
    }
    for (const ImageListEntry& e : m_imageLists) {
        int n = ::ImageList_GetImageCount(e.hImageList);
        int cx = 0, cy = 0;
        ::ImageList_GetIconSize(e.hImageList, &cx, &cy);
        if (nID >= e.nBaseID && nID < e.nBaseID + (UINT)std::max(n, 0))
            return cx == nWidth;
    }
    return FALSE;
}

void CQXPImageManager::RefreshAll()
{
    for (auto& e : m_mapImages)
        e.second->RefreshAll();
    for (ImageListEntry& e : m_imageLists) {
        for (auto& img : *e.pImages)
            img.second->RefreshGenerated();
    }
}

// ---------------------------------------------------------------------------
// Blending

BOOL CQXPImageManager::AlphaBlend(HDC hdcDest, int x, int y, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc,
                                  int cxSrc, int cySrc)
{
    if (cx <= 0 || cy <= 0 || cxSrc <= 0 || cySrc <= 0)
        return FALSE;
    DrawHelpers* pHelpers = DrawHelpers::Instance();
    bool bOwn = !g_bUseSystemBlending || !pHelpers->m_pfnAlphaBlend ||
                (!GetOSVersionInfo()->IsWin2KOrGreater() && (xSrc != 0 || ySrc != 0));
    if (!bOwn) {
        BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        return pHelpers->m_pfnAlphaBlend(hdcDest, x, y, cx, cy, hdcSrc, xSrc, ySrc, cxSrc, cySrc, bf);
    }

    // Own blending: source and destination into two 32-bit buffers.
    std::vector<DWORD> none((size_t)cx * cy, 0);
    HBITMAP hSrc = MakeBitmap(none, cx, cy), hDst = MakeBitmap(none, cx, cy);
    if (!hSrc || !hDst) {
        if (hSrc)
            ::DeleteObject(hSrc);
        if (hDst)
            ::DeleteObject(hDst);
        return FALSE;
    }
    HDC hMem = ::CreateCompatibleDC(hdcDest);
    HGDIOBJ hOld = ::SelectObject(hMem, hSrc);
    if (cx == cxSrc && cy == cySrc) {
        ::BitBlt(hMem, 0, 0, cx, cy, hdcSrc, xSrc, ySrc, SRCCOPY);
    } else {
        ::SetStretchBltMode(hMem, HALFTONE);
        ::StretchBlt(hMem, 0, 0, cx, cy, hdcSrc, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);
    }
    ::SelectObject(hMem, hDst);
    ::BitBlt(hMem, 0, 0, cx, cy, hdcDest, x, y, SRCCOPY);
    ::SelectObject(hMem, hOld);
    std::vector<DWORD> src, dst;
    int w = 0, h = 0;
    ReadPixels(hSrc, src, w, h);
    ReadPixels(hDst, dst, w, h);
    for (size_t i = 0; i < dst.size(); ++i) {
        DWORD s = src[i], d = dst[i];
        DWORD inv = 255 - (s >> 24);
        DWORD out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            DWORD c = ((s >> shift) & 0xFF) + ((d >> shift) & 0xFF) * inv / 255;
            out |= std::min<DWORD>(c, 255) << shift;
        }
        dst[i] = out | (d & 0xFF000000);
    }
    ::DeleteObject(hSrc);
    ::DeleteObject(hDst);
    HBITMAP hOut = MakeBitmap(dst, cx, cy);
    hOld = ::SelectObject(hMem, hOut);
    DWORD rop = IsLayoutRTL(hdcDest) ? (SRCCOPY | NOMIRRORBITMAP) : SRCCOPY;
    ::BitBlt(hdcDest, x, y, cx, cy, hMem, 0, 0, rop);
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hOut);
    ::DeleteDC(hMem);
    return TRUE;
}

BOOL CQXPImageManager::TransparentBlt(HDC hdcDest, int x, int y, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc,
                                      int cxSrc, int cySrc, COLORREF clrTransparent)
{
    if (cx <= 0 || cy <= 0 || cxSrc <= 0 || cySrc <= 0)
        return FALSE;
    DrawHelpers* pHelpers = DrawHelpers::Instance();
    if (g_bUseSystemBlending && pHelpers->m_pfnTransparentBlt)
        return pHelpers->m_pfnTransparentBlt(hdcDest, x, y, cx, cy, hdcSrc, xSrc, ySrc, cxSrc, cySrc, clrTransparent);

    COLORREF clrOldBk = ::GetBkColor(hdcDest), clrOldText = ::GetTextColor(hdcDest);
    HDC hCopy = ::CreateCompatibleDC(hdcDest);
    HBITMAP hbmCopy = ::CreateCompatibleBitmap(hdcDest, cxSrc, cySrc);
    HGDIOBJ hOldCopy = ::SelectObject(hCopy, hbmCopy);
    ::BitBlt(hCopy, 0, 0, cxSrc, cySrc, hdcSrc, xSrc, ySrc, SRCCOPY);
    HDC hMask = ::CreateCompatibleDC(hdcDest);
    HBITMAP hbmMask = ::CreateBitmap(cxSrc, cySrc, 1, 1, NULL);
    HGDIOBJ hOldMask = ::SelectObject(hMask, hbmMask);
    // Key colour -> white in the mask.
    ::SetBkColor(hCopy, clrTransparent);
    ::BitBlt(hMask, 0, 0, cxSrc, cySrc, hCopy, 0, 0, SRCCOPY);
    // Key pixels of the copy -> black (mask 1 -> white -> inverted -> black).
    ::SetBkColor(hCopy, RGB(255, 255, 255));
    ::SetTextColor(hCopy, RGB(0, 0, 0));
    ::BitBlt(hCopy, 0, 0, cxSrc, cySrc, hMask, 0, 0, 0x00220326 /* DSna */);
    ::SetBkColor(hdcDest, RGB(255, 255, 255));
    ::SetTextColor(hdcDest, RGB(0, 0, 0));
    if (cx == cxSrc && cy == cySrc) {
        ::BitBlt(hdcDest, x, y, cx, cy, hMask, 0, 0, SRCAND);
        ::BitBlt(hdcDest, x, y, cx, cy, hCopy, 0, 0, SRCPAINT);
    } else {
        ::StretchBlt(hdcDest, x, y, cx, cy, hMask, 0, 0, cxSrc, cySrc, SRCAND);
        ::StretchBlt(hdcDest, x, y, cx, cy, hCopy, 0, 0, cxSrc, cySrc, SRCPAINT);
    }
    ::SetBkColor(hdcDest, clrOldBk);
    ::SetTextColor(hdcDest, clrOldText);
    ::SelectObject(hMask, hOldMask);
    ::SelectObject(hCopy, hOldCopy);
    ::DeleteObject(hbmMask);
    ::DeleteObject(hbmCopy);
    ::DeleteDC(hMask);
    ::DeleteDC(hCopy);
    return TRUE;
}

BOOL CQXPImageManager::DrawAlphaBitmap(HDC hdc, HBITMAP hBitmap, POINT ptDest, SIZE szDest, POINT ptSrc, SIZE szSrc)
{
    if (!hdc || !hBitmap)
        return FALSE;
    GdiObjectDC mem(hdc, hBitmap);
    return AlphaBlend(hdc, ptDest.x, ptDest.y, szDest.cx, szDest.cy, mem, ptSrc.x, ptSrc.y, szSrc.cx, szSrc.cy);
}
