// Waiting for something a running program does in its own time (a window, a line, a picture).
#pragma once

#include <chrono>
#include <thread>

// Asks `holds` every `interval` until it answers true or `timeoutSeconds` have passed; whether it
// did. It asks once more after the deadline, so a slow last wait still counts.
template <typename Condition>
bool eventually(double timeoutSeconds, Condition holds,
                std::chrono::milliseconds interval = std::chrono::milliseconds(100)) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (!holds()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(interval);
    }
    return true;
}
