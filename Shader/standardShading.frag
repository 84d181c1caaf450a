#version 330 core
// Standard shading, fragment stage. Lights the diffuse texture with an ambient term, the main
// light (a wide spot through the window, shadowed) and the fire (a flickering point light,
// shadowed on its +z side), veils the air when the camera stands in the sunbeam, and writes the
// HDR colour (output 0) and its bright part for bloom (output 1).

in vec3 position_worldSpace;
in vec3 normal_worldSpace;
in vec3 camera_worldSpace;
in vec2 textureCoordinate;
in vec4 fireShadowCoord;
in vec4 lightShadowCoord;
flat in float cameraInSunlight;
// Light the surface gives off, as a multiple of its texture colour (0 for most surfaces).
in float glow;

uniform sampler2D texture_sampler;
uniform sampler2DShadow fireShadowMap;
uniform sampler2DShadow lightShadowMap;
uniform vec3 lightColor;
uniform vec3 ambientLightColor;
uniform vec3 lightPos_worldSpace;
uniform vec3 fireColor;
uniform vec3 firePos_worldSpace;

layout(location = 0) out vec3 color;
layout(location = 1) out vec3 brightColor;

// The main light stands for daylight through the window: no distance falloff, a little stronger
// than white so sunlit floor reads brighter than anything the ambient term lights.
const float mainLightStrength = 1.6;
// Fraction of a light's texture-space frame over which it fades out, so the frustum's edge is a
// soft falloff rather than a hard rectangle of light. The vertex stage tells with the same edge
// whether the eye stands in the sunbeam: keep shadowFrameEdge equal in both files.
const float shadowFrameEdge = 0.12;
// Fire falloff: strength / (1 + d^2). 30 makes stone 1.5 units from the flames bloom, and the
// light still reaches the walls 8 units away.
const float fireStrength = 30.0;
// Squared distances from the fire over which its shadows fade out (8 to 12 units): beyond, the
// fire adds less than the ambient light, and its shadows would be too faint to see.
const float fireShadowFadeStart2 = 64.0;
const float fireShadowFadeEnd2 = 144.0;
// Texel size of both 1024x1024 shadow maps and the PCF tap offsets in texels: two taps on
// opposite sides of the point, each a hardware 2x2 linear comparison, soften an edge over about
// three texels. Four taps looked much the same and cost a tenth of a redrawn frame more on
// software GL.
const float shadowTexel = 1.0 / 1024.0;
// Left after the normal offset: a sliver of window-space depth against rounding.
const float depthBias = 0.00005;
// Blinn-Phong sheen; the textures carry no gloss map, so one modest value serves all surfaces.
const float specularStrength = 0.2;
const float shininess = 24.0;
// Air lit by the window when the camera itself stands in the sunbeam: a veil that thickens
// with the distance to the surface, up to this strength.
const float sunVeilStrength = 0.05;
const float sunVeilDistance = 30.0;
// Bloom's bright pass: luminance above the threshold goes to bloom, eased in over the knee so
// there is no hard edge; the cap keeps single bright pixels from turning into fireflies.
const float bloomThreshold = 1.0;
const float bloomKnee = 0.5;
const float bloomCap = 8.0;

const vec2 pcfTaps[2] = vec2[](vec2(-0.625, -1.25), vec2(0.625, 1.25));

// 1 inside the map's frame, fading to 0 towards its edges and behind the light.
float frameMask(vec4 shadowCoord) {
    if (shadowCoord.w <= 0.0) {
        return 0.0;
    }
    vec2 p = shadowCoord.xy / shadowCoord.w;
    vec2 inside = smoothstep(0.0, shadowFrameEdge, p) * smoothstep(0.0, shadowFrameEdge, 1.0 - p);
    return inside.x * inside.y;
}

// Fraction of the surface lit by the light of `shadowMap`.
float visibility(sampler2DShadow shadowMap, vec4 shadowCoord) {
    vec3 p = shadowCoord.xyz / shadowCoord.w;
    p.z -= depthBias;
    float lit = 0.0;
    for (int i = 0; i < 2; ++i) {
        lit += texture(shadowMap, vec3(p.xy + pcfTaps[i] * shadowTexel, p.z));
    }
    return lit * 0.5;
}

vec3 surfaceNormal() {
    float length2 = dot(normal_worldSpace, normal_worldSpace);
    if (length2 > 1e-12) {
        return normal_worldSpace * inversesqrt(length2);
    }
    // A model without normals: take the facet's own.
    return normalize(cross(dFdx(position_worldSpace), dFdy(position_worldSpace)));
}

float specular(vec3 normal, vec3 toLight, vec3 toCamera) {
    return specularStrength * pow(max(dot(normal, normalize(toLight + toCamera)), 0.0), shininess);
}

void main() {
    // Textures are stored gamma-encoded; light them in linear space. Squaring is within a few
    // percent of the 2.2 power curve and far cheaper per fragment on software GL.
    vec3 texel = texture(texture_sampler, textureCoordinate).rgb;
    vec3 albedo = texel * texel;
    vec3 normal = surfaceNormal();
    vec3 toCameraRay = camera_worldSpace - position_worldSpace;
    float rayLength = length(toCameraRay);
    vec3 toCamera = toCameraRay / rayLength;

    // Light from the open room above and the floor below: upward faces get the full ambient
    // term, walls less, the undersides of beams and tables least, which gives the shape that
    // the direct lights leave out.
    vec3 lighting = ambientLightColor * (0.65 + 0.35 * normal.y);
    vec3 sheen = vec3(0.0);

    vec3 toLight = normalize(lightPos_worldSpace - position_worldSpace);
    float mainFacing = max(dot(normal, toLight), 0.0);
    float spot = frameMask(lightShadowCoord);
    if (mainFacing > 0.0 && spot > 0.0) {
        vec3 mainLight =
            lightColor * (mainLightStrength * spot * visibility(lightShadowMap, lightShadowCoord));
        lighting += mainLight * mainFacing;
        sheen += mainLight * specular(normal, toLight, toCamera);
    }

    vec3 toFireRay = firePos_worldSpace - position_worldSpace;
    float fireDistance2 = dot(toFireRay, toFireRay);
    vec3 toFire = toFireRay * inversesqrt(max(fireDistance2, 1e-8));
    float fireFacing = max(dot(normal, toFire), 0.0);
    if (fireFacing > 0.0) {
        // The fire's map only looks along +z: elsewhere the fire lights without shadows, fading
        // between the two at the frame's edge so no seam shows. Far from the fire its light is
        // too weak for a shadow to show, and the lookups are saved.
        float shadowWeight = frameMask(fireShadowCoord) *
                             (1.0 - smoothstep(fireShadowFadeStart2, fireShadowFadeEnd2, fireDistance2));
        float fireVisibility =
            shadowWeight > 0.0 ? mix(1.0, visibility(fireShadowMap, fireShadowCoord), shadowWeight)
                               : 1.0;
        lighting += fireColor * (fireStrength * fireVisibility * fireFacing / (1.0 + fireDistance2));
    }

    color = albedo * (lighting + glow) + sheen;
    if (cameraInSunlight > 0.0) {
        color += lightColor * (sunVeilStrength * cameraInSunlight *
                               (1.0 - exp(-rayLength / sunVeilDistance)));
    }

    float luminance = dot(color, vec3(0.2126, 0.7152, 0.0722));
    float knee = clamp(luminance - bloomThreshold + bloomKnee, 0.0, 2.0 * bloomKnee);
    knee = knee * knee / (4.0 * bloomKnee);
    float share = max(knee, luminance - bloomThreshold) / max(luminance, 1e-4);
    brightColor = min(color * share, vec3(bloomCap));
}
