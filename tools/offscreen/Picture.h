// An 8-bit RGB picture read back from GL, and PNG files of it, for the tools and tests that look
// at what the demo draws.
#pragma once

#include <string>
#include <vector>

// Bottom row first (OpenGL's order).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

bool savePng(const Picture& picture, const std::string& path);
// Returns an empty picture when the file cannot be read.
Picture loadPng(const std::string& path);
