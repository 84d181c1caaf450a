#version 330 core
// Standard shading, fragment stage. Lights the diffuse texture with an ambient term, the main
// light (a wide spot through the window, shadowed) and the fire (a flickering point light,
// shadowed on its +z side), adds the glow of the window light in the air, and writes the HDR
// colour (output 0) and its bright part for bloom (output 1).

in vec3 position_worldSpace;
in vec3 normal_worldSpace;
in vec3 camera_worldSpace;
in vec2 textureCoordinate;
in vec4 fireShadowCoord;
in vec4 lightShadowCoord;

uniform sampler2D texture_sampler;
uniform sampler2DShadow fireShadowMap;
uniform sampler2DShadow lightShadowMap;
uniform vec4 cameraShadowCoord;
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
// Fraction of the spot's texture-space frame over which it fades out, so the frustum's edge is
// a soft falloff rather than a hard rectangle of light.
const float spotEdge = 0.12;
// Fire falloff: strength / (1 + d^2). 30 makes stone 1.5 units from the flames bloom, and the
// light still reaches the walls 8 units away.
const float fireStrength = 30.0;
// Texel size of both 1024x1024 shadow maps and the PCF tap radius in texels: four taps on a
// rotated square, each a hardware 2x2 linear comparison, give a soft edge about 3 texels wide.
const float shadowTexel = 1.0 / 1024.0;
const float pcfRadius = 1.25;
// Left after the normal offset: a sliver of window-space depth against rounding.
const float depthBias = 0.00005;
// Blinn-Phong sheen; the textures carry no gloss map, so one modest value serves all surfaces.
const float specularStrength = 0.2;
const float shininess = 24.0;
// In-scattering of the window light along the view ray: strength per unit of lit path, capped
// so a long look down the beam does not wash the picture out.
const float hazeDensity = 0.012;
const float hazeLimit = 0.25;
const int hazeSamples = 6;
// Bloom's bright pass: luminance above the threshold goes to bloom, eased in over the knee so
// there is no hard edge; the cap keeps single bright pixels from turning into fireflies.
const float bloomThreshold = 1.0;
const float bloomKnee = 0.5;
const float bloomCap = 8.0;

const vec2 pcfTaps[4] = vec2[](vec2(-0.5, -1.0), vec2(1.0, -0.5), vec2(0.5, 1.0), vec2(-1.0, 0.5));

// 1 inside the map's frame, fading to 0 towards its edges and behind the light.
float frameMask(vec4 shadowCoord) {
    if (shadowCoord.w <= 0.0) {
        return 0.0;
    }
    vec2 p = shadowCoord.xy / shadowCoord.w;
    vec2 inside = smoothstep(0.0, spotEdge, p) * smoothstep(0.0, spotEdge, 1.0 - p);
    return inside.x * inside.y;
}

// Fraction of the surface lit by the light of `shadowMap`.
float visibility(sampler2DShadow shadowMap, vec4 shadowCoord) {
    vec3 p = shadowCoord.xyz / shadowCoord.w;
    p.z -= depthBias;
    float lit = 0.0;
    for (int i = 0; i < 4; ++i) {
        lit += texture(shadowMap, vec3(p.xy + pcfTaps[i] * (pcfRadius * shadowTexel), p.z));
    }
    return lit * 0.25;
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

// Window light scattered towards the eye along the ray from the camera to this fragment, both
// given in the main light's shadow-map space; homogeneous interpolation keeps the samples evenly
// spread in world space. A per-pixel offset turns sample banding into fine grain.
float windowHaze(float rayLength) {
    float jitter = fract(52.9829189 * fract(dot(gl_FragCoord.xy, vec2(0.06711056, 0.00583715))));
    float lit = 0.0;
    for (int i = 0; i < hazeSamples; ++i) {
        vec4 sampleCoord =
            mix(cameraShadowCoord, lightShadowCoord, (float(i) + jitter) / float(hazeSamples));
        float mask = frameMask(sampleCoord);
        if (mask > 0.0) {
            lit += mask * textureProj(lightShadowMap, sampleCoord);
        }
    }
    return min(hazeDensity * rayLength * lit / float(hazeSamples), hazeLimit);
}

void main() {
    // Textures are stored gamma-encoded; light them in linear space.
    vec3 albedo = pow(texture(texture_sampler, textureCoordinate).rgb, vec3(2.2));
    vec3 normal = surfaceNormal();
    vec3 toCameraRay = camera_worldSpace - position_worldSpace;
    float rayLength = length(toCameraRay);
    vec3 toCamera = toCameraRay / rayLength;

    // Sky from above, floor bounce from below: a little shape where only ambient light falls.
    vec3 lighting = ambientLightColor * (0.85 + 0.15 * normal.y);
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
        // between the two at the frame's edge so no seam shows.
        float inFrame = frameMask(fireShadowCoord);
        float fireVisibility = inFrame > 0.0
                                   ? mix(1.0, visibility(fireShadowMap, fireShadowCoord), inFrame)
                                   : 1.0;
        vec3 fireLight = fireColor * (fireStrength * fireVisibility / (1.0 + fireDistance2));
        lighting += fireLight * fireFacing;
        sheen += fireLight * specular(normal, toFire, toCamera);
    }

    color = albedo * lighting + sheen + lightColor * windowHaze(rayLength);

    float luminance = dot(color, vec3(0.2126, 0.7152, 0.0722));
    float knee = clamp(luminance - bloomThreshold + bloomKnee, 0.0, 2.0 * bloomKnee);
    knee = knee * knee / (4.0 * bloomKnee);
    float share = max(knee, luminance - bloomThreshold) / max(luminance, 1e-4);
    brightColor = min(color * share, vec3(bloomCap));
}
