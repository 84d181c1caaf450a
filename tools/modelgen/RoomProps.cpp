// Props of the hall, placed in world coordinates. Sizes follow a scale of about 0.7 m per
// unit (the camera's eye height of 2-3 units is a standing person's).
#include "RoomProps.h"

#include <cmath>
#include <vector>

#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>

#include "ArrowModel.h"
#include "Layout.h"
#include "Materials.h"
#include "Noise.h"
#include "TextureSynth.h"

namespace modelgen {

namespace {

using glm::vec2;
using glm::vec3;

constexpr float kPi = 3.14159265f;

void timberBox(MeshBuilder& room, const vec3& low, const vec3& high) {
    room.axisBox(material::timber, low, high, kTimberRepeat, UvMapping::Grain);
}

// A round rod between two points (shafts, legs, chains, bow staves).
void rod(MeshBuilder& room, const char* m, const vec3& from, const vec3& to, float radius,
         int segments, float repeat) {
    const float length = glm::length(to - from);
    room.lathe(m, pointingY(from, to - from),
               {{0.0f, 0.0f}, {radius, 0.0f}, {radius, length}, {0.0f, length}}, segments, repeat,
               true);
}

// Frame for a flat round face: local +y along normal, local -z along the picture's up, so
// disc() shows its texture upright and unmirrored to someone facing it.
glm::mat4 discFrame(const vec3& centre, const vec3& normal, const vec3& up) {
    glm::mat4 m(1.0f);
    m[0] = glm::vec4(glm::cross(up, normal), 0.0f);
    m[1] = glm::vec4(normal, 0.0f);
    m[2] = glm::vec4(-up, 0.0f);
    m[3] = glm::vec4(centre, 1.0f);
    return m;
}

// A flame tongue of the given height, its base at origin, leaning along lean (radians).
void flameTongue(MeshBuilder& room, const vec3& base, float width, float height, float lean,
                 float heading) {
    // A rounded body drawn out into a thin tip, like a flame licking upwards.
    std::vector<ProfilePoint> profile = {{0.0f, 0.0f},  {0.7f, 0.03f},  {0.95f, 0.12f},
                                         {1.0f, 0.25f}, {0.85f, 0.43f}, {0.55f, 0.62f},
                                         {0.28f, 0.8f}, {0.1f, 0.93f},  {0.0f, 1.0f}};
    float arc = 0.0f;
    for (size_t i = 0; i < profile.size(); ++i) {
        profile[i].radius *= width;
        profile[i].y *= height;
        if (i > 0) {
            arc += glm::length(
                vec2(profile[i].radius - profile[i - 1].radius, profile[i].y - profile[i - 1].y));
        }
    }
    // One texture repeat from base to tip: hot colours at the base, cool at the tip.
    room.lathe(material::flame,
               translation(base) * rotationY(heading) * rotationZ(-glm::degrees(lean)), profile, 12,
               arc, true);
}

void hearth(MeshBuilder& room) {
    const vec3 c = kHearthCentre;
    // A low round plinth of flagstones.
    room.lathe(material::hearthStone, translation(c), {{1.9f, 0.0f}, {1.9f, 0.12f}, {1.75f, 0.18f}},
               40, kHearthRepeat, false);
    room.disc(material::hearthStone, translation(c + vec3(0.0f, 0.18f, 0.0f)), 1.75f, 40,
              vec2(0.5f), 1.75f / kHearthRepeat);

    // A ring of fieldstones keeps the embers in.
    Rng rng(7U);
    const int stones = 14;
    for (int i = 0; i < stones; ++i) {
        const float a = 2.0f * kPi * (static_cast<float>(i) + rng.range(-0.15f, 0.15f)) / stones;
        const vec3 at = c + vec3(1.3f * std::cos(a), 0.17f, 1.3f * std::sin(a));
        const vec3 size(rng.range(1.1f, 1.35f), rng.range(0.8f, 1.15f), rng.range(0.85f, 1.0f));
        room.lathe(material::hearthStone,
                   translation(at) * rotationY(-glm::degrees(a) + rng.range(-20.0f, 20.0f)) *
                       scaling(size),
                   {{0.0f, 0.0f},
                    {0.2f, 0.0f},
                    {0.27f, 0.1f},
                    {0.23f, 0.24f},
                    {0.1f, 0.31f},
                    {0.0f, 0.32f}},
                   7, kHearthRepeat, false);
    }

    room.lathe(material::embers, translation(c),
               {{1.1f, 0.18f}, {0.95f, 0.25f}, {0.6f, 0.31f}, {0.0f, 0.34f}}, 32, 1.0f, true);

    // Logs lean towards the middle like a collapsed teepee. They stay below y = 0.8 and the
    // flames stand off the axis, so nothing closes around the fire light at y = 1.
    for (int i = 0; i < 5; ++i) {
        const float a = 2.0f * kPi * static_cast<float>(i) / 5.0f + 0.3f;
        const float b = a + 0.45f;
        const vec3 outer = c + vec3(1.05f * std::cos(a), 0.3f, 1.05f * std::sin(a));
        const vec3 inner = c + vec3(0.14f * std::cos(b), 0.62f, 0.14f * std::sin(b));
        const vec3 along = glm::normalize(inner - outer);
        const float radius = 0.13f + 0.02f * static_cast<float>(i % 3);
        rod(room, material::charredLog, outer - along * 0.25f, inner, radius, 10, 1.0f);
    }
    for (int i = 0; i < 6; ++i) {
        const float a = 2.0f * kPi * static_cast<float>(i) / 6.0f + rng.range(-0.2f, 0.2f);
        const float r = rng.range(0.3f, 0.45f);
        flameTongue(room, c + vec3(r * std::cos(a), 0.28f, r * std::sin(a)),
                    rng.range(0.17f, 0.24f), rng.range(0.6f, 1.2f), rng.range(0.1f, 0.25f),
                    -glm::degrees(a));
    }
    flameTongue(room, c + vec3(0.0f, 0.3f, 0.0f), 0.2f, 0.5f, 0.0f, 0.0f);

    // A hanging iron smoke hood with its flue through the roof. Its inside is modelled too,
    // since from near the fire one looks up into it.
    room.lathe(material::iron, translation(c) * rotationY(45.0f),
               {{0.55f, 8.45f},
                {1.95f, 6.7f},
                {1.95f, 6.4f},
                {2.0f, 6.4f},
                {2.0f, 6.7f},
                {0.6f, 8.4f},
                {0.6f, kCeilingY}},
               4, kIronRepeat * 2.0f, false);
}

// Split logs stacked by the fire, on its +z side where the fire's shadow map looks: the fire,
// one unit up, throws the stack's shadow a few units across the floor towards the hall.
void woodpile(MeshBuilder& room) {
    const float radius = 0.12f;
    const float xLow = kHearthCentre.x + 1.7f;
    const float xHigh = kHearthCentre.x + 3.0f;
    const float zMiddle = kHearthCentre.z + 2.9f;
    Rng rng(11U);
    const int logsPerLayer[3] = {4, 3, 2};
    for (int layer = 0; layer < 3; ++layer) {
        const int logs = logsPerLayer[layer];
        // Each layer rests in the grooves of the one below, half a log's spacing inwards.
        const float y = radius + static_cast<float>(layer) * 1.8f * radius;
        for (int i = 0; i < logs; ++i) {
            const float z =
                zMiddle +
                (static_cast<float>(i) - 0.5f * static_cast<float>(logs - 1)) * 2.1f * radius;
            const float jitter = rng.range(-0.08f, 0.08f);
            rod(room, material::timber, vec3(xLow + jitter, y, z), vec3(xHigh + jitter, y, z),
                radius * rng.range(0.9f, 1.05f), 8, 1.0f);
        }
    }
}

void trestleTable(MeshBuilder& room, float cx, float zLow, float zHigh, float topY) {
    timberBox(room, vec3(cx - 0.75f, topY - 0.12f, zLow), vec3(cx + 0.75f, topY, zHigh));
    const float inset = 0.8f;
    for (float z : {zLow + inset, (zLow + zHigh) * 0.5f, zHigh - inset}) {
        timberBox(room, vec3(cx - 0.55f, 0.12f, z - 0.07f),
                  vec3(cx + 0.55f, topY - 0.12f, z + 0.07f));
        timberBox(room, vec3(cx - 0.7f, 0.0f, z - 0.15f), vec3(cx + 0.7f, 0.12f, z + 0.15f));
    }
    timberBox(room, vec3(cx - 0.07f, 0.5f, zLow + inset), vec3(cx + 0.07f, 0.64f, zHigh - inset));
}

void bench(MeshBuilder& room, float cx, float zLow, float zHigh, float baseY) {
    timberBox(room, vec3(cx - 0.25f, baseY + 0.72f, zLow), vec3(cx + 0.25f, baseY + 0.82f, zHigh));
    for (float z : {zLow + 0.5f, zHigh - 0.5f}) {
        timberBox(room, vec3(cx - 0.2f, baseY, z - 0.06f),
                  vec3(cx + 0.2f, baseY + 0.72f, z + 0.06f));
    }
}

// A chair facing +z; seatCentre is the middle of the seat's top.
void chair(MeshBuilder& room, const vec3& seatCentre, float floorY, float backHeight, float width) {
    const float h = width * 0.5f;
    const vec3 s = seatCentre;
    timberBox(room, s + vec3(-h, -0.08f, -h), s + vec3(h, 0.0f, h));
    for (float x : {-h + 0.08f, h - 0.08f}) {
        for (float z : {-h + 0.08f, h - 0.08f}) {
            timberBox(room, vec3(s.x + x - 0.07f, floorY, s.z + z - 0.07f),
                      vec3(s.x + x + 0.07f, s.y - 0.08f, s.z + z + 0.07f));
        }
    }
    // Back posts rise from the rear legs; the back board sits between them.
    for (float x : {-h + 0.08f, h - 0.08f}) {
        timberBox(room, vec3(s.x + x - 0.08f, s.y, s.z - h),
                  vec3(s.x + x + 0.08f, s.y + backHeight, s.z - h + 0.16f));
    }
    timberBox(room, vec3(s.x - h + 0.16f, s.y + 0.4f, s.z - h + 0.03f),
              vec3(s.x + h - 0.16f, s.y + backHeight - 0.1f, s.z - h + 0.11f));
}

void jug(MeshBuilder& room, const vec3& at, float scale) {
    std::vector<ProfilePoint> p = {{0.0f, 0.0f},   {0.13f, 0.0f},  {0.16f, 0.05f}, {0.17f, 0.2f},
                                   {0.12f, 0.38f}, {0.09f, 0.45f}, {0.11f, 0.5f},  {0.0f, 0.48f}};
    for (ProfilePoint& q : p) {
        q.radius *= scale;
        q.y *= scale;
    }
    room.lathe(material::clay, translation(at), p, 16, kClayRepeat, true);
}

void bowl(MeshBuilder& room, const vec3& at) {
    room.lathe(material::clay, translation(at),
               {{0.0f, 0.0f},
                {0.1f, 0.0f},
                {0.2f, 0.07f},
                {0.22f, 0.12f},
                {0.2f, 0.12f},
                {0.1f, 0.05f},
                {0.0f, 0.045f}},
               16, kClayRepeat, true);
}

void candle(MeshBuilder& room, const vec3& at) {
    room.lathe(material::iron, translation(at),
               {{0.0f, 0.0f},
                {0.12f, 0.0f},
                {0.12f, 0.03f},
                {0.04f, 0.06f},
                {0.03f, 0.25f},
                {0.07f, 0.27f},
                {0.07f, 0.3f},
                {0.0f, 0.3f}},
               12, kIronRepeat, true);
    room.lathe(material::plaster, translation(at), {{0.045f, 0.3f}, {0.045f, 0.6f}, {0.0f, 0.61f}},
               10, 1.0f, true);
    flameTongue(room, at + vec3(0.0f, 0.61f, 0.0f), 0.035f, 0.14f, 0.0f, 0.0f);
}

void tables(MeshBuilder& room) {
    // Two long trestle tables with benches down the lower hall, converging on the high table.
    for (float side : {-1.0f, 1.0f}) {
        const float cx = 4.0f * side;
        trestleTable(room, cx, -33.5f, -24.5f, 1.3f);
        bench(room, cx - 1.2f, -33.2f, -24.8f, 0.0f);
        bench(room, cx + 1.2f, -33.2f, -24.8f, 0.0f);
        jug(room, vec3(cx + 0.1f, 1.3f, -31.0f), 1.0f);
        jug(room, vec3(cx - 0.2f, 1.3f, -26.8f), 0.85f);
        for (float z : {-32.6f, -30.1f, -28.0f, -25.6f}) {
            bowl(room, vec3(cx + 0.4f * side * (z < -29.0f ? 1.0f : -1.0f), 1.3f, z));
        }
        candle(room, vec3(cx, 1.3f, -29.0f));
    }
    // The high table on the dais, with the lord's chair and two others behind it.
    const float dais = 0.5f;
    const float top = dais + 1.3f;
    timberBox(room, vec3(-4.5f, top - 0.12f, -39.2f), vec3(4.5f, top, -37.8f));
    for (float x : {-4.3f, 4.3f}) {
        for (float z : {-39.0f, -38.0f}) {
            timberBox(room, vec3(x - 0.09f, dais, z - 0.09f),
                      vec3(x + 0.09f, top - 0.12f, z + 0.09f));
        }
    }
    timberBox(room, vec3(-4.3f, top - 0.4f, -38.05f), vec3(4.3f, top - 0.12f, -37.95f));
    chair(room, vec3(0.0f, dais + 0.85f, -39.9f), dais, 2.4f, 1.2f);
    chair(room, vec3(-2.6f, dais + 0.8f, -39.8f), dais, 1.5f, 0.9f);
    chair(room, vec3(2.6f, dais + 0.8f, -39.8f), dais, 1.5f, 0.9f);
    jug(room, vec3(-1.2f, top, -38.5f), 1.1f);
    bowl(room, vec3(0.0f, top, -38.3f));
    bowl(room, vec3(2.4f, top, -38.4f));
    bowl(room, vec3(-2.5f, top, -38.4f));
    candle(room, vec3(1.1f, top, -38.6f));
    candle(room, vec3(-3.6f, top, -38.6f));
    candle(room, vec3(3.6f, top, -38.6f));
}

void cupboard(MeshBuilder& room) {
    // Open shelves against the -x wall between two pillars, stocked with pottery.
    const float x0 = kHallMinX;
    const float depth = 0.8f;
    const float zLow = -31.5f;
    const float zHigh = -28.5f;
    const float height = 4.2f;
    timberBox(room, vec3(x0, 0.0f, zLow), vec3(x0 + depth, height, zLow + 0.1f));
    timberBox(room, vec3(x0, 0.0f, zHigh - 0.1f), vec3(x0 + depth, height, zHigh));
    timberBox(room, vec3(x0, height - 0.1f, zLow), vec3(x0 + depth, height, zHigh));
    timberBox(room, vec3(x0, 0.1f, zLow + 0.1f), vec3(x0 + 0.06f, height - 0.1f, zHigh - 0.1f));
    Rng rng(19U);
    for (float y : {0.1f, 1.1f, 2.1f, 3.1f}) {
        timberBox(room, vec3(x0 + 0.06f, y, zLow + 0.1f),
                  vec3(x0 + depth, y + 0.08f, zHigh - 0.1f));
        for (float z = zLow + 0.45f; z < zHigh - 0.3f; z += rng.range(0.5f, 0.8f)) {
            const vec3 at(x0 + 0.4f, y + 0.08f, z);
            if (rng.unit() < 0.5f) {
                jug(room, at, rng.range(0.9f, 1.4f));
            } else {
                bowl(room, at);
            }
        }
    }
}

void barrel(MeshBuilder& room, const vec3& base, float height, float radius) {
    // Staves bulge towards the middle; the profile is sampled finely enough to look round.
    std::vector<ProfilePoint> body;
    const int steps = 8;
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / steps;
        body.push_back({radius * (0.84f + 0.16f * std::sin(kPi * t)), height * t});
    }
    const float rim = body.back().radius;
    body.push_back({rim - 0.05f, height});
    body.push_back({rim - 0.05f, height - 0.05f});
    room.lathe(material::timber, translation(base), body, 24, kTimberRepeat, true);
    room.disc(material::timber, translation(base + vec3(0.0f, height - 0.05f, 0.0f)), rim - 0.05f,
              24, vec2(0.5f), (rim - 0.05f) / kTimberRepeat);
    for (float t : {0.08f, 0.3f, 0.7f, 0.92f}) {
        const float r = radius * (0.84f + 0.16f * std::sin(kPi * t)) + 0.012f;
        const float y = height * t;
        room.lathe(material::iron, translation(base),
                   {{r - 0.02f, y - 0.05f}, {r, y - 0.05f}, {r, y + 0.05f}, {r - 0.02f, y + 0.05f}},
                   24, kIronRepeat, false);
    }
}

void storeCorner(MeshBuilder& room) {
    // Barrels and crates in the sunlit stretch of the +x wall.
    barrel(room, vec3(8.95f, 0.0f, -13.7f), 1.6f, 0.6f);
    barrel(room, vec3(8.95f, 0.0f, -12.3f), 1.6f, 0.6f);
    barrel(room, vec3(7.85f, 0.0f, -13.0f), 1.3f, 0.5f);
    room.box(material::timber, translation(vec3(9.2f, 0.6f, -16.2f)), vec3(1.2f, 1.2f, 1.2f),
             kTimberRepeat, UvMapping::Grain);
    room.box(material::timber, translation(vec3(9.25f, 1.6f, -16.1f)) * rotationY(20.0f),
             vec3(0.8f, 0.8f, 0.8f), kTimberRepeat, UvMapping::Grain);
    room.box(material::timber, translation(vec3(8.4f, 0.45f, -17.0f)) * rotationY(-12.0f),
             vec3(0.9f, 0.9f, 0.9f), kTimberRepeat, UvMapping::Grain);
}

void roundShield(MeshBuilder& room, const vec3& centre, const vec3& normal, float radius) {
    const glm::mat4 frame = discFrame(centre, normal, vec3(0, 1, 0));
    // The painted face reuses the crimson banner's roundel and arrows.
    room.disc(material::banner, frame, radius, 32, vec2(0.25f, 0.58f), 0.19f);
    std::vector<ProfilePoint> rimTube;
    for (int k = 0; k <= 8; ++k) {
        const float a = -0.5f * kPi + 2.0f * kPi * static_cast<float>(k) / 8.0f;
        rimTube.push_back({radius + 0.04f * std::cos(a), 0.04f * std::sin(a)});
    }
    room.lathe(material::iron, frame, rimTube, 32, kIronRepeat, true);
    room.lathe(material::iron, frame, {{0.2f, 0.0f}, {0.18f, 0.08f}, {0.1f, 0.15f}, {0.0f, 0.17f}},
               16, kIronRepeat, true);
}

void spear(MeshBuilder& room, const vec3& butt, const vec3& tip) {
    const vec3 along = glm::normalize(tip - butt);
    const float headLength = 0.5f;
    rod(room, material::timber, butt, tip - along * headLength, 0.04f, 8, kTimberRepeat);
    // A leaf-shaped blade, flat in the plane that holds world z, so it shows its breadth to
    // someone facing the wall.
    room.lathe(material::iron,
               pointingY(tip - along * headLength, along) * scaling(vec3(0.3f, 1.0f, 1.0f)),
               {{0.05f, 0.0f}, {0.05f, 0.1f}, {0.11f, 0.25f}, {0.0f, headLength}}, 4, kIronRepeat,
               false);
}

void weaponRack(MeshBuilder& room) {
    // Spears on the +x wall where the camera looks across the hall, flanked by two shields.
    const float wall = kHallMaxX;
    for (float z : {-7.9f, -3.1f}) {
        timberBox(room, vec3(wall - 0.35f, 0.0f, z - 0.08f), vec3(wall, 3.6f, z + 0.08f));
    }
    timberBox(room, vec3(wall - 0.6f, 0.35f, -7.9f), vec3(wall - 0.4f, 0.5f, -3.1f));
    timberBox(room, vec3(wall - 0.3f, 3.1f, -7.9f), vec3(wall, 3.25f, -3.1f));
    for (int i = 0; i < 6; ++i) {
        const float z = -7.3f + 0.8f * static_cast<float>(i);
        spear(room, vec3(wall - 0.5f, 0.0f, z),
              vec3(wall - 0.12f, 4.4f + 0.1f * static_cast<float>(i % 2), z));
    }
    roundShield(room, vec3(wall - 0.06f, 3.4f, -9.4f), vec3(-1, 0, 0), 0.75f);
    roundShield(room, vec3(wall - 0.06f, 3.4f, -1.6f), vec3(-1, 0, 0), 0.75f);
}

// A banner hanging from a pole. frame: local +z out of the wall, origin at the pole's middle.
void banner(MeshBuilder& room, const glm::mat4& frame, float width, float height, bool blue) {
    const float u0 = blue ? 0.5f : 0.0f;
    room.cloth(material::banner, frame * translation(vec3(0.0f, -0.05f, 0.0f)), width, height,
               kBannerNotch * height, 0.12f, vec2(u0, 0.0f), vec2(u0 + 0.5f, 1.0f));
    const float half = width * 0.5f + 0.2f;
    const vec3 left = vec3(frame * glm::vec4(-half, 0.0f, 0.05f, 1.0f));
    const vec3 right = vec3(frame * glm::vec4(half, 0.0f, 0.05f, 1.0f));
    rod(room, material::timber, left, right, 0.05f, 8, kTimberRepeat);
    for (const vec3& end : {left, right}) {
        room.lathe(material::iron, translation(end - vec3(0.0f, 0.09f, 0.0f)),
                   {{0.0f, 0.0f}, {0.07f, 0.04f}, {0.09f, 0.09f}, {0.07f, 0.14f}, {0.0f, 0.18f}},
                   10, kIronRepeat, true);
    }
    // Cords up to a hook under the beam line.
    const vec3 hook = vec3(frame * glm::vec4(0.0f, 0.9f, 0.0f, 1.0f));
    rod(room, material::plaster, left, hook, 0.015f, 5, 1.0f);
    rod(room, material::plaster, right, hook, 0.015f, 5, 1.0f);
}

void banners(MeshBuilder& room) {
    const float off = 0.14f; // clear of the wall, folds included
    // Behind the high table: a great crimson banner between two blue ones.
    banner(room, translation(vec3(0.0f, 8.9f, kHallMinZ + off)), 2.6f, 5.2f, false);
    banner(room, translation(vec3(-6.2f, 8.5f, kHallMinZ + off)), 2.0f, 4.2f, true);
    banner(room, translation(vec3(6.2f, 8.5f, kHallMinZ + off)), 2.0f, 4.2f, true);
    // Down both long walls, between the pillars.
    bool blue = true;
    for (float z : {-22.0f, -14.0f, 6.0f, 14.0f}) {
        banner(room, translation(vec3(kHallMaxX - off, 8.6f, z)) * rotationY(-90.0f), 2.0f, 4.0f,
               blue);
        blue = !blue;
    }
    for (float z : {-30.0f, -22.0f, 6.0f, 14.0f}) {
        banner(room, translation(vec3(kHallMinX + off, 8.6f, z)) * rotationY(90.0f), 2.0f, 4.0f,
               blue);
        blue = !blue;
    }
    // Over the archers' end, either side of the great door.
    banner(room, translation(vec3(-6.5f, 8.6f, kHallMaxZ - off)) * rotationY(180.0f), 2.2f, 4.4f,
           false);
    banner(room, translation(vec3(6.5f, 8.6f, kHallMaxZ - off)) * rotationY(180.0f), 2.2f, 4.4f,
           false);
}

void chandelier(MeshBuilder& room) {
    // An iron ring of candles over the tables, low enough to show in the opening view.
    const vec3 c(0.0f, 6.2f, -32.0f);
    const float r = 1.5f;
    std::vector<ProfilePoint> tube;
    for (int k = 0; k <= 8; ++k) {
        const float a = -0.5f * kPi + 2.0f * kPi * static_cast<float>(k) / 8.0f;
        tube.push_back({r + 0.06f * std::cos(a), 0.06f * std::sin(a)});
    }
    room.lathe(material::iron, translation(c), tube, 32, kIronRepeat, true);
    for (int i = 0; i < 8; ++i) {
        const float a = 2.0f * kPi * (static_cast<float>(i) + 0.5f) / 8.0f;
        candle(room, c + vec3(r * std::cos(a), 0.0f, r * std::sin(a)) - vec3(0.0f, 0.02f, 0.0f));
    }
    const vec3 top(c.x, kCeilingY, c.z);
    for (int i = 0; i < 4; ++i) {
        const float a = 2.0f * kPi * static_cast<float>(i) / 4.0f + 0.25f * kPi;
        rod(room, material::iron, c + vec3(r * std::cos(a), 0.0f, r * std::sin(a)), top, 0.025f, 6,
            kIronRepeat);
    }
}

// A straw boss on an easel, its painted face towards +z.
void archeryTarget(MeshBuilder& room, const vec3& centre, float radius, float thickness,
                   uint32_t arrowSeed, int oldArrows) {
    const float back = centre.z - thickness * 0.5f;
    const float front = centre.z + thickness * 0.5f;
    const float face = radius * 0.93f;
    room.lathe(material::straw, translation(vec3(centre.x, centre.y, back)) * rotationX(90.0f),
               {{face, 0.0f}, {radius, 0.06f}, {radius, thickness - 0.06f}, {face, thickness}}, 40,
               kStrawRepeat, true);
    room.disc(material::targetFace,
              discFrame(vec3(centre.x, centre.y, front), vec3(0, 0, 1), vec3(0, 1, 0)), face, 48,
              vec2(0.5f), 0.5f);
    room.disc(material::straw,
              discFrame(vec3(centre.x, centre.y, back), vec3(0, 0, -1), vec3(0, 1, 0)), face, 48,
              vec2(0.5f), face / kStrawRepeat);

    // Easel: two front legs clear of the boss's rim, a back leg well behind its back face, a
    // ledge the boss sits on and a bar over its top.
    const float legX = radius * 1.12f;
    const float topY = centre.y + radius + 0.1f;
    for (float side : {-1.0f, 1.0f}) {
        rod(room, material::timber, vec3(centre.x + side * legX, 0.0f, centre.z + 0.3f),
            vec3(centre.x + side * legX, topY + 0.15f, centre.z - 0.15f), 0.06f, 8, kTimberRepeat);
    }
    // The back leg stands off to +x: the camera watches from the -x, -z side, and the leg must
    // not hide the arrowhead that comes through the back of the boss.
    rod(room, material::timber, vec3(centre.x + 0.45f, 0.0f, centre.z - 1.5f),
        vec3(centre.x + 0.45f, topY, centre.z - 0.3f), 0.06f, 8, kTimberRepeat);
    const float ledgeY = centre.y - radius - 0.07f;
    // Where the slanting front legs pass the ledge's height; the ledge reaches them.
    const float legZ = centre.z + 0.3f - 0.45f * ledgeY / (topY + 0.15f);
    timberBox(room, vec3(centre.x - legX - 0.08f, ledgeY - 0.07f, centre.z - thickness * 0.6f),
              vec3(centre.x + legX + 0.08f, ledgeY + 0.07f,
                   std::fmax(centre.z + thickness * 0.6f, legZ + 0.08f)));
    timberBox(room, vec3(centre.x - legX - 0.08f, topY - 0.06f, centre.z - 0.3f),
              vec3(centre.x + legX + 0.08f, topY + 0.06f, centre.z - 0.16f));

    // Arrows from earlier practice, stuck in at slight angles.
    Rng rng(arrowSeed);
    for (int i = 0; i < oldArrows; ++i) {
        const float a = rng.range(0.0f, 2.0f * kPi);
        const float r = rng.range(0.1f, 0.6f) * radius;
        const vec3 tip(centre.x + r * std::cos(a), centre.y + r * std::sin(a), front - 0.3f);
        addArrow(room, translation(tip) * rotationY(rng.range(-6.0f, 6.0f)) *
                           rotationX(rng.range(-5.0f, 5.0f)) * rotationZ(rng.range(0.0f, 120.0f)));
    }
}

void pell(MeshBuilder& room) {
    // A square practice post on crossed feet; arrow 2 ends in its +z face.
    const vec3 c = kPellCentre;
    const float h = kPellSide * 0.5f;
    timberBox(room, vec3(c.x - h, 0.25f, c.z - h), vec3(c.x + h, 3.0f, c.z + h));
    timberBox(room, vec3(c.x - 0.9f, 0.0f, c.z - 0.15f), vec3(c.x + 0.9f, 0.25f, c.z + 0.15f));
    timberBox(room, vec3(c.x - 0.15f, 0.0f, c.z - 0.9f), vec3(c.x + 0.15f, 0.25f, c.z + 0.9f));
    room.axisBox(material::iron, vec3(c.x - h - 0.02f, 2.6f, c.z - h - 0.02f),
                 vec3(c.x + h + 0.02f, 2.72f, c.z + h + 0.02f), kIronRepeat, UvMapping::Grain);
}

void bow(MeshBuilder& room, const vec3& bottom, float height, float bulge) {
    // The stave as a chain of short rods along a shallow arc, tapering to the tips.
    const int pieces = 10;
    auto point = [&](int i) {
        const float t = static_cast<float>(i) / pieces;
        return bottom + vec3(bulge * std::sin(kPi * t), height * t, 0.0f);
    };
    for (int i = 0; i < pieces; ++i) {
        const float t = (static_cast<float>(i) + 0.5f) / pieces;
        rod(room, material::timber, point(i), point(i + 1), 0.025f + 0.025f * std::sin(kPi * t), 6,
            kTimberRepeat);
    }
    rod(room, material::plaster, point(0), point(pieces), 0.012f, 4, 1.0f);
}

void archersEnd(MeshBuilder& room) {
    // The shooting line: a low rail the arrows fly over, at the +z end of the hall.
    const float railZ = 19.5f;
    for (int i = 0; i <= 8; ++i) {
        const float x = -9.5f + 19.0f * static_cast<float>(i) / 8.0f;
        timberBox(room, vec3(x - 0.1f, 0.0f, railZ - 0.1f), vec3(x + 0.1f, 1.1f, railZ + 0.1f));
    }
    timberBox(room, vec3(-9.6f, 0.95f, railZ - 0.06f), vec3(9.6f, 1.07f, railZ + 0.06f));
    timberBox(room, vec3(-9.6f, 0.45f, railZ - 0.05f), vec3(9.6f, 0.55f, railZ + 0.05f));

    // Bow racks on the end wall, under the banners and clear of the lanes the arrows fly in,
    // so each arrow is seen against bare wall or the dark door.
    for (float side : {-1.0f, 1.0f}) {
        const float x = 6.6f * side;
        timberBox(room, vec3(x - 1.3f, 3.85f, kHallMaxZ - 0.15f), vec3(x + 1.3f, 4.0f, kHallMaxZ));
        for (int i = -1; i <= 1; ++i) {
            bow(room, vec3(x + 0.75f * static_cast<float>(i) - 0.15f, 1.2f, kHallMaxZ - 0.2f),
                2.65f, 0.3f);
        }
    }
    // Barrels of spare arrows, nocks up.
    Rng rng(29U);
    for (float side : {-1.0f, 1.0f}) {
        const vec3 base(8.4f * side, 0.0f, 24.3f);
        barrel(room, base, 1.4f, 0.5f);
        for (int i = 0; i < 7; ++i) {
            const float a = rng.range(0.0f, 2.0f * kPi);
            const float r = rng.range(0.0f, 0.3f);
            const vec3 tip = base + vec3(r * std::cos(a), 0.55f, r * std::sin(a));
            // Arrow frame: -z is the pointing direction; tilt it to stand nearly upright.
            addArrow(room, translation(tip) * rotationY(glm::degrees(a)) *
                               rotationX(-90.0f + rng.range(4.0f, 12.0f)));
        }
    }
    // Straw bales along the -x wall for spare targets.
    room.box(material::straw, translation(vec3(-8.9f, 0.45f, 4.2f)), vec3(1.0f, 0.9f, 1.9f),
             kStrawRepeat, UvMapping::Grain);
    room.box(material::straw, translation(vec3(-8.9f, 0.45f, 6.2f)), vec3(1.0f, 0.9f, 1.9f),
             kStrawRepeat, UvMapping::Grain);
    room.box(material::straw, translation(vec3(-8.8f, 1.35f, 5.2f)) * rotationY(8.0f),
             vec3(1.0f, 0.9f, 1.9f), kStrawRepeat, UvMapping::Grain);
    bench(room, 9.2f, 4.5f, 11.5f, 0.0f);
}

} // namespace

void buildRoomProps(MeshBuilder& room) {
    hearth(room);
    woodpile(room);
    tables(room);
    cupboard(room);
    storeCorner(room);
    weaponRack(room);
    banners(room);
    chandelier(room);
    archeryTarget(room, kTargetCentre, kTargetRadius, kTargetThickness, 31U, 0);
    archeryTarget(room, vec3(-5.6f, 1.55f, -1.5f), 1.0f, 0.4f, 37U, 3);
    pell(room);
    archersEnd(room);
    // A bench under the window, in the sunlight.
    bench(room, kHallMinX + 0.8f, -11.0f, -4.0f, 0.0f);
}

} // namespace modelgen
