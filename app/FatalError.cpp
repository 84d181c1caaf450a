#include "app/FatalError.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <unistd.h>

void stopAfterFatalError() {
    if (isatty(STDIN_FILENO)) {
        std::cout << "Press Enter to continue . . ." << std::flush;
        int c;
        do {
            c = std::getchar();
        } while (c != '\n' && c != EOF);
    }
    std::exit(1);
}

void fatalError(const std::string& message) {
    std::cout << message << std::endl;
    stopAfterFatalError();
}
