// gallery.cpp - the gallery control and its action.
#include <qx/gallery.h>

#include <qx/cbaccess.h>
#include <qx/commandbar.h>
#include <qx/commandbars.h>
#include <qx/paintmanager.h>
#include <qx/propexchange.h>

#include <oleacc.h>

#include <algorithm>
#include <cstdlib>

namespace {

const int kThreeButtonWidth = 16; // the scroll column of a gallery with a drop-down
const int kDragDistance = 5;
const int kHoverDelay = 200;

} // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_DYNCREATE(CQXPControlGalleryAction, CQXPControlAction)

CQXPControlGalleryAction::CQXPControlGalleryAction() : m_pItems(new GalleryItemList) {}

CQXPControlGalleryAction::~CQXPControlGalleryAction()
{
    delete m_pItems;
}

// ---------------------------------------------------------------------------
IMPLEMENT_DYNCREATE(CQXPControlGallery, CQXPControlPopup)

CQXPControlGallery::CQXPControlGallery()
    : m_bShowLabels(TRUE), m_bShowScrollBar(TRUE), m_bShowBorders(FALSE), m_rcMargin(0, 0, 0, 0),
      m_bResizable(FALSE), m_nCheckedItem(-1), m_nHotItem(-1), m_bHideSelection(FALSE), m_bPressed(FALSE),
      m_ptPressed(0, 0), m_nScrollOffset(0), m_bKeyboardSelected(FALSE), m_bPreview(FALSE), m_nHotPart(0), m_nRepeatPeriod(0), m_bAnimating(FALSE),
      m_nAnimationTarget(0), m_dAnimationStep(0.0),
      m_geo()
{
    m_controlType = qxpControlGallery;
    m_nWidth = 120;
    m_nHeight = 60;
    m_dwFlags = 0x40;
    m_geo.bVertical = TRUE;
    Init(this);
}

CQXPControlGallery::~CQXPControlGallery() {}

// ---------------------------------------------------------------------------
// Items

GalleryItemList* CQXPControlGallery::GetItems() const
{
    CQXPControlGalleryAction* pAction = dynamic_cast<CQXPControlGalleryAction*>(m_pAction);
    return pAction ? pAction->GetItems() : NULL;
}

int CQXPControlGallery::GetItemCount() const
{
    GalleryItemList* pItems = GetItems();
    return pItems ? pItems->GetItemCount() : 0;
}

GalleryItem* CQXPControlGallery::GetItem(int nIndex) const
{
    GalleryItemList* pItems = GetItems();
    return pItems ? pItems->GetItem(nIndex) : NULL;
}

CString CQXPControlGallery::GetItemCaption(int nIndex) const
{
    GalleryItem* pItem = GetItem(nIndex);
    return pItem ? pItem->GetCaption() : CString();
}

int CQXPControlGallery::ScrollBarWidth() const
{
    if (!m_bShowScrollBar || !m_pParent)
        return 0;
    CQXPThemePainter* pPaint = GetGlobalPaintManager();
    if (m_pCommandBar)
        return pPaint ? pPaint->GetGalleryPainter()->m_nColumnWidth : kThreeButtonWidth;
    return pPaint ? pPaint->GetGalleryPainter()->m_cxVScroll : ::GetSystemMetrics(SM_CXVSCROLL);
}

BOOL CQXPControlGallery::HasBottomGap() const
{
    if (!m_pParent || m_bShowBorders || m_pParent->GetType() != qxpBarTypePopup)
        return FALSE;
    CQXPControls* pControls = m_pParent->GetControls();
    for (int i = m_nIndex + 1; i < pControls->GetCount(); ++i)
        if (pControls->GetAt(i)->IsVisible())
            return TRUE;
    return FALSE;
}

CRect CQXPControlGallery::GetItemsRect() const
{
    CRect rcBorders = QXPGalleryBorders(m_bShowBorders, ScrollBarWidth(), HasBottomGap(), m_rcMargin);
    CRect rc(m_rcControl);
    rc.left += rcBorders.left;
    rc.top += rcBorders.top;
    rc.right -= rcBorders.right;
    rc.bottom -= rcBorders.bottom;
    return rc;
}

BOOL CQXPControlGallery::IsButtonStyle() const
{
    return GetStyle() != 0;
}

void CQXPControlGallery::Relayout()
{
    if (!m_pParent || IsButtonStyle()) {
        m_layout.Clear();
        return;
    }
    m_layout.Layout(GetItems(), GetItemsRect(), m_bShowLabels);
    m_nScrollOffset = m_layout.ClampOffset(m_nScrollOffset);
    if (m_nHotItem >= m_layout.GetCount())
        m_nHotItem = -1;
    UpdateScrollBar();
}

void CQXPControlGallery::EnsureLayout()
{
    // A changed list may have freed items the records point to.
    if (!m_layout.IsCurrent(GetItems()) || m_layout.GetItemsRect() != GetItemsRect())
        Relayout();
}

int CQXPControlGallery::HitTestItem(CPoint pt, CRect* prcItem)
{
    EnsureLayout();
    RECT rc = {};
    int nIndex = m_layout.HitTest(pt, m_nScrollOffset, &rc);
    if (prcItem)
        *prcItem = rc;
    return nIndex;
}

CRect CQXPControlGallery::GetItemDrawRect(int nIndex)
{
    EnsureLayout();
    if (nIndex < 0 || nIndex >= m_layout.GetCount())
        return CRect(0, 0, 0, 0);
    CRect rc(m_layout.GetAt(nIndex).rcItem);
    rc.OffsetRect(0, -m_nScrollOffset);
    CRect rcClip;
    rcClip.IntersectRect(rc, GetItemsRect());
    return rcClip;
}

int CQXPControlGallery::FindItem(int nStart, LPCSTR lpszText, BOOL bExact) const
{
    return QXPGalleryFindItem(GetItems(), nStart, lpszText, bExact);
}

void CQXPControlGallery::SetCheckedItem(int nId)
{
    if (m_nCheckedItem != nId) {
        m_nCheckedItem = nId;
        RedrawParent(FALSE);
    }
}

// ---------------------------------------------------------------------------
// Selection and previews

void CQXPControlGallery::InvalidateItems(int nOld, int nNew)
{
    if (!m_pParent)
        return;
    GalleryItemList* pItems = GetItems();
    if (pItems && pItems->GetRedrawChangedItems()) {
        for (int n : {nOld, nNew}) {
            CRect rc = GetItemDrawRect(n);
            if (!rc.IsRectEmpty())
                m_pParent->Redraw(&rc, FALSE);
        }
    } else {
        RedrawParent(FALSE);
    }
}

void CQXPControlGallery::HideSelection()
{
    m_bHideSelection = TRUE;
    m_bKeyboardSelected = FALSE;
    InvalidateItems(m_nHotItem, -1);
    if (m_bPreview) {
        if (m_nHotItem != -1)
            NotifySite(GalleryPreviewChange);
        m_bPreview = FALSE;
        NotifySite(GalleryPreviewCancel);
    }
}

void CQXPControlGallery::SetHot(int nIndex)
{
    int nOld = m_nHotItem;
    m_nHotItem = nIndex;
    m_bHideSelection = FALSE;
    m_bKeyboardSelected = FALSE;
    m_bPressed = FALSE;
    InvalidateItems(nOld, nIndex);
    if (m_bPreview)
        NotifySite(GalleryPreviewChange);
    else if (nIndex != -1 && m_pParent && ::IsWindow(m_pParent->GetSafeHwnd()))
        ::SetTimer(m_pParent->GetSafeHwnd(), QXP_TID_HOVER, kHoverDelay, NULL);
    if (m_nHotItem == -1 && m_bPreview) {
        m_bPreview = FALSE;
        NotifySite(GalleryPreviewCancel);
    }
}

void CQXPControlGallery::SetSelectedItem(int nIndex)
{
    EnsureLayout();
    if (nIndex < -1 || nIndex >= m_layout.GetCount())
        nIndex = -1;
    int nOld = m_nHotItem;
    m_nHotItem = nIndex;
    m_bHideSelection = FALSE;
    m_bPressed = FALSE;
    m_bKeyboardSelected = TRUE;
    InvalidateItems(nOld, -1);
    EnsureVisible(nIndex);
    InvalidateItems(-1, nIndex);
    if (nIndex != -1 && m_pParent && ::IsWindow(m_pParent->GetSafeHwnd()))
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, m_pParent->GetSafeHwnd(), OBJID_CLIENT, nIndex + 1);
    if (nIndex != -1) {
        if (!m_bPreview) {
            m_bPreview = TRUE;
            NotifySite(GalleryPreviewStart);
        }
        NotifySite(GalleryPreviewChange);
    } else if (m_bPreview) {
        m_bPreview = FALSE;
        NotifySite(GalleryPreviewCancel);
    }
}

void CQXPControlGallery::OnMouseMove(CPoint pt)
{
    if (IsButtonStyle()) {
        CQXPControlPopup::OnMouseMove(pt);
        return;
    }
    int nHit = HitTestItem(pt);
    BOOL bChange = TRUE;
    if (nHit == -1) {
        if (m_bKeyboardSelected)
            bChange = FALSE;
        else if (pt == CPoint(-1, -1) && m_nHotItem != -1) {
            if (!m_bHideSelection)
                HideSelection();
            bChange = FALSE;
        }
    }
    if (bChange && (nHit != m_nHotItem || m_bHideSelection || m_bKeyboardSelected))
        SetHot(nHit);

    if (m_bPressed && m_ptPressed != CPoint(0, 0) && m_nHotItem != -1 &&
        (abs(pt.x - m_ptPressed.x) >= kDragDistance || abs(pt.y - m_ptPressed.y) >= kDragDistance)) {
        m_ptPressed = CPoint(0, 0);
        NotifySite(GalleryBeginDrag);
    }

    int nPart = QXPScrollBarHitTest(m_geo, pt);
    if (nPart != m_nHotPart) {
        m_nHotPart = nPart;
        RedrawParent(FALSE);
    }
}

void CQXPControlGallery::OnMouseHover()
{
    if (IsButtonStyle()) {
        CQXPControlPopup::OnMouseHover();
        return;
    }
    if (!m_bHideSelection && m_nHotItem != -1 && !m_bPreview && m_nSelected) {
        m_bPreview = TRUE;
        NotifySite(GalleryPreviewStart);
        NotifySite(GalleryPreviewChange);
    }
    // The popup behaviour only while the bar has this gallery's own
    // drop-down open: resting on an item never closes anything.
    if (m_pParent && m_pCommandBar && m_pParent->GetPopupedIndex() == m_nIndex)
        CQXPControlPopup::OnMouseHover();
}

void CQXPControlGallery::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (IsButtonStyle()) {
        CQXPControlPopup::OnClick(bKeyboard, pt);
        return;
    }
    if (IsCustomizeMode()) {
        if (m_pParent) {
            m_pParent->SetPopuped(-1);
            m_pParent->SetSelected(-1);
            OnCustomizeClick(pt);
        }
        return;
    }
    if (!GetEnabled() || bKeyboard)
        return;
    OnMouseMove(pt);
    int nPart = QXPScrollBarHitTest(m_geo, pt);
    if (nPart == qxpScrollHitPopup) {
        if (m_pParent && m_pCommandBar)
            m_pParent->SetPopuped(m_nIndex);
        return;
    }
    if (nPart != 0) {
        if (m_pParent && ::IsWindow(m_pParent->GetSafeHwnd()))
            QXPTrackScrollBar(this, m_pParent->GetSafeHwnd(), pt, &m_geo, ::GetKeyState(VK_SHIFT) < 0,
                              &m_nRepeatPeriod);
        m_nHotPart = 0;
        if (m_pParent && ::IsWindow(m_pParent->GetSafeHwnd())) {
            CPoint ptCursor;
            ::GetCursorPos(&ptCursor);
            ::ScreenToClient(m_pParent->GetSafeHwnd(), &ptCursor);
            m_nHotPart = QXPScrollBarHitTest(m_geo, ptCursor);
        }
        RedrawParent(FALSE);
        return;
    }
    if (m_pParent && m_pParent->GetPopupedIndex() != -1)
        m_pParent->SetPopuped(-1);
    if (m_nHotItem != -1 && !m_bKeyboardSelected) {
        m_ptPressed = pt;
        m_bPressed = TRUE;
        RedrawParent(FALSE);
    }
}

void CQXPControlGallery::OnLButtonUp(CPoint pt)
{
    if (IsButtonStyle()) {
        CQXPControlPopup::OnLButtonUp(pt);
        return;
    }
    if (m_bPressed) {
        m_bPressed = FALSE;
        RedrawParent(FALSE);
        OnExecute();
    }
}

void CQXPControlGallery::OnExecute()
{
    if (m_bPreview) {
        m_bPreview = FALSE;
        NotifySite(GalleryPreviewApply);
    }
    CQXPControlPopup::OnExecute();
}

BOOL CQXPControlGallery::OnSetPopup(BOOL bPopup)
{
    if (m_bPreview) {
        m_bPreview = FALSE;
        NotifySite(GalleryPreviewCancel);
    }
    return CQXPControlPopup::OnSetPopup(bPopup);
}

BOOL CQXPControlGallery::OnSetSelected(int bSelected)
{
    if (IsButtonStyle())
        return CQXPControlPopup::OnSetSelected(bSelected);
    if (bSelected == 0) {
        m_bPressed = FALSE;
        m_nHotPart = 0;
        if (!m_bHideSelection)
            HideSelection();
    } else if ((bSelected == 2 || bSelected == 3) && (m_nHotItem == -1 || m_bHideSelection)) {
        EnsureLayout();
        SetSelectedItem(m_layout.NextSelectable(-1, bSelected == 2 ? 1 : -1));
    }
    return CQXPControlPopup::OnSetSelected(bSelected);
}

int CQXPControlGallery::OnHookKeyDown(UINT nKey, LPARAM lKeyData)
{
    if (IsButtonStyle())
        return CQXPControlPopup::OnHookKeyDown(nKey, lKeyData);
    if (!m_nSelected)
        return 0;
    EnsureLayout();
    BOOL bRtl = m_pParent && (::GetWindowLongA(m_pParent->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    BOOL bShift = ::GetKeyState(VK_SHIFT) < 0;
    GalleryItemList* pItems = GetItems();
    BOOL bHandled = FALSE, bExecute = FALSE;
    int nHot = m_bHideSelection ? -1 : m_nHotItem;
    int nNew = m_layout.OnKey(nKey, bShift, bRtl, nHot, pItems ? pItems->GetItemWidth() : 0, &bHandled, &bExecute);
    if (bExecute) {
        OnExecute();
        return 0;
    }
    if (!bHandled)
        return 0;
    SetSelectedItem(nNew);
    return 1;
}

BOOL CQXPControlGallery::OnHookMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (IsButtonStyle())
        return CQXPControlPopup::OnHookMouseWheel(nFlags, zDelta, pt);
    GalleryItemList* pItems = GetItems();
    int cy = pItems ? pItems->GetItemHeight() : 0;
    ScrollTo(m_nScrollOffset + (zDelta < 0 ? 3 * cy : -3 * cy));
    return TRUE;
}

// ---------------------------------------------------------------------------
// Scrolling

void CQXPControlGallery::EnsureVisible(int nIndex)
{
    EnsureLayout();
    ScrollTo(m_layout.EnsureVisibleOffset(nIndex, m_nScrollOffset, m_bShowLabels));
}

void CQXPControlGallery::ScrollTo(int nOffset)
{
    EnsureLayout();
    nOffset = m_layout.ClampOffset(nOffset);
    if (m_bAnimating) {
        m_bAnimating = FALSE;
        if (m_pParent && ::IsWindow(m_pParent->GetSafeHwnd()))
            ::KillTimer(m_pParent->GetSafeHwnd(), QXP_TID_GALLERY_ANIMATE);
    }
    if (nOffset == m_nScrollOffset)
        return;
    m_nScrollOffset = nOffset;
    Relayout();
    RedrawParent(FALSE);
}

void CQXPControlGallery::ScrollToAnimated(int nOffset)
{
    EnsureLayout();
    nOffset = m_layout.ClampOffset(nOffset);
    if (nOffset == (m_bAnimating ? m_nAnimationTarget : m_nScrollOffset))
        return;
    if (!m_pParent || !::IsWindow(m_pParent->GetSafeHwnd())) {
        ScrollTo(nOffset);
        return;
    }
    m_nAnimationTarget = nOffset;
    m_dAnimationStep = QXPGalleryAnimationStep(m_nScrollOffset, nOffset, m_nRepeatPeriod);
    m_bAnimating = TRUE;
    ::SetTimer(m_pParent->GetSafeHwnd(), QXP_TID_GALLERY_ANIMATE, 40, NULL);
    AnimationStep();
}

void CQXPControlGallery::AnimationStep()
{
    if (!m_bAnimating)
        return;
    BOOL bDone = FALSE;
    m_nScrollOffset = QXPGalleryAnimationTick(m_nScrollOffset, m_nAnimationTarget, m_dAnimationStep, &bDone);
    if (bDone) {
        m_bAnimating = FALSE;
        if (m_pParent && ::IsWindow(m_pParent->GetSafeHwnd()))
            ::KillTimer(m_pParent->GetSafeHwnd(), QXP_TID_GALLERY_ANIMATE);
    }
    Relayout();
    RedrawParent(FALSE);
    if (m_pParent && ::IsWindow(m_pParent->GetSafeHwnd()))
        ::UpdateWindow(m_pParent->GetSafeHwnd());
}

CRect CQXPControlGallery::GetScrollBarRect() const
{
    if (!m_bShowScrollBar || !m_pParent)
        return CRect(0, 0, 0, 0);
    int f = m_bShowBorders ? 1 : 0;
    int g = HasBottomGap() ? 2 : 0;
    int w = ScrollBarWidth();
    return CRect(m_rcControl.right - w - f, m_rcControl.top + f, m_rcControl.right - f, m_rcControl.bottom - f - g);
}

QXPScrollInfo CQXPControlGallery::GetScrollInfo() const
{
    QXPScrollInfo info;
    info.nMin = 0;
    info.nMax = m_layout.GetContentHeight() - 1 > 0 ? m_layout.GetContentHeight() - 1 : 0;
    info.nPage = GetItemsRect().Height();
    info.nPos = m_nScrollOffset;
    return info;
}

void CQXPControlGallery::UpdateScrollBar()
{
    m_geo.bVertical = TRUE;
    if (m_pCommandBar) {
        // Where the painter draws the buttons, they are hit.
        CQXPThemePainter* pPaint = GetGlobalPaintManager();
        CGalleryPainter* pPainter = pPaint ? pPaint->GetGalleryPainter() : NULL;
        QXPCalcThreeButtonScrollBar(GetScrollBarRect(), GetScrollInfo(), &m_geo,
                                    pPainter ? pPainter->m_nUpHeight : QXP_GALLERY_SCROLL_BUTTON,
                                    pPainter ? pPainter->m_nDownHeight : QXP_GALLERY_SCROLL_BUTTON);
    } else {
        CQXPThemePainter* pPaint = GetGlobalPaintManager();
        int nArrow = pPaint ? pPaint->GetGalleryPainter()->m_cyVScroll : ::GetSystemMetrics(SM_CYVSCROLL);
        QXPCalcStandardScrollBar(GetScrollBarRect(), GetScrollInfo(), nArrow, &m_geo);
    }
}

void CQXPControlGallery::DoScroll(int nCode, int nPosition)
{
    GalleryItemList* pItems = GetItems();
    int nStart = m_bAnimating ? m_nAnimationTarget : m_nScrollOffset;
    int nValue = QXPGalleryScrollValue(nCode, nPosition, nStart, pItems ? pItems->GetItemHeight() : 0,
                                       GetItemsRect().Height(), m_layout.GetContentHeight());
    // The three-button column steps smoothly.
    if (m_pCommandBar && (nCode == SB_LINEUP || nCode == SB_LINEDOWN || nCode == SB_ENDSCROLL))
        ScrollToAnimated(nValue);
    else
        ScrollTo(nValue);
}

void CQXPControlGallery::RedrawScrollBar()
{
    RedrawParent(FALSE);
}

BOOL CQXPControlGallery::IsScrollEnabled(int nPart) const
{
    if (!GetEnabled())
        return FALSE;
    if (!m_pCommandBar)
        return TRUE;
    if (nPart == qxpScrollHitArrowBefore)
        return m_nScrollOffset > 0;
    if (nPart == qxpScrollHitArrowAfter)
        return m_nScrollOffset < m_layout.GetContentHeight() - GetItemsRect().Height();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Geometry and drawing

void CQXPControlGallery::SetRect(const CRect& rc)
{
    BOOL bChanged = rc != m_rcControl;
    CQXPControlPopup::SetRect(rc);
    if (bChanged)
        Relayout();
}

void CQXPControlGallery::SetAction(CQXPControlAction* pAction)
{
    CQXPControlPopup::SetAction(pAction);
    Relayout();
}

CSize CQXPControlGallery::GetSize(CDC* pDC)
{
    if (IsButtonStyle()) {
        int cx = m_nWidth, cy = m_nHeight;
        m_nWidth = m_nHeight = 0;
        CSize sz = CQXPControlPopup::GetSize(pDC);
        m_nWidth = cx;
        m_nHeight = cy;
        return sz;
    }
    int cx = m_nWidth;
    if (m_bResizable && GetItemCount() > 0 && cx < GetCustomizeMinWidth())
        cx = GetCustomizeMinWidth();
    return CSize(cx, m_nHeight);
}

int CQXPControlGallery::GetCustomizeMinWidth() const
{
    GalleryItemList* pItems = GetItems();
    if (!pItems || pItems->GetItemCount() == 0)
        return 0;
    if (m_pParent && m_pParent->GetType() == qxpBarTypePopup) {
        CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(m_pParent);
        CQXPControl* pOwner = pPopup ? pPopup->m_pControlPopup : NULL;
        if (pOwner && pOwner->GetType() == qxpControlGallery)
            return pOwner->GetWidth();
    }
    CRect rcBorders = QXPGalleryBorders(m_bShowBorders, ScrollBarWidth(), HasBottomGap(), m_rcMargin);
    return std::max(pItems->GetItemWidth(), 16) + rcBorders.left + rcBorders.right;
}

int CQXPControlGallery::GetCustomizeMinHeight() const
{
    GalleryItemList* pItems = GetItems();
    if (!pItems || pItems->GetItemCount() == 0)
        return 0;
    CRect rcBorders = QXPGalleryBorders(m_bShowBorders, ScrollBarWidth(), HasBottomGap(), m_rcMargin);
    return std::max(pItems->GetItemHeight() + (int)rcBorders.top + (int)rcBorders.bottom, 32);
}

CString CQXPControlGallery::GetTooltipAt(CPoint pt, CRect* prcTip, INT_PTR* pnTool)
{
    if (IsButtonStyle())
        return CString();
    CRect rc;
    int nIndex = HitTestItem(pt, &rc);
    GalleryItem* pItem = GetItem(nIndex);
    if (!pItem)
        return CString();
    if (prcTip)
        *prcTip = rc;
    if (pnTool)
        *pnTool = (INT_PTR)pItem->GetID() + 1;
    return pItem->GetTooltip();
}

BOOL CQXPControlGallery::IsCustomizeResizeAllow() const
{
    return m_bResizable && GetItemCount() > 0;
}

void CQXPControlGallery::AdjustExcludeRect(CRect& rcExclude, BOOL bVertical)
{
    (void)bVertical;
    rcExclude = CRect(rcExclude.left - 1, rcExclude.top, rcExclude.left - 1, rcExclude.top);
}

QXPGalleryView CQXPControlGallery::GetPaintView() const
{
    QXPGalleryView g;
    g.rc = m_rcControl;
    g.bEnabled = GetEnabled();
    g.bSelected = m_nSelected != 0;
    CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(m_pParent);
    g.bInPopupGallery = pPopup && (dynamic_cast<CQXPControlComboBoxGalleryPopupBar*>(pPopup) ||
                                   (pPopup->m_pControlPopup && pPopup->m_pControlPopup->GetType() == qxpControlGallery));
    g.bBorders = m_bShowBorders;
    g.bBottomDivider = HasBottomGap();
    if (m_pCommandBar)
        g.rcScrollBar = m_geo.rcBar;
    g.nHotPart = m_nHotPart;
    g.nPressedPart = m_geo.bPressedInside ? m_geo.nTrackedPart : 0;
    g.bCanScrollUp = IsScrollEnabled(qxpScrollHitArrowBefore);
    g.bCanScrollDown = IsScrollEnabled(qxpScrollHitArrowAfter);
    return g;
}

QXPGalleryScrollBarView CQXPControlGallery::GetScrollBarView() const
{
    QXPGalleryScrollBarView bar;
    CQXPThemePainter* pPaint = GetGlobalPaintManager();
    bar.nType = pPaint ? pPaint->GetGalleryPainter()->GetScrollBarLook() : qxpGalleryBarSystem;
    bar.hWnd = m_pParent ? m_pParent->GetSafeHwnd() : NULL;
    bar.bVertical = TRUE;
    bar.bEnabled = GetEnabled();
    const ScrollBarGeometry& g = m_geo;
    bar.rc = g.rcBar;
    if (bar.rc.IsRectEmpty())
        return bar;
    bar.rcArrowBefore = CRect(g.rcBar.left, g.pxStart, g.rcBar.right, g.pxFirstArrowEnd);
    bar.rcArrowAfter = CRect(g.rcBar.left, g.pxSecondArrowStart, g.rcBar.right, g.pxEnd);
    // No thumb when it does not fit before the second arrow.
    if (g.pxThumbLength > 0 && g.pxThumbEnd <= g.pxSecondArrowStart && g.pxThumbStart >= g.pxStart) {
        bar.rcThumb = CRect(g.rcBar.left, g.pxThumbStart, g.rcBar.right, g.pxThumbEnd);
        bar.rcPageBefore = CRect(g.rcBar.left, g.pxFirstArrowEnd, g.rcBar.right, g.pxThumbStart);
        bar.rcPageAfter = CRect(g.rcBar.left, g.pxThumbEnd, g.rcBar.right, g.pxSecondArrowStart);
    }
    bar.nHotPart = m_nHotPart;
    bar.nPressedPart = g.bPressedInside ? g.nTrackedPart : 0;
    return bar;
}

void CQXPControlGallery::Draw(CDC* pDC)
{
    if (IsButtonStyle()) {
        CQXPControlPopup::Draw(pDC);
        return;
    }
    EnsureLayout();
    // The painter (and with it the buttons' sizes) may have changed with
    // the theme; a running tracking keeps its geometry.
    if (!m_geo.nTrackedPart)
        UpdateScrollBar();
    CGalleryPainter* pPainter = GetGlobalPaintManager()->GetGalleryPainter();
    pPainter->DrawBackground(pDC, GetPaintView());

    // The items, clipped to the items rectangle.
    CRect rcItems = GetItemsRect();
    GalleryItemList* pItems = GetItems();
    if (pItems) {
        int nSaved = pDC->SaveDC();
        pDC->IntersectClipRect(rcItems);
        int nSelected = m_bHideSelection ? -1 : m_nHotItem;
        BOOL bEnabled = GetEnabled();
        for (int i = 0; i < m_layout.GetCount(); ++i) {
            const GalleryItemLayout& rec = m_layout.GetAt(i);
            CRect rc(rec.rcItem);
            rc.OffsetRect(0, -m_nScrollOffset);
            if (rc.bottom < rcItems.top)
                continue;
            if (!rc.IsRectEmpty()) {
                BOOL bSel = i == nSelected;
                BOOL bChecked = rec.pItem->GetID() == m_nCheckedItem && !rec.pItem->IsLabel();
                if (!pItems->OnDrawItem(pDC, this, rec.pItem, rc, bEnabled, bSel, bSel && m_bPressed, bChecked))
                    rec.pItem->Draw(pDC, this, rc, bEnabled, bSel, bSel && m_bPressed, bChecked);
            }
            if (rc.top > rcItems.bottom)
                break;
        }
        pDC->RestoreDC(nSaved);
    }

    if (!m_bShowScrollBar || m_geo.rcBar.right <= m_geo.rcBar.left)
        return;
    if (m_pCommandBar)
        pPainter->DrawPopupScrollColumn(pDC, GetPaintView());
    else
        pPainter->DrawScrollBar(pDC, GetScrollBarView());
}

// ---------------------------------------------------------------------------
// Persistence and copies

void CQXPControlGallery::DoPropExchange(CQXPPropExchange* pPX)
{
    CQXPControlPopup::DoPropExchange(pPX);
    ExchangeBoolProp(pPX, "ShowLabels", &m_bShowLabels, TRUE);
    // A layout saved without the key gets a frame.
    ExchangeBoolProp(pPX, "ShowBorders", &m_bShowBorders, TRUE);
    ExchangeBoolProp(pPX, "ShowScrollBar", &m_bShowScrollBar, TRUE);
    RECT rcMargin = m_rcMargin;
    ExchangeRectProp(pPX, "GalleryMargin", &rcMargin, CRect(0, 0, 0, 0));
    m_rcMargin = rcMargin;
    if (pPX && pPX->GetSchema() > 23)
        ExchangeBoolProp(pPX, "Resizable", &m_bResizable, FALSE);
}

void CQXPControlGallery::Copy(CQXPControl* pControl, BOOL bRecursive)
{
    CQXPControlPopup::Copy(pControl, bRecursive);
    if (CQXPControlGallery* pGallery = dynamic_cast<CQXPControlGallery*>(pControl)) {
        m_bShowLabels = pGallery->m_bShowLabels;
        m_bShowBorders = pGallery->m_bShowBorders;
        m_bShowScrollBar = pGallery->m_bShowScrollBar;
        m_rcMargin = pGallery->m_rcMargin;
        m_bResizable = pGallery->m_bResizable;
    }
}

// ---------------------------------------------------------------------------
// Accessibility

BOOL CQXPControlGallery::ResolveChild(const VARIANT& varChild, int* pnIndex) const
{
    long nChild = GetChildIndex(&varChild);
    if (nChild == 0) {
        *pnIndex = -1;
        return TRUE;
    }
    if (nChild < 1 || nChild > GetItemCount())
        return FALSE;
    *pnIndex = nChild - 1;
    return TRUE;
}

HRESULT CQXPControlGallery::get_accParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_POINTER;
    *ppdispParent = NULL;
    if (!m_pParent || !::IsWindow(m_pParent->GetSafeHwnd()))
        return S_FALSE;
    return AccessibleObjectFromWindow(m_pParent->GetSafeHwnd(), (DWORD)OBJID_CLIENT, IID_IDispatch,
                                      (void**)ppdispParent);
}

HRESULT CQXPControlGallery::get_accChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_POINTER;
    *pcountChildren = GetItemCount();
    return S_OK;
}

HRESULT CQXPControlGallery::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_POINTER;
    *ppdispChild = NULL;
    int nIndex;
    if (!ResolveChild(varChild, &nIndex))
        return E_INVALIDARG;
    return S_FALSE; // the items are simple elements
}

HRESULT CQXPControlGallery::get_accName(VARIANT varChild, BSTR* pszName)
{
    if (!pszName)
        return E_POINTER;
    *pszName = NULL;
    int nIndex;
    if (!ResolveChild(varChild, &nIndex))
        return E_INVALIDARG;
    if (nIndex == -1)
        return QXPAccessibleText(GetCaption(), pszName);
    GalleryItem* pItem = GetItem(nIndex);
    CString strName = pItem->GetCaption();
    if (strName.IsEmpty())
        strName = pItem->GetTooltip();
    return QXPAccessibleText(strName, pszName);
}

HRESULT CQXPControlGallery::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (!pvarRole)
        return E_POINTER;
    ::VariantInit(pvarRole);
    int nIndex;
    if (!ResolveChild(varChild, &nIndex))
        return E_INVALIDARG;
    pvarRole->vt = VT_I4;
    pvarRole->lVal = nIndex == -1 ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM;
    return S_OK;
}

HRESULT CQXPControlGallery::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    if (!pvarState)
        return E_POINTER;
    ::VariantInit(pvarState);
    int nIndex;
    if (!ResolveChild(varChild, &nIndex))
        return E_INVALIDARG;
    pvarState->vt = VT_I4;
    if (nIndex == -1) {
        long lState = 0;
        if (!GetEnabled())
            lState |= STATE_SYSTEM_UNAVAILABLE;
        if (!IsVisible())
            lState |= STATE_SYSTEM_INVISIBLE;
        if (m_nSelected)
            lState |= STATE_SYSTEM_FOCUSED;
        pvarState->lVal = lState;
        return S_OK;
    }
    long lState = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    if (nIndex == m_nHotItem)
        lState |= STATE_SYSTEM_FOCUSED;
    if (GetItem(nIndex)->GetID() == m_nCheckedItem)
        lState |= STATE_SYSTEM_SELECTED;
    pvarState->lVal = lState;
    return S_OK;
}

HRESULT CQXPControlGallery::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    if (!pszDefaultAction)
        return E_POINTER;
    *pszDefaultAction = NULL;
    int nIndex;
    if (!ResolveChild(varChild, &nIndex))
        return E_INVALIDARG;
    if (nIndex == -1)
        return S_FALSE;
    return QXPAccessibleText("Click", pszDefaultAction);
}

HRESULT CQXPControlGallery::accSelect(long flagsSelect, VARIANT varChild)
{
    int nIndex;
    if (!ResolveChild(varChild, &nIndex) || nIndex == -1)
        return E_INVALIDARG;
    SetSelectedItem(nIndex);
    return S_OK;
}

HRESULT CQXPControlGallery::accDoDefaultAction(VARIANT varChild)
{
    return accSelect(SELFLAG_TAKEFOCUS, varChild);
}

HRESULT CQXPControlGallery::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                        VARIANT varChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_POINTER;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    int nIndex;
    if (!ResolveChild(varChild, &nIndex))
        return E_INVALIDARG;
    if (!m_pParent || !::IsWindow(m_pParent->GetSafeHwnd()) || !IsVisible())
        return S_FALSE;
    CRect rc = nIndex == -1 ? m_rcControl : GetItemDrawRect(nIndex);
    ::ClientToScreen(m_pParent->GetSafeHwnd(), (LPPOINT)&rc.left);
    ::ClientToScreen(m_pParent->GetSafeHwnd(), (LPPOINT)&rc.right);
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.Width();
    *pcyHeight = rc.Height();
    return S_OK;
}

HRESULT CQXPControlGallery::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_POINTER;
    ::VariantInit(pvarChild);
    if (!m_pParent || !::IsWindow(m_pParent->GetSafeHwnd()))
        return S_FALSE;
    CPoint pt(xLeft, yTop);
    ::ScreenToClient(m_pParent->GetSafeHwnd(), &pt);
    if (!m_rcControl.PtInRect(pt))
        return S_FALSE;
    pvarChild->vt = VT_I4;
    pvarChild->lVal = HitTestItem(pt) + 1;
    return S_OK;
}
