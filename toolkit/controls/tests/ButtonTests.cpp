// The themed push button on real windows: the faces each theme draws for
// each state, the caption and image placement, the focus rectangle, and the
// button's own message handling.
#include "DialogTestSupport.h"
#include "PaintTestSupport.h"
#include "../../foundation/tests/QxTestSupport.h"

#include <qx/buttons.h>

#include <qmtest/qmatedriver.h>

using namespace dlgtest;
using namespace painttest;

namespace {

struct ButtonTest : ::testing::Test {
    FixedColors colors;
    CWnd parent;
    std::vector<std::unique_ptr<CQXButton>> buttons;

    void SetUp() override
    {
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
        ASSERT_TRUE(parent.CreateEx(0, cls, "Buttons", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300, NULL, NULL));
        PumpMessages();
    }
    void TearDown() override
    {
        for (auto& b : buttons)
            if (b->GetSafeHwnd())
                b->DestroyWindow();
        parent.DestroyWindow();
        PumpMessages();
    }
    CQXButton* Make(const char* caption, DWORD dwStyle = BS_PUSHBUTTON, CRect rc = CRect(10, 10, 90, 34),
                    CRuntimeClass* pFactory = NULL)
    {
        buttons.emplace_back(new CQXButton(pFactory));
        CQXButton* p = buttons.back().get();
        EXPECT_TRUE(p->Create(caption, WS_CHILD | WS_VISIBLE | dwStyle, rc, &parent, 100 + (UINT)buttons.size()));
        return p;
    }
    // The button drawn into a memory DC of its size, pre-filled with a
    // colour no theme uses.
    std::unique_ptr<MemoryDC> Draw(CQXButton* p)
    {
        CRect rc;
        p->GetClientRect(&rc);
        std::unique_ptr<MemoryDC> mem(new MemoryDC(rc.Width(), rc.Height(), RGB(1, 2, 3)));
        p->DrawButton(mem->dc());
        return mem;
    }
    void Hover(CQXButton* p, bool bIn)
    {
        p->SendMessage(WM_MOUSEMOVE, 0, bIn ? MAKELPARAM(5, 5) : MAKELPARAM(500, 500));
    }
};

TEST_F(ButtonTest, BaseThemeFacesByExtendedStyleAndState)
{
    CQXButton* b = Make("", BS_PUSHBUTTON);
    CButtonTheme* t = b->GetButtonTheme();
    ASSERT_NE(nullptr, t);
    const COLORREF face = t->m_crBack, hl = t->m_crBorderHilite, sh = t->m_crBorderShadow, dk = t->m_crBorder3DShadow,
                   lt = t->m_crBorderLight;
    struct Row {
        const char* name;
        DWORD dwx;
        bool bHot, bPushed, bChecked;
        COLORREF left, right, innerLeft, innerRight;
    };
    const Row rows[] = {
        {"flat, normal", BXS_FLAT, false, false, false, face, face, face, face},
        {"flat, hot", BXS_FLAT, true, false, false, hl, sh, face, face},
        {"flat, hot and pushed", BXS_FLAT, true, true, false, sh, hl, face, face},
        {"flat, pushed", BXS_FLAT, false, true, false, sh, hl, face, face},
        {"flat, checked", BXS_FLAT, false, false, true, sh, hl, face, face},
        {"semi-flat", BXS_SEMIFLAT, false, false, false, hl, sh, face, face},
        {"semi-flat, pushed", BXS_SEMIFLAT, false, true, false, sh, hl, face, face},
        {"classic", 0, false, false, false, hl, dk, lt, sh},
        {"classic, pushed", 0, false, true, false, dk, hl, sh, lt},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        b->SetExtendedStyle(r.dwx, FALSE);
        b->SetChecked(r.bChecked);
        b->SendMessage(BM_SETSTATE, r.bPushed, 0);
        Hover(b, r.bHot);
        ASSERT_EQ(r.bHot, !!b->IsHot());
        auto mem = Draw(b);
        CButtonTheme* theme = b->GetButtonTheme();
        (void)theme;
        EXPECT_EQ(r.left, mem->Pixel(0, 12));
        EXPECT_EQ(r.right, mem->Pixel(79, 12));
        EXPECT_EQ(r.innerLeft, mem->Pixel(1, 12));
        EXPECT_EQ(r.innerRight, mem->Pixel(78, 12));
        EXPECT_EQ(face, mem->Pixel(40, 12));
    }
    // A default push button gets one more dark frame outside.
    CQXButton* def = Make("", BS_DEFPUSHBUTTON);
    def->SetExtendedStyle(0, FALSE);
    auto mem = Draw(def);
    EXPECT_EQ(dk, mem->Pixel(0, 12));
    EXPECT_EQ(dk, mem->Pixel(79, 12));
    EXPECT_EQ(hl, mem->Pixel(1, 12));
    EXPECT_EQ(lt, mem->Pixel(2, 12));
}

TEST_F(ButtonTest, CheckPatternCoversPushedFaces)
{
    CQXButton* b = Make("", BS_PUSHBUTTON);
    b->SetExtendedStyle(BXS_FLAT | BXS_CHECKPATTERN, FALSE);
    COLORREF face = b->GetButtonTheme()->m_crBack;
    auto idle = Draw(b);
    EXPECT_EQ(face, idle->Pixel(40, 12));
    EXPECT_EQ(face, idle->Pixel(41, 12));
    b->SendMessage(BM_SETSTATE, TRUE, 0);
    auto pushed = Draw(b);
    EXPECT_NE(pushed->Pixel(40, 12), pushed->Pixel(41, 12)) << "a checker";
    EXPECT_EQ(pushed->Pixel(40, 12), pushed->Pixel(41, 13));
}

TEST_F(ButtonTest, FlatThemeFillsStatesAndHasNoFrameWhenIdle)
{
    CQXButton* b = Make("", BS_PUSHBUTTON);
    b->SetExtendedStyle(BXS_FLATTHEME | BXS_FOCUSRECT, FALSE);
    auto* t = dynamic_cast<CButtonThemeFlat*>(b->GetButtonTheme());
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(1, t->m_nTheme);
    ToolkitColorManager* m = ToolkitColorManager::Instance();
    struct Row {
        const char* name;
        bool bHot, bPushed, bChecked;
        COLORREF edge, fill;
    };
    const Row rows[] = {
        {"idle", false, false, false, m->GetColor(COLOR_BTNFACE), m->GetColor(COLOR_BTNFACE)},
        {"hot", true, false, false, m->GetColor(qxColorHotBorder), m->GetColor(qxColorHotFace)},
        {"pushed", true, true, false, m->GetColor(qxColorHotBorder), m->GetColor(qxColorPressedFace)},
        {"checked", false, false, true, m->GetColor(qxColorHotBorder), m->GetColor(qxColorCheckedFace)},
        {"checked and hot", true, false, true, m->GetColor(qxColorHotBorder), m->GetColor(qxColorPressedFace)},
    };
    for (const Row& r : rows) {
        b->SetChecked(r.bChecked);
        b->SendMessage(BM_SETSTATE, r.bPushed, 0);
        Hover(b, r.bHot);
        auto mem = Draw(b);
        EXPECT_EQ(r.edge, mem->Pixel(0, 12)) << r.name;
        EXPECT_EQ(r.fill, mem->Pixel(40, 12)) << r.name;
    }
    // The toolbar look: a colour-30 face in a shadow frame.
    b->SetChecked(FALSE);
    b->SendMessage(BM_SETSTATE, FALSE, 0);
    Hover(b, false);
    t->SetToolbarLook(TRUE);
    auto mem = Draw(b);
    EXPECT_EQ(m->GetColor(COLOR_BTNSHADOW), mem->Pixel(0, 12));
    EXPECT_EQ(m->GetColor(qxColorBarFace), mem->Pixel(40, 12));
    // The flat colours of the caller.
    t->SetToolbarLook(FALSE);
    b->SetFlatColors(RGB(9, 9, 9), RGB(8, 8, 8), RGB(7, 7, 7));
    Hover(b, true);
    auto hot = Draw(b);
    EXPECT_EQ(RGB(9, 9, 9), hot->Pixel(0, 12));
    EXPECT_EQ(RGB(8, 8, 8), hot->Pixel(40, 12));
    b->SendMessage(BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(RGB(7, 7, 7), Draw(b)->Pixel(40, 12));
}

TEST_F(ButtonTest, ToolbarLookDefaultButtonsGetTwoHighlightRings)
{
    CQXButton* b = Make("", BS_DEFPUSHBUTTON);
    b->GetThemeHolder().SetTheme(new CButtonThemeFlat(TRUE));
    COLORREF c13 = ToolkitColorManager::Instance()->GetColor(COLOR_HIGHLIGHT);
    auto mem = Draw(b);
    EXPECT_EQ(c13, mem->Pixel(0, 12));
    EXPECT_EQ(c13, mem->Pixel(1, 12));
    EXPECT_NE(c13, mem->Pixel(2, 12));
}

TEST_F(ButtonTest, GradientThemeFillsWithTheColourManagersGradients)
{
    CQXButton* b = Make("", BS_PUSHBUTTON);
    b->GetThemeHolder().SetTheme(new CButtonThemeGradient(FALSE));
    auto* t = dynamic_cast<CButtonThemeGradient*>(b->GetButtonTheme());
    ASSERT_NE(nullptr, t);
    ToolkitColorManager* m = ToolkitColorManager::Instance();
    EXPECT_EQ(m->GetColor(qxColorBarText), (COLORREF)t->m_crText) << "colour theme 0 keeps the flat text colour";
    EXPECT_EQ(RGB(0, 0, 0), (COLORREF)t->m_crHotText);
    struct Row {
        const char* name;
        bool bHot, bPushed, bChecked;
        int nGradient;
    };
    const Row rows[] = {{"hot", true, false, false, 9}, {"pushed", true, true, false, 8}, {"checked", false, false, true, 7}};
    for (const Row& r : rows) {
        b->SetChecked(r.bChecked);
        b->SendMessage(BM_SETSTATE, r.bPushed, 0);
        Hover(b, r.bHot);
        auto mem = Draw(b);
        const GradientColorValue* g = m->GetGradientColor(r.nGradient);
        COLORREF top = mem->Pixel(40, 2), bottom = mem->Pixel(40, 21);
        EXPECT_NE(top, bottom) << r.name << ": top to bottom";
        auto isNear = [](COLORREF a, COLORREF b) {
            return abs(GetRValue(a) - GetRValue(b)) < 24 && abs(GetGValue(a) - GetGValue(b)) < 24 &&
                   abs(GetBValue(a) - GetBValue(b)) < 24;
        };
        EXPECT_TRUE(isNear(top, g->GetStart())) << r.name;
        EXPECT_TRUE(isNear(bottom, g->GetEnd())) << r.name;
        EXPECT_EQ((COLORREF)t->m_crBorderLight, mem->Pixel(0, 12)) << r.name;
    }
    b->SetChecked(FALSE);
    b->SendMessage(BM_SETSTATE, FALSE, 0);
    Hover(b, false);
    auto idle = Draw(b);
    EXPECT_EQ(m->GetColor(COLOR_BTNFACE), idle->Pixel(40, 12)) << "idle faces are solid";
    EXPECT_EQ(m->GetColor(COLOR_BTNFACE), idle->Pixel(0, 12));
}

TEST(ButtonGradientSchemes, BlueDesktopColoursAndBlackText)
{
    FixedColors blue(qxColorThemeBlue);
    CButtonThemeGradient g(TRUE);
    g.RefreshMetrics();
    EXPECT_EQ(RGB(169, 199, 240), (COLORREF)g.m_crBack);
    EXPECT_EQ(RGB(0, 0, 128), (COLORREF)g.m_crBorderLight);
    EXPECT_EQ(RGB(255, 238, 194), (COLORREF)g.m_crHotFace);
    EXPECT_EQ(RGB(0, 0, 0), (COLORREF)g.m_crText);
    CButtonThemeGradient plain(FALSE);
    plain.RefreshMetrics();
    EXPECT_EQ(ToolkitColorManager::Instance()->GetColor(COLOR_BTNFACE), (COLORREF)plain.m_crBack) << "no toolbar look: button face";
}

TEST_F(ButtonTest, VisualStyleFlagFallsBackToClassicWithoutStyles)
{
    CQXButton* plain = Make("", BS_PUSHBUTTON);
    plain->SetExtendedStyle(BXS_FLAT, FALSE);
    auto classic = Draw(plain);
    {
        NoVisualStyles off;
        CQXButton* vs = Make("", BS_PUSHBUTTON);
        vs->SetExtendedStyle(BXS_FLAT | BXS_VISUALSTYLE, FALSE);
        auto mem = Draw(vs);
        for (int x : {0, 1, 40, 79})
            EXPECT_EQ(classic->Pixel(x, 12), mem->Pixel(x, 12)) << x;
        EXPECT_FALSE(vs->GetButtonTheme()->UseVisualStyle(vs));
        vs->DestroyWindow();
    }
    CQXButton* themed = Make("", BS_PUSHBUTTON);
    themed->SetExtendedStyle(BXS_VISUALSTYLE, FALSE);
    if (themed->GetButtonTheme()->UseVisualStyle(themed)) {
        auto mem = Draw(themed);
        int nDiffer = 0;
        for (int x = 0; x < 80; ++x)
            if (mem->Pixel(x, 1) != classic->Pixel(x, 1))
                ++nDiffer;
        EXPECT_GT(nDiffer, 0) << "the style's push button";
    }
}

// A button with the visual-style flag whose visual-styles call fails (here:
// faults inside the library, which the wrapper turns into its failure
// value) draws the classic face, pixel for pixel the face of a button
// without visual styles, in its picture and on the screen. While the style
// works the library draws the face instead.
TEST_F(ButtonTest, AFailedVisualStylesCallDrawsTheClassicFace)
{
    qxtest::FakeUx fake;
    ASSERT_TRUE(fake.Loaded());
    fake.Set(L"fake.msstyles", L"NormalColor", true);
    qxtest::FakeUxInUse inUse(fake);
    const CRect rcClassic(10, 10, 90, 34), rcThemed(10, 50, 90, 74);
    CQXButton* plain = Make("Go", BS_PUSHBUTTON, rcClassic);
    plain->SetExtendedStyle(BXS_FLAT, FALSE);
    auto classic = Draw(plain);
    const int cx = rcClassic.Width(), cy = rcClassic.Height();
    // The pixels of a button window as the screen shows them.
    auto onScreen = [&](CQXButton* b) {
        b->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        std::vector<COLORREF> v;
        HDC hdc = ::GetDC(b->GetSafeHwnd());
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                v.push_back(::GetPixel(hdc, x, y));
        ::ReleaseDC(b->GetSafeHwnd(), hdc);
        return v;
    };
    ASSERT_TRUE(qmtest::BringToForeground(parent.GetSafeHwnd()));
    const std::vector<COLORREF> classicOnScreen = onScreen(plain);

    struct Row {
        const char* fault; // the entry point that faults; NULL: none
        bool bStyled;      // the library's face shows
    } rows[] = {
        {NULL, true},
        {"OpenThemeData", false},       // no handle: not themed
        {"IsAppThemed", false},         // FALSE: not themed
        {"DrawThemeBackground", false}, // E_FAIL: drawn the classic way after all
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.fault ? r.fault : "no fault");
        const LONG nFaults = fake.Fault(r.fault);
        CQXButton* themed = Make("Go", BS_PUSHBUTTON, rcThemed);
        themed->SetExtendedStyle(BXS_FLAT | BXS_VISUALSTYLE, FALSE);
        auto face = Draw(themed);
        const std::vector<COLORREF> faceOnScreen = onScreen(themed);
        if (r.fault)
            EXPECT_GT(fake.Fault(NULL), nFaults) << "the library was entered and faulted";
        else
            EXPECT_EQ(nFaults, fake.Fault(NULL));
        const CPoint ptDiffer = classic->FirstDifference(*face);
        if (r.bStyled) {
            EXPECT_NE(CPoint(-1, -1), ptDiffer) << "the library's face";
            EXPECT_EQ(fake.PartColor(1, 1), face->Pixel(cx / 2, cy - 3));
            EXPECT_NE(classicOnScreen, faceOnScreen) << "on the screen, too";
        } else {
            EXPECT_EQ(CPoint(-1, -1), ptDiffer) << "the classic face";
            EXPECT_EQ(classicOnScreen, faceOnScreen) << "the same on the screen";
        }
        themed->DestroyWindow();
    }
}

TEST_F(ButtonTest, FocusRectangleOnlyWhenFlaggedAndNotHidden)
{
    CQXButton* b = Make("", BS_PUSHBUTTON);
    parent.SetForegroundWindow();
    b->SetFocus();
    PumpMessages();
    ASSERT_EQ(b->GetSafeHwnd(), ::GetFocus());
    auto dots = [&](MemoryDC& mem) {
        int n = 0;
        COLORREF face = b->GetButtonTheme()->m_crBack;
        for (int x = 3; x < 77; ++x)
            if (mem.Pixel(x, 2) != face)
                ++n;
        return n;
    };
    b->SetExtendedStyle(BXS_FLAT | BXS_FOCUSRECT, FALSE);
    EXPECT_GT(dots(*Draw(b)), 10) << "inset by 2 on flat buttons";
    b->SetExtendedStyle(BXS_FLAT, FALSE);
    EXPECT_EQ(0, dots(*Draw(b)));
    b->SetExtendedStyle(BXS_FLAT | BXS_FOCUSRECT, FALSE);
    b->SendMessage(WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    if (b->SendMessage(WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) {
        EXPECT_EQ(0, dots(*Draw(b))) << "hidden focus cues";
    }
}

TEST_F(ButtonTest, CaptionAndImagePlacement)
{
    const COLORREF red = RGB(255, 0, 0);
    HICON hIcon = MakeSquareIcon(red);
    struct Row {
        const char* name;
        const char* caption;
        DWORD dwStyle, dwx;
        CPoint image;
    };
    const Row rows[] = {
        {"left aligned", "Go", BS_LEFT, BXS_FLAT, CPoint(4, 7)},
        {"centred caption", "Go", BS_CENTER, BXS_FLAT, CPoint(4, 7)},
        {"caption-less, centred", "", BS_CENTER, BXS_FLAT, CPoint(42, 7)},
        {"caption-less, default", "", 0, BXS_FLAT, CPoint(4, 7)},
        {"stacked, caption-less", "", 0, BXS_FLAT | BXS_STACKED, CPoint(42, 7)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CQXButton* b = Make(r.caption, BS_PUSHBUTTON | r.dwStyle, CRect(10, 50, 110, 80));
        b->SetExtendedStyle(r.dwx, FALSE);
        ASSERT_TRUE(b->SetImage(CSize(16, 16), hIcon, NULL, FALSE));
        auto mem = Draw(b);
        EXPECT_EQ(red, mem->Pixel(r.image.x + 2, r.image.y + 2));
        EXPECT_EQ(red, mem->Pixel(r.image.x + 13, r.image.y + 13));
        EXPECT_NE(red, mem->Pixel(r.image.x + 1, r.image.y + 2));
        if (*r.caption && (r.dwStyle & BS_CENTER) == BS_LEFT) {
            // The caption starts after the border gap, the image and the gap.
            int nInk = 0;
            for (int y = 0; y < 30; ++y)
                for (int x = 21; x < 28; ++x)
                    if (mem->Pixel(x, y) == RGB(0, 0, 0))
                        ++nInk;
            EXPECT_EQ(0, nInk);
            int nText = 0;
            for (int y = 0; y < 30; ++y)
                for (int x = 28; x < 60; ++x)
                    if (mem->Pixel(x, y) == b->GetButtonTheme()->m_crText)
                        ++nText;
            EXPECT_GT(nText, 0);
        }
    }
    // The base theme moves the image by one pixel when pushed; the flat
    // theme does not.
    CQXButton* b = Make("", BS_PUSHBUTTON | BS_CENTER, CRect(10, 90, 110, 120));
    b->SetImage(CSize(16, 16), hIcon, NULL, FALSE);
    b->SendMessage(BM_SETSTATE, TRUE, 0);
    auto pushed = Draw(b);
    EXPECT_EQ(red, pushed->Pixel(45, 10));
    EXPECT_NE(red, pushed->Pixel(44, 9));
    b->SetExtendedStyle(BXS_FLATTHEME, FALSE);
    auto flat = Draw(b);
    EXPECT_EQ(red, flat->Pixel(44, 9));
    // Explicit positions win.
    b->SetImagePositions(CPoint(60, 2), CPoint(0, 0), FALSE);
    auto placed = Draw(b);
    EXPECT_EQ(red, placed->Pixel(62, 4));
    // Hidden images take no room.
    b->ToggleImage();
    EXPECT_EQ(CSize(0, 0), b->GetImageSize());
    EXPECT_EQ(0, Draw(b)->Count(CRect(0, 0, 100, 30), red));
    ::DestroyIcon(hIcon);
}

TEST_F(ButtonTest, MessagesTheButtonHandlesItself)
{
    // Group boxes never become hot.
    CQXButton* group = Make("Group", BS_GROUPBOX, CRect(10, 130, 200, 200));
    Hover(group, true);
    EXPECT_FALSE(group->IsHot());

    // BM_SETSTATE: the themed pushed state, the window stays visible.
    CQXButton* b = Make("Push", BS_PUSHBUTTON);
    EXPECT_EQ(0, b->SendMessage(BM_SETSTATE, TRUE, 0));
    EXPECT_TRUE(b->IsPushed());
    EXPECT_TRUE(b->GetStyle() & WS_VISIBLE);
    b->SendMessage(BM_SETSTATE, FALSE, 0);
    EXPECT_FALSE(b->IsPushed());

    // BM_SETSTYLE goes to the system button.
    b->SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ((DWORD)BS_DEFPUSHBUTTON, b->GetStyle() & 0xF);

    // WM_PRINTCLIENT draws only the client part when asked for it.
    MemoryDC mem(80, 24, RGB(1, 2, 3));
    EXPECT_EQ(1, b->SendMessage(WM_PRINTCLIENT, (WPARAM)mem.dc()->GetSafeHdc(), PRF_CLIENT));
    EXPECT_EQ(b->GetButtonTheme()->m_crBack, mem.Pixel(40, 2));
    // Without PRF_CLIENT the system button answers, as a plain one does.
    CButton system;
    ASSERT_TRUE(system.Create("Push", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, CRect(200, 10, 280, 34), &parent, 999));
    MemoryDC mine(80, 24, RGB(1, 2, 3)), theirs(80, 24, RGB(1, 2, 3));
    b->SendMessage(WM_PRINTCLIENT, (WPARAM)mine.dc()->GetSafeHdc(), PRF_NONCLIENT);
    system.SendMessage(WM_PRINTCLIENT, (WPARAM)theirs.dc()->GetSafeHdc(), PRF_NONCLIENT);
    EXPECT_EQ(theirs.Pixel(40, 12), mine.Pixel(40, 12));
    EXPECT_EQ(theirs.Pixel(2, 2), mine.Pixel(2, 2));
    system.DestroyWindow();

    // Owner-drawn buttons answer the dialog code themselves.
    CQXButton* od = Make("Owner", BS_OWNERDRAW, CRect(100, 10, 180, 34));
    EXPECT_EQ((UINT)DLGC_BUTTON, (UINT)od->SendMessage(WM_GETDLGCODE, 0, 0));
    parent.SetForegroundWindow();
    od->SetFocus();
    PumpMessages();
    if (::GetFocus() == od->GetSafeHwnd()) {
        EXPECT_EQ((UINT)(DLGC_BUTTON | DLGC_DEFPUSHBUTTON), (UINT)od->SendMessage(WM_GETDLGCODE, 0, 0));
    }
    // The button paints itself: its face appears on the screen window.
    b->Invalidate();
    b->UpdateWindow();
    HDC hdc = ::GetDC(b->GetSafeHwnd());
    COLORREF onScreen = ::GetPixel(hdc, 40, 2);
    ::ReleaseDC(b->GetSafeHwnd(), hdc);
    EXPECT_EQ(b->GetButtonTheme()->m_crBack, onScreen);
}

TEST_F(ButtonTest, ButtonsWithoutAThemeAnswerDefaults)
{
    CQXButton* b = Make("Plain", BS_PUSHBUTTON, CRect(10, 10, 90, 34), RUNTIME_CLASS(CQXThemeManagerStyleFactory));
    EXPECT_FALSE(b->HasTheme());
    EXPECT_EQ(ToolkitColorManager::Instance()->GetColor(COLOR_BTNFACE), b->GetFaceColor());
    b->SetFaceColor(RGB(1, 1, 1));
    b->SetFlatColors(1, 2, 3);
    MemoryDC mem(80, 24, RGB(1, 2, 3));
    b->DrawButton(mem.dc());
    EXPECT_EQ(RGB(1, 2, 3), mem.Pixel(40, 12)) << "nothing draws without a theme";
    b->SetExtendedStyle(BXS_FLAT, FALSE);
    EXPECT_TRUE(b->HasTheme()) << "BXS_FLAT installs a base theme of its own";
    // Colour setters reach the theme.
    b->SetFaceColor(RGB(10, 20, 30));
    EXPECT_EQ(RGB(10, 20, 30), b->GetFaceColor());
    CString str;
    b->SetWindowText("&Save && Close");
    b->GetButtonText(str, TRUE);
    EXPECT_STREQ("Save & Close", str.GetString());
}

} // namespace
