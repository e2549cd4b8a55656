// The command bars manager.

#include <qx/commandbars.h>
#include <qx/popup.h>
#include <qx/listcontrols.h>
#include <qx/keytips.h>
#include <qx/rebarhost.h>
#include <qx/mousemanager.h>
#include <qx/soundthread.h>
#include <qx/profile.h>
#include <qx/propexchange.h>

#include <algorithm>

namespace {

// Child ids of the four dock bars and of the frame's main pane.
const UINT kDockBarIds[4] = {0xE81B, 0xE81E, 0xE81C, 0xE81D};
const DWORD kDockBarStyles[4] = {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT};
const UINT kPaneFirstId = 0xE900;

}  // namespace

IMPLEMENT_DYNCREATE(CQXPCommandBars, CCmdTarget)

CQXPCommandBars::CQXPCommandBars()
    : m_pFrame(NULL), m_pMenuBar(NULL), m_actions(this), m_bCustomizeMode(FALSE),
      m_pShortcutManager(new CQXPKeyboardShortcuts(this))
{
    for (CQXPDockBar*& pDock : m_pDocks)
        pDock = NULL;
}

CQXPCommandBars::~CQXPCommandBars()
{
    ToolkitSoundThread::Instance()->Stop();
    delete m_pKeyboardTips;
    m_pKeyboardTips = NULL;
    m_pShortcutManager->InternalRelease();
    m_pShortcutManager = NULL;
    m_actions.RemoveAll();
    for (CQXPToolBar* pBar : m_arrBars) {
        if (pBar->GetDockBar())
            pBar->SetDockBar(NULL);
        pBar->m_pCommandBars = NULL;
        if (::IsWindow(pBar->GetSafeHwnd()))
            pBar->DestroyWindow();
        pBar->InternalRelease();
    }
    m_arrBars.clear();
    m_pMenuBar = NULL;
    for (CQXPDockBar*& pDock : m_pDocks) {
        delete pDock;
        pDock = NULL;
    }
}

CQXPCommandBars* AFXAPI CQXPCommandBars::CreateCommandBars(CWnd* pFrame, CRuntimeClass* pClass)
{
    if (!pClass)
        pClass = RUNTIME_CLASS(CQXPCommandBars);
    CObject* pObject = pClass->CreateObject();
    CQXPCommandBars* pCommandBars = dynamic_cast<CQXPCommandBars*>(pObject);
    if (!pCommandBars) {
        delete pObject;
        return NULL;
    }
    if (!pCommandBars->SetSite(pFrame)) {
        pCommandBars->InternalRelease();
        return NULL;
    }
    return pCommandBars;
}

BOOL CQXPCommandBars::SetSite(CWnd* pFrame)
{
    if (!pFrame || !::IsWindow(pFrame->GetSafeHwnd()))
        return FALSE;
    m_pFrame = pFrame;
    for (int i = 0; i < 4; i++) {
        if (m_pDocks[i])
            continue;
        CQXPDockBar* pDock = new CQXPDockBar;
        pDock->m_pCommandBars = this;
        if (!pDock->Create(pFrame, kDockBarStyles[i] | WS_VISIBLE, kDockBarIds[i])) {
            delete pDock;
            return FALSE;
        }
        m_pDocks[i] = pDock;
    }
    return TRUE;
}

CQXPDockBar* CQXPCommandBars::GetDockBar(int nPosition) const
{
    return nPosition >= 0 && nPosition < 4 ? m_pDocks[nPosition] : NULL;
}

CQXPToolBar* CQXPCommandBars::Add(LPCSTR lpszName, int nBarPosition, CRuntimeClass* pToolbarClass)
{
    if (!m_pFrame || nBarPosition < qxpBarTop || nBarPosition > qxpBarRight)
        return NULL;
    if (!pToolbarClass)
        pToolbarClass = RUNTIME_CLASS(CQXPToolBar);
    CObject* pObject = pToolbarClass->CreateObject();
    CQXPToolBar* pBar = dynamic_cast<CQXPToolBar*>(pObject);
    if (!pBar) {
        delete pObject;
        return NULL;
    }
    pBar->SetCommandBars(this);
    pBar->m_strTitle = lpszName ? lpszName : "";
    pBar->SetPosition(nBarPosition);
    if (pBar->GetBarID() == 0) {
        UINT nID = 0xE800;
        while (nID <= 0xE8FE && GetToolBar(nID))
            nID++;
        pBar->SetBarID(nID);
    }
    CQXPDockBar* pDock = m_pDocks[nBarPosition];
    if (!pBar->CreateToolBar(WS_VISIBLE, pDock, pBar->GetBarID())) {
        pBar->InternalRelease();
        return NULL;
    }
    m_arrBars.push_back(pBar);
    pDock->DockCommandBar(pBar, NULL);
    // A site with a rebar hosts its bars as bands, each on a row of its own.
    if (CQXPReBar* pReBar = GetReBar()) {
        pReBar->AddCommandBar(pBar, RBBS_BREAK | RBBS_GRIPPERALWAYS);
        RecalcFrameLayout();
    }
    return pBar;
}

CQXPMenuBar* CQXPCommandBars::SetMenu(LPCSTR lpszName, UINT nID)
{
    if (m_pMenuBar) {
        if (!m_pMenuBar->LoadMenuBar(nID))
            return NULL;
        m_pMenuBar->SetTitle(lpszName);
        return m_pMenuBar;
    }
    CQXPMenuBar* pMenuBar = dynamic_cast<CQXPMenuBar*>(Add(lpszName, qxpBarTop, RUNTIME_CLASS(CQXPMenuBar)));
    if (!pMenuBar)
        return NULL;
    if (!pMenuBar->LoadMenuBar(nID)) {
        Remove(pMenuBar);
        return NULL;
    }
    m_pMenuBar = pMenuBar;
    // The menu bar is the first bar: it goes to the first row of its dock.
    CQXPDockBar* pDock = pMenuBar->GetDockBar();
    if (pDock && pDock->FindBar(pMenuBar) > 1) {
        pDock->RemoveCommandBar(pMenuBar);
        pDock->m_arrBars.insert(pDock->m_arrBars.begin() + 1, (CQXPToolBar*)NULL);
        pDock->m_arrBars.insert(pDock->m_arrBars.begin() + 1, pMenuBar);
        pMenuBar->SetDockBar(pDock);
    }
    RecalcFrameLayout();
    return pMenuBar;
}

CQXPToolBar* CQXPCommandBars::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_arrBars.size() ? m_arrBars[(size_t)nIndex] : NULL;
}

CQXPToolBar* CQXPCommandBars::GetToolBar(UINT nBarID) const
{
    for (CQXPToolBar* pBar : m_arrBars)
        if (pBar->GetBarID() == nBarID)
            return pBar;
    return NULL;
}

void CQXPCommandBars::Remove(CQXPToolBar* pToolBar)
{
    auto it = std::find(m_arrBars.begin(), m_arrBars.end(), pToolBar);
    if (it == m_arrBars.end())
        return;
    if (m_pFrame && ::IsWindow(m_pFrame->GetSafeHwnd()))
        m_pFrame->SendMessage(WM_QXP_TOOLBARDELETING, 0, (LPARAM)pToolBar);
    m_arrBars.erase(it);
    if (pToolBar == m_pMenuBar)
        m_pMenuBar = NULL;
    // No tip may name a bar that is going away.
    if (m_pKeyboardTips && m_pKeyboardTips->RefersTo(pToolBar))
        m_pKeyboardTips->Hide();
    if (CQXPReBar* pReBar = GetReBar())
        pReBar->DeleteBand(pToolBar);
    if (pToolBar->GetDockBar())
        pToolBar->GetDockBar()->RemoveCommandBar(pToolBar);
    // Hosted windows go back to the frame before the bar window goes.
    pToolBar->OnRemoved();
    if (::IsWindow(pToolBar->GetSafeHwnd()))
        pToolBar->DestroyWindow();
    pToolBar->m_pCommandBars = NULL;
    pToolBar->InternalRelease();
    RecalcFrameLayout();
}

CQXPControl* CQXPCommandBars::FindControl(int controlType, int nId, BOOL bVisible, BOOL bRecursive) const
{
    for (CQXPToolBar* pBar : m_arrBars) {
        CQXPControl* pControl = pBar->GetControls()->FindControl(controlType, nId, bVisible, bRecursive);
        if (pControl)
            return pControl;
    }
    return NULL;
}

BOOL CQXPCommandBars::OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    (void)wParam;
    (void)lParam;
    (void)pResult;
    switch (message) {
    case WM_NOTIFY: {
        const NMHDR* pHdr = (const NMHDR*)lParam;
        if (pHdr && pHdr->idFrom == AFX_IDW_REBAR && pHdr->code == RBN_HEIGHTCHANGE)
            OnReBarHeightChange();
        break;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        GetGlobalPaintManager()->RefreshMetrics();
        for (CQXPToolBar* pBar : m_arrBars) {
            for (int i = 0; i < pBar->GetControlCount(); i++)
                pBar->GetControl(i)->RefreshMetrics();
            pBar->DelayLayout();
        }
        RecalcFrameLayout(TRUE);
        break;
    default:
        break;
    }
    return FALSE;  // the frame handles the message as well
}

void CQXPCommandBars::UpdateCommandBars()
{
    std::vector<CQXPToolBar*> bars = m_arrBars;
    for (CQXPToolBar* pBar : bars) {
        pBar->InternalAddRef();
        pBar->OnIdleUpdateCmdUI(TRUE, 0);
        pBar->InternalRelease();
    }
}

void CQXPCommandBars::RecalcFrameLayout(BOOL bDelay)
{
    (void)bDelay;
    if (!m_pFrame || !::IsWindow(m_pFrame->GetSafeHwnd()))
        return;
    m_pFrame->RepositionBars(0, 0xFFFF, kPaneFirstId);
}

void CQXPCommandBars::ClosePopups()
{
    for (CQXPToolBar* pBar : m_arrBars) {
        pBar->SetPopuped(-1);
        if (pBar->IsTrackingMode())
            pBar->SetTrackingMode(FALSE);
    }
    // Popups not opened from a bar (context menus) end their tracking too.
    ToolkitMouseManager::GetInstance()->SendTrackLost();
}

int CQXPCommandBars::TrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd)
{
    if (!pMenu || !::IsMenu(pMenu->GetSafeHmenu()))
        return 0;
    CWnd* pSite = pWnd ? pWnd : m_pFrame;
    if (!pSite)
        return 0;
    CQXPPopupBar* pPopup = CQXPPopupBar::CreatePopupBar(this);
    pPopup->SetOwnerSite(pSite);
    pPopup->LoadMenu(pMenu, TRUE);
    // A menu shown for a window other than the frame sends its commands
    // there: the popup keeps no manager link for the site.
    if (pWnd && pWnd != m_pFrame)
        pPopup->SetCommandBars(NULL);
    pPopup->m_bRightButton = (nFlags & TPM_RIGHTBUTTON) != 0;
    int nResult = pPopup->TrackPopup(pSite, x, y, (nFlags & TPM_RETURNCMD) != 0);
    if (::IsWindow(pPopup->GetSafeHwnd()))
        pPopup->DestroyWindow();
    pPopup->InternalRelease();
    return nResult;
}

CQXPPopupBar* CQXPCommandBars::CreateToolbarsPopup()
{
    CQXPPopupBar* pPopup = CQXPPopupBar::CreatePopupBar(this);
    pPopup->GetControls()->Add(qxpControlButton, QXP_ID_TOOLBARSLIST);
    return pPopup;
}

void CQXPCommandBars::ContextMenu(CPoint ptScreen)
{
    if (IsCustomizeMode() || !m_pFrame || !::IsWindow(m_pFrame->GetSafeHwnd()))
        return;
    CQXPPopupBar* pPopup = CreateToolbarsPopup();
    m_pFrame->SendMessage(WM_QXP_TOOLBARCONTEXTMENU, (WPARAM)&ptScreen, (LPARAM)pPopup);
    // The toolbars list turns into its items when laid out; a manager
    // whose bars are all fixed has nothing to offer.
    pPopup->CalcDynamicLayout(0, 0);
    if (pPopup->GetControls()->GetVisibleCount() > 0) {
        ClosePopups();
        pPopup->TrackPopup(m_pFrame, ptScreen.x, ptScreen.y, FALSE);
    }
    if (::IsWindow(pPopup->GetSafeHwnd()))
        pPopup->DestroyWindow();
    pPopup->InternalRelease();
}

void CQXPCommandBars::SetCommandUsed(int nId)
{
    if (nId == 0 || IsCommandUsed(nId))
        return;
    m_usedCommands.push_back(nId);
    m_bOptionsChanged = TRUE;
}

void CQXPCommandBars::SetCommandHidden(int nId, BOOL bHidden)
{
    auto it = std::find(m_hiddenCommands.begin(), m_hiddenCommands.end(), nId);
    if (bHidden && it == m_hiddenCommands.end() && nId != 0)
        m_hiddenCommands.push_back(nId);
    else if (!bHidden && it != m_hiddenCommands.end())
        m_hiddenCommands.erase(it);
}

void CQXPCommandBars::HideCommands(const UINT* pIds, int nCount)
{
    for (int i = 0; pIds && i < nCount; i++)
        SetCommandHidden((int)pIds[i], TRUE);
}

BOOL CQXPCommandBars::IsCommandInHiddenList(int nId) const
{
    return std::find(m_hiddenCommands.begin(), m_hiddenCommands.end(), nId) != m_hiddenCommands.end();
}

BOOL CQXPCommandBars::IsCommandHidden(int nId) const
{
    return nId != 0 && IsCommandInHiddenList(nId) && !IsCommandUsed(nId);
}

namespace {

// Whether every control of a submenu is hidden. Submenus nested deeper than
// 16 levels (a bar that reaches itself again) count as not hidden.
BOOL IsSubmenuHidden(const CQXPCommandBars* pBars, CQXPCommandBar* pBar, int nDepth)
{
    if (!pBar || nDepth > 16)
        return FALSE;
    CQXPControls* pControls = pBar->GetControls();
    int nCounted = 0;
    for (int i = 0; i < pControls->GetCount(); i++) {
        CQXPControl* pControl = pControls->GetAt(i);
        if (pControl->IsTemporary())
            continue;  // the expand button and other generated items
        nCounted++;
        if (pBars->IsCommandHidden(pControl->GetID()))
            continue;
        if (!CQXPControl::IsPopupControlType(pControl->GetType()) || !pControl->GetCommandBar() ||
            !IsSubmenuHidden(pBars, pControl->GetCommandBar(), nDepth + 1))
            return FALSE;
    }
    return nCounted > 0;
}

}  // namespace

BOOL CQXPCommandBars::IsControlHidden(CQXPControl* pControl) const
{
    if (!pControl)
        return FALSE;
    if (IsCommandHidden(pControl->GetID()))
        return TRUE;
    return m_bAutoHideUnusedPopups && CQXPControl::IsPopupControlType(pControl->GetType()) &&
           IsSubmenuHidden(this, pControl->GetCommandBar(), 0);
}

void CQXPCommandBars::ResetUsageData()
{
    if (!m_usedCommands.empty())
        m_bOptionsChanged = TRUE;
    m_usedCommands.clear();
}

BOOL CQXPCommandBars::IsCommandUsed(int nId) const
{
    return std::find(m_usedCommands.begin(), m_usedCommands.end(), nId) != m_usedCommands.end();
}

// ---------------------------------------------------------------------------
// Options

void CQXPCommandBars::SetLargeIcons(BOOL bLarge)
{
    bLarge = bLarge ? TRUE : FALSE;
    if (bLarge == m_bLargeIcons)
        return;
    m_bLargeIcons = bLarge;
    RedrawCommandBars();
}

void CQXPCommandBars::RedrawCommandBars()
{
    for (CQXPToolBar* pBar : m_arrBars) {
        for (int i = 0; i < pBar->GetControlCount(); i++)
            pBar->GetControl(i)->RefreshMetrics();
        pBar->DelayLayout();
        if (::IsWindow(pBar->GetSafeHwnd()))
            ::InvalidateRect(pBar->GetSafeHwnd(), NULL, FALSE);
    }
    if (!m_pFrame || !::IsWindow(m_pFrame->GetSafeHwnd()))
        return;
    RecalcFrameLayout(FALSE);
    for (CQXPToolBar* pBar : m_arrBars)
        pBar->m_nPending &= ~qxpPendingLayout;
    CWnd* pStatus = m_pFrame->GetDlgItem(0xE801);
    if (pStatus)
        pStatus->Invalidate(FALSE);
    ::RedrawWindow(m_pFrame->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

namespace {

// A set of command ids as a sub-section of "Item%i" values (with "Count").
// Written when not empty or when the exchange keeps empty sections.
void ExchangeCommandSet(CQXPPropExchange* pPX, LPCSTR lpszSection, std::vector<int>& ids)
{
    PropExchangeSectionPtr section(pPX, lpszSection);
    if (!section.get())
        return;
    if (pPX->IsStoring()) {
        if (ids.empty() && section->CanSkipDefaults())
            return;
        int nCount = (int)ids.size();
        ExchangeIntProp(section, "Count", &nCount, 0);
        for (int i = 0; i < nCount; i++) {
            CString strName;
            strName.Format("Item%i", i);
            ExchangeIntProp(section, strName, &ids[(size_t)i], 0);
        }
        return;
    }
    int nCount = 0;
    ExchangeIntProp(section, "Count", &nCount, 0);
    if (nCount <= 0 || nCount >= 0x10000)
        return;
    ids.clear();
    for (int i = 0; i < nCount; i++) {
        CString strName;
        strName.Format("Item%i", i);
        int nId = 0;
        ExchangeIntProp(section, strName, &nId, 0);
        // Loading is no change of the usage data.
        if (nId != 0 && std::find(ids.begin(), ids.end(), nId) == ids.end())
            ids.push_back(nId);
    }
}

}  // namespace

void CQXPCommandBars::DoOptionsExchange(CQXPPropExchange* pPX, BOOL bFull)
{
    pPX->SchemaProp();
    UINT nSchema = pPX->GetSchema();
    ExchangeBoolProp(pPX, "AlwaysShowFullMenus", &m_bAlwaysShowFullMenus, TRUE);
    ExchangeBoolProp(pPX, "ShowFullAfterDelay", &m_bShowFullAfterDelay, TRUE);
    ExchangeBoolProp(pPX, "ToolBarScreenTips", &m_bToolBarScreenTips, TRUE);
    ExchangeBoolProp(pPX, "ToolBarAccelTips", &m_bToolBarAccelTips, FALSE);
    ExchangeBoolProp(pPX, "LargeIcons", &m_bLargeIcons, FALSE);
    if (nSchema >= 8)
        ExchangeCommandSet(pPX, "UsedCommands", m_usedCommands);
    ExchangeIntProp(pPX, "Animation", &m_nAnimation, 0);
    if (!bFull)
        return;
    // The rest only travels in the options' own archive. Values this
    // manager does not hold yet go through with their defaults, so the
    // archive keeps its layout.
    BOOL bAltDrag = TRUE;
    SIZE szIcons = {0, 0}, szPopupIcons = {0, 0};
    int nKeyboardCuesUse = 1, nKeyboardCuesShow = 0;
    SIZE szLarge = m_szLargeIcons;
    QXP_ICONS_INFO* pIcons = GetGlobalPaintManager()->GetIconsInfo();
    ExchangeBoolProp(pPX, "SyncFloatingBars", &m_bSyncFloatingBars, TRUE);
    ExchangeBoolProp(pPX, "ShowExpandButtonAlways", &m_bShowExpandButtonAlways, TRUE);
    ExchangeSizeProp(pPX, "IconsSize", &szIcons, SIZE{0, 0});
    ExchangeSizeProp(pPX, "LargeIconsSize", &szLarge, SIZE{0, 0});
    m_szLargeIcons = szLarge;
    ExchangeCommandSet(pPX, "HiddenCommands", m_hiddenCommands);
    ExchangeBoolProp(pPX, "IconsWithShadow", &pIcons->bIconsWithShadow, FALSE);
    ExchangeBoolProp(pPX, "UseDisabledIcons", &pIcons->bUseDisabledIcons, TRUE);
    ExchangeBoolProp(pPX, "UseFadedIcons", &pIcons->bUseFadedIcons, TRUE);
    if (nSchema >= 8) {
        ExchangeBoolProp(pPX, "SyncFloatingBars", &m_bSyncFloatingBars, TRUE);
        ExchangeBoolProp(pPX, "ShowExpandButtonAlways", &m_bShowExpandButtonAlways, TRUE);
        ExchangeBoolProp(pPX, "DblClickFloat", &m_bDblClickFloat, FALSE);
        ExchangeBoolProp(pPX, "ShowTextBelowIcons", &m_bShowTextBelowIcons, FALSE);
        ExchangeBoolProp(pPX, "AltDragCustomization", &bAltDrag, TRUE);
        ExchangeBoolProp(pPX, "AutoHideUnusedPopups", &m_bAutoHideUnusedPopups, TRUE);
        ExchangeSizeProp(pPX, "PopupIconsSize", &szPopupIcons, SIZE{0, 0});
    }
    if (nSchema >= 9) {
        ExchangeIntProp(pPX, "KeyboardCuesUse", &nKeyboardCuesUse, 1);
        ExchangeIntProp(pPX, "KeyboardCuesShow", &nKeyboardCuesShow, 0);
    }
}

void CQXPCommandBars::SerializeOptions(CArchive& ar)
{
    CQXPPropExchangeArchive px(ar);
    DoOptionsExchange(&px, TRUE);
}

namespace {

// The options' exchange: on the process-wide INI file when the profile store
// uses one (so options and layout share one store), else on the
// application's profile.
// The caller releases the exchange.
CQXPPropExchange* OpenOptionsExchange(BOOL bLoading, LPCSTR lpszSection)
{
    CString strIni = CQXProfileStore::GetIniPath();
    if (!strIni.IsEmpty()) {
        CQXPPropExchangeIniFile* pIni = new CQXPPropExchangeIniFile(bLoading, NULL, lpszSection);
        pIni->AssignFile(strIni);
        return pIni;
    }
    PropExchangeSectionPtr profile;
    CQXPPropExchange* pPX = profile.OpenProfile(bLoading, lpszSection);
    if (pPX)
        pPX->InternalAddRef();
    return pPX;
}

}  // namespace

void CQXPCommandBars::SaveOptions(LPCSTR lpszProfileName)
{
    CString strSection;
    strSection.Format("%s-Options", lpszProfileName);
    PropExchangeSectionPtr px(OpenOptionsExchange(FALSE, strSection));
    CQXPPropExchange* pPX = px.get();
    if (!pPX)
        return;
    pPX->ClearSection();
    DoOptionsExchange(pPX, FALSE);
}

void CQXPCommandBars::LoadOptions(LPCSTR lpszProfileName)
{
    CString strSection;
    strSection.Format("%s-Options", lpszProfileName);
    PropExchangeSectionPtr px(OpenOptionsExchange(TRUE, strSection));
    CQXPPropExchange* pPX = px.get();
    if (!pPX)
        return;
    BOOL bLarge = m_bLargeIcons;
    DoOptionsExchange(pPX, FALSE);
    if (bLarge != m_bLargeIcons)
        RedrawCommandBars();
}

BOOL CQXPCommandBars::PreTranslateFrameMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || m_pShortcutManager == NULL)
        return FALSE;
    return m_pShortcutManager->TranslateAccelerator(m_pFrame, pMsg);
}

void CQXPCommandBars::OnSetPreviewMode(BOOL bPreview)
{
    bPreview = bPreview ? TRUE : FALSE;
    if (m_pShortcutManager != NULL)
        m_pShortcutManager->OnSetPreviewMode(bPreview);
    if (bPreview == m_bPreviewMode)
        return;
    m_bPreviewMode = bPreview;
    std::vector<CQXPToolBar*> bars = m_arrBars;
    for (CQXPToolBar* pBar : bars)
        pBar->InternalAddRef();
    if (bPreview) {
        // Nothing may stay open or tracking over the preview.
        ClosePopups();
        HideKeyboardTips();
        for (CQXPToolBar* pBar : bars)
            pBar->SetTemporarilyHidden(TRUE);
        for (int i = 0; i < 4; i++) {
            HWND hDock = m_pDocks[i] ? m_pDocks[i]->GetSafeHwnd() : NULL;
            m_bDockBarShownBeforePreview[i] = hDock && (::GetWindowLongPtrA(hDock, GWL_STYLE) & WS_VISIBLE) != 0;
            if (m_bDockBarShownBeforePreview[i])
                ::ShowWindow(hDock, SW_HIDE);
        }
    } else {
        // The dock bars first, so that the bars come back into them.
        for (int i = 0; i < 4; i++) {
            HWND hDock = m_pDocks[i] ? m_pDocks[i]->GetSafeHwnd() : NULL;
            if (hDock && ::IsWindow(hDock) && m_bDockBarShownBeforePreview[i])
                ::ShowWindow(hDock, SW_SHOWNA);
            m_bDockBarShownBeforePreview[i] = FALSE;
        }
        for (CQXPToolBar* pBar : bars)
            pBar->SetTemporarilyHidden(FALSE);
    }
    for (CQXPToolBar* pBar : bars)
        pBar->InternalRelease();
    RecalcFrameLayout(FALSE);
}
