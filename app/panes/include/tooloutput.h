// tooloutput.h - the tool-output window: a multi-line edit control that runs
// an external tool and shows what it prints. The toolkit's edit (CQXEdit)
// gives it the context menu and the edit commands.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/edit.h>

#include "redirector.h"

class CProcessOutputView : public CQXEdit, public CProcessRedirector {
    DECLARE_DYNAMIC(CProcessOutputView)
public:
    CProcessOutputView();
    ~CProcessOutputView() override;

    // Empties the window, then starts the command line (see
    // CProcessRedirector::Open). The caller sets the current folder.
    BOOL RunCommand(LPCSTR lpszCmdLine);

    // The main frame's tool-running flag: set by the frame when it starts a
    // tool, cleared here (with InterlockedExchange, from the reader thread)
    // when the run is over. NULL: nothing to clear.
    void SetToolRunningFlag(volatile LONG* pFlag) { m_pToolRunning = pFlag; }

    // Appends text at the end of the window and scrolls it into view (the
    // calling thread may be any thread).
    void AppendText(LPCSTR lpszText);
    // Empties the window, then shows the text (a report, not a tool's run).
    void ReplaceText(LPCSTR lpszText);

    // Message that carries a piece of text to the window's thread.
    enum {
        WM_QM_APPENDOUTPUT = WM_APP + 0x115
    };

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg LRESULT OnAppendOutput(WPARAM wParam, LPARAM lParam);

    void OnOutput(LPCSTR lpszOutput) override;
    void OnError(LPCSTR lpszError) override;
    void OnChildEnded() override;

    DECLARE_MESSAGE_MAP()

private:
    volatile LONG* m_pToolRunning;
    // Set while the object is going: the window no longer takes output.
    volatile LONG m_bClosing;
    // Last character appended (window thread only).
    char m_chLast;
};
