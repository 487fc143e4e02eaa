#include "export/export_platform.h"

namespace vesk {

void TExportPlatformDriver::PollEvents() {
    TSDLPlatformDriver::PollEvents();
    if (!stopRequested_ || stopDelivered_) return;
    stopDelivered_ = true;
    DeliverMessage({WM_KEYDOWN, VK_ESCAPE, 1});
}

void TExportPlatformDriver::SleepFor(int) {}

}  // namespace vesk
