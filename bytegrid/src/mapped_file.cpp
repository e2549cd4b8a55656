#include "mapped_file.h"

namespace bytegrid {

namespace {

bool FileIdentity(HANDLE h, DWORD* volume, DWORD* high, DWORD* low)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info))
        return false;
    *volume = info.dwVolumeSerialNumber;
    *high = info.nFileIndexHigh;
    *low = info.nFileIndexLow;
    return true;
}

} // namespace

std::unique_ptr<MappedFile> MappedFile::Open(const std::string& path, DWORD* error)
{
    *error = 0;
    if (path.empty()) {
        *error = ERROR_INVALID_PARAMETER;
        return nullptr;
    }
    // Others may read the file (and rename it) while it is shown; writers
    // are kept out so the view cannot change underneath. When a writer
    // already has the file open, share with it rather than refuse.
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION)
        h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return nullptr;
    }
    std::unique_ptr<MappedFile> f(new MappedFile);
    f->file_ = h;
    f->path_ = path;

    LARGE_INTEGER size;
    if (!GetFileSizeEx(h, &size)) {
        *error = GetLastError();
        return nullptr;
    }
    if (size.QuadPart < 0 || static_cast<uint64_t>(size.QuadPart) > kMaxDocumentSize) {
        *error = ERROR_FILE_TOO_LARGE;
        return nullptr;
    }
    f->size_ = static_cast<uint64_t>(size.QuadPart);
    FileIdentity(h, &f->volume_, &f->indexHigh_, &f->indexLow_);
    if (f->size_ == 0)
        return f; // nothing to map
    f->mapping_ = CreateFileMappingA(h, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!f->mapping_) {
        *error = GetLastError();
        return nullptr;
    }
    f->view_ = static_cast<const uint8_t*>(MapViewOfFile(f->mapping_, FILE_MAP_READ, 0, 0, 0));
    if (!f->view_) {
        *error = GetLastError();
        if (*error == 0)
            *error = ERROR_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    return f;
}

MappedFile::~MappedFile()
{
    if (view_)
        UnmapViewOfFile(view_);
    if (mapping_)
        CloseHandle(mapping_);
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
    if (!deletePath_.empty())
        DeleteFileA(deletePath_.c_str());
}

bool MappedFile::IsSameFile(const std::string& path) const
{
    HANDLE h = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD volume, high, low;
    bool same = FileIdentity(h, &volume, &high, &low) && volume == volume_ && high == indexHigh_ &&
                low == indexLow_;
    CloseHandle(h);
    if (same && (high | low) == 0) {
        // No file ids from this file system: fall back to comparing paths.
        char a[MAX_PATH * 2], b[MAX_PATH * 2];
        if (!GetFullPathNameA(path.c_str(), sizeof a, a, nullptr) ||
            !GetFullPathNameA(path_.c_str(), sizeof b, b, nullptr))
            return false;
        return lstrcmpiA(a, b) == 0;
    }
    return same;
}

} // namespace bytegrid
