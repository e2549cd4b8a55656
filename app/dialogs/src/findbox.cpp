// findbox.cpp - the find box, the smart combo box and the edit inside them.
#include "findbox.h"

#include "apphelpers.h"
#include "editorframe.h"

#include <qx/fonts.h>

#include <vector>

#include "resource.h"

namespace {
const char kSearchHistory[] = "SearchHistory";
} // namespace

// ---------------------------------------------------------------------------
// CFindEditCtrl

BEGIN_MESSAGE_MAP(CFindEditCtrl, CEdit)
    ON_WM_KEYUP()
END_MESSAGE_MAP()

void CFindEditCtrl::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN) {
        HWND hBox = ::GetParent(m_hWnd);
        if (hBox != NULL)
            ::SendMessageA(hBox, WM_FINDEDIT_ENTER, 0, 0);
    }
    CEdit::OnKeyUp(nChar, nRepCnt, nFlags);
}

// ---------------------------------------------------------------------------
// Keys

BOOL AppendAccelerator(HACCEL& hOwn, HACCEL hFrom, UINT nCmd)
{
    if (hFrom == NULL)
        return FALSE;
    int nCount = ::CopyAcceleratorTableA(hFrom, NULL, 0);
    if (nCount <= 0)
        return FALSE;
    std::vector<ACCEL> source((size_t)nCount);
    ::CopyAcceleratorTableA(hFrom, source.data(), nCount);
    for (const ACCEL& entry : source) {
        if (entry.cmd != nCmd)
            continue;
        std::vector<ACCEL> own;
        if (hOwn != NULL) {
            int nOwn = ::CopyAcceleratorTableA(hOwn, NULL, 0);
            own.resize((size_t)(nOwn > 0 ? nOwn : 0));
            if (nOwn > 0)
                ::CopyAcceleratorTableA(hOwn, own.data(), nOwn);
        }
        own.push_back(entry);
        HACCEL hNew = ::CreateAcceleratorTableA(own.data(), (int)own.size());
        if (hNew == NULL)
            return FALSE;
        if (hOwn != NULL)
            ::DestroyAcceleratorTable(hOwn);
        hOwn = hNew;
        return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Completion

BOOL CompleteComboText(CComboBox& box)
{
    CString typed;
    box.GetWindowText(typed);
    if (typed.IsEmpty())
        return FALSE;
    // -1: from the top, so the newest matching entry wins.
    int nFound = box.FindString(-1, typed);
    if (nFound < 0)
        return FALSE;
    CString entry;
    box.GetLBText(nFound, entry);
    const int nTyped = typed.GetLength();
    // The entry's head must be the typed text but for case, byte for byte,
    // or the rest would start inside a character.
    if (entry.GetLength() <= nTyped || ::lstrcmpiA(entry.Left(nTyped).GetString(), typed.GetString()) != 0)
        return FALSE;
    box.SetWindowText(typed + entry.Mid(nTyped));
    // Edit positions count characters (UTF-16 units), not the bytes of the
    // UTF-8 text.
    box.SetEditSel(fx::ToWide(typed).GetLength(), -1);
    return TRUE;
}

// Arms completion on a key going down, except Delete and Backspace, which
// disarm it (removing text must not bring it back).
static void ArmCompletion(const MSG* pMsg, BOOL& bArmed)
{
    if (pMsg->message == WM_KEYDOWN)
        bArmed = pMsg->wParam != VK_DELETE && pMsg->wParam != VK_BACK;
}

// ---------------------------------------------------------------------------
// CToolbarFindComboBox

IMPLEMENT_DYNAMIC(CToolbarFindComboBox, CQXFlatComboBox)

BEGIN_MESSAGE_MAP(CToolbarFindComboBox, CQXFlatComboBox)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_CONTROL_REFLECT_EX(CBN_EDITCHANGE, OnEditChange)
    ON_CONTROL_REFLECT_EX(CBN_EDITUPDATE, OnEditUpdate)
    ON_CONTROL_REFLECT_EX(CBN_SELCHANGE, OnSelChange)
    ON_MESSAGE(WM_FINDEDIT_ENTER, OnEditEnter)
    ON_COMMAND(IDC_FIND_NEXT, OnFindNext)
    ON_COMMAND(ID_SEARCH_FIND_NEXT, OnFindNext)
    ON_COMMAND(ID_EDIT_FIND, OnFindDialog)
    ON_COMMAND(ID_EDIT_REPLACE, OnReplaceDialog)
END_MESSAGE_MAP()

CToolbarFindComboBox::CToolbarFindComboBox(int nDialogMode)
    : m_strSection(kSearchHistory), m_bTextChanged(FALSE), m_bArmed(FALSE), m_nDialogMode(nDialogMode),
      m_hAccel(NULL), m_pTarget(NULL)
{
}

CToolbarFindComboBox::~CToolbarFindComboBox()
{
    if (m_hAccel != NULL)
        ::DestroyAcceleratorTable(m_hAccel);
}

BOOL CToolbarFindComboBox::AttachDlgItem(UINT nID, CWnd* pDialog)
{
    if (!SubclassDlgItem(nID, pDialog))
        return FALSE;
    SetUpBox();
    return TRUE;
}

int CToolbarFindComboBox::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CQXFlatComboBox::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetUpBox();
    return 0;
}

void CToolbarFindComboBox::SetUpBox()
{
    // The box completes typed text itself (OnEditChange); the base's flag
    // set here only keeps its key handling in step with that.
    SetAutoComplete(TRUE);
    LoadHistory();
    HFONT hFont = GetGlobalUIFonts()->GetNormalFont();
    if (hFont != NULL)
        SendMessage(WM_SETFONT, (WPARAM)hFont, FALSE);
    LimitText(0);
    HWND hEdit = ::GetWindow(m_hWnd, GW_CHILD);
    if (hEdit != NULL && m_edit.GetSafeHwnd() == NULL)
        m_edit.SubclassWindow(hEdit);
}

void CToolbarFindComboBox::OnDestroy()
{
    SaveHistory();
    if (m_edit.GetSafeHwnd() != NULL)
        m_edit.UnsubclassWindow();
    CQXFlatComboBox::OnDestroy();
}

CString CToolbarFindComboBox::GetText() const
{
    CString text;
    if (m_hWnd != NULL)
        GetWindowText(text);
    return text;
}

BOOL CToolbarFindComboBox::AddToHistory(LPCSTR lpszText)
{
    return AddToComboHistory(m_hWnd, lpszText, m_strSection);
}

void CToolbarFindComboBox::LoadHistory()
{
    LoadSearchHistory(m_hWnd, m_strSection);
}

void CToolbarFindComboBox::SaveHistory()
{
    SaveSearchHistory(m_hWnd, m_strSection);
}

BOOL CToolbarFindComboBox::CopyAccelerator(HACCEL hAccel, UINT nCmd)
{
    return AppendAccelerator(m_hAccel, hAccel, nCmd);
}

BOOL CToolbarFindComboBox::PreTranslateMessage(MSG* pMsg)
{
    ArmCompletion(pMsg, m_bArmed);
    if (m_hAccel != NULL && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        // In a dialog the keys run the dialog's commands (its Find Next
        // searches with the dialog's options); on a toolbar the box's own.
        HWND hTarget = m_hWnd;
        if (m_nDialogMode != kSearchBox && ::GetParent(m_hWnd) != NULL)
            hTarget = ::GetParent(m_hWnd);
        if (::TranslateAcceleratorA(hTarget, m_hAccel, pMsg))
            return TRUE;
    }
    return CQXFlatComboBox::PreTranslateMessage(pMsg);
}

BOOL CToolbarFindComboBox::OnEditChange()
{
    if (m_bArmed) {
        // Setting the text is no typing: it must not complete again.
        m_bArmed = FALSE;
        CompleteComboText(*this);
        m_bArmed = TRUE;
    }
    return FALSE;
}

BOOL CToolbarFindComboBox::OnEditUpdate()
{
    m_bTextChanged = TRUE;
    // Handled: the base's own completion would run next and write the
    // entry's case over what was typed.
    return TRUE;
}

BOOL CToolbarFindComboBox::OnSelChange()
{
    SaveHistory();
    return FALSE;
}

LRESULT CToolbarFindComboBox::OnEditEnter(WPARAM, LPARAM)
{
    // In a dialog, Enter presses the dialog's default button, which searches
    // with the dialog's options: the box must not search a second time.
    if (m_nDialogMode != kSearchBox)
        return 0;
    QuickFind();
    return 0;
}

void CToolbarFindComboBox::QuickFind()
{
    CString text = GetText();
    if (text.IsEmpty())
        return;
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->QuickFindInActiveDocument(text);
}

void CToolbarFindComboBox::OnFindNext()
{
    QuickFind();
}

void CToolbarFindComboBox::OnFindDialog()
{
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->ShowFindDialog(m_pTarget, GetText());
}

void CToolbarFindComboBox::OnReplaceDialog()
{
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->ShowReplaceDialog(m_pTarget, GetText());
}

// ---------------------------------------------------------------------------
// CSmartComboBox

IMPLEMENT_DYNAMIC(CSmartComboBox, CComboBox)

BEGIN_MESSAGE_MAP(CSmartComboBox, CComboBox)
    ON_CONTROL_REFLECT_EX(CBN_EDITCHANGE, OnEditChange)
END_MESSAGE_MAP()

CSmartComboBox::CSmartComboBox() : m_bArmed(FALSE) {}

BOOL CSmartComboBox::PreTranslateMessage(MSG* pMsg)
{
    ArmCompletion(pMsg, m_bArmed);
    return CComboBox::PreTranslateMessage(pMsg);
}

BOOL CSmartComboBox::OnEditChange()
{
    if (m_bArmed) {
        m_bArmed = FALSE;
        CompleteComboText(*this);
        m_bArmed = TRUE;
    }
    return FALSE;
}
