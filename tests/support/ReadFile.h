// A whole file as bytes, for tests that read what a program or tool wrote.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// Empty when the file cannot be read.
inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}
