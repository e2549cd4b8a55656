// projtree.cpp - the Project Explorer: the workspace tree, its records and
// its pane with the folder toolbar.
#include "projtree.h"

#include "editorframe.h"
#include "filedialogs.h"
#include "panewnd.h"
#include "resource.h"
#include "workspacefile.h"

#include <algorithm>
#include <cstring>

namespace {

const char kRootLabel[] = "Project";
const char kNewFolder[] = "New Folder";
const char kAskSave[] = "Save workspace before closing?";
const char kAskDeleteFolder[] = "Delete this folder and all its sub items?";

void CopyBounded(char* pTarget, size_t nSize, LPCSTR lpszText)
{
    size_t n = BoundedTextLength(lpszText, nSize - 1);
    if (n > 0)
        memcpy(pTarget, lpszText, n);
    pTarget[n] = '\0';
}

CString BaseName(const CString& strPath)
{
    int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
    CString strName = strPath.Mid(nSlash + 1);
    int nDot = strName.ReverseFind('.');
    return nDot > 0 ? strName.Left(nDot) : strName;
}

CString FileName(LPCSTR lpszPath)
{
    CString strPath = lpszPath;
    int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
    return strPath.Mid(nSlash + 1);
}

} // namespace

// ===========================================================================
// Records

void TreeNodeInfo::SetLabel(LPCSTR lpszText)
{
    CopyBounded(label, sizeof(label), lpszText);
}

void TreeNodeInfo::SetPath(LPCSTR lpszPath)
{
    CopyBounded(pathname, sizeof(pathname), lpszPath);
}

TreeNodeInfo* CTreeNodeStore::Add(LPCSTR lpszLabel, LPCSTR lpszPath, int nEncoding, int nType, int nFolder)
{
    std::unique_ptr<TreeNodeInfo> pNode(new TreeNodeInfo());
    pNode->nFolder = nFolder;
    pNode->SetLabel(lpszLabel);
    pNode->SetPath(lpszPath);
    pNode->encoding = nEncoding;
    pNode->type = nType;
    m_nodes.push_back(std::move(pNode));
    return m_nodes.back().get();
}

TreeNodeInfo* CTreeNodeStore::Copy(const TreeNodeInfo& other)
{
    m_nodes.emplace_back(new TreeNodeInfo(other));
    return m_nodes.back().get();
}

// ===========================================================================
// CSolutionBarProjTree

IMPLEMENT_DYNAMIC(CSolutionBarProjTree, CBaseTreeCtrl)

BEGIN_MESSAGE_MAP(CSolutionBarProjTree, CBaseTreeCtrl)
    ON_WM_CREATE()
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
    ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
    ON_WM_RBUTTONDOWN()
    ON_COMMAND(ID_PROJECT_OPEN, OnOpenEntry)
    ON_COMMAND(ID_PROJECT_REMOVE, OnRemoveEntry)
    ON_COMMAND(ID_FILE_PROPERTIES, OnFileProperties)
END_MESSAGE_MAP()

CSolutionBarProjTree::CSolutionBarProjTree() : m_bOpen(FALSE) {}

CSolutionBarProjTree::~CSolutionBarProjTree() = default;

BOOL CSolutionBarProjTree::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS;
    return CBaseTreeCtrl::PreCreateWindow(cs);
}

int CSolutionBarProjTree::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CBaseTreeCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    LoadImageList(IDB_PROJECT_TREE);
    return 0;
}

// --- the workspace -------------------------------------------------------------

HTREEITEM CSolutionBarProjTree::InsertRootFolder()
{
    return AddFolder(kRootLabel, TVI_ROOT);
}

void CSolutionBarProjTree::CloseWorkspace()
{
    if (GetSafeHwnd() != NULL)
        DeleteAllItems();
    m_store.Clear();
    m_bModified = FALSE;
    m_strPath.Empty();
    m_strCaption.Empty();
    m_bOpen = FALSE;
}

BOOL CSolutionBarProjTree::ReplaceWorkspace()
{
    // An unnamed workspace gathered by opening documents (at start-up the
    // restored ones) goes without a question, as when the editor closes;
    // Close Workspace still offers to save it.
    if (m_bOpen && !m_strPath.IsEmpty() && !SaveIfModified())
        return FALSE;
    CloseWorkspace();
    return TRUE;
}

BOOL CSolutionBarProjTree::NewWorkspace(LPCSTR lpszPath)
{
    if (!ReplaceWorkspace())
        return FALSE;
    CloseWorkspace();
    m_strPath = lpszPath != NULL ? lpszPath : "";
    InsertRootFolder();
    m_bOpen = TRUE;
    SetModified(FALSE);
    return TRUE;
}

BOOL CSolutionBarProjTree::LoadWorkspace(LPCSTR lpszPath)
{
    if (lpszPath == NULL || *lpszPath == '\0')
        return FALSE;
    std::vector<WorkspaceNode> nodes;
    CString strError;
    if (!ReadWorkspaceFile(lpszPath, nodes, strError)) {
        CString strMsg;
        strMsg.Format("Cannot open the workspace \"%s\".\n\n%s", lpszPath, (LPCSTR)strError);
        AfxMessageBox(strMsg, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!ReplaceWorkspace())
        return FALSE;
    m_strPath = lpszPath;
    m_bOpen = TRUE;
    InsertNodes(nodes, NULL);
    if (GetRootItem() == NULL)
        InsertRootFolder();
    SetModified(FALSE);
    return TRUE;
}

void CSolutionBarProjTree::InsertNodes(const std::vector<WorkspaceNode>& nodes, HTREEITEM hParent)
{
    for (const WorkspaceNode& node : nodes) {
        if (node.nFolder) {
            HTREEITEM hFolder = AddFolder(node.strLabel, hParent != NULL ? hParent : TVI_ROOT);
            if (hFolder != NULL)
                InsertNodes(node.children, hFolder);
        } else {
            if (hParent == NULL) {
                hParent = GetRootItem();
                if (hParent == NULL)
                    hParent = InsertRootFolder();
            }
            AddFile(node.strPath, hParent, node.nType, node.nEncoding);
        }
    }
}

std::vector<WorkspaceNode> CSolutionBarProjTree::GetNodes() const
{
    std::vector<WorkspaceNode> nodes;
    struct Walker {
        const CSolutionBarProjTree& tree;
        void Walk(HTREEITEM hFirst, std::vector<WorkspaceNode>& out) const
        {
            for (HTREEITEM h = hFirst; h != NULL; h = tree.GetNextSiblingItem(h)) {
                const TreeNodeInfo* pNode = tree.GetNode(h);
                if (pNode == NULL)
                    continue;
                WorkspaceNode node;
                node.strLabel = pNode->label;
                node.strPath = pNode->pathname;
                node.nEncoding = pNode->encoding;
                node.nType = pNode->type;
                node.nFolder = pNode->nFolder;
                Walk(tree.GetChildItem(h), node.children);
                out.push_back(node);
            }
        }
    };
    if (GetSafeHwnd() != NULL)
        Walker{*this}.Walk(GetRootItem(), nodes);
    return nodes;
}

BOOL CSolutionBarProjTree::SaveWorkspace(LPCSTR lpszPath)
{
    if (!m_bOpen)
        return FALSE;
    CString strPath = lpszPath != NULL && *lpszPath != '\0' ? CString(lpszPath) : m_strPath;
    if (strPath.IsEmpty()) {
        CString strFilter;
        strFilter.LoadString(IDS_WORKSPACE_FILTER);
        CFileDialog dlg(FALSE, "dpf", NULL, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING,
                        strFilter, AfxGetMainWnd());
        if (dlg.DoModal() != IDOK)
            return FALSE;
        strPath = dlg.GetPathName();
    }
    // The root's label is written as the caption of the file being written.
    // A failed write leaves the old path, the star and the old file.
    CString strOldPath = m_strPath;
    m_strPath = strPath;
    SetModified(FALSE);
    if (!WriteWorkspaceFile(strPath, GetNodes())) {
        m_strPath = strOldPath;
        SetModified(TRUE);
        CString strMsg;
        strMsg.Format("Cannot save the workspace \"%s\".", (LPCSTR)strPath);
        AfxMessageBox(strMsg, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    return TRUE;
}

BOOL CSolutionBarProjTree::SaveIfModified()
{
    if (m_bOpen && GetModified()) {
        if (AfxMessageBox(kAskSave, MB_YESNO | MB_ICONQUESTION) == IDYES && !SaveWorkspace(NULL))
            return FALSE;
    }
    CloseWorkspace();
    return TRUE;
}

BOOL CSolutionBarProjTree::SaveOnExit()
{
    if (!m_bOpen || !GetModified() || m_strPath.IsEmpty())
        return TRUE;
    if (AfxMessageBox(kAskSave, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return TRUE;
    return SaveWorkspace(NULL);
}

// --- items -----------------------------------------------------------------------

HTREEITEM CSolutionBarProjTree::AddFolder(LPCSTR lpszLabel, HTREEITEM hParent)
{
    if (hParent == NULL)
        hParent = GetSelectedItem();
    if (hParent == NULL)
        hParent = TVI_ROOT;
    if (hParent != TVI_ROOT && !IsFolderItem(hParent)) {
        hParent = GetParentItem(hParent);
        if (hParent == NULL)
            hParent = TVI_ROOT;
    }
    LPCSTR lpszText = lpszLabel != NULL ? lpszLabel : kNewFolder;
    TreeNodeInfo* pNode = m_store.Add(lpszText, "", 4, 0, 1);
    HTREEITEM hItem = InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, pNode->label,
                                 PROJ_IMAGE_FOLDER, PROJ_IMAGE_FOLDER_OPEN, 0, 0, (LPARAM)pNode, hParent, TVI_LAST);
    if (hItem == NULL)
        return NULL;
    if (lpszLabel == NULL) {
        SetModified(TRUE);
        if (hParent != TVI_ROOT) {
            SelectItem(hParent);
            Expand(hParent, TVE_EXPAND);
        }
        SetFocus();
        EditLabel(hItem);
    }
    return hItem;
}

HTREEITEM CSolutionBarProjTree::FindItemByPath(LPCSTR lpszPath) const
{
    struct Finder {
        const CSolutionBarProjTree& tree;
        LPCSTR lpszPath;
        HTREEITEM Find(HTREEITEM hFirst) const
        {
            for (HTREEITEM h = hFirst; h != NULL; h = tree.GetNextSiblingItem(h)) {
                const TreeNodeInfo* pNode = tree.GetNode(h);
                if (pNode != NULL && pNode->pathname[0] != '\0' && ::lstrcmpiA(pNode->pathname, lpszPath) == 0)
                    return h;
                if (tree.IsFolderItem(h))
                    if (HTREEITEM hFound = Find(tree.GetChildItem(h)))
                        return hFound;
            }
            return NULL;
        }
    };
    if (lpszPath == NULL || *lpszPath == '\0' || GetSafeHwnd() == NULL)
        return NULL;
    return Finder{*this, lpszPath}.Find(GetRootItem());
}

HTREEITEM CSolutionBarProjTree::AddFile(LPCSTR lpszPath, HTREEITEM hParent, int nType, int nEncoding)
{
    if (lpszPath == NULL || *lpszPath == '\0' || strlen(lpszPath) > WORKSPACE_PATH_MAX || GetSafeHwnd() == NULL)
        return NULL;
    if (hParent == NULL)
        hParent = GetSelectedItem();
    if (hParent == NULL) {
        if (!m_bOpen && !NewWorkspace(""))
            return NULL;
        hParent = GetRootItem();
        if (hParent == NULL)
            hParent = InsertRootFolder();
    }
    if (!IsFolderItem(hParent)) {
        HTREEITEM hUp = GetParentItem(hParent);
        hParent = hUp != NULL ? hUp : GetRootItem();
    }
    m_bOpen = TRUE;
    HTREEITEM hEntry = FindItemByPath(lpszPath);
    if (hEntry == NULL) {
        CString strLabel = FileName(lpszPath);
        TreeNodeInfo* pNode = m_store.Add(strLabel, lpszPath, nEncoding, nType == 1 ? 1 : 0, 0);
        int nImage = nType == 1 ? PROJ_IMAGE_BINARY : PROJ_IMAGE_FILE;
        hEntry = InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, pNode->label, nImage, nImage, 0,
                            0, (LPARAM)pNode, hParent, TVI_LAST);
        if (hEntry == NULL)
            return NULL;
        SetModified(TRUE);
    }
    SelectItem(hParent);
    Expand(hParent, TVE_EXPAND);
    return hEntry;
}

void CSolutionBarProjTree::DeleteFolder()
{
    HTREEITEM hItem = GetSelectedItem();
    if (!IsFolderItem(hItem))
        return;
    if (GetParentItem(hItem) == NULL) {
        AfxMessageBox(IDS_PROJECT_FOLDER_KEEP, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (ItemHasChildren(hItem) &&
        AfxMessageBox(kAskDeleteFolder, MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK)
        return;
    DeleteBranch(hItem);
    SetModified(TRUE);
}

void CSolutionBarProjTree::RenameFolder()
{
    HTREEITEM hItem = GetSelectedItem();
    if (!IsFolderItem(hItem))
        return;
    SetFocus();
    if (EditLabel(hItem) != NULL)
        SetModified(TRUE);
}

void CSolutionBarProjTree::CopyItemData(HTREEITEM, HTREEITEM hNewItem, DWORD_PTR dwData)
{
    const TreeNodeInfo* pOld = reinterpret_cast<const TreeNodeInfo*>(dwData);
    SetItemData(hNewItem, pOld != NULL ? (DWORD_PTR)m_store.Copy(*pOld) : 0);
}

void CSolutionBarProjTree::SetModified(BOOL bModified)
{
    CBaseTreeCtrl::SetModified(bModified);
    UpdateCaption();
}

void CSolutionBarProjTree::UpdateCaption()
{
    if (m_strPath.IsEmpty())
        m_strCaption = kRootLabel;
    else
        m_strCaption.Format("Project [%s]", (LPCSTR)BaseName(m_strPath));
    if (GetModified())
        m_strCaption += "*";
    HTREEITEM hRoot = GetSafeHwnd() != NULL ? GetRootItem() : NULL;
    if (hRoot == NULL)
        return;
    SetItemText(hRoot, m_strCaption);
    if (TreeNodeInfo* pNode = reinterpret_cast<TreeNodeInfo*>(GetItemData(hRoot)))
        pNode->SetLabel(m_strCaption);
}

void CSolutionBarProjTree::RenameItem(HTREEITEM hItem, LPCSTR lpszText, int nFlag)
{
    TreeNodeInfo* pNode = reinterpret_cast<TreeNodeInfo*>(GetItemData(hItem));
    CString strText = CString(lpszText).Left((int)BoundedTextLength(lpszText, WORKSPACE_LABEL_MAX));
    SetItemLabel(hItem, strText);
    if (nFlag && pNode != NULL)
        pNode->SetLabel(strText);
    SetModified(TRUE);
}

// --- opening entries ------------------------------------------------------------------

HTREEITEM CSolutionBarProjTree::ItemUnderCursor()
{
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    UINT nFlags = 0;
    HTREEITEM hItem = HitTest(pt, &nFlags);
    if (hItem == NULL || !(nFlags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)))
        return NULL;
    SelectItem(hItem);
    return hItem;
}

CString CSolutionBarProjTree::GetItemPath(HTREEITEM hItem)
{
    if (hItem == NULL)
        hItem = ItemUnderCursor();
    const TreeNodeInfo* pNode = GetNode(hItem);
    return pNode != NULL ? CString(pNode->pathname) : CString();
}

void CSolutionBarProjTree::OpenEntry(HTREEITEM hItem)
{
    const TreeNodeInfo* pNode = GetNode(hItem);
    if (pNode == NULL || pNode->nFolder || pNode->pathname[0] == '\0')
        return;
    CString strPath = pNode->pathname;
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->OpenWorkspaceEntry(strPath);
}

void CSolutionBarProjTree::OnDblClk(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (HTREEITEM hItem = ItemUnderCursor())
        OpenEntry(hItem);
}

void CSolutionBarProjTree::OnClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    CString strPath = GetItemPath(NULL);
    if (!strPath.IsEmpty())
        if (IEditorFrame* pFrame = GetEditorFrame())
            pFrame->ActivateFileWindow(strPath);
}

void CSolutionBarProjTree::OnOpenEntry()
{
    OpenEntry(GetSelectedItem());
}

void CSolutionBarProjTree::OnRemoveEntry()
{
    HTREEITEM hItem = GetSelectedItem();
    // The root folder stays (Delete Folder refuses it too).
    if (hItem == NULL || GetParentItem(hItem) == NULL)
        return;
    DeleteBranch(hItem);
    SetModified(TRUE);
}

void CSolutionBarProjTree::OnFileProperties()
{
    CString strPath = GetItemPath(NULL);
    if (strPath.IsEmpty())
        strPath = GetItemPath(GetSelectedItem());
    if (strPath.IsEmpty())
        return;
    CFileInfoDialog dlg(strPath, this);
    dlg.DoModal();
}

void CSolutionBarProjTree::OnRButtonDown(UINT nFlags, CPoint point)
{
    UINT nHit = 0;
    HTREEITEM hItem = HitTest(point, &nHit);
    if (hItem != NULL) {
        SelectItem(hItem);
        const TreeNodeInfo* pNode = GetNode(hItem);
        if (pNode != NULL && !pNode->nFolder && TrackItemMenu(IDR_CONTEXT_PROJECT, point))
            return;
    }
    CBaseTreeCtrl::OnRButtonDown(nFlags, point);
}

// ===========================================================================
// CSolutionBarPTContainer

IMPLEMENT_DYNAMIC(CSolutionBarPTContainer, CWnd)

BEGIN_MESSAGE_MAP(CSolutionBarPTContainer, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_COMMAND(ID_WORKSPACE_ADD_FOLDER, OnAddFolder)
    ON_COMMAND(ID_WORKSPACE_DELETE_FOLDER, OnDeleteFolder)
    ON_COMMAND(ID_WORKSPACE_RENAME_FOLDER, OnRenameFolder)
    ON_UPDATE_COMMAND_UI_RANGE(ID_WORKSPACE_ADD_FOLDER, ID_WORKSPACE_RENAME_FOLDER, OnUpdateFolderCommand)
END_MESSAGE_MAP()

CSolutionBarPTContainer::CSolutionBarPTContainer() : m_pToolBar(NULL) {}

CSolutionBarPTContainer::~CSolutionBarPTContainer() = default;

BOOL CSolutionBarPTContainer::Create(CWnd* pParent, UINT nID)
{
    return CreatePaneChild(*this, pParent, nID, "Project Explorer");
}

int CSolutionBarPTContainer::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pToolBar = CreatePaneToolBar(this, IDR_TOOLBAR_PROJECT);
    if (!m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                       CRect(0, 0, 10, 10), this, 0))
        return -1;
    return 0;
}

void CSolutionBarPTContainer::OnDestroy()
{
    ReleasePaneToolBar(m_pToolBar);
    CWnd::OnDestroy();
}

void CSolutionBarPTContainer::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    LayoutPaneToolBar(m_pToolBar, &m_tree, cx, cy);
}

HTREEITEM CSolutionBarPTContainer::AddFile(LPCSTR lpszPath, HTREEITEM hParent, int nType, int nEncoding)
{
    if (m_tree.GetSafeHwnd() == NULL)
        return NULL;
    return m_tree.AddFile(lpszPath, hParent, nType, nEncoding);
}

void CSolutionBarPTContainer::OnAddFolder()
{
    if (m_tree.IsOpen())
        m_tree.AddFolder(NULL, NULL);
}

void CSolutionBarPTContainer::OnDeleteFolder()
{
    if (m_tree.IsOpen())
        m_tree.DeleteFolder();
}

void CSolutionBarPTContainer::OnRenameFolder()
{
    if (m_tree.IsOpen())
        m_tree.RenameFolder();
}

void CSolutionBarPTContainer::OnUpdateFolderCommand(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_tree.IsOpen());
}
