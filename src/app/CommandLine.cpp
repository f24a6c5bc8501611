#include "app/CommandLine.h"

#include <string_view>

#ifndef VESK_VERSION
#define VESK_VERSION "unknown"
#endif

namespace {

const char* const kUsage =
    "Usage: vesk [--window]\n"
    "       vesk --help | --version\n"
    "\n"
    "A sliding-tile picture puzzle. Without options it takes the whole screen,\n"
    "and switching to another window ends the game.\n"
    "\n"
    "  --window   play in a resizable window; switching away goes on playing\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n";

}  // namespace

const char* VeskVersion() { return VESK_VERSION; }

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc && argv[i]; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else if (arg == "--window") {
            line.windowed = true;
        } else {
            // The first thing not understood is the one reported.
            line.action = CommandLine::Action::Mistake;
            line.mistake = arg;
            return line;
        }
    }
    if (help) {
        line.action = CommandLine::Action::Help;
    } else if (version) {
        line.action = CommandLine::Action::Version;
    }
    return line;
}

int AnswerCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err) {
    switch (line.action) {
        case CommandLine::Action::Help:
            std::fputs(kUsage, out);
            return 0;
        case CommandLine::Action::Version:
            std::fprintf(out, "vesk %s\n", VESK_VERSION);
            return 0;
        case CommandLine::Action::Mistake:
            std::fprintf(err, "vesk: unknown option '%s'\n%s", line.mistake.c_str(), kUsage);
            return 2;
        case CommandLine::Action::Play:
            break;
    }
    return 0;
}
