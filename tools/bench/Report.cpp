#include "Report.h"

#include "BenchFrames.h"
#include "BenchOptions.h"
#include "FlatJson.h"
#include "Measure.h"
#include "PassTimer.h"
#include "Summary.h"

#include "render/FrameSize.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

void printTable(const char* title, const PassTimer& timer, bool glClock) {
    std::printf("\n%-34s %5s %9s %9s %9s %9s\n", title, "n", "median", "min", "max", "IQR");
    for (int index = 0; index < measureCount; ++index) {
        const MeasureInfo& info = measureInfo(static_cast<Measure>(index));
        if (glClock && !info.hasGlTime) {
            continue;
        }
        const Summary summary = summarize(glClock ? timer.glMs(index) : timer.wallMs(index));
        std::printf("%-34s %5d %9.3f %9.3f %9.3f %9.3f\n", info.label, summary.count,
                    summary.median, summary.minimum, summary.maximum, summary.interquartileRange);
    }
}

double median(const std::vector<double>& samples) {
    return summarize(samples).median;
}

// A timer query only covers what the driver accounts to it: llvmpipe, for one, reads near zero
// for the room's draw while glFinish shows it as the heaviest pass. Say so rather than let a
// reader trust the smaller figure.
void noteMissedGlTime(const PassTimer& timer) {
    // Below a millisecond the two clocks' own overheads are of the same size as the pass.
    constexpr double smallestCheckedMs = 1.0;
    std::string missed;
    for (int index = 0; index < measureCount; ++index) {
        const MeasureInfo& info = measureInfo(static_cast<Measure>(index));
        const double wall = median(timer.wallMs(index));
        if (info.hasGlTime && wall > smallestCheckedMs && median(timer.glMs(index)) < 0.5 * wall) {
            missed += missed.empty() ? info.label : std::string(", ") + info.label;
        }
    }
    if (!missed.empty()) {
        std::printf("note: GL time is under half the wall time for: %s.\n"
                    "      The timer query missed work that glFinish waited for; read the wall\n"
                    "      time for these rows.\n",
                    missed.c_str());
    }
}

double ratio(double numerator, double denominator) {
    return denominator > 0.0 ? numerator / denominator : 0.0;
}

// Each figure of this run beside the same figure of an earlier run, with the ratio this/other.
// Figures only one of the two runs has are listed as such.
void printComparison(const Figures& figures, const std::string& otherPath,
                     const std::map<std::string, double>& other) {
    std::printf("\nchange against %s\n%-34s %12s %12s %9s %9s\n", otherPath.c_str(), "figure",
                "other", "this", "ratio", "change");
    for (const auto& [name, value] : figures) {
        const auto found = other.find(name);
        if (found == other.end()) {
            std::printf("%-34s %12s %12.4g   (not in the other run)\n", name.c_str(), "-", value);
            continue;
        }
        const double before = found->second;
        if (before == 0.0) {
            std::printf("%-34s %12.4g %12.4g\n", name.c_str(), before, value);
            continue;
        }
        std::printf("%-34s %12.4g %12.4g %8.2fx %+8.1f%%\n", name.c_str(), before, value,
                    value / before, 100.0 * (value - before) / before);
    }
}

} // namespace

std::optional<std::map<std::string, double>> readEarlierRun(const std::string& path) {
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "quiverfall-bench: cannot read %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return std::nullopt;
    }
    std::stringstream text;
    text << file.rdbuf();
    std::optional<std::map<std::string, double>> figures = parseFlatJson(text.str());
    if (!figures) {
        std::fprintf(stderr,
                     "quiverfall-bench: cannot compare: %s is not a --json file of the bench\n",
                     path.c_str());
    }
    return figures;
}

bool canWriteReport(const std::string& path) {
    std::error_code error;
    const bool existed = fs::exists(path, error);
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (file == nullptr) {
        std::fprintf(stderr, "quiverfall-bench: cannot write %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return false;
    }
    std::fclose(file);
    if (!existed) {
        fs::remove(path, error);
    }
    return true;
}

bool printReport(const PassTimer& timer, const BenchOptions& options, const RunFacts& facts,
                 const std::map<std::string, double>* earlier) {
    std::printf("quiverfall-bench on %s, %dx%d\n", facts.renderer.c_str(), frameWidth, frameHeight);
    std::printf("%d redraw rounds and %d idle frames, after %d warm-up of each; "
                "time step %.4f s\n",
                options.redrawFrames, options.idleFrames, options.warmupFrames,
                static_cast<double>(benchFrameStep));
    printTable("wall time, ms (glFinish both sides)", timer, false);
    printTable("GL time, ms (GL_TIME_ELAPSED)", timer, true);
    noteMissedGlTime(timer);

    const double blurWall = median(timer.wallMs(blurPass));
    const double floorWall = median(timer.wallMs(copyFloorChain));
    const double tutorialWall = median(timer.wallMs(tutorialBloomChain));
    const double blurGl = median(timer.glMs(blurPass));
    const double floorGl = median(timer.glMs(copyFloorChain));
    const double tutorialGl = median(timer.glMs(tutorialBloomChain));
    std::printf("\nbloom blur against the references (medians)      wall        GL\n");
    std::printf("  x copy floor (20 texelFetch copies)        %9.2fx %9.2fx\n",
                ratio(blurWall, floorWall), ratio(blurGl, floorGl));
    std::printf("  x tutorial bloom (10 9-tap bilinear)       %9.2fx %9.2fx\n",
                ratio(blurWall, tutorialWall), ratio(blurGl, tutorialGl));
    std::printf("\npeak resident memory: %.1f MB\n", facts.peakResidentMb);
    std::printf("GL errors seen: %d\n", facts.glErrors);

    Figures figures = {
        {"frames", options.redrawFrames},
        {"idle_frames", options.idleFrames},
        {"warmup", options.warmupFrames},
    };
    for (int index = 0; index < measureCount; ++index) {
        const MeasureInfo& info = measureInfo(static_cast<Measure>(index));
        figures.emplace_back(std::string(info.key) + "_ms_median", median(timer.wallMs(index)));
        if (info.hasGlTime) {
            figures.emplace_back(std::string(info.key) + "_gl_ms_median",
                                 median(timer.glMs(index)));
        }
    }
    figures.emplace_back("blur_vs_floor", ratio(blurWall, floorWall));
    figures.emplace_back("blur_vs_tutorial", ratio(blurWall, tutorialWall));
    figures.emplace_back("blur_vs_floor_gl", ratio(blurGl, floorGl));
    figures.emplace_back("blur_vs_tutorial_gl", ratio(blurGl, tutorialGl));
    figures.emplace_back("peak_rss_mb", facts.peakResidentMb);
    figures.emplace_back("gl_errors", facts.glErrors);

    if (earlier != nullptr) {
        printComparison(figures, options.comparePath, *earlier);
    }
    bool written = true;
    if (!options.jsonPath.empty()) {
        std::ofstream json(options.jsonPath);
        json << toFlatJson(figures) << "\n";
        json.close();
        if (!json) {
            std::fprintf(stderr, "quiverfall-bench: cannot write %s\n", options.jsonPath.c_str());
            written = false;
        }
    }
    std::printf("BENCH %s\n", toFlatJson(figures).c_str());
    return written;
}
