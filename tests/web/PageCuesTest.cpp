// The web page tells play and the name entry apart by texts the game draws:
// a change of either side alone would leave a phone without its controls or
// its keyboard, and no picture would show it.
#include "text/PageCues.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

TEST(PageCues, ThePageLooksForTheTextsTheGameDraws) {
    std::stringstream script;
    script << std::ifstream(QUENDLE_PAGE_DIR "/touch.js").rdbuf();
    for (const std::string text : {LevelPrefix, NamePrompt}) {
        EXPECT_NE(script.str().find("'" + text + "'"), std::string::npos) << text;
    }
}
