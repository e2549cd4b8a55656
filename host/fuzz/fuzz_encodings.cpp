// Fuzzes the three encoding detectors and the compare window's decoder over
// any bytes: marks never longer than the bytes, the same mark read the same
// way by find in files and the compare window (the editor differs only where
// the detectors' table test pins it), and decoded lines that cover the text,
// each ending at a line feed, in well-formed UTF-8 for the Unicode encodings.
#include "fuzz_support.h"
#include "encoding_codes.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using fuzz::Require;

namespace {

void CheckLines(const pairview::TextLines& lines)
{
    const size_t count = lines.count();
    if (lines.starts.empty()) {
        Require(lines.text.empty());
        return;
    }
    Require(lines.starts.front() == 0 && lines.starts.back() == lines.text.size());
    for (size_t i = 0; i < count; ++i) {
        Require(lines.starts[i] < lines.starts[i + 1]);
        const std::string_view line = lines.line(i);
        const size_t feed = line.find('\n');
        Require(feed == std::string_view::npos ? i + 1 == count : feed == line.size() - 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t head = size < 1024 ? size : 1024;

    int fifMark = -1;
    const int fif = filescan::CEncodingDetector::Detect(data, head, head == size, &fifMark);
    Require(fifMark >= 0 && static_cast<size_t>(fifMark) <= head);

    const pairview::Encoding cmp = pairview::DetectEncoding(data, size);
    Require(cmp.markLength >= 0 && static_cast<size_t>(cmp.markLength) <= head);
    if (cmp.markLength > 0 || fifMark > 0) {
        Require(corestest::EditorCodeOfFindInFiles(fif) == cmp.code && fifMark == cmp.markLength);
    }

    int code = -1, mark = -1;
    const bool binary = DetectFileHead(data, static_cast<int>(head), static_cast<long long>(size), code, mark);
    Require(mark >= 0 && static_cast<size_t>(mark) <= head);
    Require(!binary || (code == ENC_ANSI && std::memchr(data, 0, head) != nullptr));
    // The editor reads a mark as the others do (its codes are the compare
    // window's numbers), except that it takes no odd-sized file as UTF-16.
    if (cmp.markLength > 0 && !((cmp.code == pairview::kUtf16LE || cmp.code == pairview::kUtf16BE) && size % 2))
        Require(code == cmp.code && mark == cmp.markLength);

    pairview::MemoryBudget budget(std::size_t(1) << 30);
    pairview::TextLines lines(budget);
    pairview::DecodeLines(data, size, lines);
    CheckLines(lines);
    const bool unicode = cmp.code == pairview::kUtf16LE || cmp.code == pairview::kUtf16BE ||
                         cmp.code == pairview::kUtf32LE || cmp.code == pairview::kUtf32BE;
    if (unicode) {
        Require(fuzz::WellFormedUtf8(lines.text.data(), lines.text.size()));
    } else {
        // Byte encodings keep the bytes after the mark, NUL read as '.'.
        Require(lines.text.size() == size - cmp.markLength);
        for (size_t i = 0; i < lines.text.size(); ++i) {
            const char c = static_cast<char>(data[cmp.markLength + i]);
            Require(lines.text[i] == (c == 0 ? '.' : c));
        }
    }
    // A whole file read from disk decodes the same.
    pairview::BudgetVector<char> raw(reinterpret_cast<const char*>(data), reinterpret_cast<const char*>(data) + size,
                                     pairview::BudgetAllocator<char>(budget));
    pairview::TextLines fromFile(budget);
    pairview::DecodeFileBytes(std::move(raw), fromFile);
    Require(fromFile.text == lines.text && fromFile.starts == lines.starts);
    Require(fromFile.encoding.code == cmp.code && fromFile.encoding.markLength == cmp.markLength);
    return 0;
}
