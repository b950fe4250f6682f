// Starting and ending the program: what the player sees first, and the ways
// out of the main menu.
#include "GameSession.h"

#include <SDL.h>

namespace {

constexpr unsigned long Opaque = 0xFF;

// The icon file as SDL reads it: width, height, then 0xRRGGBB row by row from the top.
std::vector<unsigned long> iconFilePixels() {
    SDL_Surface* icon = SDL_LoadBMP(QUENDLE_ICON);
    if (icon == nullptr) {
        return {};
    }
    std::vector<unsigned long> pixels = {static_cast<unsigned long>(icon->w),
                                         static_cast<unsigned long>(icon->h)};
    const int bytes = icon->format->BytesPerPixel;
    for (int y = 0; y < icon->h; ++y) {
        for (int x = 0; x < icon->w; ++x) {
            Uint32 value = 0;
            SDL_memcpy(&value, static_cast<Uint8*>(icon->pixels) + y * icon->pitch + x * bytes,
                       bytes);
            Uint8 r = 0;
            Uint8 g = 0;
            Uint8 b = 0;
            SDL_GetRGB(value, icon->format, &r, &g, &b);
            pixels.push_back((static_cast<unsigned long>(r) << 16) | (g << 8) | b);
        }
    }
    SDL_FreeSurface(icon);
    return pixels;
}

class Start : public GameSession {};

TEST_F(Start, WindowHasCaptionSizeAndBackgroundAndTheFourMenuItems) {
    ASSERT_TRUE(launch());
    EXPECT_EQ(display().windowName(gameWindow()), "Quendle");
    int width = 0;
    int height = 0;
    ASSERT_TRUE(display().windowSize(gameWindow(), width, height));
    EXPECT_EQ(width, 600);
    EXPECT_EQ(height, 600);

    ASSERT_TRUE(waitForSteadyScreen("the main menu", showsMainMenu));
    EXPECT_TRUE(isBackground(lastScreenshot().at(300, 100)));
    EXPECT_TRUE(isBackground(lastScreenshot().at(100, 500)));
    EXPECT_EQ(bottomLeftText(lastScreenshot()), "") << "no last round's points before a game";
}

TEST_F(Start, WindowIconIsTheIconFileWithItsMagentaTransparent) {
    const std::vector<unsigned long> file = iconFilePixels();
    ASSERT_FALSE(file.empty()) << "cannot read " << QUENDLE_ICON;
    ASSERT_TRUE(launch());

    const std::vector<unsigned long> icon = display().iconProperty(gameWindow());
    ASSERT_EQ(icon.size(), file.size()) << "_NET_WM_ICON: width, height, ARGB pixels";
    EXPECT_EQ(icon[0], file[0]);
    EXPECT_EQ(icon[1], file[1]);
    int transparent = 0;
    for (std::size_t i = 2; i < file.size(); ++i) {
        const unsigned long alpha = (icon[i] >> 24) & 0xFF;
        if (file[i] == 0xFF00FF) {
            ++transparent;
            EXPECT_EQ(alpha, 0u) << "magenta pixel " << i << " is not transparent";
        } else {
            EXPECT_EQ(alpha, Opaque) << "pixel " << i;
            EXPECT_EQ(icon[i] & 0xFFFFFF, file[i]) << "pixel " << i;
        }
    }
    EXPECT_GT(transparent, 0) << "the icon file has no magenta to test with";
}

TEST_F(Start, WithoutAnIconFileTheGameStartsWithoutAnIconAndQuitEndsIt) {
    std::remove(workPath("icon.bmp").c_str());
    ASSERT_TRUE(reachMainMenu());
    EXPECT_LE(display().iconProperty(gameWindow()).size(), 2u) << "an icon from nowhere";
    choose(MainMenuRows[3]);
    ASSERT_TRUE(waitForExit());
    EXPECT_EQ(exitDescription(), "exit status 0");
    EXPECT_TRUE(workListing().empty()) << "nothing written";
}

TEST_F(Start, VideoDriverThatCannotStartIsReportedWithStatusOne) {
    LaunchSettings settings;
    settings.withDisplay = false;
    settings.environment = {"SDL_VIDEODRIVER=nosuchdriver"};
    ASSERT_TRUE(launch(settings));
    ASSERT_TRUE(waitForExit());
    EXPECT_EQ(exitDescription(), "exit status 1");
    const std::string output = gameOutput();
    EXPECT_EQ(output.rfind("Unable to init SDL: ", 0), 0u) << output;
    EXPECT_EQ(output.find('\n'), output.size() - 1) << "one line: " << output;
}

TEST_F(Start, EscapeInTheMainMenuEndsTheGameWithStatusZero) {
    ASSERT_TRUE(reachMainMenu());
    expectEscapeEndsWithZero();
    EXPECT_EQ(workListing(), std::vector<std::string>{"icon.bmp"}) << "nothing written";
}

}  // namespace
