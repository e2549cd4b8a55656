// customizesheet.cpp - the "Customize" sheet: its run with the command bars
// in customize mode, the input filters of the run, the categories of the
// Commands and Keyboard pages and the name dialog of a toolbar.
#include <qx/customizesheet.h>

#include <qx/barcontrols.h>
#include <qx/commandbars.h>
#include <qx/customize.h>
#include <qx/resourcemgr.h>

// ---------------------------------------------------------------------------
// The run record: one per process while a sheet runs; the hook procedures
// reach the sheet only through it.
namespace {
struct CustomizeRun {
    CQXPCustomizeSheet* pSheet = NULL;
    HHOOK hMouseHook = NULL;
    HHOOK hKeyboardHook = NULL;
    HHOOK hCallWndHook = NULL;
};
CustomizeRun* g_pRun = NULL;

LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hNext = g_pRun ? g_pRun->hMouseHook : NULL;
    if (nCode >= 0 && g_pRun != NULL && g_pRun->pSheet != NULL) {
        const MOUSEHOOKSTRUCT* pInfo = (const MOUSEHOOKSTRUCT*)lParam;
        if (!g_pRun->pSheet->FilterMouse((UINT)wParam, pInfo->pt, pInfo->hwnd))
            return 1;
    }
    return ::CallNextHookEx(hNext, nCode, wParam, lParam);
}

LRESULT CALLBACK KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hNext = g_pRun ? g_pRun->hKeyboardHook : NULL;
    if (nCode >= 0 && g_pRun != NULL && g_pRun->pSheet != NULL) {
        if (!g_pRun->pSheet->FilterKeyboard())
            return 1;
    }
    return ::CallNextHookEx(hNext, nCode, wParam, lParam);
}

LRESULT CALLBACK CallWndHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hNext = g_pRun ? g_pRun->hCallWndHook : NULL;
    if (nCode >= 0 && g_pRun != NULL && g_pRun->pSheet != NULL)
        g_pRun->pSheet->FilterCallWndProc((const CWPSTRUCT*)lParam);
    return ::CallNextHookEx(hNext, nCode, wParam, lParam);
}

BOOL IsInside(HWND hWnd, HWND hContainer)
{
    return hWnd != NULL && hContainer != NULL && (hWnd == hContainer || ::IsChild(hContainer, hWnd));
}
} // namespace

// ---------------------------------------------------------------------------
// CQXPCustomizeSheet

BEGIN_MESSAGE_MAP(CQXPCustomizeSheet, CPropertySheet)
    ON_MESSAGE(WM_QXP_CUSTOMIZE_TAKEFOCUS, OnTakeFocus)
    ON_MESSAGE(WM_QXP_INITCOMMANDSPOPUP, OnBarAnnounced)
    ON_MESSAGE(WM_COMMANDBARS_CONTROLNOTIFY, OnControlNotify)
END_MESSAGE_MAP()

CQXPCustomizeSheet::CQXPCustomizeSheet(CQXPCommandBars* pCommandBars, UINT nStartPage)
    : m_pToolbarsPage(NULL), m_pCommandsPage(NULL), m_pSite(pCommandBars ? pCommandBars->GetSite() : NULL),
      m_pCommandBars(pCommandBars), m_pContextMenu(NULL)
{
    CString strCaption = ToolkitResourceManager::Instance()->LoadString(QX_IDS_CUSTOMIZE);
    Construct(strCaption, m_pSite, nStartPage);
    m_pToolbarsPage = new CQXPCustomizeToolbarsPage(this);
    AddPage(m_pToolbarsPage);
    m_pCommandsPage = new CQXPCustomizeCommandsPage(this);
    AddPage(m_pCommandsPage);
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    m_pContextMenu = new CQXPCustomizeContextMenu(pCommandBars, this);
}

CQXPCustomizeSheet::~CQXPCustomizeSheet()
{
    delete m_pContextMenu;
    delete m_pToolbarsPage;
    delete m_pCommandsPage;
}

CQXPCustomizeSheet* AFXAPI CQXPCustomizeSheet::GetRunningSheet() { return g_pRun ? g_pRun->pSheet : NULL; }

void CQXPCustomizeSheet::AddPage(CPropertyPage* pPage)
{
    UINT nTemplate = (UINT)(UINT_PTR)pPage->m_psp.pszTemplate;
    if (!(pPage->m_psp.dwFlags & PSP_DLGINDIRECT) && IS_INTRESOURCE(pPage->m_psp.pszTemplate)) {
        LPCDLGTEMPLATEA pTemplate = ToolkitResourceManager::Instance()->LoadDialogTemplate(nTemplate);
        if (pTemplate != NULL) {
            pPage->m_psp.dwFlags |= PSP_DLGINDIRECT;
            pPage->m_psp.pResource = pTemplate;
        }
    }
    CPropertySheet::AddPage(pPage);
}

INT_PTR CQXPCustomizeSheet::DoModal()
{
    if (g_pRun != NULL || m_pCommandBars == NULL)
        return IDCANCEL;

    m_pCommandBars->SetCustomizeMode(TRUE);
    m_pCommandBars->m_bCustomizeDialogOpen = TRUE;
    if (CQXPCustomizeDropSource* pDropSource = m_pCommandBars->GetDropSource()) {
        pDropSource->SetCustomizeDialog(this);
        pDropSource->SetContextMenu(m_pContextMenu);
    }
    m_pCommandBars->ClosePopups();
    CWinApp* pApp = AfxGetApp();
    BOOL bSiteEnabled = m_pSite != NULL && m_pSite->m_hWnd != NULL && m_pSite->IsWindowEnabled();
    if (pApp != NULL)
        pApp->EnableModeless(FALSE);
    // The site may be the application's main window, which that disables:
    // its bars must take the clicks of the run (the hooks keep the mouse
    // off its other windows).
    if (bSiteEnabled && !m_pSite->IsWindowEnabled())
        m_pSite->EnableWindow(TRUE);

    CustomizeRun run;
    run.pSheet = this;
    g_pRun = &run;
    if (m_pSite != NULL) {
        DWORD dwThread = ::GetCurrentThreadId();
        run.hMouseHook = ::SetWindowsHookExA(WH_MOUSE, MouseHookProc, NULL, dwThread);
        run.hKeyboardHook = ::SetWindowsHookExA(WH_KEYBOARD, KeyboardHookProc, NULL, dwThread);
        run.hCallWndHook = ::SetWindowsHookExA(WH_CALLWNDPROC, CallWndHookProc, NULL, dwThread);
    }
    HWND hCapture = ::GetCapture();
    if (hCapture != NULL)
        ::SendMessageA(hCapture, WM_CANCELMODE, 0, 0);

    INT_PTR nResult = IDCANCEL;
    if (Create(m_pSite)) {
        if (m_pCommandBars->IsLayoutRTL()) {
            ModifyStyleEx(0, WS_EX_LAYOUTRTL);
            CWnd* pTab = GetDlgItem(0x3020);
            if (pTab != NULL) {
                pTab->ModifyStyleEx(0, WS_EX_LAYOUTRTL);
                pTab->Invalidate();
            }
        }
        m_nModalResult = IDCANCEL;
        m_nFlags |= WF_CONTINUEMODAL;
        if (ContinueModal())
            RunModalLoop(0);
        nResult = m_nModalResult;
        m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);

        BOOL bWasActive = ::GetActiveWindow() == m_hWnd;
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (bWasActive && m_pSite != NULL)
            m_pSite->SetActiveWindow();
    }
    if (run.hMouseHook)
        ::UnhookWindowsHookEx(run.hMouseHook);
    if (run.hKeyboardHook)
        ::UnhookWindowsHookEx(run.hKeyboardHook);
    if (run.hCallWndHook)
        ::UnhookWindowsHookEx(run.hCallWndHook);
    if (m_hWnd != NULL)
        DestroyWindow();

    if (pApp != NULL)
        pApp->EnableModeless(TRUE);
    m_pCommandBars->m_bCustomizeDialogOpen = FALSE;
    if (CQXPCustomizeDropSource* pDropSource = m_pCommandBars->GetDropSource()) {
        pDropSource->SetCustomizeDialog(NULL);
        pDropSource->SetContextMenu(NULL);
    }
    m_pCommandBars->SetCustomizeMode(FALSE);
    m_pCommandBars->ClosePopups();
    m_pCommandBars->RedrawCommandBars();
    g_pRun = NULL;
    return nResult;
}

BOOL CQXPCustomizeSheet::OnInitDialog()
{
    BOOL bResult = CPropertySheet::OnInitDialog();
    CWnd* pOk = GetDlgItem(IDOK);
    if (pOk != NULL)
        pOk->ShowWindow(SW_HIDE);
    CWnd* pCancel = GetDlgItem(IDCANCEL);
    if (pCancel != NULL)
        pCancel->SetWindowText(ToolkitResourceManager::Instance()->LoadString(QX_IDS_CUSTOMIZE_CLOSE));
    return bResult;
}

BOOL CQXPCustomizeSheet::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_SYSKEYDOWN && m_hWnd != NULL) {
        HWND hTab = (HWND)SendMessage(PSM_GETTABCONTROL, 0, 0);
        int nCount = hTab ? (int)::SendMessageA(hTab, TCM_GETITEMCOUNT, 0, 0) : 0;
        for (int i = 0; i < nCount; ++i) {
            char szText[256] = {};
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = szText;
            item.cchTextMax = sizeof(szText);
            if (!::SendMessageA(hTab, TCM_GETITEMA, (WPARAM)i, (LPARAM)&item))
                continue;
            const char* pAmp = strrchr(szText, '&');
            if (pAmp == NULL || pAmp[1] == '\0')
                continue;
            if (CQXPKeyboardShortcuts::IsMnemonicMatch((BYTE)pAmp[1], (UINT)pMsg->wParam)) {
                SetActivePage(i);
                return TRUE;
            }
        }
    }
    return CPropertySheet::PreTranslateMessage(pMsg);
}

BOOL CQXPCustomizeSheet::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nID >= QX_ID_CUSTOMIZE_RESET && nID <= QX_ID_CUSTOMIZE_BEGINGROUP && m_pContextMenu != NULL &&
        m_pContextMenu->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if ((nID >= QX_ID_CUSTOMIZE_RESET && nID <= QX_ID_CUSTOMIZE_BEGINGROUP) || ((nID == IDOK || nID == IDCANCEL || nID == 9) && nCode == 0))
        return CPropertySheet::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    // Everything else is the frame's: its menus and their updates keep
    // working while the sheet has the focus.
    if (m_pSite != NULL && m_pSite->m_hWnd != NULL)
        return m_pSite->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    return CPropertySheet::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

int CQXPCustomizeSheet::MessageBox(LPCSTR lpszText, UINT nType)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        pApp->EnableModeless(FALSE);
    BOOL bSheetEnabled = m_hWnd != NULL && IsWindowEnabled();
    if (bSheetEnabled)
        EnableWindow(FALSE);
    BOOL bSiteEnabled = m_pSite != NULL && m_pSite->m_hWnd != NULL && m_pSite->IsWindowEnabled();
    if (bSiteEnabled)
        m_pSite->EnableWindow(FALSE);
    int nResult = AfxMessageBox(lpszText, nType);
    if (bSiteEnabled)
        m_pSite->EnableWindow(TRUE);
    if (bSheetEnabled)
        EnableWindow(TRUE);
    if (pApp != NULL)
        pApp->EnableModeless(TRUE);
    return nResult;
}

void CQXPCustomizeSheet::DragCommand(CQXPControl* pControl)
{
    // The bar it is dropped on inserts its own copy.
    if (CQXPCustomizeDropSource* pDropSource = m_pCommandBars ? m_pCommandBars->GetDropSource() : NULL)
        pDropSource->DoDragDrop(pControl, TRUE);
}

void CQXPCustomizeSheet::ShowContextMenu(int x, int y)
{
    if (m_pContextMenu != NULL)
        m_pContextMenu->Show(CPoint(x, y));
}

LRESULT CQXPCustomizeSheet::OnBarAnnounced(WPARAM, LPARAM lParam)
{
    if (m_pContextMenu != NULL)
        m_pContextMenu->OnBarAnnounced(reinterpret_cast<CQXPCommandBar*>(lParam));
    return 0;
}

LRESULT CQXPCustomizeSheet::OnControlNotify(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (m_pContextMenu != NULL && m_pContextMenu->OnControlNotify(wParam, lParam, &lResult))
        return lResult;
    UINT nID = (UINT)wParam;
    if (nID >= QX_ID_CUSTOMIZE_RESET && nID <= QX_ID_CUSTOMIZE_BEGINGROUP)
        return 0; // the command itself comes through OnCmdMsg
    // The frame's controls shown while the sheet runs: the frame decides.
    if (m_pSite == NULL || m_pSite->m_hWnd == NULL)
        return 0;
    lResult = m_pSite->SendMessage(WM_COMMANDBARS_CONTROLNOTIFY, wParam, lParam);
    if (lResult != 0)
        return lResult;
    m_pSite->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0);
    return 1; // handled: the control sends no command of its own on top
}

BOOL CQXPCustomizeSheet::IsOwnCommandBar(HWND hWnd) const
{
    for (HWND h = hWnd; h != NULL; h = ::GetParent(h)) {
        CQXPCommandBar* pBar = DYNAMIC_DOWNCAST(CQXPCommandBar, CWnd::FromHandlePermanent(h));
        if (pBar != NULL)
            return pBar->GetCommandBars() == m_pCommandBars || pBar->GetCommandBars() == NULL;
        if (h != hWnd)
            break; // the target or its parent only
    }
    return FALSE;
}

BOOL CQXPCustomizeSheet::FilterMouse(UINT message, POINT pt, HWND hTarget)
{
    (void)pt;
    if (message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE)
        return TRUE;
    HWND hSite = m_pSite ? m_pSite->m_hWnd : NULL;
    if (hSite != NULL && (::GetWindowLongA(hSite, GWL_STYLE) & WS_POPUP)) {
        HWND hForeground = ::GetForegroundWindow();
        if (!IsInside(hForeground, hSite) && m_hWnd != NULL)
            SetFocus();
    }
    // On the frame, only its command bars take the mouse.
    return QxpCustomizeMousePasses(m_pCommandBars, m_hWnd, message, hTarget);
}

BOOL CQXPCustomizeSheet::FilterKeyboard()
{
    return QxpCustomizeKeyPasses(m_pCommandBars, m_hWnd);
}

void CQXPCustomizeSheet::FilterCallWndProc(const CWPSTRUCT* pMsg)
{
    if (m_pSite != NULL && pMsg->hwnd == m_pSite->m_hWnd && pMsg->message == WM_NCACTIVATE && pMsg->wParam &&
        m_hWnd != NULL)
        PostMessage(WM_QXP_CUSTOMIZE_TAKEFOCUS, 0, 0);
}

LRESULT CQXPCustomizeSheet::OnTakeFocus(WPARAM, LPARAM)
{
    SetFocus();
    return 0;
}

// ---------------------------------------------------------------------------
// Categories

CQXPCustomizeCategories::~CQXPCustomizeCategories()
{
    for (CQXPCustomizeCategory& c : m_items)
        c.pControls->InternalRelease();
}

CQXPControls* CQXPCustomizeCategories::NewControls()
{
    CQXPControls* pControls = new CQXPControls;
    pControls->SetCommandBars(m_pCommandBars);
    return pControls;
}

int CQXPCustomizeCategories::Find(const CString& strName) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].strName == strName)
            return (int)i;
    return -1;
}

CQXPCustomizeCategory* CQXPCustomizeCategories::Add(const CString& strName, int nIndex)
{
    int nFound = Find(strName);
    if (nFound >= 0)
        return &m_items[nFound];
    CQXPCustomizeCategory category;
    category.strName = strName;
    category.pControls = NewControls();
    if (nIndex < 0 || nIndex > (int)m_items.size())
        nIndex = (int)m_items.size();
    m_items.insert(m_items.begin() + nIndex, category);
    return &m_items[nIndex];
}

namespace {
// A menu text as a category name: no "&" markers, cut at the first tab.
CString CategoryName(const CString& strText)
{
    CString strName = strText;
    int nTab = strName.Find('\t');
    if (nTab >= 0)
        strName = strName.Left(nTab);
    strName.Remove('&');
    return strName;
}
} // namespace

BOOL CQXPCustomizeCategories::AddMenu(UINT nMenuId, BOOL bExpandPopups)
{
    CMenu menu;
    if (!ToolkitResourceManager::Instance()->LoadMenu(&menu, nMenuId))
        return FALSE;
    HMENU hMenu = menu.GetSafeHmenu();
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        HMENU hPopup = ::GetSubMenu(hMenu, i);
        if (hPopup == NULL)
            continue;
        CString strName = CategoryName(ToolkitResourceManager::GetMenuString(hMenu, i));
        CQXPCustomizeCategory* pCategory = Add(strName);
        int nItems = ::GetMenuItemCount(hPopup);
        for (int j = 0; j < nItems; ++j) {
            UINT nState = ::GetMenuState(hPopup, (UINT)j, MF_BYPOSITION);
            if (nState & MF_SEPARATOR)
                continue;
            CQXPControl* pControl = pCategory->pControls->AddMenuItem(hPopup, j);
            HMENU hSub = ::GetSubMenu(hPopup, j);
            if (pControl == NULL || hSub == NULL || !bExpandPopups)
                continue;
            CString strPopup = pControl->GetCaption();
            int nSubItems = ::GetMenuItemCount(hSub);
            for (int k = 0; k < nSubItems; ++k) {
                if (::GetMenuState(hSub, (UINT)k, MF_BYPOSITION) & MF_SEPARATOR)
                    continue;
                CQXPControl* pItem = pCategory->pControls->AddMenuItem(hSub, k);
                if (pItem != NULL)
                    pItem->SetCaption(strPopup + " | " + pItem->GetCaption());
            }
        }
    }
    return TRUE;
}

BOOL CQXPCustomizeCategories::InsertMenu(UINT nMenuId, const CString& strName, int nIndex)
{
    CMenu menu;
    if (!ToolkitResourceManager::Instance()->LoadMenu(&menu, nMenuId))
        return FALSE;
    CQXPCustomizeCategory* pCategory = Add(strName, nIndex);
    pCategory->pControls->LoadMenu(menu.GetSafeHmenu());
    return TRUE;
}

void CQXPCustomizeCategories::InsertAllCommands(const CString& strName, int nIndex)
{
    CQXPControls* pAll = NewControls();
    for (CQXPCustomizeCategory& c : m_items)
        for (int i = 0; i < c.pControls->GetCount(); ++i)
            pAll->AddCopy(c.pControls->GetAt(i));
    int nFound = Find(strName);
    if (nFound >= 0) {
        m_items[nFound].pControls->InternalRelease();
        m_items[nFound].pControls = pAll;
        return;
    }
    CQXPCustomizeCategory category;
    category.strName = strName;
    category.pControls = pAll;
    if (nIndex < 0 || nIndex > (int)m_items.size())
        nIndex = (int)m_items.size();
    m_items.insert(m_items.begin() + nIndex, category);
}

void CQXPCustomizeCategories::InsertNewMenu(const CString& strName, int nIndex)
{
    CQXPCustomizeCategory* pCategory = Add(strName, nIndex);
    CQXPControl* pPopup = pCategory->pControls->Add(qxpControlPopup, 0);
    if (pPopup != NULL)
        pPopup->SetCaption(strName);
}

// ---------------------------------------------------------------------------
// CQXPNewToolbarDlg

CQXPNewToolbarDlg::CQXPNewToolbarDlg(CWnd* pParent, CQXPCommandBars* pCommandBars, CQXPCommandBar* pBar)
    : CDialog(QX_IDD_NEW_TOOLBAR, pParent), m_nBarID(0), m_pCommandBars(pCommandBars), m_pBar(pBar)
{
    LPCDLGTEMPLATEA pTemplate = ToolkitResourceManager::Instance()->LoadDialogTemplate(QX_IDD_NEW_TOOLBAR);
    if (pTemplate != NULL)
        InitModalIndirect(pTemplate, pParent);
}

CString AFXAPI CQXPNewToolbarDlg::DefaultName(const std::vector<BarInfo>& bars, const CString& strFormat)
{
    for (int n = 1;; ++n) {
        CString strName;
        strName.Format(strFormat, n);
        BOOL bTaken = FALSE;
        for (const BarInfo& bar : bars)
            bTaken |= bar.strTitle == strName;
        if (!bTaken)
            return strName;
    }
}

UINT AFXAPI CQXPNewToolbarDlg::CheckName(const CString& strName, const std::vector<BarInfo>& bars,
                                         const void* pRenamed, UINT* pnBarID)
{
    if (strName.IsEmpty())
        return QX_IDS_TOOLBAR_NAME_BLANK;
    UINT nId = QXP_FIRST_CUSTOM_BAR_ID;
    if (pRenamed == NULL) {
        for (size_t i = 0; i < bars.size();) {
            if (bars[i].nBarID == nId) {
                if (nId >= QXP_LAST_CUSTOM_BAR_ID)
                    return QX_IDS_TOOLBAR_LIMIT;
                ++nId;
                i = 0;
                continue;
            }
            ++i;
        }
    }
    for (const BarInfo& bar : bars)
        if (bar.pBar != pRenamed && bar.strTitle == strName)
            return QX_IDS_TOOLBAR_NAME_EXISTS;
    if (pnBarID != NULL)
        *pnBarID = pRenamed == NULL ? nId : 0;
    return 0;
}

std::vector<CQXPNewToolbarDlg::BarInfo> AFXAPI CQXPNewToolbarDlg::DescribeBars(CQXPCommandBars* pCommandBars)
{
    std::vector<BarInfo> bars;
    if (pCommandBars == NULL)
        return bars;
    for (int i = 0; i < pCommandBars->GetCount(); ++i) {
        CQXPToolBar* pBar = pCommandBars->GetAt(i);
        if (pBar != NULL)
            bars.push_back({pBar->GetTitle(), pBar->GetBarID(), pBar});
    }
    return bars;
}

BOOL CQXPNewToolbarDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ToolkitResourceManager* pResources = ToolkitResourceManager::Instance();
    if (m_pBar != NULL) {
        m_strName = m_pBar->GetTitle();
        SetWindowText(pResources->LoadString(QX_IDS_RENAME_TOOLBAR));
    } else {
        m_strName = DefaultName(DescribeBars(m_pCommandBars), pResources->LoadString(QX_IDS_CUSTOM_TOOLBAR_NAME));
    }
    SetDlgItemText(QX_CID_NEW_TOOLBAR_NAME, m_strName);
    CWnd* pEdit = GetDlgItem(QX_CID_NEW_TOOLBAR_NAME);
    if (pEdit != NULL) {
        pEdit->SetFocus();
        pEdit->SendMessage(EM_SETSEL, 0, -1);
        return FALSE;
    }
    return TRUE;
}

void CQXPNewToolbarDlg::OnOK()
{
    GetDlgItemText(QX_CID_NEW_TOOLBAR_NAME, m_strName);
    UINT nBarID = 0;
    UINT nMessage = CheckName(m_strName, DescribeBars(m_pCommandBars), m_pBar, &nBarID);
    if (nMessage != 0) {
        CString strText;
        strText.Format(ToolkitResourceManager::Instance()->LoadString(nMessage), (LPCSTR)m_strName);
        UINT nType = MB_OK | (nMessage == QX_IDS_TOOLBAR_LIMIT ? MB_ICONWARNING : MB_ICONERROR);
        AfxMessageBox(strText, nType);
        if (nMessage == QX_IDS_TOOLBAR_LIMIT)
            EndDialog(IDCANCEL);
        return;
    }
    m_nBarID = nBarID;
    EndDialog(IDOK);
}
