// The dialog bar: its size for a client size and layout mode, the places of
// its caption controls, its sizing edges and the smallest size it takes, as
// tables; then a bar on a real frame that places its hosted window, keeps
// its client sizes in the saved layout and draws its caption controls.
#include <qx/dialogbar.h>

#include <qx/barcontrols.h>
#include <qx/commandbars.h>
#include <qx/popup.h>
#include <qx/profile.h>

#include <qmtest/cbframe.h>
#include <qmtest/files.h>
#include <qmtest/pump.h>
#include <qmtest/qmatedriver.h>
#include <qmtest/screenshot.h>

#include "cbtest_ids.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// --- layout ---------------------------------------------------------------------------

TEST(DialogBarLayout, SizesAndCaptionPlaces)
{
    struct Case {
        const char* what;
        BOOL bCaption, bCloseable;
        CSize szClient;
        int nLength;
        DWORD dwMode;
        CSize szBar;
        int nCaptionHeight;
        CRect rcCaption, rcClose;
    } cases[] = {
        // Margins 3 on every side; text 13 high: caption 16, bar 200+6 x 200+6+13.
        {"floating", TRUE, TRUE, CSize(200, 200), 32000, qxpLayoutHorz, CSize(206, 219), 16, CRect(3, 1, 187, 17),
         CRect(187, 1, 203, 17)},
        {"no caption", FALSE, TRUE, CSize(200, 200), 32000, qxpLayoutHorz, CSize(206, 206), 0, CRect(), CRect()},
        {"not closeable", TRUE, FALSE, CSize(100, 50), 32000, qxpLayoutHorz, CSize(106, 69), 16, CRect(3, 1, 103, 17),
         CRect()},
        {"docked across, cut to the length", TRUE, TRUE, CSize(200, 200), 150, qxpLayoutHorz | qxpLayoutHorzDock,
         CSize(150, 219), 16, CRect(3, 1, 131, 17), CRect(131, 1, 147, 17)},
        {"stretched to the length", TRUE, TRUE, CSize(200, 200), 500,
         qxpLayoutStretch | qxpLayoutHorz | qxpLayoutHorzDock, CSize(500, 219), 16, CRect(3, 1, 481, 17),
         CRect(481, 1, 497, 17)},
        {"vertical dock, stretched in height", TRUE, TRUE, CSize(200, 200), 400,
         qxpLayoutStretch | qxpLayoutVertDock, CSize(206, 400), 16, CRect(3, 1, 187, 17), CRect(187, 1, 203, 17)},
        {"vertical dock, cut in height", TRUE, TRUE, CSize(200, 200), 120, qxpLayoutVertDock, CSize(206, 120), 16,
         CRect(3, 1, 187, 17), CRect(187, 1, 203, 17)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QXPDialogBarMetrics m;
        m.bShowCaption = c.bCaption;
        m.bCloseable = c.bCloseable;
        m.nTextHeight = 13;
        QXPDialogBarLayout layout = CalcDialogBarLayout(m, c.szClient, c.nLength, c.dwMode);
        EXPECT_EQ(layout.szBar, c.szBar);
        EXPECT_EQ(layout.nCaptionHeight, c.nCaptionHeight);
        EXPECT_EQ(layout.rcCaption, c.rcCaption);
        EXPECT_EQ(layout.rcClose, c.rcClose);
    }
}

// --- sizing edges --------------------------------------------------------------------------

TEST(DialogBarLayout, SizingEdgesByPlace)
{
    const CRect rc(100, 100, 300, 200); // inside: (103, 103) - (297, 197)
    struct Case {
        const char* what;
        CPoint pt;
        BOOL bFloating;
        int nPosition;
        DWORD dwFlags;
        int nHit;
    } cases[] = {
        {"floating inside", CPoint(150, 150), TRUE, qxpBarFloating, 0, 0},
        {"floating top left", CPoint(101, 101), TRUE, qxpBarFloating, 0, HTTOPLEFT},
        {"floating top right", CPoint(298, 101), TRUE, qxpBarFloating, 0, HTTOPRIGHT},
        {"floating top", CPoint(150, 101), TRUE, qxpBarFloating, 0, HTTOP},
        {"floating bottom", CPoint(150, 198), TRUE, qxpBarFloating, 0, HTBOTTOM},
        {"floating bottom left", CPoint(101, 198), TRUE, qxpBarFloating, 0, HTBOTTOMLEFT},
        {"floating bottom right", CPoint(298, 198), TRUE, qxpBarFloating, 0, HTBOTTOMRIGHT},
        {"floating left", CPoint(101, 150), TRUE, qxpBarFloating, 0, HTLEFT},
        {"floating right", CPoint(298, 150), TRUE, qxpBarFloating, 0, HTRIGHT},
        {"top bar, bottom edge", CPoint(150, 198), FALSE, qxpBarTop, 0, HTBOTTOM},
        {"top bar, top edge", CPoint(150, 101), FALSE, qxpBarTop, 0, 0},
        {"top bar, right edge", CPoint(298, 150), FALSE, qxpBarTop, 0, HTRIGHT},
        {"top bar fixed along the dock, right edge", CPoint(298, 150), FALSE, qxpBarTop, 0x40, 0},
        {"bottom bar, top edge", CPoint(150, 101), FALSE, qxpBarBottom, 0, HTTOP},
        {"bottom bar, bottom edge", CPoint(150, 198), FALSE, qxpBarBottom, 0, 0},
        {"left bar, right edge", CPoint(298, 150), FALSE, qxpBarLeft, 0, HTRIGHT},
        {"left bar, bottom edge", CPoint(150, 198), FALSE, qxpBarLeft, 0, HTBOTTOM},
        {"left bar fixed along the dock, bottom edge", CPoint(150, 198), FALSE, qxpBarLeft, 0x40, 0},
        {"right bar, left edge", CPoint(101, 150), FALSE, qxpBarRight, 0, HTLEFT},
        {"right bar, right edge", CPoint(298, 150), FALSE, qxpBarRight, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DialogBarHitTest(rc, c.pt, c.bFloating, c.nPosition, c.dwFlags), c.nHit);
    }
}

TEST(DialogBarLayout, NoWindowBelowFiftyByFifty)
{
    const std::pair<CSize, BOOL> cases[] = {{CSize(50, 50), TRUE}, {CSize(49, 50), FALSE}, {CSize(50, 49), FALSE}, {CSize(300, 40), FALSE}, {CSize(51, 400), TRUE}};
    for (const auto& c : cases)
        EXPECT_EQ(DialogBarSizeAllowed(c.first), c.second) << c.first.cx << " x " << c.first.cy;
}

// --- a bar on a frame ---------------------------------------------------------------------

class DialogBarFrame : public qmtest::CommandBarTestFrame {
public:
    DialogBarFrame() : CommandBarTestFrame(IDR_TEST_MENU, &m_pMenuBar) {}
    CQXPMenuBar* m_pMenuBar = NULL;
};

class DialogBarOnFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_key = qmtest::UniqueName("QxDialogBar");
        m_app.reset(new CWinApp("QxDialogBar"));
        m_app->SetRegistryKey(m_key.c_str());
        Start();
    }
    void TearDown() override
    {
        Stop();
        m_app.reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_key).c_str());
    }
    void Start()
    {
        m_frame.reset(new DialogBarFrame);
        ASSERT_TRUE(m_frame->Create(NULL, "Dialog bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 500)));
        pBars = m_frame->GetCommandBars();
        pBar = DYNAMIC_DOWNCAST(CQXPDialogBar, pBars->Add("Find", qxpBarTop, RUNTIME_CLASS(CQXPDialogBar)));
        ASSERT_NE(pBar, nullptr);
        m_frame->RecalcLayout();
        qmtest::PumpMessages();
    }
    void Stop()
    {
        if (m_frame && ::IsWindow(m_frame->GetSafeHwnd()))
            m_frame->DestroyWindow();
        m_frame.reset();
        qmtest::PumpMessages();
    }
    int ProfileInt(const char* pszSection, const char* pszEntry)
    {
        return (int)m_app->GetProfileInt(pszSection, pszEntry, -1);
    }

    std::string m_key;
    std::unique_ptr<CWinApp> m_app;
    std::unique_ptr<DialogBarFrame> m_frame;
    CQXPCommandBars* pBars = NULL;
    CQXPDialogBar* pBar = NULL;
};

TEST_F(DialogBarOnFrame, HostsItsWindowInsideTheMarginsBelowTheCaption)
{
    HWND hChild = ::CreateWindowExA(0, "STATIC", "hosted", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, pBar->GetSafeHwnd(),
                                    NULL, NULL, NULL);
    ASSERT_NE(hChild, nullptr);
    pBar->SetHostedWindow(hChild);
    m_frame->RecalcLayout();
    qmtest::PumpMessages();
    CRect rcBar, rcChild;
    pBar->GetClientRect(&rcBar);
    ::GetWindowRect(hChild, &rcChild);
    pBar->ScreenToClient(&rcChild);
    EXPECT_EQ(rcChild.left, 3);
    EXPECT_GT(rcChild.top, 3) << "the caption strip comes first";
    EXPECT_EQ(rcChild.right, rcBar.right - 3);
    EXPECT_EQ(rcChild.bottom, rcBar.bottom - 3);
    // The caption shows the bar's title while it has no text of its own.
    EXPECT_STREQ(pBar->GetCaptionText(), "Find");
    pBar->SetCaption("Search");
    EXPECT_STREQ(pBar->GetCaptionText(), "Search");
}

TEST_F(DialogBarOnFrame, SizingBelowTheMinimumChangesNothing)
{
    ASSERT_TRUE(pBar->SetFloating(CPoint(100, 100)));
    CSize szBefore = pBar->GetFloatingClientSize();
    EXPECT_FALSE(pBar->OnSizing(CRect(100, 100, 149, 300), HTRIGHT));
    EXPECT_EQ(pBar->GetFloatingClientSize(), szBefore);
    EXPECT_TRUE(pBar->OnSizing(CRect(100, 100, 250, 300), HTRIGHT));
    EXPECT_EQ(pBar->GetFloatingClientSize().cx, 150 - 6);
}

TEST_F(DialogBarOnFrame, TheSavedLayoutKeepsItsClientSizes)
{
    pBar->SetDockingClientSize(CSize(180, 90));
    pBar->SetFloatingClientSize(CSize(240, 160));
    UINT nId = pBar->GetBarID();
    pBars->SaveBarState("DialogBarLayout");
    int nIndex = pBars->IndexOf(pBar);
    std::string section = "DialogBarLayout-Bar" + std::to_string(nIndex);
    EXPECT_EQ(ProfileInt(section.c_str(), "DialogBar"), 1);
    EXPECT_EQ(ProfileInt(section.c_str(), "DialogBarDockingClientCx"), 180);
    EXPECT_EQ(ProfileInt(section.c_str(), "DialogBarDockingClientCy"), 90);
    EXPECT_EQ(ProfileInt(section.c_str(), "DialogBarFloatingClientCx"), 240);
    EXPECT_EQ(ProfileInt(section.c_str(), "DialogBarFloatingClientCy"), 160);
    // The menu bar before it is no dialog bar.
    ASSERT_GT(nIndex, 0);
    EXPECT_EQ(ProfileInt("DialogBarLayout-Bar0", "DialogBar"), 0);

    Stop();
    Start();
    ASSERT_EQ(pBar->GetBarID(), nId);
    pBars->LoadBarState("DialogBarLayout", TRUE);
    EXPECT_EQ(pBar->GetDockingClientSize(), CSize(180, 90));
    EXPECT_EQ(pBar->GetFloatingClientSize(), CSize(240, 160));
}

TEST_F(DialogBarOnFrame, CaptionShowsItsArrowOnlyWithAPopupAndTheCloseGlyph)
{
    CQXPDialogBarCaption* pCaption =
        dynamic_cast<CQXPDialogBarCaption*>(pBar->GetControls()->FindControl(QXP_ID_DIALOGBAR_CAPTION));
    CQXPControl* pClose = pBar->GetControls()->FindControl(QXP_ID_DIALOGBAR_CLOSE);
    ASSERT_NE(pCaption, nullptr);
    ASSERT_NE(dynamic_cast<CQXPDialogBarClose*>(pClose), nullptr);
    // The screen where the arrow goes, and the glyph's box.
    auto Shown = [&](CRect rc) {
        pBar->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        qmtest::PumpMessages();
        pBar->ClientToScreen(&rc);
        return qmtest::DistinctColours(qmtest::CaptureScreenRect(rc));
    };
    auto ArrowArea = [&] {
        CRect rc = pCaption->GetRect();
        int nMid = rc.top + rc.Height() / 2;
        return CRect(rc.right - 14, nMid - 3, rc.right - 4, nMid + 3);
    };

    // An empty caption popup: no arrow, and opening it does nothing.
    EXPECT_FALSE(pCaption->HasPopup());
    EXPECT_EQ(Shown(ArrowArea()), 1u);
    EXPECT_TRUE(pCaption->OnSetPopup(TRUE));
    EXPECT_FALSE(pCaption->GetPopuped());
    EXPECT_GE(Shown(pClose->GetRect()), 2u) << "the close glyph is drawn";

    // With an item the arrow shows.
    pBar->GetCaptionPopupBar()->GetControls()->Add(qxpControlButton, ID_TEST_OPEN);
    pBar->OnRecalcLayout();
    qmtest::PumpMessages();
    EXPECT_TRUE(pCaption->HasPopup());
    EXPECT_EQ(pCaption->GetCommandBar(), pBar->GetCaptionPopupBar());
    EXPECT_GE(Shown(ArrowArea()), 2u);
    qmtest::SaveWindowShot(pBar->GetSafeHwnd(), QM_BIN_DIR, "dialogbar-caption.png");

    // A bar that does not allow the popup shows none.
    pBar->SetCaptionPopup(FALSE);
    pBar->OnRecalcLayout();
    qmtest::PumpMessages();
    EXPECT_FALSE(pCaption->HasPopup());
    EXPECT_EQ(Shown(ArrowArea()), 1u);
}

} // namespace
