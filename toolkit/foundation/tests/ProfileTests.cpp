// The profile store (registry and INI) and the window placement.
#include <qx/profile.h>

#include "QxTestSupport.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <qmtest/pump.h>

using qxtest::Bytes;
using qxtest::RegistryApp;
using qxtest::TempDir;

namespace {

class ProfileStore : public ::testing::Test {
protected:
    RegistryApp m_reg;
    CQXProfileStore m_store;
};

} // namespace

TEST_F(ProfileStore, EachKindOfValueIsStoredInItsRegistryFormAndReadBack)
{
    BYTE blob[] = {0x00, 0xFF, 0x10, 0x7F};
    DWORD dw = 0xC0FFEE;
    ASSERT_TRUE(m_store.WriteProfileInt("Settings", "Count", -7));
    ASSERT_TRUE(m_store.WriteProfileString("Settings", "Name", "hello world"));
    ASSERT_TRUE(m_store.WriteProfileDword("Colors", "Back", &dw));
    ASSERT_TRUE(m_store.WriteProfileBinary("Settings", "Blob", blob, sizeof(blob)));
    ASSERT_TRUE(m_store.WriteProfileString("", "QuillmatePath", "C:\\q\\Qmate.exe"));

    struct Case {
        const char* section;
        const char* entry;
        DWORD type;
        Bytes bytes;
    } cases[] = {
        {"Settings", "Count", REG_DWORD, {0xF9, 0xFF, 0xFF, 0xFF}},
        {"Settings", "Name", REG_SZ, Bytes((const BYTE*)"hello world", (const BYTE*)"hello world" + 12)},
        {"Colors", "Back", REG_DWORD, {0xEE, 0xFF, 0xC0, 0x00}},
        {"Settings", "Blob", REG_BINARY, Bytes(blob, blob + 4)},
        {"", "QuillmatePath", REG_SZ, Bytes((const BYTE*)"C:\\q\\Qmate.exe", (const BYTE*)"C:\\q\\Qmate.exe" + 15)},
    };
    for (const Case& c : cases) {
        DWORD type = 0;
        Bytes data;
        ASSERT_TRUE(m_reg.Query(c.section, c.entry, type, data)) << c.entry;
        EXPECT_EQ(c.type, type) << c.entry;
        EXPECT_EQ(c.bytes, data) << c.entry;
    }

    EXPECT_EQ(-7, m_store.GetProfileInt("Settings", "Count", 3));
    EXPECT_STREQ("hello world", m_store.GetProfileString("Settings", "Name", "x"));
    EXPECT_STREQ("C:\\q\\Qmate.exe", m_store.GetProfileString("", "QuillmatePath"));
    DWORD back = 0;
    EXPECT_TRUE(m_store.GetProfileDword("Colors", "Back", &back));
    EXPECT_EQ(0xC0FFEEu, back);
    BYTE* p = NULL;
    UINT n = 0;
    ASSERT_TRUE(m_store.GetProfileBinary("Settings", "Blob", &p, &n));
    EXPECT_EQ(Bytes(blob, blob + 4), Bytes(p, p + n));
    delete[] p;
}

TEST_F(ProfileStore, MissingValuesGiveTheDefaultAndKeepTheQueryError)
{
    EXPECT_EQ(42, m_store.GetProfileInt("Settings", "Nothing", 42));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, m_store.GetLastError());
    EXPECT_STREQ("dflt", m_store.GetProfileString("Settings", "Nothing", "dflt"));
    EXPECT_STREQ("", m_store.GetProfileString("Settings", "Nothing"));
    DWORD dw = 99;
    EXPECT_FALSE(m_store.GetProfileDword("Settings", "Nothing", &dw));
    EXPECT_EQ(99u, dw);
    BYTE* p = (BYTE*)1;
    UINT n = 5;
    EXPECT_FALSE(m_store.GetProfileBinary("Settings", "Nothing", &p, &n));
    EXPECT_EQ(nullptr, p);
    EXPECT_EQ(0u, n);
}

// Values of the wrong type or size (damaged, or written by something else)
// read as missing.
TEST_F(ProfileStore, DamagedValuesReadAsTheirDefaults)
{
    const char text[] = "12";
    const BYTE two[] = {1, 2};
    const BYTE four[] = {1, 2, 3, 4};
    const BYTE eight[] = {1, 2, 3, 4, 5, 6, 7, 8};
    m_reg.SetRaw("D", "IntAsText", REG_SZ, text, sizeof(text));
    m_reg.SetRaw("D", "ShortDword", REG_DWORD, two, sizeof(two));
    m_reg.SetRaw("D", "IntAsBinary", REG_BINARY, four, sizeof(four));
    m_reg.SetRaw("D", "LongDword", REG_BINARY, eight, sizeof(eight));
    m_reg.SetRaw("D", "TextAsDword", REG_DWORD, four, sizeof(four));
    m_reg.SetRaw("D", "BlobAsText", REG_SZ, text, sizeof(text));

    struct IntCase {
        const char* entry;
    } ints[] = {{"IntAsText"}, {"ShortDword"}, {"IntAsBinary"}, {"LongDword"}};
    for (const IntCase& c : ints)
        EXPECT_EQ(-3, m_store.GetProfileInt("D", c.entry, -3)) << c.entry;

    DWORD dw = 77;
    EXPECT_FALSE(m_store.GetProfileDword("D", "LongDword", &dw));
    EXPECT_FALSE(m_store.GetProfileDword("D", "ShortDword", &dw));
    EXPECT_FALSE(m_store.GetProfileDword("D", "IntAsText", &dw));
    EXPECT_EQ(77u, dw);
    // A 4-byte binary is a raw colour: it is read.
    EXPECT_TRUE(m_store.GetProfileDword("D", "IntAsBinary", &dw));
    EXPECT_EQ(0x04030201u, dw);

    EXPECT_STREQ("dflt", m_store.GetProfileString("D", "TextAsDword", "dflt"));
    BYTE* p = NULL;
    UINT n = 0;
    EXPECT_FALSE(m_store.GetProfileBinary("D", "BlobAsText", &p, &n));
    EXPECT_EQ(nullptr, p);
}

TEST_F(ProfileStore, StringWithoutTerminatorIsCutAtItsEnd)
{
    const char raw[] = {'a', 'b', 'c'};
    m_reg.SetRaw("D", "Raw", REG_SZ, raw, sizeof(raw));
    EXPECT_STREQ("abc", m_store.GetProfileString("D", "Raw", "x"));
}

TEST_F(ProfileStore, NullArgumentsFailAtOnce)
{
    EXPECT_FALSE(m_store.WriteProfileInt(NULL, "a", 1));
    EXPECT_FALSE(m_store.WriteProfileString(NULL, "a", "b"));
    EXPECT_FALSE(m_store.WriteProfileBinary(NULL, "a", (const BYTE*)"x", 1));
    EXPECT_EQ(0, m_store.GetProfileInt(NULL, "a", 5));
    EXPECT_EQ(0, m_store.GetProfileInt("S", NULL, 5));
    EXPECT_STREQ("d", m_store.GetProfileString(NULL, "a", "d"));
    EXPECT_FALSE(m_reg.KeyExists("S"));
}

TEST_F(ProfileStore, DeletionOfValuesSectionsAndTrees)
{
    ASSERT_TRUE(m_store.WriteProfileString("S", "a", "1"));
    ASSERT_TRUE(m_store.WriteProfileString("S", "b", "2"));
    EXPECT_TRUE(m_store.WriteProfileString("S", "a", NULL));
    DWORD type;
    Bytes data;
    EXPECT_FALSE(m_reg.Query("S", "a", type, data));
    EXPECT_TRUE(m_reg.Query("S", "b", type, data));

    EXPECT_TRUE(m_store.DeleteProfileValue("S", "b"));
    EXPECT_FALSE(m_reg.Query("S", "b", type, data));
    EXPECT_FALSE(m_store.DeleteProfileValue("S", "b"));

    // A NULL entry removes the whole (leaf) section.
    ASSERT_TRUE(m_store.WriteProfileInt("Leaf", "x", 1));
    EXPECT_TRUE(m_store.WriteProfileString("Leaf", NULL, NULL));
    EXPECT_FALSE(m_reg.KeyExists("Leaf"));

    // A tree goes with DeleteProfileKey, depth first.
    ASSERT_TRUE(m_store.WriteProfileInt("Tree\\A\\B\\C", "x", 1));
    ASSERT_TRUE(m_store.WriteProfileInt("Tree\\A\\D", "y", 1));
    ASSERT_TRUE(m_store.WriteProfileInt("Tree", "z", 1));
    EXPECT_TRUE(m_store.DeleteProfileKey("Tree", "A"));
    EXPECT_FALSE(m_reg.KeyExists("Tree\\A"));
    EXPECT_TRUE(m_reg.KeyExists("Tree"));
    EXPECT_TRUE(m_store.DeleteProfileKey("Tree", ""));
    EXPECT_FALSE(m_reg.KeyExists("Tree"));
}

TEST_F(ProfileStore, EnumeratesValueNamesWithTheirTypes)
{
    CMap<CString, LPCSTR, DWORD, DWORD> map;
    CStringArray names;
    EXPECT_EQ(0, m_store.EnumProfileValues("FilesToOpen", &map, &names));
    EXPECT_EQ(0, (int)map.GetCount());
    EXPECT_EQ(0, (int)names.GetSize());

    m_store.WriteProfileString("FilesToOpen", "1", "C:\\a.txt");
    m_store.WriteProfileInt("FilesToOpen", "2", 5);
    EXPECT_EQ(2, m_store.EnumProfileValues("FilesToOpen", &map, &names));
    ASSERT_EQ(2, (int)names.GetSize());
    DWORD type = 0;
    EXPECT_TRUE(map.Lookup("1", type));
    EXPECT_EQ((DWORD)REG_SZ, type);
    EXPECT_TRUE(map.Lookup("2", type));
    EXPECT_EQ((DWORD)REG_DWORD, type);
    EXPECT_EQ(2, m_store.EnumProfileValues("FilesToOpen", NULL, NULL));
    EXPECT_EQ(0, m_store.EnumProfileValues(NULL, &map, NULL));
}

TEST(ProfileStoreWithoutApp, FailsWhenTheApplicationNamesAreMissing)
{
    ASSERT_EQ(nullptr, AfxGetApp());
    CQXProfileStore store;
    EXPECT_FALSE(store.WriteProfileInt("S", "a", 1));
    EXPECT_EQ(8, store.GetProfileInt("S", "a", 8));
    EXPECT_STREQ("d", store.GetProfileString("S", "a", "d"));
    EXPECT_EQ(nullptr, store.OpenProfileKey(KEY_READ));
}

TEST(ProfileStoreIni, UsesTheIniFileWhenAPathIsSet)
{
    RegistryApp reg;
    TempDir dir;
    std::string ini = dir.Path("profile.ini");
    CQXProfileStore::SetIniPath(ini.c_str());
    CQXProfileStore store;

    EXPECT_TRUE(store.WriteProfileInt("S", "Count", -12));
    EXPECT_TRUE(store.WriteProfileString("S", "Name", "text"));
    const BYTE blob[] = {0x00, 0xFF};
    EXPECT_TRUE(store.WriteProfileBinary("S", "Blob", blob, 2));
    DWORD dw = 0x1234;
    EXPECT_TRUE(store.WriteProfileDword("S", "Dw", &dw));
    WritePrivateProfileStringA("S", "Odd", "AAP", ini.c_str());

    std::string text = qxtest::ReadFileText(ini);
    EXPECT_NE(std::string::npos, text.find("Count=-12"));
    EXPECT_NE(std::string::npos, text.find("Blob=AAPP"));
    EXPECT_NE(std::string::npos, text.find("Dw=4660"));

    EXPECT_EQ(-12, store.GetProfileInt("S", "Count", 0));
    EXPECT_EQ(5, store.GetProfileInt("S", "Missing", 5));
    EXPECT_STREQ("text", store.GetProfileString("S", "Name", NULL));
    EXPECT_STREQ("", store.GetProfileString("S", "Missing", NULL));
    DWORD back = 0;
    EXPECT_TRUE(store.GetProfileDword("S", "Dw", &back));
    EXPECT_EQ(0x1234u, back);
    EXPECT_FALSE(store.GetProfileDword("S", "Missing", &back));
    BYTE* p = NULL;
    UINT n = 0;
    ASSERT_TRUE(store.GetProfileBinary("S", "Blob", &p, &n));
    EXPECT_EQ(Bytes(blob, blob + 2), Bytes(p, p + n));
    delete[] p;
    p = NULL;
    EXPECT_FALSE(store.GetProfileBinary("S", "Odd", &p, &n));
    EXPECT_EQ(nullptr, p);

    // Long values (a saved bar layout) come back whole.
    std::vector<BYTE> big(6000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = (BYTE)(i * 7);
    EXPECT_TRUE(store.WriteProfileBinary("S", "Big", big.data(), (UINT)big.size()));
    ASSERT_TRUE(store.GetProfileBinary("S", "Big", &p, &n));
    EXPECT_EQ(Bytes(big.begin(), big.end()), Bytes(p, p + n));
    delete[] p;
    p = NULL;

    // Nothing went to the registry.
    EXPECT_FALSE(reg.KeyExists("S"));
    CQXProfileStore::SetIniPath("");
}

// ---------------------------------------------------------------------------
// Window placement across a close and a reopen of a real window.

namespace {

const char kClass[] = "QxPlacementTestWnd";

HWND MakeWindow()
{
    static bool s_registered = false;
    if (!s_registered) {
        WNDCLASSA wc;
        ZeroMemory(&wc, sizeof(wc));
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = kClass;
        wc.hCursor = LoadCursor(NULL, IDC_ARROW);
        RegisterClassA(&wc);
        s_registered = true;
    }
    return CreateWindowExA(0, kClass, "placement", WS_OVERLAPPEDWINDOW, 120, 90, 400, 300, NULL, NULL,
                           GetModuleHandleA(NULL), NULL);
}

void Pump()
{
    qmtest::PumpMessages();
}

class Placement : public ::testing::Test {
protected:
    RegistryApp m_reg;
};

} // namespace

TEST_F(Placement, StateComesBackAfterCloseAndReopen)
{
    struct Case {
        const char* name;
        int showBeforeClose;
        UINT expectStoredShow;
        bool expectZoomed;
        bool expectIconic;
    } cases[] = {
        {"normal", SW_SHOWNORMAL, SW_SHOWNORMAL, false, false},
        {"maximised", SW_SHOWMAXIMIZED, SW_SHOWMAXIMIZED, true, false},
        {"minimised", SW_SHOWMINIMIZED, SW_SHOWNORMAL, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND first = MakeWindow();
        ASSERT_TRUE(first != NULL);
        MoveWindow(first, 130, 110, 420, 310, FALSE);
        ShowWindow(first, SW_SHOWNORMAL);
        ShowWindow(first, c.showBeforeClose);
        Pump();
        CQXWindowPlacement save;
        ASSERT_TRUE(save.SaveWindowPos(first));
        EXPECT_EQ(c.expectStoredShow, save.GetShowCmd());
        DestroyWindow(first);

        DWORD type = 0;
        Bytes data;
        ASSERT_TRUE(m_reg.Query("Settings", "Window Position", type, data));
        EXPECT_EQ((DWORD)REG_BINARY, type);
        EXPECT_EQ(44u, data.size());

        HWND second = MakeWindow();
        CQXWindowPlacement restore;
        EXPECT_EQ((UINT)SW_SHOW, restore.GetShowCmd());
        ASSERT_TRUE(restore.RestoreWindowPos(second));
        EXPECT_EQ(c.expectStoredShow, restore.GetShowCmd());
        ShowWindow(second, (int)restore.GetShowCmd());
        Pump();
        EXPECT_EQ(c.expectZoomed, IsZoomed(second) != FALSE);
        EXPECT_EQ(c.expectIconic, IsIconic(second) != FALSE);
        WINDOWPLACEMENT wp;
        wp.length = sizeof(wp);
        GetWindowPlacement(second, &wp);
        EXPECT_EQ(save.m_wp.rcNormalPosition.left, wp.rcNormalPosition.left);
        EXPECT_EQ(save.m_wp.rcNormalPosition.top, wp.rcNormalPosition.top);
        EXPECT_EQ(save.m_wp.rcNormalPosition.right, wp.rcNormalPosition.right);
        EXPECT_EQ(save.m_wp.rcNormalPosition.bottom, wp.rcNormalPosition.bottom);
        DestroyWindow(second);
    }
}

TEST_F(Placement, DamagedValueLeavesTheDefaultPlacement)
{
    BYTE junk[40] = {1, 2, 3};
    m_reg.SetRaw("Settings", "Window Position", REG_BINARY, junk, sizeof(junk));
    CQXWindowPlacement wp;
    EXPECT_FALSE(wp.LoadWindowPos());
    EXPECT_EQ((UINT)SW_SHOW, wp.GetShowCmd());
    EXPECT_EQ(44u, wp.m_wp.length);

    HWND hwnd = MakeWindow();
    EXPECT_FALSE(wp.RestoreWindowPos(hwnd));
    EXPECT_FALSE(IsWindowVisible(hwnd));
    DestroyWindow(hwnd);

    EXPECT_FALSE(wp.SaveWindowPos((HWND)NULL));
    EXPECT_FALSE(wp.RestoreWindowPos((HWND)NULL));
}

// A placement off every screen (stored at the position of a minimised
// window, or on a monitor that is gone) comes back on the work area with a
// usable size; a placement on the screen comes back as it was.
TEST_F(Placement, PlacementOffEveryScreenComesBackOnTheWorkArea)
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const LONG workW = work.right - work.left, workH = work.bottom - work.top;
    struct Case {
        const char* name;
        RECT stored;    // workspace coordinates, as saved
        bool keepsSize; // the stored size is usable
    } cases[] = {
        {"minimised position", {-32768, -32768, -32768 + 640, -32768 + 480}, true},
        {"monitor gone on the right", {5000, 100, 5600, 500}, true},
        {"collapsed to nothing", {-32000, -32000, -32000, -32000}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WINDOWPLACEMENT stored = {};
        stored.length = sizeof(stored);
        stored.showCmd = SW_SHOWNORMAL;
        stored.rcNormalPosition = c.stored;
        m_reg.SetRaw("Settings", "Window Position", REG_BINARY, &stored, sizeof(stored));

        HWND hwnd = MakeWindow();
        CQXWindowPlacement restore;
        ASSERT_TRUE(restore.RestoreWindowPos(hwnd));
        ShowWindow(hwnd, (int)restore.GetShowCmd());
        Pump();
        RECT rc;
        GetWindowRect(hwnd, &rc);
        EXPECT_GE(rc.left, work.left);
        EXPECT_GE(rc.top, work.top);
        EXPECT_LE(rc.right, work.right);
        EXPECT_LE(rc.bottom, work.bottom);
        const SIZE usable = CQXWindowPlacement::kMinUsableSize;
        EXPECT_GE(rc.right - rc.left, std::min(usable.cx, workW));
        EXPECT_GE(rc.bottom - rc.top, std::min(usable.cy, workH));
        if (c.keepsSize) {
            EXPECT_EQ(c.stored.right - c.stored.left, rc.right - rc.left);
            EXPECT_EQ(c.stored.bottom - c.stored.top, rc.bottom - rc.top);
        }
        EXPECT_FALSE(IsIconic(hwnd));
        DestroyWindow(hwnd);
    }

    // On the screen: exactly where it was.
    WINDOWPLACEMENT stored = {};
    stored.length = sizeof(stored);
    stored.showCmd = SW_SHOWNORMAL;
    stored.rcNormalPosition = {work.left + 60, work.top + 40, work.left + 560, work.top + 440};
    m_reg.SetRaw("Settings", "Window Position", REG_BINARY, &stored, sizeof(stored));
    HWND hwnd = MakeWindow();
    CQXWindowPlacement restore;
    ASSERT_TRUE(restore.RestoreWindowPos(hwnd));
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    GetWindowPlacement(hwnd, &wp);
    EXPECT_TRUE(EqualRect(&stored.rcNormalPosition, &wp.rcNormalPosition));
    DestroyWindow(hwnd);
}

TEST_F(Placement, CallerChosenNamesAreUsed)
{
    HWND hwnd = MakeWindow();
    CQXWindowPlacement wp;
    ASSERT_TRUE(wp.SaveWindowPos(hwnd, "Dlg", "WindowPlacement"));
    DestroyWindow(hwnd);
    DWORD type;
    Bytes data;
    EXPECT_TRUE(m_reg.Query("WindowPlacement", "Dlg", type, data));
    EXPECT_FALSE(m_reg.Query("Settings", "Window Position", type, data));
    CQXWindowPlacement other;
    EXPECT_TRUE(other.LoadWindowPos("Dlg", "WindowPlacement"));
    EXPECT_FALSE(other.LoadWindowPos());
}
