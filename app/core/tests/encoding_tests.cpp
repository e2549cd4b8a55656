// File-head detection: the detector table, binary content and files.
#include "coretest.h"
#include "encoding.h"

#include <vector>

using coretest::WriteBytes;

namespace {

struct HeadCase {
    const char* name;
    std::string head;
    long long fileSize; // -1: the head is the whole file
    int code;
    int mark;
    int binary;
};

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

void PrintTo(const HeadCase& c, std::ostream* os)
{
    *os << c.name;
}

const std::string kAscii = "plain ASCII text, line one\r\nline two\r\n";

} // namespace

class HeadDetection : public ::testing::TestWithParam<HeadCase> {};

TEST_P(HeadDetection, GivesCodeMarkAndBinaryFlag)
{
    const HeadCase& c = GetParam();
    FileHeadDetector detector;
    detector.DetectBuffer(reinterpret_cast<const BYTE*>(c.head.data()), (int)c.head.size(), c.fileSize);
    EXPECT_EQ(detector.GetCode(), c.code);
    EXPECT_EQ(detector.GetMarkLength(), c.mark);
    EXPECT_EQ(detector.IsBinary(), c.binary);
}

static const HeadCase kHeads[] = {
    // Marks.
    {"utf8_mark", "\xEF\xBB\xBFtext", -1, 0, 3, 0},
    {"utf16le_mark", std::string("\xFF\xFEt\0", 4), -1, 1, 2, 0},
    {"utf16be_mark", std::string("\xFE\xFF\0t", 4), -1, 2, 2, 0},
    {"utf32le_mark_beats_utf16", std::string("\xFF\xFE\0\0t\0\0\0", 8), -1, 5, 4, 0},
    {"utf32be_mark", std::string("\0\0\xFE\xFF\0\0\0t", 8), -1, 6, 4, 0},
    {"scsu_mark", "\x0E\xFE\xFF"
                  "abc",
     -1, 7, 3, 0},
    {"bocu1_mark", "\xFB\xEE\x28"
                   "abc",
     -1, 8, 3, 0},
    {"utf7_mark_38", "+/v8abc", -1, 9, 4, 0},
    {"utf7_mark_38_dash", "+/v8-abc", -1, 9, 5, 0},
    {"utf7_mark_39", "+/v9abc", -1, 9, 4, 0},
    {"utf7_mark_2B", "+/v+abc", -1, 9, 4, 0},
    {"utf7_mark_2F", "+/v/abc", -1, 9, 4, 0},
    {"utf7_prefix_without_fourth_byte", "+/vXabcdefgh", -1, 3, 0, 0},
    {"utfebcdic_mark", "\xDD\x73\x66\x73"
                       "abc",
     -1, 10, 4, 0},
    // A short file never matches part of a mark.
    {"one_byte_ef", "\xEF", -1, 3, 0, 0},
    {"two_bytes_of_utf8_mark", "\xEF\xBB", -1, 3, 0, 0},
    {"utf16le_mark_only", "\xFF\xFE", -1, 1, 2, 0},
    // Marked UTF-16 of odd size would lose its last byte: kept as bytes.
    {"utf16le_mark_odd_size", std::string("\xFF\xFEt\0x", 5), -1, 3, 0, 1},
    // The UTF-16 guess.
    {"utf16le_guess", std::string("a\0b\0c\0\r\0\n\0", 10), -1, 1, 0, 0},
    {"utf16be_guess", std::string("\0a\0b\0c\0\r\0\n", 10), -1, 2, 0, 0},
    {"utf16_guess_needs_even_file_size", std::string("a\0b\0c\0\r\0\n\0", 10), 1025, 3, 0, 1},
    {"utf16_guess_on_full_head", Repeat(std::string("x\0", 2), 512), 5000, 1, 0, 0},
    // Empty and one-byte files stay ANSI: their bytes survive.
    {"empty_file", "", -1, 3, 0, 0},
    {"one_byte_file", "A", -1, 3, 0, 0},
    {"one_nul_byte", std::string("\0", 1), -1, 3, 0, 1},
    // The UTF-8 scan.
    {"utf8_scan", "caf\xC3\xA9 and more plain text here", -1, 0, 0, 0},
    {"utf8_four_byte", "smile \xF0\x9F\x98\x80 after it", -1, 0, 0, 0},
    {"utf8_only_in_last_five_bytes", "plain ascii text caf\xC3\xA9", -1, 3, 0, 0},
    {"utf8_short_file", "\xC3\xA9", -1, 3, 0, 0},
    {"utf8_overlong_lead", "text \xC0\x80 and more text", -1, 3, 0, 0},
    {"utf8_surrogate_form", "text \xED\xA0\x80 and more text", -1, 3, 0, 0},
    {"utf8_above_f4", "text \xF5\x80\x80\x80 and more text", -1, 3, 0, 0},
    {"utf8_e0_too_low", "text \xE0\x80\x80 and more text", -1, 3, 0, 0},
    {"utf8_f4_too_high", "text \xF4\x90\x80\x80 and more text", -1, 3, 0, 0},
    {"utf8_five_byte_lead", "text \xF8\x88\x80\x80\x80 and more", -1, 3, 0, 0},
    {"ansi_latin1", "caf\xE9 cr\xE8me br\xFBl\xE9"
                    "e text",
     -1, 3, 0, 0},
    {"ascii", kAscii, -1, 3, 0, 0},
    {"ascii_long", Repeat(kAscii, 40).substr(0, 1024), 40 * (long long)kAscii.size(), 3, 0, 0},
    // Binary: no encoding found and a NUL among the bytes.
    {"binary_nul", std::string("text with one \0 NUL byte in it", 31), -1, 3, 0, 1},
    {"binary_after_ctrl_z", std::string("\x1A"
                                        "abc\0def",
                                        8),
     -1, 3, 0, 1},
    {"nul_in_utf16_is_not_binary", std::string("a\0\0\0b\0", 6), -1, 1, 0, 0},
    {"nul_in_utf16be_is_not_binary", std::string("\0a\0\0\0b", 6), -1, 2, 0, 0},
    // Runs of NUL bytes and binary records are no UTF-16 text, whatever
    // every other byte is.
    {"two_nul_bytes", std::string(2, '\0'), -1, 3, 0, 1},
    {"thousand_nul_bytes", std::string(1000, '\0'), -1, 3, 0, 1},
    {"nul_bytes_fill_the_head", std::string(1024, '\0'), 1 << 20, 3, 0, 1},
    {"as_many_nul_characters_as_others", std::string("a\0\0\0", 4), -1, 3, 0, 1},
    {"int32_records", Repeat(std::string("\x01\0\0\0\x02\0\0\0", 8), 16), -1, 3, 0, 1},
};

INSTANTIATE_TEST_SUITE_P(Table, HeadDetection, ::testing::ValuesIn(kHeads),
                         [](const ::testing::TestParamInfo<HeadCase>& info) { return std::string(info.param.name); });

TEST(HeadDetectionFiles, ReadsTheFileHead)
{
    qmtest::TempDir temp;
    // A missing file: 0, and the previous result is kept.
    FileHeadDetector detector;
    WriteBytes(temp.Path("u16.txt"), std::string("\xFE\xFF\0a", 4));
    ASSERT_EQ(detector.ReadFile((temp.Path("u16.txt")).c_str()), 1);
    EXPECT_EQ(detector.GetCode(), 2);
    EXPECT_EQ(detector.ReadFile((temp.Path("missing.txt")).c_str()), 0);
    EXPECT_EQ(detector.GetCode(), 2);
    EXPECT_EQ(detector.GetMarkLength(), 2);

    // The bytes on disk count, not a text-mode reading of them: a CR LF
    // pair does not shrink a UTF-16 head, and a 0x1A byte hides nothing.
    WriteBytes(temp.Path("crlf16.txt"), std::string("\r\0\n\0a\0\r\0\n\0b\0", 12));
    ASSERT_EQ(detector.ReadFile((temp.Path("crlf16.txt")).c_str()), 1);
    EXPECT_EQ(detector.GetCode(), 1);
    WriteBytes(temp.Path("bin.dat"), std::string("\x1A"
                                                 "abc\0\x01\x02",
                                                 7));
    ASSERT_EQ(detector.ReadFile((temp.Path("bin.dat")).c_str()), 1);
    EXPECT_TRUE(detector.IsBinary());

    // A file larger than the head: the size decides the UTF-16 guess.
    std::string big = Repeat(std::string("z\0", 2), 3000);
    WriteBytes(temp.Path("big.txt"), big);
    ASSERT_EQ(detector.ReadFile((temp.Path("big.txt")).c_str()), 1);
    EXPECT_EQ(detector.GetCode(), 1);
    WriteBytes(temp.Path("big-odd.txt"), big + "!");
    ASSERT_EQ(detector.ReadFile((temp.Path("big-odd.txt")).c_str()), 1);
    EXPECT_EQ(detector.GetCode(), 3);
    EXPECT_TRUE(detector.IsBinary());

    // An empty file.
    WriteBytes(temp.Path("empty.txt"), "");
    ASSERT_EQ(detector.ReadFile((temp.Path("empty.txt")).c_str()), 1);
    EXPECT_EQ(detector.GetCode(), 3);
    EXPECT_FALSE(detector.IsBinary());
}

TEST(EncodingMaps, OpenDialogChoiceAndLoadEncoding)
{
    const int detectModes[][2] = {{0, 3}, {1, 2}, {2, 2}, {3, 0}, {4, 0}, {-1, 0}, {9, 0}};
    for (const auto& m : detectModes)
        EXPECT_EQ(DetectModeForOpenEncoding(m[0]), m[1]) << m[0];

    // (detected code, mark) -> (load code, mark): the rare marks load as raw
    // bytes, so a save writes back exactly what was read.
    const int loads[][4] = {{0, 3, 0, 3}, {0, 0, 0, 0}, {1, 2, 1, 2}, {2, 0, 2, 0}, {3, 0, 3, 0}, {5, 4, 3, 0}, {6, 4, 3, 0}, {7, 3, 3, 0}, {9, 5, 3, 0}, {10, 4, 3, 0}};
    for (const auto& l : loads) {
        int code = l[0], mark = l[1];
        NormalizeLoadEncoding(code, mark);
        EXPECT_EQ(code, l[2]) << l[0];
        EXPECT_EQ(mark, l[3]) << l[0];
    }
}
