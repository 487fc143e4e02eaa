// The synthesiser's instruments. Each note of the time line becomes a
// player, made when the note starts and then asked for its frames block by
// block, so the track can be made in pieces of any size: a player keeps
// every oscillator, filter and envelope between blocks and gives the same
// samples whatever the block boundaries. Drums ring out for their own
// time, held instruments follow the note's length and then release.
#pragma once

#include <memory>

#include "music/buses.h"
#include "music/timeline.h"

namespace vesk::assetgen {

class NotePlayer {
public:
    virtual ~NotePlayer() = default;
    // Plays on into the buses up to (not including) the track's frame end;
    // false once the note has finished.
    virtual bool PlayUntil(long end, Buses& buses) = 0;
};

// The note's player, scaled by its instrument's mix level.
std::unique_ptr<NotePlayer> StartNote(const NoteEvent& note, float level);

// The kick's pumping for the ducked instruments: written into the buses'
// duck curve (the largest of all kicks sounding at a frame), before the
// notes of the block are played.
std::unique_ptr<NotePlayer> StartKickDuck(const NoteEvent& kick);

}  // namespace vesk::assetgen
