// filedialogs.cpp - CFileDialogEx and CFileInfoDialog.
#include "filedialogs.h"

#include "apphelpers.h"
#include "filehead.h"

#include <resource.h>

#include <dlgs.h>

namespace {

const char kSettingsSection[] = "Settings";
const char kFilterIndexEntry[] = "FilterIndex";
const char kUnknown[] = "Unknown";

const char* const kMonthNames[12] = {"January", "February", "March", "April", "May", "June",
                                     "July", "August", "September", "October", "November", "December"};

void FillCombo(CWnd* pDlg, int nID, const char* const* ppszNames, int nCount, int nSelect)
{
    HWND hCombo = ::GetDlgItem(pDlg->GetSafeHwnd(), nID);
    if (hCombo == NULL)
        return;
    ::SendMessageA(hCombo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < nCount; i++)
        ::SendMessageA(hCombo, CB_ADDSTRING, 0, (LPARAM)ppszNames[i]);
    if (nSelect < 0 || nSelect >= nCount)
        nSelect = 0;
    ::SendMessageA(hCombo, CB_SETCURSEL, (WPARAM)nSelect, 0);
}

} // namespace

// ---------------------------------------------------------------------------
// CFileDialogEx

const char* const CFileDialogEx::kEncodingNames[5] = {"UTF-8", "Unicode", "Unicode (Big Endian)", "Ansi", "Auto"};
const char* const CFileDialogEx::kLineEndingNames[3] = {"Windows (CRLF)", "Macintosh (CR)", "Unix (LF)"};
const char* const CFileDialogEx::kViewAsNames[3] = {"Text", "Hex Editor (Binary)", "Auto"};

IMPLEMENT_DYNAMIC(CFileDialogEx, CFileDialog)

CFileDialogEx::CFileDialogEx(BOOL bOpenFileDialog, LPCSTR lpszFileName, CWnd* pParentWnd, LPCSTR lpszInitialDir)
    : CFileDialog(bOpenFileDialog, NULL, lpszFileName,
                  bOpenFileDialog ? (OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_ENABLETEMPLATE |
                                     OFN_OVERWRITEPROMPT)
                                  : (OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_ENABLETEMPLATE | OFN_OVERWRITEPROMPT),
                  BuildFileFilter(), pParentWnd),
      m_strFilterSource(BuildFileFilter()), m_nFilterIndex(0), m_bOpen(bOpenFileDialog), m_nLineEnding(0),
      m_nEncoding(4), m_nViewAs(VIEW_AUTO), m_strInitialDir(lpszInitialDir != NULL ? lpszInitialDir : "")
{
    m_ofn.lpTemplateName = MAKEINTRESOURCEA(bOpenFileDialog ? IDD_OPEN : IDD_SAVE);
    CWinApp* pApp = AfxGetApp();
    m_nFilterIndex = pApp != NULL ? (int)pApp->GetProfileInt(kSettingsSection, kFilterIndexEntry, 0) : 0;
    if (m_nFilterIndex < 0)
        m_nFilterIndex = 0;
    m_ofn.nFilterIndex = (DWORD)m_nFilterIndex;
    if (!m_strInitialDir.IsEmpty())
        m_ofn.lpstrInitialDir = m_strInitialDir;
}

CFileDialogEx::~CFileDialogEx() = default;

BOOL CFileDialogEx::OnInitDialog()
{
    CFileDialog::OnInitDialog();
    if (m_bOpen) {
        FillCombo(this, IDC_FILE_VIEW_AS, kViewAsNames, 3, m_nViewAs);
        FillCombo(this, IDC_FILE_ENCODING, kEncodingNames, 5, m_nEncoding);
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FILE_ENCODING), m_nViewAs != VIEW_HEX);
    } else {
        FillCombo(this, IDC_FILE_LINE_ENDING, kLineEndingNames, 3, m_nLineEnding);
        // The save dialog starts at the document's own encoding ("detect" is
        // no encoding to write: it becomes "Ansi").
        if (m_nEncoding < ENC_UTF8 || m_nEncoding > ENC_ANSI)
            m_nEncoding = ENC_ANSI;
        FillCombo(this, IDC_FILE_ENCODING, kEncodingNames, 4, m_nEncoding);
    }
    // No focus to the first of our lists: OnInitDone gives it to the name.
    return FALSE;
}

void CFileDialogEx::OnInitDone()
{
    CFileDialog::OnInitDone();
    // The name is a combo box with an edit in it in the Explorer form (cmb13),
    // a plain edit in older forms (edt1).
    HWND hDlg = ::GetParent(m_hWnd);
    HWND hName = ::GetDlgItem(hDlg, cmb13);
    if (hName == NULL)
        hName = ::GetDlgItem(hDlg, edt1);
    if (hName != NULL)
        ::SetFocus(hName);
}

BOOL CFileDialogEx::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == CBN_SELCHANGE) {
        int nSel = (int)::SendMessageA((HWND)lParam, CB_GETCURSEL, 0, 0);
        switch (LOWORD(wParam)) {
        case IDC_FILE_ENCODING:
            if (nSel >= 0)
                m_nEncoding = nSel;
            return TRUE;
        case IDC_FILE_LINE_ENDING:
            if (nSel >= 0)
                m_nLineEnding = nSel;
            return TRUE;
        case IDC_FILE_VIEW_AS:
            if (nSel >= 0)
                m_nViewAs = nSel;
            ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FILE_ENCODING), m_nViewAs != VIEW_HEX);
            return TRUE;
        default:
            break;
        }
    }
    return CFileDialog::OnCommand(wParam, lParam);
}

CString CFileDialogEx::GetFilterPart(LPCSTR lpszFilter, int nIndex, int nPart)
{
    if (nIndex < 1)
        nIndex = 1;
    return GetNthField(lpszFilter, (nIndex - 1) * 2 + nPart, '|');
}

CString CFileDialogEx::ExtensionFromPattern(LPCSTR lpszPattern)
{
    CString strPattern = lpszPattern != NULL ? lpszPattern : "";
    int nDot = strPattern.Find('.');
    if (nDot < 0)
        return CString();
    CString strExt = strPattern.Mid(nDot + 1);
    int nSemi = strExt.Find(';');
    if (nSemi >= 0)
        strExt = strExt.Left(nSemi);
    return strExt;
}

CString CFileDialogEx::ExtensionFromLabel(LPCSTR lpszLabel)
{
    CString strLabel = lpszLabel != NULL ? lpszLabel : "";
    int nDot = strLabel.ReverseFind('.');
    CString strExt = nDot >= 0 ? strLabel.Mid(nDot + 1) : strLabel;
    strExt.Remove(')');
    strExt.Remove('(');
    strExt.Remove('.');
    return strExt;
}

BOOL CFileDialogEx::OnFileNameOK()
{
    int nIndex = (int)m_ofn.nFilterIndex;
    if (CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileInt(kSettingsSection, kFilterIndexEntry, nIndex);
    m_strDefaultExt = ExtensionFromPattern(GetFilterPart(m_strFilterSource, nIndex, 1));
    return CFileDialog::OnFileNameOK();
}

void CFileDialogEx::OnTypeChange()
{
    CString strExt = ExtensionFromLabel(GetFilterPart(m_strFilterSource, (int)m_ofn.nFilterIndex, 0));
    SetDefaultExtension(strExt);
    CFileDialog::OnTypeChange();
}

// ---------------------------------------------------------------------------
// CFileInfoDialog

IMPLEMENT_DYNAMIC(CFileInfoDialog, CDialog)

BEGIN_MESSAGE_MAP(CFileInfoDialog, CDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CFileInfoDialog::CFileInfoDialog(LPCSTR lpszPath, CWnd* pParent)
    : CDialog(IDD, pParent), m_strSize(kUnknown), m_strType(kUnknown), m_strCreated(kUnknown),
      m_strModified(kUnknown), m_strAccessed(kUnknown), m_bReadOnly(FALSE), m_bHidden(FALSE), m_hIcon(NULL),
      m_strPath(lpszPath != NULL ? lpszPath : "")
{
}

CFileInfoDialog::~CFileInfoDialog()
{
    if (m_hIcon != NULL)
        ::DestroyIcon(m_hIcon);
}

CString CFileInfoDialog::FormatFileTime(const FILETIME& ft)
{
    SYSTEMTIME stUtc = {}, stLocal = {};
    ::FileTimeToSystemTime(&ft, &stUtc);
    if (!::SystemTimeToTzSpecificLocalTime(NULL, &stUtc, &stLocal))
        stLocal = stUtc;
    CString str;
    int nMonth = stLocal.wMonth >= 1 && stLocal.wMonth <= 12 ? stLocal.wMonth - 1 : 0;
    str.Format("%02d %s %d, %02d:%02d:%02d", stLocal.wDay, kMonthNames[nMonth], stLocal.wYear, stLocal.wHour,
               stLocal.wMinute, stLocal.wSecond);
    return str;
}

BOOL CFileInfoDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CPathParts parts(m_strPath);
    CString strName = parts.GetFileName();
    CString strFolder = parts.GetFolder();

    WIN32_FIND_DATAA fd = {};
    HANDLE hFind = m_strPath.IsEmpty() ? INVALID_HANDLE_VALUE : ::FindFirstFileA(m_strPath, &fd);
    if (hFind != INVALID_HANDLE_VALUE) {
        ::FindClose(hFind);
        m_strSize.Format("%02d (bytes)", (int)fd.nFileSizeLow);
        m_strCreated = FormatFileTime(fd.ftCreationTime);
        m_strModified = FormatFileTime(fd.ftLastWriteTime);
        m_strAccessed = FormatFileTime(fd.ftLastAccessTime);
        m_bReadOnly = (fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        m_bHidden = (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        SetDlgItemText(IDC_INFO_NAME, strName);
        SetDlgItemText(IDC_INFO_FOLDER, strFolder);
    } else {
        SetDlgItemText(IDC_INFO_NAME, kUnknown);
        SetDlgItemText(IDC_INFO_FOLDER, kUnknown);
    }
    SetDlgItemText(IDC_INFO_SIZE, m_strSize);
    SetDlgItemText(IDC_INFO_CREATED, m_strCreated);
    SetDlgItemText(IDC_INFO_MODIFIED, m_strModified);
    SetDlgItemText(IDC_INFO_ACCESSED, m_strAccessed);
    CheckDlgButton(IDC_INFO_READONLY, m_bReadOnly ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_INFO_HIDDEN, m_bHidden ? BST_CHECKED : BST_UNCHECKED);

    if (hFind != INVALID_HANDLE_VALUE) {
        SHFILEINFOA sfi = {};
        if (::SHGetFileInfoA(m_strPath, 0, &sfi, sizeof(sfi), SHGFI_TYPENAME | SHGFI_ICON)) {
            if (sfi.szTypeName[0] != '\0')
                m_strType = sfi.szTypeName;
            m_hIcon = sfi.hIcon;
        }
    }
    SetDlgItemText(IDC_INFO_TYPE, m_strType);
    if (m_hIcon != NULL)
        ::SendDlgItemMessageA(m_hWnd, IDC_INFO_ICON, STM_SETICON, (WPARAM)m_hIcon, 0);
    HICON hAppIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (hAppIcon != NULL) {
        SendMessage(WM_SETICON, ICON_BIG, (LPARAM)hAppIcon);
        SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)hAppIcon);
    }
    return TRUE;
}

BOOL CFileInfoDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDC_INFO_READONLY) {
            m_bReadOnly = !m_bReadOnly;
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_INFO_HIDDEN) {
            m_bHidden = !m_bHidden;
            return TRUE;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CFileInfoDialog::OnOK()
{
    DWORD dwAttributes = m_strPath.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(m_strPath);
    // A file that is not there has no attributes to change.
    if (dwAttributes != INVALID_FILE_ATTRIBUTES) {
        DWORD dwNew = dwAttributes;
        if (m_bReadOnly)
            dwNew |= FILE_ATTRIBUTE_READONLY;
        else
            dwNew &= ~(DWORD)FILE_ATTRIBUTE_READONLY;
        if (m_bHidden)
            dwNew |= FILE_ATTRIBUTE_HIDDEN;
        else
            dwNew &= ~(DWORD)FILE_ATTRIBUTE_HIDDEN;
        if (dwNew != dwAttributes)
            ::SetFileAttributesA(m_strPath, dwNew);
    }
    CDialog::OnOK();
}

void CFileInfoDialog::OnDestroy()
{
    if (m_hIcon != NULL) {
        ::DestroyIcon(m_hIcon);
        m_hIcon = NULL;
    }
    CDialog::OnDestroy();
}
