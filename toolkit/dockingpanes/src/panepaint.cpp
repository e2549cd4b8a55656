// The default docking-pane paint manager: metrics and plain drawing.
#include <qx/panepaint.h>
#include <qx/dockingpane.h>
#include <qx/panemanager.h>
#include <qx/tabbedcontainer.h>
#include <qx/tabpaint.h>
#include <qx/colors.h>
#include <qx/themeres.h>
#include <qx/drawing.h>
#include <qx/fonts.h>
#include <qx/visualstyles.h>
#include "turnedcopy.h"
#include <vsstyle.h>
#include <vssym32.h>

#include <algorithm>

// Theme 5: the room around a pane's body on its stripe colour.
static const int kStripedInset = 3;

// The height of a space in a font (NULL: the desktop DC's own font).
static int MeasureTextHeight(HFONT hFont)
{
    HDC hDC = ::GetDC(NULL);
    SIZE sz = {0, 0};
    {
        FontSelector font(hDC, hFont);
        ::GetTextExtentPoint32A(hDC, " ", 1, &sz);
    }
    ::ReleaseDC(NULL, hDC);
    return sz.cy;
}

int AFXAPI CDockingPanePaintManager::TabStripHeightForText(int nTextHeight)
{
    return nTextHeight >= 14 ? nTextHeight + 10 : 24;
}

CDockingPanePaintManager::CDockingPanePaintManager()
    : m_nTheme(0), m_nButtonStyle(0), m_nCaptionExtra(5), m_pTabPainter(new CQXPTabPainter()),
      m_pPanelTabPainter(new CQXPTabPainter()), m_nSplitterSize(4), m_nCaptionHeight(18), m_nTabStripHeight(22),
      m_nBorder(1), m_bShowCaption(TRUE), m_bAlwaysShowTabs(FALSE), m_hFont(NULL), m_bShowPanelIcons(TRUE), m_bDragSlidesOut(TRUE),
      m_clrActiveCaptionText(0), m_clrInactiveCaptionText(0), m_bGradientCaptions(FALSE), m_bHighlightActive(TRUE),
      m_nSplitterStyle(0), m_clrFace(0), m_clrBorder(0), m_bGradientButtons(FALSE), m_nLunaSelector(7)
{
    for (CVisualStyleTheme*& pStyle : m_pStyles)
        pStyle = new CVisualStyleTheme();
    m_bShowCaptionIcon = FALSE;
    m_nCaptionTextHeight = 13;
    SetRect(&m_rcCaptionMargin, 0, 2, 0, 1);
    m_clrBackground[0] = m_clrBackground[1] = 0;
    m_clrActiveCaption[0] = m_clrActiveCaption[1] = m_clrInactiveCaption[0] = m_clrInactiveCaption[1] = 0;
    m_clrPanelBack[0] = m_clrPanelBack[1] = (COLORREF)-1;
    for (COLORREF& c : m_clrTable)
        c = 0;
    // Auto-hide tabs: only the selected tab of a group shows its caption;
    // no client frame, the header gradient turned round.
    m_pPanelTabPainter->SetLayout(tabLayoutCompressed);
    m_pPanelTabPainter->m_nClientFrame = 2;
    m_pPanelTabPainter->m_bInvertGradient = TRUE;
    // Pane tabs: one line on the tab side joins them to the pane.
    m_pTabPainter->m_nClientFrame = 1;
    // Pane tabs sit below the pane; a tab dragged over selects its pane.
    m_pTabPainter->SetPosition(tabPositionBottom);
    m_pTabPainter->SetLayout(tabLayoutSizeToFit);
    m_pTabPainter->m_bActivateOnDragOver = TRUE;
    // Neither takes the desktop scheme's Luna colours unless the theme is
    // themed.
    m_pTabPainter->m_bThemed = m_pPanelTabPainter->m_bThemed = FALSE;
    RefreshMetrics();
}

CDockingPanePaintManager* AFXAPI CDockingPanePaintManager::CreateTheme(int nTheme)
{
    struct ThemeInfo {
        int buttonStyle;
        int captionExtra;
        int tabAppearance, tabColors; // -1: the appearance's default
        int panelAppearance, panelColors;
    };
    static const ThemeInfo kThemes[11] = {
        {0, 5, 0, -1, 0, -1},   // 0 default
        {1, 5, 5, -1, 6, -1},   // 1 gradient
        {2, 7, 2, 4, 2, 4},     // 2 Luna
        {3, 7, 0, 8, 0, 8},     // 3 native
        {1, 5, 0, -1, 0, -1},   // 4 gripper
        {2, 2, 8, -1, 6, -1},   // 5 striped
        {1, 5, 2, -1, 2, -1},   // 6 scheme
        {2, 3, 2, 4, 2, 4},     // 7 icon font
        {5, 9, 5, -1, 6, -1},   // 8 rebar (no visual style)
        {1, 5, 2, -1, 2, -1},   // 9 bordered
        {2, 7, 10, -1, 10, -1}, // 10 resource
    };
    if (nTheme < 1 || nTheme > 10)
        nTheme = 0;
    const ThemeInfo& t = kThemes[nTheme];
    CDockingPanePaintManager* p = new CDockingPanePaintManager();
    p->m_nTheme = nTheme;
    p->m_nButtonStyle = t.buttonStyle;
    p->m_nCaptionExtra = t.captionExtra;
    p->m_pTabPainter->SetAppearance(t.tabAppearance);
    if (t.tabColors > 0)
        p->m_pTabPainter->SetColor(t.tabColors);
    p->m_pPanelTabPainter->SetAppearance(t.panelAppearance);
    if (t.panelColors > 0)
        p->m_pPanelTabPainter->SetColor(t.panelColors);
    // Theme 9 is theme 6 with its own flat box tabs: separators between the
    // pane tabs, rounded auto-hide tabs.
    if (nTheme == 9) {
        p->m_pTabPainter->SetAppearanceSet(new CTabAppearanceFlatBox(FALSE, TRUE));
        p->m_pPanelTabPainter->SetAppearanceSet(new CTabAppearanceFlatBox(FALSE, FALSE));
    }
    // Theme 10's resource tabs keep 2 pixels at both ends and 1 above and
    // below.
    if (nTheme == 10) {
        for (CQXPTabPainter* pTabs : {p->m_pTabPainter, p->m_pPanelTabPainter}) {
            CTabAppearancePainter* pAppearance = new CTabAppearancePainter(10);
            SetRect(&pAppearance->m_rcHeaderMargin, 2, 1, 2, 1);
            pTabs->SetAppearanceSet(pAppearance);
        }
    }
    // Themes 6 and 9 (and 8): captions without margins, in the normal
    // weight; the auto-hide tabs of 6 and 9 each show their caption.
    if (nTheme == 6 || nTheme == 8 || nTheme == 9) {
        SetRectEmpty(&p->m_rcCaptionMargin);
        p->m_bKeepCaptionWeight = FALSE;
    }
    if (nTheme == 6 || nTheme == 9)
        p->m_pPanelTabPainter->SetLayout(tabLayoutAutoSize);
    // The docking themes' own tab colour sets.
    if (nTheme == 1) {
        p->m_pPanelTabPainter->SetDockingColorSet(tabDockingSetGradient, TRUE);
    } else if (nTheme == 6 || nTheme == 9) {
        const int nSet = nTheme == 6 ? tabDockingSetScheme : tabDockingSetBordered;
        p->m_pTabPainter->SetDockingColorSet(nSet, FALSE);
        p->m_pPanelTabPainter->SetDockingColorSet(nSet, TRUE);
        // Theme 6's pane tabs draw no client frame: the panes reach the
        // header's client-side row.
        if (nTheme == 6)
            p->m_pTabPainter->m_nClientFrame = 2;
    }
    // The strip captions: theme 2 fills its caption and leads with gripper
    // dots, theme 10 edges its strip and leads with dots, theme 7 neither.
    p->m_bGripperDots = nTheme == 2 || nTheme == 10;
    p->m_bFilledCaption = nTheme == 2;
    // The Luna, icon-font, resource and native themes draw themed tabs
    // (theme 8 decides at each refresh).
    const BOOL bThemedTabs = nTheme == 2 || nTheme == 7 || nTheme == 10 || nTheme == 3;
    p->m_pTabPainter->m_bThemed = p->m_pPanelTabPainter->m_bThemed = bThemedTabs;
    // Striped panes show their tabs at the top.
    p->m_pTabPainter->SetPosition(nTheme == 5 ? tabPositionTop : tabPositionBottom);
    p->RefreshMetrics();
    return p;
}

CDockingPanePaintManager::~CDockingPanePaintManager()
{
    delete m_pTabPainter;
    delete m_pPanelTabPainter;
    for (CVisualStyleTheme* pStyle : m_pStyles)
        delete pStyle;
    if (m_hFont)
        ::DeleteObject(m_hFont);
    if (m_hFontVertical)
        ::DeleteObject(m_hFontVertical);
}

COLORREF CDockingPanePaintManager::GetColor(int nIndex) const
{
    if (nIndex < 0 || nIndex > 62)
        return (COLORREF)nIndex;
    return m_clrTable[nIndex];
}

void CDockingPanePaintManager::SetColor(int nIndex, COLORREF clr)
{
    if (nIndex >= 0 && nIndex <= 62)
        m_clrTable[nIndex] = clr;
}

void CDockingPanePaintManager::RefreshMetrics()
{
    ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    pColors->RefreshColors();
    for (int i = 0; i <= 62; ++i)
        m_clrTable[i] = pColors->GetColor(i);
    m_clrPanelBack[0] = m_clrPanelBack[1] = GetColor(COLOR_3DFACE);
    RefreshThemeColors();
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    LOGFONTA lfIconTitle = {};
    if (!m_bUseSystemFont) {
        // A font of the program's own stays.
        if (!m_hFont)
            CreateCaptionFonts(NULL);
    } else if (m_nTheme == 7 &&
               ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lfIconTitle), &lfIconTitle, 0)) {
        // Theme 7 writes its captions in Arial at the icon titles' size
        // (whatever face the Tahoma preference would choose).
        lstrcpynA(lfIconTitle.lfFaceName, "Arial", LF_FACESIZE);
        CreateCaptionFonts(&lfIconTitle);
    } else if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
        if (!m_bKeepCaptionWeight)
            ncm.lfSmCaptionFont.lfWeight = FW_NORMAL;
        SetCaptionFont(&ncm.lfSmCaptionFont, TRUE);
    } else {
        CreateCaptionFonts(NULL);
    }
    static const LPCWSTR kClasses[vsCount] = {L"EXPLORERBAR", L"BUTTON", L"TOOLBAR", L"WINDOW", L"REBAR"};
    for (int i = 0; i < vsCount; ++i) {
        if (i != vsRebar || m_nTheme == 8)
            m_pStyles[i]->OpenThemeData(::GetDesktopWindow(), kClasses[i]);
    }
    if (m_nTheme == 8 && m_pTabPainter) {
        // Themed rebar captions go with visual-style tabs; the classic
        // ones with flat and box tabs.
        const BOOL bRebar = IsVisualStyleActive(vsRebar);
        struct {
            CQXPTabPainter* p;
            int classic;
        } tabs[] = {{m_pTabPainter, 5}, {m_pPanelTabPainter, 6}};
        for (auto& t : tabs) {
            const int nAppearance = bRebar ? 0 : t.classic;
            t.p->m_bThemed = bRebar;
            if (t.p->GetAppearance() != nAppearance || (bRebar && t.p->GetColor() != 8)) {
                t.p->SetAppearance(nAppearance);
                if (bRebar)
                    t.p->SetColor(8);
            }
        }
    }
    if (m_pTabPainter) {
        m_pTabPainter->RefreshMetrics();
        m_pPanelTabPainter->RefreshMetrics();
        m_nTabStripHeight = TabStripHeightForText(MeasureTextHeight(m_pTabPainter->GetFont(FALSE, FALSE)));
    }
}

void CDockingPanePaintManager::SetCaptionFont(const LOGFONTA* pLogFont, BOOL bUseSystem)
{
    m_bUseSystemFont = bUseSystem;
    if (pLogFont && bUseSystem && m_bPreferTahoma && pLogFont->lfCharSet <= 2 &&
        IsFontInstalled(m_strCaptionFaceName)) {
        LOGFONTA lf = *pLogFont;
        lstrcpynA(lf.lfFaceName, m_strCaptionFaceName, LF_FACESIZE);
        CreateCaptionFonts(&lf);
        return;
    }
    CreateCaptionFonts(pLogFont);
}

void CDockingPanePaintManager::CreateCaptionFonts(const LOGFONTA* pLogFont)
{
    if (m_hFont)
        ::DeleteObject(m_hFont);
    m_hFont = pLogFont ? ::CreateFontIndirectA(pLogFont) : NULL;
    // The caption: the margins, the text (at least 13 pixels) and the
    // theme's extra height.
    const int nTextHeight = MeasureTextHeight(m_hFont);
    m_nCaptionTextHeight = (nTextHeight > 12 ? nTextHeight : 13) + m_nCaptionExtra;
    // The same face turned a quarter for vertical captions.
    if (m_hFontVertical)
        ::DeleteObject(m_hFontVertical);
    m_hFontVertical = NULL;
    LOGFONTA lf = {};
    if (pLogFont)
        lf = *pLogFont;
    else if (m_hFont)
        ::GetObjectA(m_hFont, sizeof(lf), &lf);
    else
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    static CQXSystemFonts* s_fonts = new CQXSystemFonts();
    lstrcpynA(lf.lfFaceName, s_fonts->GetVerticalFace(lf.lfFaceName, m_bPreferTahoma), LF_FACESIZE);
    lf.lfEscapement = 2700;
    lf.lfOrientation = 900;
    if (lf.lfHeight > -11 && lf.lfHeight < 0)
        lf.lfHeight = -11;
    m_lfVertical = lf;
    m_hFontVertical = ::CreateFontIndirectA(&lf);
    m_nCaptionHeight = m_rcCaptionMargin.top + m_rcCaptionMargin.bottom + m_nCaptionTextHeight;
}

RECT CDockingPanePaintManager::GetCaptionRect(const CQXPDockingPaneTabbedContainer* pPane, const RECT& rect) const
{
    RECT rc = rect;
    if (!pPane->IsCaptionVisible())
        rc.bottom = rc.top;
    else if (pPane->IsCaptionVertical())
        rc.right = std::min<LONG>(rc.left + m_nCaptionHeight, rect.right);
    else
        rc.bottom = std::min<LONG>(rc.top + m_nCaptionHeight, rect.bottom);
    return rc;
}

RECT CDockingPanePaintManager::GetCaptionGripperRect(const CQXPDockingPaneTabbedContainer* pPane,
                                                     const RECT& rect) const
{
    RECT rc = {0, 0, 0, 0};
    if ((m_nTheme != 2 && m_nTheme != 10) || !pPane->IsCaptionVisible())
        return rc;
    const RECT rcCaption = GetCaptionRect(pPane, rect);
    // In a vertical caption the margins and the gripper turn with it.
    if (pPane->IsCaptionVertical())
        ::SetRect(&rc, 0, 0, m_nCaptionTextHeight, 10);
    else
        ::SetRect(&rc, 0, 0, 10, m_nCaptionTextHeight);
    const BOOL bVertical = pPane->IsCaptionVertical();
    ::OffsetRect(&rc, rcCaption.left + (bVertical ? m_rcCaptionMargin.top : m_rcCaptionMargin.left),
                 rcCaption.top + (bVertical ? m_rcCaptionMargin.left : m_rcCaptionMargin.top));
    ::IntersectRect(&rc, &rc, &rcCaption);
    return rc;
}

RECT CDockingPanePaintManager::GetTabStripRect(const CQXPDockingPaneTabbedContainer* pPane, const RECT& rect) const
{
    RECT rc = rect;
    if (!pPane->IsTabsVisible()) {
        rc.top = rc.bottom;
    } else if (m_pTabPainter->GetAppearance() == 8) {
        // Stacked rows take the whole body; the pane shows between them.
        rc = GetBodyRect(pPane, rect);
    } else if (m_nTheme == 5) {
        rc.top = std::max<LONG>(rc.bottom - m_nTabStripHeight, rect.top);
    } else {
        // The tab control takes what the caption leaves: the header at its
        // tab side, the pane in its client rectangle.
        rc = GetBodyRect(pPane, rect);
    }
    return rc;
}

RECT CDockingPanePaintManager::GetBodyRect(const CQXPDockingPaneTabbedContainer* pPane, const RECT& rect) const
{
    RECT rc = rect;
    if (pPane->IsCaptionVisible())
        (pPane->IsCaptionVertical() ? rc.left : rc.top) += m_nCaptionHeight;
    if (m_nTheme == 5) {
        // Striped panes sit inset on their stripe colour.
        if (!pPane->IsCaptionVisible())
            rc.top += kStripedInset;
        rc.left += kStripedInset;
        rc.right -= kStripedInset;
        rc.bottom -= kStripedInset;
    }
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    if (rc.right < rc.left)
        rc.right = rc.left;
    return rc;
}

void CDockingPanePaintManager::AdjustClientRect(const CQXPDockingPaneTabbedContainer* pPane, RECT& rect) const
{
    if (pPane->IsTabsVisible() && (m_pTabPainter->GetAppearance() == 8 || m_nTheme != 5)) {
        // The tab painter's client rectangle of the tab control (stacked
        // rows: between them).
        rect = GetTabStripRect(pPane, rect);
        m_pTabPainter->AdjustClientRect(pPane->GetTabManager(), rect);
        return;
    }
    if (m_nTheme == 5) {
        // Theme 5 frames a pane without tabs in its tab set's border.
        rect = GetBodyRect(pPane, rect);
        if (!pPane->IsTabsVisible() && m_pTabPainter->m_nClientFrame != 2)
            ::InflateRect(&rect, -1, -1);
        else if (pPane->IsTabsVisible())
            rect.bottom -= m_nTabStripHeight;
        if (rect.bottom < rect.top)
            rect.bottom = rect.top;
        if (rect.right < rect.left)
            rect.right = rect.left;
        return;
    }
    if (pPane->IsCaptionVisible())
        (pPane->IsCaptionVertical() ? rect.left : rect.top) += m_nCaptionHeight;
    ::InflateRect(&rect, -m_nBorder, -m_nBorder);
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
    if (rect.right < rect.left)
        rect.right = rect.left;
}

void CDockingPanePaintManager::LayoutCaptionButtons(CQXPDockingPaneTabbedContainer* pPane, const RECT& rect)
{
    RECT rcCaption = GetCaptionRect(pPane, rect);
    const BOOL bVertical = pPane->IsCaptionVertical();
    // From the caption's end: its right end, or the bottom of a vertical one.
    int end = bVertical ? rcCaption.bottom - 2 : rcCaption.right - 2;
    int size = std::max<int>(0, (int)(bVertical ? rcCaption.right - rcCaption.left : rcCaption.bottom - rcCaption.top) - 4);
    for (CaptionButton* b : pPane->m_arrCaptionButtons) {
        if (!pPane->IsCaptionVisible() || !pPane->IsCaptionButtonVisible(b->m_nID)) {
            SetRectEmpty(&b->m_rc);
            continue;
        }
        RECT rc = {end - size, rcCaption.top + 2, end, rcCaption.top + 2 + size};
        if (bVertical)
            rc = {rcCaption.left + 2, end - size, rcCaption.left + 2 + size, end};
        b->m_rc = rc;
        end -= size + 1;
    }
}

// The three desktop colour schemes of the Luna themes: the inactive caption
// gradient, the face, and the colour-table entries a scheme replaces.
struct LunaScheme {
    COLORREF inactive[2];
    COLORREF face;
    COLORREF border;                        // also colour 38
    COLORREF c39, c40, c41, c43, dark, c30; // dark: colours 32, 37 and 50
};

namespace {

const LunaScheme kLunaBlue = {{RGB(221, 236, 254), RGB(129, 169, 226)}, RGB(216, 231, 252), RGB(39, 65, 118), RGB(106, 140, 203), RGB(109, 150, 208), RGB(246, 246, 246), RGB(0, 45, 150), RGB(0, 0, 128), RGB(158, 190, 245)};
const LunaScheme kLunaOlive = {{RGB(244, 247, 222), RGB(183, 198, 145)}, RGB(226, 231, 191), RGB(81, 94, 51), RGB(96, 128, 88), RGB(159, 174, 122), RGB(244, 244, 238), RGB(117, 141, 94), RGB(63, 93, 56), RGB(217, 217, 167)};
const LunaScheme kLunaSilver = {{RGB(249, 249, 255), RGB(156, 155, 183)}, RGB(223, 223, 234), RGB(84, 84, 117), RGB(110, 109, 143), RGB(168, 167, 190), RGB(253, 250, 255), RGB(124, 124, 148), RGB(75, 75, 111), RGB(215, 215, 229)};

const LunaScheme* LunaSchemeOf(int nScheme)
{
    switch (nScheme) {
    case qxColorThemeBlue:
    case qxColorThemeRoyale:
    case qxColorThemeAero: return &kLunaBlue;
    case qxColorThemeOlive: return &kLunaOlive;
    case qxColorThemeSilver: return &kLunaSilver;
    default: return NULL;
    }
}

} // namespace

int CDockingPanePaintManager::GetColorScheme() const
{
    const ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    if (m_nTheme == 2 || m_nTheme == 7)
        return pColors->ResolveColorTheme(m_nLunaSelector);
    if (m_nTheme == 10)
        return qxColorThemeBlue; // its own blue without the Office 2007 resources
    return pColors->GetCurrentTheme();
}

void CDockingPanePaintManager::ApplyLunaScheme(const LunaScheme& scheme)
{
    m_clrInactiveCaption[0] = scheme.inactive[0];
    m_clrInactiveCaption[1] = scheme.inactive[1];
    m_clrFace = scheme.face;
    m_clrTable[qxColorGripper] = m_clrBorder = scheme.border;
    m_clrTable[qxColorSeparator] = scheme.c39;
    m_clrTable[qxColorDisabledIcon] = scheme.c40;
    m_clrTable[qxColorMenuFace] = scheme.c41;
    m_clrTable[qxColorMenuBorder] = scheme.c43;
    m_clrTable[qxColorHotBorder] = m_clrTable[qxColorPressedBorder] = m_clrTable[qxColorCheckedBorder] = scheme.dark;
    m_clrTable[qxColorBarFace] = scheme.c30;
    m_clrTable[qxColorHotFace] = RGB(255, 238, 194);
    m_clrTable[qxColorPressedFace] = RGB(254, 128, 62);
    m_clrTable[qxColorCheckedFace] = RGB(255, 192, 111);
    m_clrTable[qxColorPressedText] = RGB(0, 0, 0);
    m_bGradientButtons = TRUE;
    m_clrActiveCaption[0] = RGB(255, 213, 140);
    m_clrActiveCaption[1] = RGB(255, 166, 76);
    if (const GradientColorValue* g = ToolkitColorManager::Instance()->GetGradientColor(1)) {
        m_clrBackground[0] = g->m_start.GetColor();
        m_clrBackground[1] = g->m_end.GetColor();
    }
}

void CDockingPanePaintManager::RefreshThemeColors()
{
    const COLORREF face = GetColor(COLOR_3DFACE), window = GetColor(COLOR_WINDOW);
    m_bHighlightActive = TRUE;
    m_nSplitterStyle = 0;
    m_bGradientCaptions = FALSE;
    m_bGradientButtons = FALSE;
    m_clrFace = face;
    m_clrBorder = GetColor(COLOR_BTNSHADOW);
    m_clrBackground[0] = face;
    m_clrBackground[1] = MixColors(face, window, 205);
    // Default: the system caption colours.
    m_clrActiveCaption[0] = m_clrActiveCaption[1] = GetColor(COLOR_ACTIVECAPTION);
    m_clrInactiveCaption[0] = m_clrInactiveCaption[1] = GetColor(COLOR_INACTIVECAPTION);
    m_clrActiveCaptionText = GetColor(COLOR_CAPTIONTEXT);
    m_clrInactiveCaptionText = GetColor(COLOR_INACTIVECAPTIONTEXT);
    m_clrPanelBack[0] = m_clrPanelBack[1] = face;
    const int nScheme = GetColorScheme();
    switch (m_nTheme) {
    case 1:
    case 3:
    case 5:
    case 6:
    case 9:
        // The gradient family.
        m_clrActiveCaption[0] = GetColor(COLOR_ACTIVECAPTION);
        m_clrActiveCaption[1] = GetColor(COLOR_GRADIENTACTIVECAPTION);
        m_clrInactiveCaption[0] = GetColor(COLOR_INACTIVECAPTION);
        m_clrInactiveCaption[1] = GetColor(COLOR_GRADIENTINACTIVECAPTION);
        m_clrInactiveCaptionText = GetColor(COLOR_BTNTEXT);
        m_clrActiveCaptionText = GetColor(COLOR_CAPTIONTEXT);
        m_bGradientCaptions = m_nTheme == 3 || m_nTheme == 6 || m_nTheme == 9;
        if (m_nTheme == 6 || m_nTheme == 9) {
            m_clrInactiveCaptionText = GetColor(COLOR_INACTIVECAPTIONTEXT);
            m_nSplitterStyle = 4;
            if (nScheme == qxColorThemeOlive) {
                m_clrBackground[0] = RGB(229, 229, 215);
                m_clrBackground[1] = RGB(244, 241, 231);
                m_clrInactiveCaption[0] = RGB(216, 215, 198);
                m_clrInactiveCaption[1] = RGB(238, 239, 229);
                m_clrInactiveCaptionText = RGB(0, 0, 0);
            } else if (nScheme == qxColorThemeSilver) {
                m_clrBackground[0] = RGB(215, 215, 229);
                m_clrBackground[1] = RGB(243, 243, 247);
                m_clrInactiveCaption[0] = RGB(224, 224, 235);
                m_clrInactiveCaption[1] = RGB(242, 242, 246);
                m_clrActiveCaption[0] = RGB(160, 158, 186);
                m_clrActiveCaption[1] = RGB(224, 225, 235);
                m_clrInactiveCaptionText = RGB(0, 0, 0);
            }
            m_clrPanelBack[0] = m_clrBackground[0];
            m_clrPanelBack[1] = m_clrBackground[1];
        }
        if (m_nTheme == 9) {
            m_clrInactiveCaption[0] = m_clrInactiveCaption[1] = GetColor(COLOR_INACTIVECAPTION);
            m_clrActiveCaption[0] = m_clrActiveCaption[1] = GetColor(COLOR_ACTIVECAPTION);
            m_clrBorder = GetColor(COLOR_BTNSHADOW);
            struct {
                int scheme;
                COLORREF inactive, active0, active1;
            } kBordered[] = {
                {qxColorThemeBlue, RGB(204, 199, 186), RGB(59, 128, 237), RGB(49, 106, 197)},
                {qxColorThemeOlive, RGB(204, 199, 186), RGB(182, 195, 146), RGB(145, 160, 117)},
                {qxColorThemeSilver, RGB(240, 240, 245), RGB(211, 212, 221), RGB(166, 165, 191)},
            };
            for (const auto& b : kBordered)
                if (b.scheme == nScheme) {
                    m_clrInactiveCaption[0] = m_clrInactiveCaption[1] = b.inactive;
                    m_clrActiveCaption[0] = b.active0;
                    m_clrActiveCaption[1] = b.active1;
                    m_clrInactiveCaptionText = RGB(0, 0, 0);
                    if (nScheme == qxColorThemeSilver)
                        m_clrBorder = RGB(145, 155, 156);
                }
        }
        break;
    case 2:
    case 7:
    case 10:
        // Luna: a light gradient strip, an orange active one.
        m_clrInactiveCaption[0] = MixColors(face, window, 205);
        m_clrInactiveCaption[1] = face;
        m_clrActiveCaption[0] = m_clrActiveCaption[1] = GetColor(qxColorCheckedFace);
        m_clrActiveCaptionText = m_clrInactiveCaptionText = GetColor(COLOR_BTNTEXT);
        if (ToolkitColorManager::Instance()->IsLowColor()) {
            m_clrInactiveCaption[0] = m_clrInactiveCaption[1] = face;
            m_clrActiveCaption[0] = m_clrActiveCaption[1] = GetColor(COLOR_HIGHLIGHT);
            m_clrActiveCaptionText = GetColor(COLOR_HIGHLIGHTTEXT);
        }
        if (m_nTheme == 10) {
            // The fixed blue look (no Office 2007 resources here).
            ApplyLunaScheme(kLunaBlue);
            m_clrTable[qxColorWindowFrame] = RGB(101, 147, 207);
            m_clrTable[qxColorButtonFace] = RGB(191, 219, 255);
            m_clrTable[COLOR_BTNHIGHLIGHT] = RGB(255, 255, 255);
            m_clrInactiveCaption[0] = RGB(227, 239, 255);
            m_clrInactiveCaption[1] = RGB(175, 210, 255);
            m_clrActiveCaption[0] = RGB(255, 231, 162);
            m_clrActiveCaption[1] = RGB(255, 166, 76);
            m_clrBackground[0] = RGB(190, 218, 254);
            m_clrBackground[1] = RGB(100, 143, 203);
            m_clrActiveCaptionText = m_clrInactiveCaptionText = RGB(8, 55, 114);
            m_nSplitterStyle = 8;
            ApplyOffice2007PaneColors();
        } else if (const LunaScheme* pScheme = LunaSchemeOf(nScheme)) {
            ApplyLunaScheme(*pScheme);
        }
        if (m_nTheme == 7) {
            const GradientColorValue* g = ToolkitColorManager::Instance()->GetGradientColor(0);
            if (m_bGradientButtons && g) {
                m_clrInactiveCaption[0] = g->m_start.GetColor();
                m_clrInactiveCaption[1] = g->m_end.GetColor();
                m_clrInactiveCaptionText = RGB(255, 255, 255);
            } else if (!m_bGradientButtons) {
                m_clrInactiveCaption[0] = MixColors(GetColor(COLOR_BTNSHADOW), window, 205);
                m_clrInactiveCaption[1] = GetColor(COLOR_BTNSHADOW);
            }
        }
        m_clrPanelBack[0] = MixColors(m_clrFace, window, 205);
        m_clrPanelBack[1] = m_clrFace;
        break;
    default:
        break;
    }
    // Caption texts stay readable on what they are drawn on: system schemes
    // may pair light grey text with a grey caption. An inactive caption of
    // the plain gradient-family themes is only an outline on the face.
    BOOL bInactiveOnFace = (m_nTheme == 1 || m_nTheme == 5) && !m_bGradientCaptions;
    COLORREF clrActiveBack = MixColors(m_clrActiveCaption[0], m_clrActiveCaption[1], 50);
    COLORREF clrInactiveBack = bInactiveOnFace ? face : MixColors(m_clrInactiveCaption[0], m_clrInactiveCaption[1], 50);
    m_clrActiveCaptionText = ReadableTextColor(m_clrActiveCaptionText, clrActiveBack);
    m_clrInactiveCaptionText = ReadableTextColor(m_clrInactiveCaptionText, clrInactiveBack);
}

void CDockingPanePaintManager::ApplyOffice2007PaneColors()
{
    // Each ...Light key is a gradient's first end, each ...Dark its second.
    ThemeResources* pTheme = GetThemeResources();
    if (!pTheme->IsLoaded())
        return;
    auto take = [pTheme](LPCSTR lpszSection, LPCSTR lpszKey, std::initializer_list<COLORREF*> targets) {
        COLORREF clr = pTheme->GetColor(lpszSection, lpszKey);
        if (clr != QX_COLOR_NONE)
            for (COLORREF* p : targets)
                *p = clr;
    };
    take("Window", "WindowFrame", {&m_clrTable[qxColorWindowFrame], &m_clrBorder});
    take("Window", "ButtonFace", {&m_clrTable[qxColorButtonFace]});
    take("Window", "EdgeHighLightColor", {&m_clrTable[COLOR_BTNHIGHLIGHT]});
    take("DockingPane", "Splitter", {&m_clrFace});
    take("DockingPane", "SplitterLight", {&m_clrBackground[0]});
    take("DockingPane", "SplitterDark", {&m_clrBackground[1]});
    take("DockingPane", "NormalCaptionLight", {&m_clrInactiveCaption[0]});
    take("DockingPane", "NormalCaptionDark", {&m_clrInactiveCaption[1]});
    take("DockingPane", "NormalCaptionText", {&m_clrInactiveCaptionText});
    take("DockingPane", "ActiveCaptionLight", {&m_clrActiveCaption[0]});
    take("DockingPane", "ActiveCaptionDark", {&m_clrActiveCaption[1]});
    take("DockingPane", "ActiveCaptionText", {&m_clrActiveCaptionText});
    take("Toolbar", "ToolbarGripper", {&m_clrTable[qxColorGripper]});
    take("Toolbar", "MenuPopupBorder", {&m_clrTable[qxColorMenuBorder]});
}

void AFXAPI CDockingPanePaintManager::DrawCaptionButtonGlyph(HDC hDC, int nID, int x, int y, COLORREF clr,
                                                             BOOL bHorizontalPin)
{
    CDC& dc = *CDC::FromHandle(hDC);
    PenSelector pen(hDC, clr);
    auto line = [&](int x1, int y1, int x2, int y2) {
        dc.MoveTo(x1, y1);
        dc.LineTo(x2, y2);
    };
    auto rect = [&](int l, int t, int w, int h) { dc.FillSolidRect(l, t, w, h, clr); };
    switch (nID) {
    case QXP_IDS_DOCKINGPANE_CLOSE:
        line(x - 4, y - 4, x + 4, y + 4);
        line(x - 3, y - 4, x + 5, y + 4);
        line(x - 4, y + 3, x + 4, y - 5);
        line(x - 3, y + 3, x + 5, y - 5);
        break;
    case QXP_IDS_DOCKINGPANE_AUTOHIDE:
        if (bHorizontalPin) {
            line(x - 4, y - 1, x, y - 1);
            line(x - 1, y - 4, x - 1, y + 4);
            POINT head[] = {{x - 1, y + 1}, {x + 3, y + 1}, {x + 3, y - 3}, {x - 1, y - 3}};
            line(head[0].x, head[0].y, head[1].x, head[1].y);
            line(head[1].x, head[1].y, head[2].x, head[2].y);
            line(head[2].x, head[2].y, head[3].x, head[3].y);
            line(x - 1, y, x + 4, y);
        } else {
            line(x - 3, y, x + 5, y);
            line(x, y, x, y + 5);
            line(x - 2, y, x - 2, y - 5);
            line(x - 2, y - 5, x + 2, y - 5);
            line(x + 2, y - 5, x + 2, y);
            line(x + 1, y, x + 1, y - 5);
        }
        break;
    case QXP_IDS_DOCKINGPANE_MAXIMIZE:
        rect(x - 5, y - 5, 9, 2);
        rect(x - 5, y - 5, 1, 9);
        rect(x + 3, y - 5, 1, 9);
        rect(x - 5, y + 3, 9, 1);
        break;
    case QXP_IDS_DOCKINGPANE_RESTORE:
        rect(x - 4, y - 2, 6, 2);
        rect(x - 4, y - 2, 1, 6);
        rect(x + 1, y - 2, 1, 6);
        rect(x - 4, y + 3, 6, 1);
        rect(x - 2, y - 5, 6, 2);
        rect(x - 2, y - 3, 1, 1);
        rect(x + 3, y - 3, 1, 4);
        rect(x + 2, y, 1, 1);
        break;
    case QXP_IDS_DOCKINGPANE_MENU: {
        BrushSelector brush(hDC, clr);
        POINT pts[] = {{x - 4, y - 1}, {x - 1, y + 2}, {x, y + 2}, {x + 3, y - 1}};
        dc.Polygon(pts, 4);
        break;
    }
    }
}

void CDockingPanePaintManager::DrawCaptionButton(HDC hDC, CaptionButton* pButton, COLORREF clrGlyph, BOOL bHidden)
{
    CDC& dc = *CDC::FromHandle(hDC);
    RECT rc = pButton->m_rc;
    int x = (rc.left + rc.right) / 2, y = (rc.top + rc.bottom) / 2;
    BOOL bPressed = pButton->m_bPressed;
    BOOL bGlyph = TRUE;
    if (DrawThemedCaptionButton(hDC, pButton, &bGlyph, &clrGlyph)) {
        if (bGlyph)
            DrawCaptionButtonGlyph(hDC, pButton->m_nID, x, y, clrGlyph, bHidden);
        return;
    }
    switch (m_nButtonStyle) {
    case 0: {
        RECT r = rc;
        ::DrawFrameControl(hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (bPressed ? DFCS_PUSHED : 0));
        if (bPressed) {
            ++x;
            ++y;
        }
        break;
    }
    case 2:
        // Pressed wins over hot; Luna schemes light up in orange gradients.
        if (bPressed || pButton->m_bHot) {
            if (m_bGradientButtons) {
                if (bPressed)
                    DrawHelpers::Instance()->FillGradient(hDC, &rc, RGB(254, 142, 75), RGB(255, 207, 139), FALSE);
                else
                    DrawHelpers::Instance()->FillGradient(hDC, &rc, RGB(255, 242, 200), RGB(255, 212, 151), FALSE);
                clrGlyph = RGB(0, 0, 0);
            } else {
                dc.FillSolidRect(&rc, GetColor(bPressed ? qxColorPressedFace : qxColorHotFace));
                clrGlyph = GetColor(bPressed ? qxColorPressedText : qxColorHotText);
            }
            dc.Draw3dRect(&rc, GetColor(qxColorHotBorder), GetColor(qxColorHotBorder));
        }
        break;
    default:
        if (bPressed) {
            dc.Draw3dRect(&rc, GetColor(COLOR_BTNTEXT), GetColor(COLOR_3DHIGHLIGHT));
            ++x;
            ++y;
        } else if (pButton->m_bHot) {
            dc.Draw3dRect(&rc, GetColor(COLOR_3DHIGHLIGHT), GetColor(COLOR_BTNTEXT));
        }
        break;
    }
    DrawCaptionButtonGlyph(hDC, pButton->m_nID, x, y, clrGlyph, bHidden);
}

// The small close button's state in an inactive caption.
static const int kCloseButtonInactive = 5;

BOOL CDockingPanePaintManager::IsVisualStyleActive(VisualStyleClass n) const
{
    return m_pStyles[n]->IsAppThemed();
}

BOOL CDockingPanePaintManager::DrawThemedCaptionButton(HDC hDC, CaptionButton* pButton, BOOL* pbGlyph,
                                                       COLORREF* pclrGlyph)
{
    const RECT& rc = pButton->m_rc;
    const BOOL bPressed = pButton->m_bPressed, bHot = pButton->m_bHot;
    *pbGlyph = TRUE;
    switch (m_nButtonStyle) {
    case 3: {
        // Explorer-bar header buttons carry their own glyphs.
        if (!IsVisualStyleActive(vsExplorerBar))
            return FALSE;
        int nPart, nState;
        if (pButton->m_nID == QXP_IDS_DOCKINGPANE_CLOSE) {
            nPart = EBP_HEADERCLOSE;
            nState = bPressed ? EBHC_PRESSED : (bHot || m_bCaptionActive) ? EBHC_HOT
                                                                          : EBHC_NORMAL;
        } else if (pButton->m_nID == QXP_IDS_DOCKINGPANE_AUTOHIDE) {
            nPart = EBP_HEADERPIN;
            nState = bPressed ? EBHP_PRESSED : bHot ? EBHP_HOT
                                                    : EBHP_NORMAL;
            if (!(pButton->m_dwState & 2))
                nState += EBHP_SELECTEDNORMAL - EBHP_NORMAL;
        } else {
            return FALSE;
        }
        *pbGlyph = FALSE;
        return SUCCEEDED(m_pStyles[vsExplorerBar]->DrawThemeBackground(hDC, nPart, nState, &rc));
    }
    case 4:
        // A push button under the mouse; the glyph takes the part's text colour.
        if (!IsVisualStyleActive(vsButton))
            return FALSE;
        if (bPressed || bHot) {
            const int nState = bPressed ? PBS_PRESSED : PBS_HOT;
            m_pStyles[vsButton]->DrawThemeBackground(hDC, BP_PUSHBUTTON, nState, &rc);
            COLORREF clr;
            if (SUCCEEDED(m_pStyles[vsButton]->GetThemeColor(BP_PUSHBUTTON, nState, TMT_TEXTCOLOR, &clr)))
                *pclrGlyph = clr;
        }
        return TRUE;
    case 5:
        if (!IsVisualStyleActive(vsToolbar))
            return FALSE;
        if (bPressed || bHot)
            m_pStyles[vsToolbar]->DrawThemeBackground(hDC, TP_BUTTON, bPressed ? TS_PRESSED : TS_HOT, &rc);
        return TRUE;
    case 6:
        // The window's own small close button; other buttons stay classic.
        if (pButton->m_nID != QXP_IDS_DOCKINGPANE_CLOSE || !IsVisualStyleActive(vsWindow))
            return FALSE;
        *pbGlyph = FALSE;
        return SUCCEEDED(m_pStyles[vsWindow]->DrawThemeBackground(
            hDC, WP_SMALLCLOSEBUTTON, bPressed ? CBS_PUSHED : bHot           ? CBS_HOT
                                                          : m_bCaptionActive ? CBS_NORMAL
                                                                             : kCloseButtonInactive,
            &rc));
    }
    return FALSE;
}

RECT CDockingPanePaintManager::RebarRectOf(CQXPDockingPaneTabbedContainer* pPane, const RECT& rcCaption) const
{
    // The picture spans the container's frame (a floating frame's window),
    // so that neighbouring captions show the slices of one band.
    HWND hWnd = pPane->GetSafeHwnd();
    HWND hRoot = hWnd ? ::GetAncestor(hWnd, GA_ROOT) : NULL;
    RECT rcWhole = rcCaption;
    if (hRoot) {
        CQXPDockingPaneManager* pManager = pPane->GetDockingPaneManager();
        if (pManager && pManager->GetSite() == hRoot) {
            ::GetClientRect(hRoot, &rcWhole);
            ::MapWindowPoints(hRoot, hWnd, (POINT*)&rcWhole, 2);
        } else {
            ::GetWindowRect(hRoot, &rcWhole);
            ::MapWindowPoints(NULL, hWnd, (POINT*)&rcWhole, 2);
        }
    }
    return rcWhole;
}

int CDockingPanePaintManager::DrawCaptionButtons(HDC hDC, const CaptionBarContent& content, const RECT& rcBand,
                                                 COLORREF clrGlyph, int nSize, int nGap)
{
    if (content.bButtonsInert)
        clrGlyph = GetColor(COLOR_GRAYTEXT);
    int x = rcBand.right - 2 - nSize;
    int top = (rcBand.top + rcBand.bottom) / 2 - nSize / 2;
    int left = rcBand.right;
    if (!content.pOwner)
        return left;
    for (CaptionButton* b : content.pOwner->m_arrCaptionButtons) {
        if (!content.pOwner->IsCaptionButtonVisible(b->m_nID)) {
            SetRectEmpty(&b->m_rc);
            continue;
        }
        SetRect(&b->m_rc, x, top, x + nSize, top + nSize);
        DrawCaptionButton(hDC, b, clrGlyph, content.bHorizontalPin);
        left = x;
        x -= nSize + nGap;
    }
    return left;
}

void CDockingPanePaintManager::DrawCaption(HDC hDC, CQXPDockingPaneTabbedContainer* pPane, const RECT& rcCaption)
{
    if (!pPane->IsCaptionVertical()) {
        DrawCaptionBar(hDC, pPane, rcCaption, NULL);
        return;
    }
    // A vertical caption is the horizontal one with x and y swapped: drawn
    // upright without its text into a buffer, copied across the diagonal,
    // then the icon and the text run down it.
    const int cx = rcCaption.right - rcCaption.left, cy = rcCaption.bottom - rcCaption.top;
    if (cx <= 0 || cy <= 0)
        return;
    VerticalText text;
    DrawTurnedCopy(
        hDC, rcCaption, SIZE{cy, cx}, GetColor(COLOR_3DFACE), (COLORREF)-1,
        [&](HDC hdcUpright, const RECT& rcUpright) { DrawCaptionBar(hdcUpright, pPane, rcUpright, &text); },
        [](int u, int v) { return POINT{v, u}; });
    auto turn = [&rcCaption](const RECT& r) {
        RECT t = {rcCaption.left + r.top, rcCaption.top + r.left, rcCaption.left + r.bottom, rcCaption.top + r.right};
        return t;
    };
    for (CaptionButton* b : pPane->m_arrCaptionButtons)
        if (!::IsRectEmpty(&b->m_rc))
            b->m_rc = turn(b->m_rc);
    RECT rcText = turn(text.rc);
    CQXPDockingPaneManager* pManager = pPane->GetDockingPaneManager();
    CQXPDockingPane* pSelected = pPane->GetSelected();
    HICON hIcon = m_bShowCaptionIcon && pManager ? pManager->GetPaneIcon(pSelected) : NULL;
    const SIZE szIcon = m_pTabPainter->m_szIcon;
    if (hIcon && rcText.bottom - rcText.top > szIcon.cy) {
        const int x = (rcText.left + rcText.right - szIcon.cx) / 2;
        if (text.bDisabled)
            ::DrawStateA(hDC, NULL, NULL, (LPARAM)hIcon, 0, x, rcText.top, szIcon.cx, szIcon.cy, DST_ICON | DSS_DISABLED);
        else
            ::DrawIconEx(hDC, x, rcText.top, hIcon, szIcon.cx, szIcon.cy, 0, NULL, DI_NORMAL);
        rcText.top += szIcon.cy + 3;
    }
    CString strTitle = pPane->GetTitle();
    if (strTitle.IsEmpty() || rcText.bottom <= rcText.top)
        return;
    // The vertical font turns the text a quarter: it runs down, the tops of
    // its letters to the right; shorter than the room, it is centred.
    FontSelector font(hDC, m_hFontVertical ? m_hFontVertical : m_hFont, text.clr);
    ::SetBkMode(hDC, TRANSPARENT);
    TEXTMETRICA tm;
    ::GetTextMetricsA(hDC, &tm);
    SIZE sz = {0, 0};
    ::GetTextExtentPoint32A(hDC, strTitle, strTitle.GetLength(), &sz);
    const int room = rcText.bottom - rcText.top;
    const int x = (rcText.left + rcText.right + tm.tmHeight) / 2;
    const int y = sz.cx < room ? rcText.top + (room - sz.cx) / 2 : rcText.top;
    ::ExtTextOutA(hDC, x, y, ETO_CLIPPED, &rcText, strTitle, strTitle.GetLength(), NULL);
}

CaptionBarContent CDockingPanePaintManager::ContentOf(CQXPDockingPaneTabbedContainer* pPane) const
{
    CaptionBarContent content;
    CQXPDockingPane* pSelected = pPane->GetSelected();
    CQXPDockingPaneManager* pManager = pPane->GetDockingPaneManager();
    content.pOwner = pPane;
    content.strTitle = pPane->GetTitle();
    content.hIcon = m_bShowCaptionIcon && pManager ? pManager->GetPaneIcon(pSelected) : NULL;
    content.bActive = m_bHighlightActive && pPane->IsActive();
    content.bDisabled = pSelected && !(pSelected->GetEnabled() & 1);
    content.bButtonsInert = pSelected && !(pSelected->GetEnabled() & 2);
    content.bHorizontalPin = pPane->IsHidden();
    return content;
}

void CDockingPanePaintManager::DrawCaptionBar(HDC hDC, CQXPDockingPaneTabbedContainer* pPane,
                                              const RECT& rcCaption, VerticalText* pText)
{
    CaptionBarContent content = ContentOf(pPane);
    if (m_nTheme == 8 && IsVisualStyleActive(vsRebar))
        content.rcRebar = RebarRectOf(pPane, rcCaption);
    // The text band: the caption less its margins; the strip captions
    // take their own depth.
    RECT rcBand = rcCaption;
    rcBand.top += m_rcCaptionMargin.top;
    rcBand.bottom -= m_rcCaptionMargin.bottom;
    if (m_nTheme == 2 || m_nTheme == 7 || m_nTheme == 10)
        rcBand = GetCaptionStripRect(rcCaption);
    DrawCaptionBar(hDC, content, rcCaption, rcBand, pText);
}

RECT CDockingPanePaintManager::GetCaptionStripRect(const RECT& rcCaption) const
{
    RECT rc = rcCaption;
    rc.bottom = std::min<LONG>(rcCaption.bottom, rcCaption.top + m_nCaptionTextHeight + 3);
    return rc;
}

void CDockingPanePaintManager::DrawCaptionBar(HDC hDC, const CaptionBarContent& content, const RECT& rcCaption,
                                              const RECT& rcBandIn, VerticalText* pText)
{
    CDC& dc = *CDC::FromHandle(hDC);
    const BOOL bActive = content.bActive;
    const BOOL bDisabled = content.bDisabled;
    m_bCaptionActive = bActive;
    const COLORREF face = m_clrFace;
    RECT rcBand = rcBandIn;
    COLORREF clrText, clrGlyph;
    int nSize = 14, nGap = 0;
    int nTextStart = 4;
    switch (m_nTheme) {
    case 2:
    case 7:
    case 10: {
        // A gradient strip, with gripper dots at its start where the theme
        // has them (a floating frame draws and places its strip itself).
        // A filled caption (theme 2): the strip one pixel in, its corners
        // on the face; else the strip's top and sides edged with the frame
        // colour, theme 10's lit inside its top and left edges.
        if (!content.bBackgroundDrawn) {
            const BOOL bFilled = m_bFilledCaption;
            if (bFilled)
                ::InflateRect(&rcBand, -1, 0);
            dc.FillSolidRect(&rcCaption, face);
            const COLORREF* g = bActive ? m_clrActiveCaption : m_clrInactiveCaption;
            DrawHelpers::Instance()->FillGradient(hDC, &rcBand, g[0], g[1], FALSE);
            const int cx = rcBand.right - rcBand.left, cy = rcBand.bottom - rcBand.top;
            if (bFilled) {
                ::SetPixel(hDC, rcBand.left, rcBand.top, face);
                ::SetPixel(hDC, rcBand.right - 1, rcBand.top, face);
            } else if (cx > 2 && cy > 1) {
                const COLORREF frame = GetColor(qxColorWindowFrame);
                dc.FillSolidRect(rcBand.left, rcBand.top, cx, 1, frame);
                dc.FillSolidRect(rcBand.left, rcBand.top, 1, cy, frame);
                dc.FillSolidRect(rcBand.right - 1, rcBand.top, 1, cy, frame);
                if (m_nTheme == 10) {
                    const COLORREF light = GetColor(COLOR_BTNHIGHLIGHT);
                    dc.FillSolidRect(rcBand.left + 1, rcBand.top + 1, cx - 2, 1, light);
                    dc.FillSolidRect(rcBand.left + 1, rcBand.top + 1, 1, cy - 1, light);
                }
            }
        }
        // The content starts just inside the strip, 8 pixels later after
        // the dots.
        nTextStart = 2;
        if (m_bGripperDots && rcBand.bottom - rcBand.top > 7) {
            nTextStart += 8;
            for (int y = rcBand.top + 3; y + 2 < rcBand.bottom - 1; y += 4) {
                RECT d1 = {rcBand.left + 4, y + 1, rcBand.left + 6, y + 3};
                RECT d0 = {rcBand.left + 3, y, rcBand.left + 5, y + 2};
                dc.FillSolidRect(&d1, GetColor(COLOR_WINDOW));
                dc.FillSolidRect(&d0, GetColor(qxColorGripper));
            }
        }
        nSize = 16;
        clrText = clrGlyph = bActive ? m_clrActiveCaptionText : m_clrInactiveCaptionText;
        break;
    }
    case 5: {
        // Striped: the caption on the pane's background, a face line above.
        if (!content.bBackgroundDrawn) {
            dc.FillSolidRect(&rcCaption, GetColor(bActive ? qxColorHotFace : qxColorBarFace));
            dc.FillSolidRect(rcCaption.left, rcCaption.top, rcCaption.right - rcCaption.left, 1, face);
        }
        clrText = GetColor(COLOR_BTNTEXT);
        clrGlyph = RGB(0, 0, 0);
        nSize = 16;
        break;
    }
    case 3:
        if (IsVisualStyleActive(vsWindow)) {
            // The window's small caption.
            dc.FillSolidRect(&rcCaption, face);
            const int nState = bActive ? CS_ACTIVE : CS_INACTIVE;
            m_pStyles[vsWindow]->DrawThemeBackground(hDC, WP_SMALLCAPTION, nState, &rcBand);
            // The style's own caption text colour, where it names one.
            COLORREF clrStyle;
            clrText = GetColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
            if (SUCCEEDED(m_pStyles[vsWindow]->GetThemeColor(WP_SMALLCAPTION, nState, TMT_TEXTCOLOR, &clrStyle)))
                clrText = clrStyle;
            // Styles draw captions of any colour: the text must stand out on
            // the part as drawn.
            const COLORREF clrPart = ::GetPixel(hDC, (rcBand.left + rcBand.right) / 2, (rcBand.top + rcBand.bottom) / 2);
            if (clrPart != CLR_INVALID)
                clrText = ReadableTextColor(clrText, clrPart);
            clrGlyph = clrText;
            nSize = 16;
            nGap = 3;
            break;
        }
        // Without visual styles: the gradient captions.
        [[fallthrough]];
    case 1:
    case 6:
    case 9: {
        dc.FillSolidRect(&rcCaption, face);
        if (m_bGradientCaptions) {
            // Along the caption; theme 9's across its depth.
            const COLORREF* g = bActive ? m_clrActiveCaption : m_clrInactiveCaption;
            DrawHelpers::Instance()->FillGradient(hDC, &rcBand, g[0], g[1], m_nTheme != 9);
        } else if (bActive) {
            dc.FillSolidRect(&rcBand, m_clrActiveCaption[0]);
        } else {
            // An outline with its corners left out.
            dc.FillSolidRect(rcBand.left + 1, rcBand.top, rcBand.right - rcBand.left - 2, 1, GetColor(qxColorControlBorder));
            dc.FillSolidRect(rcBand.left + 1, rcBand.bottom - 1, rcBand.right - rcBand.left - 2, 1, GetColor(qxColorControlBorder));
            dc.FillSolidRect(rcBand.left, rcBand.top + 1, 1, rcBand.bottom - rcBand.top - 2, GetColor(qxColorControlBorder));
            dc.FillSolidRect(rcBand.right - 1, rcBand.top + 1, 1, rcBand.bottom - rcBand.top - 2, GetColor(qxColorControlBorder));
        }
        if (m_nTheme == 9) {
            // Bordered captions: left, top and right in the border colour.
            dc.FillSolidRect(rcBand.left, rcBand.top, rcBand.right - rcBand.left, 1, m_clrBorder);
            dc.FillSolidRect(rcBand.left, rcBand.top, 1, rcBand.bottom - rcBand.top, m_clrBorder);
            dc.FillSolidRect(rcBand.right - 1, rcBand.top, 1, rcBand.bottom - rcBand.top, m_clrBorder);
        }
        clrText = bActive ? m_clrActiveCaptionText : m_clrInactiveCaptionText;
        // The glyphs in the caption-text colour when active, else the
        // button text; theme 9 writes them in its caption text colours.
        clrGlyph = bActive ? GetColor(COLOR_CAPTIONTEXT) : GetColor(COLOR_BTNTEXT);
        if (m_nTheme == 9)
            clrGlyph = clrText;
        nGap = 2;
        break;
    }
    case 8:
        // A face caption; the rebar's band shows through it when themed.
        dc.FillSolidRect(&rcCaption, face);
        if (IsVisualStyleActive(vsRebar))
            m_pStyles[vsRebar]->DrawThemeBackground(
                hDC, 0, 0, ::IsRectEmpty(&content.rcRebar) ? &rcCaption : &content.rcRebar, &rcCaption);
        clrText = clrGlyph = GetColor(COLOR_BTNTEXT);
        nSize = 16;
        nGap = 2;
        break;
    case 4: {
        // A face caption with two grip bars after the text.
        dc.FillSolidRect(&rcCaption, face);
        clrText = clrGlyph = GetColor(COLOR_BTNTEXT);
        nGap = 2;
        break;
    }
    default: {
        dc.FillSolidRect(&rcCaption, face);
        dc.FillSolidRect(&rcBand, bActive ? m_clrActiveCaption[0] : m_clrInactiveCaption[0]);
        clrText = bActive ? m_clrActiveCaptionText : m_clrInactiveCaptionText;
        clrGlyph = GetColor(COLOR_BTNTEXT);
        if (m_nButtonStyle != 0)
            clrGlyph = clrText;
        break;
    }
    }
    if (bDisabled)
        clrText = GetColor(COLOR_GRAYTEXT);
    if (content.nButtonSize)
        nSize = content.nButtonSize;
    int right = DrawCaptionButtons(hDC, content, rcBand, clrGlyph, nSize, nGap);
    RECT rcText = rcBand;
    rcText.left += nTextStart;
    rcText.right = right - 2;
    if (pText) {
        // A vertical caption draws its icon and text itself.
        pText->rc = rcText;
        pText->clr = clrText;
        pText->bDisabled = bDisabled;
    }
    // The pane's icon before the title (greyed for a disabled pane) when
    // captions show icons and it fits.
    HICON hIcon = pText ? NULL : content.hIcon;
    const SIZE szIcon = m_pTabPainter->m_szIcon;
    if (hIcon && rcText.right - rcText.left > szIcon.cx) {
        const int y = (rcBand.top + rcBand.bottom - szIcon.cy) / 2;
        if (bDisabled)
            ::DrawStateA(hDC, NULL, NULL, (LPARAM)hIcon, 0, rcText.left, y, szIcon.cx, szIcon.cy, DST_ICON | DSS_DISABLED);
        else
            ::DrawIconEx(hDC, rcText.left, y, hIcon, szIcon.cx, szIcon.cy, 0, NULL, DI_NORMAL);
        rcText.left += szIcon.cx + 3;
    }
    const CString& strTitle = content.strTitle;
    if (!strTitle.IsEmpty() && rcText.right > rcText.left) {
        FontSelector font(hDC, m_hFont, clrText);
        ::SetBkMode(hDC, TRANSPARENT);
        RECT rcCalc = rcText;
        ::DrawTextA(hDC, strTitle, strTitle.GetLength(), &rcCalc,
                    DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_CALCRECT);
        if (!pText)
            ::DrawTextA(hDC, strTitle, strTitle.GetLength(), &rcText,
                        DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        if (m_nTheme == 5) {
            // Four stripes from 10 pixels after the text to the buttons.
            int x1 = rcCalc.right + content.nStripeGap, x2 = right - 4;
            int mid = (rcBand.top + rcBand.bottom) / 2;
            if (x2 > x1)
                for (int y : {mid - 3, mid - 1, mid + 1, mid + 3})
                    dc.FillSolidRect(x1, y, x2 - x1, 1, GetColor(bActive ? COLOR_BTNTEXT : 38));
        }
        if (m_nTheme == 4) {
            // Grip bars from after the text to the buttons.
            int x1 = rcCalc.right + 4, x2 = right - 4;
            int mid = (rcBand.top + rcBand.bottom) / 2;
            if (x2 > x1)
                for (int y : {mid - 3, mid + 1}) {
                    RECT r = {x1, y, x2, y + 3};
                    dc.Draw3dRect(&r, GetColor(COLOR_3DHIGHLIGHT), GetColor(COLOR_3DSHADOW));
                }
        }
    }
}

void CDockingPanePaintManager::DrawPane(HDC hDC, CQXPDockingPaneTabbedContainer* pPane, const RECT& rc)
{
    CDC& dc = *CDC::FromHandle(hDC);
    // Theme 5 lays its panes on the active or inactive stripe colour.
    const BOOL bActive = m_bHighlightActive && pPane->IsActive();
    dc.FillSolidRect(&rc, m_nTheme == 5 ? GetColor(bActive ? qxColorHotFace : qxColorBarFace) : GetColor(COLOR_3DFACE));
    ::SetBkMode(hDC, TRANSPARENT);
    if (pPane->IsTabsVisible() && pPane->GetTabManager()) {
        RECT rcStrip = GetTabStripRect(pPane, rc);
        m_pTabPainter->DrawTabControl(pPane->GetTabManager(), hDC, rcStrip);
    } else if (m_nTheme == 5 && m_pTabPainter->m_nClientFrame != 2) {
        // A one-pixel frame in the tab set's border colour, its corners
        // in the button face.
        RECT rcFrame = rc;
        AdjustClientRect(pPane, rcFrame);
        ::InflateRect(&rcFrame, 1, 1);
        const COLORREF clrBorder = m_pTabPainter->GetColors().clrBorder;
        dc.Draw3dRect(&rcFrame, clrBorder, clrBorder);
        const COLORREF clrCorner = GetColor(qxColorButtonFace);
        for (POINT pt : {POINT{rcFrame.left, rcFrame.top}, POINT{rcFrame.right - 1, rcFrame.top},
                         POINT{rcFrame.left, rcFrame.bottom - 1}, POINT{rcFrame.right - 1, rcFrame.bottom - 1}})
            ::SetPixel(hDC, pt.x, pt.y, clrCorner);
    }
    if (pPane->IsCaptionVisible())
        DrawCaption(hDC, pPane, GetCaptionRect(pPane, rc));
    else
        LayoutCaptionButtons(pPane, rc);
}

void CDockingPanePaintManager::DrawMargin(HDC hDC, const RECT& rc, BOOL /*bHorizontal*/)
{
    CDC::FromHandle(hDC)->FillSolidRect(&rc, m_clrFace);
}

void CDockingPanePaintManager::DrawSplitter(HDC hDC, const RECT& rc, BOOL bHorizBar)
{
    CDC& dc = *CDC::FromHandle(hDC);
    const COLORREF face = m_clrFace;
    // Lines across the bar's depth: rows of a horizontal bar, columns of a
    // vertical one, counted from its top or left edge.
    const int depth = bHorizBar ? rc.bottom - rc.top : rc.right - rc.left;
    const int length = bHorizBar ? rc.right - rc.left : rc.bottom - rc.top;
    auto lines = [&](int from, int count, COLORREF clr) {
        if (count <= 0 || from < 0 || from >= depth)
            return;
        count = std::min(count, depth - from);
        if (bHorizBar)
            dc.FillSolidRect(rc.left, rc.top + from, length, count, clr);
        else
            dc.FillSolidRect(rc.left + from, rc.top, count, length, clr);
    };
    // A piece at (along, across) from the bar's start and top or left edge.
    auto piece = [&](int along, int across, int cAlong, int cAcross, COLORREF clr) {
        if (bHorizBar)
            dc.FillSolidRect(rc.left + along, rc.top + across, cAlong, cAcross, clr);
        else
            dc.FillSolidRect(rc.left + across, rc.top + along, cAcross, cAlong, clr);
    };
    if (m_nSplitterStyle & 1) {
        dc.FillSolidRect(&rc, face);
        lines(0, 1, GetColor(COLOR_BTNHIGHLIGHT));
        lines(depth - 2, 1, GetColor(qxColorControlBorder));
        lines(depth - 1, 1, GetColor(COLOR_BTNTEXT));
    } else if (m_nSplitterStyle & 2) {
        const int half = m_nSplitterSize / 2;
        dc.FillSolidRect(&rc, face);
        lines(1, half - 1, GetColor(COLOR_WINDOW));
        lines(0, 1, GetColor(COLOR_3DDKSHADOW));
        lines(depth - 1, 1, GetColor(COLOR_3DDKSHADOW));
    } else if (m_nSplitterStyle & (4 | 8)) {
        // One gradient over the frame window (across at least half the
        // screen's width), each bar showing its slice, so that neighbouring
        // bars join.
        const BOOL bHorzGradient = (m_nSplitterStyle & 4) != 0;
        RECT rcSpan = rc, rcFrame;
        if (GetTopLevelRectOfDC(hDC, &rcFrame)) {
            if (bHorzGradient) {
                rcSpan.left = rcFrame.left;
                rcSpan.right = std::max<LONG>(rcFrame.right, rcFrame.left + ::GetSystemMetrics(SM_CXFULLSCREEN) / 2);
            } else {
                rcSpan.top = rcFrame.top;
                rcSpan.bottom = rcFrame.bottom;
            }
        }
        DrawHelpers::Instance()->FillGradientClipped(hDC, &rcSpan, m_clrBackground[0], m_clrBackground[1],
                                                     bHorzGradient, &rc);
    } else {
        dc.FillSolidRect(&rc, face);
    }
    if (m_nSplitterStyle & 0x100) {
        // A centre mark: two 11-pixel lines 2 and 4 pixels from the edge.
        const int start = length / 2 - 5;
        piece(start, 2, 11, 1, m_clrBorder);
        piece(start, 4, 11, 1, m_clrBorder);
    }
    if (m_nSplitterStyle & 0x200) {
        // A dotted grip about the middle, a dot every 4 pixels.
        const int reach = std::min(length / 2 - 10, 32);
        const int middle = length / 2, across = depth / 2 - 1;
        for (int along = middle - reach; along <= middle + reach; along += 4) {
            piece(along + 1, across + 1, 2, 2, GetColor(COLOR_BTNHIGHLIGHT));
            piece(along, across, 2, 2, m_clrBorder);
        }
    }
}

// ---------------------------------------------------------------------------
// Caption buttons.

void CaptionButton::Redraw(HWND hWnd) const
{
    if (m_pPane)
        m_pPane->Invalidate();
    else
        ::InvalidateRect(hWnd, NULL, FALSE);
    ::UpdateWindow(hWnd);
}

BOOL CaptionButton::Click(HWND hWnd, POINT pt, int nCoords)
{
    if (::GetCapture() != NULL || !::IsWindow(hWnd))
        return FALSE;
    ::SetCapture(hWnd);
    m_bCancel = FALSE;
    BOOL bResult = FALSE;
    POINT ptLast = pt;
    auto pointOf = [&](const MSG& msg) {
        POINT p = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
        if (nCoords != clickClient) {
            ::ClientToScreen(msg.hwnd, &p);
            if (nCoords == clickWindow) {
                RECT rcWindow;
                ::GetWindowRect(hWnd, &rcWindow);
                p.x -= rcWindow.left;
                p.y -= rcWindow.top;
            }
        } else if (msg.hwnd != hWnd)
            ::MapWindowPoints(msg.hwnd, hWnd, &p, 1);
        return p;
    };
    for (;;) {
        BOOL bPressed = ::PtInRect(&m_rc, ptLast);
        if (bPressed != m_bPressed) {
            m_bPressed = bPressed;
            Redraw(hWnd);
        }
        if (m_bCancel || ::GetCapture() != hWnd || !::IsWindow(hWnd))
            break;
        MSG msg;
        int nGot = ::GetMessageA(&msg, NULL, 0, 0);
        if (nGot <= 0) {
            if (nGot == 0)
                ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            ptLast = pointOf(msg);
        } else if (msg.message == WM_LBUTTONUP) {
            // Released: over the button or not, wherever the release came.
            ptLast = pointOf(msg);
            bResult = ::PtInRect(&m_rc, ptLast);
            break;
        } else if (msg.message == WM_CANCELMODE || msg.message == WM_RBUTTONDOWN) {
            break;
        } else if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            if (msg.wParam == VK_ESCAPE)
                break;
        } else if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP || msg.message == WM_CHAR ||
                   msg.message == WM_NCMOUSEMOVE) {
            // Swallowed while the button is held.
        } else {
            ::DispatchMessageA(&msg);
        }
    }
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    m_bCancel = FALSE;
    m_bPressed = FALSE;
    m_bHot = ::PtInRect(&m_rc, ptLast);
    if (::IsWindow(hWnd))
        Redraw(hWnd);
    return bResult;
}
