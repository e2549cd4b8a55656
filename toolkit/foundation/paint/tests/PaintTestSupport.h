// Helpers of the paint tests: stand-ins for a bar and a control, a 32-bit
// memory DC whose pixels can be read, fixed system colours, test icons and
// BMP output for screenshots.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/colors.h>
#include <qx/images.h>
#include <qx/paintmanager.h>
#include <qx/themes.h>
#include <qx/visualstyles.h>

#include <gtest/gtest.h>
#include <qmtest/screenshot.h>

#include "PrintSupport.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace painttest {

inline int max(int a, int b) { return a > b ? a : b; }
inline int min(int a, int b) { return a < b ? a : b; }

// ---------------------------------------------------------------------------
// A bar drawn without a window.
class TestBar : public CQXPBarView {
public:
    int nType = qxpBarTypeNormal;
    int nPosition = qxpBarTop;
    CString strTitle = "Standard";
    CRect rcClient = CRect(0, 0, 300, 26);
    CRect rcWindow = CRect(100, 100, 400, 126);
    CSize szIcon = CSize(16, 16);
    CSize szLargeIcon = CSize(32, 32);
    CSize szButton = CSize(23, 22);
    BOOL bTextBelowIcons = FALSE;
    BOOL bCues = TRUE;
    BOOL bDoubleColumn = FALSE;
    BOOL bCaption = TRUE;
    HWND hWndDock = NULL;
    BOOL bHasOpener = FALSE;
    CRect rcOpener;
    DWORD dwFlags = 0;
    std::vector<CQXPControlView*> controls;

    DWORD GetBarFlags() const override { return dwFlags; }
    int GetType() const override { return nType; }
    int GetPosition() const override { return nPosition; }
    CString GetTitle() const override { return strTitle; }
    CRect GetBarClientRect() const override { return rcClient; }
    CRect GetBarWindowRect() const override { return rcWindow; }
    CSize GetIconSize() const override { return szIcon; }
    CSize GetLargeIconSize() const override { return szLargeIcon; }
    CSize GetButtonSize() const override { return szButton; }
    BOOL IsTextBelowIcons() const override { return bTextBelowIcons; }
    BOOL IsKeyboardCuesVisible() const override { return bCues; }
    BOOL IsDoubleIconColumn() const override { return bDoubleColumn; }
    BOOL IsCaptionShown() const override { return bCaption; }
    int GetControlCount() const override { return (int)controls.size(); }
    CQXPControlView* GetControlAt(int n) const override
    {
        return n >= 0 && n < (int)controls.size() ? controls[(size_t)n] : NULL;
    }
    HWND GetDockBarHwnd() const override { return hWndDock; }
    BOOL GetOpenerRect(CRect* pRect) const override
    {
        if (bHasOpener && pRect)
            *pRect = rcOpener;
        return bHasOpener;
    }
};

// A control with settable properties.
class TestControl : public CQXPControlView {
public:
    TestControl(TestBar* pBar = NULL, int type = qxpControlButton, LPCSTR caption = "") : pParent(pBar), nType(type)
    {
        strCaption = caption;
    }
    TestBar* pParent;
    int nType;
    CRect rc;
    CString strCaption;
    CString strShortcut;
    CString strDescription;
    CString strEditText;
    int nStyle = qxpButtonAutomatic;
    int nIconId = 0;
    CQXPIconImage* pImage = NULL;
    BOOL bCaptionVisible = TRUE;
    BOOL bDefault = FALSE;
    BOOL bVisible = TRUE;
    BOOL bWrapped = FALSE;
    BOOL bBeginGroup = FALSE;
    int nSelected = 0;
    BOOL bPressed = FALSE;
    int nEnabled = 1;
    int nChecked = 0;
    BOOL bPopped = FALSE;
    BOOL bRarelyUsed = FALSE;
    int nWidth = 0;
    int nHeight = 0;
    BOOL bLargeDropDown = FALSE;
    BOOL bSpin = FALSE;
    int nSpinPressed = 0;
    BOOL bDropped = FALSE;
    EditLayout layout;
    int nImageRequests = 0;

    int GetType() const override { return nType; }
    CQXPBarView* GetParentBar() const override { return pParent; }
    CRect GetRect() const override { return rc; }
    void SetRect(const CRect& r) override { rc = r; }
    CString GetCaption() const override { return strCaption; }
    CString GetShortcutText() const override { return strShortcut; }
    CString GetDescription() const override { return strDescription; }
    int GetStyle() const override { return nStyle; }
    int GetIconId() const override { return nIconId; }
    CQXPIconImage* GetImage(int) const override
    {
        ++const_cast<TestControl*>(this)->nImageRequests;
        return pImage;
    }
    BOOL IsCaptionVisible() const override { return bCaptionVisible && !strCaption.IsEmpty(); }
    BOOL IsDefaultItem() const override { return bDefault; }
    BOOL IsVisible() const override { return bVisible; }
    BOOL IsWrapped() const override { return bWrapped; }
    BOOL GetBeginGroup() const override { return bBeginGroup; }
    int GetSelected() const override { return nSelected; }
    BOOL GetPressed() const override { return bPressed; }
    int GetEnabled() const override { return nEnabled; }
    int GetChecked() const override { return nChecked; }
    BOOL GetPopped() const override { return bPopped; }
    BOOL IsRarelyUsed() const override { return bRarelyUsed; }
    int GetWidth() const override { return nWidth; }
    int GetHeight() const override { return nHeight; }
    BOOL HasLargeDropDown() const override { return bLargeDropDown; }
    EditLayout* GetEditLayout() override
    {
        return nType == qxpControlEdit || nType == qxpControlComboBox ? &layout : NULL;
    }
    BOOL HasSpinButtons() const override { return bSpin; }
    int GetSpinPressed() const override { return nSpinPressed; }
    BOOL IsDroppedDown() const override { return bDropped; }
    CString GetEditText() const override { return strEditText; }
};

// A status pane.
class TestPane : public CQXPStatusPaneView {
public:
    CString strText = "Ready";
    UINT nStyle = 0;
    COLORREF clrBack = (COLORREF)-1;
    BOOL bButton = FALSE;
    BOOL bPressed = FALSE;
    BOOL bCurrent = FALSE;
    CString GetText() const override { return strText; }
    UINT GetStyle() const override { return nStyle; }
    COLORREF GetBackgroundColor() const override { return clrBack; }
    BOOL IsButton() const override { return bButton; }
    BOOL IsPressed() const override { return bPressed; }
    BOOL IsCurrent() const override { return bCurrent; }
};

// ---------------------------------------------------------------------------
// A 32-bit top-down DIB selected into a memory DC, pre-filled.
class MemoryDC {
public:
    MemoryDC(int cx, int cy, COLORREF clrFill = RGB(255, 255, 255)) : m_cx(cx), m_cy(cy)
    {
        BITMAPINFO bmi;
        ZeroMemory(&bmi, sizeof(bmi));
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        m_hBitmap = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, (void**)&m_pBits, NULL, 0);
        m_dc.CreateCompatibleDC(NULL);
        m_hOld = ::SelectObject(m_dc.GetSafeHdc(), m_hBitmap);
        m_dc.FillSolidRect(0, 0, cx, cy, clrFill);
    }
    ~MemoryDC()
    {
        ::SelectObject(m_dc.GetSafeHdc(), m_hOld);
        m_dc.DeleteDC();
        ::DeleteObject(m_hBitmap);
    }
    CDC* dc() { return &m_dc; }
    COLORREF Pixel(int x, int y)
    {
        ::GdiFlush();
        if (x < 0 || y < 0 || x >= m_cx || y >= m_cy)
            return (COLORREF)-1;
        DWORD v = ((DWORD*)m_pBits)[(size_t)y * (size_t)m_cx + (size_t)x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    // Number of pixels of a colour inside a rectangle.
    int Count(const CRect& rc, COLORREF clr)
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                if (Pixel(x, y) == clr)
                    ++n;
        return n;
    }
    // The first pixel, row by row, where another picture of the same size
    // differs; (-1, -1) when none does.
    CPoint FirstDifference(MemoryDC& other)
    {
        for (int y = 0; y < m_cy; ++y)
            for (int x = 0; x < m_cx; ++x)
                if (Pixel(x, y) != other.Pixel(x, y))
                    return CPoint(x, y);
        return CPoint(-1, -1);
    }
    // Writes the picture as a 24-bit BMP file.
    bool SaveBmp(const std::string& path)
    {
        ::GdiFlush();
        int stride = (m_cx * 3 + 3) & ~3;
        BITMAPFILEHEADER bf;
        BITMAPINFOHEADER bi;
        ZeroMemory(&bf, sizeof(bf));
        ZeroMemory(&bi, sizeof(bi));
        bi.biSize = sizeof(bi);
        bi.biWidth = m_cx;
        bi.biHeight = m_cy;
        bi.biPlanes = 1;
        bi.biBitCount = 24;
        bf.bfType = 0x4D42;
        bf.bfOffBits = sizeof(bf) + sizeof(bi);
        bf.bfSize = bf.bfOffBits + (DWORD)(stride * m_cy);
        FILE* f = fopen(path.c_str(), "wb");
        if (!f)
            return false;
        fwrite(&bf, sizeof(bf), 1, f);
        fwrite(&bi, sizeof(bi), 1, f);
        std::vector<BYTE> row((size_t)stride, 0);
        for (int y = m_cy - 1; y >= 0; --y) {
            for (int x = 0; x < m_cx; ++x) {
                DWORD v = ((DWORD*)m_pBits)[(size_t)y * (size_t)m_cx + (size_t)x];
                row[(size_t)x * 3] = (BYTE)(v & 0xFF);
                row[(size_t)x * 3 + 1] = (BYTE)((v >> 8) & 0xFF);
                row[(size_t)x * 3 + 2] = (BYTE)((v >> 16) & 0xFF);
            }
            fwrite(row.data(), 1, row.size(), f);
        }
        fclose(f);
        return true;
    }

    // Writes the picture as <build>/screenshots/<name> (PNG) and names the
    // file on stdout.
    bool SavePng(const std::string& name)
    {
        ::GdiFlush();
        std::string path = qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + name;
        FILE* fp = fopen(path.c_str(), "wb");
        if (!fp)
            return false;
        bool bOk = qmtest::WritePngRgb(fp, m_pBits, m_cx, m_cy);
        fclose(fp);
        printf("screenshot: %s\n", path.c_str());
        return bOk;
    }

private:
    int m_cx, m_cy;
    CDC m_dc;
    HBITMAP m_hBitmap = NULL;
    HGDIOBJ m_hOld = NULL;
    BYTE* m_pBits = NULL;
};

// ---------------------------------------------------------------------------
// Fixed system colours: the classic Windows palette, whatever the desktop
// says, so that every colour the themes derive is known.
inline COLORREF AFXAPI ClassicSysColor(int n)
{
    static const COLORREF k[31] = {
        RGB(212, 208, 200), RGB(58, 110, 165), RGB(10, 36, 106), RGB(128, 128, 128), RGB(212, 208, 200),
        RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), RGB(255, 255, 255),
        RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106), RGB(255, 255, 255),
        RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0), RGB(212, 208, 200),
        RGB(255, 255, 255), RGB(64, 64, 64), RGB(212, 208, 200), RGB(0, 0, 0), RGB(255, 255, 225),
        RGB(181, 181, 181), RGB(0, 0, 128), RGB(166, 202, 240), RGB(192, 192, 192), RGB(49, 106, 197),
        RGB(236, 233, 216)};
    return n >= 0 && n < 31 ? k[n] : 0;
}

inline int AFXAPI TrueColorDepth(HDC) { return 32; }
inline int AFXAPI LowColorDepth(HDC) { return 8; }

// Installs the fixed colours (and a colour theme) in the process-wide colour
// manager for the life of the object.
class FixedColors {
public:
    explicit FixedColors(int nTheme = qxColorThemeClassic, BOOL bLowColor = FALSE)
    {
        ToolkitColorManager* p = ToolkitColorManager::Instance();
        m_nOldTheme = p->GetChosenTheme();
        ToolkitColorManager::SystemQueries q;
        q.pfnSysColor = ClassicSysColor;
        q.pfnBitsPerPixel = bLowColor ? LowColorDepth : TrueColorDepth;
        p->SetSystemQueries(q);
        p->SetCurrentTheme(nTheme);
        p->RefreshColors();
    }
    ~FixedColors()
    {
        ToolkitColorManager* p = ToolkitColorManager::Instance();
        p->SetSystemQueries(ToolkitColorManager::SystemQueries());
        p->SetCurrentTheme(m_nOldTheme);
        p->RefreshColors();
    }

private:
    int m_nOldTheme;
};

// Visual styles switched off for the life of the object: the wrapper binds
// a library that does not exist, so every themed call fails.
struct NoVisualStyles {
    NoVisualStyles() { CVisualStyleTheme::SetLibrary("qm-no-such-uxtheme.dll"); }
    ~NoVisualStyles() { CVisualStyleTheme::SetLibrary(NULL); }
};

// A theme object made by the factory and refreshed; released at the end.
struct ThemeHolder {
    explicit ThemeHolder(int nTheme) : p(CreateThemePainter(nTheme)) { p->RefreshMetrics(); }
    ~ThemeHolder() { p->InternalRelease(); }
    CQXPThemePainter* operator->() const { return p; }
    CQXPThemePainter* p;
};

// ---------------------------------------------------------------------------
// A 16 x 16 test icon: a filled square of one colour with a transparent
// border of two pixels.
inline HICON MakeSquareIcon(COLORREF clr, int cx = 16)
{
    HDC hdcScreen = ::GetDC(NULL);
    HBITMAP hColor = ::CreateCompatibleBitmap(hdcScreen, cx, cx);
    HBITMAP hMask = ::CreateBitmap(cx, cx, 1, 1, NULL);
    HDC hdc = ::CreateCompatibleDC(hdcScreen);
    HGDIOBJ hOld = ::SelectObject(hdc, hColor);
    RECT rcAll = {0, 0, cx, cx};
    ::FillRect(hdc, &rcAll, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    RECT rcIn = {2, 2, cx - 2, cx - 2};
    ::FillRect(hdc, &rcIn, hBrush);
    ::DeleteObject(hBrush);
    ::SelectObject(hdc, hMask);
    ::FillRect(hdc, &rcAll, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    ::FillRect(hdc, &rcIn, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);
    ::ReleaseDC(NULL, hdcScreen);
    ICONINFO ii;
    ZeroMemory(&ii, sizeof(ii));
    ii.fIcon = TRUE;
    ii.hbmColor = hColor;
    ii.hbmMask = hMask;
    HICON hIcon = ::CreateIconIndirect(&ii);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
    return hIcon;
}

// An image of the image manager holding a square icon.
inline CQXPIconImage* MakeSquareImage(UINT nID, COLORREF clr, int cx = 16)
{
    CQXPIconImage* pImage = new CQXPIconImage(nID, cx, cx);
    HICON hIcon = MakeSquareIcon(clr, cx);
    CQXPIconHandle handle;
    handle.SetIcon(hIcon);
    pImage->SetNormalIcon(handle);
    return pImage;
}

// Where screenshots go: <build>/artifacts (created on demand).
inline std::string ArtifactPath(const char* name)
{
    std::string dir = std::string(QM_BIN_DIR) + "/../artifacts";
    ::CreateDirectoryA(dir.c_str(), NULL);
    return dir + "/" + name;
}

// Width and height of a text in a font.
inline CSize TextExtent(HFONT hFont, const char* text)
{
    HDC hdc = ::CreateCompatibleDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hdc, hFont);
    SIZE sz = {0, 0};
    ::GetTextExtentPoint32A(hdc, text, (int)strlen(text), &sz);
    TEXTMETRICA tm;
    ::GetTextMetricsA(hdc, &tm);
    sz.cy = tm.tmHeight;
    ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);
    return CSize(sz.cx, sz.cy);
}

} // namespace painttest
