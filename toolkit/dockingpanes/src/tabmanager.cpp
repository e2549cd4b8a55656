// The tab manager: items, selection, scrolling, keyboard, hit tests and the
// mouse loops of a tab strip.
#include <qx/tabmanager.h>
#include <qx/tabpaint.h>
#include <qx/toolkitres.h>

#include <algorithm>

COLORREF AFXAPI QxpResolveTabColor(COLORREF clr)
{
    static const COLORREF s_colors[8] = {0xE4A88A, 0x75DBFF, 0x9FCDBD, 0x9F9EF0,
                                         0xE1A6BA, 0xB4BF9A, 0x83B6F7, 0xC0ABD8};
    if (clr >= QXP_TABCOLOR_FIRST && clr < QXP_TABCOLOR_FIRST + 8)
        return s_colors[clr - QXP_TABCOLOR_FIRST];
    return clr;
}

// ---------------------------------------------------------------------------
CQXPTabManagerItem::CQXPTabManagerItem()
    : m_nButtonLength(0), m_nContentLength(0), m_nIndex(-1), m_bEnabled(TRUE), m_bVisible(TRUE), m_hWnd(NULL),
      m_nImage(0), m_clrItem(0), m_pTabManager(NULL), m_nItemRow(0), m_bClosable(TRUE), m_bFound(FALSE), m_dwData(0)
{
    SetRectEmpty(&m_rcItem);
}

CQXPTabManagerItem::~CQXPTabManagerItem()
{
    for (CQXPTabManagerNavigateButton* b : m_arrNavigateButtons)
        delete b;
}

CString CQXPTabManagerItem::GetCaption() const
{
    return m_pTabManager ? m_pTabManager->GetItemCaption(this) : m_strCaption;
}

void CQXPTabManagerItem::SetCaption(LPCSTR lpszCaption)
{
    CString s = lpszCaption ? lpszCaption : "";
    if (s == m_strCaption)
        return;
    m_strCaption = s;
    if (m_pTabManager)
        m_pTabManager->OnPropertyChanged();
}

COLORREF CQXPTabManagerItem::GetColor() const
{
    return m_pTabManager ? m_pTabManager->GetItemColor(this) : QxpResolveTabColor(m_clrItem);
}

void CQXPTabManagerItem::SetColor(COLORREF clr)
{
    m_clrItem = clr;
    if (m_pTabManager)
        m_pTabManager->RedrawControl(&m_rcItem, FALSE);
}

void CQXPTabManagerItem::SetVisible(BOOL bVisible)
{
    if (m_bVisible == bVisible)
        return;
    m_bVisible = bVisible;
    if (m_pTabManager)
        m_pTabManager->OnPropertyChanged();
}

void CQXPTabManagerItem::SetEnabled(BOOL bEnabled)
{
    if (m_bEnabled == bEnabled)
        return;
    m_bEnabled = bEnabled;
    if (m_pTabManager)
        m_pTabManager->OnPropertyChanged();
}

void CQXPTabManagerItem::Select()
{
    if (m_pTabManager)
        m_pTabManager->OnItemClick(this);
}

void CQXPTabManagerItem::Remove()
{
    if (m_pTabManager)
        m_pTabManager->DeleteItem(m_nIndex);
}

namespace {

// A square 32-bit top-down DIB section of n by n pixels.
HBITMAP CreateSquareDib(HDC hDC, int n, DWORD** ppBits)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = n;
    bmi.bmiHeader.biHeight = -n;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    *ppBits = NULL;
    return ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, (void**)ppBits, NULL, 0);
}

// Mirrors n by n pixels along the diagonal (rows become columns).
void Transpose(const DWORD* pFrom, DWORD* pTo, int n)
{
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            pTo[x * n + y] = pFrom[y * n + x];
}

} // namespace

BOOL CQXPTabManagerItem::DrawImage(HDC hDC, const RECT& rc)
{
    CQXPTabManager* pManager = m_pTabManager;
    const SIZE sz = {rc.right - rc.left, rc.bottom - rc.top};
    if (!pManager || !pManager->DrawItemImage(hDC, POINT{rc.left, rc.top}, this, FALSE, sz))
        return FALSE;
    const CQXPTabPainter* pPaint = pManager->GetPaintManager();
    const int nPosition = pManager->GetPosition();
    if (pPaint && pPaint->m_bRotateImages && (nPosition == 1 || nPosition == 3) && sz.cx == sz.cy && sz.cx > 0) {
        // The image drawn over the transposed background, then the whole
        // transposed back onto the strip.
        const int n = sz.cx;
        DWORD *pUpright = NULL, *pTurned = NULL;
        HBITMAP hUpright = CreateSquareDib(hDC, n, &pUpright);
        HBITMAP hTurned = CreateSquareDib(hDC, n, &pTurned);
        HDC hMem = hUpright && hTurned ? ::CreateCompatibleDC(hDC) : NULL;
        if (hMem) {
            HGDIOBJ hOld = ::SelectObject(hMem, hUpright);
            ::BitBlt(hMem, 0, 0, n, n, hDC, rc.left, rc.top, SRCCOPY);
            ::GdiFlush();
            Transpose(pUpright, pTurned, n);
            ::SelectObject(hMem, hTurned);
            pManager->DrawItemImage(hMem, POINT{0, 0}, this, TRUE, sz);
            ::GdiFlush();
            Transpose(pTurned, pUpright, n);
            ::SelectObject(hMem, hOld);
            ::DeleteDC(hMem);
            ::DrawStateA(hDC, NULL, NULL, (LPARAM)hUpright, 0, rc.left, rc.top, n, n, DST_BITMAP);
        }
        if (hUpright)
            ::DeleteObject(hUpright);
        if (hTurned)
            ::DeleteObject(hTurned);
        if (hMem)
            return TRUE;
    }
    return pManager->DrawItemImage(hDC, POINT{rc.left, rc.top}, this, TRUE, sz);
}

BOOL CQXPTabManagerItem::IsSelected() const
{
    return m_pTabManager && m_pTabManager->GetSelectedItem() == this;
}

// ---------------------------------------------------------------------------
CQXPTabManagerNavigateButton::CQXPTabManagerNavigateButton(CQXPTabManager* pManager, UINT nID, int nMode)
    : m_nID(nID), m_nMode(nMode), m_pManager(pManager), m_bEnabled(TRUE), m_bPressed(FALSE), m_pItem(NULL),
      m_bItemsOverflow(FALSE)
{
    SetRectEmpty(&m_rc);
    static const char* const kTips[] = {"Scroll Left", "Scroll Right", "Close", "", "Active Files"};
    static const UINT kIds[] = {QX_IDS_TAB_SCROLL_LEFT, QX_IDS_TAB_SCROLL_RIGHT, QX_IDS_TAB_CLOSE, 0,
                                QX_IDS_ACTIVE_FILES};
    if (nID < 5)
        m_strToolTip = kIds[nID] ? ToolkitString(kIds[nID], kTips[nID]) : CString(kTips[nID]);
}

SIZE CQXPTabManagerNavigateButton::GetSize() const
{
    CQXPTabPainter* pPaint = m_pManager->GetPaintManager();
    SIZE sz = {14, 15};
    return pPaint ? pPaint->m_szNavigateButton : sz;
}

void CQXPTabManagerNavigateButton::AdjustWidth(int& nWidth)
{
    BOOL bReserve;
    if (m_nID == idLeft || m_nID == idRight)
        bReserve = m_nMode == 2;
    else
        bReserve = m_nMode == 2 || (m_nMode == 1 && m_pManager->IsNavigateButtonVisible(this));
    if (bReserve) {
        SIZE sz = GetSize();
        nWidth -= m_pManager->GetPosition() == 0 || m_pManager->GetPosition() == 2 ? sz.cx : sz.cy;
    }
}

void CQXPTabManagerNavigateButton::PlaceAtEnd(RECT& rc)
{
    SIZE sz = GetSize();
    int pos = m_pManager->GetPosition();
    if (pos == 0 || pos == 2) {
        int centre = (rc.top + rc.bottom) / 2;
        int top = centre + sz.cy / 2 - sz.cy;
        SetRect(&m_rc, rc.right - sz.cx, top, rc.right, top + sz.cy);
        rc.right -= sz.cx;
    } else {
        int centre = (rc.left + rc.right) / 2;
        int left = centre + sz.cx / 2 - sz.cx;
        SetRect(&m_rc, left, rc.bottom - sz.cy, left + sz.cx, rc.bottom);
        rc.bottom -= sz.cy;
    }
}

void CQXPTabManagerNavigateButton::Reposition(RECT& rc)
{
    SetRectEmpty(&m_rc);
    CQXPTabPainter* pPaint = m_pManager->GetPaintManager();
    int nLayout = pPaint ? pPaint->GetLayout() : 0;
    BOOL bHoriz = m_pManager->GetPosition() == 0 || m_pManager->GetPosition() == 2;
    int nTotal = m_pManager->GetItemsLength();
    int nOffset = m_pManager->GetScrollOffset();
    int nLength = bHoriz ? rc.right - rc.left : rc.bottom - rc.top;
    RECT rcMargin = pPaint ? pPaint->GetHeaderMargin() : RECT{0, 0, 0, 0};
    if (m_nID == idLeft || m_nID == idRight) {
        if (m_nID == idLeft)
            m_bEnabled = nOffset < 0;
        else
            m_bEnabled = nLength - rcMargin.left - rcMargin.right - 28 < nTotal + nOffset;
        if (nLayout == tabLayoutMultiRow || m_nMode == 0)
            return;
        if (m_nMode == 1) {
            if (nLayout == tabLayoutSizeToFit)
                return;
            if (!(nTotal + nOffset - 1 > nLength - rcMargin.right || nOffset < 0))
                return;
        }
        PlaceAtEnd(rc);
        return;
    }
    if (m_nID == idActiveFiles) {
        const int nOwn = bHoriz ? GetSize().cx : GetSize().cy;
        m_bItemsOverflow = nLength - rcMargin.left - rcMargin.right - nOwn < nTotal;
    }
    if (m_nMode == 0 || (m_nMode == 1 && !m_pManager->IsNavigateButtonVisible(this)))
        return;
    PlaceAtEnd(rc);
}

void CQXPTabManagerNavigateButton::OnExecute(BOOL bTick)
{
    if (m_nID == idLeft || m_nID == idRight) {
        if (bTick)
            m_pManager->Scroll(m_nID == idRight);
        return;
    }
    if (!bTick)
        m_pManager->OnNavigateButtonClick(this);
}

void CQXPTabManager::OnNavigateButtonClick(CQXPTabManagerNavigateButton* pButton)
{
    OnNavigateButtonClick(pButton->m_nID);
}

void CQXPTabManager::SetItemCloseMode(int nMode)
{
    m_nItemCloseMode = nMode;
    for (CQXPTabManagerItem* p : m_arrItems) {
        CQXPTabManagerNavigateButton* pClose = NULL;
        for (CQXPTabManagerNavigateButton* b : p->m_arrNavigateButtons)
            if (b->m_nID == CQXPTabManagerNavigateButton::idClose)
                pClose = b;
        if (!pClose && nMode) {
            pClose = new CQXPTabManagerNavigateButton(this, CQXPTabManagerNavigateButton::idClose, nMode);
            pClose->m_pItem = p;
            p->m_arrNavigateButtons.push_back(pClose);
        } else if (pClose) {
            pClose->m_nMode = nMode;
            if (!nMode)
                SetRectEmpty(&pClose->m_rc);
        }
    }
    OnItemsChanged();
}

// ---------------------------------------------------------------------------
CQXPTabManager::CQXPTabManager()
    : m_nItemCloseMode(0), m_nScrollStep(20), m_bRevealSelected(FALSE), m_pSelected(NULL), m_pHighlighted(NULL), m_pPressed(NULL), m_pHighlightedNavigateButton(NULL), m_nScrollDelta(0),
      m_bAllowReorder(TRUE), m_bActive(TRUE)
{
    SetRectEmpty(&m_rcHeaderRect);
    SetRectEmpty(&m_rcControl);
    SetRectEmpty(&m_rcClient);
    m_arrNavigateButtons.push_back(new CQXPTabManagerNavigateButton(this, CQXPTabManagerNavigateButton::idLeft, 1));
    m_arrNavigateButtons.push_back(new CQXPTabManagerNavigateButton(this, CQXPTabManagerNavigateButton::idRight, 1));
    m_arrNavigateButtons.push_back(new CQXPTabManagerNavigateButton(this, CQXPTabManagerNavigateButton::idClose, 0));
    m_arrRows.push_back(std::make_pair(0, -1));
}

CQXPTabManager::~CQXPTabManager()
{
    for (CQXPTabManagerItem* p : m_arrItems) {
        p->OnRemoved();
        p->InternalRelease();
    }
    m_arrItems.clear();
    for (CQXPTabManagerNavigateButton* b : m_arrNavigateButtons)
        delete b;
}

COLORREF CQXPTabManager::GetItemColor(const CQXPTabManagerItem* pItem) const
{
    return QxpResolveTabColor(pItem->m_clrItem);
}

int CQXPTabManager::GetPosition() const
{
    CQXPTabPainter* p = GetPaintManager();
    return p ? p->GetPosition() : 0;
}

void CQXPTabManager::OnItemsChanged()
{
    for (size_t i = 0; i < m_arrItems.size(); ++i)
        m_arrItems[i]->m_nIndex = (int)i;
    OnPropertyChanged();
}

void CQXPTabManager::SetSelectedItem(CQXPTabManagerItem* pItem)
{
    if (pItem == m_pSelected)
        return;
    m_pSelected = pItem;
    // Scrolled into view by the layout that follows, when its rectangle is
    // known: the host may lay out later than now.
    m_bRevealSelected = pItem != NULL;
    OnPropertyChanged();
}

void CQXPTabManager::SetCurSelByKey(CQXPTabManagerItem* pItem)
{
    if (pItem && IsItemSelectable(pItem))
        OnItemClick(pItem);
}

CQXPTabManagerItem* CQXPTabManager::AddItem(int nIndex, CQXPTabManagerItem* pItem)
{
    if (!pItem)
        pItem = new CQXPTabManagerItem();
    if (nIndex < 0 || nIndex > (int)m_arrItems.size())
        nIndex = (int)m_arrItems.size();
    m_arrItems.insert(m_arrItems.begin() + nIndex, pItem);
    pItem->m_pTabManager = this;
    // An item moved in from another strip brings its own buttons: they
    // answer to this strip from now on, and its close button is reused.
    CQXPTabManagerNavigateButton* pClose = NULL;
    for (CQXPTabManagerNavigateButton* b : pItem->m_arrNavigateButtons) {
        b->m_pManager = this;
        if (b->m_nID == CQXPTabManagerNavigateButton::idClose)
            pClose = b;
    }
    if (pClose) {
        pClose->m_nMode = m_nItemCloseMode;
        if (!m_nItemCloseMode)
            SetRectEmpty(&pClose->m_rc);
    } else if (m_nItemCloseMode) {
        pClose = new CQXPTabManagerNavigateButton(this, CQXPTabManagerNavigateButton::idClose, m_nItemCloseMode);
        pClose->m_pItem = pItem;
        pItem->m_arrNavigateButtons.push_back(pClose);
    }
    CQXPTabPainter* pPaint = GetPaintManager();
    static int s_counter = 0;
    pItem->m_clrItem = pPaint ? pPaint->NextItemColor() : QXP_TABCOLOR_FIRST + (s_counter++ % 8);
    OnItemsChanged();
    return pItem;
}

BOOL CQXPTabManager::DeleteItem(int nIndex)
{
    if (nIndex < 0 || nIndex >= (int)m_arrItems.size())
        return FALSE;
    CQXPTabManagerItem* pItem = m_arrItems[nIndex];
    BOOL bSelected = pItem == m_pSelected;
    ForgetItem(pItem);
    m_arrItems.erase(m_arrItems.begin() + nIndex);
    pItem->OnRemoved();
    pItem->InternalRelease();
    if (bSelected) {
        m_pSelected = NULL;
        if (!m_arrItems.empty())
            m_pSelected = m_arrItems[std::min<int>(nIndex, (int)m_arrItems.size() - 1)];
    }
    OnItemsChanged();
    return TRUE;
}

void CQXPTabManager::DeleteAllItems()
{
    std::vector<CQXPTabManagerItem*> items;
    items.swap(m_arrItems);
    m_pSelected = m_pHighlighted = m_pPressed = NULL;
    for (CQXPTabManagerItem* p : items)
        ForgetItem(p);
    for (CQXPTabManagerItem* p : items) {
        p->OnRemoved();
        p->InternalRelease();
    }
    OnItemsChanged();
}

CQXPTabManagerItem* CQXPTabManager::GetItem(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_arrItems.size() ? m_arrItems[nIndex] : NULL;
}

void CQXPTabManager::SetCurSel(int nIndex)
{
    if (m_arrItems.empty()) {
        SetSelectedItem(NULL);
        return;
    }
    nIndex = std::max(0, std::min(nIndex, (int)m_arrItems.size() - 1));
    SetSelectedItem(m_arrItems[nIndex]);
}

int CQXPTabManager::GetCurSel() const
{
    return m_pSelected ? m_pSelected->m_nIndex : -1;
}

CQXPTabManagerItem* CQXPTabManager::FindNextFocusable(int nIndex, int nStep) const
{
    for (int i = nIndex; i >= 0 && i < (int)m_arrItems.size(); i += nStep) {
        CQXPTabManagerItem* p = m_arrItems[i];
        if (p->m_bVisible && p->m_bEnabled)
            return p;
        if (nStep == 0)
            break;
    }
    return NULL;
}

int CQXPTabManager::GetItemsLength() const
{
    // Rotated tabs each take one row height along the strip.
    const CQXPTabPainter* pPaint = GetPaintManager();
    if (pPaint && pPaint->GetLayout() == tabLayoutRotated)
        return GetItemCount() * pPaint->RowHeight(this);
    int n = 0;
    for (CQXPTabManagerItem* p : m_arrItems)
        n += p->m_nButtonLength;
    return n;
}

CQXPTabManagerNavigateButton* CQXPTabManager::FindNavigateButton(UINT nID) const
{
    for (CQXPTabManagerNavigateButton* b : m_arrNavigateButtons)
        if (b->m_nID == nID)
            return b;
    return NULL;
}

void CQXPTabManager::SetScrollOffset(int nOffset)
{
    nOffset = std::min(0, nOffset);
    if (nOffset != m_nScrollDelta) {
        m_nScrollDelta = nOffset;
        OnPropertyChanged();
    }
}

void CQXPTabManager::Scroll(BOOL bForward)
{
    SetScrollOffset(bForward ? m_nScrollDelta - m_nScrollStep : m_nScrollDelta + m_nScrollStep);
}

BOOL CQXPTabManager::DrawItemImage(HDC hDC, POINT pt, CQXPTabManagerItem* pItem, BOOL bDraw, SIZE szIcon) const
{
    HICON hIcon = (HICON)GetItemImage(pItem);
    if (!hIcon)
        return FALSE;
    if (bDraw)
        ::DrawIconEx(hDC, pt.x, pt.y, hIcon, szIcon.cx, szIcon.cy, 0, NULL, DI_NORMAL);
    return TRUE;
}

BOOL CQXPTabManager::IsNavigateButtonVisible(const CQXPTabManagerNavigateButton* pButton) const
{
    if (pButton->m_nID != CQXPTabManagerNavigateButton::idClose)
        return TRUE;
    if (CQXPTabManagerItem* pItem = pButton->m_pItem) {
        // An item's own close button: always, or on the selected or hot item.
        if (!pItem->m_bClosable || pButton->m_nMode == 0)
            return FALSE;
        return pButton->m_nMode == 2 || pItem == m_pSelected || pItem == m_pHighlighted;
    }
    return m_pSelected && m_pSelected->m_bClosable;
}

void CQXPTabManager::ForgetItem(CQXPTabManagerItem* pItem)
{
    if (m_pHighlighted == pItem)
        m_pHighlighted = NULL;
    // A loop tracking this item must not use it any more.
    if (m_pPressed == pItem)
        m_pPressed = NULL;
    if (m_pHighlightedNavigateButton && m_pHighlightedNavigateButton->m_pItem == pItem)
        m_pHighlightedNavigateButton = NULL;
}

CQXPTabManagerItem* CQXPTabManager::HitTest(POINT pt) const
{
    if (!PtInRect(&m_rcControl, pt))
        return NULL;
    if (!IsRectEmpty(&m_rcHeaderRect) && !PtInRect(&m_rcHeaderRect, pt))
        return NULL;
    for (CQXPTabManagerItem* p : m_arrItems)
        if (p->m_bVisible && p->m_bEnabled && PtInRect(&p->m_rcItem, pt))
            return p;
    return NULL;
}

CQXPTabManagerNavigateButton* CQXPTabManager::HitTestNavigateButton(POINT pt, BOOL bHeaderOnly,
                                                                    int* pnIndex) const
{
    for (size_t i = 0; i < m_arrNavigateButtons.size(); ++i) {
        CQXPTabManagerNavigateButton* b = m_arrNavigateButtons[i];
        if (PtInRect(&b->m_rc, pt)) {
            if (pnIndex)
                *pnIndex = (int)i;
            return b->m_bEnabled ? b : NULL;
        }
    }
    // Then the buttons of the item under the point.
    if (!bHeaderOnly)
        if (CQXPTabManagerItem* pItem = HitTest(pt))
            for (CQXPTabManagerNavigateButton* b : pItem->m_arrNavigateButtons)
                if (b->m_bEnabled && PtInRect(&b->m_rc, pt))
                    return b;
    return NULL;
}

CString CQXPTabManager::GetNavigateButtonTooltip(const CQXPTabManagerNavigateButton* pButton) const
{
    return pButton ? pButton->m_strToolTip : CString();
}

void CQXPTabManager::GetItemMetrics(SIZE* pszButton, SIZE* pszMin, SIZE* pszMax) const
{
    CQXPTabPainter* pPaint = GetPaintManager();
    if (!pPaint)
        return;
    if (pszButton)
        *pszButton = SIZE{pPaint->m_nFixedTabWidth, 0};
    if (pszMin)
        *pszMin = SIZE{pPaint->m_nMinTabWidth, 0};
    if (pszMax)
        *pszMax = SIZE{pPaint->m_nMaxTabWidth, 0};
}

BOOL CQXPTabManager::IsDrawStaticFrame() const
{
    CQXPTabPainter* pPaint = GetPaintManager();
    return pPaint && pPaint->m_bStaticFrame;
}

INT_PTR CQXPTabManager::OnToolHitTest(POINT pt, CString* pText, RECT* pRect, CString* pTitle) const
{
    if (IsMouseLocked())
        return -1;
    int nButton = -1;
    for (size_t i = 0; i < m_arrNavigateButtons.size(); ++i)
        if (PtInRect(&m_arrNavigateButtons[i]->m_rc, pt))
            nButton = (int)i;
    if (nButton >= 0) {
        const CQXPTabManagerNavigateButton* b = m_arrNavigateButtons[nButton];
        CString strTip = GetNavigateButtonTooltip(b);
        if (strTip.IsEmpty())
            return -1;
        *pText = strTip;
        *pRect = b->m_rc;
        return nButton;
    }
    CQXPTabManagerItem* pItem = HitTest(pt);
    CQXPTabPainter* pPaint = GetPaintManager();
    int nMode = pPaint ? pPaint->m_nToolTipMode : 2;
    if (!pItem || nMode == 0 || (nMode == 2 && pItem->m_nButtonLength >= pItem->m_nContentLength))
        return -1;
    CString strTip = GetItemTooltip(pItem);
    if (strTip.IsEmpty())
        return -1;
    *pText = strTip;
    *pRect = pItem->m_rcItem;
    if (pTitle)
        *pTitle = pItem->GetCaption();
    return pItem->m_nIndex;
}

BOOL CQXPTabManager::OnKeyDown(HWND hWnd, UINT nKey)
{
    if (m_arrItems.empty())
        return FALSE;
    if (hWnd && (::GetWindowLong(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)) {
        if (nKey == VK_LEFT)
            nKey = VK_RIGHT;
        else if (nKey == VK_RIGHT)
            nKey = VK_LEFT;
    }
    BOOL bHoriz = GetPosition() == 0 || GetPosition() == 2;
    int nSel = GetCurSel();
    switch (nKey) {
    case VK_HOME:
        SetCurSelByKey(FindNextFocusable(0, 1));
        return TRUE;
    case VK_END:
        SetCurSelByKey(FindNextFocusable((int)m_arrItems.size() - 1, -1));
        return TRUE;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        BOOL bAlong = (nKey == VK_LEFT || nKey == VK_RIGHT) ? bHoriz : !bHoriz;
        if (!bAlong || nSel < 0)
            return TRUE;
        BOOL bNext = nKey == VK_RIGHT || nKey == VK_DOWN;
        SetCurSelByKey(bNext ? FindNextFocusable(nSel + 1, 1) : FindNextFocusable(nSel - 1, -1));
        return TRUE;
    }
    }
    return FALSE;
}

void CQXPTabManager::SetActive(BOOL bActive)
{
    if (m_bActive != bActive) {
        m_bActive = bActive;
        OnPropertyChanged();
    }
}

void CQXPTabManager::EnsureVisible(CQXPTabManagerItem* pItem)
{
    if (CQXPTabPainter* p = GetPaintManager())
        p->EnsureVisible(this, pItem);
}

void CQXPTabManager::Reposition(HDC hDC, const RECT& rc)
{
    m_rcControl = rc;
    m_rcClient = rc;
    if (CQXPTabPainter* p = GetPaintManager()) {
        p->RepositionTabControl(this, hDC, rc);
        p->AdjustClientRect(this, m_rcClient);
    }
}

BOOL CQXPTabManager::IsLiveItem(const CQXPTabManagerItem* pItem) const
{
    return pItem && pItem->m_pTabManager == this &&
           std::find(m_arrItems.begin(), m_arrItems.end(), pItem) != m_arrItems.end();
}

void CQXPTabManager::TrackMouse(HWND hWnd, POINT pt)
{
    HWND hTop = hWnd ? ::GetAncestor(hWnd, GA_ROOT) : NULL;
    CQXPTabPainter* pPaint = GetPaintManager();
    if (!hTop || ::GetLastActivePopup(hTop) != ::GetForegroundWindow() || IsMouseLocked()) {
        // Nothing is hot while another window is in front or a menu is open.
        if (m_pHighlighted) {
            RECT rc = m_pHighlighted->m_rcItem;
            m_pHighlighted = NULL;
            RedrawControl(&rc, FALSE);
        }
        if (m_pHighlightedNavigateButton) {
            m_pHighlightedNavigateButton = NULL;
            RedrawControl(NULL, FALSE);
        }
        return;
    }
    if (pPaint && pPaint->m_bHotTracking) {
        CQXPTabManagerItem* pHot = HitTest(pt);
        if (pHot != m_pHighlighted) {
            // The old item is redrawn once it is no longer hot: a host may
            // paint at once (a command bar painting into its copy).
            CQXPTabManagerItem* pOld = m_pHighlighted;
            m_pHighlighted = pHot;
            if (pOld)
                RedrawControl(&pOld->m_rcItem, FALSE);
            if (pHot)
                RedrawControl(&pHot->m_rcItem, FALSE);
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, hWnd, 0};
            ::TrackMouseEvent(&tme);
        }
    }
    CQXPTabManagerNavigateButton* pButton = HitTestNavigateButton(pt, FALSE);
    if (pButton != m_pHighlightedNavigateButton) {
        m_pHighlightedNavigateButton = pButton;
        RedrawControl(NULL, FALSE);
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, hWnd, 0};
        ::TrackMouseEvent(&tme);
    }
}

BOOL CQXPTabManager::PerformClick(HWND hWnd, POINT pt, BOOL bNoItemClick)
{
    if (CQXPTabManagerNavigateButton* pButton = HitTestNavigateButton(pt, FALSE)) {
        TrackNavigateButton(hWnd, pButton, pt);
        return TRUE;
    }
    if (bNoItemClick)
        return FALSE;
    CQXPTabManagerItem* pItem = HitTest(pt);
    if (!pItem || !IsItemSelectable(pItem))
        return pItem != NULL;
    CQXPTabPainter* pPaint = GetPaintManager();
    if (m_bAllowReorder)
        TrackReorder(hWnd, pt, pItem);
    else if (pPaint && pPaint->m_bSelectOnButtonDown)
        OnItemClick(pItem);
    else if (TrackClick(hWnd, pItem, pt))
        OnItemClick(pItem);
    return TRUE;
}

namespace {

// Point of a mouse message in the tracking window's client coordinates.
POINT MessagePoint(HWND hWnd, const MSG& msg)
{
    POINT pt = msg.pt;
    if (msg.hwnd == hWnd) {
        pt.x = (short)LOWORD(msg.lParam);
        pt.y = (short)HIWORD(msg.lParam);
    } else {
        ::ScreenToClient(hWnd, &pt);
    }
    return pt;
}

} // namespace

BOOL CQXPTabManager::TrackClick(HWND hWnd, CQXPTabManagerItem* pItem, POINT pt)
{
    CQXPTabPainter* pPaint = GetPaintManager();
    // The item is held for the whole loop; the host may remove it from the
    // strip meanwhile, which ends the loop without a click.
    pItem->InternalAddRef();
    m_pPressed = pItem;
    if (pPaint && pPaint->m_bHotTracking)
        m_pHighlighted = pItem;
    OnPropertyChanged();
    ::SetCapture(hWnd);
    BOOL bInside = TRUE, bResult = FALSE;
    for (;;) {
        MSG msg;
        if (!::GetMessage(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (::GetCapture() != hWnd) {
            ::DispatchMessage(&msg);
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            pt = MessagePoint(hWnd, msg);
            BOOL b = IsLiveItem(pItem) && PtInRect(&pItem->m_rcItem, pt);
            if (b != bInside) {
                bInside = b;
                if (pPaint && pPaint->m_bHotTracking)
                    m_pHighlighted = b ? pItem : NULL;
                RedrawControl(&pItem->m_rcItem, FALSE);
            }
        } else if (msg.message == WM_LBUTTONUP) {
            pt = MessagePoint(hWnd, msg);
            bResult = IsLiveItem(pItem) && PtInRect(&pItem->m_rcItem, pt);
            break;
        } else if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_CANCELMODE ||
                   msg.message == WM_RBUTTONDOWN) {
            break;
        } else if (msg.message == WM_KEYDOWN) {
            // other keys are swallowed while the button is held
        } else {
            ::DispatchMessage(&msg);
        }
        if (!IsLiveItem(pItem))
            break;
    }
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    if (m_pPressed == pItem)
        m_pPressed = NULL;
    BOOL bLive = IsLiveItem(pItem);
    pItem->InternalRelease();
    // The hot item is what lies under the last point now, not what the
    // press held.
    TrackMouse(hWnd, pt);
    RedrawControl(NULL, FALSE);
    return bResult && bLive;
}

void CQXPTabManager::TrackReorder(HWND hWnd, POINT pt, CQXPTabManagerItem* pItem)
{
    CQXPTabPainter* pPaint = GetPaintManager();
    CQXPTabManagerItem* pSelected = m_pSelected;
    pItem->InternalAddRef();
    if (pSelected)
        pSelected->InternalAddRef();
    SetSelectedItem(pItem);
    if (pPaint && pPaint->m_bHotTracking)
        m_pHighlighted = pItem;
    RedrawControl(NULL, FALSE);
    std::vector<RECT> rects;
    for (CQXPTabManagerItem* p : m_arrItems)
        rects.push_back(p->m_rcItem);
    ::SetCapture(hWnd);
    for (;;) {
        MSG msg;
        if (!::GetMessage(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (::GetCapture() != hWnd) {
            ::DispatchMessage(&msg);
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            pt = MessagePoint(hWnd, msg);
            int nFrom = IsLiveItem(pItem) ? pItem->m_nIndex : -1;
            for (size_t i = 0; nFrom >= 0 && i < rects.size() && i < m_arrItems.size(); ++i) {
                if ((int)i == nFrom || !PtInRect(&rects[i], pt))
                    continue;
                std::swap(m_arrItems[i], m_arrItems[nFrom]);
                OnItemsChanged();
                break;
            }
        } else if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) ||
                   msg.message == WM_CANCELMODE || msg.message == WM_RBUTTONDOWN) {
            if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONDOWN)
                pt = MessagePoint(hWnd, msg);
            break;
        } else {
            ::DispatchMessage(&msg);
        }
        if (!IsLiveItem(pItem))
            break;
    }
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    TrackMouse(hWnd, pt);
    // Restore the selection of the start, then click the dragged item: only
    // items still in the strip are touched.
    if (IsLiveItem(pSelected))
        SetSelectedItem(pSelected);
    if (IsLiveItem(pItem))
        OnItemClick(pItem);
    if (pSelected)
        pSelected->InternalRelease();
    pItem->InternalRelease();
    RedrawControl(NULL, FALSE);
}

BOOL CQXPTabManager::TrackNavigateButton(HWND hWnd, CQXPTabManagerNavigateButton* pButton, POINT pt)
{
    if (::GetCapture() != NULL || !pButton->m_bEnabled)
        return FALSE;
    ::SetCapture(hWnd);
    pButton->m_bPressed = TRUE;
    RedrawControl(&pButton->m_rc, FALSE);
    DWORD dwLast = ::GetTickCount();
    BOOL bInside = TRUE, bExecute = FALSE;
    for (;;) {
        // Scrolling repeats while the button is held, wherever the mouse is.
        if (pButton->m_bEnabled && ::GetTickCount() - dwLast > 20) {
            dwLast = ::GetTickCount();
            pButton->OnExecute(TRUE);
        }
        MSG msg;
        if (!::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            // Another window took the mouse while nothing arrived: the
            // press is over.
            if (::GetCapture() != hWnd)
                break;
            ::Sleep(5);
            continue;
        }
        if (!::GetMessage(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (::GetCapture() != hWnd) {
            ::DispatchMessage(&msg);
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            pt = MessagePoint(hWnd, msg);
            BOOL b = PtInRect(&pButton->m_rc, pt);
            if (b != bInside) {
                bInside = b;
                pButton->m_bPressed = b;
                RedrawControl(&pButton->m_rc, FALSE);
            }
        } else if (msg.message == WM_LBUTTONUP) {
            pt = MessagePoint(hWnd, msg);
            bExecute = PtInRect(&pButton->m_rc, pt);
            break;
        } else if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_CANCELMODE ||
                   msg.message == WM_RBUTTONDOWN) {
            break;
        } else if (msg.message != WM_KEYDOWN) {
            ::DispatchMessage(&msg);
        }
    }
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    pButton->m_bPressed = FALSE;
    // The hot button (or tab) is the one under the last point now.
    TrackMouse(hWnd, pt);
    RedrawControl(NULL, FALSE);
    if (bExecute)
        pButton->OnExecute(FALSE);
    return bExecute;
}
