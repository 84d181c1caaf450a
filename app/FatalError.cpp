#include "app/FatalError.h"

#include "app/Platform.h"
#include "assets/WaitForEnter.h"

#include <iostream>

void stopAfterFatalError() {
    waitForEnterOnTerminal();
    exitProgram(1);
}

void fatalError(const std::string& message) {
    std::cout << message << std::endl;
    stopAfterFatalError();
}
