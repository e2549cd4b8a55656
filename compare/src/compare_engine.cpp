// The file side of the compare engine: finds the files a compare path
// stands for, reads both, runs the line compare (line_compare.cpp) and writes
// the result file.
#include "compare_engine.h"

#include <windows.h>

#include <fx/codepage.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace pairview {

namespace {

// ---------------------------------------------------------------------------
// Folder walk

std::string Lower(std::string s)
{
    if (!s.empty())
        CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        return folder + name;
    return folder + "\\" + name;
}

std::string ScanDirectory(const std::string& folder, int depth)
{
    if (depth > 64)
        return std::string();
    struct Entry {
        std::string key, name;
        bool operator<(const Entry& o) const { return key < o.key; }
    };
    std::vector<Entry> files, folders;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA(JoinPath(folder, "*.*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return std::string();
    do {
        std::string name = fd.cFileName;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // Links to folders are not followed: they could lead round in a circle.
            if (name != "." && name != ".." && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                folders.push_back({Lower(name), name});
        } else {
            files.push_back({Lower(name), name});
        }
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    if (!files.empty())
        return JoinPath(folder, std::min_element(files.begin(), files.end())->name);
    std::sort(folders.begin(), folders.end());
    for (const Entry& f : folders) {
        std::string first = ScanDirectory(JoinPath(folder, f.name), depth + 1);
        if (!first.empty())
            return first;
    }
    return std::string();
}

// ---------------------------------------------------------------------------
// Result file

// Writes the rows into the result file through a buffer.
class ResultWriter : public ResultSink {
public:
    explicit ResultWriter(const char* path) : buffer_(new char[kBufferSize])
    {
        handle_ = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~ResultWriter()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    bool created() const { return handle_ != INVALID_HANDLE_VALUE; }

    void put(const char* p, std::size_t n) override
    {
        while (n > 0 && ok_) {
            std::size_t room = kBufferSize - used_;
            std::size_t take = n < room ? n : room;
            std::memcpy(buffer_.get() + used_, p, take);
            used_ += take;
            p += take;
            n -= take;
            if (used_ == kBufferSize)
                flush();
        }
    }
    bool finish()
    {
        flush();
        if (ok_ && !CloseHandle(handle_))
            ok_ = false;
        else if (!ok_)
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return ok_;
    }

private:
    void flush()
    {
        if (!ok_ || used_ == 0)
            return;
        DWORD written = 0;
        if (!WriteFile(handle_, buffer_.get(), static_cast<DWORD>(used_), &written, nullptr) || written != used_)
            ok_ = false;
        used_ = 0;
    }

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool ok_ = true;
    std::size_t used_ = 0;
    static constexpr std::size_t kBufferSize = 1 << 16;
    std::unique_ptr<char[]> buffer_;
};

CompareStatus WriteCompareResult(const char* path, const BudgetVector<OutSection>* composite, const TextLines* left,
                                 const TextLines* right)
{
    ResultWriter writer(path);
    if (!writer.created())
        return CompareStatus::ResultNotCreated;
    if (composite)
        WriteResultRows(*composite, *left, *right, writer);
    if (!writer.finish()) {
        DeleteFileA(path);
        return CompareStatus::ResultWriteFailed;
    }
    return CompareStatus::Ok;
}

std::size_t DefaultMemoryLimit()
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    unsigned long long limit = 512ull << 20;
    if (GlobalMemoryStatusEx(&status)) {
        unsigned long long avail = status.ullAvailPhys - status.ullAvailPhys / 4;
        if (avail > limit)
            limit = avail;
        if (limit > status.ullAvailVirtual / 2)
            limit = status.ullAvailVirtual / 2;
    }
    if (limit > static_cast<std::size_t>(-1))
        limit = static_cast<std::size_t>(-1);
    return static_cast<std::size_t>(limit);
}

// Shows the wait cursor while the files are read.
class WaitCursor {
public:
    WaitCursor() : old_(SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)))) {}
    ~WaitCursor() { SetCursor(old_); }

private:
    HCURSOR old_;
};

void ReportOpenFailure(const char* path)
{
    DWORD error = GetLastError();
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string line = "pairview: cannot open ";
    line += path;
    line += ": ";
    line += text ? text : "unknown error";
    line += "\n";
    if (text)
        LocalFree(text);
    OutputDebugStringA(line.c_str());
}

// The letters of an ANSI file come from the system's legacy code page, while
// the result file, and the window that draws it, speak UTF-8 (the process
// code page) as the Unicode encodings do: an ANSI file's text is turned into
// UTF-8. Pure ASCII is the same in both and stays as it is.
void AnsiLinesToUtf8(TextLines& out)
{
    if (out.encoding.code != kAnsi)
        return;
    const char* text = out.text.data();
    const std::size_t n = out.text.size();
    if (std::none_of(text, text + n, [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        return;
    if (n > static_cast<std::size_t>(0x7FFFFFFF))
        throw std::bad_alloc();
    // A short UTF-8 file without a mark is not told apart by its head: well-
    // formed UTF-8 stays as it is.
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, static_cast<int>(n), nullptr, 0) > 0)
        return;
    const UINT cp = fx::LegacyAnsiCodePage();
    const int wide = MultiByteToWideChar(cp, 0, text, static_cast<int>(n), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(wide > 0 ? wide : 0), L'\0');
    if (wide <= 0 || MultiByteToWideChar(cp, 0, text, static_cast<int>(n), &w[0], wide) != wide)
        return; // not this code page's text after all: the bytes stay
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes <= 0 || WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, &utf8[0], bytes, nullptr, nullptr) != bytes)
        return;
    w = std::wstring();
    DecodeLines(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size(), out.encoding, out);
}

} // namespace

bool ReadFileLines(const char* path, TextLines& out)
{
    out.text.clear();
    out.starts.clear();
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        ReportOpenFailure(path);
        return false;
    }
    struct Closer {
        HANDLE h;
        ~Closer() { CloseHandle(h); }
    } closer{h};

    LARGE_INTEGER size;
    if (!GetFileSizeEx(h, &size))
        return false;
    if (static_cast<unsigned long long>(size.QuadPart) > static_cast<std::size_t>(-1) / 2)
        throw std::bad_alloc();
    BudgetVector<char> raw(out.text.get_allocator());
    raw.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t got = 0;
    while (got < raw.size()) {
        DWORD want = static_cast<DWORD>(raw.size() - got < (1u << 24) ? raw.size() - got : (1u << 24));
        DWORD read = 0;
        if (!ReadFile(h, raw.data() + got, want, &read, nullptr))
            return false;
        if (read == 0)
            break; // the file got shorter meanwhile
        got += read;
    }
    raw.resize(got);
    DecodeFileBytes(std::move(raw), out);
    AnsiLinesToUtf8(out);
    return true;
}

std::string BuildDirList(const char* path)
{
    if (!path || !*path)
        return std::string();
    DWORD attrs = GetFileAttributesA(path);
    if (attrs == INVALID_FILE_ATTRIBUTES)
        return std::string();
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY))
        return path;
    return ScanDirectory(path, 0);
}

CompareItem MakeCompareItem(std::string first, std::string second)
{
    return CompareItem{std::move(first), std::move(second)};
}

CompareStatus CompareToResultFile(const char* firstPath, const char* secondPath, const char* resultPath,
                                  const CompareOptions& options)
{
    if (!resultPath || !*resultPath)
        return CompareStatus::ResultNotCreated;
    try {
        MemoryBudget budget(options.memoryLimit ? options.memoryLimit : DefaultMemoryLimit());
        const CompareItem item = MakeCompareItem(BuildDirList(firstPath), BuildDirList(secondPath));
        if (!item.HasBothSides())
            return WriteCompareResult(resultPath, nullptr, nullptr, nullptr); // a side is missing

        TextLines left(budget), right(budget);
        {
            WaitCursor wait;
            ReadFileLines(item.first.c_str(), left);
            ReadFileLines(item.second.c_str(), right);
        }
        const BudgetVector<OutSection> composite = CompareLines(budget, left, right);
        return WriteCompareResult(resultPath, &composite, &left, &right);
    } catch (const std::bad_alloc&) {
        return CompareStatus::OutOfMemory;
    } catch (...) {
        return CompareStatus::Failed;
    }
}

} // namespace pairview
