// fx/preview.h - print preview: CPreviewDC, which draws a printer page onto
// the screen, and CPreviewView, the view that shows one or two pages in
// place of the frame's client while a preview runs.
//
// The preview view is made by CView::DoPrintPreview in the application's
// main frame; the frame hides its client and bars (OnSetPreviewMode) and
// shows the preview's bar (AFX_IDW_PREVIEW_BAR) with the buttons Print,
// Next Page, Prev Page, One Page / Two Page, Zoom In, Zoom Out and Close
// (commands AFX_ID_PREVIEW_*). Each page is drawn by the printed view's own
// OnPrepareDC and OnPrint on a CPreviewDC: queries go to the printer (or
// reference) DC, output goes to the screen, scaled to the page's place.
// Closing the preview (Close, Escape, or closing the frame) calls the
// printed view's OnEndPrintPreview, which ends the job, restores the frame
// and destroys the preview view.
#pragma once

#include "fx/view.h"
#include "fx/print.h"

#include <utility>
#include <vector>

class CControlBar;
struct CPrintPreviewState;

class CPreviewDC : public CDC {
    DECLARE_DYNAMIC(CPreviewDC)
public:
    CPreviewDC();
    ~CPreviewDC() override;

    // The printer (attribute) DC and the screen (output) DC.
    void SetAttribDC(HDC hDC) override;
    void SetOutputDC(HDC hDC) override;
    void ReleaseOutputDC() override;

    // Printer pixels times num / den give screen pixels (per axis).
    void SetScaleRatio(CSize num, CSize den);
    // Where the page's top-left corner lies on the screen DC (device units).
    void SetTopLeftOffset(CSize sizeTopLeft);
    // Clips the output to the page rectangle (screen device units).
    void ClipToPage(const CRect& rectScreenPage);
    // Printer device point to screen device point.
    void PrinterDPtoScreenDP(LPPOINT lpPoint) const;

    int SaveDC() override;
    BOOL RestoreDC(int nSavedDC) override;
    int SetMapMode(int nMapMode) override;
    CPoint SetViewportOrg(int x, int y) override;
    CPoint OffsetViewportOrg(int nWidth, int nHeight) override;
    CSize SetViewportExt(int cx, int cy) override;
    CSize ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom) override;
    CSize SetWindowExt(int cx, int cy) override;
    CSize ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom) override;
    using CDC::SetViewportExt;
    using CDC::SetViewportOrg;
    using CDC::SetWindowExt;

    // Applies the printer DC's mapping, scaled, to the screen DC (call after
    // changing the printer DC directly).
    void MirrorMapping();

protected:
    CSize m_sizeNum, m_sizeDen;
    CSize m_sizeTopLeft;
    // Save levels of the output DC that go with the printer DC's levels.
    std::vector<std::pair<int, int>> m_saveLevels;
};

class CPreviewView : public CView {
    DECLARE_DYNCREATE(CPreviewView)
public:
    CPreviewView();
    ~CPreviewView() override;

    // Starts the job on pPrintView (OnPreparePrinting, the printer DC,
    // OnBeginPrinting). FALSE when there is no printer.
    virtual BOOL SetPrintView(CView* pPrintView);

    void OnDraw(CDC* pDC) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

    // The number of pages shown (1 or 2) and the first page shown.
    UINT GetPagesShown() const { return m_nPages; }
    UINT GetCurrentPage() const { return m_nCurrentPage; }
    void SetCurrentPage(UINT nPage, BOOL bClearRatios);
    // The rectangle of a shown page (0 or 1) in client coordinates.
    CRect GetPageRect(UINT nIndex) const;

    enum {
        ZOOM_OUT = 0,
        ZOOM_MIDDLE = 1,
        ZOOM_IN = 2
    };
    UINT m_nZoomState;

    CPreviewDC* m_pPreviewDC;
    CPrintInfo* m_pPreviewInfo;
    CPrintPreviewState* m_pPreviewState;
    CView* m_pOrigView;
    CView* m_pPrintView;
    CControlBar* m_pToolBar; // the preview's bar (parent of a program's own bar)
    UINT m_nPages;           // pages shown (1 or 2)
    UINT m_nMaxPages;        // most pages shown at once (2)
    UINT m_nCurrentPage;
    HDC m_hPrinterDC; // the printer (reference) DC of the job

    // Closes the preview (AFX_ID_PREVIEW_CLOSE, the frame's WM_CLOSE).
    afx_msg void OnPreviewClose();

protected:
    // Sizes and places the shown pages for the zoom state and client size.
    void PositionPages();
    void UpdateScrollBars();
    void DrawPage(CDC* pDC, UINT nIndex);
    CSize PrinterPageSize() const; // device pixels
    CSize PrinterDpi() const;

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnNextPage();
    afx_msg void OnPrevPage();
    afx_msg void OnPreviewPrint();
    afx_msg void OnNumPageChange();
    afx_msg void OnZoomIn();
    afx_msg void OnZoomOut();
    afx_msg void OnUpdateNextPage(CCmdUI* pCmdUI);
    afx_msg void OnUpdatePrevPage(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNumPageChange(CCmdUI* pCmdUI);
    afx_msg void OnUpdateZoomIn(CCmdUI* pCmdUI);
    afx_msg void OnUpdateZoomOut(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    CRect m_rectPage[2]; // shown pages in scrolled client coordinates
    CPoint m_ptScroll;   // scroll offset of the zoomed pages
    CSize m_sizeTotal;   // size of the zoomed pages' area

    friend class CView;
};
