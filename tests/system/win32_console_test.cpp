// The requesters on a Windows console: the question and the typed answer
// pass as UTF-16, so letters beyond ASCII arrive as typed whatever the
// console's code page. The test makes a console of its own and types into
// it.
#include <vesk/system/platform.h>

#include <gtest/gtest.h>

#include <string>

#include "system/win32_api.h"

namespace vesk {
namespace {

void Type(HANDLE input, const std::u16string& keys) {
    for (char16_t key : keys) {
        INPUT_RECORD record[2] = {};
        for (int i = 0; i < 2; ++i) {
            record[i].EventType = KEY_EVENT;
            record[i].Event.KeyEvent.bKeyDown = i == 0;
            record[i].Event.KeyEvent.wRepeatCount = 1;
            record[i].Event.KeyEvent.uChar.UnicodeChar = static_cast<WCHAR>(key);
            record[i].Event.KeyEvent.wVirtualKeyCode = key == u'\r' ? VK_RETURN : 0;
        }
        DWORD written = 0;
        WriteConsoleInputW(input, record, 2, &written);
    }
}

TEST(Win32Console, AnswersTypedOnTheConsoleArriveAsTyped) {
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    ASSERT_TRUE(GetConsoleMode(input, &mode)) << "the standard input is the new console";
    Type(input, u"caf\u00E9.wav\r" u"yes\r");
    TPlatformDriver driver;
    EXPECT_EQ(driver.RequestFile(u"Load", u"wav", false, u"a.wav"), u"caf\u00E9.wav");
    EXPECT_TRUE(driver.Confirm(u"Sure?", false));
}

}  // namespace
}  // namespace vesk
