#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "fake_gl.h"
#include "render/shader.h"

namespace {

namespace fs = std::filesystem;

const char* kRule = "\n -- --------------------------------------------------- -- \n";

class ShaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakegl::install();
        dir_ = fs::temp_directory_path() / ("shader_test_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& text) {
        fs::path path = dir_ / name;
        std::ofstream(path) << text;
        return path.string();
    }

    // Builds a Shader and returns what it printed.
    std::string build(const std::string& vs, const std::string& fs, Shader* out = nullptr) {
        ::testing::internal::CaptureStdout();
        Shader shader(vs.c_str(), fs.c_str());
        if (out) *out = shader;
        return ::testing::internal::GetCapturedStdout();
    }

    fs::path dir_;
};

const char* kVertex = "void main() { gl_Position = projection * vec4(0.0); }  // projection";
const char* kFragment = "uniform float time; void main() {}";

}  // namespace

TEST_F(ShaderTest, BuildsSilentlyAndDeletesItsShaderObjects) {
    Shader shader;
    std::string printed = build(write("a.vs", kVertex), write("a.fs", kFragment), &shader);
    EXPECT_EQ(printed, "");
    const fakegl::State& gl = fakegl::state();
    ASSERT_EQ(fakegl::calls("glCreateShader").size(), 2u);
    EXPECT_EQ(fakegl::calls("glCreateShader")[0]->args[0], GL_VERTEX_SHADER);
    EXPECT_EQ(fakegl::calls("glCreateShader")[1]->args[0], GL_FRAGMENT_SHADER);
    EXPECT_EQ(fakegl::calls("glShaderSource")[0]->text, kVertex);
    EXPECT_EQ(fakegl::calls("glShaderSource")[1]->text, kFragment);
    EXPECT_TRUE(gl.programLinked.at(shader.ID));
    EXPECT_EQ(gl.deletedShaders.size(), 2u);
    // Shader objects go only after linking.
    auto names = fakegl::callNames();
    auto link = std::find(names.begin(), names.end(), "glLinkProgram");
    auto del = std::find(names.begin(), names.end(), "glDeleteShader");
    EXPECT_LT(link, del);
}

TEST_F(ShaderTest, MissingFragmentFileEmptiesBothStagesAndGoesOn) {
    Shader shader;
    std::string printed = build(write("b.vs", kVertex), (dir_ / "absent.fs").string(), &shader);
    // One read message; both stages then compile from empty text (which the fake accepts).
    EXPECT_EQ(printed, "ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ\n");
    ASSERT_EQ(fakegl::calls("glShaderSource").size(), 2u);
    EXPECT_EQ(fakegl::calls("glShaderSource")[0]->text, "");
    EXPECT_EQ(fakegl::calls("glShaderSource")[1]->text, "");
    EXPECT_EQ(fakegl::calls("glLinkProgram").size(), 1u);
    EXPECT_NE(shader.ID, 0u);
}

TEST_F(ShaderTest, CompileErrorPrintsHeadingTypeLogAndRuleThenStillLinks) {
    fakegl::state().compileLog = "0:3(7): error: syntax error";
    std::string printed = build(write("c.vs", kVertex), write("c.fs", "#error broken"));
    EXPECT_EQ(printed, std::string("ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT\n0:3(7): error: syntax error") +
                           kRule + "ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM\n" +
                           fakegl::state().linkLog + kRule);
    EXPECT_EQ(fakegl::calls("glLinkProgram").size(), 1u);
}

TEST_F(ShaderTest, LinkErrorKeepsTheProgramName) {
    Shader shader;
    std::string printed = build(write("d.vs", kVertex), write("d.fs", "// LINK_ERROR"), &shader);
    EXPECT_EQ(printed, std::string("ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM\n") +
                           fakegl::state().linkLog + kRule);
    EXPECT_EQ(shader.ID, fakegl::calls("glCreateProgram")[0]->args[0]);
    ASSERT_EQ(fakegl::calls("glGetProgramInfoLog").size(), 1u);
    EXPECT_EQ(fakegl::calls("glGetProgramInfoLog")[0]->args[1], 1024);
}

TEST_F(ShaderTest, LongLogIsCutToTheBuffer) {
    fakegl::state().compileLog = std::string(1500, 'x');
    std::string printed = build(write("e.vs", "#error"), write("e.fs", kFragment));
    std::string expected = std::string("ERROR::SHADER_COMPILATION_ERROR of type: VERTEX\n") + std::string(1023, 'x') + kRule;
    EXPECT_EQ(printed.substr(0, expected.size()), expected);
}

TEST_F(ShaderTest, SettersLookUpByNameEveryTimeAndIgnoreUnknownUniforms) {
    Shader shader;
    build(write("f.vs", kVertex), write("f.fs", kFragment), &shader);
    fakegl::state().calls.clear();
    shader.use();
    shader.setFloat("time", 1.5f);
    shader.setFloat("time", 2.5f);
    shader.setInt("texture1", 3);  // not in the sources: location -1, ignored
    glm::mat4 m(2.0f);
    shader.setMat4("projection", m);
    EXPECT_EQ(fakegl::calls("glGetUniformLocation").size(), 4u);
    EXPECT_EQ(fakegl::uniform(shader.ID, "time"), std::vector<float>{2.5f});
    EXPECT_TRUE(fakegl::uniform(shader.ID, "texture1").empty());
    EXPECT_EQ(fakegl::calls("glUniform1i")[0]->args[0], -1);
    std::vector<float> sent = fakegl::uniform(shader.ID, "projection");
    ASSERT_EQ(sent.size(), 16u);
    EXPECT_EQ(sent[0], 2.0f);
    EXPECT_EQ(sent[15], 2.0f);
    EXPECT_EQ(sent[1], 0.0f);
}
