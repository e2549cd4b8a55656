// Control wrappers.
#include "fx/ctrls.h"
#include <mutex>

namespace fx {

void InitCommonControlsFor(DWORD dwICC)
{
    static std::mutex s_lock;
    static DWORD s_dwDone = 0;
    std::lock_guard<std::mutex> guard(s_lock);
    if ((s_dwDone & dwICC) == dwICC)
        return;
    INITCOMMONCONTROLSEX icc;
    icc.dwSize = sizeof(icc);
    icc.dwICC = dwICC;
    if (::InitCommonControlsEx(&icc))
        s_dwDone |= dwICC;
}

namespace msg {
CScrollBar* ScrollBar(HWND hWnd) { return static_cast<CScrollBar*>(CWnd::FromHandle(hWnd)); }
CListBox* ListBox(HWND hWnd) { return static_cast<CListBox*>(CWnd::FromHandle(hWnd)); }
} // namespace msg

} // namespace fx

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)
IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)
IMPLEMENT_DYNAMIC(CReBarCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)

// ---------------------------------------------------------------------------
// Standard controls

BOOL CStatic::Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

void CStatic::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult != NULL)
        *pResult = TRUE;
    return TRUE;
}

BOOL CButton::Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult != NULL)
        *pResult = TRUE;
    return TRUE;
}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("EDIT", NULL, dwStyle, rect, pParentWnd, nID);
}

int CEdit::GetLine(int nIndex, LPSTR lpszBuffer, int nMaxLength) const
{
    if (nMaxLength <= 0)
        return 0;
    // The first WORD of the buffer tells the control its size.
    *(LPWORD)lpszBuffer = (WORD)(nMaxLength > 0xFFFF ? 0xFFFF : nMaxLength);
    return (int)SendMessage(EM_GETLINE, (WPARAM)nIndex, (LPARAM)lpszBuffer);
}

int CEdit::GetLine(int nIndex, LPSTR lpszBuffer) const
{
    return (int)SendMessage(EM_GETLINE, (WPARAM)nIndex, (LPARAM)lpszBuffer);
}

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("LISTBOX", NULL, dwStyle, rect, pParentWnd, nID);
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    rString.Empty();
    int nLen = GetTextLen(nIndex);
    if (nLen == LB_ERR || nLen <= 0)
        return;
    int nGot = (int)SendMessage(LB_GETTEXT, (WPARAM)nIndex, (LPARAM)rString.GetBuffer(nLen + 1));
    rString.ReleaseBuffer(nGot == LB_ERR ? 0 : nGot);
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}
int CListBox::VKeyToItem(UINT, UINT) { return -1; }
int CListBox::CharToItem(UINT, UINT) { return -1; }

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = TRUE;
    switch (message) {
    case WM_DRAWITEM:
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        break;
    case WM_MEASUREITEM:
        MeasureItem((LPMEASUREITEMSTRUCT)lParam);
        break;
    case WM_COMPAREITEM:
        lResult = CompareItem((LPCOMPAREITEMSTRUCT)lParam);
        break;
    case WM_DELETEITEM:
        DeleteItem((LPDELETEITEMSTRUCT)lParam);
        break;
    case WM_VKEYTOITEM:
        lResult = VKeyToItem(LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_CHARTOITEM:
        lResult = CharToItem(LOWORD(wParam), HIWORD(wParam));
        break;
    default:
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
    if (pResult != NULL)
        *pResult = lResult;
    return TRUE;
}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("COMBOBOX", NULL, dwStyle, rect, pParentWnd, nID);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    rString.Empty();
    int nLen = GetLBTextLen(nIndex);
    if (nLen == CB_ERR || nLen <= 0)
        return;
    int nGot = (int)SendMessage(CB_GETLBTEXT, (WPARAM)nIndex, (LPARAM)rString.GetBuffer(nLen + 1));
    rString.ReleaseBuffer(nGot == CB_ERR ? 0 : nGot);
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = TRUE;
    switch (message) {
    case WM_DRAWITEM:
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        break;
    case WM_MEASUREITEM:
        MeasureItem((LPMEASUREITEMSTRUCT)lParam);
        break;
    case WM_COMPAREITEM:
        lResult = CompareItem((LPCOMPAREITEMSTRUCT)lParam);
        break;
    case WM_DELETEITEM:
        DeleteItem((LPDELETEITEMSTRUCT)lParam);
        break;
    default:
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
    if (pResult != NULL)
        *pResult = lResult;
    return TRUE;
}

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("SCROLLBAR", NULL, dwStyle, rect, pParentWnd, nID);
}

// ---------------------------------------------------------------------------
// Common controls

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    fx::InitCommonControlsFor(ICC_UPDOWN_CLASS);
    return CWnd::Create(UPDOWN_CLASSA, NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    fx::InitCommonControlsFor(ICC_PROGRESS_CLASS);
    return CWnd::Create(PROGRESS_CLASSA, NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CSliderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    fx::InitCommonControlsFor(ICC_BAR_CLASSES);
    return CWnd::Create(TRACKBAR_CLASSA, NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    fx::InitCommonControlsFor(ICC_BAR_CLASSES);
    BOOL bResult = CWnd::CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL, WS_POPUP | dwStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), NULL);
    if (bResult)
        SetOwner(pParentWnd);
    return bResult;
}

void CToolTipCtrl::FillInToolInfo(TOOLINFOA& ti, CWnd* pWnd, UINT_PTR nIDTool) const
{
    ZeroMemory(&ti, sizeof(ti));
    ti.cbSize = sizeof(ti);
    HWND hWnd = pWnd->GetSafeHwnd();
    if (nIDTool == 0) {
        ti.hwnd = ::GetParent(hWnd);
        ti.uFlags = TTF_IDISHWND;
        ti.uId = (UINT_PTR)hWnd;
    } else {
        ti.hwnd = hWnd;
        ti.uFlags = 0;
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool != NULL)
        ti.rect = *lpRectTool;
    else if (nIDTool != 0)
        pWnd->GetClientRect(&ti.rect);
    ti.lpszText = const_cast<LPSTR>(lpszText);
    ti.uFlags |= TTF_SUBCLASS;
    return (BOOL)SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    CString str;
    str.LoadString(nIDText);
    return AddTool(pWnd, str, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    SendMessage(TTM_DELTOOLA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const
{
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    char szBuf[1024] = "";
    ti.lpszText = szBuf;
    SendMessage(TTM_GETTEXTA, sizeof(szBuf), (LPARAM)&ti);
    str = szBuf;
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFOA* pToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const
{
    FillInToolInfo(*pToolInfo, pWnd, nIDTool);
    return (BOOL)SendMessage(TTM_GETTOOLINFOA, 0, (LPARAM)pToolInfo);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.rect = *lpRect;
    SendMessage(TTM_NEWTOOLRECTA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = const_cast<LPSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
}

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    fx::InitCommonControlsFor(ICC_TAB_CLASSES);
    return CWnd::Create(WC_TABCONTROLA, NULL, dwStyle, rect, pParentWnd, nID);
}

CToolTipCtrl* CTabCtrl::GetToolTips() const
{
    return static_cast<CToolTipCtrl*>(CWnd::FromHandle((HWND)SendMessage(TCM_GETTOOLTIPS, 0, 0)));
}

LONG CTabCtrl::InsertItem(int nItem, LPCSTR lpszItem)
{
    TCITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPSTR>(lpszItem);
    return InsertItem(nItem, &item);
}

LONG CTabCtrl::InsertItem(int nItem, LPCSTR lpszItem, int nImage)
{
    TCITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    return InsertItem(nItem, &item);
}

BOOL CHeaderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    fx::InitCommonControlsFor(ICC_LISTVIEW_CLASSES);
    return CWnd::Create(WC_HEADERA, NULL, dwStyle, rect, pParentWnd, nID);
}

// --- CListCtrl ---------------------------------------------------------------

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    fx::InitCommonControlsFor(ICC_LISTVIEW_CLASSES);
    return CWnd::Create(WC_LISTVIEWA, NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCSTR lpszItem, int nImage, UINT nState,
                        UINT nStateMask, LPARAM lParam)
{
    LVITEMA lvi;
    ZeroMemory(&lvi, sizeof(lvi));
    lvi.mask = nMask;
    lvi.iItem = nItem;
    lvi.iSubItem = nSubItem;
    lvi.stateMask = nStateMask;
    lvi.state = nState;
    lvi.pszText = const_cast<LPSTR>(lpszItem);
    lvi.iImage = nImage;
    lvi.lParam = lParam;
    return (BOOL)SendMessage(LVM_SETITEMA, 0, (LPARAM)&lvi);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMA lvi;
    ZeroMemory(&lvi, sizeof(lvi));
    lvi.stateMask = nMask;
    lvi.state = nState;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)nItem, (LPARAM)&lvi);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // Grow the buffer until the text fits.
    CString str;
    LVITEMA lvi;
    ZeroMemory(&lvi, sizeof(lvi));
    lvi.iSubItem = nSubItem;
    int nLen = 128;
    int nRes;
    do {
        nLen *= 2;
        lvi.cchTextMax = nLen;
        lvi.pszText = str.GetBuffer(nLen);
        nRes = (int)SendMessage(LVM_GETITEMTEXTA, (WPARAM)nItem, (LPARAM)&lvi);
        str.ReleaseBuffer(nRes);
    } while (nRes >= nLen - 1 && nLen < 0x100000);
    return str;
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPSTR lpszText, int nLen) const
{
    LVITEMA lvi;
    ZeroMemory(&lvi, sizeof(lvi));
    lvi.iSubItem = nSubItem;
    lvi.cchTextMax = nLen;
    lvi.pszText = lpszText;
    return (int)SendMessage(LVM_GETITEMTEXTA, (WPARAM)nItem, (LPARAM)&lvi);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCSTR lpszText)
{
    LVITEMA lvi;
    ZeroMemory(&lvi, sizeof(lvi));
    lvi.iSubItem = nSubItem;
    lvi.pszText = const_cast<LPSTR>(lpszText);
    return (BOOL)SendMessage(LVM_SETITEMTEXTA, (WPARAM)nItem, (LPARAM)&lvi);
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    return SetItem(nItem, 0, LVIF_PARAM, NULL, 0, 0, 0, (LPARAM)dwData);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMA lvi;
    ZeroMemory(&lvi, sizeof(lvi));
    lvi.iItem = nItem;
    lvi.mask = LVIF_PARAM;
    SendMessage(LVM_GETITEMA, 0, (LPARAM)&lvi);
    return (DWORD_PTR)lvi.lParam;
}

BOOL CListCtrl::GetColumnOrderArray(LPINT piArray, int iCount)
{
    if (iCount == -1) {
        CHeaderCtrl* pHeader = GetHeaderCtrl();
        if (pHeader == NULL)
            return FALSE;
        iCount = pHeader->GetItemCount();
    }
    return (BOOL)SendMessage(LVM_GETCOLUMNORDERARRAY, (WPARAM)iCount, (LPARAM)piArray);
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const
{
    return static_cast<CHeaderCtrl*>(CWnd::FromHandle((HWND)SendMessage(LVM_GETHEADER, 0, 0)));
}

CEdit* CListCtrl::GetEditControl() const
{
    return static_cast<CEdit*>(CWnd::FromHandle((HWND)SendMessage(LVM_GETEDITCONTROL, 0, 0)));
}

CEdit* CListCtrl::EditLabel(int nItem)
{
    return static_cast<CEdit*>(CWnd::FromHandle((HWND)SendMessage(LVM_EDITLABELA, (WPARAM)nItem, 0)));
}

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem)
{
    return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem, int nImage)
{
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = nMask;
    item.iItem = nItem;
    item.state = nState;
    item.stateMask = nStateMask;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(&item);
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO hti;
    ZeroMemory(&hti, sizeof(hti));
    hti.pt = pt;
    int nRes = (int)SendMessage(LVM_HITTEST, 0, (LPARAM)&hti);
    if (pFlags != NULL)
        *pFlags = hti.flags;
    return nRes;
}

int CListCtrl::InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMNA column;
    ZeroMemory(&column, sizeof(column));
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = const_cast<LPSTR>(lpszColumnHeading);
    column.fmt = nFormat;
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

// --- CTreeCtrl ----------------------------------------------------------------

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    fx::InitCommonControlsFor(ICC_TREEVIEW_CLASSES);
    return CWnd::Create(WC_TREEVIEWA, NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const
{
    // The item handle goes in through the rectangle.
    *(HTREEITEM*)lpRect = hItem;
    return (BOOL)SendMessage(TVM_GETITEMRECT, (WPARAM)bTextOnly, (LPARAM)lpRect);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    CString str;
    TVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.hItem = hItem;
    item.mask = TVIF_TEXT;
    int nLen = 128;
    int nRes;
    do {
        nLen *= 2;
        item.pszText = str.GetBuffer(nLen);
        item.cchTextMax = nLen;
        item.pszText[0] = '\0';
        SendMessage(TVM_GETITEMA, 0, (LPARAM)&item);
        nRes = lstrlenA(item.pszText);
        if (item.pszText != str.GetString()) {
            // The control may answer with a pointer of its own.
            CString strCopy(item.pszText);
            str.ReleaseBuffer(0);
            return strCopy;
        }
        str.ReleaseBuffer(nRes);
    } while (nRes >= nLen - 1 && nLen < 0x100000);
    return str;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const
{
    TVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.hItem = hItem;
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    BOOL bRes = (BOOL)SendMessage(TVM_GETITEMA, 0, (LPARAM)&item);
    if (bRes) {
        nImage = item.iImage;
        nSelectedImage = item.iSelectedImage;
    }
    return bRes;
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const
{
    TVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.hItem = hItem;
    item.mask = TVIF_STATE;
    item.stateMask = nStateMask;
    SendMessage(TVM_GETITEMA, 0, (LPARAM)&item);
    return item.state & nStateMask;
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    TVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.hItem = hItem;
    item.mask = TVIF_PARAM;
    SendMessage(TVM_GETITEMA, 0, (LPARAM)&item);
    return (DWORD_PTR)item.lParam;
}

BOOL CTreeCtrl::SetItem(HTREEITEM hItem, UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                        UINT nStateMask, LPARAM lParam)
{
    TVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.hItem = hItem;
    item.mask = nMask;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    item.iSelectedImage = nSelectedImage;
    item.state = nState;
    item.stateMask = nStateMask;
    item.lParam = lParam;
    return (BOOL)SendMessage(TVM_SETITEMA, 0, (LPARAM)&item);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const
{
    TVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.hItem = hItem;
    item.mask = TVIF_CHILDREN;
    SendMessage(TVM_GETITEMA, 0, (LPARAM)&item);
    return item.cChildren != 0;
}

CEdit* CTreeCtrl::GetEditControl() const
{
    return static_cast<CEdit*>(CWnd::FromHandle((HWND)SendMessage(TVM_GETEDITCONTROL, 0, 0)));
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM hItem)
{
    return static_cast<CEdit*>(CWnd::FromHandle((HWND)SendMessage(TVM_EDITLABELA, 0, (LPARAM)hItem)));
}

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                                UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    TVINSERTSTRUCTA tvis;
    ZeroMemory(&tvis, sizeof(tvis));
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = nMask;
    tvis.item.pszText = const_cast<LPSTR>(lpszItem);
    tvis.item.iImage = nImage;
    tvis.item.iSelectedImage = nSelectedImage;
    tvis.item.state = nState;
    tvis.item.stateMask = nStateMask;
    tvis.item.lParam = lParam;
    return InsertItem(&tvis);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter)
{
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0,
                      hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    TVHITTESTINFO hti;
    ZeroMemory(&hti, sizeof(hti));
    hti.pt = pt;
    HTREEITEM h = (HTREEITEM)SendMessage(TVM_HITTEST, 0, (LPARAM)&hti);
    if (pFlags != NULL)
        *pFlags = hti.flags;
    return h;
}

CImageList* CTreeCtrl::CreateDragImage(HTREEITEM hItem)
{
    HIMAGELIST hImageList = (HIMAGELIST)SendMessage(TVM_CREATEDRAGIMAGE, 0, (LPARAM)hItem);
    if (hImageList == NULL)
        return NULL;
    CImageList* pImageList = new CImageList;
    pImageList->Attach(hImageList);
    return pImageList;
}

// --- others ------------------------------------------------------------------

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    static HMODULE s_hRichEdit = ::LoadLibraryA("riched20.dll");
    if (s_hRichEdit == NULL)
        return FALSE;
    return CWnd::Create("RichEdit20A", NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CReBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    fx::InitCommonControlsFor(ICC_COOL_CLASSES);
    return CWnd::Create(REBARCLASSNAMEA, NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CToolBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    fx::InitCommonControlsFor(ICC_BAR_CLASSES);
    BOOL bResult = CWnd::Create(TOOLBARCLASSNAMEA, NULL, dwStyle, rect, pParentWnd, nID);
    if (bResult)
        SetButtonStructSize(sizeof(TBBUTTON));
    return bResult;
}

int CToolBarCtrl::AddBitmap(int nNumButtons, UINT nBitmapID)
{
    TBADDBITMAP tbab;
    tbab.hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(nBitmapID), (LPCSTR)RT_BITMAP);
    tbab.nID = nBitmapID;
    return (int)SendMessage(TB_ADDBITMAP, (WPARAM)nNumButtons, (LPARAM)&tbab);
}
