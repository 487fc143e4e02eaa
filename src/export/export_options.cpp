#include "export/export_options.h"

#include "export/export_usage.h"

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

std::string ExportUsage() { return kExportUsage; }

}  // namespace vesk
