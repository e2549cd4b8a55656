// End to end: the solution bar of the real Qmate.exe on a fresh key - a
// workspace made, filled by opening files, saved through its dialog and
// reopened from the command line after a restart; the List Explorer's tags,
// templates inserted, made from a selection and started from, and the File
// Explorer's pane with its toolbar.
#include "qmate_fixture.h"

#include <qmtest/mouse.h>
#include <qmtest/remotectl.h>

#include <functional>
#include <qmtest/screenshot.h>

using namespace e2e;

namespace {

enum : UINT {
    kPaneListExplorer = 59510,
    kPaneFileExplorer = 59585,
    kPaneProjectExplorer = 59586,
    kPaneTemplateExplorer = 59588,
    kCmdNewWorkspace = 32775,
    kCmdSaveWorkspace = 32807,
    kCmdNewFromTemplate = 32774,
    kCmdTemplateFromSelection = 32780,
    kCmdRefreshFileTree = 6007,
    kSciSetSel = 2160,
    kSciSelectAll = 2013,
};

class SolutionBarTest : public QmateTest {
protected:
    // The tree view in a pane's window.
    HWND PaneTree(UINT nPane, DWORD timeoutMs = 10000)
    {
        HWND tree = nullptr;
        qmtest::WaitUntil(
            [&] {
                for (HWND h : qmtest::DescendantsOfClass(Main(), "SysTreeView32"))
                    if (GetDlgCtrlID(GetParent(h)) == (int)nPane)
                        tree = h;
                return tree != nullptr;
            },
            timeoutMs);
        return tree;
    }
    // The texts of a tree: Text(child,...) for items with children.
    static std::string Shape(HWND tree, HTREEITEM parent = nullptr)
    {
        std::string out;
        for (HTREEITEM h : qmtest::RemoteTreeChildren(tree, parent)) {
            if (!out.empty())
                out += ",";
            out += qmtest::RemoteTreeText(tree, h);
            if (!qmtest::RemoteTreeChildren(tree, h).empty())
                out += "(" + Shape(tree, h) + ")";
        }
        return out;
    }
    static HTREEITEM Named(HWND tree, HTREEITEM parent, const std::string& text)
    {
        for (HTREEITEM h : qmtest::RemoteTreeChildren(tree, parent))
            if (qmtest::RemoteTreeText(tree, h) == text)
                return h;
        return nullptr;
    }
    static POINT ScreenPointOn(HWND tree, HTREEITEM item)
    {
        SendMessageA(tree, TVM_ENSUREVISIBLE, 0, (LPARAM)item);
        RECT rc = qmtest::RemoteTreeItemRect(tree, item);
        POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ClientToScreen(tree, &pt);
        return pt;
    }
    // Makes a pane the one shown in its group and returns its window found
    // again (the View command hides a shown pane, and a pane shown again may
    // have a new window, so it may take two).
    HWND BringPane(UINT nPane, const std::function<HWND()>& find)
    {
        HWND h = find();
        for (int i = 0; i < 3 && !(h && IsWindowVisible(h)); ++i) {
            PostCommand(nPane);
            qmtest::WaitUntil([&] { return (h = find()) != nullptr && IsWindowVisible(h); }, 3000);
        }
        return h;
    }
    HWND BringTree(UINT nPane)
    {
        return BringPane(nPane, [&] { return PaneTree(nPane, 0); });
    }
    void HandOver(const std::vector<std::string>& paths)
    {
        int n = 1;
        for (const std::string& p : paths)
            ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, std::to_string(n++), p));
        ASSERT_TRUE(PostMessageA(Main(), WM_OPENFILESTOOPEN, 0, 0));
    }
    // Types a path into a file dialog and confirms it.
    bool DriveFileDialog(const std::string& path, std::string& why)
    {
        HWND dlg = nullptr;
        qmtest::WaitUntil([&] { return (dlg = m_prog.FindOtherWindow("#32770")) != nullptr; }, 15000);
        if (!dlg) {
            why = "no file dialog appeared";
            return false;
        }
        HWND name = FileNameBox(dlg);
        if (!name) {
            why = "the dialog has no file name box";
            return false;
        }
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
        if (!qmtest::WaitUntil([&] { return !IsWindow(dlg); }, 15000)) {
            why = "the dialog stayed open";
            return false;
        }
        return true;
    }
    void Shot(HWND hwnd, const std::string& name) { EXPECT_TRUE(qmtest::SaveWindowShot(hwnd, QM_BIN_DIR, name)); }
};

// Makes a folder and the folders above it; true when it exists.
bool MakeDirs(const std::string& path)
{
    for (size_t i = path.find('\\', 3); i != std::string::npos; i = path.find('\\', i + 1))
        CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string NodeLine(const std::string& indent, const std::string& label, const std::string& path, int encoding)
{
    return indent + "<NODE label=\"" + label + "\" pathname=\"" + path + "\" encoding=\"" + std::to_string(encoding) +
           "\" type=\"0\" folder=\"0\" />\r\n";
}

} // namespace

TEST_F(SolutionBarTest, AWorkspaceIsMadeSavedAndReopenedAfterARestart)
{
    // With byte-order marks: both are read as UTF-8 (encoding 0).
    std::string a = WriteFile("alpha.txt", "\xEF\xBB\xBF"
                                           "alpha text\r\n");
    std::string b = WriteFile("beta.cpp", "\xEF\xBB\xBF"
                                          "int beta;\r\n");
    std::string ws = File("site.dpf");
    // The restart opens no remembered documents: the entry opens from the tree.
    ASSERT_TRUE(qmtest::WriteRegistryDword(HKEY_CURRENT_USER, SettingsKey("GenSettings"), "RememberOpenFiles", 0));
    ASSERT_TRUE(Start());
    HWND tree = PaneTree(kPaneProjectExplorer);
    ASSERT_TRUE(tree);
    PostCommand(kCmdNewWorkspace);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return Shape(tree) == "Project"; }, 5000)) << Shape(tree);

    HandOver({a, b});
    ASSERT_TRUE(EditorHolding("int beta;\r\n"));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return Shape(tree) == "Project*(alpha.txt,beta.cpp)"; }, 5000))
        << Shape(tree);

    PostCommand(kCmdSaveWorkspace);
    std::string why;
    ASSERT_TRUE(DriveFileDialog(ws, why)) << why;
    std::string expected = "<ROOT>\r\n"
                           "    <NODE label=\"Project [site]\" pathname=\"\" encoding=\"4\" type=\"0\" folder=\"1\">\r\n" +
                           NodeLine("        ", "alpha.txt", a, 0) + NodeLine("        ", "beta.cpp", b, 0) +
                           "    </NODE>\r\n"
                           "</ROOT>\r\n";
    EXPECT_EQ(WaitForFile(ws, expected), expected);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return Shape(tree) == "Project [site](alpha.txt,beta.cpp)"; }, 5000))
        << Shape(tree);
    tree = BringTree(kPaneProjectExplorer);
    ASSERT_TRUE(tree);
    Shot(GetParent(tree), "solutionbar-workspace.png");
    ASSERT_TRUE(Close()) << "a saved workspace asks nothing";

    // The workspace file on the command line: the editor keeps running and
    // shows it; a double click opens an entry.
    if (!Start("\"" + ws + "\"")) {
        HWND box = m_prog.FindOtherWindow("#32770");
        FAIL() << "no main window; " << (box ? "a box: " + DialogText(box) : std::string("no box"));
    }
    tree = PaneTree(kPaneProjectExplorer);
    ASSERT_TRUE(tree);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return Shape(tree) == "Project [site](alpha.txt,beta.cpp)"; }, 10000))
        << Shape(tree);
    EXPECT_TRUE(Editors().empty()) << "a workspace opens no document";
    HTREEITEM root = qmtest::RemoteTreeNext(tree, nullptr, TVGN_ROOT);
    HTREEITEM alpha = Named(tree, root, "alpha.txt");
    ASSERT_TRUE(alpha);
    tree = BringTree(kPaneProjectExplorer);
    ASSERT_TRUE(tree);
    ASSERT_TRUE(qmtest::BringToForeground(Main()));
    qmtest::DoubleClickAt(ScreenPointOn(tree, alpha));
    RemoteScintilla ed = EditorHolding("alpha text\r\n");
    E2E_REQUIRE_EDITOR(ed);
    EXPECT_FALSE(ed.ReadOnly());
    Shot(Main(), "solutionbar-reopened.png");
    EXPECT_EQ(qmtest::ReadWholeFile(ws), expected) << "opening an entry that is there changes nothing";
    ASSERT_TRUE(CloseDiscarding());
}

TEST_F(SolutionBarTest, ListExplorerTagsWrapTheSelection)
{
    std::string page = WriteFile("page.html", "x");
    ASSERT_TRUE(Start("\"" + page + "\""));
    RemoteScintilla ed = EditorHolding("x");
    E2E_REQUIRE_EDITOR(ed);
    auto findList = [&]() -> HWND {
        for (HWND h : qmtest::DescendantsOfClass(Main(), "ListBox"))
            if (GetDlgCtrlID(h) == 1050 && GetDlgCtrlID(GetParent(h)) == (int)kPaneListExplorer)
                return h;
        return nullptr;
    };
    HWND list = BringPane(kPaneListExplorer, findList);
    ASSERT_TRUE(list);
    ASSERT_TRUE(IsWindowVisible(list));
    std::vector<std::string> rows = qmtest::RemoteListRows(list);
    ASSERT_EQ(rows.size(), 91u);
    auto rowOf = [&](const std::string& text) {
        return (int)(std::find(rows.begin(), rows.end(), text) - rows.begin());
    };
    auto click = [&](int row) {
        SendMessageA(list, LB_SETTOPINDEX, row, 0);
        RECT rc = qmtest::RemoteListItemRect(list, row);
        POINT pt = {rc.left + 8, (rc.top + rc.bottom) / 2};
        ClientToScreen(list, &pt);
        ASSERT_TRUE(qmtest::BringToForeground(Main()));
        qmtest::ClickAt(pt);
    };
    ed.Send(kSciSetSel, 0, 1);
    click(rowOf("B"));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "<B>x</B>"; }, 5000)) << ed.Text();
    Sleep(GetDoubleClickTime() + 100); // a second click, not a double click
    click(rowOf("BR"));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "<B>x</B><BR/>"; }, 5000)) << ed.Text();
    Shot(Main(), "solutionbar-listexplorer.png");
    ASSERT_TRUE(CloseDiscarding());
}

TEST_F(SolutionBarTest, TemplatesWrapTheSelectionAndAreMadeFromOne)
{
    std::string folder = UserFolder("Templates");
    ASSERT_TRUE(MakeDirs(folder));
    ASSERT_TRUE(qmtest::WriteWholeFile(folder + "\\wrap.txt", "[<%REPLACE%>]"));
    std::string text = WriteFile("text.txt", "hello");
    ASSERT_TRUE(Start("\"" + text + "\""));
    RemoteScintilla ed = EditorHolding("hello");
    E2E_REQUIRE_EDITOR(ed);
    HWND tree = BringTree(kPaneTemplateExplorer);
    ASSERT_TRUE(tree);
    HTREEITEM top = qmtest::RemoteTreeNext(tree, nullptr, TVGN_ROOT);
    EXPECT_EQ(qmtest::RemoteTreeText(tree, top), "Templates");
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)top);
    HTREEITEM wrap = Named(tree, top, "wrap.txt");
    ASSERT_TRUE(wrap) << Shape(tree);
    ed.Send(kSciSelectAll);
    ASSERT_TRUE(qmtest::BringToForeground(Main()));
    qmtest::DoubleClickAt(ScreenPointOn(tree, wrap));
    EXPECT_TRUE(qmtest::WaitUntil([&] { return ed.Text() == "[hello]"; }, 5000)) << ed.Text();

    // Create template from Selection: the Template Manager with the text.
    ed.Send(kSciSetSel, 1, 6);
    PostCommand(kCmdTemplateFromSelection);
    HWND dlg = WaitDialog("Template Manager");
    ASSERT_TRUE(dlg);
    EXPECT_EQ(qmtest::WindowTextOf(GetDlgItem(dlg, 1016)), "hello");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDOK))) << "no name yet";
    SendMessageA(GetDlgItem(dlg, 1014), WM_SETTEXT, 0, (LPARAM) "from selection.txt");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
    Shot(dlg, "solutionbar-template-manager.png");
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dlg, IDOK));
    EXPECT_EQ(WaitForFile(folder + "\\from selection.txt", "hello"), "hello");
    EXPECT_TRUE(qmtest::WaitUntil([&] { return Named(tree, top, "from selection.txt") != nullptr; }, 5000))
        << Shape(tree);
    Shot(GetParent(tree), "solutionbar-templates.png");
    ASSERT_TRUE(CloseDiscarding());
}

TEST_F(SolutionBarTest, NewFromTemplateStartsFromTheInstalledFolder)
{
    std::string fixtures = File("installed");
    ASSERT_TRUE(MakeDirs(fixtures + "\\Web"));
    ASSERT_TRUE(qmtest::WriteWholeFile(fixtures + "\\Web\\page.html", "<html>\r\n</html>\r\n"));
    const std::string key = "Software\\Fernbright\\Quillmate\\TemplateSettings";
    qmtest::ScopedRegistryTree installed(HKEY_LOCAL_MACHINE, key.c_str());
    ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_LOCAL_MACHINE, key, "Directory", fixtures));
    ASSERT_TRUE(Start());
    size_t before = Editors().size();
    PostCommand(kCmdNewFromTemplate);
    HWND dlg = WaitDialog("New File From Template");
    ASSERT_TRUE(dlg);
    HWND tree = GetDlgItem(dlg, 1006);
    ASSERT_TRUE(tree);
    HTREEITEM top = qmtest::RemoteTreeNext(tree, nullptr, TVGN_ROOT);
    HTREEITEM web = Named(tree, top, "Web");
    ASSERT_TRUE(web) << Shape(tree);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)web);
    HTREEITEM page = Named(tree, web, "page.html");
    ASSERT_TRUE(page) << Shape(tree);
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)page);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dlg, IDOK)) != FALSE; }, 3000));
    Shot(dlg, "solutionbar-new-from-template.png");
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dlg, IDOK));
    RemoteScintilla ed = EditorHolding("<html>\r\n</html>\r\n");
    E2E_REQUIRE_EDITOR(ed);
    EXPECT_GT(Editors().size(), before);
    ASSERT_TRUE(CloseDiscarding());
}

TEST_F(SolutionBarTest, TheFileExplorerFillsAndRefreshesUnderItsToolbar)
{
    ASSERT_TRUE(Start());
    HWND tree = BringTree(kPaneFileExplorer);
    ASSERT_TRUE(tree);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !qmtest::RemoteTreeChildren(tree, nullptr).empty(); }, 15000))
        << "filled once shown";
    HWND pane = GetParent(tree);
    RECT rcPane, rcTree;
    GetWindowRect(pane, &rcPane);
    GetWindowRect(tree, &rcTree);
    EXPECT_GT(rcTree.top, rcPane.top) << "the toolbar takes the top of the pane";
    size_t before = qmtest::RemoteTreeChildren(tree, nullptr).size();
    PostCommand(kCmdRefreshFileTree);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return qmtest::RemoteTreeChildren(tree, nullptr).size() == before; }, 10000));
    EXPECT_TRUE(IsWindow(tree)) << "the same tree, refreshed";
    Shot(pane, "solutionbar-file-explorer.png");
    ASSERT_TRUE(Close());
}
