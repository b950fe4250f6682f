// Starting and ending the program: what the player sees first, and the ways
// out of the main menu.
#include "GameSession.h"

#include <SDL.h>

namespace {

// The icon file's width, height, then its pixels 0x..RRGGBB row by row from the top.
std::vector<unsigned long> iconFilePixels() {
    SDL_Surface* file = SDL_LoadBMP(QUENDLE_ICON);
    SDL_Surface* rgb = file == nullptr ? nullptr
                                       : SDL_CreateRGBSurface(SDL_SWSURFACE, file->w, file->h, 32,
                                                              0xFF0000, 0xFF00, 0xFF, 0);
    std::vector<unsigned long> pixels;
    if (rgb != nullptr && SDL_BlitSurface(file, nullptr, rgb, nullptr) == 0) {
        pixels = {static_cast<unsigned long>(rgb->w), static_cast<unsigned long>(rgb->h)};
        for (int y = 0; y < rgb->h; ++y) {
            const Uint32* row =
                reinterpret_cast<const Uint32*>(static_cast<Uint8*>(rgb->pixels) + y * rgb->pitch);
            pixels.insert(pixels.end(), row, row + rgb->w);
        }
    }
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(file);
    return pixels;
}

class Start : public GameSession {};

// launch() finds the window by its caption "Quendle".
TEST_F(Start, WindowHasCaptionSizeBackgroundAndTheFourMenuItemsAndEscapeEndsIt) {
    ASSERT_TRUE(reachMainMenu());
    EXPECT_EQ(lastScreenshot().width(), 600);
    EXPECT_EQ(lastScreenshot().height(), 600);
    EXPECT_TRUE(isBackground(lastScreenshot().at(300, 100)));
    EXPECT_TRUE(isBackground(lastScreenshot().at(100, 500)));
    EXPECT_EQ(bottomLeftText(lastScreenshot()), "") << "no last round's points before a game";
    expectEscapeEndsWithZero();
    EXPECT_EQ(workListing(), std::vector<std::string>{"icon.bmp"}) << "nothing written";
}

TEST_F(Start, WindowIconIsTheIconFileWithItsMagentaTransparent) {
    const std::vector<unsigned long> file = iconFilePixels();
    ASSERT_FALSE(file.empty()) << "cannot read " << QUENDLE_ICON;
    ASSERT_TRUE(launch());

    const std::vector<unsigned long> icon = windowIcon();
    ASSERT_EQ(icon.size(), file.size()) << "_NET_WM_ICON: width, height, ARGB pixels";
    EXPECT_EQ(icon[0], file[0]);
    EXPECT_EQ(icon[1], file[1]);
    int transparent = 0;
    for (std::size_t i = 2; i < file.size(); ++i) {
        const unsigned long rgb = file[i] & 0xFFFFFF;
        const bool magenta = rgb == 0xFF00FF;
        transparent += magenta;
        EXPECT_EQ(icon[i], magenta ? icon[i] & 0xFFFFFF : 0xFF000000 | rgb)
            << "pixel " << i << (magenta ? ", magenta" : "");
    }
    EXPECT_GT(transparent, 0) << "the icon file has no magenta to test with";
}

TEST_F(Start, WithoutAnIconFileTheGameStartsWithoutAnIconAndQuitEndsIt) {
    std::remove(workPath("icon.bmp").c_str());
    ASSERT_TRUE(reachMainMenu());
    EXPECT_LE(windowIcon().size(), 2u) << "an icon from nowhere";
    choose(MainMenuRows[3]);
    expectExitStatus(0);
    EXPECT_TRUE(workListing().empty()) << "nothing written";
}

TEST_F(Start, VideoDriverThatCannotStartIsReportedWithStatusOne) {
    LaunchSettings settings;
    settings.withDisplay = false;
    settings.environment = {"SDL_VIDEODRIVER=nosuchdriver"};
    ASSERT_TRUE(launch(settings));
    expectExitStatus(1);
    const std::string output = gameOutput();
    EXPECT_EQ(output.rfind("Unable to init SDL: ", 0), 0u) << output;
    EXPECT_EQ(output.find('\n'), output.size() - 1) << "one line: " << output;
}

}  // namespace
