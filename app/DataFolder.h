// The folder the demo reads its data from. Every data path is relative ("./Shader/...",
// "./Models/..."), so the demo runs from the folder that holds Shader/ and Models/. Started from
// anywhere else (`cd build && ./quiverfall`, a shortcut whose start folder is elsewhere), it moves
// there itself: the data sits beside the executable or in a folder above it (the repository
// root above build/, the unpacked Windows zip around quiverfall.exe).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The first of `start` and the folders above it that holds both Shader/ and Models/.
std::optional<std::filesystem::path> findDataFolder(const std::filesystem::path& start);

// Where the working directory has no Shader/ folder, changes it to the data folder found from
// the running executable's folder, and returns true; where it has one, changes nothing. False
// when there is no Shader/ here and none was found: reading the data then fails, and
// dataFolderAdvice says why.
bool enterDataFolder();

// For the line after a data file's "could not load": empty when the working directory has a
// Shader/ folder (the file itself is missing); otherwise one line saying where the data was
// looked for and where the demo starts from.
std::string dataFolderAdvice();
