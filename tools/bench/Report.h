// What quiverfall-bench prints: tables for a person, then one BENCH line of JSON for scripts.
#pragma once

#include <map>
#include <optional>
#include <string>

struct BenchOptions;
class PassTimer;

struct RunFacts {
    std::string renderer;
    double peakResidentMb = 0.0;
    int glErrors = 0;
};

// The figures of an earlier run's --json file, read before the run so that a file that cannot be
// compared with stops the bench at once; nothing (after saying why) when it is not such a file.
std::optional<std::map<std::string, double>> readEarlierRun(const std::string& path);

// Whether the --json file can be written, tried before the run for the same reason; a file that
// was not there before is not left behind.
bool canWriteReport(const std::string& path);

// Prints the report, beside `earlier` when given, and writes the --json file; false (after saying
// so) when that file could not be written.
bool printReport(const PassTimer& timer, const BenchOptions& options, const RunFacts& facts,
                 const std::map<std::string, double>* earlier);
