// Line searchers of the find-in-files engine: plain text and regular
// expression.  Both report through the caller's CCallBackClass.
#ifndef QUILLMATE_FINDINFILES_LINESEARCHERS_H
#define QUILLMATE_FINDINFILES_LINESEARCHERS_H

#include "RegExpW.h"

#include <atomic>
#include <string>
#include <vector>

class CCallBackClass;

namespace filescan {

// One line (or one piece of an over-long line) handed to a searcher.
struct LineView {
    const wchar_t* text; // the decoded characters, including the line end
    int length;          // characters of text, line end included
    int contentLength;   // characters before the line end ("\r\n" or "\n")
    int lineNumber;      // counted from 1
    int positionOffset;  // characters of the same line in earlier pieces
};

class CLineSearcher {
public:
    explicit CLineSearcher(CCallBackClass* callback);
    virtual ~CLineSearcher();

    // Searches one line; reports every match.  Returns 1.
    virtual int SearchLine(const wchar_t* path, const wchar_t* encodingName, const LineView& line) = 0;

    // Characters every match must contain, in order (empty when unknown);
    // lines without them are not handed in.
    virtual std::vector<LiteralChar> RequiredLiteral() const = 0;

    // What the first characters of a match must be (see
    // CRegExpW::LeadingSets); 0 when unknown.  Used when there is no
    // required literal.
    virtual int LeadingSets(CharSetDesc* sets, int max) const;

    // Changes whenever the pattern changes, so that readers can keep what
    // they prepared from the pattern.
    unsigned FilterKey() const { return m_filterKey; }

    // Matches reported since the last StartFile.
    long long MatchCount() const { return m_matchCount; }
    void StartFile()
    {
        m_matchCount = 0;
        m_fileAbandoned = false;
    }

    // The search's stop flag (set from another thread by StopSearch).  The
    // regular-expression searcher looks at it in the middle of a line and
    // then leaves the file; plain text, which takes linear time, finishes
    // its file.
    virtual void SetStopFlag(const std::atomic<int>* stop) { m_stop = stop; }

    // True once the rest of the current file is not to be searched: the
    // search was stopped inside a line, or a line was beyond the searcher
    // (it said so).
    bool FileAbandoned() const { return m_fileAbandoned; }

protected:
    // Reports one match; the line text is sent with its line end, and 0
    // characters shown as '.' so that the text survives as a C string.
    void ReportMatch(const wchar_t* path, const LineView& line, int position);

    // Forgets the report text of the previous line.
    void BeginLine() { m_reportReady = false; }
    void PatternChanged();

    long long m_matchCount;
    CCallBackClass* m_callback;
    const std::atomic<int>* m_stop;
    bool m_fileAbandoned;

private:
    std::wstring m_reportText;
    bool m_reportReady; // m_reportText holds the current line
    unsigned m_filterKey;
};

// Plain-text search: Boyer-Moore-Horspool over the decoded line.
class CTextSearcher : public CLineSearcher {
public:
    CTextSearcher(CCallBackClass* callback, int caseSensitive, int wholeWords);

    // Takes the search text (copied).  An empty text finds nothing.
    void Prepare(const wchar_t* pattern, int length);

    // Position of the next occurrence at or after start, or -1.
    int Find(const wchar_t* line, int length, int start) const;

    // Whole-word test of an occurrence at [position, position + pattern length).
    bool IsWholeWord(const wchar_t* line, int length, int position) const;

    int SearchLine(const wchar_t* path, const wchar_t* encodingName, const LineView& line) override;
    std::vector<LiteralChar> RequiredLiteral() const override;

    static bool IsWordSeparator(wchar_t c);

private:
    bool m_caseSensitive;
    bool m_wholeWords;
    std::wstring m_pattern; // folded when the search ignores case
    int m_skip[256];
};

// Regular-expression search with CRegExpW.
class CRegexSearcher : public CLineSearcher {
public:
    CRegexSearcher(CCallBackClass* callback, int caseSensitive);

    // Null on success, else the compile error text.
    const wchar_t* Compile(const wchar_t* pattern, int length);

    int SearchLine(const wchar_t* path, const wchar_t* encodingName, const LineView& line) override;
    std::vector<LiteralChar> RequiredLiteral() const override;
    int LeadingSets(CharSetDesc* sets, int max) const override;
    void SetStopFlag(const std::atomic<int>* stop) override;

    CRegExpW& Engine() { return m_regex; }

private:
    void ReportFileHeader(const wchar_t* path, const wchar_t* encodingName);

    CRegExpW m_regex;
    bool m_caseSensitive;
};

} // namespace filescan

#endif
