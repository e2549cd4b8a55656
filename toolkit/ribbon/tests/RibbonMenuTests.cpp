// The quick-access toolbar's menus under Wine: the customise button's menu
// (default commands ticked on and off, the QAT's place, "More Commands..."
// handed to the site) opened by the real mouse, the context menu of a
// ribbon control (add to and remove from the QAT, minimise) chosen with
// its keys while it runs its own loop, and who hears a right-button
// release first.
#include <qx/customize.h>
#include <qx/ribbonpopups.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/registry.h>
#include <qmtest/script.h>
#include <qxresource.h>

#include "ribbontestframe.h"

#include <atomic>
#include <functional>
#include <thread>

namespace {

using namespace ribbontest;

class RibbonMenuTest : public RibbonBarTest {
protected:
    CQXPPopupBar* OpenCustomizeMenu()
    {
        CQXPControl* pButton = Ribbon()->GetQuickAccessCustomizeButton();
        qmtest::ClickAt(ScreenPoint(pButton->GetRect().CenterPoint()));
        CQXPPopupBar* pPopup = NULL;
        qmtest::PumpUntil([&] { return IsOpen(pPopup = dynamic_cast<CQXPPopupBar*>(pButton->GetCommandBar())); });
        return IsOpen(pPopup) ? pPopup : NULL;
    }
    // In customize mode (left on), the Font group's first control, Bold, is
    // dragged with the real mouse onto the tab row behind a control of the
    // bar there, "Find" (*prcFind: its place). The bar is made customizable.
    // Bold as it landed, or NULL.
    CQXPControl* DropBoldOnTheTabRow(CRect* prcFind);
    static CQXPControl* Item(CQXPPopupBar* pPopup, int nId)
    {
        return pPopup->GetControls()->FindControl(nId);
    }
    void ClickItem(CQXPPopupBar* pPopup, CQXPControl* pItem)
    {
        CPoint pt = pItem->GetRect().CenterPoint();
        pPopup->ClientToScreen(&pt);
        qmtest::ClickAt(pt);
    }
    // A right click on a control of the ribbon; the context menu runs its
    // own loop, so a second thread types the item's key once it shows.
    void ContextMenuKey(CQXPControl* pControl, WORD vk)
    {
        CPoint pt = pControl->GetRect().CenterPoint();
        pControl->GetParent()->ClientToScreen(&pt);
        ChooseFromMenu([&] { qmtest::ClickAt(pt, true); }, vk);
    }
    // Opens a menu that runs its own loop and types an item's key in it
    // from a second thread once it shows; *prcMenu: where it showed;
    // hWndOpen: a popup already open that is not the menu.
    void ChooseFromMenu(const std::function<void()>& open, WORD vk, CRect* prcMenu = NULL, HWND hWndOpen = NULL)
    {
        std::atomic<bool> bTyped(false);
        const DWORD dwThread = ::GetCurrentThreadId();
        CRect rcMenu;
        std::thread typist([&] {
            const DWORD dwStart = ::GetTickCount();
            HWND hWndMenu = NULL;
            while (!(hWndMenu = ShownPopup(dwThread, hWndOpen)) && ::GetTickCount() - dwStart < 5000)
                ::Sleep(20);
            if (hWndMenu)
                ::GetWindowRect(hWndMenu, &rcMenu);
            qmtest::KeyStroke(vk);
            bTyped = true;
        });
        open();
        EXPECT_TRUE(qmtest::PumpUntil([&] { return bTyped && !ShownPopup(dwThread, hWndOpen); }));
        typist.join();
        qmtest::PumpMessages();
        if (prcMenu)
            *prcMenu = rcMenu;
    }
    // A popup bar the thread shows other than hWndExcept (NULL when none).
    static HWND ShownPopup(DWORD dwThread, HWND hWndExcept = NULL)
    {
        std::pair<HWND, HWND> search(NULL, hWndExcept); // found, not this one
        ::EnumThreadWindows(
            dwThread,
            [](HWND hWnd, LPARAM lParam) {
                auto* p = (std::pair<HWND, HWND>*)lParam;
                char szClass[64] = {};
                ::GetClassNameA(hWnd, szClass, sizeof(szClass));
                if (hWnd != p->second && ::IsWindowVisible(hWnd) && strcmp(szClass, "QXPPopupBar") == 0)
                    p->first = hWnd;
                return TRUE;
            },
            (LPARAM)&search);
        return search.first;
    }
};

TEST_F(RibbonMenuTest, MoreCommandsHandsTheSiteTheChosenMenuItem)
{
    // "More Commands..." of the customise menu goes to the site as the
    // special command with the chosen menu item itself (not a record); a
    // site that leaves it (0) gets it as a command.
    const struct Case {
        const char* name;
        LRESULT nAnswer;
        int nCommands;
    } cases[] = {
        {"the site takes it", 1, 0},
        {"the site leaves it", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frame.m_specialCommands.clear();
        frame.m_nMoreCommands = 0;
        frame.m_nSpecialAnswer = c.nAnswer;
        CQXPPopupBar* pPopup = OpenCustomizeMenu();
        ASSERT_TRUE(pPopup != NULL);
        CQXPControl* pItem = Item(pPopup, QX_ID_RIBBON_QAT_CUSTOMIZE);
        ASSERT_TRUE(pItem != NULL && pItem->IsVisible());
        ClickItem(pPopup, pItem);
        ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_specialCommands.empty(); }));
        qmtest::PumpMessages();
        ASSERT_EQ(1u, frame.m_specialCommands.size());
        EXPECT_EQ((LPARAM)pItem, frame.m_specialCommands[0]);
        EXPECT_EQ(c.nCommands, frame.m_nMoreCommands);
        EXPECT_TRUE(ShownPopup(::GetCurrentThreadId()) == NULL) << "the menu closed first";
    }
}

// A button that may take the right button's release itself.
class CRightReleaseButton : public CQXPControlButton {
public:
    BOOL m_bTake = FALSE;
    int m_nReleases = 0;
    BOOL OnRButtonUp(CPoint pt) override
    {
        (void)pt;
        m_nReleases++;
        return m_bTake;
    }
};

TEST_F(RibbonMenuTest, ARightReleaseGoesToTheSiteThenToTheControlThenToTheContextMenu)
{
    // The right button released over a control of the ribbon (a QAT
    // command of a class of its own): the site
    // hears it first (1 ends it), then the control may take it, and only
    // then the control's context menu is made (the site empties it here,
    // so none shows).
    auto* pButton = new CRightReleaseButton;
    Ribbon()->GetQuickAccessControls()->AddControl(pButton, ID_R_FIND);
    pButton->SetCaption("Find");
    Relayout();
    ASSERT_TRUE(pButton->IsVisible());
    ASSERT_EQ(Ribbon(), pButton->GetParent());
    ASSERT_FALSE(pButton->GetRect().IsRectEmpty());
    frame.m_bEmptyContextMenus = TRUE;
    const struct Case {
        const char* name;
        LRESULT nSiteAnswer;
        BOOL bControlTakes;
        int nReleases; // the control's
        int nMenus;
    } cases[] = {
        {"the site takes it", 1, TRUE, 0, 0},
        {"the control takes it", 0, TRUE, 1, 0},
        {"neither: the context menu", 0, FALSE, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frame.m_rightReleases.clear();
        frame.m_nContextMenus = 0;
        frame.m_nRightReleaseAnswer = c.nSiteAnswer;
        pButton->m_bTake = c.bControlTakes;
        pButton->m_nReleases = 0;
        qmtest::ClickAt(ScreenPoint(pButton->GetRect().CenterPoint()), true);
        ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_rightReleases.empty(); }));
        qmtest::PumpMessages();
        ASSERT_EQ(1u, frame.m_rightReleases.size());
        EXPECT_EQ(pButton, frame.m_rightReleases[0]);
        EXPECT_EQ(c.nReleases, pButton->m_nReleases);
        EXPECT_EQ(c.nMenus, frame.m_nContextMenus);
        if (c.nMenus)
            EXPECT_EQ((WPARAM)Ribbon(), frame.m_contextMenuBar) << "the menu comes with its bar";
    }
}

// Another window's menu may send the QAT's commands to the ribbon window
// itself: WM_COMMAND for its place, the special command for the others.
TEST_F(RibbonMenuTest, TheRibbonWindowTakesTheQuickAccessCommands)
{
    ASSERT_FALSE(Ribbon()->IsQuickAccessBelow());
    Ribbon()->SendMessage(WM_COMMAND, QX_ID_RIBBON_QAT_BELOW);
    EXPECT_TRUE(Ribbon()->IsQuickAccessBelow());
    Ribbon()->SendMessage(WM_COMMAND, QX_ID_RIBBON_QAT_ABOVE);
    EXPECT_FALSE(Ribbon()->IsQuickAccessBelow());
    Ribbon()->SendMessage(WM_COMMAND, QX_ID_RIBBON_QAT_BELOW);
    Ribbon()->SendMessage(WM_COMMAND, QX_ID_RIBBON_QAT_ABOVE - 1);
    EXPECT_FALSE(Ribbon()->IsQuickAccessBelow()) << "9609 is not below";

    ASSERT_FALSE(Ribbon()->IsRibbonMinimized());
    EXPECT_EQ(1, Ribbon()->SendMessage(WM_COMMANDBARS_SPECIALCOMMAND, QX_ID_RIBBON_MINIMIZE, 0));
    EXPECT_TRUE(Ribbon()->IsRibbonMinimized());
    EXPECT_EQ(1, Ribbon()->SendMessage(WM_COMMANDBARS_SPECIALCOMMAND, QX_ID_RIBBON_MINIMIZE, 0));
    EXPECT_FALSE(Ribbon()->IsRibbonMinimized());
    EXPECT_EQ(0, Ribbon()->SendMessage(WM_COMMANDBARS_SPECIALCOMMAND, ID_R_PASTE, 0)) << "not a QAT command";
    // "More Commands..." goes on to the site.
    const size_t nBefore = frame.m_specialCommands.size();
    EXPECT_EQ(1, Ribbon()->SendMessage(WM_COMMANDBARS_SPECIALCOMMAND, QX_ID_RIBBON_QAT_CUSTOMIZE, 0));
    EXPECT_EQ(nBefore + 1, frame.m_specialCommands.size());
}

TEST_F(RibbonMenuTest, TheCustomizeMenuTicksTheDefaultCommandsOnAndOff)
{
    // The QAT's defaults: Save and Cut; Cut is taken off again.
    CQXPControl* pCut = Ribbon()->AddQuickAccessControl(qxpControlButton, ID_R_CUT);
    pCut->SetCaption("Cut");
    Ribbon()->SetQuickAccessDefaults();
    Ribbon()->RemoveQuickAccessControl(pCut);
    Relayout();
    ASSERT_EQ(1, Ribbon()->GetQuickAccessCount());

    CQXPPopupBar* pPopup = OpenCustomizeMenu();
    ASSERT_TRUE(pPopup != NULL);
    struct Case {
        int nId;
        bool bVisible;
    } const cases[] = {
        {QX_ID_RIBBON_QAT_HEADING, true},
        {QX_ID_RIBBON_QAT_COMMANDS, false},
        {QX_ID_RIBBON_QAT_CUSTOMIZE, true},
        {QX_ID_RIBBON_QAT_BELOW, true},
        {QX_ID_RIBBON_QAT_ABOVE, false},
        {QX_ID_RIBBON_MINIMIZE, true},
    };
    for (const Case& c : cases) {
        CQXPControl* pItem = Item(pPopup, c.nId);
        ASSERT_TRUE(pItem != NULL) << c.nId;
        EXPECT_EQ(c.bVisible, pItem->IsVisible() != FALSE) << c.nId;
    }
    EXPECT_TRUE(Item(pPopup, QX_ID_RIBBON_QAT_HEADING)->IsDefaultItem());
    EXPECT_EQ("&More Commands...", std::string(Item(pPopup, QX_ID_RIBBON_QAT_CUSTOMIZE)->GetCaption()));
    EXPECT_EQ(0, Item(pPopup, QX_ID_RIBBON_MINIMIZE)->GetChecked());
    // The defaults follow [Commands]: Save ticked, Cut not.
    const int nAt = Item(pPopup, QX_ID_RIBBON_QAT_COMMANDS)->GetIndex();
    CQXPControl* pSaveItem = pPopup->GetControls()->GetAt(nAt + 1);
    CQXPControl* pCutItem = pPopup->GetControls()->GetAt(nAt + 2);
    EXPECT_EQ(ID_R_SAVE, pSaveItem->GetID());
    EXPECT_EQ(1, pSaveItem->GetChecked());
    EXPECT_EQ(ID_R_CUT, pCutItem->GetID());
    EXPECT_EQ(0, pCutItem->GetChecked());
    EXPECT_EQ("Cut", std::string(pCutItem->GetCaption()));
    ShotWithPopup("ribbon-qat-menu.png", pPopup);

    // Choosing Cut puts it on the QAT; choosing it again takes it off.
    ClickItem(pPopup, pCutItem);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetQuickAccessCount() == 2; }));
    EXPECT_EQ(ID_R_CUT, Ribbon()->GetQuickAccessControl(1)->GetID());
    EXPECT_TRUE(frame.m_commands.empty()) << "ticking runs no command";
    pPopup = OpenCustomizeMenu();
    ASSERT_TRUE(pPopup != NULL);
    pCutItem = pPopup->GetControls()->GetAt(Item(pPopup, QX_ID_RIBBON_QAT_COMMANDS)->GetIndex() + 2);
    EXPECT_EQ(1, pCutItem->GetChecked());
    ClickItem(pPopup, pCutItem);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetQuickAccessCount() == 1; }));

    // Below the ribbon, and back above.
    pPopup = OpenCustomizeMenu();
    ASSERT_TRUE(pPopup != NULL);
    ClickItem(pPopup, Item(pPopup, QX_ID_RIBBON_QAT_BELOW));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->IsQuickAccessBelow() != FALSE; }));
    Relayout();
    pPopup = OpenCustomizeMenu();
    ASSERT_TRUE(pPopup != NULL);
    EXPECT_FALSE(Item(pPopup, QX_ID_RIBBON_QAT_BELOW)->IsVisible());
    ClickItem(pPopup, Item(pPopup, QX_ID_RIBBON_QAT_ABOVE));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !Ribbon()->IsQuickAccessBelow(); }));
}

TEST_F(RibbonMenuTest, AControlsContextMenuAddsItToTheQuickAccessToolbarAndRemovesIt)
{
    CQXPControl* pCut = Ribbon()->GetTab(0)->GetGroup(0)->GetAt(1);
    ContextMenuKey(pCut, 'A');
    ASSERT_EQ(2, Ribbon()->GetQuickAccessCount());
    CQXPControl* pCopy = Ribbon()->GetQuickAccessControl(1);
    EXPECT_EQ(ID_R_CUT, pCopy->GetID());
    EXPECT_NE(pCut, pCopy);
    EXPECT_TRUE(pCopy->IsVisible(0));
    EXPECT_FALSE(pCopy->GetBeginGroup());
    EXPECT_TRUE(Ribbon()->GetQuickAccessControls()->FindEqual(pCut) == pCopy);
    EXPECT_FALSE(Ribbon()->IsAllowQuickAccessControl(pCut)) << "no second copy";

    // The copy runs the command from the QAT.
    Relayout();
    qmtest::ClickAt(ScreenPoint(pCopy->GetRect().CenterPoint()));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    EXPECT_EQ((UINT)ID_R_CUT, frame.m_commands[0]);

    // Its own context menu takes it off again.
    ContextMenuKey(pCopy, 'R');
    EXPECT_EQ(1, Ribbon()->GetQuickAccessCount());
    EXPECT_TRUE(Ribbon()->IsAllowQuickAccessControl(pCut));

    // The same menu minimises the ribbon.
    ContextMenuKey(pCut, 'N');
    EXPECT_TRUE(Ribbon()->IsRibbonMinimized());
}

TEST_F(RibbonMenuTest, InATabPopupAControlOrAGroupsCaptionGoesOntoTheQuickAccessToolbar)
{
    Ribbon()->SetRibbonMinimized(TRUE);
    Relayout();
    CQXPRibbonTabPopupToolBar* pPopup = NULL;
    auto openHome = [&] {
        qmtest::PumpFor(::GetDoubleClickTime() + 100);
        qmtest::ClickAt(TabCentre(0));
        return qmtest::PumpUntil(
            [&] { return IsOpen(pPopup = dynamic_cast<CQXPRibbonTabPopupToolBar*>(Ribbon()->GetTabPopup())); });
    };
    // The right button on Cut's copy: its menu adds Cut.
    ASSERT_TRUE(openHome());
    CQXPControl* pCutCopy = pPopup->GetGroups()->GetAt(0)->GetAt(1);
    CPoint pt = pCutCopy->GetRect().CenterPoint();
    pPopup->ClientToScreen(&pt);
    ChooseFromMenu([&] { qmtest::ClickAt(pt, true); }, 'A', NULL, pPopup->GetSafeHwnd());
    ASSERT_EQ(2, Ribbon()->GetQuickAccessCount());
    EXPECT_EQ(ID_R_CUT, Ribbon()->GetQuickAccessControl(1)->GetID());

    // On the Font copy's caption band: the menu of the ribbon's own Font
    // group, whose Add item puts the group on the QAT.
    ASSERT_TRUE(openHome());
    CQXPRibbonGroup* pFont = Ribbon()->GetTab(0)->GetGroup(1);
    CQXPRibbonGroup* pFontCopy = pPopup->GetGroups()->GetAt(1);
    EXPECT_EQ(pFont, pPopup->GetSourceOf(pFontCopy));
    pt = CPoint(pFontCopy->GetRect().left + 6, pFontCopy->GetRect().bottom - 4);
    pPopup->ClientToScreen(&pt);
    ChooseFromMenu([&] { qmtest::ClickAt(pt, true); }, 'A', NULL, pPopup->GetSafeHwnd());
    ASSERT_EQ(3, Ribbon()->GetQuickAccessCount());
    auto* pButton = dynamic_cast<CQXPRibbonGroupControlPopup*>(Ribbon()->GetQuickAccessControl(2));
    ASSERT_TRUE(pButton != NULL);
    EXPECT_EQ(101, pButton->GetID());
    EXPECT_EQ(pFont, pButton->GetGroup()) << "the ribbon's group, which outlives the popup";

    // With the popup gone, the QAT's button opens the group.
    frame.GetCommandBars()->ClosePopups();
    qmtest::PumpMessages();
    Relayout();
    qmtest::ClickAt(ScreenPoint(pButton->GetRect().CenterPoint()));
    CQXPRibbonGroupPopupToolBar* pGroupPopup = NULL;
    ASSERT_TRUE(qmtest::PumpUntil(
        [&] { return IsOpen(pGroupPopup = dynamic_cast<CQXPRibbonGroupPopupToolBar*>(pButton->GetCommandBar())); }));
    EXPECT_EQ(pFont, pGroupPopup->GetSourceGroup());
    ASSERT_TRUE(pGroupPopup->GetGroupCopy() != NULL);
    EXPECT_EQ(ID_R_BOLD, pGroupPopup->GetGroupCopy()->GetAt(0)->GetID());
}

// --- a group's button on the QAT: its group found by its id ---------------------------

class RibbonGroupButtonCopyTest : public RibbonMenuTest {
protected:
    // Clicks a QAT button (after a double-click time: no double click) and
    // waits for the group popup it opens; NULL when none opens.
    CQXPRibbonGroupPopupToolBar* OpenFromQuickAccess(CQXPRibbonBar* pRibbon, CQXPControl* pButton)
    {
        qmtest::PumpFor(::GetDoubleClickTime() + 100);
        CPoint pt = pButton->GetRect().CenterPoint();
        pRibbon->ClientToScreen(&pt);
        qmtest::ClickAt(pt);
        CQXPRibbonGroupPopupToolBar* pPopup = NULL;
        qmtest::PumpUntil(
            [&] { return IsOpen(pPopup = dynamic_cast<CQXPRibbonGroupPopupToolBar*>(pButton->GetCommandBar())); });
        return IsOpen(pPopup) ? pPopup : NULL;
    }
    void ClosePopups(CRibbonTestFrame& f)
    {
        f.GetCommandBars()->ClosePopups();
        qmtest::PumpMessages();
    }
};

TEST_F(RibbonGroupButtonCopyTest, OutlivesItsGroupAndOpensTheNextGroupWithItsId)
{
    CQXPRibbonGroup* pFont = Ribbon()->FindGroup(101);
    auto* pCopy = dynamic_cast<CQXPRibbonGroupControlPopup*>(Ribbon()->AddQuickAccessCopy(pFont->GetPopupButton()));
    ASSERT_TRUE(pCopy != NULL);
    EXPECT_FALSE(pCopy->IsStandIn());
    EXPECT_EQ(pFont, pCopy->GetGroup());

    // The groups go: the button stays, drawn and clickable, and opens no
    // group.
    Ribbon()->GetTab(0)->RemoveAllGroups();
    EXPECT_EQ(nullptr, pCopy->GetGroup());
    Relayout();
    ASSERT_TRUE(pCopy->IsVisible());
    EXPECT_EQ(nullptr, OpenFromQuickAccess(Ribbon(), pCopy));
    ClosePopups(frame);
    EXPECT_TRUE(::IsWindow(Ribbon()->GetSafeHwnd()));

    // A new group with the button's id, on another tab, is the one it opens.
    CQXPRibbonGroup* pAgain = Ribbon()->GetTab(2)->AddGroup("Font again", 101);
    pAgain->Add(qxpControlButton, ID_R_UNDERLINE, "Underline");
    EXPECT_EQ(pAgain, pCopy->GetGroup());
    Relayout();
    CQXPRibbonGroupPopupToolBar* pPopup = OpenFromQuickAccess(Ribbon(), pCopy);
    ASSERT_TRUE(pPopup != NULL);
    EXPECT_EQ(pAgain, pPopup->GetSourceGroup());
    ASSERT_TRUE(pPopup->GetGroupCopy() != NULL);
    EXPECT_EQ(ID_R_UNDERLINE, pPopup->GetGroupCopy()->GetAt(0)->GetID());
    ClosePopups(frame);

    // A group made invisible hides its buttons on the QAT too.
    pAgain->m_bVisible = FALSE;
    EXPECT_FALSE(pCopy->IsVisible());
    pAgain->m_bVisible = TRUE;
    EXPECT_TRUE(pCopy->IsVisible());
}

TEST_F(RibbonGroupButtonCopyTest, CopiedFromAnotherRibbonItOpensThisRibbonsGroup)
{
    // A clone of the customizable ribbon (copies of its tabs and groups)
    // gets the Font group's button on its QAT; the frame's ribbon is copied
    // from it, and the clone is freed.
    Ribbon()->SetCustomizable(TRUE);
    CQXPRibbonBar* pSource = DYNAMIC_DOWNCAST(CQXPRibbonBar, Ribbon()->Clone());
    ASSERT_TRUE(pSource != NULL);
    CQXPRibbonGroup* pSourceFont = pSource->FindGroup(101);
    ASSERT_NE(Ribbon()->FindGroup(101), pSourceFont);
    ASSERT_TRUE(pSource->AddQuickAccessCopy(pSourceFont->GetPopupButton()) != NULL);
    Ribbon()->Copy(pSource);
    pSource->InternalRelease();

    ASSERT_EQ(2, Ribbon()->GetQuickAccessCount());
    auto* pCopy = dynamic_cast<CQXPRibbonGroupControlPopup*>(Ribbon()->GetQuickAccessControl(1));
    ASSERT_TRUE(pCopy != NULL);
    CQXPRibbonGroup* pFont = Ribbon()->FindGroup(101);
    ASSERT_TRUE(pFont != NULL);
    EXPECT_EQ(pFont, pCopy->GetGroup());
    Relayout();
    ASSERT_TRUE(pCopy->IsVisible());
    CQXPRibbonGroupPopupToolBar* pPopup = OpenFromQuickAccess(Ribbon(), pCopy);
    ASSERT_TRUE(pPopup != NULL);
    EXPECT_EQ(pFont, pPopup->GetSourceGroup());
    EXPECT_EQ(ID_R_BOLD, pPopup->GetGroupCopy()->GetAt(0)->GetID());
}

TEST_F(RibbonGroupButtonCopyTest, LoadedFromASavedLayoutItOpensItsGroup)
{
    qmtest::RegistryApp reg;
    ASSERT_TRUE(Ribbon()->AddQuickAccessCopy(Ribbon()->FindGroup(101)->GetPopupButton()) != NULL);
    SaveRibbonLayoutAndClose();

    CRibbonTestFrame other;
    CQXPRibbonBar* pLoaded = ReloadRibbonLayout(other);
    ASSERT_TRUE(pLoaded != NULL);
    ASSERT_EQ(2, pLoaded->GetQuickAccessCount());
    auto* pCopy = dynamic_cast<CQXPRibbonGroupControlPopup*>(pLoaded->GetQuickAccessControl(1));
    ASSERT_TRUE(pCopy != NULL);
    EXPECT_EQ(101, pCopy->GetID());
    CQXPRibbonGroup* pFont = pLoaded->FindGroup(101);
    ASSERT_TRUE(pFont != NULL);
    EXPECT_EQ(pFont, pCopy->GetGroup());
    ::SetForegroundWindow(other.GetSafeHwnd());
    qmtest::PumpUntil([&] { return ::GetForegroundWindow() == other.GetSafeHwnd(); });
    CQXPRibbonGroupPopupToolBar* pPopup = OpenFromQuickAccess(pLoaded, pCopy);
    ASSERT_TRUE(pPopup != NULL);
    EXPECT_EQ(pFont, pPopup->GetSourceGroup());
    ASSERT_TRUE(pPopup->GetGroupCopy() != NULL);
    EXPECT_EQ(ID_R_BOLD, pPopup->GetGroupCopy()->GetAt(0)->GetID());
    ClosePopups(other);
    other.DestroyWindow();
    qmtest::PumpMessages();
}

TEST_F(RibbonMenuTest, ShiftF10ShowsTheSelectedControlsMenuAtItsCorner)
{
    // The ribbon tracks from the keyboard with Save (on the QAT) selected.
    CQXPControl* pSave = Ribbon()->GetQuickAccessControl(0);
    ::SetFocus(frame.GetSafeHwnd());
    Ribbon()->SetTrackingMode(TRUE, FALSE, TRUE);
    Ribbon()->SetSelected(pSave->GetIndex(), 2);
    ASSERT_EQ(pSave, Ribbon()->GetSelected());
    const CPoint ptCorner = ScreenPoint(pSave->GetRect().TopLeft());
    // Shift+F10 opens Save's menu at its corner; its Remove item takes
    // Save off the QAT.
    CRect rcMenu;
    ChooseFromMenu([] { qmtest::KeyStrokeWith(VK_SHIFT, VK_F10); }, 'R', &rcMenu);
    EXPECT_EQ(ptCorner, rcMenu.TopLeft());
    EXPECT_EQ(0, Ribbon()->GetQuickAccessCount()) << "the menu was Save's";

    // The site's WM_CONTEXTMENU from the keyboard does the same for the
    // control selected.
    Ribbon()->SetTrackingMode(TRUE, FALSE, TRUE);
    CQXPControl* pCut = Ribbon()->GetTab(0)->GetGroup(0)->GetAt(1);
    Ribbon()->SetSelected(pCut->GetIndex(), 2);
    ChooseFromMenu([&] { frame.SendMessage(WM_CONTEXTMENU, (WPARAM)frame.GetSafeHwnd(), -1); }, 'A');
    ASSERT_EQ(1, Ribbon()->GetQuickAccessCount());
    EXPECT_EQ(ID_R_CUT, Ribbon()->GetQuickAccessControl(0)->GetID());
}

TEST_F(RibbonMenuTest, ControlsThatMayNotMoveOfferNoAddOrRemove)
{
    // The QAT's own buttons: their menus offer neither.
    for (CQXPControl* pControl : {Ribbon()->GetQuickAccessCustomizeButton(), Ribbon()->GetQuickAccessMoreButton()}) {
        CQXPPopupBar* pPopup = Ribbon()->CreateQuickAccessPopup(pControl);
        ASSERT_TRUE(pPopup != NULL);
        for (int nId : {QX_ID_RIBBON_QAT_ADD, QX_ID_RIBBON_QAT_REMOVE}) {
            CQXPControl* pItem = Item(pPopup, nId);
            EXPECT_TRUE(!pItem || !pItem->IsVisible()) << nId;
        }
        pPopup->InternalRelease();
    }
    // A command already on the QAT is offered greyed; a control that may
    // not move is not offered.
    CQXPControl* pCut = Ribbon()->GetTab(0)->GetGroup(0)->GetAt(1);
    ASSERT_TRUE(Ribbon()->AddQuickAccessCopy(pCut) != NULL);
    CQXPPopupBar* pPopup = Ribbon()->CreateQuickAccessPopup(pCut);
    ASSERT_TRUE(pPopup != NULL);
    EXPECT_TRUE(Item(pPopup, QX_ID_RIBBON_QAT_ADD)->IsVisible());
    EXPECT_FALSE(Item(pPopup, QX_ID_RIBBON_QAT_ADD)->GetEnabled());
    pPopup->InternalRelease();
    pCut->SetFlags(pCut->GetFlags() | qxpFlagNoMovable);
    pPopup = Ribbon()->CreateQuickAccessPopup(pCut);
    ASSERT_TRUE(pPopup != NULL);
    EXPECT_FALSE(Item(pPopup, QX_ID_RIBBON_QAT_ADD)->IsVisible());
    pPopup->InternalRelease();
}

// Drags with the real mouse from a second thread while this one handles
// the drag loop's messages.
void DragWithMouse(CPoint ptFrom, CPoint ptTo)
{
    std::atomic<bool> bDone(false);
    std::thread dragger([&] {
        qmtest::DragFromTo(ptFrom, ptTo, [](DWORD dwMs) { ::Sleep(dwMs); });
        bDone = true;
    });
    EXPECT_TRUE(qmtest::PumpUntil([&] { return bDone.load(); }, 15000));
    dragger.join();
    qmtest::PumpMessages();
}

TEST_F(RibbonMenuTest, InCustomizeModeADroppedControlJoinsTheGroupOrTheQuickAccessToolbar)
{
    Ribbon()->SetCustomizable(TRUE);
    CQXPCommandBars* pBars = frame.GetCommandBars();
    pBars->SetCustomizeMode(TRUE);
    Relayout();
    CQXPRibbonGroup* pClipboard = Ribbon()->GetTab(0)->GetGroup(0);
    CQXPRibbonGroup* pFont = Ribbon()->GetTab(0)->GetGroup(1);
    ASSERT_EQ(3, pFont->GetCount());

    // Bold moves onto Copy in the Clipboard group.
    CQXPControl* pCopyButton = pClipboard->GetAt(2);
    CRect rcCopy = pCopyButton->GetRect();
    DragWithMouse(ScreenPoint(pFont->GetAt(0)->GetRect().CenterPoint()),
                  ScreenPoint(CPoint(rcCopy.left + 3, rcCopy.CenterPoint().y)));
    ASSERT_EQ(4, pClipboard->GetCount());
    EXPECT_EQ(2, pFont->GetCount()) << "moved, not copied";
    int nBold = -1;
    for (int i = 0; i < pClipboard->GetCount(); i++)
        if (pClipboard->GetAt(i)->GetID() == ID_R_BOLD)
            nBold = i;
    ASSERT_GE(nBold, 0);
    CQXPControl* pBold = pClipboard->GetAt(nBold);
    EXPECT_EQ(pBold, pBars->GetDragControl()) << "the dropped control is the selection";
    EXPECT_EQ(Ribbon(), pBold->GetParent());
    EXPECT_TRUE(pBold->IsVisible(0));

    // Italic dropped on the QAT's Save joins the QAT.
    Relayout();
    CRect rcSave = Ribbon()->GetQuickAccessControl(0)->GetRect();
    DragWithMouse(ScreenPoint(pFont->GetAt(0)->GetRect().CenterPoint()),
                  ScreenPoint(CPoint(rcSave.right - 3, rcSave.CenterPoint().y)));
    ASSERT_EQ(2, Ribbon()->GetQuickAccessCount());
    EXPECT_EQ(ID_R_ITALIC, Ribbon()->GetQuickAccessControl(1)->GetID());
    EXPECT_EQ(1, pFont->GetCount());
    pBars->SetCustomizeMode(FALSE);
}

CQXPControl* RibbonMenuTest::DropBoldOnTheTabRow(CRect* prcFind)
{
    CQXPRibbonBar* pRibbon = Ribbon();
    CQXPControl* pFind = AddTabRowControl(pRibbon, ID_R_FIND, "Find");
    pRibbon->SetCustomizable(TRUE);
    pRibbon->GetCommandBars()->SetCustomizeMode(TRUE);
    Relayout();
    CQXPRibbonGroup* pFont = pRibbon->GetTab(0)->GetGroup(1);
    *prcFind = pFind->GetRect();
    EXPECT_FALSE(prcFind->IsRectEmpty());
    const CPoint ptDrop(prcFind->right - 3, prcFind->CenterPoint().y);
    DragWithMouse(ScreenPoint(pFont->GetAt(0)->GetRect().CenterPoint()), ScreenPoint(ptDrop));
    EXPECT_EQ(2, pFont->GetCount()) << "moved out of its group";
    CQXPControl* pBold = pRibbon->GetControls()->FindControl(ID_R_BOLD);
    if (!pBold)
        return NULL;
    EXPECT_EQ(NULL, pRibbon->FindControlGroup(pBold));
    EXPECT_TRUE(pRibbon->IsTabRowControl(pBold));
    return pBold;
}

TEST_F(RibbonMenuTest, InCustomizeModeAControlDroppedOnTheTabRowStaysThereFramed)
{
    CQXPCommandBars* pBars = frame.GetCommandBars();
    CRect rcFind;
    CQXPControl* pBold = DropBoldOnTheTabRow(&rcFind);
    ASSERT_FALSE(rcFind.IsRectEmpty());
    ASSERT_TRUE(pBold != NULL);
    const CRect rcRow = Ribbon()->GetTabRowRect();

    // Laid out again it keeps a place in the tab row, framed as the
    // customized control.
    Relayout();
    const CRect rc = pBold->GetRect();
    ASSERT_FALSE(rc.IsRectEmpty());
    EXPECT_GE(rc.top, rcRow.top);
    EXPECT_LE(rc.bottom, rcRow.bottom);
    EXPECT_EQ(rcFind.right, rc.left) << "after the control it was dropped behind";
    EXPECT_LE(rc.right, Ribbon()->GetTab(0)->GetRect().left);
    EXPECT_EQ(pBold, pBars->GetDragControl());
    ::RedrawWindow(Ribbon()->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    qmtest::PumpMessages();
    const CPoint ptCorner = ScreenPoint(rc.TopLeft());
    HDC hdc = ::GetDC(NULL);
    const COLORREF clrCorner = ::GetPixel(hdc, ptCorner.x + 1, ptCorner.y + 1);
    ::ReleaseDC(NULL, hdc);
    EXPECT_EQ(RGB(0, 0, 0), clrCorner) << "the double frame of the customized control";
    Shot("ribbon-customize-tab-row.png");
    pBars->SetCustomizeMode(FALSE);
}

TEST_F(RibbonMenuTest, AControlDroppedOnTheTabRowInCustomizeModeComesBackWithTheSavedLayout)
{
    // Dropped there, saved with the frame's layout and loaded into another
    // frame: the control is on that ribbon's tab row behind the same
    // neighbour, and no longer in its group.
    qmtest::RegistryApp reg;
    CRect rcFind;
    ASSERT_TRUE(DropBoldOnTheTabRow(&rcFind) != NULL);
    frame.GetCommandBars()->SetCustomizeMode(FALSE);
    SaveRibbonLayoutAndClose();

    CRibbonTestFrame other;
    CQXPRibbonBar* pLoaded = ReloadRibbonLayout(other);
    ASSERT_TRUE(pLoaded != NULL);
    EXPECT_EQ(2, pLoaded->GetTab(0)->GetGroup(1)->GetCount());
    EXPECT_EQ("Find Bold", TabRow(pLoaded));
    CQXPControl* pFind = TabRowControl(pLoaded, "Find");
    CQXPControl* pBold = TabRowControl(pLoaded, "Bold");
    ASSERT_TRUE(pFind != NULL);
    ASSERT_TRUE(pBold != NULL);
    EXPECT_EQ(ID_R_BOLD, pBold->GetID());
    EXPECT_FALSE(pBold->GetRect().IsRectEmpty());
    EXPECT_EQ(pFind->GetRect().right, pBold->GetRect().left);
    EXPECT_LE(pBold->GetRect().right, pLoaded->GetTab(0)->GetRect().left);
    other.DestroyWindow();
    qmtest::PumpMessages();
}

TEST_F(RibbonMenuTest, InCustomizeModeTheRibbonDrawsTheDropMark)
{
    frame.GetCommandBars()->SetCustomizeMode(TRUE);
    Relayout();
    // A mark in the empty part of the groups band, right of the last group.
    const CRect rcGroups = Ribbon()->GetGroupsRect();
    const CRect rcMark(rcGroups.right - 60, rcGroups.top + 10, rcGroups.right - 54, rcGroups.top + 40);
    CRect bands[5];
    QxpDropMarkerBands(rcMark, FALSE, bands);
    // The mark is set by hand: the bar is asked to paint its copy anew.
    auto pixel = [&](CPoint pt) {
        Ribbon()->Redraw();
        ::RedrawWindow(Ribbon()->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        qmtest::PumpMessages();
        pt = ScreenPoint(pt);
        HDC hdc = ::GetDC(NULL);
        const COLORREF c = ::GetPixel(hdc, pt.x, pt.y);
        ::ReleaseDC(NULL, hdc);
        return c;
    };
    const CPoint ptBand = bands[0].CenterPoint();
    const COLORREF clrBefore = pixel(ptBand);
    Ribbon()->m_rcDropMarker = rcMark;
    EXPECT_NE(clrBefore, pixel(ptBand)) << "the mark inverts the band under it";
    Shot("ribbon-drop-mark.png");
    Ribbon()->m_rcDropMarker.SetRectEmpty();
    EXPECT_EQ(clrBefore, pixel(ptBand));
    frame.GetCommandBars()->SetCustomizeMode(FALSE);
}

} // namespace
