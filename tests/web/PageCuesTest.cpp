// The web page tells play and the name entry apart by texts the game draws:
// a change of either side alone would leave a phone without its controls or
// its keyboard, and no picture would show it.
#include "text/PageCues.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

TEST(PageCues, ThePageLooksForTheTextsTheGameDraws) {
    std::ifstream file(QUENDLE_PAGE_DIR "/touch.js");
    ASSERT_TRUE(file) << QUENDLE_PAGE_DIR "/touch.js";
    std::stringstream script;
    script << file.rdbuf();
    for (const char* text : {LevelPrefix, NamePrompt}) {
        EXPECT_NE(script.str().find("'" + std::string(text) + "'"), std::string::npos)
            << "web/touch.js does not name '" << text << "'";
    }
}
