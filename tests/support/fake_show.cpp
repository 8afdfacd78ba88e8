#include "fake_show.h"

#include <gtest/gtest.h>

#include "fake_gl.h"
#include "runtime/startup.h"

const Resources& showBuiltOnFakeGl() {
    static const Resources resources = [] {
        Resources built;
        fakegl::install();
        ::testing::internal::CaptureStdout();
        const bool ok = buildResources(built);
        ::testing::internal::GetCapturedStdout();
        EXPECT_TRUE(ok) << "start-up failed against the fake GL: run from the run directory";
        return built;
    }();
    return resources;
}
