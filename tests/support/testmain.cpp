// SPDX-License-Identifier: MIT
// GoogleTest entry point that owns the Qt application object of the run.
#include <gtest/gtest.h>

#ifdef ZC_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests)) {
        // Listing needs no application object (and no display).
        return RUN_ALL_TESTS();
    }
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
