// CMDIFrameWnd and CMDIChildWnd: the multiple-document frames.
#include "dvimpl.h"

// ---------------------------------------------------------------------------
// CMDIFrameWnd

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, OnUpdateMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_ARRANGE, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_CASCADE, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
    ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() : m_hWndMDIClient(NULL) {}

BOOL CMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    // The frame's own menu is shown while no child is active.
    m_hMenuDefault = ::GetMenu(m_hWnd);
    return TRUE;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar)
{
    if (hMenuBar == NULL)
        return NULL;
    // The last popup that holds a window command (the "Window" menu).
    int nCount = ::GetMenuItemCount(hMenuBar);
    for (int i = nCount - 1; i >= 0; i--) {
        HMENU hPopup = ::GetSubMenu(hMenuBar, i);
        if (hPopup == NULL)
            continue;
        int nItems = ::GetMenuItemCount(hPopup);
        for (int j = 0; j < nItems; j++) {
            UINT nID = ::GetMenuItemID(hPopup, j);
            if (nID >= ID_WINDOW_NEW && nID <= ID_WINDOW_SPLIT)
                return hPopup;
        }
    }
    return NULL;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext*)
{
    CMenu* pMenu = NULL;
    if (m_hMenuDefault == NULL)
        m_hMenuDefault = ::GetMenu(m_hWnd);
    HMENU hWindowMenu = GetWindowMenuPopup(::GetMenu(m_hWnd));
    if (hWindowMenu != NULL)
        pMenu = CMenu::FromHandle(hWindowMenu);
    return CreateClient(lpcs, pMenu);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCTA lpCreateStruct, CMenu* pWindowMenu)
{
    CLIENTCREATESTRUCT ccs;
    ccs.hWindowMenu = pWindowMenu->GetSafeHmenu();
    ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;

    DWORD dwStyle = WS_VISIBLE | WS_CHILD | WS_BORDER | WS_CLIPCHILDREN | MDIS_ALLCHILDSTYLES;
    if (lpCreateStruct != NULL)
        dwStyle |= (DWORD)(lpCreateStruct->style & (WS_HSCROLL | WS_VSCROLL));
    dwStyle |= WS_HSCROLL | WS_VSCROLL;
    // The client edge is the client's, not the frame's.
    DWORD dwExStyle = WS_EX_CLIENTEDGE;
    dwStyle &= ~WS_BORDER;

    m_hWndMDIClient = ::CreateWindowExA(dwExStyle, "MDICLIENT", NULL, dwStyle, 0, 0, 0, 0, m_hWnd,
                                        (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST, AfxGetInstanceHandle(), &ccs);
    return m_hWndMDIClient != NULL;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::OnDestroy()
{
    CFrameWnd::OnDestroy();
    m_hWndMDIClient = NULL;
}

void CMDIFrameWnd::OnSize(UINT nType, int, int)
{
    // The client is placed by RecalcLayout, not by the default procedure.
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CMDIFrameWnd::RecalcLayout(BOOL bNotify)
{
    CFrameWnd::RecalcLayout(bNotify);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    if (pbMaximized != NULL)
        *pbMaximized = FALSE;
    if (m_hWndMDIClient == NULL)
        return NULL;
    BOOL bMax = FALSE;
    HWND hWnd = (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)&bMax);
    if (pbMaximized != NULL)
        *pbMaximized = bMax;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL || !pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
        return NULL;
    return static_cast<CMDIChildWnd*>(pWnd);
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)pWndActivate->GetSafeHwnd(), 0);
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)pWnd->GetSafeHwnd(), 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, (WPARAM)pWnd->GetSafeHwnd(), 0);
}

void CMDIFrameWnd::MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
void CMDIFrameWnd::MDIPrev() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 1); }
void CMDIFrameWnd::MDICascade(int nType) { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, (WPARAM)nType, 0); }
void CMDIFrameWnd::MDITile(int nType) { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, (WPARAM)nType, 0); }
void CMDIFrameWnd::MDIIconArrange() { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu)
{
    HMENU hOld = (HMENU)::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, (WPARAM)pFrameMenu->GetSafeHmenu(),
                                       (LPARAM)pWindowMenu->GetSafeHmenu());
    return CMenu::FromHandle(hOld);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive == NULL)
        return this;
    return pActive;
}

CDocument* CMDIFrameWnd::GetActiveDocument()
{
    CDocument* pDoc = CFrameWnd::GetActiveDocument();
    if (pDoc != NULL)
        return pDoc;
    // No view of its own (outside print preview): the active child's.
    if (GetActiveView() == NULL) {
        CMDIChildWnd* pChild = MDIGetActive();
        if (pChild != NULL)
            return pChild->GetActiveDocument();
    }
    return NULL;
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if ((GetStyle() & FWS_ADDTOTITLE) == 0)
        return;
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pActive = MDIGetActive(&bMaximized);
    // A maximised child's caption is joined to the frame's by the system.
    if (bAddToTitle && pActive != NULL && !bMaximized) {
        CDocument* pDoc = GetActiveView() != NULL ? CFrameWnd::GetActiveDocument() : pActive->GetActiveDocument();
        if (pDoc != NULL) {
            // The child's own number goes into the frame's caption too.
            int nSaved = m_nWindow;
            m_nWindow = pActive->m_nWindow;
            UpdateFrameTitleForDocument(pDoc->GetTitle());
            m_nWindow = nSaved;
            return;
        }
        CString strTitle = pActive->GetTitle();
        UpdateFrameTitleForDocument(strTitle.IsEmpty() ? NULL : (LPCSTR)strTitle);
        return;
    }
    UpdateFrameTitleForDocument(NULL);
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive != NULL) {
        pActive->OnUpdateFrameMenu(TRUE, pActive, hMenuAlt);
    } else {
        if (hMenuAlt == NULL)
            hMenuAlt = m_hMenuDefault;
        if (m_hWndMDIClient != NULL)
            ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hMenuAlt, (LPARAM)GetWindowMenuPopup(hMenuAlt));
        DrawMenuBar();
    }
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    CMDIChildWnd* pActive = MDIGetActive();
    // The active child's accelerators come first, also for keys typed
    // outside it (a docked pane); keys of its own windows were offered to
    // it already on their way up.
    if (pActive != NULL && pMsg->hwnd != pActive->m_hWnd && !::IsChild(pActive->m_hWnd, pMsg->hwnd) &&
        pActive->PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        if (m_hAccelTable != NULL && ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg))
            return TRUE;
        // The MDI keys (Ctrl+F4, Ctrl+F6), except in print preview.
        if (GetActiveView() == NULL && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) &&
            m_hWndMDIClient != NULL && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
            return TRUE;
    }
    return FALSE;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // In print preview the frame's own (preview) view leads.
    if (GetActiveView() != NULL)
        return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive != NULL && pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    // The window list's items activate their child (the system does it).
    if (hWndCtrl == NULL && nID >= AFX_IDM_FIRST_MDICHILD && !m_bHelpMode)
        return FALSE;
    return CFrameWnd::OnCommand(wParam, lParam);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID)
{
    switch (nID) {
    case ID_WINDOW_ARRANGE: MDIIconArrange(); return TRUE;
    case ID_WINDOW_CASCADE: MDICascade(0); return TRUE;
    case ID_WINDOW_TILE_HORZ: MDITile(MDITILE_HORIZONTAL); return TRUE;
    case ID_WINDOW_TILE_VERT: MDITile(MDITILE_VERTICAL); return TRUE;
    default: return FALSE;
    }
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(MDIGetActive() != NULL);
}

void CMDIFrameWnd::OnWindowNew()
{
    CMDIChildWnd* pActive = MDIGetActive();
    CDocument* pDoc = pActive != NULL ? pActive->GetActiveDocument() : NULL;
    if (pDoc == NULL || pDoc->GetDocTemplate() == NULL)
        return;
    CDocTemplate* pTemplate = pDoc->GetDocTemplate();
    CFrameWnd* pFrame = pTemplate->CreateNewFrame(pDoc, pActive);
    if (pFrame == NULL) {
        fx::PromptMessage(AFX_IDP_COMMAND_FAILURE, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    pTemplate->InitialUpdateFrame(pFrame, pDoc);
}

LRESULT CMDIFrameWnd::OnCommandHelp(WPARAM wParam, LPARAM lParam)
{
    // The active child may know better.
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive != NULL && pActive->SendMessage(WM_COMMANDHELP, wParam, lParam))
        return TRUE;
    return CFrameWnd::OnCommandHelp(wParam, lParam);
}

LRESULT CMDIFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    // The caption follows the active child's document.
    if (GetStyle() & FWS_ADDTOTITLE)
        m_nIdleFlags |= idleTitle;
    return CFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
}

void CMDIFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState)
{
    CFrameWnd::OnSetPreviewMode(bPreview, pState);
    if (!bPreview) {
        // The active child's menu comes back.
        OnUpdateFrameMenu(NULL);
        OnUpdateFrameTitle(TRUE);
    }
}

// ---------------------------------------------------------------------------
// CMDIChildWnd

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_MDIACTIVATE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_NCACTIVATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() : m_hMenuShared(NULL) {}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    // Parent: the MDI client; its parent: the MDI frame.
    HWND hWndClient = ::GetParent(m_hWnd);
    HWND hWndFrame = hWndClient != NULL ? ::GetParent(hWndClient) : NULL;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWndFrame);
    if (pWnd == NULL || !pWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        return NULL;
    return static_cast<CMDIFrameWnd*>(pWnd);
}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style |= WS_CHILD;
    cs.style &= ~FWS_PREFIXTITLE;
    return TRUE;
}

BOOL CMDIChildWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext)
{
    if (pParentWnd == NULL) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain != NULL && pMain->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
            pParentWnd = static_cast<CMDIFrameWnd*>(pMain);
    }
    if (pParentWnd == NULL || pParentWnd->m_hWndMDIClient == NULL) {
        PostNcDestroy();
        return FALSE;
    }
    m_strTitle = lpszWindowName;

    CREATESTRUCTA cs;
    ZeroMemory(&cs, sizeof(cs));
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    if (rect.left == CW_USEDEFAULT) {
        cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    } else {
        cs.x = rect.left;
        cs.y = rect.top;
        cs.cx = rect.right - rect.left;
        cs.cy = rect.bottom - rect.top;
    }
    cs.hwndParent = pParentWnd->m_hWndMDIClient;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = pContext;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }

    MDICREATESTRUCTA mcs;
    mcs.szClass = cs.lpszClass;
    mcs.szTitle = cs.lpszName;
    mcs.hOwner = cs.hInstance;
    mcs.x = cs.x;
    mcs.y = cs.y;
    mcs.cx = cs.cx;
    mcs.cy = cs.cy;
    // Shown (and maximised) by ActivateFrame once the views are ready.
    mcs.style = (DWORD)cs.style & ~(WS_MAXIMIZE | WS_VISIBLE);
    mcs.lParam = (LPARAM)cs.lpCreateParams;

    AfxHookWindowCreate(this);
    HWND hWnd = (HWND)::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, (LPARAM)&mcs);
    AfxUnhookWindowCreate();
    if (hWnd == NULL)
        return FALSE; // a window that was started has destroyed (and deleted) the object

    DWORD dwFinal = (DWORD)cs.style;
    if (dwFinal & WS_VISIBLE) {
        ::BringWindowToTop(hWnd);
        if (dwFinal & WS_MINIMIZE)
            ShowWindow(SW_SHOWMINIMIZED);
        else if (dwFinal & WS_MAXIMIZE)
            ShowWindow(SW_SHOWMAXIMIZED);
        else
            ShowWindow(SW_SHOWNORMAL);
        pParentWnd->MDIActivate(this);
        ::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    }
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    // The document-name part of the template's string is the caption.
    CString strFull, strTitle;
    if (strFull.LoadString(nIDResource))
        AfxExtractSubString(strTitle, strFull, CDocTemplate::docName);

    // The menu and accelerators of the document template.
    if (pContext != NULL && pContext->m_pNewDocTemplate != NULL &&
        pContext->m_pNewDocTemplate->IsKindOf(RUNTIME_CLASS(CMultiDocTemplate))) {
        CMultiDocTemplate* pTemplate = static_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate);
        m_hMenuShared = pTemplate->m_hMenuShared;
        m_hAccelTable = pTemplate->m_hAccelTable;
    }

    CMDIFrameWnd* pFrame = NULL;
    if (pParentWnd != NULL && pParentWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        pFrame = static_cast<CMDIFrameWnd*>(pParentWnd);
    LPCSTR lpszClass = GetIconWndClass(dwDefaultStyle, nIDResource);
    return Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pFrame, pContext);
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCTA lpcs)
{
    // The creation context rides in the MDI creation record.
    MDICREATESTRUCTA* pMcs = static_cast<MDICREATESTRUCTA*>(lpcs->lpCreateParams);
    CCreateContext* pContext = pMcs != NULL ? reinterpret_cast<CCreateContext*>(pMcs->lParam) : NULL;
    return OnCreateHelper(lpcs, pContext);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

BOOL CMDIChildWnd::DestroyWindow()
{
    if (m_hWnd == NULL)
        return FALSE;
    // An MDI child is destroyed by its client (which also activates the
    // next child); the frame's caption is not touched meanwhile.
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame == NULL || pFrame->m_hWndMDIClient == NULL)
        return CFrameWnd::DestroyWindow();
    HWND hWndFrame = pFrame->m_hWnd;
    DWORD dwStyle = (DWORD)::GetWindowLongPtrA(hWndFrame, GWL_STYLE);
    ::SetWindowLongPtrA(hWndFrame, GWL_STYLE, (LONG_PTR)(dwStyle & ~FWS_ADDTOTITLE));
    MDIDestroy();
    if (::IsWindow(hWndFrame)) {
        ::SetWindowLongPtrA(hWndFrame, GWL_STYLE, (LONG_PTR)dwStyle);
        CWnd* pStill = CWnd::FromHandlePermanent(hWndFrame);
        if (pStill != NULL && pStill->IsFrameWnd())
            static_cast<CFrameWnd*>(pStill)->OnUpdateFrameTitle(TRUE);
    }
    return TRUE;
}

void CMDIChildWnd::MDIDestroy()
{
    HWND hWndClient = ::GetParent(m_hWnd);
    ::SendMessageA(hWndClient, WM_MDIDESTROY, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::MDIActivate()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::MDIMaximize()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::MDIRestore()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
    BOOL bVisibleBefore = (GetStyle() & WS_VISIBLE) != 0;
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (nCmdShow == -1) {
        // Like the child that was active: maximised when it was.
        BOOL bMaximized = FALSE;
        if (pFrame != NULL)
            pFrame->MDIGetActive(&bMaximized);
        DWORD dwStyle = GetStyle();
        if (bMaximized || (dwStyle & WS_MAXIMIZE))
            nCmdShow = SW_SHOWMAXIMIZED;
        else if (dwStyle & WS_MINIMIZE)
            nCmdShow = SW_SHOWMINIMIZED;
    }
    CFrameWnd::ActivateFrame(nCmdShow);
    if (pFrame == NULL)
        return;
    // A child that just appeared becomes the active one.
    if (!bVisibleBefore && (GetStyle() & WS_VISIBLE))
        pFrame->MDIActivate(this);
    ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    pFrame->DrawMenuBar();
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame != NULL)
        pFrame->OnUpdateFrameTitle(bAddToTitle);
    if ((GetStyle() & FWS_ADDTOTITLE) == 0)
        return;
    CDocument* pDoc = GetActiveDocument();
    CString strText = (bAddToTitle && pDoc != NULL) ? pDoc->GetTitle() : m_strTitle;
    if (m_nWindow > 0)
        strText.AppendFormat(":%d", m_nWindow);
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strText)
        SetWindowText(strText);
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame == NULL || pFrame->m_hWndMDIClient == NULL)
        return;
    // Print preview keeps the frame without a menu.
    if (pFrame->IsInPreviewMode())
        return;
    if (hMenuAlt == NULL && bActivate) {
        CDocument* pDoc = GetActiveDocument();
        if (pDoc != NULL)
            hMenuAlt = pDoc->GetDefaultMenu();
    }
    if (hMenuAlt == NULL && bActivate)
        hMenuAlt = m_hMenuShared;
    if (hMenuAlt != NULL && bActivate) {
        ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hMenuAlt,
                       (LPARAM)pFrame->GetWindowMenuPopup(hMenuAlt));
    } else if (!bActivate && pActivateWnd == NULL) {
        // The last child goes: the frame's own menu comes back.
        HMENU hDefault = pFrame->m_hMenuDefault;
        ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hDefault,
                       (LPARAM)pFrame->GetWindowMenuPopup(hDefault));
    } else if (bActivate) {
        // No menu of its own: the frame's.
        HMENU hDefault = pFrame->m_hMenuDefault;
        ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hDefault,
                       (LPARAM)pFrame->GetWindowMenuPopup(hDefault));
    }
    pFrame->DrawMenuBar();
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd*)
{
    Default();
    CView* pActiveView = GetActiveView();
    if (!bActivate && pActiveView != NULL)
        pActiveView->OnActivateView(FALSE, pActiveView, pActiveView);

    // The caption keeps the document while another child takes over.
    OnUpdateFrameTitle(bActivate || pActivateWnd != NULL);

    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (bActivate && pActiveView != NULL && pFrame != NULL && ::GetActiveWindow() == pFrame->m_hWnd)
        pActiveView->OnActivateView(TRUE, pActiveView, pActiveView);

    if (bActivate || pActivateWnd == NULL)
        OnUpdateFrameMenu(bActivate, pActivateWnd, NULL);
}

int CMDIChildWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    (void)pDesktopWnd;
    (void)nHitTest;
    (void)message;
    int nResult = (int)Default();
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;
    // A click on an inactive child activates it.
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame != NULL && pFrame->MDIGetActive() != this)
        MDIActivate();
    return nResult;
}

void CMDIChildWnd::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    Default();
    (void)lpWndPos;
}

BOOL CMDIChildWnd::OnNcActivate(BOOL bActive)
{
    // Child captions follow the MDI client, not the frame's stay-active
    // state.
    return (BOOL)DefWindowProc(WM_NCACTIVATE, (WPARAM)bActive, 0);
}

void CMDIChildWnd::OnDestroy()
{
    CFrameWnd::OnDestroy();
}

void CMDIChildWnd::OnSize(UINT nType, int cx, int cy)
{
    CFrameWnd::OnSize(nType, cx, cy);
    // The frame's caption changes with a child maximised or restored.
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame != NULL && (pFrame->GetStyle() & FWS_ADDTOTITLE))
        pFrame->m_nIdleFlags |= idleTitle;
}

void CMDIChildWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    CFrameWnd::OnSysCommand(nID, lParam);
}

BOOL CMDIChildWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        CMDIFrameWnd* pFrame = GetMDIFrame();
        // The template's accelerators, sent to the MDI frame, which routes
        // the command back through this child.
        HACCEL hAccel = GetDefaultAccelerator();
        if (hAccel != NULL && pFrame != NULL && ::TranslateAcceleratorA(pFrame->m_hWnd, hAccel, pMsg))
            return TRUE;
        if (pFrame != NULL && pFrame->GetActiveView() == NULL &&
            (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) && pFrame->m_hWndMDIClient != NULL &&
            ::TranslateMDISysAccel(pFrame->m_hWndMDIClient, pMsg))
            return TRUE;
    }
    return FALSE;
}
