// finddlg.cpp - the Find, Replace and Go To Line dialogs.
#include "finddlg.h"

#include "editorframe.h"

#include <stdlib.h>

#include "resource.h"

const char kFindReplaceSection[] = "FindReplace";

void SetIconFrom(CWnd* pDialog, UINT nIcon, BOOL bBig)
{
    int cx = ::GetSystemMetrics(bBig ? SM_CXICON : SM_CXSMICON);
    int cy = ::GetSystemMetrics(bBig ? SM_CYICON : SM_CYSMICON);
    HICON hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIcon), IMAGE_ICON, cx, cy, 0);
    if (hIcon != NULL)
        pDialog->SendMessage(WM_SETICON, bBig ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon);
}

namespace {

const char kFindPlacement[] = "FindDialog";
const char kReplacePlacement[] = "ReplaceDialog";
const char kReplaceHistory[] = "ReplaceHistory";

// The frame's keys for these commands, into the dialog's table and the box's.
void CopyFrameKeys(HACCEL& hDialog, std::initializer_list<UINT> dialogCmds, CToolbarFindComboBox& box,
                   std::initializer_list<UINT> boxCmds)
{
    IEditorFrame* pFrame = GetEditorFrame();
    HACCEL hFrame = pFrame != NULL ? pFrame->GetFrameAccelerators() : NULL;
    for (UINT nCmd : dialogCmds)
        AppendAccelerator(hDialog, hFrame, nCmd);
    for (UINT nCmd : boxCmds)
        box.CopyAccelerator(hFrame, nCmd);
}

int ReadOption(LPCSTR lpszName, int nDefault)
{
    return AfxGetApp()->GetProfileInt(kFindReplaceSection, lpszName, nDefault) != 0;
}

void WriteOption(LPCSTR lpszName, int nValue)
{
    AfxGetApp()->WriteProfileInt(kFindReplaceSection, lpszName, nValue ? 1 : 0);
}

} // namespace

// ===========================================================================
// CSearchDialog

IMPLEMENT_DYNAMIC(CSearchDialog, CQXResizeDialog)

CSearchDialog::CSearchDialog(UINT nIDTemplate, CWnd* pTarget, LPCSTR lpszInitialText)
    : CQXResizeDialog(nIDTemplate, NULL, 0), m_nTemplate(nIDTemplate), m_pTarget(pTarget), m_hAccel(NULL),
      m_strInitial(lpszInitialText != NULL ? lpszInitialText : "")
{
}

CSearchDialog::~CSearchDialog()
{
    if (m_hAccel != NULL)
        ::DestroyAcceleratorTable(m_hAccel);
}

BOOL CSearchDialog::CreateModeless(CWnd* pParent)
{
    if (!Create(m_nTemplate, pParent))
        return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CSearchDialog::PreTranslateMessage(MSG* pMsg)
{
    if (m_hAccel != NULL && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        ::TranslateAcceleratorA(m_hWnd, m_hAccel, pMsg))
        return TRUE;
    return CQXResizeDialog::PreTranslateMessage(pMsg);
}

// ===========================================================================
// CFindDialog

IMPLEMENT_DYNAMIC(CFindDialog, CSearchDialog)

BEGIN_MESSAGE_MAP(CFindDialog, CSearchDialog)
    ON_COMMAND(IDC_FIND_NEXT, OnFindNext)
    ON_COMMAND(ID_SEARCH_FIND_NEXT, OnFindNext)
    ON_COMMAND(IDC_FIND_MARK_ALL, OnMarkAll)
    ON_COMMAND(ID_EDIT_REPLACE, OnReplace)
    ON_COMMAND_RANGE(IDC_FIND_MATCH_CASE, IDC_FIND_REGEX, OnOption)
    ON_COMMAND_RANGE(IDC_FIND_UP, IDC_FIND_WRAP, OnOption)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CFindDialog::CFindDialog(CWnd* pTarget, LPCSTR lpszInitialText)
    : CSearchDialog(IDD_FIND, pTarget, lpszInitialText), m_bMatchCase(1), m_bWholeWord(0), m_bRegex(0),
      m_bSearchUp(0), m_bWrap(0), m_wndFind(CToolbarFindComboBox::kDialogBox)
{
}

BOOL CFindDialog::OnInitDialog()
{
    CQXResizeDialog::OnInitDialog();
    // The box first: the layout below keeps the window objects it finds.
    m_wndFind.SetTargetWindow(m_pTarget);
    m_wndFind.AttachDlgItem(IDC_FIND_TEXT, this);
    SetResize(IDC_FIND_NEXT, CQXResizeRect(1, 0, 1, 0));
    SetResize(IDCANCEL, CQXResizeRect(1, 1, 1, 1));
    SetResize(IDC_FIND_MARK_ALL, CQXResizeRect(1, 1, 1, 1));
    SetResize(IDC_FIND_TEXT, CQXResizeRect(0, 0, 1, 0));
    SetFlag(qxResizeNoVertical);
    AutoLoadPlacement(kFindPlacement);

    m_bMatchCase = ReadOption("MatchCase", 0);
    m_bWholeWord = ReadOption("MatchWord", 0);
    m_bRegex = ReadOption("RegExp", 0);
    m_bSearchUp = ReadOption("SearchUp", 0);
    m_bWrap = ReadOption("WrapAround", 1);
    CheckDlgButton(IDC_FIND_MATCH_CASE, m_bMatchCase ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_FIND_WHOLE_WORD, m_bWholeWord ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_FIND_REGEX, m_bRegex ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_FIND_WRAP, m_bWrap ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_FIND_UP, m_bSearchUp ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_FIND_DOWN, m_bSearchUp ? BST_UNCHECKED : BST_CHECKED);

    if (!m_strInitial.IsEmpty())
        m_wndFind.SetWindowText(m_strInitial);
    else if (m_wndFind.GetCount() > 0)
        m_wndFind.SetCurSel(0);
    SetIconFrom(this, IDI_FIND, FALSE);

    CopyFrameKeys(m_hAccel, {ID_EDIT_REPLACE, ID_SEARCH_FIND_NEXT}, m_wndFind,
                  {ID_EDIT_REPLACE, ID_SEARCH_FIND_NEXT});
    GotoDlgCtrl(&m_wndFind);
    return FALSE;
}

void CFindDialog::ReadOptions()
{
    // The controls tell the state: a click on the radio button that is
    // already checked changes nothing.
    m_bMatchCase = IsDlgButtonChecked(IDC_FIND_MATCH_CASE) == BST_CHECKED;
    m_bWholeWord = IsDlgButtonChecked(IDC_FIND_WHOLE_WORD) == BST_CHECKED;
    m_bRegex = IsDlgButtonChecked(IDC_FIND_REGEX) == BST_CHECKED;
    m_bWrap = IsDlgButtonChecked(IDC_FIND_WRAP) == BST_CHECKED;
    m_bSearchUp = IsDlgButtonChecked(IDC_FIND_UP) == BST_CHECKED;
}

void CFindDialog::OnOption(UINT)
{
    ReadOptions();
}

void CFindDialog::OnFindNext()
{
    CString text = m_wndFind.GetText();
    if (text.IsEmpty())
        return;
    ReadOptions();
    m_wndFind.AddToHistory(text);
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->FindInActiveDocument(text, m_bMatchCase, m_bWholeWord, m_bRegex, m_bSearchUp, m_bWrap);
}

void CFindDialog::OnMarkAll()
{
    CString text = m_wndFind.GetText();
    if (text.IsEmpty())
        return;
    ReadOptions();
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->MarkAllInActiveDocument(text, m_bMatchCase, m_bWholeWord, m_bRegex);
}

void CFindDialog::OnReplace()
{
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->ShowReplaceDialog(m_pTarget, m_wndFind.GetText()); // closes this dialog
}

void CFindDialog::OnOK()
{
    OnFindNext();
}

void CFindDialog::OnCancel()
{
    DestroyWindow();
}

void CFindDialog::OnDestroy()
{
    WriteOption("MatchCase", m_bMatchCase);
    WriteOption("MatchWord", m_bWholeWord);
    WriteOption("RegExp", m_bRegex);
    WriteOption("SearchUp", m_bSearchUp);
    WriteOption("WrapAround", m_bWrap);
    CSearchDialog::OnDestroy();
}

void CFindDialog::PostNcDestroy()
{
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->DetachFindDialog(this);
    delete this;
}

// ===========================================================================
// CReplaceDialog

IMPLEMENT_DYNAMIC(CReplaceDialog, CSearchDialog)

BEGIN_MESSAGE_MAP(CReplaceDialog, CSearchDialog)
    ON_COMMAND(IDC_REPLACE_FIND_NEXT, OnFindNext)
    ON_COMMAND(ID_SEARCH_FIND_NEXT, OnFindNext)
    ON_COMMAND(IDC_REPLACE_ONE, OnReplaceOne)
    ON_COMMAND(IDC_REPLACE_ALL, OnReplaceAll)
    ON_COMMAND(ID_EDIT_FIND, OnFindDialog)
    ON_COMMAND_RANGE(IDC_REPLACE_WHOLE_WORD, IDC_REPLACE_MATCH_CASE, OnOption)
    ON_COMMAND_RANGE(IDC_REPLACE_REGEX, IDC_REPLACE_REGEX, OnOption)
    ON_COMMAND_RANGE(IDC_REPLACE_SCOPE_DOCUMENT, IDC_REPLACE_SCOPE_SELECTION, OnScope)
END_MESSAGE_MAP()

CReplaceDialog::CReplaceDialog(CWnd* pTarget, LPCSTR lpszInitialText)
    : CSearchDialog(IDD_REPLACE, pTarget, lpszInitialText), m_bMatchCase(0), m_bWholeWord(0), m_bRegex(0),
      m_bSelection(0), m_wndFind(CToolbarFindComboBox::kDialogBox), m_wndReplace(CToolbarFindComboBox::kDialogBox),
      m_nLastPos(-1)
{
}

BOOL CReplaceDialog::OnInitDialog()
{
    CQXResizeDialog::OnInitDialog();
    // The boxes first: the layout below keeps the window objects it finds.
    m_wndFind.SetTargetWindow(m_pTarget);
    m_wndReplace.SetTargetWindow(m_pTarget);
    m_wndReplace.SetHistorySection(kReplaceHistory);
    m_wndFind.AttachDlgItem(IDC_REPLACE_FIND, this);
    m_wndReplace.AttachDlgItem(IDC_REPLACE_WITH, this);
    SetResize(IDC_REPLACE_FIND, CQXResizeRect(0, 0, 1, 0));
    SetResize(IDC_REPLACE_WITH, CQXResizeRect(0, 0, 1, 0));
    for (UINT nID : {IDC_REPLACE_FIND_NEXT, IDC_REPLACE_ONE, IDC_REPLACE_ALL})
        SetResize(nID, CQXResizeRect(1, 0, 1, 0));
    for (UINT nID : {IDCANCEL, IDC_REPLACE_SCOPE, IDC_REPLACE_SCOPE_DOCUMENT, IDC_REPLACE_SCOPE_SELECTION})
        SetResize(nID, CQXResizeRect(1, 1, 1, 1));
    SetFlag(qxResizeNoVertical);
    AutoLoadPlacement(kReplacePlacement);

    m_bMatchCase = ReadOption("MatchCase", 0);
    m_bWholeWord = ReadOption("MatchWord", 0);
    m_bRegex = ReadOption("RegExp", 0);
    m_bSelection = ReadOption("Selection", 0);
    CheckDlgButton(IDC_REPLACE_MATCH_CASE, m_bMatchCase ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_REPLACE_WHOLE_WORD, m_bWholeWord ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_REPLACE_REGEX, m_bRegex ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_REPLACE_SCOPE_SELECTION, m_bSelection ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_REPLACE_SCOPE_DOCUMENT, m_bSelection ? BST_UNCHECKED : BST_CHECKED);

    if (!m_strInitial.IsEmpty())
        m_wndFind.SetWindowText(m_strInitial);
    else if (m_wndFind.GetCount() > 0)
        m_wndFind.SetCurSel(0);
    if (m_wndReplace.GetCount() > 0)
        m_wndReplace.SetCurSel(0);
    EnableForScope();

    CopyFrameKeys(m_hAccel, {ID_SEARCH_FIND_NEXT, ID_EDIT_FIND}, m_wndFind, {ID_SEARCH_FIND_NEXT, ID_EDIT_FIND});
    IEditorFrame* pFrame = GetEditorFrame();
    m_wndReplace.CopyAccelerator(pFrame != NULL ? pFrame->GetFrameAccelerators() : NULL, ID_EDIT_FIND);
    SetIconFrom(this, IDI_REPLACE, TRUE);
    GotoDlgCtrl(&m_wndFind);
    return FALSE;
}

void CReplaceDialog::ReadOptions()
{
    m_bMatchCase = IsDlgButtonChecked(IDC_REPLACE_MATCH_CASE) == BST_CHECKED;
    m_bWholeWord = IsDlgButtonChecked(IDC_REPLACE_WHOLE_WORD) == BST_CHECKED;
    m_bRegex = IsDlgButtonChecked(IDC_REPLACE_REGEX) == BST_CHECKED;
    m_bSelection = IsDlgButtonChecked(IDC_REPLACE_SCOPE_SELECTION) == BST_CHECKED;
}

void CReplaceDialog::EnableForScope()
{
    for (UINT nID : {IDC_REPLACE_FIND_NEXT, IDC_REPLACE_ONE}) {
        HWND hButton = ::GetDlgItem(m_hWnd, nID);
        if (hButton != NULL)
            ::EnableWindow(hButton, !m_bSelection);
    }
}

void CReplaceDialog::OnOption(UINT)
{
    ReadOptions();
}

void CReplaceDialog::OnScope(UINT)
{
    ReadOptions();
    EnableForScope();
}

void CReplaceDialog::OnFindNext()
{
    ReadOptions();
    CString text = m_wndFind.GetText();
    // The scope "Selected text" has no next match to find.
    if (text.IsEmpty() || m_bSelection)
        return;
    m_wndFind.AddToHistory(text);
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->FindInActiveDocument(text, m_bMatchCase, m_bWholeWord, m_bRegex, FALSE, TRUE);
}

int CReplaceDialog::Replace(BOOL bAll, int nStart)
{
    ReadOptions();
    CString find = m_wndFind.GetText();
    CString replace = m_wndReplace.GetText();
    if (find.IsEmpty()) {
        AfxMessageBox(IDS_SEARCH_VALUE_MISSING, MB_OK | MB_ICONEXCLAMATION);
        return nStart;
    }
    m_wndFind.AddToHistory(find);
    if (!replace.IsEmpty())
        m_wndReplace.AddToHistory(replace);
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame == NULL)
        return -1;
    return pFrame->ReplaceInActiveDocument(find, replace, m_bMatchCase, m_bWholeWord, m_bRegex, m_bSelection, bAll,
                                           nStart);
}

void CReplaceDialog::OnReplaceOne()
{
    ReadOptions();
    if (m_bSelection)
        return;
    m_nLastPos = Replace(FALSE, m_nLastPos);
}

void CReplaceDialog::OnReplaceAll()
{
    Replace(TRUE, -1);
}

void CReplaceDialog::OnFindDialog()
{
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->ShowFindDialog(m_pTarget, m_wndFind.GetText()); // closes this dialog
}

void CReplaceDialog::OnOK()
{
    OnFindNext();
}

void CReplaceDialog::OnCancel()
{
    ReadOptions();
    WriteOption("MatchCase", m_bMatchCase);
    WriteOption("MatchWord", m_bWholeWord);
    WriteOption("RegExp", m_bRegex);
    WriteOption("Selection", m_bSelection);
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->DetachReplaceDialog(this);
    DestroyWindow();
}

void CReplaceDialog::PostNcDestroy()
{
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->DetachReplaceDialog(this);
    delete this;
}

// ===========================================================================
// CGotoDialog

BEGIN_MESSAGE_MAP(CGotoDialog, CDialog)
    ON_EN_CHANGE(IDC_GOTO_LINE, OnLineChange)
END_MESSAGE_MAP()

CGotoDialog::CGotoDialog(int nLineCount, CWnd* pParent) : CDialog(IDD_GOTO, pParent), m_nLine(0)
{
    m_strLabel.Format("Line number (1 - %d):", nLineCount);
}

BOOL CGotoDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND hEdit = ::GetDlgItem(m_hWnd, IDC_GOTO_LINE);
    if (hEdit != NULL) {
        ::SetWindowLongPtrA(hEdit, GWL_STYLE, ::GetWindowLongPtrA(hEdit, GWL_STYLE) | ES_NUMBER);
        ::SendMessageA(hEdit, EM_LIMITTEXT, 0, 0);
    }
    SetDlgItemText(IDC_GOTO_LABEL, m_strLabel);
    SetDlgItemText(IDC_GOTO_LINE, "1");
    m_nLine = 1;
    SetIconFrom(this, IDI_GOTO, FALSE);
    return TRUE;
}

void CGotoDialog::OnLineChange()
{
    CString text;
    GetDlgItemText(IDC_GOTO_LINE, text);
    HWND hOK = ::GetDlgItem(m_hWnd, IDOK);
    if (hOK != NULL)
        ::EnableWindow(hOK, !text.IsEmpty());
    m_nLine = text.IsEmpty() ? 0 : (int)atol(text);
}
