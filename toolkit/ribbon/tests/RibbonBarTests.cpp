// The ribbon bar on a test frame under Wine, in the ribbon theme (6): tabs
// chosen with the real mouse (and refused by the site), the wheel, the
// minimised state, narrowing until groups collapse, the quick-access
// toolbar below, and the saved state through registry, INI file and
// archive with damaged classes refused whole. Screenshots of each look.
#include <qx/office2007.h>
#include <qx/propexchange.h>
#include <qx/ribbonbar.h>
#include <qx/ribbonsystem.h>
#include <qmtest/archivebytes.h>
#include <qmtest/cbframe.h>
#include <qmtest/files.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/registry.h>
#include <qmtest/screenshot.h>

#include "ribbontestframe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

using namespace ribbontest;

TEST_F(RibbonBarTest, ShowsTabsGroupsAndTheQuickAccessToolbar)
{
    const qxribbon::RibbonBarState s = Ribbon()->GetBarState();
    EXPECT_EQ(s.GetCaptionHeight() + s.GetTabsHeight() + s.CalcGroupsHeight(), RibbonHeight());
    EXPECT_EQ(0, Ribbon()->GetSelectedTabIndex());
    // The first tab's groups side by side inside the group band; the other
    // tabs' controls are hidden.
    CRect rcBand = Ribbon()->GetGroupsRect();
    CQXPRibbonTab* pHome = Ribbon()->GetTab(0);
    int xLast = 0;
    for (int i = 0; i < pHome->GetGroupCount(); i++) {
        CRect rc = pHome->GetGroup(i)->GetRect();
        EXPECT_GT(rc.left, xLast);
        EXPECT_TRUE(rcBand.PtInRect(rc.TopLeft()));
        xLast = rc.right;
        for (int k = 0; k < pHome->GetGroup(i)->GetCount(); k++) {
            EXPECT_TRUE(pHome->GetGroup(i)->GetAt(k)->IsVisible(0));
        }
    }
    CQXPControl* pPicture = Ribbon()->GetTab(1)->GetGroup(0)->GetAt(0);
    EXPECT_EQ(QXP_HIDE_RIBBON_TAB, pPicture->GetHideFlags() & QXP_HIDE_RIBBON_TAB);
    // The group band's face comes from the theme's image, the caption band
    // from the frame image.
    CPoint ptBand = ScreenPoint(CPoint(rcBand.right - 3, rcBand.bottom - 6));
    HDC hdc = ::GetDC(NULL);
    COLORREF clr = ::GetPixel(hdc, ptBand.x, ptBand.y);
    ::ReleaseDC(NULL, hdc);
    EXPECT_LT(GetRValue(clr), GetBValue(clr)) << "blue group band";
    EXPECT_TRUE(Ribbon()->GetQuickAccessControl(0)->IsVisible(0));
    EXPECT_TRUE(Ribbon()->GetQuickAccessCustomizeButton()->IsVisible(0));
    EXPECT_EQ(CSize(13, 22), Ribbon()->GetQuickAccessCustomizeButton()->GetRect().Size());
    Shot("ribbon-normal.png");

    // A command of a group runs from a real click.
    CPoint ptCut = ScreenPoint(pHome->GetGroup(0)->GetAt(1)->GetRect().CenterPoint());
    qmtest::ClickAt(ptCut);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    ASSERT_EQ(1u, frame.m_commands.size());
    EXPECT_EQ((UINT)ID_R_CUT, frame.m_commands[0]);
}

TEST_F(RibbonBarTest, TabsFollowTheMouseUnlessTheSiteRefuses)
{
    qmtest::ClickAt(TabCentre(1));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelectedTabIndex() == 1; }));
    ASSERT_EQ(2u, frame.m_tabNotes.size());
    EXPECT_EQ(TCN_SELCHANGING, frame.m_tabNotes[0]);
    EXPECT_EQ(TCN_SELCHANGE, frame.m_tabNotes[1]);
    CQXPControl* pPicture = Ribbon()->GetTab(1)->GetGroup(0)->GetAt(0);
    EXPECT_TRUE(pPicture->IsVisible(0));
    EXPECT_FALSE(Ribbon()->GetTab(0)->GetGroup(0)->GetAt(0)->IsVisible(0));

    frame.m_bVeto = TRUE;
    frame.m_tabNotes.clear();
    qmtest::ClickAt(TabCentre(2));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !frame.m_tabNotes.empty(); }));
    qmtest::PumpMessages();
    EXPECT_EQ(1, Ribbon()->GetSelectedTabIndex()) << "refused by the site";
    ASSERT_EQ(1u, frame.m_tabNotes.size());
    EXPECT_EQ(TCN_SELCHANGING, frame.m_tabNotes[0]);
    EXPECT_TRUE(pPicture->IsVisible(0));
}

TEST_F(RibbonBarTest, WheelOverTheRibbonStepsTheTabs)
{
    CPoint pt = TabCentre(0);
    ::SetCursorPos(pt.x, pt.y);
    auto wheel = [&](int nDelta) {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = MOUSEEVENTF_WHEEL;
        in.mi.mouseData = (DWORD)nDelta;
        ::SendInput(1, &in, sizeof(in));
    };
    wheel(-WHEEL_DELTA);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelectedTabIndex() == 1; }));
    wheel(-WHEEL_DELTA);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelectedTabIndex() == 2; }));
    wheel(WHEEL_DELTA); // forwards: the previous tab
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelectedTabIndex() == 1; }));
    // Not over the ribbon: nothing.
    CRect rcFrame;
    frame.GetWindowRect(&rcFrame);
    ::SetCursorPos(rcFrame.CenterPoint().x, rcFrame.bottom - 40);
    wheel(-WHEEL_DELTA);
    qmtest::PumpFor(100);
    EXPECT_EQ(1, Ribbon()->GetSelectedTabIndex());
}

TEST_F(RibbonBarTest, DoubleClickOnTheSelectedTabMinimisesAndRestores)
{
    const int nFull = RibbonHeight();
    qmtest::DoubleClickAt(TabCentre(0));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->IsRibbonMinimized() && RibbonHeight() < nFull; }));
    const qxribbon::RibbonBarState s = Ribbon()->GetBarState();
    EXPECT_EQ(s.GetCaptionHeight() + s.GetTabsHeight() + 2, RibbonHeight());
    EXPECT_EQ(-1, Ribbon()->GetSelectedTabIndex());
    EXPECT_FALSE(Ribbon()->GetTab(0)->GetGroup(0)->GetAt(0)->IsVisible(0));
    Shot("ribbon-minimised.png");

    // A double click on another tab restores the ribbon on that tab.
    qmtest::DoubleClickAt(TabCentre(1));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !Ribbon()->IsRibbonMinimized() && RibbonHeight() == nFull; }));
    EXPECT_EQ(1, Ribbon()->GetSelectedTabIndex());
    EXPECT_TRUE(Ribbon()->GetTab(1)->GetGroup(0)->GetAt(0)->IsVisible(0));
}

TEST_F(RibbonBarTest, NarrowingCollapsesTheLastGroupsFirst)
{
    // Five groups of six controls (two columns each): more than the
    // narrowest ribbon holds even with icons only.
    CQXPRibbonTab* pHome = Ribbon()->GetTab(0);
    pHome->AddGroup("Paragraph", 103)->Add(qxpControlButton, ID_R_FIND, "Centre");
    pHome->AddGroup("Styles", 104)->Add(qxpControlButton, ID_R_FIND, "Heading");
    for (int i = 0; i < pHome->GetGroupCount(); i++)
        while (pHome->GetGroup(i)->GetCount() < 6)
            for (UINT id : {ID_R_BOLD})
                pHome->GetGroup(i)->Add(qxpControlButton, id, "More text");
    Relayout();
    int nWidth = 700;
    bool bShot = false;
    while (nWidth > 260 && !pHome->GetGroup(0)->IsCollapsed()) {
        nWidth -= 40;
        frame.SetWindowPos(NULL, 0, 0, nWidth, 480, SWP_NOMOVE | SWP_NOZORDER);
        Relayout();
        // Reduction works from the last group: a group never collapses
        // while a later one is still open.
        for (int i = 0; i + 1 < pHome->GetGroupCount(); i++) {
            if (pHome->GetGroup(i)->IsCollapsed()) {
                EXPECT_TRUE(pHome->GetGroup(i + 1)->IsCollapsed()) << nWidth;
            }
        }
        if (pHome->GetGroup(4)->IsCollapsed() && !bShot) {
            Shot("ribbon-narrow.png");
            bShot = true;
        }
    }
    EXPECT_TRUE(pHome->GetGroup(4)->IsCollapsed());
    EXPECT_TRUE(bShot);
    // A collapsed group's controls are not shown.
    EXPECT_FALSE(pHome->GetGroup(4)->GetAt(0)->IsVisible(0));
    // Too narrow for the ribbon: hidden.
    frame.SetWindowPos(NULL, 0, 0, 240, 480, SWP_NOMOVE | SWP_NOZORDER);
    Relayout();
    EXPECT_FALSE(Ribbon()->IsShownBySize());
}

// The scrolled ribbon's offset, copied by a timer for another thread.
CQXPRibbonBar* s_pScrolled = NULL;
std::atomic<int> s_nOffset(0);
void CALLBACK MirrorOffset(HWND, UINT, UINT_PTR, DWORD) { s_nOffset = s_pScrolled->GetGroupsOffset(); }

TEST_F(RibbonBarTest, AHeldScrollButtonRepeatsUntilReleasedOrEscape)
{
    // Ten groups of one control never collapse: a narrow ribbon scrolls.
    CQXPRibbonTab* pHome = Ribbon()->GetTab(0);
    for (int i = 0; i < 7; i++)
        pHome->AddGroup("More", 110 + i)->Add(qxpControlButton, ID_R_ZOOM, "Zoom");
    frame.SetWindowPos(NULL, 0, 0, 320, 480, SWP_NOMOVE | SWP_NOZORDER);
    Relayout();
    ASSERT_TRUE(Ribbon()->IsGroupScrollShown(FALSE));
    ASSERT_EQ(0, Ribbon()->GetGroupsOffset());
    CQXPControl* pRight = Ribbon()->GetGroupScrollButton(FALSE);
    const CPoint pt = ScreenPoint(pRight->GetRect().CenterPoint());
    const HWND hWndRibbon = Ribbon()->GetSafeHwnd();

    // Held: the press loop runs inside this thread's handler of the press;
    // a timer of the bar (dispatched by that loop) mirrors the offset for a
    // second thread, which waits for three steps (one at once, two
    // repeats), then presses Escape and lets the button go.
    s_pScrolled = Ribbon();
    s_nOffset = 0;
    ::SetTimer(hWndRibbon, 1, 10, MirrorOffset);
    std::atomic<bool> bStepped(false);
    std::thread helper([&] {
        const DWORD dwStart = ::GetTickCount();
        while (s_nOffset < 120 && ::GetTickCount() - dwStart < 10000)
            ::Sleep(10);
        bStepped = s_nOffset >= 120;
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = VK_ESCAPE;
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, in, sizeof(INPUT));
        ::Sleep(50);
        qmtest::MouseEventAt(pt, MOUSEEVENTF_LEFTUP);
    });
    qmtest::MouseEventAt(pt, MOUSEEVENTF_LEFTDOWN);
    const bool bEnded = qmtest::PumpUntil([&] { return bStepped && ::GetCapture() != hWndRibbon; }, 15000);
    helper.join();
    ::KillTimer(hWndRibbon, 1);
    EXPECT_TRUE(bEnded);
    EXPECT_TRUE(bStepped) << "the held button scrolled to " << Ribbon()->GetGroupsOffset();
    EXPECT_NE(hWndRibbon, ::GetCapture());
    const int nAfter = Ribbon()->GetGroupsOffset();
    EXPECT_GE(nAfter, 120);
    qmtest::PumpFor(600);
    EXPECT_EQ(nAfter, Ribbon()->GetGroupsOffset()) << "no repeat after Escape";
}

TEST_F(RibbonBarTest, QuickAccessToolbarBelowTheRibbon)
{
    const int nFull = RibbonHeight();
    Ribbon()->SetQuickAccessBelow(TRUE);
    Relayout();
    const qxribbon::RibbonBarState s = Ribbon()->GetBarState();
    EXPECT_EQ(nFull + s.GetQuickAccessHeight() + 1 - (nFull - s.GetCaptionHeight() - s.GetTabsHeight() - s.CalcGroupsHeight()),
              RibbonHeight());
    CRect rcSave = Ribbon()->GetQuickAccessControl(0)->GetRect();
    EXPECT_GE(rcSave.top, Ribbon()->GetGroupsRect().bottom);
    Shot("ribbon-qat-below.png");
}

TEST_F(RibbonBarTest, ASavedLayoutNamingTheRibbonBringsItIntoAnotherFrame)
{
    // The frame's layout, saved with the ribbon under an id of its own, is
    // loaded into a frame that has no ribbon: the ribbon joins its bars
    // with its tabs, groups and QAT, on the tab that was selected.
    qmtest::RegistryApp reg;
    Ribbon()->SetBarID(0x7E00);
    Ribbon()->m_bBuiltIn = FALSE;
    ASSERT_TRUE(Ribbon()->SelectTab(1));
    frame.GetCommandBars()->SaveBarState("RibbonLayout");
    frame.DestroyWindow();
    qmtest::PumpMessages();

    CRibbonTestFrame other;
    ASSERT_TRUE(other.Create(NULL, "Ribbon again", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                             CRect(0, 0, 700, 480)));
    other.GetCommandBars()->LoadBarState("RibbonLayout");
    other.RecalcLayout();
    qmtest::PumpMessages();
    CQXPRibbonBar* pLoaded = NULL;
    for (int i = 0; i < other.GetCommandBars()->GetCount(); i++)
        if (CQXPRibbonBar* p = DYNAMIC_DOWNCAST(CQXPRibbonBar, other.GetCommandBars()->GetAt(i)))
            pLoaded = p;
    ASSERT_TRUE(pLoaded != NULL);
    EXPECT_EQ(0x7E00u, pLoaded->GetBarID());
    EXPECT_EQ(3, pLoaded->GetTabCount());
    EXPECT_EQ(1, pLoaded->GetSelectedTabIndex());
    EXPECT_EQ(1, pLoaded->GetQuickAccessCount());
    EXPECT_TRUE(::IsWindowVisible(pLoaded->GetSafeHwnd()));
    CRect rc;
    pLoaded->GetWindowRect(&rc);
    const qxribbon::RibbonBarState s = pLoaded->GetBarState();
    EXPECT_EQ(s.GetCaptionHeight() + s.GetTabsHeight() + s.CalcGroupsHeight(), rc.Height());
    CQXPControl* pPicture = pLoaded->GetTab(1)->GetGroup(0)->GetAt(0);
    EXPECT_TRUE(pPicture->IsVisible(0));
    EXPECT_EQ(pLoaded, pPicture->GetParent());
    other.DestroyWindow();
    qmtest::PumpMessages();
}

// --- saved state -------------------------------------------------------------------

std::string Captions(CQXPRibbonBar* p)
{
    std::string s;
    for (int i = 0; i < p->GetTabCount(); i++) {
        CQXPRibbonTab* t = p->GetTab(i);
        s += (const char*)t->GetCaption();
        s += "[";
        for (int g = 0; g < t->GetGroupCount(); g++) {
            s += (const char*)t->GetGroup(g)->GetCaption();
            s += ":" + std::to_string(t->GetGroup(g)->GetCount()) + " ";
        }
        s += "]";
    }
    s += " qat " + std::to_string(p->GetQuickAccessCount());
    return s;
}

TEST(RibbonState, ClassesAreFoundByName)
{
    EXPECT_TRUE(RegisterRibbonBarClasses());
}

TEST(RibbonState, RoundTripsThroughRegistryIniAndArchive)
{
    qmtest::RegistryApp reg;
    CQXPRibbonBar source;
    FillRibbon(&source);
    source.GetTab(1)->GetGroup(0)->m_bShowOptionButton = TRUE;
    source.SetQuickAccessBelow(TRUE);
    const std::string expected = Captions(&source);
    ASSERT_EQ("&Home[Clipboard:3 Font:3 Editing:3 ]&Insert[Illustrations:2 ]&View[Zoom:1 ] qat 1", expected);

    auto check = [&](CQXPRibbonBar& back) {
        EXPECT_EQ(expected, Captions(&back));
        EXPECT_TRUE(back.IsQuickAccessBelow());
        EXPECT_TRUE(back.GetTab(1)->GetGroup(0)->m_bShowOptionButton);
        EXPECT_EQ(ID_R_PICTURE, back.GetTab(1)->GetGroup(0)->GetAt(0)->GetID());
        EXPECT_EQ(ID_R_SAVE, back.GetQuickAccessControl(0)->GetID());
        EXPECT_EQ(200, back.GetTab(1)->GetGroup(0)->GetID());
        EXPECT_EQ(0, back.GetSelectedTabIndex());
    };
    {
        CQXPPropExchangeRegistry px(FALSE, NULL, "Ribbon");
        source.DoPropExchange(&px);
    }
    {
        CQXPRibbonBar back;
        CQXPPropExchangeRegistry px(TRUE, NULL, "Ribbon");
        back.DoPropExchange(&px);
        check(back);
    }
    qmtest::TempDir dir;
    std::string ini = dir.Path("ribbon.ini");
    {
        CQXPPropExchangeIniFile px(FALSE, NULL, "Ribbon");
        px.AssignFile(ini.c_str());
        source.DoPropExchange(&px);
    }
    {
        CQXPRibbonBar back;
        CQXPPropExchangeIniFile px(TRUE, NULL, "Ribbon");
        px.AssignFile(ini.c_str());
        back.DoPropExchange(&px);
        check(back);
    }
    qmtest::Bytes bytes = qmtest::StoreBytes([&](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        source.DoPropExchange(&px);
    });
    {
        CQXPRibbonBar back;
        qmtest::LoadBytes(bytes, [&](CArchive& ar) {
            CQXPPropExchangeArchive px(ar);
            back.DoPropExchange(&px);
        });
        check(back);
    }
}

// Replaces every occurrence of a class name by one of the same length that
// no run-time class has.
template <class Text>
void Damage(Text& text, const std::string& name)
{
    std::string bad = name;
    bad.back() = 'X';
    for (size_t i = 0; i + name.size() <= text.size(); i++)
        if (std::equal(name.begin(), name.end(), text.begin() + (long)i))
            std::copy(bad.begin(), bad.end(), text.begin() + (long)i);
}

TEST(RibbonState, DamagedClassesAreRefusedWhole)
{
    CQXPRibbonBar source;
    FillRibbon(&source);
    source.AddSystemButton();
    qmtest::Bytes good = qmtest::StoreBytes([&](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        source.DoPropExchange(&px);
    });
    qmtest::TempDir dir;
    std::string ini = dir.Path("ribbon.ini");
    {
        CQXPPropExchangeIniFile px(FALSE, NULL, "Ribbon");
        px.AssignFile(ini.c_str());
        source.DoPropExchange(&px);
    }
    std::string iniText;
    {
        std::ifstream in(ini, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        iniText = ss.str();
    }
    for (const char* name : {"CQXPRibbonTab", "CQXPRibbonGroup", "CQXPControlButton", "CQXPRibbonControlSystemButton"}) {
        SCOPED_TRACE(name);
        // The bar to load into holds one tab of its own, which stays.
        CQXPRibbonBar target;
        target.AddTab("Mine")->AddGroup("Kept")->Add(qxpControlButton, ID_R_ZOOM, "Zoom");
        const std::string before = Captions(&target);
        const int nControls = target.GetControls()->GetCount();

        qmtest::Bytes bytes = good;
        Damage(bytes, name);
        bool refused = false;
        try {
            qmtest::LoadBytes(bytes, [&](CArchive& ar) {
                CQXPPropExchangeArchive px(ar);
                target.DoPropExchange(&px);
            });
        } catch (CArchiveException* e) {
            refused = true;
            e->Delete();
        }
        EXPECT_TRUE(refused) << "archive";
        EXPECT_EQ(before, Captions(&target));
        EXPECT_EQ(nControls, target.GetControls()->GetCount()) << "no control of the refused load stays";

        std::string text = iniText;
        Damage(text, name);
        std::string damaged = dir.Path(std::string("damaged-") + name + ".ini");
        std::ofstream(damaged, std::ios::binary) << text;
        refused = false;
        try {
            CQXPPropExchangeIniFile px(TRUE, NULL, "Ribbon");
            px.AssignFile(damaged.c_str());
            target.DoPropExchange(&px);
        } catch (CArchiveException* e) {
            refused = true;
            e->Delete();
        }
        EXPECT_TRUE(refused) << "INI file";
        EXPECT_EQ(before, Captions(&target));
        EXPECT_EQ(nControls, target.GetControls()->GetCount());
    }
}

} // namespace
