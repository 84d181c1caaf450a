// What quiverfall-bench prints: tables for a person, then one BENCH line of JSON for scripts.
#pragma once

#include <string>

struct BenchOptions;
class PassTimer;

struct RunFacts {
    std::string renderer;
    double peakResidentMb = 0.0;
    int glErrors = 0;
};

void printReport(const PassTimer& timer, const BenchOptions& options, const RunFacts& facts);
