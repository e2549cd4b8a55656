// comparedlg.cpp - the "Compare Files" dialog and its file dialog.
#include "comparedoc.h"

#include "apphelpers.h"
#include "resource.h"

namespace {
const char kSettings[] = "Settings";

BOOL CanOpenForReading(LPCSTR lpszPath)
{
    HANDLE h = ::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return FALSE;
    ::CloseHandle(h);
    return TRUE;
}
} // namespace

// ---------------------------------------------------------------------------
// CCompareFileDialog

IMPLEMENT_DYNAMIC(CCompareFileDialog, CFileDialog)

CCompareFileDialog::CCompareFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                                       LPCSTR lpszFilter, CWnd* pParentWnd)
    : CFileDialog(bOpenFileDialog, lpszDefExt, lpszFileName, dwFlags, lpszFilter, pParentWnd)
{
    m_ofn.nFilterIndex = (DWORD)AfxGetApp()->GetProfileInt(kSettings, "FilterIndex", 0);
}

BOOL CCompareFileDialog::OnFileNameOK()
{
    AfxGetApp()->WriteProfileInt(kSettings, "FilterIndex", (int)m_ofn.nFilterIndex);
    return CFileDialog::OnFileNameOK();
}

// ---------------------------------------------------------------------------
// CBRCompareDlg

BEGIN_MESSAGE_MAP(CBRCompareDlg, CQXResizeDialog)
    ON_BN_CLICKED(IDC_COMPARE_BROWSE_FIRST, OnBrowseFirst)
    ON_BN_CLICKED(IDC_COMPARE_BROWSE_SECOND, OnBrowseSecond)
    ON_EN_CHANGE(IDC_COMPARE_FIRST, OnChangeFirst)
    ON_EN_CHANGE(IDC_COMPARE_SECOND, OnChangeSecond)
END_MESSAGE_MAP()

CBRCompareDlg::CBRCompareDlg(CWnd* pParent) : CQXResizeDialog(IDD_COMPARE, pParent, qxResizeNoVertical) {}

BOOL CBRCompareDlg::OnInitDialog()
{
    CQXResizeDialog::OnInitDialog();
    const CQXResizeRect kRightEdge(1, 0, 1, 0);
    SetResize(IDOK, kRightEdge);
    SetResize(IDC_COMPARE_BROWSE_FIRST, kRightEdge);
    SetResize(IDC_COMPARE_BROWSE_SECOND, kRightEdge);
    SetResize(IDCANCEL, kRightEdge);
    SetResize(IDC_COMPARE_FIRST, CQXResizeRect(0, 0, 1, 0));
    SetResize(IDC_COMPARE_SECOND, CQXResizeRect(0, 0, 1, 0));
    AutoLoadPlacement("CompareDialog");

    CString strFirst = AfxGetApp()->GetProfileString(kSettings, "CompareFirstFile", "");
    CString strSecond = AfxGetApp()->GetProfileString(kSettings, "CompareSecondFile", "");
    if (!strFirst.IsEmpty())
        SetDlgItemText(IDC_COMPARE_FIRST, strFirst);
    if (!strSecond.IsEmpty())
        SetDlgItemText(IDC_COMPARE_SECOND, strSecond);
    HICON hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_COMPARETYPE), IMAGE_ICON,
                                      ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0);
    if (hIcon != NULL)
        SetIcon(hIcon, FALSE);
    return TRUE;
}

void CBRCompareDlg::OnChangeFirst() { GetDlgItemText(IDC_COMPARE_FIRST, m_strFirstFile); }
void CBRCompareDlg::OnChangeSecond() { GetDlgItemText(IDC_COMPARE_SECOND, m_strSecondFile); }

void CBRCompareDlg::Browse(int nEditID)
{
    CString strFilter = BuildFileFilter();
    CCompareFileDialog dlg(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING,
                           strFilter, NULL);
    // Start in the folder of the file the box names already, if any.
    CString strCurrent, strFolder;
    GetDlgItemText(nEditID, strCurrent);
    if (!strCurrent.IsEmpty()) {
        strFolder = CPathParts(strCurrent).GetFolder();
        if (!strFolder.IsEmpty())
            dlg.m_ofn.lpstrInitialDir = strFolder;
    }
    if (dlg.DoModal() == IDOK)
        SetDlgItemText(nEditID, dlg.GetPathName());
}

void CBRCompareDlg::OnBrowseFirst() { Browse(IDC_COMPARE_FIRST); }
void CBRCompareDlg::OnBrowseSecond() { Browse(IDC_COMPARE_SECOND); }

CString CBRCompareDlg::CheckFiles(LPCSTR lpszFirst, LPCSTR lpszSecond)
{
    if (lpszFirst == NULL || *lpszFirst == '\0')
        return "Please select a file to compare";
    if (!CanOpenForReading(lpszFirst))
        return "File does not exist. Please select a file to compare";
    if (lpszSecond == NULL || *lpszSecond == '\0')
        return "Please select a second file to compare";
    if (!CanOpenForReading(lpszSecond))
        return "The second file does not exist. Please select a second file to compare";
    return CString();
}

void CBRCompareDlg::OnOK()
{
    GetDlgItemText(IDC_COMPARE_FIRST, m_strFirstFile);
    GetDlgItemText(IDC_COMPARE_SECOND, m_strSecondFile);
    CString strError = CheckFiles(m_strFirstFile, m_strSecondFile);
    if (!strError.IsEmpty()) {
        MessageBox(strError, "Compare", MB_OK);
        return;
    }
    AfxGetApp()->WriteProfileString(kSettings, "CompareFirstFile", m_strFirstFile);
    AfxGetApp()->WriteProfileString(kSettings, "CompareSecondFile", m_strSecondFile);
    EndDialog(IDOK);
}
