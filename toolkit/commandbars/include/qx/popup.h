// qx/popup.h - controls that open a popup bar (menu-bar titles, submenu
// items, drop-down buttons) and the popup bar's placement against its owner
// and the monitor's work area.
#pragma once

#include <qx/commandbar.h>

class CQXPMultiMonitor;

// Placement direction flags of a popup.
enum QXPPopupFlags {
    qxpPopupLeft = 1,   // opens leftward
    qxpPopupDown = 2,   // drops down below the owner
};

// Everything the placement needs, so it can run with any monitor layout.
struct QXP_POPUP_PLACEMENT {
    CSize size;               // in: the popup's size; out: maybe a smaller height
    CPoint pt;                // the popup point from the direction flags
    CRect rcExclude;          // the owner's rectangle (screen), empty at a point
    CRect rcExcludeVertical;  // the owner's rectangle as a vertical parent gives it
    int nFlags = 0;           // in/out QXPPopupFlags
    BOOL bFlip = FALSE;       // may flip to the other side of the owner
    CRect rcWork;             // the work area of the monitor (not yet trimmed)
    // Out.
    BOOL bTooTall = FALSE;    // the popup needs scrolling
    BOOL bRelayout = FALSE;   // a menu should lay out again with the work height
    CRect rcResult;
};

// The work area popups use at a point or owner rectangle: the monitor's work
// area, or the whole monitor when a point lies on the taskbar.
CRect AFXAPI QxpGetPopupWorkArea(CQXPMultiMonitor* pMonitors, CPoint pt, const CRect& rcExclude);
// Places the popup; fills rcResult, nFlags, bTooTall and bRelayout.
void AFXAPI QxpCalcPopupPosition(QXP_POPUP_PLACEMENT& place);

// A control that opens a popup bar (types 2, 3 and 4).
class CQXPControlPopup : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlPopup)
public:
    CQXPControlPopup();
    ~CQXPControlPopup() override;

    CQXPCommandBar* GetCommandBar() const override { return m_pCommandBar; }
    // Keeps one reference to the bar (the previous one is released).
    void SetCommandBar(CQXPCommandBar* pBar);
    void SetCommandBar(CMenu* pMenu);
    BOOL GetPopuped() const override { return m_bPopup; }
    BOOL OnSetPopup(BOOL bPopup) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnLButtonUp(CPoint pt) override;
    void Copy(CQXPControl* pControl, BOOL bRecursive = FALSE) override;
    // Also compares the popups' contents.
    BOOL Compare(CQXPControl* pOther) override;
    void SetParent(CQXPCommandBar* pParent) override;
    void DoPropExchange(CQXPPropExchange* pPX) override;
    void AddPopupToList(UINT& nCounter, CommandBarList* pList, const CommandBarsExchangeParam* pParam) override;
    void RestorePopupFromList(CommandBarList* pList) override;

    CQXPCommandBar* m_pCommandBar;
    BOOL m_bPopup;
    // The BarID of the popup bar read by a load, until the bar is connected.
    int m_nLoadedBarId = 0;
};

// A popup menu: a top-level window that shows a list of controls against
// its owner control or at a point.
class CQXPPopupBar : public CQXPCommandBar {
    DECLARE_DYNCREATE(CQXPPopupBar)
public:
    CQXPPopupBar();
    ~CQXPPopupBar() override;

    // A new empty popup bar of the manager (one reference for the caller).
    static CQXPPopupBar* AFXAPI CreatePopupBar(CQXPCommandBars* pCommandBars);

    // Shows the popup against the owning control (or at the point) and
    // starts tracking; FALSE when the window could not be made.
    BOOL Popup(CQXPControlPopup* pControlPopup);
    BOOL Popup(int x, int y, LPCRECT rcExclude);
    // Leaving tracking hides the popup and ends the return-command link.
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    CQXPCommandBar* GetRootParent() override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;

    // Shows the popup at a screen point and runs a message loop until it
    // closes; returns the chosen command id (0 when none). The command is
    // not sent.
    int TrackPopupReturnCmd(CWnd* pSite, int x, int y);
    // The same loop; with bReturnCmd FALSE the chosen item sends its command
    // and the result is TRUE when one was chosen. Arrow keys move the
    // selection, Enter chooses, Esc closes.
    int TrackPopup(CWnd* pSite, int x, int y, BOOL bReturnCmd);
    // A key while the popup tracks; FALSE when the key closed it.
    BOOL OnTrackKey(UINT nKey);
    void DoPropExchange(CQXPPropExchange* pPX) override;

    BOOL m_bContextMenu = FALSE;   // one of the manager's context menus
    BOOL m_bShowShadow = TRUE;

    CQXPControlPopup* m_pControlPopup;  // the opener, not owned
    CPoint m_ptPopup;
    int m_popupFlags;

protected:
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
