// qx/tabpaint.h - the tab paint manager: measures, lays out and paints tab
// strips for any tab manager. It keeps the strip options (position, layout,
// margins, item widths, tooltips, hot tracking), the tab fonts, and the
// appearance and colour set chosen by number.
#pragma once

#include <qx/tabmanager.h>

enum TabLayoutStyle {
    tabLayoutAutoSize = 0,
    tabLayoutSizeToFit = 1,
    tabLayoutFixed = 2,
    tabLayoutCompressed = 3,
    tabLayoutMultiRow = 4,
    tabLayoutRotated = 5,
};

enum TabPosition { tabPositionTop = 0, tabPositionLeft = 1, tabPositionBottom = 2, tabPositionRight = 3 };

class CQXPTabPainter {
public:
    CQXPTabPainter();
    virtual ~CQXPTabPainter();
    CQXPTabPainter(const CQXPTabPainter&) = delete;
    CQXPTabPainter& operator=(const CQXPTabPainter&) = delete;

    // Appearance by number (unknown numbers give 0); its default colour set
    // comes with it.
    void SetAppearance(int nAppearance);
    int GetAppearance() const { return m_nAppearance; }
    void SetColor(int nColorSet);
    int GetColor() const { return m_nColorSet; }
    // The colour sets an appearance supports (bit mask) and its default.
    static int AFXAPI GetSupportedColorSets(int nAppearance);
    static int AFXAPI GetDefaultColorSet(int nAppearance);
    // The header margins of the appearance, with the room its tab ends need.
    RECT GetHeaderMargin() const;

    void SetPosition(int nPosition);
    int GetPosition() const { return m_nPosition; }
    void SetLayout(int nLayout);
    int GetLayout() const { return m_nLayout; }
    BOOL IsHorizontal() const { return m_nPosition == tabPositionTop || m_nPosition == tabPositionBottom; }

    void AddListener(CQXPTabManagerAtom* pAtom);
    void RemoveListener(CQXPTabManagerAtom* pAtom);
    virtual void OnPropertyChanged();
    virtual void RefreshMetrics();
    // Builds the four fonts from a log font (bUseSystemFont records whether
    // they follow the system's icon-title font).
    void SetFontIndirect(const LOGFONTA* pLogFont, BOOL bUseSystemFont = FALSE);
    HFONT GetFont(BOOL bBold, BOOL bVertical) const;
    LONG GetVerticalFontHeight() const { return m_lfVertical.lfHeight; }
    void SetItemMetrics(int nFixed, int nMin = 0, int nMax = 0);

    // Row height of the strip.
    int GetButtonHeight() const;
    // Width of one item in the current layout.
    int GetButtonLength(HDC hDC, CQXPTabManager* pManager, CQXPTabManagerItem* pItem);
    // Lays the strip out inside rc.
    virtual void RepositionTabControl(CQXPTabManager* pManager, HDC hDC, const RECT& rc);
    // The client area left inside rc below (beside) the header.
    virtual void AdjustClientRect(CQXPTabManager* pManager, RECT& rc) const;
    virtual void DrawTabControl(CQXPTabManager* pManager, HDC hDC, const RECT& rc);
    void EnsureVisible(CQXPTabManager* pManager, CQXPTabManagerItem* pItem);
    // Draws text shortened in the middle ("\\" paths with DT_PATH_ELLIPSIS);
    // returns the text drawn.
    CString DrawTextEllipsis(HDC hDC, const CString& strText, RECT rc, UINT nFormat);

    // Size to fit: narrows the widths so that they sum to nAvailable,
    // keeping the narrow ones whole.
    static void AFXAPI ShrinkItems(std::vector<int>& widths, int nAvailable);
    // A colour of the next new item (rotating through the eight).
    COLORREF NextItemColor() { return QXP_TABCOLOR_FIRST + (m_nColorCounter++ % 8); }

    BOOL m_bHotTracking;
    BOOL m_bShowIcons;
    BOOL m_bBoldSelected;
    BOOL m_bBoldNormal;
    BOOL m_bStaticFrame;
    BOOL m_bSelectOnButtonDown;
    BOOL m_bActivateOnDragOver;
    BOOL m_bMiddleEllipsis;
    BOOL m_bUseSystemFont;
    RECT m_rcClientMargin;
    RECT m_rcButtonMargin;
    RECT m_rcContentInset;
    int m_nExtraItemWidth;
    SIZE m_szNavigateButton;
    SIZE m_szIcon;
    int m_nFixedTabWidth;
    int m_nMinTabWidth;
    int m_nMaxTabWidth;
    int m_nToolTipMode;

protected:
    void RebuildFonts();
    // Along-the-strip helpers (x on horizontal strips, y on vertical ones).
    int Start(const RECT& rc) const { return IsHorizontal() ? rc.left : rc.top; }
    int End(const RECT& rc) const { return IsHorizontal() ? rc.right : rc.bottom; }
    RECT GetHeaderRect(CQXPTabManager* pManager, const RECT& rcControl) const;
    void PlaceNavigateButtons(CQXPTabManager* pManager, const RECT& rcControl);

    int m_nAppearance;
    int m_nColorSet;
    int m_nPosition;
    int m_nLayout;
    int m_nColorCounter;
    RECT m_rcHeaderMargin;
    int m_nRowHeight;
    LOGFONTA m_lfNormal;
    LOGFONTA m_lfVertical;
    HFONT m_hFonts[4];  // normal, bold, vertical normal, vertical bold
    std::vector<CQXPTabManagerAtom*> m_arrListeners;
};
