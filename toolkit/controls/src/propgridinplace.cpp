// propgridinplace.cpp - the masked edit, the grid's in-place edit over the
// selected value and the drop-down list of an item's constraints.
#include <qx/propertygrid.h>

#include <qx/drawing.h>

#include <algorithm>

// ---------------------------------------------------------------------------
// Masked edit

IMPLEMENT_DYNAMIC(CMaskedEdit, CEdit)

CMaskedEdit::CMaskedEdit() {}

BOOL CMaskedEdit::IsMaskActive() const
{
    return m_engine.m_bUseMask && m_hWnd && !(GetStyle() & ES_READONLY) && !m_engine.m_strMask.IsEmpty();
}

void CMaskedEdit::ReadWindow()
{
    CString str;
    GetWindowText(str);
    int nStart = 0, nEnd = 0;
    GetSel(nStart, nEnd);
    m_engine.SetShown(str, nStart, nEnd);
}

void CMaskedEdit::WriteWindow()
{
    CString str;
    GetWindowText(str);
    if (str != m_engine.GetShown()) {
        ::HideCaret(m_hWnd);
        SetWindowText(m_engine.GetShown());
        ::ShowCaret(m_hWnd);
    }
    SetSel(m_engine.GetSelStart(), m_engine.GetSelEnd());
}

BOOL CMaskedEdit::SetEditMask(LPCSTR lpszMask, LPCSTR lpszLiteral, LPCSTR lpszDefault)
{
    if (!m_engine.SetEditMask(lpszMask, lpszLiteral, lpszDefault))
        return FALSE;
    if (m_hWnd)
        SetWindowText(m_engine.GetShown());
    return TRUE;
}

void CMaskedEdit::SetPromptChar(char ch, BOOL bUpdate)
{
    if (bUpdate && m_hWnd) {
        ReadWindow();
        m_engine.SetPromptChar(ch, TRUE);
        WriteWindow();
    } else {
        m_engine.SetPromptChar(ch, FALSE);
    }
}

CString CMaskedEdit::GetInputChars(int nStart, int nEnd)
{
    if (m_hWnd)
        ReadWindow();
    m_engine.Read(FALSE);
    return m_engine.GetInputChars(nStart, nEnd);
}

BOOL CMaskedEdit::CopyToClipboard(const CString& str)
{
    if (!::OpenClipboard(m_hWnd))
        return FALSE;
    ::EmptyClipboard();
    HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)str.GetLength() + 1);
    char* p = hMem ? (char*)::GlobalLock(hMem) : NULL;
    if (!p) {
        if (hMem)
            ::GlobalFree(hMem);
        ::CloseClipboard();
        return FALSE;
    }
    memcpy(p, str.GetString(), (size_t)str.GetLength() + 1);
    ::GlobalUnlock(hMem);
    if (!::SetClipboardData(CF_TEXT, hMem))
        ::GlobalFree(hMem);
    ::CloseClipboard();
    return TRUE;
}

void CMaskedEdit::MaskCopy()
{
    ReadWindow();
    CopyToClipboard(m_engine.Copy());
}

void CMaskedEdit::MaskClear()
{
    ReadWindow();
    m_engine.Clear();
    WriteWindow();
}

void CMaskedEdit::MaskCut()
{
    MaskCopy();
    MaskClear();
}

void CMaskedEdit::MaskPaste()
{
    CString strText;
    if (::OpenClipboard(m_hWnd)) {
        HANDLE h = ::GetClipboardData(CF_TEXT);
        const char* p = h ? (const char*)::GlobalLock(h) : NULL;
        if (p) {
            strText = p;
            ::GlobalUnlock(h);
        }
        ::CloseClipboard();
    }
    if (strText.IsEmpty())
        return; // nothing to paste: the text and the selection stay
    ReadWindow();
    m_engine.Paste(strText);
    WriteWindow();
}

void CMaskedEdit::MaskUndo()
{
    ReadWindow();
    m_engine.Undo();
    WriteWindow();
}

void CMaskedEdit::MaskSelectAll()
{
    ReadWindow();
    m_engine.SelectAll();
    SetSel(m_engine.GetSelStart(), m_engine.GetSelEnd());
}

BOOL CMaskedEdit::MaskKeyDown(UINT nChar)
{
    if (!IsMaskActive())
        return FALSE;
    const BOOL bShift = ::GetKeyState(VK_SHIFT) < 0, bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    const MSG* pMsg = GetCurrentMessage();
    switch (nChar) {
    case VK_BACK:
        ReadWindow();
        if (!m_engine.Backspace())
            OnBadInput();
        WriteWindow();
        return TRUE;
    case VK_SPACE:
        ReadWindow();
        if (!m_engine.Space())
            OnBadInput();
        WriteWindow();
        return TRUE;
    case VK_END:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
        CEdit::DefWindowProc(WM_KEYDOWN, nChar, pMsg ? pMsg->lParam : 0);
        ReadWindow();
        if (nChar == VK_END || nChar == VK_RIGHT || nChar == VK_DOWN)
            m_engine.AfterMoveForward(bShift);
        else
            m_engine.AfterMoveBackward(bShift);
        WriteWindow();
        return TRUE;
    case VK_INSERT:
        if (bCtrl)
            MaskCopy();
        else if (bShift)
            MaskPaste();
        else
            m_engine.m_bOverType = !m_engine.m_bOverType;
        return TRUE;
    case VK_DELETE: {
        ReadWindow();
        CString strCopied;
        m_engine.Delete(bShift, &strCopied);
        if (bShift && !strCopied.IsEmpty())
            CopyToClipboard(strCopied);
        WriteWindow();
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL CMaskedEdit::MaskChar(UINT nChar)
{
    if (!IsMaskActive())
        return FALSE;
    if (nChar == VK_BACK || nChar == VK_SPACE || nChar == 127)
        return TRUE; // handled on key-down (DEL is dropped)
    const char ch = (char)nChar;
    if (!MaskEngine::IsPrintable(ch))
        return FALSE;
    ReadWindow();
    m_engine.Read(TRUE);
    const int nPos = m_engine.GetSelStart();
    if (nPos >= m_engine.m_strLiteral.GetLength() || !m_engine.IsInputPos(nPos))
        OnBadInput();
    else if (!m_engine.Char(ch))
        OnInvalidChar(ch, nPos < m_engine.m_strMask.GetLength() ? m_engine.m_strMask[nPos] : 0);
    WriteWindow();
    return TRUE;
}

BOOL CMaskedEdit::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->hwnd == m_hWnd && IsMaskActive()) {
        if (pMsg->wParam == VK_SUBTRACT)
            return MaskChar('-');
        if (pMsg->wParam == VK_ADD)
            return MaskChar('+');
        if (::GetKeyState(VK_CONTROL) < 0) {
            switch (pMsg->wParam) {
            case 'C': MaskCopy(); return TRUE;
            case 'V': MaskPaste(); return TRUE;
            case 'X': MaskCut(); return TRUE;
            case 'Z': MaskUndo(); return TRUE;
            default: break;
            }
        }
    }
    return CEdit::PreTranslateMessage(pMsg);
}

LRESULT CMaskedEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsMaskActive()) {
        switch (message) {
        case WM_CUT: MaskCut(); return 0;
        case WM_COPY: MaskCopy(); return 0;
        case WM_PASTE: MaskPaste(); return 0;
        case WM_CLEAR: MaskClear(); return 0;
        case WM_UNDO:
        case EM_UNDO: MaskUndo(); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
            case 0xE120: MaskClear(); return 0;
            case 0xE122: MaskCopy(); return 0;
            case 0xE123: MaskCut(); return 0;
            case 0xE125: MaskPaste(); return 0;
            case 0xE12A: MaskSelectAll(); return 0;
            case 0xE12B: MaskUndo(); return 0;
            default: break;
            }
            break;
        case WM_SETFOCUS: {
            LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
            ReadWindow();
            m_engine.OnFocus();
            SetSel(m_engine.GetSelStart(), m_engine.GetSelEnd());
            return lResult;
        }
        case WM_KEYDOWN:
            if (MaskKeyDown((UINT)wParam))
                return 0;
            break;
        case WM_CHAR:
            if (MaskChar((UINT)wParam))
                return 0;
            break;
        case WM_UNICHAR:
            // A character beyond ASCII (see AfxDispatchWideChar) fits no
            // position of the mask, whose classes are ASCII.
            if (wParam == UNICODE_NOCHAR)
                break;
            OnBadInput();
            return FALSE;
        default:
            break;
        }
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// In-place edit

IMPLEMENT_DYNAMIC(CQXPPropertyGridInplaceEdit, CMaskedEdit)

CQXPPropertyGridInplaceEdit::CQXPPropertyGridInplaceEdit()
    : m_clrBack((COLORREF)-1), m_bSetText(FALSE), m_pView(NULL), m_pItem(NULL), m_bRecreate(FALSE),
      m_bCreated(FALSE), m_bEditMode(FALSE), m_bCancel(FALSE), m_bTyped(FALSE)
{
}

CQXPPropertyGridInplaceEdit::~CQXPPropertyGridInplaceEdit()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

void CQXPPropertyGridInplaceEdit::HideWindow()
{
    if (m_hWnd)
        ShowWindow(SW_HIDE);
}

void CQXPPropertyGridInplaceEdit::Reset()
{
    m_pView = NULL;
    m_pItem = NULL;
    m_strValue.Empty();
    m_brBack.DeleteObject();
    m_clrBack = (COLORREF)-1;
    HideWindow();
}

void CQXPPropertyGridInplaceEdit::Create(CQXPPropertyGridItem* pItem, CRect rect)
{
    if (!pItem || !pItem->GetView())
        return;
    m_pView = pItem->GetView();
    m_pItem = pItem;
    m_bCreated = m_bEditMode = m_bCancel = m_bTyped = FALSE;
    const DWORD dwStyle = pItem->GetEditStyle();
    if (m_hWnd && ((((GetStyle() ^ dwStyle) & ~0x50000803u) != 0) || m_bRecreate || GetParent() != m_pView))
        DestroyWindow();
    m_bRecreate = FALSE;
    if (!m_hWnd && !CEdit::Create(dwStyle, rect, m_pView, 0))
        return;
    if (pItem->m_bPassword)
        SetPasswordChar(pItem->m_chPrompt);
    CQXPPropertyGridPaintMetrics* pMetrics = pItem->GetMetrics(TRUE, FALSE);
    LimitText(pMetrics ? pMetrics->m_nMaxLength : 0);
    if (CQXPPropertyGridPainter* pPainter = m_pView->GetPaintManager())
        SetFont(pPainter->GetItemFont(pItem, TRUE), FALSE);
    SetWindowText(m_strValue);
    SetWindowPos(NULL, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_SHOWWINDOW);
    SetMargins(3, 3);
    m_engine.m_bUseMask = pItem->m_bUseMask;
    if (pItem->m_bUseMask) {
        SetEditMask(pItem->m_strMask, pItem->m_strLiteral, pItem->m_strValue);
        SetPromptChar(pItem->m_chPrompt, TRUE);
    }
    m_bCreated = TRUE;
}

BOOL CQXPPropertyGridInplaceEdit::SelectConstraint(int nDirection, BOOL bCircle)
{
    if (!m_pItem)
        return FALSE;
    CQXPPropertyGridItemConstraints* pConstraints = m_pItem->GetConstraints();
    if (pConstraints->IsEmpty())
        return FALSE;
    CString str;
    GetWindowText(str);
    int n = pConstraints->FindConstraint(str);
    if (n < 0)
        return FALSE;
    const int nCount = pConstraints->GetCount();
    n += nDirection;
    if (n >= nCount)
        n = bCircle ? 0 : nCount - 1;
    if (n < 0)
        n = bCircle ? nCount - 1 : 0;
    SetWindowText(pConstraints->GetAt(n));
    pConstraints->SetCurrent(n);
    m_bTyped = FALSE;
    return TRUE;
}

BOOL CQXPPropertyGridInplaceEdit::OnParentCommand(UINT nCode)
{
    switch (nCode) {
    case EN_SETFOCUS:
        if (m_pView)
            m_pView->Invalidate(FALSE);
        if (m_pItem && !m_pItem->OnRequestEdit()) {
            if (m_pView)
                m_pView->SetFocus();
            return TRUE;
        }
        m_bEditMode = TRUE;
        return TRUE;
    case EN_KILLFOCUS:
        if (m_pItem)
            m_pItem->OnValidateEdit();
        if (m_pView && m_pView->m_hWnd)
            m_pView->Invalidate(FALSE);
        return TRUE;
    case EN_CHANGE: {
        if (!m_bCreated || m_bSetText || !m_pItem)
            return TRUE;
        CQXPPropertyGridItemConstraints* pConstraints = m_pItem->GetConstraints();
        if (!m_pItem->IsReadOnly() && m_pItem->m_bAutoComplete && !m_pItem->m_bConstraintEdit && m_bTyped &&
            !pConstraints->IsEmpty()) {
            CString str;
            GetWindowText(str);
            int nStart = 0, nEnd = 0;
            GetSel(nStart, nEnd);
            if (!str.IsEmpty() && nStart == nEnd && nEnd == str.GetLength()) {
                for (CQXPPropertyGridItemConstraint* p : pConstraints->m_arr) {
                    const CString& c = p->m_strConstraint;
                    if (c.GetLength() > str.GetLength() && c.Left(str.GetLength()).CompareNoCase(str) == 0) {
                        m_bSetText = TRUE;
                        SetWindowText(c);
                        m_bSetText = FALSE;
                        SetSel(c.GetLength(), str.GetLength());
                        break;
                    }
                }
            }
        }
        if (m_pView && m_pView->GetPropertyGrid())
            m_pView->GetPropertyGrid()->SendNotifyMessage(GRIDN_EDIT_CHANGED, (LPARAM)this);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

HBRUSH CQXPPropertyGridInplaceEdit::OnCtlColor(HDC hdc)
{
    CQXPPropertyGridPainter* pPainter = m_pView ? m_pView->GetPaintManager() : NULL;
    if (!pPainter)
        return (HBRUSH)::GetStockObject(WHITE_BRUSH);
    const COLORREF clrText = pPainter->GetItemTextColor(m_pItem, TRUE);
    const COLORREF clrBack = pPainter->GetItemBackColor(m_pItem, TRUE);
    ::SetTextColor(hdc, clrText);
    ::SetBkColor(hdc, clrBack);
    if (clrBack != m_clrBack || !m_brBack.GetSafeHandle()) {
        m_brBack.DeleteObject();
        m_brBack.CreateSolidBrush(clrBack);
        m_clrBack = clrBack;
    }
    return (HBRUSH)m_brBack.GetSafeHandle();
}

LRESULT CQXPPropertyGridInplaceEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CQXPPropertyGrid* pGrid = m_pView ? m_pView->GetPropertyGrid() : NULL;
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_STYLECHANGED:
        if (wParam == (WPARAM)GWL_EXSTYLE) {
            const STYLESTRUCT* ps = (const STYLESTRUCT*)lParam;
            if ((ps->styleOld ^ ps->styleNew) & WS_EX_LAYOUTRTL) {
                HideWindow();
                m_bRecreate = TRUE;
            }
        }
        break;
    case WM_KEYDOWN: {
        const UINT nChar = (UINT)wParam;
        switch (nChar) {
        case VK_TAB:
            if (pGrid)
                pGrid->OnNavigate(1, ::GetKeyState(VK_SHIFT) >= 0, m_pItem);
            return 0;
        case VK_RETURN:
            return 0;
        case VK_ESCAPE:
            m_bCancel = TRUE;
            m_bTyped = FALSE;
            m_bSetText = TRUE;
            SetWindowText(m_strValue);
            m_bSetText = FALSE;
            return 0;
        case VK_UP:
        case VK_DOWN:
            if (m_pItem && !m_pItem->IsReadOnly() && SelectConstraint(nChar == VK_UP ? -1 : 1, FALSE)) {
                SetSel(0, -1);
                return 0;
            }
            break;
        case VK_F4:
            if (m_pItem)
                if (CQXPPropertyGridButton* p = m_pItem->GetInplaceButtons()->Find(QXP_GRID_BUTTON_COMBO))
                    m_pItem->OnInplaceButtonDown(p);
            return 0;
        default:
            break;
        }
        m_bTyped = nChar != VK_DELETE && nChar != VK_BACK;
        break;
    }
    case WM_SYSKEYDOWN:
        if ((wParam == VK_DOWN || wParam == VK_UP) && m_pItem)
            if (CQXPPropertyGridButton* p = m_pItem->GetInplaceButtons()->Find(QXP_GRID_BUTTON_COMBO)) {
                m_pItem->OnInplaceButtonDown(p);
                return 0;
            }
        break;
    case WM_CHAR: {
        const UINT nChar = (UINT)wParam;
        if (nChar == VK_TAB)
            return 0;
        if (nChar == VK_RETURN && !(GetStyle() & ES_WANTRETURN)) {
            if (m_pView)
                m_pView->SetFocus();
            return 0;
        }
        if (nChar == VK_ESCAPE) {
            if (m_pView)
                m_pView->SetFocus();
            return 0;
        }
        if (m_pItem && !m_pItem->IsReadOnly() && m_pItem->m_bConstraintEdit && !m_pItem->GetConstraints()->IsEmpty()) {
            CQXPPropertyGridItemConstraints* pConstraints = m_pItem->GetConstraints();
            CString str;
            GetWindowText(str);
            const int nCount = pConstraints->GetCount();
            int nStart = 0;
            for (int i = 0; i < nCount; i++)
                if (pConstraints->GetAt(i) == str) {
                    nStart = i + 1;
                    break;
                }
            for (int k = 0; k < nCount; k++) {
                int i = (nStart + k) % nCount;
                CString c = pConstraints->GetAt(i);
                if (!c.IsEmpty() && CString(c[0]).CompareNoCase(CString((char)nChar)) == 0) {
                    SetWindowText(c);
                    SetSel(0, -1);
                    pConstraints->SetCurrent(i);
                    break;
                }
            }
            return 0;
        }
        m_bTyped = nChar != VK_BACK && nChar != 127;
        break;
    }
    case WM_LBUTTONDBLCLK:
        if (m_pItem && !m_pItem->IsReadOnly() && SelectConstraint(1, TRUE)) {
            if (m_pView)
                m_pView->SetFocus();
            return 0;
        }
        break;
    default:
        break;
    }
    return CMaskedEdit::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Drop-down list

IMPLEMENT_DYNAMIC(CQXPPropertyGridInplaceList, CListBox)

CQXPPropertyGridInplaceList::~CQXPPropertyGridInplaceList()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        Close();
}

void CQXPPropertyGridInplaceList::Create(CQXPPropertyGridItem* pItem, CRect rect)
{
    CQXPPropertyGridView* pView = pItem ? pItem->GetView() : NULL;
    if (!pView || !pView->m_hWnd)
        return;
    CRect rcValue(rect);
    rcValue.left = rect.left + pView->GetDividerPos() + 1;
    m_pItem = pItem;
    if (m_hWnd)
        ShowWindow(SW_HIDE);
    if (!m_hWnd && !CreateEx(WS_EX_TOOLWINDOW | (pView->GetExStyle() & WS_EX_LAYOUTRTL), "LISTBOX", "", 0x40A00051,
                             CRect(0, 0, 0, 0), pView, 0))
        return;
    SetFont(pView->GetFont(), FALSE);
    ResetContent();
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(pView->GetFont());
    int cx = rcValue.Width();
    int cyRow = dc.GetTextExtent(" ").cy + 3;
    CQXPPropertyGridItemConstraints* pConstraints = pItem->GetConstraints();
    for (CQXPPropertyGridItemConstraint* p : pConstraints->m_arr) {
        int n = AddString(p->m_strConstraint);
        SetItemData(n, (DWORD_PTR)p);
        CSize sz = pItem->OnMeasureConstraint(&dc, p);
        cx = std::max(cx, (int)sz.cx);
        cyRow = std::max(cyRow, (int)sz.cy);
        if (p->m_strConstraint.Compare(pItem->GetValue()) == 0)
            SetCurSel(n);
    }
    dc.SelectObject(pOld);
    SetItemHeight(0, (UINT)cyRow);
    const int nRows = std::min(pItem->GetDropDownItemCount(), pConstraints->GetCount());
    CRect rc;
    rc.right = rect.right;
    rc.left = rc.right - std::min(cx, rect.Width() - 14);
    rc.top = rect.bottom;
    rc.bottom = rc.top + nRows * cyRow + 2;
    pView->ClientToScreen(&rc);
    CRect rcRow(rect);
    pView->ClientToScreen(&rcRow);
    CRect rcWork = CQXPMultiMonitor().GetWorkAreaFromRect(&rc);
    if (rc.bottom > rcWork.bottom && rcRow.top > rcWork.CenterPoint().y)
        rc.OffsetRect(0, rcRow.top - rc.bottom);
    if (rc.left < rcWork.left)
        rc.OffsetRect(rcWork.left - rc.left, 0);
    if (rc.right > rcWork.right)
        rc.OffsetRect(rcWork.right - rc.right, 0);
    if (GetStyle() & WS_CHILD) {
        ModifyStyle(WS_CHILD, WS_POPUP);
        ::SetParent(m_hWnd, NULL);
        ::SetWindowLongPtrA(m_hWnd, GWLP_HWNDPARENT, (LONG_PTR)pView->m_hWnd);
    }
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.Width(), rc.Height(),
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    SetFocus();
    SetMouseHookTarget(m_hWnd);
}

void CQXPPropertyGridInplaceList::ReturnFocus()
{
    if (!m_hWnd || ::GetFocus() != m_hWnd)
        return;
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    ::SetFocus(hOwner ? hOwner : ::GetParent(m_hWnd));
}

void CQXPPropertyGridInplaceList::Apply()
{
    const int n = m_hWnd ? GetCurSel() : LB_ERR;
    CQXPPropertyGridItem* pItem = m_pItem;
    if (n >= 0 && pItem) {
        m_pItem = NULL;
        pItem->GetConstraints()->SetCurrent(n);
        CString str;
        GetText(n, str);
        if (pItem->OnAfterEdit(str) && str.Compare(pItem->GetValue()) != 0)
            pItem->OnValueChanged(str);
    }
    ReturnFocus();
}

void CQXPPropertyGridInplaceList::Cancel()
{
    // A second focus loss after Apply or Cancel finds no item: nothing is sent.
    CQXPPropertyGridItem* pItem = m_pItem;
    if (!pItem)
        return;
    m_pItem = NULL;
    pItem->OnCancelEdit();
    ReturnFocus();
}

void CQXPPropertyGridInplaceList::Close()
{
    m_pItem = NULL;
    if (IsMouseHookActive())
        SetMouseHookTarget(NULL);
    if (m_hWnd)
        DestroyWindow();
}

void CQXPPropertyGridInplaceList::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CQXPPropertyGridItemConstraint* p = (CQXPPropertyGridItemConstraint*)lpDIS->itemData;
    if ((int)lpDIS->itemID < 0 || !p || !m_pItem)
        return;
    m_pItem->OnDrawConstraint(CDC::FromHandle(lpDIS->hDC), p, CRect(lpDIS->rcItem),
                              (lpDIS->itemState & ODS_SELECTED) != 0);
}

LRESULT CQXPPropertyGridInplaceList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KILLFOCUS: {
        LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
        SetMouseHookTarget(NULL);
        Cancel();
        ShowWindow(SW_HIDE);
        return lResult;
    }
    case WM_LBUTTONUP: {
        LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
        CRect rc;
        GetClientRect(&rc);
        if (rc.PtInRect(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam))))
            Apply();
        else
            Cancel();
        return lResult;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_F4) {
            Apply();
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            Cancel();
            return 0;
        }
        break;
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN || wParam == VK_UP) {
            Apply();
            return 0;
        }
        break;
    default:
        break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}
