// The music made as it plays, from the score embedded in the program, by
// the renderer that makes the track at build time: block for block the
// same samples as the delivered track.
#include "intro/music.h"

#include <vesk/stream/opening.h>

#include "music/render.h"
#include "music/score.h"

#include <atomic>
#include <chrono>
#include <stdexcept>

namespace vesk {
namespace {

constexpr int32_t kMusicHertz = 44100;

// Written by whichever thread feeds the music, read by the page's status.
std::atomic<double> renderSeconds{0};

assetgen::Score ReadIntroScore() {
    const std::vector<uint8_t> bytes = LoadBytes(kScoreUrl);
    if (bytes.empty()) throw std::runtime_error("the intro's score is missing");
    return assetgen::ParseScore(std::string(bytes.begin(), bytes.end()));
}

// Makes the next frames, timing the work; a play that starts over (frame
// 0 again) gets a fresh renderer.
class TIntroGenerator {
public:
    explicit TIntroGenerator(std::shared_ptr<const assetgen::Score> score)
        : score_(std::move(score)), renderer_(std::make_shared<assetgen::MusicRenderer>(*score_)) {}

    long Frames() const { return renderer_->Frames(); }

    int32_t operator()(int16_t* frames, int32_t count, int64_t first) {
        const auto start = std::chrono::steady_clock::now();
        if (first == 0 && renderer_->Position() != 0) renderer_ = std::make_shared<assetgen::MusicRenderer>(*score_);
        const auto made = static_cast<int32_t>(renderer_->Render(frames, count));
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        renderSeconds.store(renderSeconds.load(std::memory_order_relaxed) + spent.count(), std::memory_order_relaxed);
        return made;
    }

private:
    std::shared_ptr<const assetgen::Score> score_;
    std::shared_ptr<assetgen::MusicRenderer> renderer_;
};

}  // namespace

TSoundRef MakeIntroMusic() {
    TIntroGenerator generator(std::make_shared<const assetgen::Score>(ReadIntroScore()));
    const long frames = generator.Frames();
    return GenerateSound(kMusicHertz, frames, std::move(generator), 0);
}

std::shared_ptr<TPcmSample> IntroMusicSample() {
    assetgen::MusicRenderer renderer(ReadIntroScore());
    auto sample = TPcmSample::Create(static_cast<int32_t>(renderer.Frames()), kMusicHertz, SampleStereo16LE);
    renderer.Render(reinterpret_cast<int16_t*>(sample->samples), renderer.Frames());
    return sample;
}

double IntroMusicRenderSeconds() { return renderSeconds.load(std::memory_order_relaxed); }

}  // namespace vesk
