// Saving "moon": failed steps, games sharing the file, its lock and links.
#include "highscore/FileLock.h"
#include "highscore/HighscoreList.h"
#include "support/TestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

namespace {

constexpr const char* Moon = "moon";

// Calls of a save that fail at one step (1 write, 2 a write after some bytes,
// 3 fsync, 4 close, 5 rename, 6 the directory's fsync; 0 none), and the steps they saw. Nothing can
// be made in "ro/" and nothing named "unreadable" read (as by a player not root); a rename between
// directories fails, as between two file systems.
std::string callsSeen;
int failingStep = 0;
bool fails(int step, const char* name) {
    callsSeen += name;
    errno = EIO;
    return step == failingStep;
}
const FileCalls FailingCalls = {
    [](const char* path, int flags, mode_t mode) {
        const bool reading = (flags & O_ACCMODE) == O_RDONLY;
        errno = reading ? EACCES : EROFS;
        const bool denied = std::strstr(path, reading ? "unreadable" : "ro/") != nullptr;
        return denied ? -1 : ::open(path, flags, mode);
    },
    [](int fd, const void* bytes, std::size_t count) -> ssize_t {
        if (fails(1, "write ") || (fails(2, "") && count < 10)) {
            return -1;
        }
        return ::write(fd, bytes, failingStep == 2 ? count / 2 : count);
    },
    [](int fd) {
        struct stat file {};
        return fails(::fstat(fd, &file) == 0 && S_ISDIR(file.st_mode) ? 6 : 3, "fsync ")
                   ? -1
                   : ::fsync(fd);
    },
    [](int fd) { return fails(4, "close ") ? (::close(fd), -1) : ::close(fd); },
    [](const char* from, const char* to) {
        errno = EXDEV;
        return fails(5, "rename ") || directoryPart(from) != directoryPart(to) ? -1
                                                                               : ::rename(from, to);
    },
};

// Another game, in a child process, holding the lock of "moon" as its own
// save would: once it holds the lock it tells the parent, then after holdMs
// writes bytes into "moon" and lets go; with holdMs < 0 it holds on until it
// is ended, which releases the lock as a crash would.
class OtherGame {
public:
    OtherGame(int holdMs, const std::string& bytes) {
        int toParent[2];
        EXPECT_EQ(pipe(toParent), 0);
        child = fork();
        if (child == 0) {
            char byte =
                flock(::open(".moon.lock", O_RDWR | O_CREAT, 0666), LOCK_EX) == 0 ? 'L' : 'F';
            static_cast<void>(::write(toParent[1], &byte, 1));
            if (holdMs < 0) {
                pause();
            }
            usleep(static_cast<useconds_t>(holdMs) * 1000);
            writeFile(Moon, bytes);
            _exit(0);
        }
        char byte = 0;
        EXPECT_EQ(::read(toParent[0], &byte, 1), 1);
        EXPECT_EQ(byte, 'L') << "the other game holds the lock";
        ::close(toParent[0]);
        ::close(toParent[1]);
    }
    ~OtherGame() {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    OtherGame(const OtherGame&) = delete;
    OtherGame& operator=(const OtherGame&) = delete;

private:
    pid_t child = -1;
};

}  // namespace

// A "moon" that cannot be read holds something we could not see: no name is asked
// for, it is never overwritten, and the reason is said. Its type and size are known
// before a byte is read: a device never hangs the game nor gets a lock file beside it.
TEST(HighscoreSave, AFileThatCannotBeReadAsksForNoNameAndIsNeverOverwritten) {
    ScopedWorkDir dir;
    const struct {
        const char* file;
        std::function<void()> make;
        const char* reason;  // nullptr: the file can be read
    } cases[] = {
        {Moon, [] { std::filesystem::create_directory(Moon); }, "Is a directory"},
        {Moon, [] { mkfifo(Moon, 0600); }, "not a plain file"},
        {Moon, [] { std::filesystem::create_symlink("/dev/zero", Moon); }, "not a plain file"},
        {Moon, [] { writeFile(Moon, std::string((1 << 20) + 1, '\n')); }, "longer than 1 MiB"},
        {Moon, [] { writeFile(Moon, std::string(1 << 20, '\n')); }, nullptr},
        {"unreadable", [] { writeFile("unreadable", "p9\n9\n"); }, "Permission denied"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(c.file);
        c.make();
        const auto type = std::filesystem::symlink_status(c.file).type();
        const bool plain = std::filesystem::is_regular_file(c.file);
        const std::string lock = FileLock::lockPath(saveTarget(c.file));
        const std::string bytes = plain && c.reason ? readFile(c.file) : "";
        std::filesystem::remove(lock);
        testing::internal::CaptureStderr();
        {
            HighscoreList list(c.file, FailingCalls);
            EXPECT_EQ(list.keepsResults(), c.reason == nullptr) << c.file;
            if (!list.keepsResults()) {
                list.sayResultNotKept();
            }
        }
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said, c.reason ? "Cannot read the high scores in \"" + std::string(c.file) +
                                       "\": " + c.reason + "; this game's result is not kept.\n"
                                 : "");
        EXPECT_EQ(std::filesystem::symlink_status(c.file).type(), type) << said;
        EXPECT_EQ(std::filesystem::exists(lock), plain) << "a lock file beside no plain file";
        EXPECT_EQ(plain && c.reason ? readFile(c.file) : "", bytes) << said;
    }
}

// A save that fails at any step says so and leaves the old file whole; when
// the directory's sync fails, the new file is in place but may not last.
TEST(HighscoreSave, ASaveThatFailsAtAnyStepSaysSoAndLeavesTheOldFileWhole) {
    ScopedWorkDir dir;
    const std::string old = scoreFile(tenRecords());
    for (failingStep = 1; failingStep <= 6; ++failingStep) {
        writeFile(Moon, old);
        testing::internal::CaptureStderr();
        {
            HighscoreList list(Moon, FailingCalls);
            list.insert("new", 1000);
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Could not save the high scores in \"moon\": Input/output error; this game's "
                  "result is not kept.\n")
            << "failing step " << failingStep;
        EXPECT_EQ(readFile(Moon) == old, failingStep < 6) << "failing step " << failingStep;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 2)
            << "a temporary file was left beside moon and its lock at failing step " << failingStep;
    }
    failingStep = 0;
    callsSeen.clear();
    chmod(Moon, 0640);
    { HighscoreList list(Moon, FailingCalls); }
    EXPECT_EQ(callsSeen, "write fsync close rename fsync ")
        << "file synced, renamed, directory synced";
    EXPECT_EQ(std::filesystem::status(Moon).permissions(), std::filesystem::perms(0640))
        << "a replaced file keeps its permissions";
}

// Two games share one "moon": each save reads the file again under its lock
// and adds only its own result, by the rules of the list.
TEST(HighscoreSave, GamesSharingTheFileKeepEveryResultThatStillQualifies) {
    ScopedWorkDir dir;
    const auto open = [] { return std::make_unique<HighscoreList>(); };
    const Records ten = tenRecords();
    const Records better(10, {"top", 1000});
    const struct {
        const char* what;
        std::function<void()> play;
        Records saved;
    } cases[] = {
        {"both read, then both save",
         [&] {
             auto ann = open(), bob = open();
             ann->insert("Ann", 55);
             bob->insert("Bob", 45);
             ann.reset();
         },
         records("p100 p90 p80 p70 p60 Ann:55 p50 Bob:45 p40 p30")},
        {"a table left open while another game saves",
         [&] {
             auto table = open(), bob = open();
             bob->insert("Bob", 45);
             bob.reset();
         },
         records("p100 p90 p80 p70 p60 p50 Bob:45 p40 p30 p20")},
        {"equal scores: the later save stands in front",
         [&] {
             auto ann = open(), bob = open();
             ann->insert("Ann", 45);
             bob->insert("Bob", 45);
             ann.reset();
         },
         records("p100 p90 p80 p70 p60 p50 Bob:45 Ann:45 p40 p30")},
        {"better scores saved meanwhile: the result no longer qualifies",
         [&] {
             auto ann = open();
             ann->insert("Ann", 55);
             writeFile(Moon, scoreFile(better));
         },
         better},
    };
    for (const auto& c : cases) {
        writeFile(Moon, scoreFile(ten));
        c.play();
        EXPECT_EQ(readFile(Moon), scoreFile(c.saved)) << c.what;
    }
}

// Another game saving holds the lock: a save waits for it and keeps both
// results; one that never lets go costs this game its result, not the file.
TEST(HighscoreSave, ASaveWaitsForTheLockAWhileThenGivesUpSayingSo) {
    ScopedWorkDir dir;
    const std::string old = scoreFile(tenRecords());
    writeFile(Moon, old);
    {
        auto ann = std::make_unique<HighscoreList>();
        ann->insert("Ann", 55);
        const OtherGame bob(300, scoreFile(records("p100 p90 p80 p70 p60 p50 Bob:45 p40 p30 p20")));
        ann.reset();
    }
    EXPECT_EQ(readFile(Moon), scoreFile(records("p100 p90 p80 p70 p60 Ann:55 p50 Bob:45 p40 p30")));

    writeFile(Moon, old);
    testing::internal::CaptureStderr();
    {
        auto ann = std::make_unique<HighscoreList>();
        ann->insert("Ann", 55);
        const OtherGame stuck(-1, "");
        ann.reset();
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Could not save the high scores in \"moon\": another game kept it locked (Resource "
              "temporarily unavailable); this game's result is not kept.\n");
    EXPECT_EQ(readFile(Moon), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 2)
        << "a temporary file was left beside moon and its lock";
}

// A linked "moon" stays a link: its target, found from the link's own
// directory, gets the new list, with the temporary file and the lock beside it.
TEST(HighscoreSave, ALinkedFileKeepsItsLinkAndItsTargetTheResults) {
    ScopedWorkDir dir;
    std::filesystem::create_directories("links");
    std::filesystem::create_directories("synced");
    std::filesystem::create_directories("ro");
    const std::string ten = scoreFile(tenRecords());
    const std::string saved = scoreFile(records("p100 p90 p80 p70 p60 Ann:55 p50 p40 p30 p20"));
    const struct {
        const char* link;
        const char* target;
        const char* before;  // nullptr: no target file yet
        std::string after;
        const char* said;
    } cases[] = {
        {"links/moon", "../synced/moon", ten.c_str(), saved, ""},
        {"links/dangling", "../synced/new", nullptr, scoreFile({{"Ann", 55}}), ""},
        {"links/readonly", "../ro/moon", ten.c_str(), ten,
         "Could not save the high scores in \"links/readonly\": Read-only file system; this "
         "game's result is not kept.\n"},
    };
    for (const auto& c : cases) {
        const std::string target = "links/" + std::string(c.target);
        if (c.before != nullptr) {
            writeFile(target, c.before);
        }
        std::filesystem::create_symlink(c.target, c.link);
        testing::internal::CaptureStderr();
        {
            HighscoreList list(c.link, FailingCalls);
            list.insert("Ann", 55);
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.said) << c.link;
        EXPECT_EQ(std::filesystem::read_symlink(c.link), c.target) << c.link;
        EXPECT_EQ(readFile(target), c.after) << c.link;
    }
}
