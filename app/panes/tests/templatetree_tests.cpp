// templatetree_tests.cpp - the Template Explorer over a temporary template
// folder: one table of operations on disk and in the tree, insertion into a
// real editor, the file helpers, the context menus (real right clicks), and
// the two template dialogs.
#include "coretest.h"
#include "panetest.h"

#include "scintillawrap.h"
#include "templatedlg.h"
#include "templatetree.h"

#include <qmtest/messageboxes.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/qmatedriver.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "resource.h"

namespace {

using coretest::ReadBytes;

// A folder on disk as one line, names sorted: Folder(child,...) and
// file=text.
std::string DiskShape(const std::string& folder)
{
    std::vector<std::string> parts;
    WIN32_FIND_DATAA data;
    HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return "<missing>";
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            parts.push_back(name + "(" + DiskShape(folder + "\\" + name) + ")");
        else
            parts.push_back(name + "=" + ReadBytes(folder + "\\" + name));
    } while (::FindNextFileA(h, &data));
    ::FindClose(h);
    std::sort(parts.begin(), parts.end());
    std::string out;
    for (const std::string& p : parts)
        out += (out.empty() ? "" : ",") + p;
    return out;
}

class TemplateTreeTest : public panetest::PaneAndEditorTest<CSolutionBarTEContainer, 59588, 300> {
protected:
    void SetUp() override
    {
        m_folder = m_dir.Path("Templates");
        ASSERT_TRUE(panetest::MakeFolder(m_folder));
        ASSERT_TRUE(panetest::WriteBytes(m_folder + "\\a.txt", "alpha <%REPLACE%>!"));
        ASSERT_TRUE(panetest::MakeFolder(m_folder + "\\Folder"));
        ASSERT_TRUE(panetest::WriteBytes(m_folder + "\\Folder\\inner.txt", "[<%REPLACE%>]"));
        ASSERT_TRUE(panetest::MakeFolder(m_folder + "\\Empty"));
        PaneAndEditorTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(Tree().FillFromFolder(NULL, m_folder.c_str(), TRUE));
        Tree().Expand(Tree().GetRootItem(), TVE_EXPAND);
    }

public:
    // (Public: the table's actions reach them through the fixture.)
    CSolutionBarTemplateTree& Tree() { return m_pane.GetTree(); }

    std::string TreeShape(HTREEITEM hParent)
    {
        std::vector<std::string> parts;
        for (HTREEITEM h = Tree().GetChildItem(hParent); h != NULL; h = Tree().GetNextSiblingItem(h)) {
            std::string text = (const char*)Tree().GetItemText(h);
            const TreeNodeInfo* pNode = Tree().GetNode(h);
            if (pNode == NULL)
                text += "<no record>";
            else if (std::string(pNode->label) != text)
                text += "<label " + std::string(pNode->label) + ">";
            if (Tree().ItemHasChildren(h) || (pNode != NULL && pNode->nFolder))
                text += "(" + TreeShape(h) + ")";
            parts.push_back(text);
        }
        std::sort(parts.begin(), parts.end());
        std::string out;
        for (const std::string& p : parts)
            out += (out.empty() ? "" : ",") + p;
        return out;
    }
    std::string TreeShape() { return TreeShape(Tree().GetRootItem()); }
    // The item of a path of names below the top item ("Folder/inner.txt").
    HTREEITEM Item(const std::string& names)
    {
        HTREEITEM h = Tree().GetRootItem();
        size_t start = 0;
        while (h != NULL && start <= names.size()) {
            size_t slash = names.find('/', start);
            std::string name = names.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
            Tree().Expand(h, TVE_EXPAND);
            HTREEITEM found = NULL;
            for (HTREEITEM c = Tree().GetChildItem(h); c != NULL; c = Tree().GetNextSiblingItem(c))
                if (Tree().GetItemText(c) == name.c_str())
                    found = c;
            h = found;
            if (slash == std::string::npos)
                break;
            start = slash + 1;
        }
        return h;
    }
    void Select(const std::string& names)
    {
        HTREEITEM h = names.empty() ? Tree().GetRootItem() : Item(names);
        ASSERT_NE(h, nullptr) << names;
        Tree().SelectItem(h);
    }

    qmtest::TempDir m_dir;
    std::string m_folder;
};

const char kStartDisk[] = "Empty(),Folder(inner.txt=[<%REPLACE%>]),a.txt=alpha <%REPLACE%>!";
const char kStartTree[] = "Empty(),Folder(inner.txt),a.txt";

} // namespace

TEST_F(TemplateTreeTest, TheTreeShowsTheFolderBelowTemplates)
{
    EXPECT_EQ(std::string(Tree().GetItemText(Tree().GetRootItem())), "Templates");
    EXPECT_EQ(std::string(Tree().GetNode(Tree().GetRootItem())->pathname), m_folder);
    EXPECT_EQ(TreeShape(), kStartTree);
    const TreeNodeInfo* pInner = Tree().GetNode(Item("Folder/inner.txt"));
    ASSERT_NE(pInner, nullptr);
    EXPECT_EQ(std::string(pInner->pathname), m_folder + "\\Folder\\inner.txt");
    EXPECT_EQ(pInner->nFolder, 0);
    int nImage = -1, nSelected = -1;
    Tree().GetItemImage(Item("Folder"), nImage, nSelected);
    EXPECT_EQ(nImage, TEMPL_IMAGE_FOLDER);
    EXPECT_EQ(nSelected, TEMPL_IMAGE_FOLDER_OPEN);
    Tree().GetItemImage(Item("a.txt"), nImage, nSelected);
    EXPECT_EQ(nImage, TEMPL_IMAGE_FILE);
    EXPECT_EQ(nSelected, TEMPL_IMAGE_FILE_SELECTED);
    EXPECT_EQ(Tree().GetStyle() & 0x142F, 0x142Fu);
}

// Every operation works on disk first; the tree follows only what happened.
TEST_F(TemplateTreeTest, OperationsOnDiskAndInTheTree)
{
    using Action = std::function<void(TemplateTreeTest&, qmtest::MessageBoxRecorder&)>;
    struct Case {
        const char* name;
        Action action;
        std::string disk;
        std::string tree;
        int boxes; // messages shown
    } cases[] = {
        {"create in the selected folder",
         [](TemplateTreeTest& t, qmtest::MessageBoxRecorder&) {
             t.Select("Folder/inner.txt");
             EXPECT_NE(t.Tree().CreateTemplate("new.txt", "N\r\n"), nullptr);
         },
         "Empty(),Folder(inner.txt=[<%REPLACE%>],new.txt=N\r\n),a.txt=alpha <%REPLACE%>!",
         "Empty(),Folder(inner.txt,new.txt),a.txt", 0},
        {"create over an existing name, in any case",
         [](TemplateTreeTest& t, qmtest::MessageBoxRecorder&) {
             t.Select("");
             EXPECT_EQ(t.Tree().CreateTemplate("a.txt", "X"), nullptr);
             EXPECT_EQ(t.Tree().CreateTemplate("A.TXT", "X"), nullptr);
             EXPECT_EQ(t.Tree().CreateTemplate("Folder", "X"), nullptr);
         },
         kStartDisk, kStartTree, 3},
        {"create over a file made after the start",
         [](TemplateTreeTest& t, qmtest::MessageBoxRecorder&) {
             panetest::WriteBytes(t.m_folder + "\\late.txt", "late");
             t.Select("");
             EXPECT_EQ(t.Tree().CreateTemplate("late.txt", "X"), nullptr);
         },
         "Empty(),Folder(inner.txt=[<%REPLACE%>]),a.txt=alpha <%REPLACE%>!,late.txt=late", kStartTree, 1},
        {"edit the text only",
         [](TemplateTreeTest& t, qmtest::MessageBoxRecorder&) {
             t.Select("a.txt");
             EXPECT_TRUE(t.Tree().EditTemplate("a.txt", "changed"));
         },
         "Empty(),Folder(inner.txt=[<%REPLACE%>]),a.txt=changed", kStartTree, 0},
        {"edit and rename",
         [](TemplateTreeTest& t, qmtest::MessageBoxRecorder&) {
             t.Select("a.txt");
             EXPECT_TRUE(t.Tree().EditTemplate("b.txt", "bee"));
             EXPECT_EQ(std::string(t.Tree().GetNode(t.Item("b.txt"))->pathname), t.m_folder + "\\b.txt");
         },
         "Empty(),Folder(inner.txt=[<%REPLACE%>]),b.txt=bee", "Empty(),Folder(inner.txt),b.txt", 0},
        {"rename a folder, then insert from a child",
         [](TemplateTreeTest& t, qmtest::MessageBoxRecorder&) {
             EXPECT_TRUE(t.Tree().Rename(t.Item("Folder"), "Renamed"));
             t.Select("Renamed/inner.txt");
             EXPECT_EQ(std::string(t.Tree().GetNode(t.Item("Renamed/inner.txt"))->pathname),
                       t.m_folder + "\\Renamed\\inner.txt");
             t.m_editor.ReplaceAllText("abc");
             t.m_editor.SetSel(1, 2);
             EXPECT_TRUE(t.Tree().AddToDocument());
             EXPECT_EQ(t.EditorText(), "a[b]c");
         },
         "Empty(),Renamed(inner.txt=[<%REPLACE%>]),a.txt=alpha <%REPLACE%>!", "Empty(),Renamed(inner.txt),a.txt", 0},
        {"delete a template (No keeps it, Yes deletes it)",
         [](TemplateTreeTest& t, qmtest::MessageBoxRecorder& boxes) {
             boxes.Answer(IDNO);
             boxes.Answer(IDYES);
             t.Select("a.txt");
             t.Tree().DeleteTemplate();
             EXPECT_EQ(t.TreeShape(), kStartTree);
             t.Tree().DeleteTemplate();
             EXPECT_EQ(boxes.Texts()[0], "Are you sure you want to delete 'a.txt'?");
         },
         "Empty(),Folder(inner.txt=[<%REPLACE%>])", "Empty(),Folder(inner.txt)", 2},
        {"delete a folder holding a file made after the start",
         [](TemplateTreeTest& t, qmtest::MessageBoxRecorder& boxes) {
             panetest::WriteBytes(t.m_folder + "\\Empty\\later.txt", "x");
             boxes.Answer(IDCANCEL);
             boxes.Answer(IDOK);
             t.Select("Empty");
             t.Tree().DeleteFolder();
             EXPECT_EQ(t.TreeShape(), kStartTree) << "Cancel";
             t.Tree().DeleteFolder();
             EXPECT_EQ(boxes.Texts()[0], "Delete this folder and all its sub items?");
         },
         "Folder(inner.txt=[<%REPLACE%>]),a.txt=alpha <%REPLACE%>!", "Folder(inner.txt),a.txt", 2},
        {"delete an empty folder without a question; the top item stays",
         [](TemplateTreeTest& t, qmtest::MessageBoxRecorder& boxes) {
             t.Select("Empty");
             t.Tree().DeleteFolder();
             t.Select("");
             t.Tree().DeleteFolder();
             ASSERT_EQ(boxes.Texts().size(), 1u);
             EXPECT_EQ(boxes.Texts()[0], "The template folder cannot be deleted.");
         },
         "Folder(inner.txt=[<%REPLACE%>]),a.txt=alpha <%REPLACE%>!", "Folder(inner.txt),a.txt", 1},
        {"bad names lead nowhere",
         [](TemplateTreeTest& t, qmtest::MessageBoxRecorder&) {
             t.Select("Folder");
             for (const char* name : {"a:b", "x/y", "..\\up.txt", "..", ".", "q?", "s*", "<t>", "p|q", "\"",
                                      ""})
                 EXPECT_EQ(t.Tree().CreateTemplate(name, "bad"), nullptr) << name;
             for (const char* name : {"..", "..\\out", "c:d"})
                 EXPECT_FALSE(t.Tree().Rename(t.Item("Folder/inner.txt"), name)) << name;
             t.Select("Folder/inner.txt");
             EXPECT_FALSE(t.Tree().EditTemplate("../inner.txt", "moved"));
         },
         kStartDisk, kStartTree, 12},
        {"create a folder",
         [](TemplateTreeTest& t, qmtest::MessageBoxRecorder&) {
             t.Select("Folder");
             EXPECT_NE(t.Tree().CreateFolder(), nullptr);
             t.Tree().SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
             t.Select("Folder");
             EXPECT_EQ(t.Tree().CreateFolder(), nullptr) << "\"New Folder\" is there already";
         },
         "Empty(),Folder(New Folder(),inner.txt=[<%REPLACE%>]),a.txt=alpha <%REPLACE%>!",
         "Empty(),Folder(New Folder(),inner.txt),a.txt", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case starts from the fixture folder again.
        qmtest::RemoveTree(m_folder);
        ASSERT_TRUE(panetest::MakeFolder(m_folder));
        panetest::WriteBytes(m_folder + "\\a.txt", "alpha <%REPLACE%>!");
        panetest::MakeFolder(m_folder + "\\Folder");
        panetest::WriteBytes(m_folder + "\\Folder\\inner.txt", "[<%REPLACE%>]");
        panetest::MakeFolder(m_folder + "\\Empty");
        ASSERT_TRUE(Tree().FillFromFolder(NULL, m_folder.c_str(), TRUE));
        ASSERT_EQ(DiskShape(m_folder), kStartDisk);
        qmtest::MessageBoxRecorder boxes;
        c.action(*this, boxes);
        qmtest::PumpMessages();
        EXPECT_EQ(DiskShape(m_folder), c.disk);
        EXPECT_EQ(TreeShape(), c.tree);
        EXPECT_EQ((int)boxes.Texts().size(), c.boxes);
        EXPECT_EQ(DiskShape(m_dir.Path()).find("up.txt"), std::string::npos) << "nothing outside the folder";
    }
}

TEST_F(TemplateTreeTest, TemplatesAreReadUpTo250000BytesAndCutAtANul)
{
    std::string big(250001, 'x');
    big[0] = 'B';
    big[249999] = 'E';
    panetest::WriteBytes(m_folder + "\\big.txt", big);
    CString text = ReadTemplateFile((m_folder + "\\big.txt").c_str());
    EXPECT_EQ(text.GetLength(), 250000);
    EXPECT_EQ(text[249999], 'E');
    panetest::WriteBytes(m_folder + "\\zero.txt", std::string("ab\0cd", 5));
    EXPECT_EQ(std::string(ReadTemplateFile((m_folder + "\\zero.txt").c_str())), "ab");
    EXPECT_EQ(std::string(ReadTemplateFile((m_folder + "\\missing.txt").c_str())), "");

    ASSERT_TRUE(Tree().FillFromFolder(NULL, m_folder.c_str(), TRUE));
    Select("big.txt");
    EXPECT_TRUE(Tree().AddToDocument());
    EXPECT_EQ(m_editor.Call(SCI_GETLENGTH), 250000);

    // With no text view nothing is inserted.
    m_pFrame->m_pEditor = NULL;
    EXPECT_FALSE(Tree().AddToDocument());
}

TEST_F(TemplateTreeTest, NamesThatAreRefused)
{
    for (const char* name : {"plain.txt", "with space", "caf\xC3\xA9", "a.b.c", "...x"})
        EXPECT_TRUE(IsValidTemplateName(name)) << name;
    for (const char* name : {"", ".", "..", "a\\b", "a/b", "c:", "*", "?", "\"q\"", "<", ">", "|", "tab\there"})
        EXPECT_FALSE(IsValidTemplateName(name)) << name;
}

TEST_F(TemplateTreeTest, AMissingFolderShowsTheTopItemAlone)
{
    EXPECT_TRUE(Tree().FillFromFolder(NULL, m_dir.Path("no such folder").c_str(), TRUE));
    EXPECT_EQ(std::string(Tree().GetItemText(Tree().GetRootItem())), "Templates");
    EXPECT_EQ(Tree().GetChildItem(Tree().GetRootItem()), nullptr);
    EXPECT_FALSE(Tree().FillFromFolder(NULL, "", TRUE)) << "an empty path fails";
    EXPECT_NE(Tree().GetRootItem(), nullptr);
}

TEST_F(TemplateTreeTest, CopyToClipboardPutsTheText)
{
    Select("a.txt");
    ASSERT_TRUE(Tree().CopyToClipboard());
    std::string clip;
    ASSERT_TRUE(qmtest::ClipboardText(clip));
    EXPECT_EQ(clip, "alpha <%REPLACE%>!");
}

// Real right clicks: the folder menu and the file menu, whose commands go
// to the tree (32786 is also the text view's Delete Word).
TEST_F(TemplateTreeTest, ContextMenusOfFoldersAndFiles)
{
    ASSERT_TRUE(qmtest::BringToForeground(m_pFrame->GetSafeHwnd()));
    // Opens the menu with a right click, reads it, then clicks item nPick
    // (-1: none, Escape).
    auto openMenu = [&](HTREEITEM hItem, int nPick) {
        Tree().EnsureVisible(hItem);
        CRect rc;
        Tree().GetItemRect(hItem, &rc, TRUE);
        POINT pt = {rc.CenterPoint().x, rc.CenterPoint().y};
        Tree().ClientToScreen(&pt);
        std::string items;
        panetest::WithInput([&] {
            qmtest::ClickAt(pt, true);
            HWND menu = NULL;
            qmtest::WaitUntil(
                [&] { return (menu = ::FindWindowA("#32768", NULL)) != NULL && ::IsWindowVisible(menu); }, 5000);
            if (menu == NULL)
                return;
            HMENU hMenu = (HMENU)::SendMessageA(menu, MN_GETHMENU, 0, 0);
            char text[64];
            for (int i = 0; hMenu != NULL && i < ::GetMenuItemCount(hMenu); ++i) {
                if (::GetMenuStringA(hMenu, i, text, sizeof(text), MF_BYPOSITION) > 0)
                    items += std::string(text) + ";";
            }
            // An item is clicked (Enter would reach a label edit it starts).
            RECT rcItem = {};
            if (nPick >= 0 && ::GetMenuItemRect(NULL, hMenu, (UINT)nPick, &rcItem))
                qmtest::ClickAt({(rcItem.left + rcItem.right) / 2, (rcItem.top + rcItem.bottom) / 2});
            else
                qmtest::SendChord({VK_ESCAPE});
            // A menu left open would hold the test: it goes.
            if (!qmtest::WaitUntil([&] { return !::IsWindowVisible(menu); }, 3000))
                qmtest::SendChord({VK_ESCAPE});
        });
        return items;
    };
    EXPECT_EQ(openMenu(Item("Folder"), -1), "Create Folder;Rename Folder;Delete Folder;Create Template;");
    EXPECT_EQ(openMenu(Item("a.txt"), -1),
              "Add To Document;Copy To Clipboard;Create Template;Edit Template;Delete Template;");
    // Rename Folder (32786) from the menu: the tree edits the label.
    openMenu(Item("Folder"), 1);
    ASSERT_NE(Tree().GetEditControl(), nullptr) << "Rename Folder went to the tree: " << TreeShape() << " sel "
                                                << (const char*)Tree().GetItemText(Tree().GetSelectedItem())
                                                << " focus " << ::GetFocus() << " tree " << Tree().GetSafeHwnd();
    qmtest::SendChord({VK_CONTROL, 'A'});
    qmtest::TypeText(L"Moved\n");
    qmtest::PumpUntil([&] { return Tree().GetEditControl() == nullptr; }, 3000);
    qmtest::PumpMessages();
    EXPECT_EQ(DiskShape(m_folder), "Empty(),Moved(inner.txt=[<%REPLACE%>]),a.txt=alpha <%REPLACE%>!");
    EXPECT_EQ(TreeShape(), "Empty(),Moved(inner.txt),a.txt");
}

TEST_F(TemplateTreeTest, ADoubleClickInsertsATemplate)
{
    m_editor.ReplaceAllText("x");
    m_editor.SetSel(0, 1);
    ASSERT_TRUE(qmtest::BringToForeground(m_pFrame->GetSafeHwnd()));
    HTREEITEM hItem = Item("a.txt");
    CRect rc;
    Tree().GetItemRect(hItem, &rc, TRUE);
    POINT pt = {rc.CenterPoint().x, rc.CenterPoint().y};
    Tree().ClientToScreen(&pt);
    panetest::WithInput([&] { qmtest::DoubleClickAt(pt); });
    EXPECT_EQ(EditorText(), "alpha x!") << (const char*)Tree().GetItemText(Tree().GetSelectedItem()) << " at " << pt.x
                                        << "," << pt.y << " window there "
                                        << (::WindowFromPoint(pt) == Tree().GetSafeHwnd());
}

// --- the dialogs ---------------------------------------------------------------------

namespace {

// Runs a modal dialog; the check runs once it is up, then it is closed
// with the id (IDOK, IDCANCEL) through its button.
template <class TDialog>
INT_PTR RunDialog(TDialog& dlg, const std::function<void(HWND)>& check, int nClose)
{
    struct State {
        TDialog* pDlg;
        const std::function<void(HWND)>* pCheck;
        int nClose;
        bool done;
    };
    static State* s_pState;
    State state = {&dlg, &check, nClose, false};
    s_pState = &state;
    // The check runs from a timer inside the dialog's own loop.
    UINT_PTR id = ::SetTimer(NULL, 0, 200, [](HWND, UINT, UINT_PTR idEvent, DWORD) {
        State* p = s_pState;
        if (p == NULL || p->done || p->pDlg->GetSafeHwnd() == NULL)
            return;
        p->done = true;
        ::KillTimer(NULL, idEvent);
        (*p->pCheck)(p->pDlg->GetSafeHwnd());
        ::SendMessageA(::GetDlgItem(p->pDlg->GetSafeHwnd(), p->nClose), BM_CLICK, 0, 0);
        if (::IsWindow(p->pDlg->GetSafeHwnd()))
            p->pDlg->EndDialog(p->nClose);
    });
    INT_PTR result = dlg.DoModal();
    ::KillTimer(NULL, id);
    s_pState = NULL;
    return result;
}

std::string Text(HWND h)
{
    char buf[512] = "";
    ::GetWindowTextA(h, buf, sizeof(buf));
    return buf;
}

} // namespace

// The last character typed into the name is checked: a forbidden one is
// taken back with a beep; OK needs a name.
TEST_F(TemplateTreeTest, TheTemplateManagerChecksTheNameAsItIsTyped)
{
    CTemplateManager dlg("", "line 1\nline 2", m_pFrame);
    std::vector<std::string> seen;
    INT_PTR result = RunDialog(
        dlg,
        [&](HWND h) {
            HWND name = ::GetDlgItem(h, IDC_TEMPLATE_NAME), ok = ::GetDlgItem(h, IDOK);
            seen.push_back(Text(::GetDlgItem(h, IDC_TEMPLATE_TEXT)));
            seen.push_back(::IsWindowEnabled(ok) ? "ok on" : "ok off");
            ::SetWindowTextA(name, "good");
            ::SetWindowTextA(name, "good:");
            seen.push_back(Text(name));
            ::SetWindowTextA(name, "mid:dle");
            seen.push_back(Text(name));
            seen.push_back(::IsWindowEnabled(ok) ? "ok on" : "ok off");
            // As typed over everything: the edit is modified.
            HWND text = ::GetDlgItem(h, IDC_TEMPLATE_TEXT);
            ::SendMessageA(text, EM_SETSEL, 0, -1);
            ::SendMessageA(text, EM_REPLACESEL, TRUE, (LPARAM) "new text");
        },
        IDOK);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(seen, (std::vector<std::string>{"line 1\r\nline 2", "ok off", "good", "mid:dle", "ok on"}));
    EXPECT_EQ(std::string(dlg.GetName()), "mid:dle") << "the dialog passes it on; the tree refuses it";
    EXPECT_EQ(std::string(dlg.GetText()), "new text");
}

TEST_F(TemplateTreeTest, NewFromTemplatePicksAFileAndGivesItsText)
{
    CNewTemplate dlg(m_folder.c_str(), m_pFrame);
    std::vector<std::string> seen;
    INT_PTR result = RunDialog(
        dlg,
        [&](HWND h) {
            HWND ok = ::GetDlgItem(h, IDOK);
            seen.push_back(::IsWindowEnabled(ok) ? "ok on" : "ok off");
            CSolutionBarTemplateTree& tree = dlg.GetTree();
            HTREEITEM hFolder = NULL, hFile = NULL;
            for (HTREEITEM c = tree.GetChildItem(tree.GetRootItem()); c != NULL; c = tree.GetNextSiblingItem(c)) {
                if (tree.GetItemText(c) == "Folder")
                    hFolder = c;
                if (tree.GetItemText(c) == "a.txt")
                    hFile = c;
            }
            tree.SelectItem(hFile);
            seen.push_back(::IsWindowEnabled(ok) ? "ok on" : "ok off");
            tree.SelectItem(hFolder);
            seen.push_back(::IsWindowEnabled(ok) ? "ok on" : "ok off");
            tree.SelectItem(hFile);
        },
        IDOK);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(seen, (std::vector<std::string>{"ok off", "ok on", "ok off"}));
    EXPECT_EQ(std::string(dlg.GetTemplateText()), "alpha <%REPLACE%>!");

    // Without a folder: an empty tree, OK stays enabled and gives no text.
    CNewTemplate none("", m_pFrame);
    seen.clear();
    result = RunDialog(
        none, [&](HWND h) { seen.push_back(::IsWindowEnabled(::GetDlgItem(h, IDOK)) ? "ok on" : "ok off"); }, IDOK);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(seen, (std::vector<std::string>{"ok on"}));
    EXPECT_EQ(std::string(none.GetTemplateText()), "");
}
