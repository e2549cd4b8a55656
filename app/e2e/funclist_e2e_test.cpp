// End to end: the Function List pane of the real Qmate.exe on a fresh key and
// folder. The pane's list box is read back with LB_GETTEXT; the user's side is
// real input (keys typed into the editor, double clicks on the list).
#include "qmate_fixture.h"

#include <qmtest/filenames.h>
#include <qmtest/screenshot.h>
#include <qmtest/walllimit.h>

#include <functional>

using namespace e2e;

namespace {

enum : UINT {
    kSciGotoPos = 2025,
    kSciGetCurrentPos = 2008,
    kSciLineFromPos = 2166,
    kSciSetSel = 2160,
    kSciPositionFromLine = 2167,
    kSciDocumentEnd = 2318,
    kPaneFunctionList = 59599,
    kCmdViewAsFirst = 25102,
    kCmdRefreshFunctionList = 6011,
    kCmdFileClose = 0xE102,
};

const char kSource[] =
    "// a small program\n"
    "#include <stdio.h>\n"
    "\n"
    "int alpha(int a)\n"
    "{\n"
    "    return a;\n"
    "}\n"
    "\n"
    "static void beta(const char* s,\n"
    "                 int n)\n"
    "{\n"
    "    printf(\"%s %d\\n\", s, n);\n"
    "}\n"
    "\n"
    "int gamma(void)\n"
    "{\n"
    "    return 0;\n"
    "}\n";

typedef std::vector<std::string> Names;

class FunctionListTest : public QmateTest {
protected:
    // The pane's list box (control id 59599 below the main frame).
    HWND List() const
    {
        for (HWND h : qmtest::DescendantsOfClass(Main(), "ListBox"))
            if (GetDlgCtrlID(h) == (int)kPaneFunctionList)
                return h;
        return nullptr;
    }

    static LRESULT Ask(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0)
    {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(h, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result))
            return -2;
        return (LRESULT)result;
    }

    // Item i, asked for as wide text: the list box of the other process
    // answers LB_GETTEXT in its own width, which the W call converts.
    std::string ItemAt(LRESULT i) const
    {
        HWND list = List();
        wchar_t buf[512] = L"";
        DWORD_PTR len = 0;
        if (list && Ask(list, LB_GETTEXTLEN, (WPARAM)i) < 511)
            SendMessageTimeoutW(list, LB_GETTEXT, (WPARAM)i, (LPARAM)buf, SMTO_ABORTIFHUNG, 5000, &len);
        char utf8[1024] = "";
        WideCharToMultiByte(CP_UTF8, 0, buf, -1, utf8, sizeof(utf8), nullptr, nullptr);
        return utf8;
    }

    Names Items() const
    {
        Names items;
        HWND list = List();
        LRESULT n = list ? Ask(list, LB_GETCOUNT) : 0;
        for (LRESULT i = 0; i < n; i++)
            items.push_back(ItemAt(i));
        return items;
    }

    static std::string Show(const Names& names)
    {
        std::string s;
        for (const std::string& n : names)
            s += "[" + n + "] ";
        return s;
    }

    bool WaitItems(const Names& names, DWORD timeoutMs = 20000)
    {
        return qmtest::WaitUntil([&] { return Items() == names; }, timeoutMs, 50);
    }

    int CurSel() const { return (int)Ask(List(), LB_GETCURSEL); }

    // The editing window of a large document, once it holds all its bytes
    // (a minute at most); none when it does not.
    RemoteScintilla EditorOfLength(size_t nBytes) const
    {
        RemoteScintilla ed;
        qmtest::WaitUntil(
            [&] {
                for (HWND h : Editors())
                    if (RemoteScintilla(h).Length() == (LRESULT)nBytes)
                        ed = RemoteScintilla(h);
                return (bool)ed;
            },
            60000);
        return ed;
    }

    // A real double click (or one click) on item i of the list.
    void ClickItem(int i, bool bDouble)
    {
        HWND list = List();
        LRESULT top = Ask(list, LB_GETTOPINDEX);
        LRESULT height = Ask(list, LB_GETITEMHEIGHT, 0);
        POINT pt = {8, (int)((i - top) * height + height / 2)};
        ClientToScreen(list, &pt);
        SetCursorPos(pt.x, pt.y);
        std::vector<INPUT> ins;
        for (int n = 0; n < (bDouble ? 2 : 1); n++)
            for (DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
                INPUT in = {};
                in.type = INPUT_MOUSE;
                in.mi.dwFlags = flag;
                ins.push_back(in);
            }
        SendInput((UINT)ins.size(), ins.data(), sizeof(INPUT));
    }

    HWND FocusOf(HWND h) const
    {
        GUITHREADINFO gti = {};
        gti.cbSize = sizeof(gti);
        DWORD tid = GetWindowThreadProcessId(h, nullptr);
        return GetGUIThreadInfo(tid, &gti) ? gti.hwndFocus : nullptr;
    }

    // A C routine in a .txt file: plain text, which has no patterns.
    void OpenCAsPlainText()
    {
        const char kText[] = "int alpha(int a)\n{\n    return a;\n}\n";
        std::string path = WriteFile("notes.txt", kText);
        ASSERT_TRUE(Start("\"" + path + "\""));
        ASSERT_TRUE(EditorHolding(kText));
        ASSERT_TRUE(qmtest::WaitUntil([&] { return List() != nullptr; }, 10000)) << "no function list window";
        ASSERT_TRUE(WaitItems({"Language not supported"})) << Show(Items());
    }

    void Shot(const char* name)
    {
        RedrawWindow(Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Sleep(500);
        RECT rc;
        GetWindowRect(Main(), &rc);
        std::string shot = qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + name;
        EXPECT_TRUE(qmtest::SaveScreenPng(rc, shot)) << shot;
        printf("screenshot: %s\n", shot.c_str());
    }
};

TEST_F(FunctionListTest, ThePaneListsFollowsAndJumps)
{
    std::string path = WriteFile("demo.cpp", kSource);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding(kSource);
    ASSERT_TRUE(ed);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return List() != nullptr; }, 10000)) << "no function list window";
    ASSERT_TRUE(WaitItems({"alpha", "beta", "gamma"})) << Show(Items());
    Shot("funclist-pane.png");

    // A typed function appears.
    ASSERT_TRUE(FocusEditor(ed));
    ed.Send(kSciDocumentEnd);
    qmtest::TypeText(L"\nint delta(int x)\n{\nreturn x;\n}\n");
    ASSERT_TRUE(WaitItems({"alpha", "beta", "gamma", "delta"})) << Show(Items());

    // A deleted one goes: beta's lines selected and deleted with the key.
    std::string text = ed.Text();
    size_t from = text.find("static void beta");
    size_t to = text.find("int gamma");
    ASSERT_NE(std::string::npos, from);
    ed.Send(kSciSetSel, from, to);
    qmtest::SendChord({VK_DELETE});
    ASSERT_TRUE(WaitItems({"alpha", "gamma", "delta"})) << Show(Items());

    // The selection follows the caret: in the second routine, outside all.
    text = ed.Text();
    ed.Send(kSciGotoPos, text.find("return 0"));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return CurSel() == 1; }, 5000)) << CurSel();
    ed.Send(kSciGotoPos, text.find("#include"));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return CurSel() == -1; }, 5000)) << CurSel();

    // While the list has the focus the selection stays where the user put it.
    ClickItem(0, false);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return FocusOf(List()) == List() && CurSel() == 0; }, 5000));
    ed.Send(kSciGotoPos, text.find("return x"));
    qmtest::WaitUntil([] { return false; }, 300);
    EXPECT_EQ(0, CurSel());

    // A double click puts the caret on the routine's header line and the
    // focus in the editor.
    ClickItem(2, true);
    LRESULT headerLine = 0;
    for (size_t p = 0; p < text.find("int delta"); p++)
        headerLine += text[p] == '\n';
    EXPECT_TRUE(qmtest::WaitUntil([&] { return FocusOf(ed.Handle()) == ed.Handle(); }, 5000));
    LRESULT caret = ed.Send(kSciGetCurrentPos);
    EXPECT_EQ(headerLine, ed.Send(kSciLineFromPos, (WPARAM)caret));
    EXPECT_EQ(ed.Send(kSciPositionFromLine, (WPARAM)headerLine), caret);
    Shot("funclist-after-jump.png");

    CloseDiscarding();
}

// Each kind of file gets its language's patterns from the shipped language
// files; plain text has none.
TEST_F(FunctionListTest, TheShippedLanguagesChooseThePatterns)
{
    struct Case {
        const char* file;
        const char* text;
        Names names;
    } cases[] = {
        {"prog.c", "int main(void)\n{\n    return 0;\n}\n", {"main"}},
        {"tool.py", "import os\n\ndef run(args):\n    pass\n\nclass K:\n    def go(self):\n        pass\n", {"run", "go"}},
        {"app.rc", "IDD_MAIN DIALOG 0, 0, 10, 10\nBEGIN\nEND\n", {"IDD_MAIN"}},
        {"notes.txt", "int alpha(int a)\n{\n}\n", {"Language not supported"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string path = WriteFile(c.file, c.text);
        ASSERT_TRUE(Start("\"" + path + "\""));
        ASSERT_TRUE(EditorHolding(c.text));
        ASSERT_TRUE(qmtest::WaitUntil([&] { return List() != nullptr; }, 10000)) << "no function list window";
        EXPECT_TRUE(WaitItems(c.names)) << Show(Items());
        if (c.names == Names{"Language not supported"})
            EXPECT_EQ(-1, Ask(List(), LB_GETITEMDATA, 0));
        ASSERT_TRUE(Close());
    }
}

// View As changes the language without changing the text: Refresh Function
// List scans again with the new language's patterns.
TEST_F(FunctionListTest, RefreshAfterViewAsUsesTheNewLanguage)
{
    ASSERT_NO_FATAL_FAILURE(OpenCAsPlainText());
    // The languages are listed in the order of their files' names.
    const Names files = qmtest::FileNamesIn(Slashes(QM_BIN_DIR "/Config"), "*.config");
    auto c = std::find(files.begin(), files.end(), "c.config");
    ASSERT_NE(files.end(), c);
    PostCommand(kCmdViewAsFirst + (UINT)(c - files.begin()));
    PostCommand(kCmdRefreshFunctionList);
    EXPECT_TRUE(WaitItems({"alpha"})) << Show(Items());
    CloseDiscarding();
}

// Save As under another extension changes the document's language: the list
// follows at once, with no edit and no Refresh.
TEST_F(FunctionListTest, SaveAsUnderAnotherLanguageListsAtOnce)
{
    ASSERT_NO_FATAL_FAILURE(OpenCAsPlainText());
    PostCommand(e2e::kCmdFileSaveAs);
    std::string why;
    ASSERT_TRUE(DriveSaveDialog(File("notes.cpp"), e2e::kAnsi, e2e::kLf, why)) << why;
    EXPECT_TRUE(WaitItems({"alpha"})) << Show(Items());
    ASSERT_TRUE(Close());
}

// Double clicks on the list while typing in a 5 MB file, then WM_CLOSE: the
// frame keeps answering and the program ends cleanly.
TEST_F(FunctionListTest, DoubleClicksWhileTypingInALargeFileThenClose)
{
    std::string big;
    for (int i = 0; big.size() < 5u * 1024 * 1024; i++) {
        std::string n = std::to_string(i);
        big += "/* Routine " + n + " of the generated file; it adds { two } numbers. */\n";
        big += "int routine_" + n + "(int a, int b)\n{\n    int sum = a + b; // \"sum\"\n    return sum;\n}\n\n";
    }
    std::string path = WriteFile("big.cpp", big);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorOfLength(big.size());
    ASSERT_TRUE(ed) << "the document did not show";
    ASSERT_TRUE(qmtest::WaitUntil([&] { return List() != nullptr && Ask(List(), LB_GETCOUNT) > 1000; }, 60000))
        << "the list was not filled";
    ASSERT_TRUE(FocusEditor(ed));
    for (int round = 0; round < 10; round++) {
        // A line typed at the top; the caret ends on the next line.
        ed.Send(kSciGotoPos, 0);
        qmtest::TypeText(L"int typed_" + std::to_wstring(round) + L"(void) { }\n");
        ASSERT_TRUE(qmtest::WaitUntil([&] { return ed.Send(kSciLineFromPos, ed.Send(kSciGetCurrentPos)) == 1; },
                                      10000));
        // A double click on an item near the top jumps away from the end.
        ed.Send(kSciDocumentEnd);
        LRESULT end = ed.Send(kSciGetCurrentPos);
        ClickItem(round % 5, true);
        EXPECT_TRUE(qmtest::WaitUntil(
            [&] { return ed.Send(kSciGetCurrentPos) != end && FocusOf(ed.Handle()) == ed.Handle(); }, 10000))
            << "round " << round;
        // The frame answers within a second.
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutA(Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result))
            << "the frame did not answer in round " << round;
    }
    // The list caught up with the typing (the last line typed is the first).
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ItemAt(0) == "typed_9"; }, 30000)) << ItemAt(0);
    DWORD_PTR result = 0;
    ASSERT_TRUE(SendMessageTimeoutA(Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result));
    ASSERT_TRUE(CloseDiscarding());
    EXPECT_EQ(0u, m_prog.ExitCode());
}

// A file of one line of 2 MB (identifiers thousands of characters long, no
// parenthesis after them, then two routines at the end): the scan goes
// through the line a piece at a time, so the frame answers every message
// from the moment the document shows until the list holds the routines;
// typed keys and the End key reach the document while a new scan runs, and
// the document closes with a scan under way, then the program, cleanly.
TEST_F(FunctionListTest, AOneLineFileOfMegabytesKeepsTheFrameAnswering)
{
    std::string line;
    while (line.size() < 2u * 1024 * 1024)
        line += std::string(6000, 'a') + " = " + std::string(2000, 'b') + "; ";
    line += "int first(int a) { return a; } int second(void) { }";
    std::string path = WriteFile("oneline.c", line);
    qmtest::WallLimit limit("Qmate.exe scanning a file of one 2 MB line", std::chrono::seconds(600));
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorOfLength(line.size());
    ASSERT_TRUE(ed) << "the document did not show";
    ASSERT_TRUE(qmtest::WaitUntil([&] { return List() != nullptr; }, 10000)) << "no function list window";
    // The frame answers within a second, again and again, while something
    // is under way (for two minutes at most).
    auto answersWhile = [&](const std::function<bool()>& busy, const char* what) {
        const ULONGLONG end = GetTickCount64() + 120000;
        for (int nAnswers = 0;; nAnswers++) {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutA(Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result)) {
                ADD_FAILURE() << "the frame did not answer within a second " << what << ", after " << nAnswers
                              << " answers";
                return false;
            }
            if (!busy())
                return true;
            if (GetTickCount64() > end) {
                ADD_FAILURE() << "still not done after two minutes: " << what;
                return false;
            }
            Sleep(50);
        }
    };
    const Names routines = {"first", "second"};
    ASSERT_TRUE(answersWhile([&] { return Items() != routines; }, "while the list was made"));

    // Typing at the start starts a new scan; the keys and the End key are
    // taken while it runs.
    ASSERT_TRUE(FocusEditor(ed));
    ed.Send(kSciGotoPos, 0);
    qmtest::TypeText(L"int typed(int t) { } ");
    const LRESULT nTyped = (LRESULT)line.size() + 21;
    ASSERT_TRUE(answersWhile([&] { return ed.Length() != nTyped; }, "while keys were typed"));
    qmtest::SendChord({VK_END});
    ASSERT_TRUE(answersWhile([&] { return ed.Send(kSciGetCurrentPos) != nTyped; }, "while the caret moved to the end"));
    ASSERT_TRUE(answersWhile([&] { return Items() != Names{"typed", "first", "second"}; }, "while the list was made again"))
        << Show(Items());

    // A change, and the document closed (its change discarded) while the
    // scan of the change runs; then the program.
    qmtest::TypeText(L" ");
    ASSERT_TRUE(answersWhile([&] { return ed.Length() != nTyped + 1; }, "while a key was typed"));
    PostCommand(kCmdFileClose);
    ASSERT_TRUE(answersWhile(
        [&] {
            if (HWND box = m_prog.FindOtherWindow("#32770"))
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
            return !Editors().empty();
        },
        "while the document closed"));
    ASSERT_TRUE(Close());
    EXPECT_EQ(0u, m_prog.ExitCode());
}

} // namespace
