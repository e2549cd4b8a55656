// Measures an editor program from the outside (run.sh runs it for Qmate.exe
// and for SciTE in the same session):
//   start-up: from CreateProcess until the main window is visible and the
//             program waits for input, and the peak memory of the process
//             at that moment;
//   open:     the program started with a file on its command line, until a
//             visible Scintilla window of the program holds the whole text
//             (SCI_GETLENGTH equals the expected length) and has drawn it
//             (no part of it waits to be painted);
// with the peak memory of the process once it has settled after each (its
// processor time has stood still for a second): the work that showing the
// window or the file sets off after that moment (colouring, panes, the
// function list's scan) is part of it.
// Each measurement is run several times; the median is printed.
//
// Usage: editor_bench [--local-appdata <folder>] [--open-only] [--wait-function-list] <label> <exe> <main window class> <file|-> <expected length>
//                     [runs] [timeout s]
// --local-appdata points the user's local application data folder at a
// prepared folder while the program runs (the editor's per-user files);
// --open-only leaves out the start-up measurement.
// --wait-function-list (Qmate): before the settled peaks are read, waits
// until the Function List pane (a visible list box with control id 59599)
// lists something: its scan of a large text runs in slices for many
// seconds, in which the process may look settled, and its memory is part
// of what opening costs.
// Output lines (one per measurement):
//   <label> startup <seconds> <peak working set MB> <peak pagefile MB>
//   <label> open <seconds> <peak working set MB> <peak pagefile MB> <the two peaks when shown>
//   <label> open unavailable <reason>
#include <qmtest/qmatedriver.h>

#include "qmate_handover.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kSettingsKey[] = QM_REGKEY_APP;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct OpenResult {
    bool ok = false;
    double seconds = 0;
    qmtest::MemoryPeak peak;  // once settled
    qmtest::MemoryPeak shown; // when the whole text was in the window
    std::string reason;
};

// Scintilla windows below every visible top-level window of the process.
std::vector<HWND> EditingWindows(DWORD pid)
{
    std::vector<HWND> all;
    for (HWND top : qmtest::TopLevelWindowsOf(pid)) {
        std::vector<HWND> found = qmtest::DescendantsOfClass(top, "Scintilla");
        all.insert(all.end(), found.begin(), found.end());
    }
    return all;
}

// Waits until the process has used next to no processor time for a whole
// second (at most timeoutMs); true when it settled.
bool WaitUntilSettled(HANDLE process, DWORD timeoutMs)
{
    auto cpu = [process]() -> ULONGLONG {
        FILETIME created, exited, kernel, user;
        if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
            return 0;
        auto value = [](const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
        return value(kernel) + value(user); // in 100 ns
    };
    ULONGLONG last = cpu();
    double quietSince = qmtest::NowSeconds();
    return qmtest::WaitUntil(
        [&] {
            ULONGLONG now = cpu();
            if (now - last > 100000) // more than 10 ms in the last poll
                quietSince = qmtest::NowSeconds();
            last = now;
            return qmtest::NowSeconds() - quietSince >= 1.0;
        },
        timeoutMs, 100);
}

void Finish(qmtest::ProgramUnderTest& prog)
{
    if (!prog.Close(20000))
        prog.Kill();
    prog.Kill();
}

bool StartUp(const std::string& exe, const std::string& cls, DWORD timeoutMs, double& seconds,
             qmtest::MemoryPeak& peak)
{
    qmtest::DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    qmtest::ProgramUnderTest prog;
    if (!prog.Start(exe))
        return false;
    HWND main = prog.WaitForMainWindow(cls, timeoutMs);
    bool idle = main && prog.WaitForInputIdle(timeoutMs);
    seconds = qmtest::NowSeconds() - prog.StartedAt();
    if (idle)
        WaitUntilSettled(prog.Process(), timeoutMs);
    peak = prog.PeakMemory();
    Finish(prog);
    return idle;
}

// The Function List pane's list box below a top-level window of the
// process, when it is shown.
HWND FunctionList(DWORD pid)
{
    const int kPaneFunctionList = 59599;
    for (HWND top : qmtest::TopLevelWindowsOf(pid))
        for (HWND h : qmtest::DescendantsOfClass(top, "ListBox"))
            if (GetDlgCtrlID(h) == kPaneFunctionList && IsWindowVisible(h))
                return h;
    return nullptr;
}

OpenResult Open(const std::string& exe, const std::string& cls, const std::string& file, LRESULT expected,
                DWORD timeoutMs, bool waitFunctionList)
{
    OpenResult r;
    qmtest::DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    qmtest::ProgramUnderTest prog;
    if (!prog.Start(exe, "\"" + file + "\"")) {
        r.reason = "cannot start the program";
        return r;
    }
    if (!prog.WaitForMainWindow(cls, timeoutMs)) {
        r.reason = prog.Running() ? "no main window" : "the program ended";
        Finish(prog);
        return r;
    }
    LRESULT best = -1;
    bool sawEditor = false;
    r.ok = qmtest::WaitUntil(
        [&] {
            for (HWND h : EditingWindows(prog.Pid())) {
                sawEditor = true;
                // Drawn: nothing waits to be painted in the window, seen
                // before its thread answers the length. The thread answers
                // between messages, so a paint that was under way then has
                // ended. (A program may answer as soon as the text is in and
                // colour and lay it out in the paint that follows: the text
                // is shown once that paint is done.)
                const bool bDrawn = IsWindowVisible(h) && !GetUpdateRect(h, nullptr, FALSE);
                LRESULT len = qmtest::RemoteScintilla(h).Length();
                best = std::max(best, len);
                if (len == expected && bDrawn)
                    return true;
            }
            return !prog.Running();
        },
        timeoutMs, 10);
    r.seconds = qmtest::NowSeconds() - prog.StartedAt();
    r.ok = r.ok && prog.Running();
    if (r.ok) {
        r.shown = prog.PeakMemory();
        if (waitFunctionList) {
            qmtest::WaitUntil(
                [&] {
                    HWND list = FunctionList(prog.Pid());
                    DWORD_PTR count = 0;
                    return !prog.Running() ||
                           (list && SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count) &&
                            (LRESULT)count > 0);
                },
                timeoutMs, 100);
        }
        WaitUntilSettled(prog.Process(), timeoutMs);
        r.peak = prog.PeakMemory();
    } else if (!prog.Running()) {
        r.reason = "the program ended while opening the file";
    } else if (!sawEditor) {
        r.reason = "no Scintilla window appeared";
    } else {
        char buf[160];
        snprintf(buf, sizeof(buf), "the editing window held %lld of %lld bytes, or had not drawn them, after %lu s",
                 static_cast<long long>(best), static_cast<long long>(expected), timeoutMs / 1000);
        r.reason = buf;
    }
    Finish(prog);
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    // Every run starts from no settings; none are left behind.
    qmtest::ScopedRegistryTree settings(HKEY_CURRENT_USER, kSettingsKey);
    std::unique_ptr<qmtest::ScopedLocalAppData> localAppData;
    if (argc > 2 && std::string(argv[1]) == "--local-appdata") {
        localAppData = std::make_unique<qmtest::ScopedLocalAppData>(argv[2]);
        argc -= 2;
        argv += 2;
    }
    bool openOnly = false, waitFunctionList = false;
    for (; argc > 1; --argc, ++argv) {
        if (std::string(argv[1]) == "--open-only")
            openOnly = true;
        else if (std::string(argv[1]) == "--wait-function-list")
            waitFunctionList = true;
        else
            break;
    }
    if (argc < 6) {
        fprintf(stderr, "usage: %s <label> <exe> <main window class> <file|-> <expected length> [runs] [timeout s]\n",
                argv[0]);
        return 2;
    }
    std::string label = argv[1], exe = argv[2], cls = argv[3], file = argv[4];
    LRESULT expected = static_cast<LRESULT>(_strtoi64(argv[5], nullptr, 10));
    int runs = argc > 6 ? std::max(1, atoi(argv[6])) : 3;
    DWORD timeoutMs = (argc > 7 ? std::max(1, atoi(argv[7])) : 120) * 1000u;

    std::vector<double> startup, startWs, startPf;
    for (int i = 0; i < runs && !openOnly; ++i) {
        double s = 0;
        qmtest::MemoryPeak peak;
        if (!StartUp(exe, cls, timeoutMs, s, peak)) {
            printf("%s startup unavailable no idle main window of class %s\n", label.c_str(), cls.c_str());
            fflush(stdout);
            startup.clear();
            break;
        }
        startup.push_back(s);
        startWs.push_back(peak.peakWorkingSet / 1048576.0);
        startPf.push_back(peak.peakPagefile / 1048576.0);
    }
    if (!startup.empty())
        printf("%s startup %.3f %.1f %.1f\n", label.c_str(), Median(startup), Median(startWs), Median(startPf));
    fflush(stdout);

    if (file == "-")
        return startup.empty() && !openOnly ? 1 : 0;
    std::vector<double> open, ws, pf, shownWs, shownPf;
    for (int i = 0; i < runs; ++i) {
        OpenResult r = Open(exe, cls, file, expected, timeoutMs, waitFunctionList);
        if (!r.ok) {
            printf("%s open unavailable %s\n", label.c_str(), r.reason.c_str());
            return startup.empty() && !openOnly ? 1 : 0;
        }
        open.push_back(r.seconds);
        ws.push_back(r.peak.peakWorkingSet / 1048576.0);
        pf.push_back(r.peak.peakPagefile / 1048576.0);
        shownWs.push_back(r.shown.peakWorkingSet / 1048576.0);
        shownPf.push_back(r.shown.peakPagefile / 1048576.0);
    }
    printf("%s open %.3f %.1f %.1f %.1f %.1f\n", label.c_str(), Median(open), Median(ws), Median(pf), Median(shownWs),
           Median(shownPf));
    return 0;
}
