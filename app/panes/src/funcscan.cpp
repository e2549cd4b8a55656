// funcscan.cpp - the function list's scan over an editor showing the text.
#include "funcscan.h"

#include <algorithm>
#include <cstring>

#include "funcmatch.h"
#include "scintillawrap.h"

namespace {

// Regular expressions, POSIX groups; the whole-word flag is kept with them
// (regular expressions ignore it).
const int kSearchFlags = SCFIND_REGEXP | SCFIND_POSIX | SCFIND_WHOLEWORD;

const char kParenOpen[] = "\\(";
const char kParenClose[] = "\\)";

// Where a search resumes after a match: its end, and never before one
// position past its start (a pattern that matches empty text would
// otherwise find itself forever).
Sci_Position ResumeAfter(Sci_Position nPos, Sci_Position nEnd)
{
    return std::max(nEnd, nPos + 1);
}

} // namespace

// ===========================================================================
// Steps

namespace {

// Text is read in pieces that start small and double up to a whole piece:
// what is usually near (a brace, the end of a match) costs little to find.
const Sci_Position kFirstRead = 1024;

// Where the component moves a range end before it searches: out of a
// multi-byte character and out of a CR LF pair.
Sci_Position OutsideChar(const CMFCScintilla& editor, Sci_Position nPos)
{
    return nPos <= 0 ? 0 : editor.PositionAfter(nPos - 1);
}

// The matcher for a pattern searched with the editor's search flags; false
// when the component has to search it itself (not a regular expression of
// its own engine, a code page of two-byte characters, or a pattern the
// matcher does not take).
bool PrepareMatcher(const CMFCScintilla& editor, const std::string& strPattern, CLineMatcher& matcher)
{
    const int nFlags = editor.GetSearchFlags();
    if ((nFlags & SCFIND_REGEXP) == 0 || (nFlags & SCFIND_CXX11REGEX) != 0)
        return false;
    const Sci_Position nCodePage = editor.Call(SCI_GETCODEPAGE);
    if (nCodePage != 0 && nCodePage != SC_CP_UTF8)
        return false;
    unsigned char chars[257] = {};
    const Sci_Position nChars = editor.Call(SCI_GETWORDCHARS, 0, (sptr_t)chars);
    bool word[256] = {};
    for (Sci_Position i = 0; i < nChars && i < 256; i++)
        word[chars[i]] = true;
    return matcher.Compile(strPattern, (nFlags & SCFIND_MATCHCASE) != 0, (nFlags & SCFIND_POSIX) != 0, word);
}

} // namespace

Sci_Position ScanPace::FirstRead() const
{
    return std::min(kFirstRead, std::max<Sci_Position>(nPiece, 1));
}

Sci_Position ScanPace::NextRead(Sci_Position nLast) const
{
    return std::min(nLast * 2, std::max<Sci_Position>(nPiece, 1));
}

void ScanPace::Read(Sci_Position nBytes) const
{
    if (meter)
        meter(nBytes);
}

Sci_Position ScanPace::Search(CMFCScintilla& editor, const std::string& strPattern, Sci_Position nFrom,
                              Sci_Position nTo) const
{
    const Sci_Position nSize = (Sci_Position)strPattern.size();
    // A range within a piece holds no long line: one search.
    if (nPiece <= 0 || nFrom > nTo || nTo - nFrom <= nPiece) {
        Step();
        Read(nFrom > nTo ? nFrom - nTo : nTo - nFrom);
        return editor.SearchRange(strPattern.c_str(), nSize, nFrom, nTo);
    }
    // The component searches each line of the range on its own, from where
    // the range starts on the first line to where it ends on the last.
    const Sci_Position nToOutside = OutsideChar(editor, nTo);
    const Sci_Position nLastLine = editor.LineFromPosition(nToOutside);
    auto partOfLine = [&](Sci_Position nLine) {
        return nLine == nLastLine ? nToOutside : editor.GetLineEndPosition(nLine);
    };
    CLineMatcher matcher;
    int nMatcher = -1; // compiled on the first long line: 1 usable, 0 not
    Sci_Position nStart = nFrom;
    for (;;) {
        Step();
        // A line whose part in the range is longer than a piece is matched a
        // piece at a time, with the component's rules for the line.
        const Sci_Position nAt = nStart == nFrom ? OutsideChar(editor, nStart) : nStart;
        const Sci_Position nLine = editor.LineFromPosition(nAt);
        const Sci_Position nLineTo = partOfLine(nLine);
        if (nLineTo - nAt > nPiece && nMatcher < 0)
            nMatcher = PrepareMatcher(editor, strPattern, matcher) ? 1 : 0;
        if (nLineTo - nAt > nPiece && nMatcher == 1) {
            Sci_Position nPos = -1, nEnd = -1;
            const bool bSkip = (CLineMatcher::AnchorsAtLineStart(strPattern) && nAt != editor.PositionFromLine(nLine)) ||
                               (CLineMatcher::AnchorsAtLineEnd(strPattern) && nLineTo != editor.GetLineEndPosition(nLine));
            if (!bSkip && SearchLine(editor, matcher, nAt, nLineTo, nPos, nEnd)) {
                editor.SetTargetStart(nPos);
                editor.SetTargetEnd(nEnd);
                return nPos;
            }
            if (nLine >= nLastLine)
                break;
            nStart = editor.PositionFromLine(nLine + 1);
            continue;
        }
        // Otherwise a piece of whole lines: it ends at the end of a line,
        // and only where the range takes that line's line end too (where
        // the range ends inside a line end, a match may take a line end
        // character).
        Sci_Position nEnd = nTo;
        Sci_Position nPieceLine = -1;
        if (nTo - nStart > nPiece) {
            nPieceLine = editor.LineFromPosition(nStart + nPiece);
            if (editor.GetLineEndPosition(nPieceLine) < nStart)
                nPieceLine++; // nStart is in that line's line end
            // A long line after the first is left to a step of its own.
            if (nPieceLine > nLine && editor.GetLineEndPosition(nPieceLine - 1) >= nStart &&
                partOfLine(nPieceLine) - editor.PositionFromLine(nPieceLine) > nPiece)
                nPieceLine--;
            Sci_Position nNext = editor.PositionFromLine(nPieceLine + 1);
            if (nNext >= 0 && nNext <= nTo)
                nEnd = editor.GetLineEndPosition(nPieceLine);
            else
                nPieceLine = -1;
        }
        Read(nEnd - nStart);
        Sci_Position nPos = editor.SearchRange(strPattern.c_str(), nSize, nStart, nEnd);
        if (nPos >= 0)
            return nPos;
        if (nPieceLine < 0)
            break;
        nStart = editor.PositionFromLine(nPieceLine + 1);
    }
    editor.SetTargetStart(nFrom);
    editor.SetTargetEnd(nTo);
    return -1;
}

bool ScanPace::SearchLine(const CMFCScintilla& editor, CLineMatcher& matcher, Sci_Position nFrom, Sci_Position nTo,
                          Sci_Position& nPos, Sci_Position& nEnd) const
{
    Sci_Position nStep = FirstRead();
    std::string buffer;
    matcher.Begin(nFrom, nTo);
    while (!matcher.Settled() && matcher.Next() < nTo) {
        if (matcher.Next() != nFrom)
            Step();
        const Sci_Position nStart = matcher.Next();
        const Sci_Position nStop = std::min(nTo, nStart + nStep);
        buffer.resize((size_t)(nStop - nStart) + 1);
        editor.GetTextRange(nStart, nStop, &buffer[0]);
        Read(nStop - nStart);
        matcher.Feed(buffer.data(), (size_t)(nStop - nStart));
        nStep = NextRead(nStep);
    }
    matcher.Finish();
    nPos = matcher.MatchStart();
    if (nPos < 0)
        return false;
    // As the component does, a match end inside a character moves past it.
    nEnd = OutsideChar(editor, matcher.MatchEnd());
    return true;
}

Sci_Position ScanPace::MatchBrace(const CMFCScintilla& editor, Sci_Position nPos) const
{
    static const char kPairs[] = "()[]{}<>";
    const Sci_Position nLength = editor.GetLength();
    if (nPos < 0 || nPos >= nLength)
        return -1;
    const char chBrace = (char)editor.Call(SCI_GETCHARAT, (uptr_t)nPos);
    const char* pAt = chBrace != '\0' ? std::strchr(kPairs, chBrace) : nullptr;
    if (pAt == nullptr)
        return -1;
    const bool bForward = (pAt - kPairs) % 2 == 0;
    const char chSeek = bForward ? pAt[1] : pAt[-1];
    Sci_Position nStep = FirstRead();
    std::string buffer;
    int nDepth = 1;
    Sci_Position nNear = bForward ? nPos + 1 : nPos; // the piece's edge nearest the brace
    while (bForward ? nNear < nLength : nNear > 0) {
        Step();
        const Sci_Position nStart = bForward ? nNear : std::max<Sci_Position>(0, nNear - nStep);
        const Sci_Position nEnd = bForward ? std::min(nLength, nNear + nStep) : nNear;
        buffer.resize((size_t)(nEnd - nStart) + 1);
        editor.GetTextRange(nStart, nEnd, &buffer[0]);
        Read(nEnd - nStart);
        nStep = NextRead(nStep);
        for (Sci_Position i = 0; i < nEnd - nStart; i++) {
            const Sci_Position k = bForward ? i : nEnd - nStart - 1 - i;
            const char ch = buffer[(size_t)k];
            if (ch == chBrace)
                nDepth++;
            else if (ch == chSeek && --nDepth == 0)
                return nStart + k;
        }
        nNear = bForward ? nEnd : nStart;
    }
    return -1;
}

// ===========================================================================
// Comment ranges

void CCommentRanges::AddPair(const std::string& strOpen, const std::string& strClose)
{
    m_pairs.push_back({-1, strOpen, strClose});
}

void CCommentRanges::Compute()
{
    if (m_pEditor == nullptr)
        return;
    Sci_Position nLength = m_pEditor->GetLength();
    if (m_pairs.empty() || nLength == 0)
        return;
    m_pEditor->SetSearchFlags(kSearchFlags);
    m_ranges.Clear();
    ScanPace whole;
    whole.nPiece = 0;
    const ScanPace& pace = m_pPace != nullptr ? *m_pPace : whole;
    auto searchOpen = [&](CommentPair& pair, Sci_Position nFrom) {
        pair.nNext = nFrom > nLength ? -1 : pace.Search(*m_pEditor, pair.strOpen, nFrom, nLength);
    };
    for (CommentPair& pair : m_pairs)
        searchOpen(pair, 0);
    Sci_Position nCursor = 0;
    for (;;) {
        // The nearest opening first; pairs that no longer occur last.
        std::stable_sort(m_pairs.begin(), m_pairs.end(), [](const CommentPair& a, const CommentPair& b) {
            if (a.nNext < 0 || b.nNext < 0)
                return a.nNext >= 0 && b.nNext < 0;
            return a.nNext < b.nNext;
        });
        CommentPair& first = m_pairs.front();
        if (first.nNext < 0)
            break;
        if (first.nNext >= nCursor) {
            CommentRange range = {first.nNext, nLength};
            if (!first.strClose.empty()) {
                // From one past the opening's start: "/*/" is a whole comment.
                Sci_Position nClose = first.nNext + 1 > nLength
                                          ? -1
                                          : pace.Search(*m_pEditor, first.strClose, first.nNext + 1, nLength);
                range.nEnd = nClose >= 0 ? m_pEditor->GetTargetEnd() : nLength;
            } else {
                range.nEnd = m_pEditor->GetLineEndPosition(m_pEditor->LineFromPosition(first.nNext));
            }
            m_ranges.Add(range);
            // An empty range still moves the cursor on.
            nCursor = ResumeAfter(range.nStart, range.nEnd);
        }
        searchOpen(first, nCursor);
    }
}

bool CCommentRanges::Contains(Sci_Position nStart, Sci_Position nEnd) const
{
    return m_ranges.Contains(nStart, nEnd);
}

bool CCommentRanges::ContainsByWalk(Sci_Position nStart, Sci_Position nEnd) const
{
    CPackedRanges::Reader reader(m_ranges);
    CommentRange r;
    while (reader.Next(r)) {
        if (r.nStart <= nStart && r.nEnd >= nEnd)
            return true;
        if (r.nStart > nEnd)
            break;
    }
    return false;
}

// ===========================================================================
// The scan

CFunctionScan::CFunctionScan(CMFCScintilla& editor) : m_editor(editor)
{
    m_comments.SetEditor(&editor);
    m_comments.SetPace(&m_pace);
}

bool CFunctionScan::SetLanguage(int nLanguageId)
{
    m_comments.ClearPairs();
    m_comments.Clear();
    bool bSupported = BuildFunctionLanguage(nLanguageId, m_language);
    for (const CommentPairText& pair : m_language.commentPairs)
        m_comments.AddPair(pair.first, pair.second);
    return bSupported;
}

bool CFunctionScan::Run()
{
    m_all.Clear();
    m_topLevel.Clear();
    m_comments.Clear();
    m_comments.Compute();
    if (Cancelled())
        return false;
    Scan();
    if (Cancelled())
        return false;
    if (m_bListOnly)
        m_comments.Clear();
    BuildTopLevelList();
    return true;
}

std::vector<std::string> CFunctionScan::GetTopLevelNames() const
{
    std::vector<std::string> names;
    for (const FunctionEntry& entry : m_topLevel)
        names.push_back(entry.strName);
    return names;
}

bool CFunctionScan::InComment(Sci_Position nStart, Sci_Position nEnd) const
{
    return m_bPlain ? m_comments.ContainsByWalk(nStart, nEnd) : m_comments.Contains(nStart, nEnd);
}

CFunctionScan::Match CFunctionScan::SearchTarget(const std::string& strPattern, Sci_Position nFrom, Sci_Position nTo)
{
    Sci_Position nPos = m_pace.Search(m_editor, strPattern, nFrom, nTo);
    return {nPos, nPos >= 0 ? m_editor.GetTargetEnd() : -1};
}

CFunctionScan::Match CFunctionScan::SearchForward(ForwardMemo& memo, const std::string& strPattern,
                                                  Sci_Position nFrom)
{
    if (nFrom > m_nLength)
        return {-1, -1};
    if (m_bPlain)
        return SearchTarget(strPattern, nFrom, m_nLength);
    if (memo.bValid && nFrom >= memo.nFrom && (memo.match.nPos < 0 || nFrom <= memo.match.nPos)) {
        if (nFrom == memo.nFrom)
            return memo.match;
        // A search starts on nFrom's line at nFrom and takes every later line
        // whole; the memo's search took the lines after its own start whole
        // and found nothing on them before its match. Only nFrom's line can
        // differ (a word start at nFrom, a "^" pattern skipping the line).
        Sci_Position nLine = m_editor.LineFromPosition(nFrom);
        bool bSameLineAsMatch = memo.match.nPos >= 0 && m_editor.LineFromPosition(memo.match.nPos) == nLine;
        if (!bSameLineAsMatch) {
            if (nLine > m_editor.LineFromPosition(memo.nFrom) && nFrom == m_editor.PositionFromLine(nLine))
                return memo.match;
            Match onLine = SearchTarget(strPattern, nFrom, m_editor.GetLineEndPosition(nLine));
            return onLine.nPos >= 0 ? onLine : memo.match;
        }
    }
    Match match = SearchTarget(strPattern, nFrom, m_nLength);
    memo.bValid = true;
    memo.nFrom = nFrom;
    memo.match = match;
    return match;
}

void CFunctionScan::Scan()
{
    m_nLength = m_editor.GetLength();
    m_all.Clear();
    m_editor.SetSearchFlags(kSearchFlags | m_language.nCaseFlag);
    for (const FunctionPattern& set : m_language.patterns) {
        if (Cancelled())
            return;
        m_openMemo = ForwardMemo();
        m_closeMemo = ForwardMemo();
        m_chains.clear();
        m_all.BeginRun(); // a set finds its headers in line order

        // A parameter list is checked line by line: the header pattern is
        // cut after its first "\(" when a "\)" follows.
        const std::string& params = set.strParameters;
        size_t nOpen = params.find(kParenOpen);
        size_t nClose = params.rfind(kParenClose);
        bool bCheck = nOpen != std::string::npos && nClose != std::string::npos && nClose > nOpen;
        std::string strHeader = set.strPrefix + set.strName + (bCheck ? params.substr(0, nOpen + 2) : params);

        Sci_Position nPos = SearchTarget(strHeader, 0, m_nLength).nPos;
        while (nPos >= 0) {
            if (Cancelled())
                return;
            FunctionEntry entry;
            entry.nLine = m_editor.LineFromPosition(nPos);
            bool bCounts = true;
            if (bCheck) {
                bCounts = CheckParameters(params, nOpen, nClose);
                entry.bParamCheck = true;
            }
            entry.nMatchStart = m_editor.GetTargetStart();
            entry.nMatchEnd = m_editor.GetTargetEnd();
            entry.nLineStart = m_editor.PositionFromLine(entry.nLine);
            entry.nEndPos = entry.nMatchEnd;
            entry.bInComment = InComment(entry.nMatchStart, entry.nMatchEnd);
            if (bCounts) {
                ExtractName(set, entry);
                if (FindBody(set, entry))
                    m_all.Add(entry);
            }
            Sci_Position nResume = ResumeAfter(nPos, entry.nEndPos);
            nPos = nResume > m_nLength ? -1 : SearchTarget(strHeader, nResume, m_nLength).nPos;
        }
    }
    m_all.SortByLine();
}

bool CFunctionScan::CheckParameters(const std::string& strParameters, size_t nOpen, size_t nClose)
{
    Sci_Position nHeaderStart = m_editor.GetTargetStart();
    Sci_Position nMatchEnd = m_editor.GetTargetEnd();
    Sci_Position nParen = m_pace.MatchBrace(m_editor, nMatchEnd - 1);
    if (nParen < 0 || nParen < nMatchEnd)
        return false;
    std::string strInner = strParameters.substr(nOpen + 2, nClose - (nOpen + 2));
    std::string strTail = strParameters.substr(nOpen + 2);
    Sci_Position nFirstLine = m_editor.LineFromPosition(nMatchEnd);
    Sci_Position nLastLine = m_editor.LineFromPosition(nParen);
    for (Sci_Position nLine = nFirstLine; nLine <= nLastLine; nLine++) {
        Sci_Position nStart = nLine == nFirstLine ? nMatchEnd : m_editor.PositionFromLine(nLine);
        Sci_Position nLineEnd = m_editor.GetLineEndPosition(nLine);
        Sci_Position nRequired = nLine == nLastLine ? nParen : nLineEnd;
        const std::string& strPattern = nLine == nLastLine ? strTail : strInner;
        if (nStart >= nLineEnd)
            continue;
        // A failed search leaves the target on the line: the header search
        // goes on from its end.
        Match match = SearchTarget(strPattern, nStart, nLineEnd);
        if (match.nPos != nStart || match.nEnd < nRequired)
            return false;
    }
    m_editor.SetTargetStart(nHeaderStart);
    m_editor.SetTargetEnd(nParen + 1);
    return true;
}

void CFunctionScan::ExtractName(const FunctionPattern& set, FunctionEntry& entry)
{
    Sci_Position nNameStart = entry.nMatchStart;
    if (!set.strPrefix.empty()) {
        SearchTarget(set.strPrefix, entry.nMatchStart, entry.nMatchEnd);
        nNameStart = m_editor.GetTargetEnd();
        if (nNameStart == entry.nMatchEnd)
            nNameStart = entry.nMatchStart;
    }
    SearchTarget(set.strName, nNameStart, entry.nMatchEnd);
    Sci_Position nNameEnd = m_editor.GetTargetEnd();
    if (nNameEnd > nNameStart) {
        std::string name((size_t)(nNameEnd - nNameStart) + 1, '\0');
        m_editor.GetTextRange(nNameStart, nNameEnd, &name[0]);
        name.resize((size_t)(nNameEnd - nNameStart));
        entry.strName = name;
    }
    m_editor.SetTargetStart(entry.nMatchStart);
    m_editor.SetTargetEnd(entry.nMatchEnd);
}

int CFunctionScan::CountTokens(const std::string& strList, Sci_Position nFrom, Sci_Position nTo)
{
    Sci_Position nTargetStart = m_editor.GetTargetStart();
    Sci_Position nTargetEnd = m_editor.GetTargetEnd();
    int nCount = 0;
    for (const std::string& strToken : SplitTokenList(strList))
        nCount += CountToken(strToken, nFrom, nTo);
    m_editor.SetTargetStart(nTargetStart);
    m_editor.SetTargetEnd(nTargetEnd);
    return nCount;
}

int CFunctionScan::CountToken(const std::string& strToken, Sci_Position nFrom, Sci_Position nTo)
{
    if (nFrom > nTo)
        return 0;
    if (m_bPlain)
        return CountTokenPlain(strToken, nFrom, nTo);
    return CountTokenByChain(m_chains[strToken], strToken, nFrom, nTo);
}

int CFunctionScan::CountTokenPlain(const std::string& strToken, Sci_Position nFrom, Sci_Position nTo)
{
    int nCount = 0;
    Sci_Position nCursor = nFrom;
    while (nCursor <= nTo) {
        Match match = SearchTarget(strToken, nCursor, nTo);
        if (match.nPos < 0)
            break;
        if (!InComment(match.nPos, match.nEnd))
            nCount++;
        nCursor = ResumeAfter(match.nPos, match.nEnd);
    }
    return nCount;
}

void CFunctionScan::ExtendChain(TokenChain& chain, const std::string& strToken, Sci_Position nUntilPos,
                                Sci_Position nUntilLine)
{
    while (!chain.bExhausted && (chain.starts.empty() || chain.starts.back() < nUntilPos || chain.lines.back() < nUntilLine)) {
        Sci_Position nFrom = ResumeAfter(chain.starts.back(), chain.ends.back());
        Match match = SearchForward(chain.extend, strToken, nFrom);
        if (match.nPos < 0) {
            chain.bExhausted = true;
            break;
        }
        chain.counted.push_back(chain.counted.back() + (InComment(chain.starts.back(), chain.ends.back()) ? 0 : 1));
        chain.starts.push_back(match.nPos);
        chain.ends.push_back(match.nEnd);
        chain.lines.push_back(m_editor.LineFromPosition(match.nPos));
    }
}

int CFunctionScan::CountTokenByChain(TokenChain& chain, const std::string& strToken, Sci_Position nFrom,
                                     Sci_Position nTo)
{
    // Matches on lines before nTo's line are those of a search to the end
    // of the text; nTo's own line is cut at nTo and searched as it is.
    Sci_Position nLastLine = m_editor.LineFromPosition(nTo);
    Sci_Position nLastLineStart = m_editor.PositionFromLine(nLastLine);
    int nCount = 0;
    Sci_Position nCursor = nFrom;
    for (;;) {
        if (nCursor > nTo)
            return nCount;
        if (m_editor.LineFromPosition(nCursor) == nLastLine)
            return nCount + CountTokenPlain(strToken, nCursor, nTo);
        Match match = SearchForward(chain.query, strToken, nCursor);
        if (match.nPos < 0 || m_editor.LineFromPosition(match.nPos) >= nLastLine)
            return nCount + CountTokenPlain(strToken, std::max(nCursor, nLastLineStart), nTo);
        if (chain.starts.empty()) {
            chain.starts.push_back(match.nPos);
            chain.ends.push_back(match.nEnd);
            chain.lines.push_back(m_editor.LineFromPosition(match.nPos));
            chain.counted.push_back(0);
        }
        ExtendChain(chain, strToken, match.nPos, 0);
        auto it = std::lower_bound(chain.starts.begin(), chain.starts.end(), match.nPos);
        size_t k = (size_t)(it - chain.starts.begin());
        if (it == chain.starts.end() || *it != match.nPos || chain.ends[k] != match.nEnd) {
            // Not on the chain (it starts before it, or overlaps one of its
            // matches): this match is counted on its own.
            if (!InComment(match.nPos, match.nEnd))
                nCount++;
            nCursor = ResumeAfter(match.nPos, match.nEnd);
            continue;
        }
        // From here the count follows the chain up to nTo's line.
        ExtendChain(chain, strToken, 0, nLastLine);
        size_t j = (size_t)(std::lower_bound(chain.lines.begin(), chain.lines.end(), nLastLine) - chain.lines.begin());
        // counted[] holds the totals before each match; the last match of
        // the chain is added here.
        auto before = [&](size_t n) {
            if (n < chain.counted.size())
                return chain.counted[n];
            size_t last = chain.starts.size() - 1;
            return chain.counted[last] + (InComment(chain.starts[last], chain.ends[last]) ? 0 : 1);
        };
        nCount += before(j) - before(k);
        nCursor = ResumeAfter(chain.starts[j - 1], chain.ends[j - 1]);
        return nCount + CountTokenPlain(strToken, std::max(nCursor, nLastLineStart), nTo);
    }
}

CFunctionScan::Match CFunctionScan::FindBlockOpen(const std::string& strOpen, Sci_Position nFrom)
{
    return SearchForward(m_openMemo, strOpen, nFrom);
}

CFunctionScan::Match CFunctionScan::FindBlockClose(const std::string& strClose, bool bInComment, Sci_Position nFrom)
{
    Match match = SearchForward(m_closeMemo, strClose, nFrom);
    if (bInComment)
        return match;
    while (match.nPos >= 0 && InComment(match.nPos, match.nEnd))
        match = SearchForward(m_closeMemo, strClose, ResumeAfter(match.nPos, match.nEnd));
    return match;
}

bool CFunctionScan::FindBody(const FunctionPattern& set, FunctionEntry& entry)
{
    Sci_Position nSearchStart = entry.nEndPos;
    if (!set.strBlockOpen.empty()) {
        Match open = FindBlockOpen(set.strBlockOpen, entry.nEndPos);
        if (open.nPos < 0)
            return false;
        if (!set.strRejectList.empty() && CountTokens(set.strRejectList, entry.nEndPos, open.nPos) != 0)
            return false;
        if (!m_language.strNestedDeclarations.empty()) {
            // A nested routine declared before the body: its body comes
            // first, the routine's own block open is a later one.
            Sci_Position nFrom = entry.nEndPos;
            while (CountTokens(m_language.strNestedDeclarations, nFrom, open.nPos) != 0) {
                nFrom = open.nEnd;
                open = FindBlockOpen(set.strBlockOpen, ResumeAfter(open.nPos, open.nEnd));
                if (open.nPos < 0)
                    return false;
            }
        }
        if (entry.bInComment && !InComment(open.nPos, open.nEnd))
            return false;
        if (set.strBlockOpen == "\\{") {
            Sci_Position nBrace = m_pace.MatchBrace(m_editor, open.nEnd - 1);
            if (nBrace >= 0) {
                entry.nEndPos = nBrace + 1;
                return true;
            }
        }
        nSearchStart = open.nEnd;
    }
    if (set.strBlockClose.empty())
        return true;
    Match close = FindBlockClose(set.strBlockClose, entry.bInComment, nSearchStart);
    if (close.nPos < 0)
        return false;
    int nOpen = m_language.strNestingOpeners.empty() ? 0
                                                     : CountTokens(m_language.strNestingOpeners, nSearchStart, close.nPos);
    while (nOpen != 0) {
        Sci_Position nPrevEnd = close.nEnd;
        close = FindBlockClose(set.strBlockClose, entry.bInComment, nPrevEnd);
        if (close.nPos < 0)
            return false;
        nOpen = nOpen - 1 + CountTokens(m_language.strNestingOpeners, nPrevEnd, close.nPos);
    }
    if (entry.bInComment && !InComment(close.nPos, close.nEnd))
        return false;
    entry.nEndPos = close.nEnd;
    return true;
}

void CFunctionScan::BuildTopLevelList()
{
    m_topLevel.Clear();
    // An entry is top level when it ends past the top-level entry before it.
    // The kept entries stay in line order.
    CFunctionEntries::Reader reader(m_all);
    FunctionEntry entry;
    Sci_Position nLastEnd = 0;
    while (reader.Next(entry)) {
        if (m_topLevel.empty() || entry.nEndPos > nLastEnd) {
            m_topLevel.Add(entry);
            nLastEnd = entry.nEndPos;
        }
    }
    if (m_bListOnly)
        m_all.Clear();
    m_topLevel.SortByLine();
}
