// Window hooks on real windows: the hook manager's chains, the per-thread
// keyboard hook with real key presses, and the window map's hook chains.
// Removing hooks never cuts out a later subclasser nor swallows messages.
#include <qx/hooks.h>
#include <qx/windowhook.h>

#include "QxTestSupport.h"

#include <gmock/gmock.h>

#include <string>
#include <vector>
#include <qmtest/pump.h>

namespace {

const UINT WM_PROBE = WM_APP + 7;

// The window's own procedure records what reaches it.
std::vector<std::string> g_log;
WNDPROC g_ownProcAtNcDestroy = NULL;

LRESULT CALLBACK OwnProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_PROBE) {
        g_log.push_back("window");
        return 100 + (LRESULT)w;
    }
    if (m == WM_NCDESTROY)
        g_ownProcAtNcDestroy = (WNDPROC)GetWindowLongPtrA(h, GWLP_WNDPROC);
    return DefWindowProcA(h, m, w, l);
}

HWND MakeWindow()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "QxHookTestWnd";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(0, "QxHookTestWnd", "", WS_POPUP, 0, 0, 50, 50, NULL, NULL, GetModuleHandleA(NULL), NULL);
}

WNDPROC ProcOf(HWND h) { return (WNDPROC)GetWindowLongPtrA(h, GWLP_WNDPROC); }

class NamedHook : public CWindowHook {
public:
    NamedHook(const char* name, int answer, bool* deleted = NULL) : m_name(name), m_answer(answer), m_pDeleted(deleted) {}
    ~NamedHook() override
    {
        if (m_pDeleted)
            *m_pDeleted = true;
    }
    int OnHookMessage(HWND, UINT msg, WPARAM& wParam, LPARAM&, LRESULT& lResult) override
    {
        if (msg != WM_PROBE && msg != WM_KEYDOWN)
            return kNotHandled;
        g_log.push_back(m_name);
        ++m_seen;
        m_lastKey = wParam;
        lResult = 7;
        return m_answer;
    }
    std::string m_name;
    int m_answer;
    bool* m_pDeleted;
    int m_seen = 0;
    WPARAM m_lastKey = 0;
};

// A foreign subclasser, installed on top of whatever is there.
WNDPROC g_foreignOld = NULL;
LRESULT CALLBACK ForeignProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_PROBE)
        g_log.push_back("foreign");
    return CallWindowProcA(g_foreignOld, h, m, w, l);
}

std::vector<std::string> Probe(HWND h, LRESULT* pResult = NULL)
{
    g_log.clear();
    LRESULT r = SendMessageA(h, WM_PROBE, 1, 0);
    if (pResult)
        *pResult = r;
    return g_log;
}

typedef std::vector<std::string> Log;

} // namespace

TEST(WindowHookManager, LaterHooksSeeMessagesFirst)
{
    struct Case {
        const char* name;
        int firstAnswer, secondAnswer;
        Log expect;
        LRESULT expectResult;
    } cases[] = {
        {"both pass", 0, 0, {"second", "first", "window"}, 101},
        {"later handles", 0, 1, {"second"}, 7},
        {"later stops the chain", 0, 2, {"second", "window"}, 101},
        {"earlier handles", 1, 0, {"second", "first"}, 7},
    };
    CWindowHookManager* mgr = CWindowHookManager::Instance();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND h = MakeWindow();
        NamedHook first("first", c.firstAnswer), second("second", c.secondAnswer);
        mgr->SetHook(h, &first);
        mgr->SetHook(h, &second);
        mgr->SetHook(h, &second);
        EXPECT_EQ(2, mgr->GetHookCount(h)) << "a hook is added once";
        EXPECT_EQ((WNDPROC)CWindowHookManager::HookWindowProc, ProcOf(h));
        LRESULT r = 0;
        EXPECT_EQ(c.expect, Probe(h, &r));
        EXPECT_EQ(c.expectResult, r);
        mgr->RemoveHook(h, &second);
        EXPECT_TRUE(mgr->IsHooked(h));
        mgr->RemoveHook(&first);
        EXPECT_FALSE(mgr->IsHooked(h));
        EXPECT_EQ((WNDPROC)OwnProc, ProcOf(h)) << "the window procedure is back";
        EXPECT_EQ(Log({"window"}), Probe(h));
        DestroyWindow(h);
    }
}

TEST(WindowHookManager, DestroyingTheWindowUnhooksBeforeTheLastMessage)
{
    CWindowHookManager* mgr = CWindowHookManager::Instance();
    HWND h = MakeWindow();
    bool autoDeleted = false, keptDeleted = false;
    NamedHook* autoHook = new NamedHook("auto", 0, &autoDeleted);
    autoHook->m_bAutoDelete = TRUE;
    NamedHook kept("kept", 0, &keptDeleted);
    mgr->SetHook(h, &kept);
    mgr->SetHook(h, autoHook);
    g_ownProcAtNcDestroy = NULL;
    DestroyWindow(h);
    EXPECT_EQ((WNDPROC)OwnProc, g_ownProcAtNcDestroy) << "restored before WM_NCDESTROY reached the window";
    EXPECT_TRUE(autoDeleted);
    EXPECT_FALSE(keptDeleted);
    EXPECT_FALSE(mgr->IsHooked(h));
}

TEST(WindowHookManager, RemovalUnderALaterSubclasserNeverCutsItOut)
{
    CWindowHookManager* mgr = CWindowHookManager::Instance();
    HWND h = MakeWindow();
    NamedHook hook("hook", 0);
    mgr->SetHook(h, &hook);
    g_foreignOld = (WNDPROC)SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)ForeignProc);
    EXPECT_EQ(Log({"foreign", "hook", "window"}), Probe(h));

    mgr->RemoveHooks(h);
    EXPECT_EQ((WNDPROC)ForeignProc, ProcOf(h)) << "the later subclasser stays installed";
    LRESULT r = 0;
    EXPECT_EQ(Log({"foreign", "window"}), Probe(h, &r)) << "messages still reach the window";
    EXPECT_EQ(101, r);

    // Hooking again reuses our procedure below the subclasser.
    mgr->SetHook(h, &hook);
    EXPECT_EQ(Log({"foreign", "hook", "window"}), Probe(h));
    mgr->RemoveHook(h, &hook);

    // The subclasser leaves: our pass-through steps out too.
    SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)g_foreignOld);
    EXPECT_EQ(Log({"window"}), Probe(h));
    EXPECT_EQ((WNDPROC)OwnProc, ProcOf(h));
    DestroyWindow(h);
}

TEST(WindowHookManager, CurrentMessageRecordIsRestored)
{
    CWindowHookManager* mgr = CWindowHookManager::Instance();
    HWND h = MakeWindow();
    struct Peek : CWindowHook {
        UINT seen = 0;
        int OnHookMessage(HWND, UINT msg, WPARAM&, LPARAM&, LRESULT&) override
        {
            if (msg == WM_PROBE)
                seen = AfxGetThreadState()->m_lastSentMsg.message;
            return kNotHandled;
        }
    } peek;
    mgr->SetHook(h, &peek);
    AfxGetThreadState()->m_lastSentMsg.message = 0x1234;
    SendMessageA(h, WM_PROBE, 0, 0);
    EXPECT_EQ(WM_PROBE, peek.seen);
    EXPECT_EQ(0x1234u, AfxGetThreadState()->m_lastSentMsg.message);
    mgr->RemoveHook(&peek);
    DestroyWindow(h);
}

// ---------------------------------------------------------------------------
// Keyboard hook

namespace {

class Tracking : public IToolkitPopupTracking {
public:
    void SendTrackLost() override { ++lost; }
    int GetTrackingLock() const override { return lock; }
    int lost = 0;
    int lock = 0;
};

int g_keysAtWindow = 0;
LRESULT CALLBACK KeyWindowProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN)
        ++g_keysAtWindow;
    return DefWindowProcA(h, m, w, l);
}

void Pump()
{
    qmtest::PumpFor(100);
}

void Key(BYTE vk, bool withAlt = false)
{
    if (withAlt)
        keybd_event(VK_MENU, 0, 0, 0);
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
    if (withAlt)
        keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
    Pump();
}

} // namespace

TEST(KeyboardHook, NotifyAsksTheNewestObjectFirst)
{
    CKeyboardHook* kh = CKeyboardHook::Instance();
    EXPECT_EQ(kh, CKeyboardHook::Instance());
    struct Case {
        const char* name;
        int oldAnswer, newAnswer;
        BOOL expect;
        Log expectLog;
    } cases[] = {{"nobody answers", 0, 0, TRUE, {"new", "old"}},
                 {"newest swallows", 0, 1, TRUE, {"new"}},
                 {"newest stops", 0, 2, FALSE, {"new"}},
                 {"older stops", 2, 0, FALSE, {"new", "old"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NamedHook older("old", c.oldAnswer), newer("new", c.newAnswer);
        kh->Install(&older);
        kh->Install(&newer);
        kh->Install(&newer);
        EXPECT_EQ(2, kh->GetCount());
        EXPECT_TRUE(kh->IsInstalled());
        g_log.clear();
        EXPECT_EQ(c.expect, kh->NotifyHooks(WM_KEYDOWN, 'A', 0));
        EXPECT_EQ(c.expectLog, g_log);
        kh->Uninstall(&newer);
        EXPECT_TRUE(kh->IsInstalled());
        kh->Uninstall(&older);
        EXPECT_FALSE(kh->IsInstalled()) << "the last object removes the system hooks";
    }
    EXPECT_TRUE(kh->NotifyHooks(WM_KEYDOWN, 'A', 0)) << "an empty list answers TRUE";
}

TEST(KeyboardHook, RealKeysGoThroughTheHookObjects)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = KeyWindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "QxKeyTestWnd";
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, "QxKeyTestWnd", "", WS_POPUP | WS_VISIBLE, 10, 10, 100, 100, NULL, NULL,
                             GetModuleHandleA(NULL), NULL);
    SetForegroundWindow(h);
    SetFocus(h);
    Pump();
    g_keysAtWindow = 0;
    Key('Q');
    if (g_keysAtWindow == 0) {
        DestroyWindow(h);
        GTEST_SKIP() << "platform limit: the display does not deliver synthesized keys";
    }

    CKeyboardHook* kh = CKeyboardHook::Instance();
    Tracking tracking;
    kh->SetPopupTracking(&tracking);
    NamedHook menu("menu", 1);
    kh->Install(&menu);

    g_keysAtWindow = 0;
    Key('Q');
    EXPECT_EQ(1, menu.m_seen);
    EXPECT_EQ((WPARAM)'Q', menu.m_lastKey);
    EXPECT_EQ(0, g_keysAtWindow) << "an open menu swallows the key";

    menu.m_answer = 2;
    Key('W');
    EXPECT_EQ(1, g_keysAtWindow) << "answer 2 lets the key through";

    // Alt pressed and released: popups close, the Alt press is swallowed.
    int seenBefore = menu.m_seen;
    Key(VK_MENU);
    EXPECT_EQ(1, tracking.lost);
    EXPECT_EQ(seenBefore, menu.m_seen) << "the Alt press does not go to the objects";
    // While the tracking lock is held, Alt goes to the objects instead.
    tracking.lock = 1;
    Key(VK_MENU);
    EXPECT_EQ(1, tracking.lost);
    EXPECT_EQ(seenBefore + 1, menu.m_seen);
    tracking.lock = 0;

    // Another application takes the activation: popups close.
    SendMessageA(h, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(2, tracking.lost);
    SendMessageA(h, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(2, tracking.lost);

    kh->Uninstall(&menu);
    g_keysAtWindow = 0;
    Key('E');
    EXPECT_EQ(1, g_keysAtWindow);
    kh->SetPopupTracking(NULL);
    DestroyWindow(h);
}

// ---------------------------------------------------------------------------
// Window map hook chains

namespace {

class ChainHook : public CQXWndHook {
public:
    ChainHook(const char* name, bool handle = false) : m_name(name), m_handle(handle) {}
    LRESULT DefaultProc(UINT msg, WPARAM w, LPARAM l) override
    {
        if (msg == WM_PROBE) {
            g_log.push_back(m_name);
            if (m_detachWhileHandling)
                SetWindow(NULL);
            if (m_handle)
                return 55;
        }
        return CQXWndHook::DefaultProc(msg, w, l);
    }
    BOOL SetWindow(HWND hWnd) override
    {
        if (!hWnd)
            g_log.push_back(m_name + " detached");
        return CQXWndHook::SetWindow(hWnd);
    }
    std::string m_name;
    bool m_handle;
    bool m_detachWhileHandling = false;
};

} // namespace

TEST(WindowMap, ChainsRunHeadFirstAndRelinkOnDetach)
{
    HWND h = MakeWindow();
    ChainHook a("A"), b("B"), c("C");
    a.SetWindow(h);
    b.SetWindow(h);
    EXPECT_EQ((WNDPROC)HookedWindowProc, ProcOf(h));
    EXPECT_EQ(Log({"B", "A", "window"}), Probe(h));
    EXPECT_EQ(a.m_pOldWndProc, b.m_pOldWndProc) << "every hook of a chain holds the first saved procedure";
    c.SetWindow(h);
    EXPECT_EQ(Log({"C", "B", "A", "window"}), Probe(h));
    b.SetWindow(NULL); // the middle one
    EXPECT_EQ(Log({"C", "A", "window"}), Probe(h));
    c.SetWindow(NULL); // the head
    EXPECT_EQ(&a, CQXWindowMap::Instance()->LookupHook(h));
    EXPECT_EQ(Log({"A", "window"}), Probe(h));
    a.SetWindow(NULL);
    EXPECT_EQ(nullptr, CQXWindowMap::Instance()->LookupHook(h));
    EXPECT_EQ((WNDPROC)OwnProc, ProcOf(h));
    EXPECT_FALSE(a.IsWindowHooked());
    ChainHook handler("H", true);
    handler.SetWindow(h);
    LRESULT r = 0;
    EXPECT_EQ(Log({"H"}), Probe(h, &r));
    EXPECT_EQ(55, r);
    handler.SetWindow(NULL);
    DestroyWindow(h);
}

TEST(WindowMap, DestroyDetachesEveryHookHeadFirst)
{
    HWND h = MakeWindow();
    ChainHook a("A"), b("B");
    a.SetWindow(h);
    b.SetWindow(h);
    EXPECT_TRUE(a.IsWindowHooked());
    g_log.clear();
    g_ownProcAtNcDestroy = NULL;
    DestroyWindow(h);
    EXPECT_EQ(Log({"B detached", "A detached"}), g_log);
    EXPECT_EQ((WNDPROC)OwnProc, g_ownProcAtNcDestroy);
    EXPECT_EQ(nullptr, a.m_hWnd);
    EXPECT_FALSE(b.IsWindowHooked());
}

TEST(WindowMap, AHookThatDetachesWhileHandlingStillPassesTheMessageOn)
{
    HWND h = MakeWindow();
    ChainHook a("A"), b("B");
    a.SetWindow(h);
    b.SetWindow(h);
    b.m_detachWhileHandling = true;
    Log log = Probe(h);
    EXPECT_EQ(Log({"B", "B detached", "A", "window"}), log);
    EXPECT_EQ(Log({"A", "window"}), Probe(h));
    a.SetWindow(NULL);
    DestroyWindow(h);
}

TEST(WindowMap, UnhookingUnderALaterSubclasserNeverSwallowsMessages)
{
    HWND h = MakeWindow();
    {
        ChainHook a("A");
        a.SetWindow(h);
        g_foreignOld = (WNDPROC)SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)ForeignProc);
        EXPECT_EQ(Log({"foreign", "A", "window"}), Probe(h));
    } // the hook's destruction unlinks it
    EXPECT_EQ((WNDPROC)ForeignProc, ProcOf(h)) << "not cut out";
    LRESULT r = 0;
    EXPECT_EQ(Log({"foreign", "window"}), Probe(h, &r));
    EXPECT_EQ(101, r) << "the window still answers";

    ChainHook again("again");
    again.SetWindow(h);
    EXPECT_EQ(Log({"foreign", "again", "window"}), Probe(h));
    again.SetWindow(NULL);
    SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)g_foreignOld);
    EXPECT_EQ(Log({"window"}), Probe(h));
    EXPECT_EQ((WNDPROC)OwnProc, ProcOf(h));
    DestroyWindow(h);
}

TEST(WindowMap, HookWindowTakesAWindowObject)
{
    CWnd wnd;
    HWND h = MakeWindow();
    wnd.Attach(h);
    ChainHook a("A");
    EXPECT_TRUE(a.HookWindow(&wnd));
    EXPECT_EQ(h, a.m_hWnd);
    EXPECT_TRUE(a.HookWindow(NULL));
    EXPECT_EQ(nullptr, a.m_hWnd);
    wnd.Detach();
    DestroyWindow(h);
    EXPECT_TRUE(RUNTIME_CLASS(CQXWndHook) != NULL);
    EXPECT_STREQ("CQXWindowMap", CQXWindowMap::Instance()->GetRuntimeClass()->m_lpszClassName);
}

// The hook manager and chain hooks share one chain per window: in the order
// they were set, removed in any order, the window's procedure comes back
// only when the last one goes.
TEST(WindowMap, ManagerHooksAndChainHooksShareOneChain)
{
    CWindowHookManager* mgr = CWindowHookManager::Instance();
    HWND h = MakeWindow();
    ChainHook a("A"), c("C");
    NamedHook b("B", 0);
    a.SetWindow(h);
    mgr->SetHook(h, &b);
    c.SetWindow(h);
    EXPECT_EQ((WNDPROC)HookedWindowProc, ProcOf(h));
    EXPECT_EQ(Log({"C", "B", "A", "window"}), Probe(h));
    EXPECT_EQ(&c, CQXWindowMap::Instance()->LookupHook(h));
    a.SetWindow(NULL);
    EXPECT_EQ(Log({"C", "B", "window"}), Probe(h));
    c.SetWindow(NULL);
    EXPECT_EQ(nullptr, CQXWindowMap::Instance()->LookupHook(h)) << "no chain hook left, the manager's link is";
    EXPECT_EQ(Log({"B", "window"}), Probe(h));
    EXPECT_EQ((WNDPROC)HookedWindowProc, ProcOf(h));
    mgr->RemoveHook(h, &b);
    EXPECT_EQ((WNDPROC)OwnProc, ProcOf(h));
    EXPECT_EQ(Log({"window"}), Probe(h));

    // A window destroyed with both kinds on it lets every one go first.
    a.SetWindow(h);
    mgr->SetHook(h, &b);
    g_ownProcAtNcDestroy = NULL;
    DestroyWindow(h);
    EXPECT_EQ((WNDPROC)OwnProc, g_ownProcAtNcDestroy);
    EXPECT_FALSE(a.IsWindowHooked());
    EXPECT_FALSE(mgr->IsHooked(h));
}

// A manager hook that removes the window's last hook while it handles a
// message: the message still reaches the window.
TEST(WindowHookManager, AHookThatRemovesTheLastHookStillPassesTheMessageOn)
{
    CWindowHookManager* mgr = CWindowHookManager::Instance();
    HWND h = MakeWindow();
    struct Leaving : CWindowHook {
        int OnHookMessage(HWND hWnd, UINT msg, WPARAM&, LPARAM&, LRESULT&) override
        {
            if (msg == WM_PROBE) {
                g_log.push_back("leaving");
                CWindowHookManager::Instance()->RemoveHooks(hWnd);
            }
            return kNotHandled;
        }
    } leaving;
    ChainHook below("below");
    below.SetWindow(h);
    mgr->SetHook(h, &leaving);
    LRESULT r = 0;
    EXPECT_EQ(Log({"leaving", "below", "window"}), Probe(h, &r));
    EXPECT_EQ(101, r);
    EXPECT_FALSE(mgr->IsHooked(h));
    below.SetWindow(NULL);
    EXPECT_EQ((WNDPROC)OwnProc, ProcOf(h));
    DestroyWindow(h);
}

// A chain hook sits on one window at a time: setting it again, or on another
// window, moves it instead of linking it twice (which would loop).
TEST(WindowMap, SettingAHookAgainMovesIt)
{
    HWND h1 = MakeWindow(), h2 = MakeWindow();
    ChainHook a("A");
    a.SetWindow(h1);
    a.SetWindow(h1);
    EXPECT_EQ(Log({"A", "window"}), Probe(h1)) << "linked once";
    a.SetWindow(h2);
    EXPECT_EQ((WNDPROC)OwnProc, ProcOf(h1)) << "the first window has its procedure back";
    EXPECT_EQ(Log({"window"}), Probe(h1));
    EXPECT_EQ(Log({"A", "window"}), Probe(h2));
    EXPECT_EQ(h2, a.m_hWnd);
    a.SetWindow(NULL);
    EXPECT_EQ((WNDPROC)OwnProc, ProcOf(h2));
    DestroyWindow(h1);
    DestroyWindow(h2);
}
