#include "FlatJson.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

std::string toFlatJson(const Figures& figures) {
    std::string json = "{";
    for (size_t i = 0; i < figures.size(); ++i) {
        // %.6g keeps sub-microsecond medians from printing as 0 and is valid JSON for finite
        // numbers.
        char number[32];
        std::snprintf(number, sizeof(number), "%.6g", figures[i].second);
        json += (i == 0 ? "\"" : ", \"") + figures[i].first + "\": " + number;
    }
    return json + "}";
}

std::optional<std::map<std::string, double>> parseFlatJson(const std::string& text) {
    size_t at = 0;
    const auto skipSpace = [&] {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
            ++at;
        }
    };
    const auto expect = [&](char wanted) {
        skipSpace();
        if (at < text.size() && text[at] == wanted) {
            ++at;
            return true;
        }
        return false;
    };
    std::map<std::string, double> figures;
    if (!expect('{')) {
        return std::nullopt;
    }
    if (expect('}')) {
        return figures;
    }
    do {
        if (!expect('"')) {
            return std::nullopt;
        }
        const size_t close = text.find('"', at);
        if (close == std::string::npos) {
            return std::nullopt;
        }
        const std::string name = text.substr(at, close - at);
        at = close + 1;
        if (!expect(':')) {
            return std::nullopt;
        }
        skipSpace();
        const char* start = text.c_str() + at;
        char* end = nullptr;
        const double value = std::strtod(start, &end);
        if (end == start || figures.count(name) != 0) {
            return std::nullopt;
        }
        at += static_cast<size_t>(end - start);
        figures[name] = value;
    } while (expect(','));
    if (!expect('}')) {
        return std::nullopt;
    }
    skipSpace();
    return at == text.size() ? std::optional(figures) : std::nullopt;
}
