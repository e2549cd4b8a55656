// A program with no WinMain of its own: the framework's entry point runs its
// application object. It makes a main window, closes it from its first idle
// time, and exits with the number given on its command line.
#include <fx/fx.h>
#include <fx/ui.h>

#include <cstdlib>

namespace {

class CEntryApp : public CWinApp {
public:
    CEntryApp() : CWinApp("EntryApp") {}
    CWnd m_wnd;
    bool m_bClosed = false;

    BOOL InitInstance() override
    {
        if (!m_wnd.CreateEx(0, AfxRegisterWndClass(0), "Entry", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL))
            return FALSE;
        m_pMainWnd = &m_wnd;
        m_wnd.ShowWindow(m_nCmdShow);
        return TRUE;
    }
    BOOL OnIdle(LONG lCount) override
    {
        BOOL bMore = CWinApp::OnIdle(lCount);
        if (!bMore && !m_bClosed) {
            m_bClosed = true;
            m_wnd.PostMessage(WM_CLOSE);
        }
        return bMore;
    }
    int ExitInstance() override
    {
        CWinApp::ExitInstance();
        return m_lpCmdLine != NULL ? atoi(m_lpCmdLine) : -1;
    }
};

CEntryApp theApp;

} // namespace
