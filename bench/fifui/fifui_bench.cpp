// Benchmark of the find-in-files user interface and the File Explorer.
//
//   fifui_bench find <folder> [runs]
//       Find in the real dialog (140) to the last row of the results list,
//       on every file of the folder for "needle", against filescan.dll alone
//       with a counting sink on the same tree, in turns; prints the best
//       times, their ratio and the memory the list's rows take.
//   fifui_bench tree <folder> [runs]
//       expanding the folder's item in the File Explorer tree against a bare
//       FindFirstFileW listing of the folder, in turns; best times and ratio.
//   fifui_bench make <folder> <what>
//       writes the tree: "find" (1000 files of 100 matching lines), "tree"
//       (20,000 small files).
#include "benchclock.h"
#include "filesystree.h"
#include "findinfiles.h"
#include "recordingframe.h"
#include "treepath.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "resource.h"

namespace {

CWinApp g_app("QuillmateBench");

double Now()
{
    return qmbench::Seconds();
}

// The memory the process has committed (what the list's rows add to it).
SIZE_T CommittedBytes()
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
    return pmc.PagefileUsage;
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::wstring Wide(const std::string& s)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, NULL, 0);
    std::wstring w((size_t)n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, &w[0], n);
    w.resize((size_t)n - 1);
    return w;
}

bool WriteText(const std::string& path, const std::string& text)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    WriteFile(h, text.data(), (DWORD)text.size(), &n, NULL);
    CloseHandle(h);
    return n == text.size();
}

int Make(const std::string& folder, const std::string& what)
{
    CreateDirectoryA(folder.c_str(), NULL);
    if (what == "find") {
        std::string lines;
        for (int i = 0; i < 100; ++i)
            lines += "line " + std::to_string(i) + " holds a needle among other words of the text\r\n";
        for (int d = 0; d < 10; ++d) {
            std::string sub = folder + "\\d" + std::to_string(d);
            CreateDirectoryA(sub.c_str(), NULL);
            for (int f = 0; f < 100; ++f)
                if (!WriteText(sub + "\\file" + std::to_string(f) + ".txt", lines))
                    return 1;
        }
        return 0;
    }
    for (int f = 0; f < 20000; ++f)
        if (!WriteText(folder + "\\f" + std::to_string(f) + ".txt", "x"))
            return 1;
    return 0;
}

// Runs a modal dialog's loop while a step polls every few milliseconds.
class Poller {
public:
    explicit Poller(std::function<bool()> step) : m_step(std::move(step))
    {
        s_pActive = this;
        m_timer = SetTimer(NULL, 0, 2, &Poller::Tick);
    }
    ~Poller()
    {
        KillTimer(NULL, m_timer);
        s_pActive = NULL;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_pActive != NULL && !s_pActive->m_bDone && !s_pActive->m_bBusy) {
            s_pActive->m_bBusy = true;
            s_pActive->m_bDone = s_pActive->m_step();
            s_pActive->m_bBusy = false;
        }
    }
    static Poller* s_pActive;
    std::function<bool()> m_step;
    UINT_PTR m_timer = 0;
    bool m_bDone = false;
    bool m_bBusy = false;
};
Poller* Poller::s_pActive = NULL;

class CountingSink : public CCallBackClass {
public:
    CountingSink() : done(CreateEventW(NULL, TRUE, FALSE, NULL)) {}
    ~CountingSink() { CloseHandle(done); }
    void OnMessage(const wchar_t*) override { ++lines; }
    void OnMatch(const wchar_t*, int, int, int, const wchar_t*) override { ++matches; }
    void OnFinished() override { SetEvent(done); }
    HANDLE done;
    long long lines = 0, matches = 0;
};

// One search through the dialog: Find to the last row of the list.
double DialogFind(panetest::CRecordingFrame& frame, const std::string& folder, int& rows, SIZE_T& listBytes)
{
    double start = 0, end = 0;
    SIZE_T before = 0;
    int state = 0;
    CFindInFilesDlg dlg(&frame);
    Poller poller([&] {
        HWND hDlg = dlg.GetSafeHwnd();
        if (hDlg == NULL || !IsWindowVisible(hDlg))
            return false;
        if (state == 0) {
            frame.m_results.Clear();
            before = CommittedBytes();
            SetDlgItemTextA(hDlg, IDC_FIF_TEXT, "needle");
            SetDlgItemTextA(hDlg, IDC_FIF_TYPES, "*.txt");
            SetDlgItemTextA(hDlg, IDC_FIF_FOLDER, folder.c_str());
            CheckDlgButton(hDlg, IDC_FIF_SUBFOLDERS, BST_CHECKED);
            SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_FIF_SUBFOLDERS, BN_CLICKED), 0);
            start = Now();
            SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_FIF_FIND, BN_CLICKED), 0);
            state = 1;
            return false;
        }
        if (!dlg.IsSearching()) {
            end = Now();
            rows = frame.m_results.GetCount();
            listBytes = CommittedBytes() - before;
            PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return true;
        }
        return false;
    });
    dlg.DoModal();
    return end - start;
}

double EngineFind(const std::string& folder, long long& matches)
{
    CountingSink sink;
    CFindInFiles engine;
    double start = Now();
    if (!engine.Find(L"needle", L"*.txt", Wide(folder).c_str(), 1, 0, 0, 0, &sink))
        return -1;
    WaitForSingleObject(sink.done, INFINITE);
    double end = Now();
    engine.Cleanup();
    matches = sink.matches;
    return end - start;
}

int Find(const std::string& folder, int runs)
{
    panetest::CRecordingFrame frame;
    if (!frame.CreateFrame())
        return 1;
    g_app.m_pMainWnd = &frame;
    double bestUi = 1e9, bestEngine = 1e9;
    int rows = 0;
    long long matches = 0;
    SIZE_T listBytes = 0;
    for (int i = 0; i < runs; ++i) {
        double t = DialogFind(frame, folder, rows, listBytes);
        if (t < bestUi)
            bestUi = t;
        t = EngineFind(folder, matches);
        if (t >= 0 && t < bestEngine)
            bestEngine = t;
    }
    printf("ui=%.3f engine=%.3f ratio=%.2f rows=%d matches=%lld list_bytes=%llu bytes_per_row=%.0f\n", bestUi,
           bestEngine, bestEngine > 0 ? bestUi / bestEngine : 0.0, rows, matches, (unsigned long long)listBytes,
           rows > 0 ? (double)listBytes / rows : 0.0);
    g_app.m_pMainWnd = NULL;
    frame.DestroyWindow();
    return 0;
}

int Tree(const std::string& folder, int runs)
{
    CoInitialize(NULL);
    panetest::CRecordingFrame frame;
    if (!frame.CreateFrame())
        return 1;
    double bestTree = 1e9, bestList = 1e9;
    int items = 0, listed = 0;
    for (int i = 0; i < runs; ++i) {
        CFileSysTreeCtrl tree;
        if (!tree.Create(&frame, 1))
            return 1;
        tree.ShowWindow(SW_SHOW);
        tree.Fill();
        HTREEITEM hItem = panetest::FindTreePath(tree, folder);
        if (hItem == NULL) {
            fprintf(stderr, "the tree does not reach %s\n", folder.c_str());
            return 1;
        }
        double start = Now();
        tree.Expand(hItem, TVE_EXPAND);
        Pump();
        double t = Now() - start;
        if (t < bestTree)
            bestTree = t;
        items = 0;
        for (HTREEITEM h = tree.GetChildItem(hItem); h != NULL; h = tree.GetNextSiblingItem(h))
            ++items;
        tree.DestroyWindow();

        start = Now();
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((Wide(folder) + L"\\*").c_str(), &fd);
        listed = 0;
        if (h != INVALID_HANDLE_VALUE) {
            do
                ++listed;
            while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        t = Now() - start;
        if (t < bestList)
            bestList = t;
    }
    printf("tree=%.3f list=%.3f ratio=%.1f items=%d listed=%d\n", bestTree, bestList,
           bestList > 0 ? bestTree / bestList : 0.0, items, listed);
    frame.DestroyWindow();
    CoUninitialize();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: fifui_bench find|tree <folder> [runs] | make <folder> find|tree\n");
        return 2;
    }
    std::string mode = argv[1], folder = argv[2];
    if (mode == "make")
        return argc > 3 ? Make(folder, argv[3]) : 2;
    int runs = argc > 3 ? atoi(argv[3]) : 3;
    // A key of its own for the dialog's settings, gone afterwards.
    std::string maker = "QuillmateBench" + std::to_string(GetCurrentProcessId());
    g_app.SetRegistryKey(maker.c_str());
    int result = mode == "find" ? Find(folder, runs) : mode == "tree" ? Tree(folder, runs)
                                                                      : 2;
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + maker).c_str());
    return result;
}
