// The function list's language table and scan over the real Scintilla
// component: one small source per language row, the edge cases of comments,
// parameter lists, bodies and nesting, the component's search behaviour the
// scan relies on, and the remembering scan held equal to the plain one.
#include "scitest.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <qmtest/walllimit.h>

#include "funcmatch.h"
#include "funcpatterns.h"
#include "funcscan.h"
#include "funcscantest.h"

namespace {

std::string Describe(const std::vector<CommentRange>& ranges)
{
    std::string s;
    for (const CommentRange& r : ranges)
        s += "[" + std::to_string(r.nStart) + "," + std::to_string(r.nEnd) + "] ";
    return s;
}

std::string Describe(const std::vector<std::pair<std::string, Sci_Position>>& list)
{
    std::string s;
    for (const auto& f : list)
        s += f.first + "@" + std::to_string(f.second) + " ";
    return s;
}

class ScanTest : public HiddenEditorTest {
protected:
    // Names and lines of entries, in order.
    typedef std::vector<std::pair<std::string, Sci_Position>> Listing;

    static Listing Listed(const CFunctionEntries& entries)
    {
        Listing out;
        for (const FunctionEntry& e : entries)
            out.push_back({e.strName, e.nLine});
        return out;
    }

    // Top-level names and lines of a scan of text with language id.
    Listing ScanText(int id, const std::string& text, bool bPlain = false)
    {
        Load(text);
        CFunctionScan scan(editor);
        scan.SetPlainSearch(bPlain);
        EXPECT_TRUE(scan.SetLanguage(id)) << "id " << id;
        EXPECT_TRUE(scan.Run());
        return Listed(scan.GetTopLevelEntries());
    }

    // The scan lists what is expected, and the plain scan lists the same.
    void ExpectListing(int id, const std::string& text, const Listing& expected)
    {
        Listing got = ScanText(id, text);
        EXPECT_EQ(expected, got) << "found: " << Describe(got) << " expected: " << Describe(expected);
        EXPECT_EQ(got, ScanText(id, text, true)) << "the plain scan differs";
    }

    std::vector<CommentRange> Comments(int id, const std::string& text)
    {
        Load(text);
        CFunctionScan scan(editor);
        scan.SetLanguage(id);
        scan.Run();
        return scan.GetCommentRanges().GetRanges();
    }
};

// --- the component's search, as the scan uses it -------------------------------------

TEST_F(ScanTest, TheComponentsTargetSearchBehavesAsTheScanAssumes)
{
    const int flags = SCFIND_REGEXP | SCFIND_POSIX | SCFIND_WHOLEWORD;
    editor.SetSearchFlags(flags);

    // A failed search leaves the target where it was.
    Load("alpha beta gamma");
    EXPECT_EQ(-1, editor.SearchRange("zeta", 4, 2, 9));
    EXPECT_EQ(2, editor.GetTargetStart());
    EXPECT_EQ(9, editor.GetTargetEnd());

    // The whole-word flag does nothing for regular expressions.
    Load("foobar");
    EXPECT_EQ(0, editor.SearchRange("foo", 3, 0, 6));
    EXPECT_EQ(3, editor.GetTargetEnd());

    // With POSIX groups "\(" is a literal parenthesis.
    Load("call f(x)");
    EXPECT_EQ(5, editor.SearchRange("f\\(", 3, 0, 9));
    EXPECT_EQ(7, editor.GetTargetEnd());

    // "\t" inside a class is a tab.
    Load("a\tb atb");
    EXPECT_EQ(0, editor.SearchRange("a[\\t]b", 6, 0, 7));
    EXPECT_EQ(-1, editor.SearchRange("t[\\t]b", 6, 0, 7));

    // A match never spans lines: the remembering scan searches a line at a time.
    Load("a\nb");
    EXPECT_EQ(-1, editor.SearchRange("a[^x]*b", 7, 0, 3));

    // A pattern anchored at the line start, searched from inside a line,
    // skips that line.
    Load("xab\nab");
    EXPECT_EQ(4, editor.SearchRange("^ab", 3, 1, 6));
}

// --- the language table ------------------------------------------------------------------

TEST(FunctionPatterns, LanguagesWithoutARowAreNotSupported)
{
    for (int id : {0, -1, 9, 10, 14, 15, 20, 24, 31, 33, 34, 35, 36, 37, 39, 100}) {
        FunctionLanguage lang;
        lang.patterns.push_back(FunctionPattern());
        EXPECT_FALSE(BuildFunctionLanguage(id, lang)) << id;
        EXPECT_TRUE(lang.patterns.empty()) << id;
        EXPECT_TRUE(lang.commentPairs.empty()) << id;
    }
    for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 16, 17, 18, 19, 21, 22, 23, 25, 26, 27, 28, 29, 30, 32, 38}) {
        FunctionLanguage lang;
        EXPECT_TRUE(BuildFunctionLanguage(id, lang)) << id;
        EXPECT_FALSE(lang.patterns.empty()) << id;
    }
}

TEST(FunctionPatterns, IdsThatShareARowBuildTheSameTable)
{
    auto same = [](int a, int b) {
        FunctionLanguage la, lb;
        BuildFunctionLanguage(a, la);
        BuildFunctionLanguage(b, lb);
        EXPECT_EQ(la.nCaseFlag, lb.nCaseFlag);
        EXPECT_EQ(la.strNestingOpeners, lb.strNestingOpeners);
        EXPECT_EQ(la.commentPairs, lb.commentPairs);
        ASSERT_EQ(la.patterns.size(), lb.patterns.size());
        for (size_t i = 0; i < la.patterns.size(); i++) {
            EXPECT_EQ(la.patterns[i].strPrefix, lb.patterns[i].strPrefix);
            EXPECT_EQ(la.patterns[i].strParameters, lb.patterns[i].strParameters);
            EXPECT_EQ(la.patterns[i].strName, lb.patterns[i].strName);
            EXPECT_EQ(la.patterns[i].strRejectList, lb.patterns[i].strRejectList);
        }
    };
    same(2, 3);
    same(4, 6);
    same(8, 19);
}

TEST(FunctionPatterns, RowsKeepTheirModesAndTokens)
{
    FunctionLanguage lang;
    BuildFunctionLanguage(2, lang);
    EXPECT_EQ(SCFIND_MATCHCASE, lang.nCaseFlag);
    ASSERT_EQ(4u, lang.commentPairs.size());
    EXPECT_EQ("/\\*", lang.commentPairs[2].first);
    EXPECT_EQ("\\*/", lang.commentPairs[2].second);
    EXPECT_EQ("[;\\\"]", lang.patterns[0].strRejectList);

    BuildFunctionLanguage(11, lang);
    EXPECT_EQ(0, lang.nCaseFlag);
    // The trailing "|" gives no empty token.
    EXPECT_EQ((std::vector<std::string>{"function", "procedure", "destructor", "constructor"}),
              SplitTokenList(lang.patterns[0].strRejectList));

    // Tcl's nesting opener is not its block open.
    BuildFunctionLanguage(29, lang);
    EXPECT_EQ("\\{>", lang.strNestingOpeners);
    EXPECT_EQ("\\{", lang.patterns[0].strBlockOpen);

    // Objective-C rejects a preprocessor line or a ";" before the body.
    BuildFunctionLanguage(5, lang);
    ASSERT_EQ(4u, lang.patterns.size());
    for (const FunctionPattern& set : lang.patterns)
        EXPECT_EQ((std::vector<std::string>{"#", ";"}), SplitTokenList(set.strRejectList));

    BuildFunctionLanguage(38, lang);
    EXPECT_EQ("\\<FUNCTION\\>|\\<PROCEDURE\\>", lang.strNestedDeclarations);
    BuildFunctionLanguage(30, lang);
    EXPECT_TRUE(lang.commentPairs.empty());

    EXPECT_TRUE(SplitTokenList("").empty());
    EXPECT_TRUE(SplitTokenList("||").empty());
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), SplitTokenList("|a||b|"));
}

// --- one source per row ---------------------------------------------------------------------

struct RowCase {
    std::vector<int> ids;
    const char* text;
    std::vector<std::pair<std::string, Sci_Position>> expected; // name, line
};

const RowCase kRowCases[] = {
    {{1},
     "<?php\nfunction hello($a, $b) {\n  return $a;\n}\nfunction &ref() {\n}\n",
     {{"hello", 1}, {"ref", 4}}},
    {{2, 3},
     "#include <stdio.h>\nint add(int a, int b)\n{\n    return a + b;\n}\nstatic void Widget::draw() const {\n}\n"
     "int proto(int x);\n",
     {{"add", 1}, {"draw", 5}}},
    {{4, 6},
     "public class Foo {\n    public int bar(int x) {\n        return x;\n    }\n    void baz() { }\n}\n",
     {{"bar", 1}, {"baz", 4}}},
    {{5},
     "@interface Foo\n- (void)doThing:(int)x;\n- (void)other:(int)y;\n@end\n@implementation Foo\n"
     "- (void)doThing:(int)x {\n}\n- (void)other:(int)y {\n}\n+ (id)make\n{\n}\n@end\n",
     {{"doThing", 5}, {"other", 7}, {"make", 9}}},
    {{7},
     "IDD_ABOUT DIALOG 0, 0, 100, 50\nBEGIN\n    LTEXT \"x\", -1, 0, 0, 10, 10\nEND\n1 VERSIONINFO\nBEGIN\n"
     "    BLOCK \"StringFileInfo\"\n    BEGIN\n    END\nEND\nIDR_MAIN MENU\nBEGIN\n    POPUP \"&File\"\n    BEGIN\n"
     "        MENUITEM \"E&xit\", 100\n    END\nEND\n",
     {{"IDD_ABOUT", 0}, {"1", 4}, {"IDR_MAIN", 10}}},
    {{8, 19},
     "function alpha(a, b) {\n  return a;\n}\nvar beta = function(x) {\n};\nobj.gamma = function () {\n};\n",
     {{"alpha", 0}, {"beta", 3}, {"obj.gamma", 5}}},
    {{11},
     "program Demo;\nprocedure Hello(x: Integer);\nbegin\n  if x > 0 then\n  begin\n    WriteLn(x);\n  end;\nend;\n"
     "function TFoo.Twice(n: Integer): Integer;\nvar k: Integer;\nbegin\n  Twice := n * 2;\nend;\nbegin\nend.\n",
     {{"Hello", 1}, {"TFoo.Twice", 8}}},
    {{12}, "@echo off\n:start\necho hi\n:: comment\n:end_label\ngoto :eof\n", {{"start", 1}, {"end_label", 4}}},
    {{13},
     "; settings\n[General]\nkey=value\n[Window Pos]\n\"quoted\"\n",
     {{"General", 1}, {"Window Pos", 3}, {"quoted", 4}}},
    {{16}, "Function Add(a, b)\n  Add = a + b\nEnd Function\nSub Main()\n  MsgBox \"x\"\nEnd Sub\n", {{"Add", 0}, {"Main", 3}}},
    {{17},
     "CREATE FUNCTION dbo.Total(@a int)\nRETURNS int\nAS\nBEGIN\n  RETURN @a\nEND\nGO\nCREATE PROCEDURE dbo.Report\n"
     "AS\n  SELECT 1\nGO\n",
     {{"dbo.Total", 0}, {"dbo.Report", 7}}},
    {{18},
     "Private Sub Form_Load()\n  x = 1\nEnd Sub\nPublic Function Square(n As Integer) As Integer\n  Square = n * n\n"
     "End Function\n",
     {{"Form_Load", 0}, {"Square", 3}}},
    {{21}, "use strict;\nsub greet {\n    my $n = shift;\n    print $n;\n}\nsub other { return 1; }\n", {{"greet", 1}, {"other", 5}}},
    {{22},
     "import os\n\ndef first(a, b):\n    return a\n\nclass K:\n    def method(self,\n               x):\n        pass\n"
     "# def commented(x):\n",
     {{"first", 2}, {"method", 6}, {"commented", 9}}},
    {{23},
     "local M = {}\nfunction M.add(a, b)\n  if a then\n    return a + b\n  end\n  return b\nend\nM.sub = function(x)\n"
     "  return x\nend\nreturn M\n",
     {{"M.add", 1}, {"M.sub", 7}}},
    {{25},
     "      PROGRAM MAIN\n      CALL HELLO(1)\n      END\n      SUBROUTINE HELLO(N)\n      PRINT *, N\n      END\n"
     "      FUNCTION TWICE(X)\n      TWICE = 2 * X\n      END\n",
     {{"MAIN", 0}, {"HELLO", 3}, {"TWICE", 6}}},
    {{26}, "#!/bin/sh\nfunction setup {\n  echo \"setup\"\n}\nteardown () {\n  echo done\n}\n", {{"setup", 1}, {"teardown", 4}}},
    {{27},
     "package {\n  public class A {\n    public function run(x:int, y:String):void {\n      trace(x);\n    }\n  }\n}\n",
     {{"run", 2}}},
    {{28},
     "Function .onInit\n  StrCpy $0 1\nFunctionEnd\nSection \"Main Files\" SecMain\n  SetOutPath $INSTDIR\nSectionEnd\n"
     "Section \"Docs\"\nSectionEnd\n",
     {{".onInit", 0}, {"SecMain", 3}, {"Docs", 6}}},
    {{29},
     "proc greet {name} {\n    puts \"hi $name\"\n}\nproc add {a b} {\n    return [expr {$a + $b}]\n}\n",
     {{"greet", 0}, {"add", 3}}},
    {{30}, "(defun square (x)\n  (* x x))\n(DEFUN my-add (a b) (+ a b))\n", {{"square", 0}, {"my-add", 2}}},
    {{32}, "section .text\nstart:\n    mov eax, 1\nloop_top:   ; comment\n    dec eax\n", {{"start", 1}, {"loop_top", 3}}},
    {{38},
     "entity counter is\n  port (clk : in std_logic);\nend counter;\narchitecture rtl of counter is\nbegin\n"
     "  process (clk)\n  begin\n    if rising_edge(clk) then\n      q <= d;\n    end if;\n  end process;\nend rtl;\n",
     {{"counter", 0}, {"process", 5}}},
};

TEST_F(ScanTest, EachLanguageRowFindsItsRoutines)
{
    for (const RowCase& c : kRowCases) {
        for (int id : c.ids) {
            SCOPED_TRACE("id " + std::to_string(id));
            ExpectListing(id, c.text, c.expected);
        }
    }
}

// --- comments ------------------------------------------------------------------------------

struct CommentCase {
    const char* what;
    const char* text;
    std::vector<std::pair<Sci_Position, Sci_Position>> ranges;
};

const CommentCase kCommentCases[] = {
    {"empty text", "", {}},
    {"no comment", "int a = 1;\n", {}},
    {"a line comment on the last line ends at its line end", "x\n// c\n", {{2, 6}}},
    {"an unterminated block comment runs to the end", "a /* b\nc", {{2, 8}}},
    {"the closing pattern is searched from one past the opening", "/*/ x /* y */", {{0, 3}, {6, 13}}},
    {"an opening inside an earlier range is passed over; strings count", "/* // \" */ \"s\" // t", {{0, 10}, {11, 14}, {15, 19}}},
};

TEST_F(ScanTest, CommentRangesFollowTheirPairs)
{
    for (const CommentCase& c : kCommentCases) {
        std::vector<CommentRange> got = Comments(2, c.text);
        std::vector<std::pair<Sci_Position, Sci_Position>> ranges;
        for (const CommentRange& r : got)
            ranges.push_back({r.nStart, r.nEnd});
        EXPECT_EQ(c.ranges, ranges) << c.what << ": " << Describe(got);
    }
}

TEST_F(ScanTest, CommentLookUpAgreesWithTheWalk)
{
    Load("/* a */ b // c\n\"d\" e /*/ f\n");
    CFunctionScan scan(editor);
    scan.SetLanguage(2);
    scan.Run();
    const CCommentRanges& ranges = scan.GetCommentRanges();
    ASSERT_FALSE(ranges.GetRanges().empty());
    for (Sci_Position s = 0; s <= editor.GetLength(); s++)
        for (Sci_Position e = s; e <= editor.GetLength(); e++)
            ASSERT_EQ(ranges.ContainsByWalk(s, e), ranges.Contains(s, e)) << s << "," << e;
    EXPECT_TRUE(ranges.Contains(0, 7));
    EXPECT_FALSE(ranges.Contains(0, 8));
    EXPECT_FALSE(ranges.Contains(7, 8));
}

// --- headers and bodies ------------------------------------------------------------------------

struct EdgeCase {
    const char* what;
    int id;
    const char* text;
    std::vector<std::pair<std::string, Sci_Position>> expected;
};

const EdgeCase kEdgeCases[] = {
    {"empty text", 2, "", {}},
    {"a three-line parameter list", 2, "int f(int a,\n      int b,\n      int c)\n{\n}\n", {{"f", 0}}},
    {"a middle parameter line that does not match whole", 2, "int f(int a,\n      int b; x\n      int c)\n{\n}\n", {}},
    {"\";\" before \"{\"", 2, "int g(int x);\nint h(int y)\n{\n}\n", {{"h", 1}}},
    {"a call inside a body is no routine", 2, "void f() {\n  g(1);\n}\n", {{"f", 0}}},
    {"an unmatched parenthesis", 2, "int f(int a\n{\n}\n", {}},
    {"BEGIN and END with an END missing", 7, "IDD_X DIALOG 0,0,1,1\nBEGIN\n  BEGIN\nEND\n", {}},
    {"a header in a comment, its body outside", 2, "/* int f(int a) */ {\n}\n", {}},
    {"a routine commented out whole", 2, "/* int g(int a) {\n} */\n", {{"g", 0}}},
    {"a closing brace in a comment ends a body outside comments", 7, "X MENU\nBEGIN\n// END\nEND\n", {{"X", 0}}},
    {"a header in a comment of a language without block open", 22, "# def gone(x):\n", {{"gone", 0}}},
    {"a nested routine makes the outer one's reject list count", 11, "procedure Outer;\n  function Inner: Integer;\n  begin\n    Inner := 1;\n  end;\nbegin\nend;\n", {{"Inner", 1}}},
    {"a routine inside a routine is not top level", 21, "sub outer {\n  sub inner {\n  }\n}\n", {{"outer", 0}}},
};

TEST_F(ScanTest, EdgeCasesOfHeadersAndBodies)
{
    for (const EdgeCase& c : kEdgeCases) {
        SCOPED_TRACE(c.what);
        ExpectListing(c.id, c.text, c.expected);
    }
}

TEST_F(ScanTest, TwoSetsFindingOneHeaderGiveOneTopLevelEntry)
{
    Load("Sub Main()\n  x = 1\nEnd Sub\n");
    CFunctionScan scan(editor);
    ASSERT_TRUE(scan.SetLanguage(18));
    ASSERT_TRUE(scan.Run());
    ASSERT_EQ(2u, scan.GetAllEntries().size());
    EXPECT_EQ(scan.GetAllEntries()[0].nEndPos, scan.GetAllEntries()[1].nEndPos);
    ASSERT_EQ(1u, scan.GetTopLevelEntries().size());
    EXPECT_EQ("Main", scan.GetTopLevelEntries()[0].strName);
}

TEST_F(ScanTest, TclNestsOnItsOwnOpenerOnlyWhenTheBraceMatchFails)
{
    // The body's braces do not balance, so the block close is searched:
    // a plain "{" is no nesting opener, "{>" is one. (The second set reads
    // "{x}" as the body and lists the routine either way.)
    for (auto c : {std::make_pair("proc f {x} {\n    set a {\n}\n", true),
                   std::make_pair("proc f {x} {\n    puts {>\n}\n", false)}) {
        SCOPED_TRACE(c.first);
        const std::string text = c.first;
        Load(text);
        CFunctionScan scan(editor);
        ASSERT_TRUE(scan.SetLanguage(29));
        ASSERT_TRUE(scan.Run());
        ASSERT_EQ(1u, scan.GetTopLevelEntries().size());
        EXPECT_EQ("f", scan.GetTopLevelEntries()[0].strName);
        Sci_Position nEnd = c.second ? (Sci_Position)text.rfind('}') + 1 : (Sci_Position)text.find('}') + 1;
        EXPECT_EQ(nEnd, scan.GetTopLevelEntries()[0].nEndPos);
    }
}

TEST_F(ScanTest, EntriesRecordTheirHeaderAndBody)
{
    const std::string text = "// x\nint add(int a,\n        int b)\n{\n  return a;\n}\n";
    Load(text);
    CFunctionScan scan(editor);
    ASSERT_TRUE(scan.SetLanguage(2));
    ASSERT_TRUE(scan.Run());
    ASSERT_EQ(1u, scan.GetTopLevelEntries().size());
    const FunctionEntry& e = scan.GetTopLevelEntries()[0];
    EXPECT_EQ(1, e.nLine);
    EXPECT_EQ(5, e.nLineStart);
    EXPECT_EQ((Sci_Position)text.find("add"), e.nMatchStart);
    // Past the closing parenthesis once the parameters are checked.
    EXPECT_EQ((Sci_Position)text.find(')') + 1, e.nMatchEnd);
    EXPECT_EQ((Sci_Position)text.rfind('}') + 1, e.nEndPos);
    EXPECT_TRUE(e.bParamCheck);
    EXPECT_FALSE(e.bInComment);
}

TEST_F(ScanTest, AnUnsupportedLanguageFindsNothing)
{
    Load("int main() {\n}\n");
    CFunctionScan scan(editor);
    EXPECT_FALSE(scan.SetLanguage(0));
    EXPECT_TRUE(scan.Run());
    EXPECT_TRUE(scan.GetTopLevelEntries().empty());
}

TEST_F(ScanTest, ACancelledScanStops)
{
    std::string text;
    for (int i = 0; i < 200; i++)
        text += "int f" + std::to_string(i) + "(int a) {\n}\n";
    Load(text);
    CFunctionScan scan(editor);
    volatile LONG cancel = 1;
    scan.SetCancelFlag(&cancel);
    ASSERT_TRUE(scan.SetLanguage(2));
    EXPECT_FALSE(scan.Run());
    EXPECT_TRUE(scan.GetTopLevelEntries().empty());
}

// --- the remembering scan against the plain one ---------------------------------------------------

TEST_F(ScanTest, TheRememberingScanEqualsThePlainScan)
{
    std::mt19937 rng(20261210);
    const int kIds[] = {1, 2, 4, 5, 7, 8, 11, 12, 13, 16, 17, 18, 21, 22, 23, 25, 26, 27, 28, 29, 30, 32, 38};
    for (int round = 0; round < 12; round++) {
        std::string text = RandomSource(rng, 60);
        for (int id : kIds) {
            Load(text);
            CFunctionScan fast(editor), plain(editor);
            fast.SetLanguage(id);
            fast.Run();
            std::vector<FunctionEntry> fastAll = fast.GetAllEntries().ToVector();
            std::vector<FunctionEntry> fastTop = fast.GetTopLevelEntries().ToVector();
            plain.SetPlainSearch(true);
            plain.SetLanguage(id);
            plain.Run();
            ASSERT_EQ(plain.GetAllEntries().size(), fastAll.size()) << "id " << id << " text:\n"
                                                                    << text;
            for (size_t i = 0; i < fastAll.size(); i++) {
                const FunctionEntry& a = plain.GetAllEntries()[i];
                const FunctionEntry& b = fastAll[i];
                ASSERT_TRUE(a.strName == b.strName && a.nLine == b.nLine && a.nMatchStart == b.nMatchStart &&
                            a.nMatchEnd == b.nMatchEnd && a.nEndPos == b.nEndPos && a.bInComment == b.bInComment)
                    << "id " << id << " entry " << i << " " << a.strName << "/" << b.strName << " end " << a.nEndPos
                    << "/" << b.nEndPos << " text:\n"
                    << text;
            }
            EXPECT_EQ(Listed(plain.GetTopLevelEntries()), Listed(fast.GetTopLevelEntries()));

            // The pane's scan, for the list alone, keeps the same top-level
            // entries and nothing else.
            CFunctionScan listOnly(editor);
            listOnly.SetListOnly(true);
            listOnly.SetLanguage(id);
            ASSERT_TRUE(listOnly.Run());
            EXPECT_TRUE(listOnly.GetAllEntries().empty());
            EXPECT_TRUE(listOnly.GetCommentRanges().GetRanges().empty());
            const CFunctionEntries& listed = listOnly.GetTopLevelEntries();
            ASSERT_EQ(fastTop.size(), listed.size()) << "id " << id << " text:\n"
                                                     << text;
            for (size_t i = 0; i < listed.size(); i++) {
                const FunctionEntry& a = fastTop[i];
                const FunctionEntry& b = listed[i];
                ASSERT_TRUE(a.strName == b.strName && a.nLine == b.nLine && a.nMatchStart == b.nMatchStart &&
                            a.nMatchEnd == b.nMatchEnd && a.nLineStart == b.nLineStart && a.nEndPos == b.nEndPos &&
                            a.bInComment == b.bInComment && a.bParamCheck == b.bParamCheck)
                    << "id " << id << " entry " << i << " text:\n"
                    << text;
            }
        }
    }
}

// The shapes the remembering exists for: many headers before one distant
// body, call-shaped lines after the last brace, and many counted tokens.
TEST_F(ScanTest, TheRememberingScanEqualsThePlainScanOnLongStretches)
{
    std::string prototypes;
    for (int i = 0; i < 300; i++)
        prototypes += "int proto" + std::to_string(i) + "(int a); /* ; */\n";
    prototypes += "int main(void)\n{\n  return 0;\n}\n";
    std::string calls = "void last(void) {\n}\n";
    for (int i = 0; i < 300; i++)
        calls += "call" + std::to_string(i) + "(a, b) // end\n";
    std::string pascalText;
    for (int i = 0; i < 100; i++)
        pascalText += "function F" + std::to_string(i) + ": Integer; forward;\n";
    pascalText += "procedure Run;\nbegin\n  if x then begin\n  end;\nend;\n";
    for (auto c : {std::make_pair(2, prototypes), std::make_pair(2, calls), std::make_pair(11, pascalText),
                   std::make_pair(16, calls)}) {
        Listing fast = ScanText(c.first, c.second, false);
        Listing plain = ScanText(c.first, c.second, true);
        EXPECT_TRUE(fast == plain) << "id " << c.first << ": " << fast.size() << " against " << plain.size();
    }
    Listing found = ScanText(2, prototypes);
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ("main", found[0].first);
    ASSERT_EQ(1u, ScanText(2, calls).size());
}

// --- steps: searches in pieces of lines, braces counted alike -----------------------------

// A search made a piece at a time finds what one search over the range
// finds, and leaves the target as it does; ranges start and end anywhere,
// inside line ends and characters too, and patterns anchor, match empty
// text or take a line end character where the range allows it. Lines longer
// than a piece go to the matcher (a back-reference stays with the
// component).
TEST_F(ScanTest, ASearchInPiecesFindsWhatOneSearchFinds)
{
    const std::string texts[] = {
        "int a;\r\nfoo(x)\r\n\r\n  bar y\r\nlast",
        "one\ntwo\n\nthree four\nfive\n",
        "\n\n\nx\n\n",
        "abc",
        "a\xC3\xA9 b;\r\nb\xC3\xA9"
        "c\n\xE2\x82\xAC"
        "x",
    };
    const char* const patterns[] = {"foo", "^bar", "y$", "^$", "[a-z]*", "[^a-z]", "\\<t[a-z]+", "e$", "x", "\\(",
                                    "[\r\n]", "a.", "\\<b[a-z]*\\>", "[a-c-e]+", "[ab]?c", "[^;]*$", "(a)b",
                                    "\\>", "o*", "\\w+ ", "b\\1"};
    for (const std::string& text : texts) {
        Load(text);
        const Sci_Position nLength = (Sci_Position)text.size();
        for (const char* pattern : patterns) {
            for (Sci_Position nFrom = 0; nFrom <= nLength; nFrom++) {
                for (Sci_Position nTo = nFrom; nTo <= nLength; nTo++) {
                    editor.SetSearchFlags(SCFIND_REGEXP | SCFIND_POSIX | SCFIND_WHOLEWORD);
                    Sci_Position nWhole = editor.SearchRange(pattern, (Sci_Position)strlen(pattern), nFrom, nTo);
                    Sci_Position nStart = editor.GetTargetStart(), nEnd = editor.GetTargetEnd();
                    for (Sci_Position nPiece : {1, 2, 3, 5}) {
                        ScanPace pace;
                        pace.nPiece = nPiece;
                        Sci_Position nPos = pace.Search(editor, pattern, nFrom, nTo);
                        ASSERT_TRUE(nPos == nWhole && editor.GetTargetStart() == nStart &&
                                    editor.GetTargetEnd() == nEnd)
                            << "\"" << pattern << "\" in [" << nFrom << "," << nTo << "] pieces of " << nPiece << ": "
                            << nPos << " [" << editor.GetTargetStart() << "," << editor.GetTargetEnd() << "] against "
                            << nWhole << " [" << nStart << "," << nEnd << "] text: " << text;
                    }
                }
            }
        }
    }
}

// What is near is found after a short read, however long the text and
// however large a piece: a brace whose match is close, and the first match
// of a search on a long line; what is far is read in pieces that grow to a
// piece at most.
TEST_F(ScanTest, WhatIsNearIsFoundAfterAShortRead)
{
    const std::string text = "f(a) {b} {" + std::string(600 * 1024, 'x') + "}";
    Load(text);
    const Sci_Position nLength = (Sci_Position)text.size();
    Sci_Position nRead = 0, nMost = 0;
    ScanPace pace;
    pace.meter = [&](Sci_Position nBytes) {
        nRead += nBytes;
        nMost = std::max(nMost, nBytes);
    };
    editor.SetSearchFlags(SCFIND_REGEXP | SCFIND_POSIX);
    struct Near {
        const char* what;
        std::function<Sci_Position()> find;
        Sci_Position nExpected;
    } nearCases[] = {
        {"the parenthesis", [&] { return pace.MatchBrace(editor, 1); }, 3},
        {"the brace", [&] { return pace.MatchBrace(editor, 5); }, 7},
        {"the brace backwards", [&] { return pace.MatchBrace(editor, 7); }, 5},
        {"the first brace of the line", [&] { return pace.Search(editor, "\\{", 0, nLength); }, 5},
        {"the first word", [&] { return pace.Search(editor, "[a-z]+", 3, nLength); }, 6},
    };
    for (const Near& c : nearCases) {
        nRead = 0;
        EXPECT_EQ(c.nExpected, c.find()) << c.what;
        EXPECT_GT(nRead, 0) << c.what;
        EXPECT_LE(nRead, 2048) << c.what;
    }
    nRead = nMost = 0;
    EXPECT_EQ(nLength - 1, pace.MatchBrace(editor, 9));
    EXPECT_GE(nRead, nLength - 10);
    EXPECT_LE(nMost, pace.nPiece);
    nRead = nMost = 0;
    EXPECT_EQ(nLength - 1, pace.Search(editor, "\\}", 8, nLength));
    EXPECT_GE(nRead, nLength - 10);
    EXPECT_LE(nMost, pace.nPiece);
}

// On an uncoloured text the brace match counts as the component's does, in
// both directions and across pieces.
TEST_F(ScanTest, TheBraceMatchAgreesWithTheComponentsOnAnUncolouredText)
{
    std::mt19937 rng(20261211);
    const char kChars[] = "(){}[]<>ab\n";
    std::uniform_int_distribution<size_t> pick(0, sizeof kChars - 2);
    for (int round = 0; round < 20; round++) {
        std::string text;
        for (int i = 0; i < 80; i++)
            text += kChars[pick(rng)];
        Load(text);
        for (Sci_Position nPos = -1; nPos <= (Sci_Position)text.size(); nPos++) {
            Sci_Position nExpected = editor.Call(SCI_BRACEMATCH, (uptr_t)nPos);
            for (Sci_Position nPiece : {1, 4, 1000}) {
                ScanPace pace;
                pace.nPiece = nPiece;
                ASSERT_EQ(nExpected, pace.MatchBrace(editor, nPos))
                    << "at " << nPos << " pieces of " << nPiece << " text: " << text;
            }
        }
    }
}

// The scan of a coloured document (braces and parentheses inside strings,
// characters and comments, which the component's brace match would skip)
// lists what the scan of the same text without colours lists.
TEST_F(ScanTest, AColouredTextIsScannedAsItsUncolouredCopy)
{
    const std::string text = "int first(int a)\n{\n  puts(\"}\");\n  return a;\n}\nint third(int b)\n{\n}\n";
    // Name, line and end of each top-level entry (the end is where caret
    // tracking stops counting the caret inside the routine).
    auto scanned = [&](bool bColoured) {
        Load(text);
        if (bColoured) {
            EXPECT_TRUE(editor.SetLexerLanguage("cpp"));
            editor.Call(SCI_COLOURISE, 0, -1);
            EXPECT_NE(editor.Call(SCI_GETSTYLEAT, text.find("\"}\"")), editor.Call(SCI_GETSTYLEAT, text.find('{')));
        }
        CFunctionScan scan(editor);
        EXPECT_TRUE(scan.SetLanguage(2));
        EXPECT_TRUE(scan.Run());
        std::vector<std::string> out;
        for (const FunctionEntry& e : scan.GetTopLevelEntries())
            out.push_back(e.strName + "@" + std::to_string(e.nLine) + "-" + std::to_string(e.nEndPos));
        return out;
    };
    std::vector<std::string> plain = scanned(false);
    // Uncoloured, the first routine ends at the brace in its string.
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ("first@0-" + std::to_string(text.find('}') + 1), plain[0]);
    EXPECT_EQ(plain, scanned(true));
}

// A scan in small pieces with a step function finds the same entries as one
// in a single piece, and steps between its pieces.
TEST_F(ScanTest, AScanInSmallPiecesFindsTheSameEntries)
{
    std::mt19937 rng(20261212);
    const int kIds[] = {1, 2, 5, 11, 16, 22, 29, 38};
    for (int round = 0; round < 4; round++) {
        std::string text = RandomSource(rng, 80);
        Load(text);
        for (int id : kIds) {
            CFunctionScan whole(editor), pieces(editor);
            ScanPace one;
            one.nPiece = 0;
            whole.SetPace(one);
            whole.SetLanguage(id);
            ASSERT_TRUE(whole.Run());
            int nSteps = 0;
            ScanPace small;
            small.nPiece = 7;
            small.step = [&nSteps] { nSteps++; };
            pieces.SetPace(small);
            pieces.SetLanguage(id);
            ASSERT_TRUE(pieces.Run());
            ASSERT_EQ(whole.GetAllEntries().size(), pieces.GetAllEntries().size()) << "id " << id << " text:\n"
                                                                                   << text;
            for (size_t i = 0; i < pieces.GetAllEntries().size(); i++) {
                const FunctionEntry& a = whole.GetAllEntries()[i];
                const FunctionEntry& b = pieces.GetAllEntries()[i];
                ASSERT_TRUE(a.strName == b.strName && a.nMatchStart == b.nMatchStart && a.nMatchEnd == b.nMatchEnd &&
                            a.nEndPos == b.nEndPos && a.bInComment == b.bInComment)
                    << "id " << id << " entry " << i << " text:\n"
                    << text;
            }
            EXPECT_EQ(Listed(whole.GetTopLevelEntries()), Listed(pieces.GetTopLevelEntries()));
            if (!whole.GetAllEntries().empty())
                EXPECT_GT(nSteps, 0) << "id " << id;
        }
    }
}

// --- long lines: searched a piece of bytes at a time ---------------------------------------

// Every pattern the scan searches for a language, as it searches it: the
// header (cut after its "\(" where the parameter check applies), the parts of
// the parameter check, prefix and name, block open and close, each token of
// the reject, nesting and nested-declaration lists and the comment pairs.
struct SearchedPattern {
    std::string text;
    int nFlags;
};

std::vector<SearchedPattern> PatternsOfLanguage(int id)
{
    const int kFlags = SCFIND_REGEXP | SCFIND_POSIX | SCFIND_WHOLEWORD;
    std::vector<SearchedPattern> out;
    FunctionLanguage lang;
    if (!BuildFunctionLanguage(id, lang))
        return out;
    const int nFlags = kFlags | lang.nCaseFlag;
    auto add = [&](const std::string& text, int flags) {
        if (!text.empty())
            out.push_back({text, flags});
    };
    for (const FunctionPattern& set : lang.patterns) {
        const std::string& params = set.strParameters;
        size_t nOpen = params.find("\\(");
        size_t nClose = params.rfind("\\)");
        if (nOpen != std::string::npos && nClose != std::string::npos && nClose > nOpen) {
            add(set.strPrefix + set.strName + params.substr(0, nOpen + 2), nFlags);
            add(params.substr(nOpen + 2, nClose - (nOpen + 2)), nFlags);
            add(params.substr(nOpen + 2), nFlags);
        } else {
            add(set.strPrefix + set.strName + params, nFlags);
        }
        add(set.strPrefix, nFlags);
        add(set.strName, nFlags);
        add(set.strBlockOpen, nFlags);
        add(set.strBlockClose, nFlags);
        for (const std::string& token : SplitTokenList(set.strRejectList))
            add(token, nFlags);
    }
    for (const std::string& token : SplitTokenList(lang.strNestingOpeners))
        add(token, nFlags);
    for (const std::string& token : SplitTokenList(lang.strNestedDeclarations))
        add(token, nFlags);
    for (const CommentPairText& pair : lang.commentPairs) {
        add(pair.first, kFlags);
        add(pair.second, kFlags);
    }
    return out;
}

std::vector<int> SupportedIds()
{
    std::vector<int> ids;
    FunctionLanguage lang;
    for (int id = 1; id <= 38; id++)
        if (BuildFunctionLanguage(id, lang))
            ids.push_back(id);
    return ids;
}

// The sources of the rows and random ones, as one line each: their line
// ends become blanks.
std::vector<std::string> OneLineSources(std::mt19937& rng, int nRandom)
{
    std::vector<std::string> texts;
    for (const RowCase& c : kRowCases)
        texts.push_back(c.text);
    for (int i = 0; i < nRandom; i++)
        texts.push_back(RandomSource(rng, 25));
    for (std::string& text : texts)
        std::replace(text.begin(), text.end(), '\n', ' ');
    return texts;
}

// The component's word characters as it starts: letters, digits, "_" and
// every byte from 0x80.
struct DefaultWordChars {
    bool chars[256];
    DefaultWordChars()
    {
        for (int c = 0; c < 256; c++)
            chars[c] = c >= 0x80 || c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    }
    operator const bool*() const { return chars; }
};

// The matcher takes every pattern of the language table: no language is
// left to the component's search, which cannot pause inside a line.
TEST(LineMatcher, TakesEveryPatternOfTheTable)
{
    const DefaultWordChars word;
    for (int id : SupportedIds()) {
        for (const SearchedPattern& p : PatternsOfLanguage(id)) {
            CLineMatcher matcher;
            EXPECT_TRUE(matcher.Compile(p.text, (p.nFlags & SCFIND_MATCHCASE) != 0, true, word))
                << "id " << id << ": " << p.text;
        }
    }
}

// Patterns the matcher leaves to the component, and patterns of the
// component's own quirks that it matches as the component does.
TEST(LineMatcher, RefusesWhatItCannotMatchExactly)
{
    bool word[256] = {};
    for (int c = 'a'; c <= 'z'; c++)
        word[c] = true;
    struct Case {
        const char* pattern;
        bool bTaken;
    } cases[] = {
        {"", false},
        {"a\\1", false},
        {"a*?b", false},
        {"a+?", false},
        {"a??", false},
        {"$", false},
        {"*a", false},
        {"^*", false},
        {"\\<\\>", false},
        {"\\>a", false},
        {"[ab", false},
        {"(a", false},
        {"a)", false},
        {"()", false},
        {"(a)*", false},
        {"a$", true},
        {"^$", true},
        {"a**", true},
        {"[ab]?", true},
        {"a\\>", true},
        {"\\(", true},
        {"(a)(b)", true},
        {"[a-]", true},
        {"x\\", true},
        {"a$b", true},
    };
    for (const Case& c : cases) {
        CLineMatcher matcher;
        EXPECT_EQ(c.bTaken, matcher.Compile(c.pattern, true, true, word)) << c.pattern;
    }
}

// The component's answers, fed a byte, two, five or all at a time: the
// first start that matches wins, repetitions are as long as the rest
// allows, and the ends of the stretch count as the component counts them.
TEST(LineMatcher, FindsTheComponentsMatchWhateverThePieces)
{
    const DefaultWordChars word;
    struct Case {
        const char* what;
        const char* pattern;
        const char* text;
        int nFrom, nTo;
        bool bMatchCase;
        int nStart, nEnd; // -1: no match
    } cases[] = {
        {"the longest repetition that lets the rest match", "a.*b", "xaxxbxxbx", 0, 9, true, 1, 8},
        {"bytes past the end are not seen", "a.*b", "xaxxbxxbx", 0, 6, true, 1, 5},
        {"a word starts where the stretch starts", "\\<fix", "prefix fix", 3, 10, true, 3, 6},
        {"a word ends where the stretch ends", "fix\\>", "prefix fix", 0, 6, true, 3, 6},
        {"the first start that matches", "fix\\>", "prefix fix", 6, 10, true, 7, 10},
        {"a word ends inside the stretch", "b*\\>", "ab cd", 0, 5, true, 1, 2},
        {"no word ends where the stretch starts", "b*\\>", "ab cd", 2, 5, true, -1, -1},
        {"\"^\" holds where the stretch starts", "^b", "abc", 1, 3, true, 1, 2},
        {"\"$\" holds where the stretch ends", "c$", "abcc", 0, 3, true, 2, 3},
        {"\"?\" repeats a class", "[ab]?c", "aaabc", 0, 5, true, 0, 5},
        {"\"?\" takes one character at most", "x?y", "xxy", 0, 3, true, 1, 3},
        {"case ignored", "ab+", "xABBBbz", 0, 7, false, 1, 6},
        {"a range after a range starts past the first one's start", "[a-c-e]+", "edcba", 0, 5, true, 0, 5},
        {"parentheses as characters", "\\([a-z, ]*\\)", "f(a, b) (c)", 0, 11, true, 1, 7},
        {"an empty match at the start", "b*", "abbb", 0, 4, true, 0, 0},
        {"an anchored pattern on an empty stretch", "^a*", "", 0, 0, true, 0, 0},
    };
    for (const Case& c : cases) {
        CLineMatcher matcher;
        ASSERT_TRUE(matcher.Compile(c.pattern, c.bMatchCase, true, word)) << c.what;
        for (size_t nPiece : {(size_t)1, (size_t)2, (size_t)5, std::strlen(c.text) + 1}) {
            matcher.Begin(c.nFrom, c.nTo);
            while (!matcher.Settled() && matcher.Next() < c.nTo)
                matcher.Feed(c.text + matcher.Next(), std::min(nPiece, (size_t)(c.nTo - matcher.Next())));
            matcher.Finish();
            EXPECT_EQ(c.nStart, matcher.MatchStart()) << c.what << ", pieces of " << nPiece;
            EXPECT_EQ(c.nEnd, matcher.MatchEnd()) << c.what << ", pieces of " << nPiece;
        }
    }
}

// Every pattern of every language, over one-line sources, from and to
// anywhere: a long line searched a piece at a time gives the component's
// answer, match and target alike.
TEST_F(ScanTest, EveryPatternOnALongLineFindsWhatTheComponentFinds)
{
    std::mt19937 rng(20261213);
    std::vector<std::string> texts = OneLineSources(rng, 3);
    texts.push_back("caf\xC3\xA9 f(\xE2\x82\xAC) {x} \xC3\xA9t\xC3\xA9(a);");
    for (const std::string& text : texts) {
        Load(text);
        const Sci_Position nLength = (Sci_Position)text.size();
        std::uniform_int_distribution<Sci_Position> pos(0, nLength);
        std::vector<std::pair<Sci_Position, Sci_Position>> ranges = {{0, nLength}};
        for (int i = 0; i < 6; i++) {
            Sci_Position a = pos(rng), b = pos(rng);
            ranges.push_back({std::min(a, b), std::max(a, b)});
        }
        for (int id : SupportedIds()) {
            for (const SearchedPattern& p : PatternsOfLanguage(id)) {
                editor.SetSearchFlags(p.nFlags);
                for (const auto& range : ranges) {
                    Sci_Position nWhole =
                        editor.SearchRange(p.text.c_str(), (Sci_Position)p.text.size(), range.first, range.second);
                    Sci_Position nStart = editor.GetTargetStart(), nEnd = editor.GetTargetEnd();
                    for (Sci_Position nPiece : {3, 16}) {
                        ScanPace pace;
                        pace.nPiece = nPiece;
                        Sci_Position nPos = pace.Search(editor, p.text, range.first, range.second);
                        ASSERT_TRUE(nPos == nWhole && editor.GetTargetStart() == nStart && editor.GetTargetEnd() == nEnd)
                            << "id " << id << " \"" << p.text << "\" in [" << range.first << "," << range.second
                            << "] pieces of " << nPiece << ": " << nPos << " [" << editor.GetTargetStart() << ","
                            << editor.GetTargetEnd() << "] against " << nWhole << " [" << nStart << "," << nEnd
                            << "] text: " << text;
                    }
                }
            }
        }
    }
}

// Word characters are the document's: "\<", "\>" and "\w" follow a change
// of them on long lines as the component's search does.
TEST_F(ScanTest, ALongLineUsesTheDocumentsWordCharacters)
{
    Load("pre-fix fix-up -fix fix- x_fix");
    const char* const patterns[] = {"\\<fix", "fix\\>", "\\w+", "\\<[a-z-]+\\>"};
    for (const char* wordChars : {"", "abcdefghijklmnopqrstuvwxyz-"}) {
        if (*wordChars)
            editor.Call(SCI_SETWORDCHARS, 0, (sptr_t)wordChars);
        else
            editor.Call(SCI_SETCHARSDEFAULT);
        editor.SetSearchFlags(SCFIND_REGEXP | SCFIND_POSIX);
        for (const char* pattern : patterns) {
            for (Sci_Position nFrom = 0; nFrom < editor.GetLength(); nFrom++) {
                Sci_Position nWhole = editor.SearchRange(pattern, (Sci_Position)strlen(pattern), nFrom, editor.GetLength());
                Sci_Position nEnd = editor.GetTargetEnd();
                ScanPace pace;
                pace.nPiece = 2;
                ASSERT_EQ(nWhole, pace.Search(editor, pattern, nFrom, editor.GetLength()))
                    << pattern << " from " << nFrom << " word characters \"" << wordChars << "\"";
                ASSERT_EQ(nEnd, editor.GetTargetEnd()) << pattern << " from " << nFrom;
            }
        }
    }
    editor.Call(SCI_SETCHARSDEFAULT);
}

// Entries of a scan (held packed) or a plain list, compared field by field.
template <class Entries> bool SameEntries(const Entries& a, const Entries& b, std::string& why)
{
    if (a.size() != b.size()) {
        why = std::to_string(a.size()) + " entries against " + std::to_string(b.size());
        return false;
    }
    for (size_t i = 0; i < a.size(); i++) {
        const FunctionEntry x = a[i];
        const FunctionEntry y = b[i];
        if (!(x.strName == y.strName && x.nLine == y.nLine && x.nMatchStart == y.nMatchStart &&
              x.nMatchEnd == y.nMatchEnd && x.nLineStart == y.nLineStart && x.nEndPos == y.nEndPos &&
              x.bInComment == y.bInComment && x.bParamCheck == y.bParamCheck)) {
            why = "entry " + std::to_string(i) + ": " + x.strName + " [" + std::to_string(x.nMatchStart) + "," +
                  std::to_string(x.nEndPos) + "] against " + y.strName + " [" + std::to_string(y.nMatchStart) + "," +
                  std::to_string(y.nEndPos) + "]";
            return false;
        }
    }
    return true;
}

// The scan of every language over one-line sources, and over sources with
// one long line among short ones, in pieces small enough to put many
// boundaries inside each match: the same entries, in the same order, at
// the same positions, with the same comment ranges, as the scan in one
// piece.
TEST_F(ScanTest, AScanOfLongLinesInPiecesFindsWhatTheWholeScanFinds)
{
    std::mt19937 rng(20261214);
    std::vector<std::string> texts = OneLineSources(rng, 2);
    // A long line between short ones.
    for (int i = 0; i < 2; i++) {
        std::string line = RandomSource(rng, 20);
        std::replace(line.begin(), line.end(), '\n', ' ');
        texts.push_back(RandomSource(rng, 6) + line + "\n" + RandomSource(rng, 6));
    }
    const Sci_Position kPieces[] = {4, 33, 500};
    for (const std::string& text : texts) {
        Load(text);
        for (int id : SupportedIds()) {
            CFunctionScan whole(editor);
            ScanPace one;
            one.nPiece = 0;
            whole.SetPace(one);
            ASSERT_TRUE(whole.SetLanguage(id));
            ASSERT_TRUE(whole.Run());
            for (Sci_Position nPiece : kPieces) {
                CFunctionScan pieces(editor);
                ScanPace pace;
                pace.nPiece = nPiece;
                pieces.SetPace(pace);
                ASSERT_TRUE(pieces.SetLanguage(id));
                ASSERT_TRUE(pieces.Run());
                std::string why;
                ASSERT_TRUE(SameEntries(whole.GetAllEntries(), pieces.GetAllEntries(), why))
                    << "id " << id << " pieces of " << nPiece << ": " << why << "\ntext: " << text;
                ASSERT_TRUE(SameEntries(whole.GetTopLevelEntries(), pieces.GetTopLevelEntries(), why))
                    << "id " << id << " pieces of " << nPiece << ": " << why;
                EXPECT_EQ(Describe(whole.GetCommentRanges().GetRanges()), Describe(pieces.GetCommentRanges().GetRanges()))
                    << "id " << id << " pieces of " << nPiece;
            }
        }
    }
}

// One line of 300 KB whose identifiers of thousands of characters, none
// followed by a parenthesis, make the component's search of the line
// retry every one from each of its characters; then a few routines, one of
// them commented out as a whole (which is listed): between two steps the
// scan reads at most a piece, however long the line, and it still finds
// the routines at its end.
TEST_F(ScanTest, AStepOnALongLineReadsAtMostAPiece)
{
    std::string line;
    while (line.size() < 300 * 1024)
        line += std::string(5000, 'a') + " = " + std::string(3000, 'b') + "; ";
    line += "int first(int a) { return a; } /* int not(int b) { } */ int second(void) { }";
    Load(line);
    const Sci_Position kPiece = 4096;
    Sci_Position nSinceStep = 0, nMost = 0;
    int nSteps = 0;
    ScanPace pace;
    pace.nPiece = kPiece;
    pace.step = [&] {
        nSteps++;
        nSinceStep = 0;
    };
    pace.meter = [&](Sci_Position nBytes) {
        nSinceStep += nBytes;
        nMost = std::max(nMost, nSinceStep);
    };
    CFunctionScan scan(editor);
    scan.SetPace(pace);
    ASSERT_TRUE(scan.SetLanguage(2));
    {
        qmtest::WallLimit limit("the scan of one 300 KB line in pieces", std::chrono::seconds(120));
        ASSERT_TRUE(scan.Run());
    }
    EXPECT_EQ((std::vector<std::string>{"first", "not", "second"}), scan.GetTopLevelNames());
    EXPECT_GT(nMost, 0);
    EXPECT_LE(nMost, kPiece);
    // Each search of the header reads the whole line, a piece per step.
    EXPECT_GE(nSteps, (int)(line.size() / kPiece));
}

} // namespace
