// fx/cmdui.h - CCmdUI, the state of one user-interface item for a command
// (a menu item, a toolbar button, a dialog control) that update handlers
// (ON_UPDATE_COMMAND_UI) enable, check or rename.
//
// The base class acts on a menu item (m_pMenu, by position m_nIndex) or on
// a control window (m_pOther); bars derive their own kinds.
#pragma once

#include "fx/cmdtarget.h"

class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI();
    virtual ~CCmdUI() = default;

    UINT m_nID;        // command id
    UINT m_nIndex;     // position of the item in its menu or bar
    CMenu* m_pMenu;    // the menu holding the item (NULL: not a menu item)
    CMenu* m_pSubMenu; // the popup opened by the item, when it is one
    CMenu* m_pParentMenu;
    CWnd* m_pOther;          // the control or bar (NULL for menu items)
    UINT m_nIndexMax;        // number of items of the menu or bar being updated
    BOOL m_bEnableChanged;   // Enable was called
    BOOL m_bContinueRouting; // the handler asked to pass the update on

    virtual void Enable(BOOL bOn = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate (controls).
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR lpszText);

    // Called by an update handler that does not decide the state itself:
    // the update goes on to the next command target.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's update handlers; without one, and with
    // bDisableIfNoHndler, the item is enabled exactly when pTarget has a
    // command handler for it. TRUE when an update handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    // Updates every item of a popup menu through pTarget: items with ids,
    // and popups through their first item's id; separators are skipped.
    // Items without a handler are disabled when bAutoMenuEnable and their id
    // is below the system commands (0xF000).
    static void PASCAL UpdatePopupMenu(CMenu* pPopupMenu, CCmdTarget* pTarget, BOOL bAutoMenuEnable = TRUE);
};

// A CCmdUI that only records what the handlers asked for.
class CTestCmdUI : public CCmdUI {
public:
    CTestCmdUI();
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    void SetRadio(BOOL bOn = TRUE) override;
    void SetText(LPCSTR lpszText) override;

    BOOL m_bEnabled;
    int m_nCheck;
    BOOL m_bTextSet;
};
