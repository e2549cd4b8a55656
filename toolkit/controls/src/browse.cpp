// browse.cpp - the folder browse dialog, the browse edit and its button, and
// the edit list box with its in-place edit and title strip.
#include <qx/browse.h>

#include <qx/drawing.h>
#include <qx/fonts.h>
#include <qx/toolkitres.h>
#include <qx/visualstyles.h>

const char kQXPathTooLong[] = "The path is too long.";

namespace {

BOOL FitsInPath(const CString& str) { return str.GetLength() < MAX_PATH; }

BOOL IsFolder(const CString& str)
{
    if (str.IsEmpty() || !FitsInPath(str))
        return FALSE;
    DWORD dw = ::GetFileAttributesA(str.GetString());
    return dw != INVALID_FILE_ATTRIBUTES && (dw & FILE_ATTRIBUTE_DIRECTORY);
}

INT_PTR AFXAPI RunFolderDialog(FolderBrowseDialog& dlg) { return dlg.DoModal(); }

} // namespace

// ---------------------------------------------------------------------------
// FolderBrowseDialog

PIDLIST_ABSOLUTE(WINAPI* FolderBrowseDialog::s_pfnBrowseForFolder)
(LPBROWSEINFOA lpbi) = NULL;

static char s_szDisplayName[MAX_PATH];

FolderBrowseDialog::FolderBrowseDialog(CWnd* pOwner)
{
    ZeroMemory(&m_bi, sizeof(m_bi));
    ZeroMemory(m_szPath, sizeof(m_szPath));
    m_strTitle = ToolkitString(QX_IDS_SELECT_DIRECTORY, "Select Directory:");
    m_bi.hwndOwner = pOwner ? pOwner->GetSafeHwnd() : NULL;
    m_bi.pidlRoot = NULL;
    // The picker writes the chosen item's display name here; the path
    // buffer keeps its folder until a path is obtained.
    m_bi.pszDisplayName = s_szDisplayName;
    m_bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE;
    m_bi.lpfn = BrowseCallbackProc;
    m_bi.lParam = (LPARAM)this;
}

FolderBrowseDialog::~FolderBrowseDialog() {}

BOOL FolderBrowseDialog::SetSelPath(LPCSTR lpszPath)
{
    if (!lpszPath)
        lpszPath = "";
    size_t n = strlen(lpszPath);
    if (n >= sizeof(m_szPath))
        return FALSE;
    memcpy(m_szPath, lpszPath, n + 1);
    return TRUE;
}

INT_PTR FolderBrowseDialog::DoModal()
{
    IMalloc* pMalloc = NULL;
    if (FAILED(::SHGetMalloc(&pMalloc)) || !pMalloc)
        return IDCANCEL;
    m_bi.lpszTitle = m_strTitle.GetString();
    PIDLIST_ABSOLUTE pidl = s_pfnBrowseForFolder ? s_pfnBrowseForFolder(&m_bi) : ::SHBrowseForFolderA(&m_bi);
    INT_PTR nResult = IDCANCEL;
    if (pidl) {
        char sz[MAX_PATH] = {0};
        if (::SHGetPathFromIDListA(pidl, sz)) {
            lstrcpynA(m_szPath, sz, MAX_PATH);
            nResult = IDOK;
        }
        pMalloc->Free(pidl);
    }
    pMalloc->Release();
    return nResult;
}

int CALLBACK FolderBrowseDialog::BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData)
{
    FolderBrowseDialog* p = (FolderBrowseDialog*)lpData;
    if (!p)
        return 0;
    if (uMsg == BFFM_INITIALIZED) {
        char sz[MAX_PATH] = {0};
        if (p->m_szPath[0])
            lstrcpynA(sz, p->m_szPath, MAX_PATH);
        else {
            DWORD n = ::GetCurrentDirectoryA(MAX_PATH, sz);
            if (n == 0 || n >= MAX_PATH)
                sz[0] = 0;
        }
        if (sz[0])
            ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, (LPARAM)sz);
    } else if (uMsg == BFFM_SELCHANGED && (p->m_bi.ulFlags & BIF_STATUSTEXT)) {
        char sz[MAX_PATH] = {0};
        if (::SHGetPathFromIDListA((PCIDLIST_ABSOLUTE)lParam, sz))
            ::SendMessageA(hWnd, BFFM_SETSTATUSTEXTA, 0, (LPARAM)sz);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// CQXBrowseButton

IMPLEMENT_DYNAMIC(CQXBrowseButton, CQXButton)

BEGIN_MESSAGE_MAP(CQXBrowseButton, CQXButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

CQXBrowseButton::CQXBrowseButton() : m_pEditWnd(NULL), m_dwBStyle(0), m_nMenu(0), m_nSubMenuIndx(0) {}

CQXBrowseButton::~CQXBrowseButton() {}

int AFXAPI CQXBrowseButton::GetButtonWidth()
{
    int n = GetGlobalUIFonts()->m_nFixedWidth;
    return n > 0 ? n : 18;
}

BOOL CQXBrowseButton::Create(CQXBrowseEdit* pEditWnd, DWORD dwBStyle, UINT nID, UINT nMenu, int nSubMenuIndx)
{
    if (!pEditWnd || !pEditWnd->GetSafeHwnd())
        return FALSE;
    m_pEditWnd = pEditWnd;
    m_dwBStyle = dwBStyle;
    m_nMenu = nMenu;
    m_nSubMenuIndx = nSubMenuIndx;
    DWORD dwStyle = 0x40010F0B | (pEditWnd->GetStyle() & WS_VISIBLE);

    BOOL bIcon = FALSE;
    if (dwBStyle & qxBrowsePopupMenu) {
        HBITMAP hBitmap = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(QX_IDB_BROWSE_ARROWS));
        if (hBitmap) {
            HIMAGELIST hList = ImageList_Create(11, 11, ILC_COLOR24 | ILC_MASK, 8, 0);
            if (hList) {
                ImageList_AddMasked(hList, hBitmap, RGB(255, 0, 255));
                if (ImageList_GetImageCount(hList) == 8) {
                    m_icon.SetIcon(ImageList_GetIcon(hList, 4, ILD_NORMAL));
                    bIcon = m_icon.GetIcon() != NULL;
                }
                ImageList_Destroy(hList);
            }
            ::DeleteObject(hBitmap);
        }
    }
    if (bIcon)
        dwStyle |= BS_ICON;
    CString strCaption = bIcon ? CString() : ToolkitString(QX_IDS_BROWSE_CAPTION, "...");
    CWnd* pParent = pEditWnd->GetParent();
    if (!CQXButton::Create(strCaption, dwStyle, CRect(0, 0, 0, 0), pParent, nID))
        return FALSE;
    GetThemeHolder().SetTheme(new CButtonThemeStateImage);
    if (bIcon)
        SetImage(CSize(10, 10), m_icon.GetIcon(), NULL, FALSE);
    else
        SendMessage(WM_SETFONT, (WPARAM)GetGlobalUIFonts()->GetNormalFont(), FALSE);
    EnableWindow(pEditWnd->IsWindowEnabled());
    Reposition();
    return TRUE;
}

void CQXBrowseButton::Reposition()
{
    if (!m_hWnd || !m_pEditWnd || !m_pEditWnd->GetSafeHwnd())
        return;
    CWnd* pParent = GetParent();
    CRect rc;
    m_pEditWnd->GetWindowRect(&rc);
    if (pParent)
        pParent->ScreenToClient(&rc);
    CRect rcButton(rc.right + m_pEditWnd->m_nGap, rc.top, rc.right + m_pEditWnd->m_nGap + GetButtonWidth(), rc.bottom);
    SetWindowPos(NULL, rcButton.left, rcButton.top, rcButton.Width(), rcButton.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    if (pParent) {
        CRect rcArea(rc.left, rc.top, rcButton.right, rcButton.bottom);
        pParent->InvalidateRect(&rcArea, TRUE);
    }
}

void CQXBrowseButton::OnClicked()
{
    if (m_pEditWnd)
        m_pEditWnd->OnBrowse();
}

void CQXBrowseButton::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (nChar == VK_RETURN) {
        OnClicked();
        return;
    }
    Default();
}

// ---------------------------------------------------------------------------
// CQXBrowseEdit

INT_PTR(AFXAPI* CQXBrowseEdit::s_pfnFolderDialog)
(FolderBrowseDialog& dlg) = RunFolderDialog;

IMPLEMENT_DYNAMIC(CQXBrowseEdit, CQXEdit)

BEGIN_MESSAGE_MAP(CQXBrowseEdit, CQXEdit)
    ON_WM_ENABLE()
    ON_WM_SHOWWINDOW()
    ON_WM_WINDOWPOSCHANGED()
END_MESSAGE_MAP()

CQXBrowseEdit::CQXBrowseEdit()
    : m_pParentWnd(NULL), m_nGap(::GetSystemMetrics(SM_CXEDGE)), m_bBrowseInProgress(FALSE), m_bOpenFileDialog(TRUE),
      m_nMenu(0), m_nSubMenuIndx(0), m_dwFlags(OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY),
      m_dwBStyle(qxBrowseFolder), m_pFileDialog(NULL)
{
    m_strDefExt = ToolkitString(QX_IDS_DEFAULT_EXTENSION, "*.*");
    m_strFilter = ToolkitString(QX_IDS_ALL_FILES_FILTER, "All Files (*.*)|*.*||");
    m_strFolderTitle = ToolkitString(QX_IDS_DIRECTORY_NAME, "Directory name:");
}

CQXBrowseEdit::~CQXBrowseEdit() {}

BOOL CQXBrowseEdit::Initialize(CWnd* pParentWnd, DWORD dwBStyle, UINT nMenu, int nSubMenuIndx)
{
    if (!m_hWnd)
        return FALSE;
    m_pParentWnd = pParentWnd;
    m_dwBStyle = dwBStyle;
    m_nMenu = nMenu;
    m_nSubMenuIndx = nSubMenuIndx;
    if (dwBStyle & (qxBrowseFolder | qxBrowseFile | qxBrowsePopupMenu | qxBrowseNotify))
        CreateBrowseButton();
    return TRUE;
}

BOOL CQXBrowseEdit::Initialize(CWnd* pParentWnd, UINT nID, DWORD dwBStyle, UINT nMenu, int nSubMenuIndx)
{
    if (!m_hWnd && (!pParentWnd || !SubclassDlgItem(nID, pParentWnd)))
        return FALSE;
    return Initialize(pParentWnd, dwBStyle, nMenu, nSubMenuIndx);
}

void CQXBrowseEdit::CreateBrowseButton()
{
    if (m_browseButton.GetSafeHwnd())
        return;
    CRect rc;
    GetWindowRect(&rc);
    int nShrink = CQXBrowseButton::GetButtonWidth() + m_nGap;
    SetWindowPos(NULL, 0, 0, rc.Width() - nShrink, rc.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_browseButton.Create(this, m_dwBStyle, QX_IDC_BROWSE_BUTTON, m_nMenu, m_nSubMenuIndx);
}

void CQXBrowseEdit::OnBrowse()
{
    if (m_dwBStyle & qxBrowseFolder)
        ChooseDirectory();
    else if (m_dwBStyle & qxBrowseFile)
        ChooseFile();
    else if (m_dwBStyle & qxBrowsePopupMenu)
        PopupMenu();
    else if ((m_dwBStyle & qxBrowseNotify) && m_pParentWnd)
        m_pParentWnd->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), QXN_BROWSE), (LPARAM)m_hWnd);
    if (m_hWnd && ::IsWindow(m_hWnd) && ::GetFocus() != m_hWnd) {
        SetSel(0, -1);
        SendMessage(EM_SCROLLCARET, 0, 0);
        SetFocus();
    }
}

void CQXBrowseEdit::ChooseDirectory()
{
    CString strText;
    GetWindowText(strText);
    CString strStart = IsFolder(strText) ? strText : (!m_strInitialDir.IsEmpty() ? m_strInitialDir : strText);
    FolderBrowseDialog dlg(m_pParentWnd);
    dlg.m_strTitle = m_strFolderTitle;
    if (!dlg.SetSelPath(strStart)) {
        AfxMessageBox(kQXPathTooLong, MB_OK | MB_ICONWARNING);
        return;
    }
    m_bBrowseInProgress = TRUE;
    if (s_pfnFolderDialog(dlg) == IDOK && m_hWnd)
        SetWindowText(dlg.GetSelPath());
    m_bBrowseInProgress = FALSE;
}

void CQXBrowseEdit::ChooseFile()
{
    m_bBrowseInProgress = TRUE;
    if (m_pFileDialog) {
        if (m_pFileDialog->DoModal() == IDOK)
            SetWindowText(m_pFileDialog->GetPathName());
    } else {
        // The filter's "|" separators become the dialog's zero separators.
        CFileDialog dlg(m_bOpenFileDialog, m_strDefExt, m_strFileName, m_dwFlags, m_strFilter, m_pParentWnd);
        if (!m_strInitialDir.IsEmpty())
            dlg.m_ofn.lpstrInitialDir = m_strInitialDir.GetString();
        if (dlg.DoModal() == IDOK) {
            CString strPath = dlg.GetPathName();
            if (m_hWnd)
                SetWindowText(strPath);
        }
    }
    m_bBrowseInProgress = FALSE;
}

void CQXBrowseEdit::PopupMenu()
{
    if (m_bBrowseInProgress)
        return;
    m_bBrowseInProgress = TRUE;
    m_browseButton.SetState(TRUE);
    CMenu menu;
    if (menu.LoadMenu(m_nMenu)) {
        CMenu* pPopup = menu.GetSubMenu(m_nSubMenuIndx);
        if (pPopup) {
            CWnd* pTop = this;
            while (pTop && (pTop->GetStyle() & WS_CHILD))
                pTop = pTop->GetParent();
            CRect rc;
            m_browseButton.GetWindowRect(&rc);
            TrackPopupMenuEx(pPopup, 0x40, rc.right, rc.top, pTop);
        }
    }
    m_browseButton.SetState(FALSE);
    m_bBrowseInProgress = FALSE;
}

void CQXBrowseEdit::OnEnable(BOOL bEnable)
{
    Default();
    if (m_browseButton.GetSafeHwnd())
        m_browseButton.EnableWindow(bEnable);
}

void CQXBrowseEdit::OnShowWindow(BOOL bShow, UINT)
{
    Default();
    if (m_browseButton.GetSafeHwnd())
        m_browseButton.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CQXBrowseEdit::OnWindowPosChanged(WINDOWPOS*)
{
    Default();
    if (m_browseButton.GetSafeHwnd())
        m_browseButton.Reposition();
}

// ---------------------------------------------------------------------------
// CQXItemEdit

IMPLEMENT_DYNAMIC(CQXItemEdit, CQXBrowseEdit)

BEGIN_MESSAGE_MAP(CQXItemEdit, CQXBrowseEdit)
    ON_WM_KILLFOCUS()
    ON_WM_GETDLGCODE()
    ON_WM_CHAR()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

CQXItemEdit::CQXItemEdit(CQXEditListBox* pListBox, const CRect& rect, CString& strWindowText, DWORD dwBStyle,
                         BOOL bAutoDelete)
    : m_strWindowText(strWindowText), m_bClosePosted(FALSE), m_bAutoDelete(bAutoDelete), m_bEscapeKey(FALSE),
      m_pListBox(pListBox)
{
    if (!Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect, pListBox, QX_IDC_ITEM_EDIT))
        return;
    SendMessage(WM_SETFONT, pListBox->SendMessage(WM_GETFONT, 0, 0), FALSE);
    Initialize(pListBox, dwBStyle & (qxBrowseFolder | qxBrowseFile | qxBrowsePopupMenu | qxBrowseNotify));
    SetWindowText(strWindowText);
    SetSel(0, -1);
    SetFocus();
}

CQXItemEdit::~CQXItemEdit() {}

BOOL CQXItemEdit::PreTranslateMessage(MSG* pMsg)
{
    // Enter and Escape end the edit instead of closing a dialog.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
        OnKeyDown((UINT)pMsg->wParam, 1, 0);
        return TRUE;
    }
    return CQXBrowseEdit::PreTranslateMessage(pMsg);
}

void CQXItemEdit::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (nChar == VK_RETURN) {
        EndEdit();
        return;
    }
    if (nChar == VK_ESCAPE) {
        m_bEscapeKey = TRUE;
        EndEdit();
        return;
    }
    // Tab goes back to the list; losing the focus ends the edit.
    if (nChar == VK_TAB && m_pListBox && m_pListBox->GetSafeHwnd()) {
        m_pListBox->SetFocus();
        return;
    }
    Default();
}

void CQXItemEdit::OnChar(UINT nChar, UINT, UINT)
{
    if (nChar == VK_RETURN || nChar == VK_ESCAPE || nChar == VK_TAB)
        return;
    Default();
}

UINT CQXItemEdit::OnGetDlgCode() { return (UINT)Default() | DLGC_WANTALLKEYS; }

void CQXItemEdit::OnKillFocus(CWnd* pNewWnd)
{
    Default();
    if (m_bBrowseInProgress)
        return;
    if (pNewWnd && m_browseButton.GetSafeHwnd() && pNewWnd->GetSafeHwnd() == m_browseButton.GetSafeHwnd())
        return;
    EndEdit();
}

void CQXItemEdit::EndEdit()
{
    if (m_bClosePosted)
        return;
    m_bClosePosted = TRUE;
    if (m_browseButton.GetSafeHwnd())
        m_browseButton.PostMessage(WM_CLOSE, 0, 0);
    PostMessage(WM_CLOSE, 0, 0);
    UINT nCode = QXN_ELB_LABEL_UNCHANGED;
    if (!m_bEscapeKey) {
        GetWindowText(m_strWindowText);
        nCode = QXN_ELB_LABEL_CHANGED;
    }
    if (m_pListBox && m_pListBox->GetSafeHwnd())
        m_pListBox->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), nCode), (LPARAM)m_hWnd);
}

void CQXItemEdit::PostNcDestroy()
{
    CQXBrowseEdit::PostNcDestroy();
    if (m_bAutoDelete)
        delete this;
}

// ---------------------------------------------------------------------------
// CQXEditListBoxToolBar

namespace {

const UINT kStripIds[4] = {QX_IDC_ELB_NEW, QX_IDC_ELB_DELETE, QX_IDC_ELB_UP, QX_IDC_ELB_DOWN};
const char* const kStripTexts[4] = {"New", "Delete", "Move Up", "Move Down"};

// The strip's images: the toolkit's bitmap (four 14 x 12 images, magenta
// transparent), or drawn here when the resources have none.
HIMAGELIST CreateStripImages()
{
    HIMAGELIST hList = ImageList_Create(14, 12, ILC_COLOR24 | ILC_MASK, 4, 0);
    if (!hList)
        return NULL;
    HBITMAP hBitmap = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(QX_IDB_EDITLIST_STRIP));
    if (!hBitmap) {
        HDC hdcScreen = ::GetDC(NULL);
        hBitmap = ::CreateCompatibleBitmap(hdcScreen, 56, 12);
        HDC hdc = ::CreateCompatibleDC(hdcScreen);
        HGDIOBJ hOld = ::SelectObject(hdc, hBitmap);
        CDC* pDC = CDC::FromHandle(hdc);
        pDC->FillSolidRect(0, 0, 56, 12, RGB(255, 0, 255));
        // New: a sheet of paper.
        pDC->FillSolidRect(3, 1, 8, 10, RGB(255, 255, 255));
        pDC->Draw3dRect(3, 1, 8, 10, RGB(0, 0, 0), RGB(0, 0, 0));
        // Delete: a red cross.
        for (int i = 0; i < 8; ++i) {
            pDC->FillSolidRect(14 + 3 + i, 2 + i, 2, 1, RGB(192, 0, 0));
            pDC->FillSolidRect(14 + 10 - i, 2 + i, 2, 1, RGB(192, 0, 0));
        }
        // Move Up and Move Down: triangles.
        for (int i = 0; i < 4; ++i) {
            pDC->FillSolidRect(28 + 7 - i, 3 + i, 2 * i + 1, 1, RGB(0, 0, 0));
            pDC->FillSolidRect(42 + 7 - i, 8 - i, 2 * i + 1, 1, RGB(0, 0, 0));
        }
        ::SelectObject(hdc, hOld);
        ::DeleteDC(hdc);
        ::ReleaseDC(NULL, hdcScreen);
    }
    ImageList_AddMasked(hList, hBitmap, RGB(255, 0, 255));
    ::DeleteObject(hBitmap);
    return hList;
}

} // namespace

IMPLEMENT_DYNAMIC(CQXEditListBoxToolBar, CStatic)

BEGIN_MESSAGE_MAP(CQXEditListBoxToolBar, CStatic)
    ON_BN_CLICKED(QX_IDC_ELB_NEW, OnButtonNew)
    ON_BN_CLICKED(QX_IDC_ELB_DELETE, OnButtonDelete)
    ON_BN_CLICKED(QX_IDC_ELB_UP, OnButtonUp)
    ON_BN_CLICKED(QX_IDC_ELB_DOWN, OnButtonDown)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_ENABLE()
    ON_WM_SHOWWINDOW()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

CQXEditListBoxToolBar::CQXEditListBoxToolBar() : m_bShowMove(TRUE), m_bShowNewDelete(TRUE), m_bNotify(TRUE), m_pListBox(NULL) {}

CQXEditListBoxToolBar::~CQXEditListBoxToolBar() {}

BOOL CQXEditListBoxToolBar::Initialize(CQXEditListBox* pListBox)
{
    m_pListBox = pListBox;
    if (!m_hWnd)
        return FALSE;
    HIMAGELIST hImages = CreateStripImages();
    m_tooltip.Create(this);
    for (int i = 0; i < 4; ++i) {
        BOOL bWanted = i < 2 ? m_bShowNewDelete : m_bShowMove;
        if (!bWanted)
            continue;
        CQXButton& b = m_arClipButton[i];
        if (!b.Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, CRect(0, 0, 22, 22),
                      this, kStripIds[i]))
            continue;
        if (hImages) {
            HICON hIcon = ImageList_GetIcon(hImages, i, ILD_NORMAL);
            if (hIcon) {
                b.SetImage(CSize(14, 12), hIcon, NULL, FALSE);
                ::DestroyIcon(hIcon);
            }
        }
        CString strTip = ToolkitString(kStripIds[i], kStripTexts[i]);
        if (m_tooltip.GetSafeHwnd())
            m_tooltip.AddTool(&b, strTip);
    }
    if (hImages)
        ImageList_Destroy(hImages);
    MoveButtons();
    return TRUE;
}

CRect CQXEditListBoxToolBar::GetButtonRect(int nIndex) const
{
    if (!m_arClipButton[nIndex].GetSafeHwnd())
        return CRect();
    CRect rc;
    m_arClipButton[nIndex].GetWindowRect(&rc);
    ScreenToClient(&rc);
    return rc;
}

void CQXEditListBoxToolBar::MoveButtons()
{
    if (!m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    int x = rc.right;
    for (int i = 3; i >= 0; --i) {
        if (!m_arClipButton[i].GetSafeHwnd())
            continue;
        x -= 22;
        m_arClipButton[i].SetWindowPos(NULL, x, 0, 22, rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

BOOL CQXEditListBoxToolBar::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip.GetSafeHwnd() && pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST)
        m_tooltip.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

void CQXEditListBoxToolBar::SendToList(UINT nCode)
{
    if (m_bNotify && m_pListBox && m_pListBox->GetSafeHwnd())
        m_pListBox->SendMessage(WM_COMMAND, MAKEWPARAM(QX_IDC_EDIT_LIST_STRIP, nCode), (LPARAM)m_hWnd);
}

void CQXEditListBoxToolBar::OnButtonNew() { SendToList(QXN_ELB_NEW_ITEM); }
void CQXEditListBoxToolBar::OnButtonDelete() { SendToList(QXN_ELB_DELETE_ITEM); }
void CQXEditListBoxToolBar::OnButtonUp() { SendToList(QXN_ELB_MOVE_UP); }
void CQXEditListBoxToolBar::OnButtonDown() { SendToList(QXN_ELB_MOVE_DOWN); }

BOOL CQXEditListBoxToolBar::OnEraseBkgnd(CDC*) { return TRUE; }

void CQXEditListBoxToolBar::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CRect rc;
    GetClientRect(&rc);
    for (int i = 0; i < 4; ++i)
        if (m_arClipButton[i].GetSafeHwnd()) {
            CRect r = GetButtonRect(i);
            ::ExcludeClipRect(hdc, r.left, r.top, r.right, r.bottom);
        }
    {
        BufferedDC buffer(hdc, rc);
        CDC* pDC = CDC::FromHandle(buffer.GetSafeHdc());
        pDC->FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
        CString strTitle;
        GetWindowText(strTitle);
        HFONT hFont = (HFONT)SendMessage(WM_GETFONT, 0, 0);
        HGDIOBJ hOld = ::SelectObject(pDC->GetSafeHdc(), hFont ? (HGDIOBJ)hFont : ::GetStockObject(DEFAULT_GUI_FONT));
        UINT nFormat = DT_SINGLELINE | DT_VCENTER;
        if (SendMessage(WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL)
            nFormat |= DT_HIDEPREFIX;
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(::GetSysColor(IsWindowEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        CRect rcText(rc.left + 1, rc.top, rc.right, rc.bottom);
        pDC->DrawText(strTitle, rcText, nFormat);
        ::SelectObject(pDC->GetSafeHdc(), hOld);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CQXEditListBoxToolBar::OnNcPaint()
{
    Default();
    CWnd* pParent = GetParent();
    CVisualStyleTheme theme(FALSE);
    if (!theme.IsThemeActive() || !pParent || !(pParent->GetExStyle() & WS_EX_CLIENTEDGE))
        return;
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.left, -rc.top);
    HDC hdc = ::GetWindowDC(m_hWnd);
    CDC* pDC = CDC::FromHandle(hdc);
    COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW), clrFace = ::GetSysColor(COLOR_BTNFACE);
    pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, clrShadow);
    pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), clrShadow);
    pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), clrShadow);
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, clrFace);
    ::ReleaseDC(m_hWnd, hdc);
}

void CQXEditListBoxToolBar::OnEnable(BOOL bEnable)
{
    Default();
    for (CQXButton& b : m_arClipButton)
        if (b.GetSafeHwnd())
            b.EnableWindow(bEnable);
    Invalidate(FALSE);
}

void CQXEditListBoxToolBar::OnShowWindow(BOOL bShow, UINT)
{
    Default();
    for (CQXButton& b : m_arClipButton)
        if (b.GetSafeHwnd())
            b.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

// ---------------------------------------------------------------------------
// CQXEditListBox

IMPLEMENT_DYNAMIC(CQXEditListBox, CQXListBox)

BEGIN_MESSAGE_MAP(CQXEditListBox, CQXListBox)
    ON_WM_KEYUP()
    ON_WM_SYSKEYDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONDOWN()
    ON_WM_SIZE()
    ON_WM_MOUSEWHEEL()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_ENABLE()
    ON_WM_SHOWWINDOW()
    ON_WM_WINDOWPOSCHANGED()
END_MESSAGE_MAP()

CQXEditListBox::CQXEditListBox()
    : m_pParentWnd(NULL), m_bEnableEdit(TRUE), m_nIndex(-1), m_bNewItem(FALSE), m_dwLStyle(qxBrowseFolder),
      m_pItemEdit(NULL)
{
    SetListEditStyle((UINT)QX_IDS_DIRECTORIES, qxBrowseFolder);
}

CQXEditListBox::~CQXEditListBox() {}

void CQXEditListBox::SetListEditStyle(LPCSTR lpszTitle, DWORD dwLStyle)
{
    m_strTitle = lpszTitle ? lpszTitle : "";
    m_dwLStyle = dwLStyle;
    if (m_editGroup.GetSafeHwnd())
        m_editGroup.SetWindowText(m_strTitle);
}

void CQXEditListBox::SetListEditStyle(UINT nTitle, DWORD dwLStyle)
{
    SetListEditStyle(ToolkitString(nTitle, nTitle == QX_IDS_DIRECTORIES ? "Directories:" : ""), dwLStyle);
}

void CQXEditListBox::Initialize(BOOL bAutoFont)
{
    CQXListBox::Initialize(bAutoFont);
    m_pParentWnd = GetParent();
    if ((m_dwLStyle & qxBrowseNoToolbar) || m_editGroup.GetSafeHwnd() || !m_pParentWnd)
        return;
    CRect rc;
    GetWindowRect(&rc);
    m_pParentWnd->ScreenToClient(&rc);
    int nEdge = ::GetSystemMetrics(SM_CXEDGE);
    if (!m_editGroup.CreateEx(WS_EX_STATICEDGE, "Static", m_strTitle, WS_CHILD | WS_VISIBLE | SS_LEFT,
                              CRect(rc.left, rc.top, rc.right, rc.top + 22), m_pParentWnd, QX_IDC_EDIT_LIST_STRIP))
        return;
    m_editGroup.SendMessage(WM_SETFONT, SendMessage(WM_GETFONT, 0, 0), FALSE);
    m_editGroup.m_bShowNewDelete = !(m_dwLStyle & qxBrowseNoNewDelete);
    m_editGroup.m_bShowMove = !(m_dwLStyle & qxBrowseNoMove);
    m_editGroup.Initialize(this);
    SetWindowPos(NULL, rc.left, rc.top + 22 + nEdge, rc.Width(), rc.Height() - 22 - nEdge,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQXEditListBox::Notify(UINT nCode)
{
    CWnd* pParent = m_pParentWnd ? m_pParentWnd : GetParent();
    if (pParent)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), nCode), (LPARAM)m_hWnd);
}

void CQXEditListBox::EndItemEdit()
{
    if (m_pItemEdit)
        m_pItemEdit->EndEdit();
}

CRect CQXEditListBox::ItemEditRect(int nIndex)
{
    CRect rc;
    GetItemRect(nIndex, &rc);
    rc.DeflateRect(2, 0);
    rc.InflateRect(0, 2);
    return rc;
}

void CQXEditListBox::EditItem(BOOL bNewItem)
{
    if (!m_bEnableEdit)
        return;
    EndItemEdit();
    SetRedraw(FALSE);
    m_strItemText = m_strItemDefaultText;
    int nSel = GetCurSel();
    if (bNewItem || nSel == LB_ERR) {
        Notify(QXN_ELB_PRE_NEW_ITEM);
        m_nIndex = AddString(m_strItemDefaultText);
        SetCurSel(m_nIndex);
        m_bNewItem = TRUE;
    } else {
        m_bNewItem = FALSE;
        if (nSel < 0 || nSel >= GetCount()) {
            SetCurSel(-1);
            SetRedraw(TRUE);
            Invalidate();
            return;
        }
        GetText(nSel, m_strItemText);
        m_nIndex = nSel;
    }
    SetRedraw(TRUE);
    Invalidate();
    if (m_dwLStyle & qxBrowseNoEdit) {
        Notify(QXN_BROWSE);
        return;
    }
    m_pItemEdit = new CQXItemEdit(this, ItemEditRect(m_nIndex), m_strItemText, m_dwLStyle, TRUE);
    m_pItemEdit->SetDlgFilter(m_strFilter);
    m_pItemEdit->SetDlgInitialDir(m_strInitialDir);
    if (!m_pItemEdit->GetSafeHwnd()) {
        delete m_pItemEdit;
        m_pItemEdit = NULL;
    }
}

void CQXEditListBox::OnEndLabelEdit(BOOL bAccepted)
{
    m_pItemEdit = NULL;
    if (m_bNewItem) {
        // The temporary item goes; a cancelled or empty new item is not added.
        DeleteString(m_nIndex);
        if (!bAccepted || m_strItemText.IsEmpty()) {
            Notify(QXN_ELB_LABEL_UNCHANGED);
            m_nIndex = -1;
        } else {
            m_nIndex = AddString(m_strItemText);
            Notify(QXN_ELB_NEW_ITEM);
        }
    } else if (m_nIndex >= 0 && m_nIndex < GetCount()) {
        CString strCurrent;
        GetText(m_nIndex, strCurrent);
        if (bAccepted && strCurrent != m_strItemText) {
            DWORD_PTR dwData = GetItemData(m_nIndex);
            DeleteString(m_nIndex);
            InsertString(m_nIndex, m_strItemText);
            SetItemData(m_nIndex, dwData);
            Notify(QXN_ELB_LABEL_CHANGED);
        } else {
            Notify(QXN_ELB_LABEL_UNCHANGED);
        }
    } else {
        Notify(QXN_ELB_LABEL_UNCHANGED);
    }
    m_bNewItem = FALSE;
    SetCurSel(m_nIndex);
    SetFocus();
}

BOOL CQXEditListBox::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND hFrom = (HWND)lParam;
    UINT nCode = HIWORD(wParam);
    if (hFrom && hFrom == m_editGroup.GetSafeHwnd()) {
        switch (nCode) {
        case QXN_ELB_NEW_ITEM:
            EditItem(TRUE);
            return TRUE;
        case QXN_ELB_DELETE_ITEM:
            DeleteItem();
            return TRUE;
        case QXN_ELB_MOVE_UP:
            MoveItemUp();
            return TRUE;
        case QXN_ELB_MOVE_DOWN:
            MoveItemDown();
            return TRUE;
        default:
            break;
        }
    }
    if (hFrom && m_pItemEdit && hFrom == m_pItemEdit->GetSafeHwnd()) {
        switch (nCode) {
        case QXN_ELB_LABEL_CHANGED:
            OnEndLabelEdit(TRUE);
            return TRUE;
        case QXN_ELB_LABEL_UNCHANGED:
            OnEndLabelEdit(FALSE);
            return TRUE;
        case QXN_BROWSE:
            // The edited item moves down (the edit goes with it), then the
            // parent does the browsing.
            MoveItemDown();
            Notify(QXN_BROWSE);
            return TRUE;
        default:
            break;
        }
    }
    return CQXListBox::OnCommand(wParam, lParam);
}

static void SwapItems(CListBox* pList, int a, int b)
{
    CString strA, strB;
    pList->GetText(a, strA);
    pList->GetText(b, strB);
    DWORD_PTR dwA = pList->GetItemData(a), dwB = pList->GetItemData(b);
    pList->DeleteString(a);
    pList->InsertString(a, strB);
    pList->SetItemData(a, dwB);
    pList->DeleteString(b);
    pList->InsertString(b, strA);
    pList->SetItemData(b, dwA);
}

void CQXEditListBox::DeleteItem()
{
    int nSel = GetCurSel();
    if (nSel == LB_ERR)
        return;
    Notify(QXN_ELB_PRE_DELETE);
    DeleteString(nSel);
    int nCount = GetCount();
    if (nCount > 0)
        SetCurSel(nSel < nCount ? nSel : nCount - 1);
    SetFocus();
    Notify(QXN_ELB_DELETE_ITEM);
}

void CQXEditListBox::MoveItemUp() { MoveSelectedItem(-1, QXN_ELB_MOVE_UP); }

void CQXEditListBox::MoveItemDown() { MoveSelectedItem(+1, QXN_ELB_MOVE_DOWN); }

void CQXEditListBox::MoveSelectedItem(int nDelta, UINT nCode)
{
    int nSel = GetCurSel();
    if (nSel == LB_ERR)
        return;
    int nTo = nSel + nDelta;
    if (nTo >= 0 && nTo < GetCount()) {
        SwapItems(this, nSel, nTo);
        SetCurSel(nTo);
        // An open in-place edit stays with its item, so that its text ends
        // up in that item and not in the one that took its place.
        if (m_pItemEdit && m_nIndex == nSel) {
            m_nIndex = nTo;
            if (m_pItemEdit->GetSafeHwnd())
                m_pItemEdit->MoveWindow(ItemEditRect(nTo));
        }
    }
    SetFocus();
    Notify(nCode);
}

void CQXEditListBox::OnKeyUp(UINT nChar, UINT, UINT)
{
    if (!m_pItemEdit) {
        if (nChar == VK_DELETE && GetCurSel() != LB_ERR) {
            DeleteItem();
            return;
        }
        if (nChar == VK_INSERT) {
            EditItem(TRUE);
            return;
        }
    }
    Default();
}

void CQXEditListBox::OnSysKeyDown(UINT nChar, UINT, UINT nFlags)
{
    if (!m_pItemEdit && (nFlags & KF_ALTDOWN) && GetCurSel() != LB_ERR) {
        if (nChar == VK_UP) {
            MoveItemUp();
            return;
        }
        if (nChar == VK_DOWN) {
            MoveItemDown();
            return;
        }
    }
    Default();
}

void CQXEditListBox::OnLButtonDblClk(UINT, CPoint)
{
    Default();
    if (GetCurSel() != LB_ERR)
        EditItem(FALSE);
}

void CQXEditListBox::OnLButtonDown(UINT, CPoint point)
{
    EndItemEdit();
    Default();
    int nCount = GetCount();
    if (nCount <= 0)
        return;
    // Below the last item the last one is chosen; anywhere else that is not
    // the selected item (what the list's own handling left selected) means
    // no selection.
    CRect rcLast;
    GetItemRect(nCount - 1, &rcLast);
    const int nSelected = GetCurSel();
    CRect rcSelected;
    if (point.y >= rcLast.bottom)
        SetCurSel(nCount - 1);
    else if (nSelected != LB_ERR && GetItemRect(nSelected, &rcSelected) != LB_ERR && !rcSelected.PtInRect(point))
        SetCurSel(-1);
    else
        return;
    CWnd* pParent = GetParent();
    if (pParent)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), LBN_SELCHANGE), (LPARAM)m_hWnd);
}

void CQXEditListBox::OnSize(UINT, int, int)
{
    EndItemEdit();
    Default();
}

BOOL CQXEditListBox::OnMouseWheel(UINT, short, CPoint)
{
    EndItemEdit();
    return (BOOL)Default();
}

void CQXEditListBox::OnNcLButtonDown(UINT, CPoint)
{
    EndItemEdit();
    Default();
}

void CQXEditListBox::OnEnable(BOOL bEnable)
{
    Default();
    if (m_editGroup.GetSafeHwnd())
        m_editGroup.EnableWindow(bEnable);
}

void CQXEditListBox::OnShowWindow(BOOL bShow, UINT)
{
    Default();
    if (m_editGroup.GetSafeHwnd())
        m_editGroup.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CQXEditListBox::OnWindowPosChanged(WINDOWPOS*)
{
    Default();
    if (!m_editGroup.GetSafeHwnd() || !m_pParentWnd)
        return;
    CRect rc;
    GetWindowRect(&rc);
    m_pParentWnd->ScreenToClient(&rc);
    int nEdge = ::GetSystemMetrics(SM_CXEDGE);
    m_editGroup.SetWindowPos(NULL, rc.left, rc.top - 22 - nEdge, rc.Width(), 22, SWP_NOZORDER | SWP_NOACTIVATE);
    m_editGroup.MoveButtons();
}
