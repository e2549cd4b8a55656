// PNG decoding with libpng into 32-bit DIB sections.
#include <qx/png.h>

#include <png.h>

#include <cstdlib>
#include <vector>

namespace {

// libpng reports errors through this callback; throwing ends the decode
// (the structures are destroyed by the caller's handler).
[[noreturn]] void PNGCBAPI PngError(png_structp, png_const_charp)
{
    AfxThrowFileException(CFileException::genericException);
}

void PNGCBAPI PngWarning(png_structp, png_const_charp) {}

void PNGCBAPI PngRead(png_structp png, png_bytep data, png_size_t length)
{
    CFile* pFile = static_cast<CFile*>(png_get_io_ptr(png));
    size_t done = 0;
    while (done < length) {
        UINT chunk = (UINT)std::min<png_size_t>(length - done, 0x40000000);
        UINT n = pFile->Read(data + done, chunk);
        if (n == 0)
            AfxThrowFileException(CFileException::endOfFile);
        done += n;
    }
}

struct PngReader {
    png_structp png = NULL;
    png_infop info = NULL;
    ~PngReader()
    {
        if (png)
            png_destroy_read_struct(&png, info ? &info : NULL, NULL);
    }
};

} // namespace

BOOL AFXAPI LoadPngImage(CFile* pStream, BYTE** ppBuffer, int* pWidth, int* pHeight, int* pChannels,
                         COLORREF* pBackground)
{
    if (!pStream || !ppBuffer)
        return FALSE;
    *ppBuffer = NULL;
    if (pBackground)
        *pBackground = (COLORREF)-1;

    BYTE* pBuffer = NULL;
    std::vector<png_bytep> rows;
    try {
        BYTE sig[8];
        if (pStream->Read(sig, 8) != 8 || png_sig_cmp(sig, 0, 8) != 0)
            return FALSE;

        PngReader r;
        r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, PngError, PngWarning);
        if (!r.png)
            return FALSE;
        r.info = png_create_info_struct(r.png);
        if (!r.info)
            return FALSE;
        png_set_read_fn(r.png, pStream, PngRead);
        png_set_sig_bytes(r.png, 8);
        png_read_info(r.png, r.info);

        png_uint_32 width = 0, height = 0;
        int bitDepth = 0, colorType = 0;
        png_get_IHDR(r.png, r.info, &width, &height, &bitDepth, &colorType, NULL, NULL, NULL);
        if (width == 0 || height == 0 || (ULONGLONG)width * height > CDibImage::kMaxPixels || width > 0x7FFF ||
            height > 0x7FFF)
            return FALSE;

        if (bitDepth == 16)
            png_set_strip_16(r.png);
        if (colorType == PNG_COLOR_TYPE_PALETTE)
            png_set_expand(r.png);
        if (bitDepth < 8)
            png_set_expand(r.png);
        if (png_get_valid(r.png, r.info, PNG_INFO_tRNS))
            png_set_expand(r.png);
        if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
            png_set_gray_to_rgb(r.png);
        png_color_16p pBack = NULL;
        if (png_get_bKGD(r.png, r.info, &pBack) && pBack && pBackground) {
            // Reported only: compositing onto it would throw the alpha away.
            if (colorType == PNG_COLOR_TYPE_PALETTE) {
                png_colorp palette = NULL;
                int nPalette = 0;
                if (png_get_PLTE(r.png, r.info, &palette, &nPalette) && pBack->index < nPalette)
                    *pBackground = RGB(palette[pBack->index].red, palette[pBack->index].green,
                                       palette[pBack->index].blue);
            } else if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
                BYTE g = (BYTE)(bitDepth == 16 ? pBack->gray >> 8 : bitDepth < 8 ? pBack->gray * 255 / ((1 << bitDepth) - 1)
                                                                                 : pBack->gray);
                *pBackground = RGB(g, g, g);
            } else {
                *pBackground = RGB(pBack->red & 0xFF, pBack->green & 0xFF, pBack->blue & 0xFF);
            }
        }
        double fileGamma = 0;
        if (png_get_gAMA(r.png, r.info, &fileGamma))
            png_set_gamma(r.png, 2.2, fileGamma);

        png_read_update_info(r.png, r.info);
        png_get_IHDR(r.png, r.info, &width, &height, &bitDepth, &colorType, NULL, NULL, NULL);
        png_size_t rowBytes = png_get_rowbytes(r.png, r.info);
        int channels = png_get_channels(r.png, r.info);
        if ((channels != 3 && channels != 4) || bitDepth != 8 || rowBytes < (png_size_t)width * channels)
            return FALSE;
        ULONGLONG total = (ULONGLONG)rowBytes * height;
        if (total > CDibImage::kMaxPixels * 4)
            return FALSE;

        pBuffer = static_cast<BYTE*>(malloc((size_t)total));
        if (!pBuffer)
            AfxThrowFileException(CFileException::genericException);
        rows.resize(height);
        for (png_uint_32 y = 0; y < height; ++y)
            rows[y] = pBuffer + (size_t)y * rowBytes;
        png_read_image(r.png, rows.data());
        png_read_end(r.png, NULL);

        // Rows are handed out packed.
        if (rowBytes != (png_size_t)width * channels) {
            for (png_uint_32 y = 1; y < height; ++y)
                memmove(pBuffer + (size_t)y * width * channels, rows[y], (size_t)width * channels);
        }
        *ppBuffer = pBuffer;
        if (pWidth)
            *pWidth = (int)width;
        if (pHeight)
            *pHeight = (int)height;
        if (pChannels)
            *pChannels = channels;
        return TRUE;
    } catch (CException* e) {
        e->Delete();
        free(pBuffer);
        *ppBuffer = NULL;
        return FALSE;
    }
}

// ---------------------------------------------------------------------------

CDibImage::CDibImage() : m_hBitmap(NULL), m_bAlpha(FALSE), m_clrBackground((COLORREF)-1) {}

CDibImage::~CDibImage() { Empty(); }

void CDibImage::Empty()
{
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = NULL;
    m_bAlpha = FALSE;
    m_clrBackground = (COLORREF)-1;
}

HBITMAP CDibImage::Detach()
{
    HBITMAP h = m_hBitmap;
    m_hBitmap = NULL;
    m_bAlpha = FALSE;
    return h;
}

HBITMAP AFXAPI CDibImage::CreateDib32(const BYTE* pRows, int nWidth, int nHeight, int nChannels)
{
    if (!pRows || nWidth <= 0 || nHeight <= 0 || (nChannels != 3 && nChannels != 4) ||
        (ULONGLONG)nWidth * nHeight > kMaxPixels)
        return NULL;
    BITMAPINFO bmi;
    ZeroMemory(&bmi, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = -nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pvBits = NULL;
    HBITMAP hbm = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &pvBits, NULL, 0);
    if (!hbm || !pvBits) {
        if (hbm)
            ::DeleteObject(hbm);
        return NULL;
    }
    BYTE* pDst = static_cast<BYTE*>(pvBits);
    const BYTE* pSrc = pRows;
    for (int y = 0; y < nHeight; ++y) {
        for (int x = 0; x < nWidth; ++x) {
            pDst[0] = pSrc[2];
            pDst[1] = pSrc[1];
            pDst[2] = pSrc[0];
            pDst[3] = nChannels == 4 ? pSrc[3] : 0;
            pDst += 4;
            pSrc += nChannels;
        }
    }
    ::GdiFlush();
    return hbm;
}

BOOL CDibImage::LoadFromStream(CFile* pStream)
{
    Empty();
    BYTE* pBuffer = NULL;
    int cx = 0, cy = 0, channels = 0;
    COLORREF clrBack = (COLORREF)-1;
    if (!LoadPngImage(pStream, &pBuffer, &cx, &cy, &channels, &clrBack) || !pBuffer)
        return FALSE;
    HBITMAP hbm = CreateDib32(pBuffer, cx, cy, channels);
    free(pBuffer);
    if (!hbm)
        return FALSE;
    m_hBitmap = hbm;
    m_bAlpha = channels == 4;
    m_clrBackground = clrBack;
    return TRUE;
}

BOOL CDibImage::LoadFromFile(LPCSTR lpszPath)
{
    Empty();
    CFile file;
    if (!lpszPath || !file.Open(lpszPath, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    BOOL bOk = FALSE;
    try {
        bOk = LoadFromStream(&file);
    } catch (CException* e) {
        e->Delete();
        Empty();
    }
    file.Abort();
    return bOk;
}

BOOL CDibImage::LoadFromResource(HMODULE hModule, HRSRC hResource)
{
    Empty();
    if (!hResource)
        return FALSE;
    HGLOBAL hData = ::LoadResource(hModule, hResource);
    if (!hData)
        return FALSE;
    const BYTE* p = static_cast<const BYTE*>(::LockResource(hData));
    DWORD cb = ::SizeofResource(hModule, hResource);
    if (!p || cb <= 9)
        return FALSE;
    CMemFile file(const_cast<BYTE*>(p), cb);
    return LoadFromStream(&file);
}
