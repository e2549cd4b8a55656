// docchildframe.cpp - the child frame behaviour the extra documents share.
#include "docchildframe.h"

#include "editorframe.h"

IMPLEMENT_DYNAMIC(CExtraDocFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CExtraDocFrame, CMDIChildWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

BOOL CExtraDocFrame::IsOnlyChild() const
{
    HWND hClient = ::GetParent(m_hWnd);
    if (hClient == NULL)
        return TRUE;
    for (HWND h = ::GetWindow(hClient, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
        // Icon titles of minimized children are owned windows, not children.
        if (h != m_hWnd && ::GetWindow(h, GW_OWNER) == NULL)
            return FALSE;
    }
    return TRUE;
}

void CExtraDocFrame::ActivateFrame(int nCmdShow)
{
    if (m_bMaximizeFirst && IsOnlyChild())
        nCmdShow = SW_SHOWMAXIMIZED;
    CMDIChildWnd::ActivateFrame(nCmdShow);
}

int CExtraDocFrame::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CMDIChildWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->AddChildFrame(this);
    return 0;
}

void CExtraDocFrame::OnDestroy()
{
    CMDIChildWnd::OnDestroy();
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->RemoveChildFrame(this);
}

void CExtraDocFrame::OnSetFocus(CWnd* pOldWnd)
{
    CMDIChildWnd::OnSetFocus(pOldWnd);
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->SetCurrentChildFrame(this);
    CView* pView = GetActiveView();
    if (pView != NULL && ::IsWindow(pView->m_hWnd))
        pView->SetFocus();
}
