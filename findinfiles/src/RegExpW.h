// Small backtracking regular-expression engine over wide text.
//
// Syntax: '.' any character; '^' first / '$' last in the pattern anchor to the
// line; '*' and '+' repeat the previous character, '.' or class; [...] classes
// with ranges and '^' negation; \( \) tags 1-9 and \1..\9 back-references;
// \< \> word begin and end; \a \b \f \n \r \t \v control characters; any
// other escaped character stands for itself.  Bare ( and ) are ordinary.
//
// The pattern compiles into a flat program of 16-bit units.  Matching first
// backtracks, with a memo of failed repetitions; a program without
// back-references that needs more steps than a small multiple of the line
// length is matched again by a breadth-first simulation of the same program,
// which gives the same match (leftmost, then the backtracking's preference)
// in time linear in the line length.  A program with back-references keeps
// backtracking under a step budget; once that budget is spent the search
// gives up on the line and says so (Outcome), never reporting "no match".
#ifndef QUILLMATE_FINDINFILES_REGEXPW_H
#define QUILLMATE_FINDINFILES_REGEXPW_H

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace filescan {

// Character accessor over one line: the character at an index inside the
// line, 0 anywhere outside.
class CWideLineIndexer {
public:
    CWideLineIndexer(const wchar_t* line, int length) : m_line(line), m_length(length) {}
    wchar_t operator[](int i) const
    {
        return static_cast<unsigned>(i) < static_cast<unsigned>(m_length) ? m_line[i] : 0;
    }
    int Length() const { return m_length; }
    const wchar_t* Data() const { return m_line; }

private:
    const wchar_t* m_line;
    int m_length;
};

// One piece of a literal that every match must contain.
struct LiteralChar {
    wchar_t ch;
    bool foldAscii; // ch is an ASCII lower-case letter that also matches its upper case
};

// The characters that may stand at one position of a match: ascii[c] for c
// below 0x80, and nonAscii for any character from 0x80 up.
struct CharSetDesc {
    bool ascii[128];
    bool nonAscii;
};

class CRegExpW {
public:
    enum {
        MaxTags = 10,
        ProgramSize = 2050,
        ProgramLimit = 2006
    };

    // How the last Search or Execute ended.  TooComplex and Stopped leave no
    // match behind: the caller must not take them for "no match".
    enum Outcome {
        Matched,
        NoMatch,
        TooComplex,
        Stopped
    };

    // Backtracking steps a program with back-references may take between
    // two calls of ResetBudget (Compile resets it as well).
    enum {
        DefaultStepBudget = 20000000
    };

    CRegExpW();

    // Compiles pattern (length characters).  Returns null on success or one of
    // the fixed error texts.  A null or empty pattern keeps an earlier program.
    const wchar_t* Compile(const wchar_t* pattern, int length, int caseSensitive);
    bool IsCompiled() const { return m_compiled; }

    // Tries positions start .. end-1 (a lone '$' matches at end).  The line
    // anchor ('^', and the word tests' notion of where the text begins) is
    // start itself.  Returns 1 on a match; tag 0 then holds it.
    int Execute(const CWideLineIndexer& text, int start, int end);
    // The same, with the anchor given separately: '^' matches only at anchor.
    int Execute(const CWideLineIndexer& text, int anchor, int start, int end);

    // End of a match of the program from unit pc at position pos, or -1.
    int Match(const CWideLineIndexer& text, int pos, int end, int pc);

    // Searches line from start; returns the match start or -1 and keeps the
    // match length (0 for an empty match, -1 when none).
    int Search(const wchar_t* line, int length, int start);
    int Search(const wchar_t* line, int length, int anchor, int start);
    int GetMatchLength() const { return m_matchLength; }
    int GetMatchStart() const { return m_matchStart; }
    int GetTagStart(int tag) const { return m_tagStart[tag]; }
    int GetTagEnd(int tag) const { return m_tagEnd[tag]; }

    // The longest run of characters that every match contains, in order
    // (empty when there is none).  Used to skip lines that cannot match.
    std::vector<LiteralChar> RequiredLiteral() const;

    // What the first characters of every match must be: when the program
    // begins with single characters, classes or '.', one set per position
    // (up to max); when it begins with repetitions, one set of the
    // characters a match can begin with.  Returns the number of sets, 0 when
    // nothing is known (a match may be empty, or begin with anything).
    int LeadingSets(CharSetDesc* sets, int max) const;

    Outcome LastOutcome() const { return m_outcome; }
    bool HasBackReferences() const { return m_hasBackRef; }

    // Gives the next searches the whole step budget again (one line's worth).
    void ResetBudget() { m_stepsLeft = m_stepBudget; }
    void SetStepBudget(long long steps)
    {
        m_stepBudget = steps;
        m_stepsLeft = steps;
    }

    // A flag another thread may set to end a running search early (the
    // search then ends with Stopped); null for none.
    void SetStopFlag(const std::atomic<int>* stop) { m_stop = stop; }

    // Matching strategy, for tests that compare the two: Auto backtracks and
    // falls back on the simulation as described above; Backtrack never falls
    // back (the reference); Simulate always simulates (programs without
    // back-references only; others backtrack).
    enum Strategy {
        Auto,
        Backtrack,
        Simulate
    };
    void SetStrategy(Strategy s) { m_strategy = s; }

    // Raw program, for tests and diagnostics.
    const uint16_t* Program() const { return m_program; }

private:
    struct ClassExt {
        std::vector<std::pair<uint16_t, uint16_t>> ranges; // sorted, disjoint, all above 255
    };

    const wchar_t* Fail(const wchar_t* error);
    void AddClassMember(wchar_t c, bool withCase, std::vector<std::pair<uint16_t, uint16_t>>& wide);
    bool InClass(int pc, wchar_t c) const;
    bool AtomMatches(int pc, wchar_t c) const;
    int MatchClosure(const CWideLineIndexer& text, int pos, int end, int pc);
    static int AtomLength(uint16_t op);
    bool SpendStep();
    int RunBacktracking(const CWideLineIndexer& text, int anchor, int start, int end);
    int RunSimulation(const CWideLineIndexer& text, int anchor, int start, int end);
    // One thread of the simulation: where it stands in the program, and the
    // tags it has passed (start, end of each).
    struct Thread {
        int pc;
        int tags[2 * MaxTags];
    };
    void AddThread(std::vector<Thread>& list, const CWideLineIndexer& text, int pc, int pos, int end, int* tags);

    int m_tagStart[MaxTags];
    int m_tagEnd[MaxTags];
    int m_searchStart;
    int m_tagStack[MaxTags];
    uint16_t m_program[ProgramSize];
    bool m_compiled;
    uint8_t m_classSet[32];
    std::vector<ClassExt> m_classExt;
    bool m_caseSensitive;
    int m_matchStart;
    int m_matchLength;

    // Memo of failed repetitions for programs without back-references: cell
    // (closure number, position) equal to the current generation means the
    // repetition already failed from there in this Execute.
    bool m_useMemo;
    int m_closureCount;
    int m_memoWidth;
    uint32_t m_memoGeneration;
    std::vector<uint32_t> m_memo;
    std::vector<int> m_closureIndex; // program position -> closure number

    // Step accounting of the backtracking.
    bool m_hasBackRef;
    Strategy m_strategy;
    Outcome m_outcome;
    long long m_stepBudget; // per line, programs with back-references
    long long m_stepsLeft;
    long long m_executeSteps; // left in this Execute before the simulation takes over
    bool m_abort;             // budget spent or stop seen: unwind without a match
    uint32_t m_stepCount;     // steps since the stop flag was last looked at
    const std::atomic<int>* m_stop;

    // Simulation state: thread lists and the per-step visit marks.
    std::vector<Thread> m_threads;
    std::vector<Thread> m_nextThreads;
    std::vector<uint32_t> m_visited;
    uint32_t m_visitGeneration;
};

} // namespace filescan

#endif
