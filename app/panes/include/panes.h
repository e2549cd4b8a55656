// panes.h - the editor's docking panes: their ids, titles and order, and the
// window each one holds. The main frame docks the panes; this file makes
// what goes inside them.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

// Ids of the docking panes (also the View menu commands).
enum {
    PANE_LIST_EXPLORER = 59510,
    PANE_FILE_EXPLORER = 59585,
    PANE_PROJECT_EXPLORER = 59586,
    PANE_TEMPLATE_EXPLORER = 59588,
    PANE_TOOL_WINDOW = 59590,
    PANE_FIND_IN_FILES = 59591,
    PANE_FUNCTION_LIST = 59599,
};

struct PaneInfo {
    int nID;          // the pane's id, one of PANE_* above
    LPCSTR lpszTitle; // caption and tab text
    int nSlot;        // index into the frame's pane windows, 0 .. kPaneCount - 1
};

enum {
    kPaneCount = 7
};

// The editor's panes in creation order; kPaneCount entries.
const PaneInfo* GetPaneInfos();

// The entry of a pane id, NULL for an id that is no pane.
const PaneInfo* FindPaneInfo(int nID);

// Things a pane window may need of the frame that holds it.
struct PaneContext {
    CWnd* pParent;               // the main frame: parent and owner of the window
    volatile LONG* pToolRunning; // the frame's tool-running flag (Tool Window)
};

// Makes the window of pane nID as a hidden child of the context's parent;
// NULL when it cannot be made. The caller owns the object and destroys it.
CWnd* CreatePaneWindow(int nID, const PaneContext& context);
