// qx/custom.h - a control that hosts a child window on a bar (a search box,
// for example). The bar reserves a rectangle for it in its layout; the
// window is made a child of the bar, moved into that rectangle, shown,
// hidden and enabled with the control, and found again by its dialog id
// after a stored layout is loaded.
//
// The window belongs to the application: the control never destroys it.
// Removing the control (or the bar) hands the window back to the frame,
// hidden. Copies made for the bar's original-controls record never touch
// the window.
#pragma once

#include <qx/control.h>
#include <qx/hooks.h>

class CQXPCommandBars;

// What a custom control does in a vertical layout (VerticalOptions).
enum QXPCustomVerticalOptions {
    qxpVerticalHide = 0,   // the control is hidden (HideFlags 0x04)
    qxpVerticalShow = 1,   // nothing changes
    qxpVerticalButton = 2, // only the window is hidden; a plain button remains
};

class CQXPControlCustom : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlCustom)
public:
    CQXPControlCustom();
    ~CQXPControlCustom() override;

    // A new control hosting the window, with the window's dialog id as its
    // ControlId.
    static CQXPControlCustom* AFXAPI CreateControlCustom(HWND hWnd);
    // The child with that dialog id of the manager's site frame, else of
    // each of its command bars in order; NULL when there is none.
    static HWND AFXAPI FindWindowById(CQXPCommandBars* pCommandBars, int nId);

    // Moves the mouse sink to the new window (NULL allowed) and takes the
    // window's current outer size as ControlSize.
    void SetControl(HWND hWnd);
    HWND GetControlWnd() const { return m_hWndChild; }
    void SetSize(CSize sz) { m_szControl = sz; }
    CSize GetControlSize() const { return m_szControl; }
    void SetBorders(const CRect& rc) { m_rcBorders = rc; }
    CRect GetBorders() const { return m_rcBorders; }
    void SetVerticalOptions(int nOptions) { m_nVerticalOptions = nOptions; }
    int GetVerticalOptions() const { return m_nVerticalOptions; }
    void SetControlId(int nId) { m_nControlId = nId; }
    int GetControlId() const { return m_nControlId; }
    // The window may be shown (cleared on removal and by vertical option 2).
    BOOL IsShowWindow() const { return m_bShowWindow; }

    // Always the button's type: the bar measures and draws the control as
    // a button whenever the window is not shown.
    int GetType() const override { return qxpControlButton; }
    void SetEnabled(BOOL bEnabled) override;
    void SetRect(const CRect& rc) override;
    void SetHideFlags(DWORD dwFlags) override;
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnCalcDynamicSize(DWORD dwMode) override;
    void DoPropExchange(CQXPPropExchange* pPX) override;
    void Copy(CQXPControl* pControl, BOOL bRecursive = FALSE) override;
    // Only popup menus take it while customizing.
    BOOL IsCustomizeDragOverAvail(CQXPCommandBar* pBar, CPoint point, int& nEffect) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnRemoved() override;
    void OnActionChanged(int nProperty) override;
    void SetParent(CQXPCommandBar* pParent) override;
    void OnParentDestroying() override;

protected:
    // Sees the hosted window's messages first: mouse moves go on to the bar
    // so that its hot tracking continues over the window.
    class CMessageSink : public CWindowHook {
    public:
        explicit CMessageSink(CQXPControlCustom* pOwner) : m_pOwner(pOwner) {}
        int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
        CQXPControlCustom* m_pOwner;
        HWND m_hWndHooked = NULL;
    };
    friend class CMessageSink;

    // The window exists and is still the one the control holds.
    BOOL HasWindow() const { return m_hWndChild && ::IsWindow(m_hWndChild); }
    // The control lives in a bar's original-controls record.
    BOOL IsOriginalCopy() const { return m_bOriginalCopy; }
    // Shows or hides the window to match the control (only while the
    // window is a child of the bar).
    void UpdateWindowVisibility();
    // Puts the sink on the hosted window (not for original copies).
    void AttachSink();
    void DetachSink();
    // Gives the window back to the frame (the bar's site), hidden.
    void ReleaseHostedWindow();
    void OnHostedMouseMove(HWND hWnd, WPARAM wParam, LPARAM lParam);
    void OnHostedMouseLeave();

    CMessageSink m_sink;
    HWND m_hWndChild;
    CRect m_rcBorders;
    BOOL m_bShowWindow;
    CSize m_szControl;
    int m_nVerticalOptions;
    int m_nControlId;
    BOOL m_bOriginalCopy;
    BOOL m_bTrackingLeave;
};
