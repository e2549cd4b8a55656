// The status bar: panes over the common status-bar control, painted through
// the paint manager.

#include <qx/statusbar.h>

#include <qx/commandbars.h>
#include <qx/fonts.h>
#include <qx/images.h>
#include <qx/paintmanager.h>

#include <fx/frame.h>

#include <commctrl.h>

#include <cstring>

IMPLEMENT_DYNAMIC(CQXPStatusBarPane, CCmdTarget)
IMPLEMENT_DYNAMIC(CQXPStatusBar, CControlBar)

namespace {

// Room every part takes besides its text width.
const int kPartPadding = 6;
// The control-bar border bits a status bar does not draw.
const DWORD kBorderBits = 0x0F00;

// The command-UI state of one pane.
class StatusCmdUI : public CCmdUI {
public:
    explicit StatusCmdUI(CQXPStatusBar* pBar) : m_pBar(pBar) {}

    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        UINT nOld = m_pBar->GetPaneStyle((int)m_nIndex);
        UINT nNew = bOn ? (nOld & ~SBPS_DISABLED) : (nOld | SBPS_DISABLED);
        m_pBar->SetPaneStyle((int)m_nIndex, nNew);
    }
    void SetCheck(int nCheck) override
    {
        UINT nOld = m_pBar->GetPaneStyle((int)m_nIndex);
        UINT nNew = nCheck ? (nOld | SBPS_POPOUT) : (nOld & ~SBPS_POPOUT);
        m_pBar->SetPaneStyle((int)m_nIndex, nNew);
    }
    void SetText(LPCSTR lpszText) override { m_pBar->SetPaneText((int)m_nIndex, lpszText, TRUE); }

private:
    CQXPStatusBar* m_pBar;
};

} // namespace

// ---------------------------------------------------------------------------
// CQXPStatusBarPane

CQXPStatusBarPane::CQXPStatusBarPane()
    : m_nID(0), m_cxText(0), m_nStyle(0), m_nFlags(0), m_bVisible(TRUE), m_hWndPane(NULL),
      m_bAutoDeleteWnd(FALSE), m_pStatusBar(NULL), m_nIndex(-1), m_nVisibleIndex(-1), m_pFont(NULL),
      m_nIconId(-1), m_rcMargins(2, 1, 2, 1), m_bButton(FALSE), m_bPressed(FALSE)
{
}

CQXPStatusBarPane::~CQXPStatusBarPane()
{
    if (m_hWndPane && ::IsWindow(m_hWndPane)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(m_hWndPane);
        if (pWnd) {
            pWnd->DestroyWindow();
            if (m_bAutoDeleteWnd)
                delete pWnd;
        }
    }
    m_hWndPane = NULL;
}

void CQXPStatusBarPane::SetVisible(BOOL bVisible)
{
    if (m_bVisible == bVisible)
        return;
    m_bVisible = bVisible;
    m_nFlags |= dirtyText;
    if (m_pStatusBar && m_pStatusBar->GetSafeHwnd())
        m_pStatusBar->UpdateAllPanes(TRUE, TRUE);
}

CString CQXPStatusBarPane::GetText() const
{
    return IsEnabled() ? m_strText : CString();
}

HFONT CQXPStatusBarPane::GetFont() const
{
    if (m_pFont && m_pFont->GetSafeHandle())
        return (HFONT)m_pFont->GetSafeHandle();
    return m_pStatusBar ? (HFONT)m_pStatusBar->GetBarFont()->GetSafeHandle() : NULL;
}

BOOL CQXPStatusBarPane::IsCurrent() const { return m_pStatusBar && m_pStatusBar->m_pHotPane == this; }

void CQXPStatusBarPane::Draw(CDC* pDC, CRect rc)
{
    if (!m_pStatusBar)
        return;
    CQXPThemePainter* pPaintManager = m_pStatusBar->GetPaintManager();
    if (!pPaintManager)
        return;
    // The icon sits left of the text, centred in the height.
    CQXPImageManager* pImageManager = m_nIconId != -1 ? GetGlobalImageManager() : NULL;
    CSize szIcon(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
    CQXPIconImage* pImage = pImageManager ? pImageManager->GetImage((UINT)m_nIconId, szIcon.cx) : NULL;
    if (pImage) {
        CPoint pt(rc.left + m_rcMargins.left, rc.top + (rc.Height() - szIcon.cy) / 2);
        pPaintManager->DrawImage(pDC, pt, szIcon, pImage, FALSE, FALSE, IsEnabled(), FALSE, FALSE, FALSE);
        rc.left += szIcon.cx + (m_strText.IsEmpty() ? 0 : 2);
    }
    pPaintManager->DrawStatusBarPane(pDC, rc, this);
}

// ---------------------------------------------------------------------------
// CQXPStatusBar

CQXPStatusBar::CQXPStatusBar()
    : m_nMinHeight(0), m_pHotPane(NULL), m_pCommandBars(NULL), m_bDrawThemed(TRUE), m_bTrackingLeave(FALSE)
{
    m_cxLeftBorder = m_cxRightBorder = m_cyBottomBorder = 0;
    m_cyTopBorder = 2;
    NONCLIENTMETRICSA ncm;
    LOGFONTA lf;
    if (NonClientMetrics(&ncm)) {
        lf = ncm.lfStatusFont;
    } else {
        std::memset(&lf, 0, sizeof(lf));
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    }
    m_fontBar.CreateFontIndirect(&lf);
}

CQXPStatusBar::~CQXPStatusBar()
{
    m_pHotPane = NULL;
    for (CQXPStatusBarPane* pPane : m_arrPanes) {
        pPane->m_pStatusBar = NULL;
        pPane->InternalRelease();
    }
    m_arrPanes.clear();
}

void CQXPStatusBar::PostNcDestroy()
{
    m_toolTipContext.DestroyToolTip();
    CControlBar::PostNcDestroy();
}

BOOL CQXPStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CQXPStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    // A bar along the bottom edge with its top border draws no edges itself.
    if ((m_dwStyle & 0xFF00) == 0x8200)
        m_dwStyle &= ~0x0F80u;

    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);

    DWORD dwWindowStyle = (dwStyle & 0xFFBF004Eu) | CCS_NOMOVEY | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    if (pParentWnd && (pParentWnd->GetStyle() & WS_THICKFRAME))
        dwWindowStyle |= SBARS_SIZEGRIP;
    dwWindowStyle |= dwCtrlStyle;
    return CWnd::CreateEx(0, STATUSCLASSNAMEA, NULL, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

CQXPThemePainter* CQXPStatusBar::GetPaintManager() const
{
    // The frame's command bars may give all their bars one theme.
    return m_pCommandBars ? m_pCommandBars->GetPaintManager() : GetGlobalPaintManager();
}

void CQXPStatusBar::SetDrawThemed(BOOL bThemed)
{
    m_bDrawThemed = bThemed;
    if (m_hWnd)
        Invalidate();
}

// --- panes -------------------------------------------------------------------

CQXPStatusBarPane* CQXPStatusBar::GetPane(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_arrPanes.size() ? m_arrPanes[(size_t)nIndex] : NULL;
}

CQXPStatusBarPane* CQXPStatusBar::FindPane(UINT nID) const { return GetPane(CommandToIndex(nID)); }

int CQXPStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_arrPanes.size(); i++) {
        if (m_arrPanes[i]->m_nID == nIDFind)
            return (int)i;
    }
    return -1;
}

UINT CQXPStatusBar::GetItemID(int nIndex) const
{
    CQXPStatusBarPane* pPane = GetPane(nIndex);
    return pPane ? pPane->m_nID : 0;
}

void CQXPStatusBar::RemoveAll()
{
    m_pHotPane = NULL;
    std::vector<CQXPStatusBarPane*> panes;
    panes.swap(m_arrPanes);
    for (CQXPStatusBarPane* pPane : panes) {
        pPane->m_pStatusBar = NULL;
        pPane->InternalRelease();
    }
    if (m_hWnd)
        UpdateAllPanes(TRUE, TRUE);
}

BOOL CQXPStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    RemoveAll();
    BOOL bResult = TRUE;
    for (int i = 0; lpIDArray && i < nIDCount; i++) {
        UINT nID = lpIDArray[i];
        CString strText;
        if (nID != 0 && !strText.LoadString(nID)) {
            bResult = FALSE;
            break;
        }
        CQXPStatusBarPane* pPane = new CQXPStatusBarPane;
        pPane->m_pStatusBar = this;
        pPane->m_nID = nID;
        pPane->m_nIndex = (int)m_arrPanes.size();
        pPane->m_nFlags |= CQXPStatusBarPane::dirtyText;
        if (nID == 0) {
            pPane->m_cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
            if (i == 0)
                pPane->m_nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
        } else {
            pPane->m_strText = strText;
            pPane->m_cxText = CalcPaneTextWidth(pPane);
        }
        m_arrPanes.push_back(pPane);
    }
    if (m_hWnd)
        UpdateAllPanes(TRUE, TRUE);
    return bResult;
}

int CQXPStatusBar::CalcPaneTextWidth(const CQXPStatusBarPane* pPane) const
{
    if (!pPane)
        return 0;
    HDC hdc = ::GetDC(NULL);
    HFONT hFont = pPane->GetFont();
    HGDIOBJ hOld = ::SelectObject(hdc, hFont ? (HGDIOBJ)hFont : m_fontBar.GetSafeHandle());
    SIZE sz = {0, 0};
    if (!pPane->m_strText.IsEmpty())
        ::GetTextExtentPoint32A(hdc, pPane->m_strText, pPane->m_strText.GetLength(), &sz);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(NULL, hdc);
    int cx = sz.cx + pPane->m_rcMargins.left + pPane->m_rcMargins.right;
    if (pPane->m_nIconId != -1) {
        cx += ::GetSystemMetrics(SM_CXSMICON);
        if (!pPane->m_strText.IsEmpty())
            cx += 2;
    }
    return cx;
}

UINT CQXPStatusBar::GetPaneStyle(int nIndex) const
{
    CQXPStatusBarPane* pPane = GetPane(nIndex);
    return pPane ? pPane->m_nStyle : 0;
}

void CQXPStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    CQXPStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane || pPane->m_nStyle == nStyle)
        return;
    if ((pPane->m_nStyle ^ nStyle) & SBPS_STRETCH) {
        pPane->m_nStyle = nStyle;
        if (m_hWnd)
            UpdateAllPanes(TRUE, FALSE);
    }
    pPane->m_nStyle = nStyle;
    pPane->m_nFlags |= CQXPStatusBarPane::dirtyText;
    SetPaneText(nIndex, pPane->m_strText, TRUE);
}

int CQXPStatusBar::GetPaneWidth(int nIndex) const
{
    CQXPStatusBarPane* pPane = GetPane(nIndex);
    return pPane ? pPane->m_cxText : 0;
}

void CQXPStatusBar::SetPaneWidth(int nIndex, int nWidth)
{
    CQXPStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane)
        return;
    if (nWidth <= 0)
        nWidth = CalcPaneTextWidth(pPane);
    if (pPane->m_cxText == nWidth)
        return;
    pPane->m_cxText = nWidth;
    if (m_hWnd)
        UpdateAllPanes(TRUE, FALSE);
}

void CQXPStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    CQXPStatusBarPane* pPane = GetPane(nIndex);
    nID = pPane ? pPane->m_nID : 0;
    nStyle = pPane ? pPane->m_nStyle : 0;
    cxWidth = pPane ? pPane->m_cxText : 0;
}

void CQXPStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    CQXPStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane)
        return;
    pPane->m_nID = nID;
    SetPaneWidth(nIndex, cxWidth);
    SetPaneStyle(nIndex, nStyle);
}

CString CQXPStatusBar::GetPaneText(int nIndex) const
{
    CQXPStatusBarPane* pPane = GetPane(nIndex);
    return pPane ? pPane->m_strText : CString();
}

BOOL CQXPStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate)
{
    CQXPStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane)
        return FALSE;
    CString strNew(lpszNewText ? lpszNewText : "");
    if (strNew == pPane->m_strText && !(pPane->m_nFlags & CQXPStatusBarPane::dirtyText))
        return TRUE;
    pPane->m_strText = strNew;
    if (!pPane->m_bVisible)
        return FALSE;
    if (bUpdate && m_hWnd && pPane->m_nVisibleIndex >= 0) {
        pPane->m_nFlags &= ~CQXPStatusBarPane::dirtyText;
        {
            WPARAM wParam = (WPARAM)(pPane->m_nVisibleIndex | (pPane->m_nStyle & 0xFFFF));
            LPCSTR lpsz = (pPane->m_nStyle & SBPS_DISABLED) ? NULL : (LPCSTR)pPane->m_strText;
            SendMessage(SB_SETTEXTA, wParam, (LPARAM)lpsz);
            ::InvalidateRect(m_hWnd, NULL, FALSE);
        }
    } else {
        pPane->m_nFlags |= CQXPStatusBarPane::dirtyText;
    }
    return TRUE;
}

BOOL CQXPStatusBar::SetPaneControl(HWND hWnd, UINT nID, BOOL bAutoDestroy)
{
    CQXPStatusBarPane* pPane = FindPane(nID);
    if (!pPane)
        return FALSE;
    pPane->m_hWndPane = hWnd;
    pPane->m_bAutoDeleteWnd = bAutoDestroy;
    PositionControls();
    return TRUE;
}

int CQXPStatusBar::GetVisiblePaneCount() const
{
    int n = 0;
    for (CQXPStatusBarPane* pPane : m_arrPanes) {
        if (pPane->m_bVisible)
            n++;
    }
    return n;
}

void CQXPStatusBar::GetBorders(int& cxBorder, int& cyBorder, int& cxSpacing) const
{
    int borders[3] = {0, 0, 0};
    if (m_hWnd)
        ::SendMessageA(m_hWnd, SB_GETBORDERS, 0, (LPARAM)borders);
    cxBorder = borders[0];
    cyBorder = borders[1];
    cxSpacing = borders[2];
}

void CQXPStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText)
{
    if (bUpdateRects) {
        CRect rect;
        if (m_hWnd)
            GetWindowRect(&rect);
        rect.OffsetRect(-rect.left, -rect.top);
        CalcInsideRect(rect, TRUE);
        int cxBorder, cyBorder, cxSpacing;
        GetBorders(cxBorder, cyBorder, cxSpacing);

        int nSpare = rect.Width() + cxSpacing;
        int nStretch = 0;
        int nVisible = 0;
        for (size_t i = 0; i < m_arrPanes.size(); i++) {
            CQXPStatusBarPane* pPane = m_arrPanes[i];
            pPane->m_nIndex = (int)i;
            if (!pPane->m_bVisible) {
                pPane->m_nVisibleIndex = -1;
                continue;
            }
            pPane->m_nVisibleIndex = nVisible++;
            if (pPane->m_nStyle & SBPS_STRETCH)
                nStretch++;
            nSpare -= pPane->m_cxText + cxSpacing + kPartPadding;
        }

        std::vector<int> edges;
        edges.reserve((size_t)nVisible);
        int x = cxBorder;
        for (CQXPStatusBarPane* pPane : m_arrPanes) {
            if (!pPane->m_bVisible)
                continue;
            x += pPane->m_cxText + kPartPadding;
            if ((pPane->m_nStyle & SBPS_STRETCH) && nSpare > 0 && nStretch > 0) {
                int nShare = nSpare / nStretch;
                x += nShare;
                nSpare -= nShare;
            }
            if (pPane->m_nStyle & SBPS_STRETCH)
                nStretch--;
            edges.push_back(x);
            x += cxSpacing;
        }
        if (m_hWnd) {
            SendMessage(SB_SETPARTS, (WPARAM)nVisible, (LPARAM)(edges.empty() ? NULL : edges.data()));
            PositionControls();
        }
    }
    if (bUpdateText) {
        for (size_t i = 0; i < m_arrPanes.size(); i++) {
            CQXPStatusBarPane* pPane = m_arrPanes[i];
            if (pPane->m_bVisible && (pPane->m_nFlags & CQXPStatusBarPane::dirtyText))
                SetPaneText((int)i, pPane->m_strText, TRUE);
        }
    }
}

void CQXPStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!lpRect)
        return;
    ::SetRectEmpty(lpRect);
    CQXPStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane || !pPane->m_bVisible || pPane->m_nVisibleIndex < 0 || !m_hWnd)
        return;
    if (!::SendMessageA(m_hWnd, SB_GETRECT, (WPARAM)pPane->m_nVisibleIndex, (LPARAM)lpRect)) {
        ::SetRectEmpty(lpRect);
        return;
    }
    if (pPane->m_nVisibleIndex == GetVisiblePaneCount() - 1) {
        if (pPane->m_nStyle & SBPS_STRETCH) {
            CRect rcClient;
            ::GetClientRect(m_hWnd, &rcClient);
            lpRect->right = rcClient.right;
            if (pPane->m_nStyle & SBPS_NOBORDERS)
                lpRect->right -= ::GetSystemMetrics(SM_CXSMICON) + ::GetSystemMetrics(SM_CXEDGE);
        } else {
            lpRect->right = lpRect->left + pPane->m_cxText + 3 * ::GetSystemMetrics(SM_CXEDGE);
        }
    }
}

void CQXPStatusBar::PositionControls()
{
    if (!m_hWnd)
        return;
    for (size_t i = 0; i < m_arrPanes.size(); i++) {
        CQXPStatusBarPane* pPane = m_arrPanes[i];
        if (!pPane->m_hWndPane || !::IsWindow(pPane->m_hWndPane))
            continue;
        CRect rc;
        GetItemRect((int)i, &rc);
        if (!(pPane->m_nStyle & SBPS_NOBORDERS)) {
            int cx = ::GetSystemMetrics(SM_CXEDGE);
            rc.DeflateRect(cx, cx);
        }
        ::SetWindowPos(pPane->m_hWndPane, NULL, rc.left, rc.top, rc.Width(), rc.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// --- layout ----------------------------------------------------------------------

BOOL CQXPStatusBar::IsParentSizable() const
{
    HWND hParent = m_hWnd ? ::GetParent(m_hWnd) : NULL;
    return hParent && (::GetWindowLongPtrA(hParent, GWL_STYLE) & WS_THICKFRAME) && !::IsZoomed(hParent);
}

void CQXPStatusBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    CControlBar::CalcInsideRect(rect, bHorz);
    if (m_hWnd && (::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & SBARS_SIZEGRIP)) {
        HWND hParent = ::GetParent(m_hWnd);
        if (hParent && !::IsZoomed(hParent)) {
            int cxBorder, cyBorder, cxSpacing;
            GetBorders(cxBorder, cyBorder, cxSpacing);
            rect.right -= 2 * ::GetSystemMetrics(SM_CXBORDER) + cxBorder + ::GetSystemMetrics(SM_CXVSCROLL);
        }
    }
}

CSize CQXPStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    (void)bStretch;
    (void)bHorz;
    TEXTMETRICA tm;
    std::memset(&tm, 0, sizeof(tm));
    HDC hdc = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hdc, m_fontBar.GetSafeHandle());
    ::GetTextMetricsA(hdc, &tm);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(NULL, hdc);

    int cxBorder, cyBorder, cxSpacing;
    GetBorders(cxBorder, cyBorder, cxSpacing);
    CRect rcInset(0, 0, 0, 0);
    CControlBar::CalcInsideRect(rcInset, TRUE);

    int cy = tm.tmHeight - tm.tmInternalLeading - 1 + 2 * (::GetSystemMetrics(SM_CYBORDER) + cyBorder) +
             rcInset.top - rcInset.bottom;
    if (cy < m_nMinHeight)
        cy = m_nMinHeight;
    if (m_bDrawThemed) {
        CQXPThemePainter* pPaintManager = GetPaintManager();
        if (pPaintManager && cy < pPaintManager->GetStatusBarMinHeight())
            cy = pPaintManager->GetStatusBarMinHeight();
    }
    return CSize(32767, cy);
}

// --- update and tooltips ------------------------------------------------------------

void CQXPStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    StatusCmdUI state(this);
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)m_arrPanes.size();
    for (UINT i = 0; i < state.m_nIndexMax && i < (UINT)m_arrPanes.size(); i++) {
        state.m_nIndex = i;
        state.m_nID = m_arrPanes[i]->m_nID;
        if (CWnd::OnCmdMsg(state.m_nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL))
            continue;
        // Panes keep their state when nobody handles them.
        if (pTarget)
            state.DoUpdate(pTarget, FALSE);
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

int CQXPStatusBar::PaneFromPoint(CPoint point) const
{
    for (size_t i = 0; i < m_arrPanes.size(); i++) {
        if (!m_arrPanes[i]->m_bVisible)
            continue;
        CRect rc;
        GetItemRect((int)i, &rc);
        if (rc.PtInRect(point))
            return (int)i;
    }
    return -1;
}

INT_PTR CQXPStatusBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    INT_PTR nHit = CControlBar::OnToolHitTest(point, pTI);
    if (nHit != -1)
        return nHit;
    CQXPStatusBarPane* pPane = GetPane(PaneFromPoint(point));
    if (!pPane || pPane->m_strToolTip.IsEmpty())
        return -1;
    CRect rc;
    GetItemRect(pPane->m_nIndex, &rc);
    if (!pTI)
        return (INT_PTR)pPane->m_nID;
    return FillToolHitInfo(pTI, m_hWnd, rc, (INT_PTR)pPane->m_nID, pPane->m_strToolTip);
}

// --- painting -------------------------------------------------------------------------

void CQXPStatusBar::DrawPaneEntry(CDC* pDC, CRect rc, CQXPStatusBarPane* pPane)
{
    if (pPane)
        pPane->Draw(pDC, rc);
}

void CQXPStatusBar::DrawThemed(CDC* pDC)
{
    CQXPThemePainter* pPaintManager = GetPaintManager();
    if (!pPaintManager || !pDC)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    pPaintManager->FillStatusBar(pDC, rcClient);

    HGDIOBJ hOldFont = ::SelectObject(pDC->GetSafeHdc(), m_fontBar.GetSafeHandle());
    int nLast = GetVisiblePaneCount() - 1;
    for (size_t i = 0; i < m_arrPanes.size(); i++) {
        CQXPStatusBarPane* pPane = m_arrPanes[i];
        if (!pPane->m_bVisible)
            continue;
        CRect rc;
        GetItemRect((int)i, &rc);
        if (rc.IsRectEmpty())
            continue;
        if (!(pPane->m_nStyle & SBPS_NOBORDERS))
            pPaintManager->DrawStatusPaneBorder(pDC, rc, pPane, pPane->m_nVisibleIndex == nLast);
        DrawPaneEntry(pDC, rc, pPane);
    }
    ::SelectObject(pDC->GetSafeHdc(), hOldFont);

    if (IsParentSizable() && (GetStyle() & SBARS_SIZEGRIP))
        pPaintManager->DrawStatusGripper(pDC, rcClient);
}

void CQXPStatusBar::OnPaintThemed()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CRect rc;
    GetClientRect(&rc);
    if (rc.Width() > 0 && rc.Height() > 0) {
        // Drawn off screen and copied in one piece: no flicker.
        HDC hdcMem = ::CreateCompatibleDC(hdc);
        HBITMAP hbm = ::CreateCompatibleBitmap(hdc, rc.Width(), rc.Height());
        HGDIOBJ hOld = ::SelectObject(hdcMem, hbm);
        DrawThemed(CDC::FromHandle(hdcMem));
        ::BitBlt(hdc, 0, 0, rc.Width(), rc.Height(), hdcMem, 0, 0, SRCCOPY);
        ::SelectObject(hdcMem, hOld);
        ::DeleteObject(hbm);
        ::DeleteDC(hdcMem);
    }
    ::EndPaint(m_hWnd, &ps);
}

// --- button panes -------------------------------------------------------------------

void CQXPStatusBar::OnMouseMoveAt(CPoint point)
{
    CQXPStatusBarPane* pPane = GetPane(PaneFromPoint(point));
    if (pPane && (!pPane->m_bButton || (pPane->m_nStyle & SBPS_DISABLED)))
        pPane = NULL;
    if (pPane == m_pHotPane)
        return;
    CRect rc;
    if (m_pHotPane) {
        GetItemRect(m_pHotPane->m_nIndex, &rc);
        InvalidateRect(&rc, TRUE);
    }
    m_pHotPane = pPane;
    if (m_pHotPane) {
        GetItemRect(m_pHotPane->m_nIndex, &rc);
        InvalidateRect(&rc, TRUE);
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
    }
}

void CQXPStatusBar::TrackButton(CQXPStatusBarPane* pPane)
{
    pPane->InternalAddRef();
    CRect rc;
    GetItemRect(pPane->m_nIndex, &rc);
    pPane->m_bPressed = TRUE;
    InvalidateRect(&rc, FALSE);
    SetCapture();

    BOOL bClick = FALSE;
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    while (::GetCapture() == m_hWnd) {
        BOOL bInside = rc.PtInRect(pt);
        if (bInside != pPane->m_bPressed) {
            pPane->m_bPressed = bInside;
            InvalidateRect(&rc, FALSE);
        }
        MSG msg;
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            pt = CPoint((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            if (msg.hwnd != m_hWnd) {
                ::ClientToScreen(msg.hwnd, &pt);
                ScreenToClient(&pt);
            }
            continue;
        }
        if (msg.message == WM_LBUTTONUP) {
            // Released over the pane: a click.
            CPoint ptUp((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            if (msg.hwnd != m_hWnd) {
                ::ClientToScreen(msg.hwnd, &ptUp);
                ScreenToClient(&ptUp);
            }
            bClick = rc.PtInRect(ptUp);
            break;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    pPane->m_bPressed = FALSE;
    InvalidateRect(&rc, FALSE);
    UINT nID = pPane->m_nID;
    pPane->InternalRelease();
    if (bClick) {
        CWnd* pFrame = GetParentFrame();
        if (!pFrame)
            pFrame = GetParent();
        if (pFrame)
            pFrame->SendMessage(WM_COMMAND, (WPARAM)nID, 0);
    }
}

// --- messages -----------------------------------------------------------------------------

LRESULT CQXPStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_toolTipContext.FilterMessage(this, message, wParam, lParam);

    switch (message) {
    case WM_CREATE: {
        LRESULT lResult = CControlBar::WindowProc(message, wParam, lParam);
        if (lResult == -1)
            return -1;
        SendMessage(WM_SETFONT, (WPARAM)m_fontBar.GetSafeHandle(), 0);
        SendMessage(SB_SETMINHEIGHT, 20, 0);
        return lResult;
    }
    case WM_NCHITTEST: {
        LRESULT lResult = CControlBar::WindowProc(message, wParam, lParam);
        return lResult == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
    }
    case WM_NCCALCSIZE: {
        NCCALCSIZE_PARAMS* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        CRect rcInset(0, 0, 0, 0);
        CControlBar::CalcInsideRect(rcInset, TRUE);
        RECT& rc = p->rgrc[0];
        rc.left += rcInset.left;
        rc.top += rcInset.top - 2;
        rc.right += rcInset.right;
        rc.bottom += rcInset.bottom;
        if (rc.right < rc.left)
            rc.right = rc.left;
        if (rc.bottom < rc.top)
            rc.bottom = rc.top;
        return 0;
    }
    case WM_NCPAINT:
        EraseNonClient();
        return 0;
    case WM_ERASEBKGND:
        if (m_bDrawThemed)
            return TRUE;
        break;
    case WM_PAINT:
        UpdateAllPanes(FALSE, TRUE);
        if (m_bDrawThemed) {
            OnPaintThemed();
            return 0;
        }
        break;
    case WM_PRINTCLIENT:
        if (m_bDrawThemed) {
            UpdateAllPanes(FALSE, TRUE);
            DrawThemed(CDC::FromHandle((HDC)wParam));
            return 0;
        }
        break;
    case WM_SIZE: {
        LRESULT lResult = CControlBar::WindowProc(message, wParam, lParam);
        UpdateAllPanes(TRUE, FALSE);
        ::InvalidateRect(m_hWnd, NULL, FALSE);
        return lResult;
    }
    case WM_WINDOWPOSCHANGING: {
        // The bar draws no edges: the base must not ask for frame changes.
        DWORD dwStyle = m_dwStyle;
        m_dwStyle &= ~kBorderBits;
        LRESULT lResult = CControlBar::WindowProc(message, wParam, lParam);
        m_dwStyle = dwStyle;
        return lResult;
    }
    case WM_WINDOWPOSCHANGED: {
        LRESULT lResult = CControlBar::WindowProc(message, wParam, lParam);
        const WINDOWPOS* pPos = reinterpret_cast<const WINDOWPOS*>(lParam);
        CQXPThemePainter* pPaintManager = m_bDrawThemed ? GetPaintManager() : NULL;
        if (pPaintManager && pPaintManager->GetCurrentTheme() == 6 && pPos && pPos->flags >= SWP_SHOWWINDOW) {
            HWND hParent = ::GetParent(m_hWnd);
            if (hParent)
                ::SetWindowPos(hParent, NULL, 0, 0, 0, 0,
                               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
        }
        return lResult;
    }
    case WM_SETTEXT: {
        // The frame's message line: the pane with id 0.
        int nIndex = CommandToIndex(0);
        if (nIndex < 0)
            return FALSE;
        SetPaneText(nIndex, reinterpret_cast<LPCSTR>(lParam), TRUE);
        return TRUE;
    }
    case WM_GETTEXT: {
        // The number of characters copied, without the terminating zero.
        int nMax = (int)wParam;
        LPSTR lpsz = reinterpret_cast<LPSTR>(lParam);
        if (nMax <= 0 || !lpsz)
            return 0;
        CQXPStatusBarPane* pPane = GetPane(CommandToIndex(0));
        int n = pPane ? pPane->m_strText.GetLength() : 0;
        if (n > nMax - 1)
            n = nMax - 1;
        if (n > 0)
            std::memcpy(lpsz, (LPCSTR)pPane->m_strText, (size_t)n);
        lpsz[n] = 0;
        return n;
    }
    case WM_GETTEXTLENGTH: {
        CQXPStatusBarPane* pPane = GetPane(CommandToIndex(0));
        return pPane ? pPane->m_strText.GetLength() : 0;
    }
    case SB_SETMINHEIGHT: {
        LRESULT lResult = CControlBar::WindowProc(message, wParam, lParam);
        m_nMinHeight = (int)wParam;
        return lResult;
    }
    case WM_MOUSEMOVE:
        OnMouseMoveAt(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
        break;
    case WM_MOUSELEAVE:
        m_bTrackingLeave = FALSE;
        OnMouseMoveAt(CPoint(-1, -1));
        return 0;
    case WM_LBUTTONDOWN: {
        LRESULT lResult = CControlBar::WindowProc(message, wParam, lParam);
        CQXPStatusBarPane* pHot = m_pHotPane;
        if (pHot && pHot->m_bButton && !(pHot->m_nStyle & SBPS_DISABLED)) {
            CRect rc;
            GetItemRect(pHot->m_nIndex, &rc);
            if (rc.PtInRect(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam))))
                TrackButton(pHot);
        }
        return lResult;
    }
    case QXP_WM_GETTHEMEVALUE: {
        CQXPThemePainter* pPaintManager = m_bDrawThemed ? GetPaintManager() : NULL;
        return pPaintManager ? pPaintManager->GetCurrentTheme() : 0;
    }
    default:
        break;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}
