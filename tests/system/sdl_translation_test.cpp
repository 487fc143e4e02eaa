// SDL events pushed into SDL's own queue come out of the pump as the codes the
// rest of the engine reads.
#include <vesk/system/input.h>
#include <vesk/system/platform.h>
#include "system/sdl_platform.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace vesk {
namespace {

class SDLTranslation : public ::testing::Test {
protected:
    void SetUp() override {
        InitSystemModule();
        Input().Reset();
        SetWindowProcedure([this](const TMessage& message) { seen.push_back(message); });
    }
    void TearDown() override { SetWindowProcedure(nullptr); }

    static void PushKey(SDL_Scancode scancode, SDL_Keycode sym, bool down, bool repeat = false, Uint16 mod = 0) {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat;
        event.key.keysym.scancode = scancode;
        event.key.keysym.sym = sym;
        event.key.keysym.mod = mod;
        SDL_PushEvent(&event);
    }

    std::vector<TMessage> seen;
};

TEST_F(SDLTranslation, KeysReachTheFilterWithTheirVirtualKeyCodes) {
    PushKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, true);
    PushKey(SDL_SCANCODE_A, SDLK_a, true);
    PushKey(SDL_SCANCODE_A, SDLK_a, true, true);  // auto-repeat
    PushKey(SDL_SCANCODE_A, SDLK_a, false);
    PushKey(SDL_SCANCODE_KP_5, SDLK_KP_5, true);
    PushKey(SDL_SCANCODE_F24, SDLK_F24, true);
    PushKey(SDL_SCANCODE_SLASH, SDLK_SLASH, true);
    EXPECT_EQ(TakeKeyHits(27), 1);
    EXPECT_EQ(TakeKeyHits(65), 1);
    EXPECT_EQ(IsKeyDown(65), 0);
    EXPECT_EQ(TakeKeyHits(101), 1);
    EXPECT_EQ(TakeKeyHits(135), 1);
    EXPECT_EQ(TakeKeyHits(191), 1);
}

TEST_F(SDLTranslation, ModifiersCarryScanCodesAndTheExtendedBit) {
    PushKey(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, true);
    PushKey(SDL_SCANCODE_RCTRL, SDLK_RCTRL, true);
    PushKey(SDL_SCANCODE_RALT, SDLK_RALT, true, false, KMOD_RALT);
    EXPECT_EQ(TakeKeyHits(VK_SHIFT), 1);
    EXPECT_EQ(TakeKeyHits(VK_LSHIFT), 1);
    EXPECT_EQ(TakeKeyHits(VK_RSHIFT), 0);
    EXPECT_EQ(TakeKeyHits(VK_RCONTROL), 1);
    EXPECT_EQ(TakeKeyHits(VK_LCONTROL), 0);
    EXPECT_EQ(TakeKeyHits(VK_RMENU), 1);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].id, WM_KEYDOWN);
    EXPECT_EQ((seen[0].lParam >> 16) & 0xFF, 42u);
    EXPECT_EQ(seen[2].id, WM_SYSKEYDOWN);
    EXPECT_NE(seen[2].lParam & kKeyExtendedBit, 0u);
}

TEST_F(SDLTranslation, TextBecomesUtf16CharactersAndControlKeysTypeTheirCodes) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    SDL_strlcpy(event.text.text, "\xC3\xA9\xF0\x9F\x8E\xB5", sizeof(event.text.text));
    SDL_PushEvent(&event);
    PushKey(SDL_SCANCODE_RETURN, SDLK_RETURN, true);
    // Text that repeats a key's control character does not type it again.
    SDL_strlcpy(event.text.text, "\r\t\b\x7F", sizeof(event.text.text));
    SDL_PushEvent(&event);
    EXPECT_EQ(NextChar(), 0xE9);
    EXPECT_EQ(NextChar(), 0xD83C);
    EXPECT_EQ(NextChar(), 0xDFB5);
    EXPECT_EQ(NextChar(), 13);
    EXPECT_EQ(NextChar(), 0);
}

TEST_F(SDLTranslation, CtrlWithALetterOrBracketTypesItsControlCharacter) {
    PushKey(SDL_SCANCODE_A, SDLK_a, true, false, KMOD_LCTRL);
    PushKey(SDL_SCANCODE_Z, SDLK_z, true, false, KMOD_RCTRL);
    PushKey(SDL_SCANCODE_Q, SDLK_a, true, false, KMOD_LCTRL);  // the letter typed decides
    PushKey(SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET, true, false, KMOD_LCTRL);
    PushKey(SDL_SCANCODE_BACKSLASH, SDLK_BACKSLASH, true, false, KMOD_LCTRL);
    PushKey(SDL_SCANCODE_RIGHTBRACKET, SDLK_RIGHTBRACKET, true, false, KMOD_LCTRL);
    PushKey(SDL_SCANCODE_6, SDLK_6, true, false, KMOD_LCTRL | KMOD_LSHIFT);
    PushKey(SDL_SCANCODE_MINUS, SDLK_MINUS, true, false, KMOD_LCTRL | KMOD_LSHIFT);
    // No character: a letter without Ctrl (its text event types it), Ctrl
    // with Alt, Ctrl with a digit, and a key release.
    PushKey(SDL_SCANCODE_B, SDLK_b, true);
    PushKey(SDL_SCANCODE_C, SDLK_c, true, false, KMOD_LCTRL | KMOD_LALT);
    PushKey(SDL_SCANCODE_6, SDLK_6, true, false, KMOD_LCTRL);
    PushKey(SDL_SCANCODE_A, SDLK_a, false, false, KMOD_LCTRL);
    for (int expected : {1, 26, 1, 27, 28, 29, 30, 31}) EXPECT_EQ(NextChar(), expected);
    EXPECT_EQ(NextChar(), 0);
}

TEST_F(SDLTranslation, MouseMotionButtonsAndWheel) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = 300;
    event.motion.y = 200;
    SDL_PushEvent(&event);
    event = {};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_LEFT;
    SDL_PushEvent(&event);
    event.type = SDL_MOUSEBUTTONUP;
    SDL_PushEvent(&event);
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_MIDDLE;
    SDL_PushEvent(&event);
    event = {};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = 2;
    event.wheel.preciseY = 2.0f;
    SDL_PushEvent(&event);
    event.wheel.y = 0;
    event.wheel.preciseY = 0.5f;  // half a notch moves nothing
    SDL_PushEvent(&event);

    EXPECT_EQ(MouseAxis(0), 300);
    EXPECT_EQ(MouseAxis(1), 200);
    EXPECT_EQ(MouseAxis(2), 2);
    EXPECT_EQ(TakeMouseHits(1), 1);
    EXPECT_EQ(IsMouseDown(1), 0);
    EXPECT_EQ(IsMouseDown(3), 1);
    EXPECT_EQ(TakeMouseHits(4), 0);
}

TEST_F(SDLTranslation, WindowEventsReachTheWindowProcedureAndQuitIsIgnored) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&event);
    event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&event);
    event = {};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
    PollEvents();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].id, WM_CLOSE);
    EXPECT_EQ(seen[1].id, WM_KILLFOCUS);
}

TEST(SDLKeyTable, CoversTheWholeKeyboard) {
    auto vk = [](SDL_Scancode scancode, SDL_Keycode sym = 0) {
        SDL_Keysym key{};
        key.scancode = scancode;
        key.sym = sym;
        return LookupSDLKey(key).virtualKey;
    };
    EXPECT_EQ(vk(SDL_SCANCODE_Q, SDLK_a), 65u);  // the letter typed decides
    EXPECT_EQ(vk(SDL_SCANCODE_0), 48u);
    EXPECT_EQ(vk(SDL_SCANCODE_9), 57u);
    EXPECT_EQ(vk(SDL_SCANCODE_F1), 112u);
    EXPECT_EQ(vk(SDL_SCANCODE_F12), 123u);
    EXPECT_EQ(vk(SDL_SCANCODE_LEFT), 37u);
    EXPECT_EQ(vk(SDL_SCANCODE_DOWN), 40u);
    EXPECT_EQ(vk(SDL_SCANCODE_HOME), 36u);
    EXPECT_EQ(vk(SDL_SCANCODE_PAGEDOWN), 34u);
    EXPECT_EQ(vk(SDL_SCANCODE_INSERT), 45u);
    EXPECT_EQ(vk(SDL_SCANCODE_DELETE), 46u);
    EXPECT_EQ(vk(SDL_SCANCODE_TAB), 9u);
    EXPECT_EQ(vk(SDL_SCANCODE_SPACE), 32u);
    EXPECT_EQ(vk(SDL_SCANCODE_BACKSPACE), 8u);
    EXPECT_EQ(vk(SDL_SCANCODE_KP_0), 96u);
    EXPECT_EQ(vk(SDL_SCANCODE_KP_DIVIDE), 111u);
    EXPECT_EQ(vk(SDL_SCANCODE_KP_ENTER), 13u);
    EXPECT_EQ(vk(SDL_SCANCODE_SEMICOLON), 186u);
    EXPECT_EQ(vk(SDL_SCANCODE_APOSTROPHE), 222u);
    EXPECT_EQ(vk(SDL_SCANCODE_UNKNOWN), 0u);
}

// A program names keys by the VK_ constants; a code the keyboard sends with
// no name is one a program can only write as a number.
TEST(SDLKeyTable, EveryCodeItProducesIsNamed) {
    const std::set<uint32_t> named = {
        VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_BACK, VK_TAB, VK_RETURN, VK_SHIFT, VK_CONTROL, VK_MENU, VK_PAUSE,
        VK_CAPITAL, VK_ESCAPE, VK_SPACE, VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN,
        VK_SNAPSHOT, VK_INSERT, VK_DELETE, VK_0, VK_1, VK_2, VK_3, VK_4, VK_5, VK_6, VK_7, VK_8, VK_9, VK_A, VK_B,
        VK_C, VK_D, VK_E, VK_F, VK_G, VK_H, VK_I, VK_J, VK_K, VK_L, VK_M, VK_N, VK_O, VK_P, VK_Q, VK_R, VK_S, VK_T,
        VK_U, VK_V, VK_W, VK_X, VK_Y, VK_Z, VK_LWIN, VK_RWIN, VK_APPS, VK_NUMPAD0, VK_NUMPAD1, VK_NUMPAD2,
        VK_NUMPAD3, VK_NUMPAD4, VK_NUMPAD5, VK_NUMPAD6, VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9, VK_MULTIPLY, VK_ADD,
        VK_SEPARATOR, VK_SUBTRACT, VK_DECIMAL, VK_DIVIDE, VK_F1, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7, VK_F8,
        VK_F9, VK_F10, VK_F11, VK_F12, VK_F13, VK_F14, VK_F15, VK_F16, VK_F17, VK_F18, VK_F19, VK_F20, VK_F21,
        VK_F22, VK_F23, VK_F24, VK_NUMLOCK, VK_SCROLL, VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU,
        VK_RMENU, VK_OEM_1, VK_OEM_PLUS, VK_OEM_COMMA, VK_OEM_MINUS, VK_OEM_PERIOD, VK_OEM_2, VK_OEM_3, VK_OEM_4,
        VK_OEM_5, VK_OEM_6, VK_OEM_7, VK_OEM_102};
    SDL_Keysym key{};
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
        key.scancode = static_cast<SDL_Scancode>(scancode);
        for (SDL_Keycode sym : {SDL_Keycode{0}, SDL_Keycode{SDLK_a}, SDL_Keycode{SDLK_z}}) {
            key.sym = sym;
            const uint32_t code = LookupSDLKey(key).virtualKey;
            EXPECT_TRUE(code == 0 || named.count(code)) << "scan code " << scancode << " gives " << code;
        }
    }
    EXPECT_EQ(VK_A, 65u);
    EXPECT_EQ(VK_Z, 90u);
    EXPECT_EQ(VK_9, 57u);
    EXPECT_EQ(VK_F24, 135u);
    EXPECT_EQ(VK_NUMPAD9, 105u);
}

}  // namespace
}  // namespace vesk
