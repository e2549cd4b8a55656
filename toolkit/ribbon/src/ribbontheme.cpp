// ribbontheme.cpp - CRibbonStyleTheme: fonts and metrics of the ribbon,
// colours from the "Ribbon" section, and the bars drawn from theme images
// (buttons, menu items, check and radio marks, popups, status bar).
#include <qx/drawing.h>
#include <qx/office2007.h>
#include <qx/tabpaint.h>

// ---------------------------------------------------------------------------
// Metrics and tab colours

QXPRibbonMetrics AFXAPI ComputeRibbonMetrics(int nOverride, int nMenuFontHeight)
{
    QXPRibbonMetrics m;
    int h = nOverride >= 12 ? nOverride : (nMenuFontHeight < 0 ? -nMenuFontHeight : nMenuFontHeight);
    if (h <= 12)
        h = 11;
    m.nBaseHeight = h;
    m.nFontHeight = h * 120 / 96;
    const int e = h * 144 / 96;
    m.nControlHeight = e + 6 > 22 ? e + 6 : 22;
    const int nRow = h * 195 / 96;
    m.nRowHeight = nRow > 22 ? nRow : 22;
    m.nTabStripHeight = m.nRowHeight == 22 ? 23 : m.nRowHeight + 2;
    m.nGroupCaption = e > 17 ? e : 17;
    m.nSplitDropDown = m.nControlHeight / 2 > 12 ? m.nControlHeight / 2 : 12;
    m.nLargeDropDown = 2 * m.nControlHeight - 17;
    return m;
}

QXPRibbonTabLuna AFXAPI GetRibbonTabLunaColors(int nColorTheme)
{
    static const QXPRibbonTabLuna kOlive = {{RGB(96, 128, 88), RGB(96, 119, 107), RGB(176, 194, 140)},
                                            RGB(63, 93, 56),
                                            RGB(242, 241, 228),
                                            RGB(252, 254, 254),
                                            {RGB(208, 222, 170), RGB(255, 194, 115), RGB(255, 240, 199)},
                                            RGB(217, 217, 167),
                                            RGB(242, 241, 228)};
    static const QXPRibbonTabLuna kSilver = {{RGB(124, 124, 148), RGB(118, 116, 146), RGB(186, 185, 206)},
                                             RGB(75, 75, 111),
                                             RGB(243, 243, 247),
                                             RGB(252, 254, 254),
                                             {RGB(217, 217, 230), RGB(255, 194, 115), RGB(255, 238, 194)},
                                             RGB(215, 215, 229),
                                             RGB(243, 243, 247)};
    static const QXPRibbonTabLuna kBlue = {{RGB(59, 97, 156), RGB(0, 53, 154), RGB(117, 166, 241)},
                                           RGB(0, 0, 128),
                                           RGB(196, 218, 250),
                                           RGB(252, 253, 254),
                                           {RGB(162, 192, 246), RGB(255, 194, 115), RGB(255, 240, 201)},
                                           RGB(158, 190, 245),
                                           RGB(196, 218, 250)};
    return nColorTheme == qxColorThemeOlive ? kOlive : (nColorTheme == qxColorThemeSilver ? kSilver : kBlue);
}

// ---------------------------------------------------------------------------

CRibbonStyleTheme::CRibbonStyleTheme()
    : m_bRecreateRibbonFont(TRUE), m_nFontHeightOverride(0), m_bHotGroups(TRUE), m_bUseFaceOverride(TRUE), m_strFaceOverride("Segoe UI"),
      m_pTabPainter(NULL)
{
    m_metrics = ComputeRibbonMetrics(0, 11);
    m_bClearTypeTextQuality = TRUE;
    m_nSplitButtonDropDownWidth = 12;
    m_nSplitButtonPopupWidth = 26;
    m_pTabPainter = CreateRibbonTabPainter();
}

CRibbonStyleTheme::~CRibbonStyleTheme() { delete m_pTabPainter; }

CQXPTabPainter* CRibbonStyleTheme::CreateRibbonTabPainter()
{
    CQXPTabPainter* p = new CQXPTabPainter;
    p->SetAppearanceSet(new CRibbonTabAppearance(this));
    p->SetColor(32);
    // Tabs light up under the mouse and are chosen as the button goes
    // down; each is its caption and 10 px on either side wide.
    p->m_bHotTracking = TRUE;
    p->m_bSelectOnButtonDown = TRUE;
    p->m_bShowIcons = FALSE;
    ::SetRect(&p->m_rcContentInset, 10, 0, 10, 0);
    return p;
}

void CRibbonStyleTheme::ApplyRibbonTabColors(TabColorSet& c)
{
    c.clrHeader[0] = GetColor(COLOR_BTNFACE);
    c.clrHeader[1] = MixColors(GetColor(COLOR_BTNFACE), GetColor(COLOR_WINDOW), 205);
    c.clrBorder = GetColor(qxColorCheckedFace);
    c.clrButtonHighlight = GetColor(qxColorPressedBorder);
    c.clrSelectedFace = GetColor(qxColorCheckedFace);
    c.clrPressedFace = GetColor(qxColorPressedFace);
    c.clrNormalText = GetColor(COLOR_BTNTEXT);
    ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    const int nTheme = pColors->GetCurrentTheme();
    if (!pColors->IsLunaColorsDisabled() && nTheme >= qxColorThemeBlue && nTheme <= qxColorThemeAero) {
        const QXPRibbonTabLuna luna = GetRibbonTabLunaColors(nTheme);
        c.clrBorder = c.clrShape[tabShapeSelectedOutline] = luna.clrFrame[0];
        c.clrDarkShadow3D = c.clrShape[tabShapeOutline] = luna.clrFrame[1];
        c.clrShadow3D = c.clrShape[tabShapeInner] = luna.clrFrame[2];
        c.clrStateFrame[0] = c.clrStateFrame[1] = luna.clrDarkText;
        c.clrHeader[0] = luna.clrGradientLight;
        c.clrHeader[1] = luna.clrGradientDark;
        c.clrNormalFace = luna.clrValue[0];
        c.clrSelectedFace = luna.clrValue[1];
        c.clrHotFace = luna.clrValue[2];
        c.clrClient[0] = luna.clrGradient2Light;
        c.clrClient[1] = luna.clrGradient2Dark;
        c.bLuna = TRUE;
    }
    if (m_clrTabNormalText.GetColor() != QX_COLOR_NONE)
        c.clrNormalText = c.clrHotText = m_clrTabNormalText.GetColor();
    if (m_clrTabSelectedText.GetColor() != QX_COLOR_NONE)
        c.clrSelectedText = m_clrTabSelectedText.GetColor();
}

void CRibbonStyleTheme::RefreshFonts()
{
    NONCLIENTMETRICSA ncm;
    ZeroMemory(&ncm, sizeof(ncm));
    ncm.cbSize = sizeof(ncm);
    if (m_pfnNonClientMetrics)
        m_pfnNonClientMetrics(&ncm);
    else
        ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    m_metrics = ComputeRibbonMetrics(m_nFontHeightOverride, ncm.lfMenuFont.lfHeight);
    m_nSplitButtonDropDownWidth = m_metrics.nSplitDropDown;

    LOGFONTA lf = ncm.lfMenuFont;
    lf.lfHeight = -m_metrics.nFontHeight;
    lf.lfWeight = FW_NORMAL;
    lf.lfItalic = FALSE;
    if (m_bClearTypeTextQuality)
        lf.lfQuality = 5; // CLEARTYPE_QUALITY
    LOGFONTA lfMenuFace = lf;
    if (m_bUseFaceOverride && IsFontInstalled(m_strFaceOverride))
        lstrcpynA(lf.lfFaceName, m_strFaceOverride, LF_FACESIZE);

    // The base fonts follow the ribbon font, in the menu font's face.
    SetFontIndirect(&lfMenuFace, TRUE);
    if (m_pTabPainter)
        m_pTabPainter->SetFontIndirect(&lf);
    if (m_bRecreateRibbonFont || !m_fontRibbon.GetSafeHandle()) {
        m_fontRibbon.DeleteObject();
        m_fontRibbon.CreateFontIndirect(&lf);
        m_bRecreateRibbonFont = FALSE;
    }
    // The system's small-caption font: the groups' captions are measured in
    // it.
    if (m_bFollowSmCaptionFont || !m_fontSmCaption.GetSafeHandle()) {
        LOGFONTA lfSmCaption = ncm.lfSmCaptionFont;
        if (m_bClearTypeTextQuality)
            lfSmCaption.lfQuality = 5; // CLEARTYPE_QUALITY
        m_fontSmCaption.DeleteObject();
        m_fontSmCaption.CreateFontIndirect(&lfSmCaption);
    }
    // The system's status font (status bar and tooltips), in the overriding
    // face when one is set, always drawn with natural ClearType.
    if (m_bFollowStatusFont || !m_fontStatus.GetSafeHandle()) {
        LOGFONTA lfStatus = ncm.lfStatusFont;
        if (m_bUseFaceOverride && !m_strFaceOverride.IsEmpty())
            lstrcpynA(lfStatus.lfFaceName, m_strFaceOverride, LF_FACESIZE);
        lfStatus.lfQuality = 6; // CLEARTYPE_NATURAL_QUALITY
        m_fontStatus.DeleteObject();
        m_fontStatus.CreateFontIndirect(&lfStatus);
    }
}

void CRibbonStyleTheme::RefreshMetrics()
{
    COffice2007Theme::RefreshMetrics();
    RefreshFonts();
    ThemeResources* r = m_pResources;
    m_clrRibbonFace.Set(r->GetColor("Ribbon", "RibbonFace"));
    m_clrTabNormalText.Set(r->GetColor("Ribbon", "TabNormalText"));
    m_clrTabSelectedText.Set(r->GetColor("Ribbon", "TabSelectedText"));
    m_clrGroupCaptionText.Set(r->GetColor("Ribbon", "GroupCaptionText"));
    m_colors.GetAt(qxpSlotBarText)->Set(r->GetColor("Ribbon", "GroupClientText"));
    m_colors.GetAt(qxpSlotPopupText)->Set(r->GetColor("Ribbon", "MenuPopupText"));
    m_colors.GetAt(qxpSlotHotText)->Set(r->GetColor("Ribbon", "ControlHighlightText"));
    m_clrRibbonText.Set(r->GetColor("Ribbon", "RibbonText"));
    m_clrControlEditNormal.Set(r->GetColor("Ribbon", "ControlEditNormal"));
    m_clrMinimizedFrameEdgeHighLight.Set(r->GetColor("Ribbon", "MinimizedFrameEdgeHighLight"));
    m_clrMinimizedFrameEdgeShadow.Set(r->GetColor("Ribbon", "MinimizedFrameEdgeShadow"));
    // Fixed values in place of the command-bar theme's.
    m_colors.GetAt(qxpSlotPopupBorder)->Set(RGB(134, 134, 134));
    m_colors.GetAt(qxpSlotPopupFace)->Set(RGB(250, 250, 250));
    m_colors.GetAt(qxpSlotDisabledText)->Set(RGB(167, 167, 167));
    m_grcToolBar.Set(RGB(233, 238, 238), RGB(233, 238, 238), 0.5f);
    if (m_pTabPainter) {
        m_pTabPainter->RefreshColors();
        ApplyRibbonTabColors(m_pTabPainter->GetColors());
    }
}

// ---------------------------------------------------------------------------
// States

int AFXAPI CRibbonStyleTheme::GetButtonImageState(int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked,
                                                  BOOL bPopped)
{
    if (!bEnabled)
        return (nSelected == 2 || nSelected == 3) ? 0 : -1;
    if (bPopped)
        return 2;
    if (nChecked && !bPressed)
        return nSelected ? 3 : 2;
    if (bPressed == 2 || bPressed == 3)
        return 1;
    if (nSelected)
        return bPressed ? 1 : 0;
    return bPressed ? 0 : -1;
}

int AFXAPI CRibbonStyleTheme::GetSplitMainState(int E, int S, int P, BOOL O, int Ck)
{
    if (E == 4 && (S || P || O))
        return 4;
    if (E == 0)
        return (S == 2 || S == 3) ? 5 : -1;
    if (Ck) {
        if (O)
            return 5;
        if (S == 0 && P == 0)
            return 2;
        if (S != 0 && P == 0)
            return 3;
        if (P == 2 || P == 3)
            return 1;
        return S == 0 ? 2 : 1;
    }
    if (O)
        return 5;
    if (P == 2 || P == 3)
        return 1;
    if (S == 0)
        return P == 0 ? -1 : 5;
    if (P != 0)
        return 1;
    return S == 3 ? 0 : 5;
}

int AFXAPI CRibbonStyleTheme::GetSplitDropState(int E, int S, int P, BOOL O, int Ck)
{
    if (E == 3 && (S || P || O))
        return 3;
    if (E == 0)
        return (S == 2 || S == 3) ? 4 : -1;
    if (Ck) {
        if (O)
            return 2;
        if (S == 0 && P == 0)
            return 2;
        if (P == 2 || P == 3)
            return 0;
        if (S != 0)
            return P != 0 ? 0 : (S == 4 ? 0 : 4);
        return 4;
    }
    if (O)
        return 2;
    if (P == 2 || P == 3)
        return 0;
    if (S == 0)
        return P == 0 ? -1 : 4;
    if (P != 0)
        return 0;
    return S == 4 ? 0 : 4;
}

int AFXAPI CRibbonStyleTheme::GetGroupedButtonState(int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked,
                                                    BOOL bPopped)
{
    if (!bEnabled)
        return (nSelected == 2 || nSelected == 3) ? 1 : 0;
    if (bPopped)
        return 3;
    if (!nChecked || bPressed) {
        if (bPressed == 2 || bPressed == 3)
            return 2;
        if (nSelected)
            return bPressed ? 2 : 1;
        return bPressed ? 1 : 0;
    }
    return nSelected ? 4 : 3;
}

// ---------------------------------------------------------------------------
// Drawing

COLORREF CRibbonStyleTheme::GetRectangleTextColor(int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked,
                                                  BOOL bPopped, int nBarType, int nBarPosition)
{
    if (!nSelected && !bPressed && !nChecked && !bPopped && bEnabled && nBarType == qxpBarTypeMenuBar &&
        m_clrMenuBarText.GetColor() != QX_COLOR_NONE)
        return m_clrMenuBarText.GetColor();
    if (nBarType == qxpBarTypePopup || nBarPosition == qxpBarPopup)
        return GetColor(bEnabled ? qxColorMenuText : qxColorDisabledText);
    return GetColor(bEnabled ? qxColorBarText : qxColorBarDisabledText);
}

void CRibbonStyleTheme::DrawRectangle(CDC* pDC, CRect rc, int nSelected, BOOL bPressed, BOOL bEnabled, int nChecked,
                                      BOOL bPopped, int nBarType, int nBarPosition)
{
    if (nBarType == qxpBarTypePopup && nBarPosition == qxpBarPopup) {
        if (nChecked) {
            DrawThemeImage(pDC, "MENUCHECKEDITEM", rc, bEnabled ? 0 : 1, 2, CRect(4, 4, 4, 4));
            return;
        }
        if (nSelected && (bEnabled || nSelected == 2 || nSelected == 3)) {
            const BOOL bTall = rc.Height() >= 33;
            LPCSTR name = bEnabled ? (bTall ? "MENUSELECTEDITEM54" : "MENUSELECTEDITEM22")
                                   : (bTall ? "MENUSELECTEDDISABLEDITEM54" : "MENUSELECTEDDISABLEDITEM22");
            DrawThemeImage(pDC, name, rc, 0, 1, CRect(4, 4, 4, 4));
            return;
        }
        COffice2007Theme::DrawRectangle(pDC, rc, nSelected, bPressed, bEnabled, nChecked, bPopped, nBarType,
                                        nBarPosition);
        return;
    }
    int nState = GetButtonImageState(nSelected, bPressed, bEnabled, nChecked, bPopped);
    if (nState < 0)
        return;
    DrawThemeImage(pDC, rc.Height() < 33 ? "TOOLBARBUTTONS22" : "TOOLBARBUTTONS50", rc, nState, 4,
                   CRect(8, 8, 8, 8));
}

void CRibbonStyleTheme::FillCommandBar(CDC* pDC, CQXPBarView* pBar)
{
    const int nPos = pBar->GetPosition();
    CRect rc = pBar->GetBarClientRect();
    if (nPos == qxpBarPopup) {
        if (DrawThemeImage(pDC, "POPUPBARFRAME", rc, 0, 1, CRect(4, 4, 4, 4)))
            return;
    } else if (pBar->GetType() == qxpBarTypeNormal && nPos <= qxpBarRight) {
        LPCSTR name = nPos <= qxpBarBottom ? "TOOLBARFACEHORIZONTAL" : "TOOLBARFACEVERTICAL";
        if (DrawThemeImage(pDC, name, rc, 0, 1, CRect(5, 5, 5, 5)))
            return;
    } else if (pBar->GetType() == qxpBarTypeMenuBar && m_clrRibbonFace.GetColor() != QX_COLOR_NONE) {
        pDC->FillSolidRect(rc, m_clrRibbonFace.GetColor());
        return;
    }
    COffice2007Theme::FillCommandBar(pDC, pBar);
}

CSize CRibbonStyleTheme::DrawCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, int nSelected, BOOL bPressed,
                                          int nChecked, BOOL bEnabled)
{
    if (bDraw && pDC) {
        int b = !bEnabled ? 3 : (nSelected && bPressed ? 2 : (nSelected ? 1 : 0));
        if (nChecked == 1)
            b += 4;
        else if (nChecked == 2)
            b += 8;
        CRect rcMark(CPoint(rc.left + (rc.Width() - 13) / 2, rc.top + (rc.Height() - 13) / 2), CSize(13, 13));
        DrawThemeImage(pDC, "TOOLBARBUTTONCHECKBOX", rcMark, b, 12, CRect(0, 0, 0, 0), QX_THEME_KEY_COLOR);
    }
    return CSize(13, 13);
}

CSize CRibbonStyleTheme::DrawRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, int nSelected, BOOL bPressed,
                                             int nChecked, BOOL bEnabled)
{
    if (bDraw && pDC) {
        int b = !bEnabled ? 3 : (nSelected && bPressed ? 2 : (nSelected ? 1 : 0));
        if (nChecked)
            b += 4;
        CRect rcMark(CPoint(rc.left + (rc.Width() - 13) / 2, rc.top + (rc.Height() - 13) / 2), CSize(13, 13));
        DrawThemeImage(pDC, "TOOLBARBUTTONRADIOBUTTON", rcMark, b, 8, CRect(0, 0, 0, 0), QX_THEME_KEY_COLOR);
    }
    return CSize(13, 13);
}

void CRibbonStyleTheme::FillPopupGutter(CDC* pDC, CRect rc, BOOL bRarelyUsed)
{
    (void)bRarelyUsed;
    pDC->FillSolidRect(CRect(rc.left + 1, rc.top, rc.right - 1, rc.bottom), RGB(233, 238, 238));
    VerticalLine(pDC, rc.right - 1, rc.top, rc.bottom, RGB(197, 197, 197));
    VerticalLine(pDC, rc.right, rc.top, rc.bottom, RGB(245, 245, 245));
}

void CRibbonStyleTheme::FillStatusBar(CDC* pDC, CRect rc)
{
    // The light part over the panes, the divider, and the dark end where the
    // size gripper sits.
    ThemeBitmap* pLight = GetImage("STATUSBARLIGHT");
    ThemeBitmap* pDivider = GetImage("STATUSBARDEVIDER");
    ThemeBitmap* pDark = GetImage("STATUSBARDARK");
    if (!pLight || !pDivider || !pDark) {
        COffice2007Theme::FillStatusBar(pDC, rc);
        return;
    }
    const int xDark = rc.right - rc.Height() - pDivider->GetWidth();
    pLight->DrawImage(pDC, CRect(rc.left, rc.top, xDark - 3, rc.bottom), pLight->GetSource(), CRect(0, 0, 0, 0));
    pDivider->DrawImage(pDC, CRect(xDark - 3, rc.top, xDark - 3 + pDivider->GetWidth(), rc.bottom),
                        pDivider->GetSource(), CRect(0, 0, 0, 0));
    pDark->DrawImage(pDC, CRect(xDark - 3 + pDivider->GetWidth(), rc.top, rc.right, rc.bottom), pDark->GetSource(),
                     CRect(0, 0, 0, 0));
}

void CRibbonStyleTheme::DrawStatusPaneBorder(CDC* pDC, CRect rc, CQXPStatusPaneView* pPane, BOOL bLastPane)
{
    (void)pPane;
    if (bLastPane)
        return;
    DrawThemeImage(pDC, "STATUSBARSEPARATOR", CRect(rc.right - 2, rc.top - 2, rc.right, rc.bottom), 0, 1,
                   CRect(0, 2, 0, 2));
}

void CRibbonStyleTheme::DrawStatusGripper(CDC* pDC, CRect rc)
{
    ThemeBitmap* p = GetImage("STATUSBARGRIPPER");
    if (!p)
        return;
    const int cx = p->GetWidth(), cy = p->GetHeight();
    p->DrawImageOnColor(pDC, CRect(rc.right - cx, rc.bottom - cy - 4, rc.right, rc.bottom - 4), p->GetSource(),
                        CRect(0, 0, 0, 0), QX_THEME_KEY_COLOR);
}

void CRibbonStyleTheme::DrawToolTip(CDC* pDC, HWND hTip, BOOL bRegion)
{
    if (!hTip || !::IsWindow(hTip))
        return;
    CRect rc;
    if (bRegion) {
        ::GetWindowRect(hTip, &rc);
        ::SetWindowRgn(hTip, CreateCornerCutRegion(rc.Width(), rc.Height()), FALSE);
        return;
    }
    if (!pDC)
        return;
    ::GetClientRect(hTip, &rc);
    ThemeResources* pTheme = GetThemeResources();
    COLORREF clrLight = pTheme->GetColor("Window", "TooltipLight");
    COLORREF clrDark = pTheme->GetColor("Window", "TooltipDark");
    COLORREF clrBorder = pTheme->GetColor("Window", "TooltipBorder");
    if (clrLight != QX_COLOR_NONE && clrDark != QX_COLOR_NONE)
        DrawHelpers::Instance()->FillGradient(pDC->GetSafeHdc(), rc, clrLight, clrDark, FALSE);
    if (clrBorder != QX_COLOR_NONE)
        pDC->Draw3dRect(rc, clrBorder, clrBorder);
    char text[512] = "";
    ::GetWindowTextA(hTip, text, sizeof(text));
    HGDIOBJ hOld = ::SelectObject(pDC->GetSafeHdc(), GetStatusFont()->GetSafeHandle());
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetColor(::IsWindowEnabled(hTip) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    pDC->DrawText(text, rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetBkMode(nOldMode);
    ::SelectObject(pDC->GetSafeHdc(), hOld);
}

void CRibbonStyleTheme::SetBarRegion(CQXPBarView* pBar)
{
    HWND hWnd = pBar ? pBar->GetBarHwnd() : NULL;
    if (!hWnd || pBar->GetPosition() != qxpBarPopup) {
        COffice2007Theme::SetBarRegion(pBar);
        return;
    }
    // The four corner pixels cut.
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    ::SetWindowRgn(hWnd, CreateCornerCutRegion(rc.Width(), rc.Height()), FALSE);
}
