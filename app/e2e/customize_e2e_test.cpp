// The customize sheet of the running editor: each Tools command opens it on
// its page, one at a time, with Close for Cancel; a new toolbar, a shortcut,
// large icons and a new external tool survive a restart in the profile; the
// Tools page's command is chosen through its browse button; a command
// dragged from the Commands list shows at once, opens the customize menu on
// a right click and stays on the toolbar after a restart; a button copied
// to the menu bar with Ctrl and a name given in the customize menu stay
// after a restart; the editor's context menu edited on the Menus page is
// what the editor shows, also after a restart.
#include "qmate_fixture.h"

#include <qmtest/mouse.h>
#include <qmtest/remotectl.h>
#include <qmtest/screenshot.h>

#include <qxresource.h>

namespace {

using e2e::QmateTest;

// The commands that open the sheet, and the page each opens on.
enum : UINT {
    kCmdExternalWizard = 34000,
    kCmdCreateToolbars = 34020,
    kCmdEditMenus = 34021,
    kCmdKeyboard = 34022,
    kCmdPresentation = 34023,
    kCmdCustomize = 35001,
};
// The Tools page's list of tools and its command edit.
enum {
    IDC_TOOLS_LIST = 1228,
    IDC_TOOLS_COMMAND = 1233,
    IDC_TOOLS_ARGS = 1234,
    IDC_TOOLS_FOLDER = 1235,
    QX_IDC_BROWSE_BUTTON = 9224, // the browse button beside an edit
    QX_IDC_EDIT_LIST_STRIP = 200, // the edit list's title strip
};

// A bar of the program by its title ("Toolbar", "Menu Bar"; in the frame's
// top dock).
HWND ProgramBar(HWND main, const char* title)
{
    for (HWND h : qmtest::DescendantsOfClass(main, "QXPToolBar", true))
        if (qmtest::WindowTextOf(h) == title)
            return h;
    return nullptr;
}

// What the screen shows of a window, with the pointer out of the way (no
// button lit up under it).
qmtest::Picture ShotOf(HWND hwnd)
{
    qmtest::ParkPointer();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return qmtest::CaptureWindow(hwnd);
}

// Two pictures of one size with the same pixels.
bool SamePicture(const qmtest::Picture& a, const qmtest::Picture& b)
{
    return a.width == b.width && a.height == b.height && a.rgb == b.rgb;
}

class CustomizeTest : public QmateTest {
protected:
    void TearDown() override
    {
        QmateTest::TearDown();
        // The clicks of a test leave the pointer on the program's windows.
        qmtest::ParkPointer();
    }
    HWND OpenSheet(UINT command)
    {
        PostCommand(command);
        HWND sheet = WaitDialog("Customize", 15000);
        EXPECT_TRUE(sheet) << "command " << command << " showed no sheet";
        return sheet;
    }
    // The sheet a command opens, moved below a toolbar, which it covers
    // where it opens.
    HWND OpenSheetBelow(UINT command, HWND toolbar)
    {
        HWND sheet = OpenSheet(command);
        RECT rcBar;
        if (sheet && GetWindowRect(toolbar, &rcBar))
            SetWindowPos(sheet, nullptr, rcBar.left + 40, rcBar.bottom + 60, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return sheet;
    }
    // After a restart a bar of the program looks as expected (once it has
    // painted).
    // A loaded machine can take many seconds from the start to the first
    // idle, which gives the buttons their states.
    bool RestartShows(const char* title, const qmtest::Picture& expected)
    {
        HWND main = Start();
        HWND bar = main ? ProgramBar(main, title) : nullptr;
        return bar && qmtest::WaitUntil([&] { return SamePicture(ShotOf(bar), expected); }, 30000);
    }
    static HWND Page(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }
    static int PageIndex(HWND sheet)
    {
        return static_cast<int>(SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(Page(sheet)), 0));
    }
    static void Press(HWND dialog, int id)
    {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    static bool CloseSheet(HWND sheet)
    {
        Press(sheet, IDCANCEL);
        return qmtest::WaitUntil([&] { return !IsWindow(sheet); }, 15000);
    }
    static int FindListText(HWND list, const char* text)
    {
        return static_cast<int>(
            SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)));
    }
    // The question box the program shows: its text; answered with nAnswer.
    std::string Answer(int nAnswer)
    {
        HWND box = WaitDialog("Quillmate", 10000);
        if (!box)
            return "<no message>";
        std::string text = DialogText(box);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(nAnswer, BN_CLICKED), 0);
        qmtest::WaitUntil([&] { return !IsWindow(box); }, 5000);
        return text;
    }
    // Every "Customize" dialog of the program.
    int SheetCount()
    {
        int n = 0;
        for (HWND h : qmtest::TopLevelWindowsOf(m_prog.Pid()))
            n += qmtest::WindowClassOf(h) == "#32770" && qmtest::WindowTextOf(h) == "Customize" && IsWindowVisible(h);
        return n;
    }
    // The BarID of every saved toolbar ("CommandBars-Bar0" ... as many as
    // "CommandBars-Summary" counts).
    static std::vector<DWORD> SavedBarIds()
    {
        std::vector<DWORD> ids;
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!qmtest::ReadRegistryValue(HKEY_CURRENT_USER, e2e::SettingsKey("CommandBars-Summary").c_str(), "Bars",
                                       type, data) ||
            data.size() != 4)
            return ids;
        DWORD nBars = *reinterpret_cast<const DWORD*>(data.data());
        for (DWORD i = 0; i < nBars; ++i) {
            std::string key = e2e::SettingsKey(("CommandBars-Bar" + std::to_string(i)).c_str());
            if (qmtest::ReadRegistryValue(HKEY_CURRENT_USER, key.c_str(), "BarID", type, data) && data.size() == 4)
                ids.push_back(*reinterpret_cast<const DWORD*>(data.data()));
        }
        return ids;
    }
};

TEST_F(CustomizeTest, EachCommandOpensTheSheetOnItsPage)
{
    ASSERT_TRUE(Start());
    const std::pair<UINT, int> cases[] = {{kCmdCustomize, 4}, {kCmdExternalWizard, 4}, {kCmdCreateToolbars, 0}, {kCmdKeyboard, 2}, {kCmdEditMenus, 3}, {kCmdPresentation, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE("command " + std::to_string(c.first));
        HWND sheet = OpenSheet(c.first);
        ASSERT_TRUE(sheet);
        EXPECT_EQ(PageIndex(sheet), c.second);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, IDOK)));
        EXPECT_EQ(qmtest::WindowTextOf(GetDlgItem(sheet, IDCANCEL)), "Close");
        // A second request while the sheet runs returns at once and shows
        // nothing (a second sheet would keep the message from returning).
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutA(Main(), WM_COMMAND, MAKEWPARAM(kCmdCustomize, 0), 0, SMTO_NORMAL, 10000,
                                      &result),
                  0);
        EXPECT_EQ(SheetCount(), 1);
        ASSERT_TRUE(CloseSheet(sheet));
    }
    ASSERT_TRUE(Close());
}

TEST_F(CustomizeTest, PagesLookRight)
{
    ASSERT_TRUE(Start());
    HWND sheet = OpenSheet(kCmdCreateToolbars);
    ASSERT_TRUE(sheet);
    const char* const names[] = {"toolbars", "commands", "keyboard", "menus", "tools", "options"};
    for (int i = 0; i < 6; ++i) {
        ShowPage(sheet, i);
        ASSERT_TRUE(qmtest::WaitUntil([&] { return PageIndex(sheet) == i; }, 5000));
        qmtest::SaveWindowShot(sheet, QM_BIN_DIR, std::string("qmate-customize-") + names[i] + ".png");
    }
    ASSERT_TRUE(CloseSheet(sheet));
    ASSERT_TRUE(Close());
}

TEST_F(CustomizeTest, ANewToolbarSurvivesARestartAndDeleteAsks)
{
    ASSERT_TRUE(Start());
    HWND sheet = OpenSheet(kCmdCreateToolbars);
    ASSERT_TRUE(sheet);
    Press(Page(sheet), QX_CID_TOOLBARS_NEW);
    HWND dlg = WaitDialog("New Toolbar");
    ASSERT_TRUE(dlg);
    EXPECT_EQ(qmtest::WindowTextOf(GetDlgItem(dlg, QX_CID_NEW_TOOLBAR_NAME)), "Custom 1");
    Press(dlg, IDOK);
    HWND list = GetDlgItem(Page(sheet), QX_CID_TOOLBARS_LIST);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return FindListText(list, "Custom 1") >= 0; }, 10000));
    ASSERT_TRUE(CloseSheet(sheet));
    ASSERT_TRUE(Close());
    // The program's "Toolbar" holds 59392; the new one takes the next id.
    std::vector<DWORD> ids = SavedBarIds();
    EXPECT_NE(std::find(ids.begin(), ids.end(), 59392u), ids.end());
    EXPECT_NE(std::find(ids.begin(), ids.end(), 59393u), ids.end());

    ASSERT_TRUE(Start());
    sheet = OpenSheet(kCmdCreateToolbars);
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(ChooseListText(Page(sheet), QX_CID_TOOLBARS_LIST, "Custom 1"));
    Press(Page(sheet), QX_CID_TOOLBARS_DELETE);
    EXPECT_NE(Answer(IDOK).find("Are you sure you want to delete the 'Custom 1' toolbar?"), std::string::npos);
    list = GetDlgItem(Page(sheet), QX_CID_TOOLBARS_LIST);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return FindListText(list, "Custom 1") < 0; }, 10000));
    ASSERT_TRUE(CloseSheet(sheet));
    ASSERT_TRUE(Close());
    ids = SavedBarIds();
    EXPECT_EQ(std::find(ids.begin(), ids.end(), 59393u), ids.end());
}

TEST_F(CustomizeTest, AShortcutIsStoredByteForByteAndWorksAfterARestart)
{
    ASSERT_TRUE(Start());
    HWND sheet = OpenSheet(kCmdKeyboard);
    ASSERT_TRUE(sheet);
    HWND page = Page(sheet);
    ASSERT_TRUE(ChooseComboText(page, QX_CID_KEYBOARD_CATEGORY, "Tools"));
    ASSERT_TRUE(ChooseListText(page, QX_CID_KEYBOARD_COMMANDS, "Customize..."));
    HWND edit = GetDlgItem(page, QX_CID_KEYBOARD_SHORTCUT);

    // A shortcut of another command asks first; No keeps the table.
    qmtest::ClickInWindow(edit, POINT{5, 5});
    ASSERT_TRUE(qmtest::WaitUntil([&] { return GetFocus() == edit || qmtest::WindowTextOf(edit).empty(); }, 5000));
    qmtest::SendChord({VK_CONTROL, 'N'});
    ASSERT_TRUE(qmtest::WaitUntil([&] { return qmtest::WindowTextOf(edit) == "Ctrl+N"; }, 5000));
    Press(page, QX_CID_KEYBOARD_ASSIGN);
    EXPECT_NE(Answer(IDNO).find("This shortcut is currently assigned."), std::string::npos);

    qmtest::ClickInWindow(edit, POINT{5, 5});
    qmtest::SendChord({VK_CONTROL, VK_SHIFT, VK_F11});
    ASSERT_TRUE(qmtest::WaitUntil([&] { return qmtest::WindowTextOf(edit) == "Ctrl+Shift+F11"; }, 5000));
    Press(page, QX_CID_KEYBOARD_ASSIGN);
    HWND keys = GetDlgItem(page, QX_CID_KEYBOARD_KEYS);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return FindListText(keys, "Ctrl+Shift+F11") >= 0; }, 5000));
    // Reset All asks; No keeps the new shortcut.
    Press(page, QX_CID_KEYBOARD_RESET_ALL);
    EXPECT_NE(Answer(IDNO).find("Are you sure you want to reset the key assignments?"), std::string::npos);
    EXPECT_GE(FindListText(keys, "Ctrl+Shift+F11"), 0);
    ASSERT_TRUE(CloseSheet(sheet));
    ASSERT_TRUE(Close());

    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(qmtest::ReadRegistryValue(HKEY_CURRENT_USER, e2e::SettingsKey("CommandBars").c_str(), "Accelerators",
                                          type, data));
    EXPECT_EQ(type, (DWORD)REG_BINARY);
    ASSERT_EQ(data.size() % 6, 0u);
    // Ctrl+Shift+F11 (virtual key) for 35001: 0D, padding, 7A 00, B9 88.
    bool found = false;
    int nCtrlN = 0;
    for (size_t i = 0; i < data.size(); i += 6) {
        found |= data[i] == 0x0D && data[i + 2] == 0x7A && data[i + 3] == 0 && data[i + 4] == 0xB9 && data[i + 5] == 0x88;
        nCtrlN += (data[i] & ~0x02) == 0x09 && data[i + 2] == 'N' && data[i + 3] == 0;
    }
    EXPECT_TRUE(found) << e2e::Hex(std::string(data.begin(), data.end()), 600);
    EXPECT_EQ(nCtrlN, 1) << "Ctrl+N keeps its one command";

    // After a restart the shortcut opens the sheet.
    HWND main = Start();
    ASSERT_TRUE(main);
    SetForegroundWindow(main);
    qmtest::WaitUntil([&] { return GetForegroundWindow() == main; }, 5000);
    qmtest::SendChord({VK_CONTROL, VK_SHIFT, VK_F11});
    HWND again = WaitDialog("Customize", 15000);
    ASSERT_TRUE(again) << "Ctrl+Shift+F11 did not open the sheet";
    EXPECT_EQ(PageIndex(again), 4);
    ASSERT_TRUE(CloseSheet(again));
    ASSERT_TRUE(Close());
}

TEST_F(CustomizeTest, LargeIconsAreStoredInBothSettings)
{
    // Small icons to start with: the check turns them large.
    ASSERT_TRUE(qmtest::WriteRegistryDword(HKEY_CURRENT_USER, e2e::SettingsKey("ViewSettings"), "LargeTBIcons", 0));
    ASSERT_TRUE(Start());
    HWND sheet = OpenSheet(kCmdPresentation);
    ASSERT_TRUE(sheet);
    HWND page = Page(sheet);
    HWND check = GetDlgItem(page, QX_CID_OPTIONS_LARGE_ICONS);
    ASSERT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    const bool wasLarge = false;
    SendMessageA(check, BM_CLICK, 0, 0);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return SendMessageA(check, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5000));
    ASSERT_TRUE(CloseSheet(sheet));
    ASSERT_TRUE(Close());
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(qmtest::ReadRegistryValue(HKEY_CURRENT_USER, e2e::SettingsKey("ViewSettings").c_str(), "LargeTBIcons",
                                          type, data));
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(data.data()), wasLarge ? 0u : 1u);
    ASSERT_TRUE(qmtest::ReadRegistryValue(HKEY_CURRENT_USER, e2e::SettingsKey("CommandBars-Options").c_str(),
                                          "LargeIcons", type, data));
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(data.data()), wasLarge ? 0u : 1u);
}

TEST_F(CustomizeTest, AToolAddedOnTheToolsPageIsStored)
{
    ASSERT_TRUE(Start());
    HWND sheet = OpenSheet(kCmdCustomize);
    ASSERT_TRUE(sheet);
    HWND page = Page(sheet);
    HWND list = GetDlgItem(page, IDC_TOOLS_LIST);
    ASSERT_TRUE(list);
    // The strip's New button: an in-place edit for the new entry's text.
    HWND strip = GetDlgItem(page, QX_IDC_EDIT_LIST_STRIP);
    ASSERT_TRUE(strip);
    PostMessageA(strip, WM_COMMAND, MAKEWPARAM(QX_IDS_EDITLIST_NEW, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(strip, QX_IDS_EDITLIST_NEW)));
    HWND itemEdit = nullptr;
    ASSERT_TRUE(qmtest::WaitUntil(
        [&] {
            itemEdit = qmtest::FirstDescendantOfClass(page, "Edit");
            for (HWND h : qmtest::DescendantsOfClass(page, "Edit", true))
                if (GetDlgCtrlID(h) == 101)
                    itemEdit = h;
            return itemEdit != nullptr && GetDlgCtrlID(itemEdit) == 101;
        },
        5000));
    SendMessageA(itemEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Notepad"));
    PostMessageA(itemEdit, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return FindListText(list, "Notepad") >= 0; }, 5000));
    ASSERT_TRUE(qmtest::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(page, IDC_TOOLS_COMMAND)) != FALSE; }, 5000));
    SendMessageA(GetDlgItem(page, IDC_TOOLS_COMMAND), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("notepad.exe"));
    ASSERT_TRUE(CloseSheet(sheet));
    ASSERT_TRUE(Close());

    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(qmtest::ReadRegistryValue(HKEY_CURRENT_USER, e2e::SettingsKey("TOOLS_CUSTOMIZATION").c_str(), "Tools",
                                          type, data));
    // Three tools now: the two of a first start and the new one, whose four
    // strings come last.
    std::string bytes(data.begin(), data.end());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 3);
    const std::string tail = std::string("\x07Notepad", 8) + std::string("\x00", 1) + "\x0bnotepad.exe" +
                             std::string("\x00", 1);
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail) << e2e::Hex(bytes, 200);
}

// The browse button beside an edit of the page: level with it, after it.
HWND BrowseButtonOf(HWND page, int editId)
{
    RECT rcEdit;
    GetWindowRect(GetDlgItem(page, editId), &rcEdit);
    for (HWND h = GetWindow(page, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        RECT rc;
        GetWindowRect(h, &rc);
        if (GetDlgCtrlID(h) == QX_IDC_BROWSE_BUTTON && rc.top == rcEdit.top && rc.left >= rcEdit.right)
            return h;
    }
    return nullptr;
}

TEST_F(CustomizeTest, TheToolsCommandIsChosenThroughItsBrowseButton)
{
    ASSERT_TRUE(Start());
    HWND sheet = OpenSheet(kCmdCustomize);
    ASSERT_TRUE(sheet);
    HWND page = Page(sheet);
    // The first tool of a first start is selected; each edit has its button.
    for (int id : {IDC_TOOLS_COMMAND, IDC_TOOLS_ARGS, IDC_TOOLS_FOLDER}) {
        HWND button = BrowseButtonOf(page, id);
        ASSERT_TRUE(button) << "edit " << id;
        EXPECT_TRUE(IsWindowVisible(button) && IsWindowEnabled(button)) << "edit " << id;
    }
    HWND command = GetDlgItem(page, IDC_TOOLS_COMMAND);
    ASSERT_EQ(qmtest::WindowTextOf(command), "cmd.exe");

    qmtest::ClickInWindow(BrowseButtonOf(page, IDC_TOOLS_COMMAND), POINT{4, 4});
    HWND open = WaitDialog("Open", 15000);
    ASSERT_TRUE(open) << "the button opened no file dialog";
    // The file name box of the dialog takes the program's path.
    HWND name = nullptr;
    for (HWND h : qmtest::DescendantsOfClass(open, "Edit", true))
        if (IsWindowVisible(h))
            name = h;
    ASSERT_TRUE(name);
    const char kPath[] = "C:\\windows\\notepad.exe";
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kPath));
    PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(open); }, 10000));
    EXPECT_TRUE(qmtest::WaitUntil(
        [&] {
            std::string text = qmtest::WindowTextOf(command);
            std::transform(text.begin(), text.end(), text.begin(), ::tolower);
            return text == "c:\\windows\\notepad.exe";
        },
        10000))
        << qmtest::WindowTextOf(command);
    ASSERT_TRUE(CloseSheet(sheet));
    ASSERT_TRUE(Close());
}

// The customize context menu a right click at a point of the screen opens
// (null when none opens).
HWND OpenContextMenu(DWORD pid, POINT pt)
{
    qmtest::RightClickAt(pt);
    HWND menu = nullptr;
    qmtest::WaitUntil(
        [&] {
            for (HWND h : qmtest::TopLevelWindowsOf(pid))
                if (qmtest::WindowClassOf(h) == "QXPPopupBar")
                    menu = h;
            return menu != nullptr;
        },
        10000);
    return menu;
}

// The toolbar runs the width of the frame and wraps; what it holds shows in
// its picture: a dropped command changes it, and after a restart the
// toolbar looks as it did when the sheet closed.
TEST_F(CustomizeTest, ACommandDroppedOnTheToolbarStaysAfterARestart)
{
    HWND main = Start();
    ASSERT_TRUE(main);
    HWND toolbar = ProgramBar(main, "Toolbar");
    ASSERT_TRUE(toolbar);
    const qmtest::Picture before = ShotOf(toolbar);
    HWND sheet = OpenSheetBelow(kCmdCreateToolbars, toolbar);
    ASSERT_TRUE(sheet);
    RECT rcBar;
    GetWindowRect(toolbar, &rcBar);
    HWND page = ShowPage(sheet, 1);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return PageIndex(sheet) == 1; }, 5000));
    HWND commands = GetDlgItem(page, QX_CID_COMMANDS_LIST);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return SendMessageA(commands, LB_GETCOUNT, 0, 0) > 1; }, 5000));

    // "Open..." (the second command of File) goes after the first row.
    RECT rcItem = qmtest::RemoteListItemRect(commands, 1);
    POINT from = {(rcItem.left + rcItem.right) / 2, (rcItem.top + rcItem.bottom) / 2};
    ClientToScreen(commands, &from);
    POINT end = {rcBar.right - 3, rcBar.top + 12};
    qmtest::DragFromTo(from, end, [](DWORD ms) { Sleep(ms); });
    // The new button shows at once, in the toolbar's second row, while the
    // sheet still runs: the screen as the toolbar left it, not redrawn.
    ASSERT_TRUE(qmtest::WaitUntil(
        [&] {
            qmtest::ParkPointer();
            return !SamePicture(qmtest::CaptureWindow(toolbar), before);
        },
        10000))
        << "the toolbar shows no dropped command";


    // A right click on the dropped button, the first of the second row,
    // opens the customize menu: the frame takes clicks while the sheet runs.
    GetWindowRect(toolbar, &rcBar);
    POINT dropped = {rcBar.left + 22, rcBar.top + (rcBar.bottom - rcBar.top) * 3 / 4};
    HWND menu = OpenContextMenu(m_prog.Pid(), dropped);
    ASSERT_TRUE(menu) << "no context menu on the toolbar";
    qmtest::SaveWindowShot(menu, QM_BIN_DIR, "qmate-customize-context-menu.png");
    qmtest::SendChord({VK_ESCAPE});
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));
    ASSERT_TRUE(CloseSheet(sheet));
    const qmtest::Picture closed = ShotOf(toolbar);
    qmtest::SaveWindowShot(toolbar, QM_BIN_DIR, "qmate-customize-dropped.png");
    ASSERT_TRUE(Close());

    EXPECT_TRUE(RestartShows("Toolbar", closed)) << "the toolbar lost its new buttons in the restart";
    EXPECT_FALSE(SamePicture(closed, before));
    ASSERT_TRUE(Close());
}

// The first button of a toolbar, in screen coordinates.
POINT FirstButtonOf(HWND toolbar)
{
    RECT rc;
    GetWindowRect(toolbar, &rc);
    return POINT{rc.left + 22, rc.top + 15};
}

// A top-level window of the program of that class and title, visible.
HWND TopWindowTitled(DWORD pid, const std::string& cls, const std::string& title)
{
    for (HWND h : qmtest::TopLevelWindowsOf(pid))
        if (qmtest::WindowClassOf(h) == cls && qmtest::WindowTextOf(h) == title)
            return h;
    return nullptr;
}

// The customize menu of a right click at a point, then its Name box given
// a new text and Enter: the control under the point takes the name.
::testing::AssertionResult RenameAt(DWORD pid, POINT pt, const char* name)
{
    HWND menu = OpenContextMenu(pid, pt);
    if (!menu)
        return ::testing::AssertionFailure() << "no customize menu";
    HWND box = nullptr;
    bool found = qmtest::WaitUntil(
        [&] {
            for (HWND h : qmtest::DescendantsOfClass(menu, "", true))
                box = h;
            return box != nullptr;
        },
        5000);
    if (!found)
        return ::testing::AssertionFailure() << "no name box";
    // A click in the box, a new text and Enter. A click that comes while
    // the menu is still taking over the mouse may be lost: click again.
    auto focus = [&] {
        GUITHREADINFO gti = {sizeof(gti)};
        return GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &gti) ? gti.hwndFocus : nullptr;
    };
    bool focused = false;
    for (int attempt = 0; attempt < 3 && !focused; ++attempt) {
        qmtest::ClickInWindow(box, POINT{5, 5});
        focused = qmtest::WaitUntil([&] { return focus() == box; }, 2000);
    }
    if (!focused)
        return ::testing::AssertionFailure() << "the name box took no focus: " << qmtest::WindowClassOf(box) << " focus "
                                             << qmtest::WindowClassOf(focus()) << " " << qmtest::WindowTextOf(focus());
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
    qmtest::SendChord({VK_RETURN});
    if (!qmtest::WaitUntil([&] { return !IsWindowVisible(menu); }, 5000))
        return ::testing::AssertionFailure() << "the menu stayed";
    return ::testing::AssertionSuccess();
}

} // namespace

namespace {

using qmtest::RemoteScintilla;

// A toolbar button dragged with Ctrl onto the menu bar is copied: the
// toolbar keeps it and the menu bar shows it too, also after a restart.
TEST_F(CustomizeTest, ACtrlDragCopiesAButtonToAnotherBarAndBothStayAfterARestart)
{
    HWND main = Start();
    ASSERT_TRUE(main);
    HWND toolbar = ProgramBar(main, "Toolbar");
    HWND menubar = ProgramBar(main, "Menu Bar");
    ASSERT_TRUE(toolbar && menubar);
    const qmtest::Picture toolBefore = ShotOf(toolbar);
    const qmtest::Picture menuBefore = ShotOf(menubar);
    HWND sheet = OpenSheetBelow(kCmdCreateToolbars, toolbar);
    ASSERT_TRUE(sheet);
    RECT rcMenu;
    GetWindowRect(menubar, &rcMenu);

    // Down on the first button and over to the menu bar's free end; then
    // Ctrl (after the moves: a pointer entering another window takes the
    // display's keyboard state again), which the drag shows with its copy
    // cursor, and up where the pointer is.
    const POINT from = FirstButtonOf(toolbar);
    const POINT to = {rcMenu.right - 40, (rcMenu.top + rcMenu.bottom) / 2};
    auto cursor = [] {
        CURSORINFO info = {sizeof(info)};
        return GetCursorInfo(&info) ? info.hCursor : nullptr;
    };
    qmtest::MouseEventAt(from, MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= 12; ++i) {
        Sleep(30);
        qmtest::MouseEventAt(POINT{from.x + (to.x - from.x) * i / 12, from.y + (to.y - from.y) * i / 12},
                             MOUSEEVENTF_MOVE);
    }
    // A loaded program may still be working through the moves: take the
    // drag's cursor once it has stayed the same for a while, so the change
    // looked for below is the one Ctrl makes.
    HCURSOR moving = cursor();
    qmtest::WaitUntil(
        [&] {
            Sleep(300);
            const HCURSOR now = cursor();
            const bool bSettled = now == moving;
            moving = now;
            return bSettled;
        },
        10000);
    INPUT input = qmtest::KeyInput(VK_CONTROL, false);
    SendInput(1, &input, sizeof(INPUT));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return cursor() != moving; }, 5000)) << "no copy cursor";
    input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(INPUT));
    qmtest::WaitUntil([&] { return !SamePicture(ShotOf(menubar), menuBefore); }, 10000);
    input = qmtest::KeyInput(VK_CONTROL, true);
    SendInput(1, &input, sizeof(INPUT));
    ASSERT_TRUE(CloseSheet(sheet));

    const qmtest::Picture menuCopied = ShotOf(menubar);
    EXPECT_FALSE(SamePicture(menuCopied, menuBefore)) << "the menu bar shows no copy";
    EXPECT_TRUE(SamePicture(ShotOf(toolbar), toolBefore)) << "the toolbar lost its button";
    qmtest::SaveWindowShot(menubar, QM_BIN_DIR, "qmate-customize-copied.png");
    ASSERT_TRUE(Close());

    if (!RestartShows("Menu Bar", menuCopied)) {
        ADD_FAILURE() << "the menu bar lost the copy in the restart";
        qmtest::SaveWindowShot(ProgramBar(Main(), "Menu Bar"), QM_BIN_DIR, "qmate-customize-copied-restarted.png");
    }
    toolbar = ProgramBar(Main(), "Toolbar");
    ASSERT_TRUE(toolbar);
    // The buttons take their states at the program's first idle: wait for it.
    EXPECT_TRUE(qmtest::WaitUntil([&] { return SamePicture(ShotOf(toolbar), toolBefore); }, 30000))
        << "the toolbar lost its button in the restart";
    ASSERT_TRUE(Close());
}

// A button renamed through the Name box of the customize menu, shown with
// its caption ("Image and Text"), keeps the name after a restart.
TEST_F(CustomizeTest, ANameGivenInTheCustomizeMenuSurvivesARestart)
{
    HWND main = Start();
    ASSERT_TRUE(main);
    HWND toolbar = ProgramBar(main, "Toolbar");
    ASSERT_TRUE(toolbar);
    HWND sheet = OpenSheetBelow(kCmdCreateToolbars, toolbar);
    ASSERT_TRUE(sheet);
    const POINT button = FirstButtonOf(toolbar);
    const qmtest::Picture iconOnly = ShotOf(toolbar);
    HWND menu = OpenContextMenu(m_prog.Pid(), button);
    ASSERT_TRUE(menu);
    qmtest::SendChord({'A'}); // Image &and Text
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !SamePicture(ShotOf(toolbar), iconOnly); }, 10000))
        << "the button shows no caption";
    const qmtest::Picture captioned = ShotOf(toolbar);
    // Beside the first click: two at one place would make a double click.
    ASSERT_TRUE(RenameAt(m_prog.Pid(), POINT{button.x + 10, button.y}, "Renamed"));
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !SamePicture(ShotOf(toolbar), captioned); }, 10000))
        << "the caption did not change";
    ASSERT_TRUE(CloseSheet(sheet));
    const qmtest::Picture renamed = ShotOf(toolbar);
    qmtest::SaveWindowShot(toolbar, QM_BIN_DIR, "qmate-customize-renamed.png");
    ASSERT_TRUE(Close());

    EXPECT_TRUE(RestartShows("Toolbar", renamed)) << "the name did not survive the restart";
    ASSERT_TRUE(Close());
}


// The editor's context menu as the user edits it on the Menus page: shown
// in a floating bar beside the sheet, its first item renamed through the
// customize menu and its last one dropped off the bars. The editor then
// pops up the edited menu, and does so after a restart.
TEST_F(CustomizeTest, AContextMenuEditedOnTheMenusPageIsWhatTheEditorShows)
{
    const std::string path = WriteFile("context.txt", "abc");
    auto startOnFile = [&] {
        if (!Start("\"" + path + "\""))
            return RemoteScintilla();
        return EditorHolding("abc");
    };
    // The editor's menu after an "x" typed before "abc": its window, or null.
    auto openEditorMenu = [&](const RemoteScintilla& ed) -> HWND {
        if (!FocusEditor(ed) || ed.Text() != "abc")
            return nullptr;
        qmtest::TypeText(L"x");
        if (!qmtest::WaitUntil([&] { return ed.Text() == "xabc"; }, 5000))
            return nullptr;
        PostMessageA(ed.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(60, 8));
        HWND menu = nullptr;
        qmtest::WaitUntil([&] { return (menu = TopWindowTitled(m_prog.Pid(), "QXPPopupBar", "Editor")) != nullptr; },
                          10000);
        return menu;
    };
    auto heightOf = [](HWND h) {
        RECT rc;
        GetWindowRect(h, &rc);
        return rc.bottom - rc.top;
    };

    RemoteScintilla ed = startOnFile();
    E2E_REQUIRE_EDITOR(ed);
    HWND menu = openEditorMenu(ed);
    ASSERT_TRUE(menu) << "the editor showed no command-bar menu titled Editor";
    const int nProgramHeight = heightOf(menu);
    // Its Undo takes the "x" back.
    Sleep(300);
    qmtest::SendChord({'U'});
    ASSERT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "abc"; }, 5000)) << "[" << ed.Text() << "]";

    HWND sheet = OpenSheet(kCmdEditMenus);
    ASSERT_TRUE(sheet);
    HWND page = Page(sheet);
    // The application menus: the default one, then the text document's,
    // named and described by its document template ("Untitled", the name
    // new text documents get, and "Text Document"); it is the one shown.
    HWND show = GetDlgItem(page, QX_CID_MENUS_SHOW);
    std::vector<std::string> menus;
    for (LRESULT i = 0; i < SendMessageA(show, CB_GETCOUNT, 0, 0); ++i) {
        // Another process's list: its text comes over as UTF-16.
        wchar_t text[256] = {};
        SendMessageW(show, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        menus.push_back(std::string(text, text + wcslen(text)));
    }
    EXPECT_EQ((std::vector<std::string>{"Default menu", "Untitled"}), menus);
    EXPECT_EQ(1, SendMessageA(show, CB_GETCURSEL, 0, 0));
    EXPECT_EQ("Text Document", qmtest::WindowTextOf(GetDlgItem(page, QX_CID_MENUS_DESCRIPTION)));
    // The sheet opens at the screen's left edge: the bar stands beside its
    // right edge then.
    RECT rcSheet, rcBar;
    GetWindowRect(sheet, &rcSheet);
    ASSERT_TRUE(ChooseComboText(page, QX_CID_MENUS_CONTEXT, "Editor"));
    HWND bar = nullptr;
    ASSERT_TRUE(qmtest::WaitUntil([&] { return (bar = TopWindowTitled(m_prog.Pid(), "QXPToolBar", "Editor")) != nullptr; },
                                  10000))
        << "no floating bar shows the editor's menu";
    GetWindowRect(bar, &rcBar);
    EXPECT_EQ(rcBar.top, rcSheet.top);
    EXPECT_TRUE(rcBar.right == rcSheet.left || rcBar.left == rcSheet.right)
        << rcBar.left << ".." << rcBar.right << " beside " << rcSheet.left << ".." << rcSheet.right;
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, QX_CID_MENUS_CONTEXT_RESET)));
    qmtest::SaveWindowShot(bar, QM_BIN_DIR, "qmate-customize-context-bar.png");

    // Undo, the first item, becomes "&Go back".
    const qmtest::Picture shown = ShotOf(bar);
    ASSERT_TRUE(RenameAt(m_prog.Pid(), POINT{rcBar.left + 40, rcBar.top + 31}, "&Go back"));
    ASSERT_TRUE(IsWindowVisible(sheet) && IsWindowVisible(bar)) << "the sheet or the bar closed";
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !SamePicture(ShotOf(bar), shown); }, 5000)) << "the name did not change";
    qmtest::SaveWindowShot(bar, QM_BIN_DIR, "qmate-customize-context-bar-renamed.png");
    // The last item goes: dropped on the document, off every bar.
    RECT rcEditor;
    GetWindowRect(ed.Handle(), &rcEditor);
    const int nBarHeight = heightOf(bar);
    qmtest::DragFromTo(POINT{rcBar.left + 40, rcBar.bottom - 36},
                       POINT{(rcEditor.left + rcEditor.right) / 2, rcEditor.bottom - 20}, [](DWORD ms) { Sleep(ms); });
    ASSERT_TRUE(qmtest::WaitUntil([&] { return IsWindowVisible(bar) && heightOf(bar) < nBarHeight; }, 5000))
        << "the last item stayed";
    qmtest::SaveWindowShot(bar, QM_BIN_DIR, "qmate-customize-context-bar-edited.png");
    ASSERT_TRUE(CloseSheet(sheet));

    // The editor shows the edited menu: one item less, and G undoes.
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run == 0 ? "before the restart" : "after the restart");
        if (run == 1) {
            ASSERT_TRUE(CloseDiscarding());
            ed = startOnFile();
            E2E_REQUIRE_EDITOR(ed);
        }
        menu = openEditorMenu(ed);
        ASSERT_TRUE(menu);
        EXPECT_LT(heightOf(menu), nProgramHeight);
        Sleep(300);
        qmtest::SendChord({'G'});
        EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "abc"; }, 5000)) << "[" << ed.Text() << "]";
    }
    ASSERT_TRUE(CloseDiscarding());
}

} // namespace
