// ribboncaption.cpp - the ribbon's caption band: with a frame hook the
// frame's own caption (caption buttons, icon, title), and the contextual
// tab headers over runs of contextual tabs.
#include <qx/barcontrols.h>
#include <qx/commandbars.h>
#include <qx/office2007.h>
#include <qx/ribbonbar.h>
#include <qx/ribbonframehook.h>
#include <qx/ribbonsystem.h>

using namespace qxribbon;

namespace {

// A caption button of a frame whose caption the ribbon draws: its id is the
// system command it sends to the frame.
class CRibbonCaptionButton : public CQXPControlButton {
public:
    CRibbonCaptionButton() { m_dwFlags = 0x1A; }
    void Draw(CDC* pDC) override
    {
        CQXPRibbonBar* pBar = DYNAMIC_DOWNCAST(CQXPRibbonBar, GetParent());
        RibbonFrameHook* pHook = pBar ? pBar->GetFrameHook() : NULL;
        if (pHook)
            pBar->GetRibbonTheme()->DrawFrameCaptionButton(pDC, GetRect(), (UINT)GetID(), GetSelected() != 0,
                                                           GetPressed() != 0, GetEnabled(), pHook->IsFrameActive());
    }
    void OnExecute() override
    {
        CQXPRibbonBar* pBar = DYNAMIC_DOWNCAST(CQXPRibbonBar, GetParent());
        if (CWnd* pSite = pBar ? pBar->GetOwnerSite() : NULL)
            pSite->PostMessage(WM_SYSCOMMAND, (WPARAM)GetID(), 0);
    }
};

BOOL IsCaptionButtonId(int nId) { return nId == SC_CLOSE || nId == SC_MINIMIZE || nId == SC_MAXIMIZE || nId == SC_RESTORE; }

// The system menu's text of a command up to its tab.
CString SystemMenuText(HWND hWnd, UINT nCommand)
{
    char sz[128] = "";
    if (HMENU hMenu = ::GetSystemMenu(hWnd, FALSE))
        ::GetMenuStringA(hMenu, nCommand, sz, sizeof(sz), MF_BYCOMMAND);
    CString str = sz;
    const int nTab = str.Find('\t');
    return nTab >= 0 ? str.Left(nTab) : str;
}

BOOL IsSystemCommandDisabled(HWND hWnd, UINT nCommand)
{
    HMENU hMenu = ::GetSystemMenu(hWnd, FALSE);
    return hMenu && (::GetMenuState(hMenu, nCommand, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) != 0;
}

} // namespace

BOOL AFXAPI CQXPRibbonBar::IsCaptionButton(const CQXPControl* pControl)
{
    return dynamic_cast<const CRibbonCaptionButton*>(pControl) != NULL;
}

RibbonFrameHook* CQXPRibbonBar::GetFrameHook() const
{
    auto* pHook = m_pCommandBars ? dynamic_cast<RibbonFrameHook*>(m_pCommandBars->GetFrameHook()) : NULL;
    if (!pHook || pHook->GetRibbonBar() != this || pHook->UsesSystemMetrics())
        return NULL;
    return pHook;
}

void CQXPRibbonBar::OnRemoved()
{
    // The frame takes its caption back; the QAT and the tabs go with
    // their controls.
    PostFrameUpdate();
    m_bFrameCaption = FALSE;
    m_pQuickAccessControls->RemoveAll();
    RemoveAllTabs();
    CQXPMenuBar::OnRemoved();
}

void CQXPRibbonBar::OnFrameTitleChanged()
{
    RibbonFrameHook* pHook = GetFrameHook();
    if (!pHook || !::IsWindow(m_hWnd) || m_rcCaption.IsRectEmpty())
        return;
    CString strText;
    CWnd::FromHandle(pHook->GetHwnd())->GetWindowText(strText);
    if (strText == m_strCachedTitle)
        return;
    CClientDC dc(this);
    LayoutCaption(&dc);
    Redraw(&m_rcCaption, FALSE);
}

void CQXPRibbonBar::LayoutCaption(CDC* pDC)
{
    m_contextHeaders.clear();
    m_rcTitle.SetRectEmpty();
    RibbonFrameHook* pHook = GetFrameHook();
    std::vector<UINT> wanted;
    std::vector<CRect> places;
    std::vector<BOOL> enabled;
    CRect rcFree = m_rcCaption;
    if (pHook)
        rcFree.DeflateRect(pHook->GetFrameBorder(), 0); // the band reaches under the side borders
    const BOOL bQatAbove = m_bQuickAccessVisible && !m_bQuickAccessBelow;
    const int nAfterQat = m_rcQuickAccess.right + (m_pQatCustomize->IsVisible(0) ? m_pQatCustomize->GetRect().Width() + 2 : 12);
    if (pHook && !m_rcCaption.IsRectEmpty()) {
        HWND hFrame = pHook->GetHwnd();
        const LONG lStyle = ::GetWindowLongA(hFrame, GWL_STYLE);
        const LONG lExStyle = ::GetWindowLongA(hFrame, GWL_EXSTYLE);
        rcFree.left = bQatAbove ? nAfterQat : rcFree.left + 70;
        rcFree.top += pHook->GetFrameBorder();
        rcFree.bottom -= 3;
        const BOOL bClose = (lStyle & WS_SYSMENU) != 0;
        const BOOL bCloseEnabled = (lExStyle & WS_EX_TOOLWINDOW) || !IsSystemCommandDisabled(hFrame, SC_CLOSE);
        const BOOL bMinMax = (lStyle & WS_SYSMENU) && (lStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) &&
                             !(lExStyle & WS_EX_TOOLWINDOW) && !((lStyle & WS_CHILD) && (lStyle & WS_MAXIMIZE));
        if (pHook->IsDwmEnabled()) {
            rcFree.right -= 100; // the system draws its buttons there
        } else {
            const int h = rcFree.Height();
            auto add = [&](UINT nId, BOOL bEnabled) {
                wanted.push_back(nId);
                places.push_back(CRect(rcFree.right - h, rcFree.top, rcFree.right, rcFree.bottom));
                enabled.push_back(bEnabled);
                rcFree.right -= h;
            };
            if (bClose)
                add(SC_CLOSE, bCloseEnabled);
            if (bMinMax) {
                add((lStyle & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, (lStyle & WS_MAXIMIZEBOX) != 0);
                add(SC_MINIMIZE, (lStyle & WS_MINIMIZEBOX) != 0);
            }
        }
        // The title: centred in its rectangle, or in the free area when it
        // would meet the QAT.
        CString strText;
        CWnd::FromHandle(hFrame)->GetWindowText(strText);
        m_strCachedTitle = strText;
        CRect rcTitle(rcFree.left + 70 - (bQatAbove ? rcFree.left : 0), rcFree.top, rcFree.right, rcFree.bottom);
        if (!bQatAbove)
            rcTitle.left = m_rcCaption.left + 70;
        CFont* pOld = pDC->SelectObject(&GetRibbonTheme()->m_fontCaption);
        int w = std::min<int>(pDC->GetTextExtent(strText).cx + 20, std::max<int>(rcTitle.Width(), 0));
        pDC->SelectObject(pOld);
        const int xMid = (rcTitle.left + rcTitle.right) / 2;
        m_rcTitle = CRect(xMid - w / 2, rcTitle.top, xMid - w / 2 + w, rcTitle.bottom);
        if (bQatAbove && m_rcTitle.left < m_rcQuickAccess.right + 12) {
            w = std::min<int>(w, std::max<int>(rcFree.Width(), 0));
            const int xFree = (rcFree.left + rcFree.right) / 2;
            m_rcTitle = CRect(xFree - w / 2, rcFree.top, xFree - w / 2 + w, rcFree.bottom);
        }
    } else if (bQatAbove) {
        rcFree.left = nAfterQat;
    }

    // Caption buttons: made on first need, dropped when no longer wanted.
    for (int i = m_pControls->GetCount() - 1; i >= 0; i--) {
        CQXPControl* c = m_pControls->GetAt(i);
        if (IsCaptionButtonId(c->GetID()) && dynamic_cast<CRibbonCaptionButton*>(c) &&
            std::find(wanted.begin(), wanted.end(), (UINT)c->GetID()) == wanted.end())
            m_pControls->Remove(c);
    }
    for (size_t i = 0; i < wanted.size(); i++) {
        CQXPControl* c = NULL;
        for (int j = 0; j < m_pControls->GetCount() && !c; j++)
            if (m_pControls->GetAt(j)->GetID() == (int)wanted[i] && dynamic_cast<CRibbonCaptionButton*>(m_pControls->GetAt(j)))
                c = m_pControls->GetAt(j);
        if (!c) {
            c = m_pControls->AddControl(new CRibbonCaptionButton, (int)wanted[i]);
            c->SetTooltip(SystemMenuText(pHook->GetHwnd(), wanted[i]));
        }
        c->SetRect(places[i]);
        c->SetEnabled(enabled[i]);
    }

    // Contextual headers over runs of contextual tabs.
    if (m_rcCaption.IsRectEmpty())
        return;
    std::vector<RibbonTabInfo> tabs;
    for (CQXPRibbonTab* t : Tabs()) {
        RibbonTabInfo info;
        info.bVisible = t->IsVisible() && m_bTabsVisible && !t->GetRect().IsRectEmpty();
        info.nContextColor = t->m_nContextColor;
        info.strContextCaption = t->m_strContextCaption;
        info.left = t->GetRect().left;
        info.right = t->GetRect().right;
        tabs.push_back(info);
    }
    m_contextHeaders = BuildContextHeaders(tabs, rcFree.top, m_rcCaption.bottom, rcFree.left, rcFree.right);
    if (pHook && !m_rcTitle.IsRectEmpty())
        m_rcTitle = KeepTitleClearOfHeaders(m_contextHeaders, m_rcTitle, m_rcTitle.Width(), rcFree.left, rcFree.right);
}

void CQXPRibbonBar::DrawCaption(CDC* pDC)
{
    CRibbonStyleTheme* pTheme = GetRibbonTheme();
    const BOOL bQatShown = !m_bQuickAccessBelow && m_bQuickAccessVisible && m_pQuickAccessControls->GetCount() > 0;
    const CRect rcQat = bQatShown ? m_rcQuickAccess : CRect();
    RibbonFrameHook* pHook = GetFrameHook();
    if (pHook) {
        pTheme->DrawRibbonFrameCaption(pDC, m_rcCaption, rcQat, pHook->GetHwnd(), pHook->IsFrameActive(), m_rcTitle,
                                       m_pSystemButton != NULL && m_pSystemButton->IsVisible(0),
                                       pHook->IsDwmEnabled());
    } else {
        CString strTitle;
        if (CWnd* pSite = GetOwnerSite())
            pSite->GetWindowText(strTitle);
        pTheme->DrawRibbonCaptionArea(pDC, m_rcCaption, rcQat, strTitle);
    }
    pTheme->DrawRibbonContextHeaders(pDC, m_contextHeaders, 0, pHook && pHook->IsDwmEnabled(),
                                     pHook ? pHook->GetHwnd() : NULL, pHook ? pHook->IsFrameActive() : TRUE);
}

const CRibbonContextHeader* CQXPRibbonBar::HitTestContextHeader(CPoint point) const
{
    for (const CRibbonContextHeader& h : m_contextHeaders)
        if (h.rc.PtInRect(point))
            return &h;
    return NULL;
}

int CQXPRibbonBar::HitTestCaption(CPoint point) const
{
    RibbonFrameHook* pHook = GetFrameHook();
    if (!pHook || (m_pCommandBars && m_pCommandBars->IsCustomizeMode()) || !m_rcCaption.PtInRect(point))
        return 0;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* c = m_pControls->GetAt(i);
        if (c->IsVisible(0) && c->GetRect().PtInRect(point))
            return 0;
    }
    if (HitTestContextHeader(point))
        return 0;
    const LONG lStyle = ::GetWindowLongA(pHook->GetHwnd(), GWL_STYLE);
    if ((lStyle & WS_THICKFRAME) && !(lStyle & WS_MAXIMIZE) && point.y < m_rcCaption.top + 5)
        return HTTOP;
    return HTCAPTION;
}

LRESULT CQXPRibbonBar::OnNcHitTest(CPoint point)
{
    RibbonFrameHook* pHook = GetFrameHook();
    if (pHook && pHook->IsDwmEnabled()) {
        LRESULT lResult = 0;
        if (pHook->DwmDefHitTest(point, &lResult) &&
            (lResult == HTMINBUTTON || lResult == HTMAXBUTTON || lResult == HTCLOSE || lResult == HTHELP))
            return HTTRANSPARENT;
    }
    return CQXPMenuBar::OnNcHitTest(point);
}

BOOL CQXPRibbonBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    const int nHit = HitTestCaption(pt);
    CWnd* pSite = GetOwnerSite();
    if (nHit >= HTLEFT && nHit <= HTBOTTOMRIGHT && pSite && ::IsWindow(pSite->GetSafeHwnd()))
        return (BOOL)pSite->SendMessage(WM_SETCURSOR, (WPARAM)pSite->GetSafeHwnd(), MAKELPARAM(nHit, message));
    return CQXPMenuBar::OnSetCursor(pWnd, nHitTest, message);
}

BOOL CQXPRibbonBar::IsRectInCaption(const CRect& rc) const
{
    RibbonFrameHook* pHook = GetFrameHook();
    CRect rcMeet;
    return IsVisible() && pHook && pHook->IsDwmEnabled() && rcMeet.IntersectRect(m_rcCaption, rc);
}

BOOL CQXPRibbonBar::OnCaptionButtonDown(CPoint point, BOOL bDouble)
{
    RibbonFrameHook* pHook = GetFrameHook();
    CWnd* pSite = GetOwnerSite();
    if (const CRibbonContextHeader* pHeader = HitTestContextHeader(point)) {
        if (!bDouble) {
            SelectTab(pHeader->nFirstTab);
            return TRUE;
        }
        if (!pHook)
            return TRUE;
    }
    const int nHit = HitTestContextHeader(point) ? HTCAPTION : HitTestCaption(point);
    if (!nHit || !pSite)
        return FALSE;
    if (m_pCommandBars)
        m_pCommandBars->ClosePopups();
    UpdateWindow();
    HWND hFrame = pSite->GetSafeHwnd();
    const LONG lStyle = ::GetWindowLongA(hFrame, GWL_STYLE);
    if (bDouble) {
        if (nHit != HTCAPTION)
            return TRUE;
        if (lStyle & (WS_MAXIMIZE | WS_MINIMIZE))
            pSite->PostMessage(WM_SYSCOMMAND, SC_RESTORE | 2);
        else if ((lStyle & WS_MAXIMIZEBOX) && !IsSystemCommandDisabled(hFrame, SC_MAXIMIZE))
            pSite->PostMessage(WM_SYSCOMMAND, SC_MAXIMIZE | 2);
        return TRUE;
    }
    if (lStyle & WS_MAXIMIZE)
        return TRUE;
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    if (nHit == HTCAPTION)
        pSite->PostMessage(WM_SYSCOMMAND, SC_MOVE | 2, MAKELPARAM(ptScreen.x, ptScreen.y));
    else if (nHit >= HTLEFT && nHit <= HTBOTTOMRIGHT && !IsSystemCommandDisabled(hFrame, SC_SIZE))
        pSite->PostMessage(WM_SYSCOMMAND, 0xF000 + (nHit - 9), MAKELPARAM(ptScreen.x, ptScreen.y));
    return TRUE;
}
