// fx/propsheet.h - CPropertySheet and CPropertyPage over the common-controls
// property sheet.
//
// The sheet creates a page's window the first time the page is shown, so
// only visited pages take part in Apply and OK: each created page gets
// OnKillActive (validation of the page being left) and OnApply (which calls
// OnOK). A modal sheet (DoModal) runs the framework's modal loop like
// CDialog; a modeless one (Create) is destroyed by its owner.
#pragma once

#include "fx/dialog.h"
#include "fx/ctrls.h"
#include <prsht.h>
#include <vector>

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    CPropertyPage();
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption = 0);
    ~CPropertyPage() override;
    void Construct(UINT nIDTemplate, UINT nIDCaption = 0);
    void Construct(LPCSTR lpszTemplateName, UINT nIDCaption = 0);

    // The page description handed to the sheet (dwFlags: PSP_*; an
    // in-memory template with PSP_DLGINDIRECT and pResource).
    PROPSHEETPAGEA m_psp;

    // Marks the page changed (the sheet enables Apply) or unchanged.
    void SetModified(BOOL bChanged = TRUE);
    void CancelToClose();
    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);

    // Notifications from the sheet.
    virtual BOOL OnSetActive();  // FALSE keeps the page from showing
    virtual BOOL OnKillActive(); // FALSE keeps the page (validation failed)
    virtual BOOL OnApply();      // FALSE keeps the sheet open on this page
    virtual void OnReset();
    virtual void OnOK();
    virtual void OnCancel();
    virtual BOOL OnQueryCancel(); // FALSE refuses Cancel
    virtual LRESULT OnWizardBack();
    virtual LRESULT OnWizardNext();
    virtual BOOL OnWizardFinish();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    CString m_strCaption;
    BOOL m_bFirstSetActive;

private:
    static INT_PTR CALLBACK PageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void CommonConstruct(LPCSTR lpszTemplateName, UINT nIDCaption);
    friend class CPropertySheet;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
    ~CPropertySheet() override;
    void Construct(UINT nIDCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
    void Construct(LPCSTR pszCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);

    // The sheet description (dwFlags: PSH_NOAPPLYNOW, PSH_WIZARD ...).
    PROPSHEETHEADERA m_psh;

    // Modeless: the sheet stays until its owner destroys it (after OK or
    // Cancel, GetActivePage() is NULL).
    virtual BOOL Create(CWnd* pParentWnd = NULL, DWORD dwStyle = (DWORD)-1, DWORD dwExStyle = 0);
    // IDOK when the sheet was closed with OK, IDCANCEL otherwise, -1 when it
    // could not be created.
    virtual INT_PTR DoModal();

    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const { return (int)m_pages.size(); }
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    void SetTitle(LPCSTR lpszText, UINT nStyle = 0);
    // The tab strip of the sheet (a temporary object).
    CTabCtrl* GetTabControl() const;
    void SetWizardMode() { m_psh.dwFlags |= PSH_WIZARD; }
    BOOL IsWizard() const { return (m_psh.dwFlags & (PSH_WIZARD | PSH_WIZARD97)) != 0; }
    void SetWizardButtons(DWORD dwFlags) { SendMessage(PSM_SETWIZBUTTONS, 0, (LPARAM)dwFlags); }
    void SetFinishText(LPCSTR lpszText) { SendMessage(PSM_SETFINISHTEXTA, 0, (LPARAM)lpszText); }
    void PressButton(int nButton) { SendMessage(PSM_PRESSBUTTON, (WPARAM)nButton, 0); }
    void EndDialog(int nEndID);

    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL ContinueModal() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    afx_msg LRESULT HandleInitDialog(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    std::vector<CPropertyPage*> m_pages;
    CString m_strCaption;
    CWnd* m_pParentWnd;
    BOOL m_bModeless;
    HWND m_hWndTop;

private:
    void CommonConstruct(CWnd* pParentWnd, UINT iSelectPage);
    BOOL CreateSheet(HWND hWndParent, BOOL bModeless);
    std::vector<HPROPSHEETPAGE> m_hPages;
};
