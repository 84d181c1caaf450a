// The start every tool shares: its options read (exit status 2 when they are not usable, 0 once
// --help has been shown), the paths among them made absolute, since they are named from where the
// tool was started, and the tool run in the demo's data folder, where it finds ./Shader and
// ./Models.
#pragma once

#include "app/DataFolder.h"

#include <filesystem>
#include <initializer_list>
#include <string>

// `readOptions` is the tool's option reading (OptionReader.h); an empty path stays empty, for
// none given; `run` returns the exit status.
template <typename Options>
int runTool(int argc, char** argv, bool (*readOptions)(int, char**, Options&, bool&),
            std::initializer_list<std::string Options::*> paths, int (*run)(const Options&)) {
    Options options;
    bool helpShown = false;
    if (!readOptions(argc, argv, options, helpShown)) {
        return 2;
    }
    if (helpShown) {
        return 0;
    }
    for (std::string Options::*member : paths) {
        std::string& path = options.*member;
        if (!path.empty()) {
            path = std::filesystem::absolute(path).string();
        }
    }
    enterDataFolder();
    return run(options);
}
