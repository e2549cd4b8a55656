// The show animation of popups on real windows under Wine: the kind comes
// from the manager's option, every kind ends with the finished menu at its
// place, and the animation leaves no timer or mouse capture behind.
#include <qx/commandbars.h>
#include <qx/framehost.h>
#include <qx/paintmanager.h>
#include <qx/popup.h>
#include <qx/themes.h>

#include <gtest/gtest.h>
#include <qmtest/cbframe.h>
#include <qmtest/popupbar.h>

#include <functional>
#include <string>
#include <vector>

#include "cbtest_ids.h"
#include <qmtest/pump.h>

namespace {

const UINT_PTR kFadeTimer = 707907;

// The pixels of a 32-bit bottom-up copy, colour bytes only.
struct Pixels {
    int cx = 0, cy = 0;
    std::vector<DWORD> data;
    bool operator==(const Pixels& o) const { return cx == o.cx && cy == o.cy && data == o.data; }
};

// Copies cx x cy pixels of hdc into a 32-bit picture; draw, when given,
// paints into the picture instead of copying.
template <typename F>
Pixels Capture(HDC hdcRef, int cx, int cy, F draw)
{
    Pixels px;
    px.cx = cx;
    px.cy = cy;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = NULL;
    HBITMAP hbm = ::CreateDIBSection(hdcRef, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    if (!hbm || !pBits)
        return px;
    HDC hdcMem = ::CreateCompatibleDC(hdcRef);
    HGDIOBJ hOld = ::SelectObject(hdcMem, hbm);
    draw(hdcMem);
    ::GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(pBits);
    px.data.assign(p, p + (size_t)cx * (size_t)cy);
    for (DWORD& d : px.data)
        d &= 0x00FFFFFF;
    ::SelectObject(hdcMem, hOld);
    ::DeleteDC(hdcMem);
    ::DeleteObject(hbm);
    return px;
}

class PopupAnimationTest : public ::testing::Test {
protected:
    CWnd frame;
    CQXPCommandBars* pBars = nullptr;
    CQXPPopupBar* pPopup = nullptr;

    void SetUp() override
    {
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(NULL, IDC_ARROW));
        ASSERT_TRUE(frame.CreateEx(0, lpszClass, "Popup animation test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640,
                                   400, NULL, NULL));
        pBars = CQXPCommandBars::CreateCommandBars(&frame);
        ASSERT_NE(nullptr, pBars);
        qmtest::PumpMessages();
    }
    void TearDown() override
    {
        qmtest::ReleasePopupBar(pPopup);
        if (pBars)
            pBars->InternalRelease();
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        qmtest::PumpMessages();
    }
    CQXPPopupBar* MakePopup()
    {
        pPopup = CQXPPopupBar::CreateForOwner(pBars);
        pPopup->SetOwnerSite(&frame);
        for (int i = 0; i < 5; i++) {
            CQXPControl* pControl = pPopup->GetControls()->Add(qxpControlButton, 100 + i);
            pControl->SetCaption(CString("Command ") + std::to_string(i).c_str());
        }
        return pPopup;
    }

    // What the window shows now, read back from its DC.
    Pixels Shown()
    {
        CRect rc;
        pPopup->GetClientRect(&rc);
        HDC hdc = ::GetDC(pPopup->GetSafeHwnd());
        Pixels px =
            Capture(hdc, rc.Width(), rc.Height(), [&](HDC hdcMem) { ::BitBlt(hdcMem, 0, 0, rc.Width(), rc.Height(), hdc, 0, 0, SRCCOPY); });
        ::ReleaseDC(pPopup->GetSafeHwnd(), hdc);
        return px;
    }
    // The finished menu, drawn off-screen.
    Pixels Finished()
    {
        CRect rc;
        pPopup->GetClientRect(&rc);
        HDC hdc = ::GetDC(pPopup->GetSafeHwnd());
        Pixels px = Capture(hdc, rc.Width(), rc.Height(), [&](HDC hdcMem) {
            CDC dc;
            dc.Attach(hdcMem);
            pPopup->DrawCommandBar(&dc, rc);
            dc.Detach();
        });
        ::ReleaseDC(pPopup->GetSafeHwnd(), hdc);
        return px;
    }
};

TEST_F(PopupAnimationTest, KindFollowsTheManagerOption)
{
    MakePopup();
    struct Case {
        int nOption;
        int nExpected;
    } cases[] = {
        {qxpAnimateUnfold, qxpAnimateUnfold},
        {qxpAnimateSlide, qxpAnimateSlide},
        {qxpAnimateFade, qxpAnimateFade},
        {CQXPPopupBar::kAnimationNone, CQXPPopupBar::kAnimationNone},
    };
    for (const Case& c : cases) {
        pBars->GetOptions()->m_nAnimation = c.nOption;
        EXPECT_EQ(c.nExpected, pPopup->GetAnimationType()) << "option " << c.nOption;
    }

    // Random picks one of the three animated kinds, and over many tries all
    // of them.
    pBars->GetOptions()->m_nAnimation = 1;
    bool bSeen[5] = {};
    for (int i = 0; i < 200; i++) {
        int nType = pPopup->GetAnimationType();
        ASSERT_TRUE(nType == qxpAnimateUnfold || nType == qxpAnimateSlide || nType == qxpAnimateFade) << nType;
        bSeen[nType] = true;
    }
    EXPECT_TRUE(bSeen[qxpAnimateUnfold] && bSeen[qxpAnimateSlide] && bSeen[qxpAnimateFade]);

    // The system setting: the menu animation and fade switches of Windows.
    pBars->GetOptions()->m_nAnimation = 0;
    BOOL bAnimation = FALSE, bFade = FALSE;
    ::SystemParametersInfoA(SPI_GETMENUANIMATION, 0, &bAnimation, 0);
    ::SystemParametersInfoA(SPI_GETMENUFADE, 0, &bFade, 0);
    int nSystem = !bAnimation ? (int)CQXPPopupBar::kAnimationNone : bFade ? (int)qxpAnimateFade
                                                                          : (int)qxpAnimateSlide;
    EXPECT_EQ(nSystem, pPopup->GetAnimationType());
}

TEST_F(PopupAnimationTest, NoAnimationWithoutManagerOrWithChildWindow)
{
    pPopup = CQXPPopupBar::CreateForOwner(NULL);
    pBars->GetOptions()->m_nAnimation = qxpAnimateFade;
    EXPECT_EQ(CQXPPopupBar::kAnimationNone, pPopup->GetAnimationType());
    pPopup->InternalRelease();
    pPopup = nullptr;

    // A popup that hosts a window (an edit box, a gallery) never animates.
    MakePopup();
    ASSERT_TRUE(pPopup->PopupAt(40, 40, NULL));
    EXPECT_EQ(qxpAnimateFade, pPopup->GetAnimationType());
    HWND hChild = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, pPopup->GetSafeHwnd(), NULL,
                                    NULL, NULL);
    ASSERT_NE((HWND)NULL, hChild);
    EXPECT_EQ(CQXPPopupBar::kAnimationNone, pPopup->GetAnimationType());
}

TEST_F(PopupAnimationTest, EveryKindEndsWithTheMenuDrawnAtItsPlace)
{
    const int kinds[] = {CQXPPopupBar::kAnimationNone, qxpAnimateUnfold, qxpAnimateSlide, qxpAnimateFade, 1};
    for (int nKind : kinds) {
        SCOPED_TRACE("option " + std::to_string(nKind));
        pBars->GetOptions()->m_nAnimation = nKind;
        MakePopup();
        ASSERT_TRUE(pPopup->PopupAt(60, 50, NULL));
        HWND hWnd = pPopup->GetSafeHwnd();
        // The popup is up and in place as soon as Popup returns.
        EXPECT_TRUE(::IsWindowVisible(hWnd));
        EXPECT_TRUE(pPopup->IsTrackingMode());
        CRect rcWindow;
        ::GetWindowRect(hWnd, &rcWindow);
        EXPECT_EQ(pPopup->m_ptPopup, rcWindow.TopLeft());
        EXPECT_FALSE(rcWindow.IsRectEmpty());
        if (nKind != CQXPPopupBar::kAnimationNone) {
            // The animation itself drew the finished menu: no paint
            // message has been handled yet.
            EXPECT_TRUE(Shown() == Finished());
        }
        // Nothing of the animation is left running or holding the mouse.
        EXPECT_NE(hWnd, ::GetCapture());
        EXPECT_FALSE(::KillTimer(hWnd, kFadeTimer));
        qmtest::PumpFor(150);
        MSG msg;
        EXPECT_FALSE(::PeekMessageA(&msg, hWnd, WM_TIMER, WM_TIMER, PM_NOREMOVE));
        ::UpdateWindow(hWnd);
        EXPECT_TRUE(Shown() == Finished());
        qmtest::ReleasePopupBar(pPopup);
    }
}

TEST_F(PopupAnimationTest, SubPopupAnimatesOnlyWhenItsParentAsks)
{
    pBars->GetOptions()->m_nAnimation = qxpAnimateSlide;
    MakePopup();
    ASSERT_TRUE(pPopup->PopupAt(60, 50, NULL));
    CQXPControlPopup* pItem =
        DYNAMIC_DOWNCAST(CQXPControlPopup, pPopup->GetControls()->Add(qxpControlPopup, 200));
    ASSERT_NE(nullptr, pItem);
    pItem->SetCaption("More");
    CQXPPopupBar* pSub = CQXPPopupBar::CreateForOwner(pBars);
    pSub->GetControls()->Add(qxpControlButton, 300)->SetCaption("Inner");
    pItem->SetCommandBar(pSub);
    pSub->InternalRelease();
    pPopup->OnRecalcLayout();

    // The flag is consumed by the sub-popup it let animate.
    pPopup->m_bAnimateNextPopup = TRUE;
    ASSERT_TRUE(pSub->Popup(pItem));
    EXPECT_FALSE(pPopup->m_bAnimateNextPopup);
    EXPECT_TRUE(::IsWindowVisible(pSub->GetSafeHwnd()));
    EXPECT_NE(pSub->GetSafeHwnd(), ::GetCapture());
    ::UpdateWindow(pSub->GetSafeHwnd());
    qmtest::PumpFor(50);
    pSub->SetTrackingMode(FALSE);
    if (::IsWindow(pSub->GetSafeHwnd()))
        pSub->DestroyWindow();
}

// ---------------------------------------------------------------------------
// Which popups of a menu bar animate: the ones the user opens explicitly.

// The default theme, counting the show animations it is asked to play.
struct CountingAnimationTheme : ToolkitPaintThemeD {
    int nAnimations = 0;
    void AnimatePopup(CDC* pDestDC, CDC* pSrcDC, CRect rc, int nAnimationType) override
    {
        (void)pDestDC;
        (void)pSrcDC;
        (void)rc;
        (void)nAnimationType;
        nAnimations++;
    }
};

class CAnimationFrame : public qmtest::CommandBarTestFrame {
public:
    CAnimationFrame() : CommandBarTestFrame(IDR_TEST_MENU, &m_pMenuBar) {}
    CQXPMenuBar* m_pMenuBar = NULL;
};

class MenuBarAnimationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        pTheme = new CountingAnimationTheme;
        SetCustomPaintManager(pTheme);
        ASSERT_TRUE(frame.Create(NULL, "Menu animation test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 400)));
        pBars = frame.GetCommandBars();
        pMenuBar = frame.m_pMenuBar;
        ASSERT_NE(nullptr, pMenuBar);
        pBars->GetOptions()->m_nAnimation = qxpAnimateSlide;
        frame.RecalcLayout();
        qmtest::PumpMessages();
    }
    void TearDown() override
    {
        if (::IsWindow(frame.GetSafeHwnd())) {
            pBars->ClosePopups();
            frame.DestroyWindow();
        }
        qmtest::PumpMessages();
        ReleaseGlobalPaintManager();
    }
    static LPARAM CenterOf(CQXPCommandBar* pBar, int nIndex)
    {
        CPoint pt = pBar->GetControl(nIndex)->GetRect().CenterPoint();
        return MAKELPARAM(pt.x, pt.y);
    }
    CQXPCommandBar* MenuOf(int nTitle) const { return pMenuBar->GetControl(nTitle)->GetCommandBar(); }
    BOOL IsOpen(int nTitle) const { return pMenuBar->GetControl(nTitle)->GetPopuped(); }

    CAnimationFrame frame;
    CQXPCommandBars* pBars = NULL;
    CQXPMenuBar* pMenuBar = NULL;
    CountingAnimationTheme* pTheme = NULL; // owned by the global slot
};

TEST_F(MenuBarAnimationTest, AClickedMenuAnimatesTheMenusSlidOntoAppearAtOnce)
{
    EXPECT_FALSE(pMenuBar->m_bAnimateNextPopup) << "off until the user opens a menu";
    pMenuBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, CenterOf(pMenuBar, 0));
    ASSERT_TRUE(IsOpen(0));
    EXPECT_EQ(1, pTheme->nAnimations);
    EXPECT_FALSE(pMenuBar->m_bAnimateNextPopup) << "cleared once the menu was shown";

    // Sliding over the other titles while a menu is open.
    const int slides[] = {1, 0, 1};
    for (int nTitle : slides) {
        SCOPED_TRACE(nTitle);
        pMenuBar->SendMessage(WM_MOUSEMOVE, 0, CenterOf(pMenuBar, nTitle));
        ASSERT_TRUE(IsOpen(nTitle));
        EXPECT_FALSE(IsOpen(1 - nTitle));
        EXPECT_TRUE(::IsWindowVisible(MenuOf(nTitle)->GetSafeHwnd()));
        EXPECT_EQ(1, pTheme->nAnimations) << "the next menu appears at once";
    }
    pBars->ClosePopups();
    EXPECT_FALSE(pMenuBar->m_bAnimateNextPopup);

    // A click after menu mode ended animates again.
    pMenuBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, CenterOf(pMenuBar, 1));
    ASSERT_TRUE(IsOpen(1));
    EXPECT_EQ(2, pTheme->nAnimations);
}

TEST_F(MenuBarAnimationTest, MenusOpenedFromTheKeyboardAnimate)
{
    auto keyMenu = [this](UINT nChar) { frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, (LPARAM)nChar); };
    struct Step {
        const char* name;
        bool bFromClosed; // menu mode ends before the step
        std::function<void()> act;
        int nOpenTitle;
    } const steps[] = {
        {"F10 then Down", true, [&] { keyMenu(0); pMenuBar->ProcessHookKeyDown(VK_DOWN); }, 0},
        {"Right to the next title with a menu open", false, [&] { pMenuBar->ProcessHookKeyDown(VK_RIGHT); }, 1},
        {"Alt+F", true, [&] { keyMenu('f'); }, 0},
        {"Enter on the selected title", true, [&] { keyMenu(0); pMenuBar->ProcessHookKeyDown(VK_RETURN); }, 0},
    };
    int nExpected = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.bFromClosed)
            pBars->ClosePopups();
        step.act();
        ASSERT_TRUE(IsOpen(step.nOpenTitle));
        EXPECT_EQ(++nExpected, pTheme->nAnimations);
        EXPECT_FALSE(pMenuBar->m_bAnimateNextPopup);
    }
}

TEST_F(MenuBarAnimationTest, ASubmenuAnimatesWhenItsItemRestsUnderTheMouseOnlyThen)
{
    pMenuBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, CenterOf(pMenuBar, 1));
    ASSERT_TRUE(IsOpen(1));
    CQXPCommandBar* pEdit = MenuOf(1);
    CQXPControl* pEncoding = pEdit->GetControl(1);
    ASSERT_NE(nullptr, pEncoding->GetCommandBar());
    ASSERT_EQ(1, pTheme->nAnimations);

    // The hover timer opens the submenu under the mouse: animated.
    pEdit->SendMessage(WM_MOUSEMOVE, 0, CenterOf(pEdit, 1));
    EXPECT_EQ(1, pEdit->GetSelectedIndex());
    pEdit->SendMessage(WM_TIMER, QXP_TID_HOVER, 0);
    ASSERT_TRUE(pEncoding->GetPopuped());
    EXPECT_EQ(2, pTheme->nAnimations);
    EXPECT_FALSE(pEdit->m_bAnimateNextPopup);

    // Opened again by the program, without the user asking: no animation.
    pEdit->SetPopuped(-1);
    ASSERT_FALSE(pEncoding->GetPopuped());
    pEdit->SetPopuped(1);
    ASSERT_TRUE(pEncoding->GetPopuped());
    EXPECT_EQ(2, pTheme->nAnimations);
}

} // namespace
