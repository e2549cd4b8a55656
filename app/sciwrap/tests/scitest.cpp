// scitest.cpp - support for this library's tests.
#include "scitest.h"

#include <stdio.h>

namespace scitest {

namespace {

CWinApp g_app("Quillmate");
std::string g_maker;
HMODULE g_scilexer = NULL;

class Environment : public ::testing::Environment {
public:
    void SetUp() override
    {
        // Unbuffered, so a test that hangs shows how far it got.
        setvbuf(stdout, NULL, _IONBF, 0);
        char buf[128];
        wsprintfA(buf, "QuillmateSciTest-%lu-%lu", GetCurrentProcessId(), GetTickCount());
        g_maker = buf;
        g_app.SetRegistryKey(g_maker.c_str());
        // The program loads the component at start-up; so do the tests.
        g_scilexer = LoadLibraryA("scilexer.dll");
        ASSERT_NE(g_scilexer, (HMODULE)NULL) << "scilexer.dll must be in the bin folder";
    }
    void TearDown() override
    {
        std::string key = "Software\\" + g_maker;
        RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    }
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new Environment);

} // namespace

const std::string& Maker()
{
    return g_maker;
}

std::string ReadAppString(const char* section, const char* entry)
{
    std::string key = "Software\\" + g_maker + "\\Quillmate\\" + section;
    char buf[1024] = "";
    DWORD cb = sizeof(buf);
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), entry, RRF_RT_REG_SZ, NULL, buf, &cb) != ERROR_SUCCESS)
        return std::string();
    return buf;
}

BEGIN_MESSAGE_MAP(CHostWnd, CWnd)
    ON_COMMAND(IDC_EDITOR, OnDeleteLine)
END_MESSAGE_MAP()

BOOL CHostWnd::CreateHost(int cx, int cy)
{
    LPCSTR cls = AfxRegisterWndClass(0, LoadCursorA(NULL, (LPCSTR)IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
    return CreateEx(0, cls, "sci test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, cx, cy, NULL, NULL);
}

void CHostWnd::OnDeleteLine()
{
    ++m_nDeleteLineCommands;
}

BOOL CHostWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam != 0 && LOWORD(wParam) == IDC_EDITOR)
        m_notifyCodes.push_back(HIWORD(wParam));
    return CWnd::OnCommand(wParam, lParam);
}

LRESULT CHostWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITMENUPOPUP)
        m_popupFirstIds.push_back(GetMenuItemID((HMENU)wParam, 0));
    return CWnd::WindowProc(message, wParam, lParam);
}

std::string TestsFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string s(path);
    size_t slash = s.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : s.substr(0, slash);
}

} // namespace scitest
