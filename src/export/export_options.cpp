#include "export/export_options.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace vesk {
namespace {

constexpr std::array<const char*, 10> kPresets = {"ultrafast", "superfast", "veryfast", "faster", "fast",
                                                  "medium",    "slow",      "slower",   "veryslow", "placebo"};

std::optional<int32_t> ParseInteger(const std::string& text) {
    int32_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

bool KnownPreset(const std::string& name) {
    return std::any_of(kPresets.begin(), kPresets.end(), [&](const char* preset) { return name == preset; });
}

// Applies one option with its value; returns the complaint, or empty text.
std::string ApplyOption(TExportOptions& options, const std::string& name, const std::string& value) {
    if (name == "--preset") {
        if (!KnownPreset(value)) return "unknown preset '" + value + "' (ultrafast ... veryslow)";
        options.preset = value;
        return {};
    }
    const std::optional<int32_t> number = ParseInteger(value);
    if (!number) return name + " needs a whole number, not '" + value + "'";
    if (name == "--from") {
        if (*number < 0) return "--from cannot be negative";
        options.firstFrame = *number;
    } else if (name == "--to") {
        options.endFrame = *number;
    } else {  // --crf
        if (*number < 0 || *number > 51) return "--crf must be between 0 and 51";
        options.crf = *number;
    }
    return {};
}

bool TakesValue(const std::string& name) {
    return name == "--from" || name == "--to" || name == "--crf" || name == "--preset";
}

// A name of the output file: every word after "--", a lone "-", and every
// word that does not start with "-".
bool IsOperand(const std::string& argument, bool optionsEnded) {
    return optionsEnded || argument == "-" || argument.empty() || argument[0] != '-';
}

}  // namespace

TParsedOptions ParseExportOptions(const std::vector<std::string>& arguments) {
    TParsedOptions parsed;
    TExportOptions& options = parsed.options;
    bool optionsEnded = false;
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (!optionsEnded && (argument == "-h" || argument == "--help")) {
            options.help = true;
            return parsed;
        }
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (IsOperand(argument, optionsEnded)) {
            if (!options.output.empty()) {
                parsed.error = "more than one output file given";
                return parsed;
            }
            options.output = argument;
            continue;
        }
        std::string name = argument;
        std::string value;
        const size_t equals = argument.find('=');
        if (equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        if (!TakesValue(name)) {
            parsed.error = "unknown option " + name;
            return parsed;
        }
        if (equals == std::string::npos) {
            if (index + 1 >= arguments.size()) {
                parsed.error = name + " needs a value";
                return parsed;
            }
            value = arguments[++index];
        }
        parsed.error = ApplyOption(options, name, value);
        if (!parsed.error.empty()) return parsed;
    }
    if (options.output.empty()) parsed.error = "no output file given";
    else if (options.endFrame && *options.endFrame <= options.firstFrame) parsed.error = "--to must be after --from";
    return parsed;
}

std::string ExportUsage() {
    return "Usage: intro-export [options] [--] OUTPUT.mp4\n"
           "\n"
           "Renders the intro headless, frame by frame at 50 frames per second of show\n"
           "time exactly as the recording build does, and encodes it with its music\n"
           "through ffmpeg into an MP4: H.264 video (768x576, yuv420p, 50 fps) and AAC\n"
           "audio. Nothing is written under OUTPUT until the video is complete.\n"
           "\n"
           "Options:\n"
           "  --from N       first frame to encode (default 0); frame N shows the show\n"
           "                 at (N+1)/50 s, since the clock moves on before each frame\n"
           "                 is drawn, and the sound starts with that frame\n"
           "  --to N         the frame to stop before (default: the end of the music,\n"
           "                 13046 frames, 4:20.92)\n"
           "  --crf N        x264 quality, 0 (lossless) to 51 (worst); default 18\n"
           "  --preset NAME  x264 speed preset, ultrafast ... veryslow; default faster\n"
           "  -h, --help     show this text\n"
           "  --             ends the options: a name after it may start with '-'\n"
           "\n"
           "ffmpeg is looked up in PATH.\n";
}

}  // namespace vesk
