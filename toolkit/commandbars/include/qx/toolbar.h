// qx/toolbar.h - a docked or floating toolbar.
#pragma once

#include <qx/commandbar.h>

class CQXPDockBar;

class CQXPToolBar : public CQXPCommandBar {
    DECLARE_DYNCREATE(CQXPToolBar)
public:
    CQXPToolBar();
    ~CQXPToolBar() override;

    // Creates the bar window as a child of pParent (normally a dock bar).
    virtual BOOL CreateToolBar(DWORD dwStyle, CWnd* pParentWnd, UINT nID = 0);
    // Replaces the controls by the buttons of an RT_TOOLBAR resource (id 0
    // entries become group starts); FALSE when the resource is missing.
    BOOL LoadToolBar(UINT nIDResource, HINSTANCE hInst = NULL);
    // The same from button ids (0 begins a group).
    BOOL SetButtons(const UINT* pIds, int nCount);

    CQXPDockBar* GetDockBar() const { return m_pDockBar; }
    void SetDockBar(CQXPDockBar* pDockBar) { m_pDockBar = pDockBar; }
    // Docked size for a length; lays the controls out with qxpLayoutCommit.
    CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0);
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnRecalcLayout() override;
    void SetVisible(BOOL bVisible) override;

    // The last docked rectangle in dock-bar client coordinates.
    CRect m_rcDocked;

protected:
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CQXPDockBar* m_pDockBar;
};
