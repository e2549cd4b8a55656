// frametest.cpp - support for the frame's tests.
#include "frametest.h"

#include "apphelpers.h"

#include <memory>

namespace frametest {

namespace {

std::string g_maker;
std::unique_ptr<qmtest::TempDir> g_dataRoot; // stands in for the local application data folder

using qmtest::UniqueName;

HKEY OpenSection(const char* section, bool bCreate)
{
    std::string path = AppKeyPath();
    if (section && *section)
        path += std::string("\\") + section;
    HKEY hKey = NULL;
    LONG r = bCreate ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &hKey, NULL)
                     : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &hKey);
    return r == ERROR_SUCCESS ? hKey : NULL;
}

class Environment : public ::testing::Environment {
public:
    void SetUp() override
    {
        g_maker = UniqueName("QuillmateFrameTest");
        App().SetRegistryKey(g_maker.c_str());
        g_dataRoot.reset(new qmtest::TempDir("qmframe"));
        SetLocalAppDataOverride(g_dataRoot->Path().c_str());
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + g_maker).c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, ("Software\\" + g_maker).c_str());
        SetLocalAppDataOverride(NULL);
        g_dataRoot.reset();
    }
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new Environment);

} // namespace

CQuillmateApp& App()
{
    static CQuillmateApp s_app;
    return s_app;
}

// The application object exists before any test runs.
static CQuillmateApp& s_appAtStart = App();

std::string AppKeyPath()
{
    return "Software\\" + g_maker + "\\Quillmate";
}

void ClearProfile()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, AppKeyPath().c_str());
}

void SetRaw(const char* section, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY hKey = OpenSection(section, true);
    ASSERT_NE(hKey, (HKEY)NULL);
    RegSetValueExA(hKey, name, 0, type, (const BYTE*)data, size);
    RegCloseKey(hKey);
}

void SetDword(const char* section, const char* name, DWORD value)
{
    SetRaw(section, name, REG_DWORD, &value, sizeof(value));
}

void SetString(const char* section, const char* name, const std::string& value)
{
    SetRaw(section, name, REG_SZ, value.c_str(), (DWORD)value.size() + 1);
}

bool GetDword(const char* section, const char* name, DWORD* pValue, DWORD* pType)
{
    std::vector<BYTE> data = GetBinary(section, name, pType);
    if (data.size() != sizeof(DWORD))
        return false;
    memcpy(pValue, data.data(), sizeof(DWORD));
    return true;
}

bool GetString(const char* section, const char* name, std::string* pValue)
{
    DWORD type = 0;
    std::vector<BYTE> data = GetBinary(section, name, &type);
    if (type != REG_SZ || data.empty())
        return false;
    pValue->assign((const char*)data.data(), strnlen((const char*)data.data(), data.size()));
    return true;
}

std::vector<BYTE> GetBinary(const char* section, const char* name, DWORD* pType)
{
    std::vector<BYTE> data;
    HKEY hKey = OpenSection(section, false);
    if (hKey == NULL)
        return data;
    DWORD type = 0, cb = 0;
    if (RegQueryValueExA(hKey, name, NULL, &type, NULL, &cb) == ERROR_SUCCESS) {
        data.resize(cb);
        if (cb == 0 || RegQueryValueExA(hKey, name, NULL, &type, data.data(), &cb) != ERROR_SUCCESS)
            data.resize(cb);
        if (pType)
            *pType = type;
    }
    RegCloseKey(hKey);
    return data;
}

bool SectionExists(const char* section)
{
    HKEY hKey = OpenSection(section, false);
    if (hKey == NULL)
        return false;
    RegCloseKey(hKey);
    return true;
}

std::vector<std::pair<std::string, std::string>> StringValues(const char* section)
{
    std::vector<std::pair<std::string, std::string>> values;
    HKEY hKey = OpenSection(section, false);
    if (hKey == NULL)
        return values;
    for (DWORD i = 0;; ++i) {
        char name[1024];
        BYTE data[2048];
        DWORD cchName = sizeof(name), cbData = sizeof(data) - 1, type = 0;
        if (RegEnumValueA(hKey, i, name, &cchName, NULL, &type, data, &cbData) != ERROR_SUCCESS)
            break;
        data[cbData] = 0;
        values.emplace_back(name, type == REG_SZ ? std::string((const char*)data) : std::string());
    }
    RegCloseKey(hKey);
    return values;
}

void Pump(int nRounds)
{
    for (int i = 0; i < nRounds; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            if (!AfxGetApp()->PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        for (LONG n = 0; n < 3 && AfxGetApp()->OnIdle(n); ++n) {
        }
        Sleep(5);
    }
}

} // namespace frametest
