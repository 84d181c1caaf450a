// Whether a file's name is one F12 gives a picture: "quiverfall-YYYYMMDD-HHMMSS.png". Checked by
// hand: GCC 12 warns inside std::regex when the sanitizers are on.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>

inline bool isSavedPictureName(const std::string& name) {
    const std::string pattern = "quiverfall-########-######.png";
    return name.size() == pattern.size() &&
           std::equal(pattern.begin(), pattern.end(), name.begin(), [](char wanted, char found) {
               return wanted == '#' ? std::isdigit(static_cast<unsigned char>(found)) != 0
                                    : wanted == found;
           });
}
