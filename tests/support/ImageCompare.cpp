#include "support/ImageCompare.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

ImageDifference compareImages(const Picture& actual, const Picture& reference) {
    ImageDifference result;
    result.sameSize = actual.width == reference.width && actual.height == reference.height &&
                      actual.rgb.size() == reference.rgb.size();
    if (!result.sameSize || actual.rgb.empty()) {
        return result;
    }
    const int columns = (actual.width + differenceTileSize - 1) / differenceTileSize;
    const int rows = (actual.height + differenceTileSize - 1) / differenceTileSize;
    std::vector<long long> tileTotals(static_cast<size_t>(columns * rows), 0);
    std::vector<long long> tileCounts(tileTotals.size(), 0);
    long long total = 0;
    for (size_t i = 0; i < actual.rgb.size(); ++i) {
        const int difference = std::abs(int(actual.rgb[i]) - int(reference.rgb[i]));
        result.maxDifference = std::max(result.maxDifference, difference);
        total += difference;
        const int pixel = static_cast<int>(i / 3);
        const int tile = (pixel / actual.width) / differenceTileSize * columns +
                         (pixel % actual.width) / differenceTileSize;
        tileTotals[static_cast<size_t>(tile)] += difference;
        ++tileCounts[static_cast<size_t>(tile)];
    }
    result.meanDifference = static_cast<double>(total) / static_cast<double>(actual.rgb.size());
    for (size_t tile = 0; tile < tileTotals.size(); ++tile) {
        result.worstTileMean =
            std::max(result.worstTileMean,
                     static_cast<double>(tileTotals[tile]) / static_cast<double>(tileCounts[tile]));
    }
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
        difference.meanDifference <= limits.meanDifference &&
        difference.worstTileMean <= limits.tileMeanDifference) {
        return true;
    }
    ADD_FAILURE() << name << ": " << actual.width << "x" << actual.height << " picture against "
                  << expected.width << "x" << expected.height << ", max difference "
                  << difference.maxDifference << " (limit " << limits.maxDifference << "), mean "
                  << difference.meanDifference << " (limit " << limits.meanDifference
                  << "), worst tile's mean " << difference.worstTileMean << " (limit "
                  << limits.tileMeanDifference << "); pictures in "
                  << writeFailureImages(name, actual, expected);
    return false;
}

bool withinReferenceThresholds(const ImageDifference& difference) {
    return difference.sameSize && difference.maxDifference <= maxChannelDifference &&
           difference.meanDifference <= maxMeanDifference &&
           difference.worstTileMean <= maxTileMeanDifference;
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
