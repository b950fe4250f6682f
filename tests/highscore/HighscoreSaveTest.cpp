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

const std::pair<const char*, FileCalls> FailingSaves[] = {
    {"write fails", {failingWrite, ::fsync, ::close, ::rename}},
    {"disk fills mid-write", {halfThenFailingWrite, ::fsync, ::close, ::rename}},
    {"write takes nothing", {nothingWrittenWrite, ::fsync, ::close, ::rename}},
    {"fsync fails", {::write, failingFsync, ::close, ::rename}},
    {"close fails", {::write, ::fsync, failingClose, ::rename}},
    {"rename fails", {::write, ::fsync, ::close, failingRename}}};

TEST(HighscoreFailedSave, LeavesTheOldFileWholeOrMissingAndNoTemporaryBehind) {
    for (const auto& [step, calls] : FailingSaves) {
        SCOPED_TRACE(step);
        for (const bool existed : {true, false}) {
            ScopedWorkDir dir;
            if (existed) {
                writeFile(Moon, OldBytes);
            }
            {
                HighscoreList list(Moon, calls);
                list.insert("new", 500);
            }
            EXPECT_EQ(namesIn("."),
                      existed ? std::set<std::string>{Moon} : std::set<std::string>{});
            if (existed) {
                EXPECT_EQ(readFile(Moon), OldBytes);
            }
        }
    }
}

// ---- Saves that work ----

TEST(HighscoreSave, ReplacesTheFileInItsDirectoryKeepingItsPermissions) {
    // A second name for the old file still sees the old bytes: the new file
    // was made beside it and renamed over it, never written in its place.
    ScopedWorkDir dir;
    ASSERT_EQ(::mkdir("sub", 0755), 0);
    writeFile("sub/scores", OldBytes);
    ASSERT_EQ(::chmod("sub/scores", 0604), 0);
    ASSERT_EQ(::link("sub/scores", "sub/old"), 0);
    { HighscoreList list("sub/scores"); }
    EXPECT_EQ(readFile("sub/old"), OldBytes);
    EXPECT_EQ(readFile("sub/scores"), fileOf(joined({{"high", 99}, {"low", 7}}, blanks(8))));
    EXPECT_EQ(namesIn("sub"), std::set<std::string>({"scores", "old"}));
    EXPECT_EQ(namesIn("."), std::set<std::string>{"sub"});
    struct stat status {};
    ASSERT_EQ(::stat("sub/scores", &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
}

// ---- Files that exist but cannot be read are never replaced ----

TEST(HighscoreUnreadableFile, GivesAnEmptyListAndIsLeftAlone) {
    struct Unreadable {
        const char* what;
        int (*make)();
        mode_t type;
    };
    const Unreadable nodes[] = {
        {"directory", [] { return ::mkdir(Moon, 0755); }, S_IFDIR},
        // A link to itself fails to open for another reason than absence.
        {"self link", [] { return ::symlink(Moon, Moon); }, S_IFLNK},
        // Opening must not wait for a writer, and the pipe is no score file.
        {"fifo", [] { return ::mkfifo(Moon, 0644); }, S_IFIFO}};
    for (const Unreadable& node : nodes) {
        SCOPED_TRACE(node.what);
        ScopedWorkDir dir;
        ASSERT_EQ(node.make(), 0);
        {
            HighscoreList list;
            EXPECT_TRUE(list.getEntries().empty());
            ASSERT_TRUE(list.qualifies(3));
            list.insert("new", 3);
        }
        struct stat status {};
        ASSERT_EQ(::lstat(Moon, &status), 0);
        EXPECT_EQ(status.st_mode & S_IFMT, node.type);
        EXPECT_EQ(namesIn("."), std::set<std::string>{Moon});
    }
}

}  // namespace
