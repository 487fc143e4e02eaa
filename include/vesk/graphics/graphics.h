// The graphics front end: opening and closing the one graphics window,
// presenting frames and the display-mode queries.
#pragma once

#include <vesk/runtime/text.h>

#include <string_view>

namespace vesk {

// Opens a width x height window (depth 0) or a full-screen mode (depth not 0)
// at the given refresh rate, and resets the drawing state. Raises "Graphics
// mode does not exist" for a full-screen size that no display mode has, and
// "Unable to set graphics mode" when no context can be made.
void OpenGraphics(int width, int height, int depth, int hertz);
void CloseGraphics();
// The caption of the open window and of every window opened later; windows
// are captioned "VeskGL Window" until a program sets its own.
void SetWindowTitle(const Text& title);
void SetWindowTitle(std::string_view utf8);
bool GraphicsOpen();
// Presents the back buffer, paced to the refresh rate asked for at opening.
void FlipBuffers();

int CountDisplayModes();
void GetDisplayMode(int index, int& width, int& height, int& depth, int& hertz);
bool DisplayModeExists(int width, int height, int depth, int hertz);

int GetScreenWidth();
int GetScreenHeight();
void GetScreenMode(int& width, int& height, int& depth, int& hertz);

void ShowPointer();
void HidePointer();

// The graphics module's once-only initialiser: installs the platform's
// render driver.
void InitGraphicsModule();

}  // namespace vesk
