// The default docking-pane paint manager: metrics and plain drawing.
#include <qx/panepaint.h>
#include <qx/dockingpane.h>
#include <qx/tabbedcontainer.h>
#include <qx/tabpaint.h>

#include <algorithm>

CQXPDockingPanePaintManager::CQXPDockingPanePaintManager()
    : m_nTheme(0), m_nButtonStyle(0), m_nCaptionExtra(5), m_pTabPainter(new CQXPTabPainter()),
      m_pPanelTabPainter(new CQXPTabPainter()), m_nSplitterSize(4), m_nCaptionHeight(18), m_nTabStripHeight(22),
      m_nBorder(1), m_bShowCaption(TRUE), m_bAlwaysShowTabs(FALSE), m_hFont(NULL)
{
    // Pane tabs sit below the pane; a tab dragged over selects its pane.
    m_pTabPainter->SetPosition(tabPositionBottom);
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

void CQXPDockingPanePaintManager::RefreshMetrics()
{
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

void CQXPDockingPanePaintManager::DrawPane(HDC hDC, CQXPDockingPaneTabbedContainer* pPane, const RECT& rc)
{
    ::FillRect(hDC, &rc, ::GetSysColorBrush(COLOR_3DFACE));
    HFONT hOld = m_hFont ? (HFONT)::SelectObject(hDC, m_hFont) : NULL;
    ::SetBkMode(hDC, TRANSPARENT);
    LayoutCaptionButtons(pPane, rc);
    if (pPane->IsCaptionVisible()) {
        RECT rcCaption = GetCaptionRect(pPane, rc);
        BOOL bActive = pPane->IsActive();
        ::FillRect(hDC, &rcCaption, ::GetSysColorBrush(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        ::SetTextColor(hDC, ::GetSysColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        RECT rcText = rcCaption;
        rcText.left += 4;
        CString strTitle = pPane->GetTitle();
        ::DrawTextA(hDC, strTitle, strTitle.GetLength(), &rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        for (CaptionButton* b : pPane->m_arrCaptionButtons) {
            if (::IsRectEmpty(&b->m_rc))
                continue;
            if (b->m_nID == QXP_IDS_DOCKINGPANE_CLOSE) {
                HPEN hPen = ::CreatePen(PS_SOLID, 2, ::GetSysColor(COLOR_CAPTIONTEXT));
                HPEN hOldPen = (HPEN)::SelectObject(hDC, hPen);
                int cx = (b->m_rc.left + b->m_rc.right) / 2, cy = (b->m_rc.top + b->m_rc.bottom) / 2;
                ::MoveToEx(hDC, cx - 3, cy - 3, NULL);
                ::LineTo(hDC, cx + 4, cy + 4);
                ::MoveToEx(hDC, cx + 3, cy - 3, NULL);
                ::LineTo(hDC, cx - 4, cy + 4);
                ::SelectObject(hDC, hOldPen);
                ::DeleteObject(hPen);
            } else {
                ::FrameRect(hDC, &b->m_rc, ::GetSysColorBrush(COLOR_CAPTIONTEXT));
            }
        }
    }
    if (pPane->IsTabsVisible() && pPane->GetTabManager()) {
        RECT rcStrip = GetTabStripRect(pPane, rc);
        m_pTabPainter->DrawTabControl(pPane->GetTabManager(), hDC, rcStrip);
    }
    if (hOld)
        ::SelectObject(hDC, hOld);
}

void CQXPDockingPanePaintManager::DrawSplitter(HDC hDC, const RECT& rc, BOOL /*bHorizBar*/)
{
    ::FillRect(hDC, &rc, ::GetSysColorBrush(COLOR_3DFACE));
}
