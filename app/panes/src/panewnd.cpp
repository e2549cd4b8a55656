// panewnd.cpp - the pane windows' shared pieces.
#include "panewnd.h"

#include <qx/toolbar.h>

#include <algorithm>

BOOL CreatePaneChild(CWnd& wnd, CWnd* pParent, UINT nID, LPCSTR lpszTitle, int nBackground)
{
    // No class cursor: the pane's own windows cover it, and the class name
    // stays the same from one run to the next (it holds the cursor handle).
    LPCSTR lpszClass = AfxRegisterWndClass(0, NULL, (HBRUSH)(INT_PTR)(nBackground + 1));
    return wnd.CreateEx(0, lpszClass, lpszTitle, WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 10, 10), pParent, nID);
}

CQXPToolBar* CreatePaneToolBar(CWnd* pOwner, UINT nToolBarID)
{
    CQXPToolBar* pBar = new CQXPToolBar;
    pBar->SetOwnerSite(pOwner);
    if (!pBar->CreateToolBar(0x50010010, pOwner, AFX_IDW_TOOLBAR) || !pBar->LoadToolBar(nToolBarID)) {
        ReleasePaneToolBar(pBar);
        return NULL;
    }
    pBar->SetOwner(pOwner);
    return pBar;
}

void ReleasePaneToolBar(CQXPToolBar*& pToolBar)
{
    if (pToolBar == NULL)
        return;
    if (pToolBar->GetSafeHwnd() != NULL)
        pToolBar->DestroyWindow();
    pToolBar->InternalRelease();
    pToolBar = NULL;
}

void LayoutPaneToolBar(CQXPToolBar* pToolBar, CWnd* pBody, int cx, int cy)
{
    int nTop = 0;
    if (pToolBar != NULL && pToolBar->GetSafeHwnd() != NULL) {
        CSize size = pToolBar->CalcDockingLayout(cx, qxpLayoutHorz | qxpLayoutHorzDock | qxpLayoutCommit);
        nTop = std::min((int)size.cy, cy);
        pToolBar->MoveWindow(0, 0, cx, nTop);
        pToolBar->Invalidate();
    }
    if (pBody != NULL && pBody->GetSafeHwnd() != NULL) {
        pBody->MoveWindow(0, nTop, cx, std::max(0, cy - nTop));
        pBody->Invalidate();
    }
}
