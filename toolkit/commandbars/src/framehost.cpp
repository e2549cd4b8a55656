// The MDI frame base with command bars.

#include <qx/framehost.h>

IMPLEMENT_DYNAMIC(CQXPMDIFrameWnd, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CQXPMDIFrameWnd, CMDIFrameWnd)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQXPMDIFrameWnd::CQXPMDIFrameWnd() : m_pCommandBars(NULL) {}

CQXPMDIFrameWnd::~CQXPMDIFrameWnd()
{
    if (m_pCommandBars)
        m_pCommandBars->InternalRelease();
    m_pCommandBars = NULL;
}

BOOL CQXPMDIFrameWnd::InitCommandBars(CRuntimeClass* pCommandBarsClass)
{
    if (m_pCommandBars)
        return TRUE;
    m_pCommandBars = CQXPCommandBars::CreateCommandBars(this, pCommandBarsClass);
    return m_pCommandBars != NULL;
}

BOOL CQXPMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    if (!CMDIFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    // Once the keyboard shortcuts have a table of their own they translate
    // the keys: the frame's table would run the same commands twice.
    CQXPKeyboardShortcuts* pShortcuts = m_pCommandBars ? m_pCommandBars->GetKeyboardShortcuts() : NULL;
    if (pShortcuts && pShortcuts->HasCurrentTable())
        m_hAccelTable = NULL;
    return TRUE;
}

BOOL AFXAPI CQXPMDIFrameWnd::IsCommandBarEdit(HWND hWnd)
{
    CWnd* pWnd = hWnd ? CWnd::FromHandlePermanent(hWnd) : NULL;
    if (!pWnd)
        return FALSE;
    for (CRuntimeClass* pClass = pWnd->GetRuntimeClass(); pClass; pClass = pClass->m_pBaseClass) {
        if (lstrcmpA(pClass->m_lpszClassName, "CQXPEdit") == 0)
            return TRUE;
    }
    return FALSE;
}

BOOL CQXPMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYDOWN && pMsg->message <= WM_KEYLAST && pMsg->wParam != VK_TAB &&
        pMsg->wParam != VK_RETURN && pMsg->wParam != VK_ESCAPE && IsCommandBarEdit(::GetFocus()))
        return FALSE;
    if (CMDIFrameWnd::PreTranslateMessage(pMsg))
        return TRUE;
    return m_pCommandBars != NULL && m_pCommandBars->PreTranslateFrameMessage(pMsg);
}

BOOL CQXPMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The tab workspace commands are the MDI client's first.
    if (nID >= 9155 && nID <= 9158 && m_hWndMDIClient) {
        CWnd* pClient = CWnd::FromHandlePermanent(m_hWndMDIClient);
        if (pClient && pClient->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    return CMDIFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CQXPMDIFrameWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (m_pCommandBars && m_pCommandBars->OnFrameWndMsg(message, wParam, lParam, pResult))
        return TRUE;
    return CMDIFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
}

void CQXPMDIFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState)
{
    if (m_pCommandBars)
        m_pCommandBars->OnSetPreviewMode(bPreview);
    CMDIFrameWnd::OnSetPreviewMode(bPreview, pState);
}

void CQXPMDIFrameWnd::OnDestroy()
{
    // The bars go with the frame; the manager is released first so that it
    // takes its windows down while the frame still exists.
    if (m_pCommandBars) {
        CQXPCommandBars* pCommandBars = m_pCommandBars;
        m_pCommandBars = NULL;
        pCommandBars->InternalRelease();
    }
    CMDIFrameWnd::OnDestroy();
}
