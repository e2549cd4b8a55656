// CMiniFrameWnd: floating frames with a tool-window caption whose active
// look follows their owner frame.
#include "dvimpl.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
    ON_WM_NCACTIVATE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCRBUTTONDOWN()
    ON_WM_SYSCOMMAND()
    ON_WM_NCCREATE()
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

namespace {
const char kMiniFrameClass[] = "FxMiniFrame";

LPCSTR MiniFrameClass()
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMiniFrameClass;
    AfxRegisterClass(&wc);
    return kMiniFrameClass;
}
} // namespace

CMiniFrameWnd::CMiniFrameWnd() : m_bActive(FALSE) {}

CMiniFrameWnd::~CMiniFrameWnd() = default;

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == NULL)
        cs.lpszClass = MiniFrameClass();
    // A floating frame has a small caption and no task-bar button.
    if (!(cs.style & WS_CHILD))
        cs.dwExStyle |= WS_EX_TOOLWINDOW;
    cs.style &= ~(WS_MAXIMIZEBOX | WS_MINIMIZEBOX);
    return TRUE;
}

BOOL CMiniFrameWnd::Create(LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                             const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    m_strTitle = lpWindowName;
    HWND hWndParent = pParentWnd->GetSafeHwnd();
    // A pop-up mini frame is owned by the top-level window of its parent.
    if (!(dwStyle & WS_CHILD) && hWndParent != NULL) {
        CWnd* pTop = pParentWnd->GetTopLevelParent();
        if (pTop != NULL)
            hWndParent = pTop->m_hWnd;
    }
    HMENU hMenuOrId = (dwStyle & WS_CHILD) ? (HMENU)(UINT_PTR)nID : NULL;
    return CWnd::CreateEx(dwExStyle, lpClassName, lpWindowName, dwStyle, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, hWndParent, hMenuOrId, NULL);
}

BOOL CMiniFrameWnd::OnNcCreate(LPCREATESTRUCTA)
{
    if (!Default())
        return FALSE;
    if (GetStyle() & MFS_SYNCACTIVE) {
        // Born active-looking when the owner is the active window (or its
        // active pop-up is one of its synchronised windows).
        CWnd* pOwner = GetTopLevelOwner();
        HWND hWndOwner = pOwner->GetSafeHwnd();
        HWND hWndFore = ::GetForegroundWindow();
        BOOL bActive = FALSE;
        if (hWndOwner != NULL && hWndOwner != m_hWnd) {
            if (hWndFore == hWndOwner)
                bActive = TRUE;
            else if (hWndFore != NULL && ::GetLastActivePopup(hWndOwner) == hWndFore &&
                     ::SendMessageA(hWndFore, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0)
                bActive = TRUE;
        }
        m_bActive = bActive;
    }
    return TRUE;
}

BOOL CMiniFrameWnd::OnNcActivate(BOOL bActive)
{
    BOOL bLook = bActive;
    if (GetStyle() & MFS_SYNCACTIVE) {
        if (!bActive) {
            // Losing the activation to its owner (or a sibling floating
            // window of the owner) keeps the active look.
            CWnd* pOwner = GetTopLevelOwner();
            HWND hWndOwner = pOwner->GetSafeHwnd();
            HWND hWndActive = ::GetActiveWindow();
            if (hWndOwner != NULL && hWndOwner != m_hWnd && hWndActive != NULL && hWndActive != m_hWnd &&
                (hWndActive == hWndOwner || fx::dv::IsOwnedBy(hWndActive, hWndOwner)))
                bLook = TRUE;
            else if (m_bActive && hWndActive == NULL)
                bLook = m_bActive;
        }
        m_bActive = bLook;
    }
    return (BOOL)DefWindowProc(WM_NCACTIVATE, (WPARAM)bLook, 0);
}

LRESULT CMiniFrameWnd::OnFloatStatus(WPARAM wParam, LPARAM)
{
    LRESULT lResult = 0;
    if ((wParam & FS_SYNCACTIVE) && (GetStyle() & MFS_SYNCACTIVE))
        lResult = 1;
    if (wParam & (FS_SHOW | FS_HIDE))
        SetWindowPos(NULL, 0, 0, 0, 0,
                     ((wParam & FS_SHOW) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE |
                         SWP_NOACTIVATE);
    if (wParam & (FS_ENABLE | FS_DISABLE))
        EnableWindow((wParam & FS_ENABLE) != 0);
    if ((wParam & (FS_ACTIVATE | FS_DEACTIVATE)) && (GetStyle() & MFS_SYNCACTIVE)) {
        m_bActive = (wParam & FS_ACTIVATE) != 0;
        DefWindowProc(WM_NCACTIVATE, (WPARAM)m_bActive, 0);
    }
    return lResult;
}

void CMiniFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint)
{
    if (nHitTest == HTSYSMENU && (GetStyle() & MFS_BLOCKSYSMENU))
        return;
    Default();
}

void CMiniFrameWnd::OnNcRButtonDown(UINT nHitTest, CPoint)
{
    if ((nHitTest == HTCAPTION || nHitTest == HTSYSMENU) && (GetStyle() & MFS_BLOCKSYSMENU))
        return;
    Default();
}

void CMiniFrameWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    UINT nCmd = nID & 0xFFF0;
    if ((GetStyle() & MFS_BLOCKSYSMENU) && (nCmd == SC_MOUSEMENU || (nCmd == SC_KEYMENU && lParam == ' ')))
        return;
    CFrameWnd::OnSysCommand(nID, lParam);
}
