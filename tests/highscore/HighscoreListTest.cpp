#include "highscore/HighscoreList.h"
#include "highscore/ScoreFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <sstream>

namespace {

constexpr const char* Moon = "moon";

// What a list made now sees in "moon"; releasing it saves the file again.
Records loaded() {
    const HighscoreList list;
    return recordsOf(list.getEntries());
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

// ---- Reading the file and writing it back ----

struct LoadCase {
    std::string bytes;
    Records expected;  // also what every later save writes
};

TEST(HighscoreFile, LoadsTenEntriesBestFirstAndSavesThemUnchangedAcrossVisits) {
    const Records ten = tenDescending();
    Records rotated = ten;
    std::rotate(rotated.begin(), rotated.begin() + 4, rotated.end());
    const Records twoAndZed = joined({{"ann", 120}, {"bob", 75}, {"zed", 0}}, blanks(7));
    const Records spaced = joined({{" two  spaces ", 30}, {"", 20}, {"x y", 10}}, blanks(7));
    // Equal scores keep their file order, whether or not the file was sorted.
    const Records ties =
        joined({{"first", 5}, {"second", 5}, {"third", 5}, {"x", 1}, {"y", 1}}, blanks(5));
    std::vector<LoadCase> cases = {
        {fileOf(ten), ten},
        {fileOf(rotated), ten},
        {"", blanks(10)},
        {fileOf({{"ann", 120}, {"bob", 75}}) + "zed\n", twoAndZed},
        {fileOf({{"ann", 120}, {"bob", 75}}) + "zed", twoAndZed},
        {"solo", joined({{"solo", 0}}, blanks(9))},
        {fileOf(ten) + "extra\n999\nmore\n", ten},
        {"ann\r\n120\r\n\r\n75\r\nbo b\r\n-3\r\n",
         joined({{"ann", 120}, {"", 75}}, joined(blanks(7), {{"bo b", -3}}))},
        {fileOf(spaced), spaced},
        {fileOf(ties), ties},
        {fileOf({{"a", 1}, {"b", 2}, {"c", 1}, {"d", 2}}),
         joined({{"b", 2}, {"d", 2}, {"a", 1}, {"c", 1}}, blanks(6))}};
    // Records missing at the end become blanks, never copies of the last record.
    for (int k = 1; k <= 9; ++k) {
        const Records present(ten.begin(), ten.begin() + k);
        const std::string complete = fileOf(present);
        cases.push_back({complete, joined(present, blanks(10 - k))});
        cases.push_back({complete.substr(0, complete.size() - 1), cases.back().expected});
    }
    for (const LoadCase& loadCase : cases) {
        SCOPED_TRACE("file: " + loadCase.bytes);
        ScopedWorkDir dir;
        writeFile(Moon, loadCase.bytes);
        EXPECT_EQ(loaded(), loadCase.expected);
        EXPECT_EQ(loaded(), loadCase.expected);
        EXPECT_EQ(readFile(Moon), fileOf(loadCase.expected));
    }
}

TEST(HighscoreFile, ScoreLineReadsLikeAtoiClampedToTheIntRange) {
    const std::pair<const char*, int> lines[] = {{"12abc", 12},
                                                 {"12 34", 12},
                                                 {"007", 7},
                                                 {"   42", 42},
                                                 {"\t\v\f 8", 8},
                                                 {"+5", 5},
                                                 {"-5", -5},
                                                 {"abc12", 0},
                                                 {"", 0},
                                                 {"   ", 0},
                                                 {"-", 0},
                                                 {"- 5", 0},
                                                 {"+-5", 0},
                                                 {"2147483647", INT_MAX},
                                                 {"2147483648", INT_MAX},
                                                 {"99999999999999999999", INT_MAX},
                                                 {"-2147483648", INT_MIN},
                                                 {"-2147483649", INT_MIN},
                                                 {"-99999999999999999999", INT_MIN}};
    for (const auto& [line, score] : lines) {
        EXPECT_EQ(scoreOfLine(line), score) << "line: \"" << line << "\"";
    }
}

TEST(HighscoreFile, FormatIsTwoLinesPerEntryAndAFixedPointOfParsing) {
    EXPECT_EQ(HighscoreList::formatEntries({{"ann", 120}, {"", 75}, {"min", INT_MIN}}),
              "ann\n120\n\n75\nmin\n-2147483648\n");
    using namespace std::string_literals;
    for (const std::string& bytes :
         {"b\n2\na\n1\n"s, "x\r\r\n 0012\r\nz\n"s, "na\0me\n5\nmid\rcr\n-0\n"s,
          "\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n"s, "only name"s}) {
        std::istringstream first(bytes);
        const std::list<HighscoreEntry> parsed = HighscoreList::parseEntries(first);
        ASSERT_EQ(parsed.size(), 10u);
        EXPECT_TRUE(std::is_sorted(parsed.rbegin(), parsed.rend()));
        const std::string once = HighscoreList::formatEntries(parsed);
        std::istringstream second(once);
        EXPECT_EQ(HighscoreList::formatEntries(HighscoreList::parseEntries(second)), once);
    }
}

// ---- Ranking on a full list ----

TEST(HighscoreRanking, OnlyScoresAboveTheLowestQualify) {
    ScopedWorkDir dir;
    writeFile(Moon, fileOf(tenDescending()));
    const HighscoreList list;
    EXPECT_FALSE(list.qualifies(10));
    EXPECT_FALSE(list.qualifies(-1));
    EXPECT_TRUE(list.qualifies(11));
    EXPECT_TRUE(list.qualifies(1000));
}

TEST(HighscoreRanking, InsertTakesItsPlaceInFrontOfEqualScoresAndIsSaved) {
    const std::pair<Record, int> insertions[] = {{{"best", 500}, 0},
                                                 {{"", 100}, 0},
                                                 {{"new name", 95}, 1},
                                                 {{"tie", 50}, 5},
                                                 {{"just", 11}, 9}};
    for (const auto& [record, place] : insertions) {
        SCOPED_TRACE(record.second);
        ScopedWorkDir dir;
        writeFile(Moon, fileOf(tenDescending()));
        {
            HighscoreList list;
            list.insert(record.first, record.second);
            EXPECT_EQ(recordsOf(list.getEntries()), tenWith(record, place));
        }
        EXPECT_EQ(readFile(Moon), fileOf(tenWith(record, place)));
    }
}

// ---- A list that started without a file ----

TEST(HighscoreEmptyList, ReleasingAnUntouchedListCreatesAnEmptyFile) {
    ScopedWorkDir dir;
    { const HighscoreList list; }
    ASSERT_TRUE(std::filesystem::is_regular_file(Moon));
    EXPECT_EQ(std::filesystem::file_size(Moon), 0u);
}

TEST(HighscoreEmptyList, AnyScoreAboveZeroQualifiesAndEveryEntryIsKeptUntilTheListIsFull) {
    ScopedWorkDir dir;
    Records now;
    {
        HighscoreList list;
        EXPECT_TRUE(list.getEntries().empty());
        EXPECT_TRUE(list.qualifies(1));
        EXPECT_FALSE(list.qualifies(0));
        EXPECT_FALSE(list.qualifies(-7));
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
        now = recordsOf(list.getEntries());
    }
    ASSERT_EQ(now.size(), 10u);
    EXPECT_EQ(now[8], Record("last", 6));
    EXPECT_EQ(now[9], Record("c", 5));
    EXPECT_EQ(readFile(Moon), fileOf(now));
}

}  // namespace
