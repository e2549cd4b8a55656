#include "test_support.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>

namespace qmtest {

namespace {

std::string ToWindows(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

} // namespace

std::string BinPath(const std::string& file)
{
    std::string bin = ToWindows(QM_BIN_DIR);
    return file.empty() ? bin : bin + "\\" + file;
}

std::string SourcePath(const std::string& relative)
{
    return ToWindows(std::string(QM_SOURCE_DIR) + "/" + relative);
}

std::string TestProgramDir()
{
    char path[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\'));
}

bool WriteTextFile(const std::string& path, const std::string& text)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

bool ReadTextFile(const std::string& path, std::string& text)
{
    text.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0)
        text.append(buf, n);
    std::fclose(f);
    return true;
}

bool FileExists(const std::string& path)
{
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path)
{
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

RegistrySnapshot::RegistrySnapshot(HKEY root, const std::string& path) : m_root(root), m_path(path)
{
    char name[128];
    static LONG counter = 0;
    std::snprintf(name, sizeof(name), "Software\\QuillmateTestSnapshots\\%lu-%ld", GetCurrentProcessId(),
                  InterlockedIncrement(&counter));
    m_backup = name;
    HKEY src = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &src) == ERROR_SUCCESS) {
        m_existed = true;
        HKEY dst = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, m_backup.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &dst, nullptr);
        RegCopyTreeA(src, nullptr, dst);
        RegCloseKey(dst);
        RegCloseKey(src);
    }
    DeleteTree(root, path);
}

RegistrySnapshot::~RegistrySnapshot()
{
    DeleteTree(m_root, m_path);
    if (m_existed) {
        HKEY src = nullptr, dst = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, m_backup.c_str(), 0, KEY_READ, &src) == ERROR_SUCCESS) {
            RegCreateKeyExA(m_root, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &dst, nullptr);
            RegCopyTreeA(src, nullptr, dst);
            RegCloseKey(dst);
            RegCloseKey(src);
        }
    }
    DeleteTree(HKEY_CURRENT_USER, m_backup);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuillmateTestSnapshots"); // only when empty
}

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool ReadString(HKEY root, const std::string& path, const std::string& name, std::string& value)
{
    value.clear();
    char buf[4096] = {};
    DWORD size = sizeof(buf) - 1, type = 0;
    if (RegGetValueA(root, path.c_str(), name.empty() ? nullptr : name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, buf, &size) != ERROR_SUCCESS)
        return false;
    value = buf;
    return true;
}

bool ValueExists(HKEY root, const std::string& path, const std::string& name)
{
    return RegGetValueA(root, path.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool SetString(HKEY root, const std::string& path, const std::string& name, const std::string& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

void DeleteTree(HKEY root, const std::string& path)
{
    RegDeleteTreeA(root, path.c_str());
    RegDeleteKeyA(root, path.c_str());
}

std::vector<std::string> SubKeys(HKEY root, const std::string& path)
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD len = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

std::vector<std::string> ValueNames(HKEY root, const std::string& path)
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD len = sizeof(name);
        if (RegEnumValueA(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return done();
        PumpFor(50);
    }
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) {
        if (line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace qmtest
