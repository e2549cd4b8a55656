// fx/splitter.h - CSplitterWnd, a window that divides its area into panes
// (rows and columns of views) with movable splitter bars.
//
// A dynamic splitter (Create with SPLS_DYNAMIC_SPLIT) starts with one pane
// and at most nMaxRows x nMaxCols (2 x 1 or 1 x 2 here). Dragging the split
// box (the small button beside the shared scroll bar) or double-clicking it
// splits the pane; dragging a splitter bar moves it, dragging it to the
// edge (or below the minimum size) joins the panes again. New panes are views
// of the class of the first pane, on the same document.
//
// With WS_HSCROLL / WS_VSCROLL the splitter owns the scroll bars: one
// horizontal bar per column along the bottom and one vertical bar per row
// along the right. Their WM_HSCROLL / WM_VSCROLL go to every pane of that
// column / row; views set and read them through CView::GetScrollBarCtrl.
//
// Panes are children with ids IdFromRowCol(row, col) = AFX_IDW_PANE_FIRST +
// row * 16 + col.
#pragma once

#include "fx/wnd.h"
#include "fx/dvdefs.h"

#include <vector>

class CView;
class CScrollBar;

class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    CSplitterWnd();
    ~CSplitterWnd() override;

    // A dynamic splitter; the first pane is made from pContext (its view
    // class and document).
    BOOL Create(CWnd* pParentWnd, int nMaxRows, int nMaxCols, SIZE sizeMin, CCreateContext* pContext,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | SPLS_DYNAMIC_SPLIT,
                UINT nID = AFX_IDW_PANE_FIRST);
    // A static splitter of nRows x nCols; the panes are made with CreateView.
    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
    virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext);
    virtual void DeleteView(int row, int col);

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetMaxRowCount() const { return m_nMaxRows; }
    int GetMaxColumnCount() const { return m_nMaxCols; }
    void GetRowInfo(int row, int& cyCur, int& cyMin) const;
    void SetRowInfo(int row, int cyIdeal, int cyMin);
    void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
    void SetColumnInfo(int col, int cxIdeal, int cxMin);

    CWnd* GetPane(int row, int col) const;
    BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol);
    int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
    CWnd* GetActivePane(int* pRow = NULL, int* pCol = NULL);
    void SetActivePane(int row, int col, CWnd* pWnd = NULL);

    // Splits at the given position (pixels from the top / left); FALSE when
    // there is no room or the pane could not be made.
    virtual BOOL SplitRow(int cyBefore);
    virtual BOOL SplitColumn(int cxBefore);
    // Removes a row / column (its views are destroyed).
    virtual void DeleteRow(int rowDelete);
    virtual void DeleteColumn(int colDelete);
    virtual void RecalcLayout();

    // The shared scroll bar of a view's row (SB_VERT) or column (SB_HORZ).
    CScrollBar* GetScrollBarCtrl(CWnd* pPane, int nBar) const;

    // Geometry (pixels): the splitter bar, the gap and the split box.
    int m_cxSplitter, m_cySplitter;
    int m_cxSplitterGap, m_cySplitterGap;
    int m_cxBorder, m_cyBorder;

protected:
    struct CRowColInfo {
        int nMinSize;
        int nIdealSize;
        int nCurSize;
    };

    enum HitTestValue {
        noHit = 0,
        vSplitterBox = 1,
        hSplitterBox = 2,
        bothSplitterBox = 3,
        vSplitterBar1 = 101,
        hSplitterBar1 = 201,
        splitterIntersection1 = 301,
    };

    BOOL CreateCommon(CWnd* pParentWnd, SIZE sizeMin, DWORD dwStyle, UINT nID);
    int HitTest(CPoint pt) const;
    void GetHitRect(int ht, CRect& rect) const;
    void StartTracking(int ht);
    void StopTracking(BOOL bAccept);
    void OnInvertTracker(const CRect& rect);
    void TrackRowSize(int y, int row);
    void TrackColumnSize(int x, int col);
    void LayoutRowCol(CRowColInfo* pInfo, int nMax, int nSize, int nSizeSplitter);
    // The part of the window the panes and bars share (no scroll bars).
    CRect InsideRect() const;
    CRect SplitBoxRect(BOOL bRows) const;
    BOOL IsDynamic() const { return (GetStyle() & SPLS_DYNAMIC_SPLIT) != 0; }
    // Top (left) edge of a row (column) inside the window.
    int RowTop(int row) const;
    int ColLeft(int col) const;
    CWnd* FirstOtherPane(CWnd* pExcept);
    // Makes the panes of a new row or column.
    BOOL CreateDynamicPanes(BOOL bRow, int nNew);

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
    afx_msg void OnCancelMode();
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    CRuntimeClass* m_pDynamicViewClass;
    int m_nMaxRows, m_nMaxCols;
    int m_nRows, m_nCols;
    BOOL m_bHasHScroll, m_bHasVScroll;
    CRowColInfo* m_pColInfo;
    CRowColInfo* m_pRowInfo;

    // Tracking of a split box or bar.
    BOOL m_bTracking, m_bTracking2;
    CPoint m_ptTrackOffset;
    CRect m_rectLimit;
    CRect m_rectTracker, m_rectTracker2;
    int m_htTrack;
    // The shared scroll bars: per column (horizontal), per row (vertical).
    std::vector<CScrollBar*> m_hScrollBars;
    std::vector<CScrollBar*> m_vScrollBars;

public:
    // Set while a drag of a box or bar runs (tests and the toolkit read it).
    BOOL IsTracking() const { return m_bTracking; }
};
