// colorselector.cpp - the colour selector, its themes and its drop-down
// popup.
#include <qx/colorselector.h>

#include <qx/colordialog.h>
#include <qx/colors.h>
#include <qx/drawing.h>
#include <qx/fonts.h>
#include <qx/sysutil.h>
#include <qx/toolkitres.h>
#include <qx/wndshadow.h>

#include <algorithm>

// ---------------------------------------------------------------------------
// Themes.

namespace {

// The colour manager numbers of light, shadow, background, pressed, hot,
// checked and text.
const int kDefaultThemeColors[7] = {COLOR_3DHILIGHT, COLOR_3DSHADOW, COLOR_3DFACE, -1, -1, -1, COLOR_BTNTEXT};
const int kFlatThemeColors[7] = {32, 32, 41, 33, 31, 36, COLOR_BTNTEXT};

// The text before and after the line break of a "text\ntooltip" string.
void SplitButtonText(const CString& str, CString& strText, CString& strTip)
{
    int n = str.Find('\n');
    strText = n < 0 ? str : str.Left(n);
    strTip = n < 0 ? str : str.Mid(n + 1);
}

} // namespace

CColorSelectorTheme::CColorSelectorTheme()
    : m_clrLight(QX_COLOR_NONE), m_clrShadow(QX_COLOR_NONE), m_clrBackground(QX_COLOR_NONE),
      m_clrPressed(QX_COLOR_NONE), m_clrHot(QX_COLOR_NONE), m_clrChecked(QX_COLOR_NONE),
      m_clrText(::GetSysColor(COLOR_BTNTEXT))
{
}

void CColorSelectorTheme::SetColorsFrom(const int nIndexes[7], BOOL bCustom)
{
    ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    COLORREF* pFields[7] = {&m_clrLight, &m_clrShadow, &m_clrBackground, &m_clrPressed,
                            &m_clrHot, &m_clrChecked, &m_clrText};
    for (int i = 0; i < 7; i++) {
        const int n = nIndexes[i];
        *pFields[i] = n < 0 ? QX_COLOR_NONE : (bCustom && i < 6 ? pColors->GetColorEx(n) : pColors->GetColor(n));
    }
}

void CColorSelectorTheme::RefreshMetrics() { SetColorsFrom(kDefaultThemeColors, FALSE); }
void CColorSelectorThemeFlat::RefreshMetrics() { SetColorsFrom(kFlatThemeColors, FALSE); }
void CColorSelectorThemeCustom::RefreshMetrics() { SetColorsFrom(kFlatThemeColors, TRUE); }

void CColorSelectorTheme::FillBackground(CDC* pDC, const CRect& rc)
{
    if (QxIsDrawableColor(m_clrBackground))
        pDC->FillSolidRect(rc, m_clrBackground);
}

void CColorSelectorTheme::DrawCell(const ColorCell* pCell, CDC* pDC, BOOL bHighlighted, BOOL bPressed)
{
    if (!pCell || !pDC)
        return;
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    FontSelector font(pDC->GetSafeHdc(), GetGlobalUIFonts()->m_fontNormal);
    CRect rc = pCell->rect;
    const BOOL bChecked = pCell->bSelected;

    if ((bChecked || bHighlighted) && !bPressed) {
        if (bHighlighted) {
            if (QxIsDrawableColor(m_clrHot))
                pDC->FillSolidRect(rc, m_clrHot);
        } else if (QxIsDrawableColor(m_clrChecked)) {
            pDC->FillSolidRect(rc, m_clrChecked);
        } else {
            DrawPatternRect(pDC, rc);
        }
    }
    if (bChecked || bHighlighted || bPressed) {
        if (bPressed && QxIsDrawableColor(m_clrPressed))
            pDC->FillSolidRect(rc, m_clrPressed);
        if (bPressed || bChecked)
            pDC->Draw3dRect(rc, m_clrShadow, m_clrLight);
        else
            pDC->Draw3dRect(rc, m_clrLight, m_clrShadow);
    }
    if (!pCell->strText.IsEmpty()) {
        const COLORREF clrOld = pDC->SetTextColor(m_clrText);
        CRect rcText = rc;
        pDC->DrawText(pCell->strText, rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        pDC->SetTextColor(clrOld);
    }

    // The colour sample.
    CRect rcSample = rc;
    BOOL bSample = TRUE;
    if (pCell->dwKind & ColorCell::kindText) {
        bSample = bChecked;
        rcSample.DeflateRect(5, 6);
        rcSample.left = rcSample.right - 12;
        if (bSample)
            pDC->Draw3dRect(rcSample, m_clrShadow, m_clrShadow);
    } else {
        rcSample.DeflateRect(3, 3);
        if (pCell->bFramed)
            pDC->Draw3dRect(rcSample, m_clrShadow, m_clrShadow);
        if (!(pCell->dwKind & ColorCell::kindColor)) {
            if (pCell->dwKind & QXCS_NOFILL) {
                bSample = FALSE;
            } else {
                rcSample.DeflateRect(3, 3);
                rcSample = CRect(rcSample.left + 1, rcSample.top, rcSample.left + 13, rcSample.top + 11);
                pDC->Draw3dRect(rcSample, m_clrShadow, m_clrShadow);
            }
        }
    }
    // A sentinel (no colour, no fill) leaves the box empty.
    if (bSample && QxIsDrawableColor(pCell->clr)) {
        rcSample.DeflateRect(1, 1);
        pDC->FillSolidRect(rcSample, pCell->clr);
    }
    pDC->SetBkMode(nOldMode);
}

IMPLEMENT_DYNCREATE(CQXColorSelectorCtrlThemeFactory, CQXThemeManagerStyleFactory)

ThemeStyle* CQXColorSelectorCtrlThemeFactory::CreateTheme(int nTheme)
{
    CColorSelectorTheme* pTheme;
    if (nTheme == 1)
        pTheme = new CColorSelectorThemeFlat;
    else if (nTheme == 2)
        pTheme = new CColorSelectorThemeCustom;
    else
        pTheme = new CColorSelectorTheme;
    pTheme->m_nTheme = nTheme;
    pTheme->RefreshMetrics();
    return pTheme;
}

// ---------------------------------------------------------------------------
// The selector.

IMPLEMENT_DYNAMIC(CQXColorSelectorCtrl, CWnd)

BEGIN_MESSAGE_MAP(CQXColorSelectorCtrl, CWnd)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
    ON_WM_NCHITTEST()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

CQXColorSelectorCtrl::CQXColorSelectorCtrl()
    : m_themeHolder(RUNTIME_CLASS(CQXColorSelectorCtrlThemeFactory)), m_nColumns(kQxColorColumns), m_nHot(-1),
      m_nPressed(-1), m_pOwnerWnd(NULL), m_szCell(kQxColorCellSize, kQxColorCellSize), m_rcMargins(0, 0, 0, 0),
      m_dwStyle(0), m_ptLastMouse(0, 0), m_clrCurrent(QX_COLOR_UNSET), m_clrDefault(QX_COLOR_UNSET), m_pDialog(NULL)
{
}

CQXColorSelectorCtrl::~CQXColorSelectorCtrl()
{
    if (m_hWnd)
        DestroyWindow();
}

CColorSelectorTheme* CQXColorSelectorCtrl::GetTheme()
{
    return dynamic_cast<CColorSelectorTheme*>(m_themeHolder.GetTheme());
}

void CQXColorSelectorCtrl::AddListener(HWND hWnd)
{
    if (hWnd && std::find(m_listeners.begin(), m_listeners.end(), hWnd) == m_listeners.end())
        m_listeners.push_back(hWnd);
}

void CQXColorSelectorCtrl::RemoveListener(HWND hWnd)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), hWnd), m_listeners.end());
}

void CQXColorSelectorCtrl::SetColors(const COLORREF* pColors, int nCount, int nColumns)
{
    m_customColors.assign(pColors, pColors + (pColors && nCount > 0 ? nCount : 0));
    if (!m_customColors.empty())
        m_dwStyle |= QXCS_EXTENDED;
    if (nColumns > 0)
        m_nColumns = nColumns;
}

BOOL CQXColorSelectorCtrl::Create(const CRect& rect, CWnd* pParent, DWORD dwStyle, COLORREF clrCurrent,
                                  COLORREF clrDefault)
{
    AddListener(pParent->GetSafeHwnd());
    m_pOwnerWnd = pParent;
    m_dwStyle = dwStyle | (m_customColors.empty() ? 0 : QXCS_EXTENDED);
    m_clrCurrent = clrCurrent;
    m_clrDefault = clrDefault;
    CQXRecentColors* pRecent = CQXRecentColors::Instance();
    const int nRecent = pRecent->GetCount() < m_nColumns ? pRecent->GetCount() : m_nColumns;
    const CSize sz = QxColorSelectorSize(m_dwStyle, (int)m_customColors.size(), nRecent, m_rcMargins, m_nColumns,
                                         m_szCell);
    LPCSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
    const BOOL bPopup = (m_dwStyle & QXCS_POPUP) != 0;
    if (!CreateEx(0, lpszClass, "", bPopup ? WS_POPUP : WS_CHILD, rect.left, rect.bottom, sz.cx, sz.cy,
                  pParent->GetSafeHwnd(), (HMENU)NULL))
        return FALSE;
    ShowWindow(SW_SHOWNA);
    SendMessage(WM_SETFONT, (WPARAM)GetGlobalUIFonts()->m_fontNormal, FALSE);
    return TRUE;
}

int CQXColorSelectorCtrl::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_wndTip.Create(this))
        m_wndTip.Activate(TRUE);
    BuildCells();
    return 0;
}

void CQXColorSelectorCtrl::BuildCells()
{
    m_cells.clear();
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    const int cxWindow = rcWindow.Width();
    const CRect& m = m_rcMargins;
    ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    (void)pColors;

    // The top button.
    ColorCell top;
    const BOOL bNoFill = (m_dwStyle & QXCS_NOFILL) != 0;
    top.nID = bNoFill ? QX_IDS_NO_FILL : QX_IDS_AUTOMATIC_COLOR;
    SplitButtonText(bNoFill ? ToolkitString(QX_IDS_NO_FILL, "No Fill\nNo Fill")
                            : ToolkitString(QX_IDS_AUTOMATIC_COLOR, "Automatic Color\nAutomatic Color"),
                    top.strText, top.strTip);
    top.rect.SetRect(m.left, m.top, cxWindow - m.right, m.top + kQxColorButtonHeight);
    top.dwKind = m_dwStyle & QXCS_NOFILL;
    top.clr = m_clrDefault;
    top.bSelected = !bNoFill && m_clrCurrent == m_clrDefault;
    m_cells.push_back(top);
    BOOL bAnySelected = top.bSelected;

    // The colour table.
    const BOOL bExtended = (m_dwStyle & QXCS_EXTENDED) != 0;
    std::vector<ColorCell> table;
    if (!m_customColors.empty()) {
        for (COLORREF clr : m_customColors) {
            ColorCell c;
            c.clr = clr;
            c.strTip = QxIsDrawableColor(clr) ? FormatHexColor(clr) : CString();
            table.push_back(c);
        }
    } else {
        const QxNamedColor* pTable = bExtended ? g_qxExtendedColors : g_qxStandardColors;
        const int nCount = bExtended ? kQxExtendedColorCount : kQxStandardColorCount;
        for (int i = 0; i < nCount; i++) {
            ColorCell c;
            c.nID = pTable[i].nNameID;
            c.clr = pTable[i].clr;
            c.strTip = ToolkitString(c.nID, "");
            table.push_back(c);
        }
    }
    const int y0 = m.top + kQxColorButtonRow + (bExtended ? 0 : kQxColorCaptionRow);
    int yBottom = y0;
    for (size_t i = 0; i < table.size(); i++) {
        ColorCell& c = table[i];
        const int col = (int)i % m_nColumns, row = (int)i / m_nColumns;
        c.rect.SetRect(m.left + col * m_szCell.cx, y0 + row * m_szCell.cy, m.left + (col + 1) * m_szCell.cx,
                       y0 + (row + 1) * m_szCell.cy);
        c.dwKind = ColorCell::kindColor;
        c.bFramed = TRUE;
        c.nIndex = (int)m_cells.size();
        if (!bAnySelected && c.clr == m_clrCurrent) {
            c.bSelected = TRUE;
            bAnySelected = TRUE;
            m_nHot = c.nIndex;
        }
        yBottom = c.rect.bottom;
        m_cells.push_back(c);
    }

    if (m_dwStyle & QXCS_MORECOLORS) {
        CQXRecentColors* pRecent = CQXRecentColors::Instance();
        const int nRecent = pRecent->GetCount() < m_nColumns ? pRecent->GetCount() : m_nColumns;
        if (nRecent > 0) {
            const int y = yBottom + kQxColorRecentGap;
            for (int i = 0; i < nRecent; i++) {
                ColorCell c;
                c.clr = pRecent->GetAt(i);
                c.strTip = FormatHexColor(c.clr);
                c.rect.SetRect(m.left + i * m_szCell.cx, y, m.left + (i + 1) * m_szCell.cx, y + m_szCell.cy);
                c.dwKind = ColorCell::kindColor;
                c.bFramed = TRUE;
                c.nIndex = (int)m_cells.size();
                if (c.clr == m_clrCurrent && !bAnySelected) {
                    c.bSelected = TRUE;
                    bAnySelected = TRUE;
                }
                m_cells.push_back(c);
            }
            yBottom = y + m_szCell.cy;
        }
        ColorCell more;
        more.nID = QX_IDS_MORE_COLORS;
        more.strText = ToolkitString(QX_IDS_MORE_COLORS, "More Colors...");
        more.strTip = more.strText;
        more.rect.SetRect(m.left, yBottom + 4, cxWindow - m.right, yBottom + kQxColorButtonRow);
        more.dwKind = ColorCell::kindText;
        more.clr = m_clrCurrent;
        more.bSelected = !bAnySelected && m_clrCurrent != QX_COLOR_NOFILL;
        more.nIndex = (int)m_cells.size();
        m_cells.push_back(more);
    }

    if (m_wndTip.GetSafeHwnd())
        for (const ColorCell& c : m_cells)
            m_wndTip.AddTool(this, c.strTip, c.rect, (UINT_PTR)c.nIndex + 1);
    m_nHot = -1;
}

const ColorCell* CQXColorSelectorCtrl::GetCell(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_cells.size() ? &m_cells[(size_t)nIndex] : NULL;
}

void CQXColorSelectorCtrl::SetHot(int nIndex)
{
    const int nLast = (int)m_cells.size() - 1;
    m_nHot = nIndex < 0 ? (nLast >= 0 ? 0 : -1) : (nIndex > nLast ? nLast : nIndex);
    if (m_hWnd)
        Invalidate(FALSE);
}

BOOL CQXColorSelectorCtrl::IsDialogOpen() const { return m_pDialog && m_pDialog->GetSafeHwnd(); }

BOOL CQXColorSelectorCtrl::IsColorKnown(COLORREF clr) const
{
    if (CQXRecentColors::Instance()->Contains(clr))
        return TRUE;
    if (!m_customColors.empty())
        return std::find(m_customColors.begin(), m_customColors.end(), clr) != m_customColors.end();
    const BOOL bExtended = (m_dwStyle & QXCS_EXTENDED) != 0;
    const QxNamedColor* pTable = bExtended ? g_qxExtendedColors : g_qxStandardColors;
    const int nCount = bExtended ? kQxExtendedColorCount : kQxStandardColorCount;
    for (int i = 0; i < nCount; i++)
        if (pTable[i].clr == clr)
            return TRUE;
    return FALSE;
}

int CQXColorSelectorCtrl::HitTest(CPoint pt) const
{
    for (const ColorCell& c : m_cells)
        if (c.rect.PtInRect(pt))
            return c.nIndex;
    return -1;
}

BOOL CQXColorSelectorCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CQXColorSelectorCtrl::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    BufferedDC dc(dcPaint.GetSafeHdc(), rcClient);
    CColorSelectorTheme* pTheme = GetTheme();
    if (!pTheme)
        return;
    pTheme->FillBackground(&dc, rcClient);
    if (!(m_dwStyle & QXCS_EXTENDED)) {
        const int nOldMode = dc.SetBkMode(TRANSPARENT);
        FontSelector font(dc.GetSafeHdc(), GetGlobalUIFonts()->m_fontNormal, pTheme->m_clrText);
        dc.TextOut(6, 31, ToolkitString(QX_IDS_STANDARD_COLORS, "Standard Colors"));
        dc.SetBkMode(nOldMode);
    }
    for (const ColorCell& c : m_cells) {
        const BOOL bHot = (c.nIndex == m_nHot && m_nPressed == -1) || c.nIndex == m_nPressed;
        const BOOL bPressed = c.nIndex == m_nPressed && c.nIndex == m_nHot;
        pTheme->DrawCell(&c, &dc, bHot, bPressed);
    }
}

void CQXColorSelectorCtrl::OnMouseMove(UINT, CPoint point)
{
    if (IsDialogOpen() || point == m_ptLastMouse)
        return;
    m_ptLastMouse = point;
    const int nHot = HitTest(point);
    if (nHot != m_nHot) {
        m_nHot = nHot;
        Invalidate(FALSE);
    }
    if (nHot != -1) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
    }
}

void CQXColorSelectorCtrl::OnMouseLeave()
{
    if (IsDialogOpen())
        return;
    m_nHot = m_nPressed = -1;
    Invalidate(FALSE);
}

void CQXColorSelectorCtrl::OnLButtonDown(UINT, CPoint point)
{
    if (IsDialogOpen())
        return;
    CRect rc;
    GetClientRect(&rc);
    if (rc.PtInRect(point)) {
        m_nHot = HitTest(point);
        m_nPressed = m_nHot;
        Invalidate(FALSE);
    }
}

void CQXColorSelectorCtrl::OnLButtonUp(UINT, CPoint point)
{
    if (IsDialogOpen())
        return;
    m_nHot = HitTest(point);
    const int nChosen = m_nHot == m_nPressed ? m_nHot : -1;
    m_nHot = m_nPressed = -1;
    Invalidate(FALSE);
    if (nChosen != -1)
        Select(nChosen);
}

void CQXColorSelectorCtrl::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (IsDialogOpen())
        return;
    switch (nChar) {
    case VK_RETURN:
    case VK_SPACE:
        Select(m_nHot);
        return;
    case VK_ESCAPE:
        EndSelection(-1, 0);
        return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        m_nHot = QxColorSelectorKey(nChar, m_nHot, (int)m_cells.size(), m_nColumns, (m_dwStyle & QXCS_MORECOLORS) != 0);
        Invalidate(FALSE);
        return;
    }
    Default();
}

UINT CQXColorSelectorCtrl::OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS; }

LRESULT CQXColorSelectorCtrl::OnNcHitTest(CPoint point)
{
    if (m_wndTip.GetSafeHwnd())
        m_wndTip.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return CWnd::OnNcHitTest(point);
}

void CQXColorSelectorCtrl::OnSysColorChange()
{
    if (CColorSelectorTheme* pTheme = GetTheme())
        pTheme->RefreshMetrics();
    Invalidate(FALSE);
}

void CQXColorSelectorCtrl::OnSettingChange(UINT, LPCSTR) { OnSysColorChange(); }

BOOL CQXColorSelectorCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (m_wndTip.GetSafeHwnd() && pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST)
        m_wndTip.RelayEvent(pMsg);
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CQXColorSelectorCtrl::RunColorDialog(COLORREF& clr)
{
    CQXColorDialog dlg(m_clrCurrent, m_clrCurrent, m_dwStyle & QXCS_DIALOGFLAGS,
                       CWnd::FromHandle(::GetParent(m_hWnd)));
    m_pDialog = &dlg;
    const INT_PTR nResult = dlg.DoModal();
    m_pDialog = NULL;
    if (nResult != IDOK)
        return FALSE;
    clr = dlg.GetNewColor();
    return TRUE;
}

void CQXColorSelectorCtrl::SendResult(UINT nMessage, COLORREF clr, LPARAM lParam)
{
    const std::vector<HWND> listeners = m_listeners;
    for (HWND hWnd : listeners)
        if (::IsWindow(hWnd))
            ::SendMessageA(hWnd, nMessage, (WPARAM)clr, lParam);
}

void CQXColorSelectorCtrl::EndSelection(int nIndex, LPARAM lParam)
{
    const int nLast = (int)m_cells.size() - 1;
    if (nIndex >= 0 && nIndex == nLast && (m_dwStyle & QXCS_MORECOLORS)) {
        COLORREF clr = m_clrCurrent;
        if (!RunColorDialog(clr)) {
            SendResult(CPN_SELCANCEL, m_clrCurrent, lParam);
            return;
        }
        CQXRecentColors::Instance()->Add(clr, IsColorKnown(clr), m_nColumns);
        const UINT nMessage = clr == m_clrCurrent ? CPN_SELUNCHANGED : CPN_SELCHANGE;
        m_clrCurrent = clr;
        SendResult(nMessage, clr, lParam);
    } else if (nIndex == 0) {
        if (m_dwStyle & QXCS_NOFILL)
            SendResult(CPN_SELNOFILL, QX_COLOR_NOFILL, lParam);
        else if (m_clrDefault == QX_COLOR_UNSET)
            SendResult(CPN_SELUNCHANGED, m_clrCurrent, lParam); // no automatic colour to hand on
        else
            SendResult(m_clrDefault == m_clrCurrent ? CPN_SELUNCHANGED : CPN_SELCHANGE, m_clrDefault, lParam);
    } else if (nIndex == -1) {
        SendResult(CPN_SELCANCEL, m_clrCurrent, lParam);
    } else if (const ColorCell* pCell = GetCell(nIndex)) {
        const COLORREF clr = pCell->clr;
        SendResult(clr == m_clrCurrent ? CPN_SELUNCHANGED : CPN_SELCHANGE, clr, lParam);
    }
}

// ---------------------------------------------------------------------------
// The popup.

IMPLEMENT_DYNAMIC(CQXColorPopup, CQXColorSelectorCtrl)

BEGIN_MESSAGE_MAP(CQXColorPopup, CQXColorSelectorCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
    ON_WM_KILLFOCUS()
    ON_WM_LBUTTONDOWN()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

CQXColorPopup::CQXColorPopup(BOOL bAutoDelete, LPARAM lOwnerData)
    : m_bAutoDelete(bAutoDelete), m_bShadow(TRUE), m_lOwnerData(lOwnerData), m_hWndNotify(NULL), m_bDropped(FALSE),
      m_bEnded(FALSE)
{
}

BOOL CQXColorPopup::IsFlatLook()
{
    CColorSelectorTheme* pTheme = GetTheme();
    return pTheme && pTheme->m_nTheme != 0;
}

BOOL CQXColorPopup::Create(const CRect& rcAnchor, CWnd* pOwner, DWORD dwStyle, COLORREF clrCurrent,
                           COLORREF clrDefault)
{
    if (IsFlatLook())
        SetMargins(4, 4, 6, 6);
    else
        SetMargins(4, 4, 10, 10);
    m_rcAnchor = rcAnchor;
    m_hWndNotify = pOwner->GetSafeHwnd();
    // A popup that fails is the caller's to free: no deletion on the way.
    const BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    const BOOL bCreated = CQXColorSelectorCtrl::Create(rcAnchor, pOwner, dwStyle | QXCS_POPUP, clrCurrent, clrDefault);
    m_bAutoDelete = bAutoDelete;
    if (!bCreated && m_hWnd)
        DestroyWindow();
    return bCreated;
}

int CQXColorPopup::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CQXColorSelectorCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (IsFlatLook()) {
        ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0, SWP_FRAMECHANGED);
        ModifyStyleEx(WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME, 0, SWP_FRAMECHANGED);
    } else {
        ModifyStyle(0, WS_DLGFRAME, SWP_FRAMECHANGED);
    }

    // Held on the work area of its monitor.
    CRect rc;
    GetWindowRect(&rc);
    const CRect rcWork = GetMultiMonitorHelper()->GetWorkAreaFromRect(&rc);
    CPoint pt = rc.TopLeft();
    if (rc.left < rcWork.left)
        pt.x = rcWork.left;
    else if (rc.right > rcWork.right)
        pt.x = rcWork.right - rc.Width();
    if (rc.bottom > rcWork.bottom)
        pt.y = rcWork.bottom - rc.Height();
    if (pt != rc.TopLeft())
        SetWindowPos(NULL, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    if (IsFlatLook() && m_bShadow && GetGlobalUIFonts()->IsPopupShadowEnabled())
        GetWndShadowManager()->SetShadow(this, m_rcAnchor);
    SetCapture();
    m_bDropped = TRUE;
    if (::IsWindow(m_hWndNotify))
        ::SendMessageA(m_hWndNotify, CPN_DROPDOWN, (WPARAM)m_clrCurrent, m_lOwnerData);
    return 0;
}

void CQXColorPopup::OnDestroy()
{
    CQXColorSelectorCtrl::OnDestroy();
    if (m_bDropped && ::IsWindow(m_hWndNotify))
        ::SendMessageA(m_hWndNotify, CPN_CLOSEUP, (WPARAM)m_clrCurrent, m_lOwnerData);
}

void CQXColorPopup::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

void CQXColorPopup::EndSelection(int nIndex, LPARAM)
{
    if (m_bEnded)
        return;
    m_bEnded = TRUE;
    if (GetCapture() == this)
        ReleaseCapture();
    CQXColorSelectorCtrl::EndSelection(nIndex, m_lOwnerData);
    if (m_hWnd)
        PostMessage(WM_CLOSE);
}

void CQXColorPopup::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CQXColorSelectorCtrl::OnActivate(nState, pWndOther, bMinimized);
    // A popup that has ended closes by itself once its result is out.
    if (nState == WA_INACTIVE && !IsDialogOpen() && !m_bEnded)
        PostMessage(WM_CLOSE);
}

void CQXColorPopup::OnActivateApp(BOOL bActive, DWORD dwThreadID)
{
    CQXColorSelectorCtrl::OnActivateApp(bActive, dwThreadID);
    if (!bActive && !IsDialogOpen())
        EndSelection(-1, 0);
}

void CQXColorPopup::OnKillFocus(CWnd* pNewWnd)
{
    if (pNewWnd != this) {
        CQXColorSelectorCtrl::OnKillFocus(pNewWnd);
        if (GetCapture() == this)
            ReleaseCapture();
    }
}

void CQXColorPopup::OnLButtonDown(UINT nFlags, CPoint point)
{
    CRect rc;
    GetClientRect(&rc);
    if (rc.PtInRect(point) || IsDialogOpen())
        CQXColorSelectorCtrl::OnLButtonDown(nFlags, point);
    else
        EndSelection(-1, 0);
}

BOOL CQXColorPopup::PreTranslateMessage(MSG* pMsg)
{
    if (!m_bEnded && GetCapture() != this && !IsDialogOpen())
        SetCapture();
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        EndSelection(-1, 0);
        return TRUE;
    }
    return CQXColorSelectorCtrl::PreTranslateMessage(pMsg);
}

void CQXColorPopup::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    if (!IsFlatLook()) {
        CQXColorSelectorCtrl::OnNcCalcSize(bCalcValidRects, lpncsp);
        return;
    }
    ::InflateRect(&lpncsp->rgrc[0], -1, -1);
}

void CQXColorPopup::OnNcPaint()
{
    if (!IsFlatLook()) {
        Default();
        return;
    }
    CWindowDC dc(this);
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.left, -rc.top);
    const COLORREF clr = ToolkitColorManager::Instance()->GetColor(qxColorMenuBorder);
    dc.Draw3dRect(rc, clr, clr);
}
