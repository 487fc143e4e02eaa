#include "game.h"

#include <vesk/audio/mixer_driver.h>
#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/graphics.h>
#include <vesk/graphics/text_font.h>
#include <vesk/pixmap/tga_reader.h>
#include <vesk/runtime/failure.h>
#include <vesk/runtime/text.h>
#include <vesk/stream/opening.h>
#include <vesk/stream/resources.h>
#include <vesk/system/platform.h>

#include "embedded/coin_tga.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace first_game {
namespace {

using namespace vesk;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kStep = 4;      // pixels a frame while an arrow key is held
constexpr float kReach = 20;    // how near the hero's centre must come to the coin's
constexpr float kMargin = 12;   // half the hero's size: it stays wholly inside the window
constexpr TPoint kHeroStart{200, 240};
// Where the coins turn up, one after another; the first lies straight to the
// right of the hero.
constexpr std::array<TPoint, 5> kCoinPlaces{{{420, 240}, {120, 120}, {520, 380}, {200, 400}, {560, 90}}};

// [asset]
// A picture file beside the program. A missing or unreadable file is an
// absence (null), which this game cannot do without: it raises a failure,
// whose message RunProgram prints before it ends the program.
TImageRef LoadPicture(const std::string& path) {
    TImageRef image = MakeImage(path);
    if (!image) throw TFailure("Cannot read the picture " + path);
    CentreImageAnchor(image);
    return image;
}
// [asset]

// [embedded]
// The coin is stored in the program: its bytes are registered under a name
// and read like any file, through the incbin protocol.
TImageRef LoadCoin() {
    RegisterResource("\\game\\coin.tga", embedded::coin_tga_data(), embedded::coin_tga_size());
    TImageRef coin = MakeImage("incbin::\\game\\coin.tga");
    CentreImageAnchor(coin);
    return coin;
}
// [embedded]

bool Near(TPoint a, TPoint b) { return std::hypot(a.x - b.x, a.y - b.y) < kReach; }

}  // namespace

// [open]
TGame::TGame(const std::string& assetFolder) : hero_(kHeroStart), coin_(kCoinPlaces[0]) {
    InitSystemModule();
    InitStreamModule();
    InitTgaModule();  // the TGA and PNG readers
    InitGraphicsModule();
    InitMixerModule();
    SetWindowTitle("First game");
    OpenGraphics(kWidth, kHeight, 0, 60);
    SetBlendMode(BLEND_ALPHA);  // the pictures' edges are see-through
    heroImage_ = LoadPicture(assetFolder + "hero.png");
    coinImage_ = LoadCoin();
    pickup_ = MakeSound(assetFolder + "pickup.wav", 0);
    if (!pickup_) throw TFailure("Cannot read the sound " + assetFolder + "pickup.wav");
}
// [open]

TGame::~TGame() { CloseGraphics(); }

bool TGame::RunFrame() {
    if (TakeKeyHits(VK_ESCAPE) > 0) return false;
    Walk();
    if (TakeKeyHits(VK_SPACE) > 0) PlayPanned();
    CollectCoin();
    Draw();
    FlipBuffers();
    ++frame_;
    return true;
}

// [keys]
// Held arrow keys move the hero a few pixels a frame, inside the window.
void TGame::Walk() {
    if (IsKeyDown(VK_LEFT)) hero_.x -= kStep;
    if (IsKeyDown(VK_RIGHT)) hero_.x += kStep;
    if (IsKeyDown(VK_UP)) hero_.y -= kStep;
    if (IsKeyDown(VK_DOWN)) hero_.y += kStep;
    hero_.x = std::clamp(hero_.x, kMargin, kWidth - kMargin);
    hero_.y = std::clamp(hero_.y, kMargin, kHeight - kMargin);
}
// [keys]

void TGame::CollectCoin() {
    if (!Near(hero_, coin_)) return;
    ++score_;
    coin_ = kCoinPlaces[++coinsPlaced_ % kCoinPlaces.size()];
}

// [pan]
// The sound starts paused, takes its pan (-1 left to 1 right) and then
// plays, so it is never heard from the middle first.
void TGame::PlayPanned() const {
    const TChannelRef channel = StartSoundPaused(pickup_);
    SetChannelPan(channel, hero_.x / kWidth * 2 - 1);
    ResumeChannel(channel);
}
// [pan]

// [draw]
void TGame::Draw() const {
    ClearScreen();
    SetDrawColor(255, 255, 255);  // images are tinted by the drawing colour
    // The coin turns about its anchor, its centre: rotation is in degrees,
    // clockwise on the screen.
    SetDrawRotation(static_cast<float>(frame_ * 4 % 360));
    DrawImageFrame(coinImage_, coin_.x, coin_.y, 0);
    SetDrawRotation(0);
    DrawImageFrame(heroImage_, hero_.x, hero_.y, 0);
    // The score in the built-in 8 x 16 font at twice its size.
    SetDrawColor(255, 220, 60);
    SetDrawScale(2, 2);
    DrawString(u"Score " + NumberText(score_), 8, 8);
    SetDrawScale(1, 1);
}
// [draw]

}  // namespace first_game
