// qx/tabbars.h - the document tabs' pieces that stand on the command bars:
// the "Active Files" list and the tab-group menu as popup bars of the bars'
// look. Kept apart from the docking library, which does not link the
// command bars.
#pragma once

#include <qx/mditabs.h>

class CQXPCommandBars;
class CQXPPopupBar;

// Shows the "Active Files" list as a popup bar of the command bars: one
// button per tab with the tab's caption and its document's icon. Install
// it on the tab client with SetActiveFilesPopup.
class CQXPCommandBarsActiveFiles : public CQXPActiveFilesPopup {
public:
    // pCommandBars: the bars whose popup class, look and image manager the
    // list takes (NULL: the toolkit's defaults); not owned.
    explicit CQXPCommandBarsActiveFiles(CQXPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {}

    // The popup of the items (one reference for the caller): button i has
    // id i + 1 and the caption with every '&' doubled; each distinct icon
    // is registered once in the popup's image manager under an id of its
    // own, counting up from kFirstIconId.
    CQXPPopupBar* BuildPopup(const std::vector<Item>& items);
    int Track(CWnd* pOwner, const std::vector<Item>& items, POINT pt, const RECT& rcExclude) override;

    static const int kFirstIconId = 0x7F00;

private:
    CQXPCommandBars* m_pCommandBars;
    int m_nNextIconId = kFirstIconId;
    std::vector<std::pair<HICON, int>> m_icons; // icons registered so far, with their ids
};

// Shows the menu of a tab dropped among the documents as a popup bar of the
// command bars: the workspace-actions list (the group commands the tab
// client enables) and "C&ancel" after it. Install it on the tab client with
// SetGroupPopup.
class CQXPCommandBarsTabGroups : public CQXPTabGroupPopup {
public:
    // pCommandBars: the bars whose popup class and look the menu takes
    // (NULL: the toolkit's defaults); not owned.
    explicit CQXPCommandBarsTabGroups(CQXPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {}

    // The popup (one reference for the caller): the list's placeholder,
    // then the Cancel button beginning a group.
    CQXPPopupBar* BuildPopup();
    UINT Track(CWnd* pOwner, POINT pt) override;

private:
    CQXPCommandBars* m_pCommandBars;
};
