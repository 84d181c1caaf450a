// The tools' command-line numbers: the whole text must be one finite number inside the range the
// option allows, or the option is refused with a line that gives that range, before any work.
#pragma once

#include <optional>
#include <string>

// The number `text` spells, when all of it is one finite number from `lowest` to `highest`.
std::optional<double> numberIn(const std::string& text, double lowest, double highest);
std::optional<long> wholeNumberIn(const std::string& text, long lowest, long highest);

// The same, saying on standard error what `option` needs when `text` is not that, as
// "--dt needs a number of seconds from 0.001 to 1, not "1e-7"". `unit` may be empty.
bool readNumber(const std::string& option, const char* text, double lowest, double highest,
                const char* unit, double& value);
bool readNumber(const std::string& option, const char* text, double lowest, double highest,
                const char* unit, float& value);
bool readWholeNumber(const std::string& option, const char* text, long lowest, long highest,
                     int& value);
