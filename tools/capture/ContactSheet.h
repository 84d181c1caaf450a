// A grid of reduced frames in one PNG.
#pragma once

#include "offscreen/OffscreenWindow.h"

#include <string>
#include <vector>

// Lays the pictures out four to a row, each reduced to a quarter of its width and height.
bool writeContactSheet(const std::vector<Picture>& pictures, const std::string& path);
