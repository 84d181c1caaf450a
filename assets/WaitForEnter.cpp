#include "assets/WaitForEnter.h"

#include <cstdio>
#include <iostream>
#include <unistd.h>

void waitForEnterOnTerminal() {
    if (!isatty(STDIN_FILENO)) {
        return;
    }
    std::cout << "Press Enter to continue . . ." << std::flush;
    int c;
    do {
        c = std::getchar();
    } while (c != '\n' && c != EOF);
}
