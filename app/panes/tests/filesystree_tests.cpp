// filesystree_tests.cpp - the File Explorer tree on the real shell namespace
// and a fixture folder: filling, listing without shortcuts, paths, the
// commands, and the watcher (following the selected folder, none for a
// virtual folder, one per tree, ended with the window).
#include "coretest.h"
#include "panetest.h"
#include "treepath.h"

#include "filesystree.h"

#include <qmtest/pump.h>

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "resource.h"

namespace {

using panetest::IsPrefixPath;
using panetest::Lower;

// Makes a shortcut file with the shell's own link object.
bool MakeShortcut(const std::string& linkPath, const std::string& target)
{
    IShellLinkW* pLink = NULL;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void**)&pLink)))
        return false;
    pLink->SetPath(panetest::Wide(target).c_str());
    IPersistFile* pFile = NULL;
    bool ok = SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, (void**)&pFile)) &&
              SUCCEEDED(pFile->Save(panetest::Wide(linkPath).c_str(), TRUE));
    if (pFile)
        pFile->Release();
    pLink->Release();
    return ok;
}

class FileTreeTest : public panetest::FrameTest {
protected:
    void SetUp() override
    {
        ::CoInitialize(NULL);
        panetest::FrameTest::SetUp();
        char szLong[MAX_PATH * 2] = "";
        ::GetLongPathNameA(m_dir.Path().c_str(), szLong, sizeof(szLong));
        m_root = szLong;
        ASSERT_FALSE(m_root.empty());
        panetest::WriteBytes(m_root + "\\alpha.txt", "a\r\n");
        panetest::WriteBytes(m_root + "\\beta.txt", "b\r\n");
        panetest::MakeFolder(m_root + "\\sub");
        panetest::WriteBytes(m_root + "\\sub\\inner.txt", "i\r\n");
        m_bShortcut = MakeShortcut(m_root + "\\alpha shortcut.lnk", m_root + "\\alpha.txt");
    }
    void TearDown() override
    {
        panetest::FrameTest::TearDown();
        ::CoUninitialize();
    }
    bool MakeTree(CFileSysTreeCtrl& tree, int nID)
    {
        if (!tree.Create(m_pFrame, nID))
            return false;
        tree.MoveWindow(0, 0, 300, 400);
        tree.ShowWindow(SW_SHOW);
        tree.Fill();
        return true;
    }
    HTREEITEM FindPath(CFileSysTreeCtrl& tree, const std::string& target) { return panetest::FindTreePath(tree, target); }
    std::vector<std::string> ChildTexts(CFileSysTreeCtrl& tree, HTREEITEM hItem)
    {
        std::vector<std::string> texts;
        for (HTREEITEM h = tree.GetChildItem(hItem); h != NULL; h = tree.GetNextSiblingItem(h))
            texts.push_back((const char*)tree.GetItemText(h));
        return texts;
    }
    bool HasChild(CFileSysTreeCtrl& tree, HTREEITEM hItem, const std::string& text)
    {
        for (const std::string& t : ChildTexts(tree, hItem))
            if (t == text || t == text.substr(0, text.rfind('.')))
                return true;
        return false;
    }

    qmtest::TempDir m_dir{"fstree"};
    std::string m_root;
    bool m_bShortcut = false;
};

} // namespace

TEST_F(FileTreeTest, FillExpandsAndSelectsTheFirstDesktopItem)
{
    CFileSysTreeCtrl tree;
    ASSERT_TRUE(MakeTree(tree, 1));
    EXPECT_TRUE(tree.IsFilled());
    HTREEITEM hFirst = tree.GetRootItem();
    ASSERT_NE(hFirst, nullptr);
    EXPECT_TRUE(tree.GetItemState(hFirst, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_NE(tree.GetChildItem(hFirst), nullptr) << "its children were inserted";
    EXPECT_EQ(tree.GetSelectedItem(), hFirst);
    UINT nCount = tree.GetCount();
    tree.Fill();
    EXPECT_EQ(tree.GetCount(), nCount) << "filled once";
}

TEST_F(FileTreeTest, AFolderListsItsFilesAndFoldersButNoShortcuts)
{
    ASSERT_TRUE(m_bShortcut) << "the fixture's shortcut could not be made";
    CFileSysTreeCtrl tree;
    ASSERT_TRUE(MakeTree(tree, 1));
    HTREEITEM hFolder = FindPath(tree, m_root);
    ASSERT_NE(hFolder, nullptr) << m_root;
    tree.Expand(hFolder, TVE_EXPAND);
    std::vector<std::string> texts = ChildTexts(tree, hFolder);
    std::string all;
    for (auto& t : texts)
        all += "[" + t + "]";
    EXPECT_TRUE(HasChild(tree, hFolder, "alpha.txt")) << all;
    EXPECT_TRUE(HasChild(tree, hFolder, "beta.txt")) << all;
    EXPECT_TRUE(HasChild(tree, hFolder, "sub")) << all;
    for (const std::string& t : texts)
        EXPECT_EQ(t.find("shortcut"), std::string::npos) << all;
    EXPECT_EQ(texts.size(), 3u) << all;
    // The folder with an item has a button; the paths are the files'.
    for (HTREEITEM h = tree.GetChildItem(hFolder); h != NULL; h = tree.GetNextSiblingItem(h)) {
        std::string path = (const char*)tree.GetItemPath(h);
        EXPECT_TRUE(IsPrefixPath(m_root, path)) << path;
        if (Lower(path) == Lower(m_root + "\\sub"))
            EXPECT_TRUE(tree.ItemHasChildren(h));
    }
}

TEST_F(FileTreeTest, CommandsActOnTheSelectedFile)
{
    CFileSysTreeCtrl tree;
    ASSERT_TRUE(MakeTree(tree, 1));
    HTREEITEM hFile = FindPath(tree, m_root + "\\alpha.txt");
    ASSERT_NE(hFile, nullptr);
    tree.SelectItem(hFile);
    tree.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    tree.SendMessage(WM_COMMAND, ID_FILE_OPEN_HEX, 0);
    ASSERT_EQ(m_pFrame->m_opened.size(), 2u);
    EXPECT_EQ(Lower(m_pFrame->m_opened[0].path), Lower(m_root + "\\alpha.txt"));
    EXPECT_EQ(m_pFrame->m_opened[0].position, 0) << "as text";
    EXPECT_EQ(m_pFrame->m_opened[1].position, 1) << "as hex";

    tree.SendMessage(WM_COMMAND, ID_FILE_COPY_PATH, 0);
    std::string clip;
    if (::OpenClipboard(NULL)) {
        if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
            clip = (const char*)::GlobalLock(h);
            ::GlobalUnlock(h);
        }
        ::CloseClipboard();
    }
    EXPECT_EQ(Lower(clip), Lower(m_root + "\\alpha.txt"));

    // A folder is no file to open.
    HTREEITEM hSub = FindPath(tree, m_root + "\\sub");
    ASSERT_NE(hSub, nullptr);
    tree.SelectItem(hSub);
    tree.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    EXPECT_EQ(m_pFrame->m_opened.size(), 2u);
}

TEST_F(FileTreeTest, TheWatcherFollowsTheSelectedFolder)
{
    CFileSysTreeCtrl tree;
    ASSERT_TRUE(MakeTree(tree, 1));
    HTREEITEM hFolder = FindPath(tree, m_root);
    ASSERT_NE(hFolder, nullptr);
    tree.Expand(hFolder, TVE_EXPAND);
    tree.SelectItem(hFolder);
    EXPECT_TRUE(tree.IsWatcherRunning());
    EXPECT_EQ(tree.GetWatchedItem(), hFolder);

    panetest::WriteBytes(m_root + "\\gamma.txt", "g\r\n");
    EXPECT_TRUE(qmtest::PumpUntil([&] { return HasChild(tree, hFolder, "gamma.txt"); }, 10000));
    ::DeleteFileA((m_root + "\\beta.txt").c_str());
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !HasChild(tree, hFolder, "beta.txt"); }, 10000));
    panetest::MakeFolder(m_root + "\\new folder");
    EXPECT_TRUE(qmtest::PumpUntil([&] { return HasChild(tree, hFolder, "new folder"); }, 10000));

    // Expanding another folder leaves the watcher on the selected one.
    HTREEITEM hSub = NULL;
    for (HTREEITEM h = tree.GetChildItem(hFolder); h != NULL; h = tree.GetNextSiblingItem(h))
        if (tree.GetItemText(h) == "sub")
            hSub = h;
    ASSERT_NE(hSub, nullptr);
    tree.Expand(hSub, TVE_EXPAND);
    EXPECT_TRUE(tree.IsWatcherRunning());
    panetest::WriteBytes(m_root + "\\delta.txt", "d\r\n");
    EXPECT_TRUE(qmtest::PumpUntil([&] { return HasChild(tree, hFolder, "delta.txt"); }, 10000));
}

TEST_F(FileTreeTest, AVirtualFolderStartsNoWatcher)
{
    CFileSysTreeCtrl tree;
    ASSERT_TRUE(MakeTree(tree, 1));
    HTREEITEM hVirtual = NULL;
    for (HTREEITEM h = tree.GetRootItem(); h != NULL; h = tree.GetNextSiblingItem(h))
        if (tree.GetItemPath(h).IsEmpty())
            hVirtual = h;
    ASSERT_NE(hVirtual, nullptr) << "the desktop has no virtual folder";
    HTREEITEM hFolder = FindPath(tree, m_root);
    ASSERT_NE(hFolder, nullptr);
    tree.SelectItem(hFolder);
    EXPECT_TRUE(tree.IsWatcherRunning());
    tree.SelectItem(hVirtual);
    EXPECT_FALSE(tree.IsWatcherRunning()) << (const char*)tree.GetItemText(hVirtual);
}

TEST_F(FileTreeTest, TwoTreesKeepTheirOwnWatchers)
{
    panetest::MakeFolder(m_root + "\\two");
    CFileSysTreeCtrl* pFirst = new CFileSysTreeCtrl;
    CFileSysTreeCtrl second;
    ASSERT_TRUE(MakeTree(*pFirst, 1));
    ASSERT_TRUE(MakeTree(second, 2));
    HTREEITEM hOne = FindPath(*pFirst, m_root);
    HTREEITEM hTwo = FindPath(second, m_root + "\\two");
    ASSERT_NE(hOne, nullptr);
    ASSERT_NE(hTwo, nullptr);
    pFirst->Expand(hOne, TVE_EXPAND);
    second.Expand(hTwo, TVE_EXPAND);
    pFirst->SelectItem(hOne);
    second.SelectItem(hTwo);
    ASSERT_TRUE(pFirst->IsWatcherRunning());
    ASSERT_TRUE(second.IsWatcherRunning());

    // Selecting elsewhere in the first tree, then closing it, leaves the
    // second one's watcher alone.
    pFirst->SelectItem(pFirst->GetRootItem());
    pFirst->DestroyWindow();
    delete pFirst;
    EXPECT_TRUE(second.IsWatcherRunning());
    // The folder was empty: a first file gives it its button.
    EXPECT_FALSE(second.ItemHasChildren(hTwo));
    panetest::WriteBytes(m_root + "\\two\\late.txt", "l\r\n");
    EXPECT_TRUE(qmtest::PumpUntil([&] { return second.ItemHasChildren(hTwo) != FALSE; }, 10000));
    second.Expand(hTwo, TVE_EXPAND);
    EXPECT_TRUE(HasChild(second, hTwo, "late.txt"));
    // Closing a tree with its watcher running ends it (no hang).
    second.DestroyWindow();
    EXPECT_FALSE(second.IsWatcherRunning());
}
