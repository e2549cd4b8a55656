// The ribbon's popups under Wine, opened and used with the real mouse: a
// minimised ribbon's tab (below the tab row, kept inside the work area), a
// collapsed group (its copy at full size) and the quick-access toolbar's
// overflow; the keytips under the real keyboard. Screenshots of each.
#include <qx/keytips.h>
#include <qx/ribbonpopups.h>
#include <qmtest/accessible.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/script.h>

#include <string>
#include <vector>

#include "ribbontestframe.h"

namespace {

using namespace ribbontest;

TEST_F(RibbonBarTest, AMinimisedRibbonShowsATabsGroupsInAPopup)
{
    Ribbon()->SetRibbonMinimized(TRUE);
    Relayout();
    ASSERT_EQ(-1, Ribbon()->GetSelectedTabIndex());

    qmtest::ClickAt(TabCentre(0));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return IsOpen(Ribbon()->GetTabPopup()); }));
    auto* pPopup = dynamic_cast<CQXPRibbonTabPopupToolBar*>(Ribbon()->GetTabPopup());
    ASSERT_TRUE(pPopup != NULL);
    EXPECT_EQ(0, Ribbon()->GetSelectedTabIndex());
    EXPECT_EQ(Ribbon()->GetTab(0), pPopup->GetSourceTab());

    // Below the tab row, as wide as the ribbon, as high as its group band.
    CRect rcTabRow = Ribbon()->GetTabRowRect();
    Ribbon()->ClientToScreen(&rcTabRow);
    const CRect rcPopup = ScreenRect(pPopup), rcRibbon = ScreenRect(Ribbon());
    EXPECT_EQ(rcTabRow.bottom, rcPopup.top);
    EXPECT_EQ(rcRibbon.left, rcPopup.left);
    EXPECT_EQ(rcRibbon.right, rcPopup.right);
    EXPECT_EQ(Ribbon()->GetBarState().CalcGroupsHeight(), rcPopup.Height());

    // Copies of the tab's groups with copies of their controls, shown while
    // the ribbon's own stay hidden.
    ASSERT_EQ(3, pPopup->GetGroups()->GetCount());
    CQXPRibbonGroup* pClip = pPopup->GetGroups()->GetAt(0);
    ASSERT_EQ(3, pClip->GetCount());
    CQXPControl* pCut = pClip->GetAt(1);
    EXPECT_EQ(pPopup, pCut->GetParent());
    EXPECT_EQ(ID_R_CUT, pCut->GetID());
    EXPECT_TRUE(pCut->IsVisible(0));
    EXPECT_FALSE(Ribbon()->GetTab(0)->GetGroup(0)->GetAt(1)->IsVisible(0));
    ShotWithPopup("ribbon-tab-popup.png", pPopup);

    // A command of the popup runs; the popup closes and the tab is let go.
    CPoint ptCut = pCut->GetRect().CenterPoint();
    pPopup->ClientToScreen(&ptCut);
    qmtest::ClickAt(ptCut);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    EXPECT_EQ((UINT)ID_R_CUT, frame.m_commands[0]);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !IsOpen(Ribbon()->GetTabPopup()); }));
    EXPECT_EQ(-1, Ribbon()->GetSelectedTabIndex());
    EXPECT_TRUE(Ribbon()->IsRibbonMinimized());

    // Another tab opens its own groups.
    qmtest::ClickAt(TabCentre(1));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return IsOpen(Ribbon()->GetTabPopup()); }));
    pPopup = dynamic_cast<CQXPRibbonTabPopupToolBar*>(Ribbon()->GetTabPopup());
    ASSERT_TRUE(pPopup != NULL);
    EXPECT_EQ(Ribbon()->GetTab(1), pPopup->GetSourceTab());
    // A click beside it (not a second click on the tab: that would be a
    // double click, which restores the ribbon) closes it.
    CRect rcFrame = ScreenRect(&frame);
    qmtest::ClickAt(CPoint(rcFrame.CenterPoint().x, rcFrame.bottom - 30));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !IsOpen(Ribbon()->GetTabPopup()); }));
    EXPECT_EQ(-1, Ribbon()->GetSelectedTabIndex());
    EXPECT_TRUE(Ribbon()->IsRibbonMinimized());
}

TEST_F(RibbonBarTest, AMinimisedRibbonsTabOpensItsPopupAndASecondClickClosesIt)
{
    Ribbon()->SetRibbonMinimized(TRUE);
    Relayout();
    // The popup on screen and the tab whose groups it shows (NULL: none).
    auto shown = [&]() -> CQXPRibbonTab* {
        auto* pPopup = dynamic_cast<CQXPRibbonTabPopupToolBar*>(Ribbon()->GetTabPopup());
        return IsOpen(pPopup) ? pPopup->GetSourceTab() : NULL;
    };
    // Clicks far enough apart in time that none makes a double click
    // (which restores the ribbon).
    auto click = [&](int nTab) {
        qmtest::PumpFor(::GetDoubleClickTime() + 100);
        qmtest::ClickAt(TabCentre(nTab));
    };
    click(0);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return shown() == Ribbon()->GetTab(0); }));
    CQXPPopupBar* pPopup = Ribbon()->GetTabPopup();
    CRect rcTabRow = Ribbon()->GetTabRowRect();
    Ribbon()->ClientToScreen(&rcTabRow);
    EXPECT_EQ(rcTabRow.bottom, ScreenRect(pPopup).top);
    EXPECT_EQ(0, Ribbon()->GetSelectedTabIndex());

    // The same tab again: the popup closes and the tab is let go.
    click(0);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !::IsWindowVisible(pPopup->GetSafeHwnd()); }));
    EXPECT_EQ(NULL, shown());
    EXPECT_EQ(-1, Ribbon()->GetSelectedTabIndex());
    EXPECT_TRUE(Ribbon()->IsRibbonMinimized());
    EXPECT_FALSE(Ribbon()->IsTrackingMode());

    // It opens again; another tab takes the popup's place with its groups.
    click(0);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return shown() == Ribbon()->GetTab(0); }));
    click(1);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return shown() == Ribbon()->GetTab(1); }));
    EXPECT_EQ(1, Ribbon()->GetSelectedTabIndex());
    auto* pInsert = dynamic_cast<CQXPRibbonTabPopupToolBar*>(Ribbon()->GetTabPopup());
    ASSERT_EQ(1, pInsert->GetGroups()->GetCount());
    EXPECT_EQ(ID_R_PICTURE, pInsert->GetGroups()->GetAt(0)->GetAt(0)->GetID());
    EXPECT_TRUE(pInsert->GetGroups()->GetAt(0)->GetAt(0)->IsVisible(0));

    // A tab the program selects opens too, in place of the open one.
    ASSERT_TRUE(Ribbon()->SelectTab(2));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return shown() == Ribbon()->GetTab(2); }));
    EXPECT_EQ(2, Ribbon()->GetSelectedTabIndex());
    ShotWithPopup("ribbon-tab-popup-view.png", Ribbon()->GetTabPopup());
    // A press on the tab row beside the tabs closes it.
    const CRect rcRow = Ribbon()->GetTabRowRect();
    qmtest::PumpFor(::GetDoubleClickTime() + 100);
    qmtest::ClickAt(ScreenPoint(CPoint(rcRow.right - 20, rcRow.CenterPoint().y)));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return shown() == NULL; }));
    EXPECT_EQ(-1, Ribbon()->GetSelectedTabIndex());
    EXPECT_TRUE(Ribbon()->IsRibbonMinimized());
}

TEST_F(RibbonBarTest, TheTabPopupEndsInsideTheWorkArea)
{
    // The frame reaches past the right edge of the work area.
    RECT rcWork;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    frame.SetWindowPos(NULL, rcWork.right - 450, rcWork.top + 20, 700, 480, SWP_NOZORDER);
    Ribbon()->SetRibbonMinimized(TRUE);
    Relayout();
    ASSERT_GT(ScreenRect(Ribbon()).right, rcWork.right);

    qmtest::ClickAt(TabCentre(0));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return IsOpen(Ribbon()->GetTabPopup()); }));
    const CRect rcPopup = ScreenRect(Ribbon()->GetTabPopup());
    EXPECT_EQ(ScreenRect(Ribbon()).left, rcPopup.left);
    EXPECT_EQ(rcWork.right - 4, rcPopup.right);
}

TEST_F(RibbonBarTest, TheTabPopupScrollsGroupsThatDoNotFitWithItsOwnButtons)
{
    // Ten groups of one control never collapse: a narrow minimised
    // ribbon's tab popup scrolls them.
    CQXPRibbonTab* pHome = Ribbon()->GetTab(0);
    for (int i = 0; i < 7; i++)
        pHome->AddGroup("More", 110 + i)->Add(qxpControlButton, ID_R_ZOOM, "Zoom");
    frame.SetWindowPos(NULL, 0, 0, 320, 480, SWP_NOMOVE | SWP_NOZORDER);
    Ribbon()->SetRibbonMinimized(TRUE);
    Relayout();
    qmtest::ClickAt(TabCentre(0));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return IsOpen(Ribbon()->GetTabPopup()); }));
    auto* pPopup = dynamic_cast<CQXPRibbonTabPopupToolBar*>(Ribbon()->GetTabPopup());
    ASSERT_TRUE(pPopup != NULL);
    CQXPControl* pLeft = pPopup->GetGroupScroller()->GetScrollButton(TRUE);
    CQXPControl* pRight = pPopup->GetGroupScroller()->GetScrollButton(FALSE);
    ASSERT_TRUE(pRight->IsVisible(0)) << "more groups to the right";
    EXPECT_FALSE(pLeft->IsVisible(0));
    CRect rcClient;
    pPopup->GetClientRect(&rcClient);
    EXPECT_EQ(rcClient.right + 1, pRight->GetRect().right);
    ShotWithPopup("ribbon-tab-popup-scroll.png", pPopup);

    // A click scrolls one step of 40 px; the popup stays open.
    auto clickOn = [&](CQXPControl* pButton) {
        CPoint pt = pButton->GetRect().CenterPoint();
        pPopup->ClientToScreen(&pt);
        qmtest::ClickAt(pt);
    };
    const int xFirst = pPopup->GetGroups()->GetAt(0)->GetRect().left;
    clickOn(pRight);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pPopup->GetGroupScroller()->GetScrollOffset() == 40; }));
    EXPECT_EQ(xFirst - 40, pPopup->GetGroups()->GetAt(0)->GetRect().left);
    EXPECT_TRUE(IsOpen(pPopup));
    EXPECT_TRUE(pLeft->IsVisible(0)) << "now it can go back";
    clickOn(pLeft);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pPopup->GetGroupScroller()->GetScrollOffset() == 0; }));
    EXPECT_EQ(xFirst, pPopup->GetGroups()->GetAt(0)->GetRect().left);
    EXPECT_FALSE(pLeft->IsVisible(0));
    EXPECT_TRUE(IsOpen(pPopup));
    EXPECT_EQ(0, Ribbon()->GetGroupScroller()->GetScrollOffset()) << "the ribbon's own band did not move";
}

TEST_F(RibbonBarTest, ACollapsedGroupOpensAsAPopupAndRunsItsCommands)
{
    CQXPRibbonGroup* pStyles = CollapseStylesGroup();
    ASSERT_TRUE(pStyles != NULL);
    CQXPRibbonGroupControlPopup* pButton = pStyles->GetPopupButton();
    ASSERT_TRUE(pButton != NULL);
    EXPECT_TRUE(pButton->IsVisible(0));
    EXPECT_EQ(pStyles->GetRect(), pButton->GetRect());
    EXPECT_FALSE(pStyles->GetAt(0)->IsVisible(0));
    // The groups of the other tabs keep their buttons hidden.
    for (CQXPRibbonGroup* g : *Ribbon()->GetTab(1)->GetGroups())
        EXPECT_TRUE(!g->GetPopupButton() || !g->GetPopupButton()->IsVisible(0));

    qmtest::ClickAt(ScreenPoint(pButton->GetRect().CenterPoint()));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return IsOpen(dynamic_cast<CQXPPopupBar*>(pButton->GetCommandBar())); }));
    auto* pPopup = dynamic_cast<CQXPRibbonGroupPopupToolBar*>(pButton->GetCommandBar());
    ASSERT_TRUE(pPopup != NULL);
    EXPECT_EQ(pStyles, pPopup->GetSourceGroup());
    CQXPRibbonGroup* pCopy = pPopup->GetGroupCopy();
    ASSERT_TRUE(pCopy != NULL);
    EXPECT_FALSE(pCopy->IsCollapsed());
    ASSERT_EQ(6, pCopy->GetCount());
    // The copy at full size: the popup is 5 px wider than the group, as
    // high as the group band less 7, and drops below the button (over its
    // last pixel row, as the theme's exclusion rectangle allows).
    const CRect rcPopup = ScreenRect(pPopup);
    EXPECT_EQ(pCopy->GetRect().Width() + 5, rcPopup.Width());
    EXPECT_EQ(Ribbon()->GetBarState().CalcGroupsHeight() - 7, rcPopup.Height());
    CRect rcButton = pButton->GetRect();
    Ribbon()->ClientToScreen(&rcButton);
    EXPECT_EQ(rcButton.bottom - 1, rcPopup.top);
    for (int i = 0; i < 6; i++)
        EXPECT_TRUE(pCopy->GetAt(i)->IsVisible(0)) << i;
    ShotWithPopup("ribbon-group-popup.png", pPopup);

    CPoint ptHeading = pCopy->GetAt(0)->GetRect().CenterPoint();
    pPopup->ClientToScreen(&ptHeading);
    qmtest::ClickAt(ptHeading);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    EXPECT_EQ((UINT)ID_R_GOTO, frame.m_commands[0]);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !IsOpen(pPopup); }));
    EXPECT_FALSE(pStyles->GetAt(0)->IsVisible(0)) << "the ribbon's own stay collapsed";
}

TEST_F(RibbonBarTest, QuickAccessCommandsThatDoNotFitShowInTheMorePopup)
{
    const UINT ids[] = {ID_R_CUT, ID_R_COPY, ID_R_BOLD, ID_R_ITALIC, ID_R_UNDERLINE, ID_R_FIND};
    for (int i = 0; i < 36; i++)
        Ribbon()->AddQuickAccessControl(qxpControlButton, ids[i % 6])->SetCaption("Command");
    frame.SetWindowPos(NULL, 0, 0, 500, 480, SWP_NOMOVE | SWP_NOZORDER);
    Relayout();
    CQXPControl* pMore = Ribbon()->GetQuickAccessMoreButton();
    ASSERT_TRUE(pMore->IsVisible(0));
    std::vector<CQXPControl*> overflow;
    for (int i = 0; i < Ribbon()->GetQuickAccessCount(); i++)
        if (!Ribbon()->GetQuickAccessControl(i)->IsVisible(0))
            overflow.push_back(Ribbon()->GetQuickAccessControl(i));
    ASSERT_FALSE(overflow.empty());
    // Overflow takes the last commands, in order.
    EXPECT_EQ(Ribbon()->GetQuickAccessControl(Ribbon()->GetQuickAccessCount() - 1), overflow.back());

    qmtest::ClickAt(ScreenPoint(pMore->GetRect().CenterPoint()));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return IsOpen(dynamic_cast<CQXPPopupBar*>(pMore->GetCommandBar())); }));
    auto* pPopup = dynamic_cast<CQXPRibbonBarMorePopupToolBar*>(pMore->GetCommandBar());
    ASSERT_TRUE(pPopup != NULL);
    // Copies of the hidden commands, shown, then the customise button.
    CQXPControls* pControls = pPopup->GetControls();
    ASSERT_EQ((int)overflow.size() + 1, pControls->GetCount());
    for (size_t i = 0; i < overflow.size(); i++) {
        EXPECT_EQ(overflow[i]->GetID(), pControls->GetAt((int)i)->GetID());
        EXPECT_TRUE(pControls->GetAt((int)i)->IsVisible(0));
    }
    EXPECT_EQ(QXP_ID_RIBBON_QAT_CUSTOMIZE, pControls->GetAt(pControls->GetCount() - 1)->GetID());
    EXPECT_LE(ScreenRect(pPopup).Width(), 300 + 6);
    ShotWithPopup("ribbon-qat-more.png", pPopup);

    CQXPControl* pFirst = pControls->GetAt(0);
    const UINT nExpected = (UINT)pFirst->GetID();
    CPoint pt = pFirst->GetRect().CenterPoint();
    pPopup->ClientToScreen(&pt);
    qmtest::ClickAt(pt);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    EXPECT_EQ(nExpected, frame.m_commands[0]);
}

// ---------------------------------------------------------------------------
// Keytips: Alt, a tab's key, a control's key; Escape steps back.

class RibbonKeyTipTest : public RibbonBarTest {
protected:
    CQXPKeyboardTips* Tips() { return frame.GetCommandBars()->GetKeyboardTips(); }
    // The texts of the tips on screen, in order ("" while none show).
    std::string Texts()
    {
        std::string s;
        CQXPKeyboardTips* pTips = Tips();
        for (int i = 0; pTips && i < pTips->GetCount(); i++) {
            if (!::IsWindowVisible(pTips->GetAt(i).hWnd))
                continue;
            s += s.empty() ? "" : " ";
            s += (LPCSTR)pTips->GetAt(i).strText;
        }
        return s;
    }
    // A key pressed and released on the frame, which has the focus.
    void Key(WORD vk)
    {
        ::SetFocus(frame.GetSafeHwnd());
        qmtest::KeyStroke(vk);
    }
    bool WaitForTexts(const std::string& expected)
    {
        const bool ok = qmtest::PumpUntil([&] { return Texts() == expected; });
        EXPECT_EQ(expected, Texts());
        return ok;
    }
    // Minimises the ribbon and opens the Home tab's popup with Alt, H; the
    // popup once its tips show, else NULL.
    CQXPRibbonTabPopupToolBar* MinimiseAndOpenHomeFromKeys()
    {
        Ribbon()->SetRibbonMinimized(TRUE);
        Relayout();
        Key(VK_MENU);
        if (!WaitForTexts("1 H I V"))
            return NULL;
        Key('H');
        CQXPRibbonTabPopupToolBar* pPopup = NULL;
        if (!qmtest::PumpUntil(
                [&] { return IsOpen(pPopup = dynamic_cast<CQXPRibbonTabPopupToolBar*>(Ribbon()->GetTabPopup())); }))
            return NULL;
        return qmtest::PumpUntil([&] { return Tips() && Tips()->GetBar() == pPopup; }) ? pPopup : NULL;
    }
    // The tip whose control is pControl (NULL when none).
    const CQXPKeyboardTip* TipOf(CQXPControl* pControl)
    {
        for (int i = 0; Tips() && i < Tips()->GetCount(); i++)
            if (Tips()->GetAt(i).pControl == pControl)
                return &Tips()->GetAt(i);
        return NULL;
    }
};

TEST_F(RibbonKeyTipTest, AltShowsTheTabsKeysAndATabsKeyShowsItsControls)
{
    Key(VK_MENU);
    ASSERT_TRUE(WaitForTexts("1 H I V")) << "the QAT command, then the tabs";
    EXPECT_EQ(1, Ribbon()->GetKeyTipLevel());
    // The tab's tip sits centred under the middle of the tab.
    const CQXPKeyboardTip& tipHome = Tips()->GetAt(1);
    CRect rcTip;
    ::GetWindowRect(tipHome.hWnd, &rcTip);
    const CRect rcTab = Ribbon()->GetTab(0)->GetRect();
    EXPECT_EQ(ScreenPoint(CPoint(rcTab.CenterPoint().x, rcTab.bottom - 9)), tipHome.ptAnchor);
    EXPECT_NEAR(tipHome.ptAnchor.x, rcTip.CenterPoint().x, 1);
    Shot("ribbon-keytips.png");

    // The Insert tab's key selects it and shows its groups' tips.
    Key('I');
    ASSERT_TRUE(WaitForTexts("P T"));
    EXPECT_EQ(1, Ribbon()->GetSelectedTabIndex());
    EXPECT_EQ(2, Ribbon()->GetKeyTipLevel());
    Shot("ribbon-keytips-insert.png");

    // Escape steps back to the tabs, and once more leaves the tips.
    Key(VK_ESCAPE);
    ASSERT_TRUE(WaitForTexts("1 H I V"));
    EXPECT_EQ(1, Ribbon()->GetKeyTipLevel());
    Key(VK_ESCAPE);
    ASSERT_TRUE(WaitForTexts(""));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !Ribbon()->IsTrackingMode(); }));

    // A control's key runs its command.
    Key(VK_MENU);
    ASSERT_TRUE(WaitForTexts("1 H I V"));
    Key('I');
    ASSERT_TRUE(WaitForTexts("P T"));
    Key('T');
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    EXPECT_EQ((UINT)ID_R_TABLE, frame.m_commands[0]);
    EXPECT_TRUE(WaitForTexts(""));
}

TEST_F(RibbonKeyTipTest, ATabsKeyPutsTheKeyboardOnTheTabRowWhereArrowsStepTheTabs)
{
    CQXPRibbonControlTab* pTabs = Ribbon()->GetTabControl();
    Key(VK_MENU);
    ASSERT_TRUE(WaitForTexts("1 H I V"));
    EXPECT_FALSE(pTabs->IsKeyboardFocused());
    Key('H');
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetKeyTipLevel() == 2 && pTabs->IsKeyboardFocused(); }));
    EXPECT_EQ(pTabs, Ribbon()->GetSelected()) << "the row is the bar's selected control";
    Shot("ribbon-tabs-keyboard.png");
    // Right and Left step the tabs (the tips go).
    frame.m_tabNotes.clear();
    Key(VK_RIGHT);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelectedTabIndex() == 1; }));
    EXPECT_TRUE(WaitForTexts(""));
    EXPECT_EQ(2u, frame.m_tabNotes.size()) << "the site hears of the change";
    EXPECT_TRUE(Ribbon()->IsTrackingMode());
    Key(VK_RIGHT);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelectedTabIndex() == 2; }));
    Key(VK_LEFT);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelectedTabIndex() == 1; }));
    EXPECT_TRUE(pTabs->IsKeyboardFocused());
    // Down goes to the first control of the tab's groups; Enter runs it.
    CQXPControl* pPicture = Ribbon()->GetTab(1)->GetGroup(0)->GetAt(0);
    Key(VK_DOWN);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelected() == pPicture; }));
    EXPECT_FALSE(pTabs->IsKeyboardFocused());
    Key(VK_RETURN);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    EXPECT_EQ((UINT)ID_R_PICTURE, frame.m_commands[0]);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !Ribbon()->IsTrackingMode(); }));
}

TEST_F(RibbonKeyTipTest, TheKeyboardStopsAtTheTabRowBetweenTheBarsControlsAndTheGroups)
{
    qmtest::FocusEventRecorder events;
    ASSERT_TRUE(events.Hooked());
    CQXPRibbonControlTab* pTabs = Ribbon()->GetTabControl();
    CQXPControl* pSave = Ribbon()->GetQuickAccessControl(0);
    CQXPControl* pCustomize = Ribbon()->GetQuickAccessCustomizeButton();
    auto selected = [&](CQXPControl* pControl) {
        return qmtest::PumpUntil([&] { return Ribbon()->GetSelected() == pControl; });
    };
    auto tabEvent = [&](LONG idChild) {
        return qmtest::PumpUntil(
            [&] { return events.Seen(Ribbon()->GetSafeHwnd(), QXP_ID_RIBBON_TABS, idChild); });
    };
    // F10 enters the ribbon; Right walks the QAT's controls onto the row.
    Key(VK_F10);
    ASSERT_TRUE(WaitForTexts("1 H I V"));
    Key(VK_RIGHT);
    ASSERT_TRUE(selected(pSave));
    EXPECT_TRUE(WaitForTexts("")) << "moving leaves the keytips";
    Key(VK_RIGHT);
    ASSERT_TRUE(selected(pCustomize));
    events.Clear();
    Key(VK_RIGHT);
    ASSERT_TRUE(selected(pTabs));
    EXPECT_EQ(2, pTabs->GetSelected());
    EXPECT_TRUE(pTabs->IsKeyboardFocused());
    EXPECT_EQ(Ribbon()->GetTab(0), pTabs->GetKeyboardTab());
    EXPECT_TRUE(tabEvent(1)) << "the selected page tab has the focus";
    EXPECT_FALSE(IsOpen(dynamic_cast<CQXPPopupBar*>(pTabs->GetCommandBar()))) << "selecting opens nothing";
    Shot("ribbon-tabrow-selected.png");

    // On the row Right and Left change tabs; past the last one the keyboard
    // goes on into the groups, and back.
    Key(VK_RIGHT);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelectedTabIndex() == 1; }));
    EXPECT_TRUE(tabEvent(2));
    Key(VK_RIGHT);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelectedTabIndex() == 2; }));
    EXPECT_EQ(pTabs, Ribbon()->GetSelected());
    CQXPControl* pZoom = Ribbon()->GetTab(2)->GetGroup(0)->GetAt(0);
    Key(VK_RIGHT);
    ASSERT_TRUE(selected(pZoom));
    EXPECT_EQ(2, Ribbon()->GetSelectedTabIndex());
    EXPECT_FALSE(pTabs->IsKeyboardFocused());
    EXPECT_EQ(0, pTabs->GetSelected()) << "the row let go";
    Key(VK_LEFT);
    ASSERT_TRUE(selected(pTabs));
    EXPECT_EQ(3, pTabs->GetSelected()) << "reached backwards";
    EXPECT_TRUE(pTabs->IsKeyboardFocused());
    Key(VK_LEFT);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelectedTabIndex() == 1; }));

    // Down enters the groups, Up and Shift+Tab come back to the row, Tab
    // goes on from it; Shift+Tab on the row goes back to the QAT's button.
    CQXPControl* pPicture = Ribbon()->GetTab(1)->GetGroup(0)->GetAt(0);
    Key(VK_DOWN);
    ASSERT_TRUE(selected(pPicture));
    Key(VK_UP);
    ASSERT_TRUE(selected(pTabs));
    EXPECT_TRUE(pTabs->IsKeyboardFocused());
    Key(VK_TAB);
    ASSERT_TRUE(selected(pPicture));
    ::SetFocus(frame.GetSafeHwnd());
    qmtest::KeyStrokeWith(VK_SHIFT, VK_TAB);
    ASSERT_TRUE(selected(pTabs));
    qmtest::KeyStrokeWith(VK_SHIFT, VK_TAB);
    ASSERT_TRUE(selected(pCustomize));
    EXPECT_FALSE(pTabs->IsKeyboardFocused());
    EXPECT_EQ(1, Ribbon()->GetSelectedTabIndex()) << "the tab stays";
    // Up on the row goes to the bar's first control.
    Key(VK_RIGHT);
    ASSERT_TRUE(selected(pTabs));
    Key(VK_UP);
    ASSERT_TRUE(selected(pSave));
    Key(VK_ESCAPE);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !Ribbon()->IsTrackingMode(); }));
    EXPECT_FALSE(pTabs->IsKeyboardFocused());
}

TEST_F(RibbonKeyTipTest, TheKeyboardScrollsTheGroupsToTheControlItSelects)
{
    CQXPRibbonTab* pHome = NarrowIntoScrolling();
    ASSERT_TRUE(Ribbon()->GetGroupScroller()->IsScrollButtonShown(FALSE));
    CQXPControl* pLast = pHome->GetGroup(pHome->GetGroupCount() - 1)->GetAt(0);
    const CRect rcGroups = Ribbon()->GetGroupsRect();
    ASSERT_GT(pLast->GetRect().left, rcGroups.right) << "out of view";
    auto inView = [&](CQXPControl* pControl) {
        const CRect rc = pControl->GetRect();
        return rc.left >= rcGroups.left && rc.right <= rcGroups.right;
    };
    Key(VK_F10);
    ASSERT_TRUE(WaitForTexts("1 H I V"));
    // End: the last control, scrolled into view.
    Key(VK_END);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelected() == pLast; }));
    EXPECT_GT(Ribbon()->GetGroupScroller()->GetScrollOffset(), 0);
    EXPECT_TRUE(inView(pLast)) << pLast->GetRect().left << ".." << pLast->GetRect().right;
    Shot("ribbon-keyboard-scrolled.png");
    // Up to the row, Down to the first group (collapsed, it is its
    // button): scrolled back.
    CQXPRibbonGroup* pClip = pHome->GetGroup(0);
    CQXPControl* pFirst = pClip->IsCollapsed() ? pClip->GetPopupButton() : pClip->GetAt(0);
    Key(VK_UP);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelected() == Ribbon()->GetTabControl(); }));
    Key(VK_DOWN);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelected() == pFirst; }));
    EXPECT_EQ(0, Ribbon()->GetGroupScroller()->GetScrollOffset());
    EXPECT_TRUE(inView(pFirst));
    Key(VK_ESCAPE);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !Ribbon()->IsTrackingMode(); }));
}

TEST_F(RibbonKeyTipTest, AMinimisedRibbonsTabRowLightsTabsAndOpensThemFromTheKeyboard)
{
    Ribbon()->SetRibbonMinimized(TRUE);
    Relayout();
    CQXPRibbonControlTab* pTabs = Ribbon()->GetTabControl();
    Key(VK_MENU);
    ASSERT_TRUE(WaitForTexts("1 H I V"));
    for (int i = 0; i < 3; i++)
        Key(VK_RIGHT);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelected() == pTabs; }));
    // The row lights the first tab without selecting it (that would open it).
    EXPECT_EQ(Ribbon()->GetTab(0), pTabs->GetKeyboardTab());
    EXPECT_EQ(-1, Ribbon()->GetSelectedTabIndex());
    Key(VK_RIGHT);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pTabs->GetKeyboardTab() == Ribbon()->GetTab(1); }));
    EXPECT_EQ(-1, Ribbon()->GetSelectedTabIndex());
    Shot("ribbon-tabrow-minimised.png");

    // Down opens the lit tab, its first control selected; Escape comes back
    // to the row on that tab; Left lights the first, Enter opens it.
    Key(VK_DOWN);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return IsOpen(Ribbon()->GetTabPopup()); }));
    EXPECT_EQ(1, Ribbon()->GetSelectedTabIndex());
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetTabPopup()->GetSelected() != NULL; }));
    EXPECT_EQ((int)ID_R_PICTURE, Ribbon()->GetTabPopup()->GetSelected()->GetID());
    Key(VK_ESCAPE);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !IsOpen(Ribbon()->GetTabPopup()); }));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelected() == pTabs; }));
    EXPECT_TRUE(Ribbon()->IsTrackingMode());
    EXPECT_EQ(Ribbon()->GetTab(1), pTabs->GetKeyboardTab());
    EXPECT_EQ(-1, Ribbon()->GetSelectedTabIndex());
    Key(VK_LEFT);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pTabs->GetKeyboardTab() == Ribbon()->GetTab(0); }));
    Key(VK_RETURN);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return IsOpen(Ribbon()->GetTabPopup()); }));
    EXPECT_EQ(0, Ribbon()->GetSelectedTabIndex());
    Key(VK_ESCAPE);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !IsOpen(Ribbon()->GetTabPopup()); }));
    Key(VK_ESCAPE);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !Ribbon()->IsTrackingMode(); }));
    EXPECT_TRUE(Ribbon()->IsRibbonMinimized());
}

TEST_F(RibbonKeyTipTest, UpAndDownStepTheTabPopupsRowsAndUpFromTheTopRowGoesBackToTheTabRow)
{
    Ribbon()->SetRibbonMinimized(TRUE);
    Relayout();
    CQXPRibbonControlTab* pTabs = Ribbon()->GetTabControl();
    CQXPRibbonTabPopupToolBar* pPopup = NULL;
    auto opened = [&] {
        return qmtest::PumpUntil(
            [&] { return IsOpen(pPopup = dynamic_cast<CQXPRibbonTabPopupToolBar*>(Ribbon()->GetTabPopup())); });
    };
    // The control of the popup the keyboard is on (its id; 0: none).
    auto on = [&](int nId) {
        return qmtest::PumpUntil([&] { return pPopup->GetSelected() && pPopup->GetSelected()->GetID() == nId; });
    };
    auto backOnTheRow = [&] {
        return qmtest::PumpUntil([&] { return !IsOpen(pPopup) && Ribbon()->GetSelected() == pTabs; });
    };
    Key(VK_F10);
    ASSERT_TRUE(WaitForTexts("1 H I V"));
    for (int i = 0; i < 3; i++)
        Key(VK_RIGHT);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelected() == pTabs; }));
    // Down opens the Home tab, Paste (top left) selected; Down and Up step
    // the Clipboard group's rows, Tab goes on to the next group.
    Key(VK_DOWN);
    ASSERT_TRUE(opened());
    ASSERT_TRUE(on(ID_R_PASTE));
    Key(VK_DOWN);
    ASSERT_TRUE(on(ID_R_CUT));
    Key(VK_DOWN);
    ASSERT_TRUE(on(ID_R_COPY));
    Key(VK_UP);
    ASSERT_TRUE(on(ID_R_CUT));
    Key(VK_TAB);
    ASSERT_TRUE(on(ID_R_COPY));
    Key(VK_TAB);
    ASSERT_TRUE(on(ID_R_BOLD));
    EXPECT_TRUE(IsOpen(pPopup));
    // Up from the top row: back to the tab row, lit on Home, the popup
    // closed and the tab let go; the ribbon still tracks.
    Key(VK_UP);
    ASSERT_TRUE(backOnTheRow());
    EXPECT_TRUE(pTabs->IsKeyboardFocused());
    EXPECT_EQ(Ribbon()->GetTab(0), pTabs->GetKeyboardTab());
    EXPECT_EQ(-1, Ribbon()->GetSelectedTabIndex());
    EXPECT_TRUE(Ribbon()->IsTrackingMode());
    EXPECT_TRUE(Ribbon()->IsRibbonMinimized());
    Shot("ribbon-tabrow-from-popup.png");
    // Down opens it again; Up from Paste goes back as well, and Escape on
    // the row leaves the ribbon.
    Key(VK_DOWN);
    ASSERT_TRUE(opened());
    ASSERT_TRUE(on(ID_R_PASTE));
    Key(VK_UP);
    ASSERT_TRUE(backOnTheRow());
    EXPECT_EQ(Ribbon()->GetTab(0), pTabs->GetKeyboardTab());
    Key(VK_ESCAPE);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !Ribbon()->IsTrackingMode(); }));
    EXPECT_TRUE(Ribbon()->IsRibbonMinimized());
}

TEST_F(RibbonKeyTipTest, AnotherTabTakesTheShownGroupsTipsAwayAndTheSiteHearsOfIt)
{
    Key(VK_MENU);
    ASSERT_TRUE(WaitForTexts("1 H I V"));
    Key('I');
    ASSERT_TRUE(WaitForTexts("P T"));
    const int nNotes = frame.m_nTabRowNotes;
    ASSERT_TRUE(Ribbon()->SelectTab(2));
    EXPECT_TRUE(WaitForTexts(""));
    EXPECT_EQ(nNotes + 1, frame.m_nTabRowNotes) << "the tab row's notification";
    EXPECT_TRUE(Ribbon()->IsTrackingMode());
    // Escape goes back to the tabs' tips, and once more leaves.
    Key(VK_ESCAPE);
    ASSERT_TRUE(WaitForTexts("1 H I V"));
    Key(VK_ESCAPE);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !Ribbon()->IsTrackingMode(); }));
}

TEST_F(RibbonKeyTipTest, AltWithADigitRunsAQuickAccessCommandAndWithATabsKeyOpensTheTab)
{
    // The program's message loop hands Alt and a key to the command bars.
    auto translate = [&](MSG* pMsg) { return frame.PreTranslateMessage(pMsg) != FALSE; };
    auto altWith = [&](WORD vk) {
        ::SetFocus(frame.GetSafeHwnd());
        qmtest::KeyStrokeWith(VK_MENU, vk);
    };
    altWith('1');
    ASSERT_TRUE(qmtest::PumpUntilTranslated([&] { return !frame.m_commands.empty(); }, translate));
    EXPECT_EQ((UINT)ID_R_SAVE, frame.m_commands[0]);
    qmtest::PumpUntilTranslated([&] { return !Ribbon()->IsTrackingMode(); }, translate);

    altWith('I');
    EXPECT_TRUE(qmtest::PumpUntilTranslated([&] { return Texts() == "P T"; }, translate)) << Texts();
    EXPECT_EQ(1, Ribbon()->GetSelectedTabIndex());
    EXPECT_EQ(2, Ribbon()->GetKeyTipLevel());
}

TEST_F(RibbonKeyTipTest, ATabThatIsNotEnabledIgnoresItsKey)
{
    auto translate = [&](MSG* pMsg) { return frame.PreTranslateMessage(pMsg) != FALSE; };
    auto altWith = [&](WORD vk) {
        ::SetFocus(frame.GetSafeHwnd());
        qmtest::KeyStrokeWith(VK_MENU, vk);
    };
    Ribbon()->GetTab(1)->SetEnabled(FALSE);
    Relayout();
    const size_t nNotes = frame.m_tabNotes.size();
    // Alt with the Insert tab's key, then with the View tab's: only View
    // is selected (the keys are handled in order).
    altWith('I');
    altWith('V');
    ASSERT_TRUE(qmtest::PumpUntilTranslated([&] { return Ribbon()->GetSelectedTabIndex() == 2; }, translate));
    EXPECT_EQ(nNotes + 2, frame.m_tabNotes.size()) << "one tab change, to View";
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !Ribbon()->IsTrackingMode(); }));
}

// A group's option button has a key of its own, after the group's controls;
// a hidden option button has none.
TEST_F(RibbonKeyTipTest, AGroupsOptionButtonHasAKeyThatRunsItsCommand)
{
    CQXPRibbonGroup* pStyles = Ribbon()->GetTab(1)->AddGroup("Styles", ID_R_STYLES);
    pStyles->Add(qxpControlButton, ID_R_GOTO, "Heading");
    pStyles->m_bShowOptionButton = TRUE;
    CQXPControl* pOption = pStyles->GetOptionButton();
    pOption->m_strKeyboardTip = "FY";
    Relayout();
    Key(VK_MENU);
    ASSERT_TRUE(WaitForTexts("1 H I V"));
    Key('I');
    ASSERT_TRUE(WaitForTexts("P T H FY"));
    // Under the option button's left part, at the top of the caption band.
    const CQXPKeyboardTip* pTip = TipOf(pOption);
    ASSERT_TRUE(pTip != NULL);
    const int K = Ribbon()->GetRibbonTheme()->m_metrics.nGroupCaption;
    EXPECT_EQ(ScreenPoint(CPoint(pOption->GetRect().left + 11, pStyles->GetRect().bottom - K)), pTip->ptAnchor);
    Shot("ribbon-keytips-option.png");
    Key('F');
    Key('Y');
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    EXPECT_EQ((UINT)ID_R_STYLES, frame.m_commands[0]);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !Ribbon()->IsTrackingMode(); }));

    pStyles->m_bShowOptionButton = FALSE;
    Relayout();
    Key(VK_MENU);
    ASSERT_TRUE(WaitForTexts("1 H I V"));
    Key('I');
    EXPECT_TRUE(WaitForTexts("P T H"));
    EXPECT_TRUE(TipOf(pOption) == NULL);
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !Ribbon()->IsTrackingMode(); }));
}

// A control scrolled out of the band keeps its key without a tip on
// screen; typing it scrolls the control into view and runs it.
TEST_F(RibbonKeyTipTest, AControlScrolledOutOfViewKeepsAHiddenKey)
{
    CQXPRibbonTab* pHome = NarrowIntoScrolling();
    CQXPControl* pTable = pHome->AddGroup("Last", 120)->Add(qxpControlButton, ID_R_TABLE, "Table");
    pTable->m_strKeyboardTip = "Q";
    Relayout();
    const CRect rcGroups = Ribbon()->GetGroupsRect();
    ASSERT_GT(pTable->GetRect().right, rcGroups.right) << "out of view";
    Key(VK_MENU);
    ASSERT_TRUE(WaitForTexts("1 H I V"));
    Key('H');
    const CQXPKeyboardTip* pTip = NULL;
    ASSERT_TRUE(qmtest::PumpUntil([&] { return (pTip = TipOf(pTable)) != NULL; }));
    EXPECT_FALSE(pTip->bVisible);
    EXPECT_TRUE(pTip->hWnd == NULL) << "no tip over a control out of view";
    EXPECT_EQ(std::string::npos, Texts().find('Q')) << Texts();
    // A control in view shows its tip.
    CQXPRibbonGroup* pFirst = pHome->GetGroup(0);
    CQXPControl* pShown = pFirst->IsCollapsed() ? pFirst->GetPopupButton() : pFirst->GetAt(0);
    ASSERT_TRUE(TipOf(pShown) != NULL);
    EXPECT_TRUE(TipOf(pShown)->bVisible);
    Key('Q');
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    EXPECT_EQ((UINT)ID_R_TABLE, frame.m_commands[0]);
    EXPECT_GT(Ribbon()->GetGroupScroller()->GetScrollOffset(), 0);
    const CRect rc = pTable->GetRect();
    EXPECT_TRUE(rc.left >= rcGroups.left && rc.right <= rcGroups.right) << rc.left << ".." << rc.right;
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !Ribbon()->IsTrackingMode(); }));
}

TEST_F(RibbonKeyTipTest, AMinimisedRibbonOpensTheTabPopupWithItsTips)
{
    Ribbon()->SetRibbonMinimized(TRUE);
    Relayout();
    Key(VK_MENU);
    ASSERT_TRUE(WaitForTexts("1 H I V"));
    Key('H');
    ASSERT_TRUE(qmtest::PumpUntil([&] { return IsOpen(Ribbon()->GetTabPopup()); }));
    // The popup's copies show their tips; Bold's key runs Bold.
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Tips() && Tips()->GetBar() == Ribbon()->GetTabPopup(); }));
    const std::string texts = Texts();
    EXPECT_NE(std::string::npos, texts.find('B')) << texts;
    Shot("ribbon-keytips-popup.png");
    Key('B');
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    EXPECT_EQ((UINT)ID_R_BOLD, frame.m_commands[0]);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !IsOpen(Ribbon()->GetTabPopup()); }));
}

TEST_F(RibbonKeyTipTest, ACollapsedGroupsKeyOpensItsPopup)
{
    CQXPRibbonGroup* pStyles = CollapseStylesGroup();
    ASSERT_TRUE(pStyles != NULL);
    Key(VK_MENU);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->IsShowingKeyboardTips(); }));
    Key('H');
    const CQXPKeyboardTip* pTip = NULL;
    ASSERT_TRUE(qmtest::PumpUntil([&] { return (pTip = TipOf(pStyles->GetPopupButton())) != NULL; }));
    EXPECT_EQ('Z', pTip->strText[0]) << "a collapsed group's key";
    const CString strText = pTip->strText;
    for (int i = 0; i < strText.GetLength(); i++)
        Key((WORD)strText[i]);
    CQXPRibbonGroupControlPopup* pButton = pStyles->GetPopupButton();
    ASSERT_TRUE(qmtest::PumpUntil([&] { return IsOpen(dynamic_cast<CQXPPopupBar*>(pButton->GetCommandBar())); }));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Tips() && Tips()->GetBar() == pButton->GetCommandBar(); }))
        << "the group's copy shows its own tips";
}

// The group's popup walks every group of the tab: its copies keep the
// keys their sources have on the ribbon (several "More text" share a first
// letter across groups), and only the copy's tips show.
TEST_F(RibbonKeyTipTest, ACollapsedGroupsPopupKeepsTheKeysTheRibbonGaveItsControls)
{
    CQXPRibbonGroup* pStyles = CollapseStylesGroup();
    ASSERT_TRUE(pStyles != NULL);
    CQXPRibbonTab* pHome = Ribbon()->GetTab(0);
    Key(VK_MENU);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->IsShowingKeyboardTips(); }));
    Key('H');
    ASSERT_TRUE(qmtest::PumpUntil([&] { return TipOf(pStyles->GetPopupButton()) != NULL; }));
    std::vector<CString> ribbonTexts;
    for (int i = 0; i < pStyles->GetCount(); i++) {
        const CQXPKeyboardTip* pTip = TipOf(pStyles->GetAt(i));
        ASSERT_TRUE(pTip != NULL) << i;
        ribbonTexts.push_back(pTip->strText);
    }
    const CString strZ = TipOf(pStyles->GetPopupButton())->strText;
    for (int i = 0; i < strZ.GetLength(); i++)
        Key((WORD)strZ[i]);
    CQXPRibbonGroupControlPopup* pButton = pStyles->GetPopupButton();
    CQXPRibbonGroupPopupToolBar* pPopup = NULL;
    ASSERT_TRUE(qmtest::PumpUntil(
        [&] { return IsOpen(pPopup = dynamic_cast<CQXPRibbonGroupPopupToolBar*>(pButton->GetCommandBar())); }));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Tips() && Tips()->GetBar() == pPopup; }));
    CQXPRibbonGroup* pCopy = pPopup->GetGroupCopy();
    ASSERT_EQ((int)ribbonTexts.size(), pCopy->GetCount());
    for (int i = 0; i < pCopy->GetCount(); i++) {
        const CQXPKeyboardTip* pTip = TipOf(pCopy->GetAt(i));
        ASSERT_TRUE(pTip != NULL) << i;
        EXPECT_EQ(std::string(ribbonTexts[(size_t)i]), std::string(pTip->strText)) << "control " << i;
        EXPECT_TRUE(pTip->bVisible && ::IsWindowVisible(pTip->hWnd)) << "control " << i;
    }
    // The other groups of the tab are walked too, without windows.
    for (int g = 0; g < 4; g++) {
        const CQXPKeyboardTip* pTip = TipOf(pHome->GetGroup(g)->GetAt(0));
        ASSERT_TRUE(pTip != NULL) << "group " << g;
        EXPECT_FALSE(pTip->bVisible);
        EXPECT_TRUE(pTip->hWnd == NULL);
    }
    EXPECT_TRUE(TipOf(pStyles->GetAt(0)) == NULL) << "the source gives way to its copy";
    ShotWithPopup("ribbon-keytips-group-popup.png", pPopup);
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
}

TEST_F(RibbonKeyTipTest, AControlHiddenInACollapsedGroupRunsFromItsKeyInTheGroupsPopup)
{
    CQXPRibbonGroup* pStyles = CollapseStylesGroup();
    ASSERT_TRUE(pStyles != NULL);
    CQXPControl* pHeading = pStyles->GetAt(0);
    ASSERT_EQ((DWORD)qxpHideWrap, pHeading->GetHideFlags());
    Key(VK_MENU);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->IsShowingKeyboardTips(); }));
    Key('H');
    const CQXPKeyboardTip* pTip = NULL;
    ASSERT_TRUE(qmtest::PumpUntil([&] { return (pTip = TipOf(pHeading)) != NULL; }));
    EXPECT_TRUE(pTip->hWnd == NULL) << "no tip on screen for a control the ribbon does not show";
    const CQXPKeyboardTip* pGroupTip = TipOf(pStyles->GetPopupButton());
    ASSERT_TRUE(pGroupTip != NULL);
    EXPECT_TRUE(::IsWindowVisible(pGroupTip->hWnd)) << "the group's own tip shows";
    // Its key opens the group and runs the control's copy there.
    const CString strText = pTip->strText;
    for (int i = 0; i < strText.GetLength(); i++)
        Key((WORD)strText[i]);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    EXPECT_EQ((UINT)ID_R_GOTO, frame.m_commands[0]);
    auto* pPopup = dynamic_cast<CQXPRibbonGroupPopupToolBar*>(pStyles->GetPopupButton()->GetCommandBar());
    ASSERT_TRUE(pPopup != NULL) << "run through the group's popup";
    EXPECT_EQ(pStyles, pPopup->GetSourceGroup());
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !IsOpen(pPopup) && !Ribbon()->IsTrackingMode(); }));
}

// In a minimised ribbon's tab popup, a control scrolled out of the popup's
// band keeps a hidden key; typing it scrolls the popup to it, then runs it.
TEST_F(RibbonKeyTipTest, InATabPopupAControlScrolledOutOfViewScrollsIntoViewFromItsKey)
{
    CQXPRibbonTab* pHome = NarrowIntoScrolling();
    pHome->AddGroup("Last", 120)->Add(qxpControlButton, ID_R_TABLE, "Table")->m_strKeyboardTip = "Q";
    CQXPRibbonTabPopupToolBar* pPopup = MinimiseAndOpenHomeFromKeys();
    ASSERT_TRUE(pPopup != NULL);
    pPopup->InternalAddRef(); // looked at after it closes
    CQXPRibbonGroup* pLastCopy = pPopup->GetGroups()->GetAt(pPopup->GetGroups()->GetCount() - 1);
    CQXPControl* pTable = pLastCopy->GetAt(0);
    const CRect rcGroups = pPopup->GetGroupsRect();
    EXPECT_GT(pTable->GetRect().right, rcGroups.right) << "out of view";
    EXPECT_EQ(0, pPopup->GetGroupScroller()->GetScrollOffset());
    const CQXPKeyboardTip* pTip = TipOf(pTable);
    ASSERT_TRUE(pTip != NULL);
    EXPECT_FALSE(pTip->bVisible);
    EXPECT_TRUE(pTip->hWnd == NULL);
    Key('Q');
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    EXPECT_EQ((UINT)ID_R_TABLE, frame.m_commands[0]);
    EXPECT_GT(pPopup->GetGroupScroller()->GetScrollOffset(), 0);
    const CRect rc = pTable->GetRect();
    EXPECT_TRUE(rc.left >= rcGroups.left && rc.right <= rcGroups.right) << rc.left << ".." << rc.right;
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !IsOpen(pPopup); }));
    pPopup->InternalRelease();
}

TEST_F(RibbonKeyTipTest, InATabPopupAControlHiddenInACollapsedGroupRunsFromItsKey)
{
    CQXPRibbonGroup* pStyles = CollapseStylesGroup();
    ASSERT_TRUE(pStyles != NULL);
    CQXPRibbonTabPopupToolBar* pPopup = MinimiseAndOpenHomeFromKeys();
    ASSERT_TRUE(pPopup != NULL);
    // The popup is as narrow as the ribbon: its copy of Styles collapses
    // too, and Heading keeps its key without a tip on screen.
    CQXPRibbonGroup* pStylesCopy = pPopup->GetGroups()->GetAt(4);
    ASSERT_TRUE(pStylesCopy->IsCollapsed());
    CQXPControl* pHeading = pStylesCopy->GetAt(0);
    const CQXPKeyboardTip* pTip = TipOf(pHeading);
    ASSERT_TRUE(pTip != NULL);
    EXPECT_TRUE(pTip->hWnd == NULL);
    ShotWithPopup("ribbon-keytips-popup-collapsed.png", pPopup);
    // Its key opens the copy's group popup and runs Heading's copy there.
    const CString strText = pTip->strText;
    for (int i = 0; i < strText.GetLength(); i++)
        Key((WORD)strText[i]);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    EXPECT_EQ((UINT)ID_R_GOTO, frame.m_commands[0]);
    auto* pGroupPopup = dynamic_cast<CQXPRibbonGroupPopupToolBar*>(pStylesCopy->GetPopupButton()->GetCommandBar());
    ASSERT_TRUE(pGroupPopup != NULL) << "run through the copy's group popup";
    EXPECT_EQ(pStylesCopy, pGroupPopup->GetSourceGroup());
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !IsOpen(pPopup) && !Ribbon()->IsTrackingMode(); }));
}

} // namespace
