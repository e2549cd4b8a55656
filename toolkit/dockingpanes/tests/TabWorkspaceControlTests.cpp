// The document tabs as a control on a command bar: the tab client fills the
// control's windowless strip instead of a strip window of its own, on a real
// MDI frame with command bars under Wine.
#include <qx/barcontrols.h>
#include <qx/commandbars.h>
#include <qx/tabbars.h>
#include <qx/toolbar.h>

#include <fx/mdi.h>

#include "DockTestSupport.h"

#include <gtest/gtest.h>
#include <qmtest/cbframe.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/qmatedriver.h>
#include <qmtest/screenshot.h>

#include <string>
#include <vector>

namespace {

using qmtest::PumpMessages;

class CTabsFrame : public qmtest::CommandBarTestFrame {
public:
    CTabsFrame() : CommandBarTestFrame(0, NULL, {{"Tabs", &m_pBar, 0, {}}}) {}
    CQXPToolBar* m_pBar = NULL;
};

// The number of strip windows the client made on the frame.
int StripWindows(HWND hFrame)
{
    int n = 0;
    for (HWND h = ::GetWindow(hFrame, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        char cls[64] = "";
        ::GetClassNameA(h, cls, sizeof(cls));
        if (std::string(cls) == "QXPTabWorkspace")
            n++;
    }
    return n;
}

class TabWorkspaceControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.Create(NULL, "Tab workspace control", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 CRect(0, 0, 700, 460)));
        ASSERT_NE(nullptr, frame.m_pBar);
        for (const char* title : {"Alpha", "Beta", "Gamma"}) {
            CMDIChildWnd* pChild = new CMDIChildWnd;
            ASSERT_TRUE(pChild->Create(NULL, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                       CFrameWnd::rectDefault, &frame));
            children.push_back(pChild->GetSafeHwnd());
        }
        pControl = new CQXPControlTabWorkspace;
        frame.m_pBar->GetControls()->Append(pControl);
        pControl->SetTabClient(&tabs);
        ASSERT_TRUE(tabs.Attach(&frame));
        frame.RecalcLayout();
        PumpMessages();
    }
    void TearDown() override
    {
        tabs.Detach();
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        PumpMessages();
    }
    HWND Active() const { return (HWND)::SendMessageA(frame.m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0); }
    // The tab of a document in the control's strip (NULL when it has none).
    CQXPTabManagerItem* TabOf(HWND hChild) const { return pControl->GetWorkspace()->FindItem(hChild); }

    CTabsFrame frame;
    CQXPTabClientWnd tabs;
    CQXPControlTabWorkspace* pControl = NULL;
    std::vector<HWND> children;
};

TEST_F(TabWorkspaceControlTest, TheClientFillsTheControlsStripAndMakesNoWindow)
{
    ASSERT_EQ(1, tabs.GetWorkspaceCount());
    EXPECT_EQ(pControl->GetWorkspace(), tabs.GetWorkspace(0));
    EXPECT_EQ(pControl->GetWorkspace(), tabs.GetHostedWorkspace());
    EXPECT_EQ(0, StripWindows(frame.GetSafeHwnd())) << "the strip has no window of its own";
    EXPECT_EQ(3, pControl->GetWorkspace()->GetItemCount());
    for (HWND h : children)
        EXPECT_NE(nullptr, TabOf(h));
    EXPECT_EQ(TabOf(Active()), pControl->GetWorkspace()->GetSelectedItem());

    // A top bar holds the strip lying along it, 220 long and one tab row
    // high; the tabs lie in the control, in the bar's coordinates.
    CRect rc = pControl->GetRect();
    EXPECT_EQ(220, rc.Width());
    EXPECT_GT(rc.Height(), 10);
    EXPECT_LT(rc.Height(), 60);
    EXPECT_EQ(tabPositionTop, tabs.GetPaintManager()->GetPosition());
    for (HWND h : children) {
        CRect rcTab = TabOf(h)->GetRect();
        EXPECT_FALSE(rcTab.IsRectEmpty());
        EXPECT_GE(rcTab.left, rc.left);
        EXPECT_LE(rcTab.bottom, rc.bottom);
    }

    // A new document gets its tab there, a closed one loses it.
    CMDIChildWnd* pChild = new CMDIChildWnd;
    ASSERT_TRUE(pChild->Create(NULL, "Delta", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                               &frame));
    PumpMessages();
    EXPECT_NE(nullptr, TabOf(pChild->GetSafeHwnd()));
    ::SendMessageA(frame.m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)children[0], 0);
    PumpMessages();
    EXPECT_EQ(nullptr, TabOf(children[0]));
    EXPECT_EQ(3, pControl->GetWorkspace()->GetItemCount());
    EXPECT_EQ(0, StripWindows(frame.GetSafeHwnd()));
    EXPECT_FALSE(tabs.IsWorkspaceCommandEnabled(ID_WORKSPACE_NEWHORIZONTAL));
}

// A real click on a tab in the bar brings its document forward.
TEST_F(TabWorkspaceControlTest, AClickOnATabInTheBarActivatesItsDocument)
{
    ASSERT_TRUE(qmtest::BringToForeground(frame.GetSafeHwnd()));
    HWND hTarget = children[0] == Active() ? children[1] : children[0];
    CQXPTabManagerItem* pTab = TabOf(hTarget);
    ASSERT_NE(nullptr, pTab);
    CPoint pt = CRect(pTab->GetRect()).CenterPoint();
    ::ClientToScreen(frame.m_pBar->GetSafeHwnd(), &pt);
    qmtest::ClickAt(pt);
    EXPECT_TRUE(qmtest::WaitUntil(
        [&] {
            PumpMessages();
            return Active() == hTarget;
        },
        5000));
    EXPECT_EQ(pTab, pControl->GetWorkspace()->GetSelectedItem());
    qmtest::ParkPointer();

    // What the bar shows: the three tabs, the active one selected.
    ::RedrawWindow(frame.GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    qmtest::PumpFor(300);
    EXPECT_TRUE(qmtest::SaveWindowShot(frame.GetSafeHwnd(), QM_BIN_DIR, "tab-workspace-control.png"));
}

// A click on a tab in the bar leaves the strip as it is under the pointer
// until the program is idle, as a strip window of the client's own does:
// the tabs' captions (which here change with the active document) follow
// only with the idle update. A click from the keyboard is no press on the
// strip.
TEST_F(TabWorkspaceControlTest, AClickOnATabInTheBarKeepsTheStripUntilTheIdleUpdate)
{
    std::vector<HWND> docs;
    for (const char* name : {"Left", "Right"}) {
        auto* pChild = new docktest::ActivityCaptionChild(name);
        ASSERT_TRUE(pChild->Create(NULL, name, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                                   &frame));
        docs.push_back(pChild->GetSafeHwnd());
    }
    // Room for all five tabs.
    pControl->m_nWidth = 520;
    frame.RecalcLayout();
    PumpMessages();
    docktest::IdleUpdate(&frame);
    PumpMessages();
    CQXPTabManagerItem* pLeft = TabOf(docs[0]);
    CQXPTabManagerItem* pRight = TabOf(docs[1]);
    ASSERT_TRUE(pLeft && pRight);
    ASSERT_EQ(docs[1], Active());
    EXPECT_STREQ("Left", pLeft->GetCaption());
    EXPECT_STREQ("Right (active)", pRight->GetCaption());
    CRect rcTab = pLeft->GetRect();
    ASSERT_FALSE(rcTab.IsRectEmpty());
    ASSERT_TRUE(pControl->GetRect().PtInRect(rcTab.CenterPoint()));

    ASSERT_TRUE(qmtest::BringToForeground(frame.GetSafeHwnd()));
    CPoint pt = rcTab.CenterPoint();
    ::ClientToScreen(frame.m_pBar->GetSafeHwnd(), &pt);
    qmtest::ClickAt(pt);
    ASSERT_TRUE(qmtest::WaitUntil(
        [&] {
            PumpMessages();
            return Active() == docs[0] && ::GetCapture() == NULL;
        },
        5000));
    qmtest::ParkPointer();
    EXPECT_EQ(pLeft, pControl->GetWorkspace()->GetSelectedItem());
    EXPECT_TRUE(tabs.IsClickPending());
    EXPECT_TRUE(tabs.IsUpdateSuspended());
    EXPECT_STREQ("Left", pLeft->GetCaption()) << "the strip is not brought in step before the idle update";
    EXPECT_STREQ("Right (active)", pRight->GetCaption());

    docktest::IdleUpdate(&frame);
    EXPECT_FALSE(tabs.IsClickPending());
    EXPECT_FALSE(tabs.IsUpdateSuspended());
    EXPECT_STREQ("Left (active)", pLeft->GetCaption());
    EXPECT_STREQ("Right", pRight->GetCaption());

    pControl->OnClick(TRUE, CPoint(0, 0));
    PumpMessages();
    EXPECT_FALSE(tabs.IsClickPending()) << "a keyboard click";
}

// Taking the control off the bar unlinks its strip: the client shows no tabs
// and makes no strip window in its place.
TEST_F(TabWorkspaceControlTest, RemovingTheControlLeavesTheClientWithoutTabs)
{
    frame.m_pBar->GetControls()->Remove(pControl);
    PumpMessages();
    EXPECT_EQ(nullptr, tabs.GetHostedWorkspace());
    EXPECT_TRUE(tabs.IsHostedByControl());
    EXPECT_EQ(0, tabs.GetWorkspaceCount());
    EXPECT_EQ(0, StripWindows(frame.GetSafeHwnd()));
}

// A client that goes first leaves the control with an empty strip and no
// client to call.
TEST_F(TabWorkspaceControlTest, AClientDestroyedFirstLeavesTheControlUnlinked)
{
    tabs.Detach();
    CQXPControlTabWorkspace* pSecond = new CQXPControlTabWorkspace;
    frame.m_pBar->GetControls()->Append(pSecond);
    {
        CQXPTabClientWnd shortLived;
        pSecond->SetTabClient(&shortLived);
        ASSERT_TRUE(shortLived.Attach(&frame));
        EXPECT_EQ(3, pSecond->GetWorkspace()->GetItemCount());
    }
    EXPECT_EQ(nullptr, pSecond->GetTabClient());
    EXPECT_EQ(0, pSecond->GetWorkspace()->GetItemCount());
    frame.RecalcLayout();
    ::RedrawWindow(frame.m_pBar->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    frame.m_pBar->GetControls()->Remove(pSecond);
    PumpMessages();
}

// The strip lies at the bar's side of the documents.
TEST(TabWorkspaceControl, TheStripTakesTheBarsSide)
{
    const struct {
        int nBar;
        int nTab;
    } cases[] = {{qxpBarTop, tabPositionTop},
                 {qxpBarBottom, tabPositionBottom},
                 {qxpBarLeft, tabPositionLeft},
                 {qxpBarRight, tabPositionRight},
                 {qxpBarFloating, tabPositionTop},
                 {qxpBarPopup, tabPositionTop}};
    for (const auto& c : cases)
        EXPECT_EQ(c.nTab, CQXPControlTabWorkspace::TabPositionForBar(c.nBar)) << c.nBar;
}

} // namespace
