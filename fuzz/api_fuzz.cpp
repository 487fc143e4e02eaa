// The engine's public calls in an order the input chooses: pixmaps (made,
// converted, scaled, windowed, pasted, masked, mirrored, their pixels read
// and written within range), images made from them, locked, grabbed and
// drawn with the drawing state and primitives on SDL's offscreen video
// driver, and sounds and channels on its dummy audio driver.
//
// Sizes, counts and frame numbers come straight from the input, the edges a
// check must catch among them: a call may refuse its arguments with a
// failure, but must never touch memory it does not own, hang, or leave the
// engine unable to go on. Every input starts from the same drawing state and
// releases what it made.
#include "fuzz_input.h"
#include <vesk/audio/mixer.h>
#include <vesk/audio/mixer_driver.h>
#include <vesk/audio/sound_driver.h>
#include <vesk/graphics/draw_primitives.h>
#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/graphics.h>
#include <vesk/graphics/image.h>
#include <vesk/graphics/text_font.h>
#include <vesk/runtime/failure.h>
#include "runtime/std_compat.h"

#include <climits>
#include <vector>

namespace vesk::fuzz {
namespace {

constexpr int kScreenWidth = 96;
constexpr int kScreenHeight = 64;
constexpr size_t kSlots = 4;
// Handles of reserved channels are never given back; the mixer is opened
// afresh before they run out.
constexpr int kReservationsPerMixer = 3000;
// Blocks the engine would allocate and fill, only slowly, are left out;
// smaller ones and those no 32-bit count can hold are asked for.
constexpr double kLargestBlock = 1 << 20;

bool Affordable(int32_t width, int32_t height, int32_t bytesPerPixel) {
    if (width < 1 || height < 1) return true;
    const double bytes = static_cast<double>(width) * height * bytesPerPixel;
    return bytes <= kLargestBlock || bytes > INT32_MAX;
}

int reservations = 0;

// A pixmap and, for a window, the pixmap whose memory it looks into: a
// window must not outlive its parent.
struct TPixmapSlot {
    TPixmapRef pixmap;
    TPixmapRef parent;
};

class TApiDriver {
public:
    explicit TApiDriver(TOpInput& in) : in_(in) {}

    void Step() {
        const int op = in_.Byte() % 24;
        try {
            Run(op);
        } catch (const TFailure&) {
            // A refusal is an answer; what matters is that nothing broke.
        }
    }

private:
    void Run(int op) {
        switch (op) {
        case 0: CreatePixmapOp(); break;
        case 1: ConvertOp(); break;
        case 2: ScaleOp(); break;
        case 3: WindowOp(); break;
        case 4: PasteOp(); break;
        case 5: MaskOp(); break;
        case 6: MirrorOp(); break;
        case 7: PixelsOp(); break;
        case 8: MakeImageOp(); break;
        case 9: LockableImageOp(); break;
        case 10: CellImageOp(); break;
        case 11: LockOp(); break;
        case 12: GrabImageOp(); break;
        case 13: DrawImageOp(); break;
        case 14: PrimitiveOp(); break;
        case 15: StateOp(); break;
        case 16: ScreenPixmapOp(); break;
        case 17: TextOp(); break;
        case 18: SoundOp(); break;
        case 19: PlayOp(); break;
        case 20: ChannelOp(); break;
        case 21: ReserveOp(); break;
        case 22: BadModeOp(); break;
        default: ClearScreen(); FlipBuffers(); break;
        }
    }

    // --- Numbers ---

    // A size or count: mostly 0 … small, sometimes one of the edges a check
    // must catch (negative, zero, past 32 bits once multiplied).
    int32_t Size(int32_t small) {
        static constexpr int32_t kEdges[] = {-1, -2, 0, 1, INT32_MIN, INT32_MAX, 1 << 15, 1 << 16, (1 << 16) + 1,
                                             1 << 30, -(1 << 16), 4097, 16385};
        const uint8_t shape = in_.Byte();
        if (shape >= 224) return kEdges[shape % (sizeof kEdges / sizeof kEdges[0])];
        const uint32_t raw = small > 255 ? in_.Byte() | in_.Byte() << 8 : in_.Byte();
        return static_cast<int32_t>(raw % static_cast<uint32_t>(small + 1));
    }

    // A window pixel or pixmap position: mostly near the screen, sometimes
    // at the ends of the integers.
    int32_t Coordinate() {
        static constexpr int32_t kEdges[] = {INT32_MIN, INT32_MAX, -(1 << 16), 1 << 16, -1};
        const uint8_t shape = in_.Byte();
        if (shape >= 240) return kEdges[shape % (sizeof kEdges / sizeof kEdges[0])];
        return in_.Byte() % 128 - 16;
    }

    int Colour() { return in_.Byte() % 2 ? in_.Byte() : in_.Byte() * 8 - 1000; }

    // A real: mostly a modest value, sometimes any bit pattern (NaN and
    // infinities included).
    float Real(float range) {
        const uint8_t shape = in_.Byte();
        if (shape >= 240) return BitCast<float>(in_.Word());
        return (static_cast<float>(in_.Byte()) - 128.0f) / 128.0f * range;
    }

    int Format() { return in_.Byte() % 8; }
    int Flags() { return in_.Byte() % 9 - 1; }

    // --- Pools: four slots of each kind, chosen by the input ---

    template <class T>
    T& Slot(std::vector<T>& pool) {
        if (pool.size() < kSlots) pool.resize(kSlots);
        return pool[in_.Byte() % kSlots];
    }

    TPixmapRef PixmapArgument() { return Slot(pixmaps_).pixmap; }
    void KeepPixmap(TPixmapRef pixmap, TPixmapRef parent = nullptr) {
        CheckPixmap(pixmap);
        Slot(pixmaps_) = {std::move(pixmap), std::move(parent)};
    }

    // Reads every byte a pixmap says it has, so that one whose size and
    // memory disagree shows under AddressSanitizer.
    static void CheckPixmap(const TPixmapRef& pixmap) {
        if (!pixmap) return;
        VESK_FUZZ_CHECK(pixmap->width >= 1 && pixmap->height >= 1);
        const int32_t rowBytes = pixmap->width * FormatEntry(BytesPerPixel, pixmap->format);
        unsigned sum = 0;
        for (int32_t y = 0; y < pixmap->height; ++y)
            for (int32_t i = 0; i < rowBytes; ++i) sum += pixmap->PixelAddress(0, y)[i];
        Consume(sum);
    }

    // --- Pixmaps ---

    void CreatePixmapOp() {
        const int32_t width = Size(32), height = Size(32), format = Format();
        if (!Affordable(width, height, FormatEntry(BytesPerPixel, format))) return;
        TPixmapRef pixmap = CreatePixmap(width, height, format, in_.Byte() % 9);
        // New memory is not cleared: fill it before anything reads it.
        for (int32_t y = 0; y < pixmap->height; ++y)
            std::memset(pixmap->PixelAddress(0, y), in_.Byte(), static_cast<size_t>(pixmap->pitch));
        KeepPixmap(pixmap);
    }

    void ConvertOp() {
        const TPixmapRef source = PixmapArgument();
        KeepPixmap(ConvertPixmap(source, Format()));
    }

    void ScaleOp() {
        const TPixmapRef source = PixmapArgument();
        const int32_t width = Size(48), height = Size(48);
        // The result keeps the source's format.
        if (!source || !Affordable(width, height, FormatEntry(BytesPerPixel, source->format))) return;
        KeepPixmap(ScalePixmap(source, width, height));
    }

    void WindowOp() {
        const TPixmapSlot parent = Slot(pixmaps_);
        const int32_t x = Coordinate(), y = Coordinate(), w = Size(32), h = Size(32);
        TPixmapRef window = PixmapWindow(parent.pixmap, x, y, w, h);
        KeepPixmap(window, parent.parent ? parent.parent : parent.pixmap);
    }

    void PasteOp() {
        const TPixmapRef target = PixmapArgument(), source = PixmapArgument();
        const int32_t x = Coordinate(), y = Coordinate();
        if (target && source) target->Paste(*source, x, y);
    }

    void MaskOp() {
        const TPixmapRef source = PixmapArgument();
        KeepPixmap(MaskColourToAlpha(source, in_.Byte(), in_.Byte(), in_.Byte()));
    }

    void MirrorOp() {
        const TPixmapRef source = PixmapArgument();
        KeepPixmap(in_.Byte() % 2 ? MirrorPixmapX(source) : MirrorPixmapY(source));
    }

    // Pixel access is left unchecked to stay fast: the caller keeps to the pixmap.
    void PixelsOp() {
        const TPixmapRef pixmap = PixmapArgument();
        if (!pixmap || pixmap->width < 1 || pixmap->height < 1) return;
        for (int n = in_.Byte() % 8; n > 0; --n) {
            const int32_t x = in_.Byte() % pixmap->width, y = in_.Byte() % pixmap->height;
            pixmap->SetPixel(x, y, in_.Word());
            Consume(pixmap->GetPixel(x, y));
        }
    }

    // --- Images ---

    void KeepImage(TImageRef image) {
        if (image) VESK_FUZZ_CHECK(image->frames.size() >= 1 && image->width >= 1 && image->height >= 1);
        Slot(images_) = std::move(image);
    }

    void MakeImageOp() {
        const TPixmapRef source = PixmapArgument();
        KeepImage(MakeImage(source, Flags()));
    }

    void LockableImageOp() {
        const int32_t width = Size(40), height = Size(40), frames = std::min(Size(3), 8);
        if (!Affordable(width, height, 4)) return;
        KeepImage(CreateLockableImage(width, height, frames, Flags()));
    }

    void CellImageOp() {
        const TPixmapRef sheet = PixmapArgument();
        const int32_t cellWidth = Size(16), cellHeight = Size(16), first = Size(8), count = Size(8);
        KeepImage(MakeCellImage(sheet, cellWidth, cellHeight, first, count, Flags()));
    }

    // A locked frame's view is written within its size, then uploaded.
    void LockOp() {
        const TImageRef image = Slot(images_);
        const int32_t frame = Size(3);
        TPixmapRef view = LockImageFrame(image, frame, in_.Byte() % 2, in_.Byte() % 2);
        if (view && view->width > 0 && view->height > 0) {
            view->SetPixel(in_.Byte() % view->width, in_.Byte() % view->height, in_.Word());
            CheckPixmap(view);
        }
        UnlockImageFrame(image, frame);
    }

    void GrabImageOp() {
        const TImageRef image = Slot(images_);
        const int32_t x = Coordinate(), y = Coordinate(), frame = Size(3);
        GrabImageFrame(image, x, y, frame);
    }

    void DrawImageOp() {
        const TImageRef image = Slot(images_);
        const float x = Real(100), y = Real(100);
        const int32_t frame = Size(3);
        switch (in_.Byte() % 4) {
        case 0: DrawImageFrame(image, x, y, frame); break;
        case 1: DrawImageStretched(image, x, y, Real(200), Real(200), frame); break;
        case 2: TileImageFrame(image, x, y, frame); break;
        default: if (image) CentreImageAnchor(image); break;
        }
    }

    // --- Drawing ---

    void PrimitiveOp() {
        const float x = Real(100), y = Real(100), a = Real(200), b = Real(200);
        switch (in_.Byte() % 5) {
        case 0: PlotPoint(x, y); break;
        case 1: DrawLineSegment(x, y, a, b, in_.Byte() % 2); break;
        case 2: FillRect(x, y, a, b); break;
        case 3: FillOval(x, y, a, b); break;
        default: {
            std::vector<float> points(static_cast<size_t>(in_.Byte() % 16));
            for (float& point : points) point = Real(100);
            FillPolygon(points);
            break;
        }
        }
    }

    void StateOp() {
        switch (in_.Byte() % 10) {
        case 0: SetDrawColor(Colour(), Colour(), Colour()); break;
        case 1: SetDrawAlpha(Real(2)); break;
        case 2: SetBlendMode(in_.Byte() % 8 - 1); break;
        case 3: SetRotationAndScale(Real(720), Real(4), Real(4)); break;
        case 4: SetDrawAnchor(Real(50), Real(50)); break;
        case 5: SetDrawOrigin(Real(50), Real(50)); break;
        case 6: SetClipViewport(Coordinate(), Coordinate(), Coordinate(), Coordinate()); break;
        case 7: SetLineThickness(Real(8)); break;
        case 8: SetTransparentColor(in_.Byte(), in_.Byte(), in_.Byte()); break;
        default: SetAutoCentreAnchor(in_.Byte() % 2); break;
        }
    }

    void ScreenPixmapOp() {
        if (in_.Byte() % 2) {
            const int32_t x = Coordinate(), y = Coordinate(), w = Size(48), h = Size(48);
            if (!Affordable(w, h, 4)) return;
            KeepPixmap(GrabScreenPixmap(x, y, w, h));
        } else {
            const TPixmapRef pixmap = PixmapArgument();
            PastePixmapToScreen(pixmap, Real(100), Real(100));
        }
    }

    void TextOp() {
        Text text;
        for (int n = in_.Byte() % 12; n > 0; --n) text += static_cast<char16_t>(in_.Byte() | (in_.Byte() % 4) << 8);
        switch (in_.Byte() % 3) {
        case 0: DrawString(text, Real(100), Real(100)); break;
        case 1: Consume(static_cast<unsigned>(StringWidth(text))); break;
        default: Consume(static_cast<unsigned>(StringHeight(text))); break;
        }
    }

    // --- Sounds ---

    void SoundOp() {
        const int32_t length = Size(512), hertz = in_.Byte() % 2 ? Size(48000) : -in_.Byte(), format = in_.Byte() % 8;
        if (!Affordable(length, 1, BytesPerFrame(format))) return;
        auto sample = CreateSample(length, hertz, format);
        size_t count = static_cast<size_t>(sample->capacity);
        const uint8_t* bytes = in_.Take(count);
        std::memset(sample->samples, 0, static_cast<size_t>(sample->capacity));
        if (count > 0) std::memcpy(sample->samples, bytes, count);
        Slot(sounds_) = MakeSound(sample, in_.Byte() % 3);
    }

    void PlayOp() {
        const TSoundRef sound = Slot(sounds_);
        const TChannelRef channel = Slot(channels_);
        TChannelRef playing = in_.Byte() % 2 ? StartSound(sound, channel) : StartSoundPaused(sound, channel);
        if (playing) Slot(channels_) = playing;
    }

    void ChannelOp() {
        const TChannelRef channel = Slot(channels_);
        switch (in_.Byte() % 7) {
        case 0: StopChannel(channel); break;
        case 1: SetChannelPaused(channel, in_.Byte() % 2); break;
        case 2: SetChannelVolume(channel, Real(4)); break;
        case 3: SetChannelPan(channel, Real(2)); break;
        case 4: SetChannelDepth(channel, Real(2)); break;
        case 5: SetChannelRate(channel, Real(8)); break;
        default: Consume(static_cast<unsigned>(ChannelPlaying(channel))); break;
        }
    }

    void ReserveOp() {
        ++reservations;
        Slot(channels_) = ReserveChannel();
    }

    // A mode no display has fails before the open window closes.
    void BadModeOp() {
        const int32_t width = -1 - in_.Byte(), height = Size(480);
        try {
            OpenGraphics(width, height, 0, 0);
        } catch (const TFailure&) {
        }
        VESK_FUZZ_CHECK(GraphicsOpen() && GetScreenWidth() == kScreenWidth);
    }

    TOpInput& in_;
    std::vector<TPixmapSlot> pixmaps_;
    std::vector<TImageRef> images_;
    std::vector<TSoundRef> sounds_;
    std::vector<TChannelRef> channels_;
};

// Each input starts from the state graphics opens with, on a cleared screen.
void ResetEngine() {
    ResetDrawState(kScreenWidth, kScreenHeight);
    SetTextFont(nullptr);
    ClearScreen();
    if (reservations < kReservationsPerMixer) return;
    MixerClose();
    if (MixerOpen() == 0) SetSoundDriver(std::make_shared<TMixerDriver>());
    reservations = 0;
}

}  // namespace
}  // namespace vesk::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    vesk::InitMixerModule();
    vesk::OpenGraphics(vesk::fuzz::kScreenWidth, vesk::fuzz::kScreenHeight, 0, 0);
    vesk::fuzz::HandSignalsToFuzzer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vesk::fuzz;
    ResetEngine();
    TOpInput in(data, size);
    TApiDriver driver(in);
    for (int steps = 0; !in.Empty() && steps < 64; ++steps) driver.Step();
    return 0;
}
