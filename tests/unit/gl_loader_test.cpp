#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "render/gl.h"

namespace {

std::set<std::string> asked;
const char* missing = nullptr;

void anyFunction() {}

void (*resolveAllBut(const char* name))() {
    asked.insert(name);
    return missing != nullptr && std::strcmp(name, missing) == 0 ? nullptr : anyFunction;
}

}  // namespace

TEST(GlLoader, ResolvesEveryEntryPointOfTheListByName) {
    asked.clear();
    missing = nullptr;
    EXPECT_EQ(loadGL(resolveAllBut), 1);
    EXPECT_EQ(asked.size(), 40u);
    EXPECT_TRUE(asked.count("glDrawElements"));
    EXPECT_TRUE(asked.count("glUniformMatrix4fv"));
    EXPECT_EQ(reinterpret_cast<void (*)()>(gl_api::glClear), anyFunction);
}

TEST(GlLoader, ReportsFailureWhenAnyEntryPointIsMissing) {
    for (const char* name : {"glActiveTexture", "glGenerateMipmap", "glViewport"}) {
        missing = name;
        EXPECT_EQ(loadGL(resolveAllBut), 0) << name;
    }
    missing = nullptr;
}
