// The wide regular-expression engine: one row per feature, with the match
// (start, length) expected or the compile error text.
#include "RegExpW.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstring>
#include <cwchar>
#include <future>
#include <random>
#include <string>
#include <thread>
#include <vector>

using filescan::CharSetDesc;
using filescan::CRegExpW;
using filescan::LiteralChar;

namespace {

struct RegexCase {
    const wchar_t* pattern;
    bool caseSensitive;
    const wchar_t* text;
    int start;
    int matchStart; // -1: no match
    int matchLength;
    const wchar_t* error; // expected compile error, or null
};

std::ostream& operator<<(std::ostream& os, const RegexCase& c)
{
    std::string p;
    for (const wchar_t* s = c.pattern; *s; ++s)
        p += *s < 128 ? static_cast<char>(*s) : '?';
    return os << "pattern \"" << p << "\" case=" << c.caseSensitive;
}

class RegexTable : public ::testing::TestWithParam<RegexCase> {
};

TEST_P(RegexTable, MatchesOrFailsAsExpected)
{
    const RegexCase& c = GetParam();
    CRegExpW re;
    const std::wstring pattern = c.pattern;
    const wchar_t* error = re.Compile(pattern.c_str(), static_cast<int>(pattern.size()), c.caseSensitive);
    if (c.error) {
        ASSERT_NE(nullptr, error);
        EXPECT_STREQ(c.error, error);
        EXPECT_FALSE(re.IsCompiled());
        EXPECT_EQ(0, re.Program()[0]) << "a failed compile leaves an empty program";
        return;
    }
    ASSERT_EQ(nullptr, error) << std::string(error ? "compile error" : "");
    const std::wstring text = c.text;
    const int pos = re.Search(text.c_str(), static_cast<int>(text.size()), c.start);
    EXPECT_EQ(c.matchStart, pos);
    EXPECT_EQ(c.matchLength, re.GetMatchLength());
}

const RegexCase kCases[] = {
    // Ordinary characters.
    {L"abc", true, L"xxabcxx", 0, 2, 3, nullptr},
    {L"abc", true, L"xxABCxx", 0, -1, -1, nullptr},
    {L"abc", false, L"xxABcxx", 0, 2, 3, nullptr},
    {L"bc", true, L"abcbc", 2, 3, 2, nullptr},
    {L"(a)", true, L"x(a)", 0, 1, 3, nullptr}, // bare parentheses are ordinary
    // Any character.
    {L"a.c", true, L"abc", 0, 0, 3, nullptr},
    {L"a.c", true, L"ac", 0, -1, -1, nullptr},
    // Begin of line: only where the search began.
    {L"^ab", true, L"abab", 0, 0, 2, nullptr},
    {L"^ab", true, L"abab", 2, 2, 2, nullptr},
    {L"^ab", true, L"xab", 0, -1, -1, nullptr},
    {L"a^b", true, L"a^b", 0, 0, 3, nullptr},
    // End of line: after the last character handed in.
    {L"ab$", true, L"abab", 0, 2, 2, nullptr},
    {L"ab$", true, L"ab\r\n", 0, -1, -1, nullptr},
    {L"$", true, L"abc", 0, 3, 0, nullptr},
    {L"a$b", true, L"a$b", 0, 0, 3, nullptr},
    // Closures: longest first; one character may repeat zero times.
    {L"ab*c", true, L"ac", 0, 0, 2, nullptr},
    {L"ab*c", true, L"abbbc", 0, 0, 5, nullptr},
    {L"a*", true, L"bbb", 0, 0, 0, nullptr},
    {L"x*", true, L"", 0, -1, -1, nullptr},
    {L"a.*b", true, L"a1b2b3", 0, 0, 5, nullptr},
    {L"ab+", true, L"abbb", 0, 0, 4, nullptr},
    {L"ab+", true, L"ac", 0, -1, -1, nullptr},
    {L"a**b", true, L"aab", 0, 0, 3, nullptr},
    {L"a*+b", true, L"aab", 0, 0, 3, nullptr},
    {L"[0-9]*x", true, L"12x", 0, 0, 3, nullptr},
    {L"[0-9]+", true, L"ab123c", 0, 2, 3, nullptr},
    // Classes.
    {L"[abc]", true, L"xxbx", 0, 2, 1, nullptr},
    {L"[a-c]+", true, L"xabcd", 0, 1, 3, nullptr},
    {L"[^a-c]", true, L"abcd", 0, 3, 1, nullptr},
    {L"[^a]", true, L"aaa", 0, -1, -1, nullptr},
    {L"[-a]", true, L"x-", 0, 1, 1, nullptr},
    {L"[]a]", true, L"x]", 0, 1, 1, nullptr},
    {L"[^-x]", true, L"-xa", 0, 2, 1, nullptr},
    {L"[-]", true, L"-", 0, 0, 0, L"Missing ]"}, // '-' then ']' both count as members
    {L"[a-]", true, L"-", 0, 0, 1, nullptr},
    {L"[\\t]", true, L"a\tb", 0, 1, 1, nullptr},
    {L"[\\]]", true, L"a]", 0, 1, 1, nullptr},
    {L"[z-a]", true, L"za", 0, 0, 1, nullptr}, // a backward range adds nothing beyond its start
    {L"[z-a]", true, L"a", 0, -1, -1, nullptr},
    {L"[a-c]", false, L"B", 0, 0, 1, nullptr},
    // Characters above 255 belong to classes by their own value.
    {L"[\u03b1-\u03c9]", true, L"x\u03b2y", 0, 1, 1, nullptr},
    {L"[a]", true, L"\u0161", 0, -1, -1, nullptr},
    {L"[^a]", true, L"\u0161", 0, 0, 1, nullptr},
    {L"[0-9]", true, L"\u0430", 0, -1, -1, nullptr},
    {L"[^0-9]", true, L"\u0430", 0, 0, 1, nullptr},
    {L"a", false, L"\u0161a", 0, 1, 1, nullptr},
    {L"[\u0430-\u044f]+", false, L"\u041c\u0438\u0440!", 0, 0, 3, nullptr},
    {L"\u00e9t\u00e9", false, L"\u00c9T\u00c9", 0, 0, 3, nullptr},
    {L"\u0436", false, L"\u0416", 0, 0, 1, nullptr},
    // Word begin and end.
    {L"\\<ab", true, L"cab ab", 0, 4, 2, nullptr},
    {L"ab\\>", true, L"abc ab", 0, 4, 2, nullptr},
    {L"\\<ab\\>", true, L"ab", 0, 0, 2, nullptr},
    {L"\\<ab", true, L"x_ab ab", 0, 5, 2, nullptr},
    {L"\\<\u00e9t\u00e9", true, L"\u00e9t\u00e9", 0, 0, 3, nullptr},
    {L"\\<t\u00e9", true, L"\u00e9t\u00e9", 0, -1, -1, nullptr}, // a non-ASCII letter is a word character
    // Tags and back-references (always compared exactly).
    {L"\\(ab\\)\\1", true, L"xabab", 0, 1, 4, nullptr},
    {L"\\(a*\\)b\\1", true, L"aabaa", 0, 0, 5, nullptr},
    {L"\\(ab\\)\\1", false, L"abAB", 0, -1, -1, nullptr},
    {L"\\(a\\)\\(b\\)\\2\\1", true, L"abba", 0, 0, 4, nullptr},
    // Escapes.
    {L"a\\tb", true, L"a\tb", 0, 0, 3, nullptr},
    {L"\\.", true, L"a.b", 0, 1, 1, nullptr},
    {L"\\q", false, L"Q", 0, -1, -1, nullptr},
    {L"\\q", false, L"q", 0, 0, 1, nullptr},
    {L"\\*", true, L"a*", 0, 1, 1, nullptr},
    // Compile errors.
    {L"*a", true, L"", 0, 0, 0, L"Empty closure"},
    {L"+", true, L"", 0, 0, 0, L"Empty closure"},
    {L"^*", true, L"", 0, 0, 0, L"Illegal closure"},
    {L"\\(a\\)*", true, L"", 0, 0, 0, L"Illegal closure"},
    {L"\\<*", true, L"", 0, 0, 0, L"Illegal closure"},
    {L"\\(a\\)\\1+", true, L"", 0, 0, 0, L"Illegal closure"},
    {L"[abc", true, L"", 0, 0, 0, L"Missing ]"},
    {L"[", false, L"", 0, 0, 0, L"Missing ]"},
    {L"\\(a\\1\\)", true, L"", 0, 0, 0, L"Cyclical reference"},
    {L"\\1", true, L"", 0, 0, 0, L"Undetermined reference"},
    {L"\\(a\\)\\2", true, L"", 0, 0, 0, L"Undetermined reference"},
    {L"\\<\\>", true, L"", 0, 0, 0, L"Null pattern inside \\<\\>"},
    {L"\\(\\(\\(\\(\\(\\(\\(\\(\\(\\(a\\)\\)\\)\\)\\)\\)\\)\\)\\)\\)", true, L"", 0, 0, 0,
     L"Too many \\(\\) pairs"},
    {L"\\(\\)", true, L"", 0, 0, 0, L"Null pattern inside \\(\\)"},
    {L"a\\)", true, L"", 0, 0, 0, L"Unmatched \\)"},
    {L"\\(a", true, L"", 0, 0, 0, L"Unmatched \\("},
};

INSTANTIATE_TEST_SUITE_P(Features, RegexTable, ::testing::ValuesIn(kCases));

TEST(RegExpW, TrailingBackslashMatchesCharacterZero)
{
    CRegExpW re;
    ASSERT_EQ(nullptr, re.Compile(L"a\\", 2, 1));
    const wchar_t text[] = {L'x', L'a', 0, L'b'};
    EXPECT_EQ(1, re.Search(text, 4, 0));
    EXPECT_EQ(2, re.GetMatchLength());
}

TEST(RegExpW, EmptyPatternKeepsTheEarlierProgram)
{
    CRegExpW re;
    EXPECT_STREQ(L"No previous regular expression", re.Compile(L"", 0, 1));
    EXPECT_STREQ(L"No previous regular expression", re.Compile(nullptr, 0, 1));
    ASSERT_EQ(nullptr, re.Compile(L"ab", 2, 1));
    EXPECT_EQ(nullptr, re.Compile(L"", 0, 1));
    EXPECT_EQ(1, re.Search(L"xab", 3, 0));
}

TEST(RegExpW, FailedCompileLeavesNothingToMatch)
{
    CRegExpW re;
    ASSERT_EQ(nullptr, re.Compile(L"ab", 2, 1));
    ASSERT_NE(nullptr, re.Compile(L"[ab", 3, 1));
    EXPECT_EQ(-1, re.Search(L"ab", 2, 0));
    // And an empty pattern now has no earlier program to fall back on.
    EXPECT_STREQ(L"No previous regular expression", re.Compile(L"", 0, 1));
}

TEST(RegExpW, PatternLengthLimits)
{
    struct Limit {
        wchar_t ch;
        bool caseSensitive;
        int fits; // longest pattern of ch that compiles
    };
    // Case sensitive: two units per character; without case a letter is a
    // 33-unit class.
    const Limit limits[] = {{L'x', true, 1004}, {L'x', false, 61}, {L'7', true, 1004}};
    for (const Limit& l : limits) {
        CRegExpW re;
        const std::wstring ok(static_cast<size_t>(l.fits), l.ch);
        const std::wstring tooLong(static_cast<size_t>(l.fits) + 1, l.ch);
        EXPECT_EQ(nullptr, re.Compile(ok.c_str(), static_cast<int>(ok.size()), l.caseSensitive)) << l.fits;
        EXPECT_EQ(0, re.Search(ok.c_str(), static_cast<int>(ok.size()), 0));
        EXPECT_STREQ(L"Pattern too long",
                     re.Compile(tooLong.c_str(), static_cast<int>(tooLong.size()), l.caseSensitive))
            << l.fits + 1;
    }
}

TEST(RegExpW, AnchorSeparateFromStart)
{
    // With the anchor at the start of the line, '^' and '\<' look at the real
    // line start also when the search resumes further on.
    CRegExpW re;
    ASSERT_EQ(nullptr, re.Compile(L"^a", 2, 1));
    EXPECT_EQ(0, re.Search(L"aaa", 3, 0, 0));
    EXPECT_EQ(-1, re.Search(L"aaa", 3, 0, 1));
    ASSERT_EQ(nullptr, re.Compile(L"\\<a", 3, 1));
    EXPECT_EQ(-1, re.Search(L"aaa", 3, 0, 1));
    EXPECT_EQ(4, re.Search(L"aaa aaa", 7, 0, 1));
    ASSERT_EQ(nullptr, re.Compile(L"a\\>", 3, 1));
    EXPECT_EQ(2, re.Search(L"aaa", 3, 0, 2));
}

TEST(RegExpW, TagsRecordTheirText)
{
    CRegExpW re;
    ASSERT_EQ(nullptr, re.Compile(L"\\([a-z]+\\)=\\([0-9]*\\)", 21, 1));
    ASSERT_EQ(2, re.Search(L"  key=42;", 9, 0));
    EXPECT_EQ(2, re.GetTagStart(1));
    EXPECT_EQ(5, re.GetTagEnd(1));
    EXPECT_EQ(6, re.GetTagStart(2));
    EXPECT_EQ(8, re.GetTagEnd(2));
}

TEST(RegExpW, RepetitionsStayPolynomial)
{
    // Twenty repetitions that can split a run of 'a' in every way: plain
    // backtracking would try about 10^18 splits before giving up.
    std::wstring pattern;
    for (int i = 0; i < 20; ++i)
        pattern += L"a*";
    pattern += L"c";
    const std::wstring text(60, L'a');
    CRegExpW re;
    ASSERT_EQ(nullptr, re.Compile(pattern.c_str(), static_cast<int>(pattern.size()), 1));
    EXPECT_EQ(-1, re.Search(text.c_str(), static_cast<int>(text.size()), 0));
    const std::wstring withEnd = text + L"c";
    EXPECT_EQ(0, re.Search(withEnd.c_str(), static_cast<int>(withEnd.size()), 0));
    EXPECT_EQ(61, re.GetMatchLength());

    // The same with '.' and classes between the repetitions.
    ASSERT_EQ(nullptr, re.Compile(L".*.*=.*.*=.*.*;", 15, 1));
    const std::wstring line(3000, L'=');
    EXPECT_EQ(-1, re.Search(line.c_str(), static_cast<int>(line.size()), 0));
}

std::wstring Describe(const std::vector<LiteralChar>& lit)
{
    // Letters that also match their upper case are shown in upper case.
    std::wstring s;
    for (const LiteralChar& c : lit)
        s += c.foldAscii ? static_cast<wchar_t>(c.ch - 32) : c.ch;
    return s;
}

TEST(RegExpW, RequiredLiteral)
{
    struct Case {
        const wchar_t* pattern;
        bool caseSensitive;
        const wchar_t* literal;
    } cases[] = {
        {L"abc", true, L"abc"},
        {L"ab*cd", true, L"cd"},
        {L"foo[0-9]+bar", true, L"foo"},
        {L"x[0-9]+barx", true, L"barx"},
        {L"\\(ab\\)c", true, L"abc"},
        {L"\\<int\\>", true, L"int"},
        {L"a.b", true, L"a"},
        {L"^#include", true, L"#include"},
        {L"Foo1", false, L"FOO1"},
        {L"[Kk]ey", true, L"Key"},
        {L"[k]ey", true, L"key"},
        {L"x\u00e9y", false, L"X"}, // a non-ASCII letter with two cases ends the literal
        {L"\u4e2d\u6587", false, L"\u4e2d\u6587"},
        {L".*", true, L""},
        {L"[0-9][0-9]", true, L""},
        {L"\\(a\\)\\1b", true, L"a"},
        {L"a$", true, L"a"},
    };
    for (const Case& c : cases) {
        CRegExpW re;
        const std::wstring p = c.pattern;
        ASSERT_EQ(nullptr, re.Compile(p.c_str(), static_cast<int>(p.size()), c.caseSensitive));
        EXPECT_EQ(std::wstring(c.literal), Describe(re.RequiredLiteral())) << "pattern index " << (&c - cases);
    }
}

TEST(RegExpW, LeadingSets)
{
    // Each expected set is written as its ASCII members, then "+" when
    // characters from 0x80 up belong to it as well.
    struct Case {
        const wchar_t* pattern;
        bool caseSensitive;
        std::vector<std::string> sets;
    } cases[] = {
        {L"abc", true, {"a", "b", "c"}},
        {L"ab", false, {"Aa", "Bb"}},
        {L"[0-9]+x", true, {"0123456789"}},
        {L"[qz][0-9]", true, {"qz", "0123456789"}},
        {L"x*y", true, {"xy"}},
        {L"x*y*z", true, {"xyz"}},
        {L"^\\<\\(q\\)r", true, {"q", "r"}},
        {L"\u00e9t*", false, {"+"}},
        {L"a.c", true, {"a", "*", "c"}},
        {L"ab.", true, {"a", "b"}},
        {L"x*", true, {}},
        {L".a", true, {"*", "a"}},
        {L".*a", true, {}},
        {L"$", true, {}},
        {L"\\(a\\)\\1", true, {"a"}},
    };
    for (const Case& c : cases) {
        CRegExpW re;
        const std::wstring p = c.pattern;
        ASSERT_EQ(nullptr, re.Compile(p.c_str(), static_cast<int>(p.size()), c.caseSensitive));
        CharSetDesc sets[8];
        const int count = re.LeadingSets(sets, 8);
        std::vector<std::string> got;
        for (int k = 0; k < count; ++k) {
            std::string s;
            bool all = sets[k].nonAscii;
            for (int i = 0; i < 128; ++i)
                all = all && sets[k].ascii[i];
            if (all) {
                got.push_back("*");
                continue;
            }
            for (int i = 0; i < 128; ++i)
                if (sets[k].ascii[i])
                    s += static_cast<char>(i);
            if (sets[k].nonAscii)
                s += '+';
            got.push_back(s);
        }
        EXPECT_EQ(c.sets, got) << "case " << (&c - cases);
    }
    // A negated class may begin with anything but its members.
    CRegExpW re;
    ASSERT_EQ(nullptr, re.Compile(L"[^a]b", 5, 1));
    CharSetDesc sets[8];
    ASSERT_EQ(2, re.LeadingSets(sets, 8));
    EXPECT_FALSE(sets[0].ascii['a']);
    EXPECT_TRUE(sets[0].ascii['b']);
    EXPECT_TRUE(sets[0].nonAscii);
}


// ---------------------------------------------------------------------------
// Patterns that would make plain backtracking run away.  Each case runs on a
// thread of its own under a generous wall limit; a case that is still busy
// then fails and is stopped through the stop flag.

// Runs search() on a thread; false when it is not done within the limit
// (the engine is then stopped and the thread awaited).
template <class Search>
bool FinishesWithin(CRegExpW& re, std::atomic<int>& stop, Search search, std::chrono::seconds limit)
{
    re.SetStopFlag(&stop);
    std::packaged_task<void()> task(search);
    std::future<void> done = task.get_future();
    std::thread worker(std::move(task));
    const bool inTime = done.wait_for(limit) == std::future_status::ready;
    if (!inTime)
        stop = 1;
    worker.join();
    re.SetStopFlag(nullptr);
    return inTime;
}

std::wstring Repeat(const std::wstring& unit, int times)
{
    std::wstring s;
    for (int i = 0; i < times; ++i)
        s += unit;
    return s;
}

TEST(RegExpW, AdversarialPatternsEndOnLongLines)
{
    const int kLong = 65000;
    const std::wstring as(static_cast<size_t>(kLong), L'a');
    std::wstring letters;
    for (int i = 0; i < kLong; ++i)
        letters += static_cast<wchar_t>(L'a' + i % 26);
    struct Case {
        std::wstring pattern;
        std::wstring text;
        CRegExpW::Outcome outcome;
        int matchStart; // when matched
        int matchLength;
    };
    const Case cases[] = {
        // Chains of '.*' and of repetitions of one class: linear time.
        {L".*.*b$", as, CRegExpW::NoMatch, -1, -1},
        {L".*.*b$", as + L"b", CRegExpW::Matched, 0, kLong + 1},
        {L".*.*.*.*.*.*.*.*.*.*=;", as, CRegExpW::NoMatch, -1, -1},
        {Repeat(L"a*", 20) + L"c", as, CRegExpW::NoMatch, -1, -1},
        {Repeat(L"a*", 20) + L"c", as + L"c", CRegExpW::Matched, 0, kLong + 1},
        {L"[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*X", letters, CRegExpW::NoMatch, -1, -1},
        {L"\\<.*.*.*\\>\\(.*\\).*!", as, CRegExpW::NoMatch, -1, -1},
        {L"a.*a.*a.*a.*a.*a.*a.*b", as, CRegExpW::NoMatch, -1, -1},
        // Overlapping literals and classes with shared members.
        {Repeat(L"a", 300) + L"b", as, CRegExpW::NoMatch, -1, -1},
        {L"[ab]*[bc]*[ca]*[ab]*d", as + L"bcd", CRegExpW::Matched, 0, kLong + 3},
        {L"[ab]*[bc]*[ca]*[ab]*d", as, CRegExpW::NoMatch, -1, -1},
        // Back-references: a match that is easy stays found...
        {L"\\(ab\\)\\1", as + L"abab", CRegExpW::Matched, kLong, 4},
        {L"\\(a\\).*.*.*.*.*.*.*.*\\1c", L"xaac", CRegExpW::Matched, 1, 3},
        // ... a line beyond the step budget says so instead of "no match".
        {L"\\(a\\).*.*.*.*.*.*.*.*\\1c", std::wstring(62, L'a'), CRegExpW::TooComplex, -1, -1},
        {L"\\(.*\\).*.*\\1x", as, CRegExpW::TooComplex, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern.begin(), c.pattern.end()).substr(0, 60));
        CRegExpW re;
        ASSERT_EQ(nullptr, re.Compile(c.pattern.c_str(), static_cast<int>(c.pattern.size()), 1));
        std::atomic<int> stop{0};
        int pos = -2;
        ASSERT_TRUE(FinishesWithin(
            re, stop, [&] { pos = re.Search(c.text.c_str(), static_cast<int>(c.text.size()), 0); },
            std::chrono::seconds(60)))
            << "still matching after the wall limit";
        EXPECT_EQ(c.outcome, re.LastOutcome());
        EXPECT_EQ(c.matchStart, pos);
        EXPECT_EQ(c.matchLength, re.GetMatchLength());
    }
}

TEST(RegExpW, NestedRepetitionsDoNotCompile)
{
    // Only single characters, '.' and classes repeat: nothing can nest.
    CRegExpW re;
    EXPECT_STREQ(L"Illegal closure", re.Compile(L"\\(a*\\)*", 7, 1));
    EXPECT_STREQ(L"Illegal closure", re.Compile(L"\\(a\\)\\1*", 8, 1));
    ASSERT_EQ(nullptr, re.Compile(L"a**b", 4, 1));
    EXPECT_EQ(3, re.Search(L"xxxab", 5, 0));
    EXPECT_EQ(2, re.GetMatchLength());
}

TEST(RegExpW, TheBudgetIsPerLine)
{
    // A budget spent on one line does not carry over once it is reset.
    CRegExpW re;
    const std::wstring pattern = L"\\(a\\).*.*.*.*.*.*.*.*\\1c";
    ASSERT_EQ(nullptr, re.Compile(pattern.c_str(), static_cast<int>(pattern.size()), 1));
    const std::wstring hard(62, L'a');
    EXPECT_EQ(-1, re.Search(hard.c_str(), static_cast<int>(hard.size()), 0));
    EXPECT_EQ(CRegExpW::TooComplex, re.LastOutcome());
    re.ResetBudget();
    EXPECT_EQ(0, re.Search(L"aac", 3, 0));
    EXPECT_EQ(CRegExpW::Matched, re.LastOutcome());
    // A small budget gives up early, a large one finds what there is.
    re.SetStepBudget(10);
    const std::wstring easy = std::wstring(40, L'b') + L"aac";
    EXPECT_EQ(-1, re.Search(easy.c_str(), static_cast<int>(easy.size()), 0));
    EXPECT_EQ(CRegExpW::TooComplex, re.LastOutcome());
    re.SetStepBudget(CRegExpW::DefaultStepBudget);
    EXPECT_EQ(40, re.Search(easy.c_str(), static_cast<int>(easy.size()), 0));
}

TEST(RegExpW, StopFlagEndsALongMatch)
{
    // Unlimited budget: only the stop flag can end this one.
    for (const wchar_t* pattern : {L"\\(a\\).*.*.*.*.*.*.*.*.*.*.*.*\\1c", L".*.*.*.*.*.*.*.*.*.*.*.*.*.*.*.*b$"}) {
        CRegExpW re;
        ASSERT_EQ(nullptr, re.Compile(pattern, static_cast<int>(wcslen(pattern)), 1));
        re.SetStepBudget(LLONG_MAX);
        const std::wstring text(pattern[1] == L'(' ? 200 : 4000000, L'a');
        std::atomic<int> stop{0};
        std::atomic<bool> running{false};
        re.SetStopFlag(&stop);
        std::packaged_task<int()> task([&] {
            running = true;
            return re.Search(text.c_str(), static_cast<int>(text.size()), 0);
        });
        std::future<int> done = task.get_future();
        std::thread worker(std::move(task));
        while (!running)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stop = 1;
        const bool ended = done.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
        worker.join();
        ASSERT_TRUE(ended) << "the stop flag was not seen";
        EXPECT_EQ(-1, done.get());
        EXPECT_EQ(CRegExpW::Stopped, re.LastOutcome());
        EXPECT_EQ(-1, re.GetMatchLength());
    }
}

// Random patterns over a small alphabet against random short lines: the
// simulation finds exactly the match and tags of the backtracking.
TEST(RegExpW, SimulationAgreesWithBacktracking)
{
    const wchar_t* pieces[] = {L"a", L"b", L"c", L".", L"[ab]", L"[^a]", L"a*", L"b*", L".*", L"[ab]*", L"[^b]*",
                               L"\\<", L"\\>", L"x", L" ", L"a+", L"[a-c]+"};
    const int pieceCount = static_cast<int>(sizeof(pieces) / sizeof(pieces[0]));
    const wchar_t alphabet[] = L"aabbc x";
    std::mt19937 rng(20261210);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    int compared = 0, matched = 0;
    for (int round = 0; round < 4000; ++round) {
        std::wstring pattern;
        if (pick(5) == 0)
            pattern += L"^";
        const int count = 1 + pick(6);
        int open = 0, tags = 0;
        for (int k = 0; k < count; ++k) {
            if (tags < 9 && pick(4) == 0) {
                pattern += L"\\(";
                ++open;
                ++tags;
            }
            pattern += pieces[pick(pieceCount)];
            if (open > 0 && pick(3) == 0) {
                pattern += L"\\)";
                --open;
            }
        }
        for (; open > 0; --open)
            pattern += L"\\)";
        if (pick(4) == 0)
            pattern += L"$";
        const int caseSensitive = pick(2);
        CRegExpW reference, simulated;
        const int length = static_cast<int>(pattern.size());
        const wchar_t* error = reference.Compile(pattern.c_str(), length, caseSensitive);
        if (error) {
            EXPECT_STREQ(error, simulated.Compile(pattern.c_str(), length, caseSensitive));
            continue;
        }
        ASSERT_EQ(nullptr, simulated.Compile(pattern.c_str(), length, caseSensitive));
        reference.SetStrategy(CRegExpW::Backtrack);
        simulated.SetStrategy(CRegExpW::Simulate);
        for (int t = 0; t < 4; ++t) {
            std::wstring text;
            const int textLength = pick(24);
            for (int i = 0; i < textLength; ++i)
                text += pick(6) == 0 ? L'A' : alphabet[pick(7)];
            const int start = pick(textLength + 1);
            const int anchor = pick(2) ? 0 : start;
            const int expected = reference.Search(text.c_str(), textLength, anchor, start);
            const int got = simulated.Search(text.c_str(), textLength, anchor, start);
            const std::string where = "pattern " + std::string(pattern.begin(), pattern.end()) + " text \"" +
                                      std::string(text.begin(), text.end()) + "\" start " + std::to_string(start) +
                                      " anchor " + std::to_string(anchor);
            ASSERT_EQ(expected, got) << where;
            ASSERT_EQ(reference.GetMatchLength(), simulated.GetMatchLength()) << where;
            // Without a match the tags mean nothing.
            for (int tag = 0; expected >= 0 && tag < CRegExpW::MaxTags; ++tag) {
                ASSERT_EQ(reference.GetTagStart(tag), simulated.GetTagStart(tag)) << where << " tag " << tag;
                ASSERT_EQ(reference.GetTagEnd(tag), simulated.GetTagEnd(tag)) << where << " tag " << tag;
            }
            ++compared;
            matched += expected >= 0;
        }
    }
    // The corpus exercises both sides of the comparison.
    EXPECT_GT(compared, 8000);
    EXPECT_GT(matched, compared / 5);
    EXPECT_LT(matched, compared - compared / 5);
}

} // namespace
