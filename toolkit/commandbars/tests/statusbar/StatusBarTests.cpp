// The status bar on real windows under Wine: the editor's seven indicators
// and how the width is split between the panes (read back from the control
// after the frame is resized), texts that reach the control once, the text
// query, command-UI updates from the frame, button panes, and a picture of
// the bar in each of the five themes.
#include <qx/commandbars.h>
#include <qx/paintmanager.h>
#include <qx/statusbar.h>
#include <qx/themes.h>

#include <fx/frame.h>

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "sbtest_ids.h"

namespace {

// The editor's indicators, in its order.
const UINT kEditorIndicators[] = {0, ID_SB_LINECOL, ID_SB_INS, ID_SB_CAPS, ID_SB_NUM, ID_SB_SCRL, ID_SB_PROGRESS};
const DWORD kEditorStyle = 0x50008200; // WS_CHILD | WS_VISIBLE | CBRS_BOTTOM

// A status bar that counts what reaches the control.
class CCountingStatusBar : public CQXPStatusBar {
public:
    int m_nSetText = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SB_SETTEXTA)
            m_nSetText++;
        return CQXPStatusBar::WindowProc(message, wParam, lParam);
    }
};

class CStatusFrame : public CFrameWnd {
public:
    CCountingStatusBar m_wndStatusBar;
    CString m_strLineCol = "Ln 1 Col 1";
    std::vector<UINT> m_commands;
    void PostNcDestroy() override {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && lParam == 0)
            m_commands.push_back(LOWORD(wParam));
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
    afx_msg void OnUpdateLineCol(CCmdUI* pCmdUI) { pCmdUI->SetText(m_strLineCol); }
    afx_msg void OnUpdateNum(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_nNumCheck); }
    DECLARE_MESSAGE_MAP()

public:
    int m_nNumCheck = 0;
};

BEGIN_MESSAGE_MAP(CStatusFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(ID_SB_LINECOL, OnUpdateLineCol)
    ON_UPDATE_COMMAND_UI(ID_SB_NUM, OnUpdateNum)
END_MESSAGE_MAP()

std::string Str(const RECT& rc)
{
    char buf[64];
    snprintf(buf, sizeof(buf), "(%ld, %ld, %ld, %ld)", rc.left, rc.top, rc.right, rc.bottom);
    return buf;
}

std::vector<int> Parts(const CQXPStatusBar& bar)
{
    int n = (int)::SendMessageA(bar.m_hWnd, SB_GETPARTS, 0, 0);
    std::vector<int> edges((size_t)(n > 0 ? n : 0));
    if (n > 0)
        ::SendMessageA(bar.m_hWnd, SB_GETPARTS, (WPARAM)n, (LPARAM)edges.data());
    return edges;
}

std::string ControlText(const CQXPStatusBar& bar, int nPart)
{
    char buf[256] = {0};
    ::SendMessageA(bar.m_hWnd, SB_GETTEXTA, (WPARAM)nPart, (LPARAM)buf);
    return buf;
}

int TextWidth(CQXPStatusBar& bar, const char* text)
{
    HDC hdc = ::GetDC(NULL);
    HGDIOBJ old = ::SelectObject(hdc, bar.GetBarFont()->GetSafeHandle());
    SIZE sz = {0, 0};
    ::GetTextExtentPoint32A(hdc, text, (int)strlen(text), &sz);
    ::SelectObject(hdc, old);
    ::ReleaseDC(NULL, hdc);
    return sz.cx;
}

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// The editor's main frame in miniature: a sizable frame with the status bar
// of the editor's indicators, pane 131 150 pixels wide and borderless.
class EditorStatusBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_frame.Create(NULL, "Status bar test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 1000, 300)));
        CQXPStatusBar& bar = m_frame.m_wndStatusBar;
        ASSERT_TRUE(bar.Create(&m_frame, kEditorStyle, AFX_IDW_STATUS_BAR));
        ASSERT_TRUE(bar.SetIndicators(kEditorIndicators, 7));
        bar.SetPaneWidth(6, 150);
        bar.SetPaneStyle(6, bar.GetPaneStyle(6) | SBPS_NOBORDERS);
        m_frame.RecalcLayout();
    }
    void TearDown() override { m_frame.DestroyWindow(); }

    CStatusFrame m_frame;
};

TEST_F(EditorStatusBar, SevenPanesAndTheMessagePaneTakesTheSpareWidth)
{
    CQXPStatusBar& bar = m_frame.m_wndStatusBar;
    ASSERT_EQ(7, bar.GetPaneCount());
    EXPECT_EQ(6, bar.CommandToIndex(ID_SB_PROGRESS));
    EXPECT_EQ(-1, bar.CommandToIndex(12345));
    EXPECT_EQ((UINT)(SBPS_STRETCH | SBPS_NOBORDERS), bar.GetPaneStyle(0));
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN) / 4, bar.GetPaneWidth(0));
    EXPECT_EQ(TextWidth(bar, "INS") + 4, bar.GetPaneWidth(2)) << "text width plus the margins";
    EXPECT_EQ(TextWidth(bar, "SCRL") + 4, bar.GetPaneWidth(5));
    EXPECT_EQ(150, bar.GetPaneWidth(6));
    // An icon widens the text area by its width and a gap.
    bar.GetPane(3)->SetIconId(ID_SB_CAPS);
    bar.SetPaneWidth(3, 0);
    EXPECT_EQ(TextWidth(bar, "CAP") + 4 + ::GetSystemMetrics(SM_CXSMICON) + 2, bar.GetPaneWidth(3));
    bar.GetPane(3)->SetIconId(-1);
    bar.SetPaneWidth(3, 0);
    EXPECT_EQ(TextWidth(bar, "CAP") + 4, bar.GetPaneWidth(3));
    EXPECT_EQ("INS", ControlText(bar, 2));
    EXPECT_EQ("", ControlText(bar, 0));

    // The bar lies along the bottom of the frame's client area.
    CRect rcClient, rcBar;
    m_frame.GetClientRect(&rcClient);
    bar.GetWindowRect(&rcBar);
    m_frame.ScreenToClient(&rcBar);
    EXPECT_EQ(rcClient.bottom, rcBar.bottom);
    EXPECT_EQ(rcClient.Width(), rcBar.Width());
    EXPECT_GE(rcBar.Height(), 20);

    int cxBorder, cyBorder, cxSpacing;
    bar.GetBorders(cxBorder, cyBorder, cxSpacing);
    std::vector<int> before = Parts(bar);
    ASSERT_EQ(7u, before.size());
    // Fixed panes: their width + 6 between the spacings.
    for (int i = 1; i < 7; i++)
        EXPECT_EQ(bar.GetPaneWidth(i) + 6, before[(size_t)i] - before[(size_t)i - 1] - cxSpacing) << "pane " << i;
    EXPECT_GT(before[0] - cxBorder, bar.GetPaneWidth(0) + 6) << "the message pane got the spare width";

    // A wider frame: only the message pane grows.
    m_frame.SetWindowPos(NULL, 0, 0, 1100, 300, SWP_NOZORDER | SWP_NOMOVE);
    m_frame.RecalcLayout();
    std::vector<int> after = Parts(bar);
    ASSERT_EQ(7u, after.size());
    EXPECT_EQ(before[0] + 100, after[0]);
    for (int i = 1; i < 7; i++)
        EXPECT_EQ(before[(size_t)i] - before[(size_t)i - 1], after[(size_t)i] - after[(size_t)i - 1]) << "pane " << i;

    // A hidden pane gives its part away.
    bar.GetPane(2)->SetVisible(FALSE);
    std::vector<int> hidden = Parts(bar);
    ASSERT_EQ(6u, hidden.size());
    EXPECT_EQ(after[0] + bar.GetPaneWidth(2) + 6 + cxSpacing, hidden[0]);
    CRect rcHidden;
    bar.GetItemRect(2, &rcHidden);
    EXPECT_TRUE(rcHidden.IsRectEmpty());
}

TEST_F(EditorStatusBar, ControlStylesAndTheSizeGrip)
{
    CQXPStatusBar& bar = m_frame.m_wndStatusBar;
    DWORD dwStyle = bar.GetStyle();
    const DWORD kPlaced = CCS_NOMOVEY | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    EXPECT_EQ(kPlaced, dwStyle & kPlaced) << "the frame places the bar, not the control";
    EXPECT_TRUE(dwStyle & SBARS_SIZEGRIP) << "a sizable frame gets the grip";
    EXPECT_TRUE(bar.GetBarStyle() & CBRS_ALIGN_BOTTOM);
    EXPECT_FALSE(bar.GetBarStyle() & CBRS_BORDER_ANY) << "a bottom bar draws no edges";

    // The grip keeps room at the right end until the frame is maximized.
    std::vector<int> normal = Parts(bar);
    CRect rcBar;
    bar.GetClientRect(&rcBar);
    int nGripRoom = rcBar.right - normal.back();
    EXPECT_GE(nGripRoom, ::GetSystemMetrics(SM_CXVSCROLL));
    m_frame.ShowWindow(SW_MAXIMIZE);
    m_frame.RecalcLayout();
    ASSERT_TRUE(m_frame.IsZoomed());
    std::vector<int> maximized = Parts(bar);
    bar.GetClientRect(&rcBar);
    EXPECT_LT(rcBar.right - maximized.back(), nGripRoom);
    m_frame.ShowWindow(SW_RESTORE);
}

TEST_F(EditorStatusBar, ProgressBarFollowsItsPane)
{
    CQXPStatusBar& bar = m_frame.m_wndStatusBar;
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(0x50000001, CRect(0, 0, 0, 0), &bar, 1));
    ASSERT_TRUE(bar.SetPaneControl(&progress, ID_SB_PROGRESS));
    EXPECT_FALSE(bar.SetPaneControl(&progress, 4711)) << "no pane has that id";

    CRect rcPane, rcProgress;
    bar.GetItemRect(6, &rcPane);
    progress.GetWindowRect(&rcProgress);
    bar.ScreenToClient(&rcProgress);
    EXPECT_EQ(Str(rcPane), Str(rcProgress)) << "a borderless pane gives its whole rectangle";
    EXPECT_EQ(150 + 3 * ::GetSystemMetrics(SM_CXEDGE), rcPane.Width());

    m_frame.SetWindowPos(NULL, 0, 0, 900, 280, SWP_NOZORDER | SWP_NOMOVE);
    m_frame.RecalcLayout();
    bar.GetItemRect(6, &rcPane);
    progress.GetWindowRect(&rcProgress);
    bar.ScreenToClient(&rcProgress);
    EXPECT_EQ(Str(rcPane), Str(rcProgress));
    progress.DestroyWindow();
}

TEST_F(EditorStatusBar, MessageTextAndTheTextQuery)
{
    CQXPStatusBar& bar = m_frame.m_wndStatusBar;
    m_frame.SetMessageText("Ready");
    EXPECT_STREQ("Ready", (LPCSTR)bar.GetPaneText(0));
    EXPECT_EQ("Ready", ControlText(bar, 0));

    // The query answers the number of characters copied.
    char buf[16];
    std::memset(buf, 'x', sizeof(buf));
    EXPECT_EQ(5, bar.SendMessage(WM_GETTEXT, 16, (LPARAM)buf));
    EXPECT_STREQ("Ready", buf);
    EXPECT_EQ(5, bar.SendMessage(WM_GETTEXTLENGTH, 0, 0));
    std::memset(buf, 'x', sizeof(buf));
    EXPECT_EQ(4, bar.SendMessage(WM_GETTEXT, 5, (LPARAM)buf)) << "a buffer of the text's length";
    EXPECT_STREQ("Read", buf);
    std::memset(buf, 'x', sizeof(buf));
    EXPECT_EQ(0, bar.SendMessage(WM_GETTEXT, 1, (LPARAM)buf));
    EXPECT_EQ('\0', buf[0]);
    EXPECT_EQ(0, bar.SendMessage(WM_GETTEXT, 0, (LPARAM)buf));
    EXPECT_EQ(5, ::GetWindowTextLengthA(bar.m_hWnd));
    char window[32] = {0};
    EXPECT_EQ(5, ::GetWindowTextA(bar.m_hWnd, window, sizeof(window)));
    EXPECT_STREQ("Ready", window);

    // Without a message pane there is no text.
    const UINT ids[] = {ID_SB_INS};
    ASSERT_TRUE(bar.SetIndicators(ids, 1));
    EXPECT_EQ(0, bar.SendMessage(WM_GETTEXTLENGTH, 0, 0));
    std::memset(buf, 'x', sizeof(buf));
    EXPECT_EQ(0, bar.SendMessage(WM_GETTEXT, 16, (LPARAM)buf));
    EXPECT_EQ('\0', buf[0]);
}

TEST_F(EditorStatusBar, SameTextIsSentOnce)
{
    CCountingStatusBar& bar = m_frame.m_wndStatusBar;
    Pump();
    int n0 = bar.m_nSetText;
    ASSERT_TRUE(bar.SetPaneText(1, "Ln 12 Col 5"));
    EXPECT_EQ(n0 + 1, bar.m_nSetText);
    EXPECT_EQ("Ln 12 Col 5", ControlText(bar, 1));

    // The same text again: nothing sent, nothing to repaint.
    bar.ValidateRect(NULL);
    ASSERT_TRUE(bar.SetPaneText(1, "Ln 12 Col 5"));
    EXPECT_EQ(n0 + 1, bar.m_nSetText);
    RECT rcUpdate;
    EXPECT_FALSE(::GetUpdateRect(bar.m_hWnd, &rcUpdate, FALSE));

    // A new text without update waits for the next paint.
    ASSERT_TRUE(bar.SetPaneText(1, "Ln 13 Col 1", FALSE));
    EXPECT_EQ(n0 + 1, bar.m_nSetText);
    bar.UpdateAllPanes(FALSE, TRUE);
    EXPECT_EQ(n0 + 2, bar.m_nSetText);
    EXPECT_EQ("Ln 13 Col 1", ControlText(bar, 1));
    bar.UpdateAllPanes(FALSE, TRUE);
    EXPECT_EQ(n0 + 2, bar.m_nSetText) << "nothing pending";

    EXPECT_FALSE(bar.SetPaneText(7, "no such pane"));
    EXPECT_FALSE(bar.SetPaneText(-1, "no such pane"));
}

TEST_F(EditorStatusBar, DisabledPaneShowsNoTextButKeepsIt)
{
    CQXPStatusBar& bar = m_frame.m_wndStatusBar;
    bar.SetPaneStyle(2, bar.GetPaneStyle(2) | SBPS_DISABLED);
    EXPECT_EQ("", ControlText(bar, 2));
    EXPECT_STREQ("INS", (LPCSTR)bar.GetPaneText(2));
    EXPECT_STREQ("", (LPCSTR)bar.GetPane(2)->GetText()) << "the themed paint shows nothing either";
    bar.SetPaneStyle(2, bar.GetPaneStyle(2) & ~SBPS_DISABLED);
    EXPECT_EQ("INS", ControlText(bar, 2));
}

TEST_F(EditorStatusBar, IdleUpdateAsksTheFrame)
{
    CQXPStatusBar& bar = m_frame.m_wndStatusBar;
    BYTE saved[256], state[256];
    ::GetKeyboardState(saved);
    std::memcpy(state, saved, sizeof(state));

    state[VK_CAPITAL] = 1; // Caps Lock on
    ::SetKeyboardState(state);
    m_frame.m_strLineCol = "Ln 3 Col 7";
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ("CAP", ControlText(bar, 3));
    EXPECT_EQ("Ln 3 Col 7", ControlText(bar, 1));

    state[VK_CAPITAL] = 0;
    ::SetKeyboardState(state);
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ("", ControlText(bar, 3)) << "the indicator shows only while its key is on";
    EXPECT_TRUE(bar.GetPaneStyle(3) & SBPS_DISABLED);
    EXPECT_EQ("INS", ControlText(bar, 2)) << "panes without a handler keep their state";

    // A checked pane pops out.
    m_frame.m_nNumCheck = 1;
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_TRUE(bar.GetPaneStyle(4) & SBPS_POPOUT);
    EXPECT_EQ(SBT_POPOUT, HIWORD(::SendMessageA(bar.m_hWnd, SB_GETTEXTLENGTHA, 4, 0)) & SBT_POPOUT);
    m_frame.m_nNumCheck = 0;
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_FALSE(bar.GetPaneStyle(4) & SBPS_POPOUT);
    ::SetKeyboardState(saved);
}

TEST_F(EditorStatusBar, PaneTooltipComesFromThePaneUnderThePoint)
{
    CQXPStatusBar& bar = m_frame.m_wndStatusBar;
    bar.GetPane(2)->SetTooltip("Insert or overwrite");
    CRect rcIns, rcCaps;
    bar.GetItemRect(2, &rcIns);
    bar.GetItemRect(3, &rcCaps);

    TOOLINFOA ti;
    std::memset(&ti, 0, sizeof(ti));
    ti.cbSize = sizeof(ti);
    EXPECT_EQ((INT_PTR)ID_SB_INS, bar.OnToolHitTest(rcIns.CenterPoint(), &ti));
    ASSERT_NE(nullptr, ti.lpszText);
    EXPECT_STREQ("Insert or overwrite", ti.lpszText);
    EXPECT_EQ(rcIns, CRect(ti.rect));
    free(ti.lpszText);
    std::memset(&ti, 0, sizeof(ti));
    ti.cbSize = sizeof(ti);
    EXPECT_EQ(-1, bar.OnToolHitTest(rcCaps.CenterPoint(), &ti)) << "a pane without tooltip text";
}

TEST(StatusBarWidths, TwoStretchingPanesShareTheSpareWidth)
{
    HWND hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 100, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(hParent);
    CWnd* pParent = CWnd::FromHandle(hParent);
    CQXPStatusBar bar;
    ASSERT_TRUE(bar.Create(pParent, kEditorStyle, AFX_IDW_STATUS_BAR));
    EXPECT_FALSE(bar.GetStyle() & SBARS_SIZEGRIP) << "no grip without a sizing border";
    const UINT ids[] = {ID_SB_FIRST, ID_SB_SECOND};
    ASSERT_TRUE(bar.SetIndicators(ids, 2));
    for (int i = 0; i < 2; i++) {
        bar.SetPaneWidth(i, 50);
        bar.SetPaneStyle(i, bar.GetPaneStyle(i) | SBPS_STRETCH);
    }
    int cxBorder, cyBorder, cxSpacing;
    bar.GetBorders(cxBorder, cyBorder, cxSpacing);
    // Inside width W leaves W + spacing - 2 x (50 + spacing + 6) spare: 101.
    int cx = 101 + 2 * (50 + cxSpacing + 6) - cxSpacing;
    bar.MoveWindow(0, 0, cx, 24);
    std::vector<int> edges = Parts(bar);
    ASSERT_EQ(2u, edges.size());
    EXPECT_EQ(cxBorder + 56 + 50, edges[0]) << "the first takes the rounded-down half";
    EXPECT_EQ(edges[0] + cxSpacing + 56 + 51, edges[1]);

    // One pane without stretch keeps its width; the other takes it all.
    bar.SetPaneStyle(0, bar.GetPaneStyle(0) & ~SBPS_STRETCH);
    edges = Parts(bar);
    ASSERT_EQ(2u, edges.size());
    EXPECT_EQ(cxBorder + 56, edges[0]);
    EXPECT_EQ(edges[0] + cxSpacing + 56 + 101, edges[1]);

    // An indicator without a string ends the list and reports it.
    const UINT bad[] = {ID_SB_FIRST, ID_SB_NOSTRING, ID_SB_SECOND};
    EXPECT_FALSE(bar.SetIndicators(bad, 3));
    EXPECT_EQ(1, bar.GetPaneCount());
    bar.DestroyWindow();
    ::DestroyWindow(hParent);
}

TEST_F(EditorStatusBar, ButtonPaneClickSendsItsCommand)
{
    CQXPStatusBar& bar = m_frame.m_wndStatusBar;
    const UINT ids[] = {0, ID_SB_BUTTON, ID_SB_INS};
    ASSERT_TRUE(bar.SetIndicators(ids, 3));
    CQXPStatusBarPane* pPane = bar.GetPane(1);
    pPane->SetButton();
    CRect rc;
    bar.GetItemRect(1, &rc);
    ASSERT_FALSE(rc.IsRectEmpty());
    LPARAM inside = MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y);

    bar.SendMessage(WM_MOUSEMOVE, 0, inside);
    EXPECT_EQ(pPane, bar.m_pHotPane);
    EXPECT_TRUE(pPane->IsCurrent());
    bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, inside);
    bar.PostMessage(WM_LBUTTONUP, 0, inside);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    ASSERT_EQ(1u, m_frame.m_commands.size());
    EXPECT_EQ((UINT)ID_SB_BUTTON, m_frame.m_commands[0]);
    EXPECT_FALSE(pPane->IsPressed());

    // Released outside the pane: no click. A disabled pane does not react.
    LPARAM outside = MAKELPARAM(rc.right + 40, rc.CenterPoint().y);
    bar.PostMessage(WM_LBUTTONUP, 0, outside);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_EQ(1u, m_frame.m_commands.size());
    bar.SetPaneStyle(1, bar.GetPaneStyle(1) | SBPS_DISABLED);
    bar.SendMessage(WM_MOUSELEAVE, 0, 0);
    bar.SendMessage(WM_MOUSEMOVE, 0, inside);
    EXPECT_EQ(nullptr, bar.m_pHotPane);
    Pump();
}

// ---------------------------------------------------------------------------
// Pictures of the bar in each theme.

bool SavePng(const std::string& path, int cx, int cy, const std::vector<BYTE>& rgb)
{
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = (png_uint_32)cx;
    image.height = (png_uint_32)cy;
    image.format = PNG_FORMAT_RGB;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    int ok = png_image_write_to_stdio(&image, f, 0, rgb.data(), cx * 3, NULL);
    fclose(f);
    return ok != 0;
}

// The bar drawn into a bitmap through WM_PRINTCLIENT, as RGB rows.
std::vector<BYTE> RenderBar(CQXPStatusBar& bar, int& cx, int& cy)
{
    CRect rc;
    bar.GetClientRect(&rc);
    cx = rc.Width();
    cy = rc.Height();
    BITMAPINFO bmi;
    std::memset(&bmi, 0, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    HDC hdcScreen = ::GetDC(NULL);
    HBITMAP hbm = ::CreateDIBSection(hdcScreen, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    HDC hdc = ::CreateCompatibleDC(hdcScreen);
    ::ReleaseDC(NULL, hdcScreen);
    HGDIOBJ old = ::SelectObject(hdc, hbm);
    bar.SendMessage(WM_PRINTCLIENT, (WPARAM)hdc, PRF_CLIENT);
    ::GdiFlush();
    std::vector<BYTE> rgb((size_t)cx * cy * 3);
    const BYTE* src = static_cast<const BYTE*>(pBits);
    for (size_t i = 0; i < (size_t)cx * cy; i++) {
        rgb[i * 3 + 0] = src[i * 4 + 2];
        rgb[i * 3 + 1] = src[i * 4 + 1];
        rgb[i * 3 + 2] = src[i * 4 + 0];
    }
    ::SelectObject(hdc, old);
    ::DeleteDC(hdc);
    ::DeleteObject(hbm);
    return rgb;
}

// The bar as the screen shows it (its own WM_PAINT and its children).
std::vector<BYTE> CaptureBar(CQXPStatusBar& bar, int cx, int cy)
{
    ::RedrawWindow(bar.m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::GdiFlush();
    ::Sleep(50);
    CRect rc;
    bar.GetClientRect(&rc);
    bar.ClientToScreen(&rc);
    BITMAPINFO bmi;
    std::memset(&bmi, 0, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    HDC hdcScreen = ::GetDC(NULL);
    HBITMAP hbm = ::CreateDIBSection(hdcScreen, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    HDC hdc = ::CreateCompatibleDC(hdcScreen);
    HGDIOBJ old = ::SelectObject(hdc, hbm);
    ::BitBlt(hdc, 0, 0, cx, cy, hdcScreen, rc.left, rc.top, SRCCOPY);
    ::ReleaseDC(NULL, hdcScreen);
    ::GdiFlush();
    std::vector<BYTE> rgb((size_t)cx * cy * 3);
    const BYTE* src = static_cast<const BYTE*>(pBits);
    for (size_t i = 0; i < (size_t)cx * cy; i++) {
        rgb[i * 3 + 0] = src[i * 4 + 2];
        rgb[i * 3 + 1] = src[i * 4 + 1];
        rgb[i * 3 + 2] = src[i * 4 + 0];
    }
    ::SelectObject(hdc, old);
    ::DeleteDC(hdc);
    ::DeleteObject(hbm);
    return rgb;
}

size_t ColoursIn(const std::vector<BYTE>& rgb, int cx, const CRect& rc)
{
    std::set<DWORD> colours;
    for (int y = rc.top; y < rc.bottom; y++) {
        for (int x = rc.left; x < rc.right; x++) {
            size_t i = ((size_t)y * cx + x) * 3;
            colours.insert(RGB(rgb[i], rgb[i + 1], rgb[i + 2]));
        }
    }
    return colours.size();
}

TEST_F(EditorStatusBar, PictureInEveryTheme)
{
    CQXPStatusBar& bar = m_frame.m_wndStatusBar;
    m_frame.SetMessageText("Ready");
    bar.SetPaneText(1, "Ln 12 Col 5");
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(0x50000001, CRect(0, 0, 0, 0), &bar, 1));
    bar.SetPaneControl(&progress, ID_SB_PROGRESS);
    progress.SetRange(0, 100);
    progress.SetPos(40);

    std::string folder = QM_BIN_DIR "/../statusbar-pictures";
    ::CreateDirectoryA(folder.c_str(), NULL);
    std::vector<std::vector<BYTE>> pictures;
    for (int nTheme = 720; nTheme <= 724; nTheme++) {
        SetGlobalPaintManager(ThemeIdFromCommand((UINT)nTheme));
        m_frame.RecalcLayout();
        int cx = 0, cy = 0;
        std::vector<BYTE> rgb = RenderBar(bar, cx, cy);
        ASSERT_GT(cx, 0);
        ASSERT_GT(cy, 0);
        EXPECT_EQ(ThemeIdFromCommand((UINT)nTheme), (int)bar.SendMessage(QXP_WM_GETTHEMEVALUE, 0, 0));
        // The texts are drawn: their panes hold more than a flat fill.
        CRect rcMessage, rcIns;
        bar.GetItemRect(0, &rcMessage);
        bar.GetItemRect(2, &rcIns);
        EXPECT_GE(ColoursIn(rgb, cx, rcMessage), 2u) << nTheme << Str(rcMessage) << cx << "x" << cy;
        EXPECT_GE(ColoursIn(rgb, cx, rcIns), 2u) << nTheme << Str(rcIns);
        char name[64];
        snprintf(name, sizeof(name), "/statusbar-%d.png", nTheme);
        EXPECT_TRUE(SavePng(folder + name, cx, cy, rgb)) << folder + name;
        pictures.push_back(rgb);

        // On screen the bar paints the same, its progress bar on top.
        std::vector<BYTE> screen = CaptureBar(bar, cx, cy);
        snprintf(name, sizeof(name), "/statusbar-%d-screen.png", nTheme);
        EXPECT_TRUE(SavePng(folder + name, cx, cy, screen)) << folder + name;
        CRect rcProgress;
        bar.GetItemRect(6, &rcProgress);
        int nDiffer = 0;
        for (int y = 0; y < cy; y++) {
            for (int x = 0; x < cx; x++) {
                if (rcProgress.PtInRect(CPoint(x, y)))
                    continue;
                size_t i = ((size_t)y * cx + x) * 3;
                if (std::memcmp(&rgb[i], &screen[i], 3) != 0)
                    nDiffer++;
            }
        }
        EXPECT_EQ(0, nDiffer) << "pixels differ between the screen and the printed bar, theme " << nTheme;
    }
    std::set<std::vector<BYTE>> distinct(pictures.begin(), pictures.end());
    EXPECT_GE(distinct.size(), 2u) << "the themes paint the bar differently";

    // Without the paint manager the common control paints the same texts.
    bar.SetDrawThemed(FALSE);
    int cx = 0, cy = 0;
    RenderBar(bar, cx, cy);
    std::vector<BYTE> plain = CaptureBar(bar, cx, cy);
    EXPECT_TRUE(SavePng(folder + "/statusbar-plain-screen.png", cx, cy, plain));
    CRect rcIns;
    bar.GetItemRect(2, &rcIns);
    EXPECT_GE(ColoursIn(plain, cx, rcIns), 2u);
    EXPECT_EQ(0, (int)bar.SendMessage(QXP_WM_GETTHEMEVALUE, 0, 0));
    bar.SetDrawThemed(TRUE);
    progress.DestroyWindow();
    ReleaseGlobalPaintManager();
}

// A status bar of a frame's command bars paints with their paint manager;
// without one, with the global one.
TEST_F(EditorStatusBar, TheCommandBarsPaintManagerPaintsTheBar)
{
    CQXPStatusBar& bar = m_frame.m_wndStatusBar;
    SetGlobalPaintManager(qxpThemeWindows2000);
    CQXPCommandBars* pBars = CQXPCommandBars::CreateCommandBars(&m_frame);
    ASSERT_NE(nullptr, pBars);
    bar.SetCommandBars(pBars);
    EXPECT_EQ(qxpThemeWindows2000, (int)bar.SendMessage(QXP_WM_GETTHEMEVALUE, 0, 0));
    pBars->SetPaintManager(CreateThemePainter(qxpThemeOffice2003));
    EXPECT_EQ(qxpThemeOffice2003, (int)bar.SendMessage(QXP_WM_GETTHEMEVALUE, 0, 0));
    bar.SetCommandBars(NULL);
    EXPECT_EQ(qxpThemeWindows2000, (int)bar.SendMessage(QXP_WM_GETTHEMEVALUE, 0, 0));
    pBars->InternalRelease();
    ReleaseGlobalPaintManager();
}

} // namespace
