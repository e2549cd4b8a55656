// panewnd.h - what the solution bar's pane windows share: the plain child
// window a pane is, and a standalone toolbar across its top.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

class CQXPToolBar;

// Makes pWnd a hidden child of the pane's parent with a window class of its
// own (the background of nBackground, a COLOR_* index; no cursor of its own).
BOOL CreatePaneChild(CWnd& wnd, CWnd* pParent, UINT nID, LPCSTR lpszTitle, int nBackground = COLOR_WINDOW);

// A pane's standalone toolbar from a toolbar resource, its commands going
// to pOwner; NULL when it cannot be made. One reference, given back with
// ReleasePaneToolBar (which also destroys its window and empties the pointer).
CQXPToolBar* CreatePaneToolBar(CWnd* pOwner, UINT nToolBarID);
void ReleasePaneToolBar(CQXPToolBar*& pToolBar);

// Lays a pane out: the toolbar (may be NULL) across the top at its docked
// height, pBody in the rest.
void LayoutPaneToolBar(CQXPToolBar* pToolBar, CWnd* pBody, int cx, int cy);
