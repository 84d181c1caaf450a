#include "render/ShaderDialect.h"

#include <regex>

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
    const size_t version = converted.text.find(desktopVersion);
    if (version != std::string::npos) {
        converted.text.replace(version, desktopVersion.size(), esPreamble);
    }
    const std::regex initialisedIdentity(R"(uniform\s+mat4\s+(\w+)\s*=\s*mat4\(\s*1\.0\s*\)\s*;)");
    std::string text;
    auto from = converted.text.cbegin();
    for (std::sregex_iterator
             match(converted.text.cbegin(), converted.text.cend(), initialisedIdentity),
         end;
         match != end; ++match) {
        const std::string name = (*match)[1];
        text.append(from, (*match)[0].first);
        text += "uniform mat4 " + name + ";";
        from = (*match)[0].second;
        converted.identityUniforms.push_back(name);
    }
    text.append(from, converted.text.cend());
    converted.text = text;
    return converted;
}

ShaderText forThisPlatform(const std::string& desktopSource) {
#ifdef __EMSCRIPTEN__
    return toGlslEs(desktopSource);
#else
    return {desktopSource, {}};
#endif
}
