// The bytes of a document: an unchanging original (a file mapping) and an
// append-only store of added bytes, stitched together by a list of pieces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace bytegrid {

struct Piece {
    uint32_t source = 0; // 0: the original, n > 0: block n - 1 of the added store
    uint64_t offset = 0; // first byte in the source
    uint64_t length = 0;
    bool operator==(const Piece& o) const
    {
        return source == o.source && offset == o.offset && length == o.length;
    }
};

using Pieces = std::vector<Piece>;

uint64_t TotalLength(const Pieces& pieces);

class PieceTable {
public:
    // Shows `length` bytes at `original` (which must outlive its use).
    void Reset(const uint8_t* original, uint64_t length);
    // Forgets the added store as well (a new document).
    void Clear();

    uint64_t Length() const { return length_; }
    const Pieces& PieceList() const { return pieces_; }

    // Copies up to n bytes from pos; returns the count copied.
    size_t Read(uint64_t pos, size_t n, uint8_t* out) const;

    // The bytes of [pos, pos + n) in place when one piece holds them all,
    // else null (nothing is copied).
    const uint8_t* Contiguous(uint64_t pos, size_t n) const;

    // Calls fn(const uint8_t *bytes, size_t count, bool edited) for the runs
    // of [pos, pos + n) in order; `edited` is true for added bytes.
    template <class Fn>
    void ForEachRun(uint64_t pos, uint64_t n, Fn fn) const
    {
        size_t i = Find(pos);
        while (n > 0 && i < pieces_.size()) {
            const Piece& p = pieces_[i];
            uint64_t skip = pos - starts_[i];
            uint64_t take = p.length - skip;
            if (take > n)
                take = n;
            fn(Bytes(p) + skip, static_cast<size_t>(take), p.source != 0);
            pos += take;
            n -= take;
            ++i;
        }
    }

    // Appends bytes to the added store; the returned piece covers them.
    // Throws std::bad_alloc when memory runs out, or when a new block would
    // take the store past its limit.
    Piece Store(const uint8_t* data, size_t n);

    // Bytes allocated for the added store (whole blocks, used or not), and
    // the most it may allocate (no limit by default; tests set one to run a
    // table out of memory where a failed allocation would end the process).
    uint64_t StoreSize() const { return storeSize_; }
    void SetStoreLimit(uint64_t bytes) { storeLimit_ = bytes; }

    // The pieces that make up [pos, pos + len).
    Pieces Slice(uint64_t pos, uint64_t len) const;

    // Replaces [pos, pos + len) with the given pieces.
    void Splice(uint64_t pos, uint64_t len, const Pieces& with);

    // Points the table at a new original holding exactly the current bytes
    // (the document was just saved into it). Pieces in `keep` that refer to
    // the old original are first copied into the added store so they stay
    // valid after the old original goes away. Returns false (and leaves
    // `keep` untouched) when memory runs out for that copy; the table is
    // rebased either way.
    bool Rebase(const uint8_t* original, uint64_t length, const std::vector<Pieces*>& keep);

    const uint8_t* Bytes(const Piece& p) const;

private:
    struct Block {
        std::unique_ptr<uint8_t[]> data;
        size_t capacity = 0;
        size_t used = 0;
    };

    size_t Find(uint64_t pos) const; // index of the piece holding pos
    void Normalize();                // merge neighbours, recompute starts

    const uint8_t* original_ = nullptr;
    uint64_t length_ = 0;
    Pieces pieces_;
    std::vector<uint64_t> starts_; // document offset of each piece
    std::vector<Block> blocks_;
    size_t current_ = SIZE_MAX; // block taking small appends
    uint64_t storeSize_ = 0;    // sum of the blocks' capacities
    uint64_t storeLimit_ = UINT64_MAX;
};

} // namespace bytegrid
