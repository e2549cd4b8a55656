// Printing: CPrintInfo, the printing device, the printer selection, the
// print dialog and the print loop with its "Printing" box.
#include "dvimpl.h"

#include "fx/commdlg.h"

// ---------------------------------------------------------------------------
// CPrintInfo

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)), m_bDirect(FALSE),
      m_bPreview(FALSE), m_bContinuePrinting(TRUE), m_nCurPage(1), m_nNumPreviewPages(0), m_lpUserData(NULL)
{
    m_pPD->m_pd.nMinPage = 1;
    m_pPD->m_pd.nMaxPage = 0xFFFF;
    m_pPD->m_pd.nFromPage = 1;
    m_pPD->m_pd.nToPage = 0xFFFF;
    m_rectDraw.SetRectEmpty();
    CString strDesc;
    if (strDesc.LoadString(AFX_IDS_PREVIEWPAGEDESC) && !strDesc.IsEmpty())
        m_strPageDesc = strDesc;
    else
        m_strPageDesc = "Page %u\nPages %u-%u\n";
}

CPrintInfo::~CPrintInfo()
{
    if (m_pPD->m_pd.hDC != NULL) {
        ::DeleteDC(m_pPD->m_pd.hDC);
        m_pPD->m_pd.hDC = NULL;
    }
    // The printer selection belongs to the application; handles the dialog
    // made beyond it are freed here.
    if (m_pPD->m_pd.hDevMode != NULL && m_pPD->m_pd.hDevMode != fx::dv::DevModeHandle())
        ::GlobalFree(m_pPD->m_pd.hDevMode);
    if (m_pPD->m_pd.hDevNames != NULL && m_pPD->m_pd.hDevNames != fx::dv::DevNamesHandle())
        ::GlobalFree(m_pPD->m_pd.hDevNames);
    delete m_pPD;
}

void CPrintInfo::SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = (WORD)nMinPage; }
void CPrintInfo::SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = (WORD)nMaxPage; }
UINT CPrintInfo::GetMinPage() const { return m_pPD->m_pd.nMinPage; }
UINT CPrintInfo::GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
UINT CPrintInfo::GetOffsetPage() const { return m_pPD->m_pd.nFromPage - m_pPD->m_pd.nMinPage; }

UINT CPrintInfo::GetFromPage() const
{
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nFromPage : GetMinPage();
}

UINT CPrintInfo::GetToPage() const
{
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nToPage : GetMaxPage();
}

// ---------------------------------------------------------------------------
// The printing device

namespace {

fx::PrintDevice& DefaultDevice()
{
    static fx::PrintDevice s_device;
    return s_device;
}

fx::PrintDevice* g_pDevice = NULL;

} // namespace

HDC fx::PrintDevice::CreatePrinterDC(BOOL) { return NULL; }
int fx::PrintDevice::StartDoc(HDC hDC, const DOCINFOA* pDocInfo) { return ::StartDocA(hDC, pDocInfo); }
int fx::PrintDevice::StartPage(HDC hDC) { return ::StartPage(hDC); }
int fx::PrintDevice::EndPage(HDC hDC) { return ::EndPage(hDC); }
int fx::PrintDevice::EndDoc(HDC hDC) { return ::EndDoc(hDC); }
int fx::PrintDevice::AbortDoc(HDC hDC) { return ::AbortDoc(hDC); }

fx::PrintDevice* fx::SetPrintDevice(PrintDevice* pDevice)
{
    PrintDevice* pOld = g_pDevice;
    g_pDevice = pDevice;
    return pOld;
}

fx::PrintDevice* fx::GetPrintDevice()
{
    return g_pDevice != NULL ? g_pDevice : &DefaultDevice();
}

// ---------------------------------------------------------------------------
// Printer selection

namespace {

BOOL HasAnyPrinter()
{
    DWORD cbNeeded = 0, nReturned = 0;
    ::EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, NULL, 4, NULL, 0, &cbNeeded, &nReturned);
    return cbNeeded > 0;
}

} // namespace

BOOL fx::IsPrintingAvailable()
{
    return GetPrintDevice()->ProvidesDC() || HasAnyPrinter();
}

BOOL fx::dv::GetPrinterDefaults(PRINTDLGA* pPrintDlg)
{
    HGLOBAL& hDevMode = DevModeHandle();
    HGLOBAL& hDevNames = DevNamesHandle();
    if (hDevNames == NULL) {
        // Ask the system for its default printer, without showing anything
        // (and without its own message when there is none).
        if (!HasAnyPrinter())
            return FALSE;
        PRINTDLGA pd;
        ZeroMemory(&pd, sizeof(pd));
        pd.lStructSize = sizeof(pd);
        pd.Flags = PD_RETURNDEFAULT;
        if (!::PrintDlgA(&pd) || pd.hDevNames == NULL)
            return FALSE;
        hDevMode = pd.hDevMode;
        hDevNames = pd.hDevNames;
    }
    pPrintDlg->hDevMode = hDevMode;
    pPrintDlg->hDevNames = hDevNames;
    return TRUE;
}

INT_PTR fx::dv::RunPrintDialog(CPrintDialog* pPD)
{
    if (!HasAnyPrinter()) {
        fx::PromptMessage(AFX_IDP_NO_PRINTER, MB_OK | MB_ICONEXCLAMATION);
        return IDCANCEL;
    }
    HGLOBAL& hDevMode = DevModeHandle();
    HGLOBAL& hDevNames = DevNamesHandle();
    pPD->m_pd.hDevMode = hDevMode;
    pPD->m_pd.hDevNames = hDevNames;
    INT_PTR nResponse = pPD->DoModal();
    // The dialog may have replaced the handles: they become the selection.
    hDevMode = pPD->m_pd.hDevMode;
    hDevNames = pPD->m_pd.hDevNames;
    return nResponse;
}

// ---------------------------------------------------------------------------
// Preparing a job

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo)
{
    return DoPreparePrinting(pInfo);
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* pDC, CPrintInfo*)
{
    OnDraw(pDC);
}

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    PRINTDLGA& pd = pInfo->m_pPD->m_pd;
    fx::PrintDevice* pDevice = fx::GetPrintDevice();
    if (pDevice->ProvidesDC()) {
        // The installed device gives the DC: no dialog.
        if (pd.hDC == NULL)
            pd.hDC = pDevice->CreatePrinterDC(pInfo->m_bPreview);
        if (pd.hDC == NULL)
            return FALSE;
        if (!(pd.Flags & PD_PAGENUMS)) {
            pd.nFromPage = (WORD)pInfo->GetMinPage();
            pd.nToPage = (WORD)pInfo->GetMaxPage();
        }
    } else if (pInfo->m_bPreview || pInfo->m_bDirect) {
        // The selected (or default) printer, without a dialog.
        if (pd.hDC == NULL) {
            if (!fx::dv::GetPrinterDefaults(&pd)) {
                fx::PromptMessage(AFX_IDP_NO_PRINTER, MB_OK | MB_ICONEXCLAMATION);
                return FALSE;
            }
            if (pInfo->m_pPD->CreatePrinterDC() == NULL) {
                fx::PromptMessage(AFX_IDP_FAILED_TO_START_PRINT, MB_OK | MB_ICONEXCLAMATION);
                return FALSE;
            }
        }
        pd.nFromPage = (WORD)pInfo->GetMinPage();
        pd.nToPage = (WORD)pInfo->GetMaxPage();
    } else {
        pd.nFromPage = (WORD)pInfo->GetMinPage();
        pd.nToPage = (WORD)pInfo->GetMaxPage();
        if (fx::dv::AppDoPrintDialog(pInfo->m_pPD) != IDOK)
            return FALSE;
        if (pd.hDC == NULL && pInfo->m_pPD->CreatePrinterDC() == NULL)
            return FALSE;
    }
    pInfo->m_nNumPreviewPages = fx::dv::AppPreviewPages();
    return pd.hDC != NULL;
}

// ---------------------------------------------------------------------------
// The "Printing" box and the abort procedure

namespace {

const char kAbortClass[] = "FxPrintingBox";
HWND g_hWndAbort = NULL;
BOOL g_bUserAbort = FALSE;

LRESULT CALLBACK AbortBoxProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            g_bUserAbort = TRUE;
            ::EnableWindow(::GetDlgItem(hWnd, IDCANCEL), FALSE);
            return 0;
        }
        break;
    case WM_CLOSE:
        g_bUserAbort = TRUE;
        return 0;
    case WM_DESTROY:
        if (g_hWndAbort == hWnd)
            g_hWndAbort = NULL;
        break;
    default:
        break;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND CreateAbortBox(HWND hWndOwner, LPCSTR lpszDocName, LPCSTR lpszPrinter)
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = &AbortBoxProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kAbortClass;
    AfxRegisterClass(&wc);

    CString strCaption = fx::dv::LoadStr(AFX_IDS_PRINTCAPTION);
    if (strCaption.IsEmpty())
        strCaption = "Printing";
    HWND hWnd = ::CreateWindowExA(WS_EX_DLGMODALFRAME, kAbortClass, strCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                  0, 0, 300, 150, hWndOwner, NULL, AfxGetInstanceHandle(), NULL);
    if (hWnd == NULL)
        return NULL;
    HFONT hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    struct Item {
        const char* cls;
        const char* text;
        int id;
        int x, y, cx, cy;
        DWORD style;
    } items[] = {
        {"STATIC", lpszDocName, AFX_IDC_PRINT_DOCNAME, 10, 10, 270, 18, SS_CENTER | SS_NOPREFIX},
        {"STATIC", lpszPrinter, AFX_IDC_PRINT_PRINTERNAME, 10, 30, 270, 18, SS_CENTER | SS_NOPREFIX},
        {"STATIC", "", AFX_IDC_PRINT_PAGENUM, 10, 50, 270, 18, SS_CENTER | SS_NOPREFIX},
        {"BUTTON", "Cancel", IDCANCEL, 110, 80, 80, 24, BS_DEFPUSHBUTTON | WS_TABSTOP},
    };
    for (const Item& it : items) {
        HWND hCtl = ::CreateWindowExA(0, it.cls, it.text, WS_CHILD | WS_VISIBLE | it.style, it.x, it.y, it.cx, it.cy,
                                      hWnd, (HMENU)(UINT_PTR)it.id, AfxGetInstanceHandle(), NULL);
        ::SendMessageA(hCtl, WM_SETFONT, (WPARAM)hFont, FALSE);
    }
    // Centred over its owner.
    RECT rcOwner, rcBox;
    if (hWndOwner != NULL && ::GetWindowRect(hWndOwner, &rcOwner) && ::GetWindowRect(hWnd, &rcBox)) {
        int x = (rcOwner.left + rcOwner.right) / 2 - (rcBox.right - rcBox.left) / 2;
        int y = (rcOwner.top + rcOwner.bottom) / 2 - (rcBox.bottom - rcBox.top) / 2;
        ::SetWindowPos(hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::ShowWindow(hWnd, SW_SHOWNORMAL);
    ::UpdateWindow(hWnd);
    return hWnd;
}

// Keeps the program alive while the spooler works; FALSE ends the job.
BOOL CALLBACK PrintAbortProc(HDC, int)
{
    MSG msg;
    while (!g_bUserAbort && ::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT)
            break; // left for the program's loop
        ::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE);
        if (g_hWndAbort != NULL && ::IsDialogMessageA(g_hWndAbort, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return !g_bUserAbort;
}

} // namespace

HWND fx::GetPrintAbortWindow()
{
    return g_hWndAbort;
}

// ---------------------------------------------------------------------------
// The print loop

BOOL fx::RunPrintJob(CView* pView, CPrintInfo* pInfo)
{
    PRINTDLGA& pd = pInfo->m_pPD->m_pd;
    if (pd.hDC == NULL)
        return FALSE;

    // Print to file: the output file.
    CString strOutput;
    if (pd.Flags & PD_PRINTTOFILE) {
        strOutput = pInfo->m_strPrintToFile;
        if (strOutput.IsEmpty()) {
            CString strFilter = fx::dv::LoadStr(AFX_IDS_PRINTFILTER);
            if (strFilter.IsEmpty())
                strFilter = "Printer Files (*.prn)|*.prn|All Files (*.*)|*.*||";
            CFileDialog dlg(FALSE, "prn", "Output.prn", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, strFilter,
                            AfxGetMainWnd());
            if (dlg.DoModal() != IDOK)
                return FALSE;
            strOutput = dlg.GetPathName();
        }
    }

    // The job's name: the document's title (the spooler keeps 31 characters).
    CString strTitle;
    CDocument* pDoc = pView->GetDocument();
    if (pDoc != NULL)
        strTitle = pDoc->GetTitle();
    if (strTitle.IsEmpty() && AfxGetAppName() != NULL)
        strTitle = AfxGetAppName();
    if (strTitle.GetLength() > 31)
        strTitle.Truncate(31);
    DOCINFOA di;
    ZeroMemory(&di, sizeof(di));
    di.cbSize = sizeof(di);
    di.lpszDocName = strTitle;
    di.lpszOutput = strOutput.IsEmpty() ? NULL : (LPCSTR)strOutput;

    CDC dcPrint;
    dcPrint.Attach(pd.hDC);
    dcPrint.m_bPrinting = TRUE;
    HDC hDC = pd.hDC;
    fx::PrintDevice* pDevice = fx::GetPrintDevice();

    pView->OnBeginPrinting(&dcPrint, pInfo);

    // The "Printing" box with its Cancel button; the main window waits.
    CWnd* pMain = AfxGetMainWnd();
    HWND hWndMain = pMain->GetSafeHwnd();
    g_bUserAbort = FALSE;
    CString strPrinter = pInfo->m_pPD->GetDeviceName();
    g_hWndAbort = CreateAbortBox(hWndMain, strTitle, strPrinter);
    BOOL bMainEnabled = hWndMain != NULL && ::IsWindowEnabled(hWndMain);
    if (bMainEnabled)
        ::EnableWindow(hWndMain, FALSE);
    ::SetAbortProc(hDC, &PrintAbortProc);

    BOOL bOk = TRUE;
    if (pDevice->StartDoc(hDC, &di) <= 0) {
        bOk = FALSE;
        if (bMainEnabled)
            ::EnableWindow(hWndMain, TRUE);
        if (g_hWndAbort != NULL)
            ::DestroyWindow(g_hWndAbort);
        pView->OnEndPrinting(&dcPrint, pInfo);
        dcPrint.Detach();
        fx::PromptMessage(AFX_IDP_FAILED_TO_START_PRINT, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    // The page range, forwards (or backwards when "to" is before "from").
    UINT nStart = pInfo->GetFromPage();
    UINT nEnd = pInfo->GetToPage();
    UINT nMin = pInfo->GetMinPage(), nMax = pInfo->GetMaxPage();
    nStart = std::max(nMin, std::min(nStart, nMax));
    nEnd = std::max(nMin, std::min(nEnd, nMax));
    int nStep = nEnd >= nStart ? 1 : -1;
    UINT nStop = nEnd == 0xFFFF ? 0xFFFF : (UINT)((int)nEnd + nStep);

    for (pInfo->m_nCurPage = nStart; pInfo->m_nCurPage != nStop; pInfo->m_nCurPage = (UINT)((int)pInfo->m_nCurPage + nStep)) {
        pView->OnPrepareDC(&dcPrint, pInfo);
        if (!pInfo->m_bContinuePrinting)
            break;
        if (g_hWndAbort != NULL) {
            char szPage[64];
            wsprintfA(szPage, "Page %u", pInfo->m_nCurPage);
            ::SetDlgItemTextA(g_hWndAbort, AFX_IDC_PRINT_PAGENUM, szPage);
        }
        pInfo->m_rectDraw.SetRect(0, 0, dcPrint.GetDeviceCaps(HORZRES), dcPrint.GetDeviceCaps(VERTRES));
        dcPrint.DPtoLP(&pInfo->m_rectDraw);

        if (pDevice->StartPage(hDC) <= 0) {
            bOk = FALSE;
            break;
        }
        // A new page resets the DC: the view prepares it again.
        pView->OnPrepareDC(&dcPrint, pInfo);
        pView->OnPrint(&dcPrint, pInfo);
        if (pDevice->EndPage(hDC) <= 0 || !PrintAbortProc(hDC, 0)) {
            bOk = FALSE;
            break;
        }
    }
    if (bOk)
        pDevice->EndDoc(hDC);
    else
        pDevice->AbortDoc(hDC);

    if (bMainEnabled)
        ::EnableWindow(hWndMain, TRUE);
    if (g_hWndAbort != NULL)
        ::DestroyWindow(g_hWndAbort);
    g_hWndAbort = NULL;

    pView->OnEndPrinting(&dcPrint, pInfo);
    dcPrint.Detach(); // deleted with the print information
    return bOk;
}

void CView::OnFilePrint()
{
    CPrintInfo printInfo;
    const MSG* pMsg = GetCurrentMessage();
    if (pMsg->message == WM_COMMAND && LOWORD(pMsg->wParam) == ID_FILE_PRINT_DIRECT)
        printInfo.m_bDirect = TRUE;
    if (OnPreparePrinting(&printInfo))
        fx::RunPrintJob(this, &printInfo);
}

void CView::OnFilePrintDirect()
{
    CPrintInfo printInfo;
    printInfo.m_bDirect = TRUE;
    if (OnPreparePrinting(&printInfo))
        fx::RunPrintJob(this, &printInfo);
}
