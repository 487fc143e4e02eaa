// The window layer: one window with an OpenGL context, the display-mode
// switch of full-screen windows, buffer swaps, the swap interval and the
// system cursor. At most one context exists at a time; its state is
// process-wide.
#pragma once

#include <vesk/system/messages.h>

#include <cstdint>
#include <string>

namespace vesk {

inline constexpr uint32_t CONTEXT_FULLSCREEN = 1;
inline constexpr uint32_t CONTEXT_DOUBLE_BUFFERED = 2;
inline constexpr uint32_t CONTEXT_ALPHA_BITS = 4;
inline constexpr uint32_t CONTEXT_DEPTH_BITS = 8;
inline constexpr uint32_t CONTEXT_STENCIL_BITS = 16;
inline constexpr uint32_t CONTEXT_ACCUM_BITS = 32;

// One entry of the display-mode enumeration: 16 bytes.
struct TDisplayModeRecord {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits = 0;
    int32_t frequency = 0;
};

// Closes any live context, then makes the window and its context. True when
// a context is live afterwards.
bool OpenGLContext(int width, int height, int depth, int hertz, uint32_t flags);
void CloseGLContext();
void SwapGLBuffers();
// True only when the platform took the interval.
bool SetSwapInterval(int interval);
void ShowSystemCursor(bool show);
// The caption (UTF-8) of the live window, if any, and of every window made
// later, windowed or full screen, in place of the default titles below.
void SetGLWindowTitle(const std::string& title);
// Fills records until the buffer is full or the system has no more modes;
// only modes of 16 or more bits per pixel are taken. Returns the count.
int EnumerateDisplayModes(TDisplayModeRecord* buffer, int byteSize);

// The window procedure: focus, paint, close and button capture.
void GLWindowProcedure(const TMessage& message);

// The system cursor's display counter after one show (+1) or hide (-1), as
// the desktop keeps it: shown at 0 and above. Steps that would leave it other
// than 0 or -1 are taken back, so calls never stack.
inline int StepCursorCounter(int counter, bool show) {
    counter += show ? 1 : -1;
    if (counter != 0 && counter != -1) counter += show ? -1 : 1;
    return counter;
}

// What the layer holds, for tests and diagnostics.
bool GLContextLive();
bool GLContextFullScreen();
bool GLDisplayModeSwitched();
int SystemCursorCounter();
uint64_t GLSwapCount();
// Why the last OpenGLContext returned false, in words for the user.
const std::string& GLContextFailureReason();

inline constexpr const char* kWindowClassName = "VeskGL Window Class";
inline constexpr const char* kWindowTitle = "VeskGL Window";
inline constexpr const char* kFullScreenTitle = "VeskGL Application";

}  // namespace vesk
