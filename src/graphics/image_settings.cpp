#include <vesk/graphics/image_settings.h>

namespace vesk {
namespace {
int defaultImageFlags = 0;
bool autoCentreAnchor = false;
}  // namespace

void SetDefaultImageFlags(int flags) {
    if (flags != -1) defaultImageFlags = flags;
}
int GetDefaultImageFlags() { return defaultImageFlags; }
void SetAutoCentreAnchor(bool on) { autoCentreAnchor = on; }
bool GetAutoCentreAnchor() { return autoCentreAnchor; }

}  // namespace vesk
