// Temporary folders and small file helpers shared by the Bytegrid tests.
#pragma once

#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

#include <qmtest/files.h>

namespace bgtest {

inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    bool ok = bytes.empty() || (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) &&
                                n == bytes.size());
    CloseHandle(h);
    return ok;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    LARGE_INTEGER size;
    GetFileSizeEx(h, &size);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD n = 0;
    if (!bytes.empty())
        ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    bytes.resize(n);
    CloseHandle(h);
    return bytes;
}

// Reads `count` bytes at `offset` without loading the whole file.
inline std::vector<uint8_t> ReadAt(const std::string& path, uint64_t offset, DWORD count)
{
    std::vector<uint8_t> bytes(count);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
    DWORD n = 0;
    ReadFile(h, bytes.data(), count, &n, nullptr);
    bytes.resize(n);
    CloseHandle(h);
    return bytes;
}

// A file of `size` bytes (sparse where the file system allows), with the
// given bytes written at the given offsets.
inline bool MakeLargeFile(const std::string& path, uint64_t size,
                          const std::vector<std::pair<uint64_t, std::string>>& marks = {})
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD ignored;
    DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    bool ok = SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    for (const auto& m : marks) {
        at.QuadPart = static_cast<LONGLONG>(m.first);
        DWORD n = 0;
        ok = ok && SetFilePointerEx(h, at, nullptr, FILE_BEGIN) &&
             WriteFile(h, m.second.data(), static_cast<DWORD>(m.second.size()), &n, nullptr);
    }
    CloseHandle(h);
    return ok;
}

inline std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

} // namespace bgtest
