// CPropertySheet and CPropertyPage.
#include "fx/propsheet.h"
#include "fx/except.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

// ---------------------------------------------------------------------------
// CPropertyPage

CPropertyPage::CPropertyPage() : m_bFirstSetActive(TRUE)
{
    CommonConstruct(NULL, 0);
}

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : m_bFirstSetActive(TRUE)
{
    CommonConstruct(MAKEINTRESOURCEA(nIDTemplate), nIDCaption);
}

CPropertyPage::CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption) : m_bFirstSetActive(TRUE)
{
    CommonConstruct(lpszTemplateName, nIDCaption);
}

CPropertyPage::~CPropertyPage() = default;

void CPropertyPage::Construct(UINT nIDTemplate, UINT nIDCaption)
{
    CommonConstruct(MAKEINTRESOURCEA(nIDTemplate), nIDCaption);
}

void CPropertyPage::Construct(LPCSTR lpszTemplateName, UINT nIDCaption)
{
    CommonConstruct(lpszTemplateName, nIDCaption);
}

void CPropertyPage::CommonConstruct(LPCSTR lpszTemplateName, UINT nIDCaption)
{
    ZeroMemory(&m_psp, sizeof(m_psp));
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.hInstance = lpszTemplateName ? AfxFindResourceHandle(lpszTemplateName, (LPCSTR)RT_DIALOG) : NULL;
    m_psp.pszTemplate = lpszTemplateName;
    m_psp.pfnDlgProc = &PageDlgProc;
    m_psp.lParam = (LPARAM)this;
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && lpszTemplateName != NULL)
        m_nIDHelp = LOWORD((DWORD_PTR)lpszTemplateName);
    if (nIDCaption != 0 && m_strCaption.LoadString(nIDCaption)) {
        m_psp.pszTitle = m_strCaption;
        m_psp.dwFlags |= PSP_USETITLE;
    }
    m_bFirstSetActive = TRUE;
}

INT_PTR CALLBACK CPropertyPage::PageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    // The sheet creates the page window itself; the page object is found
    // through its description and attached here, before its first use.
    const PROPSHEETPAGEA* pPSP = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    CPropertyPage* pPage = pPSP != NULL ? reinterpret_cast<CPropertyPage*>(pPSP->lParam) : NULL;
    if (pPage == NULL)
        return TRUE;
    if (CWnd::FromHandlePermanent(hWnd) != pPage && !pPage->SubclassWindow(hWnd))
        return TRUE;
    (void)wParam;
    pPage->m_bFirstSetActive = TRUE;
    pPage->PreInitDialog();
    return pPage->OnInitDialog();
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    HWND hWndSheet = ::GetParent(m_hWnd);
    if (hWndSheet != NULL)
        ::SendMessageA(hWndSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

void CPropertyPage::CancelToClose()
{
    HWND hWndSheet = ::GetParent(m_hWnd);
    if (hWndSheet != NULL)
        ::SendMessageA(hWndSheet, PSM_CANCELTOCLOSE, 0, 0);
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam)
{
    HWND hWndSheet = ::GetParent(m_hWnd);
    return hWndSheet != NULL ? ::SendMessageA(hWndSheet, PSM_QUERYSIBLINGS, wParam, lParam) : 0;
}

BOOL CPropertyPage::OnSetActive()
{
    // The first activation follows OnInitDialog, which loaded the data.
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}
BOOL CPropertyPage::OnQueryCancel() { return TRUE; }
LRESULT CPropertyPage::OnWizardBack() { return 0; }
LRESULT CPropertyPage::OnWizardNext() { return 0; }
BOOL CPropertyPage::OnWizardFinish() { return TRUE; }

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg)
{
    // Keyboard navigation belongs to the sheet (next in the walk).
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // The page's own map first.
    if (CDialog::OnNotify(wParam, lParam, pResult))
        return TRUE;

    NMHDR* pNMHDR = (NMHDR*)lParam;
    if (pNMHDR->hwndFrom != ::GetParent(m_hWnd) && pNMHDR->hwndFrom != m_hWnd)
        return FALSE; // not from the sheet

    LRESULT lResult = 0;
    switch (pNMHDR->code) {
    case PSN_SETACTIVE:
        lResult = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        lResult = !OnKillActive();
        break;
    case PSN_APPLY:
        lResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        break;
    case PSN_RESET:
        OnReset();
        break;
    case PSN_QUERYCANCEL:
        lResult = !OnQueryCancel();
        break;
    case PSN_WIZNEXT:
        lResult = OnWizardNext();
        break;
    case PSN_WIZBACK:
        lResult = OnWizardBack();
        break;
    case PSN_WIZFINISH:
        lResult = !OnWizardFinish();
        break;
    case PSN_HELP:
        SendMessage(WM_COMMAND, ID_HELP);
        break;
    default:
        return FALSE;
    }
    if (pResult != NULL)
        *pResult = lResult;
    // The sheet may read the answer from the dialog result as well.
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}

// ---------------------------------------------------------------------------
// CPropertySheet

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

CPropertySheet::CPropertySheet()
{
    CommonConstruct(NULL, 0);
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    CommonConstruct(pParentWnd, iSelectPage);
    m_strCaption.LoadString(nIDCaption);
}

CPropertySheet::CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    CommonConstruct(pParentWnd, iSelectPage);
    m_strCaption = pszCaption;
}

CPropertySheet::~CPropertySheet()
{
    if (m_hWnd != NULL && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

void CPropertySheet::Construct(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    CommonConstruct(pParentWnd, iSelectPage);
    m_strCaption.LoadString(nIDCaption);
}

void CPropertySheet::Construct(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    CommonConstruct(pParentWnd, iSelectPage);
    m_strCaption = pszCaption;
}

void CPropertySheet::CommonConstruct(CWnd* pParentWnd, UINT iSelectPage)
{
    ZeroMemory(&m_psh, sizeof(m_psh));
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.nStartPage = iSelectPage;
    m_pParentWnd = pParentWnd;
    m_bModeless = FALSE;
    m_hWndTop = NULL;
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (pPage == NULL)
        return;
    m_pages.push_back(pPage);
    if (m_hWnd != NULL) {
        HPROPSHEETPAGE hPage = ::CreatePropertySheetPageA(&pPage->m_psp);
        if (hPage == NULL || !SendMessage(PSM_ADDPAGE, 0, (LPARAM)hPage)) {
            if (hPage != NULL)
                ::DestroyPropertySheetPage(hPage);
            m_pages.pop_back();
            AfxThrowMemoryException();
        }
    }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage)
{
    int nPage = GetPageIndex(pPage);
    if (nPage >= 0)
        RemovePage(nPage);
}

void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return;
    if (m_hWnd != NULL)
        SendMessage(PSM_REMOVEPAGE, (WPARAM)nPage, 0);
    m_pages.erase(m_pages.begin() + nPage);
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    if (nPage < 0 || nPage >= GetPageCount())
        return NULL;
    return m_pages[(size_t)nPage];
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const
{
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i] == pPage)
            return (int)i;
    }
    return -1;
}

int CPropertySheet::GetActiveIndex() const
{
    if (m_hWnd == NULL)
        return (int)m_psh.nStartPage;
    HWND hWndTab = (HWND)SendMessage(PSM_GETTABCONTROL, 0, 0);
    return hWndTab != NULL ? (int)::SendMessageA(hWndTab, TCM_GETCURSEL, 0, 0) : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    if (m_hWnd == NULL)
        return GetPage(GetActiveIndex());
    HWND hWndPage = (HWND)SendMessage(PSM_GETCURRENTPAGEHWND, 0, 0);
    return hWndPage != NULL ? DYNAMIC_DOWNCAST(CPropertyPage, CWnd::FromHandlePermanent(hWndPage)) : NULL;
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (m_hWnd == NULL) {
        m_psh.nStartPage = (UINT)nPage;
        return TRUE;
    }
    return (BOOL)SendMessage(PSM_SETCURSEL, (WPARAM)nPage, 0);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage)
{
    int nPage = GetPageIndex(pPage);
    return nPage >= 0 && SetActivePage(nPage);
}

void CPropertySheet::SetTitle(LPCSTR lpszText, UINT nStyle)
{
    m_strCaption = lpszText;
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
    if (m_hWnd != NULL)
        SendMessage(PSM_SETTITLEA, nStyle, (LPARAM)lpszText);
}

CTabCtrl* CPropertySheet::GetTabControl() const
{
    return static_cast<CTabCtrl*>(CWnd::FromHandle((HWND)SendMessage(PSM_GETTABCONTROL, 0, 0)));
}

void CPropertySheet::EndDialog(int nEndID)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nEndID);
    else if (m_hWnd != NULL)
        ::PostMessageA(m_hWnd, PSM_PRESSBUTTON, nEndID == IDOK ? PSBTN_OK : PSBTN_CANCEL, 0);
}

BOOL CPropertySheet::CreateSheet(HWND hWndParent, BOOL bModeless)
{
    if (m_hWnd != NULL)
        return FALSE;
    // A page description for each page (the sheet owns them from here on).
    m_hPages.clear();
    for (CPropertyPage* pPage : m_pages) {
        pPage->m_bFirstSetActive = TRUE;
        HPROPSHEETPAGE hPage = ::CreatePropertySheetPageA(&pPage->m_psp);
        if (hPage == NULL) {
            for (HPROPSHEETPAGE h : m_hPages)
                ::DestroyPropertySheetPage(h);
            m_hPages.clear();
            return FALSE;
        }
        m_hPages.push_back(hPage);
    }

    PROPSHEETHEADERA psh = m_psh;
    psh.dwSize = sizeof(psh);
    psh.dwFlags &= ~(PSH_PROPSHEETPAGE | PSH_USECALLBACK);
    psh.dwFlags |= PSH_MODELESS; // modal sheets run the framework's loop
    psh.hwndParent = hWndParent;
    psh.hInstance = AfxGetResourceHandle();
    psh.pszCaption = m_strCaption;
    psh.nPages = (UINT)m_hPages.size();
    psh.phpage = m_hPages.empty() ? NULL : m_hPages.data();
    if (psh.nStartPage >= psh.nPages)
        psh.nStartPage = 0;
    m_bModeless = bModeless;

    AfxHookWindowCreate(this);
    HWND hWnd = (HWND)::PropertySheetA(&psh);
    AfxUnhookWindowCreate();
    m_hPages.clear();
    if (hWnd == NULL || hWnd == (HWND)(INT_PTR)-1)
        return FALSE;
    if (m_hWnd != hWnd && FromHandlePermanent(hWnd) == NULL)
        SubclassWindow(hWnd);
    return m_hWnd == hWnd;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle)
{
    (void)dwStyle;
    (void)dwExStyle;
    if (pParentWnd != NULL)
        m_pParentWnd = pParentWnd;
    m_nFlags &= ~WF_CONTINUEMODAL;
    return CreateSheet(m_pParentWnd->GetSafeHwnd(), TRUE);
}

INT_PTR CPropertySheet::DoModal()
{
    HWND hWndParent = CWnd::GetSafeOwner_(m_pParentWnd->GetSafeHwnd(), &m_hWndTop);
    BOOL bEnableParent = FALSE;
    if (hWndParent != NULL && ::IsWindowEnabled(hWndParent)) {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = TRUE;
    }

    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    INT_PTR nResult = -1;
    try {
        if (CreateSheet(hWndParent, FALSE)) {
            m_nModalResult = IDCANCEL;
            if (ContinueModal())
                RunModalLoop(0);
            nResult = m_nModalResult;
        }
    } catch (CException* e) {
        e->Delete();
        nResult = -1;
    }
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);

    if (bEnableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndParent != NULL && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);
    if (m_hWnd != NULL)
        DestroyWindow();
    if (m_hWndTop != NULL && ::IsWindow(m_hWndTop))
        ::EnableWindow(m_hWndTop, TRUE);
    m_hWndTop = NULL;
    return nResult;
}

BOOL CPropertySheet::ContinueModal()
{
    if (!CWnd::ContinueModal())
        return FALSE;
    // After OK or Cancel the sheet has no current page any more; its result
    // tells which (OK also when the button was pressed by PSM_PRESSBUTTON).
    if (m_hWnd != NULL && SendMessage(PSM_GETCURRENTPAGEHWND, 0, 0) == 0) {
        if (SendMessage(PSM_GETRESULT, 0, 0) > 0)
            m_nModalResult = IDOK;
        return FALSE;
    }
    return TRUE;
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The sheet's own buttons go to the control's procedure first; whether
    // it closed tells the result of a modal sheet.
    UINT nID = LOWORD(wParam);
    if (nID == IDOK || nID == IDCANCEL) {
        LRESULT lResult = Default();
        (void)lResult;
        if (m_hWnd != NULL && SendMessage(PSM_GETCURRENTPAGEHWND, 0, 0) == 0)
            m_nModalResult = (int)nID;
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM)
{
    LRESULT lResult = Default();
    OnInitDialog();
    return lResult;
}

BOOL CPropertySheet::OnInitDialog()
{
    // A modal sheet without Apply does not keep the button's space.
    if (!m_bModeless && (m_psh.dwFlags & PSH_NOAPPLYNOW)) {
        HWND hWndApply = ::GetDlgItem(m_hWnd, 0x3021);
        if (hWndApply != NULL)
            ::ShowWindow(hWndApply, SW_HIDE);
    }
    return TRUE;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if ((pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) &&
        (pMsg->message < WM_MOUSEFIRST || pMsg->message > WM_MOUSELAST))
        return FALSE;
    // Tab, Ctrl+Tab, mnemonics and the default button across the pages.
    return (BOOL)SendMessage(PSM_ISDIALOGMESSAGE, 0, (LPARAM)pMsg);
}
