// Popup shadows: the picture of a strip as a table of pixels, then a real
// menu popup under the Office look: its shadow strips sit beside and under
// it, never take the activation, the focus or the mouse, and go with it. A
// screenshot of the popup with its shadow is kept for review.
#include <qx/framehost.h>
#include <qx/shadow.h>
#include <qx/shadows.h>

#include <gtest/gtest.h>
#include <qmtest/screenshot.h>

#include <vector>

#include "cbtest_ids.h"

namespace {

BYTE Alpha(DWORD px)
{
    return (BYTE)(px >> 24);
}
BYTE Red(DWORD px)
{
    return (BYTE)(px >> 16);
}

TEST(ShadowPicture, StripsSitBesideAndUnderTheOwner)
{
    const CRect rcOwner(100, 50, 300, 250);
    EXPECT_EQ(CRect(104, 250, 304, 254), QxpShadowStripRect(rcOwner, TRUE));
    EXPECT_EQ(CRect(300, 54, 304, 250), QxpShadowStripRect(rcOwner, FALSE));
    EXPECT_EQ(CRect(102, 250, 302, 252), QxpShadowStripRect(rcOwner, TRUE, QXP_SHADOW_THICKNESS_PLAIN));
    EXPECT_TRUE(QxpShadowStripRect(CRect(100, 50, 100, 250), TRUE).IsRectEmpty());
}

TEST(ShadowPicture, TheRampFadesOutwardAndTheEndsFadeTowardsTheEnd)
{
    const COLORREF crGrey = RGB(80, 80, 80);
    struct Case {
        BOOL bBottom;
        BOOL bLight;
        int x, y;
        int nAlpha;
        int nRed;
    } cases[] = {
        // Bottom strip 20 x 4: the body, from the owner's edge outward.
        {TRUE, FALSE, 10, 0, 120, 80},
        {TRUE, FALSE, 10, 1, 90, 60},
        {TRUE, FALSE, 10, 2, 60, 40},
        {TRUE, FALSE, 10, 3, 30, 20},
        // A light shadow: half the alpha; no channel above its alpha.
        {TRUE, TRUE, 10, 0, 60, 60},
        {TRUE, TRUE, 10, 3, 15, 15},
        // The left end: outermost corner, innermost corner.
        {TRUE, FALSE, 0, 3, 6, 4},
        {TRUE, FALSE, 3, 0, 96, 64},
        {TRUE, TRUE, 3, 0, 48, 48},
        // The right end mirrors the left one.
        {TRUE, FALSE, 19, 0, 24, 16},
        {TRUE, FALSE, 16, 0, 96, 64},
        // Right strip 4 x 20: body across, the top end fades, the bottom end
        // has no corner (the bottom strip covers it).
        {FALSE, FALSE, 0, 10, 120, 80},
        {FALSE, FALSE, 3, 10, 30, 20},
        {FALSE, FALSE, 0, 0, 24, 16},
        {FALSE, FALSE, 0, 3, 96, 64},
        {FALSE, FALSE, 0, 19, 120, 80},
    };
    for (const Case& c : cases) {
        int cx = c.bBottom ? 20 : 4, cy = c.bBottom ? 4 : 20;
        DWORD px = QxpShadowPixel(c.x, c.y, cx, cy, c.bBottom, crGrey, c.bLight);
        EXPECT_EQ(c.nAlpha, Alpha(px)) << (c.bBottom ? "bottom " : "right ") << c.x << "," << c.y;
        EXPECT_EQ(c.nRed, Red(px)) << (c.bBottom ? "bottom " : "right ") << c.x << "," << c.y;
    }

    // Whatever the colour, the strip only darkens (premultiplied pixels),
    // and the filled image is the pixel function.
    for (COLORREF cr : {RGB(0, 0, 0), RGB(255, 255, 255), RGB(200, 40, 90)}) {
        for (BOOL bBottom : {TRUE, FALSE}) {
            int cx = bBottom ? 30 : 4, cy = bBottom ? 4 : 30;
            std::vector<DWORD> bits((size_t)cx * cy, 0xDEADBEEF);
            QxpFillShadowBits(bits.data(), cx, cy, bBottom, cr, FALSE);
            for (int y = 0; y < cy; y++) {
                for (int x = 0; x < cx; x++) {
                    DWORD px = bits[(size_t)y * cx + x];
                    ASSERT_EQ(QxpShadowPixel(x, y, cx, cy, bBottom, cr, FALSE), px);
                    BYTE a = Alpha(px);
                    ASSERT_GT(a, 0) << x << "," << y;
                    ASSERT_LE((BYTE)(px >> 16), a);
                    ASSERT_LE((BYTE)(px >> 8), a);
                    ASSERT_LE((BYTE)px, a);
                }
            }
        }
    }
    // A strip shorter than its two ends still fades at both.
    DWORD pxShort = QxpShadowPixel(2, 0, 5, 4, TRUE, crGrey, FALSE);
    EXPECT_EQ(3 * 3 * 4 * 2, Alpha(pxShort));
}

// ---------------------------------------------------------------------------
// A real popup

void PumpPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

class CShadowFrame : public CQXPMDIFrameWnd {
public:
    CQXPMenuBar* m_pMenuBar = NULL;
    void PostNcDestroy() override {}

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpcs)
    {
        if (CQXPMDIFrameWnd::OnCreate(lpcs) == -1 || !InitCommandBars())
            return -1;
        m_pMenuBar = GetCommandBars()->SetMenu("Menu Bar", IDR_TEST_MENU);
        return m_pMenuBar ? 0 : -1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CShadowFrame, CQXPMDIFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(PopupShadow, AMenuShadowNeverTakesActivationFocusOrMouseAndGoesWithIt)
{
    CQXPShadowManager* pShadows = CQXPShadowManager::Instance();
    if (!pShadows->IsLayered())
        GTEST_SKIP() << "no layered windows on this system";
    CShadowFrame frame;
    ASSERT_TRUE(frame.Create(NULL, "Shadow test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(30, 30, 530, 400)));
    frame.RecalcLayout();
    ::SetForegroundWindow(frame.GetSafeHwnd());
    HWND hEdit = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, 20, 120, 200, 24,
                                   frame.GetSafeHwnd(), NULL, NULL, NULL);
    ::SetFocus(hEdit);
    PumpPending();
    const HWND hForeground = ::GetForegroundWindow();
    const HWND hActive = ::GetActiveWindow();
    ASSERT_EQ(hEdit, ::GetFocus());

    SetGlobalPaintManager(2);  // the Office 2003 look draws shadows
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    CQXPCommandBar* pFile = pMenuBar->GetControl(0)->GetCommandBar();
    ASSERT_NE(nullptr, pFile);
    ASSERT_TRUE(pMenuBar->SetPopuped(0));
    PumpPending();
    HWND hPopup = pFile->GetSafeHwnd();
    ASSERT_TRUE(::IsWindowVisible(hPopup));
    std::vector<HWND> shadows = pShadows->GetShadowWindows(hPopup);
    ASSERT_EQ(2u, shadows.size());

    CRect rcPopup;
    ::GetWindowRect(hPopup, &rcPopup);
    for (HWND hShadow : shadows) {
        CRect rc;
        ::GetWindowRect(hShadow, &rc);
        // Beside the right edge or under the bottom edge, touching it.
        bool bRight = rc.left == rcPopup.right && rc.Width() == QXP_SHADOW_SIZE;
        bool bBottom = rc.top == rcPopup.bottom && rc.Height() == QXP_SHADOW_SIZE;
        EXPECT_TRUE(bRight || bBottom) << rc.left << "," << rc.top << " " << rc.Width() << "x" << rc.Height();
        EXPECT_TRUE(::IsWindowVisible(hShadow));
        LONG_PTR nExStyle = ::GetWindowLongPtrA(hShadow, GWL_EXSTYLE);
        EXPECT_TRUE(nExStyle & WS_EX_NOACTIVATE);
        EXPECT_TRUE(nExStyle & WS_EX_TOOLWINDOW) << "no taskbar button";
        EXPECT_FALSE(::GetWindowLongPtrA(hShadow, GWL_STYLE) & WS_CHILD);
        // The mouse reaches the window under the shadow.
        EXPECT_NE(hShadow, ::WindowFromPoint(rc.CenterPoint()));
    }
    EXPECT_EQ(hForeground, ::GetForegroundWindow());
    EXPECT_EQ(hActive, ::GetActiveWindow());
    EXPECT_EQ(hEdit, ::GetFocus()) << "the focus stays where it was";

    // Kept for review: the popup and its shadow.
    ::RedrawWindow(hPopup, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpPending();
    ::Sleep(50);
    CRect rcShot = rcPopup;
    rcShot.InflateRect(16, 16);
    std::string strPath = qmtest::ScreenshotDir(QM_BIN_DIR) + "/popup-shadow.png";
    EXPECT_TRUE(qmtest::SaveScreenPng(rcShot, strPath)) << strPath;
    // Under the bottom strip, away from its ends, the screen is darker than
    // just below the shadow.
    HDC hdc = ::GetDC(NULL);
    COLORREF crIn = ::GetPixel(hdc, rcPopup.CenterPoint().x, rcPopup.bottom);
    COLORREF crOut = ::GetPixel(hdc, rcPopup.CenterPoint().x, rcPopup.bottom + QXP_SHADOW_SIZE + 2);
    ::ReleaseDC(NULL, hdc);
    EXPECT_LT(GetRValue(crIn) + GetGValue(crIn) + GetBValue(crIn), GetRValue(crOut) + GetGValue(crOut) + GetBValue(crOut));

    // Closing the menu takes both strips away.
    pMenuBar->SetPopuped(-1);
    PumpPending();
    EXPECT_EQ(0, pShadows->GetShadowCount(hPopup));
    for (HWND hShadow : shadows)
        EXPECT_FALSE(::IsWindow(hShadow) && ::IsWindowVisible(hShadow));
    EXPECT_EQ(hEdit, ::GetFocus());

    SetGlobalPaintManager(0);
    frame.DestroyWindow();
    PumpPending();
}

}  // namespace
