// End to end: Find in Files in the real Qmate.exe on a fresh key and a
// fixture tree - the dialog's options and histories, the rows of the "Find
// In Files" pane, Stop, refusals, and opening a result where it is.
#include "qmate_fixture.h"

#include <qmtest/remotectl.h>
#include <qmtest/screenshot.h>

using namespace e2e;

namespace {

enum : UINT {
    kCmdFindInFiles = 9000,
    kCmdOpenHex = 32790,
    kPaneFindInFiles = 59591,
    kText = 1018,
    kTypes = 8001,
    kFolder = 1028,
    kMatchCase = 1008,
    kWholeWord = 1009,
    kRegex = 1010,
    kSubFolders = 1031,
    kFind = 5080,
    kStop = 1002,
    kClose = IDCANCEL,
    kSciGetCurrentPos = 2008,
    kSciLineFromPos = 2166,
    kSciPositionFromLine = 2167,
};

std::string Joined(const std::vector<std::string>& rows)
{
    std::string all;
    for (const std::string& r : rows)
        all += "\n  [" + r + "]";
    return all;
}

class FindInFilesTest : public QmateTest {
protected:
    HWND OpenDialog()
    {
        PostCommand(kCmdFindInFiles);
        HWND dlg = WaitDialog("Find in Files", 15000);
        EXPECT_TRUE(dlg) << "no Find in Files dialog";
        return dlg;
    }
    static void Click(HWND dlg, int id) { PostMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }
    static void SetText(HWND dlg, int id, const std::string& text)
    {
        SendMessageA(GetDlgItem(dlg, id), WM_SETTEXT, 0, (LPARAM)text.c_str());
    }
    static bool Checked(HWND dlg, int id) { return SendMessageA(GetDlgItem(dlg, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    static void SetCheck(HWND dlg, int id, bool on)
    {
        if (Checked(dlg, id) != on)
            SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
    }
    static bool Enabled(HWND dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE; }
    HWND ResultsList()
    {
        for (HWND h : qmtest::DescendantsOfClass(Main(), "ListBox"))
            if (GetDlgCtrlID(h) == kPaneFindInFiles)
                return h;
        return nullptr;
    }
    std::vector<std::string> Rows()
    {
        HWND list = ResultsList();
        return list ? qmtest::RemoteListRows(list) : std::vector<std::string>();
    }
    // Runs Find and waits for the search to end (Close enabled again).
    std::vector<std::string> FindAndWait(HWND dlg)
    {
        Click(dlg, kFind);
        bool started = qmtest::WaitUntil([&] { return !Enabled(dlg, kClose); }, 3000, 5);
        bool ended = qmtest::WaitUntil([&] { return Enabled(dlg, kClose); }, 60000);
        EXPECT_TRUE(ended) << "the search did not end";
        std::vector<std::string> rows = Rows();
        EXPECT_TRUE(started || (!rows.empty() && rows.back().rfind("Total found:", 0) == 0)) << Joined(rows);
        return rows;
    }
    // The items of a combo box of the program, read through its text.
    static std::vector<std::string> ComboItems(HWND combo)
    {
        std::vector<std::string> items;
        int n = (int)SendMessageA(combo, CB_GETCOUNT, 0, 0);
        int sel = (int)SendMessageA(combo, CB_GETCURSEL, 0, 0);
        for (int i = 0; i < n; ++i) {
            SendMessageA(combo, CB_SETCURSEL, i, 0);
            items.push_back(qmtest::WindowTextOf(combo));
        }
        SendMessageA(combo, CB_SETCURSEL, sel, 0);
        return items;
    }
    void Shot(HWND h, const char* name) { EXPECT_TRUE(qmtest::SaveWindowShot(h, QM_BIN_DIR, name)) << name; }
    // The fixture tree: matches in two files at the top, one in a subfolder.
    std::string MakeTree()
    {
        std::string tree = File("tree");
        CreateDirectoryA(tree.c_str(), nullptr);
        CreateDirectoryA((tree + "\\sub").c_str(), nullptr);
        WriteFile("tree\\a.txt", "Alpha beta\r\nalphabet soup\r\nALPHA\r\n");
        WriteFile("tree\\b.cpp", "int alpha = 2;\r\n");
        WriteFile("tree\\notes.md", "alpha in a file of another type\r\n");
        WriteFile("tree\\sub\\c.txt", "alpha in sub\r\n");
        return tree;
    }
};

} // namespace

TEST_F(FindInFilesTest, OptionsMasksAndRowsInThePane)
{
    // A file filter, so the type list has a second entry.
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, SettingsKey("FileFilter"), "*.txt", "Text files"));
    std::string tree = MakeTree();
    ASSERT_TRUE(Start());
    HWND dlg = OpenDialog();
    ASSERT_TRUE(dlg);
    EXPECT_FALSE(Enabled(dlg, kStop));
    EXPECT_EQ(ComboItems(GetDlgItem(dlg, kTypes)), (std::vector<std::string>{"*.*", "*.txt"}));
    EXPECT_EQ((int)SendMessageA(GetDlgItem(dlg, kTypes), CB_GETCURSEL, 0, 0), 0) << "never stored: \"*.*\"";

    // Typed masks with blanks; subfolders off, no case.
    ASSERT_TRUE(qmtest::BringToForeground(dlg));
    SetText(dlg, kText, "alpha");
    SetText(dlg, kTypes, "*.txt; *.cpp");
    SetText(dlg, kFolder, tree);
    // The user tabs through the boxes: each one that loses the focus adds its text to its list.
    HWND textEdit = FindWindowExA(GetDlgItem(dlg, kText), nullptr, "Edit", nullptr);
    PostMessageA(dlg, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dlg, kText), TRUE);
    Sleep(200);
    qmtest::SendChord({VK_TAB});
    Sleep(100);
    qmtest::SendChord({VK_TAB});
    Sleep(100);
    qmtest::SendChord({VK_TAB});
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ReadSettingString("SearchHistory", "0") == "alpha"; }, 5000))
        << ReadSettingString("SearchHistory", "0") << (textEdit ? "" : " (no edit in the box)");
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ReadSettingString("DirectoryHistory", "0") == tree; }, 5000))
        << ReadSettingString("DirectoryHistory", "0");

    std::vector<std::string> rows = FindAndWait(dlg);
    Shot(dlg, "findinfiles-dialog.png");
    ASSERT_GE(rows.size(), 3u) << Joined(rows);
    EXPECT_EQ(rows.front(), "Find all \"alpha\",  \"*.txt;*.cpp\"");
    auto has = [&](const std::string& row) { return std::find(rows.begin(), rows.end(), row) != rows.end(); };
    EXPECT_TRUE(has(tree + "\\a.txt (1): Alpha beta")) << Joined(rows);
    EXPECT_TRUE(has(tree + "\\a.txt (2): alphabet soup")) << Joined(rows);
    EXPECT_TRUE(has(tree + "\\a.txt (3): ALPHA")) << Joined(rows);
    EXPECT_TRUE(has(tree + "\\b.cpp (1): int alpha = 2;")) << Joined(rows);
    // Every entry of the folder counts, once per mask: ".", "..", four names.
    EXPECT_EQ(rows.back(), "Total found: 4 Matching files: 2 Total Files searched: 12") << Joined(rows);
    for (const std::string& r : rows)
        EXPECT_EQ(r.find_first_of("\r\n"), std::string::npos) << "[" << r << "]";

    // Subfolders and match case: "Alpha" and "ALPHA" drop out, sub\c.txt comes in.
    SendMessageA(GetDlgItem(dlg, kTypes), CB_SETCURSEL, 1, 0); // "*.txt"
    SetCheck(dlg, kSubFolders, true);
    SetCheck(dlg, kMatchCase, true);
    rows = FindAndWait(dlg);
    EXPECT_EQ(rows.front(), "Find all \"alpha\", Case sensitive Subfolders  \"*.txt\"");
    EXPECT_TRUE(has(tree + "\\a.txt (2): alphabet soup")) << Joined(rows);
    EXPECT_TRUE(has(tree + "\\sub\\c.txt (1): alpha in sub")) << Joined(rows);
    EXPECT_EQ(rows.back().rfind("Total found: 2 ", 0), 0u) << Joined(rows);

    // Whole words: "alphabet" is no match.
    SetCheck(dlg, kWholeWord, true);
    rows = FindAndWait(dlg);
    EXPECT_FALSE(has(tree + "\\a.txt (2): alphabet soup")) << Joined(rows);
    EXPECT_EQ(rows.back().rfind("Total found: 1 ", 0), 0u) << Joined(rows);

    // A regular expression.
    SetCheck(dlg, kWholeWord, false);
    SetCheck(dlg, kRegex, true);
    SetText(dlg, kText, "^alpha[a-z]");
    rows = FindAndWait(dlg);
    EXPECT_EQ(rows.front(), "Find all \"^alpha[a-z]\", Case sensitive Subfolders Regular Expressions  \"*.txt\"");
    EXPECT_TRUE(has(tree + "\\a.txt (2): alphabet soup")) << Joined(rows);
    EXPECT_EQ(rows.back().rfind("Total found: 1 ", 0), 0u) << Joined(rows);
    Shot(GetParent(ResultsList()), "findinfiles-pane.png");

    // Close keeps the options and the type; the next open shows them.
    Click(dlg, kClose);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(dlg); }, 5000));
    EXPECT_EQ(ReadSettingDword("FindReplace", "MatchCase", 7), 1u);
    EXPECT_EQ(ReadSettingDword("FindReplace", "MatchWord", 7), 0u);
    EXPECT_EQ(ReadSettingDword("FindReplace", "RegExp", 7), 1u);
    EXPECT_EQ(ReadSettingDword("FindReplace", "SubFolders", 7), 1u);
    EXPECT_EQ(ReadSettingDword("Settings", "DefFInFExt", 7), 1u);
    dlg = OpenDialog();
    ASSERT_TRUE(dlg);
    EXPECT_TRUE(Checked(dlg, kMatchCase));
    EXPECT_FALSE(Checked(dlg, kWholeWord));
    EXPECT_TRUE(Checked(dlg, kRegex));
    EXPECT_TRUE(Checked(dlg, kSubFolders));
    EXPECT_EQ((int)SendMessageA(GetDlgItem(dlg, kTypes), CB_GETCURSEL, 0, 0), 1);
    std::vector<std::string> texts = ComboItems(GetDlgItem(dlg, kText));
    EXPECT_NE(std::find(texts.begin(), texts.end(), "alpha"), texts.end()) << texts.size();
    std::vector<std::string> folders = ComboItems(GetDlgItem(dlg, kFolder));
    ASSERT_FALSE(folders.empty());
    EXPECT_EQ(folders[0], tree);
    EXPECT_EQ(qmtest::WindowTextOf(GetDlgItem(dlg, kFolder)), tree) << "the first folder is selected";
    Click(dlg, kClose);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(dlg); }, 5000));
    EXPECT_TRUE(Close());
}

TEST_F(FindInFilesTest, AnEmptyTextIsRefusedAndTheDialogStaysClosable)
{
    std::string tree = MakeTree();
    ASSERT_TRUE(Start());
    HWND dlg = OpenDialog();
    ASSERT_TRUE(dlg);
    SetText(dlg, kText, "");
    SetText(dlg, kFolder, tree);
    Click(dlg, kFind);
    EXPECT_NE(TakeMessage().find("Type the text to find."), std::string::npos);
    EXPECT_TRUE(Enabled(dlg, kClose));
    EXPECT_TRUE(Enabled(dlg, kFind));
    EXPECT_FALSE(Enabled(dlg, kStop));

    // Help: no help file, so nothing shows and nothing fails.
    Click(dlg, 1015);
    Sleep(500);
    for (HWND h : qmtest::TopLevelWindowsOf(m_prog.Pid()))
        EXPECT_TRUE(h == Main() || h == dlg || qmtest::WindowClassOf(h) == "tooltips_class32")
            << "a window \"" << qmtest::WindowTextOf(h) << "\" showed";
    // Nor does a help viewer of its own (another process) say anything.
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
        if (IsWindowVisible(h) && h != dlg && qmtest::WindowClassOf(h) == "#32770")
            ADD_FAILURE() << "a dialog \"" << qmtest::WindowTextOf(h) << "\" showed";

    // Browse: the folder picker belongs to the dialog, which waits for it;
    // the folder it gives tops the directory list at once.
    Click(dlg, 1030);
    HWND picker = nullptr;
    ASSERT_TRUE(qmtest::WaitUntil(
        [&] {
            for (HWND h : qmtest::TopLevelWindowsOf(m_prog.Pid()))
                if (h != dlg && qmtest::WindowClassOf(h) == "#32770")
                    picker = h;
            return picker != nullptr;
        },
        10000))
        << "no folder picker";
    EXPECT_EQ(GetWindow(picker, GW_OWNER), dlg);
    EXPECT_FALSE(IsWindowEnabled(dlg)) << "the dialog waits for the picker";
    PostMessageA(picker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(picker, IDOK));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(picker); }, 5000));
    std::string chosen;
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !(chosen = qmtest::WindowTextOf(GetDlgItem(dlg, kFolder))).empty(); }, 5000));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ReadSettingString("DirectoryHistory", "0") == chosen; }, 5000))
        << ReadSettingString("DirectoryHistory", "0") << " / " << chosen;

    Click(dlg, kClose);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(dlg); }, 5000)) << "the dialog closes";
    EXPECT_TRUE(Close());
}

TEST_F(FindInFilesTest, StopALargeSearchAndNoClosingMeanwhile)
{
    // Many files with many matching lines: the rows take a while.
    // A large tree, and in every folder of it a file over the size the
    // engine asks about: whichever comes first holds the search at its
    // question, so the search is surely running while it is tested.
    std::string big = File("big");
    CreateDirectoryA(big.c_str(), nullptr);
    std::string lines;
    for (int i = 0; i < 40; ++i)
        lines += "a line with the word needle in it " + std::to_string(i) + "\r\n";
    const std::string huge(5024001, 'x');
    ASSERT_TRUE(qmtest::WriteWholeFile(big + "\\huge.txt", huge));
    for (int d = 0; d < 10; ++d) {
        std::string folder = big + "\\d" + std::to_string(d);
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(qmtest::WriteWholeFile(folder + "\\huge.txt", huge));
        for (int f = 0; f < 150; ++f)
            ASSERT_TRUE(qmtest::WriteWholeFile(folder + "\\f" + std::to_string(f) + ".txt", lines));
    }
    const size_t allRows = 10u * 150u * 40u;
    ASSERT_TRUE(Start());
    HWND dlg = OpenDialog();
    ASSERT_TRUE(dlg);
    SetText(dlg, kText, "needle");
    SetText(dlg, kFolder, big);
    SetCheck(dlg, kSubFolders, true);
    Click(dlg, kFind);
    HWND question = nullptr;
    ASSERT_TRUE(qmtest::WaitUntil(
        [&] {
            for (HWND h : qmtest::TopLevelWindowsOf(m_prog.Pid()))
                if (h != dlg && qmtest::WindowClassOf(h) == "#32770" &&
                    DialogText(h).find("Do you want to search the file?") != std::string::npos)
                    question = h;
            return question != nullptr;
        },
        30000))
        << "the engine did not ask about the large file";
    ASSERT_FALSE(Enabled(dlg, kClose));

    // Esc (a real key), the caption's Close and Alt+F4 are all refused.
    ASSERT_TRUE(qmtest::BringToForeground(dlg));
    qmtest::SendChord({VK_ESCAPE});
    PostMessageA(dlg, WM_CLOSE, 0, 0);
    PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    qmtest::SendChord({VK_MENU, VK_F4});
    Sleep(700);
    EXPECT_TRUE(IsWindow(dlg) && IsWindowVisible(dlg)) << "the dialog closed under its search";
    EXPECT_TRUE(IsWindow(Main()));

    // Stop, then "No" to the question: the walk ends there.
    Click(dlg, kStop);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !Enabled(dlg, kStop); }, 5000));
    PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), (LPARAM)GetDlgItem(question, IDNO));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return Enabled(dlg, kClose); }, 30000)) << "Stop did not end the search";
    std::vector<std::string> rows = Rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back().rfind("Total found: ", 0), 0u) << rows.back();
    EXPECT_LT(rows.size(), allRows / 2) << "the search went on after Stop";
    EXPECT_FALSE(Enabled(dlg, kStop));
    Click(dlg, kClose);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(dlg); }, 5000));
    EXPECT_TRUE(Close());
}

TEST_F(FindInFilesTest, ADoubleClickOpensTheFileAtTheMatchOrActivatesIt)
{
    std::string tree = File("open");
    CreateDirectoryA(tree.c_str(), nullptr);
    const std::string target = "first\r\nsecond\r\n\tx needle here\r\n";
    WriteFile("open\\target.txt", target);
    // A name no legacy code page spells, and a match after letters of two bytes in UTF-16 terms.
    const std::string greekName = "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.txt";
    const std::string greek = "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC needle\r\n";
    std::string greekPath = tree + "\\" + greekName;
    ASSERT_TRUE(qmtest::WriteWholeFile(greekPath, greek));
    std::string hexOnly = WriteFile("hexfirst.bin", std::string("\x01\x02\x03", 3));

    ASSERT_TRUE(Start());
    // Open as Hex leaves its format behind for the next open.
    PostCommand(kCmdOpenHex);
    HWND open = nullptr;
    ASSERT_TRUE(qmtest::WaitUntil([&] { return (open = m_prog.FindOtherWindow("#32770")) != nullptr; }, 15000));
    HWND name = nullptr;
    for (HWND h : qmtest::DescendantsOfClass(open, ""))
        if (GetDlgCtrlID(h) == 1148 && qmtest::WindowClassOf(h) == "ComboBox")
            name = qmtest::FirstDescendantOfClass(h, "Edit");
    ASSERT_TRUE(name) << "the open dialog has no file name box";
    SendMessageA(name, WM_SETTEXT, 0, (LPARAM)hexOnly.c_str());
    PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(open, IDOK));
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !qmtest::DescendantsOfClass(Main(), "BytegridWin", true).empty(); },
                                  15000))
        << "the hex view did not open";

    HWND dlg = OpenDialog();
    ASSERT_TRUE(dlg);
    SetText(dlg, kText, "needle");
    SetText(dlg, kTypes, "*.txt");
    SetText(dlg, kFolder, tree);
    std::vector<std::string> rows = FindAndWait(dlg);
    Click(dlg, kClose);
    ASSERT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(dlg); }, 5000));

    HWND list = ResultsList();
    ASSERT_TRUE(list);
    auto rowOf = [&](const std::string& text) {
        auto it = std::find(rows.begin(), rows.end(), text);
        return it == rows.end() ? -1 : (int)(it - rows.begin());
    };
    int targetRow = rowOf(tree + "\\target.txt (3): \tx needle here");
    int greekRow = rowOf(greekPath + " (1): \xE6\x97\xA5\xE6\x9C\xAC needle");
    ASSERT_GE(targetRow, 0) << Joined(rows);
    ASSERT_GE(greekRow, 0) << Joined(rows);
    auto doubleClick = [&](int row) {
        SendMessageA(list, LB_SETTOPINDEX, row, 0);
        RECT rc = qmtest::RemoteListItemRect(list, row);
        LPARAM at = MAKELPARAM(rc.left + 10, (rc.top + rc.bottom) / 2);
        PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(list, WM_LBUTTONUP, 0, at);
        PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageA(list, WM_LBUTTONUP, 0, at);
    };
    auto caret = [](const RemoteScintilla& ed) {
        LRESULT pos = ed.Send(kSciGetCurrentPos);
        LRESULT line = ed.Send(kSciLineFromPos, pos);
        return std::make_pair(line, pos - ed.Send(kSciPositionFromLine, line));
    };

    // As text (not the hex view the last open chose), on line 3 at the match.
    doubleClick(targetRow);
    RemoteScintilla ed = EditorHolding(target);
    ASSERT_TRUE(ed);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return caret(ed) == std::make_pair((LRESULT)2, (LRESULT)3); }, 5000))
        << caret(ed).first << ":" << caret(ed).second;
    EXPECT_FALSE(ed.ReadOnly());

    // The name in any language, the position counted in characters.
    doubleClick(greekRow);
    RemoteScintilla edGreek = EditorHolding("\xE6\x97\xA5\xE6\x9C\xAC needle\r\n");
    ASSERT_TRUE(edGreek);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return caret(edGreek) == std::make_pair((LRESULT)0, (LRESULT)7); }, 5000))
        << caret(edGreek).first << ":" << caret(edGreek).second;

    // Again on the first file: its window comes back, no second copy.
    ed.Send(2025 /* SCI_GOTOPOS */, 0);
    doubleClick(targetRow);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return caret(ed) == std::make_pair((LRESULT)2, (LRESULT)3); }, 5000));
    int copies = 0;
    for (HWND h : Editors())
        if (RemoteScintilla(h).Text() == target)
            ++copies;
    EXPECT_EQ(copies, 1);
    EXPECT_TRUE(AnyCaptionContains("target.txt"));
    EXPECT_TRUE(CloseDiscarding());
}
