// The tab paint manager: appearance and colour set by number, fonts, the
// strip layout and plain drawing.
#include <qx/tabpaint.h>
#include <qx/fonts.h>

#include <algorithm>
#include <numeric>

namespace {

struct AppearanceInfo {
    RECT margins;
    int supported;
    int defaultColors;
};

const AppearanceInfo kAppearances[] = {
    {{2, 3, 6, 0}, 13, 1},   // 0
    {{2, 3, 6, 0}, 13, 1},   // 1
    {{2, 2, 4, 0}, 7, 1},    // 2
    {{2, 3, 6, 0}, 21, 4},   // 3
    {{2, 2, 4, 2}, 31, 2},   // 4
    {{4, 2, 4, 0}, 7, 2},    // 5
    {{2, 2, 4, 0}, 7, 2},    // 6
    {{2, 2, 4, 0}, 7, 2},    // 7
    {{0, 0, 0, 0}, 5, 1},    // 8
    {{2, 3, 6, 0}, 21, 4},   // 9
    {{4, 1, 0, 0}, 32, 32},  // 10
};

const AppearanceInfo& Appearance(int n)
{
    if (n < 0 || n >= (int)(sizeof(kAppearances) / sizeof(kAppearances[0])))
        n = 0;
    return kAppearances[n];
}

}  // namespace

CQXPTabPainter::CQXPTabPainter()
    : m_bHotTracking(FALSE), m_bShowIcons(TRUE), m_bBoldSelected(FALSE), m_bBoldNormal(FALSE),
      m_bStaticFrame(FALSE), m_bSelectOnButtonDown(FALSE), m_bActivateOnDragOver(TRUE), m_bMiddleEllipsis(FALSE),
      m_bUseSystemFont(TRUE), m_nExtraItemWidth(0), m_nFixedTabWidth(70), m_nMinTabWidth(0), m_nMaxTabWidth(0),
      m_nToolTipMode(2), m_nAppearance(0), m_nColorSet(1), m_nPosition(0), m_nLayout(0), m_nColorCounter(0),
      m_nRowHeight(20)
{
    SetRectEmpty(&m_rcClientMargin);
    SetRectEmpty(&m_rcButtonMargin);
    SetRect(&m_rcContentInset, 6, 0, 6, 0);
    m_szNavigateButton.cx = 14;
    m_szNavigateButton.cy = 15;
    m_szIcon.cx = m_szIcon.cy = 16;
    m_rcHeaderMargin = Appearance(0).margins;
    ZeroMemory(&m_lfNormal, sizeof(m_lfNormal));
    ZeroMemory(&m_lfVertical, sizeof(m_lfVertical));
    for (HFONT& h : m_hFonts)
        h = NULL;
    RefreshMetrics();
}

CQXPTabPainter::~CQXPTabPainter()
{
    for (HFONT h : m_hFonts)
        if (h)
            ::DeleteObject(h);
}

int AFXAPI CQXPTabPainter::GetSupportedColorSets(int nAppearance)
{
    return Appearance(nAppearance).supported;
}

int AFXAPI CQXPTabPainter::GetDefaultColorSet(int nAppearance)
{
    return Appearance(nAppearance).defaultColors;
}

RECT CQXPTabPainter::GetHeaderMargin() const
{
    // Slanted and rounded tabs leave room for their sloping ends.
    RECT rc = m_rcHeaderMargin;
    int h = m_nRowHeight;
    switch (m_nAppearance) {
    case 3: rc.left += h; break;
    case 7: rc.left += h / 2; rc.right += h / 2; break;
    case 9: rc.left += h / 2; break;
    }
    return rc;
}

void CQXPTabPainter::SetAppearance(int nAppearance)
{
    m_nAppearance = nAppearance;
    m_rcHeaderMargin = Appearance(nAppearance).margins;
    SetColor(Appearance(nAppearance).defaultColors);
    OnPropertyChanged();
}

void CQXPTabPainter::SetColor(int nColorSet)
{
    static const int known[] = {1, 2, 4, 8, 16, 32};
    m_nColorSet = std::find(std::begin(known), std::end(known), nColorSet) != std::end(known) ? nColorSet : 1;
    OnPropertyChanged();
}

void CQXPTabPainter::SetPosition(int nPosition)
{
    m_nPosition = (nPosition >= 0 && nPosition <= 3) ? nPosition : 0;
    OnPropertyChanged();
}

void CQXPTabPainter::SetLayout(int nLayout)
{
    m_nLayout = nLayout;
    OnPropertyChanged();
}

void CQXPTabPainter::SetItemMetrics(int nFixed, int nMin, int nMax)
{
    m_nFixedTabWidth = nFixed;
    m_nMinTabWidth = nMin;
    m_nMaxTabWidth = nMax;
    OnPropertyChanged();
}

void CQXPTabPainter::AddListener(CQXPTabManagerAtom* pAtom)
{
    if (std::find(m_arrListeners.begin(), m_arrListeners.end(), pAtom) == m_arrListeners.end())
        m_arrListeners.push_back(pAtom);
}

void CQXPTabPainter::RemoveListener(CQXPTabManagerAtom* pAtom)
{
    m_arrListeners.erase(std::remove(m_arrListeners.begin(), m_arrListeners.end(), pAtom), m_arrListeners.end());
}

void CQXPTabPainter::OnPropertyChanged()
{
    std::vector<CQXPTabManagerAtom*> listeners = m_arrListeners;
    for (CQXPTabManagerAtom* p : listeners)
        p->Reposition();
}

void CQXPTabPainter::RefreshMetrics()
{
    if (m_bUseSystemFont) {
        LOGFONTA lf;
        if (::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0))
            SetFontIndirect(&lf, TRUE);
    }
}

void CQXPTabPainter::SetFontIndirect(const LOGFONTA* pLogFont, BOOL bUseSystemFont)
{
    m_bUseSystemFont = bUseSystemFont;
    if (!pLogFont)
        return;
    m_lfNormal = *pLogFont;
    RebuildFonts();
}

void CQXPTabPainter::RebuildFonts()
{
    for (HFONT& h : m_hFonts) {
        if (h)
            ::DeleteObject(h);
        h = NULL;
    }
    LOGFONTA lf = m_lfNormal;
    lf.lfWeight = m_bBoldNormal ? FW_BOLD : FW_NORMAL;
    m_hFonts[0] = ::CreateFontIndirectA(&lf);
    lf.lfWeight = FW_BOLD;
    m_hFonts[1] = ::CreateFontIndirectA(&lf);
    LOGFONTA lv = m_lfNormal;
    static CQXSystemFonts* s_fonts = new CQXSystemFonts();
    CString face = s_fonts->GetVerticalFace(m_lfNormal.lfFaceName, FALSE);
    lstrcpynA(lv.lfFaceName, face, LF_FACESIZE);
    lv.lfEscapement = 2700;
    lv.lfOrientation = 900;
    if (lv.lfHeight > -11 && lv.lfHeight < 0)
        lv.lfHeight = -11;
    m_lfVertical = lv;
    lv.lfWeight = m_bBoldNormal ? FW_BOLD : FW_NORMAL;
    m_hFonts[2] = ::CreateFontIndirectA(&lv);
    lv.lfWeight = FW_BOLD;
    m_hFonts[3] = ::CreateFontIndirectA(&lv);
    // Row height: the text with room above and below, at least the icon.
    HDC hDC = ::GetDC(NULL);
    HFONT hOld = (HFONT)::SelectObject(hDC, m_hFonts[0]);
    TEXTMETRICA tm;
    ::GetTextMetricsA(hDC, &tm);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    m_nRowHeight = std::max<int>(tm.tmHeight + 6, m_szIcon.cy + 4);
}

HFONT CQXPTabPainter::GetFont(BOOL bBold, BOOL bVertical) const
{
    return m_hFonts[(bVertical ? 2 : 0) + (bBold ? 1 : 0)];
}

int CQXPTabPainter::GetButtonHeight() const
{
    return m_nRowHeight;
}

int CQXPTabPainter::GetButtonLength(HDC hDC, CQXPTabManager* pManager, CQXPTabManagerItem* pItem)
{
    int margins = m_rcButtonMargin.left + m_rcButtonMargin.right;
    int n;
    if (m_nLayout == tabLayoutFixed) {
        n = m_nFixedTabWidth + margins;
    } else {
        auto captionWidth = [&](CQXPTabManagerItem* p) {
            CString s = p->GetCaption();
            RECT rc = {0, 0, 0, 0};
            HFONT hOld = (HFONT)::SelectObject(hDC, GetFont(FALSE, FALSE));
            ::DrawTextA(hDC, s, s.GetLength(), &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
            ::SelectObject(hDC, hOld);
            return (int)(rc.right - rc.left);
        };
        int image = (m_bShowIcons && pManager->GetItemImage(pItem)) ? m_szIcon.cx : 0;
        int inset = m_rcContentInset.left + m_rcContentInset.right;
        if (m_nLayout == tabLayoutCompressed) {
            if (pItem == pManager->GetSelectedItem()) {
                int widest = 0;
                for (CQXPTabManagerItem* p : pManager->m_arrItems)
                    widest = std::max(widest, captionWidth(p));
                n = widest + image + inset + margins;
            } else {
                n = image + margins + 8;
            }
        } else {
            n = captionWidth(pItem) + image + inset + margins;
        }
    }
    if (m_nMinTabWidth > 0)
        n = std::max(n, m_nMinTabWidth);
    if (m_nMaxTabWidth > 0)
        n = std::min(n, m_nMaxTabWidth);
    return n;
}

void AFXAPI CQXPTabPainter::ShrinkItems(std::vector<int>& widths, int nAvailable)
{
    if (widths.empty())
        return;
    long long total = std::accumulate(widths.begin(), widths.end(), 0LL);
    if (total <= nAvailable)
        return;
    if (widths.size() == 1) {
        widths[0] = std::max(0, nAvailable);
        return;
    }
    std::vector<size_t> order(widths.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return widths[a] < widths[b]; });
    int remaining = std::max(0, nAvailable);
    int count = (int)widths.size();
    size_t i = 0;
    for (; i < order.size(); ++i) {
        int w = widths[order[i]];
        if ((long long)count * w < remaining) {
            remaining -= w;
            --count;
        } else {
            break;
        }
    }
    for (; i < order.size(); ++i) {
        int share = count > 0 ? remaining / count : 0;
        widths[order[i]] = share;
        remaining -= share;
        --count;
    }
}

RECT CQXPTabPainter::GetHeaderRect(CQXPTabManager* /*pManager*/, const RECT& rcControl) const
{
    RECT rc = rcControl;
    int h = m_rcHeaderMargin.top + m_nRowHeight + m_rcHeaderMargin.bottom;
    switch (m_nPosition) {
    case tabPositionTop: rc.bottom = std::min<LONG>(rc.top + h, rcControl.bottom); break;
    case tabPositionBottom: rc.top = std::max<LONG>(rc.bottom - h, rcControl.top); break;
    case tabPositionLeft: rc.right = std::min<LONG>(rc.left + h, rcControl.right); break;
    default: rc.left = std::max<LONG>(rc.right - h, rcControl.left); break;
    }
    return rc;
}

void CQXPTabPainter::PlaceNavigateButtons(CQXPTabManager* pManager, const RECT& rcControl)
{
    RECT rc = GetHeaderRect(pManager, rcControl);
    if (IsHorizontal())
        rc.right -= 1;
    else
        rc.bottom -= 1;
    for (auto it = pManager->m_arrNavigateButtons.rbegin(); it != pManager->m_arrNavigateButtons.rend(); ++it)
        (*it)->Reposition(rc);
    pManager->m_rcHeaderRect = rc;
}

void CQXPTabPainter::RepositionTabControl(CQXPTabManager* pManager, HDC hDC, const RECT& rcIn)
{
    RECT rc = rcIn;
    if (m_bStaticFrame) {
        if (IsHorizontal()) {
            rc.left += 2; rc.top += 1; rc.right -= 2; rc.bottom -= 2;
        } else {
            rc.left += 1; rc.top += 2; rc.right -= 2; rc.bottom -= 2;
        }
    }
    rc.left += m_rcClientMargin.left;
    rc.top += m_rcClientMargin.top;
    rc.right -= m_rcClientMargin.right;
    rc.bottom -= m_rcClientMargin.bottom;
    pManager->m_rcControl = rcIn;

    HDC hMeasure = hDC ? hDC : ::GetDC(NULL);
    for (CQXPTabManagerItem* p : pManager->m_arrItems) {
        p->m_nButtonLength = p->m_bVisible ? GetButtonLength(hMeasure, pManager, p) : 0;
        p->m_nContentLength = p->m_nButtonLength;
        if (p->m_bVisible && m_nLayout != tabLayoutMultiRow)
            p->m_nButtonLength += m_nExtraItemWidth;
        p->m_nItemRow = 0;
    }
    if (!hDC)
        ::ReleaseDC(NULL, hMeasure);

    const int h = m_nRowHeight;
    const RECT rcMargin = GetHeaderMargin();
    const int mStart = rcMargin.left, mEnd = rcMargin.right;
    RECT rcHeader = GetHeaderRect(pManager, rc);
    int length = IsHorizontal() ? rc.right - rc.left : rc.bottom - rc.top;
    int cross;
    switch (m_nPosition) {
    case tabPositionTop: cross = rc.top + m_rcHeaderMargin.top; break;
    case tabPositionBottom: cross = rc.bottom - m_rcHeaderMargin.top - h; break;
    case tabPositionLeft: cross = rc.left + m_rcHeaderMargin.top; break;
    default: cross = rc.right - m_rcHeaderMargin.top - h; break;
    }
    pManager->m_arrRows.assign(1, std::make_pair(0, pManager->GetItemCount() - 1));
    if (pManager->m_arrItems.empty()) {
        PlaceNavigateButtons(pManager, rc);
        return;
    }
    if (m_nLayout == tabLayoutSizeToFit) {
        int avail = length - mStart - mEnd;
        for (auto it = pManager->m_arrNavigateButtons.rbegin(); it != pManager->m_arrNavigateButtons.rend(); ++it)
            (*it)->AdjustWidth(avail);
        std::vector<int> widths;
        for (CQXPTabManagerItem* p : pManager->m_arrItems)
            widths.push_back(p->m_nButtonLength);
        ShrinkItems(widths, avail);
        for (size_t i = 0; i < widths.size(); ++i)
            pManager->m_arrItems[i]->m_nButtonLength = widths[i];
    }
    if (m_nLayout == tabLayoutMultiRow)
        pManager->SetScrollOffset(0);
    PlaceNavigateButtons(pManager, rc);
    int headerLength = End(pManager->m_rcHeaderRect) - Start(pManager->m_rcHeaderRect);
    int total = pManager->GetItemsLength();
    int offset = pManager->GetScrollOffset();
    if (offset < 0 && total + offset < headerLength - mStart - mEnd) {
        int n = headerLength - mStart - mEnd - total;
        pManager->SetScrollOffset(n < 1 ? n : 0);
        PlaceNavigateButtons(pManager, rc);
        offset = pManager->GetScrollOffset();
    }
    // Items one after another along the strip (greedy rows in multi-row
    // layout, stacking away from the client).
    int usable = headerLength - mStart - mEnd;
    int pos = Start(pManager->m_rcHeaderRect) + offset + mStart;
    int row = 0;
    int rowStartIndex = 0;
    pManager->m_arrRows.clear();
    for (size_t i = 0; i < pManager->m_arrItems.size(); ++i) {
        CQXPTabManagerItem* p = pManager->m_arrItems[i];
        int w = p->m_nButtonLength;
        if (m_nLayout == tabLayoutMultiRow && pos + w > Start(pManager->m_rcHeaderRect) + mStart + usable &&
            (int)i > rowStartIndex) {
            pManager->m_arrRows.push_back(std::make_pair(rowStartIndex, (int)i - 1));
            rowStartIndex = (int)i;
            ++row;
            pos = Start(pManager->m_rcHeaderRect) + mStart;
        }
        int c = cross;
        if (row > 0)
            c += (m_nPosition == tabPositionTop || m_nPosition == tabPositionLeft) ? -row * h : row * h;
        RECT r;
        if (m_nLayout == tabLayoutRotated) {
            if (IsHorizontal())
                SetRect(&r, pos, c, pos + h, c + w);
            else
                SetRect(&r, c, pos, c + w, pos + h);
            pos += h;
        } else {
            if (IsHorizontal())
                SetRect(&r, pos, c, pos + w, c + h);
            else
                SetRect(&r, c, pos, c + h, pos + w);
            pos += w;
        }
        p->m_nItemRow = row;
        p->SetRect(r);
    }
    pManager->m_arrRows.push_back(std::make_pair(rowStartIndex, pManager->GetItemCount() - 1));
    (void)rcHeader;
}

void CQXPTabPainter::AdjustClientRect(CQXPTabManager* pManager, RECT& rc) const
{
    RECT rcHeader = GetHeaderRect(pManager, rc);
    int rows = std::max<int>(1, (int)pManager->m_arrRows.size());
    int extra = (rows - 1) * m_nRowHeight;
    switch (m_nPosition) {
    case tabPositionTop: rc.top = rcHeader.bottom + extra; break;
    case tabPositionBottom: rc.bottom = rcHeader.top - extra; break;
    case tabPositionLeft: rc.left = rcHeader.right + extra; break;
    default: rc.right = rcHeader.left - extra; break;
    }
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    if (rc.right < rc.left)
        rc.right = rc.left;
}

void CQXPTabPainter::EnsureVisible(CQXPTabManager* pManager, CQXPTabManagerItem* pItem)
{
    const RECT& rcHeader = pManager->m_rcHeaderRect;
    const RECT& rcItem = pItem->GetRect();
    if (IsRectEmpty(&rcHeader) || IsRectEmpty(&rcItem) || m_nLayout == tabLayoutSizeToFit)
        return;
    int offset = pManager->GetScrollOffset();
    if (Start(rcItem) < Start(rcHeader))
        pManager->SetScrollOffset(offset + GetHeaderMargin().left + (Start(rcHeader) - Start(rcItem)));
    else if (End(rcItem) > End(rcHeader))
        pManager->SetScrollOffset(offset + (End(rcHeader) - End(rcItem)));
}

CString CQXPTabPainter::DrawTextEllipsis(HDC hDC, const CString& strText, RECT rc, UINT nFormat)
{
    if (strText.Find('\\') >= 0) {
        ::DrawTextA(hDC, strText, strText.GetLength(), &rc, nFormat | DT_PATH_ELLIPSIS);
        return strText;
    }
    auto width = [&](const CString& s) {
        SIZE sz = {0, 0};
        ::GetTextExtentPoint32A(hDC, s, s.GetLength(), &sz);
        return (int)sz.cx;
    };
    int room = rc.right - rc.left;
    int textWidth = width(strText);
    CString result;
    if (textWidth <= room) {
        result = strText;
    } else if (width("...") > room) {
        result = "...";
    } else {
        int len = strText.GetLength();
        int count = textWidth > 0 ? (int)((long long)len * (room - width("...")) / textWidth) : 0;
        auto make = [&](int n) { return strText.Left(n - n / 2) + "..." + strText.Right(n / 2); };
        count = std::max(0, std::min(count, len));
        while (count < len && width(make(count + 1)) <= room)
            ++count;
        while (count > 0 && width(make(count)) > room)
            --count;
        result = make(count);
    }
    ::DrawTextA(hDC, result, result.GetLength(), &rc, nFormat | DT_SINGLELINE | DT_NOCLIP);
    return result;
}

void CQXPTabPainter::DrawTabControl(CQXPTabManager* pManager, HDC hDC, const RECT& rc)
{
    ::FillRect(hDC, &rc, ::GetSysColorBrush(COLOR_3DFACE));
    ::SetBkMode(hDC, TRANSPARENT);
    BOOL bVertical = !IsHorizontal();
    for (CQXPTabManagerItem* p : pManager->m_arrItems) {
        if (!p->m_bVisible)
            continue;
        RECT r = p->GetRect();
        BOOL bSel = p == pManager->GetSelectedItem();
        HBRUSH hBrush = ::CreateSolidBrush(bSel ? ::GetSysColor(COLOR_WINDOW) : p->GetColor());
        ::FillRect(hDC, &r, hBrush);
        ::DeleteObject(hBrush);
        ::FrameRect(hDC, &r, ::GetSysColorBrush(COLOR_3DSHADOW));
        HFONT hOld = (HFONT)::SelectObject(hDC, GetFont(bSel && m_bBoldSelected && pManager->IsActive(), bVertical));
        ::SetTextColor(hDC, ::GetSysColor(p->m_bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        CString s = p->GetCaption();
        RECT rt = r;
        ::InflateRect(&rt, -m_rcContentInset.left, 0);
        ::DrawTextA(hDC, s, s.GetLength(), &rt, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        ::SelectObject(hDC, hOld);
    }
    for (CQXPTabManagerNavigateButton* b : pManager->m_arrNavigateButtons) {
        if (IsRectEmpty(&b->m_rc))
            continue;
        ::FrameRect(hDC, &b->m_rc, ::GetSysColorBrush(b->m_bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    }
}
