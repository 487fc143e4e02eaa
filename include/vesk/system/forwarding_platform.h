// A platform driver that hands every call to another one. Drivers that change
// only part of the platform's behaviour (sleeps that return at once, a
// scripted clock) derive from it and keep the real message pump underneath,
// whichever platform back end made it.
#pragma once

#include <vesk/system/platform.h>

#include <memory>

namespace vesk {

class TForwardingPlatformDriver : public TPlatformDriver {
public:
    // Forwards to the platform's own driver when `inner` is null.
    explicit TForwardingPlatformDriver(std::shared_ptr<TPlatformDriver> inner = nullptr);

    void PollEvents() override;
    void WaitEvents() override;
    uint32_t ReadClock() override;
    void SleepFor(int milliseconds) override;
    int NextChar() override;
    int TakeKeyHits(int code) override;
    int IsKeyDown(int code) override;
    void ResetInput() override;
    int MouseAxis(int index) override;
    void PlaceMouse(int x, int y) override;

    void Notify(const Text& text, bool serious) override;
    bool Confirm(const Text& text, bool serious) override;
    int Proceed(const Text& text, bool serious) override;
    Text RequestFile(const Text& title, const Text& extensions, bool save, const Text& initial) override;
    Text RequestDir(const Text& title, const Text& initial) override;

protected:
    TPlatformDriver& Inner() { return *inner_; }

private:
    std::shared_ptr<TPlatformDriver> inner_;
};

}  // namespace vesk
