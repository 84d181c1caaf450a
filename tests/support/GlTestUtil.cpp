#include "support/GlTestUtil.h"

#include <cstdio>
#include <cstdlib>

std::unique_ptr<ShaderProgram> demoProgram(const char* vertexPath, const char* fragmentPath) {
    ShaderFailure failure;
    std::unique_ptr<ShaderProgram> program =
        ShaderProgram::fromFiles(vertexPath, fragmentPath, failure);
    if (program == nullptr) {
        std::fprintf(stderr, "cannot build %s + %s: %s\n", vertexPath, fragmentPath,
                     failure.message.c_str());
        std::exit(1);
    }
    return program;
}

GLint glInteger(GLenum parameter) {
    GLint value = 0;
    glGetIntegerv(parameter, &value);
    return value;
}

std::vector<float> readTextureRgb(GLuint texture, int width, int height) {
    std::vector<float> texels(static_cast<size_t>(width) * height * 3);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_FLOAT, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texels;
}

void writeTextureRgb(GLuint texture, int width, int height, const std::vector<float>& rgb) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGB, GL_FLOAT, rgb.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
}
