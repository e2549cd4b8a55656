// Skips of every kind, for the skip-rule test (skiprule_test.cpp), which runs
// this program and reads its results. Not run by CTest: it fails on purpose.
#include <gtest/gtest.h>

TEST(SkipProbe, MissingFeature)
{
    GTEST_SKIP() << "the editor has no such window yet";
}

TEST(SkipProbe, NoMessage)
{
    GTEST_SKIP();
}

TEST(SkipProbe, PlatformLimit)
{
    GTEST_SKIP() << "platform limit: no printer is installed";
}

TEST(SkipProbe, LimitNamedLaterInTheMessage)
{
    GTEST_SKIP() << "not built yet (no platform limit: just missing)";
}

TEST(SkipProbe, Passes)
{
    SUCCEED();
}

TEST(SkipProbe, FailsAndSkips)
{
    ADD_FAILURE() << "a failure before the skip";
    GTEST_SKIP() << "platform limit: no compositor under Xvfb";
}

class SuiteSkippedForAFeature : public ::testing::Test {
protected:
    static void SetUpTestSuite() { GTEST_SKIP() << "the suite's feature is not built"; }
};

TEST_F(SuiteSkippedForAFeature, First) {}

class SuiteSkippedForALimit : public ::testing::Test {
protected:
    static void SetUpTestSuite() { GTEST_SKIP() << "platform limit: no browser engine"; }
};

TEST_F(SuiteSkippedForALimit, First) {}
