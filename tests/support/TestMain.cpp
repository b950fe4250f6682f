#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The game runs SDL's timer thread and holds an X connection; a forked
    // child would inherit them half-alive, so death tests re-run the program.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
