// Encoding detection and line decoding of the files a compare reads.
#include "compare_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using pairview::DecodeLines;
using pairview::DetectEncoding;
using pairview::Encoding;
using pairview::MemoryBudget;
using pairview::TextLines;

namespace {

struct DetectCase {
    const char* name;
    std::string head;
    int code;
    int markLength;
};

std::ostream& operator<<(std::ostream& os, const DetectCase& c) { return os << c.name; }

class Detection : public ::testing::TestWithParam<DetectCase> {
};

TEST_P(Detection, PicksCodeAndMark)
{
    const DetectCase& c = GetParam();
    Encoding e = DetectEncoding(reinterpret_cast<const unsigned char*>(c.head.data()), c.head.size());
    EXPECT_EQ(e.code, c.code);
    EXPECT_EQ(e.markLength, c.markLength);
}

std::string Bytes(std::initializer_list<int> b)
{
    std::string s;
    for (int x : b)
        s += static_cast<char>(x);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Reader, Detection,
    ::testing::Values(
        DetectCase{"utf16be_mark", Bytes({0xFE, 0xFF, 0, 'a'}), pairview::kUtf16BE, 2},
        DetectCase{"utf16le_mark", Bytes({0xFF, 0xFE, 'a', 0}), pairview::kUtf16LE, 2},
        DetectCase{"utf32le_mark", Bytes({0xFF, 0xFE, 0, 0, 'a', 0, 0, 0}), pairview::kUtf32LE, 4},
        DetectCase{"utf8_mark", Bytes({0xEF, 0xBB, 0xBF, 'a'}), pairview::kUtf8, 3},
        DetectCase{"utf32be_mark", Bytes({0, 0, 0xFE, 0xFF, 0, 0, 0, 'a'}), pairview::kUtf32BE, 4},
        DetectCase{"scsu_mark", Bytes({0x0E, 0xFE, 0xFF, 'a'}), pairview::kScsu, 3},
        DetectCase{"bocu1_mark", Bytes({0xFB, 0xEE, 0x28, 'a'}), pairview::kBocu1, 3},
        DetectCase{"utf7_long_mark", Bytes({0x2B, 0x2F, 0x76, 0x38, 0x2D, 'a'}), pairview::kUtf7, 5},
        DetectCase{"utf7_short_mark", Bytes({0x2B, 0x2F, 0x76, 0x39, 'a'}), pairview::kUtf7, 4},
        DetectCase{"utf_ebcdic_mark", Bytes({0xDD, 0x73, 0x66, 0x73, 'a'}), pairview::kUtfEbcdic, 4},
        DetectCase{"plus_slash_v_without_fourth_byte_is_text", "+/v", pairview::kAnsi, 0},
        DetectCase{"utf16le_content", std::string("a\0b\0\n\0", 6), pairview::kUtf16LE, 0},
        DetectCase{"utf16be_content", std::string("\0a\0b\0\n", 6), pairview::kUtf16BE, 0},
        DetectCase{"one_byte_is_not_utf16", "x", pairview::kAnsi, 0},
        DetectCase{"utf8_content", "caf\xC3\xA9 au lait\n", pairview::kUtf8, 0},
        DetectCase{"pure_ascii_is_ansi", "plain ascii text\n", pairview::kAnsi, 0},
        DetectCase{"latin1_is_ansi", "caf\xE9 au lait\n", pairview::kAnsi, 0},
        DetectCase{"overlong_utf8_is_ansi", "ab\xC0\xAF"
                                            "cdefgh\n",
                   pairview::kAnsi, 0},
        DetectCase{"surrogate_in_utf8_is_ansi", "ab\xED\xA0\x80"
                                                "cdefgh\n",
                   pairview::kAnsi, 0},
        DetectCase{"too_short_for_utf8_test", "\xC3\xA9"
                                              "ab",
                   pairview::kAnsi, 0}),
    [](const ::testing::TestParamInfo<DetectCase>& info) { return std::string(info.param.name); });

std::vector<std::string> Decode(const std::string& bytes)
{
    MemoryBudget budget(1u << 30);
    TextLines lines(budget);
    DecodeLines(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), lines);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < lines.count(); ++i)
        out.emplace_back(lines.line(i));
    return out;
}

using Lines = std::vector<std::string>;

TEST(Reader, ByteFilesSplitAfterEachLineFeed)
{
    EXPECT_EQ(Decode(""), Lines{});
    EXPECT_EQ(Decode("a\r\nb\nc"), (Lines{"a\r\n", "b\n", "c"}));
    EXPECT_EQ(Decode("\n\n"), (Lines{"\n", "\n"}));
    EXPECT_EQ(Decode("lone\rcarriage\n"), (Lines{"lone\rcarriage\n"}));
    // A long line stays one line.
    std::string longLine(5000, 'x');
    EXPECT_EQ(Decode(longLine + "\nend\n"), (Lines{longLine + "\n", "end\n"}));
}

TEST(Reader, Utf16IsReadInUnits)
{
    // FF FE mark, then U+010A ("0A 01"), "\n" ("0A 00"), "b", a lone NUL unit.
    EXPECT_EQ(Decode(Bytes({0xFF, 0xFE, 0x0A, 0x01, 0x0A, 0x00, 'b', 0, 0, 0})),
              (Lines{"\xC4\x8A\n", "b."}));
    // Big-endian, a surrogate pair and an unpaired low surrogate.
    EXPECT_EQ(Decode(Bytes({0xFE, 0xFF, 0xD8, 0x3D, 0xDE, 0x00, 0x00, 0x0A, 0xDC, 0x00})),
              (Lines{"\xF0\x9F\x98\x80\n", "\xEF\xBF\xBD"}));
    // An odd byte at the end reads as a replacement character.
    EXPECT_EQ(Decode(Bytes({0xFF, 0xFE, 'a', 0, 0x0A, 0, 'z'})), (Lines{"a\n", "\xEF\xBF\xBD"}));
    // A high surrogate at the very end.
    EXPECT_EQ(Decode(Bytes({0xFF, 0xFE, 'a', 0, 0x3D, 0xD8})), (Lines{"a\xEF\xBF\xBD"}));
}

TEST(Reader, Utf32IsDecoded)
{
    EXPECT_EQ(Decode(Bytes({0xFF, 0xFE, 0, 0, 0xAC, 0x20, 0, 0, 0x0A, 0, 0, 0, 0x00, 0x00, 0x11, 0x00})),
              (Lines{"\xE2\x82\xAC\n", "\xEF\xBF\xBD"}));
    EXPECT_EQ(Decode(Bytes({0, 0, 0xFE, 0xFF, 0, 0x01, 0xF6, 0x00, 0, 0, 0, 0x0A})), (Lines{"\xF0\x9F\x98\x80\n"}));
}

TEST(Reader, MarkIsSkippedOnceAndRareEncodingsStayBytes)
{
    EXPECT_EQ(Decode("\xEF\xBB\xBF\xEF\xBB\xBFx\n"), (Lines{"\xEF\xBB\xBFx\n"}));
    EXPECT_EQ(Decode("+/v8-abc\n"), (Lines{"abc\n"}));
}

} // namespace
