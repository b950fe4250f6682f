// The high-score list and its file, the table and the name entry.
#include "highscore/HighscoreList.h"
#include "highscore/TextField.h"
#include "shell/Game.h"
#include "support/Scenes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* Moon = "moon";

std::string blankRecords(int count) {
    return scoreFile(Records(count, {"", 0}));
}

// What a list saves after loading bytes as "moon".
std::string resaved(const std::string& bytes) {
    writeFile(Moon, bytes);
    { const HighscoreList list; }
    return readFile(Moon);
}

}  // namespace

TEST(HighscoreFile, LoadsTenEntriesBestFirstAndSavesThemBack) {
    ScopedWorkDir dir;
    const Records records = tenRecords();
    const std::string ten = scoreFile(records);
    const struct {
        const char* what;
        std::string bytes;
        std::string saved;
    } files[] = {
        {"ten records", ten, ten},
        {"ten in reverse", scoreFile(Records(records.rbegin(), records.rend())), ten},
        {"an empty file", "", blankRecords(10)},
        {"a name without its score", "ann\n120\nbob", "ann\n120\nbob\n0\n" + blankRecords(8)},
        {"no final newline", "ann\n120\nbob\n75", "ann\n120\nbob\n75\n" + blankRecords(8)},
        {"lines past the twentieth", ten + "late\n999\n", ten},
        {"CR LF line ends", "ann\r\n120\r\n\r\n75\r\n", "ann\n120\n\n75\n" + blankRecords(8)},
        {"equal scores in file order", "a\n1\nb\n2\nc\n1\nd\n2\n",
         "b\n2\nd\n2\na\n1\nc\n1\n" + blankRecords(6)},
        // Score lines read like atoi, clamped to the int range; below zero a
        // score ranks under the blank records.
        {"12abc", "x\n12abc\n", "x\n12\n" + blankRecords(9)},
        {"blanks and a sign", "x\n \t+42\ny\n- 5\n", "x\n42\ny\n0\n" + blankRecords(8)},
        {"beyond the int range", "x\n99999999999999999999\ny\n-2147483649\n",
         "x\n2147483647\n" + blankRecords(8) + "y\n-2147483648\n"},
        {"one megabyte on one line", std::string(1 << 20, 'a'),
         std::string(1 << 20, 'a') + "\n0\n" + blankRecords(9)},
    };
    for (const auto& file : files) {
        EXPECT_EQ(resaved(file.bytes), file.saved) << file.what;
        EXPECT_EQ(resaved(file.saved), file.saved) << file.what << ", saved again";
    }
}

// With no file yet every score above 0 has a place until ten are kept; a
// full list takes only scores above its lowest, in front of equal ones.
TEST(HighscoreList, QualifyingIsStrictAndANewEntryGoesInFrontOfEqualScores) {
    ScopedWorkDir dir;
    {
        HighscoreList list;
        EXPECT_FALSE(list.qualifies(0));
        for (int score = 1; score <= 11; ++score) {
            EXPECT_TRUE(list.qualifies(score)) << score;
            list.insert("n", score);
        }
    }
    {
        HighscoreList list;
        EXPECT_FALSE(list.qualifies(2));
        EXPECT_TRUE(list.qualifies(3));
        list.insert("tie", 5);
    }
    EXPECT_EQ(readFile(Moon), "n\n11\nn\n10\nn\n9\nn\n8\nn\n7\nn\n6\ntie\n5\nn\n5\nn\n4\nn\n3\n");
}

TEST(NameEntry, ShiftAndCapsLockMakeCapitalsLettersDigitsSpaceAndBackspaceTypeUntilReturn) {
    constexpr int ScrollLock = 0x8000;  // the newer library's bit beside KMOD_NUM
    const struct {
        std::vector<SDL_Event> keys;
        const char* name;
    } cases[] = {
        {{keyDown(SDLK_a), keyDown(SDLK_b, KMOD_LSHIFT), keyDown(SDLK_c, KMOD_RSHIFT),
          keyDown(SDLK_d, (KMOD_LSHIFT | KMOD_RSHIFT))},
         "aBCD"},
        {{keyDown(SDLK_a, KMOD_CAPS), keyDown(SDLK_b, (KMOD_CAPS | KMOD_LSHIFT)),
          keyDown(SDLK_c, (KMOD_NUM | ScrollLock)),
          keyDown(SDLK_d, (KMOD_CAPS | KMOD_NUM | ScrollLock))},
         "AbcD"},
        {{keyDown(SDLK_a, (KMOD_LCTRL | KMOD_LSHIFT)), keyDown(SDLK_b, (KMOD_RALT | KMOD_CAPS)),
          keyDown(SDLK_c, (KMOD_LMETA | KMOD_RSHIFT))},
         "abc"},
        {{keyDown(SDLK_0), keyDown(SDLK_9, KMOD_LSHIFT), keyDown(SDLK_SPACE), keyDown(SDLK_KP1),
          keyDown(SDLK_KP_ENTER), keyDown(SDLK_MINUS), keyDown(SDLK_TAB), keyDown(SDLK_ESCAPE),
          keyDown(SDLK_LSHIFT), keyUp(SDLK_x), mouseDown(1, 1), userEvent(0)},
         "09 "},
        {{keyDown(SDLK_BACKSPACE), keyDown(SDLK_a), keyDown(SDLK_b), keyDown(SDLK_BACKSPACE),
          keyDown(SDLK_c)},
         "ac"},
    };
    TextField& field = testGame().getNameField();
    for (const auto& c : cases) {
        field.handleKey(keyDown(SDLK_z).key.keysym);  // the entry starts empty
        std::vector<SDL_Event> events = c.keys;
        events.push_back(keyDown(SDLK_RETURN));
        events.push_back(userEvent(MarkerCode));
        pushEvents(events);
        EXPECT_EQ(testGame().enterName(), c.name);
        EXPECT_TRUE(markerIsNext()) << c.name;
    }
}

TEST(HighscoreScreen, TheTableAndTheNameEntryLookAsTheirReferences) {
    for (const Scene& scene : highscoreScenes()) {
        EXPECT_EQ(differenceFromReference(drawnFrame([&] { scene.draw(testGame()); }), scene.name),
                  "")
            << scene.name;
    }
}
