// The shell files keep names and texts as UTF-8 strings and hand them to
// Windows through the wide functions, so a name in any language survives
// whatever code page the host process runs with (Explorer and the installer
// run with the system's legacy one).
#ifndef QM_SHELL_WIDE_TEXT_H
#define QM_SHELL_WIDE_TEXT_H

#include <string>

std::wstring WideFromUtf8(const std::string& text);
// n: units of `text` (-1: up to its NUL).
std::string Utf8FromWide(const wchar_t* text, int n = -1);

#endif
