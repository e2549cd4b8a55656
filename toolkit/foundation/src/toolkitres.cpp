// The toolkit's own resources read from the program's module.
#include <qx/toolkitres.h>

#include <map>
#include <tuple>

CString AFXAPI ToolkitString(UINT nID, LPCSTR lpszDefault)
{
    char sz[512] = {0};
    int n = ::LoadStringA(AfxGetResourceHandle(), nID, sz, (int)sizeof(sz));
    return n > 0 ? CString(sz) : CString(lpszDefault);
}

HCURSOR AFXAPI ToolkitCursor(UINT nID, LPCSTR lpszSystemCursor)
{
    // Loaded cursors are shared (never destroyed): each is loaded once per
    // module that holds it. Every load is a round trip to the window server,
    // and every splitter, tracker and drag asks for its cursor anew.
    struct Key {
        HMODULE hModule;
        UINT nID;
        LPCSTR lpszSystemCursor;
        bool operator<(const Key& o) const
        {
            return std::tie(hModule, nID, lpszSystemCursor) < std::tie(o.hModule, o.nID, o.lpszSystemCursor);
        }
    };
    static std::map<Key, HCURSOR> s_loaded;
    LPCSTR name = MAKEINTRESOURCEA(nID);
    const HMODULE hModule = AfxFindResourceHandle(name, RT_GROUP_CURSOR);
    const Key key = {hModule, nID, lpszSystemCursor};
    auto it = s_loaded.find(key);
    if (it != s_loaded.end())
        return it->second;
    HCURSOR hCursor = ::LoadCursorA(hModule, name);
    if (!hCursor && lpszSystemCursor)
        hCursor = ::LoadCursorA(NULL, lpszSystemCursor);
    if (hCursor)
        s_loaded[key] = hCursor;
    return hCursor;
}

HMENU AFXAPI ToolkitMenu(UINT nID)
{
    LPCSTR name = MAKEINTRESOURCEA(nID);
    return ::LoadMenuA(AfxFindResourceHandle(name, RT_MENU), name);
}
