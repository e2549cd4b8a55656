// Engine pieces below the exported class: encoding detection, masks, block
// scanning, the two line searchers and the file reader.
#include "EncodingDetector.h"
#include "LineSearchers.h"
#include "Scan.h"
#include "SearchFile.h"
#include "TestSupport.h"
#include "WildCmp.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace filescan;
using namespace fiftest;

namespace {

// ---------------------------------------------------------------------------
// Encoding detection

struct DetectCase {
    std::string bytes;
    bool wholeFile;
    int code;
    int mark;
};

class DetectTable : public ::testing::TestWithParam<DetectCase> {
};

TEST_P(DetectTable, GivesCodeAndMark)
{
    const DetectCase& c = GetParam();
    int mark = -1;
    const int code = CEncodingDetector::Detect(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size(),
                                               c.wholeFile, &mark);
    EXPECT_EQ(c.code, code);
    EXPECT_EQ(c.mark, mark);
}

std::string B(std::initializer_list<int> bytes)
{
    std::string s;
    for (int b : bytes)
        s += static_cast<char>(b);
    return s;
}

const DetectCase kDetect[] = {
    {B({0xFE, 0xFF, 0x00, 0x41}), true, EncodingUtf16Be, 2},
    {B({0xFF, 0xFE, 0x41, 0x00}), true, EncodingUtf16Le, 2},
    {B({0xFF, 0xFE}), true, EncodingUtf16Le, 2},
    {B({0xFF, 0xFE, 0x00, 0x00, 0x41, 0, 0, 0}), true, EncodingUtf32Le, 4},
    {B({0xEF, 0xBB, 0xBF, 0x41}), true, EncodingUtf8, 3},
    {B({0x00, 0x00, 0xFE, 0xFF, 0, 0, 0, 0x41}), true, EncodingUtf32Be, 4},
    {B({0x0E, 0xFE, 0xFF, 0x41}), true, EncodingScsu, 3},
    {B({0xFB, 0xEE, 0x28, 0x41}), true, EncodingBocu1, 3},
    {B({0x2B, 0x2F, 0x76, 0x38, 0x2D, 0x41}), true, EncodingUtf7, 5},
    {B({0x2B, 0x2F, 0x76, 0x38, 0x41}), true, EncodingUtf7, 4},
    {B({0x2B, 0x2F, 0x76, 0x39}), true, EncodingUtf7, 4},
    {B({0x2B, 0x2F, 0x76, 0x2B}), true, EncodingUtf7, 4},
    {B({0x2B, 0x2F, 0x76, 0x2F}), true, EncodingUtf7, 4},
    {"+/vA text", true, EncodingAnsi, 0},
    {B({0xDD, 0x73, 0x66, 0x73, 0x41}), true, EncodingUtfEbcdic, 4},
    // Marks never match beyond the end of a short file.
    {B({0xFE}), true, EncodingAnsi, 0},
    {B({0xEF, 0xBB}), true, EncodingAnsi, 0},
    // A single byte is plain text.
    {"x", true, EncodingAnsi, 0},
    // 16-bit text without a mark.
    {std::string("a\0b\0", 4), true, EncodingUtf16Le, 0},
    {std::string("\0a\0b", 4), true, EncodingUtf16Be, 0},
    {std::string("\0\0\0\0", 4), true, EncodingUtf16Le, 0},
    // UTF-8 without a mark: well-formed multi-byte sequences.
    {"h\xC3\xA9llo world", true, EncodingUtf8, 0},
    {"\xC3\xA9\n", true, EncodingUtf8, 0},
    {"plain ascii text", true, EncodingAnsi, 0},
    {"bad \xC0\x80 lead byte", true, EncodingAnsi, 0},
    {"overlong \xE0\x80\x80 three", true, EncodingAnsi, 0},
    {"surrogate \xED\xA0\x80 half", true, EncodingAnsi, 0},
    {"beyond \xF4\x90\x80\x80 range", true, EncodingAnsi, 0},
    {"five \xF8\x88\x80\x80\x80 bytes", true, EncodingAnsi, 0},
    {"caf\xE9 latin-1", true, EncodingAnsi, 0},
    {"cut \xC3", true, EncodingAnsi, 0},
};

INSTANTIATE_TEST_SUITE_P(Heads, DetectTable, ::testing::ValuesIn(kDetect));

TEST(EncodingDetector, ContentTestLooksAtTheFirst1024BytesOnly)
{
    // Non-ASCII beyond the window does not count; a sequence cut by the end
    // of the window does not spoil an otherwise good head.
    std::string head(1024, 'a');
    head += "\xC3\xA9";
    EXPECT_EQ(EncodingAnsi, CEncodingDetector::Detect(reinterpret_cast<const unsigned char*>(head.data()),
                                                      head.size(), false, nullptr));
    std::string cut = "\xC3\xA9" + std::string(1021, 'a') + "\xE2\x82";
    ASSERT_EQ(1025u, cut.size());
    EXPECT_EQ(EncodingUtf8, CEncodingDetector::Detect(reinterpret_cast<const unsigned char*>(cut.data()), cut.size(),
                                                      false, nullptr));
    // 16-bit test: one nonzero odd byte after the window does not matter.
    std::string wide;
    for (int i = 0; i < 600; ++i)
        wide += std::string("x\0", 2);
    wide[1100] = 'y';
    EXPECT_EQ(EncodingUtf16Le, CEncodingDetector::Detect(reinterpret_cast<const unsigned char*>(wide.data()),
                                                         wide.size(), true, nullptr));
}

TEST(EncodingDetector, Names)
{
    EXPECT_STREQ(L"ANSI", CEncodingDetector::Name(EncodingAnsi));
    EXPECT_STREQ(L"UTF-8", CEncodingDetector::Name(EncodingUtf8));
    EXPECT_STREQ(L"UTF-16LE", CEncodingDetector::Name(EncodingUtf16Le));
    EXPECT_STREQ(L"UTF-16BE", CEncodingDetector::Name(EncodingUtf16Be));
    EXPECT_STREQ(L"UTF7", CEncodingDetector::Name(EncodingUtf7));
    for (int code : {EncodingScsu, EncodingBocu1, EncodingUtfEbcdic, EncodingUtf32Le, EncodingUtf32Be})
        EXPECT_STREQ(L"", CEncodingDetector::Name(code));
}

// ---------------------------------------------------------------------------
// Masks

TEST(WildMatch, Table)
{
    struct Case {
        const wchar_t* mask;
        const wchar_t* name;
        int match;
    } cases[] = {
        {L"*.txt", L"a.txt", 1},
        {L"*.txt", L"a.txt.bak", 0},
        {L"*.txt", L".txt", 1},
        {L"*.TXT", L"a.txt", 1}, // file names ignore case
        {L"*.txt", L"A.TXT", 1},
        {L"a?c", L"abc", 1},
        {L"a?c", L"ac", 0},
        {L"a?c", L"abbc", 0},
        {L"*a*b", L"xaxb", 1},
        {L"*a*b", L"xaxbx", 0},
        {L"*ab", L"aab", 1},
        {L"a*b*c", L"abxbc", 1},
        {L"*", L"anything", 1},
        {L"**", L"x", 1},
        {L"abc", L"abcd", 0},
        {L"abcd", L"abc", 0},
        {L" *.txt", L"a.txt", 0}, // masks are used as written
        {L" *.txt", L" a.txt", 1},
        {L"*.*", L"a.b", 1},
        {L"*.*", L"Makefile", 1}, // ".*" also takes names without an extension
        {L"READ*.*", L"README", 1},
        {L"*.c*", L"x.cpp", 1},
        {L"*.c*", L"xc", 0},
        {L"*.h", L"x.hpp", 0},
        {L"\u00c9*", L"\u00e9t\u00e9.txt", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.match, WildMatch(c.mask, c.name)) << "case " << (&c - cases);
}

// ---------------------------------------------------------------------------
// Block scanning: compare with straightforward loops on random text.

template <class T>
size_t NaiveFind(const std::vector<T>& text, const UnitLiteral<T>& lit)
{
    const size_t m = lit.units.size();
    for (size_t i = 0; i + m <= text.size(); ++i)
        if (lit.MatchesAt(text.data() + i))
            return i;
    return text.size();
}

template <class T>
void CheckScanning(unsigned seed)
{
    std::mt19937 rng(seed);
    const T alphabet[] = {'a', 'b', 'A', 'B', '\n', 'c', static_cast<T>(0xE9), static_cast<T>(0xC3), '@', '`',
                          static_cast<T>(sizeof(T) == 2 ? 0x0141 : 0x7F), 'F'};
    for (int round = 0; round < 400; ++round) {
        const size_t n = rng() % 300;
        std::vector<T> text(n);
        for (T& u : text)
            u = alphabet[rng() % (sizeof(alphabet) / sizeof(alphabet[0]))];
        UnitLiteral<T> lit;
        const size_t m = 1 + rng() % 4;
        for (size_t k = 0; k < m; ++k) {
            const T u = alphabet[rng() % 6];
            const bool fold = (u == 'a' || u == 'b') && (rng() & 1);
            lit.units.push_back(u);
            lit.fold.push_back(fold ? 1 : 0);
        }
        // Any pair of anchor units must give the same answer.
        lit.anchor1 = rng() % m;
        lit.anchor2 = lit.anchor1 + rng() % (m - lit.anchor1);
        // Both the plain SSE2 scan and the one chosen for this processor.
        ASSERT_EQ(NaiveFind(text, lit), FindLiteral<T>(text.data(), text.size(), lit)) << "round " << round;
        ASSERT_EQ(NaiveFind(text, lit), FindLiteral(text.data(), text.size(), lit)) << "round " << round;
        lit.ChooseAnchors();
        ASSERT_LE(lit.anchor1, lit.anchor2);
        ASSERT_LT(lit.anchor2, m);
        ASSERT_EQ(NaiveFind(text, lit), FindLiteral<T>(text.data(), text.size(), lit)) << "round " << round;
        ASSERT_EQ(NaiveFind(text, lit), FindLiteral(text.data(), text.size(), lit)) << "round " << round;

        // Position filters: random sets at random offsets.
        PositionFilter<T> filter;
        auto randomSet = [&](UnitSet<T>& set) {
            const unsigned lo = 'A' + rng() % 40, hi = lo + rng() % 6;
            set.Add(lo, hi);
            if (rng() & 1)
                set.Add('\n', '\n');
            set.high = (rng() & 1) != 0;
        };
        randomSet(filter.set1);
        randomSet(filter.set2);
        filter.offset1 = rng() % 3;
        filter.offset2 = filter.offset1 + rng() % 3;
        size_t firstStart = n;
        for (size_t i = 0; i + filter.offset2 < n && firstStart == n; ++i)
            if (filter.set1.Contains(text[i + filter.offset1]) && filter.set2.Contains(text[i + filter.offset2]))
                firstStart = i;
        ASSERT_EQ(firstStart, FindPositions<T>(text.data(), n, filter)) << "round " << round;
        ASSERT_EQ(firstStart, FindPositions(text.data(), n, filter)) << "round " << round;

        const T nl = '\n';
        size_t first = n, lastIdx = n, count = 0, lastSeen = 12345;
        for (size_t i = 0; i < n; ++i)
            if (text[i] == nl) {
                if (first == n)
                    first = i;
                lastIdx = i;
                ++count;
            }
        ASSERT_EQ(first, FindUnit(text.data(), n, nl));
        ASSERT_EQ(lastIdx, FindLastUnit(text.data(), n, nl));
        size_t last = 12345;
        ASSERT_EQ(count, CountUnit(text.data(), n, nl, &last));
        ASSERT_EQ(count ? lastIdx : lastSeen, last);
        last = 12345;
        ASSERT_EQ(count, CountUnit<T>(text.data(), n, nl, &last));
        ASSERT_EQ(count ? lastIdx : lastSeen, last);
    }
}

TEST(Scan, BytesAgreeWithPlainLoops)
{
    CheckScanning<uint8_t>(1);
}

TEST(Scan, WideUnitsAgreeWithPlainLoops)
{
    CheckScanning<uint16_t>(2);
}

TEST(Scan, AsciiCheckAndWidening)
{
    std::string s(100, 'q');
    EXPECT_TRUE(IsAscii(reinterpret_cast<const uint8_t*>(s.data()), s.size()));
    for (size_t at : {0u, 15u, 16u, 99u}) {
        std::string t = s;
        t[at] = '\x80';
        EXPECT_FALSE(IsAscii(reinterpret_cast<const uint8_t*>(t.data()), t.size())) << at;
    }
    std::wstring out(37, L'?');
    const std::string in = "0123456789abcdefghijklmnopqrstuvwxyz!";
    WidenAscii(reinterpret_cast<const uint8_t*>(in.data()), in.size(), &out[0]);
    EXPECT_EQ(L"0123456789abcdefghijklmnopqrstuvwxyz!", out);
}

// ---------------------------------------------------------------------------
// Line searchers

LineView View(const std::wstring& line, int number = 1)
{
    int content = static_cast<int>(line.size());
    if (content && line[content - 1] == L'\n') {
        --content;
        if (content && line[content - 1] == L'\r')
            --content;
    }
    return LineView{line.c_str(), static_cast<int>(line.size()), content, number, 0};
}

std::vector<int> Positions(RecordingSink& sink)
{
    std::vector<int> r;
    for (const std::wstring& h : sink.Hits()) {
        // H|path|line|pos|text
        size_t a = h.find(L'|', 2);
        a = h.find(L'|', a + 1);
        const size_t b = h.find(L'|', a + 1);
        r.push_back(std::stoi(h.substr(a + 1, b - a - 1)));
    }
    return r;
}

TEST(TextSearcher, FindTable)
{
    struct Case {
        const wchar_t* pattern;
        bool caseSensitive;
        const wchar_t* line;
        int start;
        int expected;
    } cases[] = {
        {L"needle", true, L"hay needle hay", 0, 4},
        {L"needle", true, L"hay NEEDLE hay", 0, -1},
        {L"needle", false, L"hay NeEdLe hay", 0, 4},
        {L"needle", true, L"needle", 0, 0},
        {L"needle", true, L"needl", 0, -1},
        {L"ab", true, L"abab", 1, 2},
        {L"ab", true, L"abab", -5, 0},
        {L"ab", true, L"abab", 4, -1},
        {L"ab", true, L"abab", 3, -1},
        {L"x", true, L"abcx", 0, 3},
        {L"\u00e9t\u00e9", false, L"L'\u00c9T\u00c9", 0, 2},
        {L"\u0436\u0443\u043a", false, L"\u0416\u0423\u041a!", 0, 0},
        {L"k", false, L"\u212a", 0, -1},             // the Kelvin sign is not a letter k
        {L"\u0101b", true, L"\u0201b\u0101b", 0, 2}, // same low byte, different character
    };
    for (const Case& c : cases) {
        CTextSearcher s(nullptr, c.caseSensitive, 0);
        const std::wstring p = c.pattern;
        s.Prepare(p.c_str(), static_cast<int>(p.size()));
        const std::wstring line = c.line;
        EXPECT_EQ(c.expected, s.Find(line.c_str(), static_cast<int>(line.size()), c.start)) << "case " << (&c - cases);
    }
}

TEST(TextSearcher, EmptyPatternFindsNothing)
{
    CTextSearcher s(nullptr, 1, 0);
    s.Prepare(L"", 0);
    EXPECT_EQ(-1, s.Find(L"abc", 3, 0));
    RecordingSink sink;
    CTextSearcher r(&sink, 1, 0);
    r.Prepare(nullptr, 0);
    r.SearchLine(L"p", L"ANSI", View(L"abc\r\n"));
    EXPECT_TRUE(sink.Calls().empty());
}

TEST(TextSearcher, WholeWords)
{
    struct Case {
        const wchar_t* line;
        std::vector<int> positions;
    } cases[] = {
        {L"word\r\n", {0}},
        {L" word \r\n", {1}},
        {L"(word)\n", {1}},
        {L"a=word;b\n", {2}},
        {L"words word\n", {6}}, // a failed candidate does not end the line
        {L"sword word_x word\n", {13}},
        {L"word_ #word $word /word {word\n", {}},
        {L"[word]\\word\"word'\n", {1, 7, 12}},
        {L"word\tword", {0, 5}},
    };
    for (const Case& c : cases) {
        RecordingSink sink;
        CTextSearcher s(&sink, 1, 1);
        s.Prepare(L"word", 4);
        s.SearchLine(L"f.txt", L"ANSI", View(c.line));
        EXPECT_EQ(c.positions, Positions(sink)) << "case " << (&c - cases);
        EXPECT_EQ(static_cast<long long>(c.positions.size()), s.MatchCount());
    }
}

TEST(TextSearcher, ReportsEveryOccurrenceWithoutOverlap)
{
    RecordingSink sink;
    CTextSearcher s(&sink, 0, 0);
    s.Prepare(L"aa", 2);
    s.SearchLine(L"f.txt", L"ANSI", View(L"aaaaa AA\r\n", 7));
    EXPECT_EQ((std::vector<int>{0, 2, 6}), Positions(sink));
    EXPECT_EQ(Hit(L"f.txt", 7, 0, L"aaaaa AA\r\n"), sink.Hits()[0]);
}

TEST(TextSearcher, LineTextShowsZeroCharactersAsDots)
{
    RecordingSink sink;
    CTextSearcher s(&sink, 1, 0);
    s.Prepare(L"b", 1);
    const std::wstring line(L"a\0b\r\n", 5);
    s.SearchLine(L"f", L"ANSI", View(line));
    EXPECT_EQ((std::vector<std::wstring>{Hit(L"f", 1, 2, L"a.b\r\n")}), sink.Calls());
}

TEST(RegexSearcher, MovesOnAfterEmptyMatches)
{
    struct Case {
        const wchar_t* pattern;
        const wchar_t* line;
        std::vector<int> positions;
    } cases[] = {
        {L"x*", L"abc\r\n", {0, 1, 2}},
        {L"x*", L"xxab\n", {0, 2, 3}},
        {L"^", L"abc\n", {0}},
        {L"$", L"abc\r\n", {3}},
        {L"^a", L"aaa\n", {0}},        // '^' holds at the line start only
        {L"\\<a", L"aa aa\n", {0, 3}}, // and so do word starts
        {L";$", L"a; b;\r\n", {4}},    // '$' sees the line without its line end
        {L"b*$", L"abb\n", {1}},
        {L"a", L"a a a", {0, 2, 4}},
    };
    for (const Case& c : cases) {
        RecordingSink sink;
        CRegexSearcher s(&sink, 1);
        const std::wstring p = c.pattern;
        ASSERT_EQ(nullptr, s.Compile(p.c_str(), static_cast<int>(p.size())));
        s.SearchLine(L"f", L"ANSI", View(c.line));
        EXPECT_EQ(c.positions, Positions(sink)) << "case " << (&c - cases);
    }
}

TEST(RegexSearcher, FileHeaderBeforeTheFirstMatchOnly)
{
    RecordingSink sink;
    CRegexSearcher s(&sink, 0);
    ASSERT_EQ(nullptr, s.Compile(L"b", 1));
    s.StartFile();
    s.SearchLine(L"C:\\d\\f.txt", L"UTF-8", View(L"abc\r\n", 1));
    s.SearchLine(L"C:\\d\\f.txt", L"UTF-8", View(L"none\r\n", 2));
    s.SearchLine(L"C:\\d\\f.txt", L"UTF-8", View(L"B b\r\n", 3));
    const std::wstring stars = std::wstring(44, L'*') + L"\r\n";
    const std::vector<std::wstring> expected = {
        Msg(stars),
        Msg(L"Processing file:   C:\\d\\f.txt               Encoding:   UTF-8\r\n"),
        Msg(stars),
        Hit(L"C:\\d\\f.txt", 1, 1, L"abc\r\n"),
        Hit(L"C:\\d\\f.txt", 3, 0, L"B b\r\n"),
        Hit(L"C:\\d\\f.txt", 3, 2, L"B b\r\n"),
    };
    EXPECT_EQ(expected, sink.Calls());
    EXPECT_EQ(3, s.MatchCount());
    // A new file gets its own header; a long path is not cut.
    sink.Reset();
    s.StartFile();
    const std::wstring longPath = L"C:\\" + std::wstring(700, L'p') + L".txt";
    s.SearchLine(longPath.c_str(), L"ANSI", View(L"b\n", 1));
    const std::vector<std::wstring> calls = sink.Calls();
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ(Msg(L"Processing file:   " + longPath + L"               Encoding:   ANSI\r\n"), calls[1]);
}

// ---------------------------------------------------------------------------
// File reader

// Runs the same search with and without skipping lines that lack the
// literal: the results must not differ.
void ExpectSameWithAndWithoutSkipping(const std::wstring& path, const std::wstring& pattern, bool regex,
                                      bool caseSensitive, int* matchesSeen)
{
    std::vector<std::wstring> results[2];
    for (int pass = 0; pass < 2; ++pass) {
        RecordingSink sink;
        std::unique_ptr<CLineSearcher> searcher;
        if (regex) {
            auto* r = new CRegexSearcher(&sink, caseSensitive);
            EXPECT_EQ(nullptr, r->Compile(pattern.c_str(), static_cast<int>(pattern.size())));
            searcher.reset(r);
        } else {
            auto* t = new CTextSearcher(&sink, caseSensitive, 0);
            t->Prepare(pattern.c_str(), static_cast<int>(pattern.size()));
            searcher.reset(t);
        }
        CSearchFile reader;
        reader.SetPrefilter(pass == 0);
        EXPECT_EQ(1, reader.Search(Long(path).c_str(), path.c_str(), *searcher, &sink));
        results[pass] = sink.Calls();
    }
    EXPECT_EQ(results[1], results[0]);
    *matchesSeen += static_cast<int>(results[0].size());
}

TEST(SearchFile, SkippingLinesChangesNoResult)
{
    // Mixed text in every encoding this reader decodes; lines of several
    // lengths, including ones longer than a piece.
    std::mt19937 rng(7);
    const wchar_t* words[] = {L"needle", L"Needle", L"NEEDLE", L"hay", L"\u00e9t\u00e9", L"\u00c9T\u00c9",
                              L"\u0436\u0443\u043a", L"x", L"needl", L"eedle", L"\t", L"  ", L"key=42;"};
    std::wstring text;
    for (int line = 0; line < 3000; ++line) {
        if (line % 500 == 7) {
            // Longer than a piece, with a few hits far apart.
            for (int k = 0; k < 30000; ++k)
                text += (k % 7000 == 6999) ? L"Needle key=1; " : L"hay ";
        }
        const int n = static_cast<int>(rng() % 12);
        for (int k = 0; k < n; ++k) {
            text += words[rng() % (sizeof(words) / sizeof(words[0]))];
            text += L' ';
        }
        text += (line % 3) ? L"\r\n" : L"\n";
    }
    qmtest::TempDir tree{"qmfif"};
    struct Variant {
        const wchar_t* name;
        std::string bytes;
    } variants[] = {
        {L"utf8.txt", Utf8(text)},
        {L"utf8bom.txt", "\xEF\xBB\xBF" + Utf8(text)},
        {L"ansi.txt", Ansi(text)}, // characters outside the code page become '?'
        {L"utf16le.txt", "\xFF\xFE" + Utf16Le(text)},
        {L"utf16be.txt", "\xFE\xFF" + Utf16Be(text)},
        {L"utf32le.txt", std::string("\xFF\xFE\0\0", 4) + Utf32Le(text)},
    };
    int seen = 0;
    for (const Variant& v : variants) {
        const std::wstring path = TreeFile(tree, v.name, v.bytes);
        SCOPED_TRACE(std::string(v.name, v.name + wcslen(v.name)));
        ExpectSameWithAndWithoutSkipping(path, L"needle", false, true, &seen);
        ExpectSameWithAndWithoutSkipping(path, L"needle", false, false, &seen);
        ExpectSameWithAndWithoutSkipping(path, L"\u00e9t\u00e9", false, false, &seen);
        ExpectSameWithAndWithoutSkipping(path, L"\u0436\u0443", false, true, &seen);
        ExpectSameWithAndWithoutSkipping(path, L"ne*dle", true, true, &seen);
        ExpectSameWithAndWithoutSkipping(path, L"\\<needle\\>", true, false, &seen);
        ExpectSameWithAndWithoutSkipping(path, L"[a-z]+=[0-9]+;$", true, true, &seen);
        ExpectSameWithAndWithoutSkipping(path, L"\u00e9t\u00e9 x", true, false, &seen);
        // No required literal: lines are skipped by their possible first characters.
        ExpectSameWithAndWithoutSkipping(path, L"[0-9][0-9]", true, true, &seen);
        ExpectSameWithAndWithoutSkipping(path, L"\u00e9t*", true, false, &seen);
        ExpectSameWithAndWithoutSkipping(path, L"x*[kq]", true, false, &seen);
        ExpectSameWithAndWithoutSkipping(path, L"\\<[^a-z ]", true, true, &seen);
    }
    EXPECT_GT(seen, 10000) << "the corpus should give many matches";
}

} // namespace
