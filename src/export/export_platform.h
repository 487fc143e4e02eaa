// The platform under the export: the platform's pump as usual, but sleeps
// return at once, since frames are paced by the encoder and not by a display.
#pragma once

#include <vesk/system/forwarding_platform.h>

namespace vesk {

class TExportPlatformDriver : public TForwardingPlatformDriver {
public:
    void SleepFor(int milliseconds) override;
};

}  // namespace vesk
