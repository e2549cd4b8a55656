// Document tabs over the MDI client.
#include <qx/mditabs.h>

#include <fx/document.h>
#include <fx/mdi.h>
#include <fx/oledrop.h>
#include <qx/paintmanager.h>
#include <qx/drawing.h>
#include <qx/hooks.h>
#include <qx/images.h>
#include <qx/toolkitres.h>
#include <qx/tooltips.h>
#include <qx/sysutil.h>

#include "dragovertarget.h"

#include <algorithm>
#include <vector>

namespace {

const char kStripClass[] = "QXPTabWorkspace";

UINT SkinUpdateStateMessage()
{
    static const UINT s_nMessage = ::RegisterWindowMessageA("WM_SKINFRAMEWORK_UPDATESTATE");
    return s_nMessage;
}

// The document shown in an MDI child of the framework (NULL for others).
CDocument* ActiveDocumentOf(HWND hWnd)
{
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hWnd));
    return pFrame ? pFrame->GetActiveDocument() : NULL;
}

void RegisterStripClass()
{
    WNDCLASSA wc = {};
    if (::GetClassInfoA(AfxGetInstanceHandle(), kStripClass, &wc))
        return;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = kStripClass;
    AfxRegisterClass(&wc);
}

// Data dragged over a tab brings its document forward; nothing is dropped.
class TabDropTarget : public DragOverTarget {
public:
    explicit TabDropTarget(CQXPTabClientWnd* pClient) : m_pClient(pClient) {}
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject*, DWORD, CPoint point) override
    {
        HWND hWnd = pWnd ? pWnd->GetSafeHwnd() : NULL;
        for (int i = 0; hWnd && i < m_pClient->GetWorkspaceCount(); ++i) {
            CQXPTabWorkspace* w = m_pClient->GetWorkspace(i);
            if (w->GetOwnerObject() != hWnd)
                continue;
            CQXPTabManagerItem* pItem = w->HitTest(point);
            if (pItem && pItem != w->GetSelectedItem())
                w->OnItemClick(pItem);
            if (pItem)
                break;
        }
        return DROPEFFECT_NONE;
    }

private:
    CQXPTabClientWnd* m_pClient;
};

// The strip of the tabs without groups: drawn in a window of its own, which
// it owns.
class WindowedWorkspace : public CQXPTabWorkspace {
public:
    explicit WindowedWorkspace(CQXPTabClientWnd* pClient) : CQXPTabWorkspace(pClient), m_wnd(this) {}
    ~WindowedWorkspace() override
    {
        if (m_wnd.m_hWnd && ::IsWindow(m_wnd.m_hWnd))
            m_wnd.DestroyWindow();
    }
    HWND GetOwnerObject() const override { return m_wnd.m_hWnd; }
    void RedrawControl(LPCRECT lpRect, BOOL /*bAnimate*/) override
    {
        if (m_wnd.m_hWnd && ::IsWindow(m_wnd.m_hWnd) && !(m_pClient && m_pClient->IsRedrawLocked()))
            ::InvalidateRect(m_wnd.m_hWnd, lpRect, FALSE);
    }
    CQXPTabWorkspaceWnd m_wnd;
};

} // namespace

// ---------------------------------------------------------------------------
CQXPTabWorkspace::CQXPTabWorkspace(CQXPTabClientWnd* pClient) : m_pClient(pClient), m_dSize(100.0)
{
    SetRectEmpty(&m_rcGroup);
    SetRectEmpty(&m_rcStrip);
    SetRectEmpty(&m_rcContent);
    SetRectEmpty(&m_rcSplitter);
    if (pClient)
        pClient->GetPaintManager()->AddListener(this);
}

void CQXPTabWorkspace::SetClient(CQXPTabClientWnd* pClient)
{
    if (pClient == m_pClient)
        return;
    if (m_pClient)
        m_pClient->GetPaintManager()->RemoveListener(this);
    m_pClient = pClient;
    if (pClient)
        pClient->GetPaintManager()->AddListener(this);
}

CQXPTabWorkspace::~CQXPTabWorkspace()
{
    if (m_pClient)
        m_pClient->GetPaintManager()->RemoveListener(this);
}

HWND CQXPTabWorkspace::GetOwnerObject() const
{
    return m_pClient ? m_pClient->GetSafeHwnd() : NULL;
}

CQXPTabPainter* CQXPTabWorkspace::GetPaintManager() const
{
    return m_pClient ? m_pClient->GetPaintManager() : NULL;
}

void CQXPTabWorkspace::RedrawControl(LPCRECT lpRect, BOOL /*bAnimate*/)
{
    HWND hOwner = GetOwnerObject();
    if (hOwner && ::IsWindow(hOwner) && !m_pClient->IsRedrawLocked())
        ::InvalidateRect(hOwner, lpRect ? lpRect : &m_rcStrip, FALSE);
}

void CQXPTabWorkspace::OnPropertyChanged()
{
    if (m_pClient)
        m_pClient->OnPropertyChanged();
}

BOOL CQXPTabWorkspace::IsMouseLocked() const
{
    // The command bars' mouse manager answers for its thread: a bar that
    // tracks blocks every other window's hover.
    IToolkitPopupTracking* pTracking = CKeyboardHook::Instance()->GetPopupTracking();
    return pTracking && pTracking->IsMouseLocked();
}

BOOL CQXPTabWorkspace::IsDrawStaticFrame() const
{
    return CQXPTabManager::IsDrawStaticFrame() && !(m_pClient && m_pClient->IsGroupsEnabled());
}

COLORREF CQXPTabWorkspace::GetItemColor(const CQXPTabManagerItem* pItem) const
{
    COLORREF clr = m_pClient ? m_pClient->GetItemColor(pItem) : (COLORREF)-1;
    return clr == (COLORREF)-1 ? QxpResolveTabColor(pItem->m_clrItem) : QxpResolveTabColor(clr);
}

void CQXPTabWorkspace::OnItemClick(CQXPTabManagerItem* pItem)
{
    CQXPTabManager::OnItemClick(pItem);
    if (pItem && pItem->m_hWnd && ::IsWindow(pItem->m_hWnd) && m_pClient && m_pClient->m_hWnd) {
        ::SendMessage(m_pClient->m_hWnd, WM_MDIACTIVATE, (WPARAM)pItem->m_hWnd, 0);
        HWND hFocus = ::GetFocus();
        if (!hFocus || (hFocus != pItem->m_hWnd && !::IsChild(pItem->m_hWnd, hFocus)))
            ::SetFocus(pItem->m_hWnd);
    }
}

void CQXPTabWorkspace::OnNavigateButtonClick(CQXPTabManagerNavigateButton* pButton)
{
    if (!m_pClient)
        return;
    if (pButton->m_nID == CQXPTabManagerNavigateButton::idActiveFiles) {
        m_pClient->ShowActiveFiles(this, pButton);
        return;
    }
    if (pButton->m_nID != CQXPTabManagerNavigateButton::idClose)
        return;
    CQXPTabManagerItem* pItem = pButton->m_pItem ? pButton->m_pItem : GetSelectedItem();
    if (!pItem || !pItem->m_hWnd || !::IsWindow(pItem->m_hWnd))
        return;
    if (m_pClient->m_hWnd)
        ::PostMessage(m_pClient->m_hWnd, WM_IDLEUPDATECMDUI, 0, 0);
    // The tab (and its own close button) may go while the document closes.
    pItem->InternalAddRef();
    ::SendMessage(pItem->m_hWnd, WM_CLOSE, 0, 0);
    pItem->InternalRelease();
}

DWORD_PTR CQXPTabWorkspace::GetItemImage(const CQXPTabManagerItem* pItem) const
{
    return m_pClient ? (DWORD_PTR)m_pClient->GetItemIcon(pItem) : CQXPTabManager::GetItemImage(pItem);
}

CString CQXPTabWorkspace::GetItemTooltip(const CQXPTabManagerItem* pItem) const
{
    return m_pClient ? m_pClient->GetItemTooltip(pItem) : CQXPTabManager::GetItemTooltip(pItem);
}

INT_PTR CQXPTabWorkspace::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    CString strText;
    RECT rc = {0, 0, 0, 0};
    INT_PTR nHit = CQXPTabManager::OnToolHitTest(point, &strText, &rc, NULL);
    if (nHit < 0 || strText.IsEmpty())
        return -1;
    return pTI ? FillToolHitInfo(pTI, GetOwnerObject(), rc, nHit + 1, strText) : nHit + 1;
}

void CQXPTabWorkspace::TrackReorder(HWND hWnd, POINT pt, CQXPTabManagerItem* pItem)
{
    CQXPTabClientWnd* pClient = m_pClient;
    if (!pClient || !pClient->IsGroupsEnabled() || (pClient->GetWorkspaceCount() == 1 && GetItemCount() == 1)) {
        CQXPTabManager::TrackReorder(hWnd, pt, pItem);
        return;
    }
    // The dragged tab is selected and its group active; inside the header
    // the tabs reorder, outside it the tab is on its way to a group.
    SetSelectedItem(pItem);
    pItem->InternalAddRef();
    std::vector<RECT> rects;
    for (CQXPTabManagerItem* p : m_arrItems)
        rects.push_back(p->m_rcItem);
    BOOL bOutside = FALSE, bDrop = FALSE;
    POINT ptLast = pt;
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
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            POINT p = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
            if (msg.hwnd != hWnd)
                ::MapWindowPoints(msg.hwnd, hWnd, &p, 1);
            ptLast = p;
            if (msg.message == WM_LBUTTONUP) {
                bDrop = bOutside;
                break;
            }
            BOOL bInHeader = IsRectEmpty(&m_rcHeaderRect) || ::PtInRect(&m_rcHeaderRect, p);
            if (bOutside && bInHeader) {
                // Back over its own strip: the tab reorders again.
                pClient->EndTabDrag();
                bOutside = FALSE;
            } else if (!bOutside && !bInHeader) {
                bOutside = TRUE;
            }
            if (!bOutside) {
                int nFrom = pItem->GetTabManager() == this ? pItem->GetIndex() : -1;
                for (size_t i = 0; nFrom >= 0 && i < rects.size() && i < m_arrItems.size(); ++i) {
                    if ((int)i == nFrom || !::PtInRect(&rects[i], p))
                        continue;
                    std::swap(m_arrItems[i], m_arrItems[nFrom]);
                    OnItemsChanged();
                    break;
                }
            } else {
                pClient->BeginTabDrag();
                POINT pc = p;
                ::MapWindowPoints(hWnd, pClient->m_hWnd, &pc, 1);
                CQXPTabWorkspace* pTarget = NULL;
                int nKind = pClient->FindDropTarget(pc, pItem, &pTarget);
                ::SetCursor(nKind == 0 ? ToolkitCursor(QX_IDC_TAB_NODROP, IDC_NO)
                                       : ToolkitCursor(QX_IDC_TAB_DRAG, IDC_ARROW));
                pClient->ShowDropOutline(pClient->GetDropOutline(nKind, pTarget));
            }
        } else if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_CANCELMODE ||
                   msg.message == WM_RBUTTONDOWN) {
            break;
        } else {
            ::DispatchMessage(&msg);
        }
        if (pItem->GetTabManager() != this)
            break;
    }
    // Every way out (drop, Esc, a lost capture, WM_QUIT) gives the desktop
    // back before anything moves.
    pClient->EndTabDrag();
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    if (pItem->GetTabManager() == this) {
        if (bDrop) {
            POINT pc = ptLast;
            ::MapWindowPoints(hWnd, pClient->m_hWnd, &pc, 1);
            CQXPTabWorkspace* pTarget = NULL;
            int nKind = pClient->FindDropTarget(pc, pItem, &pTarget);
            if (nKind == 2 && pTarget == this) {
                OnItemClick(pItem); // dropped on its own strip: it stays
            } else if (nKind >= 2 && pTarget) {
                pClient->MoveItem(pItem, pTarget, nKind);
            } else if (nKind == 1) {
                POINT ps = ptLast;
                ::ClientToScreen(hWnd, &ps);
                OnItemClick(pItem);
                pClient->ShowGroupMenu(ps);
            }
        } else {
            OnItemClick(pItem);
        }
    }
    pItem->InternalRelease();
}

BOOL CQXPTabWorkspace::IsFocused() const
{
    const CQXPTabManagerItem* pItem = GetSelectedItem();
    const HWND hFocus = ::GetFocus();
    return IsActive() && pItem && pItem->m_hWnd && hFocus && (hFocus == pItem->m_hWnd || ::IsChild(pItem->m_hWnd, hFocus));
}

CQXPTabManagerItem* CQXPTabWorkspace::FindItem(HWND hWnd) const
{
    for (CQXPTabManagerItem* p : m_arrItems)
        if (p->m_hWnd == hWnd)
            return p;
    return NULL;
}


// A press on the strip: the frame may take it (WM_TABCLIENT_MOUSENOTIFY);
// else a left press selects or drags.
void CQXPTabWorkspace::OnStripMouse(UINT message, POINT pt)
{
    HWND hFrame = m_pClient && m_pClient->m_pFrame ? m_pClient->m_pFrame->GetSafeHwnd() : NULL;
    if (hFrame && ::SendMessage(hFrame, WM_TABCLIENT_MOUSENOTIFY, message, MAKELPARAM(pt.x, pt.y)))
        return;
    // A double click's second press is a press too.
    if (message != WM_LBUTTONDOWN && message != WM_LBUTTONDBLCLK)
        return;
    if (m_pClient) {
        m_pClient->SetClickPending();
        // A press in a group that is not the active one first brings that
        // group's own document forward.
        CQXPTabManagerItem* pSelected = GetSelectedItem();
        if (m_pClient->IsGroupsEnabled() && m_pClient->GetActiveWorkspace() != this && pSelected)
            OnItemClick(pSelected);
    }
    PerformClick(GetOwnerObject(), pt);
}

// ---------------------------------------------------------------------------
BEGIN_MESSAGE_MAP(CQXPTabWorkspaceWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_LBUTTONDOWN, OnStripMouse)
    ON_MESSAGE(WM_LBUTTONDBLCLK, OnStripMouse)
    ON_MESSAGE(WM_RBUTTONDOWN, OnStripMouse)
    ON_MESSAGE(WM_RBUTTONDBLCLK, OnStripMouse)
    ON_MESSAGE(WM_MBUTTONDOWN, OnStripMouse)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

void CQXPTabWorkspaceWnd::OnPaint()
{
    CPaintDC dc(this);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (CQXPTabPainter* p = m_pWorkspace->GetPaintManager())
        p->DrawTabControl(m_pWorkspace, dc.GetSafeHdc(), rc);
}

BOOL CQXPTabWorkspaceWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

INT_PTR CQXPTabWorkspaceWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    return m_pWorkspace->OnToolHitTest(point, pTI);
}

void CQXPTabWorkspaceWnd::RelayToToolTip()
{
    CQXPTabClientWnd* pClient = m_pWorkspace->m_pClient;
    if (pClient && pClient->GetToolTipContext()) {
        const MSG* pMsg = GetCurrentMessage();
        pClient->GetToolTipContext()->FilterMessage(this, pMsg->message, pMsg->wParam, pMsg->lParam);
    }
}

LRESULT CQXPTabWorkspaceWnd::OnStripMouse(WPARAM, LPARAM lParam)
{
    RelayToToolTip();
    m_pWorkspace->OnStripMouse(GetCurrentMessage()->message, CPoint(lParam));
    return 0;
}

void CQXPTabWorkspaceWnd::OnMouseMove(UINT, CPoint point)
{
    RelayToToolTip();
    m_pWorkspace->TrackMouse(m_hWnd, point);
}

void CQXPTabWorkspaceWnd::OnMouseLeave()
{
    POINT pt = {-1, -1};
    m_pWorkspace->TrackMouse(m_hWnd, pt);
}

// ---------------------------------------------------------------------------
CQXPTabClientWnd::CQXPTabClientWnd()
    : m_bFollowTheme(TRUE), m_pFrame(NULL), m_bShowTabs(TRUE), m_pActiveWorkspace(NULL), m_bGroups(FALSE),
      m_bGroupsStacked(TRUE), m_nSplitterWidth(5), m_bTrackerMode(TRUE), m_bUpdating(FALSE), m_bRefreshing(FALSE), m_bLockRedraw(FALSE),
      m_bInLayout(FALSE), m_dwFlags(0), m_nAppliedTheme(0), m_pToolTipContext(new CQXPToolTipContext()),
      m_pDropTarget(new TabDropTarget(this))
{
    m_nNewTabPosition = 0;
    m_bKeepActivationOnClose = TRUE;
    m_bCustomBackground = TRUE;
    m_paintManager.m_bBoldSelected = TRUE;
    m_paintManager.AddListener(this);
    RegisterStripClass();
    // The pictures of the new-group commands, for the menus that offer them.
    LPCSTR lpszName = MAKEINTRESOURCEA(QX_IDB_TAB_GROUPS);
    if (HIMAGELIST hList = ::ImageList_LoadImageA(AfxFindResourceHandle(lpszName, RT_BITMAP), lpszName, 16, 0,
                                                  RGB(0, 255, 0), IMAGE_BITMAP, LR_CREATEDIBSECTION)) {
        static const UINT kGroupCommands[] = {ID_WORKSPACE_NEWHORIZONTAL, ID_WORKSPACE_NEWVERTICAL};
        GetGlobalImageManager()->SetIcons(hList, kGroupCommands, 2, 16, 16);
        ::ImageList_Destroy(hList);
    }
}

CQXPTabClientWnd::~CQXPTabClientWnd()
{
    Detach();
    if (m_pHostedWorkspace)
        m_pHostedWorkspace->OnClientDestroyed();
    m_paintManager.RemoveListener(this);
    m_pToolTipContext->InternalRelease();
    m_pDropTarget->Revoke();
    m_pDropTarget->InternalRelease();
}

CString CQXPTabClientWnd::GetItemTooltip(const CQXPTabManagerItem* pItem) const
{
    if (!pItem)
        return CString();
    if (!pItem->m_strToolTip.IsEmpty())
        return pItem->m_strToolTip;
    if (pItem->m_hWnd && ::IsWindow(pItem->m_hWnd)) {
        LPCSTR psz = (LPCSTR)::SendMessage(pItem->m_hWnd, WM_TABCLIENT_GETTOOLTIP, (WPARAM)pItem, 0);
        if (psz && *psz)
            return psz;
        CDocument* pDocument = ActiveDocumentOf(pItem->m_hWnd);
        if (pDocument && !pDocument->GetPathName().IsEmpty())
            return pDocument->GetPathName();
    }
    return pItem->GetCaption();
}

BOOL CQXPTabClientWnd::Attach(CMDIFrameWnd* pFrame, BOOL bEnableGroups)
{
    if (!pFrame || m_pFrame || m_hWnd || !pFrame->m_hWndMDIClient || !::IsWindow(pFrame->m_hWndMDIClient))
        return FALSE;
    if (!SubclassWindow(pFrame->m_hWndMDIClient))
        return FALSE;
    m_bGroups = bEnableGroups;
    ::SendMessage(m_hWnd, SkinUpdateStateMessage(), 0, 0);
    m_pFrame = pFrame;
    SyncTheme();
    m_paintManager.RefreshMetrics();
    // The client draws its face (and with groups the strips): not over its
    // documents.
    LONG_PTR style = ::GetWindowLongPtr(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtr(m_hWnd, GWL_STYLE, style | WS_CLIPCHILDREN);
    if (m_bGroups) {
        // The documents fill their groups, without frames of their own; a
        // double click on a strip reaches the client as one.
        HWND hMax = NULL;
        BOOL bMax = FALSE;
        hMax = (HWND)::SendMessage(m_hWnd, WM_MDIGETACTIVE, 0, (LPARAM)&bMax);
        if (hMax && bMax)
            ::SendMessage(m_hWnd, WM_MDIRESTORE, (WPARAM)hMax, 0);
        ::SetClassLongPtrA(m_hWnd, GCL_STYLE, ::GetClassLongPtrA(m_hWnd, GCL_STYLE) | CS_DBLCLKS);
        // The frame around the groups takes its room.
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    AddWorkspace(-1);
    UpdateContents();
    RecalcFrame();
    return TRUE;
}

CQXPTabWorkspace* CQXPTabClientWnd::AddWorkspace(int nIndex)
{
    if (m_bHostedByControl) {
        // The hosted strip is the only one; while none is linked, no tabs.
        CQXPTabWorkspace* pHosted = m_pHostedWorkspace;
        if (!pHosted || std::find(m_arrWorkspaces.begin(), m_arrWorkspaces.end(), pHosted) != m_arrWorkspaces.end())
            return NULL;
        pHosted->SetClient(this);
        pHosted->SetActive(FALSE);
        ApplyFlags(pHosted);
        m_arrWorkspaces.push_back(pHosted);
        return pHosted;
    }
    CQXPTabWorkspace* pWorkspace = CreateWorkspace();
    if (!pWorkspace)
        return NULL;
    pWorkspace->m_nScrollStep = 20;
    // "Active Files" goes before the close button (hidden until the flags
    // ask for it).
    auto& buttons = pWorkspace->m_arrNavigateButtons;
    buttons.insert(buttons.begin() + std::min<size_t>(2, buttons.size()),
                   new CQXPTabManagerNavigateButton(pWorkspace, CQXPTabManagerNavigateButton::idActiveFiles, 0));
    pWorkspace->SetActive(FALSE);
    ApplyFlags(pWorkspace);
    if (nIndex < 0 || nIndex > (int)m_arrWorkspaces.size())
        nIndex = (int)m_arrWorkspaces.size();
    m_arrWorkspaces.insert(m_arrWorkspaces.begin() + nIndex, pWorkspace);
    RegisterDropTarget();
    return pWorkspace;
}

CQXPTabWorkspace* CQXPTabClientWnd::CreateWorkspace()
{
    if (m_bHostedByControl)
        return NULL;
    if (m_bGroups)
        return new CQXPTabWorkspace(this);
    WindowedWorkspace* pWorkspace = new WindowedWorkspace(this);
    CWnd& wnd = pWorkspace->m_wnd;
    RECT rc = {0, 0, 0, 0};
    wnd.CreateEx(0, kStripClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rc, m_pFrame, 0);
    if ((m_pFrame->GetExStyle() & WS_EX_LAYOUTRTL) || m_bRightToLeft)
        ::SetWindowLongPtr(wnd.m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtr(wnd.m_hWnd, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
    return pWorkspace;
}

void CQXPTabClientWnd::RegisterDropTarget()
{
    m_pDropTarget->Revoke();
    CWnd* pTarget = NULL;
    if (m_bGroups)
        pTarget = this;
    else if (!m_arrWorkspaces.empty() && m_arrWorkspaces[0] != m_pHostedWorkspace)
        pTarget = &static_cast<WindowedWorkspace*>(m_arrWorkspaces[0])->m_wnd;
    if (pTarget && pTarget->GetSafeHwnd())
        m_pDropTarget->Register(pTarget);
}

void CQXPTabClientWnd::RemoveWorkspace(CQXPTabWorkspace* pWorkspace)
{
    auto it = std::find(m_arrWorkspaces.begin(), m_arrWorkspaces.end(), pWorkspace);
    if (it == m_arrWorkspaces.end())
        return;
    size_t i = (size_t)(it - m_arrWorkspaces.begin());
    m_arrWorkspaces.erase(it);
    // Its room and its splitter go to the group before it (the new first
    // one for the first).
    if (!m_arrWorkspaces.empty()) {
        CQXPTabWorkspace* pHeir = m_arrWorkspaces[i > 0 ? i - 1 : 0];
        pHeir->m_dSize += pWorkspace->m_dSize + m_nSplitterWidth;
    }
    if (m_pActiveWorkspace == pWorkspace)
        m_pActiveWorkspace = NULL;
    if (pWorkspace != m_pHostedWorkspace)
        delete pWorkspace;
}

void CQXPTabClientWnd::SetHostedWorkspace(CQXPTabWorkspace* pWorkspace)
{
    m_bHostedByControl = TRUE;
    if (pWorkspace == m_pHostedWorkspace && (!pWorkspace || !m_arrWorkspaces.empty()))
        return;
    // The strips so far go; the documents get their tabs again in the new
    // strip at the next update.
    m_pToolTipContext->CancelToolTips();
    for (CQXPTabWorkspace* p : m_arrWorkspaces) {
        if (p == m_pHostedWorkspace) {
            p->DeleteAllItems();
            p->SetClient(NULL);
        } else {
            delete p;
        }
    }
    m_arrWorkspaces.clear();
    m_pActiveWorkspace = NULL;
    m_pHostedWorkspace = pWorkspace;
    if (!m_hWnd)
        return;
    AddWorkspace(-1);
    UpdateContents();
    RecalcFrame();
}

BOOL CQXPTabClientWnd::Detach()
{
    if (!m_hWnd)
        return FALSE;
    m_pToolTipContext->CancelToolTips();
    m_pDropTarget->Revoke();
    for (CQXPTabWorkspace* p : m_arrWorkspaces) {
        if (p == m_pHostedWorkspace) {
            // Its host keeps it: it is only emptied and unlinked.
            p->DeleteAllItems();
            p->SetClient(NULL);
            p->RepositionOwner();
        } else {
            delete p;
        }
    }
    m_arrWorkspaces.clear();
    m_pActiveWorkspace = NULL;
    m_bClickPending = FALSE;
    m_bUpdatesSuspended = FALSE;
    HWND hClient = UnsubclassWindow();
    CMDIFrameWnd* pFrame = m_pFrame;
    m_pFrame = NULL;
    const BOOL bGroups = m_bGroups;
    m_bGroups = FALSE;
    if (bGroups && hClient && ::IsWindow(hClient)) {
        // The frame around the groups goes.
        ::SetWindowPos(hClient, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        ::InvalidateRect(hClient, NULL, TRUE);
    }
    if (pFrame && ::IsWindow(pFrame->GetSafeHwnd()))
        pFrame->RecalcLayout();
    if (hClient && ::IsWindow(hClient))
        ::SendMessage(hClient, SkinUpdateStateMessage(), 0, 0);
    return TRUE;
}

void CQXPTabClientWnd::RecalcFrame()
{
    if (m_pFrame && ::IsWindow(m_pFrame->GetSafeHwnd()))
        m_pFrame->RecalcLayout();
    // The client may keep its size while its groups changed.
    if (m_bGroups)
        LayoutGroups();
}

void CQXPTabClientWnd::Refresh(BOOL bRecalcLayout)
{
    if (m_bRefreshing)
        return;
    m_bRefreshing = TRUE;
    UpdateContents();
    for (CQXPTabWorkspace* p : m_arrWorkspaces) {
        if (p == m_pHostedWorkspace) {
            p->RepositionOwner();
            continue;
        }
        HWND hOwner = p->GetOwnerObject();
        if (!hOwner)
            continue;
        POINT pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(hOwner, &pt);
        p->TrackMouse(hOwner, pt);
        ::InvalidateRect(hOwner, NULL, FALSE);
    }
    if (bRecalcLayout && m_bGroups && m_hWnd)
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (bRecalcLayout)
        RecalcFrame();
    m_bRefreshing = FALSE;
}

void CQXPTabClientWnd::ShowWorkspace(BOOL bShow)
{
    m_bShowTabs = bShow;
    for (CQXPTabWorkspace* p : m_arrWorkspaces)
        if (p != m_pHostedWorkspace && p->GetOwnerObject() && p->GetOwnerObject() != m_hWnd)
            ::ShowWindow(p->GetOwnerObject(), bShow ? SW_SHOWNA : SW_HIDE);
    RecalcFrame();
    if (m_bGroups)
        ::InvalidateRect(m_hWnd, NULL, FALSE);
}

CQXPTabManagerItem* CQXPTabClientWnd::FindItem(HWND hWnd) const
{
    for (CQXPTabWorkspace* p : m_arrWorkspaces)
        if (CQXPTabManagerItem* pItem = p->FindItem(hWnd))
            return pItem;
    return NULL;
}

CQXPTabManagerItem* CQXPTabClientWnd::HitTest(POINT ptClient) const
{
    if (!m_bShowTabs || !m_hWnd)
        return NULL;
    for (CQXPTabWorkspace* p : m_arrWorkspaces) {
        HWND hOwner = p->GetOwnerObject();
        if (!hOwner)
            continue;
        POINT pt = ptClient;
        ::MapWindowPoints(m_hWnd, hOwner, &pt, 1);
        if (CQXPTabManagerItem* pItem = p->CQXPTabManager::HitTest(pt))
            return pItem;
    }
    return NULL;
}

CQXPTabWorkspace* CQXPTabClientWnd::FindWorkspace(const CQXPTabManagerItem* pItem) const
{
    for (CQXPTabWorkspace* p : m_arrWorkspaces)
        if (pItem && pItem->GetTabManager() == static_cast<CQXPTabManager*>(p))
            return p;
    return NULL;
}

CQXPThemePainter* CQXPTabClientWnd::GetCommandBarsPaintManager() const
{
    CQXPThemePainter* pPaint = m_pFrame ? QxGetFramePaintManager(m_pFrame->GetSafeHwnd()) : NULL;
    return pPaint ? pPaint : GetGlobalPaintManager();
}

void CQXPTabClientWnd::SyncTheme()
{
    if (!m_bFollowTheme)
        return;
    CQXPThemePainter* pPaint = GetCommandBarsPaintManager();
    int nTheme = pPaint ? pPaint->GetCurrentTheme() : 0;
    if (nTheme == m_nAppliedTheme)
        return;
    m_nAppliedTheme = nTheme;
    CQXPTabPainter& p = m_paintManager;
    BOOL bLock = m_bLockRedraw;
    m_bLockRedraw = TRUE;
    p.m_bHotTracking = FALSE;
    p.m_bStaticFrame = FALSE;
    p.m_bSelectOnButtonDown = FALSE;
    SetRectEmpty(&p.m_rcButtonMargin);
    switch (nTheme) {
    case 1:
        p.SetAppearance(5);
        p.m_bStaticFrame = TRUE;
        p.m_bSelectOnButtonDown = TRUE;
        break;
    case 2:
        p.SetAppearance(3);
        p.m_bHotTracking = TRUE;
        break;
    case 3:
        p.SetAppearance(0);
        p.SetColor(8);
        p.m_bHotTracking = TRUE;
        break;
    case 4:
        p.SetAppearance(3);
        p.SetColor(16);
        p.m_bStaticFrame = TRUE;
        p.m_bSelectOnButtonDown = TRUE;
        break;
    case 5:
        p.SetAppearance(3);
        p.SetColor(32);
        p.m_bHotTracking = TRUE;
        break;
    case 6:
        p.SetAppearance(10);
        p.m_bHotTracking = TRUE;
        SetRect(&p.m_rcButtonMargin, 3, 2, 3, 1);
        break;
    default:
        p.SetAppearance(0);
        break;
    }
    m_bLockRedraw = bLock;
    if (m_hWnd)
        Refresh(TRUE);
}

void CQXPTabClientWnd::SetFlags(DWORD dwFlags)
{
    m_dwFlags = dwFlags;
    for (CQXPTabWorkspace* p : m_arrWorkspaces)
        ApplyFlags(p);
    if (!m_arrWorkspaces.empty())
        Refresh(TRUE);
}

void CQXPTabClientWnd::ApplyFlags(CQXPTabWorkspace* pWorkspace)
{
    if (!pWorkspace)
        return;
    int nScroll = (m_dwFlags & 1) ? ((m_dwFlags & 8) ? 0 : 1) : 2;
    for (CQXPTabManagerNavigateButton* b : pWorkspace->m_arrNavigateButtons) {
        if (b->m_nID == CQXPTabManagerNavigateButton::idLeft || b->m_nID == CQXPTabManagerNavigateButton::idRight)
            b->m_nMode = nScroll;
        else if (b->m_nID == CQXPTabManagerNavigateButton::idClose)
            b->m_nMode = (m_dwFlags & 2) ? 0 : 1;
        else if (b->m_nID == CQXPTabManagerNavigateButton::idActiveFiles)
            b->m_nMode = (m_dwFlags & 4) ? 2 : 0;
    }
    pWorkspace->SetItemCloseMode((m_dwFlags & 0x20) ? 1 : (m_dwFlags & 0x10) ? 2
                                                                             : 0);
}

HICON CQXPTabClientWnd::GetItemIcon(const CQXPTabManagerItem* pItem) const
{
    HWND hWnd = pItem ? pItem->m_hWnd : NULL;
    if (!hWnd || !::IsWindow(hWnd))
        return NULL;
    HICON hIcon = (HICON)::SendMessage(hWnd, WM_TABCLIENT_GETICON, 0, 0);
    if (!hIcon)
        hIcon = (HICON)::SendMessage(hWnd, WM_GETICON, ICON_SMALL, 0);
    if (!hIcon)
        hIcon = (HICON)::SendMessage(hWnd, WM_GETICON, ICON_BIG, 0);
    if (!hIcon)
        hIcon = (HICON)::GetClassLongPtrA(hWnd, GCLP_HICONSM);
    if (!hIcon)
        hIcon = (HICON)::GetClassLongPtrA(hWnd, GCLP_HICON);
    if (!hIcon)
        hIcon = ::LoadIcon(NULL, IDI_WINLOGO);
    return hIcon;
}

void CQXPTabClientWnd::ShowActiveFiles(CQXPTabWorkspace* pWorkspace, CQXPTabManagerNavigateButton* pButton)
{
    HWND hOwner = pWorkspace ? pWorkspace->GetOwnerObject() : NULL;
    if (!hOwner)
        return;
    RECT rcButton = pButton ? pButton->m_rc : RECT{0, 0, 0, 0};
    ::MapWindowPoints(hOwner, HWND_DESKTOP, (LPPOINT)&rcButton, 2);
    POINT pt = {rcButton.left, rcButton.bottom};
    int nIndex = -1;
    if (m_pActiveFilesPopup) {
        std::vector<CQXPActiveFilesPopup::Item> items;
        for (int i = 0; i < pWorkspace->GetItemCount(); ++i) {
            CQXPTabManagerItem* pItem = pWorkspace->GetItem(i);
            items.push_back({pItem->GetCaption(), GetItemIcon(pItem)});
        }
        nIndex = m_pActiveFilesPopup->Track(m_pFrame ? (CWnd*)m_pFrame : (CWnd*)this, items, pt, rcButton);
    } else {
        HMENU hMenu = ::CreatePopupMenu();
        if (!hMenu)
            return;
        for (int i = 0; i < pWorkspace->GetItemCount(); ++i) {
            // Captions show their ampersands as typed.
            CString strCaption = pWorkspace->GetItem(i)->GetCaption();
            strCaption.Replace("&", "&&");
            ::AppendMenuA(hMenu, MF_STRING, (UINT_PTR)(i + 1), strCaption);
        }
        nIndex = TrackActiveFilesMenu(hMenu, pt, rcButton);
        ::DestroyMenu(hMenu);
    }
    CQXPTabManagerItem* pItem = pWorkspace->GetItem(nIndex);
    if (pItem && pItem != pWorkspace->GetSelectedItem() && pItem->m_hWnd && ::IsWindow(pItem->m_hWnd))
        ::SendMessage(m_hWnd, WM_MDIACTIVATE, (WPARAM)pItem->m_hWnd, 0);
}

int CQXPTabClientWnd::TrackActiveFilesMenu(HMENU hMenu, POINT ptScreen, const RECT& rcExclude)
{
    TPMPARAMS tpm = {sizeof(tpm), rcExclude};
    HWND hOwner = m_pFrame ? m_pFrame->GetSafeHwnd() : m_hWnd;
    UINT nCmd = (UINT)::TrackPopupMenuEx(hMenu, TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, ptScreen.x,
                                         ptScreen.y, hOwner, &tpm);
    return (int)nCmd - 1;
}

CString CQXPTabClientWnd::GetItemText(HWND hWnd) const
{
    LPCSTR psz = (LPCSTR)::SendMessage(hWnd, WM_TABCLIENT_GETCAPTION, 0, 0);
    if (psz && *psz)
        return psz;
    CDocument* pDocument = ActiveDocumentOf(hWnd);
    if (pDocument && !pDocument->GetTitle().IsEmpty())
        return pDocument->GetTitle();
    char sz[512] = "";
    ::GetWindowTextA(hWnd, sz, sizeof(sz));
    return sz;
}

COLORREF CQXPTabClientWnd::GetItemColor(const CQXPTabManagerItem* pItem) const
{
    if (!pItem->m_hWnd || !::IsWindow(pItem->m_hWnd))
        return (COLORREF)-1;
    LRESULT lr = ::SendMessage(pItem->m_hWnd, WM_TABCLIENT_GETCOLOR, 0, 0);
    return lr ? (COLORREF)lr : (COLORREF)-1;
}

void CQXPTabClientWnd::SetActiveWorkspace(CQXPTabWorkspace* pWorkspace)
{
    if (pWorkspace == m_pActiveWorkspace)
        return;
    if (m_pActiveWorkspace)
        m_pActiveWorkspace->SetActive(FALSE);
    m_pActiveWorkspace = pWorkspace;
    if (pWorkspace)
        pWorkspace->SetActive(TRUE);
}

void CQXPTabClientWnd::SetClickPending()
{
    m_bClickPending = TRUE;
    m_bUpdatesSuspended = TRUE;
}

// Documents in groups have no frame of their own.
void CQXPTabClientWnd::StripChildFrame(HWND hChild)
{
    LONG_PTR style = ::GetWindowLongPtr(hChild, GWL_STYLE);
    ::SetWindowLongPtr(hChild, GWL_STYLE, style & ~(WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    LONG_PTR ex = ::GetWindowLongPtr(hChild, GWL_EXSTYLE);
    ::SetWindowLongPtr(hChild, GWL_EXSTYLE, ex & ~WS_EX_CLIENTEDGE);
}

void CQXPTabClientWnd::UpdateContents()
{
    if (!m_hWnd || m_arrWorkspaces.empty() || !m_pFrame || m_bUpdating || !m_bShowTabs || m_bUpdatesSuspended)
        return;
    m_bUpdating = TRUE;
    SyncTheme();
    m_bLockRedraw = TRUE;
    BOOL bChanged = FALSE;
    HWND hActive = (HWND)::SendMessage(m_hWnd, WM_MDIGETACTIVE, 0, 0);
    for (CQXPTabWorkspace* w : m_arrWorkspaces)
        for (CQXPTabManagerItem* p : w->m_arrItems)
            p->m_bFound = FALSE;
    CQXPTabManagerItem* pActive = NULL;
    CQXPTabManagerItem* pAdded = NULL;
    BOOL bActiveAdded = FALSE; // the active document's tab is new
    for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (!(::GetWindowLongPtr(h, GWL_EXSTYLE) & WS_EX_MDICHILD))
            continue;
        CQXPTabManagerItem* pItem = FindItem(h);
        BOOL bVisible = (::GetWindowLongPtr(h, GWL_STYLE) & WS_VISIBLE) != 0;
        if (!bVisible)
            continue; // an item left unmarked is removed below
        if (!pItem) {
            // New documents join the active group, else the last one.
            CQXPTabWorkspace* pTarget = m_pActiveWorkspace ? m_pActiveWorkspace : m_arrWorkspaces.back();
            int nAt = -1;
            if (m_nNewTabPosition == 1)
                nAt = 0;
            else if (m_nNewTabPosition == 2 && pTarget->GetSelectedItem())
                nAt = pTarget->GetCurSel() + 1;
            pItem = pTarget->AddItem(nAt);
            pItem->m_hWnd = h;
            // A document shown without being activated still comes to the
            // front of its group.
            pTarget->SetSelectedItem(pItem);
            pAdded = pItem;
            bChanged = TRUE;
            if (m_bGroups)
                StripChildFrame(h);
            ::SendMessage(m_pFrame->GetSafeHwnd(), WM_TABCLIENT_ITEMCREATED, (WPARAM)pItem, 0);
        }
        // A new title (a changed document, Save As) is measured again.
        CString strCaption = GetItemText(h);
        if (pItem->m_strCaption != strCaption) {
            pItem->m_strCaption = strCaption;
            bChanged = TRUE;
        }
        pItem->m_bFound = TRUE;
        if (h == hActive) {
            pActive = pItem;
            bActiveAdded = pItem == pAdded;
        }
    }
    for (int g = (int)m_arrWorkspaces.size() - 1; g >= 0; --g) {
        CQXPTabWorkspace* w = m_arrWorkspaces[g];
        for (int i = w->GetItemCount() - 1; i >= 0; --i)
            if (!w->GetItem(i)->m_bFound) {
                w->DeleteItem(i);
                bChanged = TRUE;
            }
        if (w->GetItemCount() == 0 && m_arrWorkspaces.size() > 1) {
            RemoveWorkspace(w);
            bChanged = TRUE;
        }
    }
    if (pActive) {
        CQXPTabWorkspace* w = FindWorkspace(pActive);
        if (w && w->GetSelectedItem() != pActive)
            w->SetSelectedItem(pActive);
        SetActiveWorkspace(w);
    }
    m_bLockRedraw = FALSE;
    m_bUpdating = FALSE;
    BOOL bReveal = FALSE;
    for (CQXPTabWorkspace* w : m_arrWorkspaces)
        bReveal = bReveal || w->m_bRevealSelected;
    if (bChanged) {
        RecalcFrame();
        if (m_pHostedWorkspace)
            m_pHostedWorkspace->RepositionOwner();
        // A new tab is scrolled into view, even when its document stays
        // behind the active one; of several new tabs (the documents found
        // when the tabs were attached) the active document's.
        CQXPTabManagerItem* pReveal = bActiveAdded ? pActive : pAdded;
        if (CQXPTabWorkspace* w = pReveal ? FindWorkspace(pReveal) : NULL)
            w->EnsureVisible(pReveal);
    } else if (bReveal)
        OnPropertyChanged(); // a newly active document's tab scrolls into view
    else
        for (CQXPTabWorkspace* w : m_arrWorkspaces)
            if (w != m_pHostedWorkspace && !m_bGroups) {
                w->RedrawControl(NULL, FALSE);
            } else if (w->IsFocused() != w->m_bFocusShown) {
                // A group's selected tab looks focused while its document holds the focus.
                w->m_bFocusShown = !w->m_bFocusShown;
                w->RedrawControl(NULL, FALSE);
            }
}

void CQXPTabClientWnd::OnPropertyChanged()
{
    if (m_bLockRedraw || m_bInLayout)
        return;
    m_bInLayout = TRUE;
    for (CQXPTabWorkspace* w : m_arrWorkspaces) {
        if (w == m_pHostedWorkspace) {
            w->RepositionOwner();
            continue;
        }
        HWND hOwner = w->GetOwnerObject();
        if (!hOwner)
            continue;
        if (m_bGroups) {
            // The strip anew in its group; the documents move only when the
            // strip's band changed.
            const RECT rcContent = w->m_rcClient;
            w->CQXPTabManager::Reposition(NULL, w->m_rcGroup);
            if (!::EqualRect(&rcContent, &w->m_rcClient)) {
                m_bInLayout = FALSE;
                LayoutGroups();
                return;
            }
            ::InvalidateRect(hOwner, &w->m_rcStrip, FALSE);
            continue;
        }
        RECT rc;
        ::GetClientRect(hOwner, &rc);
        w->CQXPTabManager::Reposition(NULL, rc);
        ::InvalidateRect(hOwner, NULL, FALSE);
    }
    m_bInLayout = FALSE;
}

namespace {

// The band of the tabs in a strip laid out in rcArea: what its content
// leaves on the tab side.
RECT StripBand(const RECT& rcArea, const RECT& rcContent, int nPosition)
{
    RECT rcBand = rcArea;
    switch (nPosition) {
    case tabPositionTop: rcBand.bottom = rcContent.top; break;
    case tabPositionBottom: rcBand.top = rcContent.bottom; break;
    case tabPositionLeft: rcBand.right = rcContent.left; break;
    default: rcBand.left = rcContent.right; break;
    }
    return rcBand;
}

// Lays the strip window out over the whole of rcArea (frame client
// coordinates), just below hClient in Z order so that the document area
// shows over the strip's client rectangle; the window draws the header and
// the client frame around it. Returns the content rectangle (frame
// coordinates); the workspace's strip rectangle is its header band.
RECT PlaceStrip(CQXPTabWorkspace* w, const RECT& rcArea, int nPosition, HWND hClient)
{
    const HWND hStrip = w->GetOwnerObject();
    // Items in the strip window's own coordinates.
    RECT rcLocal = {0, 0, rcArea.right - rcArea.left, rcArea.bottom - rcArea.top};
    w->CQXPTabManager::Reposition(NULL, rcLocal);
    RECT rcContent = w->m_rcClient;
    w->m_rcStrip = StripBand(rcLocal, rcContent, nPosition);
    ::SetWindowPos(hStrip, hClient ? hClient : HWND_BOTTOM, rcArea.left, rcArea.top, rcLocal.right, rcLocal.bottom,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::InvalidateRect(hStrip, NULL, FALSE);
    ::OffsetRect(&rcContent, rcArea.left, rcArea.top);
    if (rcContent.right < rcContent.left)
        rcContent.right = rcContent.left;
    if (rcContent.bottom < rcContent.top)
        rcContent.bottom = rcContent.top;
    return rcContent;
}

} // namespace

void CQXPTabClientWnd::LayoutGroups()
{
    if (!m_bGroups || !m_hWnd || m_arrWorkspaces.empty() || m_bInLayout)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    m_bInLayout = TRUE;
    LayoutGroups(rc);
    m_bInLayout = FALSE;
}

void CQXPTabClientWnd::LayoutGroups(const RECT& rc)
{
    // The usable length shared by the groups' shares, splitters between
    // (client coordinates: the client draws the strips).
    int n = (int)m_arrWorkspaces.size();
    BOOL bStacked = m_bGroupsStacked;
    int axis = bStacked ? rc.bottom - rc.top : rc.right - rc.left;
    int usable = std::max(0, axis - (n - 1) * m_nSplitterWidth);
    double total = 0;
    for (CQXPTabWorkspace* w : m_arrWorkspaces)
        total += std::max(0.0, w->m_dSize);
    if (total <= 0)
        total = 1;
    double cum = 0;
    int start = bStacked ? rc.top : rc.left;
    for (int j = 0; j < n; ++j) {
        CQXPTabWorkspace* w = m_arrWorkspaces[j];
        cum += std::max(0.0, w->m_dSize);
        int end = (bStacked ? rc.top : rc.left) + (int)(usable * cum / total) + j * m_nSplitterWidth;
        if (j == n - 1)
            end = bStacked ? rc.bottom : rc.right;
        RECT g = rc;
        if (bStacked) {
            g.top = start;
            g.bottom = end;
        } else {
            g.left = start;
            g.right = end;
        }
        w->m_rcGroup = g;
        w->CQXPTabManager::Reposition(NULL, g);
        RECT rcContent = w->m_rcClient;
        if (rcContent.right < rcContent.left)
            rcContent.right = rcContent.left;
        if (rcContent.bottom < rcContent.top)
            rcContent.bottom = rcContent.top;
        w->m_rcStrip = StripBand(g, rcContent, m_paintManager.GetPosition());
        // The group's documents fill its content.
        w->m_rcContent = rcContent;
        for (CQXPTabManagerItem* p : w->m_arrItems)
            if (p->m_hWnd && ::IsWindow(p->m_hWnd))
                ::MoveWindow(p->m_hWnd, rcContent.left, rcContent.top, rcContent.right - rcContent.left,
                             rcContent.bottom - rcContent.top, TRUE);
        // Each group shows its selected document.
        if (CQXPTabManagerItem* pSel = w->GetSelectedItem())
            if (pSel->m_hWnd && ::IsWindow(pSel->m_hWnd))
                ::SetWindowPos(pSel->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        // The bar after the group.
        SetRectEmpty(&w->m_rcSplitter);
        if (j < n - 1) {
            RECT bar = rc;
            if (bStacked) {
                bar.top = end;
                bar.bottom = end + m_nSplitterWidth;
            } else {
                bar.left = end;
                bar.right = end + m_nSplitterWidth;
            }
            w->m_rcSplitter = bar;
        }
        start = end + m_nSplitterWidth;
    }
    ::InvalidateRect(m_hWnd, NULL, FALSE);
}

CQXPTabWorkspace* CQXPTabClientWnd::HitTestWorkspace(POINT pt) const
{
    for (CQXPTabWorkspace* w : m_arrWorkspaces) {
        HWND hOwner = w->GetOwnerObject();
        if (!hOwner)
            continue;
        POINT p = pt;
        ::MapWindowPoints(m_hWnd, hOwner, &p, 1);
        if (::PtInRect(&w->m_rcStrip, p))
            return w;
    }
    return NULL;
}

int CQXPTabClientWnd::FindDropTarget(POINT pt, const CQXPTabManagerItem* pDragged, CQXPTabWorkspace** ppTarget) const
{
    *ppTarget = NULL;
    RECT rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    if (!::PtInRect(&rcClient, pt))
        return 0;
    const int kEdgeZone = 30;
    int n = (int)m_arrWorkspaces.size();
    for (CQXPTabWorkspace* w : m_arrWorkspaces) {
        // Its own group, when the tab is alone there, is no target.
        if (w == FindWorkspace(pDragged) && w->GetItemCount() == 1)
            continue;
        RECT rcStrip = w->m_rcStrip;
        if (HWND hOwner = w->GetOwnerObject())
            ::MapWindowPoints(hOwner, m_hWnd, (LPPOINT)&rcStrip, 2);
        if (::PtInRect(&rcStrip, pt)) {
            *ppTarget = w;
            return 2;
        }
        const RECT& c = w->m_rcContent;
        if (pt.x < c.left || pt.x >= c.right || pt.y < c.top || pt.y >= c.bottom)
            continue;
        if ((n == 1 || m_bGroupsStacked) && pt.y >= c.bottom - kEdgeZone) {
            *ppTarget = w;
            return 3;
        }
        if ((n == 1 || !m_bGroupsStacked) && pt.x >= c.right - kEdgeZone) {
            *ppTarget = w;
            return 4;
        }
    }
    return 1;
}

RECT CQXPTabClientWnd::GetDropOutline(int nKind, const CQXPTabWorkspace* pTarget) const
{
    RECT rc = {0, 0, 0, 0};
    if (!pTarget || nKind < 2 || nKind > 4)
        return rc;
    RECT rcStrip = pTarget->m_rcStrip;
    ::MapWindowPoints(pTarget->GetOwnerObject(), HWND_DESKTOP, (LPPOINT)&rcStrip, 2);
    if (nKind == 2)
        return rcStrip;
    // The whole group: its strip and its documents.
    RECT rcContent = pTarget->m_rcContent;
    ::MapWindowPoints(m_hWnd, HWND_DESKTOP, (LPPOINT)&rcContent, 2);
    ::UnionRect(&rc, &rcStrip, &rcContent);
    if (nKind == 3)
        rc.top = (rc.top + rc.bottom) / 2;
    else
        rc.left = (rc.left + rc.right) / 2;
    return rc;
}

void CQXPTabClientWnd::BeginTabDrag()
{
    m_dragDesktop.Take();
}

// The outline's frame: SM_CXFRAME by SM_CYFRAME pixels inside the rectangle.
static HRGN DropOutlineRegion(const RECT& rc)
{
    HRGN hRgn = ::CreateRectRgnIndirect(&rc);
    if (::IsRectEmpty(&rc))
        return hRgn;
    RECT rcInner = rc;
    ::InflateRect(&rcInner, -::GetSystemMetrics(SM_CXFRAME), -::GetSystemMetrics(SM_CYFRAME));
    if (!::IsRectEmpty(&rcInner)) {
        HRGN hInner = ::CreateRectRgnIndirect(&rcInner);
        ::CombineRgn(hRgn, hRgn, hInner, RGN_DIFF);
        ::DeleteObject(hInner);
    }
    return hRgn;
}

void CQXPTabClientWnd::ShowDropOutline(const RECT& rcScreen)
{
    if (::EqualRect(&rcScreen, &m_rcDropOutline) || (::IsRectEmpty(&rcScreen) && ::IsRectEmpty(&m_rcDropOutline)))
        return;
    // The old frame off and the new one on in one inversion.
    HRGN hOld = DropOutlineRegion(m_rcDropOutline);
    HRGN hNew = DropOutlineRegion(rcScreen);
    ::CombineRgn(hNew, hNew, hOld, RGN_XOR);
    m_dragDesktop.Invert(hNew);
    ::DeleteObject(hOld);
    ::DeleteObject(hNew);
    m_rcDropOutline = rcScreen;
}

void CQXPTabClientWnd::EndTabDrag()
{
    ShowDropOutline(RECT{0, 0, 0, 0});
    SetRectEmpty(&m_rcDropOutline);
    m_dragDesktop.Release();
}

void CQXPTabClientWnd::ShowGroupMenu(POINT ptScreen)
{
    if (m_pGroupPopup) {
        const UINT nCmd = m_pGroupPopup->Track(m_pFrame ? (CWnd*)m_pFrame : (CWnd*)this, ptScreen);
        if (nCmd >= ID_WORKSPACE_MOVEPREVIOUS && nCmd <= ID_WORKSPACE_NEWVERTICAL)
            OnWorkspaceCommand(nCmd);
        return;
    }
    // The commands' captions are the toolkit's strings of their ids.
    static const struct {
        UINT id;
        LPCSTR text; // when the module lacks the string
    } kItems[] = {{ID_WORKSPACE_NEWHORIZONTAL, "New Hori&zontal Tab Group"},
                  {ID_WORKSPACE_NEWVERTICAL, "New &Vertical Tab Group"},
                  {ID_WORKSPACE_MOVEPREVIOUS, "Move to P&revious Tab Group"},
                  {ID_WORKSPACE_MOVENEXT, "Move to Ne&xt Tab Group"},
                  {QX_ID_WORKSPACE_CANCEL, "C&ancel"}};
    HMENU hMenu = ::CreatePopupMenu();
    if (!hMenu)
        return;
    for (const auto& item : kItems) {
        if (item.id == QX_ID_WORKSPACE_CANCEL)
            ::AppendMenuA(hMenu, MF_SEPARATOR, 0, NULL);
        else if (!IsWorkspaceCommandEnabled(item.id))
            continue;
        ::AppendMenuA(hMenu, MF_STRING, item.id, ToolkitString(item.id, item.text));
    }
    HWND hOwner = m_pFrame ? m_pFrame->GetSafeHwnd() : m_hWnd;
    UINT nCmd = (UINT)::TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON, ptScreen.x,
                                       ptScreen.y, 0, hOwner, NULL);
    ::DestroyMenu(hMenu);
    if (nCmd >= ID_WORKSPACE_MOVEPREVIOUS && nCmd <= ID_WORKSPACE_NEWVERTICAL)
        OnWorkspaceCommand(nCmd);
}

int CQXPTabClientWnd::HitTestSplitter(POINT pt) const
{
    if (!m_bGroups)
        return -1;
    for (size_t i = 0; i + 1 < m_arrWorkspaces.size(); ++i)
        if (::PtInRect(&m_arrWorkspaces[i]->m_rcSplitter, pt))
            return (int)i;
    return -1;
}

void CQXPTabClientWnd::TrackSplitter(int nGroup, POINT pt)
{
    if (nGroup < 0 || nGroup + 1 >= (int)m_arrWorkspaces.size())
        return;
    CQXPTabWorkspace* a = m_arrWorkspaces[nGroup];
    CQXPTabWorkspace* b = m_arrWorkspaces[nGroup + 1];
    BOOL bStacked = m_bGroupsStacked;
    // The groups' current lengths become their shares.
    for (CQXPTabWorkspace* w : m_arrWorkspaces)
        w->m_dSize = (double)(bStacked ? w->m_rcGroup.bottom - w->m_rcGroup.top : w->m_rcGroup.right - w->m_rcGroup.left);
    // The bar moves within the union of the two groups (client coordinates).
    RECT bar = a->m_rcSplitter;
    int unionStart = (int)(bStacked ? bar.top : bar.left) - (int)a->m_dSize;
    int unionLength = (int)(a->m_dSize + b->m_dSize) + m_nSplitterWidth;
    auto apply = [&](int barStart) {
        double total = a->m_dSize + b->m_dSize + m_nSplitterWidth;
        double first = total * (barStart - unionStart) / std::max(1, unionLength);
        if ((GetExStyle() & WS_EX_LAYOUTRTL) && !bStacked)
            first = total - first - m_nSplitterWidth;
        a->m_dSize = std::max(0.0, first);
        b->m_dSize = std::max(0.0, total - a->m_dSize - m_nSplitterWidth);
    };
    int lo = unionStart, hi = unionStart + unionLength - m_nSplitterWidth;
    if (m_bTrackerMode) {
        RECT rcTrack = bar, rcLimits = bar;
        ::MapWindowPoints(m_hWnd, HWND_DESKTOP, (LPPOINT)&rcTrack, 2);
        RECT rcUnion = bar;
        if (bStacked) {
            rcUnion.top = lo;
            rcUnion.bottom = hi + m_nSplitterWidth;
        } else {
            rcUnion.left = lo;
            rcUnion.right = hi + m_nSplitterWidth;
        }
        rcLimits = rcUnion;
        ::MapWindowPoints(m_hWnd, HWND_DESKTOP, (LPPOINT)&rcLimits, 2);
        POINT ptStart = pt;
        ::ClientToScreen(m_hWnd, &ptStart);
        SplitterTracker tracker(m_hWnd);
        if (tracker.Track(rcLimits, rcTrack, ptStart, !bStacked)) {
            ::MapWindowPoints(HWND_DESKTOP, m_hWnd, (LPPOINT)&rcTrack, 2);
            apply(bStacked ? rcTrack.top : rcTrack.left);
            RecalcFrame();
        }
        return;
    }
    // Live: the groups follow the mouse.
    int grab = (int)(bStacked ? pt.y - bar.top : pt.x - bar.left);
    ::SetCapture(m_hWnd);
    for (;;) {
        MSG msg;
        while (::PeekMessage(&msg, NULL, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessage(&msg);
        if (!::GetMessage(&msg, NULL, 0, 0) || ::GetCapture() != m_hWnd)
            break;
        if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
            break;
        if (msg.message == WM_MOUSEMOVE) {
            POINT p = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
            ::MapWindowPoints(msg.hwnd, m_hWnd, &p, 1);
            int pos = std::max(lo, std::min(hi, (int)(bStacked ? p.y : p.x) - grab));
            apply(pos);
            RecalcFrame();
            continue;
        }
        ::DispatchMessage(&msg);
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void CQXPTabClientWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    // With groups the client keeps the whole area: the groups divide its
    // client area when it has its size (LayoutGroups).
    if (!m_bGroups && !m_arrWorkspaces.empty() && m_arrWorkspaces[0] != m_pHostedWorkspace &&
        m_arrWorkspaces[0]->GetOwnerObject() && m_bShowTabs)
        *lpClientRect = PlaceStrip(m_arrWorkspaces[0], *lpClientRect, m_paintManager.GetPosition(), m_hWnd);
    CWnd::CalcWindowRect(lpClientRect, nAdjustType);
}

BOOL CQXPTabClientWnd::IsWorkspaceCommandEnabled(UINT nID) const
{
    if (!m_bGroups || !m_hWnd)
        return FALSE;
    HWND hActive = (HWND)::SendMessage(m_hWnd, WM_MDIGETACTIVE, 0, 0);
    CQXPTabManagerItem* pItem = hActive ? FindItem(hActive) : NULL;
    CQXPTabWorkspace* w = FindWorkspace(pItem);
    if (!w)
        return FALSE;
    int n = (int)m_arrWorkspaces.size();
    int g = (int)(std::find(m_arrWorkspaces.begin(), m_arrWorkspaces.end(), w) - m_arrWorkspaces.begin());
    switch (nID) {
    case ID_WORKSPACE_MOVEPREVIOUS: return g > 0;
    case ID_WORKSPACE_MOVENEXT: return g < n - 1;
    // A hosted strip is the only group there can be.
    case ID_WORKSPACE_NEWHORIZONTAL: return !m_bHostedByControl && (n == 1 || m_bGroupsStacked) && w->GetItemCount() > 1;
    case ID_WORKSPACE_NEWVERTICAL: return !m_bHostedByControl && (n == 1 || !m_bGroupsStacked) && w->GetItemCount() > 1;
    }
    return FALSE;
}

void CQXPTabClientWnd::OnWorkspaceCommand(UINT nID)
{
    if (!IsWorkspaceCommandEnabled(nID))
        return;
    HWND hActive = (HWND)::SendMessage(m_hWnd, WM_MDIGETACTIVE, 0, 0);
    CQXPTabManagerItem* pItem = FindItem(hActive);
    CQXPTabWorkspace* w = FindWorkspace(pItem);
    int g = (int)(std::find(m_arrWorkspaces.begin(), m_arrWorkspaces.end(), w) - m_arrWorkspaces.begin());
    switch (nID) {
    case ID_WORKSPACE_MOVEPREVIOUS: MoveItem(pItem, m_arrWorkspaces[g - 1], 2); break;
    case ID_WORKSPACE_MOVENEXT: MoveItem(pItem, m_arrWorkspaces[g + 1], 2); break;
    case ID_WORKSPACE_NEWHORIZONTAL: MoveItem(pItem, w, 3); break;
    case ID_WORKSPACE_NEWVERTICAL: MoveItem(pItem, w, 4); break;
    }
}

BOOL CQXPTabClientWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nID >= ID_WORKSPACE_MOVEPREVIOUS && nID <= ID_WORKSPACE_NEWVERTICAL) {
        if (nCode == (int)CN_UPDATE_COMMAND_UI) {
            if (CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra))
                pCmdUI->Enable(IsWorkspaceCommandEnabled(nID));
            return TRUE;
        }
        if (nCode == (int)CN_COMMAND) {
            if (pHandlerInfo)
                return IsWorkspaceCommandEnabled(nID);
            OnWorkspaceCommand(nID);
            return TRUE;
        }
    }
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CQXPTabClientWnd::MoveItem(CQXPTabManagerItem* pItem, CQXPTabWorkspace* pTarget, int nKind)
{
    CQXPTabWorkspace* pSource = FindWorkspace(pItem);
    if (!pSource || !pTarget || !m_bGroups || (nKind == 2 && pSource == pTarget))
        return;
    // The groups are rebuilt here; the documents' tabs catch up when idle.
    m_bUpdatesSuspended = TRUE;
    m_bLockRedraw = TRUE;
    if (nKind == 3 || nKind == 4) {
        // The groups' lengths become their shares; the new group takes half
        // of the target's.
        for (CQXPTabWorkspace* w : m_arrWorkspaces)
            w->m_dSize = (double)(m_bGroupsStacked ? w->m_rcGroup.bottom - w->m_rcGroup.top
                                                   : w->m_rcGroup.right - w->m_rcGroup.left);
        if (m_arrWorkspaces.size() == 1)
            m_bGroupsStacked = nKind == 3;
        if (nKind == 3 || nKind == 4) {
            BOOL bStacked = nKind == 3;
            if (bStacked != m_bGroupsStacked) {
                // The split axis changes: the one group's share is its new length.
                RECT g = pTarget->m_rcGroup;
                pTarget->m_dSize = (double)(bStacked ? g.bottom - g.top : g.right - g.left);
                m_bGroupsStacked = bStacked;
            }
        }
        int nIndex = (int)(std::find(m_arrWorkspaces.begin(), m_arrWorkspaces.end(), pTarget) - m_arrWorkspaces.begin());
        CQXPTabWorkspace* pNew = AddWorkspace(nIndex + 1);
        if (!pNew) {
            m_bLockRedraw = FALSE;
            return;
        }
        pNew->m_dSize = std::max(0.0, (pTarget->m_dSize - m_nSplitterWidth) * 0.5);
        pTarget->m_dSize = std::max(0.0, pTarget->m_dSize - pNew->m_dSize - m_nSplitterWidth);
        pTarget = pNew;
    }
    // The item moves with its colour; it is selected in its new group. The
    // reference taken here is the one the new group owns.
    COLORREF clr = pItem->m_clrItem;
    pItem->InternalAddRef();
    pSource->DeleteItem(pItem->GetIndex());
    CQXPTabManagerItem* pMoved = pTarget->AddItem(-1, pItem);
    pMoved->m_clrItem = clr;
    pTarget->SetSelectedItem(pMoved);
    SetActiveWorkspace(pTarget);
    // The group left behind shows its top-most document.
    if (pSource->GetItemCount() > 0) {
        for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            if (CQXPTabManagerItem* p = pSource->FindItem(h)) {
                pSource->SetSelectedItem(p);
                break;
            }
    } else if (m_arrWorkspaces.size() > 1) {
        RemoveWorkspace(pSource);
    }
    m_bLockRedraw = FALSE;
    if (pMoved->m_hWnd)
        ::SendMessage(m_hWnd, WM_MDIACTIVATE, (WPARAM)pMoved->m_hWnd, 0);
    RecalcFrame();
    pTarget->EnsureVisible(pMoved);
}

static UINT s_nRefreshTabClientMessage = QxGetTabClientRefreshMessage();
static UINT s_nSkinQueryStateMessage = ::RegisterWindowMessageA("WM_SKINFRAMEWORK_QUERYSTATE");

BEGIN_MESSAGE_MAP(CQXPTabClientWnd, CWnd)
    ON_REGISTERED_MESSAGE(s_nRefreshTabClientMessage, OnRefreshTabClient)
    ON_REGISTERED_MESSAGE(s_nSkinQueryStateMessage, OnQuerySkinState)
    ON_MESSAGE(WM_MDICREATE, OnMDICreate)
    ON_MESSAGE(WM_MDIDESTROY, OnMDIDestroy)
    ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivate)
    ON_MESSAGE(WM_MDINEXT, OnMDIChange)
    ON_WM_SIZE()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_WM_SETCURSOR()
    ON_MESSAGE(WM_LBUTTONDOWN, OnGroupMouse)
    ON_MESSAGE(WM_LBUTTONDBLCLK, OnGroupMouse)
    ON_MESSAGE(WM_RBUTTONDOWN, OnGroupMouse)
    ON_MESSAGE(WM_RBUTTONDBLCLK, OnGroupMouse)
    ON_MESSAGE(WM_MBUTTONDOWN, OnGroupMouse)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCACTIVATE()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_MDITILE, OnMDIArrange)
    ON_MESSAGE(WM_MDICASCADE, OnMDIArrange)
    ON_MESSAGE(WM_MDIICONARRANGE, OnMDIArrange)
END_MESSAGE_MAP()

// Under the command bars' themes 5 and 6 documents may have no caption; the
// MDI client arranges them as if they had one, which they lose again after.
LRESULT CQXPTabClientWnd::OnMDIArrange(WPARAM, LPARAM)
{
    CQXPThemePainter* pPaint = GetCommandBarsPaintManager();
    const int nTheme = pPaint ? pPaint->GetCurrentTheme() : 0;
    std::vector<HWND> given;
    if (nTheme == 5 || nTheme == 6) {
        for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            LONG_PTR style = ::GetWindowLongPtr(h, GWL_STYLE);
            if ((::GetWindowLongPtr(h, GWL_EXSTYLE) & WS_EX_MDICHILD) && !::IsZoomed(h) &&
                (style & WS_CAPTION) != WS_CAPTION) {
                ::SetWindowLongPtr(h, GWL_STYLE, style | WS_CAPTION);
                given.push_back(h);
            }
        }
    }
    LRESULT lr = Default();
    for (HWND h : given) {
        if (!::IsWindow(h))
            continue;
        ::SetWindowLongPtr(h, GWL_STYLE, ::GetWindowLongPtr(h, GWL_STYLE) & ~WS_CAPTION);
        ::SetWindowPos(h, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return lr;
}

// The client paints its face in WM_PAINT (through a buffer) with the
// custom background or tab groups.
BOOL CQXPTabClientWnd::OnEraseBkgnd(CDC*)
{
    if (!m_bCustomBackground && !m_bGroups)
        return (BOOL)Default();
    return TRUE;
}

// Without keeping the MDI client's choice, the active document's neighbour
// tab (the one to its right, else to its left) comes forward before it goes.
LRESULT CQXPTabClientWnd::OnMDIDestroy(WPARAM wParam, LPARAM lParam)
{
    HWND hClosing = (HWND)wParam;
    HWND hActive = (HWND)::SendMessage(m_hWnd, WM_MDIGETACTIVE, 0, 0);
    if (!m_bKeepActivationOnClose && hClosing && hClosing == hActive) {
        CQXPTabManagerItem* pItem = FindItem(hClosing);
        CQXPTabWorkspace* pWorkspace = pItem ? FindWorkspace(pItem) : NULL;
        if (pWorkspace) {
            int n = pWorkspace->GetCurSel();
            for (int i = 0; i < pWorkspace->GetItemCount(); ++i)
                if (pWorkspace->GetItem(i) == pItem)
                    n = i;
            CQXPTabManagerItem* pNext = pWorkspace->GetItem(n + 1);
            if (!pNext)
                pNext = pWorkspace->GetItem(n - 1);
            if (pNext && pNext->m_hWnd && ::IsWindow(pNext->m_hWnd))
                ::SendMessage(m_hWnd, WM_MDIACTIVATE, (WPARAM)pNext->m_hWnd, 0);
        }
    }
    return OnMDIChange(wParam, lParam);
}

LRESULT CQXPTabClientWnd::OnMDIActivate(WPARAM wParam, LPARAM lParam)
{
    if (m_bGroups || !m_bShowTabs || !(GetStyle() & WS_VISIBLE))
        return OnMDIChange(wParam, lParam);
    // A maximised document giving way to another would show the restored
    // one for a moment.
    ::SendMessage(m_hWnd, WM_SETREDRAW, FALSE, 0);
    const LRESULT lr = Default();
    ::SendMessage(m_hWnd, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    UpdateContents();
    return lr;
}

// The MDI client does the work; the tabs follow what it did.
LRESULT CQXPTabClientWnd::OnMDIChange(WPARAM, LPARAM)
{
    LRESULT lr = Default();
    UpdateContents();
    return lr;
}

// With groups a new document never shows its own frame: it loses it, and
// its place waits for the group's layout.
LRESULT CQXPTabClientWnd::OnMDICreate(WPARAM, LPARAM)
{
    LRESULT lr = Default();
    HWND hChild = (HWND)lr;
    if (m_bGroups && hChild && ::IsWindow(hChild)) {
        StripChildFrame(hChild);
        ::SetWindowPos(hChild, NULL, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    UpdateContents();
    return lr;
}

void CQXPTabClientWnd::OnSize(UINT, int, int)
{
    Default();
    UpdateContents();
    LayoutGroups();
}

LRESULT CQXPTabClientWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    // The click or move is over: the tabs catch up with the documents.
    m_bClickPending = FALSE;
    m_bUpdatesSuspended = FALSE;
    UpdateContents();
    return Default();
}

BOOL CQXPTabClientWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bGroups && nHitTest == HTCLIENT) {
        POINT pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWnd, &pt);
        if (HitTestSplitter(pt) >= 0) {
            ::SetCursor(m_bGroupsStacked ? ToolkitCursor(QX_IDC_SPLIT_UPDOWN, IDC_SIZENS)
                                         : ToolkitCursor(QX_IDC_SPLIT_LEFTRIGHT, IDC_SIZEWE));
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CQXPTabClientWnd::RelayToToolTip()
{
    const MSG* pMsg = GetCurrentMessage();
    if (m_bGroups && pMsg)
        m_pToolTipContext->FilterMessage(this, pMsg->message, pMsg->wParam, pMsg->lParam);
}

LRESULT CQXPTabClientWnd::OnGroupMouse(WPARAM, LPARAM lParam)
{
    if (!m_bGroups)
        return Default();
    RelayToToolTip();
    const UINT message = GetCurrentMessage()->message;
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        // The groups keep their tabs while the bar between them moves.
        SetClickPending();
        int n = HitTestSplitter(pt);
        if (n >= 0) {
            TrackSplitter(n, pt);
            return 0;
        }
    }
    if (!m_bShowTabs)
        return Default();
    if (CQXPTabWorkspace* w = HitTestWorkspace(pt)) {
        w->OnStripMouse(message, pt);
        return 0;
    }
    return Default();
}

void CQXPTabClientWnd::TrackMouseAll(POINT pt)
{
    for (CQXPTabWorkspace* w : m_arrWorkspaces)
        if (w->GetOwnerObject() == m_hWnd)
            w->TrackMouse(m_hWnd, pt);
}

void CQXPTabClientWnd::OnMouseMove(UINT, CPoint point)
{
    if (!m_bGroups) {
        Default();
        return;
    }
    RelayToToolTip();
    TrackMouseAll(point);
    Default();
}

void CQXPTabClientWnd::OnMouseLeave()
{
    if (m_bGroups)
        TrackMouseAll(POINT{-1, -1});
    Default();
}

INT_PTR CQXPTabClientWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    if (!m_bGroups || !m_bShowTabs || m_arrWorkspaces.empty() || m_arrWorkspaces[0]->IsMouseLocked())
        return -1;
    for (CQXPTabWorkspace* w : m_arrWorkspaces)
        if (w->GetOwnerObject() == m_hWnd && ::PtInRect(&w->m_rcControl, point))
            return w->OnToolHitTest(point, pTI);
    return -1;
}

void CQXPTabClientWnd::DrawBackground(CDC* pDC, const RECT& rc)
{
    CQXPThemePainter* pPaint = GetCommandBarsPaintManager();
    if (pPaint)
        pPaint->FillWorkspace(pDC, rc, CRect(0, 0, 0, 0));
    else
        pDC->FillSolidRect(&rc, ::GetSysColor(COLOR_APPWORKSPACE));
}

void CQXPTabClientWnd::DrawWorkspaces(CDC* pDC, const RECT& rc)
{
    if (!m_bGroups) {
        DrawBackground(pDC, rc);
        return;
    }
    RECT rcClip;
    if (pDC->GetClipBox(&rcClip) == NULLREGION)
        return;
    // The area no group covers yet (before the first layout).
    DrawBackground(pDC, rc);
    for (CQXPTabWorkspace* w : m_arrWorkspaces) {
        RECT r;
        if (w->GetOwnerObject() != m_hWnd || !m_bShowTabs || !::IntersectRect(&r, &w->m_rcGroup, &rcClip))
            continue;
        m_paintManager.DrawTabControl(w, pDC->GetSafeHdc(), w->m_rcGroup);
    }
    CTabAppearancePainter* pAppearance = m_paintManager.GetAppearanceSet();
    for (CQXPTabWorkspace* w : m_arrWorkspaces) {
        RECT r = w->m_rcSplitter;
        if (!::IsRectEmpty(&r))
            pAppearance->DrawClientFrame(pDC->GetSafeHdc(), r, m_bGroupsStacked ? 3 : 2);
    }
}

void CQXPTabClientWnd::OnPaint()
{
    if (!m_bGroups && !m_bCustomBackground) {
        Default();
        return;
    }
    CPaintDC dc(this);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    PaintBufferDC buffer(dc);
    DrawWorkspaces(buffer.IsValid() ? (CDC*)&buffer : (CDC*)&dc, rc);
}

LRESULT CQXPTabClientWnd::OnPrintClient(WPARAM wParam, LPARAM)
{
    if (!m_bGroups && !m_bCustomBackground)
        return Default();
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    BufferedDC buffer((HDC)wParam, rc);
    CDC* pDC = buffer.IsValid() ? (CDC*)&buffer : CDC::FromHandle((HDC)wParam);
    DrawWorkspaces(pDC, rc);
    return 0;
}

void CQXPTabClientWnd::DrawClientFrame(CDC* pDC, RECT& rcWindow, BOOL bDraw) const
{
    m_paintManager.GetAppearanceSet()->DrawClientFrame(bDraw && pDC ? pDC->GetSafeHdc() : NULL, rcWindow,
                                                       bDraw ? 0 : 1);
}

void CQXPTabClientWnd::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    // With groups the appearance's client frame is the client's only edge:
    // its own sunken edge (WS_EX_CLIENTEDGE) takes no room, and no scroll
    // bars show, the groups fitting their documents.
    if (!m_bGroups || !lpncsp) {
        Default();
        return;
    }
    DrawClientFrame(NULL, lpncsp->rgrc[0], FALSE);
    (void)bCalcValidRects;
}

void CQXPTabClientWnd::OnNcPaint()
{
    if (!m_bGroups) {
        Default();
        return;
    }
    // The frame fills what lies between the window's edge and its client
    // area.
    RECT rcWindow, rcClient;
    ::GetWindowRect(m_hWnd, &rcWindow);
    ::GetClientRect(m_hWnd, &rcClient);
    ::MapWindowPoints(m_hWnd, HWND_DESKTOP, (LPPOINT)&rcClient, 2);
    ::OffsetRect(&rcClient, -rcWindow.left, -rcWindow.top);
    RECT rcFrame = {0, 0, rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top};
    HDC hdc = ::GetWindowDC(m_hWnd);
    if (!hdc)
        return;
    ::ExcludeClipRect(hdc, rcClient.left, rcClient.top, rcClient.right, rcClient.bottom);
    DrawClientFrame(CDC::FromHandle(hdc), rcFrame, TRUE);
    ::ReleaseDC(m_hWnd, hdc);
}

BOOL CQXPTabClientWnd::OnNcActivate(BOOL)
{
    return m_bGroups ? TRUE : (BOOL)Default();
}

LRESULT CQXPTabClientWnd::OnRefreshTabClient(WPARAM, LPARAM)
{
    Refresh(TRUE);
    return 1;
}

LRESULT CQXPTabClientWnd::OnQuerySkinState(WPARAM, LPARAM)
{
    return m_bGroups && m_pFrame ? 1 : Default();
}

void CQXPTabClientWnd::OnSysColorChange()
{
    m_paintManager.RefreshMetrics();
    Default();
    Refresh(TRUE);
}
