// optionssheet.cpp - the options sheet "Document Properties" and its pages.
#include "optionssheet.h"

#include "apphelpers.h"
#include "backup.h"
#include "mainframe.h"
#include "settingsstore.h"
#include "spellcheckdlg.h"
#include "resource.h"

#include <shellapi.h>
#include <stdlib.h>

namespace {

// The picker features the option pages ask for.
const DWORD kPickerPopupStyle = 0x26;
// Folder-choosing mode of the browse edits.
const DWORD kBrowseFolder = 1;
// The new-style folder dialog.
const UINT kNewDialogStyle = 0x40;

const char kShellMenuKey[] = "*\\shellex\\ContextMenuHandlers\\Quillmate";

BOOL IsWindowsVersionAbove5()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&info);
#pragma GCC diagnostic pop
    return info.dwMajorVersion > 5;
}

} // namespace

// --- count edit ---------------------------------------------------------------------

CCountEdit::CCountEdit(UINT nEdit, UINT nSpin, int nMax, int nDigits, int nValue)
    : m_nEdit(nEdit), m_nSpin(nSpin), m_nMax(nMax), m_nDigits(nDigits), m_nValue(nValue), m_bWriting(TRUE)
{
}

void CCountEdit::Init(CWnd* pPage)
{
    m_spin.SubclassDlgItem(m_nSpin, pPage);
    m_spin.SetBuddy(pPage->GetDlgItem(m_nEdit));
    m_spin.SetRange32(1, m_nMax);
    m_spin.SetPos32(m_nValue);
    CString text;
    text.Format("%d", m_nValue);
    m_bWriting = TRUE;
    pPage->SetDlgItemText(m_nEdit, text);
    m_bWriting = FALSE;
}

BOOL CCountEdit::OnTextChanged(CWnd* pPage)
{
    if (m_bWriting)
        return FALSE;
    m_bWriting = TRUE;
    CString text;
    pPage->GetDlgItemText(m_nEdit, text);
    CString fixed;
    if (text.GetLength() <= m_nDigits) {
        m_nValue = atoi(text);
        if (m_nValue <= 0) {
            m_nValue = 1;
            fixed = "1";
        }
    } else {
        fixed.Format("%d", m_nValue);
    }
    if (!fixed.IsEmpty() && fixed != text) {
        pPage->SetDlgItemText(m_nEdit, fixed);
        pPage->SendDlgItemMessage(m_nEdit, EM_SETSEL, (WPARAM)fixed.GetLength(), (LPARAM)fixed.GetLength());
    }
    m_spin.SetPos32(m_nValue);
    m_bWriting = FALSE;
    return TRUE;
}

void CCountEdit::OnSpin(CWnd* pPage, NMHDR* pNMHDR)
{
    NMUPDOWN* pUD = reinterpret_cast<NMUPDOWN*>(pNMHDR);
    int nPos = pUD->iPos + pUD->iDelta;
    nPos = nPos < 1 ? 1 : (nPos > m_nMax ? m_nMax : nPos);
    CString text;
    text.Format("%d", nPos);
    pPage->SetDlgItemText(m_nEdit, text);
}

// --- folder browse edit --------------------------------------------------------------

void CFolderBrowseEdit::ChooseDirectory()
{
    CString strText;
    GetWindowText(strText);
    FolderBrowseDialog dlg(m_pParentWnd);
    dlg.m_strTitle = m_strFolderTitle;
    dlg.m_bi.ulFlags |= kNewDialogStyle;
    if (!dlg.SetSelPath(strText)) {
        AfxMessageBox(kQXPathTooLong, MB_OK | MB_ICONWARNING);
        return;
    }
    m_bBrowseInProgress = TRUE;
    if (s_pfnFolderDialog(dlg) == IDOK && m_hWnd)
        SetWindowText(dlg.GetSelPath());
    m_bBrowseInProgress = FALSE;
}

// --- General Settings ----------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPageGeneral, CPropertyPage)
    ON_BN_CLICKED(IDC_GENERAL_TABS_AS_SPACES, OnChanged)
    ON_BN_CLICKED(IDC_GENERAL_TAB_GUIDES, OnChanged)
    ON_BN_CLICKED(IDC_GENERAL_PRINT_HEADER, OnChanged)
    ON_BN_CLICKED(IDC_GENERAL_PRINT_FOOTER, OnChanged)
    ON_BN_CLICKED(IDC_GENERAL_PRINT_LINES, OnChanged)
    ON_BN_CLICKED(IDC_GENERAL_REMEMBER_FILES, OnChanged)
    ON_CONTROL(CPN_SELCHANGE, IDC_GENERAL_CARET_COLOUR, OnColourChosen)
    ON_EN_CHANGE(IDC_GENERAL_TAB_WIDTH, OnTabWidthChanged)
    ON_NOTIFY(UDN_DELTAPOS, IDC_GENERAL_TAB_WIDTH_SPIN, OnTabWidthSpin)
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

CPageGeneral::CPageGeneral(CMainFrame* pFrame)
    : CPropertyPage(IDD_PAGE_GENERAL),
      m_pFrame(pFrame),
      m_tabWidth(IDC_GENERAL_TAB_WIDTH, IDC_GENERAL_TAB_WIDTH_SPIN, 999, 3, pFrame->GetSettings()->nTabWidth)
{
    const CViewSettings& s = *pFrame->GetSettings();
    const CEditorSettings& e = *pFrame->GetEditorSettings();
    m_nTabsAsSpaces = s.nTabsAsSpaces;
    m_nTabGuides = s.nTabGuides;
    m_clrCaretLine = s.clrCaretLine;
    m_nCaretLineAlpha = s.nCaretLineAlpha;
    m_nPrintHeader = e.nPrintHeader;
    m_nPrintFooter = e.nPrintFooter;
    m_nPrintLineNumbers = e.nPrintLineNumbers;
    m_nRememberOpenFiles = e.nRememberOpenFiles;
}

void CPageGeneral::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_GENERAL_TABS_AS_SPACES, m_nTabsAsSpaces);
    DDX_Check(pDX, IDC_GENERAL_TAB_GUIDES, m_nTabGuides);
    DDX_Check(pDX, IDC_GENERAL_PRINT_HEADER, m_nPrintHeader);
    DDX_Check(pDX, IDC_GENERAL_PRINT_FOOTER, m_nPrintFooter);
    DDX_Check(pDX, IDC_GENERAL_PRINT_LINES, m_nPrintLineNumbers);
    DDX_Check(pDX, IDC_GENERAL_REMEMBER_FILES, m_nRememberOpenFiles);
    DDX_QXColorPicker(pDX, IDC_GENERAL_CARET_COLOUR, m_caretPicker, m_clrCaretLine);
}

BOOL CPageGeneral::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_caretPicker.SetDefaultColor(GetDefaultHexColour());
    m_caretPicker.ModifyPopupStyle(0, kPickerPopupStyle);
    CSliderCtrl* pSlider = (CSliderCtrl*)GetDlgItem(IDC_GENERAL_CARET_ALPHA);
    if (pSlider != NULL) {
        pSlider->SendMessage(TBM_SETRANGE, TRUE, MAKELPARAM(0, 255));
        pSlider->SendMessage(TBM_SETPOS, TRUE, (LPARAM)m_nCaretLineAlpha);
    }
    m_tabWidth.Init(this);
    return TRUE;
}

void CPageGeneral::OnChanged()
{
    SetModified(TRUE);
}

void CPageGeneral::OnColourChosen()
{
    m_clrCaretLine = m_caretPicker.GetColor();
    SetModified(TRUE);
}

void CPageGeneral::OnTabWidthChanged()
{
    if (m_tabWidth.OnTextChanged(this))
        SetModified(TRUE);
}

void CPageGeneral::OnTabWidthSpin(NMHDR* pNMHDR, LRESULT* pResult)
{
    m_tabWidth.OnSpin(this, pNMHDR);
    SetModified(TRUE);
    *pResult = 0;
}

void CPageGeneral::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar != NULL && pScrollBar->GetDlgCtrlID() == IDC_GENERAL_CARET_ALPHA) {
        m_nCaretLineAlpha = (int)pScrollBar->SendMessage(TBM_GETPOS);
        SetModified(TRUE);
    }
}

BOOL CPageGeneral::OnApply()
{
    CViewSettings& s = *m_pFrame->GetSettings();
    CEditorSettings& e = *m_pFrame->GetEditorSettings();
    s.nTabsAsSpaces = m_nTabsAsSpaces;
    s.nTabGuides = m_nTabGuides;
    s.nTabWidth = m_tabWidth.Get();
    s.clrCaretLine = m_clrCaretLine;
    s.nCaretLineAlpha = m_nCaretLineAlpha;
    e.nPrintHeader = m_nPrintHeader;
    e.nPrintFooter = m_nPrintFooter;
    e.nPrintLineNumbers = m_nPrintLineNumbers;
    e.nRememberOpenFiles = m_nRememberOpenFiles;
    m_pFrame->ApplyEditingValuesToViews();
    return CPropertyPage::OnApply();
}

// --- File Dialog Filters -------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPageFileFilter, CPropertyPage)
    ON_BN_CLICKED(IDC_FILTER_ADD, OnAdd)
    ON_BN_CLICKED(IDC_FILTER_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_FILTER_TEST, OnTest)
END_MESSAGE_MAP()

CPageFileFilter::CPageFileFilter() : CPropertyPage(IDD_PAGE_FILE_FILTER) {}

BOOL CPageFileFilter::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_list.SubclassDlgItem(IDC_FILTER_LIST, this);
    m_list.InsertColumn(0, "Label", LVCFMT_LEFT, 100);
    m_list.InsertColumn(1, "Extension", LVCFMT_LEFT, 200);
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (const CFileFilterEntry& f : ReadFileFilters()) {
        int nRow = m_list.InsertItem(m_list.GetItemCount(), f.label);
        m_list.SetItemText(nRow, 1, f.pattern);
    }
    return TRUE;
}

void CPageFileFilter::OnAdd()
{
    CString label, pattern;
    GetDlgItemText(IDC_FILTER_LABEL, label);
    GetDlgItemText(IDC_FILTER_EXTENSION, pattern);
    if (label.IsEmpty() || pattern.IsEmpty())
        return;
    switch (AddFileFilter(pattern, label)) {
    case FILTER_OK: {
        int nRow = m_list.InsertItem(m_list.GetItemCount(), label);
        m_list.SetItemText(nRow, 1, pattern);
        SetDlgItemText(IDC_FILTER_LABEL, "");
        SetDlgItemText(IDC_FILTER_EXTENSION, "");
        GetDlgItem(IDC_FILTER_LABEL)->SetFocus();
        break;
    }
    case FILTER_HAS_BAR:
        AfxMessageBox("A label or an extension cannot hold the character \"|\".", MB_ICONEXCLAMATION);
        break;
    default:
        AfxMessageBox(IDS_FILTER_SAVE_FAILED, MB_ICONEXCLAMATION);
        break;
    }
}

void CPageFileFilter::OnDelete()
{
    if (m_list.GetSelectedCount() == 0) {
        AfxMessageBox(IDS_FILTER_SELECT_FIRST, MB_ICONINFORMATION);
        return;
    }
    // Each deletion starts again from the first row; a row whose value
    // cannot be deleted stays (and is passed over).
    int nRow = 0;
    while (nRow < m_list.GetItemCount()) {
        if ((m_list.GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED) != 0 &&
            DeleteFileFilter(m_list.GetItemText(nRow, 1))) {
            m_list.DeleteItem(nRow);
            nRow = 0;
            continue;
        }
        ++nRow;
    }
}

void CPageFileFilter::OnTest()
{
    CFileDialog dlg(TRUE, NULL, NULL, OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT,
                    BuildFileFilter(), this);
    dlg.DoModal();
}

// --- Backup Manager ------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPageVersion, CPropertyPage)
    ON_BN_CLICKED(IDC_BACKUP_ENABLE, OnEnable)
    ON_BN_CLICKED(IDC_BACKUP_DELETE_ON_EXIT, OnDeleteOnExit)
    ON_EN_CHANGE(IDC_BACKUP_FOLDER, OnFolderChanged)
    ON_EN_CHANGE(IDC_BACKUP_VERSIONS, OnVersionsChanged)
    ON_NOTIFY(UDN_DELTAPOS, IDC_BACKUP_VERSIONS_SPIN, OnVersionsSpin)
    ON_BN_CLICKED(IDC_BACKUP_DELETE_FILES, OnDeleteFiles)
END_MESSAGE_MAP()

CPageVersion::CPageVersion(CMainFrame* pFrame)
    : CPropertyPage(IDD_PAGE_BACKUP),
      m_pFrame(pFrame),
      m_versions(IDC_BACKUP_VERSIONS, IDC_BACKUP_VERSIONS_SPIN, 99, 2, pFrame->GetEditorSettings()->nBackupVersions),
      m_bInitialising(TRUE)
{
    const CEditorSettings& e = *pFrame->GetEditorSettings();
    m_nEnabled = e.nBackupEnabled;
    m_nDeleteOnExit = e.nDeleteBackupsOnExit;
    m_strFolder = e.strBackupFolder;
}

void CPageVersion::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BACKUP_FOLDER, m_folder);
    DDX_Check(pDX, IDC_BACKUP_ENABLE, m_nEnabled);
    DDX_Check(pDX, IDC_BACKUP_DELETE_ON_EXIT, m_nDeleteOnExit);
    DDX_Text(pDX, IDC_BACKUP_FOLDER, m_strFolder);
}

BOOL CPageVersion::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_versions.Init(this);
    m_folder.Initialize(this, kBrowseFolder);
    UpdateEnabling();
    m_bInitialising = FALSE;
    return TRUE;
}

void CPageVersion::UpdateEnabling()
{
    for (UINT nID : {IDC_BACKUP_GROUP, IDC_BACKUP_FOLDER_LABEL, IDC_BACKUP_FOLDER, IDC_BACKUP_VERSIONS_LABEL,
                     IDC_BACKUP_VERSIONS_HINT, IDC_BACKUP_VERSIONS_SPIN, IDC_BACKUP_VERSIONS, IDC_BACKUP_DELETE_ON_EXIT,
                     IDC_BACKUP_DELETE_LABEL})
        if (CWnd* pWnd = GetDlgItem(nID))
            pWnd->EnableWindow(m_nEnabled ? TRUE : FALSE);
}

void CPageVersion::OnEnable()
{
    m_nEnabled = IsDlgButtonChecked(IDC_BACKUP_ENABLE) == BST_CHECKED;
    UpdateEnabling();
    SetModified(TRUE);
}

void CPageVersion::OnDeleteOnExit()
{
    m_nDeleteOnExit = IsDlgButtonChecked(IDC_BACKUP_DELETE_ON_EXIT) == BST_CHECKED;
    SetModified(TRUE);
}

void CPageVersion::OnFolderChanged()
{
    if (!m_bInitialising)
        SetModified(TRUE);
}

void CPageVersion::OnVersionsChanged()
{
    if (m_versions.OnTextChanged(this))
        SetModified(TRUE);
}

void CPageVersion::OnVersionsSpin(NMHDR* pNMHDR, LRESULT* pResult)
{
    m_versions.OnSpin(this, pNMHDR);
    SetModified(TRUE);
    *pResult = 0;
}

// The folder the existing copies were made in.
static CString CurrentBackupRoot(const CEditorSettings& e)
{
    return e.strBackupFolder.IsEmpty() ? CBackupSettings::DefaultFolder() : e.strBackupFolder;
}

void CPageVersion::OnDeleteFiles()
{
    if (AfxMessageBox("Delete all file backups?", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_pFrame->UpdateDocumentBackups(TRUE);
    CBackupStore::DeleteAllBackups(CurrentBackupRoot(*m_pFrame->GetEditorSettings()));
}

BOOL CPageVersion::OnApply()
{
    CEditorSettings& e = *m_pFrame->GetEditorSettings();
    // Copies live under the root they were made in: a folder typed in this
    // Apply holds none of them.
    CString oldRoot = CurrentBackupRoot(e);
    e.nBackupEnabled = m_nEnabled;
    e.nDeleteBackupsOnExit = m_nDeleteOnExit;
    e.nBackupVersions = m_versions.Get();
    if (m_nEnabled && !m_strFolder.IsEmpty() && ::GetFileAttributesA(m_strFolder) == INVALID_FILE_ATTRIBUTES)
        CreateFolder(m_strFolder);
    e.strBackupFolder = m_strFolder;
    m_pFrame->UpdateDocumentBackups(FALSE);
    if (!m_nEnabled)
        CBackupStore::DeleteAllBackups(oldRoot);
    return CPropertyPage::OnApply();
}

// --- General Settings More -----------------------------------------------------------

BEGIN_MESSAGE_MAP(CPageGeneralMore, CPropertyPage)
    ON_BN_CLICKED(IDC_MORE_SHELL_MENU, OnShellMenu)
    ON_BN_CLICKED(IDC_MORE_RESET_UNDO, OnResetUndo)
    ON_BN_CLICKED(IDC_MORE_LARGE_ICONS, OnIconSize)
    ON_BN_CLICKED(IDC_MORE_SMALL_ICONS, OnIconSize)
    ON_CBN_SELCHANGE(IDC_MORE_THEME, OnTheme)
END_MESSAGE_MAP()

CPageGeneralMore::CPageGeneralMore(CMainFrame* pFrame) : CPropertyPage(IDD_PAGE_GENERAL_MORE), m_pFrame(pFrame)
{
    m_nShellMenu = IsShellMenuRegistered() ? 1 : 0;
    m_nShellMenuAtOpen = m_nShellMenu;
    m_nResetUndo = pFrame->GetEditorSettings()->nResetUndoOnSave;
    m_nLargeIcons = pFrame->GetSettings()->nLargeIcons;
    m_nTheme = pFrame->GetSettings()->nTheme;
}

BOOL CPageGeneralMore::IsShellMenuRegistered()
{
    HKEY hKey = NULL;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, kShellMenuKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return FALSE;
    char szValue[101] = "";
    DWORD dwType = 0, cb = 100;
    LONG rc = ::RegQueryValueExA(hKey, NULL, NULL, &dwType, (LPBYTE)szValue, &cb);
    ::RegCloseKey(hKey);
    if (rc != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ) || cb == 0)
        return FALSE;
    // Terminated within the bytes read, and not empty.
    return memchr(szValue, '\0', cb) != NULL && szValue[0] != '\0';
}

BOOL CPageGeneralMore::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    CheckRadioButton(IDC_MORE_LARGE_ICONS, IDC_MORE_SMALL_ICONS,
                     m_nLargeIcons ? IDC_MORE_LARGE_ICONS : IDC_MORE_SMALL_ICONS);
    CheckDlgButton(IDC_MORE_SHELL_MENU, m_nShellMenu ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_MORE_RESET_UNDO, m_nResetUndo ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(IDC_MORE_SHELL_MENU,
                   IsWindowsVersionAbove5()
                       ? "Check this box to add a Quillmate shortcut to the Windows Explorer context menu.  Uncheck this "
                         "box to remove it. Note: Windows Vista will ask permission to do this."
                       : "Check this box to add the Quillmate Code Editor shortcut to the Windows Explorer context "
                         "menu.  Uncheck this box to remove it.");
    CComboBox* pCombo = (CComboBox*)GetDlgItem(IDC_MORE_THEME);
    if (pCombo != NULL) {
        for (const char* name : {"Windows 2000", "Windows XP", "Whidbey", "Office XP", "Office 2003"})
            pCombo->AddString(name);
        pCombo->SetCurSel(m_nTheme - THEME_FIRST);
    }
    return TRUE;
}

void CPageGeneralMore::OnShellMenu()
{
    m_nShellMenu = IsDlgButtonChecked(IDC_MORE_SHELL_MENU) == BST_CHECKED;
    SetModified(TRUE);
}

void CPageGeneralMore::OnResetUndo()
{
    m_nResetUndo = IsDlgButtonChecked(IDC_MORE_RESET_UNDO) == BST_CHECKED;
    SetModified(TRUE);
}

void CPageGeneralMore::OnIconSize()
{
    // The checked button decides: a click on the one already checked
    // changes nothing.
    m_nLargeIcons = IsDlgButtonChecked(IDC_MORE_LARGE_ICONS) == BST_CHECKED;
    SetModified(TRUE);
}

void CPageGeneralMore::OnTheme()
{
    CComboBox* pCombo = (CComboBox*)GetDlgItem(IDC_MORE_THEME);
    int nSel = pCombo != NULL ? pCombo->GetCurSel() : -1;
    if (nSel >= 0)
        m_nTheme = THEME_FIRST + nSel;
    SetModified(TRUE);
}

BOOL CPageGeneralMore::OnApply()
{
    if (m_nShellMenu != m_nShellMenuAtOpen) {
        // The installation folder, as the installer wrote it.
        CQXProfileStore store;
        CString appPath = store.GetProfileString("Settings", "AppPath", "");
        CString folder = CPathParts(appPath).GetFolder();
        if (!IsWindowsVersionAbove5()) {
            CString library;
            library.Format("%s\\QmateShell.dll", folder.GetString());
            if (HMODULE hLib = ::LoadLibraryA(library)) {
                typedef HRESULT(STDAPICALLTYPE * Entry)();
                Entry pfn = (Entry)(void*)::GetProcAddress(hLib, m_nShellMenu ? "DllRegisterServer"
                                                                              : "DllUnregisterServer");
                if (pfn != NULL)
                    pfn();
                ::FreeLibrary(hLib);
            }
        } else {
            CString tool;
            tool.Format("%s\\Quillmate_Setuptool.exe", folder.GetString());
            ::ShellExecuteA(NULL, "runas", tool, m_nShellMenu ? "true" : "false", NULL, SW_HIDE);
            m_nShellMenuAtOpen = m_nShellMenu;
        }
    }
    m_pFrame->GetEditorSettings()->nResetUndoOnSave = m_nResetUndo;
    m_pFrame->GetSettings()->nLargeIcons = m_nLargeIcons;
    m_pFrame->GetSettings()->nTheme = m_nTheme;
    m_pFrame->ApplyTheme(m_nTheme);
    return CPropertyPage::OnApply();
}

// --- Spell Checker -------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPageDictionary, CPropertyPage)
    ON_EN_CHANGE(IDC_DICT_FOLDER, OnFolderChanged)
    ON_CBN_SELCHANGE(IDC_DICT_NAME, OnDictionaryChosen)
END_MESSAGE_MAP()

CPageDictionary::CPageDictionary(CMainFrame* pFrame) : CPropertyPage(IDD_PAGE_DICTIONARY), m_pFrame(pFrame) {}

BOOL CPageDictionary::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_strFolder = m_pFrame->GetEditorSettings()->strDictionaryPath;
    m_strDictionary = m_pFrame->GetEditorSettings()->strDictionary;
    m_combo.SubclassDlgItem(IDC_DICT_NAME, this);
    m_folder.SubclassDlgItem(IDC_DICT_FOLDER, this);
    m_folder.Initialize(this, kBrowseFolder);
    m_folder.SetWindowText(m_strFolder);
    Fill();
    SetModified(FALSE);
    return TRUE;
}

void CPageDictionary::Fill()
{
    // The folder's dictionaries are listed even when the stored name starts
    // no speller, so a wrong name can be corrected here.
    BOOL bList = CSpellCheckDialog::FillDictionaryCombo(&m_combo, m_strFolder.IsEmpty() ? "" : (LPCSTR)m_strFolder,
                                                        m_strDictionary);
    m_combo.EnableWindow(bList);
    if (CWnd* pLabel = GetDlgItem(IDC_DICT_NAME_LABEL))
        pLabel->EnableWindow(bList);
}

void CPageDictionary::OnFolderChanged()
{
    if (m_folder.GetSafeHwnd() == NULL)
        return;
    m_folder.GetWindowText(m_strFolder);
    Fill();
    SetModified(TRUE);
}

void CPageDictionary::OnDictionaryChosen()
{
    int nSel = m_combo.GetCurSel();
    if (nSel >= 0)
        m_combo.GetLBText(nSel, m_strDictionary);
    SetModified(TRUE);
}

BOOL CPageDictionary::OnApply()
{
    m_pFrame->GetEditorSettings()->strDictionary = m_strDictionary;
    m_pFrame->GetEditorSettings()->strDictionaryPath = m_strFolder;
    return CPropertyPage::OnApply();
}

// --- the sheet -----------------------------------------------------------------------

CPropertiesSheet::CPropertiesSheet(LPCSTR lpszCaption, CMainFrame* pFrame, UINT iSelectPage)
    : CPropertySheet(lpszCaption, pFrame, iSelectPage),
      m_general(pFrame),
      m_syntax(pFrame),
      m_version(pFrame),
      m_more(pFrame),
      m_dictionary(pFrame)
{
    AddPage(&m_general);
    AddPage(&m_filters);
    AddPage(&m_syntax);
    AddPage(&m_version);
    AddPage(&m_more);
    AddPage(&m_dictionary);
}
