// The synthesiser's own arithmetic and the score's layout in time: the
// polynomial sine and exponential stand in for the library's, notes and
// chords are read as a musician writes them, and the sections land on the
// show's seconds.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <stdexcept>

#include "music/chords.h"
#include "music/dsp.h"
#include "music/score.h"
#include "music/timeline.h"

namespace vesk::assetgen {
namespace {

TEST(Synth, SineAndExponentialFollowTheLibrary) {
    for (int i = -1000; i <= 3000; ++i) {
        double phase = i / 1000.0;
        EXPECT_NEAR(SineTurns(phase), std::sin(2 * kPi * phase), 1e-5) << phase;
    }
    for (int i = 0; i <= 400; ++i) {
        double x = -i / 20.0;
        EXPECT_NEAR(ExpNegative(x) / std::exp(x), 1.0, 1e-6) << x;
    }
    EXPECT_NEAR(DecayPerSample(1.0), std::exp(-1.0 / kRate), 1e-7);
}

TEST(Synth, NotesAndChordsReadAsWritten) {
    EXPECT_EQ(NoteFrequency(69), 440.0);
    EXPECT_EQ(NoteFrequency(57), 220.0);
    EXPECT_NEAR(NoteFrequency(60), 261.6256, 1e-4);
    EXPECT_NEAR(NoteFrequency(28), 41.2034, 1e-4);
    EXPECT_EQ(ParseNote("A4"), 69);
    EXPECT_EQ(ParseNote("C#5"), 73);
    EXPECT_EQ(ParseNote("Bb3"), 58);
    EXPECT_EQ(ParseNote("G#5"), 80);

    Chord am = ParseChord("Am");
    EXPECT_EQ(am.root, 9);
    EXPECT_EQ(am.bass, 9);
    EXPECT_EQ(am.intervals, (std::vector<int>{0, 3, 7}));
    EXPECT_EQ(ParseChord("Esus4").intervals, (std::vector<int>{0, 5, 7}));
    EXPECT_EQ(ParseChord("C/E").bass, 4);
    EXPECT_EQ(ParseChord("Bbmaj7").root, 10);
    EXPECT_THROW(ParseChord("Hm"), std::runtime_error);
    EXPECT_THROW(ParseChord("Cdim9"), std::runtime_error);
    EXPECT_THROW(ParseNote("C"), std::runtime_error);
}

long FrameOf(double seconds) { return long(seconds * kRate + 0.5); }

TEST(Timeline, SectionsWithATimeStartOnThatFrame) {
    Score score = ReadScore(VESK_ASSET_SOURCES "/music/score.txt");
    Timeline timeline = BuildTimeline(score);
    ASSERT_EQ(timeline.frames, 11506008);
    ASSERT_EQ(timeline.gain.size(), score.sections.size() * 2);
    for (std::size_t i = 0; i < score.sections.size(); ++i) {
        if (!score.sections[i].at) continue;
        EXPECT_EQ(timeline.gain[2 * i].frame, FrameOf(*score.sections[i].at))
            << score.sections[i].name;
    }
    EXPECT_EQ(timeline.gain.front().gain, 0.0f);  // out of silence
    EXPECT_EQ(timeline.gain.back().frame, timeline.frames);
    EXPECT_EQ(timeline.gain.back().gain, 0.0f);  // into silence

    bool boomAtZero = false;
    for (const NoteEvent& note : timeline.notes) {
        EXPECT_GE(note.start, 0);
        EXPECT_LT(note.start, timeline.frames);
        boomAtZero |= note.voice == Voice::kBoom && note.start == FrameOf(132.0);
    }
    EXPECT_TRUE(boomAtZero);
}

TEST(Timeline, SectionsWithoutATimeShareTheSpanByBeats) {
    const std::string path = ::testing::TempDir() + "vesk_timeline_score.txt";
    std::ofstream(path) << "frames 352800\n"
                           "rhythm four r---r---r---r---\n"
                           "section a at 0 beats 2\n  chords C\n  bass four\n"
                           "section b beats 6\n  chords G\n  bass four\n"
                           "section c at 4.0 beats 4\n  chords Am\n  bass four\n";
    Timeline timeline = BuildTimeline(ReadScore(path));
    std::vector<long> starts;
    for (const NoteEvent& note : timeline.notes) starts.push_back(note.start);
    ASSERT_EQ(starts.size(), 2u + 6u + 4u);
    // a and b share four seconds over eight beats; c has four beats in four.
    EXPECT_EQ(starts[1], FrameOf(0.5));
    EXPECT_EQ(starts[2], FrameOf(1.0));  // b's first beat
    EXPECT_EQ(starts[8], FrameOf(4.0));  // c's first beat
    EXPECT_EQ(starts[9], FrameOf(5.0));
    EXPECT_EQ(timeline.notes[2].pitch, 31);  // G1: bass roots sit from E1 up
    EXPECT_EQ(timeline.notes[8].pitch, 33);  // A1
    EXPECT_EQ(timeline.notes[0].length, FrameOf(0.5));
}

}  // namespace
}  // namespace vesk::assetgen
