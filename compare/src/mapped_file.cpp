#include "mapped_file.h"

#include <cstring>

namespace pairview {

bool CMappedFile::open(const char* path)
{
    close();
    if (!path)
        return false;
    file_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file_, &size)) {
        close();
        return false;
    }
    size_ = static_cast<std::uint64_t>(size.QuadPart);
    if (size_ == 0)
        return true; // nothing to map: a mapping of an empty file is refused
    mapping_ = CreateFileMappingA(file_, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping_) {
        close();
        return false;
    }
    return true;
}

void CMappedFile::close()
{
    if (view_)
        UnmapViewOfFile(view_);
    view_ = nullptr;
    viewOffset_ = viewLength_ = 0;
    if (mapping_)
        CloseHandle(mapping_);
    mapping_ = nullptr;
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    size_ = 0;
}

// A piece of at most kPiece bytes at offset a lies inside the view that starts
// on the 64 KB boundary at or below a, since a view spans at least 128 KB (or
// reaches the end of the file). The current view is kept while it holds the piece.
bool CMappedFile::mapViewFor(std::uint64_t a, std::uint64_t count)
{
    if (view_ && a >= viewOffset_ && a - viewOffset_ <= viewLength_ && count <= viewLength_ - (a - viewOffset_))
        return true;
    if (view_)
        UnmapViewOfFile(view_);
    view_ = nullptr;
    viewLength_ = 0;
    const std::uint64_t start = a & ~(kGranule - 1);
    const std::uint64_t length = size_ - start < span_ ? size_ - start : span_;
    void* p = MapViewOfFile(mapping_, FILE_MAP_READ, static_cast<DWORD>(start >> 32),
                            static_cast<DWORD>(start & 0xFFFFFFFFu), static_cast<SIZE_T>(length));
    if (!p)
        return false;
    view_ = static_cast<const unsigned char*>(p);
    viewOffset_ = start;
    viewLength_ = length;
    return true;
}

bool CMappedFile::read(void* dest, std::uint64_t offset, std::uint64_t count)
{
    if (count == 0)
        return offset <= size_;
    if (!mapping_ || offset > size_ || count > size_ - offset)
        return false;
    auto* out = static_cast<unsigned char*>(dest);
    while (count > 0) {
        std::uint64_t piece = count < kPiece ? count : kPiece;
        if (!mapViewFor(offset, piece))
            return false;
        std::uint64_t at = offset - viewOffset_;
        if (at > viewLength_ || piece > viewLength_ - at)
            return false; // cannot happen with the view placement above; never read outside
        std::memcpy(out, view_ + at, static_cast<size_t>(piece));
        out += piece;
        offset += piece;
        count -= piece;
    }
    return true;
}

} // namespace pairview
