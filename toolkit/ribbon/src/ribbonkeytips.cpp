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
    if (!m_hWnd || !::IsWindowVisible(m_hWnd) || IsCustomizeMode() || m_tabs.empty())
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
    if (m_bTracking || m_tabs.empty() || IsCustomizeMode() || !::IsWindowVisible(m_hWnd) ||
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
        for (CQXPControl* c : m_qat) {
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
    for (int i = 0; i < (int)m_tabs.size(); i++) {
        CQXPRibbonTab* pTab = m_tabs[(size_t)i];
        if (!pTab->IsVisible() || CaptionMnemonic(pTab->m_strCaption) != nUpper)
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
            AddGroupKeyTips(pTips, this, pTab->m_groups, m_rcGroups);
        return;
    }
    int nIndex = 0;
    for (CQXPControl* c : m_qat) {
        if (!c->IsVisible(0))
            continue;
        const CString strText = QuickAccessTipText(nIndex++);
        if (strText.IsEmpty())
            break;
        const KeyTipAnchor a = QuickAccessTipAnchor(c->GetRect());
        pTips->AddControlTip(c, ToScreen(this, a.pt), a.nAlign, strText);
    }
    for (int i = 0; i < (int)m_tabs.size(); i++) {
        CQXPRibbonTab* pTab = m_tabs[(size_t)i];
        if (!pTab->IsVisible() || pTab->m_strCaption.IsEmpty() || pTab->m_rcTab.IsRectEmpty())
            continue;
        const KeyTipAnchor a = TabTipAnchor(pTab->m_rcTab);
        pTips->AddItemTip(i, pTab->m_strCaption, ToScreen(this, a.pt), a.nAlign);
    }
    if (m_pSystemButton && m_pSystemButton->IsVisible(0)) {
        const KeyTipAnchor a = SystemButtonTipAnchor(m_pSystemButton->GetRect());
        pTips->AddControlTip(m_pSystemButton, ToScreen(this, a.pt), a.nAlign);
    }
}

void CQXPRibbonBar::AddGroupKeyTips(CQXPKeyboardTips* pTips, CQXPCommandBar* pBar,
                                    const std::vector<CQXPRibbonGroup*>& groups, const CRect& rcGroups)
{
    const int K = GetRibbonTheme()->m_metrics.nGroupCaption;
    for (CQXPRibbonGroup* g : groups) {
        if (!g->m_bVisible)
            continue;
        if (g->m_bCollapsed) {
            // The button that stands for the group: "Z" unless it has a tip.
            CQXPRibbonGroupControlPopup* pButton = g->m_pPopupButton;
            if (pButton && pButton->IsVisible(0)) {
                const KeyTipAnchor a = GroupControlTipAnchor(g->m_rcGroup, K, rcGroups.bottom, pButton->GetRect(),
                                                             pButton->GetType(), kRibbonStyleLarge);
                pTips->AddControlTip(pButton, ToScreen(pBar, a.pt), a.nAlign,
                                     pButton->m_strKeyboardTip.IsEmpty() ? "Z" : (LPCSTR)pButton->m_strKeyboardTip);
            }
            continue;
        }
        for (CQXPControl* c : g->m_controls) {
            if (!c->IsVisible(0) || (c->GetFlags() & qxpFlagSkipFocus))
                continue;
            if (c->GetCaption().IsEmpty() && c->m_strKeyboardTip.IsEmpty())
                continue;
            CRect rc = c->GetRect();
            if (rc.left < rcGroups.left || rc.right > rcGroups.right)
                continue; // scrolled out of the band
            const KeyTipAnchor a =
                GroupControlTipAnchor(g->m_rcGroup, K, rcGroups.bottom, rc, c->GetType(), c->GetStyle());
            pTips->AddControlTip(c, ToScreen(pBar, a.pt), a.nAlign);
        }
    }
}

void CQXPRibbonBar::OnKeyboardTip(CQXPKeyboardTip* pTip)
{
    if (!pTip)
        return;
    if (pTip->nItem < 0) {
        CQXPMenuBar::OnKeyboardTip(pTip);
        return;
    }
    const int nTab = pTip->nItem;
    if (nTab >= (int)m_tabs.size() || !m_tabs[(size_t)nTab]->IsVisible())
        return;
    InternalAddRef();
    if (m_bMinimized) {
        // The popup tracks from the keyboard and shows its own tips.
        m_nKeyTipLevel = 2;
        CQXPCommandBar* pPopup = OpenTabPopup(nTab, TRUE) ? GetTabPopup() : NULL;
        if (pPopup) {
            int nFirst = pPopup->GetControls()->GetNext(-1, +1);
            if (nFirst != -1)
                pPopup->SetSelected(nFirst, 2);
            if (m_pCommandBars)
                m_pCommandBars->QueueKeyboardTips(pPopup, pPopup->GetKeyboardTipsDepth());
        }
    } else if (SelectTab(nTab) && ::IsWindow(m_hWnd)) {
        ShowKeyTips(2);
    }
    InternalRelease();
}

int CQXPRibbonBar::ProcessSpecialKey(int nAction)
{
    if (nAction == 4 && m_nKeyTipLevel >= 2 && m_bTracking && m_nPopuped == -1) {
        // Escape: from a tab's groups back to the tabs.
        SetSelected(-1);
        ShowKeyTips(1);
        return 1;
    }
    return CQXPMenuBar::ProcessSpecialKey(nAction);
}

BOOL CQXPRibbonBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    const BOOL bResult = CQXPMenuBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard);
    if (!bMode)
        m_nKeyTipLevel = 1;
    return bResult;
}
