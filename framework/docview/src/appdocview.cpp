// The application's document members (declared in fx/app.h) and the printer
// selection they hold.
#include "dvimpl.h"

#include "fx/commdlg.h"

#include <cstdlib>

// ---------------------------------------------------------------------------
// Printer selection: the application's when it holds one, else the module's.

namespace {
HGLOBAL g_hDevMode = NULL;
HGLOBAL g_hDevNames = NULL;
} // namespace

HGLOBAL& fx::dv::DevModeHandle()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        return pApp->m_hDevMode;
    return g_hDevMode;
}

HGLOBAL& fx::dv::DevNamesHandle()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        return pApp->m_hDevNames;
    return g_hDevNames;
}

INT_PTR fx::dv::AppDoPrintDialog(CPrintDialog* pPD)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        return pApp->DoPrintDialog(pPD);
    return RunPrintDialog(pPD);
}

UINT fx::dv::AppPreviewPages()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        return pApp->m_nNumPreviewPages;
    return 0;
}


// ---------------------------------------------------------------------------
// What the application object owns

fx::WinAppDocViewStore::~WinAppDocViewStore()
{
    delete pRecentFileList;
    pRecentFileList = NULL;
    delete pDocManager;
    pDocManager = NULL;
    if (hDevMode != NULL)
        ::GlobalFree(hDevMode);
    if (hDevNames != NULL)
        ::GlobalFree(hDevNames);
}

// ---------------------------------------------------------------------------
// CWinApp: documents

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (m_pDocManager == NULL)
        m_pDocManager = new CDocManager;
    m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return m_pDocManager != NULL ? m_pDocManager->GetFirstDocTemplatePosition() : NULL;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const
{
    return m_pDocManager != NULL ? m_pDocManager->GetNextDocTemplate(pos) : NULL;
}

int CWinApp::GetOpenDocumentCount()
{
    return m_pDocManager != NULL ? m_pDocManager->GetDocumentCount() : 0;
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    return m_pDocManager != NULL ? m_pDocManager->OpenDocumentFile(lpszFileName) : NULL;
}

void CWinApp::AddToRecentFileList(LPCSTR lpszPathName)
{
    if (m_pRecentFileList != NULL)
        m_pRecentFileList->Add(lpszPathName);
}

BOOL CWinApp::SaveAllModified()
{
    return m_pDocManager == NULL || m_pDocManager->SaveAllModified();
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    if (m_pDocManager != NULL)
        m_pDocManager->CloseAllDocuments(bEndSession);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    if (nMaxMRU > 16)
        nMaxMRU = 16;
    if (nMaxMRU != 0 && m_pRecentFileList == NULL) {
        m_pRecentFileList = new CRecentFileList(0, "Recent File List", "File%d", (int)nMaxMRU);
        m_pRecentFileList->ReadList();
    }
    m_nNumPreviewPages = GetProfileInt("Settings", "PreviewPages", 0);
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_pRecentFileList != NULL)
        m_pRecentFileList->WriteList();
    if (m_nNumPreviewPages != 0)
        WriteProfileInt("Settings", "PreviewPages", (int)m_nNumPreviewPages);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    fx::ParseCommandLineArgs(rCmdInfo, __argc > 0 ? __argc - 1 : 0, __argc > 0 ? __argv + 1 : NULL);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    return fx::ProcessShellCommand(rCmdInfo);
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate)
{
    if (m_pDocManager != NULL)
        return m_pDocManager->DoPromptFileName(fileName, nIDSTitle, lFlags, bOpenFileDialog, pTemplate);
    CDocManager manager;
    return manager.DoPromptFileName(fileName, nIDSTitle, lFlags, bOpenFileDialog, pTemplate);
}

void CWinApp::OnFileNew()
{
    if (m_pDocManager != NULL)
        m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen()
{
    if (m_pDocManager != NULL)
        m_pDocManager->OnFileOpen();
}

BOOL CWinApp::OnOpenRecentFile(UINT nID)
{
    return m_pDocManager != NULL && m_pDocManager->OnOpenRecentFile(nID);
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    if (m_pRecentFileList == NULL)
        pCmdUI->Enable(FALSE);
    else
        m_pRecentFileList->UpdateMenu(pCmdUI);
}

// ---------------------------------------------------------------------------
// CWinApp: the printer

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg)
{
    return fx::dv::GetPrinterDefaults(pPrintDlg);
}

void CWinApp::SelectPrinter(HANDLE hDevNames, HANDLE hDevMode, BOOL bFreeOld)
{
    if (bFreeOld) {
        if (m_hDevNames != NULL && m_hDevNames != hDevNames)
            ::GlobalFree(m_hDevNames);
        if (m_hDevMode != NULL && m_hDevMode != hDevMode)
            ::GlobalFree(m_hDevMode);
    }
    m_hDevNames = (HGLOBAL)hDevNames;
    m_hDevMode = (HGLOBAL)hDevMode;
}

BOOL CWinApp::CreatePrinterDC(CDC& dc)
{
    PRINTDLGA pd;
    ZeroMemory(&pd, sizeof(pd));
    pd.lStructSize = sizeof(pd);
    if (!GetPrinterDeviceDefaults(&pd) || pd.hDevNames == NULL)
        return FALSE;
    LPDEVNAMES lpNames = (LPDEVNAMES)::GlobalLock(pd.hDevNames);
    LPDEVMODEA lpMode = pd.hDevMode != NULL ? (LPDEVMODEA)::GlobalLock(pd.hDevMode) : NULL;
    HDC hDC = NULL;
    if (lpNames != NULL)
        hDC = ::CreateDCA((LPCSTR)lpNames + lpNames->wDriverOffset, (LPCSTR)lpNames + lpNames->wDeviceOffset,
                          (LPCSTR)lpNames + lpNames->wOutputOffset, lpMode);
    if (lpMode != NULL)
        ::GlobalUnlock(pd.hDevMode);
    ::GlobalUnlock(pd.hDevNames);
    return hDC != NULL && dc.Attach(hDC);
}

INT_PTR CWinApp::DoPrintDialog(CPrintDialog* pPD)
{
    return fx::dv::RunPrintDialog(pPD);
}

void CWinApp::OnFilePrintSetup()
{
    CPrintDialog dlg(TRUE);
    DoPrintDialog(&dlg);
}
