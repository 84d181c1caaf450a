// The program's command line: what it asks for before any window opens. With no arguments the
// program runs as it always has.
#pragma once

#include <string>

struct CommandLine {
    enum class Action { run, showHelp, showVersion, refuse };
    Action action = Action::run;
    // --fullscreen: the window goes to full screen before the first frame.
    bool fullScreen = false;
    // The first argument the program does not take (for Action::refuse).
    std::string refused;
};

CommandLine readCommandLine(int argc, const char* const* argv);

// The text of --help: how to start the program, its keys, where it reads its data, its options.
extern const char* const programHelp;
// The line of --version.
extern const char* const programVersion;
