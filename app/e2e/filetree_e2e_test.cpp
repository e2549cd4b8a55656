// End to end: the File Explorer pane of the real Qmate.exe on a fresh key -
// filled at start, browsing down to a fixture folder, following changes made
// outside, the context menu's commands, and watchers that belong to their
// own editor.
#include "qmate_fixture.h"

#include <qmtest/remotectl.h>
#include <qmtest/screenshot.h>

using namespace e2e;

namespace {

enum : UINT {
    kPaneFileExplorer = 59585,
    kCmdOpen = 57601,
    kCmdOpenHex = 32790,
    kCmdCopyPath = 28000,
    kCmdProperties = 32773,
};

std::vector<std::string> Split(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string Joined(const std::vector<std::string>& texts)
{
    std::string all;
    for (const std::string& t : texts)
        all += "[" + t + "]";
    return all;
}

class FileTreeTest : public QmateTest {
protected:
    static HWND TreeOf(HWND main)
    {
        // The tree stands in the pane's window, below its toolbar.
        for (HWND h : qmtest::DescendantsOfClass(main, "SysTreeView32"))
            if (GetDlgCtrlID(GetParent(h)) == kPaneFileExplorer)
                return h;
        return nullptr;
    }
    // Waits for the tree of an editor to be filled (its first item expanded).
    static HWND WaitFilledTree(HWND main)
    {
        HWND tree = nullptr;
        qmtest::WaitUntil(
            [&] {
                tree = TreeOf(main);
                HTREEITEM first = tree ? qmtest::RemoteTreeNext(tree, nullptr, TVGN_ROOT) : nullptr;
                return first && (qmtest::RemoteTreeState(tree, first, TVIS_EXPANDED) & TVIS_EXPANDED);
            },
            30000);
        return tree;
    }
    static HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::string& name)
    {
        for (HTREEITEM h : qmtest::RemoteTreeChildren(tree, parent))
            if (Lower(qmtest::RemoteTreeText(tree, h)) == Lower(name))
                return h;
        return nullptr;
    }
    static void Expand(HWND tree, HTREEITEM item) { SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)item); }
    // Browses to a folder of drive C: below "My Computer" (or whichever
    // first-level item holds the drive), expanding on the way.
    static HTREEITEM Browse(HWND tree, const std::string& path, std::string& why)
    {
        std::vector<std::string> parts = Split(path);
        if (parts.empty() || parts[0].size() != 2 || parts[0][1] != ':') {
            why = "not a drive path: " + path;
            return nullptr;
        }
        std::string drive = Lower(parts[0]);
        HTREEITEM item = nullptr;
        for (HTREEITEM top : qmtest::RemoteTreeChildren(tree, nullptr)) {
            Expand(tree, top);
            for (HTREEITEM h : qmtest::RemoteTreeChildren(tree, top)) {
                std::string text = Lower(qmtest::RemoteTreeText(tree, h));
                if (text == drive || text == drive + "\\" || text.find("(" + drive + ")") != std::string::npos)
                    item = h;
            }
            if (item)
                break;
        }
        if (!item) {
            why = "no first-level item holds drive " + parts[0] + "; first level: " +
                  Joined(qmtest::RemoteTreeChildTexts(tree, nullptr));
            return nullptr;
        }
        for (size_t i = 1; i < parts.size(); ++i) {
            Expand(tree, item);
            HTREEITEM next = ChildNamed(tree, item, parts[i]);
            if (!next) {
                why = "no \"" + parts[i] + "\" below \"" + qmtest::RemoteTreeText(tree, item) +
                      "\": " + Joined(qmtest::RemoteTreeChildTexts(tree, item));
                return nullptr;
            }
            item = next;
        }
        return item;
    }
    static void Select(HWND tree, HTREEITEM item)
    {
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)item);
    }
    static bool HasChild(HWND tree, HTREEITEM parent, const std::string& name)
    {
        return ChildNamed(tree, parent, name) != nullptr;
    }
    static std::string Clipboard()
    {
        std::string text;
        if (!OpenClipboard(nullptr))
            return "<no clipboard>";
        if (HANDLE h = GetClipboardData(CF_TEXT)) {
            if (const char* p = (const char*)GlobalLock(h)) {
                text = p;
                GlobalUnlock(h);
            }
        }
        CloseClipboard();
        return text;
    }
    std::string MakeFolder(const std::string& name)
    {
        std::string path = File(name);
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }
};

} // namespace

TEST_F(FileTreeTest, FilledAtStartBrowsesAndFollowsChangesMadeOutside)
{
    std::string folder = MakeFolder("browse");
    WriteFile("browse\\one.txt", "one\r\n");
    WriteFile("browse\\two.txt", "two\r\n");
    CreateDirectoryA((folder + "\\inner").c_str(), nullptr);
    ASSERT_TRUE(qmtest::WriteWholeFile(folder + "\\inner\\deep.txt", "deep\r\n"));
    ASSERT_TRUE(Start());
    HWND tree = WaitFilledTree(Main());
    ASSERT_TRUE(tree) << "the File Explorer was not filled with its first item expanded";
    HTREEITEM first = qmtest::RemoteTreeNext(tree, nullptr, TVGN_ROOT);
    EXPECT_FALSE(qmtest::RemoteTreeChildren(tree, first).empty());
    EXPECT_EQ(qmtest::RemoteTreeNext(tree, nullptr, TVGN_CARET), first) << "the first item is selected";

    std::string why;
    HTREEITEM item = Browse(tree, folder, why);
    ASSERT_TRUE(item) << why;
    Expand(tree, item);
    std::vector<std::string> texts = qmtest::RemoteTreeChildTexts(tree, item);
    EXPECT_EQ(texts, (std::vector<std::string>{"inner", "one.txt", "two.txt"})) << Joined(texts);
    Select(tree, item);
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, (LPARAM)item);
    EXPECT_TRUE(qmtest::SaveWindowShot(GetParent(tree), QM_BIN_DIR, "filetree-pane.png"));

    // Changes made outside show under the selected folder.
    WriteFile("browse\\three.txt", "three\r\n");
    EXPECT_TRUE(qmtest::WaitUntil([&] { return HasChild(tree, item, "three.txt"); }, 10000))
        << Joined(qmtest::RemoteTreeChildTexts(tree, item));
    DeleteFileA((folder + "\\one.txt").c_str());
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !HasChild(tree, item, "one.txt"); }, 10000))
        << Joined(qmtest::RemoteTreeChildTexts(tree, item));
    CreateDirectoryA((folder + "\\made outside").c_str(), nullptr);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return HasChild(tree, item, "made outside"); }, 10000));

    // Refresh File System View brings the rest of the tree up to date too.
    HTREEITEM inner = ChildNamed(tree, item, "inner");
    ASSERT_TRUE(inner);
    Expand(tree, inner);
    ASSERT_TRUE(qmtest::WriteWholeFile(folder + "\\inner\\later.txt", "later\r\n"));
    PostCommand(6007);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return HasChild(tree, inner, "later.txt"); }, 10000))
        << Joined(qmtest::RemoteTreeChildTexts(tree, inner));

    // Closing with the watcher running ends the editor.
    EXPECT_TRUE(Close());
}

TEST_F(FileTreeTest, ContextCommandsOpenCopyAndShowProperties)
{
    std::string folder = MakeFolder("commands");
    const std::string text = "read only text\r\n";
    std::string path = WriteFile("commands\\locked.txt", text);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    std::string bin = WriteFile("commands\\data.bin", std::string("\x00\x01\x02text", 7));
    ASSERT_TRUE(Start());
    HWND tree = WaitFilledTree(Main());
    ASSERT_TRUE(tree);
    std::string why;
    HTREEITEM item = Browse(tree, folder, why);
    ASSERT_TRUE(item) << why;
    Expand(tree, item);
    HTREEITEM locked = ChildNamed(tree, item, "locked.txt");
    ASSERT_TRUE(locked) << Joined(qmtest::RemoteTreeChildTexts(tree, item));

    // The menu itself, from a real right click on the label.
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, (LPARAM)locked);
    ASSERT_TRUE(qmtest::BringToForeground(Main()));
    RECT rc = qmtest::RemoteTreeItemRect(tree, locked);
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(tree, &pt);
    qmtest::RightClickAt(pt);
    HWND menu = nullptr;
    EXPECT_TRUE(qmtest::WaitUntil([&] { return (menu = m_prog.FindOtherWindow("#32768")) != nullptr; }, 5000))
        << "no context menu";
    EXPECT_EQ(qmtest::RemoteTreeNext(tree, nullptr, TVGN_CARET), locked) << "the right click selects";
    if (menu) {
        EXPECT_TRUE(qmtest::SaveWindowShot(menu, QM_BIN_DIR, "filetree-menu.png"));
        qmtest::SendChord({VK_ESCAPE});
        qmtest::WaitUntil([&] { return !IsWindowVisible(menu); }, 3000);
    }

    // Copy Filepath.
    Select(tree, locked);
    PostMessageA(tree, WM_COMMAND, kCmdCopyPath, 0);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return Lower(Clipboard()) == Lower(path); }, 5000)) << Clipboard();

    // Open: as text, read-only as the file is.
    PostMessageA(tree, WM_COMMAND, kCmdOpen, 0);
    RemoteScintilla ed = EditorHolding(text);
    ASSERT_TRUE(ed);
    EXPECT_TRUE(ed.ReadOnly());

    // Open As Hex.
    HTREEITEM binItem = ChildNamed(tree, item, "data.bin");
    ASSERT_TRUE(binItem);
    Select(tree, binItem);
    PostMessageA(tree, WM_COMMAND, kCmdOpenHex, 0);
    EXPECT_TRUE(qmtest::WaitUntil([&] { return !qmtest::DescendantsOfClass(Main(), "BytegridWin", true).empty(); },
                                  10000))
        << "no hex view";

    // Properties: the file's information, modal.
    Select(tree, locked);
    PostMessageA(tree, WM_COMMAND, kCmdProperties, 0);
    HWND props = nullptr;
    EXPECT_TRUE(qmtest::WaitUntil(
        [&] {
            props = m_prog.FindOtherWindow("#32770");
            return props && qmtest::WindowTextOf(props) == "File Properties";
        },
        10000));
    if (props) {
        EXPECT_NE(DialogText(props).find("locked.txt"), std::string::npos) << DialogText(props);
        PostMessageA(props, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(qmtest::WaitUntil([&] { return !IsWindow(props); }, 5000));
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(CloseDiscarding());
}

TEST_F(FileTreeTest, TwoEditorsKeepTheirOwnWatchers)
{
    std::string first = MakeFolder("first");
    std::string second = MakeFolder("second");
    WriteFile("first\\a.txt", "a\r\n");
    WriteFile("second\\b.txt", "b\r\n");
    ASSERT_TRUE(Start());
    HWND treeOne = WaitFilledTree(Main());
    ASSERT_TRUE(treeOne);

    qmtest::ProgramUnderTest other;
    ASSERT_TRUE(other.Start(m_exe, "", m_work));
    HWND otherMain = other.WaitForMainWindow(QM_MAINFRAME_CLASS, 60000);
    ASSERT_TRUE(otherMain);
    HWND treeTwo = WaitFilledTree(otherMain);
    ASSERT_TRUE(treeTwo);

    std::string why;
    HTREEITEM one = Browse(treeOne, first, why);
    ASSERT_TRUE(one) << why;
    HTREEITEM two = Browse(treeTwo, second, why);
    ASSERT_TRUE(two) << why;
    Expand(treeOne, one);
    Expand(treeTwo, two);
    Select(treeOne, one);
    Select(treeTwo, two);

    // A new selection in one editor leaves the other's watcher running.
    Select(treeOne, qmtest::RemoteTreeNext(treeOne, nullptr, TVGN_ROOT));
    Select(treeOne, one);
    WriteFile("second\\new in second.txt", "n\r\n");
    EXPECT_TRUE(qmtest::WaitUntil([&] { return HasChild(treeTwo, two, "new in second.txt"); }, 10000));
    WriteFile("first\\new in first.txt", "n\r\n");
    EXPECT_TRUE(qmtest::WaitUntil([&] { return HasChild(treeOne, one, "new in first.txt"); }, 10000));

    // The first editor closes (its watcher ends); the second still follows.
    EXPECT_TRUE(Close());
    WriteFile("second\\after close.txt", "c\r\n");
    EXPECT_TRUE(qmtest::WaitUntil([&] { return HasChild(treeTwo, two, "after close.txt"); }, 10000));
    EXPECT_TRUE(other.Close(30000)) << "the second editor did not end";
}
