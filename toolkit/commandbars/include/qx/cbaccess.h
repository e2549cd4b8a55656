// The accessible object of a command bar: the bar itself plus one child per
// visible control (child id n is the n-th visible control). A control is a
// simple element of the bar, unless it opens a popup bar: then it is an
// object of its own whose one child is that popup bar, so that a client can
// step from a menu item into its submenu.
#pragma once

#include <qx/sysutil.h>

class CQXPCommandBar;
class CQXPControl;

// A text answer of an accessible object: S_FALSE without a string when the
// text is empty.
HRESULT AFXAPI QXPAccessibleText(const CString& str, BSTR* pbstr);

// Reference counted on itself (a CCmdTarget): the bar holds one reference
// and clients hold theirs. When the bar goes away it detaches the object,
// after which every call answers CO_E_OBJNOTCONNECTED instead of touching a
// freed bar.
class CQXPCommandBarAccessible : public CCmdTarget, public CQXPAccessibleBase {
public:
    explicit CQXPCommandBarAccessible(CQXPCommandBar* pBar);

    CQXPCommandBar* GetBar() const { return m_pBar; }
    void Detach() { m_pBar = NULL; }

    // The number of visible controls, and the control of a child id
    // (1-based over the visible controls; NULL for an unknown id).
    int GetVisibleCount() const;
    CQXPControl* GetChildControl(long nChild) const;

    // The name of a control: its caption without mnemonic ampersands ("&&"
    // keeps one), a tab and the shortcut text when there is one; the tooltip
    // when that gives nothing.
    static CString AFXAPI GetControlName(const CQXPControl* pControl);

    // The answer to WM_GETOBJECT for the bar's window: the bar's object for
    // OBJID_CLIENT and OBJID_MENU, the object of the visible control with
    // that id for an id from 1 to 0xFFFFFE; 0 otherwise.
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    // The child id of the first visible control with a control id (0 when
    // there is none).
    long FindChildById(int nId) const;
    // The child id of a control while it is one of the bar's visible
    // controls (0 otherwise). The pointer is only compared, never followed,
    // so a control that has gone is safely not found.
    long FindChild(const CQXPControl* pControl) const;

    HRESULT get_accParent(IDispatch** ppdispParent) override;
    HRESULT get_accChildCount(long* pcountChildren) override;
    HRESULT get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT get_accName(VARIANT varChild, BSTR* pszName) override;
    HRESULT get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    HRESULT get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT get_accState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
    HRESULT get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    HRESULT accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    HRESULT accDoDefaultAction(VARIANT varChild) override;
    // Selecting a control puts the bar into tracking with that control
    // selected, as the keyboard would.
    HRESULT accSelect(long flagsSelect, VARIANT varChild) override;

private:
    // Checks the bar and the child id: S_OK with *ppControl set (NULL for
    // the bar itself), or the error to return.
    HRESULT Resolve(const VARIANT& varChild, CQXPControl** ppControl) const;

    CQXPCommandBar* m_pBar;
};

// The accessible object of one control on its own, asked for by its id
// (WM_GETOBJECT) or given as the bar's child for a control with a popup:
// every question goes to the bar's object for that control's child id, so
// a control that has moved or gone answers as the bar says.
class CQXPControlAccessible : public CCmdTarget, public CQXPAccessibleBase {
public:
    // The first visible control with that id.
    CQXPControlAccessible(CQXPCommandBarAccessible* pBarAccessible, int nId);
    // That control itself, while the bar shows it (ids of menu titles are
    // often 0 and shared).
    CQXPControlAccessible(CQXPCommandBarAccessible* pBarAccessible, const CQXPControl* pControl);
    ~CQXPControlAccessible() override;

    HRESULT get_accParent(IDispatch** ppdispParent) override;
    // One child, the popup bar, when the control opens one; else none.
    HRESULT get_accChildCount(long* pcountChildren) override;
    // Child 1: the popup bar's object.
    HRESULT get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT get_accName(VARIANT varChild, BSTR* pszName) override;
    HRESULT get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    HRESULT get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT get_accState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
    HRESULT get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    HRESULT accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    HRESULT accDoDefaultAction(VARIANT varChild) override;
    HRESULT accSelect(long flagsSelect, VARIANT varChild) override;

private:
    // The bar's child id for this control, or the error to return (only
    // CHILDID_SELF is asked of this object).
    HRESULT Resolve(const VARIANT& varChild, VARIANT* pvarBarChild) const;
    // The control this object stands for, NULL when the bar no longer
    // shows it.
    CQXPControl* FindControl() const;
    // Asks the bar's object about this control: fn gets the bar's child id.
    template <class Fn>
    HRESULT Forward(const VARIANT& varChild, Fn fn) const
    {
        VARIANT v;
        HRESULT hr = Resolve(varChild, &v);
        return FAILED(hr) ? hr : fn(v);
    }

    CQXPCommandBarAccessible* m_pBarAccessible; // one reference
    int m_nId;                                  // used when m_pControl is NULL
    const CQXPControl* m_pControl;              // compared only, never followed
};
