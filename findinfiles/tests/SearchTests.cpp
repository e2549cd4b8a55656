// Whole searches through filescan.dll over folder trees the tests build:
// the exact sequence of callbacks, lines, positions and summaries.
#include "FindInFiles.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

using namespace fiftest;

namespace {

const std::wstring kHeaderCase = L"Find all \"needle\", Case sensitive  \"*.txt\"";

struct HitParts {
    std::wstring path;
    int line = 0;
    int pos = 0;
    std::wstring text;
};

// The three lines a regular-expression search reports before the first
// match of a file.
std::vector<std::wstring> RegexFileHeader(const std::wstring& path)
{
    const std::wstring stars = std::wstring(44, L'*') + L"\r\n";
    return {Msg(stars), Msg(L"Processing file:   " + path + L"               Encoding:   ANSI\r\n"), Msg(stars)};
}

// Call records one after the other.
std::vector<std::wstring> Calls(std::initializer_list<std::vector<std::wstring>> parts)
{
    std::vector<std::wstring> all;
    for (const std::vector<std::wstring>& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

HitParts ParseHit(const std::wstring& call)
{
    HitParts h;
    size_t p[4];
    size_t from = 0;
    for (size_t& q : p) {
        q = call.find(L'|', from);
        from = q + 1;
    }
    h.path = call.substr(p[0] + 1, p[1] - p[0] - 1);
    h.line = std::stoi(call.substr(p[1] + 1, p[2] - p[1] - 1));
    h.pos = std::stoi(call.substr(p[2] + 1, p[3] - p[2] - 1));
    h.text = call.substr(p[3] + 1);
    return h;
}

// A small project: nested folders, masks, dot folders, a folder with extra
// attributes.
class TreeSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        a = TreeFile(tree, L"a.txt", "one needle\r\nno\r\nneedle needle\r\n");
        TreeFile(tree, L"b.cpp", "needle in cpp\n");
        c = TreeFile(tree, L"sub\\c.txt", "x\ny needle\n");
        d = TreeFile(tree, L"sub\\deeper\\d.txt", "needle");
        TreeFile(tree, L".git\\e.txt", "needle\n");
        TreeFile(tree, L"sub\\.cache\\f.txt", "needle\n");
        g = TreeFile(tree, L"hidden\\g.TXT", "NEEDLE needle\n");
        SetFileAttributesW(Long(tree.WidePath(L"hidden")).c_str(),
                           FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
        TreeFolder(tree, L"empty");
    }
    void TearDown() override { SetFileAttributesW(Long(tree.WidePath(L"hidden")).c_str(), FILE_ATTRIBUTE_NORMAL); }

    qmtest::TempDir tree{"qmfif"};
    std::wstring a, c, d, g;
};

TEST_F(TreeSearch, TopFolderOnly)
{
    // Entries: . .. .git a.txt b.cpp empty hidden sub
    const std::vector<std::wstring> expected = {
        Msg(kHeaderCase),
        Hit(a, 1, 4, L"one needle\r\n"),
        Hit(a, 3, 0, L"needle needle\r\n"),
        Hit(a, 3, 7, L"needle needle\r\n"),
        Msg(Summary(3, 1, 8)),
        Fin(),
    };
    EXPECT_EQ(expected, RunSearch(L"needle", L"*.txt", tree.WidePath(), 0, 1, 0, 0));
}

TEST_F(TreeSearch, SubfoldersSkipDotFolders)
{
    // Walk order: a.txt, b.cpp, empty\, hidden\g.TXT, sub\c.txt, sub\deeper\d.txt.
    // Entries: 8 at the top, 2 in empty, 3 in hidden, 5 in sub, 3 in deeper.
    const std::vector<std::wstring> expected = {
        Msg(L"Find all \"needle\", Case sensitive Subfolders  \"*.txt\""),
        Hit(a, 1, 4, L"one needle\r\n"),
        Hit(a, 3, 0, L"needle needle\r\n"),
        Hit(a, 3, 7, L"needle needle\r\n"),
        Hit(g, 1, 7, L"NEEDLE needle\n"),
        Hit(c, 2, 2, L"y needle\n"),
        Hit(d, 1, 0, L"needle"),
        Msg(Summary(6, 4, 21)),
        Fin(),
    };
    EXPECT_EQ(expected, RunSearch(L"needle", L"*.txt", tree.WidePath(), 1, 1, 0, 0));
}

TEST_F(TreeSearch, EachMaskWalksTheTreeAgain)
{
    const std::wstring b = tree.WidePath(L"b.cpp");
    const std::vector<std::wstring> expected = {
        Msg(L"Find all \"NEEDLE\", Subfolders  \";*.cpp;;d*.txt;\""),
        Hit(b, 1, 0, L"needle in cpp\n"),
        Hit(d, 1, 0, L"needle"),
        Msg(Summary(2, 2, 42)),
        Fin(),
    };
    EXPECT_EQ(expected, RunSearch(L"NEEDLE", L";*.cpp;;d*.txt;", tree.WidePath(), 1, 0, 0, 0));
}

TEST_F(TreeSearch, MaskListsThatSearchNothing)
{
    for (const wchar_t* masks : {L"", L";", L";;;", L" *.txt", L"*.none"}) {
        const std::vector<std::wstring> calls = RunSearch(L"needle", masks, tree.WidePath(), 1, 0, 0, 0);
        ASSERT_EQ(3u, calls.size());
        EXPECT_EQ(0u, calls[1].find(L"M|Total found: 0 Matching files: 0 ")) << calls[1];
        EXPECT_EQ(Fin(), calls[2]);
    }
}

TEST_F(TreeSearch, HeaderNamesEveryOption)
{
    struct Case {
        int sub, cs, ww, re;
        const wchar_t* header;
    } cases[] = {
        {0, 0, 0, 0, L"Find all \"needle\",  \"x\""},
        {1, 1, 0, 0, L"Find all \"needle\", Case sensitive Subfolders  \"x\""},
        {0, 0, 1, 0, L"Find all \"needle\", Whole words \"x\""},
        {1, 1, 1, 1, L"Find all \"needle\", Case sensitive Subfolders Regular Expressions Whole words \"x\""},
        {0, 0, 0, 1, L"Find all \"needle\", Regular Expressions  \"x\""},
    };
    for (const Case& c : cases) {
        const std::vector<std::wstring> calls = RunSearch(L"needle", L"x", tree.WidePath(), c.sub, c.cs, c.ww, c.re);
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(Msg(c.header), calls[0]);
    }
}

TEST_F(TreeSearch, RegularExpressionsGetFileHeaders)
{
    const std::vector<std::wstring> expected = Calls({
        {Msg(L"Find all \"^needle\", Regular Expressions  \"a.txt\"")},
        RegexFileHeader(a),
        {Hit(a, 3, 0, L"needle needle\r\n"), Msg(Summary(1, 1, 8)), Fin()},
    });
    EXPECT_EQ(expected, RunSearch(L"^needle", L"a.txt", tree.WidePath(), 0, 0, 0, 1));
}

TEST_F(TreeSearch, CallbacksComeFromOneOtherThread)
{
    RecordingSink sink;
    CFindInFiles engine;
    ASSERT_EQ(1, engine.Find(L"needle", L"*.txt", tree.WidePath().c_str(), 1, 0, 0, 0, &sink));
    ASSERT_TRUE(sink.Wait());
    const std::vector<DWORD> threads = sink.Threads();
    ASSERT_GT(threads.size(), 3u);
    for (DWORD t : threads) {
        EXPECT_NE(GetCurrentThreadId(), t);
        EXPECT_EQ(threads[0], t);
    }
    engine.Cleanup();
}

TEST_F(TreeSearch, WorkerLeavesTheCurrentDirectoryAlone)
{
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    RunSearch(L"needle", L"*.txt", tree.WidePath(), 1, 0, 0, 0);
    wchar_t after[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_STREQ(before, after);
}

TEST_F(TreeSearch, RelativeAndSlashedFoldersReportFullPaths)
{
    // The folder is resolved once; results name the files in full.
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryW(tree.WidePath(L"sub").c_str()));
    const std::vector<std::wstring> calls = RunSearch(L"needle", L"c.txt", L".", 0, 0, 0, 0);
    SetCurrentDirectoryW(before);
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ(Hit(c, 2, 2, L"y needle\n"), calls[1]);

    std::wstring slashed = tree.WidePath() + L"/sub/";
    for (wchar_t& ch : slashed)
        if (ch == L'\\')
            ch = L'/';
    const std::vector<std::wstring> calls2 = RunSearch(L"needle", L"c.txt", slashed, 0, 0, 0, 0);
    ASSERT_EQ(4u, calls2.size());
    EXPECT_EQ(Hit(c, 2, 2, L"y needle\n"), calls2[1]);
}

TEST(Search, MissingFolderIsReported)
{
    qmtest::TempDir tree{"qmfif"};
    const std::wstring missing = tree.WidePath(L"nope");
    const std::vector<std::wstring> expected = {
        Msg(L"Find all \"x\",  \"*.*\""),
        Msg(L"Error: Could not open folder: " + missing + L"\r\n"),
        Msg(Summary(0, 0, 0)),
        Fin(),
    };
    EXPECT_EQ(expected, RunSearch(L"x", L"*.*", missing, 0, 0, 0, 0));
    // A file is no folder either.
    const std::wstring file = TreeFile(tree, L"plain.txt", "x");
    EXPECT_EQ(Msg(L"Error: Could not open folder: " + file + L"\r\n"), RunSearch(L"x", L"*.*", file, 1, 0, 0, 0)[1]);
    EXPECT_EQ(Msg(L"Error: Could not open folder: \r\n"), RunSearch(L"x", L"*.*", L"", 1, 0, 0, 0)[1]);
}

// ---------------------------------------------------------------------------
// Encodings: every file holds "\u00e9 needle" on its second line.

struct EncodedFile {
    const wchar_t* name;
    std::string (*encode)(const std::wstring&);
    const char* mark;
    int markLength;
    const wchar_t* encodingName;
    bool latin1Only; // the text must be Latin-1 (ANSI, or 16-bit found by its zero bytes)
};

std::string Identity(const std::wstring& s)
{
    return Utf8(s);
}

const EncodedFile kEncoded[] = {
    {L"ansi.txt", Ansi, "", 0, L"ANSI", true},
    {L"utf8.txt", Utf8, "", 0, L"UTF-8", false},
    {L"utf8bom.txt", Identity, "\xEF\xBB\xBF", 3, L"UTF-8", false},
    {L"utf16le.txt", Utf16Le, "", 0, L"UTF-16LE", true},
    {L"utf16lebom.txt", Utf16Le, "\xFF\xFE", 2, L"UTF-16LE", false},
    {L"utf16be.txt", Utf16Be, "", 0, L"UTF-16BE", true},
    {L"utf16bebom.txt", Utf16Be, "\xFE\xFF", 2, L"UTF-16BE", false},
    {L"utf32le.txt", Utf32Le, "\xFF\xFE\0\0", 4, L"", false},
    {L"utf32be.txt", Utf32Be, "\0\0\xFE\xFF", 4, L"", false},
    {L"utf7.txt", Utf7, "+/v8-", 5, L"UTF7", false},
};

TEST(Search, EveryEncodingWithAndWithoutMark)
{
    qmtest::TempDir tree{"qmfif"};
    // Beyond Latin-1 the line also holds a character outside the BMP (two
    // UTF-16 units) before a second hit.
    const std::wstring wide = L"first line\r\n\u00e9 needle \u0436 \U0001F600 needle\r\nlast";
    const std::wstring latin1 = L"first line\r\n\u00e9 needle \u00fe\r\nlast";
    for (const EncodedFile& f : kEncoded) {
        const std::wstring content = f.latin1Only ? latin1 : wide;
        const std::wstring line2 = content.substr(12, content.find(L"\r\n", 12) + 2 - 12);
        const std::string bytes = std::string(f.mark, static_cast<size_t>(f.markLength)) + f.encode(content);
        const std::wstring path = TreeFile(tree, f.name, bytes);
        SCOPED_TRACE(std::string(f.name, f.name + wcslen(f.name)));

        std::vector<std::wstring> expectedHits = {Hit(path, 2, 2, line2)};
        if (!f.latin1Only)
            expectedHits.push_back(Hit(path, 2, 14, line2));
        std::vector<std::wstring> calls = RunSearch(L"needle", f.name, tree.WidePath(), 0, 1, 0, 0);
        ASSERT_EQ(expectedHits.size() + 3, calls.size());
        EXPECT_EQ(expectedHits, std::vector<std::wstring>(calls.begin() + 1, calls.end() - 2));

        // The regular-expression search names the encoding, and finds the
        // accented letter in either case.
        const std::wstring stars = std::wstring(44, L'*') + L"\r\n";
        calls = RunSearch(L"\u00c9 n[a-z]*", f.name, tree.WidePath(), 0, 0, 0, 1);
        ASSERT_EQ(7u, calls.size());
        EXPECT_EQ(Msg(L"Processing file:   " + path + L"               Encoding:   " + f.encodingName + L"\r\n"),
                  calls[2]);
        EXPECT_EQ(Hit(path, 2, 0, line2), calls[4]);
    }
}

// Folders and files named in any language are searched and reported whole,
// and the reported path opens through the program's UTF-8 narrow functions
// (no short-name detour). A file without a mark is read in the system's
// legacy ANSI code page, not in the program's own.
TEST(Search, NamesInAnyLanguageAndLegacyAnsiFiles)
{
    ASSERT_EQ((UINT)CP_UTF8, GetACP()) << "the test program's manifest sets the UTF-8 code page";
    qmtest::TempDir tree{"qmfif"};
    const std::wstring folder = L"\u65e5\u672c \u03b1\u03b2 \U0001F600";
    struct Case {
        const wchar_t* name;
        std::string bytes;
    };
    const Case cases[] = {
        {L"\u65e5\u672c\u8a9e.cpp", Ansi(L"le caf\u00e9 noir\r\n")},
        {L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac.txt", Utf8(L"le caf\u00e9 \u03b1\r\n")},
        {L"\U0001F600.txt", "\xFF\xFE" + Utf16Le(L"le caf\u00e9 \U0001F600\r\n")},
    };
    for (const Case& c : cases) {
        const std::wstring path = TreeFile(tree, folder + L"\\" + c.name, c.bytes);
        SCOPED_TRACE(Utf8(c.name));
        const std::vector<std::wstring> calls = RunSearch(L"caf\u00e9", c.name, tree.WidePath(), 1, 1, 0, 0);
        ASSERT_EQ(4u, calls.size()); // header, the hit, summary, end
        const HitParts h = ParseHit(calls[1]);
        EXPECT_EQ(Long(path), Long(h.path));
        EXPECT_EQ(3, h.pos);

        const std::string narrow = Utf8(h.path);
        HANDLE file = CreateFileA(narrow.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, file) << narrow;
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
}

TEST(Search, Utf7MarkRunningIntoTheText)
{
    // "+/v8" holds the mark and two bits of the next character when that one
    // is not plain ASCII: the run must be decoded as a whole.
    qmtest::TempDir tree{"qmfif"};
    const std::string bytes = Utf7(L"\ufeff\u00e9 needle\r\nneedle");
    ASSERT_EQ("+/v", bytes.substr(0, 3));
    ASSERT_NE('-', bytes[4]) << bytes;
    const std::wstring path = TreeFile(tree, L"u7.txt", bytes);
    const std::vector<std::wstring> calls = RunSearch(L"needle", L"u7.txt", tree.WidePath(), 0, 1, 0, 0);
    ASSERT_EQ(5u, calls.size());
    EXPECT_EQ(Hit(path, 1, 2, L"\u00e9 needle\r\n"), calls[1]);
    EXPECT_EQ(Hit(path, 2, 0, L"needle"), calls[2]);
}

TEST(Search, UnreadableMarksAreReportedNotSearched)
{
    struct Case {
        const wchar_t* name;
        std::string bytes;
        const wchar_t* encoding;
    } cases[] = {
        {L"scsu.txt", "\x0E\xFE\xFFneedle\r\n", L"SCSU"},
        {L"bocu.txt", "\xFB\xEE\x28needle\r\n", L"BOCU-1"},
        {L"ebcdic.txt", "\xDD\x73\x66\x73needle\r\n", L"UTF-EBCDIC"},
    };
    for (const Case& c : cases) {
        qmtest::TempDir tree{"qmfif"};
        const std::wstring path = TreeFile(tree, c.name, c.bytes);
        const std::vector<std::wstring> expected = {
            Msg(L"Find all \"needle\",  \"" + std::wstring(c.name) + L"\""),
            Msg(L"Error: Unsupported encoding (" + std::wstring(c.encoding) + L"), file not searched: " + path +
                L"\r\n"),
            Msg(Summary(0, 1, 3)),
            Fin(),
        };
        EXPECT_EQ(expected, RunSearch(L"needle", c.name, tree.WidePath(), 0, 0, 0, 0));
    }
}

TEST(Search, TinyAndOddFiles)
{
    qmtest::TempDir tree{"qmfif"};
    const std::wstring one = TreeFile(tree, L"one.txt", "x");
    TreeFile(tree, L"empty.txt", "");
    const std::wstring zeros = TreeFile(tree, L"zeros.txt", std::string("a\0x\0b\r\nx", 8));
    const std::wstring noEnd = TreeFile(tree, L"noend.txt", "abc\r\nlast x");
    const std::wstring crlf = TreeFile(tree, L"crlf.txt", "\r\n\r\nx\r\n");
    const std::vector<std::wstring> expected = {
        Msg(L"Find all \"x\", Case sensitive  \"*.txt\""),
        Hit(crlf, 3, 0, L"x\r\n"),
        Hit(noEnd, 2, 5, L"last x"),
        Hit(one, 1, 0, L"x"),
        Hit(zeros, 1, 2, L"a.x.b\r\n"),
        Hit(zeros, 2, 0, L"x"),
        Msg(Summary(5, 5, 7)),
        Fin(),
    };
    EXPECT_EQ(expected, RunSearch(L"x", L"*.txt", tree.WidePath(), 0, 1, 0, 0));
}

TEST(Search, LongLinesKeepTheirLineNumbers)
{
    qmtest::TempDir tree{"qmfif"};
    // A line of 20000 bytes, then more lines: numbers stay right.
    std::string text(20000, 'h');
    text += "needle\r\nneedle\r\n";
    const std::wstring wide20k = std::wstring(20000, L'h') + L"needle\r\n";
    const std::wstring twenty = TreeFile(tree, L"a20k.txt", text);
    // A line longer than a piece (65536 bytes here): a hit at character
    // 150000 keeps line 1 and its place in the whole line; the text is the
    // piece holding it.
    std::wstring huge(200000, L'\u00e9');
    huge.replace(150000, 6, L"needle");
    const std::wstring hugePath = TreeFile(tree, L"b200k.txt", "\xEF\xBB\xBF" + Utf8(huge + L"\nneedle"));
    const std::vector<std::wstring> calls = RunSearch(L"needle", L"*.txt", tree.WidePath(), 0, 1, 0, 0);
    ASSERT_EQ(7u, calls.size());
    EXPECT_EQ(Hit(twenty, 1, 20000, wide20k), calls[1]);
    EXPECT_EQ(Hit(twenty, 2, 0, L"needle\r\n"), calls[2]);
    const HitParts h = ParseHit(calls[3]);
    EXPECT_EQ(hugePath, h.path);
    EXPECT_EQ(1, h.line);
    EXPECT_EQ(150000, h.pos);
    const size_t at = h.text.find(L"needle");
    ASSERT_NE(std::wstring::npos, at);
    ASSERT_LE(at, 150000u);
    EXPECT_LE(h.text.size(), 65536u);
    EXPECT_GT(h.text.size(), 30000u);
    EXPECT_EQ(0, huge.compare(150000 - at, h.text.size(), h.text)) << "the text is a piece of the line";
    EXPECT_EQ(Hit(hugePath, 2, 0, L"needle"), calls[4]);
}

TEST(Search, LinesLongerThanAReadBlock)
{
    // 2.5 million characters on line 1 (more than one 1 MB read), hits far
    // apart, then a short line: in a byte file and in a 16-bit one.
    qmtest::TempDir tree{"qmfif"};
    std::wstring line(2500000, L'h');
    line.replace(1000000, 6, L"needle");
    line.replace(2400000, 6, L"needle");
    const std::wstring text = line + L"\nneedle";
    const std::wstring ansi = TreeFile(tree, L"a.txt", Ansi(text));
    const std::wstring wide = TreeFile(tree, L"w.txt", "\xFF\xFE" + Utf16Le(text));
    for (const std::wstring& path : {ansi, wide}) {
        const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
        const std::vector<std::wstring> calls = RunSearch(L"needle", name, tree.WidePath(), 0, 1, 0, 0);
        ASSERT_EQ(6u, calls.size());
        const int positions[2] = {1000000, 2400000};
        for (int k = 0; k < 2; ++k) {
            const HitParts h = ParseHit(calls[1 + k]);
            EXPECT_EQ(1, h.line);
            EXPECT_EQ(positions[k], h.pos);
            // The text is the piece of the line that holds the hit.
            const size_t at = h.text.find(L"needle");
            ASSERT_NE(std::wstring::npos, at);
            EXPECT_LE(h.text.size(), 65536u);
            EXPECT_EQ(0, line.compare(static_cast<size_t>(h.pos) - at, h.text.size(), h.text));
        }
        EXPECT_EQ(Hit(path, 2, 0, L"needle"), calls[3]);
        EXPECT_EQ(Msg(Summary(3, 1, 4)), calls[4]);
    }
}

TEST(Search, Utf8SequencesAreNeverSplit)
{
    // A line of 'x' and then two-byte characters, so that a cut after a
    // whole number of 64 KB would fall inside a character.
    qmtest::TempDir tree{"qmfif"};
    const std::wstring line = L"x" + std::wstring(100000, L'\u00e9') + L"needle";
    const std::wstring path = TreeFile(tree, L"u.txt", "\xEF\xBB\xBF" + Utf8(line + L"\n"));
    std::vector<std::wstring> calls = RunSearch(L"\u00e9needle", L"u.txt", tree.WidePath(), 0, 1, 0, 0);
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ(100000, ParseHit(calls[1]).pos);
    calls = RunSearch(L"\ufffd", L"u.txt", tree.WidePath(), 0, 1, 0, 0);
    EXPECT_EQ(3u, calls.size()) << "a split sequence would decode to U+FFFD";
    calls = RunSearch(L"x\u00e9", L"u.txt", tree.WidePath(), 0, 1, 0, 0);
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ(0, ParseHit(calls[1]).pos);
}

TEST(Search, FileThatCannotBeOpened)
{
    qmtest::TempDir tree{"qmfif"};
    const std::wstring locked = TreeFile(tree, L"locked.txt", "needle\n");
    const std::wstring open = TreeFile(tree, L"open.txt", "needle\n");
    HANDLE hold = CreateFileW(Long(locked).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hold);
    const std::vector<std::wstring> expected = {
        Msg(L"Find all \"needle\",  \"*.txt\""),
        Msg(L"Error: Could not open file: "),
        Msg(locked),
        Msg(L"\r\n"),
        Hit(open, 1, 0, L"needle\n"),
        Msg(Summary(1, 2, 4)),
        Fin(),
    };
    EXPECT_EQ(expected, RunSearch(L"needle", L"*.txt", tree.WidePath(), 0, 0, 0, 0));
    CloseHandle(hold);
}

TEST(Search, FilesOthersAreWritingCanBeSearched)
{
    qmtest::TempDir tree{"qmfif"};
    const std::wstring log = TreeFile(tree, L"log.txt", "needle\n");
    HANDLE writer = CreateFileW(Long(log).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    const std::vector<std::wstring> calls = RunSearch(L"needle", L"*.txt", tree.WidePath(), 0, 0, 0, 0);
    CloseHandle(writer);
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ(Hit(log, 1, 0, L"needle\n"), calls[1]);
}

TEST(Search, PathsFarBeyondMaxPath)
{
    qmtest::TempDir tree{"qmfif"};
    // As deep as the file system allows, up to past 4096 characters.
    std::wstring folder = tree.WidePath();
    int levels = 0;
    while (folder.size() < 4200) {
        const std::wstring next = folder + L"\\" + std::wstring(120, static_cast<wchar_t>(L'a' + levels % 26));
        if (!CreateDirectoryW(Long(next).c_str(), nullptr))
            break;
        folder = next;
        ++levels;
    }
    std::wstring file;
    for (int n = 40; n > 0; --n) {
        const std::wstring candidate = folder + L"\\" + std::wstring(static_cast<size_t>(n - 4), L'f') + L".txt";
        if (WriteBytes(candidate, "deep needle\n")) {
            file = candidate;
            break;
        }
    }
    ASSERT_FALSE(file.empty());
    ASSERT_GT(file.size(), 3000u) << "the platform should allow long paths";

    std::vector<std::wstring> calls = RunSearch(L"needle", L"*.txt", tree.WidePath(), 1, 0, 0, 0);
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ(Hit(file, 1, 5, L"deep needle\n"), calls[1]);

    // The start folder itself may be as long as the limit: pad the deepest
    // folder with "\." steps to exactly 4095 characters.
    std::wstring padded = folder;
    while (padded.size() + 2 <= CFindInFiles::MaxArgumentLength)
        padded += L"\\.";
    if (padded.size() < CFindInFiles::MaxArgumentLength)
        padded += L"\\";
    ASSERT_EQ(static_cast<size_t>(CFindInFiles::MaxArgumentLength), padded.size());
    calls = RunSearch(L"needle", L"*.txt", padded, 0, 0, 0, 0);
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ(Hit(file, 1, 5, L"deep needle\n"), calls[1]);
}

TEST(Search, WholeWordsAndCase)
{
    qmtest::TempDir tree{"qmfif"};
    const std::wstring f = TreeFile(tree, L"w.txt", "Word words sword word_ (word) WORD\r\n");
    const std::vector<std::wstring> calls = RunSearch(L"word", L"w.txt", tree.WidePath(), 0, 0, 1, 0);
    const std::wstring line = L"Word words sword word_ (word) WORD\r\n";
    const std::vector<std::wstring> expected = {
        Msg(L"Find all \"word\", Whole words \"w.txt\""),
        Hit(f, 1, 0, line),
        Hit(f, 1, 24, line),
        Hit(f, 1, 30, line),
        Msg(Summary(3, 1, 3)),
        Fin(),
    };
    EXPECT_EQ(expected, calls);
}

TEST(Search, EmptyMatchesDoNotLoop)
{
    qmtest::TempDir tree{"qmfif"};
    const std::wstring f = TreeFile(tree, L"z.txt", "ab\r\n\r\nc");
    const std::vector<std::wstring> calls = RunSearch(L"x*", L"z.txt", tree.WidePath(), 0, 1, 0, 1);
    const std::vector<std::wstring> hits = {calls.begin() + 4, calls.end() - 2};
    const std::vector<std::wstring> expected = {
        Hit(f, 1, 0, L"ab\r\n"),
        Hit(f, 1, 1, L"ab\r\n"),
        Hit(f, 3, 0, L"c"),
    };
    EXPECT_EQ(expected, hits);
    EXPECT_EQ(Msg(Summary(3, 1, 3)), calls[calls.size() - 2]);
}

TEST(Search, LineTooComplexIsReportedAndTheNextFileSearched)
{
    // Line 2 of a.txt needs more backtracking than a line may take: the
    // search names the file and line, leaves the rest of that file (line 3
    // is not searched) and goes on with b.txt.
    qmtest::TempDir tree{"qmfif"};
    const std::string hard(62, 'a');
    const std::wstring a = TreeFile(tree, L"a.txt", "aac\r\n" + hard + "\r\naac\r\n");
    const std::wstring b = TreeFile(tree, L"b.txt", "xaac\r\n");
    const std::wstring pattern = L"\\(a\\).*.*.*.*.*.*.*.*\\1c";
    const std::vector<std::wstring> expected = Calls({
        {Msg(L"Find all \"" + pattern + L"\", Case sensitive Regular Expressions  \"*.txt\"")},
        RegexFileHeader(a),
        {Hit(a, 1, 0, L"aac\r\n"),
         Msg(L"Error: " + a + L"(2): pattern too complex for this line, the rest of the file was not searched\r\n")},
        RegexFileHeader(b),
        {Hit(b, 1, 1, L"xaac\r\n"), Msg(Summary(2, 2, 4)), Fin()},
    });
    EXPECT_EQ(expected, RunSearch(pattern, L"*.txt", tree.WidePath(), 0, 1, 0, 1));
}

// ---------------------------------------------------------------------------
// The object's life: refusals, stopping, cleaning up, searching again.

TEST(Engine, RefusesWithoutAnyCallback)
{
    qmtest::TempDir tree{"qmfif"};
    TreeFile(tree, L"a.txt", "needle");
    const std::wstring limit(CFindInFiles::MaxArgumentLength, L'n');
    const std::wstring over(CFindInFiles::MaxArgumentLength + 1, L'n');
    struct Case {
        std::wstring text, masks, folder;
        bool withSink;
        int result;
    } cases[] = {
        {L"", L"*.txt", tree.WidePath(), true, 0},
        {over, L"*.txt", tree.WidePath(), true, 0},
        {L"needle", over, tree.WidePath(), true, 0},
        {L"needle", L"*.txt", tree.WidePath() + L"\\" + over, true, 0},
        {L"needle", L"*.txt", tree.WidePath(), false, 0},
        {limit, L"*.txt", tree.WidePath(), true, 1},
        {L"needle", L"*.txt;" + std::wstring(CFindInFiles::MaxArgumentLength - 6, L';'), tree.WidePath(), true, 1},
    };
    for (const Case& c : cases) {
        RecordingSink sink;
        CFindInFiles engine;
        EXPECT_EQ(c.result, engine.Find(c.text.c_str(), c.masks.c_str(), c.folder.c_str(), 1, 0, 0, 0,
                                        c.withSink ? &sink : nullptr))
            << "case " << (&c - cases);
        if (c.result) {
            EXPECT_TRUE(sink.Wait());
            EXPECT_EQ(Fin(), sink.Calls().back());
        } else {
            EXPECT_FALSE(sink.Wait(200));
            EXPECT_TRUE(sink.Calls().empty());
        }
        engine.Cleanup();
    }
}

TEST(Engine, StopSearchEndsBetweenFiles)
{
    qmtest::TempDir tree{"qmfif"};
    const std::wstring first = TreeFile(tree, L"1.txt", "needle\nneedle\n");
    for (int i = 2; i <= 9; ++i)
        TreeFile(tree, std::to_wstring(i) + L".txt", "needle\n");
    RecordingSink sink;
    CFindInFiles engine;
    HANDLE inFirstFile = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE stopped = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    sink.onMatch = [&](const wchar_t*, int line, int, const wchar_t*) {
        if (line == 1) {
            SetEvent(inFirstFile);
            WaitForSingleObject(stopped, 30000); // the owner stops us here
        }
    };
    ASSERT_EQ(1, engine.Find(L"needle", L"*.txt", tree.WidePath().c_str(), 0, 0, 0, 0, &sink));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(inFirstFile, 30000));
    engine.StopSearch();
    SetEvent(stopped);
    ASSERT_TRUE(sink.Wait());
    // The file being searched is finished; no other file is opened.
    const std::vector<std::wstring> expected = {
        Msg(L"Find all \"needle\",  \"*.txt\""),
        Hit(first, 1, 0, L"needle\n"),
        Hit(first, 2, 0, L"needle\n"),
        Msg(Summary(2, 1, 3)),
        Fin(),
    };
    EXPECT_EQ(expected, sink.Calls());
    engine.Cleanup();
    CloseHandle(inFirstFile);
    CloseHandle(stopped);
}

TEST(Engine, StopSearchEndsALineThatRunsLong)
{
    // Six hundred repetitions over a line of four million characters keep
    // the worker busy for a long while: StopSearch ends it inside that line,
    // and the rest of the file and every later file stay unsearched.
    qmtest::TempDir tree{"qmfif"};
    const std::wstring first = TreeFile(tree, L"1.txt", "ad\n" + std::string(4000000, 'a') + "d\nad\n");
    TreeFile(tree, L"2.txt", "ad\n");
    RecordingSink sink;
    CFindInFiles engine;
    HANDLE inFirstFile = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    sink.onMatch = [&](const wchar_t*, int, int, const wchar_t*) { SetEvent(inFirstFile); };
    std::wstring pattern = L"a";
    for (int i = 0; i < 600; ++i)
        pattern += L".*";
    pattern += L"d";
    ASSERT_EQ(1, engine.Find(pattern.c_str(), L"*.txt", tree.WidePath().c_str(), 0, 1, 0, 1, &sink));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(inFirstFile, 30000));
    Sleep(200); // the worker is in line 2 now
    engine.StopSearch();
    ASSERT_TRUE(sink.Wait(30000)) << "the worker did not leave the line";
    const std::vector<std::wstring> calls = sink.Calls();
    ASSERT_GE(calls.size(), 3u);
    const std::vector<std::wstring> hits = {Hit(first, 1, 0, L"ad\n")};
    EXPECT_EQ(hits, sink.Hits()) << "nothing after the stop";
    EXPECT_EQ(Msg(Summary(1, 1, 3)), calls[calls.size() - 2]);
    for (const std::wstring& c : calls)
        EXPECT_EQ(std::wstring::npos, c.find(L"too complex")) << "a stop is not a failure of the line";
    engine.Cleanup();
    CloseHandle(inFirstFile);
}

TEST(Engine, CleanupFromOnFinishedThenSearchAgain)
{
    // As the editor does: Cleanup as the last act of OnFinished; while the
    // worker runs, a second Find is refused and Cleanup frees nothing.
    qmtest::TempDir tree{"qmfif"};
    TreeFile(tree, L"a.txt", "needle\n");
    RecordingSink sink;
    CFindInFiles engine;
    HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    sink.onMessage = [&](const wchar_t* text) {
        if (wcsncmp(text, L"Find all", 8) == 0)
            WaitForSingleObject(gate, 30000);
    };
    sink.onFinished = [&]() { engine.Cleanup(); };
    ASSERT_EQ(1, engine.Find(L"needle", L"*.txt", tree.WidePath().c_str(), 0, 0, 0, 0, &sink));
    EXPECT_EQ(0, engine.Find(L"other", L"*.txt", tree.WidePath().c_str(), 0, 0, 0, 0, &sink));
    engine.Cleanup(); // refused while the worker runs: it still reads the texts
    SetEvent(gate);
    ASSERT_TRUE(sink.Wait());
    const std::vector<std::wstring> first = sink.Calls();
    ASSERT_EQ(4u, first.size());

    for (int round = 0; round < 20; ++round) {
        sink.Reset();
        ASSERT_EQ(1, engine.Find(L"needle", L"*.txt", tree.WidePath().c_str(), 0, 0, 0, 0, &sink)) << round;
        ASSERT_TRUE(sink.Wait());
        EXPECT_EQ(first, sink.Calls());
    }
    // Give the last worker a moment to leave, then the object can go.
    CloseHandle(gate);
}

TEST(Engine, CopiesCarryTheTextsNotTheWorker)
{
    qmtest::TempDir tree{"qmfif"};
    TreeFile(tree, L"a.txt", "needle\n");
    RecordingSink sink;
    CFindInFiles engine;
    ASSERT_EQ(1, engine.Find(L"needle", L"*.txt", tree.WidePath().c_str(), 0, 0, 0, 0, &sink));
    ASSERT_TRUE(sink.Wait());
    CFindInFiles copy(engine);
    CFindInFiles assigned;
    assigned = engine;
    engine.Cleanup();
    copy.Cleanup();
    assigned.Cleanup(); // three separate sets of buffers: no double free
    SUCCEED();
}

TEST(Engine, ExceptionsInTheSinkStopTheSearch)
{
    qmtest::TempDir tree{"qmfif"};
    TreeFile(tree, L"a.txt", "needle\n");
    TreeFile(tree, L"b.txt", "needle\n");
    RecordingSink sink;
    sink.onMatch = [](const wchar_t*, int, int, const wchar_t*) { throw 42; };
    CFindInFiles engine;
    ASSERT_EQ(1, engine.Find(L"needle", L"*.txt", tree.WidePath().c_str(), 0, 0, 0, 0, &sink));
    ASSERT_TRUE(sink.Wait());
    const std::vector<std::wstring> calls = sink.Calls();
    ASSERT_EQ(5u, calls.size());
    EXPECT_EQ(Msg(L"An error was encountered and the search has been stopped"), calls[2]);
    EXPECT_EQ(Msg(Summary(0, 0, 3)), calls[3]);
    EXPECT_EQ(Fin(), calls[4]);
    engine.Cleanup();
}

TEST(Engine, InitialiseAfterASearch)
{
    qmtest::TempDir tree{"qmfif"};
    TreeFile(tree, L"a.txt", "needle\n");
    RecordingSink sink;
    CFindInFiles engine;
    ASSERT_EQ(1, engine.Find(L"needle", L"*.txt", tree.WidePath().c_str(), 0, 0, 0, 0, &sink));
    ASSERT_TRUE(sink.Wait());
    engine.Initialise();
    sink.Reset();
    ASSERT_EQ(1, engine.Find(L"needle", L"*.txt", tree.WidePath().c_str(), 0, 0, 0, 0, &sink));
    ASSERT_TRUE(sink.Wait());
    EXPECT_EQ(Msg(Summary(1, 1, 3)), sink.Calls()[2]);
    engine.Cleanup();
}

} // namespace
