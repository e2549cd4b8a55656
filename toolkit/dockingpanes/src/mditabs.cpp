// Document tabs over the MDI client.
#include <qx/mditabs.h>

#include <fx/mdi.h>

namespace {

const char kStripClass[] = "QXPTabWorkspace";

void RegisterStripClass()
{
    WNDCLASSA wc = {};
    if (::GetClassInfoA(AfxGetInstanceHandle(), kStripClass, &wc))
        return;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = kStripClass;
    AfxRegisterClass(&wc);
}

}  // namespace

// ---------------------------------------------------------------------------
CQXPTabWorkspace::CQXPTabWorkspace(CQXPTabClientWnd* pClient) : m_pClient(pClient)
{
    if (pClient)
        pClient->GetPaintManager()->AddListener(this);
}

CQXPTabWorkspace::~CQXPTabWorkspace()
{
    if (m_pClient)
        m_pClient->GetPaintManager()->RemoveListener(this);
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

CQXPTabPainter* CQXPTabWorkspace::GetPaintManager() const
{
    return m_pClient ? m_pClient->GetPaintManager() : NULL;
}

void CQXPTabWorkspace::RedrawControl(LPCRECT lpRect, BOOL /*bAnimate*/)
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, lpRect, FALSE);
}

void CQXPTabWorkspace::OnPropertyChanged()
{
    if (m_pClient)
        m_pClient->OnPropertyChanged();
}

COLORREF CQXPTabWorkspace::GetItemColor(const CQXPTabManagerItem* pItem) const
{
    COLORREF clr = m_pClient ? m_pClient->GetItemColor(pItem) : (COLORREF)-1;
    return clr == (COLORREF)-1 ? QxpResolveTabColor(pItem->m_clrItem) : QxpResolveTabColor(clr);
}

void CQXPTabWorkspace::OnItemClick(CQXPTabManagerItem* pItem)
{
    CQXPTabManager::OnItemClick(pItem);
    if (pItem && pItem->m_hWnd && ::IsWindow(pItem->m_hWnd) && m_pClient && m_pClient->m_hWnd)
        ::SendMessage(m_pClient->m_hWnd, WM_MDIACTIVATE, (WPARAM)pItem->m_hWnd, 0);
}

CQXPTabManagerItem* CQXPTabWorkspace::FindItem(HWND hWnd) const
{
    for (CQXPTabManagerItem* p : m_arrItems)
        if (p->m_hWnd == hWnd)
            return p;
    return NULL;
}

LRESULT CQXPTabWorkspace::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hDC = ::BeginPaint(m_hWnd, &ps);
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        if (CQXPTabPainter* p = GetPaintManager())
            p->DrawTabControl(this, hDC, rc);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: {
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        HWND hFrame = m_pClient && m_pClient->m_pFrame ? m_pClient->m_pFrame->GetSafeHwnd() : NULL;
        if (hFrame && ::SendMessage(hFrame, WM_TABCLIENT_MOUSENOTIFY, message, MAKELPARAM(pt.x, pt.y)))
            return 0;
        if (message == WM_LBUTTONDOWN)
            PerformClick(m_hWnd, pt);
        return 0;
    }
    case WM_MOUSEMOVE: {
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        TrackMouse(m_hWnd, pt);
        return 0;
    }
    case WM_MOUSELEAVE: {
        POINT pt = {-1, -1};
        TrackMouse(m_hWnd, pt);
        return 0;
    }
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
CQXPTabClientWnd::CQXPTabClientWnd()
    : m_pFrame(NULL), m_bShowTabs(TRUE), m_pWorkspace(NULL), m_bUpdating(FALSE), m_bRefreshing(FALSE),
      m_bLockRedraw(FALSE), m_bInLayout(FALSE)
{
    m_paintManager.m_bBoldSelected = TRUE;
    m_paintManager.AddListener(this);
    RegisterStripClass();
}

CQXPTabClientWnd::~CQXPTabClientWnd()
{
    Detach();
    m_paintManager.RemoveListener(this);
}

BOOL CQXPTabClientWnd::Attach(CMDIFrameWnd* pFrame, BOOL /*bEnableGroups*/)
{
    if (!pFrame || m_pFrame || m_hWnd || !pFrame->m_hWndMDIClient || !::IsWindow(pFrame->m_hWndMDIClient))
        return FALSE;
    if (!SubclassWindow(pFrame->m_hWndMDIClient))
        return FALSE;
    m_pFrame = pFrame;
    m_paintManager.RefreshMetrics();
    m_pWorkspace = new CQXPTabWorkspace(this);
    RECT rc = {0, 0, 0, 0};
    m_pWorkspace->CreateEx(0, kStripClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rc,
                           pFrame, 0);
    if (pFrame->GetExStyle() & WS_EX_LAYOUTRTL)
        ::SetWindowLongPtr(m_pWorkspace->m_hWnd, GWL_EXSTYLE,
                           ::GetWindowLongPtr(m_pWorkspace->m_hWnd, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
    m_pWorkspace->m_nScrollStep = 20;
    UpdateContents();
    RecalcFrame();
    return TRUE;
}

BOOL CQXPTabClientWnd::Detach()
{
    if (!m_hWnd)
        return FALSE;
    delete m_pWorkspace;
    m_pWorkspace = NULL;
    UnsubclassWindow();
    CMDIFrameWnd* pFrame = m_pFrame;
    m_pFrame = NULL;
    if (pFrame && ::IsWindow(pFrame->GetSafeHwnd()))
        pFrame->RecalcLayout();
    return TRUE;
}

void CQXPTabClientWnd::RecalcFrame()
{
    if (m_pFrame && ::IsWindow(m_pFrame->GetSafeHwnd()))
        m_pFrame->RecalcLayout();
}

void CQXPTabClientWnd::Refresh(BOOL bRecalcLayout)
{
    if (m_bRefreshing)
        return;
    m_bRefreshing = TRUE;
    UpdateContents();
    if (m_pWorkspace && m_pWorkspace->m_hWnd) {
        POINT pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_pWorkspace->m_hWnd, &pt);
        m_pWorkspace->TrackMouse(m_pWorkspace->m_hWnd, pt);
        ::InvalidateRect(m_pWorkspace->m_hWnd, NULL, FALSE);
    }
    if (bRecalcLayout)
        RecalcFrame();
    m_bRefreshing = FALSE;
}

void CQXPTabClientWnd::ShowWorkspace(BOOL bShow)
{
    m_bShowTabs = bShow;
    if (m_pWorkspace && m_pWorkspace->m_hWnd)
        ::ShowWindow(m_pWorkspace->m_hWnd, bShow ? SW_SHOWNA : SW_HIDE);
    RecalcFrame();
}

CQXPTabManagerItem* CQXPTabClientWnd::FindItem(HWND hWnd) const
{
    return m_pWorkspace ? m_pWorkspace->FindItem(hWnd) : NULL;
}

CString CQXPTabClientWnd::GetItemText(HWND hWnd) const
{
    LPCSTR psz = (LPCSTR)::SendMessage(hWnd, WM_TABCLIENT_GETCAPTION, 0, 0);
    if (psz && *psz)
        return psz;
    char sz[512] = "";
    ::GetWindowTextA(hWnd, sz, sizeof(sz));
    return sz;
}

COLORREF CQXPTabClientWnd::GetItemColor(const CQXPTabManagerItem* pItem) const
{
    if (!pItem->m_hWnd || !::IsWindow(pItem->m_hWnd))
        return (COLORREF)-1;
    LRESULT lr = ::SendMessage(pItem->m_hWnd, WM_TABCLIENT_GETCOLOR, 0, 0);
    return lr ? (COLORREF)lr : (COLORREF)-1;
}

void CQXPTabClientWnd::UpdateContents()
{
    if (!m_hWnd || !m_pWorkspace || !m_pFrame || m_bUpdating || !m_bShowTabs)
        return;
    m_bUpdating = TRUE;
    m_bLockRedraw = TRUE;
    BOOL bChanged = FALSE;
    HWND hActive = (HWND)::SendMessage(m_hWnd, WM_MDIGETACTIVE, 0, 0);
    for (CQXPTabManagerItem* p : m_pWorkspace->m_arrItems)
        p->m_bFound = FALSE;
    CQXPTabManagerItem* pActive = NULL;
    for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (!(::GetWindowLongPtr(h, GWL_EXSTYLE) & WS_EX_MDICHILD))
            continue;
        CQXPTabManagerItem* pItem = m_pWorkspace->FindItem(h);
        BOOL bVisible = (::GetWindowLongPtr(h, GWL_STYLE) & WS_VISIBLE) != 0;
        if (pItem && !bVisible)
            continue;  // left unmarked: removed below
        if (!bVisible)
            continue;
        if (!pItem) {
            pItem = m_pWorkspace->AddItem(-1);
            pItem->m_hWnd = h;
            bChanged = TRUE;
            ::SendMessage(m_pFrame->GetSafeHwnd(), WM_TABCLIENT_ITEMCREATED, (WPARAM)pItem, 0);
        }
        pItem->m_strCaption = GetItemText(h);
        pItem->m_bFound = TRUE;
        if (h == hActive)
            pActive = pItem;
    }
    for (int i = m_pWorkspace->GetItemCount() - 1; i >= 0; --i)
        if (!m_pWorkspace->GetItem(i)->m_bFound) {
            m_pWorkspace->DeleteItem(i);
            bChanged = TRUE;
        }
    if (pActive && m_pWorkspace->GetSelectedItem() != pActive)
        m_pWorkspace->SetSelectedItem(pActive);
    m_bLockRedraw = FALSE;
    m_bUpdating = FALSE;
    if (bChanged)
        RecalcFrame();
    else if (m_pWorkspace->m_hWnd)
        ::InvalidateRect(m_pWorkspace->m_hWnd, NULL, FALSE);
}

void CQXPTabClientWnd::OnPropertyChanged()
{
    if (m_bLockRedraw)
        return;
    if (m_pWorkspace && m_pWorkspace->m_hWnd) {
        RECT rc;
        ::GetClientRect(m_pWorkspace->m_hWnd, &rc);
        if (!m_bInLayout) {
            m_bInLayout = TRUE;
            m_pWorkspace->CQXPTabManager::Reposition(NULL, rc);
            m_bInLayout = FALSE;
        }
        ::InvalidateRect(m_pWorkspace->m_hWnd, NULL, FALSE);
    }
}

void CQXPTabClientWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    if (m_pWorkspace && m_pWorkspace->m_hWnd && m_bShowTabs) {
        RECT rc = *lpClientRect;
        RECT rcStrip = {0, 0, rc.right - rc.left, rc.bottom - rc.top};
        m_pWorkspace->CQXPTabManager::Reposition(NULL, rcStrip);
        RECT rcContent = m_pWorkspace->m_rcClient;
        // The strip window covers the header band only.
        RECT rcBand = rcStrip;
        switch (m_paintManager.GetPosition()) {
        case tabPositionTop: rcBand.bottom = rcContent.top; break;
        case tabPositionBottom: rcBand.top = rcContent.bottom; break;
        case tabPositionLeft: rcBand.right = rcContent.left; break;
        default: rcBand.left = rcContent.right; break;
        }
        ::OffsetRect(&rcBand, rc.left, rc.top);
        ::SetWindowPos(m_pWorkspace->m_hWnd, NULL, rcBand.left, rcBand.top, rcBand.right - rcBand.left,
                       rcBand.bottom - rcBand.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        // Items in the strip window's own coordinates.
        RECT rcLocal = {0, 0, rcBand.right - rcBand.left, rcBand.bottom - rcBand.top};
        m_pWorkspace->CQXPTabManager::Reposition(NULL, rcLocal);
        ::InvalidateRect(m_pWorkspace->m_hWnd, NULL, FALSE);
        ::OffsetRect(&rcContent, rc.left, rc.top);
        if (rcContent.right < rcContent.left)
            rcContent.right = rcContent.left;
        if (rcContent.bottom < rcContent.top)
            rcContent.bottom = rcContent.top;
        *lpClientRect = rcContent;
    }
    CWnd::CalcWindowRect(lpClientRect, nAdjustType);
}

LRESULT CQXPTabClientWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MDICREATE:
    case WM_MDIDESTROY:
    case WM_MDIACTIVATE:
    case WM_MDINEXT:
    case WM_SIZE: {
        LRESULT lr = CWnd::WindowProc(message, wParam, lParam);
        UpdateContents();
        return lr;
    }
    case WM_IDLEUPDATECMDUI:
        UpdateContents();
        break;
    case WM_SYSCOLORCHANGE:
        m_paintManager.RefreshMetrics();
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
