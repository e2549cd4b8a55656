// qx/soundthread.h - plays the menu sounds ("MenuCommand", "MenuPopup") on
// a worker thread so the UI thread never waits for the sound system.
#pragma once

#include <fx/fx.h>

#include <atomic>

enum QXPMenuSound {
    qxpSoundNone = 0,
    qxpSoundMenuCommand = 1,
    qxpSoundMenuPopup = 2,
};

class ToolkitSoundThread {
public:
    // The process-wide object; its thread is started by the first request.
    static ToolkitSoundThread* AFXAPI Instance();
    ~ToolkitSoundThread();

    // Asks for a sound; a newer request replaces one not yet played.
    void Play(int nSound);
    // Ends the worker (waits about a second at most).
    void Stop();
    BOOL IsRunning() const { return m_hThread != NULL; }

    // The function that plays an alias (PlaySoundA, from winmm.dll loaded
    // by the first sound, by default); tests replace it.
    typedef BOOL(WINAPI* PFNPLAYSOUND)(LPCSTR pszSound, HMODULE hMod, DWORD fdwSound);
    void SetPlayer(PFNPLAYSOUND pfn) { m_pfnPlay = pfn; }

private:
    ToolkitSoundThread();
    void Start();
    static DWORD WINAPI ThreadProc(LPVOID pParam);

    std::atomic<int> m_nRequest;
    HANDLE m_hThread;
    std::atomic<int> m_bStop;
    std::atomic<PFNPLAYSOUND> m_pfnPlay;
};
