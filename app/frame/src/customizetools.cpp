// customizetools.cpp - the Tools page of the customize sheet.
#include "customizetools.h"

#include "resource.h"

#include <qx/profile.h>

#include <algorithm>

BEGIN_MESSAGE_MAP(CCustomizePageTools, CPropertyPage)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {
const char* const kOutputModes[] = {"Output Window", "Editor Window", "Dos Prompt"};
const UINT kFieldIds[] = {IDC_TOOLS_COMMAND, IDC_TOOLS_ARGS, IDC_TOOLS_FOLDER, IDC_TOOLS_OUTPUT};
// Browse modes of the edits: a folder, a file.
const DWORD kBrowseFolder = 1;
const DWORD kBrowseFile = 2;
const char kProgramFilter[] = "Executable (*.exe)|*.exe|Command (*.com)|*.com|Information (*.pif)|*.pif|"
                              "Batch (*.bat;*.cmd)|*.bat; *.cmd|All Files (*.*)|*.*||";
} // namespace

CCustomizePageTools::CCustomizePageTools(CToolList* pTools, CQXPImageManager* pImages)
    : CPropertyPage(IDD_CUSTOMIZE_TOOLS), m_pTools(pTools), m_pImages(pImages)
{
}

CCustomizePageTools::~CCustomizePageTools() {}

BOOL CCustomizePageTools::LoadTools(CToolList& tools, LPCSTR lpszSection)
{
    CQXProfileStore store;
    BYTE* pData = NULL;
    UINT nBytes = 0;
    if (!store.GetProfileBinary(lpszSection, "Tools", &pData, &nBytes) || pData == NULL)
        return FALSE;
    BOOL bOk = tools.FromBytes(pData, nBytes);
    delete[] pData;
    return bOk;
}

BOOL CCustomizePageTools::SaveTools(const CToolList& tools, LPCSTR lpszSection)
{
    std::vector<BYTE> bytes = tools.ToBytes();
    CQXProfileStore store;
    return store.WriteProfileBinary(lpszSection, "Tools", bytes.data(), (UINT)bytes.size());
}

BOOL CCustomizePageTools::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_list.SetListEditStyle(" &Menu contents:", 0);
    m_list.SubclassDlgItem(IDC_TOOLS_LIST, this);
    m_list.Initialize();
    CComboBox* pOutput = (CComboBox*)GetDlgItem(IDC_TOOLS_OUTPUT);
    for (const char* pszMode : kOutputModes)
        pOutput->AddString(pszMode);
    pOutput->SetCurSel(0);
    m_command.SubclassDlgItem(IDC_TOOLS_COMMAND, this);
    m_command.SetDlgTitle("Browse");
    m_command.SetDlgFilter(kProgramFilter);
    m_command.Initialize(this, kBrowseFile);
    m_arguments.SubclassDlgItem(IDC_TOOLS_ARGS, this);
    m_arguments.Initialize(this, kBrowseFile);
    m_folder.SubclassDlgItem(IDC_TOOLS_FOLDER, this);
    m_folder.Initialize(this, kBrowseFolder);
    for (int i = 0; m_pTools != NULL && i < m_pTools->GetCount(); ++i) {
        m_records.push_back(std::make_unique<CToolRecord>(m_pTools->GetAt(i)));
        int nItem = m_list.AddString(m_records.back()->strMenuText);
        m_list.SetItemDataPtr(nItem, m_records.back().get());
    }
    m_list.SetCurSel(m_list.GetCount() > 0 ? 0 : -1);
    LoadSelection();
    return TRUE;
}

CToolRecord* CCustomizePageTools::GetSelectedRecord() const
{
    int nItem = m_list.GetCurSel();
    return nItem < 0 ? NULL : (CToolRecord*)m_list.GetItemDataPtr(nItem);
}

void CCustomizePageTools::EnableFields(BOOL bEnable)
{
    for (UINT nId : kFieldIds)
        GetDlgItem(nId)->EnableWindow(bEnable);
}

void CCustomizePageTools::LoadSelection()
{
    CToolRecord* pRecord = GetSelectedRecord();
    m_bLoading = TRUE;
    SetDlgItemText(IDC_TOOLS_COMMAND, pRecord ? pRecord->strCommand : CString());
    SetDlgItemText(IDC_TOOLS_ARGS, pRecord ? pRecord->strArguments : CString());
    SetDlgItemText(IDC_TOOLS_FOLDER, pRecord ? pRecord->strFolder : CString());
    ((CComboBox*)GetDlgItem(IDC_TOOLS_OUTPUT))->SetCurSel(pRecord ? pRecord->nOutputMode : 0);
    m_bLoading = FALSE;
    EnableFields(pRecord != NULL);
}

void CCustomizePageTools::StoreField(UINT nId)
{
    CToolRecord* pRecord = GetSelectedRecord();
    if (pRecord == NULL || m_bLoading)
        return;
    switch (nId) {
    case IDC_TOOLS_COMMAND:
        GetDlgItemText(nId, pRecord->strCommand);
        break;
    case IDC_TOOLS_ARGS:
        GetDlgItemText(nId, pRecord->strArguments);
        break;
    case IDC_TOOLS_FOLDER:
        GetDlgItemText(nId, pRecord->strFolder);
        break;
    case IDC_TOOLS_OUTPUT: {
        int nSel = ((CComboBox*)GetDlgItem(nId))->GetCurSel();
        pRecord->nOutputMode = nSel < 0 ? 0 : nSel;
        break;
    }
    }
}

BOOL CCustomizePageTools::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nId = LOWORD(wParam);
    UINT nCode = HIWORD(wParam);
    if (nId == IDC_TOOLS_LIST) {
        int nItem = m_list.GetCurSel();
        switch (nCode) {
        case LBN_SELCHANGE:
            LoadSelection();
            break;
        case QXN_ELB_LABEL_CHANGED:
            if (CToolRecord* pRecord = GetSelectedRecord())
                m_list.GetText(nItem, pRecord->strMenuText);
            break;
        case QXN_ELB_NEW_ITEM:
            // The entry the in-place edit added (not yet selected).
            nItem = m_list.m_nIndex;
            if (nItem >= 0 && nItem < m_list.GetCount()) {
                m_list.SetCurSel(nItem);
                m_records.push_back(std::make_unique<CToolRecord>());
                m_list.GetText(nItem, m_records.back()->strMenuText);
                m_list.SetItemDataPtr(nItem, m_records.back().get());
                LoadSelection();
            }
            break;
        case QXN_ELB_PRE_DELETE:
            break;
        case QXN_ELB_DELETE_ITEM:
            LoadSelection();
            break;
        }
        return TRUE;
    }
    if ((nId == IDC_TOOLS_COMMAND || nId == IDC_TOOLS_ARGS || nId == IDC_TOOLS_FOLDER) && nCode == EN_CHANGE) {
        StoreField(nId);
        return TRUE;
    }
    if (nId == IDC_TOOLS_OUTPUT && nCode == CBN_SELCHANGE) {
        StoreField(nId);
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

void CCustomizePageTools::OnDestroy()
{
    if (m_pTools != NULL && m_list.GetSafeHwnd() != NULL) {
        m_pTools->RemoveAll();
        for (int i = 0; i < m_list.GetCount(); ++i) {
            const CToolRecord* pRecord = (const CToolRecord*)m_list.GetItemDataPtr(i);
            if (pRecord != NULL)
                m_pTools->Add(*pRecord);
        }
        m_pTools->RefreshIcons(m_pImages);
    }
    m_records.clear();
    CPropertyPage::OnDestroy();
}
