// The system layer: the message pump, the polled keyboard and mouse, the
// millisecond clock and sleeping. Everything runs on the thread that owns the
// window; messages are handled only inside these calls.
#pragma once

#include <vesk/runtime/text.h>
#include <vesk/system/messages.h>

#include <cstdint>
#include <functional>
#include <memory>

namespace vesk {

// The platform's side of the system layer. The base class carries portable
// defaults (a steady clock, thread sleeps, the shared input state, console
// requesters); the platform implementation replaces what the platform does
// differently. Tests install their own subclass to script the clock and
// inject messages.
class TPlatformDriver {
public:
    virtual ~TPlatformDriver() = default;

    virtual void PollEvents() {}
    virtual void WaitEvents();
    virtual uint32_t ReadClock();
    virtual void SleepFor(int milliseconds);
    virtual int NextChar();
    virtual int TakeKeyHits(int code);
    virtual int IsKeyDown(int code);
    virtual void ResetInput();
    virtual int MouseAxis(int index);
    virtual void PlaceMouse(int x, int y);

    // Requesters; the intro never calls them. These console versions write
    // the question to standard output and read the answer from standard input.
    virtual void Notify(const Text& text, bool serious);
    virtual bool Confirm(const Text& text, bool serious);
    virtual int Proceed(const Text& text, bool serious);  // 1 yes, 0 no, -1 cancel
    virtual Text RequestFile(const Text& title, const Text& extensions, bool save, const Text& initial);
    virtual Text RequestDir(const Text& title, const Text& initial);

protected:
    // Feeds one message to the input filter and then to the window procedure,
    // as the pump does for every message it removes from the queue.
    static void DeliverMessage(const TMessage& message);
};

// Receives every message after the input filter; the graphics layer installs
// its window procedure here.
using TWindowProcedure = std::function<void(const TMessage&)>;
void SetWindowProcedure(TWindowProcedure procedure);

// The system layer's once-only initialiser: makes the platform driver.
void InitSystemModule();

// The platform's own driver, made by the back end this build links (the
// files named after what they wrap define it).
std::shared_ptr<TPlatformDriver> MakePlatformDriver();

// Replaces the process-wide driver (for tests and embedding).
void SetPlatformDriver(std::shared_ptr<TPlatformDriver> driver);
TPlatformDriver& PlatformDriver();

// True while the 1 ms timer resolution is in force.
bool TimerResolutionRaised();
void SetTimerResolutionRaised(bool raised);

// Front end. The queries marked as polling pump the messages first.
void PollEvents();
void WaitEvents();
uint32_t ReadClock();
void SleepFor(int milliseconds);
int TakeKeyHits(int code);   // polls
int IsKeyDown(int code);     // polls
int NextChar();              // polls
void ResetInput();           // polls
int MouseAxis(int index);    // polls
void PlaceMouse(int x, int y);
int TakeMouseHits(int button);
int IsMouseDown(int button);
void DiscardMouseHits();     // polls
int WaitForKey();
int WaitForChar();
int WaitForMouse();

// A fixed-period ticker on the millisecond clock.
struct TFrameTimer {
    uint32_t period = 0;
    uint32_t lastTick = 0;
};
std::shared_ptr<TFrameTimer> NewFrameTimer(float hertz);
// Sleeps until at least one period has passed since the last tick and returns
// how many periods have passed.
int WaitFrameTimer(TFrameTimer& timer);

// The program's own event queue, separate from the platform's messages. It
// holds up to 256 events; nothing in the engine posts to it.
struct TEvent {
    int id = 0;
    int data = 0;
    int x = 0;
    int y = 0;
    std::shared_ptr<void> source;
    std::shared_ptr<void> extra;
};
bool PostEvent(std::shared_ptr<TEvent> event);  // false when the queue is full
std::shared_ptr<TEvent> PeekEvent();
std::shared_ptr<TEvent> PollEvent();
std::shared_ptr<TEvent> WaitEvent();
int CountEvents();
void FlushEvents();

}  // namespace vesk
