// The flat combo box: its theme factory and metrics, the pictures of its
// three themes in every state (kept as build artefacts), hover and focus
// repaint, and the completion of typed text from the list.
#include "DialogTestSupport.h"
#include "PaintTestSupport.h"

#include <qx/flatcombo.h>

#include <memory>

using namespace dlgtest;
using namespace painttest;

namespace {

// Pumps with the framework's pre-translation, as the application does.
void PumpTranslated(DWORD dwMs, HWND hWndStop)
{
    DWORD dwStart = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (!CWnd::WalkPreTranslateTree(hWndStop, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - dwStart < dwMs);
}

void PressKey(WORD vk, HWND hWndStop)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
    PumpTranslated(120, hWndStop);
}

struct FlatComboTest : ::testing::Test {
    FixedColors colors;
    CWnd parent;
    CQXFlatComboBox combos[3]; // one per theme id
    const char* kThemeNames[3] = {"default", "flat", "gradient"};

    void SetUp() override
    {
        LPCSTR cls = AfxRegisterWndClass(0, NULL, (HBRUSH)(COLOR_BTNFACE + 1));
        ASSERT_TRUE(parent.CreateEx(0, cls, "Flat combo", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40,
                                    420, 220, NULL, NULL));
        CQXFlatComboBoxThemeFactory factory;
        for (int i = 0; i < 3; i++) {
            DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL;
            ASSERT_TRUE(combos[i].Create(dwStyle, CRect(10, 10 + 40 * i, 210, 200 + 40 * i), &parent, 100 + i));
            combos[i].GetThemeHolder().SetTheme(factory.CreateTheme(i));
            for (const char* p : {"abc", "abd", "xyz"})
                combos[i].AddString(p);
        }
        ::SetForegroundWindow(parent.GetSafeHwnd());
        PumpMessages();
    }
    void TearDown() override
    {
        for (auto& c : combos)
            c.DestroyWindow();
        parent.DestroyWindow();
        PumpMessages();
    }
    HWND EditOf(CQXFlatComboBox& c) { return ::GetWindow(c.GetSafeHwnd(), GW_CHILD); }
    CString Text(CQXFlatComboBox& c)
    {
        CString s;
        c.GetWindowText(s);
        return s;
    }
    std::pair<int, int> Sel(CQXFlatComboBox& c)
    {
        DWORD dw = c.GetEditSel();
        return {(int)LOWORD(dw), (int)HIWORD(dw)};
    }
    // The control as the user sees it in a state: its own painting, then
    // the theme over everything but the text area.
    void Picture(CQXFlatComboBox& c, MemoryDC& mem, int nState)
    {
        c.SendMessage(WM_PRINTCLIENT, (WPARAM)mem.dc()->GetSafeHdc(), PRF_CLIENT);
        CRect rcClient;
        c.GetClientRect(&rcClient);
        CRect rcText = rcClient;
        c.AdjustComboRect(rcText);
        int nSaved = mem.dc()->SaveDC();
        mem.dc()->ExcludeClipRect(rcText);
        mem.dc()->FillSolidRect(rcClient, ToolkitColorManager::Instance()->GetColor(COLOR_BTNFACE));
        c.DrawCombo(mem.dc(), nState);
        mem.dc()->RestoreDC(nSaved);
    }
};

COLORREF C(int n) { return ToolkitColorManager::Instance()->GetColor(n); }

TEST(FlatComboThemeTest, FactoryMakesTheThemeOfEachId)
{
    CQXFlatComboBoxThemeFactory factory;
    struct Case {
        int id;
        const char* kind;
    } cases[] = {{0, "default"}, {1, "flat"}, {2, "gradient"}, {7, "default"}, {-1, "default"}};
    for (const Case& c : cases) {
        std::unique_ptr<ThemeStyle> p(factory.CreateTheme(c.id));
        ASSERT_NE(nullptr, p.get());
        const char* kind = dynamic_cast<CQXFlatComboBoxThemeGradient*>(p.get()) ? "gradient"
                           : dynamic_cast<CQXFlatComboBoxThemeFlat*>(p.get())   ? "flat"
                           : dynamic_cast<CQXFlatComboBoxTheme*>(p.get())       ? "default"
                                                                                : "none";
        EXPECT_STREQ(c.kind, kind) << c.id;
    }
}

TEST(FlatComboThemeTest, DropButtonWidthFollowsTheFontWithinItsLimits)
{
    CQXFlatComboBoxTheme theme;
    theme.RefreshMetrics();
    int nMax = ::GetSystemMetrics(SM_CXVSCROLL) + 1;
    EXPECT_EQ(15, theme.CalcDropButtonWidth(3)) << "at least 15";
    EXPECT_EQ(nMax, theme.CalcDropButtonWidth(60)) << "at most a scroll bar's width + 1";
    EXPECT_EQ(std::min(nMax, 2 * 6 + 4), theme.CalcDropButtonWidth(6));
    EXPECT_GE(theme.m_nDropButtonWidth, 15);
    EXPECT_LE(theme.m_nDropButtonWidth, nMax);
    EXPECT_EQ(::GetSystemMetrics(SM_CXEDGE), theme.m_cxEdge);
    EXPECT_EQ(::GetSystemMetrics(SM_CYBORDER), theme.m_cyBorder);
}

TEST_F(FlatComboTest, AdjustComboRectLeavesTheTextArea)
{
    CQXFlatComboBoxTheme* pTheme = combos[0].GetFlatTheme();
    ASSERT_NE(nullptr, pTheme);
    CRect rc(0, 0, 200, 22);
    int nButton = combos[0].AdjustComboRect(rc);
    EXPECT_EQ(pTheme->m_nDropButtonWidth, nButton);
    EXPECT_EQ(pTheme->m_cxBorder + pTheme->m_cxEdge, rc.left);
    EXPECT_EQ(pTheme->m_cyBorder + pTheme->m_cyEdge, rc.top);
    EXPECT_EQ(200 - pTheme->m_cxBorder - pTheme->m_cxEdge - nButton, rc.right);
    EXPECT_EQ(22 - pTheme->m_cyBorder - pTheme->m_cyEdge, rc.bottom);
}

TEST_F(FlatComboTest, EachThemeDrawsItsStates)
{
    CRect rcClient;
    combos[0].GetClientRect(&rcClient);
    int cx = rcClient.Width(), cy = rcClient.Height();
    for (int nTheme = 0; nTheme < 3; nTheme++) {
        CQXFlatComboBox& c = combos[nTheme];
        CQXFlatComboBoxTheme* pTheme = c.GetFlatTheme();
        ASSERT_NE(nullptr, pTheme);
        int nButtonMid = cx - pTheme->m_cxBorder - pTheme->m_nDropButtonWidth / 2 - 1;
        // A strip of the four looks, saved for the eye.
        MemoryDC strip(cx, cy * 4 + 6, RGB(255, 0, 255));
        for (int nState = 1; nState <= 4; nState++) {
            BOOL bDisabled = nState == 4;
            c.EnableWindow(!bDisabled);
            MemoryDC mem(cx, cy);
            Picture(c, mem, bDisabled ? 1 : nState);
            ::BitBlt(strip.dc()->GetSafeHdc(), 0, (nState - 1) * (cy + 2), cx, cy, mem.dc()->GetSafeHdc(), 0, 0,
                     SRCCOPY);
            std::string what = std::string(kThemeNames[nTheme]) + " state " + std::to_string(nState);
            if (bDisabled) {
                EXPECT_EQ(C(52), mem.Pixel(0, 0)) << what;
                EXPECT_EQ(C(52), mem.Pixel(cx - 1, cy - 1)) << what;
                EXPECT_EQ(C(51), mem.Pixel(2, cy / 2)) << what;
                if (nTheme == 2) {
                    EXPECT_EQ(C(51), mem.Pixel(nButtonMid - 3, 4)) << what << ": no button while disabled";
                }
                continue;
            }
            switch (nTheme) {
            case 0:
                if (nState == 1) {
                    EXPECT_EQ(C(15), mem.Pixel(0, 0)) << what << ": no frame";
                } else {
                    EXPECT_EQ(C(16), mem.Pixel(0, 0)) << what;
                    EXPECT_EQ(C(20), mem.Pixel(cx - 1, cy - 1)) << what;
                }
                EXPECT_EQ(C(15), mem.Pixel(nButtonMid + 3, 5)) << what << ": the button face";
                break;
            case 1:
                EXPECT_EQ(C(nState == 1 ? 51 : 32), mem.Pixel(0, 0)) << what;
                if (nState == 2)
                    EXPECT_EQ(C(31), mem.Pixel(nButtonMid + 3, 4)) << what;
                else if (nState == 3)
                    EXPECT_EQ(C(33), mem.Pixel(nButtonMid + 3, 4)) << what;
                else
                    EXPECT_EQ(C(15), mem.Pixel(nButtonMid + 3, 4)) << what;
                break;
            case 2:
                if (nState == 1)
                    EXPECT_NE(ToolkitColorManager::Instance()->GetColorEx(qxColorHotBorder), mem.Pixel(0, 0)) << what;
                else
                    EXPECT_EQ(ToolkitColorManager::Instance()->GetColorEx(qxColorHotBorder), mem.Pixel(0, 0)) << what;
                EXPECT_NE(C(5), mem.Pixel(nButtonMid + 3, 4)) << what << ": a gradient button";
                break;
            }
            // The glyph sits in the button in every enabled state.
            int nGlyph = mem.Count(CRect(cx - pTheme->m_nDropButtonWidth - 4, 0, cx, cy), C(8));
            EXPECT_GE(nGlyph, 9) << what << ": the 5-3-1 triangle";
        }
        c.EnableWindow(TRUE);
        std::string name = std::string("flatcombo-") + kThemeNames[nTheme] + ".bmp";
        EXPECT_TRUE(strip.SaveBmp(ArtifactPath(name.c_str())));
    }
}

TEST_F(FlatComboTest, FocusAndHoverRepaintOnlyWithTheFlatLook)
{
    CQXFlatComboBox& c = combos[1];
    EXPECT_EQ(qxFlatComboNormal, c.GetDrawState());
    ::SetFocus(EditOf(c));
    PumpMessages();
    EXPECT_TRUE(c.HasFocus());
    EXPECT_EQ(qxFlatComboHighlighted, c.GetDrawState());
    // What is on the screen now carries the highlighted frame.
    c.UpdateWindow();
    HDC hdc = ::GetDC(c.GetSafeHwnd());
    COLORREF clrFrame = ::GetPixel(hdc, 0, 0);
    ::ReleaseDC(c.GetSafeHwnd(), hdc);
    EXPECT_EQ(C(32), clrFrame);
    {
        // The live window, for the eye.
        CRect rc;
        parent.GetClientRect(&rc);
        MemoryDC shot(rc.Width(), rc.Height());
        HDC hdcParent = ::GetDC(parent.GetSafeHwnd());
        ::BitBlt(shot.dc()->GetSafeHdc(), 0, 0, rc.Width(), rc.Height(), hdcParent, 0, 0, SRCCOPY);
        ::ReleaseDC(parent.GetSafeHwnd(), hdcParent);
        EXPECT_TRUE(shot.SaveBmp(ArtifactPath("flatcombo-live.bmp")));
    }
    ::SetFocus(parent.GetSafeHwnd());
    PumpMessages();
    EXPECT_FALSE(c.HasFocus());

    // The cursor over the control: the hover poll marks it and lets go when
    // the cursor leaves.
    CRect rcWnd;
    c.GetWindowRect(&rcWnd);
    ::SetCursorPos(rcWnd.CenterPoint().x, rcWnd.top + 4);
    c.SendMessage(WM_SETCURSOR, (WPARAM)c.GetSafeHwnd(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_TRUE(c.IsHover());
    ::SetCursorPos(rcWnd.right + 100, rcWnd.bottom + 100);
    PumpFor(100);
    EXPECT_FALSE(c.IsHover());

    // Without the flat look focus changes nothing.
    CQXFlatComboBox& plain = combos[0];
    plain.SetFlatLook(FALSE);
    ::SetFocus(EditOf(plain));
    PumpMessages();
    EXPECT_FALSE(plain.HasFocus());
    ::SetCursorPos(rcWnd.CenterPoint().x, rcWnd.top + 4);
    plain.SendMessage(WM_SETCURSOR, (WPARAM)plain.GetSafeHwnd(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_FALSE(plain.IsHover());
}

TEST_F(FlatComboTest, TypingCompletesFromTheListAndBackspaceDoesNot)
{
    CQXFlatComboBox& c = combos[0];
    c.SetAutoComplete(TRUE);
    HWND hWndStop = parent.GetSafeHwnd();
    ::SetForegroundWindow(hWndStop);
    ::SetFocus(EditOf(c));
    PumpTranslated(50, hWndStop);
    ASSERT_EQ(EditOf(c), ::GetFocus());

    PressKey('A', hWndStop);
    EXPECT_STREQ("abc", Text(c).GetString());
    EXPECT_EQ(std::make_pair(1, 3), Sel(c)) << "the completed tail is selected";
    PressKey('B', hWndStop);
    EXPECT_STREQ("abc", Text(c).GetString());
    EXPECT_EQ(std::make_pair(2, 3), Sel(c));
    // Backspace takes the tail away and does not complete again.
    PressKey(VK_BACK, hWndStop);
    EXPECT_STREQ("ab", Text(c).GetString());
    EXPECT_EQ(std::make_pair(2, 2), Sel(c));
    // A prefix that no item has stays as typed, caret at its end.
    PressKey('Q', hWndStop);
    EXPECT_STREQ("abq", Text(c).GetString());
    EXPECT_EQ(std::make_pair(3, 3), Sel(c));

    // Without auto-completion the text stays as typed.
    CQXFlatComboBox& other = combos[1];
    ::SetFocus(EditOf(other));
    PumpTranslated(50, hWndStop);
    PressKey('X', hWndStop);
    EXPECT_STREQ("x", Text(other).GetString());
}

// Letters beyond ASCII, handed to the edit as the framework's pump hands
// them (wide WM_CHAR): the completed tail starts after the typed characters,
// so the next letter replaces the tail, not text behind it.
TEST_F(FlatComboTest, CompletionCountsCharactersOfAnyLanguage)
{
    CQXFlatComboBox& c = combos[0];
    c.SetAutoComplete(TRUE);
    c.AddString("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xCE\xB1"); // 5 characters, 12 bytes
    HWND hEdit = EditOf(c);
    ::SetForegroundWindow(parent.GetSafeHwnd());
    ::SetFocus(hEdit);
    const WNDPROC pfnWide = (WNDPROC)::GetWindowLongPtrW(hEdit, GWLP_WNDPROC);
    ::CallWindowProcW(pfnWide, hEdit, WM_CHAR, 0x65E5, 1);
    EXPECT_STREQ("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xCE\xB1", Text(c).GetString());
    EXPECT_EQ(std::make_pair(1, 5), Sel(c)) << "the completed tail is selected";
    ::CallWindowProcW(pfnWide, hEdit, WM_CHAR, 0x672C, 1);
    EXPECT_STREQ("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xCE\xB1", Text(c).GetString());
    EXPECT_EQ(std::make_pair(2, 5), Sel(c));
}

TEST_F(FlatComboTest, CompletionInTheMiddleOfTheTextKeepsTheCaret)
{
    CQXFlatComboBox& c = combos[0];
    c.SetAutoComplete(TRUE);
    HWND hWndStop = parent.GetSafeHwnd();
    ::SetFocus(EditOf(c));
    PumpTranslated(50, hWndStop);
    c.SetWindowText("xz");
    c.SetEditSel(1, 1);
    // Typing "y" between the two: "xyz" is an item, but the caret is not at
    // the end, so the selection stays where it was typed.
    PressKey('Y', hWndStop);
    EXPECT_STREQ("xyz", Text(c).GetString());
    EXPECT_EQ(std::make_pair(2, 2), Sel(c));
}

TEST_F(FlatComboTest, TypedKeysGoToTheBoxBeforeAnyAccelerator)
{
    CQXFlatComboBox listOnly;
    ASSERT_TRUE(listOnly.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(220, 10, 400, 200), &parent, 120));
    struct Case {
        CQXFlatComboBox* pCombo;
        UINT nKey;
        BOOL bTaken;
    } cases[] = {
        {&combos[0], 'A', TRUE},
        {&combos[0], VK_BACK, TRUE},
        {&combos[0], VK_DELETE, TRUE},
        {&combos[0], VK_RETURN, FALSE},
        {&combos[0], VK_ESCAPE, FALSE},
        {&combos[0], VK_TAB, FALSE},
        {&listOnly, 'A', FALSE},
    };
    for (const Case& c : cases) {
        HWND hWndTarget = EditOf(*c.pCombo) ? EditOf(*c.pCombo) : c.pCombo->GetSafeHwnd();
        MSG msg = {hWndTarget, WM_KEYDOWN, c.nKey, 0, 0, {0, 0}};
        EXPECT_EQ(c.bTaken, c.pCombo->PreTranslateMessage(&msg)) << c.nKey;
        MSG up = {hWndTarget, WM_KEYUP, c.nKey, 0xC0000001, 0, {0, 0}};
        c.pCombo->PreTranslateMessage(&up);
        PumpMessages();
    }
    // The drop-down-list box paints its text area in its back colour.
    EXPECT_FALSE(listOnly.HasEdit());
    EXPECT_TRUE(combos[0].HasEdit());
    listOnly.SetBackColor(RGB(10, 200, 30));
    CRect rcClient;
    listOnly.GetClientRect(&rcClient);
    MemoryDC mem(rcClient.Width(), rcClient.Height());
    listOnly.DrawCombo(mem.dc(), qxFlatComboNormal);
    EXPECT_EQ(RGB(10, 200, 30), mem.Pixel(8, rcClient.Height() / 2));
    listOnly.DestroyWindow();
}

} // namespace
