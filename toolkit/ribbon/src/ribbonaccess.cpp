// ribbonaccess.cpp - the ribbon as accessibility clients see it.
//
// The bar's object answers for its visible controls as every bar's does
// (child ids 1..n), then for two kinds of objects of its own: the tab list
// (child n + 1: role page tab list, one page tab per tab) and one grouping
// per shown group of the selected tab (children n + 2 ...: the group's
// visible controls, answered through the bar's object). Sub-objects hold a
// reference on the bar's object and answer CO_E_OBJNOTCONNECTED once the
// bar is gone.
#include <qx/cbaccess.h>
#include <qx/ribbonaccess.h>
#include <qx/ribbonbar.h>

#include <oleacc.h>

namespace {

// A caption as a name: "&" marks dropped ("&&" keeps one).
CString NameOfCaption(const CString& str)
{
    CString out;
    for (int i = 0; i < str.GetLength(); i++) {
        if (str[i] == '&') {
            if (i + 1 < str.GetLength() && str[i + 1] == '&')
                out += '&', i++;
            continue;
        }
        out += str[i];
    }
    return out;
}

HRESULT RoleAnswer(VARIANT* pvar, long nRole)
{
    if (!pvar)
        return E_POINTER;
    ::VariantInit(pvar);
    pvar->vt = VT_I4;
    pvar->lVal = nRole;
    return S_OK;
}

HRESULT LocationAnswer(HWND hWnd, CRect rc, long* px, long* py, long* pcx, long* pcy)
{
    if (!px || !py || !pcx || !pcy)
        return E_POINTER;
    ::MapWindowPoints(hWnd, NULL, (POINT*)&rc, 2);
    *px = rc.left;
    *py = rc.top;
    *pcx = rc.Width();
    *pcy = rc.Height();
    return S_OK;
}

// What every sub-object of the ribbon shares: its bar's object and the
// parent it names.
class CRibbonSubAccessible : public CCmdTarget, public CQXPAccessibleBase {
public:
    explicit CRibbonSubAccessible(CRibbonBarAccessible* pBarAccessible) : m_pBarAccessible(pBarAccessible)
    {
        Init(this);
        m_pBarAccessible->InternalAddRef();
    }
    ~CRibbonSubAccessible() override { m_pBarAccessible->InternalRelease(); }

    CQXPRibbonBar* Ribbon() const
    {
        CQXPRibbonBar* p = m_pBarAccessible->GetRibbon();
        return p && ::IsWindow(p->GetSafeHwnd()) ? p : NULL;
    }
    HRESULT get_accParent(IDispatch** ppdispParent) override
    {
        if (!ppdispParent)
            return E_POINTER;
        *ppdispParent = NULL;
        if (!Ribbon())
            return CO_E_OBJNOTCONNECTED;
        *ppdispParent = m_pBarAccessible->GetAccessible();
        (*ppdispParent)->AddRef();
        return S_OK;
    }
    HRESULT get_accChild(VARIANT varChild, IDispatch** ppdispChild) override
    {
        if (!ppdispChild)
            return E_POINTER;
        *ppdispChild = NULL;
        long nCount = 0;
        HRESULT hr = get_accChildCount(&nCount);
        if (FAILED(hr))
            return hr;
        const long nChild = GetChildIndex(&varChild);
        return nChild >= 1 && nChild <= nCount ? S_FALSE : E_INVALIDARG; // simple elements
    }

protected:
    CRibbonBarAccessible* m_pBarAccessible; // one reference
};

// The tab list: one page tab per tab of the ribbon, in order.
class CRibbonTabsAccessible : public CRibbonSubAccessible {
public:
    using CRibbonSubAccessible::CRibbonSubAccessible;

    // S_OK with the tab (NULL for the list itself), or the error.
    HRESULT Resolve(const VARIANT& varChild, CQXPRibbonTab** ppTab) const
    {
        *ppTab = NULL;
        CQXPRibbonBar* pRibbon = Ribbon();
        if (!pRibbon)
            return CO_E_OBJNOTCONNECTED;
        const long nChild = GetChildIndex(&varChild);
        if (nChild == CHILDID_SELF)
            return S_OK;
        if (nChild < 1 || nChild > pRibbon->GetTabCount())
            return E_INVALIDARG;
        *ppTab = pRibbon->GetTab((int)nChild - 1);
        return S_OK;
    }
    HRESULT get_accChildCount(long* pc) override
    {
        if (!pc)
            return E_POINTER;
        *pc = 0;
        if (!Ribbon())
            return CO_E_OBJNOTCONNECTED;
        *pc = Ribbon()->GetTabCount();
        return S_OK;
    }
    HRESULT get_accName(VARIANT varChild, BSTR* psz) override
    {
        if (!psz)
            return E_POINTER;
        *psz = NULL;
        CQXPRibbonTab* pTab;
        HRESULT hr = Resolve(varChild, &pTab);
        if (FAILED(hr))
            return hr;
        return QXPAccessibleText(pTab ? NameOfCaption(pTab->GetCaption()) : CString("Ribbon Tabs"), psz);
    }
    HRESULT get_accRole(VARIANT varChild, VARIANT* pvar) override
    {
        CQXPRibbonTab* pTab;
        HRESULT hr = Resolve(varChild, &pTab);
        return FAILED(hr) ? hr : RoleAnswer(pvar, pTab ? ROLE_SYSTEM_PAGETAB : ROLE_SYSTEM_PAGETABLIST);
    }
    HRESULT get_accState(VARIANT varChild, VARIANT* pvar) override
    {
        CQXPRibbonTab* pTab;
        HRESULT hr = Resolve(varChild, &pTab);
        if (FAILED(hr))
            return hr;
        CQXPRibbonBar* pRibbon = Ribbon();
        long nState;
        if (pTab) {
            nState = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
            if (pTab == pRibbon->GetSelectedTab())
                nState |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
            if (!pTab->IsVisible())
                nState |= STATE_SYSTEM_INVISIBLE;
        } else {
            nState = STATE_SYSTEM_FOCUSABLE;
            if (!pRibbon->IsVisible() || !pRibbon->m_bTabsVisible)
                nState |= STATE_SYSTEM_INVISIBLE;
        }
        return RoleAnswer(pvar, nState);
    }
    HRESULT get_accDefaultAction(VARIANT varChild, BSTR* psz) override
    {
        if (!psz)
            return E_POINTER;
        *psz = NULL;
        CQXPRibbonTab* pTab;
        HRESULT hr = Resolve(varChild, &pTab);
        if (FAILED(hr))
            return hr;
        return pTab ? QXPAccessibleText("Switch", psz) : S_FALSE;
    }
    HRESULT accDoDefaultAction(VARIANT varChild) override
    {
        CQXPRibbonTab* pTab;
        HRESULT hr = Resolve(varChild, &pTab);
        if (FAILED(hr))
            return hr;
        if (!pTab)
            return DISP_E_MEMBERNOTFOUND;
        Ribbon()->SelectTab(pTab->GetIndex());
        return S_OK;
    }
    HRESULT accSelect(long flagsSelect, VARIANT varChild) override
    {
        CQXPRibbonTab* pTab;
        HRESULT hr = Resolve(varChild, &pTab);
        if (FAILED(hr))
            return hr;
        if (!pTab || !(flagsSelect & (SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS)))
            return E_INVALIDARG;
        Ribbon()->SelectTab(pTab->GetIndex());
        return S_OK;
    }
    HRESULT accLocation(long* px, long* py, long* pcx, long* pcy, VARIANT varChild) override
    {
        CQXPRibbonTab* pTab;
        HRESULT hr = Resolve(varChild, &pTab);
        if (FAILED(hr))
            return hr;
        return LocationAnswer(Ribbon()->GetSafeHwnd(), pTab ? pTab->GetRect() : Ribbon()->GetTabRowRect(), px, py,
                              pcx, pcy);
    }
    HRESULT accHitTest(long x, long y, VARIANT* pvar) override
    {
        if (!pvar)
            return E_POINTER;
        ::VariantInit(pvar);
        CQXPRibbonBar* pRibbon = Ribbon();
        if (!pRibbon)
            return CO_E_OBJNOTCONNECTED;
        CPoint pt(x, y);
        pRibbon->ScreenToClient(&pt);
        CRect rcClient;
        pRibbon->GetClientRect(&rcClient);
        if (!rcClient.PtInRect(pt) || !pRibbon->GetTabRowRect().PtInRect(pt))
            return S_FALSE;
        pvar->vt = VT_I4;
        CQXPRibbonTab* pTab = pRibbon->HitTestTab(pt);
        pvar->lVal = pTab ? pTab->GetIndex() + 1 : CHILDID_SELF;
        return S_OK;
    }
};

// A shown group: its visible controls, answered by the bar's object.
class CRibbonGroupAccessible : public CRibbonSubAccessible {
public:
    CRibbonGroupAccessible(CRibbonBarAccessible* pBarAccessible, CQXPRibbonGroup* pGroup)
        : CRibbonSubAccessible(pBarAccessible), m_pGroup(pGroup)
    {
    }

    // The group while it is still shown (never read before that check).
    CQXPRibbonGroup* Group() const
    {
        if (!Ribbon())
            return NULL;
        for (CQXPRibbonGroup* p : m_pBarAccessible->GetShownGroups())
            if (p == m_pGroup)
                return p;
        return NULL;
    }
    std::vector<CQXPControl*> Controls() const
    {
        std::vector<CQXPControl*> v;
        if (CQXPRibbonGroup* g = Group())
            for (int i = 0; i < g->GetCount(); i++)
                if (g->GetAt(i)->IsVisible())
                    v.push_back(g->GetAt(i));
        return v;
    }
    // S_OK with the bar's child id of the control (0 for the group itself).
    HRESULT Resolve(const VARIANT& varChild, VARIANT* pvarBar) const
    {
        ::VariantInit(pvarBar);
        if (!Group())
            return CO_E_OBJNOTCONNECTED;
        const long nChild = GetChildIndex(&varChild);
        pvarBar->vt = VT_I4;
        pvarBar->lVal = CHILDID_SELF;
        if (nChild == CHILDID_SELF)
            return S_OK;
        std::vector<CQXPControl*> v = Controls();
        if (nChild < 1 || nChild > (long)v.size())
            return E_INVALIDARG;
        pvarBar->lVal = m_pBarAccessible->GetChildOfControl(v[(size_t)nChild - 1]);
        return pvarBar->lVal ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    HRESULT get_accChildCount(long* pc) override
    {
        if (!pc)
            return E_POINTER;
        *pc = 0;
        if (!Group())
            return CO_E_OBJNOTCONNECTED;
        *pc = (long)Controls().size();
        return S_OK;
    }
    // The bar's answer for a control of the group, or the group's own.
    template <class OnControl, class OnSelf>
    HRESULT Answer(const VARIANT& varChild, OnControl onControl, OnSelf onSelf) const
    {
        VARIANT v;
        HRESULT hr = Resolve(varChild, &v);
        if (FAILED(hr))
            return hr;
        return v.lVal ? onControl(v) : onSelf();
    }
    static HRESULT NoText(BSTR* psz)
    {
        if (psz)
            *psz = NULL;
        return S_FALSE;
    }
    HRESULT get_accName(VARIANT varChild, BSTR* psz) override
    {
        if (!psz)
            return E_POINTER;
        *psz = NULL;
        return Answer(
            varChild, [&](VARIANT v) { return m_pBarAccessible->get_accName(v, psz); },
            [&] { return QXPAccessibleText(NameOfCaption(Group()->GetCaption()), psz); });
    }
    HRESULT get_accDescription(VARIANT varChild, BSTR* psz) override
    {
        return Answer(
            varChild, [&](VARIANT v) { return m_pBarAccessible->get_accDescription(v, psz); },
            [&] { return NoText(psz); });
    }
    HRESULT get_accRole(VARIANT varChild, VARIANT* pvar) override
    {
        return Answer(
            varChild, [&](VARIANT v) { return m_pBarAccessible->get_accRole(v, pvar); },
            [&] { return RoleAnswer(pvar, ROLE_SYSTEM_GROUPING); });
    }
    HRESULT get_accState(VARIANT varChild, VARIANT* pvar) override
    {
        return Answer(
            varChild, [&](VARIANT v) { return m_pBarAccessible->get_accState(v, pvar); },
            [&] { return RoleAnswer(pvar, 0); });
    }
    HRESULT get_accKeyboardShortcut(VARIANT varChild, BSTR* psz) override
    {
        return Answer(
            varChild, [&](VARIANT v) { return m_pBarAccessible->get_accKeyboardShortcut(v, psz); },
            [&] { return NoText(psz); });
    }
    HRESULT get_accDefaultAction(VARIANT varChild, BSTR* psz) override
    {
        return Answer(
            varChild, [&](VARIANT v) { return m_pBarAccessible->get_accDefaultAction(v, psz); },
            [&] { return NoText(psz); });
    }
    HRESULT accDoDefaultAction(VARIANT varChild) override
    {
        return Answer(
            varChild, [&](VARIANT v) { return m_pBarAccessible->accDoDefaultAction(v); },
            [&] { return (HRESULT)DISP_E_MEMBERNOTFOUND; });
    }
    HRESULT accLocation(long* px, long* py, long* pcx, long* pcy, VARIANT varChild) override
    {
        return Answer(
            varChild, [&](VARIANT v) { return m_pBarAccessible->accLocation(px, py, pcx, pcy, v); },
            [&] { return LocationAnswer(Ribbon()->GetSafeHwnd(), Group()->GetRect(), px, py, pcx, pcy); });
    }
    HRESULT accHitTest(long x, long y, VARIANT* pvar) override
    {
        if (!pvar)
            return E_POINTER;
        ::VariantInit(pvar);
        CQXPRibbonGroup* g = Group();
        if (!g)
            return CO_E_OBJNOTCONNECTED;
        CPoint pt(x, y);
        Ribbon()->ScreenToClient(&pt);
        if (!g->GetRect().PtInRect(pt))
            return S_FALSE;
        pvar->vt = VT_I4;
        pvar->lVal = CHILDID_SELF;
        std::vector<CQXPControl*> v = Controls();
        for (size_t i = 0; i < v.size(); i++)
            if (v[i]->GetRect().PtInRect(pt))
                pvar->lVal = (long)i + 1;
        return S_OK;
    }

private:
    CQXPRibbonGroup* m_pGroup; // compared only, until Group() finds it shown
};

} // namespace

CRibbonBarAccessible::CRibbonBarAccessible(CQXPRibbonBar* pRibbon) : CQXPCommandBarAccessible(pRibbon) {}

CQXPRibbonBar* CRibbonBarAccessible::GetRibbon() const { return static_cast<CQXPRibbonBar*>(GetBar()); }

std::vector<CQXPRibbonGroup*> CRibbonBarAccessible::GetShownGroups() const
{
    std::vector<CQXPRibbonGroup*> v;
    CQXPRibbonBar* pRibbon = GetRibbon();
    CQXPRibbonTab* pTab = pRibbon ? pRibbon->GetSelectedTab() : NULL;
    if (!pTab || !pRibbon->IsGroupsVisible())
        return v;
    for (int i = 0; i < pTab->GetGroupCount(); i++)
        if (pTab->GetGroup(i)->IsVisible())
            v.push_back(pTab->GetGroup(i));
    return v;
}

long CRibbonBarAccessible::GetChildOfControl(const CQXPControl* pControl) const
{
    const int n = GetVisibleCount();
    for (long i = 1; i <= n; i++)
        if (GetChildControl(i) == pControl)
            return i;
    return 0;
}

IDispatch* CRibbonBarAccessible::CreateChildObject(long nChild)
{
    const long n = GetVisibleCount();
    CRibbonSubAccessible* p = NULL;
    if (nChild == n + 1) {
        p = new CRibbonTabsAccessible(this);
    } else {
        std::vector<CQXPRibbonGroup*> groups = GetShownGroups();
        const long k = nChild - n - 2;
        if (k >= 0 && k < (long)groups.size())
            p = new CRibbonGroupAccessible(this, groups[(size_t)k]);
    }
    if (!p)
        return NULL;
    IDispatch* pDispatch = p->GetAccessible();
    pDispatch->AddRef();  // the client's reference
    p->InternalRelease(); // the creation's
    return pDispatch;
}

LRESULT CRibbonBarAccessible::GetTabListObject(WPARAM wParam)
{
    if (!GetRibbon())
        return 0;
    CRibbonTabsAccessible* p = new CRibbonTabsAccessible(this);
    LRESULT lResult = p->LresultFromObject(IID_IAccessible, wParam, p->GetAccessible());
    if (FAILED((HRESULT)lResult))
        lResult = p->LresultFromObject(IID_IUnknown, wParam, p->GetAccessible());
    p->InternalRelease(); // the client holds what it was given
    return lResult;
}

// The answer of a sub-object (child n + 1 and on) for itself, or E_INVALIDARG
// outside the range; fn gets the object's IAccessible.
template <class Fn>
static HRESULT AskSubObject(CRibbonBarAccessible* pBar, const VARIANT& varChild, Fn fn, BOOL* pbAsked)
{
    *pbAsked = FALSE;
    const long nChild = CQXPAccessibleBase::GetChildIndex(&varChild);
    if (nChild <= pBar->GetVisibleCount())
        return S_OK;
    *pbAsked = TRUE;
    if (!pBar->GetRibbon() || !::IsWindow(pBar->GetRibbon()->GetSafeHwnd()))
        return CO_E_OBJNOTCONNECTED;
    IDispatch* pDispatch = pBar->CreateChildObject(nChild);
    if (!pDispatch)
        return E_INVALIDARG;
    IAccessible* pAcc = NULL;
    HRESULT hr = pDispatch->QueryInterface(IID_IAccessible, (void**)&pAcc);
    if (SUCCEEDED(hr)) {
        VARIANT self;
        ::VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        hr = fn(pAcc, self);
        pAcc->Release();
    }
    pDispatch->Release();
    return hr;
}

HRESULT CRibbonBarAccessible::get_accChildCount(long* pcountChildren)
{
    HRESULT hr = CQXPCommandBarAccessible::get_accChildCount(pcountChildren);
    if (SUCCEEDED(hr))
        *pcountChildren += 1 + (long)GetShownGroups().size();
    return hr;
}

HRESULT CRibbonBarAccessible::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_POINTER;
    *ppdispChild = NULL;
    const long nChild = GetChildIndex(&varChild);
    if (nChild <= GetVisibleCount())
        return CQXPCommandBarAccessible::get_accChild(varChild, ppdispChild);
    if (!GetRibbon() || !::IsWindow(GetRibbon()->GetSafeHwnd()))
        return CO_E_OBJNOTCONNECTED;
    *ppdispChild = CreateChildObject(nChild);
    return *ppdispChild ? S_OK : E_INVALIDARG;
}

#define QX_RIBBON_ASK(call) \
    BOOL bAsked; \
    HRESULT hr = AskSubObject( \
        this, varChild, [&](IAccessible* pAcc, VARIANT self) { return pAcc->call; }, &bAsked); \
    if (bAsked) \
        return hr;

HRESULT CRibbonBarAccessible::get_accName(VARIANT varChild, BSTR* pszName)
{
    QX_RIBBON_ASK(get_accName(self, pszName))
    return CQXPCommandBarAccessible::get_accName(varChild, pszName);
}

HRESULT CRibbonBarAccessible::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    QX_RIBBON_ASK(get_accRole(self, pvarRole))
    return CQXPCommandBarAccessible::get_accRole(varChild, pvarRole);
}

HRESULT CRibbonBarAccessible::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    QX_RIBBON_ASK(get_accState(self, pvarState))
    return CQXPCommandBarAccessible::get_accState(varChild, pvarState);
}

HRESULT CRibbonBarAccessible::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                          VARIANT varChild)
{
    QX_RIBBON_ASK(accLocation(pxLeft, pyTop, pcxWidth, pcyHeight, self))
    return CQXPCommandBarAccessible::accLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
}

HRESULT CRibbonBarAccessible::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    HRESULT hr = CQXPCommandBarAccessible::accHitTest(xLeft, yTop, pvarChild);
    if (hr != S_OK || pvarChild->vt != VT_I4 || pvarChild->lVal != CHILDID_SELF)
        return hr;
    // Not on a control of the bar: the tab list or a group may be there.
    CQXPRibbonBar* pRibbon = GetRibbon();
    CPoint pt(xLeft, yTop);
    pRibbon->ScreenToClient(&pt);
    long nChild = 0;
    if (pRibbon->m_bTabsVisible && pRibbon->GetTabRowRect().PtInRect(pt)) {
        nChild = GetVisibleCount() + 1;
    } else {
        std::vector<CQXPRibbonGroup*> groups = GetShownGroups();
        for (size_t i = 0; i < groups.size() && !nChild; i++)
            if (groups[i]->GetRect().PtInRect(pt))
                nChild = GetVisibleCount() + 2 + (long)i;
    }
    if (!nChild)
        return hr;
    if (IDispatch* pDispatch = CreateChildObject(nChild)) {
        pvarChild->vt = VT_DISPATCH;
        pvarChild->pdispVal = pDispatch;
    }
    return S_OK;
}
