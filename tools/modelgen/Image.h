// An RGB float image addressed like a texture (v = 0 is the bottom row) and its JPEG export.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

namespace modelgen {

class Image {
  public:
    Image(int width, int height);

    int width() const { return w; }
    int height() const { return h; }

    // Evaluates shader(u, v) at every texel centre; u, v in [0, 1), v = 0 at the bottom row,
    // which is the row order FreeImage keeps and the demo uploads without a flip.
    void fill(const std::function<glm::vec3(float u, float v)>& shader);

    glm::vec3& at(int x, int y) { return pixels[static_cast<size_t>(y) * w + x]; }
    const glm::vec3& at(int x, int y) const { return pixels[static_cast<size_t>(y) * w + x]; }

    // Writes a 24-bit baseline JPEG; returns false (after a message) on failure.
    bool saveJpeg(const std::string& path, int quality) const;

  private:
    int w;
    int h;
    std::vector<glm::vec3> pixels;
};

} // namespace modelgen
