// The three encoding detectors side by side. Find in files, the compare
// window and the editor each decide a file's encoding by their own rules;
// this table pins where they agree and the differences each one intends:
//   - the editor takes no odd-sized file as UTF-16 (a mark or zero bytes in
//     one lane give ANSI), so no byte is lost through its converters;
//   - find in files tests UTF-8 to the end of what it read, and lets a
//     sequence cut by the end of its test window pass unless the window is
//     the whole file;
//   - the compare window and the editor leave the last bytes of the head out
//     of the UTF-8 test and need more than six bytes to call a file UTF-8;
//   - only the editor calls a file binary (no encoding found, a NUL byte),
//     and it takes a head made mostly of NUL characters for binary, not for
//     UTF-16.
#include "encoding_codes.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using corestest::EditorCodeOfFindInFiles;
using corestest::EncodingName;

namespace {

struct DetectorsCase {
    const char* name;
    std::string head;        // the first bytes of the file (at most 1024)
    long long fileSize;      // -1: the head is the whole file
    const char* findInFiles; // "<encoding>/<mark length>"
    const char* compare;
    const char* editor; // with "+binary" when the editor calls it binary
};

void PrintTo(const DetectorsCase& c, std::ostream* os) { *os << c.name; }

std::string Result(const char* name, int mark) { return std::string(name) + "/" + std::to_string(mark); }

class Detectors : public ::testing::TestWithParam<DetectorsCase> {};

TEST_P(Detectors, AgreeOrDifferAsIntended)
{
    const DetectorsCase& c = GetParam();
    const auto* head = reinterpret_cast<const unsigned char*>(c.head.data());
    const size_t n = c.head.size();

    int mark = -1;
    const int fif = filescan::CEncodingDetector::Detect(head, n, c.fileSize < 0, &mark);
    EXPECT_EQ(Result(EncodingName(EditorCodeOfFindInFiles(fif)).c_str(), mark), c.findInFiles) << "find in files";

    const pairview::Encoding cmp = pairview::DetectEncoding(head, n);
    EXPECT_EQ(Result(EncodingName(cmp.code).c_str(), cmp.markLength), c.compare) << "compare";

    int code = -1;
    int editorMark = -1;
    const bool binary = DetectFileHead(head, static_cast<int>(n), c.fileSize < 0 ? static_cast<long long>(n) : c.fileSize,
                                       code, editorMark);
    EXPECT_EQ(Result(EncodingName(code).c_str(), editorMark) + (binary ? "+binary" : ""), c.editor) << "editor";
}

std::string Bytes(const char* s, size_t n) { return std::string(s, n); }
std::string Times(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

const DetectorsCase kCases[] = {
    // Where all three agree: the marks, empty files, plain text.
    {"empty", "", -1, "ANSI/0", "ANSI/0", "ANSI/0"},
    {"one letter", "a", -1, "ANSI/0", "ANSI/0", "ANSI/0"},
    {"plain ASCII", "hello world\r\n", -1, "ANSI/0", "ANSI/0", "ANSI/0"},
    {"UTF-8 mark", "\xEF\xBB\xBFtext", -1, "UTF-8/3", "UTF-8/3", "UTF-8/3"},
    {"UTF-8 mark cut short", "\xEF\xBB", -1, "ANSI/0", "ANSI/0", "ANSI/0"},
    {"UTF-16LE mark", Bytes("\xFF\xFEh\0i\0", 6), -1, "UTF-16LE/2", "UTF-16LE/2", "UTF-16LE/2"},
    {"UTF-16BE mark", Bytes("\xFE\xFF\0h\0i", 6), -1, "UTF-16BE/2", "UTF-16BE/2", "UTF-16BE/2"},
    {"UTF-32LE mark", Bytes("\xFF\xFE\0\0h\0\0\0", 8), -1, "UTF-32LE/4", "UTF-32LE/4", "UTF-32LE/4"},
    {"UTF-32BE mark", Bytes("\0\0\xFE\xFF\0\0\0h", 8), -1, "UTF-32BE/4", "UTF-32BE/4", "UTF-32BE/4"},
    {"SCSU mark", "\x0E\xFE\xFFtext", -1, "SCSU/3", "SCSU/3", "SCSU/3"},
    {"BOCU-1 mark", "\xFB\xEE\x28text", -1, "BOCU-1/3", "BOCU-1/3", "BOCU-1/3"},
    {"UTF-7 long mark", "+/v8-text", -1, "UTF-7/5", "UTF-7/5", "UTF-7/5"},
    {"UTF-7 short mark", "+/v9text", -1, "UTF-7/4", "UTF-7/4", "UTF-7/4"},
    {"UTF-7 mark without its fourth byte", "+/vx", -1, "ANSI/0", "ANSI/0", "ANSI/0"},
    {"UTF-EBCDIC mark", "\xDD\x73\x66\x73text", -1, "UTF-EBCDIC/4", "UTF-EBCDIC/4", "UTF-EBCDIC/4"},
    {"UTF-16LE without mark", Bytes("h\0e\0l\0l\0o\0", 10), -1, "UTF-16LE/0", "UTF-16LE/0", "UTF-16LE/0"},
    {"UTF-16BE without mark", Bytes("\0h\0e\0l\0l\0o", 10), -1, "UTF-16BE/0", "UTF-16BE/0", "UTF-16BE/0"},
    {"UTF-8 letters early", "caf\xC3\xA9 au lait\n", -1, "UTF-8/0", "UTF-8/0", "UTF-8/0"},
    {"overlong UTF-8", "abc \xC0\xAF and more text", -1, "ANSI/0", "ANSI/0", "ANSI/0"},
    {"UTF-8 surrogate", "abc \xED\xA0\x80 and more text", -1, "ANSI/0", "ANSI/0", "ANSI/0"},
    {"Latin-1 letters", "caf\xE9 au lait\n", -1, "ANSI/0", "ANSI/0", "ANSI/0"},

    // The editor takes no odd-sized file as UTF-16.
    {"UTF-16LE mark, odd size", Bytes("\xFF\xFEh\0i", 5), -1, "UTF-16LE/2", "UTF-16LE/2", "ANSI/0+binary"},
    {"UTF-16BE mark, odd size", Bytes("\xFE\xFF\0h\0", 5), -1, "UTF-16BE/2", "UTF-16BE/2", "ANSI/0+binary"},
    {"UTF-16LE without mark, odd size", Bytes("h\0e\0l", 5), -1, "UTF-16LE/0", "UTF-16LE/0", "ANSI/0+binary"},
    {"odd-sized file with an even head", Bytes("h\0e\0", 4), 1001, "UTF-16LE/0", "UTF-16LE/0", "ANSI/0+binary"},

    // UTF-8 near the end of the head, and short files.
    {"UTF-8 letter in the last bytes", "abcdefgh\xC3\xA9", -1, "UTF-8/0", "ANSI/0", "ANSI/0"},
    {"UTF-8 letter alone", "\xC3\xA9", -1, "UTF-8/0", "ANSI/0", "ANSI/0"},
    {"short UTF-8 word", "d\xC3\xA9j\xC3\xA0", -1, "UTF-8/0", "ANSI/0", "ANSI/0"},
    {"UTF-8 cut by the end of the file", "caf\xC3\xA9 au lait \xE2\x82", -1, "ANSI/0", "UTF-8/0", "UTF-8/0"},
    {"UTF-8 cut by the end of the head", Times("caf\xC3\xA9 ", 169) + "au l\xE2\x82", 5000, "UTF-8/0", "UTF-8/0",
     "UTF-8/0"},

    // Only the editor calls a file binary, and a head mostly of NUL
    // characters is binary to it rather than UTF-16.
    {"two zero bytes", Bytes("\0\0", 2), -1, "UTF-16LE/0", "UTF-16LE/0", "ANSI/0+binary"},
    {"a run of NUL bytes", std::string(64, '\0'), -1, "UTF-16LE/0", "UTF-16LE/0", "ANSI/0+binary"},
    {"UTF-16 text with a NUL character", Bytes("a\0\0\0b\0c\0", 8), -1, "UTF-16LE/0", "UTF-16LE/0", "UTF-16LE/0"},
    {"NUL in text", Bytes("ab\0cd", 5), -1, "ANSI/0", "ANSI/0", "ANSI/0+binary"},
    {"NUL after a UTF-8 letter", Bytes("caf\xC3\xA9\0 au lait", 14), -1, "UTF-8/0", "UTF-8/0", "UTF-8/0"},
};

INSTANTIATE_TEST_SUITE_P(Table, Detectors, ::testing::ValuesIn(kCases));

} // namespace
