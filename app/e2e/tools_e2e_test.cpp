// The external tools and the tool window of the running editor (its output
// and the output's context menu), and a picture of the main window with a C++
// file open in the default theme.
#include "qmate_fixture.h"

#include <qmtest/screenshot.h>

#include <png.h>

#include <cstdio>

namespace {

using e2e::QmateTest;
using qmtest::RemoteScintilla;

// The stored tools list: a count, then per tool menu text, arguments,
// command and start folder, each with a one-byte length (short strings).
// A string beyond ASCII is stored in the wide form: the marker FF FE FF,
// then the length in UTF-16 units and the units.
struct Tool {
    std::string menu, args, command, folder;
};

std::string ToolsBytes(const std::vector<Tool>& tools)
{
    std::string out;
    out += static_cast<char>(tools.size() & 0xFF);
    out += static_cast<char>((tools.size() >> 8) & 0xFF);
    for (const Tool& t : tools)
        for (const std::string* s : {&t.menu, &t.args, &t.command, &t.folder}) {
            if (std::all_of(s->begin(), s->end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
                out += static_cast<char>(s->size());
                out += *s;
                continue;
            }
            std::wstring w(s->size(), L'\0');
            w.resize(static_cast<size_t>(
                MultiByteToWideChar(CP_UTF8, 0, s->data(), static_cast<int>(s->size()), &w[0], static_cast<int>(w.size()))));
            out += "\xFF\xFE\xFF";
            out += static_cast<char>(w.size());
            for (wchar_t ch : w) {
                out += static_cast<char>(ch & 0xFF);
                out += static_cast<char>(ch >> 8);
            }
        }
    return out;
}

const char kToolsKey[] = QM_REGKEY_APP "\\TOOLS_CUSTOMIZATION";

bool WriteTools(const std::vector<Tool>& tools)
{
    std::string bytes = ToolsBytes(tools);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kToolsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, "Tools", 0, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

// A descendant of the main frame whose text contains what.
HWND WindowShowing(HWND main, const std::string& what)
{
    for (HWND h : qmtest::DescendantsOfClass(main, "", true))
        if (qmtest::WindowTextOf(h).find(what) != std::string::npos)
            return h;
    return nullptr;
}

TEST_F(QmateTest, FirstStartStoresTheTwoDefaultTools)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Close());
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(qmtest::ReadRegistryValue(HKEY_CURRENT_USER, kToolsKey, "Tools", type, data))
        << "Qmate.exe stored no tools list on its first start";
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    std::string expected = ToolsBytes({{"Command Prompt", "", "cmd.exe", ""}, {"Explorer", "", "explorer.exe", ""}});
    EXPECT_EQ(e2e::Hex(std::string(data.begin(), data.end()), 200), e2e::Hex(expected, 200));
}

TEST_F(QmateTest, ToolWindowShowsAConsoleProgramsOutput)
{
    // A first start and close stores the default tools list.
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Close());
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(qmtest::ReadRegistryValue(HKEY_CURRENT_USER, kToolsKey, "Tools", type, data))
        << "Qmate.exe stored no tools list on its first start";

    // One tool, first in the Tools menu, with the mnemonic Q: a console
    // program that prints a line and the name of the active document.
    const std::string marker = "qm-tool-output-4711";
    ASSERT_TRUE(WriteTools({{"&Qm echo", "/c echo " + marker + " $FileName", "cmd.exe", ""}}));
    std::string doc = WriteFile("active.txt", "active\r\n");
    HWND main = Start("\"" + doc + "\"");
    ASSERT_TRUE(main);
    E2E_REQUIRE_EDITOR(EditorHolding("active\r\n"));
    // Tools menu from the keyboard (Alt, then its mnemonic), then the tool
    // by its mnemonic.
    HWND popup = OpenMenuFromKeyboard('T');
    ASSERT_TRUE(popup) << "Alt, T opened no Tools menu";
    qmtest::SendChord({'Q'});
    HWND out = nullptr;
    // The menu closes when the tool starts.
    qmtest::WaitUntil([&] { return !IsWindow(popup) || !IsWindowVisible(popup); }, 3000);
    if (!IsWindow(popup) || !IsWindowVisible(popup))
        qmtest::WaitUntil([&] { return (out = WindowShowing(main, marker)) != nullptr; }, 15000, 100);
    if (!out && IsWindow(popup) && IsWindowVisible(popup)) {
        qmtest::SendChord({VK_ESCAPE});
        qmtest::SendChord({VK_ESCAPE});
        FAIL() << "the Tools menu lists the tool but does not run it (the menu stays open on its mnemonic)";
    }
    ASSERT_TRUE(out) << "no window of the main frame shows the tool's output";
    std::string shown = qmtest::WindowTextOf(out);
    EXPECT_NE(shown.find(marker + " active.txt"), std::string::npos) << shown;

    // A right click in the output opens the command bars' popup with the
    // edit menu's pictures, not a system menu.
    ASSERT_TRUE(qmtest::BringToForeground(main));
    RECT rcOut;
    ASSERT_TRUE(GetWindowRect(out, &rcOut));
    qmtest::RightClickAt({(rcOut.left + rcOut.right) / 2, (rcOut.top + rcOut.bottom) / 2});
    HWND menu = nullptr;
    EXPECT_TRUE(qmtest::WaitUntil([&] { return (menu = m_prog.FindOtherWindow("QXPPopupBar")) != nullptr; }, 5000))
        << "no command-bar context menu on the tool output";
    EXPECT_EQ(nullptr, m_prog.FindOtherWindow("#32768")) << "a system menu opened";
    if (menu) {
        EXPECT_TRUE(qmtest::SaveWindowShot(menu, QM_BIN_DIR, "tool-output-menu.png"));
        qmtest::SendChord({VK_ESCAPE});
        qmtest::WaitUntil([&] { return !IsWindowVisible(menu); }, 3000);
    }
    ASSERT_TRUE(Close());
}

// A tool gets the active document's path and starts in its folder, both
// named in any language: the command copies the document by its path into
// the folder it runs in.
TEST_F(QmateTest, ToolTakesAPathAndAStartFolderNamedInAnyLanguage)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Close());
    const std::string folder = File("\xE6\x97\xA5\xE6\x9C\xAC \xCE\x95\xCE\xBB\xCE\xBB \xF0\x9F\x98\x80");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    const std::string doc = folder + "\\\xCE\xB1\xCE\xB2\xCE\xB3 \xE8\xAA\x9E.txt";
    ASSERT_TRUE(qmtest::WriteWholeFile(doc, "named\r\n"));
    ASSERT_TRUE(WriteTools({{"&Qm copy", "/c copy \"$FilePath\" copied.txt", "cmd.exe", folder}}));
    ASSERT_TRUE(Start("\"" + doc + "\""));
    E2E_REQUIRE_EDITOR(EditorHolding("named\r\n"));
    HWND popup = OpenMenuFromKeyboard('T');
    ASSERT_TRUE(popup) << "Alt, T opened no Tools menu";
    qmtest::SendChord({'Q'});
    const std::string copied = folder + "\\copied.txt";
    EXPECT_TRUE(qmtest::WaitUntil([&] { return qmtest::ReadWholeFile(copied) == "named\r\n"; }, 15000, 100))
        << "no copy of the document in the tool's folder: " << copied;
    ASSERT_TRUE(Close());
}

// ---------------------------------------------------------------------------

bool SavePng(const qmtest::Picture& pic, const std::string& path)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(pic.width);
    image.height = static_cast<png_uint_32>(pic.height);
    image.format = PNG_FORMAT_RGB;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    int ok = png_image_write_to_stdio(&image, f, 0, pic.rgb.data(), pic.width * 3, nullptr);
    fclose(f);
    return ok != 0;
}

TEST_F(QmateTest, ScreenshotOfTheMainWindowWithACppFileInTheDefaultTheme)
{
    const std::string text =
        "// Sum of the squares below a limit.\r\n"
        "#include <cstdio>\r\n"
        "\r\n"
        "static long SumOfSquares(int limit)\r\n"
        "{\r\n"
        "    long total = 0;\r\n"
        "    for (int i = 1; i < limit; ++i)\r\n"
        "        total += long(i) * i; /* no overflow below 1000 */\r\n"
        "    return total;\r\n"
        "}\r\n"
        "\r\n"
        "int main()\r\n"
        "{\r\n"
        "    printf(\"%ld\\n\", SumOfSquares(100));\r\n"
        "    return 0;\r\n"
        "}\r\n";
    std::string path = WriteFile("squares.cpp", text);
    HWND main = Start("\"" + path + "\"");
    ASSERT_TRUE(main);
    RemoteScintilla ed = EditorHolding(text);
    // The picture is worth keeping even without an editing window.
    qmtest::BringToForeground(main);
    ShowWindow(main, SW_SHOWNORMAL);
    SetWindowPos(main, HWND_TOP, 0, 0, 1000, 720, SWP_SHOWWINDOW);
    Sleep(1500);
    qmtest::Picture pic = qmtest::CaptureWindow(main);
    ASSERT_GT(pic.width, 0);
    std::string shot = e2e::Slashes(QM_BIN_DIR "/../qmate-cpp-screenshot.png");
    ASSERT_TRUE(SavePng(pic, shot)) << shot;
    printf("screenshot: %s\n", shot.c_str());
    E2E_REQUIRE_EDITOR(ed);
    // The text is painted in several colours (keywords, comments, text).
    qmtest::Picture edPic = qmtest::CaptureWindow(ed.Handle());
    EXPECT_GE(qmtest::DistinctColours(edPic), 4u);
    ASSERT_TRUE(Close());
}

} // namespace
