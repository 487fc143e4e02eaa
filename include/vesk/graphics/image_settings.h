// Module-wide settings that new images start from.
#pragma once

namespace vesk {

enum : int {
    IMAGE_DYNAMIC = 1,
    IMAGE_FILTERED = 2,
    IMAGE_MASKED = 4,
};

// -1 leaves the setting unchanged.
void SetDefaultImageFlags(int flags);
int GetDefaultImageFlags();
void SetAutoCentreAnchor(bool on);
bool GetAutoCentreAnchor();

}  // namespace vesk
