// The custom actions run inside real installations: a test package built with
// the package compiler holds Setuphook.dll, the registration tool, the
// extension and shipped configuration and Tidy files, and calls the actions as
// the editor's installer does. Each test runs msiexec and reads back the log,
// the per-user folders (redirected to a temporary folder), the registry and
// the registration the tool made.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../include/qmate_handover.h"
#include "test_support.h"

#include <qmtest/filenames.h>

using namespace qmtest;

namespace {

const char kPrefix[] = " CUSTOMACTION_LOGGING --   ";
const char kInstallDir[] = "C:\\Program Files\\Fernbright\\Quillmate";
const char kHandler[] = "*\\shellex\\ContextMenuHandlers\\Quillmate";
// Wine's per-program settings of the installer.
const char kInstallerDefaults[] = "Software\\Wine\\AppDefaults\\msiexec.exe";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::string PackagePath(const char* file)
{
    std::string path = std::string(QM_SETUP_PACKAGE_DIR) + "/" + file;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// The lines the actions wrote, without the prefix, and whether every line
// that mentions the prefix has it exactly at its start.
struct ActionLog {
    std::vector<std::string> lines;
    bool wellFormed = true;
};

ActionLog ReadActionLog(const std::string& path)
{
    ActionLog log;
    std::string text;
    ReadTextFile(path, text);
    for (const std::string& line : SplitLines(text)) {
        if (line.find("CUSTOMACTION_LOGGING") == std::string::npos)
            continue;
        if (line.compare(0, sizeof(kPrefix) - 1, kPrefix) != 0) {
            log.wellFormed = false;
            continue;
        }
        log.lines.push_back(line.substr(sizeof(kPrefix) - 1));
    }
    return log;
}

// The log of one action: from its first line up to (not including) `next`.
std::vector<std::string> Section(const std::vector<std::string>& lines, const std::string& first,
                                 const std::string& next)
{
    auto begin = std::find(lines.begin(), lines.end(), first);
    auto end = next.empty() ? lines.end() : std::find(begin, lines.end(), next);
    return std::vector<std::string>(begin, end);
}

class SetupHookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FileExists(PackagePath("setup_test.msi")));
        m_settings = std::make_unique<RegistrySnapshot>(HKEY_CURRENT_USER, QM_REGKEY_APP);
        m_dir = std::make_unique<TempDir>("setuphook");
        // The per-user folder of this test: local application data points
        // into the temporary folder while the test runs.
        m_hadShellFolder = ReadExpand(m_oldShellFolder);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        std::string local = m_dir->Path("Local");
        CreateDirectoryA(local.c_str(), nullptr);
        RegSetValueExA(key, "Local AppData", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(local.c_str()),
                       static_cast<DWORD>(local.size() + 1));
        RegCloseKey(key);
        m_user = local + "\\Fernbright\\Quillmate";
    }

    void TearDown() override
    {
        if (!m_settings)
            return;
        if (m_installed)
            Msi("/x", "setup_test.msi", "cleanup.log");
        RunProcess("regsvr32.exe /s /u \"" + std::string(kInstallDir) + "\\QmateShell.dll\"");
        RemoveTree(kInstallDir);
        RemoveDirectoryA("C:\\Program Files\\Fernbright"); // only when empty
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            if (m_hadShellFolder)
                RegSetValueExA(key, "Local AppData", 0, REG_EXPAND_SZ,
                               reinterpret_cast<const BYTE*>(m_oldShellFolder.c_str()),
                               static_cast<DWORD>(m_oldShellFolder.size() + 1));
            else
                RegDeleteValueA(key, "Local AppData");
            RegCloseKey(key);
        }
        if (m_oldSystem)
            DeleteTree(HKEY_CURRENT_USER, kInstallerDefaults);
        m_dir.reset();
        m_settings.reset();
    }

    static bool ReadExpand(std::string& value)
    {
        char buf[1024] = {};
        DWORD size = sizeof(buf) - 1;
        if (RegGetValueA(HKEY_CURRENT_USER, kShellFolders, "Local AppData", RRF_RT_REG_EXPAND_SZ | RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr, buf, &size) != ERROR_SUCCESS)
            return false;
        value = buf;
        return true;
    }

    // Runs msiexec on a test package; the log goes to the test's folder.
    ActionLog Msi(const std::string& action, const char* package, const char* logName,
                  const std::string& properties = std::string())
    {
        std::string log = m_dir->Path(logName);
        std::string cmd = "msiexec.exe " + action + " \"" + PackagePath(package) + "\" /qn /l*v \"" + log + "\"";
        if (!properties.empty())
            cmd += " " + properties;
        ProcessResult r = RunProcess(cmd, 240000);
        EXPECT_TRUE(r.finished) << cmd;
        EXPECT_EQ(r.exitCode, 0u) << cmd << "\n"
                                  << r.output;
        if (action == "/i")
            m_installed = r.exitCode == 0;
        else if (action == "/x" && r.exitCode == 0)
            m_installed = false;
        ActionLog parsed = ReadActionLog(log);
        EXPECT_TRUE(parsed.wellFormed) << "a log line lacks the exact prefix in " << log;
        return parsed;
    }

    std::string User(const std::string& sub) const { return m_user + "\\" + sub; }

    // The user's folders as an earlier installation left them.
    void MakeUserFolders(std::initializer_list<const char*> subs)
    {
        CreateDirectoryA(m_dir->Path("Local\\Fernbright").c_str(), nullptr);
        CreateDirectoryA(m_user.c_str(), nullptr);
        for (const char* sub : subs)
            CreateDirectoryA(User(sub).c_str(), nullptr);
    }

    std::string FileText(const std::string& path) const
    {
        std::string text;
        ReadTextFile(path, text);
        return text;
    }

    // An HTML Tidy option file the package carries: one of the editor's own.
    std::string ShippedTidy(const std::string& name) const
    {
        return FileText(std::string(QM_SHIPPED_TIDY_SOURCE) + "\\" + name);
    }

    // A language file the package carries: one of the editor's own.
    std::string ShippedConfig(const std::string& name) const
    {
        return FileText(std::string(QM_SHIPPED_CONFIG_SOURCE) + "\\" + name);
    }

    // What SetupDirectories logs. `backupKey`: BackupSettings exists;
    // `hadBackupFolder`: it already holds BackupFolder.
    std::vector<std::string> SetupLog(bool backupKey, bool hadBackupFolder, const std::string& configLine) const
    {
        std::vector<std::string> lines = {"****************************", "Starting...", "In CheckConfig",
                                          User("Config")};
        if (!configLine.empty())
            lines.push_back(configLine);
        lines.insert(lines.end(), {"Exit CheckConfig", "Done Config!", "In CheckTemplates", User("Templates"),
                                   "Exit CheckTemplates", "Done Templates!", "In CheckBackup", User("Backup"),
                                   "Finished CreateFolder"});
        if (backupKey) {
            lines.push_back("Successfully opened Settings RegKey");
            if (!hadBackupFolder)
                lines.push_back("Failed to delete value BackupFolder");
            lines.push_back("Write to BackupFolder key succeeded");
        } else {
            lines.push_back("Failed to open Settings reg key");
        }
        lines.insert(lines.end(), {"Exiting CheckBackup", "Done Backup!", "In CheckTidy", User("Tidy"),
                                   "Exit CheckTidy", "Finished"});
        return lines;
    }

    std::vector<std::string> ToolLog(const std::string& verb) const
    {
        return {"In RegContext",
                "Successfully opened quillmate location key",
                "Location is:",
                std::string(kInstallDir) + "\\Qmate.exe",
                "ExePath is:",
                std::string(kInstallDir) + "\\Quillmate_Setuptool.exe",
                "Starting the tool with the verb " + verb,
                "Registration tool finished"};
    }

    std::unique_ptr<RegistrySnapshot> m_settings;
    std::unique_ptr<TempDir> m_dir;
    std::string m_user;
    std::string m_oldShellFolder;
    bool m_hadShellFolder = false;
    bool m_installed = false;
    bool m_oldSystem = false;
};

TEST_F(SetupHookTest, InstallPreparesTheUserFoldersAndRegistersAndRemovalUnregisters)
{
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, QM_REGKEY_BACKUPSETTINGS, "Enabled", "1"));

    ActionLog log = Msi("/i", "setup_test.msi", "install.log");

    EXPECT_EQ(Section(log.lines, "****************************", "Starting LogFileDirectory..."),
              SetupLog(true, false, ""));
    // The folder listing: every entry after the first, in the folder's order,
    // and the library test-loaded where it is found.
    std::vector<std::string> listing = Section(log.lines, "Starting LogFileDirectory...", "In RegContext");
    ASSERT_GE(listing.size(), 5u);
    EXPECT_EQ(listing[0], "Starting LogFileDirectory...");
    EXPECT_EQ(listing[1], kInstallDir);
    EXPECT_EQ(listing[2], "First file name:");
    EXPECT_EQ(listing.back(), "Finished LogFileDirectory...");
    auto found = std::find(listing.begin(), listing.end(), std::string(kInstallDir) + "\\QmateShell.dll");
    ASSERT_NE(found, listing.end());
    ASSERT_LT(found + 2, listing.end());
    EXPECT_EQ(*(found + 1), "Found File:");
    EXPECT_EQ(*(found + 2), "QmateShell.dll");
    for (const char* entry : {"Quillmate_Setuptool.exe", "Config", "Tidy"})
        EXPECT_TRUE(std::count(listing.begin(), listing.end(), std::string(kInstallDir) + "\\" + entry) == 1 ||
                    listing[3] == entry)
            << entry;
    EXPECT_EQ(std::count(listing.begin(), listing.end(), "QmateShell.dll Load Library failed from LogFileDirectory"),
              0);
    EXPECT_EQ(Section(log.lines, "In RegContext", ""), ToolLog("runas"));

    // The per-user folders and their files.
    for (const char* folder : {"Config", "Templates", "Backup", "Tidy"})
        EXPECT_TRUE(FolderExists(User(folder))) << folder;
    // Every language file of the editor, as it ships.
    const std::vector<std::string> shipped = qmtest::FileNamesIn(QM_SHIPPED_CONFIG_SOURCE, "*.config");
    ASSERT_FALSE(shipped.empty()) << QM_SHIPPED_CONFIG_SOURCE;
    EXPECT_EQ(qmtest::FileNamesIn(User("Config"), "*.config"), shipped);
    for (const std::string& name : shipped)
        EXPECT_EQ(FileText(User("Config\\" + name)), ShippedConfig(name)) << name;
    // And every HTML Tidy option file.
    const std::vector<std::string> tidy = qmtest::FileNamesIn(QM_SHIPPED_TIDY_SOURCE, "*.tidy");
    ASSERT_EQ(tidy, (std::vector<std::string>{"html_clean.tidy", "xhtml_clean.tidy", "xml_pretty_print.tidy"}));
    EXPECT_EQ(qmtest::FileNamesIn(User("Tidy"), "*.tidy"), tidy);
    for (const std::string& name : tidy)
        EXPECT_EQ(FileText(User("Tidy\\" + name)), ShippedTidy(name)) << name;
    std::string backup;
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, QM_REGKEY_BACKUPSETTINGS, "BackupFolder", backup));
    EXPECT_EQ(backup, User("Backup"));

    // The tool ran with "true": the extension is registered from the install folder.
    std::string server;
    EXPECT_TRUE(ReadString(HKEY_CLASSES_ROOT, "CLSID\\{9B2B3E60-45D2-4038-A0FE-09DF570449DD}\\InprocServer32", "",
                           server));
    EXPECT_EQ(server, std::string(kInstallDir) + "\\QmateShell.dll");
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kHandler));

    ActionLog removal = Msi("/x", "setup_test.msi", "uninstall.log");
    EXPECT_EQ(removal.lines, ToolLog("runas"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandler));
    // The user's folders stay.
    EXPECT_TRUE(FileExists(User("Config\\c.config")));
}

TEST_F(SetupHookTest, ReinstallReplacesTheUsersConfigFilesButKeepsTheirTidyFiles)
{
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, QM_REGKEY_BACKUPSETTINGS, "BackupFolder", "C:\\old backups"));
    MakeUserFolders({"Config", "Tidy"});
    ASSERT_TRUE(WriteTextFile(User("Config\\c.config"), "users own c settings"));
    ASSERT_TRUE(WriteTextFile(User("Config\\extra.config"), "users own language"));
    ASSERT_TRUE(WriteTextFile(User("Tidy\\html_clean.tidy"), "users own html settings"));
    ASSERT_TRUE(WriteTextFile(User("Tidy\\mine.tidy"), "users own tidy file"));

    ActionLog log = Msi("/i", "setup_test.msi", "install.log");

    EXPECT_EQ(Section(log.lines, "****************************", "Starting LogFileDirectory..."),
              SetupLog(true, true, ""));
    // The shipped configuration replaces the user's ...
    EXPECT_EQ(FileText(User("Config\\c.config")), ShippedConfig("c.config"));
    EXPECT_EQ(FileText(User("Config\\cpp.config")), ShippedConfig("cpp.config"));
    EXPECT_FALSE(FileExists(User("Config\\extra.config")));
    // ... while the user's Tidy files are kept and only missing ones are added.
    EXPECT_EQ(FileText(User("Tidy\\html_clean.tidy")), "users own html settings");
    EXPECT_EQ(FileText(User("Tidy\\mine.tidy")), "users own tidy file");
    EXPECT_EQ(FileText(User("Tidy\\xml_pretty_print.tidy")), ShippedTidy("xml_pretty_print.tidy"));
    std::string backup;
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, QM_REGKEY_BACKUPSETTINGS, "BackupFolder", backup));
    EXPECT_EQ(backup, User("Backup"));
}

// When the shipped configuration cannot be read, the user's configuration
// files are kept. Without a BackupSettings key nothing is written there.
TEST_F(SetupHookTest, MissingConfigSourceKeepsTheUsersConfigFiles)
{
    MakeUserFolders({"Config"});
    ASSERT_TRUE(WriteTextFile(User("Config\\c.config"), "users own c settings"));
    ASSERT_TRUE(WriteTextFile(User("Config\\extra.config"), "users own language"));

    ActionLog log = Msi("/i", "setup_test.msi", "install.log", "CONFIGSUB=NoSuchFolder");

    EXPECT_EQ(Section(log.lines, "****************************", "Starting LogFileDirectory..."),
              SetupLog(false, false, "No *.config files to copy from ConfigPath; the user's files are kept"));
    EXPECT_EQ(FileText(User("Config\\c.config")), "users own c settings");
    EXPECT_EQ(FileText(User("Config\\extra.config")), "users own language");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, QM_REGKEY_BACKUPSETTINGS));
}

// An AppPath that is not a full path never starts the tool, even where a
// search of the path would find a tool of that name (the build's bin folder).
TEST_F(SetupHookTest, BareAppPathDoesNotStartTheTool)
{
    ActionLog log = Msi("/i", "setup_test_bare_apppath.msi", "install.log");
    EXPECT_EQ(Section(log.lines, "In RegContext", ""),
              (std::vector<std::string>{"In RegContext", "Successfully opened quillmate location key", "Location is:",
                                        "Qmate.exe",
                                        "AppPath is not a full path; the registration tool is not started"}));
    PumpFor(1000);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandler));
    Msi("/x", "setup_test_bare_apppath.msi", "uninstall.log");
}

// On a system of major version 5 the tool is started with "open" (there is no
// elevation to ask for); the installer is told it runs on such a system.
TEST_F(SetupHookTest, OldSystemsStartTheToolWithOpen)
{
    ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, kInstallerDefaults));
    m_oldSystem = true;
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, kInstallerDefaults, "Version", "winxp"));
    ActionLog log = Msi("/i", "setup_test.msi", "install.log");
    EXPECT_EQ(Section(log.lines, "In RegContext", ""), ToolLog("open"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kHandler));
    ActionLog removal = Msi("/x", "setup_test.msi", "uninstall.log");
    EXPECT_EQ(removal.lines, ToolLog("open"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandler));
}

} // namespace
