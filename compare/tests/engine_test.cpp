// The compare engine against golden result files: every case writes two
// small files, compares them and checks the result file byte for byte.
#include "compare_engine.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

using pairview::CompareStatus;
using pairview::CompareToResultFile;
using pairview_test::Exists;
using pairview_test::ReadBytes;
using pairview_test::WriteBytes;

namespace {

// UTF-16 encodings of an ASCII/Latin-1 text, for readable test tables.
std::string Utf16(const std::u16string &text, bool bigEndian, bool mark)
{
    std::string out;
    auto put = [&](char16_t u) {
        char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    if (mark)
        put(0xFEFF);
    for (char16_t u : text)
        put(u);
    return out;
}

struct GoldenCase
{
    const char *name;
    std::string first;
    std::string second;
    std::string expected;
};

std::ostream &operator<<(std::ostream &os, const GoldenCase &c) { return os << c.name; }

class GoldenResult : public ::testing::TestWithParam<GoldenCase>
{
};

TEST_P(GoldenResult, ResultFileMatchesByteForByte)
{
    const GoldenCase &c = GetParam();
    qmtest::TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.Path("first.txt"), c.first));
    ASSERT_TRUE(WriteBytes(dir.Path("second.txt"), c.second));
    ASSERT_EQ(CompareToResultFile((dir.Path("first.txt")).c_str(), (dir.Path("second.txt")).c_str(),
                                  (dir.Path("result.txt")).c_str()),
              CompareStatus::Ok);
    EXPECT_EQ(ReadBytes(dir.Path("result.txt")), c.expected);
}

const std::string kUtf8Text = "h\xC3\xA9llo\nw\xC3\xB6rld\n\xE2\x82\xAC 5\n";  // "héllo", "wörld", "€ 5"
const std::u16string kUtf16Text = u"h\u00E9llo\nw\u00F6rld\n\u20AC 5\n";

INSTANTIATE_TEST_SUITE_P(
    Engine, GoldenResult,
    ::testing::Values(
        GoldenCase{"identical", "a\nb\nc\n", "a\nb\nc\n", "    a\n    b\n    c\n"},
        GoldenCase{"inserted_in_second", "a\nb\nc\n", "a\nb\nX\nY\nc\n", "    a\n    b\n !> X\n !> Y\n    c\n"},
        GoldenCase{"deleted_from_first", "a\nb\nc\nd\n", "a\nd\n", "    a\n <! b\n <! c\n    d\n"},
        GoldenCase{"changed_line", "a\nb\nc\n", "a\nB\nc\n", "    a\n <! b\n !> B\n    c\n"},
        GoldenCase{"inserted_at_start_and_end", "m\nn\n", "0\nm\nn\n9\n", " !> 0\n    m\n    n\n !> 9\n"},
        GoldenCase{"moved_block_top_to_bottom", "m1\nm2\nx\ny\nz\nw\n", "x\ny\nz\nw\nm1\nm2\n",
                   " <- m1\n <- m2\n    x\n    y\n    z\n    w\n -> m1\n -> m2\n"},
        GoldenCase{"moved_block_bottom_to_top", "x\ny\nz\nw\nm1\nm2\n", "m1\nm2\nx\ny\nz\nw\n",
                   " -> m1\n -> m2\n    x\n    y\n    z\n    w\n <- m1\n <- m2\n"},
        // Repeated lines ("}") are linked by growing from the unique ones.
        GoldenCase{"repeated_lines", "f(){\n}\ng(){\n}\n", "f(){\n}\nh(){\n}\ng(){\n}\n",
                   "    f(){\n    }\n !> h(){\n !> }\n    g(){\n    }\n"},
        // No line is unique: the equal lines are linked in order; what then
        // stands alone on both sides links as moved.
        GoldenCase{"no_unique_lines", "a\nb\nc\na\nb\nc\n", "b\nc\na\nb\na\n",
                   " <- a\n    b\n    c\n    a\n    b\n <! c\n -> a\n"},
        GoldenCase{"crlf_against_lf", "a\r\nb\r\n", "a\nb\n", " <! a\r\n <! b\r\n !> a\n !> b\n"},
        GoldenCase{"utf8_mark_skipped_once", "\xEF\xBB\xBF" "abc\ndef\n", "abc\ndef\n", "    abc\n    def\n"},
        GoldenCase{"utf16le_with_mark_against_utf8", Utf16(kUtf16Text, false, true), kUtf8Text,
                   "    h\xC3\xA9llo\n    w\xC3\xB6rld\n    \xE2\x82\xAC 5\n"},
        GoldenCase{"utf16be_without_mark_against_utf8_with_mark", Utf16(u"plain\ntext\n", true, false),
                   "\xEF\xBB\xBFplain\ntext\n", "    plain\n    text\n"},
        GoldenCase{"utf16le_without_mark_against_utf16be_with_mark", Utf16(u"one\ntwo\n", false, false),
                   Utf16(u"one\ntwo\n", true, true), "    one\n    two\n"},
        // U+010A is 0A 01 in UTF-16LE: a 16-bit reader never splits it as a line feed.
        GoldenCase{"utf16_unit_with_0a_byte", Utf16(u"\u010Aab\ncd\n", false, true), "\xC4\x8A" "ab\ncd\n",
                   "    \xC4\x8A" "ab\n    cd\n"},
        GoldenCase{"utf16_surrogate_pair_against_utf8", Utf16(u"x\U0001F600y\n", false, true),
                   "x\xF0\x9F\x98\x80y\n", "    x\xF0\x9F\x98\x80y\n"},
        GoldenCase{"utf16_crlf_against_utf8_crlf", Utf16(u"a\r\nb\r\n", false, true), "a\r\nb\r\n",
                   "    a\r\n    b\r\n"},
        GoldenCase{"nul_bytes_read_as_dots", std::string("a\0b\nc\n", 6), "a.b\nc\n", "    a.b\n    c\n"},
        // A last line without line end still ends its row, so the next marker starts a row.
        GoldenCase{"last_line_without_line_end", "a\nb", "a\nc", "    a\n <! b\n !> c"},
        GoldenCase{"line_end_missing_on_one_side", "a\nb", "a\nb\n", "    a\n <! b\n !> b\n"},
        GoldenCase{"first_empty", "", "a\nb\n", " !> a\n !> b\n"},
        GoldenCase{"both_empty", "", "", ""},
        // Equal 32-bit hashes, different bytes: the lines are not common.
        GoldenCase{"hash_collision_is_not_common", "x\nline xiiknhlmahzq\ny\n", "x\nline nxgcsofurdbc\ny\n",
                   "    x\n <! line xiiknhlmahzq\n !> line nxgcsofurdbc\n    y\n"}),
    [](const ::testing::TestParamInfo<GoldenCase> &info) { return std::string(info.param.name); });

TEST(Engine, CollidingLinesReallyShareTheirHash)
{
    // Guards the collision case above: the two lines must keep colliding.
    EXPECT_EQ(pairview::LineHash("line xiiknhlmahzq\n"), pairview::LineHash("line nxgcsofurdbc\n"));
}

// A realistic source file whose function moved and whose body changed.
TEST(Engine, SourceFileGoldenFromDataFolder)
{
    const std::string data = std::string(QM_SOURCE_DIR) + "/compare/tests/data/";
    qmtest::TempDir dir;
    ASSERT_EQ(CompareToResultFile((data + "moved_first.c").c_str(), (data + "moved_second.c").c_str(),
                                  (dir.Path("result.txt")).c_str()),
              CompareStatus::Ok);
    std::string expected = ReadBytes(data + "moved_expected.txt");
    ASSERT_NE(expected, "<missing>");
    EXPECT_EQ(ReadBytes(dir.Path("result.txt")), expected);
}

TEST(Engine, MissingSidesGiveAnEmptyResultFile)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.Path("present.txt"), "a\nb\n"));
    const std::string present = dir.Path("present.txt"), missing = dir.Path("nothing-here.txt");
    struct Case {
        std::string first, second;
    } cases[] = {{present, missing}, {missing, present}, {missing, missing}};
    for (const Case &c : cases) {
        std::string result = dir.Path("result.txt");
        ASSERT_TRUE(WriteBytes(result, "old content"));
        EXPECT_EQ(CompareToResultFile(c.first.c_str(), c.second.c_str(), result.c_str()), CompareStatus::Ok);
        EXPECT_EQ(ReadBytes(result), "") << c.first << " / " << c.second;
    }
    EXPECT_EQ(CompareToResultFile(nullptr, present.c_str(), (dir.Path("r2.txt")).c_str()), CompareStatus::Ok);
    EXPECT_EQ(ReadBytes(dir.Path("r2.txt")), "");
}

TEST(Engine, FileThatCannotBeOpenedHasNoLines)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.Path("locked.txt"), "x\ny\n"));
    ASSERT_TRUE(WriteBytes(dir.Path("other.txt"), "x\nz\n"));
    // Held open without sharing: the engine cannot open it.
    HANDLE lock = CreateFileA((dir.Path("locked.txt")).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CompareToResultFile((dir.Path("locked.txt")).c_str(), (dir.Path("other.txt")).c_str(),
                                  (dir.Path("result.txt")).c_str()),
              CompareStatus::Ok);
    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(dir.Path("result.txt")), " !> x\n !> z\n");
}

TEST(Engine, ResultFileThatCannotBeCreatedIsAFailure)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.Path("a.txt"), "a\n"));
    const std::string a = dir.Path("a.txt");
    const std::string bad[] = {dir.Path("no-such-folder\\result.txt"), dir.Path(), ""};
    for (const std::string &result : bad)
        EXPECT_EQ(CompareToResultFile(a.c_str(), a.c_str(), result.c_str()), CompareStatus::ResultNotCreated)
            << result;
    EXPECT_EQ(CompareToResultFile(a.c_str(), a.c_str(), nullptr), CompareStatus::ResultNotCreated);
}

TEST(Engine, RunningOutOfMemoryFailsTheCompareAndLeavesTheResultAlone)
{
    qmtest::TempDir dir;
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "line number " + std::to_string(i) + "\n";
    ASSERT_TRUE(WriteBytes(dir.Path("a.txt"), text));
    ASSERT_TRUE(WriteBytes(dir.Path("b.txt"), text + "tail\n"));
    ASSERT_TRUE(WriteBytes(dir.Path("result.txt"), "previous"));
    pairview::CompareOptions tight;
    for (std::size_t limit : {std::size_t(1), std::size_t(4096), std::size_t(300000), text.size() * 2}) {
        tight.memoryLimit = limit;
        EXPECT_EQ(CompareToResultFile((dir.Path("a.txt")).c_str(), (dir.Path("b.txt")).c_str(), (dir.Path("result.txt")).c_str(),
                                      tight),
                  CompareStatus::OutOfMemory)
            << limit;
        EXPECT_EQ(ReadBytes(dir.Path("result.txt")), "previous");
    }
    // The same compare with room to work succeeds.
    EXPECT_EQ(CompareToResultFile((dir.Path("a.txt")).c_str(), (dir.Path("b.txt")).c_str(), (dir.Path("result.txt")).c_str()),
              CompareStatus::Ok);
    std::string result = ReadBytes(dir.Path("result.txt"));
    EXPECT_EQ(result.substr(result.size() - 9), " !> tail\n");
}

TEST(Engine, FoldersCompareTheirFirstFiles)
{
    qmtest::TempDir dir;
    // Files come before sub-folders, in order of their lower-cased names.
    ASSERT_TRUE(CreateDirectoryA((dir.Path("left")).c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(dir.Path("left\\b.txt"), "from b\n"));
    ASSERT_TRUE(WriteBytes(dir.Path("left\\A.txt"), "from A\n"));
    ASSERT_TRUE(CreateDirectoryA((dir.Path("left\\0sub")).c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(dir.Path("left\\0sub\\x.txt"), "from sub\n"));
    // No files of its own: the first sub-folder (by lower-cased name) that has one.
    ASSERT_TRUE(CreateDirectoryA((dir.Path("right")).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((dir.Path("right\\Zeta")).c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(dir.Path("right\\Zeta\\z.txt"), "from zeta\n"));
    ASSERT_TRUE(CreateDirectoryA((dir.Path("right\\alpha")).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((dir.Path("right\\alpha\\deeper")).c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(dir.Path("right\\alpha\\deeper\\d.txt"), "from A\n"));
    ASSERT_TRUE(CreateDirectoryA((dir.Path("empty")).c_str(), nullptr));

    EXPECT_EQ(pairview::FirstFileOf((dir.Path("left")).c_str()), dir.Path("left\\A.txt"));
    EXPECT_EQ(pairview::FirstFileOf((dir.Path("right")).c_str()), dir.Path("right\\alpha\\deeper\\d.txt"));
    EXPECT_EQ(pairview::FirstFileOf((dir.Path("empty")).c_str()), "");

    ASSERT_EQ(CompareToResultFile((dir.Path("left")).c_str(), (dir.Path("right")).c_str(), (dir.Path("result.txt")).c_str()),
              CompareStatus::Ok);
    EXPECT_EQ(ReadBytes(dir.Path("result.txt")), "    from A\n");
    ASSERT_EQ(CompareToResultFile((dir.Path("left")).c_str(), (dir.Path("empty")).c_str(), (dir.Path("result.txt")).c_str()),
              CompareStatus::Ok);
    EXPECT_EQ(ReadBytes(dir.Path("result.txt")), "");
}

// Files made of a few distinct lines have no unique line to anchor on; the
// changed lines must still be the only ones marked.
TEST(Engine, RepetitiveFilesMarkOnlyTheChangedLines)
{
    std::mt19937 rng(7);
    std::string first, second;
    for (int i = 0; i < 3000; ++i) {
        std::string line = "v" + std::to_string(rng() % 3) + "\n";
        first += line;
        second += i % 600 == 300 ? "changed " + std::to_string(i) + "\n" : line;
    }
    qmtest::TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.Path("a.txt"), first));
    ASSERT_TRUE(WriteBytes(dir.Path("b.txt"), second));
    ASSERT_EQ(CompareToResultFile((dir.Path("a.txt")).c_str(), (dir.Path("b.txt")).c_str(), (dir.Path("r.txt")).c_str()),
              CompareStatus::Ok);
    std::string result = ReadBytes(dir.Path("r.txt"));
    int marked = 0;
    for (std::size_t at = 0; at < result.size(); at = result.find('\n', at) + 1)
        marked += result.compare(at, 4, "    ") != 0;
    EXPECT_EQ(marked, 10);  // five lines changed: each shown once per side
}

// The rows of a result, read back per side, give both files again: every line
// of the first file appears once, in order, as common, only-first or moved
// from; every line of the second file likewise as common, only-second or
// moved to.
struct Rebuilt
{
    std::string first, second;
};

Rebuilt RebuildSides(const std::string &result)
{
    Rebuilt out;
    std::size_t at = 0;
    while (at < result.size()) {
        std::size_t nl = result.find('\n', at);
        std::size_t end = nl == std::string::npos ? result.size() : nl + 1;
        std::string marker = result.substr(at, 4), line = result.substr(at + 4, end - at - 4);
        if (marker == "    " || marker == " <! " || marker == " <- ")
            out.first += line;
        if (marker == "    " || marker == " !> " || marker == " -> ")
            out.second += line;
        at = end;
    }
    return out;
}

TEST(Engine, RandomEditsRebuildBothFilesFromTheResult)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        // Few distinct lines so that repeats and ambiguous matches are common.
        const int alphabet = seed % 3 == 0 ? 4 : seed % 3 == 1 ? 30 : 2000;
        std::vector<std::string> a;
        for (int i = 0, n = 200 + static_cast<int>(rng() % 300); i < n; ++i)
            a.push_back("l" + std::to_string(rng() % alphabet) + "\n");
        std::vector<std::string> b = a;
        for (int e = 0, edits = 1 + static_cast<int>(rng() % 25); e < edits; ++e) {
            std::size_t at = rng() % (b.size() + 1);
            switch (rng() % 4) {
            case 0: b.insert(b.begin() + at, "new" + std::to_string(rng() % 50) + "\n"); break;
            case 1:
                if (at < b.size())
                    b.erase(b.begin() + at);
                break;
            case 2:
                if (at < b.size())
                    b[at] = "changed" + std::to_string(rng() % 50) + "\n";
                break;
            default: {  // move a block
                std::size_t len = 1 + rng() % 20;
                if (at + len <= b.size()) {
                    std::vector<std::string> block(b.begin() + at, b.begin() + at + len);
                    b.erase(b.begin() + at, b.begin() + at + len);
                    std::size_t to = rng() % (b.size() + 1);
                    b.insert(b.begin() + to, block.begin(), block.end());
                }
            }
            }
        }
        std::string first, second;
        for (auto &l : a)
            first += l;
        for (auto &l : b)
            second += l;
        qmtest::TempDir dir;
        ASSERT_TRUE(WriteBytes(dir.Path("a.txt"), first));
        ASSERT_TRUE(WriteBytes(dir.Path("b.txt"), second));
        ASSERT_EQ(CompareToResultFile((dir.Path("a.txt")).c_str(), (dir.Path("b.txt")).c_str(), (dir.Path("r.txt")).c_str()),
                  CompareStatus::Ok);
        std::string result = ReadBytes(dir.Path("r.txt"));
        Rebuilt r = RebuildSides(result);
        EXPECT_EQ(r.first, first) << "seed " << seed;
        EXPECT_EQ(r.second, second) << "seed " << seed;
        if (first == second) {
            EXPECT_EQ(result.find(" <! "), std::string::npos);
        }
    }
}

}  // namespace
