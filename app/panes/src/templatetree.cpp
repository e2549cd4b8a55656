// templatetree.cpp - the Template Explorer: the template files on disk, the
// tree over them and its pane.
#include "templatetree.h"

#include "apphelpers.h"
#include "editorframe.h"
#include "panewnd.h"
#include "scintillawrap.h"
#include "templatedlg.h"
#include "textfile.h"

#include "resource.h"

#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char kTopLabel[] = "Templates";
const char kNewFolder[] = "New Folder";
const char kAskDeleteFolder[] = "Delete this folder and all its sub items?";

CString JoinPath(const CString& strFolder, LPCSTR lpszName)
{
    CString strPath;
    strPath.Format("%s\\%s", (LPCSTR)strFolder, lpszName);
    return strPath;
}

void ReportBadName(LPCSTR lpszName)
{
    CString strMsg;
    strMsg.Format("\"%s\" cannot name a template: a name may not be \".\" or \"..\" nor hold any of \\ / : * ? \" < > |.",
                  lpszName);
    AfxMessageBox(strMsg, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

// ===========================================================================
// Files

CString GetTemplateFolder()
{
    return GetAppDataFolder() + "\\Templates";
}

CString ReadTemplateFile(LPCSTR lpszPath)
{
    HANDLE hFile = ::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return CString();
    std::vector<char> buffer(TEMPLATE_READ_MAX + 1, '\0');
    DWORD nTotal = 0;
    while (nTotal < TEMPLATE_READ_MAX) {
        DWORD nRead = 0;
        if (!::ReadFile(hFile, buffer.data() + nTotal, TEMPLATE_READ_MAX - nTotal, &nRead, NULL) || nRead == 0)
            break;
        nTotal += nRead;
    }
    ::CloseHandle(hFile);
    buffer[nTotal] = '\0';
    return CString(buffer.data());
}

BOOL IsValidTemplateName(LPCSTR lpszName)
{
    if (lpszName == NULL || *lpszName == '\0' || strcmp(lpszName, ".") == 0 || strcmp(lpszName, "..") == 0)
        return FALSE;
    for (const char* p = lpszName; *p != '\0'; ++p)
        if ((unsigned char)*p < 32 || strchr("\\/:*?\"<>|", *p) != NULL)
            return FALSE;
    return TRUE;
}

BOOL DeleteTemplatePath(LPCSTR lpszPath)
{
    if (lpszPath == NULL || *lpszPath == '\0')
        return FALSE;
    std::string from(lpszPath);
    from.append(2, '\0');
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    return ::SHFileOperationA(&op) == 0 && ::GetFileAttributesA(lpszPath) == INVALID_FILE_ATTRIBUTES;
}

BOOL FolderHoldsAnything(LPCSTR lpszPath)
{
    WIN32_FIND_DATAA data;
    HANDLE hFind = ::FindFirstFileA(JoinPath(lpszPath, "*"), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL bAny = FALSE;
    do {
        if (strcmp(data.cFileName, ".") != 0 && strcmp(data.cFileName, "..") != 0)
            bAny = TRUE;
    } while (!bAny && ::FindNextFileA(hFind, &data));
    ::FindClose(hFind);
    return bAny;
}

// ===========================================================================
// CSolutionBarTemplateTree

IMPLEMENT_DYNAMIC(CSolutionBarTemplateTree, CBaseTreeCtrl)

BEGIN_MESSAGE_MAP(CSolutionBarTemplateTree, CBaseTreeCtrl)
    ON_WM_CREATE()
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
    ON_WM_RBUTTONDOWN()
    ON_COMMAND(ID_TEMPLATE_ADD_TO_DOCUMENT, OnAddToDocument)
    ON_COMMAND(ID_TEMPLATE_COPY, OnCopy)
    ON_COMMAND(ID_TEMPLATE_CREATE, OnCreateTemplate)
    ON_COMMAND(ID_TEMPLATE_EDIT, OnEditTemplate)
    ON_COMMAND(ID_TEMPLATE_DELETE, OnDeleteTemplate)
    ON_COMMAND(ID_TEMPLATE_CREATE_FOLDER, OnCreateFolder)
    ON_COMMAND(ID_TEMPLATE_RENAME_FOLDER, OnRenameFolder)
    ON_COMMAND(ID_TEMPLATE_DELETE_FOLDER, OnDeleteFolder)
END_MESSAGE_MAP()

CSolutionBarTemplateTree::CSolutionBarTemplateTree() : m_strFolder(GetTemplateFolder()), m_bInsertAllowed(TRUE) {}

CSolutionBarTemplateTree::~CSolutionBarTemplateTree() = default;

BOOL CSolutionBarTemplateTree::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS |
                TVS_SINGLEEXPAND | TVS_FULLROWSELECT;
    return CBaseTreeCtrl::PreCreateWindow(cs);
}

int CSolutionBarTemplateTree::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CBaseTreeCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    FillFromFolder(NULL, m_strFolder, TRUE);
    return 0;
}

HTREEITEM CSolutionBarTemplateTree::InsertNode(HTREEITEM hParent, LPCSTR lpszName, LPCSTR lpszPath, BOOL bFolder)
{
    TreeNodeInfo* pNode = m_store.Add(lpszName, lpszPath, 0, 0, bFolder ? 1 : 0);
    int nImage = bFolder ? TEMPL_IMAGE_FOLDER : TEMPL_IMAGE_FILE;
    int nSelected = bFolder ? TEMPL_IMAGE_FOLDER_OPEN : TEMPL_IMAGE_FILE_SELECTED;
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, lpszName, nImage, nSelected, 0, 0,
                      (LPARAM)pNode, hParent, TVI_LAST);
}

BOOL CSolutionBarTemplateTree::FillFromFolder(HTREEITEM hParent, LPCSTR lpszFolder, BOOL bInsert)
{
    CString strFolder = lpszFolder != NULL ? lpszFolder : "";
    if (hParent == NULL) {
        m_bInsertAllowed = bInsert;
        m_strFolder = strFolder;
        if (GetImageList(TVSIL_NORMAL) == NULL)
            LoadImageList(IDB_TEMPLATE_TREE);
        DeleteAllItems();
        m_store.Clear();
        hParent = InsertNode(TVI_ROOT, kTopLabel, strFolder, TRUE);
    }
    if (strFolder.IsEmpty())
        return FALSE;
    WIN32_FIND_DATAA data;
    HANDLE hFind = ::FindFirstFileA(JoinPath(strFolder, "*"), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return TRUE;
    do {
        if (strcmp(data.cFileName, ".") == 0 || strcmp(data.cFileName, "..") == 0)
            continue;
        CString strPath = JoinPath(strFolder, data.cFileName);
        if (strPath.GetLength() >= (int)sizeof(TreeNodeInfo::pathname) || strlen(data.cFileName) >= sizeof(TreeNodeInfo::label))
            continue; // a record could not hold it
        BOOL bFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        HTREEITEM hItem = InsertNode(hParent, data.cFileName, strPath, bFolder);
        if (hItem != NULL && bFolder)
            FillFromFolder(hItem, strPath, bInsert);
    } while (::FindNextFileA(hFind, &data));
    ::FindClose(hFind);
    return TRUE;
}

HTREEITEM CSolutionBarTemplateTree::TargetFolder() const
{
    HTREEITEM hItem = GetSelectedItem();
    if (hItem == NULL)
        return GetRootItem();
    if (!IsFolderItem(hItem))
        hItem = GetParentItem(hItem);
    return hItem != NULL ? hItem : GetRootItem();
}

HTREEITEM CSolutionBarTemplateTree::FindChild(HTREEITEM hParent, LPCSTR lpszName) const
{
    for (HTREEITEM h = GetChildItem(hParent); h != NULL; h = GetNextSiblingItem(h)) {
        const TreeNodeInfo* pNode = GetNode(h);
        if (pNode != NULL && ::lstrcmpiA(pNode->label, lpszName) == 0)
            return h;
    }
    return NULL;
}

// --- inserting --------------------------------------------------------------------

BOOL CSolutionBarTemplateTree::AddToDocument()
{
    HTREEITEM hItem = GetSelectedItem();
    IEditorFrame* pFrame = GetEditorFrame();
    CMFCScintilla* pEditor = pFrame != NULL ? pFrame->GetCurrentEditor() : NULL;
    if (pEditor == NULL || !IsFileItem(hItem))
        return FALSE;
    pEditor->InsertTemplateText(ReadTemplateFile(GetNode(hItem)->pathname));
    return TRUE;
}

BOOL CSolutionBarTemplateTree::CopyToClipboard()
{
    HTREEITEM hItem = GetSelectedItem();
    if (!IsFileItem(hItem))
        return FALSE;
    CString strText = ReadTemplateFile(GetNode(hItem)->pathname);
    if (!OpenClipboard())
        return FALSE;
    ::EmptyClipboard();
    HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)strText.GetLength() + 1);
    BOOL bDone = FALSE;
    if (hData != NULL) {
        memcpy(::GlobalLock(hData), strText.GetString(), (size_t)strText.GetLength() + 1);
        ::GlobalUnlock(hData);
        bDone = ::SetClipboardData(CF_TEXT, hData) != NULL;
        if (!bDone)
            ::GlobalFree(hData);
    }
    ::CloseClipboard();
    return bDone;
}

// --- creating and editing -------------------------------------------------------------

HTREEITEM CSolutionBarTemplateTree::CreateTemplate(LPCSTR lpszName, LPCSTR lpszText)
{
    if (!IsValidTemplateName(lpszName)) {
        ReportBadName(lpszName != NULL ? lpszName : "");
        return NULL;
    }
    HTREEITEM hFolder = TargetFolder();
    const TreeNodeInfo* pFolder = GetNode(hFolder);
    if (pFolder == NULL || pFolder->pathname[0] == '\0')
        return NULL;
    CString strPath = JoinPath(pFolder->pathname, lpszName);
    if (FindChild(hFolder, lpszName) != NULL || ::GetFileAttributesA(strPath) != INVALID_FILE_ATTRIBUTES) {
        CString strMsg;
        strMsg.Format("There is already a template or folder named \"%s\" there.", lpszName);
        AfxMessageBox(strMsg, MB_OK | MB_ICONEXCLAMATION);
        return NULL;
    }
    if (strPath.GetLength() >= (int)sizeof(TreeNodeInfo::pathname))
        return NULL;
    size_t nLength = lpszText != NULL ? strlen(lpszText) : 0;
    // CREATE_NEW: a file made meanwhile by someone else is not overwritten.
    HANDLE hFile = ::CreateFileA(strPath, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return NULL;
    DWORD nWritten = 0;
    BOOL bOk = nLength == 0 || (::WriteFile(hFile, lpszText, (DWORD)nLength, &nWritten, NULL) && nWritten == nLength);
    ::CloseHandle(hFile);
    if (!bOk) {
        ::DeleteFileA(strPath);
        return NULL;
    }
    HTREEITEM hItem = InsertNode(hFolder, lpszName, strPath, FALSE);
    SetModified(TRUE);
    return hItem;
}

void CSolutionBarTemplateTree::AskCreateTemplate(LPCSTR lpszText)
{
    CTemplateManager dlg("", lpszText != NULL ? lpszText : "", this);
    if (dlg.DoModal() == IDOK)
        CreateTemplate(dlg.GetName(), dlg.GetText());
}

BOOL CSolutionBarTemplateTree::EditTemplate(LPCSTR lpszName, LPCSTR lpszText)
{
    HTREEITEM hItem = GetSelectedItem();
    if (!IsFileItem(hItem))
        return FALSE;
    if (strcmp(GetNode(hItem)->label, lpszName) != 0) {
        if (!IsValidTemplateName(lpszName)) {
            ReportBadName(lpszName);
            return FALSE;
        }
        if (!Rename(hItem, lpszName))
            return FALSE;
    }
    size_t nLength = lpszText != NULL ? strlen(lpszText) : 0;
    return WriteFileSafely(GetNode(hItem)->pathname, lpszText != NULL ? lpszText : "", nLength);
}

void CSolutionBarTemplateTree::UpdatePathsBelow(HTREEITEM hItem)
{
    const TreeNodeInfo* pParent = GetNode(hItem);
    if (pParent == NULL)
        return;
    for (HTREEITEM h = GetChildItem(hItem); h != NULL; h = GetNextSiblingItem(h)) {
        TreeNodeInfo* pNode = reinterpret_cast<TreeNodeInfo*>(GetItemData(h));
        if (pNode == NULL)
            continue;
        pNode->SetPath(JoinPath(pParent->pathname, pNode->label));
        UpdatePathsBelow(h);
    }
}

BOOL CSolutionBarTemplateTree::Rename(HTREEITEM hItem, LPCSTR lpszName)
{
    TreeNodeInfo* pNode = hItem != NULL ? reinterpret_cast<TreeNodeInfo*>(GetItemData(hItem)) : NULL;
    HTREEITEM hParent = hItem != NULL ? GetParentItem(hItem) : NULL;
    const TreeNodeInfo* pParent = GetNode(hParent);
    CString strName = lpszName != NULL ? lpszName : "";
    if (strName.IsEmpty() && hItem != NULL) {
        EditLabel(hItem);
        return FALSE;
    }
    CString strNewPath = pParent != NULL ? JoinPath(pParent->pathname, strName) : CString();
    BOOL bOk = pNode != NULL && pParent != NULL && IsValidTemplateName(strName) &&
               strNewPath.GetLength() < (int)sizeof(pNode->pathname) && strName.GetLength() < (int)sizeof(pNode->label);
    if (bOk && strNewPath.Compare(pNode->pathname) != 0)
        bOk = ::MoveFileA(pNode->pathname, strNewPath);
    if (!bOk) {
        if (pNode != NULL)
            SetItemText(hItem, pNode->label);
        ::MessageBeep((UINT)-1);
        return FALSE;
    }
    pNode->SetLabel(strName);
    pNode->SetPath(strNewPath);
    SetItemText(hItem, strName);
    UpdatePathsBelow(hItem);
    SetModified(TRUE);
    return TRUE;
}

void CSolutionBarTemplateTree::RenameItem(HTREEITEM hItem, LPCSTR lpszText, int)
{
    Rename(hItem, lpszText);
}

void CSolutionBarTemplateTree::CopyItemData(HTREEITEM, HTREEITEM hNewItem, DWORD_PTR dwData)
{
    const TreeNodeInfo* pOld = reinterpret_cast<const TreeNodeInfo*>(dwData);
    SetItemData(hNewItem, pOld != NULL ? (DWORD_PTR)m_store.Copy(*pOld) : 0);
}

// --- folders and deleting -------------------------------------------------------------

HTREEITEM CSolutionBarTemplateTree::CreateFolder()
{
    HTREEITEM hFolder = TargetFolder();
    const TreeNodeInfo* pFolder = GetNode(hFolder);
    if (pFolder == NULL || pFolder->pathname[0] == '\0')
        return NULL;
    CString strPath = JoinPath(pFolder->pathname, kNewFolder);
    if (strPath.GetLength() >= (int)sizeof(TreeNodeInfo::pathname) || !::CreateDirectoryA(strPath, NULL))
        return NULL;
    HTREEITEM hItem = InsertNode(hFolder, kNewFolder, strPath, TRUE);
    if (hItem == NULL)
        return NULL;
    SetModified(TRUE);
    SelectItem(hItem);
    SetFocus();
    EditLabel(hItem);
    return hItem;
}

void CSolutionBarTemplateTree::DeleteFolder()
{
    HTREEITEM hItem = GetSelectedItem();
    if (!IsFolderItem(hItem))
        return;
    if (GetParentItem(hItem) == NULL) {
        AfxMessageBox(IDS_TEMPLATE_FOLDER_KEEP, MB_OK | MB_ICONINFORMATION);
        return;
    }
    CString strPath = GetNode(hItem)->pathname;
    // What the folder holds on disk counts, not what the tree shows.
    if ((ItemHasChildren(hItem) || FolderHoldsAnything(strPath)) &&
        AfxMessageBox(kAskDeleteFolder, MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK)
        return;
    if (!DeleteTemplatePath(strPath))
        return;
    DeleteBranch(hItem);
    SetModified(TRUE);
}

void CSolutionBarTemplateTree::DeleteTemplate()
{
    HTREEITEM hItem = GetSelectedItem();
    const TreeNodeInfo* pNode = GetNode(hItem);
    if (pNode == NULL) {
        ::MessageBeep((UINT)-1);
        return;
    }
    if (pNode->nFolder)
        return;
    CString strMsg;
    strMsg.Format("Are you sure you want to delete '%s'?", (LPCSTR)GetItemText(hItem));
    if (AfxMessageBox(strMsg, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!DeleteTemplatePath(pNode->pathname))
        return;
    DeleteItem(hItem);
    SetModified(TRUE);
}

// --- messages -------------------------------------------------------------------------

void CSolutionBarTemplateTree::OnDblClk(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (m_bInsertAllowed)
        AddToDocument();
}

void CSolutionBarTemplateTree::OnRButtonDown(UINT nFlags, CPoint point)
{
    UINT nHit = 0;
    HTREEITEM hItem = HitTest(point, &nHit);
    if (hItem != NULL) {
        SelectItem(hItem);
        // The commands go to this tree: 32786 is also the text view's Delete Word.
        const TreeNodeInfo* pNode = GetNode(hItem);
        if (pNode != NULL &&
            TrackItemMenu(pNode->nFolder ? IDR_CONTEXT_TEMPLATE_FOLDER : IDR_CONTEXT_TEMPLATE_FILE, point,
                          ID_TEMPLATE_ADD_TO_DOCUMENT))
            return;
    }
    CBaseTreeCtrl::OnRButtonDown(nFlags, point);
}

void CSolutionBarTemplateTree::OnAddToDocument()
{
    AddToDocument();
}

void CSolutionBarTemplateTree::OnCopy()
{
    CopyToClipboard();
}

void CSolutionBarTemplateTree::OnCreateTemplate()
{
    AskCreateTemplate("");
}

void CSolutionBarTemplateTree::OnEditTemplate()
{
    HTREEITEM hItem = GetSelectedItem();
    if (!IsFileItem(hItem))
        return;
    CTemplateManager dlg(GetNode(hItem)->label, ReadTemplateFile(GetNode(hItem)->pathname), this);
    if (dlg.DoModal() == IDOK)
        EditTemplate(dlg.GetName(), dlg.GetText());
}

void CSolutionBarTemplateTree::OnDeleteTemplate()
{
    DeleteTemplate();
}

void CSolutionBarTemplateTree::OnCreateFolder()
{
    CreateFolder();
}

void CSolutionBarTemplateTree::OnRenameFolder()
{
    HTREEITEM hItem = GetSelectedItem();
    if (!IsFolderItem(hItem) || GetParentItem(hItem) == NULL) {
        ::MessageBeep((UINT)-1);
        return;
    }
    SetFocus();
    EditLabel(hItem);
}

void CSolutionBarTemplateTree::OnDeleteFolder()
{
    DeleteFolder();
}

// ===========================================================================
// CSolutionBarTEContainer

IMPLEMENT_DYNAMIC(CSolutionBarTEContainer, CWnd)

BEGIN_MESSAGE_MAP(CSolutionBarTEContainer, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CSolutionBarTEContainer::Create(CWnd* pParent, UINT nID)
{
    return CreatePaneChild(*this, pParent, nID, "Template Explorer");
}

int CSolutionBarTEContainer::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    return m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_EDITLABELS, CRect(0, 0, 10, 10), this, 0) ? 0 : -1;
}

void CSolutionBarTEContainer::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_tree.GetSafeHwnd() != NULL)
        m_tree.MoveWindow(0, 0, cx, cy);
}
