// The command bars' combo box: the control, its drop-down list and the
// plain popup bar of combo fields.

#include <qx/commandbars.h>
#include <qx/controlcombo.h>
#include <qx/drawing.h>
#include <qx/images.h>
#include <qx/mousemanager.h>
#include <qx/propexchange.h>

#include <vector>

// ===========================================================================
// CQXPControlComboBoxPopupBar

IMPLEMENT_DYNCREATE(CQXPControlComboBoxPopupBar, CQXPPopupBar)

CQXPControlComboBoxPopupBar::CQXPControlComboBoxPopupBar() {}

CQXPControlComboBox* CQXPControlComboBoxPopupBar::GetComboControl() const
{
    return dynamic_cast<CQXPControlComboBox*>(m_pControlPopup);
}

int CQXPControlComboBoxPopupBar::ProcessKey(CQXPControlComboBox* pControl, UINT nKey, LPARAM lParam)
{
    (void)pControl;
    (void)lParam;
    return CQXPPopupBar::ProcessHookKeyDown(nKey);
}

void CQXPControlComboBoxPopupBar::OnComboClosed(CQXPControlComboBox* pControl)
{
    if (pControl) {
        pControl->OnListClosed();
        CQXPCommandBar* pOwnerBar = pControl->GetParent();
        if (pOwnerBar && ::IsWindow(pOwnerBar->GetSafeHwnd()) && !pControl->IsFocused())
            pOwnerBar->SetSelected(-1, 0);
    }
    m_pControlPopup = NULL;
}

int CQXPControlComboBoxPopupBar::FindString(int nStart, LPCSTR lpszText) const
{
    (void)nStart;
    (void)lpszText;
    return LB_ERR;
}

int CQXPControlComboBoxPopupBar::FindStringExact(int nStart, LPCSTR lpszText) const
{
    (void)nStart;
    (void)lpszText;
    return LB_ERR;
}

int CQXPControlComboBoxPopupBar::SetTopIndex(int nIndex)
{
    (void)nIndex;
    return LB_ERR;
}

void CQXPControlComboBoxPopupBar::GetText(int nIndex, CString& strText) const
{
    (void)nIndex;
    strText.Empty();
}

int CQXPControlComboBoxPopupBar::ProcessHookKeyDown(UINT nKey)
{
    CQXPControlComboBox* pControl = GetComboControl();
    if (!pControl)
        return CQXPPopupBar::ProcessHookKeyDown(nKey);
    switch (nKey) {
    case VK_TAB:
        return 0;
    case VK_ESCAPE:
        // A focused control restores its own state on Esc.
        if (pControl->IsFocused())
            return 0;
        return CQXPPopupBar::ProcessHookKeyDown(nKey);
    default:
        return ProcessKey(pControl, nKey, 0);
    }
}

// ===========================================================================
// CQXPControlComboBoxList

IMPLEMENT_DYNCREATE(CQXPControlComboBoxList, CQXPControlComboBoxPopupBar)

BEGIN_MESSAGE_MAP(CQXPControlComboBoxList, CQXPControlComboBoxPopupBar)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_TIMER()
    ON_WM_NCPAINT()
    ON_WM_NCCALCSIZE()
END_MESSAGE_MAP()

CQXPControlComboBoxList::CQXPControlComboBoxList()
    : m_pListCommandBars(NULL), m_nListIconId(-1), m_dwListStyle(0)
{
    m_barPosition = qxpBarListBox;
}

CQXPControlComboBoxList::~CQXPControlComboBoxList()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CQXPControlComboBoxList::CreateListWindow()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        return TRUE;
    DWORD dwStyle = (m_dwListStyle & ~0x00400000u & ~(DWORD)(LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) |
                    WS_POPUP | WS_CLIPCHILDREN | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
    if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE, "LISTBOX", "", dwStyle, 0, 0, 0, 0, NULL, NULL))
        return FALSE;
    if (m_nListIconId != -1) {
        CSize szIcon(16, 16);
        ::SendMessageA(m_hWnd, LB_SETITEMHEIGHT, 0, szIcon.cy + 4);
    }
    return TRUE;
}

LRESULT CQXPControlComboBoxList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        // The list never takes the activation (or the focus) from the field.
        return MA_NOACTIVATE;
    case WM_MOUSEWHEEL:
    case WM_VSCROLL:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        return DefWindowProc(message, wParam, lParam);
    default:
        return CQXPControlComboBoxPopupBar::WindowProc(message, wParam, lParam);
    }
}

void CQXPControlComboBoxList::OnPaint() { Default(); }
BOOL CQXPControlComboBoxList::OnEraseBkgnd(CDC* pDC)
{
    (void)pDC;
    return (BOOL)Default();
}

void CQXPControlComboBoxList::OnTimer(UINT_PTR nIDEvent)
{
    (void)nIDEvent;
    Default();
}

void CQXPControlComboBoxList::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    (void)bCalcValidRects;
    (void)lpncsp;
    Default();
}

void CQXPControlComboBoxList::OnNcPaint()
{
    Default();
    // The two-pixel edge: outer frame and inner frame in the bars' colours.
    CRect rc;
    ::GetWindowRect(m_hWnd, &rc);
    rc.OffsetRect(-rc.left, -rc.top);
    HDC hdc = ::GetWindowDC(m_hWnd);
    CQXPThemePainter* pPaintManager = GetPaintManager();
    CDC* pDC = CDC::FromHandle(hdc);
    COLORREF clrOuter = pPaintManager->GetColor(qxColorMenuBorder);
    COLORREF clrInner = pPaintManager->GetColor(COLOR_WINDOW);
    pDC->Draw3dRect(rc, clrOuter, clrOuter);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, clrInner, clrInner);
    ::ReleaseDC(m_hWnd, hdc);
}

void CQXPControlComboBoxList::OnLButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    (void)point;
    // The choice is made on the release.
}

void CQXPControlComboBoxList::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    (void)nFlags;
    (void)point;
}

void CQXPControlComboBoxList::OnMouseMove(UINT nFlags, CPoint point)
{
    (void)nFlags;
    LRESULT lHit = ::SendMessageA(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    if (HIWORD(lHit) == 0) {
        int nItem = (int)LOWORD(lHit);
        if (nItem != GetCurSel())
            SetCurSel(nItem);
    }
}

void CQXPControlComboBoxList::OnMouseLeave() {}

void CQXPControlComboBoxList::OnLButtonUp(UINT nFlags, CPoint point)
{
    (void)nFlags;
    CRect rc;
    GetClientRect(&rc);
    CQXPControlComboBox* pControl = GetComboControl();
    if (!pControl || !rc.PtInRect(point))
        return;
    pControl->InternalAddRef();
    pControl->OnSelChanged();
    pControl->OnExecute();
    pControl->InternalRelease();
}

int CQXPControlComboBoxList::GetCurSel() const
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return -1;
    return (int)::SendMessageA(m_hWnd, LB_GETCURSEL, 0, 0);
}

int CQXPControlComboBoxList::FindString(int nStart, LPCSTR lpszText) const
{
    if (!m_hWnd || !::IsWindow(m_hWnd) || GetCount() == 0)
        return LB_ERR;
    return (int)::SendMessageA(m_hWnd, LB_FINDSTRING, (WPARAM)nStart, (LPARAM)lpszText);
}

int CQXPControlComboBoxList::FindStringExact(int nStart, LPCSTR lpszText) const
{
    if (!m_hWnd || !::IsWindow(m_hWnd) || GetCount() == 0)
        return LB_ERR;
    return (int)::SendMessageA(m_hWnd, LB_FINDSTRINGEXACT, (WPARAM)nStart, (LPARAM)lpszText);
}

int CQXPControlComboBoxList::SetTopIndex(int nIndex)
{
    if (!m_hWnd || !::IsWindow(m_hWnd) || nIndex < 0 || nIndex >= GetCount())
        return LB_ERR;
    return ::SendMessageA(m_hWnd, LB_SETTOPINDEX, (WPARAM)nIndex, 0) == LB_ERR ? LB_ERR : 0;
}

void CQXPControlComboBoxList::SetCurSel(int nIndex)
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    if (nIndex < 0 || nIndex >= GetCount())
        nIndex = -1;
    ::SendMessageA(m_hWnd, LB_SETCURSEL, (WPARAM)nIndex, 0);
}

void CQXPControlComboBoxList::GetText(int nIndex, CString& strText) const
{
    strText.Empty();
    // Never asks the list box for an index it does not hold (-1 included).
    if (!m_hWnd || !::IsWindow(m_hWnd) || nIndex < 0 || nIndex >= GetCount())
        return;
    int nLength = (int)::SendMessageA(m_hWnd, LB_GETTEXTLEN, (WPARAM)nIndex, 0);
    if (nLength <= 0)
        return;
    std::vector<char> buffer((size_t)nLength + 1, '\0');
    int nCopied = (int)::SendMessageA(m_hWnd, LB_GETTEXT, (WPARAM)nIndex, (LPARAM)buffer.data());
    if (nCopied > 0)
        strText = CString(buffer.data(), nCopied > nLength ? nLength : nCopied);
}

int CQXPControlComboBoxList::GetCount() const
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return 0;
    int n = (int)::SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0);
    return n < 0 ? 0 : n;
}

int CQXPControlComboBoxList::AddString(LPCSTR lpszText)
{
    if (!CreateListWindow())
        return LB_ERR;
    return (int)::SendMessageA(m_hWnd, LB_ADDSTRING, 0, (LPARAM)lpszText);
}

int CQXPControlComboBoxList::InsertString(int nIndex, LPCSTR lpszText)
{
    if (!CreateListWindow())
        return LB_ERR;
    return (int)::SendMessageA(m_hWnd, LB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)lpszText);
}

int CQXPControlComboBoxList::DeleteString(int nIndex)
{
    if (!m_hWnd || !::IsWindow(m_hWnd) || nIndex < 0 || nIndex >= GetCount())
        return LB_ERR;
    return (int)::SendMessageA(m_hWnd, LB_DELETESTRING, (WPARAM)nIndex, 0);
}

void CQXPControlComboBoxList::ResetContent()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::SendMessageA(m_hWnd, LB_RESETCONTENT, 0, 0);
}

int CQXPControlComboBoxList::GetItemHeight() const
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return 16;
    int n = (int)::SendMessageA(m_hWnd, LB_GETITEMHEIGHT, 0, 0);
    return n > 0 ? n : 16;
}

void CQXPControlComboBoxList::CopyList(const CQXPControlComboBoxList* pOther)
{
    if (!pOther)
        return;
    m_nListIconId = pOther->m_nListIconId;
    ResetContent();
    CString str;
    for (int i = 0; i < pOther->GetCount(); i++) {
        pOther->GetText(i, str);
        AddString(str);
    }
}

void CQXPControlComboBoxList::DoPropExchange(CQXPPropExchange* pPX)
{
    CQXPControlComboBoxPopupBar::DoPropExchange(pPX);
    if (pPX->GetSchema() > 23)
        ExchangeIntProp(pPX, "ListIconId", &m_nListIconId, -1);
    PropExchangeSectionPtr section(pPX, "Items");
    if (!section.get())
        return;
    if (pPX->IsStoring()) {
        // Items live in the list window; a list without one stores none.
        DWORD nCount = (DWORD)GetCount();
        section->WriteItemCount(nCount);
        for (DWORD i = 0; i < nCount; i++) {
            CString strName, strItem;
            strName.Format("Item%i", (int)i);
            GetText((int)i, strItem);
            ExchangeTextProp(section, strName, &strItem);
        }
        return;
    }
    if (!CreateListWindow())
        return;
    ResetContent();
    // A damaged count must not make the list allocate without end.
    const DWORD kMaxItems = 65536;
    DWORD nCount = section->ReadItemCount();
    if (nCount > kMaxItems)
        nCount = kMaxItems;
    for (DWORD i = 0; i < nCount; i++) {
        CString strName, strItem;
        strName.Format("Item%i", (int)i);
        if (!ExchangeTextProp(section, strName, &strItem))
            break;
        AddString(strItem);
    }
}

CSize CQXPControlComboBoxList::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    (void)nLength;
    (void)dwMode;
    CQXPControlComboBox* pControl = GetComboControl();
    int nRows = pControl ? pControl->GetDropDownItemCount() : 12;
    int nCount = GetCount();
    if (nRows > nCount)
        nRows = nCount;
    if (nRows < 1)
        nRows = 1;
    int nWidth = pControl ? pControl->GetRect().Width() : 100;
    return CSize(nWidth, GetItemHeight() * nRows + 4);
}

void CQXPControlComboBoxList::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CQXPControlComboBox* pControl = GetComboControl();
    if (pControl)
        pControl->DrawItem(lpDIS);
}

void CQXPControlComboBoxList::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    CQXPControlComboBox* pControl = GetComboControl();
    if (pControl)
        pControl->MeasureItem(lpMIS);
}

int CQXPControlComboBoxList::ProcessHookKeyDown(UINT nKey)
{
    CQXPControlComboBox* pControl = GetComboControl();
    if (pControl && nKey == VK_RETURN) {
        // Enter in the open list commits the control.
        pControl->InternalAddRef();
        pControl->OnExecute();
        pControl->InternalRelease();
        return 1;
    }
    return CQXPControlComboBoxPopupBar::ProcessHookKeyDown(nKey);
}

int CQXPControlComboBoxList::ProcessKey(CQXPControlComboBox* pControl, UINT nKey, LPARAM lParam)
{
    (void)lParam;
    if (!pControl || !m_hWnd || !::IsWindow(m_hWnd))
        return 0;
    BOOL bAlt = ::GetKeyState(VK_MENU) < 0;
    BOOL bEdit = pControl->GetEditCtrl() && ::IsWindow(pControl->GetEditCtrl()->GetSafeHwnd());
    int nOldSel = GetCurSel();
    if (bEdit) {
        if (bAlt)
            return 0;
        if (nKey != VK_PRIOR && nKey != VK_NEXT && nKey != VK_UP && nKey != VK_DOWN)
            return 0;
        ::SendMessageA(m_hWnd, WM_KEYDOWN, nKey, 0);
    } else {
        if ((bAlt && (nKey == VK_UP || nKey == VK_DOWN)) || (!bAlt && nKey == VK_F4))
            return 0;
        UINT nChar = ::MapVirtualKeyA(nKey, 2) & 0x7FFF;
        if (nChar >= 0x20)
            ::SendMessageA(m_hWnd, WM_CHAR, nChar, 0); // letters jump to items
        else
            ::SendMessageA(m_hWnd, WM_KEYDOWN, nKey, 0);
    }
    if (GetCurSel() != nOldSel) {
        pControl->OnSelChanged();
        if (bEdit) {
            pControl->GetEditCtrl()->SendMessage(EM_SETSEL, 0, -1);
            pControl->GetEditCtrl()->SendMessage(EM_SCROLLCARET, 0, 0);
        }
    }
    return 1;
}

BOOL CQXPControlComboBoxList::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    CQXPControlComboBox* pControl = GetComboControl();
    if (pControl)
        pControl->InternalAddRef();
    BOOL bChanged = CQXPControlComboBoxPopupBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard);
    if (bChanged && !bMode)
        OnComboClosed(pControl);
    if (pControl)
        pControl->InternalRelease();
    return bChanged;
}

void CQXPControlComboBoxList::DismissWindow()
{
    ::ShowWindow(m_hWnd, SW_HIDE);
}

// ===========================================================================
// CQXPControlComboBox

IMPLEMENT_DYNCREATE(CQXPControlComboBox, CQXPControlPopup)

CQXPControlComboBox::CQXPControlComboBox()
    : CQXPEditBox(this, FALSE, CBN_SETFOCUS, CBN_KILLFOCUS), m_bDropDown(TRUE), m_nComboStyle(0),
      m_nSavedSel(-1), m_bAutoComplete(FALSE), m_bSuppressCompletion(FALSE), m_nEditIconId(0), m_bCommitted(FALSE),
      m_nDropDownItemCount(12), m_nCurSel(-1), m_bUpdating(FALSE), m_bCompleting(FALSE)
{
    m_controlType = qxpControlComboBox;
    m_nWidth = 100;
    CQXPControlComboBoxList* pList = new CQXPControlComboBoxList;
    pList->CreateListWindow();
    SetCommandBar(pList);
    pList->InternalRelease(); // the control's reference stays
    m_pEdit = CreateEditWindow();
    m_pEdit->m_pOwner = this;
}

CQXPControlComboBox::~CQXPControlComboBox()
{
    CQXPControlComboBoxPopupBar* pBar = GetListBar();
    if (pBar && pBar->m_pControlPopup == this)
        pBar->m_pControlPopup = NULL;
}

CQXPControlComboBoxList* CQXPControlComboBox::GetComboList() const
{
    return dynamic_cast<CQXPControlComboBoxList*>(m_pCommandBar);
}

CQXPControlComboBoxPopupBar* CQXPControlComboBox::GetListBar() const
{
    return dynamic_cast<CQXPControlComboBoxPopupBar*>(m_pCommandBar);
}

// --- style ------------------------------------------------------------------------

void CQXPControlComboBox::SetDropDown(BOOL bDropDown)
{
    m_bDropDown = bDropDown;
    if (bDropDown) {
        if (!m_pEdit) {
            m_pEdit = CreateEditWindow();
            m_pEdit->m_pOwner = this;
        }
    } else if (m_pEdit) {
        DestroyEditWindow();
        m_pEdit->m_pOwner = NULL;
        delete m_pEdit;
        m_pEdit = NULL;
    }
    m_bReposition = TRUE;
    DelayLayoutParent();
}

void CQXPControlComboBox::SetComboStyle(int nStyle)
{
    if (m_nComboStyle == nStyle)
        return;
    m_nComboStyle = nStyle;
    DelayLayoutParent();
}

void CQXPControlComboBox::SetEditIconId(int nId)
{
    if (m_nEditIconId == nId)
        return;
    m_nEditIconId = nId;
    m_bReposition = TRUE;
    DelayLayoutParent();
}

BOOL CQXPControlComboBox::IsCaptionVisible() const
{
    return QxpIsBoxCaptionVisible(this, m_nComboStyle == 1);
}

// --- items and selection -------------------------------------------------------------

void CQXPControlComboBox::ResetContent()
{
    if (GetComboList())
        GetComboList()->ResetContent();
    m_nCurSel = -1;
    m_nSavedSel = -1;
}

CString CQXPControlComboBox::GetLBText(int nIndex) const
{
    CString str;
    if (GetListBar())
        GetListBar()->GetText(nIndex, str);
    return str;
}

int CQXPControlComboBox::GetCurSel() const
{
    // A list box answers while its window lives; other drop-downs always.
    CQXPControlComboBoxPopupBar* pBar = GetListBar();
    if (pBar && (!GetComboList() || ::IsWindow(pBar->GetSafeHwnd())))
        return pBar->GetCurSel();
    return m_nCurSel;
}

void CQXPControlComboBox::SetCurSel(int nIndex)
{
    if (nIndex < -1 || nIndex >= GetCount())
        nIndex = -1;
    if (nIndex == GetCurSel())
        return;
    m_nCurSel = nIndex;
    if (GetListBar())
        GetListBar()->SetCurSel(nIndex);
    OnSelChanged();
}

CString CQXPControlComboBox::GetListSelectedText() const
{
    int nSel = GetCurSel();
    if (nSel < 0 || nSel >= GetCount())
        return CString();
    return GetLBText(nSel);
}

void CQXPControlComboBox::OnSelChanged()
{
    m_bUpdating = TRUE;
    SetEditText(GetListSelectedText());
    m_bUpdating = FALSE;
    RedrawParent();
    NotifySite(CBN_SELCHANGE);
}

void CQXPControlComboBox::SyncListWithText()
{
    CQXPControlComboBoxPopupBar* pList = GetListBar();
    if (m_bUpdating || !m_pEdit || !pList || (GetComboList() && !::IsWindow(pList->GetSafeHwnd())))
        return;
    CString strText = GetEditTextWithoutHint();
    int nExact = pList->FindStringExact(-1, strText);
    if (nExact >= 0) {
        pList->SetCurSel(nExact);
        return;
    }
    pList->SetCurSel(-1);
    int nPrefix = strText.IsEmpty() ? -1 : pList->FindString(-1, strText);
    if (nPrefix >= 0)
        pList->SetTopIndex(nPrefix);
}

// --- text -------------------------------------------------------------------------------

void CQXPControlComboBox::SetEditHint(const CString& strHint)
{
    CQXPEditBox::SetEditHint(strHint);
    RedrawParent();
}

// --- the edit window ------------------------------------------------------------------

void CQXPControlComboBox::AddIconSpace(CRect& rcEdit)
{
    if (m_nEditIconId <= 0)
        return;
    CQXPIconImage* pImage = GetGlobalImageManager()->GetImage((UINT)m_nEditIconId, 16);
    int cx = pImage ? 16 : 0;
    if (cx > 0)
        rcEdit.left += cx + 2;
}

CRect CQXPControlComboBox::GetEditWindowRect()
{
    CRect rc = m_rcControl;
    CRect rcEdit(rc.left + m_layout.nLabelWidth + 4, rc.top + 3, rc.right - m_layout.nButtonWidth - 3, rc.bottom - 3);
    AddIconSpace(rcEdit);
    return rcEdit;
}

void CQXPControlComboBox::SetRect(const CRect& rc)
{
    OnBoxRectChanged(rc);
}

void CQXPControlComboBox::SetParent(CQXPCommandBar* pParent)
{
    if (pParent != m_pParent) {
        if (!pParent)
            DestroyEditWindow();
        else
            m_bReposition = TRUE;
    }
    CQXPControlPopup::SetParent(pParent);
    // The list belongs to the owner window of the new bar.
    if (pParent && GetComboList() && ::IsWindow(GetComboList()->GetSafeHwnd())) {
        CWnd* pSite = pParent->GetOwnerSite();
        ::SetWindowLongPtrA(GetComboList()->GetSafeHwnd(), GWLP_HWNDPARENT, (LONG_PTR)(pSite ? pSite->GetSafeHwnd() : NULL));
    }
}

void CQXPControlComboBox::SetHideFlags(DWORD dwFlags)
{
    if (dwFlags == m_dwHideFlags)
        return;
    CQXPControlPopup::SetHideFlags(dwFlags);
    OnBoxHideFlagsChanged();
}

void CQXPControlComboBox::SetEnabled(BOOL bEnabled)
{
    if (m_bEnabled == bEnabled)
        return;
    CQXPControlPopup::SetEnabled(bEnabled);
    OnBoxEnabledChanged();
}

void CQXPControlComboBox::OnParentDestroying()
{
    DestroyEditWindow();
}

void CQXPControlComboBox::OnRemoved()
{
    // The bar's indexes have moved on: the list is closed directly.
    if (m_bPopup) {
        CQXPControlPopup::OnSetPopup(FALSE);
        if (m_pParent && m_pParent->GetPopupedIndex() == m_nIndex)
            m_pParent->m_nPopuped = -1;
    }
    if (m_bFocused)
        SetFocused(FALSE);
    DestroyEditWindow();
    CQXPControlPopup::OnRemoved();
}

void CQXPControlComboBox::Copy(CQXPControl* pControl, BOOL bRecursive)
{
    CQXPControlComboBox* pOther = dynamic_cast<CQXPControlComboBox*>(pControl);
    if (pOther) {
        m_dwEditStyle = pOther->m_dwEditStyle;
        m_nComboStyle = pOther->m_nComboStyle;
        m_strEditHint = pOther->m_strEditHint;
        SetDropDown(pOther->m_bDropDown);
        SetEditTextOrHint(pOther->GetEditTextWithoutHint());
        m_bAutoComplete = pOther->m_bAutoComplete;
        m_dwShellAutoCompleteFlags = pOther->m_dwShellAutoCompleteFlags;
        m_nEditIconId = pOther->m_nEditIconId;
        m_nDropDownItemCount = pOther->m_nDropDownItemCount;
    }
    // The popup control's copy would share the other list: keep our own.
    CQXPControl::Copy(pControl, bRecursive);
    if (pOther && GetComboList() && pOther->GetComboList()) {
        GetComboList()->CopyList(pOther->GetComboList());
    } else if (pOther && pOther->GetListBar()) {
        // Another kind of drop-down (a gallery): a copy of its own.
        CQXPPopupBar* pBar = pOther->GetListBar()->Clone(TRUE);
        if (pBar) {
            SetCommandBar(pBar);
            pBar->InternalRelease();
        }
    }
}

void CQXPControlComboBox::DoPropExchange(CQXPPropExchange* pPX)
{
    CQXPControlPopup::DoPropExchange(pPX);
    UINT nSchema = pPX->GetSchema();
    ExchangeBoolProp(pPX, "DropDown", &m_bDropDown, TRUE);
    ExchangeIntProp(pPX, "Width", &m_nWidth, 0);
    ExchangeIntProp(pPX, "ComboStyle", &m_nComboStyle, 0);
    if (nSchema > 8) {
        ExchangeTextPropDefault(pPX, "EditHint", &m_strEditHint, "");
        UINT nFlags = m_dwShellAutoCompleteFlags;
        ExchangeIntProp(pPX, "ShellAutoCompleteFlags", &nFlags, 0u);
        m_dwShellAutoCompleteFlags = nFlags;
        ExchangeBoolProp(pPX, "AutoComplete", &m_bAutoComplete, FALSE);
        ExchangeIntProp(pPX, "EditIconId", &m_nEditIconId, 0);
        ExchangeIntProp(pPX, "DropDownItemCount", &m_nDropDownItemCount, 12);
    }
    if (nSchema > 16) {
        UINT nStyle = m_dwEditStyle;
        ExchangeIntProp(pPX, "EditStyle", &nStyle, 0u);
        m_dwEditStyle = nStyle;
    }
    if (pPX->IsLoading()) {
        SetDropDown(m_bDropDown);
        SetShellAutoCompleteFlags(m_dwShellAutoCompleteFlags);
    }
}

void CQXPControlComboBox::RestorePopupFromList(CommandBarList* pList)
{
    CQXPControlComboBoxList* pOwn = GetComboList();
    if (pOwn)
        pOwn->InternalAddRef();
    CQXPControlPopup::RestorePopupFromList(pList);
    if (!GetComboList() && pOwn) {
        // Not a list: the control keeps the one it had.
        SetCommandBar(pOwn);
    }
    if (pOwn)
        pOwn->InternalRelease();
}

// --- drawing ----------------------------------------------------------------------------------

void CQXPControlComboBox::Draw(CDC* pDC)
{
    CQXPControl::Draw(pDC);
    if (m_pParent && m_pParent->GetType() == qxpBarTypePopup)
        return;
    CRect rcField = m_rcControl;
    rcField.left += m_layout.nLabelWidth;
    rcField.right -= m_layout.nButtonWidth;
    DrawEditText(pDC, rcField);
}

void CQXPControlComboBox::DrawEditText(CDC* pDC, CRect rcText)
{
    BOOL bEnabled = GetEnabled() != 0;
    if (m_nEditIconId > 0) {
        CQXPIconImage* pImage = GetGlobalImageManager()->GetImage((UINT)m_nEditIconId, 16);
        if (pImage) {
            CQXPThemePainter* pPaintManager = GetPaintManager();
            pPaintManager->DrawImage(pDC, CPoint(rcText.left + 2, (rcText.top + rcText.bottom) / 2 - 8), CSize(16, 16),
                                     pImage, FALSE, FALSE, bEnabled, FALSE, FALSE);
            rcText.left += 16 + 2;
        }
    }
    if (m_pEdit)
        return;
    // Drop-down-list style: a focused field shows its selection highlighted.
    if (bEnabled && m_bFocused) {
        ToolkitColorManager* pColors = ToolkitColorManager::Instance();
        CRect rcFill(rcText.left + 3, rcText.top + 4, rcText.right - 3, rcText.bottom - 4);
        pDC->FillSolidRect(rcFill, pColors->GetColor(COLOR_HIGHLIGHT));
        CString strText = GetListSelectedText();
        COLORREF clrOld = pDC->SetTextColor(pColors->GetColor(COLOR_HIGHLIGHTTEXT));
        int nMode = pDC->SetBkMode(TRANSPARENT);
        CRect rcDraw(rcFill.left + 1, rcFill.top, rcFill.right, rcFill.bottom);
        pDC->DrawText(strText, rcDraw, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        pDC->SetBkMode(nMode);
        pDC->SetTextColor(clrOld);
    }
}

void CQXPControlComboBox::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (!lpDIS || (int)lpDIS->itemID < 0 || !GetComboList())
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    CRect rc(lpDIS->rcItem);
    pDC->FillSolidRect(rc, pColors->GetColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    CString strText;
    GetComboList()->GetText((int)lpDIS->itemID, strText);
    COLORREF clrOld = pDC->SetTextColor(pColors->GetColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    int nMode = pDC->SetBkMode(TRANSPARENT);
    rc.left += 3;
    pDC->DrawText(strText, rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->SetBkMode(nMode);
    pDC->SetTextColor(clrOld);
}

void CQXPControlComboBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    if (lpMIS)
        lpMIS->itemHeight = GetComboList() ? (UINT)GetComboList()->GetItemHeight() : 16;
}

// --- the list ---------------------------------------------------------------------------------

BOOL CQXPControlComboBox::OnSetPopup(BOOL bPopup)
{
    if (bPopup == m_bPopup)
        return FALSE;
    if (!bPopup)
        return CQXPControlPopup::OnSetPopup(FALSE);
    if (!GetListBar() || !m_pParent)
        return FALSE;
    m_bCommitted = FALSE;
    m_nSavedSel = GetCurSel();
    if (m_pAutoComplete)
        m_pAutoComplete->HideDropDown();
    CQXPThemePainter* pPaintManager = m_pParent->GetPaintManager();
    if (CQXPControlComboBoxList* pList = GetComboList()) {
        pList->m_pListCommandBars = GetCommandBars();
        if (::IsWindow(pList->GetSafeHwnd()))
            pList->SendMessage(WM_SETFONT, (WPARAM)pPaintManager->GetIconFont()->GetSafeHandle(), FALSE);
    }
    if (m_pEdit && ::IsWindow(m_pEdit->GetSafeHwnd()) && ::GetFocus() != m_pEdit->GetSafeHwnd())
        m_pEdit->SetFocus();
    InternalAddRef();
    BOOL bOpened = CQXPControlPopup::OnSetPopup(TRUE);
    if (bOpened)
        OnListOpened();
    InternalRelease();
    return bOpened;
}

void CQXPControlComboBox::OnListOpened()
{
    QxpAddFocusedEdit(+1);
    SyncListWithText();
    NotifySite(CBN_DROPDOWN);
}

void CQXPControlComboBox::OnListClosed()
{
    if (!m_bCommitted) {
        if (!m_pEdit && !m_bFocused)
            SetCurSel(m_nSavedSel);
        NotifySite(CBN_SELENDCANCEL);
    }
    NotifySite(CBN_CLOSEUP);
    QxpAddFocusedEdit(-1);
    RedrawParent();
}

void CQXPControlComboBox::OnAutoSuggestShown()
{
    if (m_bPopup && m_pParent)
        m_pParent->SetPopuped(-1);
}

// --- focus -------------------------------------------------------------------------------------

void CQXPControlComboBox::OnSetFocus(HWND hWndOld)
{
    NoteFocusArrival(hWndOld);
    if (m_pParent && !m_bFocused && !m_bPopup)
        m_pParent->SetSelected(-1, 0);
    SetFocused(TRUE);
    if (m_pAutoComplete)
        m_pAutoComplete->StartWatch();
}

void CQXPControlComboBox::OnKillFocus()
{
    if (GetEditText().IsEmpty() && !GetEffectiveHint().IsEmpty())
        SetEditText(GetEffectiveHint());
    if (m_bPopup && m_pParent)
        m_pParent->SetPopuped(-1);
    SetFocused(FALSE);
    if (m_pAutoComplete)
        m_pAutoComplete->StopWatch();
}

void CQXPControlComboBox::OnFocusChanging(BOOL bFocused)
{
    if (bFocused) {
        m_nSavedSel = GetCurSel();
        m_bCommitted = FALSE;
    } else if (!m_bCommitted && !m_bPopup && !(m_pEdit && m_pEdit->GetSafeHwnd())) {
        // A list-style box that loses the focus without a choice goes back.
        SetCurSel(m_nSavedSel);
        NotifySite(CBN_SELENDCANCEL);
    }
}

BOOL CQXPControlComboBox::OnSetSelected(int bSelected)
{
    BOOL bResult = CQXPControlPopup::OnSetSelected(bSelected);
    if (bSelected == 0 && m_bFocused && m_pParent && !m_pParent->IsTrackingMode())
        SetFocused(FALSE);
    return bResult;
}

// --- commands, clicks and keys -------------------------------------------------------------

void CQXPControlComboBox::OnExecute()
{
    int nSel = GetCurSel();
    if (nSel >= 0 && (m_bPopup || (!m_pEdit && m_bFocused)))
        NotifySite(CBN_SELENDOK);
    m_bCommitted = TRUE;
    m_nSavedSel = nSel;
    CQXPControlPopup::OnExecute();
}

void CQXPControlComboBox::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (m_pEdit && m_pEdit->m_bComposited)
        return;
    if (IsCustomizeMode()) {
        if (m_pParent) {
            m_pParent->SetPopuped(-1);
            m_pParent->SetSelected(-1);
            OnCustomizeClick(pt);
        }
        return;
    }
    if (!GetEnabled())
        return;
    if (bKeyboard) {
        if (m_bFocused)
            OnExecute();
        else
            SetFocused(TRUE);
        return;
    }
    CQXPControlPopup::OnClick(bKeyboard, pt);
}

BOOL CQXPControlComboBox::OnEditRButtonDown(CPoint ptClient)
{
    (void)ptClient;
    if (m_bPopup && m_pParent)
        m_pParent->SetPopuped(-1);
    if (IsCustomizeMode())
        return TRUE;
    if (!m_bFocused && m_pEdit)
        m_pEdit->SetFocus();
    return FALSE;
}

BOOL CQXPControlComboBox::OnMouseWheel(int nDelta)
{
    if (!m_bFocused || m_bPopup || m_pAutoComplete || !GetListBar())
        return FALSE;
    GetListBar()->ProcessKey(this, nDelta <= 0 ? VK_DOWN : VK_UP, 0);
    return TRUE;
}

BOOL CQXPControlComboBox::OnEditMouseWheel(int nDelta)
{
    return OnMouseWheel(nDelta);
}

int CQXPControlComboBox::ProcessKey(UINT nKey, LPARAM lParam)
{
    if (!m_bFocused)
        return 0;
    m_bSuppressCompletion = nKey == VK_DELETE || nKey == VK_BACK;
    BOOL bEdit = m_pEdit && ::IsWindow(m_pEdit->GetSafeHwnd());
    if (bEdit && m_pEdit->m_bComposited)
        return 2;
    BOOL bAlt = ::GetKeyState(VK_MENU) < 0;
    BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    switch (nKey) {
    case VK_RETURN:
        // Executed here: the bar's Enter would open the list of a control
        // that has one.
        OnClick(TRUE);
        return 1;
    case VK_TAB:
        if (!(m_pAutoComplete && (m_dwShellAutoCompleteFlags & 0x08)))
            return 0;
        break;
    case VK_ESCAPE: {
        BOOL bPopupBar = m_pParent && m_pParent->GetType() == qxpBarTypePopup;
        if (m_bPopup && m_pParent)
            m_pParent->SetPopuped(-1);
        SetCurSel(m_nSavedSel);
        if (bEdit)
            SetEditTextOrHint(m_strTextAtFocus);
        SetFocused(FALSE);
        return bPopupBar ? 1 : 0;
    }
    default:
        break;
    }
    if ((bAlt && (nKey == VK_UP || nKey == VK_DOWN)) || (!bAlt && nKey == VK_F4)) {
        if (m_pParent) {
            if (m_bPopup)
                m_pParent->SetPopuped(-1);
            else
                m_pParent->SetPopuped(m_nIndex);
        }
        return 1;
    }
    (void)bCtrl;
    if (m_pAutoComplete && !bAlt && m_pAutoComplete->ProcessKey(nKey))
        return 1;
    CQXPControlComboBoxPopupBar* pList = GetListBar();
    if (!pList)
        return 2;
    if (bEdit) {
        if (!bAlt && (nKey == VK_PRIOR || nKey == VK_NEXT || nKey == VK_UP || nKey == VK_DOWN)) {
            pList->ProcessKey(this, nKey, lParam);
            return 1;
        }
    } else {
        pList->ProcessKey(this, nKey, lParam);
        return 1;
    }
    if (qxpedit::IsEditDialogKey(nKey))
        return qxpedit::SendDialogKey(m_pEdit->GetSafeHwnd(), nKey, lParam) ? 1 : 2;
    return 2;
}

// --- typing -------------------------------------------------------------------------------------

void CQXPControlComboBox::OnEditTextChanged()
{
    m_bTextDirty = TRUE;
    // The control's own writes (a chosen item, a completion) are no typing.
    if (m_bUpdating || m_bCompleting)
        return;
    if (m_pEdit && ::GetFocus() == m_pEdit->GetSafeHwnd() && !m_pEdit->m_bComposited)
        OnEditChanged();
    if (m_pEdit && ::IsWindow(m_pEdit->GetSafeHwnd())) {
        m_pEdit->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
        UpdateColors();
    }
}

void CQXPControlComboBox::OnEditChanged()
{
    if (m_bAutoComplete && !m_bSuppressCompletion && m_pEdit && GetListBar()) {
        CString strText = GetEditText();
        if (!strText.IsEmpty()) {
            DWORD dwStart = 0, dwEnd = 0;
            m_pEdit->SendMessage(EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
            int nLength = strText.GetLength();
            if (dwStart == dwEnd && (int)dwEnd == nLength) {
                int nItem = GetListBar()->FindString(-1, strText);
                CString strItem;
                if (nItem >= 0)
                    GetListBar()->GetText(nItem, strItem);
                if (strItem.GetLength() > nLength) {
                    // The completion is one change of the user's: the edit
                    // change it causes does not complete again.
                    m_bCompleting = TRUE;
                    m_pEdit->SetWindowText(strItem);
                    m_bTextDirty = TRUE;
                    m_pEdit->SendMessage(EM_SETSEL, (WPARAM)strItem.GetLength(), (LPARAM)nLength);
                    m_pEdit->SendMessage(EM_SCROLLCARET, 0, 0);
                    m_bCompleting = FALSE;
                }
            }
            m_bSuppressCompletion = TRUE;
        }
    }
    SyncListWithText();
    NotifySite(CBN_EDITCHANGE);
}
