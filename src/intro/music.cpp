#include "intro/music.h"

#include "intro/recording.h"

namespace vesk {

TSoundRef MakeIntroMusic() { return MakeSound(kMusicUrl, 0); }

TChannelRef StartIntroMusic(const TSoundRef& music) {
    if constexpr (recordFrames) return nullptr;
    return StartSound(music, nullptr);
}

}  // namespace vesk
