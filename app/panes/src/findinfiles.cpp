// findinfiles.cpp - the Find in Files dialog, its sink and the results list.
#include "findinfiles.h"

#include "apphelpers.h"
#include "editorframe.h"

#include <qx/browse.h>
#include <qx/fonts.h>

#include <objbase.h>
#include <stddef.h>
#include <string.h>

#include <vector>

#include "resource.h"

namespace {

const char kFindReplaceSection[] = "FindReplace";
const char kSearchHistory[] = "SearchHistory";
const char kDirectoryHistory[] = "DirectoryHistory";
const char kPlacement[] = "FindInFilesDialog";

// Private messages. The results list: add rows (wParam: their number,
// lParam: the first PendingRow; result: how many were added, from the
// first). The dialog: the search is over (sent by the sink from the worker).
const UINT WM_FIF_ADDROWS = WM_APP + 0x160;
const UINT WM_FIF_FINISHED = WM_APP + 0x161;

// Help context of the dialog: the resource help base plus its id; shown
// with the HTML Help command for a context (HH_HELP_CONTEXT).
const DWORD kHelpContext = 0x20000 + IDD_FIND_IN_FILES;
const UINT kHelpCommandContext = 0x000F;

struct PendingRow {
    LPCSTR lpszText;
    CFindInFilesRow* pRecord; // null for a plain line; the list owns it once added
};

CString WindowTextOf(HWND hWnd)
{
    int nLength = ::GetWindowTextLengthA(hWnd);
    std::vector<char> text((size_t)nLength + 1, '\0');
    ::GetWindowTextA(hWnd, text.data(), nLength + 1);
    return CString(text.data());
}

std::wstring Wide(const CString& text)
{
    int n = ::MultiByteToWideChar(CP_ACP, 0, text.GetString(), -1, NULL, 0);
    std::wstring out(n > 0 ? (size_t)n : 1, L'\0');
    if (n > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text.GetString(), -1, &out[0], n);
    out.resize(wcslen(out.c_str()));
    return out;
}

// Adds rows through the list's own thread, in order; the records of rows
// that were not added are freed.
void SendRows(HWND hList, const PendingRow* pRows, size_t nRows)
{
    if (nRows == 0)
        return;
    LRESULT lAdded = hList != NULL ? ::SendMessageA(hList, WM_FIF_ADDROWS, (WPARAM)nRows, (LPARAM)pRows) : 0;
    for (size_t i = (size_t)(lAdded > 0 ? lAdded : 0); i < nRows; ++i)
        if (pRows[i].pRecord != NULL)
            ::CoTaskMemFree(pRows[i].pRecord);
}

void SendRow(HWND hList, LPCSTR lpszText, CFindInFilesRow* pRecord)
{
    PendingRow row = {lpszText, pRecord};
    SendRows(hList, &row, 1);
}

} // namespace

// ===========================================================================
// Row texts

namespace fif {

CString RowText(const wchar_t* pszText)
{
    if (pszText == NULL)
        return CString();
    size_t nLength = wcslen(pszText);
    while (nLength > 0 && (pszText[nLength - 1] == L'\r' || pszText[nLength - 1] == L'\n'))
        --nLength;
    if (nLength == 0)
        return CString();
    int n = ::WideCharToMultiByte(CP_ACP, 0, pszText, (int)nLength, NULL, 0, NULL, NULL);
    if (n <= 0)
        return CString();
    std::vector<char> out((size_t)n);
    ::WideCharToMultiByte(CP_ACP, 0, pszText, (int)nLength, out.data(), n, NULL, NULL);
    return CString(out.data(), n);
}

CString CutLineEnd(LPCSTR lpszText)
{
    if (lpszText == NULL)
        return CString();
    size_t nLength = strlen(lpszText);
    while (nLength > 0 && (lpszText[nLength - 1] == '\r' || lpszText[nLength - 1] == '\n'))
        --nLength;
    return CString(lpszText, (int)nLength);
}

CString FormatMatchRow(LPCSTR lpszPath, int nLine, LPCSTR lpszText)
{
    char szLine[16];
    wsprintfA(szLine, "%d", nLine);
    CString row = lpszPath != NULL ? lpszPath : "";
    row += " (";
    row += szLine;
    row += "): ";
    row += lpszText != NULL ? lpszText : "";
    return row;
}

CString RemoveBlanks(LPCSTR lpszText)
{
    CString out;
    for (const char* p = lpszText != NULL ? lpszText : ""; *p != '\0'; ++p)
        if (*p != ' ')
            out += *p;
    return out;
}

int FileTypeIndexToSelect(int nStored, int nCount)
{
    return nStored <= 0 || nStored >= nCount ? 0 : nStored;
}

CFindInFilesRow* NewRow(LPCSTR lpszPath, int nLine, int nPosition)
{
    size_t nPath = lpszPath != NULL ? strlen(lpszPath) : 0;
    CFindInFilesRow* pRow =
        static_cast<CFindInFilesRow*>(::CoTaskMemAlloc(offsetof(CFindInFilesRow, szPath) + nPath + 1));
    if (pRow == NULL)
        return NULL;
    pRow->nPosition = nPosition;
    pRow->nLine = nLine;
    if (nPath > 0)
        memcpy(pRow->szPath, lpszPath, nPath);
    pRow->szPath[nPath] = '\0';
    return pRow;
}

} // namespace fif

// ===========================================================================
// CFindInFilesResults

IMPLEMENT_DYNAMIC(CFindInFilesResults, CListBox)

BEGIN_MESSAGE_MAP(CFindInFilesResults, CListBox)
    ON_WM_CREATE()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_FIF_ADDROWS, OnAddRows)
    ON_MESSAGE(LB_RESETCONTENT, OnResetContent)
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
const UINT_PTR kPaintTimer = 1;
const DWORD kPaintEveryMs = 100;
} // namespace

CFindInFilesResults::CFindInFilesResults() : m_bBatch(FALSE), m_bRowsSinceTick(FALSE), m_dwLastPaint(0) {}

CFindInFilesResults::~CFindInFilesResults() {}

BOOL CFindInFilesResults::Create(CWnd* pParent, UINT nID)
{
    return CListBox::Create(WS_CHILD | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                            CRect(0, 0, 10, 10), pParent, nID);
}

int CFindInFilesResults::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CListBox::OnCreate(lpCreateStruct) == -1)
        return -1;
    SendMessage(WM_SETFONT, (WPARAM)GetGlobalUIFonts()->GetNormalFont(), TRUE);
    return 0;
}

void CFindInFilesResults::AddLine(LPCSTR lpszText)
{
    CString text = fif::CutLineEnd(lpszText);
    if (!text.IsEmpty())
        SendRow(m_hWnd, text, NULL);
}

void CFindInFilesResults::AddMatch(LPCSTR lpszPath, LPCSTR lpszLineText, int nLine, int nPosition)
{
    CFindInFilesRow* pRecord = fif::NewRow(lpszPath, nLine, nPosition);
    if (pRecord == NULL)
        return;
    SendRow(m_hWnd, fif::FormatMatchRow(lpszPath, nLine, fif::CutLineEnd(lpszLineText)), pRecord);
}

LRESULT CFindInFilesResults::OnAddRows(WPARAM wParam, LPARAM lParam)
{
    const PendingRow* pRows = reinterpret_cast<const PendingRow*>(lParam);
    size_t nAdded = 0;
    int nIndex = -1;
    for (; nAdded < (size_t)wParam; ++nAdded) {
        const PendingRow& row = pRows[nAdded];
        int nNew = (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)row.lpszText);
        if (nNew < 0)
            break;
        if (row.pRecord != NULL)
            SendMessage(LB_SETITEMDATA, (WPARAM)nNew, (LPARAM)row.pRecord);
        nIndex = nNew;
    }
    if (nIndex < 0)
        return 0;
    // Painting every row as it comes would cost more than the search.
    if (!m_bBatch) {
        SetRedraw(FALSE);
        m_bBatch = TRUE;
        m_dwLastPaint = ::GetTickCount();
        SetTimer(kPaintTimer, kPaintEveryMs, NULL);
    }
    m_bRowsSinceTick = TRUE;
    SetTopIndex(nIndex);
    if (::GetTickCount() - m_dwLastPaint >= kPaintEveryMs)
        PaintRows(TRUE);
    return (LRESULT)nAdded;
}

void CFindInFilesResults::PaintRows(BOOL bGoOn)
{
    SetRedraw(TRUE);
    Invalidate();
    UpdateWindow();
    m_dwLastPaint = ::GetTickCount();
    if (bGoOn)
        SetRedraw(FALSE);
}

void CFindInFilesResults::EndBatch()
{
    if (!m_bBatch)
        return;
    KillTimer(kPaintTimer);
    m_bBatch = FALSE;
    PaintRows(FALSE);
}

void CFindInFilesResults::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kPaintTimer) {
        CListBox::OnTimer(nIDEvent);
        return;
    }
    if (!m_bRowsSinceTick) {
        EndBatch(); // the rows stopped coming
        return;
    }
    m_bRowsSinceTick = FALSE;
    PaintRows(TRUE);
}

void CFindInFilesResults::FreeRecords()
{
    int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        LRESULT lData = SendMessage(LB_GETITEMDATA, (WPARAM)i, 0);
        if (lData != 0 && lData != LB_ERR) {
            ::CoTaskMemFree((void*)lData);
            SendMessage(LB_SETITEMDATA, (WPARAM)i, 0);
        }
    }
}

LRESULT CFindInFilesResults::OnResetContent(WPARAM, LPARAM)
{
    FreeRecords();
    LRESULT lResult = Default();
    EndBatch();
    return lResult;
}

void CFindInFilesResults::Clear()
{
    SendMessage(LB_RESETCONTENT, 0, 0);
}

void CFindInFilesResults::OnDestroy()
{
    if (m_bBatch)
        KillTimer(kPaintTimer);
    m_bBatch = FALSE;
    FreeRecords();
    CListBox::OnDestroy();
}

const CFindInFilesRow* CFindInFilesResults::GetRow(int nIndex) const
{
    LRESULT lData = SendMessage(LB_GETITEMDATA, (WPARAM)nIndex, 0);
    return lData == LB_ERR || lData == 0 ? NULL : reinterpret_cast<const CFindInFilesRow*>(lData);
}

BOOL CFindInFilesResults::OpenRow(int nIndex)
{
    const CFindInFilesRow* pRow = GetRow(nIndex);
    if (pRow == NULL)
        return FALSE;
    // The record may go while the file opens (a new search): use copies.
    CString strPath = pRow->szPath;
    int nLine = pRow->nLine, nPosition = pRow->nPosition;
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->OpenFileAt(strPath, nLine, nPosition);
    return TRUE;
}

void CFindInFilesResults::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CListBox::OnLButtonDblClk(nFlags, point);
    BOOL bOutside = FALSE;
    UINT nIndex = ItemFromPoint(point, bOutside);
    if (!bOutside && (int)nIndex < GetCount())
        OpenRow((int)nIndex);
}

void CFindInFilesResults::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    ShowScrollBar(SB_HORZ, FALSE);
    CListBox::OnWindowPosChanged(lpwndpos);
    if (GetStyle() & WS_HSCROLL)
        ModifyStyle(WS_HSCROLL, 0, SWP_FRAMECHANGED);
}

// ===========================================================================
// CFindInFilesSink (called on the engine's worker)

void CFindInFilesSink::Queue(const CString& text, CFindInFilesRow* pRecord)
{
    m_rows.push_back(QueuedRow{text, pRecord});
    // A row after a quiet while goes at once; rows that pour in, in batches.
    if (m_rows.size() >= kRowsPerSend || ::GetTickCount() - m_dwLastSend >= kBatchMs)
        SendQueued();
}

void CFindInFilesSink::SendQueued()
{
    std::vector<PendingRow> rows;
    rows.reserve(m_rows.size());
    for (const QueuedRow& row : m_rows)
        rows.push_back(PendingRow{row.text.GetString(), row.pRecord});
    SendRows(m_pDialog->m_hResults, rows.data(), rows.size());
    m_rows.clear();
    m_dwLastSend = ::GetTickCount();
}

void CFindInFilesSink::OnMessage(const wchar_t* pszText)
{
    if (pszText == NULL)
        return;
    CString text = fif::RowText(pszText);
    if (!text.IsEmpty())
        Queue(text, NULL);
}

void CFindInFilesSink::OnMatch(const wchar_t* pszPath, int, int nLine, int nPosition, const wchar_t* pszLine)
{
    CString path = fif::RowText(pszPath);
    CFindInFilesRow* pRecord = fif::NewRow(path, nLine, nPosition);
    if (pRecord == NULL)
        return;
    Queue(fif::FormatMatchRow(path, nLine, fif::RowText(pszLine)), pRecord);
}

void CFindInFilesSink::OnFinished()
{
    SendQueued();
    CFindInFilesDlg* pDialog = m_pDialog;
    if (pDialog->GetSafeHwnd() != NULL)
        ::SendMessageA(pDialog->GetSafeHwnd(), WM_FIF_FINISHED, 0, 0);
    pDialog->m_engine.Cleanup();
    // Last: the dialog may go as soon as this is set.
    ::SetEvent(pDialog->m_hSearchEnded);
}

// ===========================================================================
// CFindInFilesDlg

IMPLEMENT_DYNAMIC(CFindInFilesDlg, CQXResizeDialog)

BEGIN_MESSAGE_MAP(CFindInFilesDlg, CQXResizeDialog)
    ON_BN_CLICKED(IDC_FIF_FIND, OnFind)
    ON_BN_CLICKED(IDC_FIF_STOP, OnStop)
    ON_BN_CLICKED(IDC_FIF_BROWSE, OnBrowse)
    ON_BN_CLICKED(IDC_FIF_HELP, OnHelp)
    ON_COMMAND_RANGE(IDC_FIF_MATCH_CASE, IDC_FIF_REGEX, OnOption)
    ON_COMMAND_RANGE(IDC_FIF_SUBFOLDERS, IDC_FIF_SUBFOLDERS, OnOption)
    ON_CBN_KILLFOCUS(IDC_FIF_TEXT, OnTextKillFocus)
    ON_CBN_KILLFOCUS(IDC_FIF_FOLDER, OnFolderKillFocus)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_FIF_FINISHED, OnSearchFinished)
END_MESSAGE_MAP()

CFindInFilesDlg::CFindInFilesDlg(CWnd* pParent)
    : CQXResizeDialog(IDD_FIND_IN_FILES, pParent, 0), m_sink(this), m_bMatchCase(0), m_bMatchWord(0),
      m_bRegExp(0), m_bSubFolders(0), m_pResults(NULL), m_hResults(NULL), m_bSearching(FALSE),
      m_hSearchEnded(::CreateEventA(NULL, TRUE, TRUE, NULL))
{
}

CFindInFilesDlg::~CFindInFilesDlg()
{
    WaitForSearchEnd();
    if (m_hSearchEnded != NULL)
        ::CloseHandle(m_hSearchEnded);
}

BOOL CFindInFilesDlg::OnInitDialog()
{
    CQXResizeDialog::OnInitDialog();
    // The boxes first: the layout keeps the window objects it finds.
    m_wndText.SubclassDlgItem(IDC_FIF_TEXT, this);
    m_wndTypes.SubclassDlgItem(IDC_FIF_TYPES, this);
    m_wndFolder.SubclassDlgItem(IDC_FIF_FOLDER, this);

    static const UINT kRightButtons[] = {IDC_FIF_FIND, IDC_FIF_STOP, IDC_FIF_BROWSE, IDC_FIF_HELP, IDCANCEL};
    for (UINT nID : kRightButtons)
        SetResize(nID, CQXResizeRect(1, 0, 1, 0));
    SetResize(IDC_FIF_TEXT, CQXResizeRect(0, 0, 1, 0));
    SetResize(IDC_FIF_TYPES, CQXResizeRect(0, 0, 1, 0));
    SetResize(IDC_FIF_FOLDER, CQXResizeRect(0, 0, 1, 0));
    SetResize(IDC_FIF_OPTIONS, CQXResizeRect(0, 1, 1, 1));
    SetFlag(qxResizeNoVertical);
    AutoLoadPlacement(kPlacement);

    m_wndText.LimitText(0);
    m_wndTypes.LimitText(0);
    m_wndFolder.LimitText(0);

    CWinApp* pApp = AfxGetApp();
    m_bMatchCase = pApp->GetProfileInt(kFindReplaceSection, "MatchCase", 0) != 0;
    m_bMatchWord = pApp->GetProfileInt(kFindReplaceSection, "MatchWord", 0) != 0;
    m_bRegExp = pApp->GetProfileInt(kFindReplaceSection, "RegExp", 0) != 0;
    m_bSubFolders = pApp->GetProfileInt(kFindReplaceSection, "SubFolders", 0) != 0;
    CheckDlgButton(IDC_FIF_MATCH_CASE, m_bMatchCase ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_FIF_WHOLE_WORD, m_bMatchWord ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_FIF_REGEX, m_bRegExp ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_FIF_SUBFOLDERS, m_bSubFolders ? BST_CHECKED : BST_UNCHECKED);

    LoadSearchHistory(m_wndText.m_hWnd, kSearchHistory);
    LoadSearchHistory(m_wndFolder.m_hWnd, kDirectoryHistory);
    FillFileFilterCombo(m_wndTypes.m_hWnd);
    m_wndTypes.SetCurSel(fif::FileTypeIndexToSelect(GetFindInFilesTypeIndex(), m_wndTypes.GetCount()));
    if (m_wndFolder.GetCount() > 0)
        m_wndFolder.SetCurSel(0);

    SetSearching(FALSE);
    int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    HICON hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_FIND), IMAGE_ICON, cx, cy, 0);
    if (hIcon != NULL)
        SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)hIcon);
    return TRUE;
}

void CFindInFilesDlg::SetSearching(BOOL bSearching)
{
    m_bSearching = bSearching;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FIF_STOP), bSearching);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FIF_FIND), !bSearching);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDCANCEL), !bSearching);
}

CString CFindInFilesDlg::RefusalText(LPCSTR lpszText, LPCSTR lpszTypes, LPCSTR lpszFolder)
{
    if (lpszText == NULL || *lpszText == '\0')
        return "Type the text to find.";
    const struct {
        LPCSTR lpszValue;
        LPCSTR lpszWhat;
    } fields[] = {{lpszText, "text to find"}, {lpszTypes, "list of file types"}, {lpszFolder, "directory"}};
    for (const auto& field : fields) {
        if (field.lpszValue != NULL && Wide(field.lpszValue).size() > (size_t)CFindInFiles::MaxArgumentLength) {
            CString text = "The ";
            text += field.lpszWhat;
            text += " is too long: it may have at most 4095 characters.";
            return text;
        }
    }
    return CString();
}

void CFindInFilesDlg::OnFind()
{
    if (m_bSearching)
        return;
    CString strText = WindowTextOf(m_wndText.m_hWnd);
    CString strTypes = fif::RemoveBlanks(WindowTextOf(m_wndTypes.m_hWnd));
    CString strFolder = WindowTextOf(m_wndFolder.m_hWnd);
    CString strRefusal = RefusalText(strText, strTypes, strFolder);
    if (!strRefusal.IsEmpty()) {
        MessageBox(strRefusal, NULL, MB_OK | MB_ICONINFORMATION);
        return;
    }

    IEditorFrame* pFrame = GetEditorFrame();
    m_pResults = pFrame != NULL ? pFrame->ShowFindInFilesResults() : NULL;
    m_hResults = m_pResults != NULL ? m_pResults->GetSafeHwnd() : NULL;
    if (m_pResults != NULL)
        m_pResults->Clear();

    ::ResetEvent(m_hSearchEnded);
    if (!m_engine.Find(Wide(strText).c_str(), Wide(strTypes).c_str(), Wide(strFolder).c_str(), m_bSubFolders,
                       m_bMatchCase, m_bMatchWord, m_bRegExp, &m_sink)) {
        ::SetEvent(m_hSearchEnded);
        MessageBox("The search could not be started.", NULL, MB_OK | MB_ICONINFORMATION);
        return;
    }
    SetSearching(TRUE);
}

void CFindInFilesDlg::OnStop()
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FIF_STOP), FALSE);
    m_engine.StopSearch();
}

LRESULT CFindInFilesDlg::OnSearchFinished(WPARAM, LPARAM)
{
    SetSearching(FALSE);
    return 0;
}

void CFindInFilesDlg::WaitForSearchEnd()
{
    if (!m_bSearching || m_hSearchEnded == NULL)
        return;
    m_engine.StopSearch();
    for (;;) {
        DWORD dwResult = ::MsgWaitForMultipleObjects(1, &m_hSearchEnded, FALSE, INFINITE, QS_SENDMESSAGE);
        if (dwResult != WAIT_OBJECT_0 + 1)
            break;
        MSG msg;
        ::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    m_bSearching = FALSE;
}

void CFindInFilesDlg::OnBrowse()
{
    FolderBrowseDialog dlg(this);
    dlg.SetSelPath(WindowTextOf(m_wndFolder.m_hWnd));
    if (dlg.DoModal() != IDOK)
        return;
    m_wndFolder.SetWindowText(dlg.GetSelPath());
    AddToComboHistory(m_wndFolder.m_hWnd, dlg.GetSelPath(), kDirectoryHistory);
}

void CFindInFilesDlg::OnHelp()
{
    // The dialog's topic, as the other help commands ask the framework;
    // without a help file nothing shows.
    HtmlHelp(kHelpContext, kHelpCommandContext);
}

void CFindInFilesDlg::OnOption(UINT nID)
{
    int bChecked = IsDlgButtonChecked(nID) == BST_CHECKED;
    switch (nID) {
    case IDC_FIF_MATCH_CASE: m_bMatchCase = bChecked; break;
    case IDC_FIF_WHOLE_WORD: m_bMatchWord = bChecked; break;
    case IDC_FIF_REGEX: m_bRegExp = bChecked; break;
    case IDC_FIF_SUBFOLDERS: m_bSubFolders = bChecked; break;
    default: break;
    }
}

void CFindInFilesDlg::OnTextKillFocus()
{
    CString text = WindowTextOf(m_wndText.m_hWnd);
    if (!text.IsEmpty())
        AddToComboHistory(m_wndText.m_hWnd, text, kSearchHistory);
}

void CFindInFilesDlg::OnFolderKillFocus()
{
    CString text = WindowTextOf(m_wndFolder.m_hWnd);
    if (!text.IsEmpty())
        AddToComboHistory(m_wndFolder.m_hWnd, text, kDirectoryHistory);
}

void CFindInFilesDlg::OnOK()
{
    // Enter runs Find (the default button); the dialog stays.
    OnFind();
}

void CFindInFilesDlg::OnCancel()
{
    // Close, Esc, the caption's Close and Alt+F4 all end here: none of them
    // closes the dialog while its engine searches.
    if (m_bSearching)
        return;
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileInt(kFindReplaceSection, "MatchCase", m_bMatchCase);
    pApp->WriteProfileInt(kFindReplaceSection, "MatchWord", m_bMatchWord);
    pApp->WriteProfileInt(kFindReplaceSection, "RegExp", m_bRegExp);
    pApp->WriteProfileInt(kFindReplaceSection, "SubFolders", m_bSubFolders);
    SetFindInFilesTypeIndex(m_wndTypes.GetCurSel());
    CQXResizeDialog::OnCancel();
}

void CFindInFilesDlg::OnDestroy()
{
    WaitForSearchEnd();
    CQXResizeDialog::OnDestroy();
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->ReloadSearchHistory();
}
