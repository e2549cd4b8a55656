// textdoc.cpp - CDoodleDoc: loading, saving, titles and backups of a text
// document.
#include "textdoc.h"

#include "apphelpers.h"
#include "editorframe.h"
#include "encoding.h"
#include "filehead.h"
#include "filedialogs.h"
#include "lexerconfig.h"
#include "scintillawrap.h"
#include "scitext.h"
#include "textframe.h"
#include "textview.h"

#include <resource.h>

#include <algorithm>
#include <climits>

namespace {

CTextOpenOptions g_pendingOptions;

BOOL DefaultSaveAsPrompt(CDoodleDoc* pDoc, CDoodleDoc::SaveAsChoice& choice);
CDoodleDoc::SaveAsPrompt g_pfnSaveAsPrompt = &DefaultSaveAsPrompt;

const char kReadOnlyMark[] = "[Read Only]";
const char kWriteFailedFormat[] = "The document could not be written to \"%s\".\nThe file was not changed.";
const char kReadFailedFormat[] = "The file \"%s\" could not be read.";
const char kConvertFailedMessage[] = "The text could not be converted to the chosen encoding.";
const char kChangedOnDiskFormat[] =
    "\"%s\" was changed by another program since it was opened or last saved.\n\n"
    "Overwrite the file and lose those changes?";
const char kLossyMessage[] =
    "Some characters of the text cannot be written in the chosen encoding and will be replaced by \"?\".\n"
    "Save anyway?";

CString LoadStringOr(UINT nID, LPCSTR lpszDefault)
{
    CString str;
    if (!str.LoadString(nID) || str.IsEmpty())
        str = lpszDefault;
    return str;
}

// The file dialog in save mode: folder and name of the current path, the
// document's own encoding and line ending preselected.
BOOL DefaultSaveAsPrompt(CDoodleDoc* pDoc, CDoodleDoc::SaveAsChoice& choice)
{
    CString strPath = pDoc->GetPathName();
    CPathParts parts(strPath);
    CString strFolder = strPath.IsEmpty() ? CString() : parts.GetFolder();
    CString strName = strPath.IsEmpty() ? CString() : parts.GetFileName();
    if (strName.IsEmpty())
        strName = CDoodleDoc::PlainTitle(pDoc->GetTitle());

    CFileDialogEx dlg(FALSE, strName, AfxGetMainWnd(), strFolder);
    dlg.SetEncoding(pDoc->GetEncoding() <= ENC_ANSI ? pDoc->GetEncoding() : ENC_ANSI);
    dlg.SetLineEnding(pDoc->GetEOLMode());
    if (dlg.DoModal() != IDOK)
        return FALSE;
    choice.strPath = dlg.GetPathName();
    choice.nEncoding = dlg.GetEncoding();
    choice.nEOLMode = dlg.GetLineEnding();
    choice.strDefExt = dlg.GetDefaultExtension();
    return TRUE;
}

} // namespace

int FileMarkLength(LPCSTR lpszPath, int nEncoding)
{
    BYTE head[3] = {0, 0, 0};
    DWORD nRead = 0;
    HANDLE hFile = ::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return 0;
    if (!::ReadFile(hFile, head, sizeof(head), &nRead, NULL))
        nRead = 0;
    ::CloseHandle(hFile);
    if (nEncoding == ENC_UTF8)
        return nRead >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF ? 3 : 0;
    if (nEncoding == ENC_UTF16LE)
        return nRead >= 2 && head[0] == 0xFF && head[1] == 0xFE ? 2 : 0;
    if (nEncoding == ENC_UTF16BE)
        return nRead >= 2 && head[0] == 0xFE && head[1] == 0xFF ? 2 : 0;
    return 0;
}

int DetectEOLMode(const char* pText, size_t nLength, int nDefault)
{
    for (size_t i = 0; i < nLength; i++) {
        if (pText[i] == '\n')
            return EOL_LF;
        if (pText[i] == '\r')
            return (i + 1 < nLength && pText[i + 1] == '\n') ? EOL_CRLF : EOL_CR;
    }
    return nDefault;
}

IMPLEMENT_DYNCREATE(CDoodleDoc, CDocument)

BEGIN_MESSAGE_MAP(CDoodleDoc, CDocument)
    ON_COMMAND(ID_FILE_SEND_MAIL, OnFileSendMail)
    ON_UPDATE_COMMAND_UI(ID_FILE_SEND_MAIL, OnUpdateFileSendMail)
    ON_COMMAND(ID_FILE_DOCUMENT_HISTORY, OnViewDocumentHistory)
    ON_UPDATE_COMMAND_UI(ID_FILE_DOCUMENT_HISTORY, OnUpdateViewDocumentHistory)
END_MESSAGE_MAP()

CDoodleDoc::CDoodleDoc()
    : m_backups(&m_backupSettings), m_nEOLMode(EOL_CRLF), m_nEncoding(ENC_DETECT), m_nMarkLength(0),
      m_pComponentDoc(0), m_bReadOnly(FALSE)
{
    RefreshBackupSettings();
}

CDoodleDoc::~CDoodleDoc() = default;

void CDoodleDoc::SetOpenOptions(const CTextOpenOptions& options)
{
    g_pendingOptions = options;
}

CTextOpenOptions CDoodleDoc::GetPendingOpenOptions()
{
    return g_pendingOptions;
}

CDoodleDoc::SaveAsPrompt CDoodleDoc::SetSaveAsPrompt(SaveAsPrompt pfn)
{
    SaveAsPrompt pfnOld = g_pfnSaveAsPrompt;
    g_pfnSaveAsPrompt = pfn != NULL ? pfn : &DefaultSaveAsPrompt;
    return pfnOld;
}

void CDoodleDoc::SetEncoding(int nEncoding, int nMarkLength)
{
    m_nEncoding = nEncoding;
    m_nMarkLength = nMarkLength;
}

void CDoodleDoc::SetEOLMode(int nMode)
{
    m_nEOLMode = nMode;
    if (CMFCScintilla* pEditor = GetEditor())
        pEditor->SetEOLMode(nMode);
}

CDoodleView* CDoodleDoc::GetTextView() const
{
    POSITION pos = GetFirstViewPosition();
    while (pos != NULL) {
        CView* pView = GetNextView(pos);
        if (CDoodleView* pText = dynamic_cast<CDoodleView*>(pView))
            return pText;
    }
    return NULL;
}

CMFCScintilla* CDoodleDoc::GetEditor() const
{
    CDoodleView* pView = GetTextView();
    if (pView == NULL || pView->GetEditor().GetSafeHwnd() == NULL)
        return NULL;
    return &pView->GetEditor();
}

CScintillaFrame* CDoodleDoc::GetTextFrame() const
{
    CDoodleView* pView = GetTextView();
    if (pView == NULL || pView->GetSafeHwnd() == NULL)
        return NULL;
    return dynamic_cast<CScintillaFrame*>(pView->GetParentFrame());
}

int CDoodleDoc::ShareComponentDocument(CMFCScintilla& editor)
{
    if (m_pComponentDoc != 0) {
        editor.SetDocPointer(m_pComponentDoc);
        return 1;
    }
    m_pComponentDoc = editor.GetDocPointer();
    return 0;
}

void CDoodleDoc::ReleaseComponentDocument(CMFCScintilla& editor)
{
    // The component document lives as long as one editing window holds it;
    // once the last one goes the pointer must not be handed out again.
    POSITION pos = GetFirstViewPosition();
    while (pos != NULL) {
        CDoodleView* pView = dynamic_cast<CDoodleView*>(GetNextView(pos));
        if (pView != NULL && &pView->GetEditor() != &editor && pView->GetEditor().GetSafeHwnd() != NULL)
            return;
    }
    m_pComponentDoc = 0;
}

void CDoodleDoc::GotoLineColumn(int nLine, int nColumn)
{
    CMFCScintilla* pEditor = GetEditor();
    if (pEditor == NULL)
        return;
    pEditor->GotoPos(pEditor->FindColumn(nLine - 1, nColumn));
    pEditor->ScrollCaret();
    pEditor->SetFocus();
}

void CDoodleDoc::GotoLinePosition(int nLine, int nPosition)
{
    CMFCScintilla* pEditor = GetEditor();
    if (pEditor == NULL)
        return;
    int nLines = (int)pEditor->Call(SCI_GETLINECOUNT);
    if (nLine < 1)
        nLine = 1;
    if (nLine > nLines)
        nLine = nLines;
    sptr_t nStart = pEditor->Call(SCI_POSITIONFROMLINE, (uptr_t)(nLine - 1));
    sptr_t nEnd = pEditor->Call(SCI_GETLINEENDPOSITION, (uptr_t)(nLine - 1));
    sptr_t nPos = nPosition > 0 ? pEditor->Call(SCI_POSITIONRELATIVECODEUNITS, (uptr_t)nStart, nPosition) : nStart;
    if (nPos <= 0 && nPosition > 0)
        nPos = nEnd; // past the end of the text
    if (nPos > nEnd)
        nPos = nEnd;
    pEditor->GotoPos(nPos);
    pEditor->ScrollCaret();
    pEditor->SetFocus();
}

void CDoodleDoc::ApplyLanguageForExtension(LPCSTR lpszExt)
{
    CDoodleView* pView = GetTextView();
    if (pView == NULL)
        return;
    IEditorFrame* pFrame = GetEditorFrame();
    CLexerConfigList* pList = pFrame != NULL ? pFrame->GetLexerConfigs() : NULL;
    int nIndex = 0;
    CLexerConfig config = CLexerConfigList::MakeFallback();
    if (pList != NULL && pList->GetCount() > 0) {
        nIndex = pList->FindIndexForExtension(lpszExt != NULL ? lpszExt : "");
        config = pList->GetAt(nIndex);
    }
    if (CScintillaFrame* pTextFrame = GetTextFrame())
        pTextFrame->SetViewAsIndex(nIndex);
    pView->ApplyLanguage(config);
}

void CDoodleDoc::RefreshBackupSettings()
{
    IEditorFrame* pFrame = GetEditorFrame();
    CEditorSettings* pSettings = pFrame != NULL ? pFrame->GetEditorSettings() : NULL;
    if (pSettings == NULL) {
        // No main frame: no backups.
        m_backupSettings.enabled = 0;
        return;
    }
    m_backupSettings.enabled = pSettings->nBackupEnabled;
    m_backupSettings.versions = pSettings->nBackupVersions;
    m_backupSettings.deleteOnExit = pSettings->nDeleteBackupsOnExit;
    m_backupSettings.folder = pSettings->strBackupFolder;
    if (m_backupSettings.folder.IsEmpty())
        m_backupSettings.folder = CBackupSettings::DefaultFolder();
}

void CDoodleDoc::PruneBackups()
{
    RefreshBackupSettings();
    m_backups.Prune();
}

void CDoodleDoc::ResetBackups()
{
    RefreshBackupSettings();
    m_backups.Reset();
}

// ---------------------------------------------------------------------------
// Titles.

void CDoodleDoc::SetModifiedFlag(BOOL bModified)
{
    CDocument::SetModifiedFlag(bModified);
    RebuildTitle();
}

CString CDoodleDoc::PlainTitle(LPCSTR lpszTitle)
{
    CString strTitle = lpszTitle != NULL ? lpszTitle : "";
    int nMark = strTitle.Find(CString(" ") + kReadOnlyMark);
    if (nMark >= 0)
        strTitle = strTitle.Left(nMark);
    strTitle.TrimRight('*');
    return strTitle;
}

BOOL CDoodleDoc::SaveModified()
{
    // The question names the document as the user knows it ("Untitled1"),
    // not with the title's modified mark. The mark comes back afterwards
    // when the document is still there and still modified.
    CString strTitle = m_strTitle;
    m_strTitle = PlainTitle(strTitle);
    BOOL bResult = CDocument::SaveModified();
    if (m_strTitle == PlainTitle(strTitle))
        m_strTitle = strTitle;
    RebuildTitle();
    return bResult;
}

void CDoodleDoc::RebuildTitle()
{
    CString strTitle = GetTitle();
    if (m_bReadOnly) {
        if (strTitle.Find(kReadOnlyMark) < 0) {
            strTitle.TrimRight('*');
            strTitle += " ";
            strTitle += kReadOnlyMark;
        }
    } else {
        int nMark = strTitle.Find(CString(" ") + kReadOnlyMark);
        if (nMark >= 0)
            strTitle = strTitle.Left(nMark);
        if (!strTitle.IsEmpty() && strTitle[strTitle.GetLength() - 1] == '*')
            strTitle = strTitle.Left(strTitle.GetLength() - 1);
        if (IsModified())
            strTitle += "*";
    }
    if (strTitle != GetTitle())
        SetTitle(strTitle);
}

// ---------------------------------------------------------------------------
// New and open.

BOOL CDoodleDoc::OnNewDocument()
{
    // Options set for an open that made a new document instead are spent.
    g_pendingOptions = CTextOpenOptions();
    if (CMFCScintilla* pEditor = GetEditor()) {
        pEditor->SetSavePoint();
        pEditor->EmptyUndoBuffer();
        m_nEOLMode = pEditor->GetEOLMode();
    }
    ApplyLanguageForExtension("");
    return CDocument::OnNewDocument();
}

BOOL CDoodleDoc::OnOpenDocument(LPCSTR lpszPathName)
{
    // The options belong to this open only.
    CTextOpenOptions options = g_pendingOptions;
    g_pendingOptions = CTextOpenOptions();

    int nEncoding = options.nEncoding;
    int nMark = options.nMarkLength;
    if (nEncoding == ENC_DETECT) {
        FileHeadDetector detector;
        if (!detector.ReadFile(lpszPathName)) {
            CString strMsg;
            strMsg.Format(kReadFailedFormat, lpszPathName);
            AfxMessageBox(strMsg, MB_ICONEXCLAMATION);
            return FALSE;
        }
        detector.GetResult(nEncoding, nMark);
    } else if (nEncoding == ENC_UTF8 || IsUtf16Encoding(nEncoding)) {
        // A chosen encoding skips only a mark the file really has: the
        // first bytes of a file without one are text.
        nMark = FileMarkLength(lpszPathName, nEncoding);
    }
    NormalizeLoadEncoding(nEncoding, nMark);
    m_nEncoding = nEncoding;
    m_nMarkLength = nMark;

    DeleteContents();
    if (!LoadFile(lpszPathName, options.bReadOnly))
        return FALSE;
    SetModifiedFlag(FALSE);
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->AddWorkspaceFile(lpszPathName, 0, m_nEncoding);
    return TRUE;
}

void CDoodleDoc::Serialize(CArchive& ar)
{
    // Saving goes through DoSave; a loading archive names the file to load.
    if (!ar.IsLoading() || ar.GetFile() == NULL)
        return;
    if (!LoadFile(ar.GetFile()->GetFilePath(), FALSE))
        AfxThrowFileException(CFileException::genericException, (LONG)::GetLastError(),
                              ar.GetFile()->GetFilePath());
}

BOOL CDoodleDoc::LoadFile(LPCSTR lpszPathName, BOOL bForceReadOnly)
{
    CMFCScintilla* pEditor = GetEditor();
    if (pEditor == NULL)
        return FALSE;
    CString strPath = lpszPathName;

    CString strMsg;
    strMsg.Format(kReadFailedFormat, (LPCSTR)strPath);
    if (!m_file.Open(strPath)) {
        AfxMessageBox(strMsg, MB_ICONEXCLAMATION);
        return FALSE;
    }
    m_bReadOnly = bForceReadOnly || m_file.IsReadOnly();

    CWaitCursor wait;
    pEditor->SetReadOnly(FALSE);
    pEditor->Allocate((Sci_Position)m_file.GetSize() + 1000);
    pEditor->BeginUndoAction();
    pEditor->ClearAll();
    // A loaded text is not undone: recording it would keep a second full
    // copy of the file in the undo history until the history is emptied.
    pEditor->EmptyUndoBuffer();
    pEditor->Call(SCI_SETUNDOCOLLECTION, 0);
    struct UndoCollectionBack {
        CMFCScintilla* pEditor;
        ~UndoCollectionBack() { pEditor->Call(SCI_SETUNDOCOLLECTION, 1); }
    } undoBack{pEditor};
    // The component holds UTF-8: ANSI text is decoded from the system's
    // legacy code page on the way in.
    CScintillaText sink(pEditor->GetDirectFunction(), pEditor->GetDirectPointer());
    sink.ExpectLines(m_file.EstimateLineFeeds());
    // The status bar's progress: the file's size as range, the bytes read as
    // position; off when the reading ends, however it ends. The control
    // counts in ints, so a file past their range counts in larger units.
    IEditorFrame* pMain = GetEditorFrame();
    const ULONGLONG nSize = m_file.GetSize64();
    int nShift = 0;
    while ((nSize >> nShift) > (ULONGLONG)INT_MAX)
        ++nShift;
    const int nRange = (int)(nSize >> nShift);
    if (pMain != NULL)
        pMain->SetProgress(TRUE, 0, nRange);
    auto progress = [&](ULONGLONG nRead) {
        if (pMain != NULL)
            pMain->SetProgress(TRUE, (int)std::min<ULONGLONG>(nRead >> nShift, (ULONGLONG)nRange), nRange);
    };
    CAnsiDecodingSink ansiSink(sink);
    const bool bAnsi = m_nEncoding == ENC_ANSI;
    TextIoResult result =
        ReadAllText(m_file, m_nEncoding, m_nMarkLength, bAnsi ? (ITextSink&)ansiSink : sink, progress);
    if (bAnsi && (result == TEXTIO_OK || result == TEXTIO_LOSSY) && !ansiSink.Finish())
        result = TEXTIO_SINK_FAILED;
    m_file.Close();
    if (pMain != NULL)
        pMain->SetProgress(FALSE, 0, 0);
    if (result != TEXTIO_OK && result != TEXTIO_LOSSY) {
        // Nothing half-read stays behind: the document is not opened, so no
        // later save can write the partial text over the file.
        pEditor->ClearAll();
        pEditor->EndUndoAction();
        pEditor->EmptyUndoBuffer();
        pEditor->SetSavePoint();
        m_bReadOnly = FALSE;
        AfxMessageBox(strMsg, MB_ICONEXCLAMATION);
        return FALSE;
    }

    // The line-ending mode of the file's first line break.
    Sci_Position nLength = pEditor->GetLength();
    const char* pText = (const char*)pEditor->Call(SCI_GETCHARACTERPOINTER);
    m_nEOLMode = DetectEOLMode(pText, pText != NULL ? (size_t)nLength : 0, pEditor->GetEOLMode());
    pEditor->SetEOLMode(m_nEOLMode);

    pEditor->SetReadOnly(m_bReadOnly);
    pEditor->EndUndoAction();
    pEditor->EmptyUndoBuffer();
    pEditor->SetSavePoint();

    ApplyLanguageForExtension(CPathParts(strPath).GetExtension());
    IEditorFrame* pFrame = GetEditorFrame();
    CViewSettings* pSettings = pFrame != NULL ? pFrame->GetSettings() : NULL;
    if (pSettings != NULL && pSettings->nLineNumbers)
        pEditor->SetLineNumberMargin(1, CMFCScintilla::LINENUMBER_MARGIN);
    // The caret at the start, the view on the first line. Placed without
    // scrolling to it: that would lay out the caret's line now, before the
    // text is coloured, and the first paint, which colours it, would lay it
    // out again (a line of many megabytes takes seconds each time).
    pEditor->Call(SCI_SETEMPTYSELECTION, 0);
    pEditor->Call(SCI_SETFIRSTVISIBLELINE, 0);
    pEditor->Call(SCI_SETXOFFSET, 0);

    m_diskStamp = FileStamp::Of(strPath);
    RefreshBackupSettings();
    m_backups.Open(strPath);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Saving.

CString CDoodleDoc::MakeSavePath(LPCSTR lpszChosen, LPCSTR lpszDefExt)
{
    CString strPath = lpszChosen;
    CString strExt = lpszDefExt != NULL ? lpszDefExt : "";
    if (!strExt.IsEmpty() && strExt != "*" && strPath.Find('.') < 0) {
        CString strFull;
        strFull.Format("%s.%s", (LPCSTR)strPath, (LPCSTR)strExt);
        return strFull;
    }
    return strPath;
}

BOOL CDoodleDoc::SaveFile(LPCSTR lpszPathName, BOOL bWriteMark)
{
    CMFCScintilla* pEditor = GetEditor();
    if (pEditor == NULL)
        return FALSE;
    CScintillaText source(pEditor->GetDirectFunction(), pEditor->GetDirectPointer());
    return WriteText(lpszPathName, bWriteMark, source);
}

BOOL CDoodleDoc::WriteText(LPCSTR lpszPathName, BOOL bWriteMark, ITextSource& source)
{
    int nEncoding = m_nEncoding == ENC_DETECT ? ENC_ANSI : m_nEncoding;
    TextIoResult result = SaveText(m_file, lpszPathName, nEncoding, bWriteMark, source);
    if (result == TEXTIO_OK)
        return TRUE;
    if (result == TEXTIO_OPEN_FAILED) {
        AfxMessageBox(LoadStringOr(IDS_SAVE_CREATE_FAILED,
                                   "Failed to create a new file when saving the current document"),
                      MB_ICONEXCLAMATION);
    } else {
        CString strMsg;
        strMsg.Format(kWriteFailedFormat, lpszPathName);
        AfxMessageBox(strMsg, MB_ICONEXCLAMATION);
    }
    return FALSE;
}

BOOL CDoodleDoc::TextForAnsiFile(CMemoryText& converted, BOOL* pbLossy)
{
    CMFCScintilla* pEditor = GetEditor();
    if (pEditor == NULL)
        return FALSE;
    CScintillaText current(pEditor->GetDirectFunction(), pEditor->GetDirectPointer());
    std::string text((size_t)current.GetLength() + 1, '\0');
    current.GetTextRange(0, current.GetLength(), &text[0]);
    text.resize((size_t)current.GetLength());
    std::string out;
    BOOL bLossy = FALSE;
    if (!ConvertTextCodePage(text, FALSE, TRUE, out, &bLossy)) {
        AfxMessageBox(kConvertFailedMessage, MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (bLossy && AfxMessageBox(kLossyMessage, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return FALSE;
    converted.SetText(out);
    if (pbLossy != NULL)
        *pbLossy = bLossy;
    return TRUE;
}

BOOL CDoodleDoc::DoSave(LPCSTR lpszPathName, BOOL /*bReplace*/)
{
    CMFCScintilla* pEditor = GetEditor();
    if (pEditor == NULL)
        return FALSE;

    CString strPath = lpszPathName != NULL ? lpszPathName : "";
    int nEncoding = m_nEncoding;
    int nEOLMode = m_nEOLMode;
    BOOL bNewName = FALSE;
    if (strPath.IsEmpty()) {
        SaveAsChoice choice;
        choice.nEncoding = m_nEncoding;
        choice.nEOLMode = m_nEOLMode;
        if (!g_pfnSaveAsPrompt(this, choice))
            return FALSE;
        strPath = MakeSavePath(choice.strPath, choice.strDefExt);
        nEncoding = choice.nEncoding;
        nEOLMode = choice.nEOLMode;
        bNewName = TRUE;
    }
    if (nEncoding == ENC_DETECT)
        nEncoding = ENC_ANSI;
    if (!bNewName && !ConfirmOverwrite(strPath))
        return FALSE;

    // A mark is written when the file had one, and always for a file saved
    // under a new name (a UTF-16 file cannot be read back without one).
    BOOL bWriteMark = bNewName || m_strPathName.IsEmpty() || m_nMarkLength > 0;

    // A different line ending chosen for the file converts the text; a save
    // that does not happen takes the conversion back.
    BOOL bConvertedEOLs = FALSE;
    if (nEOLMode != m_nEOLMode && bNewName) {
        BOOL bWasReadOnly = pEditor->GetReadOnly();
        pEditor->SetReadOnly(FALSE);
        pEditor->BeginUndoAction();
        pEditor->Call(SCI_CONVERTEOLS, (uptr_t)nEOLMode);
        pEditor->EndUndoAction();
        pEditor->SetReadOnly(bWasReadOnly);
        bConvertedEOLs = TRUE;
    }
    pEditor->SetEOLMode(nEOLMode);
    auto restore = [&]() {
        pEditor->SetEOLMode(m_nEOLMode);
        if (bConvertedEOLs) {
            BOOL bWasReadOnly = pEditor->GetReadOnly();
            pEditor->SetReadOnly(FALSE);
            pEditor->Undo();
            pEditor->SetReadOnly(bWasReadOnly);
        }
    };

    // The component holds UTF-8: an ANSI file gets the text in the system's
    // legacy code page. Characters that page cannot hold become "?" only
    // after the user agreed.
    BOOL bFileIsAnsi = nEncoding == ENC_ANSI;
    BOOL bLossy = FALSE;
    CMemoryText converted;
    if (bFileIsAnsi && !TextForAnsiFile(converted, &bLossy)) {
        restore();
        return FALSE;
    }

    // The file as it is on disk is copied before it is replaced. A copy
    // that fails is reported once the save is over, and only when the save
    // itself went through: a refused save has its own message, and the file
    // it left alone needs no copy.
    RefreshBackupSettings();
    BOOL bBackedUp = TRUE;
    if (!bNewName && m_backups.IsEnabled())
        bBackedUp = m_backups.BackupFile(strPath, FALSE);

    int nOldEncoding = m_nEncoding;
    m_nEncoding = nEncoding;
    BOOL bSaved = bFileIsAnsi ? WriteText(strPath, bWriteMark, converted) : SaveFile(strPath, bWriteMark);
    if (!bSaved) {
        m_nEncoding = nOldEncoding;
        // The document keeps its state: modified, same name.
        restore();
        return FALSE;
    }
    if (!bBackedUp)
        AfxMessageBox(g_szBackupFailedMessage, MB_ICONEXCLAMATION);
    if (bNewName || !m_backups.IsEnabled())
        m_backups.Open(strPath);
    if (bLossy) {
        // The editor shows what the file now holds: the "?" replacements.
        std::string shown;
        if (ConvertTextCodePage(converted.GetText(), TRUE, FALSE, shown)) {
            Sci_Position nLine = pEditor->GetCurrentLine();
            BOOL bWasReadOnly = pEditor->GetReadOnly();
            pEditor->SetReadOnly(FALSE);
            pEditor->Call(SCI_SETTEXT, 0, (sptr_t)shown.c_str());
            pEditor->EmptyUndoBuffer();
            pEditor->SetReadOnly(bWasReadOnly);
            pEditor->GotoLine(nLine, TRUE);
        }
    }
    m_nEOLMode = nEOLMode;
    if (bNewName || m_nMarkLength == 0) {
        if (bWriteMark)
            m_nMarkLength = nEncoding == ENC_UTF8 ? 3 : (IsUtf16Encoding(nEncoding) ? 2 : 0);
    }

    if (bNewName) {
        CString strOldExt = CPathParts(m_strPathName).GetExtension();
        CString strNewExt = CPathParts(strPath).GetExtension();
        if (IEditorFrame* pFrame = GetEditorFrame())
            pFrame->AddWorkspaceFile(strPath, 0, ENC_DETECT);
        SetPathName(strPath);
        if (strOldExt.CompareNoCase(strNewExt) != 0 || m_strPathName.IsEmpty())
            ApplyLanguageForExtension(strNewExt);
        pEditor->SetReadOnly(FALSE);
        m_bReadOnly = FALSE;
    }
    m_diskStamp = FileStamp::Of(strPath);
    pEditor->SetSavePoint();
    IEditorFrame* pFrame = GetEditorFrame();
    CEditorSettings* pEdit = pFrame != NULL ? pFrame->GetEditorSettings() : NULL;
    if (pEdit != NULL && pEdit->nResetUndoOnSave)
        pEditor->EmptyUndoBuffer();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDoodleDoc::ConfirmOverwrite(LPCSTR lpszPath)
{
    // Only the file this document read or wrote last has a stamp to hold
    // against the disk.
    if (m_strPathName.IsEmpty() || m_strPathName.CompareNoCase(lpszPath) != 0)
        return TRUE;
    if (!FileStamp::Of(lpszPath).Differs(m_diskStamp))
        return TRUE;
    CString strMsg;
    strMsg.Format(kChangedOnDiskFormat, lpszPath);
    return AfxMessageBox(strMsg, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
}

BOOL CDoodleDoc::OnSaveDocument(LPCSTR lpszPathName)
{
    CMFCScintilla* pEditor = GetEditor();
    if (pEditor == NULL || lpszPathName == NULL || *lpszPathName == '\0')
        return FALSE;
    // The mark as a save to the document's own file would write it.
    const BOOL bWriteMark = m_strPathName.IsEmpty() || m_nMarkLength > 0;
    if (m_nEncoding == ENC_ANSI) {
        CMemoryText converted;
        return TextForAnsiFile(converted, NULL) && WriteText(lpszPathName, bWriteMark, converted);
    }
    if (m_nEncoding != ENC_DETECT)
        return SaveFile(lpszPathName, bWriteMark);
    // Never saved, so no encoding chosen yet: the text as the editor holds
    // it, UTF-8, with no mark.
    const int nOldEncoding = m_nEncoding;
    m_nEncoding = ENC_UTF8;
    BOOL bSaved = SaveFile(lpszPathName, FALSE);
    m_nEncoding = nOldEncoding;
    return bSaved;
}

void CDoodleDoc::OnCloseDocument()
{
    RefreshBackupSettings();
    m_backups.DeleteOnClose();
    CDocument::OnCloseDocument();
}

// ---------------------------------------------------------------------------
// Document history.

void CDoodleDoc::OnUpdateViewDocumentHistory(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_backups.IsEnabled() && m_backups.GetCount() > 0);
}

void CDoodleDoc::OnViewDocumentHistory()
{
    CBackupHistoryDlg dlg(this, AfxGetMainWnd());
    if (dlg.DoModal() != IDOK || dlg.GetFirst() == dlg.GetSecond())
        return;
    CString strFirst = CBackupHistoryDlg::GetVersionPath(m_backups, dlg.GetFirst());
    CString strSecond = CBackupHistoryDlg::GetVersionPath(m_backups, dlg.GetSecond());
    if (strFirst.IsEmpty() || strSecond.IsEmpty())
        return;
    if (::GetFileAttributesA(strFirst) == INVALID_FILE_ATTRIBUTES ||
        ::GetFileAttributesA(strSecond) == INVALID_FILE_ATTRIBUTES)
        return;
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->CompareFiles(strFirst, strSecond);
}
