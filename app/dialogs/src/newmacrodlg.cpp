// newmacrodlg.cpp - the dialog that names a macro.
#include "macrodlg.h"

#include "macros.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CNewMacroDialog, CQXResizeDialog)
    ON_EN_CHANGE(IDC_NEW_MACRO_NAME, OnNameChange)
END_MESSAGE_MAP()

CNewMacroDialog::CNewMacroDialog(CWnd* pParent)
    : CQXResizeDialog(IDD_NEW_MACRO, pParent, qxResizeNoVertical), m_strName("Macro"), m_strCaption("New Macro")
{
}

BOOL CNewMacroDialog::OnInitDialog()
{
    CQXResizeDialog::OnInitDialog();
    m_edit.SubclassDlgItem(IDC_NEW_MACRO_NAME, this);

    SetResize(IDC_NEW_MACRO_NAME, QXRESIZE_TOP_LEFT, QXRESIZE_TOP_RIGHT);
    SetResize(IDOK, QXRESIZE_BOTTOM_RIGHT, QXRESIZE_BOTTOM_RIGHT);
    SetResize(IDCANCEL, QXRESIZE_BOTTOM_RIGHT, QXRESIZE_BOTTOM_RIGHT);
    AutoLoadPlacement("NewMacroDialog");

    HICON hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_MACRO), IMAGE_ICON,
                                      ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), LR_SHARED);
    if (hIcon != NULL)
        SetIcon(hIcon, TRUE);

    // Setting the text sends EN_CHANGE, which enables OK as the name says.
    m_edit.SetWindowText(m_strName);
    GetDlgItem(IDOK)->EnableWindow(!m_strName.IsEmpty());
    m_edit.SendMessage(EM_SETSEL, 0, -1);
    m_edit.SendMessage(EM_SCROLLCARET, 0, 0);
    m_edit.SetFocus();
    SetWindowText(m_strCaption);
    return FALSE; // the focus is on the name
}

void CNewMacroDialog::OnNameChange()
{
    m_edit.GetWindowText(m_strName);
    GetDlgItem(IDOK)->EnableWindow(!m_strName.IsEmpty());
}

void CNewMacroDialog::OnOK()
{
    m_edit.GetWindowText(m_strName);
    if (m_strName.IsEmpty())
        return;
    CString path = m_strFilePath.IsEmpty() ? GetMacroFilePath() : m_strFilePath;
    // A missing or unreadable file never blocks naming: it holds no names.
    if (CMacroStore::MacroExists(path, m_strName)) {
        CString message;
        message.Format("There is already a macro named %s", (LPCSTR)m_strName);
        AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
        m_edit.SendMessage(EM_SETSEL, 0, -1);
        m_edit.SetFocus();
        return;
    }
    CQXResizeDialog::OnOK();
}
