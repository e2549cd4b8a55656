// Start-up of the editor. The application object, the main frame and the
// documents arrive with the framework layer; until then the program opens its
// main window so the build, the run target and the tests have a real binary.
#include <windows.h>

static LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = "FernbrightMainFrame";
    if (!RegisterClassA(&wc))
        return 1;
    HWND frame = CreateWindowA(wc.lpszClassName, "Quillmate", WS_OVERLAPPEDWINDOW,
                               CW_USEDEFAULT, CW_USEDEFAULT, 900, 650, nullptr, nullptr, inst, nullptr);
    if (!frame)
        return 1;
    ShowWindow(frame, show);
    UpdateWindow(frame);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return static_cast<int>(m.wParam);
}
