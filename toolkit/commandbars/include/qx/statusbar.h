// qx/statusbar.h - the status bar at the bottom of a frame: a control bar
// around the common status-bar control ("msctls_statusbar32") that keeps its
// own list of panes and paints itself, its panes and its size grip through
// the toolkit's paint manager.
//
// Panes are made from indicator ids (SetIndicators): id 0 is a text area
// (the frame's message pane, a quarter of the screen wide; as the first pane
// it stretches over the spare width and has no border), any other id takes
// the string resource of that number as its text and its width. Texts are
// sent to the control only when they change. The frame's message text
// (WM_SETTEXT) goes to the pane with id 0, and WM_GETTEXT reads it back.
//
// Width rule: every visible pane takes its width + 6 pixels plus the
// control's spacing between parts; what is left of the bar's inside width
// is shared by the stretching panes in order, each taking the rounded-down
// share of what is still left (101 pixels over two panes: 50 then 51).
//
// UI thread only.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>
#include <fx/ctrlbar.h>

#include <qx/paintviews.h>
#include <qx/tooltips.h>

#include <vector>

class CQXPCommandBars;
class CQXPStatusBar;
class CQXPThemePainter;

// Pane style bits (the low word goes to the control as its drawing flags).
#define SBPS_NOBORDERS 0x00000100 // no border
#define SBPS_POPOUT 0x00000200    // raised border (a checked pane)
#define SBPS_DISABLED 0x04000000  // no text shown; a button pane does not react
#define SBPS_STRETCH 0x08000000   // takes a share of the spare width

// Private message of the toolkit's windows: answered with the theme number
// of the paint manager (0 when the bar does not paint through it).
#define QXP_WM_GETTHEMEVALUE 0x2854

class CQXPStatusBarPane : public CCmdTarget, public CQXPStatusPaneView {
    DECLARE_DYNAMIC(CQXPStatusBarPane)
public:
    CQXPStatusBarPane();
    ~CQXPStatusBarPane() override;

    UINT GetID() const { return m_nID; }
    int GetIndex() const { return m_nIndex; }
    int GetWidth() const { return m_cxText; }
    // The text as stored (also while the pane is disabled).
    const CString& GetPaneText() const { return m_strText; }
    BOOL IsVisible() const { return m_bVisible; }
    void SetVisible(BOOL bVisible);
    void SetTooltip(LPCSTR lpszTooltip) { m_strToolTip = lpszTooltip; }
    CString GetTooltip() const { return m_strToolTip; }
    // Makes the pane a push button: a click sends WM_COMMAND with its id to
    // the parent frame.
    void SetButton(BOOL bButton = TRUE) { m_bButton = bButton; }
    void SetIconId(int nIconId) { m_nIconId = nIconId; }
    int GetIconId() const { return m_nIconId; }
    // NULL: the bar's font.
    void SetPaneFont(CFont* pFont) { m_pFont = pFont; }
    CWnd* GetChildWnd() const { return m_hWndPane ? CWnd::FromHandle(m_hWndPane) : NULL; }
    HWND GetChildHwnd() const { return m_hWndPane; }

    // The pane's own drawing: hands the pane to the paint manager.
    virtual void Draw(CDC* pDC, CRect rc);

    // CQXPStatusPaneView. A disabled pane shows no text.
    CString GetText() const override;
    UINT GetStyle() const override { return m_nStyle; }
    HFONT GetFont() const override;
    CRect GetMargins() const override { return m_rcMargins; }
    BOOL IsButton() const override { return m_bButton; }
    BOOL IsPressed() const override { return m_bPressed; }
    BOOL IsCurrent() const override;
    BOOL IsEnabled() const override { return (m_nStyle & SBPS_DISABLED) == 0; }

    UINT m_nID;
    int m_cxText; // width of the text area
    UINT m_nStyle;
    UINT m_nFlags; // dirtyText: the text must still go to the control
    CString m_strText;
    BOOL m_bVisible;
    CString m_strToolTip;
    HWND m_hWndPane;
    BOOL m_bAutoDeleteWnd;
    CQXPStatusBar* m_pStatusBar;
    int m_nIndex;        // in the bar's pane array
    int m_nVisibleIndex; // the control's part number (-1: hidden)
    CFont* m_pFont;
    int m_nIconId;     // -1: none
    CRect m_rcMargins; // 2, 1, 2, 1
    BOOL m_bButton;
    BOOL m_bPressed;

    enum {
        dirtyText = 0x1
    };
};

class CQXPStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CQXPStatusBar)
public:
    CQXPStatusBar();
    ~CQXPStatusBar() override;

    // dwStyle: WS_* and CBRS_* bits (the editor uses 0x50008200).
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    // dwCtrlStyle: SBARS_* bits of the control.
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT nID = AFX_IDW_STATUS_BAR);

    // Panes for the ids in order (see the header comment). FALSE when an id
    // other than 0 has no string; the panes made before it stay.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    void RemoveAll();

    int GetPaneCount() const { return (int)m_arrPanes.size(); }
    CQXPStatusBarPane* GetPane(int nIndex) const;
    CQXPStatusBarPane* FindPane(UINT nID) const;
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    int GetPaneWidth(int nIndex) const;
    // nWidth 0 or less: as wide as the pane's text.
    void SetPaneWidth(int nIndex, int nWidth);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    CString GetPaneText(int nIndex) const;
    // Stores the text; with bUpdate it goes to the control at once (only
    // when it changed, or was still pending), else at the next paint.
    BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
    // Places a window in the pane with that id (re-placed with the bar).
    // With bAutoDestroy the window object is deleted with the pane.
    BOOL SetPaneControl(HWND hWnd, UINT nID, BOOL bAutoDestroy = FALSE);
    BOOL SetPaneControl(CWnd* pWnd, UINT nID, BOOL bAutoDestroy = FALSE)
    {
        return SetPaneControl(pWnd ? pWnd->GetSafeHwnd() : NULL, nID, bAutoDestroy);
    }
    // The pane's rectangle in client coordinates (empty for a bad index or a
    // hidden pane).
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    int GetVisiblePaneCount() const;
    void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);
    // Re-places the panes' windows.
    void PositionControls();

    // The manager whose paint manager draws the bar (NULL: the global one).
    void SetCommandBars(CQXPCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }
    CQXPThemePainter* GetPaintManager() const;
    // Painting through the paint manager (on by default).
    void SetDrawThemed(BOOL bThemed);
    BOOL IsDrawThemed() const { return m_bDrawThemed; }
    CQXPToolTipContext* GetToolTipContext() { return &m_toolTipContext; }
    CFont* GetBarFont() { return &m_fontBar; }
    // The text width of a pane in its font (with margins and icon).
    int CalcPaneTextWidth(const CQXPStatusBarPane* pPane) const;
    // The common control's borders: horizontal, vertical, between parts.
    void GetBorders(int& cxBorder, int& cyBorder, int& cxSpacing) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

    // The pane drawing of the themed paint (device context, rectangle,
    // pane); the default lets the pane draw itself.
    virtual void DrawPaneEntry(CDC* pDC, CRect rc, CQXPStatusBarPane* pPane);
    // Paints the whole bar through the paint manager.
    void DrawThemed(CDC* pDC);

    int m_nMinHeight;
    CQXPStatusBarPane* m_pHotPane;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    void OnPaintThemed();
    void OnMouseMoveAt(CPoint point);
    void TrackButton(CQXPStatusBarPane* pPane);
    int PaneFromPoint(CPoint point) const;
    BOOL IsParentSizable() const;

    std::vector<CQXPStatusBarPane*> m_arrPanes; // one reference each
    CFont m_fontBar;
    CQXPCommandBars* m_pCommandBars;
    BOOL m_bDrawThemed;
    CQXPToolTipContext m_toolTipContext;
    BOOL m_bTrackingLeave;
};
