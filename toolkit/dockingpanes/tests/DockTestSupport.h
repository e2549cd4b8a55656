// Helpers of the docking tests: a hidden site window with a manager on it, a
// compact text form of a layout tree for comparisons, and the toolkit's
// cursors as the test program carries them.
#pragma once

#include <qx/autohide.h>
#include <qx/panelayout.h>
#include <qx/miniwnd.h>
#include <qx/panemanager.h>
#include <qx/splittercontainer.h>
#include <qx/tabbedcontainer.h>
#include <qx/tabpaint.h>
#include <qx/drawing.h>
#include <qx/mditabs.h>
#include <qxresource.h>

#include <fx/mdi.h>

#include <gtest/gtest.h>
#include <qmtest/pump.h>

#include <functional>
#include <vector>
#include <string>

namespace docktest {

// The width of a caption in a tab painter's normal font.
inline int CaptionWidth(const CQXPTabPainter* pPainter, const CString& strCaption)
{
    HDC hDC = ::GetDC(NULL);
    SIZE sz = {0, 0};
    {
        FontSelector font(hDC, pPainter->GetFont(FALSE, FALSE));
        ::GetTextExtentPoint32A(hDC, strCaption, strCaption.GetLength(), &sz);
    }
    ::ReleaseDC(NULL, hDC);
    return sz.cx;
}

// A cursor of the toolkit's resources, which the window tests carry as the
// program does; the panes must show this very handle.
inline HCURSOR ToolkitCursorResource(UINT nID)
{
    return ::LoadCursorA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(nID));
}

// The tree under an object: S-/S| splitter (horizontal/vertical) [children],
// T{ids, * after the selected}, C client, P<id>, F(...) floating, A<side>(...).
inline std::string Describe(const CPaneBase* p)
{
    if (!p)
        return "-";
    std::string s;
    switch (p->GetType()) {
    case paneTypeDockingPane:
        return "P" + std::to_string(static_cast<const CQXPDockingPane*>(p)->GetID());
    case paneTypeClientContainer:
        return "C";
    case paneTypeTabbedContainer: {
        auto t = static_cast<const CQXPDockingPaneTabbedContainer*>(p);
        s = "T{";
        bool first = true;
        for (CPaneBase* c : t->GetPanes()) {
            if (!first)
                s += ",";
            first = false;
            s += std::to_string(static_cast<CQXPDockingPane*>(c)->GetID());
            if (c == t->GetSelected())
                s += "*";
        }
        return s + "}";
    }
    case paneTypeSplitterContainer: {
        auto sp = static_cast<const CPaneSplitterContainer*>(p);
        s = sp->IsHorizontal() ? "S-[" : "S|[";
        bool first = true;
        for (CPaneBase* c : sp->GetPanes()) {
            if (!first)
                s += ",";
            first = false;
            s += Describe(c);
        }
        return s + "]";
    }
    case paneTypeMiniWnd:
        return "F(" + Describe(static_cast<const CQXPDockingPaneMiniWnd*>(p)->GetTopContainer()) + ")";
    case paneTypeAutoHidePanel: {
        auto a = static_cast<const AutoHidePanel*>(p);
        s = "A" + std::to_string(a->GetDirection()) + "(";
        bool first = true;
        for (CPaneBase* c : a->GetPanes()) {
            if (!first)
                s += ",";
            first = false;
            s += Describe(c);
        }
        return s + ")";
    }
    }
    return "?";
}

// The whole layout: the frame tree, then the auto-hide panels, then the
// floating frames.
inline std::string Describe(const DockingLayoutStore* pLayout)
{
    std::string s = Describe(pLayout->GetTopContainer());
    for (int i = 0; i < 4; ++i)
        if (pLayout->GetPanel(i))
            s += " " + Describe(pLayout->GetPanel(i));
    for (CPaneBase* p : pLayout->GetObjects())
        if (p->GetType() == paneTypeMiniWnd)
            s += " " + Describe(p);
    return s;
}

// Action codes without the activation reports (14, 15): a press on a caption
// button gives its pane the focus first, so activations come and go around
// the actions a button takes.
inline std::vector<int> WithoutActivation(const std::vector<int>& actions)
{
    std::vector<int> v;
    for (int a : actions)
        if (a != paneActionActivated && a != paneActionDeactivated)
            v.push_back(a);
    return v;
}

// A top-level window (hidden unless asked) that lays the manager out on
// WM_SIZE and records the manager's notifications.
class SiteWindow {
public:
    explicit SiteWindow(bool bVisible = false, int cx = 800, int cy = 600)
    {
        static bool s_registered = false;
        if (!s_registered) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = Proc;
            wc.hInstance = ::GetModuleHandle(NULL);
            wc.hbrBackground = (HBRUSH)(COLOR_APPWORKSPACE + 1);
            wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
            wc.lpszClassName = "QxDockTestSite";
            ::RegisterClassA(&wc);
            s_registered = true;
        }
        m_hWnd = ::CreateWindowExA(0, "QxDockTestSite", "Docking test",
                                   WS_OVERLAPPEDWINDOW | (bVisible ? WS_VISIBLE : 0), 10, 10, cx, cy, NULL, NULL,
                                   ::GetModuleHandle(NULL), this);
    }
    ~SiteWindow()
    {
        if (::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
    }
    void Layout()
    {
        if (!m_pManager)
            return;
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        m_pManager->LayoutInRect(rc, (HDWP)1);
        m_rcClient = rc;
    }

    HWND m_hWnd = NULL;
    CQXPDockingPaneManager* m_pManager = NULL;
    RECT m_rcClient = {0, 0, 0, 0};
    std::vector<int> m_actions; // action codes in order
    int m_nRefuseAction = -1;   // this action code is refused
    LRESULT m_nCloseAnswer = 0; // answer to the closing question
    int m_nShowRequests = 0;
    std::vector<DockingPaneMenuRequest> m_menuRequests; // Menu caption button presses
    LRESULT m_nMenuAnswer = 0;                          // non-zero: the menu was shown
    std::vector<CPaneBase*> m_containerClicks;          // right clicks on containers

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        if (m == WM_NCCREATE)
            ::SetWindowLongPtrA(h, GWLP_USERDATA, (LONG_PTR)((CREATESTRUCTA*)l)->lpCreateParams);
        SiteWindow* self = (SiteWindow*)::GetWindowLongPtrA(h, GWLP_USERDATA);
        if (self && m == WM_SIZE)
            self->Layout();
        if (self && m == WM_DOCKINGPANE_NOTIFY) {
            if (w == DOCKINGPANE_ACTION) {
                DockingPaneAction_t* a = (DockingPaneAction_t*)l;
                self->m_actions.push_back(a->action);
                if (a->action == self->m_nRefuseAction)
                    a->bCancel = TRUE;
            } else if (w == DOCKINGPANE_PANECLOSING) {
                return self->m_nCloseAnswer;
            } else if (w == DOCKINGPANE_SHOWWINDOW) {
                ++self->m_nShowRequests;
            } else if (w == DOCKINGPANE_CAPTIONMENU) {
                self->m_menuRequests.push_back(*(DockingPaneMenuRequest*)l);
                return self->m_nMenuAnswer;
            } else if (w == DOCKINGPANE_CONTAINER_RCLICK) {
                self->m_containerClicks.push_back((CPaneBase*)l);
            }
            return 0;
        }
        return ::DefWindowProcA(h, m, w, l);
    }
};

// A site with an installed manager.
struct Docking {
    explicit Docking(bool bVisible = false) : site(bVisible)
    {
        // Say which step failed: the site window or the manager's own window.
        EXPECT_TRUE(::IsWindow(site.m_hWnd)) << "site window not created, error " << ::GetLastError();
        EXPECT_TRUE(manager.InstallDockingPanes(site.m_hWnd)) << "error " << ::GetLastError();
        site.m_pManager = &manager;
    }
    ~Docking() { site.m_pManager = NULL; }
    CQXPDockingPane* Create(int id, int dir, CPaneBase* neighbour = NULL, int cx = 200, int cy = 120)
    {
        RECT rc = {0, 0, cx, cy};
        return manager.CreatePane(id, rc, dir, neighbour);
    }
    std::string Tree() const { return Describe(manager.GetLayout()); }

    SiteWindow site;
    CQXPDockingPaneManager manager;
};

// A visible site whose panes host edit windows ("pane <id>").
struct EditPaneFrame : Docking {
    EditPaneFrame() : Docking(true) {}
    HWND AddPane(int id, int dir, CPaneBase* neighbour = NULL, int cx = 200, int cy = 120)
    {
        CQXPDockingPane* p = Create(id, dir, neighbour, cx, cy);
        EXPECT_NE(nullptr, p);
        char text[32];
        snprintf(text, sizeof(text), "pane %d", id);
        HWND h = ::CreateWindowExA(0, "EDIT", text, WS_CHILD | ES_MULTILINE, 0, 0, 10, 10, site.m_hWnd, NULL,
                                   ::GetModuleHandle(NULL), NULL);
        p->Attach(h);
        return h;
    }
    void Relayout()
    {
        site.Layout();
        qmtest::PumpMessages();
    }
    // A window's rectangle in another's client coordinates.
    RECT RectIn(HWND h, HWND parent)
    {
        RECT rc;
        ::GetWindowRect(h, &rc);
        ::MapWindowPoints(HWND_DESKTOP, parent, (LPPOINT)&rc, 2);
        return rc;
    }
};

// A document whose tab caption tells whether it is the active one: its
// answer to WM_TABCLIENT_GETCAPTION is "<name> (active)" while it is.
class ActivityCaptionChild : public CMDIChildWnd {
public:
    explicit ActivityCaptionChild(const char* pszName) : m_strName(pszName) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_TABCLIENT_GETCAPTION)
            return CMDIChildWnd::WindowProc(message, wParam, lParam);
        const HWND hActive = (HWND)::SendMessageA(::GetParent(m_hWnd), WM_MDIGETACTIVE, 0, 0);
        m_strCaption = hActive == m_hWnd ? m_strName + " (active)" : m_strName;
        return (LRESULT)(LPCSTR)m_strCaption;
    }

private:
    CString m_strName;
    CString m_strCaption;
};

// The program's idle update of the command states, as the framework's idle
// work sends it: WM_IDLEUPDATECMDUI to the main window's descendants.
inline void IdleUpdate(CWnd* pMainWnd)
{
    pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
}

} // namespace docktest
