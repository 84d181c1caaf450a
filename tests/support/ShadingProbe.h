// The demo's own standard shading program drawing one surface over a small half-float target,
// the surface facing the camera in the plane z = 0, with every light off or one light on. With
// the lights off the scene colour is the surface's texture colour, squared into linear light as
// the shader does, times the glow its normals' length gives; with one light on, what its shadow
// map does to the light is read straight from the target.
#pragma once

#include "render/ShaderProgram.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <memory>
#include <vector>

class ShadingProbe {
  public:
    ShadingProbe();
    ~ShadingProbe();
    ShadingProbe(const ShadingProbe&) = delete;
    ShadingProbe& operator=(const ShadingProbe&) = delete;

    // RGB floats of both colour outputs, bottom row first.
    struct Target {
        std::vector<float> scene;
        std::vector<float> bloom;
        int width = 0;
        float sceneRed(int x, int y) const {
            return scene[(static_cast<size_t>(y) * width + x) * 3];
        }
    };

    // One of the two lights, the only one on, in full white, looking at the surface through
    // `shadowMap` (a depth texture with comparison) with `biasMVP`.
    struct Light {
        enum Kind { sun, fire } kind;
        glm::vec3 position;
        glm::mat4 biasMVP;
        GLuint shadowMap;
    };

    // A surface over the whole `width` x `height` target (world x and y from -1 to 1), its
    // texture's unit square spread over the target, its normals `normalLength` long, lit by
    // `light` or by nothing.
    Target shade(GLuint texture, float normalLength, int width, int height,
                 const Light* light = nullptr);

  private:
    std::unique_ptr<ShaderProgram> program_;
};

// A texture of `width` x `height` 8-bit grey texels (bottom row first), without mipmaps, sampled
// nearest: a surface of known colour.
GLuint greyTexture(int width, int height, const std::vector<unsigned char>& grey);
