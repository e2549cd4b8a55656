// System helpers: version tests, module holder, common-controls version,
// lock guard, monitor areas and the accessibility base.
#include <qx/sysutil.h>

#include "QxTestSupport.h"

#include <gmock/gmock.h>

#include <climits>
#include <thread>

static bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

TEST(OSVersion, TestsFollowPlatformAndVersion)
{
    enum {
        W95,
        W98,
        W9x,
        NT4,
        W2K,
        WXP,
        W2KUP,
        WXPUP
    };
    struct Case {
        const char* name;
        DWORD platform, major, minor;
        bool expect[8];
    } cases[] = {
        {"95", 1, 4, 0, {1, 0, 1, 0, 0, 0, 0, 0}},
        {"98", 1, 4, 10, {0, 1, 1, 0, 0, 0, 0, 0}},
        {"Me", 1, 4, 90, {0, 0, 1, 0, 0, 0, 0, 0}},
        {"NT4", 2, 4, 0, {0, 0, 0, 1, 0, 0, 0, 0}},
        {"2000", 2, 5, 0, {0, 0, 0, 0, 1, 0, 1, 0}},
        {"XP", 2, 5, 1, {0, 0, 0, 0, 0, 1, 1, 1}},
        {"2003", 2, 5, 2, {0, 0, 0, 0, 0, 0, 1, 1}},
        {"Vista", 2, 6, 0, {0, 0, 0, 0, 0, 0, 1, 1}},
    };
    for (const Case& c : cases) {
        CQXPOSVersionInfo v(c.platform, c.major, c.minor);
        bool got[8] = {v.IsWin95() != 0, v.IsWin98() != 0, v.IsWin9x() != 0, v.IsWinNT4() != 0,
                       v.IsWin2K() != 0, v.IsWinXP() != 0, v.IsWin2KOrGreater() != 0, v.IsWinXPOrGreater() != 0};
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(c.expect[i], got[i]) << c.name << " test " << i;
    }
    CQXPOSVersionInfo* p = GetOSVersionInfo();
    EXPECT_EQ(p, GetOSVersionInfo());
    EXPECT_EQ(148u, p->dwOSVersionInfoSize);
    EXPECT_EQ((DWORD)VER_PLATFORM_WIN32_NT, p->dwPlatformId);
    EXPECT_TRUE(p->IsWin2KOrGreater());
}

TEST(ModuleHolder, FreesOnlyWhatItLoaded)
{
    {
        CQXPModuleHolder h("kernel32.dll");
        EXPECT_EQ(CQXPModuleHolder::kAttached, h.GetKind());
        EXPECT_TRUE(h.GetProcAddress("GetTickCount") != NULL);
    }
    EXPECT_TRUE(GetModuleHandleA("kernel32.dll") != NULL);

    const char* name = "msacm32.dll";
    ASSERT_EQ(nullptr, GetModuleHandleA(name)) << "pick a library nothing else has loaded";
    {
        CQXPModuleHolder h(name);
        EXPECT_EQ(CQXPModuleHolder::kLoaded, h.GetKind());
        EXPECT_TRUE(GetModuleHandleA(name) != NULL);
        // Re-attaching releases the loaded one first.
        EXPECT_TRUE(h.Attach("kernel32.dll"));
        EXPECT_EQ(nullptr, GetModuleHandleA(name));
        EXPECT_TRUE(h.Load(name));
    }
    EXPECT_EQ(nullptr, GetModuleHandleA(name));

    CQXPModuleHolder missing("no_such_library_qx.dll");
    EXPECT_EQ(CQXPModuleHolder::kNone, missing.GetKind());
    EXPECT_EQ(nullptr, missing.GetProcAddress("x"));
}

TEST(ComCtlVersion, LibraryWithoutDllGetVersionCountsAsFour)
{
    EXPECT_EQ(0x40000u, GetModuleDllVersion(GetModuleHandleA("kernel32.dll")));
    EXPECT_EQ(0x40000u, GetModuleDllVersion(NULL));
    DWORD v = GetComCtlVersion();
    EXPECT_GE(v, 0x40000u);
    EXPECT_EQ(v, GetComCtlVersion());
    EXPECT_EQ(v >= 0x60000u, IsComCtlVersion6() != FALSE);
}

TEST(LockGuard, SerialisesTwoThreads)
{
    CQXPCriticalSection cs;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            CQXPLockGuard lock(cs);
            long v = counter;
            if ((i & 1023) == 0)
                Sleep(0);
            counter = v + 1;
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(40000, counter);
}

TEST(MultiMonitor, FallsBackToThePrimaryScreenWithoutMonitorFunctions)
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};

    CQXPMultiMonitor bare(FALSE);
    EXPECT_FALSE(bare.HasMonitorFunctions());
    POINT pt = {20, 20};
    RECT rc = {10, 10, 50, 50};
    EXPECT_TRUE(SameRect(work, bare.GetWorkAreaFromPoint(pt)));
    EXPECT_TRUE(SameRect(work, bare.GetWorkAreaFromRect(&rc)));
    EXPECT_TRUE(SameRect(work, bare.GetWorkAreaFromWindow(NULL)));
    EXPECT_TRUE(SameRect(work, bare.GetWorkAreaAtCursor()));
    EXPECT_TRUE(SameRect(screen, bare.GetScreenAreaFromPoint(pt)));
    EXPECT_TRUE(SameRect(screen, bare.GetScreenAreaFromRect(&rc)));

    // The bound helper: one monitor on the test display; a point off every
    // monitor falls back to the primary one.
    CQXPMultiMonitor* helper = GetMultiMonitorHelper();
    EXPECT_TRUE(helper->HasMonitorFunctions());
    EXPECT_TRUE(SameRect(screen, helper->GetScreenAreaFromPoint(pt)));
    POINT ptFar = {-30000, -30000};
    EXPECT_TRUE(SameRect(screen, helper->GetScreenAreaFromPoint(ptFar)));
    EXPECT_TRUE(SameRect(work, helper->GetWorkAreaFromPoint(ptFar)));
}

TEST(MultiMonitor, NearestWorkAreaOfARectangleOffEveryScreen)
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    CQXPMultiMonitor* helper = GetMultiMonitorHelper();
    // One monitor on the test display: whatever the rectangle, its work area.
    RECT rcFar = {-32768, -32768, -32768 + 800, -32768 + 600};
    RECT rcEmpty = {5000, 4000, 5000, 4000};
    RECT rcOn = {10, 10, 200, 100};
    EXPECT_TRUE(SameRect(work, helper->GetWorkAreaNearestRect(&rcFar)));
    EXPECT_TRUE(SameRect(work, helper->GetWorkAreaNearestRect(&rcEmpty)));
    EXPECT_TRUE(SameRect(work, helper->GetWorkAreaNearestRect(&rcOn)));
    EXPECT_TRUE(SameRect(work, helper->GetWorkAreaNearestRect(NULL)));
}

TEST(FitRectToWorkArea, MovesAndSizesOntoTheWorkArea)
{
    const RECT work = {0, 30, 1280, 1000}; // a bar of 30 pixels on top
    const SIZE min = {320, 200};
    struct Case {
        const char* name;
        RECT rc;
        RECT expected;
        BOOL changed;
    } cases[] = {
        {"inside stays", {100, 100, 900, 700}, {100, 100, 900, 700}, FALSE},
        {"filling the work area stays", {0, 30, 1280, 1000}, {0, 30, 1280, 1000}, FALSE},
        {"minimised position", {-32768, -32768, -32768 + 800, -32768 + 600}, {0, 30, 800, 630}, TRUE},
        {"past the right and bottom", {1000, 900, 1800, 1500}, {480, 400, 1280, 1000}, TRUE},
        {"under the top bar", {50, 0, 450, 300}, {50, 30, 450, 330}, TRUE},
        {"larger than the screen", {-100, -100, 3000, 2000}, {0, 30, 1280, 1000}, TRUE},
        {"too small grows", {200, 200, 210, 205}, {200, 200, 520, 400}, TRUE},
        {"empty", {0, 0, 0, 0}, {0, 30, 320, 230}, TRUE},
        {"inverted", {600, 500, 100, 100}, {600, 500, 920, 700}, TRUE},
        {"at the limits of the type", {LONG_MIN, LONG_MIN, LONG_MAX, LONG_MAX}, {0, 30, 1280, 1000}, TRUE},
        {"far right and down", {LONG_MAX - 10, LONG_MAX - 10, LONG_MAX, LONG_MAX}, {960, 800, 1280, 1000}, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RECT rc = c.rc;
        EXPECT_EQ(c.changed, QxFitRectToWorkArea(rc, work, min));
        EXPECT_EQ(c.expected.left, rc.left);
        EXPECT_EQ(c.expected.top, rc.top);
        EXPECT_EQ(c.expected.right, rc.right);
        EXPECT_EQ(c.expected.bottom, rc.bottom);
    }
    // A work area smaller than the usable size: the work area itself.
    const RECT tiny = {0, 0, 200, 100};
    RECT rc = {50, 50, 60, 60};
    EXPECT_TRUE(QxFitRectToWorkArea(rc, tiny, min));
    EXPECT_TRUE(SameRect(tiny, rc));
}

// ---------------------------------------------------------------------------

TEST(Accessible, ChildIndexOfEveryVariantForm)
{
    VARIANT i4, i2, empty, byRefI4, byRefI2, byRefVar, str, nullRef;
    VariantInit(&empty);
    VariantInit(&i4);
    i4.vt = VT_I4;
    i4.lVal = 5;
    VariantInit(&i2);
    i2.vt = VT_I2;
    i2.iVal = 3;
    LONG l = 9;
    SHORT s = 4;
    VariantInit(&byRefI4);
    byRefI4.vt = VT_BYREF | VT_I4;
    byRefI4.plVal = &l;
    VariantInit(&byRefI2);
    byRefI2.vt = VT_BYREF | VT_I2;
    byRefI2.piVal = &s;
    VariantInit(&byRefVar);
    byRefVar.vt = VT_BYREF | VT_VARIANT;
    byRefVar.pvarVal = &i4;
    VariantInit(&str);
    str.vt = VT_R8;
    VariantInit(&nullRef);
    nullRef.vt = VT_BYREF | VT_I4;
    nullRef.plVal = NULL;
    struct Case {
        const char* name;
        VARIANT* v;
        long expect;
    } cases[] = {{"empty", &empty, 0}, {"I4", &i4, 5}, {"I2", &i2, 3}, {"ref I4", &byRefI4, 9}, {"ref I2", &byRefI2, 4}, {"ref variant", &byRefVar, 5}, {"double", &str, -1}, {"null ref", &nullRef, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(c.expect, CQXPAccessibleBase::GetChildIndex(c.v)) << c.name;
}

namespace {

class CAccTarget : public CCmdTarget {
public:
    bool* m_pDeleted = nullptr;
    ~CAccTarget() override
    {
        if (m_pDeleted)
            *m_pDeleted = true;
    }
};

class CAccNamed : public CQXPAccessibleBase {
public:
    HRESULT get_accName(VARIANT varChild, BSTR* pszName) override
    {
        if (GetChildIndex(&varChild) != 0)
            return E_INVALIDARG;
        *pszName = SysAllocString(L"Named");
        return S_OK;
    }
};

} // namespace

TEST(Accessible, InterfaceForwardsToTheOverridesAndCountsOnTheOwner)
{
    bool deleted = false;
    CAccTarget* owner = new CAccTarget;
    owner->m_pDeleted = &deleted;
    CAccNamed acc;
    acc.Init(owner);

    IAccessible* pAcc = NULL;
    ASSERT_EQ(S_OK, acc.GetAccessible()->QueryInterface(IID_IAccessible, (void**)&pAcc));
    EXPECT_EQ(2, owner->m_dwRef);
    IUnknown* pUnk = NULL;
    EXPECT_EQ(S_OK, pAcc->QueryInterface(IID_IUnknown, (void**)&pUnk));
    pUnk->Release();
    IStream* pStream = NULL;
    EXPECT_EQ(E_NOINTERFACE, pAcc->QueryInterface(IID_IStream, (void**)&pStream));

    VARIANT self;
    VariantInit(&self);
    BSTR name = NULL;
    EXPECT_EQ(S_OK, pAcc->get_accName(self, &name));
    EXPECT_STREQ(L"Named", name);
    SysFreeString(name);
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = 2;
    EXPECT_EQ(E_INVALIDARG, pAcc->get_accName(child, &name));
    BSTR value = NULL;
    EXPECT_EQ(E_NOTIMPL, pAcc->get_accValue(self, &value));
    UINT n = 0;
    EXPECT_EQ(E_NOTIMPL, pAcc->GetTypeInfoCount(&n));

    pAcc->Release();
    EXPECT_EQ(1, owner->m_dwRef);
    EXPECT_FALSE(deleted);
    owner->InternalRelease();
    EXPECT_TRUE(deleted);
}

TEST(Accessible, PlatformEntryPointsAreBoundAtRunTime)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(NULL)));
    CAccNamed acc;
    acc.NotifyWinEvent(EVENT_OBJECT_FOCUS, GetDesktopWindow(), OBJID_CLIENT, CHILDID_SELF);
    LRESULT lr = acc.LresultFromObject(IID_IAccessible, 0, acc.GetAccessible());
    EXPECT_GT(lr, 0);
    // Take the marshalled reference back so nothing stays behind.
    if (lr > 0) {
        HMODULE hOleAcc = GetModuleHandleA("oleacc.dll");
        typedef HRESULT(WINAPI * PFN)(LRESULT, REFIID, WPARAM, void**);
        PFN pfn = (PFN)(void*)GetProcAddress(hOleAcc, "ObjectFromLresult");
        IAccessible* p = NULL;
        if (pfn && SUCCEEDED(pfn(lr, IID_IAccessible, 0, (void**)&p)) && p)
            p->Release();
    }
    CoUninitialize();
}
