// fx/mdi.h - CMDIFrameWnd, the main frame of a multiple-document program,
// and CMDIChildWnd, the frame of one document window inside it.
//
// The MDI frame creates the system's MDI client as its pane
// (AFX_IDW_PANE_FIRST) with the "Window" popup of its menu as the window
// list (MDI children carry menu ids from AFX_IDM_FIRST_MDICHILD, 0xFF00, up;
// choosing one activates it). Each child shows the menu and accelerators of
// its document template (m_hMenuShared, m_hAccelTable) while it is active;
// the frame's own menu comes back when the last child closes.
//
// Commands go to the active child first (its view, document and the child
// frame), then to the MDI frame and the application. Keys are translated
// with the child's accelerators, then the frame's, then the MDI system keys
// (Ctrl+F4, Ctrl+F6).
#pragma once

#include "fx/frame.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    // Creates the MDI client (hWindowMenu: the popup that lists the
    // children).
    virtual BOOL CreateClient(LPCREATESTRUCTA lpCreateStruct, CMenu* pWindowMenu);
    // The popup of hMenuBar that holds the window commands
    // (ID_WINDOW_NEW .. ID_WINDOW_SPLIT); NULL when there is none.
    virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);

    // --- MDI operations ---------------------------------------------------------------
    // The active child (NULL: none); *pbMaximized tells whether it is
    // maximised.
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = NULL) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    void MDINext();
    void MDIPrev();
    void MDICascade(int nType = 0);
    void MDITile(int nType = MDITILE_HORIZONTAL);
    void MDIIconArrange();
    CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);

    CFrameWnd* GetActiveFrame() override;
    CDocument* GetActiveDocument() override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;

    HWND m_hWndMDIClient;

    // The window commands (ID_WINDOW_ARRANGE, _CASCADE, _TILE_HORZ, _TILE_VERT).
    afx_msg BOOL OnMDIWindowCmd(UINT nID);
    afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
    // ID_WINDOW_NEW: one more frame on the active document.
    afx_msg void OnWindowNew();

protected:
    BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();

    // Creates the child inside pParentWnd (NULL: the main MDI frame).
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CMDIFrameWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);
    // The caption comes from the document-name part of string nIDResource;
    // the menu and accelerators from the document template of pContext.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
    BOOL DestroyWindow() override;

    CMDIFrameWnd* GetMDIFrame() const;
    void MDIDestroy();
    void MDIActivate();
    void MDIMaximize();
    void MDIRestore();

    void ActivateFrame(int nCmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    // Shows this child's menu in the MDI frame (bActivate), or the frame's
    // default menu when the last child goes (pActivateWnd NULL).
    virtual void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt);
    using CFrameWnd::OnUpdateFrameMenu;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    HMENU m_hMenuShared; // the template's menu shown while this child is active

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    friend class CMDIFrameWnd;
};
