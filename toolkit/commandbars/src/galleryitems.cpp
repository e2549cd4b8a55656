// galleryitems.cpp - gallery items, their list, and the window-free layout
// and navigation over them.
#include <qx/galleryitems.h>

#include <qx/paintmanager.h>

#include <math.h>
#include <string.h>

// ---------------------------------------------------------------------------
GalleryItem::GalleryItem() : m_nId(0), m_nIndex(-1), m_bLabel(FALSE), m_pList(NULL) {}

GalleryItem::~GalleryItem() {}

CSize GalleryItem::GetSize() const
{
    if (m_bLabel)
        return CSize(0, QXP_GALLERY_LABEL_HEIGHT);
    if (!m_pList)
        return CSize(0, 0);
    return CSize(m_pList->GetItemWidth(), m_pList->GetItemHeight());
}

void GalleryItem::Draw(CDC* pDC, CQXPControlGallery* /*pGallery*/, CRect rcItem, BOOL bEnabled, BOOL bSelected,
                       BOOL bPressed, BOOL bChecked)
{
    CQXPThemePainter* pPaint = GetGlobalPaintManager();
    if (!pPaint)
        return;
    if (m_bLabel) {
        pPaint->GetGalleryPainter()->DrawLabel(pDC, rcItem, m_strCaption);
        return;
    }
    pPaint->DrawRectangle(pDC, rcItem, bSelected, bPressed, bEnabled, bChecked, FALSE, qxpBarTypeNormal, qxpBarTop);
    COLORREF clr = pPaint->GetRectangleTextColor(bSelected, bPressed, bEnabled, bChecked, FALSE, qxpBarTypeNormal,
                                                 qxpBarTop);
    CFont* pOldFont = pDC->SelectObject(pPaint->GetRegularFont());
    int nMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOld = pDC->SetTextColor(clr);
    CRect rcText(rcItem);
    rcText.DeflateRect(2, 0);
    pDC->DrawText(m_strCaption, rcText, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nMode);
    pDC->SelectObject(pOldFont);
}

// ---------------------------------------------------------------------------
GalleryItemList::GalleryItemList() : m_cxItem(0), m_cyItem(0), m_bRedrawChangedItems(FALSE), m_dwVersion(1) {}

GalleryItemList::~GalleryItemList()
{
    for (GalleryItem* pItem : m_items)
        delete pItem;
}

GalleryItem* GalleryItemList::GetItem(int nIndex) const
{
    if (nIndex < 0 || nIndex >= (int)m_items.size())
        return NULL;
    return m_items[nIndex];
}

GalleryItem* GalleryItemList::AddItem(GalleryItem* pItem)
{
    if (!pItem)
        return NULL;
    pItem->m_pList = this;
    pItem->m_nIndex = (int)m_items.size();
    m_items.push_back(pItem);
    Changed();
    return pItem;
}

GalleryItem* GalleryItemList::AddItem(int nId, LPCSTR lpszCaption)
{
    GalleryItem* pItem = new GalleryItem;
    pItem->m_nId = nId;
    pItem->m_strCaption = lpszCaption ? lpszCaption : "";
    return AddItem(pItem);
}

GalleryItem* GalleryItemList::AddLabel(LPCSTR lpszCaption)
{
    GalleryItem* pItem = new GalleryItem;
    pItem->m_bLabel = TRUE;
    pItem->m_strCaption = lpszCaption ? lpszCaption : "";
    return AddItem(pItem);
}

void GalleryItemList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= (int)m_items.size())
        return;
    delete m_items[nIndex];
    m_items.erase(m_items.begin() + nIndex);
    for (int i = nIndex; i < (int)m_items.size(); ++i)
        m_items[i]->m_nIndex = i;
    Changed();
}

void GalleryItemList::RemoveAll()
{
    for (GalleryItem* pItem : m_items)
        delete pItem;
    m_items.clear();
    Changed();
}

void GalleryItemList::SetItemSize(int cx, int cy)
{
    m_cxItem = cx;
    m_cyItem = cy;
    Changed();
}

BOOL GalleryItemList::OnDrawItem(CDC*, CQXPControlGallery*, GalleryItem*, CRect, BOOL, BOOL, BOOL, BOOL)
{
    return FALSE;
}

void GalleryItemList::Changed()
{
    ++m_dwVersion;
}

// ---------------------------------------------------------------------------
CQXPGalleryLayout::CQXPGalleryLayout() : m_rcItems(0, 0, 0, 0), m_nContentHeight(0), m_pList(NULL), m_dwVersion(0)
{
}

void CQXPGalleryLayout::Clear()
{
    m_records.clear();
    m_nContentHeight = 0;
    m_pList = NULL;
    m_dwVersion = 0;
}

BOOL CQXPGalleryLayout::IsCurrent(const GalleryItemList* pList) const
{
    if (pList != m_pList)
        return FALSE;
    return !pList || pList->GetVersion() == m_dwVersion;
}

void CQXPGalleryLayout::Layout(const GalleryItemList* pList, const CRect& rcItems, BOOL bShowLabels)
{
    m_records.clear();
    m_rcItems = rcItems;
    m_pList = pList;
    m_dwVersion = pList ? pList->GetVersion() : 0;
    int x = rcItems.left, y = rcItems.top, nRowHeight = 0;
    BOOL bRowEmpty = TRUE;
    const int nCount = pList ? pList->GetItemCount() : 0;
    for (int i = 0; i < nCount; ++i) {
        GalleryItem* pItem = pList->GetItem(i);
        GalleryItemLayout rec = {{0, 0, 0, 0}, pItem, 0};
        if (pItem->IsLabel()) {
            if (bShowLabels) {
                if (!bRowEmpty)
                    y += nRowHeight;
                SetRect(&rec.rcItem, rcItems.left, y, rcItems.right, y + QXP_GALLERY_LABEL_HEIGHT);
                rec.bBeginRow = 1;
                y += QXP_GALLERY_LABEL_ADVANCE;
                x = rcItems.left;
                nRowHeight = 0;
                bRowEmpty = TRUE;
            }
        } else {
            CSize sz = pItem->GetSize();
            if (sz.cx == 0)
                sz.cx = rcItems.Width();
            if (bRowEmpty) {
                rec.bBeginRow = 1;
            } else if (x + sz.cx > rcItems.right) {
                y += nRowHeight;
                x = rcItems.left;
                nRowHeight = 0;
                rec.bBeginRow = 1;
            }
            SetRect(&rec.rcItem, x, y, x + sz.cx, y + sz.cy);
            if (sz.cy > nRowHeight)
                nRowHeight = sz.cy;
            bRowEmpty = FALSE;
            x += sz.cx;
        }
        m_records.push_back(rec);
    }
    if (!bRowEmpty)
        y += nRowHeight;
    m_nContentHeight = y - rcItems.top;
}

BOOL CQXPGalleryLayout::IsLabel(int nIndex) const
{
    return nIndex < 0 || nIndex >= GetCount() || m_records[nIndex].pItem->IsLabel();
}

int CQXPGalleryLayout::HitTest(POINT pt, int nOffset, RECT* prc) const
{
    for (int i = 0; i < GetCount(); ++i) {
        CRect rc(m_records[i].rcItem);
        rc.OffsetRect(0, -nOffset);
        if (rc.top >= m_rcItems.bottom)
            break;
        if (rc.PtInRect(pt)) {
            if (m_records[i].pItem->IsLabel())
                return -1;
            if (prc)
                *prc = rc;
            return i;
        }
    }
    return -1;
}

int CQXPGalleryLayout::ClampOffset(int nOffset) const
{
    int nMax = m_nContentHeight - m_rcItems.Height();
    if (nOffset > nMax)
        nOffset = nMax;
    return nOffset < 0 ? 0 : nOffset;
}

int CQXPGalleryLayout::EnsureVisibleOffset(int nIndex, int nOffset, BOOL bShowLabels) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nOffset;
    const RECT& rc = m_records[nIndex].rcItem;
    const int nTop = rc.top - nOffset, nBottom = rc.bottom - nOffset;
    if (nTop >= m_rcItems.top) {
        if (nBottom > m_rcItems.bottom)
            nOffset += nBottom - m_rcItems.bottom;
        return ClampOffset(nOffset);
    }
    nOffset = rc.top - m_rcItems.top;
    if (bShowLabels) {
        for (int i = nIndex - 1; i >= 0; --i) {
            if (!m_records[i].pItem->IsLabel())
                continue;
            if (rc.bottom - m_records[i].rcItem.top <= m_rcItems.Height())
                nOffset = m_records[i].rcItem.top - m_rcItems.top;
            break;
        }
    }
    return ClampOffset(nOffset);
}

int CQXPGalleryLayout::NextSelectable(int nFrom, int nDir) const
{
    const int nCount = GetCount();
    if (nCount == 0)
        return -1;
    int i = (nFrom == -1 && nDir < 0) ? nCount - 1 : nFrom + nDir;
    BOOL bWrapped = FALSE;
    for (;;) {
        if (i < 0 || i >= nCount) {
            if (nFrom == -1 || bWrapped)
                return -1;
            bWrapped = TRUE;
            i = nDir > 0 ? 0 : nCount - 1;
        }
        if (i == nFrom)
            return nFrom;
        if (!m_records[i].pItem->IsLabel())
            return i;
        i += nDir;
    }
}

int CQXPGalleryLayout::SameColumn(int nHot, BOOL bDown) const
{
    if (nHot < 0 || nHot >= GetCount())
        return NextSelectable(-1, bDown ? 1 : -1);
    const int nLeft = m_records[nHot].rcItem.left;
    const int nDir = bDown ? 1 : -1;
    for (int i = nHot + nDir; i >= 0 && i < GetCount(); i += nDir) {
        if (!m_records[i].pItem->IsLabel() && m_records[i].rcItem.left == nLeft)
            return i;
    }
    return -1;
}

int CQXPGalleryLayout::WithinRow(int nHot, BOOL bRight, int cxItem) const
{
    if (nHot < 0 || nHot >= GetCount() || cxItem == 0 || m_rcItems.Width() < 2 * cxItem)
        return nHot;
    // The row around the hot item: from its row start to before the next.
    int nFirst = nHot;
    while (nFirst > 0 && !m_records[nFirst].bBeginRow)
        --nFirst;
    int nLast = nHot;
    while (nLast + 1 < GetCount() && !m_records[nLast + 1].bBeginRow)
        ++nLast;
    auto empty = [this](int i) { return IsRectEmpty(&m_records[i].rcItem) != FALSE; };
    if (bRight) {
        for (int i = nHot + 1; i <= nLast; ++i)
            if (!empty(i))
                return i;
        return nFirst;
    }
    for (int i = nHot - 1; i >= nFirst; --i)
        if (!empty(i))
            return i;
    for (int i = nLast; i > nHot; --i)
        if (!empty(i))
            return i;
    return nHot;
}

int CQXPGalleryLayout::PageMove(int nHot, BOOL bDown) const
{
    if (nHot < 0 || nHot >= GetCount())
        nHot = NextSelectable(-1, bDown ? 1 : -1);
    if (nHot < 0)
        return -1;
    const int nPage = m_rcItems.Height();
    const RECT& rcHot = m_records[nHot].rcItem;
    int nResult = nHot;
    if (bDown) {
        for (int i = nHot + 1; i < GetCount(); ++i)
            if (!m_records[i].pItem->IsLabel() && m_records[i].rcItem.bottom - rcHot.bottom < nPage)
                nResult = i;
    } else {
        for (int i = nHot - 1; i >= 0; --i)
            if (!m_records[i].pItem->IsLabel() && rcHot.top - m_records[i].rcItem.top < nPage)
                nResult = i;
    }
    return nResult;
}

int CQXPGalleryLayout::OnKey(UINT nKey, BOOL bShift, BOOL bRightToLeft, int nHot, int cxItem, BOOL* pbHandled,
                             BOOL* pbExecute) const
{
    *pbHandled = TRUE;
    *pbExecute = FALSE;
    if (bRightToLeft && (nKey == VK_LEFT || nKey == VK_RIGHT))
        nKey = nKey == VK_LEFT ? VK_RIGHT : VK_LEFT;
    switch (nKey) {
    case VK_TAB: {
        int n = NextSelectable(nHot, bShift ? -1 : 1);
        BOOL bOn = bShift ? (n != -1 && (nHot == -1 || n < nHot)) : (n != -1 && n > nHot);
        if (!bOn) {
            *pbHandled = FALSE;
            return nHot;
        }
        return n;
    }
    case VK_RETURN:
        *pbHandled = FALSE;
        *pbExecute = TRUE;
        return nHot;
    case VK_PRIOR:
    case VK_NEXT:
        return PageMove(nHot, nKey == VK_NEXT);
    case VK_HOME:
        return NextSelectable(-1, 1);
    case VK_END:
        return NextSelectable(-1, -1);
    case VK_LEFT:
    case VK_RIGHT:
        return WithinRow(nHot, nKey == VK_RIGHT, cxItem);
    case VK_UP:
    case VK_DOWN: {
        int n = SameColumn(nHot, nKey == VK_DOWN);
        if (n == -1) {
            *pbHandled = FALSE;
            return nHot;
        }
        return n;
    }
    default:
        *pbHandled = FALSE;
        return nHot;
    }
}

// ---------------------------------------------------------------------------
CRect AFXAPI QXPGalleryBorders(BOOL bShowBorders, int cxScrollBar, BOOL bBottomGap, const RECT& rcMargin)
{
    CRect rc(0, 0, 0, 0);
    if (bShowBorders)
        rc.SetRect(1, 1, 1, 1);
    rc.right += cxScrollBar;
    if (bBottomGap)
        rc.bottom = 2;
    rc.left += rcMargin.left;
    rc.top += rcMargin.top;
    rc.right += rcMargin.right;
    rc.bottom += rcMargin.bottom;
    return rc;
}

int AFXAPI QXPGalleryFindItem(const GalleryItemList* pList, int nStart, LPCSTR lpszText, BOOL bExact)
{
    const int nCount = pList ? pList->GetItemCount() : 0;
    if (nCount == 0 || !lpszText || !*lpszText)
        return -1;
    const int nLen = lstrlenA(lpszText);
    int i = nStart + 1;
    if (i < 0 || i >= nCount)
        i = 0;
    for (int n = 0; n < nCount; ++n, i = (i + 1) % nCount) {
        CString strCaption = pList->GetItem(i)->GetCaption();
        if (bExact) {
            if (CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, strCaption, -1, lpszText, -1) == CSTR_EQUAL)
                return i;
        } else if (strCaption.GetLength() >= nLen &&
                   CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, strCaption, nLen, lpszText, nLen) ==
                       CSTR_EQUAL) {
            return i;
        }
    }
    return -1;
}

int AFXAPI QXPGalleryScrollValue(int nCode, int nPosition, int nStart, int cyItem, int cyItems, int nContentHeight)
{
    switch (nCode) {
    case SB_LINEUP:
        return nStart - cyItem;
    case SB_LINEDOWN:
        return nStart + cyItem;
    case SB_PAGEUP:
        return nStart - cyItems;
    case SB_PAGEDOWN:
        return nStart + cyItems;
    case SB_THUMBTRACK:
        return nPosition;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return nContentHeight;
    default:
        return nStart;
    }
}

double AFXAPI QXPGalleryAnimationStep(int nOffset, int nTarget, int nRepeatPeriod)
{
    double dStep = (double)(nTarget - nOffset) / (nRepeatPeriod <= 200 ? 3 : 8);
    if (dStep > -1 && dStep < 1)
        dStep = nTarget < nOffset ? -1 : 1;
    return dStep;
}

int AFXAPI QXPGalleryAnimationTick(int nOffset, int nTarget, double dStep, BOOL* pbDone)
{
    if (fabs(dStep) < fabs((double)(nTarget - nOffset))) {
        *pbDone = FALSE;
        return (int)(nOffset + dStep);
    }
    *pbDone = TRUE;
    return nTarget;
}
