// Galleries drawn through the paint manager's gallery painter in every
// theme: which painter operations a popup gallery and a toolbar gallery
// ask for, in which order and in which scroll-bar look, and screenshots of
// both in each theme (the Office 2007 painter for themes 5 and 6).
#include <qx/commandbars.h>
#include <qx/gallery.h>
#include <qx/office2007.h>
#include <qx/paintmanager.h>
#include <qx/popup.h>
#include <qx/themes.h>
#include <qx/toolbar.h>

#include <gtest/gtest.h>

#include "PaintTestSupport.h"

#include <string>
#include <vector>

#include <qmtest/barsite.h>
#include <qmtest/popupbar.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>

namespace {

const int kGalleryId = 32960;

// A gallery painter that notes each operation (and the scroll-bar look)
// before drawing as its base does.
std::vector<std::string> g_ops;

template <class Base>
class CRecordingPainter : public Base {
public:
    template <class Theme>
    explicit CRecordingPainter(Theme* pTheme) : Base(pTheme)
    {
    }
    void DrawLabel(CDC* pDC, CRect rc, LPCSTR lpszText) override
    {
        g_ops.push_back(std::string("label ") + lpszText);
        Base::DrawLabel(pDC, rc, lpszText);
    }
    void DrawBackground(CDC* pDC, const QXPGalleryView& g) override
    {
        g_ops.push_back("background");
        Base::DrawBackground(pDC, g);
    }
    void DrawScrollBar(CDC* pDC, const QXPGalleryScrollBarView& bar) override
    {
        g_ops.push_back("scroll bar " + std::to_string(bar.nType));
        Base::DrawScrollBar(pDC, bar);
    }
    void DrawPopupScrollColumn(CDC* pDC, const QXPGalleryView& g) override
    {
        g_ops.push_back("column");
        Base::DrawPopupScrollColumn(pDC, g);
    }
    void RefreshMetrics() override
    {
        g_ops.push_back("metrics");
        Base::RefreshMetrics();
    }
};

class CPaintFrame : public qmtest::CBarSiteWnd {
public:
    BOOL CreateFrame()
    {
        LPCSTR lpszClass = AfxRegisterWndClass(0, LoadCursor(NULL, IDC_ARROW));
        return CreateEx(0, lpszClass, "Gallery themes", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 520,
                        360, NULL, NULL);
    }
    void PostNcDestroy() override {}
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nID == (UINT)kGalleryId && nCode == (int)CN_UPDATE_COMMAND_UI) {
            static_cast<CCmdUI*>(pExtra)->Enable(TRUE);
            return TRUE;
        }
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

class GalleryPaintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterOffice2007Themes(); }
    void SetUp() override
    {
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        ASSERT_TRUE(frame.CreateFrame());
        pBars = CQXPCommandBars::CreateCommandBars(&frame);
        ASSERT_NE(nullptr, pBars);
        pAction = new CQXPControlGalleryAction;
        pBars->GetActions()->AddAction(kGalleryId, pAction);
        GalleryItemList* pItems = pAction->GetItems();
        pItems->SetItemSize(40, 28);
        pItems->AddLabel("Recent");
        for (int i = 1; i <= 5; ++i)
            pItems->AddItem(i, ("Style " + std::to_string(i)).c_str());
        pItems->AddLabel("All styles");
        for (int i = 6; i <= 14; ++i)
            pItems->AddItem(i, ("Style " + std::to_string(i)).c_str());

        // Inline on a toolbar: the standard scroll bar.
        pToolBar = pBars->Add("Styles", qxpBarTop);
        ASSERT_NE(nullptr, pToolBar);
        pInline = new CQXPControlGallery;
        pToolBar->GetControls()->AddControl(pInline, kGalleryId);
        pInline->SetAction(pAction);
        pInline->m_bShowLabels = FALSE;
        pInline->SetWidth(4 * 40 + ::GetSystemMetrics(SM_CXVSCROLL));
        pInline->SetHeight(56);
        pBars->RecalcFrameLayout();

        // On a popup with a drop-down: the three-button column.
        pPopup = CQXPPopupBar::CreateForOwner(pBars);
        pPopup->SetOwnerSite(&frame);
        pGallery = dynamic_cast<CQXPControlGallery*>(pPopup->GetControls()->Add(qxpControlGallery, kGalleryId));
        ASSERT_NE(nullptr, pGallery);
        pGallery->SetAction(pAction);
        pGallery->m_bShowBorders = TRUE;
        pGallery->SetWidth(3 * 40 + 16 + 2);
        pGallery->SetHeight(100);
        pGallery->SetCheckedItem(2);
        pPopup->GetControls()->Add(qxpControlButton, 200)->SetCaption("More styles");
        qmtest::PumpMessages();
    }
    void TearDown() override
    {
        qmtest::ReleasePopupBar(pPopup);
        qmtest::ReleaseBarsAndFrame(pBars, frame);
        SetGlobalPaintManager(qxpThemeWindows2000);
    }
    // The operations one gallery asks for when drawn into a memory DC.
    std::vector<std::string> OpsOf(CQXPControlGallery* p)
    {
        painttest::MemoryDC dc(600, 400);
        g_ops.clear();
        p->Draw(dc.dc());
        return g_ops;
    }

    CPaintFrame frame;
    CQXPCommandBars* pBars = NULL;
    CQXPControlGalleryAction* pAction = NULL;
    CQXPToolBar* pToolBar = NULL;
    CQXPControlGallery* pInline = NULL;
    CQXPPopupBar* pPopup = NULL;
    CQXPControlGallery* pGallery = NULL;
};

TEST_F(GalleryPaintTest, EachThemeDrawsGalleriesThroughItsPainter)
{
    const struct {
        int nTheme;
        const char* name;
        const char* look; // the standard bar's look
    } themes[] = {
        {qxpThemeWindows2000, "windows2000", "scroll bar 2"},
        {qxpThemeOfficeXP, "officexp", "scroll bar 3"},
        {qxpThemeOffice2003, "office2003", "scroll bar 3"},
        {qxpThemeWindowsXP, "windowsxp", "scroll bar 3"},
        {qxpThemeWhidbey, "whidbey", "scroll bar 3"},
        {qxpThemeOffice2007, "office2007", "scroll bar 5"},
        {qxpThemeRibbon, "ribbon", "scroll bar 5"},
    };
    for (const auto& t : themes) {
        SCOPED_TRACE(t.name);
        SetGlobalPaintManager(t.nTheme);
        CQXPThemePainter* pPaint = GetGlobalPaintManager();
        ASSERT_NE(nullptr, pPaint);
        ASSERT_EQ(t.nTheme, pPaint->GetCurrentTheme());
        // Themes 5 and 6 bring the Office 2007 painter; the recorder keeps
        // it underneath.
        if (COffice2007Theme* pOffice = dynamic_cast<COffice2007Theme*>(pPaint)) {
            ASSERT_NE(nullptr, dynamic_cast<COffice2007GalleryPaint*>(pPaint->GetGalleryPainter()));
            pPaint->SetGalleryPainter(new CRecordingPainter<COffice2007GalleryPaint>(pOffice));
        } else {
            pPaint->SetGalleryPainter(new CRecordingPainter<CGalleryPainter>(pPaint));
        }
        g_ops.clear();
        pPaint->RefreshMetrics();
        EXPECT_EQ((std::vector<std::string>{"metrics"}), g_ops);
        pBars->RecalcFrameLayout();

        // Background, the visible label rows, then the bar.
        ASSERT_TRUE(pPopup->PopupAt(40, 120, NULL));
        qmtest::PumpMessages();
        EXPECT_EQ((std::vector<std::string>{"background", "label Recent", "label All styles", "column"}),
                  OpsOf(pGallery));
        // The column's buttons are hit where this painter draws them.
        const ScrollBarGeometry& geo = pGallery->GetScrollBarGeometry();
        const int nUp = t.nTheme == qxpThemeOffice2007 || t.nTheme == qxpThemeRibbon ? 21 : 19;
        EXPECT_EQ(geo.rcBar.top + nUp, geo.pxFirstArrowEnd);
        EXPECT_EQ(geo.rcBar.top + nUp + 19, geo.pxPopupStart);
        pGallery->ScrollTo(60);
        EXPECT_EQ((std::vector<std::string>{"background", "label All styles", "column"}), OpsOf(pGallery));
        pGallery->ScrollTo(0);
        pGallery->SetSelectedItem(4);
        EXPECT_EQ((std::vector<std::string>{"background", t.look}), OpsOf(pInline));

        pToolBar->Invalidate();
        pPopup->Invalidate();
        qmtest::PumpFor(150);
        CRect rcFrame, rcPopup;
        frame.GetWindowRect(&rcFrame);
        pPopup->GetWindowRect(&rcPopup);
        rcFrame.UnionRect(rcFrame, rcPopup);
        EXPECT_TRUE(qmtest::SaveScreenPng(rcFrame, qmtest::ScreenshotDir(QM_BIN_DIR) + "/gallery_theme_" + t.name +
                                                       ".png"));
        pPopup->SetTrackingMode(FALSE);
        qmtest::PumpMessages();
    }
}

// The standard bar's arrows, track and thumb in the looks the base draws:
// a pressed arrow and a pressed page area show, a disabled bar has no thumb.
TEST_F(GalleryPaintTest, TheStandardBarShowsItsPressedParts)
{
    SetGlobalPaintManager(qxpThemeWindows2000);
    CGalleryPainter* pPainter = GetGlobalPaintManager()->GetGalleryPainter();
    painttest::MemoryDC dc(20, 120);
    QXPGalleryScrollBarView bar;
    bar.nType = qxpGalleryBarFlat;
    bar.rc = CRect(0, 0, 16, 120);
    bar.rcArrowBefore = CRect(0, 0, 16, 16);
    bar.rcArrowAfter = CRect(0, 104, 16, 120);
    bar.rcThumb = CRect(0, 40, 16, 60);
    bar.rcPageBefore = CRect(0, 16, 16, 40);
    bar.rcPageAfter = CRect(0, 60, 16, 104);

    const struct {
        const char* name;
        int nPressed;
        BOOL bEnabled;
        int x, y;
        COLORREF clr;
    } cases[] = {
        {"released arrow: light frame", 0, TRUE, 0, 0, ::GetSysColor(COLOR_3DHIGHLIGHT)},
        {"pressed arrow: dark frame", qxpGalleryHitUp, TRUE, 0, 0, ::GetSysColor(COLOR_3DSHADOW)},
        {"thumb face", 0, TRUE, 8, 50, ::GetSysColor(COLOR_3DFACE)},
        {"no thumb when disabled", 0, FALSE, 8, 50, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dc.dc()->FillSolidRect(0, 0, 20, 120, RGB(1, 2, 3));
        bar.nPressedPart = c.nPressed;
        bar.bEnabled = c.bEnabled;
        pPainter->DrawScrollBar(dc.dc(), bar);
        if (c.bEnabled)
            EXPECT_EQ(c.clr, dc.Pixel(c.x, c.y));
        else
            EXPECT_EQ(dc.Pixel(8, 30), dc.Pixel(c.x, c.y)) << "the track runs through";
    }
}

// The three-button column: a button with nothing to scroll to shows its
// glyph in the disabled text colour, the others in the normal one; the
// hot part in the hot one.
TEST_F(GalleryPaintTest, TheColumnShowsWhichWayItCanScroll)
{
    SetGlobalPaintManager(qxpThemeOffice2003);
    CQXPThemePainter* pPaint = GetGlobalPaintManager();
    CGalleryPainter* pPainter = pPaint->GetGalleryPainter();
    painttest::MemoryDC dc(16, 80);
    QXPGalleryView g;
    g.rc = CRect(-100, 0, 16, 80);
    g.rcScrollBar = CRect(0, 0, 16, 80);
    g.bCanScrollUp = FALSE;
    g.nHotPart = qxpGalleryHitPopup;
    pPainter->DrawPopupScrollColumn(dc.dc(), g);
    auto textColor = [&](BOOL bHot, BOOL bEnabled) {
        return pPaint->GetRectangleTextColor(bHot, FALSE, bEnabled, FALSE, FALSE, qxpBarTypeNormal, qxpBarTop);
    };
    // Inside each glyph: below the up triangle's tip, above the down one's,
    // on the popup button's bar.
    const CPoint cUp = CRect(0, 0, 16, 19).CenterPoint(), cDown = CRect(0, 19, 16, 38).CenterPoint();
    const CPoint cPopup = CRect(0, 38, 16, 80).CenterPoint();
    EXPECT_EQ(textColor(FALSE, FALSE), dc.Pixel(cUp.x, cUp.y + 1)) << "nothing above: disabled";
    EXPECT_EQ(textColor(FALSE, TRUE), dc.Pixel(cDown.x, cDown.y - 1));
    EXPECT_EQ(textColor(TRUE, TRUE), dc.Pixel(cPopup.x, cPopup.y - 3)) << "the hot popup button's bar";
    EXPECT_NE(textColor(FALSE, FALSE), textColor(FALSE, TRUE));
}

} // namespace
