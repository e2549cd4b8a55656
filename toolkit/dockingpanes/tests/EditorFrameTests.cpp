// The editor's main frame as the docking panes and document tabs see it: an
// MDI frame builds the editor's seven panes in the editor's order, creates
// each pane's window when the pane is first shown, saves and loads
// "NormalLayout", switches themes and shows document tabs. Everything runs
// on real windows; pictures of the themes go to <build>/artifacts.
#include "DockTestSupport.h"
#include "TabTestSupport.h"

#include <qx/dragcontext.h>
#include "../../foundation/tests/QxTestSupport.h"

#include <qx/mditabs.h>
#include <qx/panepaint.h>
#include <qx/tabpaint.h>
#include <qx/themes.h>

#include <fx/mdi.h>

#include <png.h>
#include <qmtest/anylanguage.h>

#include <memory>

using docktest::Describe;
using qxtest::RegistryApp;

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The editor's panes: id, title, and how the frame places them.
struct PaneRow {
    int id;
    const char* title;
    int direction;
    int joinTo; // the pane whose place it shares, 0 none
};
const PaneRow kPanes[] = {
    {59586, "Project Explorer", 0, 0},
    {59585, "File Explorer", 0, 59586},
    {59510, "List Explorer", 0, 59585},
    {59588, "Template Explorer", 0, 59510},
    {59599, "Function List", 1, 0},
    {59590, "Tool Window", 3, 0},
    {59591, "Find In Files", 3, 59590},
};
const int kIconIDs[] = {59585, 59586, 59588, 59510, 59590, 59591, 59589, 59599};
const char kDefaultTree[] = "S|[S-[T{59586,59585*,59510,59588},C,T{59599*}],T{59590,59591*}]";

// An MDI frame that answers the docking notifications as the editor does:
// the window of a pane is made when the pane is first shown.
class TestMainFrame : public CMDIFrameWnd {
public:
    CQXPDockingPaneManager m_panes;
    CQXPTabClientWnd m_tabs;
    std::vector<int> m_actions;
    std::vector<int> m_created; // pane ids whose window was made

    void CreatePaneWindow(CQXPDockingPane* pPane)
    {
        if (!pPane || pPane->IsAttached())
            return;
        HWND h = ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_NOINTEGRALHEIGHT, 0, 0, 10, 10, m_hWnd, NULL,
                                   ::GetModuleHandle(NULL), NULL);
        char text[64];
        snprintf(text, sizeof(text), "%s content", pPane->GetTitle().GetString());
        ::SendMessageA(h, LB_ADDSTRING, 0, (LPARAM)text);
        pPane->Attach(h);
        m_created.push_back(pPane->GetID());
    }

    // The frame's pane step: install, create each pane when missing, icons,
    // File Explorer selected, the stored layout applied when it loads.
    BOOL BuildPanes(BOOL bLoadLayout, BOOL* pLoaded = NULL)
    {
        if (!m_panes.InstallDockingPanes(this))
            return FALSE;
        RECT rc = {0, 0, 200, 120};
        for (const PaneRow& row : kPanes) {
            if (m_panes.FindPane(row.id))
                continue;
            CQXPDockingPane* p = m_panes.CreatePane(row.id, rc, row.direction, NULL);
            if (!p)
                return FALSE;
            p->SetTitle(row.title);
            if (row.joinTo)
                m_panes.AttachPane(p, m_panes.FindPane(row.joinTo));
        }
        if (!m_panes.SetIcons(150, kIconIDs, 8, RGB(192, 192, 192)))
            return FALSE;
        m_panes.SelectPane(m_panes.FindPane(59585), FALSE);
        if (bLoadLayout) {
            std::unique_ptr<DockingLayoutStore> layout(m_panes.CreateLayout());
            BOOL bLoaded = layout->LoadFromRegistry("NormalLayout");
            if (bLoaded)
                m_panes.SetLayout(layout.get());
            if (pLoaded)
                *pLoaded = bLoaded;
        }
        for (const PaneRow& row : kPanes) {
            CQXPDockingPane* p = m_panes.FindPane(row.id);
            if (p && !p->IsClosed() && !p->IsAttached())
                CreatePaneWindow(p);
        }
        return TRUE;
    }
    void SaveLayout()
    {
        std::unique_ptr<DockingLayoutStore> layout(m_panes.CreateLayout());
        m_panes.GetLayout(layout.get());
        layout->SaveToRegistry("NormalLayout");
    }
    std::string Tree() const { return Describe(m_panes.GetLayout()); }
    HWND PaneWindow(int id) { return m_panes.FindPane(id) ? m_panes.FindPane(id)->GetChild() : NULL; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DOCKINGPANE_NOTIFY) {
            if (wParam == DOCKINGPANE_SHOWWINDOW)
                CreatePaneWindow(reinterpret_cast<CQXPDockingPane*>(lParam));
            else if (wParam == DOCKINGPANE_ACTION)
                m_actions.push_back(reinterpret_cast<DockingPaneAction_t*>(lParam)->action);
            return 0;
        }
        return CMDIFrameWnd::WindowProc(message, wParam, lParam);
    }
};

struct EditorFrame : ::testing::Test {
    void SetUp() override { frame = Open(); }
    void TearDown() override
    {
        Close(frame);
        for (TestMainFrame* f : extra)
            Close(f);
    }
    TestMainFrame* Open()
    {
        TestMainFrame* f = new TestMainFrame();
        RECT rc = {0, 0, 900, 650};
        EXPECT_TRUE(f->Create(NULL, "Quillmate docking", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rc));
        ::SetForegroundWindow(f->GetSafeHwnd());
        Pump();
        return f;
    }
    void Close(TestMainFrame* f)
    {
        if (!f || !::IsWindow(f->GetSafeHwnd()))
            return;
        f->m_tabs.Detach();
        f->DestroyWindow();
        Pump();
    }
    void Relayout(TestMainFrame* f)
    {
        f->RecalcLayout();
        Pump();
    }
    RECT RectInFrame(TestMainFrame* f, HWND h) const
    {
        RECT rc;
        ::GetWindowRect(h, &rc);
        ::MapWindowPoints(HWND_DESKTOP, f->GetSafeHwnd(), (LPPOINT)&rc, 2);
        return rc;
    }
    CQXPDockingPaneTabbedContainer* Tabbed(TestMainFrame* f, int id)
    {
        CQXPDockingPane* p = f->m_panes.FindPane(id);
        return p ? dynamic_cast<CQXPDockingPaneTabbedContainer*>(p->GetContainer()) : NULL;
    }
    void ClickCaptionButton(CQXPDockingPaneTabbedContainer* t, int nButton)
    {
        ::UpdateWindow(t->GetSafeHwnd());
        RECT rc = {0, 0, 0, 0};
        for (CaptionButton* b : t->m_arrCaptionButtons)
            if (b->m_nID == nButton)
                rc = b->m_rc;
        ASSERT_FALSE(::IsRectEmpty(&rc));
        // The release waits in the queue for the press's tracking.
        ::PostMessageA(t->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
        ::SendMessageA(t->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                       MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
        Pump();
    }

    RegistryApp app;
    TestMainFrame* frame = nullptr;
    std::vector<TestMainFrame*> extra;
};

// ---------------------------------------------------------------------------
// Pictures: the frame's client area copied from the screen, written as PNG.

bool WritePng(const std::string& path, int cx, int cy, const std::vector<BYTE>& rgb)
{
    FILE* fp = fopen(path.c_str(), "wb");
    if (!fp)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png ? png_create_info_struct(png) : NULL;
    bool ok = png && info && !setjmp(png_jmpbuf(png));
    if (ok) {
        png_init_io(png, fp);
        png_set_IHDR(png, info, cx, cy, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < cy; ++y)
            png_write_row(png, (png_bytep)&rgb[(size_t)y * cx * 3]);
        png_write_end(png, NULL);
    }
    png_destroy_write_struct(png ? &png : NULL, info ? &info : NULL);
    fclose(fp);
    return ok;
}

std::string ArtifactPath(const char* name)
{
    std::string dir = std::string(QM_BIN_DIR) + "/../artifacts";
    ::CreateDirectoryA(dir.c_str(), NULL);
    return dir + "/" + name;
}

// Copies the window's client area off the screen; the pixels as RGB rows.
bool Capture(HWND hWnd, const char* name, std::vector<BYTE>* pPixels = NULL, int* pcx = NULL)
{
    ::RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    ::Sleep(50);
    Pump();
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    int cx = rc.right, cy = rc.bottom;
    HDC hScreen = ::GetDC(hWnd);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = cx;
    bi.bmiHeader.biHeight = -cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    HBITMAP hBmp = ::CreateDIBSection(hMem, &bi, DIB_RGB_COLORS, &pBits, NULL, 0);
    HGDIOBJ hOld = ::SelectObject(hMem, hBmp);
    ::BitBlt(hMem, 0, 0, cx, cy, hScreen, 0, 0, SRCCOPY);
    ::GdiFlush();
    std::vector<BYTE> rgb((size_t)cx * cy * 3);
    const BYTE* src = (const BYTE*)pBits;
    for (int i = 0; i < cx * cy; ++i) {
        rgb[i * 3] = src[i * 4 + 2];
        rgb[i * 3 + 1] = src[i * 4 + 1];
        rgb[i * 3 + 2] = src[i * 4];
    }
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBmp);
    ::DeleteDC(hMem);
    ::ReleaseDC(hWnd, hScreen);
    if (pPixels)
        *pPixels = rgb;
    if (pcx)
        *pcx = cx;
    return WritePng(ArtifactPath(name), cx, cy, rgb);
}

// ---------------------------------------------------------------------------

TEST_F(EditorFrame, PaneTableGivesTheEditorsPlaces)
{
    ASSERT_TRUE(frame->BuildPanes(TRUE));
    Relayout(frame);
    EXPECT_EQ(kDefaultTree, frame->Tree());
    for (const PaneRow& row : kPanes) {
        CQXPDockingPane* p = frame->m_panes.FindPane(row.id);
        ASSERT_NE(nullptr, p) << row.id;
        EXPECT_STREQ(row.title, p->GetTitle()) << row.id;
        EXPECT_FALSE(p->IsClosed());
        EXPECT_TRUE(p->IsAttached());
        // Every id of the strip has its icon; the spare id too.
        EXPECT_NE(nullptr, frame->m_panes.GetIcon(row.id)) << row.id;
    }
    EXPECT_NE(nullptr, frame->m_panes.GetIcon(59589));
    // The explorers share the left place with File Explorer in front; the
    // selected pane of each place is shown, the others hidden.
    EXPECT_TRUE(::IsWindowVisible(frame->PaneWindow(59585)));
    EXPECT_FALSE(::IsWindowVisible(frame->PaneWindow(59586)));
    EXPECT_TRUE(::IsWindowVisible(frame->PaneWindow(59599)));
    EXPECT_TRUE(::IsWindowVisible(frame->PaneWindow(59591)));
    EXPECT_FALSE(::IsWindowVisible(frame->PaneWindow(59590)));
    // The places: explorers left, Function List right, the tool windows
    // along the bottom, the documents in the middle.
    RECT rcLeft = RectInFrame(frame, Tabbed(frame, 59585)->GetSafeHwnd());
    RECT rcRight = RectInFrame(frame, Tabbed(frame, 59599)->GetSafeHwnd());
    RECT rcBottom = RectInFrame(frame, Tabbed(frame, 59590)->GetSafeHwnd());
    RECT rcMdi = RectInFrame(frame, frame->m_hWndMDIClient);
    RECT rcAll;
    ::GetClientRect(frame->GetSafeHwnd(), &rcAll);
    EXPECT_EQ(0, rcLeft.left);
    EXPECT_EQ(200, rcLeft.right - rcLeft.left);
    EXPECT_EQ(rcAll.right, rcRight.right);
    EXPECT_EQ(rcAll.bottom, rcBottom.bottom);
    EXPECT_EQ(120, rcBottom.bottom - rcBottom.top);
    EXPECT_LE(rcLeft.right, rcMdi.left);
    EXPECT_LE(rcMdi.right, rcRight.left);
    EXPECT_LE(rcMdi.bottom, rcBottom.top);
    EXPECT_TRUE(Tabbed(frame, 59585)->IsTabsVisible());
    EXPECT_EQ(4, Tabbed(frame, 59585)->GetTabManager()->GetItemCount());
    EXPECT_FALSE(Tabbed(frame, 59599)->IsTabsVisible());
}

TEST_F(EditorFrame, PanesToggleOffAndComeBackOn)
{
    ASSERT_TRUE(frame->BuildPanes(TRUE));
    Relayout(frame);
    RECT rcMdiBefore = RectInFrame(frame, frame->m_hWndMDIClient);
    // Off: the pane is destroyed and its place goes to the documents.
    frame->m_panes.DestroyPane(frame->m_panes.FindPane(59599));
    Relayout(frame);
    EXPECT_EQ(nullptr, frame->m_panes.FindPane(59599));
    EXPECT_EQ("S|[S-[T{59586,59585*,59510,59588},C],T{59590,59591*}]", frame->Tree());
    RECT rcMdi = RectInFrame(frame, frame->m_hWndMDIClient);
    EXPECT_GT(rcMdi.right, rcMdiBefore.right);
    // On: made again at 200 x 120 on the left and selected; its window comes
    // with the show notification.
    RECT rc = {0, 0, 200, 120};
    CQXPDockingPane* p = frame->m_panes.CreatePane(59599, rc, 0, NULL);
    ASSERT_NE(nullptr, p);
    p->SetTitle("Function List");
    frame->m_created.clear();
    frame->m_panes.SelectPane(p, TRUE);
    Relayout(frame);
    EXPECT_EQ(std::vector<int>{59599}, frame->m_created);
    EXPECT_TRUE(::IsWindowVisible(p->GetChild()));
    EXPECT_EQ(dockLeftOf, frame->m_panes.GetPaneDirection(p));
    // Selecting a pane that is shown already changes nothing of the tree.
    std::string tree = frame->Tree();
    frame->m_panes.SelectPane(frame->m_panes.FindPane(59585), TRUE);
    EXPECT_EQ(tree, frame->Tree());
}

TEST_F(EditorFrame, CloseButtonClosesOnePaneThatComesBackToItsPlace)
{
    ASSERT_TRUE(frame->BuildPanes(TRUE));
    Relayout(frame);
    CQXPDockingPaneTabbedContainer* t = Tabbed(frame, 59591);
    ASSERT_NE(nullptr, t);
    ASSERT_EQ(frame->m_panes.FindPane(59591), t->GetSelected());
    frame->m_actions.clear();
    ClickCaptionButton(t, QXP_IDS_DOCKINGPANE_CLOSE);
    Relayout(frame);
    CQXPDockingPane* find = frame->m_panes.FindPane(59591);
    EXPECT_TRUE(find->IsClosed());
    EXPECT_FALSE(::IsWindowVisible(find->GetChild()));
    EXPECT_EQ((std::vector<int>{paneActionClosing, paneActionClosed}), docktest::WithoutActivation(frame->m_actions));
    // The Tool Window stays in the place, now alone and shown.
    EXPECT_EQ("S|[S-[T{59586,59585*,59510,59588},C,T{59599*}],T{59590*}]", frame->Tree());
    EXPECT_TRUE(::IsWindowVisible(frame->PaneWindow(59590)));
    // Asked for again, it comes back into the same place, in front.
    frame->m_panes.SelectPane(find, TRUE);
    Relayout(frame);
    EXPECT_EQ(kDefaultTree, frame->Tree());
    EXPECT_TRUE(::IsWindowVisible(find->GetChild()));
    EXPECT_EQ(find->GetChild(), ::GetFocus());
    // Focus makes it the active pane, reported once.
    frame->m_actions.clear();
    ::SendMessageA(frame->m_panes.GetSafeHwnd(), WM_IDLEUPDATECMDUI, 0, 0);
    EXPECT_EQ(find, frame->m_panes.GetActivePane());
    ::SetFocus(frame->PaneWindow(59585));
    ::SendMessageA(frame->m_panes.GetSafeHwnd(), WM_IDLEUPDATECMDUI, 0, 0);
    EXPECT_EQ(frame->m_panes.FindPane(59585), frame->m_panes.GetActivePane());
    EXPECT_EQ(paneActionActivated, frame->m_actions.back());
}

TEST_F(EditorFrame, SavedLayoutComesBackAtTheNextStart)
{
    ASSERT_TRUE(frame->BuildPanes(TRUE));
    Relayout(frame);
    // The user's changes: Find In Files closed, the tool group auto-hidden,
    // List Explorer in front, Function List gone.
    frame->m_panes.ClosePane(frame->m_panes.FindPane(59591));
    frame->m_panes.SelectPane(frame->m_panes.FindPane(59510), FALSE);
    frame->m_panes.HidePane(frame->m_panes.FindPane(59590));
    frame->m_panes.DestroyPane(frame->m_panes.FindPane(59599));
    Relayout(frame);
    std::string tree = frame->Tree();
    EXPECT_EQ("S|[S-[T{59586,59585,59510*,59588},C]] A3(T{59590*})", tree);
    frame->SaveLayout();

    // The next start builds the default panes, then the saved layout wins.
    TestMainFrame* next = Open();
    extra.push_back(next);
    BOOL bLoaded = FALSE;
    ASSERT_TRUE(next->BuildPanes(TRUE, &bLoaded));
    EXPECT_TRUE(bLoaded);
    Relayout(next);
    EXPECT_EQ(tree, next->Tree());
    EXPECT_EQ(nullptr, next->m_panes.FindPane(59599)); // its flag goes off
    CQXPDockingPane* find = next->m_panes.FindPane(59591);
    ASSERT_NE(nullptr, find);
    EXPECT_TRUE(find->IsClosed());
    EXPECT_TRUE(next->m_panes.FindPane(59590)->IsHidden());
    EXPECT_TRUE(::IsWindowVisible(next->PaneWindow(59510)));
    AutoHidePanel* panel = next->m_panes.GetLayout()->GetPanel(dockBottomOf);
    ASSERT_NE(nullptr, panel);
    EXPECT_TRUE(::IsWindowVisible(panel->GetSafeHwnd()));
    // The closed pane comes back beside the Tool Window in its strip.
    next->m_panes.m_bManualTimers = TRUE;
    next->m_panes.SelectPane(find, FALSE);
    EXPECT_EQ("S|[S-[T{59586,59585,59510*,59588},C]] A3(T{59590,59591*})", next->Tree());
    ASSERT_NE(nullptr, panel->GetSlideOut());
    EXPECT_EQ(find, panel->GetSlideOut()->GetShownPane());
    EXPECT_TRUE(::IsWindowVisible(find->GetChild()));
}

TEST_F(EditorFrame, DamagedProfileKeepsTheDefaultLayout)
{
    ASSERT_TRUE(frame->BuildPanes(TRUE));
    Relayout(frame);
    frame->SaveLayout();
    const std::string base = "DockingPaneLayouts\\NormalLayout";
    auto setInt = [&](const std::string& section, const char* entry, int v) {
        app.SetRaw((base + "\\" + section).c_str(), entry, REG_DWORD, &v, 4);
    };
    auto getInt = [&](const std::string& section, const char* entry) {
        DWORD type = 0;
        qxtest::Bytes data;
        int v = 0;
        if (app.Query((base + "\\" + section).c_str(), entry, type, data) && data.size() == 4)
            memcpy(&v, data.data(), 4);
        return v;
    };
    int top = getInt("Summary", "TopContainer");
    ASSERT_GT(top, 0);
    // A child of the top splitter that is a splitter itself.
    int inner = 0;
    for (int i = 1; i <= 2 && !inner; ++i) {
        int c = getInt("Pane-" + std::to_string(top), ("Pane-" + std::to_string(i)).c_str());
        if (getInt("Pane-" + std::to_string(c), "Type") == paneTypeSplitterContainer)
            inner = c;
    }
    ASSERT_GT(inner, 0);
    struct Damage {
        const char* name;
        std::function<void()> apply;
    } damages[] = {
        {"inner splitter lists the top: a cycle",
         [&] { setInt("Pane-" + std::to_string(inner), "Pane-1", top); }},
        {"unknown object type", [&] { setInt("Pane-" + std::to_string(inner), "Type", 99); }},
        {"child index past the end", [&] { setInt("Pane-" + std::to_string(top), "Pane-2", 4000); }},
        {"object count far too large", [&] { setInt("Summary", "Panes", 0x40000000); }},
        {"value of the wrong kind",
         [&] { app.SetRaw((base + "\\Summary").c_str(), "TopContainer", REG_SZ, "12", 3); }},
    };
    for (auto& d : damages) {
        frame->SaveLayout();
        d.apply();
        TestMainFrame* next = Open();
        extra.push_back(next);
        BOOL bLoaded = TRUE;
        ASSERT_TRUE(next->BuildPanes(TRUE, &bLoaded)) << d.name;
        EXPECT_FALSE(bLoaded) << d.name;
        Relayout(next);
        EXPECT_EQ(kDefaultTree, next->Tree()) << d.name;
        for (const PaneRow& row : kPanes)
            EXPECT_TRUE(next->m_panes.FindPane(row.id) && next->m_panes.FindPane(row.id)->IsAttached()) << d.name;
        Close(next);
    }
}

TEST_F(EditorFrame, ToolWindowsAutoHideAndSlideOut)
{
    ASSERT_TRUE(frame->BuildPanes(TRUE));
    frame->m_panes.m_bManualTimers = TRUE;
    Relayout(frame);
    // The pin of the tool group hides both tool windows into the bottom
    // strip; the documents take the room.
    CQXPDockingPaneTabbedContainer* t = Tabbed(frame, 59590);
    RECT rcMdiBefore = RectInFrame(frame, frame->m_hWndMDIClient);
    ClickCaptionButton(t, QXP_IDS_DOCKINGPANE_AUTOHIDE);
    Relayout(frame);
    EXPECT_EQ("S|[S-[T{59586,59585*,59510,59588},C,T{59599*}]] A3(T{59590,59591*})", frame->Tree());
    AutoHidePanel* panel = frame->m_panes.GetLayout()->GetPanel(dockBottomOf);
    ASSERT_NE(nullptr, panel);
    RECT rcMdi = RectInFrame(frame, frame->m_hWndMDIClient);
    EXPECT_GT(rcMdi.bottom, rcMdiBefore.bottom);
    EXPECT_FALSE(::IsWindowVisible(frame->PaneWindow(59591)));
    ASSERT_EQ(1u, panel->GetGroupTabs().size());
    AutoHideGroupTabs* tabs = panel->GetGroupTabs()[0];
    ASSERT_EQ(2, tabs->GetItemCount());
    EXPECT_STREQ("Tool Window", tabs->GetItem(0)->GetCaption());
    // Resting the mouse on the Tool Window's tab slides it out (no focus).
    RECT rcTab = tabs->GetItem(0)->GetRect();
    POINT pt = {(rcTab.left + rcTab.right) / 2, (rcTab.top + rcTab.bottom) / 2};
    ::SendMessageA(panel->GetSafeHwnd(), WM_MOUSEHOVER, 0, MAKELPARAM(pt.x, pt.y));
    CQXPDockingPaneAutoHideWnd* w = panel->GetSlideOut();
    ASSERT_NE(nullptr, w);
    EXPECT_EQ(frame->m_panes.FindPane(59590), w->GetShownPane());
    while (w->IsTimerRunning(CQXPDockingPaneAutoHideWnd::timerSlideOut))
        w->OnTimer(CQXPDockingPaneAutoHideWnd::timerSlideOut);
    RECT rcOut = RectInFrame(frame, w->GetSafeHwnd());
    EXPECT_EQ(rcMdi.bottom, rcOut.bottom); // it grows up from the strip
    EXPECT_EQ(124, rcOut.bottom - rcOut.top);
    EXPECT_TRUE(::IsWindowVisible(frame->PaneWindow(59590)));
    Capture(frame->GetSafeHwnd(), "dock-autohide-out.png");
    // The mouse away for six checks: it slides back in and goes.
    RECT rcFrame;
    ::GetWindowRect(frame->GetSafeHwnd(), &rcFrame);
    ::SetCursorPos(rcFrame.left + 450, rcFrame.top + 250);
    ::SetFocus(frame->m_hWndMDIClient);
    for (int i = 0; i < 6; ++i)
        w->OnTimer(CQXPDockingPaneAutoHideWnd::timerHoverCheck);
    ASSERT_TRUE(w->IsCollapsing());
    for (int i = 0; i < 8 && panel->GetSlideOut(); ++i)
        w->OnTimer(CQXPDockingPaneAutoHideWnd::timerSlideIn);
    EXPECT_EQ(nullptr, panel->GetSlideOut());
    Pump();
    EXPECT_FALSE(::IsWindowVisible(frame->PaneWindow(59590)));
    Capture(frame->GetSafeHwnd(), "dock-autohide-strip.png");

    // The explorers hidden on the left: four tabs down the left strip, below
    // nothing (no top strip), each pane's tab in turn.
    frame->m_panes.HidePane(frame->m_panes.FindPane(59585));
    Relayout(frame);
    AutoHidePanel* left = frame->m_panes.GetLayout()->GetPanel(dockLeftOf);
    ASSERT_NE(nullptr, left);
    ASSERT_EQ(1u, left->GetGroupTabs().size());
    AutoHideGroupTabs* explorers = left->GetGroupTabs()[0];
    ASSERT_EQ(4, explorers->GetItemCount());
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(explorers->GetItem(i - 1)->GetRect().bottom, explorers->GetItem(i)->GetRect().top) << i;
    RECT rcLeft = RectInFrame(frame, left->GetSafeHwnd());
    EXPECT_EQ(0, rcLeft.left);
    EXPECT_EQ(left->GetStripSize(), rcLeft.right);
    Capture(frame->GetSafeHwnd(), "dock-autohide-left.png");
}

// Three documents with tabs: tabs follow create, rename and close; the
// strip's close button closes exactly one document.
TEST_F(EditorFrame, DocumentTabsFollowTheChildren)
{
    ASSERT_TRUE(frame->BuildPanes(TRUE));
    std::vector<HWND> docs;
    auto newDoc = [&](const char* title) {
        CMDIChildWnd* child = new CMDIChildWnd();
        EXPECT_TRUE(child->Create(NULL, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                                  frame));
        docs.push_back(child->GetSafeHwnd());
        frame->m_tabs.Refresh();
        Pump();
    };
    newDoc("main.cpp");
    newDoc("notes.txt");
    ASSERT_TRUE(frame->m_tabs.Attach(frame, FALSE));
    frame->m_tabs.Refresh();
    Relayout(frame);
    CQXPTabWorkspace* ws = frame->m_tabs.GetWorkspace();
    ASSERT_NE(nullptr, ws);
    EXPECT_EQ(2, ws->GetItemCount());
    newDoc("readme.md");
    EXPECT_EQ(3, ws->GetItemCount());
    EXPECT_EQ(ws->GetItem(2), ws->GetSelectedItem());
    EXPECT_STREQ("readme.md", ws->GetSelectedItem()->GetCaption());

    // A rename shows after the next idle update.
    ::SetWindowTextA(docs[1], "notes-renamed.txt");
    ::SendMessageA(frame->m_hWndMDIClient, WM_IDLEUPDATECMDUI, 0, 0);
    EXPECT_STREQ("notes-renamed.txt", frame->m_tabs.FindItem(docs[1])->GetCaption());

    // The strip sits between the explorers and Function List over the whole
    // document area; the documents lie in its client rectangle.
    Relayout(frame);
    RECT rcStrip = RectInFrame(frame, ws->GetOwnerObject());
    RECT rcMdi = RectInFrame(frame, frame->m_hWndMDIClient);
    RECT rcClient = frame->m_panes.GetLayout()->GetClientContainer()->GetPaneRect();
    EXPECT_TRUE(::EqualRect(&rcClient, &rcStrip));
    auto expectDocsInStrip = [&](const char* what) {
        RECT rcContent = {0, 0, rcStrip.right - rcStrip.left, rcStrip.bottom - rcStrip.top};
        frame->m_tabs.GetPaintManager()->AdjustClientRect(ws, rcContent);
        ::OffsetRect(&rcContent, rcStrip.left, rcStrip.top);
        EXPECT_TRUE(::EqualRect(&rcContent, &rcMdi)) << what;
    };
    expectDocsInStrip("top");
    EXPECT_GT(rcMdi.top, ws->m_rcHeaderRect.bottom + rcStrip.top - 1);
    Capture(frame->GetSafeHwnd(), "dock-frame-tabs-top.png");

    // The close button closes the selected document and only that one.
    CQXPTabManagerNavigateButton* close = ws->FindNavigateButton(CQXPTabManagerNavigateButton::idClose);
    ASSERT_NE(nullptr, close);
    ASSERT_FALSE(::IsRectEmpty(&close->m_rc));
    POINT pt = {(close->m_rc.left + close->m_rc.right) / 2, (close->m_rc.top + close->m_rc.bottom) / 2};
    ::PostMessageA(ws->GetOwnerObject(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    ::SendMessageA(ws->GetOwnerObject(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    Pump();
    EXPECT_FALSE(::IsWindow(docs[2]));
    EXPECT_TRUE(::IsWindow(docs[0]));
    EXPECT_TRUE(::IsWindow(docs[1]));
    EXPECT_EQ(2, ws->GetItemCount());
    EXPECT_EQ(nullptr, frame->m_tabs.FindItem(docs[2]));

    // A document closed by other means loses its tab too.
    ::SendMessageA(frame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)docs[0], 0);
    Pump();
    EXPECT_EQ(1, ws->GetItemCount());
    EXPECT_STREQ("notes-renamed.txt", ws->GetItem(0)->GetCaption());

    // Hidden close button: flag 2.
    frame->m_tabs.SetFlags(2);
    Relayout(frame);
    EXPECT_TRUE(::IsRectEmpty(&close->m_rc));
    // The tabs at each side of the documents.
    frame->m_tabs.SetFlags(0);
    for (int pos : {tabPositionLeft, tabPositionBottom, tabPositionRight}) {
        frame->m_tabs.GetPaintManager()->SetPosition(pos);
        frame->m_tabs.Refresh();
        Relayout(frame);
        rcStrip = RectInFrame(frame, ws->GetOwnerObject());
        rcMdi = RectInFrame(frame, frame->m_hWndMDIClient);
        EXPECT_TRUE(::EqualRect(&rcClient, &rcStrip)) << pos;
        expectDocsInStrip(pos == tabPositionLeft ? "left" : pos == tabPositionBottom ? "bottom"
                                                                                     : "right");
        // The header lies beside the documents, at the tab side.
        RECT rcHeader = ws->m_rcHeaderRect;
        ::OffsetRect(&rcHeader, rcStrip.left, rcStrip.top);
        switch (pos) {
        case tabPositionLeft: EXPECT_LT(rcHeader.right - 1, rcMdi.left); break;
        case tabPositionBottom: EXPECT_GT(rcHeader.top + 1, rcMdi.bottom); break;
        default: EXPECT_GT(rcHeader.left + 1, rcMdi.right); break;
        }
    }
}

// The documents in two tab groups side by side between the editor's panes:
// the groups' frame is the tab appearance's client frame alone (the client's
// own sunken edge takes no room and is not drawn), around the strips of both
// groups and the splitter between them; kept as a picture.
TEST_F(EditorFrame, TwoTabGroupsSitInOneFrame)
{
    ASSERT_TRUE(frame->BuildPanes(TRUE));
    for (const char* title : {"main.cpp", "notes.txt", "readme.md"}) {
        CMDIChildWnd* child = new CMDIChildWnd();
        ASSERT_TRUE(child->Create(NULL, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                                  frame));
    }
    ASSERT_TRUE(frame->m_tabs.Attach(frame, TRUE));
    frame->m_tabs.Refresh(TRUE);
    Relayout(frame);
    ASSERT_TRUE(frame->m_tabs.OnCmdMsg(ID_WORKSPACE_NEWVERTICAL, CN_COMMAND, NULL, NULL));
    docktest::IdleUpdate(frame);
    Relayout(frame);
    ASSERT_EQ(2, frame->m_tabs.GetWorkspaceCount());
    const HWND hClient = frame->m_hWndMDIClient;
    ASSERT_TRUE(::GetWindowLongPtr(hClient, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << "the client keeps its style";
    RECT rcWindow, rcClient;
    ::GetWindowRect(hClient, &rcWindow);
    ::GetClientRect(hClient, &rcClient);
    ::MapWindowPoints(hClient, HWND_DESKTOP, (LPPOINT)&rcClient, 2);
    RECT rcFramed = rcWindow;
    frame->m_tabs.GetPaintManager()->DeflateByClientFrame(rcFramed);
    EXPECT_TRUE(::EqualRect(&rcFramed, &rcClient))
        << rcClient.left - rcWindow.left << "," << rcClient.top - rcWindow.top << " from the window's corner";
    // Both groups side by side, the documents inside their groups.
    const CQXPTabWorkspace* w0 = frame->m_tabs.GetWorkspace(0);
    const CQXPTabWorkspace* w1 = frame->m_tabs.GetWorkspace(1);
    EXPECT_LT(w0->m_rcGroup.right, w1->m_rcGroup.left);
    EXPECT_FALSE(::IsRectEmpty(&w0->m_rcSplitter));
    std::vector<BYTE> px;
    int cx = 0;
    ASSERT_TRUE(Capture(frame->GetSafeHwnd(), "dock-frame-tab-groups.png", &px, &cx));
    // On the screen: the frame's outer line, not the sunken edge's shadow.
    RECT rcInFrame = RectInFrame(frame, hClient);
    const tabtest::FrameColours c = tabtest::FrameOf(frame->m_tabs.GetPaintManager()->GetAppearance(),
                                                     frame->m_tabs.GetPaintManager()->GetColors());
    auto pixel = [&](int x, int y) {
        const BYTE* p = &px[((size_t)y * cx + x) * 3];
        return RGB(p[0], p[1], p[2]);
    };
    const int midX = (rcInFrame.left + rcInFrame.right) / 2, midY = (rcInFrame.top + rcInFrame.bottom) / 2;
    EXPECT_EQ(c.nearEdge, pixel(midX, rcInFrame.top)) << "top";
    EXPECT_EQ(c.nearEdge, pixel(rcInFrame.left, midY)) << "left";
    EXPECT_EQ(c.farEdge, pixel(rcInFrame.right - 1, midY)) << "right";
    EXPECT_EQ(c.farEdge, pixel(midX, rcInFrame.bottom - 1)) << "bottom";
}

// The editor's docking themes (codes 0, 1, 2, 3, 6) and the document-tab
// appearances, drawn on the real frame and kept as pictures.
TEST_F(EditorFrame, ThemesAndTabAppearancesDraw)
{
    ASSERT_TRUE(frame->BuildPanes(TRUE));
    CMDIChildWnd* child = new CMDIChildWnd();
    ASSERT_TRUE(child->Create(NULL, "document.txt", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                              CFrameWnd::rectDefault, frame));
    CMDIChildWnd* child2 = new CMDIChildWnd();
    ASSERT_TRUE(child2->Create(NULL, "second.cpp", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                               CFrameWnd::rectDefault, frame));
    ASSERT_TRUE(frame->m_tabs.Attach(frame, FALSE));
    frame->m_tabs.Refresh();
    Relayout(frame);
    ::SetFocus(frame->PaneWindow(59585));
    ::SendMessageA(frame->m_panes.GetSafeHwnd(), WM_IDLEUPDATECMDUI, 0, 0);
    // The editor's theme commands: the global paint manager and the docking
    // theme change together; the document tabs follow the paint manager.
    struct EditorTheme {
        int command, paintTheme, dockingTheme, tabAppearance, tabColors;
    } themes[] = {
        {720, qxpThemeWindows2000, 0, 0, 1},
        {721, qxpThemeWindowsXP, 3, 0, 8},
        {722, qxpThemeWhidbey, 6, 3, 16},
        {723, qxpThemeOfficeXP, 1, 5, 2},
        {724, qxpThemeOffice2003, 2, 3, 4},
    };
    std::vector<std::vector<BYTE>> shots;
    for (const EditorTheme& t : themes) {
        SetGlobalPaintManager(t.paintTheme);
        frame->m_panes.SetTheme(t.dockingTheme);
        EXPECT_EQ(t.dockingTheme, frame->m_panes.GetCurrentTheme());
        frame->m_tabs.Refresh();
        Relayout(frame);
        EXPECT_EQ(t.tabAppearance, frame->m_tabs.GetPaintManager()->GetAppearance()) << t.command;
        EXPECT_EQ(t.tabColors, frame->m_tabs.GetPaintManager()->GetColor()) << t.command;
        char name[64];
        snprintf(name, sizeof(name), "dock-theme-%d.png", t.command);
        std::vector<BYTE> px;
        EXPECT_TRUE(Capture(frame->GetSafeHwnd(), name, &px));
        shots.push_back(px);
        EXPECT_TRUE(Tabbed(frame, 59585)->IsActive());
    }
    SetGlobalPaintManager(qxpThemeWindows2000);
    // Each theme looks different from the first one.
    for (size_t i = 1; i < shots.size(); ++i)
        EXPECT_NE(shots[0], shots[i]) << i;
    frame->m_tabs.m_bFollowTheme = FALSE;
    CQXPTabPainter* tabs = frame->m_tabs.GetPaintManager();
    for (int appearance = 0; appearance <= 10; ++appearance) {
        tabs->SetAppearance(appearance);
        frame->m_tabs.Refresh();
        Relayout(frame);
        char name[64];
        snprintf(name, sizeof(name), "tabs-appearance-%d.png", appearance);
        EXPECT_TRUE(Capture(frame->GetSafeHwnd(), name));
    }
}

// Accessibility clients see the manager as a property page whose children
// are the panes, each a page tab that can be switched to.
TEST_F(EditorFrame, PanesAreAccessiblePageTabs)
{
    ASSERT_TRUE(frame->BuildPanes(TRUE));
    Relayout(frame);
    IAccessible* acc = frame->m_panes.GetAccessible();
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    long count = 0;
    ASSERT_EQ(S_OK, acc->get_accChildCount(&count));
    EXPECT_EQ(7, count);
    VARIANT role;
    ASSERT_EQ(S_OK, acc->get_accRole(self, &role));
    EXPECT_EQ(ROLE_SYSTEM_PROPERTYPAGE, role.lVal);
    BSTR name = NULL;
    ASSERT_EQ(S_OK, acc->get_accName(self, &name));
    EXPECT_STREQ(L"QXPDockingPaneManager", name);
    SysFreeString(name);
    long x, y, cx, cy;
    ASSERT_EQ(S_OK, acc->accLocation(&x, &y, &cx, &cy, self));
    EXPECT_EQ(10, cx);
    // The window hands the same object out.
    EXPECT_NE(0, SendMessageA(frame->m_panes.GetSafeHwnd(), WM_GETOBJECT, 0, (LPARAM)OBJID_CLIENT));

    // Child 1 is the first pane of the layout: Project Explorer, behind File
    // Explorer's tab.
    VARIANT first;
    first.vt = VT_I4;
    first.lVal = 1;
    IDispatch* disp = NULL;
    ASSERT_EQ(S_OK, acc->get_accChild(first, &disp));
    IAccessible* pane = NULL;
    ASSERT_EQ(S_OK, disp->QueryInterface(IID_IAccessible, (void**)&pane));
    disp->Release();
    ASSERT_EQ(S_OK, pane->get_accName(self, &name));
    EXPECT_STREQ(L"Project Explorer", name);
    SysFreeString(name);
    // Titles in any language come out whole (the titles are UTF-8).
    CQXPDockingPane* pProject = frame->m_panes.FindPane(59586);
    ASSERT_TRUE(pProject != NULL);
    const CString strTitle = pProject->GetTitle();
    for (const qmtest::TextInAnyLanguage& t : qmtest::kTextsInAnyLanguage) {
        pProject->SetTitle(t.utf8);
        ASSERT_EQ(S_OK, pane->get_accName(self, &name));
        EXPECT_STREQ(t.utf16, name) << t.utf8;
        SysFreeString(name);
        ASSERT_EQ(S_OK, pane->get_accDescription(self, &name));
        EXPECT_STREQ(t.utf16, name) << t.utf8;
        SysFreeString(name);
    }
    pProject->SetTitle(strTitle);
    ASSERT_EQ(S_OK, pane->get_accRole(self, &role));
    EXPECT_EQ(ROLE_SYSTEM_PAGETAB, role.lVal);
    VARIANT state;
    ASSERT_EQ(S_OK, pane->get_accState(self, &state));
    EXPECT_EQ(STATE_SYSTEM_SELECTABLE, state.lVal);
    ASSERT_EQ(S_OK, pane->get_accChildCount(&count));
    EXPECT_EQ(1, count);
    BSTR action = NULL;
    ASSERT_EQ(S_OK, pane->get_accDefaultAction(self, &action));
    EXPECT_STREQ(L"Switch", action);
    SysFreeString(action);
    // Its location is its tab in the shared place.
    ASSERT_EQ(S_OK, pane->accLocation(&x, &y, &cx, &cy, self));
    RECT tab = Tabbed(frame, 59586)->GetTabRects()[0];
    EXPECT_EQ(tab.right - tab.left, cx);
    // The default action switches to it.
    ASSERT_EQ(S_OK, pane->accDoDefaultAction(self));
    Relayout(frame);
    EXPECT_EQ(frame->m_panes.FindPane(59586), Tabbed(frame, 59586)->GetSelected());
    ASSERT_EQ(S_OK, pane->get_accState(self, &state));
    EXPECT_EQ(STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED, state.lVal);
    // Closed, it is invisible; other child ids are refused.
    frame->m_panes.ClosePane(frame->m_panes.FindPane(59586));
    ASSERT_EQ(S_OK, pane->get_accState(self, &state));
    EXPECT_EQ(STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_INVISIBLE, state.lVal);
    VARIANT other;
    other.vt = VT_I4;
    other.lVal = 5;
    EXPECT_EQ(E_INVALIDARG, pane->get_accName(other, &name));
    pane->Release();
    VARIANT past;
    past.vt = VT_I4;
    past.lVal = 8;
    EXPECT_EQ(E_INVALIDARG, acc->get_accChild(past, &disp));
}

// The keyboard's Move popup: one item at the caption's corner; choosing it
// gives the Move command.
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

// Choosing Move starts a drag by the keyboard; Escape ends it once it runs.
CQXPDockingPaneManager* g_pDragging = NULL;

void CALLBACK EscapeTheDrag(HWND, UINT, UINT_PTR id, DWORD)
{
    CDockingDragContext* pDrag = g_pDragging ? g_pDragging->GetDragContext() : NULL;
    if (!pDrag || !pDrag->m_pObject)
        return;
    ::KillTimer(NULL, id);
    ::PostMessageA(g_hMenuOwner, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(EditorFrame, MovePopupOffersMove)
{
    ASSERT_TRUE(frame->BuildPanes(TRUE));
    Relayout(frame);
    EXPECT_FALSE(frame->m_panes.m_strMove.IsEmpty());
    CQXPDockingPane* find = frame->m_panes.FindPane(59591);
    g_hMenuOwner = frame->GetSafeHwnd();
    g_menuKeys = {VK_DOWN, VK_RETURN};
    ::SetTimer(NULL, 0, 100, PressMenuKeys);
    g_pDragging = &frame->m_panes;
    UINT_PTR nEscape = ::SetTimer(NULL, 0, 50, EscapeTheDrag);
    const std::string before = docktest::Describe(frame->m_panes.GetLayout());
    EXPECT_EQ((UINT)SC_MOVE, frame->m_panes.ShowMovePopup(find));
    ::KillTimer(NULL, nEscape);
    g_pDragging = NULL;
    EXPECT_EQ(before, docktest::Describe(frame->m_panes.GetLayout())) << "Escape ends the drag by the keyboard";
    EXPECT_EQ(nullptr, ::GetCapture());
    g_menuKeys = {VK_ESCAPE};
    ::SetTimer(NULL, 0, 100, PressMenuKeys);
    EXPECT_EQ(0u, frame->m_panes.ShowMovePopup(find));
    Pump();
    // Alt+minus reaches the active pane only; without one nothing opens.
    EXPECT_EQ(nullptr, frame->m_panes.GetActivePane());
    EXPECT_EQ(0, ::SendMessageA(frame->m_panes.GetSafeHwnd(), WM_SYSCOMMAND, SC_KEYMENU, '-'));
    // Closed or unknown panes have no popup.
    frame->m_panes.ClosePane(find);
    EXPECT_EQ(0u, frame->m_panes.ShowMovePopup(find));
    EXPECT_EQ(0u, frame->m_panes.ShowMovePopup(NULL));
}

} // namespace
