// functionlist.h - CFunctionList, the list box of the Function List pane: the
// routines of the active text document, the one holding the caret selected,
// a double click moves the caret to one.
//
// The scan. A refresh (AttachView, then Refresh) restarts timer 59600; when
// it fires, a scan of the document starts. It holds no copy of the text: a
// hidden Scintilla window of the pane (a child of the list box) shows the
// user's own document, and the scan (funcscan.h) searches it on this, the
// interface thread, a slice of a few milliseconds at a time while nothing
// else waits (timer 59601, which the system delivers only when no input or
// other message is queued). Between slices the scan sleeps on a fiber of its
// own, so the document is never read while the user changes it. A change to
// the text drops the running scan (the hidden window reports every insertion
// and deletion); the refresh that follows the change starts the next one, so
// while the user keeps typing into a large text the list follows once the
// typing pauses for as long as a scan takes. A small text is scanned in its
// first slice. Destroying the window drops a running scan at once.
//
// The items. The list box keeps its own copy of every name, as a list box
// with strings does (some 70 bytes an item under Wine); the pane keeps the
// entries packed beside it. A no-data (owner-data) list box would keep no
// names, but it has no strings: the system then hands other processes
// (accessibility tools, LB_GETTEXT from outside) no names, typing a letter
// does not move to the next name that starts with it, and the single line
// "Language not supported" could not carry its item data.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "funcscan.h"

class CMFCScintilla;

class CFunctionList : public CListBox {
    DECLARE_DYNAMIC(CFunctionList)
public:
    CFunctionList();
    ~CFunctionList() override;

    enum {
        TIMER_REFRESH = 59600,
        TIMER_SCAN = 59601, // the next slice of a running scan
    };
    static const char* const kNotSupported; // "Language not supported"

    // The active text view's editor and its language id (the LEXERID of the
    // view's syntax configuration, -1 when it has none).
    void AttachView(CMFCScintilla* pEditor, int nLanguageId);
    // Restarts the refresh timer (the main frame passes 10 ms).
    void Refresh(UINT nElapse);
    // Selects the routine that holds the editor's caret, or nothing, unless
    // the list box has the focus.
    void TrackCaret(CMFCScintilla* pEditor);

    // The listed routines, one per item: where each stands and its name,
    // packed (a large text lists tens of thousands).
    const CFunctionEntries& GetEntries() const { return m_entries; }
    // Scans finished so far (for tests).
    int GetScanCount() const { return m_nScans; }
    // True while a scan runs (for tests).
    bool IsScanning() const { return m_pJob != nullptr; }

    // Brings a list box up to date with the names without touching the items
    // that stay: where an item differs and the name stands a little further
    // down, the items in between are deleted (the rest moves up); otherwise the
    // name is inserted; surplus items at the end go. Names compare
    // case-sensitively. bNotSupported shows the single line "Language not
    // supported" with item data -1.
    static void UpdateList(HWND hList, const std::vector<std::string>& names, bool bNotSupported);
    // The same with nCount names, the name of item i read through name(i).
    static void UpdateList(HWND hList, size_t nCount, const std::function<const char*(size_t)>& name,
                           bool bNotSupported);

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnTextModified(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    struct Job;

    // The attached editor while its window lives, else NULL.
    CMFCScintilla* SourceEditor() const;
    // Creates the hidden view of the source editor's document.
    static bool CreateHiddenEditor(CFunctionList& list, CMFCScintilla& source, CMFCScintilla& editor);
    void StartScan();
    // Runs the scan until its slice is used up or it ends; shows the result
    // when it ends complete.
    void RunSlice();
    // Drops the running scan, if any.
    void DropScan();
    static void CALLBACK ScanFiber(LPVOID pParam);

    std::unique_ptr<Job> m_pJob; // the running scan
    CMFCScintilla* m_pSource;    // not owned; checked against m_hSource before use
    HWND m_hSource;
    int m_nLanguageId;
    CFunctionEntries m_entries; // what the list box lists, item by item
    int m_nScans;
};
