// Theme factories of the standard controls: shared and private themes,
// client lists, the button factory's table and transparent backgrounds.
#include "DialogTestSupport.h"
#include "PaintTestSupport.h"

#include <qx/buttons.h>
#include <qx/controlthemes.h>

using namespace dlgtest;
using namespace painttest;

namespace {

// A theme that counts its objects.
struct CountedTheme : ThemeStyle {
    static int s_nAlive;
    CountedTheme() { ++s_nAlive; }
    ~CountedTheme() override { --s_nAlive; }
    int nRefreshes = 0;
    void RefreshMetrics() override { ++nRefreshes; }
};
int CountedTheme::s_nAlive = 0;

class CountedFactory : public CQXThemeManagerStyleFactory {
    DECLARE_DYNCREATE(CountedFactory)
public:
    ThemeStyle* CreateTheme(int nTheme) override
    {
        CountedTheme* p = new CountedTheme;
        p->m_nTheme = nTheme;
        return p;
    }
};
IMPLEMENT_DYNCREATE(CountedFactory, CQXThemeManagerStyleFactory)

struct Client : ThemeFactoryList {
    explicit Client(CRuntimeClass* p = RUNTIME_CLASS(CountedFactory)) : ThemeFactoryList(p) {}
    int nChanged = 0;
    void OnThemeChanged() override { ++nChanged; }
};

TEST(ControlThemes, ControlsShareTheFactorysThemeUntilOneGetsItsOwn)
{
    Client a, b;
    ThemeStyle* pShared = a.GetTheme();
    ASSERT_NE(nullptr, pShared);
    EXPECT_EQ(pShared, b.GetTheme());
    EXPECT_EQ(GetThemeManagerState()->GetFactory(RUNTIME_CLASS(CountedFactory)), a.GetFactory());
    EXPECT_EQ(1, static_cast<CountedTheme*>(pShared)->nRefreshes) << "refreshed when created";
    EXPECT_EQ(GetThemeManagerState()->m_nCurrentTheme, pShared->m_nTheme);

    CountedTheme* pOwn = new CountedTheme;
    a.SetTheme(pOwn);
    EXPECT_EQ(pOwn, a.GetTheme());
    EXPECT_EQ(pShared, b.GetTheme()) << "the other control keeps the shared theme";
    EXPECT_EQ(1, pOwn->nRefreshes);
    EXPECT_EQ(1, a.nChanged);
    EXPECT_TRUE(a.m_bOwnsPrivateFactory);
    EXPECT_NE(a.GetFactory(), b.GetFactory());

    int nAlive = CountedTheme::s_nAlive;
    a.SetTheme(NULL);
    EXPECT_EQ(nAlive - 1, CountedTheme::s_nAlive) << "the private theme is deleted";
    EXPECT_EQ(pShared, a.GetTheme()) << "back to the shared theme";
    EXPECT_FALSE(a.m_bOwnsPrivateFactory);
    EXPECT_EQ(2, a.nChanged);
}

TEST(ControlThemes, SettingTheThemeAControlOwnsKeepsIt)
{
    Client a;
    CountedTheme* pOwn = new CountedTheme;
    a.SetTheme(pOwn);
    const int nAlive = CountedTheme::s_nAlive;
    a.SetTheme(pOwn);
    EXPECT_EQ(nAlive, CountedTheme::s_nAlive) << "the theme is not deleted";
    ASSERT_EQ(pOwn, a.GetTheme());
    EXPECT_EQ(a.GetFactory(), pOwn->m_pFactory) << "it belongs to the control's factory";
    EXPECT_TRUE(a.m_bOwnsPrivateFactory);
    EXPECT_EQ(2, a.nChanged);
    a.SetTheme(NULL);
    EXPECT_EQ(nAlive - 1, CountedTheme::s_nAlive) << "deleted once, with the control's factory";
}

TEST(ControlThemes, AThemeAnotherFactoryHoldsIsNeverOwnedTwice)
{
    Client a, b;
    ThemeStyle* pShared = a.GetTheme();
    ASSERT_NE(nullptr, pShared);
    CountedTheme* pOwnB = new CountedTheme;
    b.SetTheme(pOwnB);
    const int nAlive = CountedTheme::s_nAlive;

    // Another control's own theme: refused, nothing changes.
    a.SetTheme(pOwnB);
    EXPECT_EQ(pShared, a.GetTheme());
    EXPECT_FALSE(a.m_bOwnsPrivateFactory);
    EXPECT_EQ(0, a.nChanged);
    EXPECT_EQ(b.GetFactory(), pOwnB->m_pFactory) << "still the other control's";

    // The shared theme, handed to a control with a theme of its own: the
    // control goes back to the shared factory; its own theme is deleted once.
    b.SetTheme(pShared);
    EXPECT_EQ(nAlive - 1, CountedTheme::s_nAlive);
    EXPECT_EQ(pShared, b.GetTheme());
    EXPECT_FALSE(b.m_bOwnsPrivateFactory);
    EXPECT_EQ(GetThemeManagerState()->GetFactory(RUNTIME_CLASS(CountedFactory)), pShared->m_pFactory);
    // ... and handed to a control on the shared factory: it stays there.
    a.SetTheme(a.GetTheme());
    EXPECT_EQ(pShared, a.GetTheme());
    EXPECT_FALSE(a.m_bOwnsPrivateFactory);
    EXPECT_EQ(nAlive - 1, CountedTheme::s_nAlive) << "no theme made or lost";
}

TEST(ControlThemes, FactoriesTellTheirClientsAboutANewTheme)
{
    Client a, b, c;
    CQXThemeManagerStyleFactory* pFactory = a.GetFactory();
    int nBefore = pFactory->GetClientCount();
    EXPECT_GE(nBefore, 3);
    CountedTheme* pNew = new CountedTheme;
    pFactory->SetFactoryTheme(pNew);
    EXPECT_EQ(pNew, c.GetTheme());
    EXPECT_EQ(pFactory, pNew->m_pFactory);
    EXPECT_EQ(1, a.nChanged);
    EXPECT_EQ(1, b.nChanged);
    EXPECT_EQ(1, c.nChanged);
    pFactory->SetFactoryTheme(NULL);
    EXPECT_EQ(pNew, c.GetTheme()) << "NULL is ignored";
    {
        Client d;
        EXPECT_EQ(nBefore + 1, pFactory->GetClientCount());
    }
    EXPECT_EQ(nBefore, pFactory->GetClientCount()) << "a destroyed control leaves the list";
}

TEST(ControlThemes, ClientsWithoutAFactoryClassHaveNoTheme)
{
    ThemeFactoryList none;
    EXPECT_EQ(nullptr, none.GetTheme());
    EXPECT_EQ(nullptr, none.GetFactory());
    none.SetFactoryClass(NULL);
    EXPECT_EQ(nullptr, none.GetTheme());
    EXPECT_EQ(nullptr, GetThemeManagerState()->GetFactory(NULL));
    // A factory class that makes no themes.
    ThemeFactoryList plain(RUNTIME_CLASS(CQXThemeManagerStyleFactory));
    EXPECT_NE(nullptr, plain.GetFactory());
    EXPECT_EQ(nullptr, plain.GetTheme());
}

TEST(ControlThemes, ButtonFactoryMapsThemeIds)
{
    CQXButtonThemeFactory factory;
    struct Row {
        int nId;
        const char* kind;
    };
    const Row rows[] = {{0, "base"}, {1, "flat"}, {2, "gradient"}, {3, "base"}, {-1, "base"}};
    for (const Row& r : rows) {
        ThemeStyle* p = factory.CreateTheme(r.nId);
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(r.nId, p->m_nTheme);
        bool bGradient = dynamic_cast<CButtonThemeGradient*>(p) != nullptr;
        bool bFlat = !bGradient && dynamic_cast<CButtonThemeFlat*>(p) != nullptr;
        std::string kind = bGradient ? "gradient" : bFlat ? "flat"
                                                          : "base";
        EXPECT_EQ(r.kind, kind) << r.nId;
        if (bFlat || bGradient) {
            EXPECT_FALSE(static_cast<CButtonThemeFlat*>(p)->m_bToolbarLook);
        }
        delete p;
    }
}

TEST(ControlThemes, TransparentControlsDrawTheirParentsPicture)
{
    CWnd parent;
    LPCSTR cls = AfxRegisterWndClass(0, NULL, ::CreateSolidBrush(RGB(200, 30, 30)));
    ASSERT_TRUE(parent.CreateEx(0, cls, "Parent", WS_POPUP | WS_VISIBLE, 50, 50, 200, 120, NULL, NULL));
    ::SetWindowPos(parent.GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    parent.UpdateWindow();
    CWnd child;
    ASSERT_TRUE(child.Create(AfxRegisterWndClass(0), "", WS_VISIBLE, CRect(20, 20, 60, 50), &parent, 10));
    PumpMessages();
    ThemeStyle theme;
    MemoryDC mem(40, 30, RGB(1, 2, 3));
    EXPECT_FALSE(theme.DrawTransparentBack(mem.dc(), &child)) << "only for WS_EX_TRANSPARENT";
    EXPECT_EQ(RGB(1, 2, 3), mem.Pixel(5, 5));
    child.ModifyStyleEx(0, WS_EX_TRANSPARENT);
    parent.Invalidate(TRUE);
    parent.UpdateWindow();
    EXPECT_TRUE(theme.DrawTransparentBack(mem.dc(), &child));
    EXPECT_EQ(RGB(200, 30, 30), mem.Pixel(5, 5));
    CWnd orphan;
    EXPECT_FALSE(theme.TakeSnapShot(&orphan));
    child.DestroyWindow();
    parent.DestroyWindow();
}

} // namespace
