// The show animation of popups on real windows under Wine: the kind comes
// from the manager's option, every kind ends with the finished menu at its
// place, and the animation leaves no timer or mouse capture behind.
#include <qx/commandbars.h>
#include <qx/paintmanager.h>
#include <qx/popup.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
        ReleasePopup();
        if (pBars)
            pBars->InternalRelease();
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        qmtest::PumpMessages();
    }
    void ReleasePopup()
    {
        if (!pPopup)
            return;
        if (pPopup->IsTrackingMode())
            pPopup->SetTrackingMode(FALSE);
        if (::IsWindow(pPopup->GetSafeHwnd()))
            pPopup->DestroyWindow();
        pPopup->InternalRelease();
        pPopup = nullptr;
    }
    CQXPPopupBar* MakePopup()
    {
        pPopup = CQXPPopupBar::CreatePopupBar(pBars);
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
        pBars->m_nAnimation = c.nOption;
        EXPECT_EQ(c.nExpected, pPopup->GetAnimationType()) << "option " << c.nOption;
    }

    // Random picks one of the three animated kinds, and over many tries all
    // of them.
    pBars->m_nAnimation = 1;
    bool bSeen[5] = {};
    for (int i = 0; i < 200; i++) {
        int nType = pPopup->GetAnimationType();
        ASSERT_TRUE(nType == qxpAnimateUnfold || nType == qxpAnimateSlide || nType == qxpAnimateFade) << nType;
        bSeen[nType] = true;
    }
    EXPECT_TRUE(bSeen[qxpAnimateUnfold] && bSeen[qxpAnimateSlide] && bSeen[qxpAnimateFade]);

    // The system setting: the menu animation and fade switches of Windows.
    pBars->m_nAnimation = 0;
    BOOL bAnimation = FALSE, bFade = FALSE;
    ::SystemParametersInfoA(SPI_GETMENUANIMATION, 0, &bAnimation, 0);
    ::SystemParametersInfoA(SPI_GETMENUFADE, 0, &bFade, 0);
    int nSystem = !bAnimation ? (int)CQXPPopupBar::kAnimationNone : bFade ? (int)qxpAnimateFade : (int)qxpAnimateSlide;
    EXPECT_EQ(nSystem, pPopup->GetAnimationType());
}

TEST_F(PopupAnimationTest, NoAnimationWithoutManagerOrWithChildWindow)
{
    pPopup = CQXPPopupBar::CreatePopupBar(NULL);
    pBars->m_nAnimation = qxpAnimateFade;
    EXPECT_EQ(CQXPPopupBar::kAnimationNone, pPopup->GetAnimationType());
    pPopup->InternalRelease();
    pPopup = nullptr;

    // A popup that hosts a window (an edit box, a gallery) never animates.
    MakePopup();
    ASSERT_TRUE(pPopup->Popup(40, 40, NULL));
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
        pBars->m_nAnimation = nKind;
        MakePopup();
        ASSERT_TRUE(pPopup->Popup(60, 50, NULL));
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
        ReleasePopup();
    }
}

TEST_F(PopupAnimationTest, SubPopupAnimatesOnlyWhenItsParentAsks)
{
    pBars->m_nAnimation = qxpAnimateSlide;
    MakePopup();
    ASSERT_TRUE(pPopup->Popup(60, 50, NULL));
    CQXPControlPopup* pItem =
        DYNAMIC_DOWNCAST(CQXPControlPopup, pPopup->GetControls()->Add(qxpControlPopup, 200));
    ASSERT_NE(nullptr, pItem);
    pItem->SetCaption("More");
    CQXPPopupBar* pSub = CQXPPopupBar::CreatePopupBar(pBars);
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

}  // namespace
