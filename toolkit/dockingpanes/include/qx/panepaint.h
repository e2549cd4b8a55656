// qx/panepaint.h - the docking-pane paint manager: the metrics of captions,
// tab strips, splitters and borders, and the drawing of containers and
// splitters. One per manager; a theme replaces it whole.
#pragma once

#include <qx/panetree.h>

class CQXPTabPainter;

class CQXPDockingPaneTabbedContainer;

class CaptionButton {
public:
    CaptionButton(int nID, CPaneBase* pPane) : m_nID(nID), m_pPane(pPane) { SetRectEmpty(&m_rc); }
    int m_nID;
    CPaneBase* m_pPane;
    RECT m_rc;
    DWORD m_dwState = 0;
    BOOL m_bPressed = FALSE;
};

class CQXPDockingPanePaintManager {
public:
    CQXPDockingPanePaintManager();
    virtual ~CQXPDockingPanePaintManager();

    virtual void RefreshMetrics();
    // Makes the paint manager of a theme id (1..10; any other id gives the
    // default theme 0): caption button style, caption extra height and the
    // appearances and colour sets of its two tab paint managers.
    static CQXPDockingPanePaintManager* AFXAPI CreateTheme(int nTheme);
    int GetCurrentTheme() const { return m_nTheme; }
    int GetCaptionButtonStyle() const { return m_nButtonStyle; }
    int GetCaptionExtraHeight() const { return m_nCaptionExtra; }
    // The tab paint managers of tabbed containers and of auto-hide panels.
    CQXPTabPainter* GetTabPainter() const { return m_pTabPainter; }
    CQXPTabPainter* GetPanelTabPainter() const { return m_pPanelTabPainter; }
    int GetSplitterSize() const { return m_nSplitterSize; }
    int GetCaptionHeight() const { return m_nCaptionHeight; }
    int GetTabStripHeight() const { return m_nTabStripHeight; }
    BOOL IsShowCaption() const { return m_bShowCaption; }
    BOOL IsAlwaysShowTabs() const { return m_bAlwaysShowTabs; }

    // Shrinks a container's rectangle to the area of its pane: caption, tab
    // strip and borders off.
    virtual void AdjustClientRect(const CQXPDockingPaneTabbedContainer* pPane, RECT& rect) const;
    // The caption band and the tab strip band of a container's rectangle.
    RECT GetCaptionRect(const CQXPDockingPaneTabbedContainer* pPane, const RECT& rect) const;
    RECT GetTabStripRect(const CQXPDockingPaneTabbedContainer* pPane, const RECT& rect) const;
    // Places the visible caption buttons at the right end of the caption
    // (hidden ones get an empty rectangle).
    void LayoutCaptionButtons(CQXPDockingPaneTabbedContainer* pPane, const RECT& rect);

    virtual void DrawPane(HDC hDC, CQXPDockingPaneTabbedContainer* pPane, const RECT& rc);
    virtual void DrawSplitter(HDC hDC, const RECT& rc, BOOL bHorizBar);

    int m_nTheme;
    int m_nButtonStyle;
    int m_nCaptionExtra;
    CQXPTabPainter* m_pTabPainter;
    CQXPTabPainter* m_pPanelTabPainter;
    int m_nSplitterSize;
    int m_nCaptionHeight;
    int m_nTabStripHeight;
    int m_nBorder;
    BOOL m_bShowCaption;
    BOOL m_bAlwaysShowTabs;
    HFONT m_hFont;
};
