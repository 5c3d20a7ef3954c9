// Test entry: binds the optional system functions as the application object does at start.
#include <gtest/gtest.h>

#include "SystemFunctions.h"

int main(int argc, char** argv)
{
    BindSystemFunctions(kBindAll, 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
