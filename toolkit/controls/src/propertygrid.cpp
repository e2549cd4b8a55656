// propertygrid.cpp - the property grid window: layout of toolbar, view,
// verbs and help panes, the splitter drags, the verbs, the Tab ring and the
// owner notification.
#include <qx/propertygrid.h>

#include <qx/drawing.h>
#include <qx/toolkitres.h>

#include <commctrl.h>

#include <algorithm>

static COLORREF C(int n) { return ToolkitColorManager::Instance()->GetColor(n); }

static const char kGridClass[] = "QXPPropertyGrid";

// ---------------------------------------------------------------------------
// Verbs

CQXPPropertyGridVerb* CQXPPropertyGridVerbs::Add(LPCSTR lpszCaption, int nID)
{
    CQXPPropertyGridVerb* p = new CQXPPropertyGridVerb();
    p->m_strCaption = lpszCaption ? lpszCaption : "";
    p->m_nID = nID;
    p->m_nIndex = GetCount();
    p->m_pGrid = m_pGrid;
    m_arr.push_back(p);
    if (m_pGrid && m_pGrid->m_hWnd) {
        CRect rc;
        m_pGrid->GetClientRect(&rc);
        m_pGrid->RecalcLayout(rc.Width(), rc.Height());
    }
    return p;
}

void CQXPPropertyGridVerbs::RemoveAll()
{
    for (CQXPPropertyGridVerb* p : m_arr)
        p->InternalRelease();
    m_arr.clear();
    if (m_pGrid && m_pGrid->m_hWnd) {
        m_pGrid->m_nFocusedVerb = -1;
        CRect rc;
        m_pGrid->GetClientRect(&rc);
        m_pGrid->RecalcLayout(rc.Width(), rc.Height());
    }
}

// ---------------------------------------------------------------------------
// Grid

IMPLEMENT_DYNAMIC(CQXPPropertyGrid, CWnd)

CQXPPropertyGrid::CQXPPropertyGrid()
    : m_nHelpHeight(58), m_nVerbsHeight(25), m_bHelpVisible(TRUE), m_bShowExpandTips(TRUE), m_bHelpSplitter(TRUE),
      m_bToolbarVisible(FALSE), m_bTabItems(FALSE), m_bVerbsVisible(FALSE), m_nFocusedVerb(-1), m_pView(NULL),
      m_pImageManager(NULL), m_bVariableItemsHeight(FALSE), m_bPreSubclassWindow(TRUE),
      m_bShowInplaceButtonsAlways(FALSE), m_bVerbActivate(FALSE), m_nBorderStyle(qxpGridBorderSingle),
      m_bHighlightChanged(FALSE), m_nVerbPressed(-1)
{
    RegisterToolkitWndClass(kGridClass, CS_DBLCLKS);
    m_hCursorSplit = ToolkitCursor(QX_IDC_SPLIT_UPDOWN, IDC_SIZENS);
    m_hCursorHand = ::LoadCursor(NULL, IDC_HAND);
    if (!m_hCursorHand)
        m_hCursorHand = ToolkitCursor(QX_IDC_HAND);
    m_pVerbs = new CQXPPropertyGridVerbs(this);
    m_pPaintManager = new CQXPPropertyGridPainter(this);
    m_pInplaceEdit = new CQXPPropertyGridInplaceEdit();
    m_pInplaceList = new CQXPPropertyGridInplaceList();
}

CQXPPropertyGrid::~CQXPPropertyGrid()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    delete m_pView;
    m_pView = NULL;
    m_pVerbs->m_pGrid = NULL;
    m_pVerbs->InternalRelease();
    delete m_pInplaceList;
    delete m_pInplaceEdit;
    delete m_pPaintManager;
}

BOOL CQXPPropertyGrid::PreCreateWindow(CREATESTRUCTA& cs)
{
    m_bPreSubclassWindow = FALSE;
    return CWnd::PreCreateWindow(cs);
}

void CQXPPropertyGrid::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    if (m_bPreSubclassWindow) {
        CreateViewWindow(0);
        CRect rc;
        GetClientRect(&rc);
        RecalcLayout(rc.Width(), rc.Height());
    }
}

BOOL CQXPPropertyGrid::Create(const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwListStyle)
{
    if (!CreateEx(0, kGridClass, "", 0x46030000, rect, pParentWnd, nID))
        return FALSE;
    if (!CreateViewWindow(dwListStyle))
        return FALSE;
    const int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    RecalcLayout(cx, cy);
    SetWindowPos(NULL, rect.left, rect.top, cx, cy, SWP_NOZORDER | SWP_SHOWWINDOW);
    return TRUE;
}

CQXPPropertyGridView* CQXPPropertyGrid::GetView()
{
    if (!m_pView) {
        m_pView = CreateView();
        m_pView->m_pGrid = this;
    }
    return m_pView;
}

CQXPImageManager* CQXPPropertyGrid::GetImageManager() const { return m_pImageManager; }

BOOL CQXPPropertyGrid::CreateViewWindow(DWORD dwListStyle)
{
    if (dwListStyle == 0)
        dwListStyle = m_bVariableItemsHeight ? (LBS_OWNERDRAWVARIABLE | LBS_NOINTEGRALHEIGHT)
                                             : (LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT);
    m_bVariableItemsHeight = (dwListStyle & LBS_OWNERDRAWVARIABLE) != 0;
    CQXPPropertyGridView* pView = GetView();
    if (!pView->CreateEx(0, "LISTBOX", NULL, dwListStyle | 0x56210001, CRect(0, 0, 0, 0), this, 0))
        return FALSE;
    pView->ResetContent();
    m_pPaintManager->RefreshMetrics();
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    return TRUE;
}

void CQXPPropertyGrid::SetSortMode(int nMode)
{
    const BOOL bVariable = nMode != 0 ? TRUE : FALSE;
    if (bVariable == m_bVariableItemsHeight)
        return;
    m_bVariableItemsHeight = bVariable;
    CQXPPropertyGridView* pView = GetView();
    if (!pView->m_hWnd)
        return;
    pView->ResetContent();
    pView->DestroyWindow();
    CreateViewWindow(0);
    pView->SetPropertySort(pView->GetPropertySort(), TRUE);
    CRect rc;
    GetClientRect(&rc);
    RecalcLayout(rc.Width(), rc.Height());
}

static void Relayout(CQXPPropertyGrid* pGrid)
{
    if (!pGrid->m_hWnd)
        return;
    CRect rc;
    pGrid->GetClientRect(&rc);
    pGrid->RecalcLayout(rc.Width(), rc.Height());
    pGrid->Invalidate(FALSE);
}

void CQXPPropertyGrid::ShowHelp(BOOL bShow)
{
    m_bHelpVisible = bShow;
    Relayout(this);
}

void CQXPPropertyGrid::SetHelpHeight(int nHeight)
{
    m_nHelpHeight = std::max(0, nHeight);
    Relayout(this);
}

void CQXPPropertyGrid::SetVerbsHeight(int nHeight)
{
    m_nVerbsHeight = std::max(0, nHeight);
    Relayout(this);
}

void CQXPPropertyGrid::EnableHelpSplitter(BOOL bEnable)
{
    m_bHelpSplitter = bEnable;
    Relayout(this);
}

void CQXPPropertyGrid::ShowToolBar(BOOL bShow)
{
    m_bToolbarVisible = bShow;
    if (bShow && m_hWnd && !m_wndToolbar.m_hWnd)
        CreateToolBar();
    if (m_wndToolbar.m_hWnd)
        m_wndToolbar.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    UpdateToolBarState();
    Relayout(this);
}

void CQXPPropertyGrid::ShowInplaceButtonsAlways(BOOL bShow)
{
    m_bShowInplaceButtonsAlways = bShow;
    if (m_pView && m_pView->m_hWnd)
        m_pView->Invalidate(FALSE);
}

void CQXPPropertyGrid::SetBorderStyle(int nStyle)
{
    m_nBorderStyle = nStyle;
    if (m_pView && m_pView->m_hWnd)
        m_pView->SetWindowPos(NULL, 0, 0, 0, 0,
                              SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
    Relayout(this);
}

void CQXPPropertyGrid::SetLook(int nLook)
{
    m_pPaintManager->m_nLook = nLook;
    RefreshMetrics();
}

int CQXPPropertyGrid::GetLook() const { return m_pPaintManager->m_nLook; }

void CQXPPropertyGrid::SetTransparent(BOOL bTransparent)
{
    m_pPaintManager->m_bTransparent = bTransparent;
    if (m_hWnd)
        Invalidate(FALSE);
}

BOOL CQXPPropertyGrid::IsTransparent() const { return m_pPaintManager->m_bTransparent; }

void CQXPPropertyGrid::HighlightChangedItems(BOOL bHighlight)
{
    m_bHighlightChanged = bHighlight;
    if (m_pView && m_pView->m_hWnd)
        m_pView->Invalidate(FALSE);
}

void CQXPPropertyGrid::ResetContent()
{
    GetView()->GetCategories()->Clear();
}

void CQXPPropertyGrid::RefreshMetrics()
{
    m_pPaintManager->RefreshMetrics();
    if (m_hWnd)
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

LRESULT CQXPPropertyGrid::SendNotifyMessage(WPARAM wParam, LPARAM lParam)
{
    HWND hOwner = m_hWndOwner ? m_hWndOwner : (m_hWnd ? ::GetParent(m_hWnd) : NULL);
    return hOwner ? ::SendMessageA(hOwner, WM_PROPERTYGRID_NOTIFY, wParam, lParam) : 0;
}

void CQXPPropertyGrid::OnSelectionChanged(CQXPPropertyGridItem* pItem)
{
    if (m_hWnd) {
        CRect rc;
        GetClientRect(&rc);
        PropertyGridBands bands = CalcPropertyGridBands(rc, GetPanes());
        InvalidateRect(&bands.rcHelp, FALSE);
    }
    if (pItem)
        SendNotifyMessage(GRIDN_SELECTION_CHANGED, (LPARAM)pItem);
}

void CQXPPropertyGrid::OnSortChanged()
{
    UpdateToolBarState();
    OnSelectionChanged(NULL);
    SendNotifyMessage(GRIDN_SORT_ORDER_CHANGED, m_hWnd ? (LPARAM)GetDlgCtrlID() : 0);
}

void CQXPPropertyGrid::OnVerbClick(int nIndex, CPoint pt)
{
    // A verb index out of range (a stale click, a caller's mistake) is
    // ignored: nothing may throw out of a window procedure.
    CQXPPropertyGridVerb* pVerb = m_pVerbs->GetAt(nIndex);
    if (!pVerb)
        return;
    if (m_hWnd)
        ClientToScreen(&pt);
    pVerb->m_ptClick = pt;
    SendNotifyMessage(GRIDN_VERB_CLICK, (LPARAM)pVerb);
}

PropertyGridPanes CQXPPropertyGrid::GetPanes() const
{
    PropertyGridPanes panes;
    CRect rc(0, 0, 0, 0);
    if (m_hWnd)
        GetClientRect(&rc);
    panes.cx = rc.Width();
    panes.cy = rc.Height();
    panes.bToolBar = m_bToolbarVisible;
    panes.bHelp = m_bHelpVisible;
    panes.bHelpSplitter = m_bHelpSplitter;
    panes.nHelpHeight = m_nHelpHeight;
    panes.nVerbs = m_pVerbs->GetCount();
    panes.nVerbsHeight = m_nVerbsHeight;
    return panes;
}

void CQXPPropertyGrid::RecalcLayout(int cx, int cy)
{
    if (!m_hWnd || !m_pView || !m_pView->m_hWnd || m_pView->m_nLockUpdate > 0)
        return;
    PropertyGridPanes panes = GetPanes();
    panes.cx = cx;
    panes.cy = cy;
    PropertyGridLayout layout = CalcPropertyGridLayout(panes);
    m_nHelpHeight = layout.nHelpHeight;
    m_bVerbsVisible = layout.bVerbsVisible;
    if (m_bToolbarVisible && m_wndToolbar.m_hWnd) {
        m_wndToolbar.MoveWindow(&layout.rcToolBar);
        m_wndToolbar.Invalidate(FALSE);
    }
    m_pView->MoveWindow(&layout.rcView);
    m_pView->Invalidate(FALSE);
    Invalidate(FALSE);
}

int CQXPPropertyGrid::HitTest(CPoint pt)
{
    if (!m_hWnd)
        return qxpGridHitNone;
    CRect rc;
    GetClientRect(&rc);
    PropertyGridPanes panes = GetPanes();
    PropertyGridBands bands = CalcPropertyGridBands(rc, panes);
    return PropertyGridHitTest(rc, panes, pt, [&](POINT p) {
        CClientDC dc(this);
        m_pPaintManager->LayoutVerbs(&dc, CRect(bands.rcVerbs));
        return m_pPaintManager->HitTestVerbs(p);
    });
}

BOOL CQXPPropertyGrid::OnNavigate(int nStep, BOOL bForward, CQXPPropertyGridItem* pItem)
{
    CQXPPropertyGridView* pView = GetView();
    if (!pView->m_hWnd)
        return FALSE;
    if (!pItem)
        pItem = pView->GetSelectedItem();
    auto tryStep = [&](int nTry) -> BOOL {
        switch (nTry) {
        case 0:
            pView->SetFocusedButton(NULL);
            pView->SetFocus();
            return TRUE;
        case 1: {
            CQXPPropertyGridInplaceEdit& edit = GetInplaceEdit();
            if (pItem && (pItem->GetFlags() & ItemHasEdit) && edit.m_pItem == pItem && edit.m_hWnd &&
                edit.IsWindowVisible()) {
                pView->SetFocusedButton(NULL);
                pItem->SelectEditText();
                return TRUE;
            }
            return FALSE;
        }
        case 2: {
            if (!pItem)
                return FALSE;
            std::vector<HWND>& controls = pItem->GetInplaceControls();
            for (size_t i = 0; i < controls.size(); i++) {
                HWND h = controls[bForward ? i : controls.size() - 1 - i];
                if (::IsWindowVisible(h) && (::GetWindowLongPtrA(h, GWL_STYLE) & WS_TABSTOP)) {
                    ::SetFocus(h);
                    return TRUE;
                }
            }
            return FALSE;
        }
        case 3: {
            if (!pItem || !pItem->IsInplaceButtonsVisible())
                return FALSE;
            CQXPPropertyGridButtons* pButtons = pItem->GetInplaceButtons();
            CQXPPropertyGridButton* pFocused = pView->GetFocusedButton();
            int nCurrent = pFocused && pFocused->m_pItem == pItem ? pFocused->m_nIndex : -1;
            int n = bForward ? nCurrent + 1 : (nCurrent < 0 ? pButtons->GetCount() - 1 : nCurrent - 1);
            CQXPPropertyGridButton* pNext = pButtons->GetAt(n);
            if (!pNext)
                return FALSE;
            pView->SetFocusedButton(pNext);
            return TRUE;
        }
        case 4: {
            if (!m_bTabItems || !pItem)
                return FALSE;
            int nRow = pItem->GetIndex() + (bForward ? 1 : -1);
            if (nRow < 0 || nRow >= pView->GetCount())
                return FALSE;
            pView->SetFocusedButton(NULL);
            pView->SetFocus();
            pView->SetCurSel(nRow);
            pView->OnSelectionChanged();
            return TRUE;
        }
        case 5:
            if (m_pVerbs->IsEmpty())
                return FALSE;
            m_nFocusedVerb = bForward ? 0 : m_pVerbs->GetCount() - 1;
            m_bVerbActivate = TRUE;
            SetFocus();
            m_bVerbActivate = FALSE;
            Invalidate(FALSE);
            return TRUE;
        default: {
            HWND hDlg = ::GetParent(m_hWnd);
            while (hDlg && (::GetWindowLongPtrA(hDlg, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) &&
                   (::GetWindowLongPtrA(hDlg, GWL_STYLE) & WS_CHILD) && ::GetParent(hDlg))
                hDlg = ::GetParent(hDlg);
            HWND hNext = hDlg ? ::GetNextDlgTabItem(hDlg, m_hWnd, !bForward) : NULL;
            if (!hNext || hNext == m_hWnd || ::IsChild(m_hWnd, hNext))
                return FALSE;
            pView->SetFocusedButton(NULL);
            ::SetFocus(hNext);
            return TRUE;
        }
        }
    };
    if (bForward) {
        for (int s = nStep + 1; s <= 6; s++)
            if (tryStep(s))
                return TRUE;
        return FALSE;
    }
    for (int s = nStep - 1; s >= 0; s--)
        if (tryStep(s))
            return TRUE;
    return tryStep(6);
}

void CQXPPropertyGrid::UpdateToolBarState()
{
    if (!m_wndToolbar.m_hWnd || !m_pView)
        return;
    const PropertyGridSortOrder sort = m_pView->GetPropertySort();
    m_wndToolbar.SetState(QX_ID_GRID_CATEGORIZED,
                          TBSTATE_ENABLED | (sort == qxpGridSortCategorized ? TBSTATE_CHECKED : 0));
    m_wndToolbar.SetState(QX_ID_GRID_ALPHABETICAL,
                          TBSTATE_ENABLED | (sort == qxpGridSortAlphabetical ? TBSTATE_CHECKED : 0));
}

void CQXPPropertyGrid::CreateToolBar()
{
    if (!m_wndToolbar.Create(WS_CHILD | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE |
                                 CCS_NOPARENTALIGN,
                             CRect(0, 0, 0, QXP_GRID_TOOLBAR), this, 0))
        return;
    m_wndToolbar.SetButtonStructSize(sizeof(TBBUTTON));
    HIMAGELIST hImages = ::ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(QX_IDR_GRID_TOOLBAR), 16, 0,
                                                RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    if (hImages)
        m_wndToolbar.SendMessage(TB_SETIMAGELIST, 0, (LPARAM)hImages);
    TBBUTTON buttons[2] = {};
    const int ids[2] = {QX_ID_GRID_CATEGORIZED, QX_ID_GRID_ALPHABETICAL};
    for (int i = 0; i < 2; i++) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = ids[i];
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = TBSTYLE_CHECK;
    }
    m_wndToolbar.AddButtons(2, buttons);
}

void CQXPPropertyGrid::OnPaintGrid(HDC hdc)
{
    CRect rc;
    GetClientRect(&rc);
    BufferedDC buf(hdc, rc);
    m_pPaintManager->FillPropertyGrid(&buf);
}

void CQXPPropertyGrid::TrackSplitter(int nHit, CPoint point)
{
    SetFocus();
    CRect rc;
    GetClientRect(&rc);
    const int nLimit = nHit == qxpGridHitHelpSplitter
                           ? rc.bottom
                           : rc.bottom - (m_bHelpVisible ? m_nHelpHeight + QXP_GRID_SPLITTER : 0);
    const DWORD dwClip = GetStyle() & (WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    ModifyStyle(dwClip, 0);
    SplitterTracker tracker(m_hWnd);
    tracker.DrawInWindow(m_hWnd, C(COLOR_BTNFACE));
    CRect rcBand(0, ClampSplitterTop(point.y, nLimit), rc.right, 0);
    rcBand.bottom = rcBand.top + QXP_GRID_SPLITTER;
    ClientToScreen(&rcBand);
    CPoint ptMin(0, QXP_GRID_VIEW_MIN_TB), ptMax(0, nLimit - QXP_GRID_VIEW_MIN);
    ClientToScreen(&ptMin);
    ClientToScreen(&ptMax);
    // The drag starts where the button went down (the cursor may have
    // moved on by the time the loop runs).
    CPoint ptStart(point);
    ClientToScreen(&ptStart);
    CRect rcLimits(rcBand.left, ptMin.y, rcBand.right, std::max(ptMin.y, ptMax.y) + QXP_GRID_SPLITTER);
    const BOOL bAccepted = tracker.Track(rcLimits, rcBand, ptStart, FALSE);
    if (::IsWindow(m_hWnd))
        ModifyStyle(0, dwClip);
    if (bAccepted && ::IsWindow(m_hWnd)) {
        ScreenToClient(&rcBand);
        const int nHeight = std::max(0, PaneHeightForSplitterTop(rcBand.top, nLimit));
        if (nHit == qxpGridHitHelpSplitter)
            m_nHelpHeight = nHeight;
        else
            m_nVerbsHeight = nHeight;
        RecalcLayout(rc.Width(), rc.Height());
    }
    if (::IsWindow(m_hWnd))
        Invalidate(FALSE);
}

void CQXPPropertyGrid::OnVerbsKeyDown(UINT nChar)
{
    const int nCount = m_pVerbs->GetCount();
    if (nCount == 0)
        return;
    UINT nKey = nChar;
    AdjustArrowKeyForRTL(m_hWnd, nKey);
    const BOOL bShift = ::GetKeyState(VK_SHIFT) < 0;
    switch (nKey) {
    case VK_TAB:
        if (bShift) {
            if (m_nFocusedVerb <= 0) {
                OnNavigate(5, FALSE, NULL);
                return;
            }
            m_nFocusedVerb--;
        } else {
            if (m_nFocusedVerb >= nCount - 1) {
                OnNavigate(5, TRUE, NULL);
                return;
            }
            m_nFocusedVerb++;
        }
        break;
    case VK_RIGHT:
    case VK_DOWN:
        m_nFocusedVerb = (m_nFocusedVerb + 1) % nCount;
        break;
    case VK_LEFT:
    case VK_UP:
        m_nFocusedVerb = (m_nFocusedVerb - 1 + nCount) % nCount;
        break;
    case VK_RETURN: {
        CPoint pt(0, 0);
        for (const VerbPiece& piece : m_pPaintManager->m_arrVerbPieces)
            if (piece.nVerb == m_nFocusedVerb) {
                pt = CPoint(piece.rc.left, piece.rc.bottom);
                break;
            }
        OnVerbClick(m_nFocusedVerb, pt);
        return;
    }
    default:
        return;
    }
    Invalidate(FALSE);
}

LRESULT CQXPPropertyGrid::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = ::BeginPaint(m_hWnd, &ps);
        OnPaintGrid(hdc);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        OnPaintGrid((HDC)wParam);
        return 0;
    case WM_SETFOCUS:
        if (!m_bVerbActivate && m_pView && m_pView->m_hWnd) {
            HWND hPrevious = (HWND)wParam;
            HWND hDlg = ::GetParent(m_hWnd);
            if (::GetKeyState(VK_SHIFT) < 0 && hPrevious && hDlg &&
                ::GetNextDlgTabItem(hDlg, m_hWnd, FALSE) == hPrevious)
                OnNavigate(6, FALSE, NULL);
            else
                m_pView->SetFocus();
        }
        return 0;
    case WM_KILLFOCUS:
        if (m_nFocusedVerb >= 0) {
            m_nFocusedVerb = -1;
            Invalidate(FALSE);
        }
        break;
    case WM_SIZE: {
        LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        RecalcLayout(LOWORD(lParam), HIWORD(lParam));
        return lResult;
    }
    case WM_SETCURSOR:
        if ((HWND)wParam == m_hWnd && LOWORD(lParam) == HTCLIENT) {
            int nHit = HitTest(CursorPosInClient(m_hWnd));
            if (nHit == qxpGridHitHelpSplitter || nHit == qxpGridHitVerbsSplitter) {
                ::SetCursor(m_hCursorSplit);
                return TRUE;
            }
            if (nHit >= qxpGridHitVerb) {
                ::SetCursor(m_hCursorHand);
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONDOWN: {
        int nHit = HitTest(pt);
        if (nHit == qxpGridHitHelpSplitter || nHit == qxpGridHitVerbsSplitter) {
            TrackSplitter(nHit, pt);
            return 0;
        }
        if (nHit >= qxpGridHitVerb) {
            m_bVerbActivate = TRUE;
            SetFocus();
            m_bVerbActivate = FALSE;
            m_nFocusedVerb = m_nVerbPressed = nHit - qxpGridHitVerb;
            Invalidate(FALSE);
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        int nHit = HitTest(pt);
        if (nHit >= qxpGridHitVerb && nHit - qxpGridHitVerb == m_nVerbPressed)
            OnVerbClick(nHit - qxpGridHitVerb, pt);
        m_nVerbPressed = -1;
        return 0;
    }
    case WM_COMMAND:
        if (m_pView && lParam && (HWND)lParam == m_pView->m_hWnd) {
            if (HIWORD(wParam) == LBN_SELCHANGE)
                m_pView->OnSelectionChanged();
            return 0;
        }
        if (LOWORD(wParam) == QX_ID_GRID_CATEGORIZED || LOWORD(wParam) == QX_ID_GRID_ALPHABETICAL) {
            GetView()->SetPropertySort(LOWORD(wParam) == QX_ID_GRID_CATEGORIZED ? qxpGridSortCategorized
                                                                                : qxpGridSortAlphabetical,
                                       TRUE);
            UpdateToolBarState();
            return 0;
        }
        break;
    case WM_DRAWITEM:
        if (m_pView && ((LPDRAWITEMSTRUCT)lParam)->hwndItem == m_pView->m_hWnd) {
            m_pView->DrawItem((LPDRAWITEMSTRUCT)lParam);
            return TRUE;
        }
        break;
    case WM_MEASUREITEM:
        if (m_pView) {
            m_pView->MeasureItem((LPMEASUREITEMSTRUCT)lParam);
            return TRUE;
        }
        break;
    case WM_CTLCOLORLISTBOX:
        if (m_pView && (HWND)lParam == m_pView->m_hWnd) {
            static CBrush s_brush;
            static COLORREF s_clr = (COLORREF)-1;
            COLORREF clr = m_pPaintManager->GetDefaultMetrics()->m_clrBack;
            if (clr != s_clr || !s_brush.GetSafeHandle()) {
                s_brush.DeleteObject();
                s_brush.CreateSolidBrush(clr);
                s_clr = clr;
            }
            return (LRESULT)s_brush.GetSafeHandle();
        }
        break;
    case WM_SYSCOLORCHANGE:
        RefreshMetrics();
        break;
    case WM_KEYDOWN:
        if (m_nFocusedVerb >= 0 && ::GetFocus() == m_hWnd) {
            OnVerbsKeyDown((UINT)wParam);
            return 0;
        }
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_NOTIFY: {
        NMHDR* pHdr = (NMHDR*)lParam;
        if (pHdr->code == TTN_NEEDTEXTA || pHdr->code == TTN_NEEDTEXTW) {
            CString str = ToolkitString((UINT)pHdr->idFrom, "");
            if (pHdr->code == TTN_NEEDTEXTA) {
                NMTTDISPINFOA* p = (NMTTDISPINFOA*)lParam;
                lstrcpynA(p->szText, str, 80);
            } else {
                NMTTDISPINFOW* p = (NMTTDISPINFOW*)lParam;
                ::MultiByteToWideChar(CP_UTF8, 0, str, -1, p->szText, 80);
                p->szText[79] = 0;
            }
            ::SetWindowPos(pHdr->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE);
            return 0;
        }
        break;
    }
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
