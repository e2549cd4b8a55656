// toolscontrol.h - the menu placeholder that lists the external tools: at
// every layout of its bar it puts one entry per tool right after itself
// (command 1229, the tool's menu text, the tool's index as parameter) and
// hides itself; while the bars are customised it shows itself instead.
#pragma once

#include <qx/control.h>

class CToolList;

enum {
    ID_TOOLS_LIST_PLACEHOLDER = 1227,
    ID_TOOLS_LIST_ENTRY = 1229
};

class CControlTools : public CQXPControlButton {
    DECLARE_DYNCREATE(CControlTools)
public:
    CControlTools();
    void OnCalcDynamicSize(DWORD dwMode) override;

    // The list the entries come from (the main frame's when NULL).
    static void SetToolListSource(CToolList* (*pfnSource)());

private:
    void RemoveOldItems();
};
