// controlthemes.cpp - theme objects, factories, the theme manager and the
// controls' theme holders.
#include <qx/controlthemes.h>

// ---------------------------------------------------------------------------
// Theme objects.

ThemeStyle::ThemeStyle() : m_pFactory(NULL), m_nTheme(0) {}

ThemeStyle::~ThemeStyle() {}

BOOL ThemeStyle::TakeSnapShot(CWnd* pControl)
{
    HWND hWnd = pControl ? pControl->GetSafeHwnd() : NULL;
    HWND hParent = hWnd ? ::GetParent(hWnd) : NULL;
    if (!hParent || !::IsWindow(hParent))
        return FALSE;
    m_bmpParentSnapshot.DeleteObject();
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(NULL, hParent, (LPPOINT)&rc, 2);
    HDC hdcParent = ::GetDC(hParent);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hdcParent, rc.Width(), rc.Height());
    HDC hdcMem = ::CreateCompatibleDC(hdcParent);
    HGDIOBJ hOld = ::SelectObject(hdcMem, hBitmap);
    ::BitBlt(hdcMem, 0, 0, rc.Width(), rc.Height(), hdcParent, rc.left, rc.top, SRCCOPY);
    ::SelectObject(hdcMem, hOld);
    ::DeleteDC(hdcMem);
    ::ReleaseDC(hParent, hdcParent);
    m_bmpParentSnapshot.Attach(hBitmap);
    return TRUE;
}

BOOL ThemeStyle::DrawTransparentBack(CDC* pDC, CWnd* pControl)
{
    if (!pControl || !pDC || !(pControl->GetExStyle() & WS_EX_TRANSPARENT))
        return FALSE;
    if (!TakeSnapShot(pControl))
        return FALSE;
    CRect rc;
    pControl->GetClientRect(&rc);
    HDC hdcMem = ::CreateCompatibleDC(pDC->GetSafeHdc());
    HGDIOBJ hOld = ::SelectObject(hdcMem, m_bmpParentSnapshot.GetSafeHandle());
    ::BitBlt(pDC->GetSafeHdc(), 0, 0, rc.Width(), rc.Height(), hdcMem, 0, 0, SRCCOPY);
    ::SelectObject(hdcMem, hOld);
    ::DeleteDC(hdcMem);
    return TRUE;
}

// ---------------------------------------------------------------------------
// The theme manager.

CQXThemeManager::CQXThemeManager() : m_nCurrentTheme(0), m_pFactories(NULL) { m_mapFactories.InitHashTable(17); }

CQXThemeManager::~CQXThemeManager()
{
    POSITION pos = m_mapFactories.GetStartPosition();
    while (pos) {
        void* pKey = NULL;
        void* pValue = NULL;
        m_mapFactories.GetNextAssoc(pos, pKey, pValue);
        delete (CQXThemeManagerStyleFactory*)pValue;
    }
    m_mapFactories.RemoveAll();
    m_pFactories = NULL;
}

CQXThemeManager* AFXAPI GetThemeManagerState()
{
    static CQXThemeManager s_manager;
    return &s_manager;
}

CQXThemeManagerStyleFactory* CQXThemeManager::GetFactory(CRuntimeClass* pFactoryClass)
{
    if (!pFactoryClass)
        return NULL;
    void* pValue = NULL;
    if (m_mapFactories.Lookup(pFactoryClass, pValue))
        return (CQXThemeManagerStyleFactory*)pValue;
    CObject* pObject = pFactoryClass->CreateObject();
    CQXThemeManagerStyleFactory* pFactory = dynamic_cast<CQXThemeManagerStyleFactory*>(pObject);
    if (!pFactory) {
        delete pObject;
        return NULL;
    }
    m_mapFactories.SetAt(pFactoryClass, pFactory);
    return pFactory;
}

int CQXThemeManager::GetFactoryCount() const
{
    int n = 0;
    for (CQXThemeManagerStyleFactory* p = m_pFactories; p; p = p->m_pNextFactory)
        ++n;
    return n;
}

// ---------------------------------------------------------------------------
// Factories.

IMPLEMENT_DYNCREATE(CQXThemeManagerStyleFactory, CObject)

CQXThemeManagerStyleFactory::CQXThemeManagerStyleFactory() : m_pTheme(NULL), m_pClients(NULL)
{
    CQXThemeManager* pManager = GetThemeManagerState();
    m_pNextFactory = pManager->m_pFactories;
    pManager->m_pFactories = this;
}

CQXThemeManagerStyleFactory::~CQXThemeManagerStyleFactory()
{
    delete m_pTheme;
    m_pTheme = NULL;
    // Clients that still point here fall back to no factory.
    for (ThemeFactoryList* p = m_pClients; p; p = p->m_pNextClient) {
        if (p->m_pSharedFactory == this)
            p->m_pSharedFactory = NULL;
        if (p->m_pPrivateFactory == this) {
            p->m_pPrivateFactory = NULL;
            p->m_bOwnsPrivateFactory = FALSE;
        }
    }
    CQXThemeManager* pManager = GetThemeManagerState();
    for (CQXThemeManagerStyleFactory** pp = &pManager->m_pFactories; *pp; pp = &(*pp)->m_pNextFactory)
        if (*pp == this) {
            *pp = m_pNextFactory;
            break;
        }
}

ThemeStyle* CQXThemeManagerStyleFactory::CreateTheme(int) { return NULL; }

void CQXThemeManagerStyleFactory::RefreshMetrics()
{
    if (m_pTheme)
        m_pTheme->RefreshMetrics();
}

void CQXThemeManagerStyleFactory::SetFactoryTheme(ThemeStyle* pTheme)
{
    if (!pTheme || pTheme == m_pTheme)
        return;
    delete m_pTheme;
    m_pTheme = pTheme;
    m_pTheme->m_pFactory = this;
    m_pTheme->RefreshMetrics();
    for (ThemeFactoryList* p = m_pClients; p; p = p->m_pNextClient)
        p->OnThemeChanged();
}

int CQXThemeManagerStyleFactory::GetClientCount() const
{
    int n = 0;
    for (ThemeFactoryList* p = m_pClients; p; p = p->m_pNextClient)
        ++n;
    return n;
}

// ---------------------------------------------------------------------------
// The theme holder.

ThemeFactoryList::ThemeFactoryList(CRuntimeClass* pFactoryClass)
    : m_bOwnsPrivateFactory(FALSE), m_pFactoryClass(NULL), m_pPrivateFactory(NULL), m_pSharedFactory(NULL),
      m_pNextClient(NULL)
{
    if (pFactoryClass)
        SetFactoryClass(pFactoryClass);
}

ThemeFactoryList::~ThemeFactoryList()
{
    Leave();
    if (m_bOwnsPrivateFactory)
        delete m_pPrivateFactory;
    m_pPrivateFactory = NULL;
}

void ThemeFactoryList::Join(CQXThemeManagerStyleFactory* pFactory)
{
    if (!pFactory)
        return;
    m_pNextClient = pFactory->m_pClients;
    pFactory->m_pClients = this;
}

void ThemeFactoryList::Leave()
{
    CQXThemeManagerStyleFactory* pFactory = GetFactory();
    if (pFactory) {
        for (ThemeFactoryList** pp = &pFactory->m_pClients; *pp; pp = &(*pp)->m_pNextClient)
            if (*pp == this) {
                *pp = m_pNextClient;
                break;
            }
    }
    m_pNextClient = NULL;
}

CQXThemeManagerStyleFactory* ThemeFactoryList::CreateFactory()
{
    if (!m_pFactoryClass)
        return NULL;
    CObject* pObject = m_pFactoryClass->CreateObject();
    CQXThemeManagerStyleFactory* pFactory = dynamic_cast<CQXThemeManagerStyleFactory*>(pObject);
    if (!pFactory)
        delete pObject;
    return pFactory;
}

void ThemeFactoryList::SetFactoryClass(CRuntimeClass* pFactoryClass)
{
    if (!pFactoryClass)
        return;
    Leave();
    m_pFactoryClass = pFactoryClass;
    m_pSharedFactory = GetThemeManagerState()->GetFactory(pFactoryClass);
    Join(GetFactory());
}

ThemeStyle* ThemeFactoryList::GetTheme()
{
    CQXThemeManagerStyleFactory* pFactory = GetFactory();
    if (!pFactory)
        return NULL;
    if (!pFactory->m_pTheme) {
        ThemeStyle* pTheme = pFactory->CreateTheme(GetThemeManagerState()->m_nCurrentTheme);
        if (pTheme) {
            pFactory->m_pTheme = pTheme;
            pTheme->m_pFactory = pFactory;
            pTheme->RefreshMetrics();
        }
    }
    return pFactory->m_pTheme;
}

void ThemeFactoryList::SetTheme(ThemeStyle* pTheme)
{
    // A theme another factory holds cannot be owned here as well: the shared
    // theme of this control's type means going back to the shared factory;
    // another control's own theme is refused and nothing changes.
    CQXThemeManagerStyleFactory* pOwn = m_bOwnsPrivateFactory ? m_pPrivateFactory : NULL;
    if (pTheme && pTheme->m_pFactory && pTheme->m_pFactory != pOwn) {
        if (pTheme->m_pFactory != m_pSharedFactory)
            return;
        pTheme = NULL;
    }
    Leave();
    // The theme the control already owns is handed on, not deleted with
    // its old factory.
    if (m_bOwnsPrivateFactory && m_pPrivateFactory && pTheme && m_pPrivateFactory->m_pTheme == pTheme)
        m_pPrivateFactory->m_pTheme = NULL;
    if (m_bOwnsPrivateFactory)
        delete m_pPrivateFactory;
    m_pPrivateFactory = NULL;
    m_bOwnsPrivateFactory = FALSE;
    if (pTheme) {
        CQXThemeManagerStyleFactory* pFactory = CreateFactory();
        if (pFactory) {
            pFactory->SetFactoryTheme(pTheme);
            m_pPrivateFactory = pFactory;
            m_bOwnsPrivateFactory = TRUE;
        } else {
            delete pTheme;
        }
    }
    OnThemeChanged();
    Join(GetFactory());
}
