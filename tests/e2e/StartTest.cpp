// Starting and ending the program: what the player sees first, and the ways
// out of the main menu.
#include "GameSession.h"
#include "Screens.h"
#include "TextReader.h"

#include <SDL.h>

namespace {

constexpr Uint8 Opaque = 0xFF;

struct IconPixel {
    bool magenta;
    unsigned long rgb;  // 0xRRGGBB
};

// The pixels of the icon file as SDL reads them, row by row from the top.
std::vector<IconPixel> iconFilePixels(int& width, int& height) {
    std::vector<IconPixel> pixels;
    SDL_Surface* icon = SDL_LoadBMP(QUENDLE_ICON);
    if (icon == nullptr) {
        return pixels;
    }
    width = icon->w;
    height = icon->h;
    const int bytes = icon->format->BytesPerPixel;
    for (int y = 0; y < icon->h; ++y) {
        for (int x = 0; x < icon->w; ++x) {
            const Uint8* at = static_cast<const Uint8*>(icon->pixels) + y * icon->pitch + x * bytes;
            Uint32 value = 0;
            SDL_memcpy(&value, at, bytes);
            Uint8 r = 0;
            Uint8 g = 0;
            Uint8 b = 0;
            SDL_GetRGB(value, icon->format, &r, &g, &b);
            pixels.push_back({r == 255 && g == 0 && b == 255,
                              (static_cast<unsigned long>(r) << 16) | (g << 8) | b});
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
    const Image menu = lastScreenshot();
    EXPECT_TRUE(nearColor(menu.at(300, 100), Background, BackgroundTolerance));
    EXPECT_TRUE(nearColor(menu.at(100, 500), Background, BackgroundTolerance));
    // Nothing but the items before the first game: no last round's points.
    EXPECT_EQ(bottomLeftText(menu), "");
}

TEST_F(Start, WindowIconIsTheIconFileWithItsMagentaTransparent) {
    int width = 0;
    int height = 0;
    const std::vector<IconPixel> file = iconFilePixels(width, height);
    ASSERT_FALSE(file.empty()) << "cannot read " << QUENDLE_ICON;
    ASSERT_TRUE(launch());

    const std::vector<unsigned long> icon = display().iconProperty(gameWindow());
    ASSERT_EQ(icon.size(), 2 + file.size()) << "_NET_WM_ICON: width, height, ARGB pixels";
    EXPECT_EQ(icon[0], static_cast<unsigned long>(width));
    EXPECT_EQ(icon[1], static_cast<unsigned long>(height));
    int transparent = 0;
    for (std::size_t i = 0; i < file.size(); ++i) {
        const unsigned long argb = icon[2 + i] & 0xFFFFFFFFul;
        const unsigned long alpha = argb >> 24;
        if (file[i].magenta) {
            ++transparent;
            EXPECT_EQ(alpha, 0u) << "magenta pixel " << i << " is not transparent";
        } else {
            EXPECT_EQ(alpha, Opaque) << "pixel " << i;
            EXPECT_EQ(argb & 0xFFFFFFul, file[i].rgb) << "pixel " << i;
        }
    }
    EXPECT_GT(transparent, 0) << "the icon file has no magenta to test with";
}

TEST_F(Start, WithoutAnIconFileTheGameStartsWithoutAnIcon) {
    std::remove(workPath("icon.bmp").c_str());
    ASSERT_TRUE(launch());
    EXPECT_TRUE(display().iconProperty(gameWindow()).size() <= 2)
        << "an icon appeared from nowhere";
    ASSERT_TRUE(waitForSteadyScreen("the main menu", showsMainMenu));
    pressKey("Escape");
    ASSERT_TRUE(waitForExit());
    EXPECT_EQ(exitDescription(), "exit status 0");
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
    ASSERT_TRUE(launch());
    ASSERT_TRUE(waitForSteadyScreen("the main menu", showsMainMenu));
    pressKey("Escape");
    ASSERT_TRUE(waitForExit());
    EXPECT_EQ(exitDescription(), "exit status 0");
    EXPECT_EQ(workListing(), std::vector<std::string>{"icon.bmp"}) << "nothing written";
}

TEST_F(Start, QuitInTheMainMenuEndsTheGameWithStatusZero) {
    ASSERT_TRUE(launch());
    ASSERT_TRUE(waitForSteadyScreen("the main menu", showsMainMenu));
    click(MenuClickX, MainMenuRows[3].clickY);
    ASSERT_TRUE(waitForExit());
    EXPECT_EQ(exitDescription(), "exit status 0");
    EXPECT_EQ(workListing(), std::vector<std::string>{"icon.bmp"}) << "nothing written";
}

}  // namespace
