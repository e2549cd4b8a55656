// Fuzzes the piece table against a byte vector: the input is a list of edits
// (insert, delete, copy, undo, save). Every step is kept as the document keeps
// its undo history; a save rebases the table onto a fresh copy of the bytes
// and frees the old original, so a kept piece still pointing into it is a
// use after free. Now and then the store has no room left, and the rebase
// must fail leaving the kept steps as they were.
#include "fuzz_support.h"
#include "piece_model.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

using bytegrid::Piece;
using bytegrid::Pieces;
using fuzz::Require;
using piecemodel::Bytes;

namespace {

// Reads input bytes; zero once they run out.
struct Reader {
    const uint8_t* p;
    size_t n;
    uint8_t Byte()
    {
        if (!n)
            return 0;
        --n;
        return *p++;
    }
    uint32_t Number() { return Byte() | (Byte() << 8); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Reader in{data, size};
    const size_t originalLength = in.Byte();
    auto original = std::make_unique<Bytes>();
    for (size_t i = 0; i < originalLength && in.n; ++i)
        original->push_back(in.Byte());
    piecemodel::EditedTable e;
    e.Reset(*original);

    while (in.n) {
        const uint8_t op = in.Byte();
        const uint64_t len = e.model.size();
        const uint64_t pos = len ? in.Number() % (len + 1) : 0;
        switch (op % 6) {
        case 0: { // insert typed bytes
            Bytes add(in.Byte() % 16 + 1);
            for (uint8_t& b : add)
                b = in.Byte();
            e.Replace(pos, 0, {e.table.Store(add.data(), add.size())});
            break;
        }
        case 1:   // delete
        case 2: { // copy a stretch of the document over another
            const uint64_t cut = len > pos ? in.Byte() % (len - pos + 1) : 0;
            Pieces copy;
            if (op % 6 == 2 && len) {
                const uint64_t from = in.Number() % len;
                copy = e.table.Slice(from, in.Byte() % (len - from) + 1);
            }
            e.Replace(pos, cut, copy);
            break;
        }
        case 3: // undo
            if (!e.steps.empty())
                e.Undo();
            break;
        default: { // save: rebase onto a copy of the bytes and free the old original
            const bool full = op % 6 == 5 && (op & 0x80);
            if (full)
                e.table.SetStoreLimit(e.table.StoreSize());
            auto saved = std::make_unique<Bytes>(e.model);
            std::vector<Pieces*> keep = e.Kept();
            std::vector<Pieces> before;
            for (const Pieces* list : keep)
                before.push_back(*list);
            const bool ok = e.table.Rebase(saved->data(), saved->size(), keep);
            e.table.SetStoreLimit(UINT64_MAX);
            if (ok) {
                for (const Pieces* list : keep)
                    for (const Piece& p : *list)
                        Require(p.source != 0);
            } else {
                Require(full);
                for (size_t i = 0; i < keep.size(); ++i)
                    Require(*keep[i] == before[i]);
                e.steps.clear(); // as the document drops its history
            }
            original = std::move(saved);
            break;
        }
        }
        Require(e.ReadsLikeModel() && piecemodel::IsNormalized(e.table) && e.StepsReadAsMade());
    }
    return 0;
}
