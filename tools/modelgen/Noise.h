// Deterministic random numbers and tileable noise for the texture and layout generators.
// Everything is derived from integer hashes, so a rerun produces the same bytes.
#pragma once

#include <cstdint>

namespace modelgen {

// 32-bit integer hash (lowbias32); the building block of every random value here.
uint32_t hash32(uint32_t x);
uint32_t hash3(int32_t x, int32_t y, uint32_t seed);

// Uniform value in [0, 1) from a lattice point.
float hashUnit(int32_t x, int32_t y, uint32_t seed);

// Small sequential generator for layout choices (plank lengths, stone sizes, prop jitter).
class Rng {
  public:
    explicit Rng(uint32_t seed) : state(seed) {}
    uint32_t next();
    float unit();                       // [0, 1)
    float range(float low, float high); // [low, high)

  private:
    uint32_t state;
};

// Gradient noise in about [-1, 1] that repeats every (periodX, periodY) lattice cells, so a
// texture sampled over one period wraps seamlessly under GL_REPEAT.
float perlin(float x, float y, int periodX, int periodY, uint32_t seed);

// Fractal sum of perlin octaves; each octave doubles the frequency and the period.
float fbm(float x, float y, int periodX, int periodY, int octaves, uint32_t seed);

// Cellular noise: distances to the nearest and second-nearest feature point and the id of the
// nearest cell, tileable like perlin().
struct Cell {
    float f1;
    float f2;
    uint32_t id;
    float centreX;
    float centreY;
};
Cell worley(float x, float y, int periodX, int periodY, uint32_t seed);

float smoothstep(float edge0, float edge1, float x);
float clamp01(float x);
float fract(float x);

} // namespace modelgen
