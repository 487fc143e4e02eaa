// Both pictures have the one TGA form the intro's reader is given: type 2,
// 24 bits, no ID, bottom-up rows, and a TGA 2.0 footer, at exact sizes.
#include <gtest/gtest.h>

#include <cstring>

#include "asset_bytes.h"

namespace vesk::assettest {
namespace {

void ExpectTgaForm(const char* path, unsigned width, unsigned height, std::size_t size) {
    SCOPED_TRACE(path);
    Bytes file = ReadFileBytes(path);
    ASSERT_EQ(file.size(), size);
    EXPECT_EQ(file[0], 0);  // no image ID
    EXPECT_EQ(file[1], 0);  // no colour map
    EXPECT_EQ(file[2], 2);  // uncompressed true colour
    for (int i = 3; i < 12; ++i) EXPECT_EQ(file[i], 0) << "byte " << i;
    EXPECT_EQ(U16(file, 12), width);
    EXPECT_EQ(U16(file, 14), height);
    EXPECT_EQ(file[16], 24);
    EXPECT_EQ(file[17], 0);  // bottom-up, no alpha bits
    ASSERT_EQ(18 + std::size_t(width) * height * 3 + 26, size);
    std::size_t footer = size - 26;
    EXPECT_EQ(U32(file, footer), 0u);      // no extension area
    EXPECT_EQ(U32(file, footer + 4), 0u);  // no developer directory
    EXPECT_EQ(std::memcmp(&file[footer + 8], "TRUEVISION-XFILE.", 18), 0);
}

TEST(TgaForm, PictureAndFontSheetHaveTheirExactForms) {
    ExpectTgaForm(VESK_ASSET_PICTURE, 450, 104, 140444);
    ExpectTgaForm(VESK_ASSET_FONT_SHEET, 320, 200, 192044);
}

}  // namespace
}  // namespace vesk::assettest
