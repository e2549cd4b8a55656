// Reads through the mapped reader that the compare window uses for its result
// file: any range inside the file comes back exactly, ranges past its end are
// refused, and the views slide over 64 KB boundaries.
#include "mapped_file.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using pairview::CMappedFile;
using pairview_test::WriteBytes;

namespace {

std::string Pattern(std::size_t n)
{
    std::string s(n, '\0');
    std::uint32_t x = 12345;
    for (auto& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    return s;
}

TEST(MappedFile, ReadsAnyRangeInsideTheFile)
{
    qmtest::TempDir dir;
    const std::string bytes = Pattern(0x4C123); // a few views and a ragged end
    ASSERT_TRUE(WriteBytes(dir.Path("data.bin"), bytes));
    const std::uint64_t size = bytes.size();
    struct Range {
        std::uint64_t offset, count;
    } ranges[] = {
        {0, 1},
        {0, 0x8000},
        {0xFFFF, 2},
        {0x7FFF, 0x10002},
        {0x10000, 0x8000},
        {0x17FFF, 0x10},
        {0x18000, 0x8001},
        {0x1FFFF, 0x20002},
        {0x30000, 0x1C123},
        {size - 1, 1},
        {3, size - 3},
        {0x25000, 0x100},
        {0, size},
        {0x12345, 0x39DDE},
    };
    // Smallest views (a new one every 64 KB) and the usual large ones.
    for (std::uint64_t span : {CMappedFile::kMinViewSpan, CMappedFile::kDefaultViewSpan}) {
        CMappedFile file(span);
        ASSERT_TRUE(file.open((dir.Path("data.bin")).c_str()));
        EXPECT_EQ(file.size(), size);
        for (const Range& r : ranges) {
            std::string out(static_cast<std::size_t>(r.count), '\0');
            ASSERT_TRUE(file.read(&out[0], r.offset, r.count))
                << std::hex << span << ": " << r.offset << "+" << r.count;
            EXPECT_TRUE(out == bytes.substr(static_cast<std::size_t>(r.offset), static_cast<std::size_t>(r.count)))
                << std::hex << span << ": " << r.offset << "+" << r.count;
        }
    }
}

TEST(MappedFile, RefusesRangesPastTheEnd)
{
    qmtest::TempDir dir;
    const std::string bytes = Pattern(0x20010);
    ASSERT_TRUE(WriteBytes(dir.Path("data.bin"), bytes));
    CMappedFile file(CMappedFile::kMinViewSpan);
    ASSERT_TRUE(file.open((dir.Path("data.bin")).c_str()));
    char sink[0x40] = {};
    const std::uint64_t size = bytes.size();
    EXPECT_FALSE(file.read(sink, size - 0x10, 0x11));
    EXPECT_FALSE(file.read(sink, size, 1));
    EXPECT_FALSE(file.read(sink, ~std::uint64_t(0) - 4, 8)); // offset + count would wrap
    EXPECT_TRUE(file.read(sink, size, 0));
    EXPECT_TRUE(file.read(sink, size - 0x10, 0x10));
}

TEST(MappedFile, EmptyAndMissingFiles)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.Path("empty.bin"), ""));
    CMappedFile file;
    ASSERT_TRUE(file.open((dir.Path("empty.bin")).c_str()));
    EXPECT_EQ(file.size(), 0u);
    char c;
    EXPECT_FALSE(file.read(&c, 0, 1));
    EXPECT_FALSE(file.open((dir.Path("missing.bin")).c_str()));
    EXPECT_FALSE(file.isOpen());
}

} // namespace
