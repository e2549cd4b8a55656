// ribbonframehook.cpp - RibbonFrameHook: the frame skin of themes 5 and 6 on
// a frame window, with or without a ribbon drawing the caption.
#include <qx/commandbars.h>
#include <qx/ribbonbar.h>
#include <qx/ribbonframehook.h>
#include <qx/statusbar.h>
#include <qx/visualstyles.h>

#include <fx/frame.h>
#include <fx/uidefs.h>

using namespace qxribbon;

namespace {

// Desktop composition through dwmapi when the system has it (Wine has no
// composition: the calls are absent or answer "off").
BOOL SystemCompositionEnabled()
{
    typedef HRESULT(WINAPI * PFN)(BOOL*);
    static PFN pfn = [] {
        HMODULE h = ::LoadLibraryA("dwmapi.dll");
        return h ? (PFN)(void*)::GetProcAddress(h, "DwmIsCompositionEnabled") : (PFN)NULL;
    }();
    BOOL bEnabled = FALSE;
    return pfn && SUCCEEDED(pfn(&bEnabled)) && bEnabled;
}

HRESULT SystemExtendFrame(HWND hWnd, int nTopMargin)
{
    return CVisualStyleTheme::DwmExtendFrameIntoClientArea(hWnd, 0, nTopMargin, 0, 0);
}

BOOL SystemDwmDefWindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    return CVisualStyleTheme::DwmDefWindowProc(hWnd, nMessage, wParam, lParam, plResult);
}

CWindowHook* AFXAPI CreateFrameHook(CQXPCommandBars* pCommandBars)
{
    CWnd* pSite = pCommandBars->GetSite();
    auto* pHook = new RibbonFrameHook(pSite->GetSafeHwnd(), pCommandBars);
    if (!pHook->Attach()) {
        delete pHook;
        return NULL;
    }
    return pHook;
}

} // namespace

void AFXAPI RegisterRibbonFrameHook() { CQXPCommandBars::SetFrameHookFactory(CreateFrameHook); }

RibbonFrameHook::RibbonFrameHook(HWND hWnd, CQXPCommandBars* pCommandBars, COffice2007Theme* pTheme)
    : m_pfnIsCompositionEnabled(SystemCompositionEnabled), m_pfnExtendFrameIntoClientArea(SystemExtendFrame),
      m_pfnDwmDefWindowProc(SystemDwmDefWindowProc),
      m_hWnd(hWnd), m_pCommandBars(pCommandBars), m_pTheme(pTheme), m_bAttached(FALSE), m_bActive(TRUE),
      m_bUpdatePosted(FALSE), m_bDwmEnabled(FALSE), m_nFrameBorder(0), m_nStatusBarOverride(0), m_nHot(0),
      m_nTracking(0), m_bArmed(FALSE)
{
    if (m_pTheme)
        m_pTheme->InternalAddRef();
}

RibbonFrameHook::~RibbonFrameHook()
{
    Detach();
    if (m_pTheme)
        m_pTheme->InternalRelease();
}

BOOL RibbonFrameHook::Attach()
{
    if (m_bAttached)
        return TRUE;
    if (!::IsWindow(m_hWnd) || !GetTheme())
        return FALSE;
    CWindowHookManager::Instance()->SetHook(m_hWnd, this);
    m_bAttached = TRUE;
    m_bActive = ::GetActiveWindow() == m_hWnd;
    UpdateComposition();
    RecalcFrame();
    RefreshFrameRegion();
    Redraw();
    return TRUE;
}

void RibbonFrameHook::Detach()
{
    if (!m_bAttached)
        return;
    m_bAttached = FALSE;
    if (m_nTracking && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    m_nTracking = 0;
    CWindowHookManager::Instance()->RemoveHook(m_hWnd, this);
    if (!::IsWindow(m_hWnd))
        return;
    if (m_bDwmEnabled)
        m_pfnExtendFrameIntoClientArea(m_hWnd, 0);
    ::SetWindowRgn(m_hWnd, NULL, TRUE);
    ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::RedrawWindow(m_hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

COffice2007Theme* RibbonFrameHook::GetTheme() const
{
    if (m_pCommandBars)
        return dynamic_cast<COffice2007Theme*>(m_pCommandBars->GetPaintManager());
    return m_pTheme;
}

CQXPRibbonBar* RibbonFrameHook::GetRibbonBar() const
{
    if (!m_pCommandBars)
        return NULL;
    for (int i = 0; i < m_pCommandBars->GetCount(); i++)
        if (CQXPToolBar* pBar = m_pCommandBars->GetAt(i))
            if (pBar->IsRibbonBar())
                return static_cast<CQXPRibbonBar*>(pBar);
    return NULL;
}

BOOL RibbonFrameHook::IsMaximizedMdiChild() const
{
    const LONG lStyle = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    const LONG lExStyle = ::GetWindowLongA(m_hWnd, GWL_EXSTYLE);
    return (lStyle & WS_MAXIMIZE) && (lExStyle & WS_EX_MDICHILD);
}

BOOL RibbonFrameHook::UsesSystemMetrics() const
{
    CQXPRibbonBar* pRibbon = GetRibbonBar();
    HWND hWndRibbon = pRibbon ? pRibbon->GetSafeHwnd() : NULL;
    return UsesSystemMetrics(!hWndRibbon || (::GetWindowLongA(hWndRibbon, GWL_STYLE) & WS_VISIBLE));
}

BOOL RibbonFrameHook::UsesSystemMetrics(BOOL bRibbonWindowShown) const
{
    if (IsMaximizedMdiChild())
        return FALSE;
    CQXPRibbonBar* pRibbon = GetRibbonBar();
    if (!pRibbon || !pRibbon->IsVisible() || !pRibbon->IsShownBySize() || pRibbon->GetPosition() != qxpBarTop)
        return TRUE;
    // A ribbon whose window is hidden with all bars (a print preview) draws
    // no caption either.
    if (!bRibbonWindowShown)
        return TRUE;
    const LONG lStyle = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    return (lStyle & WS_MINIMIZE) && (lStyle & WS_CHILD);
}

int RibbonFrameHook::GetFrameBorder() const
{
    CRect rc(0, 0, 0, 0);
    ::AdjustWindowRectEx(&rc, (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE), FALSE,
                         (DWORD)::GetWindowLongA(m_hWnd, GWL_EXSTYLE));
    const int b = -rc.left;
    // With composition a frame that is not maximized keeps 4 pixels.
    if (m_bDwmEnabled && !::IsZoomed(m_hWnd))
        return 4;
    return b;
}

int RibbonFrameHook::GetCaptionHeight() const
{
    CQXPRibbonBar* pRibbon = GetRibbonBar();
    if (!UsesSystemMetrics() && pRibbon)
        return pRibbon->GetBarState().GetCaptionHeight();
    COffice2007Theme* pTheme = GetTheme();
    return GetFrameBorder() + (pTheme ? pTheme->m_nCaptionHeight : ::GetSystemMetrics(SM_CYCAPTION));
}

BOOL RibbonFrameHook::GetStatusBarHeight(int* pcy) const
{
    // Only a status bar that the frame's theme draws joins the frame's
    // skin: it answers the theme query with that theme's id.
    COffice2007Theme* pTheme = GetTheme();
    HWND hWndStatus = ::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR);
    if (!pTheme || !hWndStatus || !::IsWindowVisible(hWndStatus))
        return FALSE;
    const LRESULT nTheme = ::SendMessageA(hWndStatus, QXP_WM_GETTHEMEVALUE, 0, 0);
    if (nTheme == 0 || nTheme != (LRESULT)pTheme->GetCurrentTheme())
        return FALSE;
    CRect rc;
    ::GetWindowRect(hWndStatus, &rc);
    if (pcy)
        *pcy = rc.Height();
    return TRUE;
}

void RibbonFrameHook::PostUpdate()
{
    m_bUpdatePosted = TRUE;
    ::PostMessageA(m_hWnd, WM_IDLEUPDATECMDUI, 0, 0);
}

void RibbonFrameHook::RecalcFrame()
{
    m_region.Forget();
    m_bUpdatePosted = FALSE;
    if (!::IsWindow(m_hWnd))
        return;
    ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    CWnd* pWnd = CWnd::FromHandlePermanent(m_hWnd);
    if (CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pWnd)) {
        pFrame->RecalcLayout();
    } else {
        CRect rc;
        ::GetClientRect(m_hWnd, &rc);
        ::SendMessageA(m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.Width(), rc.Height()));
    }
    if (m_pCommandBars)
        m_pCommandBars->RecalcFrameLayout();
}

int RibbonFrameHook::UpdateFrameRegion(int cx, int cy, BOOL bForce)
{
    COffice2007Theme* pTheme = GetTheme();
    if (!pTheme)
        return 0;
    FrameRegionRequest r;
    r.cx = cx;
    r.cy = cy;
    r.bForce = bForce;
    CRect rcAdjust(0, 0, 0, 0);
    ::AdjustWindowRectEx(&rcAdjust, (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE), FALSE,
                         (DWORD)::GetWindowLongA(m_hWnd, GWL_EXSTYLE));
    r.nBorder = -rcAdjust.left;
    r.bComposition = m_bDwmEnabled;
    r.bMaximized = ::IsZoomed(m_hWnd);
    r.bMaximizedMdiChild = IsMaximizedMdiChild();
    r.bUsesSystemMetrics = UsesSystemMetrics();
    r.nCaptionHeight = GetCaptionHeight();
    return m_region.Update(r, [&](const FrameRegionDecision& d) -> int {
        m_nFrameBorder = d.nBorder;
        switch (d.action) {
        case kFrameRegionExtend:
            return (int)m_pfnExtendFrameIntoClientArea(m_hWnd, d.nTopMargin);
        case kFrameRegionRemove:
            return ::SetWindowRgn(m_hWnd, NULL, TRUE);
        case kFrameRegionRect:
            return ::SetWindowRgn(m_hWnd, ::CreateRectRgnIndirect(&d.rc), TRUE);
        case kFrameRegionTheme: {
            QXPFrameSkin f = GetFrame();
            return ::SetWindowRgn(m_hWnd, pTheme->CalcFrameRegion(f, cx, cy), TRUE);
        }
        default:
            return 0;
        }
    });
}

void RibbonFrameHook::RefreshFrameRegion()
{
    if (!::IsWindow(m_hWnd))
        return;
    CRect rc;
    ::GetWindowRect(m_hWnd, &rc);
    UpdateFrameRegion(rc.Width(), rc.Height(), TRUE);
}

void RibbonFrameHook::UpdateComposition()
{
    m_bDwmEnabled = m_pfnIsCompositionEnabled && m_pfnIsCompositionEnabled();
}

QXPFrameSkin RibbonFrameHook::GetFrame() const
{
    QXPFrameSkin f;
    f.hWnd = m_hWnd;
    f.bActive = m_bActive;
    CRect rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    f.szWindow = rcWindow.Size();
    const LONG lStyle = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    const BOOL bOwnCaption = UsesSystemMetrics();
    f.nBorder = GetFrameBorder();
    f.nCaption = bOwnCaption ? GetCaptionHeight() : 0;
    f.bCaption = (lStyle & WS_CAPTION) == WS_CAPTION && bOwnCaption;
    f.bMaximized = (lStyle & WS_MAXIMIZE) != 0;
    int cyStatus = 0;
    if (m_nStatusBarOverride > 0)
        cyStatus = m_nStatusBarOverride;
    else if (!GetStatusBarHeight(&cyStatus))
        cyStatus = 0;
    f.nStatusBar = cyStatus;
    // Square bottom corners under a status-bar strip, rounded without one.
    f.bRoundedBottom = cyStatus == 0;

    if (f.bCaption && (lStyle & WS_SYSMENU)) {
        // Right to left from the top-right corner, inside the border.
        const int cy = f.nCaption - f.nBorder - 4 > 14 ? f.nCaption - f.nBorder - 4 : 14;
        const int cx = cy + 4;
        const int y = f.nBorder + (f.nCaption - f.nBorder - cy) / 2;
        int x = f.szWindow.cx - f.nBorder - 2;
        auto add = [&](UINT nCommand) {
            QXPFrameCaptionButton b;
            b.nCommand = nCommand;
            b.rc = CRect(x - cx, y, x, y + cy);
            b.bSelected = m_nHot == nCommand && (!m_nTracking || m_nTracking == nCommand);
            b.bPressed = m_nTracking == nCommand && m_bArmed;
            b.bEnabled = TRUE;
            f.buttons.push_back(b);
            x -= cx + 2;
        };
        add(SC_CLOSE);
        if (lStyle & WS_MAXIMIZEBOX)
            add(f.bMaximized ? SC_RESTORE : SC_MAXIMIZE);
        if (lStyle & WS_MINIMIZEBOX)
            add(SC_MINIMIZE);
    }
    return f;
}

UINT RibbonFrameHook::HitTestButton(CPoint pt) const
{
    QXPFrameSkin f = GetFrame();
    for (const QXPFrameCaptionButton& b : f.buttons)
        if (b.rc.PtInRect(pt))
            return b.nCommand;
    return 0;
}

LRESULT RibbonFrameHook::HitTest(CPoint pt) const
{
    const UINT nCommand = HitTestButton(pt);
    if (nCommand == SC_CLOSE)
        return HTCLOSE;
    if (nCommand == SC_MINIMIZE)
        return HTMINBUTTON;
    if (nCommand)
        return HTMAXBUTTON;
    CRect rcWindow, rcClient;
    ::GetWindowRect(m_hWnd, &rcWindow);
    ::GetClientRect(m_hWnd, &rcClient);
    ::MapWindowPoints(m_hWnd, NULL, (POINT*)&rcClient, 2);
    rcClient.OffsetRect(-rcWindow.left, -rcWindow.top);
    const CSize sz = rcWindow.Size();
    if (!CRect(0, 0, sz.cx, sz.cy).PtInRect(pt))
        return HTNOWHERE;
    // The ribbon's caption reaches the top edge: its sizing edge is the
    // frame's too.
    CQXPRibbonBar* pRibbon = UsesSystemMetrics() ? NULL : GetRibbonBar();
    if (pRibbon && ::IsWindow(pRibbon->GetSafeHwnd())) {
        CPoint ptRibbon(rcWindow.left + pt.x, rcWindow.top + pt.y);
        pRibbon->ScreenToClient(&ptRibbon);
        const int nHit = pRibbon->HitTestCaption(ptRibbon);
        if (nHit >= HTLEFT && nHit <= HTBOTTOMRIGHT)
            return nHit;
    }
    if (rcClient.PtInRect(pt))
        return HTCLIENT;
    const LONG lStyle = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    const int b = GetFrameBorder();
    const int nCaption = UsesSystemMetrics() ? GetCaptionHeight() : 0;
    if ((lStyle & WS_THICKFRAME) && !(lStyle & WS_MAXIMIZE)) {
        const int nCorner = ::GetSystemMetrics(SM_CXSIZE);
        const BOOL bLeft = pt.x < b, bRight = pt.x >= sz.cx - b;
        const BOOL bTop = pt.y < b, bBottom = pt.y >= sz.cy - b;
        if (bTop || bBottom) {
            if (pt.x < nCorner)
                return bTop ? HTTOPLEFT : HTBOTTOMLEFT;
            if (pt.x >= sz.cx - nCorner)
                return bTop ? HTTOPRIGHT : HTBOTTOMRIGHT;
            return bTop ? HTTOP : HTBOTTOM;
        }
        if (bLeft || bRight) {
            if (pt.y < nCorner)
                return bLeft ? HTTOPLEFT : HTTOPRIGHT;
            if (pt.y >= sz.cy - nCorner)
                return bLeft ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
            return bLeft ? HTLEFT : HTRIGHT;
        }
    }
    if (pt.y < nCaption && (lStyle & WS_CAPTION) == WS_CAPTION) {
        if ((lStyle & WS_SYSMENU) && pt.x < 7 + ::GetSystemMetrics(SM_CXSMICON) &&
            COffice2007Theme::GetFrameSmallIcon(m_hWnd))
            return HTSYSMENU;
        return HTCAPTION;
    }
    return HTBORDER;
}

BOOL RibbonFrameHook::DwmDefHitTest(CPoint ptScreen, LRESULT* plResult) const
{
    if (!m_bDwmEnabled || !m_pfnDwmDefWindowProc)
        return FALSE;
    return m_pfnDwmDefWindowProc(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y), plResult);
}

void RibbonFrameHook::Redraw()
{
    COffice2007Theme* pTheme = GetTheme();
    if (!m_bAttached || !pTheme || !::IsWindow(m_hWnd) || ::IsIconic(m_hWnd))
        return;
    HDC hdc = ::GetWindowDC(m_hWnd);
    if (!hdc)
        return;
    QXPFrameSkin f = GetFrame();
    CRect rcWindow, rcClient;
    ::GetWindowRect(m_hWnd, &rcWindow);
    ::GetClientRect(m_hWnd, &rcClient);
    ::MapWindowPoints(m_hWnd, NULL, (POINT*)&rcClient, 2);
    rcClient.OffsetRect(-rcWindow.left, -rcWindow.top);
    ::ExcludeClipRect(hdc, rcClient.left, rcClient.top, rcClient.right, rcClient.bottom);
    CDC dc;
    dc.Attach(hdc);
    pTheme->DrawFrame(&dc, f);
    dc.Detach();
    ::ReleaseDC(m_hWnd, hdc);
}

void RibbonFrameHook::RedrawRibbon()
{
    CQXPRibbonBar* pRibbon = GetRibbonBar();
    if (pRibbon && ::IsWindow(pRibbon->GetSafeHwnd()) && !UsesSystemMetrics()) {
        CRect rc = pRibbon->GetCaptionRect();
        pRibbon->Redraw(rc.IsRectEmpty() ? NULL : &rc, FALSE);
    }
}

void RibbonFrameHook::SetHot(UINT nCommand)
{
    if (m_nHot == nCommand)
        return;
    m_nHot = nCommand;
    if (nCommand) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE | TME_NONCLIENT, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
    }
    Redraw();
}

int RibbonFrameHook::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (hWnd != m_hWnd || !GetTheme())
        return kNotHandled;
    auto windowPoint = [&](LPARAM l) {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        return CPoint((short)LOWORD(l) - rc.left, (short)HIWORD(l) - rc.top);
    };
    switch (nMessage) {
    case WM_NCCALCSIZE: {
        if (::IsIconic(hWnd))
            return kNotHandled;
        RECT* prc = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
        const int b = GetFrameBorder();
        const int nTop = UsesSystemMetrics() ? GetCaptionHeight() : 0;
        prc->left += b;
        prc->right -= b;
        prc->bottom -= b;
        prc->top += nTop;
        if (prc->bottom < prc->top)
            prc->bottom = prc->top;
        if (prc->right < prc->left)
            prc->right = prc->left;
        lResult = 0;
        return kHandled;
    }
    case WM_NCPAINT:
        Redraw();
        lResult = 0;
        return kHandled;
    case WM_NCACTIVATE:
        m_bActive = wParam != 0;
        Redraw();
        RedrawRibbon();
        lResult = TRUE;
        return kHandled;
    case WM_SETTEXT:
    case WM_SETICON: {
        // The system paints its own caption for these: hide the window from it.
        const LONG lStyle = ::GetWindowLongA(hWnd, GWL_STYLE);
        if (lStyle & WS_VISIBLE)
            ::SetWindowLongA(hWnd, GWL_STYLE, lStyle & ~WS_VISIBLE);
        lResult = ::DefWindowProcA(hWnd, nMessage, wParam, lParam);
        if (lStyle & WS_VISIBLE)
            ::SetWindowLongA(hWnd, GWL_STYLE, lStyle);
        if (nMessage == WM_SETTEXT)
            if (CQXPRibbonBar* pRibbon = GetRibbonBar())
                pRibbon->OnFrameTitleChanged();
        Redraw();
        RedrawRibbon();
        return kHandled;
    }
    case WM_NCHITTEST:
        if (!DwmDefHitTest(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)), &lResult))
            lResult = HitTest(windowPoint(lParam));
        return kHandled;
    case WM_NCMOUSEMOVE:
        if (!m_nTracking)
            SetHot(HitTestButton(windowPoint(lParam)));
        return kNotHandled;
    case WM_NCMOUSELEAVE:
        if (!m_nTracking)
            SetHot(0);
        return kNotHandled;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
        const UINT nCommand = HitTestButton(windowPoint(lParam));
        if (!nCommand)
            return kNotHandled;
        m_nTracking = nCommand;
        m_bArmed = TRUE;
        m_nHot = nCommand;
        ::SetCapture(hWnd);
        Redraw();
        lResult = 0;
        return kHandled;
    }
    case WM_MOUSEMOVE:
        if (m_nTracking) {
            POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            ::ClientToScreen(hWnd, &pt);
            const BOOL bOver = HitTestButton(windowPoint(MAKELPARAM(pt.x, pt.y))) == m_nTracking;
            if (bOver != m_bArmed) {
                m_bArmed = bOver;
                m_nHot = bOver ? m_nTracking : 0;
                Redraw();
            }
            lResult = 0;
            return kHandled;
        }
        return kNotHandled;
    case WM_LBUTTONUP:
        if (m_nTracking) {
            const UINT nCommand = m_nTracking;
            const BOOL bArmed = m_bArmed;
            m_nTracking = 0;
            m_bArmed = FALSE;
            ::ReleaseCapture();
            Redraw();
            if (bArmed)
                ::SendMessageA(hWnd, WM_SYSCOMMAND, nCommand, 0);
            lResult = 0;
            return kHandled;
        }
        return kNotHandled;
    case WM_CAPTURECHANGED:
        if (m_nTracking && (HWND)lParam != hWnd) {
            m_nTracking = 0;
            m_bArmed = FALSE;
            Redraw();
        }
        return kNotHandled;
    case WM_SIZE: {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        UpdateFrameRegion(rc.Width(), rc.Height(), FALSE);
        return kNotHandled;
    }
    case WM_STYLECHANGED:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        RefreshFrameRegion();
        return kNotHandled;
    case WM_IDLEUPDATECMDUI:
        if (m_bUpdatePosted)
            RecalcFrame();
        return kNotHandled;
    case WM_GETMINMAXINFO: {
        // Maximised, the frame covers its monitor's work area and hides its
        // borders beyond it.
        HMONITOR hMonitor = ::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST);
        MONITORINFO mi;
        ZeroMemory(&mi, sizeof(mi));
        mi.cbSize = sizeof(mi);
        if (hMonitor && ::GetMonitorInfoA(hMonitor, &mi) && !(::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)) {
            auto* pmmi = reinterpret_cast<MINMAXINFO*>(lParam);
            const int b = GetFrameBorder();
            pmmi->ptMaxPosition.x = mi.rcWork.left - mi.rcMonitor.left - b;
            pmmi->ptMaxPosition.y = mi.rcWork.top - mi.rcMonitor.top - b;
            pmmi->ptMaxSize.x = mi.rcWork.right - mi.rcWork.left + 2 * b;
            pmmi->ptMaxSize.y = mi.rcWork.bottom - mi.rcWork.top + 2 * b;
        }
        return kNotHandled;
    }
    case WM_DWMCOMPOSITIONCHANGED:
        UpdateComposition();
        // A composited frame has no region of its own: one made before
        // would clip it (a maximized frame to its old size).
        if (m_bDwmEnabled)
            ::SetWindowRgn(hWnd, NULL, TRUE);
        RecalcFrame();
        RefreshFrameRegion();
        return kNotHandled;
    default:
        return kNotHandled;
    }
}
