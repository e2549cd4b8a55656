// redirector.cpp - console programs on anonymous pipes.
#include "redirector.h"

#include <string.h>
#include <vector>

IMPLEMENT_DYNAMIC(CProcessRedirector, CObject)

using fx::CloseAndClear;
using fx::OwnedHandle;

CProcessRedirector::CProcessRedirector()
    : m_hThread(NULL),
      m_hStopEvent(NULL),
      m_dwThreadId(0),
      m_dwWaitTime(100),
      m_hOutput(NULL),
      m_hProcess(NULL),
      m_dwStopTimeout(5000),
      m_bRunning(0)
{
}

CProcessRedirector::~CProcessRedirector()
{
    // The derived part is gone: only the base operations run from here.
    Close();
}

void CProcessRedirector::OnOutput(LPCSTR) {}
void CProcessRedirector::OnError(LPCSTR) {}
void CProcessRedirector::OnChildEnded() {}

BOOL CProcessRedirector::IsRunning() const
{
    return ::InterlockedCompareExchange(const_cast<LONG*>(&m_bRunning), 0, 0) != 0;
}

BOOL CProcessRedirector::Open(LPCSTR lpszCmdLine)
{
    // The previous run gives way to this one: no end is reported, or the
    // owner's "tool running" state (set just before this call) would be
    // cleared while the new tool runs.
    CloseRun(FALSE);

    OwnedHandle hOutRead, hOutWrite, hErrWrite, hInRead, hInWrite, hOutReadOwn;
    DWORD dwError = 0;
    BOOL bStarted = FALSE;
    HANDLE hSelf = ::GetCurrentProcess();
    try {
        SECURITY_ATTRIBUTES sa;
        sa.nLength = sizeof(sa);
        sa.lpSecurityDescriptor = NULL;
        sa.bInheritHandle = TRUE;

        do {
            if (lpszCmdLine == NULL) {
                ::SetLastError(ERROR_INVALID_PARAMETER);
                break;
            }
            // Standard output and standard error share one pipe, so the
            // child's texts arrive in the order it wrote them.
            if (!::CreatePipe(&hOutRead, &hOutWrite, &sa, 0))
                break;
            if (!::DuplicateHandle(hSelf, hOutWrite.Get(), hSelf, &hErrWrite, 0, TRUE, DUPLICATE_SAME_ACCESS))
                break;
            // Standard input is an empty pipe whose writing end is closed
            // before the child starts: nobody types into a captured tool, so
            // a program that reads its input (a command prompt) sees the end
            // at once and finishes instead of waiting for Stop.
            if (!::CreatePipe(&hInRead, &hInWrite, &sa, 0))
                break;
            hInWrite.Close();
            // Our end must not be inherited, or the child would keep its own
            // pipe open and never see it close.
            if (!::DuplicateHandle(hSelf, hOutRead.Get(), hSelf, &hOutReadOwn, 0, FALSE, DUPLICATE_SAME_ACCESS))
                break;
            hOutRead.Close();

            STARTUPINFOA si;
            ::ZeroMemory(&si, sizeof(si));
            si.cb = sizeof(si);
            si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
            si.wShowWindow = SW_HIDE;
            si.hStdInput = hInRead.Get();
            si.hStdOutput = hOutWrite.Get();
            si.hStdError = hErrWrite.Get();
            // The child inherits its three pipe ends and nothing else of
            // ours: a tool that lives on must not keep the editor's other
            // files and pipes open.
            HANDLE inherited[3] = {hInRead.Get(), hOutWrite.Get(), hErrWrite.Get()};
            SIZE_T cbAttributes = 0;
            ::InitializeProcThreadAttributeList(NULL, 1, 0, &cbAttributes);
            std::vector<BYTE> attributeBuffer(cbAttributes ? cbAttributes : 1);
            LPPROC_THREAD_ATTRIBUTE_LIST pAttributes = (LPPROC_THREAD_ATTRIBUTE_LIST)attributeBuffer.data();
            BOOL bAttributes = cbAttributes != 0 && ::InitializeProcThreadAttributeList(pAttributes, 1, 0, &cbAttributes);
            BOOL bHandleList = bAttributes && ::UpdateProcThreadAttribute(pAttributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                                          inherited, sizeof(inherited), NULL, NULL);
            STARTUPINFOEXA six;
            ::ZeroMemory(&six, sizeof(six));
            six.StartupInfo = si;
            six.StartupInfo.cb = sizeof(six);
            six.lpAttributeList = pAttributes;

            // CreateProcess may write into the command line.
            std::vector<char> cmdLine(lpszCmdLine, lpszCmdLine + ::strlen(lpszCmdLine) + 1);
            PROCESS_INFORMATION pi;
            ::ZeroMemory(&pi, sizeof(pi));
            BOOL bCreated = ::CreateProcessA(NULL, cmdLine.data(), NULL, NULL, TRUE,
                                             CREATE_NEW_CONSOLE | (bHandleList ? EXTENDED_STARTUPINFO_PRESENT : 0), NULL,
                                             NULL, bHandleList ? &six.StartupInfo : &si, &pi);
            DWORD dwCreateError = ::GetLastError();
            if (bAttributes)
                ::DeleteProcThreadAttributeList(pAttributes);
            if (!bCreated) {
                ::SetLastError(dwCreateError);
                break;
            }
            ::CloseHandle(pi.hThread);
            // The child holds its ends now.
            hOutWrite.Close();
            hErrWrite.Close();
            hInRead.Close();

            CSingleLock lock(&m_lock, TRUE);
            m_hProcess = pi.hProcess;
            m_hOutput = hOutReadOwn.Release();
            m_hStopEvent = ::CreateEventA(NULL, TRUE, FALSE, NULL);
            if (m_hStopEvent == NULL)
                break;
            // Started suspended, so the thread id is known before the reader
            // can look at it.
            DWORD dwThreadId = 0;
            HANDLE hThread = ::CreateThread(NULL, 0, &CProcessRedirector::ReaderThread, this, CREATE_SUSPENDED,
                                            &dwThreadId);
            if (hThread == NULL)
                break;
            m_hThread = hThread;
            m_dwThreadId = dwThreadId;
            ::InterlockedExchange(&m_bRunning, 1);
            ::ResumeThread(hThread);
            bStarted = TRUE;
        } while (false);
    } catch (...) {
        dwError = ::GetLastError();
        hOutRead.Close();
        hOutWrite.Close();
        hErrWrite.Close();
        hInRead.Close();
        hInWrite.Close();
        hOutReadOwn.Close();
        Close();
        ::SetLastError(dwError);
        throw;
    }
    if (bStarted)
        return TRUE;

    dwError = ::GetLastError();
    char szMessage[64];
    ::wsprintfA(szMessage, "Redirect console error: %x\r\n", dwError);
    OnError(szMessage);
    hOutRead.Close();
    hOutWrite.Close();
    hErrWrite.Close();
    hInRead.Close();
    hInWrite.Close();
    hOutReadOwn.Close();
    Close();
    ::SetLastError(dwError);
    return FALSE;
}

int CProcessRedirector::ReadStdout()
{
    char buffer[READ_CHUNK + 1];
    for (;;) {
        // A child that prints without pause keeps the pipe full: look for a
        // stop request between pieces, not only when the pipe runs dry.
        if (m_hStopEvent != NULL && ::WaitForSingleObject(m_hStopEvent, 0) == WAIT_OBJECT_0)
            return 2;
        DWORD dwAvail = 0;
        DWORD dwRead = 0;
        BOOL bOk = ::PeekNamedPipe(m_hOutput, NULL, 0, NULL, &dwAvail, NULL);
        if (bOk) {
            if (dwAvail == 0)
                return 1;
            DWORD dwWant = dwAvail < (DWORD)READ_CHUNK ? dwAvail : (DWORD)READ_CHUNK;
            bOk = ::ReadFile(m_hOutput, buffer, dwWant, &dwRead, NULL);
            if (bOk && dwRead == 0)
                return 0;
        }
        if (!bOk) {
            DWORD dwError = ::GetLastError();
            if (dwError == ERROR_BROKEN_PIPE || dwError == ERROR_NO_DATA)
                return 0;
            OnError("Read stdout pipe error\r\n");
            return -1;
        }
        buffer[dwRead] = '\0';
        OnOutput(buffer);
    }
}

DWORD WINAPI CProcessRedirector::ReaderThread(LPVOID lpParameter)
{
    CProcessRedirector* self = static_cast<CProcessRedirector*>(lpParameter);
    HANDLE handles[2] = {self->m_hProcess, self->m_hStopEvent};

    int nResult = self->ReadStdout();
    if (nResult == 2) {
        nResult = 1;
    } else if (nResult > 0) {
        for (;;) {
            DWORD dw = ::WaitForMultipleObjects(2, handles, FALSE, self->m_dwWaitTime);
            if (dw == WAIT_OBJECT_0) {
                // The child ended: its output is all in the pipe now.
                int nLast = self->ReadStdout();
                nResult = nLast == 2 ? 1 : (nLast > 0 ? 0 : nLast);
                break;
            }
            if (dw == WAIT_OBJECT_0 + 1) {
                nResult = 1;
                break;
            }
            nResult = self->ReadStdout();
            if (nResult == 2) {
                nResult = 1;
                break;
            }
            if (nResult <= 0)
                break;
        }
    }
    // A run that was stopped is reported by whoever stopped it.
    self->CloseRun(::WaitForSingleObject(self->m_hStopEvent, 0) != WAIT_OBJECT_0);
    return (DWORD)nResult;
}

void CProcessRedirector::CloseRunHandles(BOOL bAll)
{
    CloseAndClear(m_hProcess);
    CloseAndClear(m_hOutput);
    if (bAll) {
        CloseAndClear(m_hThread);
        CloseAndClear(m_hStopEvent);
        m_dwThreadId = 0;
    }
}

BOOL CProcessRedirector::WaitHandlingSentMessages(HANDLE hThread, DWORD dwTimeout)
{
    DWORD dwStart = ::GetTickCount();
    MSG msg;
    // Messages sent before the wait began are not "new" for the wait below.
    ::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    for (;;) {
        DWORD dwElapsed = ::GetTickCount() - dwStart;
        if (dwElapsed >= dwTimeout)
            return ::WaitForSingleObject(hThread, 0) == WAIT_OBJECT_0;
        DWORD dw = ::MsgWaitForMultipleObjects(1, &hThread, FALSE, dwTimeout - dwElapsed, QS_SENDMESSAGE);
        if (dw == WAIT_OBJECT_0)
            return TRUE;
        if (dw == WAIT_OBJECT_0 + 1) {
            ::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            continue;
        }
        if (dw == WAIT_TIMEOUT)
            return FALSE;
        // The wait itself failed: fall back to a plain wait.
        dwElapsed = ::GetTickCount() - dwStart;
        return ::WaitForSingleObject(hThread, dwElapsed < dwTimeout ? dwTimeout - dwElapsed : 0) == WAIT_OBJECT_0;
    }
}

void CProcessRedirector::Close()
{
    CloseRun(TRUE);
}

void CProcessRedirector::CloseRun(BOOL bNotify)
{
    const DWORD dwSelf = ::GetCurrentThreadId();
    HANDLE hWait = NULL;
    BOOL bReader = FALSE;
    BOOL bOtherReader = FALSE;
    {
        CSingleLock lock(&m_lock, TRUE);
        if (m_hThread != NULL) {
            if (m_dwThreadId == dwSelf) {
                bReader = TRUE;
            } else {
                bOtherReader = TRUE;
                // A handle of our own for the wait: another Close may close
                // the object's handle meanwhile.
                if (!::DuplicateHandle(::GetCurrentProcess(), m_hThread, ::GetCurrentProcess(), &hWait, 0, FALSE,
                                       DUPLICATE_SAME_ACCESS))
                    hWait = NULL;
                if (m_hStopEvent != NULL)
                    ::SetEvent(m_hStopEvent);
            }
        }
    }

    if (hWait != NULL || bOtherReader) {
        // Without a handle of our own the object's handle serves: nothing
        // else closes it while the reader may still run.
        HANDLE h = hWait != NULL ? hWait : m_hThread;
        if (!WaitHandlingSentMessages(h, m_dwStopTimeout)) {
            OnError("The redir thread is dead\r\n");
            ::TerminateThread(h, (DWORD)-2);
            ::WaitForSingleObject(h, 1000);
        }
        if (hWait != NULL)
            ::CloseHandle(hWait);
    }

    {
        CSingleLock lock(&m_lock, TRUE);
        // The reader closes what it read from, but leaves its own thread
        // handle and the stop event to the next Close from outside (a new
        // run, a stop, the destructor), which first waits for it to end.
        CloseRunHandles(!bReader);
        ::InterlockedExchange(&m_bRunning, 0);
    }
    if (bNotify)
        OnChildEnded();
}
