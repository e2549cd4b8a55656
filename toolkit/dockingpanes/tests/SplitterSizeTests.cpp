// The splitter size pass and the distribution of space, as tables.
#include <qx/splittercontainer.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Child {
    int weight;
    int min;
    int max;
    bool client;
};

struct SizeCase {
    const char* name;
    std::vector<Child> children;
    int extent;
    int splitter;
    std::vector<int> expected;
};

std::vector<int> RunCase(const SizeCase& c)
{
    std::vector<SplitterSizeItem> items;
    for (const Child& ch : c.children) {
        SplitterSizeItem it;
        it.nLength = ch.weight;
        it.nMin = ch.min;
        it.nMax = ch.max;
        it.bClient = ch.client;
        items.push_back(it);
    }
    SplitterSizeResult res = SplitterSizePass(items, c.extent, c.splitter);
    return SplitterDistribute(items, res, c.extent, c.splitter);
}

const int M = 32000;

class SplitterSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SplitterSizes, DistributesTheExtent)
{
    const SizeCase& c = GetParam();
    std::vector<int> got = RunCase(c);
    EXPECT_EQ(c.expected, got) << c.name;
    // Whatever the limits, the bands and bars never pass the far edge.
    int sum = 0;
    for (int v : got) {
        EXPECT_GE(v, 0) << c.name;
        sum += v;
    }
    if (c.extent >= (int)(got.size() - 1) * c.splitter) {
        EXPECT_EQ(c.extent, sum + (int)(got.size() - 1) * c.splitter) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitterSizes,
    ::testing::Values(
        SizeCase{"weights share the space", {{100, 0, M, false}, {300, 0, M, false}}, 404, 4, {100, 300}},
        SizeCase{"resize keeps the proportions", {{100, 0, M, false}, {300, 0, M, false}}, 804, 4, {200, 600}},
        SizeCase{"a minimum above the share is kept", {{100, 0, M, false}, {100, 300, M, false}}, 404, 4, {100, 300}},
        SizeCase{"minima beyond the space: last fixed shortened",
                 {{100, 300, M, false}, {100, 300, M, false}},
                 404,
                 4,
                 {300, 100}},
        SizeCase{"a maximum below the share is kept", {{100, 0, 50, false}, {100, 0, M, false}}, 204, 4, {50, 150}},
        SizeCase{"the client absorbs the rest",
                 {{100, 0, M, false}, {999, 0, M, true}, {50, 0, M, false}},
                 408,
                 4,
                 {100, 250, 50}},
        SizeCase{"the client with its minimum", {{300, 0, M, false}, {0, 60, M, true}}, 304, 4, {240, 60}},
        SizeCase{"zero weights share equally", {{0, 0, M, false}, {0, 0, M, false}}, 204, 4, {100, 100}},
        SizeCase{"zero extent", {{100, 0, M, false}, {100, 0, M, false}}, 0, 4, {0, 0}},
        SizeCase{"smaller than the splitters", {{100, 0, M, false}, {100, 0, M, false}, {1, 0, M, false}}, 6, 4, {0, 0, 0}},
        SizeCase{"a single child fills", {{10, 0, M, false}}, 100, 4, {100}},
        SizeCase{"rounding goes to the later children",
                 {{1, 0, M, false}, {1, 0, M, false}, {1, 0, M, false}},
                 108,
                 4,
                 {33, 33, 34}},
        SizeCase{"huge weights are clamped first", {{1000000000, 0, M, false}, {1000000000, 0, M, false}}, 1004, 4, {500, 500}},
        SizeCase{"negative weights count as the minimum", {{-50, 10, M, false}, {90, 0, M, false}}, 104, 4, {10, 90}}),
    [](const ::testing::TestParamInfo<SizeCase>& info) { return "Case" + std::to_string(info.index); });

TEST(SplitterSizePass, ReportsFixedChildrenAndTheClient)
{
    std::vector<SplitterSizeItem> items(3);
    items[0].nLength = 100;
    items[0].nMin = 150;
    items[1].nLength = 0;
    items[1].bClient = TRUE;
    items[2].nLength = 100;
    SplitterSizeResult res = SplitterSizePass(items, 208, 4);
    EXPECT_EQ(1, res.nClient);
    EXPECT_TRUE(items[0].bFixed);
    EXPECT_EQ(150, items[0].nLength);
    EXPECT_FALSE(items[2].bFixed);
}

} // namespace
