// profile.h - the core's access to the application's profile (the registry
// key HKEY_CURRENT_USER\Software\<registry key>\<profile name> of the
// running application object). Reads and writes go through the
// application's profile functions; this adds the few operations they lack.
// Without an application object every read gives its default and every
// write fails.
#pragma once

#include <windows.h>
#include <vector>

#include "fx/string.h"

namespace qm {

int GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = "");
BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
BOOL DeleteProfileValue(LPCSTR lpszSection, LPCSTR lpszEntry);
// Deletes a section key with everything below it.
BOOL DeleteProfileSection(LPCSTR lpszSection);

struct ProfileValue {
    CString name;
    DWORD type;
};
// The values of a section in the registry's enumeration order (none when the
// section does not exist).
std::vector<ProfileValue> EnumProfileValues(LPCSTR lpszSection);

} // namespace qm
