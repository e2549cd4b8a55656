// Fuzzes the piece table against a byte vector: the input is a list of edits
// (insert, delete, copy, undo, save). Every step is kept as the document keeps
// its undo history; a save rebases the table onto a fresh copy of the bytes
// and frees the old original, so a kept piece still pointing into it is a
// use after free. Now and then the store has no room left, and the rebase
// must fail leaving the kept steps as they were.
#include "piece_table.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

using bytegrid::Piece;
using bytegrid::Pieces;
using bytegrid::PieceTable;

namespace {

using Bytes = std::vector<uint8_t>;

void Require(bool ok)
{
    if (!ok)
        abort();
}

Bytes BytesOf(const PieceTable& t, const Pieces& pieces)
{
    Bytes out;
    for (const Piece& p : pieces) {
        const uint8_t* b = t.Bytes(p);
        out.insert(out.end(), b, b + p.length);
    }
    return out;
}

struct Step {
    uint64_t pos;
    Pieces removed, inserted;
    Bytes removedBytes, insertedBytes;
};

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Reader in{data, size};
    const size_t originalLength = in.Byte();
    auto original = std::make_unique<Bytes>();
    for (size_t i = 0; i < originalLength && in.n; ++i)
        original->push_back(in.Byte());
    Bytes model = *original;
    PieceTable table;
    table.Reset(original->data(), original->size());
    std::vector<Step> steps;

    while (in.n) {
        const uint8_t op = in.Byte();
        const uint64_t len = model.size();
        const uint64_t pos = len ? in.Number() % (len + 1) : 0;
        switch (op % 6) {
        case 0:    // insert typed bytes
        case 1:    // delete
        case 2: {  // copy a stretch of the document over another
            const uint64_t cut = op % 6 == 0 ? 0 : len > pos ? in.Byte() % (len - pos + 1) : 0;
            Step s{pos, table.Slice(pos, cut), {}, {}, {}};
            if (op % 6 == 0) {
                Bytes add(in.Byte() % 16 + 1);
                for (uint8_t& b : add)
                    b = in.Byte();
                s.inserted.push_back(table.Store(add.data(), add.size()));
            } else if (op % 6 == 2 && len) {
                const uint64_t from = in.Number() % len;
                s.inserted = table.Slice(from, in.Byte() % (len - from) + 1);
            }
            s.removedBytes = BytesOf(table, s.removed);
            s.insertedBytes = BytesOf(table, s.inserted);
            table.Splice(pos, cut, s.inserted);
            model.erase(model.begin() + pos, model.begin() + pos + cut);
            model.insert(model.begin() + pos, s.insertedBytes.begin(), s.insertedBytes.end());
            steps.push_back(s);
            break;
        }
        case 3:  // undo
            if (!steps.empty()) {
                const Step s = steps.back();
                steps.pop_back();
                table.Splice(s.pos, bytegrid::TotalLength(s.inserted), s.removed);
                model.erase(model.begin() + s.pos, model.begin() + s.pos + s.insertedBytes.size());
                model.insert(model.begin() + s.pos, s.removedBytes.begin(), s.removedBytes.end());
            }
            break;
        default: {  // save: rebase onto a copy of the bytes and free the old original
            const bool full = op % 6 == 5 && (op & 0x80);
            if (full)
                table.SetStoreLimit(table.StoreSize());
            auto saved = std::make_unique<Bytes>(model);
            std::vector<Pieces*> keep;
            std::vector<Pieces> before;
            for (Step& s : steps) {
                keep.push_back(&s.removed);
                keep.push_back(&s.inserted);
                before.push_back(s.removed);
                before.push_back(s.inserted);
            }
            const bool ok = table.Rebase(saved->data(), saved->size(), keep);
            table.SetStoreLimit(UINT64_MAX);
            if (ok) {
                for (Pieces* list : keep)
                    for (const Piece& p : *list)
                        Require(p.source != 0);
            } else {
                Require(full);
                for (size_t i = 0; i < keep.size(); ++i)
                    Require(*keep[i] == before[i]);
                steps.clear();  // as the document drops its history
            }
            original = std::move(saved);
            break;
        }
        }
        Require(table.Length() == model.size());
        Bytes all(model.size());
        Require(table.Read(0, all.size(), all.data()) == all.size());
        Require(all == model);
        const Pieces& list = table.PieceList();
        for (size_t i = 0; i < list.size(); ++i)
            Require(list[i].length != 0 &&
                    (i == 0 || list[i - 1].source != list[i].source ||
                     list[i - 1].offset + list[i - 1].length != list[i].offset));
        for (const Step& s : steps)
            Require(BytesOf(table, s.removed) == s.removedBytes && BytesOf(table, s.inserted) == s.insertedBytes);
    }
    return 0;
}
