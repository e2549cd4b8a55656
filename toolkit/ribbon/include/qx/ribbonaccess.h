// qx/ribbonaccess.h - the ribbon bar's accessible object.
//
// Children 1..n are the bar's visible controls, as on every bar; child
// n + 1 is the tab list (ROLE_SYSTEM_PAGETABLIST, one ROLE_SYSTEM_PAGETAB
// per tab: the caption without "&", selectable and focusable, selected and
// focused when it is the selected tab, invisible when hidden; "Switch"
// selects it); children n + 2 and on are the shown groups of the selected
// tab (ROLE_SYSTEM_GROUPING named by their captions, their visible controls
// as children). The hit test over the tab row or a group gives that object.
// Child ids out of range answer E_INVALIDARG; once the bar is gone every
// object answers CO_E_OBJNOTCONNECTED.
#pragma once

#include <qx/cbaccess.h>

#include <vector>

class CQXPRibbonBar;
class CQXPRibbonGroup;

class CRibbonBarAccessible : public CQXPCommandBarAccessible {
public:
    explicit CRibbonBarAccessible(CQXPRibbonBar* pRibbon);

    CQXPRibbonBar* GetRibbon() const;
    // The groups the selected tab shows now (none while minimised).
    std::vector<CQXPRibbonGroup*> GetShownGroups() const;
    // The bar's child id of a visible control (0: none).
    long GetChildOfControl(const CQXPControl* pControl) const;
    // The tab list (n + 1) or a group (n + 2 ...) with one reference for
    // the caller; NULL for any other child id.
    IDispatch* CreateChildObject(long nChild);
    // The answer to WM_GETOBJECT for the tab control's id: the tab list.
    LRESULT GetTabListObject(WPARAM wParam);

    HRESULT get_accChildCount(long* pcountChildren) override;
    HRESULT get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT get_accName(VARIANT varChild, BSTR* pszName) override;
    HRESULT get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT get_accState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    HRESULT accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
};
