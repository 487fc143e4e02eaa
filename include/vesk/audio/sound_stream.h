// Streamed sounds: sounds that play from a source handing over frames as
// they are needed, instead of from a whole sample in memory. A WAV file or
// embedded resource is read in blocks; a generator callback makes the frames
// as the sound plays. They take the channel controls of every sound
// (volume, pan, depth, rate, pause, stop) and loop when made with non-zero
// flags.
//
// Each play reads its source ahead of the playhead into a ring of about
// three seconds (2^17 frames). The engine fills the rings itself: on a
// thread of its own on the desktop, from a timer in a browser. The mixing
// thread only copies out of a ring and never waits for it: frames that are
// not there in time play as silence, are counted, and are skipped if they
// arrive later, so the sound keeps its time and the other voices never
// notice.
#pragma once

#include <vesk/audio/sound_driver.h>
#include <vesk/stream/url.h>

#include <cstdint>
#include <functional>
#include <memory>

namespace vesk {

// Where a streamed sound's frames come from. The engine calls it from one
// feeder at a time, never from the mixing thread, and never after Close. It
// is called with the engine's feeding lock held, so it must not call the
// functions of this header itself.
class TSoundSource {
public:
    virtual ~TSoundSource() = default;
    // Frames per second of what Read gives.
    virtual int32_t Hertz() = 0;
    // Frames from the first to the end, or -1 for a source without an end.
    virtual int64_t Length() = 0;
    // The next count frames, 16-bit stereo with the left sample first, into
    // frames; returns how many it gave. A source gives every frame asked for
    // up to its length: fewer, or a failure thrown, is a break, and the
    // sound is silent from there on.
    virtual int32_t Read(int16_t* frames, int32_t count) = 0;
    // Back to the first frame, for a loop or a new play; false when it
    // cannot go back.
    virtual bool Rewind() = 0;
    // The sound is done with the source: it lets go of its stream.
    virtual void Close() {}
};

using TSoundSourceRef = std::shared_ptr<TSoundSource>;

// Makes the frames of a generated sound: count frames from the sound's frame
// `first` (0 again when a looping sound starts over), 16-bit stereo, left
// first. Returns how many it made; fewer than count, or a failure thrown, is
// a break as for any source. Like a source, it must not call the functions
// of this header.
using TSoundGenerator = std::function<int32_t(int16_t* frames, int32_t count, int64_t first)>;

// A WAV file or resource (a name or a stream), read in blocks and converted
// to 16-bit stereo on the way; 8- and 16-bit, mono and stereo PCM. Null when
// it does not open or is no WAV of those kinds. The length is the data that
// the header promises and the file holds when it opens; a file cut or
// changed later breaks the sound where its frames stop coming. It rewinds
// only when its stream can seek.
TSoundSourceRef OpenWavSource(const TUrl& url);
// A generated source of `length` frames (-1: endless) at the given rate.
TSoundSourceRef MakeGeneratorSource(int32_t hertz, int64_t length, TSoundGenerator generator);

// What a streamed sound's latest play has met so far.
struct TStreamStatus {
    uint64_t framesPlayed = 0;  // frames the playhead has passed, heard or not
    uint64_t framesMissed = 0;  // of them, those that were silent for want of frames
    uint32_t underruns = 0;     // the runs those missing frames came in
    bool broken = false;        // the source failed or gave fewer frames than its length
};

// A sound that plays from a source. One play at a time: a new play ends the
// one before it and starts the source over (null when it cannot go back).
class TStreamSound : public TSoundClip {
public:
    virtual TStreamStatus Status() { return {}; }
    // Ends the sound's play (its channel stops playing at the next pass) and
    // closes its source; later plays give null. Releasing the sound closes
    // it too.
    virtual void Close() {}
};

using TStreamSoundRef = std::shared_ptr<TStreamSound>;

// A WAV file or resource played as it is read (see OpenWavSource); null when
// it does not open as one. Non-zero flags make it loop.
TStreamSoundRef StreamSound(const TUrl& url, int flags);
// A sound that plays from a source of the program's own.
TStreamSoundRef MakeStreamSound(TSoundSourceRef source, int flags);
// A sound made by a generator as it plays.
TStreamSoundRef GenerateSound(int32_t hertz, int64_t length, TSoundGenerator generator, int flags);

// Null-safe forms of the two operations.
TStreamStatus StreamSoundStatus(const TStreamSoundRef& sound);
void CloseStreamSound(const TStreamSoundRef& sound);

// Fills every playing stream's ring as far as it goes, on the calling
// thread. The engine does this by itself unless told otherwise; a program
// may also call it, for example just before a long piece of work.
void FeedSoundStreams();
// With false, the engine stops filling the rings by itself and the program
// calls FeedSoundStreams often enough (well within the three seconds of a
// ring); with true (the default) it fills them again by itself.
void SetStreamFeeding(bool automatic);

}  // namespace vesk
