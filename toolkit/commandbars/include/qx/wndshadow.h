// qx/wndshadow.h - edge shadows of any top-level popup window: a strip 4
// pixels wide under its bottom edge and one beside its right edge, each a
// tool window of its own that follows the owner (through a window hook on
// it) until the owner is destroyed; then the strips are hidden and parked
// for the next owner. The colour popup of the colour picker is the caller.
//
// Where the system has UpdateLayeredWindow a strip is a per-pixel alpha
// window with the picture of qx/shadowstrip.h (the light ramp, premultiplied, so
// it only darkens what lies below whatever the shadow colour); otherwise the
// strip copies the screen under itself when shown and darkens that copy.
//
// A strip that meets the control which opened its owner (the exclusion
// rectangle) has that part cut away; a strip that meets another owner's
// strip of the other side at a corner is extended to join it.
//
// The window-free arithmetic is exposed for tests. UI thread only.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/barshadow.h>
#include <qx/shadowstrip.h>
#include <qx/windowhook.h>

#include <vector>

// Private messages of a strip: follow the owner, remove.
#define QXWM_SHADOW_FOLLOW 0x2743
#define QXWM_SHADOW_REMOVE 0x2744

// A strip's side.
enum {
    kShadowRight = 0,
    kShadowBottom = 1
};

// The strip after joining a corner with another owner's strip of the other
// side: a bottom strip whose left end meets a right strip (its right edge
// one pixel right of this left edge, spanning this strip vertically) grows
// left by 2t + 1; a right strip whose top meets a bottom strip (its bottom
// one pixel below this top, spanning this strip horizontally) grows up by
// 2t. Otherwise unchanged.
CRect AFXAPI WndShadowJoinCorner(const CRect& rcStrip, int nSide, const CRect& rcOther, int nThickness = 4);
// The part of a strip (screen) that the exclusion rectangle covers, in the
// strip's window coordinates; empty when they do not meet.
CRect AFXAPI WndShadowExcludedPart(const CRect& rcStrip, const CRect& rcExclude);
// The amount a screen copy (snapshot mode) is darkened by at a pixel, per
// channel: the alpha of the light layered picture there (the ramp 60, 45,
// 30, 15 from the owner's edge, 3 * i * j at the corners).
int AFXAPI WndShadowSnapshotAmount(int x, int y, int cx, int cy, int nSide);

class WndShadowManager;

// Sees the owner's messages for one strip.
class WndShadowHook : public CQXWndHook {
public:
    explicit WndShadowHook(HWND hWndStrip) : m_hWndStrip(hWndStrip) {}
    LRESULT DefaultProc(UINT nMessage, WPARAM wParam, LPARAM lParam) override;
    HWND m_hWndStrip;
};

class WndShadowWindow : public CWnd {
public:
    WndShadowWindow();
    ~WndShadowWindow() override;

    int GetSide() const { return m_nSide; }
    HWND GetOwnerWindow() const { return m_hWndOwner; }
    BOOL IsLayeredStrip() const { return m_bLayered; }
    BOOL IsFollowing() const { return m_bFollow; }
    const CRect& GetExclusion() const { return m_rcExclude; }

protected:
    friend class WndShadowManager;

    // Cuts the exclusion rectangle out of the window region (or clears it).
    void ApplyExclusion();
    // Re-joins corners with the other active strips.
    void JoinCorners();
    void DrawLayered(int cx, int cy);
    void Capture();

    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnFollow(WPARAM, LPARAM);
    afx_msg LRESULT OnRemove(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    int m_nThickness; // 4
    BOOL m_bFollow;   // moves with the owner
    int m_nSide;      // kShadowBottom or kShadowRight
    BOOL m_bLayered;  // per-pixel alpha
    BOOL m_bSnapshot; // a darkened copy of the screen
    HWND m_hWndOwner;
    CRect m_rcExclude;      // screen; the part to cut away
    CBitmap m_bmpSnapshot;  // snapshot mode only
    WndShadowHook* m_pHook; // on the owner; owned
    WndShadowManager* m_pManager;
};

class WndShadowManager {
public:
    WndShadowManager();
    ~WndShadowManager();
    WndShadowManager(const WndShadowManager&) = delete;
    WndShadowManager& operator=(const WndShadowManager&) = delete;

    // The bottom strip, then the right strip, both following the owner.
    void SetShadow(CWnd* pOwner, const CRect& rcExclude);
    WndShadowWindow* CreateStrip(int nSide, const CRect& rcOwner, const CRect& rcExclude, CWnd* pOwner,
                                 BOOL bFollow = TRUE);
    // Removes a strip from the active list and parks it for reuse.
    void Recycle(WndShadowWindow* pStrip);

    const std::vector<WndShadowWindow*>& GetActive() const { return m_active; }
    const std::vector<WndShadowWindow*>& GetRecycled() const { return m_recycled; }
    // Forces snapshot mode (no layered windows) for strips made from now on.
    void SetLayered(BOOL bLayered) { m_bUseLayered = bLayered; }
    BOOL IsLayered() const { return m_bUseLayered && m_pfnUpdateLayeredWindow != NULL; }

    CLayeredShadowManager::PFNUPDATELAYEREDWINDOW m_pfnUpdateLayeredWindow;

private:
    std::vector<WndShadowWindow*> m_active;
    std::vector<WndShadowWindow*> m_recycled;
    BOOL m_bUseLayered;
};

// The process-wide manager (made on first use, destroyed at exit).
WndShadowManager* AFXAPI GetWndShadowManager();
