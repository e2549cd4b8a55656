// backuphistorydlg.cpp - the "Document Backups" dialog.
#include "backuphistorydlg.h"

#include "resource.h"

#include <vector>

const char CBackupHistoryDlg::kSelectTwoMessage[] =
    "Please ensure that just two items are selected before requesting a compare.";

CBackupHistoryDlg::CBackupHistoryDlg(const IBackupHistorySource* pSource, CWnd* pParent)
    : CDialog(IDD_BACKUP_HISTORY, pParent), m_pSource(pSource), m_nFirst(kCurrent), m_nSecond(kCurrent)
{
}

CString CBackupHistoryDlg::GetVersionPath(const CBackupStore& store, int nVersion)
{
    if (nVersion == kCurrent)
        return store.GetDocumentPath();
    if (nVersion < 0 || nVersion >= store.GetCount())
        return CString();
    return store.GetEntry(nVersion).path;
}

BOOL CBackupHistoryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_BACKUP_LIST, this);

    // "Current" first, then the copies from the newest to the oldest; the
    // item data is the entry index (kCurrent for the document's own file).
    int nItem = m_list.AddString("Current");
    m_list.SetItemData(nItem, (DWORD_PTR)(INT_PTR)kCurrent);
    if (m_pSource != NULL) {
        const CBackupStore& store = m_pSource->GetBackupStore();
        for (int i = store.GetCount() - 1; i >= 0; --i) {
            nItem = m_list.AddString(FormatBackupTime(store.GetEntry(i).time));
            m_list.SetItemData(nItem, (DWORD_PTR)(INT_PTR)i);
        }
    }
    m_list.SetSel(-1, FALSE);
    return TRUE;
}

void CBackupHistoryDlg::OnOK()
{
    if (m_list.GetSelCount() != 2) {
        AfxMessageBox(kSelectTwoMessage, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int sel[2] = {0, 0};
    m_list.GetSelItems(2, sel);
    // The list box reports selected lines in ascending order: upper first.
    m_nFirst = (int)(INT_PTR)m_list.GetItemData(sel[0]);
    m_nSecond = (int)(INT_PTR)m_list.GetItemData(sel[1]);
    CDialog::OnOK();
}
