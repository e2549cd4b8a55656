// viewasdlg.cpp - the View As dialog.
#include "viewasdlg.h"

#include "editorframe.h"
#include "lexerconfig.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CViewAsManagerDialog, CDialog)
    ON_LBN_SELCHANGE(IDC_VIEW_AS_LIST, OnSelChange)
    ON_LBN_DBLCLK(IDC_VIEW_AS_LIST, OnDblClk)
END_MESSAGE_MAP()

CViewAsManagerDialog::CViewAsManagerDialog(CWnd* pParent) : CDialog(IDD_VIEW_AS, pParent), m_nSelection(0) {}

BOOL CViewAsManagerDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    HICON hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                      ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), LR_SHARED);
    if (hIcon != NULL)
        SetIcon(hIcon, TRUE);
    m_list.SubclassDlgItem(IDC_VIEW_AS_LIST, this);
    IEditorFrame* pFrame = GetEditorFrame();
    CLexerConfigList* pList = pFrame != NULL ? pFrame->GetLexerConfigs() : NULL;
    for (int i = 0; pList != NULL && i < pList->GetCount(); ++i)
        m_list.AddString(pList->GetAt(i).GetMenuText());
    m_list.SetCurSel(m_nSelection);
    return TRUE;
}

void CViewAsManagerDialog::OnSelChange()
{
    m_nSelection = m_list.GetCurSel();
    GetDlgItem(IDOK)->EnableWindow(TRUE);
}

void CViewAsManagerDialog::OnDblClk()
{
    // A double click below the last entry leaves the selection as it was:
    // only a click on an entry closes the dialog.
    DWORD dwPos = ::GetMessagePos();
    CPoint pt((short)LOWORD(dwPos), (short)HIWORD(dwPos));
    m_list.ScreenToClient(&pt);
    BOOL bOutside = TRUE;
    m_list.ItemFromPoint(pt, bOutside);
    int nSel = m_list.GetCurSel();
    if (nSel == LB_ERR || bOutside)
        return;
    m_nSelection = nSel;
    EndDialog(IDOK);
}
