#include "shell/Game.h"

#include "highscore/TextField.h"
#include "play/BallSet.h"
#include "play/FrameTimer.h"
#include "play/RoundState.h"
#include "text/TextDisplay.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* WindowCaption = "Quendle";
constexpr const char* IconFile = "icon.bmp";
constexpr int BitsPerPixel = 32;
constexpr Difficulty StartDifficulty = Easy;
constexpr int DriverNameSize = 32;

constexpr GLfloat ModelAmbient[] = {0.75f, 0.75f, 0.75f, 1.0f};
constexpr GLfloat LightAmbient[] = {0.1f, 0.1f, 0.1f, 1.0f};
constexpr GLfloat LightDiffuse[] = {0.6f, 0.6f, 0.6f, 1.0f};
constexpr GLfloat LightSpecular[] = {0.2f, 0.0f, 0.0f, 1.0f};
// Point lights given while the model-view matrix is the identity: fixed in
// eye space at the lower left corner and halfway along the lower edge.
constexpr GLfloat Light0Position[] = {-1.0f, -1.0f, 0.0f, 1.0f};
constexpr GLfloat Light1Position[] = {-0.5f, -1.0f, 0.0f, 1.0f};
constexpr GLfloat Shininess = 0.5f;

void setUpLight(GLenum light, const GLfloat* position) {
    glLightfv(light, GL_AMBIENT, LightAmbient);
    glLightfv(light, GL_DIFFUSE, LightDiffuse);
    glLightfv(light, GL_SPECULAR, LightSpecular);
    glLightfv(light, GL_POSITION, position);
}

// SDL falls back to these drivers when there is no display: they show no
// window, so the game would run unseen until killed.
bool showsNoWindow(const char* driver) {
    return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

}  // namespace

Game::Game(int width, int height) : width(width), height(height) {
    // Nothing after this can work without a window and an OpenGL context.
    if (initVideo() != 0) {
        std::exit(1);
    }
    initGl();
    ballSet = std::make_unique<BallSet>();
    textDisplay = std::make_unique<TextDisplay>();
    nameField = std::make_unique<TextField>("");
    tickClock = std::make_unique<TickClock>();
    difficulty = StartDifficulty;
}

// Here, where the parts' types are complete; the parts go in the reverse of
// their declaration order (shell/Game.h).
Game::~Game() = default;

int Game::initVideo() {
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) < 0) {
        std::printf("Unable to init SDL: %s\n", SDL_GetError());
        return 1;
    }
    std::atexit(SDL_Quit);
    char driver[DriverNameSize] = "";
    SDL_VideoDriverName(driver, sizeof driver);
    if (showsNoWindow(driver)) {
        std::printf("Unable to init SDL: no display (the %s video driver shows no window)\n",
                    driver);
        return 1;
    }
    SDL_WM_SetCaption(WindowCaption, "");

    // A missing or unreadable icon leaves the window without one.
    SDL_RWops* iconFile = SDL_RWFromFile(IconFile, "rb");
    if (iconFile != nullptr) {
        icon.reset(SDL_LoadBMP_RW(iconFile, 1));
    }
    if (icon) {
        SDL_SetColorKey(icon.get(), SDL_SRCCOLORKEY, SDL_MapRGB(icon->format, 255, 0, 255));
        SDL_WM_SetIcon(icon.get(), nullptr);
    }

    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // Let the swap wait for the display, so the screen loops, which never
    // sleep, run at the display's rate instead of spinning a core.
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);

    screen = SDL_SetVideoMode(width, height, BitsPerPixel, SDL_OPENGL);
    if (screen == nullptr) {
        std::printf("Unable to set %ix%i video: %s\n", width, height, SDL_GetError());
        return 1;
    }
    return 0;
}

void Game::initGl() {
    glEnable(GL_DEPTH_TEST);
    glViewport(0, 0, screen->w, screen->h);
    glMatrixMode(GL_MODELVIEW);
    // OpenGL's own default, stated as the window's starting state; the font's
    // set-up (TextDisplay), which the Game makes right after this, turns flat
    // shading on, and flat it stays: every ball is drawn flat.
    glShadeModel(GL_SMOOTH);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ModelAmbient);
    setUpLight(GL_LIGHT0, Light0Position);
    setUpLight(GL_LIGHT1, Light1Position);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glMaterialf(GL_FRONT, GL_SHININESS, Shininess);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glLoadIdentity();
    SDL_GL_SwapBuffers();
}

void Game::beginOverlayFrame() {
    // With near 1 and far -1 the orthographic matrix is the identity, so
    // multiplying it in every frame keeps the projection the identity.
    glMatrixMode(GL_PROJECTION);
    glOrtho(-1.0, 1.0, -1.0, 1.0, 1.0, -1.0);
    glMatrixMode(GL_MODELVIEW);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Set after the clear: the first frame after start-up is still black.
    glClearColor(0.6f, 0.6f, 0.7f, 1.0f);
    glLoadIdentity();
    glColor3f(1.0f, 1.0f, 1.0f);
}
