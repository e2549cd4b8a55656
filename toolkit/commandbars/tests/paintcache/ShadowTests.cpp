// Drop shadows: the picture of a strip as a table of pixels, then real
// windows under Wine: menus of a command-bar frame and plain popup owners
// over a white backdrop. The shadows sit beside and under their owner (4
// pixels layered, 2 opaque pixels without layering), follow the theme and
// the system's drop-shadow setting (injected, never changed), leave the
// opening control and neighbouring popups clear, stretch with the owner,
// hide, show and go with it, and never take the mouse, the focus or the
// activation. A screenshot of a menu with its shadow is kept for review.
#include <qx/framehost.h>
#include <qx/popup.h>
#include <qx/barshadow.h>
#include <qx/shadowstrip.h>
#include <qx/themes.h>

#include <gtest/gtest.h>
#include <qmtest/cbframe.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>

#include <algorithm>
#include <cstdio>
#include <string>
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
    EXPECT_EQ(CRect(300, 52, 302, 250), QxpShadowStripRect(rcOwner, FALSE, QXP_SHADOW_THICKNESS_PLAIN));
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
    // and the filled image is the pixel function, top-down or bottom-up.
    for (COLORREF cr : {RGB(0, 0, 0), RGB(255, 255, 255), RGB(200, 40, 90)}) {
        for (BOOL bBottom : {TRUE, FALSE}) {
            int cx = bBottom ? 30 : 4, cy = bBottom ? 4 : 30;
            std::vector<DWORD> bits((size_t)cx * cy, 0xDEADBEEF);
            std::vector<DWORD> bitsUp((size_t)cx * cy, 0xDEADBEEF);
            QxpFillShadowBits(bits.data(), cx, cy, bBottom, cr, FALSE);
            QxpFillShadowBits(bitsUp.data(), cx, cy, bBottom, cr, FALSE, TRUE);
            for (int y = 0; y < cy; y++) {
                for (int x = 0; x < cx; x++) {
                    DWORD px = bits[(size_t)y * cx + x];
                    ASSERT_EQ(QxpShadowPixel(x, y, cx, cy, bBottom, cr, FALSE), px);
                    ASSERT_EQ(px, bitsUp[(size_t)(cy - 1 - y) * cx + x]) << "bottom-up rows run from the bottom";
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

TEST(ShadowPicture, CreateBitmap32AttachesABottomUpSectionOfThatSize)
{
    struct Case {
        int cx, cy;
        BOOL bMade;
    } cases[] = {{30, 4, TRUE}, {4, 300, TRUE}, {0, 4, FALSE}, {4, -2, FALSE}};
    for (const Case& c : cases) {
        CBitmap bitmap;
        void* pvBits = (void*)1;
        EXPECT_EQ(c.bMade, CreateBitmap32(&bitmap, c.cx, c.cy, &pvBits)) << c.cx << "x" << c.cy;
        if (!c.bMade) {
            EXPECT_EQ(nullptr, pvBits);
            EXPECT_EQ(nullptr, bitmap.GetSafeHandle());
            continue;
        }
        DIBSECTION ds = {};
        ASSERT_EQ((int)sizeof(ds), ::GetObjectA(bitmap.GetSafeHandle(), sizeof(ds), &ds));
        EXPECT_EQ(c.cx, ds.dsBmih.biWidth);
        EXPECT_EQ(c.cy, ds.dsBmih.biHeight) << "a positive height: bottom-up";
        EXPECT_EQ(32, ds.dsBmih.biBitCount);
        EXPECT_EQ(ds.dsBm.bmBits, pvBits);
        // A bitmap object that holds a bitmap already is left alone.
        HGDIOBJ hBefore = bitmap.GetSafeHandle();
        EXPECT_FALSE(CreateBitmap32(&bitmap, 8, 8));
        EXPECT_EQ(hBefore, bitmap.GetSafeHandle());
    }
}

TEST(ShadowTheme, EveryThemeCarriesItsShadowSettings)
{
    struct Case {
        int nTheme;
        BOOL bForce;
    } cases[] = {{qxpThemeWindows2000, FALSE}, {qxpThemeOfficeXP, TRUE}, {qxpThemeOffice2003, TRUE}, {qxpThemeWindowsXP, FALSE}, {qxpThemeWhidbey, TRUE}};
    ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "theme " << c.nTheme);
        SetGlobalPaintManager(c.nTheme);
        CQXPThemePainter* pPaintManager = GetGlobalPaintManager();
        EXPECT_EQ(c.bForce, pPaintManager->m_bForceShadows);
        EXPECT_EQ(CQXPThemePainter::qxpShadowClipExclude, pPaintManager->m_nShadowOptions);
        EXPECT_FALSE(pPaintManager->m_bShadowsOff);
        EXPECT_FALSE(pPaintManager->m_bShadowNoSaveBits);
        EXPECT_EQ(pColors->GetColor(qxColorShadow), pPaintManager->m_clrShadow.GetColor());
        // The shadow colour is refreshed with the other colours.
        pColors->SetColor(qxColorShadow, RGB(10, 20, 30));
        pPaintManager->RefreshMetrics();
        EXPECT_EQ(RGB(10, 20, 30), pPaintManager->m_clrShadow.GetColor());
        pColors->SetColor(qxColorShadow, QX_COLOR_NONE);
        pPaintManager->RefreshMetrics();
    }
    SetGlobalPaintManager(qxpThemeWindows2000);
}

// ---------------------------------------------------------------------------
// Real windows

using qmtest::PumpMessages;

CRect WindowRect(HWND hWnd)
{
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

// Whether the shadow window shows at a screen point: inside its rectangle
// and its region (when it has one).
bool Covers(HWND hShadow, CPoint pt)
{
    CRect rc = WindowRect(hShadow);
    if (!rc.PtInRect(pt))
        return false;
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    int nType = ::GetWindowRgn(hShadow, hRgn);
    bool bIn = nType == ERROR || ::PtInRegion(hRgn, pt.x - rc.left, pt.y - rc.top);
    ::DeleteObject(hRgn);
    return bIn;
}

bool HasWindowRegion(HWND hWnd)
{
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    int nType = ::GetWindowRgn(hWnd, hRgn);
    ::DeleteObject(hRgn);
    return nType != ERROR;
}

// Plain top-level windows: a white backdrop and grey popup owners.
HWND MakePlainWindow(const CRect& rc, BOOL bWhite, BOOL bTopmost)
{
    const char* pszClass = bWhite ? "QmShadowTestWhite" : "QmShadowTestGrey";
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(::GetModuleHandleA(NULL), pszClass, &wc)) {
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)::GetStockObject(bWhite ? WHITE_BRUSH : LTGRAY_BRUSH);
        wc.lpszClassName = pszClass;
        ::RegisterClassA(&wc);
    }
    HWND hWnd = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | (bTopmost ? WS_EX_TOPMOST : 0), pszClass, "",
                                  WS_POPUP, rc.left, rc.top, rc.Width(), rc.Height(), NULL, NULL,
                                  ::GetModuleHandleA(NULL), NULL);
    ::ShowWindow(hWnd, SW_SHOWNA);
    ::UpdateWindow(hWnd);
    return hWnd;
}

class CShadowFrame : public qmtest::CommandBarTestFrame {
public:
    CShadowFrame() : CommandBarTestFrame(IDR_TEST_MENU, &m_pMenuBar) {}
    CQXPMenuBar* m_pMenuBar = NULL;
};

// A frame with a menu bar over a white backdrop, the Office 2003 look (it
// forces shadows) and the system's drop-shadow setting injected as off.
class ShadowTest : public ::testing::Test {
protected:
    static BOOL s_bSystemDropShadow;
    static BOOL AFXAPI SystemDropShadow() { return s_bSystemDropShadow; }

    void SetUp() override
    {
        pShadows = GetLayeredShadowManager();
        bLayeredBefore = pShadows->IsLayered();
        s_bSystemDropShadow = FALSE;
        pShadows->SetDropShadowQuery(&SystemDropShadow);
        SetGlobalPaintManager(qxpThemeOffice2003);
        hBackdrop = MakePlainWindow(CRect(0, 0, 800, 600), TRUE, FALSE);
        ASSERT_TRUE(frame.Create(NULL, "Shadow test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(30, 30, 530, 400)));
        frame.RecalcLayout();
        pMenuBar = frame.m_pMenuBar;
        pFile = dynamic_cast<CQXPPopupBar*>(pMenuBar->GetControl(0)->GetCommandBar());
        ASSERT_NE(nullptr, pFile);
        PumpMessages();
    }

    void TearDown() override
    {
        pMenuBar->SetPopuped(-1);
        frame.DestroyWindow();
        for (HWND hWnd : owners)
            if (::IsWindow(hWnd))
                ::DestroyWindow(hWnd);
        ::DestroyWindow(hBackdrop);
        PumpMessages();
        EXPECT_EQ(0, pShadows->GetShadowCount()) << "no shadow outlives its owner";
        pShadows->SetLayered(bLayeredBefore);
        pShadows->SetDropShadowQuery(NULL);
        SetGlobalPaintManager(qxpThemeWindows2000);
    }

    // Opens the File menu from the menu bar.
    HWND OpenFile()
    {
        EXPECT_TRUE(pMenuBar->SetPopuped(0));
        PumpMessages();
        EXPECT_TRUE(::IsWindowVisible(pFile->GetSafeHwnd()));
        return pFile->GetSafeHwnd();
    }

    HWND MakeOwner(const CRect& rc)
    {
        HWND hWnd = MakePlainWindow(rc, FALSE, TRUE);
        owners.push_back(hWnd);
        return hWnd;
    }

    static HWND ShadowOf(const std::vector<CLayeredShadowWnd*>& shadows, BOOL bBottom, BOOL bControl = FALSE)
    {
        for (CLayeredShadowWnd* pShadow : shadows)
            if (pShadow->IsBottomShadow() == bBottom && pShadow->IsControlShadow() == bControl)
                return pShadow->GetSafeHwnd();
        return NULL;
    }

    CLayeredShadowManager* pShadows = NULL;
    BOOL bLayeredBefore = FALSE;
    HWND hBackdrop = NULL;
    CShadowFrame frame;
    CQXPMenuBar* pMenuBar = NULL;
    CQXPPopupBar* pFile = NULL;
    std::vector<HWND> owners;
};

BOOL ShadowTest::s_bSystemDropShadow = FALSE;

TEST_F(ShadowTest, AnOpenMenuCastsABottomAndARightStripOfItsKind)
{
    if (!pShadows->m_pfnUpdateLayeredWindow)
        GTEST_SKIP() << "platform limit: no UpdateLayeredWindow on this system (no compositor)";
    for (BOOL bLayered : {TRUE, FALSE}) {
        SCOPED_TRACE(bLayered ? "layered" : "opaque");
        pShadows->SetLayered(bLayered);
        ASSERT_EQ(bLayered, pShadows->IsLayered());
        HWND hPopup = OpenFile();
        std::vector<CLayeredShadowWnd*> shadows = pShadows->GetShadows(hPopup);
        ASSERT_EQ(2u, shadows.size());
        EXPECT_TRUE(shadows[0]->IsBottomShadow()) << "the bottom shadow is made first";
        EXPECT_FALSE(shadows[1]->IsBottomShadow());
        const int t = bLayered ? 4 : 2;
        const CRect rcPopup = WindowRect(hPopup);
        for (CLayeredShadowWnd* pShadow : shadows) {
            HWND hShadow = pShadow->GetSafeHwnd();
            EXPECT_EQ(QxpShadowStripRect(rcPopup, pShadow->IsBottomShadow(), t), WindowRect(hShadow));
            EXPECT_EQ(t, pShadow->GetThickness());
            EXPECT_EQ(bLayered, pShadow->IsLayeredShadow());
            EXPECT_EQ(hPopup, pShadow->GetShadowOwner());
            EXPECT_EQ(hPopup, ::GetWindow(hShadow, GW_OWNER));
            EXPECT_TRUE(::IsWindowVisible(hShadow));
            LONG_PTR nExStyle = ::GetWindowLongPtrA(hShadow, GWL_EXSTYLE);
            EXPECT_EQ(bLayered, (nExStyle & WS_EX_LAYERED) != 0);
            EXPECT_TRUE(nExStyle & WS_EX_TOOLWINDOW) << "no taskbar button";
            EXPECT_TRUE(nExStyle & WS_EX_TOPMOST);
            EXPECT_FALSE(::GetWindowLongPtrA(hShadow, GWL_STYLE) & WS_CHILD);
        }
        ::RedrawWindow(hPopup, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        for (CLayeredShadowWnd* pShadow : shadows)
            ::RedrawWindow(pShadow->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        qmtest::PumpFor(50);
        HDC hdc = ::GetDC(NULL);
        const int x = rcPopup.CenterPoint().x;
        COLORREF crIn = ::GetPixel(hdc, x, rcPopup.bottom);
        COLORREF crOut = ::GetPixel(hdc, x, rcPopup.bottom + t + 2);
        ::ReleaseDC(NULL, hdc);
        if (bLayered) {
            // Darker than the white backdrop just below it, but not opaque.
            EXPECT_LT(GetRValue(crIn) + GetGValue(crIn) + GetBValue(crIn),
                      GetRValue(crOut) + GetGValue(crOut) + GetBValue(crOut));
        } else {
            // An opaque strip in the button-shadow colour.
            EXPECT_EQ(GetGlobalPaintManager()->GetColor(COLOR_BTNSHADOW), crIn);
        }
        pMenuBar->SetPopuped(-1);
        PumpMessages();
        for (CLayeredShadowWnd* pShadow : pShadows->GetShadows(hPopup))
            EXPECT_FALSE(::IsWindowVisible(pShadow->GetSafeHwnd())) << "a closed menu shows no shadow";
    }
}

TEST_F(ShadowTest, TheThemeAndTheSystemSettingDecideWhetherAMenuHasShadows)
{
    const bool bCanLayer = pShadows->m_pfnUpdateLayeredWindow != NULL;
    struct Case {
        int nTheme;
        BOOL bSystemDropShadow;
        BOOL bLayered;
        BOOL bShadowsOff;
        int nExpected;
    } cases[] = {
        // The Office looks force shadows, layered or not.
        {qxpThemeOffice2003, FALSE, TRUE, FALSE, 2},
        {qxpThemeOffice2003, FALSE, FALSE, FALSE, 2},
        {qxpThemeOfficeXP, FALSE, TRUE, FALSE, 2},
        {qxpThemeWhidbey, FALSE, FALSE, FALSE, 2},
        // "Windows 2000" and "Windows XP" follow the system's setting, and
        // only with layered windows.
        {qxpThemeWindows2000, FALSE, TRUE, FALSE, 0},
        {qxpThemeWindows2000, TRUE, TRUE, FALSE, 2},
        {qxpThemeWindows2000, TRUE, FALSE, FALSE, 0},
        {qxpThemeWindowsXP, FALSE, TRUE, FALSE, 0},
        {qxpThemeWindowsXP, TRUE, TRUE, FALSE, 2},
        // A theme with shadows off has none at all.
        {qxpThemeOffice2003, TRUE, TRUE, TRUE, 0},
    };
    for (const Case& c : cases) {
        if (c.bLayered && !bCanLayer)
            continue;
        SCOPED_TRACE(::testing::Message() << "theme " << c.nTheme << " system " << c.bSystemDropShadow << " layered "
                                          << c.bLayered << " off " << c.bShadowsOff);
        SetGlobalPaintManager(c.nTheme);
        GetGlobalPaintManager()->m_bShadowsOff = c.bShadowsOff;
        s_bSystemDropShadow = c.bSystemDropShadow;
        pShadows->SetLayered(c.bLayered);
        HWND hPopup = OpenFile();
        EXPECT_EQ(c.nExpected, pShadows->GetShadowCount(hPopup));
        for (CLayeredShadowWnd* pShadow : pShadows->GetShadows(hPopup))
            EXPECT_TRUE(::IsWindowVisible(pShadow->GetSafeHwnd()));
        pMenuBar->SetPopuped(-1);
        PumpMessages();
    }

    // Owners excluded from shadows: a popup that does not want them, and any
    // popup while the command bars are being customized.
    SetGlobalPaintManager(qxpThemeOffice2003);
    HWND hPopup = OpenFile();
    ASSERT_EQ(2, pShadows->GetShadowCount(hPopup));
    pShadows->RemoveShadows(pFile);
    EXPECT_EQ(0, pShadows->GetShadowCount(hPopup));
    pFile->m_bShowShadow = FALSE;
    pShadows->SetShadow(pFile, CRect());
    EXPECT_EQ(0, pShadows->GetShadowCount(hPopup));
    pFile->m_bShowShadow = TRUE;
    frame.GetCommandBars()->SetCustomizeMode(TRUE);
    pShadows->SetShadow(pFile, CRect());
    EXPECT_EQ(0, pShadows->GetShadowCount(hPopup));
    frame.GetCommandBars()->SetCustomizeMode(FALSE);
    pShadows->SetShadow(pFile, CRect());
    EXPECT_EQ(2, pShadows->GetShadowCount(hPopup));
}

TEST_F(ShadowTest, TheOpeningControlIsCutOutOfTheShadow)
{
    // A menu that opened upward: its button lies right under it, where the
    // bottom shadow falls.
    HWND hPopup = OpenFile();
    const CRect rcPopup = WindowRect(hPopup);
    const CRect rcButton(rcPopup.left + 10, rcPopup.bottom, rcPopup.left + 60, rcPopup.bottom + 22);
    const int y = rcPopup.bottom + 1;
    struct Case {
        int nOptions;
        bool bCut;
    } cases[] = {{CQXPThemePainter::qxpShadowClipExclude, true}, {0, false}, {CQXPThemePainter::qxpShadowLight, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "options " << c.nOptions);
        GetGlobalPaintManager()->m_nShadowOptions = c.nOptions;
        pShadows->RemoveShadows(pFile);
        pShadows->SetShadow(pFile, rcButton);
        std::vector<CLayeredShadowWnd*> shadows = pShadows->GetShadows(hPopup);
        ASSERT_EQ(2u, shadows.size());
        HWND hBottom = ShadowOf(shadows, TRUE), hRight = ShadowOf(shadows, FALSE);
        EXPECT_EQ(c.nOptions, shadows[0]->GetShadowOptions());
        EXPECT_EQ(c.bCut, !!shadows[0]->HasRegion());
        EXPECT_EQ(c.bCut, HasWindowRegion(hBottom));
        EXPECT_EQ(!c.bCut, Covers(hBottom, CPoint(rcButton.left + 20, y))) << "over the button";
        EXPECT_TRUE(Covers(hBottom, CPoint(rcButton.right + 10, y))) << "beside the button";
        // The right strip does not meet the button: no region.
        EXPECT_FALSE(HasWindowRegion(hRight));
    }
}

TEST_F(ShadowTest, AShadowLeavesTheOtherPopupsClear)
{
    // A submenu that opened leftward over the edge of its menu: its right
    // strip and the end of its bottom strip fall on the menu.
    HWND hMenu = MakeOwner(CRect(300, 150, 400, 300));
    pShadows->SetShadow(hMenu, CRect());
    // A hidden popup (its shadows hidden with it) is no obstacle.
    HWND hHidden = MakeOwner(CRect(150, 90, 350, 110));
    pShadows->SetShadow(hHidden, CRect());
    ::ShowWindow(hHidden, SW_HIDE);
    HWND hSub = MakeOwner(CRect(200, 100, 300, 200));
    pShadows->SetShadow(hSub, CRect());
    HWND hOther = MakeOwner(CRect(500, 100, 600, 200));
    pShadows->SetShadow(hOther, CRect());

    std::vector<CLayeredShadowWnd*> sub = pShadows->GetShadows(hSub);
    ASSERT_EQ(2u, sub.size());
    HWND hSubRight = ShadowOf(sub, FALSE), hSubBottom = ShadowOf(sub, TRUE);
    EXPECT_TRUE(Covers(hSubRight, CPoint(301, 106))) << "beside the submenu, under the hidden popup";
    EXPECT_TRUE(Covers(hSubRight, CPoint(301, 149))) << "beside the submenu, above the menu";
    EXPECT_FALSE(Covers(hSubRight, CPoint(301, 150))) << "on the menu";
    EXPECT_FALSE(Covers(hSubRight, CPoint(301, 199))) << "on the menu";
    EXPECT_TRUE(Covers(hSubBottom, CPoint(250, 201)));
    EXPECT_TRUE(Covers(hSubBottom, CPoint(299, 200)));
    EXPECT_FALSE(Covers(hSubBottom, CPoint(300, 200))) << "on the menu";
    // The menu's own shadows were made before the submenu: nothing cut.
    for (CLayeredShadowWnd* pShadow : pShadows->GetShadows(hMenu))
        EXPECT_FALSE(pShadow->HasRegion());
    // Far from the others: nothing cut.
    for (CLayeredShadowWnd* pShadow : pShadows->GetShadows(hOther))
        EXPECT_FALSE(pShadow->HasRegion());

    // A real submenu of a real menu never darkens its menu.
    CQXPPopupBar* pEdit = dynamic_cast<CQXPPopupBar*>(pMenuBar->GetControl(1)->GetCommandBar());
    ASSERT_NE(nullptr, pEdit);
    ASSERT_TRUE(pMenuBar->SetPopuped(1));
    PumpMessages();
    CQXPControl* pEncoding = pEdit->GetControl(1);
    ASSERT_NE(nullptr, pEncoding);
    CQXPCommandBar* pSubBar = pEncoding->GetCommandBar();
    ASSERT_NE(nullptr, pSubBar);
    ASSERT_TRUE(pEdit->SetPopuped(1));
    PumpMessages();
    ASSERT_TRUE(::IsWindowVisible(pSubBar->GetSafeHwnd()));
    const CRect rcEdit = WindowRect(pEdit->GetSafeHwnd());
    std::vector<CLayeredShadowWnd*> subShadows = pShadows->GetShadows(pSubBar->GetSafeHwnd());
    ASSERT_EQ(2u, subShadows.size());
    for (CLayeredShadowWnd* pShadow : subShadows) {
        HWND hShadow = pShadow->GetSafeHwnd();
        CRect rc = WindowRect(hShadow);
        for (int y = rc.top; y < rc.bottom; y++)
            for (int x = rc.left; x < rc.right; x++)
                if (rcEdit.PtInRect(CPoint(x, y))) {
                    ASSERT_FALSE(Covers(hShadow, CPoint(x, y))) << x << "," << y;
                }
    }
    pMenuBar->SetPopuped(-1);
}

TEST_F(ShadowTest, ShadowsStretchWithTheirOwner)
{
    struct Case {
        int dx, dy;
        BOOL bLayered;
    } cases[] = {{12, 0, TRUE}, {0, 9, TRUE}, {15, -6, TRUE}, {-8, 20, TRUE}, {10, 10, FALSE}};
    for (const Case& c : cases) {
        if (c.bLayered && !pShadows->m_pfnUpdateLayeredWindow)
            continue;
        SCOPED_TRACE(::testing::Message() << "dx " << c.dx << " dy " << c.dy << " layered " << c.bLayered);
        pShadows->SetLayered(c.bLayered);
        const CRect rcOwner(200, 100, 320, 260);
        HWND hOwner = MakeOwner(rcOwner);
        pShadows->SetShadow(hOwner, CRect());
        // A control's shadow belongs to the popup too, but stays with its
        // control.
        const CRect rcControl(150, 70, 200, 100);
        CLayeredShadowWnd* pControlShadow = pShadows->CreateShadow(FALSE, rcControl, CRect(), hOwner, TRUE);
        ASSERT_NE(nullptr, pControlShadow);
        const CRect rcControlShadow = WindowRect(pControlShadow->GetSafeHwnd());

        ::SetWindowPos(hOwner, NULL, 0, 0, rcOwner.Width() + c.dx, rcOwner.Height() + c.dy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        pShadows->OffsetShadows(hOwner, c.dx, c.dy);
        const CRect rcGrown = WindowRect(hOwner);
        const int t = c.bLayered ? 4 : 2;
        std::vector<CLayeredShadowWnd*> shadows = pShadows->GetShadows(hOwner);
        ASSERT_EQ(3u, shadows.size());
        EXPECT_EQ(QxpShadowStripRect(rcGrown, TRUE, t), WindowRect(ShadowOf(shadows, TRUE)));
        EXPECT_EQ(QxpShadowStripRect(rcGrown, FALSE, t), WindowRect(ShadowOf(shadows, FALSE)));
        EXPECT_EQ(rcControlShadow, WindowRect(pControlShadow->GetSafeHwnd()));
        ::DestroyWindow(hOwner);
        EXPECT_EQ(0, pShadows->GetShadowCount(hOwner));
    }

    // The cut of the opening control is made again at the new size.
    pShadows->SetLayered(bLayeredBefore);
    HWND hOwner = MakeOwner(CRect(200, 100, 320, 260));
    const CRect rcButton(210, 260, 250, 280);
    pShadows->SetShadow(hOwner, rcButton);
    HWND hBottom = ShadowOf(pShadows->GetShadows(hOwner), TRUE);
    ASSERT_FALSE(Covers(hBottom, CPoint(230, 261)));
    ::SetWindowPos(hOwner, NULL, 0, 0, 150, 160, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    pShadows->OffsetShadows(hOwner, 30, 0);
    EXPECT_FALSE(Covers(hBottom, CPoint(230, 261))) << "the button stays clear";
    EXPECT_TRUE(Covers(hBottom, CPoint(340, 261))) << "the new part of the strip shows";
}

TEST_F(ShadowTest, ShadowsHideShowAndGoWithTheirOwner)
{
    HWND hOwner = MakeOwner(CRect(200, 100, 320, 260));
    HWND hKeep = MakeOwner(CRect(400, 100, 500, 200));
    pShadows->SetShadow(hOwner, CRect());
    pShadows->SetShadow(hKeep, CRect());
    std::vector<CLayeredShadowWnd*> shadows = pShadows->GetShadows(hOwner);
    ASSERT_EQ(2u, shadows.size());
    const HWND hShadows[2] = {shadows[0]->GetSafeHwnd(), shadows[1]->GetSafeHwnd()};
    auto visible = [&](BOOL bVisible) {
        for (HWND hShadow : hShadows)
            EXPECT_EQ(bVisible, ::IsWindowVisible(hShadow));
    };
    EXPECT_TRUE(CWindowHookManager::Instance()->IsHooked(hOwner));
    visible(TRUE);
    ::ShowWindow(hOwner, SW_HIDE);
    visible(FALSE);
    ::ShowWindow(hOwner, SW_SHOWNA);
    visible(TRUE);
    // Hidden through SetWindowPos (no WM_SHOWWINDOW) they hide too.
    ::SetWindowPos(hOwner, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    visible(FALSE);
    ::ShowWindow(hOwner, SW_SHOWNA);
    visible(TRUE);

    // Destroyed: both shadows go, the owner is unhooked, the other owner's
    // shadows stay.
    ::DestroyWindow(hOwner);
    EXPECT_EQ(0, pShadows->GetShadowCount(hOwner));
    for (HWND hShadow : hShadows)
        EXPECT_FALSE(::IsWindow(hShadow));
    EXPECT_FALSE(CWindowHookManager::Instance()->IsHooked(hOwner));
    EXPECT_EQ(2, pShadows->GetShadowCount(hKeep));

    // One shadow removed alone; then the rest of the owner's.
    std::vector<CLayeredShadowWnd*> keep = pShadows->GetShadows(hKeep);
    HWND hFirst = keep[0]->GetSafeHwnd();
    pShadows->RemoveShadow(keep[0]);
    EXPECT_FALSE(::IsWindow(hFirst));
    EXPECT_EQ(1, pShadows->GetShadowCount(hKeep));
    EXPECT_TRUE(CWindowHookManager::Instance()->IsHooked(hKeep));
    pShadows->RemoveShadows(hKeep);
    EXPECT_EQ(0, pShadows->GetShadowCount(hKeep));
    EXPECT_FALSE(CWindowHookManager::Instance()->IsHooked(hKeep));
    EXPECT_TRUE(::IsWindow(hKeep));

    // A menu destroyed while open takes its shadows along.
    OpenFile();
    HWND hPopup = pFile->GetSafeHwnd();
    ASSERT_EQ(2, pShadows->GetShadowCount(hPopup));
    pFile->DestroyWindow();
    EXPECT_EQ(0, pShadows->GetShadowCount(hPopup));
}

TEST_F(ShadowTest, TheMouseTheFocusAndTheActivationGoPastAShadow)
{
    ::SetForegroundWindow(frame.GetSafeHwnd());
    HWND hEdit = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, 20, 120, 200, 24,
                                   frame.GetSafeHwnd(), NULL, NULL, NULL);
    ::SetFocus(hEdit);
    PumpMessages();
    const HWND hForeground = ::GetForegroundWindow();
    const HWND hActive = ::GetActiveWindow();
    ASSERT_EQ(hEdit, ::GetFocus());

    for (BOOL bLayered : {TRUE, FALSE}) {
        if (bLayered && !pShadows->m_pfnUpdateLayeredWindow)
            continue;
        SCOPED_TRACE(bLayered ? "layered" : "opaque");
        pShadows->SetLayered(bLayered);
        // An owner out on the backdrop, away from the frame.
        HWND hOwner = MakeOwner(CRect(580, 100, 700, 260));
        pShadows->SetShadow(hOwner, CRect());
        PumpMessages();
        std::vector<CLayeredShadowWnd*> shadows = pShadows->GetShadows(hOwner);
        ASSERT_EQ(2u, shadows.size());
        for (CLayeredShadowWnd* pShadow : shadows) {
            HWND hShadow = pShadow->GetSafeHwnd();
            CRect rc = WindowRect(hShadow);
            EXPECT_EQ(HTTRANSPARENT, ::SendMessageA(hShadow, WM_NCHITTEST, 0, MAKELPARAM(rc.left, rc.top)));
            EXPECT_EQ(hBackdrop, ::WindowFromPoint(rc.CenterPoint())) << "the window under the shadow";
        }
        // Opening a menu with shadows moves neither focus nor activation.
        OpenFile();
        EXPECT_EQ(2, pShadows->GetShadowCount(pFile->GetSafeHwnd()));
        EXPECT_EQ(hForeground, ::GetForegroundWindow());
        EXPECT_EQ(hActive, ::GetActiveWindow());
        EXPECT_EQ(hEdit, ::GetFocus()) << "the focus stays where it was";
        pMenuBar->SetPopuped(-1);
        ::DestroyWindow(hOwner);
    }
}

TEST_F(ShadowTest, AnExpandedMenuTitleIsJoinedToItsMenu)
{
    CQXPControlPopup* pTitle = dynamic_cast<CQXPControlPopup*>(pMenuBar->GetControl(0));
    ASSERT_NE(nullptr, pTitle);
    CQXPThemePainter* pPaintManager = GetGlobalPaintManager();

    // Both option bits: the title gets the two shadows that join it to its
    // menu; they belong to the menu.
    pPaintManager->m_nShadowOptions = CQXPThemePainter::qxpShadowLight | CQXPThemePainter::qxpShadowClipExclude;
    HWND hPopup = OpenFile();
    std::vector<CLayeredShadowWnd*> shadows = pShadows->GetShadows(hPopup);
    ASSERT_EQ(4u, shadows.size());
    CRect rcTitle = pTitle->GetRect();
    ::MapWindowPoints(pMenuBar->GetSafeHwnd(), NULL, (LPPOINT)&rcTitle, 2);
    const CRect rcPopup = WindowRect(hPopup);
    HWND hTitleRight = ShadowOf(shadows, FALSE, TRUE), hTitleBottom = ShadowOf(shadows, TRUE, TRUE);
    ASSERT_TRUE(hTitleRight && hTitleBottom);
    const int t = shadows[0]->GetThickness();
    EXPECT_EQ(QxpShadowStripRect(rcTitle, FALSE, t), WindowRect(hTitleRight));
    EXPECT_EQ(QxpShadowStripRect(rcTitle, TRUE, t), WindowRect(hTitleBottom));
    EXPECT_TRUE(Covers(hTitleRight, CPoint(rcTitle.right, rcTitle.CenterPoint().y))) << "beside the title";
    CRect rc = WindowRect(hTitleBottom);
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++)
            if (rcPopup.PtInRect(CPoint(x, y))) {
                ASSERT_FALSE(Covers(hTitleBottom, CPoint(x, y))) << "never over the menu " << x << "," << y;
            }
    // Growing the menu leaves the title's shadows where they are.
    CRect rcTitleRight = WindowRect(hTitleRight);
    pShadows->OffsetShadows(pFile, 10, 10);
    EXPECT_EQ(rcTitleRight, WindowRect(hTitleRight));
    pMenuBar->SetPopuped(-1);
    PumpMessages();

    // The title's own flag, the default options and customize mode: only
    // the menu's shadows.
    pTitle->m_bShadow = FALSE;
    EXPECT_EQ(2, pShadows->GetShadowCount(OpenFile()));
    pMenuBar->SetPopuped(-1);
    pTitle->m_bShadow = TRUE;
    pPaintManager->m_nShadowOptions = CQXPThemePainter::qxpShadowClipExclude;
    // Each opening makes the menu's window anew.
    hPopup = OpenFile();
    EXPECT_EQ(2, pShadows->GetShadowCount(hPopup));
    pPaintManager->m_nShadowOptions = CQXPThemePainter::qxpShadowLight | CQXPThemePainter::qxpShadowClipExclude;
    frame.GetCommandBars()->SetCustomizeMode(TRUE);
    pShadows->SetControlShadow(pTitle);
    EXPECT_EQ(2, pShadows->GetShadowCount(hPopup));
    frame.GetCommandBars()->SetCustomizeMode(FALSE);
    pShadows->SetControlShadow(pTitle);
    EXPECT_EQ(4, pShadows->GetShadowCount(hPopup));
    // Asked again, the title's shadows are replaced, not doubled.
    pShadows->SetControlShadow(pTitle);
    EXPECT_EQ(4, pShadows->GetShadowCount(hPopup));
}

// Writes a top-down BGRA image as a PNG in the build's screenshot folder.
bool SaveImagePng(const std::vector<DWORD>& image, int cx, int cy, const char* pszName)
{
    std::string strPath = qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + pszName;
    FILE* fp = fopen(strPath.c_str(), "wb");
    if (!fp)
        return false;
    bool bOk = qmtest::WritePngRgb(fp, (const BYTE*)image.data(), cx, cy);
    fclose(fp);
    return bOk;
}

TEST_F(ShadowTest, AMenuWithItsShadowOverWhite)
{
    // Kept for review: the menu and its shadow on a white window, put where
    // the menu opens before it opens again.
    HWND hPopup = OpenFile();
    CRect rcWhite = WindowRect(hPopup);
    pMenuBar->SetPopuped(-1);
    rcWhite.InflateRect(40, 0, 40, 40);
    owners.push_back(MakePlainWindow(rcWhite, TRUE, FALSE));
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hPopup)) << "the closed menu's window went";
    hPopup = OpenFile();
    ASSERT_TRUE(::IsWindow(hPopup));
    ASSERT_EQ(2, pShadows->GetShadowCount(hPopup));
    const CRect rcPopup = WindowRect(hPopup);
    ::RedrawWindow(hPopup, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    qmtest::PumpFor(100);
    CRect rcShot = rcPopup;
    rcShot.InflateRect(16, 16);
    std::string strPath = qmtest::ScreenshotDir(QM_BIN_DIR) + "/popup-shadow.png";
    EXPECT_TRUE(qmtest::SaveScreenPng(rcShot, strPath)) << strPath;

    // A display without a compositor shows layered windows unblended, so
    // the picture is also blended here, over white, as a composing desktop
    // shows it: the same strips at the same places.
    const int cx = rcShot.Width(), cy = rcShot.Height();
    std::vector<DWORD> image((size_t)cx * cy, 0x00FFFFFF);
    CRect rcMenu = rcPopup;
    rcMenu.OffsetRect(-rcShot.left, -rcShot.top);
    for (int y = rcMenu.top; y < rcMenu.bottom; y++)
        for (int x = rcMenu.left; x < rcMenu.right; x++)
            image[(size_t)y * cx + x] = (x == rcMenu.left || x == rcMenu.right - 1 || y == rcMenu.top ||
                                         y == rcMenu.bottom - 1)
                                            ? 0x00808080
                                            : 0x00F6F6F6;
    const COLORREF crShadow = GetGlobalPaintManager()->m_clrShadow.GetColor();
    for (BOOL bBottom : {TRUE, FALSE}) {
        CRect rcStrip = QxpShadowStripRect(rcMenu, bBottom);
        std::vector<DWORD> strip((size_t)rcStrip.Width() * rcStrip.Height());
        QxpFillShadowBits(strip.data(), rcStrip.Width(), rcStrip.Height(), bBottom, crShadow, FALSE);
        for (int y = 0; y < rcStrip.Height(); y++) {
            for (int x = 0; x < rcStrip.Width(); x++) {
                DWORD src = strip[(size_t)y * rcStrip.Width() + x];
                DWORD& dst = image[(size_t)(rcStrip.top + y) * cx + rcStrip.left + x];
                const DWORD a = src >> 24;
                DWORD out = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    DWORD c = ((src >> shift) & 0xFF) + ((dst >> shift) & 0xFF) * (255 - a) / 255;
                    out |= std::min<DWORD>(c, 255) << shift;
                }
                dst = out;
            }
        }
    }
    EXPECT_TRUE(SaveImagePng(image, cx, cy, "popup-shadow-blended.png"));
    // Next to the menu the shadow is darkest, fading outward.
    const DWORD* pRow = &image[(size_t)(rcMenu.top + rcMenu.Height() / 2) * cx];
    EXPECT_LT(pRow[rcMenu.right] & 0xFF, pRow[rcMenu.right + 3] & 0xFF);
    EXPECT_LT(pRow[rcMenu.right + 3] & 0xFF, pRow[rcMenu.right + 4] & 0xFF);
}

// ---------------------------------------------------------------------------
// A manager of its own: what it does when windows went away behind its back.

TEST(LayeredShadowManager, WindowsThatWentAwayUnseenAreNeverTouched)
{
    CLayeredShadowManager* pManager = new CLayeredShadowManager;
    pManager->SetDropShadowQuery([]() -> BOOL { return TRUE; });
    HWND hGone = MakePlainWindow(CRect(100, 100, 200, 200), FALSE, TRUE);
    pManager->SetShadow(hGone, CRect());
    ASSERT_EQ(2, pManager->GetShadowCount(hGone));
    // A shadow window destroyed by someone else, then the owner destroyed
    // after its hooks were taken off: the manager never saw either.
    ::DestroyWindow(pManager->GetShadows(hGone)[0]->GetSafeHwnd());
    CWindowHookManager::Instance()->RemoveHooks(hGone);
    ::DestroyWindow(hGone);
    EXPECT_EQ(2, pManager->GetShadowCount(NULL));
    // The next shadow drops what is left of them.
    HWND hOwner = MakePlainWindow(CRect(300, 100, 400, 200), FALSE, TRUE);
    pManager->SetShadow(hOwner, CRect());
    EXPECT_EQ(2, pManager->GetShadowCount(NULL));
    EXPECT_EQ(2, pManager->GetShadowCount(hOwner));
    std::vector<HWND> live;
    for (CLayeredShadowWnd* pShadow : pManager->GetShadows(hOwner))
        live.push_back(pShadow->GetSafeHwnd());
    // One of these goes behind the manager's back too; at the end the
    // manager destroys only what still exists.
    ::DestroyWindow(live[1]);
    delete pManager;
    EXPECT_FALSE(::IsWindow(live[0]));
    EXPECT_FALSE(CWindowHookManager::Instance()->IsHooked(hOwner));
    EXPECT_TRUE(::IsWindow(hOwner));
    ::DestroyWindow(hOwner);
}

} // namespace
