#include "render/GlDebugReport.h"

#include <GL/glew.h>
#include <execinfo.h>

namespace {

// Deep enough to reach from the driver's callback back through our own code to main().
constexpr int stackDepth = 32;

const char* typeName(GLenum type) {
    switch (type) {
    case GL_DEBUG_TYPE_ERROR:
        return "error";
    case GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR:
        return "undefined behaviour";
    default:
        return "message";
    }
}

void GLAPIENTRY report(GLenum /*source*/, GLenum type, GLuint id, GLenum /*severity*/,
                       GLsizei /*length*/, const GLchar* message, const void* userParam) {
    std::FILE* out = static_cast<std::FILE*>(const_cast<void*>(userParam));
    std::fprintf(out, "GL %s %u: %s\ncalled from:\n", typeName(type), id, message);
    std::fflush(out);
    void* frames[stackDepth];
    const int depth = backtrace(frames, stackDepth);
    // Frame 0 is this callback; the driver's frames follow, then the caller's.
    backtrace_symbols_fd(frames + 1, depth - 1, fileno(out));
}

} // namespace

bool installGlDebugReport(std::FILE* out) {
    if (glDebugMessageCallback == nullptr || glDebugMessageControl == nullptr) {
        return false;
    }
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    // Only what is wrong: drivers also describe their own work (shader recompiles, buffer
    // placement) as notifications and performance hints.
    glDebugMessageControl(GL_DONT_CARE, GL_DONT_CARE, GL_DONT_CARE, 0, nullptr, GL_FALSE);
    glDebugMessageControl(GL_DONT_CARE, GL_DEBUG_TYPE_ERROR, GL_DONT_CARE, 0, nullptr, GL_TRUE);
    glDebugMessageControl(GL_DONT_CARE, GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR, GL_DONT_CARE, 0, nullptr,
                          GL_TRUE);
    glDebugMessageCallback(report, out);
    return true;
}

void removeGlDebugReport() {
    if (glDebugMessageCallback == nullptr) {
        return;
    }
    glDebugMessageCallback(nullptr, nullptr);
    glDisable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDisable(GL_DEBUG_OUTPUT);
}
