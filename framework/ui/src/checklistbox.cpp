// checklistbox.cpp - the check list box and the title static.
#include "fx/checklistbox.h"

#include "fx/gdi.h"

// ---------------------------------------------------------------------------
// CCheckListBox

IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

BEGIN_MESSAGE_MAP(CCheckListBox, CListBox)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYDOWN()
    ON_MESSAGE(LB_ADDSTRING, OnAddString)
    ON_MESSAGE(LB_INSERTSTRING, OnInsertString)
    ON_MESSAGE(LB_DELETESTRING, OnDeleteString)
    ON_MESSAGE(LB_RESETCONTENT, OnResetContent)
END_MESSAGE_MAP()

namespace {
// Space between the item's left edge and the box, and between the box and
// the text.
const int kBoxMargin = 2;
const int kTextGap = 3;
} // namespace

CCheckListBox::CCheckListBox() {}

CCheckListBox::~CCheckListBox() {}

CCheckListBox::ItemState* CCheckListBox::StateOf(int nIndex)
{
    if (nIndex < 0 || nIndex >= (int)m_states.size())
        return NULL;
    return &m_states[nIndex];
}

const CCheckListBox::ItemState* CCheckListBox::StateOf(int nIndex) const
{
    if (nIndex < 0 || nIndex >= (int)m_states.size())
        return NULL;
    return &m_states[nIndex];
}

void CCheckListBox::SetCheck(int nIndex, int nCheck)
{
    ItemState* pState = StateOf(nIndex);
    if (pState == NULL || pState->nCheck == nCheck)
        return;
    pState->nCheck = nCheck;
    CRect rc;
    if (m_hWnd && GetItemRect(nIndex, &rc) != LB_ERR)
        InvalidateRect(&rc, FALSE);
}

int CCheckListBox::GetCheck(int nIndex) const
{
    const ItemState* pState = StateOf(nIndex);
    return pState ? pState->nCheck : 0;
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled)
{
    ItemState* pState = StateOf(nIndex);
    if (pState == NULL)
        return;
    pState->bEnabled = bEnabled;
    CRect rc;
    if (m_hWnd && GetItemRect(nIndex, &rc) != LB_ERR)
        InvalidateRect(&rc, FALSE);
}

BOOL CCheckListBox::IsEnabled(int nIndex) const
{
    const ItemState* pState = StateOf(nIndex);
    return pState ? pState->bEnabled : FALSE;
}

CSize CCheckListBox::GetCheckBoxSize() { return CSize(13, 13); }

CRect CCheckListBox::GetCheckBoxRect(const CRect& rcItem)
{
    CSize sz = GetCheckBoxSize();
    int nTop = rcItem.top + (rcItem.Height() - sz.cy) / 2;
    return CRect(rcItem.left + kBoxMargin, nTop, rcItem.left + kBoxMargin + sz.cx, nTop + sz.cy);
}

void CCheckListBox::DrawCheckBox(CDC* pDC, CRect rcBox, int nCheck, BOOL bEnabled)
{
    UINT nState = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (nCheck)
        nState |= DFCS_CHECKED;
    if (!bEnabled)
        nState |= DFCS_INACTIVE;
    ::DrawFrameControl(pDC->GetSafeHdc(), rcBox, DFC_BUTTON, nState);
}

void CCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    // Room for the box with a pixel above and below, at least the font.
    lpMeasureItemStruct->itemHeight = (UINT)GetCheckBoxSize().cy + 2;
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDis)
{
    CDC* pDC = CDC::FromHandle(lpDis->hDC);
    CRect rcItem(lpDis->rcItem);
    int nIndex = (int)lpDis->itemID;
    if (nIndex < 0) {
        if (lpDis->itemState & ODS_FOCUS)
            pDC->DrawFocusRect(rcItem);
        return;
    }
    BOOL bEnabled = IsEnabled(nIndex) && IsWindowEnabled();
    BOOL bSelected = (lpDis->itemState & ODS_SELECTED) != 0;

    CRect rcBox = GetCheckBoxRect(rcItem);
    CRect rcText(rcBox.right + kTextGap, rcItem.top, rcItem.right, rcItem.bottom);
    pDC->FillSolidRect(CRect(rcItem.left, rcItem.top, rcText.left, rcItem.bottom), ::GetSysColor(COLOR_WINDOW));
    DrawCheckBox(pDC, rcBox, GetCheck(nIndex), bEnabled);

    COLORREF clrBack = bSelected ? ::GetSysColor(COLOR_HIGHLIGHT) : ::GetSysColor(COLOR_WINDOW);
    COLORREF clrText = bSelected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : ::GetSysColor(COLOR_WINDOWTEXT);
    if (!bEnabled)
        clrText = RGB(0x80, 0x80, 0x80);
    pDC->FillSolidRect(rcText, clrBack);
    CString strText;
    GetText(nIndex, strText);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOld = pDC->SetTextColor(clrText);
    CRect rcDraw(rcText);
    rcDraw.left += 1;
    pDC->DrawText(strText, rcDraw, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
    if (lpDis->itemState & ODS_FOCUS)
        pDC->DrawFocusRect(rcText);
}

void CCheckListBox::ToggleByUser(int nIndex)
{
    ItemState* pState = StateOf(nIndex);
    if (pState == NULL || !pState->bEnabled)
        return;
    SetCheck(nIndex, pState->nCheck ? 0 : 1);
    CWnd* pParent = GetParent();
    if (pParent != NULL)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE), (LPARAM)m_hWnd);
}

void CCheckListBox::OnLButtonDown(UINT nFlags, CPoint point)
{
    BOOL bOutside = TRUE;
    int nIndex = (int)ItemFromPoint(point, bOutside);
    CListBox::OnLButtonDown(nFlags, point);
    if (bOutside)
        return;
    CRect rcItem;
    if (GetItemRect(nIndex, &rcItem) == LB_ERR)
        return;
    CRect rcBox = GetCheckBoxRect(rcItem);
    // The whole height of the item beside the box counts, so a click a
    // pixel above a small box still toggles.
    if (point.x >= rcItem.left && point.x < rcBox.right + kTextGap)
        ToggleByUser(nIndex);
}

void CCheckListBox::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // A second click on the box toggles again, like the first.
    OnLButtonDown(nFlags, point);
}

void CCheckListBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_SPACE) {
        int nIndex = GetCaretIndex();
        if (nIndex >= 0)
            ToggleByUser(nIndex);
        return;
    }
    CListBox::OnKeyDown(nChar, nRepCnt, nFlags);
}

LRESULT CCheckListBox::OnAddString(WPARAM, LPARAM)
{
    LRESULT nIndex = Default();
    if (nIndex >= 0 && nIndex <= (LRESULT)m_states.size())
        m_states.insert(m_states.begin() + nIndex, ItemState());
    return nIndex;
}

LRESULT CCheckListBox::OnInsertString(WPARAM, LPARAM)
{
    LRESULT nIndex = Default();
    if (nIndex >= 0 && nIndex <= (LRESULT)m_states.size())
        m_states.insert(m_states.begin() + nIndex, ItemState());
    return nIndex;
}

LRESULT CCheckListBox::OnDeleteString(WPARAM wParam, LPARAM)
{
    LRESULT nResult = Default();
    if (nResult != LB_ERR && (size_t)wParam < m_states.size())
        m_states.erase(m_states.begin() + (ptrdiff_t)wParam);
    return nResult;
}

LRESULT CCheckListBox::OnResetContent(WPARAM, LPARAM)
{
    LRESULT nResult = Default();
    m_states.clear();
    return nResult;
}

// ---------------------------------------------------------------------------
// CTitleStatic

IMPLEMENT_DYNAMIC(CTitleStatic, CStatic)

BEGIN_MESSAGE_MAP(CTitleStatic, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {
// Space between the text and the line.
const int kLineGap = 6;

BOOL IsRtlReading(CWnd* pWnd) { return (pWnd->GetExStyle() & WS_EX_RTLREADING) != 0; }
} // namespace

void CTitleStatic::GetLineExtent(CDC* pDC, const CRect& rcClient, int* pnStart, int* pnEnd)
{
    CString strText;
    GetWindowText(strText);
    CSize szText = strText.IsEmpty() ? CSize(0, 0) : pDC->GetTextExtent(strText);
    if (IsRtlReading(this)) {
        *pnStart = rcClient.left;
        *pnEnd = rcClient.right - szText.cx - kLineGap;
    } else {
        *pnStart = rcClient.left + szText.cx + kLineGap;
        *pnEnd = rcClient.right;
    }
}

BOOL CTitleStatic::OnEraseBkgnd(CDC*) { return TRUE; }

void CTitleStatic::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);

    // The dialog's own background and font.
    CWnd* pParent = GetParent();
    HBRUSH hBrush = NULL;
    if (pParent != NULL)
        hBrush = (HBRUSH)pParent->SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc.GetSafeHdc(), (LPARAM)m_hWnd);
    if (hBrush != NULL)
        ::FillRect(dc.GetSafeHdc(), rc, hBrush);
    else
        dc.FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
    HFONT hFont = (HFONT)SendMessage(WM_GETFONT, 0, 0);
    HGDIOBJ hOldFont = hFont ? ::SelectObject(dc.GetSafeHdc(), hFont) : NULL;

    CString strText;
    GetWindowText(strText);
    BOOL bRtl = IsRtlReading(this);
    COLORREF clrText = ::GetSysColor(COLOR_BTNTEXT), clrEdge = 0;
    BOOL bThemed = GetThemeColors(&clrText, &clrEdge);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(IsWindowEnabled() ? clrText : ::GetSysColor(COLOR_GRAYTEXT));
    UINT nFormat = DT_SINGLELINE | DT_VCENTER | (bRtl ? DT_RIGHT | DT_RTLREADING : DT_LEFT);
    if (GetStyle() & SS_NOPREFIX)
        nFormat |= DT_NOPREFIX;
    dc.DrawText(strText, rc, nFormat);

    int nStart = 0, nEnd = 0;
    GetLineExtent(&dc, rc, &nStart, &nEnd);
    if (nEnd > nStart) {
        int y = rc.top + rc.Height() / 2;
        if (bThemed) {
            dc.FillSolidRect(CRect(nStart, y, nEnd, y + 1), clrEdge);
        } else {
            dc.FillSolidRect(CRect(nStart, y, nEnd, y + 1), ::GetSysColor(COLOR_BTNSHADOW));
            dc.FillSolidRect(CRect(nStart, y + 1, nEnd, y + 2), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        }
    }
    if (hOldFont)
        ::SelectObject(dc.GetSafeHdc(), hOldFont);
}
