// The console's "Press Enter" wait, used where the program stops to let a message be read: after
// a failed model import and before a fatal exit.
#pragma once

// With a terminal on standard input: prints "Press Enter to continue . . ." on standard output
// and reads up to the end of the line. Without one (scripts, tests, CI) nobody could answer, so it
// neither prints nor waits.
void waitForEnterOnTerminal();
