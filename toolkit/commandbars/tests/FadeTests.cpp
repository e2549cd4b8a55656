// The bars' off-screen copy and fades on a real toolbar window: a changed
// button fades in over about 250 ms and ends in its new look, a second
// change of the same area replaces the running fade, an unchanged area
// starts none, an immediate redraw stays out of a running fade, and a
// resize rebuilds the copy.
#include <qx/commandbars.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "cbtest_ids.h"
#include <qmtest/barsite.h>
#include <qmtest/offscreen.h>
#include <qmtest/pump.h>

namespace {

using qmtest::PumpUntil;

class CFadeFrame : public qmtest::CBarSiteWnd {
public:
    void PostNcDestroy() override {}
};

class FadeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LPCSTR lpszClass = AfxRegisterWndClass(0, LoadCursor(NULL, IDC_ARROW));
        ASSERT_TRUE(frame.CreateEx(0, lpszClass, "Fade test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                   0, 400, 200, NULL, NULL));
        pBar = new CQXPToolBar;
        ASSERT_TRUE(pBar->CreateToolBar(WS_VISIBLE, &frame));
        const UINT ids[] = {ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT};
        pBar->SetButtons(ids, 3);
        pBar->SetWindowPos(NULL, 0, 0, 300, 30, SWP_NOZORDER);
        pBar->OnRecalcLayout();
        pBar->EnableAnimation(TRUE);
        pBar->UpdateWindow();
        pCache = pBar->GetAnimationCache();
    }
    void TearDown() override
    {
        pBar->DestroyWindow();
        pBar->InternalRelease();
        frame.DestroyWindow();
    }
    // The bar as it should look now, painted off screen.
    std::vector<COLORREF> Expected(const CRect& rc)
    {
        std::vector<COLORREF> pixels;
        qmtest::DrawBarOffscreen(pBar, [&](CDC& mem) {
            for (int y = rc.top; y < rc.bottom; y += 2)
                for (int x = rc.left; x < rc.right; x += 2)
                    pixels.push_back(mem.GetPixel(x, y));
        });
        return pixels;
    }
    std::vector<COLORREF> OnScreen(const CRect& rc)
    {
        CClientDC dc(pBar);
        std::vector<COLORREF> pixels;
        for (int y = rc.top; y < rc.bottom; y += 2)
            for (int x = rc.left; x < rc.right; x += 2)
                pixels.push_back(dc.GetPixel(x, y));
        return pixels;
    }

    CFadeFrame frame;
    CQXPToolBar* pBar = NULL;
    CQXPBarAnimationCache* pCache = NULL;
};

TEST(FadeBlend, FramesMixNewAndOldByStep)
{
    BYTE newPix[4] = {255, 0, 200, 100};
    BYTE oldPix[4] = {0, 255, 100, 100};
    BYTE out[4];
    struct Case {
        int nStep;
        int nAlpha;
    } cases[] = {{1, 42}, {2, 85}, {3, 127}, {4, 170}, {5, 212}};
    for (const Case& c : cases) {
        int nAlpha = c.nStep * 255 / QXP_FADE_STEPS;
        EXPECT_EQ(c.nAlpha, nAlpha);
        CQXPBarAnimationCache::BlendPixels(out, newPix, oldPix, 4, nAlpha);
        EXPECT_EQ((255 * nAlpha) >> 8, out[0]);
        EXPECT_EQ((255 * (255 - nAlpha)) >> 8, out[1]);
        EXPECT_EQ((200 * nAlpha + 100 * (255 - nAlpha)) >> 8, out[2]);
    }
}

TEST_F(FadeTest, AChangedButtonFadesToItsNewLook)
{
    ASSERT_TRUE(pCache->HasCache()) << "the first paint builds the copy";
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    EXPECT_EQ(rcClient.Size(), pCache->GetCacheSize());

    CQXPControl* pSave = pBar->GetControls()->FindControl(ID_TEST_SAVE);
    CRect rc = pSave->GetRect();
    pSave->m_bChecked = 1;
    pBar->Redraw(rc, TRUE);
    ASSERT_EQ(1, pCache->GetFadeCount());
    EXPECT_EQ(rc, pCache->GetFadeRect(0));
    EXPECT_EQ(2, pCache->GetFadeStep(0)) << "the first frame shows at once";

    // The same area again: the running fade is replaced.
    pSave->m_bChecked = 0;
    pBar->Redraw(rc, TRUE);
    pSave->m_bChecked = 1;
    pBar->Redraw(rc, TRUE);
    EXPECT_EQ(1, pCache->GetFadeCount());

    ASSERT_TRUE(PumpUntil([&] { return pCache->GetFadeCount() == 0; }, 2000));
    EXPECT_EQ(Expected(rc), OnScreen(rc)) << "the fade ends in the new look";

    // Nothing changed: no fade.
    pBar->Redraw(rc, TRUE);
    EXPECT_EQ(0, pCache->GetFadeCount());
}

TEST_F(FadeTest, ImmediateRedrawStaysOutOfARunningFadeAndResizeRebuildsTheCopy)
{
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    CRect rcAll(0, 0, rcClient.Width(), rcClient.Height());
    CQXPControl* pOpen = pBar->GetControls()->FindControl(ID_TEST_OPEN);
    pOpen->m_bChecked = 1;
    pBar->Redraw(rcAll, TRUE);
    ASSERT_EQ(1, pCache->GetFadeCount());
    CRect rcOpen = pOpen->GetRect();
    pBar->Redraw(rcOpen, FALSE);
    ASSERT_EQ(1, pCache->GetFadeCount());
    EXPECT_EQ(1, pCache->GetFadeExclusionCount(0));
    ASSERT_TRUE(PumpUntil([&] { return pCache->GetFadeCount() == 0; }, 2000));
    EXPECT_EQ(Expected(rcAll), OnScreen(rcAll));

    pBar->SetWindowPos(NULL, 0, 0, 340, 30, SWP_NOZORDER | SWP_NOMOVE);
    pBar->UpdateWindow();
    pBar->GetClientRect(&rcClient);
    EXPECT_EQ(rcClient.Size(), pCache->GetCacheSize());

    // Without animation or buffering the copy goes.
    pBar->EnableAnimation(FALSE);
    pBar->Invalidate(FALSE);
    pBar->UpdateWindow();
    EXPECT_FALSE(pCache->HasCache());
}

// The paint manager's animation switch, put back when the test ends.
struct AnimationSwitch {
    BOOL bSaved = GetGlobalPaintManager()->m_bEnableAnimation;
    ~AnimationSwitch() { GetGlobalPaintManager()->m_bEnableAnimation = bSaved; }
    void Set(BOOL bOn) { GetGlobalPaintManager()->m_bEnableAnimation = bOn; }
};

TEST_F(FadeTest, WithAnimationsSwitchedOffChangesShowAtOnce)
{
    AnimationSwitch animations;
    ASSERT_TRUE(pCache->HasCache());
    CQXPControl* pSave = pBar->GetControls()->FindControl(ID_TEST_SAVE);
    CRect rc = pSave->GetRect();

    animations.Set(FALSE);
    EXPECT_FALSE(pCache->IsFadeEnabled());
    pSave->m_bChecked = 1;
    pBar->Redraw(rc, TRUE);
    EXPECT_EQ(0, pCache->GetFadeCount()) << "no fade starts";
    EXPECT_EQ(Expected(rc), OnScreen(rc)) << "the new look shows at once";
    EXPECT_TRUE(pCache->HasCache()) << "the bar still paints from its copy";

    // A fade already running when the switch goes off ends at its next
    // frame in the final look.
    animations.Set(TRUE);
    EXPECT_TRUE(pCache->IsFadeEnabled());
    pSave->m_bChecked = 0;
    pBar->Redraw(rc, TRUE);
    ASSERT_EQ(1, pCache->GetFadeCount());
    animations.Set(FALSE);
    ASSERT_TRUE(PumpUntil([&] { return pCache->GetFadeCount() == 0; }, 2000));
    EXPECT_EQ(Expected(rc), OnScreen(rc));

    // The bar's own flag off: no fade even with the switch on.
    animations.Set(TRUE);
    pBar->EnableAnimation(FALSE);
    EXPECT_FALSE(pCache->IsFadeEnabled());
    pSave->m_bChecked = 1;
    pBar->Redraw(rc, TRUE);
    EXPECT_EQ(0, pCache->GetFadeCount());
}

} // namespace
