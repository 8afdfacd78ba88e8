#include "render/shader.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <cstring>

#include <glm/gtc/type_ptr.hpp>

#include "render/gl.h"

Shader::Shader(const char* vertexPath, const char* fragmentPath) {
    std::string vertexCode;
    std::string fragmentCode;
    std::ifstream vertexFile;
    std::ifstream fragmentFile;
    vertexFile.exceptions(std::ifstream::failbit | std::ifstream::badbit);
    fragmentFile.exceptions(std::ifstream::failbit | std::ifstream::badbit);
    try {
        vertexFile.open(vertexPath);
        fragmentFile.open(fragmentPath);
        std::stringstream vertexStream;
        std::stringstream fragmentStream;
        vertexStream << vertexFile.rdbuf();
        fragmentStream << fragmentFile.rdbuf();
        vertexFile.close();
        fragmentFile.close();
        // Both texts are taken only after both files were read and closed,
        // so any failure leaves both empty.
        vertexCode = vertexStream.str();
        fragmentCode = fragmentStream.str();
    } catch (const std::ifstream::failure&) {
        std::cout << "ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ" << std::endl;
    }
    const char* vertexText = vertexCode.c_str();
    const char* fragmentText = fragmentCode.c_str();

    unsigned int vertex = glCreateShader(GL_VERTEX_SHADER);
    glShaderSource(vertex, 1, &vertexText, nullptr);
    glCompileShader(vertex);
    checkStatus(vertex, "VERTEX");

    unsigned int fragment = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(fragment, 1, &fragmentText, nullptr);
    glCompileShader(fragment);
    checkStatus(fragment, "FRAGMENT");

    ID = glCreateProgram();
    glAttachShader(ID, vertex);
    glAttachShader(ID, fragment);
    glLinkProgram(ID);
    checkStatus(ID, "PROGRAM");

    glDeleteShader(vertex);
    glDeleteShader(fragment);
}

void Shader::use() const { glUseProgram(ID); }

void Shader::setInt(const char* name, int value) const {
    glUniform1i(glGetUniformLocation(ID, name), value);
}

void Shader::setFloat(const char* name, float value) const {
    glUniform1f(glGetUniformLocation(ID, name), value);
}

void Shader::setMat4(const char* name, const glm::mat4& matrix) const {
    glUniformMatrix4fv(glGetUniformLocation(ID, name), 1, GL_FALSE, glm::value_ptr(matrix));
}

void Shader::checkStatus(unsigned int object, const char* type) {
    GLint success = 0;
    GLchar infoLog[1024] = {};
    const char* heading = nullptr;
    if (std::strcmp(type, "PROGRAM") == 0) {
        glGetProgramiv(object, GL_LINK_STATUS, &success);
        if (success) return;
        glGetProgramInfoLog(object, 1024, nullptr, infoLog);
        heading = "ERROR::PROGRAM_LINKING_ERROR of type: ";
    } else {
        glGetShaderiv(object, GL_COMPILE_STATUS, &success);
        if (success) return;
        glGetShaderInfoLog(object, 1024, nullptr, infoLog);
        heading = "ERROR::SHADER_COMPILATION_ERROR of type: ";
    }
    std::cout << heading << type << "\n"
              << infoLog << "\n -- --------------------------------------------------- -- "
              << std::endl;
}
