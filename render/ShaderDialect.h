// The shader files are written for desktop OpenGL 3.3 core. A browser's WebGL2 takes GLSL ES
// 3.00 instead, which differs from them in three ways only: its version line, the precisions a
// fragment (and, for shadow samplers, every) stage must declare, and uniforms, which it does not
// let a source give a starting value. The files stay one set; the browser build converts them
// as it compiles them.
#pragma once

#include <string>
#include <vector>

struct ShaderText {
    std::string text;
    // Uniforms whose initialiser was taken out: the program sets each to the identity after
    // linking. Only `uniform mat4 NAME = mat4(1.0);`, written exactly so, is converted.
    std::vector<std::string> identityUniforms;
};

// The GLSL ES 3.00 form of a "#version 330 core" source.
ShaderText toGlslEs(const std::string& desktopSource);

// The source as this build's GL takes it: unchanged on the desktop, toGlslEs in the browser.
ShaderText forThisPlatform(const std::string& desktopSource);
