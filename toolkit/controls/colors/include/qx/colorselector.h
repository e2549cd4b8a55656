// qx/colorselector.h - the colour selector and its drop-down popup.
//
// CQXColorSelectorCtrl is a hot-tracking grid of colour cells under an
// "Automatic Color" (or "No Fill") button, with an optional row of recently
// chosen colours and a "More Colors..." button that runs the colour dialog
// (qx/colordialog.h). It tells its listener windows the outcome with the
// CPN_ messages below (wParam the colour). Its looks come from a theme of
// CQXColorSelectorCtrlThemeFactory: 0 the default (3-D cells, halftone for
// the current colour), 1 flat, 2 flat with the custom colour layer.
//
// CQXColorPopup is the selector as a drop-down window under a picker button:
// it holds the mouse capture, tells its owner CPN_DROPDOWN when it opens and
// CPN_CLOSEUP when it goes, and closes on a choice, Escape, a click outside,
// or when it or the application loses activation. It deletes itself.
//
// Colours are COLORREFs; QX_COLOR_UNSET (no colour) and QX_COLOR_NOFILL
// (qx/colordata.h) are stored and reported but never drawn: a cell or
// button of such a colour shows an empty box. UI thread only.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/colordata.h>
#include <qx/controlthemes.h>

#include <vector>

// The selector's result messages (window messages to its listeners; the
// picker passes the same numbers on as WM_COMMAND notification codes).
#define CPN_SELUNCHANGED 0x2729 // the chosen colour equals the current one
#define CPN_DROPDOWN 0x272A     // a popup opened
#define CPN_CLOSEUP 0x272B      // a popup closed
#define CPN_SELCHANGE 0x272C    // a different colour was chosen
#define CPN_SELCANCEL 0x272D    // ended without a choice
#define CPN_SELNOFILL 0x272E    // "No Fill" chosen (wParam QX_COLOR_NOFILL)

class CQXColorDialog;

// One cell of a selector: the top button (index 0), a colour cell, or
// "More Colors..." (the last cell with QXCS_MORECOLORS).
struct ColorCell {
    enum {
        kindColor = 8,
        kindText = 16
    };                      // the top button's kind is its QXCS_NOFILL bit
    UINT nID = 0;           // string id of the name or text (0: a recent colour)
    int nIndex = 0;         // position in the list
    BOOL bSelected = FALSE; // the current colour's cell
    BOOL bFramed = FALSE;   // the sample has a frame of its own
    CRect rect;             // client coordinates
    DWORD dwKind = 0;
    CString strText; // button text (empty for colour cells)
    CString strTip;  // tooltip
    COLORREF clr = QX_COLOR_UNSET;
};

// ---------------------------------------------------------------------------
// Themes.

class CColorSelectorTheme : public ThemeStyle {
public:
    CColorSelectorTheme();

    void RefreshMetrics() override;
    virtual void FillBackground(CDC* pDC, const CRect& rc);
    // Draws a cell; bHighlighted: under the mouse or keyboard (or pressed);
    // bPressed: pressed and hot.
    virtual void DrawCell(const ColorCell* pCell, CDC* pDC, BOOL bHighlighted, BOOL bPressed);

    // QX_COLOR_NONE: the theme has none.
    COLORREF m_clrLight;
    COLORREF m_clrShadow;
    COLORREF m_clrBackground;
    COLORREF m_clrPressed;
    COLORREF m_clrHot;
    COLORREF m_clrChecked;
    COLORREF m_clrText;

protected:
    // Colour manager numbers of the seven colours (-1: none); bCustom takes
    // the custom colour layer for numbers 30 to 62.
    void SetColorsFrom(const int nIndexes[7], BOOL bCustom);
};

class CColorSelectorThemeFlat : public CColorSelectorTheme {
public:
    void RefreshMetrics() override;
};

class CColorSelectorThemeCustom : public CColorSelectorTheme {
public:
    void RefreshMetrics() override;
};

// 1 flat, 2 custom, any other id the default theme.
class CQXColorSelectorCtrlThemeFactory : public CQXThemeManagerStyleFactory {
    DECLARE_DYNCREATE(CQXColorSelectorCtrlThemeFactory)
public:
    ThemeStyle* CreateTheme(int nTheme) override;
};

// ---------------------------------------------------------------------------
class CQXColorSelectorCtrl : public CWnd {
    DECLARE_DYNAMIC(CQXColorSelectorCtrl)
public:
    CQXColorSelectorCtrl();
    ~CQXColorSelectorCtrl() override;

    // Registers pParent as a listener and creates the window under rect
    // (left, bottom) with the size QxColorSelectorSize gives; a popup with
    // QXCS_POPUP, else a child. Shown without activation.
    virtual BOOL Create(const CRect& rect, CWnd* pParent, DWORD dwStyle, COLORREF clrCurrent,
                        COLORREF clrDefault = QX_COLOR_UNSET);
    // Ends with a cell: "More Colors..." runs the dialog; -1 ends without a
    // choice. Sends the result to every listener that still exists.
    virtual void EndSelection(int nIndex, LPARAM lParam);
    void Select(int nIndex) { EndSelection(nIndex, 0); }

    void AddListener(HWND hWnd);
    void RemoveListener(HWND hWnd);
    // A table of the caller's own instead of the built-in 40 colours (the
    // extended style is set); nColumns cells per row, also the most recent
    // colours kept. Before Create.
    void SetColors(const COLORREF* pColors, int nCount, int nColumns = kQxColorColumns);
    void SetMargins(int cxLeft, int cyTop, int cxRight, int cyBottom) { m_rcMargins.SetRect(cxLeft, cyTop, cxRight, cyBottom); }
    const CRect& GetMargins() const { return m_rcMargins; }

    // Among the recent colours, or in the table the style shows.
    BOOL IsColorKnown(COLORREF clr) const;
    int GetCellCount() const { return (int)m_cells.size(); }
    const ColorCell* GetCell(int nIndex) const;
    void SetHot(int nIndex);
    int GetHot() const { return m_nHot; }
    int GetPressed() const { return m_nPressed; }
    BOOL IsDialogOpen() const;
    CQXColorDialog* GetOpenDialog() const { return m_pDialog; }
    COLORREF GetCurrentColor() const { return m_clrCurrent; }
    COLORREF GetDefaultColor() const { return m_clrDefault; }
    DWORD GetSelectorStyle() const { return m_dwStyle; }
    int GetColumns() const { return m_nColumns; }
    CColorSelectorTheme* GetTheme();
    ThemeFactoryList& GetThemeHolder() { return m_themeHolder; }
    CToolTipCtrl& GetToolTip() { return m_wndTip; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // Runs the colour dialog for the current colour; the chosen colour (or
    // -1 when cancelled). Tests replace the dialog's run through a subclass.
    virtual BOOL RunColorDialog(COLORREF& clr);
    void BuildCells();
    int HitTest(CPoint pt) const;
    void SendResult(UINT nMessage, COLORREF clr, LPARAM lParam);

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    DECLARE_MESSAGE_MAP()

    ThemeFactoryList m_themeHolder;
    int m_nColumns; // cells per row; the most recent colours kept
    int m_nHot;     // -1 none
    int m_nPressed; // -1 none
    CWnd* m_pOwnerWnd;
    CSize m_szCell;    // 18 x 18
    CRect m_rcMargins; // left, top, right, bottom
    DWORD m_dwStyle;   // QXCS_ flags
    CPoint m_ptLastMouse;
    COLORREF m_clrCurrent;
    COLORREF m_clrDefault;
    CToolTipCtrl m_wndTip;
    std::vector<HWND> m_listeners;
    std::vector<ColorCell> m_cells;
    CQXColorDialog* m_pDialog; // while "More Colors..." runs
    std::vector<COLORREF> m_customColors;
};

// ---------------------------------------------------------------------------
class CQXColorPopup : public CQXColorSelectorCtrl {
    DECLARE_DYNAMIC(CQXColorPopup)
public:
    explicit CQXColorPopup(BOOL bAutoDelete = TRUE, LPARAM lOwnerData = 0);

    // Margins 4, 4, 6, 6 in the flat looks, 4, 4, 10, 10 in the default one;
    // a popup window of the selector under rcAnchor (screen), owned by
    // pOwner, which gets the open and close notifications.
    BOOL Create(const CRect& rcAnchor, CWnd* pOwner, DWORD dwStyle, COLORREF clrCurrent,
                COLORREF clrDefault = QX_COLOR_UNSET) override;
    void EndSelection(int nIndex, LPARAM lParam) override;
    // A theme id other than 0.
    BOOL IsFlatLook();
    const CRect& GetAnchorRect() const { return m_rcAnchor; }
    // Whether the flat looks cast an edge shadow (on by default).
    void SetShadow(BOOL bShadow) { m_bShadow = bShadow; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()

    BOOL m_bAutoDelete;
    BOOL m_bShadow;
    CRect m_rcAnchor;
    LPARAM m_lOwnerData;
    HWND m_hWndNotify; // the owner, told of opening and closing
    BOOL m_bDropped;   // the owner was told of the opening (and so hears of the close)
    BOOL m_bEnded;     // a result went out; the window is closing
};
