// Sizes, windows and pastes that do not fit are refused at the call, before
// any memory is touched; a missing pixmap passes through the transforms.
#include <vesk/pixmap/pixmap.h>

#include "support/failure_checks.h"

#include <gtest/gtest.h>

#include <climits>

namespace vesk {
namespace {

using test::FailsWith;

// A pixmap of no bytes a row could claim any number of rows and make every
// row-by-row operation spin through them.
TEST(PixmapArguments, SizesBelowOneUnknownFormatsAndUncountableBlocksAreRefused) {
    EXPECT_TRUE(FailsWith([] { CreatePixmap(-5, 10, FormatRGBA8888); }, "Invalid pixmap size"));
    EXPECT_TRUE(FailsWith([] { TPixmap::Create(10, -1, FormatI8, 4); }, "Invalid pixmap size"));
    EXPECT_TRUE(FailsWith([] { CreatePixmap(0, INT32_MAX, FormatRGBA8888); }, "Invalid pixmap size"));
    EXPECT_TRUE(FailsWith([] { CreatePixmap(7, INT32_MAX, FormatNone); }, "Invalid pixmap format"));
    EXPECT_TRUE(FailsWith([] { ConvertPixmap(CreatePixmap(1, 1, FormatI8), 9); }, "Invalid pixmap format"));
    EXPECT_TRUE(FailsWith([] { CreatePixmap(65536, 65536, FormatRGBA8888); }, "Invalid pixmap size"));
    EXPECT_TRUE(FailsWith([] { CreatePixmap(1 << 30, 1, FormatRGBA8888); }, "Invalid pixmap size"));
    uint8_t memory[16] = {};
    EXPECT_TRUE(FailsWith([&] { WrapPixmap(memory, -1, 2, 4, FormatA8); }, "Invalid pixmap size"));
    EXPECT_EQ(WrapPixmap(memory, 2, 2, 8, FormatRGBA8888)->capacity, -1);
}

TEST(PixmapArguments, WindowsAndPastesMustLieInside) {
    auto parent = CreatePixmap(8, 8, FormatRGBA8888);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) parent->SetPixel(x, y, 0);
    auto quarter = parent->SubPixmap(0, 0, 4, 4);
    EXPECT_TRUE(FailsWith([&] { PixmapWindow(quarter, 3, 3, 2, 2); }, "Window outside the pixmap"));
    EXPECT_TRUE(FailsWith([&] { quarter->SubPixmap(-1, 0, 1, 1); }, "Window outside the pixmap"));
    EXPECT_TRUE(FailsWith([&] { quarter->SubPixmap(0, 0, -1, 1); }, "Window outside the pixmap"));
    EXPECT_EQ(quarter->SubPixmap(3, 3, 1, 1)->width, 1);

    auto dot = CreatePixmap(2, 2, FormatRGBA8888);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) dot->SetPixel(x, y, 0xFFFFFFFF);
    EXPECT_TRUE(FailsWith([&] { quarter->Paste(*dot, 3, 3); }, "Paste outside the pixmap"));
    EXPECT_TRUE(FailsWith([&] { quarter->Paste(*dot, -1, 0); }, "Paste outside the pixmap"));
    EXPECT_EQ(parent->GetPixel(3, 3), 0u);  // nothing was written, not even the part that fits
    EXPECT_EQ(parent->GetPixel(4, 4), 0u);
    quarter->Paste(*dot, 2, 2);
    EXPECT_EQ(parent->GetPixel(3, 3), 0xFFFFFFFFu);
}

TEST(PixmapArguments, ScalingNeedsPixelsToReadAndToWrite) {
    auto pixmap = CreatePixmap(2, 2, FormatRGB888);
    EXPECT_TRUE(FailsWith([&] { ScalePixmap(pixmap, -8, 8); }, "Invalid pixmap size"));
    EXPECT_TRUE(FailsWith([&] { ScalePixmap(pixmap, 8, 0); }, "Invalid pixmap size"));
    // A 1 GB grey row would be resampled through a 4 GB RGBA one.
    EXPECT_TRUE(FailsWith([] { ScalePixmap(CreatePixmap(1, 1, FormatI8), 1 << 30, 1); }, "Invalid pixmap size"));
    EXPECT_EQ(ScalePixmap(pixmap, 3, 1)->width, 3);
}

TEST(PixmapArguments, AMissingPixmapGivesMissingResults) {
    const TPixmapRef none;
    EXPECT_FALSE(ScalePixmap(none, 4, 4));
    EXPECT_FALSE(MaskColourToAlpha(none, 0, 0, 0));
    EXPECT_FALSE(MirrorPixmapX(none));
    EXPECT_FALSE(MirrorPixmapY(none));
    EXPECT_FALSE(ClonePixmap(none));
    EXPECT_FALSE(ConvertPixmap(none, FormatI8));
    EXPECT_FALSE(PixmapWindow(none, 0, 0, 1, 1));
}

}  // namespace
}  // namespace vesk
