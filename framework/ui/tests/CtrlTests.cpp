// Control wrappers on real controls, menus from resources and image lists.
#include "UiTestSupport.h"
#include "ui_test.h"

#include <gtest/gtest.h>

namespace {

class CtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, uitest::TestClass(), "parent", WS_POPUP, 0, 0, 400, 300, NULL, NULL));
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    CWnd m_parent;
};

TEST_F(CtrlTest, ListCtrlItemsTextsAndSelection)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT, CRect(0, 0, 300, 200), &m_parent, 10));
    list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    EXPECT_EQ(0, list.InsertColumn(0, "Name", LVCFMT_LEFT, 100));
    EXPECT_EQ(1, list.InsertColumn(1, "Value", LVCFMT_LEFT, 100));
    std::string strLong(700, 'x');
    EXPECT_EQ(0, list.InsertItem(0, "first"));
    EXPECT_EQ(1, list.InsertItem(1, "second"));
    EXPECT_EQ(2, list.InsertItem(2, strLong.c_str()));
    EXPECT_TRUE(list.SetItemText(1, 1, "two"));
    EXPECT_EQ(3, list.GetItemCount());
    EXPECT_STREQ("second", list.GetItemText(1, 0));
    EXPECT_STREQ("two", list.GetItemText(1, 1));
    EXPECT_EQ(strLong, list.GetItemText(2, 0).GetString()); // longer than any first guess
    EXPECT_TRUE(list.SetItemData(2, 0xABCDEF));
    EXPECT_EQ((DWORD_PTR)0xABCDEF, list.GetItemData(2));

    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    std::vector<int> selected;
    for (POSITION pos = list.GetFirstSelectedItemPosition(); pos != NULL;)
        selected.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ((std::vector<int>{0, 2}), selected);
    EXPECT_EQ(2u, list.GetSelectedCount());

    list.SetCheck(1, TRUE);
    EXPECT_TRUE(list.GetCheck(1));
    EXPECT_FALSE(list.GetCheck(0));
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_STREQ("second", list.GetItemText(0, 0));
    EXPECT_EQ(2, list.GetHeaderCtrl()->GetItemCount());
}

TEST_F(CtrlTest, TreeCtrlHierarchy)
{
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | TVS_HASLINES | TVS_EDITLABELS, CRect(0, 0, 200, 200), &m_parent, 11));
    HTREEITEM hRoot = tree.InsertItem("root");
    HTREEITEM hA = tree.InsertItem("a", hRoot);
    HTREEITEM hB = tree.InsertItem("b", 1, 2, hRoot);
    HTREEITEM hA1 = tree.InsertItem("a1", hA);
    ASSERT_TRUE(hRoot && hA && hB && hA1);
    EXPECT_EQ(hRoot, tree.GetRootItem());
    EXPECT_EQ(hA, tree.GetChildItem(hRoot));
    EXPECT_EQ(hB, tree.GetNextSiblingItem(hA));
    EXPECT_EQ(NULL, tree.GetNextSiblingItem(hB));
    EXPECT_EQ(hRoot, tree.GetParentItem(hA1) == hA ? tree.GetParentItem(hA) : NULL);
    EXPECT_TRUE(tree.ItemHasChildren(hA));
    EXPECT_FALSE(tree.ItemHasChildren(hB));
    EXPECT_STREQ("a1", tree.GetItemText(hA1));
    int nImage = -1, nSelected = -1;
    EXPECT_TRUE(tree.GetItemImage(hB, nImage, nSelected));
    EXPECT_EQ(1, nImage);
    EXPECT_EQ(2, nSelected);
    EXPECT_TRUE(tree.SetItemData(hB, 77));
    EXPECT_EQ((DWORD_PTR)77, tree.GetItemData(hB));
    EXPECT_TRUE(tree.SetItemText(hB, "renamed"));
    EXPECT_STREQ("renamed", tree.GetItemText(hB));
    EXPECT_EQ(4u, tree.GetCount());
    EXPECT_TRUE(tree.Expand(hRoot, TVE_EXPAND));
    EXPECT_TRUE(tree.SelectItem(hB));
    EXPECT_EQ(hB, tree.GetSelectedItem());
    EXPECT_TRUE(tree.DeleteItem(hA));
    EXPECT_EQ(2u, tree.GetCount());
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(0u, tree.GetCount());
}

TEST_F(CtrlTest, ListAndComboBoxes)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWN, CRect(0, 0, 100, 100), &m_parent, 12));
    combo.AddString("one");
    combo.AddString("two");
    combo.InsertString(0, "zero");
    EXPECT_EQ(3, combo.GetCount());
    CString str;
    combo.GetLBText(2, str);
    EXPECT_STREQ("two", str);
    EXPECT_EQ(1, combo.FindStringExact(-1, "one"));
    EXPECT_EQ(CB_ERR, combo.FindStringExact(-1, "on"));
    EXPECT_EQ(1, combo.FindString(-1, "on"));
    int nData = 5;
    combo.SetItemDataPtr(1, &nData);
    EXPECT_EQ(&nData, combo.GetItemDataPtr(1));
    combo.SetCurSel(2);
    EXPECT_EQ(2, combo.GetCurSel());
    combo.ResetContent();
    EXPECT_EQ(0, combo.GetCount());

    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | LBS_NOTIFY, CRect(0, 0, 100, 100), &m_parent, 13));
    list.AddString("alpha");
    list.AddString("beta");
    list.GetText(1, str);
    EXPECT_STREQ("beta", str);
    EXPECT_EQ(5, list.GetTextLen(0));
    EXPECT_EQ(0, list.FindStringExact(-1, "alpha"));
    list.SetItemData(0, 99);
    EXPECT_EQ((DWORD_PTR)99, list.GetItemData(0));
    EXPECT_EQ(1, list.DeleteString(0));
    str = "unchanged";
    list.GetText(5, str); // no such item
    EXPECT_TRUE(str.IsEmpty());
}

TEST_F(CtrlTest, EditAndRichEdit)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL, CRect(0, 0, 200, 100), &m_parent, 14));
    edit.SetWindowText("first line\r\nsecond");
    EXPECT_EQ(2, edit.GetLineCount());
    char buf[32] = "";
    int nLen = edit.GetLine(1, buf, sizeof(buf) - 1);
    buf[nLen] = '\0';
    EXPECT_STREQ("second", buf);
    edit.SetSel(0, 5);
    int nStart = -1, nEnd = -1;
    edit.GetSel(nStart, nEnd);
    EXPECT_EQ(0, nStart);
    EXPECT_EQ(5, nEnd);
    edit.ReplaceSel("FIRST");
    CString str;
    edit.GetWindowText(str);
    EXPECT_STREQ("FIRST line\r\nsecond", str);
    edit.LimitText(8);
    EXPECT_EQ(8u, edit.GetLimitText());

    CRichEditCtrl rich;
    ASSERT_TRUE(rich.Create(WS_CHILD | ES_MULTILINE, CRect(0, 0, 200, 100), &m_parent, 15));
    rich.SetWindowText("rich text");
    EXPECT_EQ(9, rich.GetTextLength());
    rich.SetSel(0, 4);
    rich.ReplaceSel("poor");
    rich.GetWindowText(str);
    EXPECT_STREQ("poor text", str);
}

TEST_F(CtrlTest, SpinProgressSliderTabsAndTips)
{
    CEdit buddy;
    ASSERT_TRUE(buddy.Create(WS_CHILD, CRect(0, 0, 50, 20), &m_parent, 16));
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | UDS_SETBUDDYINT, CRect(50, 0, 70, 20), &m_parent, 17));
    spin.SetBuddy(&buddy);
    EXPECT_EQ(buddy.m_hWnd, spin.GetBuddy()->m_hWnd);
    spin.SetRange32(-100, 100000);
    spin.SetPos(70000);
    EXPECT_EQ(70000, spin.GetPos());
    int lo = 0, hi = 0;
    spin.GetRange32(lo, hi);
    EXPECT_EQ(-100, lo);
    EXPECT_EQ(100000, hi);

    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD, CRect(0, 30, 100, 40), &m_parent, 18));
    progress.SetRange32(0, 500);
    progress.SetPos(250);
    progress.SetStep(10);
    progress.StepIt();
    EXPECT_EQ(260, progress.GetPos());
    progress.GetRange(lo, hi);
    EXPECT_EQ(500, hi);

    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_CHILD, CRect(0, 50, 100, 70), &m_parent, 19));
    slider.SetRange(5, 50);
    slider.SetPos(20);
    EXPECT_EQ(20, slider.GetPos());
    slider.SetPos(99);
    EXPECT_EQ(50, slider.GetPos()); // kept in range

    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD, CRect(0, 80, 200, 120), &m_parent, 20));
    tabs.InsertItem(0, "General");
    tabs.InsertItem(1, "Colours");
    EXPECT_EQ(2, tabs.GetItemCount());
    char buf[32] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = sizeof(buf);
    ASSERT_TRUE(tabs.GetItem(1, &item));
    EXPECT_STREQ("Colours", buf);

    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&m_parent));
    EXPECT_TRUE(tips.AddTool(&buddy, "The buddy"));
    EXPECT_EQ(1, tips.GetToolCount());
    CString str;
    tips.GetText(str, &buddy);
    EXPECT_STREQ("The buddy", str);
    tips.UpdateTipText("Changed", &buddy);
    tips.GetText(str, &buddy);
    EXPECT_STREQ("Changed", str);
    tips.DelTool(&buddy);
    EXPECT_EQ(0, tips.GetToolCount());
    tips.DestroyWindow();
}

TEST(ResourceTest, MenusAndImageLists)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_APP_MENU));
    CMenu* pFile = menu.GetSubMenu(0);
    ASSERT_TRUE(pFile != NULL);
    EXPECT_EQ(4u, pFile->GetMenuItemCount());
    EXPECT_EQ((UINT)IDM_APP_SHEET, pFile->GetMenuItemID(1));
    EXPECT_EQ(0u, pFile->GetMenuItemID(2)); // separator
    CString str;
    pFile->GetMenuString(IDM_APP_EXIT, str, MF_BYCOMMAND);
    EXPECT_STREQ("E&xit", str);
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(31999));

    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 2));
    CClientDC screen(NULL);
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&screen, 32, 16));
    EXPECT_EQ(0, images.Add(&bmp, RGB(255, 0, 255))); // two images of 16
    EXPECT_EQ(2, images.GetImageCount());
    HICON hIcon = images.ExtractIcon(1);
    EXPECT_TRUE(hIcon != NULL);
    EXPECT_EQ(2, images.Add(hIcon));
    DestroyIcon(hIcon);
    EXPECT_EQ(&images, CImageList::FromHandle(images.m_hImageList));
    HIMAGELIST h = images.Detach();
    CImageList* pTemp = CImageList::FromHandle(h);
    EXPECT_NE(&images, pTemp);
    EXPECT_EQ(3, pTemp->GetImageCount());
    AfxInternalOnIdle(1);
    EXPECT_EQ(3, ImageList_GetImageCount(h)); // the temporary did not destroy it
    ImageList_Destroy(h);
}

} // namespace
