// The command bars manager.

#include <qx/commandbars.h>
#include <qx/themes.h>
#include <qx/customize.h>
#include <qx/popup.h>
#include <qx/controledit.h>
#include <qx/listcontrols.h>
#include <qx/keytips.h>
#include <qx/rebarhost.h>
#include <qx/mousemanager.h>
#include <qx/soundthread.h>
#include <qx/profile.h>
#include <qx/propexchange.h>
#include <qx/images.h>
#include <qx/listbox.h>
#include <qx/sysutil.h>
#include <qx/tooltips.h>

#include <fx/doctempl.h>
#include <fx/document.h>
#include <fx/mdi.h>

#include <algorithm>

namespace {

// Child ids of the four dock bars.
const UINT kDockBarIds[4] = {0xE81B, 0xE81E, 0xE81C, 0xE81D};
const DWORD kDockBarStyles[4] = {CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP,
                                 CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT};

} // namespace

IMPLEMENT_DYNCREATE(CQXPCommandBars, CCmdTarget)

CQXPCommandBars::CQXPCommandBars()
    : m_pToolTipContext(new CQXPToolTipContext), m_pFrame(NULL), m_pMenuBar(NULL), m_actions(this),
      m_bCustomizeMode(FALSE), m_pShortcutManager(new CQXPKeyboardShortcuts(this))
{
    // The toolkit's own tooltip window for every bar of the frame.
    m_pToolTipContext->SetStyle(2);
    m_pOptions = new CQXPCommandBarsSettings(this);
    for (CQXPDockBar*& pDock : m_pDocks)
        pDock = NULL;
    m_pDropSource = new CQXPCustomizeDropSource(this);
}

CQXPCommandBars::~CQXPCommandBars()
{
    m_bFrameTheme = FALSE;
    UpdateFrameTheme();
    ToolkitSoundThread::Instance()->Stop();
    if (m_pDragControl)
        m_pDragControl->InternalRelease();
    m_pDragControl = NULL;
    delete m_pKeyboardTips;
    m_pKeyboardTips = NULL;
    m_pShortcutManager->InternalRelease();
    m_pShortcutManager = NULL;
    m_pOptions->InternalRelease();
    m_pOptions = NULL;
    m_actions.RemoveAll();
    for (CQXPToolBar* pBar : m_arrBars) {
        if (pBar->GetDockBar())
            pBar->SetDockBar(NULL);
        pBar->m_pCommandBars = NULL;
        if (::IsWindow(pBar->GetSafeHwnd()))
            pBar->DestroyWindow();
        pBar->InternalRelease();
    }
    m_arrBars.clear();
    m_pMenuBar = NULL;
    for (CQXPPopupBar* pPopup : m_arrContextMenus) {
        if (::IsWindow(pPopup->GetSafeHwnd()))
            pPopup->DestroyWindow();
        pPopup->SetCommandBars(NULL);
        pPopup->InternalRelease();
    }
    m_arrContextMenus.clear();
    for (CQXPDockBar*& pDock : m_pDocks) {
        delete pDock;
        pDock = NULL;
    }
    if (m_pPaintManager && m_pFrame && QxGetFramePaintManager(m_pFrame->GetSafeHwnd()) == m_pPaintManager)
        QxSetFramePaintManager(m_pFrame->GetSafeHwnd(), NULL);
    QxpReplaceReference(m_pPaintManager, (CQXPThemePainter*)NULL);
    QxpReplaceReference(m_pImageManager, (CQXPImageManager*)NULL);
    // Bars still alive (a popup held elsewhere) keep their own references.
    QxpReplaceReference(m_pToolTipContext, (CQXPToolTipContext*)NULL);
    delete m_pDropSource;
    m_pDropSource = NULL;
}

void CQXPCommandBars::SetPaintManager(CQXPThemePainter* pPaintManager)
{
    if (QxpReplaceReference(m_pPaintManager, pPaintManager))
        RedrawCommandBars();
}

void CQXPCommandBars::SetImageManager(CQXPImageManager* pImageManager)
{
    if (QxpReplaceReference(m_pImageManager, pImageManager))
        RedrawCommandBars();
}

CQXPThemePainter* CQXPCommandBars::GetPaintManager() const
{
    return m_pPaintManager ? m_pPaintManager : GetGlobalPaintManager();
}

CQXPImageManager* CQXPCommandBars::GetImageManager() const
{
    return m_pImageManager ? m_pImageManager : GetGlobalImageManager();
}

CQXPCommandBars* AFXAPI CQXPCommandBars::CreateCommandBars(CWnd* pFrame, CRuntimeClass* pClass)
{
    if (!pClass)
        pClass = RUNTIME_CLASS(CQXPCommandBars);
    CQXPCommandBars* pCommandBars = QxpCreateObjectAs<CQXPCommandBars>(pClass);
    if (!pCommandBars)
        return NULL;
    BOOL bBound = FALSE;
    try {
        bBound = pCommandBars->SetSite(pFrame);
    } catch (CException*) {
        // A dock bar that cannot be made: the half-bound manager goes, the
        // frame hears why.
        pCommandBars->InternalRelease();
        throw;
    }
    if (!bBound) {
        pCommandBars->InternalRelease();
        return NULL;
    }
    return pCommandBars;
}

namespace {

// The popup menus of the toolkit's own controls (edit boxes, browse
// buttons, panes) as command-bar popups: the look of the bars and the icons
// of the toolbar resource the control names, held by the popup alone. The
// popup belongs to no manager, whether or not the control's frame has one:
// it is drawn by the global paint manager (made here when there is none
// yet) and sends its commands to the control.
INT_PTR AFXAPI QxpTrackControlMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pOwner, int nIDIconToolbar)
{
    if (!pMenu || !::IsMenu(pMenu->GetSafeHmenu()))
        return -1;
    GetGlobalPaintManager();
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(NULL);
    if (pOwner)
        pPopup->SetOwnerSite(pOwner);
    // The toolbar's pictures go to an image manager of the popup's own, so
    // that the program's pictures for the same commands stay as they are.
    if (nIDIconToolbar > 0) {
        CQXPImageManager* pImages = new CQXPImageManager;
        pImages->SetIcons((UINT)nIDIconToolbar);
        pPopup->SetImageManager(pImages);
    }
    if (!pPopup->LoadMenu(pMenu, TRUE)) {
        pPopup->InternalRelease();
        return -1;
    }
    int nResult = CQXPCommandBars::TrackPopupMenu(pPopup, nFlags, x, y, pOwner);
    if (::IsWindow(pPopup->GetSafeHwnd()))
        pPopup->DestroyWindow();
    pPopup->InternalRelease();
    return nResult;
}

// A program with the command bars shows the toolkit controls' menus as
// command-bar popups from its start, before (and without) any manager.
const bool kControlMenusTracked = (SetToolkitPopupTracker(&QxpTrackControlMenu), true);

} // namespace

BOOL CQXPCommandBars::SetSite(CWnd* pFrame)
{
    if (!pFrame || !::IsWindow(pFrame->GetSafeHwnd()))
        return FALSE;
    m_pFrame = pFrame;
    m_bRightToLeft = (::GetWindowLongPtrA(pFrame->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    return EnableDocking();
}

BOOL CQXPCommandBars::EnableDocking()
{
    if (!m_pFrame)
        return FALSE;
    for (int i = 0; i < 4; i++) {
        if (m_pDocks[i])
            continue;
        CQXPDockBar* pDock = new CQXPDockBar;
        pDock->m_pCommandBars = this;
        if (!pDock->Create(m_pFrame, kDockBarStyles[i] | WS_VISIBLE, kDockBarIds[i])) {
            delete pDock;
            AfxThrowResourceException();
        }
        m_pDocks[i] = pDock;
    }
    return TRUE;
}

CQXPDockBar* CQXPCommandBars::GetDockBar(int nPosition) const
{
    return nPosition >= 0 && nPosition < 4 ? m_pDocks[nPosition] : NULL;
}

CQXPToolBar* CQXPCommandBars::Add(LPCSTR lpszName, int nBarPosition, CRuntimeClass* pToolbarClass)
{
    if (!m_pFrame || nBarPosition < qxpBarTop || nBarPosition > qxpBarRight)
        return NULL;
    if (!pToolbarClass)
        pToolbarClass = RUNTIME_CLASS(CQXPToolBar);
    CQXPToolBar* pBar = QxpCreateObjectAs<CQXPToolBar>(pToolbarClass);
    if (!pBar)
        return NULL;
    pBar->SetCommandBars(this);
    pBar->m_strTitle = lpszName ? lpszName : "";
    pBar->SetBarPosition(nBarPosition);
    if (pBar->GetBarID() == 0) {
        UINT nID = 0xE800;
        while (nID <= 0xE8FE && GetToolBar(nID))
            nID++;
        pBar->SetBarID(nID);
    }
    CQXPDockBar* pDock = m_pDocks[nBarPosition];
    if (!pBar->CreateToolBar(WS_VISIBLE, pDock, pBar->GetBarID())) {
        pBar->InternalRelease();
        return NULL;
    }
    m_arrBars.push_back(pBar);
    pDock->DockCommandBar(pBar, NULL);
    OnBarAdded(pBar);
    return pBar;
}

void CQXPCommandBars::OnBarAdded(CQXPToolBar* pBar)
{
    // A site with a rebar hosts its bars as bands, each on a row of its own.
    if (CQXPReBar* pReBar = GetReBar()) {
        pReBar->AddCommandBar(pBar, RBBS_BREAK | RBBS_GRIPPERALWAYS);
        RecalcFrameLayout();
    }
}

void CQXPCommandBars::OnBarRemoved(CQXPToolBar* pBar)
{
    if (CQXPReBar* pReBar = GetReBar())
        pReBar->DeleteBand(pBar);
}

CQXPMenuBar* CQXPCommandBars::SetMenu(LPCSTR lpszName, UINT nID)
{
    if (m_pMenuBar) {
        if (!m_pMenuBar->LoadMenuBar(nID))
            return NULL;
        m_pMenuBar->SetTitle(lpszName);
        return m_pMenuBar;
    }
    CQXPMenuBar* pMenuBar = dynamic_cast<CQXPMenuBar*>(Add(lpszName, qxpBarTop, RUNTIME_CLASS(CQXPMenuBar)));
    if (!pMenuBar)
        return NULL;
    if (!pMenuBar->LoadMenuBar(nID)) {
        Remove(pMenuBar);
        return NULL;
    }
    m_pMenuBar = pMenuBar;
    // The menu bar is the first bar: it goes to the first row of its dock.
    CQXPDockBar* pDock = pMenuBar->GetDockBar();
    if (pDock && pDock->FindBar(pMenuBar) > 1) {
        pDock->RemoveCommandBar(pMenuBar);
        pDock->m_arrBars.insert(pDock->m_arrBars.begin() + 1, (CQXPToolBar*)NULL);
        pDock->m_arrBars.insert(pDock->m_arrBars.begin() + 1, pMenuBar);
        pMenuBar->SetDockBar(pDock);
    }
    RecalcFrameLayout();
    return pMenuBar;
}

CQXPToolBar* CQXPCommandBars::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_arrBars.size() ? m_arrBars[(size_t)nIndex] : NULL;
}

CQXPToolBar* CQXPCommandBars::GetToolBar(UINT nBarID) const
{
    for (CQXPToolBar* pBar : m_arrBars)
        if (pBar->GetBarID() == nBarID)
            return pBar;
    return NULL;
}

void CQXPCommandBars::Remove(CQXPToolBar* pToolBar)
{
    if (std::find(m_arrBars.begin(), m_arrBars.end(), pToolBar) == m_arrBars.end())
        return;
    // A handler below asking to remove the same bar again: the removal
    // under way finishes it.
    if (std::find(m_arrRemoving.begin(), m_arrRemoving.end(), pToolBar) != m_arrRemoving.end())
        return;
    // The bar stays alive for the whole removal, whatever the handlers of
    // the notifications below do with it.
    pToolBar->InternalAddRef();
    // Out of sight first, without the visibility notification and the frame
    // layout of a user hiding the bar: the bar is going, not hiding.
    if (pToolBar->IsVisible() || ::IsWindowVisible(pToolBar->GetSafeHwnd()))
        pToolBar->CQXPCommandBar::SetVisible(FALSE);
    if (m_pFrame && ::IsWindow(m_pFrame->GetSafeHwnd())) {
        m_arrRemoving.push_back(pToolBar);
        m_pFrame->SendMessage(WM_QXP_TOOLBARDELETING, 0, (LPARAM)pToolBar);
        m_arrRemoving.erase(std::find(m_arrRemoving.begin(), m_arrRemoving.end(), pToolBar));
    }
    // The handler may have removed bars, this one included: look it up again.
    auto it = std::find(m_arrBars.begin(), m_arrBars.end(), pToolBar);
    if (it == m_arrBars.end()) {
        pToolBar->InternalRelease();
        return;
    }
    m_arrBars.erase(it);
    if (pToolBar == m_pMenuBar)
        m_pMenuBar = NULL;
    // No tip may name a bar that is going away.
    if (m_pKeyboardTips && m_pKeyboardTips->RefersTo(pToolBar))
        m_pKeyboardTips->Hide();
    OnBarRemoved(pToolBar);
    if (pToolBar->GetDockBar())
        pToolBar->GetDockBar()->RemoveCommandBar(pToolBar);
    // Hosted windows go back to the frame before the bar window goes.
    pToolBar->OnRemoved();
    if (::IsWindow(pToolBar->GetSafeHwnd()))
        pToolBar->DestroyWindow();
    pToolBar->m_pCommandBars = NULL;
    pToolBar->InternalRelease(); // the list's reference
    pToolBar->InternalRelease(); // the one held for the removal
    RecalcFrameLayout();
}

CQXPControl* CQXPCommandBars::FindControl(int controlType, int nId, BOOL bVisible, BOOL bRecursive) const
{
    for (CQXPToolBar* pBar : m_arrBars) {
        CQXPControl* pControl = pBar->GetControls()->FindControl(controlType, nId, bVisible, bRecursive);
        if (pControl)
            return pControl;
    }
    return NULL;
}

void CQXPCommandBars::RemoveAll()
{
    // One frame layout for the lot, not one per bar.
    LockLayout(TRUE);
    for (;;) {
        // Bars whose removal is already under way (a deleting handler that
        // removes everything) are finished by that removal.
        auto it = std::find_if(m_arrBars.rbegin(), m_arrBars.rend(), [this](CQXPToolBar* pBar) {
            return std::find(m_arrRemoving.begin(), m_arrRemoving.end(), pBar) == m_arrRemoving.end();
        });
        if (it == m_arrBars.rend())
            break;
        Remove(*it);
    }
    LockLayout(FALSE);
    RecalcFrameLayout(TRUE);
}

CQXPToolBar* CQXPCommandBars::FindCommandBar(UINT nBarID) const
{
    return nBarID != 0 ? GetToolBar(nBarID) : NULL;
}

int CQXPCommandBars::IndexOf(CQXPToolBar* pBar) const
{
    auto it = std::find(m_arrBars.begin(), m_arrBars.end(), pBar);
    return it == m_arrBars.end() ? -1 : (int)(it - m_arrBars.begin());
}

BOOL CQXPCommandBars::DockCommandBar(CQXPToolBar* pBar, int nPosition, LPCRECT lpRect)
{
    if (!pBar || IndexOf(pBar) < 0 || !GetDockBar(nPosition))
        return FALSE;
    // Only to a side the bar accepts (top 1, bottom 2, left 4, right 8).
    if (!(pBar->GetFlags() & (1u << nPosition)))
        return FALSE;
    return pBar->DockTo(nPosition, lpRect);
}

BOOL CQXPCommandBars::DockCommandBar(CQXPToolBar* pBar, LPCRECT lpRect, CQXPDockBar* pDockBar)
{
    for (int i = 0; pDockBar && i < 4; i++) {
        if (m_pDocks[i] == pDockBar)
            return DockCommandBar(pBar, i, lpRect);
    }
    return FALSE;
}

BOOL CQXPCommandBars::FloatCommandBar(CQXPToolBar* pBar)
{
    if (!pBar || IndexOf(pBar) < 0 || !::IsWindow(pBar->GetSafeHwnd()))
        return FALSE;
    if (pBar->IsFloating())
        return TRUE;
    if (!(pBar->GetFlags() & qxpFlagFloating))
        return FALSE;
    CRect rc;
    ::GetWindowRect(pBar->GetSafeHwnd(), &rc);
    return pBar->SetFloating(rc.TopLeft());
}

CQXPDockBar* CQXPCommandBars::HitTestDockBar(CPoint ptScreen, CQXPDockBar* pPreferred) const
{
    auto hits = [&ptScreen](CQXPDockBar* pDock) {
        if (!pDock || !::IsWindow(pDock->GetSafeHwnd()))
            return false;
        CRect rc;
        ::GetWindowRect(pDock->GetSafeHwnd(), &rc);
        rc.InflateRect(20, 20);
        // Strictly inside: the widened edges themselves do not count.
        return ptScreen.x > rc.left && ptScreen.x < rc.right && ptScreen.y > rc.top && ptScreen.y < rc.bottom;
    };
    if (hits(pPreferred))
        return pPreferred;
    for (CQXPDockBar* pDock : m_pDocks) {
        if (hits(pDock))
            return pDock;
    }
    return NULL;
}

CQXPToolBar* CQXPCommandBars::AddCustomBar(LPCSTR lpszName, UINT nID, BOOL bFloating)
{
    if (!m_pFrame || !::IsWindow(m_pFrame->GetSafeHwnd()))
        return NULL;
    // The site may make the bar of a class of its own.
    QXP_CREATEBAR_RECORD rec;
    rec.pCommandBar = NULL;
    rec.bPopup = FALSE;
    rec.nReserved[0] = 1; // a user-made bar
    rec.nReserved[1] = bFloating ? 1 : 0;
    rec.nReserved[2] = 0;
    rec.strCaption = lpszName ? lpszName : "";
    rec.nID = (int)nID;
    CQXPToolBar* pBar = NULL;
    if (m_pFrame->SendMessage(WM_COMMANDBARS_CREATECOMMANDBAR, 0, (LPARAM)&rec) != 0 && rec.pCommandBar)
        pBar = dynamic_cast<CQXPToolBar*>(rec.pCommandBar);
    if (pBar) {
        pBar->SetCommandBars(this);
        pBar->m_strTitle = rec.strCaption;
        pBar->SetBarPosition(qxpBarTop);
        pBar->SetBarID(nID);
        if (!pBar->CreateToolBar(WS_VISIBLE, m_pDocks[qxpBarTop], nID)) {
            pBar->InternalRelease();
            return NULL;
        }
        m_arrBars.push_back(pBar);
        m_pDocks[qxpBarTop]->DockCommandBar(pBar, NULL);
    } else {
        // Add gives the bar a free id first; the custom id replaces it.
        pBar = Add(lpszName, qxpBarTop);
        if (!pBar)
            return NULL;
        pBar->SetBarID(nID);
        ::SetWindowLongPtrA(pBar->GetSafeHwnd(), GWLP_ID, (LONG_PTR)nID);
    }
    pBar->m_bBuiltIn = FALSE;
    if (bFloating) {
        CRect rcClient;
        m_pFrame->GetClientRect(&rcClient);
        m_pFrame->ClientToScreen(&rcClient);
        if (!FloatCommandBar(pBar)) {
            Remove(pBar);
            return NULL;
        }
        ::SetWindowPos(pBar->GetSafeHwnd(), NULL, rcClient.left + 40, rcClient.top + 40, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RecalcFrameLayout(FALSE);
    return pBar;
}

UINT CQXPCommandBars::GetActiveMenuId() const
{
    CQXPMenuBar* pMenuBar = GetMenuBar();
    UINT nDefault = pMenuBar ? pMenuBar->GetCurrentMenuResource() : 0;
    CMDIFrameWnd* pMDIFrame = dynamic_cast<CMDIFrameWnd*>(m_pFrame);
    if (!pMDIFrame || !::IsWindow(pMDIFrame->GetSafeHwnd()))
        return nDefault;
    CMDIChildWnd* pChild = pMDIFrame->MDIGetActive();
    if (!pChild || !pChild->m_hMenuShared)
        return nDefault;
    // The template whose shared menu the child shows: the document's own
    // template first, else any multi-document template of the application.
    CDocument* pDoc = pChild->GetActiveDocument();
    CMultiDocTemplate* pOwn = pDoc ? dynamic_cast<CMultiDocTemplate*>(pDoc->GetDocTemplate()) : NULL;
    if (pOwn && pOwn->m_hMenuShared == pChild->m_hMenuShared)
        return pOwn->m_nIDResource;
    CDocManager* pManager = AfxGetDocManager();
    if (pManager) {
        POSITION pos = pManager->GetFirstDocTemplatePosition();
        while (pos) {
            CMultiDocTemplate* pTemplate = dynamic_cast<CMultiDocTemplate*>(pManager->GetNextDocTemplate(pos));
            if (pTemplate && pTemplate->m_hMenuShared == pChild->m_hMenuShared)
                return pTemplate->m_nIDResource;
        }
    }
    return nDefault;
}

// ---------------------------------------------------------------------------
// The expand popup of a toolbar

int AFXAPI CQXPCommandBars::AddHiddenControlsOf(CQXPToolBar* pBar, CQXPCommandBar* pPopup)
{
    if (!pBar || !pPopup)
        return 0;
    int nAdded = 0;
    CQXPControls* pTarget = pPopup->GetControls();
    CQXPControls* pControls = pBar->GetControls();
    for (int i = 0; i < pControls->GetCount(); i++) {
        CQXPControl* pControl = pControls->GetAt(i);
        // Only what the row had no room for: hidden for any other reason
        // as well, it stays away.
        if (pControl->GetHideFlags() != qxpHideWrap)
            continue;
        CQXPControl* pCopy = pTarget->AddCopy(pControl);
        if (!pCopy)
            continue;
        pCopy->SetHideFlags(0);
        pCopy->SetBeginGroup(FALSE);
        nAdded++;
    }
    return nAdded;
}

int CQXPCommandBars::FillExpandHiddenControls(CQXPToolBar* pBar, CQXPCommandBar* pPopup)
{
    if (!pBar || !pPopup || !pBar->GetDockBar())
        return 0;
    int nAdded = 0;
    for (CQXPToolBar* pRowBar : pBar->GetRowBars())
        nAdded += AddHiddenControlsOf(pRowBar, pPopup);
    return nAdded;
}

void CQXPCommandBars::FillExpandAddRemove(CQXPToolBar* pBar, CQXPCommandBar* pPopup)
{
    if (!pBar || !pPopup)
        return;
    const BOOL bCustomizeAllowed = IsCustomizeAllowed();
    CQXPControls* pTarget = pPopup->GetControls();
    for (CQXPToolBar* pRowBar : pBar->GetRowBars()) {
        CQXPControl* pBarItem = pTarget->Add(qxpControlPopup, 0);
        if (!pBarItem || !pBarItem->GetCommandBar())
            continue;
        pBarItem->SetCaption(pRowBar->GetTitle());
        pBarItem->SetFlags(pBarItem->GetFlags() | qxpFlagManualUpdate);
        CQXPControls* pItems = pBarItem->GetCommandBar()->GetControls();
        pItems->RemoveAll();
        // Adding and removing buttons is customizing: only where the site
        // allows it, and only on the program's own bars.
        if (!bCustomizeAllowed || !pRowBar->m_bBuiltIn || !pRowBar->IsCustomizable())
            continue;
        pRowBar->FillAddRemoveList(pItems);
    }
    if (bCustomizeAllowed) {
        if (CQXPControl* pCustomize = pTarget->Add(qxpControlButton, QXP_ID_CUSTOMIZE))
            pCustomize->SetBeginGroup(TRUE);
    }
}

namespace {

// The bars that track now, the newest first (popups included).
std::vector<CQXPCommandBar*> TrackedBarsNewestFirst()
{
    ToolkitMouseManager* pMouse = CQXPCommandBars::GetMouseManager();
    std::vector<CQXPCommandBar*> bars;
    for (int i = pMouse->GetTrackedCount() - 1; i >= 0; i--) {
        if (CQXPCommandBar* pBar = pMouse->GetTrackedBar(i))
            bars.push_back(pBar);
    }
    return bars;
}

} // namespace

int CQXPCommandBars::GetHotHelpId() const
{
    if (m_nHelpId != 0)
        return m_nHelpId;
    // The bars keep the help id of their hot control: an open menu's
    // before the bars under it.
    for (CQXPCommandBar* pBar : TrackedBarsNewestFirst()) {
        if (pBar->GetCommandBars() == this && pBar->GetHotHelpId() != 0)
            return pBar->GetHotHelpId();
    }
    for (CQXPToolBar* pBar : m_arrBars) {
        if (pBar->GetHotHelpId() != 0)
            return pBar->GetHotHelpId();
    }
    return 0;
}

BOOL CQXPCommandBars::OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_NOTIFY: {
        const NMHDR* pHdr = (const NMHDR*)lParam;
        if (pHdr && pHdr->idFrom == AFX_IDW_REBAR && pHdr->code == RBN_HEIGHTCHANGE)
            OnReBarHeightChange();
        break;
    }
    case WM_CLOSE:
        // The frame stays while the customize dialog is open.
        if (m_bCustomizeDialogOpen) {
            if (pResult)
                *pResult = 0;
            return TRUE;
        }
        break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        GetGlobalPaintManager()->RefreshMetrics();
        RefreshBarManagers(message == WM_SYSCOLORCHANGE);
        // The system's keyboard-cues setting may be what the cues follow.
        if (message == WM_SETTINGCHANGE && m_pOptions->m_nKeyboardCuesShow == 2)
            SetKeyboardCues(2);
        if (m_pFrame && ::IsWindow(m_pFrame->GetSafeHwnd()))
            ::RedrawWindow(m_pFrame->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        RedrawCommandBars();
        break;
    case WM_COMMAND:
        // Edit commands (cut, copy, paste...) go to an edit box of a bar
        // that has the focus, not to the document behind it.
        if (HIWORD(wParam) <= 1 && lParam == 0) {
            CQXPEdit* pEdit = dynamic_cast<CQXPEdit*>(CWnd::FromHandlePermanent(::GetFocus()));
            HWND hWndParent = pEdit ? ::GetParent(pEdit->GetSafeHwnd()) : NULL;
            if (pEdit && dynamic_cast<CQXPCommandBar*>(CWnd::FromHandlePermanent(hWndParent)) &&
                pEdit->OnCmdMsg(LOWORD(wParam), CN_COMMAND, NULL, NULL)) {
                if (pResult)
                    *pResult = 0;
                return TRUE;
            }
        }
        if (LOWORD(wParam) == ID_HELP && HIWORD(wParam) == 0 && m_pFrame && ::IsWindow(m_pFrame->GetSafeHwnd())) {
            int nHelpId = GetHotHelpId();
            AFX_CMDHANDLERINFO info;
            if (nHelpId != 0 && m_pFrame->OnCmdMsg(ID_HELP, CN_COMMAND, NULL, &info)) {
                m_pFrame->SendMessage(WM_COMMANDHELP, 0, (LPARAM)(0x10000 + nHelpId));
                if (pResult)
                    *pResult = 0;
                return TRUE;
            }
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0 && m_bSkipAltRelease) {
            // The Alt of an Alt+drag was released: no menu.
            m_bSkipAltRelease = FALSE;
            if (pResult)
                *pResult = 0;
            return TRUE;
        }
        if ((wParam & 0xFFF0) != SC_KEYMENU && LOWORD(wParam) != 0 && !m_bCustomizeMode)
            ClosePopups();
        break;
    case WM_ACTIVATEAPP:
        if (wParam == 0)
            ClosePopups();
        break;
    case WM_IDLEUPDATECMDUI:
        // Floating bars are no children of the frame: the frame's idle
        // update does not reach them.
        UpdateBars(TRUE, wParam);
        break;
    default:
        break;
    }
    return FALSE; // the frame handles the message as well
}

void CQXPCommandBars::RefreshBarManagers(BOOL bImages)
{
    // Generated icon looks (faded, shadow, disabled) are made from the
    // system colours: they are made again on their next use.
    if (bImages)
        GetGlobalImageManager()->RefreshAll();
    // The frame's managers and those of bars with their own, each once.
    std::vector<CCmdTarget*> done;
    if (m_pPaintManager) {
        done.push_back(m_pPaintManager);
        m_pPaintManager->RefreshMetrics();
    }
    if (bImages && m_pImageManager) {
        done.push_back(m_pImageManager);
        m_pImageManager->RefreshAll();
    }
    for (CQXPToolBar* pBar : m_arrBars) {
        CQXPThemePainter* pPaint = pBar->GetOwnPaintManager();
        if (pPaint && std::find(done.begin(), done.end(), pPaint) == done.end()) {
            done.push_back(pPaint);
            pPaint->RefreshMetrics();
        }
        CQXPImageManager* pImages = pBar->GetOwnImageManager();
        if (bImages && pImages && std::find(done.begin(), done.end(), pImages) == done.end()) {
            done.push_back(pImages);
            pImages->RefreshAll();
        }
    }
}

void CQXPCommandBars::UpdateCommandBars()
{
    UpdateBars(FALSE, TRUE);
}

void CQXPCommandBars::UpdateBars(BOOL bFloatingOnly, WPARAM wParam)
{
    // An update handler may remove bars (even the whole set): every bar of
    // the copy is held until the walk ends, and a bar that has left the
    // manager meanwhile is skipped.
    std::vector<CQXPToolBar*> bars = m_arrBars;
    for (CQXPToolBar* pBar : bars)
        pBar->InternalAddRef();
    for (CQXPToolBar* pBar : bars) {
        if (std::find(m_arrBars.begin(), m_arrBars.end(), pBar) == m_arrBars.end())
            continue;
        if (bFloatingOnly && (pBar->GetPosition() != qxpBarFloating || !::IsWindow(pBar->GetSafeHwnd())))
            continue;
        pBar->OnIdleUpdateCmdUI(wParam, 0);
    }
    for (CQXPToolBar* pBar : bars)
        pBar->InternalRelease();
}

void CQXPCommandBars::RecalcFrameLayout(BOOL bDelay)
{
    if (IsLayoutLocked() || !m_pFrame || !::IsWindow(m_pFrame->GetSafeHwnd()))
        return;
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(m_pFrame);
    if (!pFrame) {
        // Another window hosts the bars: it lays them out as after a resize,
        // at once (such a window has no idle layout of its own).
        SendSiteSize(m_pFrame);
        return;
    }
    if (bDelay) {
        pFrame->DelayRecalcLayout(FALSE);
        return;
    }
    pFrame->RecalcLayout();
}

void AFXAPI CQXPCommandBars::SendSiteSize(CWnd* pSite)
{
    if (!pSite || !::IsWindow(pSite->GetSafeHwnd()))
        return;
    CRect rc;
    ::GetClientRect(pSite->GetSafeHwnd(), &rc);
    pSite->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.Width(), rc.Height()));
}

void CQXPCommandBars::IdleRecalcLayout()
{
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(m_pFrame);
    if (!pFrame || !::IsWindow(pFrame->GetSafeHwnd()) || !(pFrame->m_nIdleFlags & CFrameWnd::idleLayout))
        return;
    pFrame->m_nIdleFlags &= ~CFrameWnd::idleLayout;
    RecalcFrameLayout(FALSE);
}

void AFXAPI CQXPCommandBars::ClosePopups()
{
    // Every bar that tracks, menu bar, toolbar or popup (context menus
    // too), is in the mouse manager's list; a popup that leaves tracking
    // clears its opener's open index and ends the opener's tracking.
    GetMouseManager()->SendTrackLost();
}

int CQXPCommandBars::TrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd)
{
    if (!pMenu || !::IsMenu(pMenu->GetSafeHmenu()))
        return 0;
    CWnd* pSite = pWnd ? pWnd : m_pFrame;
    if (!pSite)
        return 0;
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(this);
    pPopup->SetOwnerSite(pSite);
    pPopup->LoadMenu(pMenu, TRUE);
    int nResult = TrackPopupMenu(pPopup, nFlags, x, y, pSite);
    if (::IsWindow(pPopup->GetSafeHwnd()))
        pPopup->DestroyWindow();
    pPopup->InternalRelease();
    return nResult;
}

int AFXAPI CQXPCommandBars::TrackPopupMenu(CQXPPopupBar* pPopup, UINT nFlags, int x, int y, CWnd* pOwner,
                                           LPCRECT lpExclude, CWnd* pTarget)
{
    if (!pPopup)
        return 0;
    CQXPCommandBars* pCommandBars = pPopup->GetCommandBars();
    if (!pOwner)
        pOwner = pPopup->GetSite();
    if (!pOwner || !::IsWindow(pOwner->GetSafeHwnd()))
        return 0;
    // The owner becomes the popup's site window (TrackPopup below) and
    // receives the commands, unless a command target takes them.
    pPopup->SetCommandTarget(pTarget && ::IsWindow(pTarget->GetSafeHwnd()) ? pTarget : NULL);

    // A context menu asked for from the keyboard shows its underlines.
    const MSG* pCurrent = CWnd::GetCurrentMessage();
    if (pCommandBars && pCurrent && pCurrent->message == WM_CONTEXTMENU && pCurrent->lParam == (LPARAM)-1)
        pCommandBars->ShowKeyboardCues(TRUE);

    // Right-to-left owners open their menus leftward.
    if (::GetWindowLongPtrA(pOwner->GetSafeHwnd(), GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RIGHT))
        nFlags |= TPM_RIGHTALIGN;
    const BOOL bRecurse = (nFlags & TPM_RECURSE) != 0;
    pPopup->m_bRightButton = (nFlags & TPM_RIGHTBUTTON) != 0;
    pPopup->m_bRecursePopup = bRecurse;
    pPopup->m_bNoNotify = (nFlags & TPM_NONOTIFY) != 0;
    const int nDirection = (nFlags & TPM_RIGHTALIGN) ? (qxpPopupDown | qxpPopupLeft) : qxpPopupDown;

    ToolkitMouseManager* pMouse = GetMouseManager();
    if (bRecurse) {
        // The menus already open stay, locked while this one runs.
        pMouse->CloseUnlockedBars();
        pMouse->LockTrackedBars(TRUE);
    } else {
        if (pCommandBars)
            pCommandBars->ClosePopups();
        else
            pMouse->SendTrackLost();
        ::ReleaseCapture();
    }
    // The release of the button that asked for the menu chooses nothing.
    pMouse->SetSwallowButtonUp(TRUE);

    pPopup->InternalAddRef();
    int nResult = pPopup->TrackPopup(pOwner, x, y, (nFlags & TPM_RETURNCMD) != 0, nDirection, lpExclude);
    pPopup->m_bRecursePopup = FALSE;
    // The same bar may be opened later as an ordinary menu.
    pPopup->m_bNoNotify = FALSE;
    pPopup->InternalRelease();
    if (bRecurse)
        pMouse->LockTrackedBars(FALSE);
    return nResult;
}

CQXPPopupBar* CQXPCommandBars::CreateToolbarsPopup()
{
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(this);
    pPopup->GetControls()->Add(qxpControlButton, QXP_ID_TOOLBARSLIST);
    return pPopup;
}

void CQXPCommandBars::ContextMenu(CPoint ptScreen)
{
    if (IsCustomizeMode() || !m_pFrame || !::IsWindow(m_pFrame->GetSafeHwnd()))
        return;
    CQXPPopupBar* pPopup = CreateToolbarsPopup();
    m_pFrame->SendMessage(WM_QXP_TOOLBARCONTEXTMENU, (WPARAM)&ptScreen, (LPARAM)pPopup);
    // The toolbars list turns into its items when laid out; a manager
    // whose bars are all fixed has nothing to offer.
    pPopup->CalcDynamicLayout(0, 0);
    if (pPopup->GetControls()->GetVisibleCount() > 0) {
        ClosePopups();
        pPopup->TrackPopup(m_pFrame, ptScreen.x, ptScreen.y, FALSE);
    }
    if (::IsWindow(pPopup->GetSafeHwnd()))
        pPopup->DestroyWindow();
    pPopup->InternalRelease();
}

// ---------------------------------------------------------------------------
// Context menus

void CQXPCommandBars::AddContextMenu(CQXPPopupBar* pPopup)
{
    if (!pPopup || std::find(m_arrContextMenus.begin(), m_arrContextMenus.end(), pPopup) != m_arrContextMenus.end())
        return;
    pPopup->m_bContextMenu = TRUE;
    pPopup->SetCommandBars(this);
    pPopup->InternalAddRef();
    m_arrContextMenus.push_back(pPopup);
}

CQXPPopupBar* CQXPCommandBars::AddContextMenu(UINT nMenuId, int nSubMenu, LPCSTR lpszTitle)
{
    if (nMenuId == 0 || FindContextMenu(nMenuId))
        return NULL;
    CMenu menu;
    if (!menu.LoadMenu(nMenuId))
        return NULL;
    CMenu* pSubMenu = menu.GetSubMenu(nSubMenu);
    if (!pSubMenu)
        return NULL;
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(this);
    if (!pPopup->LoadMenu(pSubMenu, TRUE)) {
        pPopup->InternalRelease();
        return NULL;
    }
    pPopup->SetBarID(nMenuId);
    pPopup->SetTitle(lpszTitle ? lpszTitle : "");
    pPopup->GetControls()->CreateOriginalControls();
    AddContextMenu(pPopup);
    pPopup->InternalRelease(); // the list keeps it
    return pPopup;
}

CQXPPopupBar* CQXPCommandBars::GetContextMenuAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_arrContextMenus.size() ? m_arrContextMenus[(size_t)nIndex] : NULL;
}

CQXPPopupBar* CQXPCommandBars::FindContextMenu(UINT nBarID) const
{
    for (CQXPPopupBar* pPopup : m_arrContextMenus)
        if (pPopup->GetBarID() == nBarID)
            return pPopup;
    return NULL;
}

int CQXPCommandBars::TrackContextMenu(UINT nBarID, UINT nFlags, int x, int y, CWnd* pOwner)
{
    CQXPPopupBar* pPopup = FindContextMenu(nBarID);
    if (!pPopup || !m_pFrame)
        return 0;
    pPopup->InternalAddRef();
    int nResult = TrackPopupMenu(pPopup, nFlags, x, y, pOwner ? pOwner : m_pFrame);
    // A menu shown for another window than the frame gave up its manager
    // for the run: it is ours again.
    pPopup->SetCommandBars(this);
    pPopup->InternalRelease();
    return nResult;
}

void CQXPCommandBars::SetCommandUsed(int nId)
{
    if (nId == 0 || IsCommandUsed(nId))
        return;
    m_pOptions->m_usedCommands.push_back(nId);
    m_pOptions->m_bChanged = TRUE;
}

void CQXPCommandBars::SetCommandHidden(int nId, BOOL bHidden)
{
    auto it = std::find(m_pOptions->m_hiddenCommands.begin(), m_pOptions->m_hiddenCommands.end(), nId);
    if (bHidden && it == m_pOptions->m_hiddenCommands.end() && nId != 0)
        m_pOptions->m_hiddenCommands.push_back(nId);
    else if (!bHidden && it != m_pOptions->m_hiddenCommands.end())
        m_pOptions->m_hiddenCommands.erase(it);
}

void CQXPCommandBars::HideCommands(const UINT* pIds, int nCount)
{
    for (int i = 0; pIds && i < nCount; i++)
        SetCommandHidden((int)pIds[i], TRUE);
}

BOOL CQXPCommandBars::IsCommandInHiddenList(int nId) const
{
    return std::find(m_pOptions->m_hiddenCommands.begin(), m_pOptions->m_hiddenCommands.end(), nId) != m_pOptions->m_hiddenCommands.end();
}

BOOL CQXPCommandBars::IsCommandHidden(int nId) const
{
    return nId != 0 && IsCommandInHiddenList(nId) && !IsCommandUsed(nId);
}

namespace {

// Whether every control of a submenu is hidden. Submenus nested deeper than
// 16 levels (a bar that reaches itself again) count as not hidden.
BOOL IsSubmenuHidden(const CQXPCommandBars* pBars, CQXPCommandBar* pBar, int nDepth)
{
    if (!pBar || nDepth > 16)
        return FALSE;
    CQXPControls* pControls = pBar->GetControls();
    int nCounted = 0;
    for (int i = 0; i < pControls->GetCount(); i++) {
        CQXPControl* pControl = pControls->GetAt(i);
        if (pControl->IsTemporary())
            continue; // the expand button and other generated items
        nCounted++;
        if (pBars->IsCommandHidden(pControl->GetID()))
            continue;
        if (!CQXPControl::IsPopupControlType(pControl->GetType()) || !pControl->GetCommandBar() ||
            !IsSubmenuHidden(pBars, pControl->GetCommandBar(), nDepth + 1))
            return FALSE;
    }
    return nCounted > 0;
}

} // namespace

BOOL CQXPCommandBars::IsControlHidden(CQXPControl* pControl) const
{
    if (!pControl)
        return FALSE;
    if (IsCommandHidden(pControl->GetID()))
        return TRUE;
    return m_pOptions->m_bAutoHideUnusedPopups && CQXPControl::IsPopupControlType(pControl->GetType()) &&
           IsSubmenuHidden(this, pControl->GetCommandBar(), 0);
}

void CQXPCommandBars::ResetUsageData()
{
    if (!m_pOptions->m_usedCommands.empty())
        m_pOptions->m_bChanged = TRUE;
    m_pOptions->m_usedCommands.clear();
}

BOOL CQXPCommandBars::IsCommandUsed(int nId) const
{
    return std::find(m_pOptions->m_usedCommands.begin(), m_pOptions->m_usedCommands.end(), nId) != m_pOptions->m_usedCommands.end();
}

// ---------------------------------------------------------------------------
// Options

void CQXPCommandBars::SetLargeIcons(BOOL bLarge)
{
    bLarge = bLarge ? TRUE : FALSE;
    if (bLarge == m_pOptions->m_bLargeIcons)
        return;
    m_pOptions->m_bLargeIcons = bLarge;
    RedrawCommandBars();
}

BOOL CQXPCommandBars::IsLayoutRTL() const
{
    if (!m_pFrame || !::IsWindow(m_pFrame->GetSafeHwnd()))
        return m_bRightToLeft;
    return (::GetWindowLongPtrA(m_pFrame->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
}

void CQXPCommandBars::RedrawCommandBars()
{
    UpdateFrameTheme();
    // One frame layout at the end, not one per bar.
    LockLayout(TRUE);
    for (CQXPToolBar* pBar : m_arrBars) {
        for (int i = 0; i < pBar->GetControlCount(); i++)
            pBar->GetControl(i)->RefreshMetrics();
        pBar->DelayLayout();
        if (::IsWindow(pBar->GetSafeHwnd()))
            ::InvalidateRect(pBar->GetSafeHwnd(), NULL, FALSE);
    }
    HWND hWndFrame = m_pFrame ? m_pFrame->GetSafeHwnd() : NULL;
    if (hWndFrame && ::IsWindow(hWndFrame)) {
        // The document tabs follow the new look too, drawn by the bars'
        // own paint manager when they have one.
        QxSetFramePaintManager(hWndFrame, m_pPaintManager);
        CMDIFrameWnd* pMDIFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pFrame);
        if (pMDIFrame && ::IsWindow(pMDIFrame->m_hWndMDIClient))
            ::SendMessageA(pMDIFrame->m_hWndMDIClient, QxGetTabClientRefreshMessage(), 0, 0);
        if (HWND hWndStatus = ::GetDlgItem(hWndFrame, AFX_IDW_STATUS_BAR))
            ::InvalidateRect(hWndStatus, NULL, FALSE);
    }
    LockLayout(FALSE);
    if (!hWndFrame || !::IsWindow(hWndFrame))
        return;
    RecalcFrameLayout(FALSE);
    // The frame's layout placed the docked bars; floating ones size their
    // own windows for the new metrics.
    for (CQXPToolBar* pBar : m_arrBars) {
        if (pBar->IsFloating() && pBar->IsVisible() && ::IsWindow(pBar->GetSafeHwnd()))
            pBar->OnRecalcLayout();
        else
            pBar->m_nPending &= ~qxpPendingLayout;
    }
    ::SendMessageA(hWndFrame, WM_NCPAINT, 1, 0);
    ::RedrawWindow(hWndFrame, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

namespace {

// The options' exchange: on the process-wide INI file when the profile store
// uses one (so options and layout share one store), else on the
// application's profile.
// The caller releases the exchange.
CQXPPropExchange* OpenOptionsExchange(BOOL bLoading, LPCSTR lpszSection)
{
    CString strIni = CQXProfileStore::GetIniPath();
    if (!strIni.IsEmpty()) {
        CQXPPropExchangeIniFile* pIni = new CQXPPropExchangeIniFile(bLoading, NULL, lpszSection);
        pIni->AssignFile(strIni);
        return pIni;
    }
    PropExchangeSectionPtr profile;
    CQXPPropExchange* pPX = profile.OpenProfile(bLoading, lpszSection);
    if (pPX)
        pPX->InternalAddRef();
    return pPX;
}

} // namespace

void CQXPCommandBars::SaveOptions(LPCSTR lpszProfileName)
{
    CString strSection;
    strSection.Format("%s-Options", lpszProfileName);
    PropExchangeSectionPtr px(OpenOptionsExchange(FALSE, strSection));
    CQXPPropExchange* pPX = px.get();
    if (!pPX)
        return;
    pPX->ClearSection();
    m_pOptions->DoPropExchange(pPX, FALSE);
}

void CQXPCommandBars::LoadOptions(LPCSTR lpszProfileName)
{
    CString strSection;
    strSection.Format("%s-Options", lpszProfileName);
    PropExchangeSectionPtr px(OpenOptionsExchange(TRUE, strSection));
    CQXPPropExchange* pPX = px.get();
    if (!pPX)
        return;
    BOOL bLarge = m_pOptions->m_bLargeIcons;
    m_pOptions->DoPropExchange(pPX, FALSE);
    if (bLarge != m_pOptions->m_bLargeIcons)
        RedrawCommandBars();
}

// ---------------------------------------------------------------------------
// Keyboard cues, mnemonics and the frame's messages

namespace {

// Redraws the manager's shown bars and the open popups.
void RedrawShownBars(const std::vector<CQXPToolBar*>& bars, CQXPCommandBars* pCommandBars)
{
    for (CQXPToolBar* pBar : bars) {
        if (::IsWindow(pBar->GetSafeHwnd()) && ::IsWindowVisible(pBar->GetSafeHwnd()))
            pBar->Redraw(NULL, FALSE);
    }
    for (CQXPCommandBar* pBar : TrackedBarsNewestFirst()) {
        if (pBar->GetCommandBars() == pCommandBars && pBar->GetType() == qxpBarTypePopup &&
            ::IsWindow(pBar->GetSafeHwnd()))
            pBar->Redraw(NULL, FALSE);
    }
}

BOOL IsBarShown(CQXPCommandBar* pBar)
{
    return pBar && pBar->IsVisible() && ::IsWindow(pBar->GetSafeHwnd()) && ::IsWindowVisible(pBar->GetSafeHwnd());
}

// The mnemonic character of a caption (after a single '&'), 0 when none.
UINT CaptionMnemonic(const CString& strCaption)
{
    for (int i = 0; i + 1 < strCaption.GetLength(); i++) {
        if (strCaption[i] != '&')
            continue;
        if (strCaption[i + 1] == '&') {
            i++; // "&&" is a plain ampersand
            continue;
        }
        return (UINT)(BYTE)strCaption[i + 1];
    }
    return 0;
}

} // namespace

void CQXPCommandBars::SetKeyboardCues(int nMode)
{
    m_pOptions->m_nKeyboardCuesShow = nMode;
    BOOL bShown = nMode != 1;
    BOOL bDynamic = FALSE;
    if (nMode == 2) {
        BOOL bSystemCues = TRUE;
        if (::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &bSystemCues, 0) && !bSystemCues) {
            bDynamic = TRUE;
            bShown = FALSE;
        }
    }
    BOOL bChanged = bShown != m_bKeyboardCuesShown;
    m_bDynamicCues = bDynamic;
    m_bKeyboardCuesShown = bShown;
    if (bChanged)
        RedrawShownBars(m_arrBars, this);
}

void CQXPCommandBars::ShowKeyboardCues(BOOL bShow)
{
    bShow = bShow || m_bCustomizeMode ? TRUE : FALSE;
    if (!m_bDynamicCues || bShow == m_bKeyboardCuesShown)
        return;
    m_bKeyboardCuesShown = bShow;
    RedrawShownBars(m_arrBars, this);
}

BOOL CQXPCommandBars::ProcessMnemonicKey(UINT nKey)
{
    if (m_pOptions->m_nKeyboardCuesUse == 2)
        return FALSE;
    // A keypad digit, when allowed, stands for the digit itself.
    if (nKey >= VK_NUMPAD0 && nKey <= VK_NUMPAD9) {
        if (!m_pOptions->m_bNumericKeypadMnemonics)
            return FALSE;
        nKey = '0' + (nKey - VK_NUMPAD0);
    }
    if ((::MapVirtualKeyA(nKey, 2 /* MAPVK_VK_TO_CHAR */) & 0x7FFF) == 0)
        return FALSE;
    const BOOL bAllBars = (m_pOptions->m_nKeyboardCuesUse & 1) != 0;
    const BOOL bFirstLetters = (m_pOptions->m_nKeyboardCuesUse & 4) == 0;

    // The bar to start with: the one that tracks, else the menu bar, else
    // (searching all bars) the first shown one.
    std::vector<CQXPToolBar*> shown;
    for (CQXPToolBar* pBar : m_arrBars) {
        if (IsBarShown(pBar))
            shown.push_back(pBar);
    }
    CQXPToolBar* pStart = NULL;
    for (CQXPToolBar* pBar : shown) {
        if (pBar->IsTrackingMode()) {
            pStart = pBar;
            break;
        }
    }
    if (!pStart && IsBarShown(m_pMenuBar))
        pStart = m_pMenuBar;
    if (!pStart && bAllBars && !shown.empty())
        pStart = shown.front();
    if (!pStart)
        return FALSE;
    // The bar may take the key itself before any caption is searched.
    pStart->InternalAddRef();
    BOOL bTaken = pStart->PreviewMnemonic(nKey);
    pStart->InternalRelease();
    if (bTaken)
        return TRUE;

    // The bars in search order: the start bar, then (searching all bars)
    // the shown bars after it, wrapping around.
    std::vector<CQXPToolBar*> order(1, pStart);
    if (bAllBars) {
        auto it = std::find(shown.begin(), shown.end(), pStart);
        size_t nFrom = it == shown.end() ? 0 : (size_t)(it - shown.begin()) + 1;
        for (size_t k = 0; k < shown.size(); k++) {
            CQXPToolBar* pBar = shown[(nFrom + k) % shown.size()];
            if (pBar != pStart)
                order.push_back(pBar);
        }
    }

    CQXPToolBar* pAmpBar = NULL;
    int nAmpIndex = -1, nAmpCount = 0;
    CQXPToolBar* pFirstBar = NULL;
    int nFirstIndex = -1, nFirstCount = 0;
    for (CQXPToolBar* pBar : order) {
        CQXPControls* pControls = pBar->GetControls();
        int nCount = pControls->GetCount();
        // The start bar is searched from its selected control onwards.
        int nFrom = (pBar == pStart && pBar->GetSelectedIndex() >= 0) ? pBar->GetSelectedIndex() + 1 : 0;
        const BOOL bFirstAllowed =
            bFirstLetters && (pBar->GetType() == qxpBarTypeMenuBar || pBar->IsTrackingMode());
        for (int k = 0; k < nCount; k++) {
            int i = (nFrom + k) % nCount;
            CQXPControl* pControl = pControls->GetAt(i);
            if (!pControl || !pControl->IsVisible() || !pControl->GetEnabled())
                continue;
            CString strCaption = pControl->GetCaption();
            if (strCaption.IsEmpty())
                continue;
            UINT nMnemonic = CaptionMnemonic(strCaption);
            if (nMnemonic != 0) {
                if (CQXPKeyboardShortcuts::IsMnemonicMatch(nMnemonic, nKey)) {
                    if (nAmpCount++ == 0) {
                        pAmpBar = pBar;
                        nAmpIndex = i;
                    }
                }
            } else if (bFirstAllowed && CQXPKeyboardShortcuts::IsMnemonicMatch((UINT)(BYTE)strCaption[0], nKey)) {
                if (nFirstCount++ == 0) {
                    pFirstBar = pBar;
                    nFirstIndex = i;
                }
            }
        }
    }
    CQXPToolBar* pBar = pAmpBar ? pAmpBar : pFirstBar;
    int nIndex = pAmpBar ? nAmpIndex : nFirstIndex;
    BOOL bAmbiguous = pAmpBar ? nAmpCount > 1 : nFirstCount > 1;
    if (!pBar)
        return FALSE;

    pBar->InternalAddRef();
    if (!pBar->IsTrackingMode())
        ClosePopups();
    ShowKeyboardCues(TRUE);
    m_nKeyboardTipsLevel = 1;
    if (!pBar->IsTrackingMode())
        pBar->SetTrackingMode(TRUE, FALSE, TRUE);
    pBar->SetSelected(nIndex, 2);
    if (!bAmbiguous && pBar->IsTrackingMode()) {
        CQXPControl* pControl = pBar->GetControl(nIndex);
        if (pControl && pControl->GetCommandBar()) {
            pBar->m_bAnimateNextPopup = TRUE;
            pBar->SetPopuped(nIndex);
        } else if (pControl) {
            pControl->InternalAddRef();
            pControl->OnUnderlineActivate();
            pControl->InternalRelease();
        }
    }
    pBar->InternalRelease();
    return TRUE;
}

// The wheel over the ribbon (the bar with id 1 of type 3) steps its tabs:
// towards the first tab for a positive delta. Nothing is open then.
BOOL CQXPCommandBars::ScrollRibbonTabs(const MSG* pMsg)
{
    if (GetMouseManager()->GetTrackedCount() > 0)
        return FALSE;
    CQXPToolBar* pBar = FindCommandBar(1);
    if (!pBar || pBar->GetType() != qxpBarTypeRibbon || !pBar->IsVisible() || !pBar->GetSafeHwnd())
        return FALSE;
    CPoint pt((short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam));
    CRect rc;
    ::GetWindowRect(pBar->GetSafeHwnd(), &rc);
    if (!rc.PtInRect(pt) || (m_pKeyboardTips && m_pKeyboardTips->IsShown()))
        return FALSE;
    return pBar->ScrollTabs((short)HIWORD(pMsg->wParam) <= 0);
}

BOOL CQXPCommandBars::PreTranslateFrameMessage(MSG* pMsg)
{
    if (!pMsg)
        return FALSE;
    const UINT message = pMsg->message;
    ToolkitMouseManager* pMouse = GetMouseManager();
    const BOOL bTracking = pMouse->GetTrackedCount() > 0;

    // Alt (alone or with a key) on the active frame while no bar tracks.
    if (message == WM_SYSKEYDOWN && (HIWORD(pMsg->lParam) & KF_ALTDOWN) && pMouse->GetTrackingLock() == 0 &&
        !bTracking && m_pFrame && ::IsWindow(m_pFrame->GetSafeHwnd()) &&
        ::GetActiveWindow() == ::GetAncestor(m_pFrame->GetSafeHwnd(), GA_ROOT)) {
        if (pMsg->wParam == VK_MENU) {
            m_bSkipAltRelease = FALSE;
            // Alt alone: the underlines show; the frame still makes the
            // menu key of it when Alt is released.
            ShowKeyboardCues(TRUE);
            return FALSE;
        }
        if (ProcessMnemonicKey((UINT)pMsg->wParam))
            return TRUE;
    }
    if ((message == WM_KEYUP || message == WM_SYSKEYUP) && m_bDynamicCues && m_bKeyboardCuesShown && !bTracking)
        ShowKeyboardCues(FALSE);
    if ((message == WM_CONTEXTMENU || message == WM_SYSKEYUP) && bTracking) {
        // The tracking bars' keyboard hooks decide (a context-menu key in
        // an open menu); the frame never sees it.
        CKeyboardHook::Instance()->NotifyHooks(WM_CONTEXTMENU, pMsg->wParam, pMsg->lParam);
        return TRUE;
    }
    if (message == WM_MOUSEWHEEL) {
        // While bars track, their keyboard sinks see the wheel: the selected
        // control (a combo box steps its list), a scrolling popup. A sink
        // may pass it on (an open auto-complete list); what none of them
        // takes is still kept from the document under the open menu.
        const int nTracked = pMouse->GetTrackedCount();
        if (nTracked == 0)
            return ScrollRibbonTabs(pMsg);
        // A window of a tracking bar (its focused edit or combo box, the
        // popup itself) handles its own wheel.
        for (int i = 0; i < nTracked; i++) {
            CQXPCommandBar* pBar = pMouse->GetTrackedBar(i);
            HWND hWndBar = pBar ? pBar->GetSafeHwnd() : NULL;
            if (hWndBar && pMsg->hwnd && (pMsg->hwnd == hWndBar || ::IsChild(hWndBar, pMsg->hwnd)))
                return FALSE;
        }
        CKeyboardHook* pHook = CKeyboardHook::Instance();
        return pHook->GetCount() == 0 || pHook->NotifyHooks(WM_MOUSEWHEEL, pMsg->wParam, pMsg->lParam);
    }
    if (message < WM_KEYFIRST || message > WM_KEYLAST || m_pShortcutManager == NULL)
        return FALSE;
    return m_pShortcutManager->TranslateAccelerator(m_pFrame, pMsg);
}

void CQXPCommandBars::OnSetPreviewMode(BOOL bPreview)
{
    bPreview = bPreview ? TRUE : FALSE;
    if (m_pShortcutManager != NULL)
        m_pShortcutManager->OnSetPreviewMode(bPreview);
    if (bPreview == m_bPreviewMode)
        return;
    m_bPreviewMode = bPreview;
    std::vector<CQXPToolBar*> bars = m_arrBars;
    for (CQXPToolBar* pBar : bars)
        pBar->InternalAddRef();
    if (bPreview) {
        // Nothing may stay open or tracking over the preview.
        ClosePopups();
        HideKeyboardTips();
        for (CQXPToolBar* pBar : bars)
            pBar->SetTemporarilyHidden(TRUE);
        for (int i = 0; i < 4; i++) {
            HWND hDock = m_pDocks[i] ? m_pDocks[i]->GetSafeHwnd() : NULL;
            m_bDockBarShownBeforePreview[i] = hDock && (::GetWindowLongPtrA(hDock, GWL_STYLE) & WS_VISIBLE) != 0;
            if (m_bDockBarShownBeforePreview[i])
                ::ShowWindow(hDock, SW_HIDE);
        }
    } else {
        // The dock bars first, so that the bars come back into them.
        for (int i = 0; i < 4; i++) {
            HWND hDock = m_pDocks[i] ? m_pDocks[i]->GetSafeHwnd() : NULL;
            if (hDock && ::IsWindow(hDock) && m_bDockBarShownBeforePreview[i])
                ::ShowWindow(hDock, SW_SHOWNA);
            m_bDockBarShownBeforePreview[i] = FALSE;
        }
        for (CQXPToolBar* pBar : bars)
            pBar->SetTemporarilyHidden(FALSE);
    }
    for (CQXPToolBar* pBar : bars)
        pBar->InternalRelease();
    RecalcFrameLayout(FALSE);
}

// --- frame theming ---------------------------------------------------------------------

static CQXPCommandBars::PFNCREATEFRAMEHOOK s_pfnCreateFrameHook = NULL;

void AFXAPI CQXPCommandBars::SetFrameHookFactory(PFNCREATEFRAMEHOOK pfnCreate) { s_pfnCreateFrameHook = pfnCreate; }

void CQXPCommandBars::EnableFrameTheme(BOOL bEnable)
{
    m_bFrameTheme = bEnable;
    UpdateFrameTheme();
}

void CQXPCommandBars::UpdateFrameTheme()
{
    HWND hWndSite = m_pFrame ? m_pFrame->GetSafeHwnd() : NULL;
    BOOL bWanted = m_bFrameTheme && s_pfnCreateFrameHook && hWndSite && ::IsWindow(hWndSite);
    if (bWanted) {
        const LONG lStyle = ::GetWindowLongA(hWndSite, GWL_STYLE);
        const int nTheme = GetPaintManager() ? GetPaintManager()->GetCurrentTheme() : 0;
        bWanted = !(lStyle & WS_CHILD) && (lStyle & WS_CAPTION) == WS_CAPTION &&
                  (nTheme == qxpThemeOffice2007 || nTheme == qxpThemeRibbon);
    }
    if (bWanted && !m_pFrameThemeHook) {
        m_pFrameThemeHook = s_pfnCreateFrameHook(this);
    } else if (!bWanted && m_pFrameThemeHook) {
        CWindowHook* pHook = m_pFrameThemeHook;
        m_pFrameThemeHook = NULL; // cleared before it goes: nothing reaches it twice
        delete pHook;
    }
}
