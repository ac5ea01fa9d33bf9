#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // The tests run on the offscreen platform (ctest sets it; so does a plain run).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
