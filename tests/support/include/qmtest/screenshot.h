// Screenshots for tests whose looks are reviewed by eye: an area of the test
// display written as a PNG file. Needs libpng (qm::png) in the test's links.
#pragma once

#include <windows.h>

#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qmtest {

// Writes a top-down 32-bit BGRA image as an RGB PNG to an open file.
inline bool WritePngRgb(FILE* fp, const BYTE* pBits, int cx, int cy)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png ? png_create_info_struct(png) : NULL;
    bool bOk = false;
    if (png && info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, fp);
        png_set_IHDR(png, info, (png_uint_32)cx, (png_uint_32)cy, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<png_byte> row((size_t)cx * 3);
        for (int y = 0; y < cy; y++) {
            const BYTE* pSrc = pBits + (size_t)y * cx * 4;
            for (int x = 0; x < cx; x++) {
                row[(size_t)x * 3] = pSrc[x * 4 + 2];
                row[(size_t)x * 3 + 1] = pSrc[x * 4 + 1];
                row[(size_t)x * 3 + 2] = pSrc[x * 4];
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, NULL);
        bOk = true;
    }
    png_destroy_write_struct(&png, &info);
    return bOk;
}

// Writes what the display shows in a screen rectangle; false on failure.
inline bool SaveScreenPng(const RECT& rcScreen, const std::string& strPath)
{
    const int cx = rcScreen.right - rcScreen.left, cy = rcScreen.bottom - rcScreen.top;
    if (cx <= 0 || cy <= 0)
        return false;
    HDC hdcScreen = ::GetDC(NULL);
    HDC hdc = ::CreateCompatibleDC(hdcScreen);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    HBITMAP hbm = ::CreateDIBSection(hdcScreen, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    bool bOk = false;
    if (hbm && pBits) {
        HGDIOBJ hOld = ::SelectObject(hdc, hbm);
        ::BitBlt(hdc, 0, 0, cx, cy, hdcScreen, rcScreen.left, rcScreen.top, SRCCOPY);
        ::GdiFlush();
        FILE* fp = fopen(strPath.c_str(), "wb");
        if (fp) {
            bOk = WritePngRgb(fp, (const BYTE*)pBits, cx, cy);
            fclose(fp);
        }
        ::SelectObject(hdc, hOld);
    }
    if (hbm)
        ::DeleteObject(hbm);
    ::DeleteDC(hdc);
    ::ReleaseDC(NULL, hdcScreen);
    return bOk;
}

// The folder for screenshots of a build: <build>/screenshots, made on demand.
inline std::string ScreenshotDir(const char* pszBinDir)
{
    std::string strDir = pszBinDir;
    strDir += "/../screenshots";
    ::CreateDirectoryA(strDir.c_str(), NULL);
    return strDir;
}

// Has a window (of any process) paint itself, then saves what the screen
// shows of it as <build>/screenshots/<name> and names the file on stdout;
// false on failure.
inline bool SaveWindowShot(HWND hWnd, const char* pszBinDir, const std::string& name)
{
    ::RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::Sleep(500);
    RECT rc;
    if (!::GetWindowRect(hWnd, &rc))
        return false;
    std::string path = ScreenshotDir(pszBinDir) + "/" + name;
    bool ok = SaveScreenPng(rc, path);
    printf("screenshot: %s\n", path.c_str());
    return ok;
}

} // namespace qmtest
