// The registration tool run as the installer and the options page run it: a
// console program with one argument, reading AppPath from the editor's
// Settings key. Its output lines and the registration state are checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "../include/qmate_handover.h"
#include "test_support.h"

using namespace qmtest;

namespace {

const char kHandler[] = "*\\shellex\\ContextMenuHandlers\\Quillmate";

enum class AppPathSetting {
    BinFolder,
    NoSettingsKey,
    EmptyFolder,
    BareName
};

struct ToolCase {
    const char* what;
    const char* args; // nullptr: no argument
    AppPathSetting setting;
    bool registeredBefore;
    bool registeredAfter;
    std::vector<std::string> lines; // "<AppPath>" stands for the value written
};

void PrintTo(const ToolCase& c, std::ostream* os)
{
    *os << c.what;
}

const std::vector<std::string> kOpened = {"In RegContext", "Successfully opened quillmate location key",
                                          "Location is:", "<AppPath>"};

std::vector<std::string> Lines(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const ToolCase kCases[] = {
    {"true registers", "true", AppPathSetting::BinFolder, false, true,
     Lines({{"true", "Doing Registration"}, kOpened, {"Calling Dll function", "Finished RegContext", "Finished"}})},
    {"TRUE is lower-cased and registers", "TRUE", AppPathSetting::BinFolder, false, true,
     Lines({{"true", "Doing Registration"}, kOpened, {"Calling Dll function", "Finished RegContext", "Finished"}})},
    {"false unregisters", "false", AppPathSetting::BinFolder, true, false,
     Lines({{"false", "Unregistering"}, kOpened, {"Calling Dll function", "Calling UnRegister function", "Finished RegContext", "Finished"}})},
    {"any other word unregisters", "yes", AppPathSetting::BinFolder, true, false,
     Lines({{"yes", "Unregistering"}, kOpened, {"Calling Dll function", "Calling UnRegister function", "Finished RegContext", "Finished"}})},
    {"no argument unregisters", nullptr, AppPathSetting::BinFolder, true, false,
     Lines({{"", "Unregistering"}, kOpened, {"Calling Dll function", "Calling UnRegister function", "Finished RegContext", "Finished"}})},
    {"missing Settings key", "true", AppPathSetting::NoSettingsKey, false, false, {"true", "Doing Registration", "In RegContext", "Failed to open quillmate path key", "Finished"}},
    {"folder without the library", "true", AppPathSetting::EmptyFolder, false, false,
     Lines({{"true", "Doing Registration"}, kOpened, {"QmateShell.dll Load Library failed", "Finished RegContext", "Finished"}})},
    // A bare name would let the library be found by a search of the path
    // (here: the build's bin folder). The tool refuses it.
    {"bare program name", "true", AppPathSetting::BareName, false, false,
     Lines({{"true", "Doing Registration"}, kOpened, {"AppPath is not a full path; QmateShell.dll is not loaded", "Finished RegContext", "Finished"}})},
};

class SetupToolTest : public ::testing::TestWithParam<ToolCase> {
protected:
    void SetUp() override
    {
        m_settings = std::make_unique<RegistrySnapshot>(HKEY_CURRENT_USER, QM_REGKEY_APP);
        m_dir = std::make_unique<TempDir>("setuptool");
    }
    void TearDown() override
    {
        RunProcess("regsvr32.exe /s /u \"" + BinPath("QmateShell.dll") + "\"");
        m_dir.reset();
        m_settings.reset();
    }

    std::unique_ptr<RegistrySnapshot> m_settings;
    std::unique_ptr<TempDir> m_dir;
};

TEST_P(SetupToolTest, PrintsItsStepsAndRegistersOrNot)
{
    const ToolCase& c = GetParam();
    std::string appPath;
    switch (c.setting) {
    case AppPathSetting::BinFolder: appPath = BinPath("Qmate.exe"); break;
    case AppPathSetting::EmptyFolder: appPath = m_dir->Path("Qmate.exe"); break;
    case AppPathSetting::BareName: appPath = "Qmate.exe"; break;
    case AppPathSetting::NoSettingsKey: break;
    }
    if (c.setting != AppPathSetting::NoSettingsKey) {
        ASSERT_TRUE(SetString(HKEY_CURRENT_USER, QM_REGKEY_SETTINGS, "AppPath", appPath));
    }
    std::string module = BinPath("QmateShell.dll");
    ProcessResult setup = RunProcess("regsvr32.exe /s " + std::string(c.registeredBefore ? "" : "/u ") + "\"" +
                                     module + "\"");
    ASSERT_EQ(setup.exitCode, 0u);
    ASSERT_EQ(KeyExists(HKEY_CLASSES_ROOT, kHandler), c.registeredBefore);

    std::string cmd = "\"" + BinPath("Quillmate_Setuptool.exe") + "\"";
    if (c.args)
        cmd += std::string(" ") + c.args;
    // Run from the temporary folder, so nothing is found beside the caller.
    ProcessResult run = RunProcess(cmd, 60000, m_dir->Path());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);

    std::vector<std::string> expected = c.lines;
    for (std::string& line : expected)
        if (line == "<AppPath>")
            line = appPath;
    EXPECT_EQ(SplitLines(run.output), expected);
    // Every line ends with CR LF.
    ASSERT_GE(run.output.size(), 2u);
    EXPECT_EQ(run.output.substr(run.output.size() - 2), "\r\n");
    EXPECT_EQ(KeyExists(HKEY_CLASSES_ROOT, kHandler), c.registeredAfter);
}

INSTANTIATE_TEST_SUITE_P(Arguments, SetupToolTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ToolCase>& info) {
                             std::string name;
                             for (const char* p = info.param.what; *p; ++p)
                                 name += isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

} // namespace
