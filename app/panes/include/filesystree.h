// filesystree.h - CFileSysTreeCtrl, the File Explorer: the shell namespace
// from the desktop down, filled lazily as folders expand, with the context
// menu 180 (Open, Open As Hex, Copy Filepath to Clipboard, Open in Windows
// Explorer, Properties) and a watcher that follows the selected folder.
//
// Items: each item's data is a CFileSysItem (the parent shell folder, held
// by reference, and the item's absolute and relative item-id lists from the
// task allocator), freed when the item is deleted. Shortcuts never appear.
//
// The watcher: one thread at a time, for the selected item when it is a
// folder on disk (a virtual folder starts none). The folder's change
// notification is armed when the item is selected; the thread only waits - on the
// folder's change notification (names of files and folders, not below) and
// on this tree's kill event - and posts WM_FILETREE_CHANGED to the tree; the
// tree refreshes the item on the UI thread, where the shell folders live.
// Its events are this tree's own (unnamed), so no other tree, here or in
// another process, can stop it. Stopping sets the kill event and waits for
// the dead event, which the thread sets as its last act; since the thread
// never waits for the UI thread, that wait cannot deadlock. A new watcher
// starts only once the old one has ended. It is stopped around an expansion
// (and started again for the selected item), on a new selection and when
// the window goes.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <shlobj.h>

#include <set>
#include <string>

// Posted by the watcher (wParam: the watcher's generation).
#define WM_FILETREE_CHANGED (WM_APP + 0x170)

struct CFileSysItem {
    IShellFolder* pParentFolder; // counted reference
    LPITEMIDLIST pidlAbsolute;   // task allocator
    LPITEMIDLIST pidlRelative;   // task allocator
};

class CFileSysTreeCtrl : public CTreeCtrl {
    DECLARE_DYNAMIC(CFileSysTreeCtrl)
public:
    CFileSysTreeCtrl();
    ~CFileSysTreeCtrl() override;

    // A child window of the pane with the tree's styles.
    BOOL Create(CWnd* pParent, UINT nID);

    // Inserts the desktop's children at the root, expands the first root
    // item and selects it; once.
    void Fill();
    BOOL IsFilled() const { return m_bFilled; }
    // Refresh File System View: the whole tree from the root, every
    // expanded folder again (fills the tree when it is not yet filled).
    void RefreshAll();
    // Brings a folder item up to date with its folder: children that went
    // are deleted, new ones inserted, expand buttons updated; expanded
    // children are refreshed too when bRecursive, else collapsed. A folder
    // never expanded only gets its button updated.
    void RefreshItem(HTREEITEM hItem, BOOL bRecursive);

    // The file-system path of an item, empty for items outside the file
    // system.
    CString GetItemPath(HTREEITEM hItem) const;
    BOOL IsWatcherRunning() const { return m_bWatcherRunning; }
    HTREEITEM GetWatchedItem() const { return m_hWatchedItem; }

    // The watcher's thread procedure (its parameter: a record of its own).
    static UINT AFX_CDECL WatchThread(LPVOID pParam);

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnRightClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDoubleClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnFolderChanged(WPARAM wParam, LPARAM lParam);
    afx_msg void OnOpen();
    afx_msg void OnOpenAsHex();
    afx_msg void OnCopyPath();
    afx_msg void OnOpenInExplorer();
    afx_msg void OnProperties();
    DECLARE_MESSAGE_MAP()

    // Inserts the children of a shell folder under hParent (TVI_ROOT for
    // the desktop); pidlParent is the folder's absolute list (null for the
    // desktop). Children whose parsing names are in pSkip (when given) are
    // left out. The number inserted.
    int InsertChildren(HTREEITEM hParent, IShellFolder* pFolder, LPCITEMIDLIST pidlParent,
                       const std::set<std::wstring>* pSkip);
    // The shell folder of a folder item (a new reference), null for none.
    IShellFolder* BindItemFolder(HTREEITEM hItem) const;
    void RefreshChildren(HTREEITEM hParent, IShellFolder* pFolder, LPCITEMIDLIST pidlParent, BOOL bRecursive);
    void SortChildrenOf(HTREEITEM hParent);
    void SetChildrenButton(HTREEITEM hItem, BOOL bButton);
    // The path of the selected item when it names an existing file.
    CString GetSelectedFilePath() const;
    CString GetSelectedPath() const;

    void StartWatcher();
    // FALSE when the watcher did not end (it is then left alone).
    BOOL StopWatcher();

    BOOL m_bFilled;
    BOOL m_bRefreshing;       // set while the tree refreshes (no watcher restarts)
    BOOL m_bWatcherRunning;   // a watcher thread exists (UI thread only)
    HTREEITEM m_hWatchedItem; // the selected item the watcher follows
    HANDLE m_hKillEvent;      // this tree's: set to stop the watcher
    HANDLE m_hDeadEvent;      // this tree's: set by the watcher as it ends
    UINT m_nGeneration;       // counts watchers; stale posts are ignored
    IShellFolder* m_pDesktop;
};

class CQXPToolBar;

// The File Explorer pane: a toolbar (Refresh File System View) over the
// file-system tree.
class CSolutionBarFSContainer : public CWnd {
    DECLARE_DYNAMIC(CSolutionBarFSContainer)
public:
    CSolutionBarFSContainer();
    ~CSolutionBarFSContainer() override;

    BOOL Create(CWnd* pParent, UINT nID);
    CFileSysTreeCtrl& GetTree() { return m_tree; }
    CQXPToolBar* GetToolBar() const { return m_pToolBar; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnRefresh();
    DECLARE_MESSAGE_MAP()

    CFileSysTreeCtrl m_tree;
    CQXPToolBar* m_pToolBar; // one reference, released with the window
};
