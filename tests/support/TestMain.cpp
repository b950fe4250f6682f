#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#define QUENDLE_LEAK_CHECKS 1
#endif

namespace {

// A loop that fails to end would hang its test until CTest gives up; the
// alarm ends it first. Death tests' children run through the same listener.
constexpr unsigned WatchdogSeconds = 100;

// Leaks are looked for when a test ends, only without the game window (SDL's
// and Mesa's threads and caches upset the checker); not at exit, which the
// game reaches through exit(0).
class TestEnd : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo&) override { alarm(WatchdogSeconds); }
    void OnTestEnd([[maybe_unused]] const testing::TestInfo& test) override {
        alarm(0);
#ifdef QUENDLE_LEAK_CHECKS
        if (!gameWindowOpened() && __lsan_do_recoverable_leak_check() != 0) {
            std::printf("Memory leaked in %s.%s\n", test.test_suite_name(), test.name());
            leaked = true;
        }
#endif
    }
    bool leaked = false;
};

}  // namespace

int main(int argc, char** argv) {
    // The game runs SDL's timer thread and holds an X connection; a forked
    // child would inherit them half-alive, so death tests re-run the program.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testing::InitGoogleTest(&argc, argv);
    auto* testEnd = new TestEnd;
    testing::UnitTest::GetInstance()->listeners().Append(testEnd);  // gtest owns it
    const int result = RUN_ALL_TESTS();
    return testEnd->leaked ? 1 : result;
}
