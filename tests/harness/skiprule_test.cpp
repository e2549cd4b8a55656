// The skip rule (tests/support/src/skip_rule.cpp) as every test program has
// it: runs skiprule_probe.exe, a program whose tests skip in every way, and
// reads which of them GoogleTest reported failed, skipped or passed.
#include <gtest/gtest.h>

#include <qmtest/process.h>

#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string ProbePath()
{
    char path[MAX_PATH * 2] = "";
    GetModuleFileNameA(NULL, path, sizeof(path));
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\')) + "\\skiprule_probe.exe";
}

// How the result printer ended each test: "FAILED", "SKIPPED" or "OK"
// (from lines such as "[  FAILED  ] Suite.Test (0 ms)").
std::map<std::string, std::string> Outcomes(const std::string& output)
{
    std::map<std::string, std::string> outcomes;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() < 13 || line[0] != '[' || line[11] != ']')
            continue;
        size_t end = line.find(" (", 13);
        if (end == std::string::npos)
            continue; // the summary lists names without times
        std::string tag = line.substr(1, 10);
        tag.erase(0, tag.find_first_not_of(' '));
        tag.erase(tag.find_last_not_of(' ') + 1);
        outcomes[line.substr(13, end - 13)] = tag;
    }
    return outcomes;
}

TEST(SkipRule, FailsEverySkipThatNamesNoPlatformLimit)
{
    qmtest::ProcessResult run = qmtest::RunProcess("\"" + ProbePath() + "\" --gtest_color=no", 60000);
    ASSERT_TRUE(run.started) << ProbePath();
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1u) << run.output;

    // A skip in SetUpTestSuite skips the suite's tests only in GoogleTest
    // releases newer than Debian's 1.12, where the tests simply run: either
    // way such a test never ends skipped without a platform limit.
    struct Case {
        const char* test;
        std::set<std::string> allowed;
    } cases[] = {
        {"SkipProbe.MissingFeature", {"FAILED"}},
        {"SkipProbe.NoMessage", {"FAILED"}},
        {"SkipProbe.PlatformLimit", {"SKIPPED"}},
        {"SkipProbe.LimitNamedLaterInTheMessage", {"FAILED"}},
        {"SkipProbe.Passes", {"OK"}},
        {"SkipProbe.FailsAndSkips", {"FAILED"}},
        {"SuiteSkippedForAFeature.First", {"FAILED", "OK"}},
        {"SuiteSkippedForALimit.First", {"SKIPPED", "OK"}},
    };
    std::map<std::string, std::string> outcomes = Outcomes(run.output);
    for (const Case& c : cases) {
        auto it = outcomes.find(c.test);
        ASSERT_NE(it, outcomes.end()) << c.test << " did not run:\n"
                                      << run.output;
        EXPECT_EQ(c.allowed.count(it->second), 1u) << c.test << " ended " << it->second;
    }

    // The failure quotes the skip's reason and names the rule.
    EXPECT_NE(run.output.find("skipped without a platform limit: \"the editor has no such window yet\""),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("skipped without a platform limit: \"(no message)\""), std::string::npos) << run.output;
}

} // namespace
