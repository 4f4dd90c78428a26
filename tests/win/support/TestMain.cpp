// The entry of every Windows test program: GoogleTest with the guard against a modal window that
// nothing ends (Watchdog.h).
#include <gtest/gtest.h>

#include "support/Watchdog.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new wintest::ModalGuard);
    return RUN_ALL_TESTS();
}
