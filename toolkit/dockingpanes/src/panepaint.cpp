// The default docking-pane paint manager: metrics and plain drawing.
#include <qx/panepaint.h>
#include <qx/dockingpane.h>
#include <qx/tabbedcontainer.h>
#include <qx/tabpaint.h>
#include <qx/colors.h>
#include <qx/themeres.h>
#include <qx/drawing.h>

#include <algorithm>

CQXPDockingPanePaintManager::CQXPDockingPanePaintManager()
    : m_nTheme(0), m_nButtonStyle(0), m_nCaptionExtra(5), m_pTabPainter(new CQXPTabPainter()),
      m_pPanelTabPainter(new CQXPTabPainter()), m_nSplitterSize(4), m_nCaptionHeight(18), m_nTabStripHeight(22),
      m_nBorder(1), m_bShowCaption(TRUE), m_bAlwaysShowTabs(FALSE), m_hFont(NULL), m_bShowPanelIcons(TRUE), m_bDragSlidesOut(TRUE),
      m_clrActiveCaptionText(0), m_clrInactiveCaptionText(0), m_bGradientCaptions(FALSE), m_bHighlightActive(TRUE),
      m_nSplitterStyle(0)
{
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
    RefreshMetrics();
}

CQXPDockingPanePaintManager* AFXAPI CQXPDockingPanePaintManager::CreateTheme(int nTheme)
{
    struct ThemeInfo {
        int buttonStyle;
        int captionExtra;
        int tabAppearance, tabColors;      // -1: the appearance's default
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
    CQXPDockingPanePaintManager* p = new CQXPDockingPanePaintManager();
    p->m_nTheme = nTheme;
    p->m_nButtonStyle = t.buttonStyle;
    p->m_nCaptionExtra = t.captionExtra;
    p->m_pTabPainter->SetAppearance(t.tabAppearance);
    if (t.tabColors > 0)
        p->m_pTabPainter->SetColor(t.tabColors);
    p->m_pPanelTabPainter->SetAppearance(t.panelAppearance);
    if (t.panelColors > 0)
        p->m_pPanelTabPainter->SetColor(t.panelColors);
    // Striped panes show their tabs at the top.
    p->m_pTabPainter->SetPosition(nTheme == 5 ? tabPositionTop : tabPositionBottom);
    p->RefreshMetrics();
    return p;
}

CQXPDockingPanePaintManager::~CQXPDockingPanePaintManager()
{
    delete m_pTabPainter;
    delete m_pPanelTabPainter;
    if (m_hFont)
        ::DeleteObject(m_hFont);
}

COLORREF CQXPDockingPanePaintManager::GetColor(int nIndex) const
{
    if (nIndex < 0 || nIndex > 62)
        return (COLORREF)nIndex;
    return m_clrTable[nIndex];
}

void CQXPDockingPanePaintManager::SetColor(int nIndex, COLORREF clr)
{
    if (nIndex >= 0 && nIndex <= 62)
        m_clrTable[nIndex] = clr;
}

void CQXPDockingPanePaintManager::RefreshMetrics()
{
    ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    pColors->RefreshColors();
    for (int i = 0; i <= 62; ++i)
        m_clrTable[i] = pColors->GetColor(i);
    m_clrPanelBack[0] = m_clrPanelBack[1] = GetColor(COLOR_3DFACE);
    RefreshThemeColors();
    if (m_hFont)
        ::DeleteObject(m_hFont);
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        m_hFont = ::CreateFontIndirectA(&ncm.lfSmCaptionFont);
    else
        m_hFont = NULL;
    // The caption: the text height and the theme's extra height.
    HDC hDC = ::GetDC(NULL);
    HFONT hOld = m_hFont ? (HFONT)::SelectObject(hDC, m_hFont) : NULL;
    TEXTMETRICA tm;
    ::GetTextMetricsA(hDC, &tm);
    if (hOld)
        ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    m_nCaptionHeight = tm.tmHeight + m_nCaptionExtra;
    if (m_pTabPainter) {
        m_pTabPainter->RefreshMetrics();
        m_pPanelTabPainter->RefreshMetrics();
        RECT m = m_pTabPainter->GetHeaderMargin();
        m_nTabStripHeight = m.top + m_pTabPainter->GetButtonHeight() + m.bottom;
    }
}

RECT CQXPDockingPanePaintManager::GetCaptionRect(const CQXPDockingPaneTabbedContainer* pPane, const RECT& rect) const
{
    RECT rc = rect;
    rc.bottom = pPane->IsCaptionVisible() ? std::min<LONG>(rc.top + m_nCaptionHeight, rect.bottom) : rc.top;
    return rc;
}

RECT CQXPDockingPanePaintManager::GetTabStripRect(const CQXPDockingPaneTabbedContainer* pPane, const RECT& rect) const
{
    RECT rc = rect;
    rc.top = pPane->IsTabsVisible() ? std::max<LONG>(rc.bottom - m_nTabStripHeight, rect.top) : rc.bottom;
    return rc;
}

void CQXPDockingPanePaintManager::AdjustClientRect(const CQXPDockingPaneTabbedContainer* pPane, RECT& rect) const
{
    if (pPane->IsCaptionVisible())
        rect.top += m_nCaptionHeight;
    if (pPane->IsTabsVisible())
        rect.bottom -= m_nTabStripHeight;
    ::InflateRect(&rect, -m_nBorder, -m_nBorder);
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
    if (rect.right < rect.left)
        rect.right = rect.left;
}

void CQXPDockingPanePaintManager::LayoutCaptionButtons(CQXPDockingPaneTabbedContainer* pPane, const RECT& rect)
{
    RECT rcCaption = GetCaptionRect(pPane, rect);
    int x = rcCaption.right - 2;
    int size = std::max<int>(0, (int)(rcCaption.bottom - rcCaption.top) - 4);
    for (CaptionButton* b : pPane->m_arrCaptionButtons) {
        if (!pPane->IsCaptionVisible() || !pPane->IsCaptionButtonVisible(b->m_nID)) {
            SetRectEmpty(&b->m_rc);
            continue;
        }
        RECT rc = {x - size, rcCaption.top + 2, x, rcCaption.top + 2 + size};
        b->m_rc = rc;
        x -= size + 1;
    }
}

namespace {

void FillSolidRect(HDC hDC, const RECT& rc, COLORREF clr)
{
    if (clr == (COLORREF)-1 || IsRectEmpty(&rc))
        return;
    HBRUSH h = ::CreateSolidBrush(clr);
    ::FillRect(hDC, &rc, h);
    ::DeleteObject(h);
}

void HLine(HDC hDC, int x1, int x2, int y, COLORREF clr)
{
    RECT r = {x1, y, x2, y + 1};
    FillSolidRect(hDC, r, clr);
}

void VLine(HDC hDC, int x, int y1, int y2, COLORREF clr)
{
    RECT r = {x, y1, x + 1, y2};
    FillSolidRect(hDC, r, clr);
}

void Frame3D(HDC hDC, const RECT& rc, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    HLine(hDC, rc.left, rc.right - 1, rc.top, clrTopLeft);
    VLine(hDC, rc.left, rc.top, rc.bottom - 1, clrTopLeft);
    HLine(hDC, rc.left, rc.right, rc.bottom - 1, clrBottomRight);
    VLine(hDC, rc.right - 1, rc.top, rc.bottom, clrBottomRight);
}

void Gradient(HDC hDC, const RECT& rc, COLORREF a, COLORREF b, BOOL bHorz)
{
    DrawHelpers::Instance()->FillGradient(hDC, &rc, a, b, bHorz);
}

}  // namespace

void CQXPDockingPanePaintManager::RefreshThemeColors()
{
    const COLORREF face = GetColor(COLOR_3DFACE), window = GetColor(COLOR_WINDOW);
    m_bHighlightActive = TRUE;
    m_nSplitterStyle = 0;
    m_bGradientCaptions = FALSE;
    // Default: the system caption colours.
    m_clrActiveCaption[0] = m_clrActiveCaption[1] = GetColor(COLOR_ACTIVECAPTION);
    m_clrInactiveCaption[0] = m_clrInactiveCaption[1] = GetColor(COLOR_INACTIVECAPTION);
    m_clrActiveCaptionText = GetColor(COLOR_CAPTIONTEXT);
    m_clrInactiveCaptionText = GetColor(COLOR_INACTIVECAPTIONTEXT);
    m_clrPanelBack[0] = m_clrPanelBack[1] = face;
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
            m_clrPanelBack[0] = face;
            m_clrPanelBack[1] = MixColors(face, window, 205);
        }
        if (m_nTheme == 9) {
            m_clrInactiveCaption[0] = m_clrInactiveCaption[1] = GetColor(COLOR_INACTIVECAPTION);
            m_clrActiveCaption[0] = m_clrActiveCaption[1] = GetColor(COLOR_ACTIVECAPTION);
        }
        break;
    case 2:
    case 7:
    case 10:
        // Luna: a light gradient strip, an orange active one.
        m_clrInactiveCaption[0] = MixColors(face, window, 205);
        m_clrInactiveCaption[1] = face;
        m_clrActiveCaption[0] = m_clrActiveCaption[1] = GetColor(36);
        m_clrActiveCaptionText = m_clrInactiveCaptionText = GetColor(COLOR_BTNTEXT);
        m_clrPanelBack[0] = MixColors(face, window, 205);
        m_clrPanelBack[1] = face;
        if (m_nTheme == 10) {
            m_clrInactiveCaption[0] = RGB(227, 239, 255);
            m_clrInactiveCaption[1] = RGB(175, 210, 255);
            m_clrActiveCaption[0] = RGB(255, 231, 162);
            m_clrActiveCaption[1] = RGB(255, 166, 76);
            m_nSplitterStyle = 8;
            ApplyOffice2007PaneColors();
        }
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

void CQXPDockingPanePaintManager::ApplyOffice2007PaneColors()
{
    // Each ...Light key is a gradient's first end, each ...Dark its second.
    ThemeResources* pTheme = GetThemeResources();
    if (!pTheme->IsLoaded())
        return;
    auto take = [pTheme](LPCSTR lpszKey, COLORREF& clr) {
        COLORREF v = pTheme->GetColor("DockingPane", lpszKey);
        if (v != QX_COLOR_NONE)
            clr = v;
    };
    take("NormalCaptionLight", m_clrInactiveCaption[0]);
    take("NormalCaptionDark", m_clrInactiveCaption[1]);
    take("ActiveCaptionLight", m_clrActiveCaption[0]);
    take("ActiveCaptionDark", m_clrActiveCaption[1]);
    take("NormalCaptionText", m_clrInactiveCaptionText);
    take("ActiveCaptionText", m_clrActiveCaptionText);
    take("SplitterLight", m_clrPanelBack[0]);
    take("SplitterDark", m_clrPanelBack[1]);
}

void AFXAPI CQXPDockingPanePaintManager::DrawCaptionButtonGlyph(HDC hDC, int nID, int x, int y, COLORREF clr,
                                                              BOOL bHorizontalPin)
{
    auto line = [&](int x1, int y1, int x2, int y2) {
        HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
        HGDIOBJ hOld = ::SelectObject(hDC, hPen);
        ::MoveToEx(hDC, x1, y1, NULL);
        ::LineTo(hDC, x2, y2);
        ::SelectObject(hDC, hOld);
        ::DeleteObject(hPen);
    };
    auto rect = [&](int l, int t, int w, int h) {
        RECT r = {l, t, l + w, t + h};
        FillSolidRect(hDC, r, clr);
    };
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
            ::MoveToEx(hDC, head[0].x, head[0].y, NULL);
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
        HBRUSH hBrush = ::CreateSolidBrush(clr);
        HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
        HGDIOBJ hOldB = ::SelectObject(hDC, hBrush), hOldP = ::SelectObject(hDC, hPen);
        POINT pts[] = {{x - 4, y - 1}, {x - 1, y + 2}, {x, y + 2}, {x + 3, y - 1}};
        ::Polygon(hDC, pts, 4);
        ::SelectObject(hDC, hOldB);
        ::SelectObject(hDC, hOldP);
        ::DeleteObject(hBrush);
        ::DeleteObject(hPen);
        break;
    }
    }
}

void CQXPDockingPanePaintManager::DrawCaptionButton(HDC hDC, CaptionButton* pButton, COLORREF clrGlyph, BOOL bHidden)
{
    RECT rc = pButton->m_rc;
    int x = (rc.left + rc.right) / 2, y = (rc.top + rc.bottom) / 2;
    BOOL bPressed = pButton->m_bPressed;
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
        if (bPressed) {
            Gradient(hDC, rc, RGB(254, 142, 75), RGB(255, 207, 139), FALSE);
            Frame3D(hDC, rc, GetColor(32), GetColor(32));
            clrGlyph = RGB(0, 0, 0);
        } else if (pButton->m_bHot) {
            FillSolidRect(hDC, rc, GetColor(31));
            Frame3D(hDC, rc, GetColor(32), GetColor(32));
            clrGlyph = GetColor(45);
        }
        break;
    default:
        if (bPressed) {
            Frame3D(hDC, rc, GetColor(COLOR_BTNTEXT), GetColor(COLOR_3DHIGHLIGHT));
            ++x;
            ++y;
        } else if (pButton->m_bHot) {
            Frame3D(hDC, rc, GetColor(COLOR_3DHIGHLIGHT), GetColor(COLOR_BTNTEXT));
        }
        break;
    }
    DrawCaptionButtonGlyph(hDC, pButton->m_nID, x, y, clrGlyph, bHidden);
}

int CQXPDockingPanePaintManager::DrawCaptionButtons(HDC hDC, CQXPDockingPaneTabbedContainer* pPane,
                                                    const RECT& rcBand, COLORREF clrGlyph, int nSize, int nGap)
{
    CQXPDockingPane* pSelected = pPane->GetSelected();
    if (pSelected && !(pSelected->GetEnabled() & 2))
        clrGlyph = GetColor(COLOR_GRAYTEXT);
    int x = rcBand.right - 2 - nSize;
    int top = (rcBand.top + rcBand.bottom) / 2 - nSize / 2;
    int left = rcBand.right;
    for (CaptionButton* b : pPane->m_arrCaptionButtons) {
        if (!pPane->IsCaptionButtonVisible(b->m_nID)) {
            SetRectEmpty(&b->m_rc);
            continue;
        }
        SetRect(&b->m_rc, x, top, x + nSize, top + nSize);
        DrawCaptionButton(hDC, b, clrGlyph, pPane->IsHidden());
        left = x;
        x -= nSize + nGap;
    }
    return left;
}

void CQXPDockingPanePaintManager::DrawCaption(HDC hDC, CQXPDockingPaneTabbedContainer* pPane, const RECT& rcCaption)
{
    CQXPDockingPane* pSelected = pPane->GetSelected();
    BOOL bActive = m_bHighlightActive && pPane->IsActive();
    BOOL bDisabled = pSelected && !(pSelected->GetEnabled() & 1);
    const COLORREF face = GetColor(COLOR_3DFACE);
    RECT rcBand = rcCaption;
    COLORREF clrText, clrGlyph;
    int nSize = 14, nGap = 0;
    int nTextStart = 4;
    switch (m_nTheme) {
    case 2:
    case 7:
    case 10: {
        // A gradient strip with gripper dots at its start.
        FillSolidRect(hDC, rcCaption, face);
        ::InflateRect(&rcBand, -1, 0);
        rcBand.top += 1;
        const COLORREF* g = bActive ? m_clrActiveCaption : m_clrInactiveCaption;
        Gradient(hDC, rcBand, g[0], g[1], FALSE);
        if (m_nTheme != 10) {
            ::SetPixel(hDC, rcBand.left, rcBand.top, face);
            ::SetPixel(hDC, rcBand.right - 1, rcBand.top, face);
        } else {
            HLine(hDC, rcBand.left, rcBand.right, rcBand.top, GetColor(54));
        }
        if (rcBand.bottom - rcBand.top > 7 && m_nTheme != 7)
            for (int y = rcBand.top + 3; y + 2 < rcBand.bottom - 1; y += 4) {
                RECT d1 = {rcBand.left + 4, y + 1, rcBand.left + 6, y + 3};
                RECT d0 = {rcBand.left + 3, y, rcBand.left + 5, y + 2};
                FillSolidRect(hDC, d1, GetColor(COLOR_WINDOW));
                FillSolidRect(hDC, d0, GetColor(38));
            }
        nTextStart = 10;
        nSize = 16;
        clrText = clrGlyph = bActive ? m_clrActiveCaptionText : m_clrInactiveCaptionText;
        break;
    }
    case 1:
    case 3:
    case 5:
    case 6:
    case 9: {
        FillSolidRect(hDC, rcCaption, face);
        if (m_nTheme != 6 && m_nTheme != 9)
            ::InflateRect(&rcBand, 0, -1);
        if (m_bGradientCaptions) {
            const COLORREF* g = bActive ? m_clrActiveCaption : m_clrInactiveCaption;
            Gradient(hDC, rcBand, g[0], g[1], TRUE);
        } else if (bActive) {
            FillSolidRect(hDC, rcBand, m_clrActiveCaption[0]);
        } else {
            // An outline with its corners left out.
            HLine(hDC, rcBand.left + 1, rcBand.right - 1, rcBand.top, GetColor(52));
            HLine(hDC, rcBand.left + 1, rcBand.right - 1, rcBand.bottom - 1, GetColor(52));
            VLine(hDC, rcBand.left, rcBand.top + 1, rcBand.bottom - 1, GetColor(52));
            VLine(hDC, rcBand.right - 1, rcBand.top + 1, rcBand.bottom - 1, GetColor(52));
        }
        if (m_nTheme == 9) {
            HLine(hDC, rcBand.left, rcBand.right, rcBand.top, GetColor(COLOR_3DSHADOW));
            VLine(hDC, rcBand.left, rcBand.top, rcBand.bottom, GetColor(COLOR_3DSHADOW));
            VLine(hDC, rcBand.right - 1, rcBand.top, rcBand.bottom, GetColor(COLOR_3DSHADOW));
        }
        clrText = bActive ? m_clrActiveCaptionText : m_clrInactiveCaptionText;
        clrGlyph = bActive ? GetColor(COLOR_CAPTIONTEXT) : GetColor(COLOR_BTNTEXT);
        if (m_bGradientCaptions)
            clrGlyph = clrText;
        nGap = 2;
        break;
    }
    case 4: {
        // A face caption with two grip bars after the text.
        FillSolidRect(hDC, rcCaption, face);
        clrText = clrGlyph = GetColor(COLOR_BTNTEXT);
        nGap = 2;
        break;
    }
    default: {
        FillSolidRect(hDC, rcCaption, face);
        rcBand.top += 1;
        FillSolidRect(hDC, rcBand, bActive ? m_clrActiveCaption[0] : m_clrInactiveCaption[0]);
        clrText = bActive ? m_clrActiveCaptionText : m_clrInactiveCaptionText;
        clrGlyph = GetColor(COLOR_BTNTEXT);
        if (m_nButtonStyle != 0)
            clrGlyph = clrText;
        break;
    }
    }
    if (bDisabled)
        clrText = GetColor(COLOR_GRAYTEXT);
    int right = DrawCaptionButtons(hDC, pPane, rcBand, clrGlyph, nSize, nGap);
    RECT rcText = rcBand;
    rcText.left += nTextStart;
    rcText.right = right - 2;
    CString strTitle = pPane->GetTitle();
    if (!strTitle.IsEmpty() && rcText.right > rcText.left) {
        HFONT hOld = m_hFont ? (HFONT)::SelectObject(hDC, m_hFont) : NULL;
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, clrText);
        RECT rcCalc = rcText;
        ::DrawTextA(hDC, strTitle, strTitle.GetLength(), &rcCalc,
                    DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_CALCRECT);
        ::DrawTextA(hDC, strTitle, strTitle.GetLength(), &rcText,
                    DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        if (hOld)
            ::SelectObject(hDC, hOld);
        if (m_nTheme == 4) {
            // Grip bars from after the text to the buttons.
            int x1 = rcCalc.right + 4, x2 = right - 4;
            int mid = (rcBand.top + rcBand.bottom) / 2;
            if (x2 > x1)
                for (int y : {mid - 3, mid + 1}) {
                    RECT r = {x1, y, x2, y + 3};
                    Frame3D(hDC, r, GetColor(COLOR_3DHIGHLIGHT), GetColor(COLOR_3DSHADOW));
                }
        }
    }
}

void CQXPDockingPanePaintManager::DrawPane(HDC hDC, CQXPDockingPaneTabbedContainer* pPane, const RECT& rc)
{
    FillSolidRect(hDC, rc, GetColor(COLOR_3DFACE));
    ::SetBkMode(hDC, TRANSPARENT);
    if (pPane->IsTabsVisible() && pPane->GetTabManager()) {
        RECT rcStrip = GetTabStripRect(pPane, rc);
        m_pTabPainter->DrawTabControl(pPane->GetTabManager(), hDC, rcStrip);
    }
    if (pPane->IsCaptionVisible())
        DrawCaption(hDC, pPane, GetCaptionRect(pPane, rc));
    else
        LayoutCaptionButtons(pPane, rc);
}

void CQXPDockingPanePaintManager::DrawSplitter(HDC hDC, const RECT& rc, BOOL bHorizBar)
{
    const COLORREF face = GetColor(COLOR_3DFACE);
    if (m_nSplitterStyle & (4 | 8)) {
        COLORREF b = MixColors(face, GetColor(COLOR_WINDOW), 205);
        Gradient(hDC, rc, face, b, (m_nSplitterStyle & 4) != 0);
        return;
    }
    FillSolidRect(hDC, rc, face);
    if (m_nSplitterStyle & 1) {
        if (bHorizBar) {
            HLine(hDC, rc.left, rc.right, rc.top, GetColor(COLOR_3DHIGHLIGHT));
            HLine(hDC, rc.left, rc.right, rc.bottom - 1, GetColor(COLOR_BTNTEXT));
        } else {
            VLine(hDC, rc.left, rc.top, rc.bottom, GetColor(COLOR_3DHIGHLIGHT));
            VLine(hDC, rc.right - 1, rc.top, rc.bottom, GetColor(COLOR_BTNTEXT));
        }
    }
}
