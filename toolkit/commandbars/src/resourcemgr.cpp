// The toolkit's resource manager: strings, menus, bitmaps, cursors, icons,
// dialog templates and HTML pages through one resource chain.

#include <qx/resourcemgr.h>
#include <qx/toolbar.h>

#include <vector>

namespace {

// The languages the toolkit knows; the first is the one in use.
const QXP_RESOURCE_LANGUAGE kLanguages[] = {
    {1033, 0, 0, "windows-1252", "English (United States)", "LANG_ENGLISH", "SUBLANG_ENGLISH_US", ANSI_CHARSET},
};

#ifndef RT_HTML
#define RT_HTML MAKEINTRESOURCE(23)
#endif

// The modules of the chain, without repeats: the resource module (when
// set), the application's resource handle, the program's own module.
std::vector<HMODULE> ResourceChain(HMODULE hResourceModule)
{
    std::vector<HMODULE> chain;
    auto add = [&chain](HMODULE h) {
        if (!h)
            return;
        for (HMODULE k : chain)
            if (k == h)
                return;
        chain.push_back(h);
    };
    add(hResourceModule);
    add(AfxGetResourceHandle());
    add(AfxGetInstanceHandle());
    add(::GetModuleHandleA(NULL));
    return chain;
}

// UTF-16 to 8-bit with a code page (0: the system ANSI one).
CString Narrow(const wchar_t* pText, int nLength, UINT nCodePage)
{
    if (nLength <= 0)
        return CString();
    int nBytes = ::WideCharToMultiByte(nCodePage, 0, pText, nLength, NULL, 0, NULL, NULL);
    if (nBytes <= 0)
        return CString();
    std::string text((size_t)nBytes, '\0');
    ::WideCharToMultiByte(nCodePage, 0, pText, nLength, &text[0], nBytes, NULL, NULL);
    return CString(text.data(), nBytes);
}

} // namespace

ToolkitResourceManager::ToolkitResourceManager()
    : m_bValid(TRUE), m_hResourceModule(NULL), m_pLanguage(&kLanguages[0])
{
}

ToolkitResourceManager::~ToolkitResourceManager()
{
    FreeResourceModule();
}

ToolkitResourceManager* AFXAPI ToolkitResourceManager::Instance()
{
    static ToolkitResourceManager s_instance;
    return &s_instance;
}

void ToolkitResourceManager::SetResourceModule(HMODULE hModule)
{
    if (hModule == m_hResourceModule)
        return;
    FreeResourceModule();
    m_hResourceModule = hModule;
}

void ToolkitResourceManager::FreeResourceModule()
{
    if (m_hResourceModule) {
        ::FreeLibrary(m_hResourceModule);
        m_hResourceModule = NULL;
    }
}

HINSTANCE ToolkitResourceManager::GetResourceHandle() const
{
    if (m_hResourceModule)
        return m_hResourceModule;
    HINSTANCE hInst = AfxGetResourceHandle();
    return hInst ? hInst : ::GetModuleHandleA(NULL);
}

HINSTANCE ToolkitResourceManager::FindResourceHandle(LPCSTR lpszName, LPCSTR lpszType) const
{
    for (HMODULE hModule : ResourceChain(m_hResourceModule))
        if (::FindResourceA(hModule, lpszName, lpszType))
            return hModule;
    return GetResourceHandle();
}

LANGID ToolkitResourceManager::GetResourcesLangID() const
{
    return m_pLanguage ? m_pLanguage->wLanguage : (LANGID)0;
}

UINT ToolkitResourceManager::GetCodePage() const
{
    return m_pLanguage ? m_pLanguage->nCodePage : CP_ACP;
}

UINT ToolkitResourceManager::GetCharset() const
{
    return m_pLanguage ? m_pLanguage->nCharset : (UINT)ANSI_CHARSET;
}

// ---------------------------------------------------------------------------
// Strings

int ToolkitResourceManager::LoadStringFromModule(HMODULE hModule, UINT nID, CString* pString) const
{
    if (pString)
        pString->Empty();
    // String ids are 16 bits: block (id / 16) + 1, entry id % 16.
    if (!hModule || nID > 0xFFFF)
        return 0;
    HRSRC hRsrc = ::FindResourceA(hModule, MAKEINTRESOURCEA((nID >> 4) + 1), MAKEINTRESOURCEA(6));
    if (!hRsrc)
        return 0;
    HGLOBAL hGlobal = ::LoadResource(hModule, hRsrc);
    DWORD cbBlock = ::SizeofResource(hModule, hRsrc);
    const WORD* pBlock = hGlobal ? (const WORD*)::LockResource(hGlobal) : NULL;
    if (!pBlock)
        return 0;
    // Counted UTF-16 strings; never read past the block.
    size_t nWords = cbBlock / sizeof(WORD);
    size_t nPos = 0;
    for (UINT nEntry = 0; nEntry < (nID & 15); nEntry++) {
        if (nPos >= nWords)
            return 0;
        nPos += 1 + (size_t)pBlock[nPos];
    }
    if (nPos >= nWords)
        return 0;
    size_t nLength = pBlock[nPos];
    if (nLength == 0 || nPos + 1 + nLength > nWords)
        return 0;
    CString str = Narrow((const wchar_t*)(pBlock + nPos + 1), (int)nLength, GetCodePage());
    if (pString)
        *pString = str;
    return str.GetLength();
}

BOOL ToolkitResourceManager::LoadString(CString* pString, UINT nID)
{
    CString str;
    for (HMODULE hModule : ResourceChain(m_hResourceModule)) {
        if (LoadStringFromModule(hModule, nID, &str) > 0) {
            if (pString)
                *pString = str;
            return TRUE;
        }
    }
    if (pString)
        pString->Empty();
    return FALSE;
}

CString ToolkitResourceManager::LoadString(UINT nID, BOOL* pbNotFound)
{
    CString str;
    BOOL bFound = LoadString(&str, nID);
    if (pbNotFound)
        *pbNotFound = !bFound;
    return str;
}

int ToolkitResourceManager::ShowMessageBox(UINT nID, UINT nType)
{
    CString strText = LoadString(nID, NULL);
    return AfxMessageBox(strText, nType, 0);
}

// ---------------------------------------------------------------------------
// Menus

namespace {

// The text of a menu item: its length as the menu reports it, the text read
// as UTF-16 and converted with the code page (so it is neither cut nor
// converted twice on its way).
int ReadMenuText(HMENU hMenu, UINT nIDItem, CString& rString, UINT nFlags, UINT nCodePage)
{
    rString.Empty();
    if (!hMenu)
        return 0;
    int nLength = ::GetMenuStringA(hMenu, nIDItem, NULL, 0, nFlags);
    if (nLength < 1)
        return nLength;
    int nWide = ::GetMenuStringW(hMenu, nIDItem, NULL, 0, nFlags);
    if (nWide < 1)
        return nLength;
    std::vector<wchar_t> buffer((size_t)nWide + 1, L'\0');
    int nRead = ::GetMenuStringW(hMenu, nIDItem, buffer.data(), nWide + 1, nFlags);
    rString = Narrow(buffer.data(), nRead, nCodePage);
    return nLength;
}

} // namespace

int ToolkitResourceManager::GetMenuString(CMenu* pMenu, UINT nIDItem, CString& rString, UINT nFlags) const
{
    return ReadMenuText(pMenu ? pMenu->m_hMenu : NULL, nIDItem, rString, nFlags, GetCodePage());
}

CString AFXAPI ToolkitResourceManager::GetMenuString(HMENU hMenu, int nIndex)
{
    CString str;
    ReadMenuText(hMenu, (UINT)nIndex, str, MF_BYPOSITION, Instance()->GetCodePage());
    return str;
}

BOOL ToolkitResourceManager::LoadMenu(CMenu* pMenu, UINT nID)
{
    // An occupied menu object is not overwritten (its menu would leak).
    if (!pMenu || pMenu->m_hMenu)
        return FALSE;
    HINSTANCE hInst = FindResourceHandle(MAKEINTRESOURCEA(nID), MAKEINTRESOURCEA(4));
    HMENU hMenu = ::LoadMenuA(hInst, MAKEINTRESOURCEA(nID));
    if (!hMenu)
        return FALSE;
    if (!pMenu->Attach(hMenu)) {
        ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL ToolkitResourceManager::LoadToolBar(CQXPToolBar* pToolBar, UINT nID)
{
    if (!pToolBar)
        return FALSE;
    return pToolBar->LoadToolBar(nID, TRUE);
}

// ---------------------------------------------------------------------------
// Images

BOOL ToolkitResourceManager::LoadBitmap(CBitmap* pBitmap, UINT nID)
{
    if (!pBitmap || pBitmap->m_hObject)
        return FALSE;
    HINSTANCE hInst = FindResourceHandle(MAKEINTRESOURCEA(nID), MAKEINTRESOURCEA(2));
    HBITMAP hBitmap = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(nID));
    if (!hBitmap)
        return FALSE;
    if (!pBitmap->Attach(hBitmap)) {
        ::DeleteObject(hBitmap);
        return FALSE;
    }
    return TRUE;
}

HCURSOR ToolkitResourceManager::LoadCursor(UINT nID)
{
    // Cursors are found by their group entry (the id the program uses).
    HINSTANCE hInst = FindResourceHandle(MAKEINTRESOURCEA(nID), MAKEINTRESOURCEA(12));
    return ::LoadCursorA(hInst, MAKEINTRESOURCEA(nID));
}

HICON ToolkitResourceManager::LoadIcon(UINT nID)
{
    return LoadIcon(nID, 0, 0);
}

HICON ToolkitResourceManager::LoadIcon(UINT nID, int cx, int cy)
{
    HINSTANCE hInst = FindResourceHandle(MAKEINTRESOURCEA(nID), MAKEINTRESOURCEA(14));
    return (HICON)::LoadImageA(hInst, MAKEINTRESOURCEA(nID), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR);
}

HICON ToolkitResourceManager::LoadIconFromModule(HMODULE hModule, UINT nID, int cx, int cy)
{
    if (!hModule)
        return NULL;
    HRSRC hGroup = ::FindResourceA(hModule, MAKEINTRESOURCEA(nID), MAKEINTRESOURCEA(14));
    HGLOBAL hGroupData = hGroup ? ::LoadResource(hModule, hGroup) : NULL;
    BYTE* pGroup = hGroupData ? (BYTE*)::LockResource(hGroupData) : NULL;
    if (!pGroup)
        return NULL;
    int nIconId = ::LookupIconIdFromDirectoryEx(pGroup, TRUE, cx, cy, LR_DEFAULTCOLOR);
    if (nIconId <= 0)
        return NULL;
    HRSRC hIcon = ::FindResourceA(hModule, MAKEINTRESOURCEA(nIconId), MAKEINTRESOURCEA(3));
    HGLOBAL hIconData = hIcon ? ::LoadResource(hModule, hIcon) : NULL;
    BYTE* pIcon = hIconData ? (BYTE*)::LockResource(hIconData) : NULL;
    if (!pIcon)
        return NULL;
    return ::CreateIconFromResourceEx(pIcon, ::SizeofResource(hModule, hIcon), TRUE, 0x30000, cx, cy,
                                      LR_DEFAULTCOLOR);
}

// ---------------------------------------------------------------------------
// Dialogs and HTML

HGLOBAL ToolkitResourceManager::LoadDialogResource(UINT nID)
{
    LPCSTR lpszName = MAKEINTRESOURCEA(nID);
    HMODULE hModule = ::GetModuleHandleA(NULL);
    HRSRC hRsrc = ::FindResourceA(hModule, lpszName, MAKEINTRESOURCEA(5));
    if (!hRsrc) {
        hModule = FindResourceHandle(lpszName, MAKEINTRESOURCEA(5));
        hRsrc = ::FindResourceA(hModule, lpszName, MAKEINTRESOURCEA(5));
    }
    return hRsrc ? ::LoadResource(hModule, hRsrc) : NULL;
}

LPCDLGTEMPLATEA ToolkitResourceManager::LoadDialogTemplate(UINT nID)
{
    HGLOBAL hGlobal = LoadDialogResource(nID);
    return hGlobal ? (LPCDLGTEMPLATEA)::LockResource(hGlobal) : NULL;
}

BOOL ToolkitResourceManager::LoadHTML(CString* pText, UINT nID)
{
    if (!pText)
        return FALSE;
    pText->Empty();
    LPCSTR lpszName = MAKEINTRESOURCEA(nID);
    HMODULE hModule = ::GetModuleHandleA(NULL);
    HRSRC hRsrc = ::FindResourceA(hModule, lpszName, RT_HTML);
    if (!hRsrc) {
        hModule = FindResourceHandle(lpszName, RT_HTML);
        hRsrc = ::FindResourceA(hModule, lpszName, RT_HTML);
    }
    HGLOBAL hGlobal = hRsrc ? ::LoadResource(hModule, hRsrc) : NULL;
    const char* pData = hGlobal ? (const char*)::LockResource(hGlobal) : NULL;
    DWORD cbData = hRsrc ? ::SizeofResource(hModule, hRsrc) : 0;
    if (!pData || cbData == 0)
        return FALSE;
    *pText = CString(pData, (int)cbData);
    return TRUE;
}

// ---------------------------------------------------------------------------

WideString::WideString(LPCSTR lpszText)
{
    if (!lpszText || !*lpszText)
        return;
    UINT nCodePage = ToolkitResourceManager::Instance()->GetCodePage();
    int nChars = ::MultiByteToWideChar(nCodePage, 0, lpszText, -1, NULL, 0);
    if (nChars <= 1)
        return;
    m_str.resize((size_t)nChars);
    ::MultiByteToWideChar(nCodePage, 0, lpszText, -1, &m_str[0], nChars);
    m_str.resize((size_t)nChars - 1); // without the terminator
}
