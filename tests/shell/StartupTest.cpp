#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct ProgramRun {
    std::string output;  // standard output
    int status;          // exit status, or -1 when it did not exit normally
};

ProgramRun runGame(const std::string& environment) {
    const std::string command = environment + " " + QUENDLE_BINARY + " some arguments 2>/dev/null";
    ProgramRun run{"", -1};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[256];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, n);
    }
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

}  // namespace

TEST(StartupFailure, VideoThatCannotStartIsReportedOnStandardOutputWithStatusOne) {
    const ProgramRun run = runGame("SDL_VIDEODRIVER=nosuchdriver");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output.rfind("Unable to init SDL: ", 0), 0u) << run.output;
    EXPECT_EQ(run.output.back(), '\n');
    EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << "one line only";
}

TEST(StartupFailure, NoDisplayIsReportedInsteadOfRunningUnseen) {
    // Without a display SDL may fall back to a driver that shows no window.
    const ProgramRun run = runGame("timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output.rfind("Unable to init SDL: ", 0), 0u) << run.output;
}
