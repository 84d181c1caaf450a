#include "support/VideoProbe.h"

#include "support/Process.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// "key=value" lines, as ffprobe's default writer prints them without section names.
std::string valueOf(const std::string& lines, const std::string& key) {
    std::istringstream stream(lines);
    std::string line;
    while (std::getline(stream, line)) {
        if (line.compare(0, key.size() + 1, key + "=") == 0) {
            return line.substr(key.size() + 1);
        }
    }
    return "";
}

} // namespace

VideoProbe probeVideo(const std::string& path) {
    VideoProbe probe;
    const std::string lines =
        commandOutput("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                      "stream=codec_name,pix_fmt,width,height,r_frame_rate,nb_read_frames "
                      "-show_entries format=duration -of default=noprint_wrappers=1 '" +
                      path + "' 2>&1");
    probe.codec = valueOf(lines, "codec_name");
    probe.readable = !probe.codec.empty();
    if (!probe.readable) {
        return probe;
    }
    probe.pixelFormat = valueOf(lines, "pix_fmt");
    probe.width = std::stoi(valueOf(lines, "width"));
    probe.height = std::stoi(valueOf(lines, "height"));
    probe.frameRate = valueOf(lines, "r_frame_rate");
    probe.frames = std::stoi(valueOf(lines, "nb_read_frames"));
    probe.duration = std::stod(valueOf(lines, "duration"));
    return probe;
}

// Decoded to a binary PPM: unlike a PNG, whose colour chunks a reader may act on, it holds
// the decoder's RGB values as they are. The colours are converted as a player converts them:
// with the stream's BT.709 matrix, accurately rounded, the colour planes filtered.
Picture decodeVideoFrame(const std::string& path, int index) {
    const std::string framePath = path + ".frame" + std::to_string(index) + ".ppm";
    commandOutput(
        "ffmpeg -v error -y -i '" + path + "' -vf 'select=eq(n\\," + std::to_string(index) +
        "),scale=in_color_matrix=bt709:in_range=tv:"
        "flags=accurate_rnd+full_chroma_int' -fps_mode passthrough -frames:v 1 -pix_fmt rgb24 '" +
        framePath + "' 2>&1");
    Picture picture;
    std::ifstream file(framePath, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    file >> magic >> picture.width >> picture.height >> maxValue;
    file.get(); // the one whitespace byte before the pixels
    const size_t rowBytes = static_cast<size_t>(picture.width) * 3;
    if (magic == "P6" && maxValue == 255 && picture.width > 0 && picture.height > 0) {
        picture.rgb.resize(rowBytes * static_cast<size_t>(picture.height));
        // The file's rows run top to bottom, a Picture's bottom to top.
        for (int row = picture.height - 1; row >= 0 && file; --row) {
            file.read(reinterpret_cast<char*>(&picture.rgb[rowBytes * static_cast<size_t>(row)]),
                      static_cast<std::streamsize>(rowBytes));
        }
    }
    if (!file) {
        picture = Picture();
    }
    std::filesystem::remove(framePath);
    return picture;
}
