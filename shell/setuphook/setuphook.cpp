// Setuphook.dll: the custom actions of the editor's installer package. They
// prepare the per-user folders (configuration, templates, backups, HTML Tidy
// settings), record the backup folder, look over the installed files and start
// the registration tool. Every step is written to the installer's log; no
// action ever fails the installation. Paths are UTF-8 strings and reach
// Windows through the wide functions: the installer runs with the system's
// legacy code page, which cannot spell every name.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <shlobj.h>
#include <shellapi.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "../common/path_parts.h"
#include "../common/reg_util.h"
#include "../common/wide_text.h"
#include "../include/qmate_handover.h"

namespace {

MSIHANDLE g_install = 0;

const char kAppName[] = "Quillmate";
const char kToolName[] = "Quillmate_Setuptool.exe";
const char kLibraryName[] = "QmateShell.dll";
const char kInstallFolder[] = "C:\\Program Files\\Fernbright\\Quillmate";
// How long an action waits for the registration tool (which may be waiting
// for the user to allow it administrator rights).
const DWORD kToolTimeoutMs = 120000;

// ---- logging -----------------------------------------------------------------

void LogMessage(const std::string& text)
{
    MSIHANDLE record = MsiCreateRecord(2);
    if (!record)
        return;
    // The text goes in as a field, not as part of the template: the installer
    // would otherwise read brackets in paths as properties to expand.
    MsiRecordSetStringW(record, 0, L" CUSTOMACTION_LOGGING --   [1]");
    MsiRecordSetStringW(record, 1, WideFromUtf8(text).c_str());
    MsiProcessMessage(g_install, INSTALLMESSAGE_INFO, record);
    MsiCloseHandle(record);
}

void LogLastError()
{
    DWORD code = GetLastError();
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0,
                   nullptr);
    char head[32];
    std::snprintf(head, sizeof(head), "error %lu: ", static_cast<unsigned long>(code));
    LogMessage(std::string(head) + (text ? text : ""));
    if (text)
        LocalFree(text);
}

// ---- folders and files ---------------------------------------------------------

bool CreateFolder(const std::string& path)
{
    if (path.empty())
        return false;
    int rc = SHCreateDirectoryExW(nullptr, WideFromUtf8(path).c_str(), nullptr);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_EXISTS || rc == ERROR_ALREADY_EXISTS;
}

std::string UserFolder(const char* leaf)
{
    wchar_t base[MAX_PATH + 1] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base);
    return Utf8FromWide(base) + "\\Fernbright\\" + kAppName + "\\" + leaf;
}

std::string GetUserConfigFolder()
{
    return UserFolder("Config");
}

// Plain files (no folders) in `folder` matching `pattern`.
std::vector<std::string> MatchingFiles(const std::string& folder, const char* pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(WideFromUtf8(folder + "\\" + pattern).c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(Utf8FromWide(fd.cFileName));
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return names;
}

void CopyMatchingFiles(const std::string& source, const std::string& target, const char* pattern)
{
    for (const std::string& name : MatchingFiles(source, pattern))
        CopyFileW(WideFromUtf8(source + "\\" + name).c_str(), WideFromUtf8(target + "\\" + name).c_str(),
                  TRUE); // keep existing
}

// A folder named in full on a drive; an empty or relative one would make the
// search start wherever the installer's current folder happens to be.
bool IsFolderPath(const std::string& folder)
{
    return !folder.empty() && CPathParts(folder + "\\").IsFolderOnDrive();
}

std::string Lower(std::string text)
{
    std::wstring wide = WideFromUtf8(text);
    if (!wide.empty())
        CharLowerBuffW(&wide[0], static_cast<DWORD>(wide.size()));
    return Utf8FromWide(wide.c_str(), static_cast<int>(wide.size()));
}

bool IsMajorVersionAtMost(DWORD major)
{
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    info.dwMajorVersion = major;
    DWORDLONG mask = VerSetConditionMask(0, VER_MAJORVERSION, VER_LESS_EQUAL);
    return VerifyVersionInfoA(&info, VER_MAJORVERSION, mask) != FALSE;
}

bool ReadSetting(const char* name, std::string& value, bool* keyOpened)
{
    value.clear();
    HKEY key = nullptr;
    *keyOpened = RegOpenKeyExA(HKEY_CURRENT_USER, QM_REGKEY_SETTINGS, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (!*keyOpened)
        return false;
    bool ok = ReadRegString(key, name, MAX_PATH, value);
    RegCloseKey(key);
    return ok;
}

// ---- the steps of SetupDirectories ------------------------------------------------

void CheckConfig()
{
    LogMessage("In CheckConfig");
    std::string folder = GetUserConfigFolder();
    LogMessage(folder);
    if (!CreateFolder(folder))
        return;
    std::string source;
    bool opened = false;
    ReadSetting("ConfigPath", source, &opened);
    if (!opened) {
        LogMessage("Failed to open Settings key");
    } else {
        // The shipped files replace the user's. The user's files go only once
        // the shipped ones are known to be there: a missing or unreadable
        // source leaves the user's configuration as it is.
        std::vector<std::string> shipped;
        if (IsFolderPath(source))
            shipped = MatchingFiles(source, "*.config");
        if (shipped.empty()) {
            LogMessage("No *.config files to copy from ConfigPath; the user's files are kept");
        } else {
            std::set<std::string> replaced;
            for (const std::string& name : shipped) {
                // Copying over the user's file replaces it in one step; when
                // the copy fails, the user's file is still there.
                if (CopyFileW(WideFromUtf8(source + "\\" + name).c_str(), WideFromUtf8(folder + "\\" + name).c_str(),
                              FALSE))
                    replaced.insert(Lower(name));
            }
            // The user's other *.config files go too, once something was copied.
            if (!replaced.empty()) {
                for (const std::string& name : MatchingFiles(folder, "*.config"))
                    if (!replaced.count(Lower(name)))
                        DeleteFileW(WideFromUtf8(folder + "\\" + name).c_str());
            }
        }
    }
    LogMessage("Exit CheckConfig");
}

void CheckTemplates()
{
    LogMessage("In CheckTemplates");
    std::string folder = UserFolder("Templates");
    LogMessage(folder);
    CreateFolder(folder);
    LogMessage("Exit CheckTemplates");
}

void CheckBackup()
{
    LogMessage("In CheckBackup");
    std::string folder = UserFolder("Backup");
    LogMessage(folder);
    CreateFolder(folder);
    LogMessage("Finished CreateFolder");
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, QM_REGKEY_BACKUPSETTINGS, 0, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                      &key) != ERROR_SUCCESS) {
        key = nullptr;
        LogMessage("Failed to open Settings reg key");
    } else {
        LogMessage("Successfully opened Settings RegKey");
        if (RegDeleteValueA(key, "BackupFolder") != ERROR_SUCCESS)
            LogMessage("Failed to delete value BackupFolder");
        if (WriteRegString(key, "BackupFolder", folder) == ERROR_SUCCESS)
            LogMessage("Write to BackupFolder key succeeded");
        else
            LogMessage("Write to BackupFolder key failed");
    }
    LogMessage("Exiting CheckBackup");
    if (key)
        RegCloseKey(key);
}

void CheckTidy()
{
    LogMessage("In CheckTidy");
    std::string folder = UserFolder("Tidy");
    LogMessage(folder);
    if (!CreateFolder(folder))
        return;
    std::string source;
    bool opened = false;
    ReadSetting("TidySettingsPath", source, &opened);
    if (!opened) {
        LogMessage("Failed to open Settings key");
    } else if (!IsFolderPath(source)) {
        LogMessage("TidySettingsPath is not a full folder path; nothing copied");
    } else {
        // The user's own *.tidy files are kept; only missing ones are added.
        CopyMatchingFiles(source, folder, "*.tidy");
    }
    LogMessage("Exit CheckTidy");
}

// ---- registration ----------------------------------------------------------------

void RunRegistrationTool(bool doRegister)
{
    LogMessage("In RegContext");
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExA(HKEY_CURRENT_USER, QM_REGKEY_SETTINGS, 0, KEY_READ, &key);
    if (rc != ERROR_SUCCESS) {
        LogMessage("Failed to open quillmate path key");
        SetLastError(static_cast<DWORD>(rc));
        LogLastError();
        return;
    }
    LogMessage("Successfully opened quillmate location key");
    std::string appPath;
    ReadRegString(key, "AppPath", MAX_PATH, appPath);
    RegCloseKey(key);
    LogMessage("Location is:");
    LogMessage(appPath);

    // The tool may run elevated: it is started only by its full path in the
    // editor's folder, never by a bare name that a search would resolve.
    CPathParts parts(appPath);
    if (!parts.IsFolderOnDrive()) {
        LogMessage("AppPath is not a full path; the registration tool is not started");
        return;
    }
    std::string tool = parts.GetFolder() + kToolName;
    LogMessage("ExePath is:");
    LogMessage(tool);

    // The installation goes on only when the tool is done: on removal, the
    // files it needs are deleted right after this action.
    const bool runAs = !IsMajorVersionAtMost(5);
    const std::wstring toolWide = WideFromUtf8(tool);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = runAs ? L"runas" : L"open";
    info.lpFile = toolWide.c_str();
    info.lpParameters = doRegister ? L"true" : L"false";
    info.nShow = SW_HIDE;
    LogMessage(std::string("Starting the tool with the verb ") + (runAs ? "runas" : "open"));
    if (!ShellExecuteExW(&info)) {
        LogMessage("Could not start the registration tool");
        LogLastError();
        return;
    }
    if (info.hProcess) {
        if (WaitForSingleObject(info.hProcess, kToolTimeoutMs) == WAIT_OBJECT_0)
            LogMessage("Registration tool finished");
        else
            LogMessage("Registration tool did not finish in time");
        CloseHandle(info.hProcess);
    }
}

} // namespace

// ---- exports ------------------------------------------------------------------------

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

extern "C" UINT __stdcall SetupDirectories(MSIHANDLE install)
{
    g_install = install;
    LogMessage("****************************");
    LogMessage("Starting...");
    CheckConfig();
    LogMessage("Done Config!");
    CheckTemplates();
    LogMessage("Done Templates!");
    CheckBackup();
    LogMessage("Done Backup!");
    CheckTidy();
    LogMessage("Finished");
    return ERROR_SUCCESS;
}

extern "C" UINT __stdcall LogFileDirectory(MSIHANDLE install)
{
    g_install = install;
    LogMessage("Starting LogFileDirectory...");
    std::string folder = kInstallFolder;
    LogMessage(folder);
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(WideFromUtf8(folder + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) {
        std::printf("Invalid file handle. Error is %lu.\n", static_cast<unsigned long>(GetLastError()));
        return ERROR_SUCCESS;
    }
    LogMessage("First file name:");
    LogMessage(Utf8FromWide(fd.cFileName));
    while (FindNextFileW(find, &fd)) {
        const std::string name = Utf8FromWide(fd.cFileName);
        std::string full = folder + "\\" + name;
        LogMessage(full);
        if (Lower(name) == Lower(kLibraryName)) {
            LogMessage("Found File:");
            LogMessage(name);
            HMODULE library = LoadLibraryExW(WideFromUtf8(full).c_str(), nullptr, 0);
            if (library) {
                FreeLibrary(library);
            } else {
                LogMessage("QmateShell.dll Load Library failed from LogFileDirectory");
                LogLastError();
            }
        }
    }
    DWORD err = GetLastError();
    FindClose(find);
    if (err == ERROR_NO_MORE_FILES) {
        LogMessage("Finished LogFileDirectory...");
    } else {
        char text[64];
        std::snprintf(text, sizeof(text), "FindNextFile error. Error is %lu.", static_cast<unsigned long>(err));
        LogMessage(text);
    }
    return ERROR_SUCCESS;
}

extern "C" UINT __stdcall RegContext(MSIHANDLE install)
{
    g_install = install;
    RunRegistrationTool(true);
    return ERROR_SUCCESS;
}

extern "C" UINT __stdcall UnRegContext(MSIHANDLE install)
{
    g_install = install;
    RunRegistrationTool(false);
    return ERROR_SUCCESS;
}
