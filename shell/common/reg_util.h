// Small registry helpers shared by the set-up files and the extension.
#ifndef QM_SHELL_REG_UTIL_H
#define QM_SHELL_REG_UTIL_H

#include <windows.h>
#include <string>

// Reads a string value of an open key into `out`, taking at most `maxBytes`
// bytes including the terminating NUL. REG_SZ and REG_EXPAND_SZ are accepted
// (taken as they stand). Anything else, a missing value or a read failure
// gives false and an empty string. Data that lacks its NUL is cut at the end
// of the data, never read past.
bool ReadRegString(HKEY key, const char* name, DWORD maxBytes, std::string& out);

// Writes a REG_SZ value, length + 1 bytes.
LONG WriteRegString(HKEY key, const char* name, const std::string& value);

#endif
