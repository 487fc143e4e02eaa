// A platform driver for tests: the platform's real pump underneath, with a clock the
// test sets or scripts, sleeps that are recorded (and advance the clock), and
// messages the test injects as if the platform had delivered them.
#pragma once

#include <vesk/system/forwarding_platform.h>

#include <functional>
#include <memory>
#include <vector>

namespace vesk::test {

class TScriptedPlatformDriver : public TForwardingPlatformDriver {
public:
    // When set, every clock reading comes from here; otherwise `clock`.
    std::function<uint32_t()> clockScript;
    uint32_t clock = 0;
    std::vector<int> sleeps;
    // Whether a sleep moves the clock on by its length.
    bool sleepAdvancesClock = true;
    // Runs at every poll, after the real pump; may inject messages.
    std::function<void(TScriptedPlatformDriver&)> onPoll;
    int polls = 0;

    void Inject(uint32_t id, uint32_t wParam = 0, uint32_t lParam = 0) { injected_.push_back({id, wParam, lParam}); }

    void PollEvents() override {
        Inner().PollEvents();
        ++polls;
        if (onPoll) onPoll(*this);
        std::vector<TMessage> batch;
        batch.swap(injected_);
        for (const TMessage& message : batch) DeliverMessage(message);
    }

    // Never blocks: a test's messages arrive through onPoll and Inject.
    void WaitEvents() override { PollEvents(); }

    uint32_t ReadClock() override { return clockScript ? clockScript() : clock; }

    void SleepFor(int milliseconds) override {
        sleeps.push_back(milliseconds);
        if (sleepAdvancesClock) clock += static_cast<uint32_t>(milliseconds);
    }

private:
    std::vector<TMessage> injected_;
};

// Installs a fresh scripted driver as the process's platform driver.
inline std::shared_ptr<TScriptedPlatformDriver> InstallScriptedPlatform() {
    auto driver = std::make_shared<TScriptedPlatformDriver>();
    SetPlatformDriver(driver);
    return driver;
}

}  // namespace vesk::test
