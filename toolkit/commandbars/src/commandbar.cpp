// The command bar window: controls, idle state update, mouse routing and
// drawing (selection and tracking have a file of their own).

#include <qx/commandbars.h>
#include <qx/customize.h>
#include <qx/popup.h>
#include <qx/cbaccess.h>
#include <qx/controlcombo.h>
#include <qx/controledit.h>
#include <qx/galleryscroll.h>
#include <qx/keytips.h>
#include <qx/listcontrols.h>
#include <qx/mousemanager.h>
#include <qx/drawing.h>
#include <qx/images.h>
#include <qx/resourcemgr.h>
#include <qx/shortcuts.h>
#include <qx/tooltips.h>

#include <algorithm>

BOOL AFXAPI QxpRegisterWndClass(LPCSTR lpszClassName, UINT nClassStyle)
{
    HINSTANCE hInst = ::GetModuleHandleA(NULL);
    WNDCLASSA wc;
    if (::GetClassInfoA(hInst, lpszClassName, &wc))
        return TRUE;
    ZeroMemory(&wc, sizeof(wc));
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInst;
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = lpszClassName;
    return ::RegisterClassA(&wc) != 0;
}

namespace {

// Carries a handler's Enable/SetCheck/SetText to one control.
class CQXPControlCmdUI : public CCmdUI {
public:
    explicit CQXPControlCmdUI(CQXPControl* pControl) : m_pControl(pControl) {}
    void Enable(BOOL bOn = TRUE) override
    {
        m_bEnableChanged = TRUE;
        // A control linked to an action takes the action's state while
        // enabled (-1), so a later change of the action still shows.
        if (m_pControl->GetAction())
            m_pControl->SetEnabled(bOn ? -1 : FALSE);
        else
            m_pControl->SetEnabled(bOn ? TRUE : FALSE);
    }
    void SetCheck(int nCheck = 1) override { m_pControl->SetChecked(nCheck); }
    void SetRadio(BOOL bOn = TRUE) override { m_pControl->SetChecked(bOn ? 1 : 0); }
    void SetText(LPCSTR lpszText) override { m_pControl->SetCaption(CString(lpszText)); }

private:
    CQXPControl* m_pControl;
};

} // namespace

IMPLEMENT_DYNCREATE(CQXPCommandBar, CWnd)

BEGIN_MESSAGE_MAP(CQXPCommandBar, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_NCMOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUIMsg)
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_MESSAGE(WM_INITIALUPDATE, OnIdleUpdateCmdUIMsg)
END_MESSAGE_MAP()

CQXPCommandBar::CQXPCommandBar()
    : m_pReturnCmd(NULL), m_bRecursePopup(FALSE), m_nBarID(0), m_barType(qxpBarTypeNormal), m_barPosition(qxpBarNone),
      m_dwFlags(0), m_bVisible(TRUE), m_bCustomizable(TRUE), m_pControls(new CQXPControls), m_pCommandBars(NULL),
      m_hWndSite(NULL), m_szButtons(0, 0), m_szIcons(0, 0), m_buttonStyle(0), m_rcBorders(2, 2, 2, 2),
      m_nSelected(-1), m_nPopuped(-1), m_bTracking(FALSE), m_nPending(0), m_nMRUWidth(32767), m_bMouseTracked(FALSE),
      m_nLastStatusIndex(-1), m_pAnimationCache(new CQXPBarAnimationCache(this))
{
    m_pControls->SetParent(this);
}

CQXPCommandBar::~CQXPCommandBar()
{
    if (m_pAccessible) {
        // Clients may still hold the object: it outlives the bar detached.
        m_pAccessible->Detach();
        m_pAccessible->InternalRelease();
        m_pAccessible = NULL;
    }
    if (m_bTracking)
        ToolkitMouseManager::GetInstance()->RemoveTrackedBar(this);
    if (m_pKeyboardSink) {
        CKeyboardHook::Instance()->Uninstall(m_pKeyboardSink);
        delete m_pKeyboardSink;
        m_pKeyboardSink = NULL;
    }
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    OnRemoved();
    ToolkitMouseManager::ForgetBar(this);
    // The context is the manager's: its window stays for the other bars.
    QxpReplaceReference(m_pToolTipContext, (CQXPToolTipContext*)NULL);
    m_pControls->RemoveAll();
    m_pControls->SetParent(NULL);
    m_pControls->InternalRelease();
    m_pControls = NULL;
    delete m_pAnimationCache;
    m_pAnimationCache = NULL;
    if (m_pPaintManager) {
        m_pPaintManager->InternalRelease();
        m_pPaintManager = NULL;
    }
    if (m_pImageManager) {
        m_pImageManager->InternalRelease();
        m_pImageManager = NULL;
    }
}

void CQXPCommandBar::OnFinalRelease()
{
    if (m_nInWindowProc > 0) {
        m_bDeletePending = TRUE;
        return;
    }
    delete this;
}

LRESULT CQXPCommandBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_nInWindowProc++;
    LRESULT lResult;
    LONG idObject = (LONG)(DWORD)lParam;
    // Every message is shown to the manager's tooltips first (a bar without
    // a manager has the framework's tooltips of its window instead).
    if (CQXPToolTipContext* pToolTips = m_pToolTipContext) {
        pToolTips->InternalAddRef();
        pToolTips->FilterMessage(this, message, wParam, lParam);
        pToolTips->InternalRelease();
    }
    if (message == WM_GETOBJECT &&
        (idObject == OBJID_CLIENT || idObject == OBJID_MENU || (idObject >= 1 && idObject <= 0xFFFFFE)))
        lResult = GetAccessibleObject()->OnGetObject(wParam, lParam);
    else
        lResult = CWnd::WindowProc(message, wParam, lParam);
    if (message == WM_CREATE && lResult != -1) {
        // A bar of a manager shows its tooltips through the manager's
        // context; a bar of its own through its window, unless it is a popup.
        if (GetCommandBars())
            TakeManagerToolTipContext();
        else if (!IsPopupBar())
            EnableToolTips(TRUE);
    }
    // Bars take customize drops from their creation on (drop-down lists never).
    if (message == WM_CREATE && lResult != -1 && m_pCommandBars && m_barPosition != qxpBarListBox &&
        m_pCommandBars->GetDropSource())
        m_pCommandBars->GetDropSource()->RegisterBar(this);
    if (--m_nInWindowProc == 0 && m_bDeletePending)
        delete this;
    return lResult;
}

CQXPCommandBarAccessible* CQXPCommandBar::GetAccessibleObject()
{
    if (!m_pAccessible)
        m_pAccessible = new CQXPCommandBarAccessible(this);
    return m_pAccessible;
}

void CQXPCommandBar::NotifyControlsDestroying()
{
    for (int i = 0; i < m_pControls->GetCount(); i++)
        m_pControls->GetAt(i)->OnParentDestroying();
}

void CQXPCommandBar::DetachFromThread()
{
    if (m_bTracking)
        SetTrackingMode(FALSE);
    if (m_pKeyboardSink) {
        CKeyboardHook::Instance()->Uninstall(m_pKeyboardSink);
        delete m_pKeyboardSink;
        m_pKeyboardSink = NULL;
    }
    ToolkitMouseManager::ForgetBar(this);
}

void CQXPCommandBar::OnRemoved()
{
    DetachFromThread();
    // Hosted windows go back to the site before their controls go.
    NotifyControlsDestroying();
    m_pControls->RemoveAll();
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CQXPCommandBar::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return CWnd::PreCreateWindow(cs);
}

void CQXPCommandBar::SetTitle(const CString& strTitle)
{
    m_strTitle = strTitle;
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::SetWindowTextA(m_hWnd, strTitle);
        Redraw();
    }
}

void CQXPCommandBar::SetFlags(DWORD dwAdd, DWORD dwRemove)
{
    DWORD dwNew = (m_dwFlags | dwAdd) & ~dwRemove;
    if (dwNew == m_dwFlags)
        return;
    m_dwFlags = dwNew;
    DelayLayout();
}

void CQXPCommandBar::SetMRUWidth(int nWidth)
{
    if (nWidth == m_nMRUWidth)
        return;
    m_nMRUWidth = nWidth;
    DelayLayout();
}

void CQXPCommandBar::SetVisible(BOOL bVisible)
{
    m_bVisible = bVisible;
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::ShowWindow(m_hWnd, bVisible ? SW_SHOWNA : SW_HIDE);
}

CQXPCommandBars* CQXPCommandBar::GetCommandBars() const
{
    // Bounded: a broken opener chain must not loop for ever.
    const CQXPCommandBar* pBar = this;
    for (int nDepth = 0; pBar && nDepth < 64; nDepth++) {
        if (pBar->m_pCommandBars)
            return pBar->m_pCommandBars;
        pBar = pBar->GetParentCommandBar();
    }
    return NULL;
}

void CQXPCommandBar::SetCommandBars(CQXPCommandBars* pCommandBars)
{
    m_pCommandBars = pCommandBars;
    m_pControls->SetCommandBars(pCommandBars);
    if (m_hWnd && ::IsWindow(m_hWnd))
        TakeManagerToolTipContext();
}

void CQXPCommandBar::TakeManagerToolTipContext()
{
    CQXPCommandBars* pCommandBars = GetCommandBars();
    CQXPToolTipContext* pContext = pCommandBars ? pCommandBars->GetToolTipContext() : NULL;
    if (pContext == m_pToolTipContext)
        return;
    if (pContext)
        pContext->InternalAddRef();
    QxpReplaceReference(m_pToolTipContext, pContext);
}

void CQXPCommandBar::UpdateShortcuts()
{
    CQXPCommandBars* pCommandBars = GetCommandBars();
    CQXPKeyboardShortcuts* pShortcuts = pCommandBars ? pCommandBars->GetKeyboardShortcuts() : NULL;
    if (!pShortcuts || !pCommandBars->GetOptions()->m_bMenuShortcuts)
        return;
    // The shortcut table speaks, not the texts the menu resource was loaded
    // with: a command the table has no key for shows none. Without any
    // table the texts stay as they are.
    CQXPControls* pControls = GetBroadcastControls();
    for (int i = 0; i < pControls->GetCount(); i++) {
        CQXPControl* pControl = pControls->GetAt(i);
        if (pControl->GetParent() != this || pControl->GetID() == 0 || !pControl->IsVisible(0))
            continue;
        CString strText = pControl->m_strShortcutTextAuto;
        pShortcuts->FindDefaultAccelerator(pControl->GetID(), strText);
        pControl->m_strShortcutTextAuto = strText;
    }
}

BOOL CQXPCommandBar::LoadMenu(CMenu* pMenu, BOOL bRemove)
{
    if (!pMenu || !::IsMenu(pMenu->GetSafeHmenu()))
        return FALSE;
    if (bRemove)
        m_pControls->RemoveAll();
    BOOL bResult = m_pControls->LoadMenu(pMenu);
    DelayLayout();
    // The frame shows the new menu at its next idle time (a delayed layout
    // that notifies: idle flags 4 and 8).
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->DelayRecalcLayout(TRUE);
    return bResult;
}

void CQXPCommandBar::ResetSelection()
{
    // The indexes may have moved just now: the open control is the one
    // whose popup shows.
    if (m_nPopuped != -1) {
        m_nPopuped = -1;
        for (int i = 0; i < m_pControls->GetCount(); i++) {
            if (m_pControls->GetAt(i)->GetPopuped()) {
                m_nPopuped = i;
                break;
            }
        }
        SetPopuped(-1);
    }
    m_nSelected = -1;
    DelayLayout();
}

namespace {

// The framework's object of a window (a temporary one when it has none);
// NULL when the window is gone.
CWnd* WndOf(HWND hWnd)
{
    if (!hWnd || !::IsWindow(hWnd))
        return NULL;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    return pWnd ? pWnd : CWnd::FromHandle(hWnd);
}

} // namespace

CWnd* CQXPCommandBar::GetSite() const
{
    CQXPCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && pCommandBars->GetSite())
        return pCommandBars->GetSite();
    const CQXPCommandBar* pRoot = const_cast<CQXPCommandBar*>(this)->GetRootParent();
    if (CWnd* pSite = WndOf(pRoot ? pRoot->m_hWndSite : NULL))
        return pSite;
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        // GetParent answers the owner of a popup window, the parent of a
        // child.
        if (CWnd* pParent = WndOf(::GetParent(m_hWnd)))
            return pParent;
    }
    return AfxGetMainWnd();
}

CWnd* CQXPCommandBar::GetCommandTarget() const
{
    return WndOf(m_hWndCommandTarget);
}

BOOL CQXPCommandBar::LoadToolBar(UINT nIDResource, BOOL bLoadImages)
{
    // The resource chain of the toolkit: its resource module first.
    LPCSTR lpszType = MAKEINTRESOURCEA(241); // RT_TOOLBAR
    HINSTANCE hInst = ToolkitResourceManager::Instance()->FindResourceHandle(MAKEINTRESOURCEA(nIDResource), lpszType);
    HRSRC hRsrc = ::FindResourceA(hInst, MAKEINTRESOURCEA(nIDResource), lpszType);
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

    // Each button is offered to the site first (it may create the control
    // itself or choose its type) and announced to it afterwards.
    m_pControls->RemoveAll();
    CWnd* pSite = GetSite();
    if (pSite && !::IsWindow(pSite->GetSafeHwnd()))
        pSite = NULL;
    BOOL bGroup = FALSE;
    int nIndex = 0;
    for (int i = 0; i < nCount; i++) {
        UINT nId = pData[4 + i];
        if (nId == 0) {
            bGroup = TRUE;
            continue;
        }
        QXP_CREATECONTROL_RECORD rec;
        rec.nID = (int)nId;
        rec.pControl = NULL;
        rec.nReserved = 1; // from a toolbar resource
        rec.nIndex = nIndex;
        rec.hMenu = NULL;
        rec.pCommandBar = this;
        rec.controlType = qxpControlButton;
        rec.buttonStyle = 0;
        CQXPControl* pControl = NULL;
        if (pSite && pSite->SendMessage(WM_COMMANDBARS_CREATECONTROL, 0, (LPARAM)&rec) != 0 && rec.pControl)
            pControl = m_pControls->InsertAt(rec.pControl, -1);
        if (!pControl) {
            pControl = m_pControls->Add(rec.controlType, rec.nID);
            if (pControl && rec.controlType >= qxpControlPopup && rec.controlType <= qxpControlSplitButtonPopup)
                pControl->SetIconId(rec.nID);
        }
        if (!pControl)
            continue;
        if (bGroup)
            pControl->SetBeginGroup(TRUE);
        bGroup = FALSE;
        if (pSite) {
            rec.pControl = pControl;
            pSite->SendMessage(WM_COMMANDBARS_CONTROLCREATED, 0, (LPARAM)&rec);
        }
        nIndex++;
    }
    m_pControls->CreateOriginalControls();
    DelayLayout();

    if (!bLoadImages)
        return TRUE;
    if (!GetImageManager()->SetIcons(nIDResource, nIDResource))
        return FALSE;
    // The usual 16-pixel strip leaves the icon size to the options.
    if (pData[1] != 16)
        m_szIcons = CSize(pData[1], pData[2]);
    return TRUE;
}

CWnd* CQXPCommandBar::GetOwnerSite() const
{
    // Bounded like GetCommandBars.
    const CQXPCommandBar* pBar = this;
    for (int nDepth = 0; pBar && nDepth < 64; nDepth++) {
        if (CWnd* pTarget = pBar->GetCommandTarget())
            return pTarget;
        pBar = pBar->GetParentCommandBar();
    }
    pBar = this;
    for (int nDepth = 0; pBar && nDepth < 64; nDepth++) {
        if (CWnd* pSite = WndOf(pBar->m_hWndSite))
            return pSite;
        pBar = pBar->GetParentCommandBar();
    }
    return GetSite();
}

CSize CQXPCommandBar::GetButtonSize() const
{
    if (m_szButtons.cx > 0)
        return m_szButtons;
    CSize szIcon = GetIconSize();
    return CSize(szIcon.cx + 6, szIcon.cy + 6);
}

CQXPCommandBar* CQXPCommandBar::GetParentCommandBar() const
{
    const CQXPPopupBar* pPopup = dynamic_cast<const CQXPPopupBar*>(this);
    return pPopup && pPopup->m_pControlPopup ? pPopup->m_pControlPopup->GetParent() : NULL;
}

BOOL CQXPCommandBar::IsPopupBar() const
{
    return dynamic_cast<const CQXPPopupBar*>(this) != NULL;
}

int CQXPCommandBar::GetResizeFlags() const
{
    return 0;
}

BOOL CQXPCommandBar::IsLayoutRTL() const
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return FALSE;
    return (::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)) != 0;
}

void CQXPCommandBar::Copy(CQXPCommandBar* pOther, BOOL bRecursive)
{
    if (!pOther || pOther == this)
        return;
    m_barType = pOther->m_barType;
    m_barPosition = pOther->m_barPosition;
    m_nBarID = pOther->m_nBarID;
    m_dwFlags = pOther->m_dwFlags;
    m_dwStyle = pOther->m_dwStyle;
    m_strTitle = pOther->m_strTitle;
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::SetWindowTextA(m_hWnd, m_strTitle);
    m_bCustomizable = pOther->m_bCustomizable;
    m_nMRUWidth = pOther->m_nMRUWidth;
    m_szIcons = pOther->m_szIcons;
    m_szButtons = pOther->m_szButtons;
    SetCommandBars(pOther->m_pCommandBars);
    m_buttonStyle = pOther->m_buttonStyle;
    // Copying a bar onto itself through its own controls would loop.
    if (pOther->m_pControls != m_pControls) {
        m_pControls->RemoveAll();
        m_pControls->Copy(pOther->m_pControls, bRecursive);
    }
    DelayLayout();
}

void CQXPCommandBar::ShowGripper(BOOL bShow)
{
    DWORD dwStyle = bShow ? (m_dwStyle | QXP_CBRS_GRIPPER) : (m_dwStyle & ~(DWORD)QXP_CBRS_GRIPPER);
    if (dwStyle == m_dwStyle)
        return;
    m_dwStyle = dwStyle;
    DelayLayout();
}

CQXPCommandBar* CQXPCommandBar::Clone(BOOL bRecursive)
{
    CQXPCommandBar* pBar = QxpCreateObjectAs<CQXPCommandBar>(GetRuntimeClass());
    if (!pBar)
        return NULL;
    pBar->Copy(this, bRecursive);
    return pBar;
}

CSize CQXPCommandBar::GetIconSize() const
{
    if (!m_pCommandBars)
        return m_szIcons.cx > 0 ? m_szIcons : CSize(16, 16);
    // Popups: their own size, else the options' popup size.
    if (m_barType == qxpBarTypePopup || m_barPosition == qxpBarPopup) {
        if (m_szIcons.cx > 0)
            return m_szIcons;
        if (m_pCommandBars->GetOptions()->m_szPopupIcons.cx > 0)
            return m_pCommandBars->GetOptions()->m_szPopupIcons;
        return GetPaintManager()->GetAutoIconSize(FALSE);
    }
    // Toolbars with large icons, unless their buttons have a fixed size.
    if (m_pCommandBars->GetOptions()->m_bLargeIcons && m_barType == qxpBarTypeNormal && m_szButtons.cx <= 0)
        return GetLargeIconSize();
    if (m_szIcons.cx > 0)
        return m_szIcons;
    if (m_pCommandBars->GetOptions()->m_szIcons.cx > 0)
        return m_pCommandBars->GetOptions()->m_szIcons;
    return GetPaintManager()->GetAutoIconSize(FALSE);
}

BOOL CQXPCommandBar::IsKeyboardCuesVisible() const
{
    return m_pCommandBars ? m_pCommandBars->IsKeyboardCuesShown() : TRUE;
}

void CQXPCommandBar::GetButtonSize(CSize* pSize, BOOL bLarge) const
{
    *pSize = bLarge ? GetLargeIconSize() : GetIconSize();
}

CSize CQXPCommandBar::GetLargeIconSize() const
{
    if (m_szLargeIcons.cx > 0)
        return m_szLargeIcons;
    if (m_pCommandBars && m_pCommandBars->GetOptions()->m_szLargeIcons.cx > 0)
        return m_pCommandBars->GetOptions()->m_szLargeIcons;
    CSize sz = m_szIcons.cx > 0 ? m_szIcons : CSize(16, 16);
    return CSize(sz.cx * 2, sz.cy * 2);
}

BOOL CQXPCommandBar::IsTextBelowIcons() const
{
    if (m_nShowTextBelowIcons != 2)
        return m_nShowTextBelowIcons;
    return m_pCommandBars ? m_pCommandBars->GetOptions()->m_bShowTextBelowIcons : FALSE;
}

BOOL CQXPCommandBar::IsCustomizeMode() const
{
    // A popup made without a manager of its own asks the bars that opened it.
    CQXPCommandBars* pCommandBars = GetCommandBars();
    return pCommandBars ? pCommandBars->IsCustomizeMode() : FALSE;
}

// ---------------------------------------------------------------------------
// Keyboard tips

void CQXPCommandBar::CreateKeyboardTips(CQXPKeyboardTips* pTips)
{
    if (!pTips || !m_hWnd || !::IsWindow(m_hWnd))
        return;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (!pControl->IsVisible() || (pControl->GetFlags() & qxpFlagSkipFocus) ||
            pControl->GetType() == qxpControlLabel || pControl->GetCaption().IsEmpty())
            continue;
        CRect rc = pControl->GetRect();
        CPoint ptAnchor(rc.left + 12, rc.bottom - 11);
        ::ClientToScreen(m_hWnd, &ptAnchor);
        pTips->AddControlTip(pControl, ptAnchor);
    }
    // A bar of the manager's own (no popup) also names the other bars on
    // screen: their tips move keyboard tracking there.
    CQXPCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars || m_barType == qxpBarTypePopup)
        return;
    BOOL bOwnBar = FALSE;
    for (int i = 0; i < pCommandBars->GetCount(); i++)
        bOwnBar = bOwnBar || pCommandBars->GetAt(i) == this;
    if (!bOwnBar)
        return;
    for (int i = 0; i < pCommandBars->GetCount(); i++) {
        CQXPToolBar* pBar = pCommandBars->GetAt(i);
        HWND hWndBar = pBar->GetSafeHwnd();
        if (pBar == this || !pBar->IsVisible() || !::IsWindow(hWndBar) || !::IsWindowVisible(hWndBar))
            continue;
        CRect rcBar;
        ::GetWindowRect(hWndBar, &rcBar);
        pTips->AddBarTip(pBar, rcBar.TopLeft());
    }
}

void CQXPCommandBar::OnKeyboardTip(CQXPKeyboardTip* pTip)
{
    if (!pTip)
        return;
    if (pTip->pBar) {
        if (CQXPCommandBars* pCommandBars = GetCommandBars())
            pCommandBars->SetTrackingToolbar(pTip->pBar, 0);
        return;
    }
    CQXPControl* pControl = pTip->pControl;
    // The control may have left the bar since the tips were made.
    if (!pControl || pControl->GetParent() != this || m_pControls->GetAt(pControl->GetIndex()) != pControl ||
        !pControl->IsVisible() || !pControl->GetEnabled())
        return;
    InternalAddRef();
    int nIndex = pControl->GetIndex();
    SetSelected(nIndex, 2);
    if (pControl->GetCommandBar()) {
        // The popup opens as from the keyboard: its first item selected,
        // ready to show its own tips one level deeper.
        m_bAnimateNextPopup = TRUE;
        SetPopuped(nIndex, TRUE);
    } else {
        pControl->OnUnderlineActivate();
    }
    InternalRelease();
}

int CQXPCommandBar::GetKeyboardTipsMode() const
{
    CQXPCommandBars* pCommandBars = GetCommandBars();
    CQXPKeyboardTips* pTips = pCommandBars ? pCommandBars->GetKeyboardTips() : NULL;
    return pTips && pTips->IsShown() && pTips->GetBar() == this ? pTips->GetLevel() : 0;
}

int CQXPCommandBar::GetKeyboardTipsDepth() const
{
    int nDepth = 1;
    const CQXPCommandBar* pBar = this;
    // Bounded: a broken opener chain must not loop for ever.
    while (nDepth < 64) {
        const CQXPPopupBar* pPopup = dynamic_cast<const CQXPPopupBar*>(pBar);
        CQXPCommandBar* pParent = pPopup && pPopup->m_pControlPopup ? pPopup->m_pControlPopup->GetParent() : NULL;
        if (!pParent)
            break;
        pBar = pParent;
        nDepth++;
    }
    return nDepth;
}

void CQXPCommandBar::HideKeyboardTips()
{
    if (CQXPCommandBars* pCommandBars = GetCommandBars())
        pCommandBars->HideKeyboardTips();
}

void CQXPCommandBar::OnMouseMoveOutside(CPoint point)
{
    if (m_nPopuped == -1 && m_pControls->HitTest(point) == NULL)
        SetSelected(-1, 0);
}

// ---------------------------------------------------------------------------
// Hit tests and tooltips

BOOL CQXPCommandBar::HitTestBar(CPoint point) const
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return FALSE;
    CRect rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    if (!rcWindow.PtInRect(point))
        return FALSE;
    if (m_barType != qxpBarTypePopup && m_barPosition != qxpBarPopup)
        return TRUE;
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    if (!hRgn)
        return TRUE;
    BOOL bInside = TRUE;
    if (::GetWindowRgn(m_hWnd, hRgn) != ERROR)
        bInside = ::PtInRegion(hRgn, point.x - rcWindow.left, point.y - rcWindow.top);
    ::DeleteObject(hRgn);
    return bInside;
}

BOOL CQXPCommandBar::IsToolTipAllowed() const
{
    BOOL bPopup = m_barType == qxpBarTypePopup || m_barPosition == qxpBarPopup;
    if (m_nPopuped != -1 || (m_bTracking && !bPopup))
        return FALSE;
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    if (pMouse->GetTrackingLock() > 0 || pMouse->IsTrackedBarBlocked(const_cast<CQXPCommandBar*>(this)))
        return FALSE;
    return m_pCommandBars ? m_pCommandBars->GetOptions()->m_bToolBarScreenTips : TRUE;
}

CString CQXPCommandBar::GetControlToolTipText(CQXPControl* pControl) const
{
    if (!pControl)
        return CString();
    CString strTip = pControl->GetTooltip();
    if (strTip.IsEmpty())
        strTip = QxpStripMnemonics(pControl->GetCaption());
    if (strTip.IsEmpty() || !m_pCommandBars || !m_pCommandBars->GetOptions()->m_bToolBarAccelTips)
        return strTip;
    CString strShortcut = pControl->GetShortcutText();
    CQXPKeyboardShortcuts* pShortcuts = m_pCommandBars->GetKeyboardShortcuts();
    if (pShortcuts && pControl->GetID() > 0)
        strShortcut = pShortcuts->GetShortcutText(pControl->GetID(), strShortcut);
    if (!strShortcut.IsEmpty())
        strTip += " (" + strShortcut + ")";
    return strTip;
}

INT_PTR CQXPCommandBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    if (!IsToolTipAllowed())
        return -1;
    CQXPControl* pControl = m_pControls->HitTest(point);
    if (!pControl || !pControl->IsVisible())
        return -1;
    // Menu items show tips only when they ask for them.
    BOOL bPopup = m_barType == qxpBarTypePopup || m_barPosition == qxpBarPopup;
    if (bPopup && !(pControl->GetFlags() & qxpFlagShowPopupBarTip)) {
        CQXPCommandBars* pCommandBars = GetCommandBars();
        if (!pCommandBars || !pCommandBars->GetOptions()->m_bShowPopupBarToolTips)
            return -1;
    }
    CRect rcTip = pControl->GetRect();
    INT_PTR nHit = 0;
    CString strTip = const_cast<CQXPControl*>(pControl)->GetTooltipAt(point, &rcTip, &nHit);
    if (strTip.IsEmpty()) {
        strTip = GetControlToolTipText(pControl);
        rcTip = pControl->GetRect();
        // Tools are told apart by their place on the bar.
        nHit = (INT_PTR)pControl->GetIndex() + 1;
    }
    if (strTip.IsEmpty())
        return -1;
    if (!pTI)
        return nHit;
    return FillToolHitInfo(pTI, m_hWnd, rcTip, nHit, strTip);
}

// ---------------------------------------------------------------------------
// Layout and drawing

void CQXPCommandBar::OnRecalcLayout()
{
    m_nPending &= ~qxpPendingLayout;
    if (m_pCommandBars)
        m_pCommandBars->RecalcFrameLayout(FALSE);
    else if (m_hWnd && ::IsWindow(m_hWnd)) {
        CRect rc;
        ::GetClientRect(m_hWnd, &rc);
        CalcDynamicLayout(rc.Width(), qxpLayoutHorz | qxpLayoutHorzDock | qxpLayoutCommit);
    }
    Redraw();
}

void CQXPCommandBar::Redraw(LPCRECT lpRect, BOOL bAnimate)
{
    if (m_nLockRedraw > 0) {
        m_nPending |= qxpPendingRedraw;
        return;
    }
    if (!lpRect)
        m_nPending &= ~qxpPendingRedraw;
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    if (!IsVisible() || !::IsWindowVisible(m_hWnd)) {
        // Nothing of the bar is on screen to invalidate. Its off-screen copy
        // is out of date, though: it goes, so that the paint that follows
        // the window's showing again draws the bar as it is then.
        m_pAnimationCache->Reset();
        return;
    }
    if (m_pAnimationCache->IsCaching())
        m_pAnimationCache->RedrawRect(lpRect, bAnimate);
    else
        ::InvalidateRect(m_hWnd, lpRect, FALSE);
}

void CQXPCommandBar::UnlockRedraw()
{
    if (m_nLockRedraw > 0 && --m_nLockRedraw == 0 && (m_nPending & qxpPendingRedraw))
        Redraw();
}

void CQXPCommandBar::EnableAnimation(BOOL bEnable)
{
    m_pAnimationCache->m_bAnimation = bEnable ? TRUE : FALSE;
    if (!bEnable)
        m_pAnimationCache->ClearFades();
    // The switch itself fades nothing in.
    Redraw(NULL, FALSE);
}

void CQXPCommandBar::SetBuffered(BOOL bBuffered)
{
    m_pAnimationCache->m_bBuffered = bBuffered ? TRUE : FALSE;
}

CFont* CQXPCommandBar::GetControlFont()
{
    return GetPaintManager()->GetControlFont(this);
}

namespace {

// The manager of a bar, else of the first bar of its popup chain.
CQXPCommandBars* ManagerOfChain(const CQXPCommandBar* pBar, CQXPCommandBar* pRoot)
{
    if (pBar->GetCommandBars())
        return pBar->GetCommandBars();
    return pRoot ? pRoot->GetCommandBars() : NULL;
}

} // namespace

CQXPThemePainter* CQXPCommandBar::GetPaintManager() const
{
    if (m_pPaintManager)
        return m_pPaintManager;
    // The frame's manager may give all its bars one theme.
    CQXPCommandBar* pRoot = const_cast<CQXPCommandBar*>(this)->GetRootParent();
    CQXPCommandBars* pCommandBars = ManagerOfChain(this, pRoot);
    if (pCommandBars && pCommandBars->GetOwnPaintManager())
        return pCommandBars->GetOwnPaintManager();
    // A popup draws like the bar whose control opened its chain.
    if (pRoot && pRoot != this && pRoot->m_pPaintManager)
        return pRoot->m_pPaintManager;
    return GetGlobalPaintManager();
}

CQXPImageManager* CQXPCommandBar::GetImageManager() const
{
    if (m_pImageManager)
        return m_pImageManager;
    CQXPCommandBar* pRoot = const_cast<CQXPCommandBar*>(this)->GetRootParent();
    CQXPCommandBars* pCommandBars = ManagerOfChain(this, pRoot);
    if (pCommandBars && pCommandBars->GetOwnImageManager())
        return pCommandBars->GetOwnImageManager();
    if (pRoot && pRoot != this && pRoot->m_pImageManager)
        return pRoot->m_pImageManager;
    return GetGlobalImageManager();
}

void CQXPCommandBar::SetPaintManager(CQXPThemePainter* pPaintManager)
{
    // The same object again: the bar already holds its reference.
    if (!QxpReplaceReference(m_pPaintManager, pPaintManager))
        return;
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        // Fonts and sizes may differ between themes.
        DelayLayout();
        Invalidate(FALSE);
    }
}

void CQXPCommandBar::SetImageManager(CQXPImageManager* pImageManager)
{
    if (!QxpReplaceReference(m_pImageManager, pImageManager))
        return;
    if (m_hWnd && ::IsWindow(m_hWnd))
        Invalidate(FALSE);
}

HWND CQXPCommandBar::GetDockBarHwnd() const
{
    if (m_barPosition > qxpBarRight || !m_hWnd || !::IsWindow(m_hWnd))
        return NULL;
    return ::GetParent(m_hWnd);
}

BOOL CQXPCommandBar::GetOpenerRect(CRect* pRect) const
{
    const CQXPPopupBar* pPopup = dynamic_cast<const CQXPPopupBar*>(this);
    CQXPControl* pOpener = pPopup ? pPopup->m_pControlPopup : NULL;
    CQXPCommandBar* pParent = pOpener ? pOpener->GetParent() : NULL;
    if (!pParent || !::IsWindow(pParent->GetSafeHwnd()))
        return FALSE;
    *pRect = pOpener->GetRect();
    ::MapWindowPoints(pParent->GetSafeHwnd(), NULL, (LPPOINT)pRect, 2);
    return TRUE;
}

CSize CQXPCommandBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    CClientDC dc(m_hWnd && ::IsWindow(m_hWnd) ? this : NULL);
    CFont* pOldFont = dc.SelectObject(GetControlFont());
    CSize sz = m_pControls->CalcDynamicSize(&dc, nLength, dwMode, m_rcBorders, 0);
    dc.SelectObject(pOldFont);
    return sz;
}

void CQXPCommandBar::DrawCommandBar(CDC* pDC, CRect rcClip)
{
    CQXPThemePainter* pPaintManager = GetPaintManager();
    FillCommandBarEntry(pDC);
    CFont* pOldFont = pDC->SelectObject(GetControlFont());
    BOOL bAnyVisible = FALSE;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (!pControl->IsVisible(0))
            continue;
        // No separator goes before the first control that is shown.
        BOOL bFirstVisible = !bAnyVisible;
        bAnyVisible = TRUE;
        CRect rcInter;
        CRect rcControl = pControl->GetRect();
        CRect rcRow = pControl->GetRowRect();
        if (!rcInter.IntersectRect(rcControl, rcClip) && !rcInter.IntersectRect(rcRow, rcClip))
            continue;
        if (pControl->GetBeginGroup() && !bFirstVisible)
            pPaintManager->DrawCommandBarSeparator(pDC, this, pControl, TRUE);
        pControl->Draw(pDC);
    }
    pDC->SelectObject(pOldFont);
    if (IsCustomizeMode())
        DrawCustomizeMarks(pDC);
}

void CQXPCommandBar::FillCommandBarEntry(CDC* pDC)
{
    GetPaintManager()->FillCommandBarEntry(pDC, this);
}

// ---------------------------------------------------------------------------
// Idle update

void CQXPCommandBar::UpdateControlsState(CWnd* pTarget, BOOL bDisableIfNoHandler)
{
    BOOL bCustomize = IsCustomizeMode();
    // A menu shown without notifications keeps the states it was given,
    // in its submenus as well.
    CQXPCommandBar* pRoot = GetRootParent();
    const BOOL bNoNotify = pRoot && pRoot->m_bNoNotify;
    int nCount = m_pControls->GetCount();
    for (int i = 0; i < nCount && i < m_pControls->GetCount(); i++) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        // Controls hidden only by the program, by a scrolled popup or as
        // rarely used still follow their commands.
        if (!pControl->IsVisible(qxpHideGeneric | qxpHideScroll | qxpHideExpand))
            continue;
        if (bNoNotify || (pControl->GetFlags() & qxpFlagManualUpdate))
            continue;
        if (bCustomize) {
            // While customizing every control can be picked: a control
            // takes its action's state, or is simply enabled.
            if (pControl->GetAction())
                pControl->SetEnabled(-1);
            else if (pControl->m_bEnabled != -1)
                pControl->SetEnabled(TRUE);
            continue;
        }
        if (pControl->GetID() == 0)
            continue;
        if (pControl->GetCommandBar() && pControl->GetType() == qxpControlPopup)
            continue;
        CQXPControlCmdUI state(pControl);
        state.m_nID = (UINT)pControl->GetID();
        state.m_nIndex = (UINT)i;
        state.m_nIndexMax = (UINT)nCount;
        state.m_pOther = this;
        // The bar's own map may answer first: a reflected update entry
        // (id 0) for every control, then an update entry for the id.
        if (CCmdTarget::OnCmdMsg(0, (int)MAKELONG(0xFFFF, WM_REFLECT_BASE + WM_COMMAND), &state, NULL))
            continue;
        if (CCmdTarget::OnCmdMsg(state.m_nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL))
            continue;
        if (pTarget)
            state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}

void CQXPCommandBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (!m_hWnd || !::IsWindow(m_hWnd) || !(::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_VISIBLE))
        return;
    // A command may remove the bar while its controls are updated.
    InternalAddRef();
    UpdateDocTemplateVisibility();
    CWnd* pTarget = GetOwnerSite();
    CWnd* pPermanent = pTarget ? CWnd::FromHandlePermanent(pTarget->GetSafeHwnd()) : NULL;
    CWnd* pRouting = pPermanent ? pPermanent : pTarget;
    // Commands nothing handles are disabled when the caller asks for it and
    // the manager's option (when there is a manager) allows it.
    BOOL bDisableIfNoHandler =
        (BOOL)wParam && (!m_pCommandBars || m_pCommandBars->GetOptions()->m_bDisableCommandsWithoutHandler);
    UpdateControlsState(pRouting, bDisableIfNoHandler);
    // Windows hosted on the bar (custom controls) follow their commands.
    if (pRouting && ::IsWindow(m_hWnd))
        UpdateDialogControls(pRouting, bDisableIfNoHandler);
    if (::IsWindow(m_hWnd)) {
        if (m_nPending & qxpPendingRedraw) {
            m_nPending &= ~qxpPendingRedraw;
            Redraw();
        }
        if (m_nPending & qxpPendingLayout)
            OnRecalcLayout();
    }
    InternalRelease();
}

void CQXPCommandBar::UpdateDocTemplateVisibility()
{
    // The manager knows the active document's menu; without one every
    // control is shown.
    CQXPCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars)
        return;
    UINT nActive = pCommandBars->GetActiveMenuId();
    CQXPControls* pControls = GetBroadcastControls();
    for (int i = 0; i < pControls->GetCount(); i++) {
        CQXPControl* pControl = pControls->GetAt(i);
        const std::map<UINT, BOOL>& shown = pControl->m_mapDocTemplatesAssigned;
        const std::map<UINT, BOOL>& hidden = pControl->m_mapDocTemplatesExcluded;
        // Controls without lists are shown for every menu.
        BOOL bHide = (!shown.empty() && shown.find(nActive) == shown.end()) ||
                     (!hidden.empty() && hidden.find(nActive) != hidden.end());
        if (pControl->SetHideFlag(qxpHideDocTemplate, bHide))
            DelayLayout();
    }
}

LRESULT CQXPCommandBar::OnIdleUpdateCmdUIMsg(WPARAM wParam, LPARAM lParam)
{
    OnIdleUpdateCmdUI(wParam, lParam);
    return 0;
}

// ---------------------------------------------------------------------------
// Messages

void CQXPCommandBar::OnPaint()
{
    CPaintDC dc(this);
    m_pAnimationCache->PaintCached(&dc, CRect(dc.m_ps.rcPaint));
}

LRESULT CQXPCommandBar::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    HDC hDC = (HDC)wParam;
    if (!hDC)
        return 0;
    CRect rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    CDC* pDC = CDC::FromHandle(hDC);
    int nSaved = ::SaveDC(hDC);
    ::IntersectClipRect(hDC, rcClient.left, rcClient.top, rcClient.right, rcClient.bottom);
    DrawCommandBar(pDC, rcClient);
    ::RestoreDC(hDC, nSaved);
    return 0;
}

BOOL CQXPCommandBar::IsSiteInHelpMode() const
{
    CWnd* pSite = GetOwnerSite();
    if (!pSite || !::IsWindow(pSite->GetSafeHwnd()))
        return FALSE;
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pSite);
    if (!pFrame)
        pFrame = pSite->GetParentFrame();
    return pFrame && pFrame->m_bHelpMode;
}

LRESULT CQXPCommandBar::OnNcHitTest(CPoint point)
{
    if (!IsSiteInHelpMode())
        return CWnd::OnNcHitTest(point);
    CPoint ptClient = point;
    ScreenToClient(&ptClient);
    CQXPControl* pControl = m_pControls->HitTest(ptClient);
    if (pControl && pControl->GetID() <= 0 && dynamic_cast<CQXPControlPopup*>(pControl))
        return HTMENU;
    return HTCLIENT;
}

void CQXPCommandBar::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (!IsSiteInHelpMode()) {
        CWnd::OnNcLButtonDown(nHitTest, point);
        return;
    }
    CPoint ptClient = point;
    ScreenToClient(&ptClient);
    OnLButtonDown(MK_LBUTTON, ptClient);
}

LRESULT CQXPCommandBar::OnHelpHitTest(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
    CQXPControl* pControl = m_pControls->HitTest(point);
    if (pControl)
        return HID_BASE_COMMAND + GetControlHelpId(pControl);
    int nID = ::GetDlgCtrlID(m_hWnd);
    return nID ? HID_BASE_CONTROL + nID : 0;
}

BOOL CQXPCommandBar::OnEraseBkgnd(CDC* pDC)
{
    (void)pDC;
    return TRUE;
}

void CQXPCommandBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    CQXPControl* pControl = m_pControls->HitTest(point);
    if (!pControl)
        return;
    if (OnCustomizeLButtonDown(pControl, point))
        return;
    // A click that opens a popup animates it; the mouse ends tip mode.
    if (pControl->GetCommandBar())
        m_bAnimateNextPopup = TRUE;
    CQXPCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && pCommandBars->GetKeyboardTipsLevel() > 0)
        pCommandBars->CancelKeyboardTips();
    pControl->OnClick(FALSE, point);
}

void CQXPCommandBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    (void)nFlags;
    CQXPControl* pControl = m_pControls->HitTest(point);
    if (pControl)
        pControl->OnLButtonUp(point);
}

void CQXPCommandBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    (void)nFlags;
    CQXPControl* pControl = m_pControls->HitTest(point);
    if (pControl)
        pControl->OnLButtonDblClk(point);
}

BOOL CQXPCommandBar::IsMouseMoveAllowed() const
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return FALSE;
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    // Other bars track (an open menu) and this one is not among them, or
    // it is locked under a modal popup.
    if (pMouse->IsTrackedBarBlocked(const_cast<CQXPCommandBar*>(this)))
        return FALSE;
    BOOL bPopup = m_barType == qxpBarTypePopup || m_barPosition == qxpBarPopup || m_barPosition == qxpBarListBox;
    if (!m_bTracking && !bPopup && !IsTopLevelActive(m_hWnd))
        return FALSE;
    if (pMouse->GetTrackingLock() > 0 && !m_bIgnoreMouseLock)
        return FALSE;
    return TRUE;
}

void CQXPCommandBar::OnMouseMove(UINT nFlags, CPoint point)
{
    (void)nFlags;
    if (!IsMouseMoveAllowed())
        return;
    if (IsCustomizeMode() && OnCustomizeMouseMove(point))
        return;
    if (m_nPopuped != -1 && !m_bHoverOpen)
        return;
    if (!m_bMouseTracked) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        m_bMouseTracked = ::TrackMouseEvent(&tme);
    }
    CQXPControl* pControl = m_pControls->HitTest(point);
    if (m_barType == qxpBarTypePopup) {
        // Menus: the item under the mouse is hot; resting on it opens its
        // submenu, or closes the submenu of another item, after a moment.
        if (pControl)
            SetSelected(pControl->GetIndex(), 1);
        else if (m_nPopuped == -1)
            SetSelected(-1, 0);
        if (pControl && pControl->GetIndex() != m_nPopuped)
            ::SetTimer(m_hWnd, QXP_TID_HOVER, 300, NULL);
        // The control follows the mouse itself (a selector marks cells).
        if (pControl)
            pControl->OnMouseMove(point);
        return;
    }
    if (m_nPopuped != -1) {
        // While a menu is open, moving onto another title opens its menu.
        if (pControl && pControl->GetIndex() != m_nPopuped && pControl->GetCommandBar() && pControl->GetEnabled())
            SetPopuped(pControl->GetIndex());
        return;
    }
    SetSelected(pControl ? pControl->GetIndex() : -1, 1);
    if (pControl)
        pControl->OnMouseMove(point);
}

void CQXPCommandBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    // The control under the mouse may take the press itself.
    CQXPControl* pControl = m_pControls->HitTest(point);
    if (pControl && !IsCustomizeMode() && pControl->OnRButtonDown(point))
        return;
    if (IsCustomizeMode() && OnCustomizeRButtonDown(pControl, point))
        return;
    Default();
}

void CQXPCommandBar::OnRButtonUp(UINT nFlags, CPoint point)
{
    (void)nFlags;
    if (IsCustomizeMode())
        return;
    HWND hWnd = m_hWnd;
    InternalAddRef();
    CQXPControl* pControl = m_pControls->HitTest(point);
    BOOL bDone = FALSE;
    if (pControl) {
        pControl->InternalAddRef();
        // The site may take the release (a result of 1).
        CWnd* pSite = GetOwnerSite();
        if (pSite && ::IsWindow(pSite->GetSafeHwnd()) &&
            pSite->SendMessage(WM_QXP_CONTROLRBUTTONUP, (WPARAM)&point, (LPARAM)pControl) == 1)
            bDone = TRUE;
        // A popup shown for the right button runs the item as a left
        // release would.
        CQXPCommandBar* pRoot = GetRootParent();
        if (!bDone && pRoot && pRoot->m_bRightButton && pControl->GetParent() == this && ::IsWindow(hWnd))
            pControl->OnLButtonUp(point);
        pControl->InternalRelease();
    }
    if (!bDone && ::IsWindow(hWnd) && m_barType == qxpBarTypePopup) {
        CQXPCommandBar* pRoot = GetRootParent();
        if (pRoot)
            pRoot->OnPopupRButtonUp(this, point);
    }
    InternalRelease();
}

void CQXPCommandBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == QXP_TID_ANIMATION) {
        m_pAnimationCache->OnAnimationTimer();
        return;
    }
    if (nIDEvent == QXP_TID_EXPANDPOPUP) {
        if (m_nLockTracking > 0)
            return;
        ::KillTimer(m_hWnd, QXP_TID_EXPANDPOPUP);
        // Only the menu still open under the selected control expands.
        CQXPControl* pOpen = m_pControls->GetAt(m_nPopuped);
        CQXPControlPopup* pPopup = dynamic_cast<CQXPControlPopup*>(pOpen);
        if (pPopup && m_nPopuped == m_nSelected && pPopup->GetPopuped()) {
            InternalAddRef();
            pPopup->ExpandPopup();
            InternalRelease();
        }
        return;
    }
    if (nIDEvent == QXP_TID_GALLERY_ANIMATE) {
        // A smooth scroll of a gallery outside its scroll bar's tracking.
        BOOL bRunning = FALSE;
        for (int i = 0; i < m_pControls->GetCount(); i++) {
            GalleryScrollHelper* pOwner = dynamic_cast<GalleryScrollHelper*>(m_pControls->GetAt(i));
            if (pOwner && pOwner->IsScrollAnimating()) {
                pOwner->AnimationStep();
                bRunning = TRUE;
            }
        }
        if (!bRunning)
            ::KillTimer(m_hWnd, QXP_TID_GALLERY_ANIMATE);
        return;
    }
    if (nIDEvent == QXP_TID_SHOWKEYTIPS) {
        if (CQXPCommandBars* pCommandBars = GetCommandBars())
            pCommandBars->OnShowKeyboardTipsTimer(this);
        return;
    }
    if (nIDEvent != QXP_TID_HOVER) {
        Default();
        return;
    }
    // A modal popup on top locks the bar: the timer waits until it ends.
    if (m_nLockTracking > 0)
        return;
    ::KillTimer(m_hWnd, QXP_TID_HOVER);
    CQXPControl* pSelected = GetSelected();
    if (!pSelected)
        return;
    // The control decides (a submenu item opens its popup, others close
    // an open one); either may remove it or the bar.
    InternalAddRef();
    pSelected->InternalAddRef();
    pSelected->OnMouseHover();
    pSelected->InternalRelease();
    InternalRelease();
}

void CQXPCommandBar::OnMouseLeave()
{
    m_bMouseTracked = FALSE;
    ClearSelectionOnLeave();
}

void CQXPCommandBar::OnNcMouseMove(UINT nHitTest, CPoint point)
{
    // The pointer on the frame of a floating bar has left its controls.
    ClearSelectionOnLeave();
    CWnd::OnNcMouseMove(nHitTest, point);
}

void CQXPCommandBar::ClearSelectionOnLeave()
{
    // A locked mouse manager (a modal popup) or a locked bar keeps it.
    if (ToolkitMouseManager::GetInstance()->GetTrackingLock() > 0 || m_nLockTracking > 0)
        return;
    if (m_nPopuped == -1 && !m_bTracking)
        SetSelected(-1, 0);
}

void CQXPCommandBar::OnDestroy()
{
    // A bar that goes away while it tracks ends its tracking, so no
    // keyboard sink or tracked-bar entry outlives the window.
    if (m_bTracking)
        SetTrackingMode(FALSE);
    m_pAnimationCache->Reset();
    // A tip shown for one of this bar's controls goes with it; the window
    // stays for the manager's other bars.
    if (m_pToolTipContext)
        m_pToolTipContext->CancelToolTips();
    NotifyControlsDestroying();
    if (m_pCommandBars && m_pCommandBars->GetDropSource())
        m_pCommandBars->GetDropSource()->UnregisterBar(this);
    CWnd::OnDestroy();
}
