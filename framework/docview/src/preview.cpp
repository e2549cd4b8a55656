// Print preview: CPreviewDC, CPreviewView, the preview's bar, and
// CView::DoPrintPreview / OnEndPrintPreview.
#include "dvimpl.h"

#include "fx/ctrls.h"
#include "fx/commdlg.h"

#include <algorithm>
#include <vector>

// ---------------------------------------------------------------------------
// CPreviewDC

IMPLEMENT_DYNAMIC(CPreviewDC, CDC)

namespace {

LONGLONG Gcd(LONGLONG a, LONGLONG b)
{
    if (a < 0)
        a = -a;
    if (b < 0)
        b = -b;
    while (b != 0) {
        LONGLONG t = a % b;
        a = b;
        b = t;
    }
    return a == 0 ? 1 : a;
}

// Brings a ratio of 64-bit extents into the range GDI takes.
void FitExtents(LONGLONG& a, LONGLONG& b)
{
    LONGLONG g = Gcd(a, b);
    a /= g;
    b /= g;
    const LONGLONG kMax = 0x3FFFFFF;
    while (a > kMax || a < -kMax || b > kMax || b < -kMax) {
        a /= 2;
        b /= 2;
    }
    if (a == 0)
        a = 1;
    if (b == 0)
        b = 1;
}

} // namespace

CPreviewDC::CPreviewDC() : m_sizeNum(1, 1), m_sizeDen(1, 1), m_sizeTopLeft(0, 0)
{
    m_bPrinting = TRUE;
}

CPreviewDC::~CPreviewDC()
{
    m_saveLevels.clear();
    // Neither DC belongs to this object.
    m_hDC = NULL;
    m_hAttribDC = NULL;
}

void CPreviewDC::SetAttribDC(HDC hDC)
{
    m_hAttribDC = hDC;
    MirrorMapping();
}

void CPreviewDC::SetOutputDC(HDC hDC)
{
    m_hDC = hDC;
    m_saveLevels.clear();
    MirrorMapping();
}

void CPreviewDC::ReleaseOutputDC()
{
    m_saveLevels.clear();
    m_hDC = NULL;
}

void CPreviewDC::SetScaleRatio(CSize num, CSize den)
{
    m_sizeNum = num;
    m_sizeDen = den;
    if (m_sizeDen.cx == 0)
        m_sizeDen.cx = 1;
    if (m_sizeDen.cy == 0)
        m_sizeDen.cy = 1;
    MirrorMapping();
}

void CPreviewDC::SetTopLeftOffset(CSize sizeTopLeft)
{
    m_sizeTopLeft = sizeTopLeft;
    MirrorMapping();
}

void CPreviewDC::ClipToPage(const CRect& rectScreenPage)
{
    if (m_hDC == NULL)
        return;
    HRGN hRgn = ::CreateRectRgnIndirect(&rectScreenPage);
    ::ExtSelectClipRgn(m_hDC, hRgn, RGN_AND);
    ::DeleteObject(hRgn);
}

void CPreviewDC::PrinterDPtoScreenDP(LPPOINT lpPoint) const
{
    lpPoint->x = ::MulDiv(lpPoint->x, m_sizeNum.cx, m_sizeDen.cx) + m_sizeTopLeft.cx;
    lpPoint->y = ::MulDiv(lpPoint->y, m_sizeNum.cy, m_sizeDen.cy) + m_sizeTopLeft.cy;
}

void CPreviewDC::MirrorMapping()
{
    if (m_hDC == NULL || m_hAttribDC == NULL)
        return;
    SIZE wExt, vExt;
    POINT wOrg, vOrg;
    ::GetWindowExtEx(m_hAttribDC, &wExt);
    ::GetViewportExtEx(m_hAttribDC, &vExt);
    ::GetWindowOrgEx(m_hAttribDC, &wOrg);
    ::GetViewportOrgEx(m_hAttribDC, &vOrg);

    // Printer device units scaled to the page on the screen: the printer's
    // mapping followed by num/den.
    LONGLONG wx = (LONGLONG)wExt.cx * m_sizeDen.cx, vx = (LONGLONG)vExt.cx * m_sizeNum.cx;
    LONGLONG wy = (LONGLONG)wExt.cy * m_sizeDen.cy, vy = (LONGLONG)vExt.cy * m_sizeNum.cy;
    FitExtents(wx, vx);
    FitExtents(wy, vy);
    ::SetMapMode(m_hDC, MM_ANISOTROPIC);
    ::SetWindowExtEx(m_hDC, (int)wx, (int)wy, NULL);
    ::SetViewportExtEx(m_hDC, (int)vx, (int)vy, NULL);
    ::SetWindowOrgEx(m_hDC, wOrg.x, wOrg.y, NULL);
    POINT pt = vOrg;
    PrinterDPtoScreenDP(&pt);
    ::SetViewportOrgEx(m_hDC, pt.x, pt.y, NULL);
}

int CPreviewDC::SaveDC()
{
    int nAttrib = m_hAttribDC != NULL ? ::SaveDC(m_hAttribDC) : 0;
    if (m_hDC != NULL) {
        int nOut = ::SaveDC(m_hDC);
        m_saveLevels.push_back({nAttrib, nOut});
    }
    return nAttrib;
}

BOOL CPreviewDC::RestoreDC(int nSavedDC)
{
    BOOL bResult = m_hAttribDC != NULL ? ::RestoreDC(m_hAttribDC, nSavedDC) : TRUE;
    if (m_hDC != NULL) {
        auto& levels = m_saveLevels;
        int nOut = -1;
        if (nSavedDC > 0) {
            while (!levels.empty() && levels.back().first > nSavedDC)
                levels.pop_back();
            if (!levels.empty() && levels.back().first == nSavedDC) {
                nOut = levels.back().second;
                levels.pop_back();
            }
        } else if (!levels.empty()) {
            levels.pop_back();
        }
        ::RestoreDC(m_hDC, nOut);
    }
    MirrorMapping();
    return bResult;
}

int CPreviewDC::SetMapMode(int nMapMode)
{
    int nOld = ::SetMapMode(m_hAttribDC, nMapMode);
    MirrorMapping();
    return nOld;
}

CPoint CPreviewDC::SetViewportOrg(int x, int y)
{
    POINT pt = {0, 0};
    ::SetViewportOrgEx(m_hAttribDC, x, y, &pt);
    MirrorMapping();
    return pt;
}

CPoint CPreviewDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    POINT pt = {0, 0};
    ::OffsetViewportOrgEx(m_hAttribDC, nWidth, nHeight, &pt);
    MirrorMapping();
    return pt;
}

CSize CPreviewDC::SetViewportExt(int cx, int cy)
{
    SIZE size = {0, 0};
    ::SetViewportExtEx(m_hAttribDC, cx, cy, &size);
    MirrorMapping();
    return size;
}

CSize CPreviewDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom)
{
    SIZE size = {0, 0};
    ::ScaleViewportExtEx(m_hAttribDC, xNum, xDenom, yNum, yDenom, &size);
    MirrorMapping();
    return size;
}

CSize CPreviewDC::SetWindowExt(int cx, int cy)
{
    SIZE size = {0, 0};
    ::SetWindowExtEx(m_hAttribDC, cx, cy, &size);
    MirrorMapping();
    return size;
}

CSize CPreviewDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom)
{
    SIZE size = {0, 0};
    ::ScaleWindowExtEx(m_hAttribDC, xNum, xDenom, yNum, yDenom, &size);
    MirrorMapping();
    return size;
}

// ---------------------------------------------------------------------------
// The built-in bar of the preview (when the program has no dialog template
// for it)

namespace {

class PreviewButtonBar : public CControlBar {
public:
    PreviewButtonBar()
    {
        m_cxLeftBorder = m_cxRightBorder = 4;
        m_cyTopBorder = m_cyBottomBorder = 3;
    }

    BOOL Create(CWnd* pParentWnd, UINT nID)
    {
        m_dwStyle = CBRS_TOP;
        LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW),
                                               (HBRUSH)(COLOR_BTNFACE + 1));
        if (!CWnd::Create(lpszClass, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pParentWnd, nID))
            return FALSE;
        struct Button {
            UINT nID;
            const char* pszText;
            int cx;
        } buttons[] = {
            {AFX_ID_PREVIEW_PRINT, "&Print...", 70},
            {AFX_ID_PREVIEW_NEXT, "&Next Page", 80},
            {AFX_ID_PREVIEW_PREV, "Pre&v Page", 80},
            {AFX_ID_PREVIEW_NUMPAGE, "&Two Page", 80},
            {AFX_ID_PREVIEW_ZOOMIN, "Zoom &In", 70},
            {AFX_ID_PREVIEW_ZOOMOUT, "Zoom &Out", 70},
            {AFX_ID_PREVIEW_CLOSE, "&Close", 60},
        };
        HFONT hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
        int x = m_cxLeftBorder;
        for (const Button& b : buttons) {
            HWND hWnd = ::CreateWindowExA(0, "BUTTON", b.pszText, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x,
                                          m_cyTopBorder, b.cx, kButtonHeight, m_hWnd, (HMENU)(UINT_PTR)b.nID,
                                          AfxGetInstanceHandle(), NULL);
            ::SendMessageA(hWnd, WM_SETFONT, (WPARAM)hFont, FALSE);
            x += b.cx + 4;
        }
        return TRUE;
    }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
        (void)bHorz;
        return CSize(bStretch ? 32767 : 560, kButtonHeight + m_cyTopBorder + m_cyBottomBorder);
    }

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override
    {
        UpdateDialogControls(pTarget, bDisableIfNoHndler);
    }

    static const int kButtonHeight = 24;

protected:
    void PostNcDestroy() override { delete this; }
};

// The frame's WM_CLOSE during a preview closes the preview.
BOOL CALLBACK PreviewCloseProc(CFrameWnd* pFrameWnd)
{
    CWnd* pWnd = pFrameWnd->GetDlgItem(AFX_IDW_PANE_FIRST);
    CWnd* pView = CWnd::FromHandlePermanent(pWnd->GetSafeHwnd());
    if (pView != NULL && pView->IsKindOf(RUNTIME_CLASS(CPreviewView)))
        static_cast<CPreviewView*>(pView)->OnPreviewClose();
    return TRUE;
}

} // namespace

// ---------------------------------------------------------------------------
// CView: starting and ending a preview

BOOL CView::DoPrintPreview(UINT nIDResource, CView* pPrintView, CRuntimeClass* pPreviewViewClass,
                           CPrintPreviewState* pState)
{
    if (pPrintView == NULL || pState == NULL || pPreviewViewClass == NULL ||
        !pPreviewViewClass->IsDerivedFrom(RUNTIME_CLASS(CPreviewView)))
        return FALSE;
    // The preview takes the place of the main frame's client.
    CFrameWnd* pParent = fx::dv::MainFrame();
    if (pParent == NULL)
        pParent = GetTopLevelFrame();
    if (pParent == NULL || pParent->IsInPreviewMode())
        return FALSE;

    CPreviewView* pView = static_cast<CPreviewView*>(pPreviewViewClass->CreateObject());
    if (pView == NULL)
        return FALSE;

    if (pState->lpfnCloseProc == NULL)
        pState->lpfnCloseProc = &PreviewCloseProc;
    pParent->OnSetPreviewMode(TRUE, pState);

    // The bar: the program's dialog template, else the built-in buttons.
    CControlBar* pBar = NULL;
    if (fx::dv::HasResource(MAKEINTRESOURCEA(nIDResource), (LPCSTR)RT_DIALOG)) {
        CDialogBar* pDialogBar = new CDialogBar;
        pDialogBar->m_bAutoDelete = TRUE;
        if (pDialogBar->Create(pParent, nIDResource, WS_VISIBLE | CBRS_TOP, AFX_IDW_PREVIEW_BAR))
            pBar = pDialogBar;
        else
            delete pDialogBar;
    }
    if (pBar == NULL) {
        PreviewButtonBar* pButtons = new PreviewButtonBar;
        if (pButtons->Create(pParent, AFX_IDW_PREVIEW_BAR))
            pBar = pButtons;
        else if (pButtons->m_hWnd == NULL)
            delete pButtons;
    }
    if (pBar == NULL) {
        pParent->OnSetPreviewMode(FALSE, pState);
        delete pView;
        return FALSE;
    }
    pBar->SetOwner(pParent);

    // The view, in the pane's place; it shows the document without joining
    // its views.
    CCreateContext context;
    context.m_pCurrentFrame = pParent;
    context.m_pCurrentDoc = NULL;
    context.m_pLastView = this;
    pView->m_pPreviewState = NULL; // the caller keeps the state until the preview runs
    pView->m_pOrigView = this;
    pView->m_pToolBar = pBar;
    pView->m_pDocument = GetDocument();
    if (!pView->Create(NULL, NULL, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), pParent, AFX_IDW_PANE_FIRST, &context)) {
        // A view that got its window is gone with it.
        pBar->DestroyWindow();
        pParent->OnSetPreviewMode(FALSE, pState);
        return FALSE;
    }
    if (!pView->SetPrintView(pPrintView)) {
        pView->m_pToolBar = NULL;
        pBar->DestroyWindow();
        pView->DestroyWindow();
        pParent->OnSetPreviewMode(FALSE, pState);
        if (pState->pViewActiveOld != NULL)
            pParent->SetActiveView(pState->pViewActiveOld);
        return FALSE;
    }
    pView->m_pPreviewState = pState;
    pParent->SetActiveView(pView);
    pParent->RecalcLayout();
    pView->UpdateWindow();
    return TRUE;
}

void CView::OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT, CPreviewView* pView)
{
    OnEndPrinting(pDC, pInfo);
    CFrameWnd* pParent = pView->GetParentFrame();
    CPrintPreviewState* pState = pView->m_pPreviewState;
    if (pParent != NULL && pState != NULL) {
        pParent->OnSetPreviewMode(FALSE, pState);
        if (pState->pViewActiveOld != NULL && ::IsWindow(pState->pViewActiveOld->m_hWnd))
            pParent->SetActiveView(pState->pViewActiveOld);
    }
    pView->DestroyWindow(); // deletes the view and the preview's state
    if (pParent != NULL) {
        pParent->RecalcLayout();
        pParent->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
        pParent->UpdateWindow();
    }
    // The printed view takes the focus back in its own frame.
    if (m_hWnd != NULL) {
        CFrameWnd* pFrame = GetParentFrame();
        if (pFrame != NULL && pFrame->GetActiveView() != this)
            pFrame->SetActiveView(this);
        else if (::IsWindowVisible(m_hWnd))
            SetFocus();
    }
}

void CView::OnFilePrintPreview()
{
    CPrintPreviewState* pState = new CPrintPreviewState;
    if (!DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, this, RUNTIME_CLASS(CPreviewView), pState)) {
        fx::PromptMessage(AFX_IDP_COMMAND_FAILURE, MB_OK | MB_ICONEXCLAMATION);
        delete pState;
    }
}

// ---------------------------------------------------------------------------
// CPreviewView

IMPLEMENT_DYNCREATE(CPreviewView, CView)

BEGIN_MESSAGE_MAP(CPreviewView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
    ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPageChange)
    ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
    ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
    ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMIN, OnZoomIn)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMOUT, OnZoomOut)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NUMPAGE, OnUpdateNumPageChange)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NEXT, OnUpdateNextPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_PREV, OnUpdatePrevPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMIN, OnUpdateZoomIn)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMOUT, OnUpdateZoomOut)
END_MESSAGE_MAP()

CPreviewView::CPreviewView()
    : m_nZoomState(ZOOM_OUT), m_pPreviewDC(NULL), m_pPreviewInfo(NULL), m_pPreviewState(NULL), m_pOrigView(NULL),
      m_pPrintView(NULL), m_pToolBar(NULL), m_nPages(1), m_nMaxPages(2), m_nCurrentPage(1), m_hPrinterDC(NULL),
      m_ptScroll(0, 0), m_sizeTotal(0, 0)
{
    m_rectPage[0].SetRectEmpty();
    m_rectPage[1].SetRectEmpty();
}

CPreviewView::~CPreviewView()
{
    // The bar goes with the preview.
    if (m_pToolBar != NULL && m_pToolBar->m_hWnd != NULL)
        m_pToolBar->DestroyWindow();
    m_pToolBar = NULL;
    delete m_pPreviewDC;
    delete m_pPreviewInfo; // deletes the printer DC
    delete m_pPreviewState;
    // Not one of the document's views.
    m_pDocument = NULL;
}

int CPreviewView::OnCreate(LPCREATESTRUCTA lpcs)
{
    // Not CView's: the preview does not join the document.
    return CWnd::OnCreate(lpcs) == -1 ? -1 : 0;
}

BOOL CPreviewView::SetPrintView(CView* pPrintView)
{
    m_pPrintView = pPrintView;
    m_pPreviewInfo = new CPrintInfo;
    m_pPreviewInfo->m_bPreview = TRUE;
    if (!pPrintView->OnPreparePrinting(m_pPreviewInfo))
        return FALSE;
    m_hPrinterDC = m_pPreviewInfo->m_pPD->m_pd.hDC;
    if (m_hPrinterDC == NULL)
        return FALSE;

    m_pPreviewDC = new CPreviewDC;
    m_pPreviewDC->SetAttribDC(m_hPrinterDC);
    // The view measures its pages with the printer (the screen receives
    // nothing yet).
    HDC hScreen = ::GetDC(m_hWnd);
    m_pPreviewDC->SetOutputDC(hScreen);
    pPrintView->OnBeginPrinting(m_pPreviewDC, m_pPreviewInfo);
    m_pPreviewDC->ReleaseOutputDC();
    ::ReleaseDC(m_hWnd, hScreen);

    m_nPages = m_pPreviewInfo->m_nNumPreviewPages;
    if (m_nPages == 0 || m_nPages > m_nMaxPages)
        m_nPages = 1;
    if (m_pPreviewInfo->GetMaxPage() < 2)
        m_nPages = 1;
    m_nZoomState = ZOOM_OUT;
    SetCurrentPage(m_pPreviewInfo->GetMinPage(), TRUE);
    return TRUE;
}

CSize CPreviewView::PrinterPageSize() const
{
    if (m_hPrinterDC == NULL)
        return CSize(850, 1100);
    return CSize(std::max(1, ::GetDeviceCaps(m_hPrinterDC, HORZRES)), std::max(1, ::GetDeviceCaps(m_hPrinterDC, VERTRES)));
}

CSize CPreviewView::PrinterDpi() const
{
    if (m_hPrinterDC == NULL)
        return CSize(100, 100);
    return CSize(std::max(1, ::GetDeviceCaps(m_hPrinterDC, LOGPIXELSX)),
                 std::max(1, ::GetDeviceCaps(m_hPrinterDC, LOGPIXELSY)));
}

void CPreviewView::PositionPages()
{
    if (m_hWnd == NULL)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    const int nGap = 8;
    CSize sizePrinter = PrinterPageSize();
    CSize dpi = PrinterDpi();
    // The page's shape in screen pixels at 100%.
    HDC hScreen = ::GetDC(NULL);
    int nScreenX = ::GetDeviceCaps(hScreen, LOGPIXELSX), nScreenY = ::GetDeviceCaps(hScreen, LOGPIXELSY);
    ::ReleaseDC(NULL, hScreen);
    double cxFull = (double)sizePrinter.cx * nScreenX / dpi.cx;
    double cyFull = (double)sizePrinter.cy * nScreenY / dpi.cy;

    UINT nPages = m_nPages;
    double scale;
    if (m_nZoomState == ZOOM_OUT) {
        // All shown pages fit the window.
        double cxAvail = std::max(1.0, (double)(rectClient.Width() - (int)(nPages + 1) * nGap) / nPages);
        double cyAvail = std::max(1.0, (double)(rectClient.Height() - 2 * nGap));
        scale = std::min(cxAvail / cxFull, cyAvail / cyFull);
    } else {
        // One page, twice the fitted size or at its real size.
        nPages = 1;
        double cxAvail = std::max(1.0, (double)(rectClient.Width() - 2 * nGap));
        double cyAvail = std::max(1.0, (double)(rectClient.Height() - 2 * nGap));
        double fit = std::min(cxAvail / cxFull, cyAvail / cyFull);
        scale = m_nZoomState == ZOOM_MIDDLE ? fit * 2 : std::max(1.0, fit * 3);
    }
    int cxPage = std::max(1, (int)(cxFull * scale));
    int cyPage = std::max(1, (int)(cyFull * scale));
    m_sizeTotal = CSize((int)nPages * (cxPage + nGap) + nGap, cyPage + 2 * nGap);
    int xStart = std::max(nGap, (int)(rectClient.Width() - m_sizeTotal.cx) / 2 + nGap);
    int yStart = std::max(nGap, (rectClient.Height() - cyPage) / 2);
    for (UINT i = 0; i < 2; i++) {
        if (i < nPages)
            m_rectPage[i].SetRect(xStart + (int)i * (cxPage + nGap), yStart, xStart + (int)i * (cxPage + nGap) + cxPage,
                                  yStart + cyPage);
        else
            m_rectPage[i].SetRectEmpty();
    }
    UpdateScrollBars();
}

void CPreviewView::UpdateScrollBars()
{
    CRect rectClient;
    GetClientRect(&rectClient);
    BOOL bHorz = m_nZoomState != ZOOM_OUT && m_sizeTotal.cx > rectClient.Width();
    BOOL bVert = m_nZoomState != ZOOM_OUT && m_sizeTotal.cy > rectClient.Height();
    if (!bHorz)
        m_ptScroll.x = 0;
    if (!bVert)
        m_ptScroll.y = 0;
    SCROLLINFO si;
    ZeroMemory(&si, sizeof(si));
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = bHorz ? m_sizeTotal.cx - 1 : 0;
    si.nPage = bHorz ? (UINT)rectClient.Width() : 0;
    si.nPos = m_ptScroll.x;
    ::ShowScrollBar(m_hWnd, SB_HORZ, bHorz);
    if (bHorz)
        ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);
    si.nMax = bVert ? m_sizeTotal.cy - 1 : 0;
    si.nPage = bVert ? (UINT)rectClient.Height() : 0;
    si.nPos = m_ptScroll.y;
    ::ShowScrollBar(m_hWnd, SB_VERT, bVert);
    if (bVert)
        ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
}

CRect CPreviewView::GetPageRect(UINT nIndex) const
{
    if (nIndex >= 2)
        return CRect(0, 0, 0, 0);
    CRect rect = m_rectPage[nIndex];
    rect.OffsetRect(-m_ptScroll.x, -m_ptScroll.y);
    return rect;
}

void CPreviewView::SetCurrentPage(UINT nPage, BOOL)
{
    if (nPage < 1)
        nPage = 1;
    if (m_pPreviewInfo != NULL) {
        UINT nMax = m_pPreviewInfo->GetMaxPage();
        if (nMax != 0xFFFF && nPage > nMax)
            nPage = std::max(1u, nMax);
    }
    m_nCurrentPage = nPage;
    PositionPages();
    if (m_hWnd != NULL)
        Invalidate(TRUE);
    // The page number on the status line.
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL && m_pPreviewInfo != NULL) {
        CString strFormat;
        AfxExtractSubString(strFormat, m_pPreviewInfo->m_strPageDesc, m_nPages == 1 ? 0 : 1);
        CString strText;
        if (m_nPages == 1)
            strText.Format(strFormat, m_nCurrentPage);
        else
            strText.Format(strFormat, m_nCurrentPage, m_nCurrentPage + 1);
        pFrame->SetMessageText(strText);
    }
}

void CPreviewView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    (void)pInfo;
    // The preview's own drawing is in client pixels.
    pDC->SetMapMode(MM_TEXT);
    pDC->SetViewportOrg(0, 0);
}

void CPreviewView::OnDraw(CDC* pDC)
{
    for (UINT i = 0; i < m_nPages && i < 2; i++) {
        if (m_nZoomState != ZOOM_OUT && i > 0)
            break;
        DrawPage(pDC, i);
    }
}

void CPreviewView::DrawPage(CDC* pDC, UINT nIndex)
{
    CRect rect = GetPageRect(nIndex);
    if (rect.IsRectEmpty())
        return;
    HDC hDC = pDC->GetSafeHdc();
    // The sheet with its shadow.
    CRect rectShadow = rect;
    rectShadow.OffsetRect(3, 3);
    ::FillRect(hDC, &rectShadow, ::GetSysColorBrush(COLOR_BTNSHADOW));
    ::FillRect(hDC, &rect, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    ::FrameRect(hDC, &rect, (HBRUSH)::GetStockObject(BLACK_BRUSH));

    if (m_pPreviewDC == NULL || m_pPreviewInfo == NULL || m_pPrintView == NULL)
        return;
    UINT nPage = m_nCurrentPage + nIndex;
    UINT nMax = m_pPreviewInfo->GetMaxPage();
    if (nMax != 0xFFFF && nPage > nMax)
        return;

    int nSavedOut = ::SaveDC(hDC);
    CSize sizePrinter = PrinterPageSize();
    m_pPreviewDC->SetOutputDC(hDC);
    m_pPreviewDC->SetScaleRatio(CSize(rect.Width(), rect.Height()), sizePrinter);
    m_pPreviewDC->SetTopLeftOffset(CSize(rect.left, rect.top));
    m_pPreviewDC->ClipToPage(rect);
    int nSavedAttrib = ::SaveDC(m_hPrinterDC);

    m_pPreviewInfo->m_nCurPage = nPage;
    m_pPreviewInfo->m_bContinuePrinting = TRUE;
    m_pPrintView->OnPrepareDC(m_pPreviewDC, m_pPreviewInfo);
    if (m_pPreviewInfo->m_bContinuePrinting) {
        m_pPreviewDC->MirrorMapping();
        m_pPreviewInfo->m_rectDraw.SetRect(0, 0, sizePrinter.cx, sizePrinter.cy);
        ::DPtoLP(m_hPrinterDC, (LPPOINT)&m_pPreviewInfo->m_rectDraw, 2);
        m_pPrintView->OnPrint(m_pPreviewDC, m_pPreviewInfo);
    } else if (nMax == 0xFFFF && nPage > 1) {
        // The view stopped: the last page is now known.
        m_pPreviewInfo->SetMaxPage(nPage - 1);
    }

    ::RestoreDC(m_hPrinterDC, nSavedAttrib);
    m_pPreviewDC->ReleaseOutputDC();
    ::RestoreDC(hDC, nSavedOut);
}

void CPreviewView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

BOOL CPreviewView::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    ::FillRect(pDC->GetSafeHdc(), &rect, ::GetSysColorBrush(COLOR_APPWORKSPACE));
    return TRUE;
}

void CPreviewView::OnSize(UINT, int, int)
{
    Default();
    PositionPages();
    Invalidate(TRUE);
}

void CPreviewView::OnLButtonDown(UINT, CPoint point)
{
    // A click on a page zooms in one step (and out again after the last).
    for (UINT i = 0; i < 2; i++) {
        if (GetPageRect(i).PtInRect(point)) {
            if (i == 1 && m_nZoomState == ZOOM_OUT)
                SetCurrentPage(m_nCurrentPage + 1, TRUE);
            m_nZoomState = m_nZoomState == (UINT)ZOOM_IN ? (UINT)ZOOM_OUT : m_nZoomState + 1;
            PositionPages();
            Invalidate(TRUE);
            return;
        }
    }
}

void CPreviewView::OnKeyDown(UINT nChar, UINT, UINT)
{
    switch (nChar) {
    case VK_ESCAPE: OnPreviewClose(); break;
    case VK_NEXT: OnNextPage(); break;
    case VK_PRIOR: OnPrevPage(); break;
    default: Default(); break;
    }
}

void CPreviewView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    CRect rectClient;
    GetClientRect(&rectClient);
    int x = m_ptScroll.x;
    switch (nSBCode) {
    case SB_LINELEFT: x -= 16; break;
    case SB_LINERIGHT: x += 16; break;
    case SB_PAGELEFT: x -= rectClient.Width(); break;
    case SB_PAGERIGHT: x += rectClient.Width(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: x = (int)nPos; break;
    default: return;
    }
    m_ptScroll.x = std::max(0, std::min(x, (int)m_sizeTotal.cx - (int)rectClient.Width()));
    UpdateScrollBars();
    Invalidate(TRUE);
}

void CPreviewView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    CRect rectClient;
    GetClientRect(&rectClient);
    int y = m_ptScroll.y;
    switch (nSBCode) {
    case SB_LINEUP: y -= 16; break;
    case SB_LINEDOWN: y += 16; break;
    case SB_PAGEUP: y -= rectClient.Height(); break;
    case SB_PAGEDOWN: y += rectClient.Height(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: y = (int)nPos; break;
    default: return;
    }
    m_ptScroll.y = std::max(0, std::min(y, (int)m_sizeTotal.cy - (int)rectClient.Height()));
    UpdateScrollBars();
    Invalidate(TRUE);
}

void CPreviewView::OnPreviewClose()
{
    if (m_pToolBar != NULL) {
        if (m_pToolBar->m_hWnd != NULL)
            m_pToolBar->DestroyWindow();
        m_pToolBar = NULL;
    }
    if (m_pPrintView != NULL)
        m_pPrintView->OnEndPrintPreview(m_pPreviewDC, m_pPreviewInfo, CPoint(0, 0), this);
    else
        DestroyWindow();
}

void CPreviewView::OnNextPage()
{
    UINT nMax = m_pPreviewInfo != NULL ? m_pPreviewInfo->GetMaxPage() : 1;
    if (nMax == 0xFFFF || m_nCurrentPage + m_nPages - 1 < nMax)
        SetCurrentPage(m_nCurrentPage + 1, TRUE);
}

void CPreviewView::OnPrevPage()
{
    if (m_nCurrentPage > 1)
        SetCurrentPage(m_nCurrentPage - 1, TRUE);
}

void CPreviewView::OnNumPageChange()
{
    m_nPages = m_nPages == 1 ? 2 : 1;
    m_nZoomState = ZOOM_OUT;
    UINT nMax = m_pPreviewInfo != NULL ? m_pPreviewInfo->GetMaxPage() : 1;
    // Two pages at the end show the last two.
    if (m_nPages == 2 && nMax != 0xFFFF && m_nCurrentPage >= nMax && m_nCurrentPage > 1)
        m_nCurrentPage = nMax - 1;
    SetCurrentPage(m_nCurrentPage, TRUE);
}

void CPreviewView::OnZoomIn()
{
    if (m_nZoomState < ZOOM_IN) {
        m_nZoomState++;
        PositionPages();
        Invalidate(TRUE);
    }
}

void CPreviewView::OnZoomOut()
{
    if (m_nZoomState > ZOOM_OUT) {
        m_nZoomState--;
        PositionPages();
        Invalidate(TRUE);
    }
}

void CPreviewView::OnPreviewPrint()
{
    CView* pOrigView = m_pOrigView;
    OnPreviewClose(); // this object is gone now
    // Printing goes through the normal command routing.
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != NULL && pMain->m_hWnd != NULL)
        pMain->SendMessage(WM_COMMAND, ID_FILE_PRINT);
    (void)pOrigView;
}

void CPreviewView::OnUpdateNextPage(CCmdUI* pCmdUI)
{
    UINT nMax = m_pPreviewInfo != NULL ? m_pPreviewInfo->GetMaxPage() : 1;
    pCmdUI->Enable(nMax == 0xFFFF || m_nCurrentPage + m_nPages - 1 < nMax);
}

void CPreviewView::OnUpdatePrevPage(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nCurrentPage > 1);
}

void CPreviewView::OnUpdateNumPageChange(CCmdUI* pCmdUI)
{
    // The button names what it does: the other number of pages.
    UINT nID = m_nPages == 1 ? AFX_IDS_TWOPAGE : AFX_IDS_ONEPAGE;
    CString strText = fx::dv::LoadStr(nID);
    if (strText.IsEmpty())
        strText = m_nPages == 1 ? "&Two Page" : "&One Page";
    pCmdUI->SetText(strText);
    UINT nMax = m_pPreviewInfo != NULL ? m_pPreviewInfo->GetMaxPage() : 1;
    pCmdUI->Enable(m_nMaxPages > 1 && nMax > 1);
}

void CPreviewView::OnUpdateZoomIn(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nZoomState < ZOOM_IN);
}

void CPreviewView::OnUpdateZoomOut(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nZoomState > ZOOM_OUT);
}
