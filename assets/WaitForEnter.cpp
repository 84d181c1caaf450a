#include "assets/WaitForEnter.h"

#include <cstdio>
#include <iostream>
#include <unistd.h>

void waitForEnterOnTerminal(PromptAfter after) {
    if (!isatty(STDIN_FILENO)) {
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
