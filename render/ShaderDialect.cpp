#include "render/ShaderDialect.h"

#include <algorithm>
#include <cctype>

namespace {

const std::string desktopVersion = "#version 330 core";
const std::string esVersion = "#version 300 es\n";
// highp everywhere: the lighting works in world units tens of units across, and mediump's
// 10-bit mantissa would band it. Shadow samplers have no default precision in either stage.
const std::string esPrecisions = "precision highp float;\n"
                                 "precision highp int;\n"
                                 "precision highp sampler2DShadow;\n";

// The first place from `at` on that is neither blank space nor a comment.
size_t skipBlanksAndComments(const std::string& text, size_t at) {
    while (at < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[at]))) {
            ++at;
        } else if (text.compare(at, 2, "//") == 0) {
            at = std::min(text.find('\n', at), text.size());
        } else if (text.compare(at, 2, "/*") == 0) {
            const size_t end = text.find("*/", at + 2);
            at = end == std::string::npos ? text.size() : end + 2;
        } else {
            break;
        }
    }
    return at;
}

// Just past the line break that ends the line at `at`, or the end of the text.
size_t nextLine(const std::string& text, size_t at) {
    const size_t lineBreak = text.find('\n', at);
    return lineBreak == std::string::npos ? text.size() : lineBreak + 1;
}

} // namespace

ShaderText toGlslEs(const std::string& desktopSource) {
    ShaderText converted{desktopSource, {}};
    std::string& text = converted.text;
    // The desktop's version line is the first thing past comments (one inside a comment above it
    // is no directive). WebGL takes a shader as GLSL ES 3.00 only when its very first line says
    // so, and GLSL ES wants any #extension lines ahead of every declaration: the version line
    // moves to the top, and the precisions go after the last #extension line that followed it.
    const size_t version = skipBlanksAndComments(text, 0);
    if (text.compare(version, desktopVersion.size(), desktopVersion) == 0) {
        text.erase(version, nextLine(text, version) - version);
        size_t declarationsStart = version;
        for (size_t next = skipBlanksAndComments(text, declarationsStart);
             text.compare(next, 10, "#extension") == 0;
             next = skipBlanksAndComments(text, declarationsStart)) {
            declarationsStart = nextLine(text, next);
        }
        if (declarationsStart > 0 && text[declarationsStart - 1] != '\n') {
            text.insert(declarationsStart++, "\n");
        }
        text.insert(declarationsStart, esPrecisions);
        text.insert(0, esVersion);
    }
    const std::string declaration = "uniform mat4 ";
    const std::string identityInitialiser = " = mat4(1.0);";
    for (size_t at = text.find(declaration); at != std::string::npos;
         at = text.find(declaration, at)) {
        const size_t nameStart = at + declaration.size();
        size_t nameEnd = nameStart;
        while (nameEnd < text.size() &&
               (std::isalnum(static_cast<unsigned char>(text[nameEnd])) || text[nameEnd] == '_')) {
            ++nameEnd;
        }
        if (text.compare(nameEnd, identityInitialiser.size(), identityInitialiser) == 0) {
            converted.identityUniforms.push_back(text.substr(nameStart, nameEnd - nameStart));
            text.replace(nameEnd, identityInitialiser.size(), ";");
        }
        at = nameEnd;
    }
    return converted;
}

ShaderText forThisPlatform(const std::string& desktopSource) {
#ifdef __EMSCRIPTEN__
    return toGlslEs(desktopSource);
#else
    return {desktopSource, {}};
#endif
}
