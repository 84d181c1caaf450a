#include "app/DataFolder.h"

#include "app/Platform.h"

#include <exception>

namespace fs = std::filesystem;

namespace {

bool isFolder(const fs::path& path) {
    std::error_code ignored;
    return fs::is_directory(path, ignored);
}

// A path as the console shows it. On Windows a path with characters outside the console's code
// page cannot be converted (the conversion throws); its UTF-8 bytes are shown instead.
std::string printable(const fs::path& path) {
    try {
        return path.string();
    } catch (const std::exception&) {
        return path.u8string();
    }
}

bool holdsData(const fs::path& folder) {
    return isFolder(folder / "Shader") && isFolder(folder / "Models");
}

} // namespace

std::optional<fs::path> findDataFolder(const fs::path& start) {
    if (start.empty()) {
        return std::nullopt;
    }
    for (fs::path folder = start;; folder = folder.parent_path()) {
        if (holdsData(folder)) {
            return folder;
        }
        if (folder == folder.parent_path()) {
            return std::nullopt;
        }
    }
}

bool enterDataFolder() {
    if (isFolder("Shader")) {
        return true;
    }
    const std::optional<fs::path> folder = findDataFolder(executablePath().parent_path());
    std::error_code failed;
    if (folder) {
        fs::current_path(*folder, failed);
    }
    return folder && !failed;
}

std::string dataFolderAdvice() {
    if (isFolder("Shader")) {
        return {};
    }
    std::error_code unknown;
    const fs::path here = fs::current_path(unknown);
    const fs::path executable = executablePath();
    std::string advice = "Looked for Shader/ and Models/ in " + printable(here);
    if (!executable.empty()) {
        advice += ", beside the program in " + printable(executable.parent_path()) +
                  " and in the folders above it";
    }
    return advice + ": the demo starts from the folder that holds Shader/ and Models/.";
}
