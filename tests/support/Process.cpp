#include "support/Process.h"
#include "support/Eventually.h"
#include "support/ReadFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

TempDirectory::TempDirectory() {
    std::string pattern = (fs::temp_directory_path() / "quiverfall-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void TempDirectory::copyFromSource(const std::string& relativePath) const {
    fs::copy(fs::path(QUIVERFALL_SOURCE_DIR) / relativePath, path_ / relativePath,
             fs::copy_options::recursive);
}

void TempDirectory::writeFile(const std::string& relativePath, const std::string& contents) const {
    fs::create_directories((path_ / relativePath).parent_path());
    std::ofstream file(path_ / relativePath, std::ios::binary | std::ios::trunc);
    file << contents;
}

Process::Process(const std::string& executable, const std::vector<std::string>& arguments,
                 const fs::path& workingDirectory, const ProcessOptions& options) {
    static int counter = 0;
    const std::string stem =
        "quiverfall-proc-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    stdoutPath_ = fs::temp_directory_path() / (stem + ".out");
    stderrPath_ = fs::temp_directory_path() / (stem + ".err");

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(executable.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    std::string terminalName = "/dev/null";
    if (options.terminalInput) {
        terminal_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (terminal_ < 0 || grantpt(terminal_) != 0 || unlockpt(terminal_) != 0) {
            throw std::runtime_error("no pseudo-terminal");
        }
        terminalName = ptsname(terminal_);
    }

    pid_ = fork();
    if (pid_ == 0) {
        for (const std::string& setting : options.environment) {
            putenv(const_cast<char*>(setting.c_str()));
        }
        const int input = open(terminalName.c_str(), O_RDONLY | O_NOCTTY);
        const int output = open(stdoutPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int error = open(stderrPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (input < 0 || output < 0 || error < 0 || chdir(workingDirectory.c_str()) != 0) {
            _exit(127);
        }
        dup2(input, STDIN_FILENO);
        dup2(output, STDOUT_FILENO);
        dup2(error, STDERR_FILENO);
        execv(executable.c_str(), argv.data());
        _exit(127);
    }
}

Process::~Process() {
    kill();
    if (terminal_ >= 0) {
        close(terminal_);
    }
    std::error_code ignored;
    fs::remove(stdoutPath_, ignored);
    fs::remove(stderrPath_, ignored);
}

std::optional<int> Process::waitForExit(double timeoutSeconds) {
    eventually(
        timeoutSeconds,
        [this] {
            int status = 0;
            if (!exitStatus_ && waitpid(pid_, &status, WNOHANG) == pid_) {
                exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            return exitStatus_.has_value();
        },
        std::chrono::milliseconds(20));
    return exitStatus_;
}

bool Process::typeOnTerminal(const std::string& text) const {
    return terminal_ >= 0 &&
           write(terminal_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

bool Process::running() {
    return !waitForExit(0.0).has_value();
}

void Process::kill() {
    if (pid_ > 0 && running()) {
        ::kill(pid_, SIGKILL);
        waitForExit(10.0);
    }
}

std::string Process::standardOutput() const {
    return readFile(stdoutPath_);
}

std::string Process::standardError() const {
    return readFile(stderrPath_);
}

bool blockedReadingStandardInput(pid_t pid) {
    // The first two fields are the system call the thread is blocked in and its first argument.
    std::istringstream call(readFile("/proc/" + std::to_string(pid) + "/syscall"));
    long number = -1;
    std::string firstArgument;
    call >> number >> firstArgument;
    return number == SYS_read && firstArgument == "0x0";
}

ProgramRun runProgram(const fs::path& workingDirectory, double timeoutSeconds) {
    Process program(QUIVERFALL_EXECUTABLE, {}, workingDirectory);
    ProgramRun run;
    run.exitStatus = program.waitForExit(timeoutSeconds);
    run.standardOutput = program.standardOutput();
    run.standardError = program.standardError();
    return run;
}

std::string lastLine(const std::string& text) {
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == '\n') {
        trimmed.pop_back();
    }
    const size_t start = trimmed.rfind('\n');
    return start == std::string::npos ? trimmed : trimmed.substr(start + 1);
}

std::string commandOutput(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[256];
    while (fgets(buffer, sizeof(buffer), pipe) != nullptr) {
        output += buffer;
    }
    pclose(pipe);
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) {
        output.pop_back();
    }
    return output;
}

void expectFailures(const std::string& executable, const std::vector<ExpectedFailure>& failures,
                    const fs::path& workingDirectory) {
    for (const ExpectedFailure& failure : failures) {
        Process run(executable, failure.arguments, workingDirectory);
        EXPECT_EQ(run.waitForExit(60.0), std::optional<int>(failure.status)) << failure.line;
        EXPECT_EQ(lastLine(run.standardError()), failure.line);
    }
}
