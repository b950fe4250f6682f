#include "ChildProcess.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

void redirect(int target, const std::string& file, int flags) {
    const int fd = open(file.empty() ? "/dev/null" : file.c_str(), flags, 0644);
    if (fd >= 0) {
        dup2(fd, target);
        close(fd);
    }
}

// Runs between fork and exec: only async-signal-safe calls.
[[noreturn]] void becomeChild(const ChildOptions& options, char** argv, char** envp) {
    // A suite that crashes or times out takes its servers and games with it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (!options.workDir.empty() && chdir(options.workDir.c_str()) != 0) {
        _exit(126);
    }
    redirect(STDIN_FILENO, "", O_RDONLY);
    redirect(STDOUT_FILENO, options.outputFile, O_WRONLY | O_CREAT | O_TRUNC);
    redirect(STDERR_FILENO, options.errorFile, O_WRONLY | O_CREAT | O_TRUNC);
    if (options.fileSizeLimit >= 0) {
        const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit),
                           static_cast<rlim_t>(options.fileSizeLimit)};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    // As a player's shell starts it: the game itself must cope with these.
    signal(SIGXFSZ, SIG_DFL);
    signal(SIGPIPE, SIG_DFL);
    execvpe(argv[0], argv, envp);
    _exit(127);
}

}  // namespace

bool ChildProcess::start(const ChildOptions& options) {
    std::vector<std::string> argv = options.argv;
    std::vector<std::string> environment = options.environment;
    std::vector<char*> argvPointers = pointersTo(argv);
    std::vector<char*> environmentPointers = pointersTo(environment);
    pid = fork();
    if (pid == 0) {
        becomeChild(options, argvPointers.data(), environmentPointers.data());
    }
    ended = false;
    return pid > 0;
}

bool ChildProcess::hasEnded() {
    if (!ended && pid > 0 && waitpid(pid, &status, WNOHANG) == pid) {
        ended = true;
    }
    return ended;
}

bool ChildProcess::waitForEnd(double seconds) {
    const double deadline = nowSeconds() + seconds;
    while (!hasEnded()) {
        if (nowSeconds() > deadline) {
            return false;
        }
        pollPause();
    }
    return true;
}

void ChildProcess::stop(int signal, double graceSeconds) {
    if (pid <= 0 || hasEnded()) {
        return;
    }
    kill(pid, signal);
    if (!waitForEnd(graceSeconds)) {
        kill(pid, SIGKILL);
        waitForEnd(graceSeconds);
    }
}

std::string describeStatus(int rawStatus) {
    if (WIFEXITED(rawStatus)) {
        return "exit status " + std::to_string(WEXITSTATUS(rawStatus));
    }
    if (WIFSIGNALED(rawStatus)) {
        const int signal = WTERMSIG(rawStatus);
        return "killed by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
    }
    return "status " + std::to_string(rawStatus);
}

std::vector<std::string> environmentWith(const std::vector<std::string>& overrides,
                                         std::vector<std::string> removals) {
    auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    for (const std::string& entry : overrides) {
        removals.push_back(nameOf(entry));
    }
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::find(removals.begin(), removals.end(), nameOf(*entry)) == removals.end()) {
            result.emplace_back(*entry);
        }
    }
    result.insert(result.end(), overrides.begin(), overrides.end());
    return result;
}

double nowSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void pollPause() {
    const timespec pause{0, 10 * 1000 * 1000};
    nanosleep(&pause, nullptr);
}
