// The command line: what each argument list asks for, and what is printed
// where with which exit status.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

struct LineCase {
    std::string name;
    std::vector<const char*> args;
    CommandLine::Action action;
    bool windowed;
    std::string mistake;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class Arguments : public ::testing::TestWithParam<LineCase> {};

TEST_P(Arguments, AskForTheirAction) {
    std::vector<const char*> argv{"vesk"};
    argv.insert(argv.end(), GetParam().args.begin(), GetParam().args.end());
    const CommandLine line = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(line.action, GetParam().action);
    EXPECT_EQ(line.windowed, GetParam().windowed);
    EXPECT_EQ(line.mistake, GetParam().mistake);
}

using A = CommandLine::Action;
INSTANTIATE_TEST_SUITE_P(
    CommandLine, Arguments,
    ::testing::Values(LineCase{"None", {}, A::Play, false, ""},
                      LineCase{"Window", {"--window"}, A::Play, true, ""},
                      LineCase{"Help", {"--help"}, A::Help, false, ""},
                      LineCase{"ShortHelp", {"-h"}, A::Help, false, ""},
                      LineCase{"Version", {"--version"}, A::Version, false, ""},
                      LineCase{"HelpBeatsVersion", {"--version", "--help"}, A::Help, false, ""},
                      LineCase{"Unknown", {"--fullscreen"}, A::Mistake, false, "--fullscreen"},
                      LineCase{"UnknownAfterHelp", {"--help", "-x"}, A::Mistake, false, "-x"},
                      LineCase{"NotAnOption", {"--window", "picture.png"}, A::Mistake, true, "picture.png"},
                      LineCase{"AlmostWindow", {"--windows"}, A::Mistake, false, "--windows"}),
    [](const auto& info) { return info.param.name; });

struct Answer {
    int status;
    std::string out;
    std::string err;
};

std::string ReadBack(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char chunk[256];
    while (size_t n = std::fread(chunk, 1, sizeof chunk, file)) text.append(chunk, n);
    std::fclose(file);
    return text;
}

Answer AnswerFor(std::vector<const char*> args) {
    args.insert(args.begin(), "vesk");
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = AnswerCommandLine(ParseCommandLine(static_cast<int>(args.size()), args.data()), out, err);
    return {status, ReadBack(out), ReadBack(err)};
}

TEST(CommandLine, HelpPrintsTheUsageOnStdoutAndSucceeds) {
    const Answer a = AnswerFor({"--help"});
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.out.rfind("Usage: vesk", 0), 0u) << a.out;
    EXPECT_NE(a.out.find("--window"), std::string::npos);
    EXPECT_EQ(a.err, "");
}

TEST(CommandLine, VersionPrintsOneLine) {
    const Answer a = AnswerFor({"--version"});
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.out, std::string("vesk ") + VeskVersion() + "\n");
    EXPECT_NE(std::string(VeskVersion()), "unknown");
    EXPECT_EQ(a.err, "");
}

TEST(CommandLine, AnUnknownOptionNamesItAndTheUsageOnStderrWith2) {
    const Answer a = AnswerFor({"--bogus"});
    EXPECT_EQ(a.status, 2);
    EXPECT_EQ(a.out, "");
    EXPECT_EQ(a.err.rfind("vesk: unknown option '--bogus'\nUsage: vesk", 0), 0u) << a.err;
}

}  // namespace
