// The fixture of the tests that run on their own virtual X server: starts it
// (or skips the test, saying why, where it cannot start), pumps the messages
// until a condition holds, and lets SDL go of the server before it stops.
#pragma once

#include <vesk/graphics/graphics.h>
#include <vesk/system/platform.h>

#include <SDL.h>
#include <gtest/gtest.h>

// The X headers define None, Bool and the like: they come after the test framework.
#include "support/xvfb_server.h"

#include <functional>
#include <string>

namespace vesk::test {

class XServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string whyNot;
        if (!server.Start(whyNot)) GTEST_SKIP() << "no X server for this test: " << whyNot;
        started = true;
    }

    // A connection that breaks under SDL would end the process.
    void TearDown() override {
        if (!started) return;
        CloseGraphics();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // Pumps the messages until the condition holds; false if it never does.
    static bool PumpUntil(const std::function<bool()>& condition) {
        for (int i = 0; i < 2000 && !condition(); ++i) {
            PollEvents();
            SDL_Delay(5);
        }
        return condition();
    }

    TXvfbServer server;
    bool started = false;
};

}  // namespace vesk::test
