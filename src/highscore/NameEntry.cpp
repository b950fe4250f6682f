#include "highscore/NameEntry.h"

#include "highscore/TextField.h"
#include "text/PageCues.h"
#include "text/TextDisplay.h"

namespace {

constexpr const char* Congratulation = "Congratulations, you made it to the highscore list!";
constexpr float CongratulationX = -0.9f;
constexpr float CongratulationY = 0.5f;
constexpr float NameColumnX = -0.6f;
constexpr float PromptY = 0.4f;
constexpr float NameY = 0.3f;

}  // namespace

void drawNameEntry(TextDisplay& text, const std::string& name) {
    // The first raster position takes this colour, the later ones the colour
    // that printString leaves current: the same text colour.
    const GLfloat* color = text.getTextColor();
    glColor3f(color[0], color[1], color[2]);
    glRasterPos2f(CongratulationX, CongratulationY);
    text.printString(Congratulation);
    glRasterPos2f(NameColumnX, PromptY);
    text.printString(NamePrompt);
    glRasterPos2f(NameColumnX, NameY);
    text.printString(name);
    text.drawLastRound();
}

std::string typeName(TextField& field, TextDisplay& text, const BeginFrame& beginFrame) {
    field.clear();
    runScreenLoop(
        beginFrame, [&] { drawNameEntry(text, field.getText()); },
        [&field](const SDL_Event& event) {
            if (event.type != SDL_KEYDOWN) {
                return ScreenGoesOn;
            }
            // Return ends the entry and is never typed into the name.
            if (event.key.keysym.sym == SDLK_RETURN) {
                return ScreenLeft;
            }
            field.handleKey(event.key.keysym);
            return ScreenGoesOn;
        });
    return field.getText();
}
