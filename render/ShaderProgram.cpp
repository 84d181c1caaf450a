#include "render/ShaderProgram.h"

#include "app/FatalError.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

ShaderProgram::ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath) {
    programId_ = glCreateProgram();
    if (programId_ == 0) {
        fatalError("ERROR: Program could not be created!");
    }
    loadShader(vertexPath, GL_VERTEX_SHADER, vertexShaderId_);
    loadShader(fragmentPath, GL_FRAGMENT_SHADER, fragmentShaderId_);
    linkProgram();
}

ShaderProgram::~ShaderProgram() {
    glDeleteProgram(programId_);
    glDeleteShader(vertexShaderId_);
    glDeleteShader(fragmentShaderId_);
}

void ShaderProgram::loadShader(const std::string& path, GLenum shaderType, GLuint& shaderId) {
    std::ifstream file(path);
    if (!file.good()) {
        fatalError("ERROR: Could not load file " + path);
    }
    const std::string source((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
    file.close();

    shaderId = glCreateShader(shaderType);
    if (shaderId == 0) {
        fatalError("ERROR: Could not create Shader. ");
    }
    const char* text = source.c_str();
    glShaderSource(shaderId, 1, &text, nullptr);
    glCompileShader(shaderId);

    GLint compiled = 0;
    glGetShaderiv(shaderId, GL_COMPILE_STATUS, &compiled);
    if (compiled != 0) {
        return;
    }
    GLint logLength = 0;
    glGetShaderiv(shaderId, GL_INFO_LOG_LENGTH, &logLength);
    // One extra byte keeps the text terminated even if a driver reports a length of 0.
    std::vector<char> log(static_cast<size_t>(logLength) + 1, '\0');
    glGetShaderInfoLog(shaderId, logLength, nullptr, log.data());
    std::cout << log.data() << std::endl;
    stopAfterFatalError();
}

void ShaderProgram::linkProgram() {
    glAttachShader(programId_, vertexShaderId_);
    glAttachShader(programId_, fragmentShaderId_);
    glLinkProgram(programId_);

    GLint linked = 0;
    glGetProgramiv(programId_, GL_LINK_STATUS, &linked);
    if (linked != 0) {
        return;
    }
    GLint logLength = 0;
    glGetProgramiv(programId_, GL_INFO_LOG_LENGTH, &logLength);
    std::vector<char> log(static_cast<size_t>(logLength) + 1, '\0');
    glGetProgramInfoLog(programId_, logLength, nullptr, log.data());
    std::cout << log.data() << std::endl;
    stopAfterFatalError();
}
