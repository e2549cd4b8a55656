// The text view's commands in the running editor: the edit keys typed into a
// document, View As switching the language (by its entries and by its dialog),
// a macro recorded and played through its dialogs, and an HTML Tidy run with
// the option files the program ships.
#include "qmate_fixture.h"

#include <qmtest/screenshot.h>

namespace {

using e2e::QmateTest;
using qmtest::RemoteScintilla;

// Command ids and controls the tests use.
enum : UINT {
    kCmdViewAsFirst = 25102,
    kCmdViewAsMore = 25128,
    kCmdTidyXml = 1307,
    kCmdMacroRecord = 6025,
    kCmdMacroStop = 6012,
    kCmdMacroPlay = 6013,
    kViewAsList = 1009,
    kViewAsEntries = 21, // the View As menu lists the first 21 languages
    kNewMacroName = 6019,
    kMacroList = 6018,
    kMacroRun = 6015,
};

// Editing-component messages read from the outside.
enum : UINT {
    kGetSelectionStart = 2143,
    kGetSelectionEnd = 2145,
    kSetSel = 2160,
    kGetLexer = 4002,
    kLexerCpp = 3,
};

// A line of C++ that the language colours in several colours.
const char kCppText[] = "int main() { return 0; } // done\r\n";

class EditingTest : public QmateTest {
protected:
    // Starts the editor on a C++ file and waits for its editing window,
    // coloured as C++.
    RemoteScintilla StartOnCppFile(const std::string& name, const std::string& text)
    {
        std::string path = WriteFile(name, text);
        if (!Start("\"" + path + "\""))
            return RemoteScintilla();
        RemoteScintilla ed = EditorHolding(text);
        EXPECT_TRUE(ed) << "no editing window";
        if (ed) {
            EXPECT_EQ(ed.Send(kGetLexer), kLexerCpp);
        }
        return ed;
    }

    // The visible popup menus of the program.
    std::vector<HWND> Popups() const
    {
        std::vector<HWND> popups;
        for (HWND top : qmtest::TopLevelWindowsOf(m_prog.Pid()))
            if (qmtest::WindowClassOf(top) == "QXPPopupBar" || qmtest::WindowClassOf(top) == "#32768")
                popups.push_back(top);
        return popups;
    }

    std::string UserFolder() const { return m_work + "\\Local\\Fernbright\\Quillmate"; }

    // A dialog of the program with that caption.
    HWND WaitForDialog(const std::string& caption)
    {
        HWND dlg = nullptr;
        qmtest::WaitUntil(
            [&] {
                dlg = m_prog.FindOtherWindow("#32770");
                return dlg != nullptr && qmtest::WindowTextOf(dlg) == caption;
            },
            15000);
        if (dlg == nullptr || qmtest::WindowTextOf(dlg) != caption) {
            ADD_FAILURE() << "no dialog \"" << caption << "\" appeared";
            return nullptr;
        }
        return dlg;
    }

    static void Click(HWND dlg, int id)
    {
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
    }

    // The lines of a list box of another process (as UTF-8), read through
    // the wide message, which the system marshals between processes.
    static std::vector<std::string> ListLines(HWND list)
    {
        std::vector<std::string> lines;
        LRESULT n = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            wchar_t text[256] = L"";
            if (SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) < 255)
                SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            char utf8[1024] = "";
            WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
            lines.push_back(utf8);
        }
        return lines;
    }

    static int IndexOf(const std::vector<std::string>& lines, const std::string& line)
    {
        auto it = std::find(lines.begin(), lines.end(), line);
        return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
    }

    // The View As dialog's list and selection (the frame's language index);
    // the dialog is cancelled.
    std::vector<std::string> ViewAsChoices(int& nSelected)
    {
        nSelected = -2;
        PostCommand(kCmdViewAsMore);
        HWND dlg = WaitForDialog("View As ...");
        if (!dlg)
            return {};
        std::vector<std::string> lines = ListLines(GetDlgItem(dlg, kViewAsList));
        nSelected = static_cast<int>(SendDlgItemMessageA(dlg, kViewAsList, LB_GETCURSEL, 0, 0));
        Click(dlg, IDCANCEL);
        EXPECT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(dlg); }, 10000));
        return lines;
    }

    static void SelectLine(HWND dlg, int listId, int line)
    {
        HWND list = GetDlgItem(dlg, listId);
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }

    void Shot(HWND hwnd, const char* name)
    {
        RECT rc;
        GetWindowRect(hwnd, &rc);
        std::string shot = qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + name;
        EXPECT_TRUE(qmtest::SaveScreenPng(rc, shot)) << shot;
        printf("screenshot: %s\n", shot.c_str());
    }
};

// Ctrl+A, C, V, X and Z typed into a document do what they say.
TEST_F(EditingTest, EditKeysTypedIntoADocumentWork)
{
    std::string path = WriteFile("keys.txt", "alpha beta");
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding("alpha beta");
    ASSERT_TRUE(ed) << "no editing window";
    ASSERT_TRUE(FocusEditor(ed));

    qmtest::SendChord({VK_CONTROL, 'A'});
    ASSERT_TRUE(qmtest::WaitUntil(
        [&] { return ed.Send(kGetSelectionStart) == 0 && ed.Send(kGetSelectionEnd) == 10; }, 5000))
        << "Ctrl+A selected " << ed.Send(kGetSelectionStart) << ".." << ed.Send(kGetSelectionEnd);
    qmtest::SendChord({VK_CONTROL, 'C'});
    Sleep(300);
    ed.Send(RemoteScintilla::kDocumentEnd);
    qmtest::SendChord({VK_CONTROL, 'V'});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "alpha betaalpha beta"; }, 5000))
        << "after Ctrl+V: [" << ed.Text() << "]";
    qmtest::SendChord({VK_CONTROL, 'Z'});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "alpha beta"; }, 5000)) << "after Ctrl+Z: [" << ed.Text() << "]";

    ed.Send(kSetSel, 0, 6);
    qmtest::SendChord({VK_CONTROL, 'X'});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "beta"; }, 5000)) << "after Ctrl+X: [" << ed.Text() << "]";
    ed.Send(RemoteScintilla::kDocumentEnd);
    qmtest::SendChord({VK_CONTROL, 'V'});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "betaalpha "; }, 5000)) << "after Ctrl+V: [" << ed.Text() << "]";

    // Case, line and swap keys.
    qmtest::SendChord({VK_CONTROL, 'A'});
    qmtest::SendChord({VK_CONTROL, VK_SHIFT, 'U'});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "BETAALPHA "; }, 5000)) << "after Ctrl+Shift+U: [" << ed.Text() << "]";
    qmtest::SendChord({VK_CONTROL, 'U'});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "betaalpha "; }, 5000)) << "after Ctrl+U: [" << ed.Text() << "]";
    ed.Send(RemoteScintilla::kDocumentEnd);
    qmtest::TypeText(L"\nsecond");
    ASSERT_TRUE(qmtest::WaitUntil([&] { return ed.Text().find("second") != std::string::npos; }, 5000));
    const std::string eol = ed.Text().substr(10, ed.Text().size() - 16);
    qmtest::SendChord({VK_CONTROL, 'T'});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "second" + eol + "betaalpha "; }, 5000))
        << "after Ctrl+T: [" << ed.Text() << "]";
    qmtest::SendChord({VK_CONTROL, 'L'});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "second" + eol; }, 5000)) << "after Ctrl+L: [" << ed.Text() << "]";
    ASSERT_TRUE(CloseDiscarding());
}

// View As: the More ... dialog lists the languages and switches to the
// chosen one; an entry of the View As menu switches back.
TEST_F(EditingTest, ViewAsSwitchesTheLanguage)
{
    const std::string text = kCppText;
    RemoteScintilla ed = StartOnCppFile("code.cpp", text);
    ASSERT_TRUE(ed);
    HWND main = Main();
    qmtest::BringToForeground(main);
    SetWindowPos(main, HWND_TOP, 0, 0, 900, 600, SWP_SHOWWINDOW);
    Sleep(800);
    const size_t nCppColours = qmtest::DistinctColours(qmtest::CaptureWindow(ed.Handle()));

    PostCommand(kCmdViewAsMore);
    HWND dlg = WaitForDialog("View As ...");
    ASSERT_TRUE(dlg);
    // Every language the program knows, the current one selected.
    std::vector<std::string> lines = ListLines(GetDlgItem(dlg, kViewAsList));
    const int nText = IndexOf(lines, "Text");
    const int nCpp = IndexOf(lines, "C++");
    ASSERT_GE(nText, 0);
    ASSERT_GE(nCpp, 0);
    ASSERT_LT(nCpp, static_cast<int>(kViewAsEntries)) << "C++ has a View As entry";
    EXPECT_EQ(SendDlgItemMessageA(dlg, kViewAsList, LB_GETCURSEL, 0, 0), nCpp) << "the current language is selected";
    Shot(dlg, "view-as-dialog.png");
    SelectLine(dlg, kViewAsList, nText);
    Click(dlg, IDOK);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(dlg); }, 10000));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Send(kGetLexer) != kLexerCpp; }, 5000));
    Sleep(800);
    Shot(ed.Handle(), "view-as-text.png");
    EXPECT_LT(qmtest::DistinctColours(qmtest::CaptureWindow(ed.Handle())), nCppColours)
        << "plain text shows fewer colours than C++";

    PostCommand(kCmdViewAsFirst + static_cast<UINT>(nCpp));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Send(kGetLexer) == kLexerCpp; }, 5000));
    EXPECT_EQ(ed.Text(), text);
    ASSERT_TRUE(Close());
}

// The View As menu lists the languages (the current one checked) in place of
// its placeholder; an entry picked with the keyboard switches the language.
TEST_F(EditingTest, ViewAsMenuListsTheLanguages)
{
    RemoteScintilla ed = StartOnCppFile("menu.cpp", kCppText);
    ASSERT_TRUE(ed);
    HWND main = Main();
    int nCpp = -2;
    const std::vector<std::string> languages = ViewAsChoices(nCpp);
    ASSERT_GE(languages.size(), 2u);
    ASSERT_EQ(languages[static_cast<size_t>(nCpp)], "C++");
    // The entry to pick: the first that is not the current one.
    const int nPick = nCpp == 0 ? 1 : 0;
    ASSERT_TRUE(FocusEditor(ed));
    SetWindowPos(main, HWND_TOP, 0, 0, 900, 650, SWP_SHOWWINDOW);
    Sleep(300);

    // Alt, V opens the View menu; A its View As popup.
    qmtest::SendChord({VK_MENU});
    Sleep(300);
    qmtest::SendChord({'V'});
    ASSERT_TRUE(qmtest::WaitUntil([&] { return m_prog.FindOtherWindow("QXPPopupBar") != nullptr; }, 10000))
        << "Alt+V opened no menu";
    Sleep(300);
    qmtest::SendChord({'A'});
    std::vector<HWND> popups;
    qmtest::WaitUntil([&] { return (popups = Popups()).size() >= 2; }, 10000);
    ASSERT_GE(popups.size(), 2u) << "the View As popup did not open";
    Sleep(500);
    RECT rc, rcPopup;
    GetWindowRect(main, &rc);
    for (HWND p : popups) {
        GetWindowRect(p, &rcPopup);
        UnionRect(&rc, &rc, &rcPopup);
    }
    std::string shot = qmtest::ScreenshotDir(QM_BIN_DIR) + "/view-as-menu.png";
    EXPECT_TRUE(qmtest::SaveScreenPng(rc, shot)) << shot;
    printf("screenshot: %s\n", shot.c_str());
    // The languages come first, in their list order.
    for (int i = 0; i <= nPick; ++i) {
        qmtest::SendChord({VK_DOWN});
        Sleep(150);
    }
    qmtest::SendChord({VK_RETURN});
    ASSERT_TRUE(qmtest::WaitUntil([&] { return Popups().empty(); }, 5000)) << "the menu stayed open";
    int nNow = -2;
    ViewAsChoices(nNow);
    EXPECT_EQ(nNow, nPick) << "the entry picked in the menu is the document's language now";
    ASSERT_TRUE(Close());
}

// The editor's context menu runs the view's commands: Select All by its
// access key, then Comment.
TEST_F(EditingTest, ContextMenuRunsTheViewsCommands)
{
    RemoteScintilla ed = StartOnCppFile("context.cpp", "int a;\r\nint b;");
    ASSERT_TRUE(ed);
    ASSERT_TRUE(FocusEditor(ed));
    auto openMenu = [&] {
        PostMessageA(ed.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(120, 8));
        return qmtest::WaitUntil([&] { return !Popups().empty(); }, 10000);
    };
    ASSERT_TRUE(openMenu()) << "no context menu";
    Sleep(300);
    qmtest::SendChord({'A'});
    EXPECT_TRUE(qmtest::WaitUntil(
        [&] { return ed.Send(kGetSelectionStart) == 0 && ed.Send(kGetSelectionEnd) == ed.Length(); }, 5000))
        << "Select All from the context menu selected " << ed.Send(kGetSelectionStart) << ".." << ed.Send(kGetSelectionEnd);
    ASSERT_TRUE(openMenu()) << "no context menu";
    Sleep(300);
    qmtest::SendChord({'M'});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "// int a;\r\n// int b;"; }, 5000)) << "[" << ed.Text() << "]";
    ASSERT_TRUE(CloseDiscarding());
}

// A macro recorded under a name through the naming dialog is stored in
// macros.xml and plays back in another document through the Macros dialog.
TEST_F(EditingTest, AMacroIsRecordedAndPlayed)
{
    std::string first = WriteFile("first.txt", "");
    std::string second = WriteFile("second.txt", "x");
    ASSERT_TRUE(Start("\"" + first + "\""));
    RemoteScintilla ed = EditorHolding("");
    ASSERT_TRUE(ed) << "no editing window";

    PostCommand(kCmdMacroRecord);
    HWND dlg = WaitForDialog("New Macro");
    ASSERT_TRUE(dlg);
    SetDlgItemTextA(dlg, kNewMacroName, "greet");
    Click(dlg, IDOK);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(dlg); }, 10000));
    ASSERT_TRUE(FocusEditor(ed));
    qmtest::TypeText(L"hi ");
    ASSERT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "hi "; }, 5000)) << "[" << ed.Text() << "]";
    PostCommand(kCmdMacroStop);
    std::string macros;
    EXPECT_TRUE(qmtest::WaitUntil(
        [&] {
            macros = qmtest::ReadWholeFile(UserFolder() + "\\macros.xml");
            return macros.find("name=\"greet\"") != std::string::npos;
        },
        10000))
        << macros;

    // The second document: the macro types the same text before its "x".
    ASSERT_TRUE(CloseDiscarding());
    ASSERT_TRUE(Start("\"" + second + "\""));
    RemoteScintilla other = EditorHolding("x");
    ASSERT_TRUE(other) << "no editing window";
    ASSERT_TRUE(FocusEditor(other));
    other.Send(kSetSel, 0, 0);
    PostCommand(kCmdMacroPlay);
    dlg = WaitForDialog("Macros");
    ASSERT_TRUE(dlg);
    std::vector<std::string> names = ListLines(GetDlgItem(dlg, kMacroList));
    ASSERT_EQ(names, std::vector<std::string>{"greet"});
    SelectLine(dlg, kMacroList, 0);
    Click(dlg, kMacroRun);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return other.Text() == "hi x"; }, 10000)) << "[" << other.Text() << "]";
    ASSERT_TRUE(CloseDiscarding());
}

// The option files ship beside the program and reach the per-user Tidy
// folder at start; XML Pretty Print uses its file.
TEST_F(EditingTest, TidyOptionFilesAreInstalledAndXmlPrettyPrintRuns)
{
    std::string path = WriteFile("data.xml", "<a><b>\xc3\xa9</b></a>");
    ASSERT_TRUE(Start("\"" + path + "\""));
    for (const char* name : {"html_clean.tidy", "xhtml_clean.tidy", "xml_pretty_print.tidy"}) {
        std::string user = qmtest::ReadWholeFile(UserFolder() + "\\Tidy\\" + name);
        std::string shipped = qmtest::ReadWholeFile(e2e::Slashes(QM_BIN_DIR "/Tidy/") + name);
        EXPECT_FALSE(shipped.empty()) << name;
        EXPECT_EQ(user, shipped) << name;
    }
    RemoteScintilla ed = EditorHolding("<a><b>\xc3\xa9</b></a>");
    ASSERT_TRUE(ed) << "no editing window";
    PostCommand(kCmdTidyXml);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "<a>\r\n  <b>\xc3\xa9</b>\r\n</a>\r\n"; }, 10000))
        << "[" << ed.Text() << "]";
    ASSERT_TRUE(CloseDiscarding());
}

} // namespace
