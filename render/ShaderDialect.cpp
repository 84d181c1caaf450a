#include "render/ShaderDialect.h"

#include <cctype>

namespace {

const std::string desktopVersion = "#version 330 core";
// highp everywhere: the lighting works in world units tens of units across, and mediump's
// 10-bit mantissa would band it. Shadow samplers have no default precision in either stage.
const std::string esPreamble = "#version 300 es\n"
                               "precision highp float;\n"
                               "precision highp int;\n"
                               "precision highp sampler2DShadow;";

} // namespace

ShaderText toGlslEs(const std::string& desktopSource) {
    ShaderText converted{desktopSource, {}};
    std::string& text = converted.text;
    const size_t version = text.find(desktopVersion);
    if (version != std::string::npos) {
        text.replace(version, desktopVersion.size(), esPreamble);
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
