// textview.h - CDoodleView, the view of a text document.
//
// The whole client area is one CMFCScintilla child (control id 32785). The
// view applies the main frame's view settings when it is created and again,
// one at a time, when its frame relays a change; it turns the component's
// notifications into document state (save point left / reached), folding,
// auto-indent and line-number margin updates.
//
// The editing window's id is also the id of the Delete Line command. Its
// notifications (WM_NOTIFY, and WM_COMMAND with a notification code) are
// handled here and never routed on as commands.
#pragma once

#include <fx/fx.h>

#include <list>
#include <string>
#include <vector>

#include "editorframe.h"
#include "macros.h"
#include "scintillawrap.h"

class CDoodleDoc;
class CLexerConfig;

// What a print job of a text view keeps between pages.
struct CTextPrintState {
    CTextPrintState();
    void Reset();

    int nLinesPerPage;
    int nLineHeight; // device units: tmHeight + tmExternalLeading
    int nBandHeight; // header or footer band: two lines
    CFont font;
    CString strHeader; // the page header of this job
    CRect rectPage;
    Sci_Position nTextLength; // fetched at the first page; -1 until then
    // Where each page starts: entry n is the start of page n + 1. Grows with
    // the pages printed, so any number of pages can be printed.
    std::vector<Sci_Position> pageStarts;
};

class CDoodleView : public CView {
    DECLARE_DYNCREATE(CDoodleView)
public:
    CDoodleView();
    ~CDoodleView() override;

    enum {
        IDC_EDITOR = 32785
    };

    CDoodleDoc* GetDocument() const;
    CMFCScintilla& GetEditor() { return m_editor; }
    const CMFCScintilla& GetEditor() const { return m_editor; }

    // --- settings relayed by the frame ---------------------------------------------
    void SetWordWrap(BOOL bOn);
    void SetWhitespace(BOOL bOn);
    void SetLineEndings(BOOL bOn);
    void SetCaretLine(BOOL bOn);
    void SetLineNumbers(BOOL bOn);
    void SetCodeFolding(BOOL bOn);
    void SetRuler(BOOL bOn);
    void SetBlockSelect(BOOL bOn);
    void SetEditorFont(LPCSTR lpszFace, int nSize, BOOL bBold, BOOL bItalic);
    // Indentation guides, use tabs, tab width, caret-line colour and alpha.
    void SetEditingValues(int nTabGuides, int nUseTabs, int nTabWidth, COLORREF clrCaretLine, int nAlpha);
    void SetSetting2900(int nValue);

    // --- operations for other windows ------------------------------------------------
    void SetSearchFlags(BOOL bMatchCase, BOOL bWholeWord, BOOL bRegex);

    // --- search (the find and replace dialogs reach these through the frame) -------
    // Each uses the search flags set last (SetSearchFlags).
    // Next match from the selection, selected; its position or -1.
    Sci_Position FindText(LPCSTR lpszText, BOOL bBackward, BOOL bWrap);
    // Replace All in the document or the selected lines: the count, -2 for
    // an empty selection with bInSelection.
    int ReplaceAll(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bInSelection, BOOL bRegex);
    // Replace: nReplace -1 only finds; otherwise a selection that is a match
    // is replaced first. Then the next match (forward, wrapping); its
    // position or -1.
    Sci_Position ReplaceAndFindNext(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bRegex, int nReplace);
    // Bookmarks every line with a match; 1 when there was one, else 0.
    int MarkAll(LPCSTR lpszText);
    // TRUE when the last of these searches was given up because its
    // regular expression needed too many steps on a line of the text.
    BOOL SearchWasTooComplex() const { return m_editor.SearchWasTooComplex(); }
    // Tells the user that the last search found nothing ("Search text not
    // found."), or that it was given up on its pattern.
    void ShowSearchMiss();
    void GotoPosition(Sci_Position nPos);
    // The whole text, read in pieces that end at line ends.
    CString GetAllText();
    // View As: applies language record nIndex (the fallback record when it
    // equals the number of records); larger indexes do nothing.
    void SetLanguage(int nIndex);
    // Applies a language record with the current view settings.
    void ApplyLanguage(const CLexerConfig& config);
    BOOL HasSelection() const { return m_bHasSelection; }

    // Macro recording: the editing window's recordable actions become steps
    // of the macro until recording stops (StopMacroRecording only stops; the
    // Stop Recording command also stores the macro).
    void StartMacroRecording(LPCSTR lpszName);
    void StopMacroRecording();
    // Sends every step of a macro to the editing window, in order.
    void PlayMacro(const CMacroStore& macro);

    // --- text commands for other windows and tests -----------------------------------
    // Tabs to Spaces (bToSpaces) or Spaces to Tabs with the tab width of the
    // settings, searching with no flags; the caret line stays in view.
    // Returns the number of replacements.
    int ConvertTabs(BOOL bToSpaces);
    // Removes the blanks and tabs at the end of every line; returns the
    // number of lines trimmed.
    int TrimTrailingSpaces();
    // Runs one Tidy command (TIDY_HTML_CLEAN ...) over the whole text with
    // its option file of the per-user Tidy folder; the report goes to the
    // tool window. TRUE when the document was replaced.
    BOOL RunTidy(int nCommand);
    // The XML check over the whole text; the report goes to the tool window
    // and is returned.
    CString CheckXml();
    // The text of the whole document.
    std::string GetWholeText() const;
    // The line-comment marker of the frame's current language.
    CString GetLineCommentMarker() const;
    BOOL IsRecordingMacro() const { return m_bRecording; }
    CMacroStore& GetMacro() { return m_macro; }

    // The folded header lines (folded by margin clicks).
    const std::list<Sci_Position>& GetFoldedLines() const { return m_foldedLines; }

    // The print state (tests read the page table).
    CTextPrintState& GetPrintState() { return m_print; }
    // Page count of the current print job as OnBeginPrinting found it.
    UINT GetPrintPageCount() const { return m_nPageCount; }

    // --- framework overrides ---------------------------------------------------
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL) override;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

    // Counts the pages of the text for a DC without drawing (the step
    // OnBeginPrinting runs); at least 1. A page with no room for one line
    // ends the count.
    UINT CountPages(CDC* pDC);
    // Margins of the main frame's settings in device units of pDC.
    CRect GetDeviceMargins(CDC* pDC) const;
    // Header text of a print job: the path when shorter than 69 characters,
    // else the title.
    static CString MakeHeaderText(LPCSTR lpszPath, LPCSTR lpszTitle);

    afx_msg void OnFilePrintPreview();
    afx_msg void OnFilePrint();

    // The status-bar texts of the view: "Ln %2d Col %2d" of the caret, and
    // "INS" in insert mode ("" while overtype is on).
    CString GetPositionText() const;
    CString GetModeText() const;
    // TRUE when this is the active view of the active child frame.
    BOOL IsActiveView() const;

    // --- commands: editing and selection ---------------------------------------------
    afx_msg void OnEditUndo();
    afx_msg void OnEditRedo();
    afx_msg void OnEditCut();
    afx_msg void OnEditCopy();
    afx_msg void OnEditPaste();
    afx_msg void OnEditSelectAll();
    afx_msg void OnEditCutAppend();
    afx_msg void OnEditCopyAppend();
    afx_msg void OnEditSelectWord();
    afx_msg void OnEditSelectLine();
    afx_msg void OnEditInsertDate();
    afx_msg void OnEditInsertTime();
    afx_msg void OnEditInsertFileName();
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditRedo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnEditTemplateFromSelection();
    afx_msg void OnUpdateNeedsSelection(CCmdUI* pCmdUI);
    afx_msg void OnUpdateTextCommand(CCmdUI* pCmdUI);
    // --- commands: lines, case, indent, comments, tabs, trim ------------------------------
    afx_msg void OnEditCutLine();
    afx_msg void OnEditCopyLine();
    afx_msg void OnEditDeleteWord();
    afx_msg void OnEditDeleteToEndOfLine();
    afx_msg void OnEditDeleteLine();
    afx_msg void OnEditSwapLines();
    afx_msg void OnEditUpperCase();
    afx_msg void OnEditLowerCase();
    afx_msg void OnEditIndentRight();
    afx_msg void OnEditIndentLeft();
    afx_msg void OnEditComment();
    afx_msg void OnEditUncomment();
    afx_msg void OnEditTabsToSpaces();
    afx_msg void OnEditSpacesToTabs();
    afx_msg void OnEditTrimTrailing();
    // --- commands: bookmarks ----------------------------------------------------------
    afx_msg void OnBookmarkToggle();
    afx_msg void OnBookmarkNext();
    afx_msg void OnBookmarkPrevious();
    afx_msg void OnBookmarkClear();
    // --- commands: View As, Tidy, XML check, macros ------------------------------------
    afx_msg void OnViewAs(UINT nID);
    afx_msg void OnUpdateViewAs(CCmdUI* pCmdUI);
    afx_msg void OnViewAsMore();
    afx_msg void OnTidyHtml();
    afx_msg void OnTidyXhtml();
    afx_msg void OnTidyXml();
    afx_msg void OnXmlCheck();
    afx_msg void OnSpelling();
    afx_msg void OnMacroRecord();
    afx_msg void OnMacroStop();
    afx_msg void OnMacroPlay();
    afx_msg void OnUpdateMacroRecord(CCmdUI* pCmdUI);
    afx_msg void OnUpdateMacroStop(CCmdUI* pCmdUI);

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    // Search commands: Find..., Replace..., Find Next, Find Previous, Goto.
    afx_msg void OnEditFind();
    afx_msg void OnEditReplace();
    afx_msg void OnFindNext();
    afx_msg void OnFindPrevious();
    afx_msg void OnGotoLine();
    afx_msg void OnCopyFilePath();
    afx_msg void OnOpenInExplorer();
    afx_msg void OnUpdateHasPath(CCmdUI* pCmdUI);
    afx_msg void OnUpdateIndicatorPosition(CCmdUI* pCmdUI);
    afx_msg void OnUpdateIndicatorMode(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    // Find Next (149) and Find Previous (32841).
    void FindSeedText(BOOL bBackward);
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    // Shows the caret position and the typing mode in the status bar.
    void UpdateStatus();
    // TRUE when printing has a printer; otherwise says so (once) and FALSE.
    BOOL CheckPrinter();

    // Handles one notification of the editing window.
    void OnEditorNotify(const SCNotification* pNotify);
    void OnFoldChanged(Sci_Position nLine, int nLevelNow, int nLevelBefore);
    void ExpandFrom(Sci_Position nLine, int nLevel);
    LRESULT RelayScrollInfo(int nBar, SCROLLINFO* pInfo, BOOL bRedraw);
    // In a splitter the view's row and column share the splitter's scroll
    // bars: they show the editing window's lines and offset.
    void SyncSharedScrollBars();
    // The current view settings (the frame's, else defaults).
    CViewSettings GetViewSettings() const;
    CLexerApplyOptions MakeApplyOptions(const CViewSettings& s) const;
    // The text rectangle of a page area: margins, then the header and
    // footer bands.
    CRect ComputeTextRect(CDC* pDC, const CRect& rectArea) const;
    void CreatePrintFont(CDC* pDC);
    // Fills the page table up to the start of page nPage (1-based) by
    // formatting the pages before it without drawing.
    Sci_Position EnsurePageStart(CDC* pDC, UINT nPage, const CRect& rectText, const CRect& rectPage);

    CTextPrintState m_print;
    UINT m_nPageCount;
    BOOL m_bOwnScrollBars;
    CMacroStore m_macro;
    BOOL m_bRecording;
    BOOL m_bHasSelection;
    BOOL m_bFolding;
    BOOL m_bLineNumbers;
    std::list<Sci_Position> m_foldedLines;
    CMFCScintilla m_editor;
};
