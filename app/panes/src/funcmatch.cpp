// funcmatch.cpp - CLineMatcher: the component's regular expressions matched
// over one line a piece at a time (see funcmatch.h).
#include "funcmatch.h"

#include <algorithm>

namespace {

// What the component's compiler remembers of the opcode it wrote last: a
// repetition mark applies to it, or is refused.
enum LastOp {
    kNothing,
    kChr,
    kAny,
    kCcl,
    kBol,
    kEol,
    kBot,
    kEot,
    kBow,
    kEow,
    kClo,
    kClq
};

// The component's program: its size limit (the program less a class and a
// margin) and the size of what each opcode writes.
const size_t kProgramLimit = 4096 - 32 - 10;
const size_t kChrSize = 2;
const size_t kAnySize = 1;
const size_t kClassSize = 33;
const size_t kMarkSize = 1;   // "^", "$", "\<", "\>"
const size_t kTagSize = 2;    // an opening or closing group
const size_t kRepeatSize = 2; // a repetition around its atom
const int kMaxTags = 10;      // groups are numbered 1 to 9

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

bool CLineMatcher::AnchorsAtLineStart(const std::string& strPattern)
{
    return !strPattern.empty() && strPattern[0] == '^';
}

bool CLineMatcher::AnchorsAtLineEnd(const std::string& strPattern)
{
    const size_t n = strPattern.size();
    return n > 0 && strPattern[n - 1] == '$' && (n < 2 || strPattern[n - 2] != '\\');
}

bool CLineMatcher::Compile(const std::string& strPattern, bool bMatchCase, bool bPosix, const bool* pWordChars)
{
    m_atoms.clear();
    std::copy(pWordChars, pWordChars + 256, m_word);
    m_bAnchored = m_bSkip = false;
    const size_t n = strPattern.size();
    // An empty pattern makes the component search its previous one again.
    if (n == 0)
        return false;
    // The text reads as zero past its end, as the component reads it.
    auto at = [&](size_t k) -> char { return k < n ? strPattern[k] : '\0'; };
    auto addWithCase = [&](Set& s, unsigned char c) {
        s.Add(c);
        if (!bMatchCase) {
            if (c >= 'a' && c <= 'z')
                s.Add((unsigned char)(c - 'a' + 'A'));
            else if (c >= 'A' && c <= 'Z')
                s.Add((unsigned char)(c - 'A' + 'a'));
        }
    };
    // The escape whose letter stands at k: the byte it names, or -1 for a
    // class (added to s); incr: the bytes it takes beyond the letter.
    auto escape = [&](size_t k, size_t& incr, Set& s) -> int {
        incr = 0;
        const unsigned char c = (unsigned char)at(k);
        switch (c) {
        case '\0':
            return '\\'; // a backslash at the end stands for itself
        case 'a':
            return '\a';
        case 'b':
            return '\b';
        case 'f':
            return '\f';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        case 'v':
            return '\v';
        case 'x': {
            const int hi = HexDigit(at(k + 1)), lo = HexDigit(at(k + 2));
            if (hi < 0 || lo < 0)
                return 'x';
            incr = 2;
            return hi * 16 + lo;
        }
        case 'd':
        case 'D':
        case 's':
        case 'S':
        case 'w':
        case 'W':
            for (int b = 0; b < 256; b++) {
                bool bIn = false;
                switch (c | 0x20) {
                case 'd':
                    bIn = b >= '0' && b <= '9';
                    break;
                case 's':
                    bIn = b == ' ' || (b >= 0x09 && b <= 0x0D);
                    break;
                default:
                    bIn = m_word[b];
                    break;
                }
                if (bIn == ((c & 0x20) != 0))
                    s.Add((unsigned char)b);
            }
            return -1;
        default:
            return c;
        }
    };
    auto addOne = [&](const Set& s, bool bClass) { m_atoms.push_back({kOne, bClass, s}); };
    auto addMark = [&](Kind kind) { m_atoms.push_back({kind, false, Set()}); };

    size_t nSize = 0;       // the component's program so far
    LastOp last = kNothing; // the component's last opcode
    size_t nLastSize = 0;   // the size of the last atom that takes a byte
    int nTags = 1, nOpen = 0;
    // A group opened or closed ("\(" or "(" with SCFIND_POSIX): it only
    // numbers what it holds, which a search does not use; false where the
    // component refuses it (too many, empty, or nothing open).
    auto group = [&](char paren) {
        if (paren == '(' ? nTags >= kMaxTags : (last == kBot || nOpen == 0))
            return false;
        if (paren == '(')
            nTags++, nOpen++;
        else
            nOpen--;
        nSize += kTagSize;
        last = paren == '(' ? kBot : kEot;
        return true;
    };
    for (size_t i = 0; i < n; i++) {
        if (nSize > kProgramLimit)
            return false; // "Pattern too long"
        const char ch = strPattern[i];
        switch (ch) {
        case '.': {
            Set s;
            std::fill(s.bits, s.bits + 8, 0xFFFFFFFFu);
            addOne(s, false);
            nSize += nLastSize = kAnySize;
            last = kAny;
            break;
        }
        case '^':
        case '$':
            // Anchors only as the first or the last character.
            if (ch == '^' ? i == 0 : at(i + 1) == '\0') {
                addMark(ch == '^' ? kLineStart : kLineEnd);
                nSize += kMarkSize;
                last = ch == '^' ? kBol : kEol;
            } else {
                Set s = {};
                s.Add((unsigned char)ch);
                addOne(s, false);
                nSize += nLastSize = kChrSize;
                last = kChr;
            }
            break;
        case '[': {
            Set s = {};
            int nPrev = 0; // the last character set, -1 after a named class
            size_t k = i + 1;
            // The escape whose letter stands at k, added to the class; k
            // moves to its last byte. Its byte, or -1 for a named class.
            auto escapeInClass = [&](size_t& kAt) {
                size_t incr;
                const int e = escape(kAt, incr, s);
                kAt += incr;
                if (e >= 0)
                    s.Add((unsigned char)e);
                nPrev = e >= 0 ? e : -1;
                return e;
            };
            const bool bNegate = at(k) == '^';
            if (bNegate)
                k++;
            if (at(k) == '-') {
                nPrev = '-';
                s.Add('-');
                k++;
            }
            if (at(k) == ']') {
                nPrev = ']';
                s.Add(']');
                k++;
            }
            while (at(k) != '\0' && at(k) != ']') {
                const char c = at(k);
                if (c == '-') {
                    if (nPrev < 0) {
                        nPrev = '-';
                        s.Add('-');
                    } else if (at(k + 1) == '\0') {
                        return false; // "Missing ]"
                    } else if (at(k + 1) == ']') {
                        nPrev = '-';
                        s.Add('-');
                    } else {
                        // A range from the character after the previous one
                        // (which stays the previous one unless escaped).
                        int nLow = nPrev + 1;
                        int nHigh = (unsigned char)at(++k);
                        if (nHigh == '\\') {
                            if (at(k + 1) == '\0')
                                return false; // "Missing ]"
                            nHigh = escapeInClass(++k);
                        }
                        if (nPrev < 0) {
                            nPrev = '-';
                            s.Add('-');
                        } else {
                            while (nLow <= nHigh)
                                addWithCase(s, (unsigned char)nLow++);
                        }
                    }
                } else if (c == '\\' && at(k + 1) != '\0') {
                    escapeInClass(++k);
                } else {
                    nPrev = (unsigned char)c;
                    addWithCase(s, (unsigned char)c);
                }
                k++;
            }
            if (at(k) == '\0')
                return false; // "Missing ]"
            if (bNegate)
                for (uint32_t& w : s.bits)
                    w = ~w;
            addOne(s, true);
            nSize += nLastSize = kClassSize;
            last = kCcl;
            i = k;
            break;
        }
        case '*':
        case '+':
        case '?': {
            if (i == 0)
                return false; // "Empty closure"
            if (last == kClo)
                break; // a second mark on a repetition changes nothing
            // After a mark, a group or a back-reference the component
            // refuses the pattern; after "?" it builds one that never
            // matches; "*?" and "+?" are lazy: none is taken here.
            if ((last != kChr && last != kAny && last != kCcl) || (ch != '?' && at(i + 1) == '?'))
                return false;
            Atom& atom = m_atoms.back();
            if (ch == '+') {
                Atom more = atom;
                more.kind = kStar;
                m_atoms.push_back(more);
                nSize += nLastSize;
            } else if (ch == '*') {
                atom.kind = kStar;
            } else {
                // The component repeats a class marked "?" as often as it can.
                atom.kind = atom.bClass ? kStar : kOptional;
            }
            nSize += kRepeatSize;
            last = ch == '?' ? kClq : kClo;
            break;
        }
        case '\\': {
            const char e = at(++i);
            if (e == '<') {
                addMark(kWordStart);
                nSize += kMarkSize;
                last = kBow;
            } else if (e == '>') {
                // Right after "\<" the component refuses it; first in the
                // pattern it looks at its previous program.
                if (last == kBow || last == kNothing)
                    return false;
                addMark(kWordEnd);
                nSize += kMarkSize;
                last = kEow;
            } else if (e >= '1' && e <= '9') {
                return false; // back-references
            } else if (!bPosix && (e == '(' || e == ')')) {
                if (!group(e))
                    return false;
            } else {
                Set s = {};
                size_t incr;
                const int c = escape(i, incr, s);
                i += incr;
                if (c >= 0) {
                    s.Add((unsigned char)c);
                    addOne(s, false);
                    nSize += nLastSize = kChrSize;
                    last = kChr;
                } else {
                    addOne(s, true);
                    nSize += nLastSize = kClassSize;
                    last = kCcl;
                }
            }
            break;
        }
        default:
            if (bPosix && (ch == '(' || ch == ')')) {
                if (!group(ch))
                    return false;
            } else {
                const unsigned char c = (unsigned char)ch;
                Set s = {};
                // Without case, a word character matches as a class of
                // both cases.
                const bool bClass = !bMatchCase && Word(c);
                if (bClass)
                    addWithCase(s, c);
                else
                    s.Add(c);
                addOne(s, bClass);
                nSize += nLastSize = bClass ? kClassSize : kChrSize;
                last = bClass ? kCcl : kChr;
            }
            break;
        }
    }
    if (nOpen > 0 || m_atoms.empty())
        return false;
    // A lone "$" is found at the end of every stretch by a path of its own.
    if (m_atoms[0].kind == kLineEnd)
        return false;
    m_bAnchored = m_atoms[0].kind == kLineStart;
    // The bytes a match can begin with: those of the repetitions before the
    // first atom that takes a byte, and of that atom. A pattern that can
    // match nothing at all begins anywhere.
    m_first = Set();
    for (const Atom& atom : m_atoms) {
        if (atom.kind == kOne || atom.kind == kStar || atom.kind == kOptional)
            for (int w = 0; w < 8; w++)
                m_first.bits[w] |= atom.set.bits[w];
        if (atom.kind == kOne) {
            m_bSkip = true;
            break;
        }
    }
    return true;
}

void CLineMatcher::Begin(Pos nFrom, Pos nTo)
{
    m_nFrom = nFrom;
    m_nTo = nTo;
    m_nPos = nFrom;
    m_chPrev = 0;
    m_bFound = false;
    m_nMatchStart = m_nMatchEnd = -1;
    // Each atom holds at most one thread at a position, and a new start
    // comes on top.
    m_waiting.resize(m_atoms.size() + 2);
    m_taking.resize(m_atoms.size() + 2);
    m_nWaiting = m_nTaking = 0;
    m_seen.assign(m_atoms.size() + 1, 0);
    m_nVisit = 0;
    m_bSettled = m_atoms.empty();
}

void CLineMatcher::Expand(unsigned char c)
{
    if (++m_nVisit == 0) {
        std::fill(m_seen.begin(), m_seen.end(), 0u);
        m_nVisit = 1;
    }
    m_nTaking = 0;
    // A new start ranks below every thread under way; the component tries
    // every start before the end, or only nFrom for "^".
    if (!m_bFound && (m_bAnchored ? m_nPos == m_nFrom : m_nPos < m_nTo))
        m_waiting[m_nWaiting++] = {0, m_nPos};
    const int nAtoms = (int)m_atoms.size();
    const Atom* atoms = m_atoms.data();
    unsigned* seen = m_seen.data();
    Thread* taking = m_taking.data();
    for (size_t t = 0; t < m_nWaiting; t++) {
        const Thread thread = m_waiting[t];
        // Each atom leads on to the next one only: a thread is a chain. A
        // repetition first offers its byte (the longer match ranks higher),
        // then lets the chain go on without it.
        int nAt = thread.nAt;
        for (;;) {
            if (seen[nAt] == m_nVisit)
                break; // a thread ranked higher stands here already
            seen[nAt] = m_nVisit;
            if (nAt == nAtoms) {
                // A match: the threads ranked below it are dropped.
                m_bFound = true;
                m_nMatchStart = thread.nStart;
                m_nMatchEnd = m_nPos;
                m_nWaiting = 0;
                return;
            }
            bool bOn = true;
            switch (atoms[nAt].kind) {
            case kOne:
                taking[m_nTaking++] = {nAt, thread.nStart};
                bOn = false;
                break;
            case kStar:
            case kOptional:
                taking[m_nTaking++] = {nAt, thread.nStart};
                break;
            case kLineStart:
                bOn = m_nPos == m_nFrom;
                break;
            case kLineEnd:
                bOn = m_nPos >= m_nTo;
                break;
            case kWordStart:
                bOn = (m_nPos == m_nFrom || !Word(m_chPrev)) && Word(c);
                break;
            case kWordEnd:
                bOn = m_nPos != m_nFrom && Word(m_chPrev) && !Word(c);
                break;
            }
            if (!bOn)
                break;
            nAt++;
        }
    }
    m_nWaiting = 0;
}

void CLineMatcher::Advance(unsigned char c)
{
    const Atom* atoms = m_atoms.data();
    for (size_t t = 0; t < m_nTaking; t++) {
        const Thread& thread = m_taking[t];
        const Atom& atom = atoms[thread.nAt];
        if (atom.set.Has(c))
            m_waiting[m_nWaiting++] = {atom.kind == kStar ? thread.nAt : thread.nAt + 1, thread.nStart};
    }
    m_nTaking = 0;
    m_chPrev = c;
    m_nPos++;
    if (m_nWaiting == 0 && (m_bFound || m_bAnchored))
        m_bSettled = true;
}

size_t CLineMatcher::Feed(const char* pBytes, size_t nBytes)
{
    if (m_nPos >= m_nTo)
        return 0;
    nBytes = std::min(nBytes, (size_t)(m_nTo - m_nPos));
    const unsigned char* p = (const unsigned char*)pBytes;
    size_t i = 0;
    while (i < nBytes && !m_bSettled) {
        if (m_bSkip && m_nWaiting == 0 && !m_bFound) {
            // Nothing under way: a start whose byte no match can begin
            // with fails at once.
            const size_t nSkipFrom = i;
            while (i < nBytes && !m_first.Has(p[i]))
                i++;
            if (i > nSkipFrom) {
                m_chPrev = p[i - 1];
                m_nPos += (Pos)(i - nSkipFrom);
            }
            if (i == nBytes)
                break;
        }
        Expand(p[i]);
        Advance(p[i]);
        i++;
    }
    return i;
}

void CLineMatcher::Finish()
{
    if (m_bSettled)
        return;
    // At the end of the stretch nothing more is taken: "$" holds, and the
    // threads that wait for a byte end here.
    Expand('\0');
    m_nTaking = 0;
    m_bSettled = true;
}
