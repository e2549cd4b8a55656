// Toolbars and the menu bar.

#include <qx/commandbars.h>
#include <qx/images.h>
#include <qx/resourcemgr.h>

#include <vector>

IMPLEMENT_DYNCREATE(CQXPToolBar, CQXPCommandBar)

BEGIN_MESSAGE_MAP(CQXPToolBar, CQXPCommandBar)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQXPToolBar::CQXPToolBar() : m_rcDocked(0, 0, 0, 0), m_pDockBar(NULL)
{
    m_barType = qxpBarTypeNormal;
    m_barPosition = qxpBarTop;
}

CQXPToolBar::~CQXPToolBar()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CQXPToolBar::CreateToolBar(DWORD dwStyle, CWnd* pParentWnd, UINT nID)
{
    QxpRegisterWndClass("QXPToolBar", CS_DBLCLKS);
    DWORD dwWndStyle = WS_CHILD | (dwStyle & WS_VISIBLE) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (!CreateEx(0, "QXPToolBar", m_strTitle, dwWndStyle, 0, 0, 0, 0, pParentWnd->GetSafeHwnd(),
                  (HMENU)(UINT_PTR)nID))
        return FALSE;
    m_bVisible = (dwStyle & WS_VISIBLE) != 0;
    // Controls added before the window existed get their windows now.
    m_pControls->RefreshIndexes();
    return TRUE;
}

BOOL CQXPToolBar::SetButtons(const UINT* pIds, int nCount)
{
    m_pControls->RemoveAll();
    BOOL bGroup = FALSE;
    for (int i = 0; i < nCount; i++) {
        if (pIds[i] == 0) {
            bGroup = TRUE;
            continue;
        }
        CQXPControl* pControl = m_pControls->Add(qxpControlButton, (int)pIds[i]);
        if (pControl && bGroup)
            pControl->SetBeginGroup(TRUE);
        bGroup = FALSE;
    }
    m_pControls->CreateOriginalControls();
    DelayLayout();
    return TRUE;
}

BOOL CQXPToolBar::LoadToolBar(UINT nIDResource, HINSTANCE hInst)
{
    if (!hInst)
        hInst = CQXPResourceManager::Instance()->GetResourceHandle();
    HRSRC hRsrc = ::FindResourceA(hInst, MAKEINTRESOURCEA(nIDResource), MAKEINTRESOURCEA(241));
    if (!hRsrc)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    DWORD cbSize = ::SizeofResource(hInst, hRsrc);
    const WORD* pData = hGlobal ? (const WORD*)::LockResource(hGlobal) : NULL;
    // version, width, height, count, then count ids.
    if (!pData || cbSize < 8 || pData[0] != 1)
        return FALSE;
    int nCount = pData[3];
    if ((DWORD)(8 + nCount * 2) > cbSize)
        return FALSE;
    std::vector<UINT> ids;
    for (int i = 0; i < nCount; i++)
        ids.push_back(pData[4 + i]);
    if (!GetGlobalImageManager()->SetIcons(nIDResource, nIDResource))
        return FALSE;
    m_szIcons = CSize(pData[1], pData[2]);
    return SetButtons(ids.data(), (int)ids.size());
}

CSize CQXPToolBar::CalcDockingLayout(int nLength, DWORD dwMode, int nWidth)
{
    CClientDC dc(m_hWnd && ::IsWindow(m_hWnd) ? this : NULL);
    CFont* pOldFont = dc.SelectObject(GetControlFont());
    CSize sz = m_pControls->CalcDynamicSize(&dc, nLength, dwMode, m_rcBorders, nWidth);
    dc.SelectObject(pOldFont);
    return sz;
}

CSize CQXPToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    return CalcDockingLayout(nLength, dwMode, 0);
}

void CQXPToolBar::OnRecalcLayout()
{
    m_nPending &= ~qxpPendingLayout;
    if (m_pCommandBars && m_pDockBar) {
        m_pCommandBars->RecalcFrameLayout(FALSE);
    } else if (m_hWnd && ::IsWindow(m_hWnd)) {
        CRect rc;
        ::GetClientRect(m_hWnd, &rc);
        CalcDockingLayout(rc.Width(), qxpLayoutHorz | qxpLayoutHorzDock | qxpLayoutCommit);
    }
    Redraw();
}

void CQXPToolBar::SetVisible(BOOL bVisible)
{
    if (bVisible == m_bVisible)
        return;
    CQXPCommandBar::SetVisible(bVisible);
    CWnd* pSite = GetOwnerSite();
    if (pSite && ::IsWindow(pSite->GetSafeHwnd()))
        pSite->SendMessage(WM_QXP_TOOLBARVISIBLECHANGED, (WPARAM)this, bVisible);
    if (m_pCommandBars)
        m_pCommandBars->RecalcFrameLayout(FALSE);
}

void CQXPToolBar::OnDestroy()
{
    CQXPCommandBar::OnDestroy();
}

// ===========================================================================
// CQXPMenuBar

IMPLEMENT_DYNCREATE(CQXPMenuBar, CQXPToolBar)

BEGIN_MESSAGE_MAP(CQXPMenuBar, CQXPToolBar)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// Takes the menu keys of the frame for its menu bar.
class CQXPMenuBarFrameHook : public CWindowHook {
public:
    explicit CQXPMenuBarFrameHook(CQXPMenuBar* pBar) : m_pBar(pBar) {}
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override
    {
        (void)hWnd;
        if (nMessage == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU && m_pBar->OnKeyMenu((UINT)lParam)) {
            lResult = 0;
            return kHandled;
        }
        return kNotHandled;
    }

private:
    CQXPMenuBar* m_pBar;
};

}  // namespace

CQXPMenuBar::CQXPMenuBar() : m_nIDResource(0), m_pFrameHook(NULL), m_hWndHookedFrame(NULL)
{
    m_barType = qxpBarTypeMenuBar;
    m_nBarID = 1;
    m_dwFlags = qxpFlagStretched;
    m_buttonStyle = qxpButtonCaption;
}

CQXPMenuBar::~CQXPMenuBar()
{
    if (m_pFrameHook) {
        CWindowHookManager::Instance()->RemoveHook(m_pFrameHook);
        delete m_pFrameHook;
    }
}

void CQXPMenuBar::OnDestroy()
{
    if (m_pFrameHook)
        CWindowHookManager::Instance()->RemoveHook(m_pFrameHook);
    m_hWndHookedFrame = NULL;
    CQXPToolBar::OnDestroy();
}

void CQXPMenuBar::InstallFrameHooks()
{
    CWnd* pSite = GetOwnerSite();
    HWND hWndSite = pSite ? pSite->GetSafeHwnd() : NULL;
    if (!hWndSite || hWndSite == m_hWndHookedFrame)
        return;
    if (!m_pFrameHook)
        m_pFrameHook = new CQXPMenuBarFrameHook(this);
    if (m_hWndHookedFrame)
        CWindowHookManager::Instance()->RemoveHook(m_hWndHookedFrame, m_pFrameHook);
    CWindowHookManager::Instance()->SetHook(hWndSite, m_pFrameHook);
    m_hWndHookedFrame = hWndSite;
}

BOOL CQXPMenuBar::OnKeyMenu(UINT nChar)
{
    if (!m_hWnd || !::IsWindowVisible(m_hWnd) || IsCustomizeMode())
        return FALSE;
    if (nChar == 0) {
        if (m_bTracking || (::GetKeyState(VK_SHIFT) & 0x8000))
            return FALSE;
        if (m_pCommandBars)
            m_pCommandBars->ClosePopups();
        SetTrackingMode(TRUE, TRUE, TRUE);
        return TRUE;
    }
    if (nChar == ' ' || nChar == '-')
        return FALSE;  // the window menus
    if (!m_bTracking)
        SetTrackingMode(TRUE, FALSE, TRUE);
    short vk = ::VkKeyScanA((CHAR)nChar);
    ProcessHookKeyDown(vk == -1 ? nChar : (UINT)(vk & 0xFF));
    return TRUE;
}

BOOL CQXPMenuBar::LoadMenuBar(UINT nIDResource)
{
    HMENU hMenu = ::LoadMenuA(CQXPResourceManager::Instance()->GetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    if (!hMenu)
        return FALSE;
    CMenu menu;
    menu.Attach(hMenu);
    BOOL bResult = LoadMenu(&menu, TRUE);
    menu.DestroyMenu();
    if (bResult) {
        m_nIDResource = nIDResource;
        m_pControls->CreateOriginalControls();
        InstallFrameHooks();
    }
    return bResult;
}
