#include "web/GlProgram.h"

#include <GLES2/gl2.h>

#include <cstdio>
#include <string>

namespace {

// A shader's or program's log from the driver, without its terminator.
std::string infoLog(GLuint object, bool isShader) {
    GLint length = 0;
    if (isShader) {
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    } else {
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    }
    std::string log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    if (isShader) {
        glGetShaderInfoLog(object, static_cast<GLsizei>(log.size()), nullptr, log.data());
    } else {
        glGetProgramInfoLog(object, static_cast<GLsizei>(log.size()), nullptr, log.data());
    }
    return log.substr(0, log.find('\0'));
}

// Goes in front of every fragment shader. A GPU need not offer highp there,
// and on one without it a shader that asks for highp does not compile.
constexpr const char* FragmentPrecision = R"(#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#define ROUGH
#endif
)";

// The shader, or 0 when it does not compile.
GLuint compile(GLenum type, const char* source) {
    const GLuint shader = glCreateShader(type);
    const char* sources[] = {type == GL_FRAGMENT_SHADER ? FragmentPrecision : "", source};
    glShaderSource(shader, 2, sources, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE) {
        return shader;
    }
    std::fprintf(stderr, "WebGL did not compile the %s shader: %s\n",
                 type == GL_VERTEX_SHADER ? "vertex" : "fragment", infoLog(shader, true).c_str());
    glDeleteShader(shader);
    return 0;
}

}  // namespace

unsigned linkProgram(const char* vertexSource, const char* fragmentSource,
                     const std::vector<const char*>& attributes) {
    const GLuint vertex = compile(GL_VERTEX_SHADER, vertexSource);
    const GLuint fragment = vertex == 0 ? 0 : compile(GL_FRAGMENT_SHADER, fragmentSource);
    if (fragment == 0) {
        glDeleteShader(vertex);
        return 0;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    for (GLuint i = 0; i < attributes.size(); ++i) {
        glBindAttribLocation(program, i, attributes[i]);
    }
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        std::fprintf(stderr, "WebGL did not link a program: %s\n", infoLog(program, false).c_str());
        glDeleteProgram(program);
        return 0;
    }
    glUseProgram(program);
    return program;
}

void useAttributes(int count) {
    for (int i = 0; i < MostAttributes; ++i) {
        if (i < count) {
            glEnableVertexAttribArray(static_cast<GLuint>(i));
        } else {
            glDisableVertexAttribArray(static_cast<GLuint>(i));
        }
    }
}
