// Triangle collection and primitive shapes: boxes, surfaces of revolution, discs and cloth.
#include "MeshBuilder.h"

#include <algorithm>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/mat3x3.hpp>
#include <glm/matrix.hpp>

#include "Noise.h"

namespace modelgen {

namespace {

constexpr float kTwoPi = 6.28318531f;

// Profile segments meeting at more than this angle keep a hard edge (cap rims, bands), softer
// bends are smoothed (barrel bellies, domes).
constexpr float kSmoothCosine = 0.7f;

glm::vec3 transformPoint(const glm::mat4& m, const glm::vec3& p) {
    return glm::vec3(m * glm::vec4(p, 1.0f));
}

glm::mat3 normalMatrix(const glm::mat4& m) {
    return glm::transpose(glm::inverse(glm::mat3(m)));
}

bool mirrors(const glm::mat4& m) {
    return glm::determinant(glm::mat3(m)) < 0.0f;
}

glm::vec2 worldUv(const glm::vec3& p, const glm::vec3& n, float unitsPerRepeat) {
    if (std::fabs(n.y) > 0.7f) {
        // Seen from above, -z is "up" on the floor; from below, +z is "up" on the ceiling.
        return glm::vec2(p.x, n.y > 0.0f ? -p.z : p.z) / unitsPerRepeat;
    }
    const glm::vec3 right = glm::normalize(glm::cross(glm::vec3(0, 1, 0), glm::vec3(n.x, 0, n.z)));
    return glm::vec2(glm::dot(p, right), p.y) / unitsPerRepeat;
}

// A per-piece texture offset, so that neighbouring planks and legs do not show the same grain.
glm::vec2 pieceOffset(const glm::mat4& placement) {
    const glm::vec3 t(placement[3]);
    const uint32_t h = hash3(static_cast<int32_t>(std::lround(t.x * 97.0f)),
                             static_cast<int32_t>(std::lround(t.z * 89.0f + t.y * 53.0f)), 4242U);
    return glm::vec2(static_cast<float>(h & 1023U), static_cast<float>((h >> 10) & 1023U)) /
           1024.0f;
}

} // namespace

void MeshBuilder::moveGroupsToEnd(const std::vector<std::string>& materials) {
    for (const std::string& material : materials) {
        const auto found =
            std::find_if(meshGroups.begin(), meshGroups.end(),
                         [&material](const MeshGroup& g) { return g.material == material; });
        if (found != meshGroups.end()) {
            MeshGroup moved = std::move(*found);
            meshGroups.erase(found);
            meshGroups.push_back(std::move(moved));
        }
    }
}

MeshGroup& MeshBuilder::group(const std::string& material) {
    for (MeshGroup& g : meshGroups) {
        if (g.material == material) {
            return g;
        }
    }
    meshGroups.push_back(MeshGroup{material, {}});
    return meshGroups.back();
}

void MeshBuilder::triangle(const std::string& material, const Vertex& a, const Vertex& b,
                           const Vertex& c) {
    const glm::vec3 face = glm::cross(b.position - a.position, c.position - a.position);
    if (glm::dot(face, face) < 1e-14f) {
        return; // the apex of a cone or a closed profile: nothing to draw
    }
    if (glm::dot(face, a.normal + b.normal + c.normal) <= 0.0f) {
        std::fprintf(stderr, "triangle of %s at (%.3f %.3f %.3f) is wound against its normals\n",
                     material.c_str(), a.position.x, a.position.y, a.position.z);
        std::exit(1);
    }
    std::vector<Vertex>& corners = group(material).corners;
    corners.push_back(a);
    corners.push_back(b);
    corners.push_back(c);
}

void MeshBuilder::quad(const std::string& material, const Vertex& a, const Vertex& b,
                       const Vertex& c, const Vertex& d) {
    triangle(material, a, b, c);
    triangle(material, a, c, d);
}

void MeshBuilder::transformedTriangle(const std::string& material, const glm::mat4& placement,
                                      Vertex a, Vertex b, Vertex c) {
    const glm::mat3 nm = normalMatrix(placement);
    for (Vertex* v : {&a, &b, &c}) {
        v->position = transformPoint(placement, v->position);
        v->normal = glm::normalize(nm * v->normal);
    }
    if (mirrors(placement)) {
        triangle(material, a, c, b);
    } else {
        triangle(material, a, b, c);
    }
}

void MeshBuilder::box(const std::string& material, const glm::mat4& placement,
                      const glm::vec3& size, float unitsPerRepeat, UvMapping mapping,
                      unsigned faces) {
    struct FaceFrame {
        unsigned bit;
        glm::vec3 normal;
        int sAxis; // cross(s, t) = normal, so s-then-t order is counter-clockwise
        int tAxis;
    };
    static const FaceFrame frames[6] = {
        {FacePosX, {1, 0, 0}, 1, 2},  {FaceNegX, {-1, 0, 0}, 2, 1}, {FacePosY, {0, 1, 0}, 2, 0},
        {FaceNegY, {0, -1, 0}, 0, 2}, {FacePosZ, {0, 0, 1}, 0, 1},  {FaceNegZ, {0, 0, -1}, 1, 0},
    };
    const glm::vec3 half = size * 0.5f;
    const glm::mat3 nm = normalMatrix(placement);
    const glm::vec2 offset = pieceOffset(placement);
    for (const FaceFrame& f : frames) {
        if ((faces & f.bit) == 0U) {
            continue;
        }
        const glm::vec3 centre = f.normal * half;
        const glm::vec3 worldNormal = glm::normalize(nm * f.normal);
        const float signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        Vertex v[4];
        for (int k = 0; k < 4; ++k) {
            glm::vec3 local = centre;
            local[f.sAxis] = signs[k][0] * half[f.sAxis];
            local[f.tAxis] = signs[k][1] * half[f.tAxis];
            v[k].position = transformPoint(placement, local);
            v[k].normal = worldNormal;
            if (mapping == UvMapping::World) {
                v[k].uv = worldUv(v[k].position, worldNormal, unitsPerRepeat);
            } else {
                const bool sLonger = size[f.sAxis] >= size[f.tAxis];
                const float along = sLonger ? local[f.sAxis] : local[f.tAxis];
                const float across = sLonger ? local[f.tAxis] : local[f.sAxis];
                v[k].uv = glm::vec2(across, along) / unitsPerRepeat + offset;
            }
        }
        if (mirrors(placement)) {
            quad(material, v[0], v[3], v[2], v[1]);
        } else {
            quad(material, v[0], v[1], v[2], v[3]);
        }
    }
}

void MeshBuilder::axisBox(const std::string& material, const glm::vec3& low, const glm::vec3& high,
                          float unitsPerRepeat, UvMapping mapping, unsigned faces) {
    box(material, translation((low + high) * 0.5f), high - low, unitsPerRepeat, mapping, faces);
}

void MeshBuilder::lathe(const std::string& material, const glm::mat4& placement,
                        const std::vector<ProfilePoint>& profile, int segments,
                        float unitsPerRepeat, bool smooth, float vOffset) {
    const size_t n = profile.size();
    float maxRadius = 0.0f;
    for (const ProfilePoint& p : profile) {
        maxRadius = std::fmax(maxRadius, p.radius);
    }
    const float uRepeats = std::fmax(1.0f, std::round(kTwoPi * maxRadius / unitsPerRepeat));

    // Outward normal of every profile segment in the (radius, y) plane, and arc length so far.
    std::vector<glm::vec2> segmentNormal(n > 0 ? n - 1 : 0);
    std::vector<float> arc(n, 0.0f);
    for (size_t i = 0; i + 1 < n; ++i) {
        const glm::vec2 d(profile[i + 1].radius - profile[i].radius,
                          profile[i + 1].y - profile[i].y);
        const float len = glm::length(d);
        segmentNormal[i] = len > 0.0f ? glm::vec2(d.y, -d.x) / len : glm::vec2(0.0f);
        arc[i + 1] = arc[i] + len;
    }
    auto endNormal = [&](size_t seg, size_t point) {
        glm::vec2 nrm = segmentNormal[seg];
        const size_t other = point == seg ? seg - 1 : seg + 1; // the neighbouring segment
        const bool hasOther = point == seg ? seg > 0 : seg + 2 < n;
        if (smooth && hasOther && glm::dot(nrm, segmentNormal[other]) > kSmoothCosine) {
            nrm = glm::normalize(nrm + segmentNormal[other]);
        }
        return nrm;
    };

    for (size_t i = 0; i + 1 < n; ++i) {
        if (arc[i + 1] == arc[i]) {
            continue;
        }
        const glm::vec2 n0 = endNormal(i, i);
        const glm::vec2 n1 = endNormal(i, i + 1);
        for (int j = 0; j < segments; ++j) {
            const float a0 = kTwoPi * static_cast<float>(j) / static_cast<float>(segments);
            const float a1 = kTwoPi * static_cast<float>(j + 1) / static_cast<float>(segments);
            auto corner = [&](size_t pi, float angle, float uFraction, const glm::vec2& nrm) {
                const float c = std::cos(angle);
                const float s = std::sin(angle);
                Vertex v;
                v.position =
                    glm::vec3(profile[pi].radius * c, profile[pi].y, -profile[pi].radius * s);
                v.normal = glm::vec3(nrm.x * c, nrm.y, -nrm.x * s);
                v.uv = glm::vec2(uFraction * uRepeats, vOffset + arc[pi] / unitsPerRepeat);
                return v;
            };
            const float u0 = static_cast<float>(j) / static_cast<float>(segments);
            const float u1 = static_cast<float>(j + 1) / static_cast<float>(segments);
            Vertex a = corner(i, a0, u0, n0);
            Vertex b = corner(i, a1, u1, n0);
            Vertex c = corner(i + 1, a1, u1, n1);
            Vertex d = corner(i + 1, a0, u0, n1);
            if (!smooth) {
                // Facets: every triangle takes the normal of its own plane.
                const glm::vec3 f1 = glm::cross(b.position - a.position, c.position - a.position);
                const glm::vec3 f2 = glm::cross(c.position - a.position, d.position - a.position);
                const glm::vec3 flat =
                    glm::normalize(glm::dot(f1, f1) > glm::dot(f2, f2) ? f1 : f2);
                a.normal = b.normal = c.normal = d.normal = flat;
            }
            transformedTriangle(material, placement, a, b, c);
            transformedTriangle(material, placement, a, c, d);
        }
    }
}

void MeshBuilder::disc(const std::string& material, const glm::mat4& placement, float radius,
                       int segments, const glm::vec2& uvCentre, float uvRadius) {
    Vertex centre{glm::vec3(0.0f), uvCentre, glm::vec3(0, 1, 0)};
    for (int j = 0; j < segments; ++j) {
        Vertex rim[2];
        for (int k = 0; k < 2; ++k) {
            const float angle = kTwoPi * static_cast<float>(j + k) / static_cast<float>(segments);
            const float c = std::cos(angle);
            const float s = std::sin(angle);
            rim[k].position = glm::vec3(radius * c, 0.0f, -radius * s);
            rim[k].normal = glm::vec3(0, 1, 0);
            rim[k].uv = uvCentre + uvRadius * glm::vec2(c, s);
        }
        transformedTriangle(material, placement, centre, rim[0], rim[1]);
    }
}

void MeshBuilder::cloth(const std::string& material, const glm::mat4& placement, float width,
                        float height, float notchDepth, float foldDepth, const glm::vec2& uvLow,
                        const glm::vec2& uvHigh) {
    // Enough columns for two soft folds to read as curves, enough rows for the notch edge.
    const int columns = 16;
    const int rows = 8;
    const float foldsAcross = 2.0f;
    auto point = [&](int i, int k) {
        const float fx = static_cast<float>(i) / static_cast<float>(columns);
        const float x = (fx - 0.5f) * width;
        const float bottom = -height + notchDepth * (1.0f - std::fabs(2.0f * fx - 1.0f));
        const float y = bottom * static_cast<float>(k) / static_cast<float>(rows);
        // Folds deepen towards the free bottom edge, where the cloth is not held by its pole.
        const float hang = 0.25f + 0.75f * (-y / height);
        const float phase = kTwoPi * foldsAcross * fx;
        const float z = foldDepth * hang * (0.5f + 0.5f * std::cos(phase));
        const float dzdx =
            foldDepth * hang * -0.5f * std::sin(phase) * kTwoPi * foldsAcross / width;
        const float dzdy = -foldDepth * 0.75f / height * (0.5f + 0.5f * std::cos(phase));
        Vertex v;
        v.position = glm::vec3(x, y, z);
        v.normal = glm::normalize(glm::vec3(-dzdx, -dzdy, 1.0f));
        v.uv = glm::vec2(uvLow.x + fx * (uvHigh.x - uvLow.x),
                         uvHigh.y + (y / height) * (uvHigh.y - uvLow.y));
        return v;
    };
    for (int k = 0; k < rows; ++k) {
        for (int i = 0; i < columns; ++i) {
            const Vertex a = point(i, k + 1);
            const Vertex b = point(i + 1, k + 1);
            const Vertex c = point(i + 1, k);
            const Vertex d = point(i, k);
            transformedTriangle(material, placement, a, b, c);
            transformedTriangle(material, placement, a, c, d);
        }
    }
}

void MeshBuilder::append(const MeshBuilder& other, const glm::mat4& placement) {
    for (const MeshGroup& g : other.groups()) {
        for (size_t i = 0; i + 2 < g.corners.size(); i += 3) {
            transformedTriangle(g.material, placement, g.corners[i], g.corners[i + 1],
                                g.corners[i + 2]);
        }
    }
}

glm::mat4 translation(const glm::vec3& offset) {
    return glm::translate(glm::mat4(1.0f), offset);
}

glm::mat4 rotationY(float degrees) {
    return glm::rotate(glm::mat4(1.0f), glm::radians(degrees), glm::vec3(0, 1, 0));
}

glm::mat4 rotationX(float degrees) {
    return glm::rotate(glm::mat4(1.0f), glm::radians(degrees), glm::vec3(1, 0, 0));
}

glm::mat4 rotationZ(float degrees) {
    return glm::rotate(glm::mat4(1.0f), glm::radians(degrees), glm::vec3(0, 0, 1));
}

glm::mat4 scaling(const glm::vec3& factors) {
    return glm::scale(glm::mat4(1.0f), factors);
}

glm::mat4 pointingY(const glm::vec3& origin, const glm::vec3& direction) {
    const glm::vec3 y = glm::normalize(direction);
    // Any helper axis not parallel to y gives a valid frame; prefer world z for near-vertical y.
    const glm::vec3 helper = std::fabs(y.z) < 0.9f ? glm::vec3(0, 0, 1) : glm::vec3(1, 0, 0);
    const glm::vec3 x = glm::normalize(glm::cross(y, helper));
    const glm::vec3 z = glm::cross(x, y);
    glm::mat4 m(1.0f);
    m[0] = glm::vec4(x, 0.0f);
    m[1] = glm::vec4(y, 0.0f);
    m[2] = glm::vec4(z, 0.0f);
    m[3] = glm::vec4(origin, 1.0f);
    return m;
}

} // namespace modelgen
