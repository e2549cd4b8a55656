// frametest.h - support for the frame's tests: the editor's application
// object on a private registry key and a private per-user folder, and
// registry helpers. Temporary folders and the message-box recorder come from
// tests/support (qmtest).
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillmateapp.h"

#include <qmtest/files.h>
#include <qmtest/messageboxes.h>

namespace frametest {

CQuillmateApp& App();

// HKEY_CURRENT_USER\Software\<unique>\Quillmate, removed at the end.
std::string AppKeyPath();
// Deletes every section of the private application key.
void ClearProfile();

// Raw access to a section of the private key.
void SetDword(const char* section, const char* name, DWORD value);
void SetString(const char* section, const char* name, const std::string& value);
void SetRaw(const char* section, const char* name, DWORD type, const void* data, DWORD size);
bool GetDword(const char* section, const char* name, DWORD* pValue, DWORD* pType = nullptr);
bool GetString(const char* section, const char* name, std::string* pValue);
std::vector<BYTE> GetBinary(const char* section, const char* name, DWORD* pType = nullptr);
bool SectionExists(const char* section);
// name -> string data of every value of a section.
std::vector<std::pair<std::string, std::string>> StringValues(const char* section);

// Runs the messages waiting for this thread (and idle updates).
void Pump(int nRounds = 5);

} // namespace frametest
