// The public surface of streamed sounds, over the current driver.
#include <vesk/audio/sound_stream.h>

namespace vesk {

std::shared_ptr<TStreamSound> TSoundDriver::CreateStreamSound(std::shared_ptr<TSoundSource> source, int) {
    source->Close();
    return std::make_shared<TStreamSound>();
}

TStreamSoundRef MakeStreamSound(TSoundSourceRef source, int flags) {
    if (!source) return nullptr;
    if (source->Hertz() <= 0) {
        source->Close();
        return nullptr;
    }
    return SoundDriver().CreateStreamSound(std::move(source), flags);
}

TStreamSoundRef StreamSound(const TUrl& url, int flags) { return MakeStreamSound(OpenWavSource(url), flags); }

TStreamSoundRef GenerateSound(int32_t hertz, int64_t length, TSoundGenerator generator, int flags) {
    return MakeStreamSound(MakeGeneratorSource(hertz, length, std::move(generator)), flags);
}

TStreamStatus StreamSoundStatus(const TStreamSoundRef& sound) { return sound ? sound->Status() : TStreamStatus{}; }

void CloseStreamSound(const TStreamSoundRef& sound) {
    if (sound) sound->Close();
}

}  // namespace vesk
