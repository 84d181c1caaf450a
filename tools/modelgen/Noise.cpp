// Integer hashing, a sequential generator, and periodic gradient and cellular noise.
#include "Noise.h"

#include <cmath>

namespace modelgen {

uint32_t hash32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

uint32_t hash3(int32_t x, int32_t y, uint32_t seed) {
    return hash32(static_cast<uint32_t>(x) * 0x8da6b343U ^ static_cast<uint32_t>(y) * 0xd8163841U ^
                  hash32(seed + 0x9e3779b9U));
}

float hashUnit(int32_t x, int32_t y, uint32_t seed) {
    // 24 bits keep the value exactly representable in a float.
    return static_cast<float>(hash3(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

uint32_t Rng::next() {
    state += 0x9e3779b9U;
    return hash32(state);
}

float Rng::unit() {
    return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f);
}

float Rng::range(float low, float high) {
    return low + (high - low) * unit();
}

static int wrap(int i, int period) {
    int r = i % period;
    return r < 0 ? r + period : r;
}

static float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

static float gradientDot(int ix, int iy, int periodX, int periodY, uint32_t seed, float dx,
                         float dy) {
    // Sixteen evenly spaced unit gradients avoid the axis-aligned look of the classic set.
    const uint32_t h = hash3(wrap(ix, periodX), wrap(iy, periodY), seed) & 15U;
    const float angle = static_cast<float>(h) * (6.2831853f / 16.0f);
    return std::cos(angle) * dx + std::sin(angle) * dy;
}

float perlin(float x, float y, int periodX, int periodY, uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float dx = x - fx;
    const float dy = y - fy;
    const float n00 = gradientDot(ix, iy, periodX, periodY, seed, dx, dy);
    const float n10 = gradientDot(ix + 1, iy, periodX, periodY, seed, dx - 1.0f, dy);
    const float n01 = gradientDot(ix, iy + 1, periodX, periodY, seed, dx, dy - 1.0f);
    const float n11 = gradientDot(ix + 1, iy + 1, periodX, periodY, seed, dx - 1.0f, dy - 1.0f);
    const float u = fade(dx);
    const float v = fade(dy);
    const float a = n00 + u * (n10 - n00);
    const float b = n01 + u * (n11 - n01);
    // Scaled so that typical values span about [-1, 1].
    return 1.4f * (a + v * (b - a));
}

float fbm(float x, float y, int periodX, int periodY, int octaves, uint32_t seed) {
    float sum = 0.0f;
    float amplitude = 0.5f;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * perlin(x, y, periodX, periodY, seed + static_cast<uint32_t>(i) * 101U);
        x *= 2.0f;
        y *= 2.0f;
        periodX *= 2;
        periodY *= 2;
        amplitude *= 0.5f;
    }
    return sum;
}

Cell worley(float x, float y, int periodX, int periodY, uint32_t seed) {
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    Cell best{1e9f, 1e9f, 0U, 0.0f, 0.0f};
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            const int cx = wrap(ix + i, periodX);
            const int cy = wrap(iy + j, periodY);
            const float px = static_cast<float>(ix + i) + 0.1f + 0.8f * hashUnit(cx, cy, seed);
            const float py = static_cast<float>(iy + j) + 0.1f + 0.8f * hashUnit(cx, cy, seed + 7U);
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < best.f1) {
                best.f2 = best.f1;
                best.f1 = d;
                best.id = hash3(cx, cy, seed + 13U);
                best.centreX = px;
                best.centreY = py;
            } else if (d < best.f2) {
                best.f2 = d;
            }
        }
    }
    return best;
}

float smoothstep(float edge0, float edge1, float x) {
    const float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

float clamp01(float x) {
    return x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x);
}

float fract(float x) {
    return x - std::floor(x);
}

} // namespace modelgen
