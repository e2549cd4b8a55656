// viewascontrol.h - the View As list in the View menu: at every layout of
// its popup bar it puts one entry per syntax configuration right after
// itself (ids 25102 + i, the configuration's menu text, the active text
// frame's current one checked) and hides itself; while the bars are
// customised, outside a popup bar, or with no text document active it adds
// nothing and shows itself.
#pragma once

#include <qx/control.h>

class CLexerConfigList;

enum {
    ID_VIEW_AS_PARSER = 25102,
    VIEW_AS_MAX_ENTRIES = 21
};

class CControlViewAsParser : public CQXPControlButton {
    DECLARE_DYNCREATE(CControlViewAsParser)
public:
    CControlViewAsParser();
    void OnCalcDynamicSize(DWORD dwMode) override;

private:
    void RemoveOldItems();
};
