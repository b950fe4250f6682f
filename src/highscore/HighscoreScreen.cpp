#include "highscore/HighscoreScreen.h"

#include "highscore/HighscoreList.h"
#include "highscore/HighscoreTable.h"

void showHighscoreTable(TextDisplay& text, const BeginFrame& beginFrame) {
    // Leaving the screen releases the list, which writes the file back.
    HighscoreList list;
    runScreenLoop(
        beginFrame, [&] { drawHighscoreTable(text, list.getEntries()); }, leaveOnAnyPress);
}
