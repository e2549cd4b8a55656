// qx/custom.h - a control that hosts a child window on a bar (a search box,
// for example). The window belongs to the application: when the bar goes
// away the window is handed back to the frame, hidden, not destroyed.
#pragma once

#include <qx/control.h>

class CQXPControlCustom : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlCustom)
public:
    CQXPControlCustom();
    ~CQXPControlCustom() override;

    // The hosted window; it is re-parented to the bar when the bar has a
    // window.
    void SetControl(HWND hWnd);
    HWND GetControlWnd() const { return m_hWndChild; }
    void SetSize(CSize sz) { m_szControl = sz; }

    CSize GetSize(CDC* pDC) override;
    void SetRect(const CRect& rc) override;
    void SetParent(CQXPCommandBar* pParent) override;
    void SetHideFlags(DWORD dwFlags) override;
    void Draw(CDC* pDC) override { (void)pDC; }
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override
    {
        (void)bKeyboard;
        (void)pt;
    }
    void OnParentDestroying() override;
    void OnRemoved() override;

protected:
    // Gives the window back to the frame (the bar's site), hidden.
    void ReleaseHostedWindow();

    HWND m_hWndChild;
    CSize m_szControl;
};
