// ribbontabs.cpp - the ribbon's tab row: CQXPRibbonControlTab, a control
// of the bar that is also the tabs' tab manager, and the tab appearance
// that draws a ribbon tab through the ribbon theme.
#include <qx/commandbars.h>
#include <qx/office2007.h>
#include <qx/ribbonbar.h>
#include <qx/ribbonpopups.h>
#include <qx/sysutil.h>
#include <qx/tabpaint.h>

#include <algorithm>

// ---------------------------------------------------------------------------
// CRibbonTabAppearance

CRibbonTabAppearance::CRibbonTabAppearance(CRibbonStyleTheme* pTheme) : CTabAppearancePainter(10), m_pTheme(pTheme) {}

RECT CRibbonTabAppearance::GetHeaderMargin() const
{
    // One pixel above the tabs: the header is the tab row's height + 1.
    RECT rc = {0, 1, 0, 0};
    return rc;
}

void CRibbonTabAppearance::DrawSingleButton(HDC hDC, CQXPTabManager* pManager, CQXPTabManagerItem* pItem)
{
    const CQXPRibbonTab* pTab = dynamic_cast<const CQXPRibbonTab*>(pItem);
    const CRect rc(pItem->GetRect());
    const BOOL bSelected = pItem == pManager->GetSelectedItem();
    const BOOL bHot = pItem == pManager->GetHighlighted() || pItem == pManager->GetPressed();
    m_pTheme->DrawRibbonTabFace(CDC::FromHandle(hDC), CRect(rc.left, rc.top, rc.right - 1, rc.bottom - 1),
                                pTab ? pTab->m_nContextColor : 0, bSelected, bHot, pManager->IsFocused());
}

// ---------------------------------------------------------------------------
// CQXPRibbonControlTab

IMPLEMENT_DYNCREATE(CQXPRibbonControlTab, CQXPControlPopup)

CQXPRibbonControlTab::CQXPRibbonControlTab()
{
    m_controlType = qxpControlPopup;
    m_dwFlags = qxpFlagManualUpdate | qxpFlagNoMovable;
    // The bar draws the row and hands it its presses itself.
    m_dwHideFlags = qxpHideGeneric;
    m_bShadow = FALSE;
    SetAllowReorder(FALSE);
    // A popup control opens only with a bar in place; each opening replaces
    // this empty one with the tab's popup.
    CQXPPopupToolBar* pBar = CQXPPopupToolBar::CreatePopupToolBar(NULL);
    SetCommandBar(pBar);
    pBar->InternalRelease();
}

CQXPRibbonBar* CQXPRibbonControlTab::GetRibbonBar() const { return dynamic_cast<CQXPRibbonBar*>(GetParent()); }

void CQXPRibbonControlTab::Copy(CQXPControl* pControl, BOOL bRecursive)
{
    CQXPControl::Copy(pControl, bRecursive);
    CQXPRibbonControlTab* pOther = dynamic_cast<CQXPRibbonControlTab*>(pControl);
    if (!pOther || pOther == this)
        return;
    DeleteAllItems();
    for (int i = 0; i < pOther->GetItemCount(); i++) {
        CQXPRibbonTab* pSource = pOther->GetTab(i);
        CQXPRibbonTab* pTab = QxpCreateObjectAs<CQXPRibbonTab>(pSource->GetRuntimeClass());
        if (!pTab)
            continue;
        pTab->m_pRibbonBar = GetRibbonBar();
        AddItem(i, pTab); // takes the creation's reference
        pTab->Copy(pSource);
    }
}

CQXPTabPainter* CQXPRibbonControlTab::GetPaintManager() const
{
    CQXPRibbonBar* pBar = GetRibbonBar();
    CRibbonStyleTheme* pTheme = pBar ? pBar->GetRibbonTheme() : NULL;
    return pTheme ? pTheme->GetRibbonTabPainter() : NULL;
}

void CQXPRibbonControlTab::RedrawControl(LPCRECT lpRect, BOOL bAnimate)
{
    (void)bAnimate;
    CQXPRibbonBar* pBar = GetRibbonBar();
    if (pBar && ::IsWindow(pBar->GetSafeHwnd()))
        pBar->InvalidateRect(lpRect ? lpRect : &this->CQXPTabManager::m_rcControl, FALSE);
}

void CQXPRibbonControlTab::OnPropertyChanged()
{
    CQXPRibbonBar* pBar = GetRibbonBar();
    if (m_bInLayout || !pBar || !::IsWindow(pBar->GetSafeHwnd()))
        return;
    pBar->OnRecalcLayout();
    pBar->Invalidate(FALSE);
}

CString CQXPRibbonControlTab::GetItemCaption(const CQXPTabManagerItem* pItem) const
{
    return QxpStripMnemonics(pItem->m_strCaption);
}

CString CQXPRibbonControlTab::GetItemTooltip(const CQXPTabManagerItem* pItem) const
{
    return pItem->m_strToolTip.IsEmpty() ? GetItemCaption(pItem) : pItem->m_strToolTip;
}

void CQXPRibbonControlTab::LayoutTabs(CDC* pDC, const CRect& rc)
{
    m_bInLayout = TRUE;
    SetRect(rc);
    if (rc.IsRectEmpty()) {
        // No tab row: no tab can be hit or drawn.
        for (CQXPTabManagerItem* p : m_arrItems)
            p->SetRect(CRect());
        ::SetRectEmpty(&this->CQXPTabManager::m_rcControl);
        ::SetRectEmpty(&m_rcHeaderRect);
        for (CQXPTabManagerNavigateButton* b : m_arrNavigateButtons)
            ::SetRectEmpty(&b->m_rc);
    } else {
        CQXPTabManager::Reposition(pDC->GetSafeHdc(), rc);
    }
    m_bInLayout = FALSE;
}

void CQXPRibbonControlTab::SetSelectedItem(CQXPTabManagerItem* pItem)
{
    CQXPRibbonBar* pBar = GetRibbonBar();
    if (!pBar || !::IsWindow(pBar->GetSafeHwnd())) {
        CQXPTabManager::SetSelectedItem(pItem);
        if (pBar)
            pBar->UpdateGroupsVisibility();
        return;
    }
    if (pItem == GetSelectedItem())
        return;
    pBar->InternalAddRef();
    CWnd* pSite = pBar->GetOwnerSite();
    NMHDR nm = {pBar->GetSafeHwnd(), QXP_ID_RIBBON_TABS, (UINT)TCN_SELCHANGING};
    if (pSite && pSite->SendMessage(WM_NOTIFY, QXP_ID_RIBBON_TABS, (LPARAM)&nm) != 0) {
        pBar->InternalRelease(); // refused by the site
        return;
    }
    // Popups close, unless the keyboard steps through the tabs (the ribbon
    // tracks on).
    CQXPCommandBars* pCommandBars = pBar->GetCommandBars();
    if (pCommandBars && !m_bKeyboardFocus)
        pCommandBars->ClosePopups();
    CQXPTabManager::SetSelectedItem(pItem);
    pBar->UpdateGroupsVisibility();
    pBar->OnRecalcLayout();
    pBar->Invalidate();
    nm.code = (UINT)TCN_SELCHANGE;
    if (pSite)
        pSite->SendMessage(WM_NOTIFY, QXP_ID_RIBBON_TABS, (LPARAM)&nm);
    // Accessibility clients follow the tab: the window answers the tab
    // list for this control's id, whose children are the tabs.
    const int nIndex = GetCurSel();
    if (nIndex >= 0 && ::IsWindow(pBar->GetSafeHwnd()))
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, pBar->GetSafeHwnd(), QXP_ID_RIBBON_TABS, nIndex + 1);
    pBar->InternalRelease();
}

void CQXPRibbonControlTab::Draw(CDC* pDC)
{
    CQXPTabPainter* pPaint = GetPaintManager();
    const RECT& rcStrip = CQXPTabManager::m_rcControl;
    if (pPaint && !::IsRectEmpty(&rcStrip))
        pPaint->DrawTabStrip(this, pDC->GetSafeHdc(), rcStrip);
}

void CQXPRibbonControlTab::AdjustExcludeRect(CRect& rcExclude)
{
    CQXPRibbonBar* pRibbon = GetRibbonBar();
    if (!pRibbon || !::IsWindow(pRibbon->GetSafeHwnd()))
        return;
    CRect rcRibbon;
    pRibbon->GetWindowRect(&rcRibbon);
    const CRect rcWork = QxpGetPopupWorkArea(GetMultiMonitorHelper(), rcExclude.TopLeft(), rcExclude);
    rcExclude.left = std::max(rcRibbon.left, rcWork.left);
}

BOOL CQXPRibbonControlTab::OnSetPopup(BOOL bPopup)
{
    CQXPRibbonBar* pRibbon = GetRibbonBar();
    if (bPopup && !m_bPopup) {
        CQXPRibbonTab* pTab = pRibbon ? pRibbon->GetSelectedTab() : NULL;
        if (!pTab || !pRibbon->IsRibbonMinimized())
            return FALSE;
        CQXPRibbonTabPopupToolBar* pPopup = new CQXPRibbonTabPopupToolBar(pRibbon, pTab);
        pPopup->SetCommandBars(pRibbon->GetCommandBars());
        if (!pRibbon->GetCommandBars())
            pPopup->SetOwnerSite(pRibbon->GetOwnerSite());
        SetCommandBar(pPopup);
        pPopup->InternalRelease();
    }
    const BOOL bResult = CQXPControlPopup::OnSetPopup(bPopup);
    if (!bPopup && bResult && pRibbon && pRibbon->IsRibbonMinimized())
        pRibbon->OnTabPopupClosed();
    return bResult;
}

void CQXPRibbonControlTab::SetKeyboardFocus(BOOL bFocus)
{
    bFocus = bFocus ? TRUE : FALSE;
    if (bFocus && !GetSelectedItem())
        SetSelectedItem(FindNextFocusable(-1, +1));
    if (bFocus == m_bKeyboardFocus)
        return;
    m_bKeyboardFocus = bFocus;
    RedrawControl(NULL, FALSE);
}

BOOL CQXPRibbonControlTab::OnHookKeyDown(UINT nKey)
{
    CQXPRibbonBar* pBar = GetRibbonBar();
    if (!m_bKeyboardFocus || !pBar || nKey < VK_LEFT || nKey > VK_DOWN)
        return FALSE;
    if (CQXPCommandBars* pCommandBars = pBar->GetCommandBars())
        pCommandBars->HideKeyboardTips();
    HWND hWnd = pBar->GetSafeHwnd();
    if (nKey == VK_LEFT || nKey == VK_RIGHT) {
        // The tab manager's step (it swaps the keys right to left).
        CQXPTabManager::OnKeyDown(hWnd, nKey);
        return TRUE;
    }
    SetKeyboardFocus(FALSE);
    CQXPControls* pControls = pBar->GetControls();
    int nSelect = -1;
    if (nKey == VK_UP) {
        nSelect = pControls->GetNext(-1, +1);
    } else {
        // The first control of the groups the selected tab shows.
        CQXPRibbonTab* pTab = pBar->IsGroupsVisible() ? GetSelectedTab() : NULL;
        for (int i = 0; pTab && i < pTab->GetGroupCount() && nSelect < 0; i++) {
            CQXPRibbonGroup* pGroup = pTab->GetGroup(i);
            CQXPControl* pButton = pGroup->GetPopupButton();
            if (pGroup->IsCollapsed() && pButton && pButton->IsVisible(0))
                nSelect = pButton->GetIndex();
            for (int j = 0; j < pGroup->GetCount() && nSelect < 0; j++)
                if (pGroup->GetAt(j)->IsVisible(0) && !(pGroup->GetAt(j)->GetFlags() & qxpFlagSkipFocus))
                    nSelect = pGroup->GetAt(j)->GetIndex();
        }
    }
    if (nSelect >= 0)
        pBar->SetSelected(nSelect, nKey == VK_UP ? 3 : 2);
    return TRUE;
}
