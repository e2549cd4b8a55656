// customizekeyboard.cpp - the Keyboard page of the customize sheet: the
// shortcuts of a command, assigned and removed over the manager's table.
#include <qx/customizesheet.h>

#include <qx/barcontrols.h>
#include <qx/commandbars.h>
#include <qx/resourcemgr.h>

namespace {
// The recent-file entries of the File menu: never offered for a shortcut.
const int kFirstRecentFile = 57616;
const int kLastRecentFile = 57631;

BOOL SameKey(const ACCEL& a, const ACCEL& b)
{
    return a.key == b.key && (a.fVirt & ~FNOINVERT) == (b.fVirt & ~FNOINVERT);
}
} // namespace

CQXPCustomizeKeyboardPage::CQXPCustomizeKeyboardPage(CQXPCustomizeSheet* pSheet)
    : CPropertyPage(QX_IDD_CUSTOMIZE_KEYBOARD), m_pSheet(pSheet), m_categories(pSheet->GetCommandBars())
{
}

CQXPKeyboardShortcuts* CQXPCustomizeKeyboardPage::GetShortcuts() const
{
    CQXPCommandBars* pBars = m_pSheet->GetCommandBars();
    return pBars ? pBars->GetKeyboardShortcuts() : NULL;
}

BOOL CQXPCustomizeKeyboardPage::AddCategories(UINT nMenuId, BOOL bExpandPopups)
{
    return m_categories.AddMenu(nMenuId, bExpandPopups);
}

BOOL CQXPCustomizeKeyboardPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_categoryCombo.SubclassDlgItem(QX_CID_KEYBOARD_CATEGORY, this);
    m_commandsList.SubclassDlgItem(QX_CID_KEYBOARD_COMMANDS, this);
    m_keysList.SubclassDlgItem(QX_CID_KEYBOARD_KEYS, this);
    m_shortcutEdit.SubclassDlgItem(QX_CID_KEYBOARD_SHORTCUT, this);
    m_shortcutEdit.SetKeyboardShortcuts(GetShortcuts());
    for (int i = 0; i < m_categories.GetCount(); ++i) {
        int nItem = m_categoryCombo.AddString(m_categories.GetAt(i).strName);
        m_categoryCombo.SetItemData(nItem, (DWORD_PTR)i);
    }
    m_categoryCombo.SetCurSel(0);
    CQXPCommandBars* pBars = m_pSheet->GetCommandBars();
    if (pBars != NULL && pBars->IsLayoutRTL()) {
        m_commandsList.ModifyStyleEx(0, WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR);
        m_categoryCombo.ModifyStyleEx(0, WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR);
    }
    RefreshCommands();
    return TRUE;
}

CQXPControl* CQXPCustomizeKeyboardPage::GetSelectedCommand() const
{
    int nItem = m_commandsList.GetCurSel();
    return nItem < 0 ? NULL : (CQXPControl*)m_commandsList.GetItemData(nItem);
}

void CQXPCustomizeKeyboardPage::RefreshCommands()
{
    m_commandsList.ResetContent();
    int nCategory = m_categoryCombo.GetCurSel();
    if (nCategory >= 0) {
        CQXPControls* pControls = m_categories.GetAt((int)m_categoryCombo.GetItemData(nCategory)).pControls;
        for (int i = 0; i < pControls->GetCount(); ++i) {
            CQXPControl* pControl = pControls->GetAt(i);
            int nId = pControl->GetID();
            int nType = pControl->GetType();
            if (nId <= 0 || nType == qxpControlPopup || nType == qxpControlButtonPopup ||
                (nId >= kFirstRecentFile && nId <= kLastRecentFile))
                continue;
            CString strCaption = pControl->GetCaption();
            strCaption.Remove('&');
            int nItem = m_commandsList.AddString(strCaption);
            m_commandsList.SetItemData(nItem, (DWORD_PTR)pControl);
        }
    }
    m_commandsList.SetCurSel(m_commandsList.GetCount() > 0 ? 0 : -1);
    RefreshAssignments();
}

void CQXPCustomizeKeyboardPage::RefreshAssignments()
{
    m_keysList.ResetContent();
    CQXPControl* pControl = GetSelectedCommand();
    CQXPKeyboardShortcuts* pShortcuts = GetShortcuts();
    if (pControl != NULL && pShortcuts != NULL) {
        const std::vector<ACCEL>& entries = pShortcuts->GetEntries();
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].cmd != (WORD)pControl->GetID())
                continue;
            CString strText;
            pShortcuts->FormatShortcut(strText, entries[i]);
            int nItem = m_keysList.AddString(strText);
            m_keysList.SetItemData(nItem, (DWORD_PTR)i);
        }
    }
    SetDlgItemText(QX_CID_KEYBOARD_DESCRIPTION, pControl ? pControl->GetDescription() : CString());
    RefreshButtons();
}

void CQXPCustomizeKeyboardPage::RefreshButtons()
{
    CString strText;
    m_shortcutEdit.GetWindowText(strText);
    BOOL bCanAssign = !strText.IsEmpty() && m_shortcutEdit.IsKeyCaptured() && GetSelectedCommand() != NULL;
    GetDlgItem(QX_CID_KEYBOARD_ASSIGN)->EnableWindow(bCanAssign);
    GetDlgItem(QX_CID_KEYBOARD_REMOVE)->EnableWindow(m_keysList.GetCurSel() >= 0);
}

void CQXPCustomizeKeyboardPage::OnAssign()
{
    CQXPControl* pControl = GetSelectedCommand();
    CQXPKeyboardShortcuts* pShortcuts = GetShortcuts();
    if (pControl == NULL || pShortcuts == NULL || !m_shortcutEdit.IsKeyCaptured())
        return;
    ACCEL accel = m_shortcutEdit.GetAccel();
    accel.cmd = (WORD)pControl->GetID();
    if (pShortcuts->OnBeforeAdd(accel))
        return;
    std::vector<ACCEL> entries = pShortcuts->GetEntries();
    BOOL bReplaced = FALSE;
    for (ACCEL& entry : entries) {
        if (!SameKey(entry, accel))
            continue;
        CString strQuestion = ToolkitResourceManager::Instance()->LoadString(QX_IDS_CONFIRM_REASSIGN_KEY);
        if (m_pSheet->MessageBox(strQuestion, MB_YESNO | MB_ICONWARNING) != IDYES)
            return;
        entry = accel;
        bReplaced = TRUE;
        break;
    }
    if (!bReplaced)
        entries.push_back(accel);
    pShortcuts->SetAcceleratorTable(entries.data(), (int)entries.size());
    m_shortcutEdit.ResetKey();
    RefreshAssignments();
}

void CQXPCustomizeKeyboardPage::OnRemove()
{
    CQXPKeyboardShortcuts* pShortcuts = GetShortcuts();
    int nItem = m_keysList.GetCurSel();
    if (pShortcuts == NULL || nItem < 0)
        return;
    std::vector<ACCEL> entries = pShortcuts->GetEntries();
    size_t nEntry = (size_t)m_keysList.GetItemData(nItem);
    if (nEntry >= entries.size() || pShortcuts->OnBeforeRemove(entries[nEntry]))
        return;
    // The last entry takes the removed one's place.
    entries[nEntry] = entries.back();
    entries.pop_back();
    pShortcuts->SetAcceleratorTable(entries.data(), (int)entries.size());
    RefreshAssignments();
}

void CQXPCustomizeKeyboardPage::OnResetAll()
{
    CQXPKeyboardShortcuts* pShortcuts = GetShortcuts();
    if (pShortcuts == NULL)
        return;
    CString strQuestion = ToolkitResourceManager::Instance()->LoadString(QX_IDS_CONFIRM_RESET_KEYS);
    if (m_pSheet->MessageBox(strQuestion, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return;
    pShortcuts->ResetToDefault();
    RefreshAssignments();
}

BOOL CQXPCustomizeKeyboardPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nCode = HIWORD(wParam);
    switch (LOWORD(wParam)) {
    case QX_CID_KEYBOARD_CATEGORY:
        if (nCode == CBN_SELCHANGE)
            RefreshCommands();
        return TRUE;
    case QX_CID_KEYBOARD_COMMANDS:
        if (nCode == LBN_SELCHANGE)
            RefreshAssignments();
        return TRUE;
    case QX_CID_KEYBOARD_KEYS:
        if (nCode == LBN_SELCHANGE)
            RefreshButtons();
        return TRUE;
    case QX_CID_KEYBOARD_SHORTCUT:
        if (nCode == EN_CHANGE)
            RefreshButtons();
        return TRUE;
    case QX_CID_KEYBOARD_ASSIGN:
        OnAssign();
        return TRUE;
    case QX_CID_KEYBOARD_REMOVE:
        OnRemove();
        return TRUE;
    case QX_CID_KEYBOARD_RESET_ALL:
        OnResetAll();
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}
