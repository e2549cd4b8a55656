// filesystree.cpp - the File Explorer tree over the shell namespace.
#include "filesystree.h"
#include "panewnd.h"

#include "apphelpers.h"
#include "editorframe.h"
#include "filedialogs.h"

#include <shlwapi.h>

#include <vector>

#include "resource.h"

namespace {

// Everything a watcher thread needs; it owns the record.
struct WatcherStart {
    HANDLE hChange; // the folder's change notification; the thread closes it
    HWND hTree;
    HANDLE hKill;
    HANDLE hDead;
    UINT nGeneration;
};

CString Utf8(const wchar_t* psz)
{
    if (psz == NULL || *psz == L'\0')
        return CString();
    int n = ::WideCharToMultiByte(CP_UTF8, 0, psz, -1, NULL, 0, NULL, NULL);
    if (n <= 1)
        return CString();
    std::vector<char> out((size_t)n);
    ::WideCharToMultiByte(CP_UTF8, 0, psz, -1, out.data(), n, NULL, NULL);
    return CString(out.data());
}

std::wstring WideOf(const CString& text)
{
    int n = ::MultiByteToWideChar(CP_UTF8, 0, text.GetString(), -1, NULL, 0);
    if (n <= 1)
        return std::wstring();
    std::wstring out((size_t)n, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.GetString(), -1, &out[0], n);
    out.resize((size_t)n - 1);
    return out;
}

std::wstring NameOf(IShellFolder* pFolder, LPCITEMIDLIST pidl, SHGDNF uFlags)
{
    STRRET str;
    if (FAILED(pFolder->GetDisplayNameOf(pidl, uFlags, &str)))
        return std::wstring();
    LPWSTR psz = NULL;
    if (FAILED(::StrRetToStrW(&str, pidl, &psz)) || psz == NULL)
        return std::wstring();
    std::wstring name = psz;
    ::CoTaskMemFree(psz);
    return name;
}

// The name that tells the children of one folder apart.
std::wstring ParsingName(IShellFolder* pFolder, LPCITEMIDLIST pidl)
{
    return NameOf(pFolder, pidl, SHGDN_INFOLDER | SHGDN_FORPARSING);
}

SFGAOF AttributesOf(IShellFolder* pFolder, LPCITEMIDLIST pidl, SFGAOF sfgaoWanted)
{
    SFGAOF sfgao = sfgaoWanted;
    if (FAILED(pFolder->GetAttributesOf(1, &pidl, &sfgao)))
        return 0;
    return sfgao;
}

// Whether a child folder lists at least one item.
BOOL FolderHasItems(IShellFolder* pFolder, LPCITEMIDLIST pidl, HWND hOwner)
{
    IShellFolder* pChild = NULL;
    if (FAILED(pFolder->BindToObject(pidl, NULL, IID_IShellFolder, (void**)&pChild)) || pChild == NULL)
        return FALSE;
    BOOL bAny = FALSE;
    IEnumIDList* pEnum = NULL;
    if (SUCCEEDED(pChild->EnumObjects(hOwner, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &pEnum)) && pEnum != NULL) {
        LPITEMIDLIST pidlChild = NULL;
        ULONG nGot = 0;
        if (pEnum->Next(1, &pidlChild, &nGot) == S_OK && nGot == 1) {
            bAny = TRUE;
            ::CoTaskMemFree(pidlChild);
        }
        pEnum->Release();
    }
    pChild->Release();
    return bAny;
}

// Whether an item shows an expand button.
BOOL HasChildrenButton(IShellFolder* pFolder, LPCITEMIDLIST pidl, HWND hOwner)
{
    SFGAOF sfgao = AttributesOf(pFolder, pidl, SFGAO_HASSUBFOLDER | SFGAO_FOLDER);
    if (sfgao & SFGAO_HASSUBFOLDER)
        return TRUE;
    return (sfgao & SFGAO_FOLDER) && FolderHasItems(pFolder, pidl, hOwner);
}

int IconOf(LPCITEMIDLIST pidlAbsolute, UINT uExtra)
{
    SHFILEINFOW sfi = {};
    if (!::SHGetFileInfoW((LPCWSTR)pidlAbsolute, 0, &sfi, sizeof(sfi),
                          SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | uExtra))
        return 0;
    return sfi.iIcon;
}

int CALLBACK CompareItems(LPARAM lParam1, LPARAM lParam2, LPARAM)
{
    const CFileSysItem* pA = reinterpret_cast<const CFileSysItem*>(lParam1);
    const CFileSysItem* pB = reinterpret_cast<const CFileSysItem*>(lParam2);
    if (pA == NULL || pB == NULL || pA->pParentFolder == NULL)
        return 0;
    HRESULT hr = pA->pParentFolder->CompareIDs(0, pA->pidlRelative, pB->pidlRelative);
    return FAILED(hr) ? 0 : (short)HRESULT_CODE(hr);
}

// The wait cursor for the life of the object.
class CWaitCursorScope {
public:
    CWaitCursorScope() : m_hOld(::SetCursor(::LoadCursor(NULL, IDC_WAIT))) {}
    ~CWaitCursorScope() { ::SetCursor(m_hOld); }

private:
    HCURSOR m_hOld;
};

} // namespace

IMPLEMENT_DYNAMIC(CFileSysTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(CFileSysTreeCtrl, CTreeCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGA, OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGW, OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDA, OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDW, OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_DELETEITEMA, OnDeleteItem)
    ON_NOTIFY_REFLECT(TVN_DELETEITEMW, OnDeleteItem)
    ON_NOTIFY_REFLECT(TVN_GETDISPINFOA, OnGetDispInfo)
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRightClick)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDoubleClick)
    ON_MESSAGE(WM_FILETREE_CHANGED, OnFolderChanged)
    ON_COMMAND(ID_FILE_OPEN, OnOpen)
    ON_COMMAND(ID_FILE_OPEN_HEX, OnOpenAsHex)
    ON_COMMAND(ID_FILE_COPY_PATH, OnCopyPath)
    ON_COMMAND(ID_FILE_OPEN_IN_EXPLORER, OnOpenInExplorer)
    ON_COMMAND(ID_FILE_PROPERTIES, OnProperties)
END_MESSAGE_MAP()

CFileSysTreeCtrl::CFileSysTreeCtrl()
    : m_bFilled(FALSE), m_bRefreshing(FALSE), m_bWatcherRunning(FALSE), m_hWatchedItem(NULL), m_hKillEvent(NULL),
      m_hDeadEvent(NULL), m_nGeneration(0), m_pDesktop(NULL)
{
}

CFileSysTreeCtrl::~CFileSysTreeCtrl()
{
    if (m_pDesktop != NULL)
        m_pDesktop->Release();
}

BOOL CFileSysTreeCtrl::Create(CWnd* pParent, UINT nID)
{
    return CTreeCtrl::Create(WS_CHILD | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                 TVS_SHOWSELALWAYS,
                             CRect(0, 0, 10, 10), pParent, nID);
}

int CFileSysTreeCtrl::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CTreeCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    // Manual reset, clear; this tree's own.
    m_hKillEvent = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    m_hDeadEvent = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    return m_hKillEvent != NULL && m_hDeadEvent != NULL ? 0 : -1;
}

void CFileSysTreeCtrl::OnDestroy()
{
    BOOL bEnded = StopWatcher();
    // The items' records go with the items, while the window still reflects
    // their notifications to this object.
    m_bRefreshing = TRUE;
    DeleteAllItems();
    CTreeCtrl::OnDestroy();
    if (bEnded) {
        if (m_hKillEvent != NULL)
            ::CloseHandle(m_hKillEvent);
        if (m_hDeadEvent != NULL)
            ::CloseHandle(m_hDeadEvent);
        m_hKillEvent = m_hDeadEvent = NULL;
    }
}

// --- filling ------------------------------------------------------------------

void CFileSysTreeCtrl::Fill()
{
    if (m_bFilled || m_hWnd == NULL)
        return;
    CWaitCursorScope wait;
    if (m_pDesktop == NULL && FAILED(::SHGetDesktopFolder(&m_pDesktop)))
        return;
    // The system's small icons, as the shell lists them for the desktop.
    LPITEMIDLIST pidlDesktop = NULL;
    if (SUCCEEDED(::SHGetSpecialFolderLocation(NULL, CSIDL_DESKTOP, &pidlDesktop))) {
        SHFILEINFOW sfi = {};
        HIMAGELIST hImages = (HIMAGELIST)::SHGetFileInfoW((LPCWSTR)pidlDesktop, 0, &sfi, sizeof(sfi),
                                                          SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        if (hImages != NULL)
            SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, (LPARAM)hImages);
        ::CoTaskMemFree(pidlDesktop);
    }
    m_bFilled = TRUE;
    InsertChildren(TVI_ROOT, m_pDesktop, NULL, NULL);
    SortChildrenOf(TVI_ROOT);
    HTREEITEM hFirst = GetRootItem();
    if (hFirst != NULL) {
        Expand(hFirst, TVE_EXPAND);
        SelectItem(hFirst);
    }
}

int CFileSysTreeCtrl::InsertChildren(HTREEITEM hParent, IShellFolder* pFolder, LPCITEMIDLIST pidlParent,
                                     const std::set<std::wstring>* pSkip)
{
    IEnumIDList* pEnum = NULL;
    if (FAILED(pFolder->EnumObjects(m_hWnd, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &pEnum)) || pEnum == NULL)
        return 0;
    int nInserted = 0;
    LPITEMIDLIST pidl = NULL;
    ULONG nGot = 0;
    while (pEnum->Next(1, &pidl, &nGot) == S_OK && nGot == 1) {
        SFGAOF sfgao = AttributesOf(pFolder, pidl, SFGAO_HASSUBFOLDER | SFGAO_FOLDER | SFGAO_LINK);
        if ((sfgao & SFGAO_LINK) || (pSkip != NULL && pSkip->count(ParsingName(pFolder, pidl)) != 0)) {
            ::CoTaskMemFree(pidl);
            continue;
        }
        LPITEMIDLIST pidlAbsolute = pidlParent != NULL ? ::ILCombine(pidlParent, pidl) : ::ILClone(pidl);
        if (pidlAbsolute == NULL) {
            ::CoTaskMemFree(pidl);
            continue;
        }
        CFileSysItem* pItem = new CFileSysItem;
        pItem->pParentFolder = pFolder;
        pFolder->AddRef();
        pItem->pidlAbsolute = pidlAbsolute;
        pItem->pidlRelative = pidl;

        CString strName = Utf8(NameOf(pFolder, pidl, SHGDN_NORMAL).c_str());
        TVINSERTSTRUCTA tvis = {};
        tvis.hParent = hParent;
        tvis.hInsertAfter = TVI_LAST;
        tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
        tvis.item.pszText = const_cast<LPSTR>(strName.GetString());
        // Icons are looked up when the item shows (a folder of thousands
        // of files would otherwise wait for all of theirs).
        tvis.item.iImage = I_IMAGECALLBACK;
        tvis.item.iSelectedImage = I_IMAGECALLBACK;
        tvis.item.lParam = (LPARAM)pItem;
        tvis.item.cChildren =
            (sfgao & SFGAO_HASSUBFOLDER) || ((sfgao & SFGAO_FOLDER) && FolderHasItems(pFolder, pidl, m_hWnd)) ? 1 : 0;
        if (InsertItem(&tvis) == NULL) {
            pFolder->Release();
            ::CoTaskMemFree(pidlAbsolute);
            ::CoTaskMemFree(pidl);
            delete pItem;
            continue;
        }
        ++nInserted;
    }
    pEnum->Release();
    return nInserted;
}

void CFileSysTreeCtrl::SortChildrenOf(HTREEITEM hParent)
{
    TVSORTCB sort = {};
    sort.hParent = hParent;
    sort.lpfnCompare = &CompareItems;
    SendMessage(TVM_SORTCHILDRENCB, 0, (LPARAM)&sort);
}

IShellFolder* CFileSysTreeCtrl::BindItemFolder(HTREEITEM hItem) const
{
    const CFileSysItem* pItem = hItem != NULL ? reinterpret_cast<const CFileSysItem*>(GetItemData(hItem)) : NULL;
    if (pItem == NULL)
        return NULL;
    IShellFolder* pFolder = NULL;
    if (FAILED(pItem->pParentFolder->BindToObject(pItem->pidlRelative, NULL, IID_IShellFolder, (void**)&pFolder)))
        return NULL;
    return pFolder;
}

void CFileSysTreeCtrl::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const NMTREEVIEWA* pNMTV = reinterpret_cast<const NMTREEVIEWA*>(pNMHDR);
    HTREEITEM hItem = pNMTV->itemNew.hItem;
    if ((pNMTV->action & TVE_EXPAND) == 0 || hItem == NULL ||
        (GetItemState(hItem, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE))
        return;
    CWaitCursorScope wait;
    BOOL bWatching = m_bWatcherRunning;
    if (bWatching && !StopWatcher())
        bWatching = FALSE;
    const CFileSysItem* pItem = reinterpret_cast<const CFileSysItem*>(GetItemData(hItem));
    IShellFolder* pFolder = BindItemFolder(hItem);
    int nInserted = 0;
    if (pFolder != NULL && pItem != NULL) {
        nInserted = InsertChildren(hItem, pFolder, pItem->pidlAbsolute, NULL);
        SortChildrenOf(hItem);
        pFolder->Release();
    }
    if (nInserted == 0)
        SetChildrenButton(hItem, FALSE); // nothing to show: no button either
    if (bWatching)
        StartWatcher();
}

void CFileSysTreeCtrl::OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    CFileSysItem* pItem = reinterpret_cast<CFileSysItem*>(reinterpret_cast<NMTREEVIEWA*>(pNMHDR)->itemOld.lParam);
    if (pItem == NULL)
        return;
    if (pItem->pParentFolder != NULL)
        pItem->pParentFolder->Release();
    ::CoTaskMemFree(pItem->pidlAbsolute);
    ::CoTaskMemFree(pItem->pidlRelative);
    delete pItem;
}

void CFileSysTreeCtrl::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    TVITEMA& item = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR)->item;
    const CFileSysItem* pItem = reinterpret_cast<const CFileSysItem*>(item.lParam);
    if (pItem == NULL || (item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)) == 0)
        return;
    // Both icons at once, kept by the tree from then on.
    item.iImage = IconOf(pItem->pidlAbsolute, 0);
    item.iSelectedImage = IconOf(pItem->pidlAbsolute, SHGFI_OPENICON);
    item.mask |= TVIF_DI_SETITEM;
}

// --- refreshing ---------------------------------------------------------------

void CFileSysTreeCtrl::RefreshChildren(HTREEITEM hParent, IShellFolder* pFolder, LPCITEMIDLIST pidlParent,
                                       BOOL bRecursive)
{
    // What the folder holds now.
    std::set<std::wstring> present;
    IEnumIDList* pEnum = NULL;
    if (SUCCEEDED(pFolder->EnumObjects(m_hWnd, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &pEnum)) && pEnum != NULL) {
        LPITEMIDLIST pidl = NULL;
        ULONG nGot = 0;
        while (pEnum->Next(1, &pidl, &nGot) == S_OK && nGot == 1) {
            present.insert(ParsingName(pFolder, pidl));
            ::CoTaskMemFree(pidl);
        }
        pEnum->Release();
    }

    std::set<std::wstring> shown;
    HTREEITEM hChild = hParent == TVI_ROOT ? GetRootItem() : GetChildItem(hParent);
    while (hChild != NULL) {
        HTREEITEM hNext = GetNextSiblingItem(hChild);
        const CFileSysItem* pItem = reinterpret_cast<const CFileSysItem*>(GetItemData(hChild));
        std::wstring name = pItem != NULL ? ParsingName(pItem->pParentFolder, pItem->pidlRelative) : std::wstring();
        if (pItem == NULL || present.count(name) == 0) {
            DeleteItem(hChild);
            hChild = hNext;
            continue;
        }
        shown.insert(name);
        BOOL bButton = HasChildrenButton(pItem->pParentFolder, pItem->pidlRelative, m_hWnd);
        BOOL bExpanded = (GetItemState(hChild, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
        BOOL bFilledOnce = (GetItemState(hChild, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) != 0;
        if (!bButton) {
            if (bFilledOnce)
                Expand(hChild, TVE_COLLAPSE | TVE_COLLAPSERESET);
        } else if (bExpanded && bRecursive) {
            RefreshItem(hChild, TRUE);
        } else if (bFilledOnce) {
            Expand(hChild, TVE_COLLAPSE | TVE_COLLAPSERESET);
        }
        SetChildrenButton(hChild, bButton);
        hChild = hNext;
    }
    if (InsertChildren(hParent, pFolder, pidlParent, &shown) > 0)
        SortChildrenOf(hParent);
    if (hParent != TVI_ROOT)
        SetChildrenButton(hParent, GetChildItem(hParent) != NULL);
}

void CFileSysTreeCtrl::SetChildrenButton(HTREEITEM hItem, BOOL bButton)
{
    TVITEMA item = {};
    item.mask = TVIF_CHILDREN;
    item.hItem = hItem;
    item.cChildren = bButton ? 1 : 0;
    SetItem(&item);
}

void CFileSysTreeCtrl::RefreshItem(HTREEITEM hItem, BOOL bRecursive)
{
    const CFileSysItem* pItem = hItem != NULL ? reinterpret_cast<const CFileSysItem*>(GetItemData(hItem)) : NULL;
    if (pItem == NULL)
        return;
    if ((GetItemState(hItem, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) == 0) {
        // Not listed yet: only its button follows (a first file in an
        // empty folder gives it one).
        SetChildrenButton(hItem, HasChildrenButton(pItem->pParentFolder, pItem->pidlRelative, m_hWnd));
        return;
    }
    IShellFolder* pFolder = BindItemFolder(hItem);
    if (pFolder == NULL)
        return;
    RefreshChildren(hItem, pFolder, pItem->pidlAbsolute, bRecursive);
    pFolder->Release();
}

void CFileSysTreeCtrl::RefreshAll()
{
    if (!m_bFilled) {
        Fill();
        return;
    }
    if (m_pDesktop == NULL)
        return;
    CWaitCursorScope wait;
    BOOL bWatching = m_bWatcherRunning;
    if (bWatching && !StopWatcher())
        bWatching = FALSE;
    m_bRefreshing = TRUE;
    RefreshChildren(TVI_ROOT, m_pDesktop, NULL, TRUE);
    m_bRefreshing = FALSE;
    // The refresh may have deleted the selected item.
    if (m_hWatchedItem != GetSelectedItem())
        m_hWatchedItem = GetSelectedItem();
    if (bWatching || m_hWatchedItem != NULL)
        StartWatcher();
}

LRESULT CFileSysTreeCtrl::OnFolderChanged(WPARAM wParam, LPARAM)
{
    // A burst of changes is one refresh.
    MSG msg;
    while (::PeekMessageA(&msg, m_hWnd, WM_FILETREE_CHANGED, WM_FILETREE_CHANGED, PM_REMOVE))
        wParam = msg.wParam;
    if ((UINT)wParam != m_nGeneration || !m_bWatcherRunning || m_hWatchedItem == NULL)
        return 0;
    m_bRefreshing = TRUE;
    RefreshItem(m_hWatchedItem, FALSE);
    m_bRefreshing = FALSE;
    return 0;
}

// --- the watcher --------------------------------------------------------------

CString CFileSysTreeCtrl::GetItemPath(HTREEITEM hItem) const
{
    const CFileSysItem* pItem = hItem != NULL ? reinterpret_cast<const CFileSysItem*>(GetItemData(hItem)) : NULL;
    if (pItem == NULL)
        return CString();
    // Paths of any length.
    std::vector<wchar_t> buffer(32768, L'\0');
    if (!::SHGetPathFromIDListEx(pItem->pidlAbsolute, buffer.data(), (DWORD)buffer.size(), GPFIDL_DEFAULT) &&
        !::SHGetPathFromIDListW(pItem->pidlAbsolute, buffer.data()))
        return CString();
    return Utf8(buffer.data());
}

void CFileSysTreeCtrl::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    m_hWatchedItem = reinterpret_cast<NMTREEVIEWA*>(pNMHDR)->itemNew.hItem;
    if (m_bRefreshing)
        return;
    if (!StopWatcher())
        return; // the old one still runs: no second one
    StartWatcher();
}

void CFileSysTreeCtrl::StartWatcher()
{
    if (m_bWatcherRunning || m_hWatchedItem == NULL || m_hKillEvent == NULL || m_hDeadEvent == NULL)
        return;
    CString strPath = GetItemPath(m_hWatchedItem);
    if (strPath.GetLength() <= 1)
        return; // nothing on disk to watch
    DWORD dwAttrs = ::GetFileAttributesW(WideOf(strPath).c_str());
    if (dwAttrs == INVALID_FILE_ATTRIBUTES || (dwAttrs & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return; // a file: its folder is its parent's business
    // Armed here, so a change right after the selection is seen.
    HANDLE hChange = ::FindFirstChangeNotificationW(WideOf(strPath).c_str(), FALSE,
                                                    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME);
    if (hChange == INVALID_HANDLE_VALUE)
        return;
    ::ResetEvent(m_hKillEvent);
    ::ResetEvent(m_hDeadEvent);
    WatcherStart* pStart = new WatcherStart;
    pStart->hChange = hChange;
    pStart->hTree = m_hWnd;
    pStart->hKill = m_hKillEvent;
    pStart->hDead = m_hDeadEvent;
    pStart->nGeneration = ++m_nGeneration;
    if (AfxBeginThread(&CFileSysTreeCtrl::WatchThread, pStart) == NULL) {
        ::FindCloseChangeNotification(hChange);
        delete pStart;
        return;
    }
    m_bWatcherRunning = TRUE;
}

BOOL CFileSysTreeCtrl::StopWatcher()
{
    if (!m_bWatcherRunning)
        return TRUE;
    ::SetEvent(m_hKillEvent);
    // The watcher never waits for this thread, so it ends at once.
    if (::WaitForSingleObject(m_hDeadEvent, 10000) != WAIT_OBJECT_0)
        return FALSE;
    m_bWatcherRunning = FALSE;
    ::ResetEvent(m_hKillEvent);
    ::ResetEvent(m_hDeadEvent);
    return TRUE;
}

UINT AFX_CDECL CFileSysTreeCtrl::WatchThread(LPVOID pParam)
{
    WatcherStart* pStart = static_cast<WatcherStart*>(pParam);
    HANDLE hChange = pStart->hChange;
    HANDLE handles[2] = {pStart->hKill, hChange};
    for (;;) {
        DWORD dwWait = ::WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (dwWait != WAIT_OBJECT_0 + 1)
            break;
        ::PostMessageA(pStart->hTree, WM_FILETREE_CHANGED, (WPARAM)pStart->nGeneration, 0);
        if (!::FindNextChangeNotification(hChange))
            break;
    }
    ::FindCloseChangeNotification(hChange);
    HANDLE hDead = pStart->hDead;
    delete pStart;
    ::SetEvent(hDead); // last: the tree may close the event once it sees this
    return 0;
}

// --- mouse and commands -------------------------------------------------------

void CFileSysTreeCtrl::OnRightClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 1;
    CPoint ptScreen;
    ::GetCursorPos(&ptScreen);
    CPoint pt = ptScreen;
    ScreenToClient(&pt);
    UINT nFlags = 0;
    HTREEITEM hItem = HitTest(pt, &nFlags);
    if (hItem == NULL || (nFlags & TVHT_ONITEMLABEL) == 0)
        return;
    SelectItem(hItem);
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXT_FILETREE))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (pPopup != NULL)
        pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, this);
}

void CFileSysTreeCtrl::OnDoubleClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    UINT nFlags = 0;
    HTREEITEM hItem = HitTest(pt, &nFlags);
    if (hItem == NULL || (nFlags & TVHT_ONITEMLABEL) == 0)
        return;
    CString strPath = GetItemPath(hItem);
    DWORD dwAttrs = strPath.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(WideOf(strPath).c_str());
    if (dwAttrs == INVALID_FILE_ATTRIBUTES || (dwAttrs & FILE_ATTRIBUTE_DIRECTORY))
        return; // folders expand
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->OpenFileFromTree(strPath, FALSE);
}

CString CFileSysTreeCtrl::GetSelectedPath() const
{
    return GetItemPath(GetSelectedItem());
}

CString CFileSysTreeCtrl::GetSelectedFilePath() const
{
    CString strPath = GetSelectedPath();
    DWORD dwAttrs = strPath.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(WideOf(strPath).c_str());
    return dwAttrs != INVALID_FILE_ATTRIBUTES && (dwAttrs & FILE_ATTRIBUTE_DIRECTORY) == 0 ? strPath : CString();
}

void CFileSysTreeCtrl::OnOpen()
{
    CString strPath = GetSelectedFilePath();
    IEditorFrame* pFrame = GetEditorFrame();
    if (!strPath.IsEmpty() && pFrame != NULL)
        pFrame->OpenFileFromTree(strPath, FALSE);
}

void CFileSysTreeCtrl::OnOpenAsHex()
{
    CString strPath = GetSelectedFilePath();
    IEditorFrame* pFrame = GetEditorFrame();
    if (!strPath.IsEmpty() && pFrame != NULL)
        pFrame->OpenFileFromTree(strPath, TRUE);
}

void CFileSysTreeCtrl::OnCopyPath()
{
    CString strPath = GetSelectedPath();
    if (!strPath.IsEmpty())
        CopyTextToClipboard(m_hWnd, strPath);
}

void CFileSysTreeCtrl::OnOpenInExplorer()
{
    CString strPath = GetSelectedPath();
    if (!strPath.IsEmpty())
        OpenContainingFolder(strPath);
}

void CFileSysTreeCtrl::OnProperties()
{
    CString strPath = GetSelectedPath();
    if (strPath.IsEmpty())
        return;
    CFileInfoDialog dlg(strPath, this);
    dlg.DoModal();
}

// ===========================================================================
// CSolutionBarFSContainer

IMPLEMENT_DYNAMIC(CSolutionBarFSContainer, CWnd)

BEGIN_MESSAGE_MAP(CSolutionBarFSContainer, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_COMMAND(ID_VIEW_REFRESH_FILE_TREE, OnRefresh)
END_MESSAGE_MAP()

CSolutionBarFSContainer::CSolutionBarFSContainer() : m_pToolBar(NULL) {}

CSolutionBarFSContainer::~CSolutionBarFSContainer() = default;

BOOL CSolutionBarFSContainer::Create(CWnd* pParent, UINT nID)
{
    return CreatePaneChild(*this, pParent, nID, "File Explorer");
}

int CSolutionBarFSContainer::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pToolBar = CreatePaneToolBar(this, IDR_TOOLBAR_FILETREE);
    if (!m_tree.Create(this, 0))
        return -1;
    m_tree.ShowWindow(SW_SHOW);
    return 0;
}

void CSolutionBarFSContainer::OnDestroy()
{
    ReleasePaneToolBar(m_pToolBar);
    CWnd::OnDestroy();
}

void CSolutionBarFSContainer::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    LayoutPaneToolBar(m_pToolBar, &m_tree, cx, cy);
}

void CSolutionBarFSContainer::OnRefresh()
{
    m_tree.RefreshAll();
}
