// A piece table and a plain byte vector driven through the same edits, every
// step kept as the document keeps its undo history (what was removed and what
// was put in, as piece lists). Shared by the piece table's test and its fuzz
// target (host/fuzz/fuzz_piece_table.cpp).
#pragma once

#include "piece_table.h"

#include <cstdint>
#include <vector>

namespace piecemodel {

using Bytes = std::vector<uint8_t>;

// The bytes a piece list stands for.
inline Bytes BytesOf(const bytegrid::PieceTable& t, const bytegrid::Pieces& pieces)
{
    Bytes out;
    for (const bytegrid::Piece& p : pieces) {
        const uint8_t* b = t.Bytes(p);
        out.insert(out.end(), b, b + p.length);
    }
    return out;
}

// The table keeps its pieces merged: no empty piece, no two neighbours that
// continue each other in the same source, and the lengths add up.
inline bool IsNormalized(const bytegrid::PieceTable& t)
{
    const bytegrid::Pieces& list = t.PieceList();
    if (bytegrid::TotalLength(list) != t.Length())
        return false;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].length == 0)
            return false;
        if (i > 0 && list[i - 1].source == list[i].source && list[i - 1].offset + list[i - 1].length == list[i].offset)
            return false;
    }
    return true;
}

struct Step {
    uint64_t pos;
    bytegrid::Pieces removed, inserted;
    Bytes removedBytes, insertedBytes; // what they read when the step was made
};

struct EditedTable {
    bytegrid::PieceTable table;
    Bytes model;
    std::vector<Step> steps;

    // Shows the original (which must outlive its use, as a file mapping does).
    void Reset(const Bytes& original)
    {
        table.Reset(original.data(), original.size());
        model = original;
        steps.clear();
    }

    // Replaces [pos, pos + cut) with the given pieces and keeps the step.
    void Replace(uint64_t pos, uint64_t cut, const bytegrid::Pieces& inserted)
    {
        Step s{pos, table.Slice(pos, cut), inserted, {}, {}};
        s.removedBytes = BytesOf(table, s.removed);
        s.insertedBytes = BytesOf(table, s.inserted);
        table.Splice(pos, cut, s.inserted);
        model.erase(model.begin() + pos, model.begin() + pos + cut);
        model.insert(model.begin() + pos, s.insertedBytes.begin(), s.insertedBytes.end());
        steps.push_back(s);
    }

    // Takes back the last step as the document's undo does.
    void Undo()
    {
        const Step s = steps.back();
        steps.pop_back();
        table.Splice(s.pos, bytegrid::TotalLength(s.inserted), s.removed);
        model.erase(model.begin() + s.pos, model.begin() + s.pos + s.insertedBytes.size());
        model.insert(model.begin() + s.pos, s.removedBytes.begin(), s.removedBytes.end());
    }

    // The piece lists a save must keep readable.
    std::vector<bytegrid::Pieces*> Kept()
    {
        std::vector<bytegrid::Pieces*> keep;
        for (Step& s : steps) {
            keep.push_back(&s.removed);
            keep.push_back(&s.inserted);
        }
        return keep;
    }

    bool ReadsLikeModel() const
    {
        Bytes all(model.size());
        return table.Length() == model.size() && table.Read(0, all.size(), all.data()) == all.size() && all == model;
    }

    // Every kept step still reads what it held when it was made.
    bool StepsReadAsMade() const
    {
        for (const Step& s : steps)
            if (BytesOf(table, s.removed) != s.removedBytes || BytesOf(table, s.inserted) != s.insertedBytes)
                return false;
        return true;
    }
};

} // namespace piecemodel
