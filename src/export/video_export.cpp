#include "export/video_export.h"

#include "export/encoder_feed.h"
#include "export/export_error.h"
#include "export/export_platform.h"
#include "export/ffmpeg_process.h"
#include "export/music_pcm.h"
#include "export/partial_output.h"
#include "export/progress.h"
#include "export/signal_cleanup.h"
#include <vesk/graphics/draw_primitives.h>
#include "intro/intro.h"
#include "intro/recording.h"
#include <vesk/runtime/failure.h>
#include <vesk/runtime/startup.h>
#include <vesk/system/platform.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace vesk {
namespace {

// Headless whatever the environment says: the show draws offscreen with the
// software renderer and the (silent) recording build needs no sound card.
void ChooseHeadlessDrivers() {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

std::string Duration(double seconds) {
    char text[32];
    const int whole = static_cast<int>(seconds);
    std::snprintf(text, sizeof text, "%d:%05.2f", whole / 60, seconds - whole / 60 * 60);
    return text;
}

void ReportDone(const TPartialOutput& output, int32_t frames, double seconds) {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(output.FinalPath(), error);
    std::fprintf(stderr, "Wrote %s: %d frames (%s) in %s, %.1f MB\n", output.FinalPath().c_str(), frames,
                 Duration(frames / static_cast<double>(kExportFramesPerSecond)).c_str(), Duration(seconds).c_str(),
                 error ? 0.0 : bytes / 1e6);
}

// Runs the show until frame `end - 1` has been handed to the feed (or the
// feed has failed), queueing the frames from `first` on.
void RenderShow(int32_t first, int32_t end, TEncoderFeed& feed) {
    SetPlatformDriver(std::make_shared<TExportPlatformDriver>());
    TProgressBar progress(end, stderr);
    int32_t done = 0;
    const TRecordedFrameSink sink = [&](int32_t frame) {
        if (frame >= first) feed.PushFrame(GrabScreenPixmap(0, 0, kExportWidth, kExportHeight));
        done = frame + 1;
        progress.Update(done);
    };
    // The show runs once per process; a second export has no frames to give.
    if (StartIntro()) {
        while (done < end && !feed.Failed()) {
            PollEvents();  // the window's messages, as the show's own loop pumps them
            RunIntroFrame(sink);
        }
        EndIntro();
    }
    progress.Finish(done);
}

std::string FfmpegFailure(const std::string& what, const TFfmpegProcess& ffmpeg) {
    std::string message = "ffmpeg " + what;
    const std::string said = ffmpeg.ErrorOutput();
    if (!said.empty()) message += "; it said:\n" + said;
    while (!message.empty() && message.back() == '\n') message.pop_back();
    return message;
}

int Export(const TExportOptions& options) {
    const auto started = std::chrono::steady_clock::now();
    InitRuntimeModule();
    InstallSignalCleanup();
    std::signal(SIGPIPE, SIG_IGN);
    ChooseHeadlessDrivers();

    const TMusicPcm music = ReadIntroMusic();
    const int32_t end = options.endFrame.value_or(music.ShowFrames());
    if (end <= options.firstFrame)
        throw TExportError("--from is past the end of the music (" + std::to_string(end) + " frames); give --to too");
    const TByteSpan sound = MusicBytesForFrames(music, options.firstFrame, end);
    TPartialOutput output(options.output);
    TFfmpegProcess ffmpeg("ffmpeg", FfmpegArguments(options, output.Path(), music.Hertz(), sound.size > 0));
    bool everythingWritten = false;
    {
        TEncoderFeed feed(ffmpeg.TakeVideoPipe(), ffmpeg.TakeAudioPipe(), sound);
        try {
            RenderShow(options.firstFrame, end, feed);
        } catch (...) {
            // Stopped first, so that it does not finish a file of what it has.
            ffmpeg.Kill();
            throw;
        }
        feed.Finish();
        everythingWritten = !feed.Failed();
    }
    const std::string status = ffmpeg.Wait();
    if (!status.empty()) throw TExportError(FfmpegFailure(status, ffmpeg));
    // A clean exit after refusing input would leave a video cut short.
    if (!everythingWritten) throw TExportError(FfmpegFailure("stopped reading before the end", ffmpeg));
    output.Commit();
    ReportDone(output, end - options.firstFrame,
               std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    return 0;
}

int ReportFailure(const std::string& message) {
    std::fprintf(stderr, "intro-export: %s\n", message.c_str());
    return 1;
}

}  // namespace

std::vector<std::string> FfmpegArguments(const TExportOptions& options, const std::string& outputPath,
                                         int soundHertz, bool withSound) {
    const std::string size = std::to_string(kExportWidth) + "x" + std::to_string(kExportHeight);
    std::vector<std::string> arguments = {
        "-hide_banner", "-nostdin", "-loglevel", "error", "-y",
        "-f", "rawvideo", "-pixel_format", "rgba", "-video_size", size,
        "-framerate", std::to_string(kExportFramesPerSecond), "-i", "pipe:0"};
    if (withSound) {
        arguments.insert(arguments.end(), {"-f", "s16le", "-ar", std::to_string(soundHertz), "-ac", "2",
                                           "-i", "pipe:3", "-map", "0:v:0", "-map", "1:a:0"});
    }
    // The renderer's RGB goes to limited-range BT.601, tagged as such, which
    // is what players assume for a picture of this size.
    arguments.insert(arguments.end(),
                     {"-c:v", "libx264", "-preset", options.preset, "-crf", std::to_string(options.crf),
                      "-pix_fmt", "yuv420p", "-colorspace", "bt470bg", "-color_primaries", "bt470bg",
                      "-color_trc", "smpte170m", "-color_range", "tv"});
    if (withSound) arguments.insert(arguments.end(), {"-c:a", "aac", "-b:a", "192k"});
    // "file:" keeps a name with a colon in it from being taken for a protocol.
    arguments.insert(arguments.end(), {"-movflags", "+faststart", "-f", "mp4", "file:" + outputPath});
    return arguments;
}

int RunVideoExport(const TExportOptions& options) {
    try {
        return Export(options);
    } catch (const TExportError& error) {
        return ReportFailure(error.what());
    } catch (const TFailure& failure) {
        if (!failure.Reason().empty()) return ReportFailure(failure.Message() + "\n" + failure.Reason());
        return ReportFailure(failure.Message());
    } catch (const std::exception& failure) {
        return ReportFailure(failure.what());
    }
}

}  // namespace vesk
