// The skip rule of every test program: a test may skip only for a limit of
// the platform it runs on (no printer, no browser engine, no compositor under
// Xvfb), and says so with a message that begins with "platform limit:".
//
//     GTEST_SKIP() << "platform limit: no printer is installed";
//
// Any other skip (a missing feature, an empty message) turns into a failure
// of that test, so a program that loses a feature cannot stay green by
// skipping. The rule is a GoogleTest listener that this file appends to every
// test program before main runs (the object is linked into each program by
// qm_test, whatever its main), so it holds under make test, ctest and a test
// program started by hand alike.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char kPlatformLimit[] = "platform limit:";

bool NamesPlatformLimit(const std::string& message)
{
    size_t at = message.find_first_not_of(" \t\r\n");
    return at != std::string::npos && message.compare(at, sizeof(kPlatformLimit) - 1, kPlatformLimit) == 0;
}

// The skip results of a result, and whether one of them names a platform limit.
bool HasSkip(const ::testing::TestResult& result, bool& named, std::string& message)
{
    bool any = false;
    for (int i = 0; i < result.total_part_count(); ++i) {
        const ::testing::TestPartResult& part = result.GetTestPartResult(i);
        if (!part.skipped())
            continue;
        any = true;
        if (NamesPlatformLimit(part.message()))
            named = true;
        else if (message.empty())
            message = part.message();
    }
    return any;
}

class SkipRule : public ::testing::EmptyTestEventListener {
public:
    // Called while the test is still the current one, and before the result
    // printer reports it (end events go to the listeners last to first), so a
    // failure added here belongs to the test and is printed with it.
    void OnTestEnd(const ::testing::TestInfo& info) override
    {
        const ::testing::TestResult& result = *info.result();
        if (result.Failed())
            return;
        bool named = false;
        std::string message;
        if (!HasSkip(result, named, message))
            return;
        // A skip in SetUpTestSuite reaches each test with an empty message;
        // the reason is in the suite's own result.
        if (const ::testing::TestSuite* suite = ::testing::UnitTest::GetInstance()->current_test_suite()) {
            bool suiteNamed = false;
            std::string suiteMessage;
            if (HasSkip(suite->ad_hoc_test_result(), suiteNamed, suiteMessage)) {
                named = named || suiteNamed;
                if (message.empty())
                    message = suiteMessage;
            }
        }
        if (!named)
            Fail(message);
    }

    // A skip in a global environment's SetUp skips every test of the program.
    void OnEnvironmentsSetUpEnd(const ::testing::UnitTest& unit) override
    {
        bool named = false;
        std::string message;
        if (HasSkip(unit.ad_hoc_test_result(), named, message) && !named)
            Fail(message);
    }

private:
    static void Fail(const std::string& message)
    {
        ADD_FAILURE() << "skipped without a platform limit: \""
                      << (message.empty() ? std::string("(no message)") : message)
                      << "\"\nA test may skip only for a limit of the platform, with a message that begins with \""
                      << kPlatformLimit << "\"; a missing feature is a failure (see tests/README.md).";
    }
};

struct Install {
    Install() { ::testing::UnitTest::GetInstance()->listeners().Append(new SkipRule); }
} s_install;

} // namespace
