#include <gtest/gtest.h>

#include "path_parts.h"

namespace {

struct PathCase {
    const char* path;
    const char* drive;
    const char* dir;
    const char* fname;
    const char* ext;
    bool onDrive;
};

class PathPartsTest : public ::testing::TestWithParam<PathCase> {
};

TEST_P(PathPartsTest, SplitsLikeTheRuntime)
{
    const PathCase& c = GetParam();
    CPathParts parts(c.path);
    EXPECT_EQ(parts.GetDrive(), c.drive);
    EXPECT_EQ(parts.GetDir(), c.dir);
    EXPECT_EQ(parts.GetFileName(), c.fname);
    EXPECT_EQ(parts.GetExt(), c.ext);
    EXPECT_EQ(parts.GetFolder(), std::string(c.drive) + c.dir);
    EXPECT_EQ(parts.IsFolderOnDrive(), c.onDrive);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathPartsTest,
    ::testing::Values(PathCase{"C:\\Apps\\Q\\Qmate.exe", "C:", "\\Apps\\Q\\", "Qmate", ".exe", true},
                      PathCase{"c:/apps/q/Qmate.exe", "c:", "/apps/q/", "Qmate", ".exe", true},
                      PathCase{"Qmate.exe", "", "", "Qmate", ".exe", false},
                      PathCase{"", "", "", "", "", false},
                      PathCase{"C:Qmate.exe", "C:", "", "Qmate", ".exe", false},
                      PathCase{"\\Apps\\Qmate.exe", "", "\\Apps\\", "Qmate", ".exe", false},
                      PathCase{"\\\\server\\share\\Qmate.exe", "", "\\\\server\\share\\", "Qmate", ".exe", false},
                      PathCase{"C:\\my.folder\\readme", "C:", "\\my.folder\\", "readme", "", true},
                      PathCase{"C:\\a\\archive.tar.gz", "C:", "\\a\\", "archive.tar", ".gz", true},
                      PathCase{"C:\\Apps\\Q\\", "C:", "\\Apps\\Q\\", "", "", true},
                      PathCase{"1:\\x\\y.exe", "1:", "\\x\\", "y", ".exe", false}));

} // namespace
