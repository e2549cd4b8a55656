// propgriditem.cpp - the property grid's items: the base item with its
// constraints and collections, the number and boolean items, the edit
// protocol (request, after, cancel) and the items' accessibility.
#include <qx/propertygrid.h>

#include <qx/toolkitres.h>

#include <algorithm>

// The in-place windows of items that have no grid (never shown).
static CQXPPropertyGridInplaceEdit& FreeInplaceEdit()
{
    static CQXPPropertyGridInplaceEdit s_edit;
    return s_edit;
}

static CQXPPropertyGridInplaceList& FreeInplaceList()
{
    static CQXPPropertyGridInplaceList s_list;
    return s_list;
}

static BSTR BstrOf(const CString& str)
{
    int n = ::MultiByteToWideChar(CP_UTF8, 0, str.GetString(), -1, NULL, 0);
    std::vector<WCHAR> w((size_t)std::max(1, n));
    ::MultiByteToWideChar(CP_UTF8, 0, str.GetString(), -1, w.data(), n);
    return ::SysAllocString(w.data());
}

// ---------------------------------------------------------------------------
// Paint metrics

CQXPPropertyGridPaintMetrics::CQXPPropertyGridPaintMetrics(CQXPPropertyGridPainter* pPainter)
    : m_nImage(-1), m_uDrawTextFormat(DT_SINGLELINE | DT_VCENTER), m_nMaxLength(0), m_pPainter(pPainter)
{
}

// ---------------------------------------------------------------------------
// Constraints

CQXPPropertyGridItemConstraints::CQXPPropertyGridItemConstraints(CQXPPropertyGridItem* pItem)
    : m_nCurrent(-1), m_pItem(pItem)
{
}

CQXPPropertyGridItemConstraints::~CQXPPropertyGridItemConstraints()
{
    for (CQXPPropertyGridItemConstraint* p : m_arr)
        p->InternalRelease();
}

CQXPPropertyGridItemConstraint* CQXPPropertyGridItemConstraints::AddConstraint(LPCSTR lpszCaption,
                                                                               DWORD_PTR dwData, int nImage)
{
    CQXPPropertyGridItemConstraint* p = new CQXPPropertyGridItemConstraint();
    p->m_strConstraint = lpszCaption ? lpszCaption : "";
    p->m_dwData = dwData;
    p->m_nImage = nImage;
    p->m_nIndex = GetCount();
    p->m_pItem = m_pItem;
    m_arr.push_back(p);
    if (m_pItem)
        m_pItem->OnConstraintsChanged();
    return p;
}

void CQXPPropertyGridItemConstraints::Sort()
{
    std::sort(m_arr.begin(), m_arr.end(), [](const CQXPPropertyGridItemConstraint* a, const CQXPPropertyGridItemConstraint* b) {
        return a->m_strConstraint.Compare(b->m_strConstraint) < 0;
    });
    for (int i = 0; i < GetCount(); i++)
        m_arr[(size_t)i]->m_nIndex = i;
}

void CQXPPropertyGridItemConstraints::RemoveAll()
{
    for (CQXPPropertyGridItemConstraint* p : m_arr)
        p->InternalRelease();
    m_arr.clear();
    m_nCurrent = -1;
    if (m_pItem)
        m_pItem->OnConstraintsChanged();
}

CString CQXPPropertyGridItemConstraints::GetAt(int nIndex) const
{
    CQXPPropertyGridItemConstraint* p = GetConstraintAt(nIndex);
    return p ? p->m_strConstraint : CString();
}

CQXPPropertyGridItemConstraint* CQXPPropertyGridItemConstraints::GetConstraintAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_arr[(size_t)nIndex] : NULL;
}

int CQXPPropertyGridItemConstraints::FindConstraint(LPCSTR lpszCaption) const
{
    for (int i = 0; i < GetCount(); i++)
        if (m_arr[(size_t)i]->m_strConstraint.CompareNoCase(lpszCaption ? lpszCaption : "") == 0)
            return i;
    return -1;
}

// ---------------------------------------------------------------------------
// Item collections

PropertyGridItems::~PropertyGridItems()
{
    for (CQXPPropertyGridItem* p : m_arr)
        p->InternalRelease();
}

CQXPPropertyGridItem* PropertyGridItems::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_arr[(size_t)nIndex] : NULL;
}

void PropertyGridItems::Sort()
{
    std::sort(m_arr.begin(), m_arr.end(), [](const CQXPPropertyGridItem* a, const CQXPPropertyGridItem* b) {
        return a->m_strCaption.Compare(b->m_strCaption) < 0;
    });
}

int PropertyGridItems::Find(const CQXPPropertyGridItem* pItem) const
{
    auto it = std::find(m_arr.begin(), m_arr.end(), pItem);
    return it == m_arr.end() ? -1 : (int)(it - m_arr.begin());
}

void PropertyGridItems::InsertAt(int nIndex, CQXPPropertyGridItem* pItem)
{
    nIndex = std::max(0, std::min(nIndex, GetCount()));
    m_arr.insert(m_arr.begin() + nIndex, pItem);
}

void PropertyGridItems::RemoveAt(int nIndex)
{
    if (nIndex >= 0 && nIndex < GetCount())
        m_arr.erase(m_arr.begin() + nIndex);
}

void PropertyGridItems::Clear()
{
    if (m_arr.empty())
        return;
    CQXPPropertyGridView* pView = m_arr[0]->m_pView;
    if (pView) {
        if (pView->m_nLockUpdate == 0)
            pView->ResetContent();
        ++pView->m_nLockUpdate;
    }
    std::vector<CQXPPropertyGridItem*> arr;
    arr.swap(m_arr);
    for (CQXPPropertyGridItem* p : arr) {
        p->OnRemoved();
        p->InternalRelease();
    }
    if (pView)
        pView->UnlockUpdate();
}

// ---------------------------------------------------------------------------
// The base item

CQXPPropertyGridItem::CQXPPropertyGridItem(LPCSTR lpszCaption, LPCSTR lpszValue, CString* pBindString)
    : m_bConstraintEdit(FALSE), m_nIndex(-1), m_nIndent(0), m_nID(0), m_nFlags(ItemHasEdit), m_bReadOnly(FALSE),
      m_bInList(FALSE), m_bCategory(FALSE), m_bExpandable(TRUE), m_bExpanded(FALSE), m_pParent(NULL),
      m_pView(NULL), m_bAutoComplete(FALSE), m_pCaptionMetrics(NULL), m_pValueMetrics(NULL),
      m_nDropDownItemCount(10), m_pBindString(pBindString), m_chPrompt('*'), m_bUseMask(false),
      m_bPassword(FALSE), m_bHidden(FALSE), m_nHeight(-1), m_nLinesCount(1), m_nEditStyle(ES_AUTOHSCROLL)
{
    CQXPAccessibleBase::Init(this);
    m_pChilds = new PropertyGridItems();
    m_pConstraints = new CQXPPropertyGridItemConstraints(this);
    m_pButtons = new CQXPPropertyGridButtons(this);
    SetCaption(lpszCaption);
    m_strValue = m_strDefaultValue = lpszValue ? lpszValue : "";
    if (m_pBindString)
        *m_pBindString = m_strValue;
}

CQXPPropertyGridItem::~CQXPPropertyGridItem()
{
    m_pChilds->InternalRelease();
    m_pConstraints->m_pItem = NULL;
    m_pConstraints->InternalRelease();
    m_pButtons->InternalRelease();
    if (m_pCaptionMetrics)
        m_pCaptionMetrics->InternalRelease();
    if (m_pValueMetrics)
        m_pValueMetrics->InternalRelease();
}

CQXPPropertyGrid* CQXPPropertyGridItem::GetGrid() const { return m_pView ? m_pView->m_pGrid : NULL; }

void CQXPPropertyGridItem::SetCaption(LPCSTR lpszCaption)
{
    CString strDescription;
    BOOL bHasDescription = FALSE;
    SplitPropertyCaption(lpszCaption, m_strCaption, strDescription, &bHasDescription);
    if (bHasDescription)
        m_strDescription = strDescription;
}

void CQXPPropertyGridItem::SetDescription(LPCSTR lpszDescription)
{
    m_strDescription = lpszDescription ? lpszDescription : "";
    CQXPPropertyGrid* pGrid = GetGrid();
    if (pGrid && pGrid->m_hWnd && m_pView->GetSelectedItem() == this)
        pGrid->Invalidate(FALSE);
}

void CQXPPropertyGridItem::BindToString(CString* pBindString)
{
    m_pBindString = pBindString;
    if (m_pBindString)
        *m_pBindString = m_strValue;
}

void CQXPPropertyGridItem::SetFlags(UINT nFlags)
{
    m_nFlags = nFlags;
    m_pButtons->RemoveId(QXP_GRID_BUTTON_EXPAND);
    m_pButtons->RemoveId(QXP_GRID_BUTTON_COMBO);
    if (nFlags & ItemHasExpandButton)
        m_pButtons->AddExpandButton();
    if (nFlags & ItemHasComboButton)
        m_pButtons->AddComboButton();
    if (m_pView && m_pView->m_hWnd)
        m_pView->Invalidate(FALSE);
}

void CQXPPropertyGridItem::SetReadOnly(BOOL bReadOnly)
{
    m_bReadOnly = bReadOnly;
    if (m_pView && m_pView->m_hWnd)
        m_pView->Invalidate(FALSE);
}

void CQXPPropertyGridItem::SetHidden(BOOL bHidden)
{
    if (m_bHidden == bHidden)
        return;
    m_bHidden = bHidden;
    if (m_pView && m_pView->m_hWnd)
        m_pView->Refresh();
}

void CQXPPropertyGridItem::SetVisible(BOOL bVisible) { SetHidden(!bVisible); }

void CQXPPropertyGridItem::SetPasswordMask(char chMask)
{
    m_bPassword = TRUE;
    m_chPrompt = chMask;
}

void CQXPPropertyGridItem::SetMask(LPCSTR lpszMask, LPCSTR lpszLiteral, char chPrompt)
{
    m_strMask = lpszMask ? lpszMask : "";
    m_strLiteral = lpszLiteral ? lpszLiteral : "";
    m_chPrompt = chPrompt;
    m_bUseMask = !m_strMask.IsEmpty();
}

BOOL CQXPPropertyGridItem::IsSelected() const { return m_pView && m_pView->GetSelectedItem() == this; }

BOOL CQXPPropertyGridItem::HasParent(const CQXPPropertyGridItem* pParent) const
{
    for (const CQXPPropertyGridItem* p = m_pParent; p; p = p->m_pParent)
        if (p == pParent)
            return TRUE;
    return FALSE;
}

CQXPPropertyGridPaintMetrics* CQXPPropertyGridItem::GetMetrics(BOOL bValuePart, BOOL bCreate)
{
    CQXPPropertyGridPaintMetrics*& p = bValuePart ? m_pValueMetrics : m_pCaptionMetrics;
    if (!p && bCreate) {
        CQXPPropertyGrid* pGrid = GetGrid();
        p = new CQXPPropertyGridPaintMetrics(pGrid ? pGrid->GetPaintManager() : NULL);
    }
    return p;
}

CQXPPropertyGridItem* CQXPPropertyGridItem::AddChildItem(CQXPPropertyGridItem* pItem)
{
    return InsertChildItem(m_pChilds->GetCount(), pItem);
}

CQXPPropertyGridItem* CQXPPropertyGridItem::InsertChildItem(int nIndex, CQXPPropertyGridItem* pItem)
{
    if (!pItem || !m_pView)
        return pItem;
    nIndex = std::max(0, std::min(nIndex, m_pChilds->GetCount()));
    m_pChilds->InsertAt(nIndex, pItem);
    pItem->m_pView = m_pView;
    pItem->m_pParent = this;
    pItem->m_nIndent = m_nIndent + 1;
    pItem->OnAddChildItem();
    if (m_bInList) {
        if (m_bExpanded)
            m_pView->SetPropertySort(m_pView->m_properetySort, TRUE);
        else if (m_pChilds->GetCount() == 1 && m_pView->m_hWnd)
            m_pView->Invalidate(FALSE);
    }
    return pItem;
}

void CQXPPropertyGridItem::OnAddChildItem()
{
    if (!m_bCategory)
        SetFlags(m_nFlags);
}

void CQXPPropertyGridItem::Expand()
{
    if (m_bExpanded)
        return;
    m_bExpanded = TRUE;
    if (m_pView && m_pView->m_nLockUpdate == 0 && m_pView->m_hWnd && m_bInList) {
        m_pView->InsertChildRows(this, m_nIndex);
        m_pView->ReindexRows();
        m_pView->OnSelectionChanged();
    }
    if (CQXPPropertyGrid* pGrid = GetGrid())
        pGrid->SendNotifyMessage(GRIDN_EXPAND_CHANGED, (LPARAM)this);
}

void CQXPPropertyGridItem::Collapse()
{
    if (!m_bExpanded)
        return;
    if (m_pView && m_pView->m_nLockUpdate == 0 && m_pView->m_hWnd && m_bInList) {
        m_pView->RemoveChildRows(this);
        m_pView->ReindexRows();
        m_pView->OnSelectionChanged();
    }
    m_bExpanded = FALSE;
    if (CQXPPropertyGrid* pGrid = GetGrid())
        pGrid->SendNotifyMessage(GRIDN_EXPAND_CHANGED, (LPARAM)this);
}

void CQXPPropertyGridItem::Select()
{
    if (!m_pView || !m_pView->m_hWnd || !m_bInList)
        return;
    m_pView->SetCurSel(m_nIndex);
    m_pView->OnSelectionChanged();
}

CRect CQXPPropertyGridItem::GetItemRect() const
{
    CRect rc(0, 0, 0, 0);
    if (m_pView && m_pView->m_hWnd && m_bInList)
        m_pView->GetItemRect(m_nIndex, &rc);
    return rc;
}

CRect CQXPPropertyGridItem::GetValueRect()
{
    CRect rc = GetItemRect();
    if (!m_pView)
        return rc;
    rc.left += m_pView->GetDividerPos() + 1;
    rc.top += 1;
    rc.bottom -= 1;
    if (IsInplaceButtonsVisible())
        for (CQXPPropertyGridButton* p : m_pButtons->m_arr)
            rc.right -= p->GetWidth();
    if (CQXPPropertyGridPainter* pPainter = m_pView->GetPaintManager()) {
        int x = rc.left;
        pPainter->AdjustValueIndent(this, x);
        rc.left = x;
    }
    return rc;
}

void CQXPPropertyGridItem::SetValue(CString strValue)
{
    m_strValue = strValue;
    if (m_pBindString)
        *m_pBindString = m_strValue;
    CQXPPropertyGridInplaceEdit& edit = GetInplaceEdit();
    if (edit.m_pItem == this && edit.m_hWnd) {
        edit.SetValue(m_strValue);
        edit.m_bSetText = TRUE;
        edit.SetWindowText(m_strValue);
        edit.m_bSetText = FALSE;
    }
    if (m_pView && m_pView->m_hWnd)
        m_pView->Invalidate(FALSE);
}

void CQXPPropertyGridItem::OnValueChanged(CString strValue)
{
    if (!m_pView)
        return;
    SetValue(strValue);
    if (m_pView->m_hWnd)
        m_pView->Invalidate(FALSE);
    if (CQXPPropertyGrid* pGrid = GetGrid())
        pGrid->SendNotifyMessage(GRIDN_VALUE_CHANGED, (LPARAM)this);
}

BOOL CQXPPropertyGridItem::OnDrawItemValue(CDC&, CRect) { return FALSE; }

void CQXPPropertyGridItem::OnDrawConstraint(CDC* pDC, CQXPPropertyGridItemConstraint* pConstraint, CRect rc,
                                            BOOL bSelected)
{
    CQXPPropertyGrid* pGrid = GetGrid();
    if (pGrid && pGrid->GetPaintManager()) {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_LISTBOX;
        dis.itemID = (UINT)pConstraint->m_nIndex;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = bSelected ? ODS_SELECTED : 0;
        dis.hDC = pDC->GetSafeHdc();
        dis.rcItem = rc;
        dis.itemData = (ULONG_PTR)pConstraint;
        pGrid->GetPaintManager()->DrawInplaceListItem(&dis);
    }
}

CSize CQXPPropertyGridItem::OnMeasureConstraint(CDC* pDC, CQXPPropertyGridItemConstraint* pConstraint)
{
    CSize sz = pDC->GetTextExtent(pConstraint->m_strConstraint);
    return CSize(sz.cx + 2 * ::GetSystemMetrics(SM_CXHTHUMB), sz.cy + 3);
}

void CQXPPropertyGridItem::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    if (m_nHeight != -1)
        lpMIS->itemHeight = (UINT)m_nHeight;
    else if (m_nLinesCount > 1)
        lpMIS->itemHeight = (UINT)(m_nLinesCount * ((int)lpMIS->itemHeight - 4) + 4);
}

CString CQXPPropertyGridItem::GetViewValue() { return m_bPassword ? PasswordViewOf(m_strValue, m_chPrompt) : m_strValue; }

CQXPPropertyGridInplaceEdit& CQXPPropertyGridItem::GetInplaceEdit()
{
    CQXPPropertyGrid* pGrid = GetGrid();
    return pGrid ? pGrid->GetInplaceEdit() : FreeInplaceEdit();
}

CQXPPropertyGridInplaceList& CQXPPropertyGridItem::GetInplaceList()
{
    CQXPPropertyGrid* pGrid = GetGrid();
    return pGrid ? pGrid->GetInplaceList() : FreeInplaceList();
}

void CQXPPropertyGridItem::SelectEditText()
{
    CQXPPropertyGridInplaceEdit& edit = GetInplaceEdit();
    if (edit.m_pItem == this && edit.m_hWnd) {
        edit.SetFocus();
        edit.SetSel(0, -1);
    }
}

void CQXPPropertyGridItem::SetEditText(const CString& str)
{
    CQXPPropertyGridInplaceEdit& edit = GetInplaceEdit();
    if (edit.m_pItem == this && edit.m_hWnd)
        edit.SetWindowText(str);
}

BOOL CQXPPropertyGridItem::IsInplaceButtonsVisible() const
{
    if (!m_pView || IsReadOnly() || m_pButtons->GetCount() == 0)
        return FALSE;
    CQXPPropertyGrid* pGrid = GetGrid();
    return m_pView->GetSelectedItem() == this || (pGrid && pGrid->m_bShowInplaceButtonsAlways);
}

BOOL CQXPPropertyGridItem::OnRequestEdit()
{
    CQXPPropertyGrid* pGrid = GetGrid();
    if (!pGrid)
        return TRUE;
    QXP_GRID_EDIT rec = {0, m_strValue, this};
    pGrid->SendNotifyMessage(GRIDN_REQUEST_EDIT, (LPARAM)&rec);
    return rec.bCancel == 0;
}

BOOL CQXPPropertyGridItem::OnAfterEdit(CString& strValue)
{
    CQXPPropertyGrid* pGrid = GetGrid();
    if (!pGrid)
        return FALSE;
    QXP_GRID_EDIT rec = {0, strValue, this};
    pGrid->SendNotifyMessage(GRIDN_AFTER_EDIT, (LPARAM)&rec);
    strValue = rec.strValue;
    return rec.bCancel == 0;
}

void CQXPPropertyGridItem::OnCancelEdit()
{
    CQXPPropertyGrid* pGrid = GetGrid();
    if (!pGrid)
        return;
    QXP_GRID_EDIT rec = {0, m_strValue, this};
    pGrid->SendNotifyMessage(GRIDN_CANCEL_EDIT, (LPARAM)&rec);
}

void CQXPPropertyGridItem::OnValidateEdit()
{
    CQXPPropertyGridInplaceEdit& edit = GetInplaceEdit();
    if (edit.m_pItem != this) {
        if (!edit.m_pItem)
            edit.HideWindow();
        return;
    }
    // The edit is released before it hides: hiding may move the focus,
    // and the focus loss must not validate a second time.
    CString str;
    if (edit.m_hWnd)
        edit.GetWindowText(str);
    edit.ReleaseItem();
    edit.HideWindow();
    if (edit.m_bCancel) {
        OnCancelEdit();
        return;
    }
    if (!edit.m_bEditMode)
        return;
    if (OnAfterEdit(str) && str.Compare(m_strValue) != 0 && !edit.m_bCancel)
        OnValueChanged(str);
}

DWORD CQXPPropertyGridItem::GetEditStyle() const
{
    return WS_CHILD | (m_bPassword ? ES_PASSWORD : 0) | (m_nLinesCount > 1 ? ES_MULTILINE : 0) | m_nEditStyle;
}

void CQXPPropertyGridItem::OnSelect()
{
    CRect rcValue = GetValueRect();
    for (HWND hWnd : m_arrInplaceControls)
        ::SetWindowPos(hWnd, NULL, rcValue.left, rcValue.top, rcValue.Width(), rcValue.Height(),
                       SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    CQXPPropertyGridInplaceEdit& edit = GetInplaceEdit();
    if (m_nFlags & ItemHasEdit) {
        edit.SetValue(m_strValue);
        edit.Create(this, rcValue);
        if (edit.m_hWnd)
            edit.SetReadOnly(IsReadOnly() || m_bConstraintEdit);
    } else {
        edit.HideWindow();
    }
}

void CQXPPropertyGridItem::OnDeselect()
{
    if (m_pView)
        m_pView->SetFocusedButton(NULL);
    OnValidateEdit();
    for (HWND hWnd : m_arrInplaceControls)
        ::ShowWindow(hWnd, SW_HIDE);
}

BOOL CQXPPropertyGridItem::OnChar(UINT nChar)
{
    if (!(m_nFlags & ItemHasEdit) || nChar == VK_ESCAPE) {
        if (nChar == VK_TAB && m_pButtons->GetCount() > 0 && GetGrid())
            GetGrid()->OnNavigate(1, TRUE, this);
        return FALSE;
    }
    if (!IsSelected())
        Select();
    CQXPPropertyGridInplaceEdit& edit = GetInplaceEdit();
    if (edit.m_pItem == this && edit.m_hWnd && edit.IsWindowVisible()) {
        edit.SetFocus();
        edit.SetSel(0, -1);
        if (nChar != VK_TAB)
            edit.SendMessage(WM_CHAR, nChar, 0);
    }
    return TRUE;
}

BOOL CQXPPropertyGridItem::OnLButtonDown(UINT nFlags, CPoint point)
{
    const BOOL bWasSelected = IsSelected();
    CQXPPropertyGridInplaceEdit& editNow = GetInplaceEdit();
    const BOOL bEditShown = editNow.m_pItem == this && editNow.m_hWnd && editNow.IsWindowVisible();
    // The selected row selects again when its edit was put away (after
    // Enter or Escape), so that the click finds the edit.
    if (!bWasSelected || ((m_nFlags & ItemHasEdit) && !bEditShown))
        Select();
    CQXPPropertyGrid* pGrid = GetGrid();
    CQXPPropertyGridButton* pButton = m_pButtons->HitTest(point);
    if (pButton && IsInplaceButtonsVisible()) {
        if (bWasSelected || (pGrid && pGrid->m_bShowInplaceButtonsAlways))
            pButton->OnLButtonDown(nFlags, point);
        return TRUE;
    }
    const int g = (m_bCategory ? m_nIndent : m_nIndent - 1) * QXP_GRID_INDENT;
    if (point.x >= g && point.x <= g + QXP_GRID_INDENT && m_bExpandable && HasChilds()) {
        if (m_bExpanded)
            Collapse();
        else
            Expand();
        return TRUE;
    }
    CRect rcValue = GetValueRect();
    if (!rcValue.PtInRect(point))
        return TRUE;
    if (m_nFlags & ItemHasEdit) {
        // The click goes on to the edit that has just appeared, at the same
        // place: a press on the edit itself, not a system-wide click at
        // wherever the cursor is by now.
        CQXPPropertyGridInplaceEdit& edit = GetInplaceEdit();
        if (edit.m_pItem == this && edit.m_hWnd && edit.IsWindowVisible()) {
            CPoint pt = point;
            ::MapWindowPoints(m_pView->m_hWnd, edit.m_hWnd, &pt, 1);
            edit.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        }
    } else if (m_nFlags == ItemHasComboButton && !IsReadOnly() && m_pButtons->GetCount() == 1) {
        OnInplaceButtonDown(m_pButtons->GetAt(0));
    }
    return TRUE;
}

void CQXPPropertyGridItem::OnLButtonDblClk(UINT, CPoint point)
{
    CQXPPropertyGridButton* pButton = m_pButtons->HitTest(point);
    if (pButton && IsInplaceButtonsVisible()) {
        Select();
        return;
    }
    if (HasChilds() && m_bExpandable) {
        if (m_bExpanded)
            Collapse();
        else
            Expand();
        return;
    }
    if (!IsSelected())
        Select();
    if (m_nFlags & ItemHasEdit) {
        CQXPPropertyGridInplaceEdit& edit = GetInplaceEdit();
        if (edit.m_pItem == this && edit.m_hWnd && edit.IsWindowVisible()) {
            edit.SetFocus();
            if (!IsReadOnly() && edit.SelectConstraint(1, TRUE))
                m_pView->SetFocus(); // validates: the next constraint becomes the value
            else
                edit.SetSel(0, -1);
        }
    } else if (!IsReadOnly()) {
        SelectNextConstraint();
    }
}

BOOL CQXPPropertyGridItem::SelectNextConstraint()
{
    if (m_pConstraints->IsEmpty() || !OnRequestEdit())
        return FALSE;
    int n = m_pConstraints->FindConstraint(m_strValue);
    n = n < 0 ? 0 : (n + 1) % m_pConstraints->GetCount();
    CString str = m_pConstraints->GetAt(n);
    if (!OnAfterEdit(str))
        return FALSE;
    m_pConstraints->SetCurrent(n);
    OnValueChanged(str);
    return TRUE;
}

void CQXPPropertyGridItem::OnInplaceButtonDown(CQXPPropertyGridButton* pButton)
{
    if (IsReadOnly() || !pButton)
        return;
    CQXPPropertyGrid* pGrid = GetGrid();
    LRESULT lResult = pGrid ? pGrid->SendNotifyMessage(GRIDN_BUTTON_DOWN, (LPARAM)pButton) : 0;
    if (lResult == 1 || pButton->GetID() != QXP_GRID_BUTTON_COMBO)
        return;
    if (!m_pConstraints->IsEmpty() && OnRequestEdit()) {
        GetInplaceList().Create(this, GetItemRect());
        if (m_pView && m_pView->m_hWnd)
            m_pView->Invalidate(FALSE);
    }
}

void CQXPPropertyGridItem::OnBeforeInsert()
{
    if (m_pBindString && m_pBindString->Compare(m_strValue) != 0)
        m_strValue = *m_pBindString;
}

void CQXPPropertyGridItem::OnRemoved()
{
    if (m_pView)
        m_pView->OnItemRemoved(this);
    CQXPPropertyGridInplaceList& list = GetInplaceList();
    if (list.m_pItem == this)
        list.Close();
    CQXPPropertyGridInplaceEdit& edit = GetInplaceEdit();
    if (edit.m_pItem == this)
        edit.Reset();
    m_pChilds->Clear();
    m_pConstraints->m_pItem = NULL;
    m_pConstraints->RemoveAll();
    if (m_pCaptionMetrics) {
        m_pCaptionMetrics->InternalRelease();
        m_pCaptionMetrics = NULL;
    }
    if (m_pValueMetrics) {
        m_pValueMetrics->InternalRelease();
        m_pValueMetrics = NULL;
    }
    m_pButtons->RemoveAll();
    m_arrInplaceControls.clear();
    m_bInList = FALSE;
    m_pView = NULL;
}

// --- accessibility -----------------------------------------------------------

HRESULT CQXPPropertyGridItem::get_accParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_INVALIDARG;
    *ppdispParent = NULL;
    if (!m_pView)
        return S_FALSE;
    *ppdispParent = m_pView->GetAccessible();
    (*ppdispParent)->AddRef();
    return S_OK;
}

HRESULT CQXPPropertyGridItem::get_accChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_INVALIDARG;
    *pcountChildren = 0;
    return S_OK;
}

HRESULT CQXPPropertyGridItem::get_accChild(VARIANT, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_INVALIDARG;
    *ppdispChild = NULL;
    return E_INVALIDARG;
}

HRESULT CQXPPropertyGridItem::get_accName(VARIANT varChild, BSTR* pszName)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF || !pszName)
        return E_INVALIDARG;
    *pszName = BstrOf(m_strCaption);
    return S_OK;
}

HRESULT CQXPPropertyGridItem::get_accValue(VARIANT varChild, BSTR* pszValue)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF || !pszValue)
        return E_INVALIDARG;
    *pszValue = BstrOf(m_strValue);
    return S_OK;
}

HRESULT CQXPPropertyGridItem::get_accDescription(VARIANT varChild, BSTR* pszDescription)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF || !pszDescription)
        return E_INVALIDARG;
    *pszDescription = BstrOf(m_strDescription);
    return S_OK;
}

HRESULT CQXPPropertyGridItem::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF || !pvarRole)
        return E_INVALIDARG;
    pvarRole->vt = VT_I4;
    pvarRole->lVal = ROLE_SYSTEM_ROW;
    return S_OK;
}

HRESULT CQXPPropertyGridItem::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF || !pvarState)
        return E_INVALIDARG;
    long state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (IsSelected())
        state |= STATE_SYSTEM_FOCUSED;
    if (!m_bInList)
        state |= STATE_SYSTEM_INVISIBLE;
    if (IsReadOnly())
        state |= STATE_SYSTEM_READONLY;
    pvarState->vt = VT_I4;
    pvarState->lVal = state;
    return S_OK;
}

HRESULT CQXPPropertyGridItem::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                          VARIANT varChild)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF || !pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_INVALIDARG;
    CRect rc = GetItemRect();
    if (m_pView && m_pView->m_hWnd)
        m_pView->ClientToScreen(&rc);
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.Width();
    *pcyHeight = rc.Height();
    return S_OK;
}

HRESULT CQXPPropertyGridItem::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_INVALIDARG;
    pvarChild->vt = VT_EMPTY;
    CRect rc = GetItemRect();
    if (m_pView && m_pView->m_hWnd)
        m_pView->ClientToScreen(&rc);
    if (!rc.PtInRect(CPoint(xLeft, yTop)))
        return S_FALSE;
    pvarChild->vt = VT_I4;
    pvarChild->lVal = CHILDID_SELF;
    return S_OK;
}

HRESULT CQXPPropertyGridItem::accSelect(long flagsSelect, VARIANT varChild)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    if (flagsSelect & (SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION))
        Select();
    return S_OK;
}

// ---------------------------------------------------------------------------
// The number item

CQXPPropertyGridItemNumber::CQXPPropertyGridItemNumber(LPCSTR lpszCaption, long nValue, long* pBindNumber)
    : CQXPPropertyGridItem(lpszCaption), m_nValue(0), m_pBindNumber(pBindNumber)
{
    SetNumber(nValue);
    m_strDefaultValue = m_strValue;
}

void CQXPPropertyGridItemNumber::SetNumber(long nValue)
{
    m_nValue = nValue;
    if (m_pBindNumber)
        *m_pBindNumber = nValue;
    CString str;
    str.Format("%i", (int)nValue);
    CQXPPropertyGridItem::SetValue(str);
}

void CQXPPropertyGridItemNumber::BindToNumber(long* pBindNumber)
{
    m_pBindNumber = pBindNumber;
    if (m_pBindNumber)
        *m_pBindNumber = m_nValue;
}

void CQXPPropertyGridItemNumber::SetValue(CString strValue) { SetNumber(ParsePropertyNumber(strValue)); }

void CQXPPropertyGridItemNumber::OnBeforeInsert()
{
    if (m_pBindNumber && *m_pBindNumber != m_nValue)
        SetNumber(*m_pBindNumber);
}

// ---------------------------------------------------------------------------
// The boolean item

CQXPPropertyGridItemBool::CQXPPropertyGridItemBool(LPCSTR lpszCaption, BOOL bValue, BOOL* pBindBool)
    : CQXPPropertyGridItem(lpszCaption), m_bValue(FALSE), m_pBindBool(pBindBool), m_strTrueText("True"),
      m_strFalseText("False"), m_bCheckBoxStyle(FALSE)
{
    SetFlags(ItemHasEdit | ItemHasComboButton);
    CString str = ToolkitString(QX_IDS_GRID_TRUE_FALSE, "True\nFalse");
    int n = str.Find('\n');
    if (n >= 0) {
        m_strTrueText = str.Left(n);
        m_strFalseText = str.Mid(n + 1);
    }
    SetBool(bValue);
    m_pConstraints->AddConstraint(m_strTrueText);
    m_pConstraints->AddConstraint(m_strFalseText);
    m_bConstraintEdit = TRUE;
    m_strDefaultValue = m_strValue;
}

void CQXPPropertyGridItemBool::SetBool(BOOL bValue)
{
    m_bValue = bValue;
    if (m_pBindBool)
        *m_pBindBool = bValue;
    CQXPPropertyGridItem::SetValue(bValue ? m_strTrueText : m_strFalseText);
}

void CQXPPropertyGridItemBool::BindToBool(BOOL* pBindBool)
{
    m_pBindBool = pBindBool;
    if (m_pBindBool)
        *m_pBindBool = m_bValue;
}

void CQXPPropertyGridItemBool::SetValue(CString strValue) { SetBool(ParsePropertyBool(strValue, m_strTrueText)); }

void CQXPPropertyGridItemBool::OnBeforeInsert()
{
    if (m_pBindBool && *m_pBindBool != m_bValue)
        SetBool(*m_pBindBool);
}

void CQXPPropertyGridItemBool::SetCheckBoxStyle(BOOL bCheckBox)
{
    m_bCheckBoxStyle = bCheckBox;
    if (m_pView && m_pView->m_hWnd)
        m_pView->Invalidate(FALSE);
}

CString CQXPPropertyGridItemBool::GetViewValue()
{
    return m_bCheckBoxStyle ? CString() : CQXPPropertyGridItem::GetViewValue();
}

BOOL CQXPPropertyGridItemBool::OnDrawItemValue(CDC& dc, CRect rcValue)
{
    if (!m_bCheckBoxStyle)
        return FALSE;
    const int yCentre = rcValue.CenterPoint().y;
    CRect rc(rcValue.left - 1, yCentre - 6, rcValue.left - 1 + 13, yCentre + 7);
    CQXPPropertyGridPainter* pPainter = m_pView ? m_pView->GetPaintManager() : NULL;
    if (pPainter && pPainter->m_nLook == qxpGridLookVisualStyles && pPainter->m_themeButton.IsOpen() &&
        pPainter->m_themeButton.IsAppThemed()) {
        int nState = IsReadOnly() ? (m_bValue ? 8 : 4) : (m_bValue ? 5 : 1);
        pPainter->m_themeButton.DrawThemeBackground(dc.GetSafeHdc(), 3 /* BP_CHECKBOX */, nState, &rc);
    } else {
        ::DrawFrameControl(dc.GetSafeHdc(), &rc, DFC_BUTTON,
                           DFCS_BUTTONCHECK | (m_bValue ? DFCS_CHECKED : 0) | (IsReadOnly() ? DFCS_INACTIVE : 0));
    }
    return TRUE;
}

BOOL CQXPPropertyGridItemBool::OnChar(UINT nChar)
{
    if (m_bCheckBoxStyle && nChar == VK_SPACE) {
        if (!IsReadOnly())
            SelectNextConstraint();
        return TRUE;
    }
    return CQXPPropertyGridItem::OnChar(nChar);
}

void CQXPPropertyGridItemBool::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_bCheckBoxStyle && GetValueRect().PtInRect(point)) {
        if (!IsReadOnly())
            SelectNextConstraint();
        return;
    }
    CQXPPropertyGridItem::OnLButtonDblClk(nFlags, point);
}

BOOL CQXPPropertyGridItemBool::OnLButtonDown(UINT nFlags, CPoint point)
{
    CRect rc = GetValueRect();
    if (m_bCheckBoxStyle && rc.PtInRect(point) && point.x < rc.left + 15) {
        if (!IsSelected())
            Select();
        if (!IsReadOnly())
            SelectNextConstraint();
        return TRUE;
    }
    return CQXPPropertyGridItem::OnLButtonDown(nFlags, point);
}
