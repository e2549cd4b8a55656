// Document tabs over a real MDI frame: one tab per child, clicks activate,
// the strip follows its position and leaves the rest to the MDI client.
#include "DockTestSupport.h"

#include <qx/colors.h>
#include <qx/commandbar.h>
#include <qx/control.h>
#include <qx/images.h>
#include <qx/listcontrols.h>
#include <qx/mditabs.h>
#include <qx/mousemanager.h>
#include <qx/paintmanager.h>
#include <qx/popup.h>
#include <qx/tabbars.h>
#include <qx/themes.h>

#include <fx/document.h>
#include <fx/mdi.h>
#include <fx/oledrop.h>
#include <fx/view.h>

#include <qmtest/mouse.h>
#include <qmtest/qmatedriver.h>
#include <qmtest/screenshot.h>
#include <qmtest/script.h>

#include <gtest/gtest.h>
#include <qmtest/icons.h>

#include <memory>

#include "PaintTestSupport.h"
#include "TabTestSupport.h"

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

using docktest::ToolkitCursorResource;

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
    // A document "Document number n.txt" made visible and active, kept in
    // children; NULL when it could not be made.
    HWND AddNumberedDocument(int n)
    {
        CMDIChildWnd* child = new CMDIChildWnd();
        char title[48];
        snprintf(title, sizeof(title), "Document number %d.txt", n);
        if (!child->Create(NULL, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, frame))
            return NULL;
        children.push_back(child->GetSafeHwnd());
        return children.back();
    }
    // The band of a strip's tabs on the screen (in the window that draws it).
    static RECT StripOnScreen(const CQXPTabWorkspace* ws)
    {
        RECT rc = ws->m_rcStrip;
        MapWindowPoints(ws->GetOwnerObject(), HWND_DESKTOP, (LPPOINT)&rc, 2);
        return rc;
    }
    // The tabs attached with their "Active Files" button shown, the frame in
    // front; the button (NULL when the attach failed).
    CQXPTabManagerNavigateButton* ActiveFilesButton()
    {
        if (!tabs.Attach(frame, FALSE))
            return NULL;
        tabs.SetFlags(4);
        Pump();
        SetForegroundWindow(frame->GetSafeHwnd());
        return tabs.GetWorkspace()->FindNavigateButton(CQXPTabManagerNavigateButton::idActiveFiles);
    }
    // Tab groups on and the active document moved into a new group by a
    // workspace command (which holds the tabs' updates back until the
    // program is idle); then the program's idle.
    void SplitIntoGroups(UINT nCommand)
    {
        ASSERT_TRUE(tabs.Attach(frame, TRUE));
        tabs.Refresh();
        Pump();
        ASSERT_TRUE(tabs.OnCmdMsg(nCommand, CN_COMMAND, NULL, NULL));
        Pump();
        EXPECT_TRUE(tabs.IsUpdateSuspended()) << "moving a tab suspends the updates until idle";
        docktest::IdleUpdate(frame);
        EXPECT_FALSE(tabs.IsUpdateSuspended());
        ASSERT_EQ(2, tabs.GetWorkspaceCount());
    }
    // Groups split as SplitIntoGroups does, the tabs' looks no longer
    // following the theme (a test sets them), the frame in front.
    void SplitForLooks(UINT nCommand)
    {
        ASSERT_NO_FATAL_FAILURE(SplitIntoGroups(nCommand));
        tabs.m_bFollowTheme = FALSE;
        ASSERT_TRUE(qmtest::BringToForeground(frame->GetSafeHwnd()));
    }
    // A real click at a point of a strip window; true once the document is
    // the active one and the press is over. The pointer is parked after.
    bool ClickUntilActive(HWND hStrip, POINT ptStrip, HWND hDocument)
    {
        ClientToScreen(hStrip, &ptStrip);
        qmtest::ClickAt(ptStrip);
        const bool bActive = qmtest::WaitUntil(
            [&] {
                Pump();
                return Active() == hDocument && GetCapture() == NULL;
            },
            5000);
        qmtest::ParkPointer();
        return bActive;
    }
    // The cursor the MDI client sets with the mouse at a point of its own.
    HCURSOR CursorOver(POINT pt)
    {
        HWND hClient = frame->m_hWndMDIClient;
        ClientToScreen(hClient, &pt);
        SetCursorPos(pt.x, pt.y);
        SetCursor(NULL);
        SendMessageA(hClient, WM_SETCURSOR, (WPARAM)hClient, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    }

    std::unique_ptr<CWinApp> app;
    CMDIFrameWnd* frame = nullptr;
    std::vector<HWND> children;
    CQXPTabClientWnd tabs;
};

TEST_F(MdiFixture, OneTabPerChildAndClicksActivate)
{
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    EXPECT_FALSE(tabs.Attach(frame, FALSE)); // once only
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
    PostMessageA(ws->GetOwnerObject(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    SendMessageA(ws->GetOwnerObject(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    Pump();
    EXPECT_EQ(children[0], Active());
    EXPECT_EQ(item, ws->GetSelectedItem());
    docktest::IdleUpdate(frame); // the program's idle after the click

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
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    HWND hStrip = ws->GetOwnerObject();
    // The strip window takes the whole area (header and client frame); the
    // MDI client lies over it in the painter's client rectangle.
    auto expectShared = [&](const char* what) {
        RECT strip = RectInFrame(hStrip), client = RectInFrame(frame->m_hWndMDIClient);
        RECT content = {0, 0, strip.right - strip.left, strip.bottom - strip.top};
        tabs.GetPaintManager()->AdjustClientRect(ws, content);
        OffsetRect(&content, strip.left, strip.top);
        EXPECT_TRUE(EqualRect(&content, &client)) << what;
        EXPECT_EQ(hStrip, GetWindow(frame->m_hWndMDIClient, GW_HWNDNEXT)) << what;
        return std::make_pair(strip, client);
    };
    EXPECT_TRUE(IsWindowVisible(hStrip));
    auto shared = expectShared("top");
    // Within the 3-D client frame, below the header.
    EXPECT_EQ(shared.first.left + 2, shared.second.left);
    EXPECT_EQ(shared.first.bottom - 2, shared.second.bottom);
    EXPECT_GT(shared.second.top - shared.first.top, 10);

    tabs.GetPaintManager()->SetPosition(tabPositionBottom);
    tabs.Refresh();
    Pump();
    shared = expectShared("bottom");
    EXPECT_EQ(shared.first.top + 2, shared.second.top);
    EXPECT_GT(shared.first.bottom - shared.second.bottom, 10);
    EXPECT_EQ(tabPositionBottom, tabs.GetPaintManager()->GetPosition());
    RECT client;

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

    // The client container's place is where the documents go: the strip
    // window over all of it, the MDI client in its client rectangle.
    RECT rcClient = manager.GetLayout()->GetClientContainer()->GetPaneRect();
    RECT strip = RectInFrame(tabs.GetWorkspace()->GetOwnerObject());
    RECT mdi = RectInFrame(frame->m_hWndMDIClient);
    EXPECT_TRUE(EqualRect(&rcClient, &strip));
    RECT content = {0, 0, strip.right - strip.left, strip.bottom - strip.top};
    tabs.GetPaintManager()->AdjustClientRect(tabs.GetWorkspace(), content);
    OffsetRect(&content, strip.left, strip.top);
    EXPECT_TRUE(EqualRect(&content, &mdi));
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
    strip = RectInFrame(tabs.GetWorkspace()->GetOwnerObject());
    mdi = RectInFrame(frame->m_hWndMDIClient);
    EXPECT_EQ(all.left, strip.left);
    EXPECT_EQ(all.left + 2, mdi.left);
    tabs.Detach();
}

// The strip's close button is hot under the mouse and not after the mouse
// left, also when another window came to the front meanwhile.
TEST_F(MdiFixture, NavigateButtonsAreNotHotAfterTheMouseLeft)
{
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    Pump();
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    HWND hStrip = ws->GetOwnerObject();
    CQXPTabManagerNavigateButton* close = ws->FindNavigateButton(CQXPTabManagerNavigateButton::idClose);
    ASSERT_NE(nullptr, close);
    close->m_nMode = 2; // always shown
    tabs.Refresh();
    Pump();
    ASSERT_FALSE(IsRectEmpty(&close->m_rc));
    POINT on = {(close->m_rc.left + close->m_rc.right) / 2, (close->m_rc.top + close->m_rc.bottom) / 2};
    for (bool otherInFront : {false, true}) {
        const char* what = otherInFront ? "another window in front" : "the frame in front";
        SetForegroundWindow(frame->GetSafeHwnd());
        SendMessageA(hStrip, WM_MOUSEMOVE, 0, MAKELPARAM(on.x, on.y));
        ASSERT_EQ(close, ws->GetHighlightedNavigateButton()) << what;
        HWND hOther = NULL;
        if (otherInFront) {
            hOther = CreateWindowExA(0, "STATIC", "Other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
            SetForegroundWindow(hOther);
            Pump();
        }
        SendMessageA(hStrip, WM_MOUSELEAVE, 0, 0);
        EXPECT_EQ(nullptr, ws->GetHighlightedNavigateButton()) << what;
        if (hOther)
            DestroyWindow(hOther);
        Pump();
    }
}

// The active document's tab lies whole inside the strip after a document is
// added and after another is activated; a resize keeps the scroll the user
// left. The bold label gets the room it needs, also when its title grows.
TEST_F(MdiFixture, ActiveTabStaysWholeInsideTheStrip)
{
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    Pump();
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    HWND hStrip = ws->GetOwnerObject();
    auto idle = [&] {
        SendMessageA(frame->m_hWndMDIClient, WM_IDLEUPDATECMDUI, TRUE, 0);
        Pump();
    };
    auto expectShown = [&](HWND hChild, const char* when) {
        CQXPTabManagerItem* item = tabs.FindItem(hChild);
        ASSERT_NE(nullptr, item) << when;
        EXPECT_EQ(item, ws->GetSelectedItem()) << when;
        RECT strip, r = item->GetRect();
        GetClientRect(hStrip, &strip);
        const RECT& header = ws->m_rcHeaderRect;
        EXPECT_GE(r.left, header.left) << when;
        EXPECT_LE(r.right, header.right) << when;
        EXPECT_GE(r.left, strip.left) << when;
        EXPECT_LE(r.right, strip.right) << when;
        EXPECT_GT(r.right - r.left, 0) << when;
    };
    // Enough documents to overflow the strip; each new one is active.
    for (int i = 0; i < 14; ++i) {
        ASSERT_NE(nullptr, AddNumberedDocument(i + 1));
        idle();
        expectShown(children.back(), ("document " + std::to_string(i + 1)).c_str());
    }
    ASSERT_LT(ws->GetScrollOffset(), 0);

    // Activating the first document brings its tab back.
    SendMessageA(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)children[0], 0);
    idle();
    expectShown(children[0], "first activated");

    // A narrower frame keeps the scroll the user left: only a new
    // selection scrolls the strip.
    HWND hLast = children.back();
    SendMessageA(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)hLast, 0);
    idle();
    expectShown(hLast, "last activated");
    SetWindowPos(frame->GetSafeHwnd(), NULL, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOMOVE);
    idle();
    ws->SetScrollOffset(0); // the user scrolled back to the start
    SetWindowPos(frame->GetSafeHwnd(), NULL, 0, 0, 420, 600, SWP_NOZORDER | SWP_NOMOVE);
    idle();
    EXPECT_EQ(0, ws->GetScrollOffset()) << "after the frame was narrowed";
    EXPECT_GT(tabs.FindItem(hLast)->GetRect().right, ws->m_rcHeaderRect.right) << "after the frame was narrowed";
    HWND hFirst = children[0];
    SendMessageA(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)hFirst, 0);
    idle();
    expectShown(hFirst, "first activated again");

    // The active tab's label is drawn bold: its room is measured in bold,
    // also after the title grew while the document was open.
    SetWindowTextA(hFirst, "Document number 1.txt *");
    idle();
    expectShown(hFirst, "after the title grew");
    CQXPTabManagerItem* item = tabs.FindItem(hFirst);
    EXPECT_STREQ("Document number 1.txt *", item->GetCaption());
    CQXPTabPainter* painter = tabs.GetPaintManager();
    ASSERT_TRUE(painter->m_bBoldSelected);
    HDC hdc = GetDC(hStrip);
    HGDIOBJ old = SelectObject(hdc, painter->GetFont(TRUE, FALSE));
    RECT text = {0, 0, 0, 0};
    DrawTextA(hdc, item->GetCaption(), -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(hdc, old);
    ReleaseDC(hStrip, hdc);
    const RECT& r = item->GetRect();
    int room = (r.right - r.left) - painter->m_rcContentInset.left - painter->m_rcContentInset.right;
    EXPECT_GE(room, text.right - text.left);
}

} // namespace

namespace {

// Asks the client the way the frame's command routing does.
BOOL CommandEnabled(CQXPTabClientWnd& tabs, UINT nID)
{
    CCmdUI ui;
    ui.m_nID = nID;
    ui.m_bEnableChanged = FALSE;
    struct Probe : CCmdUI {
        BOOL enabled = -1;
        void Enable(BOOL bOn) override { enabled = bOn; }
    } probe;
    probe.m_nID = nID;
    EXPECT_TRUE(tabs.OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &probe, NULL));
    return probe.enabled;
}

TEST_F(MdiFixture, WorkspaceCommandsNeedTabGroups)
{
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    Pump();
    for (UINT id = ID_WORKSPACE_MOVEPREVIOUS; id <= ID_WORKSPACE_NEWVERTICAL; ++id)
        EXPECT_FALSE(CommandEnabled(tabs, id)) << id;
    // Running one changes nothing.
    EXPECT_TRUE(tabs.OnCmdMsg(ID_WORKSPACE_NEWHORIZONTAL, CN_COMMAND, NULL, NULL));
    EXPECT_EQ(1, tabs.GetWorkspaceCount());
}

TEST_F(MdiFixture, TabGroupsSplitAndJoinAgain)
{
    ASSERT_TRUE(ToolkitCursorResource(QX_IDC_SPLIT_UPDOWN) && ToolkitCursorResource(QX_IDC_SPLIT_LEFTRIGHT));
    ASSERT_TRUE(tabs.Attach(frame, TRUE));
    tabs.Refresh();
    Pump();
    ASSERT_EQ(1, tabs.GetWorkspaceCount());
    EXPECT_EQ(3, tabs.GetWorkspace(0)->GetItemCount());
    HWND active = Active();
    EXPECT_FALSE(CommandEnabled(tabs, ID_WORKSPACE_MOVEPREVIOUS));
    EXPECT_FALSE(CommandEnabled(tabs, ID_WORKSPACE_MOVENEXT));
    EXPECT_TRUE(CommandEnabled(tabs, ID_WORKSPACE_NEWHORIZONTAL));
    EXPECT_TRUE(CommandEnabled(tabs, ID_WORKSPACE_NEWVERTICAL));

    // A new horizontal group below takes the active document.
    EXPECT_TRUE(tabs.OnCmdMsg(ID_WORKSPACE_NEWHORIZONTAL, CN_COMMAND, NULL, NULL));
    Pump();
    ASSERT_EQ(2, tabs.GetWorkspaceCount());
    CQXPTabWorkspace* top = tabs.GetWorkspace(0);
    CQXPTabWorkspace* bottom = tabs.GetWorkspace(1);
    EXPECT_EQ(2, top->GetItemCount());
    EXPECT_EQ(1, bottom->GetItemCount());
    EXPECT_EQ(bottom, tabs.FindWorkspace(tabs.FindItem(active)));
    EXPECT_EQ(active, Active());
    EXPECT_EQ(top->m_rcGroup.bottom + tabs.m_nSplitterWidth, bottom->m_rcGroup.top);
    EXPECT_EQ(top->m_rcGroup.left, bottom->m_rcGroup.left);
    // The strips head their groups; each document fills its group's content.
    RECT strip = bottom->m_rcStrip; // the group's own coordinates
    EXPECT_EQ(bottom->m_rcGroup.top, strip.top);
    RECT doc;
    GetWindowRect(active, &doc);
    MapWindowPoints(HWND_DESKTOP, frame->m_hWndMDIClient, (LPPOINT)&doc, 2);
    EXPECT_TRUE(EqualRect(&bottom->m_rcContent, &doc));
    GetWindowRect(children[0], &doc);
    MapWindowPoints(HWND_DESKTOP, frame->m_hWndMDIClient, (LPPOINT)&doc, 2);
    EXPECT_TRUE(EqualRect(&top->m_rcContent, &doc));
    // The document alone in its group cannot start another; it can go back.
    EXPECT_FALSE(CommandEnabled(tabs, ID_WORKSPACE_NEWHORIZONTAL));
    EXPECT_FALSE(CommandEnabled(tabs, ID_WORKSPACE_MOVENEXT));
    EXPECT_TRUE(CommandEnabled(tabs, ID_WORKSPACE_MOVEPREVIOUS));

    // Moving the last tab out removes its group; the first takes the room.
    RECT all = top->m_rcGroup;
    all.bottom = bottom->m_rcGroup.bottom;
    EXPECT_TRUE(tabs.OnCmdMsg(ID_WORKSPACE_MOVEPREVIOUS, CN_COMMAND, NULL, NULL));
    Pump();
    ASSERT_EQ(1, tabs.GetWorkspaceCount());
    EXPECT_EQ(3, tabs.GetWorkspace(0)->GetItemCount());
    EXPECT_TRUE(EqualRect(&all, &tabs.GetWorkspace(0)->m_rcGroup));

    // Dragging the bar between the groups shares their room anew, as an
    // outline and live.
    EXPECT_TRUE(tabs.OnCmdMsg(ID_WORKSPACE_NEWHORIZONTAL, CN_COMMAND, NULL, NULL));
    Pump();
    ASSERT_EQ(2, tabs.GetWorkspaceCount());
    for (BOOL bTracker : {TRUE, FALSE}) {
        tabs.m_bTrackerMode = bTracker;
        RECT bar = tabs.GetWorkspace(0)->m_rcSplitter;
        ASSERT_FALSE(IsRectEmpty(&bar));
        POINT grab = {(bar.left + bar.right) / 2, bar.top + 1};
        EXPECT_EQ(0, tabs.HitTestSplitter(POINT{grab.x, bar.top - 3}) + 1); // not on a group
        // Over the bar between stacked groups: the up-down splitter cursor.
        EXPECT_EQ(ToolkitCursorResource(QX_IDC_SPLIT_UPDOWN), CursorOver(grab));
        int dy = bTracker ? -60 : 40;
        PostMessageA(frame->m_hWndMDIClient, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab.x, grab.y + dy));
        PostMessageA(frame->m_hWndMDIClient, WM_LBUTTONUP, 0, MAKELPARAM(grab.x, grab.y + dy));
        SendMessageA(frame->m_hWndMDIClient, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
        Pump();
        RECT moved = tabs.GetWorkspace(0)->m_rcSplitter;
        EXPECT_NEAR(bar.top + dy, moved.top, 1) << bTracker;
        EXPECT_EQ(nullptr, GetCapture());
    }
    // Joined again.
    SendMessageA(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)tabs.GetWorkspace(1)->GetItem(0)->m_hWnd, 0);
    EXPECT_TRUE(tabs.OnCmdMsg(ID_WORKSPACE_MOVEPREVIOUS, CN_COMMAND, NULL, NULL));
    Pump();
    ASSERT_EQ(1, tabs.GetWorkspaceCount());

    // A vertical group lies beside.
    EXPECT_TRUE(tabs.OnCmdMsg(ID_WORKSPACE_NEWVERTICAL, CN_COMMAND, NULL, NULL));
    Pump();
    ASSERT_EQ(2, tabs.GetWorkspaceCount());
    EXPECT_EQ(tabs.GetWorkspace(0)->m_rcGroup.right + tabs.m_nSplitterWidth, tabs.GetWorkspace(1)->m_rcGroup.left);
    EXPECT_FALSE(tabs.m_bGroupsStacked);
    RECT bar = tabs.GetWorkspace(0)->m_rcSplitter;
    EXPECT_EQ(ToolkitCursorResource(QX_IDC_SPLIT_LEFTRIGHT),
              CursorOver(POINT{(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2}));
    // Side by side, a horizontal group is not offered.
    SendMessageA(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)tabs.GetWorkspace(0)->GetItem(0)->m_hWnd, 0);
    Pump();
    EXPECT_FALSE(CommandEnabled(tabs, ID_WORKSPACE_NEWHORIZONTAL));
    EXPECT_TRUE(CommandEnabled(tabs, ID_WORKSPACE_NEWVERTICAL));
    // A document closed in a group of one takes its group with it (once
    // the program was idle after the commands).
    docktest::IdleUpdate(frame);
    HWND alone = tabs.GetWorkspace(1)->GetItem(0)->m_hWnd;
    SendMessageA(frame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)alone, 0);
    Pump();
    EXPECT_EQ(1, tabs.GetWorkspaceCount());
    EXPECT_EQ(2, tabs.GetWorkspace(0)->GetItemCount());
}

TEST_F(MdiFixture, TabTooltipsFollowTheMode)
{
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    tabs.Refresh();
    Pump();
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    CQXPTabManagerItem* item = tabs.FindItem(children[0]);
    ASSERT_NE(nullptr, item);
    RECT r = item->GetRect();
    CPoint pt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    struct {
        int mode;
        const char* tip;                             // NULL: no tooltip
    } cases[] = {{1, "Doc1"}, {0, NULL}, {2, NULL}}; // mode 2: only for cut captions
    for (auto& c : cases) {
        tabs.SetToolTipMode(c.mode);
        TOOLINFOA ti = {};
        ti.cbSize = sizeof(ti);
        INT_PTR hit = ws->OnToolHitTest(pt, &ti);
        if (!c.tip) {
            EXPECT_EQ(-1, hit) << c.mode;
            continue;
        }
        EXPECT_EQ(item->GetIndex() + 1, hit);
        ASSERT_NE(nullptr, ti.lpszText);
        EXPECT_STREQ(c.tip, ti.lpszText);
        EXPECT_EQ(ws->GetOwnerObject(), ti.hwnd);
        free(ti.lpszText);
    }
    // The item's own tooltip wins over the caption.
    tabs.SetToolTipMode(1);
    item->m_strToolTip = "C:\\docs\\Doc1.txt";
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    ASSERT_GE(ws->OnToolHitTest(pt, &ti), 1);
    EXPECT_STREQ("C:\\docs\\Doc1.txt", ti.lpszText);
    free(ti.lpszText);
    // Away from the tabs there is none.
    EXPECT_EQ(-1, ws->OnToolHitTest(CPoint(-5, -5), NULL));
}

TEST_F(MdiFixture, DataDraggedOverATabBringsItsDocumentForward)
{
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    tabs.Refresh();
    Pump();
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    ASSERT_NE(nullptr, tabs.GetDropTarget());
    ASSERT_NE(children[0], Active());
    RECT r = tabs.FindItem(children[0])->GetRect();
    CPoint pt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_NONE, tabs.GetDropTarget()->OnDragOver(CWnd::FromHandle(ws->GetOwnerObject()), NULL, 0, pt));
    Pump();
    EXPECT_EQ(children[0], Active());
    EXPECT_EQ(tabs.FindItem(children[0]), ws->GetSelectedItem());
}

// With tab groups a tab dragged off its strip starts a group or joins one.
TEST_F(MdiFixture, TabsDraggedIntoGroups)
{
    ASSERT_TRUE(tabs.Attach(frame, TRUE));
    tabs.Refresh();
    Pump();
    CQXPTabWorkspace* first = tabs.GetWorkspace(0);
    ASSERT_EQ(3, first->GetItemCount());
    // Each drag returns the cursor it showed: the toolkit's drag cursor over
    // the client, its no-drop cursor outside.
    auto drag = [&](CQXPTabWorkspace* from, HWND doc, POINT toClient) {
        CQXPTabManagerItem* item = tabs.FindItem(doc);
        RECT r = item->GetRect();
        POINT grab = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        POINT to = toClient;
        MapWindowPoints(frame->m_hWndMDIClient, from->GetOwnerObject(), &to, 1);
        PostMessageA(from->GetOwnerObject(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        PostMessageA(from->GetOwnerObject(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
        SetCursor(NULL);
        SendMessageA(from->GetOwnerObject(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
        HCURSOR shown = GetCursor();
        Pump();
        EXPECT_EQ(nullptr, GetCapture());
        return shown;
    };
    const HCURSOR hDrag = ToolkitCursorResource(QX_IDC_TAB_DRAG);
    const HCURSOR hNoDrop = ToolkitCursorResource(QX_IDC_TAB_NODROP);
    ASSERT_TRUE(hDrag && hNoDrop);
    // Near the bottom of the documents: a new group below.
    RECT c = first->m_rcContent;
    CQXPTabWorkspace* target = NULL;
    POINT low = {(c.left + c.right) / 2, c.bottom - 10};
    EXPECT_EQ(3, tabs.FindDropTarget(low, tabs.FindItem(children[0]), &target));
    EXPECT_EQ(first, target);
    EXPECT_EQ(hDrag, drag(first, children[0], low));
    ASSERT_EQ(2, tabs.GetWorkspaceCount());
    EXPECT_TRUE(tabs.m_bGroupsStacked);
    CQXPTabWorkspace* second = tabs.GetWorkspace(1);
    EXPECT_EQ(second, tabs.FindWorkspace(tabs.FindItem(children[0])));
    EXPECT_EQ(2, first->GetItemCount());
    // Onto the other group's strip: it joins that group.
    RECT rcStrip;
    rcStrip = StripOnScreen(second);
    MapWindowPoints(HWND_DESKTOP, frame->m_hWndMDIClient, (LPPOINT)&rcStrip, 2);
    POINT onStrip = {rcStrip.right - 20, (rcStrip.top + rcStrip.bottom) / 2};
    EXPECT_EQ(2, tabs.FindDropTarget(onStrip, tabs.FindItem(children[1]), &target));
    EXPECT_EQ(hDrag, drag(first, children[1], onStrip));
    EXPECT_EQ(2, second->GetItemCount());
    EXPECT_EQ(1, first->GetItemCount());
    EXPECT_EQ(children[1], Active());
    // Outside the client there is no target; the tab stays.
    POINT outside = {-50, -50};
    EXPECT_EQ(0, tabs.FindDropTarget(outside, tabs.FindItem(children[2]), &target));
    EXPECT_EQ(hNoDrop, drag(first, children[2], outside));
    EXPECT_EQ(1, first->GetItemCount());
    // The last tab of a group dragged into the other: the group goes.
    rcStrip = StripOnScreen(second);
    MapWindowPoints(HWND_DESKTOP, frame->m_hWndMDIClient, (LPPOINT)&rcStrip, 2);
    onStrip = POINT{rcStrip.right - 20, (rcStrip.top + rcStrip.bottom) / 2};
    drag(first, children[2], onStrip);
    ASSERT_EQ(1, tabs.GetWorkspaceCount());
    EXPECT_EQ(3, tabs.GetWorkspace(0)->GetItemCount());
}

// A tab dragged off its strip with the real mouse: the desktop is locked
// and the drop area outlined in halftone, with the toolkit's drag cursor;
// every way out of the drag takes the outline off and gives the desktop
// back, and only a release moves the tab.
TEST_F(MdiFixture, ADraggedTabOutlinesItsDropAndEveryWayOutGivesTheDesktopBack)
{
    ASSERT_TRUE(tabs.Attach(frame, TRUE));
    tabs.Refresh();
    Pump();
    SetForegroundWindow(frame->GetSafeHwnd());
    Pump();
    CQXPTabWorkspace* first = tabs.GetWorkspace(0);
    const HWND hStrip = first->GetOwnerObject();
    RECT c = first->m_rcContent;
    POINT low = {(c.left + c.right) / 2, c.bottom - 10};
    ClientToScreen(frame->m_hWndMDIClient, &low);
    const RECT expected = tabs.GetDropOutline(3, first);
    // The lower half of the group, documents and strip together.
    RECT rcStrip = StripOnScreen(first);
    EXPECT_EQ(std::min(rcStrip.left, expected.left), expected.left);
    EXPECT_LT(expected.top, low.y);
    EXPECT_GT(expected.bottom, low.y);
    const RECT none = tabs.GetDropOutline(1, first);
    EXPECT_TRUE(IsRectEmpty(&none));
    const HCURSOR hDrag = ToolkitCursorResource(QX_IDC_TAB_DRAG);
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    std::vector<COLORREF> checker; // column by column, two rows of the outline's edge

    struct Way {
        const char* name;
        std::function<void()> end; // run mid-drag; the button is let go after it (if still down)
        bool bMoves;
    } ways[] = {
        {"escape", [] { qmtest::KeyStroke(VK_ESCAPE); }, false},
        {"capture lost", [other] { SetCapture(other); }, false},
        {"quit", [] { PostQuitMessage(0); }, false},
        {"release", [] { qmtest::MouseButton(MOUSEEVENTF_LEFTUP); }, true},
    };
    int nGrab = 0;
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        // Each press a few pixels from the last: not a double click.
        RECT r = tabs.FindItem(children[0])->GetRect();
        POINT grab = {r.left + 8 + 12 * (nGrab++ % 2), (r.top + r.bottom) / 2};
        ClientToScreen(hStrip, &grab);
        bool bLocked = false;
        RECT outline = {0, 0, 0, 0};
        HCURSOR shown = NULL;
        qmtest::Script script;
        script.Then([&] {
            qmtest::MouseMoveTo(grab);
            qmtest::MouseButton(MOUSEEVENTF_LEFTDOWN);
        });
        script.Add([&] { return GetCapture() == hStrip; });
        script.Then([&] { qmtest::MouseMoveTo(low); });
        script.Add([&] { return tabs.m_dragDesktop.hDC != NULL && EqualRect(&tabs.m_rcDropOutline, &expected); });
        script.Then([&] {
            bLocked = tabs.m_dragDesktop.hDC != NULL;
            outline = tabs.m_rcDropOutline;
            shown = GetCursor();
            if (way.bMoves) {
                RECT rcShot;
                GetWindowRect(frame->GetSafeHwnd(), &rcShot);
                qmtest::SaveScreenPng(rcShot, qmtest::ScreenshotDir(QM_BIN_DIR) + "/mditabs-drag-outline.png");
                // The bottom edge of the outline, over the plain document
                // background: a halftone checker, not a solid inversion.
                HDC hScreen = GetDC(NULL);
                const int x = (expected.left + expected.right) / 2 & ~1, y = expected.bottom - 2;
                for (int dx = 0; dx < 4; ++dx) {
                    checker.push_back(GetPixel(hScreen, x + dx, y));
                    checker.push_back(GetPixel(hScreen, x + dx, y + 1));
                }
                ReleaseDC(NULL, hScreen);
            }
            way.end();
        });
        script.Add([&] { return GetCapture() != hStrip; });
        script.Then([] {
            if (GetAsyncKeyState(VK_LBUTTON) & 0x8000)
                qmtest::MouseButton(MOUSEEVENTF_LEFTUP);
        });
        ASSERT_TRUE(script.Run(nullptr, 8000));
        qmtest::PumpFor(30);
        ReleaseCapture();
        EXPECT_TRUE(bLocked);
        EXPECT_TRUE(EqualRect(&outline, &expected));
        EXPECT_EQ(hDrag, shown);
        EXPECT_EQ(nullptr, tabs.m_dragDesktop.hDC) << "the desktop's DC is given back";
        EXPECT_FALSE(tabs.m_dragDesktop.bLocked);
        EXPECT_TRUE(IsRectEmpty(&tabs.m_rcDropOutline));
        EXPECT_EQ(way.bMoves ? 2 : 1, tabs.GetWorkspaceCount());
    }
    DestroyWindow(other);
    ASSERT_EQ(8u, checker.size());
    for (int dx = 0; dx + 1 < 4; ++dx) {
        SCOPED_TRACE(dx);
        EXPECT_NE(checker[2 * dx], checker[2 * dx + 2]) << "neighbours along a row differ";
        EXPECT_NE(checker[2 * dx], checker[2 * dx + 1]) << "neighbours down a column differ";
        EXPECT_EQ(checker[2 * dx], checker[2 * dx + 3]) << "diagonal neighbours match";
    }
}

HWND g_hMenuOwner = NULL;
std::vector<UINT> g_menuKeys;

void CALLBACK PressMenuKeys(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(NULL, id);
    for (UINT key : g_menuKeys) {
        ::PostMessageA(g_hMenuOwner, WM_KEYDOWN, key, 0);
        ::PostMessageA(g_hMenuOwner, WM_KEYUP, key, 0);
    }
}

// Dropped in the middle of the documents, a tab asks where to go: the
// menu of the group commands that apply.
TEST_F(MdiFixture, TabDroppedInTheMiddleOffersTheGroupCommands)
{
    ASSERT_TRUE(tabs.Attach(frame, TRUE));
    tabs.Refresh();
    Pump();
    SetForegroundWindow(frame->GetSafeHwnd());
    CQXPTabWorkspace* first = tabs.GetWorkspace(0);
    RECT c = first->m_rcContent;
    POINT middle = {(c.left + c.right) / 2, (c.top + c.bottom) / 2};
    CQXPTabWorkspace* target = NULL;
    EXPECT_EQ(1, tabs.FindDropTarget(middle, tabs.FindItem(children[0]), &target));
    SendMessageA(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)children[0], 0);
    Pump();
    POINT ps = middle;
    ClientToScreen(frame->m_hWndMDIClient, &ps);
    // Dismissed, the menu changes nothing.
    g_hMenuOwner = frame->GetSafeHwnd();
    g_menuKeys = {VK_ESCAPE};
    SetTimer(NULL, 0, 150, PressMenuKeys);
    tabs.ShowGroupMenu(ps);
    Pump();
    EXPECT_EQ(1, tabs.GetWorkspaceCount());
    EXPECT_EQ(3, tabs.GetWorkspace(0)->GetItemCount());
}

// A press on a tab leaves the strip under the pointer as it is until the
// program is idle: the document comes forward at once, but the tabs'
// captions (which here change with the active document) follow only with
// the idle update. A double click's second press is a press as well.
TEST_F(MdiFixture, APressKeepsTheStripAsItIsUntilTheIdleUpdate)
{
    std::vector<HWND> docs;
    for (const char* name : {"Left", "Right"}) {
        auto* child = new docktest::ActivityCaptionChild(name);
        ASSERT_TRUE(child->Create(NULL, name, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                                  frame));
        docs.push_back(child->GetSafeHwnd());
    }
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    Pump();
    docktest::IdleUpdate(frame);
    ASSERT_TRUE(qmtest::BringToForeground(frame->GetSafeHwnd()));
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    CQXPTabManagerItem* left = tabs.FindItem(docs[0]);
    CQXPTabManagerItem* right = tabs.FindItem(docs[1]);
    ASSERT_TRUE(left && right);
    ASSERT_EQ(docs[1], Active());
    EXPECT_STREQ("Left", left->GetCaption());
    EXPECT_STREQ("Right (active)", right->GetCaption());
    EXPECT_FALSE(tabs.IsClickPending());
    EXPECT_FALSE(tabs.IsUpdateSuspended());

    RECT r = left->GetRect();
    POINT pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ASSERT_TRUE(ClickUntilActive(ws->GetOwnerObject(), pt, docs[0]));
    EXPECT_EQ(left, ws->GetSelectedItem());
    // The documents switched with the client's drawing off; it draws again.
    EXPECT_TRUE(IsWindowVisible(frame->m_hWndMDIClient));
    EXPECT_TRUE(IsWindowVisible(docs[0]));
    EXPECT_TRUE(tabs.IsClickPending());
    EXPECT_TRUE(tabs.IsUpdateSuspended());
    EXPECT_STREQ("Left", left->GetCaption()) << "the strip is not brought in step before the idle update";
    EXPECT_STREQ("Right (active)", right->GetCaption());
    EXPECT_EQ(left, ws->HitTest(pt));
    tabs.Refresh(FALSE);
    EXPECT_STREQ("Left", left->GetCaption()) << "nor by a refresh meanwhile";

    docktest::IdleUpdate(frame);
    EXPECT_FALSE(tabs.IsClickPending());
    EXPECT_FALSE(tabs.IsUpdateSuspended());
    EXPECT_STREQ("Left (active)", left->GetCaption());
    EXPECT_STREQ("Right", right->GetCaption());

    // The second press of a double click (the release waiting behind it).
    r = right->GetRect();
    pt = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    PostMessageA(ws->GetOwnerObject(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    SendMessageA(ws->GetOwnerObject(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    Pump();
    EXPECT_EQ(docs[1], Active());
    EXPECT_TRUE(tabs.IsClickPending());
    EXPECT_STREQ("Right", right->GetCaption());
    docktest::IdleUpdate(frame);
    EXPECT_STREQ("Right (active)", right->GetCaption());
    EXPECT_STREQ("Left", left->GetCaption());
}

// With tab groups a press on the strip of a group that is not the active
// one brings that group's document forward, also away from its tabs; the
// tabs follow at the idle update.
TEST_F(MdiFixture, APressOnAnInactiveGroupsStripBringsItsDocumentForward)
{
    // The active document in a group of its own below.
    ASSERT_NO_FATAL_FAILURE(SplitIntoGroups(ID_WORKSPACE_NEWHORIZONTAL));
    CQXPTabWorkspace* top = tabs.GetWorkspace(0);
    CQXPTabWorkspace* bottom = tabs.GetWorkspace(1);
    ASSERT_EQ(bottom, tabs.GetActiveWorkspace());
    ASSERT_NE(nullptr, top->GetSelectedItem());
    const HWND hTopDocument = top->GetSelectedItem()->m_hWnd;
    ASSERT_NE(hTopDocument, Active());

    // Just after the last tab of the top strip: no tab, no button.
    RECT last = top->GetItem(top->GetItemCount() - 1)->GetRect();
    POINT pt = {last.right + 8, (last.top + last.bottom) / 2};
    ASSERT_EQ(nullptr, top->HitTest(pt));
    ASSERT_EQ(nullptr, top->HitTestNavigateButton(pt, FALSE));
    ASSERT_TRUE(qmtest::BringToForeground(frame->GetSafeHwnd()));
    EXPECT_TRUE(ClickUntilActive(top->GetOwnerObject(), pt, hTopDocument));
    EXPECT_TRUE(tabs.IsClickPending());
    docktest::IdleUpdate(frame);
    EXPECT_EQ(top, tabs.GetActiveWorkspace());
    EXPECT_FALSE(tabs.IsClickPending());
}

// A view of nothing, for documents of the framework's own in the tests.
class BlankView : public CView {
    DECLARE_DYNCREATE(BlankView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(BlankView, CView)

// The tab of a framework document shows the document's title and its
// tooltip the document's full path, whatever the window's text says; a
// document's own answer still comes first.
TEST_F(MdiFixture, TabsOfFrameworkDocumentsShowTheirTitleAndPath)
{
    auto open = [&](CDocument* pDoc, CMDIChildWnd* pChild) {
        CCreateContext context;
        context.m_pCurrentDoc = pDoc;
        context.m_pNewViewClass = RUNTIME_CLASS(BlankView);
        EXPECT_TRUE(pChild->Create(NULL, "Window text", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                   CFrameWnd::rectDefault, frame, &context));
        pChild->InitialUpdateFrame(pDoc, TRUE);
        ::SetWindowTextA(pChild->GetSafeHwnd(), "Window text");
        return pChild->GetSafeHwnd();
    };
    CDocument* pReport = new CDocument;
    pReport->SetPathName("C:\\docs\\Report.txt", FALSE);
    const HWND hReport = open(pReport, new CMDIChildWnd);
    CDocument* pUntitled = new CDocument; // no title, no path
    const HWND hUntitled = open(pUntitled, new CMDIChildWnd);
    CDocument* pOwn = new CDocument;
    pOwn->SetPathName("C:\\docs\\Own.txt", FALSE);
    const HWND hOwn = open(pOwn, new docktest::ActivityCaptionChild("Own caption"));
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    tabs.SetToolTipMode(1);
    Pump();
    docktest::IdleUpdate(frame);
    const struct {
        HWND hWnd;
        const char *caption, *tooltip;
    } cases[] = {{hReport, "Report.txt", "C:\\docs\\Report.txt"},
                 {hUntitled, "Window text", "Window text"},
                 {hOwn, "Own caption (active)", "C:\\docs\\Own.txt"},
                 {children[0], "Doc1", "Doc1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        CQXPTabManagerItem* pItem = tabs.FindItem(c.hWnd);
        ASSERT_NE(nullptr, pItem);
        EXPECT_STREQ(c.caption, pItem->GetCaption());
        EXPECT_STREQ(c.tooltip, tabs.GetItemTooltip(pItem));
    }
}

// A frame skin learns when the tabs come and go and whether tab groups lie
// over the MDI client; a client made right to left turns its strips.
TEST_F(MdiFixture, AFrameSkinLearnsOfTheTabs)
{
    static const UINT nUpdate = RegisterWindowMessageA("WM_SKINFRAMEWORK_UPDATESTATE");
    static const UINT nQuery = RegisterWindowMessageA("WM_SKINFRAMEWORK_QUERYSTATE");
    static int s_nUpdates;
    static WNDPROC s_pfnOld;
    s_nUpdates = 0;
    struct Watch {
        static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
        {
            if (m == nUpdate)
                s_nUpdates++;
            return CallWindowProcA(s_pfnOld, h, m, w, l);
        }
    };
    const HWND hClient = frame->m_hWndMDIClient;
    s_pfnOld = (WNDPROC)SetWindowLongPtrA(hClient, GWLP_WNDPROC, (LONG_PTR)&Watch::Proc);
    EXPECT_EQ(0, SendMessageA(hClient, nQuery, 0, 0));
    for (BOOL bGroups : {FALSE, TRUE}) {
        SCOPED_TRACE(bGroups);
        s_nUpdates = 0;
        ASSERT_TRUE(tabs.Attach(frame, bGroups));
        EXPECT_EQ(1, s_nUpdates);
        EXPECT_EQ(bGroups ? 1 : 0, SendMessageA(hClient, nQuery, 0, 0));
        EXPECT_TRUE(tabs.Detach());
        EXPECT_EQ(2, s_nUpdates);
        EXPECT_EQ(0, SendMessageA(hClient, nQuery, 0, 0));
    }
    SetWindowLongPtrA(hClient, GWLP_WNDPROC, (LONG_PTR)s_pfnOld);

    // Right to left: the first tab lies at the strip's right end.
    tabs.m_bRightToLeft = TRUE;
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    Pump();
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    EXPECT_TRUE(GetWindowLongPtrA(ws->GetOwnerObject(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    RECT first = ws->GetItem(0)->GetRect(), second = ws->GetItem(1)->GetRect();
    MapWindowPoints(ws->GetOwnerObject(), HWND_DESKTOP, (LPPOINT)&first, 2);
    MapWindowPoints(ws->GetOwnerObject(), HWND_DESKTOP, (LPPOINT)&second, 2);
    EXPECT_GT(std::min(first.left, first.right), std::min(second.left, second.right));
}

// The client finds the tab under a point of its own over every group's
// strip; with the tabs hidden there is none.
TEST_F(MdiFixture, TheClientHitTestsEveryGroupsStrip)
{
    ASSERT_NO_FATAL_FAILURE(SplitIntoGroups(ID_WORKSPACE_NEWVERTICAL));
    for (int g = 0; g < 2; ++g) {
        CQXPTabWorkspace* ws = tabs.GetWorkspace(g);
        for (int i = 0; i < ws->GetItemCount(); ++i) {
            CQXPTabManagerItem* pItem = ws->GetItem(i);
            RECT r = pItem->GetRect();
            POINT pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            MapWindowPoints(ws->GetOwnerObject(), frame->m_hWndMDIClient, &pt, 1);
            EXPECT_EQ(pItem, tabs.HitTest(pt)) << g << "," << i;
        }
    }
    RECT c = tabs.GetWorkspace(1)->m_rcContent;
    EXPECT_EQ(nullptr, tabs.HitTest(POINT{(c.left + c.right) / 2, (c.top + c.bottom) / 2}));
    RECT r = tabs.GetWorkspace(1)->GetItem(0)->GetRect();
    POINT pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MapWindowPoints(tabs.GetWorkspace(1)->GetOwnerObject(), frame->m_hWndMDIClient, &pt, 1);
    tabs.ShowWorkspace(FALSE);
    EXPECT_EQ(nullptr, tabs.HitTest(pt));
    tabs.ShowWorkspace(TRUE);
}

using qmtest::SolidIcon;

// A new tab client puts the pictures of the two new-group commands into the
// image manager: the upper and lower groups, then the left and right ones.
TEST(MdiTabPictures, NewGroupCommandsGetTheirPicturesWhenTheClientIsMade)
{
    CQXPImageManager* pImages = GetGlobalImageManager();
    pImages->RemoveIcon(ID_WORKSPACE_NEWHORIZONTAL);
    pImages->RemoveIcon(ID_WORKSPACE_NEWVERTICAL);
    ASSERT_FALSE(pImages->HasOwnImage(ID_WORKSPACE_NEWHORIZONTAL, 16));
    CQXPTabClientWnd client;
    // Each picture drawn on white: the mask colour lets the white through
    // at the corner; below the middle on the left lies the lower group's
    // fill (horizontal) or the left group's white (vertical).
    struct Case {
        UINT nID;
        bool bLowerLeftFilled;
    } cases[] = {{ID_WORKSPACE_NEWHORIZONTAL, true}, {ID_WORKSPACE_NEWVERTICAL, false}};
    for (const Case& c : cases) {
        CQXPIconImage* pImage = pImages->GetImage(c.nID, 16);
        ASSERT_NE(nullptr, pImage) << c.nID;
        EXPECT_EQ(16, pImage->m_nWidth);
        EXPECT_EQ(16, pImage->m_nHeight);
        HDC hdcScreen = GetDC(NULL);
        HDC hdc = CreateCompatibleDC(hdcScreen);
        HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, 16, 16);
        ReleaseDC(NULL, hdcScreen);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        PatBlt(hdc, 0, 0, 16, 16, WHITENESS);
        pImage->Draw(hdc, POINT{0, 0});
        EXPECT_EQ(RGB(255, 255, 255), GetPixel(hdc, 0, 0)) << c.nID << ": the green corner is transparent";
        const COLORREF clr = GetPixel(hdc, 4, 10);
        EXPECT_EQ(c.bLowerLeftFilled, clr != RGB(255, 255, 255)) << c.nID << std::hex << " " << clr;
        SelectObject(hdc, hOld);
        DeleteObject(hbm);
        DeleteDC(hdc);
    }
}

// Each tab shows its document's icon: the small window icon first, else the
// big one, else what the window class offers.
TEST_F(MdiFixture, TabsShowTheirDocumentsIcons)
{
    HICON hRed = SolidIcon(RGB(255, 0, 0)), hBlue = SolidIcon(RGB(0, 0, 255));
    SendMessageA(children[0], WM_SETICON, ICON_SMALL, (LPARAM)hRed);
    SendMessageA(children[0], WM_SETICON, ICON_BIG, (LPARAM)hBlue);
    SendMessageA(children[1], WM_SETICON, ICON_BIG, (LPARAM)hBlue);
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    tabs.Refresh();
    Pump();
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    EXPECT_EQ((DWORD_PTR)hRed, ws->GetItemImage(tabs.FindItem(children[0])));
    EXPECT_EQ((DWORD_PTR)hBlue, ws->GetItemImage(tabs.FindItem(children[1])));
    EXPECT_NE((DWORD_PTR)0, ws->GetItemImage(tabs.FindItem(children[2])));
    // Drawn at the start of the tab.
    UpdateWindow(ws->GetOwnerObject());
    RECT r = tabs.FindItem(children[0])->GetRect();
    HDC hdc = GetDC(ws->GetOwnerObject());
    COLORREF clr = GetPixel(hdc, r.left + 4 + 8, (r.top + r.bottom) / 2);
    ReleaseDC(ws->GetOwnerObject(), hdc);
    EXPECT_EQ(RGB(255, 0, 0), clr);
    tabs.Detach();
    DestroyIcon(hRed);
    DestroyIcon(hBlue);
}

// A document that answers the tab client's icon question when it has an
// answer to give (and with 0, as any window, when it has none).
class IconAnsweringChild : public CMDIChildWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TABCLIENT_GETICON && answer)
            return (LRESULT)answer;
        return CMDIChildWnd::WindowProc(message, wParam, lParam);
    }
    HICON answer = NULL;
};

// A tab's icon is the document's own answer first, then its small window
// icon, its big one, its class's small icon, its class icon, and at last
// the system's Windows logo. Each case is a document of a window class of
// its own; the tab's picture is read back from the strip on the screen.
TEST_F(MdiFixture, TabIconsFallBackFromTheDocumentsAnswerToTheWindowClassAndTheSystem)
{
    using qmtest::IconCentreColour;
    for (HWND h : children)
        SendMessageA(frame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)h, 0);
    children.clear();
    Pump();

    const COLORREF kAnswer = RGB(0, 160, 0), kSmall = RGB(255, 0, 0), kBig = RGB(0, 0, 255),
                   kClassSmall = RGB(255, 255, 0), kClass = RGB(0, 255, 255), kNone = CLR_NONE;
    struct Case {
        const char* name;
        COLORREF answer, small, big, classSmall, classIcon;
        COLORREF shown; // CLR_NONE: the system's Windows logo
    } cases[] = {
        {"A", kAnswer, kSmall, kBig, kClassSmall, kClass, kAnswer},
        {"S", kNone, kSmall, kBig, kClassSmall, kClass, kSmall},
        {"B", kNone, kNone, kBig, kClassSmall, kClass, kBig},
        {"CS", kNone, kNone, kNone, kClassSmall, kClass, kClassSmall},
        {"C", kNone, kNone, kNone, kNone, kClass, kClass},
        {"N", kNone, kNone, kNone, kNone, kNone, kNone},
    };
    std::vector<HICON> icons;
    auto Icon = [&](COLORREF clr) -> HICON {
        if (clr == kNone)
            return NULL;
        icons.push_back(qmtest::SolidIcon(clr));
        return icons.back();
    };
    std::vector<std::string> classes;
    for (const Case& c : cases) {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefMDIChildProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.hCursor = LoadCursor(NULL, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.hIcon = Icon(c.classIcon);
        wc.hIconSm = Icon(c.classSmall);
        classes.push_back(std::string("QxTabIcon") + c.name);
        wc.lpszClassName = classes.back().c_str();
        ASSERT_NE(0, RegisterClassExA(&wc)) << c.name;
        IconAnsweringChild* child = new IconAnsweringChild();
        child->answer = Icon(c.answer);
        ASSERT_TRUE(child->Create(wc.lpszClassName, c.name, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                  CFrameWnd::rectDefault, frame))
            << c.name;
        children.push_back(child->GetSafeHwnd());
        if (HICON h = Icon(c.small))
            SendMessageA(children.back(), WM_SETICON, ICON_SMALL, (LPARAM)h);
        if (HICON h = Icon(c.big))
            SendMessageA(children.back(), WM_SETICON, ICON_BIG, (LPARAM)h);
    }
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    tabs.Refresh();
    Pump();
    ASSERT_TRUE(qmtest::BringToForeground(frame->GetSafeHwnd()));
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    ASSERT_NE(nullptr, ws);
    ASSERT_EQ((int)children.size(), ws->GetItemCount());
    HWND hStrip = ws->GetOwnerObject();
    RedrawWindow(hStrip, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    for (size_t i = 0; i < children.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        CQXPTabManagerItem* item = tabs.FindItem(children[i]);
        ASSERT_NE(nullptr, item);
        const HICON hShown = (HICON)ws->GetItemImage(item);
        EXPECT_EQ(hShown, tabs.GetItemIcon(item)) << "the strip asks the client";
        if (c.shown == kNone) {
            EXPECT_EQ(LoadIcon(NULL, IDI_WINLOGO), hShown);
            continue;
        }
        EXPECT_EQ(c.shown, IconCentreColour(hShown));
        // Drawn at the start of the tab, as the strip shows it.
        RECT r = item->GetRect();
        HDC hdc = GetDC(hStrip);
        const COLORREF clr = GetPixel(hdc, r.left + 4 + 8, (r.top + r.bottom) / 2);
        ReleaseDC(hStrip, hdc);
        EXPECT_EQ(c.shown, clr);
    }
    tabs.Detach();
    frame->DestroyWindow();
    Pump();
    for (const std::string& name : classes)
        EXPECT_TRUE(UnregisterClassA(name.c_str(), GetModuleHandleA(NULL))) << name;
    for (HICON h : icons)
        DestroyIcon(h);
}

// A client that answers the "Active Files" list itself, recording it.
class ListingTabs : public CQXPTabClientWnd {
public:
    int TrackActiveFilesMenu(HMENU hMenu, POINT ptScreen, const RECT& rcExclude) override
    {
        listed.clear();
        for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
            char sz[64] = "";
            GetMenuStringA(hMenu, i, sz, sizeof(sz), MF_BYPOSITION);
            listed.push_back(sz);
        }
        at = ptScreen;
        excluded = rcExclude;
        return choice;
    }
    std::vector<std::string> listed;
    POINT at = {0, 0};
    RECT excluded = {0, 0, 0, 0};
    int choice = -1;
};

TEST_F(MdiFixture, ActiveFilesListsTheTabsAndActivatesTheChosenOne)
{
    SetWindowTextA(children[1], "R&D notes");
    ListingTabs listing;
    ASSERT_TRUE(listing.Attach(frame, FALSE));
    CQXPTabWorkspace* ws = listing.GetWorkspace();
    CQXPTabManagerNavigateButton* files = ws->FindNavigateButton(CQXPTabManagerNavigateButton::idActiveFiles);
    ASSERT_NE(nullptr, files);
    // Hidden until the flags ask for it.
    listing.Refresh();
    Pump();
    EXPECT_TRUE(IsRectEmpty(&files->m_rc));
    listing.SetFlags(4);
    Pump();
    ASSERT_FALSE(IsRectEmpty(&files->m_rc));
    // It stands before the strip's close button.
    CQXPTabManagerNavigateButton* close = ws->FindNavigateButton(CQXPTabManagerNavigateButton::idClose);
    if (!IsRectEmpty(&close->m_rc))
        EXPECT_LE(files->m_rc.right, close->m_rc.left);
    ASSERT_EQ(children[2], Active());
    POINT on = {(files->m_rc.left + files->m_rc.right) / 2, (files->m_rc.top + files->m_rc.bottom) / 2};
    // The list follows the tabs' order; the first document is chosen.
    std::vector<std::string> expected;
    for (int i = 0; i < ws->GetItemCount(); ++i) {
        if (ws->GetItem(i)->m_hWnd == children[0])
            listing.choice = i;
        expected.push_back(ws->GetItem(i)->m_hWnd == children[1] ? "R&&D notes" : (LPCSTR)ws->GetItem(i)->GetCaption());
    }
    ASSERT_EQ(3u, expected.size());
    PostMessageA(ws->GetOwnerObject(), WM_LBUTTONUP, 0, MAKELPARAM(on.x, on.y));
    SendMessageA(ws->GetOwnerObject(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(on.x, on.y));
    Pump();
    EXPECT_EQ(expected, listing.listed);
    RECT rcButton = files->m_rc;
    MapWindowPoints(ws->GetOwnerObject(), HWND_DESKTOP, (LPPOINT)&rcButton, 2);
    EXPECT_EQ(rcButton.left, listing.at.x);
    EXPECT_EQ(rcButton.bottom, listing.at.y);
    EXPECT_TRUE(EqualRect(&rcButton, &listing.excluded));
    EXPECT_EQ(children[0], Active());
    // Dismissed, the list changes nothing.
    listing.choice = -1;
    PostMessageA(ws->GetOwnerObject(), WM_LBUTTONUP, 0, MAKELPARAM(on.x, on.y));
    SendMessageA(ws->GetOwnerObject(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(on.x, on.y));
    Pump();
    EXPECT_EQ(children[0], Active());
    listing.Detach();
}

// The real list is a popup menu: Down to the first document and Enter
// pick it.
TEST_F(MdiFixture, ActiveFilesMenuTakesTheKeyboard)
{
    CQXPTabManagerNavigateButton* files = ActiveFilesButton();
    ASSERT_TRUE(files && !IsRectEmpty(&files->m_rc));
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    ASSERT_EQ(children[2], Active());
    g_hMenuOwner = frame->GetSafeHwnd();
    g_menuKeys.clear();
    for (int i = 0; i < ws->GetItemCount(); ++i) {
        g_menuKeys.push_back(VK_DOWN);
        if (ws->GetItem(i)->m_hWnd == children[0])
            break;
    }
    g_menuKeys.push_back(VK_RETURN);
    SetTimer(NULL, 0, 150, PressMenuKeys);
    tabs.ShowActiveFiles(ws, files);
    Pump();
    EXPECT_EQ(children[0], Active());
}

// With a close button on every tab, each closes exactly its own document;
// in the automatic mode only the selected (or hot) tab shows one.
TEST_F(MdiFixture, EachTabsCloseButtonClosesItsDocument)
{
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    tabs.SetFlags(0x10);
    Pump();
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    UpdateWindow(ws->GetOwnerObject());
    for (HWND h : children) {
        CQXPTabManagerItem* item = tabs.FindItem(h);
        ASSERT_EQ(1u, item->m_arrNavigateButtons.size());
        RECT rcButton = item->m_arrNavigateButtons[0]->m_rc;
        ASSERT_FALSE(IsRectEmpty(&rcButton));
        RECT rcItem = item->GetRect(), rcBoth;
        EXPECT_TRUE(IntersectRect(&rcBoth, &rcButton, &rcItem) && EqualRect(&rcBoth, &rcButton));
    }
    // The first tab is not the selected one: its button closes it alone.
    ASSERT_NE(children[0], Active());
    RECT rcClose = tabs.FindItem(children[0])->m_arrNavigateButtons[0]->m_rc;
    POINT on = {(rcClose.left + rcClose.right) / 2, (rcClose.top + rcClose.bottom) / 2};
    PostMessageA(ws->GetOwnerObject(), WM_LBUTTONUP, 0, MAKELPARAM(on.x, on.y));
    SendMessageA(ws->GetOwnerObject(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(on.x, on.y));
    Pump();
    tabs.UpdateContents();
    EXPECT_FALSE(IsWindow(children[0]));
    EXPECT_TRUE(IsWindow(children[1]));
    EXPECT_TRUE(IsWindow(children[2]));
    EXPECT_EQ(2, ws->GetItemCount());
    EXPECT_EQ(children[2], Active());

    // Automatic: the selected tab shows its button, the other one not.
    tabs.SetFlags(0x20);
    Pump();
    UpdateWindow(ws->GetOwnerObject());
    EXPECT_FALSE(IsRectEmpty(&tabs.FindItem(children[2])->m_arrNavigateButtons[0]->m_rc));
    EXPECT_TRUE(IsRectEmpty(&tabs.FindItem(children[1])->m_arrNavigateButtons[0]->m_rc));
    // Without the flags the tabs lose their buttons' room and show none.
    tabs.SetFlags(0);
    Pump();
    UpdateWindow(ws->GetOwnerObject());
    EXPECT_TRUE(IsRectEmpty(&tabs.FindItem(children[2])->m_arrNavigateButtons[0]->m_rc));
}

// A new document's tab goes where the option says: at the end, first, or
// after the selected tab.
TEST_F(MdiFixture, NewTabsGoWhereTheOptionSays)
{
    struct Case {
        int nPosition;
        const char* name;
    } cases[] = {{0, "at the end"}, {1, "first"}, {2, "after the selected tab"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQXPTabClientWnd client;
        client.m_nNewTabPosition = c.nPosition;
        ASSERT_TRUE(client.Attach(frame, FALSE));
        Pump();
        CQXPTabWorkspace* ws = client.GetWorkspace();
        ASSERT_EQ(3, ws->GetItemCount());
        // The middle tab is the selected one when the new document comes.
        CQXPTabManagerItem* middle = ws->GetItem(1);
        SendMessageA(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)middle->m_hWnd, 0);
        client.UpdateContents();
        ASSERT_EQ(1, ws->GetCurSel());
        CMDIChildWnd* child = new CMDIChildWnd();
        ASSERT_TRUE(child->Create(NULL, "New", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                                  frame));
        HWND hNew = child->GetSafeHwnd();
        client.UpdateContents();
        ASSERT_EQ(4, ws->GetItemCount());
        int nAt = -1;
        for (int i = 0; i < 4; ++i)
            if (ws->GetItem(i)->m_hWnd == hNew)
                nAt = i;
        EXPECT_EQ(c.nPosition == 0 ? 3 : c.nPosition == 1 ? 0
                                                          : 2,
                  nAt);
        client.Detach();
        DestroyWindow(hNew);
        Pump();
    }
}

// Closing the active document brings its right-hand neighbour forward (the
// left-hand one for the last tab) when the MDI client's choice is not kept.
TEST_F(MdiFixture, ClosingTheActiveDocumentActivatesItsNeighbourTab)
{
    tabs.m_bKeepActivationOnClose = FALSE;
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    Pump();
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    ASSERT_EQ(3, ws->GetItemCount());
    HWND first = ws->GetItem(0)->m_hWnd, second = ws->GetItem(1)->m_hWnd, third = ws->GetItem(2)->m_hWnd;
    // The middle tab closes right after the first one was active (the MDI
    // client would go back to the first): the third comes forward.
    SendMessageA(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)first, 0);
    SendMessageA(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)second, 0);
    tabs.UpdateContents();
    SendMessageA(frame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)second, 0);
    Pump();
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(third, Active());
    // Now the last tab closes: its left-hand neighbour comes forward.
    tabs.UpdateContents();
    SendMessageA(frame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)third, 0);
    Pump();
    EXPECT_EQ(first, Active());
    EXPECT_EQ(1, ws->GetItemCount());
}

// The documents' background takes colour 12 of the global paint manager's
// table; switched off, the MDI client's own brush paints it.
TEST_F(MdiFixture, DocumentBackgroundFollowsThePaintManager)
{
    CQXPThemePainter* pPaint = GetGlobalPaintManager();
    ASSERT_NE(nullptr, pPaint);
    ColorValue* pValue = pPaint->GetColorTable()->GetAt(COLOR_APPWORKSPACE);
    ASSERT_NE(nullptr, pValue);
    const COLORREF clrOld = pValue->GetOverride();
    const COLORREF clrOwn = RGB(10, 200, 30);
    pValue->Set(clrOwn);
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    Pump();
    // A corner of the MDI client no document covers.
    HWND hClient = frame->m_hWndMDIClient;
    for (HWND h : children)
        ShowWindow(h, SW_MINIMIZE);
    RECT rc;
    GetClientRect(hClient, &rc);
    POINT probe = {rc.right - 3, 3};
    auto pixel = [&] {
        RedrawWindow(hClient, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC hdc = GetDC(hClient);
        COLORREF clr = GetPixel(hdc, probe.x, probe.y);
        ReleaseDC(hClient, hdc);
        return clr;
    };
    EXPECT_EQ(clrOwn, pixel());
    tabs.m_bCustomBackground = FALSE;
    EXPECT_EQ(GetSysColor(COLOR_APPWORKSPACE), pixel());
    pValue->Set(clrOld);
}

// A document that notes whether it had a caption whenever it was moved.
class CaptionNotingChild : public CMDIChildWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_WINDOWPOSCHANGING && !(reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_NOMOVE))
            captionWhenMoved.push_back((GetStyle() & WS_CAPTION) == WS_CAPTION);
        return CMDIChildWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<bool> captionWhenMoved;
};

// The ribbon's theme as this test program has it (the ribbon library brings
// its own): the Office 2003 look under the ribbon's theme id.
class RibbonThemeStandIn : public ToolkitPaintThemeB {
public:
    int GetCurrentTheme() const override { return qxpThemeRibbon; }
    static CQXPThemePainter* AFXAPI Create() { return new RibbonThemeStandIn; }
};

// Under the command bars' themes 5 and 6 a document without a caption is
// cascaded or tiled as if it had one, and has none again afterwards; under
// other themes it keeps its style throughout.
TEST_F(MdiFixture, ArrangingGivesCaptionlessDocumentsACaptionForTheTime)
{
    const int nOldTheme = GetGlobalPaintManager() ? GetGlobalPaintManager()->GetCurrentTheme() : 0;
    RegisterThemeCreator(qxpThemeRibbon, &RibbonThemeStandIn::Create);
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    CaptionNotingChild* child = new CaptionNotingChild();
    ASSERT_TRUE(child->Create(NULL, "Bare", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                              frame));
    HWND hBare = child->GetSafeHwnd();
    for (UINT nArrange : {(UINT)WM_MDICASCADE, (UINT)WM_MDITILE}) {
        for (int nTheme : {qxpThemeRibbon, qxpThemeOfficeXP}) {
            SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << nArrange << std::dec << ", theme "
                                            << nTheme);
            SetGlobalPaintManager(nTheme);
            ASSERT_EQ(nTheme, GetGlobalPaintManager()->GetCurrentTheme());
            SetWindowLongPtrA(hBare, GWL_STYLE, GetWindowLongPtrA(hBare, GWL_STYLE) & ~WS_CAPTION);
            SendMessageA(frame->m_hWndMDIClient, WM_MDIRESTORE, (WPARAM)hBare, 0);
            // Somewhere no arrangement leaves it, so the arrangement moves it.
            SetWindowPos(hBare, NULL, 37, 41, 123, 97, SWP_NOZORDER | SWP_NOACTIVATE);
            child->captionWhenMoved.clear();
            SendMessageA(frame->m_hWndMDIClient, nArrange, 0, 0);
            Pump();
            ASSERT_FALSE(child->captionWhenMoved.empty());
            EXPECT_EQ(nTheme == qxpThemeRibbon, child->captionWhenMoved.front());
            EXPECT_NE(WS_CAPTION, GetWindowLongPtrA(hBare, GWL_STYLE) & WS_CAPTION);
        }
    }
    SetGlobalPaintManager(nOldTheme);
    RegisterThemeCreator(qxpThemeRibbon, NULL);
}

// The list in the command bars' look: a popup bar of buttons with the
// tabs' captions and their documents' icons, each icon registered once.
TEST(ActiveFilesPopupBar, ButtonsCarryTheCaptionsAndIcons)
{
    HICON a = LoadIcon(NULL, IDI_APPLICATION), b = LoadIcon(NULL, IDI_WARNING);
    CQXPCommandBarsActiveFiles list(NULL);
    std::vector<CQXPActiveFilesPopup::Item> items = {{"R&D notes", a}, {"Second", a}, {"Third", b}};
    CQXPPopupBar* pPopup = list.BuildPopup(items);
    ASSERT_NE(nullptr, pPopup);
    ASSERT_EQ(3, pPopup->GetControlCount());
    const char* captions[] = {"R&&D notes", "Second", "Third"};
    const int icons[] = {CQXPCommandBarsActiveFiles::kFirstIconId, CQXPCommandBarsActiveFiles::kFirstIconId,
                         CQXPCommandBarsActiveFiles::kFirstIconId + 1};
    for (int i = 0; i < 3; ++i) {
        CQXPControl* c = pPopup->GetControl(i);
        EXPECT_EQ(i + 1, c->GetID());
        EXPECT_STREQ(captions[i], c->GetCaption());
        EXPECT_EQ(icons[i], c->GetIconId()) << i;
        EXPECT_NE(nullptr, pPopup->GetImageManager()->GetImage(icons[i], 16)) << i;
    }
    pPopup->InternalRelease();
    // A later list keeps the ids of the icons it met before.
    pPopup = list.BuildPopup({{"Third", b}, {"Fourth", LoadIcon(NULL, IDI_ERROR)}});
    EXPECT_EQ(CQXPCommandBarsActiveFiles::kFirstIconId + 1, pPopup->GetControl(0)->GetIconId());
    EXPECT_EQ(CQXPCommandBarsActiveFiles::kFirstIconId + 2, pPopup->GetControl(1)->GetIconId());
    pPopup->InternalRelease();
}

// The popup bar of the list as it shows on screen, caught from inside its
// tracking by a posted message.
// The centre of the first tab group's content, on the screen.
POINT FirstGroupCentre(CQXPTabClientWnd& tabs, CMDIFrameWnd* frame)
{
    RECT c = tabs.GetWorkspace(0)->m_rcContent;
    POINT ps = {(c.left + c.right) / 2, (c.top + c.bottom) / 2};
    ClientToScreen(frame->m_hWndMDIClient, &ps);
    return ps;
}

struct PopupShot {
    PopupShot()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandle(NULL);
        wc.lpszClassName = "QxPopupShot";
        RegisterClassA(&wc);
        hWnd = CreateWindowExA(0, "QxPopupShot", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, GetModuleHandle(NULL), NULL);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, (LONG_PTR)this);
    }
    ~PopupShot() { DestroyWindow(hWnd); }
    static BOOL CALLBACK Find(HWND h, LPARAM l)
    {
        char cls[32] = "";
        GetClassNameA(h, cls, sizeof(cls));
        if (strcmp(cls, "QXPPopupBar") == 0 && IsWindowVisible(h))
            *(HWND*)l = h;
        return TRUE;
    }
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        PopupShot* self = (PopupShot*)GetWindowLongPtrA(h, GWLP_USERDATA);
        if (m != WM_APP || !self)
            return DefWindowProcA(h, m, w, l);
        HWND hPopup = NULL;
        EnumThreadWindows(GetCurrentThreadId(), Find, (LPARAM)&hPopup);
        if (hPopup) {
            UpdateWindow(hPopup);
            GetWindowRect(hPopup, &self->rc);
            self->pic.reset(new painttest::MemoryDC(self->rc.right - self->rc.left, self->rc.bottom - self->rc.top));
            HDC hdc = GetWindowDC(hPopup);
            BitBlt(self->pic->dc()->GetSafeHdc(), 0, 0, self->rc.right - self->rc.left, self->rc.bottom - self->rc.top,
                   hdc, 0, 0, SRCCOPY);
            ReleaseDC(hPopup, hdc);
        }
        return 0;
    }
    HWND hWnd = NULL;
    RECT rc = {0, 0, 0, 0};
    std::unique_ptr<painttest::MemoryDC> pic;
};

// Through the tab client: Down to a document and Enter bring it forward;
// Esc chooses nothing.
TEST_F(MdiFixture, ActiveFilesPopupBarActivatesTheChosenDocument)
{
    CQXPCommandBarsActiveFiles list(NULL);
    tabs.SetActiveFilesPopup(&list);
    CQXPTabManagerNavigateButton* files = ActiveFilesButton();
    ASSERT_TRUE(files && !IsRectEmpty(&files->m_rc));
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    ASSERT_EQ(children[2], Active());

    // Below the button, a row per document with its icon.
    PopupShot shot;
    PostMessageA(shot.hWnd, WM_APP, 0, 0);
    PostMessageA(frame->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    tabs.ShowActiveFiles(ws, files);
    Pump();
    EXPECT_EQ(children[2], Active());
    ASSERT_TRUE(shot.pic != nullptr) << "the popup bar showed";
    RECT rcButton = files->m_rc;
    MapWindowPoints(ws->GetOwnerObject(), HWND_DESKTOP, (POINT*)&rcButton, 2);
    EXPECT_GE(shot.rc.top, rcButton.bottom);
    EXPECT_GE(shot.rc.bottom - shot.rc.top, 3 * 16);
    EXPECT_TRUE(shot.pic->SavePng("mditabs-active-files-popup.png"));

    int nTarget = -1;
    for (int i = 0; i < ws->GetItemCount(); ++i)
        if (ws->GetItem(i)->m_hWnd == children[0])
            nTarget = i;
    ASSERT_GE(nTarget, 0);
    for (int i = 0; i <= nTarget; ++i)
        PostMessageA(frame->GetSafeHwnd(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(frame->GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0);
    tabs.ShowActiveFiles(ws, files);
    Pump();
    EXPECT_EQ(children[0], Active());
    tabs.SetActiveFilesPopup(NULL);
}

// With the command bars the menu is their popup bar: the workspace-actions
// list (what the tab client enables now) and "C&ancel" beginning a group;
// the chosen group command runs, Esc or Cancel change nothing.
TEST_F(MdiFixture, TabGroupPopupBarOffersTheEnabledCommandsAndCancel)
{
    CQXPCommandBarsTabGroups groups(NULL);
    CQXPPopupBar* pPopup = groups.BuildPopup();
    ASSERT_NE(nullptr, pPopup);
    ASSERT_EQ(2, pPopup->GetControlCount());
    EXPECT_EQ(QXP_ID_WORKSPACEACTIONS, pPopup->GetControl(0)->GetID());
    EXPECT_EQ(QX_ID_WORKSPACE_CANCEL, pPopup->GetControl(1)->GetID());
    EXPECT_STREQ("C&ancel", pPopup->GetControl(1)->GetCaption());
    EXPECT_TRUE(pPopup->GetControl(1)->GetBeginGroup());
    // Laid out for a frame whose tabs are grouped: the list turns into the
    // commands that apply, each with its caption.
    ASSERT_TRUE(tabs.Attach(frame, TRUE));
    tabs.Refresh();
    Pump();
    SendMessageA(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)children[0], 0);
    Pump();
    pPopup->SetOwnerSite(frame);
    pPopup->CalcDynamicLayout(0, 0);
    std::vector<std::string> captions;
    for (int i = 0; i < pPopup->GetControlCount(); ++i)
        if (pPopup->GetControl(i)->IsVisible())
            captions.push_back((LPCSTR)pPopup->GetControl(i)->GetCaption());
    EXPECT_EQ((std::vector<std::string>{"New Hori&zontal Tab Group", "New &Vertical Tab Group", "C&ancel"}), captions);
    pPopup->InternalRelease();

    tabs.SetGroupPopup(&groups);
    SetForegroundWindow(frame->GetSafeHwnd());
    const POINT ps = FirstGroupCentre(tabs, frame);
    PopupShot shot;
    PostMessageA(shot.hWnd, WM_APP, 0, 0);
    PostMessageA(frame->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    tabs.ShowGroupMenu(ps);
    Pump();
    EXPECT_EQ(1, tabs.GetWorkspaceCount());
    ASSERT_TRUE(shot.pic != nullptr) << "the popup bar showed";
    EXPECT_TRUE(shot.pic->SavePng("mditabs-group-popup.png"));
    // Up from the top wraps to Cancel: nothing changes.
    PostMessageA(frame->GetSafeHwnd(), WM_KEYDOWN, VK_UP, 0);
    PostMessageA(frame->GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0);
    tabs.ShowGroupMenu(ps);
    Pump();
    EXPECT_EQ(1, tabs.GetWorkspaceCount());
    // The first item: a new group below.
    PostMessageA(frame->GetSafeHwnd(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(frame->GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0);
    tabs.ShowGroupMenu(ps);
    Pump();
    EXPECT_EQ(2, tabs.GetWorkspaceCount());
    EXPECT_TRUE(tabs.m_bGroupsStacked);
    tabs.SetGroupPopup(NULL);
}

// Whether a picture of the image manager shows somewhere in a shot: its
// opaque pixels (those it draws alike on black and on white) found at one
// place.
bool ShowsPicture(painttest::MemoryDC& shot, int cxShot, int cyShot, CQXPIconImage* pImage)
{
    painttest::MemoryDC onBlack(16, 16, RGB(0, 0, 0)), onWhite(16, 16, RGB(255, 255, 255));
    pImage->Draw(onBlack.dc()->GetSafeHdc(), POINT{0, 0});
    pImage->Draw(onWhite.dc()->GetSafeHdc(), POINT{0, 0});
    std::vector<std::pair<POINT, COLORREF>> opaque;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (onBlack.Pixel(x, y) == onWhite.Pixel(x, y))
                opaque.push_back({POINT{x, y}, onBlack.Pixel(x, y)});
    if (opaque.size() < 16)
        return false;
    for (int y = 0; y + 16 <= cyShot; ++y)
        for (int x = 0; x + 16 <= cxShot; ++x) {
            bool bAll = true;
            for (const auto& o : opaque)
                if (shot.Pixel(x + o.first.x, y + o.first.y) != o.second) {
                    bAll = false;
                    break;
                }
            if (bAll)
                return true;
        }
    return false;
}

// The group popup shows the pictures of its two new-group commands beside
// their captions.
TEST_F(MdiFixture, TabGroupPopupShowsTheNewGroupPictures)
{
    CQXPCommandBarsTabGroups groups(NULL);
    ASSERT_TRUE(tabs.Attach(frame, TRUE));
    tabs.Refresh();
    Pump();
    SendMessageA(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)children[0], 0);
    Pump();
    tabs.SetGroupPopup(&groups);
    SetForegroundWindow(frame->GetSafeHwnd());
    const POINT ps = FirstGroupCentre(tabs, frame);
    PopupShot shot;
    PostMessageA(shot.hWnd, WM_APP, 0, 0);
    PostMessageA(frame->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    tabs.ShowGroupMenu(ps);
    Pump();
    tabs.SetGroupPopup(NULL);
    ASSERT_TRUE(shot.pic != nullptr) << "the popup bar showed";
    EXPECT_EQ(1, tabs.GetWorkspaceCount());
    CQXPImageManager* pImages = GetGlobalImageManager();
    for (UINT nID : {(UINT)QX_ID_WORKSPACE_NEWHORIZONTAL, (UINT)QX_ID_WORKSPACE_NEWVERTICAL}) {
        CQXPIconImage* pImage = pImages->GetImage(nID, 16);
        ASSERT_NE(nullptr, pImage) << nID;
        EXPECT_TRUE(ShowsPicture(*shot.pic, shot.rc.right - shot.rc.left, shot.rc.bottom - shot.rc.top, pImage))
            << nID;
    }
}

// The messages one window received while the log was in place (one log at
// a time): its window procedure is wrapped until the log goes.
class MessageLog {
public:
    struct Entry {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    MessageLog(HWND hWnd, std::vector<UINT> watched) : m_hWnd(hWnd), m_watched(std::move(watched))
    {
        s_pLog = this;
        m_pfnOld = (WNDPROC)SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)&MessageLog::Proc);
    }
    ~MessageLog()
    {
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnOld);
        s_pLog = NULL;
    }
    // Whether a watched message came for which the predicate holds.
    bool Saw(const std::function<bool(const Entry&)>& pred) const
    {
        return std::any_of(entries.begin(), entries.end(), pred);
    }
    std::vector<Entry> entries;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        MessageLog* p = s_pLog;
        if (std::find(p->m_watched.begin(), p->m_watched.end(), m) != p->m_watched.end())
            p->entries.push_back({m, w, l});
        return CallWindowProcA(p->m_pfnOld, h, m, w, l);
    }
    static MessageLog* s_pLog;
    HWND m_hWnd;
    std::vector<UINT> m_watched;
    WNDPROC m_pfnOld;
};
MessageLog* MessageLog::s_pLog = NULL;

POINT CentreOf(const RECT& r)
{
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// While a command-bar menu is open the tabs neither light up under the real
// mouse nor offer tooltips, in the strip window and in the groups the client
// draws; once the menu closed they do again.
TEST_F(MdiFixture, AnOpenMenuKeepsTheTabsFromHoverAndTooltips)
{
    for (BOOL bGroups : {FALSE, TRUE}) {
        SCOPED_TRACE(bGroups ? "tab groups" : "one strip");
        qmtest::ParkPointer();
        ASSERT_TRUE(tabs.Attach(frame, bGroups));
        tabs.Refresh();
        Pump();
        tabs.GetPaintManager()->m_bHotTracking = TRUE;
        tabs.SetToolTipMode(1);
        ASSERT_TRUE(qmtest::BringToForeground(frame->GetSafeHwnd()));
        CQXPTabWorkspace* ws = tabs.GetWorkspace();
        CQXPTabManagerItem* item = tabs.FindItem(children[0]);
        ASSERT_NE(nullptr, item);
        const HWND hOwner = ws->GetOwnerObject();
        const POINT onTab = CentreOf(item->GetRect());
        POINT onScreen = onTab;
        ClientToScreen(hOwner, &onScreen);
        // The owner window's own tool hit test (the tooltips ask it).
        auto tooltip = [&] {
            TOOLINFOA ti = {};
            ti.cbSize = sizeof(ti);
            const INT_PTR n = CWnd::FromHandlePermanent(hOwner)->OnToolHitTest(onTab, &ti);
            free(ti.lpszText);
            return n;
        };
        ASSERT_EQ(item->GetIndex() + 1, tooltip());

        MessageLog moves(hOwner, {WM_MOUSEMOVE});
        BOOL bHotWhileOpen = TRUE;
        INT_PTR nTipWhileOpen = 0;
        RECT rcDocs;
        GetWindowRect(frame->m_hWndMDIClient, &rcDocs);
        const POINT ptMenu = {rcDocs.left + 40, rcDocs.bottom - 120};
        CQXPCommandBarsActiveFiles menu(NULL);
        // Whatever happens, the menu closes after a while.
        const UINT_PTR nWatchdog = SetTimer(NULL, 0, 7000, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(NULL, id);
            ToolkitMouseManager::GetInstance()->SendTrackLost();
        });
        qmtest::Script script;
        script.Add([] { return ToolkitMouseManager::GetInstance()->GetTrackedCount() > 0; });
        script.Then([&] { qmtest::MouseMoveTo(onScreen); });
        // The move reached the window that draws the tab.
        const RECT rcTab = item->GetRect();
        script.Add([&] {
            return moves.Saw([&](const MessageLog::Entry& e) {
                return PtInRect(&rcTab, POINT{(short)LOWORD(e.lParam), (short)HIWORD(e.lParam)}) != FALSE;
            });
        });
        script.Then([&] {
            bHotWhileOpen = ws->GetHighlighted() != NULL;
            nTipWhileOpen = tooltip();
            qmtest::KeyStroke(VK_ESCAPE);
        });
        script.Add([] { return ToolkitMouseManager::GetInstance()->GetTrackedCount() == 0; });
        const bool bDone =
            script.Run([&] { menu.Track(frame, {{"One", NULL}, {"Two", NULL}}, ptMenu, RECT{0, 0, 0, 0}); }, 8000);
        KillTimer(NULL, nWatchdog);
        ASSERT_TRUE(bDone);
        EXPECT_FALSE(bHotWhileOpen) << "no hot tab while the menu is open";
        EXPECT_EQ(-1, nTipWhileOpen) << "no tooltip while the menu is open";

        // Closed: the next move over the tab lights it up.
        qmtest::MouseMoveTo(POINT{onScreen.x + 1, onScreen.y});
        EXPECT_TRUE(qmtest::WaitUntil(
            [&] {
                Pump();
                return ws->GetHighlighted() == item;
            },
            5000));
        EXPECT_EQ(item->GetIndex() + 1, tooltip());
        qmtest::ParkPointer();
        tabs.Detach();
        Pump();
    }
}

// With tab groups the MDI client takes the strips' mouse itself: its class
// has double clicks, so the second press of a real double click on a tab
// reaches the frame's notification as a double click; a right click goes
// there with the point in the client.
TEST_F(MdiFixture, TheClientPassesPressesOnItsGroupsToTheFrame)
{
    ASSERT_NO_FATAL_FAILURE(SplitIntoGroups(ID_WORKSPACE_NEWVERTICAL));
    const HWND hClient = frame->m_hWndMDIClient;
    EXPECT_TRUE(GetClassLongPtrA(hClient, GCL_STYLE) & CS_DBLCLKS);
    ASSERT_TRUE(qmtest::BringToForeground(frame->GetSafeHwnd()));
    CQXPTabWorkspace* first = tabs.GetWorkspace(0);
    CQXPTabManagerItem* item = first->GetItem(0);
    const POINT onTab = CentreOf(item->GetRect());
    POINT onScreen = onTab;
    ClientToScreen(hClient, &onScreen);
    const LPARAM lPoint = MAKELPARAM(onTab.x, onTab.y);
    struct Case {
        const char* name;
        bool bDouble;
        std::vector<WPARAM> presses; // as the frame hears of them
    } cases[] = {{"double click", true, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}}, {"right click", false, {WM_RBUTTONDOWN}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        docktest::IdleUpdate(frame);
        MessageLog log(frame->GetSafeHwnd(), {WM_TABCLIENT_MOUSENOTIFY});
        if (c.bDouble)
            qmtest::DoubleClickAt(onScreen);
        else
            qmtest::ClickAt(onScreen, true);
        ASSERT_TRUE(qmtest::WaitUntil(
            [&] {
                Pump();
                return log.entries.size() >= c.presses.size() && GetCapture() == NULL;
            },
            5000));
        std::vector<WPARAM> heard;
        for (const auto& e : log.entries) {
            heard.push_back(e.wParam);
            EXPECT_EQ(lPoint, e.lParam);
        }
        EXPECT_EQ(c.presses, heard);
        if (c.bDouble)
            EXPECT_EQ(item->m_hWnd, Active());
    }
    qmtest::ParkPointer();
}

// The client answers for the tooltips of every group's tabs (the tooltip
// shows over the client); none over the documents or with the tabs hidden.
TEST_F(MdiFixture, TheClientAnswersForTheTooltipsOfItsGroups)
{
    ASSERT_NO_FATAL_FAILURE(SplitIntoGroups(ID_WORKSPACE_NEWHORIZONTAL));
    tabs.SetToolTipMode(1);
    const HWND hClient = frame->m_hWndMDIClient;
    for (int g = 0; g < 2; ++g) {
        CQXPTabWorkspace* ws = tabs.GetWorkspace(g);
        for (int i = 0; i < ws->GetItemCount(); ++i) {
            SCOPED_TRACE(testing::Message() << g << "," << i);
            CQXPTabManagerItem* pItem = ws->GetItem(i);
            TOOLINFOA ti = {};
            ti.cbSize = sizeof(ti);
            EXPECT_EQ(i + 1, tabs.OnToolHitTest(CentreOf(pItem->GetRect()), &ti));
            EXPECT_EQ(hClient, ti.hwnd);
            ASSERT_NE(nullptr, ti.lpszText);
            EXPECT_STREQ(pItem->GetCaption(), ti.lpszText);
            free(ti.lpszText);
        }
    }
    const POINT onTab = CentreOf(tabs.GetWorkspace(1)->GetItem(0)->GetRect());
    EXPECT_EQ(-1, tabs.OnToolHitTest(CentreOf(tabs.GetWorkspace(1)->m_rcContent), NULL));
    tabs.ShowWorkspace(FALSE);
    EXPECT_EQ(-1, tabs.OnToolHitTest(onTab, NULL));
    tabs.ShowWorkspace(TRUE);
    EXPECT_EQ(1, tabs.OnToolHitTest(onTab, NULL));
}

// With tab groups the client draws each group's strip as the tab painter
// draws it, the splitter between the groups with the appearance's frame
// routine, and a frame of two pixels around the groups in its non-client
// area.
TEST_F(MdiFixture, TheClientDrawsItsGroupsSplittersAndFrame)
{
    const HWND hClient = frame->m_hWndMDIClient;
    auto clientSize = [&] {
        RECT rcWindow, rcClient;
        GetWindowRect(hClient, &rcWindow);
        GetClientRect(hClient, &rcClient);
        return SIZE{(rcWindow.right - rcWindow.left) - rcClient.right,
                    (rcWindow.bottom - rcWindow.top) - rcClient.bottom};
    };
    const SIZE szEdges = clientSize();
    ASSERT_NO_FATAL_FAILURE(SplitIntoGroups(ID_WORKSPACE_NEWVERTICAL));
    // The appearance's client frame alone: two pixels on every side, the
    // client's own sunken edge gone.
    const SIZE szFramed = clientSize();
    EXPECT_EQ(4, szFramed.cx);
    EXPECT_EQ(4, szFramed.cy);

    RECT rc;
    GetClientRect(hClient, &rc);
    painttest::MemoryDC drawn(rc.right, rc.bottom, RGB(1, 2, 3));
    SendMessageA(hClient, WM_PRINTCLIENT, (WPARAM)drawn.dc()->GetSafeHdc(), PRF_CLIENT);
    // Each strip's band as the painter draws the group.
    for (int g = 0; g < 2; ++g) {
        SCOPED_TRACE(g);
        CQXPTabWorkspace* ws = tabs.GetWorkspace(g);
        painttest::MemoryDC alone(rc.right, rc.bottom, RGB(1, 2, 3));
        tabs.GetPaintManager()->DrawTabControl(ws, alone.dc()->GetSafeHdc(), ws->m_rcGroup);
        const RECT& band = ws->m_rcStrip;
        ASSERT_FALSE(IsRectEmpty(&band));
        int nDiffer = 0;
        for (int y = band.top; y < band.bottom; y += 2)
            for (int x = band.left; x < band.right; x += 3)
                nDiffer += drawn.Pixel(x, y) != alone.Pixel(x, y);
        EXPECT_EQ(0, nDiffer);
        EXPECT_NE(RGB(1, 2, 3), drawn.Pixel(CentreOf(ws->GetItem(0)->GetRect()).x, CentreOf(band).y));
    }
    // The splitter: light towards the left group, dark towards the right.
    const TabColorSet& colors = tabs.GetPaintManager()->GetColors();
    const RECT bar = tabs.GetWorkspace(0)->m_rcSplitter;
    const int y = (bar.top + bar.bottom) / 2;
    EXPECT_EQ(colors.clrHighlight3D, drawn.Pixel(bar.left, y));
    EXPECT_EQ(colors.clrControlFace, drawn.Pixel((bar.left + bar.right) / 2, y));
    EXPECT_EQ(colors.clrShadow3D, drawn.Pixel(bar.right - 1, y));

    // The frame on the screen: appearance 0's client frame, light outside
    // on the top and left, dark on the bottom and right with a shadow line
    // inside; the face inside it on the top and left.
    ASSERT_EQ(0, tabs.GetPaintManager()->GetAppearance());
    ASSERT_TRUE(qmtest::BringToForeground(frame->GetSafeHwnd()));
    RedrawWindow(hClient, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    POINT origin = {0, 0}, end = {rc.right, rc.bottom};
    ClientToScreen(hClient, &origin);
    ClientToScreen(hClient, &end);
    HDC hScreen = GetDC(NULL);
    EXPECT_EQ(colors.clrControlFace, GetPixel(hScreen, origin.x + 20, origin.y - 1));
    EXPECT_EQ(colors.clrHighlight3D, GetPixel(hScreen, origin.x + 20, origin.y - 2));
    EXPECT_EQ(colors.clrHighlight3D, GetPixel(hScreen, origin.x - 2, origin.y + 20));
    EXPECT_EQ(colors.clrShadow3D, GetPixel(hScreen, origin.x + 20, end.y));
    EXPECT_EQ(colors.clrDarkShadow3D, GetPixel(hScreen, origin.x + 20, end.y + 1));
    EXPECT_EQ(colors.clrDarkShadow3D, GetPixel(hScreen, end.x + 1, origin.y + 20));
    ReleaseDC(NULL, hScreen);
    RECT rcShot;
    GetWindowRect(frame->GetSafeHwnd(), &rcShot);
    qmtest::SaveScreenPng(rcShot, qmtest::ScreenshotDir(QM_BIN_DIR) + "/mditabs-groups-side-by-side.png");

    // Without the groups the frame goes again.
    tabs.Detach();
    Pump();
    EXPECT_EQ(szEdges.cx, clientSize().cx);
}

// With tab groups the client's edge is the appearance's client frame in
// the tab painter's client-frame style and nothing more: its room (two
// pixels on every side, two at the tab side, none) and its colours on the
// screen, for appearances of each kind of frame.
TEST_F(MdiFixture, TheGroupsFrameIsTheAppearancesClientFrame)
{
    ASSERT_NO_FATAL_FAILURE(SplitForLooks(ID_WORKSPACE_NEWHORIZONTAL));
    CQXPTabPainter* p = tabs.GetPaintManager();
    const HWND hClient = frame->m_hWndMDIClient;
    for (int nAppearance : {0, 2, 5})
        for (int nStyle : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message() << "appearance " << nAppearance << " client frame " << nStyle);
            p->SetAppearance(nAppearance);
            p->m_nClientFrame = nStyle;
            tabs.Refresh(TRUE);
            Pump();
            RedrawWindow(hClient, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Pump();
            // The room around the client area, side by side.
            RECT rcWindow, rcClient;
            GetWindowRect(hClient, &rcWindow);
            GetClientRect(hClient, &rcClient);
            MapWindowPoints(hClient, HWND_DESKTOP, (LPPOINT)&rcClient, 2);
            const int tabSide = nStyle == 2 ? 0 : 2, otherSides = nStyle == 0 ? 2 : 0;
            EXPECT_EQ(tabSide, rcClient.top - rcWindow.top) << "top (the tab side)";
            EXPECT_EQ(otherSides, rcClient.left - rcWindow.left) << "left";
            EXPECT_EQ(otherSides, rcWindow.right - rcClient.right) << "right";
            EXPECT_EQ(otherSides, rcWindow.bottom - rcClient.bottom) << "bottom";
            if (nStyle == 2)
                continue;
            const tabtest::FrameColours c = tabtest::FrameOf(nAppearance, p->GetColors());
            HDC hScreen = GetDC(NULL);
            const int midX = (rcWindow.left + rcWindow.right) / 2, midY = (rcWindow.top + rcWindow.bottom) / 2;
            EXPECT_EQ(c.nearEdge, GetPixel(hScreen, midX, rcWindow.top)) << "top edge";
            EXPECT_EQ(p->GetColors().clrControlFace, GetPixel(hScreen, midX, rcWindow.top + 1)) << "inside the top edge";
            if (nStyle == 0) {
                EXPECT_EQ(c.nearEdge, GetPixel(hScreen, rcWindow.left, midY)) << "left edge";
                EXPECT_EQ(c.farEdge, GetPixel(hScreen, rcWindow.right - 1, midY)) << "right edge";
                EXPECT_EQ(c.farEdge, GetPixel(hScreen, midX, rcWindow.bottom - 1)) << "bottom edge";
            }
            ReleaseDC(NULL, hScreen);
        }
    RECT rcShot;
    GetWindowRect(frame->GetSafeHwnd(), &rcShot);
    qmtest::SaveScreenPng(rcShot, qmtest::ScreenshotDir(QM_BIN_DIR) + "/mditabs-groups-frame.png");
    tabs.m_bFollowTheme = TRUE;
}

// Each group's documents sit in the tab painter's client rectangle of the
// group, inside the client frame the appearance draws around it: read back
// from the document windows and from the screen, for every appearance with
// a client frame and with the tabs on top and at the bottom (pictures of the
// frames in <build>/screenshots).
TEST_F(MdiFixture, GroupDocumentsSitInsideTheirAppearancesClientFrame)
{
    ASSERT_NO_FATAL_FAILURE(SplitForLooks(ID_WORKSPACE_NEWVERTICAL));
    CQXPTabPainter* p = tabs.GetPaintManager();
    const HWND hClient = frame->m_hWndMDIClient;
    for (int nAppearance : {0, 1, 2, 3, 5, 6, 7, 9})
        for (int nPosition : {tabPositionTop, tabPositionBottom}) {
            SCOPED_TRACE(testing::Message() << "appearance " << nAppearance << " position " << nPosition);
            p->SetAppearance(nAppearance);
            p->SetPosition(nPosition);
            tabs.Refresh(TRUE);
            Pump();
            RedrawWindow(hClient, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Pump();
            const tabtest::FrameColours frameColours = tabtest::FrameOf(nAppearance, p->GetColors());
            const COLORREF clrNear = frameColours.nearEdge, clrFar = frameColours.farEdge;
            HDC hScreen = GetDC(NULL);
            for (int g = 0; g < 2; ++g) {
                SCOPED_TRACE(testing::Message() << "group " << g);
                CQXPTabWorkspace* ws = tabs.GetWorkspace(g);
                RECT want = ws->m_rcGroup;
                p->AdjustClientRect(ws, want);
                EXPECT_TRUE(EqualRect(&want, &ws->m_rcContent));
                // The client takes the header's last row; its frame two
                // pixels more on every side.
                const RECT header = p->GetHeaderRect(ws, ws->m_rcGroup);
                if (nPosition == tabPositionTop)
                    EXPECT_EQ(header.bottom - 1 + 2, want.top);
                else
                    EXPECT_EQ(header.top + 1 - 2, want.bottom);
                EXPECT_EQ(ws->m_rcGroup.left + 2, want.left);
                EXPECT_EQ(ws->m_rcGroup.right - 2, want.right);
                // Every document of the group, the hidden ones too.
                for (int i = 0; i < ws->GetItemCount(); ++i) {
                    RECT doc;
                    GetWindowRect(ws->GetItem(i)->m_hWnd, &doc);
                    MapWindowPoints(HWND_DESKTOP, hClient, (LPPOINT)&doc, 2);
                    EXPECT_TRUE(EqualRect(&want, &doc))
                        << "document " << i << " at " << doc.left << "," << doc.top << "," << doc.right << ","
                        << doc.bottom << " for " << want.left << "," << want.top << "," << want.right << ","
                        << want.bottom;
                }
                // The client frame on the screen: near colours on the left,
                // far ones on the right and on the side away from the tabs.
                const RECT client = p->GetClientRect(ws, ws->m_rcGroup);
                POINT left = {client.left, (client.top + client.bottom) / 2};
                POINT right = {client.right - 1, left.y};
                POINT away = {(client.left + client.right) / 2,
                              nPosition == tabPositionTop ? client.bottom - 1 : client.top};
                for (POINT* pt : {&left, &right, &away})
                    ClientToScreen(hClient, pt);
                EXPECT_EQ(clrNear, GetPixel(hScreen, left.x, left.y)) << "left edge";
                EXPECT_EQ(clrFar, GetPixel(hScreen, right.x, right.y)) << "right edge";
                EXPECT_EQ(nPosition == tabPositionTop ? clrFar : clrNear, GetPixel(hScreen, away.x, away.y))
                    << "edge away from the tabs";
                // Inside the line the client's fill: the selected tab's face.
                EXPECT_EQ(p->GetItemFill(ws, ws->GetSelectedItem()), GetPixel(hScreen, left.x + 1, left.y))
                    << "inside the frame";
            }
            ReleaseDC(NULL, hScreen);
            if (nPosition == tabPositionTop) {
                RECT rcShot;
                GetWindowRect(hClient, &rcShot);
                qmtest::SaveScreenPng(rcShot, qmtest::ScreenshotDir(QM_BIN_DIR) + "/mditabs-client-frame-appearance" +
                                                  std::to_string(nAppearance) + ".png");
            }
        }
    tabs.m_bFollowTheme = TRUE;
}

// The static frame of themes 1 and 4 frames the one strip; tab groups get
// the client's frame instead, their strips none of their own.
TEST_F(MdiFixture, OnlyTheStripWithoutGroupsHasTheStaticFrame)
{
    for (BOOL bGroups : {FALSE, TRUE}) {
        SCOPED_TRACE(bGroups ? "tab groups" : "one strip");
        ASSERT_TRUE(tabs.Attach(frame, bGroups));
        tabs.m_bFollowTheme = FALSE;
        CQXPTabWorkspace* ws = tabs.GetWorkspace();
        RECT rcHeader[2];
        for (BOOL bFrame : {FALSE, TRUE}) {
            tabs.GetPaintManager()->m_bStaticFrame = bFrame;
            tabs.Refresh();
            Pump();
            EXPECT_EQ(bFrame && !bGroups, ws->IsDrawStaticFrame());
            rcHeader[bFrame] = ws->m_rcHeaderRect;
        }
        // The frame takes a pixel off the tab side.
        EXPECT_EQ(bGroups ? 0 : 1, rcHeader[1].top - rcHeader[0].top);
        tabs.GetPaintManager()->m_bStaticFrame = FALSE;
        tabs.m_bFollowTheme = TRUE;
        tabs.Detach();
        Pump();
    }
}

// A document window made straight through the MDI client (as a program
// that shows a document later does): hidden unless bVisible.
HWND CreateRawDocument(HWND hClient, const char* pszTitle, bool bVisible)
{
    static bool s_registered = false;
    if (!s_registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefMDIChildProcA;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = "QxMdiRawDocument";
        ::RegisterClassA(&wc);
        s_registered = true;
    }
    MDICREATESTRUCTA mcs = {};
    mcs.szClass = "QxMdiRawDocument";
    mcs.szTitle = pszTitle;
    mcs.hOwner = ::GetModuleHandleA(NULL);
    mcs.x = mcs.y = 10;
    mcs.cx = 300;
    mcs.cy = 200;
    mcs.style = WS_OVERLAPPEDWINDOW | (bVisible ? WS_VISIBLE : 0);
    return (HWND)::SendMessageA(hClient, WM_MDICREATE, 0, (LPARAM)&mcs);
}

// With tab groups a document never shows a frame of its own: it loses it
// as it is made, before it has a tab and even while it stays hidden.
TEST_F(MdiFixture, ADocumentLosesItsFrameAsItIsMadeInTabGroups)
{
    ASSERT_TRUE(tabs.Attach(frame, TRUE));
    tabs.Refresh();
    Pump();
    const DWORD kFrame = WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    HWND hDoc = CreateRawDocument(frame->m_hWndMDIClient, "Later", false);
    ASSERT_TRUE(IsWindow(hDoc));
    EXPECT_EQ(0u, (DWORD)GetWindowLongPtrA(hDoc, GWL_STYLE) & kFrame);
    EXPECT_EQ(0u, (DWORD)GetWindowLongPtrA(hDoc, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    RECT rc;
    GetWindowRect(hDoc, &rc);
    EXPECT_TRUE(IsRectEmpty(&rc)) << rc.left << "," << rc.top << " " << rc.right << "," << rc.bottom;
    EXPECT_EQ(nullptr, tabs.FindItem(hDoc)) << "a hidden document has no tab";
    SendMessageA(frame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)hDoc, 0);

    // Without groups the document keeps its frame.
    tabs.Detach();
    Pump();
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    hDoc = CreateRawDocument(frame->m_hWndMDIClient, "Framed", false);
    ASSERT_TRUE(IsWindow(hDoc));
    EXPECT_EQ(kFrame, (DWORD)GetWindowLongPtrA(hDoc, GWL_STYLE) & kFrame);
    SendMessageA(frame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)hDoc, 0);
}

// A document shown without being activated gets its tab as the selected
// one of its group.
TEST_F(MdiFixture, ADocumentShownWithoutActivationGetsTheSelectedTab)
{
    ASSERT_TRUE(tabs.Attach(frame, FALSE));
    for (HWND h : children)
        SendMessageA(frame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)h, 0);
    Pump();
    tabs.UpdateContents();
    CQXPTabWorkspace* ws = tabs.GetWorkspace();
    ASSERT_EQ(0, ws->GetItemCount());
    HWND hFirst = CreateRawDocument(frame->m_hWndMDIClient, "First", false);
    HWND hSecond = CreateRawDocument(frame->m_hWndMDIClient, "Second", false);
    ASSERT_TRUE(IsWindow(hFirst) && IsWindow(hSecond));
    ASSERT_EQ(nullptr, Active()) << "hidden documents are not activated";
    for (HWND h : {hFirst, hSecond}) {
        ShowWindow(h, SW_SHOWNA);
        ASSERT_EQ(nullptr, Active());
        tabs.UpdateContents();
        CQXPTabManagerItem* item = tabs.FindItem(h);
        ASSERT_NE(nullptr, item);
        EXPECT_EQ(item, ws->GetSelectedItem());
    }
    EXPECT_EQ(2, ws->GetItemCount());
}

// A document shown without being activated on a strip that overflows: its
// new tab is scrolled into view, at the end as at the start of the strip,
// while the active document stays the active one.
TEST_F(MdiFixture, ABackgroundDocumentsTabIsScrolledIntoView)
{
    for (int i = 0; i < 14; ++i)
        ASSERT_NE(nullptr, AddNumberedDocument(i + 1));
    Pump();
    struct Case {
        int nPosition;       // where new tabs go
        bool bScrollToStart; // the user scrolled the strip back to its start
        const char* name;
    } cases[] = {{0, true, "at the end, strip at its start"}, {1, false, "first, strip at its end"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQXPTabClientWnd client;
        client.m_nNewTabPosition = c.nPosition;
        ASSERT_TRUE(client.Attach(frame, FALSE));
        CQXPTabWorkspace* ws = client.GetWorkspace();
        auto idle = [&] {
            SendMessageA(frame->m_hWndMDIClient, WM_IDLEUPDATECMDUI, TRUE, 0);
            Pump();
        };
        // The documents of the strip's first and last tabs activated: the
        // strip scrolls to its end.
        for (int i : {0, ws->GetItemCount() - 1}) {
            SendMessageA(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)ws->GetItem(i)->m_hWnd, 0);
            idle();
        }
        ASSERT_LT(ws->GetScrollOffset(), 0) << "the strip overflows";
        if (c.bScrollToStart) {
            ws->SetScrollOffset(0);
            idle();
            ASSERT_EQ(0, ws->GetScrollOffset());
        }
        const HWND hActive = Active();
        HWND hNew = CreateRawDocument(frame->m_hWndMDIClient, "Opened in the background.txt", false);
        ASSERT_TRUE(IsWindow(hNew));
        ShowWindow(hNew, SW_SHOWNA);
        idle();
        EXPECT_EQ(hActive, Active()) << "the new document is not activated";
        CQXPTabManagerItem* item = client.FindItem(hNew);
        ASSERT_NE(nullptr, item);
        EXPECT_EQ(c.nPosition == 0 ? ws->GetItemCount() - 1 : 0, item->GetIndex());
        const RECT r = item->GetRect();
        const RECT& header = ws->m_rcHeaderRect;
        EXPECT_GT(r.right - r.left, 0);
        EXPECT_GE(r.left, header.left) << r.left << ".." << r.right << " in " << header.left << ".." << header.right;
        EXPECT_LE(r.right, header.right) << r.left << ".." << r.right << " in " << header.left << ".." << header.right;
        SendMessageA(frame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)hNew, 0);
        client.Detach();
        Pump();
    }
}

// Tabs attached to a frame whose documents overflow the strip, the active
// document's tab at the end (new tabs go first, so the documents behind it
// come before it): its tab is in view as the tabs first show, with and
// without tab groups.
TEST_F(MdiFixture, AttachingShowsTheActiveDocumentsTabOfAnOverflowingStrip)
{
    for (int i = 0; i < 14; ++i)
        ASSERT_NE(nullptr, AddNumberedDocument(i + 1));
    Pump();
    const HWND hActive = Active();
    ASSERT_EQ(children.back(), hActive);
    for (BOOL bGroups : {FALSE, TRUE}) {
        SCOPED_TRACE(bGroups ? "tab groups" : "one strip");
        CQXPTabClientWnd client;
        client.m_nNewTabPosition = 1;
        ASSERT_TRUE(client.Attach(frame, bGroups));
        Pump();
        CQXPTabWorkspace* ws = client.GetWorkspace();
        ASSERT_EQ((int)children.size(), ws->GetItemCount());
        CQXPTabManagerItem* item = client.FindItem(hActive);
        ASSERT_NE(nullptr, item);
        EXPECT_EQ(ws->GetItemCount() - 1, item->GetIndex()) << "the active document's tab is the last";
        EXPECT_EQ(item, ws->GetSelectedItem());
        EXPECT_LT(ws->GetScrollOffset(), 0) << "the strip overflows";
        const RECT r = item->GetRect();
        const RECT& header = ws->m_rcHeaderRect;
        EXPECT_GT(r.right - r.left, 0);
        EXPECT_GE(r.left, header.left) << r.left << ".." << r.right << " in " << header.left << ".." << header.right;
        EXPECT_LE(r.right, header.right) << r.left << ".." << r.right << " in " << header.left << ".." << header.right;
        client.Detach();
        Pump();
    }
}

class RecordingGroupPopup : public CQXPTabGroupPopup {
public:
    UINT Track(CWnd*, POINT) override
    {
        ++m_nShown;
        return 0;
    }
    int m_nShown = 0;
};

// A tab dragged off its strip and back onto it stays in its group and
// opens no menu; back in its header it reorders again. Alone in its group
// the tab's own strip is no target, and a drop there asks where to go.
TEST_F(MdiFixture, ATabDraggedBackOntoItsOwnStripStaysWithoutAMenu)
{
    ASSERT_TRUE(tabs.Attach(frame, TRUE));
    tabs.Refresh();
    Pump();
    RecordingGroupPopup popup;
    tabs.SetGroupPopup(&popup);
    CQXPTabWorkspace* first = tabs.GetWorkspace(0);
    ASSERT_EQ(3, first->GetItemCount());
    const HWND hStrip = first->GetOwnerObject();
    auto centre = [](const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; };
    // Points in the strip window's coordinates.
    const POINT grab = centre(tabs.FindItem(children[0])->GetRect());
    RECT c = first->m_rcContent;
    POINT middle = {(c.left + c.right) / 2, (c.top + c.bottom) / 2};
    MapWindowPoints(frame->m_hWndMDIClient, hStrip, &middle, 1);
    const POINT back = centre(tabs.FindItem(children[2])->GetRect());
    const int nBack = tabs.FindItem(children[2])->GetIndex();
    ASSERT_NE(nBack, tabs.FindItem(children[0])->GetIndex());
    POINT backInClient = back;
    MapWindowPoints(hStrip, frame->m_hWndMDIClient, &backInClient, 1);
    CQXPTabWorkspace* target = NULL;
    EXPECT_EQ(2, tabs.FindDropTarget(backInClient, tabs.FindItem(children[0]), &target));
    EXPECT_EQ(first, target);

    PostMessageA(hStrip, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(middle.x, middle.y));
    PostMessageA(hStrip, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(back.x, back.y));
    PostMessageA(hStrip, WM_LBUTTONUP, 0, MAKELPARAM(back.x, back.y));
    SendMessageA(hStrip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
    Pump();
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(0, popup.m_nShown);
    EXPECT_EQ(1, tabs.GetWorkspaceCount());
    EXPECT_EQ(3, first->GetItemCount());
    EXPECT_EQ(nBack, tabs.FindItem(children[0])->GetIndex()) << "reordered over the other tab";
    EXPECT_EQ(children[0], Active());
    EXPECT_EQ(nullptr, tabs.m_dragDesktop.hDC);

    // Alone in a group of its own, the tab's strip offers the menu.
    tabs.MoveItem(tabs.FindItem(children[0]), first, 4);
    docktest::IdleUpdate(frame);
    ASSERT_EQ(2, tabs.GetWorkspaceCount());
    CQXPTabWorkspace* alone = tabs.GetWorkspace(1);
    ASSERT_EQ(1, alone->GetItemCount());
    POINT own = centre(tabs.FindItem(children[0])->GetRect());
    MapWindowPoints(alone->GetOwnerObject(), frame->m_hWndMDIClient, &own, 1);
    EXPECT_EQ(1, tabs.FindDropTarget(own, tabs.FindItem(children[0]), &target));
    tabs.SetGroupPopup(NULL);
}

// A tab moved between groups while every tab has its close button keeps
// one button, which answers to its new group; the old group may go.
TEST_F(MdiFixture, ATabMovedBetweenGroupsKeepsOneCloseButtonOfItsNewGroup)
{
    ASSERT_TRUE(tabs.Attach(frame, TRUE));
    for (DWORD dwFlags : {0x10u, 0x20u}) {
        SCOPED_TRACE(dwFlags);
        tabs.SetFlags(dwFlags);
        tabs.Refresh();
        Pump();
        ASSERT_EQ(1, tabs.GetWorkspaceCount());
        CQXPTabWorkspace* first = tabs.GetWorkspace(0);
        CQXPTabManagerItem* item = tabs.FindItem(children[0]);
        ASSERT_EQ(1u, item->m_arrNavigateButtons.size());
        // Into a new group of its own, and back: that group goes.
        tabs.MoveItem(item, first, 4);
        docktest::IdleUpdate(frame);
        ASSERT_EQ(2, tabs.GetWorkspaceCount());
        CQXPTabWorkspace* second = tabs.GetWorkspace(1);
        ASSERT_EQ(second, tabs.FindWorkspace(item));
        ASSERT_EQ(1u, item->m_arrNavigateButtons.size());
        EXPECT_EQ(static_cast<CQXPTabManager*>(second), item->m_arrNavigateButtons[0]->m_pManager);
        EXPECT_EQ(dwFlags == 0x20u ? 1 : 2, item->m_arrNavigateButtons[0]->m_nMode);
        tabs.MoveItem(item, first, 2);
        docktest::IdleUpdate(frame);
        ASSERT_EQ(1, tabs.GetWorkspaceCount());
        ASSERT_EQ(1u, item->m_arrNavigateButtons.size());
        EXPECT_EQ(static_cast<CQXPTabManager*>(first), item->m_arrNavigateButtons[0]->m_pManager);
        // Painted after its old group was deleted, and closed by its button.
        RedrawWindow(frame->m_hWndMDIClient, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
        RECT rcClose = item->m_arrNavigateButtons[0]->m_rc;
        ASSERT_FALSE(IsRectEmpty(&rcClose));
        RECT rcItem = item->GetRect(), rcBoth;
        EXPECT_TRUE(IntersectRect(&rcBoth, &rcClose, &rcItem) && EqualRect(&rcBoth, &rcClose));
    }
    CQXPTabManagerItem* item = tabs.FindItem(children[0]);
    RECT rcClose = item->m_arrNavigateButtons[0]->m_rc;
    POINT on = {(rcClose.left + rcClose.right) / 2, (rcClose.top + rcClose.bottom) / 2};
    HWND hOwner = tabs.GetWorkspace(0)->GetOwnerObject();
    PostMessageA(hOwner, WM_LBUTTONUP, 0, MAKELPARAM(on.x, on.y));
    SendMessageA(hOwner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(on.x, on.y));
    Pump();
    docktest::IdleUpdate(frame);
    EXPECT_FALSE(IsWindow(children[0]));
    EXPECT_TRUE(IsWindow(children[1]));
    EXPECT_TRUE(IsWindow(children[2]));
}

} // namespace
