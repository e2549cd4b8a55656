// custommode.cpp - customize mode on the bars and their controls: the
// manager's customize state and selection, a bar taking a dragged control
// (marker, drop), the selection frame, Alt+drag, the right button and the
// width drag of edits, combo boxes and galleries.
#include <qx/commandbars.h>
#include <qx/colors.h>
#include <qx/customize.h>
#include <qx/listcontrols.h>
#include <qx/mousemanager.h>
#include <qx/custom.h>
#include <qx/popup.h>
#include <qx/resourcemgr.h>

#include <cstdlib>

// ===========================================================================
// The manager

void CQXPCommandBars::SetCustomizeMode(BOOL bMode)
{
    m_pOptions->m_bChanged = TRUE;
    m_bCustomizeMode = bMode ? TRUE : FALSE;
    SetDragControl(NULL);
    if (m_pMenuBar)
        m_pMenuBar->DelayRedraw();
    for (CQXPToolBar* pBar : m_arrBars)
        pBar->DelayRedraw();
    UpdateCommandBars();
    RecalcFrameLayout(FALSE);
    ShowKeyboardCues(m_bCustomizeMode);
}

void CQXPCommandBars::SetQuickCustomizeMode(BOOL bMode)
{
    m_bQuickCustomizeMode = bMode ? TRUE : FALSE;
    m_bCustomizeMode = m_bQuickCustomizeMode;
}

BOOL CQXPCommandBars::IsCustomizeAllowed() const
{
    if (!m_pFrame || !::IsWindow(m_pFrame->GetSafeHwnd()))
        return FALSE;
    AFX_CMDHANDLERINFO info = {NULL, NULL};
    return m_pFrame->OnCmdMsg(QXP_ID_CUSTOMIZE, (int)CN_COMMAND, NULL, &info);
}

void CQXPCommandBars::SetDragControl(CQXPControl* pControl)
{
    CQXPControl* pOld = m_pDragControl;
    if (pControl)
        pControl->InternalAddRef();
    m_pDragControl = pControl;
    if (pOld) {
        pOld->RedrawParent(FALSE);
        pOld->InternalRelease();
    }
    if (pControl)
        pControl->RedrawParent(FALSE);
    CWnd* pTarget = m_pDropSource ? m_pDropSource->GetCustomizeDialog() : NULL;
    if (!pTarget)
        pTarget = m_pFrame;
    if (pTarget && ::IsWindow(pTarget->GetSafeHwnd()))
        pTarget->SendMessage(WM_QXP_CUSTOMIZESELCHANGED, 0, 0);
}

// ===========================================================================
// A bar taking a dragged control

BOOL CQXPCommandBar::IsVerticalArrangement() const
{
    return m_barPosition == qxpBarLeft || m_barPosition == qxpBarRight || m_barType == qxpBarTypePopup;
}

BOOL CQXPCommandBar::FindDropPlace(CQXPControl* pDragged, CPoint point, CQXPControl** ppControl, BOOL* pbAfter,
                                   CRect* prcMarker) const
{
    std::vector<QXPDropCandidate> items;
    std::vector<CQXPControl*> controls;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        if (!pControl->IsVisible() || pControl->IsTemporary())
            continue;
        QXPDropCandidate item;
        item.rc = pControl->GetRect();
        item.bBeginGroup = pControl->GetBeginGroup();
        item.bWrap = pControl->GetWrap();
        item.bDragged = pControl == pDragged;
        items.push_back(item);
        controls.push_back(pControl);
    }
    CRect rcClient(0, 0, 0, 0);
    if (m_hWnd)
        ::GetClientRect(m_hWnd, &rcClient);
    QXPDropPlace place = QxpFindDropPlace(items, point, IsVerticalArrangement(), m_bColumnWrapped, rcClient,
                                          const_cast<CQXPCommandBar*>(this)->IsRibbonBar());
    *ppControl = place.nItem >= 0 ? controls[(size_t)place.nItem] : NULL;
    *pbAfter = place.bAfter;
    *prcMarker = place.rcMarker;
    return place.bAccepted;
}

BOOL CQXPCommandBar::OnCustomizeDragEnter(CQXPControl* pDragged, CPoint point)
{
    m_rcDropMarker.SetRectEmpty();
    return OnCustomizeDragOver(pDragged, point);
}

void CQXPCommandBar::OnCustomizeDragLeave()
{
    if (m_rcDropMarker.IsRectEmpty())
        return;
    m_rcDropMarker.SetRectEmpty();
    Redraw(NULL, FALSE);
}

BOOL CQXPCommandBar::OnCustomizeDragOver(CQXPControl* pDragged, CPoint point)
{
    if (!m_bCustomizable || !m_hWnd || !::IsWindowVisible(m_hWnd) || !pDragged)
        return FALSE;
    CQXPControl* pHit = m_pControls->HitTest(point);
    // A bar of its own closes the menus of its other controls first.
    if (!GetParentCommandBar() && m_nPopuped != -1 && (!pHit || pHit->GetIndex() != m_nPopuped))
        SetPopuped(-1);
    int nEffect = qxpDropMove;
    if (pHit)
        pHit->OnCustomizeDragOver(pDragged, point, nEffect);
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return FALSE;

    CQXPControl* pNear = NULL;
    BOOL bAfter = FALSE;
    CRect rcMarker(0, 0, 0, 0);
    BOOL bAccept = pDragged->IsCustomizeDragOverAvail(this, point, nEffect) &&
                   FindDropPlace(pDragged, point, &pNear, &bAfter, &rcMarker);
    if (!bAccept)
        rcMarker.SetRectEmpty();
    if (rcMarker != m_rcDropMarker) {
        m_rcDropMarker = rcMarker;
        Redraw(NULL, FALSE);
    }
    return bAccept;
}

void CQXPCommandBar::OnCustomizeDrop(CQXPControl* pDragged, int& nEffect, CPoint point, CPoint ptStart)
{
    CQXPControl* pNear = NULL;
    BOOL bAfter = FALSE;
    CRect rcMarker;
    BOOL bAccepted = FindDropPlace(pDragged, point, &pNear, &bAfter, &rcMarker);
    OnCustomizeDragLeave();
    if (!bAccepted) {
        nEffect = qxpDropCancel;
        return;
    }
    if (pNear && pNear == pDragged) {
        // Onto itself: a push sideways starts (or ends) a group before it;
        // nothing moves.
        if (std::abs(point.x - ptStart.x) > 4 || std::abs(point.y - ptStart.y) > 4) {
            pDragged->SetBeginGroup(bAfter && pDragged->GetIndex() != 0);
            OnRecalcLayout();
        }
        nEffect = qxpDropCancel;
        return;
    }

    SetPopuped(-1);
    SetSelected(-1);
    int nIndex = pNear ? pNear->GetIndex() + (bAfter ? 1 : 0) : -1;
    if (nIndex >= m_pControls->GetCount())
        nIndex = -1;
    CQXPControl* pBefore = nIndex >= 0 ? m_pControls->GetAt(nIndex) : NULL;
    CQXPControl* pCopy = m_pControls->AddCopy(pDragged, nIndex);
    if (!pCopy) {
        nEffect = qxpDropCancel;
        return;
    }
    // The group that began with the control the copy goes before now
    // begins with the copy.
    if (pBefore && pBefore->GetBeginGroup()) {
        pBefore->SetBeginGroup(FALSE);
        pCopy->SetBeginGroup(TRUE);
    }
    pCopy->SetHideFlags(pCopy->GetHideFlags() & ~(DWORD)(qxpHideWrap | qxpHideScroll));
    if (m_pCommandBars)
        m_pCommandBars->SetDragControl(pCopy);
    OnRecalcLayout();
}

void CQXPCommandBar::DrawCustomizeMarks(CDC* pDC)
{
    HDC hDC = pDC->GetSafeHdc();
    CQXPControl* pSelected = m_pCommandBars ? m_pCommandBars->GetDragControl() : NULL;
    if (pSelected && pSelected->GetParent() == this && pSelected->IsVisible()) {
        CRect rc = pSelected->GetRect();
        HBRUSH hBlack = (HBRUSH)::GetStockObject(BLACK_BRUSH);
        ::FrameRect(hDC, &rc, hBlack);
        rc.DeflateRect(1, 1);
        ::FrameRect(hDC, &rc, hBlack);
    }
    if (!m_rcDropMarker.IsRectEmpty()) {
        CRect bands[5];
        QxpDropMarkerBands(m_rcDropMarker, IsVerticalArrangement(), bands);
        HBRUSH hBrush = ::CreateSolidBrush(ToolkitColorManager::Instance()->GetColor(COLOR_BTNFACE));
        HGDIOBJ hOld = ::SelectObject(hDC, hBrush);
        for (const CRect& rc : bands)
            ::PatBlt(hDC, rc.left, rc.top, rc.Width(), rc.Height(), PATINVERT);
        ::SelectObject(hDC, hOld);
        ::DeleteObject(hBrush);
    }
}

// ===========================================================================
// Mouse input while customizing

BOOL CQXPCommandBar::OnCustomizeLButtonDown(CQXPControl* pControl, CPoint point)
{
    if (IsCustomizeMode())
        return !pControl->IsCustomizeMovable(); // a fixed control ignores the press
    // Alt+drag moves a toolbar button without the customize dialog.
    CQXPCommandBars* pCommandBars = m_pCommandBars;
    if (::GetKeyState(VK_MENU) >= 0 || !pCommandBars || m_barType != qxpBarTypeNormal || IsPopupBar())
        return FALSE;
    if (!pCommandBars->GetOptions()->m_bAltDragCustomization || !pCommandBars->IsCustomizeAllowed() ||
        !pControl->IsCustomizeMovable())
        return FALSE;
    InternalAddRef();
    pCommandBars->SetQuickCustomizeMode(TRUE);
    pCommandBars->ClosePopups();
    SetPopuped(-1);
    SetSelected(-1);
    pControl->OnCustomizeClick(point);
    pCommandBars->SetQuickCustomizeMode(FALSE);
    // The Alt that started the drag is released later: it opens no menu.
    pCommandBars->m_bSkipAltRelease = TRUE;
    pCommandBars->SetDragControl(NULL);
    pCommandBars->RecalcFrameLayout(FALSE);
    pCommandBars->ClosePopups();
    InternalRelease();
    return TRUE;
}

BOOL CQXPCommandBar::OnCustomizeRButtonDown(CQXPControl* pControl, CPoint point)
{
    if (!m_bCustomizable || !pControl || !pControl->IsVisible() || !pControl->IsCustomizeMovable() ||
        !m_pCommandBars)
        return FALSE;
    SetPopuped(-1);
    SetSelected(-1);
    m_pCommandBars->SetDragControl(pControl);
    CQXPCustomizeDropSource* pSource = m_pCommandBars->GetDropSource();
    if (pSource && pSource->GetCustomizeDialog() && pSource->GetContextMenu()) {
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        pSource->GetContextMenu()->Show(ptScreen);
    }
    return TRUE;
}

BOOL CQXPCommandBar::OnCustomizeMouseMove(CPoint point)
{
    CQXPControl* pSelected = m_pCommandBars ? m_pCommandBars->GetDragControl() : NULL;
    if (pSelected && pSelected->GetParent() == this && pSelected->IsCustomizeResizeAllow() &&
        QxpCustomizeResizeEdge(pSelected->GetRect(), point) != 0) {
        if (HCURSOR hCursor = ToolkitResourceManager::Instance()->LoadCursor(QX_IDC_CUSTOMIZE_RESIZE))
            ::SetCursor(hCursor);
    }
    return TRUE;
}

// ===========================================================================
// Controls

BOOL CQXPControl::IsCustomizeMovable() const
{
    return m_pParent && m_pParent->IsCustomizable() && !(m_dwFlags & qxpFlagNoMovable);
}

BOOL CQXPControl::IsCustomizeDragOverAvail(CQXPCommandBar* pBar, CPoint point, int& nEffect)
{
    (void)pBar;
    (void)point;
    (void)nEffect;
    return TRUE;
}

void CQXPControl::OnCustomizeDragOver(CQXPControl* pSource, CPoint point, int& nEffect)
{
    (void)pSource;
    (void)point;
    (void)nEffect;
    if (m_pParent) {
        m_pParent->SetPopuped(-1);
        m_pParent->SetSelected(-1);
    }
}

void CQXPControl::OnCustomizeClick(CPoint point)
{
    CQXPCommandBars* pCommandBars = GetCommandBars();
    if (!m_pParent || !pCommandBars || !pCommandBars->GetDropSource())
        return;
    if (pCommandBars->GetDragControl() == this && IsCustomizeResizeAllow() && OnCustomizeResize(point))
        return;

    InternalAddRef();
    CQXPCommandBar* pParent = m_pParent;
    pParent->InternalAddRef();
    pCommandBars->SetDragControl(this);
    int nEffect = pCommandBars->GetDropSource()->DoDragDrop(this, FALSE);
    if ((nEffect == qxpDropNone || nEffect == qxpDropMove) && m_pParent == pParent && m_pControls) {
        // Moved away, or dropped off the bars: the control leaves its bar.
        pParent->SetPopuped(-1);
        pParent->SetSelected(-1);
        if (pCommandBars->GetDragControl() == this)
            pCommandBars->SetDragControl(NULL);
        CQXPControls* pControls = m_pControls;
        CQXPControl* pNext = pControls->GetAt(m_nIndex + 1);
        if (m_bBeginGroup && pNext)
            pNext->SetBeginGroup(TRUE);
        if (m_nIndex == 0 && pNext)
            pNext->SetBeginGroup(FALSE);
        pControls->Remove(this);
        pParent->OnRecalcLayout();
    }
    pCommandBars->SetDragControl(pCommandBars->GetDragControl());
    pParent->InternalRelease();
    InternalRelease();
}

namespace {

// Holds the desktop locked for updates and a window DC of it while a frame
// is inverted on the screen; whatever way the drag ends, the lock goes and
// the DC is released.
class DesktopDrawLock {
public:
    DesktopDrawLock()
    {
        m_hWndDesktop = ::GetDesktopWindow();
        m_bLocked = ::LockWindowUpdate(m_hWndDesktop);
        m_hDC = ::GetDCEx(m_hWndDesktop, NULL, DCX_WINDOW | DCX_CACHE | (m_bLocked ? DCX_LOCKWINDOWUPDATE : 0));
    }
    ~DesktopDrawLock()
    {
        if (m_hDC)
            ::ReleaseDC(m_hWndDesktop, m_hDC);
        if (m_bLocked)
            ::LockWindowUpdate(NULL);
    }
    DesktopDrawLock(const DesktopDrawLock&) = delete;
    DesktopDrawLock& operator=(const DesktopDrawLock&) = delete;

    // Inverts a frame 2 pixels wide along the inside of the rectangle.
    void InvertFrame(const CRect& rc) const
    {
        if (!m_hDC)
            return;
        ::PatBlt(m_hDC, rc.left, rc.top, rc.Width(), 2, DSTINVERT);
        ::PatBlt(m_hDC, rc.left, rc.bottom - 2, rc.Width(), 2, DSTINVERT);
        ::PatBlt(m_hDC, rc.left, rc.top + 2, 2, rc.Height() - 4, DSTINVERT);
        ::PatBlt(m_hDC, rc.right - 2, rc.top + 2, 2, rc.Height() - 4, DSTINVERT);
    }

private:
    HWND m_hWndDesktop = NULL;
    BOOL m_bLocked = FALSE;
    HDC m_hDC = NULL;
};

} // namespace

BOOL CQXPControl::OnCustomizeResize(CPoint point)
{
    int nEdge = QxpCustomizeResizeEdge(m_rcControl, point);
    CQXPCommandBars* pCommandBars = GetCommandBars();
    CQXPCommandBar* pBar = m_pParent;
    if (!nEdge || !pCommandBars || !pBar || !::IsWindow(pBar->GetSafeHwnd()))
        return FALSE;

    InternalAddRef();
    pCommandBars->SetDragControl(NULL);
    pBar->Redraw(NULL, FALSE);
    pBar->UpdateWindow();
    CRect rcStart = m_rcControl;
    pBar->ClientToScreen(&rcStart);
    CPoint ptStart = point;
    pBar->ClientToScreen(&ptStart);
    HWND hWndBar = pBar->GetSafeHwnd();
    ::SetCapture(hWndBar);
    if (HCURSOR hCursor = ToolkitResourceManager::Instance()->LoadCursor(QX_IDC_CUSTOMIZE_RESIZE))
        ::SetCursor(hCursor);

    BOOL bAccepted = FALSE;
    CRect rcCurrent = rcStart;
    {
        DesktopDrawLock lock;
        lock.InvertFrame(rcCurrent);
        int nMinWidth = GetCustomizeMinWidth();
        BOOL bDone = FALSE;
        while (!bDone && ::GetCapture() == hWndBar) {
            MSG msg;
            if (!::GetMessageA(&msg, NULL, 0, 0)) {
                ::PostQuitMessage((int)msg.wParam);
                break;
            }
            switch (msg.message) {
            case WM_MOUSEMOVE: {
                CRect rcNew = QxpCustomizeResizeRect(rcStart, nEdge == 1, msg.pt.x - ptStart.x, nMinWidth);
                if (rcNew != rcCurrent) {
                    lock.InvertFrame(rcCurrent);
                    rcCurrent = rcNew;
                    lock.InvertFrame(rcCurrent);
                }
                break;
            }
            case WM_KEYDOWN:
                if (msg.wParam == VK_ESCAPE)
                    bDone = TRUE;
                break;
            case WM_LBUTTONUP:
                bAccepted = TRUE;
                bDone = TRUE;
                break;
            default:
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
                break;
            }
        }
        lock.InvertFrame(rcCurrent);
        if (::GetCapture() == hWndBar)
            ::ReleaseCapture();
    }

    if (::IsWindow(hWndBar) && m_pParent == pBar) {
        pCommandBars->SetDragControl(this);
        if (bAccepted && rcCurrent.Width() != rcStart.Width()) {
            int nWidth = rcCurrent.Width();
            if (pBar->GetType() == qxpBarTypePopup)
                nWidth -= pBar->GetPaintManager()->GetSplitDropDownWidth(pBar);
            SetWidth(nWidth);
            pBar->OnRecalcLayout();
        }
        pBar->Redraw(NULL, FALSE);
    }
    InternalRelease();
    return TRUE;
}

// Popup controls open their submenu under a dragged control, so it can be
// dropped there, unless that submenu belongs to the dragged control itself.
void CQXPControlPopup::OnCustomizeDragOver(CQXPControl* pSource, CPoint point, int& nEffect)
{
    (void)point;
    (void)nEffect;
    if (!m_pParent)
        return;
    if (m_pCommandBar && !m_pCommandBar->IsCustomizable())
        return;
    if (pSource && pSource->GetCommandBar() && IsPopupOf(pSource)) {
        m_pParent->SetPopuped(-1);
        m_pParent->SetSelected(-1);
        return;
    }
    if (m_pParent->GetPopupedIndex() != m_nIndex)
        m_pParent->SetPopuped(m_nIndex);
}

void CQXPControlPopup::OnCustomizeClickPopup(CPoint point)
{
    CQXPCommandBar* pParent = m_pParent;
    CQXPCommandBars* pCommandBars = GetCommandBars();
    if (!pParent)
        return;
    if (pCommandBars)
        pCommandBars->SetDragControl(this);
    if (pParent->GetPopupedIndex() == m_nIndex) {
        if (pParent->GetPosition() != qxpBarPopup)
            pParent->SetTrackingMode(FALSE, FALSE, FALSE);
    } else if (!m_pCommandBar || m_pCommandBar->IsCustomizable()) {
        pParent->SetPopuped(m_nIndex);
    }
    OnCustomizeClick(point);
}

// ---------------------------------------------------------------------------
// Lists and hosted windows go only into popup menus.

namespace {

BOOL OnlyPopupMenusTake(CQXPCommandBar* pBar, int& nEffect)
{
    if (pBar && pBar->GetType() == qxpBarTypePopup)
        return TRUE;
    nEffect = qxpDropNone;
    return FALSE;
}

} // namespace

// The lists and hosted windows that only popup menus take.
#define QXP_ONLY_IN_POPUP_MENUS(Class) \
    BOOL Class::IsCustomizeDragOverAvail(CQXPCommandBar* pBar, CPoint point, int& nEffect) \
    { \
        (void)point; \
        return OnlyPopupMenusTake(pBar, nEffect); \
    }
QXP_ONLY_IN_POPUP_MENUS(CQXPControlWindowList)
QXP_ONLY_IN_POPUP_MENUS(CQXPControlToolbars)
QXP_ONLY_IN_POPUP_MENUS(CQXPControlRecentFileList)
QXP_ONLY_IN_POPUP_MENUS(CQXPControlOleItems)
QXP_ONLY_IN_POPUP_MENUS(CQXPControlWorkspaceActions)
QXP_ONLY_IN_POPUP_MENUS(CQXPControlCustom)

// ===========================================================================
// What reaches the frame while the customize dialog runs

namespace {

BOOL IsInside(HWND hWnd, HWND hContainer)
{
    return hWnd && hContainer && (hWnd == hContainer || ::IsChild(hContainer, hWnd));
}

CQXPCommandBar* CommandBarOf(HWND hWnd)
{
    return dynamic_cast<CQXPCommandBar*>(CWnd::FromHandlePermanent(hWnd));
}

} // namespace

BOOL AFXAPI QxpCustomizeMousePasses(CQXPCommandBars* pCommandBars, HWND hSheet, UINT message, HWND hTarget)
{
    if (message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE)
        return TRUE;
    if (!pCommandBars || !pCommandBars->GetSite())
        return TRUE;
    // Open menus look after their own clicks; a loop holding the capture
    // (a drag) gets its own.
    if (ToolkitMouseManager::GetInstance()->GetTrackedCount() > 0 || (hTarget && hTarget == ::GetCapture()))
        return TRUE;
    HWND hSite = pCommandBars->GetSite()->GetSafeHwnd();
    if (!IsInside(hTarget, hSite) || IsInside(hTarget, hSheet))
        return TRUE;
    HWND hForeground = ::GetForegroundWindow();
    if (hForeground != hSite && IsInside(hTarget, hForeground))
        return TRUE;
    CQXPCommandBar* pBar = CommandBarOf(hTarget);
    if (!pBar)
        pBar = CommandBarOf(::GetParent(hTarget));
    return pBar && pBar->GetCommandBars() == pCommandBars;
}

BOOL AFXAPI QxpCustomizeKeyPasses(CQXPCommandBars* pCommandBars, HWND hSheet)
{
    HWND hFocus = ::GetFocus();
    if (IsInside(hFocus, hSheet) || ::GetCapture())
        return TRUE;
    if (hFocus && CommandBarOf(::GetParent(hFocus)))
        return TRUE;
    HWND hForeground = ::GetForegroundWindow();
    HWND hSite = pCommandBars && pCommandBars->GetSite() ? pCommandBars->GetSite()->GetSafeHwnd() : NULL;
    return hForeground != hSite && IsInside(hFocus, hForeground);
}
