// Hands a list of files to the editor: writes them under FilesToOpen and wakes
// the running editor, or starts it.
#ifndef QMATESHELL_EDITOR_LAUNCHER_H
#define QMATESHELL_EDITOR_LAUNCHER_H

#include <string>
#include <vector>

// Paths are UTF-8; they reach the registry and Windows through the wide
// functions.
class CEditorLauncher {
public:
    // Deletes any earlier list and reads the editor's path (QuillmatePath).
    explicit CEditorLauncher(const std::vector<std::string>& files);

    // True when the editor was woken or started; false when the command was
    // refused (unknown editor path, or a name the editor could not open),
    // after telling the user in a message box.
    bool OpenFiles();

    const std::string& EditorPath() const { return m_editorPath; }
    int Count() const { return m_count; }

    static void ClearFileList();

private:
    void AddFile(const std::string& path);

    const std::vector<std::string>& m_files;
    std::string m_editorPath;
    int m_count = 0;
};

#endif
