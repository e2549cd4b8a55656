// fx/frame.h - CFrameWnd, the window that holds a document's views (or the
// MDI client), its control bars, menu, accelerators and status line; and
// CMiniFrameWnd, the small floating frame with a tool-window caption.
//
// Creation
// --------
// LoadFrame(id) loads the caption from string <id> (up to the first '\n'),
// the menu <id> (a top-level frame fails without it), the accelerators <id>
// and the icon <id> (when there is one), then creates the window. WM_CREATE
// calls OnCreateClient with the CCreateContext handed to LoadFrame; the
// default makes one view of m_pNewViewClass with id AFX_IDW_PANE_FIRST.
//
// Command routing
// ---------------
// OnCmdMsg asks, in this order: the active view (which asks its document,
// which asks its template), the frame itself, the application, and last the
// document manager (recent-file commands). An MDI frame asks its active MDI
// child (view, document, child frame) before all that.
//
// Titles
// ------
// With FWS_ADDTOTITLE the caption is "<title> - <document>" (FWS_PREFIXTITLE:
// "<document> - <title>"); a document shown in several frames numbers them
// "<document>:1", "<document>:2" (m_nWindow). An MDI child shows only the
// document part.
//
// Idle work
// ---------
// WM_IDLEUPDATECMDUI (sent by the application's idle processing) applies
// what DelayRecalcLayout and the title and menu changes marked in
// m_nIdleFlags, and shows the status text of the tracked menu item. The
// application's main frame also passes the update to the floating frames it
// owns, which are not its descendants.
#pragma once

#include "fx/wnd.h"
#include "fx/dvdefs.h"
#include "fx/coll.h"

class CView;
class CDocument;
class CDocTemplate;
class CControlBar;
class CFrameWnd;

// What the frame keeps while it shows a print preview (see
// CView::DoPrintPreview); created by the caller, owned by the preview view
// once the preview runs.
struct CPrintPreviewState {
    CPrintPreviewState();
    ~CPrintPreviewState();

    UINT nIDMainPane;      // id of the pane hidden during the preview
    HMENU hMenu;           // the frame's menu before the preview
    DWORD dwStates;        // bars hidden by the preview (see m_hiddenBars)
    CView* pViewActiveOld; // the frame's active view before the preview
    BOOL(CALLBACK* lpfnCloseProc)
    (CFrameWnd* pFrameWnd); // closes the preview (frame's WM_CLOSE)
    HACCEL hAccelTable;     // the frame's accelerators before the preview
    CPtrArray m_hiddenBars; // the control bars the preview hid (HWNDs)
    HWND hWndMainPane;      // the pane that was hidden
};

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault; // CW_USEDEFAULT placement

    // --- creation ----------------------------------------------------------------
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = NULL, LPCSTR lpszMenuName = NULL,
                        DWORD dwExStyle = 0, CCreateContext* pContext = NULL);
    // Loads caption, menu, accelerators and icon of nIDResource and creates
    // the frame. FALSE when the window could not be made.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);
    // Makes one view from pContext->m_pNewViewClass as child nID; NULL when
    // it cannot be made.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    // --- active view, document and frame ----------------------------------------------
    virtual CView* GetActiveView() const { return m_pViewActive; }
    // bNotify: the views get OnActivateView.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // This frame, or the active MDI child of an MDI frame.
    virtual CFrameWnd* GetActiveFrame() { return this; }

    // Shows the frame (nCmdShow -1: as it should appear) and brings it up.
    virtual void ActivateFrame(int nCmdShow = -1);
    // Sends WM_INITIALUPDATE to the views, makes the first pane the active
    // view when none is, shows the frame and updates the titles.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);

    // --- titles ------------------------------------------------------------------
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void UpdateFrameTitleForDocument(LPCSTR lpszDocName);
    CString GetTitle() const { return m_strTitle; }
    void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
    // The menu to show for the active document (NULL: the default one).
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
    HMENU GetDefaultMenu() const { return m_hMenuDefault; }
    virtual HACCEL GetDefaultAccelerator();

    // --- layout and control bars ----------------------------------------------------
    // Lays the bars out and gives the rest to the client (m_rectBorder
    // further reserves space around it).
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Marks the layout for the next idle update.
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    // The control bar registered with this frame whose child id is nID.
    CControlBar* GetControlBar(UINT nID);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // Registration (CControlBar does this when it is made and destroyed).
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    // The visibility of the registered bars in the application's profile:
    // section "<name>-Summary" holds "Bars" (their number), each section
    // "<name>-Bar<n>" (from 0) "BarID" and "Visible". Loading shows or hides
    // the bars found by id; missing or damaged entries are skipped.
    void SaveBarState(LPCSTR lpszProfileName) const;
    void LoadBarState(LPCSTR lpszProfileName);
    // Sends WM_FLOATSTATUS with dwFlags to the pop-up windows this frame owns
    // that answer it (the floating frames and bars).
    void NotifyFloatingWindows(DWORD dwFlags);

    // --- status line ---------------------------------------------------------------
    // The text of the message pane (the child AFX_IDW_STATUS_BAR).
    void SetMessageText(LPCSTR lpszText);
    void SetMessageText(UINT nID);
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    virtual CWnd* GetMessageBar();
    // TRUE while a menu item's prompt is shown.
    BOOL IsTracking() const;

    // --- print preview -------------------------------------------------------------
    virtual void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState);
    BOOL IsInPreviewMode() const { return m_lpfnCloseProc != NULL; }

    // --- help ------------------------------------------------------------------------
    virtual BOOL CanEnterHelpMode() { return TRUE; }
    // Leaves Shift+F1 help mode.
    void ExitHelpMode();

    // --- members ---------------------------------------------------------------------
    enum IdleFlags {
        idleMenu = 1,
        idleTitle = 2,
        idleNotify = 4,
        idleLayout = 8
    };
    UINT m_nIdleFlags;
    BOOL m_bAutoMenuEnable; // menu items without a handler are disabled
    int m_nWindow;          // number among the frames of one document (0: the only one)
    HMENU m_hMenuDefault;   // the frame's own menu
    HMENU m_hMenuAlt;       // the menu asked for by OnUpdateFrameMenu at idle time
    HACCEL m_hAccelTable;
    UINT m_nIDHelp; // the frame's resource id (help context HID_BASE_RESOURCE + id)
    CString m_strTitle;
    CRect m_rectBorder; // space kept around the client by RecalcLayout
    CPtrList m_listControlBars;
    BOOL m_bHelpMode;        // Shift+F1 help mode
    UINT m_nIDTracking;      // the prompt id shown for the selected menu item
    UINT m_nIDLastMessage;   // the prompt id shown last
    DWORD m_dwPromptContext; // help context of an open prompt box
    CView* m_pViewActive;
    BOOL(CALLBACK* m_lpfnCloseProc)
    (CFrameWnd* pFrameWnd); // set in print preview
    BOOL m_bInRecalcLayout;
    CPrintPreviewState* m_pPreviewState;

    BOOL IsFrameWnd() const override { return TRUE; }
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // Makes the client: the default creates one view when pContext names a
    // view class.
    virtual BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext);
    // The window class for LoadFrame: the frame class with icon nIDResource
    // when such an icon exists.
    LPCSTR GetIconWndClass(DWORD dwDefaultStyle, UINT nIDResource);
    int OnCreateHelper(LPCREATESTRUCTA lpcs, CCreateContext* pContext);
    // Help context of the point (screen) in help mode; 0: none.
    DWORD HitTestHelpContext(CPoint ptScreen);
    void BringToTop(int nCmdShow);

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
    afx_msg BOOL OnQueryEndSession();
    afx_msg void OnEndSession(BOOL bEnding);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnActivateTopLevel(WPARAM wParam, LPARAM lParam);

public:
    // Command handlers a program maps in its own frame class.
    afx_msg void OnContextHelp(); // Shift+F1: enters help mode
    afx_msg void OnHelp();        // F1
    afx_msg void OnHelpFinder();
    afx_msg void OnHelpIndex();
    afx_msg void OnHelpUsing();
    afx_msg BOOL OnBarCheck(UINT nID); // ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI); // CAP, NUM, SCRL

protected:
    DECLARE_MESSAGE_MAP()

    friend class CView;
    friend class CControlBar;
};

// A frame with a small (tool-window) caption, for floating tool windows.
// MFS_SYNCACTIVE: the caption looks active whenever its owner frame is,
// and the owner keeps its active look while this window is active.
// MFS_BLOCKSYSMENU: the caption has no system menu.
class CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd();
    ~CMiniFrameWnd() override;

    BOOL Create(LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd = NULL, UINT nID = 0);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd = NULL, UINT nID = 0);
    using CWnd::CreateEx;

    // The caption's active look follows the owner (MFS_SYNCACTIVE).
    BOOL m_bActive;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCTA lpcs);
    DECLARE_MESSAGE_MAP()
};

namespace fx {
// Every live frame of the process, in creation order (the idle update of
// floating frames and the tests use it).
void GetFrameList(CPtrArray& frames);
// The frame's window class for LoadFrame (registered once).
LPCSTR FrameWndClass();
} // namespace fx
