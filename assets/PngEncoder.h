// A picture as the contents of a PNG file, encoded by the same library that decodes the textures:
// FreeImage on the desktop (PngEncoderFreeImage.cpp), stb_image_write in the browser and Windows
// builds (PngEncoderStb.cpp).
#pragma once

#include <filesystem>
#include <vector>

// `rgb` holds `width` x `height` pixels of 3 bytes, rows unpadded, the bottom row first as GL
// reads them; the file has the top row first, as every viewer expects. Empty when the library
// fails.
std::vector<unsigned char> encodePng(int width, int height, const std::vector<unsigned char>& rgb);

// Writes encodePng's file to `path`; false when the picture could not be encoded or the file not
// written whole (errno then says why, where the system does).
bool writePng(const std::filesystem::path& path, int width, int height,
              const std::vector<unsigned char>& rgb);
