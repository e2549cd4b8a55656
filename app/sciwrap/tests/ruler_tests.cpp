// Hook chains and the ruler: layout in the non-client area, scroll offsets,
// what a bar draws, the mouse marker, and the ruler of a real editor window
// following its horizontal and vertical scrolling (with a screenshot kept as
// a test artefact).
#include "scitest.h"

#include <stdio.h>

#include <string>
#include <vector>

using scitest::CHostWnd;
using scitest::IDC_EDITOR;

namespace {

// --- a plain window to hook ---------------------------------------------------------

WNDPROC g_ownProcSeenAtNcDestroy = NULL;
bool g_noHookAtNcDestroy = false;
std::vector<std::string>* g_log = NULL;

LRESULT CALLBACK OwnProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCDESTROY) {
        g_ownProcSeenAtNcDestroy = (WNDPROC)GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
        g_noHookAtNcDestroy = COXHookWnd::FindFirstHook(hWnd) == NULL;
    }
    if (msg == WM_USER + 7 && g_log)
        g_log->push_back("own");
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

HWND MakePlainWindow(DWORD style, int cx, int cy)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = "QmSciRulerPlain";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(0, "QmSciRulerPlain", "plain", style, 40, 40, cx, cy, NULL, NULL, GetModuleHandleA(NULL),
                           NULL);
}

// The client rectangle in window coordinates.
RECT ClientInWindow(HWND hWnd)
{
    RECT rcWindow, rcClient;
    GetWindowRect(hWnd, &rcWindow);
    GetClientRect(hWnd, &rcClient);
    POINT pt = {0, 0};
    ClientToScreen(hWnd, &pt);
    OffsetRect(&rcClient, pt.x - rcWindow.left, pt.y - rcWindow.top);
    return rcClient;
}

std::string RectText(const RECT& rc)
{
    char buf[64];
    snprintf(buf, sizeof(buf), "(%ld,%ld,%ld,%ld)", rc.left, rc.top, rc.right, rc.bottom);
    return buf;
}

class CountingHook : public COXHookWnd {
public:
    explicit CountingHook(const char* name) : m_name(name) {}

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == WM_USER + 7 && g_log)
            g_log->push_back(m_name);
        return COXHookWnd::WindowProc(nMsg, wParam, lParam);
    }

private:
    const char* m_name;
};

// --- hook chains -------------------------------------------------------------------------

TEST(HookWnd, HooksChainNewestFirstAndUnhookInAnyOrder)
{
    std::vector<std::string> log;
    g_log = &log;
    HWND hWnd = MakePlainWindow(WS_POPUP, 100, 100);
    ASSERT_NE(hWnd, (HWND)NULL);
    CountingHook a("a"), b("b");
    ASSERT_TRUE(a.HookWindow(hWnd));
    ASSERT_TRUE(b.HookWindow(hWnd));
    EXPECT_FALSE(b.HookWindow(hWnd)); // already watching
    EXPECT_EQ(COXHookWnd::FindFirstHook(hWnd), &b);
    SendMessageA(hWnd, WM_USER + 7, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"b", "a", "own"}));

    log.clear();
    a.UnhookWindow(); // not the first one
    SendMessageA(hWnd, WM_USER + 7, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"b", "own"}));
    EXPECT_NE((WNDPROC)GetWindowLongPtrA(hWnd, GWLP_WNDPROC), (WNDPROC)OwnProc);

    b.UnhookWindow(); // the last one puts the window's procedure back
    EXPECT_EQ((WNDPROC)GetWindowLongPtrA(hWnd, GWLP_WNDPROC), (WNDPROC)OwnProc);
    EXPECT_EQ(COXHookWnd::FindFirstHook(hWnd), (COXHookWnd*)NULL);
    log.clear();
    SendMessageA(hWnd, WM_USER + 7, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"own"}));
    DestroyWindow(hWnd);
    g_log = NULL;
}

// A subclasser installed over the hooks stays installed when they go, and
// the window still gets every message.
WNDPROC g_foreignOld = NULL;
LRESULT CALLBACK ForeignProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_USER + 7 && g_log)
        g_log->push_back("foreign");
    return CallWindowProcA(g_foreignOld, hWnd, msg, wParam, lParam);
}

TEST(HookWnd, UnhookingUnderALaterSubclasserNeverCutsItOut)
{
    std::vector<std::string> log;
    g_log = &log;
    HWND hWnd = MakePlainWindow(WS_POPUP, 100, 100);
    ASSERT_NE(hWnd, (HWND)NULL);
    CountingHook a("a");
    ASSERT_TRUE(a.HookWindow(hWnd));
    g_foreignOld = (WNDPROC)SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)ForeignProc);
    a.UnhookWindow();
    EXPECT_EQ((WNDPROC)GetWindowLongPtrA(hWnd, GWLP_WNDPROC), (WNDPROC)ForeignProc);
    SendMessageA(hWnd, WM_USER + 7, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"foreign", "own"}));
    SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)g_foreignOld);
    log.clear();
    SendMessageA(hWnd, WM_USER + 7, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"own"}));
    EXPECT_EQ((WNDPROC)GetWindowLongPtrA(hWnd, GWLP_WNDPROC), (WNDPROC)OwnProc);
    DestroyWindow(hWnd);
    g_log = NULL;
}

TEST(HookWnd, DestroyingTheWindowRemovesEveryHookBeforeItsLastMessage)
{
    HWND hWnd = MakePlainWindow(WS_POPUP, 100, 100);
    ASSERT_NE(hWnd, (HWND)NULL);
    CountingHook a("a"), b("b");
    ASSERT_TRUE(a.HookWindow(hWnd));
    ASSERT_TRUE(b.HookWindow(hWnd));
    g_ownProcSeenAtNcDestroy = NULL;
    g_noHookAtNcDestroy = false;
    DestroyWindow(hWnd);
    EXPECT_EQ(g_ownProcSeenAtNcDestroy, (WNDPROC)OwnProc);
    EXPECT_TRUE(g_noHookAtNcDestroy);
    EXPECT_FALSE(a.IsHooked());
    EXPECT_FALSE(b.IsHooked());
}

// --- layout -----------------------------------------------------------------------------

struct LayoutCase {
    const char* name;
    DWORD style;
    int cx, cy;
    BOOL horizontal, vertical;
    RECT client; // in window coordinates
    RECT corner, hbar, vbar;
};

void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.name;
}

class RulerLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(RulerLayoutTest, ReservesTheStripsInTheFrame)
{
    const LayoutCase& c = GetParam();
    HWND hWnd = MakePlainWindow(c.style, c.cx, c.cy);
    ASSERT_NE(hWnd, (HWND)NULL);
    const int sb = GetSystemMetrics(SM_CXVSCROLL);
    auto fix = [&](RECT rc) {
        // -1 in a case stands for "the window's width" (scroll bars vary).
        if (rc.right == -1)
            rc.right = c.cx;
        if (rc.right == -2)
            rc.right = c.cx - sb;
        return rc;
    };
    CRulerHook ruler;
    ASSERT_TRUE(ruler.Attach(hWnd, c.horizontal, c.vertical));
    EXPECT_FALSE(ruler.Attach(hWnd, TRUE, TRUE));
    EXPECT_EQ(RectText(ClientInWindow(hWnd)), RectText(fix(c.client)));
    EXPECT_EQ(RectText(ruler.GetCornerRect()), RectText(c.corner));
    EXPECT_EQ(RectText(ruler.GetHorizontalRect()), RectText(fix(c.hbar)));
    EXPECT_EQ(RectText(ruler.GetVerticalRect()), RectText(c.vbar));

    // Detaching gives the strips back.
    ruler.Detach();
    EXPECT_EQ(ClientInWindow(hWnd).left, 0);
    EXPECT_EQ(ClientInWindow(hWnd).top, 0);
    EXPECT_EQ((WNDPROC)GetWindowLongPtrA(hWnd, GWLP_WNDPROC), (WNDPROC)OwnProc);
    DestroyWindow(hWnd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RulerLayoutTest,
    ::testing::Values(
        LayoutCase{"both", WS_POPUP, 300, 200, TRUE, TRUE, {20, 20, 300, 200}, {0, 0, 18, 18}, {18, 0, 300, 18}, {0, 18, 18, 200}},
        LayoutCase{"horizontal_only", WS_POPUP, 300, 200, TRUE, FALSE, {0, 20, 300, 200}, {0, 0, 0, 0}, {0, 0, 300, 18}, {0, 0, 0, 0}},
        LayoutCase{"vertical_only", WS_POPUP, 300, 200, FALSE, TRUE, {20, 0, 300, 200}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 18, 200}},
        // The horizontal ruler spans the vertical scroll bar too.
        LayoutCase{"over_the_scroll_bar", WS_POPUP | WS_VSCROLL, 300, 200, TRUE, TRUE, {20, 20, -2, 200}, {0, 0, 18, 18}, {18, 0, -1, 18}, {0, 18, 18, 200}}));

TEST(RulerLayout, NarrowWindowGetsAnEmptyClientInsteadOfANegativeOne)
{
    HWND hWnd = MakePlainWindow(WS_POPUP, 12, 200);
    ASSERT_NE(hWnd, (HWND)NULL);
    CRulerHook ruler;
    ASSERT_TRUE(ruler.Attach(hWnd, TRUE, TRUE));
    RECT rc;
    GetClientRect(hWnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 0);
    EXPECT_EQ(rc.bottom - rc.top, 180);
    DestroyWindow(hWnd);
    EXPECT_FALSE(ruler.IsHooked());
}

TEST(RulerLayout, AttachRefusesAMissingWindow)
{
    CRulerHook ruler;
    EXPECT_FALSE(ruler.Attach((HWND)NULL));
    HWND hWnd = MakePlainWindow(WS_POPUP, 50, 50);
    DestroyWindow(hWnd);
    EXPECT_FALSE(ruler.Attach(hWnd));
    EXPECT_FALSE(ruler.IsHooked());
}

// --- offsets and marks -------------------------------------------------------------------

TEST(RulerOffsets, ScrollPositionsBecomePixelOffsets)
{
    struct Case {
        int pos, page, extent, unitPixels, want;
    } cases[] = {
        {250, 0, 400, 100, 250},   // no page: the position is in pixels
        {250, 400, 400, 100, 250}, // page = client
        {10, 20, 300, 100, 150},   // 20 lines on 300 pixels
        {3, 7, 100, 100, 42},      // no truncation of the ratio (100 / 7 = 14.28...)
        {0, 20, 300, 100, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CRulerHook::ScrollToOffset(c.pos, c.page, c.extent, c.unitPixels), c.want)
            << c.pos << "/" << c.page << "/" << c.extent;
}

std::vector<CRulerBar::Mark> Labels(const std::vector<CRulerBar::Mark>& marks)
{
    std::vector<CRulerBar::Mark> labels;
    for (const CRulerBar::Mark& m : marks)
        if (m.nKind == 2)
            labels.push_back(m);
    return labels;
}

TEST(RulerMarks, ScrolledRulerLabelsUnitsFromTheOffset)
{
    CRulerBar bar;
    bar.SetOrientation(TRUE, 100);
    bar.SetOffset(250);
    std::vector<CRulerBar::Mark> marks;
    bar.ComputeMarks(400, marks);
    std::vector<CRulerBar::Mark> all = Labels(marks), labels;
    // Unit 2 lies 50 pixels before the start (only clipping would show
    // it); unit 3 is the first at 50.
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all[0].nUnit, 2);
    EXPECT_DOUBLE_EQ(all[0].dPos, -50.0);
    for (const CRulerBar::Mark& m : all)
        if (m.dPos >= 0)
            labels.push_back(m);
    ASSERT_GE(labels.size(), 4u);
    EXPECT_EQ(labels[0].nUnit, 3);
    EXPECT_DOUBLE_EQ(labels[0].dPos, 50.0);
    EXPECT_STREQ(labels[0].szText, "3");
    EXPECT_EQ(labels[1].nUnit, 4);
    EXPECT_DOUBLE_EQ(labels[1].dPos, 150.0);
    EXPECT_STREQ(labels[1].szText, "4");

    std::vector<int> ticks, longTicks;
    for (const CRulerBar::Mark& m : marks) {
        if (m.nKind == 0)
            ticks.push_back((int)m.dPos);
        if (m.nKind == 1)
            longTicks.push_back((int)m.dPos);
    }
    // Ten subdivisions of 10 pixels, the middle one long, none on the unit line.
    EXPECT_EQ(std::vector<int>(ticks.begin(), ticks.begin() + 8), (std::vector<int>{10, 20, 30, 40, 60, 70, 80, 90}));
    ASSERT_GE(longTicks.size(), 2u);
    EXPECT_EQ(longTicks[0], 0);
    EXPECT_EQ(longTicks[1], 100);
    for (int t : ticks)
        EXPECT_NE(t % 100, 50) << t;
}

TEST(RulerMarks, SmallZoomedStepsLabelEveryFifthUnitModuloAHundred)
{
    CRulerBar bar;
    bar.SetOrientation(TRUE, 100);
    bar.SetZoom(12.0, TRUE); // 12 pixels per unit
    bar.SetOffset(105 * 12);
    std::vector<CRulerBar::Mark> marks;
    bar.ComputeMarks(200, marks);
    std::vector<CRulerBar::Mark> labels = Labels(marks);
    ASSERT_GE(labels.size(), 3u);
    EXPECT_EQ(labels.size(), marks.size()); // no ticks below 14 pixels
    EXPECT_EQ(labels[0].nUnit, 105);
    EXPECT_STREQ(labels[0].szText, "5");
    EXPECT_DOUBLE_EQ(labels[0].dPos, 0.0);
    EXPECT_STREQ(labels[1].szText, "10");
    EXPECT_DOUBLE_EQ(labels[1].dPos, 60.0);
    EXPECT_STREQ(labels[2].szText, "15");
}

TEST(RulerMarks, MediumStepsGetOneLongTickPerUnit)
{
    CRulerBar bar;
    bar.SetOrientation(TRUE, 100);
    bar.SetZoom(50.0, TRUE); // 50 pixels, subdivisions of 5 (too close)
    std::vector<CRulerBar::Mark> marks;
    bar.ComputeMarks(200, marks);
    std::vector<double> longTicks;
    for (const CRulerBar::Mark& m : marks) {
        EXPECT_NE(m.nKind, 0);
        if (m.nKind == 1)
            longTicks.push_back(m.dPos);
    }
    ASSERT_GE(longTicks.size(), 3u);
    EXPECT_DOUBLE_EQ(longTicks[0], 25.0);
    EXPECT_DOUBLE_EQ(longTicks[1], 75.0);
    std::vector<CRulerBar::Mark> labels = Labels(marks);
    ASSERT_GE(labels.size(), 2u);
    EXPECT_STREQ(labels[0].szText, "1");
    EXPECT_DOUBLE_EQ(labels[0].dPos, 50.0);
}

// --- drawing ------------------------------------------------------------------------------

class MemoryCanvas {
public:
    MemoryCanvas(int cx, int cy) : m_cx(cx), m_cy(cy)
    {
        HDC hScreen = GetDC(NULL);
        m_dc = CreateCompatibleDC(hScreen);
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        m_bitmap = CreateDIBSection(hScreen, &bmi, DIB_RGB_COLORS, (void**)&m_bits, NULL, 0);
        ReleaseDC(NULL, hScreen);
        m_old = SelectObject(m_dc, m_bitmap);
        RECT rc = {0, 0, cx, cy};
        FillRect(m_dc, &rc, (HBRUSH)GetStockObject(WHITE_BRUSH));
    }
    ~MemoryCanvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    COLORREF Pixel(int x, int y) const
    {
        GdiFlush();
        DWORD v = m_bits[y * m_cx + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    std::vector<DWORD> Snapshot() const
    {
        GdiFlush();
        return std::vector<DWORD>(m_bits, m_bits + m_cx * m_cy);
    }
    // Columns (x) where the picture differs from an earlier snapshot.
    std::vector<int> ChangedColumns(const std::vector<DWORD>& before) const
    {
        GdiFlush();
        std::vector<int> cols;
        for (int x = 0; x < m_cx; ++x)
            for (int y = 0; y < m_cy; ++y)
                if (m_bits[y * m_cx + x] != before[(size_t)(y * m_cx + x)]) {
                    cols.push_back(x);
                    break;
                }
        return cols;
    }

private:
    int m_cx, m_cy;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_bits = NULL;
};

bool IsDark(COLORREF c)
{
    return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128;
}

TEST(RulerDrawing, ScrolledBarShowsUnitThreeAndClipsUnitTwo)
{
    CRulerBar bar;
    bar.SetOrientation(TRUE, 100);
    bar.SetOffset(250);
    MemoryCanvas canvas(404, 18);
    RECT rcBar = {0, 0, 404, 18};
    bar.Draw(canvas.dc(), rcBar, rcBar);

    // Window background inside, a sunken edge outside.
    EXPECT_EQ(canvas.Pixel(0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.Pixel(5, 3), GetSysColor(COLOR_WINDOW));
    auto darkIn = [&](int x0, int x1) {
        int n = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = 2; y < 16; ++y)
                n += IsDark(canvas.Pixel(x, y)) ? 1 : 0;
        return n;
    };
    // The inner area starts at x = 2: unit 3's label is centred on 52, the
    // ticks of unit 2 sit at 2, 12, 22, 32, 42 and nothing else is left of it.
    EXPECT_GT(darkIn(46, 59), 0);
    EXPECT_EQ(darkIn(3, 12), 0);
    EXPECT_EQ(darkIn(13, 22), 0);
    EXPECT_GT(darkIn(12, 13), 0);
}

TEST(RulerDrawing, MarkerMovesWithoutLeavingATrail)
{
    CRulerBar bar;
    bar.SetOrientation(TRUE, 100);
    MemoryCanvas canvas(300, 18);
    RECT rcBar = {0, 0, 300, 18};
    bar.Draw(canvas.dc(), rcBar, rcBar);
    const std::vector<DWORD> clean = canvas.Snapshot();

    bar.MoveMarker(canvas.dc(), rcBar, 50, 1);
    EXPECT_EQ(canvas.ChangedColumns(clean), std::vector<int>{50});
    bar.MoveMarker(canvas.dc(), rcBar, 52, 1);
    EXPECT_EQ(canvas.ChangedColumns(clean), std::vector<int>{52});
    bar.MoveMarker(canvas.dc(), rcBar, 53, 3); // overlapping band
    EXPECT_EQ(canvas.ChangedColumns(clean), (std::vector<int>{53, 54, 55}));
    bar.MoveMarker(canvas.dc(), rcBar, 600, 1); // out of the bar: erased
    EXPECT_TRUE(canvas.ChangedColumns(clean).empty());
    EXPECT_FALSE(bar.IsMarkerShown());
    bar.MoveMarker(canvas.dc(), rcBar, 60, 1); // back again: a new one only
    EXPECT_EQ(canvas.ChangedColumns(clean), std::vector<int>{60});
    // A repaint keeps the marker where MoveMarker remembers it.
    bar.Draw(canvas.dc(), rcBar, rcBar);
    EXPECT_EQ(canvas.ChangedColumns(clean), std::vector<int>{60});
    bar.MoveMarker(canvas.dc(), rcBar, 2, 1); // not strictly after the edge
    EXPECT_TRUE(canvas.ChangedColumns(clean).empty());
    bar.MoveMarker(canvas.dc(), rcBar, 299, 5); // clipped 2 pixels before the end
    EXPECT_TRUE(canvas.ChangedColumns(clean).empty());
}

// --- the editor's ruler -------------------------------------------------------------------

bool SaveWindowShot(HWND hWnd, const char* path)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    HDC hWindow = GetWindowDC(hWnd);
    HDC hMem = CreateCompatibleDC(hWindow);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    void* bits = NULL;
    HBITMAP hBitmap = CreateDIBSection(hWindow, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(hMem, hBitmap);
    BitBlt(hMem, 0, 0, cx, cy, hWindow, 0, 0, SRCCOPY);
    GdiFlush();
    DWORD stride = ((DWORD)cx * 3 + 3) & ~3u;
    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof(bfh) + sizeof(bmi.bmiHeader);
    bfh.bfSize = bfh.bfOffBits + stride * (DWORD)cy;
    bool ok = false;
    FILE* f = fopen(path, "wb");
    if (f != NULL) {
        fwrite(&bfh, sizeof(bfh), 1, f);
        fwrite(&bmi.bmiHeader, sizeof(bmi.bmiHeader), 1, f);
        fwrite(bits, 1, stride * (size_t)cy, f);
        ok = fclose(f) == 0;
    }
    SelectObject(hMem, old);
    DeleteObject(hBitmap);
    DeleteDC(hMem);
    ReleaseDC(hWnd, hWindow);
    return ok;
}

TEST(EditorRuler, FollowsScrollingAndIsDrawnInTheFrame)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost(620, 380));
    CMFCScintilla editor;
    CRect rc(0, 0, 580, 320);
    ASSERT_TRUE(editor.Create(CMFCScintilla::kWindowClass, "Editor", WS_CHILD | WS_VISIBLE, rc, &host, IDC_EDITOR));
    editor.SetDefaultLook();
    std::string text;
    for (int i = 1; i <= 200; ++i) {
        char line[64];
        snprintf(line, sizeof(line), "line %d ", i);
        text += line + std::string(120, i % 2 ? 'x' : '-') + "\n";
    }
    editor.Call(SCI_SETTEXT, 0, (sptr_t)text.c_str());
    editor.Call(SCI_SETSCROLLWIDTH, 2000);
    scitest::PumpFor(100);

    // Both strips are in the frame: the client starts 20 pixels in.
    RECT client = ClientInWindow(editor.m_hWnd);
    EXPECT_EQ(client.left, 20);
    EXPECT_EQ(client.top, 20);
    CRulerHook& ruler = editor.GetRuler();
    EXPECT_EQ(ruler.GetHorizontalBar().GetOffset(), 0);

    editor.Call(SCI_SETXOFFSET, 250);
    editor.Call(SCI_LINESCROLL, 0, 10);
    ASSERT_TRUE(scitest::PumpUntil([&] { return ruler.GetHorizontalBar().GetOffset() == 250; }, 3000));
    const int lineHeight = (int)editor.Call(SCI_TEXTHEIGHT, 0);
    EXPECT_TRUE(scitest::PumpUntil([&] { return ruler.GetVerticalBar().GetOffset() == 10 * lineHeight; }, 3000));

    // The corner is painted in the frame.
    RedrawWindow(editor.m_hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    HDC hdc = GetWindowDC(editor.m_hWnd);
    EXPECT_EQ(GetPixel(hdc, 5, 5), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetPixel(hdc, 100, 0), GetSysColor(COLOR_BTNSHADOW)); // the bar's sunken edge
    // The bookmark margin shows its own background, the separator after it
    // its light grey.
    EXPECT_EQ(GetPixel(hdc, client.left + 4, client.top + 40), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetPixel(hdc, client.left + 16, client.top + 40), RGB(0xC0, 0xC0, 0xC0));
    ReleaseDC(editor.m_hWnd, hdc);
    // Kept beside the test programs for a look by eye.
    EXPECT_TRUE(SaveWindowShot(editor.m_hWnd, (scitest::TestsFolder() + "\\sci-editor-ruler.bmp").c_str()));

    // Scrolling back by the user's means (a scroll message) is followed too.
    SendMessageA(editor.m_hWnd, WM_HSCROLL, SB_LEFT, 0);
    EXPECT_TRUE(scitest::PumpUntil([&] { return ruler.GetHorizontalBar().GetOffset() == 0; }, 3000));

    editor.ShowRuler(FALSE);
    client = ClientInWindow(editor.m_hWnd);
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.top, 0);
    editor.ShowRuler(TRUE);
    EXPECT_EQ(ClientInWindow(editor.m_hWnd).left, 20);
    editor.DestroyWindow();
    host.DestroyWindow();
}

} // namespace
