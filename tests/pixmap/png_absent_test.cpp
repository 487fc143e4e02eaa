// Builds without libpng (Windows, the browser) still link the PNG calls:
// every PNG declines, and writing one gives 0 and leaves no file behind.
#include <vesk/pixmap/pixmap_reader.h>
#include <vesk/pixmap/png_file.h>
#include <vesk/pixmap/tga_reader.h>

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vesk {
namespace {

TEST(PngAbsent, APngFileDeclinesAndWritingOneMakesNoFile) {
    InitPngModule();
    InitTgaModule();
    const Text suitePicture = Utf8ToText(VESK_TEST_DATA_DIR "/pngsuite/basn2c08.png");
    EXPECT_EQ(ReadPng(suitePicture), nullptr);
    EXPECT_EQ(ReadPixmap(suitePicture), nullptr);

    test::TTempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    const std::filesystem::path target = folder.Path() / "frame.png";
    EXPECT_EQ(WritePng(CreatePixmap(4, 4, FormatRGBA8888), Utf8ToText(target.string()), 0), 0);
    EXPECT_FALSE(std::filesystem::exists(target));
}

}  // namespace
}  // namespace vesk
