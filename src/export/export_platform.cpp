#include "export/export_platform.h"

namespace vesk {

void TExportPlatformDriver::SleepFor(int) {}

}  // namespace vesk
