// The ribbon's structure on the test frame under Wine: which of the bar's
// controls a copy may replace and which belong to the ribbon itself, the
// QAT's commands as controls of the bar, and the bands of groups with
// their scrollers (the ribbon's, a minimised tab's popup, a collapsed
// group's popup).
#include <qx/propexchange.h>
#include <qx/ribbonbar.h>
#include <qx/ribbonpopups.h>
#include <qx/ribbonsystem.h>

#include <qmtest/mouse.h>
#include <qmtest/registry.h>

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
        {"a group's option button", pClip->GetOptionButton(), FALSE, TRUE},
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
    for (CQXPRibbonGroup* g : *Ribbon()->GetTab(0)->GetGroups())
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

// --- the groups of a tab -------------------------------------------------------------

// A group that writes down the collection's calls: "added", "removed",
// "before" and "after" with its caption, its index and whether it has its
// layout record at that moment.
std::vector<std::string> g_hooks;

class CRecordingGroup : public CQXPRibbonGroup {
    DECLARE_DYNCREATE(CRecordingGroup)
public:
    void OnGroupAdded() override
    {
        Note("added");
        CQXPRibbonGroup::OnGroupAdded();
    }
    void OnGroupRemoved() override
    {
        Note("removed");
        CQXPRibbonGroup::OnGroupRemoved();
    }
    void OnBeforeLayout(CDC* pDC) override
    {
        CQXPRibbonGroup::OnBeforeLayout(pDC);
        Note("before");
    }
    void OnAfterLayout() override
    {
        Note("after");
        CQXPRibbonGroup::OnAfterLayout();
    }

private:
    void Note(const char* what)
    {
        g_hooks.push_back(std::string(what) + " " + (LPCSTR)m_strCaption + " " + std::to_string(GetIndex()) +
                          (GetLayout() ? " L" : ""));
    }
};
IMPLEMENT_DYNCREATE(CRecordingGroup, CQXPRibbonGroup)

std::string Hooks()
{
    std::string s;
    for (const std::string& h : g_hooks)
        s += h + "; ";
    g_hooks.clear();
    return s;
}

CRecordingGroup* NewGroup(const char* caption, int nId)
{
    CRecordingGroup* p = new CRecordingGroup;
    p->m_strCaption = caption;
    p->m_nId = nId;
    return p;
}

TEST_F(RibbonBarTest, TheGroupCollectionCallsItsGroupsInOrder)
{
    CQXPRibbonTab* pView = Ribbon()->GetTab(2);
    CQXPRibbonGroupCollection* pGroups = pView->GetGroups();
    ASSERT_EQ(pView, pGroups->GetTab());
    g_hooks.clear();
    // Added: the group is in the collection (its index set) when it hears it.
    CRecordingGroup* pA = (CRecordingGroup*)pGroups->InsertAt(-1, NewGroup("A", 901));
    pGroups->InsertAt(-1, NewGroup("B", 902));
    CRecordingGroup* pC = (CRecordingGroup*)pGroups->InsertAt(0, NewGroup("C", 903));
    EXPECT_EQ("added A 1; added B 2; added C 0; ", Hooks());
    EXPECT_EQ(2, pA->GetIndex()) << "renumbered";
    EXPECT_EQ(pView, pA->GetTab());
    pA->Add(qxpControlButton, ID_R_BOLD, "Bold");
    pC->Add(qxpControlButton, ID_R_ITALIC, "Italic");
    EXPECT_TRUE(pA->GetPopupButton() != NULL && pA->GetPopupButton()->GetControls() == Ribbon()->GetControls())
        << "the added group's button is a control of the ribbon";

    // A layout pass: every visible group's record is made before any group
    // is measured into place, and each is applied and freed after; a group
    // that is not visible takes no part.
    pGroups->GetAt(3)->m_bVisible = FALSE; // B
    ASSERT_TRUE(Ribbon()->SelectTab(2));
    Relayout();
    g_hooks.clear();
    {
        CClientDC dc(Ribbon());
        pGroups->Layout(&dc, Ribbon()->GetGroupsRect(), CRect(4, 3, 6, 3));
    }
    EXPECT_EQ("before C 0 L; before A 2 L; after C 0 L; after A 2 L; ", Hooks());
    for (CQXPRibbonGroup* g : *pGroups)
        EXPECT_TRUE(g->GetLayout() == NULL) << "records live one pass";
    EXPECT_TRUE(pC->GetRect().right < pA->GetRect().left);
    EXPECT_GT(pA->GetAt(0)->GetRect().Width(), 0);
    EXPECT_EQ(pC, pGroups->HitTest(pC->GetRect().CenterPoint()));
    EXPECT_EQ(pA, pGroups->FindGroup(901));

    // A copy: the old groups go, each new one is added (to the collection,
    // before it takes the source's settings) and then copied.
    CQXPRibbonTab* pOther = Ribbon()->AddTab("Other", 4);
    pOther->GetGroups()->InsertAt(-1, NewGroup("Old", 904));
    ASSERT_TRUE(Ribbon()->SelectTab(0)); // the copy is not selected (and laid out) with it
    Relayout();
    g_hooks.clear();
    pOther->Copy(pView);
    EXPECT_EQ("removed Old 0; added  0; added  2; added  3; ", Hooks());
    ASSERT_EQ(4, pOther->GetGroupCount());
    EXPECT_EQ(CString("C"), pOther->GetGroup(0)->GetCaption());
    EXPECT_TRUE(dynamic_cast<CRecordingGroup*>(pOther->GetGroup(0)) != NULL) << "the source's class";
    ASSERT_EQ(1, pOther->GetGroup(2)->GetCount());
    EXPECT_EQ(ID_R_BOLD, pOther->GetGroup(2)->GetAt(0)->GetID());
    EXPECT_TRUE(pOther->GetGroup(2)->GetAt(0)->GetControls() == Ribbon()->GetControls());

    // Removing all: each group hears it in order, and its controls and
    // button leave the ribbon.
    CQXPControl* pBold = pA->GetAt(0);
    pBold->InternalAddRef();
    CQXPControl* pButton = pA->GetPopupButton();
    pButton->InternalAddRef();
    pGroups->RemoveAll();
    EXPECT_EQ("removed C 0; removed A 2; removed B 3; ", Hooks());
    EXPECT_EQ(0, pView->GetGroupCount());
    EXPECT_TRUE(pBold->GetControls() == NULL);
    EXPECT_TRUE(pButton->GetControls() == NULL);
    pBold->InternalRelease();
    pButton->InternalRelease();

    // Loading: the collection empties itself, then each stored group is
    // put in and hears it once its settings are read.
    qmtest::RegistryApp reg;
    CQXPRibbonBar back;
    Ribbon()->SetCustomizable(TRUE); // its tabs are stored
    {
        CQXPPropExchangeRegistry px(FALSE, NULL, "RibbonHooks");
        Ribbon()->DoPropExchange(&px);
    }
    g_hooks.clear();
    {
        CQXPPropExchangeRegistry px(TRUE, NULL, "RibbonHooks");
        back.DoPropExchange(&px);
    }
    EXPECT_EQ("added C 0; added A 2; added B 3; ", Hooks()) << "the tab Other's groups";
    ASSERT_EQ(4, back.GetTabCount());
    ASSERT_EQ(4, back.GetTab(3)->GetGroupCount());
    EXPECT_EQ(903, back.GetTab(3)->GetGroup(0)->GetID());
    EXPECT_EQ(CString("A"), back.GetTab(3)->GetGroup(2)->GetCaption());
    EXPECT_TRUE(dynamic_cast<CRecordingGroup*>(back.GetTab(3)->GetGroup(2)) != NULL);
}

// The option button of each kind of group after a layout: shown only when
// wanted and the group is not collapsed, its square 3 px inside the
// group's bottom-right corner, the caption height wide.
TEST_F(RibbonBarTest, TheOptionButtonIsAControlOfTheRibbonThatRunsTheGroupsCommand)
{
    CQXPRibbonTab* pHome = Ribbon()->GetTab(0);
    CQXPRibbonGroup* pLaunch = pHome->AddGroup("Launch", ID_R_ZOOM);
    pLaunch->Add(qxpControlButton, ID_R_PICTURE, "Picture");
    pLaunch->m_bShowOptionButton = TRUE;
    Relayout();
    const int K = Ribbon()->GetRibbonTheme()->m_metrics.nGroupCaption;
    struct Case {
        const char* name;
        CQXPRibbonGroup* pGroup;
        BOOL bShown;
        DWORD dwHide; // the option button's hide flags among 1 and 2
    } cases[] = {
        {"not wanted", pHome->GetGroup(0), FALSE, qxpHideGeneric},
        {"wanted", pHome->GetGroup(1), TRUE, 0},
        {"wanted, own command", pLaunch, TRUE, 0},
        {"on a tab not shown", Ribbon()->GetTab(1)->GetGroup(0), FALSE, qxpHideGeneric},
    };
    for (const Case& c : cases) {
        CQXPRibbonGroupOptionButton* pButton = c.pGroup->GetOptionButton();
        ASSERT_TRUE(pButton != NULL) << c.name;
        EXPECT_TRUE(pButton->GetControls() == Ribbon()->GetControls()) << c.name;
        EXPECT_EQ(c.pGroup->GetID(), pButton->GetID()) << c.name;
        EXPECT_EQ(c.bShown, pButton->IsVisible(0)) << c.name;
        EXPECT_EQ(c.dwHide, pButton->GetHideFlags() & (qxpHideGeneric | qxpHideWrap)) << c.name;
        if (c.bShown) {
            const CRect rc = c.pGroup->GetRect();
            EXPECT_EQ(CRect(rc.right - K - 1, rc.bottom - K, rc.right - 3, rc.bottom - 3), pButton->GetRect()) << c.name;
        }
        // Right after the group's own controls, the popup button after it.
        const int nLast = c.pGroup->GetAt(c.pGroup->GetCount() - 1)->GetIndex();
        EXPECT_EQ(nLast + 1, pButton->GetIndex()) << c.name;
        EXPECT_EQ(pButton->GetIndex() + 1, c.pGroup->GetPopupButton()->GetIndex()) << c.name;
    }
    Shot("ribbon-option-buttons.png");

    // A real click on it runs the group's command.
    frame.m_commands.clear();
    qmtest::ClickAt(ScreenPoint(pLaunch->GetOptionButton()->GetRect().CenterPoint()));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    ASSERT_EQ(1u, frame.m_commands.size());
    EXPECT_EQ((UINT)ID_R_ZOOM, frame.m_commands[0]);
}

// Collapsed, a group hides its option button (2) and shows its popup
// button; the popup's full-size copy shows an option button of its own.
TEST_F(RibbonBarTest, ACollapsedGroupHidesItsOptionButtonAndItsPopupCopyShowsOne)
{
    CQXPRibbonGroup* pFont = CollapseStylesGroup();
    ASSERT_TRUE(pFont != NULL);
    pFont->m_bShowOptionButton = TRUE;
    Relayout();
    ASSERT_TRUE(pFont->IsCollapsed());
    EXPECT_FALSE(pFont->GetOptionButton()->IsVisible(0));
    EXPECT_EQ((DWORD)qxpHideWrap, pFont->GetOptionButton()->GetHideFlags() & (qxpHideGeneric | qxpHideWrap));
    CQXPRibbonGroupPopupToolBar* pPopup = OpenCollapsedGroup(pFont);
    ASSERT_TRUE(pPopup != NULL);
    CQXPRibbonGroup* pCopy = pPopup->GetGroupCopy();
    ASSERT_TRUE(pCopy != NULL);
    CQXPRibbonGroupOptionButton* pCopyOption = pCopy->GetOptionButton();
    EXPECT_TRUE(pCopyOption->GetControls() == pPopup->GetControls());
    EXPECT_TRUE(pCopyOption->IsVisible(0));
    EXPECT_EQ(104, pCopyOption->GetID());
    ShotWithPopup("ribbon-option-button-popup.png", pPopup);
}

// With the command bars' actions on, the popup's copy of a collapsed group
// shows the group's action on its buttons: the copy's option button has the
// action's tooltip and goes disabled with it (as does the group's own
// popup button).
TEST_F(RibbonBarTest, ACollapsedGroupsPopupCopyShowsTheGroupsAction)
{
    frame.GetCommandBars()->EnableActions(TRUE);
    CQXPRibbonGroup* pStyles = CollapseStylesGroup();
    ASSERT_TRUE(pStyles != NULL);
    CQXPControlAction* pAction = frame.GetCommandBars()->FindAction(104);
    ASSERT_TRUE(pAction != NULL);
    pAction->SetTooltip("Style settings");
    pStyles->m_bShowOptionButton = TRUE;
    Relayout();
    ASSERT_TRUE(pStyles->IsCollapsed());
    CQXPRibbonGroupPopupToolBar* pPopup = OpenCollapsedGroup(pStyles);
    ASSERT_TRUE(pPopup != NULL);
    CQXPRibbonGroup* pCopy = pPopup->GetGroupCopy();
    ASSERT_TRUE(pCopy != NULL);
    CQXPRibbonGroupOptionButton* pCopyOption = pCopy->GetOptionButton();
    EXPECT_TRUE(pCopyOption->IsVisible(0));
    EXPECT_EQ(pAction, pCopyOption->GetAction());
    EXPECT_EQ("Style settings", std::string(pCopyOption->GetTooltip()));
    ASSERT_TRUE(pCopy->GetPopupButton() != NULL);
    EXPECT_EQ(pAction, pCopy->GetPopupButton()->GetAction());
    EXPECT_TRUE(pCopyOption->GetEnabled());
    pAction->SetEnabled(FALSE);
    EXPECT_FALSE(pCopyOption->GetEnabled());
    // Disabled, the action keeps the collapsed group closed.
    frame.GetCommandBars()->ClosePopups();
    qmtest::PumpUntil([&] { return !IsOpen(pPopup); });
    EXPECT_FALSE(pStyles->GetPopupButton()->GetEnabled());
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
