// The visual-styles wrapper: binding by name, failure values without the
// library or when it faults, handle lifetime, rebinding after the library is
// reloaded.
#include <qx/visualstyles.h>

#include "QxTestSupport.h"

#include <gmock/gmock.h>

#include <functional>

namespace {

class VisualStyles : public ::testing::Test {
protected:
    void TearDown() override { CVisualStyleTheme::SetLibrary(NULL); }
};

} // namespace

TEST_F(VisualStyles, WithoutTheLibraryEveryCallGivesItsFailureValue)
{
    CVisualStyleTheme::SetLibrary("qx_no_such_uxtheme.dll");
    CVisualStyleTheme vs;
    HDC hdc = GetDC(NULL);
    RECT rc = {0, 0, 10, 10};
    COLORREF clr = 0x123456;
    SIZE sz = {1, 2};
    wchar_t a[16], b[16], c[16];
    HDC hdcBuffer = NULL;
    EXPECT_EQ(nullptr, vs.OpenThemeData(NULL, L"BUTTON"));
    EXPECT_FALSE(vs.IsOpen());
    EXPECT_FALSE(vs.IsAppThemed());
    EXPECT_FALSE(vs.IsThemeActive());
    EXPECT_EQ(E_FAIL, vs.DrawThemeBackground(hdc, 1, 1, &rc));
    EXPECT_EQ(E_FAIL, vs.DrawThemeTextEx(hdc, 1, 1, L"x", 1, 0, &rc, NULL));
    EXPECT_EQ(E_FAIL, vs.GetThemeColor(1, 1, 3803, &clr));
    EXPECT_EQ(0x123456u, clr);
    EXPECT_EQ(E_FAIL, vs.GetThemePartSize(hdc, 1, 1, NULL, TS_TRUE, &sz));
    EXPECT_FALSE(vs.GetThemeSysBool(0));
    EXPECT_EQ(E_FAIL, vs.GetCurrentThemeName(a, 16, b, 16, c, 16));
    EXPECT_EQ(nullptr, vs.BeginBufferedPaint(hdc, &rc, BPBF_TOPDOWNDIB, NULL, &hdcBuffer));
    vs.EndBufferedPaint(NULL, TRUE);
    EXPECT_EQ(S_OK, vs.CloseThemeHandle());
    EXPECT_FALSE(vs.IsNewThemeLibrary());
    ReleaseDC(NULL, hdc);
}

TEST_F(VisualStyles, HandlesAreClosedBeforeTheNextOpenAndOnDestruction)
{
    qxtest::FakeUx fake;
    ASSERT_TRUE(fake.Loaded());
    CVisualStyleTheme::SetLibrary("qxfakeux.dll");
    fake.Set(L"C:\\Windows\\Resources\\Themes\\Luna\\Luna.msstyles", L"NormalColor", true);
    LONG opens = fake.Opens(), closes = fake.Closes();
    {
        CVisualStyleTheme vs;
        EXPECT_FALSE(vs.IsAppThemed()) << "no handle held: no library call, FALSE";
        HTHEME h1 = vs.OpenThemeData(NULL, L"BUTTON");
        ASSERT_TRUE(h1 != NULL);
        EXPECT_EQ(L"BUTTON", fake.LastClass());
        EXPECT_TRUE(vs.IsAppThemed());
        HTHEME h2 = vs.OpenThemeData(NULL, L"TOOLBAR");
        EXPECT_NE(h1, h2);
        EXPECT_EQ(opens + 2, fake.Opens());
        EXPECT_EQ(closes + 1, fake.Closes()) << "the first handle was closed first";
        COLORREF clr = 0;
        EXPECT_EQ(S_OK, vs.GetThemeColor(0, 0, 3801, &clr));
        EXPECT_EQ(0x00112233u, clr);
        wchar_t file[260], scheme[260], size[260];
        EXPECT_EQ(S_OK, vs.GetCurrentThemeName(file, 260, scheme, 260, size, 260));
        EXPECT_STREQ(L"NormalColor", scheme);
    }
    EXPECT_EQ(closes + 2, fake.Closes());

    fake.Set(L"x", L"y", false);
    CVisualStyleTheme vs;
    vs.OpenThemeData(NULL, L"BUTTON");
    EXPECT_FALSE(vs.IsAppThemed()) << "handle held but the application is not themed";
}

TEST_F(VisualStyles, AFaultInsideTheLibraryGivesTheFailureValue)
{
    qxtest::FakeUx fake;
    ASSERT_TRUE(fake.Loaded());
    qxtest::FakeUxInUse inUse(fake);
    fake.Set(L"luna.msstyles", L"NormalColor", true);
    HDC hdc = GetDC(NULL);
    RECT rc = {0, 0, 10, 10};
    // Each row: the entry point that faults, and the wrapper's answer
    // compared with its failure value (the object holds an open handle).
    struct Row {
        const char* name;
        std::function<bool(CVisualStyleTheme&)> failed;
    } rows[] = {
        {"DrawThemeBackground", [&](CVisualStyleTheme& vs) { return vs.DrawThemeBackground(hdc, 1, 1, &rc) == E_FAIL; }},
        {"DrawThemeTextEx",
         [&](CVisualStyleTheme& vs) { return vs.DrawThemeTextEx(hdc, 1, 1, L"x", 1, 0, &rc, NULL) == E_FAIL; }},
        {"GetThemeColor",
         [&](CVisualStyleTheme& vs) {
             COLORREF clr = 0x123456;
             return vs.GetThemeColor(0, 0, 3801, &clr) == E_FAIL && clr == 0x123456;
         }},
        {"GetThemePartSize",
         [&](CVisualStyleTheme& vs) {
             SIZE sz = {1, 2};
             return vs.GetThemePartSize(hdc, 1, 1, NULL, TS_TRUE, &sz) == E_FAIL;
         }},
        {"GetThemeSysBool", [&](CVisualStyleTheme& vs) { return !vs.GetThemeSysBool(1001); }},
        {"GetCurrentThemeName",
         [&](CVisualStyleTheme& vs) {
             wchar_t a[16], b[16], c[16];
             return vs.GetCurrentThemeName(a, 16, b, 16, c, 16) == E_FAIL;
         }},
        {"IsAppThemed", [&](CVisualStyleTheme& vs) { return !vs.IsAppThemed(); }},
        {"IsThemeActive", [&](CVisualStyleTheme& vs) { return !vs.IsThemeActive(); }},
        {"BeginBufferedPaint",
         [&](CVisualStyleTheme& vs) {
             HDC hdcBuffer = NULL;
             return vs.BeginBufferedPaint(hdc, &rc, BPBF_TOPDOWNDIB, NULL, &hdcBuffer) == NULL;
         }},
        {"EndBufferedPaint",
         [&](CVisualStyleTheme& vs) {
             vs.EndBufferedPaint((HPAINTBUFFER)(INT_PTR)1, TRUE);
             return true; // returned at all
         }},
        // Closing answers 0 whatever went wrong, and the handle is dropped.
        {"CloseThemeData", [&](CVisualStyleTheme& vs) { return vs.CloseThemeHandle() == 0 && !vs.IsOpen(); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CVisualStyleTheme vs;
        ASSERT_TRUE(vs.OpenThemeData(NULL, L"TOOLBAR") != NULL);
        const LONG nBefore = fake.Fault(r.name);
        EXPECT_TRUE(r.failed(vs));
        EXPECT_EQ(nBefore + 1, fake.Fault(NULL)) << "the library was entered and faulted once";
        // The object goes on working once the library does.
        COLORREF clr = 0;
        EXPECT_EQ(S_OK, vs.GetThemeColor(0, 0, 3801, &clr));
    }

    // A fault while opening leaves the object closed; the handle held
    // before was closed first.
    CVisualStyleTheme vs;
    ASSERT_TRUE(vs.OpenThemeData(NULL, L"WINDOW") != NULL);
    const LONG closes = fake.Closes();
    fake.Fault("OpenThemeData");
    EXPECT_EQ(nullptr, vs.OpenThemeData(NULL, L"REBAR"));
    EXPECT_FALSE(vs.IsOpen());
    EXPECT_EQ(closes + 1, fake.Closes());
    // Every entry point faulting: the whole table of failure values.
    fake.Fault("*");
    EXPECT_EQ(nullptr, vs.OpenThemeData(NULL, L"REBAR"));
    EXPECT_FALSE(vs.IsAppThemed());
    EXPECT_FALSE(vs.IsThemeActive());
    EXPECT_FALSE(vs.IsNewThemeLibrary());
    EXPECT_EQ(E_FAIL, vs.DrawThemeBackground(hdc, 1, 1, &rc));
    fake.Fault(NULL);
    ReleaseDC(NULL, hdc);
}

TEST_F(VisualStyles, NewThemeLibraryNeedsCommonControlsAboveFive)
{
    qxtest::FakeUx fake;
    ASSERT_TRUE(fake.Loaded());
    struct Case {
        DWORD comctl;
        bool active;
        bool expect;
    } cases[] = {{0x50052, true, false}, {0x60000, true, true}, {0x60000, false, false}, {0x60010, true, true}};
    for (const Case& c : cases) {
        CVisualStyleTheme::SetLibrary("qxfakeux.dll", c.comctl);
        fake.Set(L"aero.msstyles", L"NormalColor", c.active);
        CVisualStyleTheme vs;
        EXPECT_EQ(c.expect, vs.IsNewThemeLibrary() != FALSE) << std::hex << c.comctl << " active " << c.active;
    }
}

TEST_F(VisualStyles, FollowModuleObjectsBindAfreshAfterAReload)
{
    CVisualStyleTheme::SetLibrary("qxfakeux.dll");
    {
        qxtest::FakeUx fake;
        ASSERT_TRUE(fake.Loaded());
        fake.Set(L"luna.msstyles", L"NormalColor", true);
        CVisualStyleTheme vs;
        EXPECT_TRUE(vs.OpenThemeData(NULL, L"WINDOW") != NULL);
        vs.CloseThemeHandle();
    }
    // Unload the library completely (the module record holds one reference).
    for (int i = 0; i < 8 && GetModuleHandleA("qxfakeux.dll"); ++i)
        FreeLibrary(GetModuleHandleA("qxfakeux.dll"));
    ASSERT_EQ(nullptr, GetModuleHandleA("qxfakeux.dll"));
    {
        CVisualStyleTheme vs;
        EXPECT_EQ(nullptr, vs.OpenThemeData(NULL, L"WINDOW")) << "nothing loaded: nothing bound";
        EXPECT_FALSE(vs.IsThemeActive());
    }
    qxtest::FakeUx reloaded;
    ASSERT_TRUE(reloaded.Loaded());
    reloaded.Set(L"luna.msstyles", L"NormalColor", true);
    EXPECT_EQ(0, reloaded.Opens()) << "a fresh copy of the library";
    CVisualStyleTheme vs;
    EXPECT_TRUE(vs.OpenThemeData(NULL, L"WINDOW") != NULL);
    EXPECT_EQ(1, reloaded.Opens()) << "bound from the module loaded now";
    EXPECT_TRUE(vs.IsThemeActive());
}

TEST_F(VisualStyles, CompositionEntryPointsAnswerSafely)
{
    HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    LRESULT lr = 77;
    EXPECT_FALSE(CVisualStyleTheme::DwmDefWindowProc(hwnd, WM_NCHITTEST, 0, 0, &lr))
        << "no composition: the message is not handled";
    HRESULT hr = CVisualStyleTheme::DwmExtendFrameIntoClientArea(hwnd, 1, 2, 3, 4);
    EXPECT_TRUE(hr == S_OK || FAILED(hr));
    DestroyWindow(hwnd);
}
