// funclist_bench - the function list's scan on generated sources, each time
// against peers in the same run and the same kind of hidden window:
//   - a C file of 40,000 functions with comments and strings (about 6.6 MB)
//     against the cpp lexer colouring the whole text and one
//     regular-expression sweep that finds nothing (the floor of one pass);
//   - call-shaped lines after the last brace at 10,000 and 20,000 lines, where
//     the plain body search seeks "{" to the end of the text for every line.
// Prints seconds (the best of three runs) and ratios; the exit code is 1 when a bar is missed:
// the C file within 5 times the lexing time, the table at 20,000 lines
// within 2.3 times the 10,000-line time and under 1 s. Also printed: the
// most memory the pane's scan of the C file held at once and what it keeps
// for the list (bytes through new and delete, counted exactly).
// funclist_bench <file> <language id> scans that file the pane's way and
// prints the same figures for it.
#include <fx/fx.h>

#include <qmtest/qmatedriver.h>

#include "funcscan.h"
#include "gensource.h"
#include "scintillawrap.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <new>
#include <string>

// Every block through new and delete is counted: the bytes held now, and
// the most held since the mark was last set.
namespace {
size_t g_nHeld = 0, g_nMostHeld = 0;
}

void* operator new(size_t nBytes)
{
    size_t* p = static_cast<size_t*>(malloc(nBytes + 2 * sizeof(size_t)));
    if (p == nullptr)
        throw std::bad_alloc();
    p[0] = nBytes;
    g_nHeld += nBytes;
    g_nMostHeld = std::max(g_nMostHeld, g_nHeld);
    return p + 2;
}

void operator delete(void* pBlock) noexcept
{
    if (pBlock == nullptr)
        return;
    size_t* p = static_cast<size_t*>(pBlock) - 2;
    g_nHeld -= p[0];
    free(p);
}

void operator delete(void* pBlock, size_t) noexcept
{
    operator delete(pBlock);
}

namespace {

CWinApp g_app("Quillmate");

std::string CallTable(int nLines)
{
    std::string text = "int table(void)\n{\n    return 0;\n}\n";
    for (int i = 0; i < nLines; ++i)
        text += "entry" + std::to_string(i) + "(alpha, beta, " + std::to_string(i) + ")\n";
    return text;
}

struct Editor {
    CMFCScintilla ed;
    bool Load(const std::string& text)
    {
        if (ed.m_hWnd != NULL)
            ed.DestroyWindow();
        if (!ed.CreateEx(0, CMFCScintilla::kWindowClass, "FunctionListEditor", WS_POPUP, 0, 0, 0, 0, NULL, NULL))
            return false;
        ed.Call(SCI_SETUNDOCOLLECTION, 0);
        ed.AddText(text.data(), (Sci_Position)text.size());
        return true;
    }
};

// Seconds of a scan of the text, the best of three; the number of listed
// routines in nFound.
double TimeScan(const std::string& text, int nLanguageId, bool bPlain, size_t& nFound)
{
    double best = -1;
    for (int run = 0; run < 3; run++) {
        Editor e;
        if (!e.Load(text))
            return -1;
        CFunctionScan scan(e.ed);
        scan.SetPlainSearch(bPlain);
        scan.SetLanguage(nLanguageId);
        double t0 = qmtest::NowSeconds();
        scan.Run();
        double t = qmtest::NowSeconds() - t0;
        nFound = scan.GetTopLevelEntries().size();
        if (best < 0 || t < best)
            best = t;
    }
    return best;
}

// A scan for the list alone, as the pane runs it: the routines listed, the
// seconds, the most megabytes held at once and those kept for the list.
struct PaneScan {
    size_t nListed;
    double seconds, mostHeld, kept;
};

PaneScan ScanForTheList(CMFCScintilla& editor, int nLanguageId)
{
    CFunctionScan scan(editor);
    scan.SetListOnly(true);
    scan.SetLanguage(nLanguageId);
    const size_t nBase = g_nHeld;
    g_nMostHeld = g_nHeld;
    double t0 = qmtest::NowSeconds();
    scan.Run();
    PaneScan r;
    r.seconds = qmtest::NowSeconds() - t0;
    r.nListed = scan.GetTopLevelEntries().size();
    r.mostHeld = (g_nMostHeld - nBase) / 1048576.0;
    r.kept = (g_nHeld - nBase) / 1048576.0;
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    if (::LoadLibraryA("scilexer.dll") == NULL) {
        printf("funclist bench: scilexer.dll not found\n");
        return 1;
    }
    AfxWinInit(::GetModuleHandleA(NULL), NULL, ::GetCommandLineA(), SW_HIDE);
    if (argc > 2) {
        std::string text;
        if (FILE* f = fopen(argv[1], "rb")) {
            char buffer[65536];
            size_t n;
            while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
                text.append(buffer, n);
            fclose(f);
        }
        Editor e;
        if (text.empty() || !e.Load(text)) {
            printf("funclist bench: cannot read %s\n", argv[1]);
            return 1;
        }
        std::string().swap(text);
        PaneScan r = ScanForTheList(e.ed, atoi(argv[2]));
        printf("%s: %zu routines listed in %.3f s; the scan held at most %.2f MB and keeps %.2f MB for the list\n",
               argv[1], r.nListed, r.seconds, r.mostHeld, r.kept);
        return 0;
    }
    bool bOk = true;

    // --- the C file -------------------------------------------------------------
    const std::string c = GeneratedCSource(40000);
    // The best of three for the peers too.
    double tLex = -1, tSweep = -1;
    for (int run = 0; run < 3; run++) {
        Editor e;
        e.Load(c);
        e.ed.SetLexerLanguage("cpp");
        double t0 = qmtest::NowSeconds();
        e.ed.Call(SCI_COLOURISE, 0, -1);
        double t = qmtest::NowSeconds() - t0;
        tLex = tLex < 0 || t < tLex ? t : tLex;
        e.ed.SetSearchFlags(SCFIND_REGEXP | SCFIND_POSIX | SCFIND_MATCHCASE);
        t0 = qmtest::NowSeconds();
        Sci_Position nNone = e.ed.SearchRange("zq[0-9]+x\\(", 12, 0, e.ed.GetLength());
        t = qmtest::NowSeconds() - t0;
        tSweep = tSweep < 0 || t < tSweep ? t : tSweep;
        if (nNone >= 0)
            printf("funclist bench: the sweep found something\n");
    }
    size_t nFound = 0;
    double tScan = TimeScan(c, 2, false, nFound);
    printf("C file %.1f MB, %zu functions listed\n", c.size() / 1e6, nFound);
    printf("  cpp lexer, whole text:       %.3f s\n", tLex);
    printf("  one sweep finding nothing:   %.3f s\n", tSweep);
    printf("  scan:                        %.3f s, %.2f x lexing, %.1f x sweep\n", tScan, tScan / tLex,
           tSweep > 0 ? tScan / tSweep : 0.0);
    {
        Editor e;
        e.Load(c);
        PaneScan r = ScanForTheList(e.ed, 2);
        printf("  the pane's scan held at most %.2f MB and keeps %.2f MB for the list\n", r.mostHeld, r.kept);
    }
    if (nFound != 40000 || tScan > 5 * tLex) {
        printf("  FAIL: the scan should list 40000 within 5 x the lexing time\n");
        bOk = false;
    }

    // --- call-shaped lines after the last brace --------------------------------------------
    size_t n10 = 0, n20 = 0, nPlain = 0;
    double t10 = TimeScan(CallTable(10000), 2, false, n10);
    double t20 = TimeScan(CallTable(20000), 2, false, n20);
    double tPlain = TimeScan(CallTable(4000), 2, true, nPlain);
    printf("call table after the last brace\n");
    printf("  10,000 lines: %.3f s; 20,000 lines: %.3f s; ratio %.2f\n", t10, t20, t10 > 0 ? t20 / t10 : 0.0);
    printf("  plain scan of 4,000 lines: %.3f s\n", tPlain);
    if (n10 != 1 || n20 != 1 || t20 > 2.3 * t10 || t20 >= 1.0) {
        printf("  FAIL: 20,000 lines should take at most 2.3 x 10,000 lines and under 1 s\n");
        bOk = false;
    }
    return bOk ? 0 : 1;
}
