// The platform under the export: SDL's pump as usual, but sleeps return at
// once, since frames are paced by the encoder and not by a display, and an
// Escape hit arrives once the export has every frame it needs, which ends
// the show the way a person ends it.
#pragma once

#include "system/sdl_platform.h"

namespace vesk {

class TExportPlatformDriver : public TSDLPlatformDriver {
public:
    // Asks for the show to end before its next frame.
    void RequestStop() { stopRequested_ = true; }

    void PollEvents() override;
    void SleepFor(int milliseconds) override;

private:
    bool stopRequested_ = false;
    bool stopDelivered_ = false;
};

}  // namespace vesk
