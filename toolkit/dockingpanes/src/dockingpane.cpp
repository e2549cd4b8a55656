// One tool pane and the window it hosts.
#include <qx/dockingpane.h>
#include <qx/panelayout.h>
#include <qx/panemanager.h>
#include <qx/propexchange.h>
#include <qx/tabbedcontainer.h>

#include <string>

CQXPDockingPane::CQXPDockingPane(DockingLayoutStore* pLayout)
    : CPaneBase(paneTypeDockingPane, pLayout), m_hwndChild(NULL), m_nID(0), m_nIconID(-1), m_dwOptions(0),
      m_nHelpID(0), m_nTag(0), m_clrTab((COLORREF)-1), m_dwEnabled(3)
{
    m_ptMinTrackSize.x = m_ptMinTrackSize.y = 0;
    m_ptMaxTrackSize.x = m_ptMaxTrackSize.y = 32000;
    m_nLoadedHolders[0] = m_nLoadedHolders[1] = m_nLoadedHolders[2] = 0;
}

CQXPDockingPane::~CQXPDockingPane() {}

void CQXPDockingPane::SetID(int nID)
{
    m_nID = nID;
    char sz[512];
    if (nID > 0 && nID < 0x10000 && ::LoadStringA(AfxGetResourceHandle(), (UINT)nID, sz, sizeof(sz)) > 0)
        SetTitle(sz);
}

void CQXPDockingPane::SetTitle(LPCSTR lpszTitle)
{
    m_strTitle = lpszTitle ? lpszTitle : "";
    if (m_pParentContainer)
        m_pParentContainer->UpdatePanes(FALSE);
}

CString CQXPDockingPane::GetTitle() const
{
    int n = m_strTitle.Find('\n');
    return n < 0 ? m_strTitle : m_strTitle.Left(n);
}

CString CQXPDockingPane::GetShortTitle() const
{
    int n = m_strTitle.Find('\n');
    return n < 0 ? m_strTitle : m_strTitle.Mid(n + 1);
}

DWORD CQXPDockingPane::GetOptions() const
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    return m_dwOptions | (pManager ? pManager->m_dwDefaultPaneOptions : 0);
}

COLORREF AFXAPI CQXPDockingPane::DefaultTabColor(int nID)
{
    // The remainder of a negative id is negative: fold it into 0..7.
    int n = ((nID % 8) + 8) % 8;
    return 0x1000000 + (COLORREF)n;
}

COLORREF CQXPDockingPane::GetTabColor() const
{
    if (m_clrTab != (COLORREF)-1)
        return m_clrTab;
    if (m_hwndChild && ::IsWindow(m_hwndChild)) {
        LRESULT lr = ::SendMessage(m_hwndChild, WM_QX_GETTABCOLOR, 0, 0);
        if (lr != 0)
            return (COLORREF)lr;
    }
    return DefaultTabColor(m_nID);
}

BOOL CQXPDockingPane::IsSelected() const
{
    CQXPDockingPaneTabbedContainer* p = dynamic_cast<CQXPDockingPaneTabbedContainer*>(m_pParentContainer);
    return p && p->GetSelected() == this;
}

BOOL CQXPDockingPane::IsHidden() const
{
    return m_pParentContainer && m_pParentContainer->IsHidden();
}

BOOL CQXPDockingPane::IsFloating() const
{
    if (!m_pParentContainer || m_pParentContainer->IsHidden())
        return FALSE;
    return m_pLayout && m_pLayout->GetPaneDirection(this) == 4;
}

HWND CQXPDockingPane::GetHostWindow() const
{
    HWND h = m_pParentContainer ? m_pParentContainer->GetPaneHwnd() : NULL;
    return h && ::IsWindow(h) ? h : NULL;
}

void CQXPDockingPane::Attach(HWND hWnd)
{
    m_hwndChild = hWnd;
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (pManager)
        pManager->RecalcFrameLayout(this, TRUE);
    HWND hHost = GetHostWindow();
    if (hWnd && hHost && ::GetParent(hWnd) != hHost)
        ::SetParent(hWnd, hHost);
    if (m_pParentContainer)
        m_pParentContainer->UpdatePanes(TRUE);
}

HWND CQXPDockingPane::Detach()
{
    HWND h = m_hwndChild;
    if (h && ::IsWindow(h)) {
        ::ShowWindow(h, SW_HIDE);
        CQXPDockingPaneManager* pManager = GetDockingPaneManager();
        if (pManager && pManager->GetSite())
            ::SetParent(h, pManager->GetSite());
    }
    m_hwndChild = NULL;
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->RecalcFrameLayout(this, TRUE);
    return h;
}

void CQXPDockingPane::SetParentContainer(CPaneBase* pContainer)
{
    m_pParentContainer = pContainer;
    if (!m_hwndChild || !::IsWindow(m_hwndChild))
        return;
    if (pContainer) {
        HWND hHost = GetHostWindow();
        if (hHost && ::GetParent(m_hwndChild) != hHost)
            ::SetParent(m_hwndChild, hHost);
    } else {
        ::ShowWindow(m_hwndChild, SW_HIDE);
        CQXPDockingPaneManager* pManager = GetDockingPaneManager();
        if (pManager && pManager->GetSite())
            ::SetParent(m_hwndChild, pManager->GetSite());
    }
}

void CQXPDockingPane::OnSizeParent(HWND hParent, const RECT& rect, AFX_SIZEPARENTPARAMS* lpParams)
{
    m_rcWindow = rect;
    if (!lpParams || !m_hwndChild || !::IsWindow(m_hwndChild))
        return;
    HWND hHost = GetHostWindow();
    if (hHost && ::GetParent(m_hwndChild) != hHost)
        ::SetParent(m_hwndChild, hHost);
    SetWindowRect(hParent, rect);
}

void CQXPDockingPane::SetWindowRect(HWND hContainer, const RECT& rect, BOOL bRecord)
{
    if (bRecord)
        m_rcWindow = rect;
    if (!m_hwndChild || !::IsWindow(m_hwndChild))
        return;
    RECT rc = rect;
    HWND hHost = ::GetParent(m_hwndChild);
    if (hContainer && hHost && hContainer != hHost)
        ::MapWindowPoints(hContainer, hHost, (LPPOINT)&rc, 2);
    ::MoveWindow(m_hwndChild, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
    ::EnableWindow(m_hwndChild, (m_dwEnabled & 1) != 0);
}

void CQXPDockingPane::ShowChild(BOOL bShow)
{
    if (m_hwndChild && ::IsWindow(m_hwndChild))
        ::ShowWindow(m_hwndChild, bShow ? SW_SHOW : SW_HIDE);
}

void CQXPDockingPane::Show(BOOL bSetFocus)
{
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->ShowPane(this, bSetFocus);
}

void CQXPDockingPane::Select()
{
    Show(TRUE);
}

void CQXPDockingPane::SetFocus()
{
    if (!m_hwndChild || !::IsWindow(m_hwndChild))
        return;
    if (!IsFocus())
        ::SetFocus(m_hwndChild);
}

BOOL CQXPDockingPane::IsFocus() const
{
    HWND hFocus = ::GetFocus();
    return m_hwndChild && hFocus && (hFocus == m_hwndChild || ::IsChild(m_hwndChild, hFocus));
}

void CQXPDockingPane::Close()
{
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->ClosePane(this);
}

void CQXPDockingPane::Hide()
{
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->HidePane(this);
}

void CQXPDockingPane::GetMinMaxInfo(MINMAXINFO* pMinMax) const
{
    ZeroMemory(pMinMax, sizeof(MINMAXINFO));
    pMinMax->ptMinTrackSize = m_ptMinTrackSize;
    pMinMax->ptMaxTrackSize = m_ptMaxTrackSize;
}

void CQXPDockingPane::Copy(const CQXPDockingPane* pOther)
{
    m_szDocking = pOther->m_szDocking;
    m_strTitle = pOther->m_strTitle;
    m_nIconID = pOther->m_nIconID;
    m_dwOptions = pOther->m_dwOptions;
    m_nTag = pOther->m_nTag;
    m_nID = pOther->m_nID;
    m_dwEnabled = pOther->m_dwEnabled;
    m_ptMinTrackSize = pOther->m_ptMinTrackSize;
    m_ptMaxTrackSize = pOther->m_ptMaxTrackSize;
    m_clrTab = pOther->m_clrTab;
    m_nHelpID = pOther->m_nHelpID;
    m_hwndChild = NULL;
}

CPaneBase* CQXPDockingPane::Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap, DWORD dwIgnoredOptions)
{
    CPaneBase* pBase = CPaneBase::Clone(pLayout, pMap, dwIgnoredOptions);
    if (CQXPDockingPane* pClone = dynamic_cast<CQXPDockingPane*>(pBase))
        pClone->Copy(this);
    return pBase;
}

BOOL CQXPDockingPane::DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& ctx)
{
    CPaneBase::DoPropExchange(pPX, ctx);
    ExchangeTextProp(pPX, "Title", &m_strTitle);
    ExchangeIntProp(pPX, "ID", &m_nID, 0);
    ExchangeIntProp(pPX, "IconID", &m_nIconID, -1);
    ExchangeIntProp(pPX, "Options", (UINT*)&m_dwOptions, 0u);
    int holders[3] = {0, 0, 0};
    if (pPX->IsStoring()) {
        if (DockingPaneRecord* pRec = m_pLayout ? m_pLayout->FindRecord(this) : NULL) {
            holders[0] = ctx.IndexOf(pRec->pDockingHolder);
            holders[1] = ctx.IndexOf(pRec->pFloatingHolder);
            holders[2] = ctx.IndexOf(pRec->pLastHolder);
        }
    }
    ExchangeIntProp(pPX, "DockingHolder", &holders[0], 0);
    ExchangeIntProp(pPX, "FloatingHolder", &holders[1], 0);
    ExchangeIntProp(pPX, "LastHolder", &holders[2], 0);
    ExchangeIntProp(pPX, "MinTrackX", &m_ptMinTrackSize.x, 0L);
    ExchangeIntProp(pPX, "MinTrackY", &m_ptMinTrackSize.y, 0L);
    ExchangeIntProp(pPX, "MaxTrackX", &m_ptMaxTrackSize.x, 32000L);
    ExchangeIntProp(pPX, "MaxTrackY", &m_ptMaxTrackSize.y, 32000L);
    if (pPX->GetSchema() > 9) {
        int nColor = (int)m_clrTab;
        ExchangeIntProp(pPX, "TabColor", &nColor, -1);
        m_clrTab = (COLORREF)nColor;
        ExchangeIntProp(pPX, "HelpId", &m_nHelpID, 0);
        ExchangeIntProp(pPX, "Tag", &m_nTag, 0);
    }
    if (pPX->IsLoading()) {
        if (m_nID <= 0)
            return FALSE;
        for (int i = 0; i < 3; ++i) {
            m_nLoadedHolders[i] = holders[i];
            // A holder names an object of this layout (0: none).
            if (holders[i] != 0 && !ctx.Lookup(holders[i]))
                return FALSE;
        }
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Accessibility.

namespace {

BSTR ToBstr(const CString& s)
{
    int n = ::MultiByteToWideChar(CP_ACP, 0, s, -1, NULL, 0);
    std::wstring w(n > 0 ? n : 1, L'\0');
    if (n > 0)
        ::MultiByteToWideChar(CP_ACP, 0, s, -1, &w[0], n);
    return ::SysAllocString(w.c_str());
}

} // namespace

HRESULT CQXPDockingPane::get_accParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_POINTER;
    *ppdispParent = NULL;
    HWND hHost = GetHostWindow();
    if (!hHost)
        return E_FAIL;
    return AccessibleObjectFromWindow(hHost, (DWORD)OBJID_CLIENT, IID_IDispatch, (void**)ppdispParent);
}

HRESULT CQXPDockingPane::get_accChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_POINTER;
    *pcountChildren = IsAttached() ? 1 : 0;
    return S_OK;
}

HRESULT CQXPDockingPane::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_POINTER;
    *ppdispChild = NULL;
    if (GetChildIndex(&varChild) != 1 || !IsAttached())
        return E_INVALIDARG;
    return AccessibleObjectFromWindow(m_hwndChild, (DWORD)OBJID_WINDOW, IID_IDispatch, (void**)ppdispChild);
}

HRESULT CQXPDockingPane::get_accName(VARIANT varChild, BSTR* pszName)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    *pszName = ToBstr(GetShortTitle());
    return S_OK;
}

HRESULT CQXPDockingPane::get_accDescription(VARIANT varChild, BSTR* pszDescription)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    *pszDescription = ToBstr(GetTitle());
    return S_OK;
}

HRESULT CQXPDockingPane::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    pvarRole->vt = VT_I4;
    pvarRole->lVal = ROLE_SYSTEM_PAGETAB;
    return S_OK;
}

HRESULT CQXPDockingPane::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    pvarState->vt = VT_I4;
    pvarState->lVal = STATE_SYSTEM_SELECTABLE | (IsClosed() ? STATE_SYSTEM_INVISIBLE : 0) |
                      (IsSelected() ? STATE_SYSTEM_SELECTED : 0);
    return S_OK;
}

HRESULT CQXPDockingPane::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    *pszDefaultAction = ::SysAllocString(L"Switch");
    return S_OK;
}

HRESULT CQXPDockingPane::accSelect(long /*flagsSelect*/, VARIANT varChild)
{
    return accDoDefaultAction(varChild);
}

HRESULT CQXPDockingPane::accDoDefaultAction(VARIANT varChild)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->ShowPane(this);
    return S_OK;
}

HRESULT CQXPDockingPane::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    HWND hHost = GetHostWindow();
    RECT rc = {0, 0, 0, 0};
    if (hHost) {
        ::GetWindowRect(hHost, &rc);
        // Several panes share the place: the location is this pane's tab.
        CQXPDockingPaneTabbedContainer* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(m_pParentContainer);
        int n = t ? t->IndexOfChild(this) : -1;
        if (t && t->GetPaneCount() > 1 && n >= 0 && n < (int)t->GetTabRects().size()) {
            RECT tab = t->GetTabRects()[n];
            ::OffsetRect(&tab, rc.left, rc.top);
            rc = tab;
        }
    }
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.right - rc.left;
    *pcyHeight = rc.bottom - rc.top;
    return S_OK;
}

HRESULT CQXPDockingPane::accHitTest(long /*xLeft*/, long /*yTop*/, VARIANT* pvarChild)
{
    pvarChild->vt = VT_I4;
    pvarChild->lVal = CHILDID_SELF;
    return S_OK;
}
