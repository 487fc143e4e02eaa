// The console requesters: the question goes to standard output, the answer
// comes from standard input. A closed input must not hang or say yes.
#include <vesk/system/platform.h>

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

namespace vesk {
namespace {

class ConsoleRequesters : public ::testing::Test {
protected:
    void SetUp() override {
        oldIn = std::cin.rdbuf(input.rdbuf());
        oldOut = std::cout.rdbuf(output.rdbuf());
    }
    void TearDown() override {
        std::cin.rdbuf(oldIn);
        std::cout.rdbuf(oldOut);
    }
    void Answer(const std::string& lines) {
        input.str(lines);
        input.clear();
    }

    TPlatformDriver driver;
    std::istringstream input;
    std::ostringstream output;
    std::streambuf* oldIn = nullptr;
    std::streambuf* oldOut = nullptr;
};

TEST_F(ConsoleRequesters, AnswersAreReadByTheirFirstLetterInEitherCase) {
    Answer("Yes\n  no\r\nmaybe\n Y\nN\nCancel\n");
    EXPECT_TRUE(driver.Confirm(u"Save?", false));
    EXPECT_FALSE(driver.Confirm(u"Save?", false));
    EXPECT_FALSE(driver.Confirm(u"Save?", false));
    EXPECT_EQ(driver.Proceed(u"Quit?", false), 1);
    EXPECT_EQ(driver.Proceed(u"Quit?", false), 0);
    EXPECT_EQ(driver.Proceed(u"Quit?", false), -1);
    EXPECT_NE(output.str().find("Save? (y/n) "), std::string::npos);
    EXPECT_NE(output.str().find("Quit? (y/n/c) "), std::string::npos);
}

TEST_F(ConsoleRequesters, NamesAreTakenAsTypedAndAnEmptyLineKeepsTheDefault) {
    Answer("/tmp/song \xC3\xA9.wav\r\n\n/srv\n");
    EXPECT_EQ(driver.RequestFile(u"Load", u"wav", false, u"a.wav"), u"/tmp/song \u00e9.wav");
    EXPECT_EQ(driver.RequestFile(u"Save", u"", true, u"b.wav"), u"b.wav");
    EXPECT_EQ(driver.RequestDir(u"Folder", u"/home"), u"/srv");
    EXPECT_NE(output.str().find("Load (open, wav, default a.wav): "), std::string::npos);
    EXPECT_NE(output.str().find("Save (save, default b.wav): "), std::string::npos);
}

TEST_F(ConsoleRequesters, AClosedInputGivesTheNegativeOrDefaultAnswer) {
    Answer("");
    driver.Notify(u"Disk full", true);
    EXPECT_FALSE(driver.Confirm(u"Overwrite?", true));
    EXPECT_EQ(driver.Proceed(u"Quit?", false), -1);
    EXPECT_EQ(driver.RequestFile(u"Load", u"wav", false, u"a.wav"), u"a.wav");
    EXPECT_EQ(driver.RequestDir(u"Folder", u""), u"");
    EXPECT_NE(output.str().find("Error: Disk full (press Enter) "), std::string::npos);
}

}  // namespace
}  // namespace vesk
