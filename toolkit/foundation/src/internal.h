// Helpers shared by the foundation's sources (not part of the public headers).
#pragma once

#include <fx/fx.h>

#include <string>
#include <vector>

namespace qx {
namespace detail {

// Binary data as text: each byte becomes two capital letters, 'A' + the low
// four bits, then 'A' + the high four bits.
std::string EncodeLetters(const BYTE* pData, size_t nBytes);
// The reverse; each byte is (second - 'A') * 16 + (first - 'A') modulo 256.
// FALSE for an odd length.
bool DecodeLetters(const char* psz, size_t nLength, std::vector<BYTE>& out);

// Deletes a key with all its sub-keys (sub-key names up to 256 characters),
// depth first. Returns the registry result.
LONG DeleteKeyTree(HKEY hParent, LPCSTR lpszSubKey);

// Reads a registry value whole: its type and bytes. Returns the registry
// result (ERROR_SUCCESS when read).
LONG QueryValue(HKEY hKey, LPCSTR lpszEntry, DWORD& dwType, std::vector<BYTE>& data);

// The text of a REG_SZ / REG_EXPAND_SZ value's bytes, stopping at the first
// NUL and never reading past the data (damaged values without a terminator
// are cut at their end).
std::string RegText(const std::vector<BYTE>& data);

} // namespace detail
} // namespace qx
