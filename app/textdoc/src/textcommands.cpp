// textcommands.cpp - CDoodleView's commands: editing and selection, lines,
// case, indentation, comments, tabs and trailing blanks, bookmarks, View As, HTML Tidy, the XML check and macros. Most are one
// call of the editing window; the message map is in textview.cpp.
#include "textview.h"

#include "apphelpers.h"
#include "lexerconfig.h"
#include "macrodlg.h"
#include "macros.h"
#include "textdoc.h"
#include "textframe.h"
#include "tidyrun.h"
#include "spellcheckdlg.h"
#include "viewasdlg.h"

#include <resource.h>

#include <vector>

namespace {

// The language list of the main frame (null without a frame).
CLexerConfigList* FrameLanguages()
{
    IEditorFrame* pFrame = GetEditorFrame();
    return pFrame != NULL ? pFrame->GetLexerConfigs() : NULL;
}

// Runs a replacement with the given search flags and gives the flags that
// were set before back afterwards (Find Next and the dialogs rely on them).
class CSearchFlagsScope {
public:
    CSearchFlagsScope(CMFCScintilla& editor, int nFlags) : m_editor(editor), m_nSaved(editor.GetSearchFlags())
    {
        m_editor.SetSearchFlags(nFlags);
    }
    ~CSearchFlagsScope() { m_editor.SetSearchFlags(m_nSaved); }

private:
    CMFCScintilla& m_editor;
    int m_nSaved;
};

} // namespace

// ---------------------------------------------------------------------------
// Editing and selection.

void CDoodleView::OnEditUndo() { m_editor.Undo(); }
void CDoodleView::OnEditRedo() { m_editor.Redo(); }
void CDoodleView::OnEditCut() { m_editor.Cut(); }
void CDoodleView::OnEditCopy() { m_editor.Copy(); }
void CDoodleView::OnEditPaste() { m_editor.Paste(); }
void CDoodleView::OnEditSelectAll() { m_editor.SelectAll(); }

void CDoodleView::OnEditCutAppend()
{
    if (!m_editor.HasSelection())
        return;
    // The selection goes only when it reached the clipboard.
    if (m_editor.CopyAppend())
        m_editor.Call(SCI_REPLACESEL, 0, (sptr_t) "");
}

void CDoodleView::OnEditCopyAppend()
{
    m_editor.CopyAppend();
}

void CDoodleView::OnEditSelectWord() { m_editor.SelectWord(m_editor.GetCurrentPos()); }
void CDoodleView::OnEditSelectLine() { m_editor.SelectLine(m_editor.GetCurrentLine()); }
void CDoodleView::OnEditInsertDate() { m_editor.InsertDate(); }
void CDoodleView::OnEditInsertTime() { m_editor.InsertTime(); }

void CDoodleView::OnEditInsertFileName()
{
    // The name as the user knows it, without the modified or read-only marks
    // the title carries.
    if (CDoodleDoc* pDoc = GetDocument())
        m_editor.InsertTemplateText(CDoodleDoc::PlainTitle(pDoc->GetTitle()));
}

void CDoodleView::OnUpdateEditUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_editor.CanUndo()); }
void CDoodleView::OnUpdateEditRedo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_editor.CanRedo()); }
void CDoodleView::OnUpdateEditPaste(CCmdUI* pCmdUI) { pCmdUI->Enable(m_editor.CanPaste()); }
void CDoodleView::OnUpdateNeedsSelection(CCmdUI* pCmdUI) { pCmdUI->Enable(m_editor.HasSelection()); }
void CDoodleView::OnUpdateTextCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

// ---------------------------------------------------------------------------
// Lines, case, indentation, comments, tabs and trailing blanks.

void CDoodleView::OnEditCutLine() { m_editor.LineCut(); }
void CDoodleView::OnEditCopyLine() { m_editor.LineCopy(); }
void CDoodleView::OnEditDeleteWord() { m_editor.DeleteWord(); }
void CDoodleView::OnEditDeleteToEndOfLine() { m_editor.DelLineRight(); }
void CDoodleView::OnEditDeleteLine() { m_editor.LineDelete(); }
void CDoodleView::OnEditSwapLines() { m_editor.LineTranspose(); }
void CDoodleView::OnEditUpperCase() { m_editor.UpperCase(); }
void CDoodleView::OnEditLowerCase() { m_editor.LowerCase(); }
void CDoodleView::OnEditIndentRight() { m_editor.IndentRight(); }
void CDoodleView::OnEditIndentLeft() { m_editor.IndentLeft(); }
void CDoodleView::OnEditComment() { m_editor.CommentLines(GetLineCommentMarker()); }
void CDoodleView::OnEditUncomment() { m_editor.UncommentLines(GetLineCommentMarker()); }
void CDoodleView::OnEditTabsToSpaces() { ConvertTabs(TRUE); }
void CDoodleView::OnEditSpacesToTabs() { ConvertTabs(FALSE); }
void CDoodleView::OnEditTrimTrailing() { TrimTrailingSpaces(); }

CString CDoodleView::GetLineCommentMarker() const
{
    CLexerConfigList* pList = FrameLanguages();
    const CScintillaFrame* pTextFrame = dynamic_cast<const CScintillaFrame*>(GetParentFrame());
    int nIndex = pTextFrame != NULL ? pTextFrame->GetViewAsIndex() : 0;
    // GetAt gives the fallback record past the end of the list.
    return pList != NULL ? pList->GetAt(nIndex).GetLineComment() : CLexerConfigList::MakeFallback().GetLineComment();
}

int CDoodleView::ConvertTabs(BOOL bToSpaces)
{
    CViewSettings s = GetViewSettings();
    const int nWidth = s.nTabWidth > 0 ? s.nTabWidth : 4;
    const CString strSpaces(' ', nWidth);
    const Sci_Position nLine = m_editor.GetCurrentLine();
    int nCount;
    {
        // Plain text: the whole-word or regular-expression flags of the last
        // search would miss tabs and blanks that stand next to letters.
        CSearchFlagsScope flags(m_editor, 0);
        nCount = bToSpaces ? m_editor.ReplaceAllMatches("\t", strSpaces, FALSE, FALSE)
                           : m_editor.ReplaceAllMatches(strSpaces, "\t", FALSE, FALSE);
    }
    m_editor.GotoLine(nLine, TRUE);
    return nCount < 0 ? 0 : nCount;
}

int CDoodleView::TrimTrailingSpaces()
{
    const Sci_Position nLine = m_editor.GetCurrentLine();
    int nCount;
    {
        CSearchFlagsScope flags(m_editor, SCFIND_REGEXP);
        nCount = m_editor.ReplaceAllMatches("[ \t]+$", "", FALSE, TRUE);
    }
    m_editor.GotoLine(nLine, TRUE);
    return nCount < 0 ? 0 : nCount;
}

// ---------------------------------------------------------------------------
// Bookmarks.

void CDoodleView::OnBookmarkToggle() { m_editor.ToggleBookmark(-1); }
void CDoodleView::OnBookmarkNext() { m_editor.GotoBookmark(TRUE, FALSE); }
void CDoodleView::OnBookmarkPrevious() { m_editor.GotoBookmark(FALSE, FALSE); }
void CDoodleView::OnBookmarkClear() { m_editor.MarkerDeleteAll(); }

// ---------------------------------------------------------------------------
// View As.

void CDoodleView::OnViewAs(UINT nID)
{
    SetLanguage((int)(nID - ID_VIEW_AS_FIRST));
}

void CDoodleView::OnUpdateViewAs(CCmdUI* pCmdUI)
{
    CLexerConfigList* pList = FrameLanguages();
    const int nCount = pList != NULL ? pList->GetCount() : 0;
    const int nIndex = (int)(pCmdUI->m_nID - ID_VIEW_AS_FIRST);
    if (nCount == 0) {
        pCmdUI->SetText("Coloring Not Available");
        pCmdUI->Enable(FALSE);
        return;
    }
    CScintillaFrame* pTextFrame = dynamic_cast<CScintillaFrame*>(GetParentFrame());
    pCmdUI->Enable(nIndex < nCount);
    pCmdUI->SetCheck(pTextFrame != NULL && pTextFrame->GetViewAsIndex() == nIndex);
}

void CDoodleView::OnViewAsMore()
{
    CScintillaFrame* pTextFrame = dynamic_cast<CScintillaFrame*>(GetParentFrame());
    CViewAsManagerDialog dlg(this);
    dlg.SetSelection(pTextFrame != NULL ? pTextFrame->GetViewAsIndex() : 0);
    if (dlg.DoModal() != IDOK)
        return;
    CLexerConfigList* pList = FrameLanguages();
    const int nIndex = dlg.GetSelection();
    if (pList == NULL || nIndex < 0 || nIndex >= pList->GetCount())
        return;
    SetLanguage(nIndex);
}

// ---------------------------------------------------------------------------
// HTML Tidy and the XML check.

std::string CDoodleView::GetWholeText() const
{
    const Sci_Position nLength = m_editor.GetLength();
    std::string text((size_t)nLength + 1, '\0');
    m_editor.GetText(nLength + 1, &text[0]);
    text.resize((size_t)nLength);
    return text;
}

BOOL CDoodleView::RunTidy(int nCommand)
{
    const std::string text = GetWholeText();
    CTidyResult result = RunTidyCommand(nCommand, text, GetTidyOptionFilePath(nCommand), m_editor.GetEOLMode());
    BOOL bReplaced = FALSE;
    if (result.replaced) {
        if (m_editor.GetReadOnly()) {
            result.report += "The document is read-only: it was left as it was.\n";
        } else if (result.output != text) {
            m_editor.ReplaceAllText(result.output.c_str());
            bReplaced = TRUE;
        }
    }
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->ShowToolOutput(result.report.c_str());
    return bReplaced;
}

CString CDoodleView::CheckXml()
{
    CString report = CheckXmlWellFormed(GetWholeText());
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->ShowToolOutput(report);
    return report;
}

void CDoodleView::OnTidyHtml() { RunTidy(TIDY_HTML_CLEAN); }
void CDoodleView::OnTidyXhtml() { RunTidy(TIDY_XHTML_CLEAN); }
void CDoodleView::OnTidyXml() { RunTidy(TIDY_XML_PRETTY); }
void CDoodleView::OnXmlCheck() { CheckXml(); }

// ---------------------------------------------------------------------------
// Spelling: the selection, or the whole text, word by word in the Spell
// Checker dialog; the selection and caret come back afterwards.

void CDoodleView::OnSpelling()
{
    Sci_Position nAnchor = m_editor.Call(SCI_GETANCHOR);
    Sci_Position nCaret = m_editor.GetCurrentPos();
    if (m_editor.GetLength() > 0) {
        CEditorSettings* pSettings = GetEditorFrame() != NULL ? GetEditorFrame()->GetEditorSettings() : NULL;
        CSpellCheckDialog dlg(this);
        dlg.SetEditor(&m_editor);
        if (!dlg.InitSpeller(pSettings != NULL ? (LPCSTR)pSettings->strDictionaryPath : "",
                             pSettings != NULL ? (LPCSTR)pSettings->strDictionary : "")) {
            AfxMessageBox("Failed to initialize the dictionary.  Check that the dictionary path is correct in settings",
                          MB_ICONEXCLAMATION);
        } else if (dlg.NextMisspelling(FALSE)) {
            dlg.DoModal();
        }
        // The dialog selected the words it showed; the user's selection
        // comes back with its anchor and caret as they were (a selection
        // made backwards stays backwards).
        m_editor.SetSel(nAnchor, nCaret);
    }
    AfxMessageBox("The spelling check is complete", MB_ICONINFORMATION);
}

// ---------------------------------------------------------------------------
// Macros.

void CDoodleView::OnMacroRecord()
{
    if (m_bRecording)
        return;
    CNewMacroDialog dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    StartMacroRecording(dlg.GetMacroName());
}

void CDoodleView::OnMacroStop()
{
    if (!m_bRecording)
        return;
    StopMacroRecording();
    m_macro.SaveMacro(GetMacroFilePath(), NULL);
}

void CDoodleView::OnMacroPlay()
{
    if (m_bRecording)
        return;
    CMacroDialog dlg(this);
    dlg.SetMacroFilePath(GetMacroFilePath());
    if (dlg.DoModal() != IDOK || dlg.GetSelectedName().IsEmpty())
        return;
    CMacroStore macro;
    if (macro.LoadMacro(dlg.GetSelectedName(), GetMacroFilePath()))
        PlayMacro(macro);
}

void CDoodleView::PlayMacro(const CMacroStore& macro)
{
    for (const CMacroStep& step : macro.GetSteps()) {
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        step.GetPlayArguments(wParam, lParam);
        m_editor.Send((UINT)step.msg, (uptr_t)wParam, (sptr_t)lParam);
    }
}

void CDoodleView::OnUpdateMacroRecord(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bRecording); }
void CDoodleView::OnUpdateMacroStop(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bRecording); }
