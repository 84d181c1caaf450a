// The few order statistics a benchmark table quotes.
#pragma once

#include <vector>

struct Summary {
    int count = 0;
    double median = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    // Third quartile minus first: the spread of the middle half, which one stalled frame on a
    // shared CPU does not stretch the way it stretches the range.
    double interquartileRange = 0.0;
};

// All zero for no samples. Quartiles interpolate linearly between the sorted samples.
Summary summarize(std::vector<double> samples);
