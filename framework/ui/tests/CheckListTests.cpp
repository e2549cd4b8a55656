// The check list box and the title static on real windows: a click on an
// item's box and Space on the caret item toggle its check and tell the
// parent; a click on the text only selects; disabled items keep their
// check; checks move with their items.
#include "UiTestSupport.h"

#include <fx/checklistbox.h>

#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/script.h>

#include <gtest/gtest.h>

namespace {

// The parent records the check notifications of its list.
class CheckParent : public CWnd {
public:
    std::vector<int> m_notified; // control id of each CLBN_CHKCHANGE

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (HIWORD(wParam) == CLBN_CHKCHANGE)
            m_notified.push_back(LOWORD(wParam));
        return CWnd::OnCommand(wParam, lParam);
    }
};

const UINT kListId = 42;

class CheckListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, uitest::TestClass(), "checks", WS_POPUP | WS_VISIBLE | WS_CAPTION, 100, 100,
                                      300, 220, NULL, NULL));
        HWND hList = ::CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                                       WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY,
                                       10, 10, 200, 150, m_parent.m_hWnd, (HMENU)(UINT_PTR)kListId, NULL, NULL);
        ASSERT_NE(hList, nullptr);
        ASSERT_TRUE(m_list.SubclassWindow(hList));
        for (const char* pszItem : {"Standard", "Formatting", "Find"})
            m_list.AddString(pszItem);
        ::SetForegroundWindow(m_parent.m_hWnd);
        m_list.SetFocus();
        qmtest::PumpUntil([this] { return ::GetFocus() == m_list.m_hWnd; });
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        qmtest::ParkPointer();
    }

    // A screen point inside item nIndex: on its box or on its text.
    POINT PointOnItem(int nIndex, bool bOnBox)
    {
        CRect rcItem;
        m_list.GetItemRect(nIndex, &rcItem);
        CRect rcBox = m_list.GetCheckBoxRect(rcItem);
        POINT pt = bOnBox ? POINT{rcBox.CenterPoint().x, rcBox.CenterPoint().y}
                          : POINT{rcItem.right - 20, rcItem.CenterPoint().y};
        ::ClientToScreen(m_list.m_hWnd, &pt);
        return pt;
    }

    CheckParent m_parent;
    CCheckListBox m_list;
};

TEST_F(CheckListTest, ClickOnTheBoxTogglesAndTellsTheParent)
{
    qmtest::ClickAt(PointOnItem(1, true));
    ASSERT_TRUE(qmtest::PumpUntil([this] { return m_list.GetCheck(1) == 1; }));
    EXPECT_EQ(m_parent.m_notified, std::vector<int>{(int)kListId});
    EXPECT_EQ(m_list.GetCheck(0), 0);

    qmtest::ClickAt(PointOnItem(1, true));
    ASSERT_TRUE(qmtest::PumpUntil([this] { return m_list.GetCheck(1) == 0; }));
    EXPECT_EQ(m_parent.m_notified.size(), 2u);
}

TEST_F(CheckListTest, ClickOnTheTextOnlySelects)
{
    qmtest::ClickAt(PointOnItem(2, false));
    ASSERT_TRUE(qmtest::PumpUntil([this] { return m_list.GetCurSel() == 2; }));
    EXPECT_EQ(m_list.GetCheck(2), 0);
    EXPECT_TRUE(m_parent.m_notified.empty());
}

TEST_F(CheckListTest, SpaceTogglesTheCaretItem)
{
    m_list.SetCurSel(2);
    qmtest::KeyStroke(VK_SPACE);
    ASSERT_TRUE(qmtest::PumpUntil([this] { return m_list.GetCheck(2) == 1; }));
    EXPECT_EQ(m_parent.m_notified, std::vector<int>{(int)kListId});
    EXPECT_EQ(m_list.GetCheck(1), 0);
}

TEST_F(CheckListTest, ADisabledItemKeepsItsCheck)
{
    m_list.SetCheck(0, 1);
    m_list.Enable(0, FALSE);
    qmtest::ClickAt(PointOnItem(0, true));
    // The click selects the item; the check stays.
    ASSERT_TRUE(qmtest::PumpUntil([this] { return m_list.GetCurSel() == 0; }));
    qmtest::KeyStroke(VK_SPACE);
    qmtest::PumpFor(100);
    EXPECT_EQ(m_list.GetCheck(0), 1);
    EXPECT_TRUE(m_parent.m_notified.empty());
    EXPECT_FALSE(m_list.IsEnabled(0));
}

TEST_F(CheckListTest, ChecksMoveWithTheirItems)
{
    m_list.SetCheck(1, 1); // "Formatting"
    m_list.InsertString(0, "Menu Bar");
    EXPECT_EQ(m_list.GetCheck(2), 1);
    EXPECT_EQ(m_list.GetCheck(1), 0);
    m_list.DeleteString(0);
    EXPECT_EQ(m_list.GetCheck(1), 1);
    m_list.ResetContent();
    EXPECT_EQ(m_list.GetCount(), 0);
    m_list.AddString("again");
    EXPECT_EQ(m_list.GetCheck(0), 0);
    // Out of range: nothing, and unchecked.
    m_list.SetCheck(7, 1);
    EXPECT_EQ(m_list.GetCheck(7), 0);
}

TEST(TitleStatic, TheLineRunsFromAfterTheTextToTheFarEdge)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, uitest::TestClass(), "titles", WS_POPUP, 0, 0, 300, 100, NULL, NULL));
    CTitleStatic title;
    ASSERT_TRUE(title.Create("Other", WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 26), &parent));
    CClientDC dc(&title);
    CRect rc(0, 0, 200, 16);
    int nStart = 0, nEnd = 0;
    title.GetLineExtent(&dc, rc, &nStart, &nEnd);
    EXPECT_EQ(nStart, dc.GetTextExtent(CString("Other")).cx + 6);
    EXPECT_EQ(nEnd, 200);

    title.ModifyStyleEx(0, WS_EX_RTLREADING);
    title.GetLineExtent(&dc, rc, &nStart, &nEnd);
    EXPECT_EQ(nStart, 0);
    EXPECT_EQ(nEnd, 200 - dc.GetTextExtent(CString("Other")).cx - 6);
    parent.DestroyWindow();
}

// A title whose style gives its colours: the text in the style's colour and
// one line in its edge colour, with no highlight line below; without a
// style, a shadow line over a highlight line.
class CStyledTitle : public CTitleStatic {
public:
    BOOL m_bStyled = TRUE;
    BOOL GetThemeColors(COLORREF* pclrText, COLORREF* pclrEdge) override
    {
        if (!m_bStyled)
            return FALSE;
        *pclrText = RGB(0, 0, 200);
        *pclrEdge = RGB(200, 0, 0);
        return TRUE;
    }
};

TEST(TitleStatic, AStyleGivesTheTextColourAndOneEdgeLine)
{
    CWnd parent;
    ASSERT_TRUE(
        parent.CreateEx(0, uitest::TestClass(), "titles", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, NULL, NULL));
    CStyledTitle title;
    ASSERT_TRUE(title.Create("Other", WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 26), &parent));
    struct Case {
        BOOL bStyled;
        COLORREF clrLine;
        COLORREF clrBelow; // CLR_NONE: the background, as above the line
        bool bBlueText;
    };
    const Case cases[] = {
        {TRUE, RGB(200, 0, 0), CLR_NONE, true},
        {FALSE, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT), false},
    };
    for (const Case& c : cases) {
        title.m_bStyled = c.bStyled;
        title.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        CClientDC dc(&title);
        int nStart = 0, nEnd = 0;
        title.GetLineExtent(&dc, CRect(0, 0, 200, 16), &nStart, &nEnd);
        EXPECT_EQ(dc.GetPixel(nStart + 20, 8), c.clrLine) << c.bStyled;
        EXPECT_EQ(dc.GetPixel(nStart + 20, 9), c.clrBelow == CLR_NONE ? dc.GetPixel(nStart + 20, 2) : c.clrBelow)
            << c.bStyled;
        bool bBlue = false;
        for (int x = 0; x < nStart - 6 && !bBlue; ++x)
            for (int y = 0; y < 16 && !bBlue; ++y)
                bBlue = dc.GetPixel(x, y) == RGB(0, 0, 200);
        EXPECT_EQ(bBlue, c.bBlueText) << c.bStyled;
    }
    parent.DestroyWindow();
}

} // namespace
