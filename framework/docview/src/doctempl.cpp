// CDocTemplate and CMultiDocTemplate: making documents, frames and views.
#include "dvimpl.h"

// ---------------------------------------------------------------------------
// CDocTemplate

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass),
      m_bAutoDelete(TRUE)
{
}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate()
{
    if (m_strDocStrings.IsEmpty())
        m_strDocStrings = fx::dv::LoadStr(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    rString.Empty();
    if (!AfxExtractSubString(rString, m_strDocStrings, (int)index, '\n'))
        rString.Empty();
    return !rString.IsEmpty();
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (pDoc->m_pDocTemplate == this)
        pDoc->m_pDocTemplate = NULL;
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCSTR lpszPathName, CDocument*& rpDocMatch)
{
    rpDocMatch = NULL;
    CString strPath = fx::dv::FullPath(lpszPathName);
    // Already open under that path (names compare without case).
    for (POSITION pos = GetFirstDocPosition(); pos != NULL;) {
        CDocument* pDoc = GetNextDoc(pos);
        if (!pDoc->GetPathName().IsEmpty() && pDoc->GetPathName().CompareNoCase(strPath) == 0) {
            rpDocMatch = pDoc;
            return yesAlreadyOpen;
        }
    }
    // The filter extension names the native files (".txt", or ".h;.cpp").
    CString strFilterExt;
    if (GetDocString(strFilterExt, filterExt)) {
        int nDot = strPath.ReverseFind('.');
        int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
        CString strExt = nDot > nSlash ? strPath.Mid(nDot) : CString();
        for (int i = 0;; i++) {
            CString strOne;
            if (!AfxExtractSubString(strOne, strFilterExt, i, ';'))
                break;
            strOne.Trim();
            if (!strOne.IsEmpty() && strOne[0] == '*')
                strOne = strOne.Mid(1);
            if (!strOne.IsEmpty() && strExt.CompareNoCase(strOne) == 0)
                return yesAttemptNative;
        }
    }
    return yesAttemptForeign;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (m_pDocClass == NULL)
        return NULL;
    CObject* pObject = m_pDocClass->CreateObject();
    CDocument* pDoc = DYNAMIC_DOWNCAST(CDocument, pObject);
    if (pDoc == NULL) {
        delete pObject;
        return NULL;
    }
    AddDocument(pDoc);
    return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    if (m_pFrameClass == NULL)
        return NULL;
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;

    CObject* pObject = m_pFrameClass->CreateObject();
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pObject);
    if (pFrame == NULL) {
        delete pObject;
        return NULL;
    }
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, NULL, &context)) {
        // A frame whose window was started is gone with it.
        fx::dv::DeleteFrameWithoutWindow(pFrame);
        return NULL;
    }
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified()
{
    for (POSITION pos = GetFirstDocPosition(); pos != NULL;) {
        CDocument* pDoc = GetNextDoc(pos);
        if (!pDoc->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    POSITION pos = GetFirstDocPosition();
    while (pos != NULL) {
        CDocument* pDoc = GetNextDoc(pos);
        pDoc->OnCloseDocument();
        // Closing may change the list.
        pos = GetFirstDocPosition();
        if (pos != NULL && GetNextDoc(pos) == pDoc)
            break; // a document that refused to go
        pos = GetFirstDocPosition();
    }
}

BOOL CDocTemplate::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---------------------------------------------------------------------------
// CMultiDocTemplate

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_hMenuShared(NULL), m_hAccelTable(NULL),
      m_nUntitledCount(0)
{
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    // Documents still open lose their template.
    while (!m_docList.IsEmpty()) {
        CDocument* pDoc = static_cast<CDocument*>(m_docList.RemoveHead());
        pDoc->m_pDocTemplate = NULL;
    }
    if (m_hMenuShared != NULL && ::IsMenu(m_hMenuShared))
        ::DestroyMenu(m_hMenuShared);
}

void CMultiDocTemplate::LoadTemplate()
{
    CDocTemplate::LoadTemplate();
    if (m_hMenuShared == NULL) {
        LPCSTR lpszName = MAKEINTRESOURCEA(m_nIDResource);
        HINSTANCE hInst = AfxFindResourceHandle(lpszName, (LPCSTR)RT_MENU);
        if (::FindResourceA(hInst, lpszName, (LPCSTR)RT_MENU) != NULL)
            m_hMenuShared = ::LoadMenuA(hInst, lpszName);
        hInst = AfxFindResourceHandle(lpszName, (LPCSTR)RT_ACCELERATOR);
        if (::FindResourceA(hInst, lpszName, (LPCSTR)RT_ACCELERATOR) != NULL)
            m_hAccelTable = ::LoadAcceleratorsA(hInst, lpszName);
    }
}

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const
{
    return static_cast<CDocument*>(m_docList.GetNext(rPos));
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc)
{
    CDocTemplate::AddDocument(pDoc);
    if (m_docList.Find(pDoc) == NULL)
        m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc)
{
    CDocTemplate::RemoveDocument(pDoc);
    POSITION pos = m_docList.Find(pDoc);
    if (pos != NULL)
        m_docList.RemoveAt(pos);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    // "<document name><n>", else "Untitled".
    CString strName;
    if (GetDocString(strName, docName))
        strName.AppendFormat("%u", m_nUntitledCount + 1);
    else
        strName = fx::LoadPrompt(AFX_IDS_UNTITLED);
    pDocument->SetTitle(strName);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible)
{
    // A document of this template already open under the path is shown.
    if (lpszPathName != NULL && *lpszPathName != '\0') {
        CDocument* pOpen = NULL;
        if (MatchDocType(lpszPathName, pOpen) == yesAlreadyOpen && pOpen != NULL) {
            POSITION pos = pOpen->GetFirstViewPosition();
            if (pos != NULL) {
                CView* pView = pOpen->GetNextView(pos);
                CFrameWnd* pFrame = pView->GetParentFrame();
                if (pFrame != NULL)
                    pFrame->ActivateFrame();
            }
            return pOpen;
        }
    }

    CDocument* pDocument = CreateNewDocument();
    if (pDocument == NULL) {
        fx::PromptMessage(AFX_IDP_FAILED_TO_CREATE_DOC, MB_OK | MB_ICONEXCLAMATION);
        return NULL;
    }

    // The frame and views are made before the document is filled; the
    // document stays while its frame is made (no view closes it yet).
    BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE;
    CFrameWnd* pFrame = CreateNewFrame(pDocument, NULL);
    pDocument->m_bAutoDelete = bAutoDelete;
    if (pFrame == NULL) {
        fx::PromptMessage(AFX_IDP_FAILED_TO_CREATE_DOC, MB_OK | MB_ICONEXCLAMATION);
        delete pDocument;
        return NULL;
    }

    if (lpszPathName == NULL || *lpszPathName == '\0') {
        SetDefaultTitle(pDocument);
        if (!pDocument->OnNewDocument()) {
            // The frame takes the document with it.
            pFrame->DestroyWindow();
            return NULL;
        }
        m_nUntitledCount++;
    } else {
        CWaitCursor wait;
        if (!pDocument->OnOpenDocument(lpszPathName)) {
            pFrame->DestroyWindow();
            return NULL;
        }
        pDocument->SetPathName(lpszPathName);
    }
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}
