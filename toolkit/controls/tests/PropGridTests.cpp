// The property grid on real windows: a dialog page that builds its grid as
// the HTML Tidy page does (a grid with id 1304 over static 1301, variable row
// heights, categories of text, number, True/False and drop-down items) and
// records every WM_PROPERTYGRID_NOTIFY code; input through SendInput.
#include "DialogTestSupport.h"
#include "PaintTestSupport.h"

#include <qx/propertygrid.h>

#include <qmtest/screenshot.h>

#include <oleacc.h>

#include <string>
#include <vector>

using namespace dlgtest;

namespace {

const int kPlaceholder = 1301, kGrid = 1304, kNext = 1305;

COLORREF C(int n) { return ToolkitColorManager::Instance()->GetColor(n); }

// The page: records the grid's codes; the grid is made in Build.
class CGridPage : public CDialog {
public:
    std::vector<int> codes;
    CQXPPropertyGrid grid;
    BOOL modified = FALSE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PROPERTYGRID_NOTIFY) {
            codes.push_back((int)wParam);
            if (wParam == GRIDN_VALUE_CHANGED)
                modified = TRUE;
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
    void OnOK() override {}
    void OnCancel() override {}
};

void MouseAt(POINT ptScreen, DWORD dwFlags)
{
    ::SetCursorPos(ptScreen.x, ptScreen.y);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = dwFlags;
    ::SendInput(1, &in, sizeof(in));
}

void Key(WORD vk, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = (WORD)::MapVirtualKeyA(vk, 0);
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof(in));
}

void Press(std::initializer_list<WORD> keys)
{
    for (WORD k : keys)
        Key(k, false);
    for (auto it = keys.end(); it != keys.begin();)
        Key(*--it, true);
    qmtest::PumpFor(60);
}

void Type(const char* s)
{
    for (; *s; ++s) {
        SHORT vk = ::VkKeyScanA(*s);
        if (HIBYTE(vk) & 1)
            Press({VK_SHIFT, (WORD)LOBYTE(vk)});
        else
            Press({(WORD)LOBYTE(vk)});
    }
}

struct GridPageTest : ::testing::Test {
    CGridPage page;
    CQXPPropertyGrid& grid = page.grid;
    CQXPPropertyGridItem* pText = nullptr; // "Name" text item
    CQXPPropertyGridItemNumber* pNumber = nullptr;
    CQXPPropertyGridItemBool* pBool = nullptr;
    CQXPPropertyGridItem* pChoice = nullptr; // flags 4: drop-down only
    CQXPPropertyGridItem* pMarkup = nullptr; // second category

    void SetUp() override
    {
        DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 10, 10, 240, 220, "HTML Tidy");
        t.Add(0x82, kPlaceholder, SS_LEFT, 4, 4, 232, 180);
        t.Add(0x80, kNext, BS_PUSHBUTTON | WS_TABSTOP, 4, 190, 60, 14, "Next");
        ASSERT_TRUE(page.CreateIndirect(t.Get(), NULL));
        Build();
        page.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(page.m_hWnd);
        qmtest::PumpFor(100);
        page.codes.clear();
    }
    void TearDown() override
    {
        Press({VK_ESCAPE});
        page.DestroyWindow();
        qmtest::PumpMessages();
    }

    // The Tidy page's order: create over the placeholder, variable heights,
    // categories filled, sorted and expanded.
    void Build()
    {
        CWnd* pPlaceholder = page.GetDlgItem(kPlaceholder);
        CRect rc;
        pPlaceholder->GetWindowRect(&rc);
        page.ScreenToClient(&rc);
        pPlaceholder->ShowWindow(SW_HIDE);
        ASSERT_TRUE(grid.Create(rc, &page, kGrid));
        ::SetWindowPos(grid.m_hWnd, pPlaceholder->m_hWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        grid.SetSortMode(1);
        CQXPPropertyGridItem* pPretty = grid.GetView()->AddCategory("Pretty Print");
        pPretty->SetID(9999);
        pText = pPretty->AddChildItem(new CQXPPropertyGridItem("Name", "alpha"));
        pText->SetDescription("The name of the thing.");
        pNumber = (CQXPPropertyGridItemNumber*)pPretty->AddChildItem(new CQXPPropertyGridItemNumber("Indent", 2));
        pBool = (CQXPPropertyGridItemBool*)pPretty->AddChildItem(new CQXPPropertyGridItemBool("Wrap", TRUE));
        pChoice = pPretty->AddChildItem(new CQXPPropertyGridItem("Doctype", "auto"));
        pChoice->SetFlags(ItemHasComboButton);
        const char* choices[] = {"omit", "auto", "strict", "loose", "transitional"};
        for (int i = 0; i < 5; i++)
            pChoice->GetConstraints()->AddConstraint(choices[i], (DWORD_PTR)i);
        pPretty->GetChilds()->Sort();
        pPretty->Expand();
        pMarkup = grid.GetView()->AddCategory("Markup");
        pMarkup->AddChildItem(new CQXPPropertyGridItem("Break", "no"));
        pMarkup->Expand();
    }

    CQXPPropertyGridView& View() { return *grid.GetView(); }
    int Rows() { return View().GetCount(); }
    POINT ScreenOf(const CRect& rc, int dx, int dy)
    {
        POINT pt = {rc.left + dx, rc.top + dy};
        ::ClientToScreen(View().m_hWnd, &pt);
        return pt;
    }
    void Click(POINT pt)
    {
        MouseAt(pt, MOUSEEVENTF_LEFTDOWN);
        qmtest::PumpFor(30);
        MouseAt(pt, MOUSEEVENTF_LEFTUP);
        qmtest::PumpFor(80);
    }
    void ClickValue(CQXPPropertyGridItem* pItem) { Click(ScreenOf(pItem->GetValueRect(), 10, 3)); }
    void ClickCaption(CQXPPropertyGridItem* pItem) { Click(ScreenOf(pItem->GetItemRect(), 40, 4)); }
    std::vector<int> CodesWithout(std::initializer_list<int> dropped)
    {
        std::vector<int> out;
        for (int c : page.codes)
            if (std::find(dropped.begin(), dropped.end(), c) == dropped.end())
                out.push_back(c);
        return out;
    }
    HWND EditHwnd() { return grid.GetInplaceEdit().m_hWnd; }
    std::string EditText()
    {
        char buf[256] = "";
        ::GetWindowTextA(EditHwnd(), buf, sizeof(buf));
        return buf;
    }
};

// ---------------------------------------------------------------------------
// Items and rows, without input

TEST_F(GridPageTest, ThePageBuildsTheGridAsTheTidyPageDoes)
{
    EXPECT_EQ(kGrid, ::GetDlgCtrlID(grid.m_hWnd));
    EXPECT_TRUE(View().GetStyle() & LBS_OWNERDRAWVARIABLE);
    ASSERT_EQ(2, grid.GetCategories()->GetCount());
    EXPECT_EQ(nullptr, grid.GetCategories()->GetAt(2));
    EXPECT_EQ(nullptr, grid.GetCategories()->GetAt(-1));
    CQXPPropertyGridItem* pPretty = grid.GetCategories()->GetAt(0);
    EXPECT_EQ(9999, pPretty->GetID());
    // Sorted by caption, case-sensitive.
    const char* order[] = {"Doctype", "Indent", "Name", "Wrap"};
    for (int i = 0; i < 4; i++)
        EXPECT_STREQ(order[i], pPretty->GetChilds()->GetAt(i)->GetCaption()) << i;
    EXPECT_EQ(7, Rows());
    EXPECT_STREQ("2", pNumber->GetValue());
    EXPECT_STREQ("True", pBool->GetValue());
    EXPECT_EQ(ItemHasEdit | ItemHasComboButton, pBool->GetFlags());
    EXPECT_EQ(2, pBool->GetConstraints()->GetCount());
}

TEST_F(GridPageTest, SetValueIsSilentAndTheUserPathSendsValueChanged)
{
    pText->SetValue("beta");
    EXPECT_TRUE(page.codes.empty());
    EXPECT_STREQ("beta", pText->GetValue());
    pText->OnValueChanged("gamma");
    ASSERT_EQ(1u, page.codes.size());
    EXPECT_EQ(GRIDN_VALUE_CHANGED, page.codes[0]);
    EXPECT_TRUE(page.modified);
    // Number and boolean items parse what they are given.
    pNumber->SetValue("12abc");
    EXPECT_EQ(12, pNumber->GetNumber());
    pNumber->SetValue("letters");
    EXPECT_STREQ("0", pNumber->GetValue());
    pNumber->SetValue("99999999999");
    EXPECT_EQ(2147483647L, pNumber->GetNumber());
    pBool->SetValue("fALSE");
    EXPECT_FALSE(pBool->GetBool());
    pBool->SetValue("tRuE");
    EXPECT_TRUE(pBool->GetBool());
    pBool->SetValue("maybe");
    EXPECT_FALSE(pBool->GetBool());
}

TEST_F(GridPageTest, ExpandingTwiceSendsOneExpandChanged)
{
    pMarkup->Collapse();
    EXPECT_EQ(6, Rows());
    page.codes.clear();
    pMarkup->Expand();
    pMarkup->Expand();
    EXPECT_EQ(7, Rows());
    EXPECT_EQ(std::vector<int>({GRIDN_EXPAND_CHANGED}), CodesWithout({GRIDN_SELECTION_CHANGED}));
}

TEST_F(GridPageTest, FindConstraintIgnoresCaseAndCaptionsOutOfRangeAreEmpty)
{
    CQXPPropertyGridItemConstraints* p = pChoice->GetConstraints();
    struct Case {
        const char* text;
        int index;
    } cases[] = {{"omit", 0}, {"STRICT", 2}, {"Transitional", 4}, {"none", -1}, {"", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(c.index, p->FindConstraint(c.text)) << c.text;
    EXPECT_STREQ("", p->GetAt(5));
    EXPECT_STREQ("", p->GetAt(-1));
}

std::vector<std::string> RowCaptions(CQXPPropertyGridView& v)
{
    std::vector<std::string> out;
    for (int i = 0; i < v.GetCount(); i++)
        out.push_back(v.GetItem(i)->GetCaption().GetString());
    return out;
}

TEST_F(GridPageTest, RowsInEachSortModeLeaveHiddenCategoriesOut)
{
    CQXPPropertyGridItem* pHidden = View().AddCategory("Secret");
    pHidden->AddChildItem(new CQXPPropertyGridItem("Apple", "1"));
    pHidden->Expand();
    EXPECT_EQ(9, Rows());
    pHidden->SetHidden(TRUE);
    using V = std::vector<std::string>;
    EXPECT_EQ(V({"Pretty Print", "Doctype", "Indent", "Name", "Wrap", "Markup", "Break"}), RowCaptions(View()));
    page.codes.clear();
    View().SetPropertySort(qxpGridSortAlphabetical);
    EXPECT_EQ(V({"Break", "Doctype", "Indent", "Name", "Wrap"}), RowCaptions(View()));
    EXPECT_EQ(std::vector<int>({GRIDN_SORT_ORDER_CHANGED}), CodesWithout({GRIDN_SELECTION_CHANGED}));
    View().SetPropertySort(qxpGridSortNoSort);
    EXPECT_EQ(V({"Doctype", "Indent", "Name", "Wrap", "Break"}), RowCaptions(View()));
    // The mode already set, without reset: nothing at all.
    page.codes.clear();
    View().SetPropertySort(qxpGridSortNoSort);
    EXPECT_TRUE(page.codes.empty());
}

TEST_F(GridPageTest, AddingACategoryWhileAlphabeticalReturnsToCategories)
{
    View().SetPropertySort(qxpGridSortAlphabetical);
    page.codes.clear();
    View().AddCategory("Encoding");
    EXPECT_EQ(qxpGridSortCategorized, View().GetPropertySort());
    EXPECT_EQ(std::vector<int>({GRIDN_SORT_ORDER_CHANGED}), CodesWithout({GRIDN_SELECTION_CHANGED}));
    EXPECT_EQ("Encoding", RowCaptions(View()).back());
}

int g_resets = 0;
HWND g_hView = NULL;
LRESULT CALLBACK CountResets(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* p = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && p->hwnd == g_hView && p->message == LB_RESETCONTENT)
        ++g_resets;
    return ::CallNextHookEx(NULL, code, wParam, lParam);
}

TEST_F(GridPageTest, ClearingUnderTheUpdateLockRebuildsOnce)
{
    g_hView = View().m_hWnd;
    g_resets = 0;
    HHOOK hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, CountResets, NULL, ::GetCurrentThreadId());
    View().LockUpdate();
    grid.GetCategories()->GetAt(0)->GetChilds()->Clear();
    grid.GetCategories()->GetAt(1)->GetChilds()->Clear();
    EXPECT_EQ(0, g_resets);
    View().UnlockUpdate();
    ::UnhookWindowsHookEx(hHook);
    EXPECT_EQ(1, g_resets);
    EXPECT_EQ(2, Rows());
}

TEST_F(GridPageTest, VariableHeightSwitchToTheSameValueDoesNothing)
{
    HWND hBefore = View().m_hWnd;
    grid.SetSortMode(1);
    EXPECT_EQ(hBefore, View().m_hWnd);
    grid.SetSortMode(0);
    EXPECT_FALSE(View().GetStyle() & LBS_OWNERDRAWVARIABLE);
    EXPECT_EQ(7, Rows());
}

TEST_F(GridPageTest, AVerbClickWithABadIndexIsIgnored)
{
    grid.GetVerbs()->Add("Reset", 1);
    grid.OnVerbClick(5, CPoint(1, 1));
    grid.OnVerbClick(-1, CPoint(1, 1));
    EXPECT_TRUE(page.codes.empty());
    grid.OnVerbClick(0, CPoint(1, 1));
    EXPECT_EQ(std::vector<int>({GRIDN_VERB_CLICK}), page.codes);
}

TEST_F(GridPageTest, ColoursAndFontsResolveFromItemMetricsThenDefaults)
{
    CQXPPropertyGridPainter* p = grid.GetPaintManager();
    CQXPPropertyGridItem* pCategory = grid.GetCategories()->GetAt(0);
    EXPECT_EQ(C(8), p->GetItemTextColor(pText, FALSE));
    EXPECT_EQ(C(17), p->GetItemTextColor(pCategory, FALSE));
    pText->SetReadOnly(TRUE);
    EXPECT_EQ(C(17), p->GetItemTextColor(pText, FALSE));
    pText->GetMetrics(TRUE)->m_clrFore = RGB(1, 2, 3);
    EXPECT_EQ(RGB(1, 2, 3), p->GetItemTextColor(pText, TRUE));
    EXPECT_EQ(C(17), p->GetItemTextColor(pText, FALSE));
    EXPECT_EQ(C(5), p->GetItemBackColor(pText, TRUE));
    pText->GetMetrics(FALSE)->m_clrBack = RGB(9, 9, 9);
    EXPECT_EQ(RGB(9, 9, 9), p->GetItemBackColor(pText, FALSE));
    EXPECT_EQ(p->GetBoldFont(), p->GetItemFont(pCategory, FALSE));
    EXPECT_EQ(p->GetNormalFont(), p->GetItemFont(pText, TRUE));
    pText->OnValueChanged("changed");
    EXPECT_EQ(p->GetNormalFont(), p->GetItemFont(pText, TRUE));
    grid.HighlightChangedItems(TRUE);
    EXPECT_EQ(p->GetBoldFont(), p->GetItemFont(pText, TRUE));
}

// ---------------------------------------------------------------------------
// Pixel probes on a memory DC

struct MemoryRow {
    HDC hdc;
    HBITMAP hbm;
    HGDIOBJ hOld;
    MemoryRow(int cx, int cy)
    {
        HDC hScreen = ::GetDC(NULL);
        hdc = ::CreateCompatibleDC(hScreen);
        hbm = ::CreateCompatibleBitmap(hScreen, cx, cy);
        ::ReleaseDC(NULL, hScreen);
        hOld = ::SelectObject(hdc, hbm);
    }
    ~MemoryRow()
    {
        ::SelectObject(hdc, hOld);
        ::DeleteObject(hbm);
        ::DeleteDC(hdc);
    }
};

void DrawRow(CQXPPropertyGrid& grid, CQXPPropertyGridItem* pItem, HDC hdc, UINT state)
{
    CRect rc = pItem->GetItemRect();
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_LISTBOX;
    dis.itemID = (UINT)pItem->GetIndex();
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hwndItem = grid.GetView()->m_hWnd;
    dis.hDC = hdc;
    dis.rcItem = CRect(0, 0, rc.Width(), rc.Height());
    dis.itemData = (ULONG_PTR)pItem;
    grid.GetPaintManager()->DrawItem(&dis);
}

TEST_F(GridPageTest, PixelProbesOfRows)
{
    const int cx = pText->GetItemRect().Width(), cy = pText->GetItemRect().Height();
    const COLORREF clrLine = grid.GetPaintManager()->GetDefaultMetrics()->m_clrLine;
    MemoryRow mem(cx, cy);
    // A selected row while another window has the focus: the line colour.
    ::SetFocus(page.GetDlgItem(kNext)->m_hWnd);
    DrawRow(grid, pText, mem.hdc, ODS_SELECTED);
    EXPECT_EQ(clrLine, ::GetPixel(mem.hdc, 30, 2));
    // With the focus in the view: the highlight.
    View().SetFocus();
    DrawRow(grid, pText, mem.hdc, ODS_SELECTED);
    EXPECT_EQ(C(13), ::GetPixel(mem.hdc, 30, 2));
    // A read-only caption in colour 17.
    pText->SetReadOnly(TRUE);
    DrawRow(grid, pText, mem.hdc, 0);
    int n17 = 0;
    for (int x = 17; x < cx / 2; x++)
        for (int y = 0; y < cy; y++)
            n17 += ::GetPixel(mem.hdc, x, y) == C(17);
    EXPECT_GT(n17, 0);
    // Expand boxes: a category at level 0 at x 2, an item at level 2 at 2 + 14.
    CQXPPropertyGridItem* pCategory = grid.GetCategories()->GetAt(0);
    DrawRow(grid, pCategory, mem.hdc, 0);
    const int yMid = cy / 2;
    const COLORREF clrFrame = grid.GetPaintManager()->GetDefaultMetrics()->m_clrFore;
    EXPECT_EQ(clrFrame, ::GetPixel(mem.hdc, 2, yMid));
    EXPECT_NE(clrFrame, ::GetPixel(mem.hdc, 1, yMid));
    CQXPPropertyGridItem* pSub = pText->AddChildItem(new CQXPPropertyGridItem("Part", "x"));
    pSub->AddChildItem(new CQXPPropertyGridItem("Leaf", "y"));
    qmtest::PumpFor(20);
    ASSERT_EQ(2, pSub->GetIndent());
    ASSERT_TRUE(pSub->IsVisible() || (pText->Expand(), pSub->IsVisible()));
    DrawRow(grid, pSub, mem.hdc, 0);
    EXPECT_EQ(clrFrame, ::GetPixel(mem.hdc, 16, yMid));
    EXPECT_NE(clrFrame, ::GetPixel(mem.hdc, 15, yMid));
}

TEST_F(GridPageTest, ScreenshotsOfTheThreeLooks)
{
    ::SetForegroundWindow(page.m_hWnd);
    pChoice->Select();
    grid.GetVerbs()->Add("Reset all values", 1);
    grid.GetVerbs()->Add("Apply", 2);
    for (int look = 0; look < 3; look++) {
        grid.SetLook(look);
        EXPECT_EQ(look, grid.GetLook());
        qmtest::PumpFor(150);
        CRect rc;
        ::GetWindowRect(page.m_hWnd, &rc);
        std::string path = qmtest::ScreenshotDir(QM_BIN_DIR) + "/propgrid-look" + std::to_string(look) + ".png";
        EXPECT_TRUE(qmtest::SaveScreenPng(rc, path)) << path;
    }
}

// ---------------------------------------------------------------------------
// Input

TEST_F(GridPageTest, TypingAndEnterEditTheValueAndKeepThePageOpen)
{
    ClickValue(pText);
    ASSERT_EQ(EditHwnd(), ::GetFocus());
    Press({VK_END});
    Type("xy");
    Press({VK_RETURN});
    EXPECT_STREQ("alphaxy", pText->GetValue());
    EXPECT_TRUE(::IsWindowVisible(page.m_hWnd));
    std::vector<int> codes = CodesWithout({GRIDN_SELECTION_CHANGED});
    ASSERT_GE(codes.size(), 4u);
    EXPECT_EQ(GRIDN_REQUEST_EDIT, codes.front());
    EXPECT_EQ(GRIDN_EDIT_CHANGED, codes[1]);
    EXPECT_EQ(GRIDN_AFTER_EDIT, codes[codes.size() - 2]);
    EXPECT_EQ(GRIDN_VALUE_CHANGED, codes.back());
}

TEST_F(GridPageTest, EscapeRestoresTheValueAndSendsCancelEdit)
{
    ClickValue(pText);
    ASSERT_EQ(EditHwnd(), ::GetFocus());
    Type("zz");
    page.codes.clear();
    Press({VK_ESCAPE});
    EXPECT_STREQ("alpha", pText->GetValue());
    EXPECT_EQ(std::vector<int>({GRIDN_CANCEL_EDIT}), CodesWithout({GRIDN_SELECTION_CHANGED, GRIDN_EDIT_CHANGED}));
    EXPECT_TRUE(::IsWindowVisible(page.m_hWnd));
}

TEST_F(GridPageTest, DropDownListOpensUnderItsRowAndApplies)
{
    ClickValue(pChoice);
    HWND hList = grid.GetInplaceList().m_hWnd;
    ASSERT_TRUE(hList && ::IsWindowVisible(hList));
    EXPECT_TRUE(::GetWindowLongA(hList, GWL_EXSTYLE) & WS_EX_TOPMOST);
    CRect rcList, rcRow = pChoice->GetItemRect();
    ::GetWindowRect(hList, &rcList);
    View().ClientToScreen(&rcRow);
    EXPECT_EQ(rcRow.bottom, rcList.top);
    EXPECT_EQ(rcRow.right, rcList.right);
    EXPECT_LE(rcList.Width(), rcRow.Width() - 14);
    EXPECT_EQ(hList, ::GetFocus());
    page.codes.clear();
    Press({VK_DOWN});
    Press({VK_RETURN});
    EXPECT_STREQ("strict", pChoice->GetValue());
    EXPECT_EQ(std::vector<int>({GRIDN_AFTER_EDIT, GRIDN_VALUE_CHANGED}),
              CodesWithout({GRIDN_SELECTION_CHANGED}));
    EXPECT_FALSE(::IsWindowVisible(hList));
    EXPECT_TRUE(::IsWindowVisible(page.m_hWnd));
}

TEST_F(GridPageTest, AClickOutsideTheListSendsOneCancel)
{
    ClickValue(pChoice);
    HWND hList = grid.GetInplaceList().m_hWnd;
    ASSERT_TRUE(hList && ::IsWindowVisible(hList));
    page.codes.clear();
    ClickCaption(pText);
    EXPECT_FALSE(::IsWindowVisible(hList));
    EXPECT_EQ(std::vector<int>({GRIDN_CANCEL_EDIT}), CodesWithout({GRIDN_SELECTION_CHANGED}));
    EXPECT_STREQ("auto", pChoice->GetValue());
}

TEST_F(GridPageTest, F4AndAltDownOpenTheList)
{
    pChoice->Select();
    View().SetFocus();
    qmtest::PumpFor(30);
    Press({VK_F4});
    HWND hList = grid.GetInplaceList().m_hWnd;
    ASSERT_TRUE(hList && ::IsWindowVisible(hList));
    Press({VK_ESCAPE});
    EXPECT_FALSE(::IsWindowVisible(hList));
    View().SetFocus();
    qmtest::PumpFor(30);
    Press({VK_MENU, VK_DOWN});
    EXPECT_TRUE(::IsWindowVisible(hList));
}

TEST_F(GridPageTest, UpAndDownStepConstraintsWithoutWrappingADoubleClickWraps)
{
    ClickValue(pBool);
    ASSERT_EQ(EditHwnd(), ::GetFocus());
    EXPECT_EQ("True", EditText());
    Press({VK_DOWN});
    EXPECT_EQ("False", EditText());
    Press({VK_DOWN});
    EXPECT_EQ("False", EditText());
    Press({VK_UP});
    Press({VK_UP});
    EXPECT_EQ("True", EditText());
    // A double click steps forward with wrapping and applies at once.
    Press({VK_DOWN});
    Press({VK_RETURN});
    EXPECT_FALSE(pBool->GetBool());
    ClickValue(pBool);
    qmtest::PumpFor(::GetDoubleClickTime() + 100);
    POINT pt = ScreenOf(pBool->GetValueRect(), 10, 3);
    MouseAt(pt, MOUSEEVENTF_LEFTDOWN);
    MouseAt(pt, MOUSEEVENTF_LEFTUP);
    MouseAt(pt, MOUSEEVENTF_LEFTDOWN);
    MouseAt(pt, MOUSEEVENTF_LEFTUP);
    qmtest::PumpFor(150);
    EXPECT_TRUE(pBool->GetBool());
}

TEST_F(GridPageTest, KeysFoldRows)
{
    CQXPPropertyGridItem* pPretty = grid.GetCategories()->GetAt(0);
    pPretty->Select();
    View().SetFocus();
    qmtest::PumpFor(30);
    struct Step {
        WORD key;
        int rows;
    } steps[] = {{VK_LEFT, 3}, {VK_RIGHT, 7}, {VK_SUBTRACT, 3}, {VK_ADD, 7}, {VK_RETURN, 3}, {VK_RETURN, 7}};
    for (const Step& s : steps) {
        if (s.key == VK_SUBTRACT || s.key == VK_ADD)
            Type(s.key == VK_SUBTRACT ? "-" : "+");
        else
            Press({s.key});
        EXPECT_EQ(s.rows, Rows()) << s.key;
    }
    EXPECT_TRUE(::IsWindowVisible(page.m_hWnd));
}

TEST_F(GridPageTest, HelpSplitterDragMovesThePaneAndEscapeLeavesIt)
{
    CRect rc;
    grid.GetClientRect(&rc);
    const int nHelp = grid.GetHelpHeight();
    POINT pt = {rc.Width() / 2, rc.bottom - nHelp - 2};
    ASSERT_EQ(qxpGridHitHelpSplitter, grid.HitTest(pt));
    grid.ClientToScreen(&pt);
    const POINT pt2 = {pt.x, pt.y - 30};
    // The drag is a modal loop on this thread: the input is queued first.
    // Escape while the band is held: a timer of the loop's own thread
    // presses it once the drag has moved; the button comes up afterwards.
    static HWND s_hGrid;
    s_hGrid = grid.m_hWnd;
    UINT_PTR idTimer = ::SetTimer(NULL, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(NULL, id);
        ::PostMessageA(s_hGrid, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    MouseAt(pt, MOUSEEVENTF_LEFTDOWN);
    MouseAt(pt2, MOUSEEVENTF_MOVE);
    qmtest::PumpFor(600);
    ::KillTimer(NULL, idTimer);
    MouseAt(pt2, MOUSEEVENTF_LEFTUP);
    qmtest::PumpFor(150);
    EXPECT_EQ(nHelp, grid.GetHelpHeight());
    MouseAt(pt, MOUSEEVENTF_LEFTDOWN);
    MouseAt(pt2, MOUSEEVENTF_MOVE);
    MouseAt(pt2, MOUSEEVENTF_LEFTUP);
    qmtest::PumpFor(150);
    EXPECT_EQ(nHelp + 30, grid.GetHelpHeight());
}

TEST_F(GridPageTest, TabVisitsViewEditButtonsThenTheNextPageControl)
{
    pBool->Select();
    View().SetFocus();
    qmtest::PumpFor(30);
    ASSERT_EQ(View().m_hWnd, ::GetFocus());
    Press({VK_TAB});
    EXPECT_EQ(EditHwnd(), ::GetFocus());
    Press({VK_TAB});
    EXPECT_EQ(View().m_hWnd, ::GetFocus());
    EXPECT_EQ(pBool->GetInplaceButtons()->Find(QXP_GRID_BUTTON_COMBO), View().GetFocusedButton());
    Press({VK_TAB});
    EXPECT_EQ(page.GetDlgItem(kNext)->m_hWnd, ::GetFocus());
}

TEST_F(GridPageTest, TheWheelKeepsTheInplaceEditOnItsRow)
{
    for (int i = 0; i < 30; i++)
        pMarkup->AddChildItem(new CQXPPropertyGridItem(CString("Option ") + CString(std::to_string(i).c_str()), "v"));
    qmtest::PumpFor(30);
    pText->Select();
    qmtest::PumpFor(30);
    ASSERT_TRUE(::IsWindowVisible(EditHwnd()));
    POINT pt = ScreenOf(pText->GetItemRect(), 20, 3);
    ::SetCursorPos(pt.x, pt.y);
    View().SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    qmtest::PumpFor(50);
    ASSERT_GT(View().GetTopIndex(), 0);
    CRect rcEdit, rcValue = pText->GetValueRect();
    ::GetWindowRect(EditHwnd(), &rcEdit);
    View().ScreenToClient(&rcEdit);
    EXPECT_EQ(rcValue.top, rcEdit.top);
}

TEST_F(GridPageTest, AccessibilityShowsATableOfRows)
{
    ::CoInitialize(NULL);
    IAccessible* pAcc = NULL;
    ASSERT_EQ(S_OK, ::AccessibleObjectFromWindow(View().m_hWnd, (DWORD)OBJID_CLIENT, IID_IAccessible, (void**)&pAcc));
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = NULL;
    ASSERT_EQ(S_OK, pAcc->get_accName(self, &name));
    EXPECT_STREQ(L"Properties Window", name);
    ::SysFreeString(name);
    VARIANT role;
    ASSERT_EQ(S_OK, pAcc->get_accRole(self, &role));
    EXPECT_EQ(ROLE_SYSTEM_TABLE, role.lVal);
    long n = 0;
    ASSERT_EQ(S_OK, pAcc->get_accChildCount(&n));
    EXPECT_EQ(7, n);
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = pText->GetIndex() + 1;
    IDispatch* pDisp = NULL;
    ASSERT_EQ(S_OK, pAcc->get_accChild(child, &pDisp));
    IAccessible* pRow = NULL;
    ASSERT_EQ(S_OK, pDisp->QueryInterface(IID_IAccessible, (void**)&pRow));
    ASSERT_EQ(S_OK, pRow->get_accRole(self, &role));
    EXPECT_EQ(ROLE_SYSTEM_ROW, role.lVal);
    BSTR s = NULL;
    ASSERT_EQ(S_OK, pRow->get_accName(self, &s));
    EXPECT_STREQ(L"Name", s);
    ::SysFreeString(s);
    ASSERT_EQ(S_OK, pRow->get_accValue(self, &s));
    EXPECT_STREQ(L"alpha", s);
    ::SysFreeString(s);
    ASSERT_EQ(S_OK, pRow->get_accDescription(self, &s));
    EXPECT_STREQ(L"The name of the thing.", s);
    ::SysFreeString(s);
    pRow->Release();
    pDisp->Release();
    pAcc->Release();
    ::CoUninitialize();
}

// A character beyond ASCII (as the framework's pump hands it on) fits no
// position of a mask and is refused; without a mask the edit takes it.
TEST(MaskedEditWindow, LettersBeyondAsciiAreRefusedByTheMask)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, 0, 0, 200, 60, NULL, NULL));
    CMaskedEdit masked, plain;
    ASSERT_TRUE(masked.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 190, 20), &parent, 1));
    ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE, CRect(0, 30, 190, 50), &parent, 2));
    ASSERT_TRUE(masked.SetEditMask("000", "___"));
    ASSERT_TRUE(masked.IsMaskActive());
    CString before;
    masked.GetWindowText(before);
    for (UINT cp : {0x3B1u, 0x65E5u, 0x1F600u}) {
        masked.SendMessage(WM_UNICHAR, cp, 1);
        plain.SendMessage(WM_UNICHAR, cp, 1);
    }
    CString after, typed;
    masked.GetWindowText(after);
    plain.GetWindowText(typed);
    EXPECT_STREQ(before, after);
    EXPECT_STREQ("\xCE\xB1\xE6\x97\xA5\xF0\x9F\x98\x80", typed);
    parent.DestroyWindow();
}

} // namespace
