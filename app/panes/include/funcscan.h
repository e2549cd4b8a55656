// funcscan.h - the function list's scan: the routine entries of a text, found
// with the patterns of its language (funcpatterns.h) by Scintilla's target
// search in an editor that shows the text (a view of its own: the scan moves
// the view's target).
//
// Three passes: the comment ranges of the text (CCommentRanges), the header
// search of every pattern set with its parameter check, name and body
// (CFunctionScan::Scan), and the reduction to the top-level entries that the
// pane lists (CFunctionScan::BuildTopLevelList).
//
// The scan moves the editor's target and search flags: it owns the editor
// while it runs (the pane gives it a hidden view of the document). It reads
// the text only through searches, line positions and short ranges, so the
// editor may show the user's own document: braces are matched by counting
// every brace alike, as in a copy of the text without colours, never by the
// component's brace match, which skips braces coloured unlike the first.
//
// Steps. A long scan can be run a little at a time: SetPace names a
// function the scan calls between steps of bounded work: before each search
// and each piece of one. A search is made a piece of whole lines at a time
// (Scintilla's regular expressions never span lines, so the pieces find
// what one search over the range finds); a line longer than a piece is
// matched a piece of bytes at a time by CLineMatcher (funcmatch.h), which
// finds what the component's search of that line finds. The matcher and
// the brace match read the text in pieces that start at 1 KB and double up
// to a piece, so what is near costs little to find.
//
// Cost. Searches move forward through the text. The plain form of the scan
// searches each block open, block close and token list from where it stands
// to the end of the text and walks the comment ranges from the first: a text
// with many headers and a distant (or no) body costs headers x text. The
// scan remembers instead, per pattern set, the next match of each block
// open, block close and token from the last place asked (Scintilla's regular
// expressions never span lines, so only the line where a search starts has
// to be searched again), counts tokens from a chain of matches with running
// totals, and finds comments by binary search. SetPlainSearch(true) runs the
// plain form: both give the same entries (the tests hold them equal).
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "funcpatterns.h"
#include "functionliststore.h"

class CLineMatcher;
class CMFCScintilla;

// The steps of a scan: the function called between them and the size of a
// piece of text one step searches or reads.
struct ScanPace {
    std::function<void()> step; // may be empty
    // Told the length of each stretch of text that one search of the
    // component, one piece for the matcher or one read covers (a meter for
    // tests); may be empty.
    std::function<void(Sci_Position)> meter;
    Sci_Position nPiece = 256 * 1024; // 0: every search in one piece

    void Step() const
    {
        if (step)
            step();
    }
    void Read(Sci_Position nBytes) const;
    // The first match of the pattern in [nFrom, nTo] (the editor's search
    // flags), a piece of lines at a time; as SearchRange, the target is left
    // on the match, or on [nFrom, nTo] when there is none.
    Sci_Position Search(CMFCScintilla& editor, const std::string& strPattern, Sci_Position nFrom,
                        Sci_Position nTo) const;
    // The brace matching the one at nPos ("()[]{}<>"), every brace of the
    // text counted alike; -1 when nPos holds none or it has no match.
    Sci_Position MatchBrace(const CMFCScintilla& editor, Sci_Position nPos) const;

private:
    // The size of the first read of text, and of the one after a read of
    // nLast bytes.
    Sci_Position FirstRead() const;
    Sci_Position NextRead(Sci_Position nLast) const;
    // The first match in [nFrom, nTo] of one line by the compiled matcher,
    // a piece at a time: true with its start and end.
    bool SearchLine(const CMFCScintilla& editor, CLineMatcher& matcher, Sci_Position nFrom, Sci_Position nTo,
                    Sci_Position& nPos, Sci_Position& nEnd) const;
};

// The comment (and string) ranges of the editor's text, in ascending,
// non-overlapping order.
class CCommentRanges {
public:
    void SetEditor(CMFCScintilla* pEditor) { m_pEditor = pEditor; }
    void SetPace(const ScanPace* pPace) { m_pPace = pPace; }
    void ClearPairs() { m_pairs.clear(); }
    // close "": the comment ends at the end of its line.
    void AddPair(const std::string& strOpen, const std::string& strClose);
    // Fills the ranges from the editor's text (none without pairs or text).
    void Compute();
    // Empties the ranges and lets their memory go.
    void Clear() { m_ranges.Clear(); }
    // True when one range holds [nStart, nEnd]: binary search.
    bool Contains(Sci_Position nStart, Sci_Position nEnd) const;
    // The same answer by walking the ranges from the first.
    bool ContainsByWalk(Sci_Position nStart, Sci_Position nEnd) const;
    // The ranges, decoded (for inspection).
    std::vector<CommentRange> GetRanges() const { return m_ranges.ToVector(); }

private:
    struct CommentPair {
        Sci_Position nNext; // next match of the opening pattern, -1 when it no longer occurs
        std::string strOpen;
        std::string strClose;
    };
    CMFCScintilla* m_pEditor = nullptr; // not owned
    const ScanPace* m_pPace = nullptr;  // not owned; none: one search per range
    CPackedRanges m_ranges;             // ascending, non-overlapping
    std::vector<CommentPair> m_pairs;
};

class CFunctionScan {
public:
    explicit CFunctionScan(CMFCScintilla& editor);
    CFunctionScan(const CFunctionScan&) = delete; // its comment ranges point at its pace
    CFunctionScan& operator=(const CFunctionScan&) = delete;

    // The table of nLanguageId; false when the language is not supported
    // (the table is then empty and the scan finds nothing).
    bool SetLanguage(int nLanguageId);
    // The plain searches of the reference form (see above).
    void SetPlainSearch(bool bPlain) { m_bPlain = bPlain; }
    // Run for a list alone: only the top-level entries are kept. The comment
    // ranges go once the headers are found, the list of every entry once
    // the top-level list is drawn from it (GetAllEntries is then empty
    // after Run).
    void SetListOnly(bool bListOnly) { m_bListOnly = bListOnly; }
    // A flag that, once non-zero, ends the scan early (the pane closing).
    void SetCancelFlag(const volatile LONG* pCancel) { m_pCancel = pCancel; }
    // The steps of the scan (see above); the default has no step function.
    void SetPace(const ScanPace& pace) { m_pace = pace; }

    // Comment ranges, header search and top-level list over the editor's
    // whole text; false when cancelled (the lists are then incomplete).
    bool Run();

    void Scan();
    void BuildTopLevelList();

    const CFunctionEntries& GetAllEntries() const { return m_all; }
    const CFunctionEntries& GetTopLevelEntries() const { return m_topLevel; }
    // Hands the top-level entries over (the scan keeps none).
    CFunctionEntries TakeTopLevelEntries() { return std::move(m_topLevel); }
    const CCommentRanges& GetCommentRanges() const { return m_comments; }
    CCommentRanges& GetCommentRanges() { return m_comments; }
    // The names of the top-level entries, in order.
    std::vector<std::string> GetTopLevelNames() const;

private:
    struct Match {
        Sci_Position nPos; // -1: none
        Sci_Position nEnd;
    };
    // The next match of a pattern at or after nFrom, found before: valid
    // for a later start up to nPos (lines between hold no match).
    struct ForwardMemo {
        bool bValid = false;
        Sci_Position nFrom = 0;
        Match match = {-1, -1};
    };
    // Matches of one token, each searched from the end of the one before,
    // with the number outside comments before each.
    struct TokenChain {
        std::vector<Sci_Position> starts, ends, lines;
        std::vector<int> counted; // counted[k]: matches before k outside comments
        bool bExhausted = false;
        ForwardMemo extend; // the chain's own searches
        ForwardMemo query;  // the first match of each count
    };

    bool Cancelled() const { return m_pCancel != nullptr && *m_pCancel != 0; }
    bool InComment(Sci_Position nStart, Sci_Position nEnd) const;
    // Target [nFrom, nTo], search, the match (target left as Scintilla leaves it).
    Match SearchTarget(const std::string& strPattern, Sci_Position nFrom, Sci_Position nTo);
    // The first match at or after nFrom up to the end of the text.
    Match SearchForward(ForwardMemo& memo, const std::string& strPattern, Sci_Position nFrom);
    bool CheckParameters(const std::string& strParameters, size_t nOpen, size_t nClose);
    void ExtractName(const FunctionPattern& set, FunctionEntry& entry);
    int CountTokens(const std::string& strList, Sci_Position nFrom, Sci_Position nTo);
    int CountToken(const std::string& strToken, Sci_Position nFrom, Sci_Position nTo);
    int CountTokenPlain(const std::string& strToken, Sci_Position nFrom, Sci_Position nTo);
    int CountTokenByChain(TokenChain& chain, const std::string& strToken, Sci_Position nFrom, Sci_Position nTo);
    void ExtendChain(TokenChain& chain, const std::string& strToken, Sci_Position nUntilPos, Sci_Position nUntilLine);
    Match FindBlockOpen(const std::string& strOpen, Sci_Position nFrom);
    Match FindBlockClose(const std::string& strClose, bool bInComment, Sci_Position nFrom);
    // Looks for the body of a header that counts; true when the entry is added.
    bool FindBody(const FunctionPattern& set, FunctionEntry& entry);

    CMFCScintilla& m_editor;
    ScanPace m_pace;
    FunctionLanguage m_language;
    CCommentRanges m_comments;
    CFunctionEntries m_all;                // a run per pattern set; sorted by line after Scan
    CFunctionEntries m_topLevel;           // what the pane lists
    Sci_Position m_nLength = 0;            // the text length during a scan
    bool m_bPlain = false;
    bool m_bListOnly = false;
    const volatile LONG* m_pCancel = nullptr;
    // Per pattern set (cleared when the next set starts).
    ForwardMemo m_openMemo, m_closeMemo;
    std::map<std::string, TokenChain> m_chains;
};
