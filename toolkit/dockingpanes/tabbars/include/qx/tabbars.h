// qx/tabbars.h - the document tabs' pieces that stand on the command bars:
// the "Active Files" list and the tab-group menu as popup bars of the bars'
// look, and the document tabs as a control on a bar. Kept apart from the
// docking library, which does not link the command bars.
#pragma once

#include <qx/control.h>
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

// The document tabs as a control on a command bar: a windowless strip that
// the tab client fills instead of a strip window of its own (link it with
// SetTabClient). The strip lies at the bar's side of the documents: under a
// top bar on top, a bottom bar's at the bottom, a left or right bar's
// turned to that side. 220 pixels long, as high as the tab row.
class CQXPControlTabWorkspace : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlTabWorkspace)
public:
    CQXPControlTabWorkspace();
    ~CQXPControlTabWorkspace() override;

    // Hosts the client's tabs (NULL: none); the client keeps to this strip
    // from now on (CQXPTabClientWnd::SetHostedWorkspace).
    void SetTabClient(CQXPTabClientWnd* pClient);
    CQXPTabClientWnd* GetTabClient() const { return m_pClient; }
    CQXPTabWorkspace* GetWorkspace() const { return m_pWorkspace; }
    // The tab position for a bar position: bottom 2, left 1, right 3, else 0.
    static int AFXAPI TabPositionForBar(int nBarPosition);

    CSize GetSize(CDC* pDC) override;
    void SetRect(const CRect& rc) override;
    void Draw(CDC* pDC) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnMouseMove(CPoint pt) override;
    CString GetTooltipAt(CPoint pt, CRect* prcTip, INT_PTR* pnTool) override;
    void OnRemoved() override;

    int m_nWidth;  // the strip's length along the bar
    BOOL m_bDirty; // the tabs changed since the strip was last laid out

private:
    class Strip;
    friend class Strip;
    HWND GetBarWindow() const;
    // The shared paint manager takes the parent bar's side.
    void FollowBarPosition();

    CQXPTabClientWnd* m_pClient = NULL; // not owned
    CQXPTabWorkspace* m_pWorkspace;     // owned
};
