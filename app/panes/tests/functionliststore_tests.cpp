// What the function list's scan produces and how it is kept: the entries
// of random sources for every language row held to digests recorded from
// the scan as it stood with plain arrays, and the packed stores against
// plain arrays and walks.
#include "scitest.h"

#include <stdint.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "funcscan.h"
#include "funcscantest.h"

namespace {

// --- the scan's entries ---------------------------------------------------------------------

// FNV-1a over every field of every entry, in order.
class Digest {
public:
    void Add(const void* pData, size_t nBytes)
    {
        const unsigned char* p = static_cast<const unsigned char*>(pData);
        for (size_t i = 0; i < nBytes; i++)
            m_nHash = (m_nHash ^ p[i]) * 0x100000001B3ull;
    }
    void Add(int64_t v) { Add(&v, sizeof v); }
    void Add(const FunctionEntry& e)
    {
        Add(e.strName.c_str(), e.strName.size() + 1);
        for (Sci_Position v : {e.nLine, e.nMatchStart, e.nMatchEnd, e.nLineStart, e.nEndPos})
            Add((int64_t)v);
        Add((int64_t)(e.bInComment ? 1 : 0) | (e.bParamCheck ? 2 : 0));
    }
    uint64_t Value() const { return m_nHash; }

private:
    uint64_t m_nHash = 0xCBF29CE484222325ull;
};

struct LanguageDigest {
    int id;
    size_t nAll, nTop; // entries in all the texts
    uint64_t nAllHash, nTopHash;
};

// Recorded from the scan that kept its entries and comment ranges in plain
// arrays (the same texts, the same ids).
const LanguageDigest kDigests[] = {
    {1, 33, 33, 0xA9C8AD982B136603ull, 0xA9C8AD982B136603ull},
    {2, 81, 81, 0x4A972B8B2EB20035ull, 0x4A972B8B2EB20035ull},
    {3, 81, 81, 0x4A972B8B2EB20035ull, 0x4A972B8B2EB20035ull},
    {4, 64, 64, 0xAD37A5E08FD725F3ull, 0xAD37A5E08FD725F3ull},
    {5, 70, 52, 0x507CD02146041813ull, 0xE381385E97B2E472ull},
    {6, 64, 64, 0xAD37A5E08FD725F3ull, 0xAD37A5E08FD725F3ull},
    {7, 33, 18, 0x826D40353F71B406ull, 0x3366D99EDC5E02EAull},
    {8, 33, 33, 0xA9C8AD982B136603ull, 0xA9C8AD982B136603ull},
    {11, 24, 18, 0x9B5868817C406303ull, 0xD9942740D8B7D42Aull},
    {12, 8, 8, 0x06E4D7474E7190A9ull, 0x06E4D7474E7190A9ull},
    {13, 21, 21, 0xC8A93F802599D82Aull, 0xC8A93F802599D82Aull},
    {16, 27, 27, 0x27DA99B96A701703ull, 0x27DA99B96A701703ull},
    {17, 20, 19, 0x20B568BC97C3ADF4ull, 0x3CCFD9B434207081ull},
    {18, 37, 37, 0xAA774D28D29B7443ull, 0xAA774D28D29B7443ull},
    {19, 33, 33, 0xA9C8AD982B136603ull, 0xA9C8AD982B136603ull},
    {21, 39, 39, 0xED55C8E0D5391CBCull, 0xED55C8E0D5391CBCull},
    {22, 87, 87, 0xCC6C004954AC5945ull, 0xCC6C004954AC5945ull},
    {23, 15, 15, 0x1B4880E719333396ull, 0x1B4880E719333396ull},
    {25, 221, 64, 0x47F23A9DA4DEA96Eull, 0x4A79359D9CC51A75ull},
    {26, 48, 43, 0xB94D2F78526D4DBBull, 0x8F31DDFD8031E962ull},
    {27, 33, 33, 0xA9C8AD982B136603ull, 0xA9C8AD982B136603ull},
    {28, 36, 17, 0x8E55BC22EB825107ull, 0xF9B495586127DF1Bull},
    {29, 67, 30, 0x3D8BFE9574A6E519ull, 0x438157FF7AF09545ull},
    {30, 95, 95, 0x62B652E1E87FF531ull, 0x62B652E1E87FF531ull},
    {32, 54, 54, 0x29E0BD7806592B1Cull, 0x29E0BD7806592B1Cull},
    {38, 46, 22, 0x09DD179EDAE8F2A2ull, 0xCEFF9215476CEA34ull},
};

typedef HiddenEditorTest ScanDigestTest;

// Every id with a row; those that share a row are scanned too.
const int kLanguageIds[] = {1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 16, 17,
                            18, 19, 21, 22, 23, 25, 26, 27, 28, 29, 30, 32, 38};

TEST_F(ScanDigestTest, EveryLanguageListsWhatItListedBefore)
{
    std::mt19937 rng(20261213);
    std::vector<std::string> texts;
    for (int n : {40, 400, 2000})
        texts.push_back(RandomSourceOf(rng, n, LineStartPieces()));
    std::string table;
    bool bSame = true;
    for (int id : kLanguageIds) {
        LanguageDigest got = {id, 0, 0, 0, 0};
        Digest all, top;
        for (const std::string& text : texts) {
            Load(text);
            // The list of every entry from a full scan; the top-level entries
            // from a scan for the list alone, as the pane runs it.
            CFunctionScan full(editor);
            ASSERT_TRUE(full.SetLanguage(id));
            ASSERT_TRUE(full.Run());
            for (const FunctionEntry& e : full.GetAllEntries()) {
                all.Add(e);
                got.nAll++;
            }
            CFunctionScan pane(editor);
            pane.SetListOnly(true);
            ASSERT_TRUE(pane.SetLanguage(id));
            ASSERT_TRUE(pane.Run());
            for (const FunctionEntry& e : pane.GetTopLevelEntries()) {
                top.Add(e);
                got.nTop++;
            }
        }
        got.nAllHash = all.Value();
        got.nTopHash = top.Value();
        char line[160];
        snprintf(line, sizeof line, "    {%d, %u, %u, 0x%016llXull, 0x%016llXull},\n", id, (unsigned)got.nAll,
                 (unsigned)got.nTop, (unsigned long long)got.nAllHash, (unsigned long long)got.nTopHash);
        table += line;
        const LanguageDigest* pWas = nullptr;
        for (const LanguageDigest& d : kDigests)
            if (d.id == id)
                pWas = &d;
        if (pWas == nullptr || pWas->nAll != got.nAll || pWas->nTop != got.nTop || pWas->nAllHash != got.nAllHash ||
            pWas->nTopHash != got.nTopHash) {
            bSame = false;
            ADD_FAILURE() << "id " << id << " lists otherwise than before";
        }
        // A digest of nothing would hold nothing.
        EXPECT_GT(got.nTop, 0u) << "id " << id;
    }
    EXPECT_TRUE(bSame) << "found:\n"
                       << table;
}


// --- the packed stores ---------------------------------------------------------------------

// Entries with differences of every size: small steps, long jumps, values
// past 32 bits, negatives, names empty, short and longer than a page.
std::vector<FunctionEntry> RandomEntries(std::mt19937_64& rng, size_t nCount, bool bInLineOrder)
{
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> small(0, 200);
    std::uniform_int_distribution<int64_t> big(-((int64_t)1 << 40), (int64_t)1 << 40);
    std::uniform_int_distribution<int> letter('a', 'z');
    auto value = [&](Sci_Position nNear) -> Sci_Position {
        switch (kind(rng)) {
        case 0: return (Sci_Position)big(rng);
        case 1: return -1;
        case 2: return nNear;
        default: return nNear + small(rng);
        }
    };
    std::vector<FunctionEntry> entries;
    Sci_Position nLine = 0, nPos = 0;
    for (size_t i = 0; i < nCount; i++) {
        FunctionEntry e;
        nLine = bInLineOrder ? nLine + small(rng) % 3 : value(nLine);
        nPos += small(rng);
        e.nLine = nLine;
        e.nLineStart = value(nPos);
        e.nMatchStart = value(e.nLineStart);
        e.nMatchEnd = value(e.nMatchStart);
        e.nEndPos = value(e.nMatchEnd);
        e.bInComment = kind(rng) < 3;
        e.bParamCheck = kind(rng) < 5;
        int nName = kind(rng);
        size_t nLength = nName == 0 ? 0 : nName == 1 ? CPagedBytes::kPageSize + 17
                                                     : (size_t)small(rng) % 24;
        for (size_t k = 0; k < nLength; k++)
            e.strName += (char)letter(rng);
        entries.push_back(e);
    }
    return entries;
}

bool Same(const FunctionEntry& a, const FunctionEntry& b)
{
    return a.strName == b.strName && a.nLine == b.nLine && a.nMatchStart == b.nMatchStart &&
           a.nMatchEnd == b.nMatchEnd && a.nLineStart == b.nLineStart && a.nEndPos == b.nEndPos &&
           a.bInComment == b.bInComment && a.bParamCheck == b.bParamCheck;
}

// The stored entries read back as they were added: in order, from any index,
// by index, and by name alone.
void ExpectStored(const std::vector<FunctionEntry>& want, const CFunctionEntries& got)
{
    ASSERT_EQ(want.size(), got.size());
    ASSERT_EQ(want.empty(), got.empty());
    size_t i = 0;
    for (const FunctionEntry& e : got) {
        ASSERT_LT(i, want.size());
        ASSERT_TRUE(Same(want[i], e)) << "entry " << i;
        i++;
    }
    ASSERT_EQ(want.size(), i);
    for (size_t from : {(size_t)0, (size_t)1, (size_t)CFunctionEntries::kGroup - 1, (size_t)CFunctionEntries::kGroup,
                        (size_t)CFunctionEntries::kGroup + 1, want.size() / 2, want.size()}) {
        if (from > want.size())
            continue;
        CFunctionEntries::Reader reader(got, from);
        FunctionEntry e;
        for (size_t k = from; k < want.size(); k++) {
            ASSERT_EQ(k, reader.Index());
            ASSERT_TRUE(reader.Next(e)) << k;
            ASSERT_TRUE(Same(want[k], e)) << "entry " << k << " read from " << from;
        }
        EXPECT_FALSE(reader.Next(e));
        CFunctionEntries::Reader names(got, from);
        for (size_t k = from; k < want.size(); k++) {
            const char* pszName = names.NextName();
            ASSERT_TRUE(pszName != nullptr);
            ASSERT_EQ(want[k].strName, pszName) << k;
        }
        EXPECT_TRUE(names.NextName() == nullptr);
    }
    for (size_t k = 0; k < want.size(); k += 7)
        ASSERT_TRUE(Same(want[k], got[k])) << "entry " << k;
}

TEST(FunctionEntries, ReadBackWhatWasAdded)
{
    std::mt19937_64 rng(20261214);
    for (size_t nCount : {(size_t)0, (size_t)1, (size_t)CFunctionEntries::kGroup, (size_t)CFunctionEntries::kGroup + 1,
                          (size_t)2000}) {
        SCOPED_TRACE(nCount);
        std::vector<FunctionEntry> want = RandomEntries(rng, nCount, false);
        CFunctionEntries got;
        for (const FunctionEntry& e : want)
            got.Add(e);
        ExpectStored(want, got);
        EXPECT_EQ(want.size(), got.ToVector().size());
        // Moved, the entries go along; cleared, nothing is left.
        CFunctionEntries moved(std::move(got));
        EXPECT_TRUE(got.empty());
        ExpectStored(want, moved);
        got = std::move(moved);
        ExpectStored(want, got);
        got.Clear();
        ExpectStored({}, got);
        got.Add(FunctionEntry());
        ExpectStored({FunctionEntry()}, got);
    }
}

// Sorting by line merges the runs as a stable sort of the whole list does
// (equal lines in the order added), and sorts a list whose runs are out of
// order too.
TEST(FunctionEntries, SortByLineIsAStableSort)
{
    std::mt19937_64 rng(20261215);
    struct Case {
        std::vector<size_t> runs; // entries per run
        bool bInLineOrder;
    };
    const Case cases[] = {
        {{}, true},
        {{0}, true},
        {{50}, true},
        {{50, 0, 40}, true},
        {{1, 1, 1}, true},
        {{300, 200, 100, 5}, true},
        {{70}, false},
        {{30, 90}, false},
    };
    for (const Case& c : cases) {
        std::vector<FunctionEntry> all;
        CFunctionEntries entries;
        for (size_t n : c.runs) {
            entries.BeginRun();
            for (FunctionEntry& e : RandomEntries(rng, n, c.bInLineOrder)) {
                e.nLine %= 40; // many equal lines between the runs
                entries.Add(e);
                all.push_back(e);
            }
        }
        std::stable_sort(all.begin(), all.end(),
                         [](const FunctionEntry& a, const FunctionEntry& b) { return a.nLine < b.nLine; });
        entries.SortByLine();
        ExpectStored(all, entries);
    }
}

// The entry holding a position: the first whose line start is not after it
// and whose end is not before it, on a top-level list (searched by halves)
// and on any other (walked).
TEST(FunctionEntries, FindContainingAgreesWithTheWalk)
{
    std::mt19937_64 rng(20261216);
    std::uniform_int_distribution<int> step(0, 12);
    for (int round = 0; round < 6; round++) {
        // A top-level list: rising ends, line starts that do not fall; a
        // routine may start on the line where the one before ends.
        std::vector<FunctionEntry> want;
        Sci_Position nPos = step(rng), nLastEnd = -1;
        for (size_t i = 0, n = round == 0 ? 0 : 10 + round * 70; i < n; i++) {
            FunctionEntry e;
            e.nLineStart = nPos;
            e.nLine = nPos / 10;
            e.nMatchStart = e.nMatchEnd = nPos + 1;
            e.nEndPos = std::max(nLastEnd + 1, nPos + 1 + step(rng));
            nLastEnd = e.nEndPos;
            // The next line starts after this end, or before it (on the line
            // where this routine ends), never before this line start.
            if (step(rng) < 4)
                nPos = e.nEndPos - std::min<Sci_Position>(step(rng), e.nEndPos - e.nLineStart);
            else
                nPos = e.nEndPos + step(rng);
            want.push_back(e);
        }
        // Another list: the same entries, one nested inside the one before.
        std::vector<FunctionEntry> nested = want;
        if (nested.size() > 2)
            nested[1].nEndPos = nested[0].nEndPos;
        for (const std::vector<FunctionEntry>* pList : {&want, &nested}) {
            CFunctionEntries entries;
            for (const FunctionEntry& e : *pList)
                entries.Add(e);
            for (Sci_Position p = -1; p <= nPos + 2; p++) {
                ptrdiff_t nWalk = -1;
                for (size_t i = 0; i < pList->size() && nWalk < 0; i++)
                    if ((*pList)[i].nLineStart <= p && (*pList)[i].nEndPos >= p)
                        nWalk = (ptrdiff_t)i;
                ASSERT_EQ(nWalk, entries.FindContaining(p)) << "at " << p << " round " << round;
            }
        }
    }
}

// Comment ranges as a text has them: ascending, some empty, some touching
// the next, gaps of every size, positions past 32 bits.
TEST(PackedRanges, ReadBackAndContainsAgreeWithTheArray)
{
    std::mt19937_64 rng(20261217);
    std::uniform_int_distribution<int> gap(0, 9);
    std::uniform_int_distribution<int64_t> size(0, 300);
    for (size_t nCount : {(size_t)0, (size_t)1, (size_t)CPackedRanges::kGroup, (size_t)CPackedRanges::kGroup + 1,
                          (size_t)700}) {
        std::vector<CommentRange> want;
        Sci_Position nPos = nCount == 700 ? ((Sci_Position)1 << 33) : 0;
        for (size_t i = 0; i < nCount; i++) {
            int g = gap(rng);
            Sci_Position nStart = nPos + (g == 0 ? 0 : g < 8 ? g
                                                             : size(rng) * 1000);
            Sci_Position nEnd = nStart + (gap(rng) == 0 ? 0 : size(rng));
            want.push_back({nStart, nEnd});
            nPos = std::max(nEnd, nStart + 1);
        }
        CPackedRanges ranges;
        for (const CommentRange& r : want)
            ranges.Add(r);
        ASSERT_EQ(want.size(), ranges.size());
        std::vector<CommentRange> got = ranges.ToVector();
        ASSERT_EQ(want.size(), got.size());
        for (size_t i = 0; i < want.size(); i++)
            ASSERT_TRUE(want[i].nStart == got[i].nStart && want[i].nEnd == got[i].nEnd) << i;
        // Contains: the last range that starts at or before the start holds
        // the end, around every range's edges.
        auto expected = [&](Sci_Position s, Sci_Position e) {
            auto it = std::upper_bound(want.begin(), want.end(), s,
                                       [](Sci_Position pos, const CommentRange& r) { return pos < r.nStart; });
            return it != want.begin() && (it - 1)->nEnd >= e;
        };
        for (const CommentRange& r : want) {
            for (Sci_Position s : {r.nStart - 1, r.nStart, r.nStart + 1, r.nEnd - 1, r.nEnd, r.nEnd + 1})
                for (Sci_Position e : {s, r.nEnd - 1, r.nEnd, r.nEnd + 1})
                    ASSERT_EQ(expected(s, e), ranges.Contains(s, e)) << s << "," << e;
        }
        EXPECT_FALSE(ranges.Contains(-5, -5));
        ranges.Clear();
        EXPECT_TRUE(ranges.empty());
        EXPECT_FALSE(ranges.Contains(nPos, nPos));
    }
}

// What a large C++ text holds: about four comment ranges and one routine
// every 560 bytes. Plain arrays took 16 bytes a range and 80 an entry, and
// twice that while doubling; the packed stores take a few bytes each.
TEST(PackedStores, ALargeTextsRangesAndEntriesTakeAFewBytesEach)
{
    const size_t nBlocks = 89000;
    CPackedRanges ranges;
    CFunctionEntries entries;
    for (size_t i = 0; i < nBlocks; i++) {
        const Sci_Position nBlock = (Sci_Position)i * 560;
        ranges.Add({nBlock, nBlock + 58});
        ranges.Add({nBlock + 160, nBlock + 172});
        ranges.Add({nBlock + 200, nBlock + 252});
        ranges.Add({nBlock + 520, nBlock + 541});
        FunctionEntry e;
        e.nLine = (Sci_Position)i * 20 + 9;
        e.strName = "Sum" + std::to_string(i);
        e.nLineStart = nBlock + 254;
        e.nMatchStart = e.nLineStart + 14;
        e.nMatchEnd = e.nMatchStart + 60;
        e.nEndPos = nBlock + 500;
        e.bParamCheck = true;
        entries.Add(e);
    }
    EXPECT_LE(ranges.MemoryUsed(), ranges.size() * 4) << ranges.MemoryUsed() << " bytes";
    EXPECT_LE(entries.MemoryUsed(), entries.size() * 20) << entries.MemoryUsed() << " bytes";
    EXPECT_TRUE(ranges.Contains(nBlocks / 2 * 560 + 200, nBlocks / 2 * 560 + 252));
    EXPECT_EQ((ptrdiff_t)(nBlocks / 2), entries.FindContaining(nBlocks / 2 * 560 + 300));
}

} // namespace
