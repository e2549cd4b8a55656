// templatetree.h - the Template Explorer: text snippets kept as files in the
// per-user Templates folder (nested folders of any depth), shown as a tree
// whose commands insert, copy, create, edit, rename and delete them on disk.
// Also the file operations behind it, which need no window.
#pragma once

#include "projtree.h"

// Templates are read up to this many bytes (the rest is cut).
enum {
    TEMPLATE_READ_MAX = 250000
};

// "<local application data>\Fernbright\Quillmate\Templates".
CString GetTemplateFolder();
// The text of a template file: at most TEMPLATE_READ_MAX bytes, cut at the
// first NUL; empty when it cannot be read.
CString ReadTemplateFile(LPCSTR lpszPath);
// Whether a name may name a template or template folder: not empty, not
// "." or "..", none of \ / : * ? " < > | and no control character, so it
// always names something inside its folder.
BOOL IsValidTemplateName(LPCSTR lpszName);
// Deletes a file or a folder with everything in it (no recycle bin, no
// questions); TRUE when it is gone.
BOOL DeleteTemplatePath(LPCSTR lpszPath);
// Whether a folder on disk holds any file or folder.
BOOL FolderHoldsAnything(LPCSTR lpszPath);

// Image indexes of the template tree (bitmap IDB_TEMPLATE_TREE).
enum {
    TEMPL_IMAGE_FOLDER_OPEN = 0,
    TEMPL_IMAGE_FOLDER = 1,
    TEMPL_IMAGE_FILE = 2,
    TEMPL_IMAGE_FILE_SELECTED = 3
};

class CSolutionBarTemplateTree : public CBaseTreeCtrl {
    DECLARE_DYNAMIC(CSolutionBarTemplateTree)
public:
    CSolutionBarTemplateTree();
    ~CSolutionBarTemplateTree() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // Fills the tree from a folder: with hParent NULL the top item
    // "Templates" stands for lpszFolder (bInsert: whether a double click
    // inserts). FALSE for an empty folder path (the top item stays).
    BOOL FillFromFolder(HTREEITEM hParent, LPCSTR lpszFolder, BOOL bInsert);
    // Sets the template folder the window fills from when it is created.
    void SetFolder(LPCSTR lpszFolder) { m_strFolder = lpszFolder; }
    CString GetFolder() const { return m_strFolder; }

    const TreeNodeInfo* GetNode(HTREEITEM hItem) const
    {
        return hItem != NULL ? reinterpret_cast<const TreeNodeInfo*>(GetItemData(hItem)) : NULL;
    }
    BOOL IsFileItem(HTREEITEM hItem) const
    {
        const TreeNodeInfo* pNode = GetNode(hItem);
        return pNode != NULL && !pNode->nFolder;
    }

    // The operations behind the commands, on the selected item; they work
    // on disk first and change the tree only when that succeeded.
    // Inserts the selected template into the current text view.
    BOOL AddToDocument();
    BOOL CopyToClipboard();
    // Creates a template file beside or in the selected item. Refused (with
    // a message) for a bad name or a name the folder already has.
    HTREEITEM CreateTemplate(LPCSTR lpszName, LPCSTR lpszText);
    // The Create Template dialog (preset with a text), then CreateTemplate.
    void AskCreateTemplate(LPCSTR lpszText);
    // Gives the selected template a new name (when it differs) and text.
    BOOL EditTemplate(LPCSTR lpszName, LPCSTR lpszText);
    // Renames a file or folder on disk and in the tree (paths below a
    // folder follow); beeps and keeps the old name on failure.
    BOOL Rename(HTREEITEM hItem, LPCSTR lpszName);
    // Creates "New Folder" in the selected folder and starts renaming it.
    HTREEITEM CreateFolder();
    // Deletes the selected folder (asking when it holds anything on disk).
    void DeleteFolder();
    // Deletes the selected template (asking first).
    void DeleteTemplate();

    void CopyItemData(HTREEITEM hOldItem, HTREEITEM hNewItem, DWORD_PTR dwData) override;
    void RenameItem(HTREEITEM hItem, LPCSTR lpszText, int nFlag) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnAddToDocument();
    afx_msg void OnCopy();
    afx_msg void OnCreateTemplate();
    afx_msg void OnEditTemplate();
    afx_msg void OnDeleteTemplate();
    afx_msg void OnCreateFolder();
    afx_msg void OnRenameFolder();
    afx_msg void OnDeleteFolder();
    DECLARE_MESSAGE_MAP()

    HTREEITEM TargetFolder() const;
    HTREEITEM InsertNode(HTREEITEM hParent, LPCSTR lpszName, LPCSTR lpszPath, BOOL bFolder);
    HTREEITEM FindChild(HTREEITEM hParent, LPCSTR lpszName) const;
    void UpdatePathsBelow(HTREEITEM hItem);

    CTreeNodeStore m_store;
    CString m_strFolder;   // the template folder
    BOOL m_bInsertAllowed; // a double click inserts (not in the template picker)
};

// The Template Explorer pane: the tree over the whole client area.
class CSolutionBarTEContainer : public CWnd {
    DECLARE_DYNAMIC(CSolutionBarTEContainer)
public:
    BOOL Create(CWnd* pParent, UINT nID);
    CSolutionBarTemplateTree& GetTree() { return m_tree; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    CSolutionBarTemplateTree m_tree;
};
