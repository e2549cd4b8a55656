// Popup bars: rarely used commands and the button that expands them.

#include <qx/commandbars.h>
#include <qx/keytips.h>
#include <qx/mousemanager.h>
#include <qx/popup.h>
#include <qx/barshadow.h>
#include <qx/sysutil.h>
#include <qx/soundthread.h>
#include <qx/toolbar.h>

#include <algorithm>
#include <functional>
#include <cstdlib>

// ===========================================================================
// CQXPControlExpandButton

CQXPControlExpandButton::CQXPControlExpandButton()
{
    m_controlType = qxpControlButton;
    m_dwFlags = qxpFlagSkipFocus | qxpFlagManualUpdate | qxpFlagNoMovable | qxpFlagShowPopupBarTip;
}

CSize CQXPControlExpandButton::GetSize(CDC* pDC)
{
    (void)pDC;
    CQXPThemePainter* pPaintManager = GetPaintManager();
    CSize sz(0, 0);
    pPaintManager->DrawSpecialControl(&sz, NULL, qxpExpandPopup, this, m_pParent, FALSE);
    return sz;
}

void CQXPControlExpandButton::Draw(CDC* pDC)
{
    CQXPThemePainter* pPaintManager = GetPaintManager();
    pPaintManager->DrawSpecialControl(NULL, pDC, qxpExpandPopup, this, m_pParent, TRUE);
}

void CQXPControlExpandButton::OnExecute()
{
    // The button may outlive a click on a menu that has closed meanwhile:
    // only a popup that still holds it and is still open expands.
    CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(m_pParent);
    if (!pPopup || !pPopup->IsTrackingMode() || !::IsWindow(pPopup->GetSafeHwnd()))
        return;
    pPopup->Expand();
}

// ===========================================================================
// Rarely used commands

BOOL CQXPPopupBar::IsExpandButton(const CQXPControl* pControl) const
{
    return pControl && pControl->IsTemporary() && dynamic_cast<const CQXPControlExpandButton*>(pControl) != NULL;
}

CQXPControl* CQXPPopupBar::GetExpandButton() const
{
    for (int i = m_pControls->GetCount() - 1; i >= 0; i--) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetParent() == this && IsExpandButton(pControl))
            return pControl;
    }
    return NULL;
}

int CQXPPopupBar::GetDefaultItem(BOOL bByPosition) const
{
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetParent() == this && pControl->IsVisible(0) && pControl->IsDefaultItem())
            return bByPosition ? i : pControl->GetID();
    }
    return -1;
}

void CQXPPopupBar::UpdateHiddenItems()
{
    m_bHasHiddenItems = FALSE;
    CQXPCommandBars* pBars = GetCommandBars();
    int nCount = m_pControls->GetCount();
    if (!pBars || pBars->GetOptions()->m_bAlwaysShowFullMenus) {
        for (int i = 0; i < nCount; i++)
            if (m_pControls->GetAt(i)->GetParent() == this)
                m_pControls->GetAt(i)->SetRarelyUsed(FALSE);
        m_bExpanded = TRUE;
        return;
    }
    BOOL bOrdinary = FALSE;
    for (int i = 0; i < nCount; i++) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetParent() != this)
            continue;
        BOOL bWouldShow = pControl->IsVisible(qxpHideScroll | qxpHideExpand);
        if (!IsExpandButton(pControl) && pBars->IsControlHidden(pControl)) {
            if (bWouldShow)
                pControl->SetRarelyUsed(TRUE);
        } else {
            pControl->SetRarelyUsed(FALSE);
            if (bWouldShow && !IsExpandButton(pControl))
                bOrdinary = TRUE;
        }
    }
    // A menu of nothing but rarely used commands shows them all.
    for (int i = 0; i < nCount; i++) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetParent() != this)
            continue;
        pControl->SetHideFlag(qxpHideExpand, FALSE);
        if (!m_bExpanded && bOrdinary && pControl->IsRarelyUsed() && pControl->IsVisible(qxpHideScroll)) {
            pControl->SetHideFlag(qxpHideExpand, TRUE);
            m_bHasHiddenItems = TRUE;
        }
    }
}

void CQXPPopupBar::Expand()
{
    if (m_bExpanded || !m_bHasHiddenItems)
        return;
    InternalAddRef();
    HideToolTips();
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::KillTimer(m_hWnd, QXP_TID_SHOWFULL);
    m_bAnimateExpand = TRUE;
    m_bExpanded = TRUE;
    SetPopuped(-1);
    SetSelected(-1, 0);
    OnRecalcLayout();
    m_bAnimateExpand = FALSE;
    ToolkitMouseManager::GetInstance()->SetMenusExpanded(TRUE, TRUE);
    InternalRelease();
}

int CQXPPopupBar::ProcessHookKeyDown(UINT nKey)
{
    // The gripper and tear-off loops read the keys themselves (Escape).
    if (m_bResizeTracking || m_bTearOffTracking)
        return 2;
    if (nKey == VK_DOWN && m_bHasHiddenItems && !m_bExpanded && !IsCustomizeMode() && m_nLockTracking <= 0) {
        BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0;
        int nNext = m_pControls->GetNext(m_nSelected, +1, TRUE, FALSE, TRUE);
        if (bCtrl || (m_nSelected != -1 && nNext != -1 && nNext <= m_nSelected)) {
            Expand();
            return 1;
        }
    }
    return CQXPCommandBar::ProcessHookKeyDown(nKey);
}

int CQXPPopupBar::ProcessSpecialKey(int nAction)
{
    BOOL bShortened = m_bHasHiddenItems && !m_bExpanded;
    if (!bShortened || nAction < 0 || (nAction > 1 && nAction < 6) || nAction > 7)
        return CQXPCommandBar::ProcessSpecialKey(nAction);
    // The commands hidden behind the expand button cannot be reached.
    int nDirection = (nAction == 0 || nAction == 6) ? +1 : -1;
    int nFrom = nAction <= 1 ? m_nSelected : -1;
    int nIndex = m_pControls->GetNext(nFrom, nDirection, TRUE, FALSE, TRUE);
    if (nIndex == -1)
        return nAction <= 1 ? 0 : 1;
    SetSelected(nIndex, nDirection > 0 ? 2 : 3);
    return 1;
}
