// Fuzzes the line compare: two texts cut from the input are compared in
// memory, and the rows read back per side must give each decoded text again
// (a side's last line without a line end gains the "\n" that ends its row).
//
// Input: byte 0 says where the first text ends (as a share of the rest).
#include "fuzz_support.h"
#include "compare_cases.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using fuzz::Require;

namespace {

std::string Decoded(const std::string& bytes)
{
    pairview::MemoryBudget budget(std::size_t(1) << 30);
    pairview::TextLines lines(budget);
    pairview::DecodeLines(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), lines);
    return std::string(lines.text.begin(), lines.text.end());
}

bool SameSide(const std::string& rebuilt, const std::string& text)
{
    return rebuilt == text || (!text.empty() && text.back() != '\n' && rebuilt == text + "\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const size_t rest = size - 1;
    const size_t cut = rest * data[0] / 255;
    const std::string first(reinterpret_cast<const char*>(data + 1), cut);
    const std::string second(reinterpret_cast<const char*>(data + 1 + cut), rest - cut);

    const std::string rows = pairview_test::CompareInMemory(first, second);
    // The marker of each row; a line's own text may hold marker-like runs.
    bool bChanged = false;
    for (size_t at = 0; at < rows.size(); at = rows.find('\n', at) == std::string::npos ? rows.size()
                                                                                        : rows.find('\n', at) + 1) {
        const std::string marker = rows.substr(at, 4);
        Require(marker == "    " || marker == " <! " || marker == " !> " || marker == " <- " || marker == " -> ");
        bChanged = bChanged || marker == " <! " || marker == " !> ";
    }
    const pairview_test::Rebuilt sides = pairview_test::RebuildSides(rows);
    Require(SameSide(sides.first, Decoded(first)));
    Require(SameSide(sides.second, Decoded(second)));
    if (first == second)
        Require(!bChanged);
    return 0;
}
