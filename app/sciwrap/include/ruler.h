// ruler.h - hook windows and the editor's ruler.
//
// COXHookWnd subclasses a window as a link of the toolkit's subclass chains
// (qx/windowhook.h): several hooks can watch one window's messages without
// knowing of each other. Later hooks go in front of the chain; each passes
// what it does not swallow to the next one and the last to the window's own
// procedure. When the window is destroyed every hook is removed and the
// window's own procedure put back before WM_NCDESTROY reaches it; a
// subclasser installed on top in the meantime is never cut out.
//
// CRulerHook reserves a horizontal strip along the top and a vertical strip
// along the left of the hooked window's non-client area and paints a ruler
// into each (through two CRulerBar drawing objects). The rulers follow the
// window's scroll positions and mark the mouse position.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/windowhook.h>

#include <vector>

// ---------------------------------------------------------------------------
class COXHookWnd : public CSubclassLink {
    DECLARE_DYNAMIC(COXHookWnd)
public:
    COXHookWnd();
    ~COXHookWnd() override;

    // Puts this hook in front of the window's chain. FALSE when the window is
    // not valid or this hook already watches a window.
    virtual BOOL HookWindow(HWND hWnd);
    // Takes this hook out of its window's chain (nothing when unhooked).
    virtual void UnhookWindow();

    // A 100 ms timer (id 1) on the window that notices the mouse leaving.
    virtual void StartMouseTracking();
    virtual void StopMouseTracking();

    HWND GetHookedWindow() const { return m_hWnd; }
    BOOL IsHooked() const { return m_hWnd != NULL; }

    // The first hook of a window (NULL when it has none).
    static COXHookWnd* PASCAL FindFirstHook(HWND hWnd);

    // Posted to the hooked window when the mouse enters or leaves it.
    enum {
        WM_HOOK_MOUSEENTER = 32906,
        WM_HOOK_MOUSELEAVE = 32907
    };
    enum {
        TRACK_TIMER_ID = 1
    };

protected:
    // A message of the hooked window. The default notices the mouse entering
    // and leaving, then passes the message on (Default).
    virtual LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);
    // Passes the current message to the next hook, or to the window's own
    // procedure after the last one.
    LRESULT Default(UINT nMsg, WPARAM wParam, LPARAM lParam);

    LRESULT OnLinkMessage(UINT nMessage, WPARAM wParam, LPARAM lParam) override;
    // Unhooks (UnhookWindow).
    void OnLinkWindowDestroyed() override;

    UINT_PTR m_nTrackTimer;
    int m_bMouseInside;
};

// ---------------------------------------------------------------------------
// One ruler's drawing state. The window is never shown; it only carries the
// state (window class "RulerBarWnd").
class CRulerBar : public CWnd {
    DECLARE_DYNAMIC(CRulerBar)
public:
    CRulerBar();
    ~CRulerBar() override;

    BOOL Create(CWnd* pParent, BOOL bHorizontal, const RECT& rect, DWORD dwStyle, int nUnits, UINT nID);
    BOOL Create(HWND hParent, BOOL bHorizontal, const RECT& rect, DWORD dwStyle, int nUnits, UINT nID);

    // Orientation and units (100: ten subdivisions, else four); makes the two
    // fonts (12 pixels, the UI face; the vertical one turned by 90 degrees).
    void SetOrientation(BOOL bHorizontal, int nUnits);

    // Paints the ruler into rcBar of pDC (through a memory bitmap), limited
    // to rcClip; the marker is inverted on top when shown.
    void Draw(CDC* pDC, const RECT& rcBar, const RECT& rcClip);
    void Draw(HDC hDC, const RECT& rcBar, const RECT& rcClip);
    // Moves the marker band (nWidth pixels at nPosition from the bar's start)
    // by inverting only what changed; a position outside the bar erases it.
    void MoveMarker(CDC* pDC, const RECT& rcBar, int nPosition, int nWidth);
    void MoveMarker(HDC hDC, const RECT& rcBar, int nPosition, int nWidth);
    void ResetMarker()
    {
        m_bMarkerShown = FALSE;
        ::SetRectEmpty(&m_rcMarker);
    }

    // The scroll offset in pixels; TRUE when it changed.
    BOOL SetOffset(int nOffset);
    int GetOffset() const { return m_nOffset; }
    int GetUnitPixels() const { return m_nUnitPixels; }
    void SetZoom(double dZoom, BOOL bUseZoom)
    {
        m_dZoom = dZoom;
        m_bUseZoom = bUseZoom;
    }
    BOOL IsHorizontal() const { return m_bHorizontal; }
    BOOL IsMarkerShown() const { return m_bMarkerShown; }
    const RECT& GetMarkerRect() const { return m_rcMarker; }

    // What the bar draws for a bar nLength pixels long (from its inner start
    // edge): tick marks and unit labels, in drawing order.
    struct Mark {
        double dPos;    // pixels from the inner start edge (labels: the centre)
        int nUnit;      // unit number
        int nKind;      // 0 short tick, 1 long tick, 2 label
        char szText[8]; // label text
    };
    void ComputeMarks(int nLength, std::vector<Mark>& marks) const;

    static const char* const kClassName; // "RulerBarWnd"

protected:
    BOOL m_bHorizontal;
    int m_nOffset;
    int m_nUnitPixels;
    int m_nUnits;
    double m_dZoom;
    BOOL m_bUseZoom;
    HFONT m_hFontHorizontal;
    HFONT m_hFontVertical;
    RECT m_rcMarker;
    RECT m_rcMarkerPrev;
    BOOL m_bMarkerShown;

private:
    void DeleteFonts();
    // Inverts the band [nFrom, nTo) along the bar within the cross extent.
    void InvertBand(HDC hDC, const RECT& rcInner, int nFrom, int nTo);
};

// ---------------------------------------------------------------------------
class CRulerHook : public COXHookWnd {
public:
    CRulerHook();
    ~CRulerHook() override;

    // Hooks the window and reserves the strips asked for. FALSE when the
    // window is not valid, this hook is attached already, or a bar cannot be
    // made (nothing stays attached then).
    BOOL Attach(HWND hWnd, BOOL bShowHorizontal = TRUE, BOOL bShowVertical = TRUE);
    BOOL Attach(CWnd* pWnd, BOOL bShowHorizontal = TRUE, BOOL bShowVertical = TRUE)
    {
        return Attach(pWnd ? pWnd->GetSafeHwnd() : (HWND)NULL, bShowHorizontal, bShowVertical);
    }
    // Gives the strips back to the client area and unhooks.
    void Detach();

    // Shows or hides the rulers; the window's frame is recalculated and
    // redrawn.
    void ShowRulers(BOOL bShowHorizontal, BOOL bShowVertical);
    BOOL IsHorizontalShown() const { return m_bShowHorizontal; }
    BOOL IsVerticalShown() const { return m_bShowVertical; }

    // A new scroll state of the window: nBar 0 updates the horizontal ruler,
    // 1 the vertical one (the window's owner relays its scroll changes).
    void OnScroll(int nBar, const SCROLLINFO& si);
    // Re-reads both offsets (see ScrollOffset) and redraws the rulers when
    // one changed. TRUE when one changed.
    BOOL SyncScrollOffsets();

    // Recomputes the strips' rectangles; bRedraw also recalculates and
    // redraws the window's frame.
    virtual void RecalcLayout(BOOL bRedraw);

    const RECT& GetHorizontalRect() const { return m_rcHorizontal; }
    const RECT& GetVerticalRect() const { return m_rcVertical; }
    const RECT& GetCornerRect() const { return m_rcCorner; }
    CRulerBar& GetHorizontalBar() { return m_horizontal; }
    CRulerBar& GetVerticalBar() { return m_vertical; }

    // Pixel offset from a scroll state: the position scaled by the client
    // extent over the page (when both are known), rounded down to whole
    // hundredths of a unit.
    static int ScrollToOffset(int nPos, int nPage, int nClientExtent, int nUnitPixels);

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
    // The window's scroll offset in pixels along nBar (SB_HORZ or SB_VERT).
    // The default reads the window's scroll bar (ScrollToOffset); windows
    // that know their pixel offsets override it.
    virtual int ScrollOffset(int nBar);
    // Paints both strips into the window's frame.
    void PaintRulers(HDC hWindowDC);
    void RedrawFrame();

    BOOL m_bShowHorizontal;
    BOOL m_bShowVertical;
    RECT m_rcHorizontal;
    RECT m_rcVertical;
    RECT m_rcCorner;
    int m_nHorizontalHeight;
    int m_nVerticalWidth;
    CRulerBar m_horizontal;
    CRulerBar m_vertical;
};
