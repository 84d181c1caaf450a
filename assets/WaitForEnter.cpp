#include "assets/WaitForEnter.h"

#include "app/Platform.h"

#include <cstdio>
#include <iostream>

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
