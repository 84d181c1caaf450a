// The one way the program stops on a start-up failure: message, pause, exit status 1.
#pragma once

#include <string>

// Prints `message` as one line on standard output, then stops the process (see
// stopAfterFatalError).
[[noreturn]] void fatalError(const std::string& message);

// The console pause followed by exit status 1, for callers that already printed their own text.
// There is no "PAUSE" command here: when standard input is a terminal we ask for Enter and wait;
// when it is not (scripts, tests, CI) nobody could answer, so we do not wait.
[[noreturn]] void stopAfterFatalError();
