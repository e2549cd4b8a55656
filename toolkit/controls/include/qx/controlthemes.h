// qx/controlthemes.h - theme objects of the standard controls and the
// factories that hand them out.
//
// Each themed control type has a factory class (derived from
// CQXThemeManagerStyleFactory). The process-wide theme manager keeps one
// shared factory per class; every control embeds a ThemeFactoryList that
// knows its factory class and gives the control its current theme: the
// shared factory's theme (created on first use for the manager's current
// theme id), or a theme of the control's own (SetTheme), held by a private
// factory.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

class CQXThemeManagerStyleFactory;
class ThemeFactoryList;

// The base of all theme objects.
class ThemeStyle {
public:
    ThemeStyle();
    virtual ~ThemeStyle();
    ThemeStyle(const ThemeStyle&) = delete;
    ThemeStyle& operator=(const ThemeStyle&) = delete;

    virtual void RefreshMetrics() {}
    // Copies what the control's parent shows under the control.
    virtual BOOL TakeSnapShot(CWnd* pControl);
    // For WS_EX_TRANSPARENT controls: the parent's picture as background.
    virtual BOOL DrawTransparentBack(CDC* pDC, CWnd* pControl);

    CQXThemeManagerStyleFactory* m_pFactory;
    int m_nTheme;
    CBitmap m_bmpParentSnapshot;
};

// A factory of one control type's themes.
class CQXThemeManagerStyleFactory : public CObject {
    DECLARE_DYNCREATE(CQXThemeManagerStyleFactory)
public:
    CQXThemeManagerStyleFactory();
    ~CQXThemeManagerStyleFactory() override;

    // A new theme for a theme id (NULL in the base).
    virtual ThemeStyle* CreateTheme(int nTheme);
    virtual void RefreshMetrics();

    // Replaces the theme (NULL is ignored) and tells every client.
    void SetFactoryTheme(ThemeStyle* pTheme);
    ThemeStyle* GetFactoryTheme() const { return m_pTheme; }
    int GetClientCount() const;

    ThemeStyle* m_pTheme;
    ThemeFactoryList* m_pClients;
    CQXThemeManagerStyleFactory* m_pNextFactory;
};

// The process-wide theme manager.
class CQXThemeManager {
public:
    CQXThemeManager();
    ~CQXThemeManager();
    CQXThemeManager(const CQXThemeManager&) = delete;
    CQXThemeManager& operator=(const CQXThemeManager&) = delete;

    // The shared factory of a class, created on first request; NULL for a
    // NULL class or a class that cannot be created.
    CQXThemeManagerStyleFactory* GetFactory(CRuntimeClass* pFactoryClass);
    int GetFactoryCount() const;

    CMapPtrToPtr m_mapFactories;
    int m_nCurrentTheme;
    CQXThemeManagerStyleFactory* m_pFactories; // every factory, newest first
};

CQXThemeManager* AFXAPI GetThemeManagerState();

// The theme holder embedded in a control.
class ThemeFactoryList {
public:
    explicit ThemeFactoryList(CRuntimeClass* pFactoryClass = NULL);
    virtual ~ThemeFactoryList();
    ThemeFactoryList(const ThemeFactoryList&) = delete;
    ThemeFactoryList& operator=(const ThemeFactoryList&) = delete;

    // A new factory of the stored class.
    virtual CQXThemeManagerStyleFactory* CreateFactory();
    virtual void OnThemeChanged() {}

    void SetFactoryClass(CRuntimeClass* pFactoryClass);
    // The control's current theme; NULL without a factory.
    ThemeStyle* GetTheme();
    // A theme of the control's own (NULL or the shared theme: back to the
    // shared one; a theme another control owns is refused).
    void SetTheme(ThemeStyle* pTheme);
    // The factory in use: the private one, else the shared one.
    CQXThemeManagerStyleFactory* GetFactory() const
    {
        return m_pPrivateFactory ? m_pPrivateFactory : m_pSharedFactory;
    }

    BOOL m_bOwnsPrivateFactory;
    CRuntimeClass* m_pFactoryClass;
    CQXThemeManagerStyleFactory* m_pPrivateFactory;
    CQXThemeManagerStyleFactory* m_pSharedFactory;
    ThemeFactoryList* m_pNextClient;

private:
    void Join(CQXThemeManagerStyleFactory* pFactory);
    void Leave();
};
