// Benchmark driver for pairview.dll.
//   pairview_bench generate <folder> [lines]
//       writes first.txt and second.txt: the second is the first with a few
//       hundred scattered edits and some moved blocks.
//   pairview_bench compare <first> <second> <result> [repeats]
//       loads pairview.dll, creates a "CompareWin" window and times the
//       compare message (compare, write the result, load it into the view).
#include "comparewin.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Rng {
    unsigned long long state;
    unsigned next()
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<unsigned>(state >> 33);
    }
    unsigned below(unsigned n) { return next() % n; }
};

std::string MakeLine(Rng& rng, unsigned i)
{
    static const char* const words[] = {"alpha", "beta", "gamma", "delta", "count", "index", "value", "buffer",
                                        "length", "result", "offset", "record", "window", "cursor", "stream"};
    switch (i % 12) {
    case 0: return "\n";
    case 1: return "{\n";
    case 11: return "}\n";
    default: break;
    }
    char buf[160];
    std::snprintf(buf, sizeof buf, "    %s_%u = %s(%s, %u); // %s\n", words[rng.below(15)], i, words[rng.below(15)],
                  words[rng.below(15)], rng.below(100000), words[rng.below(15)]);
    return buf;
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    for (const std::string& l : lines)
        std::fwrite(l.data(), 1, l.size(), f);
    return std::fclose(f) == 0;
}

int Generate(const std::string& folder, unsigned count)
{
    Rng rng{20240601};
    std::vector<std::string> first;
    first.reserve(count);
    for (unsigned i = 0; i < count; ++i)
        first.push_back(MakeLine(rng, i));
    std::vector<std::string> second = first;
    unsigned edits = 0, moves = 0;
    for (int e = 0; e < 400; ++e, ++edits) {
        std::size_t at = rng.below(static_cast<unsigned>(second.size()));
        switch (rng.below(3)) {
        case 0: second[at] = "    // changed " + std::to_string(e) + "\n"; break;
        case 1:
            for (unsigned k = 0, n = 1 + rng.below(3); k < n; ++k)
                second.insert(second.begin() + at, "    inserted(" + std::to_string(e) + ", " + std::to_string(k) + ");\n");
            break;
        default: second.erase(second.begin() + at, second.begin() + std::min(second.size(), at + 1 + rng.below(3))); break;
        }
    }
    for (int m = 0; m < 30; ++m, ++moves) {
        std::size_t len = 20 + rng.below(180);
        std::size_t from = rng.below(static_cast<unsigned>(second.size() - len));
        std::vector<std::string> block(second.begin() + from, second.begin() + from + len);
        second.erase(second.begin() + from, second.begin() + from + len);
        std::size_t to = rng.below(static_cast<unsigned>(second.size()));
        second.insert(second.begin() + to, block.begin(), block.end());
    }
    if (!WriteLines(folder + "\\first.txt", first) || !WriteLines(folder + "\\second.txt", second)) {
        std::fprintf(stderr, "pairview_bench: cannot write into %s\n", folder.c_str());
        return 1;
    }
    std::printf("generated %zu and %zu lines, %u edits, %u moved blocks\n", first.size(), second.size(), edits, moves);
    return 0;
}

int Compare(const char* first, const char* second, const char* result, int repeats)
{
    if (!LoadLibraryA("pairview.dll")) {
        std::fprintf(stderr, "pairview_bench: pairview.dll did not load (%lu)\n", GetLastError());
        return 1;
    }
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    double best = 1e300;
    for (int r = 0; r < repeats; ++r) {
        // A fresh window per run: one window shows one result.
        HWND w = CreateWindowA(COMPAREWIN_CLASSNAME, "CompareWin", WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL, 0,
                               0, 800, 600, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!w) {
            std::fprintf(stderr, "pairview_bench: no CompareWin window (%lu)\n", GetLastError());
            return 1;
        }
        CompareRequest request = {first, second, result};
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        LRESULT ok = SendMessageA(w, WM_COMPAREWIN_COMPARE, reinterpret_cast<WPARAM>(&request), 0);
        QueryPerformanceCounter(&t1);
        DestroyWindow(w);
        if (ok != 1) {
            std::fprintf(stderr, "pairview_bench: the compare failed\n");
            return 1;
        }
        double ms = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart);
        std::printf("run %d: %.1f ms\n", r + 1, ms);
        best = std::min(best, ms);
    }
    std::printf("best_ms=%.1f\n", best);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::string(argv[1]) == "generate")
        return Generate(argv[2], argc >= 4 ? static_cast<unsigned>(std::atoi(argv[3])) : 200000u);
    if (argc >= 5 && std::string(argv[1]) == "compare")
        return Compare(argv[2], argv[3], argv[4], argc >= 6 ? std::max(1, std::atoi(argv[5])) : 3);
    std::fprintf(stderr, "usage: pairview_bench generate <folder> [lines]\n"
                         "       pairview_bench compare <first> <second> <result> [repeats]\n");
    return 2;
}
