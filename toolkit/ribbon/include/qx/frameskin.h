// qx/frameskin.h - the Office 2007 frame skin on a window without command
// bars: a top-level window whose borders, caption and caption buttons the
// theme paints (COffice2007Theme::DrawFrame) and whose corners it rounds
// (CalcFrameRegion). The work is the frame hook's (qx/ribbonframehook.h);
// this object owns one for its window.
//
// The caption buttons (close, maximize or restore, minimize, right to left)
// act the way the system's do: a press arms the button, moving off and back
// disarms and re-arms it, and the command (WM_SYSCOMMAND) is sent on
// release over the armed button. Hot tracking follows the pointer over the
// caption. UI thread only.
#pragma once

#include <qx/ribbonframehook.h>

class COffice2007FrameSkin {
public:
    COffice2007FrameSkin();
    ~COffice2007FrameSkin();
    COffice2007FrameSkin(const COffice2007FrameSkin&) = delete;
    COffice2007FrameSkin& operator=(const COffice2007FrameSkin&) = delete;

    // Skins the window with a theme (held with a reference until Detach).
    BOOL Attach(HWND hWnd, COffice2007Theme* pTheme);
    void Detach();
    HWND GetHwnd() const { return m_pHook ? m_pHook->GetHwnd() : NULL; }
    RibbonFrameHook* GetHook() const { return m_pHook; }

    // The frame as it is now: sizes, state and caption buttons (window
    // coordinates).
    QXPFrameSkin GetFrame() const { return m_pHook ? m_pHook->GetFrame() : QXPFrameSkin(); }
    // The caption button under a point in window coordinates: its command,
    // 0 for none.
    UINT HitTestButton(CPoint ptWindow) const { return m_pHook ? m_pHook->HitTestButton(ptWindow) : 0; }
    // The height of the status-bar strip beside the bottom border (0: none).
    void SetStatusBarHeight(int cy);
    // Paints the non-client area now.
    void Redraw();

protected:
    RibbonFrameHook* m_pHook; // owned while attached
    int m_nStatusBar;
};
