// basetree_tests.cpp - the solution bar trees' base on a real tree in a
// hidden frame: dragging (refused and allowed drops, where a copy goes, its
// data), the 800 ms expand and label editing.
#include "coretest.h"
#include "basetree.h"

#include <qmtest/pump.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A tree that records the four operations the base calls.
class CRecordingTree : public CBaseTreeCtrl {
public:
    struct Copy {
        HTREEITEM hOld, hNew;
        DWORD_PTR data;
    };
    std::vector<Copy> m_copies;
    std::vector<std::pair<HTREEITEM, HTREEITEM>> m_moves;
    std::vector<std::string> m_renames;

    void CopyItemData(HTREEITEM hOld, HTREEITEM hNew, DWORD_PTR dwData) override
    {
        m_copies.push_back({hOld, hNew, dwData});
        CBaseTreeCtrl::CopyItemData(hOld, hNew, dwData);
    }
    void ItemMoved(HTREEITEM hDrag, HTREEITEM hTarget) override { m_moves.push_back({hDrag, hTarget}); }
    void RenameItem(HTREEITEM hItem, LPCSTR lpszText, int nFlag) override
    {
        m_renames.push_back(std::string(lpszText) + "/" + std::to_string(nFlag));
        CBaseTreeCtrl::RenameItem(hItem, lpszText, nFlag);
    }
};

class BaseTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_frame.Create(NULL, "Tree test", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 500)));
        ASSERT_TRUE(m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_EDITLABELS, CRect(0, 0, 380, 460), &m_frame, 100));
        EXPECT_EQ(m_tree.GetStyle() & (TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT), 7u) << "buttons, lines and lines at the root";
        // Root (folder): A (folder: A1 file, A2 folder: A2x file), B folder
        // (B1 file, collapsed), F file.
        m_hRoot = Add("Root", TVI_ROOT, &m_folder);
        m_hA = Add("A", m_hRoot, &m_folder);
        m_hA1 = Add("A1", m_hA, &m_file);
        m_hA2 = Add("A2", m_hA, &m_folder2);
        m_hA2x = Add("A2x", m_hA2, &m_file2);
        m_hB = Add("B", m_hRoot, &m_folder);
        m_hB1 = Add("B1", m_hB, &m_file);
        m_hF = Add("F", m_hRoot, &m_file);
        m_tree.Expand(m_hRoot, TVE_EXPAND);
        m_tree.Expand(m_hA, TVE_EXPAND);
        m_tree.Expand(m_hA2, TVE_EXPAND);
    }
    void TearDown() override
    {
        if (::IsWindow(m_frame.GetSafeHwnd()))
            m_frame.DestroyWindow();
        qmtest::PumpMessages();
    }
    HTREEITEM Add(const char* text, HTREEITEM hParent, CBaseTreeNode* pNode)
    {
        HTREEITEM h = m_tree.InsertItem(text, hParent, TVI_LAST);
        m_tree.SetItemData(h, (DWORD_PTR)pNode);
        return h;
    }
    void BeginDrag(HTREEITEM hItem)
    {
        NMTREEVIEWA nm = {};
        nm.hdr.hwndFrom = m_tree.m_hWnd;
        nm.hdr.idFrom = 100;
        nm.hdr.code = TVN_BEGINDRAGA;
        nm.itemNew.hItem = hItem;
        m_frame.SendMessage(WM_NOTIFY, 100, (LPARAM)&nm);
    }
    CPoint PointOn(HTREEITEM hItem)
    {
        CRect rc;
        m_tree.GetItemRect(hItem, &rc, TRUE);
        return rc.CenterPoint();
    }
    void MoveTo(HTREEITEM hItem)
    {
        CPoint pt = PointOn(hItem);
        m_tree.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    }
    void DropOn(HTREEITEM hItem)
    {
        MoveTo(hItem);
        CPoint pt = PointOn(hItem);
        m_tree.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    // The labels below an item (depth first), "Label(child, ...)".
    std::string Shape(HTREEITEM hParent)
    {
        std::string out;
        for (HTREEITEM h = m_tree.GetChildItem(hParent); h != NULL; h = m_tree.GetNextSiblingItem(h)) {
            if (!out.empty())
                out += ",";
            out += std::string(m_tree.GetItemText(h));
            if (m_tree.GetChildItem(h) != NULL)
                out += "(" + Shape(h) + ")";
        }
        return out;
    }
    HTREEITEM Child(HTREEITEM hParent, const char* text)
    {
        for (HTREEITEM h = m_tree.GetChildItem(hParent); h != NULL; h = m_tree.GetNextSiblingItem(h))
            if (m_tree.GetItemText(h) == text)
                return h;
        return NULL;
    }

    CFrameWnd m_frame;
    CRecordingTree m_tree;
    CBaseTreeNode m_folder = {1}, m_folder2 = {1}, m_file = {0}, m_file2 = {0};
    HTREEITEM m_hRoot, m_hA, m_hA1, m_hA2, m_hA2x, m_hB, m_hB1, m_hF;
};

} // namespace

TEST_F(BaseTreeTest, FolderItemsAreThoseWhoseRecordSaysSo)
{
    EXPECT_TRUE(m_tree.IsFolderItem(m_hA));
    EXPECT_FALSE(m_tree.IsFolderItem(m_hF));
    HTREEITEM hBare = m_tree.InsertItem("no data", m_hRoot, TVI_LAST);
    EXPECT_FALSE(m_tree.IsFolderItem(hBare)) << "an item without data is no folder";
    EXPECT_FALSE(m_tree.IsFolderItem(NULL));
    m_tree.DeleteBranch(m_hA);
    EXPECT_EQ(Shape(m_hRoot), "B(B1),F,no data");
}

TEST_F(BaseTreeTest, TheFirstLevelCannotBeDragged)
{
    BeginDrag(m_hRoot);
    EXPECT_FALSE(m_tree.IsDragging());
    DropOn(m_hB);
    EXPECT_TRUE(m_tree.m_moves.empty());
    EXPECT_FALSE(m_tree.GetModified());
}

TEST_F(BaseTreeTest, NoDropOnItselfOrIntoItsOwnBranch)
{
    BeginDrag(m_hA);
    ASSERT_TRUE(m_tree.IsDragging());
    EXPECT_EQ(::GetCapture(), m_tree.m_hWnd);
    for (HTREEITEM hTarget : {m_hA, m_hA1, m_hA2, m_hA2x}) {
        MoveTo(hTarget);
        EXPECT_FALSE(m_tree.IsDropAllowed()) << m_tree.GetItemText(hTarget).GetString();
        EXPECT_EQ(::GetCursor(), ::LoadCursor(NULL, IDC_NO));
    }
    MoveTo(m_hB);
    EXPECT_TRUE(m_tree.IsDropAllowed());
    EXPECT_EQ(::GetCursor(), ::LoadCursor(NULL, IDC_ARROW));
    DropOn(m_hA2);
    EXPECT_FALSE(m_tree.IsDragging());
    EXPECT_NE(::GetCapture(), m_tree.m_hWnd);
    EXPECT_TRUE(m_tree.m_moves.empty());
    EXPECT_TRUE(m_tree.m_copies.empty());
    EXPECT_EQ(Shape(m_hRoot), "A(A1,A2(A2x)),B(B1),F");
    EXPECT_FALSE(m_tree.GetModified());
}

TEST_F(BaseTreeTest, ABranchDroppedOnAFolderBecomesItsLastChildWithItsData)
{
    BeginDrag(m_hA2);
    DropOn(m_hB);
    EXPECT_EQ(Shape(m_hRoot), "A(A1),B(B1,A2(A2x)),F");
    ASSERT_EQ(m_tree.m_moves.size(), 1u);
    EXPECT_EQ(m_tree.m_moves[0].first, m_hA2);
    EXPECT_EQ(m_tree.m_moves[0].second, m_hB);
    ASSERT_EQ(m_tree.m_copies.size(), 2u) << "the item and its child";
    EXPECT_EQ(m_tree.m_copies[0].data, (DWORD_PTR)&m_folder2);
    EXPECT_EQ(m_tree.m_copies[1].data, (DWORD_PTR)&m_file2);
    HTREEITEM hNew = Child(m_hB, "A2");
    ASSERT_NE(hNew, nullptr);
    EXPECT_EQ(m_tree.GetItemData(hNew), (DWORD_PTR)&m_folder2);
    EXPECT_EQ(m_tree.GetItemData(Child(hNew, "A2x")), (DWORD_PTR)&m_file2);
    EXPECT_EQ(m_tree.GetSelectedItem(), hNew);
    EXPECT_TRUE(m_tree.GetItemState(hNew, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_TRUE(m_tree.GetModified());
}

TEST_F(BaseTreeTest, AnItemDroppedOnAFileGoesBesideItJustBefore)
{
    // F lies under Root: the copy goes there, before F.
    BeginDrag(m_hA1);
    DropOn(m_hF);
    EXPECT_EQ(Shape(m_hRoot), "A(A2(A2x)),B(B1),A1,F");
    // B1 lies under B (not the dragged item's parent): the copy goes under B.
    m_tree.Expand(m_hB, TVE_EXPAND);
    BeginDrag(m_hA2x);
    DropOn(m_hB1);
    EXPECT_EQ(Shape(m_hRoot), "A(A2),B(A2x,B1),A1,F");
    EXPECT_EQ(m_tree.m_moves.size(), 2u);
}

TEST_F(BaseTreeTest, HoveringOverAFolderWhileDraggingExpandsItAfter800ms)
{
    ASSERT_FALSE(m_tree.GetItemState(m_hB, TVIS_EXPANDED) & TVIS_EXPANDED);
    BeginDrag(m_hF);
    MoveTo(m_hB);
    qmtest::PumpFor(400);
    EXPECT_FALSE(m_tree.GetItemState(m_hB, TVIS_EXPANDED) & TVIS_EXPANDED) << "not yet";
    qmtest::PumpFor(900);
    EXPECT_TRUE(m_tree.GetItemState(m_hB, TVIS_EXPANDED) & TVIS_EXPANDED);
    DropOn(m_hB);
}

TEST_F(BaseTreeTest, LabelsOfFoldersOnlyAreEditedAndAnEmptyNameChangesNothing)
{
    m_frame.ShowWindow(SW_SHOW);
    m_tree.SetFocus();
    EXPECT_EQ(m_tree.EditLabel(m_hRoot), nullptr) << "the first root item";
    EXPECT_EQ(m_tree.EditLabel(m_hF), nullptr) << "a file";

    CEdit* pEdit = m_tree.EditLabel(m_hB);
    ASSERT_NE(pEdit, nullptr);
    HWND hEdit = pEdit->GetSafeHwnd();
    ::SetWindowTextA(hEdit, "");
    m_tree.SendMessage(TVM_ENDEDITLABELNOW, FALSE, 0);
    qmtest::PumpMessages();
    EXPECT_TRUE(m_tree.m_renames.empty());
    EXPECT_EQ(std::string(m_tree.GetItemText(m_hB)), "B");

    pEdit = m_tree.EditLabel(m_hB);
    ASSERT_NE(pEdit, nullptr);
    ::SetWindowTextA(pEdit->GetSafeHwnd(), "Renamed");
    m_tree.SendMessage(TVM_ENDEDITLABELNOW, FALSE, 0);
    qmtest::PumpMessages();
    EXPECT_EQ(m_tree.m_renames, (std::vector<std::string>{"Renamed/1"}));
    EXPECT_EQ(std::string(m_tree.GetItemText(m_hB)), "Renamed");
}
