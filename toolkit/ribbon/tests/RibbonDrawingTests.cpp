// The ribbon's own parts as a person sees them under Wine: a collapsed
// group's button (the group's icon, small in its round frame or large
// alone, the caption on two lines with its arrow, in the colour of the
// button's state), its copy on the quick-access toolbar, and the
// backgrounds of the tab and group popups. Pixels read off screen, the
// images seen through a recording theme; screenshots.
#include <qx/images.h>
#include <qx/office2007.h>
#include <qx/ribbonbar.h>
#include <qx/ribbonpopups.h>
#include "ribboncommandframe.h"
#include <qmtest/icons.h>
#include <qmtest/mouse.h>
#include <qmtest/offscreen.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>

#include <gtest/gtest.h>

#include <string>

namespace {

enum {
    ID_D_PASTE = 42101,
    ID_D_CUT,
    ID_D_COPY,
    ID_D_HEADING,
    ID_D_STYLES, // the Styles group and its option button
    ID_D_SAVE,
    ID_D_LAST
};
// The Styles group's picture (no command of its own).
const int ID_D_STYLESICON = 42190;

bool IsGreen(COLORREF clr) { return GetGValue(clr) > GetRValue(clr) + 60 && GetGValue(clr) > GetBValue(clr) + 60; }

class RibbonDrawingTest : public RibbonWindowTest {
protected:
    void SetUp() override
    {
        OpenFrame(frame, "Drawing", CRect(20, 20, 720, 420));
        pTheme = RecordDrawing(frame.GetCommandBars());
        pRibbon = AddRibbonBar(frame.GetCommandBars());
        ASSERT_TRUE(pRibbon != NULL);
        CQXPRibbonTab* pHome = pRibbon->AddTab("&Home", 1);
        CQXPRibbonGroup* pClip = pHome->AddGroup("Clipboard", 100);
        pClip->Add(qxpControlButton, ID_D_PASTE, "Paste");
        pClip->Add(qxpControlButton, ID_D_CUT, "Cut");
        pClip->Add(qxpControlButton, ID_D_COPY, "Copy");
        // Five groups of six: narrowing collapses the last, Styles, first.
        for (const char* pszGroup : {"Font", "Paragraph", "Editing"})
            pHome->AddGroup(pszGroup, 101);
        pStyles = pHome->AddGroup("Quick Styles", ID_D_STYLES);
        pStyles->m_nIconId = ID_D_STYLESICON;
        pStyles->Add(qxpControlButton, ID_D_HEADING, "Heading");
        for (CQXPRibbonGroup* g : *pHome->GetGroups())
            while (g->GetCount() < 6)
                g->Add(qxpControlButton, ID_D_CUT, "More text");
        pRibbon->AddTab("&Insert", 2)->AddGroup("Tables", 200)->Add(qxpControlButton, ID_D_PASTE, "Table");
        pRibbon->AddQuickAccessControl(qxpControlButton, ID_D_SAVE)->SetCaption("Save");
        Relayout();
    }
    void TearDown() override
    {
        if (frame.GetCommandBars())
            frame.GetCommandBars()->ClosePopups();
        qmtest::PumpMessages();
        if (pRibbon)
            pRibbon->GetImageManager()->RemoveIcon(ID_D_STYLESICON);
        CloseFrame(frame);
    }
    void Relayout()
    {
        frame.RecalcLayout();
        pTheme->Clear();
        ::RedrawWindow(frame.GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        qmtest::PumpMessages();
    }
    // A green picture of the Styles group at a width.
    void GiveStylesIcon(int cx)
    {
        HICON hGreen = qmtest::SolidIcon(RGB(0, 160, 0), cx);
        ASSERT_TRUE(pRibbon->GetImageManager()->SetIcon(hGreen, ID_D_STYLESICON, cx, cx));
        ::DestroyIcon(hGreen);
    }
    // Narrows the frame until Styles collapses, and scrolls its button into
    // view.
    bool CollapseStyles()
    {
        for (int cx = 700; cx > 260 && !pStyles->IsCollapsed(); cx -= 10) {
            frame.SetWindowPos(NULL, 0, 0, cx, 400, SWP_NOMOVE | SWP_NOZORDER);
            Relayout();
        }
        CQXPRibbonGroupControlPopup* pButton = pStyles->GetPopupButton();
        if (!pStyles->IsCollapsed() || !pButton || !pButton->IsVisible())
            return false;
        pRibbon->EnsureVisible(pButton);
        Relayout();
        const CRect rc = pButton->GetRect(), rcGroups = pRibbon->GetGroupsRect();
        return rc.left >= rcGroups.left && rc.right <= rcGroups.right;
    }
    CPoint ScreenPoint(CPoint pt)
    {
        pRibbon->ClientToScreen(&pt);
        return pt;
    }
    static CRect WindowRect(CWnd* pWnd)
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return rc;
    }
    void Shot(const char* name, CWnd* pPopup = NULL)
    {
        ::RedrawWindow(frame.GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        if (pPopup)
            ::RedrawWindow(pPopup->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        qmtest::PumpMessages();
        CRect rc = WindowRect(&frame);
        if (pPopup)
            rc.UnionRect(rc, WindowRect(pPopup));
        EXPECT_TRUE(qmtest::SaveScreenPng(rc, qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + name));
    }
    CRibbonCommandFrame frame{ID_D_PASTE, ID_D_LAST - 1};
    CRecordingRibbonTheme* pTheme = NULL;
    CQXPRibbonBar* pRibbon = NULL;
    CQXPRibbonGroup* pStyles = NULL;
};

TEST_F(RibbonDrawingTest, ACollapsedGroupsButtonShowsTheGroupsIconAndItsCaptionOnTwoLines)
{
    GiveStylesIcon(16);
    ASSERT_TRUE(CollapseStyles());
    CQXPRibbonGroupControlPopup* pButton = pStyles->GetPopupButton();
    const CRect rc = pButton->GetRect();
    const int cx = (rc.left + rc.right) / 2;
    const int K = pTheme->m_metrics.nGroupCaption, L = pTheme->m_metrics.nLargeDropDown;
    const CRect rcText(rc.left, rc.bottom - K - L - 2, rc.right, rc.bottom - K - 2);
    const int yMid = (rcText.top + rcText.bottom) / 2;

    // The button's image for its state, the round frame, and the small icon
    // in it 9 px below the top.
    const CRecordingRibbonTheme::Draw* d = pTheme->Last(rc, "RIBBONGROUPBUTTON");
    ASSERT_TRUE(d != NULL);
    EXPECT_EQ(0, d->nState);
    EXPECT_EQ(3, d->nStates);
    const CRect rcFrame(CPoint((rc.left + rc.right - 32) / 2, rc.top + 2), CSize(32, 32));
    EXPECT_TRUE(pTheme->Last(rcFrame, "RIBBONGROUPBUTTONICON") != NULL);
    // The arrow after the caption's second line.
    bool bArrow = false;
    for (const auto& dr : pTheme->draws)
        bArrow |= dr.name == "TOOLBARBUTTONDROPDOWNGLYPH" && dr.rc.top >= yMid - 2 && dr.rc.bottom <= rcText.bottom;
    EXPECT_TRUE(bArrow) << "the drop-down arrow on the second line";

    // Pixels: the icon, the caption's two lines in the state's colour.
    auto countIn = [](CDC& dc, const CRect& r, COLORREF clr) {
        int n = 0;
        for (int x = r.left; x < r.right; x++)
            for (int y = r.top; y < r.bottom; y++)
                n += dc.GetPixel(x, y) == clr;
        return n;
    };
    const COLORREF clrText = pTheme->m_clrRibbonText.GetColor();
    qmtest::DrawBarOffscreen(pRibbon, [&](CDC& dc) {
        EXPECT_TRUE(IsGreen(dc.GetPixel(cx, rc.top + 9))) << std::hex << dc.GetPixel(cx, rc.top + 9);
        EXPECT_TRUE(IsGreen(dc.GetPixel(cx, rc.top + 24)));
        EXPECT_FALSE(IsGreen(dc.GetPixel(cx, rc.top + 8)));
        EXPECT_GT(countIn(dc, CRect(rcText.left, rcText.top, rcText.right, yMid), clrText), 3) << "first line";
        EXPECT_GT(countIn(dc, CRect(rcText.left, yMid, rcText.right, rcText.bottom), clrText), 3) << "second line";
    });
    Shot("ribbon-collapsed-group.png");

    // Disabled: the caption takes the disabled text colour.
    pButton->SetEnabled(FALSE);
    const COLORREF clrDisabled = pTheme->GetControlTextColor(pButton);
    ASSERT_NE(clrText, clrDisabled);
    qmtest::DrawBarOffscreen(pRibbon, [&](CDC& dc) {
        EXPECT_EQ(0, countIn(dc, rcText, clrText));
        EXPECT_GT(countIn(dc, rcText, clrDisabled), 6);
    });
    pButton->SetEnabled(TRUE);

    // A picture of the bar's large size: drawn alone, 4 px below the top.
    GiveStylesIcon(32);
    Relayout();
    EXPECT_TRUE(pTheme->Last(rc, "RIBBONGROUPBUTTON") != NULL);
    EXPECT_TRUE(pTheme->Last(rcFrame, "RIBBONGROUPBUTTONICON") == NULL) << "no round frame";
    qmtest::DrawBarOffscreen(pRibbon, [&](CDC& dc) {
        EXPECT_TRUE(IsGreen(dc.GetPixel(cx, rc.top + 4)));
        EXPECT_TRUE(IsGreen(dc.GetPixel(cx, rc.top + 35)));
        EXPECT_FALSE(IsGreen(dc.GetPixel(cx, rc.top + 3)));
    });
    Shot("ribbon-collapsed-group-large.png");
}

TEST_F(RibbonDrawingTest, ACollapsedGroupsButtonOnTheQuickAccessToolbarHasItsOwnFace)
{
    GiveStylesIcon(16);
    ASSERT_TRUE(CollapseStyles());
    CQXPControl* pCopy = pRibbon->AddQuickAccessCopy(pStyles->GetPopupButton());
    ASSERT_TRUE(pCopy != NULL);
    // Wide again (the group opens), so that the QAT has room for the copy.
    frame.SetWindowPos(NULL, 0, 0, 700, 400, SWP_NOMOVE | SWP_NOZORDER);
    Relayout();
    ASSERT_TRUE(pCopy->IsVisible()) << "hide flags " << pCopy->GetHideFlags();
    const CRect rc = pCopy->GetRect();
    const CRecordingRibbonTheme::Draw* d = pTheme->Last(rc, "RIBBONGROUP");
    ASSERT_TRUE(d != NULL);
    EXPECT_EQ("RIBBONGROUPQUICKACCESS", d->name);
    EXPECT_EQ(0, d->nState);
    EXPECT_EQ(3, d->nStates);
    // A button popup takes the automatic style on the QAT: the group's icon
    // alone, no caption (before, the copy had no group of its own to take
    // the icon from and showed its caption).
    EXPECT_EQ(qxpButtonAutomatic, pCopy->GetStyle());
    EXPECT_EQ(ID_D_STYLESICON, pCopy->GetIconId());
    EXPECT_FALSE(pCopy->IsCaptionVisible());
    const COLORREF clrText = pTheme->m_clrRibbonText.GetColor();
    qmtest::DrawBarOffscreen(pRibbon, [&](CDC& dc) {
        int nText = 0, nGreen = 0;
        for (int x = rc.left; x < rc.right; x++)
            for (int y = rc.top; y < rc.bottom; y++) {
                nText += dc.GetPixel(x, y) == clrText;
                nGreen += IsGreen(dc.GetPixel(x, y));
            }
        EXPECT_GE(nGreen, 12 * 12) << "the group's icon";
        EXPECT_LT(nText, 5) << "no caption";
    });
    // Under the pointer: the hot part.
    pTheme->Clear();
    qmtest::MouseAt(ScreenPoint(rc.CenterPoint()), 0);
    EXPECT_TRUE(qmtest::PumpUntil([&] {
        const CRecordingRibbonTheme::Draw* p = pTheme->Last(rc, "RIBBONGROUPQUICKACCESS");
        return p && p->nState == 1;
    }));
    Shot("ribbon-qat-group-button.png");
    qmtest::ParkPointer();
}

TEST_F(RibbonDrawingTest, AGroupWithoutIconShowsItsCaptionOnTheQuickAccessToolbar)
{
    CQXPRibbonGroup* pClip = pRibbon->FindGroup(100);
    ASSERT_TRUE(pClip != NULL);
    CQXPControl* pCopy = pRibbon->AddQuickAccessCopy(pClip->GetPopupButton());
    ASSERT_TRUE(pCopy != NULL);
    Relayout();
    ASSERT_TRUE(pCopy->IsVisible());
    EXPECT_EQ(qxpButtonAutomatic, pCopy->GetStyle());
    EXPECT_TRUE(pCopy->IsCaptionVisible());
    const CRect rc = pCopy->GetRect();
    const COLORREF clrText = pTheme->m_clrRibbonText.GetColor();
    qmtest::DrawBarOffscreen(pRibbon, [&](CDC& dc) {
        int nText = 0;
        for (int x = rc.left; x < rc.right; x++)
            for (int y = rc.top; y < rc.bottom; y++)
                nText += dc.GetPixel(x, y) == clrText;
        EXPECT_GT(nText, 10);
    });
}

TEST_F(RibbonDrawingTest, TheTabPopupShowsTheBandsBackgroundAndTheGroupPopupTheRibbonsFace)
{
    // A minimised ribbon's tab: the band's image with its edges just
    // outside the popup.
    pRibbon->SetRibbonMinimized(TRUE);
    Relayout();
    qmtest::ClickAt(ScreenPoint(pRibbon->GetTab(0)->GetRect().CenterPoint()));
    CQXPPopupBar* pPopup = NULL;
    ASSERT_TRUE(qmtest::PumpUntil([&] {
        pPopup = pRibbon->GetTabPopup();
        return pPopup && ::IsWindowVisible(pPopup->GetSafeHwnd());
    }));
    CRect rcClient;
    pPopup->GetClientRect(&rcClient);
    pTheme->Clear();
    ::RedrawWindow(pPopup->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    qmtest::PumpMessages();
    CRect rcBand = rcClient;
    rcBand.InflateRect(3, 3);
    EXPECT_TRUE(pTheme->Last(rcBand, "RIBBONGROUPS") != NULL);
    Shot("ribbon-drawing-tab-popup.png", pPopup);
    frame.GetCommandBars()->ClosePopups();
    qmtest::PumpUntil([&] { return !::IsWindowVisible(pPopup->GetSafeHwnd()); });
    pRibbon->SetRibbonMinimized(FALSE);
    Relayout();

    // A collapsed group's popup: the ribbon's face under the group, no band.
    ASSERT_TRUE(CollapseStyles());
    CQXPRibbonGroupControlPopup* pButton = pStyles->GetPopupButton();
    qmtest::ClickAt(ScreenPoint(pButton->GetRect().CenterPoint()));
    CQXPRibbonGroupPopupToolBar* pGroupPopup = NULL;
    ASSERT_TRUE(qmtest::PumpUntil([&] {
        pGroupPopup = dynamic_cast<CQXPRibbonGroupPopupToolBar*>(pButton->GetCommandBar());
        return pGroupPopup && ::IsWindowVisible(pGroupPopup->GetSafeHwnd());
    }));
    pTheme->Clear();
    ::RedrawWindow(pGroupPopup->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    qmtest::PumpMessages();
    EXPECT_TRUE(pTheme->Drew("RIBBONGROUPCLIENT")) << "the group's copy";
    EXPECT_FALSE(pTheme->Drew("RIBBONGROUPS"));
    // The face shows where the group's copy leaves the popup uncovered.
    CRect rcGroupClient;
    pGroupPopup->GetClientRect(&rcGroupClient);
    const CRect rcCopy = pGroupPopup->GetGroupCopy()->GetRect();
    const COLORREF clrFace = pTheme->m_clrRibbonFace.GetColor();
    qmtest::DrawBarOffscreen(pGroupPopup, [&](CDC& dc) {
        EXPECT_EQ(clrFace, dc.GetPixel(rcGroupClient.right - 1, rcGroupClient.bottom - 1))
            << "copy " << rcCopy.right << "x" << rcCopy.bottom << " in " << rcGroupClient.right << "x"
            << rcGroupClient.bottom;
    });
    Shot("ribbon-drawing-group-popup.png", pGroupPopup);
}

// A group is at least as wide as its caption in the small-caption font.
TEST_F(RibbonDrawingTest, AGroupIsAsWideAsItsCaptionInTheSmallCaptionFont)
{
    CQXPRibbonGroup* pTables = pRibbon->GetTab(1)->GetGroup(0);
    pTables->SetCaption("Tables and their borders");
    pRibbon->SelectTab(1);
    // A small-caption font much larger than the ribbon's.
    LOGFONTA lf;
    ZeroMemory(&lf, sizeof(lf));
    lf.lfHeight = -30;
    lstrcpyA(lf.lfFaceName, "Tahoma");
    pTheme->m_bFollowSmCaptionFont = FALSE;
    pTheme->m_fontSmCaption.DeleteObject();
    ASSERT_TRUE(pTheme->m_fontSmCaption.CreateFontIndirect(&lf));
    Relayout();
    CClientDC dc(pRibbon);
    CFont* pOld = dc.SelectObject(&pTheme->m_fontSmCaption);
    const int cxSmall = dc.GetTextExtent(pTables->GetCaption()).cx;
    dc.SelectObject(pTheme->GetRibbonFont());
    const int cxRibbon = dc.GetTextExtent(pTables->GetCaption()).cx;
    dc.SelectObject(pOld);
    ASSERT_GT(cxSmall, cxRibbon + 40);
    EXPECT_GE(pTables->GetRect().Width(), cxSmall);
}

// A control of a group becomes a large button only when the bar's images
// hold its picture drawn at the bar's large-icon width, whatever that is.
TEST_F(RibbonDrawingTest, ALargeButtonNeedsItsOwnPictureAtTheBarsLargeWidth)
{
    ASSERT_TRUE(pRibbon->SelectTab(1));
    CQXPControl* pPaste = pRibbon->GetTab(1)->GetGroup(0)->GetAt(0);
    CQXPImageManager* pImages = pRibbon->GetImageManager();
    auto give = [&](int cx) {
        HICON h = qmtest::SolidIcon(RGB(0, 160, 0), cx);
        EXPECT_TRUE(pImages->SetIcon(h, ID_D_PASTE, cx, cx));
        ::DestroyIcon(h);
    };
    const struct {
        int nLarge;       // the bar's large-icon width
        int nPictures[2]; // the pictures it has (0: none)
        int nStyle;
    } cases[] = {
        {32, {16, 0}, qxribbon::kRibbonStyleSmall}, // a small picture scales, but is not its own
        {32, {16, 32}, qxribbon::kRibbonStyleLarge},
        {24, {16, 32}, qxribbon::kRibbonStyleSmall}, // none at 24
        {24, {24, 0}, qxribbon::kRibbonStyleLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nLarge);
        pImages->RemoveIcon(ID_D_PASTE);
        for (int cx : c.nPictures)
            if (cx)
                give(cx);
        pRibbon->SetLargeIconSize(CSize(c.nLarge, c.nLarge));
        pRibbon->OnRecalcLayout(); // the bar's size stays: it lays out anew
        Relayout();
        EXPECT_EQ(c.nStyle, pPaste->GetStyle());
    }
    pImages->RemoveIcon(ID_D_PASTE);
    pRibbon->SetLargeIconSize(CSize(0, 0));
}

} // namespace
