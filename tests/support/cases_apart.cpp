#include "support/cases_apart.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace vesk::test {
namespace {

bool asked = false;

std::vector<std::string> SelectedCases(const ::testing::UnitTest& unit) {
    std::vector<std::string> names;
    for (int i = 0; i < unit.total_test_suite_count(); ++i) {
        const ::testing::TestSuite& suite = *unit.GetTestSuite(i);
        for (int j = 0; j < suite.total_test_count(); ++j) {
            const ::testing::TestInfo& info = *suite.GetTestInfo(j);
            if (info.should_run()) names.push_back(std::string(suite.name()) + "." + info.name());
        }
    }
    return names;
}

// Runs this program again with only the named case; true when it passed.
bool RunAlone(const std::string& name) {
    std::string self = "/proc/self/exe";
    std::string filter = "--gtest_filter=" + name;
    char* arguments[] = {self.data(), filter.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, self.c_str(), nullptr, nullptr, arguments, environ) != 0) return false;
    int status = 0;
    if (waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The filter is applied just before the first iteration starts: from there
// on, which cases are selected is known. With more than one, every case runs
// in a child and this process ends with their verdict.
class TCasesApart : public ::testing::EmptyTestEventListener {
    void OnTestIterationStart(const ::testing::UnitTest& unit, int) override {
        const std::vector<std::string> names = SelectedCases(unit);
        if (names.size() < 2) return;
        std::vector<std::string> failed;
        for (const std::string& name : names) {
            std::fflush(stdout);
            if (!RunAlone(name)) failed.push_back(name);
        }
        std::printf("[ apart    ] %zu cases, each in its own process: %zu failed\n", names.size(), failed.size());
        for (const std::string& name : failed) std::printf("[  FAILED  ] %s\n", name.c_str());
        std::fflush(stdout);
        std::_Exit(failed.empty() ? 0 : 1);
    }
};

}  // namespace

bool RunCasesApart() {
    asked = true;
    return true;
}

void InstallCasesApartIfAsked() {
    if (asked) ::testing::UnitTest::GetInstance()->listeners().Append(new TCasesApart);
}

}  // namespace vesk::test
