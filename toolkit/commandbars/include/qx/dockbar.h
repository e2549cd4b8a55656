// qx/dockbar.h - the strips along the frame's edges that hold docked
// toolbars and the menu bar in rows.
#pragma once

#include <qx/commandbar.h>

#include <functional>
#include <vector>

class CQXPToolBar;

// One bar of a row during layout, in the row's coordinates (x along the row).
struct CQXPDockBarRowItem {
    int nIndex = 0;     // the bar's index in its row
    CRect rc;           // where the bar goes
    CRect rcWanted;     // where it asked to go
    int nMinLength = 0; // the shortest length it accepts
    int nLengthBefore = 0;
    BOOL bShrinkable = FALSE; // may hide controls that do not fit
    BOOL bMoved = FALSE;
    void* pBar = NULL;
};

// Sorts the row by left edge (ties by row index: a strict ordering), pushes
// overlapping bars apart and shrinks bars that may hide controls when the row
// is longer than nLength. minLength gives a shrinkable bar's shortest length.
// Returns -1 when the row fits, else the position (in the sorted items) of
// the bar that must wrap onto an extra line.
int AFXAPI QxpLayoutDockRow(std::vector<CQXPDockBarRowItem>& items, int nLength,
                            const std::function<int(const CQXPDockBarRowItem&)>& minLength);

class CQXPDockBar : public CWnd {
    DECLARE_DYNCREATE(CQXPDockBar)
public:
    CQXPDockBar();
    ~CQXPDockBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    int GetPosition() const { return QxpDockSideFromStyle(m_dwStyle); }
    BOOL IsHorizontal() const { return (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0; }

    // Appends the bar as a new row (no rectangle) or drops it into the row
    // under the rectangle's centre (screen coordinates).
    void DockCommandBar(CQXPToolBar* pBar, LPCRECT lpRect = NULL);
    // TRUE when the bar was found and removed.
    BOOL RemoveCommandBar(CQXPToolBar* pBar, int nSkipIndex = -1);
    // Puts the bar back into row nRow (0 = the first row): as a row of its
    // own before that row with bNewRow (a new last row when there are not
    // so many rows), else at the start of that row. rcClient (client
    // coordinates) gives its wanted place along the row.
    void DockCommandBarAtRow(CQXPToolBar* pBar, int nRow, BOOL bNewRow, const CRect& rcClient);
    // The row (0 = the first) of a docked bar, -1 when it is not here;
    // *pbAlone tells that no other bar shares that row.
    int GetBarRow(CQXPToolBar* pBar, BOOL* pbAlone) const;
    int FindBar(CQXPToolBar* pBar, int nSkipIndex = -1) const;
    // The insert position of a drop point (client coordinates); *pbNewRow
    // tells that a null must be inserted before it.
    int GetInsertPosition(CPoint ptCenter, BOOL* pbNewRow) const;
    // Lays out all rows; returns the dock bar's size.
    CSize CalcDockBarLayout(int nLength, DWORD dwMode, BOOL bCommit);

    // Bars in row order; NULL ends a row. Always starts with a NULL.
    std::vector<CQXPToolBar*> m_arrBars;
    DWORD m_dwStyle;
    CQXPCommandBars* m_pCommandBars;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override {}
    void NormalizeFullRowBars();
    // The common end of docking: the bar's window moves here and the bar
    // leaves its previous place (nNewIndex: its new entry).
    void FinishDocking(CQXPToolBar* pBar, int nNewIndex);
    int LayoutRow(std::vector<CQXPToolBar*>& row, int nOffset, int nLength, BOOL bCommit, HDWP* phDWP);

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
