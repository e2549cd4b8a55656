// CMenu.
#include "fx/menu.h"
#include "fx/gdi.h"
#include "fx/wnd.h"
#include "handlemap.h"

namespace {

void ClearMenu(CMenu* p) { p->m_hMenu = NULL; }

fx::detail::HandleMap<CMenu, HMENU>& MenuMap()
{
    static auto* map = new fx::detail::HandleMap<CMenu, HMENU>(&ClearMenu);
    return *map;
}

} // namespace

size_t fx::detail::MenuTempCount() { return MenuMap().TemporaryCount(); }

namespace {

CMenu* NewTempMenu(HMENU h)
{
    CMenu* p = new CMenu;
    p->m_hMenu = h;
    return p;
}

} // namespace

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::~CMenu()
{
    DestroyMenu();
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu) { return MenuMap().FromHandle(hMenu, &NewTempMenu); }
CMenu* PASCAL CMenu::FromHandlePermanent(HMENU hMenu) { return MenuMap().LookupPermanent(hMenu); }
void PASCAL CMenu::DeleteTempMap() { MenuMap().DeleteTemp(); }

BOOL CMenu::Attach(HMENU hMenu)
{
    if (hMenu == NULL)
        return FALSE;
    if (m_hMenu != NULL && m_hMenu != hMenu)
        DestroyMenu();
    m_hMenu = hMenu;
    MenuMap().SetPermanent(hMenu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    if (h != NULL)
        MenuMap().RemovePermanent(h, this);
    m_hMenu = NULL;
    return h;
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == NULL)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_MENU);
    return Attach(::LoadMenuA(hInst, lpszResourceName));
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp)
{
    return ::AppendMenuA(m_hMenu, nFlags | MF_BITMAP, nIDNewItem, (LPCSTR)pBmp->GetSafeHandle());
}

BOOL CMenu::SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked, const CBitmap* pBmpChecked)
{
    return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags, (HBITMAP)pBmpUnchecked->GetSafeHandle(),
                                (HBITMAP)pBmpChecked->GetSafeHandle());
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int nLen = ::GetMenuStringA(m_hMenu, nIDItem, NULL, 0, nFlags);
    if (nLen <= 0) {
        rString.Empty();
        return 0;
    }
    nLen = ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBuffer(nLen + 1), nLen + 1, nFlags);
    rString.ReleaseBuffer(nLen);
    return nLen;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->GetSafeHwnd(), lpRect);
}

BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm)
{
    return ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, pWnd->GetSafeHwnd(), lptpm);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}
void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}
