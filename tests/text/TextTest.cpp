// Every text of the game, compared with pictures of how it has always looked.
// A reference is rewritten after a deliberate change by running the test with
// QUENDLE_UPDATE_REFERENCES=1 (see HACKING.md), then looked at and committed.
#include "support/Scenes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(Texts, EachScreenLooksAsItsReference) {
    for (const Scene& scene : textScenes()) {
        EXPECT_EQ(differenceFromReference(drawnFrame([&] { scene.draw(testGame()); }), scene.name),
                  "")
            << scene.name;
    }
}
