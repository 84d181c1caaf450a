#include "OptionReader.h"

#include <cstdio>

OptionReader::OptionReader(int argc, char** argv, const char* helpText, bool& helpShown)
    : argc_(argc), argv_(argv), helpText_(helpText), helpShown_(helpShown) {
    helpShown_ = false;
}

bool OptionReader::next() {
    if (++index_ >= argc_) {
        return false;
    }
    name_ = argv_[index_];
    if (name_ == "--help" || name_ == "-h") {
        std::fputs(helpText_, stdout);
        helpShown_ = true;
        return false;
    }
    return true;
}

bool OptionReader::refuse() const {
    std::fprintf(stderr, "unknown or incomplete option: %s (see --help)\n", name_.c_str());
    return false;
}
