// functionlist.h - CFunctionList, the list box of the Function List pane: the
// routines of the active text document, the one holding the caret selected,
// a double click moves the caret to one.
//
// Threads. A refresh (AttachView, then Refresh) restarts timer 59600; when it
// fires, the UI thread copies the document's text into a request and wakes
// the pane's worker. The copy is made once, straight from the editor's
// buffer into a Scintilla document of its own that keeps no styles (the
// component's loader, made by a hidden window of the pane): no
// intermediate string, so a large text is held
// twice at most, never three times. The worker owns the request it takes:
// it puts the copied document into a hidden Scintilla window of its own
// thread (no parent, so no message of it ever waits for the UI thread),
// scans it (funcscan.h) and posts the finished entries back. The UI thread alone touches the list box and the
// entries that caret tracking and the double click read. The lock guards
// only the two hand-over slots and is never held while waiting for anything.
// A refresh asked for while a scan runs is kept and scanned next (the event
// stays set). Destroying the window stops the worker and waits for it; a
// running scan ends at its next header.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <memory>
#include <string>
#include <vector>

#include <ILoader.h>

#include "funcscan.h"

class CMFCScintilla;

class CFunctionList : public CListBox {
    DECLARE_DYNAMIC(CFunctionList)
public:
    CFunctionList();
    ~CFunctionList() override;

    enum {
        TIMER_REFRESH = 59600,
        WM_QM_FUNCTIONS_READY = WM_APP + 0x116, // a finished scan waits in the hand-over slot
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

    // The listed routines (UI thread).
    const std::vector<FunctionEntry>& GetEntries() const { return m_entries; }
    // Scans finished so far (UI thread; for tests).
    int GetScanCount() const { return m_nScans; }

    static UINT AFX_CDECL WorkerThread(LPVOID pParam);

    // Brings a list box up to date with the names without touching the items
    // that stay: where an item differs and the name stands a little further
    // down, the items in between are deleted (the rest moves up); otherwise the
    // name is inserted; surplus items at the end go. Names compare
    // case-sensitively. bNotSupported shows the single line "Language not
    // supported" with item data -1.
    static void UpdateList(HWND hList, const std::vector<std::string>& names, bool bNotSupported);

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnFunctionsReady(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The copy of the text as the component's loader, owned until the
    // worker turns it into the document of its hidden window.
    struct Request {
        Request() = default;
        Request(const Request&) = delete;
        Request& operator=(const Request&) = delete;
        ~Request();
        Scintilla::ILoader* pLoader = nullptr;
        int nLanguageId = -1;
    };
    struct Result {
        std::vector<FunctionEntry> entries; // top-level entries
        bool bNotSupported;
    };

    // The attached editor while its window lives, else NULL.
    CMFCScintilla* SourceEditor() const;
    // Creates the worker's hidden copy of the document: a Scintilla window of
    // the worker's thread that takes the request's copy over. False when the
    // window fails (the request keeps its copy).
    static bool CreateHiddenEditor(CMFCScintilla& editor, Request& request);
    void RunWorker();
    void StopWorker();

    CCriticalSection m_lock;             // guards m_pRequest and m_pResult only
    std::unique_ptr<Request> m_pRequest; // newest snapshot not yet taken by the worker
    std::unique_ptr<Result> m_pResult;   // newest scan not yet shown
    HANDLE m_hStart;                     // auto-reset: a request waits, or the worker must stop
    HANDLE m_hThread;                    // the worker, joined by OnDestroy
    volatile LONG m_bRun;                // cleared to stop the worker
    volatile LONG m_bStopping;           // set with it: a running scan ends early

    // UI thread only.
    CMFCScintilla* m_pSource; // not owned; checked against m_hSource before use
    HWND m_hSource;
    HWND m_hLoaderWnd = NULL; // hidden editing window that makes the copies' loaders
    int m_nLanguageId;
    std::vector<FunctionEntry> m_entries;
    int m_nScans;
};
