// projtree.h - the Project Explorer: TreeNodeInfo (the record of every item
// of the solution bar's trees), the workspace tree CSolutionBarProjTree and
// its pane CSolutionBarPTContainer (folder toolbar over the tree).
//
// A workspace is one root folder ("Project", shown as "Project [name]" with
// the file's base name and a "*" while modified) holding folders and file
// entries gathered from anywhere on disk; it is kept in a ".dpf" file
// (core/workspacefile.h). Nothing on disk is touched by the tree's
// commands except the workspace file itself.
#pragma once

#include "basetree.h"

#include <memory>
#include <vector>

struct WorkspaceNode;
class CQXPToolBar;

// The record of an item of the workspace and template trees (item data).
// Texts are cut to fit the arrays (SetLabel, SetPath).
struct TreeNodeInfo : CBaseTreeNode {
    char label[100];    // NUL-terminated
    char pathname[264]; // full path of a file entry; empty for a workspace folder
    int encoding;       // encoding code of the document when added; 4 for folders
    int type;           // 1: a file found binary, else 0

    void SetLabel(LPCSTR lpszText);
    void SetPath(LPCSTR lpszPath);
};

// Owns the records of one tree; they live until Clear (the tree's items
// only point at them, so a deleted item leaves nothing dangling).
class CTreeNodeStore {
public:
    TreeNodeInfo* Add(LPCSTR lpszLabel, LPCSTR lpszPath, int nEncoding, int nType, int nFolder);
    TreeNodeInfo* Copy(const TreeNodeInfo& other);
    void Clear() { m_nodes.clear(); }

private:
    std::vector<std::unique_ptr<TreeNodeInfo>> m_nodes;
};

// Image indexes of the workspace tree (bitmap IDB_PROJECT_TREE).
enum {
    PROJ_IMAGE_FOLDER = 0,
    PROJ_IMAGE_FOLDER_OPEN = 1,
    PROJ_IMAGE_BINARY = 2,
    PROJ_IMAGE_FILE = 3
};

class CSolutionBarProjTree : public CBaseTreeCtrl {
    DECLARE_DYNAMIC(CSolutionBarProjTree)
public:
    CSolutionBarProjTree();
    ~CSolutionBarProjTree() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // Closes an open workspace (a modified one with a file asks to be
    // saved: FALSE when that failed; an unnamed one is dropped) and starts
    // an empty one with the root folder.
    BOOL NewWorkspace(LPCSTR lpszPath);
    // Reads a workspace file. A file that cannot be read or holds no
    // workspace is refused with a message: FALSE, nothing changes. Else the
    // open workspace is closed as by NewWorkspace and the file's shown.
    BOOL LoadWorkspace(LPCSTR lpszPath);
    // Writes the workspace (to lpszPath when given, which becomes its
    // path; an unnamed workspace asks for one). FALSE when no workspace is
    // open, the user cancelled, or the file could not be written (reported;
    // the tree stays modified and the old file whole).
    BOOL SaveWorkspace(LPCSTR lpszPath);
    // Closes the workspace; a modified one asks "Save workspace before
    // closing?" first. FALSE (still open) when the save was cancelled or failed.
    BOOL SaveIfModified();
    // The editor is closing: a modified workspace with a file asks to be
    // saved (an unnamed one is dropped). FALSE when the save failed.
    BOOL SaveOnExit();

    // Adds a file entry below hParent (none: the selected item, or the
    // root folder, starting an unnamed workspace when none is open) unless
    // the tree has one of that path in any letter case; the entry (new or
    // found), NULL for an empty path or one longer than the record holds.
    HTREEITEM AddFile(LPCSTR lpszPath, HTREEITEM hParent, int nType, int nEncoding);
    // Adds a folder (lpszLabel NULL: "New Folder", then its label is edited).
    HTREEITEM AddFolder(LPCSTR lpszLabel, HTREEITEM hParent);
    void DeleteFolder();
    void RenameFolder();

    // The entry of a path (case ignored), NULL when the tree has none.
    HTREEITEM FindItemByPath(LPCSTR lpszPath) const;
    CString GetWorkspacePath() const { return m_strPath; }
    // The item's path (hItem NULL: the item under the cursor, selected
    // first, when the cursor is on its icon or label); empty without one.
    CString GetItemPath(HTREEITEM hItem);
    BOOL IsOpen() const { return m_bOpen; }
    const TreeNodeInfo* GetNode(HTREEITEM hItem) const
    {
        return hItem != NULL ? reinterpret_cast<const TreeNodeInfo*>(GetItemData(hItem)) : NULL;
    }
    // The tree as workspace nodes (items without a record are left out).
    std::vector<WorkspaceNode> GetNodes() const;

    void CopyItemData(HTREEITEM hOldItem, HTREEITEM hNewItem, DWORD_PTR dwData) override;
    void SetModified(BOOL bModified) override;
    void RenameItem(HTREEITEM hItem, LPCSTR lpszText, int nFlag) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnOpenEntry();
    afx_msg void OnRemoveEntry();
    afx_msg void OnFileProperties();
    DECLARE_MESSAGE_MAP()

    void CloseWorkspace();
    // Closes the open workspace before another replaces it; FALSE keeps it.
    BOOL ReplaceWorkspace();
    void InsertNodes(const std::vector<WorkspaceNode>& nodes, HTREEITEM hParent);
    HTREEITEM InsertRootFolder();
    void OpenEntry(HTREEITEM hItem);
    HTREEITEM ItemUnderCursor();
    void UpdateCaption();

    CTreeNodeStore m_store;
    CString m_strPath;    // the .dpf file; empty for an unnamed workspace
    CString m_strCaption; // the text last shown on the root item
    BOOL m_bOpen;
};

class CSolutionBarPTContainer : public CWnd {
    DECLARE_DYNAMIC(CSolutionBarPTContainer)
public:
    CSolutionBarPTContainer();
    ~CSolutionBarPTContainer() override;

    BOOL Create(CWnd* pParent, UINT nID);
    // The tree's AddFile while the tree window exists, else NULL.
    HTREEITEM AddFile(LPCSTR lpszPath, HTREEITEM hParent, int nType, int nEncoding);
    CSolutionBarProjTree& GetProjTree() { return m_tree; }
    CQXPToolBar* GetToolBar() const { return m_pToolBar; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnAddFolder();
    afx_msg void OnDeleteFolder();
    afx_msg void OnRenameFolder();
    afx_msg void OnUpdateFolderCommand(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    CSolutionBarProjTree m_tree;
    CQXPToolBar* m_pToolBar; // one reference, released with the window
};
