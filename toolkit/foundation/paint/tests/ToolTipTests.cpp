// The tooltip context on real windows: delays with an injected clock,
// clicks and held buttons, titles, record sizes, placement, callbacks and
// the standard control's title rule.
#include "DialogTestSupport.h"
#include "PaintTestSupport.h"

#include <qx/colors.h>
#include <qx/richtexthost.h>
#include <qx/sysutil.h>
#include <qx/themeres.h>
#include <qx/tooltips.h>

#include <qmtest/screenshot.h>

#include <algorithm>
#include <functional>

using namespace dlgtest;

namespace {

DWORD g_now = 10000;
DWORD AFXAPI FakeNow() { return g_now; }
BOOL AFXAPI AlwaysActive(HWND) { return TRUE; }
BOOL AFXAPI NeverActive(HWND) { return FALSE; }

struct ToolDef {
    CRect rc;
    INT_PTR id;
    const char* text;
    const char* title;
};

// A top-level window whose tools come from the test.
class OwnerWnd : public CWnd {
public:
    std::vector<ToolDef> tools;
    mutable UINT nLastRecordSize = 0;
    mutable LPARAM lLastExtra = 0;
    CString strCallbackText = "Callback &Text";

    BOOL Open()
    {
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
        if (!CreateEx(0, cls, "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 420, 200, NULL, NULL))
            return FALSE;
        EnableToolTips(TRUE);
        return TRUE;
    }
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override
    {
        nLastRecordSize = pTI ? pTI->cbSize : 0;
        lLastExtra = pTI ? pTI->lParam : 0;
        for (const ToolDef& t : tools)
            if (t.rc.PtInRect(point))
                return FillToolHitInfoEx(pTI, m_hWnd, t.rc, t.id, t.text, t.title);
        return -1;
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        NMHDR* p = (NMHDR*)lParam;
        if (p->code == TTN_NEEDTEXTA) {
            ((NMTTDISPINFOA*)p)->lpszText = (LPSTR)strCallbackText.GetString();
            *pResult = 0;
            return TRUE;
        }
        return CWnd::OnNotify(wParam, lParam, pResult);
    }
};

// The toolkit's window, recording the messages it gets.
class SpyTip : public CQXPToolTipContextToolTip {
public:
    using CQXPToolTipContextToolTip::CQXPToolTipContextToolTip;
    std::vector<std::pair<UINT, LPARAM>> log;
    std::vector<CString> titles;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER && message < WM_USER + 0x100) {
            log.push_back({message, lParam});
            if (message == TTM_SETTITLEA)
                titles.push_back(lParam ? (LPCSTR)lParam : "<none>");
        }
        return CQXPToolTipContextToolTip::WindowProc(message, wParam, lParam);
    }
    int Count(UINT message) const
    {
        return (int)std::count_if(log.begin(), log.end(), [&](const std::pair<UINT, LPARAM>& e) { return e.first == message; });
    }
};

// The standard control, recording the messages it gets.
class SpyStandard : public CWnd {
public:
    std::vector<UINT> log;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER && message < WM_USER + 0x100)
            log.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class SpyContext : public CQXPToolTipContext {
public:
    CWnd* CreateToolTipWindow(CWnd* pParent) override
    {
        if (m_nStyle >= 2)
            return new SpyTip(this, m_nStyle);
        return new SpyStandard;
        (void)pParent;
    }
    SpyTip* Tip() const { return dynamic_cast<SpyTip*>(m_pToolTip); }
};

struct ToolTipTest : ::testing::Test {
    OwnerWnd owner;
    SpyContext ctx;

    void SetUp() override
    {
        CQXPToolTipContextToolTip::s_pfnTickCount = FakeNow;
        CQXPToolTipContext::s_pfnIsOwnerActive = AlwaysActive;
        g_now = 10000;
        ASSERT_TRUE(owner.Open());
        owner.tools = {{CRect(0, 0, 50, 30), 1, "&Open", "Open a file"}, {CRect(60, 0, 110, 30), 2, "Save", "Save"}};
        ctx.SetStyle(2);
        PumpMessages();
    }
    void TearDown() override
    {
        ctx.DestroyToolTip();
        owner.DestroyWindow();
        PumpMessages();
        CQXPToolTipContextToolTip::s_pfnTickCount = NULL;
    }
    void Move(int x, int y, UINT message = WM_MOUSEMOVE)
    {
        ctx.FilterMessage(&owner, message, 0, MAKELPARAM(x, y));
    }
    void FireTimer()
    {
        ASSERT_NE(nullptr, ctx.Tip());
        ctx.Tip()->SendMessage(WM_TIMER, 1, 0);
    }
    bool Shown() const { return ctx.Tip() && ctx.Tip()->IsWindowVisible(); }
    INT_PTR ShownId() const { return ctx.Tip() ? (INT_PTR)ctx.Tip()->m_toolShown.nID : -1; }
};

TEST_F(ToolTipTest, TipsWaitTheInitialDelayThenFollowAtOnceWithinTheReshowWindow)
{
    Move(10, 10);
    ASSERT_NE(nullptr, ctx.Tip()) << "the window is created on the first move over a tool";
    EXPECT_FALSE(Shown());
    EXPECT_EQ(1, (INT_PTR)ctx.Tip()->m_toolPending.nID);
    EXPECT_EQ(500u, ctx.Tip()->m_nLastTimerElapse);

    g_now += 500;
    FireTimer();
    EXPECT_TRUE(Shown());
    EXPECT_EQ(1, ShownId());
    EXPECT_STREQ("&Open", ctx.Tip()->GetToolText(ctx.Tip()->m_toolShown).GetString())
        << "the default style bits hold TTS_NOPREFIX: markers stay";

    // Moving on within 200 ms of the last change shows the next tip at once.
    g_now += 100;
    Move(70, 10);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(2, ShownId());

    // Off every tool the tip goes at once.
    g_now += 50;
    Move(300, 100);
    EXPECT_FALSE(Shown());

    // After a pause the next tip waits again.
    g_now += 1000;
    Move(10, 10);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(1, (INT_PTR)ctx.Tip()->m_toolPending.nID);
    // Leaving the pending tool drops it: the timer shows nothing.
    Move(300, 100);
    EXPECT_FALSE(ctx.Tip()->IsTool(ctx.Tip()->m_toolPending));
    FireTimer();
    EXPECT_FALSE(Shown());
}

TEST_F(ToolTipTest, TheRealTimerShowsThePendingTip)
{
    CQXPToolTipContextToolTip::s_pfnTickCount = NULL;
    Move(10, 10);
    ASSERT_NE(nullptr, ctx.Tip());
    EXPECT_FALSE(Shown());
    DWORD dwStart = ::GetTickCount();
    while (!Shown() && ::GetTickCount() - dwStart < 3000) {
        PumpMessages();
        ::Sleep(10);
    }
    EXPECT_TRUE(Shown());
    EXPECT_GE(::GetTickCount() - dwStart, 400u) << "not before the initial delay";
}

TEST_F(ToolTipTest, ConfiguredDelaysReachTheWindow)
{
    ctx.SetDelayTime(800, 50);
    Move(10, 10);
    ASSERT_NE(nullptr, ctx.Tip());
    EXPECT_EQ(800u, ctx.Tip()->m_nLastTimerElapse);
    EXPECT_EQ(50, ctx.Tip()->m_nReshowDelay);
    g_now += 800;
    FireTimer();
    EXPECT_TRUE(Shown());
    g_now += 60; // beyond the 50 ms reshow window
    Move(70, 10);
    EXPECT_FALSE(Shown()) << "the previous tool is removed with its tip";
    EXPECT_EQ(2, (INT_PTR)ctx.Tip()->m_toolPending.nID) << "the next tool waits for its own delay";
    g_now += 800;
    FireTimer();
    EXPECT_EQ(2, ShownId());
}

TEST_F(ToolTipTest, MovingWithAButtonHeldShowsNoTip)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    BYTE old = keys[VK_LBUTTON];
    keys[VK_LBUTTON] = 0x80;
    ::SetKeyboardState(keys);
    Move(10, 10);
    keys[VK_LBUTTON] = old;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(ctx.Tip() == nullptr || !ctx.Tip()->IsTool(ctx.Tip()->m_toolPending));
    EXPECT_FALSE(Shown());
}

TEST_F(ToolTipTest, AClickHidesTheTipWhileThePointerStaysOnTheTool)
{
    Move(10, 10);
    g_now += 500;
    FireTimer();
    ASSERT_TRUE(Shown());
    Move(12, 12, WM_LBUTTONDOWN);
    EXPECT_FALSE(Shown());
    Move(12, 12, WM_LBUTTONUP);
    g_now += 1000;
    Move(14, 14);
    Move(16, 16);
    EXPECT_FALSE(Shown());
    EXPECT_FALSE(ctx.Tip()->IsTool(ctx.Tip()->m_toolPending)) << "no tip waits for the clicked tool";
    // Another tool still gets its tip.
    Move(70, 10);
    EXPECT_EQ(2, (INT_PTR)ctx.Tip()->m_toolPending.nID);
}

TEST_F(ToolTipTest, TitlesAreSetOnceAndNotRepeatedAsText)
{
    ctx.ShowTitleAndDescription(TRUE);
    Move(10, 10);
    ASSERT_NE(nullptr, ctx.Tip());
    ASSERT_FALSE(ctx.Tip()->titles.empty());
    EXPECT_STREQ("Open a file", ctx.Tip()->titles.back().GetString());
    EXPECT_EQ(1, ctx.Tip()->Count(TTM_UPDATETIPTEXTA));
    Move(70, 10); // title "Save" equals the text "Save"
    EXPECT_STREQ("<none>", ctx.Tip()->titles.back().GetString());
    EXPECT_EQ(1, ctx.Tip()->Count(TTM_UPDATETIPTEXTA));
    EXPECT_EQ(1, ctx.Tip()->Count(TTM_DELTOOLA)) << "the previous tool is removed";
}

TEST_F(ToolTipTest, RecordSizesComeFromTheStructure)
{
    Move(10, 10);
    EXPECT_EQ((UINT)TTTOOLINFOA_V1_SIZE, owner.nLastRecordSize);
    EXPECT_EQ(0, owner.lLastExtra);
    ctx.ShowImage(TRUE);
    Move(70, 10);
    EXPECT_EQ((UINT)TTTOOLINFOA_V2_SIZE, owner.nLastRecordSize);
    EXPECT_NE(0, owner.lLastExtra);
    EXPECT_LE((size_t)TTTOOLINFOA_V2_SIZE, sizeof(TOOLINFOA));

    // Records too small for their fields are left alone; the extended part
    // needs a record that covers lParam.
    CQXPToolInfoExtra extra;
    TOOLINFOA ti;
    ZeroMemory(&ti, sizeof(ti));
    ti.cbSize = TTTOOLINFOA_V1_SIZE - 1;
    EXPECT_EQ(7, FillToolHitInfo(&ti, owner.GetSafeHwnd(), CRect(1, 2, 3, 4), 7, "x"));
    EXPECT_EQ(nullptr, ti.hwnd);
    EXPECT_EQ(nullptr, ti.lpszText);
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.lParam = (LPARAM)&extra;
    FillToolHitInfoEx(&ti, owner.GetSafeHwnd(), CRect(1, 2, 3, 4), 7, "x", "Title");
    EXPECT_EQ(owner.GetSafeHwnd(), ti.hwnd);
    EXPECT_STREQ("x", ti.lpszText);
    EXPECT_TRUE(extra.strTitle.IsEmpty()) << "no extended part in a short record";
    free(ti.lpszText);
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    FillToolHitInfoEx(&ti, owner.GetSafeHwnd(), CRect(1, 2, 3, 4), 7, LPSTR_TEXTCALLBACKA, "Title");
    EXPECT_STREQ("Title", extra.strTitle.GetString());
    EXPECT_EQ(LPSTR_TEXTCALLBACKA, ti.lpszText);
}

TEST_F(ToolTipTest, CallbackTextsAreAskedFromTheToolWindow)
{
    owner.tools = {{CRect(0, 0, 50, 30), 5, LPSTR_TEXTCALLBACKA, NULL}};
    Move(10, 10);
    g_now += 500;
    FireTimer();
    ASSERT_TRUE(Shown());
    EXPECT_STREQ("Callback &Text", ctx.Tip()->GetToolText(ctx.Tip()->m_toolShown).GetString());
    CWnd* pBefore = ctx.GetToolTip();
    ctx.ModifyToolTipStyle(0, TTS_NOPREFIX);
    EXPECT_EQ(pBefore, ctx.GetToolTip()) << "an unchanged style keeps the window";
    ctx.ModifyToolTipStyle(TTS_NOPREFIX, 0);
    EXPECT_EQ(nullptr, ctx.Tip()) << "a style change drops the window";
    Move(12, 12);
    g_now += 500;
    FireTimer();
    ASSERT_TRUE(Shown());
    EXPECT_STREQ("Callback Text", ctx.Tip()->GetToolText(ctx.Tip()->m_toolShown).GetString());
    // Texts from the hit test lose their markers in the context.
    owner.tools = {{CRect(60, 0, 110, 30), 6, "S&ave", NULL}};
    g_now += 100;
    Move(70, 10);
    EXPECT_STREQ("Save", ctx.Tip()->GetToolText(ctx.Tip()->m_toolShown).GetString());
}

TEST_F(ToolTipTest, TipsStayOnTheWorkAreaAndSitUnderAnExtraRectangle)
{
    ctx.SetStyle(2);
    Move(10, 10);
    SpyTip* tip = ctx.Tip();
    ASSERT_NE(nullptr, tip);
    CRect rcWork = GetMultiMonitorHelper()->GetWorkAreaFromPoint(CPoint(200, 200));
    // A tool with an extra rectangle: the tip at the tool's left, under the
    // extra rectangle's bottom.
    CQXPToolTipContextToolTip::Tool t;
    t.hWnd = owner.GetSafeHwnd();
    t.nID = 9;
    t.strText = "Placed";
    t.rect = CRect(30, 5, 80, 25);
    t.rcExtra = CRect(0, 0, 200, 40);
    tip->m_ptLast = CPoint(200, 200);
    tip->ShowTool(t);
    CRect rc;
    tip->GetWindowRect(&rc);
    CPoint expected(30, 40);
    owner.ClientToScreen(&expected);
    EXPECT_EQ(expected.x, rc.left);
    EXPECT_EQ(expected.y, rc.top);
    // At the cursor near the right and bottom edges: moved inside.
    CQXPToolTipContextToolTip::Tool u;
    u.hWnd = owner.GetSafeHwnd();
    u.nID = 10;
    u.strText = "A tip near the corner of the work area";
    tip->m_ptLast = CPoint(rcWork.right - 5, rcWork.bottom - 5);
    tip->ShowTool(u);
    tip->GetWindowRect(&rc);
    EXPECT_LE(rc.right, rcWork.right - 4);
    EXPECT_EQ(rcWork.bottom - 5 - 3, rc.bottom) << "above the cursor, 3 pixels clear";
    tip->HideTool();
}

TEST_F(ToolTipTest, MeasuringAddsMarginsTitleAndIcon)
{
    Move(10, 10);
    SpyTip* tip = ctx.Tip();
    ASSERT_NE(nullptr, tip);
    CClientDC dc(tip);
    EXPECT_EQ(CSize(0, 0), tip->CalcSize(&dc, ""));
    CSize plain = tip->CalcSize(&dc, "Hello");
    HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), ctx.m_fntToolTip.GetSafeHandle());
    CRect rcText(0, 0, 1000, 0);
    dc.DrawText("Hello", rcText, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
    ::SelectObject(dc.GetSafeHdc(), hOld);
    EXPECT_EQ(CSize(rcText.Width() + 6, rcText.Height() + 6), plain);
    tip->m_rcMargin = CRect(2, 3, 4, 5);
    EXPECT_EQ(CSize(plain.cx + 6, plain.cy + 8), tip->CalcSize(&dc, "Hello"));
    tip->m_rcMargin = CRect(0, 0, 0, 0);
    tip->m_strTitle = "T";
    CSize titled = tip->CalcSize(&dc, "Hello");
    EXPECT_GE(titled.cx, plain.cx + 25);
    EXPECT_GT(titled.cy, plain.cy + 20);
}

TEST_F(ToolTipTest, StyleFiveTakesTheOffice2007GradientAndBorder)
{
    ctx.DestroyToolTip();
    ctx.SetStyle(5);
    Move(10, 10);
    ASSERT_NE(nullptr, ctx.Tip());
    g_now += 500;
    FireTimer();
    ASSERT_TRUE(Shown());
    ThemeResources* pTheme = GetThemeResources();
    const COLORREF clrBorder = pTheme->GetColor("Window", "TooltipBorder");
    const COLORREF clrLight = pTheme->GetColor("Window", "TooltipLight");
    const COLORREF clrDark = pTheme->GetColor("Window", "TooltipDark");
    ASSERT_NE(QX_COLOR_NONE, clrBorder);
    CQXPToolTipContextToolTip* pTip = ctx.Tip();
    CRect rc;
    pTip->GetClientRect(&rc);
    pTip->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    CClientDC dc(pTip);
    EXPECT_EQ(clrBorder, dc.GetPixel(0, rc.Height() / 2));
    EXPECT_EQ(clrBorder, dc.GetPixel(rc.right - 2, rc.bottom - 1));
    // The window's four corner pixels are cut; the border's next pixels stay.
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(COMPLEXREGION, ::GetWindowRgn(pTip->GetSafeHwnd(), hRgn));
    struct Probe {
        CPoint pt;
        bool bInside;
    };
    const Probe probes[] = {{{0, 0}, false},
                            {{rc.right - 1, 0}, false},
                            {{0, rc.bottom - 1}, false},
                            {{rc.right - 1, rc.bottom - 1}, false},
                            {{1, 0}, true},
                            {{0, 1}, true},
                            {{rc.right - 2, rc.bottom - 1}, true},
                            {{rc.right - 1, rc.bottom - 2}, true},
                            {{rc.right / 2, rc.bottom / 2}, true}};
    for (const Probe& p : probes)
        EXPECT_EQ(p.bInside, ::PtInRegion(hRgn, p.pt.x, p.pt.y) != FALSE) << p.pt.x << "," << p.pt.y;
    CRect rcBox;
    ::GetRgnBox(hRgn, &rcBox);
    EXPECT_EQ(rc, rcBox) << "the region spans the whole window";
    ::DeleteObject(hRgn);
    // Light at the top, dark at the bottom, on the right-hand side where
    // no text is.
    COLORREF clrTop = dc.GetPixel(rc.right - 2, 1), clrBottom = dc.GetPixel(rc.right - 2, rc.bottom - 2);
    EXPECT_NEAR(GetBValue(clrLight), GetBValue(clrTop), 8);
    EXPECT_NEAR(GetGValue(clrDark), GetGValue(clrBottom), 8);
    PumpMessages();
    ::Sleep(200);
    PumpMessages();
    CRect rcTip;
    pTip->GetWindowRect(&rcTip);
    std::string path = qmtest::ScreenshotDir(QM_BIN_DIR) + "/tooltip-style5.png";
    EXPECT_TRUE(qmtest::SaveScreenPng(rcTip, path));
    printf("screenshot: %s\n", path.c_str());
    // Style 2 keeps the info colours.
    ctx.DestroyToolTip();
    ctx.SetStyle(2);
    Move(300, 100);
    g_now += 1000;
    Move(10, 10);
    g_now += 500;
    FireTimer();
    ASSERT_TRUE(Shown());
    ctx.Tip()->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    CClientDC dc2(ctx.Tip());
    EXPECT_EQ(::GetSysColor(COLOR_INFOBK), dc2.GetPixel(rc.right - 2, 1));
    // ... in a square window.
    HRGN hSquare = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(ERROR, ::GetWindowRgn(ctx.Tip()->GetSafeHwnd(), hSquare));
    ::DeleteObject(hSquare);
}

TEST_F(ToolTipTest, AnInactiveOwnerPutsTheTipAway)
{
    Move(10, 10);
    g_now += 500;
    FireTimer();
    ASSERT_TRUE(Shown());
    CQXPToolTipContext::s_pfnIsOwnerActive = NeverActive;
    Move(11, 11);
    EXPECT_FALSE(Shown());
    EXPECT_FALSE(ctx.Tip()->m_bActive);
    CQXPToolTipContext::s_pfnIsOwnerActive = AlwaysActive;
}

TEST_F(ToolTipTest, MessagesFromAnotherTooltipWindowAreIgnored)
{
    CWnd child;
    ASSERT_TRUE(child.Create(AfxRegisterWndClass(0), "", WS_VISIBLE, CRect(200, 50, 300, 150), &owner, 300));
    child.EnableToolTips(TRUE);
    MSG msg;
    ZeroMemory(&msg, sizeof(msg));
    msg.hwnd = child.GetSafeHwnd();
    msg.message = WM_MOUSEMOVE;
    msg.pt = CPoint(10, 10);
    owner.ClientToScreen(&msg.pt);
    ctx.FilterMessage(&owner, &msg, FALSE);
    EXPECT_EQ(nullptr, ctx.Tip()) << "the child has tooltips of its own";
    child.EnableToolTips(FALSE);
    ctx.FilterMessage(&owner, &msg, FALSE);
    EXPECT_NE(nullptr, ctx.Tip());
    child.DestroyWindow();
}

TEST_F(ToolTipTest, WindowFromPointUsesTheParentOfChildrenThatAskForIt)
{
    class AskParent : public CWnd {
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == QXP_TTM_ISPARENTTOOL)
                return 1;
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } child;
    ASSERT_TRUE(child.Create(AfxRegisterWndClass(0), "", WS_VISIBLE, CRect(200, 50, 300, 150), &owner, 301));
    Move(10, 10);
    ASSERT_NE(nullptr, ctx.Tip());
    POINT pt = {250, 100};
    owner.ClientToScreen(&pt);
    ::SetWindowPos(owner.GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpMessages();
    HWND h = (HWND)ctx.Tip()->SendMessage(TTM_WINDOWFROMPOINT, 0, (LPARAM)&pt);
    EXPECT_EQ(owner.GetSafeHwnd(), h);
    ::SetWindowPos(owner.GetSafeHwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    child.DestroyWindow();
}

TEST_F(ToolTipTest, OldCommonControlsGetNoTitleOnTheStandardTooltip)
{
    struct Row {
        DWORD dwVersion;
        int nStyle;
        bool bTitle;
    };
    const Row rows[] = {{0x0005004F, 0, false}, {0x00050050, 0, true}, {0x00060000, 0, true}, {0x0005004F, 1, true}};
    for (const Row& r : rows) {
        SpyContext c;
        c.SetStyle(r.nStyle);
        c.m_dwComCtlVersion = r.dwVersion;
        c.ShowTitleAndDescription(TRUE);
        c.FilterMessage(&owner, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        SpyStandard* spy = dynamic_cast<SpyStandard*>(c.GetToolTip());
        ASSERT_NE(nullptr, spy);
        char cls[64] = {0};
        ::GetClassNameA(spy->GetSafeHwnd(), cls, sizeof(cls));
        EXPECT_STREQ(TOOLTIPS_CLASSA, cls);
        bool bTitle = std::find(spy->log.begin(), spy->log.end(), (UINT)TTM_SETTITLEA) != spy->log.end();
        EXPECT_EQ(r.bTitle, bTitle) << std::hex << r.dwVersion << " style " << r.nStyle;
        if (r.nStyle == 1) {
            EXPECT_TRUE(spy->GetStyle() & TTS_BALLOON);
        }
        EXPECT_TRUE(spy->GetStyle() & TTS_NOPREFIX);
        c.DestroyToolTip();
    }
}

// ---------------------------------------------------------------------------
// Rich text: the windowless host over the rich-edit engine, and the
// tooltip window of style 3 on it.

const char kBoldRtf[] = "{\\rtf1\\ansi {\\b Bold} text}";

// A white picture to draw into; how much of it is no longer white.
struct MemoryCanvas : painttest::MemoryDC {
    MemoryCanvas() : painttest::MemoryDC(400, 200) {}
    HDC GetHdc() { return dc()->GetSafeHdc(); }
    int InkedPixels() { return 400 * 200 - Count(CRect(0, 0, 400, 200), RGB(255, 255, 255)); }
};

TEST(RichTextHost, StreamsRtfElsePlainTextAndCountsTheCharacters)
{
    RichTextHost host;
    ASSERT_TRUE(host.IsAvailable()) << "the engine serves windowless text services";
    const struct {
        const char* text;
        int nRead;
    } cases[] = {
        {kBoldRtf, 9},       // "Bold text": only the plain characters
        {"Plain words", 11}, // not RTF: read again as text
        {"", 0},
        {NULL, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nRead, host.SetText(c.text)) << (c.text ? c.text : "(null)");
}

TEST(RichTextHost, TheIdealSizeShrinksShortTextAndKeepsTheLinesOfLongText)
{
    RichTextHost host;
    ASSERT_TRUE(host.IsAvailable());
    MemoryCanvas canvas;
    host.SetText("Hi");
    SIZE szShort = host.GetIdealSize(canvas.GetHdc(), 300);
    EXPECT_GT(szShort.cx, 0);
    EXPECT_LT(szShort.cx, 60) << "no wider than the word";
    EXPECT_GT(szShort.cy, 0);

    host.SetText("A longer tip that wraps over several lines when the width is small enough");
    SIZE szWide = host.GetIdealSize(canvas.GetHdc(), 2000);
    SIZE szNarrow = host.GetIdealSize(canvas.GetHdc(), 150);
    EXPECT_EQ(szShort.cy, szWide.cy) << "one line when there is room";
    EXPECT_LE(szNarrow.cx, 150);
    EXPECT_GT(szNarrow.cy, 2 * szWide.cy) << "wrapped at 150";
    // The narrowest width that keeps those lines measures the same again.
    SIZE szAgain = host.GetIdealSize(canvas.GetHdc(), szNarrow.cx);
    EXPECT_EQ(szNarrow.cy, szAgain.cy);
    EXPECT_LE(szAgain.cx, szNarrow.cx);

    RECT rc = {0, 0, szNarrow.cx, szNarrow.cy};
    host.Draw(canvas.GetHdc(), rc);
    EXPECT_GT(canvas.InkedPixels(), 50) << "the text is drawn";
}

TEST(RichTextHost, TheDefaultFormatReachesTheEngine)
{
    RichTextHost host;
    ASSERT_TRUE(host.IsAvailable());
    MemoryCanvas canvas;
    host.SetText("Some plain words");
    SIZE szRegular = host.GetIdealSize(canvas.GetHdc(), 1000);
    CHARFORMATW cf = host.GetDefaultCharFormat();
    cf.dwEffects |= CFE_BOLD;
    cf.yHeight *= 2;
    host.SetDefaultCharFormat(&cf);
    EXPECT_TRUE(host.GetDefaultCharFormat().dwEffects & CFE_BOLD);
    host.SetText("Some plain words");
    SIZE szBig = host.GetIdealSize(canvas.GetHdc(), 1000);
    EXPECT_GT(szBig.cx, szRegular.cx);
    EXPECT_GT(szBig.cy, szRegular.cy);
    host.SetDefaultCharFormat(NULL); // ignored
    EXPECT_TRUE(host.GetDefaultCharFormat().dwEffects & CFE_BOLD);
}

TEST(RichTextHost, WithoutTheEngineEveryCallIsInert)
{
    RichTextHost host("qm-no-such-engine.dll");
    EXPECT_FALSE(host.IsAvailable());
    MemoryCanvas canvas;
    EXPECT_EQ(0, host.SetText(kBoldRtf));
    SIZE sz = host.GetIdealSize(canvas.GetHdc(), 200);
    EXPECT_EQ(0, sz.cx);
    EXPECT_EQ(0, sz.cy);
    RECT rc = {0, 0, 400, 200};
    host.Draw(canvas.GetHdc(), rc);
    EXPECT_EQ(0, canvas.InkedPixels());
    host.SetDefaultCharFormat(NULL);
}

TEST(RichTextHost, TheDefaultFormatIsTheMessageFontWithinItsField)
{
    RichTextHost host;
    const CHARFORMATW& cf = host.GetDefaultCharFormat();
    EXPECT_EQ(sizeof(CHARFORMATW), (size_t)cf.cbSize);
    EXPECT_EQ((DWORD)0xE800000F, cf.dwMask);
    EXPECT_EQ(::GetSysColor(COLOR_BTNTEXT), cf.crTextColor);
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
    // The face ends inside the 32 characters of the field.
    const size_t nField = sizeof(cf.szFaceName) / sizeof(cf.szFaceName[0]);
    size_t nFace = wcsnlen(cf.szFaceName, nField);
    ASSERT_LT(nFace, nField);
    EXPECT_EQ(std::string(ncm.lfMessageFont.lfFaceName), std::string(CString(cf.szFaceName).GetString()));
    EXPECT_GT(cf.yHeight, 0);
}

TEST_F(ToolTipTest, StyleThreeShowsRtfAsRichText)
{
    // The real context of style 3 makes the rich window.
    CQXPToolTipContext rich;
    rich.SetStyle(3);
    owner.tools = {{CRect(0, 0, 120, 30), 1, kBoldRtf, NULL}};
    rich.FilterMessage(&owner, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    CQXPToolTipRichText* pTip = dynamic_cast<CQXPToolTipRichText*>(rich.GetToolTip());
    ASSERT_NE(nullptr, pTip);
    ASSERT_TRUE(pTip->m_host.IsAvailable());
    g_now += 500;
    pTip->SendMessage(WM_TIMER, 1, 0);
    ASSERT_TRUE(pTip->IsWindowVisible());

    // Bold from the RTF: wider than the same words in plain text, which
    // is as wide as the host measures it.
    CClientDC dc(pTip);
    CSize szBold = pTip->CalcSize(&dc, kBoldRtf);
    CSize szPlain = pTip->CalcSize(&dc, "Bold text");
    EXPECT_GT(szBold.cx, szPlain.cx);
    EXPECT_EQ(szBold.cy, szPlain.cy);
    EXPECT_EQ(CSize(0, 0), pTip->CalcSize(&dc, ""));
    CRect rcTip;
    pTip->GetWindowRect(&rcTip);
    EXPECT_EQ(szBold, rcTip.Size());

    pTip->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    std::string path = qmtest::ScreenshotDir(QM_BIN_DIR) + "/tooltip-style3.png";
    EXPECT_TRUE(qmtest::SaveScreenPng(rcTip, path));
    rich.DestroyToolTip();
}

} // namespace
