// frameskin.cpp - COffice2007FrameSkin: non-client painting, caption-button
// hit testing and tracking of a skinned top-level window.
#include <qx/frameskin.h>

#include <commctrl.h>

static const UINT_PTR kSubclassId = 0x51F2007;

COffice2007FrameSkin::COffice2007FrameSkin()
    : m_hWnd(NULL), m_pTheme(NULL), m_bActive(TRUE), m_nHot(0), m_nTracking(0), m_bArmed(FALSE), m_nStatusBar(0)
{
}

COffice2007FrameSkin::~COffice2007FrameSkin() { Detach(); }

BOOL COffice2007FrameSkin::Attach(HWND hWnd, COffice2007Theme* pTheme)
{
    Detach();
    if (!::IsWindow(hWnd) || !pTheme)
        return FALSE;
    if (!::SetWindowSubclass(hWnd, SubclassProc, kSubclassId, (DWORD_PTR)this))
        return FALSE;
    m_hWnd = hWnd;
    m_pTheme = pTheme;
    m_pTheme->InternalAddRef();
    m_bActive = ::GetActiveWindow() == hWnd;
    m_szRegion = CSize(0, 0);
    UpdateRegion();
    ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Redraw();
    return TRUE;
}

void COffice2007FrameSkin::Detach()
{
    if (m_hWnd) {
        ::RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
        if (::IsWindow(m_hWnd)) {
            ::SetWindowRgn(m_hWnd, NULL, TRUE);
            ::RedrawWindow(m_hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE);
        }
        m_hWnd = NULL;
    }
    if (m_pTheme) {
        m_pTheme->InternalRelease();
        m_pTheme = NULL;
    }
}

QXPFrameSkin COffice2007FrameSkin::GetFrame() const
{
    QXPFrameSkin f;
    f.hWnd = m_hWnd;
    f.bActive = m_bActive;
    CRect rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    f.szWindow = rcWindow.Size();
    const LONG lStyle = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    const LONG lExStyle = ::GetWindowLongA(m_hWnd, GWL_EXSTYLE);
    CRect rcAdjust(0, 0, 0, 0);
    ::AdjustWindowRectEx(&rcAdjust, (DWORD)lStyle, FALSE, (DWORD)lExStyle);
    f.nBorder = -rcAdjust.left;
    f.nCaption = -rcAdjust.top;
    f.bCaption = (lStyle & WS_CAPTION) == WS_CAPTION;
    f.bMaximized = (lStyle & WS_MAXIMIZE) != 0;
    f.nStatusBar = m_nStatusBar;

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

UINT COffice2007FrameSkin::HitTestButton(CPoint pt) const
{
    QXPFrameSkin f = GetFrame();
    for (const QXPFrameCaptionButton& b : f.buttons)
        if (b.rc.PtInRect(pt))
            return b.nCommand;
    return 0;
}

void COffice2007FrameSkin::UpdateRegion()
{
    CRect rc;
    ::GetWindowRect(m_hWnd, &rc);
    if (rc.Size() == m_szRegion)
        return;
    m_szRegion = rc.Size();
    QXPFrameSkin f = GetFrame();
    HRGN hRgn = m_pTheme->CalcFrameRegion(f, rc.Width(), rc.Height());
    ::SetWindowRgn(m_hWnd, hRgn, TRUE); // the system owns it now (NULL removes it)
}

void COffice2007FrameSkin::Redraw()
{
    if (!m_hWnd || !m_pTheme || ::IsIconic(m_hWnd))
        return;
    HDC hdc = ::GetWindowDC(m_hWnd);
    if (!hdc)
        return;
    QXPFrameSkin f = GetFrame();
    // The client area is the window's own.
    CRect rcWindow, rcClient;
    ::GetWindowRect(m_hWnd, &rcWindow);
    ::GetClientRect(m_hWnd, &rcClient);
    ::MapWindowPoints(m_hWnd, NULL, (POINT*)&rcClient, 2);
    rcClient.OffsetRect(-rcWindow.left, -rcWindow.top);
    ::ExcludeClipRect(hdc, rcClient.left, rcClient.top, rcClient.right, rcClient.bottom);
    CDC dc;
    dc.Attach(hdc);
    m_pTheme->DrawFrame(&dc, f);
    dc.Detach();
    ::ReleaseDC(m_hWnd, hdc);
}

void COffice2007FrameSkin::SetHot(UINT nCommand)
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

LRESULT CALLBACK COffice2007FrameSkin::SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                    DWORD_PTR dwRefData)
{
    auto* pSkin = reinterpret_cast<COffice2007FrameSkin*>(dwRefData);
    if (!pSkin || pSkin->m_hWnd != hWnd)
        return ::DefSubclassProc(hWnd, msg, wParam, lParam);
    return pSkin->WindowProc(msg, wParam, lParam);
}

LRESULT COffice2007FrameSkin::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = m_hWnd;
    auto windowPoint = [&](LPARAM l) {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        return CPoint((short)LOWORD(l) - rc.left, (short)HIWORD(l) - rc.top);
    };
    switch (msg) {
    case WM_NCPAINT:
        Redraw();
        return 0;
    case WM_NCACTIVATE:
        m_bActive = wParam != 0;
        Redraw();
        return TRUE;
    case WM_SETTEXT:
    case WM_SETICON: {
        // The system paints its own caption for these: hide it from it.
        const LONG lStyle = ::GetWindowLongA(hWnd, GWL_STYLE);
        if (lStyle & WS_VISIBLE)
            ::SetWindowLongA(hWnd, GWL_STYLE, lStyle & ~WS_VISIBLE);
        LRESULT lr = ::DefSubclassProc(hWnd, msg, wParam, lParam);
        if (lStyle & WS_VISIBLE)
            ::SetWindowLongA(hWnd, GWL_STYLE, lStyle);
        Redraw();
        return lr;
    }
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED: {
        LRESULT lr = ::DefSubclassProc(hWnd, msg, wParam, lParam);
        UpdateRegion();
        return lr;
    }
    case WM_NCHITTEST: {
        UINT nCommand = HitTestButton(windowPoint(lParam));
        if (nCommand == SC_CLOSE)
            return HTCLOSE;
        if (nCommand == SC_MINIMIZE)
            return HTMINBUTTON;
        if (nCommand)
            return HTMAXBUTTON;
        LRESULT lr = ::DefSubclassProc(hWnd, msg, wParam, lParam);
        // The system's own buttons are not where ours are.
        if (lr == HTCLOSE || lr == HTMINBUTTON || lr == HTMAXBUTTON || lr == HTHELP)
            lr = HTCAPTION;
        return lr;
    }
    case WM_NCMOUSEMOVE:
        if (!m_nTracking)
            SetHot(HitTestButton(windowPoint(lParam)));
        break;
    case WM_NCMOUSELEAVE:
        if (!m_nTracking)
            SetHot(0);
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
        UINT nCommand = HitTestButton(windowPoint(lParam));
        if (!nCommand)
            break;
        m_nTracking = nCommand;
        m_bArmed = TRUE;
        m_nHot = nCommand;
        ::SetCapture(hWnd);
        Redraw();
        return 0;
    }
    case WM_MOUSEMOVE:
        if (m_nTracking) {
            POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            ::ClientToScreen(hWnd, &pt);
            BOOL bOver = HitTestButton(windowPoint(MAKELPARAM(pt.x, pt.y))) == m_nTracking;
            if (bOver != m_bArmed) {
                m_bArmed = bOver;
                m_nHot = bOver ? m_nTracking : 0;
                Redraw();
            }
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (m_nTracking) {
            UINT nCommand = m_nTracking;
            BOOL bArmed = m_bArmed;
            m_nTracking = 0;
            m_bArmed = FALSE;
            ::ReleaseCapture();
            Redraw();
            if (bArmed)
                ::SendMessageA(hWnd, WM_SYSCOMMAND, nCommand, 0);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (m_nTracking && (HWND)lParam != hWnd) {
            m_nTracking = 0;
            m_bArmed = FALSE;
            Redraw();
        }
        break;
    case WM_NCDESTROY: {
        LRESULT lr = ::DefSubclassProc(hWnd, msg, wParam, lParam);
        ::RemoveWindowSubclass(hWnd, SubclassProc, kSubclassId);
        m_hWnd = NULL;
        if (m_pTheme) {
            m_pTheme->InternalRelease();
            m_pTheme = NULL;
        }
        return lr;
    }
    }
    return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}
