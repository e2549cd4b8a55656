// qx/customizesheet.h - the "Customize" sheet over a frame's command bars,
// its pages (Toolbars, Commands, Keyboard, Menus, Options) and the name
// dialog of a new or renamed toolbar.
//
// CQXPCustomizeSheet::DoModal runs the sheet while the command bars are in
// customize mode. The window itself is modeless, so the bars of the frame
// stay reachable: thread hooks let mouse input reach the sheet and the
// frame's command bars, and swallow it on the frame's other windows (the
// documents). Only one sheet runs in a process at a time; a second DoModal
// returns IDCANCEL at once.
//
// The choice of a new toolbar's name and id is a plain function over the
// bars' titles and ids (CQXPNewToolbarDlg::CheckName), tested without
// windows.
//
// UI thread only.
#pragma once

#include <fx/checklistbox.h>
#include <fx/propsheet.h>
#include <qx/shortcuts.h>

#include <map>
#include <vector>

class CQXPCommandBars;
class CQXPCommandBar;
class CQXPControl;
class CQXPControls;
class CQXPToolBar;
class CQXPPopupBar;
class CQXPCustomizeSheet;
class CQXPCustomizeContextMenu;

// The site window receives WM_QXP_TOOLBARCREATED when the Toolbars page
// made a bar, and (from the manager) WM_QXP_TOOLBARDELETING before one goes;
// lParam: the bar.
// Posted to the sheet to take the focus back from the frame.
#define WM_QXP_CUSTOMIZE_TAKEFOCUS 0x8130

// The first id of a toolbar the user makes, and the last one.
#define QXP_FIRST_CUSTOM_BAR_ID 0xE800
#define QXP_LAST_CUSTOM_BAR_ID 0xE8FE

// ---------------------------------------------------------------------------
// A named group of controls listed on the Commands and Keyboard pages.
struct CQXPCustomizeCategory {
    CString strName;
    CQXPControls* pControls; // owned (one reference)
};

// The categories of a page: owned, released with the list.
class CQXPCustomizeCategories {
public:
    explicit CQXPCustomizeCategories(CQXPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {}
    ~CQXPCustomizeCategories();
    CQXPCustomizeCategories(const CQXPCustomizeCategories&) = delete;
    CQXPCustomizeCategories& operator=(const CQXPCustomizeCategories&) = delete;

    int GetCount() const { return (int)m_items.size(); }
    CQXPCustomizeCategory& GetAt(int nIndex) { return m_items[nIndex]; }
    // The category of that name, else a new one at nIndex (-1: the end).
    CQXPCustomizeCategory* Add(const CString& strName, int nIndex = -1);
    int Find(const CString& strName) const;
    // One category per top-level popup of the menu: its text without "&"
    // and cut at the first tab names it (an existing category of the name
    // is reused); each item with a command id becomes a control; with
    // bExpandPopups a nested popup's items follow it, captioned "popup |
    // item". FALSE when the menu cannot be loaded.
    BOOL AddMenu(UINT nMenuId, BOOL bExpandPopups);
    // A category holding one control per item of the menu.
    BOOL InsertMenu(UINT nMenuId, const CString& strName, int nIndex);
    // A category holding a copy of every control of the categories so far.
    void InsertAllCommands(const CString& strName, int nIndex);
    // A category holding one popup control captioned with the name.
    void InsertNewMenu(const CString& strName, int nIndex);

protected:
    CQXPControls* NewControls();
    std::vector<CQXPCustomizeCategory> m_items;
    CQXPCommandBars* m_pCommandBars;
};

// ---------------------------------------------------------------------------
// The name dialog (template 9120): a new toolbar's name and id, or a bar's
// new name.
class CQXPNewToolbarDlg : public CDialog {
public:
    // pBar: the bar to rename, NULL for a new toolbar.
    CQXPNewToolbarDlg(CWnd* pParent, CQXPCommandBars* pCommandBars, CQXPCommandBar* pBar = NULL);

    // One bar as the name check sees it.
    struct BarInfo {
        CString strTitle;
        UINT nBarID;
        const void* pBar; // identity, to leave out the bar being renamed
    };
    // "Custom %d" (the format) with the smallest number from 1 up that no
    // bar has as its title.
    static CString AFXAPI DefaultName(const std::vector<BarInfo>& bars, const CString& strFormat);
    // Judges a name: 0 when it may be taken (with *pnBarID the id for a new
    // toolbar: the first free one from 0xE800), else the string id of the
    // message - blank 9164, no free id 9165 (the dialog is cancelled),
    // another bar of that title 9166.
    static UINT AFXAPI CheckName(const CString& strName, const std::vector<BarInfo>& bars, const void* pRenamed,
                                 UINT* pnBarID);
    // The manager's bars as the check sees them.
    static std::vector<BarInfo> AFXAPI DescribeBars(CQXPCommandBars* pCommandBars);

    CString m_strName; // the name (control 100)
    UINT m_nBarID;     // chosen id of a new toolbar (0 until OK)

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    CQXPCommandBars* m_pCommandBars;
    CQXPCommandBar* m_pBar;
};

// ---------------------------------------------------------------------------
// The pages' titles: the button theme's group-box text and edge colours
// when there is a visual style.
class CQXPTitleStatic : public CTitleStatic {
public:
    BOOL GetThemeColors(COLORREF* pclrText, COLORREF* pclrEdge) override;
};

// ---------------------------------------------------------------------------
// The Toolbars page's list: check boxes in the visual style when there is
// one.
class CQXPToolbarsCheckList : public CCheckListBox {
public:
    CSize GetCheckBoxSize() override;
    void DrawCheckBox(CDC* pDC, CRect rcBox, int nCheck, BOOL bEnabled) override;
};

class CQXPCustomizeToolbarsPage : public CPropertyPage {
public:
    explicit CQXPCustomizeToolbarsPage(CQXPCustomizeSheet* pSheet);
    BOOL OnInitDialog() override;
    // Lists the bars again, keeping the selection and the top item.
    void RefreshList();
    // The bar of the selected item (NULL when none).
    CQXPToolBar* GetSelectedBar() const;

    void OnNew();
    void OnRename();
    void OnDelete();
    void OnResetBar();

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSelChange();
    void OnCheckChange();
    CQXPCustomizeSheet* m_pSheet;
    CQXPToolbarsCheckList m_list;
};

// ---------------------------------------------------------------------------
// The Commands page: categories on the left, their commands on the right;
// a command is dragged out of the list onto a bar.
class CQXPCommandsList : public CListBox {
public:
    CQXPCustomizeSheet* m_pSheet = NULL;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};

class CQXPCustomizeCommandsPage : public CPropertyPage {
public:
    explicit CQXPCustomizeCommandsPage(CQXPCustomizeSheet* pSheet);
    BOOL OnInitDialog() override;
    CQXPCustomizeCategories& GetCategories() { return m_categories; }
    // The frame fills the categories before the sheet runs.
    BOOL InsertCategory(UINT nMenuId, UINT nNameId, int nIndex = -1);
    void InsertAllCommandsCategory(UINT nNameId, int nIndex = -1);
    void InsertNewMenuCategory(UINT nNameId, int nIndex = -1);
    BOOL AddCategories(UINT nMenuId, BOOL bExpandPopups = FALSE);
    // Lists the controls of the selected category.
    void RefreshCommands();

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
    CQXPCustomizeSheet* m_pSheet;
    CListBox m_categoriesList;
    CQXPCommandsList m_commandsList;
    CQXPCustomizeCategories m_categories;
};

// ---------------------------------------------------------------------------
// The Keyboard page: the shortcuts of the selected command, a capture edit
// and Assign, Remove and Reset All over the manager's shortcut table.
class CQXPCustomizeKeyboardPage : public CPropertyPage {
public:
    explicit CQXPCustomizeKeyboardPage(CQXPCustomizeSheet* pSheet);
    BOOL OnInitDialog() override;
    BOOL AddCategories(UINT nMenuId, BOOL bExpandPopups = FALSE);
    CQXPCustomizeCategories& GetCategories() { return m_categories; }

    void RefreshCommands();
    void RefreshAssignments();
    void RefreshButtons();
    void OnAssign();
    void OnRemove();
    void OnResetAll();
    // The command selected in the list (NULL when none).
    CQXPControl* GetSelectedCommand() const;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    CQXPKeyboardShortcuts* GetShortcuts() const;
    CQXPCustomizeSheet* m_pSheet;
    CComboBox m_categoryCombo;
    CListBox m_commandsList;
    CListBox m_keysList;
    CQXPShortcutEdit m_shortcutEdit;
    CQXPCustomizeCategories m_categories;
};

// ---------------------------------------------------------------------------
// The Menus page: the application menu shown and reset, and the context
// menus. "Show Menu" lists the default menu and each document menu the
// menu bar keeps (item data: its menu resource id, 0 for the default);
// choosing one shows it on the menu bar while the page lives. "Select
// context menu" lists an empty entry, then the manager's context menus
// (item data: the popup bar); the chosen one is edited in a floating popup
// bar of the manager, whose controls go back into the context menu when
// another is chosen or the page closes.
class CQXPCustomizeMenusPage : public CPropertyPage {
public:
    explicit CQXPCustomizeMenusPage(CQXPCustomizeSheet* pSheet);
    BOOL OnInitDialog() override;
    // Shows the entry's description and icon and, with document menus
    // listed, its menu on the menu bar.
    void SelectApplicationMenu(int nIndex);
    // Closes the context menu shown before and shows the entry's for
    // editing (none for the empty entry): the first time with its right
    // edge at the sheet's left edge (beside its right edge when the screen
    // ends there), level with the sheet's top, later where it stood when it
    // was closed.
    void SelectContextMenu(int nIndex);
    // The floating bar that edits the chosen context menu (NULL when none).
    CQXPToolBar* GetContextMenuBar() const { return m_pContextBar; }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
    void ShowDescription(int nIndex);
    // The edits of the shown context menu go back into it and its bar goes.
    void CloseContextMenu();
    CQXPCustomizeSheet* m_pSheet;
    CQXPPopupBar* m_pShownContextMenu = NULL;  // the manager's, being edited
    CQXPToolBar* m_pContextBar = NULL;         // the manager's bar editing it
    std::map<UINT, CPoint> m_contextPositions; // by BarID: where each stood
    CQXPTitleStatic m_appTitle;
    CQXPTitleStatic m_contextTitle;
    CString m_strDefaultName;
    CString m_strDefaultDescription;
};

// ---------------------------------------------------------------------------
// The Options page: each change is written to the manager at once.
class CQXPCustomizeOptionsPage : public CPropertyPage {
public:
    explicit CQXPCustomizeOptionsPage(CQXPCustomizeSheet* pSheet);
    BOOL OnInitDialog() override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void UpdateDependentChecks();
    CQXPCustomizeSheet* m_pSheet;
    CQXPTitleStatic m_personalTitle;
    CQXPTitleStatic m_otherTitle;
};

// ---------------------------------------------------------------------------
class CQXPCustomizeSheet : public CPropertySheet {
public:
    // The sheet over the manager's bars, opening on page nStartPage; it
    // makes and owns the Toolbars and Commands pages.
    CQXPCustomizeSheet(CQXPCommandBars* pCommandBars, UINT nStartPage = 0);
    ~CQXPCustomizeSheet() override;

    // Adds a page; a template the resource manager holds is used in memory.
    void AddPage(CPropertyPage* pPage);
    // Runs the sheet until it is closed; IDCANCEL at once while another
    // sheet runs.
    INT_PTR DoModal() override;
    // The sheet that is running, NULL when none.
    static CQXPCustomizeSheet* AFXAPI GetRunningSheet();

    // The pages' message box: the application's modeless windows, the sheet
    // and the site are disabled while it shows.
    int MessageBox(LPCSTR lpszText, UINT nType);

    CQXPCommandBars* GetCommandBars() const { return m_pCommandBars; }
    CWnd* GetSite() const { return m_pSite; }
    CQXPCustomizeToolbarsPage* GetToolbarsPage() const { return m_pToolbarsPage; }
    CQXPCustomizeCommandsPage* GetCommandsPage() const { return m_pCommandsPage; }

    // Drags a control of the Commands list onto a bar (copying it).
    virtual void DragCommand(CQXPControl* pControl);
    // The context menu of a control while customizing (NULL when its menu
    // resource is missing) and its showing at a screen point.
    CQXPCustomizeContextMenu* GetContextMenu() const { return m_pContextMenu; }
    void ShowContextMenu(int x, int y);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // The run's input filters: TRUE lets the message through.
    BOOL FilterMouse(UINT message, POINT pt, HWND hTarget);
    BOOL FilterKeyboard();
    void FilterCallWndProc(const CWPSTRUCT* pMsg);

protected:
    afx_msg LRESULT OnTakeFocus(WPARAM, LPARAM);
    afx_msg LRESULT OnBarAnnounced(WPARAM, LPARAM lParam);
    afx_msg LRESULT OnControlNotify(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
    // A window that belongs to this manager's command bars.
    BOOL IsOwnCommandBar(HWND hWnd) const;

    CQXPCustomizeToolbarsPage* m_pToolbarsPage;
    CQXPCustomizeCommandsPage* m_pCommandsPage;
    CWnd* m_pSite;
    CQXPCommandBars* m_pCommandBars;
    CQXPCustomizeContextMenu* m_pContextMenu; // owned
};
