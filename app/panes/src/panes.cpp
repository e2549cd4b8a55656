// panes.cpp - the table of the editor's panes and the windows they hold.
#include "panes.h"

#include "functionlist.h"
#include "filesystree.h"
#include "findinfiles.h"
#include "tooloutput.h"

namespace {

// In creation order.
const PaneInfo kPanes[kPaneCount] = {
    {PANE_PROJECT_EXPLORER, "Project Explorer", 0},
    {PANE_FILE_EXPLORER, "File Explorer", 1},
    {PANE_LIST_EXPLORER, "List Explorer", 2},
    {PANE_TEMPLATE_EXPLORER, "Template Explorer", 3},
    {PANE_FUNCTION_LIST, "Function List", 4},
    {PANE_TOOL_WINDOW, "Tool Window", 5},
    {PANE_FIND_IN_FILES, "Find In Files", 6},
};

// A pane whose own window is not part of this build yet: a read-only note
// in the pane.
CWnd* CreatePlaceholderPane(CWnd* pParent, LPCSTR lpszTitle, UINT nID)
{
    CWnd* pWnd = new CWnd;
    if (!pWnd->CreateEx(0, "STATIC", lpszTitle, WS_CHILD | SS_CENTER | SS_CENTERIMAGE, CRect(0, 0, 10, 10), pParent,
                        nID)) {
        delete pWnd;
        return NULL;
    }
    pWnd->SendMessage(WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), FALSE);
    return pWnd;
}

CWnd* CreateToolOutputPane(const PaneContext& context, UINT nID)
{
    CProcessOutputView* pOutput = new CProcessOutputView;
    if (!pOutput->Create(WS_CHILD | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                         CRect(0, 0, 10, 10), context.pParent, nID)) {
        delete pOutput;
        return NULL;
    }
    pOutput->SetToolRunningFlag(context.pToolRunning);
    return pOutput;
}

CWnd* CreateFunctionListPane(const PaneContext& context, UINT nID)
{
    CFunctionList* pList = new CFunctionList;
    if (!pList->Create(WS_CHILD | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, CRect(0, 0, 10, 10),
                       context.pParent, nID)) {
        delete pList;
        return NULL;
    }
    return pList;
}

// A pane window whose class makes itself as a child of the pane: the
// find-in-files results, and the File Explorer tree (which the pane holds
// itself until the solution bar brings its container).
template <class TWnd>
CWnd* CreateChildPane(const PaneContext& context, UINT nID)
{
    TWnd* pWnd = new TWnd;
    if (!pWnd->Create(context.pParent, nID)) {
        delete pWnd;
        return NULL;
    }
    return pWnd;
}

} // namespace

const PaneInfo* GetPaneInfos()
{
    return kPanes;
}

const PaneInfo* FindPaneInfo(int nID)
{
    for (const PaneInfo& info : kPanes)
        if (info.nID == nID)
            return &info;
    return NULL;
}

CWnd* CreatePaneWindow(int nID, const PaneContext& context)
{
    const PaneInfo* pInfo = FindPaneInfo(nID);
    if (pInfo == NULL || context.pParent == NULL)
        return NULL;
    switch (nID) {
    case PANE_TOOL_WINDOW: return CreateToolOutputPane(context, (UINT)nID);
    case PANE_FUNCTION_LIST: return CreateFunctionListPane(context, (UINT)nID);
    case PANE_FIND_IN_FILES: return CreateChildPane<CFindInFilesResults>(context, (UINT)nID);
    case PANE_FILE_EXPLORER: return CreateChildPane<CFileSysTreeCtrl>(context, (UINT)nID);
    default: return CreatePlaceholderPane(context.pParent, pInfo->lpszTitle, (UINT)nID);
    }
}
