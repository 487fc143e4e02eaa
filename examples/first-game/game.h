// A first game on the engine. The hero, read from a PNG file beside the
// program, walks with the arrow keys; a coin, stored in the program from a
// TGA file, spins where it lies and scores a point when the hero reaches it,
// then turns up somewhere else; Space plays a sound, read from a WAV file,
// panned to where the hero stands.
#pragma once

#include <vesk/audio/sound_driver.h>
#include <vesk/graphics/image.h>

#include <string>

namespace first_game {

struct TPoint {
    float x = 0, y = 0;
};

class TGame {
public:
    // Opens the window and loads the pictures and the sound; `assetFolder`
    // holds hero.png and pickup.wav and ends with a slash.
    explicit TGame(const std::string& assetFolder);
    ~TGame();
    TGame(const TGame&) = delete;
    TGame& operator=(const TGame&) = delete;

    // Reads the keys, moves, draws and presents one frame; false once Escape
    // has been pressed.
    bool RunFrame();

    int Score() const { return score_; }
    TPoint Hero() const { return hero_; }

private:
    void Walk();
    void CollectCoin();
    void PlayPanned() const;
    void Draw() const;

    vesk::TImageRef heroImage_;
    vesk::TImageRef coinImage_;
    vesk::TSoundRef pickup_;
    TPoint hero_;
    TPoint coin_;
    int coinsPlaced_ = 0;
    int score_ = 0;
    int frame_ = 0;
};

}  // namespace first_game
