// frametest.h - support for the frame's tests: the editor's application
// object on a private registry key and a private per-user folder, registry
// helpers and a message-box recorder.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillmateapp.h"

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

// A new empty folder under the temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name, const std::string& content) const;

private:
    std::string m_path;
};

// Answers the application's message boxes and records their texts.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int nAnswer = IDOK);
    ~MessageBoxRecorder();
    const std::vector<std::string>& Texts() const { return m_texts; }

private:
    static int Hook(LPCSTR lpszText, UINT nType, UINT nIDHelp, void* pContext);
    int m_nAnswer;
    std::vector<std::string> m_texts;
    fx::MessageBoxHook m_pfnOld;
};

// Runs the messages waiting for this thread (and idle updates).
void Pump(int nRounds = 5);

} // namespace frametest
