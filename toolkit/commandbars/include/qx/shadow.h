// qx/shadow.h - soft drop shadows of popup bars: two thin layered windows,
// one along the right edge and one under the bottom edge of the owner, that
// follow it and go away when it hides or is destroyed.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <vector>

// Width of the shadow strips in pixels.
#define QXP_SHADOW_SIZE 4

class CQXPShadowWnd;

class CQXPShadowManager {
public:
    static CQXPShadowManager* AFXAPI Instance();
    ~CQXPShadowManager();

    // TRUE when the system can draw layered (per-pixel alpha) windows.
    BOOL IsLayered() const { return m_pfnUpdateLayeredWindow != NULL; }
    // Gives a shown window its two shadows (none when they cannot be
    // layered); existing shadows of the window move along instead.
    void SetShadow(HWND hWndOwner);
    // Removes the shadows of a window.
    void RemoveShadows(HWND hWndOwner);
    // The shadow windows of a window (0 or 2).
    int GetShadowCount(HWND hWndOwner) const;
    // The shadow windows of a window, right then bottom.
    std::vector<HWND> GetShadowWindows(HWND hWndOwner) const;

    typedef BOOL(WINAPI* PFNUPDATELAYEREDWINDOW)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                                 DWORD);
    PFNUPDATELAYEREDWINDOW m_pfnUpdateLayeredWindow;

private:
    friend class CQXPShadowWnd;
    CQXPShadowManager();
    void Forget(CQXPShadowWnd* pShadow);
    std::vector<CQXPShadowWnd*> m_shadows;
};
