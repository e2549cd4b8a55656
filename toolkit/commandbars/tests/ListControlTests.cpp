// List placeholders on real bars: menus converted from Windows menus fill
// themselves with the recent files and the toolbars of the frame when they
// are laid out, and their entries send commands or toggle bars.
#include <qx/commandbars.h>
#include <qx/listcontrols.h>
#include <qx/popup.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cbtest_ids.h"
#include <qmtest/barsite.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>

namespace {

using qmtest::PumpMessages;
using qmtest::PumpUntil;

const int kMruFirst = 57616; // ID_FILE_MRU_FILE1
const int kFileOpen = 57601;
const int kAppExit = 57665;

// A top-level window that records the commands it receives.
class CListTestFrame : public qmtest::CBarSiteWnd {
public:
    std::vector<UINT> commands;
    std::vector<CSize> selectorHots; // the marked grid at each notification
    CQXPCommandBars* m_pCommandBars = NULL;

    BOOL CreateFrame()
    {
        LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(NULL, IDC_ARROW));
        return CreateEx(0, lpszClass, "List control test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                        640, 400, NULL, NULL);
    }
    void PostNcDestroy() override {}

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (lParam == 0) {
            commands.push_back(LOWORD(wParam));
            return TRUE;
        }
        return CWnd::OnCommand(wParam, lParam);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMANDBARS_CONTROLNOTIFY) {
            NMQXPCONTROL* pNM = reinterpret_cast<NMQXPCONTROL*>(lParam);
            if (pNM->hdr.code == QXP_CN_SELECTOR_HOTCHANGED)
                selectorHots.push_back(static_cast<CQXPControlSelector*>(pNM->pControl)->GetHot());
            return 0;
        }
        return CBarSiteWnd::WindowProc(message, wParam, lParam);
    }
};

// A File menu: Open, the recent-file placeholder (greyed, as resource
// scripts write it) between separators, Exit.
HMENU MakeFileMenu()
{
    HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenuA(hMenu, MF_STRING, kFileOpen, "&Open...");
    ::AppendMenuA(hMenu, MF_SEPARATOR, 0, NULL);
    ::AppendMenuA(hMenu, MF_STRING | MF_GRAYED, kMruFirst, "Recent File");
    ::AppendMenuA(hMenu, MF_SEPARATOR, 0, NULL);
    ::AppendMenuA(hMenu, MF_STRING, kAppExit, "E&xit");
    return hMenu;
}

std::vector<std::string> VisibleCaptions(CQXPControls* pControls)
{
    std::vector<std::string> captions;
    for (int i = 0; i < pControls->GetCount(); i++) {
        CQXPControl* pControl = pControls->GetAt(i);
        if (pControl->IsVisible())
            captions.push_back(std::string(pControl->GetCaption()));
    }
    return captions;
}

class ListControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Display names depend on the current folder: use one no test path
        // lies in.
        char szOld[MAX_PATH] = "";
        ::GetCurrentDirectoryA(MAX_PATH, szOld);
        m_strOldDir = szOld;
        ::CreateDirectoryA("C:\\qxlisttest", NULL);
        ::SetCurrentDirectoryA("C:\\qxlisttest");

        ASSERT_TRUE(frame.CreateFrame());
        pBars = CQXPCommandBars::CreateCommandBars(&frame);
        ASSERT_NE(nullptr, pBars);
        frame.m_pCommandBars = pBars;
        pMenuBar = pBars->SetMenu("Menu Bar", IDR_TEST_MENU);
        ASSERT_NE(nullptr, pMenuBar);
        pBars->RecalcFrameLayout();
        PumpMessages();
    }
    void TearDown() override
    {
        fx::SetDocManager(NULL, NULL);
        delete pList;
        frame.m_pCommandBars = NULL;
        if (pBars)
            pBars->InternalRelease();
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        PumpMessages();
        ::SetCurrentDirectoryA(m_strOldDir.c_str());
        ::RemoveDirectoryA("C:\\qxlisttest");
    }

    // The application's recent-file list: nSize places holding the paths
    // (added oldest first, so the last path is entry 1).
    void UseRecentFiles(int nSize, const std::vector<std::string>& paths)
    {
        delete pList;
        pList = new CRecentFileList(0, "", "File%d", nSize);
        for (size_t i = paths.size(); i-- > 0;)
            pList->Add(paths[i].c_str());
        fx::SetDocManager(NULL, pList);
    }

    // A popup bar converted from the File menu, laid out as when it opens.
    CQXPPopupBar* MakeFilePopup()
    {
        CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
        pPopup->SetOwnerSite(&frame);
        CMenu menu;
        menu.Attach(MakeFileMenu());
        pPopup->LoadMenu(&menu, TRUE);
        menu.DestroyMenu();
        pPopup->CalcDynamicLayout(0, 0);
        return pPopup;
    }

    // Presses and releases the mouse over a control of a bar.
    void Click(CQXPCommandBar* pBar, CQXPControl* pControl)
    {
        CPoint pt = pControl->GetRect().CenterPoint();
        CPoint ptScreen = pt;
        ::ClientToScreen(pBar->GetSafeHwnd(), &ptScreen);
        ::SetCursorPos(ptScreen.x, ptScreen.y);
        HWND hWnd = pBar->GetSafeHwnd();
        ::PostMessageA(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        ::PostMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }

    CListTestFrame frame;
    CQXPCommandBars* pBars = NULL;
    CQXPMenuBar* pMenuBar = NULL;
    CRecentFileList* pList = NULL;
    std::string m_strOldDir;
};

// ---------------------------------------------------------------------------
// Creation by id

TEST(ListControlCreation, IdsAndCaptionsPickTheListClasses)
{
    struct Case {
        int nId;
        BOOL bFromMenu;
        const char* caption;
        CRuntimeClass* pClass;
    } cases[] = {
        {QXP_ID_WINDOWLIST, TRUE, "", RUNTIME_CLASS(CQXPControlWindowList)},
        {QXP_ID_WORKSPACEACTIONS, FALSE, "", RUNTIME_CLASS(CQXPControlWorkspaceActions)},
        {QXP_ID_TOOLBARSLIST, TRUE, "&Toolbars", RUNTIME_CLASS(CQXPControlToolbars)},
        // The recent files: by the first recent-file command in a menu, by
        // their own id in Add, and not the other way round.
        {kMruFirst, TRUE, "Recent File", RUNTIME_CLASS(CQXPControlRecentFileList)},
        {kMruFirst, FALSE, "", RUNTIME_CLASS(CQXPControlButton)},
        {QXP_ID_RECENTFILELIST, FALSE, "", RUNTIME_CLASS(CQXPControlRecentFileList)},
        {QXP_ID_RECENTFILELIST, TRUE, "Recent", RUNTIME_CLASS(CQXPControlButton)},
        {kMruFirst + 1, TRUE, "", RUNTIME_CLASS(CQXPControlButton)},
        // Object verbs only from a menu item with the marker caption.
        {QXP_ID_OLEITEMS, TRUE, "<<OLE VERBS GO HERE>>", RUNTIME_CLASS(CQXPControlOleItems)},
        {QXP_ID_OLEITEMS, TRUE, "&Object", RUNTIME_CLASS(CQXPControlButton)},
        {QXP_ID_OLEITEMS, FALSE, "<<OLE VERBS GO HERE>>", RUNTIME_CLASS(CQXPControlButton)},
    };
    for (const Case& c : cases) {
        CQXPControl* pControl = CQXPControls::CreateControlOfType(qxpControlButton, c.nId, c.bFromMenu, c.caption);
        ASSERT_NE(nullptr, pControl) << c.nId;
        EXPECT_STREQ(c.pClass->m_lpszClassName, pControl->GetRuntimeClass()->m_lpszClassName)
            << c.nId << " menu " << c.bFromMenu << " '" << c.caption << "'";
        pControl->InternalRelease();
    }
}

// ---------------------------------------------------------------------------
// Recent files

TEST_F(ListControlTest, RecentFilesShowTheEntriesOfTheList)
{
    struct Case {
        const char* name;
        int nSize;
        std::vector<std::string> paths; // newest first
        std::vector<std::string> captions;
    } cases[] = {
        {"short paths", 4, {"C:\\docs\\one.txt", "D:\\two.c"}, {"&1 C:\\docs\\one.txt", "&2 D:\\two.c"}},
        // An ampersand in a path is shown, never taken as an access key.
        {"ampersands", 4, {"C:\\R&D\\a&b.txt", "C:\\x\\&&.h"}, {"&1 C:\\R&&D\\a&&b.txt", "&2 C:\\x\\&&&&.h"}},
        // Long paths keep the root and the last folders that fit in 30.
        {"long path", 4, {"C:\\very\\long\\folder\\name\\with\\many\\parts\\file.txt"}, {"&1 C:\\...\\many\\parts\\file.txt"}},
        // A file of the current folder shows its name alone.
        {"current folder", 4, {"C:\\qxlisttest\\here.txt"}, {"&1 here.txt"}},
        // More paths than places: only the newest fit.
        {"more than the maximum", 2, {"C:\\a1", "C:\\a2", "C:\\a3", "C:\\a4"}, {"&1 C:\\a1", "&2 C:\\a2"}},
    };
    for (const Case& c : cases) {
        UseRecentFiles(c.nSize, c.paths);
        CQXPPopupBar* pPopup = MakeFilePopup();
        CQXPControls* pControls = pPopup->GetControls();
        CQXPControl* pPlaceholder = pControls->GetAt(1);
        ASSERT_NE(nullptr, dynamic_cast<CQXPControlRecentFileList*>(pPlaceholder)) << c.name;
        EXPECT_FALSE(pPlaceholder->IsVisible()) << c.name;

        std::vector<std::string> expected = {"&Open..."};
        expected.insert(expected.end(), c.captions.begin(), c.captions.end());
        expected.push_back("E&xit");
        EXPECT_EQ(expected, VisibleCaptions(pControls)) << c.name;
        for (size_t i = 0; i < c.captions.size(); i++) {
            CQXPControl* pItem = pControls->GetAt(2 + (int)i);
            EXPECT_EQ(kMruFirst + (int)i, pItem->GetID()) << c.name;
            EXPECT_TRUE(pItem->IsTemporary());
            EXPECT_TRUE(pItem->GetEnabled()) << c.name;
            EXPECT_EQ(i == 0, pItem->GetBeginGroup() != FALSE) << c.name << " " << i;
            EXPECT_TRUE(pItem->GetFlags() & qxpFlagManualUpdate);
        }
        EXPECT_TRUE(pControls->GetAt(2 + (int)c.captions.size())->GetBeginGroup()) << "Exit keeps its separator";
        pPopup->InternalRelease();
    }
}

TEST_F(ListControlTest, SixteenRecentFilesNumberTheTenthOnTheZero)
{
    std::vector<std::string> paths;
    for (int i = 1; i <= 16; i++)
        paths.push_back("C:\\f" + std::to_string(i));
    UseRecentFiles(16, paths);
    CQXPPopupBar* pPopup = MakeFilePopup();
    CQXPControls* pControls = pPopup->GetControls();
    ASSERT_EQ(3 + 16, pControls->GetCount());
    EXPECT_EQ("&9 C:\\f9", std::string(pControls->GetAt(2 + 8)->GetCaption()));
    EXPECT_EQ("1&0 C:\\f10", std::string(pControls->GetAt(2 + 9)->GetCaption()));
    EXPECT_EQ("11 C:\\f11", std::string(pControls->GetAt(2 + 10)->GetCaption()));
    EXPECT_EQ("16 C:\\f16", std::string(pControls->GetAt(2 + 15)->GetCaption()));
    EXPECT_EQ(kMruFirst + 15, pControls->GetAt(2 + 15)->GetID());
    pPopup->InternalRelease();
}

TEST_F(ListControlTest, EmptyOrMissingListShowsThePlaceholderGreyed)
{
    for (int nRun = 0; nRun < 2; nRun++) {
        if (nRun == 0)
            UseRecentFiles(4, {});
        else
            fx::SetDocManager(NULL, NULL);
        CQXPPopupBar* pPopup = MakeFilePopup();
        CQXPControls* pControls = pPopup->GetControls();
        EXPECT_EQ(3, pControls->GetCount()) << "run " << nRun;
        EXPECT_EQ((std::vector<std::string>{"&Open...", "Recent File", "E&xit"}), VisibleCaptions(pControls));
        EXPECT_FALSE(pControls->GetAt(1)->GetEnabled()) << "run " << nRun;
        pPopup->InternalRelease();
    }
}

TEST_F(ListControlTest, RecentFilesFollowTheListAtEveryLayout)
{
    UseRecentFiles(4, {"C:\\a.txt", "C:\\b.txt"});
    CQXPPopupBar* pPopup = MakeFilePopup();
    CQXPControls* pControls = pPopup->GetControls();
    CQXPControl* pExit = pControls->GetAt(pControls->GetCount() - 1);

    // A second layout does not duplicate the entries.
    pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ((std::vector<std::string>{"&Open...", "&1 C:\\a.txt", "&2 C:\\b.txt", "E&xit"}),
              VisibleCaptions(pControls));

    // A newly opened file moves to the top; the list then empties.
    pList->Add("C:\\c.txt");
    pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ((std::vector<std::string>{"&Open...", "&1 C:\\c.txt", "&2 C:\\a.txt", "&3 C:\\b.txt", "E&xit"}),
              VisibleCaptions(pControls));
    while (!(*pList)[0].IsEmpty())
        pList->Remove(0);
    pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ((std::vector<std::string>{"&Open...", "Recent File", "E&xit"}), VisibleCaptions(pControls));
    EXPECT_EQ(pExit, pControls->GetAt(pControls->GetCount() - 1));

    // In customize mode the placeholder shows itself, enabled.
    pList->Add("C:\\d.txt");
    pBars->SetCustomizeMode(TRUE);
    pPopup->CalcDynamicLayout(0, 0);
    pBars->SetCustomizeMode(FALSE);
    EXPECT_EQ((std::vector<std::string>{"&Open...", "Recent File", "E&xit"}), VisibleCaptions(pControls));
    EXPECT_TRUE(pControls->GetAt(1)->GetEnabled());
    pPopup->InternalRelease();
}

TEST_F(ListControlTest, ClickingTheSecondRecentFileSendsItsCommand)
{
    UseRecentFiles(4, {"C:\\first.txt", "C:\\second.txt", "C:\\third.txt"});
    CMenu menu;
    menu.Attach(::CreateMenu());
    ::AppendMenuA(menu.GetSafeHmenu(), MF_POPUP, (UINT_PTR)MakeFileMenu(), "&File");
    ASSERT_TRUE(pMenuBar->LoadMenu(&menu, TRUE));
    menu.DestroyMenu();
    pBars->RecalcFrameLayout();
    PumpMessages();

    CQXPControl* pFile = pMenuBar->GetControl(0);
    Click(pMenuBar, pFile);
    ASSERT_TRUE(PumpUntil([&] { return pFile->GetPopuped() != FALSE; }));
    CQXPCommandBar* pPopup = pFile->GetCommandBar();
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(pPopup->GetSafeHwnd()) != FALSE; }));
    CQXPControl* pSecond = pPopup->GetControls()->FindControl(kMruFirst + 1);
    ASSERT_NE(nullptr, pSecond);
    EXPECT_EQ("&2 C:\\second.txt", std::string(pSecond->GetCaption()));
    EXPECT_TRUE(pSecond->IsVisible());
    Click(pPopup, pSecond);
    ASSERT_TRUE(PumpUntil([&] { return !frame.commands.empty(); }));
    PumpMessages();
    EXPECT_EQ((std::vector<UINT>{(UINT)kMruFirst + 1}), frame.commands);
    EXPECT_FALSE(pFile->GetPopuped());
}

// ---------------------------------------------------------------------------
// Toolbars

class ToolbarsListTest : public ListControlTest {
protected:
    void SetUp() override
    {
        ListControlTest::SetUp();
        const char* const names[] = {"Standard", "Edit&Tools", "Fixed", "Extra"};
        for (const char* name : names) {
            CQXPToolBar* pBar = pBars->Add(name, qxpBarTop);
            ASSERT_NE(nullptr, pBar);
            const UINT ids[] = {ID_TEST_OPEN, ID_TEST_SAVE};
            pBar->SetButtons(ids, 2);
            bars.push_back(pBar);
        }
        bars[2]->m_bCloseable = FALSE; // a bar that cannot be closed is not listed
        bars[3]->SetVisible(FALSE);
        pBars->RecalcFrameLayout();
        PumpMessages();
    }

    // A View menu: Status Bar, then the toolbars list after a separator.
    CQXPPopupBar* MakeViewPopup()
    {
        CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
        pPopup->SetOwnerSite(&frame);
        CMenu menu;
        menu.Attach(::CreatePopupMenu());
        ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, 59393, "&Status Bar");
        ::AppendMenuA(menu.GetSafeHmenu(), MF_SEPARATOR, 0, NULL);
        ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, QXP_ID_TOOLBARSLIST, "&Toolbars");
        pPopup->LoadMenu(&menu, TRUE);
        menu.DestroyMenu();
        pPopup->CalcDynamicLayout(0, 0);
        return pPopup;
    }

    std::vector<int> Checks(CQXPControls* pControls)
    {
        std::vector<int> checks;
        for (int i = 0; i < pControls->GetCount(); i++) {
            CQXPControl* pControl = pControls->GetAt(i);
            if (pControl->IsVisible() && pControl->GetParameter() == QXP_TOOLBARITEM_PARAMETER)
                checks.push_back(pControl->GetChecked());
        }
        return checks;
    }

    std::vector<CQXPToolBar*> bars;
};

TEST_F(ToolbarsListTest, OneCheckItemPerClosableToolbar)
{
    CQXPPopupBar* pPopup = MakeViewPopup();
    CQXPControls* pControls = pPopup->GetControls();
    ASSERT_NE(nullptr, dynamic_cast<CQXPControlToolbars*>(pControls->GetAt(1)));
    // The menu bar and the bar that cannot be closed are left out; titles
    // keep their ampersands.
    EXPECT_EQ((std::vector<std::string>{"&Status Bar", "Standard", "Edit&&Tools", "Extra"}),
              VisibleCaptions(pControls));
    EXPECT_EQ((std::vector<int>{1, 1, 0}), Checks(pControls));
    EXPECT_TRUE(pControls->GetAt(2)->GetBeginGroup()) << "the first item takes the placeholder's separator";
    EXPECT_FALSE(pControls->GetAt(3)->GetBeginGroup());
    EXPECT_EQ(QXP_ID_TOOLBARSLIST, pControls->GetAt(3)->GetID());

    // Laid out again: the same items, not twice as many.
    pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ(5, pControls->GetCount());

    // Customize mode shows the placeholder instead.
    pBars->SetCustomizeMode(TRUE);
    pPopup->CalcDynamicLayout(0, 0);
    pBars->SetCustomizeMode(FALSE);
    EXPECT_EQ((std::vector<std::string>{"&Status Bar", "&Toolbars"}), VisibleCaptions(pControls));
    pPopup->InternalRelease();
}

TEST_F(ToolbarsListTest, ExecutingAnItemTogglesItsToolbar)
{
    CQXPPopupBar* pPopup = MakeViewPopup();
    CQXPControls* pControls = pPopup->GetControls();
    HWND hEditBar = bars[1]->GetSafeHwnd();
    ASSERT_TRUE(::IsWindowVisible(hEditBar));
    pBars->m_bLayoutChanged = FALSE;

    pControls->GetAt(3)->OnExecute(); // "Edit&&Tools"
    PumpMessages();
    EXPECT_FALSE(bars[1]->IsVisible());
    EXPECT_FALSE(::IsWindowVisible(hEditBar));
    EXPECT_TRUE(pBars->m_bLayoutChanged);
    EXPECT_TRUE(frame.commands.empty()) << "toggling sends no command";
    pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ((std::vector<int>{1, 0, 0}), Checks(pControls));

    pControls->GetAt(4)->OnExecute(); // "Extra", hidden so far
    pControls->GetAt(3)->OnExecute();
    PumpMessages();
    EXPECT_TRUE(bars[1]->IsVisible());
    EXPECT_TRUE(::IsWindowVisible(hEditBar));
    EXPECT_TRUE(::IsWindowVisible(bars[3]->GetSafeHwnd()));
    pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ((std::vector<int>{1, 1, 1}), Checks(pControls));
    pPopup->InternalRelease();
}

TEST_F(ToolbarsListTest, CustomizeEntryOnlyWhenTheSiteCanCustomize)
{
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pPopup->SetOwnerSite(&frame);
    CQXPControlToolbars::AddToolbarItems(pPopup, 0, QXP_ID_TOOLBARSLIST, TRUE, FALSE);
    // The test frame has no customize command: only the three bars.
    EXPECT_EQ(3, pPopup->GetControls()->GetCount());
    EXPECT_FALSE(pPopup->GetControls()->GetAt(0)->GetBeginGroup());
    pPopup->InternalRelease();
}

// ---------------------------------------------------------------------------
// Workspace actions

// An MDI client that answers the workspace commands like a tabbed one.
class CTabLikeClient : public CWnd {
public:
    std::vector<UINT> enabled;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nID >= 9155 && nID <= 9158 && nCode == (int)CN_UPDATE_COMMAND_UI) {
            BOOL bOn = std::find(enabled.begin(), enabled.end(), nID) != enabled.end();
            static_cast<CCmdUI*>(pExtra)->Enable(bOn);
            return TRUE;
        }
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

TEST_F(ListControlTest, WorkspaceActionsListWhatTheTabbedClientEnables)
{
    CLIENTCREATESTRUCT ccs = {NULL, 0xFF00};
    HWND hClient = ::CreateWindowExA(0, "MDICLIENT", NULL, WS_CHILD | WS_VISIBLE, 0, 80, 400, 200,
                                     frame.GetSafeHwnd(), (HMENU)(UINT_PTR)0xE900, NULL, &ccs);
    ASSERT_NE((HWND)NULL, hClient);

    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pPopup->SetOwnerSite(&frame);
    CQXPControls* pControls = pPopup->GetControls();
    CQXPControl* pPlaceholder = pControls->Add(qxpControlButton, QXP_ID_WORKSPACEACTIONS);
    ASSERT_NE(nullptr, dynamic_cast<CQXPControlWorkspaceActions*>(pPlaceholder));
    pPlaceholder->SetBeginGroup(TRUE);

    // A plain MDI client: the placeholder stays, nothing is added.
    pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ(1, pControls->GetCount());
    EXPECT_TRUE(pPlaceholder->IsVisible());

    CTabLikeClient client;
    ASSERT_TRUE(client.SubclassWindow(hClient));
    struct Case {
        std::vector<UINT> enabled;
        std::vector<int> ids;
    } cases[] = {
        {{9155, 9156, 9157, 9158}, {9157, 9158, 9155, 9156}},
        {{9156, 9157}, {9157, 9156}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        client.enabled = c.enabled;
        pPopup->CalcDynamicLayout(0, 0);
        EXPECT_FALSE(pPlaceholder->IsVisible());
        std::vector<int> ids;
        for (int i = 1; i < pControls->GetCount(); i++)
            ids.push_back(pControls->GetAt(i)->GetID());
        EXPECT_EQ(c.ids, ids);
        if (!c.ids.empty()) {
            EXPECT_TRUE(pControls->GetAt(1)->GetBeginGroup());
            EXPECT_TRUE(pControls->GetAt(1)->IsTemporary());
        }
    }
    client.UnsubclassWindow();
    pPopup->InternalRelease();
    ::DestroyWindow(hClient);
}

TEST_F(ListControlTest, ObjectVerbsStayHiddenWithoutEmbeddedObjects)
{
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pPopup->SetOwnerSite(&frame);
    CMenu menu;
    menu.Attach(::CreatePopupMenu());
    ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, QXP_ID_OLEITEMS, QXP_OLEITEMS_CAPTION);
    ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, kAppExit, "E&xit");
    pPopup->LoadMenu(&menu, TRUE);
    menu.DestroyMenu();
    CQXPControls* pControls = pPopup->GetControls();
    ASSERT_NE(nullptr, dynamic_cast<CQXPControlOleItems*>(pControls->GetAt(0)));
    pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ((std::vector<std::string>{"E&xit"}), VisibleCaptions(pControls));
    pBars->SetCustomizeMode(TRUE);
    pPopup->CalcDynamicLayout(0, 0);
    pBars->SetCustomizeMode(FALSE);
    EXPECT_EQ((std::vector<std::string>{QXP_OLEITEMS_CAPTION, "E&xit"}), VisibleCaptions(pControls));
    pPopup->InternalRelease();
}

// ---------------------------------------------------------------------------
// Selector

TEST_F(ListControlTest, SelectorMarksTheCellsUpToTheMouseAndExecutesTheMarkedGrid)
{
    const int kTableCommand = 32900;
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pPopup->SetOwnerSite(&frame);
    CQXPControlSelector* pSelector = new CQXPControlSelector;
    pPopup->GetControls()->AddControl(pSelector, kTableCommand);
    pSelector->m_szHot = CSize(3, 3); // left over from an earlier opening
    pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ(CSize(5, 4), pSelector->GetShown());
    EXPECT_EQ(CSize(0, 0), pSelector->GetHot()) << "every opening starts unmarked";
    EXPECT_EQ(CSize(5 * 28, 4 * 28), pSelector->GetSize(NULL));
    ASSERT_FALSE(frame.selectorHots.empty());
    frame.selectorHots.clear();

    CPoint org = pSelector->GetRect().TopLeft();
    struct Case {
        CPoint offset;
        CSize hot;
    } cases[] = {
        {{1, 1}, {1, 1}},     // inside the first cell
        {{29, 57}, {2, 3}},   // just past a cell's left and top edges
        {{28, 56}, {1, 2}},   // on the edges: not past them
        {{-5, 10}, {0, 1}},   // left of the grid: no column
        {{500, 500}, {5, 4}}, // beyond the grid: all of it
    };
    for (const Case& c : cases) {
        pSelector->OnMouseMove(org + c.offset);
        EXPECT_EQ(c.hot, pSelector->GetHot()) << c.offset.x << "," << c.offset.y;
    }
    // A move that changes nothing tells the site nothing.
    pSelector->OnMouseMove(org + CPoint(600, 600));
    EXPECT_EQ(5u, frame.selectorHots.size());

    // Released on no cell: nothing happens.
    for (CPoint offset : {CPoint(-5, 10), CPoint(10, -5)}) {
        pSelector->OnMouseMove(org + offset);
        pSelector->OnLButtonUp(org + offset);
    }
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_EQ(CSize(0, 0), pSelector->GetResult());

    // Released on a cell: the marked grid is the result and the command goes.
    pSelector->OnMouseMove(org + CPoint(70, 40));
    pSelector->OnLButtonUp(org + CPoint(70, 40));
    PumpMessages();
    EXPECT_EQ(CSize(3, 2), pSelector->GetResult());
    EXPECT_EQ((std::vector<UINT>{(UINT)kTableCommand}), frame.commands);

    // A copy keeps the grid's sizes, not the marks.
    pSelector->m_szItemsCount = CSize(3, 2);
    pSelector->m_szItemSize = CSize(20, 16);
    CQXPControl* pClone = pSelector->Clone();
    CQXPControlSelector* pCopy = dynamic_cast<CQXPControlSelector*>(pClone);
    ASSERT_NE(nullptr, pCopy);
    EXPECT_EQ(CSize(3, 2), pCopy->m_szItemsCount);
    EXPECT_EQ(CSize(12, 12), pCopy->m_szItemsMax);
    EXPECT_EQ(CSize(20, 16), pCopy->m_szItemSize);
    EXPECT_EQ(CSize(0, 0), pCopy->GetHot());
    pClone->InternalRelease();
    pPopup->InternalRelease();
}

// The selector reads the left button's key state when the mouse leaves it.
using qmtest::SetLeftButtonState;

TEST_F(ListControlTest, SelectorGrowsWhenDraggedPastItsEdgesUpToItsMaximum)
{
    CQXPToolBar* pBar = pBars->Add("Table", qxpBarTop);
    ASSERT_NE(nullptr, pBar);
    CQXPControlSelector* pSelector = new CQXPControlSelector;
    pBar->GetControls()->AddControl(pSelector, 32900);
    // The pointer away from the bar: a bar that appears under it is told of
    // the mouse and would mark the cell it rests on.
    ::SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);
    pBars->RecalcFrameLayout();
    PumpMessages();
    ASSERT_EQ(CSize(0, 0), pSelector->GetHot());
    ASSERT_EQ(CSize(5, 4), pSelector->GetShown());
    CRect rc = pSelector->GetRect();
    ASSERT_EQ(5 * 28, rc.Width());

    struct Case {
        CPoint pt; // where the mouse leaves the grid, bar coordinates
        bool bButton;
        CSize shown;
        CSize hot;
    } cases[] = {
        // Released elsewhere: nothing grows, the marks go.
        {{rc.right + 30, rc.top + 10}, false, {5, 4}, {0, 0}},
        // Dragged 30 pixels past the right edge: two more columns (the
        // point lies in the seventh); the marks follow the mouse.
        {{rc.right + 30, rc.top + 10}, true, {7, 4}, {7, 1}},
        // Far past the right and bottom edges: up to the maximum.
        {{rc.left + 5000, rc.top + 5000}, true, {12, 12}, {12, 12}},
    };
    for (const Case& c : cases) {
        pSelector->OnSetSelected(1);
        CPoint ptScreen = c.pt;
        ::ClientToScreen(pBar->GetSafeHwnd(), &ptScreen);
        ::SetCursorPos(ptScreen.x, ptScreen.y);
        SetLeftButtonState(c.bButton);
        pSelector->OnSetSelected(0);
        SetLeftButtonState(false);
        EXPECT_EQ(c.shown, pSelector->GetShown()) << c.pt.x << "," << c.pt.y << " button " << c.bButton;
        EXPECT_EQ(c.hot, pSelector->GetHot()) << c.pt.x << "," << c.pt.y << " button " << c.bButton;
        EXPECT_EQ(c.shown.cx * 28, pSelector->GetRect().Width()) << "the bar was laid out for the new grid";
    }
    // The next ordinary layout shows the first grid again.
    pBars->RecalcFrameLayout();
    PumpMessages();
    EXPECT_EQ(CSize(5, 4), pSelector->GetShown());
}

} // namespace
