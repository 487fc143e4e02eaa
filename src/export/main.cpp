// intro-export: the intro as an MP4 video with its music. See --help.
#include "export/export_options.h"
#include "export/video_export.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const vesk::TParsedOptions parsed = vesk::ParseExportOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.options.help) {
        std::fputs(vesk::ExportUsage().c_str(), stdout);
        return 0;
    }
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "intro-export: %s\nTry 'intro-export --help'.\n", parsed.error.c_str());
        return 2;
    }
    return vesk::RunVideoExport(parsed.options);
}
