// Popups on real windows under a small work area: a list taller than the
// area scrolls (timer bands, wheel, keyboard) and a popup with a tear-off
// strip becomes a floating toolbar when its strip is dragged away.
#include <qx/commandbars.h>
#include <qx/popup.h>
#include <qx/themes.h>
#include <qx/toolbar.h>

#include <gtest/gtest.h>

#include <string>

#include <qmtest/barsite.h>
#include <qmtest/popupbar.h>
#include <qmtest/pump.h>

namespace {

const UINT kTearOffMessage = 0x2867;

class CScrollFrame : public qmtest::CBarSiteWnd {
public:
    int m_nTornOff = 0;
    WPARAM m_wTornBar = 0;
    LPARAM m_lTornPopup = 0;

    BOOL CreateFrame()
    {
        LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(NULL, IDC_ARROW));
        return CreateEx(0, lpszClass, "Popup scroll test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                        640, 400, NULL, NULL);
    }
    void PostNcDestroy() override {}

protected:
    afx_msg LRESULT OnTornOff(WPARAM wParam, LPARAM lParam)
    {
        m_nTornOff++;
        m_wTornBar = wParam;
        m_lTornPopup = lParam;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScrollFrame, CWnd)
    ON_MESSAGE(kTearOffMessage, OnTornOff)
END_MESSAGE_MAP()

class PopupScrollTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Keep the real cursor away from the popups so that only the
        // messages the tests send move "the mouse".
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        ASSERT_TRUE(frame.CreateFrame());
        pBars = CQXPCommandBars::CreateCommandBars(&frame);
        ASSERT_NE(nullptr, pBars);
        qmtest::PumpMessages();
    }
    void TearDown() override
    {
        qmtest::ReleasePopupBar(pPopup);
        qmtest::ReleaseBarsAndFrame(pBars, frame);
    }

    // A popup of nItems buttons with ids 100, 101, ... and a small fixed
    // work area (300 pixels high) for its placement.
    CQXPPopupBar* MakePopup(int nItems)
    {
        pPopup = CQXPPopupBar::CreateForOwner(pBars);
        pPopup->SetOwnerSite(&frame);
        pPopup->m_rcWorkArea = CRect(0, 0, 600, 300);
        for (int i = 0; i < nItems; i++) {
            CQXPControl* pControl = pPopup->GetControls()->Add(qxpControlButton, 100 + i);
            pControl->SetCaption(CString("Item ") + std::to_string(i).c_str());
            if (i % 7 == 6)
                pControl->SetBeginGroup(TRUE);
        }
        return pPopup;
    }

    void MouseMove(CPoint ptClient)
    {
        ::PostMessageA(pPopup->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(ptClient.x, ptClient.y));
    }

    BOOL Hidden(int nIndex) const { return (pPopup->GetControl(nIndex)->GetHideFlags() & qxpHideScroll) != 0; }

    // The colours of the popup's picture (as it draws itself) at the points.
    std::vector<COLORREF> PixelsOf(const std::vector<CPoint>& points)
    {
        CRect rcClient;
        pPopup->GetClientRect(&rcClient);
        HDC hdcScreen = ::GetDC(NULL);
        HDC hdc = ::CreateCompatibleDC(hdcScreen);
        HBITMAP hbm = ::CreateCompatibleBitmap(hdcScreen, rcClient.Width(), rcClient.Height());
        HGDIOBJ hOld = ::SelectObject(hdc, hbm);
        CDC dc;
        dc.Attach(hdc);
        pPopup->DrawCommandBar(&dc, rcClient);
        dc.Detach();
        std::vector<COLORREF> colors;
        for (const CPoint& pt : points)
            colors.push_back(::GetPixel(hdc, pt.x, pt.y));
        ::SelectObject(hdc, hOld);
        ::DeleteObject(hbm);
        ::DeleteDC(hdc);
        ::ReleaseDC(NULL, hdcScreen);
        return colors;
    }

    // Every control of [first, end) is shown inside the client area
    // between the bands, every other one is scrolled out.
    void ExpectVisibleRangeConsistent()
    {
        CRect rcClient;
        pPopup->GetClientRect(&rcClient);
        const CRect& rcTop = pPopup->GetScrollAreaRect(TRUE);
        const CRect& rcBottom = pPopup->GetScrollAreaRect(FALSE);
        int nTop = rcTop.IsRectEmpty() ? 0 : (int)rcTop.bottom;
        int nBottom = rcBottom.IsRectEmpty() ? (int)rcClient.bottom : (int)rcBottom.top;
        int nFirst = pPopup->GetFirstVisibleIndex();
        int nEnd = pPopup->GetEndVisibleIndex();
        ASSERT_LT(nFirst, nEnd);
        for (int i = 0; i < pPopup->GetControlCount(); i++) {
            BOOL bShown = i >= nFirst && i < nEnd;
            EXPECT_EQ(!bShown, Hidden(i)) << "control " << i;
            if (bShown) {
                CRect rc = pPopup->GetControl(i)->GetRect();
                EXPECT_GE(rc.top, nTop) << "control " << i;
                EXPECT_LE(rc.bottom, nBottom) << "control " << i;
            }
        }
        EXPECT_EQ(nFirst > 0, !rcTop.IsRectEmpty());
        EXPECT_EQ(nEnd < pPopup->GetControlCount(), !rcBottom.IsRectEmpty());
    }

    CScrollFrame frame;
    CQXPCommandBars* pBars = NULL;
    CQXPPopupBar* pPopup = NULL;
};

TEST_F(PopupScrollTest, ShortListDoesNotScroll)
{
    MakePopup(3);
    ASSERT_TRUE(pPopup->PopupAt(50, 20, NULL));
    EXPECT_FALSE(pPopup->IsScrolling());
    EXPECT_TRUE(pPopup->GetScrollAreaRect(TRUE).IsRectEmpty());
    EXPECT_TRUE(pPopup->GetScrollAreaRect(FALSE).IsRectEmpty());
    for (int i = 0; i < 3; i++)
        EXPECT_FALSE(Hidden(i));
}

// A shown popup whose items changed is laid out and placed again from the
// point it was opened at: it no longer fits below the point and opens
// upward from it.
TEST_F(PopupScrollTest, UpdateLocationLaysOutAndPlacesTheShownPopupAgain)
{
    MakePopup(2);
    ASSERT_TRUE(pPopup->PopupAt(50, 200, NULL));
    CRect rcFirst;
    pPopup->GetWindowRect(&rcFirst);
    ASSERT_EQ(CPoint(50, 200), rcFirst.TopLeft());
    for (int i = 2; i < 8; i++)
        pPopup->GetControls()->Add(qxpControlButton, 100 + i)->SetCaption("More");
    CRect rc = pPopup->UpdateLocation();
    CRect rcWindow;
    pPopup->GetWindowRect(&rcWindow);
    EXPECT_EQ(rc, rcWindow);
    EXPECT_EQ(pPopup->CalcLayout(0, 0), rcWindow.Size());
    EXPECT_GT(rcWindow.Height(), rcFirst.Height());
    EXPECT_EQ(200, rcWindow.bottom) << "no room below the point: the popup opens upward";
    EXPECT_EQ(50, rcWindow.left);
    EXPECT_TRUE(::IsWindowVisible(pPopup->GetSafeHwnd()));
    EXPECT_FALSE(pPopup->IsScrolling());
}

TEST_F(PopupScrollTest, TallListShowsBandsAndTimersScrollToTheEnds)
{
    const int nCount = 40;
    MakePopup(nCount);
    ASSERT_TRUE(pPopup->PopupAt(50, 20, NULL));
    ASSERT_TRUE(pPopup->IsScrolling());
    CRect rcWindow;
    pPopup->GetWindowRect(&rcWindow);
    EXPECT_LE(rcWindow.bottom, 300) << "the popup stays in the work area";
    EXPECT_EQ(0, pPopup->GetFirstVisibleIndex());
    EXPECT_LT(pPopup->GetEndVisibleIndex(), nCount);
    EXPECT_GT(pPopup->GetEndVisibleIndex(), 3);
    EXPECT_TRUE(pPopup->GetScrollAreaRect(TRUE).IsRectEmpty());
    EXPECT_EQ(16, pPopup->GetScrollAreaRect(FALSE).Height());
    ExpectVisibleRangeConsistent();

    // Resting on the bottom band scrolls down to the last item, then the
    // timer stops.
    HWND hWnd = pPopup->GetSafeHwnd();
    MouseMove(pPopup->GetScrollAreaRect(FALSE).CenterPoint());
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pPopup->GetEndVisibleIndex() == nCount; }, 15000));
    qmtest::PumpFor(300);
    EXPECT_EQ(nCount, pPopup->GetEndVisibleIndex());
    EXPECT_GT(pPopup->GetFirstVisibleIndex(), 0);
    EXPECT_TRUE(pPopup->GetScrollAreaRect(FALSE).IsRectEmpty());
    EXPECT_FALSE(::KillTimer(hWnd, QXP_TID_SCROLLDOWN)) << "the down timer ended at the last item";
    ExpectVisibleRangeConsistent();

    // The top band scrolls back to the first item.
    MouseMove(pPopup->GetScrollAreaRect(TRUE).CenterPoint());
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pPopup->GetFirstVisibleIndex() == 0; }, 15000));
    qmtest::PumpFor(300);
    EXPECT_EQ(0, pPopup->GetFirstVisibleIndex());
    EXPECT_TRUE(pPopup->GetScrollAreaRect(TRUE).IsRectEmpty());
    EXPECT_FALSE(::KillTimer(hWnd, QXP_TID_SCROLLUP)) << "the up timer ended at the first item";
    ExpectVisibleRangeConsistent();

    // Closing the popup leaves no timer behind.
    pPopup->SetTrackingMode(FALSE);
    EXPECT_FALSE(::KillTimer(hWnd, QXP_TID_SCROLLDOWN));
    EXPECT_FALSE(::KillTimer(hWnd, QXP_TID_SCROLLUP));
}

TEST_F(PopupScrollTest, ScrollBandsShowTrianglesInTheButtonTextColour)
{
    MakePopup(40);
    ASSERT_TRUE(pPopup->PopupAt(50, 20, NULL));
    ASSERT_TRUE(pPopup->IsScrolling());
    pPopup->ScrollItems(3); // both bands show
    const CRect rcBottom = pPopup->GetScrollAreaRect(FALSE);
    const CRect rcTop = pPopup->GetScrollAreaRect(TRUE);
    ASSERT_FALSE(rcBottom.IsRectEmpty());
    ASSERT_FALSE(rcTop.IsRectEmpty());
    const COLORREF clrArrow = ToolkitColorManager::Instance()->GetColor(COLOR_BTNTEXT);
    // Corners 3 pixels either side of the middle, the tip 3 pixels down
    // (bottom band) or up (top band); nothing beyond.
    for (int nBand = 0; nBand < 2; nBand++) {
        SCOPED_TRACE(nBand ? "top band" : "bottom band");
        CPoint c = (nBand ? rcTop : rcBottom).CenterPoint();
        int nTip = nBand ? -3 : 3;
        std::vector<COLORREF> on = PixelsOf({CPoint(c.x - 3, c.y), CPoint(c.x + 3, c.y), CPoint(c.x, c.y + nTip),
                                             CPoint(c.x, c.y + nTip / 3)});
        for (COLORREF clr : on)
            EXPECT_EQ(clrArrow, clr);
        std::vector<COLORREF> off = PixelsOf({CPoint(c.x + 5, c.y), CPoint(c.x - 5, c.y), CPoint(c.x, c.y - nTip),
                                              CPoint(c.x, c.y + 2 * nTip)});
        for (COLORREF clr : off)
            EXPECT_NE(clrArrow, clr);
    }
}

TEST_F(PopupScrollTest, WheelAndKeyboardScrollAndStopAtTheEnds)
{
    const int nCount = 40;
    MakePopup(nCount);
    ASSERT_TRUE(pPopup->PopupAt(50, 20, NULL));
    ASSERT_TRUE(pPopup->IsScrolling());
    HWND hWnd = pPopup->GetSafeHwnd();
    int nEnd = pPopup->GetEndVisibleIndex();

    // Three notches toward the user show three more items.
    ::SendMessageA(hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)(-3 * WHEEL_DELTA)), 0);
    EXPECT_EQ(nEnd + 3, pPopup->GetEndVisibleIndex());
    EXPECT_GT(pPopup->GetFirstVisibleIndex(), 0);
    ExpectVisibleRangeConsistent();

    // Far more notches than items stop at either end.
    for (int i = 0; i < 60; i++)
        ::SendMessageA(hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)(-WHEEL_DELTA)), 0);
    EXPECT_EQ(nCount, pPopup->GetEndVisibleIndex());
    ExpectVisibleRangeConsistent();
    for (int i = 0; i < 60; i++)
        ::SendMessageA(hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)WHEEL_DELTA), 0);
    EXPECT_EQ(0, pPopup->GetFirstVisibleIndex());
    ExpectVisibleRangeConsistent();

    // Selecting a scrolled-out item brings it into view, at either end.
    struct {
        int nSelect;
    } cases[] = {{nCount - 1}, {nCount / 2}, {0}};
    for (const auto& c : cases) {
        pPopup->SetSelected(c.nSelect, 2);
        EXPECT_FALSE(Hidden(c.nSelect)) << "select " << c.nSelect;
        EXPECT_LE(pPopup->GetFirstVisibleIndex(), c.nSelect);
        EXPECT_GT(pPopup->GetEndVisibleIndex(), c.nSelect);
        ExpectVisibleRangeConsistent();
    }

    // Scrolled to the end, closed and shown again: the list starts at its
    // top with nothing left scrolled out from the last time.
    pPopup->SetSelected(nCount - 1, 2);
    ASSERT_EQ(nCount, pPopup->GetEndVisibleIndex());
    pPopup->SetTrackingMode(FALSE);
    ASSERT_TRUE(pPopup->PopupAt(50, 20, NULL));
    ASSERT_TRUE(pPopup->IsScrolling());
    EXPECT_EQ(0, pPopup->GetFirstVisibleIndex());
    EXPECT_FALSE(Hidden(0));
    ExpectVisibleRangeConsistent();
}

class TearOffTest : public PopupScrollTest {
protected:
    void MakeTearOff()
    {
        MakePopup(4);
        pPopup->m_rcWorkArea.SetRectEmpty();
        pPopup->m_bTearOffPopup = TRUE;
        pPopup->m_strTearOffCaption = "Torn";
        pPopup->m_nTearOffId = 0xE880;
        ASSERT_TRUE(pPopup->PopupAt(100, 100, NULL));
        rcStrip = pPopup->GetTearOffRect();
        ASSERT_FALSE(rcStrip.IsRectEmpty());
        EXPECT_GE(pPopup->GetControl(0)->GetRect().top, rcStrip.bottom) << "the strip lies above the first item";
    }
    // Presses the button on the strip; the moves and the release are
    // already queued for the drag loop.
    void DragStrip(std::initializer_list<CPoint> moves)
    {
        HWND hWnd = pPopup->GetSafeHwnd();
        for (CPoint pt : moves)
            ::PostMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        CPoint ptLast = *(moves.end() - 1);
        ::PostMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(ptLast.x, ptLast.y));
        CPoint ptDown = rcStrip.CenterPoint();
        ::SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptDown.x, ptDown.y));
        qmtest::PumpMessages();
    }
    CRect rcStrip;
};

TEST_F(TearOffTest, DraggingTheStripAwayMakesAFloatingToolbarAndClosesThePopup)
{
    MakeTearOff();
    CPoint ptAway = rcStrip.CenterPoint() + CPoint(120, 150);
    // Where that lies on screen: the closed popup's window goes.
    CPoint ptScreen = ptAway;
    HWND hPopup = pPopup->GetSafeHwnd();
    ::ClientToScreen(hPopup, &ptScreen);
    DragStrip({rcStrip.CenterPoint() + CPoint(3, 0), ptAway});

    CQXPToolBar* pTorn = pBars->GetToolBar(0xE880);
    ASSERT_NE(nullptr, pTorn);
    EXPECT_TRUE(pTorn->IsFloating());
    EXPECT_TRUE(::IsWindowVisible(pTorn->GetSafeHwnd()));
    EXPECT_EQ(std::string("Torn"), std::string(pTorn->GetTitle()));
    std::vector<CQXPControl*> items; // the caption's own buttons aside
    for (int i = 0; i < pTorn->GetControlCount(); i++)
        if (!pTorn->GetControl(i)->IsTemporary())
            items.push_back(pTorn->GetControl(i));
    ASSERT_EQ(4u, items.size());
    for (int i = 0; i < 4; i++) {
        CQXPControl* pControl = items[(size_t)i];
        EXPECT_EQ(100 + i, pControl->GetID());
        EXPECT_EQ(std::string(pPopup->GetControl(i)->GetCaption()), std::string(pControl->GetCaption()));
        EXPECT_TRUE(pControl->IsVisible());
        EXPECT_EQ(pTorn, pControl->GetParent());
    }
    // The toolbar sits under the point the mouse was dragged to.
    CRect rcTorn;
    ::GetWindowRect(pTorn->GetSafeHwnd(), &rcTorn);
    EXPECT_EQ(ptScreen.y - 10, rcTorn.top);
    EXPECT_NEAR(ptScreen.x, rcTorn.CenterPoint().x, 1);

    EXPECT_FALSE(pPopup->IsTrackingMode());
    EXPECT_FALSE(::IsWindow(hPopup));
    EXPECT_EQ(::GetCapture(), (HWND)NULL);
    EXPECT_EQ(1, frame.m_nTornOff);
    EXPECT_EQ((WPARAM)pTorn, frame.m_wTornBar);
    EXPECT_EQ((LPARAM)pPopup, frame.m_lTornPopup);
}

TEST_F(TearOffTest, DraggingBackOntoTheStripKeepsThePopup)
{
    MakeTearOff();
    CPoint ptAway = rcStrip.CenterPoint() + CPoint(0, 150);
    DragStrip({ptAway, rcStrip.CenterPoint() + CPoint(2, 2)});

    EXPECT_TRUE(pPopup->IsTrackingMode());
    EXPECT_TRUE(::IsWindowVisible(pPopup->GetSafeHwnd()));
    CQXPToolBar* pTorn = pBars->GetToolBar(0xE880);
    if (pTorn) {
        EXPECT_FALSE(::IsWindowVisible(pTorn->GetSafeHwnd())) << "the toolbar shown on the way went away";
    }
    EXPECT_EQ(::GetCapture(), (HWND)NULL);
}

TEST_F(TearOffTest, StripIsAsTallAsTheThemeMeasuresItAndDrawnByIt)
{
    // "Windows 2000" measures 8 pixels and fills the strip with the
    // caption colours; "Office XP" measures 9.
    const struct {
        int nTheme;
        int nHeight;
    } themes[] = {{qxpThemeWindows2000, 8}, {qxpThemeOfficeXP, 9}};
    for (const auto& t : themes) {
        SCOPED_TRACE(t.nTheme);
        CQXPThemePainter* pTheme = CreateThemePainter(t.nTheme);
        pTheme->RefreshMetrics();
        pBars->SetPaintManager(pTheme);
        qmtest::ReleasePopupBar(pPopup);
        MakeTearOff();
        EXPECT_EQ(t.nHeight, rcStrip.Height());
        EXPECT_EQ(rcStrip.bottom, pPopup->GetControl(0)->GetRect().top);
        if (t.nTheme == qxpThemeWindows2000) {
            std::vector<COLORREF> colors = PixelsOf({rcStrip.CenterPoint()});
            EXPECT_EQ(pPopup->GetPaintManager()->GetColor(COLOR_INACTIVECAPTION), colors[0]);
        }
    }
}

TEST_F(TearOffTest, PopupWithoutTheFlagHasNoStrip)
{
    MakePopup(2);
    pPopup->m_rcWorkArea.SetRectEmpty();
    ASSERT_TRUE(pPopup->PopupAt(100, 100, NULL));
    EXPECT_TRUE(pPopup->GetTearOffRect().IsRectEmpty());
    // A press at the top border is an ordinary press: nothing is torn off.
    ::SendMessageA(pPopup->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 1));
    qmtest::PumpMessages();
    EXPECT_EQ(0, frame.m_nTornOff);
    EXPECT_TRUE(pPopup->IsTrackingMode());
}

} // namespace
