// Command line of quiverfall-bench.
#pragma once

struct BenchOptions {
    int redrawFrames = 20;
    int idleFrames = 200;
    // Discarded rounds before measuring: llvmpipe compiles each shader variant at its first draw.
    int warmupFrames = 2;
};

// Fills `options` from the arguments; false (after printing why) when they are not usable.
// Sets `helpShown` when --help was asked for.
bool parseBenchOptions(int argc, char** argv, BenchOptions& options, bool& helpShown);
