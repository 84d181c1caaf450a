// Running the real program as a user would: its own working directory, no terminal on standard
// input, standard output and error captured.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// A fresh directory under the system's temporary directory, removed with the object.
class TempDirectory {
  public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Copies a directory of the repository (for example "Shader") into this one.
    void copyFromSource(const std::string& relativePath) const;
    void writeFile(const std::string& relativePath, const std::string& contents) const;

  private:
    std::filesystem::path path_;
};

// How a process is started beyond its arguments.
struct ProcessOptions {
    // NAME=VALUE settings added to the environment the process inherits.
    std::vector<std::string> environment;
    // Standard input from a pseudo-terminal the test writes to (see typeOnTerminal), as when a
    // user starts the program from a console; otherwise from /dev/null.
    bool terminalInput = false;
};

class Process {
  public:
    // Starts `executable` with `arguments` in `workingDirectory`.
    Process(const std::string& executable, const std::vector<std::string>& arguments,
            const std::filesystem::path& workingDirectory, const ProcessOptions& options = {});
    ~Process(); // Kills the process if it is still running.
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // The exit status once the process ended within `timeoutSeconds`; -1 if a signal ended it.
    std::optional<int> waitForExit(double timeoutSeconds);
    bool running();
    void kill();
    std::string standardOutput() const;
    std::string standardError() const;
    pid_t pid() const { return pid_; }
    // Types `text` on the terminal of a process started with terminalInput.
    bool typeOnTerminal(const std::string& text) const;

  private:
    pid_t pid_ = -1;
    int terminal_ = -1; // the test's end of the pseudo-terminal, or -1
    std::optional<int> exitStatus_;
    std::filesystem::path stdoutPath_;
    std::filesystem::path stderrPath_;
};

// True while the process's main thread is blocked reading its standard input (Linux's /proc): it
// waits for a line, and nothing else it was asked to do can happen before one comes.
bool blockedReadingStandardInput(pid_t pid);

// Runs the quiverfall program in `workingDirectory` and waits for it to end.
struct ProgramRun {
    std::optional<int> exitStatus;
    std::string standardOutput;
    std::string standardError;
};
ProgramRun runProgram(const std::filesystem::path& workingDirectory, double timeoutSeconds);

// The last line of a program's output, without its newline.
std::string lastLine(const std::string& text);

// Runs a shell command, returns its standard output (trailing newline removed).
std::string commandOutput(const std::string& command);

// A command line that must fail: its arguments, its exit status and its last line on standard
// error, the one that says what failed.
struct ExpectedFailure {
    std::vector<std::string> arguments;
    int status;
    std::string line;
};
// Runs `executable` in `workingDirectory` once for each failure and checks both.
void expectFailures(const std::string& executable, const std::vector<ExpectedFailure>& failures,
                    const std::filesystem::path& workingDirectory);
