// dialogbar.cpp - the dialog bar: a toolbar hosting one child window.
#include <qx/dialogbar.h>

#include <qx/barcontrols.h>
#include <qx/commandbars.h>
#include <qx/paintmanager.h>
#include <qx/popup.h>

#include <algorithm>

namespace {
// The close button's side, and its glyph box in the caption.
const int kCloseSize = 16;
// The border of the window that answers sizing hit codes.
const int kSizingBorder = 3;

BOOL IsVerticalPosition(int nPosition)
{
    return nPosition == qxpBarLeft || nPosition == qxpBarRight || nPosition == qxpBarPopup;
}
} // namespace

QXPDialogBarLayout AFXAPI CalcDialogBarLayout(const QXPDialogBarMetrics& m, CSize szClient, int nLength,
                                              DWORD dwMode)
{
    QXPDialogBarLayout layout = {};
    CSize sz(szClient.cx + m.rcMargins.left + m.rcMargins.right, szClient.cy + m.rcMargins.top + m.rcMargins.bottom);
    if (!m.bShowCaption) {
        layout.szBar = sz;
        return layout;
    }
    int h = m.nTextHeight;
    layout.nCaptionHeight = m.rcMargins.top + h;
    sz.cy += h;
    if (dwMode & qxpLayoutStretch) {
        if (dwMode & qxpLayoutVertDock)
            sz.cy = std::max((int)sz.cy, nLength);
        else
            sz.cx = std::max((int)sz.cx, nLength);
    }
    if (dwMode & qxpLayoutHorz)
        sz.cx = std::min((int)sz.cx, nLength);
    else
        sz.cy = std::min((int)sz.cy, nLength);

    int nTop = m.rcMargins.top + h / 2 - kCloseSize / 2;
    int nRight = sz.cx - m.rcMargins.right;
    if (m.bCloseable) {
        layout.rcClose = CRect(nRight - kCloseSize, nTop, nRight, nTop + kCloseSize);
        nRight -= kCloseSize;
    }
    layout.rcCaption = CRect(m.rcMargins.left, nTop, nRight, nTop + kCloseSize);
    layout.szBar = sz;
    return layout;
}

int AFXAPI DialogBarHitTest(const CRect& rcWindow, CPoint pt, BOOL bFloating, int nPosition, DWORD dwFlags)
{
    CRect rcInner(rcWindow);
    rcInner.DeflateRect(kSizingBorder, kSizingBorder);
    if (rcInner.PtInRect(pt))
        return 0;
    if (bFloating)
        return FloatingEdgeHitTest(rcInner, pt);
    BOOL bFixedAlongDock = (dwFlags & 0x40) != 0;
    if (nPosition == qxpBarBottom) {
        if (pt.y <= rcInner.top)
            return HTTOP;
    } else if (pt.y >= rcInner.bottom && !(bFixedAlongDock && IsVerticalPosition(nPosition))) {
        return HTBOTTOM;
    }
    if (nPosition != qxpBarRight && pt.x >= rcInner.right &&
        !(bFixedAlongDock && (nPosition == qxpBarTop || nPosition == qxpBarBottom)))
        return HTRIGHT;
    if (nPosition == qxpBarRight && pt.x <= rcInner.left)
        return HTLEFT;
    return 0;
}

// ---------------------------------------------------------------------------
// CQXPDialogBar

IMPLEMENT_DYNCREATE(CQXPDialogBar, CQXPToolBar)

// ---------------------------------------------------------------------------
// The caption controls

IMPLEMENT_DYNCREATE(CQXPDialogBarCaption, CQXPControlPopup)
IMPLEMENT_DYNCREATE(CQXPDialogBarClose, CQXPControlButton)

namespace {
CQXPThemePainter* PainterOf(CQXPControl* pControl)
{
    return pControl->GetParent() ? pControl->GetParent()->GetPaintManager() : NULL;
}
} // namespace

void CQXPDialogBarCaption::Draw(CDC* pDC)
{
    CQXPThemePainter* pPainter = PainterOf(this);
    CFont* pOldFont = pPainter ? pDC->SelectObject(pPainter->GetSmCaptionFont()) : NULL;
    COLORREF clrText =
        m_bHasPopup && pPainter ? pPainter->GetControlTextColor(this) : ::GetSysColor(COLOR_BTNTEXT);
    CRect rc = GetRect();
    CRect rcText(rc.left + 2, rc.top, rc.right - (m_bHasPopup ? 15 : 2), rc.bottom);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOld = pDC->SetTextColor(clrText);
    pDC->DrawText(GetCaption(), rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (m_bHasPopup) {
        int nMid = rc.top + rc.Height() / 2;
        POINT pts[3] = {{rc.right - 13, nMid - 2}, {rc.right - 5, nMid - 2}, {rc.right - 9, nMid + 2}};
        CBrush brush(clrText);
        CPen pen(PS_SOLID, 1, clrText);
        CBrush* pOldBrush = pDC->SelectObject(&brush);
        CPen* pOldPen = pDC->SelectObject(&pen);
        ::Polygon(pDC->GetSafeHdc(), pts, 3);
        pDC->SelectObject(pOldPen);
        pDC->SelectObject(pOldBrush);
    }
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);
}

BOOL CQXPDialogBarCaption::OnSetPopup(BOOL bPopup)
{
    if (bPopup && !m_bHasPopup)
        return TRUE;
    return CQXPControlPopup::OnSetPopup(bPopup);
}

void CQXPDialogBarCaption::Copy(CQXPControl* pControl, BOOL bRecursive)
{
    CQXPControlPopup::Copy(pControl, bRecursive);
    if (CQXPDialogBarCaption* pFrom = dynamic_cast<CQXPDialogBarCaption*>(pControl))
        m_bHasPopup = pFrom->m_bHasPopup;
}

void CQXPDialogBarClose::Draw(CDC* pDC)
{
    CQXPThemePainter* pPainter = PainterOf(this);
    if (pPainter != NULL)
        pPainter->DrawControlBackground(pDC, this);
    CFont font;
    // Tenths of a point that keep the glyph's pixel size at the DC's dpi.
    int nPointSize = ::MulDiv(80, 96, std::max(1, pDC->GetDeviceCaps(LOGPIXELSX)));
    font.CreatePointFont(nPointSize, "Marlett", pDC);
    CFont* pOldFont = pDC->SelectObject(&font);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOld = pDC->SetTextColor(pPainter ? pPainter->GetControlTextColor(this) : ::GetSysColor(COLOR_BTNTEXT));
    CRect rc = GetRect();
    pDC->DrawText(CString("r"), rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOldFont);
}

// ---------------------------------------------------------------------------
// CQXPDialogBar

BEGIN_MESSAGE_MAP(CQXPDialogBar, CQXPToolBar)
    ON_WM_NCHITTEST()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CQXPDialogBar::CQXPDialogBar()
    : m_rcMargins(3, 3, 3, 3), m_bResizable(TRUE), m_szMin(QXP_DIALOGBAR_MIN_SIZE, QXP_DIALOGBAR_MIN_SIZE),
      m_bShowCaption(TRUE), m_bCaptionPopup(TRUE), m_nCaptionHeight(0), m_szDockingClient(200, 200),
      m_szFloatingClient(200, 200), m_hWndChild(NULL), m_pCaptionPopup(new CQXPPopupBar), m_bActive(FALSE)
{
}

CQXPDialogBar::~CQXPDialogBar()
{
    if (m_pCaptionPopup != NULL)
        m_pCaptionPopup->InternalRelease();
}

void CQXPDialogBar::SetHostedWindow(HWND hWnd)
{
    m_hWndChild = hWnd;
    if (m_hWnd != NULL && hWnd != NULL) {
        ::SetParent(hWnd, m_hWnd);
        CRect rc;
        GetClientRect(&rc);
        OnSize(SIZE_RESTORED, rc.Width(), rc.Height());
    }
}

void CQXPDialogBar::SetCaption(LPCSTR lpszCaption) { m_strCaption = lpszCaption ? lpszCaption : ""; }

CString CQXPDialogBar::GetCaptionText() const { return m_strCaption.IsEmpty() ? GetTitle() : m_strCaption; }

QXPDialogBarMetrics CQXPDialogBar::GetMetrics()
{
    QXPDialogBarMetrics m;
    m.rcMargins = m_rcMargins;
    m.bShowCaption = m_bShowCaption;
    m.bCloseable = m_bCloseable;
    if (m_bShowCaption) {
        CClientDC dc(m_hWnd && ::IsWindow(m_hWnd) ? this : NULL);
        CQXPThemePainter* pPainter = GetPaintManager();
        CFont* pOld = pPainter ? dc.SelectObject(pPainter->GetSmCaptionFont()) : NULL;
        m.nTextHeight = dc.GetTextExtent(CString("Ag")).cy;
        if (pOld != NULL)
            dc.SelectObject(pOld);
    }
    return m;
}

CSize CQXPDialogBar::CalcDockingLayout(int nLength, DWORD dwMode, int nWidth)
{
    (void)nWidth;
    BOOL bDocked = (dwMode & (qxpLayoutHorzDock | qxpLayoutVertDock)) != 0;
    QXPDialogBarLayout layout =
        CalcDialogBarLayout(GetMetrics(), bDocked ? m_szDockingClient : m_szFloatingClient, bDocked ? nLength : 32000,
                            dwMode);
    m_nCaptionHeight = layout.nCaptionHeight;
    if (dwMode & qxpLayoutCommit)
        PlaceCaptionControls(layout);
    return layout.szBar;
}

void CQXPDialogBar::PlaceCaptionControls(const QXPDialogBarLayout& layout)
{
    CQXPControl* pClose = m_pControls->FindControl(QXP_ID_DIALOGBAR_CLOSE);
    if (m_bCloseable && m_bShowCaption) {
        if (pClose == NULL)
            pClose = m_pControls->AddControl(new CQXPDialogBarClose, QXP_ID_DIALOGBAR_CLOSE);
        if (pClose != NULL) {
            pClose->SetFlags(0x1A);
            pClose->SetHideFlags(pClose->GetHideFlags() & ~(DWORD)qxpHideGeneric);
            pClose->SetRect(layout.rcClose);
        }
    } else if (pClose != NULL) {
        pClose->SetHideFlags(pClose->GetHideFlags() | qxpHideGeneric);
    }
    CQXPControl* pCaption = m_pControls->FindControl(QXP_ID_DIALOGBAR_CAPTION);
    if (!m_bShowCaption) {
        if (pCaption != NULL)
            pCaption->SetHideFlags(pCaption->GetHideFlags() | qxpHideGeneric);
        return;
    }
    if (pCaption == NULL)
        pCaption = m_pControls->AddControl(new CQXPDialogBarCaption, QXP_ID_DIALOGBAR_CAPTION);
    if (CQXPDialogBarCaption* pOwn = dynamic_cast<CQXPDialogBarCaption*>(pCaption)) {
        if (pOwn->GetCommandBar() != m_pCaptionPopup)
            pOwn->SetCommandBar(m_pCaptionPopup);
        pOwn->SetHasPopup(m_bCaptionPopup && m_pCaptionPopup != NULL && m_pCaptionPopup->GetControlCount() > 0);
    }
    if (pCaption != NULL) {
        pCaption->SetFlags(0x1E);
        pCaption->SetCaption(GetCaptionText());
        pCaption->SetHideFlags(pCaption->GetHideFlags() & ~(DWORD)qxpHideGeneric);
        pCaption->SetRect(layout.rcCaption);
    }
}

BOOL CQXPDialogBar::OnSizing(CRect rcProposed, int nHitCode)
{
    int nBordersX = m_rcMargins.left + m_rcMargins.right;
    int nBordersY = m_rcMargins.top + m_rcMargins.bottom + (m_nCaptionHeight ? m_nCaptionHeight - m_rcMargins.top : 0);
    if (!DialogBarSizeAllowed(rcProposed.Size()))
        return FALSE;
    if (IsFloating()) {
        m_szFloatingClient = CSize(rcProposed.Width() - nBordersX, rcProposed.Height() - nBordersY);
        if (m_hWnd != NULL) {
            CalcDockingLayout(32000, qxpLayoutHorz | qxpLayoutCommit);
            MoveWindow(rcProposed);
            Invalidate();
        }
        return TRUE;
    }
    if (nHitCode == HTLEFT || nHitCode == HTRIGHT)
        m_szDockingClient.cx = rcProposed.Width() - nBordersX;
    else
        m_szDockingClient.cy = rcProposed.Height() - nBordersY;
    OnRecalcLayout();
    return TRUE;
}

LRESULT CQXPDialogBar::OnNcHitTest(CPoint point)
{
    if (m_bResizable && m_hWnd != NULL) {
        CRect rcWindow;
        GetWindowRect(&rcWindow);
        int nHit = DialogBarHitTest(rcWindow, point, IsFloating(), GetPosition(), GetFlags());
        if (nHit != 0)
            return nHit;
    }
    return CQXPToolBar::OnNcHitTest(point);
}

void CQXPDialogBar::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_hWndChild == NULL || !::IsWindow(m_hWndChild))
        return;
    int nTop = m_bShowCaption && m_nCaptionHeight > 0 ? m_nCaptionHeight : m_rcMargins.top;
    int nWidth = cx - m_rcMargins.left - m_rcMargins.right;
    int nHeight = cy - nTop - m_rcMargins.bottom;
    ::SetWindowPos(m_hWndChild, NULL, m_rcMargins.left, nTop, std::max(0, nWidth), std::max(0, nHeight),
                   SWP_NOACTIVATE | SWP_NOZORDER);
    ::InvalidateRect(m_hWndChild, NULL, FALSE);
}

void CQXPDialogBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    HWND hFocus = ::GetFocus();
    BOOL bActive = FALSE;
    if (m_hWnd != NULL && hFocus != NULL) {
        bActive = hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus);
        HWND hOwner = ::GetWindow(hFocus, GW_OWNER);
        if (!bActive && hOwner == NULL)
            hOwner = ::GetParent(hFocus);
        if (!bActive && hOwner != NULL)
            bActive = ::IsChild(m_hWnd, hOwner);
    }
    if (bActive != m_bActive) {
        m_bActive = bActive;
        if (m_hWnd != NULL)
            Invalidate(FALSE);
    }
    CQXPToolBar::OnIdleUpdateCmdUI(wParam, lParam);
}

CQXPCommandBar* CQXPDialogBar::Clone(BOOL bRecursive)
{
    CQXPDialogBar* pClone = DYNAMIC_DOWNCAST(CQXPDialogBar, CQXPToolBar::Clone(bRecursive));
    if (pClone != NULL) {
        pClone->m_rcMargins = m_rcMargins;
        pClone->m_bResizable = m_bResizable;
        pClone->m_bShowCaption = m_bShowCaption;
        pClone->m_bCaptionPopup = m_bCaptionPopup;
        pClone->m_szDockingClient = m_szDockingClient;
        pClone->m_szFloatingClient = m_szFloatingClient;
        pClone->m_strCaption = m_strCaption;
    }
    return pClone;
}
