// The menu bar of the running editor and its status line: the hot menu
// item's prompt shows in the status bar while the menu is open, and the
// idle text comes back once it closes.
#include "qmate_fixture.h"

namespace {

using e2e::QmateTest;

// Command ids of two File menu items.
enum : UINT {
    kCmdFileOpen = 0xE101,
    kCmdFileOpenHex = 32790,
};

// The status-line prompt of a command as the program's string table holds
// it: the part before the first line break.
std::string PromptOf(const std::string& exe, UINT id)
{
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return std::string();
    char text[512] = "";
    LoadStringA(module, id, text, sizeof(text));
    FreeLibrary(module);
    std::string prompt = text;
    size_t nl = prompt.find('\n');
    return nl == std::string::npos ? prompt : prompt.substr(0, nl);
}

void PressKey(WORD vk)
{
    qmtest::SendChord({vk});
}

TEST_F(QmateTest, HotMenuItemPromptShowsInTheStatusBarUntilTheMenuCloses)
{
    std::string openPrompt = PromptOf(m_exe, kCmdFileOpen);
    std::string hexPrompt = PromptOf(m_exe, kCmdFileOpenHex);
    ASSERT_FALSE(openPrompt.empty());
    ASSERT_FALSE(hexPrompt.empty());
    ASSERT_NE(openPrompt, hexPrompt);

    HWND main = Start();
    ASSERT_TRUE(main);
    HWND status = StatusBar();
    ASSERT_TRUE(status) << "the main frame has no status bar";
    ASSERT_TRUE(qmtest::BringToForeground(main));
    // The pointer rests over the document area, not over a button whose
    // description would fill the status line.
    RECT rc = {};
    HWND client = qmtest::FirstDescendantOfClass(main, "MDIClient");
    GetWindowRect(client ? client : main, &rc);
    SetCursorPos((rc.left + rc.right) / 2, rc.bottom - 10);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return qmtest::WindowTextOf(status) == "Ready"; }, 10000))
        << "status line before the menu: [" << qmtest::WindowTextOf(status) << "]";

    // Alt+F opens the File menu; Down walks its items until Open is hot.
    PostMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    std::string text;
    bool reached = false;
    for (int i = 0; i < 5 && !reached; ++i) {
        PressKey(VK_DOWN);
        reached = qmtest::WaitUntil([&] { return (text = qmtest::WindowTextOf(status)) == openPrompt; }, 1500);
    }
    ASSERT_TRUE(reached) << "the status line shows [" << text << "], not [" << openPrompt << "]";

    // The next item brings its own prompt.
    PressKey(VK_DOWN);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return (text = qmtest::WindowTextOf(status)) == hexPrompt; }, 3000))
        << "the status line shows [" << text << "], not [" << hexPrompt << "]";

    // Esc closes the menu, then leaves the menu bar: the idle text is back.
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return (text = qmtest::WindowTextOf(status)) == "Ready"; }, 5000))
        << "the status line shows [" << text << "] after the menu closed";
    EXPECT_TRUE(Close());
}

} // namespace
