// Grouped buttons on a ribbon under Wine: a group that lays its controls out
// in runs (ControlsGrouping) draws each button with the theme's image of
// its place in its run (left end, middle, right end, alone; split buttons
// with their own pieces), in the state cell of the button, seen through a
// recording theme while the real pointer moves over them. A screenshot.
#include <qx/office2007.h>
#include <qx/ribbonbar.h>
#include <qx/ribbonpopups.h>
#include "ribboncommandframe.h"
#include <qmtest/cbframe.h>
#include <qmtest/mouse.h>
#include <qmtest/offscreen.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum {
    ID_G_BOLD = 42001,
    ID_G_ITALIC,
    ID_G_UNDERLINE,
    ID_G_CENTRE,
    ID_G_COLOUR,
    ID_G_CLEAR,
    ID_G_LAST
};

class RibbonGroupedTest : public RibbonWindowTest {
protected:
    void SetUp() override
    {
        frame.m_disabled.insert(ID_G_CLEAR);
        OpenFrame(frame, "Grouped", CRect(20, 20, 620, 400));
        pTheme = RecordDrawing(frame.GetCommandBars());
        pRibbon = AddRibbonBar(frame.GetCommandBars());
        ASSERT_TRUE(pRibbon != NULL);
        CQXPRibbonGroup* pFont = pRibbon->AddTab("&Home", 1)->AddGroup("Font", 100);
        pFont->m_bControlsGrouping = TRUE;
        // Three runs: B I U; the centre button alone; a split button and a
        // button that cannot run now.
        pBold = pFont->Add(qxpControlButton, ID_G_BOLD, "B");
        pItalic = pFont->Add(qxpControlButton, ID_G_ITALIC, "I");
        pUnderline = pFont->Add(qxpControlButton, ID_G_UNDERLINE, "U");
        pCentre = pFont->Add(qxpControlButton, ID_G_CENTRE, "C");
        pCentre->SetBeginGroup(TRUE);
        pColour = pFont->Add(qxpControlSplitButtonPopup, ID_G_COLOUR, "A");
        pColour->SetBeginGroup(TRUE);
        pClear = pFont->Add(qxpControlButton, ID_G_CLEAR, "X");
        for (CQXPControl* c : {pBold, pItalic, pUnderline, pCentre, pColour, pClear})
            c->SetStyle(qxpButtonCaption);
        Redraw();
    }
    void TearDown() override
    {
        CloseFrame(frame);
    }
    void Redraw()
    {
        frame.RecalcLayout();
        pTheme->draws.clear();
        ::RedrawWindow(frame.GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        qmtest::PumpMessages();
    }
    CRibbonCommandFrame frame{ID_G_BOLD, ID_G_LAST - 1};
    CRecordingRibbonTheme* pTheme = NULL;
    CQXPRibbonBar* pRibbon = NULL;
    CQXPControl *pBold = NULL, *pItalic = NULL, *pUnderline = NULL, *pCentre = NULL, *pColour = NULL, *pClear = NULL;
};

TEST_F(RibbonGroupedTest, EachButtonDrawsItsPlaceInItsRun)
{
    struct Case {
        CQXPControl* pControl;
        const char* pszImage;
        int nStates;
    };
    const Case cases[] = {
        {pBold, "TOOLBARBUTTONSSPECIALLEFT", 5},
        {pItalic, "TOOLBARBUTTONSSPECIALCENTER", 5},
        {pUnderline, "TOOLBARBUTTONSSPECIALRIGHT", 5},
        {pCentre, "TOOLBARBUTTONSSPECIALSINGLE", 5},
        {pClear, "TOOLBARBUTTONSSPECIALRIGHT", 5},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.pControl->IsVisible()) << c.pszImage;
        const CRecordingRibbonTheme::Draw* d = pTheme->Last(c.pControl->GetRect(), "TOOLBARBUTTONSSPECIAL");
        ASSERT_TRUE(d != NULL) << "nothing drawn for " << c.pszImage;
        EXPECT_EQ(c.pszImage, d->name);
        EXPECT_EQ(c.nStates, d->nStates);
        EXPECT_EQ(0, d->nState) << c.pszImage << ": the normal cell";
    }
    // The split button starts its run and does not end it.
    BOOL bStarts = FALSE, bEnds = FALSE;
    ASSERT_TRUE(CRibbonStyleTheme::GetGroupedRun(pColour, &bStarts, &bEnds));
    EXPECT_TRUE(bStarts);
    EXPECT_FALSE(bEnds);
    // The disabled button: cell 0 (not keyboard-selected).
    EXPECT_EQ(0, pTheme->Last(pClear->GetRect(), "TOOLBARBUTTONSSPECIAL")->nState);
    // A group without runs draws its buttons as any bar does.
    pRibbon->GetTab(0)->GetGroup(0)->m_bControlsGrouping = FALSE;
    EXPECT_FALSE(CRibbonStyleTheme::GetGroupedRun(pItalic, &bStarts, &bEnds));
    pRibbon->GetTab(0)->GetGroup(0)->m_bControlsGrouping = TRUE;

    // The real pointer over Italic: its middle piece in the hot cell.
    CPoint pt = pItalic->GetRect().CenterPoint();
    pRibbon->ClientToScreen(&pt);
    qmtest::MouseAt(pt, 0);
    EXPECT_TRUE(qmtest::PumpUntil([&] {
        const CRecordingRibbonTheme::Draw* d = pTheme->Last(pItalic->GetRect(), "TOOLBARBUTTONSSPECIAL");
        return d && d->nState == 1;
    })) << "hot cell";
    EXPECT_EQ("TOOLBARBUTTONSSPECIALCENTER", pTheme->Last(pItalic->GetRect(), "TOOLBARBUTTONSSPECIAL")->name);

    // Over the split button: the run's left piece and a middle drop part,
    // images with one more leading state than the plain split button's.
    pt = pColour->GetRect().CenterPoint();
    pRibbon->ClientToScreen(&pt);
    pTheme->draws.clear();
    qmtest::MouseAt(pt, 0);
    // The last look drawn: the group lights up before the button turns hot,
    // each drawn at once into the bar's copy.
    auto find = [&](const char* pszName) -> const CRecordingRibbonTheme::Draw* {
        for (auto it = pTheme->draws.rbegin(); it != pTheme->draws.rend(); ++it)
            if (it->name == pszName)
                return &*it;
        return NULL;
    };
    EXPECT_TRUE(
        qmtest::PumpUntil([&] { return pColour->GetSelected() && find("TOOLBARBUTTONSSPECIALSPLITLEFT") != NULL; }));
    const CRecordingRibbonTheme::Draw* pMain = find("TOOLBARBUTTONSSPECIALSPLITLEFT");
    const CRecordingRibbonTheme::Draw* pDrop = find("TOOLBARBUTTONSSPECIALSPLITDROPDOWNCENTER");
    ASSERT_TRUE(pMain && pDrop);
    EXPECT_EQ(7, pMain->nStates);
    EXPECT_EQ(6, pDrop->nStates);
    // The state tables' answer for the hot button, one state further on.
    const int E = pColour->GetEnabled(), S = pColour->GetSelected(), P = pColour->GetPressed();
    EXPECT_NE(0, S) << "hot";
    EXPECT_EQ(CRibbonStyleTheme::GetSplitMainState(E, S, P, pColour->GetPopped(), pColour->GetChecked()) + 1,
              pMain->nState);
    EXPECT_EQ(CRibbonStyleTheme::GetSplitDropState(E, S, P, pColour->GetPopped(), pColour->GetChecked()) + 1,
              pDrop->nState);
    EXPECT_EQ(pColour->GetRect().right, pDrop->rc.right);
    EXPECT_TRUE(find("TOOLBARBUTTONSSPLIT22") == NULL) << "not the plain split pieces";
    // Italic fades back to its normal look; once the fades have run the
    // screen shows what the bar paints now, only the split button hot.
    EXPECT_TRUE(qmtest::PumpUntil([&] { return pRibbon->GetAnimationCache()->GetFadeCount() == 0; }));
    for (CQXPControl* c : {pBold, pItalic, pUnderline, pCentre, pColour, pClear})
        EXPECT_EQ(qmtest::BarPictureOf(pRibbon, c->GetRect()), qmtest::ScreenPictureOf(pRibbon, c->GetRect()))
            << c->GetCaption();
    // Wine puts what a window drew outside its paint on the display from
    // its message loop: the picture after a short pump shows the last frame.
    qmtest::PumpFor(200);
    CRect rc;
    frame.GetWindowRect(&rc);
    EXPECT_TRUE(qmtest::SaveScreenPng(rc, qmtest::ScreenshotDir(QM_BIN_DIR) + "/ribbon-grouped.png"));
    qmtest::ParkPointer();
}

// The ribbon animates from its construction, through the bar's copy: the
// button the real pointer comes to turns hot at once, even while its group
// fades into its lit look around it; the button the pointer leaves
// cross-fades back to its normal look, which the screen shows once the
// fade has run.
TEST_F(RibbonGroupedTest, AButtonThePointerLeavesFadesBackToItsNormalLook)
{
    ASSERT_TRUE(pRibbon->IsAnimationEnabled());
    CQXPBarAnimationCache* pCache = pRibbon->GetAnimationCache();
    qmtest::ParkPointer();
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !pBold->GetSelected() && pCache->GetFadeCount() == 0; }));
    ASSERT_TRUE(pCache->HasCache()) << "painted from the bar's copy";
    auto fadeOver = [&](const CRect& rc) {
        for (int i = 0; i < pCache->GetFadeCount(); i++)
            if (CRect().IntersectRect(pCache->GetFadeRect(i), rc))
                return i;
        return -1;
    };
    auto pointAt = [&](CQXPControl* pControl) {
        CPoint pt = pControl->GetRect().CenterPoint();
        pRibbon->ClientToScreen(&pt);
        qmtest::MouseAt(pt, 0, 0);
    };

    const CRect rcBold = pBold->GetRect();
    pointAt(pBold);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pBold->GetSelected() != 0; }));
    EXPECT_NE(-1, fadeOver(pRibbon->GetTab(0)->GetGroup(0)->GetRect())) << "the group lights up";
    EXPECT_EQ(qmtest::BarPictureOf(pRibbon, rcBold), qmtest::ScreenPictureOf(pRibbon, rcBold)) << "hot at once";
    EXPECT_EQ(1, pTheme->Last(rcBold, "TOOLBARBUTTONSSPECIAL")->nState);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return pCache->GetFadeCount() == 0; }));
    EXPECT_EQ(qmtest::BarPictureOf(pRibbon, rcBold), qmtest::ScreenPictureOf(pRibbon, rcBold));

    pointAt(pItalic);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pItalic->GetSelected() != 0; }));
    EXPECT_FALSE(pBold->GetSelected());
    const int nFade = fadeOver(rcBold);
    ASSERT_NE(-1, nFade) << "Bold fades out";
    EXPECT_EQ(rcBold, pCache->GetFadeRect(nFade));
    ASSERT_LE(pCache->GetFadeStep(nFade), QXP_FADE_STEPS);
    EXPECT_NE(qmtest::BarPictureOf(pRibbon, rcBold), qmtest::ScreenPictureOf(pRibbon, rcBold)) << "half way";
    const CRect rcItalic = pItalic->GetRect();
    EXPECT_EQ(qmtest::BarPictureOf(pRibbon, rcItalic), qmtest::ScreenPictureOf(pRibbon, rcItalic));
    // The last frame: Bold's normal look, as the bar paints itself now.
    EXPECT_TRUE(qmtest::PumpUntil([&] { return pCache->GetFadeCount() == 0; }));
    EXPECT_EQ(qmtest::BarPictureOf(pRibbon, rcBold), qmtest::ScreenPictureOf(pRibbon, rcBold)) << "normal again";
    EXPECT_EQ(0, pTheme->Last(rcBold, "TOOLBARBUTTONSSPECIAL")->nState);
    qmtest::ParkPointer();
}

// A minimised ribbon's tab opens in a popup: the copies of the grouped
// buttons there keep the pieces of their runs.
TEST_F(RibbonGroupedTest, InATabsPopupTheButtonsKeepTheirRuns)
{
    pRibbon->SetRibbonMinimized(TRUE);
    Redraw();
    CPoint pt = pRibbon->GetTab(0)->GetRect().CenterPoint();
    pRibbon->ClientToScreen(&pt);
    qmtest::ClickAt(pt);
    CQXPRibbonTabPopupToolBar* pPopup = NULL;
    ASSERT_TRUE(qmtest::PumpUntil([&] {
        pPopup = dynamic_cast<CQXPRibbonTabPopupToolBar*>(pRibbon->GetTabPopup());
        return pPopup && ::IsWindowVisible(pPopup->GetSafeHwnd());
    }));
    CQXPRibbonGroup* pCopy = pPopup->GetGroups()->GetAt(0);
    ASSERT_TRUE(pCopy != NULL && pCopy->GetCount() == 6);
    pTheme->draws.clear();
    ::RedrawWindow(pPopup->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    qmtest::PumpMessages();
    const struct {
        int nIndex;
        const char* pszImage;
    } cases[] = {
        {0, "TOOLBARBUTTONSSPECIALLEFT"},
        {1, "TOOLBARBUTTONSSPECIALCENTER"},
        {2, "TOOLBARBUTTONSSPECIALRIGHT"},
        {3, "TOOLBARBUTTONSSPECIALSINGLE"},
        {5, "TOOLBARBUTTONSSPECIALRIGHT"},
    };
    for (const auto& c : cases) {
        CQXPControl* pControl = pCopy->GetAt(c.nIndex);
        ASSERT_EQ(pPopup, pControl->GetParent()) << c.pszImage;
        const CRecordingRibbonTheme::Draw* d = pTheme->Last(pControl->GetRect(), "TOOLBARBUTTONSSPECIAL");
        ASSERT_TRUE(d != NULL) << "nothing drawn for " << c.pszImage;
        EXPECT_EQ(c.pszImage, d->name);
    }
    BOOL bStarts = FALSE, bEnds = FALSE;
    ASSERT_TRUE(CRibbonStyleTheme::GetGroupedRun(pCopy->GetAt(4), &bStarts, &bEnds));
    EXPECT_TRUE(bStarts);
    EXPECT_FALSE(bEnds);
    CRect rc;
    frame.GetWindowRect(&rc);
    CRect rcPopup;
    pPopup->GetWindowRect(&rcPopup);
    rc.UnionRect(rc, rcPopup);
    EXPECT_TRUE(qmtest::SaveScreenPng(rc, qmtest::ScreenshotDir(QM_BIN_DIR) + "/ribbon-grouped-popup.png"));
    frame.GetCommandBars()->ClosePopups();
    qmtest::PumpMessages();
}

} // namespace
