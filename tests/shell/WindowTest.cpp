#include "shell/Game.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr Rgb Black{0, 0, 0};

GLint integerState(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

}  // namespace

TEST(Window, IsSixHundredSquareWithTheGamesCaption) {
    Game& game = testGame();
    ASSERT_NE(game.getScreen(), nullptr);
    EXPECT_EQ(game.getScreen()->w, 600);
    EXPECT_EQ(game.getScreen()->h, 600);
    EXPECT_TRUE(game.getScreen()->flags & SDL_OPENGL);
    char* title = nullptr;
    char* iconTitle = nullptr;
    SDL_WM_GetCaption(&title, &iconTitle);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Quendle");
    EXPECT_STREQ(iconTitle, "");
}

TEST(Window, ConstructionLeavesDifficultyOneAndNoRound) {
    Game& game = testGame();
    EXPECT_EQ(game.getDifficulty(), 1);
    EXPECT_EQ(game.getRoundState(), nullptr);
}

TEST(Window, StartsWithoutAnIconFileInTheWorkingDirectory) {
    ScopedWorkDir dir;
    EXPECT_NE(testGame().getScreen(), nullptr);
}

TEST(Window, UnreadableIconFileIsNoReasonToFail) {
    ScopedWorkDir dir;
    writeFile("icon.bmp", "BM not really a bitmap");
    EXPECT_NE(testGame().getScreen(), nullptr);
}

TEST(GlState, LightsMaterialAndTestsStayAsStartUpSetThem) {
    testGame();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(integerState(GL_DEPTH_FUNC), GL_LESS);
    // The text display switches to flat shading after the window is set up.
    EXPECT_EQ(integerState(GL_SHADE_MODEL), GL_FLAT);
    EXPECT_EQ(integerState(GL_COLOR_MATERIAL_FACE), GL_FRONT);
    EXPECT_EQ(integerState(GL_COLOR_MATERIAL_PARAMETER), GL_AMBIENT_AND_DIFFUSE);
    EXPECT_EQ(integerState(GL_UNPACK_ALIGNMENT), 1);

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 600);
    EXPECT_EQ(viewport[3], 600);

    GLfloat ambient[4] = {};
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
    EXPECT_FLOAT_EQ(ambient[0], 0.75f);
    GLfloat diffuse[4] = {};
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    EXPECT_FLOAT_EQ(diffuse[1], 0.6f);
    GLfloat position[4] = {};
    glGetLightfv(GL_LIGHT1, GL_POSITION, position);
    EXPECT_FLOAT_EQ(position[0], -0.5f);
    EXPECT_FLOAT_EQ(position[1], -1.0f);
    EXPECT_FLOAT_EQ(position[3], 1.0f);
    GLfloat shininess = 0.0f;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_FLOAT_EQ(shininess, 0.5f);
}

TEST(OverlayFrame, FirstFrameIsBlackAndEveryLaterOneTheBackground) {
    Game& game = testGame();
    game.beginOverlayFrame();
    EXPECT_TRUE(nearColor(readPixel(300, 300), Black, 0));
    EXPECT_TRUE(nearColor(readPixel(0, 599), Black, 0));
    SDL_GL_SwapBuffers();
    for (int frame = 0; frame < 3; ++frame) {
        game.beginOverlayFrame();
        EXPECT_TRUE(nearColor(readPixel(300, 300), Background, 1));
        EXPECT_TRUE(nearColor(readPixel(599, 0), Background, 1));
        SDL_GL_SwapBuffers();
    }
}

TEST(OverlayFrame, ProjectionStaysTheIdentityAfterManyFrames) {
    Game& game = testGame();
    for (int frame = 0; frame < 500; ++frame) {
        game.beginOverlayFrame();
    }
    GLfloat projection[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const GLfloat identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_EQ(std::memcmp(projection, identity, sizeof identity), 0);
    EXPECT_EQ(integerState(GL_MATRIX_MODE), GL_MODELVIEW);

    // A point at (0.5, 0.5) lands three quarters across and a quarter down.
    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 0.0f, 0.0f);
    glBegin(GL_POINTS);
    glVertex2f(0.5f, 0.5f);
    glEnd();
    glEnable(GL_LIGHTING);
    // The point lies on a pixel corner: it lands in one of the four pixels there.
    int redPixels = 0;
    for (int x = 449; x <= 450; ++x) {
        for (int y = 149; y <= 150; ++y) {
            redPixels += nearColor(readPixel(x, y), {255, 0, 0}, 1) ? 1 : 0;
        }
    }
    EXPECT_EQ(redPixels, 1);
    EXPECT_TRUE(nearColor(readPixel(300, 300), Background, 1));
}

TEST(OverlayFrame, EndsWithWhiteCurrentAndIdentityModelView) {
    Game& game = testGame();
    glColor3f(0.1f, 0.2f, 0.3f);
    glTranslatef(0.3f, 0.0f, 0.0f);
    game.beginOverlayFrame();
    GLfloat color[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, color);
    EXPECT_FLOAT_EQ(color[0], 1.0f);
    EXPECT_FLOAT_EQ(color[2], 1.0f);
    GLfloat modelView[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    EXPECT_FLOAT_EQ(modelView[12], 0.0f);
}
