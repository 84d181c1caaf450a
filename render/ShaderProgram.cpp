#include "render/ShaderProgram.h"

#include "render/ShaderDialect.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace {

// An info log as the driver wrote it, up to its terminating zero.
template <typename GetLength, typename GetLog>
std::string infoLog(GetLength getLength, GetLog getLog) {
    GLint logLength = 0;
    getLength(&logLength);
    // One extra byte keeps the text terminated even if a driver reports a length of 0.
    std::vector<char> log(static_cast<size_t>(logLength) + 1, '\0');
    getLog(logLength, log.data());
    return std::string(log.data());
}

} // namespace

std::optional<ShaderSource> readShaderSource(const std::string& path, ShaderFailure& failure) {
    const ShaderFailure unreadable{path, "ERROR: Could not load file " + path};
    // A directory opens like a file on Linux (and its read then fails), while other C++
    // libraries read it as empty text: refused before the open, it is reported alike everywhere.
    std::error_code ignored;
    std::ifstream file;
    if (!std::filesystem::is_directory(path, ignored)) {
        file.open(path);
    }
    if (!file.is_open() || !file.good()) {
        failure = unreadable;
        return std::nullopt;
    }
    try {
        return ShaderSource{path, std::string((std::istreambuf_iterator<char>(file)),
                                              std::istreambuf_iterator<char>())};
    } catch (const std::ios_base::failure&) {
        // libstdc++'s stream buffer throws when a read fails after the open (an I/O error).
        failure = unreadable;
        return std::nullopt;
    }
}

std::unique_ptr<ShaderProgram> ShaderProgram::fromFiles(const std::string& vertexPath,
                                                        const std::string& fragmentPath,
                                                        ShaderFailure& failure) {
    // Each file is read just before it is compiled, so a broken vertex shader is reported
    // before a missing fragment file.
    std::unique_ptr<ShaderProgram> program(new ShaderProgram);
    if (!program->createProgram(failure)) {
        return nullptr;
    }
    const std::optional<ShaderSource> vertex = readShaderSource(vertexPath, failure);
    if (!vertex ||
        !program->compileShader(*vertex, GL_VERTEX_SHADER, program->vertexShaderId_, failure)) {
        return nullptr;
    }
    const std::optional<ShaderSource> fragment = readShaderSource(fragmentPath, failure);
    if (!fragment || !program->compileShader(*fragment, GL_FRAGMENT_SHADER,
                                             program->fragmentShaderId_, failure)) {
        return nullptr;
    }
    return program->link(failure) ? std::move(program) : nullptr;
}

std::unique_ptr<ShaderProgram> ShaderProgram::fromSources(const ShaderSource& vertex,
                                                          const ShaderSource& fragment,
                                                          ShaderFailure& failure) {
    std::unique_ptr<ShaderProgram> program(new ShaderProgram);
    if (!program->createProgram(failure) ||
        !program->compileShader(vertex, GL_VERTEX_SHADER, program->vertexShaderId_, failure) ||
        !program->compileShader(fragment, GL_FRAGMENT_SHADER, program->fragmentShaderId_,
                                failure) ||
        !program->link(failure)) {
        return nullptr;
    }
    return program;
}

ShaderProgram::~ShaderProgram() {
    glDeleteProgram(programId_);
    glDeleteShader(vertexShaderId_);
    glDeleteShader(fragmentShaderId_);
}

bool ShaderProgram::createProgram(ShaderFailure& failure) {
    programId_ = glCreateProgram();
    if (programId_ == 0) {
        failure = {"", "ERROR: Program could not be created!"};
        return false;
    }
    return true;
}

bool ShaderProgram::compileShader(const ShaderSource& source, GLenum shaderType, GLuint& shaderId,
                                  ShaderFailure& failure) {
    shaderId = glCreateShader(shaderType);
    if (shaderId == 0) {
        failure = {source.name, "ERROR: Could not create Shader. "};
        return false;
    }
    const ShaderText platformSource = forThisPlatform(source.text);
    identityUniforms_.insert(identityUniforms_.end(), platformSource.identityUniforms.begin(),
                             platformSource.identityUniforms.end());
    const char* text = platformSource.text.c_str();
    glShaderSource(shaderId, 1, &text, nullptr);
    glCompileShader(shaderId);

    GLint compiled = 0;
    glGetShaderiv(shaderId, GL_COMPILE_STATUS, &compiled);
    if (compiled != 0) {
        return true;
    }
    const GLuint id = shaderId;
    failure = {
        source.name,
        infoLog([id](GLint* length) { glGetShaderiv(id, GL_INFO_LOG_LENGTH, length); },
                [id](GLint length, char* log) { glGetShaderInfoLog(id, length, nullptr, log); })};
    return false;
}

void ShaderProgram::setIdentityUniforms() const {
    if (identityUniforms_.empty()) {
        return;
    }
    const GLfloat identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    glUseProgram(programId_);
    for (const std::string& name : identityUniforms_) {
        glUniformMatrix4fv(glGetUniformLocation(programId_, name.c_str()), 1, GL_FALSE, identity);
    }
    glUseProgram(0);
}

bool ShaderProgram::link(ShaderFailure& failure) {
    glAttachShader(programId_, vertexShaderId_);
    glAttachShader(programId_, fragmentShaderId_);
    glLinkProgram(programId_);

    GLint linked = 0;
    glGetProgramiv(programId_, GL_LINK_STATUS, &linked);
    if (linked != 0) {
        setIdentityUniforms();
        return true;
    }
    const GLuint id = programId_;
    failure = {"", infoLog([id](GLint* length) { glGetProgramiv(id, GL_INFO_LOG_LENGTH, length); },
                           [id](GLint length, char* log) {
                               glGetProgramInfoLog(id, length, nullptr, log);
                           })};
    return false;
}
