#include "web/GlProgram.h"

#include <GLES2/gl2.h>

namespace {

GLuint compile(GLenum type, const char* source) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

}  // namespace

unsigned linkProgram(const char* vertexSource, const char* fragmentSource,
                     const std::vector<const char*>& attributes) {
    const GLuint program = glCreateProgram();
    const GLuint vertex = compile(GL_VERTEX_SHADER, vertexSource);
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentSource);
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
        glDeleteProgram(program);
        return 0;
    }
    glUseProgram(program);
    return program;
}

void useAttributes(int count, int limit) {
    for (int i = 0; i < limit; ++i) {
        if (i < count) {
            glEnableVertexAttribArray(static_cast<GLuint>(i));
        } else {
            glDisableVertexAttribArray(static_cast<GLuint>(i));
        }
    }
}
