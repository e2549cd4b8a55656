#include "editor_launcher.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "../common/path_parts.h"
#include "../common/reg_util.h"
#include "../common/wide_text.h"
#include "../include/qmate_handover.h"
#include "enumerators.h"

namespace {

const char kTitle[] = "Quillmate";

std::string Format(const char* fmt, const std::string& a, const std::string& b = std::string())
{
    int n = std::snprintf(nullptr, 0, fmt, a.c_str(), b.c_str());
    std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0)
        std::snprintf(&out[0], out.size() + 1, fmt, a.c_str(), b.c_str());
    return out;
}

bool HasUnknownCharacter(const std::string& path)
{
    // No file name holds '?': one that does was spelled by something that
    // could not spell the real character. (No byte of a UTF-8 sequence is a
    // '?'.)
    return path.find('?') != std::string::npos;
}

void Tell(const std::string& text, UINT icon)
{
    MessageBoxW(nullptr, WideFromUtf8(text).c_str(), WideFromUtf8(kTitle).c_str(), icon);
}

} // namespace

CEditorLauncher::CEditorLauncher(const std::vector<std::string>& files) : m_files(files)
{
    ClearFileList();
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, QM_REGKEY_APP, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        ReadRegString(key, QM_REGVAL_QUILLMATEPATH, MAX_PATH, m_editorPath);
        RegCloseKey(key);
    }
}

void CEditorLauncher::ClearFileList()
{
    // The whole key goes, whatever it holds, so a new list never mixes with an
    // old one.
    RegDeleteTreeA(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN);
    RegDeleteKeyA(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN);
}

void CEditorLauncher::AddFile(const std::string& path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    // UTF-16 in the registry, so the editor reads the name whole.
    if (WriteRegString(key, std::to_string(m_count + 1).c_str(), path) == ERROR_SUCCESS)
        ++m_count; // numbering stays gapless when a write fails
    RegCloseKey(key);
}

bool CEditorLauncher::OpenFiles()
{
    // The editor is started from this path, so it has to name a program on a
    // drive: an empty or relative one would be resolved by a search.
    if (m_editorPath.empty() || !CPathParts(m_editorPath).IsFolderOnDrive()) {
        std::string text = Format("Sorry, but I do not know where %s is.  You can fix this problem by launching %s.",
                                  kTitle, kTitle);
        Tell(text, MB_ICONINFORMATION);
        return false;
    }

    ClearFileList();
    // Every name is checked before anything is written: an editor that starts
    // meanwhile never sees a partial list.
    for (const std::string& path : m_files) {
        if (HasUnknownCharacter(path)) {
            std::string text =
                Format("The file '%s' has an unknown character in its name, and will not be opened.", path);
            Tell(text, MB_ICONWARNING);
            ClearFileList();
            return false;
        }
    }
    for (const std::string& path : m_files)
        AddFile(path);

    HWND frame = FindProcessMainWindow(QM_EDITOR_IMAGE_NAME, QM_MAINFRAME_CLASS);
    if (frame) {
        ShowWindow(frame, SW_SHOWMAXIMIZED);
        SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        PostMessageA(frame, WM_OPENFILESTOOPEN, 0, 0);
    } else {
        // The list stays in the registry; the editor reads it at start-up.
        ShellExecuteW(nullptr, L"open", WideFromUtf8(m_editorPath).c_str(), L"", nullptr, SW_SHOW);
    }
    return true;
}
