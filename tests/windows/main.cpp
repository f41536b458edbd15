// The Windows tests run inside one application object, as the program does.
#include <gtest/gtest.h>

#include "classlib/Forms.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    TApplication application;
    application.Initialize();
    return RUN_ALL_TESTS();
}
