// Small registry helpers shared by the set-up files and the extension.
#ifndef QM_SHELL_REG_UTIL_H
#define QM_SHELL_REG_UTIL_H

#include <windows.h>
#include <string>

// Names and values are UTF-8 here and UTF-16 in the registry (the wide
// functions), whatever the code page of the process.

// Reads a string value of an open key into `out`, taking at most `maxChars`
// UTF-16 units including the terminating NUL. REG_SZ and REG_EXPAND_SZ are
// accepted (taken as they stand). Anything else, a missing value or a read
// failure gives false and an empty string. Data that lacks its NUL is cut at
// the end of the data, never read past.
bool ReadRegString(HKEY key, const char* name, DWORD maxChars, std::string& out);

// Writes a REG_SZ value.
LONG WriteRegString(HKEY key, const char* name, const std::string& value);

#endif
