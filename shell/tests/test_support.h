// Helpers shared by the shell tests: paths of the build, temporary folders,
// registry snapshots, child processes and waiting.
#ifndef QM_SHELL_TEST_SUPPORT_H
#define QM_SHELL_TEST_SUPPORT_H

#include <windows.h>

#include <qmtest/files.h>
#include <qmtest/process.h>
#include <qmtest/pump.h>

#include <functional>
#include <string>
#include <vector>

namespace qmtest {

// The build's bin folder in Windows form ("Z:\...\bin"), without a trailing
// backslash; `file` is appended when given.
std::string BinPath(const std::string& file = std::string());
// A file of the source tree, Windows form.
std::string SourcePath(const std::string& relative);
// The folder of the running test program.
std::string TestProgramDir();

bool WriteTextFile(const std::string& path, const std::string& text);
bool ReadTextFile(const std::string& path, std::string& text);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Saves a registry key with everything below it, deletes it, and puts the
// saved state back when it goes out of scope.
class RegistrySnapshot {
public:
    RegistrySnapshot(HKEY root, const std::string& path);
    ~RegistrySnapshot();
    RegistrySnapshot(const RegistrySnapshot&) = delete;
    RegistrySnapshot& operator=(const RegistrySnapshot&) = delete;

private:
    HKEY m_root;
    std::string m_path;
    std::string m_backup;
    bool m_existed = false;
};

bool KeyExists(HKEY root, const std::string& path);
// Default value when `name` is empty. False when the key or value is missing.
bool ReadString(HKEY root, const std::string& path, const std::string& name, std::string& value);
bool ValueExists(HKEY root, const std::string& path, const std::string& name);
bool SetString(HKEY root, const std::string& path, const std::string& name, const std::string& value);
void DeleteTree(HKEY root, const std::string& path);
std::vector<std::string> SubKeys(HKEY root, const std::string& path);
// Names of the values of a key, in the key's order.
std::vector<std::string> ValueNames(HKEY root, const std::string& path);

// Polls `done` every 50 ms until it holds or `timeoutMs` passes.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs);

std::vector<std::string> SplitLines(const std::string& text);

} // namespace qmtest

#endif
