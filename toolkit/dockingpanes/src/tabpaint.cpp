// The tab paint manager: appearance and colour set by number, fonts, the
// strip layout and plain drawing.
#include <qx/tabpaint.h>
#include <qx/fonts.h>
#include <qx/colors.h>
#include <qx/drawing.h>

#include <qx/images.h>
#include <qx/themeres.h>
#include <qx/visualstyles.h>
#include <qx/sysutil.h>
#include "turnedcopy.h"
#include <vsstyle.h>
#include <vssym32.h>

#include <algorithm>
#include <functional>
#include <numeric>

namespace {

// The resource colour set with the Office 2007 theme loaded: its colours
// replace the fixed blues where the theme text has them.
void ApplyOffice2007TabColors(TabColorSet& c)
{
    ThemeResources* pTheme = GetThemeResources();
    if (!pTheme->IsLoaded())
        return;
    auto take = [pTheme](LPCSTR lpszSection, LPCSTR lpszKey, std::initializer_list<COLORREF*> targets) {
        COLORREF clr = pTheme->GetColor(lpszSection, lpszKey);
        if (clr != QX_COLOR_NONE)
            for (COLORREF* p : targets)
                *p = clr;
    };
    take("TabManager", "FrameBorder", {&c.clrBorder, &c.clrShape[tabShapeSelectedOutline]});
    take("TabManager", "DarkShadow", {&c.clrDarkShadow3D, &c.clrShape[tabShapeOutline]});
    take("TabManager", "LightShadow", {&c.clrShadow3D, &c.clrShape[tabShapeInner]});
    c.clrShape[tabShapeInnerLight] = RGB(255, 255, 255);
    take("Ribbon", "RibbonFace", {&c.clrHeader[0], &c.clrHeader[1], &c.clrClient[0], &c.clrClient[1]});
    take("Ribbon", "TabNormalText", {&c.clrNormalText, &c.clrHotText});
    take("Ribbon", "TabSelectedText", {&c.clrSelectedText});
    take("Window", "ButtonFace", {&c.clrNormalFace});
    take("Window", "HighlightChecked", {&c.clrSelectedFace});
    take("Window", "HighlightSelected", {&c.clrHotFace});
    take("Window", "WindowFrame", {&c.clrStateFrame[0], &c.clrStateFrame[1]});
}


// Room an item's own buttons leave between them and the item's end.
const int kItemButtonGap = 3;
// The focus rectangle lies this far inside its tab.
const int kFocusInset = 3;
// A compressed tab that is not selected: its image and this much room.
const int kCompressedPadding = 8;

// The text, shortened with "..." at its end to fit nRoom pixels.
CString FitWithEllipsis(HDC hDC, const CString& strText, int nRoom)
{
    SIZE szDots = {0, 0};
    ::GetTextExtentPoint32A(hDC, "...", 3, &szDots);
    if (szDots.cx >= nRoom)
        return CString("...");
    int nFit = 0;
    SIZE sz = {0, 0};
    ::GetTextExtentExPointA(hDC, strText, strText.GetLength(), nRoom - szDots.cx, &nFit, NULL, &sz);
    return strText.Left(nFit) + "...";
}
// The grip of a stacked row: 3-pixel lines every 2 pixels, 7 pixels from
// the row's end, from 4 pixels below its top to 3 above its bottom.
const int kStackedGripWidth = 3;
const int kStackedGripRight = 7;
const int kStackedGripTop = 4;
const int kStackedGripBottom = 3;

struct AppearanceInfo {
    RECT margins;
    int supported;
    int defaultColors;
};

const AppearanceInfo kAppearances[] = {
    {{2, 3, 6, 0}, 13, 1},  // 0
    {{2, 3, 6, 0}, 13, 1},  // 1
    {{2, 2, 4, 0}, 7, 1},   // 2
    {{2, 3, 6, 0}, 21, 4},  // 3
    {{2, 2, 4, 2}, 31, 2},  // 4
    {{4, 2, 4, 0}, 7, 2},   // 5
    {{2, 2, 4, 0}, 7, 2},   // 6
    {{2, 2, 4, 0}, 7, 2},   // 7
    {{0, 0, 0, 0}, 5, 1},   // 8
    {{2, 3, 6, 0}, 21, 4},  // 9
    {{4, 1, 0, 0}, 32, 32}, // 10
};

const AppearanceInfo& Appearance(int n)
{
    if (n < 0 || n >= (int)(sizeof(kAppearances) / sizeof(kAppearances[0])))
        n = 0;
    return kAppearances[n];
}

} // namespace

CTabPaintPart::CTabPaintPart(CQXPTabPainter* pPaintManager, int nRowSpacing)
    : m_pPaintManager(pPaintManager), m_nRowSpacing(nRowSpacing)
{
    ::SetRectEmpty(&m_rcHeaderMargin);
}

// Adjacent rows of a multi-row strip overlap by this much.
const int kRowOverlap = 2;
// The client rectangle takes the header's client-side row: the tabs join
// the client there.
const int kClientOverlap = 1;
// The client frame's room: every side with a frame (style 0), the tab side
// with a line (style 1).
const int kClientFrameWidth = 2;

// A tab's text row: the text height + 3, never below 18.
const int kButtonTextPadding = 3;
const int kMinButtonHeight = 18;
// Room above and below an image in a row.
const int kImagePadding = 4;
// Flat box tabs without the box flag (appearance 2): the rounded outline's
// corner ellipse, how far it reaches past the tab towards the client, and
// how far the separators between unselected tabs stay off their ends.
const int kRoundedTabCorner = 6;
const int kRoundedTabReach = 2;
const int kFlatSeparatorInset = 3;

CTabAppearancePainter::CTabAppearancePainter(int nId)
    : CTabPaintPart(NULL, -kRowOverlap), m_nButtonHeight(kMinButtonHeight), m_nId(nId >= 0 && nId <= 10 ? nId : 0)
{
    m_rcHeaderMargin = Appearance(m_nId).margins;
}

void CTabAppearancePainter::RefreshMetrics()
{
    if (!m_pPaintManager)
        return;
    // Measured on a memory DC: the screen's would ask the server for its
    // visible region, and every tab painter refreshes at start-up.
    SIZE sz = {0, 0};
    {
        GdiObjectDC dc(NULL, m_pPaintManager->GetFont(FALSE, FALSE));
        ::GetTextExtentPoint32A(dc, " ", 1, &sz);
    }
    m_nButtonHeight = std::max<int>(sz.cy + kButtonTextPadding, kMinButtonHeight);
}

int CTabAppearancePainter::GetHeaderHeight(const CQXPTabManager* pManager) const
{
    const CQXPTabPainter* p = m_pPaintManager;
    if (!p)
        return m_nButtonHeight;
    const int margins = p->m_rcButtonMargin.top + p->m_rcButtonMargin.bottom;
    int h = margins + m_nButtonHeight;
    if (pManager) {
        SIZE szMin = {0, 0};
        pManager->GetItemMetrics(NULL, &szMin, NULL);
        h = std::max<int>(h, szMin.cy);
    }
    if (p->m_bShowIcons)
        h = std::max<int>(h, margins + std::max(p->m_szIcon.cx, p->m_szIcon.cy) + kImagePadding);
    return h;
}

RECT CTabAppearancePainter::GetHeaderMargin() const
{
    return m_rcHeaderMargin;
}

RECT CTabAppearancePainter::GetClientMargin(const CQXPTabManager* /*pManager*/) const
{
    RECT rc = {0, 0, 0, 0};
    return rc;
}

void CTabAppearancePainter::DrawTabControl(CQXPTabManager* pManager, HDC hDC, const RECT& rc)
{
    if (m_pPaintManager)
        m_pPaintManager->DrawTabControlEx(pManager, hDC, rc);
}

void AFXAPI CTabAppearancePainter::AdjustRectByPosition(RECT& rc, int nLeft, int nTop, int nRight, int nBottom,
                                                        int nPosition)
{
    switch (nPosition) {
    case tabPositionBottom:
        rc.left -= nLeft;
        rc.bottom += nTop;
        rc.right += nRight;
        rc.top -= nBottom;
        break;
    case tabPositionLeft:
        rc.top -= nLeft;
        rc.left -= nTop;
        rc.bottom += nRight;
        rc.right += nBottom;
        break;
    case tabPositionRight:
        rc.top -= nLeft;
        rc.right += nTop;
        rc.bottom += nRight;
        rc.left -= nBottom;
        break;
    default:
        rc.left -= nLeft;
        rc.top -= nTop;
        rc.right += nRight;
        rc.bottom += nBottom;
        break;
    }
}

int CTabAppearancePainter::GetSupportedColorSets() const
{
    return Appearance(m_nId).supported;
}

int CTabAppearancePainter::GetDefaultColorSet() const
{
    return Appearance(m_nId).defaultColors;
}

void CTabAppearancePainter::DrawSingleButton(HDC hDC, CQXPTabManager* pManager, CQXPTabManagerItem* pItem)
{
    if (m_pPaintManager)
        m_pPaintManager->DrawTabShape(pManager, hDC, pItem);
}

CTabColorSet::CTabColorSet(int nId) : m_pPaintManager(NULL), m_nId(1)
{
    static const int known[] = {1, 2, 4, 8, 16, 32};
    if (std::find(std::begin(known), std::end(known), nId) != std::end(known))
        m_nId = nId;
}

CQXPTabPainter::CQXPTabPainter()
    : m_bHotTracking(FALSE), m_bShowIcons(TRUE), m_bBoldSelected(FALSE), m_bBoldNormal(FALSE),
      m_bStaticFrame(FALSE), m_bSelectOnButtonDown(FALSE), m_bActivateOnDragOver(TRUE), m_bMiddleEllipsis(FALSE),
      m_bUseSystemFont(TRUE), m_nExtraItemWidth(0), m_nFixedTabWidth(70), m_nMinTabWidth(0), m_nMaxTabWidth(0),
      m_nToolTipMode(2), m_bUseItemColors(FALSE), m_bInvertGradient(FALSE), m_bThemed(TRUE), m_nClientFrame(0), m_bBalanceRows(TRUE), m_bKeepRowOrder(FALSE),
      m_bShowFocus(TRUE), m_bFillClient(TRUE), m_bClipToHeader(TRUE), m_bEndEllipsis(TRUE), m_bNoPrefix(TRUE),
      m_nTextAlignment(DT_VCENTER), m_bClearType(FALSE), m_bRotateImages(FALSE), m_bPlainColors(FALSE),
      m_nAppearance(0), m_nColorSet(1), m_nDockingSet(tabDockingSetNone), m_bDockingAutoHide(FALSE), m_nPosition(0), m_nLayout(0), m_nColorCounter(0),
      m_pAppearance(new CTabAppearancePainter(0)), m_pColorSet(new CTabColorSet(1))
{
    m_pAppearance->m_pPaintManager = this;
    m_pColorSet->m_pPaintManager = this;
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
    delete m_pAppearance;
    delete m_pColorSet;
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
    const int h = m_pAppearance->m_nButtonHeight;
    switch (m_nAppearance) {
    case 3: rc.left += h; break;
    case 7:
        rc.left += h / 2;
        rc.right += h / 2;
        break;
    case 9: rc.left += h / 2; break;
    }
    return rc;
}

void CQXPTabPainter::SetAppearance(int nAppearance)
{
    SetAppearanceSet(nAppearance == 2 ? new CTabAppearanceFlatBox() : new CTabAppearancePainter(nAppearance));
}

void CQXPTabPainter::SetAppearanceSet(CTabAppearancePainter* pAppearance)
{
    if (!pAppearance)
        pAppearance = new CTabAppearancePainter(0);
    if (pAppearance != m_pAppearance) {
        delete m_pAppearance;
        m_pAppearance = pAppearance;
    }
    pAppearance->m_pPaintManager = this;
    pAppearance->RefreshMetrics();
    m_nAppearance = pAppearance->GetId();
    m_rcHeaderMargin = pAppearance->GetHeaderMargin();
    SetColor(pAppearance->GetDefaultColorSet());
}

void CQXPTabPainter::SetColor(int nColorSet)
{
    SetColorSet(nColorSet == 8    ? static_cast<CTabColorSet*>(new CTabColorSetVisualStyle())
                : nColorSet == 4  ? new CTabColorSetLuna()
                : nColorSet == 16 ? new CTabColorSetLuna2()
                                  : new CTabColorSet(nColorSet));
}

void CQXPTabPainter::SetColorSet(CTabColorSet* pColorSet)
{
    if (!pColorSet)
        pColorSet = new CTabColorSet(1);
    if (pColorSet != m_pColorSet) {
        delete m_pColorSet;
        m_pColorSet = pColorSet;
    }
    pColorSet->m_pPaintManager = this;
    m_nColorSet = pColorSet->GetId();
    RefreshColors();
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
    RefreshColors();
    m_pAppearance->RefreshMetrics();
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
    if (m_bClearType && GetOSVersionInfo()->IsWinXPOrGreater())
        lf.lfQuality = CLEARTYPE_QUALITY;
    lf.lfWeight = m_bBoldNormal ? FW_BOLD : FW_NORMAL;
    m_hFonts[0] = ::CreateFontIndirectA(&lf);
    lf.lfWeight = FW_BOLD;
    m_hFonts[1] = ::CreateFontIndirectA(&lf);
    LOGFONTA lv = lf;
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
    // The row height follows the font.
    m_pAppearance->RefreshMetrics();
}

HFONT CQXPTabPainter::GetFont(BOOL bBold, BOOL bVertical) const
{
    return m_hFonts[(bVertical ? 2 : 0) + (bBold ? 1 : 0)];
}

int CQXPTabPainter::GetButtonHeight() const
{
    return m_pAppearance->GetHeaderHeight(NULL);
}

int CQXPTabPainter::GetButtonLength(HDC hDC, CQXPTabManager* /*pManager*/, CQXPTabManagerItem* pItem)
{
    return DrawSingleButtonContent(hDC, pItem, RECT{0, 0, 0, 0}, FALSE);
}

int CQXPTabPainter::DrawSingleButtonContent(HDC hDC, CQXPTabManagerItem* pItem, const RECT& rc, BOOL bDraw)
{
    CQXPTabManager* pManager = pItem->GetTabManager();
    if (!bDraw)
        return MeasureItem(hDC, pManager, pItem);
    // The item's own buttons take its end, short of the edge; the content
    // keeps the rest.
    RECT rcContent = rc;
    if (m_nAppearance == 8) // the text ends before the row's grip
        rcContent.right -= kStackedGripRight + kStackedGripWidth + kStackedGripRight;
    const BOOL bAlongX = IsHorizontal();
    LONG& end = bAlongX ? rcContent.right : rcContent.bottom;
    if (GetItemButtonsLength(pManager, pItem) > 0)
        end -= kItemButtonGap;
    for (CQXPTabManagerNavigateButton* b : pItem->m_arrNavigateButtons) {
        // A hidden button gets an empty rectangle.
        RECT rcFree = rcContent;
        b->Reposition(rcFree);
        if (::IsRectEmpty(&b->m_rc))
            continue;
        end = bAlongX ? b->m_rc.left : b->m_rc.top;
        DrawNavigateButton(pManager, hDC, b);
    }
    DrawItemContent(pManager, hDC, pItem, rcContent);
    if (pItem == pManager->GetSelectedItem() && pManager->IsFocused())
        DrawFocusRect(hDC, pItem, rc);
    return IsHorizontal() ? rc.right - rc.left : rc.bottom - rc.top;
}

int CQXPTabPainter::GetItemButtonsLength(CQXPTabManager* pManager, CQXPTabManagerItem* pItem) const
{
    const BOOL bAlongX = IsHorizontal();
    int n = 0;
    for (CQXPTabManagerNavigateButton* b : pItem->m_arrNavigateButtons)
        if (b->m_nMode != 0 && pManager->IsNavigateButtonVisible(b))
            n += bAlongX ? b->GetSize().cx : b->GetSize().cy;
    return n > 0 ? n + kItemButtonGap : 0;
}

void CQXPTabPainter::DrawFocusRect(HDC hDC, CQXPTabManagerItem* /*pItem*/, const RECT& rc)
{
    if (!m_bShowFocus)
        return;
    RECT r = rc;
    ::InflateRect(&r, -kFocusInset, -kFocusInset);
    const COLORREF clrOldBk = ::SetBkColor(hDC, RGB(0, 0, 0));
    const COLORREF clrOldText = ::SetTextColor(hDC, RGB(255, 255, 255));
    ::DrawFocusRect(hDC, &r);
    ::SetBkColor(hDC, clrOldBk);
    ::SetTextColor(hDC, clrOldText);
}

int CQXPTabPainter::MeasureItem(HDC hDC, CQXPTabManager* pManager, CQXPTabManagerItem* pItem)
{
    const int margins = m_rcButtonMargin.left + m_rcButtonMargin.right;
    const int inset = m_rcContentInset.left + m_rcContentInset.right;
    auto captionWidth = [&](CQXPTabManagerItem* p) {
        CString s = p->GetCaption();
        RECT rc = {0, 0, 0, 0};
        // Measured in the bold font when the selected tab turns bold, so
        // that a selection never changes the widths.
        FontSelector font(hDC, GetFont(m_bBoldSelected, FALSE));
        ::DrawTextA(hDC, s, s.GetLength(), &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP | (m_bNoPrefix ? DT_NOPREFIX : 0));
        return (int)(rc.right - rc.left);
    };
    const int image = (m_bShowIcons && pManager->GetItemImage(pItem)) ? m_szIcon.cx : 0;
    int n;
    if (m_nLayout == tabLayoutFixed) {
        n = m_nFixedTabWidth + margins;
    } else if (m_nLayout == tabLayoutCompressed && pItem != pManager->GetSelectedItem()) {
        // Only the selected tab shows its caption.
        n = image + margins + kCompressedPadding;
    } else if (m_nLayout == tabLayoutCompressed) {
        int widest = 0;
        for (CQXPTabManagerItem* p : pManager->m_arrItems)
            widest = std::max(widest, captionWidth(p));
        n = widest + image + inset + margins + GetItemButtonsLength(pManager, pItem);
    } else {
        n = captionWidth(pItem) + image + inset + margins + GetItemButtonsLength(pManager, pItem);
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

RECT CQXPTabPainter::GetHeaderRect(CQXPTabManager* pManager, const RECT& rcControl) const
{
    RECT rc = rcControl;
    int rows = 1;
    if (m_nLayout == tabLayoutMultiRow && pManager)
        rows = std::max<int>(1, (int)pManager->m_arrRows.size());
    int rowsDepth = rows * RowHeight(pManager);
    // Rotated tabs stand across the strip: the header holds the longest.
    if (m_nLayout == tabLayoutRotated && pManager)
        for (const CQXPTabManagerItem* p : pManager->m_arrItems)
            rowsDepth = std::max(rowsDepth, p->m_nButtonLength);
    int h = m_rcHeaderMargin.top + rowsDepth + (rows - 1) * m_pAppearance->m_nRowSpacing + m_rcHeaderMargin.bottom;
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
    RECT rc = DeflateControlRect(rcIn, pManager->IsDrawStaticFrame());
    pManager->m_rcControl = rcIn;
    if (m_nAppearance == 8) {
        LayoutStacked(pManager, rc);
        return;
    }

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

    const int h = RowHeight(pManager);
    const RECT rcMargin = GetHeaderMargin();
    const int mStart = rcMargin.left, mEnd = rcMargin.right;
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
    if (m_nLayout == tabLayoutMultiRow) {
        // Every row shows whole: the selected row moves next to the client.
        pManager->SetScrollOffset(0);
        pManager->m_bRevealSelected = FALSE;
        LayoutRows(pManager, rc);
        return;
    }
    PlaceItems(pManager, rc, cross);
    // A new selection is shown once its rectangle is known: scrolling it in
    // may bring the scroll buttons, which narrow the header again. A resize
    // or a changed caption keeps the scroll offset the user left.
    CQXPTabManagerItem* pSel = pManager->GetSelectedItem();
    if (!pManager->m_bRevealSelected || !pSel || !pSel->m_bVisible || m_nLayout == tabLayoutSizeToFit)
        return;
    for (int pass = 0; pass < 3; ++pass) {
        int offset = RevealOffset(pManager, pSel);
        if (offset == pManager->GetScrollOffset())
            break;
        pManager->SetScrollOffsetQuietly(offset);
        PlaceItems(pManager, rc, cross);
    }
    // Kept for a later layout when the strip had no room at all yet.
    if (!IsRectEmpty(&pManager->m_rcHeaderRect))
        pManager->m_bRevealSelected = FALSE;
}

RECT CQXPTabPainter::DeflateControlRect(const RECT& rcControl, BOOL bStaticFrame) const
{
    RECT rc = rcControl;
    if (bStaticFrame) // the frame leaves 1 pixel at the tab side, 2 elsewhere
        CTabAppearancePainter::AdjustRectByPosition(rc, -2, -1, -2, -2, m_nPosition);
    CTabAppearancePainter::AdjustRectByPosition(rc, -m_rcClientMargin.left, -m_rcClientMargin.top,
                                                -m_rcClientMargin.right, -m_rcClientMargin.bottom, m_nPosition);
    return rc;
}

void CQXPTabPainter::PlaceItems(CQXPTabManager* pManager, const RECT& rc, int cross)
{
    const int h = RowHeight(pManager);
    const RECT rcMargin = GetHeaderMargin();
    const int mStart = rcMargin.left, mEnd = rcMargin.right;
    PlaceNavigateButtons(pManager, rc);
    int headerLength = End(pManager->m_rcHeaderRect) - Start(pManager->m_rcHeaderRect);
    int total = pManager->GetItemsLength();
    int offset = pManager->GetScrollOffset();
    if (offset < 0 && total + offset < headerLength - mStart - mEnd) {
        int n = headerLength - mStart - mEnd - total;
        pManager->SetScrollOffsetQuietly(n < 1 ? n : 0);
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
            // Standing on the header's client side, inset by its margin.
            const RECT& rcHeader = pManager->m_rcHeaderRect;
            const int inset = m_rcHeaderMargin.bottom;
            switch (m_nPosition) {
            case tabPositionTop: SetRect(&r, pos, rcHeader.bottom - inset - w, pos + h, rcHeader.bottom - inset); break;
            case tabPositionBottom: SetRect(&r, pos, rcHeader.top + inset, pos + h, rcHeader.top + inset + w); break;
            case tabPositionLeft: SetRect(&r, rcHeader.right - inset - w, pos, rcHeader.right - inset, pos + h); break;
            default: SetRect(&r, rcHeader.left + inset, pos, rcHeader.left + inset + w, pos + h); break;
            }
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
}

RECT CQXPTabPainter::StackedInner(const RECT& rc) const
{
    // Inside the frame (frame style 2: below the top line only).
    RECT r = rc;
    r.left += m_rcClientMargin.left;
    r.top += m_rcClientMargin.top;
    r.right -= m_rcClientMargin.right;
    r.bottom -= m_rcClientMargin.bottom;
    if (m_nClientFrame == 2)
        r.top += 1;
    else
        ::InflateRect(&r, -1, -1);
    return r;
}

int CQXPTabPainter::StackedRows(CQXPTabManager* pManager, int* pnSelected) const
{
    int n = 0;
    *pnSelected = -1;
    for (CQXPTabManagerItem* p : pManager->m_arrItems) {
        if (!p->IsVisible())
            continue;
        if (p == pManager->GetSelectedItem())
            *pnSelected = n;
        ++n;
    }
    // Without a selection every row stacks from the top.
    if (*pnSelected < 0)
        *pnSelected = n - 1;
    return n;
}

void CQXPTabPainter::LayoutStacked(CQXPTabManager* pManager, const RECT& rcControl)
{
    // Rows up to the selected one from the top, the rest from the bottom;
    // the client lies between them. No header, nothing scrolls.
    SetRectEmpty(&pManager->m_rcHeaderRect);
    for (CQXPTabManagerNavigateButton* b : pManager->m_arrNavigateButtons)
        SetRectEmpty(&b->m_rc);
    pManager->SetScrollOffsetQuietly(0);
    const RECT inner = StackedInner(rcControl);
    const int h = RowHeight(pManager);
    int nSelected;
    const int n = StackedRows(pManager, &nSelected);
    int i = 0;
    for (CQXPTabManagerItem* p : pManager->m_arrItems) {
        p->m_nItemRow = 0;
        if (!p->IsVisible()) {
            RECT empty = {0, 0, 0, 0};
            p->SetRect(empty);
            continue;
        }
        const int top = i <= nSelected ? inner.top + i * h : inner.bottom - (n - i) * h;
        RECT r = {inner.left, top, inner.right, top + h};
        p->SetRect(r);
        p->m_nButtonLength = inner.right - inner.left;
        ++i;
    }
}

void CQXPTabPainter::AdjustClientRect(CQXPTabManager* pManager, RECT& rc) const
{
    if (m_nAppearance == 8) {
        // Between the rows above and below the selected one.
        const RECT inner = StackedInner(rc);
        int nSelected;
        const int n = pManager ? StackedRows(pManager, &nSelected) : 0;
        if (!pManager)
            nSelected = -1;
        rc = inner;
        rc.top = inner.top + (nSelected + 1) * RowHeight(pManager);
        rc.bottom = std::max<LONG>(rc.top, inner.bottom - (n - 1 - nSelected) * RowHeight(pManager));
        return;
    }
    // Amounts below are given for a strip on top: the second one lies at the
    // client's tab side.
    RECT r = GetClientRect(pManager, DeflateControlRect(rc, pManager && pManager->IsDrawStaticFrame()));
    const RECT m = m_pAppearance->GetClientMargin(pManager);
    CTabAppearancePainter::AdjustRectByPosition(r, -m.left, -m.top, -m.right, -m.bottom, m_nPosition);
    DeflateByClientFrame(r);
    if (r.bottom < r.top)
        r.bottom = r.top;
    if (r.right < r.left)
        r.right = r.left;
    rc = r;
}

void CQXPTabPainter::DeflateByClientFrame(RECT& rc) const
{
    if (m_nClientFrame == 0)
        ::InflateRect(&rc, -kClientFrameWidth, -kClientFrameWidth);
    else if (m_nClientFrame == 1)
        CTabAppearancePainter::AdjustRectByPosition(rc, 0, -kClientFrameWidth, 0, 0, m_nPosition);
}

RECT CQXPTabPainter::GetClientRect(CQXPTabManager* pManager, const RECT& rcControl) const
{
    const RECT rcHeader = GetHeaderRect(pManager, rcControl);
    RECT rc = rcControl;
    switch (m_nPosition) {
    case tabPositionTop: rc.top = rcHeader.bottom - kClientOverlap; break;
    case tabPositionBottom: rc.bottom = rcHeader.top + kClientOverlap; break;
    case tabPositionLeft: rc.left = rcHeader.right - kClientOverlap; break;
    default: rc.right = rcHeader.left + kClientOverlap; break;
    }
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    if (rc.right < rc.left)
        rc.right = rc.left;
    return rc;
}

int CQXPTabPainter::RevealOffset(CQXPTabManager* pManager, const CQXPTabManagerItem* pItem) const
{
    const RECT& rcHeader = pManager->m_rcHeaderRect;
    const RECT& rcItem = pItem->GetRect();
    int offset = pManager->GetScrollOffset();
    if (IsRectEmpty(&rcHeader) || IsRectEmpty(&rcItem) || m_nLayout == tabLayoutSizeToFit)
        return offset;
    if (Start(rcItem) < Start(rcHeader))
        offset += GetHeaderMargin().left + (Start(rcHeader) - Start(rcItem));
    else if (End(rcItem) > End(rcHeader))
        offset += End(rcHeader) - End(rcItem);
    return std::min(0, offset);
}

void CQXPTabPainter::EnsureVisible(CQXPTabManager* pManager, CQXPTabManagerItem* pItem)
{
    pManager->SetScrollOffset(RevealOffset(pManager, pItem));
}

CString CQXPTabPainter::DrawTextEllipsis(HDC hDC, const CString& strText, RECT rc, UINT nFormat)
{
    if (strText.Find('\\') >= 0) {
        ::DrawTextA(hDC, strText, strText.GetLength(), &rc, nFormat | DT_PATH_ELLIPSIS);
        return strText;
    }
    // Mnemonic ampersands take no room unless the text shows them.
    auto width = [&](const CString& s) {
        if (!(nFormat & DT_NOPREFIX)) {
            RECT r = {0, 0, 0, 0};
            ::DrawTextA(hDC, s, s.GetLength(), &r, DT_CALCRECT | DT_SINGLELINE);
            return (int)(r.right - r.left);
        }
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


// ---------------------------------------------------------------------------
// Colour sets.

namespace {

COLORREF Sys(int n)
{
    return ToolkitColorManager::Instance()->GetColor(n);
}

const COLORREF kUnset = (COLORREF)-1;
const COLORREF kChecker = (COLORREF)-2;

// Fills a rectangle unless the colour is unset.
void FillSolid(CDC& dc, const RECT& rc, COLORREF clr)
{
    if (clr != kUnset)
        dc.FillSolidRect(&rc, clr);
}

// Tab-local coordinates: u runs along the strip from the tab's start, v from
// the tab's outer edge (0) towards the client (depth - 1). Every shape is
// written once in them and turned to the strip's position here.
struct TabFrame {
    RECT rc;
    int pos;
    int Length() const { return pos == tabPositionTop || pos == tabPositionBottom ? rc.right - rc.left : rc.bottom - rc.top; }
    int Depth() const { return pos == tabPositionTop || pos == tabPositionBottom ? rc.bottom - rc.top : rc.right - rc.left; }
    POINT P(int u, int v) const
    {
        POINT p;
        switch (pos) {
        case tabPositionTop:
            p.x = rc.left + u;
            p.y = rc.top + v;
            break;
        case tabPositionBottom:
            p.x = rc.left + u;
            p.y = rc.bottom - 1 - v;
            break;
        case tabPositionLeft:
            p.x = rc.left + v;
            p.y = rc.top + u;
            break;
        default:
            p.x = rc.right - 1 - v;
            p.y = rc.top + u;
            break;
        }
        return p;
    }
    // A 1-pixel line, both ends included; nothing for an unset colour.
    void L(HDC hDC, int u1, int v1, int u2, int v2, COLORREF clr) const
    {
        if (clr == kUnset)
            return;
        POINT a = P(u1, v1), b = P(u2, v2);
        PenSelector pen(hDC, clr);
        ::MoveToEx(hDC, a.x, a.y, NULL);
        ::LineTo(hDC, b.x, b.y);
        ::SetPixel(hDC, b.x, b.y, clr);
    }
    // A rectangle of tab-local bounds (u1..u2, v1..v2 inclusive).
    RECT R(int u1, int v1, int u2, int v2) const
    {
        POINT a = P(u1, v1), b = P(u2, v2);
        RECT r = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
        return r;
    }
    // Grows the rectangle: along the strip at both ends, at the outer edge,
    // towards the client.
    void Grow(int along, int outer, int client)
    {
        CTabAppearancePainter::AdjustRectByPosition(rc, along, outer, along, client, pos);
    }
};

// Fills a polygon through its clip region (the shape keeps its slants).
void FillPolygon(HDC hDC, const std::vector<POINT>& pts, COLORREF clr)
{
    if (pts.size() < 3 || clr == kUnset)
        return;
    HRGN hRgn = ::CreatePolygonRgn(pts.data(), (int)pts.size(), WINDING);
    if (!hRgn)
        return;
    int saved = ::SaveDC(hDC);
    ::ExtSelectClipRgn(hDC, hRgn, RGN_AND);
    RECT rcBox;
    ::GetRgnBox(hRgn, &rcBox);
    CDC::FromHandle(hDC)->FillSolidRect(&rcBox, clr);
    ::RestoreDC(hDC, saved);
    ::DeleteObject(hRgn);
}

// Draws a picture made for the top position on the frame's side: drawn
// upright (the tab's length by its depth) and turned (left and right a
// quarter turn each way, bottom its rows mirrored).
void DrawTurned(HDC hDC, const TabFrame& f, COLORREF clrBack, COLORREF clrKey,
                const std::function<void(HDC, const RECT&)>& paint)
{
    DrawTurnedCopy(hDC, f.rc, SIZE{f.Length(), f.Depth()}, clrBack, clrKey, paint, [&f](int u, int v) {
        POINT p = f.P(u, v);
        return POINT{p.x - f.rc.left, p.y - f.rc.top};
    });
}

} // namespace

namespace {

COLORREF AFXAPI GlobalSystemColor(int nIndex)
{
    return ToolkitColorManager::Instance()->GetColor(nIndex);
}

int AFXAPI LowColorDepth(HDC)
{
    return 8;
}

} // namespace

void CQXPTabPainter::RefreshColors()
{
    TabColorSet& c = m_colors;
    const int a = m_nAppearance;
    // Plain colours: the toolkit's colours as the colour manager computes
    // them for a display without blends (from the same system colours), no
    // scheme colours and no shading.
    m_arrPlainColors.clear();
    if (m_bPlainColors) {
        ToolkitColorManager::SystemQueries queries;
        queries.pfnSysColor = GlobalSystemColor;
        queries.pfnBitsPerPixel = LowColorDepth;
        ToolkitColorManager plain(queries);
        plain.RefreshColors();
        for (int n = 0; n < QX_COLOR_COUNT; ++n)
            m_arrPlainColors.push_back(plain.GetColor(n));
    }
    auto Sys = [this](int n) { return GetToolkitColor(n); };
    auto MixColors = [this](COLORREF clrA, COLORREF clrB, int nWeight) {
        return m_bPlainColors ? clrA : ::MixColors(clrA, clrB, nWeight);
    };
    const BOOL bLunaAllowed = m_bThemed && !m_bPlainColors && !ToolkitColorManager::Instance()->IsLunaColorsDisabled();
    // The desktop scheme the sets follow (none with plain colours).
    const int theme = m_bPlainColors ? qxColorThemeClassic : ToolkitColorManager::Instance()->GetCurrentTheme();
    // The base set.
    c.clrHeader[0] = c.clrHeader[1] = Sys(COLOR_3DFACE);
    c.clrBorder = Sys(COLOR_3DSHADOW);
    c.clrControlFace = Sys(COLOR_3DFACE);
    c.clrButtonHighlight = Sys(COLOR_3DHIGHLIGHT);
    c.clrSelectedFace = c.clrHotFace = c.clrPressedFace = c.clrNormalFace = Sys(COLOR_3DFACE);
    if (a == 7)
        c.clrSelectedFace = Sys(COLOR_WINDOW);
    c.clrNormalText = c.clrInactiveText = c.clrSelectedText = Sys(COLOR_BTNTEXT);
    c.clrHotText = RGB(0, 0, 128);
    c.clrDisabledText = Sys(COLOR_GRAYTEXT);
    c.clrStateFill[0] = c.clrStateFill[1] = Sys(COLOR_WINDOW);
    c.clrStateFrame[0] = c.clrStateFrame[1] = Sys(COLOR_HIGHLIGHT);
    c.clrHighlight3D = Sys(COLOR_3DHIGHLIGHT);
    c.clrShadow3D = Sys(COLOR_3DSHADOW);
    c.clrDarkShadow3D = Sys(COLOR_3DDKSHADOW);
    c.clrFrameDark.SetStandard(Sys(COLOR_3DSHADOW));
    c.clrFrameLight.SetStandard(Sys(COLOR_3DHIGHLIGHT));
    c.clrShape[tabShapeOutline] = c.clrShape[tabShapeSelectedOutline] = Sys(COLOR_3DSHADOW);
    c.clrShape[tabShapeInner] = c.clrShape[tabShapeInnerLight] = Sys(COLOR_3DFACE);
    for (COLORREF& o : c.clrOutline)
        o = kUnset;
    c.clrOutline[tabOutlineEdge] = c.clrOutline[tabOutlineFarSlant] = Sys(COLOR_BTNTEXT);
    c.clrOutline[tabOutlineEdgeBottom] = Sys(COLOR_3DSHADOW);
    for (int i = tabOutlineEdge; i <= tabOutlineFarSlant; ++i)
        c.clrOutline[tabOutlineOtherTabs + i] = c.clrOutline[i];
    c.clrOutline[tabOutlineOtherTabs + tabOutlineInnerEdge] = Sys(COLOR_WINDOW);
    c.clrOutline[tabOutlineOtherTabs + tabOutlineInnerFarSlant] = Sys(COLOR_3DSHADOW);
    c.bLuna = FALSE;
    c.bItemGradient = FALSE;

    auto luna = [&]() {
        c.clrHeader[0] = Sys(COLOR_3DFACE);
        c.clrHeader[1] = MixColors(Sys(COLOR_3DFACE), Sys(COLOR_WINDOW), 205);
        c.clrStateFill[0] = c.clrStateFill[1] = Sys(qxColorCheckedFace);
        c.clrStateFrame[0] = c.clrStateFrame[1] = Sys(qxColorPressedBorder);
        c.clrHotFace = Sys(qxColorCheckedFace);
        c.clrPressedFace = Sys(qxColorPressedFace);
        c.clrHotText = Sys(COLOR_BTNTEXT);
        if (bLunaAllowed && theme >= 1 && theme <= 5) {
            struct Scheme {
                COLORREF header[2], normal, hot, client[2], frame, border, dark, shadow;
            };
            static const Scheme kBlue = {{RGB(196, 218, 250), RGB(252, 253, 254)}, RGB(162, 192, 246), RGB(255, 240, 201), {RGB(158, 190, 245), RGB(196, 218, 250)}, RGB(0, 0, 128), RGB(59, 97, 156), RGB(0, 53, 154), RGB(117, 166, 241)};
            static const Scheme kOlive = {{RGB(242, 241, 228), RGB(252, 254, 254)}, RGB(208, 222, 170), RGB(255, 240, 199), {RGB(217, 217, 167), RGB(242, 241, 228)}, RGB(63, 93, 56), RGB(96, 128, 88), RGB(96, 119, 107), RGB(176, 194, 140)};
            static const Scheme kSilver = {{RGB(243, 243, 247), RGB(252, 254, 254)}, RGB(217, 217, 230), RGB(255, 238, 194), {RGB(215, 215, 229), RGB(243, 243, 247)}, RGB(75, 75, 111), RGB(124, 124, 148), RGB(118, 116, 146), RGB(186, 185, 206)};
            const Scheme& sc = theme == 2 ? kOlive : theme == 3 ? kSilver
                                                                : kBlue;
            c.clrHeader[0] = sc.header[0];
            c.clrHeader[1] = sc.header[1];
            c.clrNormalFace = sc.normal;
            c.clrSelectedFace = RGB(255, 194, 115);
            c.clrHotFace = sc.hot;
            c.clrClient[0] = sc.client[0];
            c.clrClient[1] = sc.client[1];
            c.clrStateFrame[0] = c.clrStateFrame[1] = sc.frame;
            c.clrBorder = c.clrShape[tabShapeSelectedOutline] = sc.border;
            c.clrDarkShadow3D = c.clrShape[tabShapeOutline] = sc.dark;
            c.clrShadow3D = c.clrShape[tabShapeInner] = sc.shadow;
            c.clrShape[tabShapeInnerLight] = RGB(255, 255, 255);
            c.clrStateFill[0] = c.clrStateFill[1] = RGB(255, 192, 111);
            c.bLuna = TRUE;
            c.clrPressedFace = RGB(254, 142, 75);
        } else {
            c.clrSelectedFace = Sys(qxColorCheckedFace);
        }
        for (int i = tabOutlineEdge; i <= tabOutlineFarSlant; ++i)
            c.clrOutline[i] = c.clrOutline[tabOutlineOtherTabs + i] = c.clrBorder;
        for (int i = tabOutlineInnerEdge; i <= tabOutlineInnerEdgeBottom; ++i)
            c.clrOutline[i] = c.clrOutline[tabOutlineOtherTabs + i] = kUnset;
        if (a == 4)
            c.clrHeader[0] = c.clrHeader[1] = c.clrClient[0] = c.clrClient[1] = Sys(COLOR_3DFACE);
    };

    // Theme 6's and theme 9's sets stand on the base set's colours alone
    // (SetDockingColorSet installs set 1 under them).
    const BOOL bBaseOnly = m_nDockingSet == tabDockingSetScheme || m_nDockingSet == tabDockingSetBordered;
    switch (bBaseOnly ? -1 : m_nColorSet) {
    case -1: break;
    case 2: // flat
        if (a != 7 && a != 4)
            c.clrHeader[0] = c.clrHeader[1] = Sys(qxColorTabFace);
        if (a == 5)
            c.clrNormalText = c.clrInactiveText = Sys(qxColorTabText);
        break;
    case 4: // Luna
        c.clrClient[0] = c.clrHeader[0];
        c.clrClient[1] = c.clrHeader[1];
        luna();
        if (!c.bLuna) {
            c.clrClient[0] = c.clrHeader[0];
            c.clrClient[1] = c.clrHeader[1];
        }
        break;
    case 8: // visual styles: the classic look of the default set here
    case 1:
    default:
        c.clrStateFill[0] = c.clrStateFill[1] = kChecker;
        c.clrStateFrame[0] = Sys(COLOR_3DSHADOW);
        c.clrStateFrame[1] = Sys(COLOR_3DHIGHLIGHT);
        c.clrOutline[tabOutlineEdge] = c.clrOutline[tabOutlineEdgeBottom] = c.clrOutline[tabOutlineFarSlant] = Sys(COLOR_BTNTEXT);
        c.clrOutline[tabOutlineInnerEdge] = Sys(COLOR_WINDOW);
        c.clrOutline[tabOutlineInnerFarSlant] = c.clrOutline[tabOutlineInnerEdgeBottom] = Sys(COLOR_3DSHADOW);
        for (int i = tabOutlineEdge; i <= tabOutlineFarSlant; ++i)
            c.clrOutline[tabOutlineOtherTabs + i] = c.clrOutline[i];
        c.clrOutline[tabOutlineOtherTabs + tabOutlineInnerEdge] = c.clrOutline[tabOutlineOtherTabs + tabOutlineInnerFarSlant] = c.clrOutline[tabOutlineOtherTabs + tabOutlineInnerEdgeBottom] = kUnset;
        if (a == 7) {
            c.clrSelectedFace = Sys(COLOR_3DFACE);
            c.clrNormalFace = Sys(COLOR_WINDOW);
            c.clrBorder = Sys(COLOR_BTNTEXT);
        }
        break;
    case 16: { // second Luna set
        if (bLunaAllowed) {
            // The Luna set's colours whole, from the base set on.
            luna();
            if (!c.bLuna) {
                c.clrClient[0] = c.clrHeader[0];
                c.clrClient[1] = c.clrHeader[1];
            }
        } else {
            c.clrSelectedFace = Sys(COLOR_WINDOW);
            c.clrSelectedText = Sys(COLOR_WINDOWTEXT);
            c.clrHotFace = Sys(qxColorCheckedFace);
            c.clrPressedFace = Sys(qxColorPressedFace);
            c.clrHotText = Sys(COLOR_BTNTEXT);
            // The client keeps the face whatever the header shows.
            c.clrClient[0] = c.clrClient[1] = Sys(COLOR_3DFACE);
            if (theme == 1 || theme == 2) {
                c.clrHeader[0] = c.clrHeader[1] = RGB(228, 226, 213);
                c.bItemGradient = TRUE;
            } else if (theme == 3) {
                c.clrHeader[0] = c.clrHeader[1] = RGB(238, 238, 238);
                c.clrNormalFace = RGB(245, 245, 248);
                c.bItemGradient = TRUE;
            }
            c.clrBorder = c.clrShape[tabShapeSelectedOutline] = Sys(qxColorStyleBorder);
        }
        break;
    }
    case 32: // resource set, without theme resources: fixed blue colours
        luna();
        c.clrPressedFace = Sys(qxColorPressedFace);
        c.clrHotText = Sys(COLOR_BTNTEXT);
        c.clrBorder = c.clrShape[tabShapeSelectedOutline] = RGB(59, 97, 156);
        c.clrDarkShadow3D = c.clrShape[tabShapeOutline] = RGB(0, 53, 154);
        c.clrShadow3D = c.clrShape[tabShapeInner] = RGB(117, 166, 241);
        c.clrShape[tabShapeInnerLight] = RGB(255, 255, 255);
        c.clrStateFill[0] = c.clrStateFill[1] = RGB(255, 192, 111);
        c.clrStateFrame[0] = c.clrStateFrame[1] = RGB(0, 0, 128);
        c.clrHeader[0] = RGB(196, 218, 250);
        c.clrHeader[1] = RGB(252, 253, 254);
        c.clrNormalFace = RGB(162, 192, 246);
        c.clrSelectedFace = RGB(255, 194, 115);
        c.clrHotFace = RGB(255, 240, 201);
        c.clrClient[0] = RGB(158, 190, 245);
        c.clrClient[1] = RGB(196, 218, 250);
        c.bLuna = TRUE;
        ApplyOffice2007TabColors(c);
        break;
    }
    // The Luna sets and the resource set chose their client faces above.
    switch (bBaseOnly ? -1 : m_nColorSet) {
    case 2: // flat: the header's far end (the face on a low-colour display)
        c.clrClient[0] = c.clrClient[1] =
            ToolkitColorManager::Instance()->IsLowColor() ? Sys(COLOR_3DFACE) : c.clrHeader[1];
        break;
    case 4:
    case 16:
    case 32: break;
    default:
        c.clrClient[0] = c.clrHeader[0];
        c.clrClient[1] = c.clrHeader[1];
        break;
    }
    m_pColorSet->RefreshMetrics(c);
    ApplyDockingColorSet();
}

void CQXPTabPainter::SetDockingColorSet(int nSet, BOOL bAutoHide)
{
    m_nDockingSet = nSet;
    m_bDockingAutoHide = bAutoHide;
    // Theme 1's set stands on the flat set, the others on the base set.
    SetColor(nSet == tabDockingSetGradient ? 2 : 1);
}

COLORREF CQXPTabPainter::GetToolkitColor(int nIndex) const
{
    if (nIndex >= 0 && nIndex < (int)m_arrPlainColors.size())
        return m_arrPlainColors[nIndex];
    return Sys(nIndex);
}

void CQXPTabPainter::ApplyDockingColorSet()
{
    TabColorSet& c = m_colors;
    auto Sys = [this](int n) { return GetToolkitColor(n); };
    if (m_nDockingSet == tabDockingSetGradient) {
        if (m_nAppearance == 6)
            c.clrSelectedText = c.clrNormalText = Sys(COLOR_3DDKSHADOW);
        return;
    }
    if (m_nDockingSet != tabDockingSetScheme && m_nDockingSet != tabDockingSetBordered)
        return;
    if (m_bDockingAutoHide) {
        c.clrSelectedText = Sys(COLOR_3DDKSHADOW);
    } else {
        c.clrSelectedFace = Sys(COLOR_WINDOW);
        c.clrSelectedText = Sys(COLOR_WINDOWTEXT);
    }
    c.clrHeader[0] = Sys(COLOR_3DFACE);
    c.clrHeader[1] = m_bPlainColors ? c.clrHeader[0] : MixColors(Sys(COLOR_3DFACE), Sys(COLOR_WINDOW), 205);
    c.clrNormalText = Sys(COLOR_3DDKSHADOW);
    const int theme = m_bPlainColors ? qxColorThemeClassic : ToolkitColorManager::Instance()->GetCurrentTheme();
    if (theme == 1 || theme == 2) {
        c.clrHeader[0] = RGB(229, 229, 215);
        c.clrHeader[1] = RGB(244, 241, 231);
    } else if (theme == 3) {
        c.clrNormalFace = RGB(242, 242, 247);
        c.clrShape[tabShapeOutline] = c.clrShape[tabShapeSelectedOutline] = RGB(145, 155, 156);
        c.clrShape[tabShapeInner] = RGB(190, 190, 216);
        c.clrHeader[0] = RGB(215, 215, 229);
        c.clrHeader[1] = RGB(243, 243, 247);
    }
    const BOOL bScheme = theme >= 1 && theme <= 3;
    if (bScheme) {
        c.clrShape[tabShapeInnerLight] = RGB(255, 255, 255);
        c.bItemGradient = m_nDockingSet == tabDockingSetScheme;
    }
    if (m_nDockingSet == tabDockingSetBordered && bScheme) {
        c.clrNormalText = RGB(113, 111, 100);
        if (m_bDockingAutoHide)
            c.clrSelectedText = c.clrNormalText;
    }
    c.clrClient[0] = c.clrHeader[0];
    c.clrClient[1] = c.clrHeader[1];
}

// ---------------------------------------------------------------------------
// The colour sets' fills.

COLORREF CTabColorSet::FillItem(HDC hDC, const RECT& rc, CQXPTabManager* pManager, CQXPTabManagerItem* pItem)
{
    const CQXPTabPainter* p = m_pPaintManager;
    const TabColorSet& c = p->GetColors();
    COLORREF clr = p->GetItemFill(pManager, pItem);
    if (clr != kUnset && !p->m_bPlainColors && (c.bItemGradient || (c.bLuna && p->GetAppearance() != 7)))
        p->FillGradientByPosition(hDC, rc, MixColors(clr, RGB(255, 255, 255), 300), clr);
    else
        FillSolid(*CDC::FromHandle(hDC), rc, clr);
    return clr;
}

COLORREF CTabColorSetLuna::GetItemColor(CQXPTabManager* pManager, CQXPTabManagerItem* pItem) const
{
    const TabColorSet& c = m_pPaintManager->GetColors();
    return m_pPaintManager->m_bUseItemColors      ? pManager->GetItemColor(pItem)
           : pItem == pManager->GetSelectedItem() ? c.clrSelectedFace
                                                  : c.clrNormalFace;
}

void CTabColorSetLuna::FillShaded(HDC hDC, const RECT& rc, COLORREF clr) const
{
    if (m_pPaintManager->m_bPlainColors)
        FillSolid(*CDC::FromHandle(hDC), rc, clr);
    else
        m_pPaintManager->FillGradientByPosition(hDC, rc, MixColors(clr, RGB(255, 255, 255), 300), clr);
}

COLORREF CTabColorSetLuna::FillItem(HDC hDC, const RECT& rc, CQXPTabManager* pManager, CQXPTabManagerItem* pItem)
{
    const TabColorSet& c = m_pPaintManager->GetColors();
    const COLORREF clr = pItem == pManager->GetPressed()       ? c.clrPressedFace
                         : pItem == pManager->GetHighlighted() ? c.clrHotFace
                                                               : GetItemColor(pManager, pItem);
    FillShaded(hDC, rc, clr);
    return clr;
}

CTabColorSetLuna2::CTabColorSetLuna2() : CTabColorSetLuna(16) {}

CTabColorSetLuna2::~CTabColorSetLuna2() {}

COLORREF CTabColorSetLuna2::FillItem(HDC hDC, const RECT& rc, CQXPTabManager* pManager, CQXPTabManagerItem* pItem)
{
    const TabColorSet& c = m_pPaintManager->GetColors();
    // The pressed tab has no face of its own here.
    const COLORREF clr = pItem == pManager->GetHighlighted() ? c.clrHotFace : GetItemColor(pManager, pItem);
    if (c.bItemGradient)
        FillShaded(hDC, rc, clr);
    else
        FillSolid(*CDC::FromHandle(hDC), rc, clr);
    return clr;
}

void CTabColorSet::FillHeader(HDC hDC, const RECT& rc, CQXPTabManager* /*pManager*/)
{
    const TabColorSet& c = m_pPaintManager->GetColors();
    // Theme 6's headers show their slices of one gradient over the frame
    // window, so that neighbouring strips join.
    RECT rcFrame;
    if (m_pPaintManager->GetDockingColorSet() == tabDockingSetScheme && GetTopLevelRectOfDC(hDC, &rcFrame)) {
        m_pPaintManager->FillGradientByPosition(hDC, rc, c.clrHeader[0], c.clrHeader[1], &rcFrame);
        return;
    }
    m_pPaintManager->FillGradientByPosition(hDC, rc, c.clrHeader[0], c.clrHeader[1]);
}

void CTabColorSet::FillClient(HDC hDC, const RECT& rc, CQXPTabManager* pManager)
{
    CQXPTabManagerItem* pSelected = pManager->GetSelectedItem();
    FillSolid(*CDC::FromHandle(hDC), rc,
              pSelected ? m_pPaintManager->GetItemFill(pManager, pSelected) : m_pPaintManager->GetColors().clrSelectedFace);
}

void CTabColorSet::FillStateButton(HDC hDC, const RECT& rc, CQXPTabManager* pManager, CQXPTabManagerItem* pItem)
{
    const CQXPTabPainter* p = m_pPaintManager;
    const TabColorSet& c = p->GetColors();
    CDC& dc = *CDC::FromHandle(hDC);
    TabFrame f = {rc, p->GetPosition()};
    const int L = f.Length(), D = f.Depth();
    if (pItem == pManager->GetSelectedItem()) {
        if (p->m_bUseItemColors)
            FillSolid(dc, rc, pManager->GetItemColor(pItem));
        else
            p->FillGradientByPosition(hDC, rc, c.clrStateFill[0], c.clrStateFill[1]);
        dc.Draw3dRect(&rc, c.clrStateFrame[0], c.clrStateFrame[1]);
    } else if (L > 6) {
        // A sunken separator at the tab's far end, short of both edges.
        f.L(hDC, L - 2, 2, L - 2, D - 3, Sys(COLOR_3DSHADOW));
        f.L(hDC, L - 1, 2, L - 1, D - 3, Sys(COLOR_3DHIGHLIGHT));
    }
}

COLORREF CTabColorSet::FillNavigateButton(HDC hDC, CQXPTabManager* pManager, CQXPTabManagerNavigateButton* pButton,
                                          RECT& rc)
{
    if (!pButton->m_bEnabled)
        return Sys(COLOR_3DSHADOW);
    CDC& dc = *CDC::FromHandle(hDC);
    // Pressed: the mouse is down over it; hot: it is under the mouse.
    const BOOL bPressed = pButton->m_bPressed;
    const BOOL bHot = !bPressed && pButton == pManager->GetHighlightedNavigateButton();
    const int nAppearance = m_pPaintManager->GetAppearance();
    if (m_nId == 4 || m_nId == 16) {
        // The Luna sets: orange gradients in the scheme's border, or the
        // toolkit's pressed and hot faces.
        if (!bPressed && !bHot)
            return Sys(COLOR_BTNTEXT);
        const TabColorSet& c = m_pPaintManager->GetColors();
        if (c.bLuna) {
            if (bPressed)
                DrawHelpers::Instance()->FillGradient(hDC, &rc, RGB(254, 142, 75), RGB(255, 207, 139), FALSE);
            else
                DrawHelpers::Instance()->FillGradient(hDC, &rc, RGB(255, 242, 200), RGB(255, 212, 151), FALSE);
            dc.Draw3dRect(&rc, c.clrStateFrame[0], c.clrStateFrame[0]);
            return Sys(COLOR_BTNTEXT);
        }
        const CQXPTabPainter* p = m_pPaintManager;
        dc.FillSolidRect(&rc, p->GetToolkitColor(bPressed ? qxColorPressedFace : qxColorHotFace));
        const COLORREF clrFrame = p->GetToolkitColor(bPressed ? qxColorCheckedBorder : qxColorHotBorder);
        dc.Draw3dRect(&rc, clrFrame, clrFrame);
        return p->GetToolkitColor(bPressed ? qxColorPressedText : qxColorHotText);
    }
    if (m_nId == 32 && GetThemeResources()->IsLoaded()) {
        // The resource set: the Office 2007 theme's button picture (four
        // states: 0 hot, 1 pressed) under the normal text colour.
        if (ThemeBitmap* pImage = (bPressed || bHot) ? GetThemeResources()->LoadImage("TOOLBARBUTTONS22") : NULL) {
            CDC dcImage;
            dcImage.Attach(hDC);
            pImage->DrawImage(&dcImage, CRect(rc), pImage->GetSource(bPressed ? 1 : 0, 4), CRect(8, 8, 8, 8));
            dcImage.Detach();
        }
        return m_pPaintManager->GetColors().clrNormalText;
    }
    if (m_nId == 2 && nAppearance != 7 && nAppearance != 4) {
        // The flat set: a thin frame, light below when pressed.
        if (bPressed)
            dc.Draw3dRect(&rc, Sys(COLOR_BTNTEXT), Sys(COLOR_3DFACE));
        else if (bHot)
            dc.Draw3dRect(&rc, Sys(COLOR_3DFACE), Sys(COLOR_BTNTEXT));
        return Sys(qxColorTabText);
    }
    if (bPressed) {
        dc.Draw3dRect(&rc, Sys(COLOR_3DSHADOW), Sys(COLOR_3DHIGHLIGHT));
        ::OffsetRect(&rc, 1, 1);
    } else if (bHot) {
        dc.Draw3dRect(&rc, Sys(COLOR_3DHIGHLIGHT), Sys(COLOR_3DSHADOW));
    }
    return Sys(COLOR_BTNTEXT);
}

CTabColorSetVisualStyle::CTabColorSetVisualStyle()
    : CTabColorSet(8), m_pTab(new CVisualStyleTheme()), m_pToolbar(new CVisualStyleTheme())
{
}

CTabColorSetVisualStyle::~CTabColorSetVisualStyle()
{
    delete m_pTab;
    delete m_pToolbar;
}

BOOL CTabColorSetVisualStyle::IsThemed() const
{
    return m_pTab->IsAppThemed();
}

void CTabColorSetVisualStyle::RefreshMetrics(TabColorSet& c)
{
    // The painter computed the default set's colours; the "TAB" part draws
    // its own edges, and the pane part names the face.
    m_pTab->OpenThemeData(::GetDesktopWindow(), L"TAB");
    if (m_pTab->IsAppThemed()) {
        c.clrHighlight3D = c.clrShadow3D = c.clrDarkShadow3D = kUnset;
        c.clrHotText = c.clrNormalText;
        COLORREF clr;
        if (SUCCEEDED(m_pTab->GetThemeColor(TABP_PANE, 0, TMT_FILLCOLORHINT, &clr)))
            c.clrControlFace = clr;
    }
    m_pToolbar->OpenThemeData(::GetDesktopWindow(), L"TOOLBAR");
}

COLORREF CTabColorSetVisualStyle::FillItem(HDC hDC, const RECT& rcItem, CQXPTabManager* pManager,
                                           CQXPTabManagerItem* pItem)
{
    if (!IsThemed())
        return CTabColorSet::FillItem(hDC, rcItem, pManager, pItem);
    const BOOL bSel = pItem == pManager->GetSelectedItem();
    const int nLast = pManager->GetItemCount() - 1;
    const int nPart = pItem->GetIndex() == 0                ? TABP_TOPTABITEMLEFTEDGE
                      : pItem->GetIndex() == nLast && !bSel ? TABP_TOPTABITEMRIGHTEDGE
                                                            : TABP_TOPTABITEM;
    const int nState = bSel ? TIS_SELECTED : pItem == pManager->GetHighlighted() ? TIS_HOT
                                                                                 : TIS_NORMAL;
    // The part overlaps its neighbours and, when selected, the client edge.
    const int nPos = m_pPaintManager->GetPosition();
    TabFrame f = {rcItem, nPos};
    RECT& rc = f.rc;
    if (bSel && nPos == tabPositionTop)
        rc.bottom += 2;
    if (bSel && nPos == tabPositionLeft)
        rc.right += 1;
    switch (nPos) {
    case tabPositionTop: ::SetRect(&rc, rc.left - 1, rc.top - 1, rc.right + 1, rc.bottom); break;
    case tabPositionLeft: ::SetRect(&rc, rc.left - 1, rc.top - 1, rc.right, rc.bottom + 1); break;
    case tabPositionBottom: ::SetRect(&rc, rc.left - 1, rc.top, rc.right + 1, rc.bottom + 2); break;
    default: ::SetRect(&rc, rc.left, rc.top - 1, rc.right + 2, rc.bottom + 1); break;
    }
    if (nPos == tabPositionTop)
        m_pTab->DrawThemeBackground(hDC, nPart, nState, &rc);
    else
        DrawTurned(hDC, f, Sys(COLOR_3DFACE), kUnset, [&](HDC hdcUpright, const RECT& rcUpright) {
            m_pTab->DrawThemeBackground(hdcUpright, nPart, nState, &rcUpright);
        });
    return kUnset;
}

void CTabColorSetVisualStyle::FillClient(HDC hDC, const RECT& rcClient, CQXPTabManager* pManager)
{
    if (!IsThemed()) {
        CTabColorSet::FillClient(hDC, rcClient, pManager);
        return;
    }
    RECT rc = rcClient;
    const int nPos = m_pPaintManager->GetPosition();
    if (nPos == tabPositionBottom)
        rc.bottom += 1;
    else if (nPos == tabPositionRight)
        rc.right += 1;
    m_pTab->DrawThemeBackground(hDC, TABP_PANE, 0, &rc);
}

void CTabColorSetVisualStyle::ExcludeClientCorner(HDC hDC, const RECT& rc, CQXPTabManager* /*pManager*/)
{
    if (!IsThemed())
        return;
    // The pane part's corner where the first tab meets it.
    POINT pt = {rc.left, rc.top};
    const int nPos = m_pPaintManager->GetPosition();
    if (nPos == tabPositionBottom)
        pt.y = rc.bottom - 2;
    else if (nPos == tabPositionRight)
        pt.x = rc.right - 2;
    ::ExcludeClipRect(hDC, pt.x, pt.y, pt.x + 1, pt.y + 1);
}

void CTabColorSetVisualStyle::FillStateButton(HDC hDC, const RECT& rc, CQXPTabManager* pManager,
                                              CQXPTabManagerItem* pItem)
{
    if (pItem == pManager->GetSelectedItem() && m_pToolbar->IsAppThemed())
        m_pToolbar->DrawThemeBackground(hDC, TP_BUTTON, pItem == pManager->GetHighlighted() ? TS_HOTCHECKED : TS_CHECKED,
                                        &rc);
    else
        CTabColorSet::FillStateButton(hDC, rc, pManager, pItem);
}

COLORREF CTabColorSetVisualStyle::FillNavigateButton(HDC hDC, CQXPTabManager* pManager,
                                                     CQXPTabManagerNavigateButton* pButton, RECT& rc)
{
    if (!m_pToolbar->IsAppThemed())
        return CTabColorSet::FillNavigateButton(hDC, pManager, pButton, rc);
    if (pButton->m_bEnabled) {
        const int nState = pButton->m_bPressed                                   ? TS_PRESSED
                           : pButton == pManager->GetHighlightedNavigateButton() ? TS_HOT
                                                                                 : TS_NORMAL;
        m_pToolbar->DrawThemeBackground(hDC, TP_BUTTON, nState, &rc);
    }
    return Sys(COLOR_BTNTEXT);
}

COLORREF CQXPTabPainter::GetItemFill(CQXPTabManager* pManager, CQXPTabManagerItem* pItem) const
{
    // Theme 9's tabbed set fills the selected tab only.
    if (m_nDockingSet == tabDockingSetBordered && !m_bDockingAutoHide && pItem != pManager->GetSelectedItem())
        return kUnset;
    if (m_bUseItemColors)
        return pManager->GetItemColor(pItem);
    if (pItem == pManager->GetPressed() && m_colors.bLuna)
        return m_colors.clrPressedFace;
    if (pItem == pManager->GetSelectedItem())
        return m_colors.clrSelectedFace;
    if (pItem == pManager->GetHighlighted() && (m_colors.bLuna || m_nColorSet == 16))
        return m_colors.clrHotFace;
    return m_colors.clrNormalFace;
}

COLORREF CQXPTabPainter::GetItemTextColor(CQXPTabManager* pManager, CQXPTabManagerItem* pItem) const
{
    if (!pItem->IsEnabled())
        return m_colors.clrDisabledText;
    if (!pManager->IsActive())
        return m_colors.clrInactiveText;
    if (pItem == pManager->GetSelectedItem())
        return m_colors.clrSelectedText;
    if (pItem == pManager->GetHighlighted() && m_bHotTracking)
        return m_colors.clrHotText;
    return m_colors.clrNormalText;
}

void CQXPTabPainter::FillGradientByPosition(HDC hDC, const RECT& rc, COLORREF clrA, COLORREF clrB,
                                            const RECT* pSpan) const
{
    if (clrA == kChecker || clrB == kChecker) {
        // The face and highlight in a one-pixel checker.
        CDC& dc = *CDC::FromHandle(hDC);
        COLORREF oldText = dc.SetTextColor(Sys(COLOR_3DFACE));
        COLORREF oldBk = dc.SetBkColor(Sys(COLOR_3DHIGHLIGHT));
        dc.FillRect(&rc, CDC::GetHalftoneBrush());
        dc.SetTextColor(oldText);
        dc.SetBkColor(oldBk);
        return;
    }
    if (clrA == kUnset)
        clrA = clrB;
    if (clrB == kUnset)
        clrB = clrA;
    if (clrA == kUnset)
        return;
    BOOL bFirst = m_nPosition == tabPositionTop || m_nPosition == tabPositionLeft;
    if (m_bInvertGradient)
        bFirst = !bFirst;
    BOOL bHorz = m_nPosition == tabPositionLeft || m_nPosition == tabPositionRight;
    if (pSpan) {
        RECT rcSpan = rc;
        if (bHorz) {
            rcSpan.left = pSpan->left;
            rcSpan.right = pSpan->right;
        } else {
            rcSpan.top = pSpan->top;
            rcSpan.bottom = pSpan->bottom;
        }
        DrawHelpers::Instance()->FillGradientClipped(hDC, &rcSpan, bFirst ? clrA : clrB, bFirst ? clrB : clrA, bHorz,
                                                     &rc);
        return;
    }
    DrawHelpers::Instance()->FillGradient(hDC, &rc, bFirst ? clrA : clrB, bFirst ? clrB : clrA, bHorz);
}

void CQXPTabPainter::DrawTabControl(CQXPTabManager* pManager, HDC hDC, const RECT& rcControl)
{
    m_pAppearance->DrawTabControl(pManager, hDC, rcControl);
}

void CQXPTabPainter::DrawTabControlEx(CQXPTabManager* pManager, HDC hDC, const RECT& rcControl)
{
    CDC& dc = *CDC::FromHandle(hDC);
    RECT rc = rcControl;
    if (pManager->IsDrawStaticFrame()) {
        // A sunken double frame around the strip in the colour set's
        // colours: outside its frame edges, inside its 3-D dark shadow and
        // control face (a set without 3-D edges repeats the outer ones).
        const COLORREF clrDark = m_colors.clrFrameDark, clrLight = m_colors.clrFrameLight;
        const COLORREF clrInnerDark = m_colors.clrDarkShadow3D != kUnset ? m_colors.clrDarkShadow3D : clrDark;
        const COLORREF clrInnerLight = m_colors.clrControlFace != kUnset ? m_colors.clrControlFace : clrLight;
        dc.Draw3dRect(&rc, clrDark, clrLight);
        ::InflateRect(&rc, -1, -1);
        dc.Draw3dRect(&rc, clrInnerDark, clrInnerLight);
        ::InflateRect(&rc, -1, -1);
    }
    // The client face under the whole control, then the header face over
    // the header (appearance 8 fills the control and frames it, or draws a
    // line along its top).
    if (m_bFillClient && m_nAppearance != 8)
        FillGradientByPosition(hDC, rc, m_colors.clrClient[0], m_colors.clrClient[1]);
    if (m_nAppearance == 8) {
        RECT r = rc;
        r.left += m_rcClientMargin.left;
        r.top += m_rcClientMargin.top;
        r.right -= m_rcClientMargin.right;
        r.bottom -= m_rcClientMargin.bottom;
        FillSolid(dc, r, m_colors.clrControlFace);
        if (m_nClientFrame != 2)
            dc.Draw3dRect(&r, m_colors.clrBorder, m_colors.clrBorder);
        else if (!pManager->m_arrItems.empty())
            FillSolid(dc, {r.left, r.top, r.right, r.top + 1}, m_colors.clrBorder);
    } else if (m_nAppearance != 4) { // the visual-style tabs stand on the client face
        RECT rcHeader = GetHeaderRect(pManager, DeflateControlRect(rc, FALSE));
        RECT rcClip;
        if (::GetClipBox(hDC, &rcClip) != NULLREGION && ::IntersectRect(&rcClip, &rcClip, &rcHeader))
            m_pColorSet->FillHeader(hDC, rcHeader, pManager);
    }
    if (m_nAppearance != 8)
        DrawClient(pManager, hDC, GetClientRect(pManager, DeflateControlRect(rc, FALSE)));
    DrawTabStrip(pManager, hDC, rc);
}

void CQXPTabPainter::DrawClient(CQXPTabManager* pManager, HDC hDC, const RECT& rcClient)
{
    // Appearance 4's tabs stand on the client face; the stacked rows frame
    // their control themselves.
    if (m_nClientFrame == 2 || m_nAppearance == 4 || m_nAppearance == 8 || ::IsRectEmpty(&rcClient))
        return;
    if (m_nAppearance == 10) {
        if (m_nClientFrame == 1) {
            FrameClient(hDC, rcClient, 1);
        } else if (ThemeBitmap* pImage = GetThemeResources()->LoadImage("RIBBONGROUPS")) {
            CDC dc;
            dc.Attach(hDC);
            pImage->DrawImage(&dc, CRect(rcClient), pImage->GetSource(0, 1), CRect(8, 8, 8, 8));
            dc.Detach();
        }
        return;
    }
    // A framed client is filled by the colour set (a themed set lays its
    // pane part there); the flat box, box and rounded tabs fill it under
    // the tab-side line too.
    if (m_nClientFrame == 0 || m_nAppearance == 2 || m_nAppearance == 6 || m_nAppearance == 7) {
        const int nSaved = ::SaveDC(hDC);
        m_pColorSet->ExcludeClientCorner(hDC, rcClient, pManager);
        m_pColorSet->FillClient(hDC, rcClient, pManager);
        ::RestoreDC(hDC, nSaved);
    }
    // The visual style's pane part brings its own edges.
    if (!m_pColorSet->IsThemed())
        FrameClient(hDC, rcClient, m_nClientFrame);
}

void CQXPTabPainter::FrameClient(HDC hDC, const RECT& rcClient, int nStyle) const
{
    const TabColorSet& c = m_colors;
    const int a = m_nAppearance;
    // The near edges (top, left) and the far ones (bottom, right).
    COLORREF clrNear = c.clrBorder, clrFar = c.clrBorder, clrFarInner = kUnset;
    if (a == 0 || a == 1) {
        clrNear = c.clrHighlight3D;
        clrFar = c.clrDarkShadow3D;
        clrFarInner = c.clrShadow3D;
    } else if (a == 3 || a == 9) {
        clrNear = clrFar = c.clrShape[tabShapeSelectedOutline];
    } else if (a == 5) {
        clrNear = c.clrButtonHighlight;
        clrFar = c.clrSelectedText;
    }
    TabFrame f = {rcClient, m_nPosition};
    const int L = f.Length(), D = f.Depth();
    if (L <= 0 || D <= 0)
        return;
    if (nStyle == 1) {
        // The line on the tab side (the client's v = 0 row), with an inner
        // shadow where it is a far edge.
        const BOOL bFar = m_nPosition == tabPositionBottom || m_nPosition == tabPositionRight;
        f.L(hDC, 0, 0, L - 1, 0, bFar ? clrFar : clrNear);
        if (bFar && D > 1)
            f.L(hDC, 0, 1, L - 1, 1, clrFarInner);
        return;
    }
    if (nStyle != 0)
        return;
    CDC& dc = *CDC::FromHandle(hDC);
    const RECT& r = rcClient;
    FillSolid(dc, {r.left, r.top, r.right, r.top + 1}, clrNear);
    FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom}, clrNear);
    FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, clrFar);
    FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, clrFar);
    if (r.right - r.left > 2 && r.bottom - r.top > 2) {
        FillSolid(dc, {r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1}, clrFarInner);
        FillSolid(dc, {r.right - 2, r.top + 1, r.right - 1, r.bottom - 1}, clrFarInner);
    }
}

void CQXPTabPainter::DrawTabStrip(CQXPTabManager* pManager, HDC hDC, const RECT& /*rc*/)
{
    ::SetBkMode(hDC, TRANSPARENT);
    // Tabs overlap their neighbours towards the selected one: the rows
    // from the farthest to the one at the client, in each row the tabs
    // before the selected one in order, those after it from the end, and
    // the selected tab last.
    RECT rcHeader = pManager->m_rcHeaderRect;
    int saved = ::SaveDC(hDC);
    if (m_bClipToHeader && !IsRectEmpty(&rcHeader))
        ::IntersectClipRect(hDC, rcHeader.left, rcHeader.top, rcHeader.right, rcHeader.bottom);
    RECT rcClip;
    if (::GetClipBox(hDC, &rcClip) != NULLREGION) {
        auto draw = [&](CQXPTabManagerItem* p) {
            RECT r;
            if (p->IsVisible() && ::IntersectRect(&r, &p->GetRect(), &rcClip))
                DrawItem(pManager, hDC, p);
        };
        CQXPTabManagerItem* pSelected = pManager->GetSelectedItem();
        const int nSelected = pSelected ? pSelected->GetIndex() : pManager->GetItemCount();
        int nRows = 1;
        for (CQXPTabManagerItem* p : pManager->m_arrItems)
            nRows = std::max(nRows, p->m_nItemRow + 1);
        const std::vector<CQXPTabManagerItem*>& items = pManager->m_arrItems;
        for (int row = nRows - 1; row >= 0; --row) {
            for (int i = 0; i < (int)items.size() && i < nSelected; ++i)
                if (items[i]->m_nItemRow == row)
                    draw(items[i]);
            for (int i = (int)items.size() - 1; i > nSelected; --i)
                if (items[i]->m_nItemRow == row)
                    draw(items[i]);
        }
        if (pSelected)
            draw(pSelected);
    }
    ::RestoreDC(hDC, saved);
    for (auto it = pManager->m_arrNavigateButtons.rbegin(); it != pManager->m_arrNavigateButtons.rend(); ++it)
        if (!IsRectEmpty(&(*it)->m_rc))
            DrawNavigateButton(pManager, hDC, *it);
}

static BOOL DrawResourceTab(CQXPTabManager* pManager, HDC hDC, CQXPTabManagerItem* pItem, const TabFrame& f)
{
    // The Office 2007 theme's "RIBBONTAB" (6 states) for the selected or hot
    // tab: drawn as for the top position, then turned to the tab's side.
    ThemeBitmap* pImage = GetThemeResources()->LoadImage("RIBBONTAB");
    if (!pImage)
        return FALSE;
    BOOL bSel = pItem == pManager->GetSelectedItem();
    BOOL bHot = pItem == pManager->GetHighlighted();
    BOOL bPressed = pItem == pManager->GetPressed();
    if (!bSel && !bHot)
        return TRUE;
    int nState = bSel ? (pManager->IsFocused() ? 5 : bHot ? 4
                                                          : 3)
                      : (bPressed ? 2 : 1);
    if (f.Length() <= 0 || f.Depth() <= 0)
        return TRUE;
    const CRect rcSource = pImage->GetSource(nState, 6);
    if (f.pos == tabPositionTop) {
        CDC dc;
        dc.Attach(hDC);
        pImage->DrawImageOnColor(&dc, CRect(f.rc), rcSource, CRect(5, 5, 5, 5), QX_THEME_KEY_COLOR);
        dc.Detach();
        return TRUE;
    }
    DrawTurned(hDC, f, QX_THEME_KEY_COLOR, QX_THEME_KEY_COLOR, [&](HDC hdcUpright, const RECT& rc) {
        CDC dc;
        dc.Attach(hdcUpright);
        pImage->DrawImage(&dc, CRect(rc), rcSource, CRect(5, 5, 5, 5));
        dc.Detach();
    });
    return TRUE;
}

void CQXPTabPainter::DrawTabShape(CQXPTabManager* pManager, HDC hDC, CQXPTabManagerItem* pItem)
{
    const TabColorSet& c = m_colors;
    BOOL bSel = pItem == pManager->GetSelectedItem();
    BOOL bHot = pItem == pManager->GetHighlighted();
    TabFrame f = {pItem->GetRect(), m_nPosition};
    COLORREF clrFill = GetItemFill(pManager, pItem);
    CDC& dc = *CDC::FromHandle(hDC);
    // The colour set fills the tab; the joins to the client take its colour.
    auto fill = [&](const RECT& r) { clrFill = m_pColorSet->FillItem(hDC, r, pManager, pItem); };
    switch (m_nAppearance) {
    case 0:
    case 1: {
        if (m_nAppearance == 1 && !bSel && !bHot)
            break;
        if (m_pColorSet->IsThemed()) {
            // The style's tab part is the whole shape, edges included.
            fill(f.rc);
            break;
        }
        if (bSel)
            f.Grow(2, 2, 0);
        int L = f.Length(), D = f.Depth();
        if (L < 4 || D < 3)
            break;
        fill(f.R(1, 1, L - 2, D - 1));
        // Highlight on the start side and the outer edge, the corner cut.
        f.L(hDC, 0, 2, 0, D - 1, c.clrHighlight3D);
        f.L(hDC, 1, 1, 1, 1, c.clrHighlight3D);
        f.L(hDC, 2, 0, L - 3, 0, c.clrHighlight3D);
        // Shadows on the end side.
        f.L(hDC, L - 2, 1, L - 2, D - 1, c.clrShadow3D);
        f.L(hDC, L - 1, 2, L - 1, D - 1, c.clrDarkShadow3D);
        if (bSel)
            f.L(hDC, 1, D - 1, L - 3, D - 1, clrFill);
        break;
    }
    case 2:
    case 6: {
        // Neighbouring borders overlap by one pixel.
        if (m_nPosition == tabPositionTop || m_nPosition == tabPositionBottom)
            f.rc.right += 1;
        else
            f.rc.bottom += 1;
        // Appearance 2 draws by its flags; a plain set of number 2 (a
        // host's own) draws the framed boxes.
        const CTabAppearanceFlatBox* pFlat =
            m_nAppearance == 2 ? dynamic_cast<const CTabAppearanceFlatBox*>(m_pAppearance) : NULL;
        if (pFlat && !pFlat->m_bBox) {
            DrawRoundedTab(pManager, hDC, pItem, f.rc, pFlat->m_bSeparator);
            break;
        }
        if (bSel)
            f.Grow(0, 0, 1);
        int L = f.Length(), D = f.Depth();
        fill(f.R(0, 0, L - 1, D - 1));
        f.L(hDC, 0, 0, L - 1, 0, c.clrBorder);
        f.L(hDC, 0, 0, 0, D - 1, c.clrBorder);
        f.L(hDC, L - 1, 0, L - 1, D - 1, c.clrBorder);
        if (!bSel)
            f.L(hDC, 0, D - 1, L - 1, D - 1, c.clrBorder);
        if (m_nAppearance == 2) { // lit inside its three free sides
            f.L(hDC, 1, 1, L - 2, 1, c.clrButtonHighlight);
            f.L(hDC, 1, 1, 1, D - 2, c.clrButtonHighlight);
            f.L(hDC, L - 2, 1, L - 2, D - 2, c.clrButtonHighlight);
        }
        break;
    }
    case 3:
    case 9: {
        int L = f.Length(), H = f.Depth() - 1;
        int slant = m_nAppearance == 3 ? H : H / 2;
        COLORREF clrOutline = bSel ? c.clrShape[tabShapeSelectedOutline] : c.clrShape[tabShapeOutline];
        COLORREF clrInner1 = bSel ? RGB(255, 255, 255) : c.clrShape[tabShapeInner];
        COLORREF clrInner2 = bSel ? RGB(255, 255, 255) : c.clrShape[tabShapeInnerLight];
        // The slanted start reaches back into the previous tab.
        std::vector<POINT> poly = {f.P(L, H + 1), f.P(L, 2), f.P(4, 1), f.P(7 - slant, H + 1)};
        FillPolygon(hDC, poly, clrFill);
        f.L(hDC, L, H - 1, L, 2, clrOutline);
        f.L(hDC, L, 2, L - 2, 0, clrOutline);
        f.L(hDC, L - 2, 0, 7, 0, clrOutline);
        f.L(hDC, 7, 0, 2, 2, clrOutline);
        f.L(hDC, 2, 2, 5 - slant, H - 1, clrOutline);
        f.L(hDC, L - 1, H - 1, L - 1, 2, clrInner1);
        f.L(hDC, L - 3, 1, 6, 1, clrInner2);
        f.L(hDC, 6, 1, 3, 3, clrInner2);
        if (bSel)
            f.L(hDC, 5 - slant, H, L - 1, H, clrFill);
        break;
    }
    case 4:
        m_pColorSet->FillStateButton(hDC, f.rc, pManager, pItem);
        break;
    case 5: {
        int L = f.Length(), D = f.Depth();
        if (bSel) {
            f.Grow(0, 0, 1);
            D = f.Depth();
            RECT r = f.R(0, 0, L - 1, D - 1);
            fill(r);
            f.L(hDC, 0, 0, L - 1, 0, c.clrButtonHighlight);
            f.L(hDC, 0, 0, 0, D - 1, c.clrButtonHighlight);
            f.L(hDC, L - 1, 0, L - 1, D - 1, c.clrSelectedText);
        } else if (L > 4) {
            f.L(hDC, L - 1, 2, L - 1, D - 3, c.clrBorder);
        }
        break;
    }
    case 7: {
        int L = f.Length(), D = f.Depth();
        int d = D / 2;
        int shift = D / 4;
        int o = bSel ? 0 : tabOutlineOtherTabs;
        BOOL bBottom = m_nPosition == tabPositionBottom || m_nPosition == tabPositionRight;
        std::vector<POINT> poly = {f.P(-shift, D), f.P(-shift + d, 0), f.P(L - shift, 0), f.P(L - shift + d, D)};
        FillPolygon(hDC, poly, clrFill);
        COLORREF c1 = c.clrOutline[o + (bBottom ? tabOutlineEdgeBottom : tabOutlineEdge)];
        COLORREF c4 = c.clrOutline[o + (bBottom ? tabOutlineInnerEdgeBottom : tabOutlineInnerEdge)];
        f.L(hDC, -shift, D - 1, -shift + d, 0, c1);
        f.L(hDC, -shift + d, 0, L - shift, 0, c1);
        f.L(hDC, L - shift, 0, L - shift + d, D - 1, c.clrOutline[o + tabOutlineFarSlant]);
        f.L(hDC, -shift + 1, D - 1, -shift + d + 1, 1, c4);
        f.L(hDC, -shift + d + 1, 1, L - shift, 1, c4);
        f.L(hDC, L - shift - 1, 1, L - shift + d - 1, D - 1, c.clrOutline[o + tabOutlineInnerFarSlant]);
        if (bSel)
            f.L(hDC, -shift + 1, D - 1, L - shift + d - 1, D - 1, clrFill);
        break;
    }
    case 8: {
        // A full-width row with a grip of short lines before its end.
        RECT r = pItem->GetRect();
        fill(r);
        dc.Draw3dRect(&r, c.clrButtonHighlight, c.clrBorder);
        const COLORREF clrGrip = Sys(qxColorGripper);
        for (int y = r.top + kStackedGripTop; y < r.bottom - kStackedGripBottom; y += 2)
            dc.FillSolidRect(r.right - kStackedGripRight - kStackedGripWidth, y, kStackedGripWidth, 1, clrGrip);
        break;
    }
    case 10:
        if (DrawResourceTab(pManager, hDC, pItem, f))
            break;
        // Without the theme image: the default look.
        [[fallthrough]];
    default:
        if (bSel || bHot) {
            int L = f.Length(), D = f.Depth();
            RECT r = f.R(0, 0, L - 1, D - 1);
            fill(r);
            dc.Draw3dRect(&r, c.clrBorder, c.clrBorder);
        }
        break;
    }
}

void CQXPTabPainter::DrawRoundedTab(CQXPTabManager* pManager, HDC hDC, CQXPTabManagerItem* pItem, const RECT& rcTab,
                                    BOOL bSeparator)
{
    const TabColorSet& c = m_colors;
    const BOOL bSel = pItem == pManager->GetSelectedItem();
    TabFrame f = {rcTab, m_nPosition};
    const int L = f.Length(), D = f.Depth();
    if (L <= 0 || D <= 0)
        return;
    if (bSeparator && !bSel) {
        // Unfilled, a short line at the far end before the next tab.
        if (pItem->GetIndex() < pManager->GetItemCount() - 1 && D > 2 * kFlatSeparatorInset)
            f.L(hDC, L - 1, kFlatSeparatorInset, L - 1, D - 1 - kFlatSeparatorInset, c.clrBorder);
        return;
    }
    // Deeper by two towards the client, so that the rounded corners there
    // fall past the header and the tab runs into the client.
    f.Grow(0, 0, kRoundedTabReach);
    const RECT& r = f.rc;
    if (HRGN hRgn = ::CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, kRoundedTabCorner, kRoundedTabCorner)) {
        const int nSaved = ::SaveDC(hDC);
        ::ExtSelectClipRgn(hDC, hRgn, RGN_AND);
        m_pColorSet->FillItem(hDC, r, pManager, pItem);
        ::RestoreDC(hDC, nSaved);
        ::DeleteObject(hRgn);
    }
    // An unselected tab keeps the client's line along its client side.
    if (!bSel && m_nClientFrame != 2)
        TabFrame{rcTab, m_nPosition}.L(hDC, 0, D - 1, L - 1, D - 1, c.clrBorder);
    PenSelector pen(hDC, c.clrBorder);
    GdiObjectSelector hollow(hDC, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(hDC, r.left, r.top, r.right, r.bottom, kRoundedTabCorner, kRoundedTabCorner);
}

void CQXPTabPainter::DrawItem(CQXPTabManager* pManager, HDC hDC, CQXPTabManagerItem* pItem)
{
    m_pAppearance->DrawSingleButton(hDC, pManager, pItem);
    DrawSingleButtonContent(hDC, pItem, pItem->GetRect(), TRUE);
}

void CQXPTabPainter::DrawItemContent(CQXPTabManager* pManager, HDC hDC, CQXPTabManagerItem* pItem, const RECT& rcItem)
{
    const BOOL bSel = pItem == pManager->GetSelectedItem();
    // Text runs down the tab on side strips and across it when rotated
    // tabs stand on a top or bottom strip.
    const BOOL bVertical = !IsHorizontal() != (m_nLayout == tabLayoutRotated);
    // The content between the margins and the inset, centred along the tab.
    RECT rc = rcItem;
    rc.left += m_rcButtonMargin.left;
    rc.top += m_rcButtonMargin.top;
    rc.right -= m_rcButtonMargin.right;
    rc.bottom -= m_rcButtonMargin.bottom;
    LONG& start = bVertical ? rc.top : rc.left;
    LONG& end = bVertical ? rc.bottom : rc.right;
    start += m_rcContentInset.left;
    end -= m_rcContentInset.right;
    CString s = pItem->GetCaption();
    if (m_nLayout == tabLayoutCompressed && !bSel)
        s.Empty(); // compressed tabs show their image only
    const BOOL bImage = m_bShowIcons && pManager->DrawItemImage(hDC, POINT{0, 0}, pItem, FALSE, m_szIcon);
    const int image = bImage ? (bVertical ? m_szIcon.cy : m_szIcon.cx) : 0;
    // The image takes half the start inset in front of it and gives the
    // other half as the gap before the caption.
    if (bImage)
        start -= m_rcContentInset.left / 2;
    const int gap = bImage && !s.IsEmpty() ? m_rcContentInset.left / 2 : 0;
    FontSelector font(hDC, GetFont(bSel && m_bBoldSelected && pManager->IsActive(), bVertical),
                      GetItemTextColor(pManager, pItem));
    SIZE szText = {0, 0};
    if (!s.IsEmpty()) {
        RECT rcText = {0, 0, 0, 0};
        ::DrawTextA(hDC, s, s.GetLength(), &rcText, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP | (m_bNoPrefix ? DT_NOPREFIX : 0));
        szText.cx = rcText.right - rcText.left;
        szText.cy = rcText.bottom - rcText.top;
    }
    const int content = image + gap + szText.cx;
    if (content < end - start)
        start += (end - start - content) / 2;
    if (bImage && end - start >= image) {
        RECT rcImage;
        if (bVertical)
            ::SetRect(&rcImage, (rc.left + rc.right - m_szIcon.cx) / 2, start, 0, start + m_szIcon.cy);
        else
            ::SetRect(&rcImage, start, (rc.top + rc.bottom - m_szIcon.cy) / 2, start + m_szIcon.cx, 0);
        rcImage.right = rcImage.left + m_szIcon.cx;
        rcImage.bottom = rcImage.top + m_szIcon.cy;
        pItem->DrawImage(hDC, rcImage);
        start += image + gap;
    }
    if (s.IsEmpty() || end <= start)
        return;
    if (!bVertical) {
        const UINT fmt = DT_SINGLELINE | DT_NOCLIP | (m_bNoPrefix ? DT_NOPREFIX : 0) | m_nTextAlignment;
        if (m_bMiddleEllipsis)
            DrawTextEllipsis(hDC, s, rc, fmt);
        else
            ::DrawTextA(hDC, s, s.GetLength(), &rc, fmt | (m_bEndEllipsis ? DT_END_ELLIPSIS : 0));
        return;
    }
    // Text turned a quarter (the vertical font), shortened to the room.
    const int room = end - start;
    if (m_bEndEllipsis && szText.cx > room)
        s = FitWithEllipsis(hDC, s, room);
    TEXTMETRICA tm;
    ::GetTextMetricsA(hDC, &tm);
    const int x = (rc.left + rc.right + tm.tmHeight) / 2;
    ::ExtTextOutA(hDC, x, start, ETO_CLIPPED, &rc, s, s.GetLength(), NULL);
}

void CQXPTabPainter::DrawNavigateButton(CQXPTabManager* pManager, HDC hDC, CQXPTabManagerNavigateButton* pButton)
{
    CDC& dc = *CDC::FromHandle(hDC);
    RECT rc = pButton->m_rc;
    COLORREF clr = m_pColorSet->FillNavigateButton(hDC, pManager, pButton, rc);
    int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
    PenSelector pen(hDC, clr);
    BrushSelector brush(hDC, clr);
    GdiObjectSelector hollow(hDC, pButton->m_bEnabled ? NULL : ::GetStockObject(NULL_BRUSH));
    // The glyphs about the button's centre: triangles pointing along the
    // strip (scroll buttons) or down (the "Active Files" button, with a bar
    // above it while the tabs overflow), and the close cross.
    enum {
        right,
        left,
        down,
        up
    };
    static const POINT kTriangles[4][3] = {
        {{-2, -5}, {2, -1}, {-2, 3}}, // right
        {{2, -5}, {-2, -1}, {2, 3}},  // left
        {{-5, -2}, {-1, 2}, {3, -2}}, // down
        {{-5, 2}, {-1, -2}, {3, 2}},  // up
    };
    auto triangle = [&](int n) {
        POINT pts[3];
        for (int i = 0; i < 3; ++i)
            pts[i] = POINT{cx + kTriangles[n][i].x, cy + kTriangles[n][i].y};
        dc.Polygon(pts, 3);
    };
    const BOOL bHorz = IsHorizontal();
    switch (pButton->m_nID) {
    case CQXPTabManagerNavigateButton::idLeft: triangle(bHorz ? left : up); break;
    case CQXPTabManagerNavigateButton::idRight: triangle(bHorz ? right : down); break;
    case CQXPTabManagerNavigateButton::idClose: {
        // Two strokes of two pixels, each line with its last pixel.
        RECT rcCross = {cx - 4, cy - 4, cx + 5, cy + 4};
        TabFrame cross = {rcCross, tabPositionTop};
        cross.L(hDC, 0, 0, 7, 7, clr);
        cross.L(hDC, 1, 0, 8, 7, clr);
        cross.L(hDC, 0, 7, 7, 0, clr);
        cross.L(hDC, 1, 7, 8, 0, clr);
        break;
    }
    default:
        triangle(down);
        if (pButton->m_bItemsOverflow)
            dc.FillSolidRect(cx - 5, cy - 5, 9, 2, clr);
        break;
    }
}

// ---------------------------------------------------------------------------
// Multi-row layout.

namespace {

// Fills rows from item i on, at most nRows of them; appends the first index
// of each row. FALSE when the items cannot be placed in that many rows.
bool FillRows(const std::vector<int>& w, size_t i, int nRows, int nLength, BOOL bBalance, std::vector<int>& starts)
{
    const size_t n = w.size();
    if (i >= n)
        return true;
    long long remaining = 0;
    for (size_t k = i; k < n; ++k)
        remaining += w[k];
    if (nRows <= 1) {
        if (remaining > nLength && n - i > 1)
            return false;
        starts.push_back((int)i);
        return true;
    }
    long long target = bBalance ? std::min<long long>(nLength, remaining / nRows) : nLength;
    size_t j = i + 1; // a row takes at least one item
    long long cur = w[i];
    while (j < n && cur + w[j] <= target) {
        cur += w[j];
        ++j;
    }
    for (;;) {
        size_t mark = starts.size();
        starts.push_back((int)i);
        if (FillRows(w, j, nRows - 1, nLength, bBalance, starts))
            return true;
        starts.resize(mark);
        // The rest did not fit: keep one more item here while the row fits.
        if (j < n && cur + w[j] <= nLength) {
            cur += w[j];
            ++j;
            continue;
        }
        return false;
    }
}

} // namespace

std::vector<int> AFXAPI CQXPTabPainter::SplitRows(const std::vector<int>& widths, int nLength, BOOL bBalance)
{
    std::vector<int> starts;
    if (widths.empty())
        return starts;
    // The row count of a greedy pass.
    int rows = 1;
    long long cur = 0;
    for (int w : widths) {
        if (cur > 0 && cur + w > nLength) {
            ++rows;
            cur = w;
        } else {
            cur += w;
        }
    }
    if (rows > 1 && FillRows(widths, 0, rows, nLength, bBalance, starts))
        return starts;
    // One row, or the greedy rows when no better split exists.
    starts.assign(1, 0);
    cur = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        if (cur > 0 && cur + widths[i] > nLength) {
            starts.push_back((int)i);
            cur = widths[i];
        } else {
            cur += widths[i];
        }
    }
    return starts;
}

void CQXPTabPainter::LayoutRows(CQXPTabManager* pManager, const RECT& rc)
{
    const int h = RowHeight(pManager);
    const RECT m = GetHeaderMargin();
    const int n = pManager->GetItemCount();
    const int length = (IsHorizontal() ? rc.right - rc.left : rc.bottom - rc.top) - m.left - m.right;
    std::vector<int> widths;
    for (CQXPTabManagerItem* p : pManager->m_arrItems)
        widths.push_back(p->m_bVisible ? p->m_nButtonLength : 0);
    std::vector<int> starts = SplitRows(widths, std::max(1, length), m_bBalanceRows);
    // Rows as (first, last); the row of the selected item goes next to the
    // client unless the order is kept.
    std::vector<std::pair<int, int>> rows;
    for (size_t r = 0; r < starts.size(); ++r)
        rows.push_back(std::make_pair(starts[r], r + 1 < starts.size() ? starts[r + 1] - 1 : n - 1));
    int sel = pManager->GetCurSel();
    if (!m_bKeepRowOrder && sel >= 0)
        for (size_t r = 1; r < rows.size(); ++r)
            if (sel >= rows[r].first && sel <= rows[r].second)
                std::swap(rows[0], rows[r]);
    pManager->m_arrRows = rows;
    PlaceNavigateButtons(pManager, rc);
    const int nRows = (int)rows.size();
    const int start = (IsHorizontal() ? rc.left : rc.top) + m.left;
    for (int d = 0; d < nRows; ++d) {
        // Row 0 lies next to the client; further rows stack away from it.
        const int nFar = (nRows - 1 - d) * (h + m_pAppearance->m_nRowSpacing);
        int cross;
        switch (m_nPosition) {
        case tabPositionTop: cross = rc.top + m_rcHeaderMargin.top + nFar; break;
        case tabPositionBottom: cross = rc.bottom - m_rcHeaderMargin.top - h - nFar; break;
        case tabPositionLeft: cross = rc.left + m_rcHeaderMargin.top + nFar; break;
        default: cross = rc.right - m_rcHeaderMargin.top - h - nFar; break;
        }
        int first = rows[d].first, last = rows[d].second;
        // With balanced rows every row is stretched to the full length.
        std::vector<int> w(widths.begin() + first, widths.begin() + last + 1);
        if (nRows > 1 && m_bBalanceRows) {
            int total = 0, count = 0;
            for (int x : w) {
                total += x;
                count += x > 0 ? 1 : 0;
            }
            int spare = length - total;
            for (int& x : w)
                if (x > 0 && spare > 0 && count > 0) {
                    int share = spare / count;
                    x += share;
                    spare -= share;
                    --count;
                }
        }
        int pos = start;
        for (int i = first; i <= last; ++i) {
            CQXPTabManagerItem* p = pManager->m_arrItems[i];
            int len = w[i - first];
            RECT r;
            if (IsHorizontal())
                SetRect(&r, pos, cross, pos + len, cross + h);
            else
                SetRect(&r, cross, pos, cross + h, pos + len);
            p->m_nButtonLength = len;
            p->m_nItemRow = d;
            p->SetRect(r);
            pos += len;
        }
    }
}
