// ribbonpopups.cpp - the ribbon's popups (a minimised ribbon's tab, a
// collapsed group, the QAT's overflow) and the controls that open them.
#include <qx/commandbars.h>
#include <qx/images.h>
#include <qx/keytips.h>
#include <qx/office2007.h>
#include <qx/ribbonpopups.h>
#include <qx/sysutil.h>

#include <algorithm>

using namespace qxribbon;

CQXPRibbonBar* AFXAPI QxpGetRibbonBar(CQXPCommandBar* pBar)
{
    for (int nGuard = 0; pBar && nGuard < 64; nGuard++) {
        if (CQXPRibbonBar* pRibbon = dynamic_cast<CQXPRibbonBar*>(pBar))
            return pRibbon;
        if (auto* pGroups = dynamic_cast<CQXPRibbonGroupsPopupToolBar*>(pBar))
            return pGroups->GetRibbonBar();
        if (auto* pMore = dynamic_cast<CQXPRibbonBarMorePopupToolBar*>(pBar))
            return pMore->GetRibbonBar();
        pBar = pBar->GetParentCommandBar();
    }
    return NULL;
}

namespace {

CRibbonStyleTheme* ThemeOf(CQXPCommandBar* pBar)
{
    CQXPRibbonBar* pRibbon = QxpGetRibbonBar(pBar);
    return pRibbon ? pRibbon->GetRibbonTheme() : NULL;
}

// A popup control opens only with a bar in place; each opening replaces
// this empty one with the popup it shows.
void GivePlaceholderPopup(CQXPControlPopup* pControl)
{
    CQXPPopupToolBar* pBar = CQXPPopupToolBar::CreatePopupToolBar(NULL);
    pControl->SetCommandBar(pBar);
    pBar->InternalRelease();
}

// Copies the ribbon's button and icon sizes into a popup.
CSize RibbonButtonSize(CQXPRibbonBar* pRibbon, CSize szOwn)
{
    return pRibbon ? pRibbon->GetButtonSize() : szOwn;
}

} // namespace

// ---------------------------------------------------------------------------
// CQXPRibbonGroupControlPopup

IMPLEMENT_DYNCREATE(CQXPRibbonGroupControlPopup, CQXPControlPopup)

CQXPRibbonGroupControlPopup::CQXPRibbonGroupControlPopup() : m_pGroup(NULL)
{
    m_controlType = qxpControlButtonPopup;
    m_dwFlags = qxpFlagManualUpdate;
    GivePlaceholderPopup(this);
}

void CQXPRibbonGroupControlPopup::SetGroup(CQXPRibbonGroup* pGroup) { m_pGroup = pGroup; }

CQXPRibbonGroup* CQXPRibbonGroupControlPopup::GetGroup() const
{
    if (m_pGroup)
        return m_pGroup;
    // A copy finds its group by id in the ribbon it sits on each time, so
    // that it never holds on to a group that has gone.
    CQXPRibbonBar* pRibbon = m_pParent ? QxpGetRibbonBar(m_pParent) : NULL;
    return pRibbon && m_nId > 0 ? pRibbon->FindGroup(m_nId) : NULL;
}

BOOL CQXPRibbonGroupControlPopup::IsStandIn() const { return m_pGroup && m_pGroup->GetPopupButton() == this; }

BOOL CQXPRibbonGroupControlPopup::IsVisible(DWORD dwSkipFlags) const
{
    if (!CQXPControlPopup::IsVisible(dwSkipFlags))
        return FALSE;
    CQXPRibbonGroup* pGroup = GetGroup();
    return !pGroup || pGroup->m_bVisible;
}

CSize CQXPRibbonGroupControlPopup::GetSize(CDC* pDC)
{
    // A copy elsewhere (on the QAT) is an ordinary button.
    return IsStandIn() ? GetRect().Size() : CQXPControlPopup::GetSize(pDC);
}

int CQXPRibbonGroupControlPopup::GetIconId() const
{
    // The group's icon when it has one (unless the user gave the button
    // another), else the button's own. A copy on the QAT asks the group it
    // stands for, so that it shows the picture and not the caption.
    CQXPRibbonGroup* pGroup = m_nCustomIconId == 0 ? GetGroup() : NULL;
    if (pGroup && pGroup->m_nIconId > 0)
        return pGroup->m_nIconId;
    return CQXPControlPopup::GetIconId();
}

void CQXPRibbonGroupControlPopup::Draw(CDC* pDC)
{
    CRibbonStyleTheme* pTheme = ThemeOf(GetParent());
    if (!pTheme) {
        CQXPControlPopup::Draw(pDC);
        return;
    }
    if (!IsStandIn()) {
        // A copy (on the QAT): its own face, then an ordinary button.
        pTheme->DrawRibbonGroupQuickAccessButton(pDC, this);
        CQXPControlPopup::Draw(pDC);
        return;
    }
    // The bar's large icon when the group has one drawn at that size,
    // else its small one.
    CSize szIcon = m_pParent->GetIconSize();
    const CSize szLarge = m_pParent->GetLargeIconSize();
    CQXPImageManager* pImages = m_pParent->GetImageManager();
    if (pImages && GetIconId() > 0 && pImages->HasOwnImage((UINT)GetIconId(), szLarge.cx))
        szIcon = szLarge;
    CQXPRibbonTab* pTab = m_pGroup ? m_pGroup->GetTab() : NULL;
    pTheme->DrawRibbonGroupPopupButton(pDC, this, GetImage(szIcon.cx), szIcon, pTab ? pTab->m_nContextColor : 0);
}

BOOL CQXPRibbonGroupControlPopup::OnSetPopup(BOOL bPopup)
{
    CQXPRibbonGroup* pGroup = bPopup && !m_bPopup ? GetGroup() : NULL;
    if (pGroup && pGroup->GetRibbonBar()) {
        CQXPRibbonGroupPopupToolBar* pPopup = new CQXPRibbonGroupPopupToolBar(pGroup);
        pPopup->SetCommandBars(m_pParent ? m_pParent->GetCommandBars() : NULL);
        if (m_pParent && !m_pParent->GetCommandBars())
            pPopup->SetOwnerSite(m_pParent->GetOwnerSite());
        SetCommandBar(pPopup);
        pPopup->InternalRelease();
    }
    return CQXPControlPopup::OnSetPopup(bPopup);
}

void CQXPRibbonGroupControlPopup::Copy(CQXPControl* pControl, BOOL bRecursive)
{
    // The copy stands for the group of the same id in the ribbon it goes
    // to (GetGroup): never for the source's group, which may be another
    // ribbon's or go away.
    CQXPControlPopup::Copy(pControl, bRecursive);
}

// ---------------------------------------------------------------------------
// The QAT's customise and more buttons

IMPLEMENT_DYNCREATE(CQXPRibbonBarControlQuickAccessPopup, CQXPControlPopup)
IMPLEMENT_DYNCREATE(CRibbonQuickAccessMore, CQXPRibbonBarControlQuickAccessPopup)

CQXPRibbonBarControlQuickAccessPopup::CQXPRibbonBarControlQuickAccessPopup()
{
    m_controlType = qxpControlPopup;
    m_dwFlags = qxpFlagManualUpdate | qxpFlagNoMovable;
    m_bShadow = FALSE;
    GivePlaceholderPopup(this);
}

CSize CQXPRibbonBarControlQuickAccessPopup::GetSize(CDC* pDC)
{
    (void)pDC;
    CRibbonStyleTheme* pTheme = ThemeOf(GetParent());
    return QuickAccessButtonSize(pTheme ? pTheme->m_metrics.nControlHeight : 22);
}

void CQXPRibbonBarControlQuickAccessPopup::Draw(CDC* pDC)
{
    if (CRibbonStyleTheme* pTheme = ThemeOf(GetParent()))
        pTheme->DrawRibbonQuickAccessButton(pDC, GetRect(), IsMoreButton(), GetSelected(), GetPopuped(),
                                            CRibbonStyleTheme::GetGlassFlags(this));
}

BOOL CQXPRibbonBarControlQuickAccessPopup::OnSetPopup(BOOL bPopup)
{
    if (bPopup && !m_bPopup) {
        CQXPRibbonBar* pRibbon = QxpGetRibbonBar(GetParent());
        CQXPPopupBar* pPopup = NULL;
        if (pRibbon)
            pPopup = IsMoreButton() ? pRibbon->CreateMorePopup() : pRibbon->CreateQuickAccessPopup(this);
        if (!pPopup)
            return FALSE;
        SetCommandBar(pPopup);
        pPopup->InternalRelease();
    }
    return CQXPControlPopup::OnSetPopup(bPopup);
}

// ---------------------------------------------------------------------------
// CRibbonScrollButton

CRibbonScrollButton::CRibbonScrollButton(BOOL bLeft) : m_bLeft(bLeft) { m_dwFlags = 0x12; }

void CRibbonScrollButton::Draw(CDC* pDC)
{
    if (CRibbonStyleTheme* pTheme = ThemeOf(GetParent()))
        pTheme->DrawRibbonScrollButton(pDC, GetRect(), m_bLeft, GetSelected(), GetPressed());
}

void CRibbonScrollButton::ScrollOwner()
{
    if (CRibbonGroupScroller* pScroller = CRibbonGroupScroller::GetGroupScroller(GetParent()))
        pScroller->Scroll(m_bLeft);
}

void CRibbonScrollButton::OnExecute() { ScrollOwner(); }

void CRibbonScrollButton::OnClick(BOOL bKeyboard, CPoint pt)
{
    CQXPCommandBar* pBar = GetParent();
    HWND hWnd = pBar ? pBar->GetSafeHwnd() : NULL;
    if (bKeyboard || !hWnd || !(::GetKeyState(VK_LBUTTON) & 0x8000)) {
        CQXPControlButton::OnClick(bKeyboard, pt);
        return;
    }
    InternalAddRef();
    m_nPressed = TRUE;
    ScrollOwner();
    const RepeatDelays delays = ScrollRepeatDelays(::GetDoubleClickTime());
    ::SetTimer(hWnd, kRepeatTimer, delays.nFirst, NULL);
    ::SetCapture(hWnd);
    BOOL bFirst = TRUE;
    MSG msg;
    while (::GetCapture() == hWnd && IsVisible(0)) {
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (msg.message == WM_TIMER && msg.hwnd == hWnd && msg.wParam == kRepeatTimer) {
            ScrollOwner();
            if (bFirst)
                ::SetTimer(hWnd, kRepeatTimer, delays.nNext, NULL);
            bFirst = FALSE;
            continue;
        }
        if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (::IsWindow(hWnd)) {
        if (::GetCapture() == hWnd)
            ::ReleaseCapture();
        ::KillTimer(hWnd, kRepeatTimer);
    }
    m_nPressed = FALSE;
    if (!IsVisible(0))
        m_nSelected = 0;
    if (::IsWindow(hWnd))
        pBar->Redraw();
    InternalRelease();
}

// ---------------------------------------------------------------------------
// CRibbonGroupScroller

CRibbonGroupScroller::CRibbonGroupScroller()
    : m_pBar(NULL), m_pScrollLeft(NULL), m_pScrollRight(NULL), m_pHotGroup(NULL)
{
}

CRibbonGroupScroller* AFXAPI CRibbonGroupScroller::GetGroupScroller(CQXPCommandBar* pBar)
{
    if (CQXPRibbonBar* pRibbon = dynamic_cast<CQXPRibbonBar*>(pBar))
        return pRibbon->GetGroupScroller();
    if (auto* pPopup = dynamic_cast<CQXPRibbonGroupsPopupToolBar*>(pBar))
        return pPopup->GetGroupScroller();
    return NULL;
}

void CRibbonGroupScroller::CreateScrollButtons(CQXPCommandBar* pBar)
{
    m_pBar = pBar;
    m_pScrollRight = pBar->GetControls()->AddControl(new CRibbonScrollButton(FALSE), 0);
    m_pScrollLeft = pBar->GetControls()->AddControl(new CRibbonScrollButton(TRUE), 0);
    m_pScrollLeft->SetHideFlag(qxpHideScroll, TRUE);
    m_pScrollRight->SetHideFlag(qxpHideScroll, TRUE);
}

void CRibbonGroupScroller::ShowScrollButtons(BOOL bLeft, BOOL bRight)
{
    if (!m_pScrollLeft || !m_pScrollRight)
        return;
    CRect rc;
    GetGroupsRect(&rc);
    m_pScrollLeft->SetHideFlag(qxpHideScroll, !bLeft);
    m_pScrollRight->SetHideFlag(qxpHideScroll, !bRight);
    if (bLeft)
        m_pScrollLeft->SetRect(CRect(rc.left - 1, rc.top, rc.left + kScrollButtonWidth, rc.bottom));
    if (bRight)
        m_pScrollRight->SetRect(CRect(rc.right - kScrollButtonWidth, rc.top, rc.right + 1, rc.bottom));
}

BOOL CRibbonGroupScroller::IsScrollButtonShown(BOOL bLeft) const
{
    CQXPControl* pButton = GetScrollButton(bLeft);
    return pButton && !(pButton->GetHideFlags() & qxpHideScroll);
}

void CRibbonGroupScroller::RelayoutOwner()
{
    if (m_pBar)
        m_pBar->OnRecalcLayout();
}

int CRibbonGroupScroller::GetScrollOffset() const
{
    CQXPRibbonGroupCollection* pGroups = GetScrolledGroups();
    return pGroups ? pGroups->m_nScrollOffset : 0;
}

BOOL CRibbonGroupScroller::Step(BOOL bToLeft)
{
    CQXPRibbonGroupCollection* pGroups = GetScrolledGroups();
    if (!pGroups)
        return FALSE;
    const int nOffset = ScrollGroupsOffset(pGroups->m_nScrollOffset, bToLeft);
    if (nOffset == pGroups->m_nScrollOffset)
        return FALSE;
    pGroups->m_nScrollOffset = nOffset;
    RelayoutOwner();
    return TRUE;
}

BOOL CRibbonGroupScroller::EnsureVisible(CQXPRibbonGroupCollection* pGroups, int nLeft, int nRight, int nVisibleWidth)
{
    const int nOffset = pGroups->m_nScrollOffset;
    const int nNew = EnsureVisibleOffset(nOffset, nLeft, nRight, nVisibleWidth, IsScrollButtonShown(TRUE),
                                         IsScrollButtonShown(FALSE));
    if (nNew == nOffset)
        return FALSE;
    pGroups->m_nScrollOffset = nNew;
    RelayoutOwner();
    return TRUE;
}

void CRibbonGroupScroller::SetHotGroup(CQXPRibbonGroup* pGroup)
{
    if (pGroup == m_pHotGroup)
        return;
    HWND hWnd = m_pBar ? m_pBar->GetSafeHwnd() : NULL;
    const BOOL bWindow = hWnd && ::IsWindow(hWnd);
    // Stored first: the bar paints each group at once into its copy, the
    // old one no longer lit.
    CQXPRibbonGroup* pOld = m_pHotGroup;
    m_pHotGroup = pGroup;
    if (pOld && bWindow)
        m_pBar->Redraw(pOld->GetRect());
    if (pGroup && bWindow) {
        m_pBar->Redraw(pGroup->GetRect());
        // Leaving the bar lets the group go.
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, hWnd, 0};
        ::TrackMouseEvent(&tme);
    }
}

// ---------------------------------------------------------------------------
// CQXPRibbonGroupsPopupToolBar

IMPLEMENT_DYNAMIC(CQXPRibbonGroupsPopupToolBar, CQXPPopupToolBar)

BEGIN_MESSAGE_MAP(CQXPRibbonGroupsPopupToolBar, CQXPPopupToolBar)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

CQXPRibbonGroupsPopupToolBar::CQXPRibbonGroupsPopupToolBar(CQXPRibbonBar* pRibbon) : m_pRibbon(pRibbon)
{
    m_pGroups = new CQXPRibbonGroupCollection(this, pRibbon);
    if (pRibbon)
        EnableAnimation(pRibbon->IsAnimationEnabled());
}

CQXPRibbonGroupsPopupToolBar::~CQXPRibbonGroupsPopupToolBar()
{
    m_pGroups->RemoveAll();
    m_pGroups->InternalRelease();
}

CSize CQXPRibbonGroupsPopupToolBar::GetButtonSize() const
{
    return RibbonButtonSize(m_pRibbon, CQXPPopupToolBar::GetButtonSize());
}

CSize CQXPRibbonGroupsPopupToolBar::GetIconSize() const
{
    return m_pRibbon ? m_pRibbon->GetIconSize() : CQXPPopupToolBar::GetIconSize();
}

CQXPRibbonGroup* CQXPRibbonGroupsPopupToolBar::AddGroupCopy(CQXPRibbonGroup* pSource)
{
    CQXPRibbonGroup* pCopy = m_pGroups->InsertAt(-1, new CQXPRibbonGroup);
    pCopy->CopyFrom(pSource, NULL, NULL); // shown on this popup, in the look of the ribbon
    return pCopy;
}

void CQXPRibbonTabPopupToolBar::CGroupScroller::Scroll(BOOL bToLeft)
{
    CQXPRibbonTabPopupToolBar* pPopup = GetPopup();
    pPopup->SetSelected(-1);
    if (CQXPCommandBars* pBars = pPopup->GetCommandBars())
        pBars->HideKeyboardTips();
    if (!pPopup->m_pRibbon || !::IsWindow(pPopup->GetSafeHwnd()))
        return;
    Step(bToLeft);
}

CQXPRibbonGroupCollection* CQXPRibbonTabPopupToolBar::CGroupScroller::GetScrolledGroups() const
{
    return GetPopup()->m_pGroups;
}

void CQXPRibbonTabPopupToolBar::EnsureVisible(CQXPControl* pControl)
{
    // Never the scroll buttons themselves, which sit at the band's ends.
    if (!pControl || (!FindControlGroup(pControl) && !dynamic_cast<CQXPRibbonGroupControlPopup*>(pControl)))
        return;
    if (!::IsWindow(m_hWnd))
        return;
    const CRect rc = pControl->GetRect();
    m_groupScroller.EnsureVisible(m_pGroups, rc.left - m_rcGroups.left, rc.right - m_rcGroups.left,
                                  m_rcGroups.Width());
}

void CQXPRibbonTabPopupToolBar::CGroupScroller::GetGroupsRect(RECT* pRect) const { *pRect = GetPopup()->m_rcGroups; }

CQXPRibbonGroup* CQXPRibbonTabPopupToolBar::CGroupScroller::HitTestGroup(CPoint point) const
{
    CQXPRibbonTabPopupToolBar* pPopup = GetPopup();
    return pPopup->m_rcGroups.PtInRect(point) ? pPopup->m_pGroups->HitTest(point) : NULL;
}

void CQXPRibbonGroupPopupToolBar::CGroupScroller::GetGroupsRect(RECT* pRect) const
{
    ::SetRectEmpty(pRect);
    if (::IsWindow(m_pBar->GetSafeHwnd()))
        ::GetClientRect(m_pBar->GetSafeHwnd(), pRect);
}

CQXPRibbonGroup* CQXPRibbonGroupPopupToolBar::CGroupScroller::HitTestGroup(CPoint point) const
{
    CQXPRibbonGroup* pCopy = static_cast<CQXPRibbonGroupPopupToolBar*>(m_pBar)->GetGroupCopy();
    return pCopy && pCopy->GetRect().PtInRect(point) ? pCopy : NULL;
}

void CQXPRibbonGroupsPopupToolBar::CreateKeyboardTips(CQXPKeyboardTips* pTips)
{
    if (m_pRibbon && pTips && ::IsWindow(m_hWnd))
        m_pRibbon->AddGroupKeyTips(pTips, this, m_pGroups, m_rcGroups);
}

void CQXPRibbonGroupsPopupToolBar::OnKeyboardTip(CQXPKeyboardTip* pTip)
{
    CQXPControl* pControl = pTip ? pTip->pControl : NULL;
    for (CQXPRibbonGroup* g : *m_pGroups)
        if (pControl && m_pRibbon && g->IndexOf(pControl) >= 0 && m_pRibbon->OpenCollapsedControlIn(this, g, pControl))
            return;
    CQXPPopupToolBar::OnKeyboardTip(pTip);
}

void CQXPRibbonGroupsPopupToolBar::OnMouseMove(UINT nFlags, CPoint point)
{
    CRibbonGroupScroller* pScroller = GetGroupScroller();
    if (!m_pRibbon || m_pRibbon->GetRibbonTheme()->m_bHotGroups)
        pScroller->SetHotGroup(pScroller->HitTestGroup(point));
    CQXPPopupToolBar::OnMouseMove(nFlags, point);
}

void CQXPRibbonGroupsPopupToolBar::OnMouseLeave()
{
    GetGroupScroller()->SetHotGroup(NULL);
    Default();
}

void CQXPRibbonGroupsPopupToolBar::OnRButtonUp(UINT nFlags, CPoint point)
{
    (void)nFlags;
    if (IsCustomizeMode() || !m_pRibbon)
        return;
    InternalAddRef();
    if (CQXPControl* pControl = m_pControls->HitTest(point)) {
        CWnd* pSite = GetOwnerSite();
        if (pSite && ::IsWindow(pSite->GetSafeHwnd()) &&
            pSite->SendMessage(WM_QXP_CONTROLRBUTTONUP, (WPARAM)&point, (LPARAM)pControl) == 1) {
            InternalRelease();
            return;
        }
    }
    if (::IsWindow(m_hWnd))
        m_pRibbon->OnPopupRButtonUp(this, point);
    InternalRelease();
}

void CQXPRibbonGroupsPopupToolBar::SetControlRows()
{
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* c = m_pControls->GetAt(i);
        const CRect rc = c->GetRect();
        c->SetRowRect(CRect(m_rcGroups.left, rc.top, m_rcGroups.right, rc.bottom));
    }
}

void CQXPRibbonGroupsPopupToolBar::DrawBackground(CDC* pDC, CRibbonStyleTheme* pTheme, const CRect& rcClient)
{
    pTheme->FillRibbonFace(pDC, rcClient);
}

CQXPRibbonGroup* CQXPRibbonGroupsPopupToolBar::FindControlGroup(const CQXPControl* pControl) const
{
    for (CQXPRibbonGroup* g : *m_pGroups)
        if (g->IndexOf(pControl) >= 0)
            return g;
    return NULL;
}

// The popup's background (DrawBackground), then the groups.
void CQXPRibbonGroupsPopupToolBar::DrawCommandBar(CDC* pDC, CRect rcClip)
{
    if (!m_pRibbon)
        return;
    CRibbonStyleTheme* pTheme = m_pRibbon->GetRibbonTheme();
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nMode = pDC->SetBkMode(TRANSPARENT);
    DrawBackground(pDC, pTheme, rcClient);
    CFont* pOld = pDC->SelectObject(GetControlFont());
    m_pRibbon->DrawGroupsIn(pDC, m_pGroups, rcClip, GetGroupScroller()->GetHotGroup(), m_nContextColor);
    pDC->SelectObject(pOld);
    pDC->SetBkMode(nMode);
}

// ---------------------------------------------------------------------------
// CQXPRibbonTabPopupToolBar

IMPLEMENT_DYNAMIC(CQXPRibbonTabPopupToolBar, CQXPRibbonGroupsPopupToolBar)

CQXPRibbonTabPopupToolBar::CQXPRibbonTabPopupToolBar(CQXPRibbonBar* pRibbon, CQXPRibbonTab* pTab)
    : CQXPRibbonGroupsPopupToolBar(pRibbon), m_pSourceTab(pTab)
{
    m_nContextColor = pTab->m_nContextColor;
    // Its own scroll buttons, over the ends of its band: first among its
    // controls, so that they take the pointer from the groups under them.
    m_groupScroller.CreateScrollButtons(this);
    for (CQXPRibbonGroup* g : *pTab->GetGroups())
        AddGroupCopy(g);
}

BOOL CQXPRibbonTabPopupToolBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    const BOOL bResult = CQXPRibbonGroupsPopupToolBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard);
    if (!bMode && bResult && m_pRibbon && m_pRibbon->GetTabPopup() == this)
        m_pRibbon->OnTabPopupClosed(m_pSourceTab);
    return bResult;
}

CQXPRibbonGroup* CQXPRibbonTabPopupToolBar::GetSourceOf(const CQXPRibbonGroup* pCopy) const
{
    // The copies were made in the tab's order, one per group.
    for (int i = 0; i < m_pGroups->GetCount(); i++)
        if (m_pGroups->GetAt(i) == pCopy)
            return i < m_pSourceTab->GetGroups()->GetCount() ? m_pSourceTab->GetGroups()->GetAt(i) : NULL;
    return NULL;
}

BOOL CQXPRibbonTabPopupToolBar::IsInTopRow(const CQXPControl* pControl) const
{
    if (!pControl)
        return FALSE;
    const CRect rc = pControl->GetRect();
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        const CQXPControl* c = m_pControls->GetAt(i);
        if (c != pControl && c->IsVisible(0) && c->GetRect().bottom <= rc.top && !c->GetRect().IsRectEmpty())
            return FALSE;
    }
    return TRUE;
}

int CQXPRibbonTabPopupToolBar::ProcessSpecialKey(int nAction)
{
    CQXPRibbonControlTab* pRow = m_pRibbon ? m_pRibbon->GetTabControl() : NULL;
    if (nAction == 2 && m_nPopuped == -1 && pRow && IsInTopRow(GetSelected()) && m_pRibbon->GetTabPopup() == this) {
        pRow->SelectFromPopup(3);
        return 1;
    }
    return CQXPRibbonGroupsPopupToolBar::ProcessSpecialKey(nAction);
}

void CQXPRibbonTabPopupToolBar::LayoutPopupGroups(CDC* pDC)
{
    m_pGroups->Layout(pDC, m_rcGroups, CRect(4, 3, 6, 3));
    SetControlRows();
}

void CQXPRibbonTabPopupToolBar::DrawBackground(CDC* pDC, CRibbonStyleTheme* pTheme, const CRect& rcClient)
{
    // The ribbon's face under the band's own background, whose edges lie
    // just outside the popup.
    pTheme->FillRibbonFace(pDC, rcClient);
    pTheme->DrawRibbonPopupGroupsArea(pDC, rcClient, m_nContextColor);
}

void CQXPRibbonTabPopupToolBar::DrawCommandBar(CDC* pDC, CRect rcClip)
{
    // The groups clip to the band so that scrolled ones end at its edges;
    // the scroll buttons go over them.
    pDC->SaveDC();
    pDC->IntersectClipRect(m_rcGroups);
    CQXPRibbonGroupsPopupToolBar::DrawCommandBar(pDC, rcClip);
    pDC->RestoreDC(-1);
    CRect rcInter;
    for (BOOL bLeft : {TRUE, FALSE})
        if (CQXPControl* pButton = m_groupScroller.GetScrollButton(bLeft))
            if (pButton->IsVisible(0) && rcInter.IntersectRect(pButton->GetRect(), rcClip))
                pButton->Draw(pDC);
}

CSize CQXPRibbonTabPopupToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    (void)nLength;
    (void)dwMode;
    if (m_bInLayout)
        return GetPresentSize();
    if (!m_pRibbon || !::IsWindow(m_pRibbon->GetSafeHwnd()))
        return CSize(0, 0);
    m_bInLayout = TRUE;
    CRect rcRibbon, rcTabRow = m_pRibbon->GetTabRowRect();
    m_pRibbon->GetWindowRect(&rcRibbon);
    m_pRibbon->ClientToScreen(&rcTabRow);
    const CRect rcWork = !m_rcWorkArea.IsRectEmpty()
                             ? m_rcWorkArea
                             : QxpGetPopupWorkArea(GetMultiMonitorHelper(), rcTabRow.TopLeft(), rcTabRow);
    const int nHeight = m_pRibbon->GetBarState().CalcGroupsHeight();
    const CRect rc = PlaceTabPopup(rcRibbon, rcWork, rcTabRow, nHeight);
    m_rcGroups = CRect(0, 0, rc.Width(), nHeight);
    CClientDC dc(m_hWnd && ::IsWindow(m_hWnd) ? this : NULL);
    LayoutPopupGroups(&dc);
    m_bInLayout = FALSE;
    return rc.Size();
}

// ---------------------------------------------------------------------------
// CQXPRibbonGroupPopupToolBar

IMPLEMENT_DYNCREATE(CQXPRibbonGroupPopupToolBar, CQXPRibbonGroupsPopupToolBar)

CQXPRibbonGroupPopupToolBar::CQXPRibbonGroupPopupToolBar(CQXPRibbonGroup* pGroup)
    : CQXPRibbonGroupsPopupToolBar(pGroup ? pGroup->GetRibbonBar() : NULL), m_pSourceGroup(pGroup)
{
    if (!pGroup)
        return;
    if (CQXPRibbonTab* pTab = pGroup->GetTab())
        m_nContextColor = pTab->m_nContextColor;
    if (m_pRibbon) {
        const int K = m_pRibbon->GetRibbonTheme()->m_metrics.nGroupCaption;
        m_rcBorders = CRect(2, 2, 3, K + 1);
    }
    AddGroupCopy(pGroup);
}

CSize CQXPRibbonGroupPopupToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    (void)nLength;
    (void)dwMode;
    if (m_bInLayout)
        return GetPresentSize();
    if (!m_pRibbon || m_pGroups->GetCount() == 0)
        return CSize(0, 0);
    m_bInLayout = TRUE;
    const int nHeight = m_pRibbon->GetBarState().CalcGroupsHeight();
    CClientDC dc(m_hWnd && ::IsWindow(m_hWnd) ? this : NULL);
    // Wide enough that the copy keeps its full size.
    m_rcGroups = CRect(0, 0, 0x7FFF, nHeight);
    m_pGroups->Layout(&dc, m_rcGroups, CRect(2, 0, 0, 0));
    const CSize sz = GroupPopupSize(GetGroupCopy()->GetRect().Width(), nHeight);
    m_rcGroups = CRect(CPoint(0, 0), sz);
    SetControlRows();
    m_bInLayout = FALSE;
    return sz;
}

void CQXPRibbonGroupPopupToolBar::CreateKeyboardTips(CQXPKeyboardTips* pTips)
{
    CQXPRibbonTab* pTab = m_pSourceGroup ? m_pSourceGroup->GetTab() : NULL;
    if (!pTab || !m_pRibbon || !pTips || !::IsWindow(m_hWnd)) {
        CQXPRibbonGroupsPopupToolBar::CreateKeyboardTips(pTips);
        return;
    }
    for (CQXPRibbonGroup* g : *pTab->GetGroups()) {
        if (g == m_pSourceGroup)
            m_pRibbon->AddGroupKeyTips(pTips, this, GetGroupCopy(), m_rcGroups, TRUE);
        else
            m_pRibbon->AddGroupKeyTips(pTips, m_pRibbon, g, m_pRibbon->GetGroupsRect(), FALSE);
    }
}

// ---------------------------------------------------------------------------
// CQXPRibbonBarMorePopupToolBar

IMPLEMENT_DYNAMIC(CQXPRibbonBarMorePopupToolBar, CQXPPopupToolBar)

CQXPRibbonBarMorePopupToolBar::CQXPRibbonBarMorePopupToolBar(CQXPRibbonBar* pRibbon) : m_pRibbon(pRibbon)
{
    m_rcBorders = CRect(3, 3, 3, 3);
    m_nMRUWidth = 300;
}

CSize CQXPRibbonBarMorePopupToolBar::GetButtonSize() const
{
    return RibbonButtonSize(m_pRibbon, CQXPPopupToolBar::GetButtonSize());
}

CSize CQXPRibbonBarMorePopupToolBar::GetIconSize() const
{
    return m_pRibbon ? m_pRibbon->GetIconSize() : CQXPPopupToolBar::GetIconSize();
}

void CQXPRibbonBarMorePopupToolBar::DrawCommandBar(CDC* pDC, CRect rcClip)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    CRibbonStyleTheme* pTheme = m_pRibbon ? m_pRibbon->GetRibbonTheme() : NULL;
    if (!pTheme) {
        CQXPPopupToolBar::DrawCommandBar(pDC, rcClip);
        return;
    }
    pDC->FillSolidRect(rcClient, pTheme->m_clrRibbonFace.GetColor());
    if (!pTheme->DrawThemeImage(pDC, "MOREPOPUPBARFRAME", rcClient, 0, 1, CRect(4, 4, 4, 4)))
        pTheme->DrawThemeImage(pDC, "POPUPBARFRAME", rcClient, 0, 1, CRect(4, 4, 4, 4));
    CFont* pOld = pDC->SelectObject(GetControlFont());
    CRect rcInter;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* c = m_pControls->GetAt(i);
        if (c->IsVisible(0) && rcInter.IntersectRect(c->GetRect(), rcClip))
            c->Draw(pDC);
    }
    pDC->SelectObject(pOld);
}
