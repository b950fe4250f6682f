#include "highscore/HighscoreList.h"
#include "highscore/ScoreFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>

namespace {

constexpr const char* Moon = "moon";

// A file that any save would change: short, unsorted, with CR LF and a
// score written the long way.
const std::string OldBytes = "low\r\n+007\nhigh\n99\n";

std::set<std::string> namesIn(const std::string& directory) {
    std::set<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(directory)) {
        names.insert(item.path().filename().string());
    }
    return names;
}

// ---- Calls that fail the way a full disk or a broken device does ----

ssize_t failingWrite(int, const void*, std::size_t) {
    errno = ENOSPC;
    return -1;
}

// Writes half of what is asked each time, then runs out of space.
ssize_t halfThenFailingWrite(int fd, const void* bytes, std::size_t count) {
    if (count > 1) {
        return ::write(fd, bytes, count / 2);
    }
    errno = ENOSPC;
    return -1;
}

ssize_t nothingWrittenWrite(int, const void*, std::size_t) {
    return 0;
}

int failingFsync(int) {
    errno = EIO;
    return -1;
}

int failingClose(int fd) {
    ::close(fd);
    errno = EIO;
    return -1;
}

int failingRename(const char*, const char*) {
    errno = EXDEV;
    return -1;
}

struct FailingSave {
    const char* name;
    FileCalls calls;
};

void PrintTo(const FailingSave& save, std::ostream* out) {
    *out << save.name;
}

const FailingSave FailingSaves[] = {
    {"WriteFails", {failingWrite, ::fsync, ::close, ::rename}},
    {"DiskFillsMidWrite", {halfThenFailingWrite, ::fsync, ::close, ::rename}},
    {"WriteTakesNothing", {nothingWrittenWrite, ::fsync, ::close, ::rename}},
    {"FsyncFails", {::write, failingFsync, ::close, ::rename}},
    {"CloseFails", {::write, ::fsync, failingClose, ::rename}},
    {"RenameFails", {::write, ::fsync, ::close, failingRename}},
};

class HighscoreFailedSave : public testing::TestWithParam<FailingSave> {};

TEST_P(HighscoreFailedSave, LeavesTheOldFileWholeAndNoTemporaryBehind) {
    ScopedWorkDir dir;
    writeFile(Moon, OldBytes);
    {
        HighscoreList list(Moon, GetParam().calls);
        list.insert("new", 500);
    }
    EXPECT_EQ(readFile(Moon), OldBytes);
    EXPECT_EQ(namesIn("."), std::set<std::string>{Moon});
}

TEST_P(HighscoreFailedSave, LeavesAMissingFileMissing) {
    ScopedWorkDir dir;
    {
        HighscoreList list(Moon, GetParam().calls);
        list.insert("new", 500);
    }
    EXPECT_TRUE(namesIn(".").empty());
}

INSTANTIATE_TEST_SUITE_P(EachStep, HighscoreFailedSave, testing::ValuesIn(FailingSaves),
                         [](const testing::TestParamInfo<FailingSave>& info) {
                             return std::string(info.param.name);
                         });

// ---- Saves that work ----

TEST(HighscoreSave, FileIsWrittenOnReleaseEvenWhenNothingChanged) {
    ScopedWorkDir dir;
    writeFile(Moon, OldBytes);
    { HighscoreList list; }
    EXPECT_EQ(readFile(Moon), fileOf(joined({{"high", 99}, {"low", 7}}, blanks(8))));
}

TEST(HighscoreSave, ReplacesTheFileInsteadOfRewritingIt) {
    // A second name for the old file still sees the old bytes: the new file
    // was made beside it and renamed over it, never written in its place.
    ScopedWorkDir dir;
    writeFile(Moon, OldBytes);
    ASSERT_EQ(::link(Moon, "old"), 0);
    { HighscoreList list; }
    EXPECT_EQ(readFile("old"), OldBytes);
    EXPECT_NE(readFile(Moon), OldBytes);
    EXPECT_EQ(namesIn("."), std::set<std::string>({Moon, "old"}));
}

TEST(HighscoreSave, KeepsThePermissionsOfTheOldFile) {
    ScopedWorkDir dir;
    writeFile(Moon, OldBytes);
    ASSERT_EQ(::chmod(Moon, 0604), 0);
    { HighscoreList list; }
    struct stat status {};
    ASSERT_EQ(::stat(Moon, &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
}

TEST(HighscoreSave, FileInAnotherDirectoryIsReplacedThere) {
    ScopedWorkDir dir;
    ASSERT_EQ(::mkdir("sub", 0755), 0);
    writeFile("sub/scores", OldBytes);
    { HighscoreList list("sub/scores"); }
    EXPECT_EQ(readFile("sub/scores"), fileOf(joined({{"high", 99}, {"low", 7}}, blanks(8))));
    EXPECT_EQ(namesIn("sub"), std::set<std::string>{"scores"});
    EXPECT_EQ(namesIn("."), std::set<std::string>{"sub"});
}

// ---- Files that must never be overwritten ----

TEST(HighscoreUnreadableFile, DirectoryNamedLikeTheFileIsLeftAlone) {
    ScopedWorkDir dir;
    ASSERT_EQ(::mkdir(Moon, 0755), 0);
    writeFile("moon/inside", "kept");
    {
        HighscoreList list;
        EXPECT_TRUE(list.getEntries().empty());
        ASSERT_TRUE(list.qualifies(3));
        list.insert("new", 3);
    }
    struct stat status {};
    ASSERT_EQ(::stat(Moon, &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(readFile("moon/inside"), "kept");
    EXPECT_EQ(namesIn("."), std::set<std::string>{Moon});
}

TEST(HighscoreUnreadableFile, NameThatCannotBeOpenedIsNotReplaced) {
    // A link to itself fails to open for another reason than absence.
    ScopedWorkDir dir;
    ASSERT_EQ(::symlink(Moon, Moon), 0);
    {
        HighscoreList list;
        EXPECT_TRUE(list.getEntries().empty());
        list.insert("new", 3);
    }
    struct stat status {};
    ASSERT_EQ(::lstat(Moon, &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    EXPECT_EQ(namesIn("."), std::set<std::string>{Moon});
}

TEST(HighscoreUnreadableFile, FifoNamedLikeTheFileIsLeftAlone) {
    // Opening must not wait for a writer, and the pipe is no score file.
    ScopedWorkDir dir;
    ASSERT_EQ(::mkfifo(Moon, 0644), 0);
    {
        HighscoreList list;
        EXPECT_TRUE(list.getEntries().empty());
    }
    struct stat status {};
    ASSERT_EQ(::lstat(Moon, &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

}  // namespace
