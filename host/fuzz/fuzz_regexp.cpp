// Fuzzes the wide regular-expression engine: any pattern compiles or fails
// cleanly, and a match found lies inside the line, contains the literal the
// engine says every match contains, and begins with characters of the
// leading sets (find in files skips lines by those two promises); without
// back-references, the linear simulation gives the backtracking's match and
// tags exactly.
//
// Input: byte 0 holds the flags (bit 0: case-sensitive), byte 1 the pattern
// length; the rest are characters: a byte below 0xF0 stands for itself, a
// byte from 0xF0 up takes the next two bytes as a 16-bit character.
#include "fuzz_support.h"
#include "RegExpW.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using filescan::CharSetDesc;
using filescan::CRegExpW;
using filescan::LiteralChar;
using fuzz::Require;

namespace {

bool InSet(const CharSetDesc& set, wchar_t c)
{
    const unsigned u = static_cast<uint16_t>(c);
    return u < 128 ? set.ascii[u] : set.nonAscii;
}

bool LiteralAt(const std::vector<wchar_t>& text, int at, const std::vector<LiteralChar>& lit)
{
    for (size_t k = 0; k < lit.size(); ++k) {
        const wchar_t c = text[at + k];
        if (c != lit[k].ch && !(lit[k].foldAscii && c == lit[k].ch - 32))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const bool caseSensitive = data[0] & 1;
    std::vector<wchar_t> chars;
    for (size_t i = 2; i < size;) {
        if (data[i] < 0xF0 || i + 2 >= size) {
            chars.push_back(static_cast<wchar_t>(data[i]));
            i += 1;
        } else {
            chars.push_back(static_cast<wchar_t>(data[i + 1] | (data[i + 2] << 8)));
            i += 3;
        }
    }
    const size_t patternLength = chars.empty() ? 0 : data[1] % (chars.size() + 1);
    std::vector<wchar_t> pattern(chars.begin(), chars.begin() + patternLength);
    std::vector<wchar_t> text(chars.begin() + patternLength, chars.end());

    CRegExpW re;
    const wchar_t* error = re.Compile(pattern.data(), static_cast<int>(pattern.size()), caseSensitive);
    if (error || pattern.empty()) {
        Require(!re.IsCompiled() && re.Program()[0] == 0);
        return 0;
    }
    Require(re.IsCompiled());
    re.SetStrategy(CRegExpW::Simulate);
    CRegExpW reference;
    Require(reference.Compile(pattern.data(), static_cast<int>(pattern.size()), caseSensitive) == nullptr);
    // Back-references are matched by backtracking under a step budget; their
    // lines stay short so that a run tries many inputs.
    bool backReferences = false;
    for (size_t i = 0; i + 1 < pattern.size(); ++i)
        if (pattern[i] == '\\') {
            backReferences = backReferences || (pattern[i + 1] >= '1' && pattern[i + 1] <= '9');
            ++i;
        }
    if (backReferences && text.size() > 20)
        text.resize(20);

    const std::vector<LiteralChar> literal = re.RequiredLiteral();
    CharSetDesc sets[8];
    const int setCount = re.LeadingSets(sets, 8);
    Require(setCount >= 0 && setCount <= 8);
    const int length = static_cast<int>(text.size());
    for (int start : {0, length / 2, length}) {
        const int pos = re.Search(text.data(), length, start);
        const int matched = re.GetMatchLength();
        // Only a program with back-references may give up on a line.
        Require(re.LastOutcome() != CRegExpW::TooComplex || re.HasBackReferences());
        Require(re.LastOutcome() != CRegExpW::Stopped);
        Require((pos >= 0) == (re.LastOutcome() == CRegExpW::Matched));
        if (!re.HasBackReferences()) {
            // The linear simulation finds what the backtracking finds.
            reference.SetStrategy(CRegExpW::Backtrack);
            const int expected = reference.Search(text.data(), length, start);
            Require(expected == pos && reference.GetMatchLength() == matched);
            // (Without a match the tags mean nothing.)
            for (int tag = 0; pos >= 0 && tag < CRegExpW::MaxTags; ++tag)
                Require(reference.GetTagStart(tag) == re.GetTagStart(tag) &&
                        reference.GetTagEnd(tag) == re.GetTagEnd(tag));
        }
        if (pos < 0) {
            Require(pos == -1 && matched == -1);
            continue;
        }
        Require(pos >= start && matched >= 0 && pos + matched <= length);
        Require(re.GetMatchStart() == pos);
        // The required literal stands somewhere inside the match.
        if (!literal.empty()) {
            bool found = false;
            for (int at = pos; !found && at + static_cast<int>(literal.size()) <= pos + matched; ++at)
                found = LiteralAt(text, at, literal);
            Require(found);
        }
        // The match begins with characters of the leading sets.
        for (int k = 0; k < setCount; ++k)
            Require(k < matched && InSet(sets[k], text[pos + k]));
        // Tags lie inside the line.
        for (int tag = 0; tag < CRegExpW::MaxTags; ++tag) {
            const int s = re.GetTagStart(tag), e = re.GetTagEnd(tag);
            if (s >= 0 && e >= 0)
                Require(s <= length && e <= length);
        }
    }
    return 0;
}
