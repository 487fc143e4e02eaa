#include "intro/music.h"

#include "intro/recording.h"

namespace vesk {

TChannelRef StartIntroMusic(const TSoundRef& music) {
    if constexpr (recordFrames) return nullptr;
    return StartSound(music, nullptr);
}

TStreamStatus IntroMusicStatus(const TSoundRef& music) {
    return StreamSoundStatus(std::dynamic_pointer_cast<TStreamSound>(music));
}

}  // namespace vesk
