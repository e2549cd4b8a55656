#include "TestSupport.h"

#include <fx/codepage.h>

#include <gtest/gtest.h>


namespace fiftest {

std::wstring Long(const std::wstring& path)
{
    if (path.compare(0, 4, L"\\\\?\\") == 0)
        return path;
    return L"\\\\?\\" + path;
}

bool MakeFolders(const std::wstring& path)
{
    const std::wstring p = Long(path);
    if (CreateDirectoryW(p.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash < 3)
        return false;
    if (!MakeFolders(path.substr(0, slash)))
        return false;
    return CreateDirectoryW(p.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() ||
                    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

std::wstring TreeFolder(const qmtest::TempDir& tree, const std::wstring& rel)
{
    const std::wstring p = tree.WidePath(rel);
    EXPECT_TRUE(MakeFolders(p)) << "cannot create folder";
    return p;
}

std::wstring TreeFile(const qmtest::TempDir& tree, const std::wstring& rel, const std::string& bytes)
{
    const std::wstring p = tree.WidePath(rel);
    const size_t slash = p.find_last_of(L'\\');
    MakeFolders(p.substr(0, slash));
    EXPECT_TRUE(WriteBytes(p, bytes)) << "cannot write file";
    return p;
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string Ansi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    // The system's legacy code page, not the test program's own (UTF-8).
    const UINT cp = fx::LegacyAnsiCodePage();
    const int n = WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string Utf7(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int n = WideCharToMultiByte(CP_UTF7, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF7, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string Utf16Le(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>((c >> 8) & 0xFF);
    }
    return out;
}

std::string Utf16Be(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        out += static_cast<char>((c >> 8) & 0xFF);
        out += static_cast<char>(c & 0xFF);
    }
    return out;
}

namespace {

std::vector<unsigned> CodePoints(const std::wstring& text)
{
    std::vector<unsigned> cps;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned c = static_cast<unsigned short>(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            const unsigned d = static_cast<unsigned short>(text[i + 1]);
            c = 0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00);
            ++i;
        }
        cps.push_back(c);
    }
    return cps;
}

} // namespace

std::string Utf32Le(const std::wstring& text)
{
    std::string out;
    for (unsigned c : CodePoints(text))
        for (int k = 0; k < 4; ++k)
            out += static_cast<char>((c >> (8 * k)) & 0xFF);
    return out;
}

std::string Utf32Be(const std::wstring& text)
{
    std::string out;
    for (unsigned c : CodePoints(text))
        for (int k = 3; k >= 0; --k)
            out += static_cast<char>((c >> (8 * k)) & 0xFF);
    return out;
}

std::wstring Summary(long long found, long long files, long long entries)
{
    return L"Total found: " + std::to_wstring(found) + L" Matching files: " + std::to_wstring(files) +
           L" Total Files searched: " + std::to_wstring(entries);
}

std::vector<std::wstring> RunSearch(const std::wstring& text, const std::wstring& masks, const std::wstring& folder,
                                    int subFolders, int caseSensitive, int wholeWords, int regex)
{
    RecordingSink sink;
    CFindInFiles engine;
    EXPECT_EQ(1, engine.Find(text.c_str(), masks.c_str(), folder.c_str(), subFolders, caseSensitive, wholeWords, regex,
                             &sink));
    EXPECT_TRUE(sink.Wait()) << "the search did not finish";
    engine.Cleanup();
    return sink.Calls();
}

} // namespace fiftest
