// An application object whose profile lives under a registry key of its own
// (HKCU\Software\<unique>\<app>), removed with everything below it afterwards,
// and raw access to the values the code under test wrote.
#pragma once

#include <fx/fx.h>

#include "files.h"

#include <memory>
#include <string>
#include <vector>

namespace qmtest {

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

    std::string m_key;

private:
    std::string m_appName;
    std::unique_ptr<CWinApp> m_app;
};

} // namespace qmtest
