// A virtual X server for tests that need a real window system: full-screen
// mode switches, focus changes and pointer input. Each test process starts
// its own server on a free display, with a 1024 x 768 screen to which 800 x
// 600 and 640 x 480 modes are added through RandR (the server lists only its
// screen size otherwise). The added modes live as long as this object's
// connection, which the test keeps open.
//
// Launched bare, the server has no client of the test's: like a display
// that a user's programs alone use, it resets whenever the last of them
// leaves, or ends then when asked to.
#pragma once

#include <X11/Xlib.h>

#include <string>
#include <sys/types.h>

namespace vesk::test {

class TXvfbServer {
public:
    TXvfbServer() = default;
    TXvfbServer(const TXvfbServer&) = delete;
    TXvfbServer& operator=(const TXvfbServer&) = delete;
    ~TXvfbServer();

    // Starts the server and points this process (DISPLAY, SDL_VIDEODRIVER=x11)
    // at it. On failure returns false with the reason in whyNot.
    bool Start(std::string& whyNot);

    // Only starts the server, on a free display. On failure returns false
    // with the reason in whyNot.
    bool Launch(std::string& whyNot, bool endWithLastClient = false);
    // ":N", once launched.
    const std::string& Name() const { return name_; }
    pid_t Pid() const { return pid_; }

    // The test's own connection, for RandR queries and XTest input.
    Display* Connection() const { return display_; }
    // The width and height of the mode the screen shows now.
    void CurrentMode(int& width, int& height) const;

private:
    pid_t pid_ = 0;
    std::string name_;
    Display* display_ = nullptr;
};

// Adds 800 x 600 and 640 x 480 modes to the screen's first output. They
// last as long as the connection.
bool AddTestDisplayModes(Display* display);

}  // namespace vesk::test
