// colorpicker.cpp - the colour picker button and its theme.
#include <qx/colorpicker.h>

#include <qx/drawing.h>
#include <qx/fonts.h>

// ---------------------------------------------------------------------------
// The theme.

BOOL CColorPickerTheme::DrawBackgroundThemed(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton)
{
    CQXColorPicker* pPicker = DYNAMIC_DOWNCAST(CQXColorPicker, pButton);
    if (pPicker && pPicker->IsPopupOpen())
        lpDIS->itemState |= ODS_SELECTED;
    if (!CButtonTheme::DrawBackgroundThemed(lpDIS, pButton))
        return FALSE;
    if (pPicker)
        DrawColorBox(lpDIS, pPicker);
    return TRUE;
}

void CColorPickerTheme::DrawBackgroundClassic(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton)
{
    CQXColorPicker* pPicker = DYNAMIC_DOWNCAST(CQXColorPicker, pButton);
    if (pPicker && pPicker->IsPopupOpen())
        lpDIS->itemState |= ODS_SELECTED;
    CButtonTheme::DrawBackgroundClassic(lpDIS, pButton);
    if (pPicker)
        DrawColorBox(lpDIS, pPicker);
}

void CColorPickerTheme::DrawColorBox(LPDRAWITEMSTRUCT lpDIS, CQXColorPicker* pPicker)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const UINT nState = lpDIS->itemState;
    const BOOL bSelected = (nState & ODS_SELECTED) != 0;
    const BOOL bDisabled = (nState & ODS_DISABLED) != 0;
    CRect rc(lpDIS->rcItem);

    // The drop arrow.
    const int cxArrow = GetGlobalUIFonts()->GetDropArrowWidth() + 2;
    CRect rcArrow(rc.right - cxArrow, rc.top, rc.right, rc.bottom);
    if (bSelected)
        rcArrow.OffsetRect(1, 1);
    const CPoint c = rcArrow.CenterPoint();
    const int nOldFill = ::SetPolyFillMode(lpDIS->hDC, WINDING);
    DrawFilledTriangle(lpDIS->hDC, POINT{c.x - 4, c.y - 2}, POINT{c.x + 4, c.y - 2}, POINT{c.x, c.y + 2},
                       CButtonTheme::GetTextColor(nState, pPicker));
    ::SetPolyFillMode(lpDIS->hDC, nOldFill);

    // The box; a colour GDI cannot draw (none set, no fill) leaves it empty.
    CRect rcBox(rc.left + 5, rc.top + 5, rc.right - cxArrow, rc.bottom - 5);
    if (bSelected || pPicker->GetCheck() == BST_CHECKED)
        rcBox.OffsetRect(1, 1);
    ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    COLORREF clrFill = pPicker->GetColor();
    if (bDisabled)
        clrFill = pColors->GetColor(COLOR_3DFACE);
    else if (pPicker->GetShowCaption() && pPicker->GetCaptionInColor())
        clrFill = pPicker->GetContrastColor();
    const COLORREF clrOutline = bDisabled ? pColors->GetColor(COLOR_3DSHADOW) : RGB(0, 0, 0);
    {
        PenSelector pen(lpDIS->hDC, clrOutline);
        if (QxIsDrawableColor(clrFill)) {
            BrushSelector brush(lpDIS->hDC, clrFill);
            pDC->Rectangle(rcBox);
        } else {
            GdiObjectSelector brush(lpDIS->hDC, ::GetStockObject(NULL_BRUSH));
            pDC->Rectangle(rcBox);
        }
    }
    lpDIS->rcItem = rcBox;
}

COLORREF CColorPickerTheme::GetTextColor(UINT nItemState, CQXButton* pButton)
{
    CQXColorPicker* pPicker = DYNAMIC_DOWNCAST(CQXColorPicker, pButton);
    if (!pPicker)
        return CButtonTheme::GetTextColor(nItemState, pButton);
    if (nItemState & ODS_DISABLED)
        return m_crTextDisabled;
    if (pPicker->GetCaptionInColor() && QxIsDrawableColor(pPicker->GetColor()))
        return pPicker->GetColor();
    return pPicker->GetContrastColor();
}

void CColorPickerTheme::DrawCaption(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton)
{
    CQXColorPicker* pPicker = DYNAMIC_DOWNCAST(CQXColorPicker, pButton);
    if (pPicker && pPicker->GetShowCaption())
        CButtonTheme::DrawCaption(pDC, nItemState, rc, pButton);
}

void CColorPickerTheme::DrawFocus(CDC* pDC, UINT nItemState, CRect, CQXButton* pButton)
{
    if (UseVisualStyle(pButton))
        return;
    CRect rc;
    pButton->GetClientRect(&rc);
    rc.DeflateRect(3, 3);
    const COLORREF clrOld = pDC->SetTextColor(GetTextColor(nItemState, pButton));
    pDC->DrawFocusRect(rc);
    pDC->SetTextColor(clrOld);
}

// ---------------------------------------------------------------------------
// The picker.

IMPLEMENT_DYNAMIC(CQXColorPicker, CQXButton)

BEGIN_MESSAGE_MAP(CQXColorPicker, CQXButton)
    ON_MESSAGE(CPM_SHOWPOPUP, OnShowPopup)
    ON_MESSAGE(CPN_SELUNCHANGED, OnSelUnchanged)
    ON_MESSAGE(CPN_DROPDOWN, OnDropDown)
    ON_MESSAGE(CPN_CLOSEUP, OnCloseUp)
    ON_MESSAGE(CPN_SELCHANGE, OnSelChange)
    ON_MESSAGE(CPN_SELCANCEL, OnSelCancel)
    ON_MESSAGE(CPN_SELNOFILL, OnSelNoFill)
END_MESSAGE_MAP()

CQXColorPicker::CQXColorPicker()
    : m_bShowCaption(FALSE), m_bCaptionInColor(FALSE), m_bPopupOpen(FALSE),
      m_dwPopupStyle(QXCS_EXTENDED | QXCS_MORECOLORS), m_clrColor(QX_COLOR_UNSET), m_clrDefault(QX_COLOR_UNSET),
      m_pExtraColors(NULL), m_nExtraColors(0), m_nRecentLimit(kQxColorColumns)
{
    m_dwxStyle = BXS_VISUALSTYLE | BXS_FOCUSRECT;
    m_themeHolder.SetTheme(new CColorPickerTheme);
}

CQXColorPicker::~CQXColorPicker() {}

namespace {
void RedrawNow(CWnd* pWnd)
{
    if (pWnd->GetSafeHwnd())
        pWnd->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
} // namespace

void CQXColorPicker::SetColor(COLORREF clr)
{
    if (clr == GetColor())
        return;
    m_clrColor = clr;
    RedrawNow(this);
}

void CQXColorPicker::SetShowCaption(BOOL bShow)
{
    m_bShowCaption = bShow;
    RedrawNow(this);
}

void CQXColorPicker::SetCaptionInColor(BOOL bInColor)
{
    m_bCaptionInColor = bInColor;
    RedrawNow(this);
}

void CQXColorPicker::SetDefaultColor(COLORREF clr)
{
    m_clrDefault = clr;
    RedrawNow(this);
}

void CQXColorPicker::ModifyPopupStyle(DWORD dwRemove, DWORD dwAdd)
{
    m_dwPopupStyle = (m_dwPopupStyle & ~dwRemove) | dwAdd;
    RedrawNow(this);
}

COLORREF CQXColorPicker::GetContrastColor() const { return QxContrastColor(GetColor()); }

void CQXColorPicker::SetExtraColors(const COLORREF* pColors, int nCount, int nRecentLimit)
{
    m_pExtraColors = pColors;
    m_nExtraColors = pColors ? nCount : 0;
    m_nRecentLimit = nRecentLimit;
}

BOOL CQXColorPicker::Init()
{
    if (!CQXButton::Init())
        return FALSE;
    if (m_hWnd) {
        SendMessage(WM_SETFONT, (WPARAM)GetGlobalUIFonts()->m_fontNormal, FALSE);
        RedrawNow(this);
    }
    return TRUE;
}

void CQXColorPicker::ShowPopup()
{
    m_bPopupOpen = TRUE;
    if (::GetFocus() != m_hWnd)
        SetFocus();
    PostMessage(CPM_SHOWPOPUP, 0, 0);
}

LRESULT CQXColorPicker::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // In a dialog the arrow keys and Enter must reach the picker, not move
    // the focus or press the default button.
    if (message == WM_GETDLGCODE) {
        LRESULT lCode = CQXButton::WindowProc(message, wParam, lParam) | DLGC_WANTARROWS;
        const MSG* pMsg = (const MSG*)lParam;
        if (!m_bPopupOpen && pMsg && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN)
            lCode |= DLGC_WANTMESSAGE;
        return lCode;
    }
    if (!m_bPopupOpen) {
        if (message == WM_LBUTTONDOWN) {
            ShowPopup();
        } else if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_SPACE || wParam == VK_DOWN)) {
            ShowPopup();
            return 0;
        }
    }
    return CQXButton::WindowProc(message, wParam, lParam);
}

CQXColorPopup* CQXColorPicker::NewPopup() { return new CQXColorPopup(TRUE, 0); }

LRESULT CQXColorPicker::OnShowPopup(WPARAM, LPARAM)
{
    CRect rc;
    GetWindowRect(&rc);
    CQXColorPopup* pPopup = NewPopup();
    if (m_pExtraColors && m_nExtraColors > 0)
        pPopup->SetColors(m_pExtraColors, m_nExtraColors, m_nRecentLimit);
    if (!pPopup->Create(rc, this, m_dwPopupStyle, GetColor(), GetDefaultColor())) {
        // Nothing opened: the picker must open again on the next click.
        delete pPopup;
        m_bPopupOpen = FALSE;
        Invalidate(TRUE);
        return 0;
    }
    pPopup->SetFocus();
    return 0;
}

HWND CQXColorPicker::GetNotifyTarget() const
{
    CWnd* pOwner = GetOwner();
    return pOwner ? pOwner->GetSafeHwnd() : ::GetParent(m_hWnd);
}

BOOL CQXColorPicker::Notify(UINT nCode)
{
    HWND hWndTarget = GetNotifyTarget();
    if (!hWndTarget)
        return FALSE;
    ::SendMessageA(hWndTarget, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), nCode), (LPARAM)m_hWnd);
    return TRUE;
}

LRESULT CQXColorPicker::OnSelUnchanged(WPARAM, LPARAM)
{
    Notify(CPN_SELUNCHANGED);
    return 0;
}

LRESULT CQXColorPicker::OnDropDown(WPARAM, LPARAM)
{
    Notify(CPN_DROPDOWN);
    return 0;
}

LRESULT CQXColorPicker::OnCloseUp(WPARAM, LPARAM)
{
    m_bPopupOpen = FALSE;
    Notify(CPN_CLOSEUP);
    if (m_hWnd)
        Invalidate(TRUE);
    return 0;
}

LRESULT CQXColorPicker::OnSelChange(WPARAM wParam, LPARAM)
{
    if (!GetNotifyTarget())
        return 0;
    SetColor((COLORREF)wParam);
    Notify(CPN_CLOSEUP);
    Notify(CPN_SELCHANGE);
    return 0;
}

LRESULT CQXColorPicker::OnSelCancel(WPARAM, LPARAM)
{
    Notify(CPN_CLOSEUP);
    Notify(CPN_SELCANCEL);
    return 0;
}

LRESULT CQXColorPicker::OnSelNoFill(WPARAM wParam, LPARAM)
{
    if (!GetNotifyTarget())
        return 0;
    SetColor((COLORREF)wParam);
    Notify(CPN_SELNOFILL);
    return 0;
}

void AFXAPI DDX_QXColorPicker(CDataExchange* pDX, int nIDC, CQXColorPicker& picker, COLORREF& value)
{
    if (!picker.GetSafeHwnd()) {
        HWND hWnd = pDX->PrepareCtrl(nIDC);
        picker.SubclassWindow(hWnd);
    }
    if (pDX->m_bSaveAndValidate)
        value = picker.GetColor();
    else
        picker.SetColor(value);
}
