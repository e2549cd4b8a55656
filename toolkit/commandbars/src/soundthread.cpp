// The menu sound thread.

#include <qx/soundthread.h>

#include <mmsystem.h>

ToolkitSoundThread* AFXAPI ToolkitSoundThread::Instance()
{
    static ToolkitSoundThread s_instance;
    return &s_instance;
}

namespace {

// PlaySoundA from winmm.dll, which the first sound loads: a program whose
// menus never sound does not carry the sound system. It runs on the sound
// thread alone; no library or no entry point plays nothing.
BOOL WINAPI PlayThroughWinmm(LPCSTR pszSound, HMODULE hMod, DWORD fdwSound)
{
    static const ToolkitSoundThread::PFNPLAYSOUND s_pfnPlay = [] {
        HMODULE hWinmm = ::LoadLibraryA("winmm.dll");
        return hWinmm != NULL
                   ? reinterpret_cast<ToolkitSoundThread::PFNPLAYSOUND>((void*)::GetProcAddress(hWinmm, "PlaySoundA"))
                   : NULL;
    }();
    return s_pfnPlay != NULL && s_pfnPlay(pszSound, hMod, fdwSound);
}

} // namespace

ToolkitSoundThread::ToolkitSoundThread() : m_nRequest(0), m_hThread(NULL), m_bStop(0), m_pfnPlay(&PlayThroughWinmm) {}

ToolkitSoundThread::~ToolkitSoundThread()
{
    Stop();
}

void ToolkitSoundThread::Play(int nSound)
{
    if (!m_hThread)
        Start();
    m_nRequest = nSound;
}

void ToolkitSoundThread::Start()
{
    m_nRequest = 0;
    m_bStop = 0;
    DWORD dwId = 0;
    HANDLE hThread = ::CreateThread(NULL, 0, &ToolkitSoundThread::ThreadProc, this, CREATE_SUSPENDED, &dwId);
    if (!hThread)
        return;
    ::SetThreadPriority(hThread, THREAD_PRIORITY_BELOW_NORMAL);
    m_hThread = hThread;
    ::ResumeThread(hThread);
}

void ToolkitSoundThread::Stop()
{
    if (!m_hThread)
        return;
    m_bStop = 1;
    DWORD dwCode = 0;
    for (int i = 0; i < 10 && ::GetExitCodeThread(m_hThread, &dwCode) && dwCode == STILL_ACTIVE; i++)
        ::WaitForSingleObject(m_hThread, 100);
    if (::GetExitCodeThread(m_hThread, &dwCode) && dwCode == STILL_ACTIVE)
        ::TerminateThread(m_hThread, 0);
    ::CloseHandle(m_hThread);
    m_hThread = NULL;
}

DWORD WINAPI ToolkitSoundThread::ThreadProc(LPVOID pParam)
{
    ToolkitSoundThread* pThis = static_cast<ToolkitSoundThread*>(pParam);
    while (!pThis->m_bStop) {
        ::Sleep(5);
        int nRequest = pThis->m_nRequest.exchange(0);
        const DWORD dwFlags = SND_ALIAS | SND_NOWAIT | SND_NODEFAULT;
        if (nRequest == qxpSoundMenuCommand)
            pThis->m_pfnPlay.load()("MenuCommand", NULL, dwFlags);
        else if (nRequest == qxpSoundMenuPopup)
            pThis->m_pfnPlay.load()("MenuPopup", NULL, dwFlags);
    }
    pThis->m_pfnPlay.load()(NULL, NULL, SND_PURGE);
    return 0;
}
