// The ribbon's popups under Wine, opened and used with the real mouse: a
// minimised ribbon's tab (below the tab row, kept inside the work area), a
// collapsed group (its copy at full size) and the quick-access toolbar's
// overflow. Screenshots of the open popups.
#include <qx/ribbonpopups.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>

#include "ribbontestframe.h"

namespace {

using namespace ribbontest;

class RibbonPopupTest : public RibbonBarTest {
protected:
    void TearDown() override
    {
        if (frame.GetCommandBars())
            frame.GetCommandBars()->ClosePopups();
        qmtest::PumpMessages();
        RibbonBarTest::TearDown();
    }
    static bool IsOpen(CQXPPopupBar* pPopup)
    {
        return pPopup && pPopup->IsTrackingMode() && ::IsWindowVisible(pPopup->GetSafeHwnd());
    }
    static CRect ScreenRect(CWnd* pWnd)
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return rc;
    }
    // Saves a picture of the screen area that holds the frame and a popup.
    void ShotWithPopup(const char* name, CQXPPopupBar* pPopup)
    {
        ::RedrawWindow(pPopup->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        qmtest::PumpMessages();
        CRect rc = ScreenRect(&frame);
        rc.UnionRect(rc, ScreenRect(pPopup));
        const std::string path = qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + name;
        EXPECT_TRUE(qmtest::SaveScreenPng(rc, path));
        printf("screenshot: %s\n", path.c_str());
    }
    // Narrows the frame step by step until the group collapses.
    bool NarrowUntilCollapsed(CQXPRibbonGroup* pGroup)
    {
        for (int cx = 700; cx > 260 && !pGroup->IsCollapsed(); cx -= 10) {
            frame.SetWindowPos(NULL, 0, 0, cx, 480, SWP_NOMOVE | SWP_NOZORDER);
            Relayout();
        }
        return pGroup->IsCollapsed() != FALSE;
    }
};

TEST_F(RibbonPopupTest, AMinimisedRibbonShowsATabsGroupsInAPopup)
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
    ASSERT_EQ(3u, pPopup->GetGroups().size());
    CQXPRibbonGroup* pClip = pPopup->GetGroups()[0];
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

TEST_F(RibbonPopupTest, TheTabPopupEndsInsideTheWorkArea)
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

TEST_F(RibbonPopupTest, ACollapsedGroupOpensAsAPopupAndRunsItsCommands)
{
    // Five groups of six controls (two columns): the narrow ribbon
    // collapses the last one first.
    CQXPRibbonTab* pHome = Ribbon()->GetTab(0);
    pHome->AddGroup("Paragraph", 103)->Add(qxpControlButton, ID_R_FIND, "Centre");
    pHome->AddGroup("Styles", 104)->Add(qxpControlButton, ID_R_GOTO, "Heading");
    for (CQXPRibbonGroup* g : pHome->GetGroups())
        while (g->GetCount() < 6)
            g->Add(qxpControlButton, ID_R_ZOOM, "More text");
    CQXPRibbonGroup* pStyles = pHome->GetGroup(4);
    ASSERT_TRUE(NarrowUntilCollapsed(pStyles));
    CQXPRibbonGroupControlPopup* pButton = pStyles->GetPopupButton();
    ASSERT_TRUE(pButton != NULL);
    EXPECT_TRUE(pButton->IsVisible(0));
    EXPECT_EQ(pStyles->GetRect(), pButton->GetRect());
    EXPECT_FALSE(pStyles->GetAt(0)->IsVisible(0));
    // The groups of the other tabs keep their buttons hidden.
    for (CQXPRibbonGroup* g : Ribbon()->GetTab(1)->GetGroups())
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
    // high as the group band less 7, and drops below the button.
    const CRect rcPopup = ScreenRect(pPopup);
    EXPECT_EQ(pCopy->GetRect().Width() + 5, rcPopup.Width());
    EXPECT_EQ(Ribbon()->GetBarState().CalcGroupsHeight() - 7, rcPopup.Height());
    CRect rcButton = pButton->GetRect();
    Ribbon()->ClientToScreen(&rcButton);
    EXPECT_EQ(rcButton.bottom, rcPopup.top);
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

TEST_F(RibbonPopupTest, QuickAccessCommandsThatDoNotFitShowInTheMorePopup)
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

} // namespace
