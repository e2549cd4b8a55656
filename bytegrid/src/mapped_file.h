// A read-only view of a whole file, mapped into memory.
#pragma once

#include <windows.h>
#include <cstdint>
#include <memory>
#include <string>

namespace bytegrid {

class MappedFile {
public:
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Opens and maps the file. Files of more than 0xFFFFFFFF bytes are
    // refused with ERROR_FILE_TOO_LARGE. On failure returns null and sets
    // *error to the Win32 error code.
    static std::unique_ptr<MappedFile> Open(const std::string& path, DWORD* error);

    const uint8_t* Data() const { return view_; }
    uint64_t Size() const { return size_; }
    // The path the file was opened under (it may have been renamed since).
    const std::string& Path() const { return path_; }

    // True when the path names this very file (same volume and file id).
    bool IsSameFile(const std::string& path) const;

    // The file was renamed to this path, which is to be deleted once the
    // mapping is released.
    void DeleteOnRelease(const std::string& path) { deletePath_ = path; }

private:
    MappedFile() = default;

    HANDLE file_ = INVALID_HANDLE_VALUE;
    HANDLE mapping_ = nullptr;
    const uint8_t* view_ = nullptr;
    uint64_t size_ = 0;
    DWORD volume_ = 0, indexHigh_ = 0, indexLow_ = 0;
    std::string path_;
    std::string deletePath_;
};

// Largest document the control keeps (offsets travel in 32-bit fields).
constexpr uint64_t kMaxDocumentSize = 0xFFFFFFFFull;

} // namespace bytegrid
