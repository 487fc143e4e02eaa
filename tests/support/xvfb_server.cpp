#include "support/xvfb_server.h"

#include <X11/extensions/Xrandr.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vesk::test {
namespace {

constexpr int kStartTimeoutMs = 20000;

// Reads the display number the server writes once it accepts connections.
std::string ReadDisplayNumber(int fd) {
    std::string number;
    char c = 0;
    pollfd waiting{fd, POLLIN, 0};
    while (poll(&waiting, 1, kStartTimeoutMs) == 1 && read(fd, &c, 1) == 1 && c != '\n') number += c;
    return c == '\n' ? number : std::string();
}

[[noreturn]] void RunServer(int displayFd, bool endWithLastClient) {
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    dup2(quiet, STDERR_FILENO);
    const std::string fd = std::to_string(displayFd);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
           endWithLastClient ? "-terminate" : static_cast<char*>(nullptr), static_cast<char*>(nullptr));
    _exit(127);
}

// A mode with ordinary blanking at 60 Hz.
XRRModeInfo ModeInfo(unsigned width, unsigned height, char* name) {
    XRRModeInfo mode{};
    mode.width = width;
    mode.height = height;
    mode.hSyncStart = width + 16;
    mode.hSyncEnd = width + 96;
    mode.hTotal = width + 160;
    mode.vSyncStart = height + 10;
    mode.vSyncEnd = height + 12;
    mode.vTotal = height + 45;
    mode.dotClock = static_cast<unsigned long>(mode.hTotal) * mode.vTotal * 60;
    mode.name = name;
    mode.nameLength = static_cast<unsigned>(std::strlen(name));
    return mode;
}

}  // namespace

TXvfbServer::~TXvfbServer() {
    if (display_) XCloseDisplay(display_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

bool TXvfbServer::Launch(std::string& whyNot, bool endWithLastClient) {
    int fds[2];
    if (pipe(fds) != 0) return whyNot = "no pipe", false;
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        RunServer(fds[1], endWithLastClient);
    }
    close(fds[1]);
    const std::string number = pid_ > 0 ? ReadDisplayNumber(fds[0]) : std::string();
    close(fds[0]);
    if (number.empty()) return whyNot = "Xvfb did not start (is it installed?)", false;
    name_ = ":" + number;
    return true;
}

bool TXvfbServer::Start(std::string& whyNot) {
    if (!Launch(whyNot)) return false;
    display_ = XOpenDisplay(name_.c_str());
    if (!display_) return whyNot = "cannot connect to Xvfb on " + name_, false;
    if (!AddTestDisplayModes(display_)) return whyNot = "Xvfb offers no RandR", false;
    setenv("DISPLAY", name_.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    return true;
}

bool AddTestDisplayModes(Display* display) {
    int eventBase = 0, errorBase = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase)) return false;
    const Window root = DefaultRootWindow(display);
    XRRScreenResources* resources = XRRGetScreenResources(display, root);
    if (!resources || resources->noutput < 1) return false;
    char large[] = "800x600", small[] = "640x480";
    for (XRRModeInfo mode : {ModeInfo(800, 600, large), ModeInfo(640, 480, small)})
        XRRAddOutputMode(display, resources->outputs[0], XRRCreateMode(display, root, &mode));
    XRRFreeScreenResources(resources);
    XSync(display, False);
    return true;
}

void TXvfbServer::CurrentMode(int& width, int& height) const {
    XRRScreenResources* resources = XRRGetScreenResources(display_, DefaultRootWindow(display_));
    XRRCrtcInfo* crtc = XRRGetCrtcInfo(display_, resources, resources->crtcs[0]);
    width = static_cast<int>(crtc->width);
    height = static_cast<int>(crtc->height);
    XRRFreeCrtcInfo(crtc);
    XRRFreeScreenResources(resources);
}

}  // namespace vesk::test
