// fx/view.h - CView, a window that shows a document inside a frame.
//
// A view made from a CCreateContext joins the context's document in its
// WM_CREATE; it leaves it in its destructor and deletes itself when its
// window is destroyed. It receives WM_INITIALUPDATE once before its frame is
// first shown (OnInitialUpdate, which by default calls OnUpdate, which
// invalidates the window), OnUpdate from UpdateAllViews, and
// OnActivateView when it becomes or stops being its frame's active view (a
// mouse click makes it active). Commands reach the view first, then its
// document.
//
// Printing
// --------
// ID_FILE_PRINT (57607) and ID_FILE_PRINT_DIRECT (57608) run OnFilePrint:
// OnPreparePrinting (which calls DoPreparePrinting to get the printer),
// OnBeginPrinting, then per page OnPrepareDC and OnPrint (StartPage/EndPage
// around each) while pInfo->m_bContinuePrinting, then OnEndPrinting. A
// "Printing" box with a Cancel button stays up while the job runs; Cancel
// ends the job after the page being printed. With "print to file" the
// output goes to the DOCINFO's lpszOutput.
//
// In a splitter with shared scroll bars, the scroll-bar functions of the
// view (GetScrollInfo, SetScrollInfo, ...) work on the splitter's bar of the
// view's row or column (GetScrollBarCtrl).
#pragma once

#include "fx/wnd.h"
#include "fx/dvdefs.h"

class CDocument;
class CFrameWnd;
class CPrintInfo;
class CPreviewView;
class CScrollBar;
struct CPrintPreviewState;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    // --- overridables ------------------------------------------------------------------
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);
    // Prepares a DC for drawing or printing (pInfo non-NULL when printing);
    // the base stops printing after page 1 when the page count is unknown.
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL);
    virtual BOOL IsSelected(const CObject* pDocItem) const;

    // --- printing ------------------------------------------------------------------------
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    // The base calls OnDraw.
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CPreviewView* pView);
    // Shows the print dialog (or, for ID_FILE_PRINT_DIRECT and preview, takes
    // the default printer) and leaves the printer DC in pInfo. FALSE when
    // cancelled or no printer exists.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    // Switches the main frame to a print preview of this view: nIDResource is
    // the dialog template of the preview's bar (a built-in bar is used when
    // the program has none), pPreviewViewClass a CPreviewView class. FALSE
    // when the preview could not start (pState is then still the caller's).
    BOOL DoPrintPreview(UINT nIDResource, CView* pPrintView, CRuntimeClass* pPreviewViewClass,
                        CPrintPreviewState* pState);

    afx_msg void OnFilePrint();
    afx_msg void OnFilePrintPreview();

    // --- scroll bars (shared splitter bars when there are) ------------------------------------
    virtual CScrollBar* GetScrollBarCtrl(int nBar) const;
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    int GetScrollLimit(int nBar);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // The splitter a window is a pane of, or NULL.
    static class CSplitterWnd* PASCAL GetParentSplitter(const CWnd* pWnd, BOOL bAnyState = FALSE);
    class CSplitterWnd* GetParentSplitter(BOOL bAnyState = FALSE) const { return GetParentSplitter(this, bAnyState); }

    CDocument* m_pDocument;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnInitialUpdateMsg(WPARAM wParam, LPARAM lParam);
    afx_msg void OnFilePrintDirect();
    DECLARE_MESSAGE_MAP()

    friend class CDocument;
    friend class CPreviewView;
    friend class CSplitterWnd;
};

// The print loop of OnFilePrint for a prepared job; the preview's Print and
// the command line's print use it too. Returns FALSE when the job failed
// to start or was cancelled.
namespace fx {
BOOL RunPrintJob(CView* pView, CPrintInfo* pInfo);
} // namespace fx
