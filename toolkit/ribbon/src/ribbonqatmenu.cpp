// ribbonqatmenu.cpp - the quick-access toolbar's menus: the customise
// button's menu (the QAT's default commands to tick on and off, its place,
// minimising) and the context menu of a ribbon control (add to or remove
// from the QAT); their commands, and the right mouse button on the ribbon.
#include <qx/commandbars.h>
#include <qx/listcontrols.h>
#include <qx/office2007.h>
#include <qx/resourcemgr.h>
#include <qx/ribbonpopups.h>
#include <qxresource.h>

using namespace qxribbon;

namespace {

// An item of the customise menu standing for one of the QAT's default
// commands: checked while an equal command is on the QAT; choosing it
// adds one or takes it away.
class CRibbonQuickAccessCommand : public CQXPControlButton {
public:
    CRibbonQuickAccessCommand(CQXPRibbonBar* pRibbon, CQXPControl* pCommand) : m_pRibbon(pRibbon), m_pCommand(pCommand)
    {
        m_dwFlags |= qxpFlagManualUpdate;
        SetCaption(pCommand->GetCaption());
    }
    void OnExecute() override
    {
        CQXPRibbonBar* pRibbon = m_pRibbon;
        CQXPControl* pCommand = m_pCommand;
        pCommand->InternalAddRef();
        pRibbon->InternalAddRef();
        if (CQXPCommandBars* pBars = pRibbon->GetCommandBars())
            pBars->ClosePopups();
        if (CQXPControl* pCopy = pRibbon->GetQuickAccessControls()->FindEqual(pCommand))
            pRibbon->RemoveQuickAccessControl(pCopy);
        else if (CQXPControl* pAdded = pRibbon->AddQuickAccessCopy(pCommand))
            pAdded->SetHideFlag(qxpHideCustomize, FALSE);
        pRibbon->InternalRelease();
        pCommand->InternalRelease();
    }

private:
    CQXPRibbonBar* m_pRibbon; // the ribbon outlives its menus
    CQXPControl* m_pCommand;  // one of the ribbon's default commands
};

// An item of the two menus: its command acts on the ribbon that made the
// menu (the menu closes first, as for any command).
class CRibbonQuickAccessMenuItem : public CQXPControlButton {
public:
    explicit CRibbonQuickAccessMenuItem(CQXPRibbonBar* pRibbon) : m_pRibbon(pRibbon)
    {
        m_dwFlags |= qxpFlagManualUpdate;
    }
    void OnExecute() override
    {
        CQXPRibbonBar* pRibbon = m_pRibbon;
        pRibbon->InternalAddRef();
        InternalAddRef();
        CQXPCommandBar* pRoot = m_pParent ? m_pParent->GetRootParent() : NULL;
        if (pRoot && pRoot->m_bRecursePopup)
            pRoot->SetTrackingMode(FALSE);
        else if (CQXPCommandBars* pBars = pRibbon->GetCommandBars())
            pBars->ClosePopups();
        else if (pRoot)
            pRoot->SetTrackingMode(FALSE);
        pRibbon->ExecuteQuickAccessCommand(GetID(), this);
        InternalRelease();
        pRibbon->InternalRelease();
    }

private:
    CQXPRibbonBar* m_pRibbon; // the ribbon outlives its menus
};

} // namespace

BOOL CQXPRibbonBar::IsAllowQuickAccessControl(CQXPControl* pControl) const
{
    if (!pControl)
        return FALSE;
    if (!m_bAllowQuickAccessDuplicates && m_pQuickAccessControls->FindEqual(pControl))
        return FALSE;
    if (dynamic_cast<CQXPRibbonGroupControlPopup*>(pControl))
        return pControl->GetID() > 0;
    return (pControl->GetFlags() & qxpFlagNoMovable) == 0;
}

CQXPControl* CQXPRibbonBar::AddQuickAccessCopy(CQXPControl* pControl)
{
    if (!IsAllowQuickAccessControl(pControl))
        return NULL;
    const int nType = pControl->GetType();
    CQXPControl* pCopy = m_pQuickAccessControls->AddCopy(pControl);
    if (!pCopy)
        return NULL;
    pCopy->SetBeginGroup(FALSE);
    pCopy->SetHideFlag(qxpHideGeneric | qxpHideWrap | QXP_HIDE_RIBBON_TAB, FALSE);
    pCopy->m_buttonRibbonStyle = kRibbonStyleNone;
    pCopy->SetStyle(nType == qxpControlGallery || nType == qxpControlPopup ? kRibbonStyleIcon : kRibbonStyleNone);
    OnRecalcLayout();
    Redraw();
    return pCopy;
}

void CQXPRibbonBar::SetQuickAccessDefaults()
{
    if (m_pQatDefaults)
        m_pQatDefaults->InternalRelease();
    m_pQatDefaults = new CQXPOriginalControls;
    for (int i = 0; i < m_pQuickAccessControls->GetCount(); i++)
        m_pQatDefaults->AddCopy(m_pQuickAccessControls->GetAt(i));
}

CQXPPopupBar* CQXPRibbonBar::CreateQuickAccessPopup(CQXPControl* pControl)
{
    if (!m_bQuickAccessVisible) {
        // Without a QAT the ribbon offers the bars' ordinary menu.
        CQXPPopupBar* pPopup = m_pCommandBars ? m_pCommandBars->CreateToolbarsPopup() : NULL;
        if (pPopup)
            if (CWnd* pSite = GetOwnerSite())
                pSite->SendMessage(WM_QXP_TOOLBARCONTEXTMENU, (WPARAM)this, (LPARAM)pPopup);
        return pPopup;
    }
    // A gallery on a popup stands for the control that opened the popup.
    if (pControl && pControl->GetType() == qxpControlGallery && pControl->GetParent() &&
        pControl->GetParent()->IsPopupBar()) {
        if (CQXPPopupBar* pParent = dynamic_cast<CQXPPopupBar*>(pControl->GetParent()))
            if (pParent->m_pControlPopup)
                pControl = pParent->m_pControlPopup;
    }
    const BOOL bCustomizeMenu = pControl == m_pQatCustomize ||
                                (pControl && pControl->GetID() == QXP_ID_RIBBON_QAT_CUSTOMIZE &&
                                 dynamic_cast<CQXPRibbonBarControlQuickAccessPopup*>(pControl));
    CMenu menu;
    if (!ToolkitResourceManager::Instance()->LoadMenu(
            &menu, bCustomizeMenu ? QX_IDR_RIBBON_QAT_CUSTOMIZE : QX_IDR_RIBBON_QAT_CONTEXT))
        return NULL;
    CMenu* pSubMenu = menu.GetSubMenu(0);
    if (!pSubMenu) {
        menu.DestroyMenu();
        return NULL;
    }
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(m_pCommandBars);
    CQXPControls* pItems = pPopup->GetControls();
    BOOL bGroup = FALSE;
    for (int i = 0; i < pSubMenu->GetMenuItemCount(); i++) {
        const UINT nId = pSubMenu->GetMenuItemID(i);
        if (nId == 0) {
            bGroup = TRUE;
            continue;
        }
        CString strText;
        pSubMenu->GetMenuString(i, strText, MF_BYPOSITION);
        CQXPControl* pItem = pItems->AddControl(new CRibbonQuickAccessMenuItem(this), (int)nId);
        pItem->SetCaption(strText);
        pItem->SetBeginGroup(bGroup);
        bGroup = FALSE;
    }
    menu.DestroyMenu();

    // The control the add and remove items act on.
    if (m_pMenuTarget)
        m_pMenuTarget->InternalRelease();
    m_pMenuTarget = pControl;
    if (m_pMenuTarget)
        m_pMenuTarget->InternalAddRef();

    QuickAccessMenuState st;
    st.bInQat = IsQuickAccessControl(pControl);
    st.bAllowed = IsAllowQuickAccessControl(pControl);
    st.bLocked = !pControl || (pControl->GetFlags() & qxpFlagNoMovable) || CQXPRibbonControls::IsRunTimeOnly(pControl);
    st.bCustomizable = m_bQuickAccessCustomizable;
    st.bQatVisible = m_bQuickAccessVisible;
    st.bQatBelow = m_bQuickAccessBelow;
    st.bAllowMinimize = m_bAllowMinimize;
    st.bMinimized = m_bMinimized;
    st.bHasDefaultList = m_pQatDefaults != NULL;
    for (int i = 0; i < pItems->GetCount(); i++) {
        CQXPControl* pItem = pItems->GetAt(i);
        if (pItem->GetID() == 0)
            continue;
        const QuickAccessMenuItem rule = QuickAccessMenuRule(pItem->GetID(), st);
        pItem->SetID(rule.nId);
        pItem->SetFlags(pItem->GetFlags() | qxpFlagManualUpdate);
        pItem->SetHideFlag(qxpHideGeneric, !rule.bVisible);
        pItem->SetEnabled(rule.bEnabled);
        pItem->SetChecked(rule.bChecked ? 1 : 0);
        if (rule.bCustomizeCaption)
            pItem->SetCaption(ToolkitResourceManager::Instance()->LoadString(QX_IDS_CUSTOMIZE));
        if (rule.bTargetsControl)
            pItem->m_nTag = (DWORD_PTR)pControl;
        if (rule.bHeading) {
            pItem->SetDefaultItem(TRUE);
            pItem->SetEnabled(FALSE);
        }
        if (rule.nId == QX_ID_RIBBON_QAT_COMMANDS && m_bQuickAccessCustomizable && m_pQatDefaults) {
            // The items go in after it and keep the states given here.
            const int nAt = i;
            i += m_pQatDefaults->GetCount();
            for (int k = 0; k < m_pQatDefaults->GetCount(); k++) {
                CQXPControl* pCommand =
                    pItems->AddControl(new CRibbonQuickAccessCommand(this, m_pQatDefaults->GetAt(k)),
                                       m_pQatDefaults->GetAt(k)->GetID(), CString(), nAt + 1 + k, TRUE);
                pCommand->SetFlags(pCommand->GetFlags() | qxpFlagManualUpdate);
                pCommand->SetChecked(m_pQuickAccessControls->FindEqual(m_pQatDefaults->GetAt(k)) ? 1 : 0);
            }
        }
    }
    // The bars' list, to show or hide them.
    if (m_pCommandBars) {
        const int nAt = bCustomizeMenu ? 0 : 2;
        if (CQXPControl* pList = pItems->Add(qxpControlButton, QXP_ID_TOOLBARSLIST, CString(), nAt, TRUE))
            pList->SetBeginGroup(TRUE);
    }
    if (CWnd* pSite = GetOwnerSite())
        pSite->SendMessage(WM_QXP_TOOLBARCONTEXTMENU, (WPARAM)this, (LPARAM)pPopup);
    return pPopup;
}

void CQXPRibbonBar::ShowContextMenu(CPoint point, CQXPControl* pControl)
{
    CQXPCommandBar* pBar = pControl && pControl->GetParent() ? pControl->GetParent() : this;
    if (!::IsWindow(pBar->GetSafeHwnd()))
        return;
    pBar->ClientToScreen(&point);
    CQXPPopupBar* pPopup = CreateQuickAccessPopup(pControl);
    if (!pPopup)
        return;
    pPopup->CalcDynamicLayout(0, 0);
    if (pPopup->GetControls()->GetVisibleCount() > 0) {
        const UINT nFlags = TPM_RIGHTBUTTON | (pBar != this ? TPM_RECURSE : 0);
        CWnd* pOwner = m_bQuickAccessVisible ? (CWnd*)this : GetOwnerSite();
        CQXPCommandBars::TrackPopupMenu(pPopup, nFlags, point.x, point.y, pOwner);
    }
    if (::IsWindow(pPopup->GetSafeHwnd()))
        pPopup->DestroyWindow();
    pPopup->InternalRelease();
}

BOOL CQXPRibbonBar::ExecuteQuickAccessCommand(int nId, CQXPControl* pItem)
{
    // The control the menu was made for, if it is still the one.
    CQXPControl* pTarget = pItem ? (CQXPControl*)pItem->m_nTag : NULL;
    if (pTarget != m_pMenuTarget)
        pTarget = NULL;
    switch (nId) {
    case QX_ID_RIBBON_QAT_REMOVE:
        if (pTarget && IsQuickAccessControl(pTarget))
            RemoveQuickAccessControl(pTarget);
        return 1;
    case QX_ID_RIBBON_QAT_ADD:
        if (m_pCommandBars)
            m_pCommandBars->ClosePopups();
        if (pTarget)
            AddQuickAccessCopy(pTarget);
        return 1;
    case QX_ID_RIBBON_QAT_CUSTOMIZE: {
        // The site may take it as a special command (handed the chosen menu
        // item itself), else as a command.
        if (m_pCommandBars)
            m_pCommandBars->ClosePopups();
        CWnd* pSite = GetOwnerSite();
        if (pSite && !pSite->SendMessage(WM_COMMANDBARS_SPECIALCOMMAND, (WPARAM)nId, (LPARAM)pItem))
            pSite->SendMessage(WM_COMMAND, (WPARAM)nId, 0);
        return 1;
    }
    case QX_ID_RIBBON_MINIMIZE:
        SetRibbonMinimized(!m_bMinimized);
        return 1;
    case QX_ID_RIBBON_QAT_BELOW:
    case QX_ID_RIBBON_QAT_ABOVE:
        if (m_pCommandBars)
            m_pCommandBars->ClosePopups();
        SetQuickAccessBelow(nId == QX_ID_RIBBON_QAT_BELOW);
        return 1;
    default:
        return 0;
    }
}

LRESULT CQXPRibbonBar::OnSpecialCommand(WPARAM wParam, LPARAM lParam)
{
    return ExecuteQuickAccessCommand((int)wParam, (CQXPControl*)lParam);
}

void CQXPRibbonBar::OnQuickAccessPlace(UINT nId)
{
    if (m_pCommandBars)
        m_pCommandBars->ClosePopups();
    SetQuickAccessBelow(nId == QX_ID_RIBBON_QAT_BELOW);
}

void CQXPRibbonBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (IsCustomizeMode()) {
        CQXPMenuBar::OnRButtonDown(nFlags, point);
        return;
    }
    if (m_bTracking)
        SetTrackingMode(FALSE);
    if (CQXPControl* pControl = m_pControls->HitTest(point))
        pControl->OnRButtonDown(point);
}

void CQXPRibbonBar::OnRButtonUp(UINT nFlags, CPoint point)
{
    (void)nFlags;
    if (HitTestCaption(point) == HTCAPTION) {
        // The frame's window menu, as on its own caption.
        if (m_pCommandBars)
            m_pCommandBars->ClosePopups();
        UpdateWindow();
        CWnd* pSite = GetOwnerSite();
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        if (pSite && ::IsWindow(pSite->GetSafeHwnd()))
            pSite->SendMessage(QXP_WM_POPUPSYSTEMMENU, 0, MAKELPARAM(ptScreen.x, ptScreen.y));
        return;
    }
    if (IsCustomizeMode())
        return;
    InternalAddRef();
    CQXPControl* pControl = m_pControls->HitTest(point);
    if (pControl) {
        pControl->InternalAddRef();
        // The site first, then the control itself; else its context menu.
        CWnd* pSite = GetOwnerSite();
        BOOL bDone = pSite && ::IsWindow(pSite->GetSafeHwnd()) &&
                     pSite->SendMessage(WM_QXP_CONTROLRBUTTONUP, (WPARAM)&point, (LPARAM)pControl) == 1;
        if (!bDone && ::IsWindow(m_hWnd))
            bDone = pControl->OnRButtonUp(point);
        if (!bDone && ::IsWindow(m_hWnd))
            ShowContextMenu(point, pControl);
        pControl->InternalRelease();
    } else {
        // The caption band of a group stands for the group; the QAT band
        // for the tab row (nothing to add or remove).
        CQXPRibbonGroup* pGroup = m_groupScroller.HitTestGroup(point);
        const int K = GetRibbonTheme()->m_metrics.nGroupCaption;
        if (pGroup && point.y >= pGroup->m_rcGroup.bottom - K) {
            pGroup->EnsurePopupButton();
            if (pGroup->m_pPopupButton)
                ShowContextMenu(point, pGroup->m_pPopupButton);
        } else if (m_rcQuickAccess.PtInRect(point) || m_rcTabRow.PtInRect(point)) {
            ShowContextMenu(point, m_pTabControl);
        }
    }
    InternalRelease();
}

void CQXPRibbonBar::OnPopupRButtonUp(CQXPCommandBar* pPopup, CPoint point)
{
    if (!m_bQuickAccessVisible || !pPopup)
        return;
    // Not inside the QAT's own menus.
    CQXPPopupBar* pPopupBar = dynamic_cast<CQXPPopupBar*>(pPopup);
    if (pPopupBar && (pPopupBar->m_pControlPopup == m_pQatCustomize || pPopupBar->m_pControlPopup == m_pQatMore))
        return;
    if (pPopupBar && pPopupBar->GetOwnerSite() == this)
        return;
    if (CQXPControl* pControl = pPopup->GetControls()->HitTest(point)) {
        ShowContextMenu(point, pControl);
        return;
    }
    // The caption band of a group copy stands for the ribbon's own group
    // (the copy goes with the popup): its button's menu, at the same place.
    auto* pGroups = dynamic_cast<CQXPRibbonGroupsPopupToolBar*>(pPopup);
    CQXPRibbonGroup* pCopy = pGroups ? pGroups->GetGroupScroller()->HitTestGroup(point) : NULL;
    const int K = GetRibbonTheme()->m_metrics.nGroupCaption;
    CQXPRibbonGroup* pGroup = pCopy && point.y >= pCopy->GetRect().bottom - K ? pGroups->GetSourceOf(pCopy) : NULL;
    if (!pGroup || !::IsWindow(m_hWnd))
        return;
    pGroup->EnsurePopupButton();
    if (!pGroup->m_pPopupButton)
        return;
    pPopup->ClientToScreen(&point);
    ScreenToClient(&point);
    ShowContextMenu(point, pGroup->m_pPopupButton);
}

// --- the context menu from the keyboard ----------------------------------------------

BOOL CQXPRibbonBar::ShowSelectedControlMenu()
{
    CQXPControl* pControl = GetSelected();
    if (!pControl || IsCustomizeMode() || !::IsWindow(m_hWnd))
        return FALSE;
    ShowContextMenu(pControl->GetRect().TopLeft(), pControl);
    return TRUE;
}

int CQXPRibbonBar::ProcessHookKeyDown(UINT nKey)
{
    // The key comes through the keyboard hook: the menu (a loop of its own)
    // opens from the ribbon's queue instead.
    const BOOL bShift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if ((nKey == VK_APPS || (nKey == VK_F10 && bShift)) && GetSelected() && !IsCustomizeMode()) {
        ::PostMessageA(m_hWnd, WM_TIMER, kContextMenuTimer, 0);
        return 1;
    }
    return CQXPMenuBar::ProcessHookKeyDown(nKey);
}

void CQXPRibbonBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kContextMenuTimer) {
        ShowSelectedControlMenu();
        return;
    }
    CQXPMenuBar::OnTimer(nIDEvent);
}

int CQXPRibbonBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (nMessage == WM_CONTEXTMENU && hWnd == m_hWndHookedFrame) {
        const BOOL bKeyboard = lParam == (LPARAM)-1;
        if ((bKeyboard && ShowSelectedControlMenu()) || (!bKeyboard && m_hWnd && (HWND)wParam == m_hWnd)) {
            lResult = 0;
            return CWindowHook::kHandled;
        }
    }
    return CQXPMenuBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
}
