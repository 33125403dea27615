// Runs GoogleTest inside the program's own Qt application object, on the offscreen platform
// unless another one was asked for.
#include <gtest/gtest.h>

#include "ZorvalitApplication.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ZorvalitApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
