#include "path_parts.h"

#include <windows.h>

CPathParts::CPathParts(const std::string& path)
{
    // The runtime keeps at most these many characters of each part.
    const size_t kDriveMax = 2, kPartMax = 255;

    size_t pos = 0;
    if (path.size() >= 2 && path[1] == ':' && static_cast<unsigned char>(path[0]) < 0x80) {
        m_drive = path.substr(0, 2);
        pos = 2;
    }
    // The last separator and the last dot after it. No byte of a UTF-8
    // sequence is a separator or a dot, so bytes can be looked at one by one.
    size_t lastSep = std::string::npos, lastDot = std::string::npos;
    for (size_t i = pos; i < path.size(); ++i) {
        char c = path[i];
        if (c == '\\' || c == '/') {
            lastSep = i;
            lastDot = std::string::npos;
        } else if (c == '.') {
            lastDot = i;
        }
    }
    size_t nameStart = pos;
    if (lastSep != std::string::npos) {
        m_dir = path.substr(pos, lastSep + 1 - pos);
        nameStart = lastSep + 1;
    }
    if (lastDot != std::string::npos && lastDot >= nameStart) {
        m_fname = path.substr(nameStart, lastDot - nameStart);
        m_ext = path.substr(lastDot);
    } else {
        m_fname = path.substr(nameStart);
    }
    if (m_drive.size() > kDriveMax) m_drive.resize(kDriveMax);
    if (m_dir.size() > kPartMax) m_dir.resize(kPartMax);
    if (m_fname.size() > kPartMax) m_fname.resize(kPartMax);
    if (m_ext.size() > kPartMax) m_ext.resize(kPartMax);
}

bool CPathParts::IsFolderOnDrive() const
{
    if (m_drive.size() != 2)
        return false;
    char letter = m_drive[0];
    bool isLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    return isLetter && !m_dir.empty() && (m_dir[0] == '\\' || m_dir[0] == '/');
}
