// CDocManager: the application's templates, opening files, File New and
// File Open, and the recent-file commands.
#include "dvimpl.h"

#include "fx/commdlg.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocManager, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocManager, CCmdTarget)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
END_MESSAGE_MAP()

CDocManager::CDocManager() = default;

CDocManager::~CDocManager()
{
    while (!m_templateList.IsEmpty()) {
        CDocTemplate* pTemplate = static_cast<CDocTemplate*>(m_templateList.RemoveHead());
        if (pTemplate->m_bAutoDelete)
            delete pTemplate;
    }
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate == NULL || m_templateList.Find(pTemplate) != NULL)
        return;
    pTemplate->LoadTemplate();
    m_templateList.AddTail(pTemplate);
}

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const
{
    return static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
}

int CDocManager::GetDocumentCount()
{
    int nCount = 0;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != NULL;) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        for (POSITION posDoc = pTemplate->GetFirstDocPosition(); posDoc != NULL;) {
            pTemplate->GetNextDoc(posDoc);
            nCount++;
        }
    }
    return nCount;
}

CDocument* CDocManager::OpenDocumentFile(LPCSTR lpszFileName)
{
    if (lpszFileName == NULL || *lpszFileName == '\0')
        return NULL;
    CString strPath = fx::dv::FullPath(lpszFileName);

    // The best template; a document already open is shown instead.
    CDocTemplate* pBestTemplate = NULL;
    CDocument* pOpenDocument = NULL;
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != NULL;) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        CDocument* pDocMatch = NULL;
        CDocTemplate::Confidence match = pTemplate->MatchDocType(strPath, pDocMatch);
        if (match > bestMatch) {
            bestMatch = match;
            pBestTemplate = pTemplate;
        }
        if (match == CDocTemplate::yesAlreadyOpen) {
            pOpenDocument = pDocMatch;
            break;
        }
    }
    if (pOpenDocument != NULL) {
        POSITION pos = pOpenDocument->GetFirstViewPosition();
        if (pos != NULL) {
            CView* pView = pOpenDocument->GetNextView(pos);
            CFrameWnd* pFrame = pView->GetParentFrame();
            if (pFrame != NULL) {
                pFrame->ActivateFrame();
                // An MDI child is also brought to the front of its client.
                CFrameWnd* pTop = pFrame->GetTopLevelFrame();
                if (pTop != NULL && pTop != pFrame && pTop->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
                    static_cast<CMDIFrameWnd*>(pTop)->MDIActivate(pFrame);
            }
        }
        return pOpenDocument;
    }
    if (pBestTemplate == NULL) {
        fx::PromptMessage(AFX_IDP_FAILED_TO_OPEN_DOC, MB_OK | MB_ICONEXCLAMATION);
        return NULL;
    }
    // A file that is not there is reported before any window is made.
    if (::GetFileAttributesA(strPath) == INVALID_FILE_ATTRIBUTES) {
        CFileException fe(CFileException::fileNotFound, (LONG)::GetLastError(), strPath);
        char szMessage[512];
        CString strText;
        if (fe.GetErrorMessage(szMessage, (UINT)sizeof(szMessage)) && szMessage[0] != '\0')
            strText = szMessage;
        else
            strText = fx::LoadPrompt(AFX_IDP_FAILED_TO_OPEN_DOC);
        AfxMessageBox(strText, MB_OK | MB_ICONEXCLAMATION, AFX_IDP_FAILED_TO_OPEN_DOC);
        return NULL;
    }
    return pBestTemplate->OpenDocumentFile(strPath);
}

BOOL CDocManager::SaveAllModified()
{
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != NULL;) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        if (!pTemplate->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession)
{
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != NULL;) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        pTemplate->CloseAllDocuments(bEndSession);
    }
}

void CDocManager::OnFileNew()
{
    if (m_templateList.IsEmpty()) {
        fx::PromptMessage(AFX_IDP_FAILED_TO_CREATE_DOC, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CDocTemplate* pTemplate = static_cast<CDocTemplate*>(m_templateList.GetHead());
    pTemplate->OpenDocumentFile(NULL);
}

CString CDocManager::BuildFilter(CDocTemplate* pOnly) const
{
    CString strFilter;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != NULL;) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        if (pOnly != NULL && pTemplate != pOnly)
            continue;
        CString strName, strExt;
        if (!pTemplate->GetDocString(strName, CDocTemplate::filterName) ||
            !pTemplate->GetDocString(strExt, CDocTemplate::filterExt))
            continue;
        // ".h;.cpp" -> "*.h;*.cpp"
        CString strPattern;
        for (int i = 0;; i++) {
            CString strOne;
            if (!AfxExtractSubString(strOne, strExt, i, ';'))
                break;
            if (strOne.IsEmpty())
                continue;
            if (!strPattern.IsEmpty())
                strPattern += ';';
            if (strOne[0] != '*')
                strPattern += '*';
            strPattern += strOne;
        }
        strFilter += strName;
        strFilter += '|';
        strFilter += strPattern;
        strFilter += '|';
    }
    strFilter += "All Files (*.*)|*.*||";
    return strFilter;
}

BOOL CDocManager::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                   CDocTemplate* pTemplate)
{
    CString strDefExt;
    if (pTemplate != NULL && pTemplate->GetDocString(strDefExt, CDocTemplate::filterExt)) {
        int nSemi = strDefExt.Find(';');
        if (nSemi >= 0)
            strDefExt.Truncate(nSemi);
        strDefExt.TrimLeft('*');
        strDefExt.TrimLeft('.');
    }
    CFileDialog dlg(bOpenFileDialog, strDefExt.IsEmpty() ? NULL : (LPCSTR)strDefExt,
                    fileName.IsEmpty() ? NULL : (LPCSTR)fileName, lFlags | OFN_EXPLORER | OFN_ENABLESIZING,
                    BuildFilter(bOpenFileDialog ? NULL : pTemplate), AfxGetMainWnd());
    CString strTitle = fx::dv::LoadStr(nIDSTitle);
    if (!strTitle.IsEmpty())
        dlg.m_ofn.lpstrTitle = strTitle;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    fileName = dlg.GetPathName();
    return TRUE;
}

void CDocManager::OnFileOpen()
{
    CString strFile;
    BOOL bChosen;
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pDocManager == this)
        bChosen = pApp->DoPromptFileName(strFile, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, NULL);
    else
        bChosen = DoPromptFileName(strFile, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, NULL);
    if (!bChosen)
        return;
    fx::AppOpenDocumentFile(strFile);
}

BOOL CDocManager::OnOpenRecentFile(UINT nID)
{
    CRecentFileList* pList = AfxGetRecentFileList();
    if (pList == NULL)
        return FALSE;
    int nIndex = (int)(nID - ID_FILE_MRU_FILE1 - pList->m_nStart);
    if (nIndex < 0 || nIndex >= pList->GetSize() || (*pList)[nIndex].IsEmpty())
        return FALSE;
    CString strPath = (*pList)[nIndex];
    // A file that cannot be opened leaves the list.
    if (fx::AppOpenDocumentFile(strPath) == NULL) {
        pList = AfxGetRecentFileList();
        if (pList != NULL) {
            for (int i = 0; i < pList->GetSize(); i++) {
                if ((*pList)[i].CompareNoCase(strPath) == 0) {
                    pList->Remove(i);
                    break;
                }
            }
        }
    }
    return TRUE;
}

void CDocManager::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    CRecentFileList* pList = AfxGetRecentFileList();
    if (pList == NULL) {
        pCmdUI->Enable(FALSE);
        return;
    }
    pList->UpdateMenu(pCmdUI);
}

// ---------------------------------------------------------------------------
// The application's side

namespace {
CDocManager* g_pDocManager = NULL;
CRecentFileList* g_pRecentFileList = NULL;
} // namespace

void fx::SetDocManager(CDocManager* pDocManager, CRecentFileList* pRecentFileList)
{
    g_pDocManager = pDocManager;
    g_pRecentFileList = pRecentFileList;
}

CDocManager* AFXAPI AfxGetDocManager()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pDocManager != NULL)
        return pApp->m_pDocManager;
    return g_pDocManager;
}

CRecentFileList* AFXAPI AfxGetRecentFileList()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pRecentFileList != NULL)
        return pApp->m_pRecentFileList;
    return g_pRecentFileList;
}

CDocument* fx::AppOpenDocumentFile(LPCSTR lpszFileName)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && (pApp->m_pDocManager != NULL || g_pDocManager == NULL))
        return pApp->OpenDocumentFile(lpszFileName);
    CDocManager* pManager = AfxGetDocManager();
    return pManager != NULL ? pManager->OpenDocumentFile(lpszFileName) : NULL;
}

void fx::AppAddToRecentFileList(LPCSTR lpszPathName)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pRecentFileList != NULL) {
        pApp->AddToRecentFileList(lpszPathName);
        return;
    }
    CRecentFileList* pList = AfxGetRecentFileList();
    if (pList != NULL)
        pList->Add(lpszPathName);
}

BOOL fx::AppSaveAllModified()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pDocManager != NULL)
        return pApp->SaveAllModified();
    CDocManager* pManager = AfxGetDocManager();
    return pManager != NULL ? pManager->SaveAllModified() : TRUE;
}

void fx::AppCloseAllDocuments(BOOL bEndSession)
{
    CDocManager* pManager = AfxGetDocManager();
    if (pManager != NULL)
        pManager->CloseAllDocuments(bEndSession);
}

BOOL fx::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    CWinApp* pApp = AfxGetApp();
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew: {
        // The program's own File New when it has one.
        if (pApp == NULL || !pApp->OnCmdMsg(ID_FILE_NEW, 0, NULL, NULL)) {
            CDocManager* pManager = AfxGetDocManager();
            if (pManager != NULL)
                pManager->OnFileNew();
        }
        return pApp == NULL || pApp->m_pMainWnd != NULL;
    }
    case CCommandLineInfo::FileOpen:
        return fx::AppOpenDocumentFile(rCmdInfo.m_strFileName) != NULL;

    case CCommandLineInfo::FilePrintTo:
    case CCommandLineInfo::FilePrint: {
        CDocument* pDoc = fx::AppOpenDocumentFile(rCmdInfo.m_strFileName);
        if (pDoc == NULL)
            return FALSE;
        // The document is printed on the default printer, then closed; the
        // program ends afterwards.
        CWnd* pMain = pApp != NULL ? pApp->m_pMainWnd : NULL;
        if (pMain != NULL && pMain->m_hWnd != NULL)
            pMain->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
        pDoc->OnCloseDocument();
        return FALSE;
    }
    case CCommandLineInfo::FileDDE:
        // No DDE conversation follows here: the program just runs.
        return TRUE;
    case CCommandLineInfo::AppRegister:
    case CCommandLineInfo::AppUnregister:
        // The program does not register itself; it ends.
        return FALSE;
    case CCommandLineInfo::FileNothing:
    default:
        return TRUE;
    }
}
