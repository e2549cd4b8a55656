// textframe.cpp - CScintillaFrame and CDoodleFrame, the child frames of
// text documents.
#include "textframe.h"

#include "editorframe.h"
#include "lexerconfig.h"
#include "textdoc.h"
#include "textview.h"

#include <resource.h>

namespace {

CDoodleFrame* g_pLastFocused = NULL;
CDoodleFrame::BrowserPreviewFn g_pfnBrowserPreview = NULL;

const char kFilesToOpenSection[] = "FilesToOpen";

} // namespace

// ---------------------------------------------------------------------------
// CScintillaFrame

IMPLEMENT_DYNCREATE(CScintillaFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CScintillaFrame, CMDIChildWnd)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CScintillaFrame::CScintillaFrame() : m_nViewAsIndex(0) {}

CScintillaFrame::~CScintillaFrame() = default;

CDoodleView* CScintillaFrame::GetTextView() const
{
    return dynamic_cast<CDoodleView*>(GetActiveView());
}

void CScintillaFrame::SetWordWrap(BOOL bOn)
{
    if (CDoodleView* pView = GetTextView())
        pView->SetWordWrap(bOn);
}

void CScintillaFrame::SetWhitespace(BOOL bOn)
{
    if (CDoodleView* pView = GetTextView())
        pView->SetWhitespace(bOn);
}

void CScintillaFrame::SetLineEndings(BOOL bOn)
{
    if (CDoodleView* pView = GetTextView())
        pView->SetLineEndings(bOn);
}

void CScintillaFrame::SetCaretLine(BOOL bOn)
{
    if (CDoodleView* pView = GetTextView())
        pView->SetCaretLine(bOn);
}

void CScintillaFrame::SetLineNumbers(BOOL bOn)
{
    if (CDoodleView* pView = GetTextView())
        pView->SetLineNumbers(bOn);
}

void CScintillaFrame::SetCodeFolding(BOOL bOn)
{
    if (CDoodleView* pView = GetTextView())
        pView->SetCodeFolding(bOn);
}

void CScintillaFrame::SetRuler(BOOL bOn)
{
    if (CDoodleView* pView = GetTextView()) {
        pView->SetRuler(bOn);
        RecalcLayout();
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void CScintillaFrame::SetBlockSelect(BOOL bOn)
{
    if (CDoodleView* pView = GetTextView())
        pView->SetBlockSelect(bOn);
}

void CScintillaFrame::SetViewFont(LPCSTR lpszFace, int nSize, BOOL bBold, BOOL bItalic)
{
    if (CDoodleView* pView = GetTextView())
        pView->SetEditorFont(lpszFace, nSize, bBold, bItalic);
}

void CScintillaFrame::ApplyViewAs()
{
    if (CDoodleView* pView = GetTextView())
        pView->SetLanguage(m_nViewAsIndex);
}

void CScintillaFrame::SetEditingValues(int nTabGuides, int nUseTabs, int nTabWidth, COLORREF clrCaretLine, int nAlpha)
{
    if (CDoodleView* pView = GetTextView())
        pView->SetEditingValues(nTabGuides, nUseTabs, nTabWidth, clrCaretLine, nAlpha);
}

void CScintillaFrame::StoreSessionPath()
{
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame == NULL || !pFrame->IsClosingForSession())
        return;
    CDocument* pDoc = GetActiveDocument();
    if (pDoc == NULL)
        return;
    CString strPath = pDoc->GetPathName();
    if (strPath.IsEmpty())
        return;
    if (CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileString(kFilesToOpenSection, strPath, strPath);
}

void CScintillaFrame::OnDestroy()
{
    StoreSessionPath();
    CMDIChildWnd::OnDestroy();
}

// ---------------------------------------------------------------------------
// CDoodleFrame

IMPLEMENT_DYNCREATE(CDoodleFrame, CScintillaFrame)

BEGIN_MESSAGE_MAP(CDoodleFrame, CScintillaFrame)
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
    ON_COMMAND(ID_FILE_PREVIEW_BROWSER, OnPreviewInBrowser)
    ON_UPDATE_COMMAND_UI(ID_FILE_PREVIEW_BROWSER, OnUpdatePreviewInBrowser)
END_MESSAGE_MAP()

CDoodleFrame::CDoodleFrame() : m_pPreviewFrame(NULL)
{
    m_nViewAsIndex = 0;
}

CDoodleFrame::~CDoodleFrame()
{
    if (g_pLastFocused == this)
        g_pLastFocused = NULL;
}

CDoodleFrame* CDoodleFrame::GetLastFocused()
{
    return g_pLastFocused;
}

void CDoodleFrame::SetBrowserPreview(BrowserPreviewFn pfn)
{
    g_pfnBrowserPreview = pfn;
}

BOOL CDoodleFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CScintillaFrame::PreCreateWindow(cs))
        return FALSE;
    cs.style = WS_CHILD | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE;
    return TRUE;
}

BOOL CDoodleFrame::OnCreateClient(LPCREATESTRUCTA, CCreateContext* pContext)
{
    // The panes share the splitter's scroll bars; its split box above the
    // vertical bar splits the window.
    if (!m_wndSplitter.Create(this, 2, 1, CSize(1, 1), pContext,
                              WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | SPLS_DYNAMIC_SPLIT, AFX_IDW_PANE_FIRST))
        return FALSE;
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->AddChildFrame(this);
    return TRUE;
}

void CDoodleFrame::OnSetFocus(CWnd* pOldWnd)
{
    CScintillaFrame::OnSetFocus(pOldWnd);
    SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    IEditorFrame* pFrame = GetEditorFrame();
    if (g_pLastFocused != this) {
        g_pLastFocused = this;
        if (pFrame != NULL)
            pFrame->OnTextDocumentActivated();
    }
    if (pFrame != NULL)
        pFrame->SetCurrentChildFrame(this);
    if (CView* pView = GetActiveView())
        pView->SetFocus();
}

void CDoodleFrame::OnDestroy()
{
    CScintillaFrame::OnDestroy();
    if (g_pLastFocused == this)
        g_pLastFocused = NULL;
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->RemoveChildFrame(this);
}

void CDoodleFrame::OnUpdatePreviewInBrowser(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(g_pfnBrowserPreview != NULL);
}

void CDoodleFrame::OnPreviewInBrowser()
{
    if (g_pfnBrowserPreview == NULL)
        return;
    CDoodleView* pView = GetTextView();
    if (pView == NULL)
        return;
    // A preview frame of this frame that still exists is reused.
    CFrameWnd* pPrevious = NULL;
    if (m_pPreviewFrame != NULL) {
        CPtrArray frames;
        fx::GetFrameList(frames);
        for (INT_PTR i = 0; i < frames.GetSize(); i++) {
            if (frames[i] == m_pPreviewFrame && ::IsWindow(m_pPreviewFrame->GetSafeHwnd()))
                pPrevious = m_pPreviewFrame;
        }
    }
    CString strText = pView->GetAllText();
    m_pPreviewFrame = g_pfnBrowserPreview(this, pPrevious, strText);
}
