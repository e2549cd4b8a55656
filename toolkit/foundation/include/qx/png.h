// qx/png.h - PNG loading into 32-bit top-down DIB sections (libpng).
//
// The bitmap: BITMAPINFOHEADER with the image's width, a negative height
// (top-down), 32 bits per pixel, BI_RGB; each pixel blue, green, red, alpha.
// A source without an alpha channel gives alpha 0 in every pixel.
//
// Palette, low-bit-depth and grey images are expanded to RGB, 16-bit samples
// cut to 8 bits, a transparency chunk becomes an alpha channel. A background
// chunk is reported (never composited, so transparency is kept). Damaged or
// truncated data, libpng errors and images too large to decode all end in
// failure and an empty object; nothing is shown to the user.
#pragma once

#include <fx/fx.h>

class CDibImage {
public:
    CDibImage();
    ~CDibImage();
    CDibImage(const CDibImage&) = delete;
    CDibImage& operator=(const CDibImage&) = delete;

    // Each load empties the object first; 1 on success, 0 on failure.
    BOOL LoadFromFile(LPCSTR lpszPath);
    // 0 for a NULL resource, one that cannot be loaded, or one of 9 bytes or
    // fewer.
    BOOL LoadFromResource(HMODULE hModule, HRSRC hResource);
    BOOL LoadFromStream(CFile* pStream);

    // A new DIB section from packed rows (top row first) of 3 or 4 channels
    // in R, G, B(, A) order; NULL when it cannot be made.
    static HBITMAP AFXAPI CreateDib32(const BYTE* pRows, int nWidth, int nHeight, int nChannels);

    // The DIB section (owned; NULL until a load succeeds).
    HBITMAP GetBitmap() const { return m_hBitmap; }
    operator HBITMAP() const { return m_hBitmap; }
    // Gives the bitmap to the caller; the object becomes empty.
    HBITMAP Detach();
    // 1 when the source had four channels per pixel.
    BOOL IsAlpha() const { return m_bAlpha; }
    // The background chunk's colour of the last load; (COLORREF)-1 when there
    // was none.
    COLORREF GetBackground() const { return m_clrBackground; }
    void Empty();

    // Images larger than this many pixels are refused.
    static const ULONGLONG kMaxPixels = 64ull * 1024 * 1024;

    HBITMAP m_hBitmap;
    BOOL m_bAlpha;
    COLORREF m_clrBackground;
};

// Decodes the PNG read from the stream. On success returns 1 with the packed
// rows (top row first, R G B [A]) in a malloc'ed buffer the caller frees, and
// the width, height, channels (3 or 4) and background colour ((COLORREF)-1
// without a background chunk). On failure returns 0 and no buffer.
BOOL AFXAPI LoadPngImage(CFile* pStream, BYTE** ppBuffer, int* pWidth, int* pHeight, int* pChannels,
                         COLORREF* pBackground);
