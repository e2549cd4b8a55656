// The test harness itself: programs run under Wine with a display, the bin
// folder on the DLL path, and a working message loop for real windows.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>

TEST(Harness, BinFolderExistsAndIsOnTheSearchPath)
{
    DWORD attrs = GetFileAttributesA(QM_BIN_DIR);
    ASSERT_NE(attrs, INVALID_FILE_ATTRIBUTES) << QM_BIN_DIR;
    EXPECT_TRUE(attrs & FILE_ATTRIBUTE_DIRECTORY);
    char path[32768];
    ASSERT_GT(GetEnvironmentVariableA("PATH", path, sizeof path), 0u);
    std::string p(path), bin(QM_BIN_DIR);
    for (auto& c : bin)
        if (c == '/') c = '\\';
    EXPECT_NE(p.find(bin), std::string::npos) << p;
}

TEST(Harness, RealWindowReceivesPostedMessage)
{
    static UINT seen = 0;
    WNDCLASSA wc = {};
    wc.lpszClassName = "QmHarnessWindow";
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_APP + 1) {
            seen = static_cast<UINT>(w);
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(h, m, w, l);
    };
    ASSERT_TRUE(RegisterClassA(&wc));
    HWND w = CreateWindowA(wc.lpszClassName, "harness", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           10, 10, 200, 120, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    RECT r;
    ASSERT_TRUE(GetClientRect(w, &r));
    EXPECT_GT(r.right, 0);
    PostMessageA(w, WM_APP + 1, 42, 0);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0)
        DispatchMessageA(&m);
    EXPECT_EQ(seen, 42u);
    DestroyWindow(w);
}
