// ribbonsystem.cpp - the ribbon's system button and its menu: the menu's
// frame, its bottom band of buttons, its right-column list items and
// captions and the recent-file list rebuilt before each layout.
#include <qx/commandbars.h>
#include <qx/images.h>
#include <qx/listcontrols.h>
#include <qx/office2007.h>
#include <qx/ribbonpopups.h>
#include <qx/ribbonsystem.h>
#include <qx/themeres.h>

#include <fx/doctempl.h>

#include <algorithm>

using namespace qxribbon;

namespace {

// The ribbon theme of a bar of the ribbon, or of the popups opened from it.
CRibbonStyleTheme* RibbonThemeOf(CQXPCommandBar* pBar)
{
    CQXPRibbonBar* pRibbon = QxpGetRibbonBar(pBar);
    return pRibbon ? pRibbon->GetRibbonTheme() : dynamic_cast<CRibbonStyleTheme*>(pBar ? pBar->GetPaintManager() : NULL);
}

COffice2007Theme* OfficeThemeOf(CQXPCommandBar* pBar)
{
    if (CRibbonStyleTheme* pTheme = RibbonThemeOf(pBar))
        return pTheme;
    return dynamic_cast<COffice2007Theme*>(pBar ? pBar->GetPaintManager() : NULL);
}

// A colour of the theme text's "Ribbon" section.
COLORREF RibbonColor(COffice2007Theme* pTheme, LPCSTR lpszKey, COLORREF clrDefault)
{
    ThemeResources* pRes = pTheme ? pTheme->GetThemeResources() : NULL;
    if (!pRes || pRes->GetValue("Ribbon", lpszKey).IsEmpty())
        return clrDefault;
    return pRes->GetColor("Ribbon", lpszKey);
}

} // namespace

// ---------------------------------------------------------------------------
// CQXPRibbonControlSystemButton

IMPLEMENT_DYNCREATE(CQXPRibbonControlSystemButton, CQXPControlPopup)

CQXPRibbonControlSystemButton::CQXPRibbonControlSystemButton()
{
    m_controlType = qxpControlPopup;
    m_dwFlags = qxpFlagManualUpdate | qxpFlagNoMovable;
    m_bShadow = FALSE;
}

CSize CQXPRibbonControlSystemButton::GetSize(CDC* pDC)
{
    (void)pDC;
    CRibbonStyleTheme* pTheme = RibbonThemeOf(GetParent());
    const int cy = pTheme ? pTheme->m_metrics.nTabStripHeight : 23;
    return CSize(cy, cy);
}

void CQXPRibbonControlSystemButton::Draw(CDC* pDC) { DrawAt(pDC, GetRect()); }

void CQXPRibbonControlSystemButton::DrawAt(CDC* pDC, const CRect& rc)
{
    // The round button on the frame's caption that the ribbon draws (a
    // frame hook); elsewhere (the ribbon's own caption band, no caption, a
    // bar of another kind) an ordinary toolbar button.
    CQXPRibbonBar* pRibbon = dynamic_cast<CQXPRibbonBar*>(GetParent());
    CRibbonStyleTheme* pTheme = RibbonThemeOf(GetParent());
    if (!pRibbon || !pTheme || !IsOnFrameCaption() || !pRibbon->GetBarState().IsCaptionVisible()) {
        CQXPControlPopup::Draw(pDC);
        return;
    }
    CQXPIconImage* pImage = GetImage(32);
    HICON hIcon = NULL;
    if (pImage) {
        const int nState = !GetEnabled() ? qxImageDisabled : (GetPopuped() || GetPressed()) ? qxImagePressed
                                                         : GetSelected()                    ? qxImageHot
                                                                                            : qxImageNormal;
        hIcon = pImage->GetIcon(nState).GetIcon();
    }
    CWnd* pSite = pRibbon->GetOwnerSite();
    pTheme->DrawRibbonSystemButton(pDC, rc, GetSelected() != 0, GetPopuped() || GetPressed(), hIcon,
                                   pSite ? pSite->GetSafeHwnd() : NULL);
}

BOOL CQXPRibbonControlSystemButton::OnLButtonDblClk(CPoint pt)
{
    (void)pt;
    CQXPCommandBar* pParent = GetParent();
    if (!pParent)
        return FALSE;
    if (CQXPCommandBars* pBars = pParent->GetCommandBars())
        pBars->ClosePopups();
    if (CWnd* pSite = pParent->GetOwnerSite())
        pSite->SendMessage(WM_SYSCOMMAND, SC_CLOSE | 3, 0);
    return TRUE;
}

BOOL CQXPRibbonControlSystemButton::IsOnFrameCaption() const
{
    CQXPRibbonBar* pRibbon = dynamic_cast<CQXPRibbonBar*>(GetParent());
    // The hook answers only while the ribbon, docked at the top, shows the
    // frame's caption.
    return pRibbon && pRibbon->GetFrameHook() != NULL;
}

void CQXPRibbonControlSystemButton::AdjustExcludeRect(CRect& rcExclude, BOOL bVertical)
{
    (void)bVertical;
    rcExclude = SystemMenuAnchor(rcExclude, IsOnFrameCaption() &&
                                                dynamic_cast<CQXPRibbonSystemPopupBar*>(m_pCommandBar) != NULL);
}

// ---------------------------------------------------------------------------
// CQXPRibbonSystemPopupBar

IMPLEMENT_DYNCREATE(CQXPRibbonSystemPopupBar, CQXPPopupBar)

BEGIN_MESSAGE_MAP(CQXPRibbonSystemPopupBar, CQXPPopupBar)
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CQXPRibbonSystemPopupBar::CQXPRibbonSystemPopupBar()
{
    m_rcBorders = CRect(kSystemMenuSide, kSystemMenuTop, kSystemMenuSide, kSystemMenuBottom);
    m_bShowShadow = TRUE;
}

CQXPRibbonSystemPopupBar* AFXAPI CQXPRibbonSystemPopupBar::CreateSystemPopupBar(CQXPCommandBars* pCommandBars)
{
    CQXPRibbonSystemPopupBar* pBar = new CQXPRibbonSystemPopupBar;
    pBar->SetCommandBars(pCommandBars);
    return pBar;
}

CQXPRibbonControlSystemButton* CQXPRibbonSystemPopupBar::GetSystemButton() const
{
    return dynamic_cast<CQXPRibbonControlSystemButton*>(m_pControlPopup);
}

CSize CQXPRibbonSystemPopupBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (m_bInLayout)
        return CQXPPopupBar::CalcDynamicLayout(nLength, dwMode);
    // The bottom band stays out of the columns.
    std::vector<CQXPControl*> band;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* c = m_pControls->GetAt(i);
        if (dynamic_cast<CQXPRibbonControlSystemPopupBarButton*>(c)) {
            c->SetHideFlag(qxpHideDockingPosition, TRUE);
            band.push_back(c);
        }
    }
    const CSize sz = CQXPPopupBar::CalcDynamicLayout(nLength, dwMode);
    if (band.empty())
        return sz;
    CClientDC dc(m_hWnd && ::IsWindow(m_hWnd) ? this : NULL);
    CFont* pOld = dc.SelectObject(GetControlFont());
    std::vector<int> widths;
    for (CQXPControl* c : band) {
        c->SetHideFlag(qxpHideDockingPosition, FALSE);
        widths.push_back(c->GetSize(&dc).cx);
    }
    dc.SelectObject(pOld);
    const std::vector<CRect> rects = PlaceSystemMenuButtons(widths, sz.cx, sz.cy);
    for (size_t i = 0; i < band.size(); i++) {
        band[i]->SetRect(rects[i]);
        band[i]->SetRowRect(rects[i]);
    }
    return sz;
}

// The system button's rectangle on screen (empty without one).
static CRect SystemButtonScreenRect(CQXPRibbonControlSystemButton* pButton)
{
    CQXPCommandBar* pParent = pButton ? pButton->GetParent() : NULL;
    if (!pParent || !::IsWindow(pParent->GetSafeHwnd()))
        return CRect();
    CRect rc = pButton->GetRect();
    pParent->ClientToScreen(&rc);
    return rc;
}

void CQXPRibbonSystemPopupBar::DrawCommandBar(CDC* pDC, CRect rcClip)
{
    COffice2007Theme* pTheme = OfficeThemeOf(this);
    if (!pTheme) {
        CQXPPopupBar::DrawCommandBar(pDC, rcClip);
        return;
    }
    CRect rcClient;
    GetClientRect(&rcClient);
    pTheme->DrawThemeImage(pDC, "RIBBONSYSTEMMENU", rcClient, 0, 1, m_rcBorders);
    // On the frame's caption the button shows through the menu's top border.
    CQXPRibbonControlSystemButton* pButton = GetSystemButton();
    if (pButton && pButton->IsOnFrameCaption()) {
        CRect rcButton = SystemButtonScreenRect(pButton);
        ScreenToClient(&rcButton);
        CRect rcMeet;
        if (rcMeet.IntersectRect(rcButton, rcClient))
            pButton->DrawAt(pDC, rcButton);
    }
    // The right column's backdrop, from the control that starts it.
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* c = m_pControls->GetAt(i);
        if (!c->IsVisible(0) || !c->GetWrap())
            continue;
        const CRect rcRow = c->GetRowRect().IsRectEmpty() ? c->GetRect() : c->GetRowRect();
        CRect rcColumn(rcRow.left, m_rcBorders.top, rcClient.right - m_rcBorders.right,
                       rcClient.bottom - m_rcBorders.bottom);
        pDC->FillSolidRect(rcColumn, RibbonColor(pTheme, "RecentFileListBackground", RGB(233, 238, 238)));
        break;
    }
    CFont* pOld = pDC->SelectObject(GetControlFont());
    const int nMode = pDC->SetBkMode(TRANSPARENT);
    CRect rcInter;
    BOOL bAny = FALSE;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* c = m_pControls->GetAt(i);
        if (!c->IsVisible(0))
            continue;
        if (c->GetBeginGroup() && bAny && !c->GetWrap())
            pTheme->DrawCommandBarSeparator(pDC, this, c, TRUE);
        bAny = TRUE;
        if (rcInter.IntersectRect(c->GetRect(), rcClip))
            c->Draw(pDC);
    }
    pDC->SetBkMode(nMode);
    pDC->SelectObject(pOld);
}

LRESULT CQXPRibbonSystemPopupBar::OnNcHitTest(CPoint point)
{
    if (SystemButtonScreenRect(GetSystemButton()).PtInRect(point))
        return HTTRANSPARENT;
    return CQXPPopupBar::OnNcHitTest(point);
}

// ---------------------------------------------------------------------------
// CQXPRibbonSystemPopupBarPage

IMPLEMENT_DYNCREATE(CQXPRibbonSystemPopupBarPage, CQXPPopupBar)

CSize CQXPRibbonSystemPopupBarPage::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    CSize sz = CQXPPopupBar::CalcDynamicLayout(nLength, dwMode);
    CQXPCommandBar* pOwnerBar = m_pControlPopup ? m_pControlPopup->GetParent() : NULL;
    if (auto* pMenu = dynamic_cast<CQXPRibbonSystemPopupBar*>(pOwnerBar)) {
        if (::IsWindow(pMenu->GetSafeHwnd())) {
            CRect rc;
            pMenu->GetClientRect(&rc);
            sz.cy = std::max((int)sz.cy, SystemMenuPageMinHeight(rc.Height()));
        }
    }
    return sz;
}

void CQXPRibbonSystemPopupBarPage::AdjustExcludeRect(CRect& rcExclude, BOOL bVertical)
{
    auto* pMenu = dynamic_cast<CQXPRibbonSystemPopupBar*>(m_pControlPopup ? m_pControlPopup->GetParent() : NULL);
    if (!pMenu || !::IsWindow(pMenu->GetSafeHwnd())) {
        CQXPPopupBar::AdjustExcludeRect(rcExclude, bVertical);
        return;
    }
    CPoint ptTop(0, kSystemMenuTop + 1);
    pMenu->ClientToScreen(&ptTop);
    rcExclude.top = ptTop.y;
    rcExclude.right += 1;
}

// ---------------------------------------------------------------------------
// The menu's own controls

IMPLEMENT_DYNCREATE(CQXPRibbonControlSystemPopupBarButton, CQXPControlButton)

CQXPRibbonControlSystemPopupBarButton::CQXPRibbonControlSystemPopupBarButton() {}

CSize CQXPRibbonControlSystemPopupBarButton::GetSize(CDC* pDC)
{
    CQXPCommandBar* pParent = GetParent();
    CSize sz = pParent ? pParent->GetPaintManager()->DrawControlToolBarParent(pDC, this, FALSE) : CSize(0, 22);
    return CSize(sz.cx, 22);
}

void CQXPRibbonControlSystemPopupBarButton::Draw(CDC* pDC)
{
    COffice2007Theme* pTheme = OfficeThemeOf(GetParent());
    if (pTheme)
        pTheme->DrawThemeImage(pDC, "RIBBONSYSTEMMENUBUTTON", GetRect(), GetSelected() ? 1 : 0, 2, CRect(2, 2, 2, 2),
                               RGB(255, 0, 255));
    // The icon and caption as any toolbar button draws them, over the face.
    CQXPCommandBar* pParent = GetParent();
    if (pParent)
        pParent->GetPaintManager()->DrawControlToolBarParent(pDC, this, TRUE);
}

IMPLEMENT_DYNCREATE(CQXPRibbonControlSystemPopupBarListItem, CQXPControlButton)

CQXPRibbonControlSystemPopupBarListItem::CQXPRibbonControlSystemPopupBarListItem()
    : m_nItemWidth(300), m_nItemHeight(21)
{
}

CSize CQXPRibbonControlSystemPopupBarListItem::GetSize(CDC* pDC)
{
    (void)pDC;
    return CSize(m_nItemWidth, m_nItemHeight);
}

void CQXPRibbonControlSystemPopupBarListItem::Draw(CDC* pDC)
{
    CQXPCommandBar* pParent = GetParent();
    if (!pParent)
        return;
    CQXPThemePainter* pPaint = pParent->GetPaintManager();
    pPaint->DrawControlBackground(pDC, this);
    const COLORREF clrOld = pDC->SetTextColor(pPaint->GetControlTextColor(this));
    const int nMode = pDC->SetBkMode(TRANSPARENT);
    CRect rc = GetRect();
    rc.left += 7;
    pDC->DrawText(GetCaption(), rc, DT_SINGLELINE | DT_VCENTER);
    pDC->SetBkMode(nMode);
    pDC->SetTextColor(clrOld);
}

void CQXPRibbonControlSystemPopupBarListItem::Copy(CQXPControl* pControl, BOOL bRecursive)
{
    CQXPControlButton::Copy(pControl, bRecursive);
    if (auto* p = dynamic_cast<CQXPRibbonControlSystemPopupBarListItem*>(pControl)) {
        m_nItemWidth = p->m_nItemWidth;
        m_nItemHeight = p->m_nItemHeight;
    }
}

IMPLEMENT_DYNCREATE(CQXPRibbonControlSystemPopupBarListCaption, CQXPControl)

CQXPRibbonControlSystemPopupBarListCaption::CQXPRibbonControlSystemPopupBarListCaption()
    : m_nItemWidth(300), m_nItemHeight(27)
{
    m_dwFlags = qxpFlagWrapRow | qxpFlagNoMovable | qxpFlagManualUpdate | qxpFlagSkipFocus;
}

CSize CQXPRibbonControlSystemPopupBarListCaption::GetSize(CDC* pDC)
{
    (void)pDC;
    return CSize(m_nItemWidth, m_nItemHeight);
}

void CQXPRibbonControlSystemPopupBarListCaption::Draw(CDC* pDC)
{
    CQXPCommandBar* pParent = GetParent();
    if (!pParent)
        return;
    CQXPThemePainter* pPaint = pParent->GetPaintManager();
    COffice2007Theme* pTheme = OfficeThemeOf(pParent);
    CFont* pOld = pDC->SelectObject(pPaint->GetRegularBoldFont());
    const COLORREF clrOld = pDC->SetTextColor(pPaint->GetControlTextColor(this));
    const int nMode = pDC->SetBkMode(TRANSPARENT);
    const CRect rc = GetRect();
    CRect rcText(rc.left + 7, rc.top + 4, rc.right, rc.bottom - 5);
    pDC->DrawText(GetCaption(), rcText, DT_SINGLELINE);
    pDC->FillSolidRect(rc.left, rc.bottom - 6, rc.Width(), 1,
                       RibbonColor(pTheme, "RecentFileListEdgeShadow", RGB(197, 197, 197)));
    pDC->FillSolidRect(rc.left, rc.bottom - 5, rc.Width(), 1,
                       RibbonColor(pTheme, "RecentFileListEdgeHighLight", RGB(245, 245, 245)));
    pDC->SetBkMode(nMode);
    pDC->SetTextColor(clrOld);
    pDC->SelectObject(pOld);
}

void CQXPRibbonControlSystemPopupBarListCaption::Copy(CQXPControl* pControl, BOOL bRecursive)
{
    CQXPControl::Copy(pControl, bRecursive);
    if (auto* p = dynamic_cast<CQXPRibbonControlSystemPopupBarListCaption*>(pControl)) {
        m_nItemWidth = p->m_nItemWidth;
        m_nItemHeight = p->m_nItemHeight;
    }
}

// ---------------------------------------------------------------------------
// CQXPRibbonControlSystemRecentFileList

IMPLEMENT_DYNCREATE(CQXPRibbonControlSystemRecentFileList, CQXPRibbonControlSystemPopupBarListCaption)

CRecentFileList* CQXPRibbonControlSystemRecentFileList::GetRecentFileList() { return AfxGetRecentFileList(); }

int CQXPRibbonControlSystemRecentFileList::GetFirstMruId() { return QXP_ID_FIRST_MRU; }

void CQXPRibbonControlSystemRecentFileList::OnCalcDynamicSize(DWORD dwMode)
{
    (void)dwMode;
    CQXPControls* pControls = GetControls();
    CRecentFileList* pList = GetRecentFileList();
    if (!pControls || !pList || pList->GetSize() <= 0)
        return;
    const UINT nFirst = (UINT)GetFirstMruId();
    const int nSize = pList->GetSize();
    // The items of the last build: the recent-file ids right after the
    // list, first .. first + size - 1.
    while (CQXPControl* pNext = pControls->GetAt(GetIndex() + 1)) {
        if (!IsRecentFileItemId((UINT)pNext->GetID(), nFirst, nSize))
            break;
        pControls->Remove(pNext);
    }
    if (GetParent() && GetParent()->IsCustomizeMode()) {
        SetHideFlags(0);
        return;
    }
    std::vector<CString> paths;
    for (int i = 0; i < nSize; i++)
        paths.push_back((*pList)[i]);
    const std::vector<CString> captions = RecentFileCaptions(paths);
    for (size_t i = 0; i < captions.size(); i++) {
        CQXPControl* pItem = pControls->AddControl(new CQXPRibbonControlSystemPopupBarListItem, (int)(nFirst + i),
                                                   CString(), GetIndex() + 1 + (int)i, TRUE);
        pItem->SetCaption(captions[i]);
        pItem->SetFlags(qxpFlagShowPopupBarTip | qxpFlagManualUpdate);
        pItem->SetTooltip(paths[i]);
        pItem->SetDescription(CString());
    }
}
