// The line compare without files: the golden cases and the random edits run
// through decoding, the compare and the rows in memory (the host build runs
// these under the sanitizers), and the memory budget ends a compare cleanly.
#include "compare_cases.h"
#include "compare_engine.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

using pairview_test::CompareInMemory;
using pairview_test::GoldenCase;

namespace {

class GoldenRows : public ::testing::TestWithParam<GoldenCase> {
};

TEST_P(GoldenRows, RowsInMemoryMatchTheResultFile)
{
    const GoldenCase& c = GetParam();
    EXPECT_EQ(CompareInMemory(c.first, c.second), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    LineCompare, GoldenRows, ::testing::ValuesIn(pairview_test::GoldenCases()),
    [](const ::testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

TEST(LineCompare, RandomEditsRebuildBothTextsFromTheRows)
{
    for (unsigned seed = 1; seed <= 60; ++seed) {
        const auto [first, second] = pairview_test::RandomEditedPair(seed);
        const std::string rows = CompareInMemory(first, second);
        const pairview_test::Rebuilt r = pairview_test::RebuildSides(rows);
        EXPECT_EQ(r.first, first) << "seed " << seed;
        EXPECT_EQ(r.second, second) << "seed " << seed;
        // Swapped sides give the same stretches with the sides' markers swapped.
        const pairview_test::Rebuilt swapped = pairview_test::RebuildSides(CompareInMemory(second, first));
        EXPECT_EQ(swapped.first, second) << "seed " << seed;
        EXPECT_EQ(swapped.second, first) << "seed " << seed;
    }
}

TEST(LineCompare, BudgetTooSmallThrowsAndABigEnoughOneCompares)
{
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "line number " + std::to_string(i) + "\n";
    for (std::size_t limit : {std::size_t(1), std::size_t(4096), text.size()})
        EXPECT_THROW(CompareInMemory(text, text + "tail\n", limit), std::bad_alloc) << limit;
    const std::string rows = CompareInMemory(text, text + "tail\n", text.size() * 20);
    EXPECT_EQ(rows.substr(rows.size() - 9), " !> tail\n");
}

} // namespace
