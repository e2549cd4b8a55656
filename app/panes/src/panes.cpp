// panes.cpp - the table of the editor's panes and the windows they hold.
#include "panes.h"

#include "functionlist.h"
#include "filesystree.h"
#include "findinfiles.h"
#include "listexplorer.h"
#include "projtree.h"
#include "templatetree.h"
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
// find-in-files results and the solution bar's panes.
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
    case PANE_FILE_EXPLORER: return CreateChildPane<CSolutionBarFSContainer>(context, (UINT)nID);
    case PANE_PROJECT_EXPLORER: return CreateChildPane<CSolutionBarPTContainer>(context, (UINT)nID);
    case PANE_TEMPLATE_EXPLORER: return CreateChildPane<CSolutionBarTEContainer>(context, (UINT)nID);
    case PANE_LIST_EXPLORER: return CreateChildPane<CSolutionBarList>(context, (UINT)nID);
    default: return NULL;
    }
}
