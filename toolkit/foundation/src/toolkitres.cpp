// The toolkit's own resources read from the program's module.
#include <qx/toolkitres.h>

CString AFXAPI ToolkitString(UINT nID, LPCSTR lpszDefault)
{
    char sz[512] = {0};
    int n = ::LoadStringA(AfxGetResourceHandle(), nID, sz, (int)sizeof(sz));
    return n > 0 ? CString(sz) : CString(lpszDefault);
}

HCURSOR AFXAPI ToolkitCursor(UINT nID, LPCSTR lpszSystemCursor)
{
    LPCSTR name = MAKEINTRESOURCEA(nID);
    HCURSOR hCursor = ::LoadCursorA(AfxFindResourceHandle(name, RT_GROUP_CURSOR), name);
    if (!hCursor && lpszSystemCursor)
        hCursor = ::LoadCursorA(NULL, lpszSystemCursor);
    return hCursor;
}

HMENU AFXAPI ToolkitMenu(UINT nID)
{
    LPCSTR name = MAKEINTRESOURCEA(nID);
    return ::LoadMenuA(AfxFindResourceHandle(name, RT_MENU), name);
}
