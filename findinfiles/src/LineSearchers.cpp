#include "LineSearchers.h"

#include "CharTables.h"
#include "FindInFiles.h"

#include <atomic>
#include <climits>

namespace filescan {

namespace {
std::atomic<unsigned> g_filterKeys{0};
}

CLineSearcher::CLineSearcher(CCallBackClass* callback)
    : m_matchCount(0), m_callback(callback), m_stop(nullptr), m_fileAbandoned(false), m_reportReady(false),
      m_filterKey(++g_filterKeys)
{
}

CLineSearcher::~CLineSearcher() {}

void CLineSearcher::PatternChanged()
{
    m_filterKey = ++g_filterKeys;
}

int CLineSearcher::LeadingSets(CharSetDesc*, int) const
{
    return 0;
}

void CLineSearcher::ReportMatch(const wchar_t* path, const LineView& line, int position)
{
    if (!m_reportReady) {
        m_reportText.assign(line.text, static_cast<size_t>(line.length));
        for (wchar_t& c : m_reportText)
            if (c == 0)
                c = '.';
        m_reportReady = true;
    }
    const long long pos = static_cast<long long>(line.positionOffset) + position;
    ++m_matchCount;
    if (m_callback)
        m_callback->OnMatch(path, 0, line.lineNumber, pos > INT_MAX ? INT_MAX : static_cast<int>(pos),
                            m_reportText.c_str());
}

// ---------------------------------------------------------------------------

CTextSearcher::CTextSearcher(CCallBackClass* callback, int caseSensitive, int wholeWords)
    : CLineSearcher(callback), m_caseSensitive(caseSensitive != 0), m_wholeWords(wholeWords != 0)
{
    for (int& s : m_skip)
        s = 0;
}

void CTextSearcher::Prepare(const wchar_t* pattern, int length)
{
    m_pattern.clear();
    if (pattern && length > 0)
        m_pattern.assign(pattern, static_cast<size_t>(length));
    if (!m_caseSensitive)
        for (wchar_t& c : m_pattern)
            c = FoldCase(c);
    const int m = static_cast<int>(m_pattern.size());
    for (int& s : m_skip)
        s = m;
    // Shift by the distance to the last character; the table is keyed by the
    // low 8 bits of the folded character in both modes.
    for (int i = 0; i + 1 < m; ++i)
        m_skip[FoldCase(m_pattern[static_cast<size_t>(i)]) & 0xFF] = m - 1 - i;
    PatternChanged();
}

int CTextSearcher::Find(const wchar_t* line, int length, int start) const
{
    const int m = static_cast<int>(m_pattern.size());
    if (m == 0 || !line)
        return -1;
    if (start < 0)
        start = 0;
    if (start >= length || length - start < m)
        return -1;
    const wchar_t* pat = m_pattern.data();
    const wchar_t lastPat = pat[m - 1];
    for (int i = start + m - 1; i < length;) {
        const wchar_t c = line[i];
        const wchar_t fc = m_caseSensitive ? c : FoldCase(c);
        if (fc == lastPat) {
            const int begin = i - (m - 1);
            int k = 0;
            if (m_caseSensitive) {
                while (k < m - 1 && line[begin + k] == pat[k])
                    ++k;
            } else {
                while (k < m - 1 && FoldCase(line[begin + k]) == pat[k])
                    ++k;
            }
            if (k == m - 1)
                return begin;
        }
        i += m_skip[FoldCase(c) & 0xFF];
    }
    return -1;
}

bool CTextSearcher::IsWordSeparator(wchar_t c)
{
    if (IsSpaceChar(c))
        return true;
    switch (c) {
    case '!':
    case '"':
    case '&':
    case '\'':
    case '(':
    case ')':
    case '+':
    case ',':
    case '-':
    case '.':
    case ':':
    case ';':
    case '<':
    case '=':
    case '>':
    case '?':
    case '[':
    case '\\':
    case ']':
        return true;
    default:
        return false;
    }
}

bool CTextSearcher::IsWholeWord(const wchar_t* line, int length, int position) const
{
    const int end = position + static_cast<int>(m_pattern.size());
    if (position > 0 && !IsWordSeparator(line[position - 1]))
        return false;
    if (end < length && !IsWordSeparator(line[end]))
        return false;
    return true;
}

int CTextSearcher::SearchLine(const wchar_t* path, const wchar_t*, const LineView& line)
{
    const int m = static_cast<int>(m_pattern.size());
    if (m == 0)
        return 1;
    BeginLine();
    int pos = Find(line.text, line.contentLength, 0);
    while (pos >= 0) {
        if (!m_wholeWords || IsWholeWord(line.text, line.length, pos)) {
            ReportMatch(path, line, pos);
            pos = Find(line.text, line.contentLength, pos + m);
        } else {
            // Not a whole word here; a later occurrence may still be one.
            pos = Find(line.text, line.contentLength, pos + 1);
        }
    }
    return 1;
}

std::vector<LiteralChar> CTextSearcher::RequiredLiteral() const
{
    // The longest run of characters that compare exactly (or as an ASCII
    // letter in either case).
    std::vector<LiteralChar> best, run;
    auto flush = [&]() {
        if (run.size() > best.size())
            best = run;
        run.clear();
    };
    for (wchar_t c : m_pattern) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            flush();
        } else if (m_caseSensitive) {
            run.push_back(LiteralChar{c, false});
        } else if (c >= 'a' && c <= 'z') {
            run.push_back(LiteralChar{c, true});
        } else if (HasNoCaseVariants(c)) {
            run.push_back(LiteralChar{c, false});
        } else {
            flush();
        }
    }
    flush();
    return best;
}

// ---------------------------------------------------------------------------

CRegexSearcher::CRegexSearcher(CCallBackClass* callback, int caseSensitive)
    : CLineSearcher(callback), m_caseSensitive(caseSensitive != 0)
{
}

const wchar_t* CRegexSearcher::Compile(const wchar_t* pattern, int length)
{
    PatternChanged();
    return m_regex.Compile(pattern, length, m_caseSensitive ? 1 : 0);
}

int CRegexSearcher::LeadingSets(CharSetDesc* sets, int max) const
{
    return m_regex.LeadingSets(sets, max);
}

void CRegexSearcher::SetStopFlag(const std::atomic<int>* stop)
{
    CLineSearcher::SetStopFlag(stop);
    m_regex.SetStopFlag(stop);
}

void CRegexSearcher::ReportFileHeader(const wchar_t* path, const wchar_t* encodingName)
{
    if (!m_callback)
        return;
    const std::wstring stars = std::wstring(44, L'*') + L"\r\n";
    std::wstring text = L"Processing file:   ";
    text += path;
    text += L"               Encoding:   ";
    text += encodingName ? encodingName : L"";
    text += L"\r\n";
    m_callback->OnMessage(stars.c_str());
    m_callback->OnMessage(text.c_str());
    m_callback->OnMessage(stars.c_str());
}

int CRegexSearcher::SearchLine(const wchar_t* path, const wchar_t* encodingName, const LineView& line)
{
    // '^' and the word tests look at the real start of the line, also when
    // the search resumes behind an earlier match.
    int start = 0;
    const int length = line.contentLength;
    BeginLine();
    m_regex.ResetBudget();
    while (start <= length) {
        const int pos = m_regex.Search(line.text, length, 0, start);
        if (pos < 0) {
            if (m_regex.LastOutcome() == CRegExpW::TooComplex) {
                // Saying nothing would pass for "no match": name the file
                // and the line, and leave the rest of the file.
                m_fileAbandoned = true;
                if (m_callback) {
                    const std::wstring text = std::wstring(L"Error: ") + path + L"(" +
                                              std::to_wstring(line.lineNumber) +
                                              L"): pattern too complex for this line, the rest of the file was "
                                              L"not searched\r\n";
                    m_callback->OnMessage(text.c_str());
                }
            } else if (m_regex.LastOutcome() == CRegExpW::Stopped) {
                m_fileAbandoned = true;
            }
            break;
        }
        if (m_matchCount == 0)
            ReportFileHeader(path, encodingName);
        ReportMatch(path, line, pos);
        const int len = m_regex.GetMatchLength();
        // Always move on by at least one character, or an empty match
        // would be found again at the same place.
        start = len > 0 ? pos + len : pos + 1;
    }
    return 1;
}

std::vector<LiteralChar> CRegexSearcher::RequiredLiteral() const
{
    return m_regex.RequiredLiteral();
}

} // namespace filescan
