// The bench's figures as a flat JSON object of names and numbers: written by --json and the
// BENCH line, read back by --compare.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using Figures = std::vector<std::pair<std::string, double>>;

// {"name": number, ...} in the given order, numbers with six significant digits.
std::string toFlatJson(const Figures& figures);

// The names and numbers of such an object; nothing when the text is not one, or names a figure
// twice.
std::optional<std::map<std::string, double>> parseFlatJson(const std::string& text);
