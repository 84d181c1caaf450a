#version 330 core
// One pass of the separable bloom blur; "horizontal" picks the axis. The chain runs 20 identical
// passes (10 per axis), so the result is this kernel convolved with itself 10 times per axis.
//
// Kernel: three taps at -1, 0, +1 texels with weights 0.4, 0.2, 0.4, read with texelFetch. On
// software GL each tap adds about half the cost of a plain copy pass, and a bilinear texture()
// tap costs about twice a texelFetch, so three fetches keep the chain near two copy passes'
// cost. The variance is 0.8 texels^2 per pass, so 10 passes give a Gaussian of sigma 2.8
// texels; weighting the outer taps more than the centre widens it by a quarter over the
// binomial 1-2-1 kernel while the checkerboard ripple stays below 1% of the peak (0.6^10).

uniform sampler2D image;
uniform int horizontal;
uniform vec2 resolution;

out vec3 color;

const float centreWeight = 0.2;
const float sideWeight = 0.4;

void main() {
    ivec2 centre = ivec2(gl_FragCoord.xy);
    ivec2 lastTexel = ivec2(resolution) - 1;
    ivec2 step = horizontal == 1 ? ivec2(1, 0) : ivec2(0, 1);
    // Clamp to the edge: the tap before the centre can only leave the image at 0, the tap
    // after it only at the far edge.
    color = centreWeight * texelFetch(image, centre, 0).rgb +
            sideWeight * (texelFetch(image, max(centre - step, 0), 0).rgb +
                          texelFetch(image, min(centre + step, lastTexel), 0).rgb);
}
