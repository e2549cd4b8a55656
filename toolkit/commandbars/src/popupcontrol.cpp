// The popup control: a button that opens a popup bar.

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
// CQXPControlPopup

IMPLEMENT_DYNCREATE(CQXPControlPopup, CQXPControlButton)

CQXPControlPopup::CQXPControlPopup() : m_pCommandBar(NULL), m_bPopup(FALSE)
{
    m_controlType = qxpControlPopup;
}

CQXPControlPopup::~CQXPControlPopup()
{
    SetCommandBar((CQXPCommandBar*)NULL);
}

void CQXPControlPopup::SetCommandBar(CQXPCommandBar* pBar)
{
    if (pBar == m_pCommandBar)
        return;
    if (pBar)
        pBar->InternalAddRef();
    if (m_pCommandBar) {
        if (CQXPPopupBar* pOld = dynamic_cast<CQXPPopupBar*>(m_pCommandBar))
            if (pOld->m_pControlPopup == this)
                pOld->m_pControlPopup = NULL;
        m_pCommandBar->InternalRelease();
    }
    m_pCommandBar = pBar;
    if (CQXPPopupBar* pPopupBar = dynamic_cast<CQXPPopupBar*>(pBar))
        pPopupBar->m_pControlPopup = this;
}

void CQXPControlPopup::SetCommandBar(CMenu* pMenu)
{
    CQXPPopupBar* pBar = CQXPPopupBar::CreateForOwner(GetCommandBars());
    if (!pBar)
        return;
    pBar->LoadMenu(pMenu, TRUE);
    SetCommandBar(pBar);
    pBar->InternalRelease();
}

void CQXPControlPopup::AdjustExcludeRect(CRect& rcExclude, BOOL bVertical)
{
    CQXPThemePainter* pPaintManager = GetPaintManager();
    pPaintManager->AdjustExcludeRect(rcExclude, this, bVertical);
}

void CQXPControlPopup::SetParent(CQXPCommandBar* pParent)
{
    CQXPControl::SetParent(pParent);
    if (m_pCommandBar && pParent && !m_pCommandBar->GetCommandBars())
        m_pCommandBar->SetCommandBars(pParent->GetCommandBars());
}

BOOL CQXPControlPopup::OnSetPopup(BOOL bPopup)
{
    CQXPPopupBar* pBar = dynamic_cast<CQXPPopupBar*>(m_pCommandBar);
    if (bPopup == m_bPopup)
        return FALSE;
    if (!bPopup) {
        m_bPopup = FALSE;
        if (pBar)
            pBar->SetTrackingMode(FALSE);
        RedrawParent();
        return TRUE;
    }
    // No popup without a bar to show, with the drop-down of a split button
    // disabled, or without a parent window to drop from.
    if (!pBar || !IsDropDownEnabled() || !m_pParent || !::IsWindow(m_pParent->GetSafeHwnd()))
        return FALSE;
    m_bPopup = TRUE;
    // The pressed look shows before the popup covers the screen.
    RedrawParent(FALSE);
    CWnd* pSite = m_pParent->GetOwnerSite();
    if (pSite && ::IsWindow(pSite->GetSafeHwnd()))
        ::UpdateWindow(pSite->GetSafeHwnd());
    if (m_pParent && ::IsWindow(m_pParent->GetSafeHwnd()))
        ::UpdateWindow(m_pParent->GetSafeHwnd());
    // Painting may have taken the control off its bar or changed its popup.
    if (!m_pParent || m_pCommandBar != pBar) {
        m_bPopup = FALSE;
        return FALSE;
    }
    if (!pBar->IsTrackingMode() && !pBar->Popup(this, m_pParent->IsPopupingByKeyboard())) {
        m_bPopup = FALSE;
        RedrawParent(FALSE);
        return FALSE;
    }
    UpdateShadow();
    return TRUE;
}

void CQXPControlPopup::UpdateShadow()
{
    CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(m_pCommandBar);
    if (!m_pCommandBar || !m_pParent || m_pParent->GetPosition() == qxpBarPopup)
        return;
    if (m_controlType != qxpControlPopup && m_controlType != qxpControlButtonPopup &&
        m_controlType != qxpControlSplitButtonPopup)
        return;
    // A floating popup (a torn-off menu) is no bar the popup drops from.
    if (m_pParent->GetPosition() == qxpBarFloating && m_pParent->GetType() == qxpBarTypePopup)
        return;
    if (pPopup && pPopup->m_bShowShadow && m_bShadow)
        GetLayeredShadowManager()->SetControlShadow(this);
}

CQXPControlPopup* AFXAPI CQXPControlPopup::CreateControlPopup(int nType)
{
    CQXPControlPopup* pControl = new CQXPControlPopup;
    if (nType == qxpControlPopup || nType == qxpControlButtonPopup || nType == qxpControlSplitButtonPopup)
        pControl->m_controlType = nType;
    return pControl;
}

BOOL CQXPControlPopup::IsFaceEnabled() const
{
    int nEnabled = GetEnabled();
    if (m_controlType == qxpControlSplitButtonPopup && nEnabled == 4)
        return FALSE;
    return nEnabled != 0;
}

BOOL CQXPControlPopup::IsDropDownEnabled() const
{
    int nEnabled = GetEnabled();
    if (m_controlType == qxpControlSplitButtonPopup && nEnabled == 3)
        return FALSE;
    return nEnabled != 0;
}

void CQXPControlPopup::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (!GetEnabled() || !m_pParent)
        return;
    CQXPCommandBar* pParent = m_pParent;
    if (IsCustomizeMode()) {
        OnCustomizeClickPopup(pt);
        return;
    }
    if (pParent->GetPopupedIndex() == m_nIndex) {
        // A second click on an open title closes its menu and ends the
        // bar's menu mode.
        if (pParent->GetType() != qxpBarTypePopup && pParent->IsTrackingMode())
            pParent->SetTrackingMode(FALSE);
        else
            pParent->SetPopuped(-1);
        return;
    }
    if (m_controlType == qxpControlSplitButtonPopup && !IsCustomizeMode()) {
        if (bKeyboard) {
            // Only the drop-down works (4): the keyboard opens it; else the
            // face's command runs.
            if (GetEnabled() == 4)
                pParent->SetPopuped(m_nIndex);
            else
                OnExecute();
            return;
        }
        CRect rcFace = pParent->GetPaintManager()->GetSplitCommandRect(this);
        if (rcFace.PtInRect(pt)) {
            // The face opens nothing.
            pParent->m_bAnimateNextPopup = FALSE;
            if (pParent->GetType() == qxpBarTypePopup) {
                // In a menu the command runs on the release; resting on the
                // face must not open the popup meanwhile.
                if (::IsWindow(pParent->GetSafeHwnd()))
                    ::KillTimer(pParent->GetSafeHwnd(), QXP_TID_HOVER);
                return;
            }
            if (IsFaceEnabled())
                TrackPress(rcFace);
            return;
        }
        if (!IsDropDownEnabled())
            return;
    }
    pParent->SetPopuped(m_nIndex);
}

void CQXPControlPopup::OnLButtonUp(CPoint pt)
{
    if (!m_pCommandBar) {
        CQXPControlButton::OnLButtonUp(pt);
        return;
    }
    // Only a split item of a menu runs on the release, and only on its face.
    if (m_controlType != qxpControlSplitButtonPopup || !m_pParent || m_pParent->GetType() != qxpBarTypePopup ||
        !IsFaceEnabled() || IsCustomizeMode())
        return;
    CRect rcFace = m_pParent->GetPaintManager()->GetSplitCommandRect(this);
    if (pt.x < rcFace.right)
        OnExecute();
}

void CQXPControlPopup::OnMouseMove(CPoint pt)
{
    if (m_controlType != qxpControlSplitButtonPopup || !m_pParent || m_pParent->GetType() == qxpBarTypePopup ||
        !m_nSelected || !m_pCommandBar || !GetEnabled())
        return;
    CRect rcFace = m_pParent->GetPaintManager()->GetSplitCommandRect(this);
    int nPart = rcFace.PtInRect(pt) ? 3 : 4;
    if (nPart != m_nSelected) {
        m_nSelected = nPart;
        RedrawParent(FALSE);
    }
}

void CQXPControlPopup::OnMouseHover()
{
    CQXPCommandBar* pParent = m_pParent;
    if (m_pCommandBar && pParent && GetEnabled() && IsDropDownEnabled() &&
        ((pParent->IsTrackingMode() && pParent->GetPopupedIndex() != -1) || pParent->GetPosition() == qxpBarPopup)) {
        if (pParent->GetPopupedIndex() != m_nIndex) {
            // Resting on a submenu item opens it as the user asked.
            pParent->m_bAnimateNextPopup = TRUE;
            pParent->SetPopuped(m_nIndex);
        }
        return;
    }
    CQXPControlButton::OnMouseHover();
}

BOOL CQXPControlPopup::OnSetSelected(int bSelected)
{
    CQXPCommandBar* pParent = m_pParent;
    // Whether the bar tracks with a popup open, as it was before the base
    // behaviour may close another control's popup.
    BOOL bTrackingWithPopup = pParent && pParent->IsTrackingMode() && pParent->GetPopupedIndex() != -1;
    if (!CQXPControlButton::OnSetSelected(bSelected))
        return FALSE;
    if (!m_pCommandBar || !pParent || m_pParent != pParent)
        return TRUE;
    BOOL bParentPopup = pParent->GetPosition() == qxpBarPopup;
    BOOL bMine = pParent->GetPopupedIndex() == m_nIndex;
    BOOL bKeyboard = bSelected == 2 || bSelected == 3;
    if (m_controlType == qxpControlPopup || pParent->GetType() == qxpBarTypePopup) {
        if (bSelected && GetEnabled() && bTrackingWithPopup && !bParentPopup && !bMine) {
            if (bKeyboard)
                pParent->m_bAnimateNextPopup = TRUE;
            pParent->SetPopuped(m_nIndex);
        } else if (!bSelected && bMine && m_bPopup && !bParentPopup) {
            pParent->SetPopuped(-1);
        }
    } else if (bKeyboard && GetEnabled() && bTrackingWithPopup && !bMine) {
        pParent->m_bAnimateNextPopup = TRUE;
        pParent->SetPopuped(m_nIndex);
    }
    return TRUE;
}

void CQXPControlPopup::OnUnderlineActivate()
{
    CQXPCommandBar* pParent = m_pParent;
    if (!m_pCommandBar || !pParent) {
        CQXPControlButton::OnUnderlineActivate();
        return;
    }
    // As from the keyboard: the popup opens with its first item selected.
    pParent->InternalAddRef();
    pParent->SetSelected(m_nIndex, 2);
    pParent->m_bAnimateNextPopup = TRUE;
    pParent->SetPopuped(m_nIndex);
    if (m_pParent == pParent && m_bPopup && m_pCommandBar) {
        int nFirst = m_pCommandBar->GetControls()->GetNext(-1, +1);
        if (nFirst != -1)
            m_pCommandBar->SetSelected(nFirst, 2);
    }
    pParent->InternalRelease();
}

namespace {

// Whether pTarget is pBar or a popup bar reached from pBar through its
// popup controls. Bars already searched are skipped, so bars shared in a
// loop end the search.
BOOL QxpPopupTreeContains(CQXPCommandBar* pBar, CQXPCommandBar* pTarget, std::vector<CQXPCommandBar*>& searched)
{
    if (pBar == pTarget)
        return TRUE;
    if (std::find(searched.begin(), searched.end(), pBar) != searched.end())
        return FALSE;
    searched.push_back(pBar);
    CQXPControls* pControls = pBar->GetControls();
    for (int i = 0; pControls && i < pControls->GetCount(); i++) {
        CQXPCommandBar* pChild = pControls->GetAt(i)->GetCommandBar();
        if (pChild && QxpPopupTreeContains(pChild, pTarget, searched))
            return TRUE;
    }
    return FALSE;
}

} // namespace

BOOL CQXPControlPopup::IsPopupOf(CQXPControl* pControl) const
{
    CQXPCommandBar* pTheirs = pControl ? pControl->GetCommandBar() : NULL;
    if (!m_pCommandBar || !pTheirs)
        return FALSE;
    std::vector<CQXPCommandBar*> searched;
    return QxpPopupTreeContains(m_pCommandBar, pTheirs, searched);
}

void CQXPControlPopup::Copy(CQXPControl* pControl, BOOL bRecursive)
{
    CQXPControl::Copy(pControl, bRecursive);
    CQXPControlPopup* pPopup = dynamic_cast<CQXPControlPopup*>(pControl);
    if (!pPopup || !pPopup->m_pCommandBar)
        return;
    if (!bRecursive) {
        SetCommandBar(pPopup->m_pCommandBar);
        return;
    }
    CQXPPopupBar* pSource = dynamic_cast<CQXPPopupBar*>(pPopup->m_pCommandBar);
    CQXPPopupBar* pBar =
        pSource ? pSource->Clone(TRUE) : CQXPPopupBar::CreateForOwner(pPopup->m_pCommandBar->GetCommandBars());
    if (!pBar)
        return;
    if (!pSource) {
        pBar->GetControls()->Copy(pPopup->m_pCommandBar->GetControls(), TRUE);
        pBar->SetTitle(pPopup->m_pCommandBar->GetTitle());
    }
    SetCommandBar(pBar);
    pBar->InternalRelease();
}

void CQXPControlPopup::ExpandPopup()
{
    CQXPPopupBar* pBar = dynamic_cast<CQXPPopupBar*>(m_pCommandBar);
    if (!m_bPopup || !pBar || m_controlType != qxpControlPopup || !pBar->IsTrackingMode())
        return;
    pBar->Expand();
}

BOOL CQXPControlPopup::OnLButtonDblClk(CPoint pt)
{
    CQXPPopupBar* pBar = dynamic_cast<CQXPPopupBar*>(m_pCommandBar);
    if (m_controlType != qxpControlPopup && m_controlType != qxpControlButtonPopup)
        return CQXPControlButton::OnLButtonDblClk(pt);
    if (!pBar || !m_pParent)
        return FALSE;
    CQXPCommandBar* pParent = m_pParent;
    InternalAddRef();
    pBar->InternalAddRef();
    pParent->InternalAddRef();
    // The first click of the pair may have closed the menu: open it again.
    if (!m_bPopup)
        OnClick(FALSE, pt);
    if (m_bPopup && m_pParent == pParent && pParent->GetPopupedIndex() == m_nIndex && pBar->IsTrackingMode()) {
        int nDefault = pBar->GetDefaultItem(TRUE);
        if (nDefault != -1)
            pBar->GetControl(nDefault)->OnExecute();
        else if (pBar->HasHiddenItems())
            pBar->Expand();
    }
    pParent->InternalRelease();
    pBar->InternalRelease();
    InternalRelease();
    return TRUE;
}
