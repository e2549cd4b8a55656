// Theme texts for tests of the Office 2007 look: an ASCII text as the
// UTF-16 LE bytes the theme module holds, and the process-wide theme's text
// replaced for the life of an object (the module and its images stay).
#pragma once

#include <qx/themeres.h>

#include <string>
#include <vector>

namespace qmtest {

// The bytes of an ASCII text in UTF-16 LE, no terminator (line ends as
// written).
inline std::vector<BYTE> Utf16LE(const std::string& text)
{
    std::vector<BYTE> bytes;
    bytes.reserve(text.size() * 2);
    for (unsigned char c : text) {
        bytes.push_back(c);
        bytes.push_back(0);
    }
    return bytes;
}

// GetThemeResources() reads this text until the object goes; an empty
// text unloads it.
class ScopedThemeText {
public:
    explicit ScopedThemeText(const std::string& text) : m_bytes(Utf16LE(text))
    {
        ThemeResources* pTheme = GetThemeResources();
        m_saved = pTheme->m_text;
        pTheme->m_text.Set(m_bytes.empty() ? NULL : m_bytes.data(), (DWORD)m_bytes.size());
    }
    ~ScopedThemeText() { GetThemeResources()->m_text = m_saved; }
    ScopedThemeText(const ScopedThemeText&) = delete;
    ScopedThemeText& operator=(const ScopedThemeText&) = delete;

private:
    std::vector<BYTE> m_bytes;
    ThemeText m_saved;
};

} // namespace qmtest
