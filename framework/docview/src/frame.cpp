// CFrameWnd: creation from resources, active view, titles, layout of the
// control bars, status line, command routing, idle updates and help mode.
#include "dvimpl.h"

#include <shellapi.h>
#include <algorithm>
#include <vector>

// ---------------------------------------------------------------------------
// Registry of live frames and shared helpers

namespace {

std::vector<CFrameWnd*>& Frames()
{
    static auto* s_frames = new std::vector<CFrameWnd*>;
    return *s_frames;
}

// Status-line texts the program may leave out of its string table.
const char* BuiltInMessage(UINT nID)
{
    switch (nID) {
    case AFX_IDS_IDLEMESSAGE: return "Ready";
    case AFX_IDS_HELPMODEMESSAGE: return "Select an object on which to get Help";
    default: return NULL;
    }
}

// The window text, set only when it differs (no flicker of the caption).
void SetWindowTextIfChanged(HWND hWnd, LPCSTR lpszNew)
{
    char szOld[512];
    int nLen = ::GetWindowTextA(hWnd, szOld, (int)sizeof(szOld));
    if (nLen < (int)sizeof(szOld) - 1 && lstrcmpA(szOld, lpszNew) == 0)
        return;
    ::SetWindowTextA(hWnd, lpszNew);
}

struct FloatEnum {
    HWND hWndOwner;
    UINT nMsg;
    WPARAM wParam;
    LPARAM lParam;
    BOOL bDeep;
};

BOOL CALLBACK SendToOwnedPopup(HWND hWnd, LPARAM lParam)
{
    FloatEnum* p = reinterpret_cast<FloatEnum*>(lParam);
    if (hWnd != p->hWndOwner && fx::dv::IsOwnedBy(hWnd, p->hWndOwner)) {
        ::SendMessageA(hWnd, p->nMsg, p->wParam, p->lParam);
        if (p->bDeep)
            CWnd::SendMessageToDescendants(hWnd, p->nMsg, p->wParam, p->lParam, TRUE, TRUE);
    }
    return TRUE;
}

} // namespace

namespace fx {
namespace dv {

void RegisterFrame(CFrameWnd* pFrame) { Frames().push_back(pFrame); }

void UnregisterFrame(CFrameWnd* pFrame)
{
    auto& v = Frames();
    v.erase(std::remove(v.begin(), v.end(), pFrame), v.end());
}

BOOL IsLiveFrame(const CFrameWnd* pFrame)
{
    auto& v = Frames();
    return std::find(v.begin(), v.end(), pFrame) != v.end();
}

BOOL HasResource(LPCSTR lpszName, LPCSTR lpszType)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszName, lpszType);
    return ::FindResourceA(hInst, lpszName, lpszType) != NULL;
}

CFrameWnd* MainFrame()
{
    CWinThread* pThread = AfxGetThread();
    CWnd* pWnd = pThread != NULL ? pThread->m_pMainWnd : NULL;
    if (pWnd == NULL || !pWnd->IsFrameWnd())
        return NULL;
    return static_cast<CFrameWnd*>(pWnd);
}

CString LoadStr(UINT nID)
{
    CString s;
    if (!s.LoadString(nID))
        s.Empty();
    return s;
}

BOOL IsOwnedBy(HWND hWnd, HWND hWndOwner)
{
    for (HWND h = hWnd; h != NULL;) {
        HWND hNext = (::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) ? ::GetParent(h) : ::GetWindow(h, GW_OWNER);
        if (hNext == hWndOwner)
            return TRUE;
        h = hNext;
    }
    return FALSE;
}

CString FullPath(LPCSTR lpszFileName)
{
    if (lpszFileName == NULL || *lpszFileName == '\0')
        return CString();
    char szPath[MAX_PATH * 2];
    LPSTR lpszFilePart = NULL;
    DWORD n = ::GetFullPathNameA(lpszFileName, (DWORD)sizeof(szPath), szPath, &lpszFilePart);
    if (n == 0 || n >= sizeof(szPath))
        return CString(lpszFileName);
    return CString(szPath);
}

void DeleteFrameWithoutWindow(CFrameWnd* pFrame)
{
    if (pFrame != NULL && IsLiveFrame(pFrame) && pFrame->m_hWnd == NULL)
        delete pFrame;
}

} // namespace dv

void GetFrameList(CPtrArray& frames)
{
    frames.RemoveAll();
    for (CFrameWnd* p : Frames())
        frames.Add(p);
}

LPCSTR FrameWndClass()
{
    AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_CLASS);
    return AFX_WNDFRAMEORVIEW_CLASS;
}

} // namespace fx

// ---------------------------------------------------------------------------
// CPrintPreviewState

CPrintPreviewState::CPrintPreviewState()
    : nIDMainPane(AFX_IDW_PANE_FIRST), hMenu(NULL), dwStates(0), pViewActiveOld(NULL), lpfnCloseProc(NULL),
      hAccelTable(NULL), hWndMainPane(NULL)
{
}

CPrintPreviewState::~CPrintPreviewState() = default;

// ---------------------------------------------------------------------------
// CFrameWnd: construction and creation

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CFrameWnd::CFrameWnd()
    : m_nIdleFlags(0), m_bAutoMenuEnable(TRUE), m_nWindow(-1), m_hMenuDefault(NULL), m_hMenuAlt(NULL),
      m_hAccelTable(NULL), m_nIDHelp(0), m_bHelpMode(FALSE), m_nIDTracking(0), m_nIDLastMessage(0),
      m_dwPromptContext(0), m_pViewActive(NULL), m_lpfnCloseProc(NULL), m_bInRecalcLayout(FALSE),
      m_pPreviewState(NULL)
{
    m_rectBorder.SetRectEmpty();
    fx::dv::RegisterFrame(this);
}

CFrameWnd::~CFrameWnd()
{
    fx::dv::UnregisterFrame(this);
    // The menu went with the window when there was one.
    if (m_hMenuDefault != NULL && m_hWnd == NULL && ::IsMenu(m_hMenuDefault))
        ::DestroyMenu(m_hMenuDefault);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == NULL)
        cs.lpszClass = fx::FrameWndClass();
    // A single-document frame names the document first.
    if ((cs.style & FWS_ADDTOTITLE) && !(cs.style & WS_CHILD) && !IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        cs.style |= FWS_PREFIXTITLE;
    return TRUE;
}

void CFrameWnd::PostNcDestroy()
{
    // Frames are made with new and go with their window.
    delete this;
}

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    HMENU hMenu = NULL;
    if (lpszMenuName != NULL) {
        HINSTANCE hInst = AfxFindResourceHandle(lpszMenuName, (LPCSTR)RT_MENU);
        hMenu = ::LoadMenuA(hInst, lpszMenuName);
        if (hMenu == NULL) {
            PostNcDestroy();
            return FALSE;
        }
    }
    m_strTitle = lpszWindowName;

    int x = rect.left, y = rect.top;
    int cx = (int)((LONGLONG)rect.right - rect.left), cy = (int)((LONGLONG)rect.bottom - rect.top);
    if (rect.left == CW_USEDEFAULT) {
        x = y = cx = cy = CW_USEDEFAULT;
    }
    if (!CWnd::CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy, pParentWnd->GetSafeHwnd(),
                        hMenu, (LPVOID)pContext)) {
        if (hMenu != NULL && ::IsMenu(hMenu))
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

LPCSTR CFrameWnd::GetIconWndClass(DWORD, UINT nIDResource)
{
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(nIDResource), (LPCSTR)RT_GROUP_ICON);
    HICON hIcon = ::LoadIconA(hInst, MAKEINTRESOURCEA(nIDResource));
    if (hIcon == NULL)
        return NULL;
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1),
                               hIcon);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString strFull;
    if (strFull.LoadString(nIDResource))
        AfxExtractSubString(m_strTitle, strFull, 0);
    if (m_strTitle.IsEmpty() && AfxGetAppName() != NULL)
        m_strTitle = AfxGetAppName();

    LPCSTR lpszClass = GetIconWndClass(dwDefaultStyle, nIDResource);
    CString strTitle = m_strTitle;
    if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pParentWnd, MAKEINTRESOURCEA(nIDResource), 0,
                pContext))
        return FALSE; // the object is gone when the window was started

    m_hMenuDefault = ::GetMenu(m_hWnd);
    if (m_hAccelTable == NULL) {
        HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(nIDResource), (LPCSTR)RT_ACCELERATOR);
        m_hAccelTable = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(nIDResource));
    }
    // Without a document context nothing else will send the first update.
    if (pContext == NULL)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA lpcs)
{
    CCreateContext* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    return OnCreateHelper(lpcs, pContext);
}

int CFrameWnd::OnCreateHelper(LPCREATESTRUCTA lpcs, CCreateContext* pContext)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!OnCreateClient(lpcs, pContext))
        return -1;
    // The status line starts with the idle message.
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext* pContext)
{
    if (pContext != NULL && pContext->m_pNewViewClass != NULL) {
        if (CreateView(pContext, AFX_IDW_PANE_FIRST) == NULL)
            return FALSE;
    }
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    if (pContext == NULL || pContext->m_pNewViewClass == NULL)
        return NULL;
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    CWnd* pView = DYNAMIC_DOWNCAST(CWnd, pObject);
    if (pView == NULL) {
        delete pObject;
        return NULL;
    }
    if (!pView->Create(NULL, NULL, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext)) {
        // A view that got a window deleted itself when it was destroyed.
        return NULL;
    }
    return pView;
}

void CFrameWnd::OnDestroy()
{
    if (m_bHelpMode)
        ExitHelpMode();
    // The frame's own menu goes with the window (not a template's menu).
    if (!(GetStyle() & WS_CHILD) && m_hMenuDefault != NULL && ::GetMenu(m_hWnd) != m_hMenuDefault)
        ::SetMenu(m_hWnd, m_hMenuDefault);
    Default();
}

// ---------------------------------------------------------------------------
// Active view and document

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld)
        return;
    m_pViewActive = pViewNew;
    if (bNotify && pViewOld != NULL)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    // The new view may have been destroyed by the old view's notification.
    if (bNotify && m_pViewActive != NULL && m_pViewActive == pViewNew)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* pView = GetActiveView();
    return pView != NULL ? pView->GetDocument() : NULL;
}

void CFrameWnd::BringToTop(int nCmdShow)
{
    if (nCmdShow == SW_HIDE || nCmdShow == SW_MINIMIZE || nCmdShow == SW_SHOWMINNOACTIVE ||
        nCmdShow == SW_SHOWNA || nCmdShow == SW_SHOWMINIMIZED)
        return;
    CWnd* pTop = GetTopLevelParent();
    if (pTop != NULL && pTop->m_hWnd != NULL) {
        HWND hWndLast = ::GetLastActivePopup(pTop->m_hWnd);
        ::BringWindowToTop(pTop->m_hWnd);
        if (hWndLast != NULL && hWndLast != pTop->m_hWnd)
            ::BringWindowToTop(hWndLast);
    }
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    BringToTop(nCmdShow);
    if (nCmdShow != -1) {
        ShowWindow(nCmdShow);
        BringToTop(nCmdShow);
    }
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    CView* pView = NULL;
    if (GetActiveView() == NULL) {
        CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
            pView = static_cast<CView*>(pWnd);
            SetActiveView(pView, FALSE);
        }
    }
    if (bMakeVisible) {
        // Every view gets its first update before the frame shows.
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (pView != NULL)
            pView->OnActivateFrame(WA_INACTIVE, this);
        ActivateFrame(-1);
        if (pView != NULL && GetActiveView() == pView)
            pView->OnActivateView(TRUE, pView, pView);
    }
    if (pDoc != NULL)
        pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

// ---------------------------------------------------------------------------
// Titles and menus

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if ((GetStyle() & FWS_ADDTOTITLE) == 0)
        return;
    CDocument* pDoc = GetActiveDocument();
    if (bAddToTitle && pDoc != NULL)
        UpdateFrameTitleForDocument(pDoc->GetTitle());
    else
        UpdateFrameTitleForDocument(NULL);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR lpszDocName)
{
    CString strText;
    if (GetStyle() & FWS_PREFIXTITLE) {
        if (lpszDocName != NULL) {
            strText = lpszDocName;
            if (m_nWindow > 0)
                strText.AppendFormat(":%d", m_nWindow);
            if (!m_strTitle.IsEmpty())
                strText += " - ";
        }
        strText += m_strTitle;
    } else {
        strText = m_strTitle;
        if (lpszDocName != NULL) {
            if (!strText.IsEmpty())
                strText += " - ";
            strText += lpszDocName;
            if (m_nWindow > 0)
                strText.AppendFormat(":%d", m_nWindow);
        }
    }
    SetWindowTextIfChanged(m_hWnd, strText);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    if (hMenuAlt == NULL) {
        CDocument* pDoc = GetActiveDocument();
        if (pDoc != NULL)
            hMenuAlt = pDoc->GetDefaultMenu();
        if (hMenuAlt == NULL)
            hMenuAlt = m_hMenuDefault;
    }
    if (!(GetStyle() & WS_CHILD) && hMenuAlt != NULL && ::GetMenu(m_hWnd) != hMenuAlt)
        ::SetMenu(m_hWnd, hMenuAlt);
}

HACCEL CFrameWnd::GetDefaultAccelerator()
{
    CDocument* pDoc = GetActiveDocument();
    HACCEL hAccel = pDoc != NULL ? pDoc->GetDefaultAccelerator() : NULL;
    return hAccel != NULL ? hAccel : m_hAccelTable;
}

// ---------------------------------------------------------------------------
// Layout and control bars

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout || m_hWnd == NULL)
        return;
    m_bInRecalcLayout = TRUE;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify)
{
    m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0);
}

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    if (pBar != NULL && m_listControlBars.Find(pBar) == NULL)
        m_listControlBars.AddTail(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    POSITION pos = m_listControlBars.Find(pBar);
    if (pos != NULL)
        m_listControlBars.RemoveAt(pos);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID)
{
    if (nID == 0)
        return NULL;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != NULL;) {
        CControlBar* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (pBar->m_hWnd != NULL && (UINT)::GetDlgCtrlID(pBar->m_hWnd) == nID)
            return pBar;
    }
    return NULL;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    if (pBar == NULL || pBar->m_hWnd == NULL)
        return;
    CFrameWnd* pFrame = pBar->GetDockingFrame();
    if (pFrame == NULL)
        pFrame = this;
    if (bDelay) {
        pBar->DelayShow(bShow);
        pFrame->DelayRecalcLayout();
    } else {
        pBar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
        pBar->SetWindowPos(NULL, 0, 0, 0, 0,
                           SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                               (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        if (bShow || !pBar->IsFloating())
            pFrame->RecalcLayout(FALSE);
    }
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* pBar = GetControlBar(nID);
    if (pBar == NULL)
        return FALSE;
    ShowControlBar(pBar, !pBar->IsVisible(), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
    if (pBar == NULL) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck(pBar->IsVisible() ? 1 : 0);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    UINT nVK;
    switch (pCmdUI->m_nID) {
    case ID_INDICATOR_CAPS: nVK = VK_CAPITAL; break;
    case ID_INDICATOR_NUM: nVK = VK_NUMLOCK; break;
    case ID_INDICATOR_SCRL: nVK = VK_SCROLL; break;
    case ID_INDICATOR_KANA: nVK = VK_KANA; break;
    default:
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->Enable((::GetKeyState((int)nVK) & 1) != 0);
    // The indicator keeps its text; only its enabled state shows the key.
    pCmdUI->m_bEnableChanged = TRUE;
}

void CFrameWnd::SaveBarState(LPCSTR lpszProfileName) const
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || lpszProfileName == NULL)
        return;
    int nBars = 0;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != NULL;) {
        CControlBar* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (pBar->m_hWnd == NULL)
            continue;
        CString strSection;
        strSection.Format("%s-Bar%d", lpszProfileName, nBars);
        pApp->WriteProfileInt(strSection, "BarID", ::GetDlgCtrlID(pBar->m_hWnd));
        pApp->WriteProfileInt(strSection, "Visible", pBar->IsVisible() ? 1 : 0);
        nBars++;
    }
    CString strSummary;
    strSummary.Format("%s-Summary", lpszProfileName);
    pApp->WriteProfileInt(strSummary, "Bars", nBars);
    pApp->WriteProfileInt(strSummary, "ScreenCX", ::GetSystemMetrics(SM_CXSCREEN));
    pApp->WriteProfileInt(strSummary, "ScreenCY", ::GetSystemMetrics(SM_CYSCREEN));
}

void CFrameWnd::LoadBarState(LPCSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || lpszProfileName == NULL)
        return;
    CString strSummary;
    strSummary.Format("%s-Summary", lpszProfileName);
    int nBars = (int)pApp->GetProfileInt(strSummary, "Bars", 0);
    if (nBars < 0 || nBars > 0x100)
        return; // damaged
    BOOL bChanged = FALSE;
    for (int i = 0; i < nBars; i++) {
        CString strSection;
        strSection.Format("%s-Bar%d", lpszProfileName, i);
        UINT nID = pApp->GetProfileInt(strSection, "BarID", 0);
        int nVisible = (int)pApp->GetProfileInt(strSection, "Visible", -1);
        CControlBar* pBar = GetControlBar(nID);
        if (pBar == NULL || (nVisible != 0 && nVisible != 1))
            continue;
        if (pBar->IsVisible() != (nVisible == 1)) {
            pBar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
            pBar->ShowWindow(nVisible == 1 ? SW_SHOWNOACTIVATE : SW_HIDE);
            bChanged = TRUE;
        }
    }
    if (bChanged)
        RecalcLayout();
}

void CFrameWnd::NotifyFloatingWindows(DWORD dwFlags)
{
    if (m_hWnd == NULL)
        return;
    // Floating windows are owned by the top-level frame.
    if (GetStyle() & WS_CHILD) {
        CFrameWnd* pTop = GetTopLevelFrame();
        if (pTop != NULL && pTop != this)
            pTop->NotifyFloatingWindows(dwFlags);
        return;
    }
    FloatEnum fe = {m_hWnd, WM_FLOATSTATUS, (WPARAM)dwFlags, 0, FALSE};
    ::EnumThreadWindows(::GetCurrentThreadId(), &SendToOwnedPopup, (LPARAM)&fe);
}

// ---------------------------------------------------------------------------
// Status line

CWnd* CFrameWnd::GetMessageBar()
{
    CWnd* pBar = GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE);
    if (pBar != NULL)
        return pBar;
    // Child frames write to the status line of the frame they live in.
    if (GetStyle() & WS_CHILD) {
        CFrameWnd* pParent = GetParentFrame();
        if (pParent != NULL)
            return pParent->GetMessageBar();
    }
    return NULL;
}

void CFrameWnd::SetMessageText(LPCSTR lpszText)
{
    SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)lpszText);
}

void CFrameWnd::SetMessageText(UINT nID)
{
    SendMessage(WM_SETMESSAGESTRING, (WPARAM)nID);
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    CString strFull;
    if (strFull.LoadString(nID) && !strFull.IsEmpty()) {
        // The prompt is the part before the tool tip ("prompt\ntip").
        AfxExtractSubString(rMessage, strFull, 0);
        return;
    }
    const char* psz = BuiltInMessage(nID);
    if (psz != NULL)
        rMessage = psz;
    else
        rMessage.Empty();
}

BOOL CFrameWnd::IsTracking() const
{
    return m_nIDTracking != 0 && m_nIDTracking != AFX_IDS_HELPMODEMESSAGE && m_nIDTracking != AFX_IDS_IDLEMESSAGE;
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    UINT nIDLast = m_nIDLastMessage;
    m_nFlags &= ~WF_NOPOPMSG;

    UINT nID = (UINT)wParam;
    if (nID == AFX_IDS_IDLEMESSAGE && m_bHelpMode)
        nID = AFX_IDS_HELPMODEMESSAGE;

    CWnd* pMessageBar = GetMessageBar();
    if (pMessageBar != NULL) {
        CString strMessage;
        LPCSTR lpsz = "";
        if (lParam != 0) {
            lpsz = reinterpret_cast<LPCSTR>(lParam);
        } else if (nID != 0) {
            GetMessageString(nID, strMessage);
            lpsz = strMessage;
        }
        pMessageBar->SetWindowText(lpsz);

        // The frame that owns the status line remembers the prompt as well.
        CFrameWnd* pOwner = pMessageBar->GetParentFrame();
        if (pOwner != NULL && pOwner != this) {
            pOwner->m_nIDLastMessage = nID;
            pOwner->m_nIDTracking = nID;
        }
    }
    m_nIDLastMessage = nID;
    m_nIDTracking = nID;
    return (LRESULT)nIDLast;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam)
{
    if (m_nFlags & WF_NOPOPMSG)
        return 0;
    return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    // Menus of MDI children report to the top-level frame as well.
    CFrameWnd* pTop = (GetStyle() & WS_CHILD) ? GetTopLevelFrame() : this;
    if (pTop == NULL)
        pTop = this;

    if (nFlags == 0xFFFF && hSysMenu == NULL) {
        // The menu closed.
        pTop->m_nIDTracking = m_bHelpMode ? AFX_IDS_HELPMODEMESSAGE : AFX_IDS_IDLEMESSAGE;
        pTop->SendMessage(WM_SETMESSAGESTRING, (WPARAM)pTop->m_nIDTracking);
        return;
    }
    UINT nTrack;
    if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP | MF_MENUBREAK | MF_MENUBARBREAK)))
        nTrack = 0;
    else if (nItemID >= 0xF000 && nItemID < 0xF1F0)
        nTrack = AFX_IDS_SCFIRST + ((nItemID - 0xF000) >> 4); // system commands
    else if (nItemID >= AFX_IDM_FIRST_MDICHILD)
        nTrack = AFX_IDS_MDICHILD; // the window list
    else
        nTrack = nItemID;
    pTop->m_nIDTracking = nTrack;
    if (nTrack != pTop->m_nIDLastMessage)
        pTop->SendMessage(WM_SETMESSAGESTRING, (WPARAM)nTrack);
}

void CFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho)
{
    Default();
    if (nWhy != MSGF_MENU || m_nIDTracking == m_nIDLastMessage)
        return;
    (void)pWho;
    SetMessageText(m_nIDTracking);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu)
{
    (void)nIndex;
    Default();
    if (bSysMenu || pMenu == NULL)
        return;
    // Items are enabled, checked and renamed through the command routing.
    CCmdUI::UpdatePopupMenu(pMenu, this, m_bAutoMenuEnable);
}

// ---------------------------------------------------------------------------
// Idle updates

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (m_nIdleFlags & idleMenu) {
        m_nIdleFlags &= ~idleMenu;
        OnUpdateFrameMenu(m_hMenuAlt);
    }
    if (m_nIdleFlags & idleTitle)
        OnUpdateFrameTitle(TRUE);
    if (m_nIdleFlags & idleLayout) {
        RecalcLayout((m_nIdleFlags & idleNotify) != 0);
        UpdateWindow();
    }
    if (m_nIDTracking != m_nIDLastMessage)
        SetMessageText(m_nIDTracking);
    m_nIdleFlags = 0;

    // The floating frames and bars of the application's main frame are not
    // its descendants: they are updated here.
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL && pThread->m_pMainWnd == this && m_hWnd != NULL) {
        FloatEnum fe = {m_hWnd, WM_IDLEUPDATECMDUI, wParam, 0, TRUE};
        ::EnumThreadWindows(::GetCurrentThreadId(), &SendToOwnedPopup, (LPARAM)&fe);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Command routing

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    CView* pView = GetActiveView();
    if (pView != NULL && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CDocManager* pDocManager = AfxGetDocManager();
    if (pDocManager != NULL && pDocManager->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return FALSE;
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND hWndCtrl = (HWND)lParam;
    UINT nID = LOWORD(wParam);
    CFrameWnd* pTop = GetTopLevelFrame();
    if (pTop == NULL)
        pTop = this;
    // In help mode a menu command or accelerator asks for its help instead.
    if (pTop->m_bHelpMode && hWndCtrl == NULL && nID != ID_HELP && nID != ID_DEFAULT_HELP &&
        nID != ID_CONTEXT_HELP) {
        pTop->ExitHelpMode();
        if (!SendMessage(WM_COMMANDHELP, 0, (LPARAM)(HID_BASE_COMMAND + nID)))
            SendMessage(WM_COMMAND, ID_DEFAULT_HELP);
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnNotify(wParam, lParam, pResult))
        return TRUE;
    // Tool tips of bars and controls without a handler: the part of the
    // command's string after '\n'.
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (pNMHDR == NULL || (pNMHDR->code != TTN_NEEDTEXTA && pNMHDR->code != TTN_NEEDTEXTW))
        return FALSE;
    UINT_PTR nID = pNMHDR->idFrom;
    BOOL bIsHwnd = pNMHDR->code == TTN_NEEDTEXTA ? (reinterpret_cast<NMTTDISPINFOA*>(pNMHDR)->uFlags & TTF_IDISHWND)
                                                 : (reinterpret_cast<NMTTDISPINFOW*>(pNMHDR)->uFlags & TTF_IDISHWND);
    if (bIsHwnd)
        nID = (UINT_PTR)::GetDlgCtrlID((HWND)nID);
    if (nID == 0)
        return FALSE;
    CString strFull, strTip;
    if (!strFull.LoadString((UINT)nID) || !AfxExtractSubString(strTip, strFull, 1) || strTip.IsEmpty())
        return FALSE;
    if (pNMHDR->code == TTN_NEEDTEXTA) {
        NMTTDISPINFOA* p = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
        // A tip longer than the buffer is cut where a character begins (the
        // text is UTF-8), never inside one.
        int n = strTip.GetLength() < (int)sizeof(p->szText) ? strTip.GetLength() : (int)sizeof(p->szText) - 1;
        while (n > 0 && n < strTip.GetLength() && ((unsigned char)strTip[n] & 0xC0) == 0x80)
            --n;
        memcpy(p->szText, strTip.GetString(), (size_t)n);
        p->szText[n] = '\0';
        p->lpszText = p->szText;
    } else {
        NMTTDISPINFOW* p = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
        ::MultiByteToWideChar(CP_ACP, 0, strTip, -1, p->szText, (int)(sizeof(p->szText) / sizeof(WCHAR)));
        p->szText[sizeof(p->szText) / sizeof(WCHAR) - 1] = 0;
        p->lpszText = p->szText;
    }
    if (pResult != NULL)
        *pResult = 0;
    return TRUE;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        HACCEL hAccel = GetDefaultAccelerator();
        return hAccel != NULL && ::TranslateAcceleratorA(m_hWnd, hAccel, pMsg);
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Window messages

void CFrameWnd::OnClose()
{
    // During a print preview, closing ends the preview.
    if (m_lpfnCloseProc != NULL) {
        (*m_lpfnCloseProc)(this);
        return;
    }

    // The document of this frame's own view (an MDI frame has none: its
    // children's documents are all asked below).
    CView* pOwnView = GetActiveView();
    CDocument* pDocument = pOwnView != NULL ? pOwnView->GetDocument() : NULL;
    if (pDocument != NULL && !pDocument->CanCloseFrame(this))
        return;

    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this) {
        // The main window: every document is saved (or the user cancels),
        // then closed, before the window goes.
        if (pDocument == NULL && !fx::AppSaveAllModified())
            return;
        fx::AppCloseAllDocuments(FALSE);
        if (pApp->m_pMainWnd == NULL) {
            // Closing the documents took the main window with it.
            ::PostQuitMessage(0);
            return;
        }
        // The documents are gone.
        pDocument = NULL;
    }

    // The last frame of an auto-delete document closes the document.
    if (pDocument != NULL && pDocument->m_bAutoDelete) {
        BOOL bOtherFrame = FALSE;
        for (POSITION pos = pDocument->GetFirstViewPosition(); pos != NULL;) {
            CView* pView = pDocument->GetNextView(pos);
            if (pView->GetParentFrame() != this) {
                bOtherFrame = TRUE;
                break;
            }
        }
        if (!bOtherFrame) {
            pDocument->OnCloseDocument();
            return;
        }
        pDocument->PreCloseFrame(this);
    }
    DestroyWindow();
}

BOOL CFrameWnd::OnQueryEndSession()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this)
        return fx::AppSaveAllModified();
    return TRUE;
}

void CFrameWnd::OnEndSession(BOOL bEnding)
{
    if (!bEnding)
        return;
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this)
        fx::AppCloseAllDocuments(TRUE);
}

void CFrameWnd::OnSize(UINT nType, int, int)
{
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd*)
{
    if (m_pViewActive != NULL && m_pViewActive->m_hWnd != NULL)
        m_pViewActive->SetFocus();
    else
        Default();
}

BOOL CFrameWnd::OnEraseBkgnd(CDC*)
{
    // The active view paints its own area.
    if (m_pViewActive != NULL)
        return TRUE;
    return (BOOL)Default();
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    Default();

    // A top-level frame keeps its active look while one of its floating
    // windows with MFS_SYNCACTIVE is the active window.
    HWND hWndActive = nState == WA_INACTIVE ? pWndOther->GetSafeHwnd() : m_hWnd;
    BOOL bStayActive = FALSE;
    if (hWndActive != NULL) {
        if (hWndActive == m_hWnd)
            bStayActive = TRUE;
        else if (fx::dv::IsOwnedBy(hWndActive, m_hWnd) &&
                 ::SendMessageA(hWndActive, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0)
            bStayActive = TRUE;
    }
    if (!(GetStyle() & WS_CHILD)) {
        m_nFlags &= ~WF_STAYACTIVE;
        if (bStayActive)
            m_nFlags |= WF_STAYACTIVE;
        // The caption was drawn inactive before this message came: a frame
        // that stays active draws it again.
        if (nState == WA_INACTIVE && bStayActive)
            DefWindowProc(WM_NCACTIVATE, TRUE, 0);
        NotifyFloatingWindows(bStayActive ? FS_ACTIVATE : FS_DEACTIVATE);
    }

    CView* pActiveView = GetActiveView();
    if (pActiveView == NULL) {
        CFrameWnd* pActiveFrame = GetActiveFrame();
        if (pActiveFrame != NULL)
            pActiveView = pActiveFrame->GetActiveView();
    }
    if (pActiveView != NULL) {
        if (nState != WA_INACTIVE && !bMinimized)
            pActiveView->OnActivateView(TRUE, pActiveView, pActiveView);
        pActiveView->OnActivateFrame(nState, this);
    }
}

BOOL CFrameWnd::OnNcActivate(BOOL bActive)
{
    if (m_nFlags & WF_STAYACTIVE)
        bActive = TRUE;
    if (!IsWindowEnabled())
        bActive = FALSE;
    return (BOOL)DefWindowProc(WM_NCACTIVATE, (WPARAM)bActive, 0);
}

void CFrameWnd::OnEnable(BOOL bEnable)
{
    Default();
    if (bEnable && (m_nFlags & WF_STAYACTIVE))
        SendMessage(WM_NCACTIVATE, TRUE);
    NotifyFloatingWindows(bEnable ? FS_ENABLE : FS_DISABLE);
}

LRESULT CFrameWnd::OnActivateTopLevel(WPARAM wParam, LPARAM)
{
    NotifyFloatingWindows(LOWORD(wParam) != WA_INACTIVE ? FS_ACTIVATE : FS_DEACTIVATE);
    return 0;
}

void CFrameWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    // In help mode the system commands ask for their help.
    CFrameWnd* pTop = GetTopLevelFrame();
    if (pTop != NULL && pTop->m_bHelpMode) {
        UINT nCmd = nID & 0xFFF0;
        if (nCmd == SC_SIZE || nCmd == SC_MOVE || nCmd == SC_MINIMIZE || nCmd == SC_MAXIMIZE ||
            nCmd == SC_NEXTWINDOW || nCmd == SC_PREVWINDOW || nCmd == SC_CLOSE || nCmd == SC_RESTORE ||
            nCmd == SC_TASKLIST) {
            pTop->ExitHelpMode();
            if (!SendMessage(WM_COMMANDHELP, 0, (LPARAM)(HID_BASE_COMMAND + AFX_IDS_SCFIRST + ((nCmd - 0xF000) >> 4))))
                SendMessage(WM_COMMAND, ID_DEFAULT_HELP);
            return;
        }
    }
    (void)lParam;
    Default();
}

void CFrameWnd::OnDropFiles(HDROP hDropInfo)
{
    SetActiveWindow();
    UINT nFiles = ::DragQueryFileW(hDropInfo, 0xFFFFFFFF, NULL, 0);
    for (UINT i = 0; i < nFiles; i++) {
        // Each name whole, whatever its length in the process's char text
        // (a UTF-8 name takes up to three bytes per character).
        UINT nLength = ::DragQueryFileW(hDropInfo, i, NULL, 0);
        if (nLength == 0)
            continue;
        std::wstring name(nLength + 1, L'\0');
        if (::DragQueryFileW(hDropInfo, i, &name[0], nLength + 1) != nLength)
            continue;
        fx::AppOpenDocumentFile(fx::ToNarrow(name.c_str()));
    }
    ::DragFinish(hDropInfo);
}

// ---------------------------------------------------------------------------
// Print preview mode

void CFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState)
{
    if (pState == NULL)
        return;
    if (bPreview) {
        m_pPreviewState = pState;
        // The visible bars step aside.
        pState->m_hiddenBars.RemoveAll();
        for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != NULL;) {
            CControlBar* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
            if (pBar->m_hWnd != NULL && pBar->IsVisible()) {
                pState->m_hiddenBars.Add(pBar->m_hWnd);
                pBar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
                pBar->ShowWindow(SW_HIDE);
            }
        }
        // The menu and the accelerators leave too.
        if (!(GetStyle() & WS_CHILD)) {
            pState->hMenu = ::GetMenu(m_hWnd);
            if (pState->hMenu != NULL)
                ::SetMenu(m_hWnd, NULL);
        }
        pState->hAccelTable = m_hAccelTable;
        m_hAccelTable = NULL;
        // The main pane is hidden and renamed so the preview can take its id.
        HWND hWndPane = ::GetDlgItem(m_hWnd, (int)pState->nIDMainPane);
        pState->hWndMainPane = hWndPane;
        if (hWndPane != NULL) {
            ::ShowWindow(hWndPane, SW_HIDE);
            ::SetWindowLongPtrA(hWndPane, GWLP_ID, AFX_IDW_PANE_SAVE);
        }
        pState->pViewActiveOld = m_pViewActive;
        m_pViewActive = NULL;
        m_lpfnCloseProc = pState->lpfnCloseProc;
    } else {
        m_lpfnCloseProc = NULL;
        m_pViewActive = NULL;
        if (pState->hWndMainPane != NULL && ::IsWindow(pState->hWndMainPane)) {
            ::SetWindowLongPtrA(pState->hWndMainPane, GWLP_ID, (LONG_PTR)pState->nIDMainPane);
            ::ShowWindow(pState->hWndMainPane, SW_SHOW);
        }
        m_hAccelTable = pState->hAccelTable;
        if (!(GetStyle() & WS_CHILD) && pState->hMenu != NULL)
            ::SetMenu(m_hWnd, pState->hMenu);
        for (INT_PTR i = 0; i < pState->m_hiddenBars.GetSize(); i++) {
            HWND hWndBar = (HWND)pState->m_hiddenBars[i];
            if (::IsWindow(hWndBar))
                ::ShowWindow(hWndBar, SW_SHOWNOACTIVATE);
        }
        pState->m_hiddenBars.RemoveAll();
        m_pPreviewState = NULL;
        RecalcLayout();
    }
}

// ---------------------------------------------------------------------------
// Help

void CFrameWnd::ExitHelpMode()
{
    if (!m_bHelpMode)
        return;
    m_bHelpMode = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    ::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
}

DWORD CFrameWnd::HitTestHelpContext(CPoint ptScreen)
{
    HWND hWnd = ::WindowFromPoint(ptScreen);
    if (hWnd == NULL || (hWnd != m_hWnd && !::IsChild(m_hWnd, hWnd) && !fx::dv::IsOwnedBy(hWnd, m_hWnd)))
        return 0;

    // The non-client parts of the frame have help of their own.
    if (hWnd == m_hWnd) {
        LRESULT nHit = ::SendMessageA(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y));
        if (nHit != HTCLIENT && nHit != HTNOWHERE && nHit != HTERROR)
            return (DWORD)(HID_BASE_NCAREAS + (DWORD)nHit);
    }
    // The window under the point, then its parents, may name a context.
    for (HWND h = hWnd; h != NULL; h = ::GetParent(h)) {
        if (CWnd::FromHandlePermanent(h) != NULL) {
            CPoint pt = ptScreen;
            ::ScreenToClient(h, &pt);
            DWORD dwContext = (DWORD)::SendMessageA(h, WM_HELPHITTEST, 0, MAKELPARAM(pt.x, pt.y));
            if (dwContext != 0)
                return dwContext;
        }
        if (h == m_hWnd)
            break;
    }
    return m_nIDHelp != 0 ? (DWORD)(HID_BASE_RESOURCE + m_nIDHelp) : 0;
}

void CFrameWnd::OnContextHelp()
{
    CFrameWnd* pTop = GetTopLevelFrame();
    if (pTop != NULL && pTop != this) {
        pTop->OnContextHelp();
        return;
    }
    if (m_bHelpMode || !CanEnterHelpMode())
        return;

    m_bHelpMode = TRUE;
    SendMessage(WM_SETMESSAGESTRING, AFX_IDS_HELPMODEMESSAGE);
    HCURSOR hcurHelp = ::LoadCursorA(NULL, (LPCSTR)IDC_HELP);
    ::SetCapture(m_hWnd);
    ::SetCursor(hcurHelp);

    // A small modal loop: a click names the object, Escape leaves.
    DWORD dwContext = 0;
    while (m_bHelpMode) {
        MSG msg;
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        BOOL bDone = FALSE;
        switch (msg.message) {
        case WM_LBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
            dwContext = HitTestHelpContext(msg.pt);
            bDone = TRUE;
            break;
        case WM_RBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
            bDone = TRUE;
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
            ::SetCursor(hcurHelp);
            break;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) {
                bDone = TRUE;
                break;
            }
            if (!AfxPreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            break;
        default:
            if (!AfxPreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            break;
        }
        if (bDone)
            break;
        // A menu or another window took the mouse: keep the help cursor.
        if (m_bHelpMode && ::GetCapture() == NULL)
            ::SetCapture(m_hWnd);
    }
    BOOL bWasHelpMode = m_bHelpMode;
    ExitHelpMode();
    if (bWasHelpMode && dwContext != 0)
        WinHelp(dwContext, HELP_CONTEXT);
}

void CFrameWnd::OnHelp()
{
    // An open prompt box asks for its own help.
    if (m_dwPromptContext != 0) {
        if (m_dwPromptContext != HID_BASE_PROMPT + AFX_IDP_FAILED_TO_LAUNCH_HELP)
            WinHelp(m_dwPromptContext, HELP_CONTEXT);
        return;
    }
    // The window with the focus and its parents may know the topic.
    HWND hWndStop = m_hWnd;
    for (HWND h = ::GetFocus(); h != NULL; h = ::GetParent(h)) {
        if (CWnd::FromHandlePermanent(h) != NULL && ::SendMessageA(h, WM_COMMANDHELP, 0, 0))
            return;
        if (h == hWndStop)
            return;
    }
    if (!SendMessage(WM_COMMANDHELP, 0, 0))
        SendMessage(WM_COMMAND, ID_DEFAULT_HELP);
}

void CFrameWnd::OnHelpFinder() { WinHelp(0, HELP_FINDER); }
void CFrameWnd::OnHelpIndex() { WinHelp(0, HELP_INDEX); }
void CFrameWnd::OnHelpUsing() { WinHelp(0, HELP_HELPONHELP); }

LRESULT CFrameWnd::OnCommandHelp(WPARAM, LPARAM lParam)
{
    if (lParam == 0) {
        if (IsTracking())
            lParam = (LPARAM)(HID_BASE_COMMAND + m_nIDTracking);
        else if (m_nIDHelp != 0)
            lParam = (LPARAM)(HID_BASE_RESOURCE + m_nIDHelp);
    }
    if (lParam != 0) {
        WinHelp((DWORD_PTR)lParam, HELP_CONTEXT);
        return TRUE;
    }
    return FALSE;
}

LRESULT CFrameWnd::OnHelpHitTest(WPARAM, LPARAM)
{
    return m_nIDHelp != 0 ? (LRESULT)(HID_BASE_RESOURCE + m_nIDHelp) : 0;
}

// ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_ERASEBKGND()
    ON_WM_ACTIVATE()
    ON_WM_NCACTIVATE()
    ON_WM_ENABLE()
    ON_WM_DROPFILES()
    ON_WM_MENUSELECT()
    ON_WM_INITMENUPOPUP()
    ON_WM_ENTERIDLE()
    ON_WM_QUERYENDSESSION()
    ON_WM_ENDSESSION()
    ON_WM_SYSCOMMAND()
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
    ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
    ON_MESSAGE(WM_ACTIVATETOPLEVEL, OnActivateTopLevel)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_KANA, OnUpdateKeyIndicator)
END_MESSAGE_MAP()
