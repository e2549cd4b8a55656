// Real "CompareWin" windows from the built pairview.dll, driven with the
// library's messages and ordinary mouse, keyboard and scroll messages; the
// state is read back from the clipboard, the scroll bars, the caret and
// captured pictures of the window.
#include "comparewin.h"
#include "test_files.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>
#include <qmtest/pump.h>

using pairview_test::Exists;
using pairview_test::ReadBytes;
using pairview_test::WriteBytes;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFirstFile = RGB(248, 133, 118);
constexpr COLORREF kSecondFile = RGB(247, 243, 121);
constexpr int kClientWidth = 480;
constexpr int kClientHeight = 260;

void Pump(DWORD ms)
{
    qmtest::PumpFor(ms);
}

std::string ClipboardText()
{
    if (!OpenClipboard(nullptr))
        return "<clipboard busy>";
    std::string text = "<no text>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            text.assign(p, strnlen(p, GlobalSize(h)));
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

void SetClipboardText(const std::string& text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(h), text.c_str(), text.size() + 1);
    GlobalUnlock(h);
    SetClipboardData(CF_TEXT, h);
    CloseClipboard();
}

// A picture of a window's client area, read back pixel by pixel.
struct Picture {
    int width = 0, height = 0;
    std::vector<DWORD> pixels; // top-down, 0x00RRGGBB

    COLORREF at(int x, int y) const
    {
        DWORD p = pixels[static_cast<std::size_t>(y) * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

    bool saveBmp(const std::string& path) const
    {
        BITMAPINFOHEADER bih = {};
        bih.biSize = sizeof bih;
        bih.biWidth = width;
        bih.biHeight = -height;
        bih.biPlanes = 1;
        bih.biBitCount = 32;
        bih.biCompression = BI_RGB;
        BITMAPFILEHEADER bfh = {};
        bfh.bfType = 0x4D42;
        bfh.bfOffBits = sizeof bfh + sizeof bih;
        bfh.bfSize = static_cast<DWORD>(bfh.bfOffBits + pixels.size() * 4);
        std::string bytes(reinterpret_cast<const char*>(&bfh), sizeof bfh);
        bytes.append(reinterpret_cast<const char*>(&bih), sizeof bih);
        bytes.append(reinterpret_cast<const char*>(pixels.data()), pixels.size() * 4);
        return WriteBytes(path, bytes);
    }
};

Picture Capture(HWND hwnd)
{
    Picture pic;
    RECT rc;
    GetClientRect(hwnd, &rc);
    pic.width = rc.right;
    pic.height = rc.bottom;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = pic.width;
    bi.bmiHeader.biHeight = -pic.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, dib);
    RECT all = {0, 0, pic.width, pic.height};
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    PrintWindow(hwnd, mem, PW_CLIENTONLY);
    GdiFlush();
    pic.pixels.assign(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + pic.width * pic.height);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
    return pic;
}

// Where captured pictures are kept for people to look at.
std::string ArtifactPath(const std::string& name)
{
    std::string dir = std::string(QM_BIN_DIR) + "/../tests/artifacts";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "/" + name;
}

class CompareWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        module_ = LoadLibraryA(QM_BIN_DIR "/pairview.dll");
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PairviewTestHost";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        RegisterClassA(&wc);
        // The view's cell size comes from the same font.
        HFONT font = CreateFontA(12, 0, 0, 0, 0, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FIXED_PITCH, "Courier");
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICA tm = {};
        GetTextMetricsA(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        DeleteObject(font);
        charWidth_ = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 8;
        lineHeight_ = tm.tmHeight + 1;
    }

    void SetUp() override
    {
        ASSERT_NE(module_, nullptr) << "pairview.dll did not load";
        RECT rc = {0, 0, kClientWidth, kClientHeight};
        AdjustWindowRect(&rc, WS_OVERLAPPEDWINDOW, FALSE);
        host_ = CreateWindowA("PairviewTestHost", "pairview test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                              rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
        ASSERT_NE(host_, nullptr);
        view_ = CreateWindowA(COMPAREWIN_CLASSNAME, "CompareWin", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0,
                              0, kClientWidth, kClientHeight, host_, reinterpret_cast<HMENU>(5005),
                              GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(view_, nullptr);
        SetForegroundWindow(host_);
        Pump(0);
    }

    void TearDown() override
    {
        if (host_)
            DestroyWindow(host_);
        Pump(0);
    }

    LRESULT compare(const std::string& first, const std::string& second, const std::string& result)
    {
        CompareRequest request = {first.c_str(), second.c_str(), result.c_str()};
        return SendMessageA(view_, WM_COMPAREWIN_COMPARE, reinterpret_cast<WPARAM>(&request), 0);
    }

    // Compares two texts written to files; returns the result file's path.
    std::string compareTexts(const std::string& first, const std::string& second, const char* result = "result.txt")
    {
        WriteBytes(dir_.Path("first.txt"), first);
        WriteBytes(dir_.Path("second.txt"), second);
        std::string path = dir_.Path(result);
        EXPECT_EQ(compare(dir_.Path("first.txt"), dir_.Path("second.txt"), path), 1);
        Pump(0);
        return path;
    }

    LRESULT canCopy() { return SendMessageA(view_, WM_COMPAREWIN_CANCOPY, 0, 0); }
    std::string copied()
    {
        SetClipboardText("<untouched>");
        SendMessageA(view_, WM_COMPAREWIN_COPY, 0, 0);
        return ClipboardText();
    }

    LPARAM cell(int col, int row) const
    {
        return MAKELPARAM(col * charWidth_ + charWidth_ / 4, row * lineHeight_ + lineHeight_ / 2);
    }
    void drag(int col1, int row1, int col2, int row2)
    {
        SendMessageA(view_, WM_LBUTTONDOWN, MK_LBUTTON, cell(col1, row1));
        SendMessageA(view_, WM_MOUSEMOVE, MK_LBUTTON, cell(col2, row2));
        SendMessageA(view_, WM_LBUTTONUP, 0, cell(col2, row2));
    }
    void key(WPARAM vk, bool release = true)
    {
        SendMessageA(view_, WM_KEYDOWN, vk, 1);
        if (release)
            SendMessageA(view_, WM_KEYUP, vk, 0xC0000001);
    }
    int vpos() { return GetScrollPos(view_, SB_VERT); }
    int pageLines() const
    {
        RECT rc;
        GetClientRect(view_, &rc);
        return rc.bottom / lineHeight_;
    }

    static std::string Numbered(int lines, const char* prefix = "line")
    {
        std::string s;
        for (int i = 0; i < lines; ++i)
            s += std::string(prefix) + " " + std::to_string(i) + "\n";
        return s;
    }

    static HMODULE module_;
    static int charWidth_, lineHeight_;
    HWND host_ = nullptr;
    HWND view_ = nullptr;
    qmtest::TempDir dir_;
};

HMODULE CompareWindow::module_ = nullptr;
int CompareWindow::charWidth_ = 8;
int CompareWindow::lineHeight_ = 13;

TEST_F(CompareWindow, ClassKeepsAPointerSizedObjectSlotAndTheLibraryExportsNothing)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExA(module_, COMPAREWIN_CLASSNAME, &wc));
    EXPECT_EQ(wc.cbWndExtra, static_cast<int>(sizeof(LONG_PTR)));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS));
    EXPECT_NE(GetWindowLongPtrA(view_, 0), 0);

    const auto* base = reinterpret_cast<const char*>(module_);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (dir.Size != 0) {
        auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
        EXPECT_EQ(exports->NumberOfFunctions, 0u);
        EXPECT_EQ(exports->NumberOfNames, 0u);
    }
}

TEST_F(CompareWindow, SelectAllAndCopyPutTheWholeResultOnTheClipboard)
{
    struct Case {
        const char *first, *second;
    } cases[] = {{"a\nb\nc\n", "a\nX\nc\n"}, {"one\ntwo", "one\nthree"}, {"same\r\n", "same\r\n"}};
    for (const Case& c : cases) {
        std::string result = compareTexts(c.first, c.second);
        EXPECT_EQ(canCopy(), 0);
        SendMessageA(view_, WM_COMPAREWIN_SELECTALL, 0, 0);
        EXPECT_EQ(canCopy(), 1);
        EXPECT_EQ(copied(), ReadBytes(result)) << c.first;
    }
}

// The rows are UTF-8 text: a copy gives every reader the same letters, as
// UTF-8 in CF_TEXT (the process's char text) and as UTF-16.
TEST_F(CompareWindow, CopiedLettersOfAnyLanguageComeInBothForms)
{
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the test program's manifest sets the UTF-8 code page";
    const std::string utf8 = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\n\xCE\xB1\xCE\xB2\xCE\xB3 \xF0\x9F\x98\x80\n";
    compareTexts(utf8, utf8);
    SendMessageA(view_, WM_COMPAREWIN_SELECTALL, 0, 0);
    const std::string rows = "    \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\n    \xCE\xB1\xCE\xB2\xCE\xB3 \xF0\x9F\x98\x80\n";
    EXPECT_EQ(copied(), rows);
    ASSERT_TRUE(OpenClipboard(nullptr));
    std::wstring wide;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(h))) {
            wide = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    EXPECT_EQ(wide, L"    \u65e5\u672c\u8a9e\n    \u03b1\u03b2\u03b3 \U0001F600\n");
}

TEST_F(CompareWindow, EmptyWindowIgnoresInputAndCopiesNothing)
{
    EXPECT_EQ(canCopy(), 0);
    SendMessageA(view_, WM_COMPAREWIN_SELECTALL, 0, 0);
    EXPECT_EQ(canCopy(), 0);
    drag(1, 1, 5, 3);
    key(VK_DOWN);
    key(VK_END);
    SendMessageA(view_, WM_VSCROLL, SB_BOTTOM, 0);
    SendMessageA(view_, WM_HSCROLL, SB_PAGERIGHT, 0);
    SendMessageA(view_, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    Pump(20);
    EXPECT_EQ(canCopy(), 0);
    EXPECT_EQ(copied(), "<untouched>");
    Picture pic = Capture(view_);
    EXPECT_EQ(pic.at(10, 10), kWhite);
}

TEST_F(CompareWindow, FailedOrEmptyComparesLeaveAnEmptyView)
{
    WriteBytes(dir_.Path("a.txt"), "a\nb\n");
    const std::string a = dir_.Path("a.txt"), missing = dir_.Path("missing.txt");
    struct Case {
        const char* name;
        std::string first, second, result;
        LRESULT expected;
    } cases[] = {
        {"result folder missing", a, a, dir_.Path("no\\such\\result.txt"), 0},
        {"result path is a folder", a, a, dir_.Path(), 0},
        {"first missing", missing, a, dir_.Path("r1.txt"), 1},
        {"second missing", a, missing, dir_.Path("r2.txt"), 1},
        {"both missing", missing, missing, dir_.Path("r3.txt"), 1},
    };
    for (const Case& c : cases) {
        // Start from a loaded view: whatever happens, the old result goes.
        compareTexts("x\n", "y\n", "loaded.txt");
        EXPECT_EQ(compare(c.first, c.second, c.result), c.expected) << c.name;
        UpdateWindow(view_);
        SendMessageA(view_, WM_COMPAREWIN_SELECTALL, 0, 0);
        EXPECT_EQ(canCopy(), 0) << c.name;
        Picture pic = Capture(view_);
        EXPECT_EQ(pic.at(5, lineHeight_ / 2), kWhite) << c.name;
    }
    EXPECT_EQ(SendMessageA(view_, WM_COMPAREWIN_COMPARE, 0, 0), 0);
}

TEST_F(CompareWindow, MouseSelectionCopiesExactlyTheSelectedCharacters)
{
    // Rows: "    alpha", "    beta", "    gamma", "".
    compareTexts("alpha\nbeta\ngamma\n", "alpha\nbeta\ngamma\n");
    struct Case {
        int col1, row1, col2, row2;
        const char* expected;
    } cases[] = {
        {5, 0, 8, 0, "lph"},
        {8, 0, 5, 0, "lph"},
        {6, 0, 6, 1, "pha\n    be"},
        {6, 1, 6, 0, "pha\n    be"},
        {4, 0, 40, 0, "alpha"},       // past the end of the text: up to the line end
        {0, 2, 3, 15, "    gamma\n"}, // below the last row: up to the end
    };
    for (const Case& c : cases) {
        drag(c.col1, c.row1, c.col2, c.row2);
        EXPECT_EQ(canCopy(), 1);
        EXPECT_EQ(copied(), c.expected) << c.col1 << "," << c.row1 << " -> " << c.col2 << "," << c.row2;
    }
    // A click without a drag selects nothing.
    drag(3, 1, 3, 1);
    EXPECT_EQ(canCopy(), 0);
    EXPECT_EQ(copied(), "<untouched>");
}

TEST_F(CompareWindow, ShiftKeepsSelectingWhileOtherKeysAreReleased)
{
    compareTexts("alpha\nbeta\ngamma\n", "alpha\nbeta\ngamma\n");
    drag(4, 0, 4, 0); // caret before "alpha"
    SendMessageA(view_, WM_KEYDOWN, VK_SHIFT, 1);
    for (int i = 0; i < 3; ++i)
        key(VK_RIGHT); // each key-up of the arrow leaves Shift held
    EXPECT_EQ(copied(), "alp");
    key(VK_DOWN);
    EXPECT_EQ(copied(), "alpha\n    bet");
    SendMessageA(view_, WM_KEYUP, VK_SHIFT, 0xC0000001);
    key(VK_RIGHT); // no Shift now: the selection goes
    EXPECT_EQ(canCopy(), 0);

    // Ctrl+Home, then Shift+Ctrl+End selects everything.
    SendMessageA(view_, WM_KEYDOWN, VK_CONTROL, 1);
    key(VK_HOME);
    SendMessageA(view_, WM_KEYDOWN, VK_SHIFT, 1);
    key(VK_END);
    SendMessageA(view_, WM_KEYUP, VK_SHIFT, 0xC0000001);
    SendMessageA(view_, WM_KEYUP, VK_CONTROL, 0xC0000001);
    EXPECT_EQ(copied(), ReadBytes(dir_.Path("result.txt")));

    // Shift+Left over a line start takes the line end along.
    key(VK_DOWN); // clears; caret stays on the last row
    key(VK_UP);   // caret on "    gamma", column 0
    SendMessageA(view_, WM_KEYDOWN, VK_SHIFT, 1);
    key(VK_LEFT);
    key(VK_LEFT);
    SendMessageA(view_, WM_KEYUP, VK_SHIFT, 0xC0000001);
    EXPECT_EQ(copied(), "a\n");
}

TEST_F(CompareWindow, CaretFollowsClicksAndKeys)
{
    compareTexts(Numbered(100), Numbered(100));
    drag(6, 2, 6, 2);
    ASSERT_EQ(GetFocus(), view_);
    POINT p;
    ASSERT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p.x, 6 * charWidth_);
    EXPECT_EQ(p.y, 2 * lineHeight_);
    key(VK_END); // "    line 2" has 10 characters
    ASSERT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p.x, 10 * charWidth_);
    key(VK_DOWN);
    ASSERT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p.y, 3 * lineHeight_);
    // Down at the bottom edge scrolls one line and the caret stays on the last row.
    for (int i = 0; i < pageLines(); ++i)
        key(VK_DOWN);
    EXPECT_EQ(vpos(), 4);
    ASSERT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p.y, (pageLines() - 1) * lineHeight_);
}

TEST_F(CompareWindow, ScrollingStaysInRange)
{
    const int rows = 201; // 200 lines and the empty row after the last line end
    compareTexts(Numbered(200), Numbered(200));
    const int page = pageLines();
    struct Step {
        int code;
        int expected;
    } steps[] = {
        {SB_LINEDOWN, 1},
        {SB_PAGEDOWN, 1 + page},
        {SB_LINEUP, page},
        {SB_TOP, 0},
        {SB_LINEUP, 0},
        {SB_BOTTOM, rows - page},
        {SB_LINEDOWN, rows - page},
        {SB_PAGEUP, rows - 2 * page},
    };
    for (const Step& s : steps) {
        SendMessageA(view_, WM_VSCROLL, s.code, 0);
        EXPECT_EQ(vpos(), s.expected) << "code " << s.code;
    }
    // Growing the window at the bottom pulls the first line up so the last page is full.
    SendMessageA(view_, WM_VSCROLL, SB_BOTTOM, 0);
    SetWindowPos(view_, nullptr, 0, 0, kClientWidth, kClientHeight + 5 * lineHeight_, SWP_NOZORDER | SWP_NOMOVE);
    RECT rc;
    GetClientRect(view_, &rc);
    EXPECT_EQ(vpos(), rows - rc.bottom / lineHeight_);

    SendMessageA(view_, WM_KEYDOWN, VK_CONTROL, 1);
    key(VK_HOME);
    EXPECT_EQ(vpos(), 0);
    key(VK_END);
    EXPECT_EQ(vpos(), rows - rc.bottom / lineHeight_);
    SendMessageA(view_, WM_KEYUP, VK_CONTROL, 0xC0000001);
}

TEST_F(CompareWindow, WheelScrollsLinesOrPagesAsTheSystemSays)
{
    compareTexts(Numbered(300), Numbered(300));
    UINT saved = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &saved, 0);
    struct Case {
        UINT perNotch;
        int expected;
    } cases[] = {{3, 3}, {1, 1}, {WHEEL_PAGESCROLL, pageLines()}};
    for (const Case& c : cases) {
        ASSERT_TRUE(SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, c.perNotch, nullptr, 0));
        SendMessageA(view_, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
        Pump(30);
        EXPECT_EQ(vpos(), c.expected) << c.perNotch;
        SendMessageA(view_, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
        Pump(30);
        EXPECT_EQ(vpos(), 0) << c.perNotch;
    }
    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, saved, nullptr, 0);
}

TEST_F(CompareWindow, DraggingBelowTheWindowScrollsUntilTheButtonIsReleased)
{
    compareTexts(Numbered(400), Numbered(400));
    SendMessageA(view_, WM_LBUTTONDOWN, MK_LBUTTON, cell(4, 0));
    SendMessageA(view_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, kClientHeight + 30));
    Pump(300);
    SendMessageA(view_, WM_LBUTTONUP, 0, MAKELPARAM(20, kClientHeight + 30));
    const int stopped = vpos();
    EXPECT_GT(stopped, 0);
    Pump(100);
    EXPECT_EQ(vpos(), stopped);
    // The selection runs from the click to the row the scrolling reached.
    std::string text = copied();
    ASSERT_GT(text.size(), 6u);
    EXPECT_EQ(text.substr(0, 7), "line 0\n");
}

TEST_F(CompareWindow, LargeResultCopiesAcrossMappedViews)
{
    std::string text;
    for (int i = 0; i < 6000; ++i)
        text += "row " + std::to_string(i) + " " + std::string(50 + i % 17, static_cast<char>('a' + i % 26)) + "\n";
    std::string result = compareTexts(text, text);
    std::string bytes = ReadBytes(result);
    ASSERT_GT(bytes.size(), 0x50000u);
    SendMessageA(view_, WM_COMPAREWIN_SELECTALL, 0, 0);
    EXPECT_EQ(copied(), bytes);

    // From the end of the file one page up: the copy ends exactly at the end.
    SendMessageA(view_, WM_KEYDOWN, VK_CONTROL, 1);
    key(VK_END);
    SendMessageA(view_, WM_KEYUP, VK_CONTROL, 0xC0000001);
    SendMessageA(view_, WM_KEYDOWN, VK_SHIFT, 1);
    key(VK_PRIOR);
    SendMessageA(view_, WM_KEYUP, VK_SHIFT, 0xC0000001);
    std::size_t start = bytes.size();
    for (int n = 0; n <= pageLines(); ++n)
        start = bytes.rfind('\n', start - 1);
    EXPECT_EQ(copied(), bytes.substr(start + 1));
}

TEST_F(CompareWindow, SecondCompareReplacesTheViewAndReleasesTheOldResult)
{
    std::string first = compareTexts("old 1\nold 2\nold 3\n", "old 1\nold 3\n", "r1.txt");
    // The same result path again: the window lets go of it before the engine writes.
    compareTexts("new\n", "new\n", "r1.txt");
    SendMessageA(view_, WM_COMPAREWIN_SELECTALL, 0, 0);
    EXPECT_EQ(copied(), "    new\n");

    std::string second = compareTexts("x\n", "y\n", "r2.txt");
    SendMessageA(view_, WM_COMPAREWIN_SELECTALL, 0, 0);
    EXPECT_EQ(copied(), " <! x\n !> y\n");
    EXPECT_TRUE(DeleteFileA(first.c_str())) << GetLastError();
    DestroyWindow(view_);
    view_ = nullptr;
    EXPECT_TRUE(DeleteFileA(second.c_str())) << GetLastError();
    EXPECT_FALSE(Exists(second));
}

// Row backgrounds follow the markers; the picture is kept for people to see.
TEST_F(CompareWindow, RowColoursFollowTheMarkers)
{
    std::string result = compareTexts("m1\nm2\nc1\nc2\nc3\nc4\nold\n\nend\n", "c1\nc2\nc3\nc4\nnew\nend\nm1\nm2\n");
    ASSERT_EQ(ReadBytes(result), " <- m1\n <- m2\n    c1\n    c2\n    c3\n    c4\n <! old\n <! \n !> new\n"
                                 "    end\n -> m1\n -> m2\n");
    UpdateWindow(view_);
    Picture pic = Capture(view_);
    pic.saveBmp(ArtifactPath("pairview_colours.bmp"));
    const COLORREF rows[] = {kFirstFile, kFirstFile, kWhite, kWhite, kWhite, kWhite, kFirstFile,
                             kFirstFile, kSecondFile, kWhite, kSecondFile, kSecondFile, kWhite};
    const int right = pic.width - 4;
    for (int r = 0; r < static_cast<int>(sizeof rows / sizeof rows[0]); ++r)
        EXPECT_EQ(pic.at(right, r * lineHeight_ + lineHeight_ / 2), rows[r]) << "row " << r;
    EXPECT_EQ(pic.at(right, 14 * lineHeight_ + lineHeight_ / 2), kWhite) << "below the last row";

    // Selected text is drawn in the highlight colours; the rest of the row keeps its colour.
    SendMessageA(view_, WM_COMPAREWIN_SELECTALL, 0, 0);
    UpdateWindow(view_);
    Picture selected = Capture(view_);
    selected.saveBmp(ArtifactPath("pairview_selected.bmp"));
    int highlighted = 0;
    for (int x = 0; x < 6 * charWidth_; ++x)
        highlighted += selected.at(x, 6 * lineHeight_ + lineHeight_ / 2) == GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_GT(highlighted, 2 * charWidth_);
    EXPECT_EQ(selected.at(right, 6 * lineHeight_ + lineHeight_ / 2), kFirstFile);
}

TEST_F(CompareWindow, RowsKeepTheirColourWhenScrolledFarRight)
{
    WriteBytes(dir_.Path("first.txt"), "keep\n" + std::string(400, 'w') + "\nshort\n");
    WriteBytes(dir_.Path("second.txt"), "keep\n");
    ASSERT_EQ(compare(dir_.Path("first.txt"), dir_.Path("second.txt"), dir_.Path("result.txt")), 1);
    // Scrolled before the rows were ever painted at the left edge.
    SendMessageA(view_, WM_HSCROLL, SB_RIGHT, 0);
    UpdateWindow(view_);
    EXPECT_GT(GetScrollPos(view_, SB_HORZ), 300);
    Picture pic = Capture(view_);
    pic.saveBmp(ArtifactPath("pairview_scrolled.bmp"));
    // The bottom pixel row of each text row holds no glyphs, only the background.
    for (int x : {2, 10, pic.width / 2}) {
        EXPECT_EQ(pic.at(x, lineHeight_ - 1), kWhite) << x;
        EXPECT_EQ(pic.at(x, 2 * lineHeight_ - 1), kFirstFile) << x;
        EXPECT_EQ(pic.at(x, 3 * lineHeight_ - 1), kFirstFile) << x;
    }
}

} // namespace
