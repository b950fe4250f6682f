#pragma once

#include <sys/types.h>

#include <csignal>
#include <string>
#include <vector>

// How to start a child: what runs, where, and with which limits.
struct ChildOptions {
    std::vector<std::string> argv;         // argv[0] is searched in PATH
    std::vector<std::string> environment;  // the whole environment, NAME=value
    std::string workDir;                   // empty: the suite's own working directory
    std::string outputFile;                // standard output; empty: /dev/null
    std::string errorFile;                 // standard error; empty: /dev/null
    long fileSizeLimit = -1;               // RLIMIT_FSIZE in bytes; -1 leaves it as it is
};

// One child process of the suite; it dies with the suite, and the object
// kills and reaps a child still running when it goes.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { stop(SIGKILL, 10.0); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool start(const ChildOptions& options);     // false when it could not be forked
    bool hasEnded();                             // reaps it when it ended
    bool waitForEnd(double seconds);             // true when it ended within the time
    void stop(int signal, double graceSeconds);  // signal, then SIGKILL after the grace time
    int rawStatus() const { return status; }     // as waitpid gives it; valid once ended

private:
    pid_t pid = -1;
    bool ended = false;
    int status = 0;
};

// "exit status 3" or "killed by signal 25 (File size limit exceeded)".
std::string describeStatus(int rawStatus);

// The suite's environment with NAME=value overrides and without the names in removals.
std::vector<std::string> environmentWith(const std::vector<std::string>& overrides,
                                         std::vector<std::string> removals = {});

double nowSeconds();  // monotonic, for deadlines
void pollPause();     // between two polls of a condition; never a wait for an event
