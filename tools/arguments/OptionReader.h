// The option loop every tool shares: --help (or -h) shows the tool's text and ends the loop, and an
// argument the tool does not take, or an option lacking its value, is refused with a pointer to
// --help. The tool says what each of its options does with its value.
#pragma once

#include <string>

class OptionReader {
  public:
    // Clears `helpShown`, which next() sets when it meets --help.
    OptionReader(int argc, char** argv, const char* helpText, bool& helpShown);

    // Steps to the next argument; false after the last, and after showing the help text.
    bool next();
    const std::string& name() const { return name_; }
    // Whether the argument is `option`; takes() also needs a value after it, which value() takes.
    bool is(const char* option) const { return name_ == option; }
    bool takes(const char* option) const { return name_ == option && index_ + 1 < argc_; }
    const char* value() { return argv_[++index_]; }
    // Says the argument is not one of the tool's options, or lacks its value; returns false.
    bool refuse() const;

  private:
    int argc_;
    char** argv_;
    const char* helpText_;
    bool& helpShown_;
    int index_ = 0;
    std::string name_;
};
