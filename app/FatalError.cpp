#include "app/FatalError.h"

#include "assets/WaitForEnter.h"

#include <cstdlib>
#include <iostream>

void stopAfterFatalError() {
    waitForEnterOnTerminal();
    std::exit(1);
}

void fatalError(const std::string& message) {
    std::cout << message << std::endl;
    stopAfterFatalError();
}
