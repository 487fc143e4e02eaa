// The blocking waits on SDL's real event queue: another thread delivers the
// input, as the platform does while the program sleeps in the wait. The
// thread keeps sending until the wait has returned, so what it sends before
// the wait starts (and the wait discards) does not matter.
#include <vesk/system/input.h>
#include <vesk/system/platform.h>
#include "system/sdl_platform.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace vesk {
namespace {

class BlockingWait : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlatformDriver(std::make_shared<TSDLPlatformDriver>());
        Input().Reset();
    }
    void TearDown() override {
        done = true;
        if (sender.joinable()) sender.join();
    }

    // Pushes the events again and again until the test's wait has returned.
    void KeepSending(std::vector<SDL_Event> events) {
        sender = std::thread([this, events] {
            while (!done) {
                for (SDL_Event event : events) SDL_PushEvent(&event);
                SDL_Delay(20);
            }
        });
    }

    static SDL_Event Button(Uint32 type, Uint8 button) {
        SDL_Event event{};
        event.type = type;
        event.button.button = button;
        return event;
    }

    std::atomic<bool> done{false};
    std::thread sender;
};

TEST_F(BlockingWait, WaitEventsReturnsWithTheMessageThatWokeIt) {
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    key.key.keysym.sym = SDLK_ESCAPE;
    KeepSending({key});
    WaitEvents();
    done = true;
    EXPECT_EQ(Input().TakeKeyHits(27), 1);
}

TEST_F(BlockingWait, WaitForMouseReturnsTheButtonClickedAfterItStarted) {
    // A click already waiting is discarded; the wait reports the next one.
    SDL_Event stale = Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    SDL_PushEvent(&stale);
    KeepSending({Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT), Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT)});
    EXPECT_EQ(WaitForMouse(), 2);
}

}  // namespace
}  // namespace vesk
