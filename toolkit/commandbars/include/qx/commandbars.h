// qx/commandbars.h - the manager of one frame's command bars: it owns the
// bars, the four dock bars and the actions, routes commands of floating bars
// and closes open popups.
#pragma once

#include <qx/dockbar.h>
#include <qx/menubar.h>
#include <qx/mousemanager.h>
#include <qx/toolbar.h>
#include <qx/commandbarssettings.h>
#include <qx/shortcuts.h>

#include <vector>

class CQXPKeyboardTips;
class CQXPPopupBar;
class CQXPToolTipContext;
class CQXPReBar;
class CQXPCustomizeDropSource;

class CQXPCommandBars : public CCmdTarget {
    DECLARE_DYNCREATE(CQXPCommandBars)
public:
    CQXPCommandBars();
    ~CQXPCommandBars() override;

    // Created through the runtime class, bound to the frame; NULL on failure.
    // A dock bar that cannot be made throws CResourceException* (the
    // manager is released first).
    static CQXPCommandBars* AFXAPI CreateCommandBars(CWnd* pFrame, CRuntimeClass* pClass = NULL);
    // Binds the manager to its frame and creates the four dock bars.
    BOOL SetSite(CWnd* pFrame);
    // Creates the dock bars of the site that are missing (top, bottom, left,
    // right); FALSE without a site. A dock bar whose window cannot be made
    // throws the framework's CResourceException* (the dock bars made before
    // it stay).
    BOOL EnableDocking();
    CWnd* GetSite() const { return m_pFrame; }
    // The site is laid out right to left (WS_EX_LAYOUTRTL); without a site
    // window, what the site was when it was set.
    BOOL IsLayoutRTL() const;
    BOOL m_bRightToLeft = FALSE;

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
    // A bar joined the manager (docked) or is leaving it: a rebar site
    // takes or drops its band.
    virtual void OnBarAdded(CQXPToolBar* pBar);
    virtual void OnBarRemoved(CQXPToolBar* pBar);
    CQXPDockBar* GetDockBar(int nPosition) const;
    // Removes and destroys every bar; the frame is laid out once afterwards.
    void RemoveAll();
    // The first bar with that BarID (0 finds nothing).
    CQXPToolBar* FindCommandBar(UINT nBarID) const;
    // The bar's index, -1 when it is not one of ours.
    int IndexOf(CQXPToolBar* pBar) const;
    // Docks a bar on a side (0 top, 1 bottom, 2 left, 3 right), into the
    // row under the rectangle (screen coordinates) when one is given; the
    // bar's position becomes the side. FALSE without that dock bar.
    BOOL DockCommandBar(CQXPToolBar* pBar, int nPosition, LPCRECT lpRect = NULL);
    BOOL DockCommandBar(CQXPToolBar* pBar, LPCRECT lpRect, CQXPDockBar* pDockBar);
    // Takes a bar out of its dock bar into a floating window where it is.
    BOOL FloatCommandBar(CQXPToolBar* pBar);
    // The dock bar under a screen point while a toolbar is dragged: one
    // whose window, widened by 20 pixels on every side, holds the point
    // strictly inside; the preferred one is tried first, then top, bottom,
    // left, right. NULL when none matches.
    CQXPDockBar* HitTestDockBar(CPoint ptScreen, CQXPDockBar* pPreferred = NULL) const;
    // A user-made toolbar: offered to the site first
    // (WM_COMMANDBARS_CREATECOMMANDBAR with bPopup FALSE, nReserved[0] 1 and
    // nReserved[1] the floating flag; the site may return a toolbar of its
    // own class), then created floating or docked at the top with that id.
    // NULL on failure.
    virtual CQXPToolBar* AddCustomBar(LPCSTR lpszName, UINT nID, BOOL bFloating = FALSE);
    // The menu resource id shown for the active document: the id its
    // document template loads its shared menu from, else the menu bar's.
    virtual UINT GetActiveMenuId() const;

    // --- the expand (overflow) popup of a toolbar -----------------------------
    // Copies into the popup every control that did not fit (hide flags
    // exactly qxpHideWrap) of every shown bar of the toolbar's dock-bar row,
    // in row order, shown and without group starts. A bar in no dock bar
    // contributes nothing. Returns the number added.
    virtual int FillExpandHiddenControls(CQXPToolBar* pBar, CQXPCommandBar* pPopup);
    // Fills the submenu of "Add or Remove Buttons": for each bar of the
    // toolbar's row (the toolbar alone when it is not docked) a popup titled
    // after the bar, holding the bar's check items (and "Reset Toolbar")
    // when customizing is allowed and the bar is built-in and customizable;
    // with customizing allowed the customize command follows, beginning a
    // group.
    virtual void FillExpandAddRemove(CQXPToolBar* pBar, CQXPCommandBar* pPopup);
    // The copies FillExpandHiddenControls makes, for one bar (a toolbar
    // without a manager offers its own this way).
    static int AFXAPI AddHiddenControlsOf(CQXPToolBar* pBar, CQXPCommandBar* pPopup);

    // The tooltip context all bars of the manager show their tooltips
    // through (the toolkit's own tooltip window, style 2); never NULL while
    // the manager lives.
    CQXPToolTipContext* GetToolTipContext() const { return m_pToolTipContext; }
    CQXPToolTipContext* m_pToolTipContext; // one counted reference

    // Finds a control on any bar (recursively into popups).
    CQXPControl* FindControl(int controlType, int nId, BOOL bVisible, BOOL bRecursive) const;

    // A paint manager and an image manager for every bar of this frame
    // that has none of its own (a bar's own comes first, then these, then
    // the root bar's own, then the global ones). The manager takes the
    // reference it is given and releases the one it held; NULL goes back to
    // the global ones. A change re-measures and redraws the bars.
    void SetPaintManager(CQXPThemePainter* pPaintManager);
    void SetImageManager(CQXPImageManager* pImageManager);
    // The manager's own, else the global one.
    CQXPThemePainter* GetPaintManager() const;
    CQXPImageManager* GetImageManager() const;
    CQXPThemePainter* GetOwnPaintManager() const { return m_pPaintManager; }
    CQXPImageManager* GetOwnImageManager() const { return m_pImageManager; }

    // Frame theming, off by default: with theme 5 or 6 on a top-level site
    // with a caption, the theme paints the frame's borders and caption
    // through a frame hook on the site (made by the factory the Office 2007
    // look installs). The hook goes, deleted once, when the switch, the
    // theme or the site goes; a theme change re-checks it.
    void EnableFrameTheme(BOOL bEnable = TRUE);
    BOOL IsFrameThemeEnabled() const { return m_bFrameTheme; }
    CWindowHook* GetFrameHook() const { return m_pFrameThemeHook; }
    typedef CWindowHook*(AFXAPI* PFNCREATEFRAMEHOOK)(CQXPCommandBars* pCommandBars);
    // The hook leaves its window in its destructor.
    static void AFXAPI SetFrameHookFactory(PFNCREATEFRAMEHOOK pfnCreate);
    // Makes or deletes the hook as the switch, the theme and the site say.
    void UpdateFrameTheme();
    BOOL m_bFrameTheme = FALSE;
    CWindowHook* m_pFrameThemeHook = NULL; // owned

    CQXPControlActions* GetActions() { return &m_actions; }
    CQXPControlAction* FindAction(int nId) const { return m_actions.FindAction(nId); }
    // Actions on (off by default): objects that stand for a command of
    // their own (a ribbon group's option and popup buttons) take the action
    // of its id, making it when there is none yet.
    void EnableActions(BOOL bEnable = TRUE) { m_bActionsEnabled = bEnable; }
    BOOL IsActionsEnabled() const { return m_bActionsEnabled; }
    BOOL m_bActionsEnabled = FALSE;

    // A message of the site frame, before the frame's own handling; TRUE
    // when it was taken. Colour and setting changes refresh the bars; F1
    // (ID_HELP) over a hot control asks the site for that control's help
    // (WM_COMMANDHELP, 0x10000 + help id); system commands and leaving the
    // application close the menus; floating bars get the idle update; the
    // frame does not close while the customize dialog is open.
    virtual BOOL OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Refreshes every bar's controls (floating bars included).
    void UpdateCommandBars();
    // The idle update of every bar (bFloatingOnly: of the floating ones);
    // bars removed by an earlier bar's update are skipped.
    void UpdateBars(BOOL bFloatingOnly, WPARAM wParam);
    // Colour or setting change: the paint managers of bars that have their
    // own are refreshed; with bImages the global image manager and the bars'
    // own image managers drop their generated images too.
    void RefreshBarManagers(BOOL bImages);
    // Bars whose WM_QXP_TOOLBARDELETING notification is being sent.
    std::vector<CQXPToolBar*> m_arrRemoving;
    // Lays the frame out again (the dock bars take their bands); nothing
    // while the layout is locked. Delayed, the frame does it at its next
    // idle time (or IdleRecalcLayout does it). A site that is no frame gets
    // a WM_SIZE with its client size.
    void RecalcFrameLayout(BOOL bDelay = FALSE);
    // Sends a site that is no frame WM_SIZE (SIZE_RESTORED) with its client
    // size, so that it lays its bars out again as after a resize.
    static void AFXAPI SendSiteSize(CWnd* pSite);
    // Carries out a delayed frame layout now.
    void IdleRecalcLayout();
    // Above 0 while many bars change at once: frame layouts wait.
    void LockLayout(BOOL bLock) { m_nLockLayout += bLock ? 1 : (m_nLockLayout > 0 ? -1 : 0); }
    BOOL IsLayoutLocked() const { return m_nLockLayout > 0; }
    int m_nLockLayout = 0;
    // Ends the tracking of every bar of the calling thread through its mouse
    // manager: open popups close and the bars that opened them leave
    // tracking. Needs no manager object.
    static void AFXAPI ClosePopups();
    // The mouse manager of the calling thread (made on first use).
    static ToolkitMouseManager* AFXAPI GetMouseManager() { return ToolkitMouseManager::GetInstance(); }
    // WM_MOUSEWHEEL over the ribbon while nothing tracks: its next or
    // previous tab. TRUE when the wheel was taken.
    BOOL ScrollRibbonTabs(const MSG* pMsg);
    // Shows a popup menu at a screen point until it closes. With
    // TPM_RETURNCMD the chosen command id is returned and not sent; without
    // it the command goes to pWnd (the site when NULL) and the result is
    // TRUE when an item was chosen.
    int TrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd = NULL);
    // The same for a popup bar (TPM_ flags): TPM_RETURNCMD returns the
    // chosen id instead of sending it; TPM_RIGHTBUTTON lets the right
    // button choose; TPM_RIGHTALIGN (implied by a right-to-left owner)
    // puts the popup's right edge at x; TPM_RECURSE keeps the menus that
    // are open (they are locked meanwhile); TPM_NONOTIFY is remembered by
    // the bar. The owner (the bar's site when NULL) receives the command;
    // pTarget, when given, routes it instead. Without TPM_RETURNCMD the
    // result is TRUE only when an enabled item was chosen; 0 when the popup
    // could not open.
    static int AFXAPI TrackPopupMenu(CQXPPopupBar* pPopup, UINT nFlags, int x, int y, CWnd* pOwner = NULL,
                                     LPCRECT lpExclude = NULL, CWnd* pTarget = NULL);
    // The toolbars context menu (a right click on a bar or a dock bar): a
    // popup holding the toolbars list, offered to the site first
    // (WM_QXP_TOOLBARCONTEXTMENU, wParam points at the screen point), shown
    // at the point until it closes. Nothing while customizing.
    virtual void ContextMenu(CPoint ptScreen);
    // A new popup bar holding the toolbars list (one reference for the
    // caller).
    virtual CQXPPopupBar* CreateToolbarsPopup();

    // --- context menus --------------------------------------------------------
    // The program's context menus, kept here so that the user can edit them
    // on the customize sheet's Menus page and the layout saves them with the
    // bars. Each is marked as a context menu; the manager holds one
    // reference, released on destruction. A popup already listed is not
    // added twice.
    void AddContextMenu(CQXPPopupBar* pPopup);
    // A context menu made of the items of submenu nSubMenu of a menu
    // resource: BarID the resource id, the title given, the program's items
    // kept as its original controls. NULL when the menu or the submenu
    // cannot be loaded or the id is taken by another context menu.
    CQXPPopupBar* AddContextMenu(UINT nMenuId, int nSubMenu, LPCSTR lpszTitle);
    int GetContextMenuCount() const { return (int)m_arrContextMenus.size(); }
    CQXPPopupBar* GetContextMenuAt(int nIndex) const;
    // The context menu with that BarID, NULL when there is none.
    CQXPPopupBar* FindContextMenu(UINT nBarID) const;
    // Shows the context menu of that id at a screen point as TrackPopupMenu
    // does; the menu stays this manager's. 0 when there is no such menu or it
    // could not open.
    int TrackContextMenu(UINT nBarID, UINT nFlags, int x, int y, CWnd* pOwner = NULL);
    std::vector<CQXPPopupBar*> m_arrContextMenus; // one reference each
    // A popup bar of a loaded layout that is marked as a context menu: the
    // registered menu of the same id takes its controls (keeping its own
    // original controls); an unknown one joins the context menus.
    void RestoreContextMenu(CQXPPopupBar* pLoaded, CommandBarList* pList);
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

    BOOL IsCustomizeMode() const { return m_bCustomizeMode; }
    // The customize dialog is open: the frame may not close meanwhile.
    BOOL m_bCustomizeDialogOpen = FALSE;

    // --- help ---------------------------------------------------------------
    // The help id of the control under the mouse (the bars set it); F1
    // (ID_HELP) asks the site for the help of that id.
    int GetHelpId() const { return m_nHelpId; }
    // The help id F1 asks for: the one set, else the hot control's of the
    // newest tracking bar, else of any bar; 0 when none is hot.
    int GetHotHelpId() const;
    void SetHelpId(int nHelpId) { m_nHelpId = nHelpId; }
    int m_nHelpId = 0;

    // --- keyboard cues and mnemonics ------------------------------------------
    // "KeyboardCuesShow": 0 always shown, 1 never, 2 as the system's
    // keyboard-cues setting says (hidden until Alt when it is off).
    void SetKeyboardCues(int nMode);
    int GetKeyboardCuesShow() const { return m_pOptions->m_nKeyboardCuesShow; }
    // With dynamic cues: shows or hides the underlines (always shown while
    // customizing); the bars redraw on a change.
    void ShowKeyboardCues(BOOL bShow);
    BOOL IsKeyboardCuesShown() const { return m_bKeyboardCuesShown; }
    BOOL IsDynamicKeyboardCues() const { return m_bDynamicCues; }
    // A character typed with Alt (or while a bar tracks): the control with
    // that mnemonic on the tracking bar, else the menu bar (and, with
    // KeyboardCuesUse flag 1, the other bars) is selected and, when the
    // match is unique, activated. TRUE when a control was found.
    BOOL ProcessMnemonicKey(UINT nChar);
    BOOL m_bKeyboardCuesShown = TRUE;
    BOOL m_bDynamicCues = FALSE;

    // Keyboard tips (off unless enabled): with them on, Alt over the menu
    // bar shows the key of each title in a small window of its own; a menu
    // or toolbar reached through a tip shows its own tips in turn.
    void EnableKeyboardTips(BOOL bEnable);
    BOOL IsKeyboardTipsEnabled() const { return m_pOptions->m_bKeyboardTips; }
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
    CQXPKeyboardTips* m_pKeyboardTips = NULL;
    int m_nKeyboardTipsLevel = 0;

    // The rebar the site keeps as its child AFX_IDW_REBAR, if any: new bars
    // become its bands instead of docking.
    CQXPReBar* GetReBar() const;
    // The rebar's height changed (RBN_HEIGHTCHANGE): the frame is laid out.
    void OnReBarHeightChange();

    // The keyboard shortcuts of the frame (owned by the manager).
    CQXPKeyboardShortcuts* GetKeyboardShortcuts() const { return m_pShortcutManager; }
    // Messages the frame did not translate. On the active frame while no
    // bar tracks, Alt shows the underlines and Alt+key looks for a control
    // with that mnemonic (ProcessMnemonicKey); releasing a key hides
    // dynamic underlines again; while a bar tracks, WM_CONTEXTMENU and
    // WM_SYSKEYUP go to the bars' keyboard hook instead of the frame; the
    // other keys go to the shortcut table. TRUE when the message was used.
    BOOL PreTranslateFrameMessage(MSG* pMsg);
    // Print preview switches the shortcuts off while it lasts, and the menu
    // bar, the toolbars and their dock bars step aside; leaving it brings
    // back exactly the bars and dock bars that were shown before.
    void OnSetPreviewMode(BOOL bPreview);
    BOOL IsPreviewMode() const { return m_bPreviewMode; }
    BOOL m_bPreviewMode = FALSE;
    BOOL m_bDockBarShownBeforePreview[4] = {FALSE, FALSE, FALSE, FALSE};
    // The options (owned; never NULL while the manager lives).
    CQXPCommandBarsSettings* GetOptions() const { return m_pOptions; }
    CQXPCommandBarsSettings* m_pOptions;
    // Toolbars (not menus) show their icons at the large size; a change
    // re-measures the bars.
    void SetLargeIcons(BOOL bLarge);
    BOOL IsLargeIcons() const { return m_pOptions->m_bLargeIcons; }
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
    // The steps of the contents, for a manager that keeps more or other
    // bars. The bars to save: the toolbars (only the customized ones and
    // those the user made when pParam->bOnlyCustomized) and the context
    // menus the user changed, with the popups they reach; popups without an
    // id of their own get one from 0x1000000 on.
    virtual void GenerateCommandBarList(CommandBarList* pList, CommandBarsExchangeParam* pParam);
    // Writes the list into section "CommandBars" (enumeration "CommandBar",
    // each bar with its class); FALSE when the exchange failed.
    virtual BOOL SaveCommandBarList(CQXPPropExchange* pPX, CommandBarList* pList);
    // Reads the bars of section "CommandBars" into the list; FALSE when a
    // bar's class cannot be made or the data is damaged.
    virtual BOOL LoadCommandBarList(CQXPPropExchange* pPX, CommandBarList* pList);
    // Merges loaded bars: toolbars into the program's bars of the same id
    // (an unknown user-made one joins the manager), context menus into the
    // registered ones; popups come along through the controls naming them.
    virtual void RestoreCommandBarList(CommandBarList* pList, BOOL bSilent);
    // The content file used for a large layout block ("" = next to the
    // user's application data).
    void SetLayoutFilePath(LPCSTR lpszPath) { m_strLayoutFile = lpszPath ? lpszPath : ""; }
    CString GetLayoutFilePath(LPCSTR lpszProfileName) const;
    CString m_strLayoutFile;
    // Set when the user changed the layout since it was saved or loaded.
    BOOL m_bLayoutChanged = FALSE;
    // --- customize mode (custommode.cpp) ------------------------------------------
    // Enters or leaves customize mode: the options count as changed, the
    // selection clears, every bar redraws and refreshes, the frame is laid
    // out and the keyboard cues show.
    void SetCustomizeMode(BOOL bMode);
    // Alt+drag: customize mode for one drag, without the re-layout.
    void SetQuickCustomizeMode(BOOL bMode);
    BOOL IsQuickCustomizeMode() const { return m_bQuickCustomizeMode; }
    // The site handles the customize command (35001).
    BOOL IsCustomizeAllowed() const;
    // The control selected while customizing (one counted reference): the
    // old and new one are redrawn and the customize dialog (else the site)
    // gets WM_QXP_CUSTOMIZESELCHANGED.
    void SetDragControl(CQXPControl* pControl);
    CQXPControl* GetDragControl() const { return m_pDragControl; }
    // The customize drag loop and the bars that take drops (never NULL
    // while the manager lives).
    CQXPCustomizeDropSource* GetDropSource() const { return m_pDropSource; }
    CQXPCustomizeDropSource* m_pDropSource = NULL; // owned
    CQXPControl* m_pDragControl = NULL;            // one reference
    BOOL m_bQuickCustomizeMode = FALSE;
    // An Alt+drag ended: the release of its Alt opens no menu (the next
    // press of Alt clears it).
    BOOL m_bSkipAltRelease = FALSE;

    CWnd* m_pFrame;
    CQXPDockBar* m_pDocks[4];
    std::vector<CQXPToolBar*> m_arrBars; // one reference each
    CQXPMenuBar* m_pMenuBar;
    CQXPControlActions m_actions;
    BOOL m_bCustomizeMode;
    CQXPKeyboardShortcuts* m_pShortcutManager;
    CQXPThemePainter* m_pPaintManager = NULL; // one reference
    CQXPImageManager* m_pImageManager = NULL; // one reference
};
