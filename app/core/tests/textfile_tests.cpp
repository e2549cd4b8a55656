// Reading, converting and writing text files: byte-exact round trips of
// every encoding and line ending, across piece boundaries, and safe saving.
#include "coretest.h"
#include "encoding.h"
#include "textfile.h"

#include <fx/codepage.h>

#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

using coretest::FixturePath;
using coretest::ReadBytes;
using coretest::WriteBytes;

namespace {

std::string Utf16(const std::u16string& s, bool bigEndian, bool mark)
{
    std::string out;
    if (mark)
        out += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : s) {
        char hi = (char)(u >> 8), lo = (char)(u & 0xFF);
        if (bigEndian) {
            out += hi;
            out += lo;
        } else {
            out += lo;
            out += hi;
        }
    }
    return out;
}

// Loads a file the way the document does.
TextIoResult Load(const std::string& path, int encoding, int mark, CMemoryText& text, int limit = TEXT_PIECE_LIMIT)
{
    TextFile file;
    if (!file.Open(path.c_str()))
        return TEXTIO_OPEN_FAILED;
    TextIoResult r = ReadAllText(file, encoding, mark, text, nullptr, limit);
    file.Close();
    text.IndexLines();
    return r;
}

// A source that records the pieces a save asks for.
class RecordingSource : public ITextSource {
public:
    explicit RecordingSource(CMemoryText& inner) : m_inner(inner) {}
    LONG_PTR GetLength() override { return m_inner.GetLength(); }
    LONG_PTR LineFromPosition(LONG_PTR p) override { return m_inner.LineFromPosition(p); }
    LONG_PTR GetLineEndPosition(LONG_PTR l) override { return m_inner.GetLineEndPosition(l); }
    void GetTextRange(LONG_PTR s, LONG_PTR e, char* b) override
    {
        ranges.push_back({s, e});
        m_inner.GetTextRange(s, e, b);
    }
    std::vector<std::pair<LONG_PTR, LONG_PTR>> ranges;

private:
    CMemoryText& m_inner;
};

} // namespace

// ---------------------------------------------------------------------------
// Fixture files: detection, load and save give back the same bytes, with
// pieces of the real size and with tiny pieces that cut through every
// character and surrogate pair.

struct FixtureCase {
    const char* file;
    int code;             // detected encoding
    int mark;             // detected mark length
    const char* expected; // the editor's text (fixture), or nullptr: the file's bytes
};

void PrintTo(const FixtureCase& c, std::ostream* os)
{
    *os << c.file;
}

class FixtureRoundTrip : public ::testing::TestWithParam<std::tuple<FixtureCase, int>> {};

TEST_P(FixtureRoundTrip, DetectLoadSaveIsByteExact)
{
    const FixtureCase& c = std::get<0>(GetParam());
    const int limit = std::get<1>(GetParam());
    const std::string path = FixturePath(std::string("text/") + c.file);
    const std::string original = ReadBytes(path);
    ASSERT_FALSE(original.empty()) << path;

    FileHeadDetector detector;
    ASSERT_EQ(detector.ReadFile(path.c_str()), 1);
    EXPECT_EQ(detector.GetCode(), c.code);
    EXPECT_EQ(detector.GetMarkLength(), c.mark);
    EXPECT_FALSE(detector.IsBinary());
    int encoding = detector.GetCode(), mark = detector.GetMarkLength();
    NormalizeLoadEncoding(encoding, mark);

    CMemoryText text;
    ASSERT_EQ(Load(path, encoding, mark, text, limit), TEXTIO_OK);
    const std::string expected = c.expected ? ReadBytes(FixturePath(std::string("text/") + c.expected)) : original;
    EXPECT_EQ(text.GetText(), expected);

    qmtest::TempDir temp;
    // Saved over a copy of the file, as a document saves under its own path.
    const std::string copy = temp.Path(c.file);
    WriteBytes(copy, original);
    TextFile file;
    ASSERT_EQ(SaveText(file, copy.c_str(), encoding, mark > 0, text, limit), TEXTIO_OK);
    EXPECT_EQ(ReadBytes(copy), original);
}

static const FixtureCase kFixtures[] = {
    {"utf8-bom-crlf.txt", 0, 3, "expected-crlf.utf8"},
    {"utf8-bom-cr.txt", 0, 3, "expected-cr.utf8"},
    {"utf8-bom-lf.txt", 0, 3, "expected-lf.utf8"},
    {"utf8-nobom-crlf.txt", 0, 0, "expected-crlf.utf8"},
    {"utf8-nobom-cr.txt", 0, 0, "expected-cr.utf8"},
    {"utf8-nobom-lf.txt", 0, 0, "expected-lf.utf8"},
    {"utf16le-bom-crlf.txt", 1, 2, "expected-crlf.utf8"},
    {"utf16le-bom-cr.txt", 1, 2, "expected-cr.utf8"},
    {"utf16le-bom-lf.txt", 1, 2, "expected-lf.utf8"},
    {"utf16be-bom-crlf.txt", 2, 2, "expected-crlf.utf8"},
    {"utf16be-bom-cr.txt", 2, 2, "expected-cr.utf8"},
    {"utf16be-bom-lf.txt", 2, 2, "expected-lf.utf8"},
    {"utf16le-nobom-crlf.txt", 1, 0, "expected-latin-crlf.utf8"},
    {"utf16le-nobom-lf.txt", 1, 0, "expected-latin-lf.utf8"},
    {"utf16be-nobom-cr.txt", 2, 0, "expected-latin-cr.utf8"},
    {"utf16be-nobom-crlf.txt", 2, 0, "expected-latin-crlf.utf8"},
    {"ansi-crlf.txt", 3, 0, nullptr},
    {"ansi-cr.txt", 3, 0, nullptr},
    {"ansi-lf.txt", 3, 0, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureRoundTrip,
                         ::testing::Combine(::testing::ValuesIn(kFixtures),
                                            ::testing::Values((int)TEXT_PIECE_LIMIT, 64, 7, 4)),
                         [](const ::testing::TestParamInfo<std::tuple<FixtureCase, int>>& info) {
                             std::string name = std::get<0>(info.param).file;
                             for (char& ch : name)
                                 if (!isalnum((unsigned char)ch))
                                     ch = '_';
                             return name + "_piece" + std::to_string(std::get<1>(info.param));
                         });

// ---------------------------------------------------------------------------
// Real piece boundaries (256000 bytes).

TEST(TextFilePieces, SurrogatePairSplitAcrossPieceBoundarySurvives)
{
    // Mark + 127998 units without a break fill the first read up to the
    // high half; the low half is the first unit of the next piece.
    for (bool bigEndian : {false, true}) {
        std::u16string units(127998, u'x');
        units += u"\U0001F600";
        units += u" tail \U0001D11E\n";
        const std::string bytes = Utf16(units, bigEndian, true);
        ASSERT_EQ(bytes.substr(255998, 2), bigEndian ? std::string("\xD8\x3D") : std::string("\x3D\xD8"));

        qmtest::TempDir temp;
        const std::string path = temp.Path("pair.txt");
        WriteBytes(path, bytes);
        CMemoryText text;
        ASSERT_EQ(Load(path, bigEndian ? 2 : 1, 2, text), TEXTIO_OK);
        EXPECT_EQ(text.GetText(), std::string(127998, 'x') + "\xF0\x9F\x98\x80 tail \xF0\x9D\x84\x9E\n");

        TextFile file;
        ASSERT_EQ(SaveText(file, path.c_str(), bigEndian ? 2 : 1, TRUE, text), TEXTIO_OK);
        EXPECT_EQ(ReadBytes(path), bytes);
    }
}

TEST(TextFilePieces, Utf16PiecesAreCutAtWholeUnits)
{
    // U+4E0A has the byte 0A (a line feed when read byte-wise) in its low
    // byte, and U+2020 is two blanks: neither is a place to cut.
    std::u16string units;
    for (int i = 0; i < 200000; ++i)
        units += (i % 3 == 0) ? u'\u4E0A' : (i % 3 == 1) ? u'\u2020'
                                                         : u'\u0A20';
    units += u"\r\nend";
    for (bool bigEndian : {false, true}) {
        const std::string bytes = Utf16(units, bigEndian, true);
        ASSERT_GT(bytes.size(), (size_t)TEXT_PIECE_LIMIT);
        qmtest::TempDir temp;
        const std::string path = temp.Path("units.txt");
        WriteBytes(path, bytes);
        CMemoryText text;
        ASSERT_EQ(Load(path, bigEndian ? 2 : 1, 2, text), TEXTIO_OK);
        TextFile file;
        ASSERT_EQ(SaveText(file, path.c_str(), bigEndian ? 2 : 1, TRUE, text), TEXTIO_OK);
        EXPECT_EQ(ReadBytes(path), bytes) << (bigEndian ? "big-endian" : "little-endian");
    }
}

TEST(TextFilePieces, MarkIsSkippedOnlyAtTheStartOfTheFile)
{
    // The second piece starts with U+FEFF, which is text, not a mark.
    std::u16string units(127999, u'y');
    units += u'\uFEFF';
    units += u"z";
    qmtest::TempDir temp;
    const std::string path = temp.Path("feff.txt");
    WriteBytes(path, Utf16(units, false, true));
    CMemoryText text;
    ASSERT_EQ(Load(path, 1, 2, text), TEXTIO_OK);
    EXPECT_EQ(text.GetText(), std::string(127999, 'y') + "\xEF\xBB\xBFz");
}

TEST(TextFilePieces, ChunksEndBeforeTheLastBreakOrBlank)
{
    qmtest::TempDir temp;
    const std::string path = temp.Path("chunks.txt");
    std::string content = std::string(255990, 'a') + " bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb";
    WriteBytes(path, content);
    TextFile file;
    ASSERT_TRUE(file.Open(path.c_str()));
    std::vector<char> buffer(TEXT_PIECE_LIMIT + 1);
    ASSERT_EQ(file.ReadChunk(buffer.data(), TEXT_PIECE_LIMIT), 1);
    EXPECT_EQ(file.GetChunkLength(), 255990);
    EXPECT_EQ(buffer[255990], '\0');
    ASSERT_EQ(file.ReadChunk(buffer.data(), TEXT_PIECE_LIMIT), 1);
    EXPECT_EQ(std::string(buffer.data(), (size_t)file.GetChunkLength()), content.substr(255990));
    EXPECT_EQ(file.ReadChunk(buffer.data(), TEXT_PIECE_LIMIT), 0);
    EXPECT_FALSE(file.HasReadError());

    // 256000 bytes without a break or blank are taken whole.
    file.Close();
    WriteBytes(path, std::string(TEXT_PIECE_LIMIT + 10, 'q'));
    ASSERT_TRUE(file.Open(path.c_str()));
    ASSERT_EQ(file.ReadChunk(buffer.data(), TEXT_PIECE_LIMIT), 1);
    EXPECT_EQ(file.GetChunkLength(), (int)TEXT_PIECE_LIMIT);
}

// The line estimate that sizes the editing component's line index: exact
// for a small file, close for large ones whose lines grow or shrink along
// the file (a generated source's numbers get longer), and it leaves the
// reading position where it was.
TEST(TextFilePieces, LineFeedEstimate)
{
    auto lines = [](size_t nBytes, const std::function<size_t(size_t)>& lengthOf) {
        std::string text;
        for (size_t i = 0; text.size() < nBytes; ++i)
            text += std::string(lengthOf(i), 'x') + "\r\n";
        return text;
    };
    struct Case {
        const char* name;
        std::string content;
        double tolerance; // of the true count
    } cases[] = {
        {"Empty", "", 0},
        {"Small", "one\ntwo\r\nthree\rfour\n\n", 0},
        {"JustAboveTheSamples", lines(16 * 32 * 1024 + 100, [](size_t i) { return i % 50; }), 0.01},
        {"EvenLines", lines(4000000, [](size_t i) { return 10 + i % 31; }), 0.01},
        {"GrowingLines", lines(4000000, [](size_t i) { return 5 + i / 4000; }), 0.03},
        {"ShrinkingLines", lines(4000000, [](size_t i) { return i < 80000 ? 60 - i / 2000 : 20; }), 0.01},
    };
    qmtest::TempDir temp;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = temp.Path("lines.txt");
        WriteBytes(path, c.content);
        const double actual = (double)std::count(c.content.begin(), c.content.end(), '\n');
        TextFile file;
        ASSERT_TRUE(file.Open(path.c_str()));
        std::vector<char> buffer(TEXT_PIECE_LIMIT + 1);
        const int nFirst = file.ReadChunk(buffer.data(), TEXT_PIECE_LIMIT);
        const std::string first(buffer.data(), nFirst ? (size_t)file.GetChunkLength() : 0);
        const double estimate = (double)file.EstimateLineFeeds();
        EXPECT_LE(std::abs(estimate - actual), actual * c.tolerance) << "estimate " << estimate << ", lines " << actual;
        // Reading goes on after the first piece.
        std::string rest;
        while (file.ReadChunk(buffer.data(), TEXT_PIECE_LIMIT))
            rest.append(buffer.data(), (size_t)file.GetChunkLength());
        EXPECT_TRUE(first + rest == c.content);
        file.Close();
    }
}

TEST(TextFilePieces, SavePiecesEndAtLineEnds)
{
    // Exactly one piece of text is written in one piece; one byte more
    // gives two, the first ending at the end of a line.
    std::string text;
    while (text.size() < TEXT_PIECE_LIMIT)
        text += "0123456789abcdefghijklmnopqrstuvwxyz\r\n";
    text.resize(TEXT_PIECE_LIMIT);
    qmtest::TempDir temp;
    const std::string path = temp.Path("pieces.txt");

    CMemoryText exact(text);
    RecordingSource exactSource(exact);
    TextFile file;
    ASSERT_EQ(SaveText(file, path.c_str(), 3, FALSE, exactSource), TEXTIO_OK);
    ASSERT_EQ(exactSource.ranges.size(), 1u);
    EXPECT_EQ(ReadBytes(path), text);

    CMemoryText longer(text + "X");
    RecordingSource longerSource(longer);
    ASSERT_EQ(SaveText(file, path.c_str(), 3, FALSE, longerSource), TEXTIO_OK);
    ASSERT_EQ(longerSource.ranges.size(), 2u);
    const LONG_PTR cut = longerSource.ranges[0].second;
    EXPECT_EQ(text.substr((size_t)cut, 2), "\r\n");
    EXPECT_EQ(longerSource.ranges[1].first, cut);
    EXPECT_EQ(ReadBytes(path), text + "X");
}

TEST(TextFilePieces, LineLongerThanAPieceIsWrittenWhole)
{
    // One line of 600000 bytes of four-byte characters, between two short
    // lines: the pieces must move forward and keep characters whole.
    std::string line;
    while (line.size() < 600000)
        line += "ab\xF0\x9F\x98\x80";
    const std::string text = "first\n" + line + "\nlast";
    std::u16string units = u"first\n";
    for (size_t i = 0; i < line.size() / 6; ++i)
        units += u"ab\U0001F600";
    units += u"\nlast";

    struct Case {
        int encoding;
        std::string expected;
    } cases[] = {
        {0, "\xEF\xBB\xBF" + text},
        {3, text},
        {1, Utf16(units, false, true)},
        {2, Utf16(units, true, true)},
    };
    for (const Case& c : cases) {
        qmtest::TempDir temp;
        const std::string path = temp.Path("long.txt");
        CMemoryText source(text);
        TextFile file;
        ASSERT_EQ(SaveText(file, path.c_str(), c.encoding, TRUE, source), TEXTIO_OK) << c.encoding;
        EXPECT_TRUE(ReadBytes(path) == c.expected) << "encoding " << c.encoding;
        CMemoryText back;
        ASSERT_EQ(Load(path, c.encoding, c.encoding == ENC_UTF8 ? 3 : c.encoding == ENC_ANSI ? 0
                                                                                             : 2,
                       back),
                  TEXTIO_OK);
        EXPECT_TRUE(back.GetText() == text) << "encoding " << c.encoding;
    }
}

// ---------------------------------------------------------------------------
// Converters.

TEST(ReadConverter, MarkLengthComesFromTheCaller)
{
    // A UTF-8 file opened with mark length 3 loses its first three bytes,
    // mark or not; ANSI never skips. A mark longer than the first piece is
    // skipped over the following pieces.
    struct Case {
        int encoding, mark;
        std::vector<std::string> chunks;
        std::string expected;
    } cases[] = {
        {0, 3, {"abcdef"}, "def"},
        {0, 3, {"\xEF\xBB\xBFxyz"}, "xyz"},
        {3, 3, {"abcdef"}, "abcdef"},
        {0, 3, {"a", " b", "cd"}, "cd"},
        {0, 0, {"abc"}, "abc"},
    };
    for (const Case& c : cases) {
        ReadConverter conv(c.encoding, c.mark);
        std::string out;
        for (const std::string& chunk : c.chunks) {
            int n = conv.Convert(chunk.data(), (int)chunk.size());
            ASSERT_GE(n, 0);
            out.append(conv.GetOutput(), (size_t)n);
        }
        out.append(conv.GetOutput(), (size_t)conv.Finish());
        EXPECT_EQ(out, c.expected);
    }
}

TEST(ReadConverter, MalformedUtf16SurvivesALoadAndSave)
{
    // Lone surrogate halves and an unpaired high half at the very end.
    const std::u16string units = {u'a', 0xD800, u'b', 0xDC00, u'c', 0xDBFF, 0xDFFF, 0xD83D};
    for (bool bigEndian : {false, true}) {
        qmtest::TempDir temp;
        const std::string path = temp.Path("lone.txt");
        const std::string bytes = Utf16(units, bigEndian, true);
        WriteBytes(path, bytes);
        CMemoryText text;
        ASSERT_EQ(Load(path, bigEndian ? 2 : 1, 2, text, 3), TEXTIO_OK);
        TextFile file;
        ASSERT_EQ(SaveText(file, path.c_str(), bigEndian ? 2 : 1, TRUE, text, 5), TEXTIO_OK);
        EXPECT_EQ(ReadBytes(path), bytes);
    }
}

TEST(ReadConverter, Utf16RunsOfAsciiAroundOtherCharacters)
{
    // ASCII goes over in blocks of eight units: put one character of every
    // UTF-8 length (and a surrogate pair, and a lone half) at every place of
    // a run of ASCII, in chunks that cut the run anywhere.
    const std::u16string others[] = {u"\u00E9", u"\u4E0A", u"\U0001F600", std::u16string(1, char16_t(0xDC00)),
                                     u"\u0080", u"\u007F"};
    const std::string othersUtf8[] = {"\xC3\xA9", "\xE4\xB8\x8A", "\xF0\x9F\x98\x80", "\xED\xB0\x80",
                                      "\xC2\x80", "\x7F"};
    for (bool bigEndian : {false, true}) {
        for (size_t k = 0; k < sizeof(others) / sizeof(others[0]); ++k) {
            for (size_t at = 0; at <= 40; ++at) {
                std::u16string units;
                std::string expected;
                for (size_t i = 0; i < 40; ++i) {
                    if (i == at) {
                        units += others[k];
                        expected += othersUtf8[k];
                    }
                    const char c = static_cast<char>('a' + i % 26);
                    units += static_cast<char16_t>(c);
                    expected += c;
                }
                const std::string bytes = Utf16(units, bigEndian, false);
                for (size_t chunk : {bytes.size(), size_t(17), size_t(33)}) {
                    ReadConverter conv(bigEndian ? 2 : 1, 0);
                    std::string out;
                    for (size_t from = 0; from < bytes.size(); from += chunk) {
                        const int n = conv.Convert(bytes.data() + from, (int)std::min(chunk, bytes.size() - from));
                        out.append(conv.GetOutput(), (size_t)n);
                    }
                    out.append(conv.GetOutput(), (size_t)conv.Finish());
                    EXPECT_EQ(out, expected) << "big-endian " << bigEndian << " character " << k << " at " << at
                                             << " chunks of " << chunk;
                }
            }
        }
    }
}

TEST(ReadConverter, OddLastByteOfUtf16IsReported)
{
    qmtest::TempDir temp;
    const std::string path = temp.Path("odd.txt");
    WriteBytes(path, std::string("\xFF\xFE"
                                 "a\0b\0c",
                                 7));
    CMemoryText text;
    EXPECT_EQ(Load(path, 1, 2, text), TEXTIO_LOSSY);
    EXPECT_EQ(text.GetText(), "ab");
}

TEST(WriteConverter, MarksAndByteOrder)
{
    struct Case {
        int encoding;
        std::string expected;
    } cases[] = {
        {0, "\xEF\xBB\xBF"
            "a\xC3\xA9"
            "b"},
        {1, std::string("\xFF\xFE"
                        "a\0\xE9\0b\0",
                        8)},
        {2, std::string("\xFE\xFF\0a\0\xE9\0b", 8)},
        {3, "a\xC3\xA9"
            "b"},
    };
    for (const Case& c : cases) {
        qmtest::TempDir temp;
        TextFile file;
        ASSERT_TRUE(file.Create((temp.Path("w.txt")).c_str()));
        WriteConverter writer(c.encoding);
        writer.Attach(file.GetHandle());
        // The é is cut between two calls; the mark comes once.
        EXPECT_NE(writer.Write("a\xC3", 2), 0);
        EXPECT_NE(writer.Write("\xA9"
                               "b",
                               2),
                  0);
        EXPECT_TRUE(writer.Finish());
        writer.Close();
        ASSERT_TRUE(file.Commit());
        EXPECT_EQ(ReadBytes(temp.Path("w.txt")), c.expected) << "encoding " << c.encoding;
    }
}

TEST(WriteConverter, FailuresReturnZero)
{
    WriteConverter unattached(1);
    EXPECT_EQ(unattached.Write("abc", 3), 0);

    qmtest::TempDir temp;
    const std::string path = temp.Path("ro.txt");
    WriteBytes(path, "x");
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    for (int encoding : {0, 1, 3}) {
        WriteConverter writer(encoding);
        writer.Attach(h);
        EXPECT_EQ(writer.Write("abc", 3), 0) << encoding;
    }
    CloseHandle(h);
}

// ---------------------------------------------------------------------------
// Safe saving.

TEST(SafeSave, FailedSavesLeaveTheOriginalIntact)
{
    qmtest::TempDir temp;
    const std::string original = "original content\r\n";
    CMemoryText text("new content");

    // A read-only file is not replaced.
    const std::string ro = temp.Path("readonly.txt");
    WriteBytes(ro, original);
    SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY);
    TextFile file;
    EXPECT_EQ(SaveText(file, ro.c_str(), 3, FALSE, text), TEXTIO_OPEN_FAILED);
    SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(ro), original);

    // A file another program holds open without sharing cannot be replaced;
    // it keeps its content and no temporary file is left behind.
    const std::string locked = temp.Path("locked.txt");
    WriteBytes(locked, original);
    HANDLE h = CreateFileA(locked.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SaveText(file, locked.c_str(), 3, FALSE, text), TEXTIO_REPLACE_FAILED);
    CloseHandle(h);
    EXPECT_EQ(ReadBytes(locked), original);

    // A folder that does not exist.
    EXPECT_EQ(SaveText(file, (temp.Path("missing\\x.txt")).c_str(), 3, FALSE, text), TEXTIO_OPEN_FAILED);

    // Only the two files are there.
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE hFind = FindFirstFileA((temp.Path("*")).c_str(), &fd);
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(fd.cFileName);
    } while (FindNextFileA(hFind, &fd));
    FindClose(hFind);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"locked.txt", "readonly.txt"}));
}

TEST(SafeSave, ReplacingKeepsAttributesAndCreatesNewFiles)
{
    qmtest::TempDir temp;
    const std::string hidden = temp.Path("hidden.txt");
    WriteBytes(hidden, "old");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    CMemoryText text("new text");
    TextFile file;
    ASSERT_EQ(SaveText(file, hidden.c_str(), 3, FALSE, text), TEXTIO_OK);
    EXPECT_EQ(ReadBytes(hidden), "new text");
    EXPECT_TRUE(GetFileAttributesA(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN);

    const std::string fresh = temp.Path("fresh.txt");
    ASSERT_EQ(SaveText(file, fresh.c_str(), 0, TRUE, text), TEXTIO_OK);
    EXPECT_EQ(ReadBytes(fresh), "\xEF\xBB\xBFnew text");

    // An empty text gives an empty file (with its mark, when asked for).
    CMemoryText empty;
    ASSERT_EQ(SaveText(file, fresh.c_str(), 1, TRUE, empty), TEXTIO_OK);
    EXPECT_EQ(ReadBytes(fresh), "\xFF\xFE");
    ASSERT_EQ(SaveText(file, fresh.c_str(), 3, FALSE, empty), TEXTIO_OK);
    EXPECT_EQ(ReadBytes(fresh), "");
}

TEST(SafeSave, SinkFailureAndMissingFileAreReported)
{
    struct RefusingSink : ITextSink {
        bool AppendText(const char*, int) override { return false; }
    } sink;
    qmtest::TempDir temp;
    WriteBytes(temp.Path("a.txt"), "abc");
    TextFile file;
    ASSERT_TRUE(file.Open((temp.Path("a.txt")).c_str()));
    EXPECT_EQ(ReadAllText(file, 3, 0, sink), TEXTIO_SINK_FAILED);
    EXPECT_FALSE(file.Open((temp.Path("none.txt")).c_str()));
    EXPECT_EQ(file.GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
}

TEST(TextFileInfo, SizeAndReadOnly)
{
    qmtest::TempDir temp;
    const std::string path = temp.Path("info.txt");
    WriteBytes(path, "12345");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    TextFile file;
    ASSERT_TRUE(file.Open(path.c_str()));
    EXPECT_EQ(file.GetSize(), 5u);
    EXPECT_TRUE(file.IsReadOnly());
    file.Close();
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// ---------------------------------------------------------------------------
// ANSI text: the system's legacy code page, converted to and from the
// component's UTF-8.

TEST(AnsiText, ConvertsBetweenTheLegacyCodePageAndUtf8)
{
    ASSERT_EQ(GetACP(), (UINT)CP_UTF8) << "the test program's manifest sets the UTF-8 code page";
    if (fx::LegacyAnsiCodePage() != 1252)
        GTEST_SKIP() << "platform limit: the system's ANSI code page is not 1252, the table's";
    struct Case {
        const char* what;
        std::string from;
        BOOL fromAnsi, toAnsi;
        std::string to;
        BOOL lossy;
    };
    const Case cases[] = {
        {"accented letter in", "caf\xE9", TRUE, FALSE, "caf\xC3\xA9", FALSE},
        {"euro sign in", "\x80", TRUE, FALSE, "\xE2\x82\xAC", FALSE},
        {"accented letter out", "caf\xC3\xA9", FALSE, TRUE, "caf\xE9", FALSE},
        {"Japanese out becomes ?", "a\xE6\x97\xA5z", FALSE, TRUE, "a?z", TRUE},
        // One "?" per UTF-16 unit or per character, as the system does it.
        {"outside the basic plane becomes ?", "\xF0\x9F\x98\x80", FALSE, TRUE, "?+", TRUE},
        {"no look-alike letter", "\xC4\x81", FALSE, TRUE, "?", TRUE}, // a with macron
        {"same side copies", "\xE9\xFF", TRUE, TRUE, "\xE9\xFF", FALSE},
        {"empty", "", TRUE, FALSE, "", FALSE},
    };
    for (const Case& c : cases) {
        std::string out;
        BOOL lossy = -1;
        ASSERT_TRUE(ConvertTextCodePage(c.from, c.fromAnsi, c.toAnsi, out, &lossy)) << c.what;
        if (c.to == "?+")
            EXPECT_TRUE(!out.empty() && out.find_first_not_of('?') == std::string::npos) << c.what << ": " << out;
        else
            EXPECT_EQ(out, c.to) << c.what;
        EXPECT_EQ(lossy, c.lossy) << c.what;
    }

    // Every byte survives the trip through UTF-8 and back.
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    std::string utf8, back;
    BOOL lossy = FALSE;
    ASSERT_TRUE(ConvertTextCodePage(all, TRUE, FALSE, utf8));
    ASSERT_TRUE(ConvertTextCodePage(utf8, FALSE, TRUE, back, &lossy));
    EXPECT_EQ(back, all);
    EXPECT_FALSE(lossy);
}

// A double-byte character cut by the end of a piece is joined with the next
// piece; a lead byte left at the end of the file goes on alone.
TEST(AnsiText, DecodingSinkJoinsCharactersCutBetweenPieces)
{
    ASSERT_TRUE(IsValidCodePage(932));
    // "日本 x" in code page 932: 93 FA 96 7B 20 78.
    const std::string sjis = "\x93\xFA\x96\x7B x";
    for (size_t cut = 0; cut <= sjis.size(); ++cut) {
        CMemoryText target;
        CAnsiDecodingSink sink(target, 932);
        ASSERT_TRUE(sink.AppendText(sjis.data(), (int)cut));
        ASSERT_TRUE(sink.AppendText(sjis.data() + cut, (int)(sjis.size() - cut)));
        ASSERT_TRUE(sink.Finish());
        EXPECT_EQ(target.GetText(), "\xE6\x97\xA5\xE6\x9C\xAC x") << "cut at " << cut;
    }
    CMemoryText target;
    CAnsiDecodingSink sink(target, 1252);
    ASSERT_TRUE(sink.AppendText("caf\xE9", 4));
    ASSERT_TRUE(sink.Finish());
    EXPECT_EQ(target.GetText(), "caf\xC3\xA9");
}

// Pieces of ASCII go through as they are (NUL bytes too); a trail byte in
// the ASCII range still completes the lead byte held from the piece before.
TEST(AnsiText, DecodingSinkPassesAsciiPiecesAndCompletesHeldLeadBytes)
{
    ASSERT_TRUE(IsValidCodePage(932));
    const char kAscii[] = "int main()\r\n{\0}\t~\x7F";
    const std::string ascii(kAscii, sizeof(kAscii) - 1);
    for (UINT cp : {1252u, 932u}) {
        CMemoryText target;
        CAnsiDecodingSink sink(target, cp);
        ASSERT_TRUE(sink.AppendText(ascii.data(), (int)ascii.size()));
        ASSERT_TRUE(sink.Finish());
        EXPECT_EQ(target.GetText(), ascii) << "code page " << cp;
    }
    // "\x83\x40" is the katakana small a (U+30A1) in code page 932; its trail
    // byte is "@". Cut between the two, the second piece is all ASCII.
    CMemoryText target;
    CAnsiDecodingSink sink(target, 932);
    ASSERT_TRUE(sink.AppendText("x\x83", 2));
    ASSERT_TRUE(sink.AppendText("\x40yz", 3));
    ASSERT_TRUE(sink.Finish());
    EXPECT_EQ(target.GetText(), "x\xE3\x82\xA1yz");
    // A long piece of ASCII with one byte above it at the end is converted.
    std::string mixed(100000, 'a');
    mixed += "\xE9";
    CMemoryText latin;
    CAnsiDecodingSink sinkLatin(latin, 1252);
    ASSERT_TRUE(sinkLatin.AppendText(mixed.data(), (int)mixed.size()));
    ASSERT_TRUE(sinkLatin.Finish());
    EXPECT_EQ(latin.GetText(), std::string(100000, 'a') + "\xC3\xA9");
}

// A stamp taken at load or save tells whether another program changed the
// file since: a new size, a new write time; the same file again does not.
TEST(FileStamp, ChangesOfSizeOrTimeAreSeen)
{
    qmtest::TempDir temp;
    const std::string path = temp.Path("stamp.txt");
    WriteBytes(path, "12345");
    FileStamp taken = FileStamp::Of(path.c_str());
    ASSERT_TRUE(taken.bValid);
    EXPECT_EQ(taken.nSize, 5u);
    EXPECT_FALSE(FileStamp::Of(path.c_str()).Differs(taken)) << "nothing happened to the file";

    struct Case {
        const char* what;
        std::function<void()> change;
        bool differs;
    } cases[] = {
        {"longer text", [&] { WriteBytes(path, "123456"); }, true},
        {"same size, later time",
         [&] {
             WriteBytes(path, "abcde");
             HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
             FILETIME later = taken.ftLastWrite;
             ULARGE_INTEGER t;
             t.LowPart = later.dwLowDateTime;
             t.HighPart = later.dwHighDateTime;
             t.QuadPart += 20000000ULL; // two seconds
             later.dwLowDateTime = t.LowPart;
             later.dwHighDateTime = t.HighPart;
             SetFileTime(h, NULL, NULL, &later);
             CloseHandle(h);
         },
         true},
        {"file deleted", [&] { DeleteFileA(path.c_str()); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.change();
        EXPECT_EQ(FileStamp::Of(path.c_str()).Differs(taken) != FALSE, c.differs);
    }
    EXPECT_FALSE(FileStamp::Of(path.c_str()).bValid);
    EXPECT_FALSE(FileStamp::Of(temp.Path().c_str()).bValid) << "a folder is no file";
    EXPECT_FALSE(FileStamp().Differs(taken)) << "no stamp taken: nothing to compare";
}
