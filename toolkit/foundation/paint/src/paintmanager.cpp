// paintmanager.cpp - the paint manager base: construction, fonts, metrics,
// the colour table, the global paint manager and the base drawing of bars,
// status panes, marks, glyphs and animations.
#include "paintinternal.h"

#include "imageaccess.h"

#include <qx/drawing.h>
#include <qx/fonts.h>
#include <qx/images.h>
#include <qx/sysutil.h>
#include <qx/themes.h>

#include <algorithm>

#include <cmath>
#include <vector>

using namespace qxpaint;

namespace qxpaint {

CSize TextSize(CDC* pDC, const CString& str)
{
    SIZE sz = {0, 0};
    HDC hdc = pDC->GetSafeHdc();
    if (!str.IsEmpty())
        ::GetTextExtentPoint32A(hdc, str.GetString(), str.GetLength(), &sz);
    TEXTMETRICA tm;
    if (::GetTextMetricsA(hdc, &tm))
        sz.cy = tm.tmHeight;
    return CSize(sz.cx, sz.cy);
}

int SpaceHeight(HFONT hFont)
{
    HDC hdc = ::CreateCompatibleDC(NULL);
    HGDIOBJ hOld = hFont ? ::SelectObject(hdc, hFont) : NULL;
    SIZE sz = {0, 0};
    ::GetTextExtentPoint32A(hdc, " ", 1, &sz);
    if (hOld)
        ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);
    return sz.cy;
}

void DrawVerticalText(CDC* pDC, int x, int y, const CString& str)
{
    HDC hdc = pDC->GetSafeHdc();
    UINT nOldAlign = ::SetTextAlign(hdc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    int nOldMode = ::SetBkMode(hdc, TRANSPARENT);
    ::TextOutA(hdc, x, y, str.GetString(), str.GetLength());
    ::SetBkMode(hdc, nOldMode);
    ::SetTextAlign(hdc, nOldAlign);
}

} // namespace qxpaint

// ---------------------------------------------------------------------------
// Control view defaults.

BOOL CQXPControlView::IsImageVisible() const
{
    CQXPBarView* pBar = GetParentBar();
    if (!IsPopupBar(pBar)) {
        int nStyle = GetStyle();
        BOOL bStyleAllows = nStyle == qxpButtonIcon || nStyle == qxpButtonIconAndCaption ||
                            nStyle == qxpButtonIconAndCaptionBelow ||
                            (nStyle == qxpButtonAutomatic && GetType() != qxpControlPopup);
        if (!bStyleAllows)
            return FALSE;
    }
    if (GetIconId() == 0)
        return FALSE;
    return GetImage(pBar ? pBar->GetIconSize().cx : 16) != NULL;
}

// ---------------------------------------------------------------------------
// CRect defaults of the bar view.

CRect CQXPBarView::GetBarClientRect() const
{
    return CRect(GetClientRectOf(GetBarHwnd()));
}

CRect CQXPBarView::GetBarWindowRect() const
{
    return CRect(GetWindowRectOf(GetBarHwnd()));
}

// ---------------------------------------------------------------------------
// Gallery painter.

CGalleryPainter::CGalleryPainter(CQXPThemePainter* pPaintManager)
    : m_pPaintManager(pPaintManager), m_nUpHeight(19), m_nDownHeight(19), m_nColumnWidth(16)
{
    m_cxHScroll = ::GetSystemMetrics(SM_CXHSCROLL);
    m_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    m_cyVScroll = ::GetSystemMetrics(SM_CYVSCROLL);
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
}

CGalleryPainter::~CGalleryPainter() {}

void CGalleryPainter::DrawLabel(CDC* pDC, CRect rc, LPCSTR lpszText)
{
    pDC->FillSolidRect(rc, m_pPaintManager->GetColor(qxColorLabelFace));
    m_pPaintManager->HorizontalLine(pDC, rc.left, rc.bottom - 1, rc.right,
                                    m_pPaintManager->GetColor(qxColorControlBorder));
    if (!lpszText || !*lpszText)
        return;
    CRect rcText(rc);
    rcText.DeflateRect(10, 0, 10, 0);
    ScopedFont font(pDC, m_pPaintManager->GetRegularBoldFont());
    int nMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOld = pDC->SetTextColor(m_pPaintManager->GetColor(qxColorMenuText));
    pDC->DrawText(lpszText, -1, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nMode);
}

void CGalleryPainter::DrawBackground(CDC* pDC, const QXPGalleryView& g)
{
    pDC->FillSolidRect(g.rc, m_pPaintManager->GetColor(qxColorMenuFace));
    if (g.bBorders) {
        COLORREF clr = m_pPaintManager->GetColor(qxColorControlBorder);
        pDC->Draw3dRect(g.rc, clr, clr);
    } else if (g.bBottomDivider) {
        m_pPaintManager->HorizontalLine(pDC, g.rc.left, g.rc.bottom - 2, g.rc.right,
                                        m_pPaintManager->GetColor(qxColorSeparator));
    }
}

void CGalleryPainter::DrawPopupScrollColumn(CDC* pDC, const QXPGalleryView& g)
{
    const CRect& rc = g.rcScrollBar;
    if (rc.IsRectEmpty())
        return;
    pDC->FillSolidRect(rc, m_pPaintManager->GetColor(qxColorBarFace));
    CRect rcUp(rc.left, rc.top, rc.right, std::min(rc.bottom, rc.top + m_nUpHeight));
    CRect rcDown(rc.left, rcUp.bottom, rc.right, std::min(rc.bottom, rcUp.bottom + m_nDownHeight));
    CRect rcPopup(rc.left, rcDown.bottom, rc.right, rc.bottom);
    const int nActive = g.nPressedPart ? g.nPressedPart : g.nHotPart;
    const struct {
        CRect rc;
        int nPart;
        BOOL bEnabled;
    } buttons[] = {{rcUp, qxpGalleryHitUp, g.bEnabled && g.bCanScrollUp},
                   {rcDown, qxpGalleryHitDown, g.bEnabled && g.bCanScrollDown},
                   {rcPopup, qxpGalleryHitPopup, g.bEnabled}};
    for (const auto& b : buttons) {
        if (b.rc.IsRectEmpty())
            continue;
        const BOOL bHot = b.bEnabled && nActive == b.nPart;
        const BOOL bPressed = bHot && g.nPressedPart == b.nPart;
        m_pPaintManager->DrawRectangle(pDC, b.rc, bHot, bPressed, b.bEnabled, bPressed, FALSE, qxpBarTypeNormal,
                                       qxpBarTop);
        COLORREF clr = m_pPaintManager->GetRectangleTextColor(bHot, bPressed, b.bEnabled, bPressed, FALSE,
                                                              qxpBarTypeNormal, qxpBarTop);
        const CPoint c = b.rc.CenterPoint();
        if (b.nPart == qxpGalleryHitUp) {
            m_pPaintManager->DrawTriangle(pDC, CPoint(c.x - 4, c.y + 2), CPoint(c.x + 4, c.y + 2),
                                          CPoint(c.x, c.y - 2), clr);
        } else if (b.nPart == qxpGalleryHitDown) {
            m_pPaintManager->DrawTriangle(pDC, CPoint(c.x - 4, c.y - 2), CPoint(c.x + 4, c.y - 2),
                                          CPoint(c.x, c.y + 2), clr);
        } else {
            m_pPaintManager->DrawTriangle(pDC, CPoint(c.x - 4, c.y - 1), CPoint(c.x + 4, c.y - 1),
                                          CPoint(c.x, c.y + 3), clr);
            pDC->FillSolidRect(c.x - 4, c.y - 4, 9, 2, clr);
        }
    }
}

int CGalleryPainter::GetScrollBarLook(int nOverride) const
{
    if (nOverride)
        return nOverride;
    switch (m_pPaintManager->GetCurrentTheme()) {
    case qxpThemeWindows2000:
        return qxpGalleryBarFlat;
    case qxpThemeOffice2007:
    case qxpThemeRibbon:
        return qxpGalleryBarImages;
    default:
        return qxpGalleryBarSystem;
    }
}

void AFXAPI CGalleryPainter::DrawArrowGlyph(CDC* pDC, CRect rc, BOOL bHorizontal, BOOL bBackward, BOOL bEnabled)
{
    const int nSide = std::min(rc.Width(), rc.Height());
    if (nSide < 6)
        return;
    CFont font;
    font.CreateFontA(nSide - 4, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, "MARLETT");
    CFont* pOld = pDC->SelectObject(&font);
    int nMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOld = pDC->SetTextColor(bEnabled ? RGB(0, 0, 0) : ::GetSysColor(COLOR_BTNSHADOW));
    // Marlett: 3 left, 4 right, 5 up, 6 down.
    const char* pszGlyph = bHorizontal ? (bBackward ? "3" : "4") : (bBackward ? "5" : "6");
    pDC->TextOut((rc.Width() - nSide) / 2 + rc.left + 2, (rc.Height() - nSide) / 2 + rc.top + 2, pszGlyph, 1);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nMode);
    pDC->SelectObject(pOld);
}

void CGalleryPainter::DrawScrollBar(CDC* pDC, const QXPGalleryScrollBarView& bar)
{
    if (bar.rc.IsRectEmpty())
        return;
    const int nLook = bar.nType;
    const BOOL bPressed[2] = {bar.nPressedPart == qxpGalleryHitUp, bar.nPressedPart == qxpGalleryHitDown};
    const BOOL bHot[2] = {bar.nHotPart == qxpGalleryHitUp, bar.nHotPart == qxpGalleryHitDown};
    const CRect rcArrows[2] = {bar.rcArrowBefore, bar.rcArrowAfter};
    const CRect rcThumb = bar.bEnabled ? bar.rcThumb : CRect(0, 0, 0, 0);
    HDC hdc = pDC->GetSafeHdc();

    if (nLook == qxpGalleryBarSystem && m_themeScrollBar.IsOpen()) {
        CVisualStyleTheme& theme = const_cast<CVisualStyleTheme&>(m_themeScrollBar);
        for (int i = 0; i < 2; ++i) {
            if (rcArrows[i].IsRectEmpty())
                continue;
            // Arrow states: up 1-4, down 5-8, left 9-12, right 13-16.
            int nFirst = bar.bVertical ? (i == 0 ? 1 : 5) : (i == 0 ? 9 : 13);
            int nState = !bar.bEnabled ? 3 : bPressed[i] ? 2
                                         : bHot[i]       ? 1
                                                         : 0;
            theme.DrawThemeBackground(hdc, 1, nFirst + nState, rcArrows[i]);
        }
        const struct {
            CRect rc;
            int nPart, nVertical, nHorizontal;
        } parts[] = {{bar.rcPageBefore, qxpGalleryHitPageBefore, 6, 4},
                     {bar.rcPageAfter, qxpGalleryHitPageAfter, 7, 5},
                     {rcThumb, qxpGalleryHitThumb, 3, 2}};
        for (const auto& p : parts) {
            if (p.rc.IsRectEmpty())
                continue;
            int nState = !bar.bEnabled ? 4 : bar.nPressedPart == p.nPart ? 3
                                         : bar.nHotPart == p.nPart       ? 2
                                                                         : 1;
            theme.DrawThemeBackground(hdc, bar.bVertical ? p.nVertical : p.nHorizontal, nState, p.rc);
        }
        const int nThumb = bar.bVertical ? rcThumb.Height() : rcThumb.Width();
        if (!rcThumb.IsRectEmpty() && nThumb > 13)
            theme.DrawThemeBackground(hdc, bar.bVertical ? 9 : 8, 1, rcThumb);
        return;
    }

    const BOOL bFlat = nLook == qxpGalleryBarFlat;
    for (int i = 0; i < 2; ++i) {
        CRect rc = rcArrows[i];
        if (rc.IsRectEmpty())
            continue;
        if (bFlat) {
            pDC->FillSolidRect(rc, ::GetSysColor(COLOR_3DFACE));
            COLORREF clrLight = ::GetSysColor(COLOR_3DHIGHLIGHT), clrDark = ::GetSysColor(COLOR_3DSHADOW);
            pDC->Draw3dRect(rc, bPressed[i] ? clrDark : clrLight, bPressed[i] ? clrLight : clrDark);
            DrawArrowGlyph(pDC, rc, !bar.bVertical, i == 0, bar.bEnabled);
        } else {
            UINT nKind = bar.bVertical ? (i == 0 ? DFCS_SCROLLUP : DFCS_SCROLLDOWN)
                                       : (i == 0 ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
            if (bPressed[i])
                nKind |= DFCS_PUSHED;
            if (!bar.bEnabled)
                nKind |= DFCS_INACTIVE;
            ::DrawFrameControl(hdc, rc, DFC_SCROLL, nKind);
        }
    }
    // The track in the brush the owner window gives scroll bars.
    CRect rcTrack(bar.rc);
    if (bar.bVertical) {
        rcTrack.top = bar.rcArrowBefore.bottom;
        rcTrack.bottom = bar.rcArrowAfter.top;
    } else {
        rcTrack.left = bar.rcArrowBefore.right;
        rcTrack.right = bar.rcArrowAfter.left;
    }
    if (!rcTrack.IsRectEmpty()) {
        HBRUSH hBrush = bar.hWnd ? (HBRUSH)::DefWindowProcA(bar.hWnd, WM_CTLCOLORSCROLLBAR, (WPARAM)hdc,
                                                            (LPARAM)bar.hWnd)
                                 : NULL;
        ::FillRect(hdc, rcTrack, hBrush ? hBrush : ::GetSysColorBrush(COLOR_SCROLLBAR));
    }
    if (bar.bEnabled) {
        if (bar.nPressedPart == qxpGalleryHitPageBefore && !bar.rcPageBefore.IsRectEmpty())
            ::InvertRect(hdc, bar.rcPageBefore);
        if (bar.nPressedPart == qxpGalleryHitPageAfter && !bar.rcPageAfter.IsRectEmpty())
            ::InvertRect(hdc, bar.rcPageAfter);
    }
    if (rcThumb.IsRectEmpty())
        return;
    pDC->FillSolidRect(rcThumb, ::GetSysColor(COLOR_3DFACE));
    if (bFlat) {
        pDC->Draw3dRect(rcThumb, ::GetSysColor(COLOR_3DHIGHLIGHT), ::GetSysColor(COLOR_3DSHADOW));
    } else {
        CRect rc(rcThumb);
        ::DrawEdge(hdc, rc, EDGE_RAISED, BF_RECT | BF_ADJUST);
    }
}

void CGalleryPainter::RefreshMetrics()
{
    m_cxHScroll = ::GetSystemMetrics(SM_CXHSCROLL);
    m_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    m_cyVScroll = ::GetSystemMetrics(SM_CYVSCROLL);
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    m_themeScrollBar.OpenThemeData(NULL, L"SCROLLBAR");
    m_nUpHeight = 19;
    m_nDownHeight = 19;
    m_nColumnWidth = 16;
}

// ---------------------------------------------------------------------------
// Construction.

CQXPThemePainter::CQXPThemePainter()
{
    m_pfnSetLayeredWindowAttributes = NULL;
    m_clrStatusTextColor = 0;
    m_bThemedStatusBar = FALSE;
    m_bThemedCheckBox = FALSE;
    m_bClearTypeTextQuality = FALSE;
    m_bUseGlobalCharset = FALSE;
    m_nPopupMargin = 4;
    m_bLabelIconColumn = TRUE;
    m_bEnableAnimation = TRUE;
    m_bFollowSmCaptionFont = TRUE;
    m_bFollowIconFont = TRUE;
    m_bFollowIconBoldFont = TRUE;
    m_bFollowStatusFont = TRUE;
    m_nSplitButtonDropDownWidth = 11;
    m_nSplitButtonPopupWidth = 20;
    m_bAutoResizeIcons = FALSE;
    m_pGalleryPainter = new CGalleryPainter(this);
    HMODULE hUser = ::GetModuleHandleA("USER32");
    if (hUser)
        m_pfnSetLayeredWindowAttributes =
            (PFNSETLAYEREDWINDOWATTRIBUTES)(void*)::GetProcAddress(hUser, "SetLayeredWindowAttributes");
    m_nTextHeight = 0;
    m_bUseConfiguredFace = FALSE;
    m_strConfiguredFace = "Tahoma";
    m_bUseSystemFont = TRUE;
    m_bEmbossedDisabledText = TRUE;
    m_nThemeNumber = 7;
    m_iconsInfo.bUseFadedIcons = FALSE;
    m_iconsInfo.bUseDisabledIcons = FALSE;
    m_iconsInfo.bIconsWithShadow = FALSE;
    m_iconsInfo.bOfficeStyleDisabledIcons = FALSE;
    m_nAnimationSteps = 10;
    m_nAnimationDuration = 100;
    m_nShowKeyboardCues = -1;
    m_nStoredColorTheme = qxColorThemeAuto;
    m_bThickCheckMark = FALSE;
    m_bTightCaptionSpacing = FALSE;
    m_bSplitCaption = TRUE;
    m_nFixedControlHeight = 0;
    m_bFlatMenuBar = FALSE;
    m_bFlatToolBar = FALSE;
    m_nPopupBarFrame = 0;
    m_nBarFrame = 0;
    m_pfnNonClientMetrics = NULL;
    m_nShadowOptions = qxpShadowClipExclude;
    m_bForceShadows = TRUE;
    m_bShadowsOff = FALSE;
    m_bShadowNoSaveBits = FALSE;

    // The generated icon looks depend on the theme's colours.
    GetGlobalImageManager()->RefreshAll();
}

CQXPThemePainter::~CQXPThemePainter()
{
    delete m_pGalleryPainter;
    m_pGalleryPainter = NULL;
    m_themeStatusBar.CloseThemeData();
    m_themeButton.CloseThemeData();
}

int CQXPThemePainter::GetColorTheme() const
{
    return ToolkitColorManager::Instance()->ResolveColorTheme(m_nStoredColorTheme);
}

// ---------------------------------------------------------------------------
// Fonts and metrics.

BOOL CQXPThemePainter::IsFlatBar(CQXPBarView* pBar) const
{
    if (!pBar)
        return FALSE;
    return pBar->GetType() == qxpBarTypeMenuBar ? m_bFlatMenuBar : m_bFlatToolBar;
}

BOOL CQXPThemePainter::IsBarFrameDrawn(CQXPBarView* pBar)
{
    if (!pBar)
        return FALSE;
    int nSetting = pBar->GetPosition() == qxpBarPopup ? m_nPopupBarFrame : m_nBarFrame;
    return nSetting == 0 && (pBar->GetBarFlags() & 0x0F) != 0;
}

BOOL CQXPThemePainter::IsKeyboardCuesVisible(CQXPBarView* pBar) const
{
    if (m_nShowKeyboardCues >= 0)
        return m_nShowKeyboardCues != 0;
    return pBar ? pBar->IsKeyboardCuesVisible() : TRUE;
}

CFont* CQXPThemePainter::GetCommandFont(CQXPBarView* pBar, BOOL bBold)
{
    if (IsVerticalBar(pBar))
        return bBold ? &m_fontVertBold : &m_fontVert;
    return bBold ? &m_fontRegularBold : &m_fontRegular;
}

static BOOL SupportsClearType()
{
    return GetOSVersionInfo()->IsWinXPOrGreater();
}

static void RecreateFont(CFont& font, const LOGFONTA& lf)
{
    font.DeleteObject();
    font.CreateFontIndirect(&lf);
}

void CQXPThemePainter::RefreshFonts()
{
    NONCLIENTMETRICSA ncm;
    ZeroMemory(&ncm, sizeof(ncm));
    BOOL bRead = m_pfnNonClientMetrics ? m_pfnNonClientMetrics(&ncm) : NonClientMetrics(&ncm);
    if (!bRead) {
        // Without metrics the stock GUI font stands in for every font.
        LOGFONTA lf;
        ZeroMemory(&lf, sizeof(lf));
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        ncm.lfMenuFont = ncm.lfSmCaptionFont = ncm.lfStatusFont = ncm.lfCaptionFont = ncm.lfMessageFont = lf;
    }

    BYTE nCharSet = ncm.lfMenuFont.lfCharSet;
    if (m_bUseGlobalCharset) {
        LOGFONTA lfGlobal;
        HFONT hGlobal = GetGlobalUIFonts()->GetNormalFont();
        if (hGlobal && ::GetObjectA(hGlobal, sizeof(lfGlobal), &lfGlobal))
            nCharSet = lfGlobal.lfCharSet;
    }

    if (m_bUseSystemFont) {
        LOGFONTA lf;
        ZeroMemory(&lf, sizeof(lf));
        lf.lfHeight = ncm.lfMenuFont.lfHeight;
        // Very small menu fonts are raised to 11 pixels.
        if (lf.lfHeight < 0 && lf.lfHeight >= -10)
            lf.lfHeight = -11;
        lf.lfWeight = ncm.lfMenuFont.lfWeight;
        lf.lfItalic = ncm.lfMenuFont.lfItalic;
        lf.lfCharSet = nCharSet;
        lstrcpynA(lf.lfFaceName, ncm.lfMenuFont.lfFaceName, LF_FACESIZE);
        if (lstrcmpiA(lf.lfFaceName, "Segoe UI") == 0 && SupportsClearType() && IsFontInstalled(lf.lfFaceName))
            lf.lfQuality = 6; // ClearType natural
        SetFontIndirect(&lf, TRUE);
    }

    LOGFONTA lfIcon;
    ZeroMemory(&lfIcon, sizeof(lfIcon));
    if (!::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lfIcon), &lfIcon, 0))
        lfIcon = ncm.lfMessageFont;
    LOGFONTA lfSmCaption = ncm.lfSmCaptionFont;
    LOGFONTA lfStatus = ncm.lfStatusFont;
    if (m_bClearTypeTextQuality && SupportsClearType()) {
        lfSmCaption.lfQuality = 6;
        lfIcon.lfQuality = 6;
        lfStatus.lfQuality = 6;
    }
    lfSmCaption.lfCharSet = nCharSet;
    lfIcon.lfCharSet = nCharSet;
    lfStatus.lfCharSet = nCharSet;

    if (m_bFollowSmCaptionFont || !m_fontSmCaption.GetSafeHandle())
        RecreateFont(m_fontSmCaption, lfSmCaption);
    if (m_bFollowIconFont || !m_fontIcon.GetSafeHandle())
        RecreateFont(m_fontIcon, lfIcon);
    if (m_bFollowIconBoldFont || !m_fontIconBold.GetSafeHandle()) {
        LOGFONTA lfBold = lfIcon;
        lfBold.lfWeight = FW_BOLD;
        RecreateFont(m_fontIconBold, lfBold);
    }
    if (m_bFollowStatusFont || !m_fontStatus.GetSafeHandle())
        RecreateFont(m_fontStatus, lfStatus);
}

void CQXPThemePainter::SetFontIndirect(LOGFONTA* pLogFont, BOOL bFromRefresh)
{
    if (!pLogFont)
        return;
    m_bUseSystemFont = bFromRefresh;
    LOGFONTA lf = *pLogFont;
    if (m_bClearTypeTextQuality && SupportsClearType())
        lf.lfQuality = 5; // ClearType

    m_fontRegular.DeleteObject();
    m_fontRegularBold.DeleteObject();
    m_fontVert.DeleteObject();
    m_fontVertBold.DeleteObject();
    m_fontIconBold.DeleteObject();

    if (lstrcmpiA(m_strConfiguredFace.GetString(), lf.lfFaceName) == 0)
        m_bUseConfiguredFace = TRUE;
    if (m_bUseConfiguredFace && bFromRefresh && IsFontInstalled(m_strConfiguredFace.GetString()))
        lstrcpynA(lf.lfFaceName, m_strConfiguredFace.GetString(), LF_FACESIZE);

    m_fontRegular.CreateFontIndirect(&lf);
    LOGFONTA lfBold = lf;
    lfBold.lfWeight = FW_BOLD;
    m_fontRegularBold.CreateFontIndirect(&lfBold);

    LOGFONTA lfVert = lf;
    lfVert.lfEscapement = 2700;
    lfVert.lfOrientation = 900;
    CString strVertFace = GetGlobalUIFonts()->GetVerticalFace(lf.lfFaceName, TRUE);
    lstrcpynA(lfVert.lfFaceName, strVertFace.GetString(), LF_FACESIZE);
    m_fontVert.CreateFontIndirect(&lfVert);
    lfVert.lfWeight = FW_BOLD;
    m_fontVertBold.CreateFontIndirect(&lfVert);

    // The bold icon-title font goes with the command fonts; it comes back
    // from the icon-title font at once rather than at the next refresh.
    LOGFONTA lfIcon;
    if (m_fontIcon.GetSafeHandle() && m_fontIcon.GetLogFont(&lfIcon)) {
        lfIcon.lfWeight = FW_BOLD;
        m_fontIconBold.CreateFontIndirect(&lfIcon);
    }

    m_nTextHeight = SpaceHeight((HFONT)m_fontRegular.GetSafeHandle()) + 6;
}

int CQXPThemePainter::GetControlHeight() const { return max(m_nTextHeight, 22); }

CSize CQXPThemePainter::GetAutoIconSize(BOOL bLarge) const
{
    if (!m_bAutoResizeIcons)
        return bLarge ? CSize(32, 32) : CSize(16, 16);
    int h = max(m_nTextHeight, 22);
    int n = (bLarge ? 2 * h - 8 : h - 4) / 8;
    if (n < 2)
        n = 2;
    return CSize(n * 8, n * 8);
}

int CQXPThemePainter::GetStatusBarMinHeight() const
{
    int h = SpaceHeight((HFONT)m_fontStatus.GetSafeHandle()) + 6;
    return max(h, 20);
}

void CQXPThemePainter::RefreshMetrics()
{
    RefreshFonts();
    ToolkitColorManager::Refresh();
    m_colors.RefreshFrom(*ToolkitColorManager::Instance());

    m_grcNeutral.Set(GetColor(COLOR_BTNFACE), GetColor(COLOR_BTNSHADOW), 0.5f);
    m_clrStatusTextColor = GetColor(COLOR_BTNTEXT);
    m_clrFloatingGripper.SetStandard(GetColor(COLOR_BTNSHADOW));
    m_clrFloatingGripperText.SetStandard(GetColor(COLOR_BTNHIGHLIGHT));
    m_clrShadow.SetStandard(ToolkitColorManager::Instance()->GetColor(qxColorShadow));

    m_themeStatusBar.CloseThemeData();
    if (m_bThemedStatusBar && m_themeStatusBar.OpenThemeData(NULL, L"STATUS")) {
        COLORREF clr;
        if (SUCCEEDED(m_themeStatusBar.GetThemeColor(1, 0, 3803, &clr)))
            m_clrStatusTextColor = clr;
    }
    m_themeButton.CloseThemeData();
    if (m_bThemedCheckBox)
        m_themeButton.OpenThemeData(NULL, L"BUTTON");

    m_pGalleryPainter->RefreshMetrics();
}

// ---------------------------------------------------------------------------
// Simple drawing.

void CQXPThemePainter::Rectangle(CDC* pDC, CRect rc, int nPen, int nBrush)
{
    if (nBrush != -1)
        pDC->FillSolidRect(rc, GetColor(nBrush));
    if (nPen != -1 && nPen != nBrush) {
        COLORREF clr = GetColor(nPen);
        pDC->Draw3dRect(rc, clr, clr);
    }
}

void CQXPThemePainter::Draw3dRect(CDC* pDC, CRect rc, int nTopLeft, int nBottomRight)
{
    pDC->Draw3dRect(rc, GetColor(nTopLeft), GetColor(nBottomRight));
}

void CQXPThemePainter::HorizontalLine(CDC* pDC, int x0, int y, int x1, COLORREF clr)
{
    if (x1 > x0)
        pDC->FillSolidRect(x0, y, x1 - x0, 1, clr);
}

void CQXPThemePainter::VerticalLine(CDC* pDC, int x, int y0, int y1, COLORREF clr)
{
    if (y1 > y0)
        pDC->FillSolidRect(x, y0, 1, y1 - y0, clr);
}

void CQXPThemePainter::DrawTriangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr)
{
    DrawFilledTriangle(pDC->GetSafeHdc(), pt0, pt1, pt2, clr);
}

void CQXPThemePainter::FillGradient(CDC* pDC, CRect rc, COLORREF clrA, COLORREF clrB, BOOL bHorz)
{
    DrawHelpers::Instance()->FillGradient(pDC->GetSafeHdc(), rc, clrA, clrB, bHorz);
}

void CQXPThemePainter::FillGradient(CDC* pDC, CRect rc, const GradientColorValue& value, BOOL bHorz, LPCRECT lpClip)
{
    DrawHelpers::Instance()->FillGradientValue(pDC->GetSafeHdc(), rc, value, bHorz, lpClip);
}

void CQXPThemePainter::Line(CDC* pDC, int x0, int y0, int x1, int y1, int nColor)
{
    PenSelector pen(pDC->GetSafeHdc(), GetColor(nColor));
    DrawLine(pDC, x0, y0, x1, y1);
}

void CQXPThemePainter::DrawLine(CDC* pDC, int x0, int y0, int x1, int y1)
{
    pDC->MoveTo(x0, y0);
    pDC->LineTo(x1, y1);
}

void AFXAPI CQXPThemePainter::StripAccelerator(CString& str) { ::StripAccelerator(str); }

void AFXAPI CQXPThemePainter::SplitCaption(const CString& strCaption, CString& strFirstLine, CString& strSecondLine)
{
    strFirstLine = strCaption;
    strSecondLine.Empty();
    int n = strCaption.GetLength();
    if (n < 4 || strCaption.Find(' ', 1) < 0)
        return;
    int nMid = n / 2;
    for (int d = 0; d <= n; ++d) {
        int nLeft = nMid - d;
        int nRight = nMid + d;
        int nAt = -1;
        if (nLeft >= 1 && strCaption[nLeft] == ' ')
            nAt = nLeft;
        else if (nRight >= 1 && nRight < n && strCaption[nRight] == ' ')
            nAt = nRight;
        if (nAt >= 0) {
            strFirstLine = strCaption.Left(nAt);
            strSecondLine = strCaption.Mid(nAt + 1);
            return;
        }
        if (nLeft < 1 && nRight >= n)
            break;
    }
}

void AFXAPI CQXPThemePainter::MixPixel(CDC* pDC, int x, int y, COLORREF c, COLORREF clrB, double f)
{
    COLORREF e;
    if (f >= 0)
        e = pDC->GetPixel(x, y);
    else {
        e = clrB;
        f = -f;
    }
    auto mix = [f](int a, int b) { return (int)(a + (b - a) * f) & 0xFF; };
    COLORREF r = RGB(mix(GetRValue(c), GetRValue(e)), mix(GetGValue(c), GetGValue(e)), mix(GetBValue(c), GetBValue(e)));
    pDC->SetPixelV(x, y, r);
}

// ---------------------------------------------------------------------------
// Controls: dispatch, state colours, backgrounds.

CSize CQXPThemePainter::DrawControl(CDC* pDC, CQXPControlView* pControl, BOOL bDraw)
{
    if (!pControl)
        return CSize(0, 0);
    switch (pControl->GetType()) {
    case qxpControlEdit:
        return DrawControlEdit(pDC, pControl, bDraw);
    case qxpControlComboBox:
        return DrawControlComboBox(pDC, pControl, bDraw);
    default:
        break;
    }
    if (IsPopupBar(pControl->GetParentBar()))
        return DrawControlPopupParent(pDC, pControl, bDraw);
    return DrawControlToolBarParent(pDC, pControl, bDraw);
}

COLORREF CQXPThemePainter::GetControlStateColor(CQXPControlView* pControl)
{
    return GetColor(IsControlEnabled(pControl) ? 5 : 15);
}

void CQXPThemePainter::DrawControlBackground(CDC* pDC, CQXPControlView* pControl)
{
    CQXPBarView* pBar = pControl->GetParentBar();
    DrawRectangle(pDC, pControl->GetRect(), pControl->GetSelected(), pControl->GetPressed(),
                  IsControlEnabled(pControl), pControl->GetChecked(), pControl->GetPopped(), BarType(pBar),
                  BarPosition(pBar));
}

COLORREF CQXPThemePainter::GetControlTextColor(CQXPControlView* pControl)
{
    CQXPBarView* pBar = pControl->GetParentBar();
    int nType = pControl->GetType();
    BOOL bEnabled = IsControlEnabled(pControl);
    if ((nType == qxpControlCheckBox || nType == qxpControlRadioButton) && !IsPopupBar(pBar))
        return GetRectangleTextColor(0, FALSE, bEnabled, 0, FALSE, BarType(pBar), BarPosition(pBar));
    return GetRectangleTextColor(pControl->GetSelected(), pControl->GetPressed(), bEnabled, pControl->GetChecked(),
                                 pControl->GetPopped(), BarType(pBar), BarPosition(pBar));
}

// ---------------------------------------------------------------------------
// Bars.

CSize CQXPThemePainter::DrawCommandBarGripper(CDC* pDC, CQXPBarView* pBar, BOOL bDraw)
{
    if (!pBar || pBar->GetPosition() != qxpBarFloating)
        return CSize(0, 0);
    CRect rcClient = pBar->GetBarClientRect();
    int nBottom = 18;
    {
        HDC hdc = ::CreateCompatibleDC(NULL);
        HGDIOBJ hOld = ::SelectObject(hdc, m_fontSmCaption.GetSafeHandle() ? m_fontSmCaption.GetSafeHandle()
                                                                           : ::GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICA tm;
        if (::GetTextMetricsA(hdc, &tm) && tm.tmHeight >= 15)
            nBottom = tm.tmHeight + 3;
        ::SelectObject(hdc, hOld);
        ::DeleteDC(hdc);
    }
    CRect rcCaption(3, 3, rcClient.Width() - 3, nBottom);
    if (bDraw && pDC) {
        pDC->FillSolidRect(rcCaption, GetColor(m_clrFloatingGripper));
        CRect rcText(5, rcCaption.top, rcCaption.right - 2 * rcCaption.Height(), rcCaption.bottom);
        ScopedFont font(pDC, &m_fontSmCaption);
        int nMode = pDC->SetBkMode(TRANSPARENT);
        COLORREF clrOld = pDC->SetTextColor(GetColor(m_clrFloatingGripperText));
        CString strTitle = pBar->GetTitle();
        pDC->DrawText(strTitle, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        pDC->SetTextColor(clrOld);
        pDC->SetBkMode(nMode);
    }
    return CSize(rcCaption.Width(), rcCaption.Height());
}

CRect CQXPThemePainter::GetCommandBarBorders(CQXPBarView* /*pBar*/) { return CRect(2, 2, 2, 2); }

void CQXPThemePainter::FillDockBar(CDC* pDC, CWnd* pDockBar)
{
    CRect rc = GetWindowRectOf(pDockBar);
    pDC->FillSolidRect(CRect(0, 0, rc.Width(), rc.Height()), GetColor(COLOR_BTNFACE));
}

void CQXPThemePainter::SetBarRegion(CQXPBarView* pBar)
{
    HWND hWnd = pBar ? pBar->GetBarHwnd() : NULL;
    if (hWnd && ::IsWindow(hWnd))
        ::SetWindowRgn(hWnd, NULL, TRUE);
}

// ---------------------------------------------------------------------------
// Status bar.

void CQXPThemePainter::FillStatusBar(CDC* pDC, CRect rcClient)
{
    if (m_themeStatusBar.IsAppThemed() &&
        SUCCEEDED(m_themeStatusBar.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, rcClient)))
        return;
    pDC->FillSolidRect(rcClient, GetColor(COLOR_BTNFACE));
}

void CQXPThemePainter::DrawStatusBarPane(CDC* pDC, CRect& rc, CQXPStatusPaneView* pPane)
{
    if (!pPane)
        return;
    COLORREF clrBack = pPane->GetBackgroundColor();
    if (clrBack != (COLORREF)-1) {
        CRect rcFill(rc);
        if (!(pPane->GetStyle() & CQXPStatusPaneView::styleNoBorders))
            rcFill.DeflateRect(1, 1);
        pDC->FillSolidRect(rcFill, GetColor((int)clrBack));
    }
    if (pPane->IsButton())
        DrawStatusBarPaneButton(pDC, rc, pPane);

    CString strText = pPane->GetText();
    if (strText.IsEmpty())
        return;
    CRect rcText(rc);
    rcText.DeflateRect(pPane->GetMargins());
    HFONT hFont = pPane->GetFont();
    ScopedFont font(pDC->GetSafeHdc(), hFont ? hFont : (HFONT)m_fontStatus.GetSafeHandle());
    COLORREF clrText = pPane->GetTextColor();
    if (clrText == (COLORREF)-1)
        clrText = pPane->IsEnabled() ? m_clrStatusTextColor : GetColor(COLOR_GRAYTEXT);
    COLORREF clrOld = pDC->SetTextColor(clrText);
    int nMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strText, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | pPane->GetTextAlignment());
    pDC->SetBkMode(nMode);
    pDC->SetTextColor(clrOld);
}

void CQXPThemePainter::DrawStatusBarPaneButton(CDC* pDC, CRect rc, CQXPStatusPaneView* pPane)
{
    if (!pPane)
        return;
    if (pPane->IsCurrent() || pPane->IsPressed() || (pPane->GetStyle() & CQXPStatusPaneView::styleButtonFace)) {
        rc.DeflateRect(m_rcStatusBarMargins);
        DrawRectangle(pDC, rc, pPane->IsCurrent(), pPane->IsPressed(), pPane->IsEnabled(), FALSE, FALSE,
                      qxpBarTypeNormal, qxpBarBottom);
    }
}

void CQXPThemePainter::DrawStatusPaneBorder(CDC* pDC, CRect rc, CQXPStatusPaneView* pPane, BOOL bLastPane)
{
    if (pPane && (pPane->GetStyle() & CQXPStatusPaneView::styleNoBorders))
        return;
    if (m_themeStatusBar.IsAppThemed() &&
        SUCCEEDED(m_themeStatusBar.DrawThemeBackground(pDC->GetSafeHdc(), bLastPane ? 2 : 1, 0, rc)))
        return;
    Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
}

void CQXPThemePainter::DrawStatusGripper(CDC* pDC, CRect rcGripper)
{
    // The theme's gripper part goes in the corner box, not the whole bar (the
    // theme centres the part in the rectangle it is given).
    if (m_themeStatusBar.IsAppThemed()) {
        CRect rcCorner(std::max(rcGripper.left, rcGripper.right - ::GetSystemMetrics(SM_CXVSCROLL)), rcGripper.top,
                       rcGripper.right, rcGripper.bottom);
        if (SUCCEEDED(m_themeStatusBar.DrawThemeBackground(pDC->GetSafeHdc(), 3, 0, rcCorner)))
            return;
    }
    // Three groups of diagonals in the bottom-right corner, 4 pixels apart:
    // two shadow lines and one highlight line each.
    int r = rcGripper.right - 1;
    int b = rcGripper.bottom - 1;
    for (int i = 0; i < 3; ++i) {
        int d = 4 * i;
        Line(pDC, r - d - 1, b, r + 1, b - d - 2, COLOR_BTNSHADOW);
        Line(pDC, r - d - 2, b, r + 1, b - d - 3, COLOR_BTNSHADOW);
        Line(pDC, r - d - 3, b, r + 1, b - d - 4, COLOR_BTNHIGHLIGHT);
    }
}

// ---------------------------------------------------------------------------
// Expand buttons.

static void DrawStrokes(CDC* pDC, const POINT* pts, int n)
{
    pDC->MoveTo(pts[0].x, pts[0].y);
    for (int i = 1; i < n; ++i)
        pDC->LineTo(pts[i].x, pts[i].y);
}

CSize CQXPThemePainter::DrawExpandButton(CDC* pDC, int nKind, CQXPControlView* pControl, CQXPBarView* pBar,
                                         BOOL bDraw, int nParam1, int nParam2)
{
    int nPosition = BarPosition(pBar);
    BOOL bVertKind = nPosition == qxpBarLeft || nPosition == qxpBarRight || nPosition == qxpBarPopup;

    if (nKind == qxpExpandToolbar) {
        if (!bDraw) {
            int w = nParam1, h = nParam2;
            if (pControl) {
                if (bVertKind)
                    pControl->SetRect(CRect(2, h - 13, w - 2, h - 2));
                else
                    pControl->SetRect(CRect(w - 13, 2, w - 2, h - 2));
            }
            return CSize(0, 0);
        }
        if (!pDC || !pControl)
            return CSize(0, 0);
        DrawControlBackground(pDC, pControl);
        COLORREF clr = GetControlTextColor(pControl);
        CRect rc = pControl->GetRect();
        PenSelector pen(pDC->GetSafeHdc(), clr);
        if (bVertKind) {
            DrawTriangle(pDC, CPoint(rc.left + 6, rc.top + 3), CPoint(rc.left + 6, rc.top + 7),
                         CPoint(rc.left + 4, rc.top + 5), clr);
            if (nParam1) {
                const int ks[] = {2, 3, 6, 7};
                for (int k : ks) {
                    POINT pts[] = {{rc.right - 8, rc.top + k}, {rc.right - 6, rc.top + k + 2}, {rc.right - 3, rc.top + k - 1}};
                    DrawStrokes(pDC, pts, 3);
                }
            }
        } else {
            int cx = rc.CenterPoint().x;
            DrawTriangle(pDC, CPoint(cx - 2, rc.bottom - 7), CPoint(cx + 2, rc.bottom - 7), CPoint(cx, rc.bottom - 5),
                         clr);
            if (nParam1) {
                const int js[] = {2, 3, 6, 7};
                for (int j : js) {
                    POINT pts[] = {{rc.left + j, rc.top + 4}, {rc.left + j + 2, rc.top + 6}, {rc.left + j - 1, rc.top + 9}};
                    DrawStrokes(pDC, pts, 3);
                }
            }
        }
        return CSize(0, 0);
    }

    if (nKind == qxpExpandPopup) {
        if (bDraw && pDC && pControl) {
            DrawControlBackground(pDC, pControl);
            CRect rc = pControl->GetRect();
            int cx = rc.CenterPoint().x;
            PenSelector pen(pDC->GetSafeHdc(), RGB(0, 0, 0));
            const int ks[] = {2, 3, 6, 7};
            for (int k : ks) {
                POINT pts[] = {{cx - 2, rc.top + k}, {cx, rc.top + k + 2}, {cx + 3, rc.top + k - 1}};
                DrawStrokes(pDC, pts, 3);
            }
        }
        return CSize(0, 12);
    }

    if (!bDraw || !pDC || !pControl)
        return CSize(0, 0);

    CRect rc = pControl->GetRect();
    if (nKind == qxpExpandFloatClose) {
        CFont font;
        int nDpi = pDC->GetDeviceCaps(LOGPIXELSY);
        font.CreatePointFont(MulDiv(80, 96, nDpi ? nDpi : 96), "Marlett", pDC);
        DrawControlBackground(pDC, pControl);
        COLORREF clr = (pControl->GetPressed() || pControl->GetSelected()) ? GetControlTextColor(pControl)
                                                                           : GetColor(m_clrFloatingGripperText);
        ScopedFont sel(pDC, &font);
        COLORREF clrOld = pDC->SetTextColor(clr);
        int nMode = pDC->SetBkMode(TRANSPARENT);
        pDC->DrawText("r", 1, rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        pDC->SetBkMode(nMode);
        pDC->SetTextColor(clrOld);
    } else if (nKind == qxpExpandFloatMenu) {
        DrawControlBackground(pDC, pControl);
        COLORREF clr = (pControl->GetSelected() || pControl->GetPopped()) ? GetControlTextColor(pControl)
                                                                          : GetColor(m_clrFloatingGripperText);
        CPoint c = rc.CenterPoint();
        DrawTriangle(pDC, CPoint(c.x - 3, c.y - 2), CPoint(c.x + 3, c.y - 2), CPoint(c.x, c.y + 1), clr);
    }
    (void)nParam2;
    return CSize(0, 0);
}

void CQXPThemePainter::DrawSpecialControl(CSize* pSize, CDC* pDC, int nKind, CQXPControlView* pControl,
                                          CQXPBarView* pBar, BOOL bDraw, int nParam1, int nParam2)
{
    CSize sz = DrawExpandButton(pDC, nKind, pControl, pBar, bDraw && pDC, nParam1, nParam2);
    if (pSize)
        *pSize = sz;
}

void CQXPThemePainter::DrawTearOffStrip(CSize* pSize, CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw)
{
    CSize sz = DrawTearOffGripper(pDC, rc, bSelected, bDraw && pDC);
    if (pSize)
        *pSize = sz;
}

// ---------------------------------------------------------------------------
// Marks and glyphs.

static int CheckBoxState(int nSelected, BOOL bPressed, int nChecked, BOOL bEnabled)
{
    int nState = !bEnabled ? 4 : (bPressed ? 3 : (nSelected ? 2 : 1));
    if (nChecked == 1)
        nState += 4;
    else if (nChecked == 2)
        nState += 8;
    return nState;
}

CSize CQXPThemePainter::DrawCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, int nSelected, BOOL bPressed, int nChecked,
                                         BOOL bEnabled)
{
    if (bDraw && pDC) {
        if (!(m_themeButton.IsAppThemed() &&
              SUCCEEDED(m_themeButton.DrawThemeBackground(pDC->GetSafeHdc(), 3,
                                                          CheckBoxState(nSelected, bPressed, nChecked, bEnabled), rc)))) {
            UINT nState = DFCS_BUTTONCHECK | DFCS_FLAT;
            if (nChecked)
                nState |= DFCS_CHECKED;
            if (bPressed)
                nState |= DFCS_PUSHED;
            if (!bEnabled)
                nState |= DFCS_INACTIVE;
            CRect r(rc);
            pDC->DrawFrameControl(r, DFC_BUTTON, nState);
        }
    }
    return CSize(13, 13);
}

CSize CQXPThemePainter::DrawRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, int nSelected, BOOL bPressed,
                                            int nChecked, BOOL bEnabled)
{
    if (bDraw && pDC) {
        int nState = !bEnabled ? 4 : (bPressed ? 3 : (nSelected ? 2 : 1));
        if (nChecked)
            nState += 4;
        if (!(m_themeButton.IsAppThemed() &&
              SUCCEEDED(m_themeButton.DrawThemeBackground(pDC->GetSafeHdc(), 2, nState, rc)))) {
            UINT nFlags = DFCS_BUTTONRADIO | DFCS_FLAT;
            if (nChecked)
                nFlags |= DFCS_CHECKED;
            if (bPressed)
                nFlags |= DFCS_PUSHED;
            if (!bEnabled)
                nFlags |= DFCS_INACTIVE;
            CRect r(rc);
            pDC->DrawFrameControl(r, DFC_BUTTON, nFlags);
        }
    }
    return CSize(13, 13);
}

void CQXPThemePainter::FillPopupGutter(CDC*, CRect, BOOL) {}

void CQXPThemePainter::DrawCheckMark(CDC* pDC, CRect rc, COLORREF clr)
{
    CPoint c = rc.CenterPoint();
    PenSelector pen(pDC->GetSafeHdc(), clr);
    BOOL bRTL = IsLayoutRTL(pDC->GetSafeHdc());
    int nPasses = m_bThickCheckMark ? 2 : 1;
    for (int pass = 0; pass < nPasses; ++pass) {
        int dy = pass;
        if (bRTL) {
            POINT a[] = {{c.x - 4, c.y - 3 + dy}, {c.x, c.y + 1 + dy}, {c.x + 3, c.y - 2 + dy}};
            POINT b[] = {{c.x - 4, c.y - 2 + dy}, {c.x, c.y + 2 + dy}, {c.x + 3, c.y - 1 + dy}};
            DrawStrokes(pDC, a, 3);
            DrawStrokes(pDC, b, 3);
        } else {
            POINT a[] = {{c.x - 4, c.y - 1 + dy}, {c.x - 2, c.y + 1 + dy}, {c.x + 3, c.y - 4 + dy}};
            POINT b[] = {{c.x - 4, c.y + dy}, {c.x - 2, c.y + 2 + dy}, {c.x + 3, c.y - 3 + dy}};
            DrawStrokes(pDC, a, 3);
            DrawStrokes(pDC, b, 3);
        }
    }
}

void CQXPThemePainter::DrawDot(CDC* pDC, CRect rc, COLORREF clr)
{
    clr = GetColor((int)clr);
    const int nSize = 6;
    CPoint c = rc.CenterPoint();
    int x0 = c.x - nSize / 2, y0 = c.y - nSize / 2;
    double r = (nSize - 1) / 2.0 - 0.25;
    double cx = x0 + nSize / 2.0, cy = y0 + nSize / 2.0;
    for (int y = y0; y < y0 + nSize; ++y) {
        for (int x = x0; x < x0 + nSize; ++x) {
            double d = std::sqrt((x + 0.5 - cx) * (x + 0.5 - cx) + (y + 0.5 - cy) * (y + 0.5 - cy));
            if (d < r - 1)
                pDC->SetPixelV(x, y, clr);
            else if (d <= r + 1) {
                // From r outwards the existing pixel shows through in
                // proportion d - r; inside r the colour stays whole.
                double f = d - r;
                if (f > 1)
                    f = 1;
                MixPixel(pDC, x, y, clr, clr, f);
            }
        }
    }
}

void CQXPThemePainter::DrawDownArrow(CDC* pDC, CRect rc, COLORREF clr)
{
    int w = (rc.right - rc.left) / 2;
    int k = w > 5 ? w - 4 : 2;
    int cx = (rc.left + rc.right) / 2;
    int y = (rc.top + rc.bottom) / 2 - k / 2;
    DrawTriangle(pDC, CPoint(cx - k, y), CPoint(cx + k, y), CPoint(cx, y + k), GetColor((int)clr));
}

void CQXPThemePainter::DrawDropDownGlyph(CDC* pDC, CQXPControlView*, CPoint pt, int, BOOL, BOOL, BOOL bVert)
{
    COLORREF clr = pDC->GetTextColor();
    if (bVert)
        DrawTriangle(pDC, CPoint(pt.x + 1, pt.y - 2), CPoint(pt.x + 1, pt.y + 2), CPoint(pt.x - 1, pt.y), clr);
    else
        DrawSmallDownTriangle(pDC, pt, clr);
}

void CQXPThemePainter::DrawSmallDownTriangle(CDC* pDC, CPoint c, COLORREF clr)
{
    DrawTriangle(pDC, CPoint(c.x - 2, c.y - 1), CPoint(c.x + 2, c.y - 1), CPoint(c.x, c.y + 1), clr);
}

void CQXPThemePainter::DrawSpinArrows(CDC* pDC, CRect rcUp, CRect rcDown, COLORREF clr)
{
    CPoint u = rcUp.CenterPoint(), d = rcDown.CenterPoint();
    DrawTriangle(pDC, CPoint(u.x - 2, u.y + 1), CPoint(u.x + 2, u.y + 1), CPoint(u.x, u.y - 1), clr);
    DrawTriangle(pDC, CPoint(d.x - 2, d.y - 1), CPoint(d.x + 2, d.y - 1), CPoint(d.x, d.y + 1), clr);
}

CRect CQXPThemePainter::GetFieldRect(CQXPControlView* pControl)
{
    CRect rc = pControl->GetRect();
    CQXPControlView::EditLayout* pLayout = pControl->GetEditLayout();
    if (pLayout)
        rc.left += pLayout->nLabelWidth;
    return rc;
}

void CQXPThemePainter::DrawFieldText(CDC* pDC, CQXPControlView* pControl, CRect rcText, BOOL bEnabled)
{
    CString strText = pControl->GetEditText();
    if (!strText.IsEmpty())
        DrawSingleLineText(pDC, strText, rcText, bEnabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
}

void CQXPThemePainter::DrawSingleLineText(CDC* pDC, const CString& strText, CRect rcText, int nColor)
{
    ScopedFont font(pDC, &m_fontRegular);
    COLORREF clrOld = pDC->SetTextColor(GetColor(nColor));
    int nMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strText, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    pDC->SetBkMode(nMode);
    pDC->SetTextColor(clrOld);
}

// ---------------------------------------------------------------------------
// Animations.

void CQXPThemePainter::AnimatePopup(CDC* pDestDC, CDC* pSrcDC, CRect rc, int nAnimationType)
{
    int nSteps = m_nAnimationSteps;
    if (nSteps <= 0 || !pDestDC || !pSrcDC || rc.IsRectEmpty())
        return;
    int nStepTime = m_nAnimationDuration / nSteps;
    int w = rc.Width(), h = rc.Height();

    if (nAnimationType == qxpAnimateUnfold) {
        for (int i = 1; i <= nSteps; ++i) {
            int cw = w * i / nSteps, ch = h * i / nSteps;
            pDestDC->BitBlt(rc.left, rc.top, cw, ch, pSrcDC, rc.right - cw, rc.bottom - ch, SRCCOPY);
            ::Sleep(nStepTime);
        }
    } else if (nAnimationType == qxpAnimateSlide) {
        for (int i = 1; i <= nSteps; ++i) {
            int ch = h * i / nSteps;
            pDestDC->BitBlt(rc.left, rc.top, w, ch, pSrcDC, rc.left, rc.bottom - ch, SRCCOPY);
            ::Sleep(nStepTime);
        }
    } else if (nAnimationType == qxpAnimateFade) {
        BYTE* pOld = NULL;
        BYTE* pNew = NULL;
        BYTE* pOut = NULL;
        HBITMAP hOld = Create32BitDIBSection(pDestDC->GetSafeHdc(), w, h, &pOld);
        HBITMAP hNew = Create32BitDIBSection(pDestDC->GetSafeHdc(), w, h, &pNew);
        HBITMAP hOut = Create32BitDIBSection(pDestDC->GetSafeHdc(), w, h, &pOut);
        if (hOld && hNew && hOut && pOld && pNew && pOut) {
            HDC hdcMem = ::CreateCompatibleDC(pDestDC->GetSafeHdc());
            HGDIOBJ hPrev = ::SelectObject(hdcMem, hOld);
            ::BitBlt(hdcMem, 0, 0, w, h, pDestDC->GetSafeHdc(), rc.left, rc.top, SRCCOPY);
            ::SelectObject(hdcMem, hNew);
            ::BitBlt(hdcMem, 0, 0, w, h, pSrcDC->GetSafeHdc(), rc.left, rc.top, SRCCOPY);
            ::GdiFlush();
            ::SelectObject(hdcMem, hOut);
            size_t nBytes = (size_t)w * (size_t)h * 4;
            for (int k = 1; k < nSteps; ++k) {
                DWORD dwStart = ::GetTickCount();
                int a = 255 * k / nSteps;
                for (size_t i = 0; i < nBytes; ++i)
                    pOut[i] = (BYTE)((pNew[i] * a + pOld[i] * (255 - a)) >> 8);
                ::BitBlt(pDestDC->GetSafeHdc(), rc.left, rc.top, w, h, hdcMem, 0, 0, SRCCOPY);
                DWORD dwSpent = ::GetTickCount() - dwStart;
                if ((int)dwSpent < nStepTime)
                    ::Sleep(nStepTime - dwSpent);
            }
            ::SelectObject(hdcMem, hPrev);
            ::DeleteDC(hdcMem);
        }
        if (hOld)
            ::DeleteObject(hOld);
        if (hNew)
            ::DeleteObject(hNew);
        if (hOut)
            ::DeleteObject(hOut);
    }
}

void CQXPThemePainter::AnimateStretch(CDC* pDestDC, CRect rcDest, CDC* pSrcDC, CRect rcSrc)
{
    ::AnimateStretch(pDestDC->GetSafeHdc(), rcDest, pSrcDC->GetSafeHdc(), rcSrc, m_nAnimationSteps,
                     m_nAnimationDuration);
}

void CQXPThemePainter::AnimateExpand(CQXPBarView* pBar, CDC* pWindowDC, CDC* pBufferDC, BOOL bGrewDownward)
{
    if (!pBar || !pWindowDC || !pBufferDC)
        return;
    CRect rc = pBar->GetBarClientRect();
    int nSteps = m_bEnableAnimation ? m_nAnimationSteps : 0;
    if (nSteps > 0) {
        int nStepTime = m_nAnimationDuration / nSteps;
        for (int i = 1; i < nSteps; ++i) {
            int ch = rc.Height() * i / nSteps;
            int y = bGrewDownward ? rc.top : rc.bottom - ch;
            pWindowDC->BitBlt(rc.left, y, rc.Width(), ch, pBufferDC, rc.left, y, SRCCOPY);
            ::Sleep(nStepTime);
        }
    }
    pWindowDC->BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), pBufferDC, rc.left, rc.top, SRCCOPY);
}

// ---------------------------------------------------------------------------
// Popup bars and small boxes.

int CQXPThemePainter::GetSplitDropDownWidth(CQXPBarView* pBar)
{
    if (!IsPopupBar(pBar))
        return 0;
    int nColumn = GetPopupIconColumnSize(pBar->GetIconSize()).cx;
    return nColumn * (pBar->IsDoubleIconColumn() ? 2 : 1) + 1;
}

void CQXPThemePainter::FillShadedRect(CDC* pDC, CRect rc) { pDC->FillSolidRect(rc, GetColor(COLOR_APPWORKSPACE)); }

void CQXPThemePainter::FillWorkspace(CDC* pDC, CRect rcClient, CRect rcInner)
{
    if (!pDC)
        return;
    int nSaved = pDC->SaveDC();
    if (!rcInner.IsRectEmpty())
        pDC->ExcludeClipRect(&rcInner);
    pDC->FillSolidRect(rcClient, GetColor(COLOR_APPWORKSPACE));
    pDC->RestoreDC(nSaved);
}

void CQXPThemePainter::DrawListBoxControl(CDC* pDC, CRect rc, BOOL bSelected)
{
    // The entries draw their own selection over the window colour.
    (void)bSelected;
    pDC->FillSolidRect(rc, GetColor(COLOR_WINDOW));
}

void CQXPThemePainter::DrawFramedCaption(CDC* pDC, CRect rc, LPCSTR lpszCaption, int nSelected, BOOL bEnabled)
{
    pDC->FillSolidRect(rc, GetColor(COLOR_INFOBK));
    COLORREF clrFrame = ::GetSysColor(COLOR_BTNSHADOW);
    pDC->Draw3dRect(rc, clrFrame, clrFrame);
    if (lpszCaption && *lpszCaption) {
        COLORREF clrOld = pDC->SetTextColor(
            GetRectangleTextColor(nSelected, FALSE, bEnabled, 0, FALSE, qxpBarTypeNormal, qxpBarTop));
        int nMode = pDC->SetBkMode(TRANSPARENT);
        CRect rcText(rc);
        pDC->DrawText(lpszCaption, -1, rcText, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        pDC->SetBkMode(nMode);
        pDC->SetTextColor(clrOld);
    }
}

CSize CQXPThemePainter::GetPopupIconColumnSize(CSize szIcon)
{
    return CSize(max(m_nTextHeight, (int)szIcon.cx) + 4, max(m_nTextHeight, (int)szIcon.cy + 6));
}

void CQXPThemePainter::DrawKeyboardTip(CDC* pDC, CWnd* pTipWnd, BOOL bSkip)
{
    if (bSkip || !pDC || !pTipWnd)
        return;
    CRect rc = GetClientRectOf(pTipWnd);
    pDC->FillSolidRect(rc, GetColor(COLOR_INFOBK));
    COLORREF clrFrame = GetColor(COLOR_BTNSHADOW);
    pDC->Draw3dRect(rc, clrFrame, clrFrame);
    CString strText;
    pTipWnd->GetWindowText(strText);
    ScopedFont font(pDC, &m_fontRegular);
    COLORREF clrOld = pDC->SetTextColor(GetColor(COLOR_INFOTEXT));
    int nMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strText, rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    pDC->SetBkMode(nMode);
    pDC->SetTextColor(clrOld);
}

// ---------------------------------------------------------------------------
// The global paint manager.

static CQXPThemePainter* s_pGlobalPaintManager = NULL;

CQXPThemePainter* AFXAPI GetGlobalPaintManager()
{
    if (!s_pGlobalPaintManager)
        SetGlobalPaintManager(0);
    return s_pGlobalPaintManager;
}

BOOL AFXAPI HasGlobalPaintManager() { return s_pGlobalPaintManager != NULL; }

void AFXAPI SetGlobalPaintManager(int nTheme)
{
    CQXPThemePainter* pNew = CreateThemePainter(nTheme);
    CQXPThemePainter* pOld = s_pGlobalPaintManager;
    s_pGlobalPaintManager = pNew;
    if (pOld)
        pOld->InternalRelease();
    if (pNew) {
        pNew->m_nThemeNumber = 7;
        pNew->RefreshMetrics();
        pNew->m_nThemeNumber = nTheme;
    }
}

void AFXAPI SetGlobalPaintManager(CQXPThemePainter* pPaintManager)
{
    if (!pPaintManager) {
        if (!s_pGlobalPaintManager)
            SetGlobalPaintManager(0);
        return;
    }
    SetCustomPaintManager(pPaintManager);
}

void AFXAPI SetCustomPaintManager(CQXPThemePainter* pPaintManager)
{
    CQXPThemePainter* pOld = s_pGlobalPaintManager;
    s_pGlobalPaintManager = pPaintManager;
    if (pOld && pOld != pPaintManager)
        pOld->InternalRelease();
    if (pPaintManager) {
        pPaintManager->m_nThemeNumber = 7;
        pPaintManager->RefreshMetrics();
    }
}

void AFXAPI ReleaseGlobalPaintManager()
{
    CQXPThemePainter* pOld = s_pGlobalPaintManager;
    s_pGlobalPaintManager = NULL;
    if (pOld)
        pOld->InternalRelease();
}
