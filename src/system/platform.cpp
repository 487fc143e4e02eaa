#include <vesk/system/platform.h>

#include <vesk/runtime/startup.h>
#include <vesk/system/input.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <limits>
#include <thread>

namespace vesk {
namespace {

std::shared_ptr<TPlatformDriver> currentDriver;
TWindowProcedure windowProcedure;
bool timerResolutionRaised = false;

constexpr size_t kEventQueueCapacity = 256;
std::deque<std::shared_ptr<TEvent>>& EventQueue() {
    static std::deque<std::shared_ptr<TEvent>> queue;
    return queue;
}

}  // namespace

void TPlatformDriver::DeliverMessage(const TMessage& message) {
    Input().Filter(message.id, message.wParam, message.lParam);
    if (windowProcedure) windowProcedure(message);
}

void TPlatformDriver::WaitEvents() {
    SleepFor(1);
    PollEvents();
}

uint32_t TPlatformDriver::ReadClock() {
    using namespace std::chrono;
    auto since = steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(duration_cast<milliseconds>(since).count());
}

void TPlatformDriver::SleepFor(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

int TPlatformDriver::NextChar() { return Input().NextChar(); }
int TPlatformDriver::TakeKeyHits(int code) { return Input().TakeKeyHits(code); }
int TPlatformDriver::IsKeyDown(int code) { return Input().IsKeyDown(code); }
void TPlatformDriver::ResetInput() { Input().Reset(); }
int TPlatformDriver::MouseAxis(int index) { return Input().MouseAxis(index); }
void TPlatformDriver::PlaceMouse(int, int) {}

void SetWindowProcedure(TWindowProcedure procedure) { windowProcedure = std::move(procedure); }

void InitSystemModule() {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    InitRuntimeModule();
    if (!currentDriver) currentDriver = MakePlatformDriver();
}

void SetPlatformDriver(std::shared_ptr<TPlatformDriver> driver) {
    InitSystemModule();
    currentDriver = std::move(driver);
}

TPlatformDriver& PlatformDriver() {
    InitSystemModule();
    return *currentDriver;
}

bool TimerResolutionRaised() { return timerResolutionRaised; }
void SetTimerResolutionRaised(bool raised) { timerResolutionRaised = raised; }

void PollEvents() {
    PlatformDriver().PollEvents();
    EndIfSignalled();
}

void WaitEvents() {
    PlatformDriver().WaitEvents();
    EndIfSignalled();
}
uint32_t ReadClock() { return PlatformDriver().ReadClock(); }
void SleepFor(int milliseconds) { PlatformDriver().SleepFor(milliseconds); }

int TakeKeyHits(int code) {
    PollEvents();
    return PlatformDriver().TakeKeyHits(code);
}

int IsKeyDown(int code) {
    PollEvents();
    return PlatformDriver().IsKeyDown(code);
}

int NextChar() {
    PollEvents();
    return PlatformDriver().NextChar();
}

void ResetInput() {
    PollEvents();
    PlatformDriver().ResetInput();
}

int MouseAxis(int index) {
    PollEvents();
    return PlatformDriver().MouseAxis(index);
}

void PlaceMouse(int x, int y) { PlatformDriver().PlaceMouse(x, y); }

namespace {
int ButtonCode(int button) {
    static const int codes[] = {0, VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
    return button >= 1 && button <= 3 ? codes[button] : 0;
}
}  // namespace

int TakeMouseHits(int button) {
    int code = ButtonCode(button);
    return code ? TakeKeyHits(code) : 0;
}

int IsMouseDown(int button) {
    int code = ButtonCode(button);
    return code ? IsKeyDown(code) : 0;
}

void DiscardMouseHits() {
    PollEvents();
    for (int button = 1; button <= 3; ++button) TakeMouseHits(button);
}

int WaitForKey() {
    ResetInput();
    for (;;) {
        WaitEvents();
        for (int code = 1; code <= 255; ++code)
            if (PlatformDriver().TakeKeyHits(code)) return code;
    }
}

int WaitForChar() {
    ResetInput();
    for (;;) {
        WaitEvents();
        if (int code = PlatformDriver().NextChar()) return code;
    }
}

int WaitForMouse() {
    DiscardMouseHits();
    for (;;) {
        WaitEvents();
        for (int button = 1; button <= 3; ++button)
            if (PlatformDriver().TakeKeyHits(ButtonCode(button))) return button;
    }
}

namespace {
// A rate of 0, below 0 or not a number has no period: converting its infinite,
// negative or undefined quotient to an integer would be undefined. It gets
// period 0, which ticks at every wait as rates above 1000 Hz already do.
uint32_t FramePeriod(float hertz) {
    if (!(hertz > 0.0f)) return 0;
    const float period = 1000.0f / hertz;
    return period >= 4294967296.0f ? std::numeric_limits<uint32_t>::max() : static_cast<uint32_t>(period);
}
}  // namespace

std::shared_ptr<TFrameTimer> NewFrameTimer(float hertz) {
    auto timer = std::make_shared<TFrameTimer>();
    timer->period = FramePeriod(hertz);
    timer->lastTick = ReadClock();
    return timer;
}

int WaitFrameTimer(TFrameTimer& timer) {
    if (timer.period == 0) return 1;  // a zero period would divide by zero; every call is one tick
    uint32_t now = ReadClock();
    uint32_t periods = (now - timer.lastTick) / timer.period;
    if (periods == 0) {
        SleepFor(static_cast<int>(timer.lastTick + timer.period - now));
        periods = 1;
    }
    timer.lastTick += periods * timer.period;
    return static_cast<int>(periods);
}

bool PostEvent(std::shared_ptr<TEvent> event) {
    auto& queue = EventQueue();
    if (!event || queue.size() >= kEventQueueCapacity) return false;
    queue.push_back(std::move(event));
    return true;
}

std::shared_ptr<TEvent> PeekEvent() {
    auto& queue = EventQueue();
    return queue.empty() ? nullptr : queue.front();
}

std::shared_ptr<TEvent> PollEvent() {
    auto& queue = EventQueue();
    if (queue.empty()) return nullptr;
    auto event = queue.front();
    queue.pop_front();
    return event;
}

std::shared_ptr<TEvent> WaitEvent() {
    while (EventQueue().empty()) WaitEvents();
    return PollEvent();
}

int CountEvents() { return static_cast<int>(EventQueue().size()); }
void FlushEvents() { EventQueue().clear(); }

}  // namespace vesk
