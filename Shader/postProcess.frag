#version 330 core
// Final composite: HDR scene colour plus the blurred bright pass (when "bloom" is 1), tone
// mapped into display range and gamma encoded for the window.

uniform sampler2D sceneTexture;
uniform sampler2D bloomTexture;
uniform int bloom;
uniform vec2 resolution;

out vec4 color;

// Bloom is added at less than full strength so glowing surfaces keep their shape.
const float bloomStrength = 0.6;
// Scales scene radiance before tone mapping; 1.0 keeps the lit room's mid-tones near 0.5.
const float exposure = 1.0;
const float inverseGamma = 1.0 / 2.2;

// Narkowicz's fit of the ACES filmic curve: soft highlight roll-off, deeper shadows than Reinhard.
vec3 toneMap(vec3 x) {
    return clamp((x * (2.51 * x + 0.03)) / (x * (2.43 * x + 0.59) + 0.14), 0.0, 1.0);
}

void main() {
    ivec2 texel = clamp(ivec2(gl_FragCoord.xy), ivec2(0), ivec2(resolution) - 1);
    vec3 hdr = texelFetch(sceneTexture, texel, 0).rgb;
    if (bloom == 1) {
        hdr += bloomStrength * texelFetch(bloomTexture, texel, 0).rgb;
    }
    color = vec4(pow(toneMap(hdr * exposure), vec3(inverseGamma)), 1.0);
}
