// Read-only access to one file through mapped views of bounded size, so a
// result file of any size costs the process only one view of address space.
#pragma once

#include <windows.h>
#include <cstdint>

namespace pairview {

class CMappedFile {
public:
    // Views span viewSpan bytes at most (rounded up to at least 128 KB).
    explicit CMappedFile(std::uint64_t viewSpan = kDefaultViewSpan)
        : span_(viewSpan < kMinViewSpan ? kMinViewSpan : viewSpan) {}
    ~CMappedFile() { close(); }
    CMappedFile(const CMappedFile&) = delete;
    CMappedFile& operator=(const CMappedFile&) = delete;

    // Opens the file for reading, shared for reading and deleting. An empty
    // file opens with nothing mapped.
    bool open(const char* path);
    // Copies count bytes from the file offset into dest. Fails, copying
    // nothing past the end, when the range does not lie inside the file.
    bool read(void* dest, std::uint64_t offset, std::uint64_t count);
    void close();

    bool isOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    std::uint64_t size() const { return size_; }

    // Largest piece copied from one view; views start on 64 KB boundaries.
    static constexpr std::uint64_t kPiece = 0x8000;
    static constexpr std::uint64_t kGranule = 0x10000;
    static constexpr std::uint64_t kMinViewSpan = 0x20000;
    static constexpr std::uint64_t kDefaultViewSpan = sizeof(void*) >= 8 ? (16u << 20) : (1u << 20);

private:
    bool mapViewFor(std::uint64_t offset, std::uint64_t count);

    std::uint64_t span_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    HANDLE mapping_ = nullptr;
    std::uint64_t size_ = 0;
    const unsigned char* view_ = nullptr;
    std::uint64_t viewOffset_ = 0;
    std::uint64_t viewLength_ = 0;
};

} // namespace pairview
