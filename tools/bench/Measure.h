// What the bench times: each row of its tables and each figure of its BENCH line.
#pragma once

enum Measure {
    // The passes of a redrawn frame, in the frame's order.
    clearPass,
    fireShadowPass,
    mainShadowPass,
    arrowPass,
    roomPass,
    blurPass,
    compositePass,
    // The picture put into the window: the last pass of every frame, redrawn or not.
    presentPicturePass,
    // The references for the blur, run on the same bloom image.
    copyFloorChain,
    tutorialBloomChain,
    // Whole frames through runFrame, and what the program's loop adds after each.
    redrawFrame,
    idleFrame,
    swapAndPoll,
    measureCount
};

struct MeasureInfo {
    const char* label;
    // Stem of the BENCH keys: "<stem>_ms_median" and, with GL time, "<stem>_gl_ms_median".
    const char* key;
    // The swap hands the image to the X server outside the GL command stream, so a timer query
    // around it would say nothing.
    bool hasGlTime;
};

inline const MeasureInfo& measureInfo(Measure measure) {
    static const MeasureInfo table[measureCount] = {
        {"scene framebuffer clear", "clear", true},
        {"fire shadow pass", "fire_shadow", true},
        {"main shadow pass", "main_shadow", true},
        {"arrow draw", "arrow", true},
        {"room draw", "room", true},
        {"bloom blur (20 passes)", "blur", true},
        {"composite", "composite", true},
        {"present picture", "present_picture", true},
        {"ref: copy floor (20 passes)", "copy_floor", true},
        {"ref: tutorial bloom (10 passes)", "tutorial_bloom", true},
        {"redraw frame (runFrame)", "redraw", true},
        {"idle frame (runFrame)", "idle", true},
        {"swap + poll (idle frames)", "swap", false},
    };
    return table[measure];
}
