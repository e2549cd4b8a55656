// hexdialogs.cpp - the "Hex Find" and "Hex Goto" dialogs.
#include "hexdoc.h"

#include "editorframe.h"
#include "resource.h"

#include <string>

namespace {
const char kFindSection[] = "HexFindDialog";
const char kGotoSection[] = "HexGoto";

CHexFindDialog* g_pOpenFind = NULL;

CString FormatOffset(ULONGLONG n, BOOL bHex)
{
    if (!bHex)
        return CString(std::to_string(n).c_str());
    char sz[24];
    char* p = sz + sizeof(sz) - 1;
    *p = '\0';
    do {
        *--p = "0123456789ABCDEF"[n & 0xF];
        n >>= 4;
    } while (n != 0);
    return CString(p);
}
} // namespace

// ---------------------------------------------------------------------------
// CHexFindDialog

IMPLEMENT_DYNAMIC(CHexFindDialog, CQXResizeDialog)

BEGIN_MESSAGE_MAP(CHexFindDialog, CQXResizeDialog)
    ON_BN_CLICKED(IDC_HEX_FIND_BUTTON, OnFind)
    ON_BN_CLICKED(IDC_HEX_SEARCH_ASCII, OnSearchAscii)
    ON_BN_CLICKED(IDC_HEX_MATCH_CASE, OnMatchCase)
    ON_BN_CLICKED(IDC_HEX_UP, OnUp)
    ON_BN_CLICKED(IDC_HEX_DOWN, OnDown)
END_MESSAGE_MAP()

CHexFindDialog::CHexFindDialog()
    : CQXResizeDialog(IDD_HEX_FIND, NULL, 0), m_bSearchUp(0), m_bMatchCase(0), m_bAscii(0),
      m_wndFind(CToolbarFindComboBox::kDialogBox), m_pFrame(NULL), m_hAccel(NULL)
{
}

CHexFindDialog::~CHexFindDialog()
{
    if (m_hAccel != NULL)
        ::DestroyAcceleratorTable(m_hAccel);
    if (g_pOpenFind == this)
        g_pOpenFind = NULL;
}

CHexFindDialog* CHexFindDialog::GetOpen() { return g_pOpenFind; }

CHexFindDialog* CHexFindDialog::Open(CWnd* pMainFrame)
{
    IEditorFrame* pEditor = GetEditorFrame();
    if (pEditor != NULL && pEditor->GetHexFindDialog() != NULL)
        return DYNAMIC_DOWNCAST(CHexFindDialog, pEditor->GetHexFindDialog());
    if (g_pOpenFind != NULL)
        return g_pOpenFind;
    CHexFindDialog* pDlg = new CHexFindDialog;
    pDlg->m_pFrame = pMainFrame;
    if (!pDlg->Create(IDD_HEX_FIND, pMainFrame)) {
        delete pDlg;
        return NULL;
    }
    g_pOpenFind = pDlg;
    if (pEditor != NULL)
        pEditor->SetHexFindDialog(pDlg);
    pDlg->ShowWindow(SW_SHOW);
    return pDlg;
}

BOOL CHexFindDialog::OnInitDialog()
{
    CQXResizeDialog::OnInitDialog();
    // Enter in the box presses "Find", which searches with the dialog's
    // options: the box leaves it to the dialog.
    m_wndFind.SetTargetWindow(m_pFrame);
    m_wndFind.AttachDlgItem(IDC_HEX_FIND_TEXT, this);
    m_wndMatchCase.SubclassDlgItem(IDC_HEX_MATCH_CASE, this);
    m_wndAscii.SubclassDlgItem(IDC_HEX_SEARCH_ASCII, this);

    SetResize(IDC_HEX_FIND_TEXT, CQXResizeRect(0, 0, 1, 0));
    SetResize(IDC_HEX_FIND_BUTTON, CQXResizeRect(1, 0, 1, 0));
    SetResize(IDCANCEL, CQXResizeRect(1, 1, 1, 1));
    SetResize(IDC_HEX_SEARCH_ASCII, CQXResizeRect(0, 1, 0, 1));
    SetResize(IDC_HEX_MATCH_CASE, CQXResizeRect(0, 1, 0, 1));
    AutoLoadPlacement(kFindSection);

    m_wndFind.LimitText(0);
    CWinApp* pApp = AfxGetApp();
    m_bAscii = pApp->GetProfileInt(kFindSection, "SearchAscii", 0) != 0;
    m_bMatchCase = pApp->GetProfileInt(kFindSection, "MatchCase", 0) != 0;
    m_bSearchUp = pApp->GetProfileInt(kFindSection, "SearchUp", 0) != 0;
    m_wndAscii.SetCheck(m_bAscii ? BST_CHECKED : BST_UNCHECKED);
    m_wndMatchCase.SetCheck(m_bMatchCase ? BST_CHECKED : BST_UNCHECKED);
    m_wndMatchCase.EnableWindow(m_bAscii);
    CheckDlgButton(IDC_HEX_UP, m_bSearchUp ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_HEX_DOWN, m_bSearchUp ? BST_UNCHECKED : BST_CHECKED);

    HICON hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_FIND), IMAGE_ICON,
                                      ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0);
    if (hIcon != NULL)
        SetIcon(hIcon, FALSE);

    // The main frame's keys for "Find" work inside the dialog and its box.
    IEditorFrame* pEditor = GetEditorFrame();
    HACCEL hFrameKeys = pEditor != NULL ? pEditor->GetFrameAccelerators() : NULL;
    AppendAccelerator(m_hAccel, hFrameKeys, IDC_HEX_FIND_BUTTON);
    m_wndFind.CopyAccelerator(hFrameKeys, IDC_HEX_FIND_BUTTON);
    GotoDlgCtrl(&m_wndFind);
    return FALSE;
}

BOOL CHexFindDialog::PreTranslateMessage(MSG* pMsg)
{
    if (m_hAccel != NULL && ::TranslateAcceleratorA(m_hWnd, m_hAccel, pMsg))
        return TRUE;
    return CQXResizeDialog::PreTranslateMessage(pMsg);
}

void CHexFindDialog::OnSearchAscii()
{
    m_bAscii = m_wndAscii.GetCheck() == BST_CHECKED;
    m_wndMatchCase.EnableWindow(m_bAscii);
}

void CHexFindDialog::OnMatchCase() { m_bMatchCase = m_wndMatchCase.GetCheck() == BST_CHECKED; }

void CHexFindDialog::OnUp()
{
    m_bSearchUp = 1;
    CheckDlgButton(IDC_HEX_DOWN, BST_UNCHECKED);
}

void CHexFindDialog::OnDown()
{
    m_bSearchUp = 0;
    CheckDlgButton(IDC_HEX_UP, BST_UNCHECKED);
}

void CHexFindDialog::OnFind()
{
    m_wndFind.GetWindowText(m_strText);
    if (m_strText.IsEmpty())
        return;
    m_wndFind.AddToHistory(m_strText);
    if (IEditorFrame* pEditor = GetEditorFrame()) {
        pEditor->FindNextInActiveDocument(m_strText, m_bSearchUp, m_bMatchCase, m_bAscii);
        return;
    }
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, m_pFrame != NULL ? m_pFrame : AfxGetMainWnd());
    if (!HexFindInActiveDocument(pFrame, m_strText, m_bSearchUp, m_bMatchCase, m_bAscii))
        AfxMessageBox("Not found.", MB_ICONINFORMATION);
}

// Enter presses the default button "Find".
void CHexFindDialog::OnOK() { OnFind(); }

void CHexFindDialog::OnCancel()
{
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileInt(kFindSection, "SearchAscii", m_bAscii);
    pApp->WriteProfileInt(kFindSection, "MatchCase", m_bMatchCase);
    pApp->WriteProfileInt(kFindSection, "SearchUp", m_bSearchUp);
    DestroyWindow();
}

void CHexFindDialog::PostNcDestroy()
{
    if (IEditorFrame* pEditor = GetEditorFrame())
        pEditor->DetachHexFindDialog(this);
    if (g_pOpenFind == this)
        g_pOpenFind = NULL;
    CQXResizeDialog::PostNcDestroy();
    delete this;
}

// ---------------------------------------------------------------------------
// CHexGoto

IMPLEMENT_DYNAMIC(CHexGoto, CDialog)

BEGIN_MESSAGE_MAP(CHexGoto, CDialog)
    ON_BN_CLICKED(IDC_HEX_GOTO_HEX, OnHex)
    ON_BN_CLICKED(IDC_HEX_GOTO_DECIMAL, OnDecimal)
    ON_EN_CHANGE(IDC_HEX_GOTO_OFFSET, OnChangeOffset)
END_MESSAGE_MAP()

CHexGoto::CHexGoto(CWnd* pParent, ULONGLONG nOffset, ULONGLONG nFileLength)
    : CDialog(IDD_HEX_GOTO, pParent), m_bHex(0), m_nOffset(nOffset), m_nFileLength(nFileLength), m_bFilling(FALSE)
{
}

BOOL CHexGoto::ParseOffset(LPCSTR lpszText, BOOL bHex, ULONGLONG* pValue, CString* pError)
{
    const ULONGLONG kTooLarge = 0x100000000ull;
    ULONGLONG n = 0;
    for (const char* p = lpszText != NULL ? lpszText : ""; *p; ++p) {
        const char c = *p;
        unsigned d;
        if (c >= '0' && c <= '9')
            d = (unsigned)(c - '0');
        else if (bHex && c >= 'a' && c <= 'f')
            d = (unsigned)(c - 'a' + 10);
        else if (bHex && c >= 'A' && c <= 'F')
            d = (unsigned)(c - 'A' + 10);
        else {
            if (pError != NULL)
                *pError = bHex ? "Invalid hex digit" : "Invalid decimal digit. Numeric only.";
            return FALSE;
        }
        // Stop growing past 32 bits: such an offset lies beyond every file.
        if (n < kTooLarge) {
            n = n * (bHex ? 16 : 10) + d;
            if (n > kTooLarge)
                n = kTooLarge;
        }
    }
    if (pValue != NULL)
        *pValue = n;
    return TRUE;
}

BOOL CHexGoto::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_bHex = AfxGetApp()->GetProfileInt(kGotoSection, "Hex", 0) != 0;
    CheckRadioButton(IDC_HEX_GOTO_HEX, IDC_HEX_GOTO_DECIMAL, m_bHex ? IDC_HEX_GOTO_HEX : IDC_HEX_GOTO_DECIMAL);
    SendDlgItemMessage(IDC_HEX_GOTO_OFFSET, EM_LIMITTEXT, 0, 0);
    ShowInBase();
    return TRUE;
}

void CHexGoto::ShowInBase()
{
    m_bFilling = TRUE;
    SetDlgItemText(IDC_HEX_GOTO_OFFSET, FormatOffset(m_nOffset, m_bHex));
    SetDlgItemText(IDC_HEX_GOTO_LENGTH, "File Length: " + FormatOffset(m_nFileLength, m_bHex));
    m_bFilling = FALSE;
}

void CHexGoto::OnHex()
{
    m_bHex = 1;
    ShowInBase();
}

void CHexGoto::OnDecimal()
{
    m_bHex = 0;
    ShowInBase();
}

void CHexGoto::OnChangeOffset()
{
    if (m_bFilling)
        return;
    CString strText, strError;
    GetDlgItemText(IDC_HEX_GOTO_OFFSET, strText);
    ULONGLONG n = 0;
    if (ParseOffset(strText, m_bHex, &n, &strError))
        m_nOffset = n;
    else
        AfxMessageBox(strError, MB_OK | MB_ICONEXCLAMATION);
}

void CHexGoto::OnOK()
{
    AfxGetApp()->WriteProfileInt(kGotoSection, "Hex", m_bHex);
    if (m_nOffset < m_nFileLength) {
        CString strText, strError;
        GetDlgItemText(IDC_HEX_GOTO_OFFSET, strText);
        ULONGLONG n = 0;
        if (!ParseOffset(strText, m_bHex, &n, &strError)) {
            AfxMessageBox(strError, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        if (n < m_nFileLength) {
            m_nOffset = n;
            EndDialog(IDOK);
            return;
        }
    }
    AfxMessageBox("Selected offset larger than file length.", MB_OK | MB_ICONEXCLAMATION);
}
