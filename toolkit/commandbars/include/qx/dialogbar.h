// qx/dialogbar.h - CQXPDialogBar, a toolbar whose body is one hosted child
// window (a dialog, a tree) instead of buttons, with an optional caption
// strip (a caption control that may open a popup, and a close button),
// sizable by its edges.
//
// The arithmetic lives in plain functions without windows, tested as
// tables: the bar's size for its client size and layout mode, the places
// of the caption controls, the sizing edge under a point, and the smallest
// window the sizing accepts (50 x 50).
//
// UI thread only.
#pragma once

#include <qx/toolbar.h>

class CQXPPopupBar;

// The caption control and the close button of a dialog bar.
#define QXP_ID_DIALOGBAR_CAPTION 9147
#define QXP_ID_DIALOGBAR_CLOSE QXP_ID_TOOLBAR_CLOSE

// --- the layout without windows ----------------------------------------------------
struct QXPDialogBarMetrics {
    CRect rcMargins = CRect(3, 3, 3, 3); // left, top, right, bottom around the hosted window
    BOOL bShowCaption = TRUE;
    BOOL bCloseable = TRUE;
    int nTextHeight = 0; // height of the caption font's text
};

struct QXPDialogBarLayout {
    CSize szBar;        // the bar's size
    int nCaptionHeight; // top margin + text height; 0 without a caption
    CRect rcCaption;    // the caption control (empty without a caption)
    CRect rcClose;      // the close button (empty when it is hidden)
};

// The bar's size for a client size, a length and a layout mode
// (qxpLayout*): with qxpLayoutStretch the height (qxpLayoutVertDock) or
// else the width grows to the length; then with qxpLayoutHorz the width,
// else the height, is cut to it. The caption strip (when shown) adds the
// text height; the close button is a 16 x 16 square at its right end, the
// caption control takes the rest of its width.
QXPDialogBarLayout AFXAPI CalcDialogBarLayout(const QXPDialogBarMetrics& metrics, CSize szClient, int nLength,
                                              DWORD dwMode);

// The sizing edge under a screen point of a resizable bar: the window
// rectangle deflated by 3 is the inside (0 there: not a sizing edge).
// Floating bars size at all edges and corners; docked ones at the edge that
// faces the frame's client area (bottom of a top bar, top of a bottom bar,
// right of a left bar, left of a right bar) and along their length, unless
// dwFlags holds 0x40 (the side along the dock is fixed).
int AFXAPI DialogBarHitTest(const CRect& rcWindow, CPoint pt, BOOL bFloating, int nPosition, DWORD dwFlags);

// The smallest window the sizing accepts.
const int QXP_DIALOGBAR_MIN_SIZE = 50;
inline BOOL DialogBarSizeAllowed(CSize szWindow)
{
    return szWindow.cx >= QXP_DIALOGBAR_MIN_SIZE && szWindow.cy >= QXP_DIALOGBAR_MIN_SIZE;
}

// --- the caption controls --------------------------------------------------------------
// The caption: its text in the small caption font and, when it has a popup
// (the bar allows one and the popup bar holds controls), a down arrow that
// opens it below the control.
class CQXPDialogBarCaption : public CQXPControlPopup {
    DECLARE_DYNCREATE(CQXPDialogBarCaption)
public:
    BOOL HasPopup() const { return m_bHasPopup; }
    void SetHasPopup(BOOL bHasPopup) { m_bHasPopup = bHasPopup; }
    void Draw(CDC* pDC) override;
    // Without a popup, opening does nothing (and succeeds).
    BOOL OnSetPopup(BOOL bPopup) override;
    // The caption runs across the bar on every side it docks to.
    void AdjustExcludeRect(CRect& rcExclude, BOOL bVertical) override
    {
        (void)bVertical;
        CQXPControlPopup::AdjustExcludeRect(rcExclude, FALSE);
    }
    void Copy(CQXPControl* pControl, BOOL bRecursive = FALSE) override;

protected:
    BOOL m_bHasPopup = FALSE;
};

// The close button: the paint manager's button face with the Marlett "r"
// glyph, the same pixel size at any resolution.
class CQXPDialogBarClose : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPDialogBarClose)
public:
    void Draw(CDC* pDC) override;
};

// --- the bar ---------------------------------------------------------------------------
class CQXPDialogBar : public CQXPToolBar {
    DECLARE_DYNCREATE(CQXPDialogBar)
public:
    CQXPDialogBar();
    ~CQXPDialogBar() override;

    BOOL IsDialogBar() const override { return TRUE; }

    // The window the bar hosts (a child of the bar); the bar only places it.
    void SetHostedWindow(HWND hWnd);
    HWND GetHostedWindow() const { return m_hWndChild; }
    // Empty: the caption shows the bar's title.
    void SetCaption(LPCSTR lpszCaption);
    CString GetCaptionText() const;
    void SetCaptionPopup(BOOL bAllowed) { m_bCaptionPopup = bAllowed; }
    void ShowCaption(BOOL bShow) { m_bShowCaption = bShow; }
    void SetResizable(BOOL bResizable) { m_bResizable = bResizable; }
    CQXPPopupBar* GetCaptionPopupBar() const { return m_pCaptionPopup; }
    // The hosted window's size docked and floating.
    CSize GetDockingClientSize() const { return m_szDockingClient; }
    CSize GetFloatingClientSize() const { return m_szFloatingClient; }
    void SetDockingClientSize(CSize sz) { m_szDockingClient = sz; }
    void SetFloatingClientSize(CSize sz) { m_szFloatingClient = sz; }
    // The focus is in the bar (the caption shows it).
    BOOL IsActive() const { return m_bActive; }

    // A proposed window rectangle of the sizing loop for an edge: FALSE
    // (nothing changes) below 50 x 50; else the client sizes follow it.
    BOOL OnSizing(CRect rcProposed, int nHitCode);

    CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0) override;
    void OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) override;
    CQXPCommandBar* Clone(BOOL bRecursive = FALSE) override;

protected:
    QXPDialogBarMetrics GetMetrics();
    // Creates or finds the caption controls and places them.
    void PlaceCaptionControls(const QXPDialogBarLayout& layout);

    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    CRect m_rcMargins;
    BOOL m_bResizable;
    CSize m_szMin;
    BOOL m_bShowCaption;
    BOOL m_bCaptionPopup;
    int m_nCaptionHeight;
    CSize m_szDockingClient;
    CSize m_szFloatingClient;
    HWND m_hWndChild;
    CString m_strCaption;
    CQXPPopupBar* m_pCaptionPopup; // owned (one reference)
    BOOL m_bActive;
};
