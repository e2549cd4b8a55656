// Text-command benchmark: the text view's whole-document commands on
// generated 20 MB texts, each through a real CDoodleView in a real MDI frame,
// against the floor of the same editing component in the same run: a bare
// SCI_SEARCHINTARGET loop over the same text with the same pattern and flags,
// finding every match and replacing none. The ratio is command / floor.
//
// Each command is one row of kCommands: its name, its text, the pattern and
// search flags of its floor, the call that runs it on the view, and how its
// result is counted (replacements, or the lines Mark All bookmarked), which
// must equal the matches the floor found.
//   trim-trailing-spaces, tabs-to-spaces: lines of code with tabs inside and
//     blanks at many line ends;
//   mark-all, replace-all: 100-byte line pairs, one line of each pair with
//     the word "needle" (200,000 matches in 20 MB).
//
// Usage: textcmds_bench [megabytes] [runs]   (defaults 20 and 3; medians)
// Output: one line per command, "<name> <command s> <floor s> <ratio> <result> <matches>".
#include <fx/fx.h>

#include "editorframestub.h"
#include "lexerconfig.h"
#include "textdoc.h"
#include "textframe.h"
#include "textview.h"

#include <resource.h>

#include <qmtest/qmatedriver.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

CWinApp g_benchApp("Quillmate");

namespace {


// Lines of code-like text with tabs inside and blanks or tabs at many ends.
std::string MakeCodeText(size_t nBytes)
{
    std::string text;
    text.reserve(nBytes + 200);
    const char* const kEnds[] = {"", "  ", "\t", " \t ", "", "    "};
    for (unsigned i = 0; text.size() < nBytes; ++i) {
        char line[160];
        snprintf(line, sizeof(line), "\tint value%u =\t%u;\t// item %u of the list%s\r\n", i, i * 7u, i,
                 kEnds[i % 6]);
        text += line;
    }
    return text;
}

// Pairs of 50-byte lines: one with the word "needle", one without.
std::string MakeNeedleText(size_t nBytes)
{
    const char* withWord = "find the needle in this haystack line, please.\r\n";
    const char* without = "the quick brown fox jumps over the lazy dog ok\r\n";
    std::string text;
    text.reserve(nBytes + 100);
    while (text.size() < nBytes) {
        text += withWord;
        text += without;
    }
    return text;
}

// Finds every match of the pattern over the whole text, replacing nothing.
int SearchLoop(CMFCScintilla& ed, const char* pattern, int flags)
{
    ed.SetSearchFlags(flags);
    const Sci_Position nLength = ed.GetLength();
    const Sci_Position nPattern = (Sci_Position)strlen(pattern);
    Sci_Position nPos = 0;
    int nCount = 0;
    while (nPos <= nLength) {
        Sci_Position nFound = ed.SearchRange(pattern, nPattern, nPos, nLength);
        if (nFound < 0)
            break;
        ++nCount;
        Sci_Position nEnd = ed.GetTargetEnd();
        nPos = nEnd > nFound ? nEnd : ed.PositionAfter(nFound);
        if (nPos <= nFound)
            break;
    }
    return nCount;
}

// The lines that carry a bookmark.
int CountBookmarks(CMFCScintilla& ed)
{
    int nCount = 0;
    for (Sci_Position nLine = ed.Call(SCI_MARKERNEXT, 0, CMFCScintilla::BOOKMARK_MASK); nLine >= 0;
         nLine = ed.Call(SCI_MARKERNEXT, (uptr_t)(nLine + 1), CMFCScintilla::BOOKMARK_MASK))
        ++nCount;
    return nCount;
}

enum TextKind {
    CODE_TEXT,
    NEEDLE_TEXT
};

struct Command {
    const char* name;
    TextKind text;
    const char* floorPattern;
    int floorFlags;
    std::function<int(CDoodleView&)> run;   // the command; its count, or -1 to count afterwards
    std::function<int(CDoodleView&)> count; // the count after the command (not timed), when run gives -1
};

const Command kCommands[] = {
    {"trim-trailing-spaces", CODE_TEXT, "[ \t]+$", SCFIND_REGEXP, [](CDoodleView& v) { return v.TrimTrailingSpaces(); },
     nullptr},
    {"tabs-to-spaces", CODE_TEXT, "\t", 0, [](CDoodleView& v) { return v.ConvertTabs(TRUE); }, nullptr},
    {"mark-all", NEEDLE_TEXT, "needle", 0,
     [](CDoodleView& v) {
         v.SetSearchFlags(FALSE, FALSE, FALSE);
         v.MarkAll("needle");
         return -1;
     },
     [](CDoodleView& v) { return CountBookmarks(v.GetEditor()); }},
    {"replace-all", NEEDLE_TEXT, "needle", 0,
     [](CDoodleView& v) {
         v.SetSearchFlags(FALSE, FALSE, FALSE);
         return v.ReplaceAll("needle", "pin", FALSE, FALSE);
     },
     nullptr},
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const size_t nMegabytes = argc > 1 ? (size_t)atoi(argv[1]) : 20;
    const int nRuns = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    if (LoadLibraryA("scilexer.dll") == NULL) {
        printf("textcmds: scilexer.dll is missing\n");
        return 1;
    }
    // The stub frame has no settings record: the view takes its own defaults
    // (tab width 4).
    CEditorFrameStub* pFrame = new CEditorFrameStub;
    if (!pFrame->LoadFrame(IDR_MAINFRAME)) {
        printf("textcmds: the frame cannot be created\n");
        return 1;
    }
    AfxGetApp()->m_pMainWnd = pFrame;
    pFrame->ShowWindow(SW_SHOW);
    CMultiDocTemplate* pTemplate = new CMultiDocTemplate(IDR_TEXTTYPE, RUNTIME_CLASS(CDoodleDoc),
                                                         RUNTIME_CLASS(CDoodleFrame), RUNTIME_CLASS(CDoodleView));
    pTemplate->LoadTemplate();
    CDoodleDoc* pDoc = dynamic_cast<CDoodleDoc*>(pTemplate->OpenDocumentFile(NULL));
    if (pDoc == NULL || pDoc->GetTextView() == NULL) {
        printf("textcmds: no text view\n");
        return 1;
    }
    CDoodleView& view = *pDoc->GetTextView();
    CMFCScintilla& ed = view.GetEditor();
    const std::string texts[] = {MakeCodeText(nMegabytes * 1000 * 1000), MakeNeedleText(nMegabytes * 1000 * 1000)};
    printf("textcmds: %.1f MB of text, median of %d runs; ratio = command / search loop\n", texts[0].size() / 1e6,
           nRuns);
    printf("%-22s %10s %10s %8s %12s %12s\n", "command", "command s", "floor s", "ratio", "result", "matches");
    int status = 0;
    for (const Command& c : kCommands) {
        std::vector<double> command, floor;
        int nReplaced = 0, nMatches = 0;
        for (int r = 0; r < nRuns; ++r) {
            ed.ReplaceAllText(texts[c.text].c_str());
            ed.EmptyUndoBuffer();
            ed.MarkerDeleteAll();
            ed.GotoPos(0);
            double t0 = qmtest::NowSeconds();
            nMatches = SearchLoop(ed, c.floorPattern, c.floorFlags);
            floor.push_back(qmtest::NowSeconds() - t0);
            ed.SetSearchFlags(0);
            t0 = qmtest::NowSeconds();
            nReplaced = c.run(view);
            command.push_back(qmtest::NowSeconds() - t0);
            if (nReplaced < 0 && c.count)
                nReplaced = c.count(view);
        }
        if (nReplaced != nMatches)
            status = 1;
        const double cmd = Median(command), flr = Median(floor);
        printf("%-22s %10.3f %10.3f %8.2f %12d %12d\n", c.name, cmd, flr, flr > 0 ? cmd / flr : 0.0, nReplaced,
               nMatches);
    }
    pDoc->SetModifiedFlag(FALSE);
    pTemplate->CloseAllDocuments(TRUE);
    pFrame->DestroyWindow();
    delete pTemplate;
    if (status)
        printf("textcmds: a command counted another number of matches than its floor found\n");
    return status;
}
