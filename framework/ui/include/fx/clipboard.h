// fx/clipboard.h - opening the clipboard and putting text on it.
//
// The clipboard is one lock for the whole desktop: another program (a
// clipboard viewer, a test reading it) may hold it for a moment, and a
// single OpenClipboard call then fails. OpenClipboardPatiently tries again
// for a short while before it gives up.
#pragma once

#include <fx/core.h>

#include <string.h>

namespace fx {

// OpenClipboard for hOwner (may be NULL), tried every 10 ms for up to
// nTimeoutMs. TRUE when the clipboard is open; the caller closes it.
inline BOOL OpenClipboardPatiently(HWND hOwner, DWORD nTimeoutMs = 500)
{
    const ULONGLONG end = ::GetTickCount64() + nTimeoutMs;
    for (;;) {
        if (::OpenClipboard(hOwner))
            return TRUE;
        if (::GetTickCount64() >= end)
            return FALSE;
        ::Sleep(10);
    }
}

// Replaces the clipboard's content with lpszText (the process's char text,
// UTF-8 where the process runs with that code page) as CF_UNICODETEXT, so
// every reader gets the same characters, and as CF_TEXT as it stands. TRUE
// when both were put on the clipboard.
inline BOOL SetClipboardText(HWND hOwner, LPCSTR lpszText)
{
    if (lpszText == NULL)
        lpszText = "";
    const size_t nBytes = strlen(lpszText) + 1;
    const int nWide = ::MultiByteToWideChar(CP_ACP, 0, lpszText, (int)nBytes, NULL, 0);
    HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, nBytes);
    HGLOBAL hWide = nWide > 0 ? ::GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)nWide * sizeof(WCHAR)) : NULL;
    BOOL bFilled = hText != NULL && hWide != NULL;
    if (bFilled) {
        void* pText = ::GlobalLock(hText);
        WCHAR* pWide = (WCHAR*)::GlobalLock(hWide);
        bFilled = pText != NULL && pWide != NULL;
        if (bFilled) {
            memcpy(pText, lpszText, nBytes);
            bFilled = ::MultiByteToWideChar(CP_ACP, 0, lpszText, (int)nBytes, pWide, nWide) == nWide;
        }
        if (pText != NULL)
            ::GlobalUnlock(hText);
        if (pWide != NULL)
            ::GlobalUnlock(hWide);
    }
    BOOL bOk = FALSE;
    if (bFilled && OpenClipboardPatiently(hOwner)) {
        if (::EmptyClipboard()) {
            // Once given to the clipboard a block is the clipboard's.
            if (::SetClipboardData(CF_UNICODETEXT, hWide) != NULL) {
                hWide = NULL;
                if (::SetClipboardData(CF_TEXT, hText) != NULL) {
                    hText = NULL;
                    bOk = TRUE;
                }
            }
        }
        bOk = ::CloseClipboard() && bOk;
    }
    if (hText != NULL)
        ::GlobalFree(hText);
    if (hWide != NULL)
        ::GlobalFree(hWide);
    return bOk;
}

} // namespace fx
