#pragma once
#include <glm/mat4x4.hpp>

// One linked GL program built from a vertex file and a fragment file.
// Building never fails in a way the caller sees: errors are printed and the
// program name is kept whatever happened. Every setter looks the uniform's
// location up by name and acts on the program that is currently bound.
class Shader {
public:
    unsigned int ID = 0;

    Shader() = default;
    Shader(const char* vertexPath, const char* fragmentPath);

    void use() const;
    void setInt(const char* name, int value) const;
    void setFloat(const char* name, float value) const;
    void setMat4(const char* name, const glm::mat4& matrix) const;

private:
    // type is "VERTEX", "FRAGMENT" or "PROGRAM".
    static void checkStatus(unsigned int object, const char* type);
};
