// textview.cpp - CDoodleView: the editing window, the settings applied to
// it and its notifications.
#include "textview.h"

#include "apphelpers.h"
#include "lexerconfig.h"
#include "previewview.h"
#include "textdoc.h"
#include "textframe.h"
#include "finddlg.h"

#include <resource.h>

#include <algorithm>

namespace {

enum {
    MSG_GET_SCROLL_INFO = 2100,
    MSG_SET_SCROLL_INFO = 2101,
    NOTIFY_NAVIGATE_1 = 2025,
    NOTIFY_NAVIGATE_2 = 2026,
    NOTIFY_SET_SCROLL_INFO = 2101,
    FOLD_HEADER = SC_FOLDLEVELHEADERFLAG,
    FOLD_WHITE = SC_FOLDLEVELWHITEFLAG,
    FOLD_NUMBER = SC_FOLDLEVELNUMBERMASK,
};

const char kDefaultFace[] = "Courier New";
char g_szDefaultFace[kFontFaceBufferSize] = "Courier New";

} // namespace

CTextPrintState::CTextPrintState()
{
    Reset();
}

void CTextPrintState::Reset()
{
    nLinesPerPage = 0;
    nLineHeight = 0;
    nBandHeight = 0;
    font.DeleteObject();
    rectPage.SetRectEmpty();
    nTextLength = -1;
    pageStarts.assign(1, 0);
}

IMPLEMENT_DYNCREATE(CDoodleView, CView)

BEGIN_MESSAGE_MAP(CDoodleView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
    // Search.
    ON_COMMAND(ID_EDIT_FIND, OnEditFind)
    ON_COMMAND(ID_EDIT_REPLACE, OnEditReplace)
    ON_COMMAND(ID_SEARCH_FIND_NEXT, OnFindNext)
    ON_COMMAND(ID_SEARCH_FIND_PREVIOUS, OnFindPrevious)
    ON_COMMAND(ID_SEARCH_GOTO, OnGotoLine)
    ON_COMMAND(ID_FILE_COPY_PATH, OnCopyFilePath)
    ON_COMMAND(ID_FILE_OPEN_IN_EXPLORER, OnOpenInExplorer)
    ON_UPDATE_COMMAND_UI(ID_FILE_COPY_PATH, OnUpdateHasPath)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN_IN_EXPLORER, OnUpdateHasPath)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_LINECOL, OnUpdateIndicatorPosition)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_INS, OnUpdateIndicatorMode)
    // Editing and selection.
    ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
    ON_COMMAND(ID_EDIT_REDO, OnEditRedo)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
    ON_COMMAND(ID_EDIT_CUT_APPEND, OnEditCutAppend)
    ON_COMMAND(ID_EDIT_COPY_APPEND, OnEditCopyAppend)
    ON_COMMAND(ID_EDIT_SELECT_WORD, OnEditSelectWord)
    ON_COMMAND(ID_EDIT_SELECT_LINE, OnEditSelectLine)
    ON_COMMAND(ID_EDIT_INSERT_DATE, OnEditInsertDate)
    ON_COMMAND(ID_EDIT_INSERT_TIME, OnEditInsertTime)
    ON_COMMAND(ID_EDIT_INSERT_FILENAME, OnEditInsertFileName)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateNeedsSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedsSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT_APPEND, OnUpdateNeedsSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY_APPEND, OnUpdateNeedsSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_WORD, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_LINE, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_INSERT_DATE, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_INSERT_TIME, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_INSERT_FILENAME, OnUpdateTextCommand)
    ON_COMMAND(ID_EDIT_TEMPLATE_FROM_SELECTION, OnEditTemplateFromSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_TEMPLATE_FROM_SELECTION, OnUpdateNeedsSelection)
    // Lines, case, indent, comments, tabs and trailing blanks.
    ON_COMMAND(ID_EDIT_CUT_LINE, OnEditCutLine)
    ON_COMMAND(ID_EDIT_COPY_LINE, OnEditCopyLine)
    ON_COMMAND(ID_EDIT_DELETE_WORD, OnEditDeleteWord)
    ON_COMMAND(ID_EDIT_DELETE_TO_EOL, OnEditDeleteToEndOfLine)
    ON_COMMAND(ID_EDIT_DELETE_LINE, OnEditDeleteLine)
    ON_COMMAND(ID_EDIT_SWAP_LINES, OnEditSwapLines)
    ON_COMMAND(ID_EDIT_UPPER_CASE, OnEditUpperCase)
    ON_COMMAND(ID_EDIT_LOWER_CASE, OnEditLowerCase)
    ON_COMMAND(ID_EDIT_INDENT_RIGHT, OnEditIndentRight)
    ON_COMMAND(ID_EDIT_INDENT_LEFT, OnEditIndentLeft)
    ON_COMMAND(ID_EDIT_COMMENT, OnEditComment)
    ON_COMMAND(ID_EDIT_UNCOMMENT, OnEditUncomment)
    ON_COMMAND(ID_EDIT_TABS_TO_SPACES, OnEditTabsToSpaces)
    ON_COMMAND(ID_EDIT_SPACES_TO_TABS, OnEditSpacesToTabs)
    ON_COMMAND(ID_EDIT_TRIM_TRAILING, OnEditTrimTrailing)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT_LINE, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY_LINE, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_DELETE_WORD, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_DELETE_TO_EOL, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_DELETE_LINE, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SWAP_LINES, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UPPER_CASE, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_LOWER_CASE, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_INDENT_RIGHT, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_INDENT_LEFT, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COMMENT, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNCOMMENT, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_TABS_TO_SPACES, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SPACES_TO_TABS, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_TRIM_TRAILING, OnUpdateTextCommand)
    // Bookmarks.
    ON_COMMAND(ID_BOOKMARK_TOGGLE, OnBookmarkToggle)
    ON_COMMAND(ID_BOOKMARK_NEXT, OnBookmarkNext)
    ON_COMMAND(ID_BOOKMARK_PREVIOUS, OnBookmarkPrevious)
    ON_COMMAND(ID_BOOKMARK_CLEAR, OnBookmarkClear)
    ON_UPDATE_COMMAND_UI(ID_BOOKMARK_TOGGLE, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_BOOKMARK_NEXT, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_BOOKMARK_PREVIOUS, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_BOOKMARK_CLEAR, OnUpdateTextCommand)
    // View As, Tidy, the XML check and macros.
    ON_COMMAND_RANGE(ID_VIEW_AS_FIRST, ID_VIEW_AS_LAST, OnViewAs)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_AS_FIRST, ID_VIEW_AS_LAST, OnUpdateViewAs)
    ON_COMMAND(ID_VIEW_AS_MORE, OnViewAsMore)
    ON_UPDATE_COMMAND_UI(ID_VIEW_AS_MORE, OnUpdateTextCommand)
    ON_COMMAND(ID_TOOLS_TIDY_HTML, OnTidyHtml)
    ON_COMMAND(ID_TOOLS_TIDY_XHTML, OnTidyXhtml)
    ON_COMMAND(ID_TOOLS_TIDY_XML, OnTidyXml)
    ON_COMMAND(ID_TOOLS_XML_CHECK, OnXmlCheck)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_TIDY_HTML, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_TIDY_XHTML, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_TIDY_XML, OnUpdateTextCommand)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_XML_CHECK, OnUpdateTextCommand)
    ON_COMMAND(ID_TOOLS_SPELLING, OnSpelling)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_SPELLING, OnUpdateTextCommand)
    ON_COMMAND(ID_MACRO_RECORD, OnMacroRecord)
    ON_COMMAND(ID_MACRO_STOP, OnMacroStop)
    ON_COMMAND(ID_MACRO_PLAY, OnMacroPlay)
    ON_UPDATE_COMMAND_UI(ID_MACRO_RECORD, OnUpdateMacroRecord)
    ON_UPDATE_COMMAND_UI(ID_MACRO_STOP, OnUpdateMacroStop)
    ON_UPDATE_COMMAND_UI(ID_MACRO_PLAY, OnUpdateMacroRecord)
END_MESSAGE_MAP()

CDoodleView::CDoodleView()
    : m_nPageCount(0), m_bOwnScrollBars(TRUE), m_bRecording(FALSE), m_bHasSelection(FALSE), m_bFolding(FALSE), m_bLineNumbers(FALSE)
{
}

CDoodleView::~CDoodleView() = default;

CDoodleDoc* CDoodleView::GetDocument() const
{
    return dynamic_cast<CDoodleDoc*>(m_pDocument);
}

CViewSettings CDoodleView::GetViewSettings() const
{
    IEditorFrame* pFrame = GetEditorFrame();
    CViewSettings* pSettings = pFrame != NULL ? pFrame->GetSettings() : NULL;
    if (pSettings != NULL)
        return *pSettings;
    CViewSettings s;
    ZeroMemory(&s, sizeof(s));
    s.pszFontFace = g_szDefaultFace;
    s.nFontSize = 10;
    s.nTabWidth = 4;
    s.nTabsAsSpaces = 1;
    s.clrBrace = RGB(0, 0, 255);
    s.clrBraceBad = RGB(255, 0, 0);
    s.clrCaretLine = RGB(255, 255, 224);
    s.nCaretLineAlpha = 256;
    return s;
}

CLexerApplyOptions CDoodleView::MakeApplyOptions(const CViewSettings& s) const
{
    CLexerApplyOptions options;
    options.braceBadColour = s.clrBraceBad;
    options.braceColour = s.clrBrace;
    options.tabAsSpaces = s.nTabsAsSpaces;
    options.tabGuides = s.nTabGuides;
    options.tabWidth = s.nTabWidth > 0 ? s.nTabWidth : 4;
    return options;
}

BOOL CDoodleView::PreCreateWindow(CREATESTRUCTA& cs)
{
    // No cursor and no background: the editing window covers everything.
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, NULL, NULL,
                                       ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)));
    cs.style |= WS_CLIPCHILDREN;
    return CView::PreCreateWindow(cs);
}

int CDoodleView::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    DWORD dwStyle = WS_CHILD | WS_VISIBLE;
    // Inside a splitter with shared scroll bars the editing window shows none
    // of its own.
    m_bOwnScrollBars = GetScrollBarCtrl(SB_VERT) == NULL && GetScrollBarCtrl(SB_HORZ) == NULL;
    if (m_bOwnScrollBars)
        dwStyle |= WS_HSCROLL | WS_VSCROLL;
    if (!m_editor.Create(CMFCScintilla::kWindowClass, "Editor", dwStyle, CRect(0, 0, 0, 0), this, IDC_EDITOR))
        return -1;
    m_editor.SetDefaultLook();
    if (!m_bOwnScrollBars) {
        m_editor.Call(SCI_SETVSCROLLBAR, 0);
        m_editor.Call(SCI_SETHSCROLLBAR, 0);
    }

    int nShared = 0;
    if (CDoodleDoc* pDoc = GetDocument())
        nShared = pDoc->ShareComponentDocument(m_editor);

    CViewSettings s = GetViewSettings();
    SetWordWrap(s.nWordWrap);
    SetLineEndings(s.nLineEndings);
    SetWhitespace(s.nWhitespace);
    m_editor.SetCaretLine(s.nCaretLine, s.clrCaretLine, s.nCaretLineAlpha);
    m_bLineNumbers = s.nLineNumbers;
    m_editor.SetLineNumberMargin(s.nLineNumbers ? 1 : 0, CMFCScintilla::LINENUMBER_MARGIN);
    m_bFolding = s.nCodeFolding;
    m_editor.SetFoldProperties(m_bFolding);
    SetBlockSelect(s.nBlockSelect);
    m_editor.ShowRuler(s.nRulers);

    IEditorFrame* pFrame = GetEditorFrame();
    CLexerConfigList* pList = pFrame != NULL ? pFrame->GetLexerConfigs() : NULL;
    CScintillaFrame* pTextFrame = dynamic_cast<CScintillaFrame*>(GetParentFrame());
    int nIndex = pTextFrame != NULL ? pTextFrame->GetViewAsIndex() : 0;
    CLexerConfig config = pList != NULL && pList->GetCount() > 0 ? pList->GetAt(nIndex) : CLexerConfigList::MakeFallback();
    m_editor.ApplyLexerSettings(config, MakeApplyOptions(s));
    m_editor.SetFont(s.pszFontFace != NULL && *s.pszFontFace ? s.pszFontFace : kDefaultFace,
                     s.nFontSize > 0 ? s.nFontSize : 10, s.nBold, s.nItalic);
    // Every document is UTF-8 in the component, whatever its file holds.
    m_editor.SetCodePage(SC_CP_UTF8);
    return 0;
}

void CDoodleView::OnDraw(CDC*)
{
    // The editing window draws everything.
}

BOOL CDoodleView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CDoodleView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    if (CDoodleDoc* pDoc = GetDocument())
        pDoc->SetModifiedFlag(pDoc->IsModified());
}

void CDoodleView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (m_editor.GetSafeHwnd() != NULL) {
        m_editor.MoveWindow(0, 0, cx, cy);
        SyncSharedScrollBars();
    }
}

void CDoodleView::OnSetFocus(CWnd* pOldWnd)
{
    CView::OnSetFocus(pOldWnd);
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->SetCurrentViewWnd(this);
    if (m_editor.GetSafeHwnd() != NULL)
        m_editor.SetFocus();
}

void CDoodleView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    // The status bar shows the caret and the typing mode of the document
    // that just became active, not those of the one before.
    if (bActivate && m_editor.GetSafeHwnd() != NULL)
        UpdateStatus();
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

BOOL CDoodleView::IsActiveView() const
{
    CMDIFrameWnd* pMain = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    CMDIChildWnd* pActive = pMain != NULL && pMain->GetSafeHwnd() != NULL ? pMain->MDIGetActive() : NULL;
    return pActive != NULL && pActive == GetParentFrame() && pActive->GetActiveView() == this;
}

CString CDoodleView::GetPositionText() const
{
    CString strPos;
    strPos.Format("Ln %2d Col %2d", (int)m_editor.GetCurrentLine() + 1, (int)m_editor.GetColumn());
    return strPos;
}

CString CDoodleView::GetModeText() const
{
    return m_editor.Call(SCI_GETOVERTYPE) != 0 ? "" : "INS";
}

void CDoodleView::UpdateStatus()
{
    if (IEditorFrame* pFrame = GetEditorFrame()) {
        pFrame->SetStatusText(STATUS_PANE_POSITION, GetPositionText());
        pFrame->SetStatusText(STATUS_PANE_MODE, GetModeText());
    }
}

void CDoodleView::OnUpdateIndicatorPosition(CCmdUI* pCmdUI)
{
    pCmdUI->SetText(GetPositionText());
}

void CDoodleView::OnUpdateIndicatorMode(CCmdUI* pCmdUI)
{
    pCmdUI->SetText(GetModeText());
}

void CDoodleView::OnDestroy()
{
    if (CDoodleDoc* pDoc = GetDocument())
        pDoc->ReleaseComponentDocument(m_editor);
    // The main frame forgets the current view only when it is this one's
    // (the view of the active child frame).
    BOOL bActive = IsActiveView();
    CView::OnDestroy();
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->RemoveNavigationView(m_hWnd);
    if (pFrame != NULL && bActive)
        pFrame->SetCurrentViewWnd(NULL);
}

void CDoodleView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    if (m_editor.GetSafeHwnd() == NULL)
        return;
    CScrollBar* pShared = m_bOwnScrollBars ? NULL : GetScrollBarCtrl(SB_HORZ);
    if (pShared != NULL && (nSBCode == SB_THUMBTRACK || nSBCode == SB_THUMBPOSITION)) {
        // The editing window would read its own (hidden) bar: the shared
        // bar's track position is the new offset.
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_TRACKPOS;
        ::GetScrollInfo(pShared->m_hWnd, SB_CTL, &si);
        m_editor.Call(SCI_SETXOFFSET, (uptr_t)std::max(0, si.nTrackPos));
        return;
    }
    m_editor.SendMessage(WM_HSCROLL, MAKEWPARAM(nSBCode, nPos), 0);
}

void CDoodleView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    if (m_editor.GetSafeHwnd() == NULL)
        return;
    CScrollBar* pShared = m_bOwnScrollBars ? NULL : GetScrollBarCtrl(SB_VERT);
    if (pShared != NULL && (nSBCode == SB_THUMBTRACK || nSBCode == SB_THUMBPOSITION)) {
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_TRACKPOS;
        ::GetScrollInfo(pShared->m_hWnd, SB_CTL, &si);
        m_editor.Call(SCI_SETFIRSTVISIBLELINE, (uptr_t)std::max(0, si.nTrackPos));
        return;
    }
    m_editor.SendMessage(WM_VSCROLL, MAKEWPARAM(nSBCode, nPos), 0);
}

void CDoodleView::SyncSharedScrollBars()
{
    if (m_bOwnScrollBars || m_editor.GetSafeHwnd() == NULL)
        return;
    if (CScrollBar* pBar = GetScrollBarCtrl(SB_VERT)) {
        int nLines = (int)m_editor.Call(SCI_VISIBLEFROMDOCLINE, (uptr_t)m_editor.Call(SCI_GETLINECOUNT));
        int nOnScreen = std::max(1, (int)m_editor.Call(SCI_LINESONSCREEN));
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        si.nMin = 0;
        si.nMax = std::max(nLines - nOnScreen, 0) + nOnScreen - 1;
        si.nPage = (UINT)nOnScreen;
        si.nPos = (int)m_editor.Call(SCI_GETFIRSTVISIBLELINE);
        ::SetScrollInfo(pBar->m_hWnd, SB_CTL, &si, TRUE);
    }
    if (CScrollBar* pBar = GetScrollBarCtrl(SB_HORZ)) {
        CRect rc;
        m_editor.GetClientRect(&rc);
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        si.nMin = 0;
        si.nMax = std::max(0, (int)m_editor.Call(SCI_GETSCROLLWIDTH) - 1);
        si.nPage = (UINT)std::max(1, rc.Width());
        si.nPos = (int)m_editor.Call(SCI_GETXOFFSET);
        ::SetScrollInfo(pBar->m_hWnd, SB_CTL, &si, TRUE);
    }
}

void CDoodleView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnPrepareDC(pDC, pInfo);
}

// ---------------------------------------------------------------------------
// Settings relayed by the frame.

void CDoodleView::SetWordWrap(BOOL bOn)
{
    int n = bOn ? 1 : 0;
    m_editor.SetWrapMode(n);
    m_editor.SetWrapVisualFlags(n);
    m_editor.SetWrapVisualFlagsLocation(1);
}

void CDoodleView::SetWhitespace(BOOL bOn)
{
    m_editor.SetViewWhitespace(bOn ? 1 : 0);
}

void CDoodleView::SetLineEndings(BOOL bOn)
{
    m_editor.SetViewEOL(bOn);
}

void CDoodleView::SetCaretLine(BOOL bOn)
{
    CViewSettings s = GetViewSettings();
    m_editor.SetCaretLine(bOn, s.clrCaretLine, s.nCaretLineAlpha);
}

void CDoodleView::SetLineNumbers(BOOL bOn)
{
    m_bLineNumbers = bOn;
    m_editor.SetLineNumberMargin(bOn ? 1 : 0, CMFCScintilla::LINENUMBER_MARGIN);
}

void CDoodleView::SetCodeFolding(BOOL bOn)
{
    if (!bOn) {
        for (Sci_Position nLine : m_foldedLines) {
            if (!m_editor.GetFoldExpanded(nLine))
                m_editor.ToggleFold(nLine);
        }
        m_foldedLines.clear();
    }
    m_bFolding = bOn;
    m_editor.SetFoldProperties(bOn);
    if (bOn) {
        CScintillaFrame* pFrame = dynamic_cast<CScintillaFrame*>(GetParentFrame());
        SetLanguage(pFrame != NULL ? pFrame->GetViewAsIndex() : 0);
    }
}

void CDoodleView::SetRuler(BOOL bOn)
{
    m_editor.ShowRuler(bOn);
}

void CDoodleView::SetBlockSelect(BOOL bOn)
{
    m_editor.SendSetting2900(bOn ? 1 : 0);
    m_editor.SetBlockSelect(bOn);
}

void CDoodleView::SetSetting2900(int nValue)
{
    m_editor.SendSetting2900(nValue);
}

void CDoodleView::SetEditorFont(LPCSTR lpszFace, int nSize, BOOL bBold, BOOL bItalic)
{
    m_editor.SetFont(lpszFace, nSize, bBold, bItalic);
    if (m_bLineNumbers)
        m_editor.SetLineNumberMargin(1, CMFCScintilla::LINENUMBER_MARGIN);
}

void CDoodleView::SetEditingValues(int nTabGuides, int nUseTabs, int nTabWidth, COLORREF clrCaretLine, int nAlpha)
{
    m_editor.SetIndentationGuides(nTabGuides ? SC_IV_LOOKBOTH : SC_IV_NONE);
    m_editor.SetUseTabs(nUseTabs);
    m_editor.SetTabWidth(nTabWidth);
    CViewSettings s = GetViewSettings();
    m_editor.SetCaretLine(s.nCaretLine, clrCaretLine, nAlpha);
}

void CDoodleView::SetSearchFlags(BOOL bMatchCase, BOOL bWholeWord, BOOL bRegex)
{
    int nFlags = 0;
    if (bMatchCase)
        nFlags |= SCFIND_MATCHCASE;
    if (bWholeWord)
        nFlags |= SCFIND_WHOLEWORD;
    if (bRegex)
        nFlags |= SCFIND_REGEXP;
    m_editor.SetSearchFlags(nFlags);
}

// --- search ------------------------------------------------------------------

Sci_Position CDoodleView::FindText(LPCSTR lpszText, BOOL bBackward, BOOL bWrap)
{
    return m_editor.FindText(lpszText, bBackward, bWrap);
}

int CDoodleView::ReplaceAll(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bInSelection, BOOL bRegex)
{
    return m_editor.ReplaceAllMatches(lpszFind, lpszReplace, bInSelection, bRegex);
}

Sci_Position CDoodleView::ReplaceAndFindNext(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bRegex, int nReplace)
{
    // Only a selection that is a match of the find text under the current
    // options is replaced: any other selection stays as it is.
    if (nReplace != -1)
        m_editor.ReplaceMatchingSelection(lpszFind, lpszReplace, bRegex);
    return m_editor.FindText(lpszFind, FALSE, TRUE);
}

int CDoodleView::MarkAll(LPCSTR lpszText)
{
    const Sci_Position nAnchor = m_editor.GetAnchor();
    const Sci_Position nCaret = m_editor.GetCurrentPos();
    int nFound = m_editor.BookmarkMatches(lpszText);
    m_editor.SetSel(nAnchor, nCaret);
    return nFound > 0 ? 1 : 0;
}

void CDoodleView::ShowSearchMiss()
{
    if (m_editor.SearchWasTooComplex())
        AfxMessageBox(CMFCScintilla::kPatternTooComplex, MB_OK | MB_ICONEXCLAMATION);
    else
        AfxMessageBox(IDS_SEARCH_NOT_FOUND, MB_OK | MB_ICONINFORMATION);
}

void CDoodleView::OnEditFind()
{
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->ShowFindDialog(this, m_editor.GetFindSeed(TRUE));
}

void CDoodleView::OnEditReplace()
{
    IEditorFrame* pFrame = GetEditorFrame();
    if (pFrame != NULL)
        pFrame->ShowReplaceDialog(this, m_editor.GetFindSeed(TRUE));
}

void CDoodleView::FindSeedText(BOOL bBackward)
{
    IEditorFrame* pFrame = GetEditorFrame();
    CString text = m_editor.GetFindSeed(FALSE);
    if (text.IsEmpty() && pFrame != NULL)
        text = pFrame->GetSearchText();
    if (text.IsEmpty())
        return;
    m_editor.SetSearchFlags(0);
    if (m_editor.FindText(text, bBackward, !bBackward) < 0) {
        AfxMessageBox(IDS_SEARCH_NOT_FOUND, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (pFrame != NULL)
        pFrame->AddSearchHistory(text);
}

void CDoodleView::OnFindNext()
{
    FindSeedText(FALSE);
}

void CDoodleView::OnFindPrevious()
{
    FindSeedText(TRUE);
}

void CDoodleView::OnGotoLine()
{
    CGotoDialog dlg((int)m_editor.GetLineCount(), this);
    if (dlg.DoModal() != IDOK)
        return;
    m_editor.GotoLine(dlg.GetLine() - 1, FALSE);
}

void CDoodleView::StartMacroRecording(LPCSTR lpszName)
{
    m_macro.BeginRecording(lpszName);
    m_bRecording = TRUE;
    m_editor.StartRecord();
}

void CDoodleView::StopMacroRecording()
{
    m_editor.StopRecord();
    m_bRecording = FALSE;
}

void CDoodleView::GotoPosition(Sci_Position nPos)
{
    m_editor.GotoPos(nPos);
    m_editor.ScrollCaret();
}

CString CDoodleView::GetAllText()
{
    CString strText;
    Sci_Position nLength = m_editor.GetLength();
    const Sci_Position nLimit = 512000;
    std::vector<char> buffer;
    Sci_Position nPos = 0;
    while (nPos < nLength) {
        Sci_Position nEnd = std::min(nLength, nPos + nLimit);
        if (nEnd < nLength) {
            // Cut back to the end of the line before, unless that would give
            // nothing (a line longer than a piece is cut where it is).
            Sci_Position nLine = m_editor.LineFromPosition(nEnd);
            if (nEnd < m_editor.GetLineEndPosition(nLine) && nLine > 0) {
                Sci_Position nCut = m_editor.GetLineEndPosition(nLine - 1);
                if (nCut > nPos)
                    nEnd = nCut;
            }
        }
        buffer.resize((size_t)(nEnd - nPos + 1));
        m_editor.GetTextRange(nPos, nEnd, buffer.data());
        strText += CString(buffer.data(), (int)(nEnd - nPos));
        nPos = nEnd;
    }
    return strText;
}

void CDoodleView::ApplyLanguage(const CLexerConfig& config)
{
    m_editor.ApplyLexerSettings(config, MakeApplyOptions(GetViewSettings()));
    // The panes that follow the active document's language (the function
    // list) read it again: View As or a Save As under another extension
    // changed it.
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->OnTextDocumentActivated();
}

void CDoodleView::SetLanguage(int nIndex)
{
    IEditorFrame* pFrame = GetEditorFrame();
    CLexerConfigList* pList = pFrame != NULL ? pFrame->GetLexerConfigs() : NULL;
    int nCount = pList != NULL ? pList->GetCount() : 0;
    if (nIndex < 0 || nIndex > nCount)
        return;
    if (CScintillaFrame* pTextFrame = dynamic_cast<CScintillaFrame*>(GetParentFrame()))
        pTextFrame->SetViewAsIndex(nIndex);
    // Past the last record: plain text.
    ApplyLanguage(pList != NULL && nIndex < nCount ? pList->GetAt(nIndex) : CLexerConfigList::MakeFallback());
}

// ---------------------------------------------------------------------------
// Notifications of the editing window.

BOOL CDoodleView::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The editing window's own notifications (SCEN_CHANGE, focus changes)
    // carry its control id, which is also the Delete Line command: they end
    // here and never run a command.
    if (lParam != 0 && (HWND)lParam == m_editor.GetSafeHwnd())
        return TRUE;
    return CView::OnCommand(wParam, lParam);
}

BOOL CDoodleView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (pHdr != NULL && pHdr->hwndFrom == m_editor.GetSafeHwnd() && m_editor.GetSafeHwnd() != NULL) {
        OnEditorNotify(reinterpret_cast<const SCNotification*>(lParam));
        if (pResult != NULL)
            *pResult = 0;
        return TRUE;
    }
    // Anything else that claims the editor's id is not the editor's: it is
    // not routed as a command either.
    if (pHdr != NULL && pHdr->idFrom == IDC_EDITOR) {
        if (pResult != NULL)
            *pResult = 0;
        return TRUE;
    }
    (void)wParam;
    return CView::OnNotify(wParam, lParam, pResult);
}

void CDoodleView::OnEditorNotify(const SCNotification* pNotify)
{
    CDoodleDoc* pDoc = GetDocument();
    IEditorFrame* pFrame = GetEditorFrame();
    switch (pNotify->nmhdr.code) {
    case SCN_CHARADDED: {
        BOOL bSmart = FALSE;
        CLexerConfigList* pList = pFrame != NULL ? pFrame->GetLexerConfigs() : NULL;
        CScintillaFrame* pTextFrame = dynamic_cast<CScintillaFrame*>(GetParentFrame());
        if (pList != NULL && pTextFrame != NULL && pList->GetCount() > 0)
            bSmart = pList->GetAt(pTextFrame->GetViewAsIndex()).GetAutoNest();
        m_editor.AutoIndent(pNotify->ch, bSmart);
        break;
    }
    case SCN_SAVEPOINTREACHED:
        if (pDoc != NULL)
            pDoc->SetModifiedFlag(FALSE);
        break;
    case SCN_SAVEPOINTLEFT:
        if (pDoc != NULL)
            pDoc->SetModifiedFlag(TRUE);
        break;
    case SCN_UPDATEUI: {
        // The component names no position here: the caret is the place.
        if (pFrame != NULL)
            pFrame->AddNavigationPlace(m_hWnd, (INT_PTR)m_editor.GetCurrentPos());
        // Only the active document speaks in the status bar (a document
        // loading behind it, or the other pane of a split, keeps quiet). The
        // Insert key's overtype toggle arrives here too.
        if (IsActiveView())
            UpdateStatus();
        m_bHasSelection = m_editor.HasSelection();
        CViewSettings s = GetViewSettings();
        if (s.nMatchBracket)
            m_editor.HighlightBraces();
        if (pNotify->updated & (SC_UPDATE_H_SCROLL | SC_UPDATE_V_SCROLL))
            m_editor.UpdateRuler();
        SyncSharedScrollBars();
        break;
    }
    case SCN_MODIFIED:
        if ((pNotify->modificationType & SC_MOD_CHANGEFOLD) && m_bFolding)
            OnFoldChanged(pNotify->line, pNotify->foldLevelNow, pNotify->foldLevelPrev);
        if (pNotify->linesAdded != 0 && m_bLineNumbers)
            m_editor.SetLineNumberMargin(1, CMFCScintilla::LINENUMBER_MARGIN);
        if ((pNotify->modificationType & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)) && pFrame != NULL)
            pFrame->OnTextChanged();
        break;
    case SCN_MACRORECORD:
        if (m_bRecording)
            m_macro.AddStep((int)pNotify->message, pNotify->wParam, pNotify->lParam);
        break;
    case SCN_MARGINCLICK: {
        Sci_Position nLine = m_editor.LineFromPosition(pNotify->position);
        if (pNotify->margin == CMFCScintilla::BOOKMARK_MARGIN) {
            m_editor.ToggleBookmarkAt(pNotify->position);
        } else if (pNotify->margin == 1) {
            m_editor.SelectLine(nLine);
        } else if (pNotify->margin == CMFCScintilla::FOLD_MARGIN && m_bFolding &&
                   (m_editor.GetFoldLevel(nLine) & FOLD_HEADER)) {
            if (m_editor.ToggleFold(nLine))
                m_foldedLines.remove(nLine);
            else
                m_foldedLines.push_back(nLine);
        }
        break;
    }
    default:
        break;
    }
}

void CDoodleView::OnFoldChanged(Sci_Position nLine, int nLevelNow, int nLevelBefore)
{
    BOOL bHeaderNow = (nLevelNow & FOLD_HEADER) != 0;
    BOOL bHeaderBefore = (nLevelBefore & FOLD_HEADER) != 0;
    if (bHeaderNow && !bHeaderBefore) {
        m_editor.SetFoldExpanded(nLine, TRUE);
        ExpandFrom(nLine, nLevelBefore);
    } else if (!bHeaderNow && bHeaderBefore) {
        if (!m_editor.GetFoldExpanded(nLine)) {
            m_editor.SetFoldExpanded(nLine, TRUE);
            ExpandFrom(nLine, nLevelBefore);
        }
    } else if (!bHeaderNow && !bHeaderBefore) {
        if (!(nLevelNow & FOLD_WHITE) && (nLevelNow & FOLD_NUMBER) < (nLevelBefore & FOLD_NUMBER)) {
            Sci_Position nParent = m_editor.GetFoldParent(nLine);
            if (nParent < 0 || (m_editor.GetFoldExpanded(nParent) && m_editor.GetLineVisible(nParent)))
                m_editor.ShowLines(nLine, nLine);
        }
    }
}

void CDoodleView::ExpandFrom(Sci_Position nLine, int nLevel)
{
    Sci_Position nLast = m_editor.GetLastChild(nLine, nLevel & FOLD_NUMBER);
    Sci_Position n = nLine + 1;
    while (n <= nLast) {
        m_editor.ShowLines(n, n);
        int nLevelHere = m_editor.GetFoldLevel(n);
        if (nLevelHere & FOLD_HEADER) {
            if (!m_editor.GetFoldExpanded(n))
                m_editor.SetFoldExpanded(n, TRUE);
            Sci_Position nChildEnd = m_editor.GetLastChild(n, nLevelHere & FOLD_NUMBER);
            ExpandFrom(n, nLevelHere);
            n = std::max(nChildEnd, n) + 1;
        } else {
            n++;
        }
    }
}

LRESULT CDoodleView::RelayScrollInfo(int nBar, SCROLLINFO* pInfo, BOOL bRedraw)
{
    if (pInfo == NULL)
        return 0;
    SCROLLINFO cur = {};
    cur.cbSize = sizeof(cur);
    cur.fMask = SIF_ALL;
    if (GetScrollInfo(nBar, &cur, SIF_ALL)) {
        BOOL bSame = TRUE;
        if ((pInfo->fMask & SIF_RANGE) && (cur.nMin != pInfo->nMin || cur.nMax != pInfo->nMax))
            bSame = FALSE;
        if ((pInfo->fMask & SIF_PAGE) && cur.nPage != pInfo->nPage)
            bSame = FALSE;
        if ((pInfo->fMask & SIF_POS) && cur.nPos != pInfo->nPos)
            bSame = FALSE;
        if ((pInfo->fMask & SIF_TRACKPOS) && cur.nTrackPos != pInfo->nTrackPos)
            bSame = FALSE;
        if (bSame)
            return 1;
    }
    SetScrollInfo(nBar, pInfo, bRedraw);
    m_editor.UpdateRuler();
    return 1;
}

LRESULT CDoodleView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The scroll relays of a component build that sends them.
    if (message == MSG_GET_SCROLL_INFO && wParam != 0) {
        SCROLLINFO* pInfo = reinterpret_cast<SCROLLINFO*>(wParam);
        int nBar = (lParam & 0x8000) ? SB_VERT : SB_HORZ;
        return GetScrollInfo(nBar, pInfo, pInfo->fMask);
    }
    if (message == MSG_SET_SCROLL_INFO && wParam != 0) {
        int nBar = (lParam & 0x8000) ? SB_VERT : SB_HORZ;
        return RelayScrollInfo(nBar, reinterpret_cast<SCROLLINFO*>(wParam), (lParam & 1) != 0);
    }
    return CView::WindowProc(message, wParam, lParam);
}

BOOL CDoodleView::CheckPrinter()
{
    // Without a printer there is nothing to print on nor to measure a
    // preview against: one message says so, and nothing opens.
    if (fx::IsPrintingAvailable())
        return TRUE;
    fx::PromptMessage(AFX_IDP_NO_PRINTER, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

void CDoodleView::OnFilePrint()
{
    if (CheckPrinter())
        CView::OnFilePrint();
}

void CDoodleView::OnFilePrintPreview()
{
    if (!CheckPrinter())
        return;
    CPrintPreviewState* pState = new CPrintPreviewState;
    if (!DoPrintPreview(IDR_TOOLBAR_PREVIEW_BAR, this, RUNTIME_CLASS(CQXPPreviewView), pState)) {
        fx::PromptMessage(AFX_IDP_COMMAND_FAILURE, MB_OK | MB_ICONEXCLAMATION);
        delete pState;
    }
}

// ---------------------------------------------------------------------------
// The document's file.

void CDoodleView::OnCopyFilePath()
{
    CDocument* pDoc = GetDocument();
    if (pDoc != NULL && !pDoc->GetPathName().IsEmpty())
        CopyTextToClipboard(m_hWnd, pDoc->GetPathName());
}

void CDoodleView::OnOpenInExplorer()
{
    CDocument* pDoc = GetDocument();
    if (pDoc != NULL)
        OpenContainingFolder(pDoc->GetPathName());
}

void CDoodleView::OnUpdateHasPath(CCmdUI* pCmdUI)
{
    CDocument* pDoc = GetDocument();
    pCmdUI->Enable(pDoc != NULL && !pDoc->GetPathName().IsEmpty());
}
