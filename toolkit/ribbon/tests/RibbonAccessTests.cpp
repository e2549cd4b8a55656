// The ribbon seen by accessibility clients: its object reached through
// AccessibleObjectFromWindow as a screen reader would, the tab list and
// the groups of the selected tab with names, roles, states, locations and
// hit tests, the tabs' default action, and objects that outlive the bar.
#include <qx/office2007.h>
#include <qx/ribbonbar.h>
#include "ribboncommandframe.h"
#include <qmtest/accessible.h>
#include <qmtest/cbframe.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>

#include <gtest/gtest.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace {

using qmtest::Narrow;
VARIANT Child(long n) { return qmtest::AccChild(n); }
std::string Name(IAccessible* p, long n) { return qmtest::AccName(p, n); }
long Role(IAccessible* p, long n) { return qmtest::AccRole(p, n); }
long State(IAccessible* p, long n) { return qmtest::AccState(p, n); }
long Count(IAccessible* p) { return qmtest::AccChildCount(p); }
CRect Location(IAccessible* p, long n) { return CRect(qmtest::AccLocation(p, n)); }
IAccessible* ChildObject(IAccessible* p, long n) { return qmtest::AccChildObject(p, n); }

class RibbonAccessTest : public RibbonWindowTest {
protected:
    void SetUp() override
    {
        ::CoInitialize(NULL);
        OpenFrame(frame, "Ribbon access", CRect(0, 0, 700, 480));
        pRibbon = AddRibbonBar(frame.GetCommandBars());
        ASSERT_TRUE(pRibbon != NULL);
        CQXPRibbonTab* pHome = pRibbon->AddTab("&Home", 1);
        CQXPRibbonGroup* pClip = pHome->AddGroup("&Clipboard", 100);
        pClip->Add(qxpControlButton, 41001, "&Paste");
        pClip->Add(qxpControlButton, 41002, "Cut");
        pHome->AddGroup("Font", 101)->Add(qxpControlButton, 41003, "Bold");
        pRibbon->AddTab("&Insert", 2)->AddGroup("Tables", 200)->Add(qxpControlButton, 41004, "Table");
        pRibbon->AddTab("Fish && Chips", 3);
        pRibbon->AddQuickAccessControl(qxpControlButton, 41005)->SetCaption("Save");
        frame.RecalcLayout();
        ::RedrawWindow(frame.GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        qmtest::PumpMessages();
        ASSERT_TRUE(SUCCEEDED(::AccessibleObjectFromWindow(pRibbon->GetSafeHwnd(), (DWORD)OBJID_CLIENT,
                                                           IID_IAccessible, (void**)&pBarAcc)));
        ASSERT_TRUE(pBarAcc != NULL);
    }
    void TearDown() override
    {
        if (pBarAcc)
            pBarAcc->Release();
        CloseFrame(frame);
        ::CoUninitialize();
    }
    // The number of the bar's own (control) children.
    long ControlCount()
    {
        long n = 0;
        for (int i = 0; i < pRibbon->GetControlCount(); i++)
            if (pRibbon->GetControl(i)->IsVisible())
                n++;
        return n;
    }
    CPoint ScreenCentre(CRect rc)
    {
        CPoint pt = rc.CenterPoint();
        pRibbon->ClientToScreen(&pt);
        return pt;
    }
    CRibbonCommandFrame frame{41001, 41010};
    CQXPRibbonBar* pRibbon = NULL;
    IAccessible* pBarAcc = NULL;
};

TEST_F(RibbonAccessTest, TheTabListNamesItsTabsAndSwitchesThem)
{
    const long n = ControlCount();
    EXPECT_EQ(n + 1 + 2, Count(pBarAcc)) << "controls, the tab list, the two groups of Home";
    IAccessible* pTabs = ChildObject(pBarAcc, n + 1);
    ASSERT_TRUE(pTabs != NULL);
    EXPECT_EQ(ROLE_SYSTEM_PAGETABLIST, Role(pTabs, CHILDID_SELF));
    EXPECT_EQ(ROLE_SYSTEM_PAGETABLIST, Role(pBarAcc, n + 1)) << "the bar answers for its child too";
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE, State(pTabs, CHILDID_SELF));
    EXPECT_EQ(3, Count(pTabs));
    struct Tab {
        long nChild;
        const char* pszName;
        long nState;
    };
    const long kTab = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    const Tab tabs[] = {{1, "Home", kTab | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED},
                        {2, "Insert", kTab},
                        {3, "Fish & Chips", kTab}};
    for (const Tab& t : tabs) {
        EXPECT_EQ(t.pszName, Name(pTabs, t.nChild));
        EXPECT_EQ(ROLE_SYSTEM_PAGETAB, Role(pTabs, t.nChild));
        EXPECT_EQ(t.nState, State(pTabs, t.nChild)) << t.pszName;
        CRect rcTab = pRibbon->GetTab((int)t.nChild - 1)->GetRect();
        pRibbon->ClientToScreen(&rcTab);
        EXPECT_EQ(rcTab, Location(pTabs, t.nChild)) << t.pszName;
        // The hit test finds the tab at its centre, from the list and from the bar.
        VARIANT v;
        ASSERT_EQ(S_OK, pTabs->accHitTest(rcTab.CenterPoint().x, rcTab.CenterPoint().y, &v));
        EXPECT_EQ(VT_I4, v.vt);
        EXPECT_EQ(t.nChild, v.lVal);
        ASSERT_EQ(S_OK, pBarAcc->accHitTest(rcTab.CenterPoint().x, rcTab.CenterPoint().y, &v));
        ASSERT_EQ(VT_DISPATCH, v.vt) << "the bar's hit test gives the tab list";
        ::VariantClear(&v);
    }
    BSTR b = NULL;
    ASSERT_EQ(S_OK, pTabs->get_accDefaultAction(Child(2), &b));
    EXPECT_EQ("Switch", Narrow(b));
    // The default action switches; a hidden tab is invisible.
    EXPECT_EQ(S_OK, pTabs->accDoDefaultAction(Child(2)));
    EXPECT_EQ(1, pRibbon->GetSelectedTabIndex());
    EXPECT_EQ(kTab | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED, State(pTabs, 2));
    EXPECT_EQ(kTab, State(pTabs, 1));
    EXPECT_EQ(S_OK, pTabs->accSelect(SELFLAG_TAKESELECTION, Child(1)));
    EXPECT_EQ(0, pRibbon->GetSelectedTabIndex());
    pRibbon->GetTab(2)->SetVisible(FALSE);
    EXPECT_EQ(kTab | STATE_SYSTEM_INVISIBLE, State(pTabs, 3));
    // Outside the range.
    VARIANT vOut;
    EXPECT_EQ(E_INVALIDARG, pTabs->get_accName(Child(4), &b));
    EXPECT_EQ(E_INVALIDARG, pTabs->get_accRole(Child(-5), &vOut));
    EXPECT_EQ(E_INVALIDARG, pBarAcc->get_accName(Child(n + 4), &b));
    EXPECT_EQ(S_FALSE, pTabs->accHitTest(-5000, -5000, &vOut));
    pTabs->Release();
}

TEST_F(RibbonAccessTest, GroupsHoldTheirControls)
{
    const long n = ControlCount();
    IAccessible* pClip = ChildObject(pBarAcc, n + 2);
    IAccessible* pFont = ChildObject(pBarAcc, n + 3);
    ASSERT_TRUE(pClip && pFont);
    EXPECT_EQ(ROLE_SYSTEM_GROUPING, Role(pClip, CHILDID_SELF));
    EXPECT_EQ("Clipboard", Name(pClip, CHILDID_SELF));
    EXPECT_EQ("Font", Name(pBarAcc, n + 3));
    EXPECT_EQ(2, Count(pClip));
    EXPECT_EQ(1, Count(pFont));
    EXPECT_EQ("Paste", Name(pClip, 1));
    EXPECT_EQ("Cut", Name(pClip, 2));
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, Role(pClip, 2));
    EXPECT_EQ(0, State(pClip, 2) & STATE_SYSTEM_INVISIBLE);
    CQXPControl* pCut = pRibbon->GetTab(0)->GetGroup(0)->GetAt(1);
    CRect rcCut = pCut->GetRect();
    pRibbon->ClientToScreen(&rcCut);
    EXPECT_EQ(rcCut, Location(pClip, 2));
    CRect rcGroup = pRibbon->GetTab(0)->GetGroup(0)->GetRect();
    pRibbon->ClientToScreen(&rcGroup);
    EXPECT_EQ(rcGroup, Location(pClip, CHILDID_SELF));
    // Hit tests: the control inside the group, the group on its caption.
    VARIANT v;
    ASSERT_EQ(S_OK, pClip->accHitTest(rcCut.CenterPoint().x, rcCut.CenterPoint().y, &v));
    EXPECT_EQ(2, v.lVal);
    ASSERT_EQ(S_OK, pClip->accHitTest(rcGroup.CenterPoint().x, rcGroup.bottom - 3, &v));
    EXPECT_EQ(CHILDID_SELF, v.lVal);
    ASSERT_EQ(S_OK, pBarAcc->accHitTest(rcGroup.CenterPoint().x, rcGroup.bottom - 3, &v));
    ASSERT_EQ(VT_DISPATCH, v.vt) << "the bar gives the group on its caption band";
    ::VariantClear(&v);
    // The control's default action runs its command.
    EXPECT_EQ(S_OK, pClip->accDoDefaultAction(Child(2)));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    ASSERT_FALSE(frame.m_commands.empty());
    EXPECT_EQ(41002u, frame.m_commands[0]);

    // Another tab: the Home groups are no longer shown and say so.
    pRibbon->SelectTab(1);
    BSTR b = NULL;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, pFont->get_accName(Child(CHILDID_SELF), &b));
    const long nInsert = ControlCount(); // Home's controls hidden, Insert's shown
    EXPECT_EQ(nInsert + 1 + 1, Count(pBarAcc));
    IAccessible* pTables = ChildObject(pBarAcc, nInsert + 2);
    ASSERT_TRUE(pTables != NULL);
    EXPECT_EQ("Tables", Name(pTables, CHILDID_SELF));
    // Minimised: no groups.
    pRibbon->SetRibbonMinimized(TRUE);
    EXPECT_EQ(ControlCount() + 1, Count(pBarAcc));
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, pTables->get_accName(Child(CHILDID_SELF), &b));
    pTables->Release();
    pClip->Release();
    pFont->Release();
}

TEST_F(RibbonAccessTest, ASelectedTabRaisesTheFocusEventOfItsPageTab)
{
    qmtest::FocusEventRecorder events;
    ASSERT_TRUE(events.Hooked());
    auto seen = [&](LONG idChild) { return events.Seen(pRibbon->GetSafeHwnd(), QXP_ID_RIBBON_TABS, idChild); };
    qmtest::ClickAt(ScreenCentre(pRibbon->GetTab(1)->GetRect()));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return pRibbon->GetSelectedTabIndex() == 1 && seen(2); }))
        << "the second page tab";
    // A client that follows the event asks the window for the event's
    // object and finds the page tab the user sees (Wine's
    // AccessibleObjectFromEvent answers E_NOINTERFACE for every object).
    IAccessible* pAcc = NULL;
    ASSERT_EQ(S_OK, ::AccessibleObjectFromWindow(pRibbon->GetSafeHwnd(), (DWORD)QXP_ID_RIBBON_TABS, IID_IAccessible,
                                                 (void**)&pAcc));
    ASSERT_TRUE(pAcc != NULL);
    EXPECT_EQ(ROLE_SYSTEM_PAGETABLIST, Role(pAcc, CHILDID_SELF));
    IDispatch* pChild = NULL;
    EXPECT_EQ(S_FALSE, pAcc->get_accChild(Child(2), &pChild)) << "a simple element";
    EXPECT_EQ("Insert", Name(pAcc, 2));
    EXPECT_EQ(ROLE_SYSTEM_PAGETAB, Role(pAcc, 2));
    EXPECT_EQ(STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED,
              State(pAcc, 2));
    pAcc->Release();
    // A tab chosen by the program is followed too.
    events.Clear();
    EXPECT_TRUE(pRibbon->SelectTab(0));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return seen(1); }));
}

TEST_F(RibbonAccessTest, ObjectsOutliveTheirRibbon)
{
    IAccessible* pTabs = ChildObject(pBarAcc, ControlCount() + 1);
    ASSERT_TRUE(pTabs != NULL);
    frame.GetCommandBars()->Remove(pRibbon);
    qmtest::PumpMessages();
    long n = 0;
    BSTR b = NULL;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, pTabs->get_accChildCount(&n));
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, pTabs->get_accName(Child(1), &b));
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, pBarAcc->get_accChildCount(&n));
    pTabs->Release();
}

} // namespace
