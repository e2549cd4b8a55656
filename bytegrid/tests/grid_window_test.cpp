// The control in a real window under a real message loop: bytegrid.dll is
// loaded like the editor loads it, the control is created the way the hex
// view creates it, and it is driven with keyboard input, mouse messages and
// the control messages, reading back its state, the bytes on disk and what
// its parent was told.
#include "bytegrid.h"
#include "test_files.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using bgtest::Bytes;

namespace {

const char kParentClass[] = "BytegridTestParent";

struct Seen {
    int code;
    HWND from;
    UINT_PTR id;
    ULONGLONG position, selStart, selLength;
    BOOL modified, insertMode;
};

std::vector<uint8_t> Fixture()
{
    return bgtest::ReadBytes(std::string(QM_SOURCE_DIR) + "/bytegrid/tests/data/sample.bin");
}

bool IsExtendedKey(WORD vk)
{
    switch (vk) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE: return true;
    default: return false;
    }
}

// Runs the message loop until it has been idle for a moment.
void Pump()
{
    DWORD start = GetTickCount(), last = start;
    for (;;) {
        MSG m;
        bool any = false;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
            any = true;
        }
        DWORD now = GetTickCount();
        if (any)
            last = now;
        if (now - last >= 30 || now - start > 3000)
            break;
        Sleep(2);
    }
}

class GridWindow : public ::testing::Test {
protected:
    static GridWindow* current;

    static LRESULT CALLBACK ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_NOTIFY && current) {
            const BGNOTIFY* n = reinterpret_cast<const BGNOTIFY*>(lp);
            current->seen.push_back(Seen{static_cast<int>(n->hdr.code), n->hdr.hwndFrom, n->hdr.idFrom,
                                         n->position, n->selStart, n->selLength, n->modified, n->insertMode});
            return 0;
        }
        if (msg == WM_SIZE && current && current->grid)
            MoveWindow(current->grid, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return DefWindowProcA(h, msg, wp, lp);
    }

    void SetUp() override
    {
        current = this;
        library = LoadLibraryA(BYTEGRID_DLLNAME);
        ASSERT_NE(library, nullptr) << GetLastError();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kParentClass;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&wc); // stays registered across the tests
        parent = CreateWindowA(kParentClass, "Bytegrid test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 720, 340,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(parent, nullptr);
        // Created the way the hex view creates it: empty rectangle, id 1,
        // then option 1, then sized to the parent.
        grid = CreateWindowExA(0, BYTEGRID_CLASSA, "Bytegrid", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0,
                               0, 0, 0, parent, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(grid, nullptr) << GetLastError();
        Send(BGM_SETOPTION, BGO_NOTIFY);
        RECT rc;
        GetClientRect(parent, &rc);
        MoveWindow(grid, 0, 0, rc.right, rc.bottom, TRUE);

        path = folder.Path("sample.bin");
        fixture = Fixture();
        ASSERT_EQ(fixture.size(), 307u);
        ASSERT_TRUE(bgtest::WriteBytes(path, fixture));
        ASSERT_EQ(Send(BGM_LOADFILE, reinterpret_cast<WPARAM>(path.c_str())), 1);
        SetForegroundWindow(parent);
        SetFocus(grid);
        Pump();
        seen.clear();
    }

    void TearDown() override
    {
        if (parent)
            DestroyWindow(parent);
        Pump();
        current = nullptr;
        if (library)
            FreeLibrary(library);
    }

    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageA(grid, msg, wp, lp); }
    ULONGLONG Caret() { return static_cast<ULONGLONG>(Send(BGM_GETPOSITION)); }
    ULONGLONG Length() { return static_cast<ULONGLONG>(Send(BGM_GETLENGTH)); }

    std::vector<uint8_t> Shown(ULONGLONG offset, DWORD count)
    {
        std::vector<uint8_t> out(count);
        BGBYTES req = {offset, out.data(), count};
        out.resize(static_cast<size_t>(Send(BGM_GETBYTES, reinterpret_cast<WPARAM>(&req))));
        return out;
    }
    std::vector<uint8_t> AllShown() { return Shown(0, static_cast<DWORD>(Length())); }

    void Key(WORD vk, bool ctrl = false, bool shift = false)
    {
        std::vector<INPUT> in;
        auto add = [&](WORD k, bool up) {
            INPUT i = {};
            i.type = INPUT_KEYBOARD;
            i.ki.wVk = k;
            i.ki.wScan = static_cast<WORD>(MapVirtualKeyA(k, MAPVK_VK_TO_VSC));
            i.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(k) ? KEYEVENTF_EXTENDEDKEY : 0);
            in.push_back(i);
        };
        if (ctrl)
            add(VK_CONTROL, false);
        if (shift)
            add(VK_SHIFT, false);
        add(vk, false);
        add(vk, true);
        if (shift)
            add(VK_SHIFT, true);
        if (ctrl)
            add(VK_CONTROL, true);
        ASSERT_EQ(SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT)), in.size());
        Pump();
    }

    void Type(const std::string& text)
    {
        for (char c : text) {
            SHORT v = VkKeyScanA(c);
            ASSERT_NE(v, -1) << c;
            Key(LOBYTE(v), false, (HIBYTE(v) & 1) != 0);
        }
    }

    long Count(int code) const
    {
        return std::count_if(seen.begin(), seen.end(), [&](const Seen& s) { return s.code == code; });
    }
    const Seen* Last(int code) const
    {
        for (auto it = seen.rbegin(); it != seen.rend(); ++it)
            if (it->code == code)
                return &*it;
        return nullptr;
    }

    // What the hex view does for a search: prepare, run from the caret,
    // select the match and scroll to it.
    bool Find(const std::vector<uint8_t>& bytes, bool up, bool matchCase, DWORD* where)
    {
        BGFINDDATA data = {bytes.data(), static_cast<DWORD>(bytes.size()), up ? 1u : 0u, matchCase ? 1u : 0u};
        if (!Send(BGM_SETFINDDATA, reinterpret_cast<WPARAM>(&data)))
            return false;
        DWORD result = 0xFFFFFFFF;
        BGFINDNEXT run = {&result, static_cast<DWORD>(Caret()), up ? 1u : 0u};
        if (!Send(BGM_FINDNEXT, reinterpret_cast<WPARAM>(&run)))
            return false;
        Send(BGM_SETSELECTION, result, static_cast<LPARAM>(bytes.size()));
        Send(BGM_SCROLLTO, result);
        *where = result;
        return true;
    }

    std::string ClipboardText()
    {
        std::string text;
        if (!OpenClipboard(parent))
            return "<clipboard busy>";
        HANDLE h = GetClipboardData(CF_TEXT);
        if (h) {
            const char* p = static_cast<const char*>(GlobalLock(h));
            if (p)
                text = p;
            GlobalUnlock(h);
        }
        CloseClipboard();
        return text;
    }

    void SetClipboardText(const std::string& text)
    {
        ASSERT_TRUE(OpenClipboard(parent));
        EmptyClipboard();
        HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        memcpy(GlobalLock(g), text.c_str(), text.size() + 1);
        GlobalUnlock(g);
        SetClipboardData(CF_TEXT, g);
        CloseClipboard();
    }

    qmtest::TempDir folder;
    std::string path;
    std::vector<uint8_t> fixture;
    HMODULE library = nullptr;
    HWND parent = nullptr, grid = nullptr;
    std::vector<Seen> seen;
};

GridWindow* GridWindow::current = nullptr;

TEST(GridLibrary, LoadingRegistersTheClassAndUnloadingRemovesIt)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    ASSERT_EQ(GetModuleHandleA(BYTEGRID_DLLNAME), nullptr);
    EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), BYTEGRID_CLASSA, &wc));
    HMODULE lib = LoadLibraryA(BYTEGRID_DLLNAME);
    ASSERT_NE(lib, nullptr);
    // A global class: found from the program's own instance, as the editor
    // creates it.
    EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), BYTEGRID_CLASSA, &wc));
    FreeLibrary(lib);
    EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), BYTEGRID_CLASSA, &wc));
}

TEST_F(GridWindow, ShowsTheLoadedFile)
{
    EXPECT_EQ(Length(), 307u);
    EXPECT_EQ(AllShown(), fixture);
    EXPECT_EQ(Caret(), 0u);
    EXPECT_EQ(Send(BGM_ISMODIFIED), 0);
    EXPECT_EQ(Send(BGM_GETMODEFLAG), 0) << "starts in overwrite mode";
    EXPECT_EQ(Send(BGM_CANUNDO), 0);
    EXPECT_EQ(Send(BGM_CANCOPY), 0);
    ASSERT_EQ(GetFocus(), grid) << "keyboard tests need the focus";
}

struct KeyStep {
    WORD vk;
    bool ctrl, shift;
};

struct MoveCase {
    const char* name;
    std::vector<KeyStep> keys;
    ULONGLONG caret, selStart, selLength;
    int pane;
};

TEST_F(GridWindow, KeysMoveTheCaretAndTheSelection)
{
    ASSERT_EQ(GetFocus(), grid);
    const KeyStep right{VK_RIGHT, false, false}, left{VK_LEFT, false, false}, down{VK_DOWN, false, false},
        up{VK_UP, false, false}, home{VK_HOME, false, false}, end{VK_END, false, false},
        ctrlHome{VK_HOME, true, false}, ctrlEnd{VK_END, true, false}, shiftRight{VK_RIGHT, false, true},
        shiftLeft{VK_LEFT, false, true}, shiftDown{VK_DOWN, false, true}, tab{VK_TAB, false, false},
        ctrlShiftEnd{VK_END, true, true}, ctrlA{'A', true, false};
    const MoveCase cases[] = {
        {"right", {right}, 1, 1, 0, BGPANE_HEX},
        {"right right left", {right, right, left}, 1, 1, 0, BGPANE_HEX},
        {"down", {down}, 16, 16, 0, BGPANE_HEX},
        {"end of the second row", {down, end}, 31, 31, 0, BGPANE_HEX},
        {"home of the second row", {down, right, right, home}, 16, 16, 0, BGPANE_HEX},
        {"ctrl+end", {ctrlEnd}, 307, 307, 0, BGPANE_HEX},
        {"ctrl+home", {ctrlEnd, ctrlHome}, 0, 0, 0, BGPANE_HEX},
        {"up from the end", {ctrlEnd, up}, 291, 291, 0, BGPANE_HEX},
        {"home and end of the last row", {ctrlEnd, home, right, end}, 307, 307, 0, BGPANE_HEX},
        {"up at the top stays", {right, up}, 1, 1, 0, BGPANE_HEX},
        {"shift+right selects", {shiftRight, shiftRight, shiftRight}, 3, 0, 3, BGPANE_HEX},
        {"shift+left selects backwards", {right, right, right, right, right, shiftLeft, shiftLeft}, 3, 3, 2, BGPANE_HEX},
        {"shift+down", {shiftDown}, 16, 0, 16, BGPANE_HEX},
        {"ctrl+shift+end", {right, ctrlShiftEnd}, 307, 1, 306, BGPANE_HEX},
        {"ctrl+a", {down, ctrlA}, 307, 0, 307, BGPANE_HEX},
        {"a plain move drops the selection", {shiftRight, shiftRight, right}, 3, 3, 0, BGPANE_HEX},
        {"tab to the ascii pane", {right, tab}, 1, 1, 0, BGPANE_ASCII},
        {"tab back", {tab, tab}, 0, 0, 0, BGPANE_HEX},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        Send(BGM_SETPANE, BGPANE_HEX);
        Send(BGM_SETPOSITION, 0);
        seen.clear();
        for (const KeyStep& k : c.keys)
            Key(k.vk, k.ctrl, k.shift);
        EXPECT_EQ(Caret(), c.caret);
        EXPECT_EQ(static_cast<ULONGLONG>(Send(BGM_GETSELSTART)), c.selStart);
        EXPECT_EQ(static_cast<ULONGLONG>(Send(BGM_GETSELLENGTH)), c.selLength);
        EXPECT_EQ(Send(BGM_GETPANE), c.pane);
        if (c.caret != 0 || c.selLength != 0) {
            const Seen* s = Last(BGN_POSCHANGED);
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(s->position, c.caret);
            EXPECT_EQ(s->selLength, c.selLength);
            EXPECT_EQ(s->from, grid);
            EXPECT_EQ(s->id, 1u);
        }
    }
    EXPECT_EQ(AllShown(), fixture) << "moving changes no byte";
    EXPECT_EQ(Send(BGM_ISMODIFIED), 0);
}

TEST_F(GridWindow, PagingAndScrollingMoveByTheWindowsRows)
{
    std::string big = folder.Path("paging.bin");
    std::vector<uint8_t> bytes(65536);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 31);
    ASSERT_TRUE(bgtest::WriteBytes(big, bytes));
    ASSERT_EQ(Send(BGM_LOADFILE, reinterpret_cast<WPARAM>(big.c_str())), 1);
    const ULONGLONG rows = static_cast<ULONGLONG>(Send(BGM_GETPAGEROWS));
    ASSERT_GE(rows, 3u);
    ASSERT_LT(rows, 100u);
    const ULONGLONG page = rows * 16;

    Key(VK_NEXT);
    EXPECT_EQ(Caret(), page);
    EXPECT_EQ(static_cast<ULONGLONG>(Send(BGM_GETFIRSTVISIBLE)), page);
    Key(VK_NEXT);
    EXPECT_EQ(Caret(), 2 * page);
    Key(VK_PRIOR);
    EXPECT_EQ(Caret(), page);
    EXPECT_EQ(static_cast<ULONGLONG>(Send(BGM_GETFIRSTVISIBLE)), page);

    // The caret row stays in view at the end and at the start.
    Key(VK_END, true);
    EXPECT_EQ(Caret(), 65536u);
    ULONGLONG first = static_cast<ULONGLONG>(Send(BGM_GETFIRSTVISIBLE));
    EXPECT_LE(first, 65536u);
    EXPECT_GT(first + page, 65536u);
    Key(VK_HOME, true);
    EXPECT_EQ(static_cast<ULONGLONG>(Send(BGM_GETFIRSTVISIBLE)), 0u);

    // Scroll bar and wheel scroll the view but leave the caret.
    Send(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(static_cast<ULONGLONG>(Send(BGM_GETFIRSTVISIBLE)), page);
    Send(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(static_cast<ULONGLONG>(Send(BGM_GETFIRSTVISIBLE)), page + 16);
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_POS;
    GetScrollInfo(grid, SB_VERT, &si);
    EXPECT_EQ(static_cast<ULONGLONG>(si.nPos), rows + 1);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_GT(static_cast<ULONGLONG>(Send(BGM_GETFIRSTVISIBLE)), page + 16);
    Send(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(static_cast<ULONGLONG>(Send(BGM_GETFIRSTVISIBLE)), (4097 - rows) * 16);
    EXPECT_EQ(Caret(), 0u);

    // Scrolling to an offset shows its row.
    Send(BGM_SCROLLTO, 40000);
    first = static_cast<ULONGLONG>(Send(BGM_GETFIRSTVISIBLE));
    EXPECT_LE(first, 40000u);
    EXPECT_GT(first + page, 40000u);
}

TEST_F(GridWindow, OverwriteTypingInBothPanes)
{
    ASSERT_EQ(GetFocus(), grid);
    Type("41");
    EXPECT_EQ(Caret(), 1u);
    Key(VK_TAB);
    Type("Zz");
    Type("g"); // lands in the ASCII pane as a character
    Key(VK_TAB);
    Type("g"); // not a hex digit: ignored
    std::vector<uint8_t> expected = fixture;
    expected[0] = 0x41;
    expected[1] = 'Z';
    expected[2] = 'z';
    expected[3] = 'g';
    EXPECT_EQ(AllShown(), expected);
    EXPECT_EQ(Caret(), 4u);
    EXPECT_EQ(Send(BGM_ISMODIFIED), 1);
    EXPECT_EQ(bgtest::ReadBytes(path), fixture) << "nothing is written before a save";

    // Left after the first digit returns to that digit of the same byte.
    Key(VK_HOME, true);
    Type("4");
    Key(VK_LEFT);
    EXPECT_EQ(Caret(), 0u);
    Type("56");
    expected[0] = 0x56;
    EXPECT_EQ(AllShown(), expected);
    EXPECT_EQ(Caret(), 1u);

    // Overwriting at the end appends; one digit gives the high nibble.
    Key(VK_END, true);
    Type("7");
    EXPECT_EQ(Length(), 308u);
    EXPECT_EQ(Shown(307, 1), std::vector<uint8_t>{0x70});
    Type("f");
    EXPECT_EQ(Shown(307, 1), std::vector<uint8_t>{0x7F});
    EXPECT_EQ(Caret(), 308u);

    // The parent heard of the first change once, and of no mode change.
    EXPECT_EQ(Count(BGN_MODIFIEDCHANGED), 1);
    ASSERT_NE(Last(BGN_MODIFIEDCHANGED), nullptr);
    EXPECT_TRUE(Last(BGN_MODIFIEDCHANGED)->modified);
    EXPECT_EQ(Last(BGN_MODECHANGED), nullptr);
    EXPECT_EQ(Last(BGN_POSCHANGED)->position, 308u);
}

TEST_F(GridWindow, InsertKeyTogglesModeAndTypingInserts)
{
    ASSERT_EQ(GetFocus(), grid);
    Key(VK_INSERT);
    EXPECT_EQ(Send(BGM_GETMODEFLAG), 1);
    ASSERT_NE(Last(BGN_MODECHANGED), nullptr);
    EXPECT_TRUE(Last(BGN_MODECHANGED)->insertMode);

    Type("7a");
    Key(VK_TAB);
    Type("Hi");
    std::vector<uint8_t> expected = fixture;
    expected.insert(expected.begin(), {0x7A, 'H', 'i'});
    EXPECT_EQ(AllShown(), expected);
    EXPECT_EQ(Caret(), 3u);

    Key(VK_BACK); // deletes the 'i' before the caret
    expected.erase(expected.begin() + 2);
    EXPECT_EQ(AllShown(), expected);
    Key(VK_DELETE); // deletes the byte under the caret
    expected.erase(expected.begin() + 2);
    EXPECT_EQ(AllShown(), expected);
    EXPECT_EQ(Caret(), 2u);

    // A selection is replaced by what is typed.
    Key(VK_RIGHT, false, true);
    Key(VK_RIGHT, false, true);
    Type("Q");
    expected.erase(expected.begin() + 2, expected.begin() + 4);
    expected.insert(expected.begin() + 2, 'Q');
    EXPECT_EQ(AllShown(), expected);

    Key(VK_INSERT);
    EXPECT_EQ(Send(BGM_GETMODEFLAG), 0);
    EXPECT_FALSE(Last(BGN_MODECHANGED)->insertMode);
    EXPECT_EQ(Count(BGN_MODECHANGED), 2);
    Key(VK_BACK); // overwrite mode: only steps back
    EXPECT_EQ(AllShown(), expected);
    EXPECT_EQ(Caret(), 2u);
}

TEST_F(GridWindow, UndoAndRedoRestoreBytesCaretAndSavedState)
{
    ASSERT_EQ(GetFocus(), grid);
    Key(VK_RIGHT);
    Type("ff");
    Key(VK_INSERT);
    Key(VK_TAB);
    Type("ab");
    EXPECT_EQ(Send(BGM_CANUNDO), 1);
    EXPECT_EQ(Send(BGM_CANREDO), 0);

    Key('Z', true); // the two typed characters go together
    std::vector<uint8_t> expected = fixture;
    expected[1] = 0xFF;
    EXPECT_EQ(AllShown(), expected);
    EXPECT_EQ(Caret(), 2u);
    EXPECT_EQ(Send(BGM_ISMODIFIED), 1);

    EXPECT_EQ(Send(BGM_UNDO), 1);
    EXPECT_EQ(AllShown(), fixture);
    EXPECT_EQ(Caret(), 1u);
    EXPECT_EQ(Send(BGM_ISMODIFIED), 0);
    ASSERT_NE(Last(BGN_MODIFIEDCHANGED), nullptr);
    EXPECT_FALSE(Last(BGN_MODIFIEDCHANGED)->modified);
    EXPECT_EQ(Send(BGM_CANUNDO), 0);
    EXPECT_EQ(Send(BGM_UNDO), 0);

    EXPECT_EQ(Send(BGM_CANREDO), 1);
    EXPECT_EQ(Send(BGM_REDO), 1);
    Key('Y', true);
    expected.insert(expected.begin() + 2, {'a', 'b'});
    EXPECT_EQ(AllShown(), expected);
    EXPECT_EQ(Send(BGM_CANREDO), 0);
    EXPECT_TRUE(Last(BGN_MODIFIEDCHANGED)->modified);
}

TEST_F(GridWindow, FindsForwardAndBackwardLikeTheHexView)
{
    DWORD at = 0;
    // Text, any case: "Hello" at 0x100, then "hello" at 0x111, then nothing.
    ASSERT_TRUE(Find(Bytes("hello"), false, false, &at));
    EXPECT_EQ(at, 0x100u);
    EXPECT_EQ(Send(BGM_GETSELSTART), 0x100);
    EXPECT_EQ(Send(BGM_GETSELLENGTH), 5);
    EXPECT_EQ(Last(BGN_POSCHANGED)->selLength, 5u);
    ASSERT_TRUE(Find(Bytes("hello"), false, false, &at));
    EXPECT_EQ(at, 0x111u);
    EXPECT_FALSE(Find(Bytes("hello"), false, false, &at));
    EXPECT_EQ(Send(BGM_GETSELSTART), 0x111) << "a miss leaves the selection";

    // Backwards from the last match moves on to the one before it.
    ASSERT_TRUE(Find(Bytes("HELLO"), true, false, &at));
    EXPECT_EQ(at, 0x100u);
    EXPECT_FALSE(Find(Bytes("HELLO"), true, false, &at));

    // Matching case.
    Send(BGM_SETPOSITION, 0);
    ASSERT_TRUE(Find(Bytes("hello"), false, true, &at));
    EXPECT_EQ(at, 0x111u);
    ASSERT_TRUE(Find(Bytes("END."), false, true, &at));
    EXPECT_EQ(at, 0x12Fu);

    // Bytes: the lone 0xAA at 0xAA does not match two of them.
    Send(BGM_SETPOSITION, 0);
    ASSERT_TRUE(Find({0xAA, 0xAA}, false, true, &at));
    EXPECT_EQ(at, 0x11Fu);
    ASSERT_TRUE(Find({0xA9, 0xAA, 0xAB}, true, true, &at)) << "up from 0x121";
    EXPECT_EQ(at, 0xA9u);

    // Requests the control cannot take.
    BGFINDDATA empty = {nullptr, 0, 0, 0};
    EXPECT_EQ(Send(BGM_SETFINDDATA, reinterpret_cast<WPARAM>(&empty)), 0);
    BGFINDNEXT noCell = {nullptr, 0, 0};
    EXPECT_EQ(Send(BGM_FINDNEXT, reinterpret_cast<WPARAM>(&noCell)), 0);
}

TEST_F(GridWindow, ClipboardCopyCutAndPaste)
{
    Send(BGM_SETSELECTION, 0x100, 5);
    EXPECT_EQ(Send(BGM_CANCOPY), 1);
    ASSERT_EQ(Send(WM_COPY), 1);
    EXPECT_EQ(ClipboardText(), "48 65 6C 6C 6F") << "the hex pane copies hex digits";
    Send(BGM_SETPANE, BGPANE_ASCII);
    ASSERT_EQ(Send(WM_COPY), 1);
    EXPECT_EQ(ClipboardText(), "Hello");
    EXPECT_EQ(Send(BGM_CANPASTE), 1);

    // Paste inserts in insert mode and writes over in overwrite mode.
    Send(BGM_SETMODEFLAG, 1);
    Send(BGM_SETPOSITION, 0);
    ASSERT_EQ(Send(WM_PASTE), 1);
    std::vector<uint8_t> expected = fixture;
    expected.insert(expected.begin(), {'H', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(AllShown(), expected);
    EXPECT_EQ(Caret(), 5u);
    Send(BGM_SETMODEFLAG, 0);
    ASSERT_EQ(Send(WM_PASTE), 1);
    for (int i = 0; i < 5; ++i)
        expected[5 + i] = "Hello"[i];
    EXPECT_EQ(AllShown(), expected);
    EXPECT_EQ(Length(), 312u);

    // Cut removes the selection and puts it on the clipboard.
    Send(BGM_SETSELECTION, 0, 5);
    ASSERT_EQ(Send(WM_CUT), 1);
    expected.erase(expected.begin(), expected.begin() + 5);
    EXPECT_EQ(AllShown(), expected);
    EXPECT_EQ(ClipboardText(), "Hello");

    // Text from elsewhere: hex digit pairs are bytes in the hex pane,
    // characters in the ASCII pane.
    SetClipboardText("de ad be ef");
    Send(BGM_SETPANE, BGPANE_HEX);
    Send(BGM_SETPOSITION, 0);
    ASSERT_EQ(Send(WM_PASTE), 1);
    EXPECT_EQ(Shown(0, 4), (std::vector<uint8_t>{0xDE, 0xAD, 0xBE, 0xEF}));
    Send(BGM_SETPANE, BGPANE_ASCII);
    Send(BGM_SETPOSITION, 0);
    ASSERT_EQ(Send(WM_PASTE), 1);
    EXPECT_EQ(Shown(0, 11), Bytes("de ad be ef"));

    // The keyboard shortcuts: Ctrl+C and Shift+Delete copy and cut,
    // Ctrl+V and Shift+Insert paste.
    ASSERT_EQ(GetFocus(), grid);
    Send(BGM_SETPOSITION, 0);
    Key(VK_RIGHT, false, true);
    Key(VK_RIGHT, false, true);
    Key('C', true);
    EXPECT_EQ(ClipboardText(), "de");
    Key(VK_END, true);
    Key('V', true);
    EXPECT_EQ(Shown(Length() - 2, 2), Bytes("de"));
    Key(VK_LEFT, false, true);
    Key(VK_DELETE, false, true);
    EXPECT_EQ(ClipboardText(), "e");
    Key(VK_INSERT, false, true);
    EXPECT_EQ(Shown(Length() - 2, 2), Bytes("de"));
    EXPECT_EQ(Length(), 309u);

    // Failures answer 0 and tell why through the follow-up message.
    Send(BGM_SETPOSITION, 3);
    EXPECT_EQ(Send(BGM_CANCOPY), 0);
    EXPECT_EQ(Send(WM_COPY), 0);
    EXPECT_EQ(Send(BGM_CLIPBOARDFAILED), ERROR_NO_DATA);
    EXPECT_EQ(Send(WM_CUT), 0);

    std::vector<uint8_t> before = AllShown();
    Send(BGM_SETOPTION, BGO_NOTIFY | BGO_READONLY);
    EXPECT_EQ(Send(BGM_CANPASTE), 0);
    EXPECT_EQ(Send(WM_PASTE), 0);
    EXPECT_EQ(Send(BGM_CLIPBOARDFAILED), ERROR_WRITE_PROTECT);
    EXPECT_EQ(Send(BGM_CANUNDO), 0);
    Type("xyz");
    EXPECT_EQ(AllShown(), before) << "read-only refuses typing too";

    // Nothing usable on the clipboard.
    Send(BGM_SETOPTION, BGO_NOTIFY);
    ASSERT_TRUE(OpenClipboard(parent));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(Send(BGM_CANPASTE), 0);
    EXPECT_EQ(Send(WM_PASTE), 0);
    EXPECT_EQ(AllShown(), before);
}

TEST_F(GridWindow, SaveWritesTheBytesAndClearsTheModifiedState)
{
    ASSERT_EQ(GetFocus(), grid);
    Type("ff");
    Key(VK_END, true);
    Key(VK_INSERT);
    Key(VK_TAB);
    Type("!");
    ASSERT_EQ(Send(BGM_ISMODIFIED), 1);
    seen.clear();

    ASSERT_EQ(Send(BGM_SAVEFILE, reinterpret_cast<WPARAM>(path.c_str())), 1) << Send(BGM_GETLASTERROR);
    std::vector<uint8_t> expected = fixture;
    expected[0] = 0xFF;
    expected.push_back('!');
    EXPECT_EQ(bgtest::ReadBytes(path), expected);
    EXPECT_EQ(Send(BGM_ISMODIFIED), 0);
    ASSERT_NE(Last(BGN_MODIFIEDCHANGED), nullptr);
    EXPECT_FALSE(Last(BGN_MODIFIEDCHANGED)->modified);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"sample.bin"});

    // Still editable, and undo reaches back past the save.
    Key(VK_INSERT); // back to overwrite mode
    Key(VK_HOME, true);
    Key(VK_TAB); // back to the hex pane
    Type("0");   // the high digit of 0xFF
    expected[0] = 0x0F;
    EXPECT_EQ(AllShown(), expected);
    Send(BGM_UNDO);
    Send(BGM_UNDO);
    Send(BGM_UNDO);
    EXPECT_EQ(AllShown(), fixture);
    EXPECT_EQ(Send(BGM_ISMODIFIED), 1);

    // Save As writes another file and leaves this one.
    std::string other = folder.Path("other.bin");
    ASSERT_EQ(Send(BGM_SAVEFILE, reinterpret_cast<WPARAM>(other.c_str())), 1);
    EXPECT_EQ(bgtest::ReadBytes(other), fixture);
    EXPECT_EQ(bgtest::ReadBytes(path).size(), 308u);
}

TEST_F(GridWindow, FailedSaveLeavesTheFileAndTheModifiedState)
{
    ASSERT_EQ(GetFocus(), grid);
    Type("00");
    ASSERT_EQ(Send(BGM_ISMODIFIED), 1);
    seen.clear();

    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Send(BGM_SAVEFILE, reinterpret_cast<WPARAM>(path.c_str())), 0);
    EXPECT_EQ(Send(BGM_GETLASTERROR), ERROR_ACCESS_DENIED);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(bgtest::ReadBytes(path), fixture);

    std::string nowhere = folder.Path("missing\\sample.bin");
    EXPECT_EQ(Send(BGM_SAVEFILE, reinterpret_cast<WPARAM>(nowhere.c_str())), 0);
    EXPECT_NE(Send(BGM_GETLASTERROR), 0);

    // A destination another program holds open.
    std::string locked = folder.Path("locked.bin");
    ASSERT_TRUE(bgtest::WriteBytes(locked, Bytes("locked")));
    HANDLE h = CreateFileA(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Send(BGM_SAVEFILE, reinterpret_cast<WPARAM>(locked.c_str())), 0);
    CloseHandle(h);
    EXPECT_EQ(bgtest::ReadBytes(locked), Bytes("locked"));

    EXPECT_EQ(Send(BGM_SAVEFILE, 0), 0);
    EXPECT_EQ(Send(BGM_GETLASTERROR), ERROR_INVALID_PARAMETER);

    EXPECT_EQ(Send(BGM_ISMODIFIED), 1);
    EXPECT_EQ(Last(BGN_MODIFIEDCHANGED), nullptr);
    std::vector<std::string> files = folder.Files();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"locked.bin", "sample.bin"}));
    EXPECT_EQ(Shown(0, 1), std::vector<uint8_t>{0x00});
}

TEST_F(GridWindow, LoadFailuresKeepTheShownFile)
{
    std::string missing = folder.Path("missing.bin");
    EXPECT_EQ(Send(BGM_LOADFILE, reinterpret_cast<WPARAM>(missing.c_str())), 0);
    EXPECT_EQ(Send(BGM_GETLASTERROR), ERROR_FILE_NOT_FOUND);
    std::string huge = folder.Path("huge.bin");
    ASSERT_TRUE(bgtest::MakeLargeFile(huge, 0x100000001ull));
    EXPECT_EQ(Send(BGM_LOADFILE, reinterpret_cast<WPARAM>(huge.c_str())), 0);
    EXPECT_EQ(Send(BGM_GETLASTERROR), ERROR_FILE_TOO_LARGE);
    EXPECT_EQ(AllShown(), fixture);
    EXPECT_EQ(Send(BGM_LOADFILE, 0), 0);
    EXPECT_EQ(AllShown(), fixture);
}

TEST_F(GridWindow, MouseClicksAndDragsSelect)
{
    ASSERT_EQ(GetFocus(), grid);
    // The caret tells where the cells are.
    POINT at0, at1, at16, ascii0;
    Send(BGM_SETPOSITION, 0);
    GetCaretPos(&at0);
    Send(BGM_SETPOSITION, 1);
    GetCaretPos(&at1);
    Send(BGM_SETPOSITION, 16);
    GetCaretPos(&at16);
    Send(BGM_SETPANE, BGPANE_ASCII);
    Send(BGM_SETPOSITION, 0);
    GetCaretPos(&ascii0);
    Send(BGM_SETPANE, BGPANE_HEX);
    const int step = at1.x - at0.x, line = at16.y - at0.y;
    ASSERT_GT(step, 0);
    ASSERT_GT(line, 0);
    auto point = [&](int x, int y) { return MAKELPARAM(x, y); };

    // Press on byte 0x22 (row 2, column 2), drag to column 6, release.
    int y = at0.y + 2 * line + line / 2;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, point(at0.x + 2 * step + 1, y));
    EXPECT_EQ(Caret(), 0x22u);
    Send(WM_MOUSEMOVE, MK_LBUTTON, point(at0.x + 6 * step + 1, y));
    Send(WM_LBUTTONUP, 0, point(at0.x + 6 * step + 1, y));
    EXPECT_EQ(Send(BGM_GETSELSTART), 0x22);
    EXPECT_EQ(Send(BGM_GETSELLENGTH), 4);
    EXPECT_EQ(Last(BGN_POSCHANGED)->selLength, 4u);

    // Shift+click extends; a click in the ASCII pane moves there.
    Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, point(at0.x + 1, at0.y + 3 * line + line / 2));
    Send(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Send(BGM_GETSELSTART), 0x22);
    EXPECT_EQ(Caret(), 0x30u);
    const int charStep = step / 3;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, point(ascii0.x + 5 * charStep + 1, at0.y + line / 2));
    Send(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Send(BGM_GETPANE), BGPANE_ASCII);
    EXPECT_EQ(Caret(), 5u);
    EXPECT_EQ(Send(BGM_GETSELLENGTH), 0);
}

TEST_F(GridWindow, NotificationsWaitForTheHostToAskForThem)
{
    HWND quiet = CreateWindowExA(0, BYTEGRID_CLASSA, "Bytegrid", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, parent,
                                 reinterpret_cast<HMENU>(7), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(quiet, nullptr);
    ASSERT_EQ(SendMessageA(quiet, BGM_LOADFILE, reinterpret_cast<WPARAM>(path.c_str()), 0), 1);
    seen.clear();
    SendMessageA(quiet, BGM_SETPOSITION, 5, 0);
    SendMessageA(quiet, BGM_SETMODEFLAG, 1, 0);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(SendMessageA(quiet, BGM_SETOPTION, BGO_NOTIFY, 0), 0);
    EXPECT_EQ(SendMessageA(quiet, BGM_GETOPTION, 0, 0), BGO_NOTIFY);
    SendMessageA(quiet, BGM_SETPOSITION, 6, 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].code, BGN_POSCHANGED);
    EXPECT_EQ(seen[0].from, quiet);
    EXPECT_EQ(seen[0].id, 7u);
    EXPECT_EQ(seen[0].position, 6u);
    EXPECT_TRUE(seen[0].insertMode);
    DestroyWindow(quiet);
}

TEST_F(GridWindow, HundredMegabyteFileOpensWithoutACopyAndSavesInPlace)
{
    const ULONGLONG size = 100ull << 20;
    std::string big = folder.Path("big.bin");
    ASSERT_TRUE(bgtest::MakeLargeFile(big, size, {{0, "HEAD"}, {size / 2, "MIDDLE"}, {size - 10, "TAIL-MARK"}}));
    PROCESS_MEMORY_COUNTERS_EX before = {}, after = {};
    before.cb = after.cb = sizeof before;
    ASSERT_TRUE(K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&before),
                                        sizeof before));

    ASSERT_EQ(Send(BGM_LOADFILE, reinterpret_cast<WPARAM>(big.c_str())), 1) << Send(BGM_GETLASTERROR);
    EXPECT_EQ(Length(), size);
    Key(VK_END, true);
    EXPECT_EQ(Caret(), size);
    UpdateWindow(grid);
    Send(BGM_SETPOSITION, 0);
    DWORD at = 0;
    ASSERT_TRUE(Find(Bytes("tail-mark"), false, false, &at));
    EXPECT_EQ(at, size - 10);
    EXPECT_EQ(Shown(size / 2, 6), Bytes("MIDDLE"));

    ASSERT_TRUE(K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&after),
                                        sizeof after));
    // Committed private memory (what a copy of the file would take).
    EXPECT_LT(after.PagefileUsage, before.PagefileUsage + (32u << 20))
        << "the file is read through its mapping, not copied";

    // Change a byte in the middle and save over the file being shown.
    Send(BGM_SETPOSITION, size / 2);
    Send(BGM_SETPANE, BGPANE_ASCII);
    Type("m");
    ASSERT_EQ(Send(BGM_SAVEFILE, reinterpret_cast<WPARAM>(big.c_str())), 1) << Send(BGM_GETLASTERROR);
    EXPECT_EQ(bgtest::ReadAt(big, size / 2, 6), Bytes("mIDDLE"));
    EXPECT_EQ(bgtest::ReadAt(big, size - 10, 9), Bytes("TAIL-MARK"));
    EXPECT_EQ(bgtest::ReadAt(big, 0, 4), Bytes("HEAD"));
    std::vector<std::string> files = folder.Files();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"big.bin", "sample.bin"}));

    // The control now reads the saved file; undo still has the old byte.
    Send(BGM_SETPOSITION, 0);
    ASSERT_TRUE(Find(Bytes("MIDDLE"), false, false, &at));
    EXPECT_EQ(at, size / 2);
    EXPECT_EQ(Send(BGM_UNDO), 1);
    EXPECT_EQ(Shown(size / 2, 6), Bytes("MIDDLE"));
    Send(BGM_NEWFILE);
    EXPECT_EQ(Length(), 0u);
}

// Writes a 24-bit BMP of the window and returns its pixels.
std::vector<COLORREF> Screenshot(HWND w, const std::string& file)
{
    RECT rc;
    GetWindowRect(w, &rc);
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(dc, bmp);
    PrintWindow(w, dc, 0);
    SelectObject(dc, old);

    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof bi;
    bi.biWidth = width;
    bi.biHeight = height;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    bi.biCompression = BI_RGB;
    DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> bits(stride * static_cast<DWORD>(height));
    GetDIBits(dc, bmp, 0, static_cast<UINT>(height), bits.data(), reinterpret_cast<BITMAPINFO*>(&bi),
              DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi;
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(bits.size());
    HANDLE f = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        DWORD n;
        WriteFile(f, &fh, sizeof fh, &n, nullptr);
        WriteFile(f, &bi, sizeof bi, &n, nullptr);
        WriteFile(f, bits.data(), static_cast<DWORD>(bits.size()), &n, nullptr);
        CloseHandle(f);
    }
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const BYTE* p = &bits[static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3];
            pixels.push_back(RGB(p[2], p[1], p[0]));
        }
    return pixels;
}

TEST_F(GridWindow, PaintsOffsetsBytesSelectionAndEdits)
{
    ASSERT_EQ(GetFocus(), grid);
    Type("41"); // an edited byte is drawn in its own colour
    Send(BGM_SETSELECTION, 0x20, 16);
    UpdateWindow(grid);
    std::string file = std::string(QM_BIN_DIR) + "/../bytegrid-window.bmp";
    std::vector<COLORREF> pixels = Screenshot(grid, file);
    ASSERT_FALSE(pixels.empty());
    std::set<COLORREF> colours(pixels.begin(), pixels.end());
    EXPECT_GE(colours.size(), 4u) << "background, text, offset column, selection";
    EXPECT_TRUE(colours.count(GetSysColor(COLOR_HIGHLIGHT))) << "the focused selection is highlighted";
    EXPECT_TRUE(colours.count(RGB(200, 0, 0))) << "edited bytes are drawn in red";
    EXPECT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
