// textdoc.h - CDoodleDoc, the document of a text file.
//
// The text itself lives in the editing component behind the first view's
// CMFCScintilla; every further view of the document shares that component
// document. The document owns what belongs to the file: its encoding, mark
// and line-ending mode, the read-only state, its backup store, the file
// record used for reading and writing, and the title decorations.
//
// Opening: the open routine hands the options of one open (encoding, mark
// length, read-only) to SetOpenOptions just before it opens the file. They
// are used by that open only; an open without options (recent files, the
// command line, the framework's own open) detects the encoding from the
// file head. A file that cannot be read is reported and gives no document.
//
// Saving never writes into the file it replaces: the text goes to a
// temporary file in the same folder, which replaces the file only when
// every byte was written. A failed save is reported, returns FALSE and
// leaves the document modified. Saving over a file that another program
// changed since the document read or wrote it (size or last-write time)
// asks first; No cancels the save.
#pragma once

#include <fx/fx.h>

#include <stdint.h>
#include <string>

#include "backup.h"
#include "backuphistorydlg.h"
#include "textfile.h"

class CMFCScintilla;
class CDoodleView;
class CScintillaFrame;

// The choices of one open.
struct CTextOpenOptions {
    int nEncoding;   // encoding code; 4 = detect from the file head
    int nMarkLength; // bytes of byte-order mark to skip when reading
    BOOL bReadOnly;  // open read-only whatever the file's attribute
    CTextOpenOptions() : nEncoding(4), nMarkLength(0), bReadOnly(FALSE) {}
    CTextOpenOptions(int enc, int mark, BOOL ro) : nEncoding(enc), nMarkLength(mark), bReadOnly(ro) {}
};

class CDoodleDoc : public CDocument, public IBackupHistorySource {
    DECLARE_DYNCREATE(CDoodleDoc)
public:
    CDoodleDoc();
    ~CDoodleDoc() override;

    // The options of the next open (used once, then back to "detect").
    static void SetOpenOptions(const CTextOpenOptions& options);
    static CTextOpenOptions GetPendingOpenOptions();

    // --- file state ----------------------------------------------------------
    int GetEncoding() const { return m_nEncoding; }
    int GetMarkLength() const { return m_nMarkLength; }
    int GetEOLMode() const { return m_nEOLMode; }
    BOOL IsReadOnly() const { return m_bReadOnly; }
    void SetEncoding(int nEncoding, int nMarkLength);
    void SetEOLMode(int nMode);

    // The first view (the one whose editing window holds the text) and its
    // editing window; NULL while the document has no text view.
    CDoodleView* GetTextView() const;
    CMFCScintilla* GetEditor() const;
    CScintillaFrame* GetTextFrame() const;

    // Called by each new view right after its editing window exists: the
    // first view's component document is stored, every later view is
    // switched to it. 1 when the view was switched, 0 when it is the first.
    int ShareComponentDocument(CMFCScintilla& editor);
    // Drops the stored component document when the view holding the last
    // reference goes (called by the view's destruction).
    void ReleaseComponentDocument(CMFCScintilla& editor);

    // Moves the caret of the first view to a 1-based line and a column and
    // gives it the focus.
    void GotoLineColumn(int nLine, int nColumn);
    // Moves the caret of the first view to a 1-based line and a position in
    // it counted in UTF-16 units (as the find-in-files engine reports it;
    // past the line's end: its end) and gives it the focus.
    void GotoLinePosition(int nLine, int nPosition);
    // Chooses the language for a file extension (".cpp"), stores its index
    // in the frame and applies it to the first view.
    void ApplyLanguageForExtension(LPCSTR lpszExt);

    // Backup options changed.
    void PruneBackups();
    void ResetBackups();
    const CBackupStore& GetBackupStore() const override { return m_backups; }

    // --- loading and saving ------------------------------------------------
    // Loads a file into the first view's editing window with the document's
    // encoding and mark length. FALSE (after a message) when it cannot be
    // read; the editor is then left empty.
    BOOL LoadFile(LPCSTR lpszPathName, BOOL bForceReadOnly);
    // Writes the text to lpszPathName in the document's encoding and
    // line-ending mode. FALSE (after a message) when the file could not be
    // written; the file on disk is then as it was.
    BOOL SaveFile(LPCSTR lpszPathName, BOOL bWriteMark);
    // The same for a text from elsewhere (a converted copy).
    BOOL WriteText(LPCSTR lpszPathName, BOOL bWriteMark, ITextSource& source);
    // The editor's text (UTF-8) in the system's legacy code page, for an
    // ANSI file. FALSE (after a message) when it cannot be converted, or when
    // characters that page lacks would become "?" and the user does not
    // agree; *pbLossy tells whether some did.
    BOOL TextForAnsiFile(CMemoryText& converted, BOOL* pbLossy);

    // The file dialog of Save As; tests and the main frame may replace it.
    // Returns FALSE when cancelled; otherwise fills the path, encoding and
    // line ending and the default extension of the chosen filter.
    struct SaveAsChoice {
        CString strPath;
        int nEncoding;
        int nEOLMode;
        CString strDefExt;
    };
    typedef BOOL (*SaveAsPrompt)(CDoodleDoc* pDoc, SaveAsChoice& choice);
    static SaveAsPrompt SetSaveAsPrompt(SaveAsPrompt pfn);
    // The name a Save As path gets: the default extension appended when the
    // path holds no "." at all and the extension is not "*".
    static CString MakeSavePath(LPCSTR lpszChosen, LPCSTR lpszDefExt);

    // A title without its decorations: the modified mark "*" and
    // " [Read Only]".
    static CString PlainTitle(LPCSTR lpszTitle);

    // --- framework overrides -------------------------------------------------
    void Serialize(CArchive& ar) override;
    BOOL SaveModified() override;
    void SetModifiedFlag(BOOL bModified = TRUE) override;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    void OnCloseDocument() override;
    BOOL DoSave(LPCSTR lpszPathName, BOOL bReplace = TRUE) override;
    // Writes a copy of the text to a file as a save would write it (the
    // document's encoding, its mark, its line breaks); the document keeps
    // its path, name, modified state and backups. The framework's mail
    // command attaches such a copy.
    BOOL OnSaveDocument(LPCSTR lpszPathName) override;

    afx_msg void OnViewDocumentHistory();
    afx_msg void OnUpdateViewDocumentHistory(CCmdUI* pCmdUI);

protected:
    // The backup settings from the main frame's record.
    void RefreshBackupSettings();
    void RebuildTitle();
    // Saving over the file this document last read or wrote: when another
    // program changed it since, asks (Yes / No) whether to overwrite it.
    // FALSE: the user said No, nothing is saved.
    BOOL ConfirmOverwrite(LPCSTR lpszPath);

    DECLARE_MESSAGE_MAP()

    CBackupSettings m_backupSettings;
    CBackupStore m_backups;
    TextFile m_file;
    int m_nEOLMode;
    int m_nEncoding;
    int m_nMarkLength;
    intptr_t m_pComponentDoc; // the component document of the first view
    BOOL m_bReadOnly;
    FileStamp m_diskStamp; // the file as this document last read or wrote it
};

// The length of the byte-order mark of an encoding that a file starts
// with (0 when it has none or cannot be read).
int FileMarkLength(LPCSTR lpszPath, int nEncoding);

// The line-ending mode a text uses: that of its first line break (CRLF,
// CR or LF), or nDefault when it has none.
int DetectEOLMode(const char* pText, size_t nLength, int nDefault);
