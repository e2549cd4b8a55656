// redirector.h - runs a console program on anonymous pipes and hands its
// output, piece by piece, to a virtual operation.
//
// One run at a time: Open starts the child with its standard output and
// error on one pipe and an empty, closed pipe as its standard input (a tool
// that reads its input ends instead of waiting), and a reader thread that
// polls the output pipe, the child process and a stop event every 100 ms. The run ends when the child
// has ended and its output is drained, when a read fails, or when Close is
// called. The child process itself is never terminated: stopping ends the
// reading, and the child then finds its pipes closed.
//
// Threads: OnOutput, OnError and OnChildEnded run on the reader thread
// (OnError also on the caller of Open/Close). Close may be called from any
// thread; while it waits for the reader it keeps handling the messages that
// other threads send to the caller's windows, so a reader that is writing
// into a window of the waiting thread never deadlocks it. Every handle is
// closed exactly once, whichever thread ends the run.
//
// Derived classes whose OnOutput touches their own members must call Close
// in their own destructor: the base destructor stops the run only after the
// derived part is gone.
#pragma once

#include <fx/fx.h>

class CProcessRedirector : public CObject {
    DECLARE_DYNAMIC(CProcessRedirector)
public:
    CProcessRedirector();
    ~CProcessRedirector() override;

    // Starts lpszCmdLine (program and arguments, as for CreateProcess) in the
    // current folder. TRUE when the child runs and the reader has started;
    // FALSE after OnError("Redirect console error: %x\r\n") otherwise, with
    // the system error code left in GetLastError().
    BOOL Open(LPCSTR lpszCmdLine);
    // Stops the run (see above); safe when nothing runs. Always ends with
    // OnChildEnded. (A run that ends by itself calls OnChildEnded from the
    // reader thread; a run that Open replaces reports no end.)
    virtual void Close();

    // TRUE from a successful Open until the run is over.
    BOOL IsRunning() const;

    // The reader's poll interval (100 ms from construction).
    DWORD GetWaitTime() const { return m_dwWaitTime; }
    void SetWaitTime(DWORD dwMilliseconds) { m_dwWaitTime = dwMilliseconds ? dwMilliseconds : 1; }
    // How long Close waits for the reader before ending it by force
    // (5000 ms from construction).
    DWORD GetStopTimeout() const { return m_dwStopTimeout; }
    void SetStopTimeout(DWORD dwMilliseconds) { m_dwStopTimeout = dwMilliseconds; }

    // Largest piece handed to OnOutput in one call.
    enum {
        READ_CHUNK = 255
    };

protected:
    // A piece of the child's output (standard output and error, in the order
    // written), zero-terminated; a line may be split between two pieces.
    virtual void OnOutput(LPCSTR lpszOutput);
    // A message of the redirector itself.
    virtual void OnError(LPCSTR lpszError);
    // The run is over.
    virtual void OnChildEnded();

    // Reads what waits in the output pipe, in pieces of READ_CHUNK bytes:
    // 1 when the pipe is empty, 0 when the child closed its end, -1 after a
    // read error (reported through OnError), 2 when a stop was requested.
    int ReadStdout();

private:
    static DWORD WINAPI ReaderThread(LPVOID lpParameter);
    // Close, with or without the OnChildEnded report.
    void CloseRun(BOOL bNotify);
    // Closes the handles of the run; the reader thread's own handle and the
    // stop event only when bAll (the reader is known to be gone).
    void CloseRunHandles(BOOL bAll);
    // Waits for hThread up to dwTimeout ms while handling sent messages.
    static BOOL WaitHandlingSentMessages(HANDLE hThread, DWORD dwTimeout);

    HANDLE m_hThread;    // reader thread (NULL when no run was started)
    HANDLE m_hStopEvent; // manual reset, one per run
    DWORD m_dwThreadId;
    DWORD m_dwWaitTime; // poll interval of the reader
    HANDLE m_hOutput;   // our read end of the child's standard output and error
    HANDLE m_hProcess;  // the child
    DWORD m_dwStopTimeout;
    volatile LONG m_bRunning;
    mutable CCriticalSection m_lock;
};
