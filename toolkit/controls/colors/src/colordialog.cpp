// colordialog.cpp - the "Colors" dialog: the sheet with its swatch and hex
// field, the standard page with its honeycomb, and the custom page with its
// hue/saturation field, luminance bar and numeric fields.
#include <qx/colordialog.h>

#include <qx/colors.h>
#include <qx/drawing.h>
#include <qx/toolkitres.h>

#include <algorithm>

namespace {

COLORREF ManagerColor(int nIndex) { return ToolkitColorManager::Instance()->GetColor(nIndex); }

// The brush the parent gives a static control, else colour 15.
void FillStaticBackground(CWnd* pWnd, CDC* pDC, const CRect& rc)
{
    HWND hParent = ::GetParent(pWnd->GetSafeHwnd());
    HBRUSH hBrush = hParent ? (HBRUSH)::SendMessageA(hParent, WM_CTLCOLORSTATIC, (WPARAM)pDC->GetSafeHdc(),
                                                     (LPARAM)pWnd->GetSafeHwnd())
                            : NULL;
    if (hBrush)
        ::FillRect(pDC->GetSafeHdc(), &rc, hBrush);
    else
        pDC->FillSolidRect(rc, ManagerColor(COLOR_3DFACE));
}

void AddNotifyStyle(CWnd* pWnd)
{
    if (pWnd->GetSafeHwnd())
        pWnd->ModifyStyle(0, SS_NOTIFY);
}

} // namespace

// ---------------------------------------------------------------------------
// The honeycomb.

BEGIN_MESSAGE_MAP(CColorHexagonCtrl, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CColorHexagonCtrl::CColorHexagonCtrl()
    : m_bTracking(FALSE), m_bMarkerSmall(TRUE), m_ptMarker(0, 0), m_clrSelected(QX_COLOR_NONE), m_pDialog(NULL)
{
}

CColorHexagonCtrl::~CColorHexagonCtrl() {}

void CColorHexagonCtrl::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    AddNotifyStyle(this);
}

void CColorHexagonCtrl::SetSelectedColor(COLORREF clr)
{
    m_clrSelected = clr;
    for (const QxHoneycombCell& c : m_cells) {
        if (c.clr == clr) {
            m_ptMarker = c.Origin();
            m_bMarkerSmall = c.bSmall;
            break;
        }
    }
    if (m_hWnd)
        Invalidate(FALSE);
}

COLORREF CColorHexagonCtrl::HitTest(int x, int y)
{
    const int n = HoneycombHitTest(m_cells, x, y);
    if (n < 0)
        return QX_COLOR_NONE;
    const QxHoneycombCell& c = m_cells[(size_t)n];
    m_ptMarker = c.Origin();
    m_bMarkerSmall = c.bSmall;
    return c.clr;
}

void CColorHexagonCtrl::SelectAt(int x, int y)
{
    const COLORREF clr = HitTest(x, y);
    if (clr == QX_COLOR_NONE || clr == m_clrSelected)
        return;
    m_clrSelected = clr;
    if (HWND hPage = ::GetParent(m_hWnd))
        ::SendMessageA(hPage, QXWM_UPDATECOLOR, (WPARAM)clr, 0);
    Invalidate(FALSE);
    UpdateWindow();
}

int CColorHexagonCtrl::GetKeyCell() const
{
    if (m_clrSelected == RGB(255, 255, 255))
        return m_bMarkerSmall ? kQxHoneycombCentreWhite : kQxHoneycombLargeWhite;
    for (size_t i = 0; i < m_cells.size(); i++)
        if (m_cells[i].clr == m_clrSelected)
            return (int)i;
    for (size_t i = 0; i < m_cells.size(); i++)
        if (m_cells[i].clr == RGB(0, 0, 0))
            return (int)i;
    return -1;
}

BOOL CColorHexagonCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->hwnd == m_hWnd && !m_cells.empty()) {
        switch (pMsg->wParam) {
        case VK_RETURN:
        case VK_SPACE:
            if (m_pDialog)
                m_pDialog->EndDialog(IDOK);
            return TRUE;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
            const int nCell = GetKeyCell();
            if (nCell < 0)
                break;
            const QxHoneycombCell& c = m_cells[(size_t)nCell];
            const int nNext = pMsg->wParam == VK_LEFT    ? c.nLeft
                              : pMsg->wParam == VK_UP    ? c.nUp
                              : pMsg->wParam == VK_RIGHT ? c.nRight
                                                         : c.nDown;
            if (nNext >= 0) {
                const POINT pt = m_cells[(size_t)nNext].Origin();
                SelectAt(pt.x, pt.y);
            }
            break;
        }
        }
    }
    return CStatic::PreTranslateMessage(pMsg);
}

void CColorHexagonCtrl::PaintCells(int cx, int cy)
{
    m_bmpCells.DeleteObject();
    CClientDC dcClient(this);
    if (!m_bmpCells.CreateCompatibleBitmap(&dcClient, cx, cy))
        return;
    CDC dc;
    dc.CreateCompatibleDC(&dcClient);
    CBitmap* pOld = dc.SelectObject(&m_bmpCells);
    FillStaticBackground(this, &dc, CRect(0, 0, cx, cy));
    m_cells = BuildHoneycomb(cx);
    BOOL bMarked = FALSE;
    for (const QxHoneycombCell& c : m_cells) {
        for (const POINT& pt : c.pixels)
            ::SetPixelV(dc.GetSafeHdc(), pt.x, pt.y, c.clr);
        if (!bMarked && c.clr == m_clrSelected) {
            m_ptMarker = c.Origin();
            m_bMarkerSmall = c.bSmall;
            bMarked = TRUE;
        }
    }
    dc.SelectObject(pOld);
}

void CColorHexagonCtrl::DrawMarker(CDC* pDC, CPoint ptOrigin, BOOL bSmall)
{
    // A ring: black just outside the cell, a white band inside its edge.
    const std::vector<POINT> pixels = HoneycombCellPixels(ptOrigin, bSmall);
    const int cx = bSmall ? 14 : 29, cy = bSmall ? 15 : 31, nBand = bSmall ? 2 : 3;
    const int x0 = ptOrigin.x, y0 = ptOrigin.y - (bSmall ? 3 : 7);
    auto inside = [&](int x, int y) {
        return std::any_of(pixels.begin(), pixels.end(), [&](const POINT& p) { return p.x == x && p.y == y; });
    };
    std::vector<char> mask((size_t)(cx + 2 * nBand + 2) * (cy + 2 * nBand + 2), 0);
    const int w = cx + 2 * nBand + 2;
    auto at = [&](int x, int y) -> char& { return mask[(size_t)(y - y0 + nBand + 1) * w + (x - x0 + nBand + 1)]; };
    for (const POINT& p : pixels)
        at(p.x, p.y) = 1;
    (void)inside;
    for (int y = y0 - 1; y <= y0 + cy; y++) {
        for (int x = x0 - 1; x <= x0 + cx; x++) {
            int nNearestOut = 99;
            for (int dy = -nBand; dy <= nBand; dy++)
                for (int dx = -nBand; dx <= nBand; dx++) {
                    const int xx = x + dx, yy = y + dy;
                    const BOOL bIn = xx >= x0 && xx < x0 + cx && yy >= y0 && yy < y0 + cy && at(xx, yy);
                    const int d = std::max(std::abs(dx), std::abs(dy));
                    if (at(x, y) ? !bIn : bIn)
                        nNearestOut = std::min(nNearestOut, d);
                }
            if (!at(x, y) && nNearestOut == 1)
                ::SetPixelV(pDC->GetSafeHdc(), x, y, RGB(0, 0, 0));
            else if (at(x, y) && nNearestOut <= nBand)
                ::SetPixelV(pDC->GetSafeHdc(), x, y, RGB(255, 255, 255));
        }
    }
}

void CColorHexagonCtrl::DrawMarkers(CDC* pDC)
{
    if (!m_pDialog || m_pDialog->GetNewColor() != m_clrSelected || m_cells.empty())
        return;
    if (m_clrSelected == RGB(255, 255, 255)) {
        DrawMarker(pDC, m_cells[kQxHoneycombCentreWhite].Origin(), TRUE);
        DrawMarker(pDC, m_cells[kQxHoneycombLargeWhite].Origin(), FALSE);
    } else if (m_clrSelected == RGB(0, 0, 0)) {
        DrawMarker(pDC, m_ptMarker, FALSE);
    } else if (IsStandardColor(m_clrSelected)) {
        DrawMarker(pDC, m_ptMarker, m_bMarkerSmall);
    }
}

BOOL CColorHexagonCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CColorHexagonCtrl::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rc;
    GetClientRect(&rc);
    if (rc.IsRectEmpty())
        return;
    if (!m_bmpCells.GetSafeHandle())
        PaintCells(rc.Width(), rc.Height());
    BufferedDC dc(dcPaint.GetSafeHdc(), rc);
    if (m_bmpCells.GetSafeHandle())
        dc.DrawState(CPoint(0, 0), rc.Size(), &m_bmpCells, DST_BITMAP);
    DrawMarkers(&dc);
}

void CColorHexagonCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    SelectAt(point.x, point.y);
    m_bTracking = TRUE;
    CStatic::OnLButtonDown(nFlags, point);
}

void CColorHexagonCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bTracking)
        SelectAt(point.x, point.y);
    CStatic::OnMouseMove(nFlags, point);
}

void CColorHexagonCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_bTracking = FALSE;
    CStatic::OnLButtonUp(nFlags, point);
}

void CColorHexagonCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CStatic::OnLButtonDblClk(nFlags, point);
    SetFocus();
    if (HoneycombHitTest(m_cells, point.x, point.y) >= 0) {
        SelectAt(point.x, point.y);
        if (m_pDialog)
            m_pDialog->EndDialog(IDOK);
    }
}

UINT CColorHexagonCtrl::OnGetDlgCode() { return DLGC_WANTARROWS; }

// ---------------------------------------------------------------------------
// The custom page's controls.

int CColorTrackCtrl::s_nFocusOwner = 0;

BEGIN_MESSAGE_MAP(CColorTrackCtrl, CStatic)
    ON_WM_CREATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_ERASEBKGND()
    ON_WM_GETDLGCODE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CColorTrackCtrl::CColorTrackCtrl(int nFocusId)
    : m_nFocusId(nFocusId), m_dHue(0), m_dSaturation(0), m_dLuminance(0), m_ptMarker(0, 0), m_pDialog(NULL)
{
}

BOOL CColorTrackCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && s_nFocusOwner == m_nFocusId && pMsg->hwnd == m_hWnd) {
        switch (pMsg->wParam) {
        case VK_RETURN:
        case VK_SPACE:
            EndDialogOK();
            return TRUE;
        case VK_LEFT:
            return MoveMarker(-1, 0);
        case VK_RIGHT:
            return MoveMarker(1, 0);
        case VK_UP:
            return MoveMarker(0, -1);
        case VK_DOWN:
            return MoveMarker(0, 1);
        }
    }
    return CStatic::PreTranslateMessage(pMsg);
}

void CColorTrackCtrl::OnSetFocus(CWnd* pOldWnd)
{
    CStatic::OnSetFocus(pOldWnd);
    s_nFocusOwner = m_nFocusId;
    Invalidate(FALSE);
}

void CColorTrackCtrl::OnKillFocus(CWnd* pNewWnd)
{
    CStatic::OnKillFocus(pNewWnd);
    s_nFocusOwner = 0;
    Invalidate(FALSE);
}

void CColorTrackCtrl::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    AddNotifyStyle(this);
}

int CColorTrackCtrl::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CStatic::OnCreate(lpCreateStruct) == -1)
        return -1;
    AddNotifyStyle(this);
    return 0;
}

void CColorTrackCtrl::NotifyPage()
{
    if (HWND hPage = ::GetParent(m_hWnd))
        ::SendMessageA(hPage, QXWM_UPDATECOLOR, 0, (LPARAM)m_hWnd);
}

void CColorTrackCtrl::EndDialogOK()
{
    if (m_pDialog)
        m_pDialog->EndDialog(IDOK);
}

void CColorTrackCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    CStatic::OnLButtonDown(nFlags, point);
    SetCapture();
    SetPoint(point.x, point.y);
    SetFocus();
}

void CColorTrackCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (nFlags & MK_LBUTTON) {
        SetPoint(point.x, point.y);
        SetFocus();
    }
}

void CColorTrackCtrl::OnLButtonUp(UINT, CPoint)
{
    if (GetCapture() == this)
        ReleaseCapture();
}

void CColorTrackCtrl::OnLButtonDblClk(UINT, CPoint point)
{
    SetPoint(point.x, point.y);
    EndDialogOK();
}

BOOL CColorTrackCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

UINT CColorTrackCtrl::OnGetDlgCode() { return DLGC_WANTARROWS; }

BEGIN_MESSAGE_MAP(CColorHueSatCtrl, CColorTrackCtrl)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CColorHueSatCtrl::SetHue(double dHue)
{
    CRect rc;
    GetClientRect(&rc);
    m_dHue = dHue;
    m_ptMarker.x = (int)(dHue * rc.Width());
    Invalidate(FALSE);
}

void CColorHueSatCtrl::SetSaturation(double dSaturation)
{
    CRect rc;
    GetClientRect(&rc);
    m_dSaturation = dSaturation;
    m_ptMarker.y = rc.Height() - (int)(dSaturation * rc.Height());
    Invalidate(FALSE);
}

void CColorHueSatCtrl::SetHueSat(double dHue, double dSaturation)
{
    SetHue(dHue);
    SetSaturation(dSaturation);
}

void CColorHueSatCtrl::SetPoint(int x, int y)
{
    CRect rc;
    GetClientRect(&rc);
    x = std::max(0, std::min(x, (int)rc.right));
    y = std::max(0, std::min(y, (int)rc.bottom));
    m_ptMarker = CPoint(x, y);
    // A field of no size has no hue or saturation to give.
    m_dHue = rc.Width() > 0 ? (double)x / rc.Width() : 0;
    m_dSaturation = rc.Height() > 0 ? (double)(rc.Height() - y) / rc.Height() : 0;
    NotifyPage();
    Invalidate(FALSE);
}

void CColorHueSatCtrl::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rc;
    GetClientRect(&rc);
    const int cx = rc.Width(), cy = rc.Height();
    if (cx <= 0 || cy <= 0)
        return;
    if (!m_bmpField.GetSafeHandle()) {
        CClientDC dcClient(this);
        if (m_bmpField.CreateCompatibleBitmap(&dcClient, cx, cy)) {
            CDC dc;
            dc.CreateCompatibleDC(&dcClient);
            CBitmap* pOld = dc.SelectObject(&m_bmpField);
            for (int i = 0; i < cx; i++)
                for (int j = 0; j < cy; j++)
                    ::SetPixelV(dc.GetSafeHdc(), i, cy - 1 - j, HslToRgb((double)i / cx, (double)j / cy, 0.5));
            dc.SelectObject(pOld);
        }
    }
    BufferedDC dc(dcPaint.GetSafeHdc(), rc);
    if (m_bmpField.GetSafeHandle())
        dc.DrawState(CPoint(0, 0), rc.Size(), &m_bmpField, DST_BITMAP);
    PenSelector pen(dc.GetSafeHdc(), ::GetFocus() == m_hWnd ? RGB(255, 255, 255) : RGB(0, 0, 0));
    const int x = m_ptMarker.x, y = m_ptMarker.y;
    for (int d = -1; d <= 1; d++) {
        dc.MoveTo(x - 5, y + d);
        dc.LineTo(x - 10, y + d);
        dc.MoveTo(x + 5, y + d);
        dc.LineTo(x + 10, y + d);
        dc.MoveTo(x + d, y - 5);
        dc.LineTo(x + d, y - 10);
        dc.MoveTo(x + d, y + 5);
        dc.LineTo(x + d, y + 10);
    }
}

BOOL CColorHueSatCtrl::MoveMarker(int dx, int dy)
{
    SetPoint(m_ptMarker.x + dx, m_ptMarker.y + dy);
    return TRUE;
}

BEGIN_MESSAGE_MAP(CColorLumBar, CColorTrackCtrl)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CRect CColorLumBar::GetBarRect() const
{
    CRect rc;
    GetClientRect(&rc);
    rc.DeflateRect(0, 4);
    rc.right = rc.left + 14;
    return rc;
}

void CColorLumBar::SetHueSat(double dHue, double dSaturation)
{
    m_dHue = dHue;
    m_dSaturation = dSaturation;
    Invalidate(FALSE);
}

void CColorLumBar::SetLuminance(double dLuminance)
{
    const CRect rc = GetBarRect();
    m_dLuminance = dLuminance;
    m_ptMarker.y = rc.bottom - (int)(dLuminance * rc.Height());
    Invalidate(FALSE);
}

void CColorLumBar::SetPoint(int, int y)
{
    const CRect rc = GetBarRect();
    y = std::max((int)rc.top, std::min(y, (int)rc.bottom));
    // A bar of no height has no luminance to give.
    m_dLuminance = rc.Height() > 0 ? (double)(rc.Height() - (y - rc.top)) / rc.Height() : 0;
    m_ptMarker = CPoint(0, y);
    NotifyPage();
    Invalidate(FALSE);
}

void CColorLumBar::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty())
        return;
    BufferedDC dc(dcPaint.GetSafeHdc(), rcClient);
    FillStaticBackground(this, &dc, rcClient);
    const CRect rc = GetBarRect();
    const int cy = rc.Height();
    for (int i = 0; i < cy; i++) {
        const COLORREF clr = i == 0 ? RGB(255, 255, 255) : HslToRgb(m_dHue, m_dSaturation, (double)(cy - i) / cy);
        dc.FillSolidRect(rc.left, rc.top + i, rc.Width(), 1, clr);
    }
    // The arrow pointing at the bar.
    const int y = std::max((int)rc.top, std::min((int)m_ptMarker.y, (int)rc.bottom));
    const BOOL bFocus = ::GetFocus() == m_hWnd;
    POINT pts[3] = {{rc.left + 17, y}, {rc.left + 26, y - 4}, {rc.left + 26, y + 4}};
    PenSelector pen(dc.GetSafeHdc(), RGB(0, 0, 0));
    BrushSelector brush(dc.GetSafeHdc(), bFocus ? RGB(0, 0, 0) : ManagerColor(COLOR_3DSHADOW));
    dc.Polygon(pts, 3);
}

BOOL CColorLumBar::MoveMarker(int dx, int dy)
{
    if (dx != 0)
        return FALSE;
    SetPoint(0, m_ptMarker.y + dy);
    return TRUE;
}

// ---------------------------------------------------------------------------
// The standard page.

BEGIN_MESSAGE_MAP(CColorPageStandard, CPropertyPage)
    ON_MESSAGE(QXWM_UPDATECOLOR, OnUpdateColor)
END_MESSAGE_MAP()

CColorPageStandard::CColorPageStandard(CQXColorDialog* pDialog)
    : CPropertyPage(QX_IDD_COLOR_STANDARD), m_pDialog(pDialog)
{
    m_psp.dwFlags &= ~PSP_HASHELP;
    m_wndHexagon.SetDialog(pDialog);
}

void CColorPageStandard::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, QX_CID_COLOR_HONEYCOMB, m_wndHexagon);
}

LRESULT CColorPageStandard::OnUpdateColor(WPARAM wParam, LPARAM)
{
    if (m_pDialog)
        m_pDialog->SetNewColor((COLORREF)wParam, FALSE);
    return 0;
}

// ---------------------------------------------------------------------------
// The custom page.

namespace {
const struct {
    int nSpin, nEdit;
} kSpins[] = {
    {QX_CID_COLOR_HUE_SPIN, QX_CID_COLOR_HUE},
    {QX_CID_COLOR_SAT_SPIN, QX_CID_COLOR_SAT},
    {QX_CID_COLOR_LUM_SPIN, QX_CID_COLOR_LUM},
    {QX_CID_COLOR_RED_SPIN, QX_CID_COLOR_RED},
    {QX_CID_COLOR_GREEN_SPIN, QX_CID_COLOR_GREEN},
    {QX_CID_COLOR_BLUE_SPIN, QX_CID_COLOR_BLUE},
};
} // namespace

BEGIN_MESSAGE_MAP(CColorPageCustom, CPropertyPage)
    ON_MESSAGE(QXWM_UPDATECOLOR, OnUpdateColor)
END_MESSAGE_MAP()

CColorPageCustom::CColorPageCustom(CQXColorDialog* pDialog)
    : CPropertyPage(QX_IDD_COLOR_CUSTOM), m_nRed(0), m_nBlue(0), m_nGreen(0), m_nHue(0), m_nLum(0), m_nSat(0),
      m_pDialog(pDialog), m_bWriting(FALSE)
{
    m_psp.dwFlags &= ~PSP_HASHELP;
    m_wndHueSat.SetDialog(pDialog);
    m_wndLum.SetDialog(pDialog);
}

void CColorPageCustom::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, QX_CID_COLOR_HUESAT, m_wndHueSat);
    DDX_Control(pDX, QX_CID_COLOR_LUMBAR, m_wndLum);
    struct {
        int nID;
        int* pValue;
    } fields[] = {{QX_CID_COLOR_RED, &m_nRed}, {QX_CID_COLOR_BLUE, &m_nBlue}, {QX_CID_COLOR_GREEN, &m_nGreen}, {QX_CID_COLOR_HUE, &m_nHue}, {QX_CID_COLOR_LUM, &m_nLum}, {QX_CID_COLOR_SAT, &m_nSat}};
    for (auto& f : fields) {
        DDX_Text(pDX, f.nID, *f.pValue);
        DDV_MinMaxInt(pDX, *f.pValue, 0, 255);
    }
}

BOOL CColorPageCustom::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    // The up-down controls write their numbers into their edits: no user
    // change either.
    m_bWriting = TRUE;
    for (const auto& s : kSpins) {
        HWND hSpin = ::GetDlgItem(m_hWnd, s.nSpin);
        ::SendMessageA(hSpin, UDM_SETBUDDY, (WPARAM)::GetDlgItem(m_hWnd, s.nEdit), 0);
        ::SendMessageA(hSpin, UDM_SETRANGE, 0, MAKELPARAM(255, 0));
    }
    m_bWriting = FALSE;
    CRect rc;
    m_wndLum.GetWindowRect(&rc);
    ScreenToClient(&rc);
    rc.InflateRect(0, 4);
    m_wndLum.MoveWindow(rc, FALSE);
    return TRUE;
}

COLORREF CColorPageCustom::ColorFromHsl() const { return HslToRgb(m_nHue / 255.0, m_nSat / 255.0, m_nLum / 255.0); }

void CColorPageCustom::WriteEdits()
{
    if (!m_hWnd)
        return;
    const struct {
        int nID;
        int nValue;
    } fields[] = {{QX_CID_COLOR_RED, m_nRed}, {QX_CID_COLOR_BLUE, m_nBlue}, {QX_CID_COLOR_GREEN, m_nGreen}, {QX_CID_COLOR_HUE, m_nHue}, {QX_CID_COLOR_LUM, m_nLum}, {QX_CID_COLOR_SAT, m_nSat}};
    m_bWriting = TRUE;
    for (const auto& f : fields) {
        CString strNew;
        strNew.Format("%d", f.nValue);
        char szOld[16] = "";
        ::GetDlgItemTextA(m_hWnd, f.nID, szOld, sizeof(szOld));
        // An edit that already shows the number keeps its caret.
        if (strNew != szOld)
            ::SetDlgItemTextA(m_hWnd, f.nID, strNew);
    }
    m_bWriting = FALSE;
}

BOOL CColorPageCustom::OnSetActive()
{
    const COLORREF clr = m_pDialog ? m_pDialog->GetNewColor() : RGB(0, 0, 0);
    const QxHsl hsl = RgbToHsl(clr);
    m_nHue = hsl.nHue;
    m_nSat = hsl.nSaturation;
    m_nLum = hsl.nLuminance;
    m_wndHueSat.SetHueSat(m_nHue / 255.0, m_nSat / 255.0);
    m_wndLum.SetHueSat(m_nHue / 255.0, m_nSat / 255.0);
    m_wndLum.SetLuminance(m_nLum / 255.0);
    m_nRed = GetRValue(clr);
    m_nGreen = GetGValue(clr);
    m_nBlue = GetBValue(clr);
    WriteEdits();
    return CPropertyPage::OnSetActive();
}

BOOL CColorPageCustom::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nID = LOWORD(wParam);
    // Loading the edits (UpdateData) is no user change either.
    const BOOL bLoading = AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd;
    if (HIWORD(wParam) == EN_CHANGE && !bLoading &&
        (nID == QX_CID_COLOR_HUE || nID == QX_CID_COLOR_SAT || nID == QX_CID_COLOR_LUM || nID == QX_CID_COLOR_RED ||
         nID == QX_CID_COLOR_GREEN || nID == QX_CID_COLOR_BLUE)) {
        OnEditChange(nID);
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

void CColorPageCustom::OnEditChange(int nID)
{
    // The page's own writes are no user change.
    if (m_bWriting || !m_wndHueSat.GetSafeHwnd())
        return;
    if (!UpdateData(TRUE))
        return; // refused by the range check: nothing changes
    COLORREF clr;
    switch (nID) {
    case QX_CID_COLOR_HUE:
        m_wndHueSat.SetHue(m_nHue / 255.0);
        clr = ColorFromHsl();
        m_wndLum.SetHueSat(m_nHue / 255.0, m_nSat / 255.0);
        break;
    case QX_CID_COLOR_SAT:
        m_wndHueSat.SetSaturation(m_nSat / 255.0);
        clr = ColorFromHsl();
        m_wndLum.SetHueSat(m_nHue / 255.0, m_nSat / 255.0);
        break;
    case QX_CID_COLOR_LUM:
        m_wndLum.SetLuminance(m_nLum / 255.0);
        clr = ColorFromHsl();
        break;
    default:
        OnUpdateColor(RGB(m_nRed, m_nGreen, m_nBlue), 0);
        return;
    }
    UpdateFromColor(clr);
}

LRESULT CColorPageCustom::OnUpdateColor(WPARAM wParam, LPARAM lParam)
{
    COLORREF clr;
    if (lParam != 0 && (HWND)lParam == m_wndHueSat.GetSafeHwnd()) {
        m_nHue = (int)(m_wndHueSat.GetHue() * 255);
        m_nSat = (int)(m_wndHueSat.GetSaturation() * 255);
        clr = ColorFromHsl();
        m_wndLum.SetHueSat(m_nHue / 255.0, m_nSat / 255.0);
    } else if (lParam != 0 && (HWND)lParam == m_wndLum.GetSafeHwnd()) {
        m_nLum = (int)(m_wndLum.GetLuminance() * 255);
        clr = ColorFromHsl();
    } else {
        clr = (COLORREF)wParam;
        const QxHsl hsl = RgbToHsl(clr);
        m_nHue = hsl.nHue;
        m_nSat = hsl.nSaturation;
        m_nLum = hsl.nLuminance;
        m_wndHueSat.SetHueSat(m_nHue / 255.0, m_nSat / 255.0);
        m_wndLum.SetHueSat(m_nHue / 255.0, m_nSat / 255.0);
        m_wndLum.SetLuminance(m_nLum / 255.0);
    }
    UpdateFromColor(clr);
    return 0;
}

void CColorPageCustom::UpdateFromColor(COLORREF clr)
{
    if (m_pDialog && clr != m_pDialog->GetNewColor())
        m_pDialog->SetNewColor(clr, FALSE);
    m_nRed = GetRValue(clr);
    m_nGreen = GetGValue(clr);
    m_nBlue = GetBValue(clr);
    WriteEdits();
}

// ---------------------------------------------------------------------------
// The dialog.

IMPLEMENT_DYNAMIC(CQXColorDialog, CPropertySheet)

BEGIN_MESSAGE_MAP(CQXColorDialog, CPropertySheet)
    ON_WM_CREATE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CQXColorDialog::CQXColorDialog(COLORREF clrNew, COLORREF clrCurrent, DWORD dwStyle, CWnd* pParent)
    : CPropertySheet(ToolkitString(QX_IDS_COLORS, "Colors"), pParent, 0), m_dwStyle(dwStyle), m_rcNew(0, 0, 0, 0),
      m_rcCurrent(0, 0, 0, 0), m_clrNew(clrNew), m_clrCurrent(clrCurrent)
{
    m_psh.dwFlags &= ~PSH_HASHELP;
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    m_pPageStandard = new CColorPageStandard(this);
    m_pPageCustom = new CColorPageCustom(this);
    AddPage(m_pPageStandard);
    AddPage(m_pPageCustom);
}

CQXColorDialog::~CQXColorDialog()
{
    if (m_hWnd)
        DestroyWindow();
    delete m_pPageStandard;
    delete m_pPageCustom;
}

BOOL CQXColorDialog::CreateHexField()
{
    if (m_wndHex.GetSafeHwnd())
        return TRUE;
    return m_wndHex.CreateEx(WS_EX_STATICEDGE, "EDIT", FormatHexColor(m_clrNew), WS_CHILD | WS_VISIBLE | ES_READONLY,
                             CRect(0, 0, 0, 0), this, QX_CID_COLOR_HEX);
}

int CQXColorDialog::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CPropertySheet::OnCreate(lpCreateStruct) == -1)
        return -1;
    if ((m_dwStyle & CDS_SHOWHEX) && !CreateHexField())
        return -1;
    m_pPageStandard->GetHoneycomb().SetSelectedColor(m_clrNew);
    return 0;
}

BOOL CQXColorDialog::OnInitDialog()
{
    CPropertySheet::OnInitDialog();
    if (m_dwStyle & CDS_SHOWHEX)
        CreateHexField();
    m_pPageStandard->GetHoneycomb().SetSelectedColor(m_clrNew);
    Layout();
    SetActivePage(0);
    if (m_wndHex.GetSafeHwnd())
        m_wndHex.SetFont(GetFont());
    return TRUE;
}

void CQXColorDialog::Layout()
{
    CTabCtrl* pTab = GetTabControl();
    CWnd* pOK = GetDlgItem(IDOK);
    CWnd* pCancel = GetDlgItem(IDCANCEL);
    if (!pTab || !pTab->GetSafeHwnd() || !pOK || !pCancel)
        return;
    auto childRect = [this](CWnd* pWnd) {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        ScreenToClient(&rc);
        return rc;
    };
    CRect rcTab = childRect(pTab), rcOK = childRect(pOK), rcCancel = childRect(pCancel), rcItem(0, 0, 0, 0);
    pTab->GetItemRect(0, &rcItem);
    rcCancel.OffsetRect(-15, 0);
    rcTab.right = rcCancel.left - 5;
    rcTab.bottom = rcCancel.top - 15;
    pTab->MoveWindow(rcTab);
    rcOK = CRect(CPoint(rcCancel.left, rcTab.top + rcItem.Height() + 1), rcCancel.Size());
    pOK->MoveWindow(rcOK);
    rcCancel = CRect(CPoint(rcOK.left, rcOK.bottom + 5), rcOK.Size());
    pCancel->MoveWindow(rcCancel);
    if (m_wndHex.GetSafeHwnd())
        m_wndHex.MoveWindow(rcCancel.left, rcCancel.bottom + 5, rcCancel.Width(), 18);
    CRect rcWindow, rcClient;
    GetWindowRect(&rcWindow);
    GetClientRect(&rcClient);
    ClientToScreen(&rcClient);
    const int nBottom = rcClient.top + rcTab.bottom + 10 + (rcWindow.bottom - rcClient.bottom);
    SetWindowPos(NULL, 0, 0, rcWindow.Width() - 15, nBottom - rcWindow.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQXColorDialog::FillSwatch(CDC* pDC, const CRect& rc, COLORREF clr)
{
    // A sentinel colour (none set, no fill) shows an empty box.
    pDC->FillSolidRect(rc, QxIsDrawableColor(clr) ? clr : ManagerColor(COLOR_3DFACE));
}

void CQXColorDialog::SetNewColor(COLORREF clr, BOOL bNotify)
{
    m_clrNew = clr;
    if (m_hWnd && IsWindowVisible()) {
        if (!m_rcNew.IsRectEmpty()) {
            CClientDC dc(this);
            FillSwatch(&dc, m_rcNew, clr);
        }
        if ((m_dwStyle & CDS_SHOWHEX) && m_wndHex.GetSafeHwnd())
            m_wndHex.SetWindowText(FormatHexColor(clr));
    }
    if (bNotify && m_hWnd && GetTabControl() && GetTabControl()->GetSafeHwnd()) {
        for (int i = 0; i < GetPageCount(); i++)
            if (CPropertyPage* pPage = GetPage(i))
                if (pPage->GetSafeHwnd())
                    pPage->SendMessage(QXWM_UPDATECOLOR, (WPARAM)clr, 0);
    }
}

void CQXColorDialog::OnPaint()
{
    CPaintDC dc(this);
    CWnd* pCancel = GetDlgItem(IDCANCEL);
    if (!pCancel)
        return;
    CRect rcCancel, rcClient;
    pCancel->GetWindowRect(&rcCancel);
    ScreenToClient(&rcCancel);
    GetClientRect(&rcClient);
    CRect rcSwatch(rcCancel.left, rcClient.bottom - 98, rcCancel.right, rcClient.bottom - 32);

    const COLORREF clrOldText = dc.SetTextColor(ManagerColor(COLOR_WINDOWTEXT));
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    CFont* pOldFont = dc.SelectObject(GetFont());
    if (m_dwStyle & CDS_3DSWATCH) {
        CRect rcOuter = rcSwatch;
        rcOuter.InflateRect(3, 3);
        dc.Draw3dRect(rcOuter, ManagerColor(COLOR_3DHILIGHT), ManagerColor(COLOR_3DDKSHADOW));
        dc.Draw3dRect(rcSwatch, ManagerColor(COLOR_3DSHADOW), ManagerColor(COLOR_3DHILIGHT));
    } else {
        dc.Draw3dRect(rcSwatch, ManagerColor(COLOR_WINDOWFRAME), ManagerColor(COLOR_WINDOWFRAME));
    }
    CRect rcNewText(rcSwatch.left, rcSwatch.top - 22, rcSwatch.right, rcSwatch.top);
    CRect rcCurrentText(rcSwatch.left, rcSwatch.bottom, rcSwatch.right, rcSwatch.bottom + 22);
    dc.DrawText(ToolkitString(QX_IDS_NEW_COLOR, "New"), rcNewText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.DrawText(ToolkitString(QX_IDS_CURRENT_COLOR, "Current"), rcCurrentText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    CRect rcInner = rcSwatch;
    rcInner.DeflateRect(1, 1);
    m_rcNew = CRect(rcInner.left, rcInner.top, rcInner.right, rcInner.top + rcInner.Height() / 2);
    m_rcCurrent = CRect(rcInner.left, m_rcNew.bottom, rcInner.right, rcInner.bottom);
    FillSwatch(&dc, m_rcNew, m_clrNew);
    FillSwatch(&dc, m_rcCurrent, m_clrCurrent);
    dc.SelectObject(pOldFont);
    dc.SetBkMode(nOldMode);
    dc.SetTextColor(clrOldText);
}
