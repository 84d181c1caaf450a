#include "NumberArgument.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

std::optional<double> numberIn(const std::string& text, double lowest, double highest) {
    const char* start = text.c_str();
    char* end = nullptr;
    const double number = std::strtod(start, &end);
    if (end == start || *end != '\0' || !std::isfinite(number) || number < lowest ||
        number > highest) {
        return std::nullopt;
    }
    return number;
}

std::optional<long> wholeNumberIn(const std::string& text, long lowest, long highest) {
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(start, &end, 10);
    if (end == start || *end != '\0' || errno == ERANGE || number < lowest || number > highest) {
        return std::nullopt;
    }
    return number;
}

bool readNumber(const std::string& option, const char* text, double lowest, double highest,
                const char* unit, double& value) {
    const std::optional<double> number = numberIn(text, lowest, highest);
    if (!number) {
        std::fprintf(stderr, "%s needs a number%s%s from %g to %g, not \"%s\"\n", option.c_str(),
                     *unit != '\0' ? " of " : "", unit, lowest, highest, text);
        return false;
    }
    value = *number;
    return true;
}

bool readNumber(const std::string& option, const char* text, double lowest, double highest,
                const char* unit, float& value) {
    double number = 0.0;
    if (!readNumber(option, text, lowest, highest, unit, number)) {
        return false;
    }
    value = static_cast<float>(number);
    return true;
}

bool readWholeNumber(const std::string& option, const char* text, long lowest, long highest,
                     int& value) {
    const std::optional<long> number = wholeNumberIn(text, lowest, highest);
    if (!number) {
        std::fprintf(stderr, "%s needs a whole number from %ld to %ld, not \"%s\"\n",
                     option.c_str(), lowest, highest, text);
        return false;
    }
    value = static_cast<int>(*number);
    return true;
}
