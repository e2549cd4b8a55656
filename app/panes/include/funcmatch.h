// funcmatch.h - CLineMatcher: the editing component's regular expressions
// (its own engine, SCFIND_REGEXP with or without SCFIND_POSIX) matched over
// a stretch of one line that is handed over a piece at a time.
//
// The component searches a line in one call that cannot pause, and its
// backtracking may read the rest of the line from every start position: on
// a line of megabytes one search keeps the interface thread busy for
// minutes. The function list's scan (funcscan.h) gives such a line to this
// matcher instead, one piece of bytes per step of the scan.
//
// What it finds is what the component's search of the same stretch finds:
// the first start position that matches and, from there, the end that the
// component's backtracking settles on (each repetition as long as it can
// be, given back one character at a time). Every way through the pattern
// runs side by side, a byte at a time, in the order the backtracking would
// try them (an ordered thread list, as in a Pike machine): the work per byte
// is bounded by the pattern's length, and the state carries over from one
// piece to the next, so a match that straddles two pieces is neither cut
// short nor invented.
//
// The stretch follows the component's rules for one line searched from
// nFrom to nTo: "^" holds at nFrom, "$" at nTo, "\<" at nFrom needs only a
// word character after it, "\>" never holds at nFrom, and bytes at or after
// nTo read as 0. The component's own line rules (a pattern that begins with
// "^" or ends with "$" skips a line it cannot anchor in, match ends moved
// out of multi-byte characters) are the caller's.
//
// Compile takes the patterns of the component's syntax that it can match
// exactly and says false for the rest (back-references, lazy repetitions,
// a repetition of an optional atom, a lone "$", every pattern the component
// rejects): the caller then asks the component. No windows: bytes in,
// positions out.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

class CLineMatcher {
public:
    typedef ptrdiff_t Pos;

    // pWordChars: 256 flags, the document's word characters (for "\<",
    // "\>", "\w" and, without bMatchCase, which plain characters ignore
    // case). False when the pattern is not one the matcher takes.
    bool Compile(const std::string& strPattern, bool bMatchCase, bool bPosix, const bool* pWordChars);
    // The component's own test of the pattern text: a "^" first makes it
    // skip a line not searched from its start, a "$" last (not escaped) one
    // not searched to its end.
    static bool AnchorsAtLineStart(const std::string& strPattern);
    static bool AnchorsAtLineEnd(const std::string& strPattern);

    // Starts a search of [nFrom, nTo).
    void Begin(Pos nFrom, Pos nTo);
    // Takes the bytes at the next positions (at most up to nTo) and returns
    // how many it used: fewer once the result is settled.
    size_t Feed(const char* pBytes, size_t nBytes);
    // The position of the next byte to feed.
    Pos Next() const { return m_nPos; }
    // True when no further byte can change the result.
    bool Settled() const { return m_bSettled; }
    // Every byte up to nTo was fed: the end of the stretch settles the rest.
    void Finish();
    // The match once settled; -1 when there is none.
    Pos MatchStart() const { return m_bFound ? m_nMatchStart : -1; }
    Pos MatchEnd() const { return m_bFound ? m_nMatchEnd : -1; }

private:
    struct Set {
        uint32_t bits[8];
        bool Has(unsigned char c) const { return ((bits[c >> 5] >> (c & 31)) & 1u) != 0; }
        void Add(unsigned char c) { bits[c >> 5] |= 1u << (c & 31); }
    };
    enum Kind : uint8_t {
        kOne,       // one byte of the set
        kStar,      // as many bytes of the set as there are, given back one at a time
        kOptional,  // one byte of the set if there is one, else none
        kLineStart, // "^": at nFrom
        kLineEnd,   // "$": at nTo
        kWordStart, // "\<"
        kWordEnd    // "\>"
    };
    struct Atom {
        Kind kind;
        bool bClass; // a class ("[...]", "\d", a letter that ignores case): "?" repeats it like "*"
        Set set;
    };
    struct Thread {
        int nAt;    // the atom it stands before (m_atoms.size(): matched)
        Pos nStart; // where its match began
    };

    bool Word(unsigned char c) const { return m_word[c]; }
    // The threads waiting at m_nPos, with c the byte there (0 at the end),
    // ranked and run up to the atoms that take a byte; a match cuts the
    // threads ranked below it.
    void Expand(unsigned char c);
    // Moves the threads that take c on to the next position.
    void Advance(unsigned char c);

    std::vector<Atom> m_atoms;
    bool m_word[256] = {};
    bool m_bAnchored = false; // begins with "^": tried from nFrom only
    bool m_bSkip = false;     // every match takes a byte: starts on a byte not in m_first fail at once
    Set m_first = {};         // the bytes a match can begin with
    // The search (positions in the document).
    Pos m_nFrom = 0, m_nTo = 0;
    Pos m_nPos = 0;             // the next byte's position
    unsigned char m_chPrev = 0; // the byte before m_nPos (read only past nFrom)
    bool m_bFound = false;
    bool m_bSettled = true;
    Pos m_nMatchStart = -1, m_nMatchEnd = -1;
    std::vector<Thread> m_waiting; // at m_nPos, ranked: the first m_nWaiting
    std::vector<Thread> m_taking;  // at m_nPos, before atoms that take a byte, ranked: the first m_nTaking
    size_t m_nWaiting = 0, m_nTaking = 0;
    std::vector<unsigned> m_seen; // per atom: the visit that reached it last
    unsigned m_nVisit = 0;
};
