// An image bouncing around the window, with a sound on every bounce. The
// ball and its sound are made in code; the caption is a text file embedded
// in the executable. Escape ends it; a number on the command line ends it
// after that many frames instead (for running headless).
#include <vesk/audio/mixer_driver.h>
#include <vesk/audio/sound_driver.h>
#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/graphics.h>
#include <vesk/graphics/image.h>
#include <vesk/graphics/text_font.h>
#include <vesk/runtime/startup.h>
#include <vesk/stream/opening.h>
#include <vesk/stream/resources.h>
#include <vesk/system/platform.h>

#include "embedded/bounce_caption.h"

#include <cmath>
#include <numbers>
#include <cstdlib>

namespace {

using namespace vesk;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kBallSize = 48;
int frameLimit = 0;  // 0: until Escape

// [image]
// A shaded disc on a transparent ground, drawn into a pixmap pixel by pixel
// and made into an image anchored at its centre.
TImageRef MakeBall() {
    TPixmapRef pixmap = CreatePixmap(kBallSize, kBallSize, FormatRGBA8888);
    const float radius = kBallSize / 2.0f;
    for (int y = 0; y < kBallSize; ++y) {
        for (int x = 0; x < kBallSize; ++x) {
            const float distance = std::hypot(x + 0.5f - radius, y + 0.5f - radius) / radius;
            const auto shade = static_cast<TArgb>(255 * (1 - 0.6f * std::fmin(distance, 1)));
            const TArgb alpha = distance <= 1 ? 0xFF000000u : 0;
            SetPixmapPixel(pixmap, x, y, alpha | shade << 16 | shade / 2 << 8 | 0x40);
        }
    }
    TImageRef ball = MakeImage(pixmap);
    CentreImageAnchor(ball);
    return ball;
}
// [image]

// [sound]
// A tenth of a second of falling tone, 16-bit mono, written little-endian
// into a sample and made into a sound.
TSoundRef MakeBlip() {
    constexpr int kHertz = 22050;
    constexpr int kLength = kHertz / 10;
    auto sample = CreateSample(kLength, kHertz, SampleMono16LE);
    for (int i = 0; i < kLength; ++i) {
        const double t = static_cast<double>(i) / kHertz;
        const double fade = 1.0 - static_cast<double>(i) / kLength;
        const auto value = static_cast<int16_t>(12000 * fade * std::sin(2 * std::numbers::pi * (880 - 2000 * t) * t));
        sample->samples[2 * i] = static_cast<uint8_t>(value & 0xFF);
        sample->samples[2 * i + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
    }
    return MakeSound(sample, 0);
}
// [sound]

// [resource]
// The embedded caption, registered under a name and read back as a stream.
Text LoadCaption() {
    RegisterResource(u"\\bounce\\caption.txt", embedded::bounce_caption_data(), embedded::bounce_caption_size());
    Text caption = ReadWholeText(u"incbin::\\bounce\\caption.txt");
    while (!caption.empty() && caption.back() == u'\n') caption.pop_back();
    return caption;
}
// [resource]

struct TBall {
    float x = kWidth / 2.0f, y = kHeight / 3.0f;
    float dx = 4, dy = 3;

    // Moves one frame on; true when the ball hit a wall.
    bool Step() {
        const float radius = kBallSize / 2.0f;
        x += dx;
        y += dy;
        bool bounced = false;
        if (x < radius || x > kWidth - radius) {
            dx = -dx;
            x = std::fmin(std::fmax(x, radius), kWidth - radius);
            bounced = true;
        }
        if (y < radius || y > kHeight - radius) {
            dy = -dy;
            y = std::fmin(std::fmax(y, radius), kHeight - radius);
            bounced = true;
        }
        return bounced;
    }
};

// [life]
int Run() {
    InitSystemModule();
    InitStreamModule();
    InitPixmapModule();
    InitGraphicsModule();
    InitMixerModule();  // without a sound card every sound stays silent

    OpenGraphics(kWidth, kHeight, 0, 60);
    SetBlendMode(BLEND_ALPHA);  // the ball's edge is see-through
    const TImageRef ball = MakeBall();
    const TSoundRef blip = MakeBlip();
    const Text caption = LoadCaption();
    TBall motion;

    // Asking for Escape pumps the window's messages before every frame.
    for (int frame = 0; TakeKeyHits(VK_ESCAPE) == 0 && (frameLimit == 0 || frame < frameLimit); ++frame) {
        ClearScreen();
        if (motion.Step()) StartSound(blip);
        DrawImageFrame(ball, motion.x, motion.y, 0);
        DrawString(caption, 8, 8);
        FlipBuffers();  // paced to the 60 Hz asked for at opening
    }
    CloseGraphics();
    return 0;
}
// [life]

}  // namespace

// [main]
// A failure that escapes Run ends the program with its message.
int main(int argc, char** argv) {
    frameLimit = argc > 1 ? std::atoi(argv[1]) : 0;
    return vesk::RunProgram(Run);
}
// [main]
