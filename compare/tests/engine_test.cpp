// The compare engine against golden result files: every case writes two
// small files, compares them and checks the result file byte for byte.
#include "compare_cases.h"
#include "compare_engine.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <fx/codepage.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

using pairview::CompareStatus;
using pairview::CompareToResultFile;
using pairview_test::Exists;
using pairview_test::GoldenCase;
using pairview_test::GoldenCases;
using pairview_test::RandomEditedPair;
using pairview_test::ReadBytes;
using pairview_test::RebuildSides;
using pairview_test::Rebuilt;
using pairview_test::WriteBytes;

namespace {

class GoldenResult : public ::testing::TestWithParam<GoldenCase> {
};

TEST_P(GoldenResult, ResultFileMatchesByteForByte)
{
    const GoldenCase& c = GetParam();
    qmtest::TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.Path("first.txt"), c.first));
    ASSERT_TRUE(WriteBytes(dir.Path("second.txt"), c.second));
    ASSERT_EQ(CompareToResultFile((dir.Path("first.txt")).c_str(), (dir.Path("second.txt")).c_str(),
                                  (dir.Path("result.txt")).c_str()),
              CompareStatus::Ok);
    EXPECT_EQ(ReadBytes(dir.Path("result.txt")), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, GoldenResult,
    ::testing::ValuesIn(GoldenCases()),
    [](const ::testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

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

// ANSI files hold letters of the system's legacy code page; the result file
// holds them in UTF-8, as it holds those of the Unicode files, so the same
// text in either encoding is common.
TEST(Engine, AnsiLettersComeFromTheLegacyCodePage)
{
    if (fx::LegacyAnsiCodePage() != 1252)
        GTEST_SKIP() << "platform limit: the system's ANSI code page is not 1252, the fixtures'";
    using namespace std::string_literals;
    const struct {
        const char* name;
        std::string first, second, expected;
    } cases[] = {
        {"ANSI against UTF-8", "caf\xE9\nna\xEFve\n", "caf\xC3\xA9\nnaive\n",
         "    caf\xC3\xA9\n <! na\xC3\xAFve\n !> naive\n"},
        {"ANSI against UTF-16", "\x80 5\n", "\xFF\xFE\xAC\x20 \x00"
                                            "5\x00\n\x00"s,
         "    \xE2\x82\xAC 5\n"},
        {"ANSI against ANSI", "\xC0\xE0\n", "\xC0\xE1\n", " <! \xC3\x80\xC3\xA0\n !> \xC3\x80\xC3\xA1\n"},
        {"NUL in ANSI", "\xE9\0x\n"s, "\xE9.x\n", "    \xC3\xA9.x\n"},
        {"ASCII only", "plain\n", "plain\n", "    plain\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qmtest::TempDir dir;
        ASSERT_TRUE(WriteBytes(dir.Path("first.txt"), c.first));
        ASSERT_TRUE(WriteBytes(dir.Path("second.txt"), c.second));
        ASSERT_EQ(CompareToResultFile(dir.Path("first.txt").c_str(), dir.Path("second.txt").c_str(),
                                      dir.Path("result.txt").c_str()),
                  CompareStatus::Ok);
        EXPECT_EQ(ReadBytes(dir.Path("result.txt")), c.expected);
    }
}

TEST(Engine, MissingSidesGiveAnEmptyResultFile)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.Path("present.txt"), "a\nb\n"));
    const std::string present = dir.Path("present.txt"), missing = dir.Path("nothing-here.txt");
    struct Case {
        std::string first, second;
    } cases[] = {{present, missing}, {missing, present}, {missing, missing}};
    for (const Case& c : cases) {
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
    for (const std::string& result : bad)
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

    EXPECT_EQ(pairview::BuildDirList((dir.Path("left")).c_str()), dir.Path("left\\A.txt"));
    EXPECT_EQ(pairview::BuildDirList((dir.Path("right")).c_str()), dir.Path("right\\alpha\\deeper\\d.txt"));
    EXPECT_EQ(pairview::BuildDirList((dir.Path("empty")).c_str()), "");

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
    EXPECT_EQ(marked, 10); // five lines changed: each shown once per side
}

TEST(Engine, RandomEditsRebuildBothFilesFromTheResult)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        const auto [first, second] = RandomEditedPair(seed);
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

} // namespace
