// The process-wide 2D drawing state. Each setter stores its value and hands it
// to the render driver; drawing calls read the state to place what they draw.
#pragma once

namespace vesk {

enum : int {
    BLEND_ALPHATEST = 1,
    BLEND_OPAQUE = 2,
    BLEND_ALPHA = 3,
    BLEND_ADD = 4,
    BLEND_MULTIPLY = 5,
};

struct TDrawState {
    int red = 0, green = 0, blue = 0;
    float alpha = 0;
    int blendMode = 0;
    int clearRed = 0, clearGreen = 0, clearBlue = 0;
    int transparentRed = 0, transparentGreen = 0, transparentBlue = 0;
    float lineThickness = 0;
    float rotation = 0;
    float scaleX = 1, scaleY = 1;
    // The matrix from rotation and scale.
    float ix = 1, iy = 0, jx = 0, jy = 1;
    // The anchor, stored negated.
    float anchorX = 0, anchorY = 0;
    float originX = 0, originY = 0;
    int clipX = 0, clipY = 0, clipWidth = 0, clipHeight = 0;
};

const TDrawState& DrawState();

void SetDrawColor(int red, int green, int blue);
void GetDrawColor(int& red, int& green, int& blue);
void SetDrawAlpha(float alpha);
float GetDrawAlpha();
void SetBlendMode(int mode);
int GetBlendMode();
void SetClearColor(int red, int green, int blue);
void GetClearColor(int& red, int& green, int& blue);
void ClearScreen();
// Used when images are masked; makes no driver call.
void SetTransparentColor(int red, int green, int blue);
void GetTransparentColor(int& red, int& green, int& blue);
void SetLineThickness(float width);
float GetLineThickness();
void SetDrawRotation(float degrees);
float GetDrawRotation();
void SetDrawScale(float scaleX, float scaleY);
void GetDrawScale(float& scaleX, float& scaleY);
void SetRotationAndScale(float degrees, float scaleX, float scaleY);
void SetDrawAnchor(float x, float y);
void GetDrawAnchor(float& x, float& y);
void SetDrawOrigin(float x, float y);
void GetDrawOrigin(float& x, float& y);
// Window pixels; a negative width or height raises "Invalid clip viewport".
void SetClipViewport(int x, int y, int width, int height);
void GetClipViewport(int& x, int& y, int& width, int& height);

// Puts the state back to what a freshly opened screen of this size starts
// with. The line thickness is left as it is.
void ResetDrawState(int screenWidth, int screenHeight);

}  // namespace vesk
