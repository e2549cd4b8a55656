// coretest.cpp - support for the core's tests.
#include "coretest.h"
#include "apphelpers.h"

#include <memory>
#include <vector>

namespace coretest {

namespace {
CWinApp g_testApp("Quillmate");
std::string g_maker;
std::unique_ptr<qmtest::TempDir> g_dataRoot;

using qmtest::UniqueName;
} // namespace

std::string ReadBytes(const std::string& path)
{
    std::string data;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0,
                           NULL);
    if (h == INVALID_HANDLE_VALUE)
        return data;
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof(buf), &n, NULL) && n > 0)
        data.append(buf, n);
    CloseHandle(h);
    return data;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD n = 0;
    if (!bytes.empty())
        WriteFile(h, bytes.data(), (DWORD)bytes.size(), &n, NULL);
    CloseHandle(h);
    ASSERT_EQ(n, bytes.size());
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const std::string& ProfileEnvironment::Maker()
{
    return g_maker;
}

const std::string& ProfileEnvironment::DataRoot()
{
    static const std::string s_none;
    return g_dataRoot ? g_dataRoot->Path() : s_none;
}

void ProfileEnvironment::SetUp()
{
    g_maker = UniqueName("QuillmateTest");
    g_testApp.SetRegistryKey(g_maker.c_str());
    g_dataRoot.reset(new qmtest::TempDir("qmdata"));
    SetLocalAppDataOverride(g_dataRoot->Path().c_str());
}

void ProfileEnvironment::TearDown()
{
    std::string key = "Software\\" + g_maker;
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    SetLocalAppDataOverride(NULL);
    g_dataRoot.reset();
}

void ClearProfile()
{
    HKEY hApp = g_testApp.GetAppRegistryKey();
    ASSERT_NE(hApp, (HKEY)NULL);
    RegDeleteTreeA(hApp, NULL);
    RegCloseKey(hApp);
}

std::string FixturePath(const std::string& relative)
{
    std::string path = std::string(QM_SOURCE_DIR) + "/app/core/tests/fixtures/" + relative;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// Every test program of the core runs with the private profile.
static ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new ProfileEnvironment);

} // namespace coretest
