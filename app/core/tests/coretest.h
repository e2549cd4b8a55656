// coretest.h - support for the core's tests: a private registry key and a
// private per-user folder, file helpers and fixtures. Temporary folders and
// the message-box recorder come from tests/support (qmtest).
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "fx/app.h"

#include <qmtest/files.h>
#include <qmtest/messageboxes.h>

namespace coretest {

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
    static const std::string& DataRoot(); // stands in for the local application data folder
};

// Deletes every section of the private application key, so each test starts
// from an empty profile.
void ClearProfile();

// Text of a fixture under app/core/tests/fixtures.
std::string FixturePath(const std::string& relative);

} // namespace coretest
