// qx/tabbars.h - the document tabs' pieces that stand on the command bars:
// the "Active Files" list as a popup bar of the bars' look. Kept apart from
// the docking library, which does not link the command bars.
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
