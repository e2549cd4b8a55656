// basetree.cpp - the solution bar trees' base: drag and drop, label editing,
// the image list and the modified flag.
#include "basetree.h"

// ===========================================================================
// CTreeEditCtrl

IMPLEMENT_DYNAMIC(CTreeEditCtrl, CEdit)

BEGIN_MESSAGE_MAP(CTreeEditCtrl, CEdit)
    ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
    ON_WM_KEYUP()
END_MESSAGE_MAP()

void CTreeEditCtrl::OnChange()
{
    GetWindowText(m_strText);
}

void CTreeEditCtrl::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // Escape or Enter: the focus goes to the tree, which ends the edit.
    if (nChar == VK_ESCAPE || nChar == VK_RETURN) {
        if (CWnd* pParent = GetParent())
            pParent->SetFocus();
    }
    CEdit::OnKeyUp(nChar, nRepCnt, nFlags);
}

// ===========================================================================
// CBaseTreeCtrl

IMPLEMENT_DYNAMIC(CBaseTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(CBaseTreeCtrl, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_BEGINDRAGA, OnBeginDrag)
    ON_NOTIFY_REFLECT(TVN_BEGINDRAGW, OnBeginDrag)
    ON_NOTIFY_REFLECT(TVN_BEGINLABELEDITA, OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(TVN_ENDLABELEDITA, OnEndLabelEdit)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_TIMER()
    ON_WM_KEYUP()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CBaseTreeCtrl::CBaseTreeCtrl()
    : m_pDragImage(NULL), m_bDragging(FALSE), m_bDropAllowed(FALSE), m_hDragItem(NULL), m_hHoverItem(NULL),
      m_hDropTarget(NULL), m_hEditItem(NULL), m_nTimer(0), m_bModified(FALSE)
{
}

CBaseTreeCtrl::~CBaseTreeCtrl()
{
    delete m_pDragImage;
}

BOOL CBaseTreeCtrl::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
    return CTreeCtrl::PreCreateWindow(cs);
}

BOOL CBaseTreeCtrl::LoadImageList(UINT nBitmapID)
{
    if (m_imageList.GetSafeHandle() == NULL && !m_imageList.Create(16, 16, ILC_COLOR24 | ILC_MASK, 8, 1))
        return FALSE;
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(nBitmapID))
        return FALSE;
    m_imageList.Add(&bitmap, RGB(192, 192, 192));
    SetImageList(&m_imageList, TVSIL_NORMAL);
    return TRUE;
}

BOOL CBaseTreeCtrl::IsFolderItem(HTREEITEM hItem) const
{
    if (hItem == NULL)
        return FALSE;
    const CBaseTreeNode* pNode = reinterpret_cast<const CBaseTreeNode*>(GetItemData(hItem));
    return pNode != NULL && pNode->nFolder != 0;
}

void CBaseTreeCtrl::DeleteBranch(HTREEITEM hItem)
{
    if (hItem == NULL)
        return;
    HTREEITEM hChild = GetChildItem(hItem);
    while (hChild != NULL) {
        HTREEITEM hNext = GetNextSiblingItem(hChild);
        DeleteBranch(hChild);
        hChild = hNext;
    }
    DeleteItem(hItem);
}

void CBaseTreeCtrl::SetItemLabel(HTREEITEM hItem, LPCSTR lpszText)
{
    SetItemText(hItem, lpszText);
}

BOOL CBaseTreeCtrl::IsInBranch(HTREEITEM hItem, HTREEITEM hAncestor) const
{
    for (HTREEITEM h = hItem; h != NULL; h = GetParentItem(h))
        if (h == hAncestor)
            return TRUE;
    return FALSE;
}

void CBaseTreeCtrl::CopyItemData(HTREEITEM, HTREEITEM hNewItem, DWORD_PTR dwData)
{
    SetItemData(hNewItem, dwData);
}

void CBaseTreeCtrl::ItemMoved(HTREEITEM, HTREEITEM) {}

void CBaseTreeCtrl::SetModified(BOOL bModified)
{
    m_bModified = bModified;
}

void CBaseTreeCtrl::RenameItem(HTREEITEM hItem, LPCSTR lpszText, int)
{
    SetItemLabel(hItem, lpszText);
}

BOOL CBaseTreeCtrl::TrackItemMenu(UINT nMenuID, CPoint point, UINT nDefault)
{
    CMenu menu;
    if (!menu.LoadMenu(nMenuID))
        return FALSE;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (pPopup == NULL)
        return FALSE;
    if (nDefault != 0)
        ::SetMenuDefaultItem(pPopup->GetSafeHmenu(), nDefault, FALSE);
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    UINT nCmd = (UINT)pPopup->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, ptScreen.x, ptScreen.y,
                                             this);
    if (nCmd != 0)
        SendMessage(WM_COMMAND, nCmd, 0);
    return TRUE;
}

// --- dragging -----------------------------------------------------------------

void CBaseTreeCtrl::OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    HTREEITEM hItem = reinterpret_cast<NMTREEVIEWA*>(pNMHDR)->itemNew.hItem;
    // The first level stays where it is.
    if (hItem == NULL || GetParentItem(hItem) == NULL)
        return;
    m_hDragItem = hItem;
    m_hHoverItem = NULL;
    m_hDropTarget = NULL;
    m_bDropAllowed = FALSE;
    m_bDragging = TRUE;
    delete m_pDragImage;
    m_pDragImage = CreateDragImage(hItem);
    CPoint pt;
    ::GetCursorPos(&pt);
    if (m_pDragImage != NULL) {
        m_pDragImage->BeginDrag(0, CPoint(20, 10));
        CImageList::DragEnter(NULL, pt);
    }
    SetCapture();
}

void CBaseTreeCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bDragging) {
        CTreeCtrl::OnMouseMove(nFlags, point);
        return;
    }
    if (m_pDragImage != NULL) {
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        CImageList::DragMove(ptScreen);
    }
    UINT nHitFlags = 0;
    HTREEITEM hItem = HitTest(point, &nHitFlags);
    if (hItem != m_hHoverItem && m_nTimer != 0) {
        KillTimer(m_nTimer);
        m_nTimer = 0;
    }
    m_hHoverItem = hItem;
    if (hItem == NULL)
        return;
    m_bDropAllowed = !IsInBranch(hItem, m_hDragItem);
    ::SetCursor(::LoadCursor(NULL, m_bDropAllowed ? IDC_ARROW : IDC_NO));
    if (m_pDragImage != NULL)
        CImageList::DragShowNolock(FALSE);
    SelectDropTarget(hItem);
    if (m_pDragImage != NULL)
        CImageList::DragShowNolock(TRUE);
    m_hDropTarget = hItem;
    if (m_nTimer == 0)
        m_nTimer = SetTimer(kExpandTimer, kExpandDelayMs, NULL);
}

void CBaseTreeCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kExpandTimer) {
        CTreeCtrl::OnTimer(nIDEvent);
        return;
    }
    KillTimer(kExpandTimer);
    m_nTimer = 0;
    if (m_bDragging && m_hHoverItem != NULL) {
        if (m_pDragImage != NULL)
            CImageList::DragShowNolock(FALSE);
        Expand(m_hHoverItem, TVE_EXPAND);
        if (m_pDragImage != NULL)
            CImageList::DragShowNolock(TRUE);
    }
}

void CBaseTreeCtrl::EndDragging()
{
    if (m_nTimer != 0) {
        KillTimer(m_nTimer);
        m_nTimer = 0;
    }
    if (m_pDragImage != NULL) {
        CImageList::DragLeave(NULL);
        CImageList::EndDrag();
    }
    m_bDragging = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    SelectDropTarget(NULL);
    delete m_pDragImage;
    m_pDragImage = NULL;
}

void CBaseTreeCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!m_bDragging) {
        if (m_nTimer != 0) {
            KillTimer(m_nTimer);
            m_nTimer = 0;
        }
        CTreeCtrl::OnLButtonUp(nFlags, point);
        return;
    }
    HTREEITEM hDrag = m_hDragItem, hTarget = m_hDropTarget;
    BOOL bDrop = hTarget != NULL && hTarget != hDrag && m_bDropAllowed;
    EndDragging();
    if (bDrop) {
        ItemMoved(hDrag, hTarget);
        if (CopyBranch(hDrag, hTarget) != NULL)
            DeleteItem(hDrag);
    }
    m_hDragItem = m_hHoverItem = m_hDropTarget = NULL;
}

HTREEITEM CBaseTreeCtrl::CopyItem(HTREEITEM hItem, HTREEITEM hParent, HTREEITEM hAfter)
{
    int nImage = 0, nSelected = 0;
    GetItemImage(hItem, nImage, nSelected);
    HTREEITEM hNew = InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, GetItemText(hItem), nImage, nSelected,
                                0, 0, 0, hParent, hAfter);
    if (hNew == NULL)
        return NULL;
    CopyItemData(hItem, hNew, GetItemData(hItem));
    for (HTREEITEM hChild = GetChildItem(hItem); hChild != NULL; hChild = GetNextSiblingItem(hChild))
        CopyItem(hChild, hNew, TVI_LAST);
    return hNew;
}

HTREEITEM CBaseTreeCtrl::CopyBranch(HTREEITEM hItem, HTREEITEM hTarget)
{
    HTREEITEM hParent, hAfter;
    if (IsFolderItem(hTarget)) {
        hParent = hTarget;
        hAfter = TVI_LAST;
    } else {
        // Beside the item it was dropped on, just before it.
        hParent = GetParentItem(hTarget);
        if (hParent == NULL)
            hParent = TVI_ROOT;
        hAfter = GetPrevSiblingItem(hTarget);
        if (hAfter == NULL)
            hAfter = TVI_FIRST;
    }
    HTREEITEM hNew = CopyItem(hItem, hParent, hAfter);
    if (hNew == NULL)
        return NULL;
    SelectItem(hNew);
    Expand(hNew, TVE_EXPAND);
    SetModified(TRUE);
    return hNew;
}

// --- label editing ------------------------------------------------------------

void CBaseTreeCtrl::OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    HTREEITEM hItem = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR)->item.hItem;
    if (hItem == NULL || hItem == GetRootItem() || !IsFolderItem(hItem)) {
        *pResult = 1; // refused
        return;
    }
    HWND hEdit = (HWND)SendMessage(TVM_GETEDITCONTROL, 0, 0);
    if (m_editCtrl.GetSafeHwnd() != NULL)
        m_editCtrl.UnsubclassWindow();
    if (hEdit != NULL)
        m_editCtrl.SubclassWindow(hEdit);
    m_hEditItem = hItem;
    *pResult = 0;
}

void CBaseTreeCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    const TVITEMA& item = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR)->item;
    *pResult = 0;
    // One end per edit (the control may report the end again as its edit
    // window goes).
    if (item.hItem == NULL || item.hItem != m_hEditItem)
        return;
    m_hEditItem = NULL;
    if (item.pszText != NULL && item.pszText[0] != '\0') {
        CString strText = item.pszText;
        RenameItem(item.hItem, strText, 1);
    }
    // (The edit's text is left alone: a text put into it now would come
    // back as a second rename when the edit goes.)
    if (m_editCtrl.GetSafeHwnd() != NULL)
        m_editCtrl.UnsubclassWindow();
    // The subclass changed the label (or not): the control's own change is
    // refused.
    *pResult = 0;
}

void CBaseTreeCtrl::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_F2) {
        HTREEITEM hItem = GetSelectedItem();
        if (hItem != NULL)
            EditLabel(hItem);
    }
    CTreeCtrl::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CBaseTreeCtrl::OnDestroy()
{
    if (m_bDragging)
        EndDragging();
    if (m_editCtrl.GetSafeHwnd() != NULL)
        m_editCtrl.UnsubclassWindow();
    CTreeCtrl::OnDestroy();
}
