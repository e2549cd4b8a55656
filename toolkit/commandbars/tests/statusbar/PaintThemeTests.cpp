// Drawing utilities of the paint themes, checked pixel by pixel.
#include <qx/paintmanager.h>
#include <qx/painttheme.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

// A 32-bit top-down bitmap selected into a memory DC.
class Canvas {
public:
    Canvas(int cx, int cy) : m_cx(cx)
    {
        BITMAPINFO bmi;
        std::memset(&bmi, 0, sizeof(bmi));
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        m_hdc = ::CreateCompatibleDC(NULL);
        m_hbm = ::CreateDIBSection(m_hdc, &bmi, DIB_RGB_COLORS, (void**)&m_pBits, NULL, 0);
        m_hOld = ::SelectObject(m_hdc, m_hbm);
        std::memset(m_pBits, 0xFF, (size_t)cx * cy * 4);
    }
    ~Canvas()
    {
        ::SelectObject(m_hdc, m_hOld);
        ::DeleteObject(m_hbm);
        ::DeleteDC(m_hdc);
    }
    CDC* dc() { return CDC::FromHandle(m_hdc); }
    COLORREF At(int x, int y)
    {
        ::GdiFlush();
        DWORD p = m_pBits[(size_t)y * m_cx + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int m_cx;
    HDC m_hdc;
    HBITMAP m_hbm;
    HGDIOBJ m_hOld;
    DWORD* m_pBits = NULL;
};

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs((int)GetRValue(a) - (int)GetRValue(b)) <= tolerance &&
           std::abs((int)GetGValue(a) - (int)GetGValue(b)) <= tolerance &&
           std::abs((int)GetBValue(a) - (int)GetBValue(b)) <= tolerance;
}

TEST(PaintTheme, ControlFrameIsAGradientInAFrame)
{
    QXPControlFrameColors colors;
    colors.clrFirst.SetStandard(RGB(255, 0, 0));
    colors.clrSecond.SetStandard(RGB(0, 0, 255));
    colors.clrSecond.Set(RGB(0, 255, 0)); // the override replaces the standard
    colors.clrFrame.SetStandard(RGB(10, 20, 30));

    for (BOOL bHorz : {TRUE, FALSE}) {
        Canvas canvas(60, 60);
        DrawControlFrame(NULL, canvas.dc(), CRect(0, 0, 60, 60), colors, bHorz);
        for (int i = 0; i < 60; i++) {
            EXPECT_EQ(RGB(10, 20, 30), canvas.At(i, 0));
            EXPECT_EQ(RGB(10, 20, 30), canvas.At(i, 59));
            EXPECT_EQ(RGB(10, 20, 30), canvas.At(0, i));
            EXPECT_EQ(RGB(10, 20, 30), canvas.At(59, i));
        }
        COLORREF start = bHorz ? canvas.At(1, 30) : canvas.At(30, 1);
        COLORREF end = bHorz ? canvas.At(58, 30) : canvas.At(30, 58);
        EXPECT_TRUE(Near(start, RGB(255, 0, 0), 16)) << std::hex << start << " horizontal " << bHorz;
        EXPECT_TRUE(Near(end, RGB(0, 255, 0), 16)) << std::hex << end << " horizontal " << bHorz;
        // Across the direction the colour does not change.
        COLORREF across0 = bHorz ? canvas.At(30, 2) : canvas.At(2, 30);
        COLORREF across1 = bHorz ? canvas.At(30, 57) : canvas.At(57, 30);
        EXPECT_EQ(across0, across1);
    }
    ReleaseGlobalPaintManager();
}

TEST(PaintTheme, LogFontZeroClearsEveryByte)
{
    LOGFONTA lf;
    std::memset(&lf, 0xAB, sizeof(lf));
    EXPECT_EQ(&lf, LogFontZero(&lf));
    const BYTE* p = reinterpret_cast<const BYTE*>(&lf);
    for (size_t i = 0; i < sizeof(lf); i++)
        ASSERT_EQ(0, p[i]) << i;
    EXPECT_EQ(nullptr, LogFontZero(NULL));
}

} // namespace
