// Pixel helpers shared by the image sources (not part of the public headers).
#pragma once

#include <fx/fx.h>

#include <vector>

namespace qx {
namespace detail {

// The pixels of any bitmap as top-down 32-bit words (0xAARRGGBB); FALSE when
// the bitmap cannot be read.
bool ReadPixels(HBITMAP hBitmap, std::vector<DWORD>& pixels, int& cx, int& cy);
// A new top-down 32-bit DIB section holding the pixels.
HBITMAP MakeBitmap(const std::vector<DWORD>& pixels, int cx, int cy);
// A new 32-bit DIB section from packed DIB pixel data (bottom-up when
// nHeight > 0), after checking that nBytes really holds nWidth x |nHeight|
// pixels. NULL for damaged input.
HBITMAP BitmapFromDibPixels(const BYTE* pPixels, size_t nBytes, int nWidth, int nHeight);
// A 32-bit DIB (BITMAPINFOHEADER + pixels, as in RT_BITMAP and icon
// resources) as a DIB section, checked against its size. nHeightDivisor 2
// takes the colour half of an icon image. NULL for damaged input or a depth
// other than 32 bits.
HBITMAP AlphaBitmapFromDib(const BYTE* pData, size_t nSize, int nHeightDivisor);
// Whether the n bytes at p are a whole BMP file the system loader can take
// safely: the "BM" file header, a core or info header (any version) with a
// positive width, a non-zero height, one plane, 1, 4, 8, 16, 24 or 32 bits
// per pixel and a known compression, its masks and colour table, and
// every byte of its pixels inside the file. Sets *pnBitCount when it is.
bool IsWholeBitmapFile(const BYTE* p, size_t n, int* pnBitCount = NULL);

} // namespace detail
} // namespace qx
