// qx/browse.h - folder browsing and the two compound browse controls.
//
// FolderBrowseDialog wraps the shell's folder picker. CQXBrowseEdit is an
// edit with a small push button at its right edge that chooses a folder or a
// file, drops a menu or tells the parent (notification 10051); the result
// goes into the edit. CQXEditListBox is a list box with a title strip of New,
// Delete, Move Up and Move Down buttons and in-place editing of its items
// (CQXItemEdit, itself a browse edit).
//
// Paths never overflow the fixed MAX_PATH buffers of the shell calls: a path
// that does not fit is refused with a message ("The path is too long.").
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/buttons.h>
#include <qx/edit.h>
#include <qx/listbox.h>
#include <qxresource.h>

#include <shlobj.h>

// Browse styles (the low bits decide what the button does).
enum {
    qxBrowseFolder = 0x01,
    qxBrowseFile = 0x02,
    qxBrowsePopupMenu = 0x04,
    qxBrowseNoToolbar = 0x08,   // edit list boxes: no title strip
    qxBrowseNotify = 0x10,      // the parent does the browsing (10051)
    qxBrowseNoMove = 0x20,      // edit list boxes: no Move Up / Move Down
    qxBrowseNoNewDelete = 0x40, // edit list boxes: no New / Delete
    qxBrowseNoEdit = 0x80,      // edit list boxes: no in-place edit (10051 instead)
};

// Notification codes (WM_COMMAND high word).
enum {
    QXN_ELB_LABEL_CHANGED = 10031,   // an in-place edit changed an item
    QXN_ELB_LABEL_UNCHANGED = 10032, // ended without a change, or a new item left empty
    QXN_ELB_NEW_ITEM = 10033,
    QXN_ELB_PRE_DELETE = 10034,
    QXN_ELB_DELETE_ITEM = 10035,
    QXN_ELB_MOVE_UP = 10036,
    QXN_ELB_MOVE_DOWN = 10037,
    QXN_ELB_PRE_NEW_ITEM = 10038,
    QXN_BROWSE = 10051, // the browse button was pressed
};

// Control ids. Each button of the edit list's strip has the id of its
// tooltip string.
enum {
    QX_IDC_BROWSE_BUTTON = 9224,
    QX_IDC_ITEM_EDIT = 101,
    QX_IDC_EDIT_LIST_STRIP = 200,
    QX_IDC_ELB_NEW = QX_IDS_EDITLIST_NEW,
    QX_IDC_ELB_DELETE = QX_IDS_EDITLIST_DELETE,
    QX_IDC_ELB_UP = QX_IDS_EDITLIST_UP,
    QX_IDC_ELB_DOWN = QX_IDS_EDITLIST_DOWN,
};

// The message shown when a path does not fit.
extern const char kQXPathTooLong[];

// ---------------------------------------------------------------------------
class FolderBrowseDialog {
public:
    explicit FolderBrowseDialog(CWnd* pOwner = NULL);
    ~FolderBrowseDialog();
    FolderBrowseDialog(const FolderBrowseDialog&) = delete;
    FolderBrowseDialog& operator=(const FolderBrowseDialog&) = delete;

    // The initial folder; FALSE (buffer unchanged) for a path that does not
    // fit in MAX_PATH characters.
    BOOL SetSelPath(LPCSTR lpszPath);
    LPCSTR GetSelPath() const { return m_szPath; }
    // IDOK when a folder path was obtained, else IDCANCEL.
    INT_PTR DoModal();

    // The picker's callback (public for tests).
    static int CALLBACK BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData);
    // Replaces SHBrowseForFolderA (tests).
    static PIDLIST_ABSOLUTE(WINAPI* s_pfnBrowseForFolder)(LPBROWSEINFOA lpbi);

    BROWSEINFOA m_bi;
    char m_szPath[MAX_PATH];
    CString m_strTitle;
};

class CQXBrowseEdit;

// ---------------------------------------------------------------------------
class CQXBrowseButton : public CQXButton {
    DECLARE_DYNAMIC(CQXBrowseButton)
public:
    CQXBrowseButton();
    ~CQXBrowseButton() override;

    BOOL Create(CQXBrowseEdit* pEditWnd, DWORD dwBStyle, UINT nID, UINT nMenu = 0, int nSubMenuIndx = 0);
    // Right of the edit, as high as it.
    void Reposition();
    // The width of browse buttons.
    static int AFXAPI GetButtonWidth();

    CQXBrowseEdit* m_pEditWnd;
    DWORD m_dwBStyle;
    UINT m_nMenu;
    int m_nSubMenuIndx;
    CQXIconHolder m_icon;

protected:
    afx_msg void OnClicked();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------
class CQXBrowseEdit : public CQXEdit {
    DECLARE_DYNAMIC(CQXBrowseEdit)
public:
    CQXBrowseEdit();
    ~CQXBrowseEdit() override;

    // For an edit already attached to its window (or subclassing the dialog
    // item nID of the parent): remembers the parent and creates the button
    // when the style asks for one.
    virtual BOOL Initialize(CWnd* pParentWnd, DWORD dwBStyle, UINT nMenu = 0, int nSubMenuIndx = 0);
    BOOL Initialize(CWnd* pParentWnd, UINT nID, DWORD dwBStyle, UINT nMenu = 0, int nSubMenuIndx = 0);

    virtual void OnBrowse();
    virtual void ChooseDirectory();
    virtual void ChooseFile();
    virtual void PopupMenu();

    void SetDlgInitialDir(LPCSTR lpszDir) { m_strInitialDir = lpszDir ? lpszDir : ""; }
    void SetDlgFilter(LPCSTR lpszFilter) { m_strFilter = lpszFilter ? lpszFilter : ""; }
    void SetDlgTitle(LPCSTR lpszTitle) { m_strFolderTitle = lpszTitle ? lpszTitle : ""; }
    void SetDlgOpenFile(BOOL bOpen) { m_bOpenFileDialog = bOpen; }
    DWORD GetBrowseStyle() const { return m_dwBStyle; }
    CQXBrowseButton* GetBrowseButton() { return m_browseButton.GetSafeHwnd() ? &m_browseButton : NULL; }
    BOOL IsBusy() const { return m_bBrowseInProgress; }

    CWnd* m_pParentWnd;
    int m_nGap;
    BOOL m_bBrowseInProgress;
    BOOL m_bOpenFileDialog;
    UINT m_nMenu;
    int m_nSubMenuIndx;
    DWORD m_dwFlags;
    DWORD m_dwBStyle;
    CString m_strDefExt;
    CString m_strFileName;
    CString m_strFilter;
    CString m_strInitialDir;
    CString m_strFolderTitle;
    CFileDialog* m_pFileDialog;
    CQXBrowseButton m_browseButton;
    // Where the folder picker gets its answer (tests replace it).
    static INT_PTR(AFXAPI* s_pfnFolderDialog)(FolderBrowseDialog& dlg);

protected:
    void CreateBrowseButton();
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    DECLARE_MESSAGE_MAP()
};

class CQXEditListBox;

// ---------------------------------------------------------------------------
// The in-place edit of an edit list box.
class CQXItemEdit : public CQXBrowseEdit {
    DECLARE_DYNAMIC(CQXItemEdit)
public:
    CQXItemEdit(CQXEditListBox* pListBox, const CRect& rect, CString& strWindowText, DWORD dwBStyle = qxBrowseFolder,
                BOOL bAutoDelete = TRUE);
    ~CQXItemEdit() override;

    // Ends once: unless cancelled the text goes to the target and 10031 to
    // the list box, else 10032; the windows close.
    virtual void EndEdit();

    BOOL PreTranslateMessage(MSG* pMsg) override;

    CString& m_strWindowText;
    BOOL m_bClosePosted;
    BOOL m_bAutoDelete;
    BOOL m_bEscapeKey;

protected:
    void PostNcDestroy() override;
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()

    CQXEditListBox* m_pListBox;
};

// ---------------------------------------------------------------------------
// The title strip of an edit list box.
class CQXEditListBoxToolBar : public CStatic {
    DECLARE_DYNAMIC(CQXEditListBoxToolBar)
public:
    CQXEditListBoxToolBar();
    ~CQXEditListBoxToolBar() override;

    BOOL Initialize(CQXEditListBox* pListBox);
    void MoveButtons();
    CQXButton* GetButton(int nIndex) { return &m_arClipButton[nIndex]; }
    CRect GetButtonRect(int nIndex) const;

    BOOL m_bShowMove;
    BOOL m_bShowNewDelete;
    BOOL m_bNotify;
    CQXEditListBox* m_pListBox;
    CQXButton m_arClipButton[4];
    CToolTipCtrl m_tooltip;

protected:
    BOOL PreTranslateMessage(MSG* pMsg) override;
    afx_msg void OnButtonNew();
    afx_msg void OnButtonDelete();
    afx_msg void OnButtonUp();
    afx_msg void OnButtonDown();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()
    void SendToList(UINT nCode);
};

// ---------------------------------------------------------------------------
class CQXEditListBox : public CQXListBox {
    DECLARE_DYNAMIC(CQXEditListBox)
public:
    CQXEditListBox();
    ~CQXEditListBox() override;

    void SetListEditStyle(LPCSTR lpszTitle, DWORD dwLStyle = qxBrowseFolder);
    void SetListEditStyle(UINT nTitle, DWORD dwLStyle = qxBrowseFolder);
    // Creates the strip (unless qxBrowseNoToolbar) and makes room for it.
    virtual void Initialize(BOOL bAutoFont = TRUE) override;
    virtual void EditItem(BOOL bNewItem);
    void DeleteItem();
    // Swap the selected item with its neighbour (not past either end) and
    // notify 10036 / 10037 in every case; an open in-place edit moves with
    // its item.
    void MoveItemUp();
    void MoveItemDown();
    void SetNewItemDefaultText(LPCSTR lpszItem) { m_strItemDefaultText = lpszItem ? lpszItem : ""; }
    void SetDlgInitialDir(LPCSTR lpszDir) { m_strInitialDir = lpszDir ? lpszDir : ""; }
    void SetDlgFilter(LPCSTR lpszFilter) { m_strFilter = lpszFilter ? lpszFilter : ""; }
    CQXItemEdit* GetItemEdit() const { return m_pItemEdit; }
    CQXEditListBoxToolBar* GetStrip() { return m_editGroup.GetSafeHwnd() ? &m_editGroup : NULL; }
    // Ends an open in-place edit (keeping its text).
    void EndItemEdit();

    CWnd* m_pParentWnd;
    CString m_strItemDefaultText;
    BOOL m_bEnableEdit;
    int m_nIndex;
    BOOL m_bNewItem;
    DWORD m_dwLStyle;
    CString m_strTitle;
    CString m_strFilter;
    CString m_strInitialDir;
    CString m_strItemText;
    CQXItemEdit* m_pItemEdit;
    CQXEditListBoxToolBar m_editGroup;

protected:
    void Notify(UINT nCode);
    void OnEndLabelEdit(BOOL bChanged);
    void MoveSelectedItem(int nDelta, UINT nCode);
    // Where the in-place edit of an item sits: the item's row, 2 pixels in
    // on each side and 2 pixels out above and below.
    CRect ItemEditRect(int nIndex);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    DECLARE_MESSAGE_MAP()

    friend class CQXItemEdit;
    friend class CQXEditListBoxToolBar;
};
