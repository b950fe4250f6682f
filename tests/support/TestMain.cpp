#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#define QUENDLE_LEAK_CHECKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUENDLE_LEAK_CHECKS 1
#endif
#endif

#ifdef QUENDLE_LEAK_CHECKS
#include "support/TestSupport.h"

#include <sanitizer/lsan_interface.h>

#include <cstdio>

namespace {

// Looks for leaks when a test of a class that owns memory ends. Only in a
// process without the game window: the display stack's own threads and
// caches (SDL, Mesa's llvmpipe) make the leak checker both report what they
// keep and crash now and then while it stops their threads. The check at exit
// is left off (leak_check_at_exit=0), since the game ends through exit(0) by
// design.
class LeakCheckAtTestEnd : public testing::EmptyTestEventListener {
public:
    void OnTestEnd(const testing::TestInfo& test) override {
        if (gameWindowOpened()) {
            return;
        }
        if (__lsan_do_recoverable_leak_check() != 0) {
            std::printf("Memory leaked in %s.%s\n", test.test_suite_name(), test.name());
            leaked = true;
        }
    }
    bool leaked = false;
};

}  // namespace
#endif

int main(int argc, char** argv) {
    // The game runs SDL's timer thread and holds an X connection; a forked
    // child would inherit them half-alive, so death tests re-run the program.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testing::InitGoogleTest(&argc, argv);
#ifdef QUENDLE_LEAK_CHECKS
    auto* leakCheck = new LeakCheckAtTestEnd;
    testing::UnitTest::GetInstance()->listeners().Append(leakCheck);  // gtest owns it
    const int result = RUN_ALL_TESTS();
    return leakCheck->leaked ? 1 : result;
#else
    return RUN_ALL_TESTS();
#endif
}
