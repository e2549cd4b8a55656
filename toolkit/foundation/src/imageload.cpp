// Loading images from resources and files, and the 32-bit bitmap helpers.
#include <qx/images.h>
#include <qx/png.h>

#include "bitmaps.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Little-endian fields of file data.
WORD Word(const BYTE* p) { return (WORD)(p[0] | (p[1] << 8)); }
DWORD Dword(const BYTE* p) { return (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24); }

} // namespace

namespace qx {
namespace detail {

bool ReadPixels(HBITMAP hBitmap, std::vector<DWORD>& pixels, int& cx, int& cy)
{
    BITMAP bm;
    if (!hBitmap || !::GetObjectA(hBitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return false;
    cx = bm.bmWidth;
    cy = bm.bmHeight;
    BITMAPINFO bmi;
    ZeroMemory(&bmi, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    pixels.assign((size_t)cx * cy, 0);
    // A memory DC, not the screen's: under Wine every GetDC of a window asks
    // the server for the visible region.
    HDC hdc = ::CreateCompatibleDC(NULL);
    int n = ::GetDIBits(hdc, hBitmap, 0, (UINT)cy, pixels.data(), &bmi, DIB_RGB_COLORS);
    ::DeleteDC(hdc);
    return n == cy;
}

HBITMAP MakeBitmap(const std::vector<DWORD>& pixels, int cx, int cy)
{
    if (cx <= 0 || cy <= 0 || pixels.size() < (size_t)cx * cy)
        return NULL;
    BITMAPINFO bmi;
    ZeroMemory(&bmi, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pv = NULL;
    HBITMAP h = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &pv, NULL, 0);
    if (h && pv) {
        memcpy(pv, pixels.data(), (size_t)cx * cy * 4);
        ::GdiFlush();
    }
    return h;
}

HBITMAP BitmapFromDibPixels(const BYTE* pPixels, size_t nBytes, int nWidth, int nHeight)
{
    if (!pPixels || nWidth <= 0 || nHeight == 0 || nWidth > 0x7FFF || nHeight > 0x7FFF || nHeight < -0x7FFF)
        return NULL;
    size_t need = (size_t)nWidth * (size_t)(nHeight < 0 ? -nHeight : nHeight) * 4;
    if (need > nBytes)
        return NULL;
    BITMAPINFO bmi;
    ZeroMemory(&bmi, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pv = NULL;
    HBITMAP h = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &pv, NULL, 0);
    if (h && pv) {
        memcpy(pv, pPixels, need);
        ::GdiFlush();
    }
    return h;
}

HBITMAP AlphaBitmapFromDib(const BYTE* pData, size_t nSize, int nHeightDivisor)
{
    if (!pData || nSize < sizeof(BITMAPINFOHEADER) || nHeightDivisor < 1)
        return NULL;
    BITMAPINFOHEADER bih;
    memcpy(&bih, pData, sizeof(bih));
    if (bih.biSize < sizeof(BITMAPINFOHEADER) || bih.biSize > nSize || bih.biBitCount != 32 || bih.biPlanes != 1)
        return NULL;
    size_t offset = bih.biSize;
    if (bih.biCompression == BI_BITFIELDS && bih.biSize == sizeof(BITMAPINFOHEADER))
        offset += 3 * sizeof(DWORD); // the three colour masks
    else if (bih.biCompression != BI_RGB && bih.biCompression != BI_BITFIELDS)
        return NULL;
    if (offset > nSize)
        return NULL;
    int height = bih.biHeight / nHeightDivisor;
    return BitmapFromDibPixels(pData + offset, nSize - offset, bih.biWidth, height);
}

bool IsWholeBitmapFile(const BYTE* p, size_t n, int* pnBitCount)
{
    const size_t kFileHeader = sizeof(BITMAPFILEHEADER); // 14
    if (!p || n < kFileHeader + sizeof(DWORD) || p[0] != 'B' || p[1] != 'M')
        return false;
    const size_t nOffBits = Dword(p + 10);
    const size_t nHeader = Dword(p + kFileHeader);
    const bool bCore = nHeader == sizeof(BITMAPCOREHEADER);
    if (!bCore && (nHeader < sizeof(BITMAPINFOHEADER) || nHeader > sizeof(BITMAPV5HEADER)))
        return false;
    if (nHeader > n - kFileHeader)
        return false;
    long long width, height;
    DWORD planes, bits, compression = BI_RGB, colorsUsed = 0, imageSize = 0;
    if (bCore) {
        width = Word(p + kFileHeader + 4);
        height = Word(p + kFileHeader + 6);
        planes = Word(p + kFileHeader + 8);
        bits = Word(p + kFileHeader + 10);
    } else {
        width = (LONG)Dword(p + kFileHeader + 4);
        height = (LONG)Dword(p + kFileHeader + 8);
        planes = Word(p + kFileHeader + 12);
        bits = Word(p + kFileHeader + 14);
        compression = Dword(p + kFileHeader + 16);
        imageSize = Dword(p + kFileHeader + 20);
        colorsUsed = Dword(p + kFileHeader + 32);
    }
    if (height < 0)
        height = -height;
    // Dimensions beyond what a screen bitmap can be are refused outright.
    const long long kMaxSide = 0x8000;
    if (width <= 0 || height == 0 || width > kMaxSide || height > kMaxSide || planes != 1)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    // What follows the header: the masks of a bit-field bitmap with a plain
    // info header, then the colour table.
    size_t nTable = 0;
    if (compression == BI_BITFIELDS) {
        if (bits != 16 && bits != 32)
            return false;
        if (nHeader == sizeof(BITMAPINFOHEADER))
            nTable += 3 * sizeof(DWORD);
    } else if (compression == BI_RLE8 || compression == BI_RLE4) {
        if (bits != (compression == BI_RLE8 ? 8u : 4u) || imageSize == 0)
            return false;
    } else if (compression != BI_RGB) {
        return false;
    }
    if (bits <= 8) {
        const DWORD nMaxColors = 1u << bits;
        if (colorsUsed > nMaxColors)
            return false;
        nTable += (colorsUsed ? colorsUsed : nMaxColors) * (bCore ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD));
    } else if (colorsUsed > 256) {
        return false;
    } else {
        nTable += colorsUsed * sizeof(RGBQUAD);
    }
    if (nTable > n - kFileHeader - nHeader || nOffBits < kFileHeader + nHeader || nOffBits > n)
        return false;
    // The pixels.
    const unsigned long long nStride = ((unsigned long long)width * bits + 31) / 32 * 4;
    const unsigned long long nPixels =
        compression == BI_RLE8 || compression == BI_RLE4 ? imageSize : nStride * (unsigned long long)height;
    if (nPixels > n - nOffBits)
        return false;
    if (pnBitCount)
        *pnBitCount = (int)bits;
    return true;
}

} // namespace detail
} // namespace qx

using namespace qx::detail;

// ---------------------------------------------------------------------------
// 32-bit bitmaps

HBITMAP AFXAPI Create32BitDIBSection(HDC hdc, int cx, int cy, BYTE** ppBits)
{
    if (ppBits)
        *ppBits = NULL;
    if (cx <= 0 || cy <= 0)
        return NULL;
    BITMAPINFO bmi;
    ZeroMemory(&bmi, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pv = NULL;
    HBITMAP h = ::CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pv, NULL, 0);
    if (ppBits)
        *ppBits = static_cast<BYTE*>(pv);
    return h;
}

BOOL AFXAPI GetBitmap32Bits(HDC hdc, HBITMAP hBitmap, BITMAPINFO** ppbmi, BYTE** ppBits, UINT* pnSize)
{
    if (!ppbmi || !ppBits)
        return FALSE;
    *ppbmi = NULL;
    *ppBits = NULL;
    BITMAP bm;
    if (!hBitmap || !::GetObjectA(hBitmap, sizeof(bm), &bm) || bm.bmBitsPixel != 32 || bm.bmWidth <= 0 ||
        bm.bmHeight <= 0)
        return FALSE;
    BYTE* pInfo = new BYTE[sizeof(BITMAPINFOHEADER) + 3 * sizeof(RGBQUAD)]();
    BITMAPINFO* pbmi = reinterpret_cast<BITMAPINFO*>(pInfo);
    pbmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    pbmi->bmiHeader.biWidth = bm.bmWidth;
    pbmi->bmiHeader.biHeight = bm.bmHeight;
    pbmi->bmiHeader.biPlanes = 1;
    pbmi->bmiHeader.biBitCount = 32;
    pbmi->bmiHeader.biCompression = BI_RGB;
    UINT nSize = (UINT)bm.bmWidth * (UINT)bm.bmHeight * 4;
    pbmi->bmiHeader.biSizeImage = nSize;
    BYTE* pBits = new BYTE[nSize];
    HDC hdcUse = hdc ? hdc : ::CreateCompatibleDC(NULL);
    int n = ::GetDIBits(hdcUse, hBitmap, 0, (UINT)bm.bmHeight, pBits, pbmi, DIB_RGB_COLORS);
    if (!hdc)
        ::DeleteDC(hdcUse);
    if (n != bm.bmHeight) {
        delete[] pInfo;
        delete[] pBits;
        return FALSE;
    }
    *ppbmi = pbmi;
    *ppBits = pBits;
    if (pnSize)
        *pnSize = nSize;
    return TRUE;
}

HBITMAP AFXAPI CopyAlphaBitmap(HBITMAP hBitmap)
{
    std::vector<DWORD> px;
    int cx = 0, cy = 0;
    if (!ReadPixels(hBitmap, px, cx, cy))
        return NULL;
    return MakeBitmap(px, cx, cy);
}

HBITMAP AFXAPI FlipBitmap32Horizontally(HBITMAP hBitmap)
{
    std::vector<DWORD> px;
    int cx = 0, cy = 0;
    if (!ReadPixels(hBitmap, px, cx, cy))
        return NULL;
    for (int y = 0; y < cy; ++y) {
        DWORD* row = px.data() + (size_t)y * cx;
        for (int a = 0, b = cx - 1; a < b; ++a, --b)
            std::swap(row[a], row[b]);
    }
    return MakeBitmap(px, cx, cy);
}

HBITMAP AFXAPI PremultiplyAlphaBitmap(HBITMAP hBitmap, BOOL* pbAlphaUsed)
{
    std::vector<DWORD> px;
    int cx = 0, cy = 0;
    if (!ReadPixels(hBitmap, px, cx, cy))
        return NULL;
    if (pbAlphaUsed) {
        *pbAlphaUsed = FALSE;
        // Memory order of a bottom-up bitmap: the last row first.
        bool bSeenZero = false, bUsed = false;
        for (int y = cy - 1; y >= 0 && !bUsed; --y) {
            for (int x = 0; x < cx; ++x) {
                BYTE a = (BYTE)(px[(size_t)y * cx + x] >> 24);
                if (a > 0 && a < 255) {
                    bUsed = true;
                    break;
                }
                if (a == 0)
                    bSeenZero = true;
                else if (bSeenZero) {
                    bUsed = true;
                    break;
                }
            }
        }
        if (!bUsed)
            return MakeBitmap(px, cx, cy);
        *pbAlphaUsed = TRUE;
    }
    for (DWORD& p : px) {
        DWORD a = p >> 24;
        DWORD b = (p & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255, r = ((p >> 16) & 0xFF) * a / 255;
        p = (a << 24) | (r << 16) | (g << 8) | b;
    }
    return MakeBitmap(px, cx, cy);
}

SIZE AFXAPI GetIconExtent(HICON hIcon)
{
    SIZE sz = {0, 0};
    ICONINFO ii;
    if (!hIcon || !::GetIconInfo(hIcon, &ii))
        return sz;
    BITMAP bm;
    if (ii.hbmMask && ::GetObjectA(ii.hbmMask, sizeof(bm), &bm)) {
        sz.cx = bm.bmWidth;
        sz.cy = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    }
    if (ii.hbmMask)
        ::DeleteObject(ii.hbmMask);
    if (ii.hbmColor)
        ::DeleteObject(ii.hbmColor);
    return sz;
}

HICON AFXAPI ResizeIcon(HICON hIcon, int cx, int cy, int cxNew)
{
    if (!hIcon || cxNew <= 0 || cx <= 0 || cy <= 0)
        return NULL;
    if (cx == cxNew)
        return ::CopyIcon(hIcon);
    int cyNew = ::MulDiv(cy, cxNew, cx);
    if (cyNew <= 0)
        return NULL;
    HIMAGELIST hList = ::ImageList_Create(cxNew, cyNew, ILC_COLOR32 | ILC_MASK, 1, 1);
    if (!hList)
        return NULL;
    HICON hNew = NULL;
    if (::ImageList_ReplaceIcon(hList, -1, hIcon) >= 0)
        hNew = ::ImageList_GetIcon(hList, 0, ILD_NORMAL);
    ::ImageList_Destroy(hList);
    return hNew;
}

// ---------------------------------------------------------------------------
// Resources

namespace {

bool IsPngSignature(const BYTE* p, size_t n) { return n >= 4 && p[0] == 0x89 && p[1] == 0x50 && p[2] == 0x4E && p[3] == 0x47; }

bool ResourceBytes(HMODULE hModule, HRSRC hRes, const BYTE*& p, size_t& n)
{
    if (!hRes)
        return false;
    HGLOBAL hData = ::LoadResource(hModule, hRes);
    p = hData ? static_cast<const BYTE*>(::LockResource(hData)) : NULL;
    n = ::SizeofResource(hModule, hRes);
    return p != NULL;
}

} // namespace

HBITMAP AFXAPI LoadBitmapFromResourceHandle(HMODULE hModule, LPCSTR lpszName, BOOL* pbAlpha)
{
    if (pbAlpha)
        *pbAlpha = FALSE;
    const BYTE* p = NULL;
    size_t n = 0;
    HRSRC hPng = ::FindResourceA(hModule, lpszName, "PNG");
    if (hPng && ResourceBytes(hModule, hPng, p, n) && IsPngSignature(p, n)) {
        CDibImage dib;
        if (dib.LoadFromResource(hModule, hPng)) {
            if (pbAlpha)
                *pbAlpha = dib.IsAlpha();
            return dib.Detach();
        }
    }
    HRSRC hBmp = ::FindResourceA(hModule, lpszName, RT_BITMAP);
    if (!hBmp || !ResourceBytes(hModule, hBmp, p, n))
        return NULL;
    if (n >= sizeof(BITMAPINFOHEADER)) {
        BITMAPINFOHEADER bih;
        memcpy(&bih, p, sizeof(bih));
        if (bih.biBitCount == 32) {
            HBITMAP h = AlphaBitmapFromDib(p, n, 1);
            if (h && pbAlpha)
                *pbAlpha = TRUE;
            return h;
        }
    }
    return (HBITMAP)::LoadImageA(hModule, lpszName, IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE);
}

HBITMAP AFXAPI LoadBitmapFromResource(LPCSTR lpszName, BOOL* pbAlpha)
{
    HMODULE hModule = AfxGetResourceHandle();
    if (!::FindResourceA(hModule, lpszName, "PNG") && !::FindResourceA(hModule, lpszName, RT_BITMAP))
        hModule = AfxGetInstanceHandle();
    return LoadBitmapFromResourceHandle(hModule, lpszName, pbAlpha);
}

HBITMAP AFXAPI LoadAlphaBitmapResource(UINT nID, HMODULE hModule)
{
    LPCSTR name = MAKEINTRESOURCEA(nID);
    if (!hModule)
        hModule = AfxFindResourceHandle(name, RT_BITMAP);
    const BYTE* p = NULL;
    size_t n = 0;
    if (!ResourceBytes(hModule, ::FindResourceA(hModule, name, RT_BITMAP), p, n))
        return NULL;
    return AlphaBitmapFromDib(p, n, 1);
}

// ---------------------------------------------------------------------------
// Files

HBITMAP AFXAPI LoadBitmapFromFile(LPCSTR lpszPath, BOOL* pbAlpha)
{
    if (pbAlpha)
        *pbAlpha = FALSE;
    if (!lpszPath)
        return NULL;
    // A user's file: the system loader only gets bitmaps whose headers,
    // colour table and pixels were checked to lie inside the file.
    const size_t kMaxFile = 256u * 1024 * 1024;
    std::vector<BYTE> file;
    if (!fx::ReadWholeFile(lpszPath, file, kMaxFile))
        return NULL;
    if (IsPngSignature(file.data(), file.size())) {
        CDibImage dib;
        if (!dib.LoadFromFile(lpszPath))
            return NULL;
        if (pbAlpha)
            *pbAlpha = dib.IsAlpha();
        return dib.Detach();
    }
    int nBitCount = 0;
    if (!IsWholeBitmapFile(file.data(), file.size(), &nBitCount))
        return NULL;
    const bool b32 = nBitCount == 32;
    UINT flags = LR_LOADFROMFILE | LR_DEFAULTSIZE | (b32 ? LR_CREATEDIBSECTION : 0);
    HBITMAP hbm = (HBITMAP)::LoadImageA(NULL, lpszPath, IMAGE_BITMAP, 0, 0, flags);
    if (hbm && pbAlpha)
        *pbAlpha = b32;
    return hbm;
}

HBITMAP AFXAPI LoadAlphaIconFromFile(LPCSTR lpszPath, int nWidth)
{
    std::vector<BYTE> file;
    if (!lpszPath || !fx::ReadWholeFile(lpszPath, file, 16 * 1024 * 1024) || file.size() < 6)
        return NULL;
    const BYTE* p = file.data();
    if (Word(p) != 0 || Word(p + 2) != 1)
        return NULL;
    size_t count = Word(p + 4);
    if (6 + count * 16 > file.size())
        return NULL;
    for (size_t i = 0; i < count; ++i) {
        const BYTE* e = p + 6 + i * 16;
        int w = e[0] ? e[0] : 256;
        WORD bitCount = Word(e + 6);
        DWORD bytes = Dword(e + 8), offset = Dword(e + 12);
        if (bitCount != 32 || (nWidth && w != nWidth))
            continue;
        // The entry's data must lie inside the file.
        if (offset >= file.size() || bytes > file.size() - offset || bytes < sizeof(BITMAPINFOHEADER))
            continue;
        BITMAPINFOHEADER bih;
        memcpy(&bih, p + offset, sizeof(bih));
        if (bih.biSize != sizeof(BITMAPINFOHEADER) || bih.biBitCount != 32 || bih.biWidth != w)
            continue;
        HBITMAP h = AlphaBitmapFromDib(p + offset, bytes, 2);
        if (h)
            return h;
    }
    return NULL;
}
