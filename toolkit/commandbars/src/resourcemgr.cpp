// Strings and menu texts for the command bars.

#include <qx/resourcemgr.h>

CQXPResourceManager* AFXAPI CQXPResourceManager::Instance()
{
    static CQXPResourceManager s_instance;
    return &s_instance;
}

HINSTANCE CQXPResourceManager::GetResourceHandle() const
{
    return m_hResource ? m_hResource : ::GetModuleHandleA(NULL);
}

BOOL CQXPResourceManager::LoadString(CString* pString, UINT nID) const
{
    pString->Empty();
    if (nID == 0 || nID > 0xFFFF)
        return FALSE;
    char buf[1024];
    int n = ::LoadStringA(GetResourceHandle(), nID, buf, (int)sizeof(buf));
    if (n <= 0)
        return FALSE;
    *pString = CString(buf, n);
    return TRUE;
}

CString AFXAPI CQXPResourceManager::GetMenuString(HMENU hMenu, int nIndex)
{
    MENUITEMINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    if (!::GetMenuItemInfoA(hMenu, (UINT)nIndex, TRUE, &info) || info.cch == 0)
        return CString();
    std::string text(info.cch + 1, '\0');
    info.dwTypeData = &text[0];
    info.cch += 1;
    if (!::GetMenuItemInfoA(hMenu, (UINT)nIndex, TRUE, &info))
        return CString();
    return CString(text.c_str());
}
