// Drop shadows of popup bars and expanded controls.

#include <qx/popup.h>
#include <qx/images.h>
#include <qx/barshadow.h>
#include <qx/shadowstrip.h>

#include <algorithm>

namespace {

// The paint manager that decides how an owner window's shadows look: the
// bar's own for a command bar, else the global one.
CQXPThemePainter* OwnerPaintManager(HWND hWndOwner)
{
    if (CQXPCommandBar* pBar = dynamic_cast<CQXPCommandBar*>(CWnd::FromHandlePermanent(hWndOwner)))
        return pBar->GetPaintManager();
    return GetGlobalPaintManager();
}

BOOL AFXAPI QuerySystemDropShadow()
{
    BOOL bDropShadow = FALSE;
    if (!::SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &bDropShadow, 0))
        return FALSE;
    return bDropShadow;
}

} // namespace

BOOL AFXAPI CreateBitmap32(CBitmap* pBitmap, int cx, int cy, void** ppvBits)
{
    if (ppvBits)
        *ppvBits = NULL;
    if (!pBitmap || pBitmap->GetSafeHandle() || cx <= 0 || cy <= 0)
        return FALSE;
    BYTE* pBits = NULL;
    HBITMAP hbm = Create32BitDIBSection(NULL, cx, cy, &pBits);
    if (!hbm || !pBits) {
        if (hbm)
            ::DeleteObject(hbm);
        return FALSE;
    }
    void* pvBits = pBits;
    pBitmap->Attach(hbm);
    if (ppvBits)
        *ppvBits = pvBits;
    return TRUE;
}

// ===========================================================================
// CLayeredShadowWnd

BEGIN_MESSAGE_MAP(CLayeredShadowWnd, CWnd)
    ON_WM_NCHITTEST()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

CLayeredShadowWnd::CLayeredShadowWnd()
    : m_bBottom(FALSE), m_bRegion(FALSE), m_nShadowOptions(0), m_hWndOwner(NULL), m_bControl(FALSE), m_hook(this),
      m_bLayered(FALSE), m_bHooked(FALSE), m_rcExclude(0, 0, 0, 0), m_szPicture(0, 0), m_clrShadow(0),
      m_pManager(NULL)
{
}

CLayeredShadowWnd::~CLayeredShadowWnd()
{
    if (m_bHooked)
        CWindowHookManager::Instance()->RemoveHook(m_hWndOwner, &m_hook);
}

int CLayeredShadowWnd::GetThickness() const
{
    return m_bLayered ? QXP_SHADOW_THICKNESS : QXP_SHADOW_THICKNESS_PLAIN;
}

CQXPThemePainter* CLayeredShadowWnd::GetOwnerPaintManager() const
{
    return OwnerPaintManager(m_hWndOwner);
}

BOOL CLayeredShadowWnd::Place(const CRect& rcOwner, BOOL bNoSaveBits)
{
    if (!m_hWnd) {
        UINT nClassStyle = bNoSaveBits ? 0 : CS_SAVEBITS | CS_OWNDC;
        LPCSTR lpszClass = AfxRegisterWndClass(nClassStyle, ::LoadCursor(NULL, IDC_ARROW), NULL, NULL);
        // Tool window: no taskbar button. A layered shadow is also
        // transparent to the mouse where the system looks at the style
        // rather than at the hit test.
        DWORD dwExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
        if (m_bLayered)
            dwExStyle |= WS_EX_LAYERED | WS_EX_TRANSPARENT;
        if (!CreateEx(dwExStyle, lpszClass, "", WS_POPUP, 0, 0, 0, 0, m_hWndOwner, NULL))
            return FALSE;
    }
    RemoveRegion();
    CRect rc = QxpShadowStripRect(rcOwner, m_bBottom, GetThickness());
    ::SetWindowPos(m_hWnd, NULL, rc.left, rc.top, rc.Width(), rc.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOOWNERZORDER);
    return TRUE;
}

void CLayeredShadowWnd::RemoveRegion()
{
    if (m_hWnd && m_bRegion)
        ::SetWindowRgn(m_hWnd, NULL, ::IsWindowVisible(m_hWnd));
    m_bRegion = FALSE;
}

void CLayeredShadowWnd::ClipAgainst(const CRect& rcScreen)
{
    if (!m_hWnd || rcScreen.IsRectEmpty())
        return;
    CRect rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    CRect rcMeet;
    if (!rcMeet.IntersectRect(&rcWindow, &rcScreen))
        return;
    rcMeet.OffsetRect(-rcWindow.left, -rcWindow.top);
    HRGN hRgn = ::CreateRectRgn(0, 0, rcWindow.Width(), rcWindow.Height());
    if (!hRgn)
        return;
    // A shadow cut before keeps its earlier cuts.
    if (m_bRegion)
        ::GetWindowRgn(m_hWnd, hRgn);
    HRGN hCut = ::CreateRectRgnIndirect(&rcMeet);
    if (hCut) {
        ::CombineRgn(hRgn, hRgn, hCut, RGN_DIFF);
        ::DeleteObject(hCut);
    }
    // The window owns the region from here on.
    if (::SetWindowRgn(m_hWnd, hRgn, ::IsWindowVisible(m_hWnd)))
        m_bRegion = TRUE;
    else
        ::DeleteObject(hRgn);
}

void CLayeredShadowWnd::UpdatePicture()
{
    CLayeredShadowManager* pManager = m_pManager;
    if (!m_hWnd || !m_bLayered || !pManager || !pManager->m_pfnUpdateLayeredWindow)
        return;
    CRect rc;
    ::GetWindowRect(m_hWnd, &rc);
    const int cx = rc.Width(), cy = rc.Height();
    if (cx <= 0 || cy <= 0)
        return;
    CBitmap bitmap;
    void* pvBits = NULL;
    if (!CreateBitmap32(&bitmap, cx, cy, &pvBits))
        return;
    const BOOL bLight = (m_nShadowOptions & CQXPThemePainter::qxpShadowLight) != 0;
    QxpFillShadowBits((DWORD*)pvBits, cx, cy, m_bBottom, m_clrShadow, bLight, TRUE);
    HDC hdcScreen = ::GetDC(NULL);
    HDC hdcMem = hdcScreen ? ::CreateCompatibleDC(hdcScreen) : NULL;
    if (hdcMem) {
        HGDIOBJ hOld = ::SelectObject(hdcMem, (HBITMAP)bitmap);
        POINT ptSrc = {0, 0};
        SIZE size = {cx, cy};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        if (pManager->m_pfnUpdateLayeredWindow(m_hWnd, hdcScreen, NULL, &size, hdcMem, &ptSrc, 0, &blend, ULW_ALPHA))
            m_szPicture = CSize(cx, cy);
        ::SelectObject(hdcMem, hOld);
        ::DeleteDC(hdcMem);
    }
    if (hdcScreen)
        ::ReleaseDC(NULL, hdcScreen);
}

LRESULT CLayeredShadowWnd::OnNcHitTest(CPoint point)
{
    (void)point;
    return HTTRANSPARENT;
}

int CLayeredShadowWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    (void)pDesktopWnd;
    (void)nHitTest;
    (void)message;
    return MA_NOACTIVATE;
}

BOOL CLayeredShadowWnd::OnEraseBkgnd(CDC* pDC)
{
    (void)pDC;
    return TRUE;
}

void CLayeredShadowWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    // The layered picture comes from UpdateLayeredWindow; an ordinary paint
    // of a layered shadow only fills black.
    dc.FillSolidRect(rc, m_bLayered ? RGB(0, 0, 0) : GetOwnerPaintManager()->GetColor(COLOR_BTNSHADOW));
}

void CLayeredShadowWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_bLayered && cx > 0 && cy > 0 && CSize(cx, cy) != m_szPicture)
        UpdatePicture();
}

int CLayeredShadowWnd::COwnerHook::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam,
                                                 LRESULT& lResult)
{
    (void)hWnd;
    (void)lResult;
    // The shadow may be deleted inside: nothing of it is used afterwards.
    return m_pShadow->OnOwnerMessage(nMessage, wParam, lParam);
}

int CLayeredShadowWnd::OnOwnerMessage(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    switch (nMessage) {
    case WM_SHOWWINDOW:
        if (m_hWnd)
            ::ShowWindow(m_hWnd, wParam ? SW_SHOWNA : SW_HIDE);
        break;
    case WM_WINDOWPOSCHANGED:
        // Hidden through SetWindowPos, which sends no WM_SHOWWINDOW.
        if (m_hWnd && lParam && (((const WINDOWPOS*)lParam)->flags & SWP_HIDEWINDOW))
            ::ShowWindow(m_hWnd, SW_HIDE);
        break;
    case WM_DESTROY:
        // Unhooks, unlists and deletes this object.
        m_pManager->RemoveShadow(this);
        return CWindowHook::kNotHandled;
    default:
        break;
    }
    return CWindowHook::kNotHandled;
}

// ===========================================================================
// CLayeredShadowManager

CLayeredShadowManager* AFXAPI GetLayeredShadowManager()
{
    static CLayeredShadowManager s_manager;
    return &s_manager;
}

CLayeredShadowManager::CLayeredShadowManager()
    : m_pfnUpdateLayeredWindow(NULL), m_lstShadow(10), m_bLayered(FALSE), m_pfnDropShadowQuery(NULL)
{
    // The hook manager is made first so that it outlives this object at
    // exit: the shadows unhook themselves from it when they go.
    CWindowHookManager::Instance();
    HMODULE hUser = ::GetModuleHandleA("USER32");
    if (hUser)
        m_pfnUpdateLayeredWindow = (PFNUPDATELAYEREDWINDOW)(void*)::GetProcAddress(hUser, "UpdateLayeredWindow");
    m_bLayered = m_pfnUpdateLayeredWindow != NULL && !IsLowColorDisplay();
}

CLayeredShadowManager::~CLayeredShadowManager()
{
    // At exit the owners and the shadow windows may be gone already; only
    // windows that still exist are destroyed.
    while (!m_lstShadow.IsEmpty())
        DeleteShadow(m_lstShadow.GetHead());
}

void CLayeredShadowManager::SetLayered(BOOL bLayered)
{
    m_bLayered = bLayered && m_pfnUpdateLayeredWindow != NULL;
}

BOOL CLayeredShadowManager::IsSystemDropShadow() const
{
    return m_pfnDropShadowQuery ? m_pfnDropShadowQuery() : QuerySystemDropShadow();
}

BOOL CLayeredShadowManager::IsOwnerExcluded(HWND hWndOwner) const
{
    CQXPCommandBar* pBar = dynamic_cast<CQXPCommandBar*>(CWnd::FromHandlePermanent(hWndOwner));
    if (!pBar)
        return FALSE;
    if (pBar->IsCustomizeMode())
        return TRUE;
    CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(pBar);
    return pPopup && !pPopup->m_bShowShadow;
}

void CLayeredShadowManager::SetShadow(CWnd* pOwner, const CRect& rcExclude)
{
    SetShadow(pOwner->GetSafeHwnd(), rcExclude);
}

void CLayeredShadowManager::SetShadow(HWND hWndOwner, const CRect& rcExclude)
{
    if (!hWndOwner || !::IsWindow(hWndOwner) || IsOwnerExcluded(hWndOwner))
        return;
    CQXPThemePainter* pPaintManager = OwnerPaintManager(hWndOwner);
    if (!pPaintManager->m_bForceShadows && !(m_bLayered && IsSystemDropShadow()))
        return;
    CRect rcOwner;
    ::GetWindowRect(hWndOwner, &rcOwner);
    CreateShadow(TRUE, rcOwner, rcExclude, hWndOwner, FALSE);
    CreateShadow(FALSE, rcOwner, rcExclude, hWndOwner, FALSE);
}

void CLayeredShadowManager::SetControlShadow(CQXPControl* pControl)
{
    CQXPCommandBar* pParent = pControl ? pControl->GetParent() : NULL;
    CQXPCommandBar* pPopup = pControl ? pControl->GetCommandBar() : NULL;
    if (!pParent || !pPopup || !::IsWindow(pParent->GetSafeHwnd()) || !::IsWindow(pPopup->GetSafeHwnd()))
        return;
    if (pParent->IsCustomizeMode())
        return;
    CQXPThemePainter* pPaintManager = pParent->GetPaintManager();
    const int nBoth = CQXPThemePainter::qxpShadowLight | CQXPThemePainter::qxpShadowClipExclude;
    if ((pPaintManager->m_nShadowOptions & nBoth) != nBoth)
        return;
    // The same rule as the popup's own shadows.
    if (!pPaintManager->m_bForceShadows && !(m_bLayered && IsSystemDropShadow()))
        return;
    CRect rcControl = pControl->GetRect();
    ::MapWindowPoints(pParent->GetSafeHwnd(), NULL, (LPPOINT)&rcControl, 2);
    // The shadows belong to the popup and leave out what it covers; earlier
    // ones of a control are replaced, never doubled.
    for (CLayeredShadowWnd* pShadow : GetShadows(pPopup->GetSafeHwnd()))
        if (pShadow->m_bControl)
            RemoveShadow(pShadow);
    CRect rcPopup;
    ::GetWindowRect(pPopup->GetSafeHwnd(), &rcPopup);
    CreateShadow(TRUE, rcControl, rcPopup, pPopup->GetSafeHwnd(), TRUE);
    CreateShadow(FALSE, rcControl, rcPopup, pPopup->GetSafeHwnd(), TRUE);
}

CLayeredShadowWnd* CLayeredShadowManager::CreateShadow(BOOL bBottom, const CRect& rcOwner, const CRect& rcExclude,
                                                       CWnd* pOwner, BOOL bControl)
{
    return CreateShadow(bBottom, rcOwner, rcExclude, pOwner->GetSafeHwnd(), bControl);
}

CLayeredShadowWnd* CLayeredShadowManager::CreateShadow(BOOL bBottom, const CRect& rcOwner, const CRect& rcExclude,
                                                       HWND hWndOwner, BOOL bControl)
{
    if (!hWndOwner || !::IsWindow(hWndOwner))
        return NULL;
    // Shadows whose owner went away unseen (its hooks were taken off before
    // it was destroyed) are dropped here.
    for (CLayeredShadowWnd* pShadow : GetShadows(NULL))
        if (!::IsWindow(pShadow->m_hWndOwner))
            DeleteShadow(pShadow);
    CQXPThemePainter* pPaintManager = OwnerPaintManager(hWndOwner);
    if (pPaintManager->m_bShadowsOff)
        return NULL;

    CLayeredShadowWnd* pShadow = new CLayeredShadowWnd;
    pShadow->m_bBottom = bBottom;
    pShadow->m_nShadowOptions = pPaintManager->m_nShadowOptions;
    pShadow->m_hWndOwner = hWndOwner;
    pShadow->m_bControl = bControl;
    pShadow->m_bLayered = m_bLayered;
    pShadow->m_rcExclude = rcExclude;
    pShadow->m_clrShadow = pPaintManager->m_clrShadow.GetColor();
    pShadow->m_pManager = this;
    if (!pShadow->Place(rcOwner, pPaintManager->m_bShadowNoSaveBits)) {
        delete pShadow;
        return NULL;
    }
    m_lstShadow.AddTail(pShadow);
    if (pShadow->m_nShadowOptions & CQXPThemePainter::qxpShadowClipExclude)
        pShadow->ClipAgainst(rcExclude);
    ClipAgainstOtherOwners(pShadow);

    // A shadow of an owner that is not shown yet appears with it.
    UINT nShow = ::IsWindowVisible(hWndOwner) ? SWP_SHOWWINDOW : 0;
    ::SetWindowPos(pShadow->m_hWnd, HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | nShow);
    CWindowHookManager::Instance()->SetHook(hWndOwner, &pShadow->m_hook);
    pShadow->m_bHooked = TRUE;
    return pShadow;
}

void CLayeredShadowManager::ClipAgainstOtherOwners(CLayeredShadowWnd* pShadow)
{
    // Where two popups meet (a submenu beside its menu), a shadow never
    // darkens the other popup.
    std::vector<HWND> owners;
    for (POSITION pos = m_lstShadow.GetHeadPosition(); pos;) {
        HWND hWndOther = m_lstShadow.GetNext(pos)->m_hWndOwner;
        if (hWndOther == pShadow->m_hWndOwner || !::IsWindowVisible(hWndOther))
            continue;
        if (std::find(owners.begin(), owners.end(), hWndOther) != owners.end())
            continue;
        owners.push_back(hWndOther);
        CRect rcOther;
        ::GetWindowRect(hWndOther, &rcOther);
        pShadow->ClipAgainst(rcOther);
    }
}

void CLayeredShadowManager::OffsetShadows(CWnd* pOwner, int dx, int dy)
{
    OffsetShadows(pOwner->GetSafeHwnd(), dx, dy);
}

void CLayeredShadowManager::OffsetShadows(HWND hWndOwner, int dx, int dy)
{
    if (!hWndOwner)
        return;
    for (CLayeredShadowWnd* pShadow : GetShadows(hWndOwner)) {
        if (pShadow->m_bControl || !pShadow->m_hWnd)
            continue;
        pShadow->RemoveRegion();
        CRect rc;
        ::GetWindowRect(pShadow->m_hWnd, &rc);
        if (pShadow->m_bBottom) {
            rc.top += dy;
            rc.bottom += dy;
            rc.right += dx;
        } else {
            rc.left += dx;
            rc.right += dx;
            rc.bottom += dy;
        }
        if (rc.right < rc.left)
            rc.right = rc.left;
        if (rc.bottom < rc.top)
            rc.bottom = rc.top;
        ::SetWindowPos(pShadow->m_hWnd, NULL, rc.left, rc.top, rc.Width(), rc.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        // The cuts were made for the old place: make them again for the new
        // one, so the opening control and the other popups stay clear.
        if (pShadow->m_nShadowOptions & CQXPThemePainter::qxpShadowClipExclude)
            pShadow->ClipAgainst(pShadow->m_rcExclude);
        ClipAgainstOtherOwners(pShadow);
    }
}

void CLayeredShadowManager::RemoveShadows(CWnd* pOwner)
{
    RemoveShadows(pOwner->GetSafeHwnd());
}

void CLayeredShadowManager::RemoveShadows(HWND hWndOwner)
{
    if (!hWndOwner)
        return;
    for (CLayeredShadowWnd* pShadow : GetShadows(hWndOwner))
        RemoveShadow(pShadow);
}

void CLayeredShadowManager::RemoveShadow(CLayeredShadowWnd* pShadow)
{
    if (!pShadow || !m_lstShadow.Find(pShadow))
        return;
    if (pShadow->m_hWnd && ::IsWindow(pShadow->m_hWnd))
        ::ShowWindow(pShadow->m_hWnd, SW_HIDE);
    DeleteShadow(pShadow);
}

void CLayeredShadowManager::DeleteShadow(CLayeredShadowWnd* pShadow)
{
    if (pShadow->m_bHooked) {
        CWindowHookManager::Instance()->RemoveHook(pShadow->m_hWndOwner, &pShadow->m_hook);
        pShadow->m_bHooked = FALSE;
    }
    if (POSITION pos = m_lstShadow.Find(pShadow))
        m_lstShadow.RemoveAt(pos);
    if (pShadow->m_hWnd && ::IsWindow(pShadow->m_hWnd))
        pShadow->DestroyWindow();
    delete pShadow;
}

std::vector<CLayeredShadowWnd*> CLayeredShadowManager::GetShadows(HWND hWndOwner) const
{
    std::vector<CLayeredShadowWnd*> shadows;
    for (POSITION pos = m_lstShadow.GetHeadPosition(); pos;) {
        CLayeredShadowWnd* pShadow = m_lstShadow.GetNext(pos);
        if (!hWndOwner || pShadow->m_hWndOwner == hWndOwner)
            shadows.push_back(pShadow);
    }
    return shadows;
}
