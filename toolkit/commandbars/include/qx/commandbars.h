// qx/commandbars.h - the manager of one frame's command bars: it owns the
// bars, the four dock bars and the actions, routes commands of floating bars
// and closes open popups.
#pragma once

#include <qx/dockbar.h>
#include <qx/menubar.h>
#include <qx/toolbar.h>
#include <qx/shortcuts.h>

#include <vector>

class CQXPKeyboardTips;
class CQXPPopupBar;
class CQXPReBar;

class CQXPCommandBars : public CCmdTarget {
    DECLARE_DYNCREATE(CQXPCommandBars)
public:
    CQXPCommandBars();
    ~CQXPCommandBars() override;

    // Created through the runtime class, bound to the frame; NULL on failure.
    static CQXPCommandBars* AFXAPI CreateCommandBars(CWnd* pFrame, CRuntimeClass* pClass = NULL);
    // Binds the manager to its frame and creates the four dock bars.
    BOOL SetSite(CWnd* pFrame);
    CWnd* GetSite() const { return m_pFrame; }

    // A new docked toolbar (NULL on failure).
    CQXPToolBar* Add(LPCSTR lpszName, int nBarPosition, CRuntimeClass* pToolbarClass = NULL);
    // The menu bar from a menu resource; it replaces an existing one.
    CQXPMenuBar* SetMenu(LPCSTR lpszName, UINT nID);
    CQXPMenuBar* GetMenuBar() const { return m_pMenuBar; }
    int GetCount() const { return (int)m_arrBars.size(); }
    CQXPToolBar* GetAt(int nIndex) const;
    CQXPToolBar* GetToolBar(UINT nBarID) const;
    // Removes and destroys a bar.
    void Remove(CQXPToolBar* pToolBar);
    CQXPDockBar* GetDockBar(int nPosition) const;

    // Finds a control on any bar (recursively into popups).
    CQXPControl* FindControl(int controlType, int nId, BOOL bVisible, BOOL bRecursive) const;

    CQXPControlActions* GetActions() { return &m_actions; }
    CQXPControlAction* FindAction(int nId) const { return m_actions.FindAction(nId); }

    // A message of the site frame, before the frame's own handling; TRUE
    // when it was taken. Colour and setting changes refresh the bars.
    virtual BOOL OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Refreshes every bar's controls (floating bars included).
    void UpdateCommandBars();
    // Lays the frame out again (the dock bars take their bands).
    void RecalcFrameLayout(BOOL bDelay = FALSE);
    // Ends the tracking of every bar and closes open popups.
    void ClosePopups();
    // Shows a popup menu at a screen point until it closes. With
    // TPM_RETURNCMD the chosen command id is returned and not sent; without
    // it the command goes to pWnd (the site when NULL) and the result is
    // TRUE when an item was chosen.
    int TrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd = NULL);
    // The toolbars context menu (a right click on a bar or a dock bar): a
    // popup holding the toolbars list, offered to the site first
    // (WM_QXP_TOOLBARCONTEXTMENU, wParam points at the screen point), shown
    // at the point until it closes. Nothing while customizing.
    virtual void ContextMenu(CPoint ptScreen);
    // A new popup bar holding the toolbars list (one reference for the
    // caller).
    virtual CQXPPopupBar* CreateToolbarsPopup();
    // Notes a command as used (rarely-used menus); a newly noted command
    // marks the options changed.
    void SetCommandUsed(int nId);
    BOOL IsCommandUsed(int nId) const;

    // --- rarely used commands ("HiddenCommands", "UsedCommands") ----------
    // Commands that personalized menus hide until the user has used them.
    void SetCommandHidden(int nId, BOOL bHidden = TRUE);
    void HideCommands(const UINT* pIds, int nCount);
    BOOL IsCommandInHiddenList(int nId) const;
    // A command is hidden while it is in the hidden list and not used.
    virtual BOOL IsCommandHidden(int nId) const;
    // The control's command is hidden, or (with AutoHideUnusedPopups) it
    // opens a non-empty submenu whose controls are all hidden.
    virtual BOOL IsControlHidden(CQXPControl* pControl) const;
    // Forgets which hidden commands were used: they hide again.
    void ResetUsageData();
    std::vector<int> m_hiddenCommands;
    BOOL m_bAutoHideUnusedPopups = TRUE;
    // Set by every change of the usage data (the options need saving).
    BOOL m_bOptionsChanged = FALSE;

    BOOL IsCustomizeMode() const { return m_bCustomizeMode; }

    // Keyboard tips (off unless enabled): with them on, Alt over the menu
    // bar shows the key of each title in a small window of its own; a menu
    // or toolbar reached through a tip shows its own tips in turn.
    void EnableKeyboardTips(BOOL bEnable);
    BOOL IsKeyboardTipsEnabled() const { return m_bKeyboardTips; }
    // Shows the tips of a bar at a level (the ones shown before go); FALSE
    // when tips are off, the bar has no window or nothing gets a tip.
    BOOL ShowKeyboardTips(CQXPCommandBar* pBar, int nLevel = 1);
    // Takes the tip windows away; the level stays, so the newest tracking
    // bar shows its tips again after the next tracking change.
    void HideKeyboardTips();
    // Takes the tips away and leaves tip mode (level 0): the user moved on.
    void CancelKeyboardTips();
    // Above 0 while tips are shown or about to show again.
    int GetKeyboardTipsLevel() const { return m_nKeyboardTipsLevel; }
    // The bar shows its tips once the message loop turns (posted timer).
    void QueueKeyboardTips(CQXPCommandBar* pBar, int nLevel);
    // A bar entered (nMode != 0) or left tracking: shown tips hide and the
    // newest tracking bar is asked to show its own; when no bar tracks any
    // more tip mode ends.
    virtual void OnTrackingModeChanged(CQXPCommandBar* pBar, int nMode);
    // The posted re-show timer arrived at a bar: it gets its tips when it
    // is still the newest tracking bar, was entered from the keyboard and
    // shows none.
    void OnShowKeyboardTipsTimer(CQXPCommandBar* pBar);
    // Moves keyboard tracking to a toolbar (nDirection 0), or to the next
    // (+1) or previous (-1) shown toolbar after it with wrap-around: popups
    // close, the tip level becomes 1 and the bar tracks from the keyboard
    // with its first control selected.
    void SetTrackingToolbar(CQXPCommandBar* pBar, int nDirection);
    // The tips on screen (NULL until tips were first shown).
    CQXPKeyboardTips* GetKeyboardTips() const { return m_pKeyboardTips; }
    BOOL m_bKeyboardTips = FALSE;
    CQXPKeyboardTips* m_pKeyboardTips = NULL;
    int m_nKeyboardTipsLevel = 0;

    // The rebar the site keeps as its child AFX_IDW_REBAR, if any: new bars
    // become its bands instead of docking.
    CQXPReBar* GetReBar() const;
    // The rebar's height changed (RBN_HEIGHTCHANGE): the frame is laid out.
    void OnReBarHeightChange();

    // The keyboard shortcuts of the frame (owned by the manager).
    CQXPKeyboardShortcuts* GetKeyboardShortcuts() const { return m_pShortcutManager; }
    // Key messages the frame did not translate: the shortcut table decides.
    BOOL PreTranslateFrameMessage(MSG* pMsg);
    // Print preview switches the shortcuts off while it lasts, and the menu
    // bar, the toolbars and their dock bars step aside; leaving it brings
    // back exactly the bars and dock bars that were shown before.
    void OnSetPreviewMode(BOOL bPreview);
    BOOL IsPreviewMode() const { return m_bPreviewMode; }
    BOOL m_bPreviewMode = FALSE;
    BOOL m_bDockBarShownBeforePreview[4] = {FALSE, FALSE, FALSE, FALSE};
    // Floating toolbars hide while their frame is inactive and come back
    // when it is activated again.
    BOOL m_bSyncFloatingBars = TRUE;
    // A double click beside the buttons of a docked toolbar floats it (a
    // floating one always docks back where it was).
    BOOL m_bDblClickFloat = FALSE;
    // Options every bar falls back to.
    CSize m_szLargeIcons = CSize(0, 0);
    BOOL m_bShowTextBelowIcons = FALSE;
    // Toolbars (not menus) show their icons at the large size.
    BOOL m_bLargeIcons = FALSE;
    // Docked toolbars always keep room for their expand button.
    BOOL m_bShowExpandButtonAlways = TRUE;
    BOOL m_bAlwaysShowFullMenus = TRUE;
    BOOL m_bShowFullAfterDelay = TRUE;
    BOOL m_bToolBarScreenTips = TRUE;
    BOOL m_bToolBarAccelTips = FALSE;
    int m_nAnimation = 0;
    void SetLargeIcons(BOOL bLarge);
    BOOL IsLargeIcons() const { return m_bLargeIcons; }
    // The options' exchange: the profile part, and with bFull also what
    // only the options' own archive keeps ("HiddenCommands", icon sizes...).
    void DoOptionsExchange(CQXPPropExchange* pPX, BOOL bFull);
    // Stores or loads every option through an archive (the full exchange).
    void SerializeOptions(CArchive& ar);
    // The options in the profile section "<name>-Options".
    void SaveOptions(LPCSTR lpszProfileName);
    void LoadOptions(LPCSTR lpszProfileName);
    // Every bar measures itself again (a theme or option change) and the
    // frame is laid out and repainted.
    void RedrawCommandBars();

    // --- layout persistence (layout.cpp of the persistence code) -----------
    // Placement of every toolbar and dock-bar row in "<name>-Summary",
    // "<name>-Bar%d" and "<name>-DockBar%d"; the bars' contents (controls,
    // as customised) in "<name>-Controls", compressed.
    void SaveBarState(LPCSTR lpszProfileName, BOOL bOnlyCustomized = TRUE);
    void LoadBarState(LPCSTR lpszProfileName, BOOL bSilent = FALSE);
    // The content file used for a large layout block ("" = next to the
    // user's application data).
    void SetLayoutFilePath(LPCSTR lpszPath) { m_strLayoutFile = lpszPath ? lpszPath : ""; }
    CString GetLayoutFilePath(LPCSTR lpszProfileName) const;
    CString m_strLayoutFile;
    // Set when the user changed the layout since it was saved or loaded.
    BOOL m_bLayoutChanged = FALSE;
    void SetCustomizeMode(BOOL bMode) { m_bCustomizeMode = bMode; }

    CWnd* m_pFrame;
    CQXPDockBar* m_pDocks[4];
    std::vector<CQXPToolBar*> m_arrBars;  // one reference each
    CQXPMenuBar* m_pMenuBar;
    CQXPControlActions m_actions;
    std::vector<int> m_usedCommands;
    BOOL m_bCustomizeMode;
    CQXPKeyboardShortcuts* m_pShortcutManager;
};
