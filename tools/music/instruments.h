// The synthesiser's instruments. Each plays one note of the time line into
// the buses, scaled by the instrument's mix level; drums ring out for their
// own time, held instruments follow the note's length and then release.
#pragma once

#include "music/buses.h"
#include "music/timeline.h"

namespace vesk::assetgen {

void PlayNote(const NoteEvent& note, float level, Buses& buses);

}  // namespace vesk::assetgen
