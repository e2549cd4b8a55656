// The editor's settings record and the narrow face of the main frame that
// documents, views and child frames use.
//
// The main frame owns one CViewSettings and one CEditorSettings: it reads them
// from the profile when it is created and writes them back when it closes.
// Views, child frames and dialogs reach them through GetEditorFrame(), which
// finds the application's main window; tests supply their own frame that
// implements IEditorFrame.
#pragma once

#include <fx/fx.h>

class CLexerConfigList;
class CFindInFilesResults;
class CFrameWnd;
class CMFCScintilla;

// Values every text view applies (section "ViewSettings" of the profile).
// Field order is the stored order of the record; all integers are 32-bit.
struct CViewSettings {
    int nWordWrap;
    int nWhitespace;
    int nLineEndings;
    int nCaretLine;
    int nLineNumbers;
    int nItalic;
    int nBold;
    int nCodeFolding;
    char* pszFontFace; // 32-byte buffer owned by the main frame
    int nFontSize;
    int nTabGuides;
    int nTabsAsSpaces;
    int nTabWidth;
    int nMatchBracket;
    COLORREF clrBraceBad;
    COLORREF clrBrace;
    COLORREF clrCaretLine;
    int nCaretLineAlpha;
    int nBlockSelect;
    int nLargeIcons;
    int nTheme;
    int nRulers;
};

enum {
    kFontFaceBufferSize = 32
};

// The frame's other settings (print, backup, output, edit and general).
struct CEditorSettings {
    int nPrintHeader;
    int nPrintFooter;
    int nMetric; // 1 when the user's locale measures in metric units
    int nPrintLineNumbers;
    RECT rcMargins; // hundredths of mm when metric, else thousandths of an inch
    int nBackupEnabled;
    CString strBackupFolder;
    int nBackupVersions;
    int nDeleteBackupsOnExit;
    int nReuseOutputWindows;
    int nResetUndoOnSave;
    int nRememberOpenFiles;
    CString strDictionaryPath;
    CString strDictionary;
    int nTabsActive;
};

// Status-bar panes that documents write: the caret ("Ln %2d Col %2d", or
// "Pos: %d" in a hex view) and the typing mode ("INS", or "" for overtype).
enum {
    STATUS_PANE_POSITION = 1,
    STATUS_PANE_MODE = 2
};

// What documents, views and child frames need of the main frame.
class IEditorFrame {
public:
    virtual ~IEditorFrame() = default;
    virtual CViewSettings* GetSettings() = 0;
    virtual CEditorSettings* GetEditorSettings() = 0;
    // The syntax configurations loaded at start (may be empty, never null).
    virtual CLexerConfigList* GetLexerConfigs() = 0;
    // True while the frame closes with "remember open files" on and the user
    // agreed to close: child frames then store their document paths.
    virtual BOOL IsClosingForSession() const = 0;

    // --- added for the compare, hex and HTML-preview documents (app/docs) ---
    // Shows a text in status-bar pane nPane (STATUS_PANE_POSITION, STATUS_PANE_MODE).
    virtual void SetStatusText(int nPane, LPCSTR lpszText) = 0;
    // The open modeless Hex Find dialog (null: none); the dialog records itself.
    virtual CWnd* GetHexFindDialog() = 0;
    virtual void SetHexFindDialog(CWnd* pDialog) = 0;
    // The Hex Find dialog going away tells the frame to forget it.
    virtual void DetachHexFindDialog(CWnd* pDialog) = 0;
    // Searches the active document for the Hex Find dialog (shows its own messages).
    virtual void FindNextInActiveDocument(LPCSTR lpszText, BOOL bSearchUp, BOOL bMatchCase, BOOL bAscii) = 0;
    // The text of the toolbar's find box.
    virtual CString GetSearchText() = 0;
    // The progress control of the status bar: on, the first call sets the
    // range 0..nMax and every call the position nPos; off empties it.
    virtual void SetProgress(BOOL /*bOn*/, int /*nPos*/, int /*nMax*/) {}
    // The view window and child frame that last had the focus (null: forget).
    virtual void SetCurrentViewWnd(CWnd* pView) = 0;
    virtual void SetCurrentChildFrame(CFrameWnd* pFrame) = 0;
    // The list of open child frames: frames join it when created, leave it when destroyed.
    virtual void AddChildFrame(CFrameWnd* pFrame) = 0;
    virtual void RemoveChildFrame(CFrameWnd* pFrame) = 0;

    // --- added for the text document, view and frame (app/textdoc) ---
    // Opens a compare document of two existing files (document history).
    virtual void CompareFiles(LPCSTR lpszFirst, LPCSTR lpszSecond) = 0;
    // Another text frame got the focus (the function list scans again).
    virtual void OnTextDocumentActivated() = 0;
    // The text of a text view changed (the function list scans again).
    virtual void OnTextChanged() = 0;

    // --- added for find, replace, go to and navigation (app/dialogs, app/textdoc) ---
    // Searches run in the active text view with the given options; a miss is
    // reported in a message box. Test frames need none of them: the defaults
    // find nothing and show nothing.
    // TRUE when a match was selected; the text joins the find box's history.
    virtual BOOL FindInActiveDocument(LPCSTR /*lpszText*/, BOOL /*bMatchCase*/, BOOL /*bWholeWord*/,
                                      BOOL /*bRegex*/, BOOL /*bSearchUp*/, BOOL /*bWrap*/)
    {
        return FALSE;
    }
    // Bookmarks every line with a match; TRUE when there was one.
    virtual BOOL MarkAllInActiveDocument(LPCSTR /*lpszText*/, BOOL /*bMatchCase*/, BOOL /*bWholeWord*/,
                                         BOOL /*bRegex*/)
    {
        return FALSE;
    }
    // Replace (bReplaceAll 0: the matching selection, then the next match,
    // from nStart; -1 only finds) or Replace All; the new start or -1.
    virtual int ReplaceInActiveDocument(LPCSTR /*lpszFind*/, LPCSTR /*lpszReplace*/, BOOL /*bMatchCase*/,
                                        BOOL /*bWholeWord*/, BOOL /*bRegex*/, BOOL /*bSelection*/,
                                        BOOL /*bReplaceAll*/, int /*nStart*/)
    {
        return -1;
    }
    // The find box's own search (Enter, F3): text view, hex view, or "Find
    // has nothing to do".
    virtual void QuickFindInActiveDocument(LPCSTR /*lpszText*/) {}
    // The modeless Find and Replace dialogs: at most one of them is open.
    virtual void ShowFindDialog(CWnd* /*pTarget*/, LPCSTR /*lpszText*/) {}
    virtual void ShowReplaceDialog(CWnd* /*pTarget*/, LPCSTR /*lpszText*/) {}
    // A dialog going away tells the frame to forget it.
    virtual void DetachFindDialog(CWnd* /*pDialog*/) {}
    virtual void DetachReplaceDialog(CWnd* /*pDialog*/) {}
    // Adds a text to the toolbar find box's history.
    virtual void AddSearchHistory(LPCSTR /*lpszText*/) {}
    // The keyboard shortcuts of the frame (the dialogs and boxes copy their
    // keys from it); null when there are none.
    virtual HACCEL GetFrameAccelerators() { return NULL; }
    // Navigation history: a text view's caret place, and a view going away.
    virtual void AddNavigationPlace(HWND /*hView*/, INT_PTR /*nPos*/) {}
    virtual void RemoveNavigationView(HWND /*hView*/) {}

    // --- added for the text view's commands (app/textdoc) ---
    // Shows the tool window and replaces its text (the reports of the Tidy
    // runs and of the XML check).
    virtual void ShowToolOutput(LPCSTR /*lpszText*/) {}

    // --- added for find in files and the file tree (app/panes) ---
    // Shows the "Find In Files" pane (making it when it is missing) and
    // returns its results list; null when there is none.
    virtual CFindInFilesResults* ShowFindInFilesResults() { return NULL; }
    // The toolbar find box reads "SearchHistory" again (another box wrote it).
    virtual void ReloadSearchHistory() {}
    // Opens a file with plain options (detect format and encoding, not
    // read-only), or activates its window when it is open, and puts the
    // caret of its text view on a line (from 1) at a position (UTF-16 units
    // from the line's start, as the find-in-files engine counts). FALSE when
    // no text view shows the file.
    virtual BOOL OpenFileAt(LPCSTR /*lpszPath*/, int /*nLine*/, int /*nPosition*/) { return FALSE; }
    // Opens a file chosen in the file tree: detected format and encoding,
    // read-only when the file is (bHex 0), or in the hex view (bHex 1).
    virtual void OpenFileFromTree(LPCSTR /*lpszPath*/, BOOL /*bHex*/) {}

    // --- added for the solution bar (app/panes) ---
    // A document was opened or saved under a path: the workspace of the
    // Project Explorer gets an entry for it (nType 1: a binary file).
    virtual void AddWorkspaceFile(LPCSTR /*lpszPath*/, int /*nType*/, int /*nEncoding*/) {}
    // Opens a workspace entry with plain options (detect format and
    // encoding, not read-only), or activates its window when it is open.
    virtual void OpenWorkspaceEntry(LPCSTR /*lpszPath*/) {}
    // Activates the window of an open document; FALSE when none shows it.
    virtual BOOL ActivateFileWindow(LPCSTR /*lpszPath*/) { return FALSE; }
    // The editing window of the current text view (where templates and
    // list entries go); null when no text view is current.
    virtual CMFCScintilla* GetCurrentEditor() { return NULL; }
    // Makes a template of a text (Create template from Selection): the
    // template explorer's Create Template with the text filled in.
    virtual void CreateTemplateFromText(LPCSTR /*lpszText*/) {}
};

// The application's main window as an IEditorFrame, or null when there is
// none (or it is not an editor frame).
inline IEditorFrame* GetEditorFrame()
{
    CWnd* pMain = AfxGetMainWnd();
    return pMain ? dynamic_cast<IEditorFrame*>(pMain) : nullptr;
}
