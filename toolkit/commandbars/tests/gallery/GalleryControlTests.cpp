// The gallery control on a popup bar of a test frame under Wine: creation
// by type, layout by the bar, hot tracking, previews, pressing, keys, the
// wheel, list changes and persistence.
#include <qx/commandbars.h>
#include <qx/controlcombo.h>
#include <qx/gallery.h>
#include <qx/paintmanager.h>
#include <qx/toolbar.h>
#include <qx/popup.h>
#include <qx/propexchange.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <oleacc.h>

#include <qmtest/barsite.h>
#include <qmtest/accessible.h>
#include <qmtest/archivebytes.h>
#include <qmtest/mouse.h>
#include <qmtest/popupbar.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>
#include <qmtest/script.h>

namespace {

const int kGalleryId = 32950;
const int kCommand = 0x10000;     // recorded WM_COMMAND ids carry this bit
const int kComboNotice = 0x20000; // and combo-box notifications this one
const int kComboId = 32951;

// A top-level window that records the gallery's notifications and the
// commands, in their order.
class CGalleryFrame : public qmtest::CBarSiteWnd {
public:
    std::vector<int> events;

    BOOL CreateFrame()
    {
        LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(NULL, IDC_ARROW));
        return CreateEx(0, lpszClass, "Gallery test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640,
                        400, NULL, NULL);
    }
    void PostNcDestroy() override {}
    // The gallery's command has a handler here, so the bar keeps it enabled.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if ((nID == (UINT)kGalleryId || nID == (UINT)kComboId) && nCode == (int)CN_UPDATE_COMMAND_UI) {
            static_cast<CCmdUI*>(pExtra)->Enable(TRUE);
            return TRUE;
        }
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (lParam == 0) {
            events.push_back(kCommand | LOWORD(wParam));
            return TRUE;
        }
        return CWnd::OnCommand(wParam, lParam);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMANDBARS_CONTROLNOTIFY) {
            NMQXPCONTROL* pNM = reinterpret_cast<NMQXPCONTROL*>(lParam);
            if (QXPIsGalleryNotification(pNM))
                events.push_back((int)pNM->hdr.code);
            else if (pNM && pNM->pControl && pNM->pControl->GetType() == qxpControlComboBox)
                events.push_back(kComboNotice | (int)pNM->hdr.code);
            return 0;
        }
        return CBarSiteWnd::WindowProc(message, wParam, lParam);
    }
};

class GalleryControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        ASSERT_TRUE(frame.CreateFrame());
        pBars = CQXPCommandBars::CreateCommandBars(&frame);
        ASSERT_NE(nullptr, pBars);
        qmtest::PumpMessages();
    }
    void TearDown() override
    {
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        qmtest::ReleasePopupBar(pPopup);
        qmtest::ReleaseBarsAndFrame(pBars, frame);
    }

    // A popup holding one gallery (made by the collection's factory) linked
    // to a gallery action: label "Colours", eight 40 x 30 items with ids
    // 1 .. 8, label "More", four more items 9 .. 12.
    void MakeGalleryPopup(BOOL bFollowingButton = FALSE)
    {
        pPopup = CQXPPopupBar::CreateForOwner(pBars);
        pPopup->SetOwnerSite(&frame);
        pGallery = dynamic_cast<CQXPControlGallery*>(pPopup->GetControls()->Add(qxpControlGallery, kGalleryId));
        ASSERT_NE(nullptr, pGallery);
        LinkAction();
        GalleryItemList* pItems = pAction->GetItems();
        pItems->SetItemSize(40, 30);
        pItems->AddLabel("Colours");
        for (int i = 1; i <= 8; ++i)
            pItems->AddItem(i, ("Colour " + std::to_string(i)).c_str());
        pItems->AddLabel("More");
        for (int i = 9; i <= 12; ++i)
            pItems->AddItem(i, ("Colour " + std::to_string(i)).c_str());
        pGallery->SetWidth(120 + 16);
        pGallery->SetHeight(100);
        if (bFollowingButton)
            pPopup->GetControls()->Add(qxpControlButton, 200)->SetCaption("After");
    }

    // A gallery without a drop-down bar (the standard scroll bar) on a bar,
    // with nItems items of cx x cy.
    void AddInlineGallery(CQXPCommandBar* pBar, int nItems, int cx, int cy)
    {
        pGallery = new CQXPControlGallery;
        pBar->GetControls()->AddControl(pGallery, kGalleryId);
        LinkAction();
        pAction->GetItems()->SetItemSize(cx, cy);
        for (int i = 1; i <= nItems; ++i)
            pAction->GetItems()->AddItem(i, "Item");
    }
    void LinkAction()
    {
        pAction = new CQXPControlGalleryAction;
        pBars->GetActions()->AddAction(kGalleryId, pAction);
        pGallery->SetAction(pAction);
    }

    void Show()
    {
        ASSERT_TRUE(pPopup->PopupAt(50, 20, NULL));
        qmtest::PumpMessages();
        ASSERT_FALSE(pGallery->GetRect().IsRectEmpty());
    }

    CPoint ItemPoint(int nIndex, CPoint offset = CPoint(10, 10))
    {
        CRect rc = pGallery->GetItemDrawRect(nIndex);
        return rc.TopLeft() + offset;
    }
    CPoint OnScreen(CPoint ptClient) const
    {
        ::ClientToScreen(pGallery->GetParent()->GetSafeHwnd(), &ptClient);
        return ptClient;
    }
    // A real mouse event at a client point of the gallery's bar, handled
    // before this returns.
    void Input(CPoint ptClient, DWORD dwFlags)
    {
        qmtest::MouseEventAt(OnScreen(ptClient), dwFlags);
        ASSERT_TRUE(qmtest::PumpUntil([] { return HIWORD(::GetQueueStatus(QS_INPUT)) == 0; }));
        qmtest::PumpMessages();
    }

    CGalleryFrame frame;
    CQXPCommandBars* pBars = NULL;
    CQXPPopupBar* pPopup = NULL;
    CQXPControlGallery* pGallery = NULL;
    CQXPControlGalleryAction* pAction = NULL;
};

TEST(GalleryCreation, TheFactoryMakesTypeTen)
{
    CQXPControl* pControl = CQXPControls::CreateControlOfType(qxpControlGallery, 1, FALSE, CString());
    CQXPControlGallery* pGallery = dynamic_cast<CQXPControlGallery*>(pControl);
    ASSERT_NE(nullptr, pGallery);
    EXPECT_EQ(qxpControlGallery, pGallery->GetType());
    EXPECT_EQ(120, pGallery->GetWidth());
    EXPECT_EQ(60, pGallery->GetHeight());
    EXPECT_EQ(0x40u, pGallery->GetFlags());
    EXPECT_EQ(-1, pGallery->GetCheckedItem());
    EXPECT_EQ(-1, pGallery->GetHotItem());
    EXPECT_TRUE(pGallery->m_bShowLabels);
    EXPECT_TRUE(pGallery->m_bShowScrollBar);
    EXPECT_FALSE(pGallery->m_bShowBorders);
    // No action, no items: every item query answers none.
    EXPECT_EQ(0, pGallery->GetItemCount());
    EXPECT_EQ(nullptr, pGallery->GetItem(0));
    EXPECT_STREQ("", pGallery->GetItemCaption(0));
    EXPECT_EQ(-1, pGallery->HitTestItem(CPoint(5, 5)));
    EXPECT_EQ(-1, pGallery->FindItem(-1, "a", FALSE));
    pControl->InternalRelease();

    CObject* pObject = RUNTIME_CLASS(CQXPControlGallery)->CreateObject();
    EXPECT_NE(nullptr, dynamic_cast<CQXPControlGallery*>(pObject));
    delete pObject;
}

TEST_F(GalleryControlTest, TheBarLaysTheItemsOutInRows)
{
    MakeGalleryPopup();
    Show();
    CRect rc = pGallery->GetRect();
    EXPECT_EQ(100, rc.Height());
    CRect rcItems = pGallery->GetItemsRect();
    EXPECT_EQ(rc.left, rcItems.left);
    EXPECT_EQ(rc.top, rcItems.top);
    // A gallery added as a popup control has a drop-down bar: the scroll
    // bar is the three-button column, 16 wide.
    ASSERT_NE(nullptr, pGallery->GetCommandBar());
    EXPECT_EQ(rc.right - 16, rcItems.right);
    EXPECT_EQ(rc.bottom, rcItems.bottom);
    // Label row, then three items a row.
    EXPECT_EQ(CRect(rcItems.left, rcItems.top, rcItems.right, rcItems.top + 19), pGallery->GetItemDrawRect(0));
    EXPECT_EQ(CRect(rcItems.left, rcItems.top + 20, rcItems.left + 40, rcItems.top + 50), pGallery->GetItemDrawRect(1));
    EXPECT_EQ(CRect(rcItems.left + 80, rcItems.top + 20, rcItems.left + 120, rcItems.top + 50),
              pGallery->GetItemDrawRect(3));
    EXPECT_EQ(CRect(rcItems.left, rcItems.top + 50, rcItems.left + 40, rcItems.top + 80), pGallery->GetItemDrawRect(4));
    // 20 + 3 rows of 30, label 20, 2 rows of 30.
    EXPECT_EQ(20 + 90 + 20 + 60, pGallery->GetContentHeight());
    const ScrollBarGeometry& geo = pGallery->GetScrollBarGeometry();
    EXPECT_EQ(rcItems.right, geo.rcBar.left);
    EXPECT_EQ(rc.top + 19, geo.pxFirstArrowEnd);
    EXPECT_EQ(rc.top + 38, geo.pxPopupStart);
    EXPECT_EQ(189, geo.nMax);
    EXPECT_EQ(100, geo.nPage);
}

TEST_F(GalleryControlTest, BottomGapBeforeAFollowingControl)
{
    MakeGalleryPopup(TRUE);
    Show();
    EXPECT_TRUE(pGallery->HasBottomGap());
    EXPECT_EQ(pGallery->GetRect().bottom - 2, pGallery->GetItemsRect().bottom);
    EXPECT_EQ(pGallery->GetRect().bottom - 2, pGallery->GetScrollBarRect().bottom);
    pGallery->m_bShowBorders = TRUE;
    EXPECT_FALSE(pGallery->HasBottomGap());
    EXPECT_EQ(pGallery->GetRect().bottom - 1, pGallery->GetItemsRect().bottom);
}

TEST_F(GalleryControlTest, HoverPreviewsAfterTheDelayAndExecuteApplies)
{
    MakeGalleryPopup();
    Show();
    CPoint pt = ItemPoint(2);
    qmtest::MouseEventAt(OnScreen(pt), MOUSEEVENTF_MOVE);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pGallery->GetHotItem() == 2; }));
    EXPECT_TRUE(frame.events.empty()) << "the mouse previews only after resting";
    ASSERT_TRUE(qmtest::PumpUntil([&] { return frame.events.size() >= 2; }, 3000));
    EXPECT_EQ((std::vector<int>{GalleryPreviewStart, GalleryPreviewChange}), frame.events);
    EXPECT_TRUE(pGallery->IsPreviewActive());

    // Another item changes the preview at once.
    frame.events.clear();
    pt = ItemPoint(3);
    qmtest::MouseEventAt(OnScreen(pt), MOUSEEVENTF_MOVE);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pGallery->GetHotItem() == 3; }));
    EXPECT_EQ((std::vector<int>{GalleryPreviewChange}), frame.events);

    // Executing applies the preview before the command goes.
    frame.events.clear();
    pGallery->OnExecute();
    qmtest::PumpMessages();
    ASSERT_FALSE(frame.events.empty());
    EXPECT_EQ(GalleryPreviewApply, frame.events.front());
    EXPECT_NE(frame.events.end(), std::find(frame.events.begin(), frame.events.end(), kCommand | kGalleryId));
    EXPECT_FALSE(pGallery->IsPreviewActive());
}

TEST_F(GalleryControlTest, KeyboardPreviewsAtOnceAndClosingCancels)
{
    MakeGalleryPopup();
    Show();
    pGallery->SetSelectedItem(4);
    EXPECT_EQ((std::vector<int>{GalleryPreviewStart, GalleryPreviewChange}), frame.events);
    frame.events.clear();
    pGallery->SetSelectedItem(5);
    EXPECT_EQ((std::vector<int>{GalleryPreviewChange}), frame.events);
    frame.events.clear();
    pGallery->OnSetPopup(FALSE);
    EXPECT_EQ((std::vector<int>{GalleryPreviewCancel}), frame.events);
    EXPECT_FALSE(pGallery->IsPreviewActive());
    frame.events.clear();
    pGallery->SetSelectedItem(-1);
    EXPECT_TRUE(frame.events.empty()) << "nothing to cancel";
}

TEST_F(GalleryControlTest, KeysMoveTheHotItemWhileSelected)
{
    MakeGalleryPopup();
    Show();
    ASSERT_TRUE(pPopup->SetSelected(pGallery->GetIndex(), 2));
    EXPECT_EQ(1, pGallery->GetHotItem()) << "entered forwards: the first selectable item";
    const struct {
        UINT key;
        int hot;
        int result;
    } keys[] = {
        {VK_RIGHT, 2, 1},
        {VK_DOWN, 5, 1},
        {VK_LEFT, 4, 1},
        {VK_END, 13, 1},
        {VK_HOME, 1, 1},
        {VK_UP, 1, 0},
        {VK_F5, 1, 0},
    };
    for (const auto& k : keys) {
        EXPECT_EQ(k.result, pGallery->OnHookKeyDown(k.key, 0)) << k.key;
        EXPECT_EQ(k.hot, pGallery->GetHotItem()) << k.key;
    }
    // End scrolled the last item into view; Home back to the top (with
    // its label).
    pGallery->OnHookKeyDown(VK_END, 0);
    EXPECT_EQ(90, pGallery->GetScrollOffset());
    pGallery->OnHookKeyDown(VK_HOME, 0);
    EXPECT_EQ(0, pGallery->GetScrollOffset());
}

TEST_F(GalleryControlTest, PressThenMoveFivePixelsBeginsADrag)
{
    MakeGalleryPopup();
    Show();
    CPoint pt = ItemPoint(1);
    // A press released after a 4-pixel move is a click: it executes.
    Input(pt, MOUSEEVENTF_MOVE);
    Input(pt, MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(1, pGallery->GetHotItem());
    EXPECT_TRUE(pGallery->IsPressed());
    Input(pt + CPoint(0, 4), MOUSEEVENTF_MOVE);
    Input(pt + CPoint(0, 4), MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.events.empty(); }));
    EXPECT_EQ((std::vector<int>{kCommand | kGalleryId}), frame.events);

    // Five pixels from the press begin a drag, once per press.
    frame.events.clear();
    if (!::IsWindowVisible(pPopup->GetSafeHwnd()))
        Show();
    Input(pt, MOUSEEVENTF_MOVE);
    Input(pt, MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(pGallery->IsPressed());
    Input(pt + CPoint(4, 4), MOUSEEVENTF_MOVE);
    EXPECT_TRUE(frame.events.empty()) << "four pixels are still a click";
    Input(pt + CPoint(5, 0), MOUSEEVENTF_MOVE);
    EXPECT_EQ((std::vector<int>{GalleryBeginDrag}), frame.events);
    Input(pt + CPoint(0, 9), MOUSEEVENTF_MOVE);
    EXPECT_EQ(1u, frame.events.size()) << "one drag per press";

    // Labels are never hot; the press ends there and runs nothing.
    Input(ItemPoint(0, CPoint(30, 5)), MOUSEEVENTF_MOVE);
    EXPECT_EQ(-1, pGallery->GetHotItem());
    Input(ItemPoint(0, CPoint(30, 5)), MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(1u, frame.events.size());
}

TEST_F(GalleryControlTest, WheelAndScrollBarScrollWithinTheContent)
{
    MakeGalleryPopup();
    Show();
    EXPECT_TRUE(pGallery->OnHookMouseWheel(0, -120, CPoint()));
    EXPECT_EQ(90, pGallery->GetScrollOffset()); // 3 x 30, the end
    EXPECT_TRUE(pGallery->OnHookMouseWheel(0, -120, CPoint()));
    EXPECT_EQ(90, pGallery->GetScrollOffset());
    EXPECT_TRUE(pGallery->OnHookMouseWheel(0, 120, CPoint()));
    EXPECT_EQ(0, pGallery->GetScrollOffset());

    // A click on the down arrow scrolls one item height.
    const ScrollBarGeometry& geo = pGallery->GetScrollBarGeometry();
    CPoint ptDown(geo.rcBar.left + 2, geo.pxSecondArrowStart + 2);
    DWORD dwStart = ::GetTickCount();
    qmtest::ClickAt(OnScreen(ptDown));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pGallery->GetScrollOffset() > 0 && !pGallery->IsScrollAnimating(); }));
    // The column's buttons scroll smoothly: in eighths of the distance
    // after a slow press, 40 ms apart, and the click returns at the end.
    EXPECT_GE(::GetTickCount() - dwStart, 200u);
    EXPECT_FALSE(pGallery->IsScrollAnimating());
    EXPECT_EQ(30, pGallery->GetScrollOffset());
    EXPECT_EQ(30, pGallery->GetScrollBarGeometry().nPos);
    pGallery->DoScroll(SB_BOTTOM, 0);
    EXPECT_EQ(90, pGallery->GetScrollOffset());
    pGallery->DoScroll(SB_THUMBTRACK, 45);
    EXPECT_EQ(45, pGallery->GetScrollOffset());
    pGallery->ScrollTo(-20);
    EXPECT_EQ(0, pGallery->GetScrollOffset());
}

TEST_F(GalleryControlTest, ChangingTheListLaysOutAgainBeforeUse)
{
    MakeGalleryPopup();
    Show();
    pGallery->ScrollTo(90);
    pGallery->SetSelectedItem(12);
    GalleryItemList* pItems = pAction->GetItems();
    // Freeing items under the gallery: the next hit test, paint and key
    // work on the new list.
    while (pItems->GetItemCount() > 3)
        pItems->Remove(pItems->GetItemCount() - 1);
    CPoint pt = pGallery->GetItemsRect().TopLeft() + CPoint(10, 30);
    EXPECT_EQ(1, pGallery->HitTestItem(pt));
    EXPECT_EQ(0, pGallery->GetScrollOffset()) << "a shrunken content pulls the offset back";
    pPopup->Invalidate();
    pPopup->UpdateWindow();
    qmtest::PumpMessages();
    pItems->RemoveAll();
    pPopup->Invalidate();
    pPopup->UpdateWindow();
    EXPECT_EQ(-1, pGallery->HitTestItem(pt));
    ASSERT_TRUE(pPopup->SetSelected(pGallery->GetIndex(), 2));
    pGallery->OnHookKeyDown(VK_HOME, 0);
    EXPECT_EQ(-1, pGallery->GetHotItem());
}

TEST_F(GalleryControlTest, FindsByPrefixAndExactly)
{
    MakeGalleryPopup();
    EXPECT_EQ(1, pGallery->FindItem(-1, "colour 1", TRUE));
    EXPECT_EQ(11, pGallery->FindItem(1, "COLOUR 1", FALSE)); // "Colour 10"
    EXPECT_EQ(1, pGallery->FindItem(13, "COLOUR 1", FALSE)) << "wraps around";
    EXPECT_EQ(2, pGallery->FindItem(-1, "Colour 2", FALSE));
    EXPECT_EQ(-1, pGallery->FindItem(-1, "Colour 99", FALSE));
}

TEST(GalleryNotifications, ASiteTellsPreviewsFromSpinsByTheControlsType)
{
    CQXPControlGallery gallery;
    CQXPControl* pEdit = CQXPControls::CreateControlOfType(qxpControlEdit, 1, FALSE, CString());
    ASSERT_NE(nullptr, pEdit);
    const struct {
        CQXPControl* pControl;
        UINT nCode;
        BOOL bGallery;
    } cases[] = {
        {&gallery, GalleryPreviewStart, TRUE},
        {&gallery, GalleryPreviewCancel, TRUE},
        {&gallery, GalleryBeginDrag, TRUE},
        {&gallery, QXP_CN_EXECUTE, FALSE},
        {&gallery, GalleryBeginDrag + 1, FALSE},
        {pEdit, GalleryPreviewStart, FALSE}, // the up spin
        {pEdit, GalleryPreviewCancel, FALSE},
        {NULL, GalleryPreviewStart, FALSE},
    };
    for (const auto& c : cases) {
        NMQXPCONTROL nm = {};
        nm.hdr.code = c.nCode;
        nm.pControl = c.pControl;
        EXPECT_EQ(c.bGallery, QXPIsGalleryNotification(&nm)) << std::hex << c.nCode;
    }
    EXPECT_FALSE(QXPIsGalleryNotification(NULL));
    pEdit->InternalRelease();
}

TEST_F(GalleryControlTest, ItemsShowTheirOwnTipsOverTheirRectangles)
{
    MakeGalleryPopup();
    pAction->GetItems()->GetItem(2)->SetTooltip("The second colour");
    Show();
    const struct {
        int nItem;
        const char* tip; // null: no tip
    } cases[] = {{2, "The second colour"}, {3, NULL}};
    for (const auto& c : cases) {
        TOOLINFOA ti = {};
        ti.cbSize = sizeof(ti);
        INT_PTR nTool = static_cast<CWnd*>(pPopup)->OnToolHitTest(ItemPoint(c.nItem), &ti);
        if (!c.tip) {
            EXPECT_EQ(-1, nTool) << "an item without a tip on a gallery without one";
            continue;
        }
        // The tool is the item: its id + 1, its visible rectangle.
        EXPECT_EQ(c.nItem + 1, nTool);
        EXPECT_EQ(pGallery->GetItemDrawRect(c.nItem), CRect(ti.rect));
        EXPECT_EQ(pPopup->GetSafeHwnd(), ti.hwnd);
        ASSERT_NE(nullptr, ti.lpszText);
        EXPECT_STREQ(c.tip, ti.lpszText);
        free(ti.lpszText);
    }
}

TEST_F(GalleryControlTest, ResizableGalleriesWithItemsAndTheirPopupsPlace)
{
    MakeGalleryPopup();
    EXPECT_FALSE(pGallery->IsCustomizeResizeAllow());
    EXPECT_EQ(0, pGallery->GetResizeFlags());
    pGallery->m_bResizable = TRUE;
    EXPECT_TRUE(pGallery->IsCustomizeResizeAllow());
    EXPECT_EQ(3, pGallery->GetResizeFlags()) << "width and height";
    pAction->GetItems()->RemoveAll();
    EXPECT_FALSE(pGallery->IsCustomizeResizeAllow()) << "nothing to show";

    // The drop-down of a gallery opens over it, from its top left corner.
    CRect rc(10, 20, 110, 80);
    pGallery->AdjustExcludeRect(rc, FALSE);
    EXPECT_EQ(CRect(9, 20, 9, 20), rc);
}

TEST_F(GalleryControlTest, TheDropDownOfAToolbarGalleryOpensOverIt)
{
    CQXPToolBar* pToolBar = pBars->Add("Gallery bar", qxpBarTop);
    ASSERT_NE(nullptr, pToolBar);
    pGallery = dynamic_cast<CQXPControlGallery*>(pToolBar->GetControls()->Add(qxpControlGallery, kGalleryId));
    ASSERT_NE(nullptr, pGallery);
    LinkAction();
    pAction->GetItems()->SetItemSize(24, 24);
    for (int i = 1; i <= 12; ++i)
        pAction->GetItems()->AddItem(i, "Item");
    ASSERT_NE(nullptr, pGallery->GetCommandBar()) << "made as a popup control: it has a drop-down";
    pGallery->GetCommandBar()->GetControls()->Add(qxpControlButton, 201)->SetCaption("More");
    pGallery->SetWidth(4 * 24 + 16);
    pGallery->SetHeight(48);
    pBars->RecalcFrameLayout();
    qmtest::PumpMessages();

    // A click on the popup button (the column's third button).
    const ScrollBarGeometry& geo = pGallery->GetScrollBarGeometry();
    ASSERT_GT(geo.pxPopupStart, 0);
    CPoint ptPopup(geo.rcBar.left + 3, (geo.pxPopupStart + geo.rcBar.bottom) / 2);
    qmtest::ClickAt(OnScreen(ptPopup));
    CWnd* pDropDown = pGallery->GetCommandBar();
    ASSERT_TRUE(qmtest::PumpUntil([&] { return ::IsWindowVisible(pDropDown->GetSafeHwnd()) != FALSE; }));
    CRect rcDropDown;
    pDropDown->GetWindowRect(&rcDropDown);
    CPoint ptCorner = OnScreen(pGallery->GetRect().TopLeft());
    EXPECT_EQ(ptCorner.y, rcDropDown.top) << "from the gallery's top, over it";
    EXPECT_EQ(ptCorner.x - 1, rcDropDown.left);
    pGallery->OnSetPopup(FALSE);
    pToolBar->SetTrackingMode(FALSE);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !::IsWindowVisible(pDropDown->GetSafeHwnd()); }));
}

TEST_F(GalleryControlTest, ASmoothScrollRunsOnTheBarsTimerOutsideTracking)
{
    MakeGalleryPopup();
    Show();
    pGallery->ScrollToAnimated(90);
    EXPECT_TRUE(pGallery->IsScrollAnimating());
    EXPECT_GT(pGallery->GetScrollOffset(), 0) << "the first step at once";
    EXPECT_LT(pGallery->GetScrollOffset(), 90);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !pGallery->IsScrollAnimating(); }));
    EXPECT_EQ(90, pGallery->GetScrollOffset());
    EXPECT_EQ(90, pGallery->GetScrollBarGeometry().nPos);
}

VARIANT Child(long n) { return qmtest::AccChild(n); }

std::string Name(IAccessible* pAcc, long nChild) { return qmtest::AccName(pAcc, nChild); }

long Long(HRESULT hr, const VARIANT& v)
{
    return SUCCEEDED(hr) && v.vt == VT_I4 ? v.lVal : -999;
}

TEST_F(GalleryControlTest, TheAccessibilityTreeListsTheItems)
{
    MakeGalleryPopup();
    pAction->GetItems()->GetItem(2)->SetCaption("");
    pAction->GetItems()->GetItem(2)->SetTooltip("Tip only");
    pGallery->SetCheckedItem(4);
    Show();

    // Reached from the popup's window like a screen reader does.
    IAccessible* pBarAcc = NULL;
    ASSERT_EQ(S_OK, ::AccessibleObjectFromWindow(pPopup->GetSafeHwnd(), (DWORD)OBJID_CLIENT, IID_IAccessible,
                                                 (void**)&pBarAcc));
    IDispatch* pDisp = NULL;
    ASSERT_EQ(S_OK, pBarAcc->get_accChild(Child(1), &pDisp));
    IAccessible* pAcc = NULL;
    ASSERT_EQ(S_OK, pDisp->QueryInterface(IID_IAccessible, (void**)&pAcc));
    pDisp->Release();

    long nCount = 0;
    EXPECT_EQ(S_OK, pAcc->get_accChildCount(&nCount));
    EXPECT_EQ(14, nCount);
    EXPECT_EQ("Colours", Name(pAcc, 1));
    EXPECT_EQ("Colour 1", Name(pAcc, 2));
    EXPECT_EQ("Tip only", Name(pAcc, 3)) << "no caption: the tooltip";
    EXPECT_EQ("<none>", Name(pAcc, 15));

    VARIANT v;
    EXPECT_EQ(ROLE_SYSTEM_LIST, Long(pAcc->get_accRole(Child(0), &v), v));
    EXPECT_EQ(ROLE_SYSTEM_LISTITEM, Long(pAcc->get_accRole(Child(5), &v), v));
    EXPECT_EQ(E_INVALIDARG, pAcc->get_accRole(Child(99), &v));

    BSTR bstr = NULL;
    ASSERT_EQ(S_OK, pAcc->get_accDefaultAction(Child(2), &bstr));
    EXPECT_STREQ(L"Click", bstr);
    ::SysFreeString(bstr);

    // States: focusable and selectable; focused is the hot item, selected
    // the checked one (id 4 is item 4, child 5).
    const long kBase = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    EXPECT_EQ(kBase, Long(pAcc->get_accState(Child(2), &v), v));
    EXPECT_EQ(kBase | STATE_SYSTEM_SELECTED, Long(pAcc->get_accState(Child(5), &v), v));
    EXPECT_EQ(S_OK, pAcc->accSelect(SELFLAG_TAKEFOCUS, Child(2)));
    EXPECT_EQ(1, pGallery->GetHotItem());
    EXPECT_EQ(kBase | STATE_SYSTEM_FOCUSED, Long(pAcc->get_accState(Child(2), &v), v));
    EXPECT_EQ(E_INVALIDARG, pAcc->accSelect(SELFLAG_TAKEFOCUS, Child(40)));
    EXPECT_EQ(S_OK, pAcc->accDoDefaultAction(Child(3)));
    EXPECT_EQ(2, pGallery->GetHotItem());

    // Locations and hit tests in screen coordinates.
    long x = 0, y = 0, cx = 0, cy = 0;
    ASSERT_EQ(S_OK, pAcc->accLocation(&x, &y, &cx, &cy, Child(2)));
    CRect rcItem = pGallery->GetItemDrawRect(1);
    CPoint ptScreen = rcItem.TopLeft();
    pPopup->ClientToScreen(&ptScreen);
    EXPECT_EQ(ptScreen.x, x);
    EXPECT_EQ(ptScreen.y, y);
    EXPECT_EQ(40, cx);
    EXPECT_EQ(30, cy);
    EXPECT_EQ(2, Long(pAcc->accHitTest(x + 5, y + 5, &v), v));
    EXPECT_EQ(0, Long(pAcc->accHitTest(x + 5, y - 10, &v), v)) << "on the label: the control itself";
    EXPECT_EQ(S_FALSE, pAcc->accHitTest(x - 500, y, &v));
    pAcc->Release();
    pBarAcc->Release();
}


// Releases the left button at a screen point after a delay, from a timer
// of the thread (so inside the tracking loop).
POINT g_ptRelease;
bool g_bReleased = false;
CQXPControlGallery* g_pHeld = NULL;
int g_nPressedPart = -1; // what the painter was told just before the release
void CALLBACK ReleaseLater(HWND, UINT, UINT_PTR nId, DWORD)
{
    ::KillTimer(NULL, nId);
    if (g_pHeld)
        g_nPressedPart = g_pHeld->GetPaintView().nPressedPart;
    qmtest::MouseEventAt(g_ptRelease, MOUSEEVENTF_LEFTUP);
    g_bReleased = true;
}

TEST_F(GalleryControlTest, AHeldArrowRepeatsUntilReleased)
{
    MakeGalleryPopup();
    for (int i = 13; i <= 80; ++i)
        pAction->GetItems()->AddItem(i, "More");
    Show();
    const ScrollBarGeometry& geo = pGallery->GetScrollBarGeometry();
    CPoint ptScreen = OnScreen(CPoint(geo.rcBar.left + 2, geo.pxSecondArrowStart + 2));
    g_ptRelease = ptScreen;
    g_bReleased = false;
    g_pHeld = pGallery;
    g_nPressedPart = -1;
    const UINT nHold = ::GetDoubleClickTime() * 4 / 5 + 5 * (::GetDoubleClickTime() / 10) + 30;
    ::SetTimer(NULL, 0, nHold, ReleaseLater);
    DWORD dwStart = ::GetTickCount();
    qmtest::MouseEventAt(ptScreen, MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(qmtest::PumpUntil(
        [&] { return g_bReleased && ::GetCapture() == NULL && !pGallery->IsScrollAnimating(); }, 15000));
    DWORD dwHeld = ::GetTickCount() - dwStart;
    EXPECT_GE(dwHeld + 20, nHold) << "the tracking lasts while the button is held";
    EXPECT_EQ(qxpGalleryHitDown, g_nPressedPart) << "drawn pressed while held";
    EXPECT_EQ(0, pGallery->GetPaintView().nPressedPart) << "and released after";
    g_pHeld = NULL;
    // One step at once, one after four fifths of the double-click time,
    // then every tenth of it: about seven steps of 30 pixels.
    int nSteps = pGallery->GetScrollOffset() / 30;
    EXPECT_GE(nSteps, 4);
    EXPECT_LE(nSteps, 9);
    qmtest::PumpFor(200);
    EXPECT_EQ(nSteps * 30, pGallery->GetScrollOffset()) << "released: no more steps";
}

TEST_F(GalleryControlTest, QuitDuringTrackingIsPostedAgain)
{
    MakeGalleryPopup();
    Show();
    const ScrollBarGeometry& geo = pGallery->GetScrollBarGeometry();
    CPoint ptDown(geo.rcBar.left + 2, geo.pxSecondArrowStart + 2);
    ::PostQuitMessage(7);
    pGallery->OnClick(FALSE, ptDown);
    EXPECT_GT(pGallery->GetScrollOffset(), 0) << "the press scrolls at once";
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is still there";
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(GalleryControlTest, ADraggedThumbFollowsAndSnapsBackFarAway)
{
    // A gallery without a drop-down has the standard bar with a thumb.
    pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pPopup->SetOwnerSite(&frame);
    AddInlineGallery(pPopup, 60, 40, 30);
    pGallery->SetWidth(120 + ::GetSystemMetrics(SM_CXVSCROLL));
    pGallery->SetHeight(150);
    Show();
    ASSERT_EQ(nullptr, pGallery->GetCommandBar());
    const ScrollBarGeometry& geo = pGallery->GetScrollBarGeometry();
    ASSERT_GT(geo.pxFreeTrack, 40);
    const int cxBar = geo.rcBar.right - geo.rcBar.left;
    CPoint ptThumb(geo.rcBar.left + 2, geo.pxThumbStart + 2);

    const struct {
        const char* name;
        int dxRelease; // where the pointer ends, across the bar
        bool bMoved;   // the final offset is not the start
    } cases[] = {
        {"released near the bar", 3 * cxBar, true},
        {"released beyond 8 bar widths", 9 * cxBar + 4, false},
    };
    ASSERT_GE(geo.pxThumbEnd - geo.pxThumbStart, 14);
    int nCase = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pGallery->ScrollTo(0);
        // Each press a few pixels lower, so two presses never make a
        // double click.
        const CPoint ptPress = OnScreen(ptThumb + CPoint(0, 8 * nCase++));
        const CPoint ptMid = OnScreen(CPoint(ptThumb.x + 4, ptThumb.y + 40));
        const CPoint ptEnd = OnScreen(CPoint(ptThumb.x + c.dxRelease, ptThumb.y + 40));
        // Real input, the moves sent from inside the tracking loop.
        HWND hWnd = pPopup->GetSafeHwnd();
        int nDragged = -1;
        qmtest::Script script;
        script.Then([&] { qmtest::MouseEventAt(ptPress, MOUSEEVENTF_LEFTDOWN); });
        script.Add([&] { return ::GetCapture() == hWnd; });
        script.Then([&] { qmtest::MouseEventAt(ptMid, MOUSEEVENTF_MOVE); });
        script.Add([&] { return pGallery->GetScrollOffset() > 0; });
        script.Then([&] {
            nDragged = pGallery->GetScrollOffset();
            qmtest::MouseEventAt(ptEnd, MOUSEEVENTF_MOVE);
        });
        script.Then([&] { qmtest::MouseEventAt(ptEnd, MOUSEEVENTF_LEFTUP); });
        script.Add([&] { return ::GetCapture() == NULL; });
        ASSERT_TRUE(script.Run()) << script.Remaining() << " steps left";
        EXPECT_TRUE(::IsWindowVisible(pPopup->GetSafeHwnd())) << "a release beyond the popup leaves it open";
        EXPECT_GT(nDragged, 0) << "the thumb followed the pointer";
        EXPECT_EQ(c.bMoved, pGallery->GetScrollOffset() > 0) << pGallery->GetScrollOffset();
        EXPECT_EQ(nullptr, ::GetCapture());
    }
}

TEST_F(GalleryControlTest, WithTheRedrawFlagAHotChangeInvalidatesJustTheTwoItems)
{
    MakeGalleryPopup();
    Show();
    HWND hWnd = pPopup->GetSafeHwnd();
    pGallery->SetSelectedItem(1);
    qmtest::PumpMessages();

    const struct {
        BOOL bFlag;
        int nFrom, nTo;
    } cases[] = {{TRUE, 1, 5}, {FALSE, 5, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bFlag ? "changed items only" : "whole control");
        pAction->GetItems()->SetRedrawChangedItems(c.bFlag);
        pGallery->SetSelectedItem(c.nFrom);
        pPopup->UpdateWindow();
        ::ValidateRect(hWnd, NULL);
        pGallery->SetSelectedItem(c.nTo);
        HRGN hUpdate = ::CreateRectRgn(0, 0, 0, 0);
        ::GetUpdateRgn(hWnd, hUpdate, FALSE);
        HRGN hExpected = ::CreateRectRgn(0, 0, 0, 0);
        if (c.bFlag) {
            CRect a = pGallery->GetItemDrawRect(c.nFrom), b = pGallery->GetItemDrawRect(c.nTo);
            HRGN ha = ::CreateRectRgnIndirect(&a), hb = ::CreateRectRgnIndirect(&b);
            ::CombineRgn(hExpected, ha, hb, RGN_OR);
            ::DeleteObject(ha);
            ::DeleteObject(hb);
        } else {
            CRect rc = pGallery->GetRect();
            ::SetRectRgn(hExpected, rc.left, rc.top, rc.right, rc.bottom);
        }
        CRect rcBox;
        ::GetRgnBox(hUpdate, &rcBox);
        EXPECT_TRUE(::EqualRgn(hUpdate, hExpected)) << "update box " << rcBox.left << "," << rcBox.top << ","
                                                    << rcBox.right << "," << rcBox.bottom;
        ::DeleteObject(hUpdate);
        ::DeleteObject(hExpected);
        qmtest::PumpMessages();
    }
}

TEST_F(GalleryControlTest, OnAToolbarTheGalleryShowsInlineAndPreviews)
{
    CQXPToolBar* pToolBar = pBars->Add("Gallery bar", qxpBarTop);
    ASSERT_NE(nullptr, pToolBar);
    AddInlineGallery(pToolBar, 20, 24, 24);
    pGallery->SetWidth(5 * 24 + ::GetSystemMetrics(SM_CXVSCROLL));
    pGallery->SetHeight(48);
    pBars->RecalcFrameLayout();
    qmtest::PumpMessages();

    ASSERT_EQ(CSize(5 * 24 + ::GetSystemMetrics(SM_CXVSCROLL), 48), pGallery->GetRect().Size());
    EXPECT_EQ(nullptr, pGallery->GetCommandBar()) << "inline: the standard scroll bar";
    EXPECT_EQ(4 * 24, pGallery->GetContentHeight());
    CRect rcItem = pGallery->GetItemDrawRect(6);
    EXPECT_EQ(CSize(24, 24), rcItem.Size());

    qmtest::MouseEventAt(OnScreen(rcItem.CenterPoint()), MOUSEEVENTF_MOVE);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pGallery->GetHotItem() == 6; }));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return frame.events.size() >= 2; }, 3000));
    EXPECT_EQ((std::vector<int>{GalleryPreviewStart, GalleryPreviewChange}), frame.events);

    // Deselecting the control hides the selection and cancels the preview.
    frame.events.clear();
    pGallery->OnSetSelected(0);
    EXPECT_TRUE(pGallery->IsSelectionHidden());
    EXPECT_EQ((std::vector<int>{GalleryPreviewChange, GalleryPreviewCancel}), frame.events);
    EXPECT_FALSE(pGallery->IsPreviewActive());

    CRect rcBar;
    pToolBar->GetWindowRect(&rcBar);
    EXPECT_TRUE(qmtest::SaveScreenPng(rcBar, qmtest::ScreenshotDir(QM_BIN_DIR) + "/gallery_toolbar.png"));
}

// A combo box on a toolbar whose drop-down is a gallery, driven by real
// clicks and key presses.
TEST_F(GalleryControlTest, AGalleryComboFindsByPrefixAndEnterExecutes)
{
    CQXPToolBar* pToolBar = pBars->Add("Gallery combo", qxpBarTop);
    ASSERT_NE(nullptr, pToolBar);
    CQXPControlComboBox* pCombo = new CQXPControlComboBox;
    pCombo->SetWidth(160);
    pToolBar->GetControls()->AddControl(pCombo, kComboId);
    CQXPControlComboBoxGalleryPopupBar* pDropDown = new CQXPControlComboBoxGalleryPopupBar;
    pDropDown->SetCommandBars(pBars);
    pGallery = new CQXPControlGallery;
    pDropDown->GetControls()->AddControl(pGallery, kGalleryId);
    LinkAction();
    GalleryItemList* pItems = pAction->GetItems();
    pItems->SetItemSize(60, 24);
    const char* names[] = {"Red", "Green", "Blue", "Grey", "Gold", "Teal", "Navy", "Pink", "Lime", "Olive"};
    for (int i = 0; i < 10; ++i)
        pItems->AddItem(100 + i, names[i]);
    pGallery->SetWidth(2 * 60 + ::GetSystemMetrics(SM_CXVSCROLL));
    pGallery->SetHeight(48);
    pCombo->SetCommandBar(pDropDown);
    pDropDown->InternalRelease();
    ASSERT_EQ(nullptr, pCombo->GetComboList()) << "the drop-down is not a list box";
    {
        // A copy of the combo box gets a gallery drop-down of its own.
        CQXPControl* pClone = pCombo->Clone(TRUE);
        CQXPControlComboBox* pCopy = dynamic_cast<CQXPControlComboBox*>(pClone);
        ASSERT_NE(nullptr, pCopy);
        auto* pCopyBar = dynamic_cast<CQXPControlComboBoxGalleryPopupBar*>(pCopy->GetListBar());
        ASSERT_NE(nullptr, pCopyBar);
        EXPECT_NE(pDropDown, pCopyBar);
        ASSERT_NE(nullptr, pCopyBar->GetGallery());
        EXPECT_NE(pGallery, pCopyBar->GetGallery());
        pClone->InternalRelease();
    }
    pBars->RecalcFrameLayout();
    ::SetForegroundWindow(frame.GetSafeHwnd());
    ::SetFocus(frame.GetSafeHwnd());
    qmtest::PumpMessages();

    // The combo box's list operations are the gallery's.
    EXPECT_EQ(10, pCombo->GetCount());
    EXPECT_STREQ("Grey", pCombo->GetLBText(3));
    const struct {
        int nStart;
        const char* text;
        BOOL bExact;
        int nFound;
    } finds[] = {
        {-1, "gr", FALSE, 1},
        {1, "GR", FALSE, 3},
        {3, "gr", FALSE, 1}, // wraps around
        {-1, "o", FALSE, 9},
        {-1, "blue", TRUE, 2},
        {-1, "bl", TRUE, -1},
        {-1, "x", FALSE, -1},
    };
    for (const auto& f : finds)
        EXPECT_EQ(f.nFound, f.bExact ? pCombo->FindStringExact(f.nStart, f.text) : pCombo->FindString(f.nStart, f.text))
            << f.text << " after " << f.nStart;

    // A click on the drop-down button opens the gallery under the field.
    CRect rcCombo = pCombo->GetRect();
    CPoint ptButton(rcCombo.right - 5, rcCombo.CenterPoint().y);
    pToolBar->ClientToScreen(&ptButton);
    qmtest::ClickAt(ptButton);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return ::IsWindowVisible(pDropDown->GetSafeHwnd()) != FALSE; }));
    EXPECT_EQ(1, (int)std::count(frame.events.begin(), frame.events.end(), kComboNotice | CBN_DROPDOWN));

    // Typing the start of a name scrolls its row to the top; the whole
    // name selects it.
    ASSERT_NE(nullptr, pCombo->GetEditCtrl());
    ::SetFocus(pCombo->GetEditCtrl()->GetSafeHwnd());
    ASSERT_TRUE(qmtest::PumpUntil([&] { return ::GetFocus() == pCombo->GetEditCtrl()->GetSafeHwnd(); }));
    ASSERT_TRUE(::IsWindowVisible(pDropDown->GetSafeHwnd()));
    qmtest::KeyStroke('T'); // "Teal", in the third row of two
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pGallery->GetScrollOffset() == 2 * 24; }))
        << "text '" << pCombo->GetEditText().GetString() << "' offset " << pGallery->GetScrollOffset() << " open "
        << ::IsWindowVisible(pDropDown->GetSafeHwnd()) << " content " << pGallery->GetContentHeight() << " items "
        << pGallery->GetItemsRect().Height();
    EXPECT_EQ(-1, pCombo->GetCurSel());
    qmtest::KeyStroke(VK_BACK);
    for (char c : std::string("TEAL"))
        qmtest::KeyStroke((WORD)c);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pCombo->GetCurSel() == 5; }));
    EXPECT_EQ(5, pGallery->GetHotItem());

    // Enter runs the command with that item and closes the drop-down.
    frame.events.clear();
    qmtest::KeyStroke(VK_RETURN);
    ASSERT_TRUE(qmtest::PumpUntil([&] {
        return std::count(frame.events.begin(), frame.events.end(), kCommand | kComboId) == 1;
    }));
    EXPECT_EQ(5, pCombo->GetCurSel());
    if (pCombo->GetPopuped())
        qmtest::KeyStroke(VK_ESCAPE);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !::IsWindowVisible(pDropDown->GetSafeHwnd()); }));
    EXPECT_EQ(1, (int)std::count(frame.events.begin(), frame.events.end(), kComboNotice | CBN_CLOSEUP));

    // A release on an item of the open gallery takes it.
    frame.events.clear();
    qmtest::ClickAt(ptButton);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return ::IsWindowVisible(pDropDown->GetSafeHwnd()) != FALSE; }));
    pGallery->ScrollTo(0);
    CPoint ptItem = pGallery->GetItemDrawRect(2).CenterPoint();
    pDropDown->ClientToScreen(&ptItem);
    qmtest::MouseEventAt(ptItem, MOUSEEVENTF_MOVE);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return pGallery->GetHotItem() == 2; }));
    qmtest::ClickAt(ptItem);
    ASSERT_TRUE(qmtest::PumpUntil([&] {
        return std::count(frame.events.begin(), frame.events.end(), kCommand | kComboId) == 1;
    }));
    EXPECT_STREQ("Blue", pCombo->GetEditText());
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    if (pCombo->GetPopuped())
        qmtest::KeyStroke(VK_ESCAPE);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !::IsWindowVisible(pDropDown->GetSafeHwnd()); }));
}

TEST_F(GalleryControlTest, Screenshot)
{
    MakeGalleryPopup(TRUE);
    pGallery->m_bShowBorders = TRUE;
    pGallery->SetWidth(120 + 16 + 2);
    pGallery->SetCheckedItem(3);
    Show();
    pGallery->SetSelectedItem(5);
    pPopup->Invalidate();
    pPopup->UpdateWindow();
    qmtest::PumpFor(200);
    CRect rc;
    pPopup->GetWindowRect(&rc);
    EXPECT_TRUE(qmtest::SaveScreenPng(rc, qmtest::ScreenshotDir(QM_BIN_DIR) + "/gallery_popup.png"));
}

} // namespace

namespace {

// A registry key of this test's own under HKEY_CURRENT_USER, removed after.
class ScratchKey {
public:
    ScratchKey()
    {
        ::RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &m_hKey, NULL);
    }
    ~ScratchKey()
    {
        ::RegCloseKey(m_hKey);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kPath);
    }
    HKEY Get() const { return m_hKey; }

private:
    static constexpr const char* kPath = "Software\\QuillmateTests\\GalleryKeys";
    HKEY m_hKey = NULL;
};

void SetKeys(CQXPControlGallery* p)
{
    p->m_bShowLabels = FALSE;
    p->m_bShowBorders = FALSE;
    p->m_bShowScrollBar = FALSE;
    p->m_rcMargin = CRect(1, 2, 3, 4);
    p->m_bResizable = TRUE;
}

void ExpectKeys(const CQXPControlGallery& p, BOOL bResizable)
{
    EXPECT_FALSE(p.m_bShowLabels);
    EXPECT_FALSE(p.m_bShowBorders);
    EXPECT_FALSE(p.m_bShowScrollBar);
    EXPECT_EQ(CRect(1, 2, 3, 4), p.m_rcMargin);
    EXPECT_EQ(bResizable, p.m_bResizable);
}

TEST(GalleryKeys, RoundTripThroughTheRegistry)
{
    ScratchKey key;
    {
        CQXPControlGallery saved;
        SetKeys(&saved);
        CQXPPropExchangeRegistry px(FALSE, key.Get(), "Gallery");
        ASSERT_TRUE(px.Prepare());
        saved.DoPropExchange(&px);
    }
    {
        CQXPControlGallery loaded;
        CQXPPropExchangeRegistry px(TRUE, key.Get(), "Gallery");
        ASSERT_TRUE(px.Prepare());
        loaded.DoPropExchange(&px);
        ExpectKeys(loaded, TRUE);
    }
    {
        // Before schema 24 "Resizable" is not read.
        CQXPControlGallery loaded;
        CQXPPropExchangeRegistry px(TRUE, key.Get(), "Gallery");
        ASSERT_TRUE(px.Prepare());
        px.m_nSchema = 23;
        loaded.DoPropExchange(&px);
        ExpectKeys(loaded, FALSE);
    }
    {
        // A layout saved without the gallery's keys: borders on, the rest
        // as constructed.
        CQXPControlGallery loaded;
        CQXPPropExchangeRegistry px(TRUE, key.Get(), "Empty");
        ASSERT_TRUE(px.Prepare());
        loaded.DoPropExchange(&px);
        EXPECT_TRUE(loaded.m_bShowBorders);
        EXPECT_TRUE(loaded.m_bShowLabels);
        EXPECT_TRUE(loaded.m_bShowScrollBar);
        EXPECT_FALSE(loaded.m_bResizable);
        EXPECT_EQ(CRect(0, 0, 0, 0), loaded.m_rcMargin);
    }
}

TEST(GalleryKeys, RoundTripThroughAnArchiveAndCopies)
{
    CQXPControlGallery saved;
    SetKeys(&saved);
    qmtest::Bytes bytes = qmtest::StoreBytes([&](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        px.m_nSchema = CQXPPropExchange::kDefaultSchema;
        saved.DoPropExchange(&px);
    });
    ASSERT_FALSE(bytes.empty());
    CQXPControlGallery loaded;
    qmtest::LoadBytes(bytes, [&](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        px.m_nSchema = CQXPPropExchange::kDefaultSchema;
        loaded.DoPropExchange(&px);
    });
    ExpectKeys(loaded, TRUE);

    CQXPControl* pClone = saved.Clone();
    CQXPControlGallery* pCopy = dynamic_cast<CQXPControlGallery*>(pClone);
    ASSERT_NE(nullptr, pCopy);
    ExpectKeys(*pCopy, TRUE);
    pClone->InternalRelease();
}

} // namespace
