#include "highscore/HighscoreList.h"
#include "highscore/ScoreFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <sstream>

namespace {

constexpr const char* Moon = "moon";

// What a list made now sees in "moon".
Records loaded() {
    const HighscoreList list;
    return recordsOf(list.getEntries());
}

// Loads and releases a list, as looking at the table does.
void loadAndRelease() {
    HighscoreList list;
}

// The score read from a record whose score line is this text.
int scoreOfLine(const std::string& line) {
    std::istringstream in("x\n" + line + "\n");
    for (const HighscoreEntry& entry : HighscoreList::parseEntries(in)) {
        if (entry.getName() == "x") {
            return entry.getScore();
        }
    }
    ADD_FAILURE() << "record lost";
    return -1;
}

// ---- Reading the file ----

TEST(HighscoreFileLoad, FullFileGivesItsTenRecordsBestFirst) {
    ScopedWorkDir dir;
    writeFile(Moon, fileOf({{"e", 50},
                            {"a", 90},
                            {"j", 5},
                            {"c", 70},
                            {"b", 80},
                            {"f", 40},
                            {"d", 60},
                            {"h", 20},
                            {"g", 30},
                            {"i", 10}}));
    const Records expected = {{"a", 90}, {"b", 80}, {"c", 70}, {"d", 60}, {"e", 50},
                              {"f", 40}, {"g", 30}, {"h", 20}, {"i", 10}, {"j", 5}};
    EXPECT_EQ(loaded(), expected);
}

TEST(HighscoreFileLoad, WellFormedFullFileIsWrittenBackByteForByte) {
    ScopedWorkDir dir;
    const std::string bytes = fileOf(tenDescending());
    writeFile(Moon, bytes);
    loadAndRelease();
    EXPECT_EQ(readFile(Moon), bytes);
}

TEST(HighscoreFileLoad, EmptyFileGivesTenBlankEntries) {
    ScopedWorkDir dir;
    writeFile(Moon, "");
    EXPECT_EQ(loaded(), blanks(10));
    loadAndRelease();
    EXPECT_EQ(readFile(Moon), fileOf(blanks(10)));
}

TEST(HighscoreFileLoad, MissingRecordsBecomeBlanksNeverCopiesOfTheLastRecord) {
    const Records all = tenDescending();
    for (int k = 1; k <= 9; ++k) {
        const Records present(all.begin(), all.begin() + k);
        const std::string complete = fileOf(present);
        const std::string withoutFinalNewline = complete.substr(0, complete.size() - 1);
        for (const std::string& bytes : {complete, withoutFinalNewline}) {
            ScopedWorkDir dir;
            writeFile(Moon, bytes);
            EXPECT_EQ(loaded(), joined(present, blanks(10 - k))) << "file: " << bytes;
        }
    }
}

TEST(HighscoreFileLoad, NameLineWithoutScoreLineScoresZero) {
    for (const std::string& tail : {std::string("zed\n"), std::string("zed")}) {
        ScopedWorkDir dir;
        writeFile(Moon, fileOf({{"ann", 120}, {"bob", 75}}) + tail);
        EXPECT_EQ(loaded(), joined({{"ann", 120}, {"bob", 75}, {"zed", 0}}, blanks(7)))
            << "tail: " << tail;
    }
}

TEST(HighscoreFileLoad, LoneNameLineIsOneEntryWithScoreZero) {
    ScopedWorkDir dir;
    writeFile(Moon, "solo");
    EXPECT_EQ(loaded(), joined({{"solo", 0}}, blanks(9)));
}

TEST(HighscoreFileLoad, LinesAfterTheTwentiethAreIgnoredAndDroppedOnSave) {
    ScopedWorkDir dir;
    const std::string ten = fileOf(tenDescending());
    writeFile(Moon, ten + "extra\n999\nmore\n");
    EXPECT_EQ(loaded(), tenDescending());
    loadAndRelease();
    EXPECT_EQ(readFile(Moon), ten);
}

TEST(HighscoreFileLoad, CrLfLineEndsAreReadAsPlainLineEnds) {
    ScopedWorkDir dir;
    writeFile(Moon, "ann\r\n120\r\n\r\n75\r\nbo b\r\n-3\r\n");
    EXPECT_EQ(loaded(), joined({{"ann", 120}, {"", 75}}, joined(blanks(7), {{"bo b", -3}})));
    loadAndRelease();
    EXPECT_EQ(readFile(Moon),
              fileOf(joined({{"ann", 120}, {"", 75}}, joined(blanks(7), {{"bo b", -3}}))));
}

TEST(HighscoreFileLoad, NamesKeepTheirSpacesAndEmptyNamesStayEmpty) {
    ScopedWorkDir dir;
    const Records records = joined({{" two  spaces ", 30}, {"", 20}, {"x y", 10}}, blanks(7));
    writeFile(Moon, fileOf(records));
    EXPECT_EQ(loaded(), records);
    loadAndRelease();
    EXPECT_EQ(readFile(Moon), fileOf(records));
}

TEST(HighscoreFileLoad, UnreadableFileGivesAnEmptyList) {
    ScopedWorkDir dir;
    ASSERT_EQ(mkdir(Moon, 0755), 0);
    EXPECT_TRUE(loaded().empty());
}

TEST(HighscoreFileLoad, MissingFileGivesAnEmptyList) {
    ScopedWorkDir dir;
    EXPECT_TRUE(loaded().empty());
}

// ---- Score lines ----

TEST(HighscoreScoreLine, ReadsTheLeadingNumberLikeAtoi) {
    EXPECT_EQ(scoreOfLine("12abc"), 12);
    EXPECT_EQ(scoreOfLine("12 34"), 12);
    EXPECT_EQ(scoreOfLine("007"), 7);
    EXPECT_EQ(scoreOfLine("   42"), 42);
    EXPECT_EQ(scoreOfLine("\t\v\f 8"), 8);
    EXPECT_EQ(scoreOfLine("+5"), 5);
    EXPECT_EQ(scoreOfLine("-5"), -5);
}

TEST(HighscoreScoreLine, NoNumberAtTheStartCountsAsZero) {
    EXPECT_EQ(scoreOfLine("abc"), 0);
    EXPECT_EQ(scoreOfLine("abc12"), 0);
    EXPECT_EQ(scoreOfLine(""), 0);
    EXPECT_EQ(scoreOfLine("   "), 0);
    EXPECT_EQ(scoreOfLine("-"), 0);
    EXPECT_EQ(scoreOfLine("- 5"), 0);
    EXPECT_EQ(scoreOfLine("+-5"), 0);
}

TEST(HighscoreScoreLine, NumbersBeyondAnIntAreClampedToItsRange) {
    EXPECT_EQ(scoreOfLine("2147483647"), INT_MAX);
    EXPECT_EQ(scoreOfLine("2147483648"), INT_MAX);
    EXPECT_EQ(scoreOfLine("99999999999999999999999999"), INT_MAX);
    EXPECT_EQ(scoreOfLine("-2147483648"), INT_MIN);
    EXPECT_EQ(scoreOfLine("-2147483649"), INT_MIN);
    EXPECT_EQ(scoreOfLine("-99999999999999999999999999"), INT_MIN);
}

// ---- The format on its own ----

TEST(HighscoreFormat, WritesTwoLinesPerEntryInListOrder) {
    const std::list<HighscoreEntry> entries = {{"ann", 120}, {"", 75},         {"bo b", 0},
                                               {"neg", -3},  {"max", INT_MAX}, {"min", INT_MIN}};
    EXPECT_EQ(HighscoreList::formatEntries(entries),
              "ann\n120\n\n75\nbo b\n0\nneg\n-3\nmax\n2147483647\nmin\n-2147483648\n");
    EXPECT_EQ(HighscoreList::formatEntries({}), "");
}

TEST(HighscoreFormat, ParsingAlwaysGivesTenEntriesBestFirst) {
    for (const char* bytes : {"", "\n", "a\n1\nb\n2\nc\n3\n", "x\n-1\ny\n5\n\n\n\n\n\n"}) {
        std::istringstream in(bytes);
        const std::list<HighscoreEntry> entries = HighscoreList::parseEntries(in);
        ASSERT_EQ(entries.size(), 10u);
        EXPECT_TRUE(std::is_sorted(entries.rbegin(), entries.rend())) << bytes;
    }
}

TEST(HighscoreFormat, FormattingWhatWasParsedIsAFixedPoint) {
    using namespace std::string_literals;
    for (const std::string& bytes :
         {"b\n2\na\n1\n"s, "x\r\r\n 0012\r\nz\n"s, "na\0me\n5\nmid\rcr\n-0\n"s,
          "\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n"s, "only name"s}) {
        std::istringstream first(bytes);
        const std::string once = HighscoreList::formatEntries(HighscoreList::parseEntries(first));
        std::istringstream second(once);
        EXPECT_EQ(HighscoreList::formatEntries(HighscoreList::parseEntries(second)), once);
    }
}

// ---- Order of equal scores ----

TEST(HighscoreTies, EqualScoresKeepTheirFileOrder) {
    ScopedWorkDir dir;
    const Records records = {{"first", 50}, {"second", 50}, {"third", 50}, {"low", 10},
                             {"low2", 10},  {"a", 5},       {"b", 5},      {"c", 5},
                             {"d", 5},      {"e", 5}};
    writeFile(Moon, fileOf(records));
    EXPECT_EQ(loaded(), records);
    loadAndRelease();
    loadAndRelease();
    EXPECT_EQ(readFile(Moon), fileOf(records));
}

TEST(HighscoreTies, UnsortedFileSortsStablyBestFirst) {
    ScopedWorkDir dir;
    writeFile(Moon, fileOf({{"a", 1}, {"b", 2}, {"c", 1}, {"d", 2}}));
    EXPECT_EQ(loaded(), joined({{"b", 2}, {"d", 2}, {"a", 1}, {"c", 1}}, blanks(6)));
}

// ---- Ranking: qualifies and insert on a full list ----

class HighscoreRanking : public testing::Test {
protected:
    void SetUp() override {
        writeFile(Moon, fileOf(tenDescending()));
        list = std::make_unique<HighscoreList>();
    }
    Records entries() const { return recordsOf(list->getEntries()); }

    ScopedWorkDir dir;
    std::unique_ptr<HighscoreList> list;
};

TEST_F(HighscoreRanking, OnlyScoresAboveTheLowestQualify) {
    EXPECT_FALSE(list->qualifies(10));
    EXPECT_FALSE(list->qualifies(-1));
    EXPECT_TRUE(list->qualifies(11));
    EXPECT_TRUE(list->qualifies(1000));
}

TEST_F(HighscoreRanking, InsertInTheMiddleDropsTheLowest) {
    list->insert("new", 95);
    Records expected = tenDescending();
    expected.pop_back();
    expected.insert(expected.begin() + 1, {"new", 95});
    EXPECT_EQ(entries(), expected);
}

TEST_F(HighscoreRanking, InsertGoesInFrontOfAnEqualScore) {
    list->insert("new", 50);
    const Records now = entries();
    ASSERT_EQ(now.size(), 10u);
    EXPECT_EQ(now[5], Record("new", 50));
    EXPECT_EQ(now[6], Record("p50", 50));
    EXPECT_EQ(now.back(), Record("p20", 20));
}

TEST_F(HighscoreRanking, InsertAtTheTop) {
    list->insert("best", 500);
    const Records now = entries();
    ASSERT_EQ(now.size(), 10u);
    EXPECT_EQ(now.front(), Record("best", 500));
    EXPECT_EQ(now.back(), Record("p20", 20));
}

TEST_F(HighscoreRanking, InsertAtTheBottom) {
    list->insert("just", 11);
    const Records now = entries();
    ASSERT_EQ(now.size(), 10u);
    EXPECT_EQ(now[8], Record("p20", 20));
    EXPECT_EQ(now.back(), Record("just", 11));
}

TEST_F(HighscoreRanking, InsertedEntryIsInTheFileAfterRelease) {
    list->insert("new name", 95);
    list.reset();
    Records expected = tenDescending();
    expected.pop_back();
    expected.insert(expected.begin() + 1, {"new name", 95});
    EXPECT_EQ(readFile(Moon), fileOf(expected));
}

TEST_F(HighscoreRanking, InsertedEmptyNameIsWrittenAsAnEmptyLine) {
    list->insert("", 100);
    list.reset();
    Records expected = tenDescending();
    expected.pop_back();
    expected.insert(expected.begin(), {"", 100});
    EXPECT_EQ(readFile(Moon), fileOf(expected));
    EXPECT_EQ(readFile(Moon).substr(0, 5), "\n100\n");
}

// ---- A list that started empty ----

TEST(HighscoreEmptyList, AnyScoreAboveZeroQualifies) {
    ScopedWorkDir dir;
    const HighscoreList list;
    EXPECT_TRUE(list.qualifies(1));
    EXPECT_FALSE(list.qualifies(0));
    EXPECT_FALSE(list.qualifies(-7));
}

TEST(HighscoreEmptyList, InsertKeepsEveryEntryUntilTheListIsFull) {
    ScopedWorkDir dir;
    HighscoreList list;
    list.insert("a", 5);
    EXPECT_EQ(recordsOf(list.getEntries()), Records({{"a", 5}}));
    list.insert("b", 7);
    list.insert("c", 5);
    EXPECT_EQ(recordsOf(list.getEntries()), Records({{"b", 7}, {"c", 5}, {"a", 5}}));
    for (int score = 10; score < 17; ++score) {
        list.insert("n" + std::to_string(score), score);
    }
    EXPECT_EQ(list.getEntries().size(), 10u);
    EXPECT_TRUE(list.qualifies(6));
    EXPECT_FALSE(list.qualifies(5));
    list.insert("last", 6);
    const Records now = recordsOf(list.getEntries());
    ASSERT_EQ(now.size(), 10u);
    EXPECT_EQ(now[8], Record("last", 6));
    EXPECT_EQ(now[9], Record("c", 5));
}

TEST(HighscoreEmptyList, MissingFileIsCreatedOnRelease) {
    ScopedWorkDir dir;
    {
        HighscoreList list;
        list.insert("ann", 12);
    }
    EXPECT_EQ(readFile(Moon), "ann\n12\n");
    EXPECT_EQ(loaded(), joined({{"ann", 12}}, blanks(9)));
}

TEST(HighscoreEmptyList, ReleasingAnUntouchedEmptyListCreatesAnEmptyFile) {
    ScopedWorkDir dir;
    loadAndRelease();
    struct stat status {};
    ASSERT_EQ(stat(Moon, &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode));
    EXPECT_EQ(status.st_size, 0);
}

}  // namespace
