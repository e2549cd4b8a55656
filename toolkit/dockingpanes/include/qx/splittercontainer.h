// qx/splittercontainer.h - the splitter container: children side by side,
// left to right (horizontal) or top to bottom, one splitter bar between each
// two visible neighbours. Docking sizes of the children are weights along the
// container's axis.
#pragma once

#include <qx/panetree.h>

class CDockingSplitterWnd;

// One child of a size pass, along the container's axis.
struct SplitterSizeItem {
    int nLength = 0;      // in: weight; out: length in pixels (free children
                          // share the available space by it, see below)
    int nMin = 0;         // minimum along the axis
    int nMax = 32000;     // maximum along the axis
    BOOL bClient = FALSE; // holds the client area (takes the rest)
    BOOL bFixed = FALSE;  // out: held at a limit
};

// The outcome of a size pass: the pixels the free children share and the sum
// of their lengths.
struct SplitterSizeResult {
    int nAvailable = 0;
    int nTotal = 0;
    int nClient = -1; // index of the child that took the rest, -1 none
};

// The size pass: clamps each length into its limits, lets the first client
// child absorb what the weights leave, and fixes children whose share would
// break their limits. Never divides by zero. nExtent is the container's length
// along the axis, nSplitter the width of one splitter bar.
SplitterSizeResult SplitterSizePass(std::vector<SplitterSizeItem>& items, int nExtent, int nSplitter);

// The lengths the children get from a pass result: fixed children their
// length, free ones their share of what remains, the last child reaching the
// far edge. The result has one length per item.
std::vector<int> SplitterDistribute(const std::vector<SplitterSizeItem>& items, const SplitterSizeResult& res,
                                    int nExtent, int nSplitter);

// ---------------------------------------------------------------------------
class CPaneSplitterContainer : public CPaneContainerBase {
public:
    explicit CPaneSplitterContainer(DockingLayoutStore* pLayout);
    ~CPaneSplitterContainer() override;

    void Init(CPaneBase* pFirst, BOOL bHoriz, HWND hSite);
    void InsertPane(CPaneBase* pPane, CPaneBase* pNeighbour = NULL, BOOL bAfter = TRUE);
    void ReplacePane(CPaneBase* pOld, CPaneBase* pNew);
    void RemovePane(CPaneBase* pPane) override;
    // Unlinks a child without any consequence for this container's own place
    // (RemovePane takes an emptied container out of its parent).
    BOOL UnlinkPane(CPaneBase* pPane) { return UnlinkChild(pPane); }
    void OnChildContainerChanged(CPaneBase* pChild) override;
    void OnParentContainerChanged(CPaneBase* pParent) override;
    void GetChildren(int nType, PaneObjectList& list) const;
    BOOL IsChildBefore(const CPaneBase* pPane, const CPaneBase* pStop) const;
    CPaneBase* Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap, DWORD dwIgnoredOptions) override;
    void GetMinMaxInfo(MINMAXINFO* pMinMax) const override;
    void OnSizeParent(HWND hParent, const RECT& rect, AFX_SIZEPARENTPARAMS* lpParams) override;
    void SetDockingSite(HWND hSite) override;
    BOOL DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& ctx) override;

    // The rectangle (site client coordinates) that pPane would get beside
    // pNeighbour, nothing changed.
    RECT GetDockingRect(CPaneBase* pPane, int nDirection, CPaneBase* pNeighbour);
    // The rectangle pPane would get when a new splitter divides pContainer's.
    static RECT CalcInsideRect(CPaneBase* pContainer, CPaneBase* pPane, int nDirection, int nSplitter);

    BOOL IsHorizontal() const { return m_bHoriz; }
    void SetHorizontal(BOOL bHoriz) { m_bHoriz = bHoriz; }
    // The visible (not empty) children in order.
    PaneObjectList GetVisibleChildren() const;
    const std::vector<CDockingSplitterWnd*>& GetSplitters() const { return m_lstSpliters; }

    // Splitter bars between visible children (their windows are made by the
    // next layout); nothing while a layout pass runs, while loading or
    // without a docking site window.
    void RebuildSplitters();
    // Applies a splitter position: the two neighbours' weights from the bar's
    // start within their union (site coordinates along the axis).
    void ApplySplitterPosition(CPaneBase* pBefore, CPaneBase* pAfter, int nBarStart, int nUnionStart,
                               int nUnionExtent, BOOL bRTL);
    // Drag limits of the bar between the two (site coordinates); FALSE when
    // the bar cannot move.
    BOOL GetSplitterLimits(CPaneBase* pBefore, CPaneBase* pAfter, int& nLow, int& nHigh) const;
    // Docking sizes along the axis become the current pixel extents.
    void NormalizeDockingSize();

protected:
    virtual CDockingSplitterWnd* CreateSplitterWnd();
    void DestroySplitters();
    int GetSplitterSize() const;
    void LayoutChildren(const PaneObjectList& children, const RECT& rect, std::vector<RECT>* pBands,
                        BOOL bReset);
    void AfterChildrenChanged();

    BOOL m_bHoriz;
    BOOL m_bRecalcLayout; // guard of the layout pass
    std::vector<CDockingSplitterWnd*> m_lstSpliters;
};

// ---------------------------------------------------------------------------
// The bar between two neighbours of a splitter container (window class
// "QXPDockingPaneSplitter").
class CDockingSplitterWnd : public CWnd {
public:
    CDockingSplitterWnd();
    ~CDockingSplitterWnd() override;

    BOOL Create(CPaneSplitterContainer* pContainer, CPaneBase* pFirst, CPaneBase* pSecond);
    // The neighbours the bar lies between (and its direction, which follows
    // the container's); an existing bar is paired anew without being
    // created again.
    void SetPair(CPaneSplitterContainer* pContainer, CPaneBase* pFirst, CPaneBase* pSecond);

    CPaneSplitterContainer* m_pContainer;
    CPaneBase* m_pFirst;
    CPaneBase* m_pSecond;
    BOOL m_bHoriz; // the container is vertical: the bar lies horizontally
    HCURSOR m_hCursor;

protected:
    void TrackDrag(CPoint pt);
    void DrawBar(HDC hDC);

    void OnPaint();
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    BOOL OnEraseBkgnd(CDC* pDC);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
