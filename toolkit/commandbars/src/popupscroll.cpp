// Popup bars: scrolling a popup taller than the screen.

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
// Scrolling

BOOL CQXPPopupScrollArea::Track(CPoint pt)
{
    if (rc.PtInRect(pt)) {
        if (!nTimer && hWnd)
            nTimer = ::SetTimer(hWnd, nID, 80, NULL);
        return TRUE;
    }
    Stop();
    return FALSE;
}

void CQXPPopupScrollArea::Stop()
{
    if (nTimer && hWnd && ::IsWindow(hWnd))
        ::KillTimer(hWnd, nID);
    nTimer = 0;
}

void CQXPPopupBar::LayoutScroll(CSize sz, BOOL bFromBottom, BOOL bRedraw)
{
    m_scrollTop.rc.SetRectEmpty();
    m_scrollBottom.rc.SetRectEmpty();
    CRect b = InnerBorders();
    int nCount = std::min(m_pControls->GetCount(), (int)m_scrollHeights.size());
    auto own = [&](int i) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        return pControl->GetParent() == this && !IsExpandButton(pControl);
    };
    auto place = [&](CQXPControl* pControl, int nTop, int nBottom) {
        CRect rc = pControl->GetRect();
        rc.OffsetRect(0, nTop - rc.top);
        rc.bottom = nBottom;
        pControl->SetRect(rc);
        CRect rcRow = pControl->GetRowRect();
        pControl->SetRowRect(CRect(rcRow.left, nTop, rcRow.right, nBottom));
    };
    auto visible = [&](int i) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        pControl->SetHideFlag(qxpHideScroll, FALSE);
        return pControl->IsVisible(0);
    };
    // The height the controls of [nFrom, nTo) need stacked, gaps between.
    auto span = [&](int nFrom, int nTo) {
        int nTotal = 0;
        BOOL bFirst = TRUE;
        for (int i = nFrom; i < nTo; i++) {
            if (!own(i) || !visible(i))
                continue;
            nTotal += m_scrollHeights[(size_t)i] + (bFirst ? 0 : m_scrollGaps[(size_t)i]);
            bFirst = FALSE;
        }
        return nTotal;
    };
    int nLimitBottom = sz.cy - b.bottom;
    int nBandRight = sz.cx - b.right;
    if (bFromBottom) {
        m_nEndVisible = std::max(0, std::min(m_nEndVisible, nCount));
        if (m_nEndVisible == nCount - 1)
            m_nEndVisible = nCount;
        int e = nLimitBottom;
        if (m_nEndVisible != nCount) {
            m_scrollBottom.rc = CRect(b.left, e - kScrollBand, nBandRight, e);
            e -= kScrollBand;
        }
        // Without a top band when everything before the end fits.
        int nLimitTop = (e - span(0, m_nEndVisible) >= b.top) ? (int)b.top : b.top + kScrollBand;
        int i = m_nEndVisible - 1;
        BOOL bPlaced = FALSE;
        for (; i >= 0; i--) {
            if (!own(i) || !visible(i))
                continue;
            CQXPControl* pControl = m_pControls->GetAt(i);
            int nTop = e - m_scrollHeights[(size_t)i];
            if (nTop < nLimitTop && bPlaced)
                break;
            if (nTop < nLimitTop)
                nTop = nLimitTop; // a lone control taller than the space
            place(pControl, nTop, e);
            bPlaced = TRUE;
            e = nTop - m_scrollGaps[(size_t)i];
        }
        for (int j = 0; j <= i; j++)
            if (own(j))
                m_pControls->GetAt(j)->SetHideFlag(qxpHideScroll, TRUE);
        m_nFirstVisible = i + 1;
        if (i >= 0)
            m_scrollTop.rc = CRect(b.left, b.top, nBandRight, b.top + kScrollBand);
    } else {
        m_nFirstVisible = std::max(0, std::min(m_nFirstVisible, nCount));
        if (m_nFirstVisible == 1)
            m_nFirstVisible = 0;
        int e = b.top;
        if (m_nFirstVisible != 0) {
            m_scrollTop.rc = CRect(b.left, e, nBandRight, e + kScrollBand);
            e += kScrollBand;
        }
        for (int j = 0; j < m_nFirstVisible; j++)
            if (own(j))
                m_pControls->GetAt(j)->SetHideFlag(qxpHideScroll, TRUE);
        // Without a bottom band when everything from the first fits.
        int nLimit = (e + span(m_nFirstVisible, nCount) <= nLimitBottom) ? nLimitBottom : nLimitBottom - kScrollBand;
        int i = m_nFirstVisible;
        BOOL bPlaced = FALSE;
        for (; i < nCount; i++) {
            if (!own(i) || !visible(i))
                continue;
            CQXPControl* pControl = m_pControls->GetAt(i);
            int nTop = e + (bPlaced ? m_scrollGaps[(size_t)i] : 0);
            int nBottom = nTop + m_scrollHeights[(size_t)i];
            if (nBottom > nLimit) {
                if (bPlaced)
                    break;
                nBottom = nLimit;
            }
            place(pControl, nTop, nBottom);
            bPlaced = TRUE;
            e = nBottom;
        }
        for (int j = i; j < nCount; j++)
            if (own(j))
                m_pControls->GetAt(j)->SetHideFlag(qxpHideScroll, TRUE);
        m_nEndVisible = i;
        if (i < nCount)
            m_scrollBottom.rc = CRect(b.left, nLimitBottom - kScrollBand, nBandRight, nLimitBottom);
    }
    if (CQXPControl* pExpand = m_bHasHiddenItems ? GetExpandButton() : NULL) {
        const CRect rcOuter = GetBorders();
        int nFoot = sz.cy - rcOuter.bottom - GetGripperHeight();
        CRect rcExpand(rcOuter.left, nFoot - m_nExpandHeight, nBandRight, nFoot);
        pExpand->SetHideFlag(qxpHideScroll | qxpHideGeneric, FALSE);
        pExpand->SetRect(rcExpand);
        pExpand->SetRowRect(rcExpand);
    }
    if (m_scrollTop.rc.IsRectEmpty())
        m_scrollTop.Stop();
    if (m_scrollBottom.rc.IsRectEmpty())
        m_scrollBottom.Stop();
    if (bRedraw && m_hWnd && ::IsWindow(m_hWnd))
        Redraw();
}

BOOL CQXPPopupBar::ScrollItems(int nItems)
{
    if (!m_bScrolling || !m_hWnd || !::IsWindow(m_hWnd))
        return FALSE;
    CRect rcClient;
    GetClientRect(&rcClient);
    BOOL bMoved = FALSE;
    int nCount = m_pControls->GetCount();
    for (; nItems > 0; nItems--) {
        if (m_nEndVisible >= nCount)
            break;
        m_nEndVisible++;
        LayoutScroll(rcClient.Size(), TRUE, FALSE);
        bMoved = TRUE;
    }
    for (; nItems < 0; nItems++) {
        if (m_nFirstVisible <= 0)
            break;
        m_nFirstVisible--;
        LayoutScroll(rcClient.Size(), FALSE, FALSE);
        bMoved = TRUE;
    }
    if (bMoved)
        Redraw();
    return bMoved;
}
