// The main frame of the command-bar tests: an MDI frame with command bars
// that makes them when its window is created, from a description given to
// its constructor: the menu bar of a menu resource, then toolbars, each from
// a toolbar resource or from a list of button ids (0 begins a group), all
// docked at the top in the order given. Each bar made is stored where its
// description points, so a test frame keeps its own names for its bars.
// When a bar cannot be made, creating the window fails.
//
// A test frame derives from it, adds what it records (commands, messages)
// with a message map whose base is qmtest::CommandBarTestFrame, and lives on
// the test's stack: the frame is not deleted when its window goes. Needs
// qxcommandbars and qmtest_cbframe in the test's links.
#pragma once

#include <qx/framehost.h>

#include <initializer_list>
#include <vector>

namespace qmtest {

class CommandBarTestFrame : public CQXPMDIFrameWnd {
public:
    struct ToolBar {
        const char* pszName;
        CQXPToolBar** ppBar;   // receives the bar made (may be NULL)
        UINT nResource;        // a toolbar resource, or 0 for the button ids
        std::vector<UINT> ids; // the buttons when nResource is 0
    };

    // nMenu 0: no menu bar.
    CommandBarTestFrame(UINT nMenu, CQXPMenuBar** ppMenuBar, std::initializer_list<ToolBar> toolBars = {})
        : m_nMenu(nMenu), m_ppMenuBar(ppMenuBar), m_toolBars(toolBars)
    {
    }
    void PostNcDestroy() override {}

    // The frame handles the customize command (35001), so customizing is
    // allowed, only while this is set; each one it runs is counted.
    BOOL m_bCustomizeAllowed = FALSE;
    int m_nCustomizeCommands = 0;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    // Runs once the frame's window exists, before the command bars are made:
    // a frame adds here what must come first (a rebar). FALSE fails the
    // creation.
    virtual BOOL OnCreateBeforeBars() { return TRUE; }

    afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
    DECLARE_MESSAGE_MAP()

private:
    UINT m_nMenu;
    CQXPMenuBar** m_ppMenuBar;
    std::vector<ToolBar> m_toolBars;
};

// Makes the frame's window (overlapped, visible, at rc), lays it out and
// makes it the active window: a fixture's set-up. The frame's manager, NULL
// when the window could not be made.
CQXPCommandBars* ShowActiveFrame(CommandBarTestFrame& frame, LPCSTR lpszTitle, const CRect& rc);
// Closes every popup of the frame's manager, destroys its window and handles
// what that left in the queue: a fixture's tear-down.
void CloseFrame(CommandBarTestFrame& frame);

} // namespace qmtest
