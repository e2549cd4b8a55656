// qx/frameskin.h - the window side of the Office 2007 frame skin: a
// top-level window whose borders, caption and caption buttons the theme
// paints (COffice2007Theme::DrawFrame) and whose corners it rounds
// (CalcFrameRegion).
//
// COffice2007FrameSkin subclasses the window (comctl32's window subclassing)
// and keeps the system's frame metrics: the client area is where Windows
// puts it. It paints the non-client area itself, hit-tests its own caption
// buttons (close, maximize or restore, minimize, right to left) and runs
// them the way the system's do: a press arms the button, moving off and
// back disarms and re-arms it, and the command (WM_SYSCOMMAND) is sent on
// release over the armed button. Hot tracking follows the pointer over the
// caption. UI thread only.
#pragma once

#include <qx/office2007.h>

class COffice2007FrameSkin {
public:
    COffice2007FrameSkin();
    ~COffice2007FrameSkin();
    COffice2007FrameSkin(const COffice2007FrameSkin&) = delete;
    COffice2007FrameSkin& operator=(const COffice2007FrameSkin&) = delete;

    // Skins the window with a theme (held with a reference until Detach).
    BOOL Attach(HWND hWnd, COffice2007Theme* pTheme);
    void Detach();
    HWND GetHwnd() const { return m_hWnd; }

    // The frame as it is now: sizes, state and caption buttons (window
    // coordinates).
    QXPFrameSkin GetFrame() const;
    // The caption button under a point in window coordinates: its command,
    // 0 for none.
    UINT HitTestButton(CPoint ptWindow) const;
    // The height of the status-bar strip beside the bottom border (0: none).
    void SetStatusBarHeight(int cy) { m_nStatusBar = cy; }
    // Paints the non-client area now.
    void Redraw();

protected:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR uId,
                                         DWORD_PTR dwRefData);
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void UpdateRegion();
    void SetHot(UINT nCommand);

    HWND m_hWnd;
    COffice2007Theme* m_pTheme; // referenced while attached
    BOOL m_bActive;
    UINT m_nHot;      // the caption button under the pointer
    UINT m_nTracking; // the button pressed, while the mouse is captured
    BOOL m_bArmed;    // the pointer is over the pressed button
    int m_nStatusBar;
    CSize m_szRegion; // the size the region was made for
};
