// What the function list's scan produces and how it is kept: the entries
// of random sources for every language row held to digests recorded from
// the scan as it stood with plain arrays, and the packed stores against
// plain arrays and walks.
#include "scitest.h"

#include <stdint.h>

#include <random>
#include <string>
#include <vector>

#include "funcscan.h"
#include "funcsource.h"

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

class ScanDigestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(editor.CreateEx(0, CMFCScintilla::kWindowClass, "FunctionListEditor", WS_POPUP, 0, 0, 0, 0, NULL,
                                    NULL));
        editor.Call(SCI_SETUNDOCOLLECTION, 0);
    }
    void TearDown() override { editor.DestroyWindow(); }
    CMFCScintilla editor;
};

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
            editor.ClearAll();
            editor.AddText(text.data(), (Sci_Position)text.size());
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

} // namespace
