// Command line of quiverfall-bench.
#pragma once

#include <string>

struct BenchOptions {
    int redrawFrames = 20;
    int idleFrames = 200;
    // Discarded rounds before measuring: llvmpipe compiles each shader variant at its first draw.
    int warmupFrames = 2;
    // Where to write the figures as JSON, and another run's such file to compare with; empty
    // for none.
    std::string jsonPath;
    std::string comparePath;
};

// Fills `options` from the arguments; false (after printing why) when they are not usable.
// Sets `helpShown` when --help was asked for.
bool parseBenchOptions(int argc, char** argv, BenchOptions& options, bool& helpShown);
