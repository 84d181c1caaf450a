// F12: the finished picture saved as a PNG file, named for the moment it was taken.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>

class LastPicture;

// "quiverfall-YYYYMMDD-HHMMSS.png" for the local time `taken`.
std::string pictureFileName(const std::tm& taken);

// The path in `folder` for a picture taken at `taken` that names no file yet: the plain name, or
// "-2", "-3" and so on before ".png" for the second and later pictures of the same second.
std::filesystem::path newPicturePath(const std::filesystem::path& folder, const std::tm& taken);

// Writes `picture` (its whole size, not the window's) to a new file in `folder`, named for now,
// and prints one line: the file written, or why it could not be. Returns the file written, or an
// empty path. Leaves framebuffer 0 bound.
std::filesystem::path savePicture(const LastPicture& picture, const std::filesystem::path& folder);
