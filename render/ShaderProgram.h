// A GLSL vertex + fragment shader pair linked into one program. Building one reports a failure
// to the caller, which decides what the program does about it.
#pragma once

#include <GL/glew.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

// Why a program could not be built.
struct ShaderFailure {
    // The source that failed: its path, or the name given with a source text; empty when the
    // program itself could not be created or linked.
    std::string source;
    // What the program prints for it: the system's own line, or the driver's log as it is.
    std::string message;
};

// A shader's source text and the name it goes by in failures.
struct ShaderSource {
    std::string name;
    std::string text;
};

// Reads a shader file into a source named by its path; nothing (and `failure` filled with the
// system's line for a missing file) when it cannot be opened.
std::optional<ShaderSource> readShaderSource(const std::string& path, ShaderFailure& failure);

class ShaderProgram {
  public:
    // Reads, compiles and links the two files. Returns null and fills `failure` at the first
    // step that fails: the program, the vertex file (read, create, compile), then the fragment
    // file, then the link. Whatever was created before the failure is deleted.
    static std::unique_ptr<ShaderProgram> fromFiles(const std::string& vertexPath,
                                                    const std::string& fragmentPath,
                                                    ShaderFailure& failure);
    // The same from source texts in memory.
    static std::unique_ptr<ShaderProgram>
    fromSources(const ShaderSource& vertex, const ShaderSource& fragment, ShaderFailure& failure);
    ~ShaderProgram();

    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    GLuint programId() const { return programId_; }

  private:
    ShaderProgram() = default;

    // Each step returns false after filling `failure`.
    bool createProgram(ShaderFailure& failure);
    bool compileShader(const ShaderSource& source, GLenum shaderType, GLuint& shaderId,
                       ShaderFailure& failure);
    bool link(ShaderFailure& failure);
    // Gives the uniforms the browser's shading language could not initialise their value.
    void setIdentityUniforms() const;

    GLuint programId_ = 0;
    GLuint vertexShaderId_ = 0;
    GLuint fragmentShaderId_ = 0;
    std::vector<std::string> identityUniforms_;
};
