// What a user sees when the program fails: exactly the message, no line end,
// status -1 (255 where a status has 8 bits), whether the failure was raised
// or came from a fatal signal.
#include <vesk/runtime/failure.h>
#include <vesk/runtime/startup.h>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace vesk {
namespace {

#if defined(_WIN32)
constexpr int kFailureStatus = -1;
#else
constexpr int kFailureStatus = 255;
#endif

class FailureExit : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(FailureExit, UncaughtFailureWritesExactlyItsMessageAndExitsWith255) {
    EXPECT_EXIT(RunProgram([]() -> int { Fail("Graphics mode does not exist"); }),
                ::testing::ExitedWithCode(kFailureStatus), "^Graphics mode does not exist$");
}

// The message stays exactly as it is; the reason follows on a line of its own.
TEST_F(FailureExit, AReasonFollowsTheMessageOnTheNextLine) {
    EXPECT_EXIT(RunProgram([]() -> int { Fail("Unable to set graphics mode", "no display"); }),
                ::testing::ExitedWithCode(kFailureStatus), "^Unable to set graphics mode\nno display\n$");
}

TEST_F(FailureExit, LibraryExceptionsEndTheProgramTheSameWay) {
    EXPECT_EXIT(RunProgram([]() -> int { throw std::runtime_error("out of luck"); }),
                ::testing::ExitedWithCode(kFailureStatus), "^out of luck$");
}

#if !defined(_WIN32)
TEST_F(FailureExit, MemoryFaultsAndOtherSignalsHaveTheirOwnTexts) {
    EXPECT_EXIT(RunProgram([]() -> int { std::raise(SIGSEGV); return 0; }),
                ::testing::ExitedWithCode(kFailureStatus), "^Unhandled Memory Exception Error$");
    EXPECT_EXIT(RunProgram([]() -> int { std::raise(SIGBUS); return 0; }),
                ::testing::ExitedWithCode(kFailureStatus), "^Unhandled Memory Exception Error$");
    EXPECT_EXIT(RunProgram([]() -> int { std::raise(SIGFPE); return 0; }),
                ::testing::ExitedWithCode(kFailureStatus), "^Received Signal$");
    EXPECT_EXIT(RunProgram([]() -> int { std::raise(SIGTERM); return 0; }),
                ::testing::ExitedWithCode(kFailureStatus), "^Received Signal$");
}
#endif

int Seven() { return 7; }

TEST(RunProgram, ReturnsTheBodysResultWhenNothingFails) {
    EXPECT_EQ(RunProgram([] { return 7; }), 7);
    EXPECT_EQ(RunProgram(Seven), 7);
    EXPECT_EQ(RunProgram(&Seven), 7);
    int score = 41;
    EXPECT_EQ(RunProgram([&score] { return ++score; }), 42);
    EXPECT_EQ(score, 42);
    const std::function<int()> body = [] { return 3; };
    EXPECT_EQ(RunProgram(body), 3);
}

TEST(Failure, IsMadeFromEngineTextAsUtf8) {
    const TFailure failure(u"Level caf\u00E9 missing", u"no \u263A");
    EXPECT_EQ(failure.Message(), "Level caf\xC3\xA9 missing");
    EXPECT_EQ(failure.Reason(), "no \xE2\x98\xBA");
}

TEST(Failure, CarriesItsMessage) {
    try {
        Fail("Unable to set graphics mode");
        FAIL();
    } catch (const TFailure& failure) {
        EXPECT_EQ(failure.Message(), "Unable to set graphics mode");
        EXPECT_STREQ(failure.what(), "Unable to set graphics mode");
    }
}

TEST(Startup, RecordsTheExecutablesFolder) {
    InitRuntimeModule();
    const std::string& folder = ExecutableDirectory();
    ASSERT_FALSE(folder.empty());
#if defined(_WIN32)
    EXPECT_EQ(folder.back(), '\\');
#else
    EXPECT_EQ(folder.back(), '/');
#endif
}

}  // namespace
}  // namespace vesk
