// Texture synthesis: every image is a function of (u, v) built from tileable noise, so the
// textures repeat without seams and regenerate bit for bit.
#include "TextureSynth.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include "Noise.h"

namespace modelgen {

namespace {

using glm::vec3;

// Most textures are 512 x 512: at our texel densities (about 128 texels per unit) that is
// sharp at the camera distances of the flight and keeps the committed JPEGs small.
constexpr int kSize = 512;

vec3 mix3(const vec3& a, const vec3& b, float t) {
    return a + (b - a) * t;
}

// Wood: growth rings as dark late-wood lines along v, gently bent by low-frequency noise,
// plus fine fibres and pores. The periods make the pattern tile over one repeat.
float woodGrain(float u, float v, int ringsAcross, float bend, int periodU, int periodV,
                uint32_t seed) {
    const float warp = fbm(u * periodU, v * periodV, periodU, periodV, 3, seed);
    const float rings = fract(u * static_cast<float>(ringsAcross) + bend * warp);
    const float lateWood = smoothstep(0.6f, 0.92f, rings) * (1.0f - smoothstep(0.92f, 1.0f, rings));
    const float fibres = perlin(u * 128.0f, v * 4.0f, 128, 4, seed + 5U);
    const float pores = perlin(u * 384.0f, v * 12.0f, 384, 12, seed + 9U);
    return 0.55f * lateWood + 0.22f * fibres + 0.12f * pores;
}

// Index of the segment holding u among sorted boundaries that wrap around at 1.
int segmentOf(float u, const float* edges, int count) {
    int index = count - 1; // before the first edge: the segment that wraps around
    for (int i = 0; i < count; ++i) {
        if (u >= edges[i]) {
            index = i;
        }
    }
    return index;
}

} // namespace

Image floorPlanksTexture() {
    // 1024 texels over 4 units: the floor fills much of every view, so it gets the sharpest map.
    Image image(1024, 1024);
    const int planksAcross = 8; // 0.5-unit boards
    const int lengthsAlong = 2; // 2-unit board lengths, joints staggered per column
    image.fill([&](float u, float v) {
        const float px = u * planksAcross;
        const int column = static_cast<int>(px);
        const float x = px - static_cast<float>(column);
        const float shift = hashUnit(column, 0, 11U);
        const float py = fract(v + shift) * lengthsAlong;
        const int row = static_cast<int>(py);
        const float y = py - static_cast<float>(row);
        const uint32_t board = hash3(column, row, 17U);
        const float tint = 0.82f + 0.3f * static_cast<float>(board & 255U) / 255.0f;
        const float warmth = static_cast<float>((board >> 8) & 255U) / 255.0f;

        const float grain = woodGrain(u, v + shift, 40, 1.4f, 8, 2, 100U + (board & 7U));
        vec3 light = mix3(vec3(0.56f, 0.39f, 0.23f), vec3(0.60f, 0.36f, 0.19f), warmth);
        vec3 colour = mix3(light, vec3(0.33f, 0.21f, 0.11f), glm::clamp(grain, 0.0f, 1.0f));
        colour *= tint;

        // Wear: the middle of the hall is walked pale, grime collects in low spots.
        const float wear = fbm(u * 4.0f, v * 4.0f, 4, 4, 5, 23U);
        colour *= 0.92f + 0.22f * wear;

        // Knots, about one board in four.
        if ((board >> 16) % 4U == 0U) {
            const float kx = 0.3f + 0.4f * static_cast<float>((board >> 18) & 63U) / 63.0f;
            const float ky = 0.2f + 0.6f * static_cast<float>((board >> 24) & 63U) / 63.0f;
            const float d = std::sqrt((x - kx) * (x - kx) * 4.0f + (y - ky) * (y - ky) * 64.0f);
            colour *= 0.55f + 0.45f * smoothstep(0.05f, 0.35f, d);
        }

        // Gaps between boards and at the butt joints, darkened edges beside them.
        // Distances in world units (boards are 0.5 wide and 2 long; a texel is 1/256 unit).
        const float edgeX = std::fmin(x, 1.0f - x) * 0.5f;
        const float edgeY = std::fmin(y, 1.0f - y) * 2.0f;
        const float edge = std::fmin(edgeX, edgeY);
        colour *= 0.3f + 0.7f * smoothstep(0.003f, 0.014f, edge);

        // Two nail heads at each end of a board.
        for (float ny : {0.02f, 0.98f}) {
            for (float nx : {0.2f, 0.8f}) {
                const float d = std::sqrt((x - nx) * (x - nx) + (y - ny) * (y - ny) * 16.0f);
                if (d < 0.035f) {
                    colour = mix3(colour, vec3(0.13f, 0.12f, 0.12f), 0.85f);
                }
            }
        }
        return colour;
    });
    return image;
}

Image stoneWallTexture() {
    Image image(kSize, kSize);
    const int courses = 8;        // 0.5-unit courses over the 4-unit repeat
    const float mortar = 0.0055f; // about 2 cm of mortar joint
    image.fill([&](float u, float v) {
        const float py = v * courses;
        const int course = static_cast<int>(py);
        const float y = py - static_cast<float>(course);
        const int blocks = 3 + static_cast<int>(hash3(course, 0, 31U) % 3U);
        float edges[6];
        const float rowShift = hashUnit(course, 1, 31U);
        for (int i = 0; i < blocks; ++i) {
            const float jitter = (hashUnit(course, i + 2, 37U) - 0.5f) * 0.3f;
            edges[i] =
                fract((static_cast<float>(i) + jitter) / static_cast<float>(blocks) + rowShift);
        }
        // Sort the few edges (insertion sort, blocks <= 5).
        for (int i = 1; i < blocks; ++i) {
            for (int j = i; j > 0 && edges[j] < edges[j - 1]; --j) {
                std::swap(edges[j], edges[j - 1]);
            }
        }
        const int block = segmentOf(u, edges, blocks);
        float toEdge = 1.0f;
        for (int i = 0; i < blocks; ++i) {
            const float d = std::fabs(u - edges[i]);
            toEdge = std::fmin(toEdge, std::fmin(d, 1.0f - d));
        }
        toEdge = std::fmin(toEdge, std::fmin(y, 1.0f - y) / courses);

        const uint32_t id = hash3(course, block, 41U);
        const float shade = 0.85f + 0.25f * static_cast<float>(id & 255U) / 255.0f;
        const float warm = static_cast<float>((id >> 8) & 255U) / 255.0f;
        vec3 stone = mix3(vec3(0.55f, 0.53f, 0.50f), vec3(0.60f, 0.53f, 0.44f), warm) * shade;
        const float grit = fbm(u * 32.0f, v * 32.0f, 32, 32, 4, 43U + (id & 3U));
        const Cell pits = worley(u * 48.0f, v * 48.0f, 48, 48, 47U);
        stone *= 0.9f + 0.25f * grit;
        stone *= 0.85f + 0.15f * smoothstep(0.0f, 0.25f, pits.f1);
        // Damp stains run down from the joints.
        const float stain = fbm(u * 6.0f, v * 3.0f, 6, 3, 4, 53U);
        stone *= 1.0f - 0.25f * smoothstep(0.1f, 0.5f, stain);

        // Chiselled edges sit back from the face and catch less light.
        const float bevel = smoothstep(mortar, mortar + 0.01f, toEdge);
        const float chipNoise = perlin(u * 96.0f, v * 96.0f, 96, 96, 59U);
        const float edgeWithChips = toEdge + 0.004f * chipNoise;
        vec3 joint = vec3(0.47f, 0.45f, 0.41f) * (0.85f + 0.2f * grit);
        vec3 colour = stone * (0.7f + 0.3f * bevel);
        if (edgeWithChips < mortar) {
            colour = joint;
        }
        return colour;
    });
    return image;
}

Image plasterTexture() {
    Image image(kSize, kSize);
    image.fill([](float u, float v) {
        const float blotch = fbm(u * 4.0f, v * 4.0f, 4, 4, 5, 61U);
        const float trowel = perlin(u * 24.0f, v * 6.0f, 24, 6, 67U);
        const float grain = perlin(u * 200.0f, v * 200.0f, 200, 200, 71U);
        vec3 colour =
            vec3(0.80f, 0.76f, 0.68f) * (0.95f + 0.16f * blotch + 0.04f * trowel + 0.04f * grain);
        // Hairline cracks where the limewash has crazed, only in some areas.
        const Cell c = worley(u * 10.0f, v * 10.0f, 10, 10, 73U);
        const float crack = 1.0f - smoothstep(0.0f, 0.02f, c.f2 - c.f1);
        const float where = smoothstep(0.05f, 0.3f, fbm(u * 3.0f, v * 3.0f, 3, 3, 3, 79U));
        colour *= 1.0f - 0.3f * crack * where;
        // Soot darkens the ceiling in broad patches.
        colour *= 0.85f + 0.15f * smoothstep(-0.4f, 0.2f, fbm(u * 2.0f, v * 2.0f, 2, 2, 3, 83U));
        return colour;
    });
    return image;
}

Image timberTexture() {
    Image image(kSize, kSize);
    image.fill([](float u, float v) {
        const float grain = woodGrain(u, v, 22, 0.9f, 3, 1, 89U);
        vec3 colour = mix3(vec3(0.40f, 0.26f, 0.15f), vec3(0.20f, 0.12f, 0.065f),
                           glm::clamp(grain, 0.0f, 1.0f));
        colour *= 0.9f + 0.2f * fbm(u * 3.0f, v * 2.0f, 3, 2, 4, 97U);
        // Adze marks: shallow scoops across the grain.
        const float adze = perlin(u * 6.0f, v * 20.0f, 6, 20, 101U);
        colour *= 0.95f + 0.06f * adze;
        return colour;
    });
    return image;
}

Image hearthStoneTexture() {
    Image image(kSize, kSize);
    image.fill([](float u, float v) {
        const int cells = 6; // about 0.33-unit stones over the 2-unit repeat
        const float warpU = 0.25f * fbm(u * 8.0f, v * 8.0f, 8, 8, 3, 103U);
        const float warpV = 0.25f * fbm(u * 8.0f, v * 8.0f, 8, 8, 3, 107U);
        const Cell c = worley(u * cells + warpU, v * cells + warpV, cells, cells, 109U);
        const float shade = 0.75f + 0.35f * static_cast<float>(c.id & 255U) / 255.0f;
        const float hue = static_cast<float>((c.id >> 8) & 255U) / 255.0f;
        vec3 stone = mix3(vec3(0.50f, 0.48f, 0.45f), vec3(0.55f, 0.42f, 0.34f), hue) * shade;
        stone *= 0.85f + 0.3f * fbm(u * 40.0f, v * 40.0f, 40, 40, 3, 113U);
        const float gap = c.f2 - c.f1;
        // Rounded stone edges, dark soot-filled gaps.
        stone *= 0.6f + 0.4f * smoothstep(0.02f, 0.2f, gap);
        const vec3 soot(0.09f, 0.08f, 0.07f);
        vec3 colour = mix3(soot, stone, smoothstep(0.02f, 0.05f, gap));
        colour *= 0.8f + 0.2f * smoothstep(-0.3f, 0.3f, fbm(u * 3.0f, v * 3.0f, 3, 3, 3, 127U));
        return colour;
    });
    return image;
}

Image ironTexture() {
    Image image(kSize, kSize);
    image.fill([](float u, float v) {
        const Cell dents = worley(u * 16.0f, v * 16.0f, 16, 16, 131U);
        vec3 colour = vec3(0.24f, 0.24f, 0.26f) * (0.8f + 0.35f * dents.f1);
        colour *= 0.9f + 0.2f * fbm(u * 24.0f, v * 24.0f, 24, 24, 4, 137U);
        const float rust = smoothstep(0.15f, 0.45f, fbm(u * 5.0f, v * 5.0f, 5, 5, 5, 139U));
        const vec3 rustColour =
            vec3(0.42f, 0.22f, 0.10f) * (0.7f + 0.6f * perlin(u * 90.0f, v * 90.0f, 90, 90, 149U));
        colour = mix3(colour, rustColour, 0.8f * rust);
        // Scratches: thin bright ridges of a stretched noise.
        const float ridge = 1.0f - std::fabs(perlin(u * 4.0f, v * 64.0f, 4, 64, 151U));
        colour += vec3(0.12f) * smoothstep(0.97f, 1.0f, ridge) * (1.0f - rust);
        return colour;
    });
    return image;
}

Image embersTexture() {
    Image image(kSize, kSize);
    image.fill([](float u, float v) {
        const Cell chunk = worley(u * 12.0f, v * 12.0f, 12, 12, 157U);
        const float crack = 1.0f - smoothstep(0.0f, 0.12f, chunk.f2 - chunk.f1);
        const float hot = smoothstep(-0.2f, 0.4f, fbm(u * 6.0f, v * 6.0f, 6, 6, 4, 163U));
        const float heat = glm::clamp(crack * (0.5f + 0.7f * hot) + 0.5f * hot * hot, 0.0f, 1.0f);
        // Black-body ramp: dull red, orange, yellow-white.
        vec3 glow =
            mix3(vec3(0.45f, 0.05f, 0.01f), vec3(1.0f, 0.45f, 0.08f), smoothstep(0.0f, 0.6f, heat));
        glow = mix3(glow, vec3(1.0f, 0.9f, 0.55f), smoothstep(0.6f, 1.0f, heat));
        const vec3 charcoal = vec3(0.12f, 0.10f, 0.09f) * (0.7f + 0.6f * chunk.f1);
        const float ash = smoothstep(0.3f, 0.6f, fbm(u * 10.0f, v * 10.0f, 10, 10, 3, 167U));
        vec3 cold = mix3(charcoal, vec3(0.45f, 0.42f, 0.40f), 0.6f * ash);
        return mix3(cold, glow, smoothstep(0.15f, 0.5f, heat));
    });
    return image;
}

Image charredLogTexture() {
    Image image(kSize, kSize);
    image.fill([](float u, float v) {
        const float warp = 0.3f * fbm(u * 4.0f, v * 2.0f, 4, 2, 3, 173U);
        const float fissure = std::fabs(perlin((u + warp) * 16.0f, v * 3.0f, 16, 3, 179U));
        const float plates = worley(u * 10.0f, v * 5.0f, 10, 5, 181U).f1;
        vec3 bark = vec3(0.13f, 0.10f, 0.08f) * (0.8f + 0.5f * plates);
        const float ashy = smoothstep(0.0f, 0.5f, fbm(u * 8.0f, v * 8.0f, 8, 8, 4, 191U));
        bark = mix3(bark, vec3(0.42f, 0.40f, 0.38f), 0.55f * ashy);
        const float deep = 1.0f - smoothstep(0.0f, 0.12f, fissure);
        const float burning = smoothstep(0.0f, 0.35f, fbm(u * 3.0f, v * 3.0f, 3, 3, 3, 193U));
        const vec3 glow = mix3(vec3(0.6f, 0.08f, 0.01f), vec3(1.0f, 0.55f, 0.12f), burning);
        vec3 colour = mix3(bark, vec3(0.04f, 0.03f, 0.03f), deep);
        colour = mix3(colour, glow, deep * burning);
        return colour;
    });
    return image;
}

Image flameTexture() {
    Image image(kSize, kSize);
    image.fill([](float u, float v) {
        const float turbulence = fbm(u * 4.0f, v * 3.0f - 0.0f, 4, 3, 4, 197U);
        const float h = glm::clamp(v + 0.25f * turbulence, 0.0f, 1.0f);
        vec3 colour =
            mix3(vec3(1.0f, 0.97f, 0.78f), vec3(1.0f, 0.68f, 0.18f), smoothstep(0.0f, 0.45f, h));
        colour = mix3(colour, vec3(0.9f, 0.28f, 0.05f), smoothstep(0.45f, 1.0f, h));
        // Brighter licks running up the tongue.
        const float streak = 1.0f - std::fabs(perlin(u * 12.0f, v * 2.0f, 12, 2, 199U));
        colour += vec3(0.15f, 0.1f, 0.02f) * smoothstep(0.8f, 1.0f, streak);
        return colour;
    });
    return image;
}

namespace {

// An arrow drawn as a charge on a banner: shaft, head and fletching, from tail to tip.
bool arrowCharge(float x, float y, float tailX, float tailY, float tipX, float tipY) {
    const float length =
        std::sqrt((tipX - tailX) * (tipX - tailX) + (tipY - tailY) * (tipY - tailY));
    const float dx = (tipX - tailX) / length;
    const float dy = (tipY - tailY) / length;
    // Coordinates along and across the arrow.
    const float along = (x - tailX) * dx + (y - tailY) * dy;
    const float across = -(x - tailX) * dy + (y - tailY) * dx;
    if (along < 0.0f || along > length) {
        return false;
    }
    const float headLength = 0.16f * length;
    if (along > length - headLength) {
        return std::fabs(across) < 0.06f * (length - along) / headLength * length * 0.5f;
    }
    if (along < 0.2f * length) {
        const float vane = 0.045f + 0.05f * (along / (0.2f * length));
        return std::fabs(across) < vane && std::fabs(across) > 0.01f && fract(along * 40.0f) < 0.6f;
    }
    return std::fabs(across) < 0.012f;
}

vec3 weave(float u, float v, const vec3& colour) {
    // Warp and weft threads a few texels wide; their crossing shows as a fine checker.
    const float warp = 0.5f + 0.5f * std::sin(u * 6.2831853f * 128.0f);
    const float weft = 0.5f + 0.5f * std::sin(v * 6.2831853f * 256.0f);
    const float slub = perlin(u * 64.0f, v * 256.0f, 64, 256, 211U);
    return colour * (0.86f + 0.08f * warp + 0.06f * weft + 0.06f * slub);
}

} // namespace

Image bannerTexture() {
    Image image(kSize, kSize);
    image.fill([](float u, float v) {
        const bool second = u >= 0.5f;
        const float x = (second ? u - 0.5f : u) * 2.0f; // 0..1 across one banner
        const float y = v;                              // 0..1 up the banner
        const float bottom = kBannerNotch * (1.0f - std::fabs(2.0f * x - 1.0f));
        const float border = 0.07f;
        const bool inBorder = x < border || x > 1.0f - border || y > 1.0f - 0.5f * border ||
                              y - bottom < 0.5f * border;
        const bool inTrim = !inBorder && (x < border + 0.015f || x > 1.0f - border - 0.015f ||
                                          y - bottom < 0.5f * border + 0.0075f);
        const vec3 gold(0.85f, 0.66f, 0.22f);
        vec3 colour;
        if (!second) {
            // Crimson field, gold roundel, two crossed arrows.
            colour = vec3(0.55f, 0.06f, 0.07f);
            // The texel grid is 256 x 512 per banner; aspect 2 restores round shapes.
            const float cx = x - 0.5f;
            const float cy = (y - 0.58f) * 2.0f;
            const float r = std::sqrt(cx * cx + cy * cy);
            if (std::fabs(r - 0.33f) < 0.025f) {
                colour = gold;
            }
            if (arrowCharge(x, y * 2.0f, 0.18f, 0.58f * 2.0f - 0.32f, 0.82f,
                            0.58f * 2.0f + 0.32f) ||
                arrowCharge(x, y * 2.0f, 0.82f, 0.58f * 2.0f - 0.32f, 0.18f,
                            0.58f * 2.0f + 0.32f)) {
                colour = vec3(0.93f, 0.88f, 0.72f);
            }
        } else {
            // Blue field, gold chevron between three gold bezants.
            colour = vec3(0.08f, 0.14f, 0.38f);
            const float apexY = 0.72f;
            const float chevronY = apexY - 0.9f * std::fabs(x - 0.5f);
            if (y < chevronY && y > chevronY - 0.11f) {
                colour = gold;
            }
            const float bezants[3][2] = {{0.27f, 0.80f}, {0.73f, 0.80f}, {0.5f, 0.36f}};
            for (const auto& b : bezants) {
                const float dx = x - b[0];
                const float dy = (y - b[1]) * 2.0f;
                if (dx * dx + dy * dy < 0.11f * 0.11f) {
                    colour = gold;
                }
            }
        }
        if (inBorder) {
            colour = second ? vec3(0.80f, 0.80f, 0.76f) : gold;
        } else if (inTrim) {
            colour = vec3(0.1f, 0.08f, 0.06f);
        }
        colour = weave(u, v, colour);
        // Faded by years of smoke and sun.
        colour *= 0.88f + 0.18f * fbm(u * 4.0f, v * 4.0f, 4, 4, 4, 223U);
        return colour;
    });
    return image;
}

Image strawTexture() {
    Image image(kSize, kSize);
    image.fill([](float u, float v) {
        // Three layers of stalks, each a noise stretched 1:24 along u.
        float stalks = 0.0f;
        for (int layer = 0; layer < 3; ++layer) {
            const uint32_t seed = 227U + static_cast<uint32_t>(layer) * 13U;
            const float shift = hashUnit(layer, 0, 229U);
            stalks += 1.0f - std::fabs(perlin(u * 8.0f + shift * 8.0f, v * 192.0f, 8, 192, seed));
        }
        stalks /= 3.0f;
        const float tone = fbm(u * 6.0f, v * 24.0f, 6, 24, 4, 233U);
        vec3 colour = mix3(vec3(0.46f, 0.35f, 0.16f), vec3(0.86f, 0.74f, 0.42f),
                           smoothstep(0.45f, 0.95f, stalks));
        colour *= 0.85f + 0.3f * tone;
        return colour;
    });
    return image;
}

Image targetFaceTexture() {
    const Image straw = strawTexture();
    Image image(kSize, kSize);
    const vec3 ringColours[5] = {vec3(0.95f, 0.78f, 0.16f), vec3(0.80f, 0.12f, 0.10f),
                                 vec3(0.16f, 0.42f, 0.78f), vec3(0.07f, 0.07f, 0.08f),
                                 vec3(0.92f, 0.90f, 0.84f)};
    image.fill([&](float u, float v) {
        const float dx = u - 0.5f;
        const float dy = v - 0.5f;
        const float r = std::sqrt(dx * dx + dy * dy) / 0.5f; // 1 at the rim
        // The straw under the paint is coiled: sample the straw texture along the circle.
        const float angle = std::atan2(dy, dx) / 6.2831853f + 0.5f;
        const int sx = static_cast<int>(fract(angle * 6.0f) * (kSize - 1));
        const int sy = static_cast<int>(fract(r * 3.0f) * (kSize - 1));
        const vec3 strawColour = straw.at(sx, sy);
        vec3 colour = strawColour;
        if (r < 0.96f) {
            const int ring = static_cast<int>(r * 10.0f);
            vec3 paint = ringColours[std::min(ring / 2, 4)];
            // Thin dark lines between the scoring rings.
            const float toLine = std::fabs(fract(r * 10.0f + 0.5f) - 0.5f);
            if (toLine < 0.02f && ring > 0) {
                paint = vec3(0.1f);
            }
            // Paint worn away in patches shows the straw through.
            const float wear = smoothstep(0.25f, 0.55f, fbm(u * 8.0f, v * 8.0f, 8, 8, 4, 239U));
            colour = mix3(paint * (0.8f + 0.25f * strawColour.r), strawColour, 0.7f * wear);
        }
        // Old arrow holes, thickest near the middle.
        const Cell hole = worley(u * 40.0f, v * 40.0f, 40, 40, 241U);
        if (hole.f1 < 0.09f && static_cast<float>(hole.id & 255U) / 255.0f > 0.35f + 0.6f * r) {
            colour *= 0.25f;
        }
        return colour;
    });
    return image;
}

Image clayTexture() {
    Image image(kSize, kSize);
    image.fill([](float u, float v) {
        const float throwing =
            std::sin(v * 6.2831853f * 40.0f + 3.0f * perlin(u * 4.0f, v * 8.0f, 4, 8, 251U));
        vec3 colour = vec3(0.60f, 0.33f, 0.20f) * (0.95f + 0.05f * throwing);
        colour *= 0.88f + 0.25f * fbm(u * 8.0f, v * 8.0f, 8, 8, 4, 257U);
        const Cell grit = worley(u * 64.0f, v * 64.0f, 64, 64, 263U);
        if (grit.f1 < 0.12f) {
            colour = (grit.id & 1U) != 0U ? colour * 0.6f : colour * 1.25f;
        }
        return colour;
    });
    return image;
}

Image skyTexture() {
    // 1024 texels: the sky is seen large through the window, and smooth images stay small.
    Image image(1024, 1024);
    const float horizon = 0.3f;
    image.fill([&](float u, float v) {
        const float height = glm::clamp((v - horizon) / (1.0f - horizon), 0.0f, 1.0f);
        vec3 colour =
            mix3(vec3(0.86f, 0.90f, 0.94f), vec3(0.36f, 0.56f, 0.86f), std::pow(height, 0.6f));
        const float cloud = fbm(u * 4.0f, v * 8.0f, 4, 8, 6, 269U);
        colour = mix3(colour, vec3(0.97f, 0.96f, 0.93f),
                      smoothstep(0.05f, 0.45f, cloud) * (0.3f + 0.7f * height));

        const float farHill = horizon + 0.03f + 0.05f * fbm(u * 3.0f, 0.0f, 3, 1, 4, 271U);
        const float nearHill = horizon - 0.02f + 0.06f * fbm(u * 5.0f, 0.5f, 5, 1, 5, 277U);
        if (v < farHill) {
            colour =
                mix3(vec3(0.52f, 0.60f, 0.66f), vec3(0.60f, 0.68f, 0.74f), (farHill - v) * 8.0f);
        }
        if (v < nearHill) {
            // Wooded slopes: clumps of trees as cellular noise.
            const Cell trees = worley(u * 160.0f, v * 160.0f, 160, 160, 281U);
            vec3 wood = vec3(0.22f, 0.33f, 0.16f) * (0.7f + 0.5f * trees.f1);
            const float fields = smoothstep(0.0f, 0.3f, fbm(u * 8.0f, v * 8.0f, 8, 8, 4, 283U));
            colour = mix3(wood, vec3(0.48f, 0.56f, 0.26f),
                          fields * smoothstep(nearHill - 0.02f, nearHill - 0.15f, v));
        }
        return colour;
    });
    return image;
}

Image arrowShaftTexture() {
    Image image(kSize, kSize);
    image.fill([](float u, float v) {
        const float grain = woodGrain(u, v, 10, 0.3f, 2, 1, 293U);
        vec3 colour = mix3(vec3(0.80f, 0.66f, 0.46f), vec3(0.60f, 0.45f, 0.28f),
                           glm::clamp(grain, 0.0f, 1.0f));
        // Cresting just ahead of the fletching (which starts at v = 0.74): black, red, black.
        if (v > 0.62f && v < 0.72f) {
            colour = vec3(0.62f, 0.08f, 0.06f);
            if (v < 0.635f || v > 0.705f) {
                colour = vec3(0.06f, 0.05f, 0.05f);
            }
        }
        // Horn nock at the very end.
        if (v > 0.975f) {
            colour = vec3(0.18f, 0.14f, 0.10f);
        }
        return colour;
    });
    return image;
}

Image arrowHeadTexture() {
    Image image(kSize, kSize);
    image.fill([](float u, float v) {
        const float brushed = perlin(u * 6.0f, v * 128.0f, 6, 128, 307U);
        vec3 colour = vec3(0.60f, 0.62f, 0.66f) * (0.9f + 0.12f * brushed);
        const float scale = smoothstep(0.1f, 0.4f, fbm(u * 6.0f, v * 6.0f, 6, 6, 4, 311U));
        colour = mix3(colour, vec3(0.22f, 0.22f, 0.24f), 0.7f * scale);
        return colour;
    });
    return image;
}

Image fletchingTexture() {
    Image image(kSize, kSize);
    image.fill([](float u, float v) {
        const bool cock = u >= 0.5f;
        const float along = (cock ? u - 0.5f : u) * 2.0f; // 0 at the front of the vane
        // Barbs leave the quill at v = 0 and sweep back towards the nock, about six texels apart.
        const float barb = along - 0.55f * v;
        const float barbs = 0.5f + 0.5f * std::sin(barb * 6.2831853f * 45.0f);
        // Splits where neighbouring barbs have come apart.
        const float split =
            smoothstep(0.9f, 1.0f, std::fabs(perlin(barb * 16.0f, 0.5f, 16, 1, 313U)));
        const float wobble = 0.08f * perlin(along * 4.0f, v * 4.0f, 4, 4, 317U);
        vec3 colour;
        if (cock) {
            colour = vec3(0.74f, 0.10f, 0.07f) *
                     (0.88f + 0.12f * std::sin((barb + wobble) * 6.2831853f * 5.0f));
        } else {
            // Irregular dark bars across a pale grey feather, like a barred wing feather.
            const float bars =
                smoothstep(-0.4f, 0.4f, std::sin((barb + wobble) * 6.2831853f * 4.0f));
            colour = mix3(vec3(0.48f, 0.42f, 0.36f), vec3(0.80f, 0.77f, 0.70f), bars);
        }
        colour *= 0.88f + 0.12f * barbs;
        colour *= 1.0f - 0.45f * split;
        // The quill along the shaft.
        if (v < 0.06f) {
            colour = vec3(0.88f, 0.85f, 0.76f);
        }
        return colour;
    });
    return image;
}

} // namespace modelgen
