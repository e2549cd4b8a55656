// basetree.h - CBaseTreeCtrl, the base of the solution bar's trees (the
// workspace tree and the template tree), and CTreeEditCtrl, their in-place
// label editor.
//
// The base gives a tree: drag and drop of items inside it (a dragged branch
// is copied to its new place and the original deleted), label editing of
// folder items, a 16x16 image list from a bitmap and a modified flag.
//
// The seam for the trees built on it:
// - Item data. Each item's data is null or points to the subclass's node
//   record, which derives from CBaseTreeNode; its nFolder field tells
//   IsFolderItem whether the item is a folder (an item without data is no
//   folder). The base never allocates or frees records.
// - Four virtual operations, called by the base:
//     CopyItemData(old item, new item, data) - a dragged item was copied to
//         its new place: give the new item its data (the old item and its
//         data are deleted right after). The default hands the pointer on.
//     ItemMoved(dragged item, drop target) - called before the copy.
//     SetModified(flag) - the tree's content changed (after a drop).
//     RenameItem(item, new text, 1) - a label edit ended with a non-empty
//         text; the subclass changes the label itself (the default sets it).
// - The label edit is refused for the tree's first root item and for items
//   that are no folders; the tree's own label change is always refused.
//
// Dropping: onto a folder, the copy becomes its last child; onto any other
// item, the copy goes under that item's own parent, just before it. An item
// cannot be dropped onto itself or into its own branch ("no" cursor), and
// the first level of the tree (items without a parent) is not draggable.
// Hovering 800 ms over an item while dragging expands it.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

// The start of every item record of a tree built on CBaseTreeCtrl.
struct CBaseTreeNode {
    int nFolder; // 1 for a folder item, 0 for a file entry
};

class CTreeEditCtrl : public CEdit {
    DECLARE_DYNAMIC(CTreeEditCtrl)
public:
    CTreeEditCtrl() {}
    const CString& GetCurrentText() const { return m_strText; }

protected:
    afx_msg void OnChange();
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()

    CString m_strText; // the edit's text as last changed
};

class CBaseTreeCtrl : public CTreeCtrl {
    DECLARE_DYNAMIC(CBaseTreeCtrl)
public:
    enum {
        kExpandTimer = 1,
        kExpandDelayMs = 800
    };

    CBaseTreeCtrl();
    ~CBaseTreeCtrl() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // A 16x16 image list (24-bit colour with mask, 8 images, growing by 1)
    // from a bitmap resource with the mask colour RGB(192, 192, 192); it
    // becomes the tree's normal image list. FALSE when it cannot be made.
    BOOL LoadImageList(UINT nBitmapID);
    BOOL IsFolderItem(HTREEITEM hItem) const;
    // Deletes the item's children (deepest first), then the item.
    void DeleteBranch(HTREEITEM hItem);
    void SetItemLabel(HTREEITEM hItem, LPCSTR lpszText);
    BOOL GetModified() const { return m_bModified; }

    // Drag state (read by tests and subclasses).
    BOOL IsDragging() const { return m_bDragging; }
    BOOL IsDropAllowed() const { return m_bDropAllowed; }
    HTREEITEM GetDragItem() const { return m_hDragItem; }
    // Whether hItem is hAncestor or lies below it.
    BOOL IsInBranch(HTREEITEM hItem, HTREEITEM hAncestor) const;

    // The four operations of the trees built on this one (see above).
    virtual void CopyItemData(HTREEITEM hOldItem, HTREEITEM hNewItem, DWORD_PTR dwData);
    virtual void ItemMoved(HTREEITEM hDragItem, HTREEITEM hTarget);
    virtual void SetModified(BOOL bModified);
    virtual void RenameItem(HTREEITEM hItem, LPCSTR lpszText, int nFlag);

protected:
    afx_msg void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    // Shows the first popup of a menu resource at a client point (nDefault:
    // its default item, 0 none) and sends the chosen command to this tree
    // itself, whatever else answers to its id. FALSE when the menu is missing.
    BOOL TrackItemMenu(UINT nMenuID, CPoint point, UINT nDefault = 0);

    // Copies hItem (and its branch) to its drop place; the new item.
    HTREEITEM CopyBranch(HTREEITEM hItem, HTREEITEM hTarget);
    HTREEITEM CopyItem(HTREEITEM hItem, HTREEITEM hParent, HTREEITEM hAfter);
    void EndDragging();

    CImageList m_imageList;
    CImageList* m_pDragImage; // owned while dragging, else null
    CTreeEditCtrl m_editCtrl; // subclasses the label edit while it is open
    BOOL m_bDragging;
    BOOL m_bDropAllowed;
    HTREEITEM m_hDragItem;   // the item being dragged
    HTREEITEM m_hHoverItem;  // the item under the cursor during a drag
    HTREEITEM m_hDropTarget; // where a drop goes (null: nowhere)
    HTREEITEM m_hEditItem;   // the item whose label is being edited, else null
    UINT_PTR m_nTimer;       // the expand timer, 0 when not running
    BOOL m_bModified;
};
