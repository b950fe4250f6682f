#include "play/BallModels.h"
#include "play/Ball.h"
#include "play/BallColor.h"
#include "play/Shot.h"
#include "shell/Game.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

namespace {

class BallModelsTest : public testing::Test {
protected:
    BallModelsTest() {
        models.buildModels();
        // The first frame after start-up is cleared black; the second has the background.
        game.beginOverlayFrame();
        game.beginOverlayFrame();
    }

    Game& game = testGame();
    BallModels models;
};

int pixelX(float x) {
    return static_cast<int>((x + 1.0f) * 300.0f);
}
int pixelRow(float y) {
    return static_cast<int>((1.0f - y) * 300.0f);
}

bool reddish(Rgb pixel) {
    return pixel.r > pixel.b + 20 && pixel.r > pixel.g;
}
bool bluish(Rgb pixel) {
    return pixel.b > pixel.r + 20 && pixel.b > pixel.g;
}

}  // namespace

TEST_F(BallModelsTest, BallsAreDrawnInTheirColourAtTheirFieldPosition) {
    models.drawBall(Ball(0.0f, 0.5f, -0.5f, Red));
    models.drawBall(Ball(0.0f, -0.5f, 0.5f, Blue));
    EXPECT_TRUE(reddish(readPixel(pixelX(0.5f), pixelRow(-0.5f))));
    EXPECT_TRUE(reddish(readPixel(pixelX(0.58f), pixelRow(-0.5f))));
    EXPECT_TRUE(nearColor(readPixel(pixelX(0.62f), pixelRow(-0.5f)), Background));
    EXPECT_TRUE(nearColor(readPixel(pixelX(0.5f), pixelRow(-0.38f)), Background));
    EXPECT_TRUE(bluish(readPixel(pixelX(-0.5f), pixelRow(0.5f))));
    EXPECT_TRUE(nearColor(readPixel(pixelX(-0.5f), pixelRow(0.38f)), Background));
}

TEST_F(BallModelsTest, AShotIsInFrontOfABallWhateverTheOrder) {
    models.drawShot(Shot(Blue, 0.0f, 0.0f));
    models.drawBall(Ball(0.0f, 0.0f, 0.0f, Red));
    EXPECT_TRUE(bluish(readPixel(pixelX(0.0f), pixelRow(0.0f))));
    EXPECT_TRUE(reddish(readPixel(pixelX(0.05f), pixelRow(0.0f))));
}

TEST_F(BallModelsTest, TheDartIsAnArrowheadWithANotch) {
    models.drawShot(Shot(Red, 0.0f, 0.0f));
    // Inside, near the tip and the anchor.
    EXPECT_TRUE(reddish(readPixel(300, pixelRow(0.03f))));
    EXPECT_TRUE(reddish(readPixel(300, pixelRow(0.0f))));
    // In a wing beside the notch, and in the notch itself.
    EXPECT_TRUE(reddish(readPixel(303, 312)));
    EXPECT_TRUE(nearColor(readPixel(300, 312), Background));
    // Beyond the tip and beside the wings.
    EXPECT_TRUE(nearColor(readPixel(300, pixelRow(0.07f)), Background));
    EXPECT_TRUE(nearColor(readPixel(pixelX(0.04f), pixelRow(-0.04f)), Background));
}

TEST_F(BallModelsTest, DrawingLeavesTheMatrixAsItWasAndTheObjectsColourCurrent) {
    std::array<GLfloat, 16> before{};
    std::array<GLfloat, 16> after{};
    std::array<GLfloat, 4> color{};
    glGetFloatv(GL_MODELVIEW_MATRIX, before.data());
    models.drawBall(Ball(0.0f, 0.3f, 0.2f, Blue));
    glGetFloatv(GL_CURRENT_COLOR, color.data());
    EXPECT_EQ(color, (std::array<GLfloat, 4>{0.1f, 0.1f, 0.5f, 1.0f}));
    models.drawShot(Shot(Red, -0.4f, 0.1f));
    glGetFloatv(GL_CURRENT_COLOR, color.data());
    EXPECT_EQ(color, (std::array<GLfloat, 4>{0.4f, 0.1f, 0.1f, 1.0f}));
    glGetFloatv(GL_MODELVIEW_MATRIX, after.data());
    EXPECT_EQ(after, before);
}
