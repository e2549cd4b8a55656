// The ribbon's structure on the test frame under Wine: which of the bar's
// controls a copy may replace and which belong to the ribbon itself, the
// QAT's commands as controls of the bar, and the bands of groups with
// their scrollers (the ribbon's, a minimised tab's popup, a collapsed
// group's popup).
#include <qx/ribbonbar.h>
#include <qx/ribbonpopups.h>
#include <qx/ribbonsystem.h>

#include <qmtest/mouse.h>

#include "ribbontestframe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace ribbontest;

CQXPRibbonControls* RibbonControls(CQXPRibbonBar* pRibbon)
{
    return dynamic_cast<CQXPRibbonControls*>(pRibbon->GetControls());
}

TEST_F(RibbonBarTest, OnlyLooseControlsAreChangeableAndTheRibbonsOwnAreReserved)
{
    CQXPControl* pSystem = Ribbon()->AddSystemButton();
    CQXPControl* pLoose = Ribbon()->GetControls()->Add(qxpControlButton, ID_R_ZOOM);
    ASSERT_TRUE(pLoose != NULL);
    Relayout();
    CQXPRibbonGroup* pClip = Ribbon()->GetTab(0)->GetGroup(0);
    ASSERT_TRUE(pClip->GetPopupButton() != NULL);
    CRibbonGroupScroller* pScroller = Ribbon()->GetGroupScroller();
    struct Case {
        const char* name;
        CQXPControl* pControl;
        BOOL bChangeable;
        BOOL bReserved;
    } cases[] = {
        {"a control of no group on the bar", pLoose, TRUE, FALSE},
        {"the system button", pSystem, FALSE, FALSE},
        {"a QAT command", Ribbon()->GetQuickAccessControl(0), FALSE, FALSE},
        {"a control of a group", pClip->GetAt(0), FALSE, FALSE},
        {"a control of a group on a tab not shown", Ribbon()->GetTab(1)->GetGroup(0)->GetAt(0), FALSE, FALSE},
        {"a group's popup button", pClip->GetPopupButton(), FALSE, TRUE},
        {"the tab row", Ribbon()->GetTabControl(), FALSE, TRUE},
        {"the QAT's customise button", Ribbon()->GetQuickAccessCustomizeButton(), FALSE, TRUE},
        {"the QAT's more button", Ribbon()->GetQuickAccessMoreButton(), FALSE, TRUE},
        {"the left scroll button", pScroller->GetScrollButton(TRUE), FALSE, TRUE},
        {"the right scroll button", pScroller->GetScrollButton(FALSE), FALSE, TRUE},
    };
    CQXPRibbonControls* pControls = RibbonControls(Ribbon());
    ASSERT_TRUE(pControls != NULL);
    for (const Case& c : cases) {
        ASSERT_TRUE(c.pControl != NULL) << c.name;
        EXPECT_EQ(c.bChangeable, pControls->IsChangeable(c.pControl)) << c.name;
        EXPECT_EQ(c.bReserved, pControls->IsReserved(c.pControl)) << c.name;
    }
}

TEST_F(RibbonBarTest, CopyingControlsIntoTheRibbonReplacesOnlyTheLooseOnes)
{
    Ribbon()->AddSystemButton();
    Ribbon()->GetControls()->Add(qxpControlButton, ID_R_ZOOM);
    CQXPControls* pOther = new CQXPControls;
    pOther->Add(qxpControlButton, ID_R_FIND);
    pOther->Add(qxpControlButton, ID_R_REPLACE);
    const int nBefore = Ribbon()->GetControls()->GetCount();
    Ribbon()->GetControls()->Copy(pOther);
    pOther->InternalRelease();
    Relayout();

    CQXPControls* pControls = Ribbon()->GetControls();
    EXPECT_EQ(nBefore + 1, pControls->GetCount()) << "one loose control out, two in";
    for (int i = 0; i < pControls->GetCount(); i++)
        if (pControls->GetAt(i)->GetID() == ID_R_ZOOM)
            EXPECT_TRUE(Ribbon()->FindControlGroup(pControls->GetAt(i)) != NULL) << "the loose Zoom went";
    EXPECT_TRUE(pControls->FindControl(ID_R_FIND) != NULL);
    // The ribbon's own controls are all still its controls.
    std::vector<CQXPControl*> own = {Ribbon()->GetSystemButton(), Ribbon()->GetTabControl(),
                                     Ribbon()->GetQuickAccessCustomizeButton(), Ribbon()->GetQuickAccessMoreButton(),
                                     Ribbon()->GetGroupScroller()->GetScrollButton(TRUE),
                                     Ribbon()->GetGroupScroller()->GetScrollButton(FALSE),
                                     Ribbon()->GetQuickAccessControl(0)};
    for (CQXPRibbonGroup* g : Ribbon()->GetTab(0)->GetGroups())
        for (int i = 0; i < g->GetCount(); i++)
            own.push_back(g->GetAt(i));
    for (size_t i = 0; i < own.size(); i++) {
        ASSERT_TRUE(own[i] != NULL) << i;
        EXPECT_TRUE(own[i]->GetControls() == pControls) << "control " << i << " left the ribbon";
    }
    EXPECT_TRUE(Ribbon()->GetSystemButton() == pControls->GetAt(0));
    // And the ribbon still works: a command of a group runs.
    Ribbon()->GetTab(0)->GetGroup(0)->GetAt(1)->OnExecute();
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
}

TEST_F(RibbonBarTest, QuickAccessCommandsAreControlsOfTheBarAfterTheSystemButton)
{
    CRibbonQuickAccessControls* pQat = Ribbon()->GetQuickAccessControls();
    CQXPControls* pControls = Ribbon()->GetControls();
    auto order = [&]() {
        std::string s;
        for (int i = 0; i < pQat->GetCount(); i++)
            s += std::to_string(pQat->GetAt(i)->GetIndex()) + " ";
        return s;
    };
    // Without a system button the commands lead the bar's controls.
    Ribbon()->AddQuickAccessControl(qxpControlButton, ID_R_CUT);
    EXPECT_EQ("0 1 ", order());
    Ribbon()->AddSystemButton();
    EXPECT_EQ("1 2 ", order());
    // Added in the middle, a command takes its place among the others.
    CQXPControl* pMiddle = pQat->AddCopy(Ribbon()->GetTab(0)->GetGroup(1)->GetAt(0), 1);
    ASSERT_TRUE(pMiddle != NULL);
    EXPECT_EQ("1 2 3 ", order());
    EXPECT_EQ(pMiddle, pControls->GetAt(2));
    for (int i = 0; i < pQat->GetCount(); i++) {
        EXPECT_TRUE(pQat->GetAt(i)->GetControls() == pControls);
        EXPECT_TRUE(pQat->GetAt(i)->GetParent() == Ribbon());
    }
    // Removing it from the QAT takes it off the bar; removed from the bar
    // it leaves the QAT.
    pMiddle->InternalAddRef();
    pQat->Remove(pMiddle);
    EXPECT_TRUE(pMiddle->GetControls() == NULL);
    EXPECT_EQ(2, pQat->GetCount());
    pMiddle->InternalRelease();
    CQXPControl* pCut = pQat->GetAt(1);
    pControls->Remove(pCut);
    EXPECT_EQ(1, pQat->GetCount());
    EXPECT_EQ(ID_R_SAVE, pQat->GetAt(0)->GetID());
    // A control the QAT does not hold is refused.
    BOOL bRefused = FALSE;
    try {
        pQat->Remove(Ribbon()->GetTab(0)->GetGroup(0)->GetAt(0));
    } catch (CException* e) {
        bRefused = TRUE;
        e->Delete();
    }
    EXPECT_TRUE(bRefused);
    EXPECT_EQ(3, Ribbon()->GetTab(0)->GetGroup(0)->GetCount()) << "the group keeps its control";
}

TEST_F(RibbonBarTest, FindEqualMatchesIdTypeAndShownCommandsOnly)
{
    CRibbonQuickAccessControls* pQat = Ribbon()->GetQuickAccessControls();
    CQXPControl* pSave = pQat->GetAt(0);
    CQXPControl* pHidden = Ribbon()->AddQuickAccessControl(qxpControlButton, ID_R_CUT);
    pHidden->SetHideFlag(qxpHideGeneric, TRUE);
    CQXPControl* pOverflow = Ribbon()->AddQuickAccessControl(qxpControlButton, ID_R_BOLD);
    pOverflow->SetHideFlag(qxpHideWrap, TRUE);
    CQXPControl* pPopup = Ribbon()->AddQuickAccessControl(qxpControlButtonPopup, ID_R_FIND);

    CQXPControls* pProbes = new CQXPControls;
    struct Case {
        const char* name;
        int nType, nId;
        CQXPControl* pExpected;
    } cases[] = {
        {"same id and type", qxpControlButton, ID_R_SAVE, pSave},
        {"same id, other type", qxpControlButtonPopup, ID_R_SAVE, NULL},
        {"a hidden command", qxpControlButton, ID_R_CUT, NULL},
        {"a command only overflowing", qxpControlButton, ID_R_BOLD, pOverflow},
        {"a popup button", qxpControlButtonPopup, ID_R_FIND, pPopup},
        {"a popup button's id as a button", qxpControlButton, ID_R_FIND, NULL},
        {"no such command", qxpControlButton, ID_R_ZOOM, NULL},
    };
    for (const Case& c : cases) {
        CQXPControl* pProbe = pProbes->Add(c.nType, c.nId);
        ASSERT_TRUE(pProbe != NULL) << c.name;
        EXPECT_EQ(c.pExpected, pQat->FindEqual(pProbe)) << c.name;
    }
    EXPECT_TRUE(pQat->FindEqual(NULL) == NULL);
    pProbes->InternalRelease();
}

// Scroll steps on a band of groups that does not fit: each row is a step
// and the offset and buttons it leaves.
TEST_F(RibbonBarTest, TheGroupScrollerStepsClampsAndShowsItsButtons)
{
    NarrowIntoScrolling();
    CRibbonGroupScroller* pScroller = Ribbon()->GetGroupScroller();
    ASSERT_TRUE(pScroller == CRibbonGroupScroller::GetGroupScroller(Ribbon()));
    ASSERT_TRUE(pScroller->IsScrollButtonShown(FALSE));
    ASSERT_EQ(0, pScroller->GetScrollOffset());
    CRect rcBand;
    pScroller->GetGroupsRect(&rcBand);
    EXPECT_EQ(Ribbon()->GetGroupsRect(), rcBand);
    EXPECT_EQ(CRect(rcBand.right - 12, rcBand.top, rcBand.right + 1, rcBand.bottom),
              pScroller->GetScrollButton(FALSE)->GetRect());

    struct Step {
        BOOL bToLeft;
        int nOffset;
        BOOL bLeftShown;
    } steps[] = {{FALSE, 40, TRUE}, {FALSE, 80, TRUE}, {TRUE, 40, TRUE}, {TRUE, 0, FALSE}, {TRUE, 0, FALSE}};
    for (size_t i = 0; i < sizeof(steps) / sizeof(steps[0]); i++) {
        pScroller->Scroll(steps[i].bToLeft);
        Relayout();
        EXPECT_EQ(steps[i].nOffset, pScroller->GetScrollOffset()) << "step " << i;
        EXPECT_EQ(steps[i].bLeftShown, pScroller->IsScrollButtonShown(TRUE)) << "step " << i;
        EXPECT_TRUE(pScroller->IsScrollButtonShown(FALSE)) << "step " << i;
    }
    EXPECT_EQ(CRect(rcBand.left - 1, rcBand.top, rcBand.left + 12, rcBand.bottom),
              pScroller->GetScrollButton(TRUE)->GetRect());

    // Stepping right stops at the end: the offset never passes the content
    // less the band, and the right button goes.
    int nLast = -1;
    for (int i = 0; i < 100 && pScroller->IsScrollButtonShown(FALSE); i++) {
        nLast = pScroller->GetScrollOffset();
        pScroller->Scroll(FALSE);
        Relayout();
    }
    EXPECT_FALSE(pScroller->IsScrollButtonShown(FALSE));
    EXPECT_GT(pScroller->GetScrollOffset(), nLast);
    const int nEnd = pScroller->GetScrollOffset();
    pScroller->Scroll(FALSE);
    Relayout();
    EXPECT_EQ(nEnd, pScroller->GetScrollOffset());

    // The groups under the scroll buttons are not hit; the middle of the
    // band is.
    CQXPControl* pLeft = pScroller->GetScrollButton(TRUE);
    ASSERT_TRUE(pScroller->IsScrollButtonShown(TRUE));
    EXPECT_TRUE(pScroller->HitTestGroup(pLeft->GetRect().CenterPoint()) == NULL);
    CQXPRibbonGroup* pMiddle = pScroller->HitTestGroup(rcBand.CenterPoint());
    ASSERT_TRUE(pMiddle != NULL);
    EXPECT_TRUE(pMiddle->GetRect().PtInRect(rcBand.CenterPoint()));
    // A minimised ribbon hits no group.
    Ribbon()->SetRibbonMinimized(TRUE);
    Relayout();
    EXPECT_TRUE(pScroller->HitTestGroup(rcBand.CenterPoint()) == NULL);
}

TEST_F(RibbonBarTest, PopupsOfGroupsHaveScrollersOfTheirOwn)
{
    // A collapsed group's popup: its copy is hit inside it, and it never
    // scrolls.
    CQXPRibbonGroup* pStyles = CollapseStylesGroup();
    ASSERT_TRUE(pStyles != NULL);
    CQXPRibbonGroupControlPopup* pButton = pStyles->GetPopupButton();
    ASSERT_TRUE(pButton != NULL);
    qmtest::ClickAt(ScreenPoint(pButton->GetRect().CenterPoint()));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return IsOpen(dynamic_cast<CQXPPopupBar*>(pButton->GetCommandBar())); }));
    auto* pGroupPopup = dynamic_cast<CQXPRibbonGroupPopupToolBar*>(pButton->GetCommandBar());
    ASSERT_TRUE(pGroupPopup != NULL);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return IsOpen(pGroupPopup); }));
    CRibbonGroupScroller* pScroller = CRibbonGroupScroller::GetGroupScroller(pGroupPopup);
    ASSERT_TRUE(pScroller != NULL);
    EXPECT_TRUE(pScroller != Ribbon()->GetGroupScroller());
    CRect rcBand, rcClient;
    pScroller->GetGroupsRect(&rcBand);
    pGroupPopup->GetClientRect(&rcClient);
    EXPECT_EQ(rcClient, rcBand);
    CQXPRibbonGroup* pCopy = pGroupPopup->GetGroupCopy();
    ASSERT_TRUE(pCopy != NULL);
    EXPECT_EQ(pCopy, pScroller->HitTestGroup(pCopy->GetRect().CenterPoint()));
    EXPECT_TRUE(pScroller->HitTestGroup(CPoint(pCopy->GetRect().right + 2, 1)) == NULL);
    pScroller->Scroll(FALSE);
    EXPECT_EQ(0, pScroller->GetScrollOffset());
    EXPECT_TRUE(pScroller->GetScrollButton(FALSE) == NULL) << "no scroll buttons of its own";
    frame.GetCommandBars()->ClosePopups();
    qmtest::PumpMessages();

    // Other bars have none.
    CQXPPopupToolBar* pPlain = CQXPPopupToolBar::CreatePopupToolBar(NULL);
    EXPECT_TRUE(CRibbonGroupScroller::GetGroupScroller(pPlain) == NULL);
    pPlain->InternalRelease();
    EXPECT_TRUE(CRibbonGroupScroller::GetGroupScroller(NULL) == NULL);
}

} // namespace
