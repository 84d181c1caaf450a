// A GLSL vertex + fragment shader pair linked into one program; every failure ends the process.
#pragma once

#include <GL/glew.h>

#include <string>

class ShaderProgram {
  public:
    ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath);
    ~ShaderProgram();

    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    GLuint programId() const { return programId_; }

  private:
    void loadShader(const std::string& path, GLenum shaderType, GLuint& shaderId);
    void linkProgram();

    GLuint programId_ = 0;
    GLuint vertexShaderId_ = 0;
    GLuint fragmentShaderId_ = 0;
};
