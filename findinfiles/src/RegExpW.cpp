#include "RegExpW.h"

#include "CharTables.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace filescan {

namespace {

enum Op : uint16_t {
    OpEnd = 0,
    OpChar = 1,
    OpAny = 2,
    OpClass = 3,
    OpLineBegin = 4,
    OpLineEnd = 5,
    OpOpenTag = 6,
    OpCloseTag = 7,
    OpWordBegin = 8,
    OpWordEnd = 9,
    OpBackRef = 10,
    OpClosure = 11,
};

// Units of a class operation: the code, 32 set units.  Each set unit keeps its
// member bits in the low 8 bits; the high byte of the first unit holds the
// index (plus one) of the class's members above 255, the high byte of the
// second unit the negation flag.
const int ClassUnits = 33;

wchar_t EscapeValue(wchar_t c)
{
    switch (c) {
    case 'a': return 7;
    case 'b': return 8;
    case 'f': return 12;
    case 'n': return 10;
    case 'r': return 13;
    case 't': return 9;
    case 'v': return 11;
    default: return c;
    }
}

bool IsAsciiLetter(wchar_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

void MergeRanges(std::vector<std::pair<uint16_t, uint16_t>>& r)
{
    if (r.empty())
        return;
    std::sort(r.begin(), r.end());
    size_t out = 0;
    for (size_t i = 1; i < r.size(); ++i) {
        if (static_cast<int>(r[i].first) <= static_cast<int>(r[out].second) + 1)
            r[out].second = std::max(r[out].second, r[i].second);
        else
            r[++out] = r[i];
    }
    r.resize(out + 1);
}

} // namespace

CRegExpW::CRegExpW()
    : m_searchStart(0), m_compiled(false), m_caseSensitive(true), m_matchStart(-1), m_matchLength(-1),
      m_useMemo(false), m_closureCount(0), m_memoWidth(0), m_memoGeneration(0), m_hasBackRef(false),
      m_strategy(Auto), m_outcome(NoMatch), m_stepBudget(DefaultStepBudget), m_stepsLeft(DefaultStepBudget),
      m_executeSteps(LLONG_MAX), m_abort(false), m_stepCount(0), m_stop(nullptr), m_visitGeneration(0)
{
    for (int i = 0; i < MaxTags; ++i) {
        m_tagStart[i] = -1;
        m_tagEnd[i] = -1;
        m_tagStack[i] = 0;
    }
    std::memset(m_program, 0, sizeof(m_program));
    std::memset(m_classSet, 0, sizeof(m_classSet));
}

const wchar_t* CRegExpW::Fail(const wchar_t* error)
{
    m_program[0] = OpEnd;
    m_compiled = false;
    m_classExt.clear();
    return error;
}

int CRegExpW::AtomLength(uint16_t op)
{
    switch (op) {
    case OpChar: return 2;
    case OpAny: return 1;
    case OpClass: return ClassUnits;
    default: return 1;
    }
}

void CRegExpW::AddClassMember(wchar_t c, bool withCase, std::vector<std::pair<uint16_t, uint16_t>>& wide)
{
    wchar_t variants[8];
    int n = 1;
    variants[0] = c;
    if (withCase)
        n = CaseVariants(c, variants, 8);
    for (int i = 0; i < n; ++i) {
        const uint16_t v = static_cast<uint16_t>(variants[i]);
        if (v < 256)
            m_classSet[v >> 3] = static_cast<uint8_t>(m_classSet[v >> 3] | (1u << (v & 7)));
        else
            wide.push_back(std::make_pair(v, v));
    }
}

bool CRegExpW::InClass(int pc, wchar_t c) const
{
    // pc is the first of the 32 set units.
    const uint16_t v = static_cast<uint16_t>(c);
    if (v < 256)
        return (m_program[pc + (v >> 3)] >> (v & 7) & 1) != 0;
    const bool negated = (m_program[pc + 1] >> 8) != 0;
    const int ext = m_program[pc] >> 8;
    bool in = false;
    if (ext) {
        const auto& r = m_classExt[ext - 1].ranges;
        auto it = std::upper_bound(r.begin(), r.end(), std::make_pair(v, static_cast<uint16_t>(0xFFFF)));
        if (it != r.begin()) {
            --it;
            in = v >= it->first && v <= it->second;
        }
    }
    return in != negated;
}

bool CRegExpW::AtomMatches(int pc, wchar_t c) const
{
    switch (m_program[pc]) {
    case OpChar: return c == static_cast<wchar_t>(m_program[pc + 1]);
    case OpAny: return true;
    case OpClass: return InClass(pc + 1, c);
    default: return false;
    }
}

const wchar_t* CRegExpW::Compile(const wchar_t* pattern, int length, int caseSensitive)
{
    if (!pattern || length <= 0 || !*pattern)
        return m_compiled ? nullptr : L"No previous regular expression";

    m_caseSensitive = caseSensitive != 0;
    m_compiled = false;
    m_classExt.clear();
    int mp = 0;       // next free unit
    int lp = -1;      // start of the last operation
    int tagCount = 1; // next tag number
    int tagDepth = 0; // open tags

    auto emit = [&](uint16_t u) { m_program[mp++] = u; };
    auto emitClass = [&](bool negated, std::vector<std::pair<uint16_t, uint16_t>>& wide) {
        lp = mp;
        emit(OpClass);
        for (int k = 0; k < 32; ++k) {
            uint8_t bits = m_classSet[k];
            if (negated)
                bits = static_cast<uint8_t>(~bits);
            emit(bits);
        }
        if (!wide.empty()) {
            MergeRanges(wide);
            m_classExt.push_back(ClassExt{wide});
            m_program[lp + 1] = static_cast<uint16_t>(m_program[lp + 1] | (m_classExt.size() << 8));
        }
        if (negated)
            m_program[lp + 2] = static_cast<uint16_t>(m_program[lp + 2] | 0x100);
        std::memset(m_classSet, 0, sizeof(m_classSet));
    };

    for (int i = 0; i < length; ++i) {
        if (mp > ProgramLimit)
            return Fail(L"Pattern too long");
        const wchar_t c = pattern[i];
        switch (c) {
        case '.':
            lp = mp;
            emit(OpAny);
            break;
        case '^':
            lp = mp;
            if (i == 0) {
                emit(OpLineBegin);
            } else {
                emit(OpChar);
                emit('^');
            }
            break;
        case '$':
            lp = mp;
            if (i == length - 1) {
                emit(OpLineEnd);
            } else {
                emit(OpChar);
                emit('$');
            }
            break;
        case '[': {
            std::memset(m_classSet, 0, sizeof(m_classSet));
            std::vector<std::pair<uint16_t, uint16_t>> wide;
            const bool fold = !m_caseSensitive;
            bool negated = false;
            ++i;
            if (i < length && pattern[i] == '^') {
                negated = true;
                ++i;
            }
            if (i < length && pattern[i] == '-') {
                AddClassMember('-', false, wide);
                ++i;
            }
            if (i < length && pattern[i] == ']') {
                AddClassMember(']', false, wide);
                ++i;
            }
            bool haveLast = false;
            wchar_t last = 0;
            while (i < length && pattern[i] != ']') {
                const wchar_t m = pattern[i];
                if (m == '-' && haveLast && i + 1 < length && pattern[i + 1] != ']') {
                    wchar_t hi = pattern[i + 1];
                    i += 2;
                    if (hi == '\\' && i < length) {
                        hi = EscapeValue(pattern[i]);
                        ++i;
                    }
                    const int from = static_cast<int>(last) + 1;
                    const int to = static_cast<int>(hi);
                    for (int v = from; v <= to && v < 256; ++v)
                        AddClassMember(static_cast<wchar_t>(v), fold, wide);
                    if (to >= 256 && from <= to) {
                        const int wideFrom = std::max(256, from);
                        wide.push_back(std::make_pair(static_cast<uint16_t>(wideFrom), static_cast<uint16_t>(to)));
                        if (fold) {
                            for (int v = wideFrom; v <= to; ++v)
                                AddClassMember(static_cast<wchar_t>(v), true, wide);
                            MergeRanges(wide);
                        }
                    }
                    haveLast = false;
                    continue;
                }
                wchar_t member = m;
                if (m == '\\' && i + 1 < length) {
                    ++i;
                    member = EscapeValue(pattern[i]);
                }
                AddClassMember(member, fold, wide);
                last = member;
                haveLast = true;
                ++i;
            }
            if (i >= length)
                return Fail(L"Missing ]");
            emitClass(negated, wide);
            break;
        }
        case '*':
        case '+': {
            if (i == 0)
                return Fail(L"Empty closure");
            const uint16_t lastOp = m_program[lp];
            if (lastOp == OpLineBegin || lastOp == OpOpenTag || lastOp == OpCloseTag || lastOp == OpWordBegin ||
                lastOp == OpWordEnd || lastOp == OpBackRef)
                return Fail(L"Illegal closure");
            if (lastOp == OpClosure)
                break; // "a**" acts as "a*"
            if (lastOp == OpLineEnd)
                return Fail(L"Illegal closure");
            if (c == '+') {
                // The atom once, then its closure.
                const int len = mp - lp;
                for (int k = 0; k < len; ++k)
                    m_program[mp + k] = m_program[lp + k];
                lp = mp;
                mp += len;
            }
            for (int k = mp; k > lp; --k)
                m_program[k] = m_program[k - 1];
            m_program[lp] = OpClosure;
            ++mp;
            emit(OpEnd);
            break;
        }
        case '\\': {
            const int prev = lp;
            ++i;
            lp = mp;
            if (i >= length) {
                emit(OpChar);
                emit(0);
                break;
            }
            const wchar_t d = pattern[i];
            if (d >= '1' && d <= '9') {
                const int n = d - '0';
                if (tagDepth > 0 && m_tagStack[tagDepth - 1] == n)
                    return Fail(L"Cyclical reference");
                if (n >= tagCount)
                    return Fail(L"Undetermined reference");
                emit(OpBackRef);
                emit(static_cast<uint16_t>(n));
            } else if (d == '<') {
                emit(OpWordBegin);
            } else if (d == '>') {
                if (prev >= 0 && prev == mp - 1 && m_program[prev] == OpWordBegin)
                    return Fail(L"Null pattern inside \\<\\>");
                emit(OpWordEnd);
            } else if (d == '(') {
                if (tagCount >= MaxTags)
                    return Fail(L"Too many \\(\\) pairs");
                m_tagStack[tagDepth++] = tagCount;
                emit(OpOpenTag);
                emit(static_cast<uint16_t>(tagCount));
                ++tagCount;
            } else if (d == ')') {
                if (tagDepth == 0)
                    return Fail(L"Unmatched \\)");
                if (prev >= 0 && prev == mp - 2 && m_program[prev] == OpOpenTag &&
                    m_program[prev + 1] == m_tagStack[tagDepth - 1])
                    return Fail(L"Null pattern inside \\(\\)");
                emit(OpCloseTag);
                emit(static_cast<uint16_t>(m_tagStack[--tagDepth]));
            } else {
                emit(OpChar);
                emit(static_cast<uint16_t>(EscapeValue(d)));
            }
            break;
        }
        default:
            lp = mp;
            if (m_caseSensitive) {
                emit(OpChar);
                emit(static_cast<uint16_t>(c));
            } else {
                std::memset(m_classSet, 0, sizeof(m_classSet));
                std::vector<std::pair<uint16_t, uint16_t>> wide;
                AddClassMember(c, true, wide);
                emitClass(false, wide);
            }
            break;
        }
    }
    if (tagDepth > 0)
        return Fail(L"Unmatched \\(");
    emit(OpEnd);
    m_compiled = true;

    // Closure numbering and whether failed repetitions may be memoised.
    m_closureIndex.assign(mp, -1);
    m_closureCount = 0;
    bool hasBackRef = false;
    for (int pc = 0; m_program[pc] != OpEnd;) {
        const uint16_t op = m_program[pc];
        switch (op) {
        case OpChar:
        case OpOpenTag:
        case OpCloseTag:
            pc += 2;
            break;
        case OpBackRef:
            hasBackRef = true;
            pc += 2;
            break;
        case OpClass:
            pc += ClassUnits;
            break;
        case OpClosure:
            m_closureIndex[pc] = m_closureCount++;
            pc += 1 + AtomLength(m_program[pc + 1]) + 1;
            break;
        default:
            pc += 1;
            break;
        }
    }
    m_useMemo = !hasBackRef && m_closureCount > 0;
    m_hasBackRef = hasBackRef;
    m_stepsLeft = m_stepBudget;
    return nullptr;
}

bool CRegExpW::SpendStep()
{
    if (m_abort)
        return false;
    if (--m_executeSteps < 0) {
        m_abort = true; // the simulation takes over
        return false;
    }
    if (m_hasBackRef && --m_stepsLeft < 0) {
        m_abort = true;
        m_outcome = TooComplex;
        return false;
    }
    if ((++m_stepCount & 4095u) == 0 && m_stop && m_stop->load(std::memory_order_relaxed)) {
        m_abort = true;
        m_outcome = Stopped;
        return false;
    }
    return true;
}

int CRegExpW::Execute(const CWideLineIndexer& text, int start, int end)
{
    return Execute(text, start, start, end);
}

int CRegExpW::Execute(const CWideLineIndexer& text, int anchor, int start, int end)
{
    m_searchStart = anchor;
    m_outcome = NoMatch;
    for (int i = 0; i < MaxTags; ++i) {
        m_tagStart[i] = -1;
        m_tagEnd[i] = -1;
    }
    if (!m_compiled || start < 0)
        return 0;
    if (m_stop && m_stop->load(std::memory_order_relaxed)) {
        m_outcome = Stopped;
        return 0;
    }
    const uint16_t first = m_program[0];
    if (first == OpEnd)
        return 0;
    if (first == OpLineEnd) {
        // The program is a lone '$'.
        m_tagStart[0] = end;
        m_tagEnd[0] = end;
        m_outcome = Matched;
        return 1;
    }
    if (!m_hasBackRef && m_strategy == Simulate)
        return RunSimulation(text, anchor, start, end);

    // Backtracking is quick on ordinary patterns; a program that may be
    // simulated gets a few steps per character before that takes over.
    m_abort = false;
    m_executeSteps = !m_hasBackRef && m_strategy == Auto ? 4096 + 32LL * (end - start + 1) : LLONG_MAX;
    const int found = RunBacktracking(text, anchor, start, end);
    const bool aborted = m_abort;
    m_abort = false;
    m_executeSteps = LLONG_MAX;
    if (!aborted) {
        m_outcome = found ? Matched : NoMatch;
        return found;
    }
    for (int i = 0; i < MaxTags; ++i) {
        m_tagStart[i] = -1;
        m_tagEnd[i] = -1;
    }
    if (m_outcome == Stopped || m_outcome == TooComplex)
        return 0;
    return RunSimulation(text, anchor, start, end);
}

int CRegExpW::RunBacktracking(const CWideLineIndexer& text, int anchor, int start, int end)
{
    if (m_useMemo) {
        // A new generation invalidates every mark of the previous Execute.
        const int width = text.Length() + 1;
        const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(m_closureCount);
        if (width != m_memoWidth || m_memo.size() < cells || m_memoGeneration == 0xFFFFFFFFu) {
            m_memoWidth = width;
            m_memo.assign(cells, 0);
            m_memoGeneration = 0;
        }
        ++m_memoGeneration;
    }

    auto found = [&](int pos, int stop) {
        m_tagStart[0] = pos;
        m_tagEnd[0] = stop;
        return 1;
    };

    const uint16_t first = m_program[0];
    switch (first) {
    case OpLineBegin: {
        if (start != anchor)
            return 0;
        const int e = Match(text, start, end, 0);
        return e >= 0 ? found(start, e) : 0;
    }
    case OpChar: {
        // Skip straight to each occurrence of the first character.
        const wchar_t c = static_cast<wchar_t>(m_program[1]);
        const wchar_t* line = text.Data();
        for (int p = start; p < end && !m_abort; ++p) {
            if (line[p] != c)
                continue;
            const int e = Match(text, p, end, 0);
            if (e >= 0)
                return found(p, e);
        }
        return 0;
    }
    case OpClass: {
        const wchar_t* line = text.Data();
        for (int p = start; p < end && !m_abort; ++p) {
            if (!InClass(1, line[p]))
                continue;
            const int e = Match(text, p, end, 0);
            if (e >= 0)
                return found(p, e);
        }
        return 0;
    }
    default:
        for (int p = start; p < end && !m_abort; ++p) {
            const int e = Match(text, p, end, 0);
            if (e >= 0)
                return found(p, e);
        }
        return 0;
    }
}

void CRegExpW::AddThread(std::vector<Thread>& list, const CWideLineIndexer& text, int pc, int pos, int end,
                         int* tags)
{
    // Follows the zero-width operations from pc in the order backtracking
    // would try them; a place already reached at this position by a thread
    // of higher preference has the same future and is left to that one.
    for (;;) {
        if (m_visited[pc] == m_visitGeneration)
            return;
        m_visited[pc] = m_visitGeneration;
        const uint16_t op = m_program[pc];
        switch (op) {
        case OpEnd:
        case OpChar:
        case OpAny:
        case OpClass: {
            list.emplace_back();
            Thread& t = list.back();
            t.pc = pc;
            std::memcpy(t.tags, tags, sizeof(t.tags));
            return;
        }
        case OpClosure: {
            // One more repetition first, then what follows the repetition.
            list.emplace_back();
            Thread& t = list.back();
            t.pc = pc;
            std::memcpy(t.tags, tags, sizeof(t.tags));
            pc += 1 + AtomLength(m_program[pc + 1]) + 1;
            break;
        }
        case OpLineBegin:
            if (pos != m_searchStart)
                return;
            ++pc;
            break;
        case OpLineEnd:
            if (pos < end)
                return;
            ++pc;
            break;
        case OpOpenTag:
        case OpCloseTag: {
            int& slot = tags[2 * m_program[pc + 1] + (op == OpCloseTag ? 1 : 0)];
            const int saved = slot;
            slot = pos;
            AddThread(list, text, pc + 2, pos, end, tags);
            slot = saved;
            return;
        }
        case OpWordBegin:
            if ((pos != m_searchStart && pos > 0 && IsWordChar(text[pos - 1])) || pos >= end || !IsWordChar(text[pos]))
                return;
            ++pc;
            break;
        case OpWordEnd:
            if (pos == m_searchStart || pos <= 0 || !IsWordChar(text[pos - 1]) || (pos < end && IsWordChar(text[pos])))
                return;
            ++pc;
            break;
        default:
            return; // back-references are never simulated
        }
    }
}

int CRegExpW::RunSimulation(const CWideLineIndexer& text, int anchor, int start, int end)
{
    // Breadth first over the line: every live thread advances one character
    // per step, in the order of preference of the backtracking, so the first
    // thread to reach the end of the program, once no thread of higher
    // preference is left, holds the match backtracking would find.
    m_outcome = NoMatch;
    if (m_visited.size() < static_cast<size_t>(ProgramSize))
        m_visited.assign(ProgramSize, 0);
    std::vector<Thread>& now = m_threads;
    std::vector<Thread>& next = m_nextThreads;
    now.clear();
    next.clear();
    const uint16_t first = m_program[0];
    const bool anchored = first == OpLineBegin;
    const wchar_t* line = text.Data();
    auto newStep = [&]() {
        if (++m_visitGeneration == 0) {
            std::fill(m_visited.begin(), m_visited.end(), 0u);
            m_visitGeneration = 1;
        }
    };
    // The next position from p on where a match may begin, or end.
    auto nextSeed = [&](int p) {
        if (first == OpChar) {
            const wchar_t c = static_cast<wchar_t>(m_program[1]);
            while (p < end && line[p] != c)
                ++p;
        } else if (first == OpClass) {
            while (p < end && !InClass(1, line[p]))
                ++p;
        }
        return p;
    };
    auto seed = [&](std::vector<Thread>& list, int p) {
        int tags[2 * MaxTags];
        for (int& t : tags)
            t = -1;
        tags[0] = p;
        AddThread(list, text, 0, p, end, tags);
    };

    bool matched = false;
    int best[2 * MaxTags];
    int matchEnd = -1;
    int p = start;
    if (anchored) {
        // One place only, where an empty match may stand even at the end.
        if (start != anchor || start > end)
            return 0;
    } else {
        p = nextSeed(start);
        if (p >= end)
            return 0;
    }
    newStep();
    seed(now, p);
    for (;;) {
        if (now.empty()) {
            // Every thread died; the seed at p has been tried already.
            if (matched || anchored)
                break;
            p = nextSeed(p + 1);
            if (p >= end)
                break;
            newStep();
            seed(now, p);
            continue;
        }
        if (m_stop && (p & 1023) == 0 && m_stop->load(std::memory_order_relaxed)) {
            m_outcome = Stopped;
            return 0;
        }
        newStep();
        next.clear();
        const wchar_t c = p < end ? line[p] : 0;
        for (Thread& t : now) {
            const uint16_t op = m_program[t.pc];
            if (op == OpEnd) {
                // Threads of lower preference can only give a worse match.
                matched = true;
                matchEnd = p;
                std::memcpy(best, t.tags, sizeof(best));
                break;
            }
            if (p >= end)
                continue;
            if (op == OpClosure) {
                if (AtomMatches(t.pc + 1, c))
                    AddThread(next, text, t.pc, p + 1, end, t.tags);
            } else if (AtomMatches(t.pc, c)) {
                AddThread(next, text, t.pc + AtomLength(op), p + 1, end, t.tags);
            }
        }
        if (p >= end)
            break;
        ++p;
        if (!matched && !anchored && p < end)
            seed(next, p);
        now.swap(next);
    }
    if (!matched)
        return 0;
    for (int i = 0; i < MaxTags; ++i) {
        m_tagStart[i] = best[2 * i];
        m_tagEnd[i] = best[2 * i + 1];
    }
    m_tagEnd[0] = matchEnd;
    m_outcome = Matched;
    return 1;
}

int CRegExpW::Match(const CWideLineIndexer& text, int pos, int end, int pc)
{
    if (!SpendStep())
        return -1;
    int p = pos;
    for (;;) {
        const uint16_t op = m_program[pc];
        switch (op) {
        case OpEnd:
            return p;
        case OpChar:
            if (p >= end || text[p] != static_cast<wchar_t>(m_program[pc + 1]))
                return -1;
            ++p;
            pc += 2;
            break;
        case OpAny:
            if (p >= end)
                return -1;
            ++p;
            ++pc;
            break;
        case OpClass:
            if (p >= end || !InClass(pc + 1, text[p]))
                return -1;
            ++p;
            pc += ClassUnits;
            break;
        case OpLineBegin:
            if (p != m_searchStart)
                return -1;
            ++pc;
            break;
        case OpLineEnd:
            if (p < end)
                return -1;
            ++pc;
            break;
        case OpOpenTag:
            m_tagStart[m_program[pc + 1]] = p;
            pc += 2;
            break;
        case OpCloseTag:
            m_tagEnd[m_program[pc + 1]] = p;
            pc += 2;
            break;
        case OpWordBegin:
            if ((p != m_searchStart && p > 0 && IsWordChar(text[p - 1])) || p >= end || !IsWordChar(text[p]))
                return -1;
            ++pc;
            break;
        case OpWordEnd:
            if (p == m_searchStart || p <= 0 || !IsWordChar(text[p - 1]) || (p < end && IsWordChar(text[p])))
                return -1;
            ++pc;
            break;
        case OpBackRef: {
            const int tag = m_program[pc + 1];
            const int s = m_tagStart[tag];
            const int e = m_tagEnd[tag];
            if (s >= 0 && e > s) {
                const int n = e - s;
                if (p + n > end)
                    return -1;
                m_stepsLeft -= n / 16; // comparing a long capture is work too
                for (int k = 0; k < n; ++k)
                    if (text[s + k] != text[p + k])
                        return -1;
                p += n;
            }
            pc += 2;
            break;
        }
        case OpClosure:
            return MatchClosure(text, p, end, pc);
        default:
            return -1;
        }
    }
}

int CRegExpW::MatchClosure(const CWideLineIndexer& text, int pos, int end, int pc)
{
    const int atom = pc + 1;
    const int rest = atom + AtomLength(m_program[atom]) + 1; // behind the atom's end unit
    uint32_t* memo = nullptr;
    if (m_useMemo && pos <= text.Length()) {
        memo = m_memo.data() + static_cast<size_t>(m_closureIndex[pc]) * static_cast<size_t>(m_memoWidth);
        if (memo[pos] == m_memoGeneration)
            return -1; // already failed from here in this Execute
    }

    // Longest run of the atom first.
    int q = pos;
    const uint16_t atomOp = m_program[atom];
    if (atomOp == OpAny) {
        q = end > pos ? end : pos;
    } else if (atomOp == OpChar) {
        const wchar_t c = static_cast<wchar_t>(m_program[atom + 1]);
        while (q < end && text[q] == c)
            ++q;
    } else {
        while (q < end && InClass(atom + 1, text[q]))
            ++q;
    }

    for (int k = q; k >= pos; --k) {
        const int e = Match(text, k, end, rest);
        if (e >= 0)
            return e;
        if (m_abort)
            return -1; // nothing learnt: the memo stays as it was
    }
    if (memo) {
        // An entry anywhere further along the same run tries a subset of the
        // rests that just failed, so it fails too.
        const int last = q < text.Length() ? q : text.Length();
        for (int k = pos; k <= last; ++k) {
            if (memo[k] == m_memoGeneration)
                break; // the rest of the run is marked already
            memo[k] = m_memoGeneration;
        }
    }
    return -1;
}

int CRegExpW::Search(const wchar_t* line, int length, int start)
{
    return Search(line, length, start < 0 ? 0 : start, start < 0 ? 0 : start);
}

int CRegExpW::Search(const wchar_t* line, int length, int anchor, int start)
{
    m_matchStart = -1;
    m_matchLength = -1;
    m_outcome = NoMatch;
    if (!line || length < 0 || start < 0 || start > length)
        return -1;
    CWideLineIndexer text(line, length);
    if (!Execute(text, anchor, start, length))
        return -1;
    m_matchStart = m_tagStart[0];
    m_matchLength = m_tagEnd[0] - m_tagStart[0];
    return m_matchStart;
}

int CRegExpW::LeadingSets(CharSetDesc* sets, int max) const
{
    if (!m_compiled || max <= 0)
        return 0;
    auto clear = [](CharSetDesc& d) {
        for (bool& b : d.ascii)
            b = false;
        d.nonAscii = false;
    };
    // Adds what one atom can match; false for "anything".
    auto addAtom = [&](int pc, CharSetDesc& d) -> bool {
        switch (m_program[pc]) {
        case OpChar: {
            const uint16_t c = m_program[pc + 1];
            if (c < 128)
                d.ascii[c] = true;
            else
                d.nonAscii = true;
            return true;
        }
        case OpClass:
            for (int v = 0; v < 256; ++v) {
                if (!(m_program[pc + 1 + (v >> 3)] >> (v & 7) & 1))
                    continue;
                if (v < 128)
                    d.ascii[v] = true;
                else
                    d.nonAscii = true;
            }
            if ((m_program[pc + 1] >> 8) || (m_program[pc + 2] >> 8))
                d.nonAscii = true; // members above 255, or negated
            return true;
        case OpAny:
            for (bool& b : d.ascii)
                b = true;
            d.nonAscii = true;
            return true;
        default:
            return false;
        }
    };
    auto skipZeroWidth = [&](int pc) {
        for (;;) {
            const uint16_t op = m_program[pc];
            if (op == OpLineBegin || op == OpWordBegin || op == OpWordEnd)
                pc += 1;
            else if (op == OpOpenTag || op == OpCloseTag)
                pc += 2;
            else
                return pc;
        }
    };

    // Fixed positions first.
    int count = 0;
    int pc = skipZeroWidth(0);
    while (count < max) {
        const uint16_t op = m_program[pc];
        if (op != OpChar && op != OpClass && op != OpAny)
            break;
        clear(sets[count]);
        addAtom(pc, sets[count]);
        ++count;
        pc = skipZeroWidth(pc + AtomLength(op));
    }
    if (count > 0) {
        // A leading '.' says nothing: drop wildcard positions at the end.
        while (count > 0 && sets[count - 1].nonAscii) {
            bool all = true;
            for (bool b : sets[count - 1].ascii)
                all = all && b;
            if (!all)
                break;
            --count;
        }
        if (count > 0)
            return count;
        // Only wildcards: try the repetition rule below from the start.
    }

    // Repetitions first: the first character is the atom of a repetition,
    // or whatever may follow it.
    CharSetDesc& d = sets[0];
    clear(d);
    for (pc = skipZeroWidth(0);;) {
        const uint16_t op = m_program[pc];
        if (op == OpChar || op == OpClass) {
            addAtom(pc, d);
            return 1;
        }
        if (op != OpClosure || m_program[pc + 1] == OpAny)
            return 0; // end (empty match), '.', end of line, back-reference
        addAtom(pc + 1, d);
        pc = skipZeroWidth(pc + 1 + AtomLength(m_program[pc + 1]) + 1);
    }
}

std::vector<LiteralChar> CRegExpW::RequiredLiteral() const
{
    std::vector<LiteralChar> best, run;
    if (!m_compiled)
        return best;
    auto flush = [&]() {
        if (run.size() > best.size())
            best = run;
        run.clear();
    };
    for (int pc = 0; m_program[pc] != OpEnd;) {
        const uint16_t op = m_program[pc];
        switch (op) {
        case OpChar: {
            const wchar_t c = static_cast<wchar_t>(m_program[pc + 1]);
            if (c >= 0xD800 && c <= 0xDFFF)
                flush();
            else
                run.push_back(LiteralChar{c, false});
            pc += 2;
            break;
        }
        case OpClass: {
            // A class stands for a literal when it holds one character, or one
            // ASCII letter in both cases.
            int count = 0;
            int members[3] = {0, 0, 0};
            for (int v = 0; v < 256 && count < 3; ++v)
                if (m_program[pc + 1 + (v >> 3)] >> (v & 7) & 1)
                    members[count++] = v;
            const bool negated = (m_program[pc + 2] >> 8) != 0;
            const int ext = m_program[pc + 1] >> 8;
            int wideCount = 0;
            uint16_t wideChar = 0;
            if (ext) {
                for (const auto& r : m_classExt[ext - 1].ranges) {
                    wideCount += r.second - r.first + 1;
                    wideChar = r.first;
                }
            }
            if (!negated && count == 1 && wideCount == 0) {
                run.push_back(LiteralChar{static_cast<wchar_t>(members[0]), false});
            } else if (!negated && count == 0 && wideCount == 1 && !(wideChar >= 0xD800 && wideChar <= 0xDFFF)) {
                run.push_back(LiteralChar{static_cast<wchar_t>(wideChar), false});
            } else if (!negated && count == 2 && wideCount == 0 && IsAsciiLetter(static_cast<wchar_t>(members[0])) &&
                       members[1] == members[0] + 32) {
                run.push_back(LiteralChar{static_cast<wchar_t>(members[1]), true});
            } else {
                flush();
            }
            pc += ClassUnits;
            break;
        }
        case OpOpenTag:
        case OpCloseTag:
            pc += 2; // zero width
            break;
        case OpLineBegin:
        case OpWordBegin:
        case OpWordEnd:
            pc += 1; // zero width
            break;
        case OpClosure:
            flush();
            pc += 1 + AtomLength(m_program[pc + 1]) + 1;
            break;
        case OpBackRef:
            flush();
            pc += 2;
            break;
        default:
            flush();
            pc += 1;
            break;
        }
    }
    flush();
    return best;
}

} // namespace filescan
