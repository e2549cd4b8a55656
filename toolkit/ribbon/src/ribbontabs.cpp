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

int CRibbonTabAppearance::GetHeaderHeight(const CQXPTabManager* /*pManager*/) const
{
    return m_pTheme->m_metrics.nTabStripHeight - GetHeaderMargin().top;
}

namespace {

// The visible tab next to a tab in the row (nStep -1: before it), or NULL.
const CQXPRibbonTab* NeighbourTab(CQXPTabManager* pManager, const CQXPTabManagerItem* pItem, int nStep)
{
    for (int i = pItem->GetIndex() + nStep; i >= 0 && i < pManager->GetItemCount(); i += nStep) {
        const CQXPTabManagerItem* p = pManager->GetItem(i);
        if (p->IsVisible())
            return dynamic_cast<const CQXPRibbonTab*>(p);
    }
    return NULL;
}

// Both tabs belong to one run of contextual tabs (the same colour and
// caption), as the contextual headers group them.
BOOL SameContext(const CQXPRibbonTab* a, const CQXPRibbonTab* b)
{
    return a && b && a->m_nContextColor != 0 && a->m_nContextColor == b->m_nContextColor &&
           a->m_strContextCaption == b->m_strContextCaption;
}

} // namespace

void CRibbonTabAppearance::DrawSingleButton(HDC hDC, CQXPTabManager* pManager, CQXPTabManagerItem* pItem)
{
    const CQXPRibbonTab* pTab = dynamic_cast<const CQXPRibbonTab*>(pItem);
    const CRect rc(pItem->GetRect());
    const CQXPRibbonControlTab* pRow = dynamic_cast<const CQXPRibbonControlTab*>(pManager);
    QXPRibbonTabLook look;
    look.nContextColor = pTab ? pTab->m_nContextColor : 0;
    look.bSelected = pItem == pManager->GetSelectedItem();
    look.bHot = pItem == pManager->GetHighlighted() || (pRow && pItem == pRow->GetKeyboardTab() && !look.bSelected);
    look.bPressed = pItem == pManager->GetPressed();
    look.bFocused = pManager->IsFocused();
    // The width its caption asks for (the painter's measure and extra).
    look.bNarrow = pItem->m_nContentLength > 0 && rc.Width() < pItem->m_nContentLength;
    if (look.nContextColor) {
        look.bFirstOfContext = !SameContext(pTab, NeighbourTab(pManager, pItem, -1));
        look.bLastOfContext = !SameContext(pTab, NeighbourTab(pManager, pItem, +1));
    }
    m_pTheme->DrawRibbonTab(CDC::FromHandle(hDC), rc, look);
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
    CQXPRibbonBar* pBar = GetRibbonBar();
    if (pBar && ::IsWindow(pBar->GetSafeHwnd()))
        pBar->Redraw(lpRect ? lpRect : &this->CQXPTabManager::m_rcControl, bAnimate);
}

void CQXPRibbonControlTab::OnPropertyChanged()
{
    CQXPRibbonBar* pBar = GetRibbonBar();
    if (m_bInLayout || !pBar || !::IsWindow(pBar->GetSafeHwnd()))
        return;
    pBar->OnRecalcLayout();
    pBar->Redraw();
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
    // The tips of the groups shown so far go with them.
    CQXPCommandBars* pCommandBars = pBar->GetCommandBars();
    if (pCommandBars && pCommandBars->GetKeyboardTipsLevel() > 1)
        pCommandBars->HideKeyboardTips();
    CQXPRibbonTab* pTab = static_cast<CQXPRibbonTab*>(pItem);
    if (pBar->OnTabChanging(pTab)) {
        pBar->InternalRelease(); // refused by the site
        return;
    }
    // Popups close, unless the keyboard steps through the tabs (the ribbon
    // tracks on) or the ribbon is minimised (the new tab's popup takes the
    // open one's place).
    if (pCommandBars && !m_bKeyboardFocus && !pBar->IsRibbonMinimized())
        pCommandBars->ClosePopups();
    CQXPTabManager::SetSelectedItem(pItem);
    pBar->UpdateGroupsVisibility();
    pBar->OnRecalcLayout();
    pBar->Redraw();
    pBar->OnTabChanged(pTab);
    // A minimised ribbon shows the tab chosen in its popup, tracked from
    // the keyboard when the keyboard chose it.
    if (pTab && pBar->IsRibbonMinimized() && ::IsWindow(pBar->GetSafeHwnd()) && GetSelectedItem() == pTab) {
        if (pBar->GetPopupedIndex() == GetIndex())
            pBar->SetPopuped(-1); // the other tab's popup (its tab is no longer selected)
        pBar->SetPopuped(GetIndex());
    }
    NotifySite(100);
    NotifyTabFocus();
    pBar->InternalRelease();
}

void CQXPRibbonControlTab::NotifyTabFocus()
{
    // The window answers the tab list for this control's id, whose
    // children are the tabs.
    CQXPRibbonBar* pBar = GetRibbonBar();
    CQXPTabManagerItem* pTab = GetKeyboardTab();
    if (!pTab)
        pTab = GetSelectedItem();
    if (pBar && pTab && ::IsWindow(pBar->GetSafeHwnd()))
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, pBar->GetSafeHwnd(), QXP_ID_RIBBON_TABS, pTab->GetIndex() + 1);
}

BOOL CQXPRibbonControlTab::OnSetSelected(int bSelected)
{
    // Stored and the bar told as for any control; the popup opens and
    // closes only through the row's own keys and clicks.
    if (!CQXPControl::OnSetSelected(bSelected))
        return FALSE;
    if (bSelected == 2 || bSelected == 3)
        SetKeyboardFocus(TRUE);
    if (bSelected) {
        NotifyTabFocus();
    } else {
        m_pHighlighted = NULL;
        SetKeyboardFocus(FALSE);
    }
    return TRUE;
}

void CQXPRibbonControlTab::Draw(CDC* pDC)
{
    CQXPTabPainter* pPaint = GetPaintManager();
    const RECT& rcStrip = CQXPTabManager::m_rcControl;
    if (pPaint && !::IsRectEmpty(&rcStrip))
        pPaint->DrawTabStrip(this, pDC->GetSafeHdc(), rcStrip);
}

void CQXPRibbonControlTab::AdjustExcludeRect(CRect& rcExclude, BOOL bVertical)
{
    (void)bVertical;
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
    auto* pPopup = dynamic_cast<CQXPRibbonTabPopupToolBar*>(GetCommandBar());
    if (!bPopup && bResult && pRibbon && pPopup && pRibbon->IsRibbonMinimized())
        pRibbon->OnTabPopupClosed(pPopup->GetSourceTab());
    return bResult;
}

void CQXPRibbonControlTab::SelectFromPopup(int nHow)
{
    CQXPRibbonBar* pBar = GetRibbonBar();
    if (!pBar || !::IsWindow(pBar->GetSafeHwnd()))
        return;
    pBar->InternalAddRef();
    // Selected as the popup's opener: let go first, so that the keyboard's
    // selection reaches the row.
    if (pBar->GetSelected() == this)
        pBar->SetSelected(-1);
    if (pBar->GetPopupedIndex() == GetIndex())
        pBar->SetPopuped(-1);
    if (::IsWindow(pBar->GetSafeHwnd())) {
        if (!pBar->IsTrackingMode())
            pBar->SetTrackingMode(TRUE, FALSE, TRUE);
        pBar->SetSelected(GetIndex(), nHow);
    }
    pBar->InternalRelease();
}

void CQXPRibbonControlTab::SetKeyboardFocus(BOOL bFocus)
{
    bFocus = bFocus ? TRUE : FALSE;
    CQXPRibbonBar* pBar = GetRibbonBar();
    const BOOL bMinimized = pBar && pBar->IsRibbonMinimized();
    if (bFocus && bMinimized) {
        // Selecting a tab would open its popup: the keyboard lights one.
        CQXPTabManagerItem* pTab = m_nKeyboardTab >= 0 ? FindNextFocusable(m_nKeyboardTab, +1) : NULL;
        if (!pTab)
            pTab = FindNextFocusable(0, +1);
        m_nKeyboardTab = pTab ? pTab->GetIndex() : -1;
    } else if (bFocus && !GetSelectedItem()) {
        SetSelectedItem(FindNextFocusable(0, +1));
    }
    if (bFocus == m_bKeyboardFocus)
        return;
    m_bKeyboardFocus = bFocus;
    RedrawControl(NULL, FALSE);
}

CQXPRibbonTab* CQXPRibbonControlTab::GetKeyboardTab() const
{
    if (!m_bKeyboardFocus)
        return NULL;
    CQXPRibbonBar* pBar = GetRibbonBar();
    if (pBar && pBar->IsRibbonMinimized())
        return m_nKeyboardTab >= 0 && m_nKeyboardTab < GetItemCount() ? GetTab(m_nKeyboardTab) : NULL;
    return GetSelectedTab();
}

void CQXPRibbonControlTab::SetKeyboardTab(CQXPTabManagerItem* pTab)
{
    m_nKeyboardTab = pTab->GetIndex();
    EnsureVisible(pTab);
    RedrawControl(NULL, FALSE);
    NotifyTabFocus();
}

int CQXPRibbonControlTab::OnHookKeyDown(UINT nKey, LPARAM lKeyData)
{
    (void)lKeyData;
    CQXPRibbonBar* pBar = GetRibbonBar();
    const BOOL bMinimized = pBar && pBar->IsRibbonMinimized();
    const BOOL bOpenKey = bMinimized && (nKey == VK_RETURN || nKey == VK_SPACE);
    if (!m_bKeyboardFocus || !pBar || ((nKey < VK_LEFT || nKey > VK_DOWN) && !bOpenKey))
        return 0;
    if (CQXPCommandBars* pCommandBars = pBar->GetCommandBars())
        pCommandBars->HideKeyboardTips();
    HWND hWnd = pBar->GetSafeHwnd();
    UINT nArrow = nKey;
    if (pBar->IsLayoutRTL() && (nKey == VK_LEFT || nKey == VK_RIGHT))
        nArrow = nKey == VK_LEFT ? VK_RIGHT : VK_LEFT;
    if (nArrow == VK_LEFT || nArrow == VK_RIGHT) {
        const int nStep = nArrow == VK_RIGHT ? +1 : -1;
        CQXPRibbonTab* pFrom = GetKeyboardTab();
        CQXPTabManagerItem* pTo = pFrom ? FindNextFocusable(pFrom->GetIndex() + nStep, nStep) : NULL;
        if (!pTo)
            return 0; // the bar steps on to the control beside the row
        if (bMinimized)
            SetKeyboardTab(pTo);
        else
            CQXPTabManager::OnKeyDown(hWnd, nKey); // the tab manager's own step
        return 1;
    }
    if (bMinimized && nKey != VK_UP) {
        // The lit tab opens from the keyboard, its first control selected.
        CQXPRibbonTab* pTab = GetKeyboardTab();
        if (pTab)
            pBar->OpenTabPopupFromKeyboard(pTab->GetIndex());
        return 1;
    }
    const int nSelect =
        nKey == VK_UP ? pBar->GetControls()->GetNext(-1, +1) : pBar->GetNextKeyboardStop(GetIndex(), +1);
    if (nSelect >= 0 && nSelect != GetIndex())
        pBar->SetSelected(nSelect, nKey == VK_UP ? 3 : 2);
    return 1;
}
