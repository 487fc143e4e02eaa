#include "export_runs.h"

#include "export/export_platform.h"
#include "export/video_export.h"
#include <vesk/graphics/draw_primitives.h>
#include "intro/intro.h"
#include "intro/recording.h"
#include <vesk/system/platform.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace vesk::test {
namespace {

namespace fs = std::filesystem;

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ReadWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TCommandResult RunCommand(const std::string& commandLine, const fs::path& folder) {
    const fs::path errors = folder / ".." / (folder.filename().string() + "-stderr.txt");
    const std::string line = "cd " + Quote(folder.string()) + " && " + commandLine + " 2> " + Quote(errors.string());
    const int raw = std::system(line.c_str());
    TCommandResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.errors = ReadWhole(errors);
    fs::remove(errors);
    return result;
}

std::string ExportCommand(const std::string& arguments, const std::string& path) {
    std::string line = path.empty() ? "" : "PATH=" + Quote(path) + " ";
    return line + Quote(VESK_INTRO_EXPORT) + " " + arguments;
}

std::set<std::string> FolderContents(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

std::vector<std::map<std::string, std::string>> ProbeVideo(const fs::path& file) {
    const fs::path report = file.string() + ".probe";
    const std::string line = "ffprobe -v error -show_format -show_streams -of flat=s=_ " + Quote(file.string()) +
                             " > " + Quote(report.string());
    std::vector<std::map<std::string, std::string>> sections(1);
    if (std::system(line.c_str()) != 0) return {};
    std::istringstream lines(ReadWhole(report));
    fs::remove(report);
    for (std::string entry; std::getline(lines, entry);) {
        // format_duration="3.000000", streams_stream_1_codec_name="aac"
        const size_t equals = entry.find('=');
        if (equals == std::string::npos) continue;
        std::string key = entry.substr(0, equals);
        std::string value = entry.substr(equals + 1);
        if (value.size() >= 2 && value.front() == '"') value = value.substr(1, value.size() - 2);
        size_t section = 0;
        if (key.rfind("format_", 0) == 0) {
            key = key.substr(7);
        } else if (key.rfind("streams_stream_", 0) == 0) {
            key = key.substr(15);
            const size_t underscore = key.find('_');
            section = 1 + std::stoul(key.substr(0, underscore));
            key = key.substr(underscore + 1);
        } else {
            continue;
        }
        if (sections.size() <= section) sections.resize(section + 1);
        sections[section][key] = value;
    }
    return sections;
}

TPixmapRef DecodeFrameAt(const fs::path& file, double seconds) {
    const fs::path raw = file.string() + ".rgba";
    const std::string line = "ffmpeg -v error -y -ss " + std::to_string(seconds) + " -i " + Quote(file.string()) +
                             " -frames:v 1 -f rawvideo -pix_fmt rgba " + Quote(raw.string());
    if (std::system(line.c_str()) != 0) return nullptr;
    const std::string bytes = ReadWhole(raw);
    fs::remove(raw);
    if (bytes.size() != static_cast<size_t>(kExportWidth) * kExportHeight * 4) return nullptr;
    TPixmapRef frame = CreatePixmap(kExportWidth, kExportHeight, FormatRGBA8888);
    for (int y = 0; y < kExportHeight; ++y)
        std::copy_n(bytes.data() + static_cast<size_t>(y) * kExportWidth * 4, kExportWidth * 4,
                    frame->PixelAddress(0, y));
    return frame;
}

std::vector<int16_t> DecodeSound(const fs::path& file) {
    const fs::path raw = file.string() + ".pcm";
    const std::string line = "ffmpeg -v error -y -i " + Quote(file.string()) +
                             " -map 0:a:0 -f s16le -ac 2 -ar 44100 " + Quote(raw.string());
    if (std::system(line.c_str()) != 0) return {};
    const std::string bytes = ReadWhole(raw);
    fs::remove(raw);
    std::vector<int16_t> samples(bytes.size() / 2);
    std::copy_n(bytes.data(), samples.size() * 2, reinterpret_cast<char*>(samples.data()));
    return samples;
}

std::map<int, TPixmapRef> RenderRecordedFrames(const std::set<int>& wanted, int end) {
    SetPlatformDriver(std::make_shared<TExportPlatformDriver>());
    std::map<int, TPixmapRef> frames;
    const TRecordedFrameSink sink = [&](int32_t frame) {
        if (wanted.count(frame)) frames[frame] = GrabScreenPixmap(0, 0, kExportWidth, kExportHeight);
    };
    if (!StartIntro()) return frames;
    for (int frame = 0; frame < end; ++frame) RunIntroFrame(sink);
    EndIntro();
    return frames;
}

double PictureSimilarity(const TPixmap& a, const TPixmap& b) {
    double squares = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const uint8_t* pa = a.PixelAddress(x, y);
            const uint8_t* pb = b.PixelAddress(x, y);
            for (int c = 0; c < 3; ++c) squares += (pa[c] - pb[c]) * (pa[c] - pb[c]);
        }
    }
    const double mean = squares / (3.0 * a.width * a.height);
    return mean == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mean);
}

}  // namespace vesk::test
