// coretest.h - support for the core's tests: private folders, a private
// registry key and file helpers.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "fx/app.h"

#include <qmtest/files.h>

namespace coretest {

// A new empty folder under the temporary folder, deleted with everything in
// it when the object goes.
class TempFolder {
public:
    TempFolder() : m_dir("qmcore") {}
    const std::string& Path() const { return m_dir.Root(); }
    std::string operator/(const std::string& name) const { return m_dir.Path(name.c_str()); }

private:
    qmtest::TempDir m_dir;
};

inline void DeleteTree(const std::string& path) { qmtest::RemoveTree(path); }

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// The test program's application object gets a registry key of its own
// (HKEY_CURRENT_USER\Software\<unique maker>\Quillmate), removed at the end.
// Its folder of per-user data is a private temporary folder as well.
class ProfileEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;
    static const std::string& Maker();
    static const std::string& DataRoot();  // stands in for the local application data folder
};

// Deletes every section of the private application key, so each test starts
// from an empty profile.
void ClearProfile();

// Answers the core's message boxes and records their texts.
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

// Text of a fixture under app/core/tests/fixtures.
std::string FixturePath(const std::string& relative);

} // namespace coretest
