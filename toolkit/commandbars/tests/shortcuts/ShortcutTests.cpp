// Keyboard shortcuts: the texts menus and tooltips show, key names, the
// stored "Accelerators" table (registry, INI file, property exchange) with
// damaged data refused, the capture edit, and keys that reach a frame as
// commands.
#include <qx/propexchange.h>
#include <qx/shortcuts.h>

#include <fx/frame.h>

#include <qmtest/archivebytes.h>
#include <qmtest/files.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "sctest_ids.h"

namespace {

using qmtest::Bytes;

ACCEL Accel(BYTE fVirt, WORD key, WORD cmd)
{
    ACCEL a;
    std::memset(&a, 0, sizeof(a));
    a.fVirt = fVirt;
    a.key = key;
    a.cmd = cmd;
    return a;
}

bool SameEntries(const std::vector<ACCEL>& a, const std::vector<ACCEL>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++) {
        if (a[i].fVirt != b[i].fVirt || a[i].key != b[i].key || a[i].cmd != b[i].cmd)
            return false;
    }
    return true;
}

using qmtest::UniqueName;

// An application whose profile is a registry key of its own, or an INI file
// of its own in the temporary folder; both removed afterwards.
class ProfileApp {
public:
    explicit ProfileApp(bool bRegistry) : m_bRegistry(bRegistry)
    {
        m_app.reset(new CWinApp("ShortcutTests"));
        if (bRegistry) {
            m_key = UniqueName("QxShortcutTest");
            m_app->SetRegistryKey(m_key.c_str());
        } else {
            m_dir.reset(new qmtest::TempDir("qxshortcuts"));
            m_ini = m_dir->Path("profile.ini");
            free(const_cast<char*>(m_app->m_pszProfileName));
            m_app->m_pszProfileName = _strdup(m_ini.c_str());
        }
    }
    ~ProfileApp()
    {
        m_app.reset();
        if (m_bRegistry)
            RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_key).c_str());
    }
    std::string SectionPath(const char* section) const
    {
        return "Software\\" + m_key + "\\ShortcutTests\\" + section;
    }
    // The stored value as the store holds it.
    bool ReadRaw(const char* section, const char* entry, DWORD& type, Bytes& data) const
    {
        HKEY h;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        DWORD cb = 0;
        LONG r = RegQueryValueExA(h, entry, NULL, &type, NULL, &cb);
        if (r == ERROR_SUCCESS) {
            data.resize(cb);
            r = RegQueryValueExA(h, entry, NULL, &type, cb ? data.data() : NULL, &cb);
        }
        RegCloseKey(h);
        return r == ERROR_SUCCESS;
    }
    void WriteRaw(const char* section, const char* entry, DWORD type, const void* p, DWORD cb) const
    {
        HKEY h;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, NULL, 0,
                                                 KEY_WRITE, NULL, &h, NULL));
        RegSetValueExA(h, entry, 0, type, static_cast<const BYTE*>(p), cb);
        RegCloseKey(h);
    }
    std::string IniText(const char* section, const char* entry) const
    {
        char buf[4096] = {0};
        GetPrivateProfileStringA(section, entry, "<missing>", buf, sizeof(buf), m_ini.c_str());
        return buf;
    }
    void WriteIniText(const char* section, const char* entry, const char* text) const
    {
        WritePrivateProfileStringA(section, entry, text, m_ini.c_str());
    }
    CWinApp* App() const { return m_app.get(); }

private:
    bool m_bRegistry;
    std::string m_key;
    std::string m_ini;
    std::unique_ptr<qmtest::TempDir> m_dir; // holds the INI profile
    std::unique_ptr<CWinApp> m_app;
};

// ---------------------------------------------------------------------------
// Texts and key names.

struct FormatCase {
    BYTE fVirt;
    WORD key;
    const char* text;
    int priority;
};

TEST(ShortcutText, EntriesReadAsMenusShowThem)
{
    const FormatCase cases[] = {
        {FVIRTKEY | FCONTROL | FSHIFT, VK_F5, "Ctrl+Shift+F5", 3},
        {FVIRTKEY | FALT, VK_RETURN, "Alt+Enter", 2},
        {FVIRTKEY | FCONTROL | FALT, VK_DELETE, "Ctrl+Alt+Del", 3},
        {FVIRTKEY | FSHIFT, VK_INSERT, "Shift+Ins", 1},
        {FVIRTKEY, VK_F12, "F12", 4},
        {FVIRTKEY | FCONTROL, 'S', "Ctrl+S", 3},
        {FVIRTKEY | FCONTROL, '7', "Ctrl+7", 3},
        {FVIRTKEY | FCONTROL, VK_PRIOR, "Ctrl+Page Up", 3},
        {FVIRTKEY | FALT, VK_BACK, "Alt+Backspace", 2},
        {FVIRTKEY, VK_ESCAPE, "Esc", 4},
        {FVIRTKEY | FSHIFT, VK_TAB, "Shift+Tab", 1},
        {FVIRTKEY | FCONTROL, VK_LEFT, "Ctrl+Left Arrow", 3},
        // The numeric keypad.
        {FVIRTKEY | FCONTROL, VK_NUMPAD5, "Ctrl+Num 5", 3},
        {FVIRTKEY, VK_NUMPAD0, "Num 0", 4},
        {FVIRTKEY, VK_MULTIPLY, "Num *", 4},
        {FVIRTKEY | FCONTROL, VK_ADD, "Ctrl+Num +", 3},
        {FVIRTKEY | FCONTROL, VK_SUBTRACT, "Ctrl+Num -", 3},
        {FVIRTKEY | FSHIFT, VK_DECIMAL, "Shift+Num .", 1},
        {FVIRTKEY, VK_DIVIDE, "Num /", 4},
        {FVIRTKEY, VK_NUMLOCK, "Num Lock", 4},
        // Ctrl+Break names Ctrl once.
        {FVIRTKEY | FCONTROL, VK_CANCEL, "Ctrl+Break", 3},
        // A modifier-only entry drops the trailing "+".
        {FVIRTKEY | FCONTROL | FSHIFT, 0, "Ctrl+Shift", 3},
        // Character entries show the character; Escape and Tab add nothing.
        {FCONTROL, 'a', "Ctrl+a", 3},
        {0, 'q', "q", 4},
        {FCONTROL, VK_ESCAPE, "Ctrl+", 3},
        {FALT, VK_TAB, "Alt+", 2},
    };
    CQXPKeyboardShortcuts shortcuts;
    for (const FormatCase& c : cases) {
        CString text;
        int priority = 0;
        shortcuts.FormatShortcut(text, Accel(c.fVirt, c.key, 1), &priority);
        EXPECT_STREQ(c.text, (LPCSTR)text) << "fVirt " << (int)c.fVirt << " key " << c.key;
        EXPECT_EQ(c.priority, priority) << c.text;
    }
}

TEST(ShortcutText, OemKeysTakeTheKeyboardLayoutsName)
{
    // Punctuation keys have no built-in name: the layout names them, turned
    // to "First letter upper case, rest lower case".
    CQXPKeyboardShortcuts shortcuts;
    const WORD oemKeys[] = {VK_OEM_1, VK_OEM_PLUS, VK_OEM_COMMA, VK_OEM_MINUS, VK_OEM_PERIOD, VK_OEM_2,
                            VK_OEM_3, VK_OEM_4, VK_OEM_5, VK_OEM_6, VK_OEM_7};
    for (WORD key : oemKeys) {
        EXPECT_EQ(nullptr, shortcuts.GetBuiltInKeyName(key));
        CString layoutName = CQXPKeyboardShortcuts::GetLayoutKeyName(key);
        CString text;
        shortcuts.FormatShortcut(text, Accel(FVIRTKEY | FCONTROL, key, 1));
        EXPECT_STREQ((LPCSTR)("Ctrl+" + layoutName), (LPCSTR)text) << "key " << key;
        ASSERT_FALSE(layoutName.IsEmpty()) << "the US layout names every punctuation key; key " << key;
        bool bFirstLetter = true;
        for (int i = 0; i < layoutName.GetLength(); i++) {
            char ch = layoutName[i];
            bool bUpper = ch >= 'A' && ch <= 'Z', bLower = ch >= 'a' && ch <= 'z';
            if (!bUpper && !bLower)
                continue;
            EXPECT_EQ(bFirstLetter, bUpper) << "only the first letter is upper case: " << (LPCSTR)layoutName;
            bFirstLetter = false;
        }
    }
    // A named key the layout also knows: the built-in name wins unless the
    // system names are asked for; Ctrl+Break has no layout name at all.
    CString name;
    shortcuts.GetKeyName(name, VK_INSERT);
    EXPECT_STREQ("Ins", (LPCSTR)name);
    shortcuts.m_bUseSystemKeyNameText = TRUE;
    shortcuts.GetKeyName(name, VK_CANCEL);
    EXPECT_STREQ("Ctrl+Break", (LPCSTR)name) << "an empty layout name falls back to the table";
    shortcuts.GetKeyName(name, 'K');
    EXPECT_FALSE(name.IsEmpty());
}

TEST(ShortcutText, BestShortcutOfACommand)
{
    const WORD kCmd = 900, kOther = 901;
    const ACCEL table[] = {
        Accel(FVIRTKEY | FCONTROL, 'R', kCmd),
        Accel(FVIRTKEY, VK_F5, kCmd),
        Accel(FVIRTKEY | FALT, 'R', kOther),
        Accel(FVIRTKEY | FCONTROL, 'R', kOther),
        Accel(FVIRTKEY | FSHIFT, 'Q', kOther),
        Accel(FVIRTKEY | FCONTROL, 'W', kOther),
    };
    CQXPKeyboardShortcuts shortcuts;
    CString text = "untouched";
    EXPECT_FALSE(shortcuts.FindDefaultAccelerator(kCmd, text)) << "no table at all";
    EXPECT_STREQ("untouched", (LPCSTR)text);

    shortcuts.SetAcceleratorTable(table, (int)(sizeof(table) / sizeof(table[0])));
    text.Empty();
    EXPECT_TRUE(shortcuts.FindDefaultAccelerator(kCmd, text));
    EXPECT_STREQ("F5", (LPCSTR)text) << "a key without modifier wins over Ctrl";
    text.Empty();
    EXPECT_TRUE(shortcuts.FindDefaultAccelerator(kOther, text));
    EXPECT_STREQ("Ctrl+R", (LPCSTR)text) << "Ctrl over Alt and Shift, the first on a tie";
    text = "Alt+R";
    EXPECT_TRUE(shortcuts.FindDefaultAccelerator(kOther, text));
    EXPECT_STREQ("Alt+R", (LPCSTR)text) << "a text naming one of the command's shortcuts is kept";
    text = "Ctrl+Z";
    EXPECT_TRUE(shortcuts.FindDefaultAccelerator(kOther, text));
    EXPECT_STREQ("Ctrl+R", (LPCSTR)text);
    EXPECT_STREQ("F5", (LPCSTR)shortcuts.GetShortcutText(kCmd));
    EXPECT_STREQ("Alt+R", (LPCSTR)shortcuts.GetShortcutText(kOther, "Alt+R"));
    text = "stale";
    EXPECT_FALSE(shortcuts.FindDefaultAccelerator(902, text));
    EXPECT_STREQ("", (LPCSTR)text) << "a command without shortcut shows none";
}

TEST(ShortcutText, PlainEscapeIsNoShortcutUnlessAllowed)
{
    CQXPKeyboardShortcuts shortcuts;
    EXPECT_FALSE(shortcuts.IsShortcutAllowed(FVIRTKEY, VK_ESCAPE, 1));
    EXPECT_TRUE(shortcuts.IsShortcutAllowed(FVIRTKEY | FSHIFT, VK_ESCAPE, 1));
    EXPECT_TRUE(shortcuts.IsShortcutAllowed(FVIRTKEY, VK_F2, 1));
    shortcuts.m_bAllowEscapeShortcut = TRUE;
    EXPECT_TRUE(shortcuts.IsShortcutAllowed(FVIRTKEY, VK_ESCAPE, 1));
}

TEST(ShortcutText, MnemonicMatchesTheKeyThatTypesTheCharacter)
{
    EXPECT_TRUE(CQXPKeyboardShortcuts::IsMnemonicMatch('s', 'S'));
    EXPECT_TRUE(CQXPKeyboardShortcuts::IsMnemonicMatch('S', 'S'));
    EXPECT_TRUE(CQXPKeyboardShortcuts::IsMnemonicMatch('4', '4'));
    EXPECT_FALSE(CQXPKeyboardShortcuts::IsMnemonicMatch('x', 'S'));
    EXPECT_FALSE(CQXPKeyboardShortcuts::IsMnemonicMatch('s', VK_F5)) << "keys that type nothing never match";
}

// ---------------------------------------------------------------------------
// Tables and the stored form.

TEST(ShortcutTables, ResourceGivesDefaultAndCurrentTables)
{
    CQXPKeyboardShortcuts shortcuts;
    EXPECT_FALSE(shortcuts.LoadAccelerators(IDR_SC_MISSING));
    EXPECT_FALSE(shortcuts.HasDefaultTable());
    EXPECT_EQ(nullptr, shortcuts.GetAcceleratorTable());

    ASSERT_TRUE(shortcuts.LoadAccelerators(IDR_SC_ACCEL));
    ASSERT_EQ(5u, shortcuts.GetDefaultEntries().size());
    EXPECT_TRUE(SameEntries(shortcuts.GetDefaultEntries(), shortcuts.GetEntries()));
    EXPECT_EQ(FVIRTKEY | FCONTROL, shortcuts.GetEntries()[0].fVirt & ~FNOINVERT);
    EXPECT_EQ('S', shortcuts.GetEntries()[0].key);
    EXPECT_EQ(ID_SC_SAVE, shortcuts.GetEntries()[0].cmd);
    ASSERT_NE(nullptr, shortcuts.GetAcceleratorTable());
    EXPECT_EQ(5, CopyAcceleratorTableA(shortcuts.GetAcceleratorTable(), NULL, 0));

    // The user's table is independent of the default; reset brings it back.
    ACCEL mine = Accel(FVIRTKEY | FCONTROL, 'Q', ID_SC_SAVE);
    shortcuts.SetAcceleratorTable(&mine, 1);
    EXPECT_EQ(1u, shortcuts.GetEntries().size());
    EXPECT_EQ(5u, shortcuts.GetDefaultEntries().size());
    shortcuts.ResetToDefault();
    EXPECT_TRUE(SameEntries(shortcuts.GetDefaultEntries(), shortcuts.GetEntries()));

    // Without a default table a reset leaves nothing to translate.
    CQXPKeyboardShortcuts bare;
    bare.SetAcceleratorTable(&mine, 1);
    ASSERT_NE(nullptr, bare.GetAcceleratorTable());
    bare.ResetToDefault();
    EXPECT_FALSE(bare.HasCurrentTable());
    EXPECT_EQ(nullptr, bare.GetAcceleratorTable());
}

TEST(ShortcutTables, StoredBytesAreTheEntriesSixBytesEach)
{
    const std::vector<ACCEL> entries = {Accel(FVIRTKEY | FCONTROL | FSHIFT, VK_F5, 0x8123),
                                        Accel(FALT, 'x', 0x0102)};
    const Bytes expected = {0x0D, 0x00, 0x74, 0x00, 0x23, 0x81, 0x10, 0x00, 'x', 0x00, 0x02, 0x01};
    EXPECT_EQ(qmtest::Hex(expected), qmtest::Hex(CQXPKeyboardShortcuts::Pack(entries)));
    std::vector<ACCEL> back;
    ASSERT_TRUE(CQXPKeyboardShortcuts::Unpack(expected.data(), (UINT)expected.size(), back));
    EXPECT_TRUE(SameEntries(entries, back));
}

class ShortcutProfile : public ::testing::TestWithParam<bool> {};

TEST_P(ShortcutProfile, SavedTableLoadsBackByteIdentical)
{
    ProfileApp app(GetParam());
    const ACCEL mine[] = {Accel(FVIRTKEY | FCONTROL, 'Q', ID_SC_SAVE), Accel(FVIRTKEY | FSHIFT, VK_F7, ID_SC_RUN),
                          Accel(FVIRTKEY | FCONTROL | FALT, VK_NUMPAD3, ID_SC_PROPS)};
    Bytes saved;
    {
        CQXPKeyboardShortcuts shortcuts;
        EXPECT_FALSE(shortcuts.Save("CommandBars")) << "nothing is saved without a default table";
        ASSERT_TRUE(shortcuts.LoadAccelerators(IDR_SC_ACCEL));
        shortcuts.SetAcceleratorTable(mine, 3);
        ASSERT_TRUE(shortcuts.Save("CommandBars"));
        saved = CQXPKeyboardShortcuts::Pack(shortcuts.GetEntries());
        ASSERT_EQ(18u, saved.size());
        if (GetParam()) {
            DWORD type = 0;
            Bytes raw;
            ASSERT_TRUE(app.ReadRaw("CommandBars", "Accelerators", type, raw));
            EXPECT_EQ((DWORD)REG_BINARY, type);
            EXPECT_EQ(qmtest::Hex(saved), qmtest::Hex(raw));
        } else {
            EXPECT_EQ(36u, app.IniText("CommandBars", "Accelerators").size());
        }
    }
    CQXPKeyboardShortcuts loaded;
    ASSERT_TRUE(loaded.LoadAccelerators(IDR_SC_ACCEL));
    ASSERT_TRUE(loaded.Load("CommandBars"));
    EXPECT_EQ(qmtest::Hex(saved), qmtest::Hex(CQXPKeyboardShortcuts::Pack(loaded.GetEntries())));
    EXPECT_EQ(3, CopyAcceleratorTableA(loaded.GetAcceleratorTable(), NULL, 0));
    CString text;
    EXPECT_TRUE(loaded.FindDefaultAccelerator(ID_SC_PROPS, text));
    EXPECT_STREQ("Ctrl+Alt+Num 3", (LPCSTR)text);

    // An empty table is a zero-length value and loads as an empty table.
    loaded.SetAcceleratorTable(NULL, 0);
    ASSERT_TRUE(loaded.Save("CommandBars"));
    if (GetParam()) {
        DWORD type = 0;
        Bytes raw;
        ASSERT_TRUE(app.ReadRaw("CommandBars", "Accelerators", type, raw));
        EXPECT_EQ(0u, raw.size());
    } else {
        EXPECT_EQ("", app.IniText("CommandBars", "Accelerators"));
    }
    CQXPKeyboardShortcuts empty;
    ASSERT_TRUE(empty.LoadAccelerators(IDR_SC_ACCEL));
    ASSERT_TRUE(empty.Load("CommandBars"));
    EXPECT_EQ(0u, empty.GetEntries().size());
    EXPECT_EQ(nullptr, empty.GetAcceleratorTable()) << "no shortcuts are translated";
}

TEST_P(ShortcutProfile, MissingValueKeepsTheDefaultTable)
{
    ProfileApp app(GetParam());
    CQXPKeyboardShortcuts shortcuts;
    ASSERT_TRUE(shortcuts.LoadAccelerators(IDR_SC_ACCEL));
    EXPECT_FALSE(shortcuts.Load("CommandBars"));
    EXPECT_TRUE(SameEntries(shortcuts.GetDefaultEntries(), shortcuts.GetEntries()));
}

INSTANTIATE_TEST_SUITE_P(RegistryAndIni, ShortcutProfile, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Registry" : "IniFile");
                         });

TEST(ShortcutDamage, DamagedRegistryValueIsRefusedAsAWhole)
{
    struct Damage {
        const char* what;
        DWORD type;
        Bytes data;
    };
    const Damage cases[] = {
        {"a trailing partial entry", REG_BINARY, {0x09, 0, 'Q', 0, 0x03, 0xE1, 0x09}},
        {"unknown fVirt bits", REG_BINARY, {0x09, 0, 'Q', 0, 0x03, 0xE1, 0xE9, 0, 'W', 0, 0x03, 0xE1}},
        {"an entry without key", REG_BINARY, {0x09, 0, 'Q', 0, 0x03, 0xE1, 0x09, 0, 0, 0, 0x03, 0xE1}},
        {"zeroed bytes", REG_BINARY, Bytes(24, 0)},
        {"a text value", REG_SZ, {'C', 't', 'r', 'l', 0}},
    };
    for (const Damage& d : cases) {
        ProfileApp app(true);
        app.WriteRaw("CommandBars", "Accelerators", d.type, d.data.data(), (DWORD)d.data.size());
        CQXPKeyboardShortcuts shortcuts;
        ASSERT_TRUE(shortcuts.LoadAccelerators(IDR_SC_ACCEL));
        EXPECT_FALSE(shortcuts.Load("CommandBars")) << d.what;
        EXPECT_TRUE(SameEntries(shortcuts.GetDefaultEntries(), shortcuts.GetEntries())) << d.what;
        EXPECT_EQ(5, CopyAcceleratorTableA(shortcuts.GetAcceleratorTable(), NULL, 0)) << d.what;
    }
}

TEST(ShortcutDamage, DamagedIniValueIsRefusedAsAWhole)
{
    const char* cases[] = {
        "JAFBAADOJ",            // half a byte at the end
        "JAFBAADOJAHBAADO",     // 16 letters: 2 entries and a third of one
        "JAFBAADO#AHBAADOJAAA", // not one of the sixteen letters
        "AAAAAAAAAAAA",         // an entry without key
    };
    for (const char* text : cases) {
        ProfileApp app(false);
        app.WriteIniText("CommandBars", "Accelerators", text);
        CQXPKeyboardShortcuts shortcuts;
        ASSERT_TRUE(shortcuts.LoadAccelerators(IDR_SC_ACCEL));
        EXPECT_FALSE(shortcuts.Load("CommandBars")) << text;
        EXPECT_TRUE(SameEntries(shortcuts.GetDefaultEntries(), shortcuts.GetEntries())) << text;
    }
}

// The property exchange of the layout persistence: binary back-ends keep a
// count and one block, the INI back-end a section per entry.
TEST(ShortcutExchange, EveryBackEndRoundTrips)
{
    const ACCEL mine[] = {Accel(FVIRTKEY | FCONTROL, 'Q', ID_SC_SAVE), Accel(FVIRTKEY | FALT, VK_F9, 0xF123)};
    CQXPKeyboardShortcuts source;
    source.SetAcceleratorTable(mine, 2);

    // Archive.
    Bytes bytes = qmtest::StoreBytes([&](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        source.DoPropExchange(&px);
    });
    CQXPKeyboardShortcuts fromArchive;
    qmtest::LoadBytes(bytes, [&](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        fromArchive.DoPropExchange(&px);
    });
    EXPECT_TRUE(SameEntries(source.GetEntries(), fromArchive.GetEntries()));

    // Registry and INI file.
    for (bool bRegistry : {true, false}) {
        ProfileApp app(bRegistry);
        {
            PropExchangeSectionPtr px;
            ASSERT_NE(nullptr, px.OpenProfile(FALSE, "CommandBars-Shortcuts"));
            source.DoPropExchange(px);
        }
        CQXPKeyboardShortcuts loaded;
        ASSERT_TRUE(loaded.LoadAccelerators(IDR_SC_ACCEL));
        {
            PropExchangeSectionPtr px;
            ASSERT_NE(nullptr, px.OpenProfile(TRUE, "CommandBars-Shortcuts"));
            loaded.DoPropExchange(px);
        }
        EXPECT_TRUE(SameEntries(source.GetEntries(), loaded.GetEntries())) << (bRegistry ? "registry" : "INI");
    }
}

TEST(ShortcutExchange, RegistryBlockThatDisagreesWithItsCountIsRefused)
{
    ProfileApp app(true);
    const DWORD count = 3;
    const Bytes twoEntries = {0x09, 0, 'Q', 0, 0x03, 0xE1, 0x11, 0, 0x78, 0, 0x23, 0xF1};
    app.WriteRaw("CommandBars-Shortcuts", "Count", REG_DWORD, &count, sizeof(count));
    app.WriteRaw("CommandBars-Shortcuts", "Data", REG_BINARY, twoEntries.data(), (DWORD)twoEntries.size());
    CQXPKeyboardShortcuts loaded;
    ASSERT_TRUE(loaded.LoadAccelerators(IDR_SC_ACCEL));
    {
        PropExchangeSectionPtr px;
        ASSERT_NE(nullptr, px.OpenProfile(TRUE, "CommandBars-Shortcuts"));
        loaded.DoPropExchange(px);
    }
    EXPECT_TRUE(SameEntries(loaded.GetDefaultEntries(), loaded.GetEntries()));

    // With the right count the same block loads.
    const DWORD two = 2;
    app.WriteRaw("CommandBars-Shortcuts", "Count", REG_DWORD, &two, sizeof(two));
    {
        PropExchangeSectionPtr px;
        ASSERT_NE(nullptr, px.OpenProfile(TRUE, "CommandBars-Shortcuts"));
        loaded.DoPropExchange(px);
    }
    ASSERT_EQ(2u, loaded.GetEntries().size());
    EXPECT_EQ(0xF123, loaded.GetEntries()[1].cmd);
}

TEST(ShortcutExchange, ArchiveWithABadEntryKeepsTheTable)
{
    Bytes bytes = qmtest::StoreBytes([&](CArchive& ar) {
        CQXPKeyboardShortcuts source;
        const ACCEL bad[] = {Accel(FVIRTKEY, 'Q', 1), Accel(0x40, 'W', 2)};
        source.SetAcceleratorTable(bad, 2);
        CQXPPropExchangeArchive px(ar);
        source.DoPropExchange(&px);
    });
    CQXPKeyboardShortcuts loaded;
    ASSERT_TRUE(loaded.LoadAccelerators(IDR_SC_ACCEL));
    qmtest::LoadBytes(bytes, [&](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        loaded.DoPropExchange(&px);
    });
    EXPECT_TRUE(SameEntries(loaded.GetDefaultEntries(), loaded.GetEntries()));
}

// ---------------------------------------------------------------------------
// The capture edit.

SHORT g_keyState[256];
SHORT WINAPI FakeKeyState(int nVirtKey) { return g_keyState[nVirtKey & 0xFF]; }

class CaptureEdit : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(g_keyState, 0, sizeof(g_keyState));
        CQXPShortcutEdit::s_pfnGetKeyState = FakeKeyState;
        m_parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 60, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(m_parent);
        ASSERT_TRUE(m_edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 180, 20), CWnd::FromHandle(m_parent), 106));
        m_edit.SetKeyboardShortcuts(&m_shortcuts);
    }
    void TearDown() override
    {
        CQXPShortcutEdit::s_pfnGetKeyState = NULL;
        m_edit.DestroyWindow();
        DestroyWindow(m_parent);
    }
    // One key message as the pump would offer it.
    BOOL Key(UINT message, UINT vk, bool bRepeat = false)
    {
        bool bDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU)
            g_keyState[vk] = bDown ? (SHORT)0x8000 : 0;
        MSG msg = {};
        msg.hwnd = m_edit.m_hWnd;
        msg.message = message;
        msg.wParam = vk;
        msg.lParam = 1 | (bRepeat ? (1L << 30) : 0) | (bDown ? 0 : (3L << 30));
        return m_edit.PreTranslateMessage(&msg);
    }
    std::string Text() const
    {
        char buf[64] = {0};
        GetWindowTextA(m_edit.m_hWnd, buf, sizeof(buf));
        return buf;
    }

    HWND m_parent = NULL;
    CQXPKeyboardShortcuts m_shortcuts;
    CQXPShortcutEdit m_edit;
};

TEST_F(CaptureEdit, ModifiersShowWhileHeldAndAKeyCompletesTheShortcut)
{
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_CONTROL));
    EXPECT_EQ("Ctrl", Text());
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_CONTROL, true));
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_SHIFT));
    EXPECT_EQ("Ctrl+Shift", Text());
    EXPECT_FALSE(m_edit.IsKeyCaptured());
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_F5));
    EXPECT_EQ("Ctrl+Shift+F5", Text());
    EXPECT_TRUE(m_edit.IsKeyCaptured());
    // Releasing the keys keeps the captured shortcut.
    Key(WM_KEYUP, VK_F5);
    Key(WM_KEYUP, VK_SHIFT);
    Key(WM_KEYUP, VK_CONTROL);
    EXPECT_EQ("Ctrl+Shift+F5", Text());
    EXPECT_EQ(FVIRTKEY | FCONTROL | FSHIFT, m_edit.GetAccel().fVirt);
    EXPECT_EQ(VK_F5, m_edit.GetAccel().key);
}

TEST_F(CaptureEdit, PlainEscapeIsRefusedShiftEscapeTaken)
{
    Key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ("", Text());
    EXPECT_FALSE(m_edit.IsKeyCaptured());
    Key(WM_KEYUP, VK_ESCAPE);
    Key(WM_KEYDOWN, VK_SHIFT);
    Key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ("Shift+Esc", Text());
    EXPECT_TRUE(m_edit.IsKeyCaptured());
}

TEST_F(CaptureEdit, TabMovesOnAndOtherMessagesPass)
{
    EXPECT_FALSE(Key(WM_KEYDOWN, VK_TAB)) << "plain Tab takes the normal path";
    EXPECT_EQ("", Text());
    Key(WM_KEYDOWN, VK_CONTROL);
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_TAB)) << "Ctrl+Tab is a shortcut";
    EXPECT_EQ("Ctrl+Tab", Text());
    MSG msg = {};
    msg.hwnd = m_edit.m_hWnd;
    msg.message = WM_CHAR;
    msg.wParam = 'x';
    EXPECT_FALSE(m_edit.PreTranslateMessage(&msg));
}

// ---------------------------------------------------------------------------
// Translation for a frame.

class CShortcutFrame : public CFrameWnd {
public:
    CQXPKeyboardShortcuts m_shortcuts;
    std::vector<UINT> m_commands;
    void PostNcDestroy() override {}
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (CFrameWnd::PreTranslateMessage(pMsg))
            return TRUE;
        return pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
               m_shortcuts.TranslateAccelerator(this, pMsg);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && lParam == 0)
            m_commands.push_back(LOWORD(wParam));
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
};

class FrameKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetKeyboardState(m_saved);
        ASSERT_TRUE(m_frame.Create(NULL, "Shortcut test", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
        ASSERT_TRUE(m_frame.m_shortcuts.LoadAccelerators(IDR_SC_ACCEL));
    }
    void TearDown() override
    {
        m_frame.DestroyWindow();
        SetKeyboardState(m_saved);
    }
    // Posts a key-down with Ctrl held and pumps the queue through the
    // frame's pre-translation.
    void PressCtrl(UINT vk)
    {
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
        SetKeyboardState(state);
        PostMessageA(m_frame.m_hWnd, WM_KEYDOWN, vk, 1);
        PostMessageA(m_frame.m_hWnd, WM_KEYUP, vk, (LPARAM)(1 | (3UL << 30)));
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (!AfxPreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        state[VK_CONTROL] = state[VK_LCONTROL] = 0;
        SetKeyboardState(state);
    }

    BYTE m_saved[256];
    CShortcutFrame m_frame;
};

TEST_F(FrameKeys, CtrlSArrivesAsTheSaveCommand)
{
    PressCtrl('S');
    ASSERT_EQ(1u, m_frame.m_commands.size());
    EXPECT_EQ((UINT)ID_SC_SAVE, m_frame.m_commands[0]);

    // While shortcuts are disabled (a menu or dialog has the keys) nothing
    // is translated; enabling again restores them.
    m_frame.m_commands.clear();
    m_frame.m_shortcuts.DisableShortcuts(TRUE);
    PressCtrl('S');
    EXPECT_TRUE(m_frame.m_commands.empty());
    m_frame.m_shortcuts.DisableShortcuts(FALSE);
    PressCtrl('S');
    EXPECT_EQ(1u, m_frame.m_commands.size());

    // Print preview: no shortcuts until it ends (told twice, counted once).
    m_frame.m_shortcuts.OnSetPreviewMode(TRUE);
    m_frame.m_shortcuts.OnSetPreviewMode(TRUE);
    PressCtrl('S');
    EXPECT_EQ(1u, m_frame.m_commands.size());
    m_frame.m_shortcuts.OnSetPreviewMode(FALSE);
    PressCtrl('S');
    EXPECT_EQ(2u, m_frame.m_commands.size());
}

TEST_F(FrameKeys, UserTableDecidesWhatAKeyDoes)
{
    const ACCEL mine[] = {Accel(FVIRTKEY | FCONTROL, 'S', ID_SC_PROPS)};
    m_frame.m_shortcuts.SetAcceleratorTable(mine, 1);
    PressCtrl('S');
    PressCtrl('R');
    ASSERT_EQ(1u, m_frame.m_commands.size()) << "Ctrl+R is no longer assigned";
    EXPECT_EQ((UINT)ID_SC_PROPS, m_frame.m_commands[0]);
}

} // namespace
