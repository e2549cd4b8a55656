// Registration of the extension as an administrator does it: regsvr32 on the
// built library, then the classes root and the approval list read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "qmateshell_ids.h"
#include "test_support.h"

using namespace qmtest;

namespace {

const char kApproved[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
const std::string kClsidKey = std::string("CLSID\\") + QMATESHELL_CLSID_STR;
const std::string kHandlers = "*\\shellex\\ContextMenuHandlers";
const std::string kTypeLibKey = std::string("TypeLib\\") + QMATESHELL_LIBID_STR;
const std::string kInterfaceKey = std::string("Interface\\") + QMATESHELL_IID_ILOAD_STR;

struct Entry {
    std::string key;   // under HKEY_CLASSES_ROOT
    std::string value; // empty: the default value
    std::string data;  // "<module>" stands for the library's path
};

// Everything registration writes into the classes root.
const std::vector<Entry>& Written()
{
    static const std::vector<Entry> entries = {
        {"QmateShell.Load.1", "", "Load Class"},
        {"QmateShell.Load.1\\CLSID", "", QMATESHELL_CLSID_STR},
        {"QmateShell.Load", "", "Load Class"},
        {"QmateShell.Load\\CLSID", "", QMATESHELL_CLSID_STR},
        {"QmateShell.Load\\CurVer", "", "QmateShell.Load.1"},
        {kClsidKey, "", "Load Class"},
        {kClsidKey, "AppID", QMATESHELL_APPID_STR},
        {kClsidKey + "\\ProgID", "", "QmateShell.Load.1"},
        {kClsidKey + "\\VersionIndependentProgID", "", "QmateShell.Load"},
        {kClsidKey + "\\InprocServer32", "", "<module>"},
        {kClsidKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {kClsidKey + "\\TypeLib", "", QMATESHELL_LIBID_STR},
        {kHandlers + "\\Quillmate", "", QMATESHELL_CLSID_STR},
        {std::string("AppID\\") + QMATESHELL_APPID_STR, "", "QmateShell"},
        {"AppID\\QmateShell.DLL", "AppID", QMATESHELL_APPID_STR},
        {kTypeLibKey + "\\1.0", "", "QmateShell 1.0 Type Library"},
        {kTypeLibKey + "\\1.0\\0\\win64", "", "<module>"},
        {kInterfaceKey, "", "ILoad"},
    };
    return entries;
}

// Keys that registration creates and unregistration removes whole.
const std::vector<std::string> kOwnKeys = {
    "QmateShell.Load.1",
    "QmateShell.Load",
    kClsidKey,
    kHandlers + "\\Quillmate",
    std::string("AppID\\") + QMATESHELL_APPID_STR,
    "AppID\\QmateShell.DLL",
    kTypeLibKey,
    kInterfaceKey,
};

// Shared keys that stay.
const std::vector<std::string> kSharedKeys = {"*", "*\\shellex", kHandlers, "CLSID", "AppID", "TypeLib",
                                              "Interface"};

std::string Lower(std::string s)
{
    CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_module = BinPath("QmateShell.dll");
        ASSERT_TRUE(FileExists(m_module));
        Regsvr32("/u"); // start from nothing
    }
    void TearDown() override
    {
        Regsvr32("/u");
        DeleteTree(HKEY_CLASSES_ROOT, kHandlers + "\\OtherTool");
    }

    DWORD Regsvr32(const std::string& flags)
    {
        ProcessResult r = RunProcess("regsvr32.exe /s " + flags + " \"" + m_module + "\"");
        EXPECT_TRUE(r.finished);
        return r.exitCode;
    }

    void ExpectRegistered()
    {
        for (const Entry& e : Written()) {
            std::string data;
            ASSERT_TRUE(ReadString(HKEY_CLASSES_ROOT, e.key, e.value, data)) << e.key << " [" << e.value << "]";
            if (e.data == "<module>")
                EXPECT_EQ(Lower(data), Lower(m_module)) << e.key;
            else
                EXPECT_EQ(data, e.data) << e.key << " [" << e.value << "]";
        }
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kClsidKey + "\\Programmable"));
        std::vector<std::string> sub = SubKeys(HKEY_CLASSES_ROOT, kClsidKey);
        std::sort(sub.begin(), sub.end());
        EXPECT_EQ(sub, (std::vector<std::string>{"InprocServer32", "ProgID", "Programmable", "TypeLib",
                                                 "VersionIndependentProgID"}));
        std::string approval;
        EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, kApproved, QMATESHELL_CLSID_STR, approval));
        EXPECT_EQ(approval, "DllRegShlExt extension");
        std::vector<std::string> names = ValueNames(HKEY_LOCAL_MACHINE, kApproved);
        EXPECT_EQ(std::count(names.begin(), names.end(), QMATESHELL_CLSID_STR), 1);
    }

    void ExpectUnregistered()
    {
        for (const std::string& key : kOwnKeys)
            EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
        for (const std::string& key : kSharedKeys)
            EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kApproved, QMATESHELL_CLSID_STR));
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kApproved));
    }

    std::string m_module;
};

TEST_F(RegistrationTest, RegisterWritesExactlyTheEntriesAndTwiceIsHarmless)
{
    ASSERT_EQ(Regsvr32(""), 0u);
    ExpectRegistered();
    // Something stale below our class key goes on the next registration.
    ASSERT_TRUE(SetString(HKEY_CLASSES_ROOT, kClsidKey + "\\Stale", "", "x"));
    ASSERT_EQ(Regsvr32(""), 0u);
    ExpectRegistered();
    EXPECT_EQ(SubKeys(HKEY_CLASSES_ROOT, kHandlers + "\\Quillmate").size(), 0u);
}

TEST_F(RegistrationTest, UnregisterRemovesOurEntriesOnlyAndTwiceIsHarmless)
{
    ASSERT_EQ(Regsvr32(""), 0u);
    ASSERT_TRUE(SetString(HKEY_CLASSES_ROOT, kHandlers + "\\OtherTool", "", "{00000000-1111-2222-3333-444444444444}"));
    ASSERT_EQ(Regsvr32("/u"), 0u);
    ExpectUnregistered();
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kHandlers + "\\OtherTool"));
    ASSERT_EQ(Regsvr32("/u"), 0u);
    ExpectUnregistered();
}

// Without access to the approval list, registration fails as a whole and the
// classes root stays untouched. The machine hive is replaced for this process
// by an empty key, where the approval list cannot be opened.
TEST_F(RegistrationTest, RegisterWithoutTheApprovalListFailsAndWritesNothing)
{
    HMODULE lib = LoadLibraryA(m_module.c_str());
    ASSERT_NE(lib, nullptr);
    auto registerServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(lib, "DllRegisterServer")));
    ASSERT_NE(registerServer, nullptr);
    const std::string empty = "Software\\QuillmateTests\\EmptyMachine";
    HKEY machine = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, empty.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &machine, nullptr),
              ERROR_SUCCESS);
    LONG overridden = RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine);
    HRESULT hr = overridden == ERROR_SUCCESS ? registerServer() : E_FAIL;
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(machine);
    DeleteTree(HKEY_CURRENT_USER, empty);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuillmateTests");
    FreeLibrary(lib);
    ASSERT_EQ(overridden, ERROR_SUCCESS);

    EXPECT_EQ(hr, E_ACCESSDENIED);
    for (const std::string& key : kOwnKeys)
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
}

} // namespace
