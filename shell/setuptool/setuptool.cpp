// Quillmate_Setuptool.exe: registers ("true") or unregisters (anything else)
// the Explorer context-menu extension QmateShell.dll from the editor's program
// folder. Its manifest asks for administrator rights; the installer and the
// editor's options page start it with one argument. Everything it has to say
// goes to the standard output; the exit code is always 0.
#include <windows.h>
#include <mbstring.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../common/path_parts.h"
#include "../common/reg_util.h"
#include "../include/qmate_handover.h"

namespace {

const char kLibraryName[] = "QmateShell.dll";

} // namespace

void PrintLine(const std::string& text)
{
    std::string line = text + "\r\n";
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (out && out != INVALID_HANDLE_VALUE)
        WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

int RegContext(bool doRegister)
{
    PrintLine("In RegContext");
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, QM_REGKEY_SETTINGS, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        PrintLine("Failed to open quillmate path key");
        return 1;
    }
    PrintLine("Successfully opened quillmate location key");
    std::string appPath;
    ReadRegString(key, "AppPath", MAX_PATH, appPath);
    RegCloseKey(key);
    PrintLine("Location is:");
    PrintLine(appPath);

    // The library runs with this tool's rights, so it is taken only from the
    // editor's own folder, named in full: never from a search of the path.
    CPathParts parts(appPath);
    if (!parts.IsFolderOnDrive()) {
        PrintLine("AppPath is not a full path; QmateShell.dll is not loaded");
        PrintLine("Finished RegContext");
        return 0;
    }
    std::string libraryPath = parts.GetFolder() + kLibraryName;
    HMODULE library = LoadLibraryExA(libraryPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!library) {
        PrintLine("QmateShell.dll Load Library failed");
    } else {
        using Entry = HRESULT(STDAPICALLTYPE*)();
        auto entry = reinterpret_cast<Entry>(
            reinterpret_cast<void*>(GetProcAddress(library, doRegister ? "DllRegisterServer" : "DllUnregisterServer")));
        if (!entry) {
            PrintLine("ProcAdd is null");
        } else {
            PrintLine("Calling Dll function");
            if (!doRegister)
                PrintLine("Calling UnRegister function");
            HRESULT hr = entry();
            if (FAILED(hr)) {
                char text[64];
                std::snprintf(text, sizeof(text), "The library reported error 0x%08lX",
                              static_cast<unsigned long>(hr));
                PrintLine(text);
            }
        }
        FreeLibrary(library);
    }
    PrintLine("Finished RegContext");
    return 0;
}

int main(int argc, char** argv)
{
    std::string arg = argc > 1 ? argv[1] : "";
    std::vector<unsigned char> lowered(arg.begin(), arg.end());
    lowered.push_back('\0');
    _mbslwr(lowered.data());
    arg.assign(reinterpret_cast<const char*>(lowered.data()));
    PrintLine(arg);

    bool doRegister = arg == "true";
    PrintLine(doRegister ? "Doing Registration" : "Unregistering");
    RegContext(doRegister);
    PrintLine("Finished");
    return 0;
}
