// The options of the running editor: the sheets "Document Properties" and
// "Tidy Properties" opened by their commands, driven from outside with
// window messages and the real mouse and keyboard, and what they leave in
// the registry, the per-user files and the open documents, also after a
// restart. Spell checking of a document with F7.
#include "qmate_fixture.h"

#include <qmtest/screenshot.h>

#include <prsht.h>

namespace {

using e2e::QmateTest;
using qmtest::RemoteScintilla;

enum : UINT {
    kCmdEditorProperties = 38806,
    kCmdTidyProperties = 1302,
    kCmdSpelling = 380,
};
// Messages of the editing component.
enum : UINT {
    SCI_GETTABWIDTH = 2121,
    SCI_GETSELECTIONSTART = 2143,
    SCI_GETSELECTIONEND = 2145,
    SCI_STYLEGETFORE = 2481,
};
enum {
    PAGE_GENERAL = 0,
    PAGE_SYNTAX = 2,
    PAGE_MORE = 4,
    PAGE_DICTIONARY = 5
};
// Controls of the pages.
enum {
    IDC_TAB_WIDTH = 3024,
    IDC_SYNTAX_TYPE = 1012,
    IDC_SYNTAX_STYLES = 3019,
    IDC_SYNTAX_FORE = 3020,
    IDC_SYNTAX_SAMPLE = 3030,
    IDC_SHELL_MENU = 1008,
    IDC_DICT_NAME = 1408,
    IDC_SPELL_WORD = 1401,
    IDC_SPELL_SUGGESTIONS = 1402,
    IDC_SPELL_CHANGE = 1406,
};

const char kShellMenuKey[] = "*\\shellex\\ContextMenuHandlers\\Quillmate";

class OptionsTest : public QmateTest {
protected:
    HWND OpenSheet(UINT command, const char* caption)
    {
        PostCommand(command);
        HWND sheet = WaitDialog(caption, 15000);
        EXPECT_TRUE(sheet) << "the command showed no \"" << caption << "\"";
        return sheet;
    }

    static bool PressButton(HWND sheet, int button)
    {
        PostMessageA(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
        return qmtest::WaitUntil([&] { return !IsWindow(sheet); }, 15000);
    }

    static POINT CentreOf(HWND hwnd)
    {
        RECT rc;
        GetClientRect(hwnd, &rc);
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
};

// ---------------------------------------------------------------------------

TEST_F(OptionsTest, ValuesReachOpenDocumentsAndSurviveARestart)
{
    std::string doc = WriteFile("values.cpp", "int x;\r\n");
    ASSERT_TRUE(Start("\"" + doc + "\""));
    RemoteScintilla ed = EditorHolding("int x;\r\n");
    E2E_REQUIRE_EDITOR(ed);
    HWND sheet = OpenSheet(kCmdEditorProperties, "Document Properties");
    ASSERT_TRUE(sheet);
    HWND page = ShowPage(sheet, PAGE_GENERAL);
    SetWindowTextA(GetDlgItem(page, IDC_TAB_WIDTH), "7");
    // A fresh profile stores no dictionary folder: the one beside the
    // program is listed, "en" first.
    page = ShowPage(sheet, PAGE_DICTIONARY);
    HWND combo = GetDlgItem(page, IDC_DICT_NAME);
    EXPECT_GE(SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(qmtest::WindowTextOf(combo), "en");
    ASSERT_TRUE(PressButton(sheet, PSBTN_OK));
    EXPECT_EQ(ed.Send(SCI_GETTABWIDTH), 7);
    ASSERT_TRUE(Close());
    EXPECT_EQ(e2e::ReadSettingDword("ViewSettings", "TabWidth", 0), 7u);
    EXPECT_EQ(e2e::ReadSettingString("GenSettings", "DictionaryPath"), "") << "the empty folder stays empty";

    ASSERT_TRUE(Start());
    sheet = OpenSheet(kCmdEditorProperties, "Document Properties");
    ASSERT_TRUE(sheet);
    page = ShowPage(sheet, PAGE_GENERAL);
    EXPECT_EQ(qmtest::WindowTextOf(GetDlgItem(page, IDC_TAB_WIDTH)), "7");
    ASSERT_TRUE(PressButton(sheet, PSBTN_CANCEL));
    ASSERT_TRUE(Close());
}

// A colour chosen with the mouse and keyboard in the syntax page's picker:
// the language file takes it, the open document's style shows it, and it is
// still there after a restart.
TEST_F(OptionsTest, SyntaxColourFromThePickerReachesTheDocument)
{
    std::string doc = WriteFile("colour.cpp", "int x; // note\r\n");
    ASSERT_TRUE(Start("\"" + doc + "\""));
    RemoteScintilla ed = EditorHolding("int x; // note\r\n");
    E2E_REQUIRE_EDITOR(ed);
    const int keywordStyle = 5;
    LRESULT before = ed.Send(SCI_STYLEGETFORE, keywordStyle);
    HWND sheet = OpenSheet(kCmdEditorProperties, "Document Properties");
    ASSERT_TRUE(sheet);
    HWND page = ShowPage(sheet, PAGE_SYNTAX);
    ASSERT_TRUE(ChooseComboText(page, IDC_SYNTAX_TYPE, "C++"));
    ASSERT_TRUE(ChooseListText(page, IDC_SYNTAX_STYLES, "Keyword"));
    ASSERT_TRUE(qmtest::BringToForeground(sheet));
    HWND picker = GetDlgItem(page, IDC_SYNTAX_FORE);
    qmtest::ClickInWindow(picker, CentreOf(picker));
    HWND popup = nullptr;
    qmtest::WaitUntil(
        [&] {
            for (HWND h : qmtest::TopLevelWindowsOf(m_prog.Pid()))
                if (h != sheet && h != Main() && IsWindowVisible(h))
                    popup = h;
            return popup != nullptr;
        },
        5000);
    ASSERT_TRUE(popup) << "a click on the picker opened no colour popup";
    qmtest::SendChord({VK_RIGHT});
    qmtest::SendChord({VK_RIGHT});
    qmtest::SendChord({VK_RETURN});
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !IsWindowVisible(popup) || !IsWindow(popup); }, 5000));
    EXPECT_TRUE(qmtest::SaveWindowShot(page, QM_BIN_DIR, "options-syntax-sample.png"));
    ASSERT_TRUE(PressButton(sheet, PSBTN_OK));
    LRESULT after = 0;
    qmtest::WaitUntil([&] { return (after = ed.Send(SCI_STYLEGETFORE, keywordStyle)) != before; }, 5000);
    EXPECT_NE(after, before) << "the open document's keyword colour did not change";
    char hex[16];
    snprintf(hex, sizeof(hex), "#%02X%02X%02X", GetRValue(after), GetGValue(after), GetBValue(after));
    std::string config = qmtest::ReadWholeFile(UserFolder("Config\\cpp.config"));
    EXPECT_NE(config.find(std::string("HEXFORE=\"") + hex + "\""), std::string::npos) << hex;
    ASSERT_TRUE(Close());

    // The document comes back with the open files of the last session.
    ASSERT_TRUE(Start());
    ed = EditorHolding("int x; // note\r\n");
    E2E_REQUIRE_EDITOR(ed);
    EXPECT_EQ(ed.Send(SCI_STYLEGETFORE, keywordStyle), after);
    ASSERT_TRUE(Close());
}

// The HTML page's property grid with the real mouse: a category folds and
// unfolds, a yes/no value changes with a double click, a value with a list
// of choices changes through its drop-down; OK writes the file, and after a
// restart the grid shows the values it was saved with.
TEST_F(OptionsTest, TidyGridEditsAreSavedAndKept)
{
    ASSERT_TRUE(Start());
    std::string file = UserFolder("Tidy\\html_clean.tidy");
    HWND sheet = OpenSheet(kCmdTidyProperties, "Tidy Properties");
    ASSERT_TRUE(sheet);
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    HWND grid = qmtest::FirstDescendantOfClass(page, "QXPPropertyGrid");
    ASSERT_TRUE(grid) << "the page holds no property grid";
    HWND list = qmtest::FirstDescendantOfClass(grid, "ListBox");
    ASSERT_TRUE(list);
    ASSERT_TRUE(qmtest::BringToForeground(sheet));
    // A row's place from the heights of the rows above it (the list shows
    // its first row at the top here).
    auto rowRect = [&](int row) {
        RECT rc = {};
        GetClientRect(list, &rc);
        int top = 0;
        for (int i = 0; i < row; ++i)
            top += static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0));
        rc.top = top;
        rc.bottom = top + static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, static_cast<WPARAM>(row), 0));
        return rc;
    };
    LRESULT rows = SendMessageA(list, LB_GETCOUNT, 0, 0);
    ASSERT_GT(rows, 20);
    // Row 0 is the category "Pretty Print": a double click folds it.
    RECT rc = rowRect(0);
    qmtest::ClickInWindow(list, POINT{rc.left + 40, (rc.top + rc.bottom) / 2}, true);
    LRESULT folded = 0;
    qmtest::WaitUntil([&] { return (folded = SendMessageA(list, LB_GETCOUNT, 0, 0)) < rows; }, 3000);
    EXPECT_LT(folded, rows) << "a double click on the category did not fold it";
    qmtest::ClickInWindow(list, POINT{rc.left + 40, (rc.top + rc.bottom) / 2}, true);
    qmtest::WaitUntil([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == rows; }, 3000);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), rows) << "a second double click did not unfold it";
    EXPECT_TRUE(qmtest::SaveWindowShot(sheet, QM_BIN_DIR, "options-tidy-grid.png"));

    // Row 2, "indent" (auto, from the shipped file): a click selects it, a
    // click on its value drops its list of choices, and the one above is
    // taken with the keys.
    Sleep(700);
    RECT rcList;
    GetClientRect(list, &rcList);
    rc = rowRect(2);
    qmtest::ClickInWindow(list, POINT{rc.left + 60, (rc.top + rc.bottom) / 2});
    Sleep(700);
    qmtest::ClickInWindow(list, POINT{rcList.right - 40, (rc.top + rc.bottom) / 2});
    HWND drop = nullptr;
    qmtest::WaitUntil(
        [&] {
            std::vector<HWND> candidates = qmtest::DescendantsOfClass(sheet, "ListBox", true);
            for (HWND h : qmtest::TopLevelWindowsOf(m_prog.Pid()))
                candidates.push_back(h);
            for (HWND h : candidates)
                if (h != list && qmtest::WindowClassOf(h) == "ListBox" && IsWindowVisible(h))
                    drop = h;
            return drop != nullptr;
        },
        5000);
    EXPECT_TRUE(qmtest::SaveWindowShot(sheet, QM_BIN_DIR, "options-tidy-dropdown.png"));
    EXPECT_TRUE(drop) << "a click on the value showed no list of choices";
    if (drop) {
        qmtest::SendChord({VK_UP});
        qmtest::SendChord({VK_RETURN});
        Sleep(300);
    }
    // Row 1, "break-before-br" (no): a double click on its name takes the
    // next choice.
    Sleep(700);
    rc = rowRect(1);
    qmtest::ClickInWindow(list, POINT{rc.left + 60, (rc.top + rc.bottom) / 2}, true);
    Sleep(300);
    EXPECT_TRUE(qmtest::SaveWindowShot(sheet, QM_BIN_DIR, "options-tidy-choice.png"));
    ASSERT_TRUE(PressButton(sheet, PSBTN_OK));
    std::string text = qmtest::ReadWholeFile(file);
    EXPECT_NE(text.find("break-before-br: yes"), std::string::npos) << text;
    EXPECT_EQ(text.find("indent: auto"), std::string::npos) << text;
    EXPECT_NE(text.find("indent: "), std::string::npos) << text;
    EXPECT_NE(text.find("tidy-mark: no"), std::string::npos) << "values of the shipped file stay: " << text;
    ASSERT_TRUE(Close());

    // After a restart the page loads the saved values: OK writes them again
    // unchanged.
    ASSERT_TRUE(Start());
    sheet = OpenSheet(kCmdTidyProperties, "Tidy Properties");
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(PressButton(sheet, PSBTN_OK));
    EXPECT_EQ(qmtest::ReadWholeFile(file), text);
    EXPECT_FALSE(qmtest::ReadWholeFile(UserFolder("Tidy\\xml_pretty_print.tidy")).empty())
        << "the shipped file of a page never shown is kept";
    ASSERT_TRUE(Close());
}

// The Explorer context-menu box runs the set-up tool of the installation
// folder ("Settings"\"AppPath"): checked, the handler's key appears; two
// clicks change nothing; unchecked, the key goes.
TEST_F(OptionsTest, ShellMenuBoxRegistersTheHandler)
{
    qmtest::DeleteRegistryTree(HKEY_CLASSES_ROOT, kShellMenuKey);
    std::string bin = e2e::Slashes(QM_BIN_DIR "/");
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, e2e::SettingsKey("Settings"), "AppPath", bin));
    ASSERT_TRUE(Start());
    auto toggle = [&](int clicks) {
        HWND sheet = OpenSheet(kCmdEditorProperties, "Document Properties");
        if (!sheet)
            return false;
        HWND page = ShowPage(sheet, PAGE_MORE);
        for (int i = 0; i < clicks; ++i)
            SendMessageA(GetDlgItem(page, IDC_SHELL_MENU), BM_CLICK, 0, 0);
        return PressButton(sheet, PSBTN_OK);
    };
    ASSERT_TRUE(toggle(1));
    EXPECT_TRUE(qmtest::WaitUntil([] { return qmtest::RegistryKeyExists(HKEY_CLASSES_ROOT, kShellMenuKey); }, 20000))
        << "the handler was not registered";
    ASSERT_TRUE(toggle(2));
    Sleep(2000);
    EXPECT_TRUE(qmtest::RegistryKeyExists(HKEY_CLASSES_ROOT, kShellMenuKey)) << "two clicks changed the registration";
    ASSERT_TRUE(toggle(1));
    EXPECT_TRUE(qmtest::WaitUntil([] { return !qmtest::RegistryKeyExists(HKEY_CLASSES_ROOT, kShellMenuKey); }, 20000))
        << "the handler was not removed";
    ASSERT_TRUE(Close());
    qmtest::DeleteRegistryTree(HKEY_CLASSES_ROOT, kShellMenuKey);
}

// F7 on a document with the English dictionary beside the program: the
// dialog shows the first unknown word, a suggestion replaces it, and the
// check ends with its message. Aspell comes with the first check, not
// with the program's start.
TEST_F(OptionsTest, SpellingReplacesAWordWithASuggestion)
{
    std::string doc = WriteFile("spell.txt", "teh cat");
    ASSERT_TRUE(Start("\"" + doc + "\""));
    RemoteScintilla ed = EditorHolding("teh cat");
    E2E_REQUIRE_EDITOR(ed);
    ASSERT_TRUE(m_prog.HasModule("scilexer.dll")) << "the process's modules could not be read";
    EXPECT_FALSE(m_prog.HasModule("aspell-15.dll")) << "Aspell was loaded before any spelling";
    ASSERT_TRUE(FocusEditor(ed));
    qmtest::SendChord({VK_F7});
    HWND dlg = WaitDialog("Spell Checker", 15000);
    ASSERT_TRUE(dlg) << "F7 showed no Spell Checker";
    EXPECT_TRUE(m_prog.HasModule("aspell-15.dll"));
    EXPECT_EQ(qmtest::WindowTextOf(GetDlgItem(dlg, IDC_SPELL_WORD)), "teh");
    EXPECT_EQ(ed.Send(SCI_GETSELECTIONSTART), 0);
    EXPECT_EQ(ed.Send(SCI_GETSELECTIONEND), 3);
    ASSERT_TRUE(ChooseListText(dlg, IDC_SPELL_SUGGESTIONS, "the"));
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_SPELL_CHANGE, BN_CLICKED), 0);
    EXPECT_NE(TakeMessage().find("The spelling check is complete"), std::string::npos);
    EXPECT_EQ(ed.Text(), "the cat");
    ASSERT_TRUE(CloseDiscarding());
}

// The sound system comes with the first menu sound, not with the program's
// start: opening a menu plays "MenuPopup" through a winmm.dll loaded then.
TEST_F(OptionsTest, MenuSoundsLoadTheSoundSystemWhenFirstPlayed)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(m_prog.HasModule("scilexer.dll")) << "the process's modules could not be read";
    EXPECT_FALSE(m_prog.HasModule("winmm.dll")) << "the sound system was loaded before any sound";
    HWND popup = OpenMenuFromKeyboard('F');
    ASSERT_TRUE(popup) << "Alt, F opened no menu";
    EXPECT_TRUE(qmtest::WaitUntil([&] { return m_prog.HasModule("winmm.dll"); }, 5000))
        << "the menu's sound did not load the sound system";
    qmtest::SendChord({VK_ESCAPE});
    qmtest::SendChord({VK_ESCAPE});
    ASSERT_TRUE(Close());
}

} // namespace
