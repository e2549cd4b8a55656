// macrodlg.cpp - the "Macros" dialog.
#include "macrodlg.h"

#include "macros.h"
#include "resource.h"

#include <vector>

BEGIN_MESSAGE_MAP(CMacroDialog, CQXResizeDialog)
    ON_LBN_SELCHANGE(IDC_MACRO_LIST, OnSelChange)
    ON_BN_CLICKED(IDC_MACRO_RUN, OnRun)
    ON_BN_CLICKED(IDC_MACRO_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_MACRO_RENAME, OnRename)
END_MESSAGE_MAP()

CMacroDialog::CMacroDialog(CWnd* pParent) : CQXResizeDialog(IDD_MACROS, pParent)
{
}

BOOL CMacroDialog::OnInitDialog()
{
    CQXResizeDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_MACRO_LIST, this);

    SetResize(IDC_MACRO_LIST, QXRESIZE_TOP_LEFT, QXRESIZE_BOTTOM_RIGHT);
    SetResize(IDC_MACRO_RUN, QXRESIZE_TOP_RIGHT, QXRESIZE_TOP_RIGHT);
    SetResize(IDC_MACRO_DELETE, QXRESIZE_TOP_RIGHT, QXRESIZE_TOP_RIGHT);
    SetResize(IDC_MACRO_RENAME, QXRESIZE_TOP_RIGHT, QXRESIZE_TOP_RIGHT);
    SetResize(IDCANCEL, QXRESIZE_BOTTOM_RIGHT, QXRESIZE_BOTTOM_RIGHT);
    AutoLoadPlacement("MacroDialog");

    HICON hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_MACRO), IMAGE_ICON,
                                      ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    if (hIcon != NULL)
        SetIcon(hIcon, FALSE);

    FillList();
    return TRUE;
}

void CMacroDialog::FillList()
{
    GetDlgItem(IDC_MACRO_RUN)->EnableWindow(FALSE);
    GetDlgItem(IDC_MACRO_DELETE)->EnableWindow(FALSE);
    GetDlgItem(IDC_MACRO_RENAME)->EnableWindow(FALSE);
    m_strSelectedName.Empty();
    m_list.ResetContent();
    // File order; a macro without a name attribute is left out without
    // disturbing the places of the ones after it.
    std::vector<CString> names = CMacroStore::ListMacroNames(m_strFilePath);
    for (const CString& name : names)
        m_list.InsertString(m_list.GetCount(), name);
}

void CMacroDialog::OnSelChange()
{
    int nSel = m_list.GetCurSel();
    if (nSel == LB_ERR)
        return;
    GetDlgItem(IDC_MACRO_RUN)->EnableWindow(TRUE);
    GetDlgItem(IDC_MACRO_DELETE)->EnableWindow(TRUE);
    GetDlgItem(IDC_MACRO_RENAME)->EnableWindow(TRUE);
    m_list.GetText(nSel, m_strSelectedName);
}

void CMacroDialog::OnRun()
{
    if (m_list.GetCurSel() == LB_ERR || m_strSelectedName.IsEmpty())
        return;
    EndDialog(IDOK);
}

void CMacroDialog::OnDelete()
{
    if (m_list.GetCurSel() == LB_ERR || m_strSelectedName.IsEmpty())
        return;
    CString prompt;
    prompt.Format("Are you sure that you want to delete %s?", (LPCSTR)m_strSelectedName);
    if (AfxMessageBox(prompt, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (m_strFilePath.IsEmpty()) {
        AfxMessageBox("Failed to delete macro", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CMacroStore::DeleteMacro(m_strFilePath, m_strSelectedName);
    FillList();
}

void CMacroDialog::OnRename()
{
    if (m_list.GetCurSel() == LB_ERR || m_strSelectedName.IsEmpty())
        return;
    CNewMacroDialog dlg(this);
    dlg.SetMacroName(m_strSelectedName);
    dlg.SetCaption("Rename Macro");
    if (!m_strFilePath.IsEmpty())
        dlg.SetMacroFilePath(m_strFilePath);
    if (dlg.DoModal() != IDOK)
        return;
    if (m_strFilePath.IsEmpty()) {
        AfxMessageBox("Failed to delete macro", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CMacroStore::RenameMacro(m_strFilePath, m_strSelectedName, dlg.GetMacroName());
    FillList();
}
