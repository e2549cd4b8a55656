#include "document.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

#include <emmintrin.h>

namespace bytegrid {

namespace {

constexpr size_t kSearchChunk = 1 << 20;
constexpr DWORD kWriteChunk = 16u << 20;

uint8_t Fold(uint8_t c) { return c >= 'A' && c <= 'Z' ? static_cast<uint8_t>(c + 32) : c; }
uint8_t Unfold(uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 32) : c; }

// First place in hay[0, n) where pat[0, m) starts, or n. Without matchCase
// pat is folded and the bytes of hay are compared folded. Candidates are the
// places whose first and last bytes fit, sixteen places at a time.
size_t ScanForward(const uint8_t* hay, size_t n, const uint8_t* pat, size_t m, bool matchCase)
{
    if (m == 0 || m > n)
        return n;
    const size_t lastStart = n - m;
    auto fits = [&](const uint8_t* at) {
        if (matchCase)
            return std::memcmp(at, pat, m) == 0;
        for (size_t k = 0; k < m; ++k)
            if (Fold(at[k]) != pat[k])
                return false;
        return true;
    };
    const uint8_t f = pat[0], l = pat[m - 1];
    const __m128i f1 = _mm_set1_epi8(static_cast<char>(f));
    const __m128i f2 = _mm_set1_epi8(static_cast<char>(matchCase ? f : Unfold(f)));
    const __m128i l1 = _mm_set1_epi8(static_cast<char>(l));
    const __m128i l2 = _mm_set1_epi8(static_cast<char>(matchCase ? l : Unfold(l)));
    size_t i = 0;
    for (; i + 15 <= lastStart; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i + m - 1));
        const __m128i ma = _mm_or_si128(_mm_cmpeq_epi8(a, f1), _mm_cmpeq_epi8(a, f2));
        const __m128i mb = _mm_or_si128(_mm_cmpeq_epi8(b, l1), _mm_cmpeq_epi8(b, l2));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(ma, mb)));
        while (mask) {
            const size_t k = i + static_cast<size_t>(__builtin_ctz(mask));
            if (fits(hay + k))
                return k;
            mask &= mask - 1;
        }
    }
    for (; i <= lastStart; ++i)
        if (fits(hay + i))
            return i;
    return n;
}

// The pieces of `list` that cover [skip, skip + len) of its bytes.
Pieces SubList(const Pieces& list, uint64_t skip, uint64_t len)
{
    Pieces out;
    for (const Piece& p : list) {
        if (len == 0)
            break;
        if (skip >= p.length) {
            skip -= p.length;
            continue;
        }
        Piece q = p;
        q.offset += skip;
        q.length -= skip;
        skip = 0;
        if (q.length > len)
            q.length = len;
        len -= q.length;
        out.push_back(q);
    }
    return out;
}

bool WriteAll(HANDLE h, const uint8_t* data, size_t n, DWORD* error)
{
    while (n > 0) {
        DWORD part = n > kWriteChunk ? kWriteChunk : static_cast<DWORD>(n);
        DWORD written = 0;
        if (!WriteFile(h, data, part, &written, nullptr) || written != part) {
            *error = GetLastError();
            if (*error == 0)
                *error = ERROR_WRITE_FAULT;
            return false;
        }
        data += part;
        n -= part;
    }
    return true;
}

} // namespace

Document::Document() { New(); }

void Document::New()
{
    table_.Clear();
    file_.reset();
    history_.clear();
    done_ = savedAt_ = 0;
    sealed_ = true;
}

bool Document::Load(const std::string& path, DWORD* error)
{
    std::unique_ptr<MappedFile> f = MappedFile::Open(path, error);
    if (!f)
        return false;
    history_.clear();
    done_ = savedAt_ = 0;
    sealed_ = true;
    table_.Clear();
    table_.Reset(f->Data(), f->Size());
    file_ = std::move(f); // the previous mapping goes only now
    return true;
}

int Document::ByteAt(uint64_t pos) const
{
    uint8_t b;
    return table_.Read(pos, 1, &b) ? b : -1;
}

bool Document::Replace(uint64_t pos, uint64_t oldLen, const uint8_t* data, size_t n, bool typing,
                       const CaretState& before, const CaretState& after, DWORD* error)
{
    uint64_t len = table_.Length();
    if (pos > len)
        pos = len;
    if (oldLen > len - pos)
        oldLen = len - pos;
    if (oldLen == 0 && n == 0)
        return true;
    if (len - oldLen + n > kMaxDocumentSize) {
        *error = ERROR_FILE_TOO_LARGE;
        return false;
    }
    try {
        Pieces inserted;
        if (n)
            inserted.push_back(table_.Store(data, n));
        Pieces removed = table_.Slice(pos, oldLen);

        // A new change drops the steps that were undone.
        history_.resize(done_);
        if (savedAt_ != SIZE_MAX && savedAt_ > done_)
            savedAt_ = SIZE_MAX;

        bool merge = false;
        uint64_t stepEnd = 0;
        if (typing && !sealed_ && done_ > 0 && history_.back().typing && savedAt_ != done_) {
            const Step& s = history_.back();
            stepEnd = s.pos + TotalLength(s.inserted);
            merge = pos >= s.pos && pos <= stepEnd;
        }
        table_.Splice(pos, oldLen, inserted);
        if (merge) {
            Step& s = history_.back();
            // Bytes removed beyond the step's own bytes were there before it.
            uint64_t beyond = pos + oldLen > stepEnd ? pos + oldLen - stepEnd : 0;
            if (beyond) {
                Pieces tail = SubList(removed, oldLen - beyond, beyond);
                s.removed.insert(s.removed.end(), tail.begin(), tail.end());
            }
            uint64_t span = TotalLength(s.inserted) + beyond - oldLen + n;
            s.inserted = table_.Slice(s.pos, span);
            s.after = after;
        } else {
            Step s;
            s.pos = pos;
            s.removed = std::move(removed);
            s.inserted = std::move(inserted);
            s.before = before;
            s.after = after;
            s.typing = typing;
            history_.push_back(std::move(s));
            ++done_;
        }
    } catch (const std::bad_alloc&) {
        *error = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    sealed_ = !typing;
    return true;
}

bool Document::Undo(CaretState* caret)
{
    if (!done_)
        return false;
    const Step& s = history_[done_ - 1];
    table_.Splice(s.pos, TotalLength(s.inserted), s.removed);
    --done_;
    *caret = s.before;
    sealed_ = true;
    return true;
}

bool Document::Redo(CaretState* caret)
{
    if (done_ >= history_.size())
        return false;
    const Step& s = history_[done_];
    table_.Splice(s.pos, TotalLength(s.removed), s.inserted);
    ++done_;
    *caret = s.after;
    sealed_ = true;
    return true;
}

bool Document::Find(const std::vector<uint8_t>& pattern, bool matchCase, bool up, uint64_t from,
                    uint64_t* found) const
{
    const uint64_t len = table_.Length();
    const size_t m = pattern.size();
    if (m == 0 || m > len)
        return false;
    std::vector<uint8_t> pat(pattern);
    if (!matchCase)
        std::transform(pat.begin(), pat.end(), pat.begin(), Fold);
    std::vector<uint8_t> buf(kSearchChunk + m - 1);
    auto load = [&](uint64_t at, size_t n) {
        table_.Read(at, n, buf.data());
        if (!matchCase)
            std::transform(buf.begin(), buf.begin() + n, buf.begin(), Fold);
    };

    if (!up) {
        // Windows inside one piece (the mapped original, mostly) are searched
        // in place; only windows across pieces are copied together first.
        for (uint64_t start = from; start <= len - m; start += kSearchChunk) {
            size_t n = static_cast<size_t>(std::min<uint64_t>(kSearchChunk + m - 1, len - start));
            const uint8_t* hay = table_.Contiguous(start, n);
            if (!hay) {
                table_.Read(start, n, buf.data());
                hay = buf.data();
            }
            const size_t at = ScanForward(hay, n, pat.data(), m, matchCase);
            if (at < n) {
                *found = start + at;
                return true;
            }
        }
        return false;
    }

    // Searching up: look for the reversed pattern in reversed windows that
    // move from `from` towards the start.
    if (from == 0)
        return false;
    std::vector<uint8_t> rpat(pat.rbegin(), pat.rend());
    std::boyer_moore_horspool_searcher<std::vector<uint8_t>::const_iterator> searcher(rpat.cbegin(),
                                                                                      rpat.cend());
    uint64_t last = std::min<uint64_t>(from - 1, len - m); // last start allowed
    for (;;) {
        uint64_t first = last + 1 > kSearchChunk ? last + 1 - kSearchChunk : 0;
        size_t n = static_cast<size_t>(last + m - first);
        load(first, n);
        std::reverse(buf.begin(), buf.begin() + n);
        auto end = buf.cbegin() + n;
        auto it = std::search(buf.cbegin(), end, searcher);
        if (it != end) {
            *found = first + (n - static_cast<size_t>(it - buf.cbegin()) - m);
            return true;
        }
        if (first == 0)
            return false;
        last = first - 1;
    }
}

bool Document::Save(const std::string& path, DWORD* error)
{
    *error = 0;
    if (path.empty()) {
        *error = ERROR_INVALID_PARAMETER;
        return false;
    }
    char full[MAX_PATH * 2];
    char* name = nullptr;
    DWORD got = GetFullPathNameA(path.c_str(), sizeof full, full, &name);
    if (got == 0 || got >= sizeof full || !name || !*name) {
        *error = got == 0 ? GetLastError() : ERROR_INVALID_NAME;
        return false;
    }
    std::string target(full);
    std::string folder(full, static_cast<size_t>(name - full));

    DWORD attrs = GetFileAttributesA(target.c_str());
    bool exists = attrs != INVALID_FILE_ATTRIBUTES;
    if (exists && (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        *error = ERROR_ACCESS_DENIED;
        return false;
    }

    // Write everything into a temporary file beside the target first.
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder.c_str(), "bgt", 0, temp)) {
        *error = GetLastError();
        return false;
    }
    HANDLE h = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        DeleteFileA(temp);
        return false;
    }
    bool ok = true;
    table_.ForEachRun(0, table_.Length(), [&](const uint8_t* bytes, size_t n, bool) {
        if (ok)
            ok = WriteAll(h, bytes, n, error);
    });
    if (ok && !FlushFileBuffers(h)) {
        *error = GetLastError();
        ok = false;
    }
    if (!CloseHandle(h) && ok) {
        *error = GetLastError();
        ok = false;
    }
    if (!ok) {
        DeleteFileA(temp);
        return false;
    }

    if (exists && file_ && file_->IsSameFile(target)) {
        if (!SaveOverMappedFile(target, temp, error))
            return false;
    } else if (!MoveFileExA(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *error = GetLastError();
        DeleteFileA(temp);
        return false;
    }
    if (exists && (attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        SetFileAttributesA(target.c_str(), attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                    FILE_ATTRIBUTE_ARCHIVE));
    savedAt_ = done_;
    sealed_ = true;
    return true;
}

bool Document::SaveOverMappedFile(const std::string& target, const std::string& temp, DWORD* error)
{
    // The shown bytes still come from the target, which cannot be replaced
    // while it is mapped. It can be renamed, though: move it aside, put the
    // new file in its place, then switch over to the new file.
    std::string folder = target.substr(0, target.find_last_of("\\/") + 1);
    char aside[MAX_PATH];
    if (!GetTempFileNameA(folder.c_str(), "bgo", 0, aside)) {
        *error = GetLastError();
        DeleteFileA(temp.c_str());
        return false;
    }
    if (!MoveFileExA(target.c_str(), aside, MOVEFILE_REPLACE_EXISTING)) {
        *error = GetLastError();
        DeleteFileA(temp.c_str());
        DeleteFileA(aside);
        return false;
    }
    if (!MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *error = GetLastError();
        MoveFileExA(aside, target.c_str(), MOVEFILE_REPLACE_EXISTING);
        DeleteFileA(temp.c_str());
        return false;
    }
    // Saved. The old file stays mapped under its temporary name until the
    // document lets go of it.
    file_->DeleteOnRelease(aside);
    DWORD openError = 0;
    std::unique_ptr<MappedFile> fresh = MappedFile::Open(target, &openError);
    if (!fresh || fresh->Size() != table_.Length())
        return true; // keep reading the old bytes; they are still valid
    std::vector<Pieces*> keep;
    for (Step& s : history_) {
        keep.push_back(&s.removed);
        keep.push_back(&s.inserted);
    }
    if (!table_.Rebase(fresh->Data(), fresh->Size(), keep)) {
        // No memory to keep the old bytes of the undo history: drop it.
        history_.clear();
        done_ = 0;
    }
    file_ = std::move(fresh);
    return true;
}

} // namespace bytegrid
