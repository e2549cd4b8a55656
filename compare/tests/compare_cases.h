// Cases shared by the compare tests: the golden results, the random edits
// whose result must give both inputs back, and the compare run in memory (the
// path the host build tests under the sanitizers).
#pragma once

#include "compare_engine.h"

#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace pairview_test {

// UTF-16 encodings of an ASCII/Latin-1 text, for readable test tables.
inline std::string Utf16(const std::u16string& text, bool bigEndian, bool mark)
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

struct GoldenCase {
    const char* name;
    std::string first;
    std::string second;
    std::string expected;
};

inline std::ostream& operator<<(std::ostream& os, const GoldenCase& c) { return os << c.name; }

inline const std::string kUtf8Text = "h\xC3\xA9llo\nw\xC3\xB6rld\n\xE2\x82\xAC 5\n"; // "héllo", "wörld", "€ 5"
inline const std::u16string kUtf16Text = u"h\u00E9llo\nw\u00F6rld\n\u20AC 5\n";

inline std::vector<GoldenCase> GoldenCases()
{
    return {
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
        GoldenCase{"utf8_mark_skipped_once", "\xEF\xBB\xBF"
                                             "abc\ndef\n",
                   "abc\ndef\n", "    abc\n    def\n"},
        GoldenCase{"utf16le_with_mark_against_utf8", Utf16(kUtf16Text, false, true), kUtf8Text,
                   "    h\xC3\xA9llo\n    w\xC3\xB6rld\n    \xE2\x82\xAC 5\n"},
        GoldenCase{"utf16be_without_mark_against_utf8_with_mark", Utf16(u"plain\ntext\n", true, false),
                   "\xEF\xBB\xBFplain\ntext\n", "    plain\n    text\n"},
        GoldenCase{"utf16le_without_mark_against_utf16be_with_mark", Utf16(u"one\ntwo\n", false, false),
                   Utf16(u"one\ntwo\n", true, true), "    one\n    two\n"},
        // U+010A is 0A 01 in UTF-16LE: a 16-bit reader never splits it as a line feed.
        GoldenCase{"utf16_unit_with_0a_byte", Utf16(u"\u010Aab\ncd\n", false, true), "\xC4\x8A"
                                                                                     "ab\ncd\n",
                   "    \xC4\x8A"
                   "ab\n    cd\n"},
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
        // Eleven lines, all different: every one gets an identity of its own.
        GoldenCase{"eleven_distinct_lines", "a\nb\nc\nd\ne\n", "f\ng\nh\ni\nj\nk\n",
                   " <! a\n <! b\n <! c\n <! d\n <! e\n !> f\n !> g\n !> h\n !> i\n !> j\n !> k\n"},
        // Equal 32-bit hashes, different bytes: the lines are not common.
        GoldenCase{"hash_collision_is_not_common", "x\nline xiiknhlmahzq\ny\n", "x\nline nxgcsofurdbc\ny\n",
                   "    x\n <! line xiiknhlmahzq\n !> line nxgcsofurdbc\n    y\n"}};
}

// The rows of a result, read back per side, give both files again: every line
// of the first file appears once, in order, as common, only-first or moved
// from; every line of the second file likewise as common, only-second or
// moved to.
struct Rebuilt {
    std::string first, second;
};

inline Rebuilt RebuildSides(const std::string& result)
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

// Two versions of a file of repeated lines: the second made from the first by
// random inserts, deletes, changes and block moves.
inline std::pair<std::string, std::string> RandomEditedPair(unsigned seed)
{
    std::mt19937 rng(seed);
    // Few distinct lines so that repeats and ambiguous matches are common.
    const int alphabet = seed % 3 == 0 ? 4 : seed % 3 == 1 ? 30
                                                           : 2000;
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
        default: { // move a block
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
    std::pair<std::string, std::string> out;
    for (auto& l : a)
        out.first += l;
    for (auto& l : b)
        out.second += l;
    return out;
}

// The result rows of a compare of two texts given as file bytes, without
// files: decoded, compared and written as CompareToResultFile does. Throws
// std::bad_alloc when the memory limit is reached.
inline std::string CompareInMemory(const std::string& first, const std::string& second,
                                   std::size_t memoryLimit = std::size_t(1) << 30)
{
    struct StringSink : pairview::ResultSink {
        std::string rows;
        void put(const char* bytes, std::size_t n) override { rows.append(bytes, n); }
    } sink;
    pairview::MemoryBudget budget(memoryLimit);
    pairview::TextLines left(budget), right(budget);
    pairview::DecodeLines(reinterpret_cast<const unsigned char*>(first.data()), first.size(), left);
    pairview::DecodeLines(reinterpret_cast<const unsigned char*>(second.data()), second.size(), right);
    pairview::WriteResultRows(pairview::CompareLines(budget, left, right), left, right, sink);
    return sink.rows;
}

} // namespace pairview_test
