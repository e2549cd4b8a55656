// templatedlg.cpp - the Template Manager and New File From Template dialogs.
#include "templatedlg.h"

#include "resource.h"

#include <cstring>

// ===========================================================================
// CTemplateManager

IMPLEMENT_DYNAMIC(CTemplateManager, CDialog)

BEGIN_MESSAGE_MAP(CTemplateManager, CDialog)
    ON_EN_CHANGE(IDC_TEMPLATE_NAME, OnNameChange)
    ON_EN_CHANGE(IDC_TEMPLATE_TEXT, OnTextChange)
END_MESSAGE_MAP()

CTemplateManager::CTemplateManager(LPCSTR lpszName, LPCSTR lpszText, CWnd* pParent)
    : CDialog(IDD_TEMPLATE_MANAGER, pParent), m_strName(lpszName), m_strText(lpszText)
{
}

BOOL CTemplateManager::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_okButton.SubclassDlgItem(IDOK, this);
    m_nameEdit.SubclassDlgItem(IDC_TEMPLATE_NAME, this);
    m_textEdit.SubclassDlgItem(IDC_TEMPLATE_TEXT, this);
    m_font.CreateFont(15, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 32, 0, "Courier New");
    m_nameEdit.SetFont(&m_font);
    m_textEdit.SetFont(&m_font);
    int nTabStop = 16;
    m_textEdit.SendMessage(EM_SETTABSTOPS, 1, (LPARAM)&nTabStop);
    // The edit shows Windows line ends; a template keeps what it holds.
    CString strShown;
    for (int i = 0; i < m_strText.GetLength(); ++i) {
        char c = m_strText[i];
        if (c == '\n' && (i == 0 || m_strText[i - 1] != '\r'))
            strShown += '\r';
        strShown += c;
    }
    CString strText = m_strText;
    m_nameEdit.SetWindowText(m_strName);
    m_textEdit.SetWindowText(strShown);
    m_strText = strText;
    m_okButton.EnableWindow(!m_strName.IsEmpty());
    HICON hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                      ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), LR_SHARED);
    if (hIcon != NULL)
        SetIcon(hIcon, TRUE);
    return TRUE;
}

void CTemplateManager::OnNameChange()
{
    if (m_nameEdit.GetSafeHwnd() == NULL)
        return;
    CString strEdit;
    m_nameEdit.GetWindowText(strEdit);
    if (strEdit.IsEmpty()) {
        m_strName.Empty();
    } else if (strchr("\\/:*?\"<>|", strEdit[strEdit.GetLength() - 1]) != NULL) {
        m_nameEdit.SetWindowText(m_strName);
        m_nameEdit.SetSel(m_strName.GetLength(), m_strName.GetLength());
        ::MessageBeep((UINT)-1);
    } else {
        m_strName = strEdit;
    }
    if (m_okButton.GetSafeHwnd() != NULL)
        m_okButton.EnableWindow(!m_strName.IsEmpty());
}

void CTemplateManager::OnTextChange()
{
    if (m_textEdit.GetSafeHwnd() != NULL)
        m_textEdit.GetWindowText(m_strText);
}

void CTemplateManager::OnOK()
{
    // The edit's text as it stands (a change that sent no notice counts too).
    if (m_textEdit.GetSafeHwnd() != NULL && m_textEdit.GetModify())
        m_textEdit.GetWindowText(m_strText);
    CDialog::OnOK();
}

// ===========================================================================
// CNewTemplate

IMPLEMENT_DYNAMIC(CNewTemplate, CDialog)

BEGIN_MESSAGE_MAP(CNewTemplate, CDialog)
    ON_NOTIFY(TVN_SELCHANGEDA, IDC_NEW_TEMPLATE_TREE, OnSelChanged)
END_MESSAGE_MAP()

CNewTemplate::CNewTemplate(LPCSTR lpszFolder, CWnd* pParent)
    : CDialog(IDD_NEW_FROM_TEMPLATE, pParent), m_strFolder(lpszFolder), m_bPicking(FALSE)
{
}

BOOL CNewTemplate::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_okButton.SubclassDlgItem(IDOK, this);
    m_tree.SubclassDlgItem(IDC_NEW_TEMPLATE_TREE, this);
    if (!m_tree.FillFromFolder(NULL, m_strFolder, FALSE)) {
        // No template folder: nothing to pick, OK stays.
        m_okButton.EnableWindow(TRUE);
        return TRUE;
    }
    m_bPicking = TRUE;
    m_tree.ModifyStyle(0, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS |
                              TVS_SINGLEEXPAND | TVS_FULLROWSELECT);
    m_tree.Expand(m_tree.GetRootItem(), TVE_EXPAND);
    m_okButton.EnableWindow(FALSE);
    return TRUE;
}

void CNewTemplate::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (!m_bPicking)
        return;
    HTREEITEM hItem = reinterpret_cast<NMTREEVIEWA*>(pNMHDR)->itemNew.hItem;
    m_strPath = m_tree.IsFileItem(hItem) ? CString(m_tree.GetNode(hItem)->pathname) : CString();
    m_okButton.EnableWindow(!m_strPath.IsEmpty());
}

CString CNewTemplate::GetTemplateText() const
{
    return m_strPath.IsEmpty() ? CString() : ReadTemplateFile(m_strPath);
}
