// buttons.cpp - the themed push button and its themes.
#include <qx/buttons.h>

#include <qx/drawing.h>
#include <qx/images.h>

namespace {

inline int max(int a, int b) { return a > b ? a : b; }

COLORREF ManagerColor(int n) { return ToolkitColorManager::Instance()->GetColor(n); }

// A one-pixel frame in two colours.
void Frame(CDC* pDC, CRect rc, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    pDC->Draw3dRect(rc, clrTopLeft, clrBottomRight);
}

} // namespace

// ---------------------------------------------------------------------------
// CButtonTheme

CButtonTheme::CButtonTheme() : m_bShowImage(TRUE), m_bOffsetHiliteText(TRUE), m_pFont(NULL), m_bThemeOpened(FALSE)
{
    m_nTheme = 0;
}

CButtonTheme::~CButtonTheme() { m_themeButton.CloseThemeData(); }

void CButtonTheme::RefreshMetrics()
{
    m_crBack.SetStandard(ManagerColor(COLOR_BTNFACE));
    m_crText.SetStandard(ManagerColor(COLOR_BTNTEXT));
    m_crTextDisabled.SetStandard(ManagerColor(COLOR_GRAYTEXT));
    m_crBorderLight.SetStandard(ManagerColor(COLOR_BTNFACE));
    m_crBorderShadow.SetStandard(ManagerColor(COLOR_BTNSHADOW));
    m_crBorderHilite.SetStandard(ManagerColor(COLOR_BTNHIGHLIGHT));
    m_crBorder3DShadow.SetStandard(ManagerColor(COLOR_3DDKSHADOW));
    // The visual style is (re)opened on its next use.
    m_themeButton.CloseThemeData();
    m_bThemeOpened = FALSE;
}

BOOL CButtonTheme::IsFlatLook(CQXButton* pButton)
{
    return UseVisualStyle(pButton) || (pButton->GetExtendedStyle() & (BXS_FLAT | BXS_SEMIFLAT));
}

BOOL CButtonTheme::UseVisualStyle(CQXButton* pButton)
{
    if (!(pButton->GetExtendedStyle() & BXS_VISUALSTYLE))
        return FALSE;
    if (!m_bThemeOpened) {
        m_themeButton.OpenThemeData(pButton->GetSafeHwnd(), L"BUTTON");
        m_bThemeOpened = TRUE;
    }
    return m_themeButton.IsAppThemed();
}

CFont* CButtonTheme::GetFont(CQXButton* pButton)
{
    if (m_pFont && m_pFont->GetSafeHandle())
        return m_pFont;
    return CFont::FromHandle((HFONT)pButton->SendMessage(WM_GETFONT, 0, 0));
}

void CButtonTheme::SetFont(CFont* pFont)
{
    if (pFont && pFont->GetSafeHandle())
        m_pFont = pFont;
}

void CButtonTheme::SetColors(COLORREF clrFace, COLORREF clrLight, COLORREF clrShadow, COLORREF clrText)
{
    m_crBack.Set(clrFace);
    m_crBorderLight.Set(clrLight);
    m_crBorderShadow.Set(clrShadow);
    m_crText.Set(clrText);
}

CSize CButtonTheme::GetCaptionSize(CDC* pDC, CQXButton* pButton)
{
    CString str;
    pButton->GetButtonText(str, TRUE);
    if (str.IsEmpty())
        return CSize(0, 0);
    CFont* pFont = GetFont(pButton);
    HGDIOBJ hOld = pFont && pFont->GetSafeHandle() ? ::SelectObject(pDC->GetSafeHdc(), pFont->GetSafeHandle()) : NULL;
    SIZE sz = {0, 0};
    ::GetTextExtentPoint32A(pDC->GetSafeHdc(), str.GetString(), str.GetLength(), &sz);
    if (hOld)
        ::SelectObject(pDC->GetSafeHdc(), hOld);
    return CSize(sz.cx, sz.cy);
}

CPoint CButtonTheme::GetImageBase(CSize szImage, CQXButton* pButton)
{
    CRect rc;
    pButton->GetClientRect(&rc);
    int x = pButton->m_nBorderGap;
    if (pButton->GetExtendedStyle() & BXS_STACKED)
        x = max(0, (rc.Width() - (int)szImage.cx) / 2);
    int y = max(0, (rc.Height() - (int)szImage.cy) / 2);
    return CPoint(x, y);
}

CPoint CButtonTheme::GetCaptionOrigin(CRect rc, CSize szCaption, CQXButton* pButton)
{
    if (pButton->IsExplicitPositions())
        return pButton->GetCaptionOrigin();
    CSize szImage = pButton->GetImageSize();
    BOOL bStacked = (pButton->GetExtendedStyle() & BXS_STACKED) != 0;
    int w = rc.Width(), h = rc.Height();
    int nBorder = pButton->m_nBorderGap, nGap = pButton->m_nImageGap;
    int y = (h - szCaption.cy) / 2;
    if (bStacked && szCaption.cx > 0)
        y += nGap / 2 + szImage.cy / 2;
    int x;
    DWORD dwAlign = pButton->GetStyle() & BS_CENTER;
    if (dwAlign == BS_LEFT)
        x = bStacked || szImage.cx == 0 ? nBorder : nBorder + szImage.cx + nGap;
    else if (dwAlign == BS_RIGHT)
        x = w - szCaption.cx - nBorder;
    else {
        int nStart = nBorder + (bStacked || szImage.cx == 0 ? 0 : szImage.cx + nGap);
        x = nStart + (w - nBorder - nStart - szCaption.cx) / 2;
    }
    return CPoint(rc.left + x, rc.top + y);
}

CPoint CButtonTheme::GetImageOrigin(CRect rc, CSize szCaption, CQXButton* pButton)
{
    if (pButton->IsExplicitPositions())
        return pButton->GetImageOrigin();
    CSize szImage = pButton->GetImageSize();
    CPoint pt = GetImageBase(szImage, pButton);
    DWORD dwStyle = pButton->GetStyle();
    if (szCaption.cx == 0) {
        if ((dwStyle & BS_CENTER) == BS_CENTER && szImage.cx <= rc.Width())
            pt.x = (rc.Width() - szImage.cx) / 2;
        if ((dwStyle & BS_VCENTER) == BS_VCENTER && szImage.cy <= rc.Height())
            pt.y = (rc.Height() - szImage.cy) / 2;
    } else if (pButton->GetExtendedStyle() & BXS_STACKED) {
        pt.y -= szCaption.cy / 2 + pButton->m_nImageGap / 2;
    }
    return CPoint(rc.left + pt.x, rc.top + pt.y);
}

int CButtonTheme::GetPushButtonState(UINT nItemState, CQXButton* pButton)
{
    int nState = pButton->IsHot() ? 2 : ((pButton->GetStyle() & 0xF) == BS_DEFPUSHBUTTON ? 5 : 1);
    if ((nItemState & ODS_SELECTED) || pButton->GetChecked())
        nState = 3;
    if (nItemState & ODS_DISABLED)
        nState = 4;
    return nState;
}

COLORREF CButtonTheme::GetTextColor(UINT nItemState, CQXButton* pButton)
{
    if (UseVisualStyle(pButton)) {
        COLORREF clr;
        if (SUCCEEDED(m_themeButton.GetThemeColor(1, GetPushButtonState(nItemState, pButton), 3803, &clr)))
            return clr;
        return m_crText;
    }
    return (nItemState & ODS_DISABLED) ? m_crTextDisabled : m_crText;
}

void CButtonTheme::DrawCaption(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton)
{
    CString strText;
    pButton->GetButtonText(strText, FALSE);
    if (strText.IsEmpty())
        return;
    CString strStripped = strText;
    StripAccelerator(strStripped);
    CFont* pFont = GetFont(pButton);
    HGDIOBJ hOld = pFont && pFont->GetSafeHandle() ? ::SelectObject(pDC->GetSafeHdc(), pFont->GetSafeHandle()) : NULL;
    SIZE sz = {0, 0};
    ::GetTextExtentPoint32A(pDC->GetSafeHdc(), strStripped.GetString(), strStripped.GetLength(), &sz);
    CPoint pt = GetCaptionOrigin(rc, CSize(sz.cx, sz.cy), pButton);
    if ((pButton->GetChecked() || (nItemState & ODS_SELECTED)) && m_bOffsetHiliteText)
        pt.Offset(1, 1);
    COLORREF clrOld = pDC->SetTextColor(GetTextColor(nItemState, pButton));
    UINT nOldAlign = ::SetTextAlign(pDC->GetSafeHdc(), 0);
    LPCSTR lpsz = (nItemState & ODS_NOACCEL) ? strStripped.GetString() : strText.GetString();
    pDC->DrawState(pt, CSize(sz.cx, sz.cy), lpsz, DSS_NORMAL, TRUE, 0, (HBRUSH)NULL);
    ::SetTextAlign(pDC->GetSafeHdc(), nOldAlign);
    pDC->SetTextColor(clrOld);
    if (hOld)
        ::SelectObject(pDC->GetSafeHdc(), hOld);
}

void CButtonTheme::DrawImage(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton)
{
    CQXPIconImage* pImage = pButton->GetImage();
    if (!pImage || !GetShowImage())
        return;
    CPoint pt = GetImageOrigin(rc, GetCaptionSize(pDC, pButton), pButton);
    BOOL bPushed = (nItemState & ODS_SELECTED) != 0;
    BOOL bChecked = pButton->GetChecked();
    if ((bPushed || bChecked) && m_bOffsetHiliteText)
        pt.Offset(1, 1);
    int nState = qxImageNormal;
    if (nItemState & ODS_DISABLED)
        nState = qxImageDisabled;
    else if (pButton->IsHot() || bPushed || bChecked)
        nState = bChecked ? qxImageChecked : (bPushed ? qxImagePressed : qxImageHot);
    pImage->DrawImage(pDC->GetSafeHdc(), pt, pImage->GetIcon(nState), pButton->GetImageSize());
}

BOOL CButtonTheme::DrawBackgroundThemed(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton)
{
    if (!UseVisualStyle(pButton))
        return FALSE;
    CRect rc(lpDIS->rcItem);
    HBRUSH hBrush = NULL;
    HWND hParent = ::GetParent(pButton->GetSafeHwnd());
    if (hParent)
        hBrush = (HBRUSH)::SendMessageA(hParent, WM_CTLCOLORBTN, (WPARAM)lpDIS->hDC, (LPARAM)pButton->GetSafeHwnd());
    if (hBrush)
        ::FillRect(lpDIS->hDC, &rc, hBrush);
    else
        CDC::FromHandle(lpDIS->hDC)->FillSolidRect(rc, ManagerColor(COLOR_BTNFACE));
    return SUCCEEDED(
        m_themeButton.DrawThemeBackground(lpDIS->hDC, 1, GetPushButtonState(lpDIS->itemState, pButton), rc));
}

void CButtonTheme::DrawBackgroundClassic(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rc(lpDIS->rcItem);
    BOOL bChecked = pButton->GetChecked();
    BOOL bPressed = bChecked || (lpDIS->itemState & ODS_SELECTED);
    BOOL bHot = pButton->IsHot();
    DWORD dwx = pButton->GetExtendedStyle();
    pDC->FillSolidRect(rc, m_crBack);
    if ((dwx & BXS_CHECKPATTERN) && ((lpDIS->itemState & ODS_SELECTED) || (bChecked && !bHot)))
        DrawPatternRect(pDC, rc);
    COLORREF hl = m_crBorderHilite, sh = m_crBorderShadow, dk = m_crBorder3DShadow, lt = m_crBorderLight;
    if (dwx & BXS_FLAT) {
        if (bHot)
            Frame(pDC, rc, bPressed ? sh : hl, bPressed ? hl : sh);
        else if (bPressed)
            Frame(pDC, rc, sh, hl);
        return;
    }
    if (dwx & BXS_SEMIFLAT) {
        Frame(pDC, rc, bPressed ? sh : hl, bPressed ? hl : sh);
        return;
    }
    if ((pButton->GetStyle() & 0xF) == BS_DEFPUSHBUTTON) {
        Frame(pDC, rc, dk, dk);
        rc.DeflateRect(1, 1);
    }
    Frame(pDC, rc, bPressed ? dk : hl, bPressed ? hl : dk);
    rc.DeflateRect(1, 1);
    Frame(pDC, rc, bPressed ? sh : lt, bPressed ? lt : sh);
}

void CButtonTheme::DrawFocus(CDC* pDC, UINT, CRect rc, CQXButton* pButton)
{
    COLORREF clrOld = pDC->SetTextColor(m_crText);
    int n = (pButton->GetExtendedStyle() & (BXS_FLAT | BXS_SEMIFLAT)) ? 2 : 4;
    rc.DeflateRect(n, n);
    pDC->DrawFocusRect(rc);
    pDC->SetTextColor(clrOld);
}

void CButtonTheme::DrawButton(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton)
{
    if (!lpDIS)
        return;
    if (!DrawBackgroundThemed(lpDIS, pButton))
        DrawBackgroundClassic(lpDIS, pButton);
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    int nMode = pDC->SetBkMode(TRANSPARENT);
    CRect rc(lpDIS->rcItem);
    DrawCaption(pDC, lpDIS->itemState, rc, pButton);
    DrawImage(pDC, lpDIS->itemState, rc, pButton);
    if ((pButton->GetExtendedStyle() & BXS_FOCUSRECT) && (lpDIS->itemState & ODS_FOCUS) &&
        !(lpDIS->itemState & ODS_NOFOCUSRECT))
        DrawFocus(pDC, lpDIS->itemState, rc, pButton);
    pDC->SetBkMode(nMode);
}

// ---------------------------------------------------------------------------
// CButtonThemeFlat

CButtonThemeFlat::CButtonThemeFlat(BOOL bToolbarLook) : m_bToolbarLook(bToolbarLook), m_bFadedImages(TRUE), m_bShadowEffect(TRUE)
{
    m_nTheme = 1;
    m_bOffsetHiliteText = FALSE;
}

void CButtonThemeFlat::RefreshMetrics()
{
    CButtonTheme::RefreshMetrics();
    m_crBack.SetStandard(ManagerColor(m_bToolbarLook ? qxColorBarFace : COLOR_BTNFACE));
    m_crPushedFace.SetStandard(ManagerColor(qxColorPressedFace));
    m_crHotFace.SetStandard(ManagerColor(qxColorHotFace));
    m_crBorderShadow.SetStandard(ManagerColor(COLOR_BTNSHADOW));
    m_crBorderLight.SetStandard(ManagerColor(qxColorHotBorder));
    m_crText.SetStandard(ManagerColor(qxColorBarText));
    m_crHotText.SetStandard(ManagerColor(qxColorHotText));
    m_crPushedText.SetStandard(ManagerColor(qxColorPressedText));
    m_crCheckedFace.SetStandard(ManagerColor(qxColorCheckedFace));
}

void CButtonThemeFlat::SetToolbarLook(BOOL bToolbarLook)
{
    m_bToolbarLook = bToolbarLook;
    RefreshMetrics();
}

COLORREF CButtonThemeFlat::GetTextColor(UINT nItemState, CQXButton* pButton)
{
    if (nItemState & ODS_DISABLED)
        return ManagerColor(COLOR_GRAYTEXT);
    if (nItemState & ODS_SELECTED)
        return m_crPushedText;
    if (pButton->IsHot())
        return m_crHotText;
    return m_crText;
}

void CButtonThemeFlat::DrawImage(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton)
{
    CQXPIconImage* pImage = pButton->GetImage();
    if (!pImage || !GetShowImage())
        return;
    CPoint pt = GetImageOrigin(rc, GetCaptionSize(pDC, pButton), pButton);
    HDC hdc = pDC->GetSafeHdc();
    CSize sz = pButton->GetImageSize();
    if (nItemState & ODS_DISABLED)
        pImage->DrawImage(hdc, pt, pImage->GetDisabledIcon(TRUE), sz);
    else if (nItemState & ODS_SELECTED)
        pImage->DrawImage(hdc, pt, pImage->GetPressedIcon(), sz);
    else if (pButton->IsHot()) {
        if (m_bShadowEffect) {
            pImage->DrawImage(hdc, CPoint(pt.x + 1, pt.y + 1), pImage->GetShadowIcon(), sz);
            pImage->DrawImage(hdc, CPoint(pt.x - 1, pt.y - 1), pImage->GetHotIcon(), sz);
        } else {
            pImage->DrawImage(hdc, pt, pImage->GetHotIcon(), sz);
        }
    } else if (m_bFadedImages)
        pImage->DrawImage(hdc, pt, pImage->GetFadedIcon(), sz);
    else
        pImage->DrawImage(hdc, pt, pImage->GetNormalIcon(), sz);
}

void CButtonThemeFlat::DrawBackgroundClassic(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rc(lpDIS->rcItem);
    BOOL bChecked = pButton->GetChecked();
    BOOL bHot = pButton->IsHot();
    COLORREF clrFill;
    BOOL bNormal = FALSE;
    if (lpDIS->itemState & ODS_SELECTED)
        clrFill = m_crPushedFace;
    else if (bHot)
        clrFill = bChecked ? m_crPushedFace : m_crHotFace;
    else if (bChecked)
        clrFill = m_crCheckedFace;
    else {
        clrFill = m_crBack;
        bNormal = TRUE;
    }
    pDC->FillSolidRect(rc, clrFill);
    if (bNormal) {
        if (m_bToolbarLook)
            Frame(pDC, rc, m_crBorderShadow, m_crBorderShadow);
    } else {
        Frame(pDC, rc, m_crBorderLight, m_crBorderLight);
    }
    if (m_bToolbarLook && (pButton->GetStyle() & 0xF) == BS_DEFPUSHBUTTON) {
        COLORREF clr = ManagerColor(COLOR_HIGHLIGHT);
        Frame(pDC, rc, clr, clr);
        CRect rcInner(rc);
        rcInner.DeflateRect(1, 1);
        Frame(pDC, rcInner, clr, clr);
    }
}

// ---------------------------------------------------------------------------
// CButtonThemeGradient

CButtonThemeGradient::CButtonThemeGradient(BOOL bToolbarLook) : CButtonThemeFlat(bToolbarLook)
{
    m_nTheme = 2;
    m_bOffsetHiliteText = FALSE;
    m_bFadedImages = FALSE;
    m_bShadowEffect = FALSE;
}

void CButtonThemeGradient::RefreshMetrics()
{
    CButtonThemeFlat::RefreshMetrics();
    m_crBack.SetStandard(ManagerColor(COLOR_BTNFACE));
    int nTheme = ToolkitColorManager::Instance()->GetCurrentTheme();
    if (nTheme != qxColorThemeClassic) {
        m_crHotFace.SetStandard(RGB(255, 238, 194));
        m_crPushedFace.SetStandard(RGB(254, 128, 62));
        m_crCheckedFace.SetStandard(RGB(255, 192, 111));
        m_crText.SetStandard(RGB(0, 0, 0));
    }
    m_crHotText.SetStandard(RGB(0, 0, 0));
    m_crPushedText.SetStandard(RGB(0, 0, 0));
    if (nTheme == qxColorThemeOlive) {
        m_crBack.SetStandard(RGB(197, 212, 159));
        m_crBorderShadow.SetStandard(RGB(164, 185, 127));
        m_crBorderLight.SetStandard(RGB(63, 93, 56));
    } else if (nTheme == qxColorThemeSilver) {
        m_crBack.SetStandard(RGB(192, 192, 211));
        m_crBorderShadow.SetStandard(RGB(165, 172, 178));
        m_crBorderLight.SetStandard(RGB(75, 75, 11));
    } else if (nTheme == qxColorThemeBlue || nTheme == qxColorThemeRoyale || nTheme == qxColorThemeAero) {
        m_crBack.SetStandard(RGB(169, 199, 240));
        m_crBorderShadow.SetStandard(RGB(127, 157, 185));
        m_crBorderLight.SetStandard(RGB(0, 0, 128));
    }
    if (!m_bToolbarLook)
        m_crBack.SetStandard(ManagerColor(COLOR_BTNFACE));
}

void CButtonThemeGradient::DrawImage(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton)
{
    CQXPIconImage* pImage = pButton->GetImage();
    if (!pImage || !GetShowImage())
        return;
    CPoint pt = GetImageOrigin(rc, GetCaptionSize(pDC, pButton), pButton);
    CSize sz = pButton->GetImageSize();
    if (nItemState & ODS_DISABLED)
        pImage->DrawImage(pDC->GetSafeHdc(), pt, pImage->GetDisabledIcon(TRUE), sz);
    else if (nItemState & ODS_SELECTED)
        pImage->DrawImage(pDC->GetSafeHdc(), pt, pImage->GetPressedIcon(), sz);
    else
        pImage->DrawImage(pDC->GetSafeHdc(), pt, pImage->GetNormalIcon(), sz);
}

void CButtonThemeGradient::DrawBackgroundClassic(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rc(lpDIS->rcItem);
    BOOL bChecked = pButton->GetChecked();
    BOOL bHot = pButton->IsHot();
    ToolkitColorManager* pManager = ToolkitColorManager::Instance();
    const GradientColorValue* pGrad = NULL;
    if (lpDIS->itemState & ODS_SELECTED)
        pGrad = pManager->GetGradientColor(8); // pressed
    else if (bHot)
        pGrad = pManager->GetGradientColor(9); // hot
    else if (bChecked)
        pGrad = pManager->GetGradientColor(7); // checked
    if (!pGrad) {
        pDC->FillSolidRect(rc, m_crBack);
        if (m_bToolbarLook)
            Frame(pDC, rc, m_crBorderShadow, m_crBorderShadow);
        return;
    }
    DrawHelpers::Instance()->FillGradientValue(pDC->GetSafeHdc(), rc, *pGrad, FALSE);
    Frame(pDC, rc, m_crBorderLight, m_crBorderLight);
}

// ---------------------------------------------------------------------------
// Toolbar look and state images.

BOOL CButtonThemeToolbar::UseVisualStyle(CQXButton* pButton)
{
    if (!(pButton->GetExtendedStyle() & BXS_VISUALSTYLE))
        return FALSE;
    if (!m_bThemeOpened) {
        m_themeButton.OpenThemeData(pButton->GetSafeHwnd(), L"TOOLBAR");
        m_bThemeOpened = TRUE;
    }
    return m_themeButton.IsAppThemed();
}

BOOL CButtonThemeToolbar::DrawBackgroundThemed(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton)
{
    if (!UseVisualStyle(pButton))
        return FALSE;
    UINT nState = lpDIS->itemState & ~ODS_FOCUS;
    int nPart = 1;
    int nVs = (nState & ODS_DISABLED)   ? 4
              : (nState & ODS_SELECTED) ? 3
              : pButton->GetChecked()   ? (pButton->IsHot() ? 6 : 5)
              : pButton->IsHot()        ? 2
                                        : 1;
    CRect rc(lpDIS->rcItem);
    CDC::FromHandle(lpDIS->hDC)->FillSolidRect(rc, ManagerColor(COLOR_BTNFACE));
    return SUCCEEDED(m_themeButton.DrawThemeBackground(lpDIS->hDC, nPart, nVs, rc));
}

static void DrawStateImage(CDC* pDC, UINT nItemState, CPoint pt, CQXButton* pButton)
{
    CQXPIconImage* pImage = pButton->GetImage();
    CSize sz = pButton->GetImageSize();
    if (nItemState & ODS_DISABLED) {
        HICON hIcon = pImage->GetNormalIcon().GetIcon();
        if (hIcon)
            pDC->DrawState(pt, sz, hIcon, DSS_DISABLED, (HBRUSH)NULL);
        else
            pImage->DrawImage(pDC->GetSafeHdc(), pt, pImage->GetDisabledIcon(TRUE), sz);
        return;
    }
    const CQXPIconHandle* pHandle = &pImage->GetNormalIcon();
    if (pButton->IsHot() || (nItemState & ODS_SELECTED) || pButton->GetChecked())
        pHandle = (nItemState & ODS_SELECTED) ? &pImage->GetPressedIcon() : &pImage->GetHotIcon();
    if (pHandle->GetIcon())
        pDC->DrawState(pt, sz, pHandle->GetIcon(), DSS_NORMAL, (HBRUSH)NULL);
    else
        pImage->DrawImage(pDC->GetSafeHdc(), pt, *pHandle, sz);
}

void CButtonThemeToolbar::DrawImage(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton)
{
    if (!pButton->GetImage() || !GetShowImage())
        return;
    DrawStateImage(pDC, nItemState, GetImageOrigin(rc, GetCaptionSize(pDC, pButton), pButton), pButton);
}

void CButtonThemeStateImage::DrawImage(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton)
{
    if (!pButton->GetImage() || !GetShowImage())
        return;
    DrawStateImage(pDC, nItemState, GetImageOrigin(rc, GetCaptionSize(pDC, pButton), pButton), pButton);
}

// ---------------------------------------------------------------------------
// The factory.

IMPLEMENT_DYNCREATE(CQXButtonThemeFactory, CQXThemeManagerStyleFactory)

ThemeStyle* CQXButtonThemeFactory::CreateTheme(int nTheme)
{
    CButtonTheme* p;
    if (nTheme == 1)
        p = new CButtonThemeFlat(FALSE);
    else if (nTheme == 2)
        p = new CButtonThemeGradient(FALSE);
    else
        p = new CButtonTheme;
    p->m_nTheme = nTheme;
    return p;
}

// ---------------------------------------------------------------------------
// CQXButton

IMPLEMENT_DYNAMIC(CQXButton, CButton)

BEGIN_MESSAGE_MAP(CQXButton, CButton)
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_PAINT()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_MOUSELEAVE()
    ON_MESSAGE(BM_SETSTYLE, OnDefaultAndRedraw)
    ON_MESSAGE(BM_SETCHECK, OnDefaultAndRedraw)
    ON_MESSAGE(WM_CAPTURECHANGED, OnDefaultAndRedraw)
    ON_WM_ENABLE()
    ON_MESSAGE(WM_UPDATEUISTATE, OnDefWindowAndRedraw)
    ON_MESSAGE(BM_SETSTATE, OnSetState)
    ON_MESSAGE(WM_SETTEXT, OnDefWindowAndRedraw)
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CQXButton::CQXButton(CRuntimeClass* pFactoryClass)
    : m_nBorderGap(4), m_nImageGap(8),
      m_themeHolder(pFactoryClass ? pFactoryClass : RUNTIME_CLASS(CQXButtonThemeFactory)), m_bInitOnSubclass(TRUE),
      m_bExplicitPositions(FALSE), m_bChecked(FALSE), m_dwxStyle(BXS_FLAT | BXS_FOCUSRECT), m_szImage(0, 0),
      m_ptImageOrigin(0, 0), m_ptCaptionOrigin(0, 0), m_pImage(NULL), m_bHot(FALSE), m_bPushed(FALSE),
      m_bOwnerDrawStyle(FALSE)
{
}

CQXButton::~CQXButton()
{
    if (m_pImage) {
        ReleaseImage();
        m_pImage->InternalRelease();
        m_pImage = NULL;
    }
}

CButtonTheme* CQXButton::GetButtonTheme() { return dynamic_cast<CButtonTheme*>(m_themeHolder.GetTheme()); }

void CQXButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (CButtonTheme* pTheme = GetButtonTheme())
        pTheme->DrawButton(lpDrawItemStruct, this);
}

void CQXButton::DrawButton(CDC* pDC)
{
    DRAWITEMSTRUCT dis;
    ZeroMemory(&dis, sizeof(dis));
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = (UINT)GetDlgCtrlID();
    dis.itemAction = ODA_DRAWENTIRE;
    if (::GetFocus() == m_hWnd)
        dis.itemState |= ODS_FOCUS;
    if (m_bPushed)
        dis.itemState |= ODS_SELECTED;
    LRESULT ui = SendMessage(WM_QUERYUISTATE, 0, 0);
    if (ui & UISF_HIDEACCEL)
        dis.itemState |= ODS_NOACCEL;
    if (ui & UISF_HIDEFOCUS)
        dis.itemState |= ODS_NOFOCUSRECT;
    if (!IsWindowEnabled())
        dis.itemState |= ODS_DISABLED;
    dis.hwndItem = m_hWnd;
    dis.hDC = pDC->GetSafeHdc();
    GetClientRect(&dis.rcItem);
    DrawItem(&dis);
}

BOOL CQXButton::SetImage(CSize size, const CQXPIconHandle& normal, const CQXPIconHandle* pHot, BOOL bRedraw)
{
    if (normal.IsEmpty())
        return FALSE;
    if (size.cx == 0 && size.cy == 0) {
        SIZE s = normal.GetExtent();
        size = CSize(s.cx, s.cy);
    }
    CQXPIconImage* pImage = new CQXPIconImage(0, size.cx, size.cy);
    pImage->SetNormalIcon(normal);
    if (pHot && !pHot->IsEmpty())
        pImage->SetHotIcon(*pHot);
    if (m_pImage) {
        ReleaseImage();
        m_pImage->InternalRelease();
    }
    m_pImage = pImage;
    m_szImage = size;
    if (m_hWnd && bRedraw)
        Invalidate(TRUE);
    return TRUE;
}

BOOL CQXButton::SetImage(CSize size, HICON hNormal, HICON hHot, BOOL bRedraw)
{
    CQXPIconHandle normal(hNormal);
    CQXPIconHandle hot(hHot);
    return SetImage(size, normal, hHot ? &hot : NULL, bRedraw);
}

BOOL CQXButton::SetImageFromIcons(CSize size, HICON hNormal, HICON hHot, BOOL bRedraw)
{
    return SetImage(size, hNormal, hHot, bRedraw);
}

BOOL CQXButton::SetImageFromResource(CSize size, UINT nNormalID, UINT nHotID, BOOL bRedraw)
{
    CQXPIconHandle normal, hot;
    if (!normal.LoadFromResource(nNormalID, size.cx, size.cy))
        return FALSE;
    if (nHotID && !hot.LoadFromResource(nHotID, size.cx, size.cy))
        return FALSE;
    return SetImage(size, normal, nHotID ? &hot : NULL, bRedraw);
}

BOOL CQXButton::SetImageFromResource(CSize size, WORD wNormalID, WORD wHotID, BOOL bRedraw)
{
    return SetImageFromResource(size, (UINT)wNormalID, (UINT)wHotID, bRedraw);
}

BOOL CQXButton::SetBitmapImage(CSize size, UINT nBitmapID, BOOL bRedraw)
{
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = LoadBitmapFromResource(MAKEINTRESOURCEA(nBitmapID), &bAlpha);
    if (!hBitmap)
        return FALSE;
    CQXPIconHandle handle;
    if (bAlpha) {
        handle.SetBitmap(hBitmap);
    } else {
        BITMAP bm;
        ::GetObjectA(hBitmap, sizeof(bm), &bm);
        COLORREF clrMask = GetGlobalImageManager()->m_clrMask;
        if (clrMask == (COLORREF)-1) {
            HDC hdc = ::CreateCompatibleDC(NULL);
            HGDIOBJ hOld = ::SelectObject(hdc, hBitmap);
            clrMask = ::GetPixel(hdc, 0, 0);
            ::SelectObject(hdc, hOld);
            ::DeleteDC(hdc);
        }
        HIMAGELIST hList = ImageList_Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0);
        if (hList) {
            ImageList_AddMasked(hList, hBitmap, clrMask);
            HICON hIcon = ImageList_GetIcon(hList, 0, ILD_NORMAL);
            ImageList_Destroy(hList);
            if (hIcon)
                handle.SetIcon(hIcon);
        }
        ::DeleteObject(hBitmap);
    }
    if (handle.IsEmpty())
        return FALSE;
    return SetImage(size, handle, NULL, bRedraw);
}

BOOL CQXButton::SetImagePositions(CPoint ptImage, CPoint ptCaption, BOOL bRedraw)
{
    m_ptImageOrigin = ptImage;
    m_ptCaptionOrigin = ptCaption;
    m_bExplicitPositions = TRUE;
    if (m_hWnd && bRedraw)
        Invalidate(TRUE);
    return TRUE;
}

DWORD CQXButton::SetExtendedStyle(DWORD dwStyle, BOOL bRedraw)
{
    DWORD dwOld = m_dwxStyle;
    m_dwxStyle = dwStyle;
    if (dwStyle & BXS_FLATTHEME)
        m_themeHolder.SetTheme(new CButtonThemeFlat(FALSE));
    else if (dwStyle & BXS_FLAT)
        m_themeHolder.SetTheme(new CButtonTheme);
    if (m_hWnd && bRedraw)
        Invalidate(TRUE);
    return dwOld;
}

void CQXButton::SetColors(COLORREF clrFace, COLORREF clrLight, COLORREF clrShadow, COLORREF clrText)
{
    if (CButtonTheme* p = GetButtonTheme())
        p->SetColors(clrFace, clrLight, clrShadow, clrText);
}

void CQXButton::SetFaceColor(COLORREF clr)
{
    if (CButtonTheme* p = GetButtonTheme())
        p->SetFaceColor(clr);
}

COLORREF CQXButton::GetFaceColor()
{
    CButtonTheme* p = GetButtonTheme();
    return p ? p->GetFaceColor() : ManagerColor(COLOR_BTNFACE);
}

void CQXButton::SetLightColor(COLORREF clr)
{
    if (CButtonTheme* p = GetButtonTheme())
        p->SetLightColor(clr);
}

void CQXButton::SetShadowColor(COLORREF clr)
{
    if (CButtonTheme* p = GetButtonTheme())
        p->SetShadowColor(clr);
}

void CQXButton::SetTextColor(COLORREF clr)
{
    if (CButtonTheme* p = GetButtonTheme())
        p->SetTextColor(clr);
}

void CQXButton::SetFlatColors(COLORREF clrBorder, COLORREF clrHotFace, COLORREF clrPushedFace)
{
    CButtonTheme* p = GetButtonTheme();
    CButtonThemeFlat* pFlat = dynamic_cast<CButtonThemeFlat*>(p);
    if (!pFlat || p->m_nTheme != 1)
        return;
    pFlat->SetLightColor(clrBorder);
    pFlat->SetShadowColor(clrBorder);
    pFlat->SetHotFaceColor(clrHotFace);
    pFlat->SetPushedFaceColor(clrPushedFace);
}

void CQXButton::ToggleImage()
{
    if (CButtonTheme* p = GetButtonTheme())
        p->SetShowImage(!p->GetShowImage());
    if (m_hWnd)
        Invalidate(TRUE);
}

CFont* CQXButton::SetButtonFont(CFont* pFont)
{
    CFont* pOld = CFont::FromHandle((HFONT)SendMessage(WM_GETFONT, 0, 0));
    SendMessage(WM_SETFONT, (WPARAM)(pFont ? pFont->GetSafeHandle() : NULL), TRUE);
    return pOld;
}

BOOL CQXButton::Init()
{
    m_bOwnerDrawStyle = m_hWnd && (GetStyle() & 0xF) == BS_OWNERDRAW;
    if (m_hWnd)
        Invalidate(FALSE);
    return TRUE;
}

void CQXButton::ReleaseImage()
{
    if (!m_pImage)
        return;
    m_pImage->m_hNormal.Clear();
    m_pImage->m_hHot.Clear();
    m_pImage->m_hChecked.Clear();
    m_pImage->m_hPressed.Clear();
    m_pImage->m_hDisabled.Clear();
    m_pImage->RefreshGenerated();
}

void CQXButton::GetButtonText(CString& str, BOOL bStrip) const
{
    GetWindowText(str);
    if (bStrip)
        StripAccelerator(str);
}

CSize CQXButton::GetImageSize()
{
    CButtonTheme* p = GetButtonTheme();
    if ((p && !p->GetShowImage()) || !m_pImage)
        return CSize(0, 0);
    return m_szImage;
}

CPoint CQXButton::GetImageOrigin()
{
    CButtonTheme* p = GetButtonTheme();
    return p && !p->GetShowImage() ? CPoint(0, 0) : m_ptImageOrigin;
}

CPoint CQXButton::GetCaptionOrigin()
{
    CButtonTheme* p = GetButtonTheme();
    return p && !p->GetShowImage() ? CPoint(0, 0) : m_ptCaptionOrigin;
}

HICON CQXButton::GetNormalIcon() const { return m_pImage ? m_pImage->GetNormalIcon().GetIcon() : NULL; }

BOOL CQXButton::IsHot() const { return m_bHot || (m_hWnd && ::GetCapture() == m_hWnd); }

void CQXButton::SetChecked(BOOL bChecked)
{
    m_bChecked = bChecked;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CQXButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    if (m_bInitOnSubclass)
        Init();
}

BOOL CQXButton::PreCreateWindow(CREATESTRUCTA& cs)
{
    m_bInitOnSubclass = FALSE;
    return CButton::PreCreateWindow(cs);
}

LRESULT CQXButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTINGCHANGE || message == WM_SYSCOLORCHANGE) {
        if (CButtonTheme* p = GetButtonTheme())
            p->RefreshMetrics();
        if (m_hWnd)
            Invalidate(FALSE);
    }
    return CButton::WindowProc(message, wParam, lParam);
}

BOOL CQXButton::OnEraseBkgnd(CDC*) { return TRUE; }

void CQXButton::OnMouseMove(UINT nFlags, CPoint point)
{
    if ((GetStyle() & 0xF) == BS_GROUPBOX)
        return;
    if (point.x != -1 || point.y != -1)
        Default();
    CRect rc;
    GetClientRect(&rc);
    BOOL bHot = rc.PtInRect(point);
    if (bHot != m_bHot) {
        m_bHot = bHot;
        Invalidate(FALSE);
        if (bHot) {
            TRACKMOUSEEVENT tme;
            ZeroMemory(&tme, sizeof(tme));
            tme.cbSize = sizeof(tme);
            tme.dwFlags = TME_LEAVE;
            tme.hwndTrack = m_hWnd;
            tme.dwHoverTime = HOVER_DEFAULT;
            ::TrackMouseEvent(&tme);
        }
    }
    (void)nFlags;
}

void CQXButton::OnMouseLeave() { OnMouseMove(0, CPoint(-1, -1)); }

int CQXButton::OnCreate(LPCREATESTRUCTA)
{
    if (Default() == -1)
        return -1;
    Init();
    return 0;
}

void CQXButton::OnSetFocus(CWnd*)
{
    Default();
    Invalidate(FALSE);
}

void CQXButton::OnKillFocus(CWnd*)
{
    Default();
    Invalidate(FALSE);
}

LRESULT CQXButton::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    if (!(lParam & PRF_CLIENT))
        return Default();
    DrawButton(CDC::FromHandle((HDC)wParam));
    return 1;
}

void CQXButton::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CRect rc;
    GetClientRect(&rc);
    {
        BufferedDC buffer(hdc, rc);
        DrawButton(CDC::FromHandle(buffer.GetSafeHdc()));
    }
    ::EndPaint(m_hWnd, &ps);
}

void CQXButton::OnSysColorChange() { Default(); }

void CQXButton::OnEnable(BOOL) { Invalidate(FALSE); }

UINT CQXButton::OnGetDlgCode()
{
    if (m_bOwnerDrawStyle)
        return ::GetFocus() == m_hWnd ? (DLGC_BUTTON | DLGC_DEFPUSHBUTTON) : DLGC_BUTTON;
    return (UINT)Default();
}

LRESULT CQXButton::OnSetState(WPARAM wParam, LPARAM)
{
    BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
    if (bVisible)
        ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, (LONG_PTR)(GetStyle() & ~WS_VISIBLE));
    Default();
    if (bVisible)
        ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, (LONG_PTR)(GetStyle() | WS_VISIBLE));
    m_bPushed = wParam != 0;
    Invalidate(FALSE);
    return 0;
}

LRESULT CQXButton::OnDefaultAndRedraw(WPARAM, LPARAM)
{
    LRESULT lr = Default();
    Invalidate(FALSE);
    return lr;
}

LRESULT CQXButton::OnDefWindowAndRedraw(WPARAM wParam, LPARAM lParam)
{
    const MSG* pMsg = GetCurrentMessage();
    LRESULT lr = DefWindowProc(pMsg ? pMsg->message : 0, wParam, lParam);
    Invalidate(FALSE);
    return lr;
}
