// The first game played by key presses pushed into SDL's event queue, where a
// keyboard's would arrive, so they take the engine's whole road from SDL's
// key codes to the game's polled keys.
#include "game.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

using first_game::TGame;

void PushKey(SDL_Scancode code, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = code;
    event.key.keysym.sym = SDL_GetKeyFromScancode(code);
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

// Holds the key for `frames` frames, then lets it go and runs one more.
void Hold(TGame& game, SDL_Scancode code, int frames) {
    PushKey(code, true);
    for (int i = 0; i < frames; ++i) ASSERT_TRUE(game.RunFrame());
    PushKey(code, false);
    ASSERT_TRUE(game.RunFrame());
}

void ExpectHeroAt(const TGame& game, float x, float y) {
    EXPECT_EQ(game.Hero().x, x);
    EXPECT_EQ(game.Hero().y, y);
}

TEST(FirstGame, ArrowsWalkTheHeroOntoTheCoinAndTheScoreMoves) {
    TGame game(VESK_FIRST_GAME_ASSETS);
    ASSERT_TRUE(game.RunFrame());
    const first_game::TPoint start = game.Hero();

    // Four pixels a frame while an arrow is held, each its own way.
    Hold(game, SDL_SCANCODE_UP, 5);
    ExpectHeroAt(game, start.x, start.y - 20);
    Hold(game, SDL_SCANCODE_LEFT, 5);
    ExpectHeroAt(game, start.x - 20, start.y - 20);
    Hold(game, SDL_SCANCODE_DOWN, 5);
    Hold(game, SDL_SCANCODE_RIGHT, 5);
    ExpectHeroAt(game, start.x, start.y);
    EXPECT_EQ(game.Score(), 0);

    // The first coin lies 220 pixels to the right.
    Hold(game, SDL_SCANCODE_RIGHT, 60);
    EXPECT_EQ(game.Score(), 1);

    PushKey(SDL_SCANCODE_SPACE, true);
    ASSERT_TRUE(game.RunFrame());
    PushKey(SDL_SCANCODE_ESCAPE, true);
    EXPECT_FALSE(game.RunFrame());
}

}  // namespace
