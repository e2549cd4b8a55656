// CDocument: title and path, views, loading and safe saving, the save
// prompt and closing.
#include "dvimpl.h"

#include "fx/except.h"

#include <mapi.h>
#include <algorithm>

// ---------------------------------------------------------------------------
// Prompts with built-in texts

namespace {

const char* BuiltInPrompt(UINT nID)
{
    switch (nID) {
    case AFX_IDP_INVALID_FILENAME: return "Invalid filename.";
    case AFX_IDP_FAILED_TO_OPEN_DOC: return "Failed to open document.";
    case AFX_IDP_FAILED_TO_SAVE_DOC: return "Failed to save document.";
    case AFX_IDP_ASK_TO_SAVE: return "Save changes to %1?";
    case AFX_IDP_FAILED_TO_CREATE_DOC: return "Failed to create empty document.";
    case AFX_IDP_FILE_TOO_LARGE: return "The file is too large to open.";
    case AFX_IDP_FAILED_TO_START_PRINT: return "Could not start print job.";
    case AFX_IDP_FAILED_TO_LAUNCH_HELP: return "Failed to launch help.";
    case AFX_IDP_INTERNAL_FAILURE: return "Internal application error.";
    case AFX_IDP_COMMAND_FAILURE: return "Command failed.";
    case AFX_IDP_FAILED_MEMORY_ALLOC: return "Insufficient memory to perform operation.";
    case AFX_IDP_NO_PRINTER: return "No printers are installed. Install a printer, then try again.";
    case AFX_IDS_UNTITLED: return "Untitled";
    default: return NULL;
    }
}

} // namespace

CString fx::LoadPrompt(UINT nID, LPCSTR lpsz1)
{
    CString strFormat;
    if (!strFormat.LoadString(nID) || strFormat.IsEmpty()) {
        const char* psz = BuiltInPrompt(nID);
        strFormat = psz != NULL ? psz : "";
    }
    if (lpsz1 != NULL)
        strFormat.Replace("%1", lpsz1);
    return strFormat;
}

int fx::PromptMessage(UINT nID, UINT nType, LPCSTR lpsz1)
{
    CString strText = LoadPrompt(nID, lpsz1);
    return AfxMessageBox(strText, nType, nID);
}

// ---------------------------------------------------------------------------
// Safe writing

CString fx::CreateTempFileBeside(LPCSTR lpszPathName)
{
    CString strFull = fx::dv::FullPath(lpszPathName);
    CString strDir = strFull;
    int nSlash = std::max(strDir.ReverseFind('\\'), strDir.ReverseFind('/'));
    if (nSlash < 0)
        strDir = ".";
    else
        strDir = strDir.Left(nSlash + 1);
    char szTemp[MAX_PATH * 2];
    if (::GetTempFileNameA(strDir, "~fx", 0, szTemp) == 0)
        AfxThrowFileException(CFileException::accessDenied, (LONG)::GetLastError(), lpszPathName);
    return CString(szTemp);
}

void fx::ReplaceFileWith(LPCSTR lpszTarget, LPCSTR lpszTemp)
{
    DWORD dwAttr = ::GetFileAttributesA(lpszTarget);
    if (dwAttr != INVALID_FILE_ATTRIBUTES) {
        // Never over a read-only file.
        if (dwAttr & FILE_ATTRIBUTE_READONLY)
            AfxThrowFileException(CFileException::accessDenied, ERROR_ACCESS_DENIED, lpszTarget);
        // The replaced file keeps its attributes; the temporary file takes
        // its place in one step.
        if (::ReplaceFileA(lpszTarget, lpszTemp, NULL, REPLACEFILE_IGNORE_MERGE_ERRORS, NULL, NULL))
            return;
    }
    if (!::MoveFileExA(lpszTemp, lpszTarget, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        AfxThrowFileException(CFileException::accessDenied, (LONG)::GetLastError(), lpszTarget);
}

// ---------------------------------------------------------------------------
// CDocument

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() : m_pDocTemplate(NULL), m_bModified(FALSE), m_bAutoDelete(TRUE), m_bEmbedded(FALSE) {}

CDocument::~CDocument()
{
    // Views outliving their document lose it.
    while (!m_viewList.IsEmpty()) {
        CView* pView = static_cast<CView*>(m_viewList.RemoveHead());
        pView->m_pDocument = NULL;
    }
    if (m_pDocTemplate != NULL)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR lpszTitle)
{
    m_strTitle = lpszTitle != NULL ? lpszTitle : "";
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU)
{
    m_strPathName = fx::dv::FullPath(lpszPathName);
    m_bEmbedded = FALSE;
    // The title is the file name.
    CString strName = m_strPathName;
    int nSlash = std::max(strName.ReverseFind('\\'), strName.ReverseFind('/'));
    if (nSlash >= 0)
        strName = strName.Mid(nSlash + 1);
    SetTitle(strName);
    if (bAddToMRU)
        fx::AppAddToRecentFileList(m_strPathName);
}

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    return static_cast<CView*>(m_viewList.GetNext(rPosition));
}

void CDocument::AddView(CView* pView)
{
    if (pView == NULL || m_viewList.Find(pView) != NULL)
        return;
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    POSITION pos = m_viewList.Find(pView);
    if (pos == NULL)
        return;
    m_viewList.RemoveAt(pos);
    pView->m_pDocument = NULL;
    OnChangedViewList();
}

void CDocument::OnChangedViewList()
{
    // An auto-delete document goes with its last view.
    if (m_viewList.IsEmpty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    for (POSITION pos = GetFirstViewPosition(); pos != NULL;) {
        CView* pView = GetNextView(pos);
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::UpdateFrameCounts()
{
    // The frames that show this document and number their captions.
    CPtrArray frames;
    for (POSITION pos = GetFirstViewPosition(); pos != NULL;) {
        CView* pView = GetNextView(pos);
        if (pView->m_hWnd == NULL)
            continue;
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame == NULL || !(pFrame->GetStyle() & FWS_ADDTOTITLE))
            continue;
        BOOL bKnown = FALSE;
        for (INT_PTR i = 0; i < frames.GetSize(); i++)
            if (frames[i] == pFrame)
                bKnown = TRUE;
        if (!bKnown)
            frames.Add(pFrame);
    }
    INT_PTR nFrames = frames.GetSize();
    for (INT_PTR i = 0; i < nFrames; i++) {
        CFrameWnd* pFrame = static_cast<CFrameWnd*>(frames[i]);
        pFrame->m_nWindow = nFrames == 1 ? 0 : (int)(i + 1);
        pFrame->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate != NULL && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// --- new, open, save -----------------------------------------------------------

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

CFile* CDocument::GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    CFile* pFile = new CFile;
    if (!pFile->Open(lpszFileName, nOpenFlags, pError)) {
        delete pFile;
        return NULL;
    }
    return pFile;
}

void CDocument::ReleaseFile(CFile* pFile, BOOL bAbort)
{
    if (pFile == NULL)
        return;
    if (bAbort)
        pFile->Abort();
    else
        pFile->Close();
    delete pFile;
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName)
{
    CFileException fe;
    CFile* pFile = GetFile(lpszPathName, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary, &fe);
    if (pFile == NULL) {
        ReportSaveLoadException(lpszPathName, &fe, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    // Modified while it loads (a failure leaves a document that differs from
    // its file).
    SetModifiedFlag(TRUE);
    try {
        CWaitCursor wait;
        CArchive ar(pFile, CArchive::load | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        if (pFile->GetLength() != 0)
            Serialize(ar);
        ar.Close();
        ReleaseFile(pFile, FALSE);
    } catch (CException* e) {
        ReleaseFile(pFile, TRUE);
        DeleteContents();
        ReportSaveLoadException(lpszPathName, e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR lpszPathName)
{
    // Serialize writes into a temporary file beside the target; only a
    // complete file replaces the old one.
    try {
        CWaitCursor wait;
        fx::SafeWriteFile(lpszPathName, [this](LPCSTR lpszTemp) {
            CFile file;
            CFileException fe;
            if (!file.Open(lpszTemp, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive | CFile::typeBinary, &fe))
                AfxThrowFileException(fe.m_cause, fe.m_lOsError, lpszTemp);
            try {
                CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
                ar.m_pDocument = this;
                Serialize(ar);
                ar.Close();
                file.Close();
            } catch (...) {
                file.Abort();
                throw;
            }
        });
    } catch (CException* e) {
        // The failure names the document's file, not the temporary one.
        if (e->IsKindOf(RUNTIME_CLASS(CFileException)))
            static_cast<CFileException*>(e)->m_strFileName = lpszPathName;
        ReportSaveLoadException(lpszPathName, e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportSaveLoadException(LPCSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault)
{
    (void)bSaving;
    if (e != NULL && e->IsKindOf(RUNTIME_CLASS(CUserException)))
        return; // already reported
    CString strName = lpszPathName != NULL ? lpszPathName : "";
    CString strText;
    char szMessage[512];
    if (e != NULL && (e->IsKindOf(RUNTIME_CLASS(CFileException)) || e->IsKindOf(RUNTIME_CLASS(CArchiveException))) &&
        e->GetErrorMessage(szMessage, (UINT)sizeof(szMessage)) && szMessage[0] != '\0')
        strText = szMessage;
    else
        strText = fx::LoadPrompt(nIDPDefault, strName);
    AfxMessageBox(strText, MB_ICONEXCLAMATION, nIDPDefault);
}

BOOL CDocument::DoSave(LPCSTR lpszPathName, BOOL bReplace)
{
    CString strNewName = lpszPathName != NULL ? lpszPathName : "";
    if (strNewName.IsEmpty()) {
        CDocTemplate* pTemplate = GetDocTemplate();
        strNewName = m_strPathName;
        if (bReplace && strNewName.IsEmpty()) {
            // A name from the title, without characters a file name cannot
            // hold, with the template's extension.
            strNewName = m_strTitle;
            int nBad = strNewName.FindOneOf(" #%;/\\*?\"<>|:");
            if (nBad >= 0)
                strNewName.Truncate(nBad);
            CString strExt;
            if (pTemplate != NULL && pTemplate->GetDocString(strExt, CDocTemplate::filterExt) && !strExt.IsEmpty()) {
                int nSemi = strExt.Find(';');
                if (nSemi >= 0)
                    strExt.Truncate(nSemi);
                strNewName += strExt;
            }
        }
        CDocManager* pManager = AfxGetDocManager();
        BOOL bChosen;
        CWinApp* pApp = AfxGetApp();
        if (pApp != NULL && pApp->m_pDocManager != NULL)
            bChosen = pApp->DoPromptFileName(strNewName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                             OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, pTemplate);
        else if (pManager != NULL)
            bChosen = pManager->DoPromptFileName(strNewName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                                 OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, pTemplate);
        else {
            CDocManager mgr;
            bChosen = mgr.DoPromptFileName(strNewName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                           OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, pTemplate);
        }
        if (!bChosen)
            return FALSE;
    }

    CWaitCursor wait;
    // A failed save leaves the file on disk as it was (see OnSaveDocument):
    // nothing is deleted here.
    if (!OnSaveDocument(strNewName))
        return FALSE;
    if (bReplace)
        SetPathName(strNewName);
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    DWORD dwAttrib = ::GetFileAttributesA(m_strPathName);
    // No path, a missing folder or a read-only file: ask for a name.
    if (m_strPathName.IsEmpty() || (dwAttrib != INVALID_FILE_ATTRIBUTES && (dwAttrib & FILE_ATTRIBUTE_READONLY)))
        return DoSave(NULL);
    return DoSave(m_strPathName);
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    // "Save changes to <file name>?" (the title for a new document).
    CString strName = m_strPathName;
    if (strName.IsEmpty()) {
        strName = m_strTitle;
        if (strName.IsEmpty())
            strName = fx::LoadPrompt(AFX_IDS_UNTITLED);
    } else {
        int nSlash = std::max(strName.ReverseFind('\\'), strName.ReverseFind('/'));
        if (nSlash >= 0)
            strName = strName.Mid(nSlash + 1);
    }
    CString strPrompt = fx::LoadPrompt(AFX_IDP_ASK_TO_SAVE, strName);
    switch (AfxMessageBox(strPrompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrameArg)
{
    // Another frame still showing the document: nothing to ask.
    for (POSITION pos = GetFirstViewPosition(); pos != NULL;) {
        CView* pView = GetNextView(pos);
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != NULL && pFrame != pFrameArg)
            return TRUE;
    }
    return SaveModified();
}

void CDocument::PreCloseFrame(CFrameWnd*) {}

void CDocument::OnCloseDocument()
{
    // Kept alive while its frames go.
    BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        CView* pView = static_cast<CView*>(m_viewList.GetHead());
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != NULL) {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
        } else if (pView->m_hWnd != NULL) {
            pView->DestroyWindow();
        }
        // A view that survived its frame leaves the list anyway.
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView)
            RemoveView(pView);
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(NULL);
}

// --- mail ------------------------------------------------------------------------

namespace {

typedef ULONG(WINAPI* MapiSendMailFn)(ULONG_PTR, ULONG_PTR, void*, FLAGS, ULONG);

HMODULE MapiModule()
{
    static HMODULE s_hMapi = ::LoadLibraryA("MAPI32.DLL");
    return s_hMapi;
}

} // namespace

void CDocument::OnUpdateFileSendMail(CCmdUI* pCmdUI)
{
    HMODULE hMapi = MapiModule();
    pCmdUI->Enable(hMapi != NULL && ::GetProcAddress(hMapi, "MAPISendMail") != NULL);
}

void CDocument::OnFileSendMail()
{
    HMODULE hMapi = MapiModule();
    MapiSendMailFn pfnSend = hMapi != NULL ? (MapiSendMailFn)(void*)::GetProcAddress(hMapi, "MAPISendMail") : NULL;
    if (pfnSend == NULL) {
        fx::PromptMessage(AFX_IDP_COMMAND_FAILURE, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // A copy of the document goes out; the document keeps its state.
    char szTempDir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, szTempDir);
    // The attachment is named after the file; a title may carry marks of
    // the document's state.
    CString strName = !m_strPathName.IsEmpty() ? fx::PathFileName(m_strPathName)
                                               : (m_strTitle.IsEmpty() ? CString("Document") : m_strTitle);
    int nBad = strName.FindOneOf("\\/:*?\"<>|");
    if (nBad >= 0)
        strName.Truncate(nBad);
    CString strTemp = CString(szTempDir) + strName;
    BOOL bModified = IsModified();
    BOOL bSaved = OnSaveDocument(strTemp);
    SetModifiedFlag(bModified);
    if (!bSaved)
        return;

    MapiFileDesc file;
    ZeroMemory(&file, sizeof(file));
    file.nPosition = (ULONG)-1;
    file.lpszPathName = const_cast<LPSTR>((LPCSTR)strTemp);
    file.lpszFileName = const_cast<LPSTR>((LPCSTR)strName);
    MapiMessage message;
    ZeroMemory(&message, sizeof(message));
    message.nFileCount = 1;
    message.lpFiles = &file;
    CWnd* pMain = AfxGetMainWnd();
    ULONG nError = pfnSend(0, (ULONG_PTR)pMain->GetSafeHwnd(), &message, MAPI_LOGON_UI | MAPI_DIALOG, 0);
    ::DeleteFileA(strTemp);
    if (nError != SUCCESS_SUCCESS && nError != MAPI_USER_ABORT && nError != MAPI_E_LOGIN_FAILURE)
        fx::PromptMessage(AFX_IDP_COMMAND_FAILURE, MB_OK | MB_ICONEXCLAMATION);
}
