// A stand-in for the editor program, built as "Qmate.exe" for the hand-over
// tests. It behaves as the editor does towards the Explorer command and writes
// down everything it sees in a record file, one line per event.
//
//   Qmate.exe --serve <record> <ready-event> [--hidden] [--decoy]
//       Opens a main frame of the editor's frame class (shown, unless
//       --hidden) and, with --decoy, a small topmost tool window above it, as
//       a tooltip or floating toolbar would be. On WM_OPENFILESTOOPEN the frame
//       records the message and the list, then deletes the list as the editor
//       does. Sets the named event once the windows exist; ends on WM_CLOSE.
//   Qmate.exe [anything else]
//       Started by the Explorer command: records its arguments and the list
//       waiting in the registry (which it leaves in place), then ends. The
//       record file is named by the environment variable QM_STANDIN_RECORD.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "../include/qmate_handover.h"

namespace {

std::string g_record;
HWND g_frame = nullptr;

void Record(const std::string& line)
{
    if (g_record.empty())
        return;
    FILE* f = std::fopen(g_record.c_str(), "ab");
    if (!f)
        return;
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
}

void RecordList()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        Record("no list");
        return;
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLen = sizeof(name), type = 0, size = 0;
        BYTE data[4096] = {};
        size = sizeof(data) - 1;
        if (RegEnumValueA(key, i, name, &nameLen, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        char head[512];
        std::snprintf(head, sizeof(head), "value %s type=%lu size=%lu data=", name, type, size);
        Record(head + std::string(reinterpret_cast<const char*>(data)));
    }
    RegCloseKey(key);
}

LRESULT CALLBACK FrameProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_OPENFILESTOOPEN: {
        char line[128];
        std::snprintf(line, sizeof(line), "0x501 frame wParam=%lu lParam=%ld zoomed=%d", static_cast<unsigned long>(wp),
                      static_cast<long>(lp), IsZoomed(wnd) ? 1 : 0);
        Record(line);
        RecordList();
        RegDeleteTreeA(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN);
        RegDeleteKeyA(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

LRESULT CALLBACK DecoyProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_OPENFILESTOOPEN) {
        Record("0x501 decoy");
        return 0;
    }
    if (msg == WM_CLOSE && g_frame) {
        PostMessageA(g_frame, WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

int Serve(HINSTANCE inst, const char* readyEvent, bool hidden, bool decoy)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = QM_MAINFRAME_CLASS;
    RegisterClassA(&wc);
    wc.lpfnWndProc = DecoyProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
    wc.lpszClassName = "QuillmateStandInToolWindow";
    RegisterClassA(&wc);

    g_frame = CreateWindowA(QM_MAINFRAME_CLASS, "Quillmate stand-in", WS_OVERLAPPEDWINDOW, 40, 40, 500, 300, nullptr,
                            nullptr, inst, nullptr);
    if (!g_frame)
        return 1;
    if (!hidden)
        ShowWindow(g_frame, SW_SHOWNORMAL);
    if (decoy) {
        // Created last and topmost: the first window of the process in Z order.
        HWND tool = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "QuillmateStandInToolWindow", "",
                                    WS_POPUP | WS_BORDER, 60, 60, 120, 24, nullptr, nullptr, inst, nullptr);
        ShowWindow(tool, SW_SHOWNOACTIVATE);
    }
    Record("ready");
    if (HANDLE ev = OpenEventA(EVENT_MODIFY_STATE, FALSE, readyEvent)) {
        SetEvent(ev);
        CloseHandle(ev);
    }
    // Never outlive a test that forgot us.
    SetTimer(nullptr, 0, 120000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && !msg.hwnd)
            break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Record("closed");
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR cmdLine, int)
{
    if (__argc >= 4 && std::strcmp(__argv[1], "--serve") == 0) {
        g_record = __argv[2];
        bool hidden = false, decoy = false;
        for (int i = 4; i < __argc; ++i) {
            hidden |= std::strcmp(__argv[i], "--hidden") == 0;
            decoy |= std::strcmp(__argv[i], "--decoy") == 0;
        }
        return Serve(inst, __argv[3], hidden, decoy);
    }
    char record[MAX_PATH * 2] = {};
    if (!GetEnvironmentVariableA("QM_STANDIN_RECORD", record, sizeof(record)))
        return 2;
    g_record = record;
    char self[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string args = cmdLine ? cmdLine : "";
    while (!args.empty() && args.back() == ' ')
        args.pop_back();
    Record(std::string("start program=") + self);
    Record("start args=[" + args + "]");
    RecordList();
    return 0;
}
