// The editor's settings across a start and a close: the defaults it writes
// into a fresh profile, the files it reopens, and the window placement and
// pane layout it restores.
#include "qmate_fixture.h"

#include <cstring>

namespace {

using e2e::QmateTest;

struct Default {
    const char* section;
    const char* name;
    DWORD type;
    DWORD number;     // REG_DWORD
    const char* text; // REG_SZ
};

// Every value of a fresh profile, as the main frame writes it on close.
const Default kDefaults[] = {
    {"ViewSettings", "WordWrap", REG_DWORD, 0, nullptr},
    {"ViewSettings", "Whitespace", REG_DWORD, 0, nullptr},
    {"ViewSettings", "LineEndings", REG_DWORD, 0, nullptr},
    {"ViewSettings", "CaretLine", REG_DWORD, 0, nullptr},
    {"ViewSettings", "LineNumbers", REG_DWORD, 0, nullptr},
    {"ViewSettings", "FontSize", REG_DWORD, 10, nullptr},
    {"ViewSettings", "FontBold", REG_DWORD, 0, nullptr},
    {"ViewSettings", "FontItalic", REG_DWORD, 0, nullptr},
    {"ViewSettings", "CodeFolding", REG_DWORD, 0, nullptr},
    {"ViewSettings", "BlockSelect", REG_DWORD, 0, nullptr},
    {"ViewSettings", "LargeTBIcons", REG_DWORD, 1, nullptr},
    {"ViewSettings", "FontStyle", REG_SZ, 0, "Courier New"},
    {"ViewSettings", "TabAsSpaces", REG_DWORD, 1, nullptr},
    {"ViewSettings", "TabGuides", REG_DWORD, 0, nullptr},
    {"ViewSettings", "TabWidth", REG_DWORD, 4, nullptr},
    {"ViewSettings", "MatchBracket", REG_DWORD, 0, nullptr},
    {"ViewSettings", "BraceBadColour", REG_DWORD, 0x0000FF, nullptr},
    {"ViewSettings", "BraceHighlight", REG_DWORD, 0x0000FF, nullptr},
    {"ViewSettings", "CaretLineColour", REG_DWORD, 0xEED2C1, nullptr},
    {"ViewSettings", "CaretLineTransparency", REG_DWORD, 126, nullptr},
    {"ViewSettings", "Theme", REG_DWORD, 721, nullptr},
    {"ViewSettings", "Rulers", REG_DWORD, 0, nullptr},
    {"PrintSettings", "PrintHeader", REG_DWORD, 0, nullptr},
    {"PrintSettings", "PrintFooter", REG_DWORD, 0, nullptr},
    {"PrintSettings", "PrintLineNumbers", REG_DWORD, 0, nullptr},
    {"BackupSettings", "DeleteOnExit", REG_DWORD, 0, nullptr},
    {"BackupSettings", "Enabled", REG_DWORD, 1, nullptr},
    {"BackupSettings", "Versions", REG_DWORD, 1, nullptr},
    {"OutputSettings", "ReuseWindows", REG_DWORD, 1, nullptr},
    {"EditSettings", "ResetUndoOnSave", REG_DWORD, 1, nullptr},
    {"GenSettings", "RememberOpenFiles", REG_DWORD, 1, nullptr},
    {"GenSettings", "DictionaryPath", REG_SZ, 0, ""},
    {"GenSettings", "Dictionary", REG_SZ, 0, ""},
    {"GenSettings", "MDITabsActive", REG_DWORD, 0, nullptr},
};

std::string Key(const char* section) { return std::string(QM_REGKEY_APP) + "\\" + section; }

std::string StringValue(const std::string& key, const char* name, bool& present)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    present = qmtest::ReadRegistryValue(HKEY_CURRENT_USER, key, name, type, data) &&
              (type == REG_SZ || type == REG_EXPAND_SZ);
    std::string s(data.begin(), data.end());
    while (!s.empty() && s.back() == '\0')
        s.pop_back();
    return s;
}

TEST_F(QmateTest, StartAndCloseWritesEveryDefaultIntoAFreshProfile)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Close());
    EXPECT_EQ(m_prog.ExitCode(), 0u);

    // The program records where it lives at every start.
    bool present = false;
    std::string exePath = StringValue(QM_REGKEY_APP, QM_REGVAL_QUILLMATEPATH, present);
    ASSERT_TRUE(present) << QM_REGVAL_QUILLMATEPATH << " is missing";
    EXPECT_EQ(e2e::Lower(e2e::LongPath(exePath)), e2e::Lower(e2e::LongPath(m_exe)));

    for (const Default& d : kDefaults) {
        SCOPED_TRACE(std::string(d.section) + "\\" + d.name);
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!qmtest::ReadRegistryValue(HKEY_CURRENT_USER, Key(d.section), d.name, type, data)) {
            ADD_FAILURE() << "missing";
            continue;
        }
        EXPECT_EQ(type, d.type);
        if (d.type == REG_DWORD) {
            ASSERT_EQ(data.size(), sizeof(DWORD));
            DWORD v;
            memcpy(&v, data.data(), sizeof(v));
            EXPECT_EQ(v, d.number) << std::hex << "0x" << v << " instead of 0x" << d.number;
        } else {
            std::string s(data.begin(), data.end());
            while (!s.empty() && s.back() == '\0')
                s.pop_back();
            EXPECT_EQ(s, d.text);
        }
    }

    // With no folder stored, backups go to "backup" beside the program.
    std::string folder = StringValue(Key("BackupSettings"), "BackupFolder", present);
    EXPECT_TRUE(present) << "BackupSettings\\BackupFolder is missing";
    std::string exeFolder = exePath.substr(0, exePath.find_last_of('\\') + 1);
    EXPECT_EQ(e2e::Lower(folder), e2e::Lower(exeFolder + "backup"));

    // The window placement is stored; no hand-over list is left behind.
    DWORD type = 0;
    std::vector<BYTE> placement;
    EXPECT_TRUE(qmtest::ReadRegistryValue(HKEY_CURRENT_USER, Key("Settings"), "Window Position", type, placement))
        << "Settings\\Window Position is missing";
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(placement.size(), 44u);
    EXPECT_FALSE(qmtest::RegistryKeyExists(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN));
}

TEST_F(QmateTest, RememberedOpenFilesComeBackAfterARestart)
{
    std::string a = WriteFile("first.txt", "first file\r\n");
    std::string b = WriteFile("second.cpp", "int second;\r\n");
    ASSERT_TRUE(Start("\"" + a + "\""));
    auto edA = EditorHolding("first file\r\n");
    E2E_REQUIRE_EDITOR(edA);
    // The second file arrives through the hand-over, as from Explorer.
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "1", b));
    PostMessageA(Main(), WM_OPENFILESTOOPEN, 0, 0);
    ASSERT_TRUE(EditorHolding("int second;\r\n"));
    ASSERT_TRUE(Close());

    // Each open document left its path (name and data) for the next start.
    std::vector<std::string> names = qmtest::RegistryValueNames(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN);
    std::vector<std::string> lowered;
    for (auto& n : names)
        lowered.push_back(e2e::Lower(n));
    std::sort(lowered.begin(), lowered.end());
    std::vector<std::string> expected = {e2e::Lower(a), e2e::Lower(b)};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lowered, expected);
    for (auto& n : names) {
        bool present = false;
        EXPECT_EQ(e2e::Lower(StringValue(QM_REGKEY_FILESTOOPEN, n.c_str(), present)), e2e::Lower(n));
    }

    // The next start opens both and deletes the list; no empty document is made.
    ASSERT_TRUE(Start());
    EXPECT_TRUE(EditorHolding("first file\r\n"));
    EXPECT_TRUE(EditorHolding("int second;\r\n"));
    EXPECT_TRUE(qmtest::WaitUntil([] { return !qmtest::RegistryKeyExists(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN); },
                                  10000));
    EXPECT_EQ(Editors().size(), 2u) << CaptionList();
    EXPECT_FALSE(AnyCaptionContains("Untitled")) << CaptionList();
    ASSERT_TRUE(Close());
}

TEST_F(QmateTest, RememberOpenFilesOffLeavesNoListAfterTheClose)
{
    ASSERT_TRUE(qmtest::WriteRegistryDword(HKEY_CURRENT_USER, Key("GenSettings"), "RememberOpenFiles", 0));
    std::string a = WriteFile("kept.txt", "kept\r\n");
    ASSERT_TRUE(Start("\"" + a + "\""));
    E2E_REQUIRE_EDITOR(EditorHolding("kept\r\n"));
    ASSERT_TRUE(Close());
    EXPECT_FALSE(qmtest::RegistryKeyExists(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN));
}

// What a layout is made of, as seen from outside: the visible windows below
// the main frame that are not documents, with their class, text and place
// relative to the frame's client area.
std::vector<std::string> LayoutOf(HWND main)
{
    std::vector<std::string> out;
    HWND client = qmtest::FirstDescendantOfClass(main, "MDIClient");
    for (HWND h : qmtest::DescendantsOfClass(main, "", true)) {
        if (client && (h == client || IsChild(client, h)))
            continue;
        std::string cls = qmtest::WindowClassOf(h);
        if (cls == "Scintilla" || cls == "tooltips_class32")
            continue;
        RECT r;
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        // The status line's text is the prompt of whatever the pointer rests
        // on, not part of the layout.
        std::string text = cls == "msctls_statusbar32" ? std::string() : qmtest::WindowTextOf(h);
        char buf[512];
        snprintf(buf, sizeof(buf), "%s \"%s\" %ld,%ld %ldx%ld", cls.c_str(), text.c_str(), r.left,
                 r.top, r.right - r.left, r.bottom - r.top);
        out.push_back(buf);
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string Join(const std::vector<std::string>& v)
{
    std::string s;
    for (auto& x : v)
        s += "\n  " + x;
    return s;
}

TEST_F(QmateTest, WindowPlacementAndPaneLayoutSurviveARestart)
{
    HWND main = Start();
    ASSERT_TRUE(main);
    std::vector<std::string> fresh = LayoutOf(main);
    // A place and size of our own, and the output pane toggled.
    ShowWindow(main, SW_RESTORE);
    ASSERT_TRUE(SetWindowPos(main, nullptr, 40, 30, 820, 610, SWP_NOZORDER | SWP_NOACTIVATE));
    qmtest::WaitUntil(
        [&] {
            RECT r;
            GetWindowRect(main, &r);
            return r.left == 40 && r.top == 30 && r.right - r.left == 820;
        },
        5000);
    PostCommand(e2e::kCmdToolWindow);
    Sleep(500);
    std::vector<std::string> before = LayoutOf(main);
    WINDOWPLACEMENT wpBefore = {};
    wpBefore.length = sizeof(wpBefore);
    ASSERT_TRUE(GetWindowPlacement(main, &wpBefore));
    bool paneToggled = before != fresh;
    ASSERT_TRUE(Close());
    DWORD type = 0;
    std::vector<BYTE> stored;
    ASSERT_TRUE(qmtest::ReadRegistryValue(HKEY_CURRENT_USER, Key("Settings"), "Window Position", type, stored))
        << "Qmate.exe stored no window placement when it closed";

    main = Start();
    ASSERT_TRUE(main);
    Sleep(500);
    WINDOWPLACEMENT wpAfter = {};
    wpAfter.length = sizeof(wpAfter);
    ASSERT_TRUE(GetWindowPlacement(main, &wpAfter));
    EXPECT_EQ(wpAfter.showCmd, wpBefore.showCmd);
    EXPECT_EQ(wpAfter.rcNormalPosition.left, wpBefore.rcNormalPosition.left);
    EXPECT_EQ(wpAfter.rcNormalPosition.top, wpBefore.rcNormalPosition.top);
    EXPECT_EQ(wpAfter.rcNormalPosition.right, wpBefore.rcNormalPosition.right);
    EXPECT_EQ(wpAfter.rcNormalPosition.bottom, wpBefore.rcNormalPosition.bottom);
    std::vector<std::string> after = LayoutOf(main);
    EXPECT_EQ(after, before) << "before the close:" << Join(before) << "\nafter the restart:" << Join(after);
    ASSERT_TRUE(Close());
    EXPECT_TRUE(paneToggled) << "the output pane command changed nothing in the layout, so the pane layout was "
                                "compared unchanged:"
                             << Join(fresh);
}

TEST_F(QmateTest, MaximizedWindowComesBackMaximized)
{
    HWND main = Start();
    ASSERT_TRUE(main);
    ShowWindow(main, SW_MAXIMIZE);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return IsZoomed(main) != FALSE; }, 5000));
    ASSERT_TRUE(Close());
    DWORD type = 0;
    std::vector<BYTE> stored;
    ASSERT_TRUE(qmtest::ReadRegistryValue(HKEY_CURRENT_USER, Key("Settings"), "Window Position", type, stored))
        << "Qmate.exe stored no window placement when it closed";
    main = Start();
    ASSERT_TRUE(main);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return IsZoomed(main) != FALSE; }, 5000));
    ASSERT_TRUE(Close());
}

} // namespace

namespace {

// The view settings as the editing window of a document shows them.
struct ViewState {
    int caretLine, whitespace, lineEnds, useTabs, tabWidth, guides, wrap, numberMargin;
};

std::string Describe(const ViewState& v)
{
    char buf[200];
    snprintf(buf, sizeof(buf),
             "caret line %d, whitespace %d, line ends %d, use tabs %d, tab width %d, guides %d, wrap %d, "
             "number margin %d",
             v.caretLine, v.whitespace, v.lineEnds, v.useTabs, v.tabWidth, v.guides, v.wrap, v.numberMargin);
    return buf;
}

ViewState ReadViewState(const qmtest::RemoteScintilla& ed)
{
    ViewState v;
    v.caretLine = static_cast<int>(ed.Send(2095)); // SCI_GETCARETLINEVISIBLE
    v.whitespace = ed.Send(2020) != 0 ? 1 : 0;     // SCI_GETVIEWWS
    v.lineEnds = static_cast<int>(ed.Send(2355));  // SCI_GETVIEWEOL
    v.useTabs = static_cast<int>(ed.Send(2125));   // SCI_GETUSETABS
    v.tabWidth = static_cast<int>(ed.Send(2121));  // SCI_GETTABWIDTH
    v.guides = ed.Send(2133) != 0 ? 1 : 0;         // SCI_GETINDENTATIONGUIDES
    v.wrap = ed.Send(2269) != 0 ? 1 : 0;           // SCI_GETWRAPMODE
    v.numberMargin = 0;
    for (WPARAM m = 0; m < 5; ++m) // SCI_GETMARGINTYPEN / WIDTHN
        if (ed.Send(2241, m) == 1 && ed.Send(2243, m) > 0)
            v.numberMargin = 1;
    return v;
}

struct ViewCase {
    const char* name;
    bool store; // write the settings below before the start
    ViewState expected;
};

void PrintTo(const ViewCase& c, std::ostream* os) { *os << c.name; }

class ViewSettingsTest : public QmateTest, public ::testing::WithParamInterface<ViewCase> {
};

TEST_P(ViewSettingsTest, SettingsReachTheEditingWindowOfADocument)
{
    const ViewCase& c = GetParam();
    if (c.store) {
        std::string key = Key("ViewSettings");
        const ViewState& e = c.expected;
        ASSERT_TRUE(qmtest::WriteRegistryDword(HKEY_CURRENT_USER, key, "CaretLine", e.caretLine));
        ASSERT_TRUE(qmtest::WriteRegistryDword(HKEY_CURRENT_USER, key, "Whitespace", e.whitespace));
        ASSERT_TRUE(qmtest::WriteRegistryDword(HKEY_CURRENT_USER, key, "LineEndings", e.lineEnds));
        ASSERT_TRUE(qmtest::WriteRegistryDword(HKEY_CURRENT_USER, key, "TabAsSpaces", !e.useTabs));
        ASSERT_TRUE(qmtest::WriteRegistryDword(HKEY_CURRENT_USER, key, "TabWidth", e.tabWidth));
        ASSERT_TRUE(qmtest::WriteRegistryDword(HKEY_CURRENT_USER, key, "TabGuides", e.guides));
        ASSERT_TRUE(qmtest::WriteRegistryDword(HKEY_CURRENT_USER, key, "WordWrap", e.wrap));
        ASSERT_TRUE(qmtest::WriteRegistryDword(HKEY_CURRENT_USER, key, "LineNumbers", e.numberMargin));
    }
    std::string path = WriteFile("view.cpp", "int view;\r\n");
    ASSERT_TRUE(Start("\"" + path + "\""));
    qmtest::RemoteScintilla ed = EditorHolding("int view;\r\n");
    E2E_REQUIRE_EDITOR(ed);
    EXPECT_EQ(Describe(ReadViewState(ed)), Describe(c.expected));
    ASSERT_TRUE(Close());
}

INSTANTIATE_TEST_SUITE_P(E2E, ViewSettingsTest,
                         ::testing::Values(ViewCase{"fresh_profile", false, {0, 0, 0, 0, 4, 0, 0, 0}},
                                           ViewCase{"stored_settings", true, {1, 1, 1, 1, 8, 1, 1, 1}}),
                         [](const ::testing::TestParamInfo<ViewCase>& info) { return std::string(info.param.name); });

} // namespace
