// fx/thread.h - threads and synchronisation objects.
//
// AfxBeginThread starts a worker thread running a plain function. The
// returned CWinThread deletes itself when the thread ends (m_bAutoDelete);
// to keep using it (for example to wait on m_hThread), start the thread with
// CREATE_SUSPENDED, clear m_bAutoDelete, then call ResumeThread, and delete
// the object after the thread has ended.
#pragma once

#include "fx/core.h"
#include "fx/cmdtarget.h"

class CWnd;
class CException;

typedef UINT(AFX_CDECL* AFX_THREADPROC)(LPVOID);

// ---------------------------------------------------------------------------
// Synchronisation objects. Constructors throw CResourceException* when the
// system object cannot be created.

class CSyncObject : public CObject {
    DECLARE_DYNAMIC(CSyncObject)
public:
    explicit CSyncObject(LPCSTR pstrName);
    ~CSyncObject() override;

    operator HANDLE() const { return m_hObject; }

    // TRUE when the object was acquired (signalled or abandoned) in time.
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    virtual BOOL Unlock(LONG lCount, LPLONG lpPrevCount = NULL);

    HANDLE m_hObject;
};

class CSemaphore : public CSyncObject {
    DECLARE_DYNAMIC(CSemaphore)
public:
    explicit CSemaphore(LONG lInitialCount = 1, LONG lMaxCount = 1, LPCSTR pstrName = NULL,
                        LPSECURITY_ATTRIBUTES lpsaAttributes = NULL);
    BOOL Unlock() override;
    BOOL Unlock(LONG lCount, LPLONG lprevCount = NULL) override;
};

class CMutex : public CSyncObject {
    DECLARE_DYNAMIC(CMutex)
public:
    explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCSTR lpszName = NULL, LPSECURITY_ATTRIBUTES lpsaAttribute = NULL);
    BOOL Unlock() override;
};

class CEvent : public CSyncObject {
    DECLARE_DYNAMIC(CEvent)
public:
    // bInitiallyOwn: created signalled.
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCSTR lpszName = NULL,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = NULL);
    BOOL SetEvent();
    BOOL PulseEvent();
    BOOL ResetEvent();
    BOOL Unlock() override;
};

class CCriticalSection : public CSyncObject {
    DECLARE_DYNAMIC(CCriticalSection)
public:
    CCriticalSection();
    ~CCriticalSection() override;

    operator CRITICAL_SECTION*() { return &m_sect; }
    BOOL Lock();
    // The time-out is ignored: a critical section is always waited for.
    BOOL Lock(DWORD dwTimeout) override;
    BOOL Unlock() override;

    CRITICAL_SECTION m_sect;
};

// Locks one object for the lifetime of the lock (unlocked in the destructor).
class CSingleLock {
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD dwTimeOut = INFINITE);
    BOOL Unlock();
    BOOL Unlock(LONG lCount, LPLONG lPrevCount = NULL);
    BOOL IsLocked() const { return m_bAcquired; }

protected:
    CSyncObject* m_pObject;
    HANDLE m_hObject;
    BOOL m_bAcquired;
};

// Waits on several kernel objects (not critical sections).
class CMultiLock {
public:
    CMultiLock(CSyncObject* ppObjects[], DWORD dwCount, BOOL bInitialLock = FALSE);
    ~CMultiLock();
    CMultiLock(const CMultiLock&) = delete;
    CMultiLock& operator=(const CMultiLock&) = delete;

    // Returns the wait result (WAIT_OBJECT_0 + i, WAIT_ABANDONED_0 + i,
    // WAIT_TIMEOUT, or WAIT_OBJECT_0 + count for a message when dwWakeMask
    // is given).
    DWORD Lock(DWORD dwTimeOut = INFINITE, BOOL bWaitForAll = TRUE, DWORD dwWakeMask = 0);
    BOOL Unlock();
    BOOL Unlock(LONG lCount, LPLONG lPrevCount = NULL);
    BOOL IsLocked(DWORD dwItem) const;

protected:
    enum {
        kMaxObjects = MAXIMUM_WAIT_OBJECTS
    };
    HANDLE m_hHandles[kMaxObjects];
    BOOL m_bLockedArray[kMaxObjects];
    CSyncObject* m_ppObjectArray[kMaxObjects];
    DWORD m_dwCount;
};

// ---------------------------------------------------------------------------
// CWinThread

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;

    // Starts the thread (worker form when a thread function was given).
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);

    operator HANDLE() const { return m_hThread; }
    int GetThreadPriority();
    BOOL SetThreadPriority(int nPriority);
    DWORD SuspendThread();
    DWORD ResumeThread();
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The thread object's own work when no thread function is given:
    // InitInstance, then Run when it succeeded, else ExitInstance.
    virtual BOOL InitInstance();
    // The message loop of a user-interface thread: messages are
    // pre-translated (PreTranslateMessage) and dispatched; while the queue
    // is empty OnIdle runs with a growing count until it answers FALSE, and
    // starts again after a message that IsIdleMessage accepts. WM_QUIT ends
    // the loop with ExitInstance.
    virtual int Run();
    // The code of the WM_QUIT that ended the loop (0 when there was none).
    virtual int ExitInstance();
    // Deletes the object when m_bAutoDelete is set.
    virtual void Delete();

    // The window that owns this thread's message boxes (NULL: none).
    virtual HWND GetMainWndHandle() const;

    // --- the message loop (the window half of the framework) -------------
    // A message posted to the thread (no window) goes to the thread's own
    // map (ON_THREAD_MESSAGE); a window's message is offered to the windows
    // from its own up to the main window (CWnd::WalkPreTranslateTree), then,
    // for windows outside the main window, to the main window. TRUE when the
    // message was taken (it is not dispatched).
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Fetches, pre-translates and dispatches one message; FALSE on WM_QUIT.
    virtual BOOL PumpMessage();
    // Idle work; lCount counts the calls since the queue went empty. Count 0
    // updates the command states of the main window (WM_IDLEUPDATECMDUI to
    // it and its descendants), count 1 frees the temporary handle-map
    // objects. TRUE while more idle calls are wanted.
    virtual BOOL OnIdle(LONG lCount);
    // FALSE for messages that must not restart idle processing (a mouse move
    // that did not move, WM_PAINT, the caret timer).
    virtual BOOL IsIdleMessage(MSG* pMsg);
    // m_pActiveWnd when set, else m_pMainWnd.
    virtual CWnd* GetMainWnd();
    // What a window procedure answers when a handler threw: -1 for
    // WM_CREATE, the exception is reported (except CUserException).
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
    // Calls the ON_THREAD_MESSAGE handler of a thread message; TRUE when
    // there is one.
    BOOL DispatchThreadMessageEx(MSG* pMsg);

    HANDLE m_hThread;
    DWORD m_nThreadID;
    BOOL m_bAutoDelete;
    CWnd* m_pMainWnd;
    CWnd* m_pActiveWnd;
    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;
};

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                                  int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                  DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
// Ends the calling thread at once (no destructors of its stack objects run).
[[noreturn]] void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
// The thread object of the calling thread (the application object on the
// main thread); NULL for threads not started by the framework.
CWinThread* AFXAPI AfxGetThread();
