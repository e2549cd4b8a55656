#include "piece_table.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace bytegrid {

namespace {
constexpr size_t kBlockSize = 1 << 20;
}

uint64_t TotalLength(const Pieces& pieces)
{
    uint64_t n = 0;
    for (const Piece& p : pieces)
        n += p.length;
    return n;
}

void PieceTable::Reset(const uint8_t* original, uint64_t length)
{
    original_ = original;
    pieces_.clear();
    if (length)
        pieces_.push_back(Piece{0, 0, length});
    Normalize();
}

void PieceTable::Clear()
{
    blocks_.clear();
    current_ = SIZE_MAX;
    storeSize_ = 0;
    Reset(nullptr, 0);
}

const uint8_t* PieceTable::Bytes(const Piece& p) const
{
    if (p.source == 0)
        return original_ + p.offset;
    return blocks_[p.source - 1].data.get() + p.offset;
}

size_t PieceTable::Find(uint64_t pos) const
{
    // starts_ is sorted; the piece holding pos is the last one starting at
    // or before it.
    auto it = std::upper_bound(starts_.begin(), starts_.end(), pos);
    if (it == starts_.begin())
        return 0;
    return static_cast<size_t>(it - starts_.begin()) - 1;
}

size_t PieceTable::Read(uint64_t pos, size_t n, uint8_t* out) const
{
    if (pos >= length_)
        return 0;
    if (n > length_ - pos)
        n = static_cast<size_t>(length_ - pos);
    size_t done = 0;
    ForEachRun(pos, n, [&](const uint8_t* bytes, size_t count, bool) {
        std::memcpy(out + done, bytes, count);
        done += count;
    });
    return done;
}

const uint8_t* PieceTable::Contiguous(uint64_t pos, size_t n) const
{
    if (pos >= length_ || n > length_ - pos || pieces_.empty())
        return nullptr;
    const size_t i = Find(pos);
    const uint64_t skip = pos - starts_[i];
    if (pieces_[i].length - skip < n)
        return nullptr;
    return Bytes(pieces_[i]) + skip;
}

Piece PieceTable::Store(const uint8_t* data, size_t n)
{
    if (n == 0)
        return Piece{};
    Block* b = current_ < blocks_.size() ? &blocks_[current_] : nullptr;
    if (!b || b->capacity - b->used < n) {
        Block fresh;
        fresh.capacity = n > kBlockSize / 4 ? n : kBlockSize;
        if (fresh.capacity > storeLimit_ - std::min(storeLimit_, storeSize_))
            throw std::bad_alloc();
        fresh.data.reset(new uint8_t[fresh.capacity]);
        blocks_.push_back(std::move(fresh));
        storeSize_ += blocks_.back().capacity;
        b = &blocks_.back();
        // Small appends keep filling the shared block; a big one gets a
        // block of its own and leaves the shared block current.
        if (n <= kBlockSize / 4 || current_ >= blocks_.size())
            current_ = blocks_.size() - 1;
    }
    size_t index = static_cast<size_t>(b - blocks_.data());
    std::memcpy(b->data.get() + b->used, data, n);
    Piece p{static_cast<uint32_t>(index + 1), b->used, n};
    b->used += n;
    return p;
}

Pieces PieceTable::Slice(uint64_t pos, uint64_t len) const
{
    Pieces out;
    if (len == 0 || pos >= length_)
        return out;
    size_t i = Find(pos);
    while (len > 0 && i < pieces_.size()) {
        Piece p = pieces_[i];
        uint64_t skip = pos - starts_[i];
        p.offset += skip;
        p.length -= skip;
        if (p.length > len)
            p.length = len;
        out.push_back(p);
        pos += p.length;
        len -= p.length;
        ++i;
    }
    return out;
}

void PieceTable::Splice(uint64_t pos, uint64_t len, const Pieces& with)
{
    if (pos > length_)
        pos = length_;
    if (len > length_ - pos)
        len = length_ - pos;
    Pieces result;
    result.reserve(pieces_.size() + with.size() + 2);
    size_t i = 0;
    // Pieces wholly before pos.
    for (; i < pieces_.size() && starts_[i] + pieces_[i].length <= pos; ++i)
        result.push_back(pieces_[i]);
    // The piece cut by pos keeps its head.
    if (i < pieces_.size() && starts_[i] < pos) {
        Piece head = pieces_[i];
        head.length = pos - starts_[i];
        result.push_back(head);
    }
    for (const Piece& p : with)
        if (p.length)
            result.push_back(p);
    // Skip to the piece holding pos + len and keep its tail.
    uint64_t end = pos + len;
    for (; i < pieces_.size() && starts_[i] + pieces_[i].length <= end; ++i) {
    }
    if (i < pieces_.size()) {
        Piece tail = pieces_[i];
        uint64_t cut = end > starts_[i] ? end - starts_[i] : 0;
        tail.offset += cut;
        tail.length -= cut;
        result.push_back(tail);
        for (++i; i < pieces_.size(); ++i)
            result.push_back(pieces_[i]);
    }
    pieces_.swap(result);
    Normalize();
}

void PieceTable::Normalize()
{
    Pieces merged;
    merged.reserve(pieces_.size());
    for (const Piece& p : pieces_) {
        if (p.length == 0)
            continue;
        if (!merged.empty()) {
            Piece& last = merged.back();
            if (last.source == p.source && last.offset + last.length == p.offset) {
                last.length += p.length;
                continue;
            }
        }
        merged.push_back(p);
    }
    pieces_.swap(merged);
    starts_.resize(pieces_.size());
    uint64_t at = 0;
    for (size_t i = 0; i < pieces_.size(); ++i) {
        starts_[i] = at;
        at += pieces_[i].length;
    }
    length_ = at;
}

bool PieceTable::Rebase(const uint8_t* original, uint64_t length, const std::vector<Pieces*>& keep)
{
    // Gather the ranges of the old original still referred to, merged.
    std::vector<std::pair<uint64_t, uint64_t>> ranges; // [begin, end)
    for (const Pieces* list : keep)
        for (const Piece& p : *list)
            if (p.source == 0 && p.length)
                ranges.emplace_back(p.offset, p.offset + p.length);
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<uint64_t, uint64_t>> merged;
    for (const auto& r : ranges) {
        if (!merged.empty() && r.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, r.second);
        else
            merged.push_back(r);
    }
    bool ok = true;
    std::vector<Piece> copies;
    try {
        copies.reserve(merged.size());
        for (const auto& r : merged)
            copies.push_back(Store(original_ + r.first, static_cast<size_t>(r.second - r.first)));
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (ok) {
        for (Pieces* list : keep)
            for (Piece& p : *list) {
                if (p.source != 0 || !p.length)
                    continue;
                auto it = std::upper_bound(merged.begin(), merged.end(),
                                           std::make_pair(p.offset, UINT64_MAX));
                size_t k = static_cast<size_t>(it - merged.begin()) - 1;
                const Piece& c = copies[k];
                p.offset = c.offset + (p.offset - merged[k].first);
                p.source = c.source;
            }
    }
    Reset(original, length);
    return ok;
}

} // namespace bytegrid
