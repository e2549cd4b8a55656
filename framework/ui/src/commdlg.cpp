// Common dialogs.
#include "fx/commdlg.h"
#include "fx/except.h"
#include <cstring>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CFontDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CPageSetupDialog, CCommonDialog)

CCommonDialog::CCommonDialog(CWnd* pParentWnd) : CDialog((UINT)0, pParentWnd)
{
    m_lpszTemplateName = NULL;
    m_nIDHelp = 0;
}

void CCommonDialog::OnOK()
{
    // The system dialog ends itself; a child template's data is read here.
    UpdateData(TRUE);
}

void CCommonDialog::OnCancel() {}

namespace {

const size_t kMultiSelectBuffer = 64 * 1024;

// The three names of a DEVNAMES block.
CString DevNamesField(HGLOBAL hDevNames, int nField)
{
    if (hDevNames == NULL)
        return CString();
    LPDEVNAMES lpDev = (LPDEVNAMES)::GlobalLock(hDevNames);
    if (lpDev == NULL)
        return CString();
    WORD wOffset = nField == 0 ? lpDev->wDriverOffset : nField == 1 ? lpDev->wDeviceOffset
                                                                    : lpDev->wOutputOffset;
    CString str((LPCSTR)lpDev + wOffset);
    ::GlobalUnlock(hDevNames);
    return str;
}

HDC CreateDCFromHandles(HGLOBAL hDevNames, HGLOBAL hDevMode)
{
    if (hDevNames == NULL)
        return NULL;
    LPDEVMODEA lpDevMode = hDevMode != NULL ? (LPDEVMODEA)::GlobalLock(hDevMode) : NULL;
    HDC hDC = ::CreateDCA(DevNamesField(hDevNames, 0), DevNamesField(hDevNames, 1), DevNamesField(hDevNames, 2),
                          lpDevMode);
    if (hDevMode != NULL)
        ::GlobalUnlock(hDevMode);
    return hDC;
}

} // namespace

// ---------------------------------------------------------------------------
// CFileDialog

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog)
{
    ZeroMemory(&m_ofn, sizeof(m_ofn));
    m_szFileTitle[0] = '\0';
    m_fileBuffer.assign(MAX_PATH, '\0');
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_fileBuffer.data();
    m_ofn.nMaxFile = (DWORD)m_fileBuffer.size();
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_szFileTitle);
    m_ofn.Flags = dwFlags | OFN_ENABLEHOOK | OFN_EXPLORER;
    m_ofn.lpfnHook = &HookProc;

    if (lpszDefExt != NULL) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFileName != NULL)
        lstrcpynA(m_fileBuffer.data(), lpszFileName, (int)m_fileBuffer.size());
    if (lpszFilter != NULL) {
        // "label|pattern|..." becomes the NUL-separated, doubly terminated
        // form.
        m_strFilter = lpszFilter;
        m_strFilter += '|';
        m_strFilter += '|';
        std::string& s = m_strFilter.str();
        for (char& ch : s) {
            if (ch == '|')
                ch = '\0';
        }
        m_ofn.lpstrFilter = m_strFilter;
    }
}

CFileDialog::~CFileDialog() = default;

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return 0;
    const OPENFILENAMEA* pofn = reinterpret_cast<const OPENFILENAMEA*>(lParam);
    CFileDialog* pDlg = pofn != NULL ? reinterpret_cast<CFileDialog*>(pofn->lCustData) : NULL;
    if (pDlg == NULL)
        return 0;
    if (CWnd::FromHandlePermanent(hWnd) != pDlg && !pDlg->SubclassWindow(hWnd))
        return 0;
    pDlg->PreInitDialog();
    return (UINT_PTR)pDlg->OnInitDialog();
}

INT_PTR CFileDialog::DoModal()
{
    // Several names need a big buffer; the caller's own buffer is kept.
    BOOL bOwnBuffer = m_ofn.lpstrFile == m_fileBuffer.data();
    if (bOwnBuffer && (m_ofn.Flags & OFN_ALLOWMULTISELECT) && m_fileBuffer.size() < kMultiSelectBuffer) {
        std::string strInitial(m_fileBuffer.data());
        m_fileBuffer.assign(kMultiSelectBuffer, '\0');
        lstrcpynA(m_fileBuffer.data(), strInitial.c_str(), (int)kMultiSelectBuffer);
        m_ofn.lpstrFile = m_fileBuffer.data();
        m_ofn.nMaxFile = (DWORD)m_fileBuffer.size();
    }

    m_ofn.Flags |= OFN_ENABLEHOOK | OFN_EXPLORER;
    m_ofn.lpfnHook = &HookProc;
    m_ofn.lCustData = (LPARAM)this;
    if ((m_ofn.Flags & OFN_ENABLETEMPLATE) && m_ofn.hInstance == NULL)
        m_ofn.hInstance = AfxFindResourceHandle(m_ofn.lpTemplateName, (LPCSTR)RT_DIALOG);

    m_ofn.hwndOwner = PreModal();
    BOOL bResult = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    PostModal();
    if (m_hWnd != NULL)
        Detach(); // the dialog is gone
    return bResult ? IDOK : IDCANCEL;
}

CString CFileDialog::SendToDialog(UINT nMsg) const
{
    CString str;
    HWND hWndDlg = ::GetParent(m_hWnd);
    int nLen = (int)::SendMessageA(hWndDlg, nMsg, 0, 0);
    if (nLen <= 0)
        return str;
    ::SendMessageA(hWndDlg, nMsg, (WPARAM)(nLen + 1), (LPARAM)str.GetBuffer(nLen + 1));
    str.ReleaseBuffer();
    return str;
}

CString CFileDialog::GetPathName() const
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        return SendToDialog(CDM_GETFILEPATH);
    if (m_ofn.lpstrFile == NULL)
        return CString();
    // With several names the first full path.
    if (m_ofn.Flags & OFN_ALLOWMULTISELECT) {
        POSITION pos = GetStartPosition();
        if (pos != NULL)
            return GetNextPathName(pos);
    }
    return m_ofn.lpstrFile;
}

CString CFileDialog::GetFileName() const
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        return SendToDialog(CDM_GETSPEC);
    return fx::PathFileName(GetPathName());
}

CString CFileDialog::GetFileExt() const
{
    CString strName = GetFileName();
    int nDot = strName.ReverseFind('.');
    return nDot < 0 ? CString() : strName.Mid(nDot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    CString strName = GetFileName();
    int nDot = strName.ReverseFind('.');
    return nDot < 0 ? strName : strName.Left(nDot);
}

CString CFileDialog::GetFolderPath() const
{
    if (m_hWnd == NULL || !::IsWindow(m_hWnd))
        return CString();
    return SendToDialog(CDM_GETFOLDERPATH);
}

POSITION CFileDialog::GetStartPosition() const
{
    if (m_ofn.lpstrFile == NULL || m_ofn.lpstrFile[0] == '\0')
        return NULL;
    return (POSITION)m_ofn.lpstrFile;
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    LPSTR lpsz = (LPSTR)pos;
    if (lpsz == NULL) {
        pos = NULL;
        return CString();
    }
    if (lpsz == m_ofn.lpstrFile) {
        // One name: a full path followed by one NUL only.
        if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT)) {
            pos = NULL;
            return m_ofn.lpstrFile;
        }
        lpsz += lstrlenA(lpsz) + 1;
        if (*lpsz == '\0') {
            pos = NULL;
            return m_ofn.lpstrFile;
        }
    }

    // Several: the folder, then the names.
    CString strPath = m_ofn.lpstrFile;
    CString strName = lpsz;
    lpsz += strName.GetLength() + 1;
    pos = *lpsz == '\0' ? NULL : (POSITION)lpsz;

    // A name may already be a full path (a name typed with its folder).
    if (strName.GetLength() >= 2 && (strName[1] == ':' || (strName[0] == '\\' && strName[1] == '\\')))
        return strName;
    if (!strPath.IsEmpty() && strPath[strPath.GetLength() - 1] != '\\')
        strPath += '\\';
    return strPath + strName;
}

void CFileDialog::SetTemplate(UINT nWin3ID, UINT nWin4ID)
{
    SetTemplate(MAKEINTRESOURCEA(nWin3ID), MAKEINTRESOURCEA(nWin4ID));
}

void CFileDialog::SetTemplate(LPCSTR, LPCSTR lpWin4ID)
{
    m_ofn.Flags |= OFN_ENABLETEMPLATE;
    m_ofn.lpTemplateName = lpWin4ID;
    m_ofn.hInstance = AfxFindResourceHandle(lpWin4ID, (LPCSTR)RT_DIALOG);
}

void CFileDialog::SetControlText(int nID, LPCSTR lpsz)
{
    ::SendMessageA(::GetParent(m_hWnd), CDM_SETCONTROLTEXT, (WPARAM)nID, (LPARAM)lpsz);
}

void CFileDialog::HideControl(int nID)
{
    ::SendMessageA(::GetParent(m_hWnd), CDM_HIDECONTROL, (WPARAM)nID, 0);
}

void CFileDialog::SetDefExt(LPCSTR lpsz)
{
    ::SendMessageA(::GetParent(m_hWnd), CDM_SETDEFEXT, 0, (LPARAM)lpsz);
}

BOOL CFileDialog::OnFileNameOK() { return FALSE; }
void CFileDialog::OnInitDone() {}
void CFileDialog::OnFileNameChange() {}
void CFileDialog::OnFolderChange() {}
void CFileDialog::OnTypeChange() {}
UINT CFileDialog::OnShareViolation(LPCSTR) { return OFN_SHAREWARN; }

BOOL CFileDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CCommonDialog::OnNotify(wParam, lParam, pResult))
        return TRUE;

    OFNOTIFYA* pNotify = (OFNOTIFYA*)lParam;
    // The dialog keeps its own state; the filter index and the read-only
    // choice are copied back so the handlers see them in m_ofn.
    if (pNotify->lpOFN != NULL && pNotify->lpOFN != &m_ofn) {
        m_ofn.nFilterIndex = pNotify->lpOFN->nFilterIndex;
        m_ofn.Flags = (m_ofn.Flags & ~OFN_READONLY) | (pNotify->lpOFN->Flags & OFN_READONLY);
    }

    LRESULT lResult = 0;
    switch (pNotify->hdr.code) {
    case CDN_INITDONE:
        OnInitDone();
        break;
    case CDN_SELCHANGE:
        OnFileNameChange();
        break;
    case CDN_FOLDERCHANGE:
        OnFolderChange();
        break;
    case CDN_SHAREVIOLATION:
        lResult = OnShareViolation(pNotify->pszFile);
        break;
    case CDN_HELP:
        SendMessage(WM_COMMAND, ID_HELP);
        break;
    case CDN_FILEOK:
        // Non-zero refuses the name.
        lResult = OnFileNameOK() ? 1 : 0;
        break;
    case CDN_TYPECHANGE:
        OnTypeChange();
        break;
    default:
        return FALSE;
    }
    if (pResult != NULL)
        *pResult = lResult;
    // The dialog reads the answer from the child's dialog result.
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}

// ---------------------------------------------------------------------------
// CFontDialog

CFontDialog::CFontDialog(LPLOGFONTA lplfInitial, DWORD dwFlags, CDC* pdcPrinter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd)
{
    ZeroMemory(&m_cf, sizeof(m_cf));
    ZeroMemory(&m_lf, sizeof(m_lf));
    m_szStyleName[0] = '\0';
    m_cf.lStructSize = sizeof(m_cf);
    m_cf.lpszStyle = m_szStyleName;
    m_cf.Flags = dwFlags;
    m_cf.lpLogFont = &m_lf;
    if (lplfInitial != NULL) {
        m_lf = *lplfInitial;
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
    if (pdcPrinter != NULL) {
        m_cf.hDC = pdcPrinter->m_hDC;
        m_cf.Flags |= CF_PRINTERFONTS;
    }
}

INT_PTR CFontDialog::DoModal()
{
    m_cf.hwndOwner = PreModal();
    BOOL bResult = ::ChooseFontA(&m_cf);
    PostModal();
    return bResult ? IDOK : IDCANCEL;
}

void CFontDialog::GetCurrentFont(LPLOGFONTA lplf)
{
    if (m_hWnd != NULL)
        SendMessage(WM_CHOOSEFONT_GETLOGFONT, 0, (LPARAM)lplf);
    else
        *lplf = m_lf;
}

// ---------------------------------------------------------------------------
// CColorDialog

COLORREF* PASCAL CColorDialog::GetSavedCustomColors()
{
    static COLORREF s_colors[16] = {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
    return s_colors;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd)
{
    ZeroMemory(&m_cc, sizeof(m_cc));
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.Flags = dwFlags;
    if ((m_cc.rgbResult = clrInit) != 0)
        m_cc.Flags |= CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal()
{
    m_cc.hwndOwner = PreModal();
    BOOL bResult = ::ChooseColorA(&m_cc);
    PostModal();
    return bResult ? IDOK : IDCANCEL;
}

void CColorDialog::SetCurrentColor(COLORREF clr)
{
    if (m_hWnd == NULL) {
        m_cc.rgbResult = clr;
        m_cc.Flags |= CC_RGBINIT;
        return;
    }
    // The dialog's red, green and blue edits.
    SetDlgItemInt(706, GetRValue(clr), FALSE);
    SetDlgItemInt(707, GetGValue(clr), FALSE);
    SetDlgItemInt(708, GetBValue(clr), FALSE);
}

// ---------------------------------------------------------------------------
// CPrintDialog

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd)
{
    ZeroMemory(&m_pd, sizeof(m_pd));
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
    m_pd.nCopies = 1;
}

INT_PTR CPrintDialog::DoModal()
{
    m_pd.hwndOwner = PreModal();
    BOOL bResult = ::PrintDlgA(&m_pd);
    PostModal();
    return bResult ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults()
{
    DWORD dwFlags = m_pd.Flags;
    m_pd.Flags |= PD_RETURNDEFAULT;
    m_pd.hwndOwner = NULL;
    BOOL bResult = ::PrintDlgA(&m_pd);
    m_pd.Flags = dwFlags;
    return bResult;
}

int CPrintDialog::GetCopies() const
{
    if (m_pd.Flags & PD_USEDEVMODECOPIES) {
        LPDEVMODEA lpDevMode = GetDevMode();
        int nCopies = lpDevMode != NULL ? lpDevMode->dmCopies : 1;
        if (m_pd.hDevMode != NULL)
            ::GlobalUnlock(m_pd.hDevMode);
        return nCopies;
    }
    return m_pd.nCopies;
}

LPDEVMODEA CPrintDialog::GetDevMode() const
{
    return m_pd.hDevMode != NULL ? (LPDEVMODEA)::GlobalLock(m_pd.hDevMode) : NULL;
}

CString CPrintDialog::GetDriverName() const { return DevNamesField(m_pd.hDevNames, 0); }
CString CPrintDialog::GetDeviceName() const { return DevNamesField(m_pd.hDevNames, 1); }
CString CPrintDialog::GetPortName() const { return DevNamesField(m_pd.hDevNames, 2); }

HDC CPrintDialog::CreatePrinterDC()
{
    m_pd.hDC = CreateDCFromHandles(m_pd.hDevNames, m_pd.hDevMode);
    return m_pd.hDC;
}

// ---------------------------------------------------------------------------
// CPageSetupDialog

CPageSetupDialog::CPageSetupDialog(DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd)
{
    ZeroMemory(&m_psd, sizeof(m_psd));
    m_psd.lStructSize = sizeof(m_psd);
    m_psd.Flags = dwFlags;
}

INT_PTR CPageSetupDialog::DoModal()
{
    m_psd.hwndOwner = PreModal();
    BOOL bResult = ::PageSetupDlgA(&m_psd);
    PostModal();
    return bResult ? IDOK : IDCANCEL;
}

void CPageSetupDialog::GetMargins(LPRECT lpRectMargins, LPRECT lpRectMinMargins) const
{
    if (lpRectMargins != NULL)
        *lpRectMargins = m_psd.rtMargin;
    if (lpRectMinMargins != NULL)
        *lpRectMinMargins = m_psd.rtMinMargin;
}

LPDEVMODEA CPageSetupDialog::GetDevMode() const
{
    return m_psd.hDevMode != NULL ? (LPDEVMODEA)::GlobalLock(m_psd.hDevMode) : NULL;
}

CString CPageSetupDialog::GetDriverName() const { return DevNamesField(m_psd.hDevNames, 0); }
CString CPageSetupDialog::GetDeviceName() const { return DevNamesField(m_psd.hDevNames, 1); }
CString CPageSetupDialog::GetPortName() const { return DevNamesField(m_psd.hDevNames, 2); }

HDC CPageSetupDialog::CreatePrinterDC()
{
    return CreateDCFromHandles(m_psd.hDevNames, m_psd.hDevMode);
}
