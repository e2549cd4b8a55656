// funclist_pane_bench - keystroke to updated pane in the real Qmate.exe: the
// generated 6.6 MB C file is opened on a fresh key and per-user folder; once
// the Function List holds its 40,000 routines, a routine is typed at the end
// and the time from its closing "}" to the list showing it is measured (the
// refresh timer, the text copy, the scan and the list update). Printed only;
// median of five.
#include <qmtest/qmatedriver.h>

#include "gensource.h"
#include "qmate_handover.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

const int kFunctions = 40000;
const UINT kSciDocumentEnd = 2318;
const int kPaneFunctionList = 59599;

HWND FunctionList(HWND main)
{
    for (HWND h : qmtest::DescendantsOfClass(main, "ListBox"))
        if (GetDlgCtrlID(h) == kPaneFunctionList)
            return h;
    return nullptr;
}

LRESULT Ask(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(h, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result))
        return -2;
    return (LRESULT)result;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        printf("usage: funclist_pane_bench <Qmate.exe>\n");
        return 2;
    }
    qmtest::TempDir folder("funclist-bench");
    qmtest::ScopedLocalAppData local(folder.Path() + "\\Local");
    qmtest::ScopedRegistryTree settings(HKEY_CURRENT_USER, QM_REGKEY_APP);
    std::string file = folder.Path("bench.c");
    if (!qmtest::WriteWholeFile(file, GeneratedCSource(kFunctions))) {
        printf("funclist pane bench: cannot write %s\n", file.c_str());
        return 1;
    }
    qmtest::ProgramUnderTest prog;
    if (!prog.Start(argv[1], "\"" + file + "\"", folder.Path())) {
        printf("funclist pane bench: cannot start %s\n", argv[1]);
        return 1;
    }
    HWND main = prog.WaitForMainWindow(QM_MAINFRAME_CLASS, 60000);
    HWND list = nullptr;
    double t0 = qmtest::NowSeconds();
    bool filled = main && qmtest::WaitUntil(
                              [&] {
                                  list = FunctionList(main);
                                  return list && Ask(list, LB_GETCOUNT) == kFunctions;
                              },
                              180000, 20);
    std::vector<HWND> editors = main ? qmtest::DescendantsOfClass(main, "Scintilla", true) : std::vector<HWND>();
    if (!filled || editors.empty()) {
        printf("funclist pane bench: the list was not filled\n");
        prog.Kill();
        return 1;
    }
    printf("open to a filled list of %d routines: %.2f s\n", kFunctions, qmtest::NowSeconds() - t0);
    qmtest::RemoteScintilla ed(editors.front());
    if (!qmtest::FocusEditingWindow(main, ed)) {
        printf("funclist pane bench: no keyboard focus\n");
        prog.Kill();
        return 1;
    }
    std::vector<double> times;
    for (int round = 0; round < 5; round++) {
        ed.Send(kSciDocumentEnd);
        qmtest::TypeText(L"\nint typed_" + std::to_wstring(round) + L"(void) { ");
        qmtest::WaitUntil([] { return false; }, 1500);
        LRESULT before = Ask(list, LB_GETCOUNT);
        double start = qmtest::NowSeconds();
        qmtest::TypeText(L"}");
        bool shown = qmtest::WaitUntil([&] { return Ask(list, LB_GETCOUNT) == before + 1; }, 30000, 1);
        if (!shown) {
            printf("funclist pane bench: the typed routine did not appear\n");
            prog.Kill();
            return 1;
        }
        times.push_back(qmtest::NowSeconds() - start);
    }
    std::sort(times.begin(), times.end());
    printf("keystroke to updated pane (%.1f MB, %d routines): median %.3f s, best %.3f s, worst %.3f s\n",
           GeneratedCSource(kFunctions).size() / 1e6, kFunctions, times[times.size() / 2], times.front(),
           times.back());
    prog.Kill();
    return 0;
}
