#include "support/ScopedIo.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

ScopedNullInput::ScopedNullInput() : savedInput_(dup(STDIN_FILENO)) {
    const int null = open("/dev/null", O_RDONLY);
    dup2(null, STDIN_FILENO);
    close(null);
    clearerr(stdin);
}

ScopedNullInput::~ScopedNullInput() {
    dup2(savedInput_, STDIN_FILENO);
    close(savedInput_);
    clearerr(stdin);
}
