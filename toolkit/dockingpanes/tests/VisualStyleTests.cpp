// Visual-style drawing of tabs, caption buttons and captions: which path is
// taken (the stand-in library records the parts drawn), the classic look
// when no style is active, and the desktop's own style where Wine has one.
#include "DockTestSupport.h"
#include <qx/colors.h>
#include <qx/miniwnd.h>
#include <qx/panemanager.h>
#include <qx/panepaint.h>
#include <qx/tabpaint.h>
#include <qx/themeres.h>
#include <qx/visualstyles.h>
#include <qxresource.h>

#include "PaintTestSupport.h"
#include "../../foundation/tests/QxTestSupport.h"

#include <uxtheme.h>
#include <vsstyle.h>
#include <vssym32.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using qxtest::FakeUx;

class Tabs : public CQXPTabManager {
public:
    Tabs() { painter.AddListener(this); }
    ~Tabs() override { painter.RemoveListener(this); }
    CQXPTabPainter* GetPaintManager() const override { return const_cast<CQXPTabPainter*>(&painter); }
    void RedrawControl(LPCRECT, BOOL) override {}
    void OnPropertyChanged() override
    {
        if (!IsRectEmpty(&area))
            CQXPTabManager::Reposition(NULL, area);
    }
    void SetHot(int nIndex) { m_pHighlighted = GetItem(nIndex); }
    BOOL IsFocused() const override { return focused; }

    CQXPTabPainter painter;
    RECT area = {0, 0, 0, 0};
    BOOL focused = FALSE;
};

// Three tabs at a side of a cx by cy control, the second selected and the
// first hot, in an appearance and colour set, drawn on white.
struct Strip {
    Strip(int nAppearance, int nColors, int nPosition, int cx = 300, int cy = 120, int nClientFrame = 1)
        : pic(cx, cy)
    {
        for (int i = 0; i < 3; ++i)
            tabs.AddItem(-1)->SetCaption(("Tab " + std::to_string(i)).c_str());
        tabs.painter.SetAppearance(nAppearance);
        tabs.painter.SetColor(nColors);
        tabs.painter.SetPosition(nPosition);
        tabs.painter.m_nClientFrame = nClientFrame;
        tabs.area = {0, 0, cx, cy};
        tabs.OnPropertyChanged();
        tabs.SetCurSel(1);
        tabs.SetHot(0);
        tabs.painter.DrawTabControl(&tabs, pic.dc()->GetSafeHdc(), tabs.area);
    }
    RECT Item(int n) const { return tabs.GetItem(n)->GetRect(); }
    Tabs tabs;
    painttest::MemoryDC pic;
};

// The stand-in library as the visual-styles library, its style active, for
// the life of the object.
struct FakeStyles {
    explicit FakeStyles(bool bActive = true)
    {
        EXPECT_TRUE(fake.Loaded());
        fake.Set(L"fake.msstyles", L"NormalColor", bActive);
        CVisualStyleTheme::SetLibrary("qxfakeux.dll");
        fake.ResetDraws();
    }
    ~FakeStyles() { CVisualStyleTheme::SetLibrary(NULL); }
    std::vector<FakeUx::Drawn> Of(const wchar_t* cls) const
    {
        std::vector<FakeUx::Drawn> v;
        for (const FakeUx::Drawn& d : fake.Draws())
            if (d.cls == cls)
                v.push_back(d);
        return v;
    }
    FakeUx fake;
};

bool SamePixels(painttest::MemoryDC& a, painttest::MemoryDC& b, int cx, int cy, std::string* where)
{
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                *where = std::to_string(x) + "," + std::to_string(y);
                return false;
            }
    return true;
}

const char* PositionName(int n)
{
    static const char* k[] = {"top", "left", "bottom", "right"};
    return k[n];
}

// --- tabs -----------------------------------------------------------------

TEST(TabVisualStyles, ColourSetEightWithoutAStyleIsTheDefaultSet)
{
    painttest::FixedColors colors;
    for (bool bLibrary : {false, true}) {
        // No library at all, or one whose style is not active.
        std::unique_ptr<painttest::NoVisualStyles> none;
        std::unique_ptr<FakeStyles> inactive;
        if (bLibrary)
            inactive = std::make_unique<FakeStyles>(false);
        else
            none = std::make_unique<painttest::NoVisualStyles>();
        for (int nAppearance : {0, 4})
            for (int nPos = 0; nPos < 4; ++nPos) {
                SCOPED_TRACE(std::string(bLibrary ? "inactive style, " : "no library, ") + "appearance " +
                             std::to_string(nAppearance) + ", " + PositionName(nPos));
                Strip themed(nAppearance, 8, nPos, 300, 120, 0), plain(nAppearance, 1, nPos, 300, 120, 0);
                EXPECT_EQ(8, themed.tabs.painter.GetColor());
                EXPECT_FALSE(themed.tabs.painter.GetColorSet()->IsThemed());
                const TabColorSet &a = themed.tabs.painter.GetColors(), &b = plain.tabs.painter.GetColors();
                EXPECT_EQ(0, memcmp(&a, &b, sizeof(a))) << "the default set's colours";
                std::string where;
                EXPECT_TRUE(SamePixels(themed.pic, plain.pic, 300, 120, &where)) << "first difference at " << where;
            }
        if (inactive) {
            EXPECT_TRUE(inactive->fake.Draws().empty());
        }
    }
}

TEST(TabVisualStyles, ColourSetEightDrawsTheTabParts)
{
    painttest::FixedColors colors;
    FakeStyles styles;
    styles.fake.SetColor(TABP_PANE, 0, TMT_FILLCOLORHINT, RGB(1, 2, 3));
    const COLORREF edge = styles.fake.EdgeColor();

    // The first tab is part 6, the last unselected one part 7, the others
    // part 5; selected state 3, hot 2, else 1. The selected tab comes last.
    Strip top(0, 8, tabPositionTop, 300, 120, 0);
    EXPECT_TRUE(top.tabs.painter.GetColorSet()->IsThemed());
    std::vector<FakeUx::Drawn> d = styles.Of(L"TAB");
    ASSERT_EQ(4u, d.size());
    struct {
        int part, state, item;
    } expected[] = {{TABP_PANE, 0, -1},
                    {TABP_TOPTABITEMLEFTEDGE, TIS_HOT, 0},
                    {TABP_TOPTABITEMRIGHTEDGE, TIS_NORMAL, 2},
                    {TABP_TOPTABITEM, TIS_SELECTED, 1}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(expected[i].part, d[i].part) << i;
        EXPECT_EQ(expected[i].state, d[i].state) << i;
        if (expected[i].item < 0)
            continue;
        // Top tabs overlap their neighbours and the outer edge by a pixel;
        // the selected one reaches 2 pixels into the client.
        RECT rc = top.Item(expected[i].item);
        RECT want = {rc.left - 1, rc.top - 1, rc.right + 1, rc.bottom + (expected[i].item == 1 ? 2 : 0)};
        EXPECT_TRUE(EqualRect(&want, &d[i].rc)) << i;
    }
    // The pane part lies under the client, from the header's last row on.
    RECT rcClient = top.tabs.painter.GetClientRect(&top.tabs, top.tabs.area);
    EXPECT_TRUE(EqualRect(&rcClient, &d[0].rc));
    // The style draws the edges: none of the set's own; hot text is normal
    // text; the pane part names the face.
    const TabColorSet& c = top.tabs.painter.GetColors();
    EXPECT_EQ((COLORREF)-1, c.clrHighlight3D);
    EXPECT_EQ((COLORREF)-1, c.clrShadow3D);
    EXPECT_EQ((COLORREF)-1, c.clrDarkShadow3D);
    EXPECT_EQ(c.clrNormalText, c.clrHotText);
    EXPECT_EQ(RGB(1, 2, 3), c.clrControlFace);

    // The other sides get the upright part turned: its outer edge (the
    // part's top row) on the tab's outer side. A bottom tab is drawn 2
    // pixels taller at the bottom and a pixel wider on each side.
    for (int nPos : {tabPositionLeft, tabPositionBottom, tabPositionRight}) {
        SCOPED_TRACE(PositionName(nPos));
        Strip s(0, 8, nPos, 300, 200, 1);
        RECT rc = s.Item(2); // unselected: no growth towards the client
        const COLORREF body = styles.fake.PartColor(TABP_TOPTABITEMRIGHTEDGE, TIS_NORMAL);
        POINT outer, inner, beyond;
        // Away from the selected tab, which is drawn over its neighbours.
        switch (nPos) {
        case tabPositionLeft:
            outer = {rc.left - 1, rc.bottom - 3};
            inner = {rc.right - 1, rc.bottom};
            beyond = {rc.left + 3, rc.bottom + 1};
            break;
        case tabPositionBottom:
            outer = {rc.right - 3, rc.bottom + 1};
            inner = {rc.right, rc.top};
            beyond = {rc.right + 1, rc.top};
            break;
        default:
            outer = {rc.right + 1, rc.bottom - 3};
            inner = {rc.left, rc.bottom};
            beyond = {rc.left + 3, rc.bottom + 1};
            break;
        }
        EXPECT_EQ(edge, s.pic.Pixel(outer.x, outer.y));
        EXPECT_EQ(body, s.pic.Pixel(inner.x, inner.y));
        EXPECT_NE(body, s.pic.Pixel(beyond.x, beyond.y));
        EXPECT_TRUE(s.pic.SavePng(std::string("tabs-colorset8-fake-") + PositionName(nPos) + ".png"));
    }
}

// Before the pane part goes under the client, the themed set takes the
// client's corner pixel at the tab side off the clip region; without an
// active style it leaves the clip alone.
TEST(TabVisualStyles, ColourSetEightLeavesOutTheClientCornerAtTheTabSide)
{
    painttest::FixedColors colors;
    const RECT rc = {10, 10, 60, 50};
    struct {
        int nPos;
        POINT corner;
    } rows[] = {{tabPositionTop, {10, 10}},
                {tabPositionLeft, {10, 10}},
                {tabPositionBottom, {10, 48}},
                {tabPositionRight, {58, 10}}};
    for (bool bActive : {true, false}) {
        FakeStyles styles(bActive);
        for (const auto& r : rows) {
            SCOPED_TRACE(std::string(bActive ? "active, " : "inactive, ") + PositionName(r.nPos));
            Strip s(0, 8, r.nPos, 300, 120, 0);
            painttest::MemoryDC pic(70, 60);
            HDC hdc = pic.dc()->GetSafeHdc();
            const int nSaved = ::SaveDC(hdc);
            s.tabs.painter.GetColorSet()->ExcludeClientCorner(hdc, rc, &s.tabs);
            pic.dc()->FillSolidRect(&rc, RGB(0, 0, 0));
            ::RestoreDC(hdc, nSaved);
            int nLeft = 0;
            for (int y = rc.top; y < rc.bottom; ++y)
                for (int x = rc.left; x < rc.right; ++x)
                    if (pic.Pixel(x, y) != RGB(0, 0, 0))
                        ++nLeft;
            EXPECT_EQ(bActive ? 1 : 0, nLeft);
            if (bActive)
                EXPECT_EQ(RGB(255, 255, 255), pic.Pixel(r.corner.x, r.corner.y));
        }
    }
    // Drawn with a framed client: the pane part leaves its corner under the
    // header's face.
    FakeStyles styles;
    Strip top(0, 8, tabPositionTop, 300, 120, 0);
    RECT rcClient = top.tabs.painter.GetClientRect(&top.tabs, top.tabs.area);
    EXPECT_EQ(painttest::ClassicSysColor(COLOR_3DFACE), top.pic.Pixel(rcClient.left, rcClient.top));
    // (The tabs stand on that row, the header's last: past them it shows.)
    EXPECT_EQ(styles.fake.EdgeColor(), top.pic.Pixel(top.Item(2).right + 5, rcClient.top));
}

TEST(TabVisualStyles, AppearanceFourShowsTheToolbarsCheckedButton)
{
    painttest::FixedColors colors;
    {
        FakeStyles styles;
        Strip s(4, 8, tabPositionTop);
        std::vector<FakeUx::Drawn> d = styles.Of(L"TOOLBAR");
        ASSERT_EQ(1u, d.size()) << "the selected tab only";
        EXPECT_EQ(TP_BUTTON, d[0].part);
        EXPECT_EQ(TS_CHECKED, d[0].state);
        RECT rc = s.Item(1);
        EXPECT_TRUE(EqualRect(&rc, &d[0].rc));
        // Hot and selected: the hot checked button.
        styles.fake.ResetDraws();
        s.tabs.SetHot(1);
        s.tabs.painter.DrawTabControl(&s.tabs, s.pic.dc()->GetSafeHdc(), s.tabs.area);
        d = styles.Of(L"TOOLBAR");
        ASSERT_EQ(1u, d.size());
        EXPECT_EQ(TS_HOTCHECKED, d[0].state);
        // The others keep the sunken separator at their far end.
        RECT rc0 = s.Item(0);
        EXPECT_EQ(painttest::ClassicSysColor(COLOR_3DSHADOW), s.pic.Pixel(rc0.right - 2, (rc0.top + rc0.bottom) / 2));
    }
    // Without a style the selected tab is the default set's checker.
    painttest::NoVisualStyles none;
    Strip s(4, 8, tabPositionTop);
    RECT rc = s.Item(1);
    const int y = rc.top + 3;
    COLORREF a = s.pic.Pixel(rc.left + 4, y), b = s.pic.Pixel(rc.left + 5, y);
    EXPECT_NE(a, b);
    EXPECT_TRUE((a == painttest::ClassicSysColor(COLOR_3DFACE) && b == painttest::ClassicSysColor(COLOR_3DHIGHLIGHT)) ||
                (b == painttest::ClassicSysColor(COLOR_3DFACE) && a == painttest::ClassicSysColor(COLOR_3DHIGHLIGHT)));
}

TEST(TabVisualStyles, NavigateButtonsAreToolbarButtons)
{
    painttest::FixedColors colors;
    FakeStyles styles;
    // Many tabs in a narrow strip: the scroll buttons show.
    Tabs t;
    for (int i = 0; i < 12; ++i)
        t.AddItem(-1)->SetCaption("A long caption");
    t.painter.SetColor(8);
    CQXPTabManagerNavigateButton* pRight = t.FindNavigateButton(CQXPTabManagerNavigateButton::idRight);
    ASSERT_NE(nullptr, pRight);
    pRight->m_nMode = 2;
    t.area = {0, 0, 200, 40};
    t.OnPropertyChanged();
    ASSERT_FALSE(IsRectEmpty(&pRight->m_rc));
    painttest::MemoryDC pic(200, 40);
    struct {
        BOOL enabled, pressed;
        int state; // 0: no face
    } cases[] = {{TRUE, FALSE, TS_NORMAL}, {TRUE, TRUE, TS_PRESSED}, {FALSE, FALSE, 0}};
    for (const auto& c : cases) {
        styles.fake.ResetDraws();
        pRight->m_bEnabled = c.enabled;
        pRight->m_bPressed = c.pressed;
        t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), t.area);
        bool found = false;
        for (const FakeUx::Drawn& d : styles.Of(L"TOOLBAR"))
            if (EqualRect(&d.rc, &pRight->m_rc)) {
                found = true;
                EXPECT_EQ(TP_BUTTON, d.part);
                EXPECT_EQ(c.state, d.state);
            }
        EXPECT_EQ(c.state != 0, found) << c.enabled << c.pressed;
    }
}

TEST(TabVisualStyles, TheDesktopsStyleDrawsTheTabs)
{
    // Wine's own "Light" style, where the prefix has it active.
    CVisualStyleTheme probe;
    if (!probe.IsThemeActive() || !probe.OpenThemeData(GetDesktopWindow(), L"TAB") || !probe.IsAppThemed())
        GTEST_SKIP() << "platform limit: no visual-styles theme is active on this desktop";
    Strip s(0, 8, tabPositionTop, 300, 80, 0);
    ASSERT_TRUE(s.tabs.painter.GetColorSet()->IsThemed());
    // The selected tab's outer edge is the part's, drawn where the set puts it.
    RECT rc = s.Item(1);
    RECT part = {rc.left - 1, rc.top - 1, rc.right + 1, rc.bottom + 2};
    painttest::MemoryDC ref(300, 80);
    probe.DrawThemeBackground(ref.dc()->GetSafeHdc(), TABP_TOPTABITEM, TIS_SELECTED, &part);
    for (int x = part.left + 2; x < part.right - 2; x += 5)
        EXPECT_EQ(ref.Pixel(x, part.top), s.pic.Pixel(x, part.top)) << x;
    EXPECT_TRUE(s.pic.SavePng("tabs-colorset8-desktop-style.png"));
    Strip bottom(0, 8, tabPositionBottom, 300, 80, 0);
    EXPECT_TRUE(bottom.pic.SavePng("tabs-colorset8-desktop-style-bottom.png"));
}

// A set made by the caller: its own margins and fills, the numbered rules
// for the rest.
class WideAppearance : public CTabAppearancePainter {
public:
    WideAppearance() : CTabAppearancePainter(6) {}
    RECT GetHeaderMargin() const override { return {10, 3, 10, 0}; }
    int GetDefaultColorSet() const override { return 4; }
    void DrawSingleButton(HDC hDC, CQXPTabManager* pManager, CQXPTabManagerItem* pItem) override
    {
        ++drawn;
        CTabAppearancePainter::DrawSingleButton(hDC, pManager, pItem);
    }
    void DrawTabControl(CQXPTabManager* pManager, HDC hDC, const RECT& rc) override
    {
        ++controls;
        CTabAppearancePainter::DrawTabControl(pManager, hDC, rc);
    }
    int drawn = 0;
    int controls = 0;
};

class RedTabs : public CTabColorSet {
public:
    RedTabs() : CTabColorSet(2) {}
    void RefreshMetrics(TabColorSet& c) override { c.clrSelectedText = RGB(0, 0, 255); }
    COLORREF FillItem(HDC hDC, const RECT& rc, CQXPTabManager*, CQXPTabManagerItem*) override
    {
        CDC::FromHandle(hDC)->FillSolidRect(&rc, RGB(255, 0, 0));
        return RGB(255, 0, 0);
    }
    void FillHeader(HDC hDC, const RECT& rc, CQXPTabManager*) override
    {
        CDC::FromHandle(hDC)->FillSolidRect(&rc, RGB(0, 160, 0));
    }
};

TEST(TabVisualStyles, CallersSetsTakeTheirPlace)
{
    painttest::FixedColors colors;
    Tabs t;
    t.AddItem(-1)->SetCaption("One");
    t.AddItem(-1)->SetCaption("Two");
    WideAppearance* pWide = new WideAppearance();
    t.painter.SetAppearanceSet(pWide);
    EXPECT_EQ(pWide, t.painter.GetAppearanceSet());
    EXPECT_EQ(6, t.painter.GetAppearance());
    EXPECT_EQ(4, t.painter.GetColor()) << "the set's default colour set";
    EXPECT_EQ(10, t.painter.GetHeaderMargin().left);
    t.area = {0, 0, 200, 40};
    t.OnPropertyChanged();
    EXPECT_EQ(10, t.GetItem(0)->GetRect().left) << "the items start after the set's margin";

    t.painter.SetColorSet(new RedTabs());
    EXPECT_EQ(2, t.painter.GetColor());
    EXPECT_EQ(RGB(0, 0, 255), t.painter.GetColors().clrSelectedText);
    EXPECT_EQ(ToolkitColorManager::Instance()->GetColor(qxColorTabFace), t.painter.GetColors().clrHeader[0])
        << "the flat set's rules below it";
    painttest::MemoryDC pic(200, 40);
    t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), t.area);
    EXPECT_EQ(1, pWide->controls) << "the control is drawn through the appearance set";
    EXPECT_EQ(2, pWide->drawn);
    RECT rc = t.GetItem(0)->GetRect();
    EXPECT_EQ(RGB(255, 0, 0), pic.Pixel(rc.left + 3, rc.top + 3));
    // The header face beside the last tab is the set's.
    RECT last = t.GetItem(1)->GetRect();
    EXPECT_EQ(RGB(0, 160, 0), pic.Pixel(last.right + 20, last.top + 3));
    // NULL gives the numbered defaults back.
    t.painter.SetColorSet(NULL);
    EXPECT_EQ(1, t.painter.GetColor());
    t.painter.SetAppearanceSet(NULL);
    EXPECT_EQ(0, t.painter.GetAppearance());
}

TEST(TabVisualStyles, ResourceTabOfAFocusedStripIsStateFive)
{
    // The Office 2007 theme's tab image: six states stacked; a focused
    // strip's selected tab shows the sixth.
    ThemeBitmap* pImage = GetThemeResources()->LoadImage("RIBBONTAB");
    ASSERT_TRUE(pImage != NULL);
    Strip s(10, 32, tabPositionTop, 300, 60);
    RECT rc = s.Item(1);
    auto picture = [&](int nState) {
        auto img = std::make_unique<painttest::MemoryDC>(300, 60, RGB(255, 0, 255));
        CRect r(rc);
        pImage->DrawImageOnColor(img->dc(), r, pImage->GetSource(nState, 6), CRect(5, 5, 5, 5), RGB(255, 0, 255));
        return img;
    };
    auto unfocused = picture(3), focused = picture(5);
    // A pixel of the tab where the two states differ.
    POINT pt = {-1, -1};
    for (int y = rc.top; y < rc.bottom && pt.x < 0; ++y)
        for (int x = rc.left; x < rc.right && pt.x < 0; ++x) {
            COLORREF a = unfocused->Pixel(x, y), b = focused->Pixel(x, y);
            if (a != b && a != RGB(255, 0, 255) && b != RGB(255, 0, 255))
                pt = {x, y};
        }
    ASSERT_GE(pt.x, 0) << "the two states differ somewhere";
    s.tabs.SetHot(-1);
    s.tabs.painter.DrawTabControl(&s.tabs, s.pic.dc()->GetSafeHdc(), s.tabs.area);
    EXPECT_EQ(unfocused->Pixel(pt.x, pt.y), s.pic.Pixel(pt.x, pt.y));
    s.tabs.focused = TRUE;
    s.tabs.painter.DrawTabControl(&s.tabs, s.pic.dc()->GetSafeHdc(), s.tabs.area);
    EXPECT_EQ(focused->Pixel(pt.x, pt.y), s.pic.Pixel(pt.x, pt.y));
}

// --- caption buttons --------------------------------------------------------

// A paint manager whose caption-button style and caption state a test sets.
class Painter : public CDockingPanePaintManager {
public:
    explicit Painter(int nStyle) { m_nButtonStyle = nStyle; }
    void SetCaptionActive(BOOL b) { m_bCaptionActive = b; }
};

struct ButtonCase {
    int id;
    BOOL hot, pressed;
    DWORD state;
};

std::unique_ptr<painttest::MemoryDC> DrawButton(CDockingPanePaintManager& p, const ButtonCase& c)
{
    auto pic = std::make_unique<painttest::MemoryDC>(24, 24, painttest::ClassicSysColor(COLOR_3DFACE));
    CaptionButton b(c.id, NULL);
    SetRect(&b.m_rc, 4, 4, 20, 20);
    b.m_bHot = c.hot;
    b.m_bPressed = c.pressed;
    b.m_dwState = c.state;
    p.DrawCaptionButton(pic->dc()->GetSafeHdc(), &b, RGB(0, 0, 0), FALSE);
    return pic;
}

const ButtonCase kButtons[] = {
    {QXP_IDS_DOCKINGPANE_CLOSE, FALSE, FALSE, 0},
    {QXP_IDS_DOCKINGPANE_CLOSE, TRUE, FALSE, 0},
    {QXP_IDS_DOCKINGPANE_CLOSE, TRUE, TRUE, 0},
    {QXP_IDS_DOCKINGPANE_AUTOHIDE, FALSE, FALSE, 2},
    {QXP_IDS_DOCKINGPANE_AUTOHIDE, TRUE, FALSE, 0},
    {QXP_IDS_DOCKINGPANE_AUTOHIDE, FALSE, TRUE, 0},
    {QXP_IDS_DOCKINGPANE_MAXIMIZE, TRUE, FALSE, 0},
    {QXP_IDS_DOCKINGPANE_MENU, FALSE, TRUE, 0},
};

TEST(CaptionButtonStyles, WithoutAStyleTheyDrawTheClassicStyleOne)
{
    painttest::FixedColors colors;
    painttest::NoVisualStyles none;
    Painter classic(1);
    for (int nStyle = 3; nStyle <= 6; ++nStyle) {
        Painter p(nStyle);
        for (const ButtonCase& c : kButtons) {
            SCOPED_TRACE("style " + std::to_string(nStyle) + ", button " + std::to_string(c.id) + " hot " +
                         std::to_string(c.hot) + " pressed " + std::to_string(c.pressed));
            auto a = DrawButton(p, c), b = DrawButton(classic, c);
            std::string where;
            EXPECT_TRUE(SamePixels(*a, *b, 24, 24, &where)) << "first difference at " << where;
        }
    }
}

TEST(CaptionButtonStyles, EachStyleDrawsItsPart)
{
    painttest::FixedColors colors;
    FakeStyles styles;
    styles.fake.SetColor(BP_PUSHBUTTON, PBS_HOT, TMT_TEXTCOLOR, RGB(0, 128, 0));
    const int C = QXP_IDS_DOCKINGPANE_CLOSE, A = QXP_IDS_DOCKINGPANE_AUTOHIDE, M = QXP_IDS_DOCKINGPANE_MAXIMIZE;
    struct {
        int style;
        ButtonCase button;
        BOOL active;
        const wchar_t* cls; // NULL: nothing themed, the classic style 1
        int part, state;
        bool glyph;
    } cases[] = {
        {3, {C, FALSE, FALSE, 0}, FALSE, L"EXPLORERBAR", EBP_HEADERCLOSE, EBHC_NORMAL, false},
        {3, {C, FALSE, FALSE, 0}, TRUE, L"EXPLORERBAR", EBP_HEADERCLOSE, EBHC_HOT, false},
        {3, {C, TRUE, TRUE, 0}, FALSE, L"EXPLORERBAR", EBP_HEADERCLOSE, EBHC_PRESSED, false},
        {3, {A, FALSE, FALSE, 2}, FALSE, L"EXPLORERBAR", EBP_HEADERPIN, EBHP_NORMAL, false},
        {3, {A, TRUE, FALSE, 0}, FALSE, L"EXPLORERBAR", EBP_HEADERPIN, EBHP_SELECTEDHOT, false},
        {3, {M, TRUE, FALSE, 0}, FALSE, NULL, 0, 0, true},
        {4, {C, TRUE, FALSE, 0}, FALSE, L"BUTTON", BP_PUSHBUTTON, PBS_HOT, true},
        {4, {C, FALSE, TRUE, 0}, FALSE, L"BUTTON", BP_PUSHBUTTON, PBS_PRESSED, true},
        {4, {C, FALSE, FALSE, 0}, FALSE, L"", 0, 0, true},
        {5, {M, TRUE, FALSE, 0}, FALSE, L"TOOLBAR", TP_BUTTON, TS_HOT, true},
        {5, {M, TRUE, TRUE, 0}, FALSE, L"TOOLBAR", TP_BUTTON, TS_PRESSED, true},
        {6, {C, FALSE, FALSE, 0}, TRUE, L"WINDOW", WP_SMALLCLOSEBUTTON, CBS_NORMAL, false},
        {6, {C, FALSE, FALSE, 0}, FALSE, L"WINDOW", WP_SMALLCLOSEBUTTON, 5, false},
        {6, {C, TRUE, FALSE, 0}, FALSE, L"WINDOW", WP_SMALLCLOSEBUTTON, CBS_HOT, false},
        {6, {A, TRUE, FALSE, 0}, FALSE, NULL, 0, 0, true},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(n++));
        Painter p(c.style);
        p.SetCaptionActive(c.active);
        styles.fake.ResetDraws();
        auto pic = DrawButton(p, c.button);
        std::vector<FakeUx::Drawn> d = styles.fake.Draws();
        // The glyph's colour: the part's text colour for a themed push
        // button under the mouse, else the one given.
        const COLORREF clrGlyph = c.style == 4 && c.button.hot && !c.button.pressed ? RGB(0, 128, 0) : RGB(0, 0, 0);
        const bool hasGlyph = pic->Count(CRect(4, 4, 20, 20), clrGlyph) > 0;
        if (!c.cls) {
            EXPECT_TRUE(d.empty());
            // The classic hot frame of style 1.
            EXPECT_EQ(painttest::ClassicSysColor(COLOR_3DHIGHLIGHT), pic->Pixel(4, 4));
        } else if (!*c.cls) {
            EXPECT_TRUE(d.empty()) << "no face for a button at rest";
        } else {
            ASSERT_EQ(1u, d.size());
            EXPECT_EQ(c.cls, d[0].cls);
            EXPECT_EQ(c.part, d[0].part);
            EXPECT_EQ(c.state, d[0].state);
            RECT want = {4, 4, 20, 20};
            EXPECT_TRUE(EqualRect(&want, &d[0].rc));
        }
        EXPECT_EQ(c.glyph, hasGlyph);
    }
}

// --- captions in a frame ------------------------------------------------------

// One pane docked in a visible frame; the caption drawn into a picture.
struct CaptionFrame : docktest::Docking {
    explicit CaptionFrame(int nTheme) : Docking(true)
    {
        pane = Create(1, dockLeftOf);
        pane->SetTitle("Pane");
        manager.SetTheme(nTheme);
        site.Layout();
        container = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pane->GetContainer());
        EXPECT_NE(nullptr, container);
    }
    std::unique_ptr<painttest::MemoryDC> Draw(RECT* prcCaption)
    {
        RECT rc;
        GetClientRect(container->GetSafeHwnd(), &rc);
        auto pic = std::make_unique<painttest::MemoryDC>(rc.right, rc.bottom);
        CDockingPanePaintManager* p = manager.GetPaintManager();
        p->DrawPane(pic->dc()->GetSafeHdc(), container, rc);
        *prcCaption = p->GetCaptionRect(container, rc);
        return pic;
    }
    CQXPDockingPane* pane = NULL;
    CQXPDockingPaneTabbedContainer* container = NULL;
};

TEST(CaptionVisualStyles, ThemeThreeCaptionIsTheWindowsSmallCaption)
{
    painttest::FixedColors colors;
    {
        FakeStyles styles;
        CaptionFrame f(3);
        ASSERT_NE(nullptr, f.container);
        styles.fake.ResetDraws();
        RECT rcCaption;
        auto pic = f.Draw(&rcCaption);
        std::vector<FakeUx::Drawn> d = styles.Of(L"WINDOW");
        ASSERT_FALSE(d.empty());
        EXPECT_EQ(WP_SMALLCAPTION, d[0].part);
        EXPECT_EQ(CS_INACTIVE, d[0].state);
        EXPECT_EQ(rcCaption.left, d[0].rc.left);
        EXPECT_EQ(rcCaption.right, d[0].rc.right);
        // The text stands out on the part whatever the caption colours say.
        const COLORREF part = styles.fake.PartColor(WP_SMALLCAPTION, CS_INACTIVE);
        EXPECT_EQ(part, pic->Pixel(rcCaption.left + 2, (d[0].rc.top + d[0].rc.bottom) / 2));
        EXPECT_TRUE(pic->SavePng("caption-theme3-fake-style.png"));
    }
    // Without a style: the gradient caption of the theme's colours.
    painttest::NoVisualStyles none;
    CaptionFrame f(3);
    RECT rcCaption;
    auto pic = f.Draw(&rcCaption);
    CDockingPanePaintManager* p = f.manager.GetPaintManager();
    EXPECT_TRUE(p->m_bGradientCaptions);
    const int y = (rcCaption.top + rcCaption.bottom) / 2;
    EXPECT_EQ(p->m_clrInactiveCaption[0], pic->Pixel(rcCaption.left, y));
    EXPECT_TRUE(pic->SavePng("caption-theme3-classic.png"));
}

TEST(CaptionVisualStyles, ThemeEightShowsTheRebarThroughItsCaptions)
{
    painttest::FixedColors colors;
    {
        FakeStyles styles;
        CaptionFrame f(8);
        ASSERT_NE(nullptr, f.container);
        CDockingPanePaintManager* p = f.manager.GetPaintManager();
        // Themed rebar captions come with visual-style tabs, both painters
        // themed.
        EXPECT_EQ(0, p->GetTabPainter()->GetAppearance());
        EXPECT_EQ(8, p->GetTabPainter()->GetColor());
        EXPECT_EQ(0, p->GetPanelTabPainter()->GetAppearance());
        EXPECT_EQ(8, p->GetPanelTabPainter()->GetColor());
        EXPECT_TRUE(p->GetTabPainter()->m_bThemed);
        EXPECT_TRUE(p->GetPanelTabPainter()->m_bThemed);
        styles.fake.ResetDraws();
        RECT rcCaption;
        auto pic = f.Draw(&rcCaption);
        std::vector<FakeUx::Drawn> d = styles.Of(L"REBAR");
        ASSERT_EQ(1u, d.size());
        // The band spans the frame's client area, in the container's terms.
        RECT rcSite;
        GetClientRect(f.site.m_hWnd, &rcSite);
        MapWindowPoints(f.site.m_hWnd, f.container->GetSafeHwnd(), (POINT*)&rcSite, 2);
        EXPECT_TRUE(EqualRect(&rcSite, &d[0].rc));
        const COLORREF band = styles.fake.PartColor(0, 0);
        EXPECT_EQ(band, pic->Pixel(rcCaption.left + 1, rcCaption.bottom - 1));
        EXPECT_NE(band, pic->Pixel(rcCaption.left + 1, rcCaption.bottom + 1)) << "clipped to the caption";
    }
    painttest::NoVisualStyles none;
    CaptionFrame f(8);
    CDockingPanePaintManager* p = f.manager.GetPaintManager();
    EXPECT_EQ(5, p->GetTabPainter()->GetAppearance());
    EXPECT_EQ(6, p->GetPanelTabPainter()->GetAppearance());
    EXPECT_FALSE(p->GetTabPainter()->m_bThemed);
    EXPECT_FALSE(p->GetPanelTabPainter()->m_bThemed);
    RECT rcCaption;
    auto pic = f.Draw(&rcCaption);
    // A face caption with the text in the button-text colour.
    EXPECT_EQ(p->m_clrFace, pic->Pixel(rcCaption.left + 1, (rcCaption.top + rcCaption.bottom) / 2));
    EXPECT_GT(pic->Count(CRect(rcCaption), painttest::ClassicSysColor(COLOR_BTNTEXT)), 10);
}

// --- floating frames ----------------------------------------------------------

// The pane of a caption frame floated into a themed frame; the frame drawn
// into a picture of its window's size.
struct FloatingFrameShot : CaptionFrame {
    explicit FloatingFrameShot(int nTheme) : CaptionFrame(nTheme)
    {
        manager.m_bThemedFloatingFrames = TRUE;
        RECT rc = {200, 150, 460, 390};
        frame = manager.FloatPane(pane, rc);
        EXPECT_NE(nullptr, frame);
        qmtest::PumpFor(30);
    }
    std::unique_ptr<painttest::MemoryDC> DrawFrame(RECT* prcWindow)
    {
        ::GetWindowRect(frame->GetSafeHwnd(), prcWindow);
        ::OffsetRect(prcWindow, -prcWindow->left, -prcWindow->top);
        auto pic = std::make_unique<painttest::MemoryDC>(prcWindow->right, prcWindow->bottom);
        manager.GetPaintManager()->DrawFloatingFrame(pic->dc()->GetSafeHdc(), frame, *prcWindow);
        return pic;
    }
    CQXPDockingPaneMiniWnd* frame = NULL;
};

// Theme 3 with the window style: the small frame's left, right and bottom
// pieces, 3 pixels wide, the sides the whole height, and its small caption
// between them across the top; without the style the 3-D frame of the
// other themes.
TEST(FloatingFrameVisualStyles, ThemeThreeFrameIsTheWindowsSmallFrame)
{
    painttest::FixedColors colors;
    {
        FakeStyles styles;
        FloatingFrameShot f(3);
        ASSERT_NE(nullptr, f.frame);
        styles.fake.ResetDraws();
        RECT rc;
        auto pic = f.DrawFrame(&rc);
        const int nState = f.frame->m_bActive ? FS_ACTIVE : FS_INACTIVE;
        std::vector<FakeUx::Drawn> d = styles.Of(L"WINDOW");
        struct {
            int part;
            RECT rc;
        } pieces[] = {{WP_SMALLFRAMELEFT, {0, 0, 3, rc.bottom}},
                      {WP_SMALLFRAMERIGHT, {rc.right - 3, 0, rc.right, rc.bottom}},
                      {WP_SMALLFRAMEBOTTOM, {0, rc.bottom - 3, rc.right, rc.bottom}}};
        for (const auto& piece : pieces) {
            auto it = std::find_if(d.begin(), d.end(), [&](const FakeUx::Drawn& x) { return x.part == piece.part; });
            ASSERT_NE(d.end(), it) << piece.part;
            EXPECT_EQ(nState, it->state);
            EXPECT_EQ(piece.rc.left, it->rc.left) << piece.part;
            EXPECT_EQ(piece.rc.right, it->rc.right) << piece.part;
            EXPECT_EQ(piece.rc.bottom, it->rc.bottom) << piece.part;
            EXPECT_EQ(piece.rc.top, it->rc.top) << piece.part;
        }
        // Each piece shows where it lies (below the fake's edge row), also
        // beside the caption.
        const int nCaptionState = f.frame->m_bActive ? CS_ACTIVE : CS_INACTIVE;
        const int cyCaption = f.manager.GetPaintManager()->GetCaptionHeight() + 5;
        EXPECT_EQ(styles.fake.PartColor(WP_SMALLFRAMELEFT, nState), pic->Pixel(1, 2));
        EXPECT_EQ(styles.fake.PartColor(WP_SMALLFRAMERIGHT, nState), pic->Pixel(rc.right - 2, 2));
        EXPECT_EQ(styles.fake.PartColor(WP_SMALLFRAMELEFT, nState), pic->Pixel(1, rc.bottom / 2));
        EXPECT_EQ(styles.fake.PartColor(WP_SMALLFRAMEBOTTOM, nState), pic->Pixel(rc.right / 2, rc.bottom - 2));
        EXPECT_EQ(styles.fake.PartColor(WP_SMALLCAPTION, nCaptionState), pic->Pixel(4, cyCaption / 2));
        auto caption = std::find_if(d.begin(), d.end(), [](const FakeUx::Drawn& x) { return x.part == WP_SMALLCAPTION; });
        ASSERT_NE(d.end(), caption);
        EXPECT_EQ(3, caption->rc.left);
        EXPECT_EQ(rc.right - 3, caption->rc.right);
        EXPECT_EQ(0, caption->rc.top);
        EXPECT_EQ(cyCaption, caption->rc.bottom);
        EXPECT_TRUE(pic->SavePng("floating-frame-theme3-fake-style.png"));
    }
    painttest::NoVisualStyles none;
    FloatingFrameShot f(3);
    RECT rc;
    auto pic = f.DrawFrame(&rc);
    EXPECT_EQ(RGB(0, 0, 0), pic->Pixel(rc.right - 1, rc.bottom / 2)) << "the outer 3-D frame's dark side";
    EXPECT_EQ(painttest::ClassicSysColor(COLOR_3DFACE), pic->Pixel(0, rc.bottom / 2));
}

// Theme 8: the rebar band spans the frame's whole window, seen through its
// caption strip.
TEST(FloatingFrameVisualStyles, ThemeEightShowsTheRebarAcrossTheWholeFrame)
{
    painttest::FixedColors colors;
    FakeStyles styles;
    FloatingFrameShot f(8);
    ASSERT_NE(nullptr, f.frame);
    styles.fake.ResetDraws();
    RECT rc;
    auto pic = f.DrawFrame(&rc);
    std::vector<FakeUx::Drawn> d = styles.Of(L"REBAR");
    ASSERT_EQ(1u, d.size());
    EXPECT_TRUE(EqualRect(&rc, &d[0].rc));
    const COLORREF band = styles.fake.PartColor(0, 0);
    EXPECT_EQ(band, pic->Pixel(rc.right / 2, 3 + 4));
    EXPECT_NE(band, pic->Pixel(rc.right / 2, rc.bottom - 2)) << "clipped to the caption";
}

} // namespace
