// qx/menubar.h - the frame's menu bar: a stretched toolbar with BarID 1
// whose controls are the titles of a menu resource.
#pragma once

#include <qx/popup.h>
#include <qx/toolbar.h>

#include <map>

// The controls a maximised MDI child lends the menu bar.
#define QXP_ID_MDI_SYSMENU 9154
#define QXP_ID_MDI_MINIMIZE 9153
#define QXP_ID_MDI_RESTORE 9152
#define QXP_ID_MDI_CLOSE 9151
// The first id given to a menu known only by its handle; menu resource ids
// stay below it.
#define QXP_ID_FIRST_HANDLE_MENU 0x10000u
// Timer of the menu bar: the MDI state is refreshed (posted, no period).
#define QXP_TID_MDIREFRESH 12223
// Asked of an MDI child: the icon (HICON) the menu bar shows for it.
#define WM_QXP_GETMDICHILDICON 0x2860

// Menu bar flags (the bar's Flags).
enum QXPMenuBarFlags {
    qxpFlagKeepOneMenu = 0x0400,    // WM_MDISETMENU does not switch menus
    qxpFlagHideMDIClose = 0x1000,   // no close button for a maximised child
    qxpFlagShowMDISysMenu = 0x2000, // the maximised child's system-menu icon
};

// A caption button of the maximised MDI child: draws its Parameter as a
// Marlett glyph over the paint manager's button background and posts its
// system command to the active child.
class CQXPControlMDIButton : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlMDIButton)
public:
    CQXPControlMDIButton();
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnExecute() override;
    void SetBeginGroup(BOOL bBeginGroup) override { (void)bBeginGroup; }
    // SC_MINIMIZE, SC_RESTORE or SC_CLOSE from the id.
    UINT GetSysCommand() const;
};

// The maximised child's system menu: its small icon, opening the child's
// system menu as a popup bar.
class CQXPControlMDISysMenuPopup : public CQXPControlPopup {
    DECLARE_DYNCREATE(CQXPControlMDISysMenuPopup)
public:
    CQXPControlMDISysMenuPopup();
    ~CQXPControlMDISysMenuPopup() override;
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    // Rebuilds the popup from the child's system menu and takes its icon.
    void SetMDIChild(HWND hWndChild, HMENU hSysMenu);
    // The menu opens clear of the icon: one pixel around it stays uncovered.
    void AdjustExcludeRect(CRect& rcExclude, BOOL bVertical) override
    {
        (void)bVertical;
        rcExclude.InflateRect(1, 1);
    }

    HWND m_hWndChild;
    HMENU m_hSysMenu;
    HICON m_hIcon;
};

// The popup of the maximised child's system menu: its items keep the
// shortcut texts the system menu gives them ("Ctrl+F4"), whatever the
// keyboard shortcuts of the frame say.
class CQXPMDISysMenuPopupBar : public CQXPPopupBar {
    DECLARE_DYNCREATE(CQXPMDISysMenuPopupBar)
public:
    void UpdateShortcuts() override {}
};

// One document menu the menu bar keeps: its controls (shared with the bar
// while it is shown), the menu resource id, the names its document template
// gives (document name and file-type name), the icon of that resource id and
// whether the user changed it.
class CQXPMenuBarMDIMenuInfo : public CCmdTarget {
public:
    // Takes the names and the icon from the application's document
    // template of that menu resource (none: empty names, no icon). The
    // record holds one reference of the controls it is given.
    CQXPMenuBarMDIMenuInfo(UINT nIDResource, CQXPControls* pControls);
    ~CQXPMenuBarMDIMenuInfo() override;
    CQXPMenuBarMDIMenuInfo(const CQXPMenuBarMDIMenuInfo&) = delete;
    CQXPMenuBarMDIMenuInfo& operator=(const CQXPMenuBarMDIMenuInfo&) = delete;

    CQXPControls* GetControls() const { return m_pControls; }
    // Replaces the controls (the new ones get a reference, the old lose one).
    void SetControls(CQXPControls* pControls);
    // The changed flag from the controls: they differ from their original
    // controls.
    BOOL UpdateChanged();

    UINT m_nIDResource;
    CString m_strTitle;       // the template's document name
    CString m_strDescription; // the template's file-type name
    HICON m_hIcon;            // destroyed with the record
    BOOL m_bChanged;

private:
    CQXPControls* m_pControls;
};

class CQXPMenuBar : public CQXPToolBar {
    DECLARE_DYNCREATE(CQXPMenuBar)
public:
    CQXPMenuBar();
    ~CQXPMenuBar() override;

    // Loads the menu resource into the bar (FALSE when it is missing, the
    // frame's menu then stays), gives the image manager the pictures of the
    // caption commands (bitmap QX_IDB_MDI_BUTTONS under SC_RESTORE,
    // SC_MINIMIZE, SC_MAXIMIZE and SC_CLOSE) and takes the frame's menu away. Id 0 keeps
    // the bar's controls and only takes over the frame.
    BOOL LoadMenuBar(UINT nIDResource);
    // Puts the program's controls of the menu shown back (after asking,
    // with bAsk): its original controls, else the menu resource read again.
    // The maximised child's buttons come back afterwards.
    void Reset(BOOL bAsk) override;
    // Customizable, and the menu shown or another document menu differs
    // from the program's.
    BOOL CanReset() const override;
    // Shows the menu of the active document again (the frame's own menu
    // without one), e.g. after the layout was saved or loaded.
    void RestoreActiveMenu();
    UINT GetCurrentMenuResource() const { return m_nIDResource; }

    // Alt or F10 alone (WM_SYSCOMMAND SC_KEYMENU without a character)
    // selects the first title and, with keyboard tips on, shows the tips
    // (level 1); Alt and a letter opens the title of that mnemonic. TRUE
    // when the bar took the key.
    virtual BOOL OnKeyMenu(UINT nChar);
    // Watches the site frame for the menu keys and, for an MDI frame, the
    // MDI client and the active child for menu switches and maximising.
    void InstallFrameHooks();

    // The active MDI child of the site (NULL: none or no MDI frame).
    HWND GetActiveMDIChild(BOOL* pbMaximized) const;
    // Adds or removes the system-menu icon and the caption buttons of the
    // maximised child; TRUE when the controls changed.
    virtual BOOL RefreshMdiButtons();
    // Shows the controls of another menu (nMenuId: its resource id). Each
    // document menu keeps its own (customisable) controls.
    void SwitchMenu(UINT nMenuId, HMENU hMenu);
    // A menu handed to the MDI client: the active document's menu or the
    // frame's own.
    void SwitchMDIMenu(HMENU hMenu);
    // The id a menu without a document template is known by for this run:
    // one of its own per handle, from QXP_ID_FIRST_HANDLE_MENU up (never
    // stored with the layout).
    UINT GetHandleMenuId(HMENU hMenu);
    UINT GetCurrentMenuId() const { return m_nCurrentMenuId; }
    // The frame's own menu, taken away when the bar loaded.
    HMENU GetFrameMenu() const { return m_hMenuFrame; }
    void DoPropExchange(CQXPPropExchange* pPX) override;
    // Takes the other bar's menus: its resource ids and a record of its own
    // for each document menu, sharing that menu's controls (the menu shown
    // takes this bar's copy of the controls). The frame, its menu and the
    // hooks stay with the other bar.
    void Copy(CQXPCommandBar* pOther, BOOL bRecursive = FALSE) override;
    void AddToCommandBarList(UINT& nCounter, CommandBarList* pList, const CommandBarsExchangeParam* pParam) override;
    void RestorePopups(CommandBarList* pList) override;
    // Messages of the hooked frame, MDI client and child.
    virtual int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult);

    UINT m_nIDResource;
    // The document menus by menu resource id (the one shown included while
    // another is shown); one reference each.
    std::map<UINT, CQXPMenuBarMDIMenuInfo*> m_mapDocMenus;
    // The record of a document menu, NULL when the bar keeps none for it.
    CQXPMenuBarMDIMenuInfo* FindMDIMenu(UINT nIDResource) const;
    // Keeps controls as the document menu of an id: a new record, or the
    // existing one takes them.
    CQXPMenuBarMDIMenuInfo* SetMDIMenu(UINT nIDResource, CQXPControls* pControls);

protected:
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()
    void HookActiveChild();
    void UnhookAll();
    // Drops every document-menu record this bar holds.
    void ReleaseMDIMenus();
    // Replaces the controls by a menu resource; FALSE when it is missing.
    BOOL LoadMenuResource(UINT nIDResource);

    CWindowHook* m_pFrameHook;
    HWND m_hWndHookedFrame;
    HWND m_hWndMDIClient;
    HWND m_hWndHookedChild;
    HMENU m_hMenuFrame;
    HMENU m_hMenuShown;
    UINT m_nCurrentMenuId;
    std::map<HMENU, UINT> m_mapHandleMenuIds; // ids of menus without a template
    UINT m_nNextHandleMenuId = QXP_ID_FIRST_HANDLE_MENU;
};
