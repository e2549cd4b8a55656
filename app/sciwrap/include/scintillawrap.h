// scintillawrap.h - CMFCScintilla, the editor's window over one Scintilla
// editing component.
//
// The component is "scilexer.dll" (Scintilla 5 with Lexilla), loaded by the
// program at start-up; loading it registers the window class "Scintilla".
// A view creates the wrapper as a child window of that class:
//
//     m_editor.Create(CMFCScintilla::kWindowClass, "Editor", WS_CHILD | WS_VISIBLE, rect, this, 32785);
//     m_editor.SetDefaultLook();
//
// On creation the wrapper fetches the component's direct function and
// pointer and from then on sends every request through them. Calls made on
// another thread than the window's (the output of a tool run by the
// redirector base, for example) are handed to the window's thread with
// SendMessage instead: the component is not thread-safe.
//
// Positions and lines are Sci_Position (pointer-sized), as the component
// uses them; results are never narrowed to 32 bits.
//
// The component's WM_COMMAND notifications (SCEN_CHANGE, SCEN_SETFOCUS,
// SCEN_KILLFOCUS) carry the window's control id with a non-zero code; the
// framework routes them only to ON_CONTROL-style entries, never to an
// ON_COMMAND handler of the same id (32785 is also Delete Line).
//
// Messages of the old component build that Scintilla 5 does not have are
// mapped here (also when they come through Send):
//   4006 SCI_SETLEXERLANGUAGE (lexer by name) -> Lexilla's CreateLexer and
//        SCI_SETILEXER;
//   10001 margin background (margin, COLORREF) -> SCI_SETMARGINBACKN, with a
//        marker margin turned into a colour margin (SC_MARGIN_COLOUR) so the
//        colour shows, or the fold-margin colours for a margin that shows
//        fold markers;
//   2900 (one integer view setting) -> remembered only; the component has no
//        use for it;
//   SCI_SETSTYLEBITS / SCI_GETSTYLEBITSNEEDED -> nothing (styles have 8 bits).
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <Scintilla.h>

#include <map>
#include <string>

#include "redirector.h"
#include "ruler.h"

class CLexerConfig;

// Sent by the editing window to the main window before it shows its context
// menu itself: wParam the menu resource id, lParam the screen point (x low,
// y high, signed). A nonzero answer means the main window showed the menu
// (the user's edited copy of it).
#define WM_EDITOR_CONTEXTMENU (WM_APP + 0x171)

// The view settings that applying a language reads (the matching fields of
// the main frame's settings record). Interim: once the settings record
// (CViewSettings) is in the tree, ApplyLexerSettings takes it directly.
struct CLexerApplyOptions {
    COLORREF braceBadColour; // "BraceBadColour"
    COLORREF braceColour;    // "BraceHighlight"
    int tabAsSpaces;         // "TabAsSpaces": insert spaces for a tab
    int tabGuides;           // "TabGuides": indentation guides
    int tabWidth;            // "TabWidth"
    CLexerApplyOptions() : braceBadColour(0x0000FF), braceColour(0x0000FF), tabAsSpaces(1), tabGuides(0), tabWidth(4) {}
};

// The ruler of an editing window: offsets in pixels straight from the
// component (horizontal: its x offset; vertical: first visible line times
// the line height) rather than from the scroll bars' scaled positions.
class CScintillaRulerHook : public CRulerHook {
protected:
    int ScrollOffset(int nBar) override;
};

class CMFCScintilla : public CWnd, public CProcessRedirector {
    DECLARE_DYNAMIC(CMFCScintilla)
public:
    CMFCScintilla();
    ~CMFCScintilla() override;

    static const char* const kWindowClass; // "Scintilla"
    enum {
        BOOKMARK_MARKER = 1,
        BOOKMARK_MASK = 1 << BOOKMARK_MARKER,
        EMPTY_MARKER = 15,
        BOOKMARK_MARGIN = 0,
        LINENUMBER_MARGIN = 2,
        FOLD_MARGIN = 4,
        IDR_EDITOR_CONTEXT = 141, // context menu resource
        IDS_NO_OTHER_BOOKMARK = 10502,
        FIND_SEED_MAX = 100,     // longer selections are cut to FIND_SEED_MAX - 1 characters
        COMMENT_LINE_MAX = 1000, // longer lines are not (un)commented
        MSG_SETTING_2900 = 2900,
        MSG_MARGIN_BACK = 10001,
        MSG_SETLEXERLANGUAGE = 4006
    };

    // --- direct access ---------------------------------------------------
    // One message to the component (0 before creation).
    sptr_t Call(UINT nMsg, uptr_t wParam = 0, sptr_t lParam = 0) const;
    // Any message, with the old build's own messages mapped (see above).
    sptr_t Send(UINT nMsg, uptr_t wParam, sptr_t lParam);
    SciFnDirect GetDirectFunction() const { return m_pfnDirect; }
    sptr_t GetDirectPointer() const { return m_ptrDirect; }

    // Starts a console program whose output goes into this window at the
    // caret (see CProcessRedirector).
    BOOL RunCommand(LPCSTR lpszCmdLine);

    // --- the ruler -------------------------------------------------------
    CRulerHook& GetRuler() { return m_ruler; }
    // Both rulers on or off; the frame is recalculated and redrawn.
    void ShowRuler(BOOL bShow) { m_ruler.ShowRulers(bShow, bShow); }
    // Makes the rulers follow the text's scroll position (for SCN_UPDATEUI
    // with scrolling, and the view's scroll relays).
    void UpdateRuler() { m_ruler.SyncScrollOffsets(); }

    // --- forwarding ------------------------------------------------------
    void Undo() { Call(SCI_UNDO); }
    void Redo() { Call(SCI_REDO); }
    void Cut() { Call(SCI_CUT); }
    void Copy() { Call(SCI_COPY); }
    void Paste() { Call(SCI_PASTE); }
    void SelectAll() { Call(SCI_SELECTALL); }
    BOOL CanUndo() const { return Call(SCI_CANUNDO) != 0; }
    BOOL CanRedo() const { return Call(SCI_CANREDO) != 0; }
    BOOL CanPaste() const { return Call(SCI_CANPASTE) != 0; }
    BOOL HasSelection() const { return GetSelectionEnd() != GetSelectionStart(); }
    Sci_Position GetSelectionLength() const { return GetSelectionEnd() - GetSelectionStart(); }
    void LineCut() { Call(SCI_LINECUT); }
    void LineCopy() { Call(SCI_LINECOPY); }
    void LineDelete() { Call(SCI_LINEDELETE); }
    void LineTranspose() { Call(SCI_LINETRANSPOSE); }
    void DelLineRight() { Call(SCI_DELLINERIGHT); }
    void UpperCase() { Call(SCI_UPPERCASE); }
    void LowerCase() { Call(SCI_LOWERCASE); }
    void BackTab() { Call(SCI_BACKTAB); }
    void SetReadOnly(BOOL bReadOnly) { Call(SCI_SETREADONLY, bReadOnly ? 1 : 0); }
    BOOL GetReadOnly() const { return Call(SCI_GETREADONLY) != 0; }
    // nLength 0: the text's string length.
    void AddText(LPCSTR lpszText, Sci_Position nLength = 0);
    // Replaces the whole document.
    void ReplaceAllText(LPCSTR lpszText);
    // Nothing when the selection is empty.
    void ReplaceSelectedText(LPCSTR lpszText);
    void GotoLine(Sci_Position nLine, BOOL bEnsureVisible = FALSE);
    void GotoPos(Sci_Position nPos) { Call(SCI_GOTOPOS, (uptr_t)nPos); }
    Sci_Position FindColumn(Sci_Position nLine, Sci_Position nColumn) const
    {
        return Call(SCI_FINDCOLUMN, (uptr_t)nLine, nColumn);
    }
    void ScrollCaret() { Call(SCI_SCROLLCARET); }
    Sci_Position GetLineCount() const { return Call(SCI_GETLINECOUNT); }
    void MarkerDeleteAll() { Call(SCI_MARKERDELETEALL, BOOKMARK_MARKER); }
    void SetTargetStart(Sci_Position nPos) { Call(SCI_SETTARGETSTART, (uptr_t)nPos); }
    void SetTargetEnd(Sci_Position nPos) { Call(SCI_SETTARGETEND, (uptr_t)nPos); }
    Sci_Position GetTargetStart() const { return Call(SCI_GETTARGETSTART); }
    Sci_Position GetTargetEnd() const { return Call(SCI_GETTARGETEND); }
    void SetSearchFlags(int nFlags) { Call(SCI_SETSEARCHFLAGS, (uptr_t)nFlags); }
    int GetSearchFlags() const { return (int)Call(SCI_GETSEARCHFLAGS); }
    // Searches the target; the match position or -1 (the target becomes the match).
    Sci_Position SearchInTarget(LPCSTR lpszText, Sci_Position nLength);
    Sci_Position SearchRange(LPCSTR lpszText, Sci_Position nLength, Sci_Position nStart, Sci_Position nEnd);
    // SearchRange for a pattern the user typed (the search and replace
    // commands below use it). A regular expression is first tried on the
    // range's long lines under a step budget (CRegexGuard): when it would run
    // away on one of them, the result is -1 and SearchWasTooComplex() is TRUE
    // until the next of these searches.
    Sci_Position SearchRangeBounded(LPCSTR lpszText, Sci_Position nLength, Sci_Position nStart, Sci_Position nEnd);
    BOOL SearchWasTooComplex() const { return m_bSearchTooComplex; }
    // The message for a search that was given up: "pattern too complex".
    static const char* const kPatternTooComplex;
    // Printing: a NULL range ends the print job's caching.
    Sci_Position FormatRange(BOOL bDraw, Sci_RangeToFormatFull* pRange)
    {
        return Call(SCI_FORMATRANGEFULL, bDraw ? 1 : 0, (sptr_t)pRange);
    }
    void SetViewWhitespace(int nMode) { Call(SCI_SETVIEWWS, (uptr_t)nMode); }
    void SetViewEOL(BOOL bVisible) { Call(SCI_SETVIEWEOL, bVisible ? 1 : 0); }
    void SetWrapMode(int nMode) { Call(SCI_SETWRAPMODE, (uptr_t)nMode); }
    void SetWrapVisualFlags(int nFlags) { Call(SCI_SETWRAPVISUALFLAGS, (uptr_t)nFlags); }
    void SetWrapVisualFlagsLocation(int nLocation) { Call(SCI_SETWRAPVISUALFLAGSLOCATION, (uptr_t)nLocation); }
    void SetCaretLine(BOOL bVisible, COLORREF clrBack, int nAlpha);
    // Face and size on the default and line-number styles; bold and italic
    // on the default style. A face that is not installed gives way to an
    // installed fixed-pitch one (FixedPitchFontFace), so code never turns
    // proportional.
    void SetFont(LPCSTR lpszFace, int nSize, BOOL bBold, BOOL bItalic);
    void SetUseTabs(BOOL bUseTabs) { Call(SCI_SETUSETABS, bUseTabs ? 1 : 0); }
    // Tab width and indent size together.
    void SetTabWidth(int nWidth);
    void SetIndentationGuides(int nMode) { Call(SCI_SETINDENTATIONGUIDES, (uptr_t)nMode); }
    int GetFoldLevel(Sci_Position nLine) const { return (int)Call(SCI_GETFOLDLEVEL, (uptr_t)nLine); }
    Sci_Position GetLastChild(Sci_Position nLine, int nLevel) const { return Call(SCI_GETLASTCHILD, (uptr_t)nLine, nLevel); }
    Sci_Position GetFoldParent(Sci_Position nLine) const { return Call(SCI_GETFOLDPARENT, (uptr_t)nLine); }
    void ShowLines(Sci_Position nFrom, Sci_Position nTo) { Call(SCI_SHOWLINES, (uptr_t)nFrom, nTo); }
    void HideLines(Sci_Position nFrom, Sci_Position nTo) { Call(SCI_HIDELINES, (uptr_t)nFrom, nTo); }
    BOOL GetLineVisible(Sci_Position nLine) const { return Call(SCI_GETLINEVISIBLE, (uptr_t)nLine) != 0; }
    void SetFoldExpanded(Sci_Position nLine, BOOL bExpanded) { Call(SCI_SETFOLDEXPANDED, (uptr_t)nLine, bExpanded ? 1 : 0); }
    BOOL GetFoldExpanded(Sci_Position nLine) const { return Call(SCI_GETFOLDEXPANDED, (uptr_t)nLine) != 0; }
    // Toggles the fold of a header line; TRUE when it is expanded afterwards.
    BOOL ToggleFold(Sci_Position nLine);
    sptr_t GetDocPointer() const { return Call(SCI_GETDOCPOINTER); }
    void SetDocPointer(sptr_t pDoc) { Call(SCI_SETDOCPOINTER, 0, pDoc); }
    Sci_Position GetCurrentPos() const { return Call(SCI_GETCURRENTPOS); }
    Sci_Position GetLength() const { return Call(SCI_GETLENGTH); }
    // The byte at nPos (-1: at the target end); 0 outside the text.
    char GetCharAt(Sci_Position nPos = -1) const;
    // The column of nPos (-1: of the caret).
    Sci_Position GetColumn(Sci_Position nPos = -1) const;
    Sci_Position GetCurrentLine() const { return LineFromPosition(GetCurrentPos()); }
    Sci_Position PositionAfter(Sci_Position nPos) const { return Call(SCI_POSITIONAFTER, (uptr_t)nPos); }
    Sci_Position PositionBefore(Sci_Position nPos) const { return Call(SCI_POSITIONBEFORE, (uptr_t)nPos); }
    Sci_Position LineFromPosition(Sci_Position nPos) const { return Call(SCI_LINEFROMPOSITION, (uptr_t)nPos); }
    Sci_Position PositionFromLine(Sci_Position nLine) const { return Call(SCI_POSITIONFROMLINE, (uptr_t)nLine); }
    Sci_Position GetLineEndPosition(Sci_Position nLine) const { return Call(SCI_GETLINEENDPOSITION, (uptr_t)nLine); }
    Sci_Position GetSelectionStart() const { return Call(SCI_GETSELECTIONSTART); }
    Sci_Position GetSelectionEnd() const { return Call(SCI_GETSELECTIONEND); }
    // Anchor at nStart, caret at nEnd.
    void SetSel(Sci_Position nStart, Sci_Position nEnd) { Call(SCI_SETSEL, (uptr_t)nStart, nEnd); }
    void SetCurrentPos(Sci_Position nPos) { Call(SCI_SETCURRENTPOS, (uptr_t)nPos); }
    Sci_Position GetAnchor() const { return Call(SCI_GETANCHOR); }
    void SetAnchor(Sci_Position nPos) { Call(SCI_SETANCHOR, (uptr_t)nPos); }
    int GetLineIndentation(Sci_Position nLine) const { return (int)Call(SCI_GETLINEINDENTATION, (uptr_t)nLine); }
    void SetLineIndentation(Sci_Position nLine, int nIndent) { Call(SCI_SETLINEINDENTATION, (uptr_t)nLine, nIndent); }
    // Text of [nStart, nEnd) into pBuffer, which holds nEnd - nStart + 1 bytes.
    Sci_Position GetTextRange(Sci_Position nStart, Sci_Position nEnd, char* pBuffer) const;
    // Up to nLength - 1 bytes of text and a terminating zero.
    Sci_Position GetText(Sci_Position nLength, char* pBuffer) const { return Call(SCI_GETTEXT, (uptr_t)nLength, (sptr_t)pBuffer); }
    void BeginUndoAction() { Call(SCI_BEGINUNDOACTION); }
    void EndUndoAction() { Call(SCI_ENDUNDOACTION); }
    int GetEOLMode() const { return (int)Call(SCI_GETEOLMODE); }
    void SetEOLMode(int nMode) { Call(SCI_SETEOLMODE, (uptr_t)nMode); }
    void ClearAll() { Call(SCI_CLEARALL); }
    void Allocate(Sci_Position nBytes) { Call(SCI_ALLOCATE, (uptr_t)nBytes); }
    void SetCodePage(int nCodePage) { Call(SCI_SETCODEPAGE, (uptr_t)nCodePage); }
    int GetCodePage() const { return (int)Call(SCI_GETCODEPAGE); }
    void EmptyUndoBuffer() { Call(SCI_EMPTYUNDOBUFFER); }
    void SetSavePoint() { Call(SCI_SETSAVEPOINT); }
    int GetStyleAt(Sci_Position nPos) const { return (int)Call(SCI_GETSTYLEAT, (uptr_t)nPos); }
    // The style at nPos, colouring the text up to there first when it has
    // not been coloured yet (a long text is coloured as it is shown).
    int StyledAt(Sci_Position nPos) const
    {
        if (Call(SCI_GETENDSTYLED) <= nPos)
            Call(SCI_COLOURISE, (uptr_t)Call(SCI_GETENDSTYLED), (sptr_t)(nPos + 1));
        return GetStyleAt(nPos);
    }
    int GetLexer() const { return (int)Call(SCI_GETLEXER); }
    Sci_Position BraceMatch(Sci_Position nPos) const { return Call(SCI_BRACEMATCH, (uptr_t)nPos); }
    Sci_Position LinesOnScreen() const { return Call(SCI_LINESONSCREEN); }
    Sci_Position GetFirstVisibleLine() const { return Call(SCI_GETFIRSTVISIBLELINE); }
    Sci_Position VisibleFromDocLine(Sci_Position nLine) const { return Call(SCI_VISIBLEFROMDOCLINE, (uptr_t)nLine); }
    void StartRecord() { Call(SCI_STARTRECORD); }
    void StopRecord() { Call(SCI_STOPRECORD); }
    // The 2900 view setting (see above).
    void SendSetting2900(int nSetting) { m_nSetting2900 = nSetting; }
    int GetSetting2900() const { return m_nSetting2900; }
    // Block select: Shift with the caret keys (arrows, Home, End, Page Up,
    // Page Down) selects a rectangle instead of a stream of text; off gives
    // the keys their ordinary extend commands back. Alt+Shift and Alt with
    // the mouse select rectangles either way.
    void SetBlockSelect(BOOL bOn);

    // --- look -------------------------------------------------------------
    // Markers, code page, margins, selection colours and the event mask.
    void SetDefaultLook();
    // Line-number margin nMargin shown (bShow == 1, sized for the line count)
    // or hidden; the margin after it is its 1-pixel separator.
    void SetLineNumberMargin(int bShow, int nMargin);
    // Fold markers; bFolding turns folding in margin 4 on.
    void SetFoldProperties(BOOL bFolding);
    // Background of a margin (the old build's message 10001).
    void SetMarginBackColour(int nMargin, COLORREF clr);
    // A lexer property (SCI_SETPROPERTY) that is kept: it is set again on
    // every lexer chosen later.
    void SetLexerProperty(LPCSTR lpszKey, LPCSTR lpszValue);
    // Lexer by Lexilla name; FALSE (and no lexer) for an unknown name.
    BOOL SetLexerLanguage(LPCSTR lpszName);
    // One language's lexer, keywords and styles with the view's brace and
    // tab settings, then colours the text: all of a text up to
    // EAGER_COLOUR_BYTES, the start of a longer one (the component colours
    // the rest as it comes into view), and always the whole first line.
    enum {
        EAGER_COLOUR_BYTES = 1 << 20
    };
    void ApplyLexerSettings(const CLexerConfig& config, const CLexerApplyOptions& options);

    // --- editing ------------------------------------------------------------
    CString GetSelText() const;
    // Every "<%REPLACE%>" of the template becomes the selection; the result
    // replaces the selection, or goes in at the caret when nothing is selected.
    void InsertTemplateText(LPCSTR lpszTemplate);
    void InsertDate();
    void InsertTime();
    void SelectWord(Sci_Position nPos);
    void SelectLine(Sci_Position nLine);
    void DeleteWord();
    void IndentRight();
    // The same to the left: with nothing selected the caret line loses one
    // level of indentation wherever the caret is.
    void IndentLeft();
    void CommentLines(LPCSTR lpszMarker);
    void UncommentLines(LPCSTR lpszMarker);

    // --- bookmarks ------------------------------------------------------------
    // nLine -1: the caret line.
    void ToggleBookmark(Sci_Position nLine = -1);
    BOOL ToggleBookmarkAt(Sci_Position nPos);
    // Next (or previous) bookmark, wrapping around; message 10502 when there
    // is no other. bExtend keeps the anchor, selecting up to the bookmark.
    void GotoBookmark(BOOL bNext, BOOL bExtend);

    // --- clipboard and find seed ------------------------------------------------
    // Appends the selection to the text on the clipboard.
    BOOL CopyAppend();
    // The text a find dialog starts with (the selection, at most 99
    // characters when longer than 100); stores it as value
    // "LastSelectedValue" of section "FindReplace", or with bReadStored and
    // no selection returns the stored one.
    CString GetFindSeed(BOOL bReadStored);

    // --- search ---------------------------------------------------------------------
    // Next match from the selection (backward: before it) with the search
    // flags set before; bWrap searches the whole text again. Selects the
    // match and returns its position, or -1.
    Sci_Position FindText(LPCSTR lpszText, BOOL bBackward, BOOL bWrap);
    // Replaces every match in the document (or in the selected lines) and
    // returns the number of replacements (0 in a read-only document); -2
    // when bInSelection is asked with an empty selection. bRegex replaces
    // with \1..\9 groups. The parent gets one SCN_MODIFIED for all the
    // replacements, after the last.
    int ReplaceAllMatches(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bInSelection, BOOL bRegex);
    // Replaces the selection when it is exactly a match of lpszFind under
    // the search flags set before, and selects the replacement; its length,
    // or -1 when the selection is no match (nothing changes).
    Sci_Position ReplaceMatchingSelection(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bRegex);
    // Bookmarks every line on which a match of lpszText starts (lines
    // already marked stay marked); the number of matched lines. The
    // selection stays as it was.
    int BookmarkMatches(LPCSTR lpszText);

    // --- braces and indentation ---------------------------------------------------
    // The brace at the caret (before it, or after it with bAllowAfter) and
    // its match (-1 when unmatched). FALSE with both -1 when there is none.
    // For Python a ":" opening a block matches the end of the block.
    BOOL FindBraces(Sci_Position& nBrace, Sci_Position& nMatch, BOOL bAllowAfter);
    void HighlightBraces();
    // After a character was typed: "}" takes the indentation of its opening
    // line; a line break indents the new line like the one above (one level
    // more after an unclosed "{" when bSmart).
    void AutoIndent(int ch, BOOL bSmart);

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    void OnOutput(LPCSTR lpszOutput) override;

    DECLARE_MESSAGE_MAP()

private:
    struct BraceInfo {
        Sci_Position brace;
        Sci_Position match;
        BOOL pythonBlock;
    };
    BraceInfo LocateBraces(BOOL bAllowAfter);
    void ChangeLineComments(LPCSTR lpszMarker, BOOL bComment);
    Sci_Position ReplaceTarget(LPCSTR lpszText, BOOL bRegex);
    // One SCN_MODIFIED to the parent for a batch of changes made while the
    // modification events were off: text inserted and deleted from nPos over
    // nLength bytes, nLinesAdded lines more (or fewer) than before.
    void NotifyBatchModified(Sci_Position nPos, Sci_Position nLength, Sci_Position nLinesAdded);
    HWND ContextMenuTarget() const;

    int m_nIndicator;
    CScintillaRulerHook m_ruler;
    SciFnDirect m_pfnDirect;
    sptr_t m_ptrDirect;
    DWORD m_dwWindowThread;
    int m_nSetting2900;
    volatile LONG m_bClosing;
    std::map<std::string, std::string> m_properties;
    BOOL m_bSearchTooComplex; // the last SearchRangeBounded gave up on its pattern
};
