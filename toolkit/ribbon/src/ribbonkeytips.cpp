// ribbonkeytips.cpp - the ribbon's keyboard entry and keytips: Alt shows
// the tips of the QAT commands, the tabs and the system button (level 1);
// a tab's tip shows the tips of its groups' controls (level 2); Escape
// steps back a level.
#include <qx/commandbars.h>
#include <qx/keytips.h>
#include <qx/office2007.h>
#include <qx/ribbonpopups.h>
#include <qx/ribbonsystem.h>

using namespace qxribbon;

namespace {

// The character after a single '&' of a caption, upper case; 0 for none.
UINT CaptionMnemonic(const CString& strCaption)
{
    for (int i = 0; i + 1 < strCaption.GetLength(); i++) {
        if (strCaption[i] != '&')
            continue;
        if (strCaption[i + 1] == '&') {
            i++;
            continue;
        }
        return (UINT)(UINT_PTR)::CharUpperA((LPSTR)(UINT_PTR)(BYTE)strCaption[i + 1]);
    }
    return 0;
}

// Whether a control of a group gets a keytip: a caption or a tip of its
// own, and not a control the keyboard skips.
BOOL HasKeyTip(CQXPControl* c)
{
    return !(c->GetFlags() & qxpFlagSkipFocus) && !(c->GetCaption().IsEmpty() && c->m_strKeyboardTip.IsEmpty());
}

CPoint ToScreen(CWnd* pWnd, CPoint pt)
{
    pWnd->ClientToScreen(&pt);
    return pt;
}

} // namespace

void CQXPRibbonBar::ShowKeyTips(int nLevel)
{
    m_nKeyTipLevel = nLevel;
    if (!m_pCommandBars || !::IsWindow(m_hWnd))
        return;
    // The ribbon's keyboard entry always goes through its keytips.
    if (!m_pCommandBars->IsKeyboardTipsEnabled())
        m_pCommandBars->EnableKeyboardTips(TRUE);
    if (!m_bTracking)
        SetTrackingMode(TRUE, FALSE, TRUE);
    m_nKeyTipLevel = nLevel;
    m_pCommandBars->ShowKeyboardTips(this, nLevel);
}

BOOL CQXPRibbonBar::OnKeyMenu(UINT nChar)
{
    if (!m_hWnd || !::IsWindowVisible(m_hWnd) || IsCustomizeMode() || GetTabCount() == 0)
        return CQXPMenuBar::OnKeyMenu(nChar);
    if (::GetKeyState(VK_CONTROL) & 0x8000)
        return FALSE;
    if (nChar == 0) {
        if (m_bTracking || (::GetKeyState(VK_SHIFT) & 0x8000))
            return FALSE;
        if (m_pCommandBars) {
            m_pCommandBars->ClosePopups();
            m_pCommandBars->ShowKeyboardCues(TRUE);
        }
        ShowKeyTips(1);
        return TRUE;
    }
    return HandleEntryKey(nChar) || CQXPMenuBar::OnKeyMenu(nChar);
}

BOOL CQXPRibbonBar::PreviewMnemonic(UINT nKey)
{
    if (m_bTracking || GetTabCount() == 0 || IsCustomizeMode() || !::IsWindowVisible(m_hWnd) ||
        (::GetKeyState(VK_CONTROL) & 0x8000))
        return FALSE;
    const UINT nChar = ::MapVirtualKeyA(nKey, 2 /* MAPVK_VK_TO_CHAR */) & 0x7FFF;
    return nChar != 0 && HandleEntryKey(nChar);
}

BOOL CQXPRibbonBar::HandleEntryKey(UINT nChar)
{
    if (nChar >= '1' && nChar <= '9') {
        // The n-th visible QAT command.
        int n = (int)(nChar - '1');
        for (int i = 0; i < m_pQuickAccessControls->GetCount(); i++) {
            CQXPControl* c = m_pQuickAccessControls->GetAt(i);
            if (!c->IsVisible(qxpHideWrap) || n-- > 0)
                continue;
            if (!c->GetEnabled())
                return TRUE;
            if (m_pCommandBars) {
                m_pCommandBars->ClosePopups();
                m_pCommandBars->ShowKeyboardCues(TRUE);
            }
            m_nKeyTipLevel = 2;
            SetTrackingMode(TRUE, FALSE, TRUE);
            CQXPKeyboardTip tip;
            tip.pControl = c;
            OnKeyboardTip(&tip);
            return TRUE;
        }
        return FALSE;
    }
    const UINT nUpper = (UINT)(UINT_PTR)::CharUpperA((LPSTR)(UINT_PTR)(BYTE)nChar);
    for (int i = 0; i < GetTabCount(); i++) {
        CQXPRibbonTab* pTab = GetTab(i);
        if (!pTab->IsVisible() || !pTab->IsEnabled() || CaptionMnemonic(pTab->m_strCaption) != nUpper)
            continue;
        if (m_pCommandBars && !m_bTracking)
            m_pCommandBars->ClosePopups();
        if (m_pCommandBars)
            m_pCommandBars->ShowKeyboardCues(TRUE);
        CQXPKeyboardTip tip;
        tip.nItem = i;
        OnKeyboardTip(&tip);
        return TRUE;
    }
    return FALSE;
}

void CQXPRibbonBar::CreateKeyboardTips(CQXPKeyboardTips* pTips)
{
    if (!pTips || !::IsWindow(m_hWnd))
        return;
    if (m_nKeyTipLevel >= 2) {
        CQXPRibbonTab* pTab = GetSelectedTab();
        if (pTab && IsGroupsVisible())
            AddGroupKeyTips(pTips, this, pTab->m_pGroups, m_rcGroups);
        return;
    }
    int nIndex = 0;
    for (int i = 0; i < m_pQuickAccessControls->GetCount(); i++) {
        CQXPControl* c = m_pQuickAccessControls->GetAt(i);
        if (!c->IsVisible(0))
            continue;
        const CString strText = QuickAccessTipText(nIndex++);
        if (strText.IsEmpty())
            break;
        const KeyTipAnchor a = QuickAccessTipAnchor(c->GetRect());
        pTips->AddControlTip(c, ToScreen(this, a.pt), a.nAlign, strText);
    }
    for (int i = 0; i < GetTabCount(); i++) {
        CQXPRibbonTab* pTab = GetTab(i);
        if (!pTab->IsVisible() || pTab->m_strCaption.IsEmpty() || pTab->GetRect().IsRectEmpty())
            continue;
        const KeyTipAnchor a = TabTipAnchor(pTab->GetRect());
        pTips->AddItemTip(i, pTab->m_strCaption, ToScreen(this, a.pt), a.nAlign);
    }
    if (m_pSystemButton && m_pSystemButton->IsVisible(0)) {
        const KeyTipAnchor a = SystemButtonTipAnchor(m_pSystemButton->GetRect());
        pTips->AddControlTip(m_pSystemButton, ToScreen(this, a.pt), a.nAlign);
    }
}

void CQXPRibbonBar::AddGroupKeyTips(CQXPKeyboardTips* pTips, CQXPCommandBar* pBar,
                                    const CQXPRibbonGroupCollection* pGroups, const CRect& rcGroups)
{
    for (CQXPRibbonGroup* g : *pGroups)
        AddGroupKeyTips(pTips, pBar, g, rcGroups, TRUE);
}

void CQXPRibbonBar::AddGroupKeyTips(CQXPKeyboardTips* pTips, CQXPCommandBar* pBar, CQXPRibbonGroup* g,
                                    const CRect& rcGroups, BOOL bShown)
{
    if (!g->m_bVisible)
        return;
    const int K = GetRibbonTheme()->m_metrics.nGroupCaption;
    // A tip shows only over a control that is on screen: its group shown,
    // the control shown and wholly inside the band (not scrolled out of
    // it). The others keep their keys: a scrolled-out control comes into
    // view when its key selects it.
    auto onScreen = [&](CQXPControl* c) {
        const CRect rc = c->GetRect();
        return bShown && c->IsVisible(0) && rc.left >= rcGroups.left && rc.right <= rcGroups.right &&
               rc.top >= rcGroups.top && rc.bottom <= rcGroups.bottom;
    };
    // Each group: its controls, its option button, then the button a
    // collapsed group shows ("Z" unless it has a tip of its own).
    CQXPRibbonGroupControlPopup* pButton = g->m_pPopupButton;
    const BOOL bButtonShown = g->m_bCollapsed && pButton && pButton->IsVisible(0);
    KeyTipAnchor aButton;
    if (bButtonShown)
        aButton = GroupControlTipAnchor(g->m_rcGroup, K, rcGroups.bottom, pButton->GetRect(), pButton->GetType(),
                                        kRibbonStyleLarge);
    for (CQXPControl* c : g->m_controls) {
        if (!HasKeyTip(c))
            continue;
        if (c->IsVisible(0)) {
            const KeyTipAnchor a = GroupControlTipAnchor(g->m_rcGroup, K, rcGroups.bottom, c->GetRect(),
                                                         c->GetType(), c->GetStyle());
            pTips->AddControlTip(c, ToScreen(pBar, a.pt), a.nAlign, NULL, onScreen(c));
        } else if (bButtonShown && c->GetHideFlags() == qxpHideWrap) {
            // Hidden by the collapse alone: typing its key opens the
            // group and runs it there.
            pTips->AddControlTip(c, ToScreen(pBar, aButton.pt), aButton.nAlign, NULL, FALSE);
        }
    }
    CQXPControl* pOption = g->m_pOptionButton;
    if (pOption->IsVisible(0) && HasKeyTip(pOption)) {
        const KeyTipAnchor a = GroupControlTipAnchor(g->m_rcGroup, K, rcGroups.bottom, pOption->GetRect(),
                                                     pOption->GetType(), pOption->GetStyle());
        pTips->AddControlTip(pOption, ToScreen(pBar, a.pt), a.nAlign, NULL, onScreen(pOption));
    }
    if (bButtonShown)
        pTips->AddControlTip(pButton, ToScreen(pBar, aButton.pt), aButton.nAlign,
                             pButton->m_strKeyboardTip.IsEmpty() ? "Z" : (LPCSTR)pButton->m_strKeyboardTip,
                             onScreen(pButton));
}

void CQXPRibbonBar::OnKeyboardTip(CQXPKeyboardTip* pTip)
{
    if (!pTip)
        return;
    if (pTip->nItem < 0) {
        if (!OpenCollapsedControl(pTip->pControl))
            CQXPMenuBar::OnKeyboardTip(pTip);
        return;
    }
    const int nTab = pTip->nItem;
    if (nTab >= GetTabCount() || !GetTab(nTab)->IsVisible())
        return;
    InternalAddRef();
    if (m_bMinimized) {
        // The popup tracks from the keyboard and shows its own tips.
        m_nKeyTipLevel = 2;
        CQXPCommandBar* pPopup = OpenTabPopupFromKeyboard(nTab);
        if (pPopup && m_pCommandBars)
            m_pCommandBars->QueueKeyboardTips(pPopup, pPopup->GetKeyboardTipsDepth());
    } else if (SelectTab(nTab) && ::IsWindow(m_hWnd)) {
        // The tab row is selected from the keyboard; its groups show their
        // keytips.
        ShowKeyTips(2);
        SetSelected(m_pTabControl->GetIndex(), 2);
    }
    InternalRelease();
}

BOOL CQXPRibbonBar::OpenCollapsedControl(CQXPControl* pControl)
{
    return pControl && OpenCollapsedControlIn(this, FindControlGroup(pControl), pControl);
}

BOOL CQXPRibbonBar::OpenCollapsedControlIn(CQXPCommandBar* pBar, CQXPRibbonGroup* pGroup, CQXPControl* pControl)
{
    // Only a control that the group's reduction alone hides.
    if (!pBar || !pGroup || !pControl || pControl->GetHideFlags() != qxpHideWrap)
        return FALSE;
    CQXPRibbonGroupControlPopup* pButton = pGroup->m_bCollapsed ? pGroup->m_pPopupButton : NULL;
    if (!pButton || !pButton->IsVisible(0))
        return FALSE;
    const int nIndex = pGroup->IndexOf(pControl);
    pBar->InternalAddRef();
    CQXPKeyboardTip tipButton;
    tipButton.pControl = pButton;
    pBar->CQXPCommandBar::OnKeyboardTip(&tipButton);
    auto* pPopup = pButton->GetPopuped() ? dynamic_cast<CQXPRibbonGroupPopupToolBar*>(pButton->GetCommandBar()) : NULL;
    CQXPRibbonGroup* pCopy = pPopup ? pPopup->GetGroupCopy() : NULL;
    if (pCopy && nIndex >= 0 && nIndex < pCopy->GetCount()) {
        // The copy's own tip runs it, as if it had been typed there.
        CQXPKeyboardTip tip;
        tip.pControl = pCopy->GetAt(nIndex);
        pPopup->InternalAddRef();
        pPopup->OnKeyboardTip(&tip);
        pPopup->InternalRelease();
    }
    pBar->InternalRelease();
    return TRUE;
}

int CQXPRibbonBar::ProcessSpecialKey(int nAction)
{
    if (nAction == 4 && m_nKeyTipLevel >= 2 && m_bTracking && m_nPopuped == -1) {
        // Escape: from a tab's groups back to the tabs.
        SetSelected(-1);
        m_pTabControl->SetKeyboardFocus(FALSE);
        ShowKeyTips(1);
        return 1;
    }
    // Up from a control of the groups (they follow the row among the
    // controls) with nothing open: back to the tab row.
    if (nAction == 2 && m_nPopuped == -1 && m_nSelected > m_pTabControl->GetIndex() && IsTabRowKeyboardStop()) {
        SetSelected(m_pTabControl->GetIndex(), 3);
        return 1;
    }
    return CQXPMenuBar::ProcessSpecialKey(nAction);
}

BOOL CQXPRibbonBar::IsTabRowKeyboardStop() const
{
    return !IsCustomizeMode() && m_bTabsVisible && m_pTabControl->FindNextFocusable(0, +1) != NULL;
}

int CQXPRibbonBar::GetNextKeyboardStop(int nIndex, int nDirection) const
{
    const int nNext = CQXPMenuBar::GetNextKeyboardStop(nIndex, nDirection);
    const int nRow = m_pTabControl->GetIndex();
    if (nIndex == nRow || !IsTabRowKeyboardStop())
        return nNext;
    // The row is hidden to the controls' own walk: walk the same way and
    // stop at the row when it comes before the control found.
    const int nCount = m_pControls->GetCount();
    int i = nIndex < 0 ? (nDirection > 0 ? 0 : nCount - 1) : nIndex + nDirection;
    for (int k = 0; k < nCount; k++, i += nDirection) {
        if (i < 0 || i >= nCount) {
            if (nIndex < 0)
                break; // from the start (end) there is no wrapping
            i = (i + nCount) % nCount;
        }
        if (i == nRow)
            return nRow;
        if (i == nNext)
            break;
    }
    return nNext;
}

BOOL CQXPRibbonBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    const BOOL bResult = CQXPMenuBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard);
    if (!bMode) {
        m_nKeyTipLevel = 1;
        m_pTabControl->SetKeyboardFocus(FALSE);
    }
    return bResult;
}
