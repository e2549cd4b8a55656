// regexguard.h - CRegexGuard, a step-counted model of the editing component's
// regular-expression search, used to keep a search from running away.
//
// The component matches its regular expressions by backtracking, one line at
// a time, with no limit: a pattern such as ".*.*b$" on a line of 65,000
// characters takes hours. The component cannot be stopped once it searches,
// so the wrapper (CMFCScintilla::SearchInTarget) asks this model first: it
// compiles the same pattern language (the component's basic syntax, with
// SCFIND_POSIX for bare parentheses) into a small program and runs the same
// kind of search (longest repetition first, giving back one character at a
// time) on each line that could be costly, counting its steps against a
// budget. A line that stays within the budget is then searched by the
// component at about the same cost; one beyond it ends the search with
// "pattern too complex" instead.
//
// The model decides only how much work a line takes and whether it holds a
// match; it never decides what the component finds. No windows: the class
// works on bytes and is tested as a table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CRegexGuard {
public:
    enum Outcome {
        NoMatch,
        Matched,
        TooComplex // the budget ran out before the line was decided
    };

    // Steps one search (one call of the wrapper's SearchInTarget) may spend
    // in the model beyond what its lines allow: well under a second of
    // matching.
    static const int64_t kSearchBudget = 40000000;
    // Steps each probed byte adds to the budget, so that a search whose
    // work grows only with the length of the text is never given up.
    static const int64_t kStepsPerByte = 16;

    // Compiles pattern (length bytes) with the component's search flags
    // (SCFIND_MATCHCASE, SCFIND_POSIX). Never fails: what the model does not
    // know is taken as a literal character, which costs the same.
    void Compile(const char* pattern, size_t length, int flags);

    // False when a line of n bytes cannot cost more than a few hundred
    // thousand steps whatever it holds (the bound grows with the
    // repetitions and back-references of the pattern); such a line needs no
    // probe.
    bool MayRunAway(size_t n) const;
    // The shortest line length for which MayRunAway holds (SIZE_MAX when
    // none does): a text shorter than that holds no costly line.
    size_t ShortestCostlyLine() const { return shortestCostly_; }

    // Runs the search over one line (bytes [0, n), without its line end), as
    // the component does: from each start position in turn, stopping at the
    // first match, or trying every position when allStarts is set (a
    // backward search looks for the last match). The line adds
    // kStepsPerByte * n steps to *budget, and its steps are taken from it;
    // TooComplex when it runs out.
    Outcome Probe(const char* line, size_t n, bool allStarts, int64_t* budget);

private:
    enum Op : uint8_t {
        kChar,      // c
        kAny,       // any character
        kSet,       // set: index into sets_
        kBol,       // begin of the searched text
        kEol,       // end of the line
        kOpen,      // tag start
        kClose,     // tag end
        kRef,       // back-reference to a tag
        kWordBegin, // \<
        kWordEnd    // \>
    };
    enum Rep : uint8_t {
        kOnce,
        kStar,    // zero or more, longest first
        kPlus,    // one or more, longest first
        kOptional // zero or one, one first
    };
    struct Node {
        Op op;
        Rep rep;
        uint8_t c; // kChar: the byte
        int arg;   // kSet: set index; kOpen, kClose, kRef: tag 1-9
    };
    struct Set {
        uint32_t bits[8];
        bool Has(uint8_t c) const { return (bits[c >> 5] >> (c & 31)) & 1; }
        void Add(uint8_t c) { bits[c >> 5] |= 1u << (c & 31); }
    };

    bool AtomMatches(const Node& node, size_t p) const;
    // End of a match of nodes [at, end) from position p, or -1; -2 when the
    // budget ran out.
    long long Match(size_t at, size_t p);

    std::vector<Node> nodes_;
    std::vector<Set> sets_;
    int repeats_ = 0;   // nodes with kStar or kPlus
    int optionals_ = 0; // nodes with kOptional
    bool refs_ = false; // any back-reference
    size_t shortestCostly_ = SIZE_MAX;

    // State of the current probe.
    const uint8_t* text_ = nullptr;
    size_t length_ = 0;
    int64_t* budget_ = nullptr;
    long long tagStart_[10];
    long long tagEnd_[10];
};
