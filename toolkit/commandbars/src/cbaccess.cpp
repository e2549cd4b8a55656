// The accessible object of a command bar and its controls.
#include <qx/cbaccess.h>
#include <qx/commandbar.h>
#include <qx/control.h>

namespace {

BSTR AllocBstr(const CString& str)
{
    int nLen = ::MultiByteToWideChar(CP_ACP, 0, str, str.GetLength(), NULL, 0);
    BSTR bstr = ::SysAllocStringLen(NULL, (UINT)nLen);
    if (bstr && nLen > 0)
        ::MultiByteToWideChar(CP_ACP, 0, str, str.GetLength(), bstr, nLen);
    return bstr;
}

HRESULT ReturnText(const CString& str, BSTR* pbstr)
{
    if (!pbstr)
        return E_POINTER;
    *pbstr = NULL;
    if (str.IsEmpty())
        return S_FALSE;
    *pbstr = AllocBstr(str);
    return *pbstr ? S_OK : E_OUTOFMEMORY;
}

// The child id of the first visible control of a bar that matches (0 when
// none does or there is no bar).
template <class Match>
long FindChildWhere(const CQXPCommandBar* pBar, Match match)
{
    if (!pBar)
        return 0;
    long nVisible = 0;
    for (int i = 0; i < pBar->GetControlCount(); i++) {
        CQXPControl* pControl = pBar->GetControl(i);
        if (!pControl || !pControl->IsVisible())
            continue;
        nVisible++;
        if (match(pControl))
            return nVisible;
    }
    return 0;
}

} // namespace

HRESULT AFXAPI QXPAccessibleText(const CString& str, BSTR* pbstr)
{
    return ReturnText(str, pbstr);
}

CQXPCommandBarAccessible::CQXPCommandBarAccessible(CQXPCommandBar* pBar) : m_pBar(pBar)
{
    Init(this);
}

int CQXPCommandBarAccessible::GetVisibleCount() const
{
    if (!m_pBar)
        return 0;
    int nCount = 0;
    for (int i = 0; i < m_pBar->GetControlCount(); i++) {
        CQXPControl* pControl = m_pBar->GetControl(i);
        if (pControl && pControl->IsVisible())
            nCount++;
    }
    return nCount;
}

CQXPControl* CQXPCommandBarAccessible::GetChildControl(long nChild) const
{
    if (!m_pBar || nChild < 1)
        return NULL;
    long nVisible = 0;
    for (int i = 0; i < m_pBar->GetControlCount(); i++) {
        CQXPControl* pControl = m_pBar->GetControl(i);
        if (pControl && pControl->IsVisible() && ++nVisible == nChild)
            return pControl;
    }
    return NULL;
}

CString AFXAPI CQXPCommandBarAccessible::GetControlName(const CQXPControl* pControl)
{
    CString strCaption = pControl->GetCaption();
    CString strName;
    for (int i = 0; i < strCaption.GetLength(); i++) {
        char ch = strCaption[i];
        if (ch == '&') {
            // "&&" stands for one ampersand; a single one marks the mnemonic.
            if (i + 1 < strCaption.GetLength() && strCaption[i + 1] == '&') {
                strName += '&';
                i++;
            }
            continue;
        }
        strName += ch;
    }
    CString strShortcut = pControl->GetShortcutText();
    if (!strShortcut.IsEmpty())
        strName += "\t" + strShortcut;
    if (strName.IsEmpty())
        strName = pControl->GetTooltip();
    return strName;
}

LRESULT CQXPCommandBarAccessible::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    LONG idObject = (LONG)(DWORD)lParam;
    if (idObject >= 1 && idObject <= 0xFFFFFE) {
        long nChild = FindChildById((int)idObject);
        CQXPControl* pControl = GetChildControl(nChild);
        if (!pControl)
            return 0;
        // A control with an object of its own (a gallery) answers itself.
        if (CQXPAccessibleBase* pOwn = dynamic_cast<CQXPAccessibleBase*>(pControl))
            return pOwn->LresultFromObject(IID_IAccessible, wParam, pOwn->GetAccessible());
        CQXPControlAccessible* pChild = new CQXPControlAccessible(this, (int)idObject);
        LRESULT lResult = pChild->LresultFromObject(IID_IAccessible, wParam, pChild->GetAccessible());
        if (FAILED((HRESULT)lResult))
            lResult = pChild->LresultFromObject(IID_IUnknown, wParam, pChild->GetAccessible());
        // The client holds what it was given; the object goes with it.
        pChild->InternalRelease();
        return lResult;
    }
    if (idObject != OBJID_CLIENT && idObject != OBJID_MENU)
        return 0;
    LRESULT lResult = LresultFromObject(IID_IAccessible, wParam, GetAccessible());
    if (FAILED((HRESULT)lResult)) {
        // Without a registered proxy for IAccessible the interface cannot be
        // marshalled; handing out IUnknown still lets clients in this
        // apartment ask for IAccessible on the object itself.
        lResult = LresultFromObject(IID_IUnknown, wParam, GetAccessible());
    }
    return lResult;
}

long CQXPCommandBarAccessible::FindChildById(int nId) const
{
    return FindChildWhere(m_pBar, [nId](const CQXPControl* p) { return p->GetID() == nId; });
}

long CQXPCommandBarAccessible::FindChild(const CQXPControl* pControl) const
{
    return pControl ? FindChildWhere(m_pBar, [pControl](const CQXPControl* p) { return p == pControl; }) : 0;
}

HRESULT CQXPCommandBarAccessible::Resolve(const VARIANT& varChild, CQXPControl** ppControl) const
{
    *ppControl = NULL;
    if (!m_pBar || !::IsWindow(m_pBar->GetSafeHwnd()))
        return CO_E_OBJNOTCONNECTED;
    long nChild = GetChildIndex(&varChild);
    if (nChild == CHILDID_SELF)
        return S_OK;
    *ppControl = GetChildControl(nChild);
    return *ppControl ? S_OK : E_INVALIDARG;
}

HRESULT CQXPCommandBarAccessible::get_accParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_POINTER;
    *ppdispParent = NULL;
    if (!m_pBar || !::IsWindow(m_pBar->GetSafeHwnd()))
        return CO_E_OBJNOTCONNECTED;
    return AccessibleObjectFromWindow(m_pBar->GetSafeHwnd(), (DWORD)OBJID_WINDOW, IID_IDispatch,
                                      (void**)ppdispParent);
}

HRESULT CQXPCommandBarAccessible::get_accChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_POINTER;
    *pcountChildren = 0;
    if (!m_pBar || !::IsWindow(m_pBar->GetSafeHwnd()))
        return CO_E_OBJNOTCONNECTED;
    *pcountChildren = GetVisibleCount();
    return S_OK;
}

HRESULT CQXPCommandBarAccessible::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_POINTER;
    *ppdispChild = NULL;
    CQXPControl* pControl;
    HRESULT hr = Resolve(varChild, &pControl);
    if (FAILED(hr))
        return hr;
    if (!pControl)
        return E_INVALIDARG;
    // A control with an accessible object of its own (a gallery) answers
    // for itself.
    if (CQXPAccessibleBase* pAccessible = dynamic_cast<CQXPAccessibleBase*>(pControl)) {
        *ppdispChild = pAccessible->GetAccessible();
        (*ppdispChild)->AddRef();
        return S_OK;
    }
    // A control that opens a popup is an object of its own, whose child is
    // that popup; the others are simple elements answered by the bar.
    if (!pControl->GetCommandBar())
        return S_FALSE;
    CQXPControlAccessible* pChild = new CQXPControlAccessible(this, pControl);
    // The client takes the object's first reference.
    *ppdispChild = pChild->GetAccessible();
    return S_OK;
}

HRESULT CQXPCommandBarAccessible::get_accName(VARIANT varChild, BSTR* pszName)
{
    if (!pszName)
        return E_POINTER;
    *pszName = NULL;
    CQXPControl* pControl;
    HRESULT hr = Resolve(varChild, &pControl);
    if (FAILED(hr))
        return hr;
    return ReturnText(pControl ? GetControlName(pControl) : m_pBar->GetTitle(), pszName);
}

HRESULT CQXPCommandBarAccessible::get_accDescription(VARIANT varChild, BSTR* pszDescription)
{
    if (!pszDescription)
        return E_POINTER;
    *pszDescription = NULL;
    CQXPControl* pControl;
    HRESULT hr = Resolve(varChild, &pControl);
    if (FAILED(hr))
        return hr;
    return ReturnText(pControl ? pControl->GetDescription() : CString(), pszDescription);
}

HRESULT CQXPCommandBarAccessible::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (!pvarRole)
        return E_POINTER;
    ::VariantInit(pvarRole);
    CQXPControl* pControl;
    HRESULT hr = Resolve(varChild, &pControl);
    if (FAILED(hr))
        return hr;
    int nType = m_pBar->GetType();
    long nRole;
    if (!pControl)
        nRole = nType == qxpBarTypeMenuBar ? ROLE_SYSTEM_MENUBAR
                : nType == qxpBarTypePopup ? ROLE_SYSTEM_MENUPOPUP
                                           : ROLE_SYSTEM_TOOLBAR;
    else if (nType == qxpBarTypeNormal || nType == qxpBarTypeRibbon)
        nRole = pControl->GetCommandBar() ? ROLE_SYSTEM_BUTTONMENU : ROLE_SYSTEM_PUSHBUTTON;
    else
        nRole = ROLE_SYSTEM_MENUITEM;
    pvarRole->vt = VT_I4;
    pvarRole->lVal = nRole;
    return S_OK;
}

HRESULT CQXPCommandBarAccessible::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    if (!pvarState)
        return E_POINTER;
    ::VariantInit(pvarState);
    CQXPControl* pControl;
    HRESULT hr = Resolve(varChild, &pControl);
    if (FAILED(hr))
        return hr;
    BOOL bBarShown = m_pBar->IsVisible() && ::IsWindowVisible(m_pBar->GetSafeHwnd());
    long nState = 0;
    if (!pControl) {
        if (!bBarShown)
            nState |= STATE_SYSTEM_INVISIBLE;
    } else {
        nState |= STATE_SYSTEM_FOCUSABLE;
        if (pControl->GetSelected())
            nState |= STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED;
        if (!bBarShown)
            nState |= STATE_SYSTEM_INVISIBLE;
        if (!pControl->GetEnabled())
            nState |= STATE_SYSTEM_UNAVAILABLE;
        if (pControl->GetChecked() == 1)
            nState |= STATE_SYSTEM_CHECKED;
        if (pControl->GetPressed())
            nState |= STATE_SYSTEM_PRESSED;
        if (pControl->GetCommandBar())
            nState |= STATE_SYSTEM_HASPOPUP;
    }
    pvarState->vt = VT_I4;
    pvarState->lVal = nState;
    return S_OK;
}

HRESULT CQXPCommandBarAccessible::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut)
{
    if (!pszKeyboardShortcut)
        return E_POINTER;
    *pszKeyboardShortcut = NULL;
    CQXPControl* pControl;
    HRESULT hr = Resolve(varChild, &pControl);
    if (FAILED(hr))
        return hr;
    return ReturnText(pControl ? pControl->GetShortcutText() : CString(), pszKeyboardShortcut);
}

HRESULT CQXPCommandBarAccessible::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    if (!pszDefaultAction)
        return E_POINTER;
    *pszDefaultAction = NULL;
    CQXPControl* pControl;
    HRESULT hr = Resolve(varChild, &pControl);
    if (FAILED(hr))
        return hr;
    return ReturnText(pControl ? CString("Click") : CString(), pszDefaultAction);
}

HRESULT CQXPCommandBarAccessible::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                              VARIANT varChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_POINTER;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    CQXPControl* pControl;
    HRESULT hr = Resolve(varChild, &pControl);
    if (FAILED(hr))
        return hr;
    CRect rc;
    if (pControl) {
        rc = pControl->GetRect();
        ::ClientToScreen(m_pBar->GetSafeHwnd(), (LPPOINT)&rc.left);
        ::ClientToScreen(m_pBar->GetSafeHwnd(), (LPPOINT)&rc.right);
    } else {
        ::GetWindowRect(m_pBar->GetSafeHwnd(), &rc);
    }
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.Width();
    *pcyHeight = rc.Height();
    return S_OK;
}

HRESULT CQXPCommandBarAccessible::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_POINTER;
    ::VariantInit(pvarChild);
    if (!m_pBar || !::IsWindow(m_pBar->GetSafeHwnd()))
        return CO_E_OBJNOTCONNECTED;
    CRect rcWindow;
    ::GetWindowRect(m_pBar->GetSafeHwnd(), &rcWindow);
    CPoint pt(xLeft, yTop);
    if (!rcWindow.PtInRect(pt))
        return S_FALSE;
    ::ScreenToClient(m_pBar->GetSafeHwnd(), &pt);
    pvarChild->vt = VT_I4;
    pvarChild->lVal = FindChildWhere(m_pBar, [&pt](const CQXPControl* p) { return p->GetRect().PtInRect(pt) != FALSE; });
    return S_OK;
}

HRESULT CQXPCommandBarAccessible::accDoDefaultAction(VARIANT varChild)
{
    CQXPControl* pControl;
    HRESULT hr = Resolve(varChild, &pControl);
    if (FAILED(hr))
        return hr;
    if (!pControl)
        return DISP_E_MEMBERNOTFOUND;
    // The command may remove the control or destroy the bar: hold the
    // control until the click is over and touch nothing afterwards.
    pControl->InternalAddRef();
    pControl->OnClick(TRUE);
    pControl->InternalRelease();
    return S_OK;
}

HRESULT CQXPCommandBarAccessible::accSelect(long flagsSelect, VARIANT varChild)
{
    (void)flagsSelect;
    CQXPControl* pControl;
    HRESULT hr = Resolve(varChild, &pControl);
    if (FAILED(hr))
        return hr;
    if (!pControl)
        return DISP_E_MEMBERNOTFOUND;
    CQXPCommandBar* pBar = m_pBar;
    pBar->InternalAddRef();
    pBar->SetTrackingMode(TRUE);
    // Entering tracking may have rebuilt the bar: select the control only
    // while the bar still shows it.
    if (m_pBar == pBar && FindChild(pControl))
        pBar->SetSelected(pControl->GetIndex(), 1);
    pBar->InternalRelease();
    return S_OK;
}

// ---------------------------------------------------------------------------
// One control's own object

CQXPControlAccessible::CQXPControlAccessible(CQXPCommandBarAccessible* pBarAccessible, int nId)
    : m_pBarAccessible(pBarAccessible), m_nId(nId), m_pControl(NULL)
{
    Init(this);
    m_pBarAccessible->InternalAddRef();
}

CQXPControlAccessible::CQXPControlAccessible(CQXPCommandBarAccessible* pBarAccessible, const CQXPControl* pControl)
    : m_pBarAccessible(pBarAccessible), m_nId(0), m_pControl(pControl)
{
    Init(this);
    m_pBarAccessible->InternalAddRef();
}

CQXPControlAccessible::~CQXPControlAccessible()
{
    m_pBarAccessible->InternalRelease();
}

HRESULT CQXPControlAccessible::Resolve(const VARIANT& varChild, VARIANT* pvarBarChild) const
{
    ::VariantInit(pvarBarChild);
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    CQXPCommandBar* pBar = m_pBarAccessible->GetBar();
    if (!pBar || !::IsWindow(pBar->GetSafeHwnd()))
        return CO_E_OBJNOTCONNECTED;
    long nChild = m_pControl ? m_pBarAccessible->FindChild(m_pControl) : m_pBarAccessible->FindChildById(m_nId);
    if (nChild == 0)
        return CO_E_OBJNOTCONNECTED;
    pvarBarChild->vt = VT_I4;
    pvarBarChild->lVal = nChild;
    return S_OK;
}

HRESULT CQXPControlAccessible::get_accParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_POINTER;
    *ppdispParent = NULL;
    CQXPCommandBar* pBar = m_pBarAccessible->GetBar();
    if (!pBar || !::IsWindow(pBar->GetSafeHwnd()))
        return CO_E_OBJNOTCONNECTED;
    *ppdispParent = m_pBarAccessible->GetAccessible();
    (*ppdispParent)->AddRef();
    return S_OK;
}

CQXPControl* CQXPControlAccessible::FindControl() const
{
    VARIANT self, v;
    ::VariantInit(&self);
    if (FAILED(Resolve(self, &v)))
        return NULL;
    return m_pBarAccessible->GetChildControl(v.lVal);
}

HRESULT CQXPControlAccessible::get_accChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_POINTER;
    *pcountChildren = 0;
    CQXPControl* pControl = FindControl();
    if (!pControl)
        return CO_E_OBJNOTCONNECTED;
    *pcountChildren = pControl->GetCommandBar() ? 1 : 0;
    return S_OK;
}

HRESULT CQXPControlAccessible::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_POINTER;
    *ppdispChild = NULL;
    CQXPControl* pControl = FindControl();
    if (!pControl)
        return CO_E_OBJNOTCONNECTED;
    CQXPCommandBar* pPopup = pControl->GetCommandBar();
    if (!pPopup || GetChildIndex(&varChild) != 1)
        return E_INVALIDARG;
    *ppdispChild = pPopup->GetAccessibleObject()->GetAccessible();
    (*ppdispChild)->AddRef();
    return S_OK;
}

HRESULT CQXPControlAccessible::get_accName(VARIANT varChild, BSTR* pszName)
{
    return Forward(varChild, [&](VARIANT v) { return m_pBarAccessible->get_accName(v, pszName); });
}

HRESULT CQXPControlAccessible::get_accDescription(VARIANT varChild, BSTR* pszDescription)
{
    return Forward(varChild, [&](VARIANT v) { return m_pBarAccessible->get_accDescription(v, pszDescription); });
}

HRESULT CQXPControlAccessible::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    return Forward(varChild, [&](VARIANT v) { return m_pBarAccessible->get_accRole(v, pvarRole); });
}

HRESULT CQXPControlAccessible::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    return Forward(varChild, [&](VARIANT v) { return m_pBarAccessible->get_accState(v, pvarState); });
}

HRESULT CQXPControlAccessible::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut)
{
    return Forward(varChild, [&](VARIANT v) { return m_pBarAccessible->get_accKeyboardShortcut(v, pszKeyboardShortcut); });
}

HRESULT CQXPControlAccessible::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    return Forward(varChild, [&](VARIANT v) { return m_pBarAccessible->get_accDefaultAction(v, pszDefaultAction); });
}

HRESULT CQXPControlAccessible::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                           VARIANT varChild)
{
    return Forward(varChild,
                   [&](VARIANT v) { return m_pBarAccessible->accLocation(pxLeft, pyTop, pcxWidth, pcyHeight, v); });
}

HRESULT CQXPControlAccessible::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_POINTER;
    ::VariantInit(pvarChild);
    VARIANT self, v;
    ::VariantInit(&self);
    HRESULT hr = Resolve(self, &v);
    if (FAILED(hr))
        return hr;
    long x, y, cx, cy;
    hr = m_pBarAccessible->accLocation(&x, &y, &cx, &cy, v);
    if (FAILED(hr))
        return hr;
    if (xLeft < x || yTop < y || xLeft >= x + cx || yTop >= y + cy)
        return S_FALSE;
    pvarChild->vt = VT_I4;
    pvarChild->lVal = CHILDID_SELF;
    return S_OK;
}

HRESULT CQXPControlAccessible::accDoDefaultAction(VARIANT varChild)
{
    return Forward(varChild, [&](VARIANT v) { return m_pBarAccessible->accDoDefaultAction(v); });
}

HRESULT CQXPControlAccessible::accSelect(long flagsSelect, VARIANT varChild)
{
    return Forward(varChild, [&](VARIANT v) { return m_pBarAccessible->accSelect(flagsSelect, v); });
}
