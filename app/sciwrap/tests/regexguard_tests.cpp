// CRegexGuard without windows: the pattern language it models (one row per
// feature), which lines it needs to probe at all, and patterns that would
// make backtracking run away on long lines, each under a wall limit.
#include "regexguard.h"

#include <Scintilla.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include <qmtest/walllimit.h>

namespace {

const int RE = SCFIND_REGEXP;
const int CASE = SCFIND_REGEXP | SCFIND_MATCHCASE;
const int POSIX = SCFIND_REGEXP | SCFIND_POSIX;

struct ProbeCase {
    const char* pattern;
    int flags;
    std::string line;
    CRegexGuard::Outcome want;
};

CRegexGuard::Outcome ProbeOnce(const ProbeCase& c, bool allStarts = false)
{
    CRegexGuard guard;
    guard.Compile(c.pattern, std::char_traits<char>::length(c.pattern), c.flags);
    int64_t budget = CRegexGuard::kSearchBudget;
    return guard.Probe(c.line.data(), c.line.size(), allStarts, &budget);
}

TEST(RegexGuard, ModelsThePatternLanguage)
{
    using O = CRegexGuard;
    const ProbeCase cases[] = {
        {"b[a-z]+a", RE, "alpha beta", O::Matched},
        {"b[a-z]+a", RE, "xyz", O::NoMatch},
        {"be?t", RE, "bt", O::Matched},
        {"^abc", RE, "xabc", O::NoMatch},
        {"^abc", RE, "abcx", O::Matched},
        {"abc$", RE, "xxabc", O::Matched},
        {"abc$", RE, "abcx", O::NoMatch},
        {"a$b", RE, "xa$b", O::Matched}, // '$' inside is a character
        {"x^", RE, "x^", O::Matched},
        {"ABC", RE, "xabc", O::Matched},
        {"ABC", CASE, "xabc", O::NoMatch},
        {"[A-C]+", RE, "xbc", O::Matched},
        {"[^a]", RE, "aaa", O::NoMatch},
        {"[]x]", RE, "]", O::Matched},
        {"\\<be", RE, "alpha beta", O::Matched},
        {"\\<be", RE, "albeta", O::NoMatch},
        {"ta\\>", RE, "beta gamma", O::Matched},
        {"ta\\>", RE, "betas", O::NoMatch},
        {"\\(ab\\)\\1", RE, "xabab", O::Matched},
        {"\\(ab\\)\\1", RE, "xabba", O::NoMatch},
        {"(a)\\1", POSIX, "aa", O::Matched},
        {"(a)", RE, "(a)", O::Matched}, // bare parentheses are characters
        {"\\d+x", RE, "ab12x", O::Matched},
        {"\\D", RE, "123", O::NoMatch},
        {"a\\sb", RE, "a\tb", O::Matched},
        {"\\w\\W", RE, "ab", O::NoMatch},
        {"\\x41", CASE, "A", O::Matched},
        {"a\\tb", RE, "a\tb", O::Matched},
        {"a\\.b", RE, "axb", O::NoMatch},
        {".*", RE, "", O::Matched},
        {"x*", RE, "abc", O::Matched},
    };
    for (const ProbeCase& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " on " + c.line);
        EXPECT_EQ(c.want, ProbeOnce(c));
        EXPECT_EQ(c.want, ProbeOnce(c, true));
    }
}

TEST(RegexGuard, OnlyLinesThatCouldRunAwayNeedAProbe)
{
    struct Case {
        const char* pattern;
        size_t length;
        bool probe;
    } cases[] = {
        {"abc", 50000000, false},    // no repetition: a few steps per byte
        {"a?b?c?", 50000000, false}, // a few optional atoms: still a few
        {"foo.*bar", 120, false},    // a short source line
        {"foo.*bar", 65000, true},
        {".*.*b$", 30, false},
        {".*.*b$", 400, true},
        {".*.*.*.*.*.*.*.*=;", 40, true}, // many repetitions: even short lines
        {"\\(a\\)\\1x*", 2000, true},     // back-references compare up to a line
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " over " + std::to_string(c.length));
        CRegexGuard guard;
        guard.Compile(c.pattern, std::char_traits<char>::length(c.pattern), RE);
        EXPECT_EQ(c.probe, guard.MayRunAway(c.length));
    }
    // Where the bound turns: no shorter line needs a probe.
    CRegexGuard plain;
    plain.Compile("abc", 3, RE);
    EXPECT_EQ(SIZE_MAX, plain.ShortestCostlyLine());
    CRegexGuard chain;
    chain.Compile(".*.*b$", 6, RE);
    const size_t n = chain.ShortestCostlyLine();
    EXPECT_TRUE(chain.MayRunAway(n));
    EXPECT_FALSE(chain.MayRunAway(n - 1));
    EXPECT_GT(n, 30u);
    EXPECT_LT(n, 400u);
}

TEST(RegexGuard, AdversarialPatternsEndOnLongLines)
{
    using O = CRegexGuard;
    const size_t kLong = 65000;
    const std::string as(kLong, 'a');
    std::string letters;
    for (size_t i = 0; i < kLong; ++i)
        letters += static_cast<char>('a' + i % 26);
    const ProbeCase cases[] = {
        // Chains of repetitions that fail: given up, not searched for hours.
        {".*.*b$", CASE, as, O::TooComplex},
        {".*.*.*.*.*.*.*.*.*.*=;", CASE, as, O::TooComplex},
        {"a*a*a*a*a*a*a*a*a*a*c", CASE, as, O::TooComplex},
        {"[a-z]*[a-z]*[a-z]*[a-z]*X", CASE, letters, O::TooComplex},
        {"a.*a.*a.*b", CASE, as, O::TooComplex},
        {"\\(.*\\).*\\1x", CASE, as, O::TooComplex},
        {"\\(a\\).*.*.*.*.*.*.*.*\\1c", CASE, std::string(62, 'a'), O::TooComplex},
        // The same patterns where backtracking finds its way at once.
        {".*.*b$", CASE, as + "b", O::Matched},
        {"a*a*a*a*a*a*a*a*a*a*c", CASE, as + "c", O::Matched},
        {"[ab]*[bc]*[ca]*[ab]*d", CASE, as + "bcd", O::Matched},
        {"\\(a\\).*.*.*.*.*.*.*.*\\1c", CASE, "xaac", O::Matched},
        // Work that grows with the line only: never given up.
        {"foo.*bar", CASE, letters, O::NoMatch},
        {"zab.*yza", CASE, letters, O::Matched},
        {"abcdefghijklmnopqrstuvwxyz", RE, letters + "!", O::Matched},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ!", RE, letters, O::NoMatch},
        {"[0-9]+", RE, letters, O::NoMatch},
    };
    for (const ProbeCase& c : cases) {
        SCOPED_TRACE(c.pattern);
        qmtest::WallLimit limit(std::string("probe of ") + c.pattern, std::chrono::seconds(60));
        EXPECT_EQ(c.want, ProbeOnce(c));
    }
}

TEST(RegexGuard, TheBudgetSpansTheLinesOfOneSearch)
{
    // Lines that each stay within the budget still add up to one limit.
    CRegexGuard guard;
    guard.Compile("a.*b", 4, CASE);
    const std::string line(1500, 'a'); // about two million steps each
    int64_t budget = CRegexGuard::kSearchBudget;
    int lines = 0;
    CRegexGuard::Outcome outcome = CRegexGuard::NoMatch;
    while (outcome == CRegexGuard::NoMatch && lines < 1000) {
        outcome = guard.Probe(line.data(), line.size(), false, &budget);
        ++lines;
    }
    EXPECT_EQ(CRegexGuard::TooComplex, outcome);
    EXPECT_GT(lines, 1);
    EXPECT_LT(lines, 1000);
}

} // namespace
