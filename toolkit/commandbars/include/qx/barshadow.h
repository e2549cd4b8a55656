// qx/barshadow.h - the drop shadows of popup bars and expanded controls: two
// thin top-level windows per owner, one under its bottom edge and one beside
// its right edge, painted with per-pixel alpha where the system can layer
// windows (4 pixels thick) and as opaque 2-pixel strips in the button-shadow
// colour where it cannot.
//
// One manager per process (GetLayeredShadowManager) keeps the list of live
// shadows. A shadow follows its owner window through the window-hook
// manager: it hides and shows with the owner and goes away when the owner is
// destroyed. Shadows never take the mouse (every hit test answers
// HTTRANSPARENT), the focus or the activation.
//
// What a shadow looks like comes from the owner's paint manager (for a
// command bar its GetPaintManager, else the global one): the shadow options
// (light shadow, clipping against the opening control), whether the theme
// forces shadows or follows the system's drop-shadow setting, whether it
// has shadows at all, and the shadow colour.
//
// All of it runs on the UI thread.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/hooks.h>
#include <qx/shadowstrip.h>

#include <vector>

class CQXPControl;
class CQXPThemePainter;
class CLayeredShadowManager;

// Attaches a new bottom-up 32-bit-per-pixel DIB section of cx x cy pixels to
// the bitmap object (which must be empty); its bits through ppvBits when
// given. FALSE for an empty size or when the section cannot be made.
BOOL AFXAPI CreateBitmap32(CBitmap* pBitmap, int cx, int cy, void** ppvBits = NULL);

// ---------------------------------------------------------------------------
// One shadow window.
class CLayeredShadowWnd : public CWnd {
public:
    CLayeredShadowWnd();
    ~CLayeredShadowWnd() override;

    // The shadow under the owner (TRUE) or beside its right edge.
    BOOL IsBottomShadow() const { return m_bBottom; }
    // A window region cuts part of the shadow away.
    BOOL HasRegion() const { return m_bRegion; }
    // The owner's shadow options when the shadow was made.
    int GetShadowOptions() const { return m_nShadowOptions; }
    // The window the shadow belongs to (a popup bar, or the popup of an
    // expanded control).
    HWND GetShadowOwner() const { return m_hWndOwner; }
    // A shadow of an expanded control.
    BOOL IsControlShadow() const { return m_bControl; }
    // Painted with per-pixel alpha (else opaque in colour 16).
    BOOL IsLayeredShadow() const { return m_bLayered; }
    // Strip thickness: 4 layered, 2 opaque.
    int GetThickness() const;

    // Cuts the part that meets a screen rectangle out of the shadow (the
    // region flag is set); nothing when they do not meet.
    void ClipAgainst(const CRect& rcScreen);
    // Removes any region.
    void RemoveRegion();

protected:
    friend class CLayeredShadowManager;

    // Creates the window on first use and places it for an owner rectangle
    // (screen coordinates) without redrawing; FALSE when no window could be
    // made.
    BOOL Place(const CRect& rcOwner, BOOL bNoSaveBits);
    // Draws the layered picture for the window's current size.
    void UpdatePicture();
    // The owner's paint manager (the global one when the owner is no bar).
    CQXPThemePainter* GetOwnerPaintManager() const;
    // Follows the owner: shows, hides, and goes with it.
    int OnOwnerMessage(UINT nMessage, WPARAM wParam, LPARAM lParam);

    // Sees the owner window's messages.
    class COwnerHook : public CWindowHook {
    public:
        explicit COwnerHook(CLayeredShadowWnd* pShadow) : m_pShadow(pShadow) {}
        int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
        CLayeredShadowWnd* m_pShadow;
    };

    BOOL m_bBottom;
    BOOL m_bRegion;
    int m_nShadowOptions;
    HWND m_hWndOwner;
    BOOL m_bControl;
    COwnerHook m_hook;
    BOOL m_bLayered;
    BOOL m_bHooked;
    CRect m_rcExclude; // screen; empty when none
    CSize m_szPicture; // the size the layered picture was drawn for
    COLORREF m_clrShadow;
    CLayeredShadowManager* m_pManager;

    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------
// The process-wide list of shadows.
class CLayeredShadowManager {
public:
    CLayeredShadowManager();
    ~CLayeredShadowManager();
    CLayeredShadowManager(const CLayeredShadowManager&) = delete;
    CLayeredShadowManager& operator=(const CLayeredShadowManager&) = delete;

    // Gives an owner window its bottom and right shadows from its window
    // rectangle. Nothing when the owner is excluded (a popup in customize
    // mode or with ShowShadow off); when its theme does not force shadows,
    // nothing unless the shadows are layered and the system's drop-shadow
    // setting is on. rcExclude (screen; may be empty) is the opening control.
    void SetShadow(CWnd* pOwner, const CRect& rcExclude);
    void SetShadow(HWND hWndOwner, const CRect& rcExclude);
    // The two shadows that join an expanded control (its rectangle in screen
    // coordinates) to its open popup bar; they belong to the popup. Only when
    // the parent bar is not being customized, both option bits of its theme
    // are set and the theme gives popups shadows; earlier shadows of a
    // control on that popup are replaced.
    void SetControlShadow(CQXPControl* pControl);
    // One shadow for an owner rectangle (screen); NULL when the owner's theme
    // has shadows off or no window could be made.
    CLayeredShadowWnd* CreateShadow(BOOL bBottom, const CRect& rcOwner, const CRect& rcExclude, CWnd* pOwner,
                                    BOOL bControl);
    CLayeredShadowWnd* CreateShadow(BOOL bBottom, const CRect& rcOwner, const CRect& rcExclude, HWND hWndOwner,
                                    BOOL bControl);
    // The owner grew by dx, dy: its shadows (not those of controls) move and
    // stretch along.
    void OffsetShadows(CWnd* pOwner, int dx, int dy);
    void OffsetShadows(HWND hWndOwner, int dx, int dy);
    // Hides, unhooks, unlists, destroys and deletes every shadow of an owner,
    // or one shadow.
    void RemoveShadows(CWnd* pOwner);
    void RemoveShadows(HWND hWndOwner);
    void RemoveShadow(CLayeredShadowWnd* pShadow);

    // Shadows are drawn with per-pixel alpha.
    BOOL IsLayered() const { return m_bLayered; }
    // Turns the layered drawing off (opaque 2-pixel strips) or back on; it
    // stays off without UpdateLayeredWindow. Shadows made before keep their
    // kind.
    void SetLayered(BOOL bLayered);
    // Where the system's drop-shadow setting comes from (NULL:
    // SystemParametersInfo SPI_GETDROPSHADOW).
    typedef BOOL(AFXAPI* PFNDROPSHADOWQUERY)();
    void SetDropShadowQuery(PFNDROPSHADOWQUERY pfn) { m_pfnDropShadowQuery = pfn; }
    BOOL IsSystemDropShadow() const;

    // The live shadows of an owner (all of them for NULL), in creation order.
    std::vector<CLayeredShadowWnd*> GetShadows(HWND hWndOwner = NULL) const;
    int GetShadowCount(HWND hWndOwner = NULL) const { return (int)GetShadows(hWndOwner).size(); }

    typedef BOOL(WINAPI* PFNUPDATELAYEREDWINDOW)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                                 DWORD);
    // UpdateLayeredWindow of "USER32", NULL when the system has none.
    PFNUPDATELAYEREDWINDOW m_pfnUpdateLayeredWindow;

protected:
    // TRUE when the owner takes no shadows.
    BOOL IsOwnerExcluded(HWND hWndOwner) const;
    // Cuts the other owners' windows out of a new shadow.
    void ClipAgainstOtherOwners(CLayeredShadowWnd* pShadow);
    // Unhooks the shadow, drops it from the list, destroys its window (while
    // it exists) and deletes it.
    void DeleteShadow(CLayeredShadowWnd* pShadow);

    CTypedPtrList<CPtrList, CLayeredShadowWnd*> m_lstShadow;
    BOOL m_bLayered;
    PFNDROPSHADOWQUERY m_pfnDropShadowQuery;
};

// The process-wide shadow manager (made on first use, destroyed at exit).
CLayeredShadowManager* AFXAPI GetLayeredShadowManager();
