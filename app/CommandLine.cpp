#include "app/CommandLine.h"

CommandLine readCommandLine(int argc, const char* const* argv) {
    CommandLine command;
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        if (argument == "--help" || argument == "-h") {
            command.action = CommandLine::Action::showHelp;
            return command;
        }
        if (argument == "--version") {
            command.action = CommandLine::Action::showVersion;
            return command;
        }
        if (argument == "--fullscreen") {
            command.fullScreen = true;
            continue;
        }
        command.action = CommandLine::Action::refuse;
        command.refused = argument;
        return command;
    }
    return command;
}

const char* const programHelp =
    "Usage: quiverfall [--fullscreen]\n"
    "\n"
    "Quiverfall: a hall lit by a fixed light and a flickering fire, with shadows and bloom.\n"
    "C starts a 34.5 s camera flight that ends with three arrows shot down the hall.\n"
    "\n"
    "Keys:\n"
    "  Up, Down, Left, Right   move the camera\n"
    "  F, B                    move forward, back\n"
    "  R, T                    turn left, right\n"
    "  C                       start the camera flight and the arrows\n"
    "  Space                   bloom on and off\n"
    "  P                       pause the flight, the arrows and the fire; again to go on\n"
    "  F11, Alt+Enter          full screen and back\n"
    "  F12                     save the picture as quiverfall-YYYYMMDD-HHMMSS.png in the folder\n"
    "                          the program was started from\n"
    "  Escape                  quit\n"
    "\n"
    "Data: Shader/ and Models/ are read from the working directory or, when it has none, from\n"
    "the program's own folder or a folder above it.\n"
    "\n"
    "Options:\n"
    "  --fullscreen   start in full screen\n"
    "  --help, -h     show this text\n"
    "  --version      show the version\n";

const char* const programVersion = "Quiverfall " QUIVERFALL_VERSION "\n";
