// funclist_bench - the function list's scan on generated sources, each time
// against peers in the same run and the same kind of hidden window:
//   - a C file of 40,000 functions with comments and strings (about 6.6 MB)
//     against the cpp lexer colouring the whole text and one
//     regular-expression sweep that finds nothing (the floor of one pass);
//   - call-shaped lines after the last brace at 10,000 and 20,000 lines, where
//     the plain body search seeks "{" to the end of the text for every line.
// Prints seconds (the best of three runs) and ratios; the exit code is 1 when a bar is missed:
// the C file within 5 times the lexing time, the table at 20,000 lines
// within 2.3 times the 10,000-line time and under 1 s.
#include <fx/fx.h>

#include <qmtest/qmatedriver.h>

#include "funcscan.h"
#include "gensource.h"
#include "scintillawrap.h"

#include <stdio.h>
#include <string>

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

} // namespace

int main()
{
    if (::LoadLibraryA("scilexer.dll") == NULL) {
        printf("funclist bench: scilexer.dll not found\n");
        return 1;
    }
    AfxWinInit(::GetModuleHandleA(NULL), NULL, ::GetCommandLineA(), SW_HIDE);
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
