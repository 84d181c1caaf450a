#include "ContactSheet.h"

#include <algorithm>

namespace {

constexpr int columns = 4;
constexpr int reduction = 4;
constexpr int gap = 8;

} // namespace

bool writeContactSheet(const std::vector<Picture>& pictures, const std::string& path) {
    if (pictures.empty()) {
        return false;
    }
    const int cellWidth = pictures[0].width / reduction;
    const int cellHeight = pictures[0].height / reduction;
    const int rows = (static_cast<int>(pictures.size()) + columns - 1) / columns;
    Picture sheet;
    sheet.width = columns * cellWidth + (columns + 1) * gap;
    sheet.height = rows * cellHeight + (rows + 1) * gap;
    sheet.rgb.assign(static_cast<size_t>(sheet.width) * sheet.height * 3, 24);

    for (size_t index = 0; index < pictures.size(); ++index) {
        const Picture& picture = pictures[index];
        const int column = static_cast<int>(index) % columns;
        // Bottom-up rows: the first picture goes to the top row of the sheet.
        const int row = rows - 1 - static_cast<int>(index) / columns;
        const int left = gap + column * (cellWidth + gap);
        const int bottom = gap + row * (cellHeight + gap);
        for (int y = 0; y < cellHeight; ++y) {
            for (int x = 0; x < cellWidth; ++x) {
                // Box filter over the reduction square keeps thin lines from flickering away.
                for (int channel = 0; channel < 3; ++channel) {
                    int sum = 0;
                    for (int dy = 0; dy < reduction; ++dy) {
                        for (int dx = 0; dx < reduction; ++dx) {
                            const int sx = std::min(x * reduction + dx, picture.width - 1);
                            const int sy = std::min(y * reduction + dy, picture.height - 1);
                            sum += picture.rgb[(static_cast<size_t>(sy) * picture.width + sx) * 3 +
                                               channel];
                        }
                    }
                    sheet.rgb[(static_cast<size_t>(bottom + y) * sheet.width + left + x) * 3 +
                              channel] = static_cast<unsigned char>(sum / (reduction * reduction));
                }
            }
        }
    }
    return savePng(sheet, path);
}
