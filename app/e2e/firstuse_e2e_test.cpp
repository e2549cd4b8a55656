// What a new user meets in the running editor: the status bar following the
// active document, the save question of a new document, Copy Filepath, the
// font of the text, the default command-prompt tool, a file changed by
// another program, and printing on a machine without a printer.
#include "qmate_fixture.h"

#include <qmtest/screenshot.h>

#include <tlhelp32.h>

#include <cstdio>

namespace {

using e2e::QmateTest;
using qmtest::RemoteScintilla;

// Command ids of the commands posted here (the framework's and the editor's).
enum : UINT {
    kCmdFileNew = 0xE100,
    kCmdFilePrint = 0xE107,
    kCmdFilePrintPreview = 0xE109,
    kCmdCopyFilepath = 28000,
};

// Saves what a window of the program shows as <build>/screenshots/<name>.
std::string SaveWindowPng(HWND hwnd, const char* name)
{
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    std::string path = qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + name;
    if (!qmtest::SaveScreenPng(rc, path))
        ADD_FAILURE() << "no screenshot " << path;
    printf("screenshot: %s\n", path.c_str());
    return path;
}

// The fixture with one more step: answering the program's message box.
class FirstUseTest : public QmateTest {
protected:
    // Answers the next message box with a button; returns its text (empty
    // when none came).
    std::string AnswerBox(int button, DWORD timeoutMs = 10000)
    {
        HWND box = nullptr;
        if (!qmtest::WaitUntil([&] { return (box = m_prog.FindOtherWindow("#32770")) != nullptr; }, timeoutMs))
            return std::string();
        std::string text = DialogText(box);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        qmtest::WaitUntil([&] { return !IsWindow(box); }, 5000);
        return text;
    }
};

// The processes whose parent is pid and whose program is exe.
std::vector<DWORD> ChildProcesses(DWORD pid, const char* exe)
{
    std::vector<DWORD> out;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return out;
    PROCESSENTRY32 pe = {};
    pe.dwSize = sizeof(pe);
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe))
        if (pe.th32ParentProcessID == pid && lstrcmpiA(pe.szExeFile, exe) == 0)
            out.push_back(pe.th32ProcessID);
    CloseHandle(snap);
    return out;
}

// The caret pane shows the active document's caret and the mode pane its
// typing mode, after opening, switching, the Insert key and closing, for
// text and hex documents alike; with no document both are empty.
TEST_F(FirstUseTest, StatusBarFollowsTheActiveDocument)
{
    std::string a = WriteFile("a.txt", "first line\r\nsecond\r\n");
    std::string b = WriteFile("b.txt", "other text\r\n");
    std::string bytes(64, '\x01');
    std::string bin = WriteFile("c.bin", bytes);
    ASSERT_TRUE(Start("\"" + a + "\""));
    RemoteScintilla edA = EditorHolding("first line\r\nsecond\r\n");
    E2E_REQUIRE_EDITOR(edA);
    ASSERT_TRUE(FocusEditor(edA));
    qmtest::SendChord({VK_DOWN});
    qmtest::SendChord({VK_END});
    std::string pos;
    EXPECT_TRUE(qmtest::WaitUntil([&] { return (pos = StatusPane(1)) == "Ln  2 Col  6"; }, 5000)) << pos;
    EXPECT_EQ(StatusPane(2), "INS");

    // Ctrl+O, the name typed at once (the name box has the focus), Enter.
    qmtest::SendChord({VK_CONTROL, 'O'});
    HWND dlg = nullptr;
    ASSERT_TRUE(qmtest::WaitUntil([&] { return (dlg = m_prog.FindOtherWindow("#32770")) != nullptr; }, 10000));
    Sleep(500);
    qmtest::TypeText(std::wstring(b.begin(), b.end()) + L"\n");
    RemoteScintilla edB = EditorHolding("other text\r\n");
    ASSERT_TRUE(edB) << "the name typed into the open dialog opened nothing";
    EXPECT_TRUE(qmtest::WaitUntil([&] { return (pos = StatusPane(1)) == "Ln  1 Col  0"; }, 5000))
        << "after opening b.txt: " << pos;

    // Overtype in b: the mode pane empties.
    ASSERT_TRUE(FocusEditor(edB));
    qmtest::SendChord({VK_INSERT});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return StatusPane(2).empty(); }, 5000)) << StatusPane(2);
    qmtest::SendChord({VK_END});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return (pos = StatusPane(1)) == "Ln  1 Col 10"; }, 5000)) << pos;
    Sleep(300);
    SaveWindowPng(StatusBar(), "qmate-statusbar-overtype.png");

    // Ctrl+F6 goes to a: its caret, its insert mode.
    qmtest::SendChord({VK_CONTROL, VK_F6});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return (pos = StatusPane(1)) == "Ln  2 Col  6"; }, 5000))
        << "after switching to a.txt: " << pos;
    EXPECT_EQ(StatusPane(2), "INS");

    // A hex document shows its position; closing it gives a's state back.
    qmtest::SendChord({VK_CONTROL, VK_SHIFT, 'O'});
    ASSERT_TRUE(qmtest::WaitUntil([&] { return (dlg = m_prog.FindOtherWindow("#32770")) != nullptr; }, 10000));
    Sleep(500);
    qmtest::TypeText(std::wstring(bin.begin(), bin.end()) + L"\n");
    EXPECT_TRUE(qmtest::WaitUntil([&] { return (pos = StatusPane(1)).rfind("Pos: ", 0) == 0; }, 10000))
        << "with the hex document: " << pos;
    qmtest::SendChord({VK_CONTROL, VK_F4});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return (pos = StatusPane(1)).rfind("Ln ", 0) == 0; }, 5000)) << pos;
    // The text document that comes back brings its own mode: b is in overtype.
    std::string mode = pos == "Ln  1 Col 10" ? "" : "INS";
    EXPECT_TRUE(qmtest::WaitUntil([&] { return StatusPane(2) == mode; }, 5000))
        << "the mode after the hex document, at " << pos << ": [" << StatusPane(2) << "]";
    Sleep(300);
    SaveWindowPng(StatusBar(), "qmate-statusbar-after-switch.png");

    // Both text documents closed: empty panes.
    qmtest::SendChord({VK_CONTROL, VK_F4});
    Sleep(300);
    qmtest::SendChord({VK_CONTROL, VK_F4});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return Editors().empty(); }, 5000));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return StatusPane(1).empty() && StatusPane(2).empty(); }, 5000))
        << "[" << StatusPane(1) << "] [" << StatusPane(2) << "]";
    ASSERT_TRUE(Close());
}

// Closing a new, changed document asks about "Untitled1", without the
// modified mark of its title.
TEST_F(FirstUseTest, SaveQuestionOfANewDocumentNamesItWithoutTheMark)
{
    ASSERT_TRUE(Start());
    RemoteScintilla ed = EditorHolding("");
    E2E_REQUIRE_EDITOR(ed);
    ASSERT_TRUE(FocusEditor(ed));
    qmtest::TypeText(L"draft");
    ASSERT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "draft"; }, 5000));
    ASSERT_TRUE(qmtest::WaitUntil([&] { return AnyCaptionContains("Untitled1*"); }, 5000)) << CaptionList();
    qmtest::SendChord({VK_CONTROL, VK_F4});
    std::string text = AnswerBox(IDCANCEL);
    EXPECT_NE(text.find("Save changes to Untitled1?"), std::string::npos) << text;
    EXPECT_EQ(text.find('*'), std::string::npos) << text;
    EXPECT_TRUE(AnyCaptionContains("Untitled1*")) << "cancel keeps the document and its mark: " << CaptionList();
    ASSERT_TRUE(CloseDiscarding());
}

// Copy Filepath puts the document's full path on the clipboard.
TEST_F(FirstUseTest, CopyFilepathPutsThePathOnTheClipboard)
{
    std::string path = WriteFile("copied.txt", "copy my path\r\n");
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding("copy my path\r\n");
    E2E_REQUIRE_EDITOR(ed);
    ASSERT_TRUE(FocusEditor(ed));
    ASSERT_TRUE(qmtest::EmptyTheClipboard());
    PostCommand(kCmdCopyFilepath);
    std::string text;
    qmtest::WaitUntil([&] { return qmtest::ClipboardText(text) && !text.empty(); }, 5000, 100);
    EXPECT_EQ(e2e::Lower(text), e2e::Lower(path));
    ASSERT_TRUE(Close());
}

// The configured "Courier New" is missing under Wine: the text is drawn
// with an installed fixed-pitch face, not a proportional stand-in.
TEST_F(FirstUseTest, TextIsDrawnWithAFixedPitchFace)
{
    const std::string text = "iiiiiiii|\r\nWWWWWWWW|\r\n";
    std::string path = WriteFile("pitch.txt", text);
    HWND main = Start("\"" + path + "\"");
    ASSERT_TRUE(main);
    RemoteScintilla ed = EditorHolding(text);
    E2E_REQUIRE_EDITOR(ed);
    std::string face = ed.StyleFont(32); // STYLE_DEFAULT
    ASSERT_FALSE(face.empty());
    // Both lines end at the same column of pixels only in a fixed-pitch face.
    const UINT kPointXFromPosition = 2164;
    LRESULT x1 = ed.Send(kPointXFromPosition, 0, 8);
    LRESULT lineTwo = ed.Send(2167 /* SCI_POSITIONFROMLINE */, 1);
    LRESULT x2 = ed.Send(kPointXFromPosition, 0, lineTwo + 8);
    EXPECT_EQ(x1, x2) << "the face \"" << face << "\" is proportional";
    SetWindowPos(main, HWND_TOP, 0, 0, 900, 600, SWP_SHOWWINDOW);
    Sleep(1000);
    printf("face: %s\n", face.c_str());
    SaveWindowPng(ed.Handle(), "qmate-editor-font.png");
    ASSERT_TRUE(Close());
}

// The default first tool, the command prompt, run with its output captured,
// ends by itself: no cmd.exe stays behind waiting for input.
TEST_F(FirstUseTest, CapturedCommandPromptToolEndsWithoutStop)
{
    ASSERT_TRUE(Start());
    // Tools menu from the keyboard, then its first tool (the command prompt).
    ASSERT_TRUE(OpenMenuFromKeyboard('T')) << "Alt, T opened no Tools menu";
    Sleep(300);
    qmtest::SendChord({VK_HOME});
    qmtest::SendChord({VK_RETURN});
    bool started = qmtest::WaitUntil([&] { return !ChildProcesses(m_prog.Pid(), "cmd.exe").empty(); }, 10000, 50);
    bool ended = qmtest::WaitUntil([&] { return ChildProcesses(m_prog.Pid(), "cmd.exe").empty(); }, 20000, 100);
    EXPECT_TRUE(ended) << "cmd.exe still runs" << (started ? "" : " (it was not seen starting)");
    ASSERT_TRUE(Close());
}

// Saving over a file another program changed since it was opened asks
// first; No keeps that program's text and the document's changes.
TEST_F(FirstUseTest, SavingOverAFileChangedOnDiskAsksFirst)
{
    std::string path = WriteFile("shared.txt", "mine\r\n");
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding("mine\r\n");
    E2E_REQUIRE_EDITOR(ed);
    ASSERT_TRUE(FocusEditor(ed));
    ed.Send(RemoteScintilla::kDocumentEnd);
    qmtest::TypeText(L"typed");
    ASSERT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "mine\r\ntyped"; }, 5000)) << ed.Text();
    ASSERT_TRUE(qmtest::WriteWholeFile(path, "theirs, written by another program\r\n"));

    qmtest::SendChord({VK_CONTROL, 'S'});
    std::string text = AnswerBox(IDNO);
    EXPECT_NE(text.find("changed by another program"), std::string::npos) << text;
    EXPECT_NE(e2e::Lower(text).find("shared.txt"), std::string::npos) << text;
    Sleep(300);
    EXPECT_EQ(qmtest::ReadWholeFile(path), "theirs, written by another program\r\n");
    EXPECT_TRUE(ed.Modified());

    qmtest::SendChord({VK_CONTROL, 'S'});
    text = AnswerBox(IDYES);
    EXPECT_NE(text.find("changed by another program"), std::string::npos) << text;
    EXPECT_EQ(WaitForFile(path, "mine\r\ntyped"), "mine\r\ntyped");
    ASSERT_TRUE(Close());
}

// Wine has no printer: Print Preview and Print say so once, and no empty
// preview opens.
TEST_F(FirstUseTest, WithoutAPrinterPrintingSaysSoOnce)
{
    std::string path = WriteFile("print.txt", "to print\r\n");
    ASSERT_TRUE(Start("\"" + path + "\""));
    E2E_REQUIRE_EDITOR(EditorHolding("to print\r\n"));
    for (UINT cmd : {kCmdFilePrintPreview, kCmdFilePrint}) {
        SCOPED_TRACE(cmd);
        PostCommand(cmd);
        std::string text = AnswerBox(IDOK);
        if (text.empty() && !m_prog.FindOtherWindow())
            GTEST_SKIP() << "platform limit: this Wine prefix has a printer, so the no-printer path cannot be reached";
        EXPECT_NE(text.find("No printers are installed"), std::string::npos) << text;
        Sleep(1000);
        HWND other = m_prog.FindOtherWindow();
        EXPECT_FALSE(other) << "a second window: \"" << qmtest::WindowTextOf(other) << "\"";
        EXPECT_TRUE(Editors().size() == 1) << "the document view is still there, no preview replaced it";
    }
    ASSERT_TRUE(Close());
}

} // namespace
