// resizedialog.cpp - the resize engine, the size grip and the resizable
// dialog with its remembered placement.
#include <qx/resizedialog.h>

const CQXResizePoint QXRESIZE_TOP_LEFT(0, 0);
const CQXResizePoint QXRESIZE_TOP_RIGHT(1, 0);
const CQXResizePoint QXRESIZE_BOTTOM_LEFT(0, 1);
const CQXResizePoint QXRESIZE_BOTTOM_RIGHT(1, 1);

static const char kPlacementEntry[] = "WindowPlacement";

// ---------------------------------------------------------------------------
// Size grip.

BEGIN_MESSAGE_MAP(CQXSizeGrip, CScrollBar)
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

BOOL CQXSizeGrip::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT) {
        ::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_SIZENWSE));
        return TRUE;
    }
    return (BOOL)Default();
}

IMPLEMENT_DYNAMIC(CQXResizeGroupBox, CButton)

namespace {

// A group box of the system's button class, not one of ours: it paints only
// its frame and label, so whatever lies inside must be painted by the dialog.
BOOL IsPlainGroupBox(HWND hWnd)
{
    char szClass[16] = {0};
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    DWORD dwStyle = (DWORD)::GetWindowLongPtrA(hWnd, GWL_STYLE);
    if (lstrcmpiA(szClass, "Button") != 0 || (dwStyle & 0x10007) != BS_GROUPBOX)
        return FALSE;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    return !pWnd || !pWnd->IsKindOf(RUNTIME_CLASS(CQXResizeGroupBox));
}

// The transparent style keeps the group box's area in the dialog's own
// painting, which clipping the children would otherwise leave unpainted
// (black behind the controls inside the box).
void LetDialogPaintUnder(HWND hGroupBox)
{
    CWnd::ModifyStyleEx(hGroupBox, 0, WS_EX_TRANSPARENT, SWP_FRAMECHANGED);
}

} // namespace

// ---------------------------------------------------------------------------
// Items.

CQXResizeItem::CQXResizeItem(CWnd* pWnd, const CQXResizeRect& anchors, const CQXResizeRect& rcWindow,
                             BOOL bAttached)
    : m_bRepaint(FALSE), m_bAttached(bAttached), m_bInitialized(FALSE), m_pWnd(pWnd), m_rrcSizing(anchors),
      m_rrcWindow(rcWindow), m_rrcInitWindow(rcWindow)
{
}

CQXResizeItem::~CQXResizeItem()
{
    if (m_bAttached && m_pWnd) {
        m_pWnd->Detach();
        delete m_pWnd;
    }
}

// ---------------------------------------------------------------------------
// Layout.

CQXResizeLayout::CQXResizeLayout(CWnd* pWnd, UINT nFlags)
    : m_nFlags(nFlags), m_pWnd(pWnd), m_szWindow(0, 0), m_szInitWindow(0, 0), m_szMin(0, 0), m_szMax(0, 0)
{
}

CQXResizeLayout::~CQXResizeLayout() { RemoveAllControls(); }

void CQXResizeLayout::RemoveAllControls()
{
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        delete (CQXResizeItem*)m_arrItems[i];
    m_arrItems.RemoveAll();
}

void CQXResizeLayout::Setup()
{
    if (!m_pWnd || !m_pWnd->GetSafeHwnd())
        return;
    RemoveAllControls();

    CRect rc;
    m_pWnd->GetClientRect(&rc);
    m_szWindow = m_szInitWindow = rc.Size();
    if (!(m_nFlags & qxResizeNoMinSize))
        m_szMin = m_szInitWindow;
    if (!(m_nFlags & qxResizeNoClipChildren)) {
        m_pWnd->ModifyStyle(0, WS_CLIPCHILDREN);
        for (HWND h = ::GetWindow(m_pWnd->GetSafeHwnd(), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            if (IsPlainGroupBox(h))
                LetDialogPaintUnder(h);
    }

    if (!(m_nFlags & qxResizeNoSizeIcon)) {
        if (!m_scSizeIcon.GetSafeHwnd()) {
            int cx = ::GetSystemMetrics(SM_CXVSCROLL);
            int cy = ::GetSystemMetrics(SM_CYHSCROLL);
            CRect rcGrip(rc.right - 1 - cx, rc.bottom - 1 - cy, rc.right - 1, rc.bottom - 1);
            m_scSizeIcon.Create(WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, rcGrip, m_pWnd, CQXSizeGrip::kID);
        }
        if (m_scSizeIcon.GetSafeHwnd()) {
            m_scSizeIcon.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            SetResize(CQXSizeGrip::kID, m_scSizeIcon.GetSafeHwnd(), CQXResizeRect(1, 1, 1, 1));
        }
    }
}

CQXResizeItem* CQXResizeLayout::FindItem(UINT nID) const
{
    for (INT_PTR i = m_arrItems.GetSize() - 1; i >= 0; --i) {
        CQXResizeItem* p = (CQXResizeItem*)m_arrItems[i];
        if (p->m_pWnd && ::IsWindow(p->m_pWnd->GetSafeHwnd()) && (UINT)p->m_pWnd->GetDlgCtrlID() == nID)
            return p;
    }
    return NULL;
}

BOOL CQXResizeLayout::SetResize(UINT nID, HWND hWnd, const CQXResizeRect& anchors)
{
    if (!m_pWnd || !m_pWnd->GetSafeHwnd())
        return FALSE;
    if (CQXResizeItem* pItem = FindItem(nID)) {
        pItem->m_rrcSizing.left += anchors.left;
        pItem->m_rrcSizing.top += anchors.top;
        pItem->m_rrcSizing.right += anchors.right;
        pItem->m_rrcSizing.bottom += anchors.bottom;
        return TRUE;
    }
    if (!hWnd)
        hWnd = ::GetDlgItem(m_pWnd->GetSafeHwnd(), (int)nID);
    if (!hWnd || !::IsWindow(hWnd))
        return FALSE;

    BOOL bAttached = FALSE;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd) {
        pWnd = new CWnd;
        pWnd->Attach(hWnd);
        bAttached = TRUE;
    }
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    m_pWnd->ScreenToClient(&rc);
    CQXResizeItem* pItem = new CQXResizeItem(
        pWnd, anchors, CQXResizeRect((float)rc.left, (float)rc.top, (float)rc.right, (float)rc.bottom), bAttached);

    // Plain group boxes are redrawn after moving; their transparent style
    // lets the controls inside show through.
    if (IsPlainGroupBox(hWnd)) {
        LetDialogPaintUnder(hWnd);
        pItem->m_bRepaint = TRUE;
    }
    m_arrItems.Add(pItem);
    return TRUE;
}

void CQXResizeLayout::Size()
{
    if (!m_pWnd || !m_pWnd->GetSafeHwnd() || m_arrItems.GetSize() == 0)
        return;
    CRect rcClient;
    m_pWnd->GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty())
        return;
    CSize sz = rcClient.Size();
    if (sz == m_szWindow)
        return;

    const float dx = (float)(sz.cx - m_szWindow.cx);
    const float dy = (float)(sz.cy - m_szWindow.cy);
    HDWP hdwp = ::BeginDeferWindowPos((int)m_arrItems.GetSize());
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
        CQXResizeItem* p = (CQXResizeItem*)m_arrItems[i];
        HWND hWnd = p->m_pWnd ? p->m_pWnd->GetSafeHwnd() : NULL;
        if (!hWnd || !::IsWindow(hWnd))
            continue;
        float fx = dx, fy = dy;
        if (!p->m_bInitialized) {
            fx = (float)(sz.cx - m_szInitWindow.cx);
            fy = (float)(sz.cy - m_szInitWindow.cy);
            p->m_bInitialized = TRUE;
        }
        CQXResizeRect r(p->m_rrcWindow.left + fx * p->m_rrcSizing.left, p->m_rrcWindow.top + fy * p->m_rrcSizing.top,
                        p->m_rrcWindow.right + fx * p->m_rrcSizing.right,
                        p->m_rrcWindow.bottom + fy * p->m_rrcSizing.bottom);
        if (r == p->m_rrcWindow)
            continue;
        int x = (int)r.left, y = (int)r.top;
        int cx = (int)r.right - x, cy = (int)r.bottom - y;
        CRect rcNow;
        ::GetWindowRect(hWnd, &rcNow);
        m_pWnd->ScreenToClient(&rcNow);
        UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
        if (x == rcNow.left && y == rcNow.top)
            nFlags |= SWP_NOMOVE;
        if (cx == rcNow.Width() && cy == rcNow.Height())
            nFlags |= SWP_NOSIZE;
        else
            nFlags |= SWP_NOCOPYBITS;
        p->m_rrcWindow = r;
        if (hdwp)
            hdwp = ::DeferWindowPos(hdwp, hWnd, NULL, x, y, cx, cy, nFlags);
        else
            ::SetWindowPos(hWnd, NULL, x, y, cx, cy, nFlags);
    }
    if (hdwp)
        ::EndDeferWindowPos(hdwp);
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
        CQXResizeItem* p = (CQXResizeItem*)m_arrItems[i];
        if (p->m_bRepaint && p->m_pWnd && ::IsWindow(p->m_pWnd->GetSafeHwnd()))
            p->m_pWnd->Invalidate(TRUE);
    }
    m_szWindow = sz;
}

void CQXResizeLayout::GetMinMaxInfo(MINMAXINFO* pMMI)
{
    if (!m_pWnd || !m_pWnd->GetSafeHwnd() || !pMMI)
        return;
    CRect rcWindow, rcClient;
    m_pWnd->GetWindowRect(&rcWindow);
    m_pWnd->GetClientRect(&rcClient);
    CSize extra(rcWindow.Width() - rcClient.Width(), rcWindow.Height() - rcClient.Height());
    BOOL bHasLast = m_szWindow.cx > 0 || m_szWindow.cy > 0;
    if ((m_nFlags & qxResizeNoHorizontal) && bHasLast) {
        pMMI->ptMaxSize.x = m_szWindow.cx + extra.cx;
        pMMI->ptMaxTrackSize.x = m_szWindow.cx + extra.cx;
    }
    if ((m_nFlags & qxResizeNoVertical) && bHasLast) {
        pMMI->ptMaxSize.y = m_szWindow.cy + extra.cy;
        pMMI->ptMaxTrackSize.y = m_szWindow.cy + extra.cy;
    }
    if (m_szMin.cx > 0 || m_szMin.cy > 0) {
        pMMI->ptMinTrackSize.x = m_szMin.cx + extra.cx;
        pMMI->ptMinTrackSize.y = m_szMin.cy + extra.cy;
    }
    if (m_szMax.cx > 0 || m_szMax.cy > 0) {
        pMMI->ptMaxTrackSize.x = m_szMax.cx + extra.cx;
        pMMI->ptMaxTrackSize.y = m_szMax.cy + extra.cy;
    }
}

// ---------------------------------------------------------------------------
// The dialog.

IMPLEMENT_DYNCREATE(CQXResizeDialog, CDialog)

BEGIN_MESSAGE_MAP(CQXResizeDialog, CDialog)
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQXResizeDialog::CQXResizeDialog() : m_layout(this, 0), m_nDialogID(0) {}

CQXResizeDialog::CQXResizeDialog(UINT nIDTemplate, CWnd* pParentWnd, UINT nFlags)
    : CDialog(nIDTemplate, pParentWnd), m_layout(this, nFlags), m_nDialogID(nIDTemplate)
{
}

CQXResizeDialog::~CQXResizeDialog() {}

BOOL CQXResizeDialog::OnInitDialog()
{
    if (!(GetStyle() & WS_THICKFRAME))
        m_layout.SetFlag(qxResizeNoSizeIcon);
    CDialog::OnInitDialog();
    m_layout.Setup();
    EnableToolTips();
    return TRUE;
}

void CQXResizeDialog::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    m_layout.Size();
}

void CQXResizeDialog::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    CDialog::OnGetMinMaxInfo(lpMMI);
    m_layout.GetMinMaxInfo(lpMMI);
}

void CQXResizeDialog::OnDestroy()
{
    if (!m_layout.m_strSection.IsEmpty())
        SavePlacement(m_layout.m_strSection);
    CDialog::OnDestroy();
}

void CQXResizeDialog::AutoLoadPlacement(LPCSTR lpszSection)
{
    m_layout.m_strSection = lpszSection ? lpszSection : "";
    if (!m_layout.m_strSection.IsEmpty())
        LoadPlacement(m_layout.m_strSection);
}

BOOL CQXResizeDialog::LoadPlacement(LPCSTR lpszSection)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszSection || !GetSafeHwnd())
        return FALSE;
    BYTE* pData = NULL;
    UINT nBytes = 0;
    BOOL bApplied = FALSE;
    if (pApp->GetProfileBinary(lpszSection, kPlacementEntry, &pData, &nBytes) && pData &&
        nBytes == sizeof(WINDOWPLACEMENT)) {
        WINDOWPLACEMENT wp;
        memcpy(&wp, pData, sizeof(wp));
        wp.length = sizeof(wp);
        bApplied = ::SetWindowPlacement(m_hWnd, &wp);
    }
    delete[] pData;
    return bApplied;
}

BOOL CQXResizeDialog::SavePlacement(LPCSTR lpszSection)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszSection || !GetSafeHwnd())
        return FALSE;
    WINDOWPLACEMENT wp;
    ZeroMemory(&wp, sizeof(wp));
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(m_hWnd, &wp))
        return FALSE;
    return pApp->WriteProfileBinary(lpszSection, kPlacementEntry, (LPBYTE)&wp, sizeof(wp));
}
