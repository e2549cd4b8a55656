// htmlpreview.cpp - the web preview document, frame and view.
#include "htmlpreview.h"

#include <ocidl.h>
#include <objidl.h>

IMPLEMENT_DYNCREATE(CHTMLPreviewDoc, CDocument)
IMPLEMENT_DYNCREATE(CHTMLPreviewFrame, CExtraDocFrame)
IMPLEMENT_DYNCREATE(CHTMLPreviewView, CHtmlView)

BOOL CHTMLPreviewDoc::OnNewDocument() { return CDocument::OnNewDocument(); }

void CHTMLPreviewView::OnInitialUpdate()
{
    CHtmlView::OnInitialUpdate();
    // An empty HTML document that SetHtmlText can replace.
    Navigate2("about:blank", 0, NULL, NULL, NULL, 0);
}

std::string CHTMLPreviewFrame::PageBytes(LPCSTR lpszText)
{
    std::string bytes = "\xEF\xBB\xBF";
    bytes += lpszText != NULL ? lpszText : "";
    bytes += '\0';
    return bytes;
}

BOOL CHTMLPreviewFrame::SetHtmlText(LPCSTR lpszText)
{
    CHtmlView* pView = DYNAMIC_DOWNCAST(CHtmlView, GetActiveView());
    if (pView == NULL)
        return FALSE;
    IDispatch* pDocument = pView->GetHtmlDocument();
    if (pDocument == NULL)
        return FALSE;
    if (lpszText == NULL)
        lpszText = "";

    BOOL bLoaded = FALSE;
    IPersistStreamInit* pPersist = NULL;
    if (SUCCEEDED(pDocument->QueryInterface(IID_IPersistStreamInit, (void**)&pPersist)) && pPersist != NULL) {
        if (SUCCEEDED(pPersist->InitNew())) {
            IStream* pStream = NULL;
            if (SUCCEEDED(::CreateStreamOnHGlobal(NULL, TRUE, &pStream)) && pStream != NULL) {
                const std::string bytes = PageBytes(lpszText);
                const ULONG cb = (ULONG)bytes.size();
                ULONG cbWritten = 0;
                LARGE_INTEGER zero = {};
                if (SUCCEEDED(pStream->Write(bytes.data(), cb, &cbWritten)) && cbWritten == cb &&
                    SUCCEEDED(pStream->Seek(zero, STREAM_SEEK_SET, NULL)))
                    bLoaded = SUCCEEDED(pPersist->Load(pStream));
                pStream->Release();
            }
        }
        pPersist->Release();
    }
    pDocument->Release();
    return bLoaded;
}

CHTMLPreviewFrame* CHTMLPreviewFrame::PreviewText(CDocTemplate* pTemplate, HWND& rhRemembered, LPCSTR lpszText)
{
    CHTMLPreviewFrame* pFrame = NULL;
    if (rhRemembered != NULL && ::IsWindow(rhRemembered))
        pFrame = DYNAMIC_DOWNCAST(CHTMLPreviewFrame, CWnd::FromHandlePermanent(rhRemembered));
    if (pFrame != NULL) {
        ::SendMessageA(::GetParent(pFrame->m_hWnd), WM_MDIACTIVATE, (WPARAM)pFrame->m_hWnd, 0);
    } else {
        rhRemembered = NULL;
        if (pTemplate == NULL)
            return NULL;
        CDocument* pDoc = pTemplate->OpenDocumentFile(NULL);
        if (pDoc == NULL)
            return NULL;
        POSITION pos = pDoc->GetFirstViewPosition();
        CView* pView = pos != NULL ? pDoc->GetNextView(pos) : NULL;
        pFrame = pView != NULL ? DYNAMIC_DOWNCAST(CHTMLPreviewFrame, pView->GetParentFrame()) : NULL;
        if (pFrame == NULL)
            return NULL;
        rhRemembered = pFrame->m_hWnd;
    }
    pFrame->SetHtmlText(lpszText);
    return pFrame;
}
