// fx/ctrlbar.h - CControlBar, the base of the bars that sit along the edges
// of a frame's client area (status bars, tool bars, dialog bars, dock
// strips), and CDialogBar, a bar made from a dialog template.
//
// Layout protocol
// ---------------
// The frame lays its bars out with CWnd::RepositionBars: every child with a
// control-bar id receives WM_SIZEPARENT with an AFX_SIZEPARENTPARAMS whose
// rect is the space still free. A visible bar aligned to an edge
// (CBRS_ALIGN_TOP/BOTTOM/LEFT/RIGHT) asks CalcDynamicLayout for its size,
// takes that strip from the edge of rect (never more than the rect holds),
// adds its size to sizeTotal (heights add up for horizontal bars, widths for
// vertical ones; the other dimension keeps the largest), and moves itself
// through the deferred-position handle hDWP. Without an hDWP (a query)
// nothing moves. The space left goes to the frame's client (the view or the
// MDI client).
//
// A bar can be shown or hidden "later" (DelayShow): the change is applied at
// the frame's next layout or the next idle update, whichever comes first,
// and IsVisible already reports the coming state.
//
// Borders: the CBRS_BORDER_* edges are drawn in the non-client area (2
// pixels each); m_cxLeftBorder ... m_cyBottomBorder are inner margins that
// CalcInsideRect takes off as well (for vertical bars the top/bottom and
// left/right margins trade places).
#pragma once

#include "fx/wnd.h"
#include "fx/dvdefs.h"

class CFrameWnd;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    // --- style ---------------------------------------------------------------
    // CBRS_* bits (only those of CBRS_ALL are kept). A change of the border
    // bits recomputes and redraws the non-client area.
    void SetBarStyle(DWORD dwStyle);
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void SetBorders(LPCRECT lpRect) { SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }

    // The frame the bar belongs to (its parent frame when it registered with
    // one, else the nearest frame above it).
    CFrameWnd* GetDockingFrame() const;
    BOOL IsFloating() const { return (m_dwStyle & CBRS_FLOATING) != 0; }
    BOOL IsDockBar() const { return m_bDockBar; }

    // Visibility including a pending DelayShow.
    virtual BOOL IsVisible() const;
    // Shows or hides the bar at the next layout or idle update.
    virtual void DelayShow(BOOL bShow);

    // --- layout ----------------------------------------------------------------
    // The size of the bar. The base gives 32767 along a stretched bar and the
    // borders' thickness across it.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // nLength: the length offered (-1: none); nMode: LM_* bits. The base
    // asks CalcFixedLayout with LM_STRETCH and LM_HORZ.
    virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
    // Takes the edges, the margins and the gripper off rect (window
    // coordinates of the bar, or an empty rectangle to learn the insets).
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;

    // Refreshes the state of the bar's items through the frame's command
    // routing (called at idle time while the bar is visible).
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;

    // --- drawing -----------------------------------------------------------------
    // Draws the border edges into the non-client area.
    void EraseNonClient();
    virtual void DrawBorders(CDC* pDC, CRect& rect);
    virtual void DrawGripper(CDC* pDC, const CRect& rect);

    BOOL m_bAutoDelete; // deleted with its window
    int m_cxLeftBorder;
    int m_cxRightBorder;
    int m_cyTopBorder;
    int m_cyBottomBorder;
    int m_cxDefaultGap;
    UINT m_nMRUWidth;
    DWORD m_dwStyle;        // CBRS_* bits
    CFrameWnd* m_pDockSite; // the frame the bar registered with (NULL: none)
    BOOL m_bDockBar;

    enum StateFlags {
        delayHide = 1,
        delayShow = 2,
        tempHide = 4,
        statusSet = 8
    };
    UINT m_nStateFlags;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;
    // Command and notification messages the bar does not handle go on to its
    // owner (the frame), so buttons on a bar drive the frame's commands.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

    // Places the bar for one WM_SIZEPARENT pass (see above); also applies a
    // pending DelayShow when the layout really moves windows.
    virtual void OnSizeParentLayout(AFX_SIZEPARENTPARAMS* pLayout);

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    // Thickness of one CBRS_BORDER_* edge.
    static int PASCAL EdgeWidth();
};

// A bar whose body is a dialog template (child style is forced). Its
// controls are enabled and disabled through the frame's command handlers.
class CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)
public:
    CDialogBar();

    // nStyle: CBRS_* alignment plus WS_VISIBLE; nID: the bar's child id.
    // FALSE when the template does not exist or the window cannot be made.
    BOOL Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, UINT nStyle, UINT nID);
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID)
    {
        return Create(pParentWnd, MAKEINTRESOURCEA(nIDTemplate), nStyle, nID);
    }

    // The template's size; a stretched bar takes the whole length.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    CSize m_sizeDefault;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
};
