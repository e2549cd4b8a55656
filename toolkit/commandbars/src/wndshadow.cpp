// wndshadow.cpp - edge shadows of top-level popups: strips that follow
// their owner, are cut around the opening control, join at corners, and
// are parked for reuse when the owner goes.
#include <qx/wndshadow.h>

#include <qx/colors.h>
#include <qx/drawing.h>

#include <algorithm>

namespace {

const UINT_PTR kShowTimer = 1;

HWND MainWindow()
{
    CWnd* pMain = AfxGetMainWnd();
    return pMain ? pMain->GetSafeHwnd() : NULL;
}

void SetOwnerWindow(HWND hWnd, HWND hWndOwner) { ::SetWindowLongPtrA(hWnd, GWLP_HWNDPARENT, (LONG_PTR)hWndOwner); }

} // namespace

CRect AFXAPI WndShadowJoinCorner(const CRect& rcStrip, int nSide, const CRect& rcOther, int nThickness)
{
    CRect rc = rcStrip;
    if (nSide == kShadowBottom) {
        if (rcOther.right == rcStrip.left + 1 && rcOther.top <= rcStrip.top && rcOther.bottom >= rcStrip.bottom)
            rc.left -= 2 * nThickness + 1;
    } else {
        if (rcOther.bottom == rcStrip.top + 1 && rcOther.left <= rcStrip.left && rcOther.right >= rcStrip.right)
            rc.top -= 2 * nThickness;
    }
    return rc;
}

CRect AFXAPI WndShadowExcludedPart(const CRect& rcStrip, const CRect& rcExclude)
{
    CRect rcCut;
    if (!rcCut.IntersectRect(rcStrip, rcExclude))
        return CRect(0, 0, 0, 0);
    rcCut.OffsetRect(-rcStrip.left, -rcStrip.top);
    return rcCut;
}

int AFXAPI WndShadowSnapshotAmount(int x, int y, int cx, int cy, int nSide)
{
    return (int)(QxpShadowPixel(x, y, cx, cy, nSide == kShadowBottom, RGB(0, 0, 0), TRUE) >> 24);
}

// ---------------------------------------------------------------------------
// The owner's hook.

LRESULT WndShadowHook::DefaultProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    const HWND hWndStrip = m_hWndStrip;
    const LRESULT lResult = CQXWndHook::DefaultProc(nMessage, wParam, lParam);
    if (nMessage == WM_DESTROY) {
        ::PostMessageA(hWndStrip, QXWM_SHADOW_REMOVE, 0, 0);
    } else if (nMessage == WM_WINDOWPOSCHANGED) {
        const WINDOWPOS* pPos = (const WINDOWPOS*)lParam;
        if (!pPos || (pPos->flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE))
            ::PostMessageA(hWndStrip, QXWM_SHADOW_FOLLOW, 0, 0);
    }
    return lResult;
}

// ---------------------------------------------------------------------------
// A strip.

BEGIN_MESSAGE_MAP(WndShadowWindow, CWnd)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_MESSAGE(QXWM_SHADOW_FOLLOW, OnFollow)
    ON_MESSAGE(QXWM_SHADOW_REMOVE, OnRemove)
END_MESSAGE_MAP()

WndShadowWindow::WndShadowWindow()
    : m_nThickness(QXP_SHADOW_THICKNESS), m_bFollow(FALSE), m_nSide(kShadowBottom), m_bLayered(FALSE),
      m_bSnapshot(FALSE), m_hWndOwner(NULL), m_rcExclude(0, 0, 0, 0), m_pHook(NULL), m_pManager(NULL)
{
}

WndShadowWindow::~WndShadowWindow()
{
    delete m_pHook;
    if (m_hWnd)
        DestroyWindow();
}

void WndShadowWindow::ApplyExclusion()
{
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    const CRect rcCut = WndShadowExcludedPart(rcWindow, m_rcExclude);
    if (rcCut.IsRectEmpty()) {
        SetWindowRgn(NULL, TRUE);
        return;
    }
    HRGN hRgn = ::CreateRectRgn(0, 0, rcWindow.Width(), rcWindow.Height());
    HRGN hCut = ::CreateRectRgnIndirect(&rcCut);
    ::CombineRgn(hRgn, hRgn, hCut, RGN_DIFF);
    ::DeleteObject(hCut);
    ::SetWindowRgn(m_hWnd, hRgn, TRUE); // the window owns the region now
}

void WndShadowWindow::JoinCorners()
{
    if (!m_pManager)
        return;
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CRect rc = rcWindow;
    for (WndShadowWindow* pOther : m_pManager->GetActive()) {
        if (pOther == this || pOther->m_nSide == m_nSide || pOther->m_hWndOwner == m_hWndOwner || !pOther->m_hWnd)
            continue;
        CRect rcOther;
        pOther->GetWindowRect(&rcOther);
        rc = WndShadowJoinCorner(rc, m_nSide, rcOther, m_nThickness);
    }
    if (rc != rcWindow)
        SetWindowPos(NULL, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void WndShadowWindow::DrawLayered(int cx, int cy)
{
    if (!m_pManager || !m_pManager->m_pfnUpdateLayeredWindow)
        return;
    CBitmap bitmap;
    void* pvBits = NULL;
    if (!CreateBitmap32(&bitmap, cx, cy, &pvBits))
        return;
    QxpFillShadowBits((DWORD*)pvBits, cx, cy, m_nSide == kShadowBottom, GlobalThemeState::Instance()->GetShadowColor(), TRUE, TRUE);
    HDC hdcScreen = ::GetDC(NULL);
    HDC hdcMem = ::CreateCompatibleDC(hdcScreen);
    HGDIOBJ hOld = ::SelectObject(hdcMem, bitmap.GetSafeHandle());
    POINT ptSrc = {0, 0};
    SIZE size = {cx, cy};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    m_pManager->m_pfnUpdateLayeredWindow(m_hWnd, NULL, NULL, &size, hdcMem, &ptSrc, 0, &blend, ULW_ALPHA);
    ::SelectObject(hdcMem, hOld);
    ::DeleteDC(hdcMem);
    ::ReleaseDC(NULL, hdcScreen);
}

void WndShadowWindow::Capture()
{
    CRect rc;
    GetWindowRect(&rc);
    const int cx = rc.Width(), cy = rc.Height();
    m_bmpSnapshot.DeleteObject();
    if (cx <= 0 || cy <= 0)
        return;
    HDC hdcScreen = ::GetDC(NULL);
    {
        ScreenCaptureDC capture(hdcScreen, rc);
        capture.SetWriteBack(FALSE);
        if (capture.Capture()) {
            ::GdiFlush();
            // Bottom-up rows: row r of the bitmap is screen row cy - 1 - r.
            DWORD* pBits = capture.GetBits();
            for (int y = 0; y < cy; y++) {
                DWORD* pRow = pBits + (size_t)(cy - 1 - y) * cx;
                for (int x = 0; x < cx; x++) {
                    const int d = WndShadowSnapshotAmount(x, y, cx, cy, m_nSide);
                    const DWORD v = pRow[x];
                    auto sub = [d](DWORD c) { return (DWORD)std::max(0, (int)c - d); };
                    pRow[x] = (sub((v >> 16) & 0xFF) << 16) | (sub((v >> 8) & 0xFF) << 8) | sub(v & 0xFF);
                }
            }
            m_bmpSnapshot.Attach(capture.DetachBitmap());
        }
    }
    ::ReleaseDC(NULL, hdcScreen);
}

void WndShadowWindow::OnPaint()
{
    CPaintDC dc(this);
    if (!m_bSnapshot)
        return;
    if (!m_bmpSnapshot.GetSafeHandle())
        Capture();
    if (!m_bmpSnapshot.GetSafeHandle())
        return;
    CRect rc;
    GetClientRect(&rc);
    HDC hdcMem = ::CreateCompatibleDC(dc.GetSafeHdc());
    HGDIOBJ hOld = ::SelectObject(hdcMem, m_bmpSnapshot.GetSafeHandle());
    ::BitBlt(dc.GetSafeHdc(), 0, 0, rc.Width(), rc.Height(), hdcMem, 0, 0, SRCCOPY);
    ::SelectObject(hdcMem, hOld);
    ::DeleteDC(hdcMem);
}

void WndShadowWindow::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_bLayered && cx > 0 && cy > 0)
        DrawLayered(cx, cy);
}

void WndShadowWindow::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kShowTimer) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    KillTimer(kShowTimer);
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT WndShadowWindow::OnFollow(WPARAM, LPARAM)
{
    if (!::IsWindow(m_hWndOwner))
        return 0;
    if (!m_bFollow) {
        JoinCorners();
        return 0;
    }
    CRect rcOwner;
    ::GetWindowRect(m_hWndOwner, &rcOwner);
    const CRect rc = QxpShadowStripRect(rcOwner, m_nSide == kShadowBottom, m_nThickness);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    if (rc == rcWindow)
        return 0;
    SetWindowPos(NULL, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    JoinCorners();
    SetWindowRgn(NULL, FALSE);
    ApplyExclusion();
    if (m_bSnapshot) {
        ShowWindow(SW_HIDE);
        m_bmpSnapshot.DeleteObject();
        ::InvalidateRect(NULL, NULL, TRUE);
        SetTimer(kShowTimer, 1, NULL);
    }
    return 0;
}

LRESULT WndShadowWindow::OnRemove(WPARAM, LPARAM)
{
    if (m_pManager)
        m_pManager->Recycle(this);
    return 0;
}

// ---------------------------------------------------------------------------
// The manager.

WndShadowManager::WndShadowManager() : m_pfnUpdateLayeredWindow(NULL), m_bUseLayered(TRUE)
{
    if (HMODULE hUser = ::GetModuleHandleA("USER32"))
        m_pfnUpdateLayeredWindow =
            (CLayeredShadowManager::PFNUPDATELAYEREDWINDOW)(void*)::GetProcAddress(hUser, "UpdateLayeredWindow");
}

WndShadowManager::~WndShadowManager()
{
    for (WndShadowWindow* p : m_active)
        delete p;
    for (WndShadowWindow* p : m_recycled)
        delete p;
}

WndShadowManager* AFXAPI GetWndShadowManager()
{
    static WndShadowManager s_manager;
    return &s_manager;
}

void WndShadowManager::SetShadow(CWnd* pOwner, const CRect& rcExclude)
{
    if (!pOwner || !pOwner->GetSafeHwnd())
        return;
    CRect rcOwner;
    pOwner->GetWindowRect(&rcOwner);
    CreateStrip(kShadowBottom, rcOwner, rcExclude, pOwner, TRUE);
    CreateStrip(kShadowRight, rcOwner, rcExclude, pOwner, TRUE);
}

WndShadowWindow* WndShadowManager::CreateStrip(int nSide, const CRect& rcOwner, const CRect& rcExclude, CWnd* pOwner,
                                               BOOL bFollow)
{
    if (!pOwner || !pOwner->GetSafeHwnd())
        return NULL;
    const BOOL bLayered = IsLayered();
    WndShadowWindow* pStrip = NULL;
    // A parked strip of the same kind is reused.
    for (auto it = m_recycled.begin(); it != m_recycled.end(); ++it) {
        if ((*it)->m_bLayered == bLayered) {
            pStrip = *it;
            m_recycled.erase(it);
            break;
        }
    }
    if (!pStrip)
        pStrip = new WndShadowWindow;
    pStrip->m_pManager = this;
    pStrip->m_rcExclude = rcExclude;
    pStrip->m_hWndOwner = pOwner->GetSafeHwnd();
    pStrip->m_bFollow = bFollow;
    pStrip->m_bLayered = bLayered;
    pStrip->m_bSnapshot = !bLayered;
    pStrip->m_nThickness = QXP_SHADOW_THICKNESS;
    pStrip->m_nSide = nSide;

    if (!pStrip->m_hWnd) {
        LPCSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
        if (!pStrip->CreateEx(WS_EX_TOOLWINDOW | (bLayered ? WS_EX_LAYERED : 0), lpszClass, "", WS_POPUP, 0, 0, 0, 0,
                              MainWindow(), 0)) {
            delete pStrip;
            return NULL;
        }
    }
    pStrip->SetWindowRgn(NULL, FALSE);
    const CRect rc = QxpShadowStripRect(rcOwner, nSide == kShadowBottom, pStrip->m_nThickness);
    pStrip->SetWindowPos(NULL, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    // A reused window of the same size gets no WM_SIZE: draw its picture.
    if (bLayered && rc.Width() > 0 && rc.Height() > 0)
        pStrip->DrawLayered(rc.Width(), rc.Height());

    pStrip->m_pHook = new WndShadowHook(pStrip->m_hWnd);
    pStrip->m_pHook->HookWindow(pOwner);

    pStrip->JoinCorners();
    m_active.push_back(pStrip);
    pStrip->ApplyExclusion();

    SetOwnerWindow(pStrip->m_hWnd, NULL);
    if (pStrip->m_bSnapshot) {
        pStrip->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        pStrip->m_bmpSnapshot.DeleteObject();
        ::InvalidateRect(NULL, NULL, TRUE);
        pStrip->SetTimer(kShowTimer, 1, NULL);
    } else {
        pStrip->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    SetOwnerWindow(pStrip->m_hWnd, MainWindow());
    return pStrip;
}

void WndShadowManager::Recycle(WndShadowWindow* pStrip)
{
    auto it = std::find(m_active.begin(), m_active.end(), pStrip);
    if (it == m_active.end())
        return;
    m_active.erase(it);
    if (pStrip->m_pHook) {
        pStrip->m_pHook->SetWindow(NULL);
        delete pStrip->m_pHook;
        pStrip->m_pHook = NULL;
    }
    pStrip->m_bmpSnapshot.DeleteObject();
    pStrip->m_hWndOwner = NULL;
    pStrip->m_bFollow = FALSE;
    if (pStrip->m_hWnd) {
        pStrip->KillTimer(kShowTimer);
        pStrip->ShowWindow(SW_HIDE);
    }
    m_recycled.push_back(pStrip);
}
