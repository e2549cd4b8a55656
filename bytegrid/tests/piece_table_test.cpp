// The piece table against a plain byte vector: random edits, copies and
// undo-style restores read back the same bytes as the vector; a rebase keeps
// the saved piece lists readable after the old original is gone, and one that
// runs out of memory leaves them as they were.
#include "piece_model.h"
#include "piece_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

using bytegrid::Piece;
using bytegrid::Pieces;
using bytegrid::PieceTable;

namespace {

using piecemodel::Bytes;
using piecemodel::BytesOf;
using piecemodel::Step;

Bytes ReadAll(const PieceTable& t)
{
    Bytes out(static_cast<size_t>(t.Length()));
    EXPECT_EQ(t.Read(0, out.size(), out.data()), out.size());
    return out;
}

Bytes RandomBytes(std::mt19937& rng, size_t n)
{
    Bytes b(n);
    for (uint8_t& c : b)
        c = static_cast<uint8_t>(rng());
    return b;
}

// Random edits on an edited table.
class Model {
public:
    Model(const Bytes& original, unsigned seed) : original_(original), rng_(seed) { e_.Reset(original_); }

    void RandomEdit()
    {
        const uint64_t len = e_.model.size();
        const uint64_t pos = rng_() % (len + 1);
        const uint64_t cut = len > pos ? rng_() % (std::min<uint64_t>(len - pos, 64) + 1) : 0;
        Pieces inserted;
        switch (rng_() % 4) {
        case 0: // typed or pasted bytes (now and then a big paste, which gets a block of its own)
        case 1: {
            const size_t n = rng_() % 8 == 0 ? 300000 + rng_() % 1000 : rng_() % 40;
            Bytes add = RandomBytes(rng_, n);
            if (n)
                inserted.push_back(e_.table.Store(add.data(), add.size()));
            break;
        }
        case 2: // a copy of another part of the document
            if (len) {
                const uint64_t from = rng_() % len;
                inserted = e_.table.Slice(from, 1 + rng_() % std::min<uint64_t>(len - from, 200));
            }
            break;
        default: // a plain delete
            break;
        }
        e_.Replace(pos, cut, inserted);
    }

    void Check(const std::string& where)
    {
        SCOPED_TRACE(where);
        const PieceTable& t = e_.table;
        const Bytes& model = e_.model;
        EXPECT_TRUE(e_.ReadsLikeModel());
        EXPECT_TRUE(piecemodel::IsNormalized(t));
        EXPECT_TRUE(e_.StepsReadAsMade());
        // A window read anywhere, and the runs of the same window.
        if (!model.empty()) {
            const uint64_t pos = rng_() % model.size();
            const size_t n = rng_() % 500;
            Bytes got(n);
            const size_t copied = t.Read(pos, n, got.data());
            ASSERT_EQ(copied, std::min<uint64_t>(n, model.size() - pos));
            got.resize(copied);
            EXPECT_TRUE(got == Bytes(model.begin() + pos, model.begin() + pos + copied));
            Bytes runs;
            t.ForEachRun(pos, n, [&](const uint8_t* b, size_t count, bool) { runs.insert(runs.end(), b, b + count); });
            EXPECT_TRUE(runs == got);
        }
    }

    Bytes original_;
    piecemodel::EditedTable e_;
    std::mt19937 rng_;
};

TEST(PieceTable, RandomEditsAndUndoReadLikeAByteVector)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 rng(seed);
        Model m(RandomBytes(rng, seed % 5 == 0 ? 0 : rng() % 5000), seed);
        for (int i = 0; i < 150; ++i) {
            if (!m.e_.steps.empty() && m.rng_() % 4 == 0)
                m.e_.Undo();
            else
                m.RandomEdit();
            if (i % 10 == 0)
                m.Check("seed " + std::to_string(seed) + " edit " + std::to_string(i));
        }
        m.Check("seed " + std::to_string(seed) + " end");
        while (!m.e_.steps.empty())
            m.e_.Undo();
        m.Check("seed " + std::to_string(seed) + " all undone");
        EXPECT_TRUE(m.e_.model == m.original_);
    }
}

TEST(PieceTable, RangesPastTheEndAreClamped)
{
    const Bytes original = {'a', 'b', 'c', 'd', 'e', 'f'};
    PieceTable t;
    t.Reset(original.data(), original.size());
    uint8_t buf[8] = {};
    EXPECT_EQ(t.Read(6, 4, buf), 0u);
    EXPECT_EQ(t.Read(100, 4, buf), 0u);
    EXPECT_EQ(t.Read(4, 8, buf), 2u);
    EXPECT_TRUE(t.Slice(6, 3).empty());
    EXPECT_EQ(bytegrid::TotalLength(t.Slice(4, 100)), 2u);
    t.Splice(4, 100, {}); // cut to the end
    EXPECT_TRUE(ReadAll(t) == (Bytes{'a', 'b', 'c', 'd'}));
    const uint8_t x = 'x';
    t.Splice(100, 0, {t.Store(&x, 1)}); // put at the end
    EXPECT_TRUE(ReadAll(t) == (Bytes{'a', 'b', 'c', 'd', 'x'}));
    EXPECT_EQ(t.Store(&x, 0).length, 0u);
}

TEST(PieceTable, SmallStoresShareABlockThatABigStoreLeavesCurrent)
{
    PieceTable t;
    const Bytes small(10, 's'), big(2 << 20, 'b'); // more than the shared block has room for
    const Piece a = t.Store(small.data(), small.size());
    const Piece b = t.Store(big.data(), big.size());
    const Piece c = t.Store(small.data(), small.size());
    EXPECT_NE(b.source, a.source);
    EXPECT_EQ(c.source, a.source);
    EXPECT_EQ(c.offset, a.offset + a.length);
    EXPECT_EQ(t.StoreSize(), (1u << 20) + big.size());
}

// A save: the document's bytes go to a new original and the old one goes away
// (its memory is overwritten here); the steps must read as before.
TEST(PieceTable, RebaseKeepsTheStepsReadableAfterTheOldOriginalGoes)
{
    for (unsigned seed = 1; seed <= 8; ++seed) {
        std::mt19937 rng(seed + 100);
        Model m(RandomBytes(rng, 3000 + rng() % 3000), seed);
        for (int i = 0; i < 60; ++i)
            m.RandomEdit();
        Bytes saved = m.e_.model;
        std::vector<Pieces*> keep = m.e_.Kept();
        ASSERT_TRUE(m.e_.table.Rebase(saved.data(), saved.size(), keep));
        std::fill(m.original_.begin(), m.original_.end(), 0xEE);
        EXPECT_EQ(m.e_.table.PieceList().size(), saved.empty() ? 0u : 1u);
        for (Pieces* list : keep)
            for (const Piece& p : *list)
                EXPECT_NE(p.source, 0u) << "a kept piece still points into the old original";
        m.Check("seed " + std::to_string(seed) + " after the save");
        // Undo back past the save, then edit on.
        for (int i = 0; i < 30; ++i)
            m.e_.Undo();
        m.Check("seed " + std::to_string(seed) + " undone past the save");
        for (int i = 0; i < 20; ++i)
            m.RandomEdit();
        m.Check("seed " + std::to_string(seed) + " edited after the save");
    }
}

// Copying the old bytes that the steps still use takes memory. When it runs
// out, Rebase says so, the steps are left exactly as they were (the caller
// drops them) and the table shows the new original.
TEST(PieceTable, RebaseThatRunsOutOfMemoryLeavesTheStepsAlone)
{
    struct Case {
        const char* name;
        uint64_t roomBlocks; // new blocks of 1 MiB the store may still take
    };
    for (const Case& c : {Case{"no room at all", 0}, Case{"room for the first copy only", 1}}) {
        SCOPED_TRACE(c.name);
        std::mt19937 rng(9);
        const Bytes original = RandomBytes(rng, 3 << 20);
        PieceTable t;
        t.Reset(original.data(), original.size());
        // Two steps that each remove a stretch of more than a block of the
        // original, far apart, so each needs a copy of its own.
        Step first{0, t.Slice(100, 1200000), {}, {}, {}};
        first.removedBytes = BytesOf(t, first.removed);
        t.Splice(100, 1200000, {});
        Step second{0, t.Slice(1500000, 1100000), {}, {}, {}};
        second.removedBytes = BytesOf(t, second.removed);
        t.Splice(1500000, 1100000, {});
        const Pieces firstBefore = first.removed, secondBefore = second.removed;
        const Bytes saved = ReadAll(t);

        t.SetStoreLimit(t.StoreSize() + c.roomBlocks * 1200000);
        EXPECT_FALSE(t.Rebase(saved.data(), saved.size(), {&first.removed, &second.removed}));
        EXPECT_TRUE(first.removed == firstBefore);
        EXPECT_TRUE(second.removed == secondBefore);
        ASSERT_EQ(t.PieceList().size(), 1u);
        EXPECT_EQ(t.PieceList()[0], (Piece{0, 0, saved.size()}));
        EXPECT_TRUE(ReadAll(t) == saved);

        // With room again the same table rebases and keeps what it is given.
        t.SetStoreLimit(UINT64_MAX);
        Pieces tail = t.Slice(saved.size() - 10, 10);
        const Bytes tailBytes = BytesOf(t, tail);
        const Bytes resaved = saved;
        ASSERT_TRUE(t.Rebase(resaved.data(), resaved.size(), {&tail}));
        EXPECT_NE(tail[0].source, 0u);
        EXPECT_TRUE(BytesOf(t, tail) == tailBytes);
    }
}

} // namespace
