// The colour selector on real windows: its three themes and how they draw
// a cell, its cells for each style, its keys, and the results it sends its
// listeners, recent colours included.
#include "ColorTestSupport.h"
#include "PaintTestSupport.h"

#include <qx/colorselector.h>

using namespace colortest;
using namespace painttest;

namespace {

// ---------------------------------------------------------------------------
// Themes.

TEST(ColorSelectorThemes, ColoursOfEachThemeId)
{
    FixedColors colors;
    ToolkitColorManager* m = ToolkitColorManager::Instance();
    CQXColorSelectorCtrlThemeFactory factory;
    const struct {
        int id;
        int light, shadow, back, pressed, hot, checked, text;
    } rows[] = {
        {0, COLOR_3DHILIGHT, COLOR_3DSHADOW, COLOR_3DFACE, -1, -1, -1, COLOR_BTNTEXT},
        {1, 32, 32, 41, 33, 31, 36, COLOR_BTNTEXT},
        {2, 32, 32, 41, 33, 31, 36, COLOR_BTNTEXT},
        {7, COLOR_3DHILIGHT, COLOR_3DSHADOW, COLOR_3DFACE, -1, -1, -1, COLOR_BTNTEXT},
    };
    auto colour = [&](int n) { return n < 0 ? QX_COLOR_NONE : m->GetColor(n); };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.id);
        std::unique_ptr<CColorSelectorTheme> t(dynamic_cast<CColorSelectorTheme*>(factory.CreateTheme(r.id)));
        ASSERT_TRUE(t);
        EXPECT_EQ(r.id, t->m_nTheme);
        EXPECT_EQ(colour(r.light), t->m_clrLight);
        EXPECT_EQ(colour(r.shadow), t->m_clrShadow);
        EXPECT_EQ(colour(r.back), t->m_clrBackground);
        EXPECT_EQ(colour(r.pressed), t->m_clrPressed);
        EXPECT_EQ(colour(r.hot), t->m_clrHot);
        EXPECT_EQ(colour(r.checked), t->m_clrChecked);
        EXPECT_EQ(colour(r.text), t->m_clrText);
    }
    // The custom theme takes the custom layer of numbers 30 to 62.
    ASSERT_TRUE(m->SetCustomColor(qxColorPressedFace, RGB(1, 2, 3)));
    std::unique_ptr<CColorSelectorTheme> custom(dynamic_cast<CColorSelectorTheme*>(factory.CreateTheme(2)));
    std::unique_ptr<CColorSelectorTheme> flat(dynamic_cast<CColorSelectorTheme*>(factory.CreateTheme(1)));
    EXPECT_EQ(RGB(1, 2, 3), custom->m_clrPressed);
    EXPECT_NE(RGB(1, 2, 3), flat->m_clrPressed);
    m->SetCustomColor(qxColorPressedFace, QX_COLOR_NONE);
}

struct CellDrawing : ::testing::Test {
    FixedColors colors;
    CQXColorSelectorCtrlThemeFactory factory;
    std::unique_ptr<CColorSelectorTheme> Theme(int id)
    {
        return std::unique_ptr<CColorSelectorTheme>(dynamic_cast<CColorSelectorTheme*>(factory.CreateTheme(id)));
    }
    static ColorCell ColourCell(COLORREF clr, BOOL bChecked = FALSE)
    {
        ColorCell c;
        c.rect.SetRect(2, 2, 20, 20);
        c.dwKind = ColorCell::kindColor;
        c.bFramed = TRUE;
        c.bSelected = bChecked;
        c.clr = clr;
        return c;
    }
};

TEST_F(CellDrawing, CheckedDefaultCellShowsTheHalftoneAroundItsSample)
{
    auto t = Theme(0);
    MemoryDC mem(24, 24, RGB(9, 9, 9));
    ColorCell c = ColourCell(RGB(255, 0, 0), TRUE);
    t->DrawCell(&c, mem.dc(), FALSE, FALSE);
    // Sunken frame: shadow top-left, light bottom-right.
    EXPECT_EQ(t->m_clrShadow, mem.Pixel(2, 10));
    EXPECT_EQ(t->m_clrLight, mem.Pixel(19, 10));
    // Between frame and sample: a checker of two colours.
    EXPECT_NE(mem.Pixel(3, 10), mem.Pixel(3, 11));
    EXPECT_EQ(mem.Pixel(3, 10), mem.Pixel(4, 11));
    // The sample: framed in the shadow colour, filled with the colour.
    EXPECT_EQ(t->m_clrShadow, mem.Pixel(5, 10));
    EXPECT_EQ(RGB(255, 0, 0), mem.Pixel(10, 10));
}

TEST_F(CellDrawing, PressedHotCellIsSunkenAndFilled)
{
    for (int id : {0, 1}) {
        SCOPED_TRACE(id);
        auto t = Theme(id);
        MemoryDC mem(24, 24, RGB(9, 9, 9));
        ColorCell c = ColourCell(RGB(0, 0, 255));
        t->DrawCell(&c, mem.dc(), TRUE, TRUE);
        EXPECT_EQ(t->m_clrShadow, mem.Pixel(2, 10)) << "top-left in the shadow colour";
        EXPECT_EQ(t->m_clrLight, mem.Pixel(19, 10)) << "bottom-right in the light colour";
        EXPECT_EQ(id == 0 ? RGB(9, 9, 9) : t->m_clrPressed, mem.Pixel(3, 10)) << "the pressed fill, when set";
        EXPECT_EQ(RGB(0, 0, 255), mem.Pixel(10, 10));
    }
    // Hot but not pressed: the flat theme's hot fill and a raised frame.
    auto flat = Theme(1);
    MemoryDC mem(24, 24, RGB(9, 9, 9));
    ColorCell c = ColourCell(RGB(0, 0, 255));
    flat->DrawCell(&c, mem.dc(), TRUE, FALSE);
    EXPECT_EQ(flat->m_clrHot, mem.Pixel(3, 10));
}

TEST_F(CellDrawing, SentinelColoursLeaveTheSampleEmpty)
{
    auto t = Theme(0);
    for (COLORREF clr : {QX_COLOR_UNSET, QX_COLOR_NOFILL}) {
        MemoryDC mem(24, 24, RGB(9, 9, 9));
        ColorCell c = ColourCell(clr);
        t->DrawCell(&c, mem.dc(), FALSE, FALSE);
        EXPECT_EQ(t->m_clrShadow, mem.Pixel(5, 10)) << "the box is drawn";
        EXPECT_EQ(RGB(9, 9, 9), mem.Pixel(10, 10)) << "nothing in it";
    }
    // The automatic button with no default colour: an empty 12 x 11 box.
    MemoryDC mem(150, 24, RGB(9, 9, 9));
    ColorCell top;
    top.rect.SetRect(0, 0, 144, 23);
    top.strText = "Automatic Color";
    top.clr = QX_COLOR_UNSET;
    t->DrawCell(&top, mem.dc(), FALSE, FALSE);
    EXPECT_EQ(t->m_clrShadow, mem.Pixel(7, 6));
    EXPECT_EQ(RGB(9, 9, 9), mem.Pixel(11, 10));
    top.clr = RGB(0, 128, 0);
    t->DrawCell(&top, mem.dc(), FALSE, FALSE);
    EXPECT_EQ(RGB(0, 128, 0), mem.Pixel(11, 10));
}

// ---------------------------------------------------------------------------
// The control.

// Records what a selector sends.
class Listener : public CWnd {
public:
    struct Result {
        UINT nMessage;
        COLORREF clr;
        LPARAM lParam;
    };
    std::vector<Result> results;
    BOOL Make()
    {
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW), (HBRUSH)(COLOR_3DFACE + 1));
        return CreateEx(0, cls, "Selector host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 400, 360, NULL, NULL);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= CPN_SELUNCHANGED && message <= CPN_SELNOFILL) {
            results.push_back({message, (COLORREF)wParam, lParam});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A selector whose colour dialog answers at once.
class ScriptedSelector : public CQXColorSelectorCtrl {
public:
    BOOL bAnswer = TRUE;
    COLORREF clrAnswer = RGB(1, 2, 3);
    int nRuns = 0;

protected:
    BOOL RunColorDialog(COLORREF& clr) override
    {
        ++nRuns;
        clr = clrAnswer;
        return bAnswer;
    }
};

struct SelectorTest : ::testing::Test {
    FixedColors colors;
    Listener host;
    void SetUp() override
    {
        CQXRecentColors::Instance()->RemoveAll();
        ASSERT_TRUE(host.Make());
    }
    void TearDown() override
    {
        host.DestroyWindow();
        CQXRecentColors::Instance()->RemoveAll();
        qmtest::PumpMessages();
    }
    std::unique_ptr<ScriptedSelector> Make(DWORD dwStyle, COLORREF clrCurrent, COLORREF clrDefault = QX_COLOR_UNSET)
    {
        std::unique_ptr<ScriptedSelector> p(new ScriptedSelector);
        EXPECT_TRUE(p->Create(CRect(10, 0, 10, 10), &host, dwStyle, clrCurrent, clrDefault));
        return p;
    }
};

TEST_F(SelectorTest, CellsAndSizesForEachStyle)
{
    const struct {
        DWORD dwStyle;
        int nRecent;
        int nCells, cy;
        int yFirstColour;
    } rows[] = {
        {0, 0, 1 + 16, 85, 49},
        {QXCS_EXTENDED, 0, 1 + 40, 117, 27},
        {QXCS_MORECOLORS, 0, 1 + 16 + 1, 112, 49},
        {QXCS_MORECOLORS, 2, 1 + 16 + 2 + 1, 134, 49},
        {0x26, 0, 1 + 40 + 1, 144, 27},
        {0x26, 9, 1 + 40 + 8 + 1, 166, 27},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << "style " << r.dwStyle << ", recent " << r.nRecent);
        CQXRecentColors::Instance()->RemoveAll();
        for (int i = 0; i < r.nRecent; i++)
            CQXRecentColors::Instance()->Add(RGB(10 + i, 20, 30), FALSE, 8);
        auto p = Make(r.dwStyle, RGB(0xFF, 0, 0));
        CRect rc;
        p->GetWindowRect(&rc);
        EXPECT_EQ(144, rc.Width());
        EXPECT_EQ(r.cy, rc.Height());
        ASSERT_EQ(r.nCells, p->GetCellCount());
        EXPECT_EQ(CRect(0, 0, 144, 23), p->GetCell(0)->rect);
        EXPECT_EQ(CRect(0, r.yFirstColour, 18, r.yFirstColour + 18), p->GetCell(1)->rect);
        // Red is the current colour: its table cell is selected.
        int nSelected = 0;
        for (int i = 0; i < p->GetCellCount(); i++)
            nSelected += p->GetCell(i)->bSelected ? 1 : 0;
        EXPECT_EQ(1, nSelected);
        if (r.dwStyle & QXCS_MORECOLORS) {
            const ColorCell* more = p->GetCell(p->GetCellCount() - 1);
            EXPECT_STREQ("More Colors...", more->strText.GetString());
            EXPECT_EQ(r.cy - 23, more->rect.top);
            EXPECT_EQ(r.cy, more->rect.bottom);
        }
        EXPECT_EQ(-1, p->GetHot());
    }
}

TEST_F(SelectorTest, TopButtonTextsAndSelection)
{
    auto automatic = Make(0, RGB(0, 0, 128), RGB(0, 0, 128));
    EXPECT_STREQ("Automatic Color", automatic->GetCell(0)->strText.GetString());
    EXPECT_TRUE(automatic->GetCell(0)->bSelected) << "the current colour is the default";
    auto nofill = Make(QXCS_NOFILL, RGB(0, 0, 128), RGB(0, 0, 128));
    EXPECT_STREQ("No Fill", nofill->GetCell(0)->strText.GetString());
    EXPECT_FALSE(nofill->GetCell(0)->bSelected);
    EXPECT_STREQ("Navy", nofill->GetCell(7)->strTip.GetString());
    EXPECT_TRUE(nofill->GetCell(7)->bSelected);
    // An unknown colour: "More Colors..." carries the check.
    auto unknown = Make(0x26, RGB(1, 2, 3));
    EXPECT_TRUE(unknown->GetCell(unknown->GetCellCount() - 1)->bSelected);
}

TEST_F(SelectorTest, KeysMoveTheHotCellAndChoose)
{
    auto p = Make(0x26, RGB(1, 2, 3));
    const int nLast = p->GetCellCount() - 1;
    auto key = [&](UINT vk) { p->SendMessage(WM_KEYDOWN, vk, 0); };
    key(VK_DOWN);
    EXPECT_EQ(0, p->GetHot());
    key(VK_DOWN);
    EXPECT_EQ(1, p->GetHot());
    key(VK_UP);
    EXPECT_EQ(0, p->GetHot()) << "clamped to the top button";
    key(VK_UP);
    EXPECT_EQ(nLast, p->GetHot()) << "from the top button up to the last cell";
    key(VK_UP);
    EXPECT_EQ(nLast - 1, p->GetHot());
    key(VK_LEFT);
    key(VK_RETURN);
    ASSERT_EQ(1u, host.results.size());
    EXPECT_EQ((UINT)CPN_SELCHANGE, host.results[0].nMessage);
    EXPECT_EQ(g_qxExtendedColors[38].clr, host.results[0].clr);
    key(VK_ESCAPE);
    ASSERT_EQ(2u, host.results.size());
    EXPECT_EQ((UINT)CPN_SELCANCEL, host.results[1].nMessage);
    EXPECT_EQ(RGB(1, 2, 3), host.results[1].clr);
}

TEST_F(SelectorTest, ResultsOfEachCell)
{
    const COLORREF red = RGB(255, 0, 0);
    struct Row {
        const char* name;
        DWORD dwStyle;
        COLORREF clrCurrent, clrDefault;
        int nCell; // -2: "More Colors..."
        UINT nMessage;
        COLORREF clr;
    };
    const Row rows[] = {
        {"a new colour", QXCS_EXTENDED, red, QX_COLOR_UNSET, 1, CPN_SELCHANGE, RGB(0, 0, 0)},
        {"the same colour", QXCS_EXTENDED, red, QX_COLOR_UNSET, 17, CPN_SELUNCHANGED, red},
        {"automatic colour", 0, red, RGB(0, 0, 255), 0, CPN_SELCHANGE, RGB(0, 0, 255)},
        {"automatic, the same", 0, red, red, 0, CPN_SELUNCHANGED, red},
        // With no automatic colour nothing is handed on: the colour stays.
        {"automatic, none set", 0, red, QX_COLOR_UNSET, 0, CPN_SELUNCHANGED, red},
        {"no fill", QXCS_NOFILL, red, QX_COLOR_UNSET, 0, CPN_SELNOFILL, QX_COLOR_NOFILL},
        {"no cell", 0, red, QX_COLOR_UNSET, -1, CPN_SELCANCEL, red},
        {"more colours", 0x26, red, QX_COLOR_UNSET, -2, CPN_SELCHANGE, RGB(1, 2, 3)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        host.results.clear();
        auto p = Make(r.dwStyle, r.clrCurrent, r.clrDefault);
        p->Select(r.nCell == -2 ? p->GetCellCount() - 1 : r.nCell);
        ASSERT_EQ(1u, host.results.size());
        EXPECT_EQ(r.nMessage, host.results[0].nMessage);
        EXPECT_EQ(r.clr, host.results[0].clr);
    }
    // An index with no cell sends nothing.
    host.results.clear();
    auto p = Make(0, red);
    p->Select(500);
    EXPECT_TRUE(host.results.empty());
}

TEST_F(SelectorTest, MoreColorsKeepsRecentColoursAndTellsEveryLiveListener)
{
    Listener second;
    ASSERT_TRUE(second.Make());
    auto p = Make(0x26, RGB(255, 0, 0));
    p->AddListener(second.GetSafeHwnd());
    p->clrAnswer = RGB(1, 2, 3);
    p->Select(p->GetCellCount() - 1);
    EXPECT_EQ(1, p->nRuns);
    ASSERT_EQ(1, CQXRecentColors::Instance()->GetCount());
    EXPECT_EQ(RGB(1, 2, 3), p->GetCurrentColor());
    EXPECT_EQ(1u, second.results.size());
    // The same custom colour again: unchanged, not added twice.
    p->Select(p->GetCellCount() - 1);
    EXPECT_EQ((UINT)CPN_SELUNCHANGED, host.results.back().nMessage);
    EXPECT_EQ(1, CQXRecentColors::Instance()->GetCount());
    // A table colour is known: not added.
    p->clrAnswer = g_qxExtendedColors[5].clr;
    p->Select(p->GetCellCount() - 1);
    EXPECT_EQ(1, CQXRecentColors::Instance()->GetCount());
    // Cancelled: 10029 with the current colour.
    p->bAnswer = FALSE;
    p->Select(p->GetCellCount() - 1);
    EXPECT_EQ((UINT)CPN_SELCANCEL, host.results.back().nMessage);
    // A listener destroyed before the end is skipped.
    second.DestroyWindow();
    p->bAnswer = TRUE;
    p->clrAnswer = RGB(4, 5, 6);
    const size_t n = host.results.size();
    p->Select(p->GetCellCount() - 1);
    EXPECT_EQ(n + 1, host.results.size());
    // A new selector shows the recent row.
    auto q = Make(0x26, RGB(4, 5, 6));
    EXPECT_EQ(1 + 40 + 2 + 1, q->GetCellCount());
    EXPECT_EQ(RGB(1, 2, 3), q->GetCell(41)->clr);
    EXPECT_STREQ("Hex= 010203", q->GetCell(41)->strTip.GetString());
    EXPECT_TRUE(q->GetCell(42)->bSelected) << "the recent colour that is current";
}

TEST_F(SelectorTest, MouseClickChoosesTheCellUnderIt)
{
    auto p = Make(QXCS_EXTENDED, RGB(255, 0, 0));
    const CRect rc = p->GetCell(3)->rect;
    const LPARAM at = MAKELPARAM(rc.left + 5, rc.top + 5);
    p->SendMessage(WM_MOUSEMOVE, 0, at);
    EXPECT_EQ(3, p->GetHot());
    p->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_EQ(3, p->GetPressed());
    p->SendMessage(WM_LBUTTONUP, 0, at);
    ASSERT_EQ(1u, host.results.size());
    EXPECT_EQ(g_qxExtendedColors[2].clr, host.results[0].clr);
    EXPECT_EQ(-1, p->GetPressed());
    // Released elsewhere: nothing chosen.
    p->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    p->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rc.left + 30, rc.top + 5));
    EXPECT_EQ(1u, host.results.size());
    EXPECT_EQ(p->GetCellCount(), p->GetToolTip().GetToolCount()) << "one tool per cell";
}

} // namespace
