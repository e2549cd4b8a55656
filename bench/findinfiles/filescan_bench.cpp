// Benchmark program of the find-in-files engine.
//
//   filescan_bench search <folder> <masks> <pattern> <regex 0|1> <case 0|1> [runs]
//       a whole search through filescan.dll, timed from Find to OnFinished
//   filescan_bench floor <folder> [runs]
//       the floor: walk the same tree and read every file, nothing else
//   filescan_bench compare <folder> <masks> <pattern> <regex 0|1> <case 0|1> [runs]
//       the search and the floor in turns, runs times each (so both see the
//       same page cache and machine load); prints the best of each
//   filescan_bench blowup <temp folder>
//       regular expressions "a*a*...a*c" of growing length on a line of 'a'
//
// Each timed mode prints "time=<best seconds>" plus its counts; run.sh
// compares them.
#include "benchclock.h"
#include "FindInFiles.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Now()
{
    return qmbench::Seconds();
}

class CountingSink : public CCallBackClass {
public:
    CountingSink() : done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~CountingSink() { CloseHandle(done); }
    void OnMessage(const wchar_t* text) override { last = text ? text : L""; }
    void OnMatch(const wchar_t*, int, int, int, const wchar_t*) override { ++matches; }
    void OnFinished() override
    {
        finished = Now();
        SetEvent(done);
    }
    HANDLE done;
    long long matches = 0;
    double finished = 0;
    std::wstring last;
};

std::wstring Wide(const char* s)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s, -1, &w[0], n);
    w.resize(static_cast<size_t>(n) - 1);
    return w;
}

// One search; returns seconds, fills matches and the summary line.
double TimeSearch(const std::wstring& folder, const std::wstring& masks, const std::wstring& pattern, int regex,
                  int caseSensitive, long long& matches, std::wstring& summary)
{
    CountingSink sink;
    CFindInFiles engine;
    const double start = Now();
    if (!engine.Find(pattern.c_str(), masks.c_str(), folder.c_str(), 1, caseSensitive, 0, regex, &sink)) {
        fprintf(stderr, "search refused\n");
        exit(2);
    }
    WaitForSingleObject(sink.done, INFINITE);
    engine.Cleanup();
    matches = sink.matches;
    summary = sink.last;
    return sink.finished - start;
}

struct FloorCounts {
    long long files = 0;
    long long bytes = 0;
};

// Reads every file below folder the way the engine does: full paths,
// sequential reads of 1 MB.
void WalkAndRead(const std::wstring& folder, std::vector<char>& buf, FloorCounts& counts)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring path = folder + L"\\" + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (data.cFileName[0] != L'.')
                WalkAndRead(path, buf, counts);
            continue;
        }
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        DWORD got = 0;
        while (ReadFile(file, buf.data(), static_cast<DWORD>(buf.size()), &got, nullptr) && got)
            counts.bytes += got;
        CloseHandle(file);
        ++counts.files;
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

std::wstring LongFolder(const std::wstring& folder)
{
    wchar_t full[4096];
    GetFullPathNameW(folder.c_str(), 4096, full, nullptr);
    std::wstring r = std::wstring(L"\\\\?\\") + full;
    if (r.back() == L'\\')
        r.pop_back();
    return r;
}

double TimeFloor(const std::wstring& longFolder, FloorCounts& counts)
{
    static std::vector<char> buf(1 << 20);
    counts = FloorCounts();
    const double start = Now();
    WalkAndRead(longFolder, buf, counts);
    return Now() - start;
}

int Usage()
{
    fprintf(stderr,
            "usage: filescan_bench search <folder> <masks> <pattern> <regex> <case> [runs]\n"
            "       filescan_bench floor <folder> [runs]\n"
            "       filescan_bench blowup <temp folder>\n");
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Usage();
    const std::string mode = argv[1];
    if (mode == "search" && argc >= 7) {
        const std::wstring folder = Wide(argv[2]), masks = Wide(argv[3]), pattern = Wide(argv[4]);
        const int regex = atoi(argv[5]), caseSensitive = atoi(argv[6]);
        const int runs = argc >= 8 ? atoi(argv[7]) : 3;
        double best = 1e30;
        long long matches = 0;
        std::wstring summary;
        for (int i = 0; i < runs; ++i) {
            const double t = TimeSearch(folder, masks, pattern, regex, caseSensitive, matches, summary);
            if (t < best)
                best = t;
        }
        printf("time=%.3f matches=%lld summary=%ls\n", best, matches, summary.c_str());
        return 0;
    }
    if (mode == "floor") {
        const std::wstring folder = LongFolder(Wide(argv[2]));
        const int runs = argc >= 4 ? atoi(argv[3]) : 3;
        double best = 1e30;
        FloorCounts counts;
        for (int i = 0; i < runs; ++i) {
            const double t = TimeFloor(folder, counts);
            if (t < best)
                best = t;
        }
        printf("time=%.3f files=%lld bytes=%lld\n", best, counts.files, counts.bytes);
        return 0;
    }
    if (mode == "compare" && argc >= 7) {
        const std::wstring folder = Wide(argv[2]), masks = Wide(argv[3]), pattern = Wide(argv[4]);
        const std::wstring longFolder = LongFolder(folder);
        const int regex = atoi(argv[5]), caseSensitive = atoi(argv[6]);
        const int runs = argc >= 8 ? atoi(argv[7]) : 5;
        double bestSearch = 1e30, bestFloor = 1e30;
        long long matches = 0;
        std::wstring summary;
        FloorCounts counts;
        // Warm up until reading the tree stops getting faster.
        double previous = TimeFloor(longFolder, counts);
        for (int i = 0; i < 6; ++i) {
            const double t = TimeFloor(longFolder, counts);
            if (t > previous * 0.95)
                break;
            previous = t;
        }
        for (int i = 0; i < runs; ++i) {
            const double f = TimeFloor(longFolder, counts);
            const double s = TimeSearch(folder, masks, pattern, regex, caseSensitive, matches, summary);
            if (f < bestFloor)
                bestFloor = f;
            if (s < bestSearch)
                bestSearch = s;
        }
        printf("time=%.3f floor=%.3f matches=%lld files=%lld bytes=%lld\n", bestSearch, bestFloor, matches,
               counts.files, counts.bytes);
        return 0;
    }
    if (mode == "blowup") {
        // Each pattern has one more "a*" than the last; a backtracking engine
        // without memo would take about 2.5 times longer per step here.
        const std::wstring dir = Wide(argv[2]);
        CreateDirectoryW(dir.c_str(), nullptr);
        const std::wstring file = dir + L"\\line.txt";
        HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const std::string line = std::string(200, 'a') + "\n";
        DWORD written = 0;
        WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(h);
        for (int k = 4; k <= 64; k *= 2) {
            std::wstring pattern;
            for (int i = 0; i < k; ++i)
                pattern += L"a*";
            pattern += L"c";
            long long matches = 0;
            std::wstring summary;
            const double t = TimeSearch(dir, L"line.txt", pattern, 1, 1, matches, summary);
            printf("closures=%d time=%.4f\n", k, t);
        }
        DeleteFileW(file.c_str());
        RemoveDirectoryW(dir.c_str());
        return 0;
    }
    return Usage();
}
