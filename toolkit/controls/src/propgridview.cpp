// propgridview.cpp - the property grid's view: rows from the item tree in
// three sort modes, the divider, mouse and keys, scrolling that carries the
// in-place windows, the truncated-text tip and the table's accessibility.
#include <qx/propertygrid.h>

#include <qx/drawing.h>
#include <qx/toolkitres.h>

#include <algorithm>

static BSTR ViewBstr(LPCSTR psz)
{
    int n = ::MultiByteToWideChar(CP_UTF8, 0, psz, -1, NULL, 0);
    std::vector<WCHAR> w((size_t)std::max(1, n));
    ::MultiByteToWideChar(CP_UTF8, 0, psz, -1, w.data(), n);
    return ::SysAllocString(w.data());
}

// ---------------------------------------------------------------------------
// The truncated-text tip window

namespace {

const char kTipClass[] = "QXPPropertyGridTip";

LRESULT CALLBACK TipWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CQXPPropertyGridView* pView = (CQXPPropertyGridView*)::GetWindowLongPtrA(hWnd, GWLP_USERDATA);
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = ::BeginPaint(hWnd, &ps);
        RECT rc;
        ::GetClientRect(hWnd, &rc);
        ToolkitColorManager* pColors = ToolkitColorManager::Instance();
        HBRUSH hbr = ::CreateSolidBrush(pColors->GetColor(COLOR_INFOBK));
        ::FillRect(hdc, &rc, hbr);
        ::DeleteObject(hbr);
        hbr = ::CreateSolidBrush(pColors->GetColor(COLOR_INFOTEXT));
        ::FrameRect(hdc, &rc, hbr);
        ::DeleteObject(hbr);
        if (pView) {
            HGDIOBJ hOld = ::SelectObject(hdc, (HFONT)::GetWindowLongPtrA(hWnd, 0));
            ::SetBkMode(hdc, TRANSPARENT);
            ::SetTextColor(hdc, pColors->GetColor(COLOR_INFOTEXT));
            rc.left += 4;
            CString str = pView->GetToolTipText();
            ::DrawTextA(hdc, str, str.GetLength(), &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            ::SelectObject(hdc, hOld);
        }
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    default:
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

} // namespace

// ---------------------------------------------------------------------------
// View

IMPLEMENT_DYNAMIC(CQXPPropertyGridView, CListBox)

CQXPPropertyGridView::CQXPPropertyGridView()
    : m_dDivider(0.5), m_bProportional(TRUE), m_bDividerMovable(TRUE), m_bTracking(FALSE),
      m_properetySort(qxpGridSortCategorized), m_pSelected(NULL), m_pFocusedButton(NULL), m_pHotButton(NULL),
      m_pGrid(NULL), m_nLockUpdate(0), m_nItemHeight(16), m_hWndTip(NULL), m_rcTip(0, 0, 0, 0)
{
    CQXPAccessibleBase::Init(this);
    m_pCategories = new PropertyGridItems();
    m_hCursor = ToolkitCursor(QX_IDC_SPLIT_LEFTRIGHT, IDC_SIZEWE);
}

CQXPPropertyGridView::~CQXPPropertyGridView()
{
    if (m_hWndTip)
        ::DestroyWindow(m_hWndTip);
    if (m_hWnd)
        DestroyWindow();
    ++m_nLockUpdate;
    std::vector<CQXPPropertyGridItem*> arr;
    arr.swap(m_pCategories->m_arr);
    for (CQXPPropertyGridItem* p : arr) {
        p->OnRemoved();
        p->InternalRelease();
    }
    m_pCategories->InternalRelease();
}

CQXPPropertyGridPainter* CQXPPropertyGridView::GetPaintManager() const
{
    return m_pGrid ? m_pGrid->GetPaintManager() : NULL;
}

CQXPPropertyGridItem* CQXPPropertyGridView::AddCategory(LPCSTR lpszCaption, CQXPPropertyGridItem* pItem)
{
    return InsertCategory(-1, lpszCaption, pItem);
}

CQXPPropertyGridItem* CQXPPropertyGridView::InsertCategory(int nIndex, LPCSTR lpszCaption,
                                                           CQXPPropertyGridItem* pItem)
{
    if (!pItem)
        pItem = new CQXPPropertyGridItem(lpszCaption);
    if (m_properetySort != qxpGridSortCategorized) {
        if (m_nLockUpdate == 0 && m_hWnd)
            SetPropertySort(qxpGridSortCategorized, TRUE);
        else
            m_properetySort = qxpGridSortCategorized;
    }
    pItem->m_pView = this;
    pItem->m_bCategory = TRUE;
    pItem->SetFlags(0);
    if (nIndex < 0 || nIndex > m_pCategories->GetCount())
        nIndex = m_pCategories->GetCount();
    m_pCategories->InsertAt(nIndex, pItem);
    if (m_hWnd && m_nLockUpdate == 0) {
        CQXPPropertyGridItem* pNext = m_pCategories->GetAt(nIndex + 1);
        InsertRow(pItem, pNext && pNext->m_bInList ? pNext->m_nIndex : GetCount());
    }
    ReindexRows();
    return pItem;
}

void CQXPPropertyGridView::SetPropertySort(PropertyGridSortOrder sort, BOOL bReset, BOOL bRedraw)
{
    if (m_nLockUpdate > 0) {
        m_properetySort = sort;
        return;
    }
    if (sort == m_properetySort && !bReset)
        return;
    if (!m_hWnd)
        return;
    if (bRedraw)
        SetRedraw(FALSE);
    CQXPPropertyGridItem* pTop = bReset ? GetItem(GetTopIndex()) : NULL;
    CQXPPropertyGridItem* pSelected = GetSelectedItem();
    ResetContent();
    if (sort == qxpGridSortCategorized) {
        for (CQXPPropertyGridItem* pCategory : m_pCategories->m_arr)
            InsertRow(pCategory, GetCount());
    } else {
        std::vector<CQXPPropertyGridItem*> arr;
        for (CQXPPropertyGridItem* pCategory : m_pCategories->m_arr)
            if (!pCategory->IsHidden())
                arr.insert(arr.end(), pCategory->GetChilds()->m_arr.begin(), pCategory->GetChilds()->m_arr.end());
        if (sort == qxpGridSortAlphabetical)
            std::sort(arr.begin(), arr.end(), [](const CQXPPropertyGridItem* a, const CQXPPropertyGridItem* b) {
                return a->m_strCaption.Compare(b->m_strCaption) < 0;
            });
        for (CQXPPropertyGridItem* p : arr)
            InsertRow(p, GetCount());
    }
    ReindexRows();
    if (pTop && pTop->m_bInList)
        SetTopIndex(pTop->m_nIndex);
    if (pSelected && pSelected->m_bInList) {
        SetCurSel(pSelected->m_nIndex);
        OnSelectionChanged();
    }
    if (bRedraw) {
        SetRedraw(TRUE);
        Invalidate(FALSE);
    }
    if (sort != m_properetySort) {
        m_properetySort = sort;
        if (m_pGrid)
            m_pGrid->OnSortChanged();
    }
}

void CQXPPropertyGridView::Refresh()
{
    if (!m_hWnd)
        return;
    ReindexRows();
    SetPropertySort(m_properetySort, TRUE, TRUE);
    if (m_pGrid && m_pGrid->m_hWnd)
        m_pGrid->Invalidate(FALSE);
}

void CQXPPropertyGridView::UnlockUpdate()
{
    if (m_nLockUpdate > 0 && --m_nLockUpdate == 0)
        Refresh();
}

void CQXPPropertyGridView::ResetContent()
{
    if (m_pSelected) {
        CQXPPropertyGridItem* p = m_pSelected;
        m_pSelected = NULL;
        p->OnDeselect();
    }
    m_pHotButton = NULL;
    m_pFocusedButton = NULL;
    if (m_pGrid && m_pGrid->m_hWnd)
        m_pGrid->OnSelectionChanged(NULL);
    if (!m_hWnd)
        return;
    for (int i = 0; i < GetCount(); i++)
        if (CQXPPropertyGridItem* p = GetItem(i))
            p->m_bInList = FALSE;
    SendMessage(LB_RESETCONTENT);
    if (CQXPPropertyGridPainter* pPainter = GetPaintManager()) {
        SetFont(pPainter->GetNormalFont(), FALSE);
        CClientDC dc(this);
        CFont* pOld = dc.SelectObject(pPainter->GetNormalFont());
        m_nItemHeight = dc.GetTextExtent(" ").cy + 4;
        dc.SelectObject(pOld);
    }
    SendMessage(LB_SETITEMHEIGHT, 0, MAKELPARAM(m_nItemHeight, 0));
}

CQXPPropertyGridItem* CQXPPropertyGridView::GetItem(int nIndex) const
{
    if (!m_hWnd || nIndex < 0 || nIndex >= GetCount())
        return NULL;
    DWORD_PTR dw = GetItemData(nIndex);
    return dw == (DWORD_PTR)LB_ERR ? NULL : (CQXPPropertyGridItem*)dw;
}

CQXPPropertyGridItem* CQXPPropertyGridView::GetSelectedItem() const { return m_hWnd ? GetItem(GetCurSel()) : NULL; }

int CQXPPropertyGridView::GetDividerPos() const
{
    CRect rc(0, 0, 0, 0);
    if (m_hWnd)
        GetClientRect(&rc);
    return DividerPixels(m_bProportional, m_dDivider, rc.Width());
}

void CQXPPropertyGridView::SetDividerPos(int x)
{
    CRect rc(0, 0, 0, 0);
    if (m_hWnd)
        GetClientRect(&rc);
    m_dDivider = ClampDividerPos(m_bProportional, x, rc.Width());
}

void CQXPPropertyGridView::SetFocusedButton(CQXPPropertyGridButton* pButton)
{
    // The focus first: taking it clears the focused button.
    if (pButton && m_hWnd && ::GetFocus() != m_hWnd)
        SetFocus();
    m_pFocusedButton = pButton;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CQXPPropertyGridView::SetHotButton(CQXPPropertyGridButton* pButton) { m_pHotButton = pButton; }

int CQXPPropertyGridView::InsertRow(CQXPPropertyGridItem* pItem, int nIndex)
{
    if (m_nLockUpdate > 0 || !m_hWnd || !pItem || pItem->IsHidden())
        return 0;
    pItem->OnBeforeInsert();
    int n = (int)SendMessage(LB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)pItem);
    if (n < 0)
        return 0;
    SetItemData(n, (DWORD_PTR)pItem);
    if (GetStyle() & LBS_OWNERDRAWVARIABLE) {
        MEASUREITEMSTRUCT mis = {};
        mis.CtlType = ODT_LISTBOX;
        mis.itemID = (UINT)n;
        mis.itemHeight = (UINT)m_nItemHeight;
        mis.itemData = (ULONG_PTR)pItem;
        MeasureItem(&mis);
        SetItemHeight(n, mis.itemHeight);
    }
    pItem->m_bInList = TRUE;
    pItem->m_nIndex = n;
    int nCount = 1;
    if (pItem->m_bExpanded)
        nCount += InsertChildRows(pItem, n);
    return nCount;
}

int CQXPPropertyGridView::InsertChildRows(CQXPPropertyGridItem* pItem, int nIndex)
{
    int nRow = nIndex + 1, nTotal = 0;
    for (CQXPPropertyGridItem* pChild : pItem->GetChilds()->m_arr) {
        int n = InsertRow(pChild, nRow);
        nRow += n;
        nTotal += n;
    }
    return nTotal;
}

void CQXPPropertyGridView::RemoveChildRows(CQXPPropertyGridItem* pItem)
{
    if (!m_hWnd)
        return;
    const int nRow = pItem->m_nIndex + 1;
    while (nRow < GetCount()) {
        CQXPPropertyGridItem* p = GetItem(nRow);
        if (!p || !p->HasParent(pItem))
            break;
        p->m_bInList = FALSE;
        if (m_pSelected == p) {
            m_pSelected = NULL;
            p->OnDeselect();
        }
        DeleteString((UINT)nRow);
    }
}

void CQXPPropertyGridView::ReindexRows()
{
    for (int i = 0; i < GetCount(); i++) {
        CQXPPropertyGridItem* p = GetItem(i);
        if (p && p->m_nIndex != i)
            p->m_nIndex = i;
    }
}

void CQXPPropertyGridView::OnSelectionChanged()
{
    CQXPPropertyGridItem* pPrevious = m_pSelected;
    m_pSelected = NULL;
    if (pPrevious)
        pPrevious->OnDeselect();
    CQXPPropertyGridItem* pItem = GetSelectedItem();
    m_pSelected = pItem;
    if (pItem)
        pItem->OnSelect();
    if (m_pGrid)
        m_pGrid->OnSelectionChanged(pItem);
}

void CQXPPropertyGridView::OnItemRemoved(CQXPPropertyGridItem* pItem)
{
    if (m_pSelected == pItem)
        m_pSelected = NULL;
    if (m_pHotButton && m_pHotButton->m_pItem == pItem)
        m_pHotButton = NULL;
    if (m_pFocusedButton && m_pFocusedButton->m_pItem == pItem)
        m_pFocusedButton = NULL;
}

void CQXPPropertyGridView::OnButtonRemoved(CQXPPropertyGridButton* pButton)
{
    if (m_pHotButton == pButton)
        m_pHotButton = NULL;
    if (m_pFocusedButton == pButton)
        m_pFocusedButton = NULL;
}

void CQXPPropertyGridView::RepositionInplace()
{
    CQXPPropertyGridItem* pItem = m_pSelected;
    if (!pItem || !m_pGrid)
        return;
    CQXPPropertyGridInplaceEdit& edit = m_pGrid->GetInplaceEdit();
    CRect rc = pItem->GetValueRect();
    if (edit.m_pItem == pItem && edit.m_hWnd && edit.IsWindowVisible())
        edit.MoveWindow(rc);
    for (HWND hWnd : pItem->GetInplaceControls())
        ::MoveWindow(hWnd, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
}

BOOL CQXPPropertyGridView::HitDivider(CPoint point) const
{
    return m_bDividerMovable && GetCount() > 0 && IsOnDivider(point.x, GetDividerPos());
}

void CQXPPropertyGridView::PressComboButton()
{
    CQXPPropertyGridItem* pItem = GetSelectedItem();
    if (!pItem)
        return;
    if (CQXPPropertyGridButton* pButton = pItem->GetInplaceButtons()->Find(QXP_GRID_BUTTON_COMBO))
        pItem->OnInplaceButtonDown(pButton);
}

// --- drawing ------------------------------------------------------------------

void CQXPPropertyGridView::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if ((int)lpDIS->itemID < 0)
        return;
    CQXPPropertyGridItem* pItem = (CQXPPropertyGridItem*)lpDIS->itemData;
    CQXPPropertyGridPainter* pPainter = GetPaintManager();
    if (!pItem || !pPainter)
        return;
    if ((int)lpDIS->itemID == GetCount() - 1) {
        CRect rc;
        GetClientRect(&rc);
        rc.top = lpDIS->rcItem.top;
        CDC* pDC = CDC::FromHandle(lpDIS->hDC);
        pDC->FillSolidRect(rc, pPainter->GetDefaultMetrics()->m_clrBack);
    }
    if (m_pGrid && (m_pGrid->GetStyle() & QXP_GRID_OWNERDRAW_STYLE) &&
        m_pGrid->SendNotifyMessage(GRIDN_DRAW_ITEM, (LPARAM)lpDIS) == 1)
        return;
    pPainter->DrawItem(lpDIS);
}

void CQXPPropertyGridView::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    lpMIS->itemHeight = (UINT)m_nItemHeight;
    if (CQXPPropertyGridPainter* pPainter = GetPaintManager())
        pPainter->MeasureItem(lpMIS);
}

void CQXPPropertyGridView::OnViewPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CRect rc;
    GetClientRect(&rc);
    {
        BufferedDC buf(hdc, rc);
        if (CQXPPropertyGridPainter* pPainter = GetPaintManager())
            pPainter->FillViewBackground(&buf, rc);
        CListBox::DefWindowProc(WM_PAINT, (WPARAM)buf.GetSafeHdc(), 0);
    }
    ::EndPaint(m_hWnd, &ps);
}

// --- input --------------------------------------------------------------------

void CQXPPropertyGridView::OnViewLButtonDown(UINT nFlags, CPoint point)
{
    HideToolTip();
    if (HitDivider(point)) {
        SetFocus();
        SetCapture();
        if (m_pSelected)
            m_pSelected->OnValidateEdit();
        m_bTracking = TRUE;
        return;
    }
    SetFocus();
    if (::GetFocus() != m_hWnd)
        return; // a pending edit was refused and kept the focus
    BOOL bOutside = FALSE;
    UINT n = ItemFromPoint(point, bOutside);
    CQXPPropertyGridItem* pItem = bOutside ? NULL : GetItem((int)n);
    if (pItem && pItem->OnLButtonDown(nFlags, point))
        return;
    CListBox::WindowProc(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

void CQXPPropertyGridView::OnViewMouseMove(UINT, CPoint point)
{
    BOOL bOutside = FALSE;
    UINT n = ItemFromPoint(point, bOutside);
    CQXPPropertyGridItem* pItem = bOutside ? NULL : GetItem((int)n);
    CQXPPropertyGridButton* pHot =
        pItem && pItem->IsInplaceButtonsVisible() ? pItem->GetInplaceButtons()->HitTest(point) : NULL;
    if (pHot != m_pHotButton) {
        m_pHotButton = pHot;
        Invalidate(FALSE);
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
    }
    ShowToolTip(point);
}

BOOL CQXPPropertyGridView::OnViewKeyDown(UINT nChar)
{
    CQXPPropertyGridItem* pItem = GetSelectedItem();
    if (m_pFocusedButton && pItem && m_pFocusedButton->m_pItem == pItem)
        return m_pFocusedButton->OnKeyDown(nChar) || nChar != VK_TAB;
    UINT nKey = nChar;
    AdjustArrowKeyForRTL(m_hWnd, nKey);
    if (::GetKeyState(VK_CONTROL) < 0 && (nKey == VK_RIGHT || nKey == VK_LEFT)) {
        SetDividerPos(GetDividerPos() + (nKey == VK_RIGHT ? 3 : -3));
        RepositionInplace();
        Invalidate(FALSE);
        return TRUE;
    }
    if (!pItem)
        return FALSE;
    const BOOL bFoldable = pItem->HasChilds() && pItem->IsExpandable();
    if (nKey == VK_RIGHT && bFoldable && !pItem->IsExpanded()) {
        pItem->Expand();
        return TRUE;
    }
    if (nKey == VK_LEFT && bFoldable && pItem->IsExpanded()) {
        pItem->Collapse();
        return TRUE;
    }
    if (nChar == VK_RETURN && bFoldable) {
        if (pItem->IsExpanded())
            pItem->Collapse();
        else
            pItem->Expand();
        return TRUE;
    }
    if (nChar == VK_F4) {
        PressComboButton();
        return TRUE;
    }
    return pItem->OnKeyDown(nChar);
}

BOOL CQXPPropertyGridView::OnViewSysKeyDown(UINT nChar)
{
    if ((nChar == VK_DOWN || nChar == VK_UP) && ::GetKeyState(VK_MENU) < 0) {
        PressComboButton();
        return TRUE;
    }
    return FALSE;
}

BOOL CQXPPropertyGridView::OnViewChar(UINT nChar)
{
    if (::GetFocus() != m_hWnd || m_bTracking)
        return FALSE;
    if (m_pFocusedButton && nChar != VK_TAB)
        return TRUE;
    CQXPPropertyGridItem* pItem = GetSelectedItem();
    if (nChar == '+' || nChar == '-') {
        if (!pItem)
            return FALSE;
        if (pItem->HasChilds() && pItem->IsExpandable()) {
            if (nChar == '+' && !pItem->IsExpanded())
                pItem->Expand();
            else if (nChar == '-' && pItem->IsExpanded())
                pItem->Collapse();
        }
        return TRUE;
    }
    if (nChar == VK_TAB) {
        const BOOL bShift = ::GetKeyState(VK_SHIFT) < 0;
        if (m_pGrid) {
            if (m_pFocusedButton)
                m_pGrid->OnNavigate(bShift ? 4 : 1, !bShift, pItem);
            else
                m_pGrid->OnNavigate(0, !bShift, pItem);
        }
        return TRUE;
    }
    if (!pItem || (nChar == VK_RETURN && pItem->HasChilds()))
        return nChar == VK_RETURN; // Enter on a row with children is no character
    return pItem->OnChar(nChar);
}

LRESULT CQXPPropertyGridView::OnViewScroll(UINT message, WPARAM wParam, LPARAM lParam)
{
    std::vector<std::pair<HWND, CRect>> children;
    for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (::IsWindowVisible(h)) {
            CRect rc;
            ::GetWindowRect(h, &rc);
            children.emplace_back(h, rc);
        }
    CRect rcBefore(0, 0, 0, 0), rcAfter(0, 0, 0, 0);
    if (GetCount() > 0)
        GetItemRect(0, &rcBefore);
    SetRedraw(FALSE);
    LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
    SetRedraw(TRUE);
    if (GetCount() > 0)
        GetItemRect(0, &rcAfter);
    const int dy = rcAfter.top - rcBefore.top;
    for (auto& child : children) {
        CRect rc = child.second;
        ScreenToClient(&rc);
        ::SetWindowPos(child.first, NULL, rc.left, rc.top + dy, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    RedrawWindow(NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return lResult;
}

// --- the truncated-text tip -----------------------------------------------------

void CQXPPropertyGridView::HideToolTip()
{
    if (m_hWndTip && ::IsWindowVisible(m_hWndTip))
        ::ShowWindow(m_hWndTip, SW_HIDE);
    m_strTipText.Empty();
}

void CQXPPropertyGridView::CheckToolTip(UINT message)
{
    if (!m_hWndTip || !::IsWindowVisible(m_hWndTip))
        return;
    POINT pt = CursorPosInClient(m_hWnd);
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSELEAVE:
    case WM_MOUSEWHEEL:
        HideToolTip();
        return;
    default:
        if (!m_rcTip.PtInRect(pt) || m_pHotButton)
            HideToolTip();
    }
}

void CQXPPropertyGridView::ShowToolTip(CPoint pt)
{
    if (!m_pGrid || !m_pGrid->m_bShowExpandTips || IsMouseHookActive() || m_pHotButton)
        return;
    BOOL bOutside = FALSE;
    UINT n = ItemFromPoint(pt, bOutside);
    CQXPPropertyGridItem* pItem = bOutside ? NULL : GetItem((int)n);
    if (!pItem || pItem->IsCategory() || !pItem->GetTooltip().IsEmpty())
        return;
    CQXPPropertyGridPainter* pPainter = GetPaintManager();
    CRect rcRow = pItem->GetItemRect();
    const int xDivider = rcRow.left + GetDividerPos();
    CString strText;
    CFont* pFont;
    CRect rc;
    if (pt.x < xDivider) {
        strText = pItem->GetCaption();
        if (strText == m_strTipText)
            return;
        pFont = pPainter->GetItemFont(pItem, FALSE);
        rc.SetRect(rcRow.left + pItem->GetIndent() * QXP_GRID_INDENT - 1, rcRow.top - 1, xDivider, rcRow.bottom);
    } else {
        strText = pItem->GetViewValue();
        if (strText == m_strTipText || pItem->GetMultiLinesCount() > 1)
            return;
        CQXPPropertyGridInplaceEdit& edit = m_pGrid->GetInplaceEdit();
        if (edit.m_pItem == pItem && edit.m_hWnd && ::GetFocus() == edit.m_hWnd)
            return;
        pFont = pPainter->GetItemFont(pItem, TRUE);
        rc = pItem->GetValueRect();
        rc.left -= 1;
        rc.top -= 2;
    }
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(pFont);
    const int cxText = dc.GetTextExtent(strText).cx;
    dc.SelectObject(pOld);
    if (strText.IsEmpty() || rc.Width() >= cxText + 3)
        return;
    if (!m_hWndTip) {
        WNDCLASSA wc = {};
        if (!::GetClassInfoA(AfxGetInstanceHandle(), kTipClass, &wc)) {
            wc.lpfnWndProc = TipWndProc;
            wc.cbWndExtra = sizeof(LONG_PTR);
            wc.hInstance = AfxGetInstanceHandle();
            wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
            wc.lpszClassName = kTipClass;
            ::RegisterClassA(&wc);
        }
        m_hWndTip = ::CreateWindowExA(WS_EX_TOOLWINDOW, kTipClass, "", WS_POPUP, 0, 0, 0, 0, m_hWnd, NULL,
                                      AfxGetInstanceHandle(), NULL);
        if (!m_hWndTip)
            return;
        ::SetWindowLongPtrA(m_hWndTip, GWLP_USERDATA, (LONG_PTR)this);
    }
    ::SetWindowLongPtrA(m_hWndTip, 0, (LONG_PTR)pFont->GetSafeHandle());
    m_strTipText = strText;
    m_rcTip = rc;
    CRect rcScreen(rc);
    ClientToScreen(&rcScreen);
    rcScreen.right = rcScreen.left + cxText + 8;
    CRect rcWork = CQXPMultiMonitor().GetWorkAreaFromRect(&rcScreen);
    if (rcScreen.right > rcWork.right)
        rcScreen.OffsetRect(rcWork.right - rcScreen.right, 0);
    if (rcScreen.left < rcWork.left)
        rcScreen.OffsetRect(rcWork.left - rcScreen.left, 0);
    ::SetWindowPos(m_hWndTip, HWND_TOPMOST, rcScreen.left, rcScreen.top, rcScreen.Width(), rcScreen.Height(),
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::InvalidateRect(m_hWndTip, NULL, FALSE);
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&tme);
}

// --- the window procedure ---------------------------------------------------------

LRESULT CQXPPropertyGridView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CheckToolTip(message);
    const CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        OnViewPaint();
        return 0;
    case WM_NCPAINT: {
        LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
        if (CQXPPropertyGridPainter* pPainter = GetPaintManager()) {
            CWindowDC dc(this);
            CRect rc;
            GetWindowRect(&rc);
            rc.OffsetRect(-rc.left, -rc.top);
            RECT r = rc;
            pPainter->DrawGridBorder(&dc, r, FALSE);
        }
        return lResult;
    }
    case WM_NCCALCSIZE:
        if (CQXPPropertyGridPainter* pPainter = GetPaintManager())
            pPainter->DrawGridBorder(NULL, *(RECT*)lParam, TRUE);
        break;
    case WM_LBUTTONDOWN:
        OnViewLButtonDown((UINT)wParam, pt);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
        BOOL bOutside = FALSE;
        CQXPPropertyGridItem* pItem = GetItem((int)ItemFromPoint(pt, bOutside));
        if (!pItem || bOutside)
            return lResult;
        if (message == WM_RBUTTONDOWN)
            pItem->OnRButtonDown((UINT)wParam, pt);
        else
            pItem->OnLButtonDblClk((UINT)wParam, pt);
        CQXPPropertyGridItem* pNow = GetItem((int)ItemFromPoint(pt, bOutside));
        if (pNow == pItem && !bOutside && m_pGrid)
            m_pGrid->SendNotifyMessage(message == WM_RBUTTONDOWN ? GRIDN_RIGHT_CLICK : GRIDN_DOUBLE_CLICK,
                                       (LPARAM)pItem);
        return lResult;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && HitDivider(CursorPosInClient(m_hWnd))) {
            ::SetCursor(m_hCursor);
            return TRUE;
        }
        break;
    case WM_LBUTTONUP:
        if (m_bTracking) {
            ::ReleaseCapture();
            return 0;
        } else {
            BOOL bOutside = FALSE;
            CQXPPropertyGridItem* pItem = GetItem((int)ItemFromPoint(pt, bOutside));
            if (pItem && !bOutside)
                pItem->OnLButtonUp((UINT)wParam, pt);
        }
        break;
    case WM_CAPTURECHANGED:
        m_bTracking = FALSE;
        break;
    case WM_MOUSEMOVE:
        if (m_bTracking) {
            SetDividerPos(pt.x);
            RepositionInplace();
            Invalidate(FALSE);
            return 0;
        }
        OnViewMouseMove((UINT)wParam, pt);
        break;
    case WM_MOUSELEAVE:
        HideToolTip();
        if (m_pHotButton) {
            m_pHotButton = NULL;
            Invalidate(FALSE);
        }
        return 0;
    case WM_SIZE: {
        LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
        OnSelectionChanged();
        Invalidate(FALSE);
        return lResult;
    }
    case WM_KEYDOWN:
        if (OnViewKeyDown((UINT)wParam))
            return 0;
        break;
    case WM_SYSKEYDOWN:
        OnViewSysKeyDown((UINT)wParam);
        break;
    case WM_CHAR:
        if (OnViewChar((UINT)wParam))
            return 0;
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
    case WM_VSCROLL:
        if (lParam == 0)
            return OnViewScroll(message, wParam, lParam);
        break;
    case WM_MOUSEWHEEL:
        return OnViewScroll(message, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        m_pFocusedButton = NULL;
        LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
        Invalidate(FALSE);
        if (m_pGrid && m_pGrid->m_hWnd)
            m_pGrid->Invalidate(FALSE);
        return lResult;
    }
    case WM_GETOBJECT:
        if ((LONG)(DWORD)lParam == (LONG)OBJID_CLIENT) {
            LRESULT lResult = LresultFromObject(IID_IAccessible, wParam, GetAccessible());
            // Without a registered proxy for IAccessible, IUnknown still
            // lets clients of this apartment ask for IAccessible.
            if (FAILED((HRESULT)lResult))
                lResult = LresultFromObject(IID_IUnknown, wParam, GetAccessible());
            return lResult;
        }
        break;
    case WM_COMMAND:
        if (m_pGrid && (HWND)lParam == m_pGrid->GetInplaceEdit().m_hWnd && lParam) {
            m_pGrid->GetInplaceEdit().OnParentCommand(HIWORD(wParam));
            return 0;
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (m_pGrid && (HWND)lParam == m_pGrid->GetInplaceEdit().m_hWnd && lParam)
            return (LRESULT)m_pGrid->GetInplaceEdit().OnCtlColor((HDC)wParam);
        break;
    case WM_DRAWITEM:
        if (m_pGrid && ((LPDRAWITEMSTRUCT)lParam)->hwndItem == m_pGrid->GetInplaceList().m_hWnd) {
            m_pGrid->GetInplaceList().DrawItem((LPDRAWITEMSTRUCT)lParam);
            return TRUE;
        }
        break;
    case WM_MEASUREITEM:
        ((LPMEASUREITEMSTRUCT)lParam)->itemHeight = (UINT)m_nItemHeight;
        return TRUE;
    default:
        break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}

// --- accessibility ------------------------------------------------------------

HRESULT CQXPPropertyGridView::get_accParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_INVALIDARG;
    *ppdispParent = NULL;
    return AccessibleObjectFromWindow(m_hWnd, (DWORD)OBJID_WINDOW, IID_IDispatch, (void**)ppdispParent);
}

HRESULT CQXPPropertyGridView::get_accChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_INVALIDARG;
    *pcountChildren = m_hWnd ? GetCount() : 0;
    return S_OK;
}

HRESULT CQXPPropertyGridView::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_INVALIDARG;
    *ppdispChild = NULL;
    long n = GetChildIndex(&varChild);
    CQXPPropertyGridItem* pItem = n > 0 ? GetItem((int)n - 1) : NULL;
    if (!pItem)
        return E_INVALIDARG;
    *ppdispChild = pItem->GetAccessible(); // an IAccessible is an IDispatch
    (*ppdispChild)->AddRef();
    return S_OK;
}

HRESULT CQXPPropertyGridView::get_accName(VARIANT varChild, BSTR* pszName)
{
    if (!pszName)
        return E_INVALIDARG;
    long n = GetChildIndex(&varChild);
    if (n == CHILDID_SELF) {
        *pszName = ViewBstr("Properties Window");
        return S_OK;
    }
    CQXPPropertyGridItem* pItem = GetItem((int)n - 1);
    if (!pItem)
        return E_INVALIDARG;
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return pItem->get_accName(self, pszName);
}

HRESULT CQXPPropertyGridView::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (!pvarRole)
        return E_INVALIDARG;
    long n = GetChildIndex(&varChild);
    pvarRole->vt = VT_I4;
    pvarRole->lVal = n == CHILDID_SELF ? ROLE_SYSTEM_TABLE : ROLE_SYSTEM_ROW;
    return S_OK;
}

HRESULT CQXPPropertyGridView::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    if (!pvarState)
        return E_INVALIDARG;
    long n = GetChildIndex(&varChild);
    if (n != CHILDID_SELF) {
        CQXPPropertyGridItem* pItem = GetItem((int)n - 1);
        if (!pItem)
            return E_INVALIDARG;
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return pItem->get_accState(self, pvarState);
    }
    pvarState->vt = VT_I4;
    pvarState->lVal = STATE_SYSTEM_FOCUSABLE;
    return S_OK;
}

HRESULT CQXPPropertyGridView::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                          VARIANT varChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_INVALIDARG;
    long n = GetChildIndex(&varChild);
    if (n != CHILDID_SELF) {
        CQXPPropertyGridItem* pItem = GetItem((int)n - 1);
        if (!pItem)
            return E_INVALIDARG;
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return pItem->accLocation(pxLeft, pyTop, pcxWidth, pcyHeight, self);
    }
    CRect rc;
    GetWindowRect(&rc);
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.Width();
    *pcyHeight = rc.Height();
    return S_OK;
}

HRESULT CQXPPropertyGridView::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_INVALIDARG;
    pvarChild->vt = VT_EMPTY;
    CPoint pt(xLeft, yTop);
    ScreenToClient(&pt);
    CRect rc;
    GetClientRect(&rc);
    if (!rc.PtInRect(pt))
        return S_FALSE;
    BOOL bOutside = FALSE;
    CQXPPropertyGridItem* pItem = GetItem((int)ItemFromPoint(pt, bOutside));
    if (!pItem || bOutside) {
        pvarChild->vt = VT_I4;
        pvarChild->lVal = CHILDID_SELF;
        return S_OK;
    }
    pvarChild->vt = VT_DISPATCH;
    pvarChild->pdispVal = pItem->GetAccessible();
    pvarChild->pdispVal->AddRef();
    return S_OK;
}
