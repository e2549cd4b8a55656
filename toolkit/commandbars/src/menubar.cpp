// The menu bar: menu keys, per-document menus of an MDI frame and the
// maximised child's system menu and caption buttons.

#include <qx/commandbars.h>
#include <qx/images.h>
#include <qx/resourcemgr.h>

#include <fx/doctempl.h>
#include <fx/mdi.h>

#include <algorithm>
#include <vector>

// ===========================================================================
// Caption buttons of the maximised child

namespace {

// The menu bar that shows a control (the root of a popup chain).
CQXPMenuBar* MenuBarOf(const CQXPControl* pControl)
{
    CQXPCommandBar* pBar = pControl->GetParent();
    while (pBar) {
        CQXPMenuBar* pMenuBar = dynamic_cast<CQXPMenuBar*>(pBar);
        if (pMenuBar)
            return pMenuBar;
        CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(pBar);
        if (!pPopup || !pPopup->m_pControlPopup)
            break;
        pBar = pPopup->m_pControlPopup->GetParent();
    }
    return NULL;
}

// An item of the child's system menu inside the system-menu popup.
class CQXPControlMDISysCommand : public CQXPControlButton {
public:
    explicit CQXPControlMDISysCommand(HWND hWndChild) : m_hWndChild(hWndChild) {}
    void OnExecute() override
    {
        HWND hWndChild = m_hWndChild;
        UINT nCommand = (UINT)m_nId;
        CQXPCommandBar* pParent = m_pParent;
        CQXPCommandBars* pCommandBars = pParent ? pParent->GetCommandBars() : NULL;
        if (pCommandBars)
            pCommandBars->ClosePopups();
        else if (pParent)
            pParent->GetRootParent()->SetTrackingMode(FALSE);
        if (::IsWindow(hWndChild))
            ::PostMessageA(hWndChild, WM_SYSCOMMAND, nCommand, 0);
    }
    HWND m_hWndChild;
};

} // namespace

IMPLEMENT_DYNCREATE(CQXPControlMDIButton, CQXPControlButton)

CQXPControlMDIButton::CQXPControlMDIButton()
{
    m_dwFlags = qxpFlagRightAlign | qxpFlagSkipFocus | qxpFlagManualUpdate | qxpFlagNoMovable;
}

UINT CQXPControlMDIButton::GetSysCommand() const
{
    switch (m_nId) {
    case QXP_ID_MDI_MINIMIZE:
        return SC_MINIMIZE;
    case QXP_ID_MDI_RESTORE:
        return SC_RESTORE;
    default:
        return SC_CLOSE;
    }
}

CSize CQXPControlMDIButton::GetSize(CDC* pDC)
{
    (void)pDC;
    return CSize(16, 16);
}

void CQXPControlMDIButton::Draw(CDC* pDC)
{
    CQXPThemePainter* pPaintManager = GetPaintManager();
    pPaintManager->DrawControlBackground(pDC, this);
    // The caption glyph of the system's symbol font ("0" minimize, "2"
    // restore, "r" close), in the button's text colour. The font keeps its
    // pixel size whatever the DC's resolution.
    int nDpi = std::max(1, pDC->GetDeviceCaps(LOGPIXELSX));
    LOGFONTA lf = {};
    lf.lfHeight = -::MulDiv(8, 96, 72) * 96 / nDpi;
    lf.lfCharSet = SYMBOL_CHARSET;
    lstrcpynA(lf.lfFaceName, "Marlett", LF_FACESIZE);
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* pOldFont = pDC->SelectObject(&font);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOld = pDC->SetTextColor(pPaintManager->GetControlTextColor(this));
    CRect rc = m_rcControl;
    pDC->DrawText(m_strParameter, &rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOldFont);
}

void CQXPControlMDIButton::OnExecute()
{
    CQXPMenuBar* pMenuBar = MenuBarOf(this);
    HWND hWndChild = pMenuBar ? pMenuBar->GetActiveMDIChild(NULL) : NULL;
    if (hWndChild)
        ::PostMessageA(hWndChild, WM_SYSCOMMAND, GetSysCommand(), 0);
}

IMPLEMENT_DYNCREATE(CQXPMDISysMenuPopupBar, CQXPPopupBar)

IMPLEMENT_DYNCREATE(CQXPControlMDISysMenuPopup, CQXPControlPopup)

CQXPControlMDISysMenuPopup::CQXPControlMDISysMenuPopup() : m_hWndChild(NULL), m_hSysMenu(NULL), m_hIcon(NULL)
{
    m_dwFlags = qxpFlagManualUpdate | qxpFlagNoMovable;
    m_strCaption = "-";
}

CQXPControlMDISysMenuPopup::~CQXPControlMDISysMenuPopup()
{
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
}

CSize CQXPControlMDISysMenuPopup::GetSize(CDC* pDC)
{
    (void)pDC;
    return CSize(22, 20);
}

void CQXPControlMDISysMenuPopup::Draw(CDC* pDC)
{
    if (!m_hIcon)
        return;
    CPoint pt = m_rcControl.CenterPoint();
    ::DrawIconEx(pDC->GetSafeHdc(), pt.x - 8, pt.y - 8, m_hIcon, 16, 16, 0, NULL, DI_NORMAL);
}

void CQXPControlMDISysMenuPopup::SetMDIChild(HWND hWndChild, HMENU hSysMenu)
{
    m_hWndChild = hWndChild;
    m_hSysMenu = hSysMenu;

    // The icon: asked of the child, else its window icons, else its class
    // icon, else the system's.
    HICON hIcon = (HICON)::SendMessageA(hWndChild, WM_QXP_GETMDICHILDICON, 0, 0);
    if (!hIcon)
        hIcon = (HICON)::SendMessageA(hWndChild, WM_GETICON, ICON_SMALL, 0);
    if (!hIcon)
        hIcon = (HICON)::SendMessageA(hWndChild, WM_GETICON, ICON_BIG, 0);
    if (!hIcon)
        hIcon = (HICON)::GetClassLongPtrA(hWndChild, GCLP_HICONSM);
    if (!hIcon)
        hIcon = ::LoadIconA(NULL, MAKEINTRESOURCEA(32517)); // IDI_WINLOGO
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
    m_hIcon = hIcon ? (HICON)::CopyImage(hIcon, IMAGE_ICON, 16, 16, 0) : NULL;

    // The popup: ordinary items are converted as in any menu; the system
    // commands go back to the child.
    CQXPPopupBar* pBar = dynamic_cast<CQXPMDISysMenuPopupBar*>(m_pCommandBar);
    if (!pBar) {
        pBar = new CQXPMDISysMenuPopupBar;
        pBar->SetCommandBars(GetCommandBars());
        SetCommandBar(pBar);
        pBar->InternalRelease();
    }
    CQXPControls* pControls = pBar->GetControls();
    pControls->RemoveAll();
    UINT nDefault = ::GetMenuDefaultItem(hSysMenu, FALSE, 0);
    BOOL bGroup = FALSE;
    int nCount = ::GetMenuItemCount(hSysMenu);
    for (int i = 0; i < nCount; i++) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
        if (!::GetMenuItemInfoA(hSysMenu, (UINT)i, TRUE, &mii))
            continue;
        if (mii.fType & MFT_SEPARATOR) {
            bGroup = TRUE;
            continue;
        }
        CQXPControl* pControl = NULL;
        if (!mii.hSubMenu && mii.wID >= 0xF000 && mii.wID <= 0xF1EF) {
            CQXPControlMDISysCommand* pItem = new CQXPControlMDISysCommand(hWndChild);
            pItem->m_nId = (int)mii.wID;
            // The text after a tab is the item's shortcut text.
            pItem->SetCaption(ToolkitResourceManager::GetMenuString(hSysMenu, i));
            CString strPrompt;
            if (ToolkitResourceManager::Instance()->LoadString(&strPrompt, 0xEF00 + (mii.wID - 0xF000) / 16))
                pItem->m_strDescriptionText = strPrompt;
            pItem->m_dwFlags |= qxpFlagManualUpdate;
            pItem->m_bEnabled = (mii.fState & (MFS_DISABLED | MFS_GRAYED)) ? FALSE : TRUE;
            pItem->m_bDefaultItem = mii.wID == nDefault;
            pControl = pControls->InsertAt(pItem, -1);
        } else {
            pControl = pControls->AddMenuItem(hSysMenu, i);
        }
        if (pControl && bGroup)
            pControl->SetBeginGroup(TRUE);
        bGroup = FALSE;
    }
    RedrawParent();
}

// ===========================================================================
// CQXPMenuBar

// ---------------------------------------------------------------------------
// Document menus

CQXPMenuBarMDIMenuInfo::CQXPMenuBarMDIMenuInfo(UINT nIDResource, CQXPControls* pControls)
    : m_nIDResource(nIDResource), m_hIcon(NULL), m_bChanged(FALSE), m_pControls(NULL)
{
    SetControls(pControls);
    // Menus known only by their handle carry no resource id.
    if (nIDResource == 0 || nIDResource >= QXP_ID_FIRST_HANDLE_MENU)
        return;
    if (CDocManager* pManager = AfxGetDocManager()) {
        POSITION pos = pManager->GetFirstDocTemplatePosition();
        while (pos) {
            CDocTemplate* pTemplate = pManager->GetNextDocTemplate(pos);
            if (pTemplate && pTemplate->m_nIDResource == nIDResource) {
                pTemplate->GetDocString(m_strTitle, CDocTemplate::docName);
                pTemplate->GetDocString(m_strDescription, CDocTemplate::regFileTypeName);
                break;
            }
        }
    }
    LPCSTR lpszIcon = MAKEINTRESOURCEA(nIDResource);
    HINSTANCE hInst = AfxFindResourceHandle(lpszIcon, (LPCSTR)RT_GROUP_ICON);
    if (hInst && ::FindResourceA(hInst, lpszIcon, (LPCSTR)RT_GROUP_ICON))
        m_hIcon = (HICON)::LoadImageA(hInst, lpszIcon, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE);
}

CQXPMenuBarMDIMenuInfo::~CQXPMenuBarMDIMenuInfo()
{
    SetControls(NULL);
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
    m_hIcon = NULL;
}

void CQXPMenuBarMDIMenuInfo::SetControls(CQXPControls* pControls)
{
    if (pControls == m_pControls)
        return;
    if (pControls)
        pControls->InternalAddRef();
    CQXPControls* pOld = m_pControls;
    m_pControls = pControls;
    if (pOld)
        pOld->InternalRelease();
}

BOOL CQXPMenuBarMDIMenuInfo::UpdateChanged()
{
    m_bChanged = m_pControls && m_pControls->IsChanged();
    return m_bChanged;
}

IMPLEMENT_DYNCREATE(CQXPMenuBar, CQXPToolBar)

BEGIN_MESSAGE_MAP(CQXPMenuBar, CQXPToolBar)
    ON_WM_DESTROY()
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

// Hands the messages of the frame, its MDI client and the active child to
// the menu bar.
class CQXPMenuBarFrameHook : public CWindowHook {
public:
    explicit CQXPMenuBarFrameHook(CQXPMenuBar* pBar) : m_pBar(pBar) {}
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override
    {
        return m_pBar->OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
    }

private:
    CQXPMenuBar* m_pBar;
};

// The MDI client of a frame window, NULL when it has none.
HWND FindMDIClient(HWND hWndFrame)
{
    if (!hWndFrame)
        return NULL;
    CMDIFrameWnd* pFrame = dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(hWndFrame));
    if (pFrame && pFrame->m_hWndMDIClient)
        return pFrame->m_hWndMDIClient;
    for (HWND hChild = ::GetWindow(hWndFrame, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        char szClass[32] = "";
        ::GetClassNameA(hChild, szClass, sizeof(szClass));
        if (lstrcmpiA(szClass, "MDIClient") == 0)
            return hChild;
    }
    return NULL;
}

} // namespace

CQXPMenuBar::CQXPMenuBar()
    : m_nIDResource(0),
      m_pFrameHook(NULL),
      m_hWndHookedFrame(NULL),
      m_hWndMDIClient(NULL),
      m_hWndHookedChild(NULL),
      m_hMenuFrame(NULL),
      m_hMenuShown(NULL),
      m_nCurrentMenuId(0)
{
    m_barType = qxpBarTypeMenuBar;
    m_bCloseable = FALSE;
    m_nBarID = 1;
    // It docks and floats like any toolbar, with a full row of its own.
    m_dwFlags |= qxpFlagStretched;
    m_buttonStyle = qxpButtonCaption;
    m_bShowExpandButton = FALSE;
}

CQXPMenuBar::~CQXPMenuBar()
{
    UnhookAll();
    delete m_pFrameHook;
    m_pFrameHook = NULL;
    ReleaseMDIMenus();
    // The menu shown may be another bar's document menu too (a copy of this
    // bar keeps it): the bar's end empties only a collection of its own.
    const DWORD nRefs = m_pControls->InternalAddRef();
    m_pControls->InternalRelease();
    if (nRefs > 2) {
        CQXPControls* pShared = m_pControls;
        m_pControls = new CQXPControls;
        m_pControls->SetParent(this);
        if (pShared->GetParent() == this)
            pShared->SetParent(NULL);
        pShared->InternalRelease();
    }
}

void CQXPMenuBar::Copy(CQXPCommandBar* pOther, BOOL bRecursive)
{
    CQXPToolBar::Copy(pOther, bRecursive);
    CQXPMenuBar* pMenuBar = dynamic_cast<CQXPMenuBar*>(pOther);
    if (!pMenuBar || pMenuBar == this)
        return;
    m_nIDResource = pMenuBar->m_nIDResource;
    m_nCurrentMenuId = pMenuBar->m_nCurrentMenuId;
    ReleaseMDIMenus();
    for (const auto& entry : pMenuBar->m_mapDocMenus) {
        const CQXPMenuBarMDIMenuInfo* pFrom = entry.second;
        CQXPControls* pControls = pFrom->GetControls();
        if (pControls == pMenuBar->m_pControls)
            pControls = m_pControls;
        CQXPMenuBarMDIMenuInfo* pInfo = new CQXPMenuBarMDIMenuInfo(0, pControls);
        pInfo->m_nIDResource = pFrom->m_nIDResource;
        pInfo->m_strTitle = pFrom->m_strTitle;
        pInfo->m_strDescription = pFrom->m_strDescription;
        pInfo->m_hIcon = pFrom->m_hIcon ? ::CopyIcon(pFrom->m_hIcon) : NULL;
        pInfo->m_bChanged = pFrom->m_bChanged;
        m_mapDocMenus[entry.first] = pInfo;
    }
}

void CQXPMenuBar::ReleaseMDIMenus()
{
    for (auto& entry : m_mapDocMenus) {
        // A document menu kept elsewhere no longer points at this bar.
        CQXPControls* pControls = entry.second->GetControls();
        if (pControls && pControls != m_pControls && pControls->GetParent() == this)
            pControls->SetParent(NULL);
        entry.second->InternalRelease();
    }
    m_mapDocMenus.clear();
}

CQXPMenuBarMDIMenuInfo* CQXPMenuBar::FindMDIMenu(UINT nIDResource) const
{
    auto it = m_mapDocMenus.find(nIDResource);
    return it == m_mapDocMenus.end() ? NULL : it->second;
}

CQXPMenuBarMDIMenuInfo* CQXPMenuBar::SetMDIMenu(UINT nIDResource, CQXPControls* pControls)
{
    CQXPMenuBarMDIMenuInfo*& pInfo = m_mapDocMenus[nIDResource];
    if (pInfo)
        pInfo->SetControls(pControls);
    else
        pInfo = new CQXPMenuBarMDIMenuInfo(nIDResource, pControls);
    return pInfo;
}

void CQXPMenuBar::UnhookAll()
{
    if (m_pFrameHook)
        CWindowHookManager::Instance()->RemoveHook(m_pFrameHook);
    m_hWndHookedFrame = NULL;
    m_hWndMDIClient = NULL;
    m_hWndHookedChild = NULL;
}

void CQXPMenuBar::OnDestroy()
{
    // The frame menu the bar took goes with the bar, unless the frame still
    // shows it or keeps it as its default menu (the frame destroys it then).
    if (m_hMenuFrame && ::IsMenu(m_hMenuFrame)) {
        HWND hWndSite = m_hWndHookedFrame;
        CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hWndSite));
        BOOL bOwnedElsewhere = (hWndSite && ::IsWindow(hWndSite) && ::GetMenu(hWndSite) == m_hMenuFrame) ||
                               (pFrame && pFrame->m_hMenuDefault == m_hMenuFrame) || !hWndSite;
        if (!bOwnedElsewhere)
            ::DestroyMenu(m_hMenuFrame);
    }
    m_hMenuFrame = NULL;
    UnhookAll();
    ::KillTimer(m_hWnd, QXP_TID_MDIREFRESH);
    CQXPToolBar::OnDestroy();
}

void CQXPMenuBar::InstallFrameHooks()
{
    CWnd* pSite = GetOwnerSite();
    HWND hWndSite = pSite ? pSite->GetSafeHwnd() : NULL;
    if (!hWndSite)
        return;
    if (!m_pFrameHook)
        m_pFrameHook = new CQXPMenuBarFrameHook(this);
    if (hWndSite != m_hWndHookedFrame) {
        UnhookAll();
        CWindowHookManager::Instance()->SetHook(hWndSite, m_pFrameHook);
        m_hWndHookedFrame = hWndSite;
    }
    HWND hWndClient = FindMDIClient(hWndSite);
    if (hWndClient != m_hWndMDIClient) {
        if (m_hWndMDIClient)
            CWindowHookManager::Instance()->RemoveHook(m_hWndMDIClient, m_pFrameHook);
        if (hWndClient)
            CWindowHookManager::Instance()->SetHook(hWndClient, m_pFrameHook);
        m_hWndMDIClient = hWndClient;
    }
    HookActiveChild();
}

void CQXPMenuBar::HookActiveChild()
{
    if (!m_pFrameHook)
        return;
    // A child whose view hosts an in-place active document object would be
    // left unhooked; no document of this framework can host one (it has no
    // OLE documents), so the active child is always the one hooked.
    HWND hWndChild = GetActiveMDIChild(NULL);
    if (hWndChild == m_hWndHookedChild)
        return;
    if (m_hWndHookedChild && ::IsWindow(m_hWndHookedChild))
        CWindowHookManager::Instance()->RemoveHook(m_hWndHookedChild, m_pFrameHook);
    m_hWndHookedChild = hWndChild;
    if (hWndChild)
        CWindowHookManager::Instance()->SetHook(hWndChild, m_pFrameHook);
}

HWND CQXPMenuBar::GetActiveMDIChild(BOOL* pbMaximized) const
{
    if (pbMaximized)
        *pbMaximized = FALSE;
    HWND hWndClient = m_hWndMDIClient;
    if (!hWndClient || !::IsWindow(hWndClient)) {
        CWnd* pSite = GetOwnerSite();
        hWndClient = FindMDIClient(pSite ? pSite->GetSafeHwnd() : NULL);
    }
    if (!hWndClient)
        return NULL;
    BOOL bMaximized = FALSE;
    HWND hWndChild = (HWND)::SendMessageA(hWndClient, WM_MDIGETACTIVE, 0, (LPARAM)&bMaximized);
    if (pbMaximized)
        *pbMaximized = hWndChild && bMaximized;
    return hWndChild;
}

int CQXPMenuBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    (void)lParam;
    switch (nMessage) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        if (hWnd == m_hWndHookedChild && m_hWnd)
            ::PostMessageA(m_hWnd, WM_TIMER, QXP_TID_MDIREFRESH, 0);
        break;
    case WM_MDICREATE:
    case WM_MDIDESTROY:
    case WM_MDIACTIVATE:
    case WM_MDIMAXIMIZE:
    case WM_MDIRESTORE:
        if (hWnd == m_hWndMDIClient && m_hWnd)
            ::PostMessageA(m_hWnd, WM_TIMER, QXP_TID_MDIREFRESH, 0);
        break;
    case WM_DESTROY:
        if (hWnd == m_hWndHookedChild) {
            CWindowHookManager::Instance()->RemoveHook(hWnd, m_pFrameHook);
            m_hWndHookedChild = NULL;
            if (m_hWnd)
                ::PostMessageA(m_hWnd, WM_TIMER, QXP_TID_MDIREFRESH, 0);
        }
        break;
    case WM_ERASEBKGND:
        // The workspace behind the documents takes the theme's look.
        if (hWnd == m_hWndMDIClient && wParam) {
            CRect rcClient;
            ::GetClientRect(hWnd, &rcClient);
            GetPaintManager()->FillWorkspace(CDC::FromHandle((HDC)wParam), rcClient, CRect(0, 0, 0, 0));
            lResult = 1;
            return CWindowHook::kHandled;
        }
        break;
    case WM_MOUSEWHEEL:
        // Over the ribbon: its tabs step.
        if (hWnd == m_hWndHookedFrame && m_pCommandBars) {
            MSG msg = {hWnd, nMessage, wParam, lParam, 0, {0, 0}};
            if (m_pCommandBars->ScrollRibbonTabs(&msg)) {
                lResult = 0;
                return CWindowHook::kHandled;
            }
        }
        break;
    case WM_SYSCOMMAND:
        if (hWnd == m_hWndHookedFrame && (wParam & 0xFFF0) == SC_KEYMENU && OnKeyMenu((UINT)lParam)) {
            lResult = 0;
            return CWindowHook::kHandled;
        }
        break;
    case WM_MDISETMENU: {
        if (hWnd != m_hWndMDIClient || !m_hWnd)
            break;
        HWND hWndFrame = m_hWndHookedFrame;
        BOOL bVisible = ::IsWindowVisible(m_hWnd) || m_bVisible;
        if (!bVisible && hWndFrame && ::GetMenu(hWndFrame))
            break; // the Windows menu is in use: it follows as usual
        HMENU hPrevious = m_hMenuShown;
        if (bVisible && !IsCustomizeMode() && !(m_dwFlags & qxpFlagKeepOneMenu))
            SwitchMDIMenu(wParam ? (HMENU)wParam : m_hMenuFrame);
        if (hWndFrame && ::GetMenu(hWndFrame))
            ::SetMenu(hWndFrame, NULL);
        ::PostMessageA(m_hWnd, WM_TIMER, QXP_TID_MDIREFRESH, 0);
        // The answer is the menu shown before, as the MDI client gives it.
        lResult = (LRESULT)hPrevious;
        wParam = 0;
        return CWindowHook::kHandled;
    }
    case WM_MDIREFRESHMENU:
        if (hWnd == m_hWndMDIClient && m_hWnd && !(m_hWndHookedFrame && ::GetMenu(m_hWndHookedFrame))) {
            lResult = (LRESULT)m_hMenuShown;
            return CWindowHook::kHandled;
        }
        break;
    default:
        break;
    }
    return CWindowHook::kNotHandled;
}

void CQXPMenuBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == QXP_TID_MDIREFRESH) {
        HookActiveChild();
        if (::IsWindowVisible(m_hWnd))
            RefreshMdiButtons();
        return;
    }
    CQXPToolBar::OnTimer(nIDEvent);
}

BOOL CQXPMenuBar::RefreshMdiButtons()
{
    BOOL bMaximized = FALSE;
    HWND hWndChild = GetActiveMDIChild(&bMaximized);
    BOOL bChanged = FALSE;

    // The system-menu icon at the start.
    CQXPControl* pFound = m_pControls->FindControl(0, QXP_ID_MDI_SYSMENU, FALSE, FALSE);
    CQXPControlMDISysMenuPopup* pSysMenu = dynamic_cast<CQXPControlMDISysMenuPopup*>(pFound);
    HMENU hSysMenu = NULL;
    if (hWndChild && bMaximized && (m_dwFlags & qxpFlagShowMDISysMenu)) {
        hSysMenu = ::GetSystemMenu(hWndChild, FALSE);
        if (hSysMenu && !::IsMenu(hSysMenu))
            hSysMenu = NULL;
    }
    if (hSysMenu) {
        if (!pSysMenu) {
            pSysMenu = new CQXPControlMDISysMenuPopup;
            pSysMenu->m_nId = QXP_ID_MDI_SYSMENU;
            pSysMenu->SetTemporary(TRUE);
            m_pControls->InsertAt(pSysMenu, 0);
            pSysMenu->SetMDIChild(hWndChild, hSysMenu);
            bChanged = TRUE;
        } else if (pSysMenu->m_hSysMenu != hSysMenu || pSysMenu->m_hWndChild != hWndChild) {
            pSysMenu->SetMDIChild(hWndChild, hSysMenu);
            pSysMenu->RedrawParent();
        }
    } else if (pFound) {
        m_pControls->Remove(pFound);
        bChanged = TRUE;
    }

    // The caption buttons at the end, each when the child has it and the
    // bar does not hide it.
    LONG_PTR nStyle = hWndChild ? ::GetWindowLongPtrA(hWndChild, GWL_STYLE) : 0;
    struct ButtonDef {
        int nId;
        const char* pszGlyph;
        const char* pszTooltip;
        BOOL bWanted;
    } defs[] = {
        {QXP_ID_MDI_MINIMIZE, "0", "Minimize Window",
         (nStyle & WS_MINIMIZEBOX) && !(m_dwFlags & qxpFlagHideMinimizeBox)},
        {QXP_ID_MDI_RESTORE, "2", "Restore Window", (nStyle & WS_MAXIMIZEBOX) && !(m_dwFlags & qxpFlagHideMaximizeBox)},
        {QXP_ID_MDI_CLOSE, "r", "Close Window", !(m_dwFlags & qxpFlagHideMDIClose)},
    };
    for (ButtonDef& def : defs) {
        BOOL bWanted = hWndChild && bMaximized && def.bWanted;
        CQXPControl* pButton = m_pControls->FindControl(0, def.nId, FALSE, FALSE);
        if (bWanted && !pButton) {
            CQXPControlMDIButton* pNew = new CQXPControlMDIButton;
            pNew->m_nId = def.nId;
            pNew->m_strParameter = def.pszGlyph;
            pNew->m_strTooltipText = def.pszTooltip;
            pNew->SetTemporary(TRUE);
            m_pControls->InsertAt(pNew, -1);
            bChanged = TRUE;
        } else if (!bWanted && pButton) {
            m_pControls->Remove(pButton);
            bChanged = TRUE;
        }
    }
    if (bChanged) {
        if (m_pCommandBars && m_pDockBar)
            m_pCommandBars->RecalcFrameLayout(FALSE);
        else
            OnRecalcLayout();
        Redraw();
    }
    return bChanged;
}

void CQXPMenuBar::SwitchMenu(UINT nMenuId, HMENU hMenu)
{
    if (nMenuId == 0 || m_nCurrentMenuId == 0 || nMenuId == m_nCurrentMenuId)
        return;
    // Tips name the controls that are about to be swapped out.
    if (IsShowingKeyboardTips())
        HideKeyboardTips();
    const BOOL bMenu = hMenu && ::IsMenu(hMenu);
    auto itNew = m_mapDocMenus.find(nMenuId);
    // The bar's own menu can always be read again from its resource.
    if (itNew == m_mapDocMenus.end() && !bMenu && nMenuId != m_nIDResource)
        return;

    // The temporary MDI controls stay behind with the controls shown now.
    for (int i = m_pControls->GetCount(); i-- > 0;) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (pControl->IsTemporary() && pControl->GetID() >= QXP_ID_MDI_CLOSE && pControl->GetID() <= QXP_ID_MDI_SYSMENU)
            m_pControls->Remove(pControl);
    }
    SetPopuped(-1);
    m_nSelected = -1;

    if (itNew == m_mapDocMenus.end() && !(m_pCommandBars && m_pCommandBars->IsCustomizeAllowed())) {
        // Nobody can change a menu: it is simply converted into the bar's
        // controls, which are the program's own, and no record is kept.
        m_pControls->RemoveAll();
        if (bMenu)
            m_pControls->LoadMenu(hMenu);
        else
            LoadMenuResource(nMenuId);
        m_pControls->CreateOriginalControls();
        m_pControls->RefreshIndexes();
    } else {
        // Each document menu keeps its own controls: the ones shown now stay
        // under the current id.
        SetMDIMenu(m_nCurrentMenuId, m_pControls);
        CQXPControls* pNew = NULL;
        if (itNew != m_mapDocMenus.end()) {
            pNew = itNew->second->GetControls();
            pNew->InternalAddRef();
            // Controls loaded without the program's originals take them from
            // the menu, so that they count as changed only when they are.
            if (!pNew->GetOriginalControls() && bMenu) {
                CQXPControls* pFromMenu = new CQXPControls;
                pFromMenu->SetCommandBars(m_pCommandBars);
                pFromMenu->LoadMenu(hMenu);
                pFromMenu->CreateOriginalControls();
                CQXPOriginalControls* pOriginal = pFromMenu->GetOriginalControls();
                pOriginal->InternalAddRef();
                pNew->SetOriginalControls(pOriginal);
                pFromMenu->InternalRelease();
            }
        } else {
            pNew = new CQXPControls;
            pNew->SetCommandBars(m_pCommandBars);
            pNew->SetParent(this);
            pNew->LoadMenu(hMenu);
            pNew->CreateOriginalControls();
            SetMDIMenu(nMenuId, pNew);
        }
        // Swap the bar's collection.
        CQXPControls* pOld = m_pControls;
        m_pControls = pNew;
        m_pControls->SetParent(this);
        m_pControls->RefreshIndexes();
        pOld->InternalRelease();
    }
    m_nCurrentMenuId = nMenuId;
    m_hMenuShown = hMenu;
    RefreshMdiButtons();
    DelayLayout();
    if (m_pCommandBars && m_pDockBar)
        m_pCommandBars->RecalcFrameLayout(FALSE);
    Redraw();
}

UINT CQXPMenuBar::GetHandleMenuId(HMENU hMenu)
{
    // Menus destroyed since give their ids up (with the controls kept for
    // them, unless shown), so a handle the system hands out again does not
    // bring back another menu's controls.
    for (auto it = m_mapHandleMenuIds.begin(); it != m_mapHandleMenuIds.end();) {
        if (it->first == hMenu || ::IsMenu(it->first) || it->second == m_nCurrentMenuId) {
            ++it;
            continue;
        }
        auto itInfo = m_mapDocMenus.find(it->second);
        if (itInfo != m_mapDocMenus.end()) {
            CQXPControls* pControls = itInfo->second->GetControls();
            if (pControls && pControls->GetParent() == this)
                pControls->SetParent(NULL);
            itInfo->second->InternalRelease();
            m_mapDocMenus.erase(itInfo);
        }
        it = m_mapHandleMenuIds.erase(it);
    }
    auto it = m_mapHandleMenuIds.find(hMenu);
    if (it != m_mapHandleMenuIds.end())
        return it->second;
    const UINT nId = m_nNextHandleMenuId++;
    m_mapHandleMenuIds[hMenu] = nId;
    return nId;
}

void CQXPMenuBar::SwitchMDIMenu(HMENU hMenu)
{
    UINT nId = 0;
    if (!hMenu || hMenu == m_hMenuFrame) {
        // The frame's own menu: the bar's default controls.
        nId = m_nIDResource;
        hMenu = m_hMenuFrame;
    } else if (!::IsMenu(hMenu) || ::GetMenuItemCount(hMenu) <= 0) {
        return;
    } else {
        // The menu resource of the document template that owns the menu.
        HWND hWndChild = GetActiveMDIChild(NULL);
        CMDIChildWnd* pChild = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(hWndChild));
        CDocument* pDoc = pChild ? pChild->GetActiveDocument() : NULL;
        CDocTemplate* pTemplate = pDoc ? pDoc->GetDocTemplate() : NULL;
        if (pTemplate && pChild->m_hMenuShared == hMenu)
            nId = pTemplate->m_nIDResource;
        if (nId == 0)
            nId = GetHandleMenuId(hMenu);
    }
    if (nId != m_nCurrentMenuId)
        SwitchMenu(nId, hMenu);
    m_hMenuShown = hMenu;
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
        if (m_pCommandBars && m_pCommandBars->IsKeyboardTipsEnabled())
            m_pCommandBars->ShowKeyboardTips(this, 1);
        return TRUE;
    }
    if (nChar == ' ' || nChar == '-')
        return FALSE; // the window menus
    if (!m_bTracking)
        SetTrackingMode(TRUE, FALSE, TRUE);
    short vk = ::VkKeyScanA((CHAR)nChar);
    ProcessHookKeyDown(vk == -1 ? nChar : (UINT)(vk & 0xFF));
    return TRUE;
}

BOOL CQXPMenuBar::LoadMenuResource(UINT nIDResource)
{
    HMENU hMenu = ::LoadMenuA(ToolkitResourceManager::Instance()->GetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    if (!hMenu)
        return FALSE;
    CMenu menu;
    menu.Attach(hMenu);
    BOOL bResult = LoadMenu(&menu, TRUE);
    menu.DestroyMenu();
    return bResult;
}

BOOL CQXPMenuBar::LoadMenuBar(UINT nIDResource)
{
    // Id 0 keeps the controls the bar has: it only takes over the frame.
    if (nIDResource != 0) {
        if (!LoadMenuResource(nIDResource))
            return FALSE;
        m_nIDResource = nIDResource;
        m_nCurrentMenuId = nIDResource;
        m_pControls->CreateOriginalControls();
    }
    InstallFrameHooks();
    // Pictures of the caption commands, for whoever shows them as images
    // (the bar's own caption buttons draw glyphs).
    static const UINT kMdiButtonCommands[] = {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};
    if (CQXPImageManager* pImages = GetImageManager())
        pImages->SetIconsFromResource(QX_IDB_MDI_BUTTONS, kMdiButtonCommands, 4, 16, 16);
    // The frame's own menu gives way to the bar; the bar shows it instead
    // whenever the MDI frame switches back to it.
    CWnd* pSite = GetOwnerSite();
    HWND hWndSite = pSite ? pSite->GetSafeHwnd() : NULL;
    if (hWndSite && (::GetWindowLongPtrA(hWndSite, GWL_STYLE) & WS_CHILD) == 0) {
        HMENU hFrameMenu = ::GetMenu(hWndSite);
        if (hFrameMenu) {
            m_hMenuFrame = hFrameMenu;
            ::SetMenu(hWndSite, NULL);
        }
        CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hWndSite));
        if (pFrame && !m_hMenuFrame)
            m_hMenuFrame = pFrame->m_hMenuDefault;
    }
    m_hMenuShown = m_hMenuFrame;
    return TRUE;
}

BOOL CQXPMenuBar::CanReset() const
{
    if (!m_bCustomizable)
        return FALSE;
    // A document menu the user changed while another menu is shown.
    for (const auto& entry : m_mapDocMenus)
        if (entry.second->GetControls() != m_pControls && entry.second->UpdateChanged())
            return TRUE;
    return m_pControls->IsChanged();
}

void CQXPMenuBar::Reset(BOOL bAsk)
{
    InternalAddRef();
    if (m_pControls->GetOriginalControls()) {
        CQXPToolBar::Reset(bAsk);
    } else if (m_nCurrentMenuId != 0 && m_nCurrentMenuId < QXP_ID_FIRST_HANDLE_MENU && (!bAsk || ConfirmReset())) {
        // No controls to go back to: the menu resource shown is read again.
        if (LoadMenuResource(m_nCurrentMenuId)) {
            m_pControls->CreateOriginalControls();
            CWnd* pSite = GetOwnerSite();
            if (pSite && ::IsWindow(pSite->GetSafeHwnd()))
                pSite->SendMessage(WM_QXP_BARRESET, 0, (LPARAM)this);
            if (m_pCommandBars)
                m_pCommandBars->m_bLayoutChanged = TRUE;
        }
    }
    // The maximised child's buttons were not among the program's controls.
    InstallFrameHooks();
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        if (m_bVisible)
            RefreshMdiButtons();
        OnIdleUpdateCmdUI(TRUE, 0);
        DelayLayout();
        OnRecalcLayout();
    }
    InternalRelease();
}

void CQXPMenuBar::RestoreActiveMenu()
{
    // The frame hands the bar the menu of the active document again
    // (WM_MDISETMENU), or its own menu without one.
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(GetOwnerSite());
    if (pFrame && ::IsWindow(pFrame->GetSafeHwnd()))
        pFrame->OnUpdateFrameMenu(NULL);
    if (m_hWnd && ::IsWindow(m_hWnd) && m_bVisible)
        RefreshMdiButtons();
}
