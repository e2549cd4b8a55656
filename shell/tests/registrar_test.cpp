// The registrar applies scripts to a private key of the current user:
// HKCU\Software\QuillmateTests\<unique>.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "registrar.h"
#include "test_support.h"

using namespace qmtest;

namespace {

class RegistrarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static LONG counter = 0;
        char name[64];
        std::snprintf(name, sizeof(name), "Registrar-%lu-%ld", GetCurrentProcessId(), InterlockedIncrement(&counter));
        m_name = name;
        m_path = "Software\\QuillmateTests\\" + m_name;
        DeleteTree(HKEY_CURRENT_USER, m_path);
    }
    void TearDown() override
    {
        DeleteTree(HKEY_CURRENT_USER, m_path);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuillmateTests"); // only when empty
    }

    // The script's entries go inside the private key.
    std::string Wrap(const std::string& body) const
    {
        return "HKCU\n{\n NoRemove Software\n {\n  NoRemove QuillmateTests\n  {\n   NoRemove '" + m_name +
               "'\n   {\n" + body + "\n   }\n  }\n }\n}\n";
    }
    std::string Key(const std::string& sub = std::string()) const
    {
        return sub.empty() ? m_path : m_path + "\\" + sub;
    }
    void Prepare() { ASSERT_TRUE(SetString(HKEY_CURRENT_USER, m_path, "", "")); }

    std::string m_name;
    std::string m_path;
};

const char kClassScript[] = R"(
    QmateShell.Load = s 'Load Class'
    {
        CLSID = s '{9B2B3E60-45D2-4038-A0FE-09DF570449DD}'
        CurVer = s 'QmateShell.Load.1'
    }
    NoRemove CLSID
    {
        ForceRemove {9B2B3E60-45D2-4038-A0FE-09DF570449DD} = s 'Load Class'
        {
            ForceRemove 'Programmable'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
            val AppID = s '%APPID%'
            val Count = d '42'
            val Mask = d '0x10'
            val Expand = e '%%SystemRoot%%\x'
        }
    }
    NoRemove *
    {
        NoRemove ShellEx
        {
            NoRemove ContextMenuHandlers
            {
                ForceRemove Quillmate = s '{9B2B3E60-45D2-4038-A0FE-09DF570449DD}'
            }
        }
    }
)";

const char kGuidKey[] = "CLSID\\{9B2B3E60-45D2-4038-A0FE-09DF570449DD}";

TEST_F(RegistrarTest, RegisterWritesEveryKeyAndValueWithItsType)
{
    Prepare();
    CRegistryScript script;
    std::string error;
    // The module path holds characters that mean something in the script:
    // they are data, never syntax.
    const std::string module = "C:\\O'Brien {x} = s\\Qmate%Shell.dll";
    ASSERT_TRUE(script.Parse(Wrap(kClassScript), {{"MODULE", module}, {"APPID", "{APP}"}}, &error)) << error;
    ASSERT_EQ(script.Register(), S_OK);

    std::string v;
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, Key("QmateShell.Load"), "", v));
    EXPECT_EQ(v, "Load Class");
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, Key("QmateShell.Load\\CurVer"), "", v));
    EXPECT_EQ(v, "QmateShell.Load.1");
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, Key(std::string(kGuidKey) + "\\InprocServer32"), "", v));
    EXPECT_EQ(v, module);
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, Key(std::string(kGuidKey) + "\\InprocServer32"), "ThreadingModel", v));
    EXPECT_EQ(v, "Apartment");
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, Key(kGuidKey), "AppID", v));
    EXPECT_EQ(v, "{APP}");
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Key(std::string(kGuidKey) + "\\Programmable")));
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, Key("*\\ShellEx\\ContextMenuHandlers\\Quillmate"), "", v));
    EXPECT_EQ(v, "{9B2B3E60-45D2-4038-A0FE-09DF570449DD}");

    DWORD type = 0, dword = 0, size = sizeof(dword);
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, Key(kGuidKey).c_str(), "Count", RRF_RT_ANY, &type, &dword, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(dword, 42u);
    size = sizeof(dword);
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, Key(kGuidKey).c_str(), "Mask", RRF_RT_ANY, &type, &dword, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(dword, 16u);
    char text[64] = {};
    size = sizeof(text);
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, Key(kGuidKey).c_str(), "Expand", RRF_RT_ANY | RRF_NOEXPAND, &type,
                           text, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_STREQ(text, "%SystemRoot%\\x");
}

TEST_F(RegistrarTest, ForceRemoveClearsStaleContentOnRegisterAndRegisteringTwiceIsHarmless)
{
    Prepare();
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, Key(std::string(kGuidKey) + "\\Stale\\Deeper"), "", "old"));
    CRegistryScript script;
    ASSERT_TRUE(script.Parse(Wrap(kClassScript), {{"MODULE", "m.dll"}, {"APPID", "a"}}));
    ASSERT_EQ(script.Register(), S_OK);
    ASSERT_EQ(script.Register(), S_OK);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Key(std::string(kGuidKey) + "\\Stale")));
    std::vector<std::string> sub = SubKeys(HKEY_CURRENT_USER, Key(kGuidKey));
    std::sort(sub.begin(), sub.end());
    EXPECT_EQ(sub, (std::vector<std::string>{"InprocServer32", "Programmable"}));
    EXPECT_EQ(SubKeys(HKEY_CURRENT_USER, Key("*\\ShellEx\\ContextMenuHandlers")), std::vector<std::string>{"Quillmate"});
}

TEST_F(RegistrarTest, UnregisterKeepsNoRemoveKeysAndWhatOthersAddedAndIsHarmlessTwice)
{
    Prepare();
    CRegistryScript script;
    ASSERT_TRUE(script.Parse(Wrap(kClassScript), {{"MODULE", "m.dll"}, {"APPID", "a"}}));
    ASSERT_EQ(script.Register(), S_OK);
    // Things another program put next to ours, and inside a ForceRemove key.
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, Key("*\\ShellEx\\ContextMenuHandlers\\OtherTool"), "", "{other}"));
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, Key("QmateShell.Load\\Foreign"), "", "x"));
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, Key(std::string(kGuidKey) + "\\Foreign"), "", "x"));

    ASSERT_EQ(script.Unregister(), S_OK);
    ASSERT_EQ(script.Unregister(), S_OK);

    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Key(kGuidKey))); // ForceRemove: whole tree
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Key("*\\ShellEx\\ContextMenuHandlers\\Quillmate")));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Key("CLSID"))); // NoRemove
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Key("*\\ShellEx\\ContextMenuHandlers\\OtherTool")));
    // A plain key with someone else's sub-key stays, but our entries in it go.
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Key("QmateShell.Load\\Foreign")));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Key("QmateShell.Load\\CurVer")));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Key("QmateShell.Load\\CLSID")));
}

TEST_F(RegistrarTest, UnregisterRemovesEmptiedPlainKeysAndListedValues)
{
    Prepare();
    const char body[] = R"(
        Plain = s 'p'
        {
            Inner = s 'i'
            val Named = s 'n'
        }
        NoRemove Kept
        {
            val Listed = s 'l'
        }
    )";
    CRegistryScript script;
    ASSERT_TRUE(script.Parse(Wrap(body), {}));
    ASSERT_EQ(script.Register(), S_OK);
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, Key("Kept"), "Unlisted", "u"));
    ASSERT_EQ(script.Unregister(), S_OK);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Key("Plain")));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Key("Kept")));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, Key("Kept"), "Listed"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, Key("Kept"), "Unlisted"));
}

TEST(RegistrarParseTest, MalformedScriptsAreRefusedWithTheLine)
{
    struct Case {
        const char* what;
        const char* script;
        const char* message;
    };
    const Case cases[] = {
        {"missing closing brace", "HKCR\n{\n  A = s 'x'\n", "missing '}'"},
        {"unknown root", "HKXX\n{\n}\n", "unknown root key 'HKXX'"},
        {"root without block", "HKCR A", "expected '{'"},
        {"value without data", "HKCR\n{\n  A\n  {\n    val V\n  }\n}\n", "line 6: value 'V' has no data"},
        {"value with a block", "HKCR\n{\n  val V = s 'x' { }\n}\n", "cannot hold entries"},
        {"unterminated quote", "HKCR\n{\n  A = s 'x\n}\n", "unterminated quoted string"},
        {"unknown variable", "HKCR\n{\n  A = s '%NOPE%'\n}\n", "unknown variable %NOPE%"},
        {"unsupported type", "HKCR\n{\n  A = b '0102'\n}\n", "unsupported type 'b'"},
        {"bad number", "HKCR\n{\n  val N = d 'ten'\n}\n", "bad number 'ten'"},
        {"delete entries", "HKCR\n{\n  Delete A\n}\n", "not supported"},
        {"stray equals", "HKCR\n{\n  = s 'x'\n}\n", "line 3"},
    };
    for (const Case& c : cases) {
        CRegistryScript script;
        std::string error;
        EXPECT_FALSE(script.Parse(c.script, {}, &error)) << c.what;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": got \"" << error << "\"";
        EXPECT_TRUE(script.Roots().empty()) << c.what;
    }
}

TEST(RegistrarParseTest, ShippedScriptsParse)
{
    for (const char* file : {"shell/qmateshell/Load.rgs", "shell/qmateshell/QmateShellApp.rgs"}) {
        std::string text;
        ASSERT_TRUE(ReadTextFile(SourcePath(file), text)) << file;
        CRegistryScript script;
        std::string error;
        EXPECT_TRUE(script.Parse(text, {{"MODULE", "C:\\q\\QmateShell.dll"}, {"APPID", "{A}"}}, &error))
            << file << ": " << error;
        ASSERT_EQ(script.Roots().size(), 1u) << file;
        EXPECT_EQ(script.Roots()[0].key, HKEY_CLASSES_ROOT) << file;
    }
}

} // namespace
