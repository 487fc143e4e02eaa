// The progress line.
#include "export/progress.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(ExportProgress, ShowsTheBarTheCountTheRateAndTheTimeLeft) {
    EXPECT_EQ(FormatProgress(4210, 13046, 52.1, 10), "[###-------]  4210/13046 frames   52.1 fps  2:50 left");
    EXPECT_EQ(FormatProgress(13046, 13046, 100, 10), "[##########] 13046/13046 frames  100.0 fps  0:00 left");
}

TEST(ExportProgress, ShowsNoRateOrTimeLeftBeforeThereIsARate) {
    EXPECT_EQ(FormatProgress(1, 150, 0, 4), "[----]   1/150 frames     -- fps  --:-- left");
}

}  // namespace
}  // namespace vesk
