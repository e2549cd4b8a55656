// regexguard.cpp - CRegexGuard: the step-counted model of the editing
// component's regular-expression search (see regexguard.h).
#include "regexguard.h"

#include <Scintilla.h>

#include <cstring>

namespace {

bool IsWordByte(uint8_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool IsBlank(uint8_t c)
{
    return c == ' ' || (c >= 9 && c <= 13);
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The byte an escape "\c" stands for when it names one.
uint8_t EscapedByte(char c)
{
    switch (c) {
    case 'a':
        return 7;
    case 'b':
        return 8;
    case 'f':
        return 12;
    case 'n':
        return 10;
    case 'r':
        return 13;
    case 't':
        return 9;
    case 'v':
        return 11;
    default:
        return static_cast<uint8_t>(c);
    }
}

} // namespace

void CRegexGuard::Compile(const char* pattern, size_t length, int flags)
{
    nodes_.clear();
    sets_.clear();
    repeats_ = optionals_ = 0;
    refs_ = false;
    const bool matchCase = (flags & SCFIND_MATCHCASE) != 0;
    const bool posix = (flags & SCFIND_POSIX) != 0;
    int nextTag = 1;
    std::vector<int> open;

    auto addSet = [&](const Set& s) {
        sets_.push_back(s);
        nodes_.push_back(Node{kSet, kOnce, 0, static_cast<int>(sets_.size() - 1)});
    };
    auto addChar = [&](uint8_t c) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (matchCase || !letter) {
            nodes_.push_back(Node{kChar, kOnce, c, 0});
            return;
        }
        Set s = {};
        s.Add(c);
        s.Add(static_cast<uint8_t>(c ^ 0x20));
        addSet(s);
    };
    // The classes \d, \s, \w and their complements.
    auto namedClass = [&](char c, Set* s) {
        *s = {};
        const char lower = static_cast<char>(c | 0x20);
        if (lower != 'd' && lower != 's' && lower != 'w')
            return false;
        for (int b = 0; b < 256; ++b) {
            const uint8_t u = static_cast<uint8_t>(b);
            const bool in = lower == 'd' ? (u >= '0' && u <= '9') : lower == 's' ? IsBlank(u)
                                                                                 : IsWordByte(u);
            if (in != (c != lower))
                s->Add(u);
        }
        return true;
    };

    for (size_t i = 0; i < length; ++i) {
        const char c = pattern[i];
        const bool atomBefore = !nodes_.empty() && nodes_.back().rep == kOnce &&
                                (nodes_.back().op == kChar || nodes_.back().op == kAny || nodes_.back().op == kSet);
        if ((c == '*' || c == '+' || c == '?') && !nodes_.empty() && nodes_.back().rep != kOnce &&
            (nodes_.back().op == kChar || nodes_.back().op == kAny || nodes_.back().op == kSet))
            continue; // a second repetition mark changes nothing here
        if ((c == '*' || c == '+' || c == '?') && atomBefore) {
            nodes_.back().rep = c == '*' ? kStar : c == '+' ? kPlus
                                                            : kOptional;
            if (c == '?')
                ++optionals_;
            else
                ++repeats_;
            continue;
        }
        if (c == '^' && i == 0) {
            nodes_.push_back(Node{kBol, kOnce, 0, 0});
        } else if (c == '$' && i + 1 == length) {
            nodes_.push_back(Node{kEol, kOnce, 0, 0});
        } else if (c == '.') {
            nodes_.push_back(Node{kAny, kOnce, 0, 0});
        } else if (posix && c == '(') {
            open.push_back(nextTag);
            nodes_.push_back(Node{kOpen, kOnce, 0, nextTag < 10 ? nextTag : 0});
            ++nextTag;
        } else if (posix && c == ')') {
            nodes_.push_back(Node{kClose, kOnce, 0, open.empty() ? 0 : (open.back() < 10 ? open.back() : 0)});
            if (!open.empty())
                open.pop_back();
        } else if (c == '[') {
            Set s = {};
            size_t j = i + 1;
            const bool negate = j < length && pattern[j] == '^';
            if (negate)
                ++j;
            bool first = true;
            int previous = -1;
            for (; j < length && (pattern[j] != ']' || first); ++j) {
                first = false;
                uint8_t b = static_cast<uint8_t>(pattern[j]);
                if (b == '\\' && j + 1 < length) {
                    Set named;
                    if (namedClass(pattern[j + 1], &named)) {
                        for (int k = 0; k < 8; ++k)
                            s.bits[k] |= named.bits[k];
                        ++j;
                        previous = -1;
                        continue;
                    }
                    b = EscapedByte(pattern[++j]);
                } else if (b == '-' && previous >= 0 && j + 1 < length && pattern[j + 1] != ']') {
                    const uint8_t last = static_cast<uint8_t>(pattern[++j]);
                    for (int k = previous; k <= last; ++k)
                        s.Add(static_cast<uint8_t>(k));
                    previous = -1;
                    continue;
                }
                s.Add(b);
                previous = b;
            }
            i = j < length ? j : length - 1;
            if (!matchCase)
                for (int k = 'a'; k <= 'z'; ++k)
                    if (s.Has(static_cast<uint8_t>(k)) || s.Has(static_cast<uint8_t>(k - 32))) {
                        s.Add(static_cast<uint8_t>(k));
                        s.Add(static_cast<uint8_t>(k - 32));
                    }
            if (negate)
                for (uint32_t& w : s.bits)
                    w = ~w;
            addSet(s);
        } else if (c == '\\' && i + 1 < length) {
            const char e = pattern[++i];
            Set named;
            if (e >= '1' && e <= '9') {
                nodes_.push_back(Node{kRef, kOnce, 0, e - '0'});
                refs_ = true;
            } else if (!posix && e == '(') {
                open.push_back(nextTag);
                nodes_.push_back(Node{kOpen, kOnce, 0, nextTag < 10 ? nextTag : 0});
                ++nextTag;
            } else if (!posix && e == ')') {
                nodes_.push_back(Node{kClose, kOnce, 0, open.empty() ? 0 : (open.back() < 10 ? open.back() : 0)});
                if (!open.empty())
                    open.pop_back();
            } else if (e == '<') {
                nodes_.push_back(Node{kWordBegin, kOnce, 0, 0});
            } else if (e == '>') {
                nodes_.push_back(Node{kWordEnd, kOnce, 0, 0});
            } else if (namedClass(e, &named)) {
                addSet(named);
            } else if (e == 'x' && i + 2 < length && HexValue(pattern[i + 1]) >= 0 && HexValue(pattern[i + 2]) >= 0) {
                addChar(static_cast<uint8_t>(HexValue(pattern[i + 1]) * 16 + HexValue(pattern[i + 2])));
                i += 2;
            } else {
                nodes_.push_back(Node{kChar, kOnce, EscapedByte(e), 0});
            }
        } else {
            addChar(static_cast<uint8_t>(c));
        }
    }
    // MayRunAway grows with the length: find where it turns true.
    size_t low = 0, high = size_t(1) << 40;
    if (!MayRunAway(high)) {
        shortestCostly_ = SIZE_MAX;
        return;
    }
    while (high - low > 1) {
        const size_t mid = low + (high - low) / 2;
        if (MayRunAway(mid))
            high = mid;
        else
            low = mid;
    }
    shortestCostly_ = high;
}

bool CRegexGuard::MayRunAway(size_t n) const
{
    // Backtracking tries every start position, and from each one every way
    // of sharing the rest of the line among the repetitions: about
    // n * C(n + k, k) for k repetitions, doubled for each optional atom, and
    // n times more with back-references (each compares up to the line).
    if (repeats_ == 0 && optionals_ < 8)
        return false; // a few steps per byte at most
    const double kCheap = 250000.0;
    double bound = static_cast<double>(n) + 1.0;
    for (int k = 1; k <= repeats_ && bound <= kCheap; ++k)
        bound *= (static_cast<double>(n) + k) / k;
    for (int k = 0; k < optionals_ && bound <= kCheap; ++k)
        bound *= 2.0;
    if (refs_)
        bound *= static_cast<double>(n) + 1.0;
    bound *= static_cast<double>(nodes_.size()) + 1.0;
    return bound > kCheap;
}

bool CRegexGuard::AtomMatches(const Node& node, size_t p) const
{
    if (p >= length_)
        return false;
    switch (node.op) {
    case kChar:
        return text_[p] == node.c;
    case kAny:
        return true;
    case kSet:
        return sets_[static_cast<size_t>(node.arg)].Has(text_[p]);
    default:
        return false;
    }
}

long long CRegexGuard::Match(size_t at, size_t p)
{
    for (; at < nodes_.size(); ++at) {
        if (--*budget_ < 0)
            return -2;
        const Node& node = nodes_[at];
        if (node.rep != kOnce) {
            // Count the longest run, then try the rest from its end, giving
            // back one character at a time.
            const size_t most = node.rep == kOptional ? 1 : length_ - p;
            size_t run = 0;
            while (run < most && AtomMatches(node, p + run)) {
                ++run;
                if ((run & 63) == 0 && (*budget_ -= 64) < 0)
                    return -2;
            }
            const size_t least = node.rep == kPlus ? 1 : 0;
            if (run < least)
                return -1;
            for (size_t k = run + 1; k-- > least;) {
                const long long end = Match(at + 1, p + k);
                if (end != -1)
                    return end;
            }
            return -1;
        }
        switch (node.op) {
        case kChar:
        case kAny:
        case kSet:
            if (!AtomMatches(node, p))
                return -1;
            ++p;
            break;
        case kBol:
            if (p != 0)
                return -1;
            break;
        case kEol:
            if (p != length_)
                return -1;
            break;
        case kOpen:
            tagStart_[node.arg] = static_cast<long long>(p);
            break;
        case kClose:
            tagEnd_[node.arg] = static_cast<long long>(p);
            break;
        case kRef: {
            const long long s = tagStart_[node.arg], e = tagEnd_[node.arg];
            if (s < 0 || e < s)
                break; // an unset tag matches the empty text
            const size_t n = static_cast<size_t>(e - s);
            if ((*budget_ -= static_cast<int64_t>(n)) < 0)
                return -2;
            if (n > length_ - p || std::memcmp(text_ + s, text_ + p, n) != 0)
                return -1;
            p += n;
            break;
        }
        case kWordBegin:
            if (p >= length_ || !IsWordByte(text_[p]) || (p > 0 && IsWordByte(text_[p - 1])))
                return -1;
            break;
        case kWordEnd:
            if (p == 0 || !IsWordByte(text_[p - 1]) || (p < length_ && IsWordByte(text_[p])))
                return -1;
            break;
        }
    }
    return static_cast<long long>(p);
}

CRegexGuard::Outcome CRegexGuard::Probe(const char* line, size_t n, bool allStarts, int64_t* budget)
{
    text_ = reinterpret_cast<const uint8_t*>(line);
    length_ = n;
    budget_ = budget;
    *budget_ += kStepsPerByte * static_cast<int64_t>(n);
    bool matched = false;
    // A pattern that begins with a plain character is tried only where that
    // character stands; one that begins at the line's start only there.
    const bool literalFirst = !nodes_.empty() && nodes_[0].op == kChar && nodes_[0].rep == kOnce;
    const bool anchored = !nodes_.empty() && nodes_[0].op == kBol;
    for (size_t p = 0; p <= n; ++p) {
        if (literalFirst) {
            const void* next = p < n ? std::memchr(text_ + p, nodes_[0].c, n - p) : nullptr;
            if (!next)
                break;
            p = static_cast<size_t>(static_cast<const uint8_t*>(next) - text_);
        }
        for (int t = 0; t < 10; ++t)
            tagStart_[t] = tagEnd_[t] = -1;
        const long long end = Match(0, p);
        if (end == -2)
            return TooComplex;
        if (end >= 0) {
            matched = true;
            if (!allStarts)
                break;
        }
        if (anchored)
            break;
        if (--*budget_ < 0)
            return TooComplex;
    }
    return matched ? Matched : NoMatch;
}
