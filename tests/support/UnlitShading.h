// The demo's own standard shading program drawing one surface over a small half-float target
// with every light off: the scene colour is then the surface's texture colour, squared into
// linear light as the shader does, times the glow its normals' length gives. What a texture or a
// glow does to the picture is read straight from the target.
#pragma once

#include "render/ShaderProgram.h"

#include <GL/glew.h>

#include <memory>
#include <vector>

class UnlitShading {
  public:
    UnlitShading();
    ~UnlitShading();
    UnlitShading(const UnlitShading&) = delete;
    UnlitShading& operator=(const UnlitShading&) = delete;

    // RGB floats of both colour outputs, bottom row first.
    struct Target {
        std::vector<float> scene;
        std::vector<float> bloom;
        int width = 0;
        float sceneRed(int x, int y) const { return scene[(static_cast<size_t>(y) * width + x) * 3]; }
    };

    // A surface facing the camera over the whole `width` x `height` target, its texture's unit
    // square spread over the target, its normals `normalLength` long.
    Target shade(GLuint texture, float normalLength, int width, int height);

  private:
    std::unique_ptr<ShaderProgram> program_;
};

// A texture of `width` x `height` 8-bit grey texels (bottom row first), without mipmaps, sampled
// nearest: a surface of known colour.
GLuint greyTexture(int width, int height, const std::vector<unsigned char>& grey);
