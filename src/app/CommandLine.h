// The game's command line: --help, --version and --window. Anything else is
// a mistake answered with the usage on stderr and exit status 2.
#pragma once

#include <cstdio>
#include <string>

struct CommandLine {
    enum class Action {
        Play,     // start the game
        Help,     // print the usage on stdout, exit 0
        Version,  // print the version on stdout, exit 0
        Mistake,  // an option the game does not know: usage on stderr, exit 2
    };
    Action action = Action::Play;
    bool windowed = false;  // --window: a resizable window instead of the whole screen
    std::string mistake;    // the argument that was not understood
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

// What a command line that does not start the game prints, and its exit
// status. Nothing here needs a display.
int AnswerCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err);

const char* VeskVersion();
