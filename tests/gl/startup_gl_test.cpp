#include <gtest/gtest.h>

#include "offscreen_show.h"
#include "render/gl.h"

// Real GL (Mesa llvmpipe on a private Xvfb): start-up as the show does it.

TEST(StartupGl, EveryProgramCompilesAndLinksWithoutAWord) {
    OffscreenShow& show = OffscreenShow::instance();
    EXPECT_EQ(show.startupOutput(), "");
    const Programs& p = show.resources().programs;
    for (const Shader* s : {&p.demo6pt1, &p.demo6pt3, &p.demo6pt3_2, &p.demo6pt4, &p.demo6pt51, &p.demo6pt61,
                            &p.demo6pt62, &p.demo6pt71, &p.demo6pt72, &p.demo6pt91, &p.demo6pt92, &p.demo6ptA1,
                            &p.demo6ptA2, &p.demo6ptB1, &p.demo6ptB2, &p.demo6ptC1, &p.demo6ptC2, &p.demo6ptD1,
                            &p.demo6ptD2, &p.demo6ptE1, &p.demo6ptE2, &p.demo6image}) {
        // glCreateProgram hands out a name whether or not the link succeeds:
        // the driver's link status is what says the program can draw.
        GLint linked = GL_FALSE;
        glGetProgramiv(s->ID, GL_LINK_STATUS, &linked);
        EXPECT_EQ(linked, GL_TRUE) << "program " << s->ID;
    }
}

TEST(StartupGl, FramesWithNothingScheduledStayBlack) {
    OffscreenShow& show = OffscreenShow::instance();
    SilentHost host(show);
    // From 256 to 257 s no caption, scene or image runs: only the loop head's black clear.
    for (float t : {256.0f, 256.5f}) {
        host.render(t);
        for (auto [x, y] : {std::pair{0, 0}, {960, 540}, {1919, 1079}, {300, 800}}) {
            auto rgba = show.pixel(x, y);
            EXPECT_EQ(rgba[0], 0) << t;
            EXPECT_EQ(rgba[1], 0) << t;
            EXPECT_EQ(rgba[2], 0) << t;
        }
    }
}
