// findinfiles.h - Find in Files: the dialog (140) that runs a search with the
// find-in-files engine (filescan.dll), the sink through which the engine
// reports, and the results list of the "Find In Files" pane.
//
// CFindInFilesDlg: modal and resizable. Idle (Find and Close enabled, Stop
// disabled) -> searching (from a started Find until the sink's OnFinished)
// -> idle. While searching the dialog cannot be closed in any way (Close,
// Esc, the caption's Close, Alt+F4): the engine it holds by value must
// outlive its worker. Should its window go all the same (its owner is
// destroyed), it stops the search and waits for the worker first.
//
// CFindInFilesSink: the engine calls it on its worker thread; it reaches the
// dialog and the list only through sent window messages, which the UI thread
// handles in the dialog's modal loop. A row that comes after a quiet while
// (50 ms) goes at once; rows that pour in go in batches of up to 200; all of
// them are handed over before it reports the end.
//
// CFindInFilesResults: a list box whose rows are plain lines (no record) or
// match rows "<path> (<line>): <text>" with a CFindInFilesRow record (task
// allocator). Rows never carry line ends. A double-click on a match row
// opens the file at the match through the main frame (IEditorFrame). While
// rows pour in, the list paints at most ten times a second.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>
#include <qx/resizedialog.h>

#include "FindInFiles.h"
#include "findbox.h"

#include <vector>

// The record of a match row: the whole path, however long it is.
struct CFindInFilesRow {
    int nPosition;  // UTF-16 units from the start of the line, from 0
    int nLine;      // from 1
    char szPath[1]; // UTF-8, NUL-terminated; the record is allocated to fit
};

// Row texts, free of windows.
namespace fif {
// A line of the engine as row text (the process code page, which is UTF-8):
// the line ends at its end are cut.
CString RowText(const wchar_t* pszText);
// The same for a text in the process code page.
CString CutLineEnd(LPCSTR lpszText);
// "%s (%d): %s" of path, line and text, at any length.
CString FormatMatchRow(LPCSTR lpszPath, int nLine, LPCSTR lpszText);
// A typed list of file types without any blank ("*.c; *.h" -> "*.c;*.h").
CString RemoveBlanks(LPCSTR lpszText);
// The item of the file-types box to select for the stored "DefFInFExt": an
// index of 0 or less, or not below the item count, selects item 0.
int FileTypeIndexToSelect(int nStored, int nCount);
// A new row record (CoTaskMemAlloc), null when out of memory.
CFindInFilesRow* NewRow(LPCSTR lpszPath, int nLine, int nPosition);
} // namespace fif

class CFindInFilesResults : public CListBox {
    DECLARE_DYNAMIC(CFindInFilesResults)
public:
    CFindInFilesResults();
    ~CFindInFilesResults() override;

    // A child list box of the pane (styles of its own: no sorting, notify,
    // strings, vertical scroll bar).
    BOOL Create(CWnd* pParent, UINT nID);

    // Both may be called on any thread: the rows are added by the window's
    // own thread. A text that is only a line end adds no row.
    void AddLine(LPCSTR lpszText);
    void AddMatch(LPCSTR lpszPath, LPCSTR lpszLineText, int nLine, int nPosition);
    // Empties the list (freeing the records).
    void Clear();

    // The record of a row; null for a plain line or no such row.
    const CFindInFilesRow* GetRow(int nIndex) const;
    // Opens the file of a match row at its place (what a double-click does);
    // FALSE for a plain line.
    BOOL OpenRow(int nIndex);

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnAddRows(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnResetContent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

    void FreeRecords();
    // Shows the rows added so far; bGoOn: more are coming.
    void PaintRows(BOOL bGoOn);
    void EndBatch();

    BOOL m_bBatch;         // rows are coming: painting is held back
    BOOL m_bRowsSinceTick; // rows came since the last tick of the paint timer
    DWORD m_dwLastPaint;   // tick count of the last paint during a batch
};

class CFindInFilesDlg;

class CFindInFilesSink : public CCallBackClass {
public:
    explicit CFindInFilesSink(CFindInFilesDlg* pDialog) : m_pDialog(pDialog), m_dwLastSend(0) {}
    void OnMessage(const wchar_t* pszText) override;
    void OnMatch(const wchar_t* pszPath, int nReserved, int nLine, int nPosition, const wchar_t* pszLine) override;
    void OnFinished() override;

private:
    // Rows go to the list in small batches: one sent message per row would
    // make the list, not the search, the slow part.
    enum {
        kRowsPerSend = 200,
        kBatchMs = 50
    };
    struct QueuedRow {
        CString text;
        CFindInFilesRow* pRecord; // null for a plain line
    };
    void Queue(const CString& text, CFindInFilesRow* pRecord);
    void SendQueued();

    CFindInFilesDlg* m_pDialog;
    std::vector<QueuedRow> m_rows; // worker thread only
    DWORD m_dwLastSend;            // tick count of the last hand-over
};

class CFindInFilesDlg : public CQXResizeDialog {
    DECLARE_DYNAMIC(CFindInFilesDlg)
public:
    explicit CFindInFilesDlg(CWnd* pParent = NULL);
    ~CFindInFilesDlg() override;

    BOOL OnInitDialog() override;

    BOOL IsSearching() const { return m_bSearching; }
    int GetMatchCase() const { return m_bMatchCase; }
    int GetMatchWord() const { return m_bMatchWord; }
    int GetRegExp() const { return m_bRegExp; }
    int GetSubFolders() const { return m_bSubFolders; }
    CFindInFilesResults* GetResults() const { return m_pResults; }

    // Why Find was refused, as the dialog tells it (empty: it was not).
    static CString RefusalText(LPCSTR lpszText, LPCSTR lpszTypes, LPCSTR lpszFolder);

protected:
    friend class CFindInFilesSink;

    void OnCancel() override;
    void OnOK() override;

    afx_msg void OnFind();
    afx_msg void OnStop();
    afx_msg void OnBrowse();
    afx_msg void OnHelp();
    afx_msg void OnOption(UINT nID);
    afx_msg void OnTextKillFocus();
    afx_msg void OnFolderKillFocus();
    afx_msg void OnDestroy();
    afx_msg LRESULT OnSearchFinished(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    void SetSearching(BOOL bSearching);
    // Stops a running search and waits for its worker, handling the
    // messages it sends meanwhile.
    void WaitForSearchEnd();

    CSmartComboBox m_wndText;
    CSmartComboBox m_wndTypes;
    CSmartComboBox m_wndFolder;
    CFindInFilesSink m_sink;
    CFindInFiles m_engine;
    int m_bMatchCase, m_bMatchWord, m_bRegExp, m_bSubFolders;
    CFindInFilesResults* m_pResults; // the frame's list; set when a search starts
    HWND m_hResults;                 // its window, which the sink sends the rows to
    BOOL m_bSearching;               // UI thread only
    HANDLE m_hSearchEnded;           // set by the sink as its last act (manual reset)
};
