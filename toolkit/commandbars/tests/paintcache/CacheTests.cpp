// The bars' off-screen copy seen from outside: a repaint with nothing
// changed is a copy of the cached picture (the bar's controls are not drawn
// again), a changed area is drawn once, and a fade, stepped by hand instead
// of by its timer, shows each blended frame on screen and ends in the new
// look.
#include <qx/commandbars.h>

#include <gtest/gtest.h>

#include "cbtest_ids.h"
#include <qmtest/barsite.h>
#include <qmtest/offscreen.h>

namespace {

void PumpPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// A toolbar that counts how often it is drawn.
class CCountingBar : public CQXPToolBar {
public:
    int m_nDraws = 0;
    void DrawCommandBar(CDC* pDC, CRect rcClip) override
    {
        m_nDraws++;
        CQXPToolBar::DrawCommandBar(pDC, rcClip);
    }
};

// The bar stands alone in it: the window gives it its band on WM_SIZE.
class CCacheFrame : public qmtest::CBarSiteWnd {
public:
    void PostNcDestroy() override {}
};

class CacheTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LPCSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW));
        ASSERT_TRUE(frame.CreateEx(0, lpszClass, "Cache test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 20,
                                   20, 420, 200, NULL, NULL));
        pBar = new CCountingBar;
        ASSERT_TRUE(pBar->CreateToolBar(WS_VISIBLE, &frame));
        const UINT ids[] = {ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT};
        pBar->SetButtons(ids, 3);
        pBar->SetWindowPos(NULL, 0, 0, 300, 30, SWP_NOZORDER);
        pBar->OnRecalcLayout();
        pBar->EnableAnimation(TRUE);
        pBar->UpdateWindow();
        PumpPending();
        pCache = pBar->GetAnimationCache();
    }
    void TearDown() override
    {
        pBar->DestroyWindow();
        pBar->InternalRelease();
        frame.DestroyWindow();
        PumpPending();
    }
    // Paints what is invalid now and returns how often the bar was drawn.
    int DrawsOfRepaint()
    {
        pBar->m_nDraws = 0;
        pBar->UpdateWindow();
        return pBar->m_nDraws;
    }
    // The bar as it should look now, painted off screen; one pixel.
    COLORREF ExpectedPixel(CPoint pt)
    {
        const int nDraws = pBar->m_nDraws;
        COLORREF cr = CLR_INVALID;
        qmtest::DrawBarOffscreen(pBar, [&](CDC& mem) { cr = mem.GetPixel(pt.x, pt.y); });
        pBar->m_nDraws = nDraws;
        return cr;
    }
    COLORREF ScreenPixel(CPoint pt)
    {
        CClientDC dc(pBar);
        return dc.GetPixel(pt.x, pt.y);
    }

    CCacheFrame frame;
    CCountingBar* pBar = NULL;
    CQXPBarAnimationCache* pCache = NULL;
};

TEST_F(CacheTest, RepaintingAnUnchangedBarCopiesTheCacheAndAChangeIsDrawnOnce)
{
    ASSERT_TRUE(pCache->HasCache());
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    CQXPControl* pSave = pBar->GetControls()->FindControl(ID_TEST_SAVE);
    ASSERT_NE(nullptr, pSave);
    CRect rcSave = pSave->GetRect();
    CPoint ptProbe = rcSave.CenterPoint();
    const COLORREF crBefore = ScreenPixel(ptProbe);

    // Uncovered but unchanged: the cached picture, no drawing.
    pBar->InvalidateRect(NULL, FALSE);
    EXPECT_EQ(0, DrawsOfRepaint());
    EXPECT_EQ(crBefore, ScreenPixel(ptProbe));
    pBar->InvalidateRect(rcSave, FALSE);
    EXPECT_EQ(0, DrawsOfRepaint());

    // A control that changed is drawn into the cache and onto the screen at
    // once (no paint message needed), and a later repaint draws nothing.
    pSave->m_bChecked = 1;
    pBar->m_nDraws = 0;
    pBar->Redraw(rcSave, FALSE);
    EXPECT_EQ(1, pBar->m_nDraws);
    EXPECT_FALSE(::GetUpdateRect(pBar->GetSafeHwnd(), NULL, FALSE));
    EXPECT_EQ(ExpectedPixel(ptProbe), ScreenPixel(ptProbe));
    pBar->InvalidateRect(NULL, FALSE);
    EXPECT_EQ(0, DrawsOfRepaint());
    EXPECT_EQ(ExpectedPixel(ptProbe), ScreenPixel(ptProbe));

    // The whole bar redrawn: the cache is rebuilt at the next paint.
    pBar->Redraw(NULL, FALSE);
    EXPECT_FALSE(pCache->HasCache());
    EXPECT_EQ(1, DrawsOfRepaint());
    EXPECT_TRUE(pCache->HasCache());
    EXPECT_EQ(rcClient.Size(), pCache->GetCacheSize());

    // Without animation or buffering every paint draws the bar.
    pBar->EnableAnimation(FALSE);
    pBar->InvalidateRect(NULL, FALSE);
    EXPECT_EQ(1, DrawsOfRepaint());
    pBar->InvalidateRect(NULL, FALSE);
    EXPECT_EQ(1, DrawsOfRepaint());
    EXPECT_FALSE(pCache->HasCache());
    // Buffered alone keeps the copy again.
    pBar->SetBuffered(TRUE);
    pBar->InvalidateRect(NULL, FALSE);
    EXPECT_EQ(1, DrawsOfRepaint());
    pBar->InvalidateRect(NULL, FALSE);
    EXPECT_EQ(0, DrawsOfRepaint());
}

TEST_F(CacheTest, AFadeStepsThroughItsBlendedFramesAndEndsInTheNewLook)
{
    CQXPControl* pSave = pBar->GetControls()->FindControl(ID_TEST_SAVE);
    ASSERT_NE(nullptr, pSave);
    CRect rcSave = pSave->GetRect();

    // The pixel the change alters most.
    CPoint ptProbe(-1, -1);
    COLORREF crOld = 0, crNew = 0;
    int nBest = 0;
    for (int y = rcSave.top; y < rcSave.bottom; y++) {
        for (int x = rcSave.left; x < rcSave.right; x++) {
            pSave->m_bChecked = 0;
            COLORREF o = ScreenPixel(CPoint(x, y));
            pSave->m_bChecked = 1;
            COLORREF n = ExpectedPixel(CPoint(x, y));
            int nDiff = abs((int)GetRValue(o) - (int)GetRValue(n)) + abs((int)GetGValue(o) - (int)GetGValue(n)) +
                        abs((int)GetBValue(o) - (int)GetBValue(n));
            if (nDiff > nBest) {
                nBest = nDiff;
                ptProbe = CPoint(x, y);
                crOld = o;
                crNew = n;
            }
        }
    }
    ASSERT_GT(nBest, 30) << "the checked look differs from the plain one";

    auto blend = [&](int nStep) {
        int a = nStep * 255 / 6;
        auto mix = [a](int n, int o) { return (n * a + o * (255 - a)) >> 8; };
        return RGB(mix(GetRValue(crNew), GetRValue(crOld)), mix(GetGValue(crNew), GetGValue(crOld)),
                   mix(GetBValue(crNew), GetBValue(crOld)));
    };

    pBar->m_nDraws = 0;
    pBar->Redraw(rcSave, TRUE);
    ASSERT_EQ(1, pCache->GetFadeCount());
    // The timer is replaced by the test's own ticks.
    ::KillTimer(pBar->GetSafeHwnd(), QXP_TID_ANIMATION);
    EXPECT_EQ(blend(1), ScreenPixel(ptProbe)) << "the first frame shows at once";
    for (int nStep = 2; nStep <= 5; nStep++) {
        pCache->OnAnimationTimer();
        EXPECT_EQ(blend(nStep), ScreenPixel(ptProbe)) << "frame " << nStep;
        EXPECT_EQ(1, pCache->GetFadeCount());
    }
    pCache->OnAnimationTimer();
    EXPECT_EQ(crNew, ScreenPixel(ptProbe)) << "the last frame is the new look";
    EXPECT_EQ(0, pCache->GetFadeCount());
    EXPECT_EQ(1, pBar->m_nDraws) << "the frames are blends of two pictures, not new drawings";

    // An immediate redraw of part of a running fade stays out of its frames.
    pSave->m_bChecked = 0;
    pBar->Redraw(rcSave, TRUE);
    ASSERT_EQ(1, pCache->GetFadeCount());
    ::KillTimer(pBar->GetSafeHwnd(), QXP_TID_ANIMATION);
    CRect rcPart(ptProbe, CSize(1, 1));
    pBar->Redraw(rcPart, FALSE);
    EXPECT_EQ(1, pCache->GetFadeExclusionCount(0));
    const COLORREF crNow = ExpectedPixel(ptProbe);
    EXPECT_EQ(crNow, ScreenPixel(ptProbe));
    pCache->OnAnimationTimer();
    EXPECT_EQ(crNow, ScreenPixel(ptProbe)) << "the fade does not paint over the immediate redraw";
    pCache->ClearFades();
    EXPECT_EQ(0, pCache->GetFadeCount());
}

} // namespace

// A bar redraws only while it shows: off screen (hidden by its own
// visibility, or its window hidden while the bar still counts as shown, as
// a floating bar is while its frame is inactive) a change draws nothing and
// only drops the copy, and the bar shown again paints the state it has
// then, never the copy of before. A bar hidden by its visibility whose
// window still shows (the moment of hiding) is not invalidated either.
TEST_F(CacheTest, ABarOffScreenRedrawsNothingAndShowsItsPresentStateWhenShownAgain)
{
    struct Case {
        const char* name;
        std::function<void(CQXPToolBar*)> hide;
        std::function<void(CQXPToolBar*)> show;
        bool bBarVisible;    // IsVisible meanwhile
        bool bWindowVisible; // its window meanwhile
    } cases[] = {
        {"the bar hidden", [](CQXPToolBar* p) { p->SetVisible(FALSE); }, [](CQXPToolBar* p) { p->SetVisible(TRUE); },
         false, false},
        {"its window hidden", [](CQXPToolBar* p) { p->ShowWindow(SW_HIDE); },
         [](CQXPToolBar* p) { p->ShowWindow(SW_SHOWNA); }, true, false},
        {"the bar hidden, its window not yet",
         [](CQXPToolBar* p) {
             p->SetVisible(FALSE);
             p->ShowWindow(SW_SHOWNA);
         },
         [](CQXPToolBar* p) { p->SetVisible(TRUE); }, false, true},
    };
    CQXPControl* pSave = pBar->GetControls()->FindControl(ID_TEST_SAVE);
    ASSERT_NE(nullptr, pSave);
    const CRect rcSave = pSave->GetRect();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pBar->Redraw();
        pBar->UpdateWindow();
        ASSERT_TRUE(pCache->HasCache());
        const std::vector<COLORREF> before = qmtest::ScreenPictureOf(pBar, rcSave);
        ASSERT_EQ(qmtest::BarPictureOf(pBar, rcSave), before);

        c.hide(pBar);
        ASSERT_EQ(c.bBarVisible, pBar->IsVisible() != FALSE);
        ASSERT_EQ(c.bWindowVisible, ::IsWindowVisible(pBar->GetSafeHwnd()) != FALSE);
        pBar->ValidateRect(NULL);
        pSave->m_bChecked = !pSave->m_bChecked;
        pBar->m_nDraws = 0;
        pBar->Redraw(rcSave, TRUE);
        EXPECT_EQ(0, pBar->m_nDraws) << "nothing drawn off screen";
        EXPECT_EQ(0, pCache->GetFadeCount());
        EXPECT_FALSE(::GetUpdateRect(pBar->GetSafeHwnd(), NULL, FALSE)) << "nothing invalidated";
        EXPECT_FALSE(pCache->HasCache()) << "the copy of before is dropped";
        const std::vector<COLORREF> now = qmtest::BarPictureOf(pBar, rcSave);
        ASSERT_NE(before, now) << "the change shows in the button";

        c.show(pBar);
        pBar->UpdateWindow();
        PumpPending();
        EXPECT_EQ(now, qmtest::ScreenPictureOf(pBar, rcSave)) << "the bar shows its present state";
        EXPECT_TRUE(pCache->HasCache());
    }
}
