// The flat combo box, its three themes and its auto-completion.
#include <qx/flatcombo.h>

#include <qx/colors.h>
#include <qx/drawing.h>
#include <qx/fonts.h>

namespace {

COLORREF Color(int nIndex) { return ToolkitColorManager::Instance()->GetColor(nIndex); }

void Frame(CDC* pDC, const CRect& rc, int nTopLeft, int nBottomRight)
{
    pDC->Draw3dRect(rc, Color(nTopLeft), Color(nBottomRight));
}

} // namespace

// ===========================================================================
// Default theme

CQXFlatComboBoxTheme::CQXFlatComboBoxTheme()
    : m_nDropButtonWidth(15), m_cxHThumb(0), m_cyVThumb(0), m_cxBorder(1), m_cyBorder(1), m_cxEdge(2), m_cyEdge(2),
      m_cxVScroll(16)
{
}

int CQXFlatComboBoxTheme::CalcDropButtonWidth(int nAveCharWidth) const
{
    int nWidth = 2 * nAveCharWidth + 4;
    if (nWidth < 15)
        nWidth = 15;
    if (nWidth > m_cxVScroll + 1)
        nWidth = m_cxVScroll + 1;
    return nWidth;
}

void CQXFlatComboBoxTheme::RefreshMetrics()
{
    ThemeStyle::RefreshMetrics();
    m_cxHThumb = ::GetSystemMetrics(SM_CXHTHUMB);
    m_cyVThumb = ::GetSystemMetrics(SM_CYVTHUMB);
    m_cxBorder = ::GetSystemMetrics(SM_CXBORDER);
    m_cyBorder = ::GetSystemMetrics(SM_CYBORDER);
    m_cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    m_cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);

    int nAveCharWidth = 0;
    HDC hdc = ::CreateCompatibleDC(NULL);
    if (hdc) {
        HFONT hFont = GetGlobalUIFonts()->GetNormalFont();
        HGDIOBJ hOld = hFont ? ::SelectObject(hdc, hFont) : NULL;
        TEXTMETRICA tm;
        if (::GetTextMetricsA(hdc, &tm))
            nAveCharWidth = tm.tmAveCharWidth;
        if (hOld)
            ::SelectObject(hdc, hOld);
        ::DeleteDC(hdc);
    }
    m_nDropButtonWidth = CalcDropButtonWidth(nAveCharWidth);
}

CRect CQXFlatComboBoxTheme::TextArea(CRect rcInner, int nState) const
{
    CRect rc = rcInner;
    rc.DeflateRect(m_cxBorder, m_cyBorder);
    rc.right -= m_nDropButtonWidth + (nState >= qxFlatComboHighlighted ? 1 : 0);
    return rc;
}

void CQXFlatComboBoxTheme::FillDropDownListText(CDC* pDC, CQXFlatComboBox* pCombo, CRect rcText)
{
    if (pCombo->HasEdit())
        return;
    COLORREF clr = pCombo->GetBackColor();
    pDC->FillSolidRect(rcText, clr == (COLORREF)-1 ? Color(5) : clr);
}

void CQXFlatComboBoxTheme::DrawFlatComboBox(CDC* pDC, CQXFlatComboBox* pCombo, int nState)
{
    CRect rcClient;
    pCombo->GetClientRect(&rcClient);
    CRect rcInner = rcClient;
    rcInner.DeflateRect(m_cxEdge, m_cyEdge);
    if (pCombo->IsWindowEnabled()) {
        pDC->FillSolidRect(rcInner, Color(5));
        if (nState >= qxFlatComboHighlighted)
            Frame(pDC, rcClient, 16, 20);
        FillDropDownListText(pDC, pCombo, TextArea(rcInner, nState));
    } else {
        pDC->FillSolidRect(rcInner, Color(51));
        Frame(pDC, rcClient, 52, 52);
    }
    DrawArrow(pDC, rcInner, nState, pCombo);
}

void CQXFlatComboBoxTheme::DrawButton(CDC* pDC, CRect rc, int nState, CQXFlatComboBox* pCombo)
{
    (void)pCombo;
    CRect rcButton(rc.right - m_nDropButtonWidth + 4, rc.top, rc.right, rc.bottom);
    if (nState == qxFlatComboHighlighted || nState == qxFlatComboDropped) {
        if (nState == qxFlatComboHighlighted)
            Frame(pDC, rcButton, 20, 16);
        else
            Frame(pDC, rcButton, 16, 20);
        CRect rcOuter = rcButton;
        rcOuter.InflateRect(1, 1);
        Frame(pDC, rcOuter, 15, 15);
        CRect rcFace = rcButton;
        rcFace.DeflateRect(1, 1);
        pDC->FillSolidRect(rcFace, Color(15));
    } else {
        CRect rcFace = rcButton;
        rcFace.DeflateRect(1, 1);
        pDC->FillSolidRect(rcFace, Color(15));
    }
}

void CQXFlatComboBoxTheme::DrawGlyph(CDC* pDC, CRect rc, COLORREF clr, int nOffset)
{
    int x = (rc.left + rc.right - 4) / 2 + nOffset;
    int y = (rc.top + rc.bottom - 2) / 2 + nOffset;
    // Rows of 5, 3 and 1 pixels.
    pDC->FillSolidRect(x, y, 5, 1, clr);
    pDC->FillSolidRect(x + 1, y + 1, 3, 1, clr);
    pDC->FillSolidRect(x + 2, y + 2, 1, 1, clr);
}

void CQXFlatComboBoxTheme::DrawArrow(CDC* pDC, CRect rc, int nState, CQXFlatComboBox* pCombo)
{
    DrawButton(pDC, rc, nState, pCombo);
    CRect rcButton(rc.right - m_nDropButtonWidth + 4, rc.top, rc.right, rc.bottom);
    DrawGlyph(pDC, rcButton, Color(pCombo->IsWindowEnabled() ? 8 : 16), nState == qxFlatComboDropped ? 1 : 0);
}

// ===========================================================================
// Flat theme

void CQXFlatComboBoxThemeFlat::DrawFlatComboBox(CDC* pDC, CQXFlatComboBox* pCombo, int nState)
{
    CRect rcClient;
    pCombo->GetClientRect(&rcClient);
    CRect rcInner = rcClient;
    rcInner.DeflateRect(m_cxBorder, m_cyBorder);
    if (pCombo->IsWindowEnabled()) {
        pDC->FillSolidRect(rcInner, Color(5));
        int nFrame = nState >= qxFlatComboHighlighted ? 32 : 51;
        Frame(pDC, rcClient, nFrame, nFrame);
        FillDropDownListText(pDC, pCombo, TextArea(rcInner, nState));
    } else {
        CRect rcEdge = rcClient;
        rcEdge.DeflateRect(m_cxEdge, m_cyEdge);
        pDC->FillSolidRect(rcInner, Color(51));
        Frame(pDC, rcClient, 52, 52);
    }
    DrawArrow(pDC, rcInner, nState, pCombo);
}

void CQXFlatComboBoxThemeFlat::DrawButton(CDC* pDC, CRect rc, int nState, CQXFlatComboBox* pCombo)
{
    (void)pCombo;
    CRect rcButton(rc.right - m_nDropButtonWidth + 2, rc.top, rc.right, rc.bottom);
    if (nState == qxFlatComboHighlighted || nState == qxFlatComboDropped) {
        pDC->FillSolidRect(rcButton, Color(nState == qxFlatComboHighlighted ? 31 : 33));
        pDC->FillSolidRect(rcButton.left - 1, rcButton.top, 1, rcButton.Height(), Color(32));
    } else {
        CRect rcFace = rcButton;
        rcFace.DeflateRect(1, 1);
        pDC->FillSolidRect(rcFace, Color(15));
    }
}

void CQXFlatComboBoxThemeFlat::DrawArrow(CDC* pDC, CRect rc, int nState, CQXFlatComboBox* pCombo)
{
    DrawButton(pDC, rc, nState, pCombo);
    CRect rcButton(rc.right - m_nDropButtonWidth + 2, rc.top, rc.right, rc.bottom);
    DrawGlyph(pDC, rcButton, Color(pCombo->IsWindowEnabled() ? 8 : 16), 0);
}

// ===========================================================================
// Gradient theme

void CQXFlatComboBoxThemeGradient::DrawFlatComboBox(CDC* pDC, CQXFlatComboBox* pCombo, int nState)
{
    CRect rcClient;
    pCombo->GetClientRect(&rcClient);
    CRect rcInner = rcClient;
    rcInner.DeflateRect(m_cxBorder, m_cyBorder);
    if (pCombo->IsWindowEnabled()) {
        pDC->FillSolidRect(rcInner, Color(5));
        if (nState >= qxFlatComboHighlighted) {
            COLORREF clr = ToolkitColorManager::Instance()->GetColorEx(qxColorHotBorder);
            pDC->Draw3dRect(rcClient, clr, clr);
        }
        FillDropDownListText(pDC, pCombo, TextArea(rcInner, nState));
    } else {
        pDC->FillSolidRect(rcInner, Color(51));
        Frame(pDC, rcClient, 52, 52);
    }
    DrawArrow(pDC, rcInner, nState, pCombo);
}

void CQXFlatComboBoxThemeGradient::DrawButton(CDC* pDC, CRect rc, int nState, CQXFlatComboBox* pCombo)
{
    if (!pCombo->IsWindowEnabled())
        return;
    ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    CRect rcButton(rc.right - m_nDropButtonWidth + 2, rc.top, rc.right, rc.bottom);
    const GradientColorValue* pGradient = NULL;
    if (nState == qxFlatComboHighlighted || nState == qxFlatComboDropped) {
        pGradient = pColors->GetGradientColor(nState == qxFlatComboHighlighted ? 9 : 8); // hot, pressed
        if (pGradient)
            DrawHelpers::Instance()->FillGradientValue(pDC->GetSafeHdc(), rcButton, *pGradient, FALSE);
        pDC->FillSolidRect(rcButton.left - 1, rcButton.top, 1, rcButton.Height(), pColors->GetColorEx(qxColorHotBorder));
    } else {
        CRect rcFace = rcButton;
        rcFace.DeflateRect(1, 1);
        pGradient = pColors->GetGradientColor(1); // normal
        if (pGradient)
            DrawHelpers::Instance()->FillGradientValue(pDC->GetSafeHdc(), rcFace, *pGradient, FALSE);
    }
}

void CQXFlatComboBoxThemeGradient::DrawArrow(CDC* pDC, CRect rc, int nState, CQXFlatComboBox* pCombo)
{
    DrawButton(pDC, rc, nState, pCombo);
    CRect rcButton(rc.right - m_nDropButtonWidth + 2, rc.top, rc.right, rc.bottom);
    DrawGlyph(pDC, rcButton, Color(pCombo->IsWindowEnabled() ? 8 : 16), 0);
}

// ===========================================================================
// Factory

IMPLEMENT_DYNCREATE(CQXFlatComboBoxThemeFactory, CQXThemeManagerStyleFactory)

ThemeStyle* CQXFlatComboBoxThemeFactory::CreateTheme(int nTheme)
{
    switch (nTheme) {
    case 1:
        return new CQXFlatComboBoxThemeFlat;
    case 2:
        return new CQXFlatComboBoxThemeGradient;
    default:
        return new CQXFlatComboBoxTheme;
    }
}

// ===========================================================================
// CQXFlatComboBox

IMPLEMENT_DYNAMIC(CQXFlatComboBox, CComboBox)

BEGIN_MESSAGE_MAP(CQXFlatComboBox, CComboBox)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_SETCURSOR()
    ON_WM_TIMER()
    ON_CONTROL_REFLECT_EX(CBN_SETFOCUS, OnSetFocusReflect)
    ON_CONTROL_REFLECT_EX(CBN_KILLFOCUS, OnKillFocusReflect)
    ON_CONTROL_REFLECT_EX(CBN_CLOSEUP, OnCloseUpReflect)
    ON_CONTROL_REFLECT_EX(CBN_EDITUPDATE, OnEditUpdateReflect)
END_MESSAGE_MAP()

CQXFlatComboBox::CQXFlatComboBox()
    : m_themeHolder(RUNTIME_CLASS(CQXFlatComboBoxThemeFactory)), m_bAutoComplete(FALSE), m_bFlatLook(TRUE),
      m_bSuppressCompletion(FALSE), m_bHover(FALSE), m_bHasFocus(FALSE), m_clrBack((COLORREF)-1),
      m_clrText((COLORREF)-1), m_bCompleting(FALSE)
{
}

CQXFlatComboBox::~CQXFlatComboBox() {}

CQXFlatComboBoxTheme* CQXFlatComboBox::GetFlatTheme()
{
    return dynamic_cast<CQXFlatComboBoxTheme*>(m_themeHolder.GetTheme());
}

BOOL CQXFlatComboBox::IsCursorOver()
{
    if (!m_hWnd)
        return FALSE;
    POINT pt;
    RECT rc;
    if (!::GetCursorPos(&pt) || !::GetWindowRect(m_hWnd, &rc))
        return FALSE;
    return ::PtInRect(&rc, pt);
}

BOOL CQXFlatComboBox::HasEdit() const
{
    return m_hWnd && (int)::SendMessageA(m_hWnd, CB_GETEDITSEL, 0, 0) != CB_ERR;
}

int CQXFlatComboBox::AdjustComboRect(CRect& rc)
{
    CQXFlatComboBoxTheme* pTheme = GetFlatTheme();
    if (!pTheme)
        return 0;
    rc.DeflateRect(pTheme->m_cxBorder, pTheme->m_cyBorder);
    rc.DeflateRect(pTheme->m_cxEdge, pTheme->m_cyEdge);
    rc.right -= pTheme->m_nDropButtonWidth;
    return pTheme->m_nDropButtonWidth;
}

void CQXFlatComboBox::DrawCombo(CDC* pDC, int nState)
{
    CQXFlatComboBoxTheme* pTheme = GetFlatTheme();
    if (pTheme)
        pTheme->DrawFlatComboBox(pDC, this, nState);
}

int CQXFlatComboBox::GetDrawState()
{
    if (m_bHasFocus || IsCursorOver())
        return GetDroppedState() ? qxFlatComboDropped : qxFlatComboHighlighted;
    return qxFlatComboNormal;
}

void CQXFlatComboBox::RenderControl(CDC* pDC)
{
    if (!m_bFlatLook || !pDC)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rcText = rcClient;
    AdjustComboRect(rcText);
    int nSaved = pDC->SaveDC();
    // The text area belongs to the combo box's own painting.
    pDC->ExcludeClipRect(rcText);
    {
        BufferedDC buffer(pDC->GetSafeHdc(), rcClient);
        buffer.FillSolidRect(rcClient, Color(15));
        DrawCombo(&buffer, GetDrawState());
    }
    pDC->RestoreDC(nSaved);
}

void CQXFlatComboBox::OnPaint()
{
    Default();
    CClientDC dc(this);
    RenderControl(&dc);
}

LRESULT CQXFlatComboBox::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = Default();
    (void)lParam;
    RenderControl(CDC::FromHandle((HDC)wParam));
    return lResult;
}

void CQXFlatComboBox::RedrawFlat()
{
    ::RedrawWindow(m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CQXFlatComboBox::OnHoverCheck()
{
    if (IsCursorOver()) {
        if (!m_bHover) {
            m_bHover = TRUE;
            RedrawFlat();
        }
    } else {
        KillTimer(QX_TID_FLATCOMBO_HOVER);
        if (m_bHover) {
            m_bHover = FALSE;
            RedrawFlat();
        }
    }
}

BOOL CQXFlatComboBox::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bFlatLook && message == WM_MOUSEMOVE && IsCursorOver()) {
        SetTimer(QX_TID_FLATCOMBO_HOVER, 10, NULL);
        OnHoverCheck();
    }
    return CComboBox::OnSetCursor(pWnd, nHitTest, message);
}

void CQXFlatComboBox::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != QX_TID_FLATCOMBO_HOVER) {
        Default();
        return;
    }
    OnHoverCheck();
}

BOOL CQXFlatComboBox::OnSetFocusReflect()
{
    if (m_bFlatLook) {
        m_bHasFocus = TRUE;
        RedrawFlat();
    }
    return FALSE;
}

BOOL CQXFlatComboBox::OnKillFocusReflect()
{
    if (m_bFlatLook) {
        m_bHasFocus = FALSE;
        RedrawFlat();
    }
    return FALSE;
}

BOOL CQXFlatComboBox::OnCloseUpReflect()
{
    if (m_bFlatLook)
        ::InvalidateRect(m_hWnd, NULL, TRUE);
    return FALSE;
}

BOOL CQXFlatComboBox::OnEditUpdateReflect()
{
    if (!m_bAutoComplete || m_bSuppressCompletion || m_bCompleting)
        return FALSE;
    CString strText;
    GetWindowText(strText);
    if (strText.IsEmpty())
        return FALSE;
    // Edit positions count characters (UTF-16 units), not the bytes of the
    // UTF-8 text.
    int nLength = fx::ToWide(strText).GetLength();
    DWORD dwSel = GetEditSel();
    BOOL bSel = dwSel != (DWORD)CB_ERR;
    int nStart = (int)(short)LOWORD(dwSel);
    int nEnd = (int)(short)HIWORD(dwSel);
    // Selecting the item also writes it into the edit; that write is not
    // the user's typing.
    m_bCompleting = TRUE;
    if (SelectString(-1, strText) == CB_ERR) {
        CString strNow;
        GetWindowText(strNow);
        if (strNow != strText)
            SetWindowText(strText);
        // The caret (or selection) stays where the user left it.
        if (bSel)
            SetEditSel(nStart, nEnd);
    } else if (!bSel || nEnd >= nLength) {
        SetEditSel(nLength, -1);
    } else {
        SetEditSel(nStart, nEnd);
    }
    m_bCompleting = FALSE;
    return FALSE;
}

BOOL CQXFlatComboBox::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP) {
        UINT nKey = (UINT)pMsg->wParam;
        if (m_bAutoComplete && (nKey == VK_BACK || nKey == VK_DELETE))
            m_bSuppressCompletion = pMsg->message == WM_KEYDOWN;
        if (nKey == VK_TAB || nKey == VK_RETURN || nKey == VK_ESCAPE)
            return CComboBox::PreTranslateMessage(pMsg);
        // Keys typed into the box go to it before any accelerator.
        if (HasEdit()) {
            ::TranslateMessage(pMsg);
            ::DispatchMessageA(pMsg);
            return TRUE;
        }
    }
    return CComboBox::PreTranslateMessage(pMsg);
}
