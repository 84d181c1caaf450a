#version 330 core
// One pass of the separable bloom blur; "horizontal" picks the axis. The chain runs 20 identical
// passes (10 per axis), so the result is this kernel convolved with itself 10 times per axis.
//
// Kernel: four equal taps at -2, -1, +1, +2 texels, read with texelFetch (bilinear texture()
// costs about twice as much per tap on software GL). Its variance is 2.5 texels^2 per pass, so 10
// passes give a Gaussian of sigma = 5 texels, wider than the usual 5-weight tutorial kernel run
// 5 times per axis (sigma about 3.8). The taps straddle both parities, so the repeated kernel
// fills every texel: the worst ripple after 10 passes is 0.5^10 of the peak.

uniform sampler2D image;
uniform int horizontal;
uniform vec2 resolution;

out vec3 color;

const float tapWeight = 0.25;

void main() {
    ivec2 center = ivec2(gl_FragCoord.xy);
    ivec2 lastTexel = ivec2(resolution) - 1;
    ivec2 step = horizontal == 1 ? ivec2(1, 0) : ivec2(0, 1);
    // Clamp to the edge: taps before the centre can only leave the image at 0, taps after it
    // only at the far edge.
    color = tapWeight * (texelFetch(image, max(center - 2 * step, 0), 0).rgb +
                         texelFetch(image, max(center - step, 0), 0).rgb +
                         texelFetch(image, min(center + step, lastTexel), 0).rgb +
                         texelFetch(image, min(center + 2 * step, lastTexel), 0).rgb);
}
