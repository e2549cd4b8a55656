// office2007theme.cpp - COffice2007Theme: colours from the theme text, the
// status bar, the workspace and the control text of the menu bar.
#include <qx/drawing.h>
#include <qx/office2007.h>
#include <qx/ribbonframehook.h>

#include <cstring>
#include <utility>

// ---------------------------------------------------------------------------
// The colour table: each key of the theme text and where it lands.

static const QXPOffice2007ColorKey kColorKeys[] = {
    {"StatusBar", "StatusBarText", -1, "StatusBarText", 0},
    {"StatusBar", "StatusBarShadow", -1, "StatusBarShadow", 0},
    {"StatusBar", "StatusBarFaceTop", -1, "StatusBarFaceTop", 0.5f},
    {"StatusBar", "StatusBarFaceBottom", -1, "StatusBarFaceBottom", 0.5f},
    {"Toolbar", "DockBarFace", -1, "DockBarFace", 0},
    {"Toolbar", "ToolbarFace", -1, "ToolBarGradient", 0.75f},
    {"Toolbar", "ToolbarFaceShadow", -1, "ToolbarBottomLine", 0},
    {"Toolbar", "ControlToolbarExpand", -1, "ExpandButton", 0.75f},
    {"Toolbar", "ControlHighlightPopuped", -1, "Popped", 0.5f},
    {"Toolbar", "MenuPopupExpandedGripper", -1, "ExpandedGutter", 0.5f},
    {"Toolbar", "MenuPopupTearOffGripper", -1, "TearOffGripper", 0},
    {"Toolbar", "MenuBarText", -1, "MenuBarText", 0},
    {"Toolbar", "MenuPopupBorder", qxpSlotPopupBorder, NULL, 0},
    {"Toolbar", "ToolbarGripper", 38, NULL, 0},
    {"Toolbar", "WindowFrame", 54, NULL, 0},
    {"Toolbar", "FloatingBarGripper", -1, "FloatingGripper", 0},
    {"Toolbar", "FloatingBarGripperText", -1, "FloatingGripperText", 0},
    {"Toolbar", "FloatingBarBorder", -1, "FloatingBarBorder", 0},
    {"Workspace", "AppWorkspace", COLOR_APPWORKSPACE, NULL, 0},
    {"Window", "ButtonFace", COLOR_BTNFACE, NULL, 0},
    {"Toolbar", "ToolbarFace", 30, NULL, 0},
    {"Toolbar", "ToolbarSeparator", 39, NULL, 0},
    {"Toolbar", "ControlDisabledIcon", -1, "DisabledIcon", 0},
    {"Workspace", "WorkspaceClientTop", -1, "WorkspaceTop", 0},
    {"Workspace", "WorkspaceClientMiddle", -1, "WorkspaceMiddle", 0},
    {"Workspace", "WorkspaceClientBottom", -1, "WorkspaceBottom", 0},
    {"Window", "HighlightSelected", 31, NULL, 0},
    {"Window", "HighlightSelectedBorder", 32, NULL, 0},
    {"Window", "HighlightPressed", 33, NULL, 0},
    {"Window", "HighlightPressedBorder", 50, NULL, 0},
    {"Window", "HighlightChecked", 36, NULL, 0},
    {"Window", "HighlightCheckedBorder", 37, NULL, 0},
    {"Window", "HighlightSelected", -1, "HotGradient", 0.5f},
    {"Window", "HighlightChecked", -1, "CheckedGradient", 0.5f},
    {"Window", "HighlightPressed", -1, "PressedGradient", 0.5f},
    {"Window", "BorderActive0", -1, "BorderActive0", 0},
    {"Window", "BorderActive1", -1, "BorderActive1", 0},
    {"Window", "BorderActive2", -1, "BorderActive2", 0},
    {"Window", "BorderActive3", -1, "BorderActive3", 0},
    {"Window", "BorderInactive0", -1, "BorderInactive0", 0},
    {"Window", "BorderInactive1", -1, "BorderInactive1", 0},
    {"Window", "BorderInactive2", -1, "BorderInactive2", 0},
    {"Window", "BorderInactive3", -1, "BorderInactive3", 0},
    {"Window", "CaptionTextActiveTitle", -1, "CaptionTextActiveTitle", 0},
    {"Window", "CaptionTextInActive", -1, "CaptionTextInactive", 0},
    {"Window", "CaptionTextActive", -1, "CaptionTextActive", 0},
    {"Toolbar", "ControlLabel", -1, "ControlLabel", 0},
    {"Toolbar", "ControlEditBorder", -1, "ControlEditBorder", 0},
    {"Toolbar", "ControlDisabledIcon", -1, "DisabledIconGradient", 0.5f},
};

const QXPOffice2007ColorKey* AFXAPI GetOffice2007ColorKeys(int* pnCount)
{
    if (pnCount)
        *pnCount = (int)(sizeof(kColorKeys) / sizeof(kColorKeys[0]));
    return kColorKeys;
}

// The entry of a name in a table of (name, member) pairs; NULL when none.
template <class T, size_t N>
static T* FindNamed(const std::pair<const char*, T*> (&entries)[N], const char* pszName)
{
    if (!pszName)
        return NULL;
    for (const auto& e : entries)
        if (strcmp(e.first, pszName) == 0)
            return e.second;
    return NULL;
}

ColorValue* COffice2007Theme::FindColorMember(const char* pszMember)
{
    const std::pair<const char*, ColorValue*> entries[] = {
        {"StatusBarShadow", &m_clrStatusBarShadow},
        {"ToolbarBottomLine", &m_clrToolbarBottomLine},
        {"TearOffGripper", &m_clrTearOffGripper},
        {"MenuBarText", &m_clrMenuBarText},
        {"FloatingGripper", &m_clrFloatingGripper},
        {"FloatingGripperText", &m_clrFloatingGripperText},
        {"FloatingBarBorder", &m_clrFloatingBarBorder},
        {"DisabledIcon", &m_clrDisabledIcon},
        {"WorkspaceTop", &m_clrWorkspaceTop},
        {"WorkspaceMiddle", &m_clrWorkspaceMiddle},
        {"WorkspaceBottom", &m_clrWorkspaceBottom},
        {"BorderActive0", &m_clrBorderActive[0]},
        {"BorderActive1", &m_clrBorderActive[1]},
        {"BorderActive2", &m_clrBorderActive[2]},
        {"BorderActive3", &m_clrBorderActive[3]},
        {"BorderInactive0", &m_clrBorderInactive[0]},
        {"BorderInactive1", &m_clrBorderInactive[1]},
        {"BorderInactive2", &m_clrBorderInactive[2]},
        {"BorderInactive3", &m_clrBorderInactive[3]},
        {"CaptionTextActiveTitle", &m_clrCaptionTextActiveTitle},
        {"CaptionTextInactive", &m_clrCaptionTextInactive},
        {"CaptionTextActive", &m_clrCaptionTextActive},
        {"ControlLabel", &m_clrControlLabel},
        {"ControlEditBorder", &m_clrControlEditBorder},
    };
    return FindNamed(entries, pszMember);
}

GradientColorValue* COffice2007Theme::FindGradientMember(const char* pszMember)
{
    const std::pair<const char*, GradientColorValue*> entries[] = {
        {"StatusBarFaceTop", &m_grcStatusBarTop},
        {"StatusBarFaceBottom", &m_grcStatusBarBottom},
        {"DockBarFace", &m_grcDockBar},
        {"ToolBarGradient", &m_grcToolBar},
        {"ExpandButton", &m_grcExpandButton},
        {"Popped", &m_grcPopped},
        {"ExpandedGutter", &m_grcExpandedGutter},
        {"HotGradient", &m_grcHot},
        {"CheckedGradient", &m_grcChecked},
        {"PressedGradient", &m_grcPressed},
        {"DisabledIconGradient", &m_grcDisabledIcon},
    };
    return FindNamed(entries, pszMember);
}

// ---------------------------------------------------------------------------

COffice2007Theme::COffice2007Theme()
    : m_pResources(::GetThemeResources()), m_nBorderMetric(1), m_nCaptionHeight(17), m_nCaptionHeight2(18)
{
    delete m_pGalleryPainter;
    m_pGalleryPainter = new COffice2007GalleryPaint(this);
    // Light shadows under popups and expanded controls, cut where the
    // opening control is.
    m_bForceShadows = TRUE;
    m_nShadowOptions = qxpShadowLight | qxpShadowClipExclude;
}

COffice2007Theme::~COffice2007Theme() {}

void COffice2007Theme::RefreshMetrics()
{
    ToolkitPaintThemeB::RefreshMetrics();

    // The caption font: the system's, regular weight, at least 11 pixels.
    NONCLIENTMETRICSA ncm;
    ZeroMemory(&ncm, sizeof(ncm));
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    LOGFONTA lf = ncm.lfCaptionFont;
    lf.lfWeight = FW_NORMAL;
    if (lf.lfHeight >= -10 && lf.lfHeight <= -1)
        lf.lfHeight = -11;
    if (m_bClearTypeTextQuality)
        lf.lfQuality = 6; // CLEARTYPE_NATURAL_QUALITY
    if (m_bUseConfiguredFace && !m_strConfiguredFace.IsEmpty() && IsFontInstalled(m_strConfiguredFace))
        lstrcpynA(lf.lfFaceName, m_strConfiguredFace, LF_FACESIZE);
    m_fontCaption.DeleteObject();
    m_fontCaption.CreateFontIndirect(&lf);

    int nBorder = 1;
    if (::SystemParametersInfoA(SPI_GETBORDER, 0, &nBorder, 0))
        m_nBorderMetric = nBorder;
    const int cyCaption = ::GetSystemMetrics(SM_CYCAPTION);
    m_nCaptionHeight = cyCaption > 17 ? cyCaption : 17;
    m_nCaptionHeight2 = cyCaption + 1 > 18 ? cyCaption + 1 : 18;

    // The theme's colours, in the table's order.
    for (const QXPOffice2007ColorKey& k : kColorKeys) {
        if (k.fFactor > 0) {
            CString stem = k.pszKey;
            COLORREF clrDark = m_pResources->GetColor(k.pszSection, stem + "Dark");
            COLORREF clrLight = m_pResources->GetColor(k.pszSection, stem + "Light");
            GradientColorValue* g = FindGradientMember(k.pszMember);
            if (g && clrDark != QX_COLOR_NONE && clrLight != QX_COLOR_NONE)
                g->Set(clrLight, clrDark, k.fFactor);
            continue;
        }
        COLORREF clr = m_pResources->GetColor(k.pszSection, k.pszKey);
        if (k.nSlot >= 0) {
            if (clr != QX_COLOR_NONE) // none: the base theme's colour stays
                m_colors.GetAt(k.nSlot)->Set(clr);
        } else if (strcmp(k.pszMember, "StatusBarText") == 0) {
            if (clr != QX_COLOR_NONE)
                m_clrStatusTextColor = clr;
        } else if (ColorValue* p = FindColorMember(k.pszMember)) {
            p->Set(clr);
        } else if (GradientColorValue* g = FindGradientMember(k.pszMember)) {
            if (clr != QX_COLOR_NONE)
                g->Set(clr, clr, 0.5f);
        }
    }
    // Fixed slots: the popup face, and the texts that the ribbon theme
    // takes from its own keys.
    m_colors.GetAt(qxpSlotPopupFace)->Set(RGB(246, 246, 246));
    m_colors.GetAt(qxpSlotPopupText)->Set(RGB(0, 0, 0));
    m_colors.GetAt(qxpSlotHotText)->Set(RGB(0, 0, 0));
    m_colors.GetAt(qxpSlotBarText)->Set(RGB(0, 0, 0));
    m_colors.GetAt(qxpSlotDisabledText)->Set(RGB(141, 141, 141));
    m_bLunaColors = TRUE;
    CreateExpandGlyph();
}

COLORREF COffice2007Theme::GetControlTextColor(CQXPControlView* pControl)
{
    CQXPBarView* pBar = pControl ? pControl->GetParentBar() : NULL;
    if (pBar && pBar->GetType() == qxpBarTypeMenuBar && pControl->GetEnabled() && !pControl->GetSelected() &&
        !pControl->GetPressed() && !pControl->GetChecked() && !pControl->GetPopped() &&
        m_clrMenuBarText.GetColor() != QX_COLOR_NONE)
        return m_clrMenuBarText.GetColor();
    return ToolkitPaintThemeB::GetControlTextColor(pControl);
}

BOOL COffice2007Theme::DrawThemeImage(CDC* pDC, LPCSTR lpszName, CRect rc, int nState, int nStates, CRect rcMargins,
                                      COLORREF clrKey, int nGlassFlags)
{
    ThemeBitmap* p = GetImage(lpszName);
    if (!p)
        return FALSE;
    p->DrawImageGlassAware(pDC, rc, p->GetSource(nState, nStates), rcMargins, clrKey, nGlassFlags);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Status bar and workspace

void COffice2007Theme::FillStatusBar(CDC* pDC, CRect rc)
{
    if (m_grcStatusBarTop.IsEmpty() || m_grcStatusBarBottom.IsEmpty() ||
        m_clrStatusBarShadow.GetColor() == QX_COLOR_NONE) {
        ToolkitPaintThemeB::FillStatusBar(pDC, rc);
        return;
    }
    HorizontalLine(pDC, rc.left, rc.top, rc.right, m_clrStatusBarShadow.GetColor());
    FillGradient(pDC, CRect(rc.left, rc.top + 1, rc.right, rc.top + 9), m_grcStatusBarTop, FALSE);
    FillGradient(pDC, CRect(rc.left, rc.top + 9, rc.right, rc.bottom), m_grcStatusBarBottom, FALSE);
}

void COffice2007Theme::DrawStatusPaneBorder(CDC* pDC, CRect rc, CQXPStatusPaneView* pPane, BOOL bLastPane)
{
    (void)pPane;
    if (bLastPane)
        return;
    // A separator after the pane: a dark line and a white one beside it.
    const int x = rc.right;
    VerticalLine(pDC, x - 1, rc.top, rc.bottom - 2, GetColor(qxColorSeparator));
    VerticalLine(pDC, x, rc.top, rc.bottom - 2, RGB(255, 255, 255));
}

void COffice2007Theme::DrawStatusGripper(CDC* pDC, CRect rc)
{
    // Squares in three rows (3, 2, 1 from the bottom), each with a white one
    // offset under it, aligned 3 pixels inside the bottom-right corner.
    const COLORREF clrDark = GetColor(qxColorSeparator);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3 - row; ++col) {
            int x = rc.right - 3 - 2 - col * 4 - 1;
            int y = rc.bottom - 3 - 2 - row * 4 - 1;
            pDC->FillSolidRect(x + 1, y + 1, 2, 2, RGB(255, 255, 255));
            pDC->FillSolidRect(x, y, 2, 2, clrDark);
        }
    }
}

void COffice2007Theme::FillWorkspace(CDC* pDC, CRect rcClient, CRect rcInner)
{
    ThemeBitmap* p = GetImage("WORKSPACETOPLEFT");
    if (!p)
        return;
    int nSaved = pDC->SaveDC();
    CRgn rgnOuter, rgnInner;
    rgnOuter.CreateRectRgnIndirect(&rcClient);
    rgnInner.CreateRectRgnIndirect(&rcInner);
    rgnOuter.CombineRgn(&rgnOuter, &rgnInner, RGN_DIFF);
    pDC->SelectClipRgn(&rgnOuter);

    const int cxImage = p->GetWidth(), cyImage = p->GetHeight();
    CRect rcImage(rcClient.left, rcClient.top, rcClient.left + (cxImage > rcClient.Width() ? cxImage : rcClient.Width()),
                  rcClient.top + cyImage);
    p->DrawImage(pDC, rcImage, p->GetSource(), CRect(cxImage - 1, 0, 0, 0));
    const int yTop = rcImage.bottom;
    const int yMiddle = yTop + (rcClient.bottom - yTop) * 2 / 3;
    if (m_clrWorkspaceTop.GetColor() != QX_COLOR_NONE && m_clrWorkspaceMiddle.GetColor() != QX_COLOR_NONE &&
        m_clrWorkspaceBottom.GetColor() != QX_COLOR_NONE) {
        FillGradient(pDC, CRect(rcClient.left, yTop, rcClient.right, yMiddle), m_clrWorkspaceTop,
                     m_clrWorkspaceMiddle, FALSE);
        FillGradient(pDC, CRect(rcClient.left, yMiddle, rcClient.right, rcClient.bottom), m_clrWorkspaceMiddle,
                     m_clrWorkspaceBottom, FALSE);
    }
    pDC->RestoreDC(nSaved);
}

// ---------------------------------------------------------------------------

static CQXPThemePainter* AFXAPI CreateOffice2007Theme() { return new COffice2007Theme; }
static CQXPThemePainter* AFXAPI CreateRibbonStyleTheme() { return new CRibbonStyleTheme; }

void AFXAPI RegisterOffice2007Themes()
{
    RegisterThemeCreator(qxpThemeOffice2007, CreateOffice2007Theme);
    RegisterThemeCreator(qxpThemeRibbon, CreateRibbonStyleTheme);
    RegisterRibbonFrameHook();
}
