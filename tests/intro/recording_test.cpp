// The recording build, run headless in a temporary folder: the files it
// writes and what a person would see in them. Each case runs the show once,
// so the cases need a process each (as ctest runs them).
#include <vesk/graphics/draw_primitives.h>
#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/text_font.h>
#include "intro/intro.h"
#include "intro/picture_rows.h"
#include "intro/recording.h"
#include <vesk/pixmap/pixmap_reader.h>

#include "frame_checks.h"
#include "support/cases_apart.h"
#include "support/file_size_limit.h"
#include "support/scripted_platform.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::RgbAt;
using test::TRgb;

// Each case runs the show, which runs once per process.
[[maybe_unused]] const bool kCasesApart = test::RunCasesApart();

constexpr int kWidth = 768;
constexpr int kHeight = 576;

fs::path FramePath(const fs::path& folder, int number) {
    char name[32];
    std::snprintf(name, sizeof name, "image%05d.png", number);
    return folder / "record" / name;
}

// Runs the recording build for `frames` frames in `folder`. `steer` may set
// the show's state before the first frame; `afterFrame` sees it after each.
// The show is not ended, so its window stays open for the checks that draw
// their own expectations.
void RecordFrames(const fs::path& folder, int frames, bool makeRecordFolder,
                  const std::function<void(TIntroShow&)>& steer,
                  const std::function<void(const TIntroShow&)>& afterFrame = nullptr) {
    if (makeRecordFolder) fs::create_directory(folder / "record");
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    // Pacing's sleeps take no time on the scripted clock.
    test::InstallScriptedPlatform();
    const bool started = StartIntro();
    if (started && steer) steer(IntroShow());
    for (int n = 0; started && n < frames; ++n) {
        RunIntroFrame();
        if (afterFrame) afterFrame(IntroShow());
    }
    fs::current_path(previous);
    ASSERT_TRUE(started);
}

class IntroRecording : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(IntroFrameCount(), 0u) << "the show runs once per process";
        ASSERT_FALSE(folder_.Path().empty());
    }

    TPixmapRef Frame(int number) const {
        TPixmapRef frame = test::ReadFrame(FramePath(folder_.Path(), number));
        EXPECT_TRUE(frame) << "frame " << number;
        return frame;
    }

    test::TTempFolder folder_;
};

TPixmapRef ReadAsset(const char16_t* url) {
    TPixmapRef pixmap = ReadPixmap(url);
    EXPECT_TRUE(pixmap);
    return pixmap;
}

bool IsRed(const TRgb& rgb) { return rgb == TRgb{255, 0, 0}; }
bool IsMagenta(const TRgb& rgb) { return rgb == TRgb{255, 0, 255}; }

// The countdown alone, drawn with the font as a person would expect it:
// white, five times enlarged, at (224, 350).
TPixmapRef RenderText(const Text& text) {
    SetBlendMode(BLEND_ALPHA);
    SetDrawColor(255, 255, 255);
    SetRotationAndScale(0, 5, 5);
    SetDrawAlpha(1);
    ClearScreen();
    DrawString(text, 224, 350);
    SetDrawScale(1, 1);
    return GrabScreenPixmap(0, 0, kWidth, kHeight);
}

// Differences between a logo row as drawn at (159 + shift, 226 + row) and the
// picture's row, counting only the picture's visible pixels.
int RowMismatches(const TPixmap& frame, const TPixmap& picture, int row, int shift) {
    int mismatches = 0;
    for (int x = 0; x < picture.width; ++x) {
        const int fx = 159 + shift + x;
        if (fx < 0 || fx >= kWidth) continue;
        const TRgb expected = RgbAt(picture, x, row);
        if (IsRed(expected)) continue;
        if (test::MaxDifference(frame, fx, 226 + row, picture, x, row, 1, 1) > 2) ++mismatches;
    }
    return mismatches;
}

// The whole logo unshifted: its pixels at (159, 226), black where it is red.
int UnshiftedLogoMismatches(const TPixmap& frame, const TPixmap& picture) {
    int mismatches = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            TRgb expected = RgbAt(picture, x, y);
            if (IsRed(expected)) expected = {0, 0, 0};
            const TRgb actual = RgbAt(frame, 159 + x, 226 + y);
            for (int c = 0; c < 3; ++c) mismatches += std::abs(actual[c] - expected[c]) > 2 ? 1 : 0;
        }
    }
    return mismatches;
}

TEST_F(IntroRecording, OpeningFramesCountDownStepTheScrollerAndHoldTheLogoStill) {
    constexpr int kFrames = 160;
    std::vector<int32_t> positions;
    RecordFrames(folder_.Path(), kFrames, true, nullptr,
                 [&](const TIntroShow& show) { positions.push_back(show.scroller.scrollPos); });
    ASSERT_EQ(IntroFrameCount(), static_cast<uint64_t>(kFrames));
    EXPECT_EQ(IntroShow().recordedFrames, kFrames);

    // Numbered files, each a full-size PNG in which the mask colours never show.
    for (int n = 0; n < kFrames; ++n) {
        const TPixmapRef frame = Frame(n);
        ASSERT_TRUE(frame);
        ASSERT_EQ(frame->width, kWidth);
        ASSERT_EQ(frame->height, kHeight);
        ASSERT_EQ(test::CountMaskColours(*frame), 0) << "frame " << n;
    }
    EXPECT_FALSE(fs::exists(FramePath(folder_.Path(), kFrames)));

    // One step of the scroller every 8 frames (16 hundredths of a second).
    ASSERT_EQ(positions.size(), static_cast<std::size_t>(kFrames));
    for (int n = 0; n < kFrames; ++n) EXPECT_EQ(positions[n], (n + 1) / 8) << "frame " << n;

    // The countdown falls by 20 a frame: frame n stands for 20 (n + 1) ms.
    for (int n : {0, 1, 159}) {
        const TPixmapRef frame = Frame(n);
        const TPixmapRef expected = RenderText(NumberText(132000 - 20 * (n + 1)));
        EXPECT_EQ(test::MaxDifference(*frame, 200, 340, *expected, 200, 340, 300, 100), 0) << "frame " << n;
    }
    // The logo lies still at (159, 226) to (608, 329) before 2.57 s ...
    const TPixmapRef picture = ReadAsset(u"incbin::\\basic\\torvel_test3.tga");
    ASSERT_TRUE(picture);
    for (int n : {0, 120}) {
        const TPixmapRef frame = Frame(n);
        EXPECT_EQ(UnshiftedLogoMismatches(*frame, *picture), 0) << "frame " << n;
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_TRUE(test::IsBlack(RgbAt(*frame, x, 225)) && test::IsBlack(RgbAt(*frame, x, 330))) << x;
        }
    }
    // ... and at 3.2 s the wave has climbed to row 44: the rows below it are
    // shifted by their own amounts.
    const TPixmapRef rippling = Frame(159);
    const int32_t centis = 320;
    for (int row = 0; row < picture->height; ++row) {
        const double shift = RowShift(centis, row);
        if (row < 44) {
            ASSERT_EQ(shift, 0);
            EXPECT_EQ(RowMismatches(*rippling, *picture, row, 0), 0) << "row " << row;
            continue;
        }
        // Drawn at a fraction of a pixel, a row lands on one of the two
        // nearest whole pixels.
        const int low = static_cast<int>(std::floor(shift));
        const int best = std::min(RowMismatches(*rippling, *picture, row, low),
                                  RowMismatches(*rippling, *picture, row, low + 1));
        EXPECT_EQ(best, 0) << "row " << row << " shift " << shift;
    }
    EXPECT_NE(RowShift(centis, 103), 0);
    EXPECT_EQ(test::CheckReferenceFrame(rippling, "opening", 8, 200), "");
}

TEST_F(IntroRecording, ScrollerGlyphsStandInTheirSlots) {
    // 23 s into the show, when the first words scroll in along the line.
    RecordFrames(folder_.Path(), 100, true, [](TIntroShow& show) {
        show.clock.elapsedMs = 23000 - 20;
        show.scroller.scrollPos = 143;
    });
    const TScroller& scroller = IntroShow().scroller;
    ASSERT_EQ(IntroClock().centis, 2498);
    ASSERT_EQ(scroller.scrollPos, 156);
    ASSERT_EQ(scroller.scrollOffset, 6);
    const TPixmapRef frame = Frame(99);
    ASSERT_TRUE(frame);
    EXPECT_EQ(test::CountMaskColours(*frame), 0);

    // Slots 6 to 18 hold "ON N'Y CROYAI" at full alpha, each glyph three times
    // its size around (48 slot - 54, 490), anchored at its centre; the last
    // ones run off the right edge.
    const TPixmapRef sheet = ReadAsset(u"incbin::\\basic\\fontjap2.tga");
    ASSERT_TRUE(sheet);
    int checked = 0;
    for (int slot = 6; slot <= 18; ++slot) {
        const char16_t ch = scroller.scrollText[scroller.scrollPos + slot];
        const int k = static_cast<int>(kCharMap.find(ch));
        const int x = 48 * slot - 54;
        for (int v = 0; v < 13; ++v) {
            for (int u = 0; u < 16; ++u) {
                const int px = x - 23 + 3 * u;
                if (px >= kWidth) continue;
                TRgb expected = RgbAt(*sheet, (16 * k) % 320 + u, (16 * k) / 320 * 13 + v);
                if (IsMagenta(expected)) expected = {0, 0, 0};
                const TRgb actual = RgbAt(*frame, px, 490 - 19 + 3 * v);
                int worst = 0;
                for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(actual[c] - expected[c]));
                EXPECT_LE(worst, 2) << "slot " << slot << " texel " << u << "," << v;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 11 * 16 * 13 + 10 * 13);
    EXPECT_EQ(test::CheckReferenceFrame(frame, "scroller", 8, 200), "");
}

// Whether (x, y) lies under a layer drawn after the effect objects.
bool UnderLaterLayers(int x, int y, const TScroller& scroller, int32_t centis, int countdownDigits) {
    if (y >= 226 && y < 330) return true;
    if (x >= 224 && x < 224 + 40 * countdownDigits && y >= 350 && y < 430) return true;
    for (int slot = 0; slot < kScrollWindow; ++slot) {
        const TSlotPlacement place = scroller.PlaceSlot(slot, centis);
        const int dx = x - place.x, dy = y - place.y;
        if (dx * dx + dy * dy < 33 * 33) return true;
    }
    return false;
}

TEST_F(IntroRecording, StarsAndSpiralFlyInFullSwing) {
    // 100 s into the show: the circle, the stars and the spiral.
    RecordFrames(folder_.Path(), 100, true, [](TIntroShow& show) {
        show.clock.elapsedMs = 100000 - 20;
        show.scroller.scrollPos = 603;
        show.scroller.scrollMode = SCROLL_CIRCLE;
        show.scroller.effectLevel = 2;
    });
    const TIntroShow& show = IntroShow();
    EXPECT_EQ(show.spawner.spawnCount, 100);
    const TPixmapRef frame = Frame(99);
    ASSERT_TRUE(frame);
    EXPECT_EQ(test::CountMaskColours(*frame), 0);

    // Paint the points drawn in the last frame, in list order; the last six
    // were spawned after it was drawn.
    std::vector<int> grey(kWidth * kHeight, 0);
    const std::size_t drawn = show.effects.Count() - 6;
    std::size_t index = 0;
    int stars = 0, spirals = 0;
    for (const TEffectPointRef& point : show.effects.Points()) {
        if (index++ == drawn) break;
        (point->state == EFFECT_STAR ? stars : spirals)++;
        const TProjection p = point->Project();
        for (int y = p.sy + 288; y < p.sy + 291; ++y) {
            for (int x = p.sx + 384; x < p.sx + 387; ++x) {
                if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) grey[y * kWidth + x] = point->GreyLevel();
            }
        }
    }
    EXPECT_EQ(stars, 99);
    EXPECT_GT(spirals, 300);

    int compared = 0, lit = 0, mismatches = 0;
    const int digits = static_cast<int>(NumberText(132000 - show.clock.elapsedMs).size());
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (UnderLaterLayers(x, y, show.scroller, show.clock.centis, digits)) continue;
            const int g = grey[y * kWidth + x];
            ++compared;
            lit += g > 0 ? 1 : 0;
            const TRgb actual = RgbAt(*frame, x, y);
            if (actual != TRgb{g, g, g}) ++mismatches;
        }
    }
    EXPECT_GT(compared, kWidth * kHeight / 2);
    EXPECT_GT(lit, 1000);
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(test::CheckReferenceFrame(frame, "full_swing", 8, 200), "");
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST_F(IntroRecording, GoesOnWhenFramesCannotBeSaved) {
    ::testing::internal::CaptureStderr();
    RecordFrames(folder_.Path(), 3, false, nullptr);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(IntroFrameCount(), 3u);
    EXPECT_EQ(IntroShow().recordedFrames, 3);
    EXPECT_TRUE(fs::is_empty(folder_.Path()));
    EXPECT_EQ(Occurrences(errors, "intro-record: "), 1u) << errors;
    EXPECT_NE(errors.find("frame 0 was not saved to record/image00000.png: No such file or directory"),
              std::string::npos)
        << errors;
}

// Frames that fail part way (a frame is 1.7 MB) leave no broken files, and
// the first one is reported with the system's reason.
TEST_F(IntroRecording, FramesThatFailPartWayLeaveNothingBehind) {
    ::testing::internal::CaptureStderr();
    {
        test::TFileSizeLimit limit(1 << 20);
        RecordFrames(folder_.Path(), 3, true, nullptr);
    }
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(IntroShow().recordedFrames, 3);
    EXPECT_TRUE(fs::is_empty(folder_.Path() / "record"));
    EXPECT_EQ(Occurrences(errors, "intro-record: "), 1u) << errors;
    EXPECT_NE(errors.find("frame 0 was not saved to record/image00000.png: " + std::string(std::strerror(EFBIG))),
              std::string::npos)
        << errors;
}

// A real full disk, where root may make one: the frames that fit are whole,
// the rest leave nothing.
TEST_F(IntroRecording, AFullDiskKeepsTheWholeFramesOnly) {
    const fs::path record = folder_.Path() / "record";
    fs::create_directory(record);
    if (geteuid() != 0 || mount("tmpfs", record.c_str(), "tmpfs", 0, "size=5m") != 0)
        GTEST_SKIP() << "mounting a small file system needs root";
    ::testing::internal::CaptureStderr();
    RecordFrames(folder_.Path(), 4, false, nullptr);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(record)) names.push_back(entry.path().filename().string());
    const bool firstWhole = static_cast<bool>(test::ReadFrame(record / "image00000.png"));
    const bool secondWhole = static_cast<bool>(test::ReadFrame(record / "image00001.png"));
    umount2(record.c_str(), MNT_DETACH);
    EXPECT_EQ(names.size(), 2u);
    EXPECT_TRUE(firstWhole && secondWhole);
    EXPECT_NE(errors.find("frame 2 was not saved to record/image00002.png: " + std::string(std::strerror(ENOSPC))),
              std::string::npos)
        << errors;
}

constexpr const char* kEarlierFrame = "an earlier recording's frame";

// The bytes of a file, or empty text when it cannot be read.
std::string FileBytes(const fs::path& path) {
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
        std::fclose(file);
    }
    return bytes;
}

void WriteFileBytes(const fs::path& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(file);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
}

int signalOnceTheFileIsFull = 0;
extern "C" void RaiseTheSignal(int) { std::raise(signalOnceTheFileIsFull); }

// Records one frame and takes the signal when the frame's file reaches 1 MB.
void RecordUntilTheSignal(const fs::path& folder) {
    std::signal(SIGXFSZ, RaiseTheSignal);
    const rlimit limit{1 << 20, 1 << 20};
    setrlimit(RLIMIT_FSIZE, &limit);
    RecordFrames(folder, 1, false, nullptr);
    std::_Exit(0);
}

// A frame interrupted part way (a frame is 1.7 MB; the signal comes when the
// first megabyte is written) leaves no temporary file, and the frame of an
// earlier recording under its name stays whole.
TEST_F(IntroRecording, AnInterruptedFrameLeavesNoTemporaryFileAndTheEarlierFrameWhole) {
    const fs::path record = folder_.Path() / "record";
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        fs::create_directory(record);
        WriteFileBytes(record / "image00000.png", kEarlierFrame);
        signalOnceTheFileIsFull = signalNumber;
        EXPECT_EXIT(RecordUntilTheSignal(folder_.Path()), ::testing::ExitedWithCode(255), "^Received Signal$")
            << "signal " << signalNumber;
        EXPECT_EQ(Names(record), std::vector<std::string>{"image00000.png"}) << "signal " << signalNumber;
        EXPECT_TRUE(FileBytes(record / "image00000.png") == kEarlierFrame)
            << "signal " << signalNumber << ": the earlier frame was changed";
        fs::remove_all(record);
    }
}

// The frame that does not fit stays unsaved, the earlier one stays as it
// was, and the message says so.
TEST_F(IntroRecording, AFrameThatCannotBeSavedLeavesTheEarlierFrameOfItsNameAsItWas) {
    const fs::path record = folder_.Path() / "record";
    fs::create_directory(record);
    WriteFileBytes(record / "image00000.png", kEarlierFrame);
    ::testing::internal::CaptureStderr();
    {
        test::TFileSizeLimit limit(1 << 20);
        RecordFrames(folder_.Path(), 1, false, nullptr);
    }
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Names(record), std::vector<std::string>{"image00000.png"});
    EXPECT_TRUE(FileBytes(record / "image00000.png") == kEarlierFrame) << "the earlier frame was changed";
    EXPECT_NE(errors.find("frame 0 was not saved to record/image00000.png: " + std::string(std::strerror(EFBIG))),
              std::string::npos)
        << errors;
}

// A link under a frame's name is replaced by the frame; what it pointed to,
// outside the folder, is left alone.
TEST_F(IntroRecording, ALinkUnderAFrameNameIsReplacedNotFollowed) {
    const fs::path record = folder_.Path() / "record";
    fs::create_directory(record);
    WriteFileBytes(folder_.Path() / "outside.txt", "not a frame");
    fs::create_symlink("../outside.txt", record / "image00000.png");
    RecordFrames(folder_.Path(), 1, false, nullptr);
    EXPECT_TRUE(FileBytes(folder_.Path() / "outside.txt") == "not a frame") << "the frame went through the link";
    EXPECT_FALSE(fs::is_symlink(record / "image00000.png"));
    EXPECT_EQ(Names(record), std::vector<std::string>{"image00000.png"});
    EXPECT_TRUE(Frame(0));
}

TEST(RecordingNames, KeepFiveDigitsAndEveryDigitBeyond) {
    EXPECT_EQ(RecordFileName(0), u"record\\image00000.png");
    EXPECT_EQ(RecordFileName(12), u"record\\image00012.png");
    EXPECT_EQ(RecordFileName(99999), u"record\\image99999.png");
    // Frame 100000 must not overwrite frame 0.
    EXPECT_EQ(RecordFileName(100000), u"record\\image100000.png");
    EXPECT_EQ(RecordFileName(2147483647), u"record\\image2147483647.png");
}

}  // namespace
}  // namespace vesk
