// customimage.cpp - button pictures in and out of the button editor: icons
// and alpha bitmaps of the image manager, bitmaps, and picture files (.ico,
// .bmp, .png, and what the system's picture loader reads: .gif, .jpg,
// metafiles). Damaged files are refused before anything is changed.
#include <qx/buttoneditor.h>

#include <ole2.h>
#include <olectl.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A 32-bit DIB section of cx x cy (bottom-up rows); *ppBits its pixels.
HBITMAP CreateDib(int cx, int cy, DWORD** ppBits)
{
    BYTE* pBits = NULL;
    HBITMAP hBitmap = Create32BitDIBSection(NULL, cx, cy, &pBits);
    *ppBits = hBitmap ? (DWORD*)pBits : NULL;
    return hBitmap;
}

// The pixel (x, y) of a bottom-up DIB.
DWORD& PixelAt(DWORD* pBits, int cx, int cy, int x, int y) { return pBits[(size_t)(cy - 1 - y) * cx + x]; }

// The pixels of any bitmap as 32-bit B, G, R, A, copied into a new DIB
// (the caller deletes it).
HBITMAP ReadPixels(HBITMAP hBitmap, int& cx, int& cy, DWORD** ppBits)
{
    BITMAP bm = {};
    if (!hBitmap || !::GetObjectA(hBitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0)
        return NULL;
    cx = bm.bmWidth;
    cy = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    if ((long long)cx * cy > 4096LL * 4096LL)
        return NULL;
    HBITMAP hCopy = CreateDib(cx, cy, ppBits);
    if (!hCopy)
        return NULL;
    HDC hdcSource = ::CreateCompatibleDC(NULL), hdcCopy = ::CreateCompatibleDC(NULL);
    HGDIOBJ hOldSource = ::SelectObject(hdcSource, hBitmap);
    HGDIOBJ hOldCopy = ::SelectObject(hdcCopy, hCopy);
    BOOL bOk = hOldSource && ::BitBlt(hdcCopy, 0, 0, cx, cy, hdcSource, 0, 0, SRCCOPY);
    ::GdiFlush();
    if (hOldSource)
        ::SelectObject(hdcSource, hOldSource);
    ::SelectObject(hdcCopy, hOldCopy);
    ::DeleteDC(hdcSource);
    ::DeleteDC(hdcCopy);
    if (!bOk) {
        ::DeleteObject(hCopy);
        return NULL;
    }
    return hCopy;
}

COLORREF ColorOf(DWORD bgra) { return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF); }
DWORD BgrOf(COLORREF clr) { return (DWORD)GetBValue(clr) | ((DWORD)GetGValue(clr) << 8) | ((DWORD)GetRValue(clr) << 16); }

// Draws with a callback onto a cx x cy bitmap filled with the transparent
// colour and reads the result as a picture without alpha.
template <class Draw>
BOOL DrawnPicture(int cx, int cy, QXPEditorPicture& picture, Draw draw)
{
    if (cx <= 0 || cy <= 0)
        return FALSE;
    DWORD* pBits = NULL;
    HBITMAP hBitmap = CreateDib(cx, cy, &pBits);
    if (!hBitmap)
        return FALSE;
    HDC hdc = ::CreateCompatibleDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hdc, hBitmap);
    HBRUSH hBrush = ::CreateSolidBrush(QXP_EDITOR_TRANSPARENT);
    RECT rc = {0, 0, cx, cy};
    ::FillRect(hdc, &rc, hBrush);
    ::DeleteObject(hBrush);
    BOOL bDrawn = draw(hdc);
    ::GdiFlush();
    if (bDrawn) {
        QXPEditorPicture result(cx, cy);
        for (int y = 0; y < cy; y++)
            for (int x = 0; x < cx; x++)
                result.Set(x, y, ColorOf(PixelAt(pBits, cx, cy, x, y)));
        picture = result;
    }
    ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);
    ::DeleteObject(hBitmap);
    return bDrawn;
}

std::string LowerExtension(LPCSTR lpszPath)
{
    std::string path(lpszPath ? lpszPath : "");
    size_t nDot = path.find_last_of('.');
    size_t nSlash = path.find_last_of("\\/");
    if (nDot == std::string::npos || (nSlash != std::string::npos && nDot < nSlash))
        return std::string();
    std::string ext = path.substr(nDot + 1);
    for (char& c : ext)
        c = (char)::tolower((unsigned char)c);
    return ext;
}

BOOL ReadWholeFile(LPCSTR lpszPath, std::string& bytes)
{
    HANDLE hFile = ::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    LARGE_INTEGER size = {};
    BOOL bOk = ::GetFileSizeEx(hFile, &size) && size.QuadPart > 0 && size.QuadPart < 64LL * 1024 * 1024;
    if (bOk) {
        bytes.resize((size_t)size.QuadPart);
        DWORD dwRead = 0;
        bOk = ::ReadFile(hFile, &bytes[0], (DWORD)bytes.size(), &dwRead, NULL) && dwRead == bytes.size();
    }
    ::CloseHandle(hFile);
    return bOk;
}

// The system's picture loader reads what it can of a cut-off GIF or JPEG
// and shows the rest grey: such files are refused by their missing ends.
BOOL LooksComplete(const std::string& bytes)
{
    if (bytes.size() >= 6 && (bytes.compare(0, 6, "GIF87a") == 0 || bytes.compare(0, 6, "GIF89a") == 0))
        return bytes.size() > 13 && bytes.back() == '\x3B'; // the trailer
    if (bytes.size() >= 3 && (BYTE)bytes[0] == 0xFF && (BYTE)bytes[1] == 0xD8 && (BYTE)bytes[2] == 0xFF) {
        // The end-of-image marker, possibly followed by padding.
        size_t nEnd = bytes.size();
        while (nEnd > 2 && (bytes[nEnd - 1] == '\0' || bytes[nEnd - 1] == '\r' || bytes[nEnd - 1] == '\n'))
            nEnd--;
        return nEnd >= 4 && (BYTE)bytes[nEnd - 2] == 0xFF && (BYTE)bytes[nEnd - 1] == 0xD9;
    }
    return TRUE;
}

BOOL LoadSystemPicture(LPCSTR lpszPath, int cx, int cy, QXPEditorPicture& picture)
{
    std::string bytes;
    if (!ReadWholeFile(lpszPath, bytes) || !LooksComplete(bytes))
        return FALSE;
    int nChars = ::MultiByteToWideChar(CP_ACP, 0, lpszPath, -1, NULL, 0);
    if (nChars <= 0)
        return FALSE;
    std::vector<WCHAR> wide((size_t)nChars);
    ::MultiByteToWideChar(CP_ACP, 0, lpszPath, -1, wide.data(), nChars);
    const HRESULT hrInit = ::CoInitialize(NULL);
    IPicture* pPicture = NULL;
    HRESULT hr = ::OleLoadPicturePath(wide.data(), NULL, 0, 0, IID_IPicture, (void**)&pPicture);
    BOOL bOk = FALSE;
    if (SUCCEEDED(hr) && pPicture) {
        OLE_XSIZE_HIMETRIC nWidth = 0;
        OLE_YSIZE_HIMETRIC nHeight = 0;
        pPicture->get_Width(&nWidth);
        pPicture->get_Height(&nHeight);
        if (nWidth > 0 && nHeight > 0) {
            bOk = DrawnPicture(cx, cy, picture, [&](HDC hdc) {
                return SUCCEEDED(pPicture->Render(hdc, 0, 0, cx, cy, 0, nHeight, nWidth, -nHeight, NULL));
            });
        }
        pPicture->Release();
    }
    if (SUCCEEDED(hrInit))
        ::CoUninitialize();
    return bOk;
}

} // namespace

BOOL AFXAPI QxpPictureFromBitmap(HBITMAP hBitmap, BOOL bAlpha, int cx, int cy, QXPEditorPicture& picture)
{
    int cxSource = 0, cySource = 0;
    DWORD* pBits = NULL;
    HBITMAP hCopy = cx > 0 && cy > 0 ? ReadPixels(hBitmap, cxSource, cySource, &pBits) : NULL;
    if (!hCopy)
        return FALSE;
    QXPEditorPicture result(cx, cy, bAlpha);
    for (int y = 0; y < cy && y < cySource; y++)
        for (int x = 0; x < cx && x < cxSource; x++) {
            const DWORD bgra = PixelAt(pBits, cxSource, cySource, x, y);
            if (bAlpha) {
                // A pixel that is nothing at all is transparent.
                if (bgra == 0)
                    result.Set(x, y, QXP_EDITOR_TRANSPARENT, 0);
                else
                    result.Set(x, y, ColorOf(bgra), (BYTE)(bgra >> 24));
            } else {
                result.Set(x, y, ColorOf(bgra));
            }
        }
    ::DeleteObject(hCopy);
    picture = result;
    return TRUE;
}

BOOL AFXAPI QxpPictureFromIcon(const CQXPIconHandle& icon, QXPEditorPicture& picture)
{
    if (icon.IsAlpha()) {
        SIZE sz = icon.GetExtent();
        return QxpPictureFromBitmap(icon.GetBitmap(), TRUE, sz.cx, sz.cy, picture);
    }
    if (!icon.GetIcon())
        return FALSE;
    SIZE sz = icon.GetExtent();
    return DrawnPicture(sz.cx, sz.cy, picture, [&](HDC hdc) {
        return ::DrawState(hdc, NULL, NULL, (LPARAM)icon.GetIcon(), 0, 0, 0, sz.cx, sz.cy, DST_ICON | DSS_NORMAL);
    });
}

BOOL AFXAPI QxpIconFromPicture(const QXPEditorPicture& picture, CQXPIconHandle& icon)
{
    const int cx = picture.nWidth, cy = picture.nHeight;
    if (cx <= 0 || cy <= 0 || picture.pixels.size() != (size_t)cx * (size_t)cy)
        return FALSE;
    DWORD* pBits = NULL;
    HBITMAP hBitmap = CreateDib(cx, cy, &pBits);
    if (!hBitmap)
        return FALSE;
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++) {
            const COLORREF clr = picture.Get(x, y);
            DWORD& px = PixelAt(pBits, cx, cy, x, y);
            if (picture.bAlpha)
                px = clr == QXP_EDITOR_TRANSPARENT ? 0 : (BgrOf(clr) | ((DWORD)picture.GetAlpha(x, y) << 24));
            else
                px = BgrOf(clr);
        }
    ::GdiFlush();
    if (picture.bAlpha) {
        icon.SetBitmap(hBitmap);
        return TRUE;
    }
    // Through a masked image list: the transparent colour becomes the mask.
    BOOL bOk = FALSE;
    HIMAGELIST hList = ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, 1, 1);
    if (hList) {
        if (ImageList_AddMasked(hList, hBitmap, QXP_EDITOR_TRANSPARENT) >= 0 && ImageList_GetImageCount(hList) == 1) {
            HICON hIcon = ImageList_GetIcon(hList, 0, ILD_NORMAL);
            if (hIcon) {
                icon.SetIcon(hIcon);
                bOk = TRUE;
            }
        }
        ImageList_Destroy(hList);
    }
    ::DeleteObject(hBitmap);
    return bOk;
}

BOOL AFXAPI QxpLoadPictureFile(LPCSTR lpszPath, int cx, int cy, QXPEditorPicture& picture)
{
    if (!lpszPath || !*lpszPath || cx <= 0 || cy <= 0)
        return FALSE;
    const std::string ext = LowerExtension(lpszPath);
    if (ext == "ico") {
        if (HBITMAP hAlpha = LoadAlphaIconFromFile(lpszPath, cx)) {
            BOOL bOk = QxpPictureFromBitmap(hAlpha, TRUE, cx, cy, picture);
            ::DeleteObject(hAlpha);
            return bOk;
        }
        HICON hIcon = (HICON)::LoadImageA(NULL, lpszPath, IMAGE_ICON, cx, cy, LR_LOADFROMFILE);
        if (!hIcon)
            return FALSE;
        BOOL bOk = DrawnPicture(cx, cy, picture, [&](HDC hdc) {
            return ::DrawIconEx(hdc, 0, 0, hIcon, cx, cy, 0, NULL, DI_NORMAL);
        });
        ::DestroyIcon(hIcon);
        return bOk;
    }
    if (ext == "bmp" || ext == "png") {
        BOOL bAlpha = FALSE;
        HBITMAP hBitmap = LoadBitmapFromFile(lpszPath, &bAlpha);
        if (!hBitmap)
            return FALSE;
        BOOL bOk = QxpPictureFromBitmap(hBitmap, bAlpha, cx, cy, picture);
        ::DeleteObject(hBitmap);
        return bOk;
    }
    return LoadSystemPicture(lpszPath, cx, cy, picture);
}

UINT AFXAPI QxpAlphaBitmapClipboardFormat()
{
    static UINT s_format = ::RegisterClipboardFormatA("Alpha Bitmap Image");
    return s_format;
}

BOOL AFXAPI QxpOpenClipboardWithPicture(HWND hOwner, HBITMAP hBitmap, BOOL bAlpha)
{
    if (!hBitmap)
        return FALSE;
    if (!::OpenClipboard(hOwner)) {
        ::DeleteObject(hBitmap);
        return FALSE;
    }
    ::EmptyClipboard();
    if (!::SetClipboardData(CF_BITMAP, hBitmap)) {
        ::DeleteObject(hBitmap);
        ::CloseClipboard();
        return FALSE;
    }
    if (bAlpha) {
        if (HGLOBAL hMarker = ::GlobalAlloc(GMEM_MOVEABLE, 1)) {
            if (!::SetClipboardData(QxpAlphaBitmapClipboardFormat(), hMarker))
                ::GlobalFree(hMarker);
        }
    }
    return TRUE;
}
