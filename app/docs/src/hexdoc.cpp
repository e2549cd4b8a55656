// hexdoc.cpp - the hex document, frame and view.
#include "hexdoc.h"

#include "apphelpers.h"
#include "editorframe.h"
#include "encoding.h"
#include "resource.h"

#include <string>

namespace {

// The system's text for a Win32 error code (without the line break).
CString ErrorText(DWORD dwError)
{
    char* pszMsg = NULL;
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                   FORMAT_MESSAGE_IGNORE_INSERTS,
                               NULL, dwError, 0, (LPSTR)&pszMsg, 0, NULL);
    CString str;
    if (n != 0 && pszMsg != NULL) {
        str = pszMsg;
        str.TrimRight();
    } else {
        str.Format("Error %lu.", (unsigned long)dwError);
    }
    if (pszMsg != NULL)
        ::LocalFree(pszMsg);
    return str;
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

// ---------------------------------------------------------------------------
// CHexDocument

IMPLEMENT_DYNCREATE(CHexDocument, CDocument)

BEGIN_MESSAGE_MAP(CHexDocument, CDocument)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateFileSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_AS, OnUpdateFileSave)
END_MESSAGE_MAP()

void CHexDocument::Serialize(CArchive&)
{
    // The control reads and writes the file itself.
}

BOOL CHexDocument::OnNewDocument() { return CDocument::OnNewDocument(); }

CHexEditView* CHexDocument::GetHexView() const
{
    POSITION pos = GetFirstViewPosition();
    CView* pView = pos != NULL ? GetNextView(pos) : NULL;
    return DYNAMIC_DOWNCAST(CHexEditView, pView);
}

BOOL CHexDocument::OnOpenDocument(LPCSTR lpszPathName)
{
    if (!CDocument::OnOpenDocument(lpszPathName) || !LoadFile(lpszPathName))
        return FALSE;
    // The workspace records whether the file head looks binary.
    FileHeadDetector detector;
    int nBinary = detector.ReadFile(lpszPathName) ? detector.IsBinary() : 0;
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->AddWorkspaceFile(lpszPathName, nBinary ? 1 : 0, 4);
    return TRUE;
}

BOOL CHexDocument::LoadFile(LPCSTR lpszPathName)
{
    if (lpszPathName == NULL || *lpszPathName == '\0')
        return FALSE;
    CHexEditView* pView = GetHexView();
    if (pView == NULL || !::IsWindow(pView->GetGrid().m_hWnd)) {
        CString str;
        str.Format("Cannot open \"%s\": the hex document has no window to show it in.", lpszPathName);
        AfxMessageBox(str, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!pView->GetGrid().LoadFile(lpszPathName)) {
        CString str;
        str.Format("Cannot open \"%s\".\n\n%s", lpszPathName, (LPCSTR)ErrorText(pView->GetGrid().GetLastError()));
        AfxMessageBox(str, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CHexDocument::DoSave(LPCSTR lpszPathName, BOOL bReplace)
{
    CString strPath = lpszPathName != NULL ? lpszPathName : "";
    BOOL bChosen = FALSE;
    if (strPath.IsEmpty()) {
        CFileDialog dlg(FALSE, NULL, "untitled.txt", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, NULL, AfxGetMainWnd());
        if (dlg.DoModal() != IDOK)
            return FALSE;
        strPath = dlg.GetPathName();
        bChosen = TRUE;
    }

    CHexEditView* pView = GetHexView();
    if (pView == NULL || !::IsWindow(pView->GetGrid().m_hWnd)) {
        CString str;
        str.Format("Cannot save \"%s\": the hex document has no window.", (LPCSTR)strPath);
        AfxMessageBox(str, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    // The control writes a temporary file beside the target and replaces the
    // target only when everything was written.
    if (!pView->GetGrid().SaveFile(strPath)) {
        CString str;
        str.Format("Cannot save \"%s\".\n\n%s", (LPCSTR)strPath, (LPCSTR)ErrorText(pView->GetGrid().GetLastError()));
        AfxMessageBox(str, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (bReplace || bChosen)
        SetPathName(strPath);
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CHexDocument::OnUpdateFileSave(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

// ---------------------------------------------------------------------------
// CHexFrame

IMPLEMENT_DYNCREATE(CHexFrame, CExtraDocFrame)

// ---------------------------------------------------------------------------
// CHexEditView

IMPLEMENT_DYNCREATE(CHexEditView, CView)

BEGIN_MESSAGE_MAP(CHexEditView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
    ON_COMMAND(ID_EDIT_REDO, OnEditRedo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
    ON_COMMAND(ID_EDIT_FIND, OnEditFind)
    ON_UPDATE_COMMAND_UI(ID_EDIT_FIND, OnUpdateAlways)
    ON_COMMAND(ID_SEARCH_FIND_NEXT, OnFindNext)
    ON_COMMAND(ID_SEARCH_GOTO, OnGoto)
    ON_UPDATE_COMMAND_UI(ID_SEARCH_GOTO, OnUpdateAlways)
    ON_COMMAND(ID_FILE_COPY_PATH, OnCopyFilePath)
    ON_COMMAND(ID_FILE_OPEN_IN_EXPLORER, OnOpenInExplorer)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_LINECOL, OnUpdateIndicatorPosition)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_INS, OnUpdateIndicatorMode)
END_MESSAGE_MAP()

void CHexEditView::OnDraw(CDC*)
{
    // The control covers the whole client area.
}

int CHexEditView::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndGrid.Create(BYTEGRID_CLASSA, "Bytegrid", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL,
                          CRect(0, 0, 0, 0), this, kGridID))
        return -1;
    // The view follows the control through its notifications.
    m_wndGrid.SetOption(BGO_NOTIFY);
    return 0;
}

void CHexEditView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (::IsWindow(m_wndGrid.m_hWnd))
        m_wndGrid.MoveWindow(0, 0, cx, cy, TRUE);
}

void CHexEditView::OnSetFocus(CWnd* pOldWnd)
{
    CView::OnSetFocus(pOldWnd);
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->SetCurrentViewWnd(this);
}

void CHexEditView::OnDestroy()
{
    CView::OnDestroy();
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->SetCurrentViewWnd(NULL);
}

CString CHexEditView::GetPositionText()
{
    std::string s = "Pos: " + std::to_string(m_wndGrid.GetPosition());
    return CString(s.c_str());
}

CString CHexEditView::GetModeText() { return m_wndGrid.GetModeFlag() != 0 ? "INS" : ""; }

void CHexEditView::UpdateStatusPosition()
{
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->SetStatusText(STATUS_PANE_POSITION, GetPositionText());
}

void CHexEditView::UpdateStatusMode()
{
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->SetStatusText(STATUS_PANE_MODE, GetModeText());
}

// While the view is active its texts stay in the status bar (the main frame
// empties the panes for documents that have none).
void CHexEditView::OnUpdateIndicatorPosition(CCmdUI* pCmdUI) { pCmdUI->SetText(GetPositionText()); }
void CHexEditView::OnUpdateIndicatorMode(CCmdUI* pCmdUI) { pCmdUI->SetText(GetModeText()); }

void CHexEditView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    if (bActivate && ::IsWindow(m_wndGrid.m_hWnd)) {
        UpdateStatusMode();
        UpdateStatusPosition();
    }
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

BOOL CHexEditView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (pHdr != NULL && pHdr->hwndFrom == m_wndGrid.m_hWnd) {
        switch ((int)pHdr->code) {
        case BGN_MODECHANGED:
            UpdateStatusMode();
            break;
        case BGN_MODIFIEDCHANGED:
            if (CDocument* pDoc = GetDocument())
                pDoc->SetModifiedFlag(m_wndGrid.IsModified());
            break;
        case BGN_POSCHANGED:
            UpdateStatusPosition();
            break;
        default:
            break;
        }
    }
    return CView::OnNotify(wParam, lParam, pResult);
}

void CHexEditView::OnEditCopy() { m_wndGrid.Copy(); }
void CHexEditView::OnEditCut() { m_wndGrid.Cut(); }
void CHexEditView::OnEditPaste() { m_wndGrid.Paste(); }
void CHexEditView::OnEditUndo() { m_wndGrid.Undo(); }
void CHexEditView::OnEditRedo() { m_wndGrid.Redo(); }
void CHexEditView::OnUpdateEditCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndGrid.CanCopy() != 0); }

void CHexEditView::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_wndGrid.CanPaste() != 0 && ::IsClipboardFormatAvailable(CF_TEXT));
}

void CHexEditView::OnUpdateEditUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndGrid.CanUndo() != 0); }
void CHexEditView::OnUpdateEditRedo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndGrid.CanRedo() != 0); }
void CHexEditView::OnUpdateAlways(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

void CHexEditView::OnEditFind() { CHexFindDialog::Open(AfxGetMainWnd()); }

void CHexEditView::OnFindNext()
{
    IEditorFrame* pFrame = GetEditorFrame();
    CString strText = pFrame != NULL ? pFrame->GetSearchText() : CString();
    if (strText.IsEmpty())
        return;
    if (Find(strText, FALSE, FALSE, FALSE) == 0) {
        CString strMsg;
        if (!strMsg.LoadString(IDS_SEARCH_NOT_FOUND) || strMsg.IsEmpty())
            strMsg = "The search text was not found";
        AfxMessageBox(strMsg, MB_ICONINFORMATION);
    }
}

void CHexEditView::OnGoto()
{
    ULONGLONG nLength = m_wndGrid.GetLength();
    ULONGLONG nPos = m_wndGrid.GetPosition();
    CHexGoto dlg(this, nPos, nLength);
    if (dlg.DoModal() != IDOK)
        return;
    m_wndGrid.SetPosition(dlg.m_nOffset);
    m_wndGrid.ScrollTo(dlg.m_nOffset);
    m_wndGrid.Invalidate(TRUE);
    m_wndGrid.SetFocus();
}

void CHexEditView::OnCopyFilePath()
{
    CDocument* pDoc = GetDocument();
    if (pDoc != NULL)
        CopyTextToClipboard(m_hWnd, pDoc->GetPathName());
}

void CHexEditView::OnOpenInExplorer()
{
    CDocument* pDoc = GetDocument();
    if (pDoc != NULL)
        OpenContainingFolder(pDoc->GetPathName());
}

BOOL CHexEditView::ParseFindText(LPCSTR lpszText, BOOL bAscii, std::vector<BYTE>& bytes, CString* pError)
{
    bytes.clear();
    CString strError;
    if (lpszText == NULL)
        lpszText = "";
    if (bAscii) {
        bytes.assign(lpszText, lpszText + strlen(lpszText));
    } else {
        // Only hexadecimal digits and blanks; the digits pair up into bytes
        // and a last digit without a partner is left out.
        CString strDigits;
        for (const char* p = lpszText; *p; ++p) {
            if (IsHexDigit(*p)) {
                strDigits += *p;
            } else if (*p != ' ' && *p != '\t') {
                if (pError != NULL)
                    pError->Format("Invalid hex digit '%c' in the search text. Enter pairs of the digits 0-9 and "
                                   "A-F, separated by blanks if you like.",
                                   *p);
                return FALSE;
            }
        }
        int nBytes = strDigits.GetLength() / 2;
        if (nBytes > 0) {
            bytes.resize((size_t)nBytes);
            ParseHexBytes(strDigits.Left(nBytes * 2), bytes.data(), nBytes);
        }
    }
    if (bytes.empty()) {
        if (pError != NULL)
            *pError = bAscii ? "There is nothing to search for." : "Enter at least one pair of hex digits to search for.";
        return FALSE;
    }
    return TRUE;
}

int CHexEditView::Find(LPCSTR lpszText, BOOL bSearchUp, BOOL bMatchCase, BOOL bAscii)
{
    std::vector<BYTE> bytes;
    CString strError;
    if (!ParseFindText(lpszText, bAscii, bytes, &strError)) {
        AfxMessageBox(strError, MB_OK | MB_ICONEXCLAMATION);
        return -1;
    }
    if (!bAscii)
        bMatchCase = TRUE;
    if (bytes.size() > 0xFFFFFFFFu)
        return 0;
    HEXFINDDATA find = {bytes.data(), (DWORD)bytes.size(), (DWORD)(bSearchUp ? 1 : 0), (DWORD)(bMatchCase ? 1 : 0)};
    if (m_wndGrid.SetFindData(&find) == 0)
        return 0;
    ULONGLONG nStart = m_wndGrid.GetPosition();
    if (nStart > 0xFFFFFFFFu)
        nStart = 0xFFFFFFFFu;
    DWORD dwFound = 0;
    HEXFINDNEXT next = {&dwFound, (DWORD)nStart, (DWORD)(bSearchUp ? 1 : 0)};
    if (m_wndGrid.FindNext(&next) == 0)
        return 0;
    m_wndGrid.SetSelection(dwFound, bytes.size());
    m_wndGrid.ScrollTo(dwFound);
    m_wndGrid.Invalidate(TRUE);
    return 1;
}

// ---------------------------------------------------------------------------

BOOL HexFindInActiveDocument(CFrameWnd* pMainFrame, LPCSTR lpszText, BOOL bSearchUp, BOOL bMatchCase, BOOL bAscii)
{
    CFrameWnd* pChild = NULL;
    if (CMDIFrameWnd* pMDI = DYNAMIC_DOWNCAST(CMDIFrameWnd, pMainFrame))
        pChild = pMDI->MDIGetActive();
    else if (pMainFrame != NULL)
        pChild = pMainFrame->GetActiveFrame();
    CView* pView = pChild != NULL ? pChild->GetActiveView() : NULL;
    if (pView == NULL || pView->GetDocument() == NULL) {
        AfxMessageBox("Error: No Active Document to Search", MB_OK | MB_ICONEXCLAMATION);
        return TRUE;
    }
    CHexEditView* pHex = DYNAMIC_DOWNCAST(CHexEditView, pView);
    if (pHex == NULL)
        return FALSE;
    if (pHex->Find(lpszText, bSearchUp, bMatchCase, bAscii) == 0)
        AfxMessageBox("Not found.", MB_ICONINFORMATION);
    return TRUE;
}
