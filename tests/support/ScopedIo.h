// Test scaffolding for code that talks to the console or reads relative paths.
#pragma once

#include <filesystem>

// Makes `directory` the working directory until destroyed.
class ScopedWorkingDirectory {
  public:
    explicit ScopedWorkingDirectory(const std::filesystem::path& directory)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    ~ScopedWorkingDirectory() { std::filesystem::current_path(previous_); }
    ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
    ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

  private:
    std::filesystem::path previous_;
};

// Reads standard input from /dev/null until destroyed, so a prompt never waits on a terminal.
class ScopedNullInput {
  public:
    ScopedNullInput();
    ~ScopedNullInput();
    ScopedNullInput(const ScopedNullInput&) = delete;
    ScopedNullInput& operator=(const ScopedNullInput&) = delete;

  private:
    int savedInput_;
};
