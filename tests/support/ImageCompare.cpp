#include "support/ImageCompare.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

ImageDifference compareImages(const Picture& actual, const Picture& reference) {
    ImageDifference result;
    result.sameSize = actual.width == reference.width && actual.height == reference.height &&
                      actual.rgb.size() == reference.rgb.size();
    if (!result.sameSize || actual.rgb.empty()) {
        return result;
    }
    long long total = 0;
    for (size_t i = 0; i < actual.rgb.size(); ++i) {
        const int difference = std::abs(int(actual.rgb[i]) - int(reference.rgb[i]));
        result.maxDifference = std::max(result.maxDifference, difference);
        total += difference;
    }
    result.meanDifference = static_cast<double>(total) / static_cast<double>(actual.rgb.size());
    return result;
}

int brightestChannel(const Picture& picture) {
    return picture.rgb.empty() ? 255 : *std::max_element(picture.rgb.begin(), picture.rgb.end());
}

Picture referencePicture(const std::string& name) {
    return loadPng(std::string(QUIVERFALL_SOURCE_DIR) + "/tests/reference/" + name + ".png");
}

bool expectPictureMatches(const Picture& actual, const Picture& expected, const std::string& name,
                          PictureLimits limits) {
    if (expected.rgb.empty()) {
        ADD_FAILURE() << name << ": no expected picture to compare with";
        return false;
    }
    const ImageDifference difference = compareImages(actual, expected);
    if (difference.sameSize && difference.maxDifference <= limits.maxDifference &&
        difference.meanDifference <= limits.meanDifference) {
        return true;
    }
    ADD_FAILURE() << name << ": " << actual.width << "x" << actual.height << " picture against "
                  << expected.width << "x" << expected.height << ", max difference "
                  << difference.maxDifference << " (limit " << limits.maxDifference << "), mean "
                  << difference.meanDifference << " (limit " << limits.meanDifference
                  << "); pictures in " << writeFailureImages(name, actual, expected);
    return false;
}

bool withinReferenceThresholds(const ImageDifference& difference) {
    return difference.sameSize && difference.maxDifference <= maxChannelDifference &&
           difference.meanDifference <= maxMeanDifference;
}

std::string writeFailureImages(const std::string& name, const Picture& actual,
                               const Picture& reference) {
    const std::filesystem::path folder =
        std::filesystem::path(QUIVERFALL_BINARY_DIR) / "image-failures";
    std::filesystem::create_directories(folder);
    savePng(actual, (folder / (name + "_actual.png")).string());
    if (actual.width == reference.width && actual.height == reference.height &&
        actual.rgb.size() == reference.rgb.size()) {
        Picture difference = actual;
        for (size_t i = 0; i < actual.rgb.size(); ++i) {
            const int amplified = 4 * std::abs(int(actual.rgb[i]) - int(reference.rgb[i]));
            difference.rgb[i] = static_cast<unsigned char>(std::min(amplified, 255));
        }
        savePng(difference, (folder / (name + "_difference.png")).string());
    }
    return folder.string();
}
