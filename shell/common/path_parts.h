// Splitting of a UTF-8 path into drive, folder, file name and extension, the
// way the C runtime's path splitting does it.
#ifndef QM_SHELL_PATH_PARTS_H
#define QM_SHELL_PATH_PARTS_H

#include <string>

class CPathParts {
public:
    explicit CPathParts(const std::string& path);

    const std::string& GetDrive() const { return m_drive; }    // "C:" or empty
    const std::string& GetDir() const { return m_dir; }        // "\Apps\Q\" (keeps the trailing separator)
    const std::string& GetFileName() const { return m_fname; } // "Qmate"
    const std::string& GetExt() const { return m_ext; }        // ".exe"
    // Drive followed by folder: "C:\Apps\Q\".
    std::string GetFolder() const { return m_drive + m_dir; }

    // True when the folder is an absolute folder on a drive ("X:\..."):
    // nothing relative, nothing that a search of the path could resolve, no
    // network share.
    bool IsFolderOnDrive() const;

private:
    std::string m_drive;
    std::string m_dir;
    std::string m_fname;
    std::string m_ext;
};

#endif
