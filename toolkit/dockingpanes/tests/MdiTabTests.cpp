// Document tabs over a real MDI frame: one tab per child, clicks activate,
// the strip follows its position and leaves the rest to the MDI client.
#include <qx/mditabs.h>
#include <qx/panemanager.h>
#include <qx/splittercontainer.h>

#include <fx/mdi.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct MdiFixture : ::testing::Test {
    void SetUp() override
    {
        app.reset(new CWinApp("QxMdiTabs"));
        frame = new CMDIFrameWnd();
        RECT rc = {0, 0, 800, 600};
        ASSERT_TRUE(frame->Create(NULL, "Tabs", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rc));
        for (int i = 0; i < 3; ++i) {
            CMDIChildWnd* child = new CMDIChildWnd();
            char title[16];
            snprintf(title, sizeof(title), "Doc%d", i + 1);
            ASSERT_TRUE(child->Create(NULL, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                      CFrameWnd::rectDefault, frame));
            children.push_back(child->GetSafeHwnd());
        }
        Pump();
    }
    void TearDown() override
    {
        tabs.Detach();
        if (frame && IsWindow(frame->GetSafeHwnd()))
            frame->DestroyWindow();
        Pump();
        app.reset();
    }
    RECT RectInFrame(HWND h) const
    {
        RECT rc;
        GetWindowRect(h, &rc);
        MapWindowPoints(HWND_DESKTOP, frame->GetSafeHwnd(), (LPPOINT)&rc, 2);
        return rc;
    }
    HWND Active() const { return (HWND)SendMessageA(frame->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0); }

    std::unique_ptr<CWinApp> app;
    CMDIFrameWnd* frame = nullptr;
    std::vector<HWND> children;
    CQXPTabClientWnd tabs;
};

TEST_F(MdiFixture, OneTabPerChildAndClicksActivate)
{
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    EXPECT_FALSE(tabs.Attach(frame, FALSE));  // once only
    Pump();
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    ASSERT_NE(nullptr, ws);
    ASSERT_EQ(3, ws->GetItemCount());
    for (HWND h : children)
        ASSERT_NE(nullptr, tabs.FindItem(h));
    EXPECT_STREQ("Doc1", tabs.FindItem(children[0])->GetCaption());
    EXPECT_EQ(tabs.FindItem(Active()), ws->GetSelectedItem());

    // A click on another document's tab activates it.
    CQXPTabManagerItem* item = tabs.FindItem(children[0]);
    ASSERT_NE(Active(), children[0]);
    RECT r = item->GetRect();
    POINT pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    PostMessageA(ws->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    SendMessageA(ws->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    Pump();
    EXPECT_EQ(children[0], Active());
    EXPECT_EQ(item, ws->GetSelectedItem());

    // A closed document loses its tab.
    SendMessageA(frame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)children[1], 0);
    tabs.Refresh();
    Pump();
    EXPECT_EQ(2, ws->GetItemCount());
    EXPECT_EQ(nullptr, tabs.FindItem(children[1]));
}

TEST_F(MdiFixture, StripAndClientShareTheFrame)
{
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    Pump();
    HWND hStrip = tabs.GetWorkspace()->GetSafeHwnd();
    RECT strip = RectInFrame(hStrip), client = RectInFrame(frame->m_hWndMDIClient);
    EXPECT_TRUE(IsWindowVisible(hStrip));
    EXPECT_EQ(strip.bottom, client.top);
    EXPECT_EQ(strip.left, client.left);
    EXPECT_GT(strip.bottom - strip.top, 10);

    tabs.GetPaintManager()->SetPosition(tabPositionBottom);
    tabs.Refresh();
    Pump();
    strip = RectInFrame(hStrip);
    client = RectInFrame(frame->m_hWndMDIClient);
    EXPECT_EQ(client.bottom, strip.top);
    EXPECT_EQ(tabPositionBottom, tabs.GetPaintManager()->GetPosition());

    // Without the tabs the client takes the whole area again.
    ASSERT_TRUE(tabs.Detach());
    Pump();
    EXPECT_FALSE(IsWindow(hStrip));
    RECT all;
    GetClientRect(frame->GetSafeHwnd(), &all);
    client = RectInFrame(frame->m_hWndMDIClient);
    EXPECT_EQ(all.bottom, client.bottom);
    EXPECT_EQ(all.top, client.top);
    EXPECT_FALSE(tabs.Detach());
}

TEST_F(MdiFixture, DockedPanesAndDocumentTabsShareTheFrame)
{
    CQXPDockingPaneManager manager;
    ASSERT_TRUE(manager.InstallDockingPanes(frame));
    EXPECT_FALSE(manager.InstallDockingPanes(frame));
    EXPECT_EQ(WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
              GetWindowLongA(frame->GetSafeHwnd(), GWL_STYLE) & (WS_CLIPCHILDREN | WS_CLIPSIBLINGS));
    RECT rc = {0, 0, 200, 120};
    CQXPDockingPane* left = manager.CreatePane(1, rc, dockLeftOf, NULL);
    CQXPDockingPane* bottom = manager.CreatePane(2, rc, dockBottomOf, NULL);
    ASSERT_TRUE(left && bottom);
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    frame->RecalcLayout();
    Pump();

    // The client container's place is where the documents go: the strip on
    // top of it, the MDI client below.
    RECT rcClient = manager.GetLayout()->GetClientContainer()->GetPaneRect();
    RECT strip = RectInFrame(tabs.GetWorkspace()->GetSafeHwnd());
    RECT mdi = RectInFrame(frame->m_hWndMDIClient);
    EXPECT_EQ(rcClient.left, mdi.left);
    EXPECT_EQ(rcClient.right, mdi.right);
    EXPECT_EQ(rcClient.bottom, mdi.bottom);
    EXPECT_EQ(rcClient.top, strip.top);
    EXPECT_EQ(strip.bottom, mdi.top);
    // The panes lie beside and below it.
    RECT rcLeft = RectInFrame(left->GetContainer()->GetPaneHwnd());
    RECT rcBottom = RectInFrame(bottom->GetContainer()->GetPaneHwnd());
    EXPECT_EQ(200, rcLeft.right - rcLeft.left);
    EXPECT_LE(rcLeft.right, mdi.left);
    EXPECT_EQ(120, rcBottom.bottom - rcBottom.top);
    EXPECT_GE(rcBottom.top, mdi.bottom);
    RECT all;
    GetClientRect(frame->GetSafeHwnd(), &all);
    EXPECT_EQ(all.bottom, rcBottom.bottom);

    // Closing the left pane gives its room to the documents.
    manager.ClosePane(left);
    frame->RecalcLayout();
    Pump();
    mdi = RectInFrame(frame->m_hWndMDIClient);
    EXPECT_EQ(all.left, mdi.left);
    tabs.Detach();
}

}  // namespace
