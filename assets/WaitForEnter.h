// The console's "Press Enter" wait, used where the program stops to let a message be read: after
// a failed model import and before a fatal exit.
#pragma once

// Where the console's cursor stands when the prompt comes: at the start of a line, or after a
// message that did not end its line (the import library's error text has no line end).
enum class PromptAfter { completeLine, unfinishedLine };

// Whether standard input is a console someone can type into (POSIX's isatty, Windows' _isatty);
// never in a browser.
bool standardInputIsTerminal();

// With a terminal on standard input: prints "Press Enter to continue . . ." on standard output,
// on a line of its own, and reads up to the end of the line. Without one (scripts, tests, CI)
// nobody could answer, so it neither prints nor waits.
void waitForEnterOnTerminal(PromptAfter after = PromptAfter::completeLine);
