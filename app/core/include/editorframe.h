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
class CFrameWnd;

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
    char* pszFontFace;          // 32-byte buffer owned by the main frame
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

enum { kFontFaceBufferSize = 32 };

// The frame's other settings (print, backup, output, edit and general).
struct CEditorSettings {
    int nPrintHeader;
    int nPrintFooter;
    int nMetric;                // 1 when the user's locale measures in metric units
    int nPrintLineNumbers;
    RECT rcMargins;             // hundredths of mm when metric, else thousandths of an inch
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
    // Shows a text in status-bar pane nPane (1: position, 2: insert mode).
    virtual void SetStatusText(int nPane, LPCSTR lpszText) = 0;
    // The open modeless Hex Find dialog (null: none); the dialog records itself.
    virtual CWnd* GetHexFindDialog() = 0;
    virtual void SetHexFindDialog(CWnd* pDialog) = 0;
    // Searches the active document for the Hex Find dialog (shows its own messages).
    virtual void FindNextInActiveDocument(LPCSTR lpszText, BOOL bSearchUp, BOOL bMatchCase, BOOL bAscii) = 0;
    // The text of the toolbar's find box.
    virtual CString GetToolbarFindText() = 0;
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
};

// The application's main window as an IEditorFrame, or null when there is
// none (or it is not an editor frame).
inline IEditorFrame* GetEditorFrame()
{
    CWnd* pMain = AfxGetMainWnd();
    return pMain ? dynamic_cast<IEditorFrame*>(pMain) : nullptr;
}
