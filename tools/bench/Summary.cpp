#include "Summary.h"

#include <algorithm>

namespace {

double quantile(const std::vector<double>& sorted, double fraction) {
    const double position = fraction * static_cast<double>(sorted.size() - 1);
    const size_t below = static_cast<size_t>(position);
    const size_t above = std::min(below + 1, sorted.size() - 1);
    const double weight = position - static_cast<double>(below);
    return sorted[below] + (sorted[above] - sorted[below]) * weight;
}

} // namespace

Summary summarize(std::vector<double> samples) {
    Summary summary;
    if (samples.empty()) {
        return summary;
    }
    std::sort(samples.begin(), samples.end());
    summary.count = static_cast<int>(samples.size());
    summary.median = quantile(samples, 0.5);
    summary.minimum = samples.front();
    summary.maximum = samples.back();
    summary.interquartileRange = quantile(samples, 0.75) - quantile(samples, 0.25);
    return summary;
}
