// qx/ribbonframehook.h - RibbonFrameHook: the Office 2007 frame skin on a
// window, through the hook manager (qx/hooks.h).
//
// One hook serves both cases:
// - no ribbon (or a ribbon that does not show): the theme paints the
//   borders and a normal caption with icon, title and caption buttons
//   (COffice2007Theme::DrawFrame); the caption buttons act on release over
//   themselves (WM_SYSCOMMAND), the way the system's do;
// - a ribbon docked at the top and shown: the client area reaches the top
//   edge and the ribbon draws the caption (its top border is the frame's
//   border width); the hook paints the side and bottom borders.
//
// The command bars manager makes one when frame theming is switched on
// (CQXPCommandBars::EnableFrameTheme, themes 5 and 6 only) and deletes it
// once, when the switch, the theme or the site goes. COffice2007FrameSkin
// (qx/frameskin.h) puts one on a window without command bars.
//
// Messages taken: WM_NCCALCSIZE (side and bottom borders; the top inset is
// the caption height when UsesSystemMetrics, else 0), WM_NCPAINT and
// WM_NCACTIVATE (painted by the theme; TRUE), WM_SETTEXT and WM_SETICON (no
// system caption painting, then a repaint), WM_NCHITTEST, the non-client
// mouse (caption-button states, WM_SYSCOMMAND on release), WM_SIZE
// (UpdateFrameRegion), style, setting and theme changes
// (RefreshFrameRegion), WM_IDLEUPDATECMDUI after PostUpdate (RecalcFrame),
// WM_GETMINMAXINFO (a maximised frame covers its monitor's work area, its
// borders beyond it) and WM_DWMCOMPOSITIONCHANGED. With composition the
// system's own hit test (DwmDefWindowProc) answers first. UI thread only.
#pragma once

#include <qx/hooks.h>
#include <qx/office2007.h>
#include <qx/ribbonlayout.h>

class CQXPCommandBars;
class CQXPRibbonBar;

#ifndef WM_DWMCOMPOSITIONCHANGED
#define WM_DWMCOMPOSITIONCHANGED 0x031E
#endif

class RibbonFrameHook : public CWindowHook {
public:
    // The theme comes from the command bars when there are some, else it is
    // pTheme (held with a reference).
    RibbonFrameHook(HWND hWnd, CQXPCommandBars* pCommandBars, COffice2007Theme* pTheme = NULL);
    ~RibbonFrameHook() override;
    RibbonFrameHook(const RibbonFrameHook&) = delete;
    RibbonFrameHook& operator=(const RibbonFrameHook&) = delete;

    // Sets the hook on its window and takes the frame over (the frame is
    // measured and painted again); Detach gives it back.
    BOOL Attach();
    void Detach();

    HWND GetHwnd() const { return m_hWnd; }
    CQXPCommandBars* GetCommandBars() const { return m_pCommandBars; }
    // The paint manager that paints the frame (NULL when it is no Office
    // 2007 theme).
    COffice2007Theme* GetTheme() const;
    // The ribbon of the command bars (NULL without one).
    CQXPRibbonBar* GetRibbonBar() const;

    BOOL IsMaximizedMdiChild() const;
    // TRUE while the frame has a caption of its own (no ribbon shows it:
    // none, hidden, its window hidden with all bars, too small, not at
    // the top).
    BOOL UsesSystemMetrics() const;
    // The same as it would be with the ribbon's window shown or hidden.
    BOOL UsesSystemMetrics(BOOL bRibbonWindowShown) const;
    // The caption height: the ribbon's when it draws the caption, else the
    // border width plus the theme's caption height.
    int GetCaptionHeight() const;
    // The frame border width (the ribbon's top border).
    int GetFrameBorder() const;
    // The frame is extended into the client area with desktop composition.
    BOOL IsDwmEnabled() const { return m_bDwmEnabled; }
    // The frame is the active window (its caption draws active).
    BOOL IsFrameActive() const { return m_bActive; }
    // The status bar's window height when the theme skins it: the frame's
    // status bar (AFX_IDW_STATUS_BAR) is shown and drawn by this hook's
    // theme (it answers QXP_WM_GETTHEMEVALUE with the theme's id).
    BOOL GetStatusBarHeight(int* pcy) const;

    // Asks for a frame recalculation at the frame's next idle update.
    void PostUpdate();
    BOOL IsUpdatePosted() const { return m_bUpdatePosted; }
    // Forgets the region's size, makes the frame measure its non-client area
    // again, lays the frame and the command bars out.
    void RecalcFrame();
    // The region for a window of cx × cy (see qxribbon::FrameRegionTracker);
    // the result of the region or composition call, 0 when nothing changed.
    int UpdateFrameRegion(int cx, int cy, BOOL bForce);
    void RefreshFrameRegion();
    BOOL IsRegionUpdating() const { return m_region.IsUpdating(); }

    // The frame as it is now (window coordinates) with its caption buttons;
    // with a ribbon drawing the caption, no caption band and no buttons.
    QXPFrameSkin GetFrame() const;
    // The caption button under a point in window coordinates (0: none).
    UINT HitTestButton(CPoint ptWindow) const;
    // The frame's hit test for a point in window coordinates.
    LRESULT HitTest(CPoint ptWindow) const;
    // Paints the non-client area now.
    void Redraw();
    // A status-bar strip the theme draws beside the bottom border, for a
    // window without command bars (0: none).
    void SetStatusBarHeight(int cy) { m_nStatusBarOverride = cy; }

    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    // With composition, the system's hit test of the frame's glass caption
    // (its caption buttons) for a screen point: TRUE with its answer when
    // the system took the point.
    BOOL DwmDefHitTest(CPoint ptScreen, LRESULT* plResult) const;

    // Seams: desktop composition (Wine has none), the frame extension and
    // the system's default handling of a composited frame.
    BOOL (*m_pfnIsCompositionEnabled)
    ();
    HRESULT (*m_pfnExtendFrameIntoClientArea)
    (HWND hWnd, int nTopMargin);
    BOOL(*m_pfnDwmDefWindowProc)
    (HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT* plResult);

protected:
    void SetHot(UINT nCommand);
    void UpdateComposition();
    // The ribbon's window, redrawn with the frame (its caption band).
    void RedrawRibbon();

    HWND m_hWnd;
    CQXPCommandBars* m_pCommandBars;
    COffice2007Theme* m_pTheme; // referenced; used without command bars
    BOOL m_bAttached;
    BOOL m_bActive;
    BOOL m_bUpdatePosted;
    BOOL m_bDwmEnabled;
    int m_nFrameBorder;
    int m_nStatusBarOverride;
    UINT m_nHot;      // the caption button under the pointer
    UINT m_nTracking; // the button pressed, while the mouse is captured
    BOOL m_bArmed;    // the pointer is over the pressed button
    qxribbon::FrameRegionTracker m_region;
};

// Installs the frame-hook factory of the command bars manager (called by
// RegisterOffice2007Themes).
void AFXAPI RegisterRibbonFrameHook();
