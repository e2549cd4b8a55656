// An application object whose profile lives under a registry key of its own
// (HKCU\Software\<unique>\<app>), removed with everything below it afterwards,
// and raw access to the values the code under test wrote.
#pragma once

#include <fx/fx.h>

#include "files.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace qmtest {

// The names of a registry key's subkeys.
inline std::vector<std::string> RegistrySubkeys(HKEY h)
{
    std::vector<std::string> names;
    char sz[256];
    for (DWORD i = 0;; i++) {
        DWORD cch = sizeof(sz);
        if (::RegEnumKeyExA(h, i, sz, &cch, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        names.push_back(sz);
    }
    return names;
}

class RegistryApp {
public:
    explicit RegistryApp(const char* keyPrefix = "QmTest", const char* appName = "QmApp")
        : m_appName(appName)
    {
        m_key = UniqueName(keyPrefix);
        m_app.reset(new CWinApp(appName));
        m_app->SetRegistryKey(m_key.c_str());
    }
    ~RegistryApp()
    {
        m_app.reset();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_key).c_str());
    }
    RegistryApp(const RegistryApp&) = delete;
    RegistryApp& operator=(const RegistryApp&) = delete;

    CWinApp* App() const { return m_app.get(); }
    // "Software\<key>\<app>[\section]"
    std::string Path(const char* section = NULL) const
    {
        std::string p = "Software\\" + m_key + "\\" + m_appName;
        if (section && *section)
            p += std::string("\\") + section;
        return p;
    }
    bool Query(const char* section, const char* entry, DWORD& type, std::vector<BYTE>& data) const
    {
        HKEY h;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, Path(section).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        DWORD cb = 0;
        LONG r = ::RegQueryValueExA(h, entry, NULL, &type, NULL, &cb);
        if (r == ERROR_SUCCESS) {
            data.resize(cb);
            r = ::RegQueryValueExA(h, entry, NULL, &type, cb ? data.data() : NULL, &cb);
        }
        ::RegCloseKey(h);
        return r == ERROR_SUCCESS;
    }
    // Size of a stored value, 0 when it is missing.
    DWORD QuerySize(const char* section, const char* entry) const
    {
        DWORD type = 0;
        std::vector<BYTE> data;
        return Query(section, entry, type, data) ? (DWORD)data.size() : 0;
    }
    bool KeyExists(const char* section) const
    {
        HKEY h;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, Path(section).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(h);
        return true;
    }
    bool SetRaw(const char* section, const char* entry, DWORD type, const void* p, DWORD cb) const
    {
        HKEY h;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, Path(section).c_str(), 0, NULL, 0, KEY_WRITE, NULL, &h, NULL) !=
            ERROR_SUCCESS)
            return false;
        LONG r = ::RegSetValueExA(h, entry, 0, type, static_cast<const BYTE*>(p), cb);
        ::RegCloseKey(h);
        return r == ERROR_SUCCESS;
    }
    bool SetBinary(const char* section, const char* entry, const void* p, DWORD cb) const
    {
        return SetRaw(section, entry, REG_BINARY, p, cb);
    }
    // Every string value under the section (its subkeys included) that
    // reads `from` is made to read `to`; how many were.
    int ReplaceStrings(const char* section, const std::string& from, const std::string& to) const
    {
        return ReplaceStringsIn(Path(section), from, to);
    }

    std::string m_key;

private:
    static int ReplaceStringsIn(const std::string& path, const std::string& from, const std::string& to)
    {
        HKEY h;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ | KEY_WRITE, &h) != ERROR_SUCCESS)
            return 0;
        int n = 0;
        char name[256];
        BYTE data[1024];
        for (DWORD i = 0;; i++) {
            DWORD cchName = sizeof(name), cb = sizeof(data), type = 0;
            if (::RegEnumValueA(h, i, name, &cchName, NULL, &type, data, &cb) != ERROR_SUCCESS)
                break;
            if (type == REG_SZ && std::string((const char*)data, strnlen((const char*)data, cb)) == from) {
                ::RegSetValueExA(h, name, 0, REG_SZ, (const BYTE*)to.c_str(), (DWORD)to.size() + 1);
                n++;
            }
        }
        const std::vector<std::string> subkeys = RegistrySubkeys(h);
        ::RegCloseKey(h);
        for (const std::string& k : subkeys)
            n += ReplaceStringsIn(path + "\\" + k, from, to);
        return n;
    }

    std::string m_appName;
    std::unique_ptr<CWinApp> m_app;
};

} // namespace qmtest
