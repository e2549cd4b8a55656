// qx/resourcemgr.h - where the command bars find their strings and menus:
// the toolkit's resource module when one is set, else the application's.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

class CQXPResourceManager {
public:
    static CQXPResourceManager* AFXAPI Instance();

    void SetResourceHandle(HINSTANCE hInst) { m_hResource = hInst; }
    HINSTANCE GetResourceHandle() const;
    // The string resource of an id; FALSE (and an empty string) when none.
    BOOL LoadString(CString* pString, UINT nID) const;
    // The text of a menu item by position (empty for separators).
    static CString AFXAPI GetMenuString(HMENU hMenu, int nIndex);

private:
    CQXPResourceManager() = default;
    HINSTANCE m_hResource = NULL;
};
