// The shapes of containers beyond the plain caption over tabs: stacked tab
// rows with the pane between them, theme 5's inset and framed panes, and
// captions that run down a container's left side.
#include "DockTestSupport.h"
#include <qmtest/icons.h>
#include <qmtest/screenshot.h>
#include <qx/autohide.h>
#include <qx/colors.h>
#include <qx/panepaint.h>
#include <qx/tabpaint.h>

#include "PaintTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using qmtest::PumpMessages;

class Tabs : public CQXPTabManager {
public:
    CQXPTabPainter* GetPaintManager() const override { return const_cast<CQXPTabPainter*>(&painter); }
    void RedrawControl(LPCRECT, BOOL) override {}
    void OnPropertyChanged() override {}
    CQXPTabPainter painter;
};

// --- the stacked appearance, without windows ---------------------------------

struct StackCase {
    int count, selected;
    int clientFrame;
    const char* rows; // per item: T (from the top) or B (from the bottom)
};

class StackedRows : public ::testing::TestWithParam<StackCase> {};

TEST_P(StackedRows, UpToTheSelectedFromTheTopTheRestFromTheBottom)
{
    const StackCase& c = GetParam();
    Tabs t;
    for (int i = 0; i < c.count; ++i)
        t.AddItem(-1)->SetCaption(("Row " + std::to_string(i)).c_str());
    t.painter.SetAppearance(8);
    t.painter.m_nClientFrame = c.clientFrame;
    t.SetCurSel(c.selected);
    const RECT rc = {0, 0, 200, 300};
    t.Reposition(NULL, rc);
    const int h = t.painter.GetButtonHeight();
    // Inside the frame, or below the top line of frame style 2.
    const int top = 1, bottom = c.clientFrame == 2 ? 300 : 299;
    EXPECT_TRUE(IsRectEmpty(&t.m_rcHeaderRect));
    for (int i = 0; i < c.count; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        RECT r = t.GetItem(i)->GetRect();
        EXPECT_EQ(h, r.bottom - r.top);
        EXPECT_EQ(c.clientFrame == 2 ? 0 : 1, r.left);
        if (c.rows[i] == 'T')
            EXPECT_EQ(top + i * h, r.top);
        else
            EXPECT_EQ(bottom - (c.count - i) * h, r.top);
    }
    // The client lies between the two stacks.
    RECT client = rc;
    t.painter.AdjustClientRect(&t, client);
    EXPECT_EQ(top + (c.selected + 1) * h, client.top);
    EXPECT_EQ(bottom - (c.count - 1 - c.selected) * h, client.bottom);
}

INSTANTIATE_TEST_SUITE_P(Table, StackedRows,
                         ::testing::Values(StackCase{4, 0, 1, "TBBB"}, StackCase{4, 1, 1, "TTBB"},
                                           StackCase{4, 3, 1, "TTTT"}, // the last selected: all at the top
                                           StackCase{3, 1, 2, "TTB"}, StackCase{1, 0, 1, "T"}));

TEST(StackedAppearance, RowsAreFramedAndCarryAGrip)
{
    painttest::FixedColors colors;
    Tabs t;
    for (int i = 0; i < 3; ++i)
        t.AddItem(-1)->SetCaption(("Row " + std::to_string(i)).c_str());
    t.painter.SetAppearance(8);
    t.SetCurSel(0);
    const RECT rc = {0, 0, 160, 200};
    t.Reposition(NULL, rc);
    painttest::MemoryDC pic(160, 200);
    t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), rc);
    const TabColorSet& c = t.painter.GetColors();
    // The control: the control face in a frame of the border colour.
    EXPECT_EQ(c.clrBorder, pic.Pixel(0, 100));
    RECT client = rc;
    t.painter.AdjustClientRect(&t, client);
    EXPECT_EQ(c.clrControlFace, pic.Pixel(80, (client.top + client.bottom) / 2));
    // Each row: the highlight top-left, the border bottom-right, and 3-pixel
    // grip lines in the gripper colour 7 pixels from its end, every other row.
    const COLORREF grip = ToolkitColorManager::Instance()->GetColor(qxColorGripper);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        RECT r = t.GetItem(i)->GetRect();
        EXPECT_EQ(c.clrButtonHighlight, pic.Pixel(r.left + 5, r.top));
        EXPECT_EQ(c.clrBorder, pic.Pixel(r.left + 5, r.bottom - 1));
        for (int x = r.right - 10; x < r.right - 7; ++x) {
            EXPECT_EQ(grip, pic.Pixel(x, r.top + 4)) << x;
            EXPECT_NE(grip, pic.Pixel(x, r.top + 5)) << x;
            EXPECT_EQ(grip, pic.Pixel(x, r.top + 6)) << x;
        }
        EXPECT_NE(grip, pic.Pixel(r.right - 7, r.top + 4));
        EXPECT_NE(grip, pic.Pixel(r.right - 11, r.top + 4));
    }
    EXPECT_TRUE(pic.SavePng("tabs-stacked.png"));
}

// --- containers in a frame ---------------------------------------------------------

struct Frame : docktest::EditPaneFrame {
    CQXPDockingPaneTabbedContainer* Container(int id)
    {
        return dynamic_cast<CQXPDockingPaneTabbedContainer*>(manager.FindPane(id)->GetContainer());
    }
    std::unique_ptr<painttest::MemoryDC> Draw(CQXPDockingPaneTabbedContainer* t, RECT* prc = NULL)
    {
        RECT rc;
        GetClientRect(t->GetSafeHwnd(), &rc);
        auto pic = std::make_unique<painttest::MemoryDC>(rc.right, rc.bottom);
        manager.GetPaintManager()->DrawPane(pic->dc()->GetSafeHdc(), t, rc);
        if (prc)
            *prc = rc;
        return pic;
    }
};

TEST(StripedTheme, StackedPanesShowBetweenTheirRows)
{
    Frame f;
    HWND e1 = f.AddPane(1, dockLeftOf, NULL, 200, 300);
    HWND e2 = f.AddPane(2, dockRightOf);
    HWND e3 = f.AddPane(3, dockRightOf);
    for (int id = 1; id <= 3; ++id)
        f.manager.FindPane(id)->SetTitle(("Pane " + std::to_string(id)).c_str());
    f.manager.AttachPane(f.manager.FindPane(2), f.manager.FindPane(1));
    f.manager.AttachPane(f.manager.FindPane(3), f.manager.FindPane(1));
    f.manager.GetLayout()->DropEmptyContainers();
    f.manager.SetTheme(5);
    f.Relayout();
    CQXPDockingPaneTabbedContainer* t = f.Container(1);
    ASSERT_TRUE(t && t->IsTabsVisible());
    CQXPTabManager* tabs = t->GetTabManager();
    const int h = f.manager.GetPaintManager()->GetTabPainter()->GetButtonHeight();
    struct {
        int select;
        HWND shown;
        int above; // rows above the pane
    } steps[] = {{3, e3, 3}, {1, e1, 1}, {2, e2, 2}};
    for (const auto& s : steps) {
        SCOPED_TRACE("pane " + std::to_string(s.select));
        t->SelectPane(f.manager.FindPane(s.select), FALSE, FALSE);
        f.Relayout();
        ASSERT_TRUE(IsWindowVisible(s.shown));
        RECT rcPane = f.RectIn(s.shown, t->GetSafeHwnd());
        EXPECT_TRUE(EqualRect(&rcPane, &t->GetClientArea()));
        // The rows up to the selected one lie above the pane, the others below.
        for (int i = 0; i < tabs->GetItemCount(); ++i) {
            RECT r = tabs->GetItem(i)->GetRect();
            if (i < s.above)
                EXPECT_LE(r.bottom, rcPane.top) << i;
            else
                EXPECT_GE(r.top, rcPane.bottom) << i;
            EXPECT_EQ(h, r.bottom - r.top) << i;
        }
    }
    // A click on a row below the pane brings its pane up.
    RECT row = tabs->GetItem(2)->GetRect();
    ASSERT_EQ(1, tabs->GetCurSel());
    POINT pt = {(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    SendMessageA(t->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    SendMessageA(t->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    f.Relayout();
    EXPECT_EQ(f.manager.FindPane(3), t->GetSelected());
    EXPECT_TRUE(IsWindowVisible(e3));
    auto pic = f.Draw(t);
    EXPECT_TRUE(pic->SavePng("dock-theme5-stacked.png"));
}

TEST(StripedTheme, ALonePaneIsInsetAndFramed)
{
    painttest::FixedColors colors;
    Frame f;
    HWND e1 = f.AddPane(1, dockLeftOf);
    f.manager.FindPane(1)->SetTitle("Pane 1");
    f.manager.SetTheme(5);
    f.Relayout();
    CQXPDockingPaneTabbedContainer* t = f.Container(1);
    ASSERT_TRUE(t && !t->IsTabsVisible() && t->IsCaptionVisible());
    CDockingPanePaintManager* p = f.manager.GetPaintManager();
    RECT rc;
    auto pic = f.Draw(t, &rc);
    // Three pixels of stripe colour on the sides and below, a one-pixel
    // frame, then the pane.
    RECT rcPane = f.RectIn(e1, t->GetSafeHwnd());
    RECT want = {4, p->GetCaptionHeight() + 1, rc.right - 4, rc.bottom - 4};
    EXPECT_TRUE(EqualRect(&want, &rcPane));
    const COLORREF border = p->GetTabPainter()->GetColors().clrBorder;
    const COLORREF corner = p->GetColor(qxColorButtonFace);
    const int midY = (want.top + want.bottom) / 2, midX = (want.left + want.right) / 2;
    EXPECT_EQ(border, pic->Pixel(3, midY));
    EXPECT_EQ(border, pic->Pixel(rc.right - 4, midY));
    EXPECT_EQ(border, pic->Pixel(midX, rc.bottom - 4));
    EXPECT_EQ(corner, pic->Pixel(3, rc.bottom - 4));
    EXPECT_EQ(corner, pic->Pixel(rc.right - 4, rc.bottom - 4));
    EXPECT_EQ(p->GetColor(t->IsActive() ? qxColorHotFace : qxColorBarFace), pic->Pixel(1, midY)) << "the stripe colour";
    EXPECT_TRUE(pic->SavePng("dock-theme5-framed.png"));
    // Without a caption the inset is 3 pixels at the top as well.
    f.manager.FindPane(1)->SetOptions(paneNoCaption);
    f.Relayout();
    rcPane = f.RectIn(e1, t->GetSafeHwnd());
    EXPECT_EQ(4, rcPane.top);
}

// --- panes behind tabs --------------------------------------------------------------

// The selected pane of a tabbed container sits in the tab painter's client
// rectangle of what the caption leaves: above the header at the bottom,
// sharing the header's top row, inside the client frame's line on the tab
// side (frame style 1; theme 6's style 2 has none). The line is the
// appearance's: drawn with the container, read back from its picture.
TEST(TabbedPanes, SitInTheirTabPaintersClientRectangle)
{
    painttest::FixedColors colors;
    struct Case {
        int theme, appearance, frame;
    } cases[] = {{0, 0, 1}, {1, 5, 1}, {2, 2, 1}, {4, 0, 1}, {6, 2, 2}, {9, 2, 1}, {10, 10, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE("theme " + std::to_string(c.theme));
        Frame f;
        HWND e1 = f.AddPane(1, dockLeftOf, NULL, 240, 300);
        HWND e2 = f.AddPane(2, dockRightOf);
        f.manager.FindPane(1)->SetTitle("One");
        f.manager.FindPane(2)->SetTitle("Two");
        f.manager.AttachPane(f.manager.FindPane(2), f.manager.FindPane(1));
        f.manager.GetLayout()->DropEmptyContainers();
        f.manager.SetTheme(c.theme);
        f.Relayout();
        CQXPDockingPaneTabbedContainer* t = f.Container(1);
        ASSERT_TRUE(t && t->IsTabsVisible() && t->IsCaptionVisible());
        CDockingPanePaintManager* pm = f.manager.GetPaintManager();
        CQXPTabPainter* p = pm->GetTabPainter();
        ASSERT_EQ(c.appearance, p->GetAppearance());
        ASSERT_EQ(c.frame, p->m_nClientFrame);
        ASSERT_EQ(tabPositionBottom, p->GetPosition());
        CQXPTabManager* tabs = t->GetTabManager();
        RECT rc;
        GetClientRect(t->GetSafeHwnd(), &rc);
        RECT body = rc;
        body.top += pm->GetCaptionHeight();
        const RECT header = p->GetHeaderRect(tabs, body);
        EXPECT_EQ(rc.bottom, header.bottom);
        // Both panes, each in turn the selected one.
        for (int id : {1, 2}) {
            t->SelectPane(f.manager.FindPane(id), FALSE, FALSE);
            f.Relayout();
            HWND shown = id == 1 ? e1 : e2;
            ASSERT_TRUE(IsWindowVisible(shown));
            RECT want = {body.left, body.top, body.right, header.top + 1 - (c.frame == 1 ? 2 : 0)};
            RECT rcPane = f.RectIn(shown, t->GetSafeHwnd());
            EXPECT_TRUE(EqualRect(&want, &rcPane)) << "pane " << id << " at " << rcPane.left << "," << rcPane.top
                                                   << "," << rcPane.right << "," << rcPane.bottom << " for "
                                                   << want.bottom;
        }
        // The client frame's line along the header's top row, past the tabs.
        auto pic = f.Draw(t);
        const TabColorSet& colours = p->GetColors();
        int x = tabs->GetItem(tabs->GetItemCount() - 1)->GetRect().right + 4;
        ASSERT_LT(x, rc.right - 4);
        const COLORREF line = pic->Pixel(x, header.top);
        switch (c.appearance) {
        case 0:
            EXPECT_EQ(colours.clrDarkShadow3D, line);
            EXPECT_EQ(colours.clrShadow3D, pic->Pixel(x, header.top - 1)) << "inner shadow";
            break;
        case 5: EXPECT_EQ(colours.clrSelectedText, line); break;
        case 2:
        case 10:
            if (c.frame == 2)
                EXPECT_NE(colours.clrBorder, line) << "no frame line";
            else
                EXPECT_EQ(colours.clrBorder, line);
            break;
        }
        if (c.theme == 0 || c.theme == 6)
            EXPECT_TRUE(pic->SavePng("dock-tabbed-client-theme" + std::to_string(c.theme) + ".png"));
    }
}

// Theme 9's pane tabs: only the selected tab is filled, a box with rounded
// corners at its outer edge that runs into the pane; the others stand on
// the header with a short separator at their far end, none after the last.
// Its auto-hide tabs are rounded boxes, each with its caption.
TEST(TabbedPanes, BorderedThemeSeparatesItsPaneTabs)
{
    painttest::FixedColors colors;
    Frame f;
    f.AddPane(1, dockLeftOf, NULL, 260, 300);
    for (int id = 2; id <= 3; ++id)
        f.AddPane(id, dockRightOf);
    f.AddPane(4, dockBottomOf, NULL, 200, 120);
    f.AddPane(5, dockRightOf);
    const char* titles[] = {"", "Solution", "Files", "Templates", "Output", "Find Results"};
    for (int id = 1; id <= 5; ++id)
        f.manager.FindPane(id)->SetTitle(titles[id]);
    f.manager.AttachPane(f.manager.FindPane(2), f.manager.FindPane(1));
    f.manager.AttachPane(f.manager.FindPane(3), f.manager.FindPane(1));
    f.manager.AttachPane(f.manager.FindPane(5), f.manager.FindPane(4));
    f.manager.GetLayout()->DropEmptyContainers();
    f.manager.SetTheme(9);
    f.manager.HidePane(f.manager.FindPane(4));
    f.Relayout();
    CQXPDockingPaneTabbedContainer* t = f.Container(1);
    ASSERT_TRUE(t && t->IsTabsVisible());
    t->SelectPane(f.manager.FindPane(1), FALSE, FALSE);
    f.Relayout();
    CDockingPanePaintManager* pm = f.manager.GetPaintManager();
    const TabColorSet& c = pm->GetTabPainter()->GetColors();
    CQXPTabManager* tabs = t->GetTabManager();
    ASSERT_EQ(3, tabs->GetItemCount());
    auto pic = f.Draw(t);
    const RECT r0 = tabs->GetItem(0)->GetRect(), r1 = tabs->GetItem(1)->GetRect(), r2 = tabs->GetItem(2)->GetRect();
    const int y = (r0.top + r0.bottom) / 2, yOuter = r0.bottom - 2;
    // The header's own colour on a row, past the last tab.
    auto header = [&](int yy) { return pic->Pixel(r2.right + 10, yy); };
    ASSERT_NE(c.clrSelectedFace, header(y));
    EXPECT_EQ(c.clrSelectedFace, pic->Pixel(r0.left + 3, y)) << "the selected tab is filled";
    EXPECT_EQ(c.clrBorder, pic->Pixel((r0.left + r0.right) / 2, r0.bottom - 1)) << "outlined at its outer edge";
    EXPECT_NE(c.clrBorder, pic->Pixel(r0.left, r0.bottom - 1)) << "with a rounded corner";
    EXPECT_EQ(c.clrSelectedFace, pic->Pixel((r0.left + r0.right) / 2, r0.top)) << "open to the pane";
    EXPECT_EQ(header(y), pic->Pixel(r1.left + 3, y)) << "the others are not filled";
    EXPECT_EQ(c.clrBorder, pic->Pixel(r1.right, y)) << "separator after the second tab";
    EXPECT_EQ(header(yOuter), pic->Pixel(r1.right, yOuter)) << "short of the outer end";
    EXPECT_EQ(header(y), pic->Pixel(r2.right, y)) << "none after the last tab";
    // The auto-hide strip at the bottom: every tab wide enough for its caption.
    AutoHidePanel* panel = f.manager.GetLayout()->GetPanel(dockBottomOf);
    ASSERT_TRUE(panel && panel->GetGroupTabs().size() == 1);
    AutoHideGroupTabs* group = panel->GetGroupTabs()[0];
    ASSERT_EQ(2, group->GetItemCount());
    for (int i = 0; i < 2; ++i) {
        const CString caption = group->GetItem(i)->GetCaption();
        const RECT& r = group->GetItem(i)->GetRect();
        EXPECT_GE(r.right - r.left, docktest::CaptionWidth(pm->GetPanelTabPainter(), caption)) << (LPCSTR)caption;
    }
    EXPECT_TRUE(pic->SavePng("dock-theme9-pane-tabs.png"));
    EXPECT_TRUE(qmtest::SaveWindowShot(f.site.m_hWnd, QM_BIN_DIR, "dock-theme9-frame.png"));
}

// The caption strips of themes 2, 7 and 10: the caption text height and 3
// deep from the caption's top; theme 2 fills its caption and sets the strip
// one pixel in with its top corners on the face; themes 7 and 10 edge the
// strip's top and sides with the frame colour (54), theme 10 lit inside its
// top and left edges (colour 20).
TEST(CaptionStrips, FilledOrEdgedByTheme)
{
    painttest::FixedColors colors;
    struct {
        int theme;
        bool filled, lit;
    } cases[] = {{2, true, false}, {7, false, false}, {10, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "theme " << c.theme);
        Frame f;
        f.AddPane(1, dockLeftOf, NULL, 200, 200);
        f.manager.FindPane(1)->SetTitle("Pane");
        f.manager.SetTheme(c.theme);
        f.Relayout();
        CQXPDockingPaneTabbedContainer* t = f.Container(1);
        ASSERT_TRUE(t && t->IsCaptionVisible() && !t->IsCaptionVertical());
        CDockingPanePaintManager* pm = f.manager.GetPaintManager();
        RECT rc;
        auto pic = f.Draw(t, &rc);
        const int top = 0, bottom = pm->GetCaptionTextHeight() + 3;
        ASSERT_LE(bottom, pm->GetCaptionHeight());
        const int mid = (top + bottom) / 2, right = rc.right - 1;
        const COLORREF face = pm->m_clrFace, frame = pm->GetColor(qxColorWindowFrame),
                       light = pm->GetColor(COLOR_BTNHIGHLIGHT);
        ASSERT_NE(face, frame);
        if (c.filled) {
            EXPECT_EQ(face, pic->Pixel(0, mid)) << "the strip starts a pixel in";
            EXPECT_EQ(face, pic->Pixel(1, top)) << "its corner on the face";
            EXPECT_EQ(face, pic->Pixel(right - 1, top)) << "its far corner on the face";
            EXPECT_NE(face, pic->Pixel(2, top)) << "the gradient";
            EXPECT_NE(frame, pic->Pixel(2, top)) << "no frame line";
            EXPECT_NE(face, pic->Pixel(2, bottom - 1)) << "the gradient down to the strip's last row";
            continue;
        }
        EXPECT_EQ(frame, pic->Pixel(0, top + 1)) << "left edge from the caption's top";
        EXPECT_EQ(frame, pic->Pixel(0, bottom - 1)) << "left edge down to the strip's last row";
        EXPECT_EQ(frame, pic->Pixel(0, mid)) << "left edge";
        EXPECT_EQ(frame, pic->Pixel(right, mid)) << "right edge";
        EXPECT_EQ(frame, pic->Pixel(rc.right / 2, top)) << "top edge";
        EXPECT_NE(frame, pic->Pixel(rc.right / 2, bottom - 1)) << "no bottom edge";
        EXPECT_EQ(c.lit, light == pic->Pixel(1, mid)) << "inside the left edge";
        EXPECT_EQ(c.lit, light == pic->Pixel(rc.right / 2, top + 1)) << "inside the top edge";
        EXPECT_NE(light, pic->Pixel(right - 1, mid)) << "nothing inside the right edge";
        EXPECT_TRUE(pic->SavePng("dock-caption-strip-theme" + std::to_string(c.theme) + ".png"));
    }
}

// Where a caption's content starts in the strip themes: just inside the
// strip, 8 pixels later behind the gripper dots. Themes 2 and 10 have the
// dots, theme 7 not; each is drawn with its own setting and the other one.
TEST(CaptionStrips, ContentStartsEightPixelsLaterAfterTheDots)
{
    painttest::FixedColors colors;
    struct {
        int theme;
        bool dots;   // the theme's own setting
        int stripIn; // the strip's left edge in the caption
    } cases[] = {{2, true, 1}, {7, false, 0}, {10, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "theme " << c.theme);
        Frame f;
        f.AddPane(1, dockLeftOf, NULL, 240, 200);
        f.manager.SetTheme(c.theme);
        f.Relayout();
        CQXPDockingPaneTabbedContainer* t = f.Container(1);
        ASSERT_TRUE(t && t->IsCaptionVisible() && !t->IsCaptionVertical());
        CDockingPanePaintManager* pm = f.manager.GetPaintManager();
        EXPECT_EQ(c.dots, (bool)pm->m_bGripperDots);
        EXPECT_EQ(c.theme == 2, (bool)pm->m_bFilledCaption);
        const int bottom = pm->GetCaptionTextHeight() + 3;
        // The first column the title changes: where the text starts.
        auto textStart = [&](BOOL bDots, bool* pbDotsShown) {
            pm->m_bGripperDots = bDots;
            f.manager.FindPane(1)->SetTitle("");
            auto blank = f.Draw(t);
            f.manager.FindPane(1)->SetTitle("HHHH");
            auto titled = f.Draw(t);
            *pbDotsShown = blank->Pixel(c.stripIn + 3, 3) == pm->GetColor(qxColorGripper);
            for (int x = 0; x < 120; ++x)
                for (int y = 0; y < bottom; ++y)
                    if (blank->Pixel(x, y) != titled->Pixel(x, y))
                        return x;
            return -1;
        };
        bool bShownWith = false, bShownWithout = true;
        const int without = textStart(FALSE, &bShownWithout);
        const int with = textStart(TRUE, &bShownWith);
        EXPECT_FALSE(bShownWithout) << "no dots";
        EXPECT_TRUE(bShownWith) << "the dots";
        ASSERT_GE(without, 0);
        // "H" stands a pixel or two off its cell's left edge.
        EXPECT_GE(without, c.stripIn + 2);
        EXPECT_LE(without, c.stripIn + 2 + 2);
        EXPECT_EQ(without + 8, with);
    }
}

// --- caption fonts and vertical captions ---------------------------------------------

TEST(CaptionFonts, ThemesSixEightAndNineWriteInTheNormalWeight)
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
    for (int theme = 0; theme <= 10; ++theme) {
        if (theme == 7) // the icon titles' font in Arial
            continue;
        std::unique_ptr<CDockingPanePaintManager> p(CDockingPanePaintManager::CreateTheme(theme));
        LOGFONTA lf = {};
        ASSERT_TRUE(GetObjectA(p->m_hFont, sizeof(lf), &lf)) << theme;
        const LONG want = theme == 6 || theme == 8 || theme == 9 ? FW_NORMAL : ncm.lfSmCaptionFont.lfWeight;
        EXPECT_EQ(want, lf.lfWeight) << theme;
        EXPECT_STREQ(ncm.lfSmCaptionFont.lfFaceName, lf.lfFaceName) << theme;
    }
}

// The tab strip of tabbed containers is 10 pixels taller than a space in the
// pane-tab painter's normal font, and 24 pixels for text under 14 pixels;
// whatever the theme's header margins and row height.
TEST(TabStripHeight, TenAboveTheTabTextOrTwentyFour)
{
    const struct {
        int text, strip;
    } rule[] = {{8, 24}, {13, 24}, {14, 24}, {15, 25}, {22, 32}};
    for (const auto& r : rule)
        EXPECT_EQ(r.strip, CDockingPanePaintManager::TabStripHeightForText(r.text)) << r.text;
    bool bSawTall = false, bSawShort = false;
    for (int theme : {0, 2, 5, 6, 9}) {
        for (LONG height : {-8, -11, -16, -24}) {
            SCOPED_TRACE("theme " + std::to_string(theme) + " font " + std::to_string(height));
            std::unique_ptr<CDockingPanePaintManager> p(CDockingPanePaintManager::CreateTheme(theme));
            LOGFONTA lf = {};
            lf.lfHeight = height;
            lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
            p->GetTabPainter()->SetFontIndirect(&lf, FALSE);
            p->RefreshMetrics();
            const int h = painttest::TextExtent(p->GetTabPainter()->GetFont(FALSE, FALSE), " ").cy;
            (h >= 14 ? bSawTall : bSawShort) = true;
            EXPECT_EQ(h >= 14 ? h + 10 : 24, p->GetTabStripHeight());
        }
    }
    EXPECT_TRUE(bSawTall);
    EXPECT_TRUE(bSawShort);
}

TEST(VerticalCaptions, ByTheManagersCaptionDirection)
{
    Frame f;
    f.AddPane(1, dockLeftOf, NULL, 150, 200);
    f.AddPane(2, dockBottomOf, NULL, 200, 100);
    f.Relayout();
    CQXPDockingPaneTabbedContainer* left = f.Container(1);
    CQXPDockingPaneTabbedContainer* bottom = f.Container(2);
    ASSERT_TRUE(left && bottom);
    const RECT& rl = left->GetPaneRect();
    const RECT& rb = bottom->GetPaneRect();
    ASSERT_GT(rl.bottom - rl.top, rl.right - rl.left) << "the left pane is higher than wide";
    ASSERT_GT(rb.right - rb.left, rb.bottom - rb.top) << "the bottom pane is wider than high";
    struct {
        int direction;
        bool left, bottom;
    } cases[] = {{0, false, false}, {1, true, true}, {2, false, true}, {3, false, true}};
    for (const auto& c : cases) {
        f.manager.m_nCaptionDirection = c.direction;
        EXPECT_EQ(c.left, !!left->IsCaptionVertical()) << c.direction;
        EXPECT_EQ(c.bottom, !!bottom->IsCaptionVertical()) << c.direction;
    }
}

TEST(VerticalCaptions, RunDownTheLeftSide)
{
    Frame f;
    HWND e1 = f.AddPane(1, dockBottomOf, NULL, 300, 120);
    f.manager.m_nCaptionDirection = 1;
    f.Relayout();
    CQXPDockingPaneTabbedContainer* t = f.Container(1);
    ASSERT_TRUE(t && t->IsCaptionVertical());
    CDockingPanePaintManager* p = f.manager.GetPaintManager();
    const int nCaption = p->GetCaptionHeight();
    // The pane starts after the caption's width, at the top.
    RECT rcPane = f.RectIn(e1, t->GetSafeHwnd());
    RECT rc;
    GetClientRect(t->GetSafeHwnd(), &rc);
    EXPECT_EQ(nCaption + 1, rcPane.left);
    EXPECT_EQ(1, rcPane.top);
    EXPECT_EQ(rc.bottom - 1, rcPane.bottom);
    // The vertical caption font: turned a quarter, at least 11 pixels.
    const LOGFONTA& lf = p->GetVerticalCaptionFont();
    EXPECT_EQ(2700, lf.lfEscapement);
    EXPECT_LE(lf.lfHeight, -11);

    for (int theme : {0, 2, 5, 9}) {
        SCOPED_TRACE("theme " + std::to_string(theme));
        f.manager.SetTheme(theme);
        f.Relayout();
        p = f.manager.GetPaintManager();
        RECT rcCaption = p->GetCaptionRect(t, rc);
        EXPECT_EQ(p->GetCaptionHeight(), rcCaption.right - rcCaption.left);
        EXPECT_EQ(rc.bottom - rc.top, rcCaption.bottom - rcCaption.top);
        // The text runs down the caption: with a title the caption has
        // pixels of a colour it lacks without one, all in its upper part.
        t->GetSelected()->SetTitle("A Title");
        auto with = f.Draw(t);
        t->GetSelected()->SetTitle("");
        auto without = f.Draw(t);
        int changed = 0, lowest = -1, outside = 0;
        for (int y = 0; y < rc.bottom; ++y)
            for (int x = 0; x < rc.right; ++x)
                if (with->Pixel(x, y) != without->Pixel(x, y)) {
                    if (x < rcCaption.right) {
                        ++changed;
                        lowest = std::max(lowest, y);
                    } else {
                        ++outside;
                    }
                }
        EXPECT_GT(changed, 10);
        EXPECT_EQ(0, outside);
        // The buttons stand at the bottom, one above the other.
        std::vector<RECT> buttons;
        for (CaptionButton* b : t->m_arrCaptionButtons)
            if (!IsRectEmpty(&b->m_rc))
                buttons.push_back(b->m_rc);
        ASSERT_FALSE(buttons.empty());
        EXPECT_LT(lowest, buttons.back().top) << "the text ends above the buttons";
        for (size_t i = 0; i < buttons.size(); ++i) {
            EXPECT_GE(buttons[i].left, rcCaption.left);
            EXPECT_LE(buttons[i].right, rcCaption.right);
            if (i > 0)
                EXPECT_LE(buttons[i].bottom, buttons[i - 1].top);
        }
        EXPECT_GE(buttons[0].bottom, rc.bottom - 4);
        t->GetSelected()->SetTitle("Pane 1");
        auto pic = f.Draw(t);
        EXPECT_TRUE(pic->SavePng("dock-vertical-caption-theme" + std::to_string(theme) + ".png"));
    }

    // The close button, pressed and released where it now stands, closes.
    UpdateWindow(t->GetSafeHwnd());
    RECT rcButton = {0, 0, 0, 0};
    for (CaptionButton* b : t->m_arrCaptionButtons)
        if (b->m_nID == QXP_IDS_DOCKINGPANE_CLOSE)
            rcButton = b->m_rc;
    ASSERT_FALSE(IsRectEmpty(&rcButton));
    EXPECT_LT(rcButton.right, f.manager.GetPaintManager()->GetCaptionHeight() + 2);
    POINT pt = {(rcButton.left + rcButton.right) / 2, (rcButton.top + rcButton.bottom) / 2};
    PostMessageA(t->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    SendMessageA(t->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    PumpMessages();
    EXPECT_TRUE(f.manager.FindPane(1)->IsClosed());
}

// The bounding box of the pixels of one colour in a picture (empty when
// there are none) and how many there are.
RECT BoxOf(painttest::MemoryDC& pic, const RECT& rc, COLORREF clr, int* pnCount = NULL)
{
    RECT box = {0, 0, 0, 0};
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (pic.Pixel(x, y) == clr) {
                if (n++ == 0)
                    box = {x, y, x + 1, y + 1};
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    if (pnCount)
        *pnCount = n;
    return box;
}

// The first row (vertical caption) or column (horizontal) where two
// pictures of a caption differ; -1 when they do not.
int FirstDifference(painttest::MemoryDC& a, painttest::MemoryDC& b, const RECT& rcCaption, bool bVertical)
{
    int first = -1;
    for (int y = rcCaption.top; y < rcCaption.bottom; ++y)
        for (int x = rcCaption.left; x < rcCaption.right; ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                const int at = bVertical ? y : x;
                if (first < 0 || at < first)
                    first = at;
            }
    return first;
}

// With the caption-icon option a vertical caption is the horizontal one
// turned a quarter: the selected pane's icon stands at its top, centred
// across it as the horizontal one is centred down, and the title begins
// the icon's size plus 3 pixels further down.
TEST(VerticalCaptions, ThePaneIconStandsAtTheTopCentredAndTheTitleFollowsIt)
{
    const COLORREF kRed = RGB(255, 0, 0);
    HICON hRed = qmtest::SolidIcon(kRed);
    Frame f;
    f.AddPane(1, dockBottomOf, NULL, 300, 120);
    f.manager.SetIcon(1, hRed);
    // Longer than either caption, so the title fills the room from its start.
    f.manager.FindPane(1)->SetTitle("A title far too long for the caption of a pane this small");
    for (int theme : {0, 2, 5, 9}) {
        SCOPED_TRACE("theme " + std::to_string(theme));
        f.manager.SetTheme(theme);
        CDockingPanePaintManager* p = f.manager.GetPaintManager();
        const SIZE szIcon = p->GetTabPainter()->m_szIcon;
        CQXPDockingPaneTabbedContainer* t = f.Container(1);
        ASSERT_NE(nullptr, t);
        struct Shape {
            RECT rcCaption, rcIcon;
            int nIconPixels, nTextStart, nTextStartWithoutIcon;
        } shapes[2];
        for (int vertical = 0; vertical < 2; ++vertical) {
            f.manager.m_nCaptionDirection = vertical;
            f.Relayout();
            ASSERT_EQ(vertical == 1, !!t->IsCaptionVertical());
            Shape& s = shapes[vertical];
            RECT rc;
            GetClientRect(t->GetSafeHwnd(), &rc);
            s.rcCaption = p->GetCaptionRect(t, rc);
            CQXPDockingPane* pane = t->GetSelected();
            const CString strTitle = pane->GetTitle();
            p->m_bShowCaptionIcon = TRUE;
            auto withIcon = f.Draw(t);
            pane->SetTitle("");
            auto withIconUntitled = f.Draw(t);
            p->m_bShowCaptionIcon = FALSE;
            auto untitled = f.Draw(t);
            pane->SetTitle(strTitle);
            auto plain = f.Draw(t);
            s.rcIcon = BoxOf(*withIcon, s.rcCaption, kRed, &s.nIconPixels);
            EXPECT_EQ(0, BoxOf(*plain, rc, kRed).right) << "no icon without the option";
            s.nTextStart = FirstDifference(*withIcon, *withIconUntitled, s.rcCaption, vertical == 1);
            s.nTextStartWithoutIcon = FirstDifference(*plain, *untitled, s.rcCaption, vertical == 1);
            if (!vertical)
                continue;
            EXPECT_TRUE(withIcon->SavePng("dock-vertical-caption-icon-theme" + std::to_string(theme) + ".png"));
            // The window shows the same on the screen.
            p->m_bShowCaptionIcon = TRUE;
            RedrawWindow(t->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
            HDC hdc = GetDC(t->GetSafeHwnd());
            EXPECT_EQ(kRed, GetPixel(hdc, (s.rcIcon.left + s.rcIcon.right) / 2, (s.rcIcon.top + s.rcIcon.bottom) / 2));
            ReleaseDC(t->GetSafeHwnd(), hdc);
            p->m_bShowCaptionIcon = FALSE;
        }
        const Shape& h = shapes[0];
        const Shape& v = shapes[1];
        // The whole icon, at its size.
        EXPECT_EQ(szIcon.cx * szIcon.cy, v.nIconPixels);
        EXPECT_EQ(szIcon.cx, v.rcIcon.right - v.rcIcon.left);
        EXPECT_EQ(szIcon.cy, v.rcIcon.bottom - v.rcIcon.top);
        // At the top, as far from the caption's start as the horizontal
        // caption's icon stands from its left end ...
        EXPECT_EQ(h.rcIcon.left - h.rcCaption.left, v.rcIcon.top - v.rcCaption.top);
        // ... and centred across the caption as that one is centred down.
        EXPECT_EQ(h.rcIcon.top - h.rcCaption.top, v.rcIcon.left - v.rcCaption.left);
        EXPECT_LE(std::abs((v.rcIcon.left - v.rcCaption.left) - (v.rcCaption.right - v.rcIcon.right)), 2);
        // The title starts the icon's size plus 3 pixels further down.
        ASSERT_GE(v.nTextStart, 0);
        ASSERT_GE(v.nTextStartWithoutIcon, 0);
        EXPECT_EQ(szIcon.cy + 3, v.nTextStart - v.nTextStartWithoutIcon);
        EXPECT_GE(v.nTextStart, v.rcIcon.bottom + 3);
        EXPECT_EQ(szIcon.cx + 3, h.nTextStart - h.nTextStartWithoutIcon);
    }
    DestroyIcon(hRed);
}

} // namespace
