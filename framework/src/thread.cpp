// Threads and synchronisation objects.
#include "fx/thread.h"
#include "fx/app.h"
#include "fx/except.h"

#include <process.h>
#include <cstring>

IMPLEMENT_DYNAMIC(CSyncObject, CObject)
IMPLEMENT_DYNAMIC(CSemaphore, CSyncObject)
IMPLEMENT_DYNAMIC(CMutex, CSyncObject)
IMPLEMENT_DYNAMIC(CEvent, CSyncObject)
IMPLEMENT_DYNAMIC(CCriticalSection, CSyncObject)
IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

// ---------------------------------------------------------------------------
// Synchronisation objects

CSyncObject::CSyncObject(LPCSTR pstrName) : m_hObject(NULL)
{
    (void)pstrName;
}

CSyncObject::~CSyncObject()
{
    if (m_hObject != NULL) {
        CloseHandle(m_hObject);
        m_hObject = NULL;
    }
}

BOOL CSyncObject::Lock(DWORD dwTimeout)
{
    DWORD dw = WaitForSingleObject(m_hObject, dwTimeout);
    return dw == WAIT_OBJECT_0 || dw == WAIT_ABANDONED;
}

BOOL CSyncObject::Unlock(LONG lCount, LPLONG lpPrevCount)
{
    (void)lCount;
    (void)lpPrevCount;
    return TRUE;
}

CSemaphore::CSemaphore(LONG lInitialCount, LONG lMaxCount, LPCSTR pstrName, LPSECURITY_ATTRIBUTES lpsaAttributes)
    : CSyncObject(pstrName)
{
    if (lMaxCount <= 0 || lInitialCount < 0 || lInitialCount > lMaxCount)
        AfxThrowInvalidArgException();
    m_hObject = CreateSemaphoreA(lpsaAttributes, lInitialCount, lMaxCount, pstrName);
    if (m_hObject == NULL)
        AfxThrowResourceException();
}

BOOL CSemaphore::Unlock() { return Unlock(1, NULL); }

BOOL CSemaphore::Unlock(LONG lCount, LPLONG lpPrevCount)
{
    return ReleaseSemaphore(m_hObject, lCount, lpPrevCount);
}

CMutex::CMutex(BOOL bInitiallyOwn, LPCSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute) : CSyncObject(lpszName)
{
    m_hObject = CreateMutexA(lpsaAttribute, bInitiallyOwn, lpszName);
    if (m_hObject == NULL)
        AfxThrowResourceException();
}

BOOL CMutex::Unlock() { return ReleaseMutex(m_hObject); }

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
    : CSyncObject(lpszName)
{
    m_hObject = CreateEventA(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName);
    if (m_hObject == NULL)
        AfxThrowResourceException();
}

BOOL CEvent::SetEvent() { return ::SetEvent(m_hObject); }
BOOL CEvent::PulseEvent() { return ::PulseEvent(m_hObject); }
BOOL CEvent::ResetEvent() { return ::ResetEvent(m_hObject); }
BOOL CEvent::Unlock() { return TRUE; }

CCriticalSection::CCriticalSection() : CSyncObject(NULL)
{
    InitializeCriticalSection(&m_sect);
}

CCriticalSection::~CCriticalSection()
{
    DeleteCriticalSection(&m_sect);
}

BOOL CCriticalSection::Lock()
{
    EnterCriticalSection(&m_sect);
    return TRUE;
}

BOOL CCriticalSection::Lock(DWORD dwTimeout)
{
    (void)dwTimeout;
    return Lock();
}

BOOL CCriticalSection::Unlock()
{
    LeaveCriticalSection(&m_sect);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Locks

CSingleLock::CSingleLock(CSyncObject* pObject, BOOL bInitialLock)
    : m_pObject(pObject), m_hObject(pObject ? pObject->m_hObject : NULL), m_bAcquired(FALSE)
{
    if (pObject == NULL)
        AfxThrowInvalidArgException();
    if (bInitialLock)
        Lock();
}

CSingleLock::~CSingleLock()
{
    Unlock();
}

BOOL CSingleLock::Lock(DWORD dwTimeOut)
{
    if (m_bAcquired)
        return TRUE;
    m_bAcquired = m_pObject->Lock(dwTimeOut);
    return m_bAcquired;
}

BOOL CSingleLock::Unlock()
{
    if (m_bAcquired)
        m_bAcquired = !m_pObject->Unlock();
    return !m_bAcquired;
}

BOOL CSingleLock::Unlock(LONG lCount, LPLONG lPrevCount)
{
    if (m_bAcquired)
        m_bAcquired = !m_pObject->Unlock(lCount, lPrevCount);
    return !m_bAcquired;
}

CMultiLock::CMultiLock(CSyncObject* ppObjects[], DWORD dwCount, BOOL bInitialLock) : m_dwCount(dwCount)
{
    if (ppObjects == NULL || dwCount == 0 || dwCount > kMaxObjects)
        AfxThrowInvalidArgException();
    for (DWORD i = 0; i < dwCount; ++i) {
        if (ppObjects[i] == NULL || ppObjects[i]->IsKindOf(RUNTIME_CLASS(CCriticalSection)))
            AfxThrowInvalidArgException();
        m_ppObjectArray[i] = ppObjects[i];
        m_hHandles[i] = ppObjects[i]->m_hObject;
        m_bLockedArray[i] = FALSE;
    }
    if (bInitialLock)
        Lock();
}

CMultiLock::~CMultiLock()
{
    Unlock();
}

DWORD CMultiLock::Lock(DWORD dwTimeOut, BOOL bWaitForAll, DWORD dwWakeMask)
{
    DWORD dwResult;
    if (dwWakeMask == 0)
        dwResult = WaitForMultipleObjects(m_dwCount, m_hHandles, bWaitForAll, dwTimeOut);
    else
        dwResult = MsgWaitForMultipleObjects(m_dwCount, m_hHandles, bWaitForAll, dwTimeOut, dwWakeMask);

    DWORD dwIndex = WAIT_FAILED;
    if (dwResult < WAIT_OBJECT_0 + m_dwCount)
        dwIndex = dwResult - WAIT_OBJECT_0;
    else if (dwResult >= WAIT_ABANDONED_0 && dwResult < WAIT_ABANDONED_0 + m_dwCount)
        dwIndex = dwResult - WAIT_ABANDONED_0;
    if (dwIndex != WAIT_FAILED) {
        if (bWaitForAll) {
            for (DWORD i = 0; i < m_dwCount; ++i)
                m_bLockedArray[i] = TRUE;
        } else {
            m_bLockedArray[dwIndex] = TRUE;
        }
    }
    return dwResult;
}

BOOL CMultiLock::Unlock()
{
    for (DWORD i = 0; i < m_dwCount; ++i) {
        if (m_bLockedArray[i])
            m_bLockedArray[i] = !m_ppObjectArray[i]->Unlock();
    }
    return TRUE;
}

BOOL CMultiLock::Unlock(LONG lCount, LPLONG lPrevCount)
{
    BOOL bGotOne = FALSE;
    for (DWORD i = 0; i < m_dwCount; ++i) {
        if (m_bLockedArray[i] && m_ppObjectArray[i]->IsKindOf(RUNTIME_CLASS(CSemaphore))) {
            m_bLockedArray[i] = !m_ppObjectArray[i]->Unlock(lCount, lPrevCount);
            bGotOne = TRUE;
        }
    }
    return bGotOne;
}

BOOL CMultiLock::IsLocked(DWORD dwItem) const
{
    return dwItem < m_dwCount && m_bLockedArray[dwItem];
}

// ---------------------------------------------------------------------------
// CWinThread

namespace {

thread_local CWinThread* t_pCurrentThread = NULL;

unsigned __stdcall ThreadEntry(void* pParam)
{
    CWinThread* pThread = static_cast<CWinThread*>(pParam);
    t_pCurrentThread = pThread;
    UINT nResult;
    try {
        if (pThread->m_pfnThreadProc) {
            nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
        } else if (pThread->InitInstance()) {
            nResult = (UINT)pThread->Run();
        } else {
            nResult = (UINT)pThread->ExitInstance();
        }
    } catch (CException* e) {
        // An exception must not leave the thread: it would end the process.
        e->Delete();
        nResult = (UINT)-1;
    }
    t_pCurrentThread = NULL;
    pThread->Delete();
    return nResult;
}

} // namespace

CWinThread::CWinThread()
    : m_hThread(NULL), m_nThreadID(0), m_bAutoDelete(TRUE), m_pMainWnd(NULL), m_pActiveWnd(NULL),
      m_pfnThreadProc(NULL), m_pThreadParams(NULL)
{
}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) : CWinThread()
{
    m_pfnThreadProc = pfnThreadProc;
    m_pThreadParams = pParam;
}

CWinThread::~CWinThread()
{
    if (m_hThread != NULL)
        CloseHandle(m_hThread);
    if (t_pCurrentThread == this)
        t_pCurrentThread = NULL;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    // Always start suspended: the thread may end (and delete this object)
    // before _beginthreadex returns otherwise.
    unsigned nThreadID = 0;
    uintptr_t h = _beginthreadex(lpSecurityAttrs, nStackSize, &ThreadEntry, this,
                                 dwCreateFlags | CREATE_SUSPENDED,
                                 &nThreadID);
    if (h == 0)
        return FALSE;
    m_hThread = reinterpret_cast<HANDLE>(h);
    m_nThreadID = nThreadID;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

int CWinThread::GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
BOOL CWinThread::SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
DWORD CWinThread::SuspendThread() { return ::SuspendThread(m_hThread); }
DWORD CWinThread::ResumeThread() { return ::ResumeThread(m_hThread); }

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
}

BOOL CWinThread::InitInstance() { return FALSE; }
// Run, ExitInstance and the rest of the message loop are in the window half
// (framework/ui/src/uiapp.cpp).

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                                  DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (pfnThreadProc == NULL)
        AfxThrowInvalidArgException();
    CWinThread* pThread = new CWinThread(pfnThreadProc, pParam);
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        pThread->m_bAutoDelete = TRUE;
        pThread->Delete();
        return NULL;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete)
{
    CWinThread* pThread = t_pCurrentThread;
    t_pCurrentThread = NULL;
    if (pThread && bDelete)
        pThread->Delete();
    _endthreadex(nExitCode);
    __builtin_unreachable();
}

CWinThread* AFXAPI AfxGetThread()
{
    if (t_pCurrentThread)
        return t_pCurrentThread;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_nThreadID == GetCurrentThreadId())
        return pApp;
    return NULL;
}
