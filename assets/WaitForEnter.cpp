#include "assets/WaitForEnter.h"

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#elif !defined(__EMSCRIPTEN__)
#include <unistd.h>
#endif

bool standardInputIsTerminal() {
#ifdef __EMSCRIPTEN__
    return false;
#elif defined(_WIN32)
    return _isatty(_fileno(stdin)) != 0;
#else
    return isatty(STDIN_FILENO) != 0;
#endif
}

void waitForEnterOnTerminal(PromptAfter after) {
    if (!standardInputIsTerminal()) {
        return;
    }
    if (after == PromptAfter::unfinishedLine) {
        std::cout << '\n';
    }
    std::cout << "Press Enter to continue . . ." << std::flush;
    int c;
    do {
        c = std::getchar();
    } while (c != '\n' && c != EOF);
}
