// projtree_tests.cpp - the Project Explorer on a real tree in a frame: the
// AddFile rules, the captions, folder commands, saving and loading through
// the tree (failed saves, refused files, closing), and real mouse and
// keyboard input for dragging, the context menu, double clicks and renaming.
#include "coretest.h"
#include "panetest.h"

#include "projtree.h"
#include "workspacefile.h"

#include <qmtest/messageboxes.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/qmatedriver.h>

#include <gtest/gtest.h>

#include <qx/toolbar.h>

#include <string>
#include <vector>

#include "resource.h"

namespace {

using coretest::ReadBytes;
using coretest::WriteBytes;

class ProjTreeTest : public panetest::FrameTest {
protected:
    void SetUp() override
    {
        panetest::FrameTest::SetUp();
        // The frame's own results list would take the clicks.
        m_pFrame->m_results.ShowWindow(SW_HIDE);
        ASSERT_TRUE(m_pane.Create(m_pFrame, 59586));
        m_pane.MoveWindow(0, 0, 400, 360);
        m_pane.ShowWindow(SW_SHOW);
        qmtest::PumpMessages();
    }
    void TearDown() override
    {
        if (::IsWindow(m_pane.GetSafeHwnd()))
            m_pane.DestroyWindow();
        panetest::FrameTest::TearDown();
    }
    CSolutionBarProjTree& Tree() { return m_pane.GetProjTree(); }

    // The items below a parent (TVI_ROOT: the whole tree) as one line:
    // Label(child,...) for items with children.
    std::string Shape(HTREEITEM hParent = TVI_ROOT)
    {
        std::string out;
        HTREEITEM h = hParent == TVI_ROOT ? Tree().GetRootItem() : Tree().GetChildItem(hParent);
        for (; h != NULL; h = Tree().GetNextSiblingItem(h)) {
            if (!out.empty())
                out += ",";
            out += std::string(Tree().GetItemText(h));
            if (Tree().ItemHasChildren(h))
                out += "(" + Shape(h) + ")";
        }
        return out;
    }
    HTREEITEM Child(HTREEITEM hParent, const char* text)
    {
        for (HTREEITEM h = Tree().GetChildItem(hParent); h != NULL; h = Tree().GetNextSiblingItem(h))
            if (Tree().GetItemText(h) == text)
                return h;
        return NULL;
    }
    std::string File(const std::string& name) { return m_dir.Path(name); }
    // The centre of an item's label in screen coordinates.
    POINT ScreenPointOn(HTREEITEM hItem)
    {
        Tree().EnsureVisible(hItem);
        CRect rc;
        Tree().GetItemRect(hItem, &rc, TRUE);
        POINT pt = {rc.CenterPoint().x, rc.CenterPoint().y};
        Tree().ClientToScreen(&pt);
        return pt;
    }
    static void Pump(DWORD ms) { qmtest::PumpFor(ms); }
    void Foreground()
    {
        ASSERT_TRUE(qmtest::BringToForeground(m_pFrame->GetSafeHwnd()));
        qmtest::PumpMessages();
    }
    // Runs a command of the pane (the toolbar's and the Workspace menu's).
    void PaneCommand(UINT nID) { m_pane.SendMessage(WM_COMMAND, nID, 0); }
    BOOL Enabled(UINT nID)
    {
        CTestCmdUI probe;
        probe.m_nID = nID;
        probe.DoUpdate(&m_pane, TRUE);
        return probe.m_bEnabled;
    }

    qmtest::TempDir m_dir;
    CSolutionBarPTContainer m_pane;
};

} // namespace

TEST_F(ProjTreeTest, APaneHasTheFolderToolbarOverTheTree)
{
    ASSERT_NE(m_pane.GetToolBar(), nullptr);
    CRect rcBar, rcTree;
    m_pane.GetToolBar()->GetWindowRect(&rcBar);
    Tree().GetWindowRect(&rcTree);
    EXPECT_GT(rcBar.Height(), 10);
    EXPECT_EQ(rcTree.top, rcBar.bottom) << "the tree starts below the toolbar";
    EXPECT_EQ(Tree().GetStyle() & 0x0F, 0x0Fu) << "buttons, lines, lines at root, label editing";
    EXPECT_FALSE(Tree().IsOpen());
    EXPECT_EQ(Shape(), "");
}

// AddFile without a workspace starts an unnamed one; a path that is there in
// any letter case adds nothing and gives the entry found.
TEST_F(ProjTreeTest, AddFileRules)
{
    HTREEITEM hA = Tree().AddFile("C:\\Work\\a.txt", NULL, 0, 0);
    ASSERT_NE(hA, nullptr);
    EXPECT_TRUE(Tree().IsOpen());
    EXPECT_EQ(Tree().GetWorkspacePath(), "");
    EXPECT_EQ(Shape(), "Project*(a.txt)");
    HTREEITEM hRoot = Tree().GetRootItem();
    EXPECT_EQ(Tree().GetSelectedItem(), hRoot) << "the folder it went to is selected";
    EXPECT_TRUE(Tree().GetItemState(hRoot, TVIS_EXPANDED) & TVIS_EXPANDED);

    EXPECT_EQ(Tree().AddFile("c:\\WORK\\A.TXT", NULL, 1, 3), hA) << "the same path in other letters";
    EXPECT_EQ(Shape(), "Project*(a.txt)");
    EXPECT_EQ(Tree().GetNode(hA)->encoding, 0) << "the first entry stays as it was";

    // Into the selected folder; a selected file sends it to its folder.
    HTREEITEM hSub = Tree().AddFolder("Sub", hRoot);
    Tree().SelectItem(hSub);
    HTREEITEM hB = Tree().AddFile("C:\\Work\\b.bin", NULL, 1, 4);
    Tree().SelectItem(hB);
    Tree().AddFile("C:\\Work\\c.txt", NULL, 0, 1);
    EXPECT_EQ(Shape(), "Project*(a.txt,Sub(b.bin,c.txt))");
    // A path found anywhere below, with the folder it was to go to selected.
    Tree().SelectItem(hRoot);
    EXPECT_EQ(Tree().AddFile("C:\\work\\B.BIN", NULL, 0, 0), hB);
    EXPECT_EQ(Tree().GetSelectedItem(), hRoot);

    int nImage = -1, nSelected = -1;
    Tree().GetItemImage(hB, nImage, nSelected);
    EXPECT_EQ(nImage, PROJ_IMAGE_BINARY);
    EXPECT_EQ(nSelected, PROJ_IMAGE_BINARY);
    Tree().GetItemImage(hA, nImage, nSelected);
    EXPECT_EQ(nImage, PROJ_IMAGE_FILE);
    Tree().GetItemImage(hSub, nImage, nSelected);
    EXPECT_EQ(nImage, PROJ_IMAGE_FOLDER);
    EXPECT_EQ(nSelected, PROJ_IMAGE_FOLDER_OPEN);
    const TreeNodeInfo* pB = Tree().GetNode(hB);
    ASSERT_NE(pB, nullptr);
    EXPECT_STREQ(pB->label, "b.bin");
    EXPECT_STREQ(pB->pathname, "C:\\Work\\b.bin");
    EXPECT_EQ(pB->encoding, 4);
    EXPECT_EQ(pB->type, 1);
    EXPECT_EQ(pB->nFolder, 0);

    EXPECT_EQ(Tree().AddFile("", NULL, 0, 0), nullptr);
    EXPECT_EQ(Tree().AddFile(("C:\\" + std::string(270, 'x')).c_str(), NULL, 0, 0), nullptr)
        << "longer than a record holds";
}

TEST_F(ProjTreeTest, TheRootShowsTheWorkspaceNameAndAStarWhileModified)
{
    std::string path = File("My Site.dpf");
    ASSERT_TRUE(Tree().NewWorkspace(path.c_str()));
    EXPECT_EQ(Shape(), "Project [My Site]");
    Tree().AddFile("C:\\x.txt", NULL, 0, 0);
    EXPECT_EQ(std::string(Tree().GetItemText(Tree().GetRootItem())), "Project [My Site]*");
    EXPECT_STREQ(Tree().GetNode(Tree().GetRootItem())->label, "Project [My Site]*");
    ASSERT_TRUE(Tree().SaveWorkspace(NULL));
    EXPECT_EQ(std::string(Tree().GetItemText(Tree().GetRootItem())), "Project [My Site]");
    EXPECT_NE(ReadBytes(path).find("label=\"Project [My Site]\""), std::string::npos);
}

TEST_F(ProjTreeTest, FolderCommandsWorkOnlyOnAnOpenWorkspaceAndKeepTheRoot)
{
    for (UINT nID : {ID_WORKSPACE_ADD_FOLDER, ID_WORKSPACE_DELETE_FOLDER, ID_WORKSPACE_RENAME_FOLDER})
        EXPECT_EQ(Enabled(nID), FALSE) << nID;
    PaneCommand(ID_WORKSPACE_ADD_FOLDER);
    EXPECT_EQ(Shape(), "") << "nothing without a workspace";

    ASSERT_TRUE(Tree().NewWorkspace(""));
    for (UINT nID : {ID_WORKSPACE_ADD_FOLDER, ID_WORKSPACE_DELETE_FOLDER, ID_WORKSPACE_RENAME_FOLDER})
        EXPECT_EQ(Enabled(nID), TRUE) << nID;
    HTREEITEM hRoot = Tree().GetRootItem();
    Tree().SelectItem(hRoot);
    Foreground();
    PaneCommand(ID_WORKSPACE_ADD_FOLDER);
    EXPECT_EQ(Shape(), "Project*(New Folder)");
    HTREEITEM hNew = Child(hRoot, "New Folder");
    ASSERT_NE(hNew, nullptr);
    EXPECT_NE(Tree().GetEditControl(), nullptr) << "the new folder's label is being edited";
    Tree().SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
    qmtest::PumpMessages();

    // The root folder stays.
    {
        qmtest::MessageBoxRecorder boxes;
        Tree().SelectItem(hRoot);
        PaneCommand(ID_WORKSPACE_DELETE_FOLDER);
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.Texts()[0], "The project folder cannot be deleted.");
        EXPECT_EQ(boxes.Types()[0] & MB_ICONMASK, (UINT)MB_ICONINFORMATION);
    }
    // An empty folder goes without a question; one with entries asks.
    Tree().AddFile("C:\\in.txt", hNew, 0, 0);
    HTREEITEM hEmpty = Tree().AddFolder("Empty", hRoot);
    {
        qmtest::MessageBoxRecorder boxes({IDCANCEL, IDOK});
        Tree().SelectItem(hEmpty);
        PaneCommand(ID_WORKSPACE_DELETE_FOLDER);
        EXPECT_TRUE(boxes.Texts().empty());
        EXPECT_EQ(Shape(), "Project*(New Folder(in.txt))");
        Tree().SelectItem(hNew);
        PaneCommand(ID_WORKSPACE_DELETE_FOLDER);
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.Texts()[0], "Delete this folder and all its sub items?");
        EXPECT_EQ(boxes.Types()[0], (UINT)(MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2));
        EXPECT_EQ(Shape(), "Project*(New Folder(in.txt))") << "Cancel keeps it";
        PaneCommand(ID_WORKSPACE_DELETE_FOLDER);
        EXPECT_EQ(Shape(), "Project*");
    }
    // Rename Folder edits a folder's label only.
    HTREEITEM hFile = Tree().AddFile("C:\\f.txt", hRoot, 0, 0);
    Tree().SelectItem(hFile);
    PaneCommand(ID_WORKSPACE_RENAME_FOLDER);
    EXPECT_EQ(Tree().GetEditControl(), nullptr);
}

// Save writes what the tree holds; a new tree loads it back the same.
TEST_F(ProjTreeTest, SaveThenLoadGivesTheSameTree)
{
    std::string path = File("round.dpf");
    ASSERT_TRUE(Tree().NewWorkspace(""));
    HTREEITEM hRoot = Tree().GetRootItem();
    Tree().AddFile("C:\\one.txt", hRoot, 0, 1);
    HTREEITEM hDocs = Tree().AddFolder("Docs", hRoot);
    Tree().AddFile("C:\\docs\\two.bin", hDocs, 1, 4);
    HTREEITEM hDeep = Tree().AddFolder("Deep", hDocs);
    Tree().AddFile("C:\\docs\\deep\\three.txt", hDeep, 0, 3);
    Tree().AddFolder("Nothing", hRoot);
    ASSERT_TRUE(Tree().SaveWorkspace(path.c_str()));
    EXPECT_EQ(Tree().GetWorkspacePath(), path.c_str());
    const std::string saved = ReadBytes(path);
    EXPECT_EQ(saved.substr(0, 8), "<ROOT>\r\n");
    std::string shape = Shape();
    EXPECT_EQ(shape, "Project [round](one.txt,Docs(two.bin,Deep(three.txt)),Nothing)");

    CSolutionBarPTContainer other;
    ASSERT_TRUE(other.Create(m_pFrame, 100));
    ASSERT_TRUE(other.GetProjTree().LoadWorkspace(path.c_str()));
    EXPECT_FALSE(other.GetProjTree().GetModified());
    EXPECT_EQ(FormatWorkspace(other.GetProjTree().GetNodes()), saved);
    other.DestroyWindow();
}

// A save that fails is reported, keeps the star and the old file.
TEST_F(ProjTreeTest, AFailedSaveKeepsTheStarAndTheOldFile)
{
    std::string path = File("locked.dpf");
    ASSERT_TRUE(Tree().NewWorkspace(path.c_str()));
    ASSERT_TRUE(Tree().SaveWorkspace(NULL));
    const std::string before = ReadBytes(path);
    Tree().AddFile("C:\\new.txt", NULL, 0, 0);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        qmtest::MessageBoxRecorder boxes;
        EXPECT_FALSE(Tree().SaveWorkspace(NULL));
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_NE(boxes.Texts()[0].find(path), std::string::npos) << boxes.Texts()[0];
        // Closing asks; Yes tries again, fails again, and the workspace stays.
        boxes.Answer(IDYES);
        EXPECT_FALSE(Tree().SaveIfModified());
        EXPECT_TRUE(Tree().IsOpen());
        // So does closing the editor.
        boxes.Answer(IDYES);
        EXPECT_FALSE(Tree().SaveOnExit());
    }
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_TRUE(Tree().GetModified());
    EXPECT_EQ(std::string(Tree().GetItemText(Tree().GetRootItem())), "Project [locked]*");
    EXPECT_EQ(Tree().GetWorkspacePath(), path.c_str());
}

TEST_F(ProjTreeTest, AFileThatHoldsNoWorkspaceIsRefusedAndTheOpenOneStays)
{
    std::string good = File("good.dpf"), bad = File("bad.dpf");
    ASSERT_TRUE(Tree().NewWorkspace(good.c_str()));
    Tree().AddFile("C:\\kept.txt", NULL, 0, 0);
    for (const char* bytes : {"not xml at all", "<PROJECT/>", ""}) {
        WriteBytes(bad, bytes);
        qmtest::MessageBoxRecorder boxes;
        EXPECT_FALSE(Tree().LoadWorkspace(bad.c_str())) << bytes;
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_NE(boxes.Texts()[0].find(bad), std::string::npos);
        EXPECT_EQ(ReadBytes(bad), bytes);
    }
    EXPECT_EQ(Tree().GetWorkspacePath(), good.c_str());
    EXPECT_EQ(Shape(), "Project [good]*(kept.txt)");
    qmtest::MessageBoxRecorder boxes;
    EXPECT_FALSE(Tree().LoadWorkspace(File("missing.dpf").c_str()));
    EXPECT_EQ(boxes.Texts().size(), 1u);

    // A workspace without NODEs is the root folder alone; loading asks
    // about the modified one first.
    WriteBytes(bad, "<ROOT></ROOT>");
    boxes.Answer(IDNO);
    EXPECT_TRUE(Tree().LoadWorkspace(bad.c_str()));
    EXPECT_EQ(boxes.Texts().back(), "Save workspace before closing?");
    EXPECT_EQ(Shape(), "Project [bad]");
}

TEST_F(ProjTreeTest, ClosingAsksOnlyWhenModifiedAndTheEditorDropsAnUnnamedWorkspace)
{
    qmtest::MessageBoxRecorder boxes(IDNO);
    ASSERT_TRUE(Tree().NewWorkspace(""));
    EXPECT_TRUE(Tree().SaveIfModified());
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_FALSE(Tree().IsOpen());
    EXPECT_EQ(Shape(), "");

    Tree().AddFile("C:\\x.txt", NULL, 0, 0);
    EXPECT_TRUE(Tree().SaveOnExit()) << "an unnamed workspace is dropped";
    EXPECT_TRUE(boxes.Texts().empty());
    // So it is when another workspace replaces it.
    EXPECT_TRUE(Tree().NewWorkspace(""));
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(Shape(), "Project");
    Tree().AddFile("C:\\x.txt", NULL, 0, 0);
    EXPECT_TRUE(Tree().SaveIfModified());
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0], "Save workspace before closing?");
    EXPECT_EQ(boxes.Types()[0] & MB_TYPEMASK, (UINT)MB_YESNO);

    std::string path = File("named.dpf");
    ASSERT_TRUE(Tree().NewWorkspace(path.c_str()));
    Tree().AddFile("C:\\y.txt", NULL, 0, 0);
    boxes.Answer(IDYES);
    EXPECT_TRUE(Tree().SaveOnExit());
    EXPECT_EQ(boxes.Texts().size(), 2u);
    EXPECT_NE(ReadBytes(path).find("y.txt"), std::string::npos);
}

// --- real input ----------------------------------------------------------------------------

TEST_F(ProjTreeTest, AnEntryDraggedWithTheMouseMovesIntoAFolder)
{
    ASSERT_TRUE(Tree().NewWorkspace(File("drag.dpf").c_str()));
    HTREEITEM hRoot = Tree().GetRootItem();
    HTREEITEM hA = Tree().AddFile("C:\\a.txt", hRoot, 0, 2);
    HTREEITEM hFolder = Tree().AddFolder("Target", hRoot);
    Tree().AddFile("C:\\b.txt", hRoot, 0, 0);
    ASSERT_TRUE(Tree().SaveWorkspace(NULL));
    Foreground();
    POINT ptFrom = ScreenPointOn(hA), ptTo = ScreenPointOn(hFolder);
    panetest::WithInput([&] { qmtest::DragFromTo(ptFrom, ptTo, panetest::SleepFor); });
    EXPECT_FALSE(Tree().IsDragging());
    EXPECT_EQ(Shape(), "Project [drag]*(Target(a.txt),b.txt)");
    HTREEITEM hMoved = Child(Child(Tree().GetRootItem(), "Target"), "a.txt");
    ASSERT_NE(hMoved, nullptr);
    ASSERT_NE(Tree().GetNode(hMoved), nullptr);
    EXPECT_STREQ(Tree().GetNode(hMoved)->pathname, "C:\\a.txt");
    EXPECT_EQ(Tree().GetNode(hMoved)->encoding, 2);
    EXPECT_EQ(Tree().FindItemByPath("C:\\A.TXT"), hMoved);
    ASSERT_TRUE(Tree().SaveWorkspace(NULL));
    EXPECT_NE(ReadBytes(File("drag.dpf")).find("label=\"Target\" pathname=\"\" encoding=\"4\" type=\"0\" folder=\"1\">"),
              std::string::npos);
}

TEST_F(ProjTreeTest, ADoubleClickOpensAnEntryAndAClickActivatesIt)
{
    ASSERT_TRUE(Tree().NewWorkspace(""));
    HTREEITEM hRoot = Tree().GetRootItem();
    HTREEITEM hA = Tree().AddFile("C:\\open me.txt", hRoot, 0, 0);
    HTREEITEM hFolder = Tree().AddFolder("Folder", hRoot);
    Foreground();
    POINT ptA = ScreenPointOn(hA);
    panetest::WithInput([&] { qmtest::DoubleClickAt(ptA); });
    ASSERT_EQ(m_pFrame->m_opened.size(), 1u);
    EXPECT_EQ(m_pFrame->m_opened[0].path, "C:\\open me.txt");
    EXPECT_EQ(m_pFrame->m_opened[0].line, -2) << "as a workspace entry";
    EXPECT_FALSE(m_pFrame->m_activated.empty());
    EXPECT_EQ(m_pFrame->m_activated.back(), "C:\\open me.txt");
    POINT ptFolder = ScreenPointOn(hFolder);
    qmtest::PumpFor(::GetDoubleClickTime() + 100);
    panetest::WithInput([&] { qmtest::DoubleClickAt(ptFolder); });
    EXPECT_EQ(m_pFrame->m_opened.size(), 1u) << "a folder opens nothing";
}

// The right button selects the entry and shows Open and Remove; the
// command goes to the tree.
TEST_F(ProjTreeTest, TheContextMenuOfAnEntryRemovesIt)
{
    ASSERT_TRUE(Tree().NewWorkspace(""));
    HTREEITEM hRoot = Tree().GetRootItem();
    HTREEITEM hA = Tree().AddFile("C:\\a.txt", hRoot, 0, 0);
    Tree().AddFile("C:\\b.txt", hRoot, 0, 0);
    Foreground();
    std::string items;
    POINT ptA = ScreenPointOn(hA);
    panetest::WithInput([&] {
        qmtest::ClickAt(ptA, true);
        HWND menu = NULL;
        qmtest::WaitUntil([&] { return (menu = ::FindWindowA("#32768", NULL)) != NULL && ::IsWindowVisible(menu); },
                          5000);
        if (menu == NULL)
            return;
        HMENU hMenu = (HMENU)::SendMessageA(menu, MN_GETHMENU, 0, 0);
        char text[64];
        for (int i = 0; hMenu != NULL && i < ::GetMenuItemCount(hMenu); ++i) {
            ::GetMenuStringA(hMenu, i, text, sizeof(text), MF_BYPOSITION);
            items += std::string(text) + ";";
        }
        qmtest::SendChord({'R'});
        // A menu left open would hold the test: it goes.
        if (!qmtest::WaitUntil([&] { return !::IsWindowVisible(menu); }, 3000))
            qmtest::SendChord({VK_ESCAPE});
    });
    EXPECT_EQ(items, "&Open;&Remove;");
    EXPECT_EQ(Shape(), "Project*(b.txt)");

    // A folder has no menu.
    HTREEITEM hFolder = Tree().AddFolder("F", hRoot);
    POINT ptFolder = ScreenPointOn(hFolder);
    panetest::WithInput([&] { qmtest::ClickAt(ptFolder, true); });
    EXPECT_EQ(::FindWindowA("#32768", NULL) != NULL && ::IsWindowVisible(::FindWindowA("#32768", NULL)), false);
    EXPECT_EQ(Tree().GetSelectedItem(), hFolder);
}

TEST_F(ProjTreeTest, AFolderIsRenamedInPlace)
{
    std::string path = File("rename.dpf");
    ASSERT_TRUE(Tree().NewWorkspace(path.c_str()));
    HTREEITEM hFolder = Tree().AddFolder("Old", Tree().GetRootItem());
    Tree().Expand(Tree().GetRootItem(), TVE_EXPAND);
    Tree().SelectItem(hFolder);
    Foreground();
    PaneCommand(ID_WORKSPACE_RENAME_FOLDER);
    ASSERT_NE(Tree().GetEditControl(), nullptr);
    qmtest::SendChord({VK_CONTROL, 'A'});
    qmtest::TypeText(L"Renamed \u00e9\n");
    qmtest::PumpUntil([&] { return Tree().GetEditControl() == nullptr; }, 3000);
    qmtest::PumpMessages();
    EXPECT_EQ(std::string(Tree().GetItemText(hFolder)), "Renamed \xC3\xA9");
    EXPECT_STREQ(Tree().GetNode(hFolder)->label, "Renamed \xC3\xA9");
    EXPECT_TRUE(Tree().GetModified());
    ASSERT_TRUE(Tree().SaveWorkspace(NULL));
    EXPECT_NE(ReadBytes(path).find("label=\"Renamed \xC3\xA9\""), std::string::npos);
}
