// CMFCScintilla against real Scintilla windows: the default look, languages,
// search and replace, comments, braces, indentation, bookmarks, the
// clipboard, the find seed and the routing of the component's notifications.
#include "scitest.h"

#include <SciLexer.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "apphelpers.h"
#include <qmtest/walllimit.h>
#include "lexerconfig.h"

using scitest::CHostWnd;
using scitest::IDC_EDITOR;

namespace {

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.CreateHost());
        CRect rc(0, 0, 600, 340);
        ASSERT_TRUE(editor.Create(CMFCScintilla::kWindowClass, "Editor", WS_CHILD | WS_VISIBLE, rc, &host, IDC_EDITOR));
        editor.SetDefaultLook();
        editor.SetEOLMode(SC_EOL_LF);
        editor.SetTabWidth(4);
        editor.SetUseTabs(FALSE);
    }
    void TearDown() override
    {
        editor.DestroyWindow();
        host.DestroyWindow();
    }

    void SetText(const std::string& text) { editor.Call(SCI_SETTEXT, 0, (sptr_t)text.c_str()); }
    std::string Text()
    {
        Sci_Position n = editor.GetLength();
        std::vector<char> buf((size_t)n + 1, '\0');
        editor.GetText(n + 1, buf.data());
        return std::string(buf.data(), (size_t)n);
    }
    std::string Selected() { return editor.GetSelText().GetString(); }

    CHostWnd host;
    CMFCScintilla editor;
};

// --- creation and the default look ---------------------------------------------

TEST_F(EditorTest, CreationFetchesTheDirectFunctionAndHooksTheRuler)
{
    ASSERT_NE(editor.GetDirectFunction(), (SciFnDirect)NULL);
    // The pointer is kept whole on 64-bit (no truncation through a 32-bit type).
    EXPECT_EQ(editor.GetDirectPointer(), (sptr_t)::SendMessageA(editor.m_hWnd, SCI_GETDIRECTPOINTER, 0, 0));
    EXPECT_EQ(COXHookWnd::FindFirstHook(editor.m_hWnd), &editor.GetRuler());
    EXPECT_TRUE(editor.GetRuler().IsHorizontalShown());
    EXPECT_EQ(editor.Call(SCI_GETINDICATORCURRENT), 1);
}

TEST_F(EditorTest, CreationFailsWithoutTheComponentClass)
{
    CMFCScintilla missing;
    CRect rc(0, 0, 10, 10);
    EXPECT_FALSE(missing.Create("NoSuchScintillaClass", "Editor", WS_CHILD, rc, &host, 1));
    EXPECT_EQ(missing.Call(SCI_GETLENGTH), 0); // never reaches a component
}

TEST_F(EditorTest, DefaultLookSetsMarginsMarkersAndColours)
{
    struct Margin {
        int type, width;
        unsigned mask;
        int sensitive;
        COLORREF back;
    };
    const Margin expected[5] = {
        // Marker margins with a background of their own are colour margins.
        {SC_MARGIN_COLOUR, 16, 0x01FFFFFFu, 1, ::GetSysColor(COLOR_BTNFACE)},
        {SC_MARGIN_COLOUR, 1, 0, 0, 0xC0C0C0},
        {SC_MARGIN_NUMBER, 0, 0, 0, 0xFFFFFF},
        {SC_MARGIN_COLOUR, 0, 0, 0, 0xB4B4B4},
        {SC_MARGIN_SYMBOL, 16, 0xFE000000u, 0, 0xFFFFFF},
    };
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(editor.Call(SCI_GETMARGINTYPEN, i), expected[i].type);
        EXPECT_EQ(editor.Call(SCI_GETMARGINWIDTHN, i), expected[i].width);
        EXPECT_EQ((unsigned)editor.Call(SCI_GETMARGINMASKN, i), expected[i].mask);
        EXPECT_EQ(editor.Call(SCI_GETMARGINSENSITIVEN, i), expected[i].sensitive);
        EXPECT_EQ((COLORREF)editor.Call(SCI_GETMARGINBACKN, i), expected[i].back);
    }
    EXPECT_EQ(editor.Call(SCI_MARKERSYMBOLDEFINED, 1), SC_MARK_ROUNDRECT);
    EXPECT_EQ(editor.Call(SCI_MARKERSYMBOLDEFINED, 15), SC_MARK_EMPTY);
    EXPECT_EQ((COLORREF)editor.Call(SCI_STYLEGETFORE, STYLE_LINENUMBER), RGB(0, 128, 128));
    EXPECT_EQ((COLORREF)editor.Call(SCI_STYLEGETBACK, STYLE_LINENUMBER), RGB(255, 255, 255));
    EXPECT_EQ(editor.Call(SCI_GETELEMENTCOLOUR, SC_ELEMENT_SELECTION_BACK) & 0xFFFFFF, RGB(0x31, 0x6A, 0xC5));
    EXPECT_EQ(editor.Call(SCI_GETELEMENTCOLOUR, SC_ELEMENT_SELECTION_TEXT) & 0xFFFFFF, RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(editor.Call(SCI_GETMODEVENTMASK), 0x6FFF);
    EXPECT_EQ(editor.GetCodePage(), 0);
    EXPECT_EQ(editor.Call(SCI_GETINDICATORCURRENT), 1);
}

// Turning the caret line off stays off even though its colour is set in the
// same call (the component shows the line whenever it is given a colour).
TEST_F(EditorTest, CaretLineFollowsItsSwitchWhateverTheColour)
{
    struct Case {
        BOOL bVisible;
        COLORREF clr;
    } cases[] = {{TRUE, RGB(0xC1, 0xD2, 0xEE)}, {FALSE, RGB(0xC1, 0xD2, 0xEE)}, {FALSE, RGB(1, 2, 3)}, {TRUE, RGB(1, 2, 3)}};
    for (const Case& c : cases) {
        editor.SetCaretLine(c.bVisible, c.clr, 126);
        EXPECT_EQ(c.bVisible ? 1 : 0, (int)editor.Call(SCI_GETCARETLINEVISIBLE)) << c.bVisible;
        if (c.bVisible) {
            EXPECT_EQ((sptr_t)c.clr, editor.Call(SCI_GETCARETLINEBACK));
        }
    }
}

TEST_F(EditorTest, LineNumberMarginGrowsWithTheDigitsOfTheLineCount)
{
    const int nine = (int)editor.Call(SCI_TEXTWIDTH, STYLE_LINENUMBER, (sptr_t) "9");
    struct Case {
        int lines;
        int digits;
    } cases[] = {{1, 4}, {9999, 4}, {10000, 5}, {123456, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        SetText(std::string((size_t)c.lines - 1, '\n'));
        ASSERT_EQ(editor.GetLineCount(), c.lines);
        editor.SetLineNumberMargin(1, 2);
        int want = c.digits * nine + 4;
        EXPECT_EQ(editor.Call(SCI_GETMARGINWIDTHN, 2), want < 36 ? 36 : want);
        EXPECT_EQ(editor.Call(SCI_GETMARGINWIDTHN, 3), 1);
    }
    editor.SetLineNumberMargin(0, 2);
    EXPECT_EQ(editor.Call(SCI_GETMARGINWIDTHN, 2), 0);
    EXPECT_EQ(editor.Call(SCI_GETMARGINWIDTHN, 3), 0);
}

// --- languages ------------------------------------------------------------------

CLexerConfig CppConfig()
{
    CLexerConfig config(1);
    config.SetLexerName("cpp");
    config.AddKeywords("int return");
    config.AddStyle("Keyword", SCE_C_WORD, "#0000FF", "", FALSE);
    config.AddStyle("Number", SCE_C_NUMBER, "#FF0000", "#FFFFE0", TRUE);
    return config;
}

TEST_F(EditorTest, ApplyingALanguageColoursItsKeywords)
{
    SetText("int main() { return 42; }");
    CLexerApplyOptions options;
    options.braceBadColour = RGB(1, 2, 3);
    options.braceColour = RGB(4, 5, 6);
    options.tabAsSpaces = 1;
    options.tabWidth = 3;
    options.tabGuides = 1;
    editor.ApplyLexerSettings(CppConfig(), options);

    EXPECT_EQ(editor.GetLexer(), SCLEX_CPP);
    EXPECT_EQ(editor.GetStyleAt(0), SCE_C_WORD);       // int
    EXPECT_EQ(editor.GetStyleAt(13), SCE_C_WORD);      // return
    EXPECT_EQ(editor.GetStyleAt(20), SCE_C_NUMBER);    // 42
    EXPECT_EQ(editor.GetStyleAt(4), SCE_C_IDENTIFIER); // main
    EXPECT_EQ((COLORREF)editor.Call(SCI_STYLEGETFORE, SCE_C_WORD), RGB(0, 0, 255));
    EXPECT_EQ((COLORREF)editor.Call(SCI_STYLEGETBACK, SCE_C_WORD), GetDefaultHexColour());
    EXPECT_EQ((COLORREF)editor.Call(SCI_STYLEGETBACK, SCE_C_NUMBER), RGB(0xFF, 0xFF, 0xE0));
    EXPECT_EQ(editor.Call(SCI_STYLEGETEOLFILLED, SCE_C_NUMBER), 1);
    EXPECT_EQ((COLORREF)editor.Call(SCI_STYLEGETFORE, STYLE_BRACEBAD), RGB(1, 2, 3));
    EXPECT_EQ((COLORREF)editor.Call(SCI_STYLEGETFORE, STYLE_BRACELIGHT), RGB(4, 5, 6));
    EXPECT_EQ(editor.Call(SCI_STYLEGETBOLD, STYLE_BRACELIGHT), 1);
    EXPECT_EQ(editor.Call(SCI_GETUSETABS), 0);
    EXPECT_EQ(editor.Call(SCI_GETTABWIDTH), 3);
    EXPECT_EQ(editor.Call(SCI_GETINDENT), 3);
    EXPECT_EQ(editor.Call(SCI_GETINDENTATIONGUIDES), 1);
}

TEST_F(EditorTest, UnknownLexerNameLeavesTheTextUncoloured)
{
    SetText("int x;");
    editor.ApplyLexerSettings(CppConfig(), CLexerApplyOptions());
    ASSERT_EQ(editor.GetStyleAt(0), SCE_C_WORD);
    CLexerConfig config = CppConfig();
    config.SetLexerName("nosuchlexer");
    editor.ApplyLexerSettings(config, CLexerApplyOptions());
    EXPECT_EQ(editor.GetLexer(), 0);
    EXPECT_EQ(editor.GetStyleAt(0), 0);
}

TEST_F(EditorTest, OldLexerByNameMessageIsMapped)
{
    EXPECT_EQ(editor.Send(CMFCScintilla::MSG_SETLEXERLANGUAGE, 0, (sptr_t) "python"), 1);
    EXPECT_EQ(editor.GetLexer(), SCLEX_PYTHON);
    editor.Send(CMFCScintilla::MSG_MARGIN_BACK, 1, RGB(9, 8, 7));
    EXPECT_EQ((COLORREF)editor.Call(SCI_GETMARGINBACKN, 1), RGB(9, 8, 7));
    editor.Send(CMFCScintilla::MSG_SETTING_2900, 5, 0);
    EXPECT_EQ(editor.GetSetting2900(), 5);
}

TEST_F(EditorTest, FoldPropertiesSurviveALanguageChange)
{
    editor.SetFoldProperties(TRUE);
    EXPECT_EQ((unsigned)editor.Call(SCI_GETMARGINMASKN, 4), (unsigned)SC_MASK_FOLDERS);
    EXPECT_EQ(editor.Call(SCI_GETMARGINSENSITIVEN, 4), 1);
    const int markers[] = {SC_MARKNUM_FOLDEROPEN, SC_MARKNUM_FOLDER, SC_MARKNUM_FOLDERSUB, SC_MARKNUM_FOLDERTAIL,
                           SC_MARKNUM_FOLDEREND, SC_MARKNUM_FOLDEROPENMID, SC_MARKNUM_FOLDERMIDTAIL};
    const int shapes[] = {SC_MARK_BOXMINUS, SC_MARK_BOXPLUS, SC_MARK_VLINE, SC_MARK_LCORNER,
                          SC_MARK_BOXPLUSCONNECTED, SC_MARK_BOXMINUSCONNECTED, SC_MARK_TCORNER};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(editor.Call(SCI_MARKERSYMBOLDEFINED, markers[i]), shapes[i]) << markers[i];

    // The language is chosen after folding was turned on (the view's order):
    // the new lexer must still fold.
    SetText("int f() {\n    return 1;\n}\n");
    editor.ApplyLexerSettings(CppConfig(), CLexerApplyOptions());
    char value[8] = "";
    editor.Call(SCI_GETPROPERTY, (uptr_t) "fold", (sptr_t)value);
    EXPECT_STREQ(value, "1");
    EXPECT_TRUE(editor.GetFoldLevel(0) & SC_FOLDLEVELHEADERFLAG);
    // With "fold.compact" the blank line after the block belongs to it.
    EXPECT_EQ(editor.GetLastChild(0, -1), 3);

    editor.SetFoldProperties(FALSE);
    EXPECT_EQ(editor.Call(SCI_GETMARGINMASKN, 4), 5);
    EXPECT_EQ(editor.Call(SCI_GETMARGINSENSITIVEN, 4), 0);
}

// --- find ----------------------------------------------------------------------

TEST_F(EditorTest, FindTextMovesThroughMatchesAndWraps)
{
    //               0     6    11    17
    SetText("alpha beta Alpha beta");
    editor.SetSel(0, 0);
    editor.SetSearchFlags(0);
    EXPECT_EQ(editor.FindText("beta", FALSE, FALSE), 6);
    EXPECT_EQ(editor.GetSelectionStart(), 6);
    EXPECT_EQ(editor.GetSelectionEnd(), 10);
    EXPECT_EQ(editor.FindText("beta", FALSE, FALSE), 17);
    EXPECT_EQ(editor.FindText("beta", FALSE, FALSE), -1);
    EXPECT_EQ(editor.GetSelectionStart(), 17); // the selection stays
    EXPECT_EQ(editor.FindText("beta", FALSE, TRUE), 6);
    // Backward from the selection start, case ignored.
    editor.SetSel(17, 21);
    EXPECT_EQ(editor.FindText("alpha", TRUE, FALSE), 11);
    EXPECT_EQ(editor.FindText("alpha", TRUE, FALSE), 0);
    EXPECT_EQ(editor.FindText("alpha", TRUE, FALSE), -1);
    EXPECT_EQ(editor.FindText("alpha", TRUE, TRUE), 11);

    struct Case {
        const char* text;
        int flags;
        Sci_Position want;
    } cases[] = {
        {"Alpha", SCFIND_MATCHCASE, 11},
        {"alph", SCFIND_WHOLEWORD, -1},
        {"b[a-z]+a", SCFIND_REGEXP, 6},
        {"(B\\w+)", SCFIND_REGEXP | SCFIND_POSIX, 6},
        {"", 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        editor.SetSel(0, 0);
        editor.SetSearchFlags(c.flags);
        EXPECT_EQ(editor.FindText(c.text, FALSE, TRUE), c.want);
    }
}

TEST_F(EditorTest, FindTextMovesPastAnEmptyMatchAtTheCaret)
{
    SetText("ab\ncd\n");
    editor.SetSel(0, 0);
    editor.SetSearchFlags(SCFIND_REGEXP);
    EXPECT_EQ(editor.FindText("^", FALSE, FALSE), 3);
    EXPECT_EQ(editor.FindText("^", FALSE, FALSE), 6);
}

// Searching the target in runs of lines (as the wrapper does for regular
// expressions) finds what one search of the whole target finds, forward and
// backward, from the middle of a line, with long lines among short ones.
TEST_F(EditorTest, RegexSearchInRunsOfLinesFindsWhatOneSearchFinds)
{
    std::string text;
    const std::string lines[] = {"int a = 1;",           std::string(3000, 'a') + "b = 22;", "",
                                 "xa b",                 std::string(2500, 'q') + " aqb",    "return 0;",
                                 "a" + std::string(1800, ' ') + "b", "end"};
    for (const std::string& line : lines)
        text += line + "\r\n";
    // Enough short lines that the target is searched in several runs.
    for (int i = 0; i < 4000; ++i)
        text += "x = " + std::to_string(i % 10) + ";\r\n";
    text += "last b";
    SetText(text);
    const Sci_Position n = editor.GetLength();
    const char* patterns[] = {"a.*b", "^x", "$", "[0-9]+;$", "q*a", "b", "\\<a\\>", "^$", "a[ ]*b", "zzz"};
    const Sci_Position starts[] = {0, 5, 3003, 3020, n / 2, n};
    for (const char* pattern : patterns) {
        for (Sci_Position from : starts) {
            for (Sci_Position to : {Sci_Position(0), n, Sci_Position(3015)}) {
                SCOPED_TRACE(std::string(pattern) + " " + std::to_string(from) + ".." + std::to_string(to));
                editor.SetSearchFlags(SCFIND_REGEXP);
                editor.SetTargetStart(from);
                editor.SetTargetEnd(to);
                const Sci_Position want = editor.Call(SCI_SEARCHINTARGET, strlen(pattern), (sptr_t)pattern);
                const Sci_Position wantEnd = editor.GetTargetEnd();
                const Sci_Position got = editor.SearchRangeBounded(pattern, (Sci_Position)strlen(pattern), from, to);
                EXPECT_EQ(want, got);
                if (want >= 0) {
                    EXPECT_EQ(wantEnd, editor.GetTargetEnd());
                }
                EXPECT_FALSE(editor.SearchWasTooComplex());
            }
        }
    }
}

// Patterns whose backtracking would run for hours on a long line: every way
// of searching gives them up with "pattern too complex", within a generous
// wall limit, and leaves text and selection as they were; the same patterns
// are found where a match comes at once.
TEST_F(EditorTest, RegexSearchesThatWouldRunAwayAreGivenUp)
{
    const std::string as(65000, 'a');
    struct Case {
        const char* pattern;
        std::string text;
        Sci_Position want; // -1: given up
    } cases[] = {
        {".*.*b$", "x\n" + as + "\nb", -1},
        {"a*a*a*a*a*a*a*a*c", "x\n" + as + "\n", -1},
        {"\\(a\\).*.*.*.*.*.*.*.*\\1c", std::string(62, 'a'), -1},
        {".*.*b$", "head\n" + as + "b\n", 5},
        {"q.*z", as + "\nq z", 65001},
        {"tail", as + "\ntail", 65001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        SetText(c.text);
        editor.SetSearchFlags(SCFIND_REGEXP | SCFIND_MATCHCASE);
        qmtest::WallLimit limit(std::string("regular expression search ") + c.pattern, std::chrono::seconds(120));
        editor.SetSel(0, 0);
        EXPECT_EQ(c.want, editor.FindText(c.pattern, FALSE, TRUE));
        EXPECT_EQ(c.want < 0, editor.SearchWasTooComplex() != FALSE);
        if (c.want >= 0)
            continue;
        EXPECT_EQ(0, editor.GetSelectionStart());
        EXPECT_EQ(0, editor.GetSelectionEnd());
        editor.SetSel(editor.GetLength(), editor.GetLength());
        EXPECT_EQ(-1, editor.FindText(c.pattern, TRUE, TRUE));
        EXPECT_TRUE(editor.SearchWasTooComplex());
        EXPECT_EQ(0, editor.ReplaceAllMatches(c.pattern, "x", FALSE, TRUE));
        EXPECT_TRUE(editor.SearchWasTooComplex());
        EXPECT_EQ(c.text, Text());
        EXPECT_EQ(0, editor.BookmarkMatches(c.pattern));
        EXPECT_TRUE(editor.SearchWasTooComplex());
        // The next search starts afresh.
        editor.SetSearchFlags(0);
        editor.SetSel(0, 0);
        EXPECT_GE(editor.FindText("a", FALSE, TRUE), 0);
        EXPECT_FALSE(editor.SearchWasTooComplex());
    }
}

// --- replace all ------------------------------------------------------------------

struct ReplaceCase {
    const char* name;
    const char* text;
    const char* find;
    const char* replace;
    int flags;
    bool regex;
    bool inSelection;
    int selStart, selEnd;
    const char* want;
    int count;
};

void PrintTo(const ReplaceCase& c, std::ostream* os)
{
    *os << c.name;
}

class ReplaceAllTest : public EditorTest, public ::testing::WithParamInterface<ReplaceCase> {};

TEST_P(ReplaceAllTest, ReplacesAndCounts)
{
    const ReplaceCase& c = GetParam();
    SetText(c.text);
    editor.SetSel(c.selStart, c.selEnd);
    editor.SetSearchFlags(c.flags);
    EXPECT_EQ(editor.ReplaceAllMatches(c.find, c.replace, c.inSelection, c.regex), c.count);
    EXPECT_EQ(Text(), c.want);
    // One undo step takes the whole replacement back.
    if (c.count > 0) {
        editor.Undo();
        EXPECT_EQ(Text(), c.text);
    }
}

const int RE = SCFIND_REGEXP;
const int POSIX = SCFIND_REGEXP | SCFIND_POSIX;

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceAllTest,
    ::testing::Values(
        ReplaceCase{"plain", "cat hat cat", "cat", "dog", 0, false, false, 0, 0, "dog hat dog", 2},
        ReplaceCase{"match_at_range_end_counted", "x x x", "x", "yy", 0, false, false, 0, 0, "yy yy yy", 3},
        ReplaceCase{"single_match_at_end", "abc foo", "foo", "bar", 0, false, false, 0, 0, "abc bar", 1},
        ReplaceCase{"whole_word", "cat concat cat", "cat", "dog", SCFIND_WHOLEWORD, false, false, 0, 0,
                    "dog concat dog", 2},
        ReplaceCase{"match_case", "Cat cat CAT", "cat", "dog", SCFIND_MATCHCASE, false, false, 0, 0, "Cat dog CAT", 1},
        ReplaceCase{"ignore_case", "Cat cat CAT", "cat", "dog", 0, false, false, 0, 0, "dog dog dog", 3},
        ReplaceCase{"regex_posix_groups", "a=1\nb=2\n", "(\\w+)=(\\w+)", "\\2=\\1", POSIX, true, false, 0, 0,
                    "1=a\n2=b\n", 2},
        ReplaceCase{"regex_tagged_groups", "ab-12 cd-34", "\\([a-z]+\\)-\\([0-9]+\\)", "\\2:\\1", RE, true, false, 0,
                    0, "12:ab 34:cd", 2},
        ReplaceCase{"regex_text_without_re_replace", "a1 b2", "[0-9]", "\\0", RE, false, false, 0, 0, "a\\0 b\\0", 2},
        ReplaceCase{"caret_prefixes_lines_lf", "one\n\ntwo\n", "^", "> ", RE, true, false, 0, 0, "> one\n> \n> two\n", 3},
        ReplaceCase{"caret_prefixes_lines_crlf", "one\r\n\r\ntwo", "^", "> ", RE, true, false, 0, 0,
                    "> one\r\n> \r\n> two", 3},
        ReplaceCase{"dollar_empty_match_before_break", "a\nb\n", "$", ";", RE, true, false, 0, 0, "a;\nb;\n", 2},
        ReplaceCase{"dollar_at_document_end", "a\nb", "$", ";", RE, true, false, 0, 0, "a;\nb;", 2},
        ReplaceCase{"trim_trailing_blanks", "a  \nb\t\nc", "[ \t]+$", "", RE, true, false, 0, 0, "a\nb\nc", 2},
        ReplaceCase{"empty_matches_terminate", "ab", "x*", "-", RE, true, false, 0, 0, "-a-b", 2},
        ReplaceCase{"no_match", "abc", "zzz", "y", 0, false, false, 0, 0, "abc", 0},
        ReplaceCase{"empty_find_text", "abc", "", "y", 0, false, false, 0, 0, "abc", 0},
        ReplaceCase{"selection_covers_whole_lines", "x\nx\nx\n", "x", "y", 0, false, true, 2, 3, "x\ny\nx\n", 1},
        ReplaceCase{"selection_caret_stops_at_next_line", "a\nb\nc\n", "^", "> ", RE, true, true, 0, 3,
                    "> a\n> b\nc\n", 2},
        ReplaceCase{"selection_growing_replacement", "aa\naa\naa\n", "a", "aaa", 0, false, true, 0, 4,
                    "aaaaaa\naaaaaa\naa\n", 4},
        ReplaceCase{"selection_ending_at_a_line_start", "x\nx\nx\n", "x", "y", 0, false, true, 0, 4, "y\ny\nx\n", 2},
        ReplaceCase{"selection_on_last_line", "q\nab", "b", "c", 0, false, true, 3, 4, "q\nac", 1},
        ReplaceCase{"empty_selection", "abc", "b", "x", 0, false, true, 1, 1, "abc", -2}));

TEST_F(EditorTest, ReplaceAllInSelectionSelectsTheAdjustedRange)
{
    SetText("aa\naa\naa\n");
    editor.SetSel(0, 4);
    editor.SetSearchFlags(0);
    ASSERT_EQ(editor.ReplaceAllMatches("a", "aaa", TRUE, FALSE), 4);
    EXPECT_EQ(editor.GetSelectionStart(), 0);
    EXPECT_EQ(editor.GetSelectionEnd(), 14); // "aaaaaa\naaaaaa\n"
    SetText("one two");
    editor.SetSel(0, 0);
    ASSERT_EQ(editor.ReplaceAllMatches("one", "1", FALSE, FALSE), 1);
    EXPECT_EQ(editor.GetCurrentPos(), 1); // after the last replacement
}

// --- comments ---------------------------------------------------------------------

struct CommentCase {
    const char* name;
    const char* marker;
    bool comment;
    const char* text;
    int anchor, caret;
    const char* want;
    int wantAnchor, wantCaret;
};

void PrintTo(const CommentCase& c, std::ostream* os)
{
    *os << c.name;
}

class CommentTest : public EditorTest, public ::testing::WithParamInterface<CommentCase> {};

TEST_P(CommentTest, ChangesTheSelectedLines)
{
    const CommentCase& c = GetParam();
    SetText(c.text);
    editor.SetSel(c.anchor, c.caret);
    if (c.comment)
        editor.CommentLines(c.marker);
    else
        editor.UncommentLines(c.marker);
    EXPECT_EQ(Text(), c.want);
    EXPECT_EQ(editor.GetAnchor(), c.wantAnchor);
    EXPECT_EQ(editor.GetCurrentPos(), c.wantCaret);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommentTest,
    ::testing::Values(
        CommentCase{"caret_line_cpp", "//", true, "int a;\nint b;\n", 2, 2, "// int a;\nint b;\n", 5, 5},
        CommentCase{"lines_but_not_the_one_the_selection_ends_at", "//", true, "int a;\nint b;\nc\n", 0, 14,
                    "// int a;\n// int b;\nc\n", 0, 20},
        CommentCase{"selection_inside_lines", "#", true, "ab\ncd\n", 1, 4, "# ab\n# cd\n", 3, 8},
        CommentCase{"caret_before_anchor_kept", "--", true, "ab\ncd\n", 4, 1, "-- ab\n-- cd\n", 10, 4},
        CommentCase{"empty_marker_does_nothing", "", true, "ab\n", 0, 2, "ab\n", 0, 2},
        CommentCase{"uncomment_marker_and_blank", "//", false, "// a\n//b\nc\n", 0, 9, "a\nb\nc\n", 0, 4},
        CommentCase{"uncomment_only_at_line_start", "//", false, "  // a\n", 0, 0, "  // a\n", 0, 0},
        CommentCase{"uncomment_basic_quote", "'", false, "' x = 1\n", 3, 3, "x = 1\n", 1, 1},
        CommentCase{"uncomment_caret_inside_marker", "//", false, "// a\n", 1, 1, "a\n", 0, 0}));

TEST_F(EditorTest, CommentSkipsLinesOfAThousandCharacters)
{
    std::string longLine(1000, 'x');
    SetText("a\n" + longLine + "\nb\n");
    editor.SetSel(0, (int)editor.GetLength());
    editor.CommentLines("//");
    EXPECT_EQ(Text(), "// a\n" + longLine + "\n// b\n");
    editor.Undo();
    EXPECT_EQ(Text(), "a\n" + longLine + "\nb\n"); // one undo step
}

// --- braces --------------------------------------------------------------------------

TEST_F(EditorTest, FindBracesBeforeAndAfterTheCaret)
{
    //       01234567
    SetText("f(a[b]c) (");
    struct Case {
        int caret;
        BOOL allowAfter;
        BOOL found;
        Sci_Position brace, match;
    } cases[] = {
        {2, FALSE, TRUE, 1, 7},    // after "("
        {6, FALSE, TRUE, 5, 3},    // after "]"
        {8, FALSE, TRUE, 7, 1},    // after ")"
        {1, FALSE, FALSE, -1, -1}, // after "f"
        {1, TRUE, TRUE, 1, 7},     // "(" after the caret
        {10, FALSE, TRUE, 9, -1},  // unmatched
        {0, FALSE, FALSE, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caret);
        editor.GotoPos(c.caret);
        Sci_Position brace = 99, match = 99;
        EXPECT_EQ(editor.FindBraces(brace, match, c.allowAfter), c.found);
        EXPECT_EQ(brace, c.brace);
        EXPECT_EQ(match, c.match);
    }
}

TEST_F(EditorTest, HighlightBracesSetsTheIndentationGuide)
{
    SetText("  {\n    x;\n  }\n");
    editor.GotoPos(3); // after "{"
    editor.HighlightBraces();
    EXPECT_EQ(editor.Call(SCI_GETHIGHLIGHTGUIDE), 2);
    editor.GotoPos(6); // no brace
    editor.HighlightBraces();
    EXPECT_EQ(editor.Call(SCI_GETHIGHLIGHTGUIDE), 0);
    SetText("  { (\n");
    editor.GotoPos(5); // unmatched "("
    editor.HighlightBraces();
    EXPECT_EQ(editor.Call(SCI_GETHIGHLIGHTGUIDE), 0);
}

TEST_F(EditorTest, LongTextIsColouredAsItIsNeeded)
{
    // Past the first megabyte a language leaves the colouring to the
    // component; a brace test that needs a style there colours up to it.
    CLexerConfig python(1);
    python.SetLexerName("python");
    python.AddKeywords("if");
    python.AddStyle("Default", 0, "#000000", "", FALSE);
    std::string text;
    while (text.size() < 3u * CMFCScintilla::EAGER_COLOUR_BYTES)
        text += "# a comment line that only fills the text up\n";
    const Sci_Position colon = (Sci_Position)text.size() + 4;
    text += "if x:\n    y = 1\nw = 3\n";
    SetText(text);
    editor.ApplyLexerSettings(python, CLexerApplyOptions());
    EXPECT_EQ(editor.GetStyleAt(0), SCE_P_COMMENTLINE);
    EXPECT_LT(editor.Call(SCI_GETENDSTYLED), colon) << "the whole text was coloured at once";
    editor.GotoPos(colon + 1); // after ":"
    Sci_Position brace = 0, match = 0;
    ASSERT_TRUE(editor.FindBraces(brace, match, FALSE));
    EXPECT_EQ(brace, colon);
    EXPECT_EQ(editor.GetStyleAt(colon), SCE_P_OPERATOR);
}

TEST_F(EditorTest, AFirstLineLongerThanTheEagerPartIsColouredWhole)
{
    // The caret's line is laid out when the editor takes the focus: a first
    // line coloured only in part would be laid out again once coloured. The
    // lines after it still wait until they are shown.
    CLexerConfig python(1);
    python.SetLexerName("python");
    python.AddStyle("Default", 0, "#000000", "", FALSE);
    std::string text;
    while (text.size() < 2u * CMFCScintilla::EAGER_COLOUR_BYTES)
        text += "y = 'a'; ";
    text += "w = 2\n";
    while (text.size() < 4u * CMFCScintilla::EAGER_COLOUR_BYTES)
        text += "# a comment line that only fills the text up\n";
    SetText(text);
    editor.ApplyLexerSettings(python, CLexerApplyOptions());
    const Sci_Position lineEnd = editor.GetLineEndPosition(0);
    EXPECT_GE(editor.Call(SCI_GETENDSTYLED), lineEnd);
    EXPECT_EQ(editor.GetStyleAt(lineEnd - 1), SCE_P_NUMBER);
    EXPECT_LT(editor.Call(SCI_GETENDSTYLED), editor.GetLength()) << "the whole text was coloured at once";
}

TEST_F(EditorTest, PythonColonMatchesTheEndOfItsBlock)
{
    editor.SetFoldProperties(TRUE);
    CLexerConfig python(1);
    python.SetLexerName("python");
    python.AddKeywords("if");
    python.AddStyle("Default", 0, "#000000", "", FALSE);
    SetText("if x:\n    y = 1\n    z = 2\nw = 3\n");
    editor.ApplyLexerSettings(python, CLexerApplyOptions());
    ASSERT_EQ(editor.GetStyleAt(4), SCE_P_OPERATOR);
    editor.GotoPos(5); // after ":"
    Sci_Position brace = 0, match = 0;
    ASSERT_TRUE(editor.FindBraces(brace, match, FALSE));
    EXPECT_EQ(brace, 4);
    EXPECT_EQ(match, editor.GetLineEndPosition(2));
    editor.HighlightBraces();
    // The block is one level in: the guide marks the "if" line's indentation.
    EXPECT_EQ(editor.Call(SCI_GETHIGHLIGHTGUIDE), 0);
    SetText("def f():\n    if x:\n        y = 1\n            z = 2\n");
    editor.ApplyLexerSettings(python, CLexerApplyOptions());
    editor.GotoPos(editor.GetLineEndPosition(1)); // after the second ":"
    editor.HighlightBraces();
    EXPECT_EQ(editor.Call(SCI_GETHIGHLIGHTGUIDE), 4);
    editor.GotoPos(editor.GetLineEndPosition(0));
    editor.HighlightBraces();
    EXPECT_EQ(editor.Call(SCI_GETHIGHLIGHTGUIDE), 0);
}

// --- auto-indent ---------------------------------------------------------------------

struct IndentCase {
    const char* name;
    const char* text; // caret at the end; a line break is typed
    int eolMode;
    int ch;
    BOOL smart;
    const char* want;
};

void PrintTo(const IndentCase& c, std::ostream* os)
{
    *os << c.name;
}

class AutoIndentTest : public EditorTest, public ::testing::WithParamInterface<IndentCase> {};

TEST_P(AutoIndentTest, IndentsTheNewLine)
{
    const IndentCase& c = GetParam();
    editor.SetEOLMode(c.eolMode);
    SetText(c.text);
    editor.GotoPos(editor.GetLength());
    if (c.ch == '}')
        editor.AddText("}");
    else
        editor.Call(SCI_NEWLINE);
    editor.AutoIndent(c.ch, c.smart);
    EXPECT_EQ(Text(), c.want);
    if (c.ch != '}') {
        EXPECT_EQ(editor.GetCurrentPos(), editor.GetLength());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutoIndentTest,
    ::testing::Values(IndentCase{"keeps_indentation", "    foo", SC_EOL_LF, '\n', FALSE, "    foo\n    "},
                      IndentCase{"smart_after_open_brace", "    if (x) {", SC_EOL_LF, '\n', TRUE, "    if (x) {\n        "},
                      IndentCase{"not_smart_after_open_brace", "    if (x) {", SC_EOL_LF, '\n', FALSE,
                                 "    if (x) {\n    "},
                      IndentCase{"smart_closed_brace", "  f() {}", SC_EOL_LF, '\n', TRUE, "  f() {}\n  "},
                      IndentCase{"no_indentation", "foo", SC_EOL_LF, '\n', TRUE, "foo\n"},
                      IndentCase{"crlf_on_lf", "  a", SC_EOL_CRLF, '\n', FALSE, "  a\r\n  "},
                      IndentCase{"cr_mode_ignores_lf", "  a", SC_EOL_CR, '\n', FALSE, "  a\r"},
                      IndentCase{"cr_mode_on_cr", "  a", SC_EOL_CR, '\r', FALSE, "  a\r  "},
                      IndentCase{"closing_brace_aligns", "    if (x) {\n        y;\n        ", SC_EOL_LF, '}', FALSE,
                                 "    if (x) {\n        y;\n    }"}));

// --- bookmarks -----------------------------------------------------------------------

TEST_F(EditorTest, BookmarksToggleAndCycle)
{
    SetText("l0\nl1\nl2\nl3\nl4\n");
    editor.ToggleBookmark(1);
    editor.ToggleBookmark(3);
    EXPECT_TRUE(editor.Call(SCI_MARKERGET, 1) & CMFCScintilla::BOOKMARK_MASK);
    EXPECT_TRUE(editor.Call(SCI_MARKERGET, 3) & CMFCScintilla::BOOKMARK_MASK);
    EXPECT_TRUE(editor.ToggleBookmarkAt(editor.PositionFromLine(2) + 1));
    EXPECT_TRUE(editor.Call(SCI_MARKERGET, 2) & CMFCScintilla::BOOKMARK_MASK);
    editor.ToggleBookmark(2);
    EXPECT_FALSE(editor.Call(SCI_MARKERGET, 2) & CMFCScintilla::BOOKMARK_MASK);

    qmtest::MessageBoxRecorder boxes;
    editor.GotoPos(0);
    editor.GotoBookmark(TRUE, FALSE);
    EXPECT_EQ(editor.GetCurrentLine(), 1);
    editor.GotoBookmark(TRUE, FALSE);
    EXPECT_EQ(editor.GetCurrentLine(), 3);
    editor.GotoBookmark(TRUE, FALSE); // wraps to the top
    EXPECT_EQ(editor.GetCurrentLine(), 1);
    editor.GotoBookmark(FALSE, FALSE); // wraps to the bottom
    EXPECT_EQ(editor.GetCurrentLine(), 3);
    editor.GotoBookmark(FALSE, FALSE);
    EXPECT_EQ(editor.GetCurrentLine(), 1);
    EXPECT_TRUE(boxes.Texts().empty());

    // Extending keeps the anchor: the selection reaches the bookmark.
    editor.GotoPos(1);
    editor.GotoBookmark(TRUE, TRUE);
    EXPECT_EQ(editor.GetAnchor(), 1);
    EXPECT_EQ(editor.GetCurrentPos(), editor.PositionFromLine(1));

    editor.MarkerDeleteAll();
    EXPECT_FALSE(editor.Call(SCI_MARKERGET, 1) & CMFCScintilla::BOOKMARK_MASK);
}

TEST_F(EditorTest, NoOtherBookmarkShowsTheMessage)
{
    SetText("a\nb\nc\n");
    struct Case {
        int bookmark; // -1: none
        BOOL next;
    } cases[] = {{1, TRUE}, {1, FALSE}, {-1, TRUE}, {-1, FALSE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bookmark);
        editor.MarkerDeleteAll();
        if (c.bookmark >= 0)
            editor.ToggleBookmark(c.bookmark);
        editor.GotoLine(1);
        qmtest::MessageBoxRecorder boxes;
        editor.GotoBookmark(c.next, FALSE);
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.HelpIds()[0], (UINT)CMFCScintilla::IDS_NO_OTHER_BOOKMARK);
        EXPECT_TRUE(boxes.Types()[0] & MB_ICONEXCLAMATION);
        EXPECT_EQ(editor.GetCurrentLine(), 1);
    }
}

// --- editing helpers -----------------------------------------------------------------------

TEST_F(EditorTest, TemplatesWordsLinesAndIndent)
{
    SetText("hello world");
    editor.SetSel(6, 11);
    editor.InsertTemplateText("[<%REPLACE%>|<%REPLACE%>]");
    EXPECT_EQ(Text(), "hello [world|world]");
    editor.GotoPos(0);
    editor.InsertTemplateText("<%REPLACE%>>>");
    EXPECT_EQ(Text(), ">>hello [world|world]");

    SetText("alpha beta\ngamma\n");
    editor.SelectWord(7);
    EXPECT_EQ(Selected(), "beta");
    editor.SelectLine(1);
    EXPECT_EQ(Selected(), "gamma");
    editor.GotoPos(8); // inside "beta"
    editor.DeleteWord();
    EXPECT_EQ(Text(), "alpha \ngamma\n");

    editor.GotoPos(editor.PositionFromLine(1) + 3);
    editor.IndentRight();
    EXPECT_EQ(Text(), "alpha \n    gamma\n");

    SetText("abc");
    editor.SetSel(0, 3);
    editor.ReplaceSelectedText("xy");
    EXPECT_EQ(Text(), "xy");
    editor.SetSel(1, 1);
    editor.ReplaceSelectedText("zz");
    EXPECT_EQ(Text(), "xy");
    editor.ReplaceAllText("new text");
    EXPECT_EQ(Text(), "new text");
    char range[5];
    EXPECT_EQ(editor.GetTextRange(4, 8, range), 4);
    EXPECT_STREQ(range, "text");
}

TEST_F(EditorTest, SelectedTextOfARectangularSelectionIsWhole)
{
    // A rectangle over three lines: the text has more bytes than the
    // distance between selection start and end.
    SetText("abXY\ncdXY\nefXY\n");
    editor.Call(SCI_SETRECTANGULARSELECTIONANCHOR, 0);
    editor.Call(SCI_SETRECTANGULARSELECTIONCARET, 12); // line 2, column 2
    ASSERT_EQ(editor.Call(SCI_GETSELECTIONS), 3);
    EXPECT_EQ(Selected(), "ab\ncd\nef\n");
    editor.InsertTemplateText("[<%REPLACE%>]");
    EXPECT_NE(Text().find("[ab\ncd\nef\n]"), std::string::npos);
}

TEST_F(EditorTest, InsertDateUsesTheSystemFormat)
{
    char want[256];
    ASSERT_GT(GetDateFormatA(LOCALE_SYSTEM_DEFAULT, LOCALE_NOUSEROVERRIDE, NULL, NULL, want, sizeof(want)), 0);
    SetText("");
    editor.InsertDate();
    EXPECT_EQ(Text(), want);
}

TEST_F(EditorTest, SharedDocumentPointerReachesTheSameText)
{
    CMFCScintilla second;
    CRect rc(0, 0, 200, 100);
    ASSERT_TRUE(second.Create(CMFCScintilla::kWindowClass, "Editor", WS_CHILD, rc, &host, 1));
    SetText("shared");
    sptr_t doc = editor.GetDocPointer();
    ASSERT_NE(doc, 0);
    editor.Call(SCI_ADDREFDOCUMENT, 0, doc);
    second.SetDocPointer(doc);
    second.GotoPos(second.GetLength());
    second.AddText(" text");
    EXPECT_EQ(Text(), "shared text");
    second.DestroyWindow();
    editor.Call(SCI_RELEASEDOCUMENT, 0, doc);
}

// --- find seed -------------------------------------------------------------------------

TEST_F(EditorTest, FindSeedTakesAtMostNinetyNineOfALongSelection)
{
    std::string text;
    for (int i = 0; i < 150; ++i)
        text += (char)('a' + i % 26);
    SetText(text);
    struct Case {
        int length;
        int want;
    } cases[] = {{5, 5}, {99, 99}, {100, 100}, {101, 99}, {150, 99}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        editor.SetSel(0, c.length);
        CString seed = editor.GetFindSeed(TRUE);
        EXPECT_EQ(seed.GetLength(), c.want);
        EXPECT_EQ(std::string(seed.GetString()), text.substr(0, (size_t)c.want));
        EXPECT_EQ(scitest::ReadAppString("FindReplace", "LastSelectedValue"), text.substr(0, (size_t)c.want));
    }
}

TEST_F(EditorTest, FindSeedFallsBackToTheStoredValue)
{
    SetText("needle in a haystack");
    editor.SetSel(0, 6);
    EXPECT_EQ(std::string(editor.GetFindSeed(TRUE).GetString()), "needle");
    editor.SetSel(3, 3);
    EXPECT_EQ(std::string(editor.GetFindSeed(TRUE).GetString()), "needle"); // read back
    EXPECT_EQ(std::string(editor.GetFindSeed(FALSE).GetString()), "");      // stores the empty selection
    EXPECT_EQ(scitest::ReadAppString("FindReplace", "LastSelectedValue"), "");
    EXPECT_EQ(std::string(editor.GetFindSeed(TRUE).GetString()), "");
}

// --- clipboard --------------------------------------------------------------------------

void PutClipboardText(HWND owner, const char* text)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    if (text != NULL) {
        size_t n = strlen(text) + 1;
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, n);
        memcpy(GlobalLock(h), text, n);
        GlobalUnlock(h);
        SetClipboardData(CF_TEXT, h);
    }
    CloseClipboard();
}

std::wstring ClipboardUnicode(HWND owner)
{
    std::wstring result;
    if (!OpenClipboard(owner))
        return L"<no clipboard>";
    HANDLE h = GetClipboardData(CF_UNICODETEXT);
    if (h != NULL) {
        result = (const wchar_t*)GlobalLock(h);
        GlobalUnlock(h);
    }
    CloseClipboard();
    return result;
}

std::string ClipboardAnsi(HWND owner)
{
    std::string result;
    if (!OpenClipboard(owner))
        return "<no clipboard>";
    HANDLE h = GetClipboardData(CF_TEXT);
    if (h != NULL) {
        result = (const char*)GlobalLock(h);
        GlobalUnlock(h);
    }
    CloseClipboard();
    return result;
}

TEST_F(EditorTest, CopyAppendAddsTheSelectionToTheClipboardText)
{
    SetText("first second");
    PutClipboardText(host.m_hWnd, "one ");
    editor.SetSel(6, 12);
    EXPECT_TRUE(editor.CopyAppend());
    EXPECT_EQ(ClipboardAnsi(host.m_hWnd), "one second");
    EXPECT_TRUE(editor.CopyAppend());
    EXPECT_EQ(ClipboardAnsi(host.m_hWnd), "one secondsecond");

    // Nothing selected: the clipboard stays as it is.
    editor.SetSel(3, 3);
    EXPECT_FALSE(editor.CopyAppend());
    EXPECT_EQ(ClipboardAnsi(host.m_hWnd), "one secondsecond");

    // An empty clipboard gets the selection alone.
    PutClipboardText(host.m_hWnd, NULL);
    editor.SetSel(0, 5);
    EXPECT_TRUE(editor.CopyAppend());
    EXPECT_EQ(ClipboardAnsi(host.m_hWnd), "first");
}

TEST_F(EditorTest, CopyAppendKeepsNonAsciiTextOfAUtf8Document)
{
    editor.SetCodePage(SC_CP_UTF8);
    SetText("caf\xC3\xA9 \xE2\x82\xAC"); // "café €"
    PutClipboardText(host.m_hWnd, "x=");
    editor.SetSel(0, (int)editor.GetLength());
    EXPECT_TRUE(editor.CopyAppend());
    EXPECT_EQ(ClipboardUnicode(host.m_hWnd), L"x=caf\u00E9 \u20AC");
}

// --- context menu -------------------------------------------------------------------------

void CALLBACK CloseMenuSoon(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    EndMenu();
}

TEST_F(EditorTest, RightButtonShowsTheEditorMenuForTheDocumentWindow)
{
    host.m_popupFirstIds.clear();
    UINT_PTR timer = SetTimer(NULL, 0, 150, CloseMenuSoon);
    ASSERT_NE(timer, 0u);
    // Returns when the menu closes.
    ::SendMessageA(editor.m_hWnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 40));
    // Without a frame the commands go to the window holding the editor.
    ASSERT_EQ(host.m_popupFirstIds.size(), 1u);
    EXPECT_EQ(host.m_popupFirstIds[0], (UINT)IDC_EDITOR);
    EXPECT_EQ(host.m_nDeleteLineCommands, 0);
}

// --- notifications of the component --------------------------------------------------

TEST_F(EditorTest, ComponentNotificationsNeverRunTheCommandOfTheSameId)
{
    host.m_notifyCodes.clear();
    editor.SetFocus();
    editor.AddText("typed");
    ::SendMessageA(editor.m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
    ::SendMessageA(editor.m_hWnd, WM_CHAR, 'x', 0);
    scitest::PumpFor(50);
    host.SetFocus();
    scitest::PumpFor(50);
    // The component did report (SCEN_CHANGE, focus changes) with its id...
    EXPECT_NE(std::find(host.m_notifyCodes.begin(), host.m_notifyCodes.end(), (UINT)SCEN_CHANGE),
              host.m_notifyCodes.end());
    // ...and none of that reached Delete Line.
    EXPECT_EQ(host.m_nDeleteLineCommands, 0);
    EXPECT_NE(Text().find("typed"), std::string::npos);

    // The menu command itself still arrives.
    ::SendMessageA(host.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_EDITOR, 0), 0);
    EXPECT_EQ(host.m_nDeleteLineCommands, 1);
}

} // namespace
