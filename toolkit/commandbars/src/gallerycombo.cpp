// gallerycombo.cpp - the drop-down of a gallery combo box.
#include <qx/gallery.h>

IMPLEMENT_DYNCREATE(CQXPControlComboBoxGalleryPopupBar, CQXPControlComboBoxPopupBar)

BEGIN_MESSAGE_MAP(CQXPControlComboBoxGalleryPopupBar, CQXPControlComboBoxPopupBar)
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CQXPControlComboBoxGalleryPopupBar::CQXPControlComboBoxGalleryPopupBar() {}

CQXPControlGallery* CQXPControlComboBoxGalleryPopupBar::GetGallery() const
{
    if (m_pControls->GetCount() == 0)
        return NULL;
    return dynamic_cast<CQXPControlGallery*>(m_pControls->GetAt(0));
}

int CQXPControlComboBoxGalleryPopupBar::GetCount() const
{
    CQXPControlGallery* pGallery = GetGallery();
    return pGallery ? pGallery->GetItemCount() : 0;
}

int CQXPControlComboBoxGalleryPopupBar::GetCurSel() const
{
    CQXPControlGallery* pGallery = GetGallery();
    return pGallery ? pGallery->GetHotItem() : -1;
}

void CQXPControlComboBoxGalleryPopupBar::SetCurSel(int nIndex)
{
    if (CQXPControlGallery* pGallery = GetGallery())
        pGallery->SetSelectedItem(nIndex);
}

int CQXPControlComboBoxGalleryPopupBar::FindString(int nStart, LPCSTR lpszText) const
{
    CQXPControlGallery* pGallery = GetGallery();
    return pGallery ? pGallery->FindItem(nStart, lpszText, FALSE) : LB_ERR;
}

int CQXPControlComboBoxGalleryPopupBar::FindStringExact(int nStart, LPCSTR lpszText) const
{
    CQXPControlGallery* pGallery = GetGallery();
    return pGallery ? pGallery->FindItem(nStart, lpszText, TRUE) : LB_ERR;
}

int CQXPControlComboBoxGalleryPopupBar::SetTopIndex(int nIndex)
{
    CQXPControlGallery* pGallery = GetGallery();
    if (!pGallery || nIndex < 0)
        return LB_ERR;
    const CQXPGalleryLayout& layout = pGallery->GetLayout();
    if (nIndex >= layout.GetCount())
        return LB_ERR;
    pGallery->ScrollTo(layout.GetAt(nIndex).rcItem.top - layout.GetItemsRect().top);
    return 0;
}

void CQXPControlComboBoxGalleryPopupBar::GetText(int nIndex, CString& strText) const
{
    CQXPControlGallery* pGallery = GetGallery();
    strText = pGallery ? pGallery->GetItemCaption(nIndex) : CString();
}

int CQXPControlComboBoxGalleryPopupBar::ProcessHookKeyDown(UINT nKey)
{
    CQXPControlComboBox* pControl = GetComboControl();
    CQXPControlGallery* pGallery = GetGallery();
    if (pControl && pGallery && nKey == VK_RETURN && GetSelected() == pGallery) {
        pControl->InternalAddRef();
        pControl->OnExecute();
        pControl->InternalRelease();
        return 1;
    }
    return CQXPControlComboBoxPopupBar::ProcessHookKeyDown(nKey);
}

int CQXPControlComboBoxGalleryPopupBar::ProcessKey(CQXPControlComboBox* pControl, UINT nKey, LPARAM lParam)
{
    // With an edit window only the page and row keys move in the gallery;
    // the others are the field's.
    BOOL bEdit = pControl && pControl->GetEditCtrl() && ::IsWindow(pControl->GetEditCtrl()->GetSafeHwnd());
    if (bEdit && (::GetKeyState(VK_MENU) < 0 || (nKey != VK_PRIOR && nKey != VK_NEXT && nKey != VK_UP && nKey != VK_DOWN)))
        return 0;
    CQXPControlGallery* pGallery = GetGallery();
    if (pGallery && GetSelected() != pGallery)
        SetSelected(0, 2);
    int nOld = GetCurSel();
    int nResult = CQXPControlComboBoxPopupBar::ProcessKey(pControl, nKey, lParam);
    // The field shows the item the keys moved to.
    if (pControl && GetCurSel() != nOld)
        pControl->OnSelChanged();
    return nResult;
}

BOOL CQXPControlComboBoxGalleryPopupBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    CQXPControlComboBox* pControl = GetComboControl();
    if (pControl)
        pControl->InternalAddRef();
    BOOL bChanged = CQXPControlComboBoxPopupBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard);
    if (bChanged && bMode) {
        if (GetGallery())
            SetSelected(0, 1);
    } else if (bChanged && !bMode) {
        OnComboClosed(pControl);
    }
    if (pControl)
        pControl->InternalRelease();
    return bChanged;
}

void CQXPControlComboBoxGalleryPopupBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    CQXPControlComboBox* pControl = GetComboControl();
    CQXPControlGallery* pGallery = GetGallery();
    if (!pControl || !pGallery || m_pControls->HitTest(point) != pGallery) {
        CQXPControlComboBoxPopupBar::OnLButtonUp(nFlags, point);
        return;
    }
    // Releases on the scroll bar or a label choose nothing.
    if (pGallery->HitTestItem(point) == -1)
        return;
    pControl->InternalAddRef();
    pControl->OnSelChanged();
    pControl->OnExecute();
    pControl->InternalRelease();
}
