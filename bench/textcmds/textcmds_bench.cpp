// textcmds_bench - the text view's search commands on a large document:
// Mark All and Replace All through the editing window's own operations (the
// ones the view's commands call), each against the floor: a bare
// search-in-target loop of the same component over the same text in the
// same run. Prints seconds and the ratios (command / floor).
//
// The text: about 19 MB of lines, 200,000 of them holding the word "needle".
#include <fx/fx.h>

#include "scintillawrap.h"

#include <stdio.h>
#include <string>

namespace {

CWinApp g_app("Quillmate");

double Now()
{
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return (double)c.QuadPart / (double)f.QuadPart;
}

// 200,000 pairs of 100 bytes: a line with the word, a line without.
std::string MakeText()
{
    const char* withWord = "find the needle in this haystack line, please.\r\n";   // 50 bytes
    const char* without = "the quick brown fox jumps over the lazy dog ok\r\n";   // 50 bytes
    std::string text;
    text.reserve(20u * 1000 * 1000 + 16);
    for (int i = 0; i < 200000; ++i) {
        text += withWord;
        text += without;
    }
    return text;
}

// Counts the matches with SCI_SEARCHINTARGET from each match's end: the
// fewest steps any command needs to visit every match.
int FloorLoop(CMFCScintilla& ed, const char* find)
{
    const Sci_Position nLength = (Sci_Position)strlen(find);
    const Sci_Position nDoc = ed.GetLength();
    Sci_Position nPos = 0;
    int nCount = 0;
    for (;;) {
        Sci_Position nMatch = ed.SearchRange(find, nLength, nPos, nDoc);
        if (nMatch < 0)
            break;
        ++nCount;
        nPos = ed.GetTargetEnd();
    }
    return nCount;
}

} // namespace

int main()
{
    if (::LoadLibraryA("scilexer.dll") == NULL) {
        printf("textcmds bench: scilexer.dll not found\n");
        return 1;
    }
    AfxWinInit(::GetModuleHandleA(NULL), NULL, ::GetCommandLineA(), SW_HIDE);
    LPCSTR cls = AfxRegisterWndClass(0);
    CWnd host;
    host.CreateEx(0, cls, "bench", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, NULL, NULL);
    CMFCScintilla ed;
    if (!ed.Create(CMFCScintilla::kWindowClass, "Editor", WS_CHILD | WS_VISIBLE, CRect(0, 0, 780, 560), &host, 1)) {
        printf("textcmds bench: no editing window\n");
        return 1;
    }
    const std::string text = MakeText();
    ed.SetSearchFlags(0);
    auto load = [&]() {
        ed.ReplaceAllText(text.c_str());
        ed.Call(SCI_EMPTYUNDOBUFFER);
        ed.MarkerDeleteAll();
        ed.SetSel(0, 0);
    };

    load();
    double t0 = Now();
    int nFloor = FloorLoop(ed, "needle");
    double tFloor = Now() - t0;

    t0 = Now();
    int nMarked = ed.BookmarkMatches("needle");
    double tMark = Now() - t0;

    t0 = Now();
    int nReplaced = ed.ReplaceAllMatches("needle", "pin", FALSE, FALSE);
    double tReplace = Now() - t0;

    printf("text %.1f MB, %d matches\n", text.size() / 1e6, nFloor);
    printf("floor (search-in-target loop): %.3f s\n", tFloor);
    printf("Mark All:    %.3f s, %d lines, ratio %.2f\n", tMark, nMarked, tFloor > 0 ? tMark / tFloor : 0.0);
    printf("Replace All: %.3f s, %d replaced, ratio %.2f\n", tReplace, nReplaced,
           tFloor > 0 ? tReplace / tFloor : 0.0);
    return nMarked == nFloor && nReplaced == nFloor ? 0 : 2;
}
